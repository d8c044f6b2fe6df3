// The gradient painter: the flat painter's geometry with every colour taken from the shared
// gradient colour set, toolbars, dock sites, menu glyph columns, marks and selections filled
// with its gradients, rounded toolbar ends and dotted grips.
#include <algorithm>

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "bars/painters/painter_helpers.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "lookandfeel/dxOffice11.h"

namespace {

const TdxOffice11Colors& Colors()
{
  return dxOffice11Colors();
}

// A brush of the set, or the system colour's brush while the set has no user (a painter
// asked before any manager exists).
HBRUSH SetBrush(HBRUSH ABrush, int AFallback)
{
  return ABrush ? ABrush : dxBarSysColorBrush(AFallback);
}

// Where a menu meets the toolbar button that opened it: the run of its edge along the
// button (window coordinates, the button's own frame left out) and whether that edge is
// the menu's top. False when the menu does not touch its button.
bool MenuJoin(const TCustomdxBarControl* AMenu, int& ALeft, int& ARight, bool& ATop)
{
  auto* menu = const_cast<TCustomdxBarControl*>(AMenu);
  if (!menu || !menu->HandleAllocated())
    return false;
  const TRect owner = menu->GetOwnerItemRect();
  RECT window{};
  ::GetWindowRect(menu->GetHandle(), &window);
  if (IsRectEmpty(owner) || IsRectEmpty(window))
    return false;
  ALeft = std::max(int(owner.left), int(window.left)) - window.left + 1;
  ARight = std::min(int(owner.right), int(window.right)) - window.left - 1;
  ATop = owner.bottom <= window.top + 1;
  return ARight > ALeft && (ATop || owner.top >= window.bottom - 1);
}

// The gradient of one state, from the set: first and second colour.
struct TGradient {
  TColor First;
  TColor Second;
};

}  // namespace

// ---------------------------------------------------------------------------
// Colours and text

TColor TdxBarOffice11Painter::GetTextColor(const TdxBarItemControl* AControl, bool ASelected, bool AFlatSelection) const
{
  return ASelected && !AFlatSelection ? Colors().SelectedTextColor : Colors().TextColor;
}

void TdxBarOffice11Painter::GetDisabledTextColors(const TdxBarItemControl* AControl, bool ASelected,
                                                  bool AFlatSelection, TColor& ATextColor, TColor& AEmbossColor) const
{
  // Drawn once, never embossed.
  ATextColor = Colors().DisabledTextColor;
  AEmbossColor = ATextColor;
}

TColor TdxBarOffice11Painter::GetCaptionTextColor(const TCustomdxBarControl* ABarControl) const
{
  return Colors().FloatingCaptionTextColor;
}

TColor TdxBarOffice11Painter::GetCaptionButtonGlyphColor(const TCustomdxBarControl* ABarControl,
                                                         TdxBarMarkState AState) const
{
  return AState == TdxBarMarkState::Normal ? Colors().FloatingCaptionTextColor : Colors().TextColor;
}

void TdxBarOffice11Painter::DrawCaptionBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (DC)
    FillRectByColor(DC, InflateRectBy(R, 0, 0, 0, 1), Colors().FloatingCaptionColor);
}

void TdxBarOffice11Painter::DrawCaptionButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                              TdxBarMarkState AState) const
{
  if (!ABarControl || !DC)
    return;
  if (AState == TdxBarMarkState::Normal) {
    FillRectByColor(DC, R, Colors().FloatingCaptionColor);
    return;
  }
  FrameOffice11Rect(DC, R);
  const TdxOffice11Colors& c = Colors();
  TGradient g = AState == TdxBarMarkState::Hot ? TGradient{c.SelectedColor1, c.SelectedColor2}
                                               : TGradient{c.PressedColor1, c.PressedColor2};
  FillGradientRect(DC, InflateRect(R, -1, -1), g.First, g.Second, false);
}

void TdxBarOffice11Painter::DrawSelectionFrame(const TdxBarItemControl* AControl, HDC DC, const TRect& R) const
{
  if (DC && !IsRectEmpty(R))
    FrameOffice11Rect(DC, R);
}

TColor TdxBarOffice11Painter::GetDisabledEditTextColor() const
{
  return Colors().DisabledTextColor;
}

int TdxBarOffice11Painter::GetDefaultItemWidth(const TCustomdxBarControl* ABarControl, int AZeroWidth) const
{
  return Metrics().ComboButtonWidth;
}

// ---------------------------------------------------------------------------
// Brushes

HBRUSH TdxBarOffice11Painter::GetBackgroundBrush(const TCustomdxBarControl* ABarControl) const
{
  return SetBrush(dxOffice11Brushes().Menu, COLOR_BTNFACE);
}

