// Shared pieces of the edit tests: a shown form with a manager and two toolbars that both
// show one edit item, a form edit to give the focus to, and the geometry of an edit's
// text part on the screen.
#pragma once

#include <gtest/gtest.h>

#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/itemcontrols/edits.h"
#include "bars/itemcontrols/labels.h"
#include "bars/barwindows/toolbar.h"
#include "platform/StdCtrls.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"
#include "support/Pump.h"

using TEditTestForm = TTestHostForm;

class TEditFixture : public testing::Test {
protected:
  void SetUp() override;

  // A toolbar docked at the top (a new row) showing the items given.
  TdxBar* AddBar(std::initializer_list<TdxBarItem*> AItems);
  // The control of the item's link on ABar.
  template <class C = TdxBarEditControl>
  C* ControlOn(TdxBar* ABar, TdxBarItem* AItem) const
  {
    return ControlOf<C>(ABar->GetItemLinks(), AItem);
  }
  // The screen centre of a control's text part.
  static POINT TextCenter(TdxBarItemControl* AControl)
  {
    return ScreenCentreOf(AControl, AControl->GetPartRects().at(dxBarEditPartText));
  }
  // Clicks the edit's text part and waits until its editor has the focus.
  bool StartEditing(TdxBarEditControl* AControl);
  // Counts the EDIT windows of this thread.
  static int ThreadEditWindows();

  TBarHost<TEditTestForm> Host;
  TdxBarManager* Manager = nullptr;
  TEdit* FormEdit = nullptr;
  TdxBarEdit* Edit = nullptr;
  TdxBarButton* Button = nullptr;
  TdxBar* Bar1 = nullptr;
  TdxBar* Bar2 = nullptr;
};
