// Shared pieces of the control container and list item tests: a shown form with a manager,
// a toolbar docked at the top whose first item is a sub item, and an edit on the form that
// the container items can host.
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

class TContainerTestForm : public TForm {
  DECLARE_CLASS(TContainerTestForm, TForm)
public:
  explicit TContainerTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

class TContainerFixture : public testing::Test {
protected:
  void SetUp() override;

  // The control of the item's first link on the toolbar or in the menu; nil when none is shown.
  TdxBarItemControl* OnBar(TdxBarItem* AItem) const { return ControlOf(Bar->GetItemLinks(), AItem); }
  TdxBarItemControl* InMenu(TdxBarItem* AItem) const { return ControlOf(SubItem->GetItemLinks(), AItem); }
  // Opens the sub item's menu by clicking it; nil when it did not open.
  TCustomdxBarControl* OpenMenu();
  TCustomdxBarControl* Menu() const { return SubItem->GetItemLinks()->GetBarControl(); }
  // The captions of the links a bar window shows now, in order.
  static std::vector<String> ShownCaptions(TCustomdxBarControl* ABar);
  // A key pressed and released while a menu is open: its hooks eat the messages, so the wait
  // is for the queue to hold no key message.
  static void MenuKey(WORD AKey) { EXPECT_TRUE(StrokeKey(AKey)); }
  // Lets every window paint what is pending.
  static void Settle();

  TBarHost<TContainerTestForm> Host;
  TdxBarManager* Manager = nullptr;
  TEdit* Edit = nullptr;
  TEdit* FormEdit = nullptr;
  TdxBarSubItem* SubItem = nullptr;
  TdxBar* Bar = nullptr;
};