HBRUSH TdxBarOffice11Painter::GetCheckerBrush(const TCustomdxBarControl* ABarControl) const
{
  return SetBrush(dxOffice11Brushes().Checked, COLOR_BTNFACE);
}

HBRUSH TdxBarOffice11Painter::GetFaceBrush(const TCustomdxBarControl* ABarControl) const
{
  return SetBrush(dxOffice11Brushes().Pressed, COLOR_BTNFACE);
}

HBRUSH TdxBarOffice11Painter::GetHighlightBrush(const TCustomdxBarControl* ABarControl) const
{
  return SetBrush(dxOffice11Brushes().Selected, COLOR_HIGHLIGHT);
}

HBRUSH TdxBarOffice11Painter::GetItemBackgroundBrush(const TCustomdxBarControl* ABarControl) const
{
  return ABarControl ? ABarControl->GetBackgroundBrush() : GetBackgroundBrush(nullptr);
}

HBRUSH TdxBarOffice11Painter::GetBorderFillBrush(const TCustomdxBarControl* ABarControl) const
{
  return SetBrush(dxOffice11Brushes().StaticBorder, COLOR_BTNSHADOW);
}

HBRUSH TdxBarOffice11Painter::GetMenuBorderBrush(const TCustomdxBarControl* AMenu) const
{
  return GetBackgroundBrush(AMenu);
}

TColor TdxBarOffice11Painter::GetShadowColor() const
{
  return Colors().SeparatorDarkColor;
}

HBRUSH TdxBarOffice11Painter::GetButtonBackgroundBrush(const TdxBarItemControlDrawParams* ADrawParams) const
{
  if (!ADrawParams)
    return GetBackgroundBrush(nullptr);
  const TCustomdxBarControl* parent = ParentOf(ADrawParams->ItemControl);
  if (!ADrawParams->Enabled)
    return dxBarSysColorBrush(COLOR_BTNFACE);
  if (!ADrawParams->PaintedSelected)
    return parent ? parent->GetBackgroundBrush() : GetBackgroundBrush(nullptr);
  if (ADrawParams->States.Pressed)
    return parent ? parent->GetFaceBrush() : GetFaceBrush(nullptr);
  return parent ? parent->GetHighlightBrush() : GetHighlightBrush(nullptr);
}

void TdxBarOffice11Painter::FrameDark(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (DC && !IsRectEmpty(R))
    FrameOffice11Rect(DC, R);
}

// ---------------------------------------------------------------------------
// Toolbars and dock sites

void TdxBarOffice11Painter::DrawToolbarBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                                  HBRUSH ABrush) const
{
  if (!ABarControl || !DC || IsRectEmpty(R))
    return;
  bool ownLook = IsGlyphAssigned(ABarControl->GetBarBackgroundBitmap()) || ABarControl->GetBarColor() != clDefault;
  bool docked = ABarControl->GetBarDockingStyle() != dsNone;
  if (ownLook || ABarControl->IsMainMenu() || ABarControl->IsStatusBar() || (docked && !HasSingleBorder(ABarControl))) {
    inherited::DrawToolbarBackground(ABarControl, DC, R, ABrush);
    return;
  }
  // One gradient across the whole bar, whatever part of it this call paints: it is laid
  // over the client area and clipped to R.
  const TdxOffice11Colors& c = Colors();
  TRect client = ABarControl->GetClientRect();
  int saved = ::SaveDC(DC);
  ::IntersectClipRect(DC, R.left, R.top, R.right, R.bottom);
  // A bar with its border, docked or floating, is a toolbar; other bar windows take the
  // plain two-colour gradient.
  bool vertical = docked && IsVerticalBar(ABarControl);
  if (HasSingleBorder(ABarControl))
    FillTwoStageGradientRect(DC, client, c.ToolbarLightColor, BlendColors(c.ToolbarLightColor, c.ToolbarDarkColor, 70),
                             c.ToolbarDarkColor, vertical);
  else
    FillGradientRect(DC, client, c.ToolbarLightColor, c.ToolbarDarkColor, false);
  ::RestoreDC(DC, saved);
}

void TdxBarOffice11Painter::DrawDockingAreaBackground(TWinControl* ADockControl, HDC DC, const TRect& R) const
{
  if (!DC || IsRectEmpty(R))
    return;
  const auto* dock = dynamic_cast<const TdxDockControl*>(ADockControl);
  TdxBarDockingStyle side = dock ? dock->GetDockingStyle() : dsTop;
  const TdxOffice11Colors& c = Colors();
  // Sites along the top and bottom run from the first colour to the second, left to
  // right; the side sites take the first colour only.
  if (side == dsLeft || side == dsRight)
    FillRectByColor(DC, R, c.DockColor1);
  else
    FillGradientRect(DC, R, c.DockColor1, c.DockColor2, true);
}

