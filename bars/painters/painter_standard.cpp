// The standard and enhanced painters: the classic three-dimensional look with raised and
// sunken edges, the dithered checker brush behind down buttons and raised drag bars.
#include "bars/painters/painter.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/painters/painter_helpers.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"

namespace {

bool IsHorizontalDock(const TCustomdxBarControl* ABar)
{
  TdxBarDockingStyle style = ABar ? ABar->GetBarDockingStyle() : dsTop;
  return style != dsLeft && style != dsRight;
}

// Draws the mark's stroke with a one-pixel pen, AThickness rows deep from P.
void DrawCheckStroke(HDC DC, const TPoint& P, int AScale, int AThickness, TColor AColor)
{
  HPEN pen = TrackGdiObject(::CreatePen(PS_SOLID, 1, ColorToRGB(AColor)));
  HGDIOBJ old = ::SelectObject(DC, pen);
  for (int row = 0; row < AThickness; ++row) {
    ::Polyline(DC, CheckMarkStroke(P, AScale, row).data(), 3);
  }
  ::SelectObject(DC, old);
  DeleteGdiObject(pen);
}

}  // namespace

// ---------------------------------------------------------------------------
// Standard: buttons and glyphs

void TdxBarStandardPainter::DrawGlyphFrame(const TdxBarItemControl* AControl, HDC DC,
                                           const TdxBarItemStateFlags& AStates, const TRect& AGlyphRect,
                                           HBRUSH ABrush) const
{
  if (!DC || IsRectEmpty(AGlyphRect))
    return;
  bool menu = IsMenuControl(AControl);
  TRect r = AGlyphRect;
  if (AStates.Pressed || (AStates.Down && !(AStates.Selected && menu))) {
    ::DrawEdge(DC, &r, AStates.Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    return;
  }
  if (IsGlyphBackgroundDrawn(AControl, AStates))
    ::FillRect(DC, &r, ABrush);
  // A hot toolbar button stands out raised, as its background would draw it.
  if (AStates.Selected && !menu)
    ::DrawEdge(DC, &r, BDR_RAISEDINNER, BF_RECT);
}

HBRUSH TdxBarStandardPainter::GetGlyphBackgroundBrush(const TdxBarItemControl* AControl,
                                                      const TdxBarItemStateFlags& AStates) const
{
  const TCustomdxBarControl* parent = AControl ? AControl->GetBarControl() : nullptr;
  if (AStates.Down && AControl && AControl->GetEnabled())
    return AStates.Pressed ? (parent ? parent->GetFaceBrush() : GetFaceBrush(nullptr))
                           : (parent ? parent->GetCheckerBrush() : GetCheckerBrush(nullptr));
  if (AStates.Selected && !AStates.Down && IsMenuControl(AControl))
    return parent->GetHighlightBrush();
  return inherited::GetGlyphBackgroundBrush(AControl, AStates);
}

void TdxBarStandardPainter::DrawButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                                 HBRUSH ABrush) const
{
  inherited::DrawButtonBackground(ADrawParams, R, ABrush);
  HDC DC = ADrawParams && ADrawParams->Canvas ? ADrawParams->Canvas->GetHandle() : nullptr;
  if (!DC)
    return;
  TRect r = R;
  if (ADrawParams->PaintedSelected)
    ::DrawEdge(DC, &r, ADrawParams->States.Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  else if (ADrawParams->IsMenu()) {
    TRect strip = Rect(R.left - 1, R.top, R.left + 1, R.bottom);
    ::DrawEdge(DC, &strip, EDGE_ETCHED, BF_LEFT | BF_RIGHT);
  }
}

void TdxBarStandardPainter::DrawCheckMark(HDC DC, const TPoint& P, int AScale, bool AEnabled) const
{
  if (!DC)
    return;
  // Two rows a unit: the 9 x 7 mark every look centres.
  const int depth = 2 * AScale;
  if (!AEnabled) {
    // Engraved as disabled captions are: the light copy goes first, so the shadow mark
    // stays whole over it.
    DrawCheckStroke(DC, Point(P.x + 1, P.y + 1), AScale, depth, SysColor(COLOR_BTNHIGHLIGHT));
    DrawCheckStroke(DC, P, AScale, depth, SysColor(COLOR_BTNSHADOW));
    return;
  }
  bool blackFace = ::GetSysColor(COLOR_BTNFACE) == RGB(0, 0, 0);
  TColor ink = blackFace ? clWhite : clBlack;
  TColor edge = blackFace ? clBlack : clWhite;
  DrawCheckStroke(DC, P, AScale, depth, ink);
  // An edge of the opposite colour under the mark and across both its ends keeps it
  // readable on the checker of a down item.
  DrawCheckStroke(DC, Point(P.x, P.y + depth), AScale, AScale, edge);
  const TPoint first = Point(P.x, P.y + 2 * AScale);  // where the stroke starts
  const TPoint last = Point(P.x + 8 * AScale, P.y);   // and where it ends
  FillRectByColor(DC, Rect(first.x - AScale, first.y, first.x, first.y + depth), edge);
  FillRectByColor(DC, Rect(last.x + 1, last.y, last.x + 1 + AScale, last.y + depth), edge);
}

// ---------------------------------------------------------------------------
// Standard: toolbars

void TdxBarStandardPainter::DrawDragBar(HDC DC, const TRect& R, bool ALitCorner) const
{
  TRect r = R;
  ::DrawEdge(DC, &r, BDR_RAISEDINNER, BF_RECT);
  TRect inside = InflateRect(R, -1, -1);
  ::FillRect(DC, &inside, dxBarSysColorBrush(COLOR_BTNFACE));
  // The far corner of the bar catches the light.
  if (ALitCorner)
    ::SetPixel(DC, R.right - 1, R.top, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  ::ExcludeClipRect(DC, R.left, R.top, R.right, R.bottom);
}

void TdxBarStandardPainter::DrawDockedBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const
{
  if (!DC)
    return;
  ::DrawEdge(DC, &R, EDGE_RAISED, BF_RECT);
  R = InflateRect(R, -2, -2);
  if (!ABarControl || !ABarControl->IsDockable())
    return;
  bool horizontal = IsHorizontalDock(ABarControl);
  int offset = GetDragHandleOffset();
  TRect bar = horizontal ? Rect(R.left + offset, R.top, R.left + offset + Metrics().DragHandleWidth, R.bottom)
                         : Rect(R.left, R.top + offset, R.right, R.top + offset + Metrics().DragHandleWidth);
  for (int i = 0; i < 2; ++i) {
    DrawDragBar(DC, bar, true);
    bar = horizontal ? OffsetRect(bar, Metrics().DragHandleWidth, 0) : OffsetRect(bar, 0, Metrics().DragHandleWidth);
  }
}

void TdxBarStandardPainter::DrawFloatingBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (!DC)
    return;
  TRect r = R;
  ::DrawEdge(DC, &r, EDGE_RAISED, BF_RECT);
  for (int inset = 2; inset < 4; ++inset) {
    TRect frame = InflateRect(R, -inset, -inset);
    ::FrameRect(DC, &frame, GetSysColorBrush(COLOR_BTNFACE));
  }
}

void TdxBarStandardPainter::DrawCaptionCloseButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                                   TdxBarMarkState AState) const
{
  if (!ABarControl || !DC)
    return;
  TRect r = R;
  ::FrameRect(DC, &r, GetSysColorBrush(GetSysColorByIndex(ABarControl, ABarControl->IsActive())));
  r = InflateRect(r, -1, -1);
  ::DrawFrameControl(DC, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | (AState == TdxBarMarkState::Pressed ? DFCS_PUSHED : 0));
}

