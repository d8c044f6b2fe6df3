// Shared pieces of the larger-screen tests: a form class, the fixture of the cases that run at
// 144 dots per inch (in a copy of the program started so, support/ScreenDpi.h), and a walk
// over a form's controls.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "support/BarTestHost.h"
#include "support/ScreenDpi.h"

using TLargeScreenForm = TTestHostForm;

// Skipped unless this process runs at 144 dots per inch.
class TAt144DotsPerInch : public testing::Test {
protected:
  void SetUp() override;
  // A length laid out at 96 dots per inch, as the screen shows it.
  static int Scaled(int AValue) { return MulDiv(AValue, 144, 96); }
};

// Every control on AParent, and those on them, parents first.
void ForEachControl(TWinControl* AParent, const std::function<void(TControl*)>& AVisit);
