// The base painter's drawing of the parts of a toolbar window that are not item controls:
// non-client borders, backgrounds, separators, the floating caption with its buttons, the
// mark, the size grip and the status bar's top band. The window is read only through its
// painter queries (bars/barwindows/barcontrol.h).
#include "bars/painters/painter.h"

#include <algorithm>
#include <memory>

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/model/manager.h"
#include "bars/painters/painter_helpers.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "lookandfeel/dxThemeManager.h"
#include "lookandfeel/dxUxTheme.h"

namespace {

bool IsVerticalDock(const TCustomdxBarControl* ABar)
{
  TdxBarDockingStyle style = ABar->GetBarDockingStyle();
  return style == dsLeft || style == dsRight;
}

// A 1-pixel pen of a colour, selected for the guard's life and deleted after.
class TPenGuard {
public:
  TPenGuard(HDC DC, TColor AColor) : FDC(DC), FPen(TrackGdiObject(::CreatePen(PS_SOLID, 1, ColorToRGB(AColor))))
  {
    FOld = ::SelectObject(DC, FPen);
  }
  ~TPenGuard()
  {
    ::SelectObject(FDC, FOld);
    DeleteGdiObject(FPen);
  }
  TPenGuard(const TPenGuard&) = delete;
  TPenGuard& operator=(const TPenGuard&) = delete;

private:
  HDC FDC;
  HPEN FPen;
  HGDIOBJ FOld = nullptr;
};

}  // namespace

// ---------------------------------------------------------------------------
// Borders

TRect TdxBarPainter::GetBarBorders(const TdxBar* ABar, int ADockingStyle, bool ASizeGrip) const
{
  TRect r{};
  if (!ABar)
    return r;
  const TCustomdxBarControl* window = ABar->GetControl();
  if (ADockingStyle == dsNone) {
    int w = GetSizingFrameWidth();
    int h = GetSizingFrameHeight();
    r = Rect(w, h, w, h);
    if (window && !window->HidesCaption())
      r.top += GetCaptionHeight();
    TRect extra = GetFloatingBarExtraBorders(window);
    r = Rect(r.left + extra.left, r.top + extra.top, r.right + extra.right, r.bottom + extra.bottom);
    return r;
  }
  if (ABar->GetBorderStyle() == bbsSingle) {
    r = GetDockedBarBorders(window);
    int handle = window && window->UsesDragHandleSizeEx() ? GetDragHandleSizeEx(ABar) : GetDragHandleSize(ABar);
    if (ADockingStyle == dsTop || ADockingStyle == dsBottom)
      r.left += handle;
    else
      r.top += handle;
    return r;
  }
  if (ADockingStyle == dsBottom && ABar->GetWholeRow()) {
    TRect status = GetStatusBarBorders();
    r = Rect(status.left, GetStatusBarTopIndent() + status.top, status.right, status.bottom);
    if (ASizeGrip)
      r.right += GetSizeGripSize().cx;
  }
  return r;
}

// ---------------------------------------------------------------------------
// Backgrounds and separators

void TdxBarPainter::DrawToolbarBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                          HBRUSH ABrush) const
{
  if (!ABarControl || !DC)
    return;
  TBitmap* own = ABarControl->GetBarBackgroundBitmap();
  if (IsGlyphAssigned(own)) {
    TileBackgroundBitmap(DC, R, own, Point(0, 0));
    return;
  }
  TdxBarManager* manager = ABarControl->GetBarManager();
  TBitmap* managerBitmap = manager && manager->GetBackgrounds() ? manager->GetBackgrounds()->GetBar() : nullptr;
  bool hasManagerBitmap = IsGlyphAssigned(managerBitmap);
  if (ABarControl->IsStatusBar() && !hasManagerBitmap) {
    DrawStatusBarBackground(ABarControl, DC, ABarControl->GetClientRect(), ABrush);
    return;
  }
  if (ABarControl->GetBarColor() == clDefault) {
    // A docked bar lets its dock site's background run on through it.
    if (ABarControl->GetBarDockingStyle() != dsNone && ABarControl->FillDockSiteBackground(DC, R))
      return;
    if (hasManagerBitmap)
      TileBackgroundBitmap(DC, R, managerBitmap, Point(0, 0));
    else if (ABrush)
      ::FillRect(DC, &R, ABrush);
    return;
  }
  FillRectByColor(DC, R, ABarControl->GetBarColor());
}