void TdxBarStandardPainter::DrawMarkBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                               HBRUSH ABrush) const
{
  if (ABarControl && DC)
    ABarControl->FillBackground(DC, R, ABrush);
}

void TdxBarStandardPainter::DrawMarkChevron(const TCustomdxBarControl* ABarControl, HDC DC, int X, int Y,
                                            bool AVertical) const
{
  if (!DC)
    return;
  // Each chevron: a shadow stroke, with a highlight stroke beside it.
  static constexpr POINT Stroke[3] = {{0, 0}, {2, 2}, {-1, 5}};
  for (int pass = 0; pass < 2; ++pass) {
    HPEN pen =
        TrackGdiObject(::CreatePen(PS_SOLID, 1, ::GetSysColor(pass == 0 ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT)));
    HGDIOBJ old = ::SelectObject(DC, pen);
    POINT p[3];
    for (int i = 0; i < 3; ++i)
      p[i] =
          AVertical ? POINT{X + Stroke[i].y, Y + Stroke[i].x + pass} : POINT{X + Stroke[i].x + pass, Y + Stroke[i].y};
    ::Polyline(DC, p, 3);
    ::SelectObject(DC, old);
    DeleteGdiObject(pen);
  }
}

// ---------------------------------------------------------------------------
// Enhanced

