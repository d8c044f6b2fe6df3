// The base painter's menus: the frame with the tear-off strip, the background, group
// separators, scroll buttons and the expand button of personalised menus.
#include "bars/painters/painter.h"

#include <algorithm>

#include "bars/model/backgrounds.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/painters/painter_helpers.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/GraphicsObjects.h"

namespace {

void Edge(HDC DC, TRect R, UINT AEdge, UINT AFlags)
{
  if (DC && !IsRectEmpty(R))
    ::DrawEdge(DC, &R, AEdge, AFlags);
}

// The expand chevrons' V lines reach this much further to each side than they are deep.
constexpr int ChevronGap = 2;

}  // namespace

int TdxBarPainter::GetExpandChevronSize(const TCustomdxBarControl* AMenu) const
{
  return std::max(1, GetScrollArrowSize(GetMenuButtonHeight() / 2));
}

void TdxBarPainter::DrawMenuFrame(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R) const
{
  if (!DC || IsRectEmpty(R))
    return;
  const HBRUSH face = dxBarSysColorBrush(COLOR_BTNFACE);
  FillWith(DC, Rect(R.left, R.top, R.left + 1, R.bottom - 1), face);
  FillWith(DC, Rect(R.left + 1, R.top, R.right - 1, R.top + 1), face);
  Edge(DC, R, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
  if (!AMenu || !AMenu->IsDetachable())
    return;
  TRect r = InflateRect(R, -1, -1);
  Edge(DC, r, BDR_RAISEDINNER, BF_LEFT | BF_TOP | BF_RIGHT);
  const TRect strip = GetDetachStripBounds(AMenu, R);
  if (IsRectEmpty(strip))
    return;
  const TRect ring = InflateRect(strip, 1, 1);
  ::FrameRect(DC, &ring, dxBarRealBrush(face));
  DrawDetachStrip(AMenu, DC, strip, false);
}

TRect TdxBarPainter::GetDetachStripBounds(const TCustomdxBarControl* AMenu, const TRect& R) const
{
  // Inside the face-coloured ring DrawMenuFrame draws two pixels in.
  TRect r = InflateRect(R, -2, -2);
  r.bottom = std::min(int(r.bottom), int(r.top) + GetDetachStripHeight(AMenu));
  return IsRectEmpty(r) ? TRect{} : InflateRect(r, -1, -1);
}

void TdxBarPainter::DrawDetachStrip(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, bool AHot) const
{
  const bool active = AMenu && AMenu->IsActive();
  FillWith(DC, R, dxBarSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
}

void TdxBarPainter::DrawMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, HBRUSH ABrush) const
{
  if (!DC || IsRectEmpty(R))
    return;
  TRect r = R;
  if (AMenu && AMenu->IsDetachable())
    r.top -= 2;
  Edge(DC, r, BDR_RAISEDINNER, BF_RECT);
  r = InflateRect(r, -1, -1);
  if (IsRectEmpty(r))
    return;
  ::FrameRect(DC, &r, dxBarRealBrush(ABrush));
  FillMenuBackground(AMenu, DC, InflateRect(r, -1, -1), ABrush);
}

void TdxBarPainter::FillMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, HBRUSH ABrush) const
{
  TdxBarManager* manager = AMenu ? AMenu->GetBarManager() : nullptr;
  TBitmap* bitmap = manager && manager->GetBackgrounds() ? manager->GetBackgrounds()->GetSubMenu() : nullptr;
  FillRectWithBackground(DC, R, bitmap, TPoint{0, 0}, ABrush);
}

void TdxBarPainter::DrawMenuSeparator(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, const TRect& R,
                                      const TdxBarItemControl* AControl) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (!DC || IsRectEmpty(R))
    return;
  // The gap belongs to the item under it (a less-used run or an item of its own colour starts
  // there), except under the active item, whose highlight must not reach into the gap.
  HBRUSH brush = AMenu ? AMenu->GetBackgroundBrush() : GetBackgroundBrush(nullptr);
  if (AControl && !AControl->IsActive())
    brush = AControl->GetBackgroundBrush();
  FillMenuBackground(AMenu, DC, R, brush);
  // The line at the gap's middle, a pixel in from both sides.
  const int height = std::clamp(GetMenuSeparatorLineHeight(), 2, std::max(2, RectHeight(R)));
  const int top = (R.top + R.bottom - height) / 2;
  DrawMenuSeparatorLine(ACanvas, Rect(R.left + 1, top, R.right - 1, top + height));
}

void TdxBarPainter::DrawMenuSeparatorLine(TcxCanvas* ACanvas, const TRect& R) const
{
  if (ACanvas)
    Edge(ACanvas->GetHandle(), R, EDGE_ETCHED, BF_TOP);
}

