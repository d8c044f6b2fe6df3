// Shared pieces of the painter tests: a form with a manager, stand-ins for a bar window and
// an item control that answer the painter's questions without making windows, and the
// values of system colours read at run time.
#pragma once

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/drawparams.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "lookandfeel/cxGraphics.h"
#include "support/BarTestHost.h"
#include "support/Pixels.h"

using TPainterTestForm = TTestHostForm;

// A bar window that never makes a window: every painter query answers from fields.
class TTestBarControl : public TCustomdxBarControl {
  DECLARE_CLASS(TTestBarControl, TCustomdxBarControl)
public:
  explicit TTestBarControl(TComponent* AOwner) : TCustomdxBarControl(AOwner) {}

  int GetBarKind() const override { return BarKind; }
  int GetTextHeight() const override { return TextHeight; }
  int GetGlyphColumnWidth() const override { return GlyphColumnWidth; }
  bool IsBackgroundShownThrough() const override { return BackgroundShownThrough; }
  TRect GetClientRect() const override { return ClientRect; }

  int BarKind = 0;
  int TextHeight = 19;
  int GlyphColumnWidth = 0;
  bool BackgroundShownThrough = false;
  TRect ClientRect{0, 0, 0, 0};
};

// An item control without a link: its bar window and its state are set directly.
class TTestItemControl : public TdxBarItemControl {
  DECLARE_CLASS(TTestItemControl, TdxBarItemControl)
public:
  using TFactoryOwner = TCustomdxBarControl;
  explicit TTestItemControl(TCustomdxBarControl* ABar = nullptr) : TdxBarItemControl(nullptr), Bar(ABar) {}

  TCustomdxBarControl* GetBarControl() const override { return Bar; }
  HBRUSH GetBackgroundBrush() const override { return Brush; }
  bool HasOwnBrush() const override { return OwnBrush; }
  bool IsActive() const override { return Active; }
  bool GetDoingClick() const override { return DoingClick; }
  TColor GetStyleTextColor() const override { return StyleTextColor; }

  TCustomdxBarControl* Bar = nullptr;
  HBRUSH Brush = dxBarSysColorBrush(COLOR_BTNFACE);
  bool OwnBrush = false;
  bool Active = false;
  bool DoingClick = false;
  TColor StyleTextColor = clDefault;
};

// A form with a manager; the manager starts at the enhanced style.
struct TPainterHost : TBarHost<TPainterTestForm> {
  TdxBarPainter* Painter() const { return Manager->GetPainter(); }
};

inline COLORREF SysRGB(int AIndex)
{
  return GetSysColor(AIndex);
}
