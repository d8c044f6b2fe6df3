// The flat painter: one-pixel frames and lines in flat colours instead of raised and sunken
// edges, selected, pressed and down items filled with the manager's mixed highlight brushes,
// and the selected item framed in the highlight colour.
#include "bars/painters/painter.h"
#include "bars/barwindows/shadow.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/painters/painter_helpers.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"

HBRUSH TdxBarFlatPainter::FlatBrush(const TCustomdxBarControl* ABarControl, int AIndex, int AFallback) const
{
  TdxBarManager* manager = ABarControl ? ABarControl->GetBarManager() : nullptr;
  HBRUSH brush = manager ? manager->GetFlatBrush(AIndex) : nullptr;
  return brush ? brush : dxBarSysColorBrush(AFallback);
}

// ---------------------------------------------------------------------------
// Colours, brushes and frames

int TdxBarFlatPainter::GetSysColorByIndex(const TCustomdxBarControl* ABarControl, bool AActive) const
{
  return COLOR_INACTIVECAPTION;
}

TColor TdxBarFlatPainter::GetCaptionButtonGlyphColor(const TCustomdxBarControl* ABarControl,
                                                     TdxBarMarkState AState) const
{
  if (AState == TdxBarMarkState::Hot || AState == TdxBarMarkState::Pressed)
    return SysColor(COLOR_BTNTEXT);
  return inherited::GetCaptionButtonGlyphColor(ABarControl, AState);
}

void TdxBarFlatPainter::DrawSelectionFrame(const TdxBarItemControl* AControl, HDC DC, const TRect& R) const
{
  bool highContrastBlack = IsHighContrastBlack() || IsHighContrastBlackColoredText();
  FrameWith(DC, R, dxBarSysColorBrush(highContrastBlack ? COLOR_HIGHLIGHTTEXT : COLOR_HIGHLIGHT));
}

void TdxBarFlatPainter::DrawLoweredBorder(HDC DC, TRect& R) const
{
  FrameWith(DC, R, dxBarSysColorBrush(COLOR_BTNSHADOW));
  R = InflateRect(R, -1, -1);
}

HBRUSH TdxBarFlatPainter::GetToolbarBackgroundBrush(const TCustomdxBarControl* ABarControl) const
{
  if (ABarControl && (ABarControl->IsMainMenu() || ABarControl->IsStatusBar()))
    return dxBarSysColorBrush(COLOR_BTNFACE);
  return GetBackgroundBrush(ABarControl);
}

HBRUSH TdxBarFlatPainter::GetBackgroundBrush(const TCustomdxBarControl* ABarControl) const
{
  return FlatBrush(ABarControl, 2, COLOR_BTNFACE);
}

HBRUSH TdxBarFlatPainter::GetCheckerBrush(const TCustomdxBarControl* ABarControl) const
{
  return FlatBrush(ABarControl, 3, COLOR_BTNFACE);
}

HBRUSH TdxBarFlatPainter::GetFaceBrush(const TCustomdxBarControl* ABarControl) const
{
  return FlatBrush(ABarControl, 4, COLOR_BTNFACE);
}

HBRUSH TdxBarFlatPainter::GetHighlightBrush(const TCustomdxBarControl* ABarControl) const
{
  return FlatBrush(ABarControl, 5, COLOR_HIGHLIGHT);
}

// ---------------------------------------------------------------------------
// Buttons and glyphs

HBRUSH TdxBarFlatPainter::GetGlyphBackgroundBrush(const TdxBarItemControl* AControl,
                                                  const TdxBarItemStateFlags& AStates) const
{
  const TCustomdxBarControl* parent = ParentOf(AControl);
  if (AStates.Pressed)
    return AStates.Down ? FlatBrush(parent, 4, COLOR_BTNFACE)
                        : (parent ? parent->GetFaceBrush() : GetFaceBrush(nullptr));
  if (AStates.Selected)
    return AStates.Down || (AControl && AControl->GetDoingClick()) ? FlatBrush(parent, 4, COLOR_BTNFACE)
                                                                   : FlatBrush(parent, 5, COLOR_HIGHLIGHT);
  if (AStates.Down)
    return FlatBrush(parent, 3, COLOR_BTNFACE);
  if (IsMenuControl(AControl) && !AStates.GlyphColumn)
    return GetItemBackgroundBrush(parent);
  return inherited::GetGlyphBackgroundBrush(AControl, AStates);
}

bool TdxBarFlatPainter::IsGlyphBackgroundDrawn(const TdxBarItemControl* AControl,
                                               const TdxBarItemStateFlags& AStates) const
{
  return inherited::IsGlyphBackgroundDrawn(AControl, AStates) || AStates.Pressed || AStates.Down || AStates.Selected;
}