void TdxBarOffice11Painter::DrawDockedBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const
{
  if (!ABarControl || !DC)
    return;
  const TdxOffice11Colors& c = Colors();
  TRect outer = R;
  // The border ring shows the dock site behind it.
  TdxBarClipRgn saved = SaveClipRgn(DC);
  TRect inner = InflateRect(R, -1, -1);
  ::ExcludeClipRect(DC, inner.left, inner.top, inner.right, inner.bottom);
  if (!ABarControl->FillDockSiteBackground(DC, outer))
    FillRectByColor(DC, outer, c.DockColor1);
  RestoreClipRgn(DC, saved);
  R = inner;
  bool vertical = IsVerticalBar(ABarControl);
  if (ABarControl->IsMainMenu()) {
    // The main menu has no rounded ends: one line of the border colour along its long sides.
    FillRectByColor(DC, vertical ? Rect(R.left, R.top, R.left + 1, R.bottom) : Rect(R.left, R.top, R.right, R.top + 1),
                    c.ToolbarBorderColor);
    FillRectByColor(
        DC, vertical ? Rect(R.right - 1, R.top, R.right, R.bottom) : Rect(R.left, R.bottom - 1, R.right, R.bottom),
        c.ToolbarBorderColor);
  } else if (HasSingleBorder(ABarControl)) {
    // The bar's far side and end carry the border colour; its corners are cut by one
    // pixel, so the ends look round.
    TRect body = R;
    FillRectByColor(DC,
                    vertical ? Rect(body.right - 1, body.top + 1, body.right, body.bottom - 1)
                             : Rect(body.left + 1, body.bottom - 1, body.right - 1, body.bottom),
                    c.ToolbarBorderColor);
    FillRectByColor(DC,
                    vertical ? Rect(body.left + 1, body.bottom - 1, body.right - 1, body.bottom)
                             : Rect(body.right - 1, body.top + 1, body.right, body.bottom - 1),
                    c.ToolbarBorderColor);
    const POINT corners[4] = {{body.left, body.top},
                              {body.right - 1, body.top},
                              {body.left, body.bottom - 1},
                              {body.right - 1, body.bottom - 1}};
    for (const POINT& p : corners) {
      TRect px = Rect(p.x, p.y, p.x + 1, p.y + 1);
      if (!ABarControl->FillDockSiteBackground(DC, px))
        FillRectByColor(DC, px, c.DockColor1);
    }
    // The corner pixels are the dock's; the body's gradient must not cover them again.
    for (const POINT& p : corners)
      ::ExcludeClipRect(DC, p.x, p.y, p.x + 1, p.y + 1);
  }
  if (!ABarControl->IsDockable())
    return;
  int offset = GetDragHandleOffset();
  int inset = Metrics().DragGripEndInset;
  TRect grip = !vertical
                   ? Rect(R.left + offset, R.top + inset, R.left + offset + Metrics().DragHandleWidth, R.bottom - inset)
                   : Rect(R.left + inset, R.top + offset, R.right - inset, R.top + offset + Metrics().DragHandleWidth);
  ABarControl->FillBackground(DC, grip, ABarControl->GetBackgroundBrush());
  DrawOffice11Dots(DC, grip, !vertical);
  ::ExcludeClipRect(DC, grip.left, grip.top, grip.right, grip.bottom);
}

void TdxBarOffice11Painter::DrawFloatingBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (!DC || IsRectEmpty(R))
    return;
  const TdxOffice11Colors& c = Colors();
  TRect r = R;
  for (int i = 0; i < GetSizingFrameWidth() && !IsRectEmpty(r); ++i) {
    FrameRectByColor(DC, r, c.FloatingBorderColor);
    r = InflateRect(r, -1, -1);
  }
}

TRect TdxBarOffice11Painter::GetDockedBarBorders(const TCustomdxBarControl* ABarControl) const
{
  TRect r = inherited::GetDockedBarBorders(ABarControl);
  if (ABarControl && ABarControl->IsMainMenu()) {
    TdxBarDockingStyle style = ABarControl->GetBarDockingStyle();
    int across = style == dsTop || style == dsBottom ? 2 : 0;
    r.top = across;
    r.bottom = across;
  }
  return r;
}

