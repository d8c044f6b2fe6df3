// Shared pieces of the static, progress, colour and font combo tests: a shown form with a
// manager and a toolbar docked at the top whose first item is a sub item, so that a test
// can put items on the toolbar and in the sub item's menu and reach them with the pointer.
#pragma once

#include <gtest/gtest.h>

#include "barextras/dxBarExtItems.h"
#include "bars/model/bar.h"
#include "bars/model/itemlinks.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/barwindows/toolbar.h"
#include "platform/StdCtrls.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"
#include "support/ThreadWindows.h"

// A dialog window of the thread AThread that shows now; nil when none does.
inline HWND FindThreadDialog(DWORD AThread)
{
  return FirstThreadWindow({L"#32770", true}, AThread);
}
// From a helper thread while AThread sits in a modal dialog: the dialog once it shows;
// nil when none showed within five seconds.
HWND WaitForThreadDialog(DWORD AThread);

class TStaticsTestForm : public TForm {
  DECLARE_CLASS(TStaticsTestForm, TForm)
public:
  explicit TStaticsTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

class TStaticsFixture : public testing::Test {
protected:
  void SetUp() override;

  // The control of the item's first link on the toolbar or in the menu; nil when none is shown.
  template <class C>
  C* OnBar(TdxBarItem* AItem) const
  {
    return ControlOf<C>(Bar->GetItemLinks(), AItem);
  }
  template <class C>
  C* InMenu(TdxBarItem* AItem) const
  {
    return ControlOf<C>(SubItem->GetItemLinks(), AItem);
  }
  // Opens the sub item's menu by clicking it; nil when it did not open.
  TCustomdxBarControl* OpenMenu();
  TCustomdxBarControl* Menu() const;
  // Paints what is pending in the bar window.
  static bool WaitPainted(TCustomdxBarControl* ABar);

  TBarHost<TStaticsTestForm> Host;
  TdxBarManager* Manager = nullptr;
  TEdit* FormEdit = nullptr;
  TdxBarSubItem* SubItem = nullptr;
  TdxBar* Bar = nullptr;
};