void TdxBarFlatPainter::DrawButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                             HBRUSH ABrush) const
{
  inherited::DrawButtonBackground(ADrawParams, R, ABrush);
  if (!ADrawParams)
    return;
  bool menu = ADrawParams->IsMenu();
  if (menu && ADrawParams->States.Pressed)
    return;
  TRect r = R;
  if (!menu)
    --r.left;
  DrawFlatGlyphFrame(ADrawParams, ParamsDC(ADrawParams), r, ABrush);
}

void TdxBarFlatPainter::DrawGlyphFrame(const TdxBarItemControl* AControl, HDC DC, const TdxBarItemStateFlags& AStates,
                                       const TRect& AGlyphRect, HBRUSH ABrush) const
{
  if (!DC || IsRectEmpty(AGlyphRect))
    return;
  const TCustomdxBarControl* parent = ParentOf(AControl);
  if (AStates.Pressed) {
    DrawFlatBorder(parent, DC, AGlyphRect);
    return;
  }
  // An idle glyph has no frame: the cell shows the background it was given.
  if (!AStates.Selected && !AStates.Down)
    return;
  bool menu = IsMenuControl(AControl);
  // In a menu the cell lies a pixel inside the item's own ring (its selection frame).
  TRect cell = menu ? InflateRect(AGlyphRect, -1, -1) : AGlyphRect;
  if ((!AStates.Down || menu) && IsGlyphBackgroundDrawn(AControl, AStates))
    ::FillRect(DC, &cell, ABrush);
  if (menu && AStates.Down && !AStates.Selected)
    FrameWith(DC, cell, dxBarSysColorBrush(COLOR_BTNSHADOW));
  else if (!menu || AStates.Down)
    DrawSelectionFrame(AControl, DC, cell);
}

HBRUSH TdxBarFlatPainter::GetButtonBackgroundBrush(const TdxBarItemControlDrawParams* ADrawParams) const
{
  if (!ADrawParams || !ADrawParams->PaintedSelected)
    return inherited::GetButtonBackgroundBrush(ADrawParams);
  const TCustomdxBarControl* parent = ADrawParams->ItemControl ? ParentOf(ADrawParams->ItemControl) : nullptr;
  if (ADrawParams->States.Pressed || IsHighContrastWhite())
    return parent ? parent->GetFaceBrush() : GetFaceBrush(nullptr);
  return parent ? parent->GetHighlightBrush() : GetHighlightBrush(nullptr);
}

void TdxBarFlatPainter::DrawFlatGlyphFrame(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R,
                                           HBRUSH ABrush) const
{
  if (!ADrawParams || !DC)
    return;
  const TdxBarItemStateFlags& states = ADrawParams->States;
  bool selected = ADrawParams->PaintedSelected;
  if (ADrawParams->IsMenu() && states.Down && !selected)
    FrameWith(DC, R, dxBarSysColorBrush(COLOR_BTNSHADOW));
  else if (selected || states.Down || states.Pressed)
    DrawSelectionFrame(ADrawParams->ItemControl, DC, R);
  else {
    const TCustomdxBarControl* parent = ParentOf(ADrawParams->ItemControl);
    FrameWith(DC, R, parent ? parent->GetBackgroundBrush() : GetBackgroundBrush(nullptr));
  }
}

void TdxBarFlatPainter::DrawCheckMark(HDC DC, const TPoint& P, int AScale, bool AEnabled) const
{
  if (!DC)
    return;
  COLORREF color = RGB(0, 0, 0);
  if (!AEnabled)
    color = ::GetSysColor(COLOR_BTNSHADOW);
  else if (IsHighContrastWhite() || IsHighContrastBlackColoredText())
    color = RGB(255, 255, 255);
  HPEN pen = TrackGdiObject(::CreatePen(PS_SOLID, 1, color));
  HGDIOBJ old = ::SelectObject(DC, pen);
  // The polyline twice per unit of thickness, each pass one pixel lower.
  for (int row = 0; row < 2 * AScale; ++row) {
    ::Polyline(DC, CheckMarkStroke(P, AScale, row).data(), 3);
  }
  ::SelectObject(DC, old);
  DeleteGdiObject(pen);
}

// ---------------------------------------------------------------------------
// The flat kind's own frame operations

