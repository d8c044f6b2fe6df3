// The flat painter's menus (item backgrounds, frame, tear-off strip, background and
// separators, with their metrics) and its edits, combo buttons, spin buttons, framed
// statics and push buttons.
#include "bars/painters/painter.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/painters/painter_helpers.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"

namespace {

HBRUSH BackgroundOf(const TdxBarPainter& APainter, const TCustomdxBarControl* ABar)
{
  return ABar ? ABar->GetBackgroundBrush() : APainter.GetBackgroundBrush(nullptr);
}

bool IsPressedState(const TdxBarItemControlDrawParams* AParams)
{
  return AParams->States.Pressed || AParams->States.DroppedDown;
}

}  // namespace

// ---------------------------------------------------------------------------
// Menu metrics

int TdxBarFlatPainter::CalcMenuTextHeight(int ADigitHeight) const
{
  int height = inherited::CalcMenuTextHeight(ADigitHeight);
  int arrow = GetScrollButtonArrowSize(height - 2);
  if (arrow % 2 != 0)
    height = (arrow - 1) * 2 + 6;
  return height;
}

int TdxBarFlatPainter::GetScrollButtonArrowSize(int AHeight) const
{
  int size = (AHeight - 4) / 2;
  if (size > 4 && size % 2 != 0)
    --size;
  return size;
}

TRect TdxBarFlatPainter::GetSeparatorRect(const TdxBarItemControl* AControl, const TRect& AItemRect) const
{
  return Rect(AItemRect.left, AItemRect.top - GetMenuSeparatorSize(), AItemRect.right, AItemRect.top);
}

HBRUSH TdxBarFlatPainter::GetMenuBorderBrush(const TCustomdxBarControl* AMenu) const
{
  return dxBarSysColorBrush(COLOR_WINDOW);
}

// ---------------------------------------------------------------------------
// Menu drawing

void TdxBarFlatPainter::DrawMenuItemBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R))
    return;
  const TCustomdxBarControl* menu = ParentOf(ADrawParams);
  const TdxBarItemControl* control = ADrawParams->ItemControl;
  bool selected = ADrawParams->PaintedSelected;
  bool useBrush = selected || (control && (control->GetDoingClick() || control->HasOwnBrush()));
  int glyphRight = std::min(GetMenuGlyphRect(menu, R).right, R.right);
  HBRUSH column = GetItemBackgroundBrush(menu);
  HBRUSH itemBrush = control ? control->GetBackgroundBrush() : BackgroundOf(*this, menu);
  if (selected) {
    DrawSelectionFrame(control, DC, R);
    FillWith(DC, InflateRect(R, -1, -1), menu ? menu->GetHighlightBrush() : GetHighlightBrush(nullptr));
    return;
  }
  // The ring an earlier selection left is painted over along with the inside, in the
  // colours beneath it: the glyph column and the item's own background.
  FillWith(DC, Rect(R.left, R.top, glyphRight, R.bottom), column);
  FillBackgroundRect(ADrawParams, DC, Rect(glyphRight, R.top, R.right, R.bottom), itemBrush, useBrush);
}

void TdxBarFlatPainter::DrawMenuFrame(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R) const
{
  if (!DC || IsRectEmpty(R))
    return;
  FrameWith(DC, R, FlatBrush(AMenu, 1, COLOR_BTNSHADOW));
  if (!AMenu || !AMenu->IsDetachable())
    return;
  TRect r = InflateRect(R, -1, -1);
  int height = GetDetachStripHeight(AMenu);
  // The strip's area, a pixel taller than the strip, takes the window colour; so do the
  // side bars left and right of the strip.
  TRect area = Rect(r.left, r.top, r.right, std::min(r.bottom, r.top + height + 1));
  FillWith(DC, area, dxBarSysColorBrush(COLOR_WINDOW));
  TRect strip = GetDetachStripBounds(AMenu, R);
  if (!IsRectEmpty(strip))
    DrawDetachStrip(AMenu, DC, strip, false);
}

TRect TdxBarFlatPainter::GetDetachStripBounds(const TCustomdxBarControl* AMenu, const TRect& R) const
{
  // Between the side bars, at the top of the area inside the frame.
  TRect r = InflateRect(R, -1, -1);
  TRect strip = Rect(r.left + Metrics().DetachStripSideBar, r.top, r.right - Metrics().DetachStripSideBar,
                     std::min(r.bottom, r.top + GetDetachStripHeight(AMenu)));
  return IsRectEmpty(strip) ? TRect{} : strip;
}