void TdxBarOffice11Painter::DrawToolbarSeparator(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                                 HBRUSH ABrush, bool AHorizontal) const
{
  if (!DC || IsRectEmpty(R))
    return;
  if (ABarControl)
    ABarControl->FillBackground(DC, R, ABarControl->GetBackgroundBrush());
  else
    ::FillRect(DC, &R, ABrush);
  const TdxOffice11Colors& c = Colors();
  int offset = GetToolbarSeparatorOffset();
  if (!AHorizontal) {
    // Between items of a row: a dark line with a light one right of it, a little short
    // of the bottom.
    int x = R.left + offset;
    FillRectByColor(DC, Rect(x, R.top + 3, x + 1, R.bottom - 4), c.SeparatorDarkColor);
    FillRectByColor(DC, Rect(x + 1, R.top + 4, x + 2, R.bottom - 3), c.SeparatorLightColor);
  } else {
    int y = R.top + offset;
    FillRectByColor(DC, Rect(R.left + 3, y + 1, R.right - 4, y + 2), c.SeparatorDarkColor);
    FillRectByColor(DC, Rect(R.left + 4, y + 2, R.right - 3, y + 3), c.SeparatorLightColor);
  }
}

void TdxBarOffice11Painter::DrawMarkBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                               HBRUSH ABrush) const
{
  if (!ABarControl || !DC || IsRectEmpty(R))
    return;
  const TdxOffice11Colors& c = Colors();
  const TdxBarMarkState state = ABarControl->GetMarkState();
  TGradient g = state == TdxBarMarkState::Hot       ? TGradient{c.MarkHotColor1, c.MarkHotColor2}
                : state == TdxBarMarkState::Pressed ? TGradient{c.MarkOpenColor1, c.MarkOpenColor2}
                                                    : TGradient{c.MarkNormalColor1, c.MarkNormalColor2};
  bool vertical = IsVerticalBar(ABarControl);
  // The main menu's idle mark is part of the menu bar: nothing of its own shows.
  if (ABarControl->IsMainMenu() && state == TdxBarMarkState::Normal) {
    ABarControl->FillBackground(DC, R, ABrush);
    return;
  }
  if (!HasSingleBorder(ABarControl) || ABarControl->IsMainMenu()) {
    FillGradientRect(DC, R, g.First, g.Second, vertical);
    return;
  }
  // The mark rounds off the bar's end: its outer corners show the window's background,
  // with one pixel blended between that and the mark.
  ABarControl->FillBackground(DC, R, ABrush);
  FillTwoStageGradientRect(DC, R, g.First, BlendColors(g.First, g.Second, 50), g.Second, vertical);
  TRect corner =
      vertical ? Rect(R.left, R.bottom - 1, R.left + 1, R.bottom) : Rect(R.right - 1, R.top, R.right, R.top + 1);
  ABarControl->FillBackground(DC, corner, ABrush);
  TRect corner2 = vertical ? Rect(R.right - 1, R.bottom - 1, R.right, R.bottom)
                           : Rect(R.right - 1, R.bottom - 1, R.right, R.bottom);
  ABarControl->FillBackground(DC, corner2, ABrush);
  FillRectByColor(DC,
                  vertical ? Rect(R.left + 1, R.bottom - 1, R.left + 2, R.bottom)
                           : Rect(R.right - 2, R.top, R.right - 1, R.top + 1),
                  BlendColors(g.First, c.DockColor1, 50));
}

void TdxBarOffice11Painter::DrawMarkChevron(const TCustomdxBarControl* ABarControl, HDC DC, int X, int Y,
                                            bool AVertical) const
{
  if (!DC)
    return;
  // Each chevron twice: light one pixel off, then dark in place.
  static constexpr POINT Stroke[5] = {{0, 0}, {1, 1}, {2, 2}, {1, 3}, {0, 4}};
  const TdxOffice11Colors& c = Colors();
  for (int pass = 0; pass < 2; ++pass) {
    TColor color = pass == 0 ? c.SeparatorLightColor : c.TextColor;
    int d = pass == 0 ? 1 : 0;
    for (int column = 0; column < 2; ++column)
      for (const POINT& p : Stroke) {
        int x = AVertical ? X + p.y + d : X + p.x + column + d;
        int y = AVertical ? Y + p.x + column + d : Y + p.y + d;
        FillRectByColor(DC, Rect(x, y, x + 1, y + 1), color);
      }
  }
}

TRect TdxBarOffice11Painter::GetMarkRect(const TCustomdxBarControl* ABarControl) const
{
  TRect r = inherited::GetMarkRect(ABarControl);
  if (!ABarControl || !HasSingleBorder(ABarControl) || ABarControl->IsMainMenu())
    return r;
  // The mark covers the bar's rounded end: a pixel beyond the bar's far side, two along it.
  switch (ABarControl->GetBarDockingStyle()) {
    case dsLeft:
    case dsRight:
      return Rect(r.left - 1, r.top, r.right + 1, r.bottom + 2);
    case dsTop:
    case dsBottom:
      return Rect(r.left, r.top - 1, r.right + 2, r.bottom + 1);
    default:
      return r;
  }
}

