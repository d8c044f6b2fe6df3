// Shared pieces of the dock site tests: a form to put sites on, a dock site whose windows
// take fixed lengths (so the row rules can be checked to the pixel whatever the toolbar
// measures), and helpers to dock bars.
#pragma once

#include <gtest/gtest.h>

#include <map>

#include "bars/model/bar.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/barwindows/toolbar.h"
#include "support/BarTestHost.h"
#include "support/Pump.h"

class TDockTestForm : public TForm {
  DECLARE_CLASS(TDockTestForm, TForm)
public:
  using TForm::TForm;
};

// The lengths one window takes in a TFixedSizeDock.
struct TFixedBarSize {
  int MinLength = 0;
  int FullLength = 0;
  int Thickness = 0;
};

// A placed dock control that gives each listed bar's window fixed lengths and thickness.
class TFixedSizeDock : public TdxBarDockControl {
public:
  using TdxBarDockControl::TdxBarDockControl;
  std::map<const TdxBar*, TFixedBarSize> Sizes;
  // How often the row layout measured each bar's window.
  std::map<const TdxBar*, int> Measured;
  using TdxDockControl::GetRowsOffset;

protected:
  TdxDockBarLengths GetBarControlLengths(TdxBarControl* ABarControl) override
  {
    ++Measured[ABarControl->GetBar()];
    auto it = Sizes.find(ABarControl->GetBar());
    if (it == Sizes.end())
      return TdxBarDockControl::GetBarControlLengths(ABarControl);
    return {it->second.MinLength, it->second.FullLength};
  }
  TPoint GetBarControlSize(TdxBarControl* ABarControl, int ALength) override
  {
    auto it = Sizes.find(ABarControl->GetBar());
    if (it == Sizes.end())
      return TdxBarDockControl::GetBarControlSize(ABarControl, ALength);
    return IsVertical() ? TPoint{it->second.Thickness, ALength} : TPoint{ALength, it->second.Thickness};
  }
};