void TdxBarPainter::DrawDockedBarBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (!ABarControl || !DC)
    return;
  if (!ABarControl->FillDockSiteBackground(DC, R))
    ::FillRect(DC, &R, ABarControl->GetBackgroundBrush());
}

void TdxBarPainter::DrawStatusBarBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                            HBRUSH ABrush) const
{
  if (!DC || IsRectEmpty(R))
    return;
  // The themed status bar when the look draws through themes and they are on; a plain
  // fill when the theme cannot draw it.
  if (IsNativeStyle())
    if (TdxTheme theme = OpenTheme(totStatus))
      if (DrawThemeBackground(theme, DC, 0, 0, R))
        return;
  if (ABrush)
    ::FillRect(DC, &R, ABrush);
}

void TdxBarPainter::DrawToolbarSeparator(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush,
                                         bool AHorizontal) const
{
  if (!DC || IsRectEmpty(R))
    return;
  TRect line = FillToolbarSeparator(ABarControl, DC, R, ABrush, AHorizontal);
  ::DrawEdge(DC, &line, EDGE_ETCHED, AHorizontal ? BF_TOP : BF_LEFT);
}

TRect TdxBarPainter::FillToolbarSeparator(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush,
                                          bool AHorizontal) const
{
  if (ABarControl)
    ABarControl->FillBackground(DC, R, ABrush);
  else
    ::FillRect(DC, &R, ABrush);
  int offset = GetToolbarSeparatorOffset();
  return AHorizontal ? InflateRect(R, 0, -offset) : InflateRect(R, -offset, 0);
}

// ---------------------------------------------------------------------------
// Floating caption

void TdxBarPainter::DrawBarCaption(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush) const
{
  if (!ABarControl || !DC)
    return;
  TRect fill = R;
  ++fill.bottom;
  ::FillRect(DC, &fill, ABrush);
  if (IsGradientCaption())
    DrawCaptionBackground(ABarControl, DC, R);
  TRect textRect = R;
  if (ABarControl->HasCaptionButtons())
    textRect.right -= GetSmallCaptionHeight();
  textRect.left = GetCaptionTextLeft(ABarControl, R);
  // A mark towards the caption's end ends the text before it.
  if (ABarControl->HasCaptionMark()) {
    TRect mark = ABarControl->GetMarkRect();
    if (mark.left > textRect.left)
      textRect.right = std::min(textRect.right, mark.left - 1);
  }
  String caption = ABarControl->GetBarCaptionText();
  if (RectWidth(textRect) > 0 && !caption.empty()) {
    TdxBarManager* manager = ABarControl->GetBarManager();
    std::unique_ptr<TFont> font(
        CreateSmallCaptionFont(manager ? manager->GetFont() : nullptr, !manager || manager->GetUseSystemFont()));
    HGDIOBJ oldFont = ::SelectObject(DC, font->GetHandle());
    ::SetTextColor(DC, ColorToRGB(GetCaptionTextColor(ABarControl)));
    ::SetBkColor(DC, ::GetSysColor(GetSysColorByIndex(ABarControl, ABarControl->IsActive())));
    int oldMode = ::SetBkMode(DC, IsGradientCaption() ? TRANSPARENT : OPAQUE);
    int textHeight = GetTextExtentOfString(DC, caption).cy;
    ExtTextOutString(DC, Point(textRect.left, (R.top + R.bottom - textHeight) / 2), ETO_CLIPPED, &textRect, caption);
    ::SetBkMode(DC, oldMode);
    ::SelectObject(DC, oldFont);
  }
  if (ABarControl->HasCaptionMark())
    DrawCaptionMark(ABarControl, DC, ABarControl->GetMarkRect());
}