void TdxBarOffice11Painter::DrawArrow(HDC DC, const TRect& R, TcxArrowDirection ADirection, TColor AColor,
                                      bool AEnabled, bool ASelected) const
{
  if (!DC)
    return;
  TColor color = AColor != clDefault ? AColor : AEnabled ? Colors().TextColor : Colors().DisabledTextColor;
  DrawOffice11ArrowFitted(DC, R, ADirection, color);
}

void TdxBarOffice11Painter::DrawArrowSized(HDC DC, const TRect& R, TcxArrowDirection ADirection, TColor AColor,
                                           bool AEnabled, bool ASelected, int ASize) const
{
  if (!DC)
    return;
  TColor color = AColor != clDefault ? AColor : AEnabled ? Colors().TextColor : Colors().DisabledTextColor;
  int rows = std::max(dxOffice11MinArrowSize, ASize);
  bool across = ADirection == adUp || ADirection == adDown;
  TRect box = CenterRectInRect(R, across ? 2 * rows - 1 : rows, across ? rows : 2 * rows - 1);
  DrawOffice11Arrow(DC, box, ADirection, color);
}

// ---------------------------------------------------------------------------
// Buttons

bool TdxBarOffice11Painter::FillSelectionGradient(HDC DC, const TRect& R, const TdxBarItemStateFlags& AStates,
                                                  bool AVertical) const
{
  const TdxOffice11Colors& c = Colors();
  TGradient g{};
  if (AStates.Pressed || (AStates.Selected && AStates.Down))
    g = {c.PressedColor1, c.PressedColor2};
  else if (AStates.Selected)
    g = {c.SelectedColor1, c.SelectedColor2};
  else if (AStates.Down)
    g = {c.CheckedColor1, c.CheckedColor2};
  else
    return false;
  // Along the bar's thickness: top to bottom, left to right on a vertical bar.
  FillGradientRect(DC, R, g.First, g.Second, AVertical);
  return true;
}

bool TdxBarOffice11Painter::IsGlyphBackgroundDrawn(const TdxBarItemControl* AControl,
                                                   const TdxBarItemStateFlags& AStates) const
{
  // An idle less-used link shows the column's less-used gradient behind its glyph.
  if (AControl && AControl->GetNonRecent() && IsMenuControl(AControl) && !AControl->IsActive() && !AStates.Pressed &&
      !AStates.Down && !AStates.Selected)
    return false;
  return inherited::IsGlyphBackgroundDrawn(AControl, AStates);
}

void TdxBarOffice11Painter::DrawGlyphFrame(const TdxBarItemControl* AControl, HDC DC,
                                           const TdxBarItemStateFlags& AStates, const TRect& AGlyphRect,
                                           HBRUSH ABrush) const
{
  if (!DC || IsRectEmpty(AGlyphRect))
    return;
  bool menu = IsMenuControl(AControl);
  // A less-used link's brush is for its row: its glyph cell keeps the column's less-used
  // gradient.
  bool ownBrush = AControl && AControl->HasOwnBrush() && !(menu && AControl->GetNonRecent());
  if (!AStates.Pressed && !AStates.Selected && !AStates.Down) {
    if (ownBrush)
      ::FillRect(DC, &AGlyphRect, ABrush);
    return;
  }
  TRect cell = menu ? InflateRect(AGlyphRect, -1, -1) : AGlyphRect;
  const TCustomdxBarControl* parent = ParentOf(AControl);
  if ((menu && AStates.Down && AStates.Selected && !AStates.Pressed) || ownBrush)
    ::FillRect(DC, &cell, ABrush);
  else
    FillSelectionGradient(DC, cell, AStates, parent && parent->GetBarKind() == bkVertical);
  if (AStates.Pressed && !menu)
    FrameOffice11Rect(DC, cell);
  else if (AStates.Down)
    FrameOffice11Rect(DC, cell);
  else
    FrameRectByColor(DC, cell, Colors().BorderColor);
}

void TdxBarOffice11Painter::DrawFlatGlyphFrame(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R,
                                               HBRUSH ABrush) const
{
  if (!ADrawParams || !DC || IsRectEmpty(R))
    return;
  const TdxBarItemStateFlags& states = ADrawParams->States;
  bool selected = ADrawParams->PaintedSelected;
  if (ADrawParams->IsMenu() && states.Down && !selected)
    FrameWith(DC, R, ABrush);
  else if (selected || states.Down || states.Pressed)
    FrameOffice11Rect(DC, R);
  else
    FillBackgroundRect(ADrawParams, DC, R, ABrush, false);
}

