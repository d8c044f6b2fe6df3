// Shared pieces of the drop-shadow tests: a popup bar window to cast shadows, a window that
// records the clicks reaching it, rectangle printing, and window and GDI counting.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/shadow.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/ThreadWindows.h"

using TShadowTestForm = TTestHostForm;

// A bar window shown as a top-level popup, white, as floating toolbars and menus are.
class TTestBarWindow : public TCustomdxBarControl {
  DECLARE_CLASS(TTestBarWindow, TCustomdxBarControl)
public:
  using TCustomdxBarControl::TCustomdxBarControl;

protected:
  void CreateParams(TCreateParams& Params) override;
  // Bar windows paint their whole client area themselves: white here.
  void Paint() override;
};

// A plain top-level window that counts the left-button presses it receives.
class TClickTarget : public TCustomControl {
  DECLARE_CLASS(TClickTarget, TCustomControl)
public:
  explicit TClickTarget(TComponent* AOwner) : TCustomControl(AOwner) {}
  int Presses = 0;
  POINT LastPress{-1, -1};  // client coordinates

protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
};

// Shows a top-level window of ours at R without activating it, above the others.
void ShowPopupAt(TWinControl* AControl, const TRect& R);

inline void PrintTo(const RECT& R, std::ostream* Os)
{
  *Os << "(" << R.left << "," << R.top << ")-(" << R.right << "," << R.bottom << ")";
}

// The alpha byte of a 32-bit bitmap's pixel.
int AlphaAt(TBitmap* ABitmap, int X, int Y);
// The colour bytes (no alpha) of a 32-bit bitmap's pixel.
uint32_t ColourBitsAt(TBitmap* ABitmap, int X, int Y);