void TdxBarFlatPainter::DrawFlatPressedFrame(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const
{
  DrawFlatBorder(ABarControl, DC, R);
  R = InflateRect(R, -1, -1);
  FillFace(ABarControl, DC, R);
}

void TdxBarFlatPainter::DrawFlatBorder(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (!DC || IsRectEmpty(R))
    return;
  // The frame and the face are drawn in the DC's logical coordinates, which are the bar
  // window's own (the window paints its buffer in client coordinates); the clip region is
  // saved and given back so nested painting keeps what it had.
  FillFace(ABarControl, DC, R);
  TdxBarClipRgn saved = SaveClipRgn(DC);
  TRect inner = InflateRect(R, -1, -1);
  ::ExcludeClipRect(DC, inner.left, inner.top, inner.right, inner.bottom);
  FrameDark(ABarControl, DC, R);
  RestoreClipRgn(DC, saved);
}

void TdxBarFlatPainter::FrameDark(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  FrameWith(DC, R, FlatBrush(ABarControl, 1, COLOR_BTNSHADOW));
}

void TdxBarFlatPainter::FillFace(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (DC && !IsRectEmpty(R))
    ::FillRect(DC, &R, ABarControl ? ABarControl->GetFaceBrush() : GetFaceBrush(nullptr));
}

// ---------------------------------------------------------------------------
// Toolbars

void TdxBarFlatPainter::DrawDockedBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const
{
  if (!DC)
    return;
  FrameWith(DC, R, dxBarSysColorBrush(COLOR_BTNFACE));
  R = InflateRect(R, -1, -1);
  // The inner corners take the frame's colour: the bar looks rounded.
  COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  ::SetPixel(DC, R.left, R.top, face);
  ::SetPixel(DC, R.right - 1, R.top, face);
  ::SetPixel(DC, R.left, R.bottom - 1, face);
  ::SetPixel(DC, R.right - 1, R.bottom - 1, face);
  if (!ABarControl || !ABarControl->IsDockable())
    return;
  TdxBarDockingStyle style = ABarControl->GetBarDockingStyle();
  bool horizontal = style != dsLeft && style != dsRight;
  int offset = GetDragHandleOffset();
  TRect grip = horizontal ? Rect(R.left + offset, R.top + Metrics().DragGripEndInset,
                                 R.left + offset + Metrics().DragHandleWidth, R.bottom - Metrics().DragGripEndInset)
                          : Rect(R.left + Metrics().DragGripEndInset, R.top + offset,
                                 R.right - Metrics().DragGripEndInset, R.top + offset + Metrics().DragHandleWidth);
  HBRUSH shadow = dxBarSysColorBrush(COLOR_BTNSHADOW);
  HBRUSH background = ABarControl->GetBackgroundBrush();
  // A dotted grip: lines across the strip, shadow and background by turns.
  int count = horizontal ? RectHeight(grip) : RectWidth(grip);
  for (int i = 0; i < count; ++i) {
    TRect line = horizontal ? Rect(grip.left, grip.top + i, grip.right, grip.top + i + 1)
                            : Rect(grip.left + i, grip.top, grip.left + i + 1, grip.bottom);
    ::FillRect(DC, &line, i % 2 == 0 ? shadow : background);
  }
}

void TdxBarFlatPainter::DrawFloatingBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (!DC)
    return;
  FrameWith(DC, R, FlatBrush(ABarControl, 1, COLOR_BTNSHADOW));
  int width = std::max(GetSizingFrameWidth(), GetSizingFrameHeight());
  for (int inset = 1; inset < width; ++inset)
    FrameWith(DC, InflateRect(R, -inset, -inset), dxBarSysColorBrush(COLOR_BTNHIGHLIGHT));
}

void TdxBarFlatPainter::DrawToolbarSeparator(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                             HBRUSH ABrush, bool AHorizontal) const
{
  if (!DC || IsRectEmpty(R))
    return;
  TRect rest = FillToolbarSeparator(ABarControl, DC, R, ABrush, AHorizontal);
  TRect line = AHorizontal ? Rect(rest.left, rest.top, rest.right, rest.top + 1)
                           : Rect(rest.left, rest.top, rest.left + 1, rest.bottom);
  ::FillRect(DC, &line, dxBarSysColorBrush(COLOR_BTNSHADOW));
}

void TdxBarFlatPainter::DrawCaptionCloseButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                               TdxBarMarkState AState) const
{
  if (!ABarControl || !DC)
    return;
  DrawCaptionButton(ABarControl, DC, R, AState);
  TRect r = Rect(R.left + Metrics().CloseCrossInsetX, R.top + Metrics().CloseCrossInsetY,
                 R.right - Metrics().CloseCrossInsetX, R.bottom - Metrics().CloseCrossInsetY);
  if (RectWidth(r) % 2 != 0)
    --r.right;
  if (IsRectEmpty(r))
    return;
  HPEN pen = TrackGdiObject(::CreatePen(PS_SOLID, 1, ColorToRGB(GetCaptionButtonGlyphColor(ABarControl, AState))));
  HGDIOBJ old = ::SelectObject(DC, pen);
  int h = RectHeight(r);
  int w = RectWidth(r);
  // Each diagonal is two pixels wide: two one-pixel lines side by side.
  for (int dx = 0; dx < 2; ++dx) {
    ::MoveToEx(DC, r.left + dx, r.top, nullptr);
    ::LineTo(DC, r.left + dx + std::min(w - 1, h), r.top + std::min(w - 1, h));
    ::MoveToEx(DC, r.right - 1 - dx, r.top, nullptr);
    ::LineTo(DC, r.right - 1 - dx - std::min(w - 1, h), r.top + std::min(w - 1, h));
  }
  ::SelectObject(DC, old);
  DeleteGdiObject(pen);
}