void TdxBarOffice11Painter::DrawButtonArrowPart(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  const auto* button = dynamic_cast<const TdxBarButtonLikeControlDrawParams*>(ADrawParams);
  HDC DC = ParamsDC(ADrawParams);
  const bool open = ADrawParams && ADrawParams->States.DroppedDown;
  if (!button || !DC || ADrawParams->IsMenu() || !ADrawParams->Enabled || !(ADrawParams->States.Selected || open)) {
    inherited::DrawButtonArrowPart(ADrawParams, R);
    return;
  }
  // The arrow part lies on the same gradient as the face beside it, so a hot or open
  // button reads as one piece; its frame shares the face's right edge.
  TRect arrow = R;
  arrow.left = std::max(R.left, R.right - std::max(0, button->ArrowWidth));
  TRect part = Rect(std::max(R.left, arrow.left - 1), arrow.top, arrow.right, arrow.bottom);
  TdxBarItemStateFlags states = ADrawParams->States;
  states.Pressed = states.Pressed || open;
  states.Selected = true;
  const TCustomdxBarControl* parent = ParentOf(ADrawParams);
  FillSelectionGradient(DC, part, states, parent && parent->GetBarKind() == bkVertical);
  FrameOffice11Rect(DC, part);
  DrawButtonArrowGlyph(ADrawParams, arrow);
}

// ---------------------------------------------------------------------------
// Menus

void TdxBarOffice11Painter::FillMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R,
                                               HBRUSH ABrush) const
{
  FillMenuColumn(AMenu, DC, R, ABrush, false);
}

void TdxBarOffice11Painter::FillMenuColumn(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, HBRUSH ABrush,
                                           bool ALessUsed) const
{
  if (!DC || IsRectEmpty(R))
    return;
  int column = AMenu ? AMenu->GetGlyphColumnWidth() : 0;
  if (column <= 0) {
    inherited::FillMenuBackground(AMenu, DC, R, ABrush);
    return;
  }
  const TdxOffice11Colors& c = Colors();
  const TColor first = ALessUsed ? c.MenuRarelyUsedColor1 : c.MenuGlyphColor1;
  const TColor last = ALessUsed ? c.MenuRarelyUsedColor2 : c.MenuGlyphColor2;
  TRect glyph = Rect(R.left, R.top, std::min(R.right, R.left + column), R.bottom);
  FillTwoStageGradientRect(DC, glyph, first, BlendColors(first, last, 50), last, true);
  TRect rest = Rect(glyph.right, R.top, R.right, R.bottom);
  if (!IsRectEmpty(rest))
    ::FillRect(DC, &rest, ABrush);
}

void TdxBarOffice11Painter::DrawMenuItemBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R))
    return;
  const TdxBarItemControl* control = ADrawParams->ItemControl;
  const TCustomdxBarControl* menu = ParentOf(control);
  if (ADrawParams->PaintedSelected) {
    FrameOffice11Rect(DC, R);
    TRect inside = InflateRect(R, -1, -1);
    HBRUSH brush = ADrawParams->States.Pressed ? (menu ? menu->GetFaceBrush() : GetFaceBrush(nullptr))
                                               : (menu ? menu->GetHighlightBrush() : GetHighlightBrush(nullptr));
    ::FillRect(DC, &inside, brush);
    return;
  }
  // The glyph column's gradient runs through the item (in the less-used pair for a link the
  // personalised menu shows only when expanded); the rest is the item's background.
  HBRUSH itemBrush = control ? control->GetBackgroundBrush() : GetBackgroundBrush(menu);
  FillMenuColumn(menu, DC, R, itemBrush, control && control->GetNonRecent());
}

void TdxBarOffice11Painter::DrawScrollArrow(TcxCanvas* ACanvas, const TRect& R, bool ADown) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  const int rows = GetScrollArrowSize(RectHeight(R));
  if (DC && rows > 0)
    DrawArrowSized(DC, R, ADown ? adDown : adUp, clDefault, true, false, rows);
}

int TdxBarOffice11Painter::GetExpandButtonHeight() const
{
  // Room for the double chevrons above the button's usual height.
  return GetMenuButtonHeight() + dxOffice11DoubleChevronHeight;
}