void TdxBarPainter::DrawCaptionBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (ABarControl && DC)
    FillRectByColor(DC, R, SysColor(GetSysColorByIndex(ABarControl, ABarControl->IsActive())));
}

void TdxBarPainter::DrawCaptionButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                      TdxBarMarkState AState) const
{
  if (!ABarControl || !DC)
    return;
  if (AState == TdxBarMarkState::Normal) {
    FillRectByColor(DC, R, SysColor(GetSysColorByIndex(ABarControl, ABarControl->IsActive())));
    return;
  }
  DrawSelectionFrame(nullptr, DC, R);
  TRect r = InflateRect(R, -1, -1);
  ::FillRect(DC, &r, AState == TdxBarMarkState::Hot ? ABarControl->GetHighlightBrush() : ABarControl->GetFaceBrush());
}

void TdxBarPainter::DrawCaptionCloseButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                           TdxBarMarkState AState) const
{
  if (!ABarControl || !DC || IsRectEmpty(R))
    return;
  TPenGuard pen(DC, GetCaptionButtonGlyphColor(ABarControl, AState));
  int size = std::max(Metrics().CloseCrossMinSize, RectWidth(R) / 2 - 1);
  int x = (R.left + R.right - size) / 2;
  int y = (R.top + R.bottom - size) / 2;
  // Each diagonal is two pixels wide.
  for (int d = 0; d < 2; ++d) {
    ::MoveToEx(DC, x + d, y, nullptr);
    ::LineTo(DC, x + size + d, y + size);
    ::MoveToEx(DC, x + size - 1 + d, y, nullptr);
    ::LineTo(DC, x - 1 + d, y + size);
  }
}

void TdxBarPainter::DrawCaptionButtonArrow(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (!ABarControl || !DC)
    return;
  int x = (R.left + R.right - Metrics().CaptionMarkWidth) / 2;
  int y = (R.top + R.bottom - Metrics().CaptionMarkHeight) / 2;
  POINT p[3] = {{x, y},
                {x + Metrics().CaptionMarkWidth - 1, y},
                {x + (Metrics().CaptionMarkWidth - 1) / 2, y + Metrics().CaptionMarkHeight - 1}};
  DrawFilledPolygon(DC, p, 3, GetCaptionButtonGlyphColor(ABarControl, ABarControl->GetMarkState()));
}

void TdxBarPainter::DrawCaptionMark(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  DrawCaptionButtonArrow(ABarControl, DC, R);
}

// ---------------------------------------------------------------------------
// The mark

void TdxBarPainter::DrawMark(const TCustomdxBarControl* ABarControl, TcxCanvas* ACanvas, const TRect& R) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (!ABarControl || !DC)
    return;
  DrawMarkBackground(ABarControl, DC, R, ABarControl->GetBackgroundBrush());
  DrawMarkContent(ABarControl, DC, R);
}

void TdxBarPainter::DrawMarkContent(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (!ABarControl || !DC)
    return;
  bool vertical = IsVerticalDock(ABarControl);
  bool small = IsSmallMark(R);
  if (IsMarkArrowDrawn()) {
    POINT p[3];
    if (!vertical) {
      int x = R.left + Metrics().MarkArrowIndentX;
      int y = R.bottom - Metrics().MarkArrowIndentBottom + (small ? 1 : 0);
      p[0] = {x, y};
      p[1] = {x + 4, y};
      p[2] = {x + 2, y + 2};
    } else {
      int x = R.left + Metrics().MarkArrowVerticalX;
      int y = R.top + Metrics().MarkArrowVerticalY;
      p[0] = {x, y};
      p[1] = {x, y + 4};
      p[2] = {x - 2, y + 2};
    }
    DrawFilledPolygon(DC, p, 3, SysColor(GetMarkArrowColorIndex(ABarControl)));
  }
  if (!ABarControl->HasHiddenItems())
    return;
  if (!vertical) {
    int y = R.top + Metrics().MarkChevronTop - (small ? 1 : 0);
    DrawMarkChevron(ABarControl, DC, R.left + Metrics().MarkChevronFirst, y, false);
    DrawMarkChevron(ABarControl, DC, R.left + Metrics().MarkChevronSecond, y, false);
  } else {
    int x = R.right - Metrics().MarkChevronVerticalRight;
    DrawMarkChevron(ABarControl, DC, x, R.top + Metrics().MarkChevronFirst, true);
    DrawMarkChevron(ABarControl, DC, x, R.top + Metrics().MarkChevronSecond, true);
  }
}