void TdxBarFlatPainter::DrawDetachStrip(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, bool AHot) const
{
  if (!DC || IsRectEmpty(R))
    return;
  if (AHot) {
    DrawSelectionFrame(nullptr, DC, R);
    FillWith(DC, InflateRect(R, -1, -1), AMenu ? AMenu->GetHighlightBrush() : GetHighlightBrush(nullptr));
  } else
    FillWith(DC, R, GetItemBackgroundBrush(AMenu));
  // The handle: every second row, starting a pixel below the top, never on the last row.
  int left = (R.left + R.right - Metrics().DetachHandleWidth) / 2;
  TColor color = AHot ? clBtnText : clBtnShadow;
  for (int y = R.top + 1; y < R.bottom - 1; y += 2)
    FillRectByColor(
        DC, Rect(std::max(left, int(R.left)), y, std::min(left + Metrics().DetachHandleWidth, int(R.right)), y + 1),
        color);
}

void TdxBarFlatPainter::DrawMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R,
                                           HBRUSH ABrush) const
{
  if (!DC || IsRectEmpty(R))
    return;
  FrameWith(DC, R, GetMenuBorderBrush(AMenu));
  FillWith(DC, InflateRect(R, -1, -1), ABrush);
}

void TdxBarFlatPainter::DrawMenuSeparator(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, const TRect& R,
                                          const TdxBarItemControl* AControl) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (!DC || IsRectEmpty(R))
    return;
  int indent =
      AControl ? GetItemIndent(AControl) : (AMenu ? AMenu->GetTextHeight() + Metrics().MenuItemIndentExtra : 0);
  int columnRight = std::min(int(R.right), int(R.left) + indent);
  FillWith(DC, Rect(R.left, R.top, columnRight, R.bottom), GetItemBackgroundBrush(AMenu));
  // An active control (an editor open right below) draws its frame into the separator's
  // last row: the rest takes the menu's border colour instead of its background.
  bool active = AControl && AControl->IsActive();
  FillWith(DC, Rect(columnRight, R.top, R.right, R.bottom),
           active ? dxBarRealBrush(GetMenuBorderBrush(AMenu)) : BackgroundOf(*this, AMenu));
  int y = (R.top + R.bottom) / 2;
  int left = columnRight + GetMenuSeparatorIndent();
  if (left < R.right)
    FillRectByColor(DC, Rect(left, y, R.right, y + 1), GetShadowColor());
}

void TdxBarFlatPainter::DrawMenuSeparatorLine(TcxCanvas* ACanvas, const TRect& R) const
{
  if (ACanvas && !IsRectEmpty(R))
    ACanvas->FrameRect(R, GetShadowColor(), 1, cxBordersTop);
}

void TdxBarFlatPainter::DrawMenuSeparatorLineVertical(TcxCanvas* ACanvas, const TRect& R) const
{
  if (ACanvas && !IsRectEmpty(R))
    ACanvas->FrameRect(R, GetShadowColor(), 1, cxBordersLeft);
}

// ---------------------------------------------------------------------------
// Edits and combos

void TdxBarFlatPainter::DrawEditBorder(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R)) {
    R = InflateRect(R, -1, -1);
    return;
  }
  const TdxBarItemControl* control = ADrawParams->ItemControl;
  bool focused = control && control->IsActive();
  TColor frame = focused ? clNone : GetEditFrameColor(ADrawParams);
  if (ADrawParams->PaintedSelected)
    DrawSelectionFrame(control, DC, R);
  else if (frame != clNone)
    FrameRectByColor(DC, R, frame);
  else
    FrameBackgroundRect(ADrawParams, DC, R, GetBarEditBrush(ADrawParams),
                        focused || (control && control->GetDoingClick()));
  R = InflateRect(R, -1, -1);
}

TColor TdxBarFlatPainter::GetEditFrameColor(const TdxBarItemControlDrawParams* ADrawParams) const
{
  if (ADrawParams->IsMenu())
    return dxBarBrushColor(BackgroundOf(*this, ParentOf(ADrawParams)));
  return ADrawParams->Enabled ? clNone : clBtnShadow;
}

