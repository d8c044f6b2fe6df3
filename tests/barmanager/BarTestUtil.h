// Shared pieces of the bar manager tests: a form class that form data can name with a
// handler for the manager's item clicks, over the host all bar test areas share.
#pragma once

#include <string>

#include "support/BarTestHost.h"

// A form with a published handler for the manager's OnClickItem.
class TBarTestForm : public TForm {
  DECLARE_CLASS(TBarTestForm, TForm)
public:
  explicit TBarTestForm(TComponent* AOwner) : TForm(AOwner) {}
  int ItemClicks = 0;
  TObject* LastClickSender = nullptr;
  void ManagerClickItem(TObject* Sender, TdxBarItem* ClickedItem)
  {
    ++ItemClicks;
    LastClickSender = Sender;
  }
};

// A form without form data.
inline TBarTestForm* NewBarForm()
{
  return TCustomForm::CreateNew<TBarTestForm>(nullptr);
}