void TdxBarPainter::DrawMarkChevron(const TCustomdxBarControl* ABarControl, HDC DC, int X, int Y, bool AVertical) const
{
  if (!DC)
    return;
  // Two strokes side by side, pointing along the bar; a vertical bar has them turned.
  static constexpr POINT Strokes[2][3] = {{{0, 0}, {2, 2}, {-1, 5}}, {{1, 0}, {3, 2}, {0, 5}}};
  TPenGuard pen(DC, SysColor(COLOR_BTNTEXT));
  for (const auto& stroke : Strokes) {
    POINT p[3];
    for (int i = 0; i < 3; ++i)
      p[i] = AVertical ? POINT{X + stroke[i].y, Y + stroke[i].x} : POINT{X + stroke[i].x, Y + stroke[i].y};
    ::Polyline(DC, p, 3);
  }
}

TRect TdxBarPainter::CalcMarkRect(const TCustomdxBarControl* ABarControl) const
{
  if (!ABarControl)
    return TRect{};
  TRect client = ABarControl->GetClientRect();
  TSize size = ABarControl->GetMarkSize();
  switch (ABarControl->GetBarDockingStyle()) {
    case dsLeft:
    case dsRight:
      return Rect(0, client.bottom - size.cy, client.right, client.bottom);
    case dsTop:
    case dsBottom:
      return Rect(client.right - size.cx, 0, client.right, client.bottom);
    default:
      break;
  }
  // Floating: a square at the caption's right end, left of the caption buttons.
  TRect caption = GetCaptionRect(Rect(0, 0, ABarControl->GetWidth(), ABarControl->GetHeight()));
  int side = RectHeight(caption);
  TRect r = Rect(caption.right - side, caption.top, caption.right, caption.bottom);
  if (ABarControl->HasCaptionButtons())
    r = OffsetRect(r, -GetSmallCaptionHeight() * std::max(ABarControl->GetCaptionButtonCount(), 1), 0);
  if (r.left < caption.left)
    r = OffsetRect(r, caption.left - r.left, 0);
  return r;
}

TRect TdxBarPainter::GetMarkRect(const TCustomdxBarControl* ABarControl) const
{
  return CalcMarkRect(ABarControl);
}

// ---------------------------------------------------------------------------
// Size grips and the status bar

void TdxBarPainter::DrawSizeGrip(HDC DC, const TRect& R) const
{
  if (!DC)
    return;
  if (IsNativeStyle())
    DrawThemedSizeGrip(DC, R, sgcBottomRight);
  else
    ::DrawSizeGrip(DC, R);
}

void TdxBarPainter::DrawFloatingSizeGrip(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (!ABarControl || !DC)
    return;
  TRect borders = GetStatusBarBorders();
  TRect inner = Rect(R.left + borders.left, R.top + borders.top, R.right - borders.right, R.bottom - borders.bottom);
  TSize size = GetSizeGripSize();
  TRect grip = Rect(inner.right - size.cx, inner.bottom - size.cy, inner.right, inner.bottom);
  ABarControl->FillBackground(DC, grip, ABarControl->GetBackgroundBrush());
  DrawSizeGrip(DC, grip);
}

void TdxBarPainter::DrawStatusBarTopIndent(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (!ABarControl || !DC)
    return;
  TRect band = R;
  band.bottom = std::min(R.bottom, R.top + GetStatusBarTopIndent());
  ABarControl->FillBackground(DC, band, ABarControl->GetBackgroundBrush());
}