void TdxBarOffice11Painter::DrawExpandChevrons(HDC DC, const TRect& R, int ASize, bool ASelected) const
{
  TRect r = InflateRect(R, -2, -4);
  if (!DC || IsRectEmpty(r))
    return;
  // Two chevrons of three rows, one row apart, dark over a light copy one pixel lower.
  const int cx = (r.left + r.right) / 2;
  const int top = (r.top + r.bottom - dxOffice11DoubleChevronHeight) / 2;
  const TdxOffice11Colors& c = Colors();
  for (int pass = 0; pass < 2; ++pass) {
    const COLORREF color = ColorToRGB(pass == 0 ? c.SeparatorLightColor : c.TextColor);
    const int dy = pass == 0 ? 1 : 0;
    for (int chevron = 0; chevron < 2; ++chevron)
      for (int row = 0; row < 3; ++row) {
        const int y = top + dy + chevron * 4 + row;
        FillRectByColor(DC, Rect(cx - 3 + row, y, cx - 1 + row, y + 1), color);
        FillRectByColor(DC, Rect(cx + 2 - row, y, cx + 4 - row, y + 1), color);
      }
  }
}

void TdxBarOffice11Painter::DrawMenuFrame(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R) const
{
  if (!DC || IsRectEmpty(R))
    return;
  const TdxOffice11Colors& c = Colors();
  FrameRectByColor(DC, R, c.MenuBorderColor);
  DrawMenuJoin(AMenu, DC, R, 0);
  TRect inside = InflateRect(R, -1, -1);
  if (!IsRectEmpty(inside))
    FrameRectByColor(DC, inside, c.MenuColor);
  if (!AMenu || !AMenu->IsDetachable())
    return;
  TRect strip = GetDetachStripBounds(AMenu, R);
  if (IsRectEmpty(strip))
    return;
  FillRectByColor(DC, Rect(inside.left, inside.top, inside.right, strip.bottom + 1), c.MenuColor);
  DrawDetachStrip(AMenu, DC, strip, false);
}

TRect TdxBarOffice11Painter::GetDetachStripBounds(const TCustomdxBarControl* AMenu, const TRect& R) const
{
  // A pixel below the menu-coloured ring inside the border, between the side bars.
  TRect inside = InflateRect(R, -1, -1);
  TRect strip =
      Rect(inside.left + Metrics().DetachStripSideBar, inside.top + 1, inside.right - Metrics().DetachStripSideBar,
           std::min(inside.bottom, inside.top + 1 + GetDetachStripHeight(AMenu)));
  return IsRectEmpty(strip) ? TRect{} : strip;
}

void TdxBarOffice11Painter::DrawMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R,
                                               HBRUSH ABrush) const
{
  if (!DC || IsRectEmpty(R))
    return;
  FrameRectByColor(DC, R, Colors().MenuBorderColor);
  FillMenuBackground(AMenu, DC, InflateRect(R, -1, -1), ABrush);
  // The client area starts inside the window's own border.
  auto* menu = const_cast<TCustomdxBarControl*>(AMenu);
  if (!menu || !menu->HandleAllocated())
    return;
  POINT origin{0, 0};
  RECT window{};
  ::ClientToScreen(menu->GetHandle(), &origin);
  ::GetWindowRect(menu->GetHandle(), &window);
  DrawMenuJoin(AMenu, DC, R, origin.x - window.left);
}

void TdxBarOffice11Painter::DrawMenuJoin(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, int AOffset) const
{
  // A menu opened by a toolbar button joins it: its border along the button takes the
  // toolbar's colour.
  int left = 0, right = 0;
  bool top = true;
  if (!MenuJoin(AMenu, left, right, top))
    return;
  left = std::max(int(R.left), int(R.left) + left - AOffset);
  right = std::min(int(R.right), int(R.left) + right - AOffset);
  if (right <= left)
    return;
  if (top)
    FillRectByColor(DC, Rect(left, R.top, right, R.top + 1), Colors().ToolbarLightColor);
  else
    FillRectByColor(DC, Rect(left, R.bottom - 1, right, R.bottom), Colors().ToolbarDarkColor);
}

void TdxBarOffice11Painter::DrawDetachStrip(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, bool AHot) const
{
  if (!DC || IsRectEmpty(R))
    return;
  TRect r = R;
  if (AHot) {
    FrameOffice11Rect(DC, r);
    r = InflateRect(r, -1, -1);
    FillGradientRect(DC, r, Colors().SelectedColor1, Colors().SelectedColor2, false);
  } else
    FillRectByColor(DC, r, Colors().MenuGlyphColor2);
  // A row of dots a quarter of the strip wide, in its middle.
  int width = RectWidth(r) / 4;
  TRect dots = CenterRectInRect(r, width, std::min(RectHeight(r), 3));
  DrawOffice11Dots(DC, dots, false);
}