void TdxBarFlatPainter::DrawMarkBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                           HBRUSH ABrush) const
{
  if (!ABarControl || !DC)
    return;
  const TdxBarMarkState state = ABarControl->GetMarkState();
  if (state == TdxBarMarkState::Pressed) {
    TRect r = R;
    DrawFlatPressedFrame(ABarControl, DC, r);
    return;
  }
  if (state == TdxBarMarkState::Hot)
    DrawSelectionFrame(nullptr, DC, R);
  else
    FrameWith(DC, R, ABrush);
  TRect inner = InflateRect(R, -1, -1);
  if (state == TdxBarMarkState::Hot)
    ::FillRect(DC, &inner, ABarControl->GetHighlightBrush());
  else
    ABarControl->FillBackground(DC, inner, ABrush);
}

int TdxBarFlatPainter::GetMarkArrowColorIndex(const TCustomdxBarControl* ABarControl) const
{
  if (ABarControl && ABarControl->GetMarkState() == TdxBarMarkState::Hot && IsHighContrastWhite())
    return COLOR_BTNFACE;
  return inherited::GetMarkArrowColorIndex(ABarControl);
}

void TdxBarFlatPainter::DrawCaptionMark(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (!ABarControl || !DC)
    return;
  TColor fill = ABarControl->GetCaptionMarkColor();
  if (fill != clNone)
    FillRectByColor(DC, R, fill);
  const TdxBarMarkState state = ABarControl->GetMarkState();
  if (state == TdxBarMarkState::Pressed) {
    TRect r = R;
    DrawFlatPressedFrame(ABarControl, DC, r);
  } else
    DrawCaptionButton(ABarControl, DC, R, state);
  inherited::DrawCaptionMark(ABarControl, DC, R);
}

bool TdxBarFlatPainter::IsShadowShown(const TCustomdxBarControl* ABarControl) const
{
  // Every popup that is not a toolbar (menus, the mark's popup) follows the system's setting
  // for shadows under menus; a floating toolbar always casts one.
  return ABarControl && ABarControl->GetBarDockingStyle() == dsNone &&
         (ABarControl->GetKind() == bckToolbar || dxBarShadowsEnabled());
}

void TdxBarFlatPainter::DrawMDIButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, int AButton,
                                      TdxBarMDIButtonState AState) const
{
  if (!ABarControl || !DC || RectWidth(R) < 2 || RectHeight(R) < 2)
    return;
  // Buttons: 0 minimize, 1 restore, 2 close.
  static constexpr UINT Kinds[3] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
  UINT kind =
      Kinds[std::clamp(AButton, 0, 2)] | DFCS_FLAT | (AState == TdxBarMDIButtonState::Disabled ? DFCS_INACTIVE : 0);
  if (AState == TdxBarMDIButtonState::Hot || AState == TdxBarMDIButtonState::Down ||
      AState == TdxBarMDIButtonState::Pressed) {
    HBRUSH brush = AState == TdxBarMDIButtonState::Hot    ? ABarControl->GetHighlightBrush()
                   : AState == TdxBarMDIButtonState::Down ? ABarControl->GetCheckerBrush()
                                                          : ABarControl->GetFaceBrush();
    ::FillRect(DC, &R, brush);
    DrawSelectionFrame(nullptr, DC, R);
  } else
    ABarControl->FillBackground(DC, R, ABarControl->GetBackgroundBrush());
  int w = RectWidth(R) - 1;
  int h = RectHeight(R) - 1;
  HDC memDC = TrackGdiObject(::CreateCompatibleDC(DC));
  HBITMAP bitmap = TrackGdiObject(CreateScreenBitmap(w, h));
  HGDIOBJ old = ::SelectObject(memDC, bitmap);
  RECT glyph{0, 0, w, h};
  ::DrawFrameControl(memDC, &glyph, DFC_CAPTION, kind);
  // The glyph's face is the button face: it is left out, only the glyph reaches DC.
  ::GdiTransparentBlt(DC, R.left, R.top, w, h, memDC, 0, 0, w, h, ::GetSysColor(COLOR_BTNFACE));
  ::SelectObject(memDC, old);
  DeleteGdiObject(bitmap);
  DeleteGdiDC(memDC);
}
