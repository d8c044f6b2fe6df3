// Shared pieces of the bar manager tests: the library started once for the program, a
// form class that form data can name, and a scope guard that frees components.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "bars/dxBar.h"
#include "platform/Forms.h"

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

// Frees a component at the end of a scope unless it is gone already.
template <class T>
class TOwned {
public:
  explicit TOwned(T* Object = nullptr) : FRef(Object) {}
  ~TOwned()
  {
    if (T* object = FRef.Get())
      object->Free();
  }
  TOwned(const TOwned&) = delete;
  TOwned& operator=(const TOwned&) = delete;
  T* Get() const { return FRef.Get(); }
  T* operator->() const { return FRef.Get(); }

private:
  TWeakRef<T> FRef;
};

// A form without form data.
inline TBarTestForm* NewBarForm()
{
  return TCustomForm::CreateNew<TBarTestForm>(nullptr);
}
