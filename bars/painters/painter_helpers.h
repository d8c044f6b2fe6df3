// Small lookups and fills every painter file uses on draw params, item controls and bars.
#pragma once

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/drawparams.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "bars/barwindows/toolbar.h"

inline TColor SysColor(int AIndex)
{
  return clSystemColor | TColor(AIndex);
}

inline HDC ParamsDC(const TdxBarItemControlDrawParams* AParams)
{
  return AParams && AParams->Canvas ? AParams->Canvas->GetHandle() : nullptr;
}

inline const TCustomdxBarControl* ParentOf(const TdxBarItemControl* AControl)
{
  return AControl ? AControl->GetBarControl() : nullptr;
}

inline const TCustomdxBarControl* ParentOf(const TdxBarItemControlDrawParams* AParams)
{
  return AParams ? ParentOf(AParams->ItemControl) : nullptr;
}

inline bool IsMenuControl(const TdxBarItemControl* AControl)
{
  const TCustomdxBarControl* parent = ParentOf(AControl);
  return parent && parent->GetBarKind() == bkMenu;
}

// The toolbar's bar when the window is a toolbar.
inline const TdxBar* BarOf(const TCustomdxBarControl* ABarControl)
{
  const auto* toolbar = dynamic_cast<const TdxBarControl*>(ABarControl);
  return toolbar ? toolbar->GetBar() : nullptr;
}

inline bool HasSingleBorder(const TCustomdxBarControl* ABarControl)
{
  const TdxBar* bar = BarOf(ABarControl);
  return bar && bar->GetBorderStyle() == bbsSingle;
}

inline bool IsVerticalBar(const TCustomdxBarControl* ABar)
{
  TdxBarDockingStyle style = ABar ? ABar->GetBarDockingStyle() : dsTop;
  return style == dsLeft || style == dsRight;
}

inline void FrameWith(HDC DC, const TRect& R, HBRUSH ABrush)
{
  if (DC && ABrush && !IsRectEmpty(R))
    ::FrameRect(DC, &R, dxBarRealBrush(ABrush));
}

inline void FillWith(HDC DC, const TRect& R, HBRUSH ABrush)
{
  if (DC && ABrush && !IsRectEmpty(R))
    ::FillRect(DC, &R, ABrush);
}