void TdxBarEnhancedPainter::DrawDockedBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const
{
  if (!DC)
    return;
  ::DrawEdge(DC, &R, EDGE_RAISED, BF_RECT);
  R = InflateRect(R, -2, -2);
  if (!ABarControl || !ABarControl->IsDockable())
    return;
  int offset = GetDragHandleOffset();
  TRect bar = IsHorizontalDock(ABarControl)
                  ? Rect(R.left + offset, R.top + 1, R.left + offset + Metrics().DragHandleWidth, R.bottom - 1)
                  : Rect(R.left + 1, R.top + offset, R.right - 1, R.top + offset + Metrics().DragHandleWidth);
  DrawDragBar(DC, bar, false);
}

void TdxBarEnhancedPainter::DrawMarkChevron(const TCustomdxBarControl* ABarControl, HDC DC, int X, int Y,
                                            bool AVertical) const
{
  TdxBarPainter::DrawMarkChevron(ABarControl, DC, X, Y, AVertical);
}

void TdxBarEnhancedPainter::DrawMarkBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                               HBRUSH ABrush) const
{
  if (!ABarControl || !DC)
    return;
  TRect r = R;
  const TdxBarMarkState state = ABarControl->GetMarkState();
  if (state == TdxBarMarkState::Normal)
    ::FrameRect(DC, &r, dxBarRealBrush(ABrush));
  else
    ::DrawEdge(DC, &r, state == TdxBarMarkState::Hot ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
  ABarControl->FillBackground(DC, InflateRect(R, -1, -1), ABrush);
}

// ---------------------------------------------------------------------------
// Standard: spin and combo buttons, MDI buttons

void TdxBarStandardPainter::DrawSpinButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, int AButton,
                                                     TRect& R) const
{
  HDC DC = ADrawParams && ADrawParams->Canvas ? ADrawParams->Canvas->GetHandle() : nullptr;
  if (!DC || IsRectEmpty(R))
    return;
  const TCustomdxBarControl* parent = ADrawParams->ItemControl ? ADrawParams->ItemControl->GetBarControl() : nullptr;
  HBRUSH background = parent ? parent->GetBackgroundBrush() : GetBackgroundBrush(nullptr);
  const TdxBarThemeState state = GetSpinButtonState(ADrawParams, AButton);
  if (state == dxThemeStateHot || state == dxThemeStatePressed)
    ::DrawEdge(DC, &R, state == dxThemeStatePressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  else
    ::FrameRect(DC, &R, dxBarRealBrush(background));
  R = InflateRect(R, -1, -1);
  ::FillRect(DC, &R, background);
}

void TdxBarStandardPainter::DrawComboButtonFrame(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const
{
  HDC DC = ADrawParams && ADrawParams->Canvas ? ADrawParams->Canvas->GetHandle() : nullptr;
  if (!DC || IsRectEmpty(R))
    return;
  const TCustomdxBarControl* parent = ADrawParams->ItemControl ? ADrawParams->ItemControl->GetBarControl() : nullptr;
  HBRUSH background = parent ? parent->GetBackgroundBrush() : GetBackgroundBrush(nullptr);
  TRect strip = Rect(R.left - 1, R.top, R.left, R.bottom);
  TColor fill = clNone;
  if (ADrawParams->PaintedSelected && ADrawParams->Enabled)
    ::DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT);
  else if (ADrawParams->Enabled) {
    fill = GetEditBrushColor(ADrawParams);
    FrameRectByColor(DC, R, fill);
  } else
    ::FrameRect(DC, &R, dxBarRealBrush(background));
  R = InflateRect(R, -1, -1);
  if (fill != clNone) {
    FillRectByColor(DC, strip, fill);
    FillRectByColor(DC, R, fill);
  } else {
    ::FillRect(DC, &strip, background);
    ::FillRect(DC, &R, background);
  }
  if (ADrawParams->States.Pressed || ADrawParams->States.DroppedDown)
    R = OffsetRect(R, 1, 1);
}

void TdxBarStandardPainter::DrawMDIButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, int AButton,
                                          TdxBarMDIButtonState AState) const
{
  if (!DC || IsRectEmpty(R))
    return;
  // Buttons: 0 minimize, 1 restore, 2 close.
  static constexpr UINT Kinds[3] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
  int button = std::clamp(AButton, 0, 2);
  UINT kind = Kinds[button] | (AState == TdxBarMDIButtonState::Disabled ? DFCS_INACTIVE : 0);
  TdxBarManager* manager = ABarControl ? ABarControl->GetBarManager() : nullptr;
  TRect r = R;
  if (button == 2 && manager && manager->GetFlatCloseButton()) {
    // A flat close glyph of the button's size, clipped inside a one-pixel edge of its own.
    TRect inner = InflateRect(r, -1, -1);
    TdxBarClipRgn saved = SaveClipRgn(DC);
    ::IntersectClipRect(DC, inner.left, inner.top, inner.right, inner.bottom);
    ::DrawFrameControl(DC, &r, DFC_CAPTION, kind | DFCS_FLAT);
    RestoreClipRgn(DC, saved);
    ::DrawEdge(DC, &r, AState == TdxBarMDIButtonState::Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    return;
  }
  ::DrawFrameControl(DC, &r, DFC_CAPTION, kind | (AState == TdxBarMDIButtonState::Pressed ? DFCS_PUSHED : 0));
}

// ---------------------------------------------------------------------------
// Standard: menus

TRect TdxBarStandardPainter::GetMenuBorders(const TCustomdxBarControl* AMenu) const
{
  TRect r = inherited::GetMenuBorders(AMenu);
  if (AMenu && AMenu->IsDetachable())
    r.top = 0;
  return r;
}

void TdxBarStandardPainter::DrawMenuFrame(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R) const
{
  // The border is wider than the base's one-pixel frame: the rings inside it are face, not
  // whatever the window held before.
  const HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
  for (int i = 1; DC && i < GetMenuBorderSize(); ++i) {
    TRect ring = InflateRect(R, -i, -i);
    if (!IsRectEmpty(ring))
      ::FrameRect(DC, &ring, face);
  }
  inherited::DrawMenuFrame(AMenu, DC, R);
}

void TdxBarStandardPainter::DrawMenuItemBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ADrawParams && ADrawParams->Canvas ? ADrawParams->Canvas->GetHandle() : nullptr;
  if (!DC || IsRectEmpty(R))
    return;
  const TdxBarItemControl* control = ADrawParams->ItemControl;
  const TCustomdxBarControl* menu = control ? control->GetBarControl() : nullptr;
  HBRUSH own = control ? control->GetBackgroundBrush() : GetBackgroundBrush(nullptr);
  HBRUSH highlight = menu ? menu->GetHighlightBrush() : GetHighlightBrush(nullptr);
  bool clicking = ADrawParams->PaintedSelected || (control && (control->GetDoingClick() || control->HasOwnBrush()));
  if (!ADrawParams->PaintedSelected) {
    FillBackgroundRect(ADrawParams, DC, R, own, clicking);
    return;
  }
  // The whole item is lit, so that its caption (in the selected text colour) reads; a down
  // item keeps its own background under the glyph column, where its sunken cell shows.
  TRect column = ADrawParams->States.Down ? GetMenuGlyphRect(menu, R) : Rect(R.left, R.top, R.left, R.bottom);
  FillBackgroundRect(ADrawParams, DC, column, own, clicking);
  FillBackgroundRect(ADrawParams, DC, Rect(column.right, R.top, R.right, R.bottom), highlight, clicking);
}