void TdxBarPainter::DrawMenuSeparatorLineVertical(TcxCanvas* ACanvas, const TRect& R) const
{
  if (ACanvas)
    Edge(ACanvas->GetHandle(), R, EDGE_ETCHED, BF_LEFT);
}

void TdxBarPainter::DrawApplicationMenuParts(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas,
                                             const TRect& AExtraPane, const TRect& AButtonRow, HRGN AClip) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (!DC)
    return;
  const int saved = SaveDC(DC);
  if (AClip)
    ExtSelectClipRgn(DC, AClip, RGN_AND);
  // The pane's line starts a pixel inside the item column, so that it never covers the pane.
  const int lineHeight = std::max(2, GetMenuSeparatorLineHeight());
  if (!IsRectEmpty(AExtraPane))
    DrawMenuSeparatorLineVertical(
        ACanvas, Rect(AExtraPane.left - 1, AExtraPane.top, AExtraPane.left - 1 + lineHeight, AExtraPane.bottom));
  if (!IsRectEmpty(AButtonRow))
    DrawMenuSeparatorLine(ACanvas,
                          Rect(AButtonRow.left, AButtonRow.top, AButtonRow.right, AButtonRow.top + lineHeight));
  RestoreDC(DC, saved);
}

void TdxBarPainter::DrawScrollButton(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, bool ADown) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (!DC || !AMenu)
    return;
  const TRect r = GetScrollButtonRect(AMenu, AMenu->GetItemArea(), ADown);
  if (IsRectEmpty(r))
    return;
  // The item cells under the button take the menu's background.
  FillMenuBackground(AMenu, DC, r, AMenu->GetBackgroundBrush());
  DrawScrollArrow(ACanvas, r, ADown);
  DrawScrollButtonFrame(AMenu, ACanvas, r);
}

void TdxBarPainter::DrawScrollArrow(TcxCanvas* ACanvas, const TRect& R, bool ADown) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  const int rows = GetScrollArrowSize(RectHeight(R));
  if (!DC || rows <= 0)
    return;
  const int cx = (R.left + R.right) / 2;
  const int top = (R.top + R.bottom - rows) / 2;
  const HBRUSH text = dxBarSysColorBrush(COLOR_BTNTEXT);
  for (int k = 0; k < rows; ++k) {
    // Up: the tip at the top row; down: at the bottom row.
    const int half = ADown ? rows - 1 - k : k;
    FillWith(DC, Rect(cx - half, top + k, cx + half + 1, top + k + 1), text);
  }
}

void TdxBarPainter::DrawExpandButton(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, const TRect& R,
                                     bool ASelected) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (!DC || IsRectEmpty(R))
    return;
  const int w = RectWidth(R), h = RectHeight(R);
  HDC memory = ::CreateCompatibleDC(DC);
  HBITMAP bitmap = TrackGdiObject(CreateScreenBitmap(w, h));
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  const TRect local = Rect(0, 0, w, h);
  FillMenuBackground(AMenu, memory, local, AMenu ? AMenu->GetBackgroundBrush() : GetBackgroundBrush(nullptr));
  DrawExpandChevrons(memory, local, GetExpandChevronSize(AMenu), ASelected);
  ::BitBlt(DC, R.left, R.top, w, h, memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  DeleteGdiObject(bitmap);
  ::DeleteDC(memory);
}

void TdxBarPainter::DrawExpandChevrons(HDC DC, const TRect& R, int ASize, bool ASelected) const
{
  if (!DC || ASize <= 0 || IsRectEmpty(R))
    return;
  const int color = IsFlatStyle() && IsHighContrastWhite() && ASelected ? COLOR_BTNFACE : COLOR_BTNTEXT;
  HPEN pen = TrackGdiObject(::CreatePen(PS_SOLID, 1, ::GetSysColor(color)));
  HGDIOBJ old = ::SelectObject(DC, pen);
  // Each V reaches ASize + ChevronGap to each side and as deep; a chevron is ASize of them,
  // one below the other, and the second chevron follows a row below the first.
  const int arm = ASize + ChevronGap;
  const int chevronHeight = ASize + arm;
  const int total = 2 * chevronHeight + 1;
  const int cx = (R.left + R.right) / 2;
  const int top = (R.top + R.bottom - total) / 2;
  for (int chevron = 0; chevron < 2; ++chevron)
    for (int line = 0; line < ASize; ++line) {
      const int y = top + chevron * (chevronHeight + 1) + line;
      ::MoveToEx(DC, cx - arm, y, nullptr);
      ::LineTo(DC, cx, y + arm);
      ::LineTo(DC, cx + arm + 1, y - 1);
    }
  ::SelectObject(DC, old);
  DeleteGdiObject(pen);
}