TColor TdxBarFlatPainter::GetComboArrowColor(const TdxBarItemControlDrawParams* ADrawParams) const
{
  if (!ADrawParams)
    return clBtnText;
  if (ADrawParams->PaintedSelected)
    return IsPressedState(ADrawParams) || IsHighContrastWhite() ? clHighlightText : clBtnText;
  return ADrawParams->Enabled ? clBtnText : clBtnShadow;
}

HBRUSH TdxBarFlatPainter::GetComboButtonBrush(const TdxBarItemControlDrawParams* ADrawParams) const
{
  if (ADrawParams && ADrawParams->IsMenu() && !ADrawParams->PaintedSelected)
    return BackgroundOf(*this, ParentOf(ADrawParams));
  return inherited::GetComboButtonBrush(ADrawParams);
}

void TdxBarFlatPainter::DrawComboButtonFrame(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R))
    return;
  if (ADrawParams->PaintedSelected)
    // Grown over the edit's own frame: the highlight frame runs round both.
    DrawSelectionFrame(ADrawParams->ItemControl, DC, InflateRect(R, 1, 1));
  else {
    TRect strip = Rect(R.left - 1, R.top, R.left, R.bottom);
    if (ADrawParams->Enabled) {
      TColor edit = GetEditBrushColor(ADrawParams);
      FrameRectByColor(DC, R, edit);
      FillRectByColor(DC, strip, edit);
    } else {
      HBRUSH background = BackgroundOf(*this, ParentOf(ADrawParams));
      FrameWith(DC, R, background);
      FillWith(DC, strip, background);
    }
    R = InflateRect(R, -1, -1);
  }
  FillWith(DC, R, GetComboButtonBrush(ADrawParams));
}

// ---------------------------------------------------------------------------
// Spin buttons, statics and push buttons

void TdxBarFlatPainter::DrawSpinButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, int AButton,
                                                 TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R))
    return;
  const TCustomdxBarControl* parent = ParentOf(ADrawParams);
  const TdxBarThemeState state = GetSpinButtonState(ADrawParams, AButton);
  if (state == dxThemeStateHot || state == dxThemeStatePressed) {
    DrawSelectionFrame(ADrawParams->ItemControl, DC, R);
    R = InflateRect(R, -1, -1);
    FillWith(DC, R,
             state == dxThemeStatePressed ? (parent ? parent->GetFaceBrush() : GetFaceBrush(nullptr))
                                          : (parent ? parent->GetHighlightBrush() : GetHighlightBrush(nullptr)));
    return;
  }
  HBRUSH background = BackgroundOf(*this, parent);
  FrameWith(DC, R, background);
  R = InflateRect(R, -1, -1);
  FillWith(DC, R, background);
}

void TdxBarFlatPainter::DrawSpinArrow(HDC DC, const TRect& R, bool AUp, bool AEnabled, bool ASelected) const
{
  if (!DC || IsRectEmpty(R))
    return;
  TColor color = clBtnShadow;
  if (AEnabled)
    color = ASelected && IsHighContrastWhite() ? clBtnFace : clBtnText;
  FillSpinArrow(DC, R, AUp, color);
}

void TdxBarFlatPainter::DrawStaticBorder(const TdxBarItemControlDrawParams* ADrawParams, TRect& R,
                                         TdxBarStaticBorderStyle ABorderStyle) const
{
  TRect widths = GetStaticBorderRect(ABorderStyle);
  TRect inner = InflateRectBy(R, -widths.left, -widths.top, -widths.right, -widths.bottom);
  HDC DC = ParamsDC(ADrawParams);
  if (DC && ABorderStyle != sbsNone && !IsRectEmpty(R)) {
    TdxBarClipRgn saved = SaveClipRgn(DC);
    ::ExcludeClipRect(DC, inner.left, inner.top, inner.right, inner.bottom);
    FillWith(DC, R, GetBorderFillBrush(ParentOf(ADrawParams)));
    RestoreClipRgn(DC, saved);
  }
  R = inner;
}

void TdxBarFlatPainter::DrawPushButton(HDC DC, const TRect& R, bool AFlat, const String& AText, bool APressed) const
{
  if (!DC || IsRectEmpty(R))
    return;
  FrameRectByColor(DC, R, clBtnShadow);
  FrameRectByColor(DC, InflateRect(R, -1, -1), clBtnFace);
  DrawPushButtonText(DC, InflateRect(R, -2, -2), AFlat, AText, APressed);
}