void TdxBarOffice11Painter::DrawMenuSeparator(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, const TRect& R,
                                              const TdxBarItemControl* AControl) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (!DC || IsRectEmpty(R))
    return;
  FillMenuBackground(AMenu, DC, R, GetBackgroundBrush(AMenu));
  int indent =
      AControl ? GetItemIndent(AControl) : (AMenu ? AMenu->GetTextHeight() + Metrics().MenuItemIndentExtra : 0);
  int left = std::min(int(R.right), int(R.left) + std::max(indent, AMenu ? AMenu->GetGlyphColumnWidth() : 0)) +
             GetMenuSeparatorIndent();
  int y = (R.top + R.bottom) / 2;
  if (left < R.right)
    FillRectByColor(DC, Rect(left, y, R.right, y + 1), Colors().SeparatorDarkColor);
}

void TdxBarOffice11Painter::DrawMenuSeparatorLine(TcxCanvas* ACanvas, const TRect& R) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (DC && !IsRectEmpty(R))
    FillRectByColor(DC, Rect(R.left, R.top, R.right, R.top + 1), Colors().SeparatorDarkColor);
}

void TdxBarOffice11Painter::DrawMenuSeparatorLineVertical(TcxCanvas* ACanvas, const TRect& R) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (DC && !IsRectEmpty(R))
    FillRectByColor(DC, Rect(R.left, R.top, R.left + 1, R.bottom), Colors().SeparatorDarkColor);
}

// ---------------------------------------------------------------------------
// Edits, combos, separators and statics

TColor TdxBarOffice11Painter::GetEditFrameColor(const TdxBarItemControlDrawParams* ADrawParams) const
{
  if (!ADrawParams->Enabled)
    return Colors().DisabledEditBorderColor;
  return ADrawParams->IsMenu() ? Colors().MenuEditBorderColor : clNone;
}

TColor TdxBarOffice11Painter::GetComboArrowColor(const TdxBarItemControlDrawParams* ADrawParams) const
{
  const TdxOffice11Colors& c = Colors();
  if (!ADrawParams)
    return c.TextColor;
  if (!ADrawParams->Enabled)
    return c.DisabledTextColor;
  bool pressed = ADrawParams->States.Pressed || ADrawParams->States.DroppedDown;
  if (ADrawParams->PaintedSelected && pressed) {
    if (IsHighContrastWhite())
      return clWhite;
    if (!c.SchemeActive)
      return clHighlightText;
  }
  return c.TextColor;
}

HBRUSH TdxBarOffice11Painter::GetComboButtonBrush(const TdxBarItemControlDrawParams* ADrawParams) const
{
  const TCustomdxBarControl* parent = ADrawParams ? ParentOf(ADrawParams->ItemControl) : nullptr;
  if (ADrawParams && ADrawParams->PaintedSelected && (ADrawParams->States.Pressed || ADrawParams->States.DroppedDown))
    return parent ? parent->GetFaceBrush() : GetFaceBrush(nullptr);
  // An enabled button in a menu keeps the highlight the menu shows it in.
  if (ADrawParams && (ADrawParams->PaintedSelected || (ADrawParams->IsMenu() && ADrawParams->Enabled)))
    return parent ? parent->GetHighlightBrush() : GetHighlightBrush(nullptr);
  return TdxBarPainter::GetComboButtonBrush(ADrawParams);
}

void TdxBarOffice11Painter::DrawComboButtonFrame(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R))
    return;
  if (ADrawParams->PaintedSelected) {
    // Grown over the edit's frame, then filled with the selection gradient of its state.
    FrameOffice11Rect(DC, InflateRect(R, 1, 1));
    TdxBarItemStateFlags states;
    states.Selected = true;
    states.Pressed = ADrawParams->States.Pressed || ADrawParams->States.DroppedDown;
    FillSelectionGradient(DC, R, states, false);
    return;
  }
  inherited::DrawComboButtonFrame(ADrawParams, R);
}

void TdxBarOffice11Painter::DrawComboArrow(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R) const
{
  if (ADrawParams && DC && !IsRectEmpty(R))
    DrawOffice11ArrowFitted(DC, R, adDown, GetComboArrowColor(ADrawParams));
}

void TdxBarOffice11Painter::DrawSeparatorText(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!ADrawParams || !DC || IsRectEmpty(R))
    return;
  FillRectByColor(DC, R, Colors().SeparatorTextBackColor);
  TRect text = R;
  text.left += GetSeparatorMargins().left;
  TdxBarItemTextFlags flags;
  flags.Clipped = true;
  DrawItemText(ADrawParams->ItemControl, DC, ADrawParams->Caption, text, dxBarTextAlignLeft, flags, DT_SINGLELINE);
}
