// The frame, caption band, size grip and close button of sizable drop-down windows.
#include "bars/barwindows/dropdownsizing.h"

#include <algorithm>

#include "platform/GraphicsObjects.h"
#include "platform/Scope.h"

namespace {

// The button-face strips the grip keeps along the window's outer edges.
constexpr int GripMargin = 2;
// The close button's inset within its place in the band.
constexpr int CloseInsetX = 1;
constexpr int CloseInsetY = 2;
// The caption glyph sits a pixel high at sizes other than the classic one.
constexpr int ClassicCaptionSize = 22;

TRect GripRectIn(const TRect& R, int ACorner)
{
  const int w = ::GetSystemMetrics(SM_CXVSCROLL), h = ::GetSystemMetrics(SM_CYHSCROLL);
  TRect r = R;
  if (IsSizeGripCornerRight(ACorner))
    r.left = r.right - w;
  else
    r.right = r.left + w;
  if (IsSizeGripCornerBottom(ACorner))
    r.top = r.bottom - h;
  else
    r.bottom = r.top + h;
  return r;
}

TRect CloseRectIn(const TRect& R, int ACorner)
{
  const int w = ::GetSystemMetrics(SM_CXSIZE), h = w + 1;
  TRect r = R;
  // The end opposite the grip.
  if (IsSizeGripCornerRight(ACorner))
    r.right = r.left + w;
  else
    r.left = r.right - w;
  r.top = R.top + (RectHeight(R) - h) / 2 + (IsSizeGripCornerBottom(ACorner) ? 1 : 0);
  r.bottom = r.top + h;
  return InflateRect(r, -CloseInsetX, -CloseInsetY);
}

// The band inside the frame of a window rectangle.
TRect BandRectIn(const TRect& AWindow, int ACorner)
{
  TRect band = InflateRect(AWindow, -1, -1);
  const int h = GetDropDownCaptionHeight();
  if (IsSizeGripCornerBottom(ACorner))
    band.top = std::max(band.top, band.bottom - h);
  else
    band.bottom = std::min(band.bottom, band.top + h);
  return band;
}

// The band less its one-pixel edge towards the client area.
TRect BandFaceRect(const TRect& ABand, int ACorner)
{
  TRect r = ABand;
  if (IsSizeGripCornerBottom(ACorner))
    r.top = std::min(r.bottom, r.top + 1);
  else
    r.bottom = std::max(r.top, r.bottom - 1);
  return r;
}

void FillFace(HDC DC, const TRect& R)
{
  if (!IsRectEmpty(R))
    ::FillRect(DC, &R, ::GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace

int GetDropDownCaptionHeight()
{
  return std::max(::GetSystemMetrics(SM_CYHSCROLL) + 2, ::GetSystemMetrics(SM_CYSIZE)) + 1;
}

int GetSizeGripCorner(const TRect& ADropDownRect, const TRect& AOwnerRect)
{
  const bool left = ADropDownRect.left < AOwnerRect.left;
  const bool top = ADropDownRect.top < AOwnerRect.top;
  return (top ? 0 : 2) + (left ? 0 : 1);
}

int GetCornerHitTestCode(int ACorner)
{
  switch (ACorner) {
    case dxGripTopLeft:
      return HTTOPLEFT;
    case dxGripTopRight:
      return HTTOPRIGHT;
    case dxGripBottomLeft:
      return HTBOTTOMLEFT;
    case dxGripBottomRight:
      return HTBOTTOMRIGHT;
    default:
      return HTNOWHERE;
  }
}

TRect GetSizableDropDownMargins(int ACorner)
{
  const int band = GetDropDownCaptionHeight();
  const bool bottom = IsSizeGripCornerBottom(ACorner);
  return TRect{1, 1 + (bottom ? 0 : band), 1, 1 + (bottom ? band : 0)};
}

void DrawSizeGripCorner(HDC DC, TRect& R, int ACorner)
{
  const TRect grip = GripRectIn(R, ACorner);
  R = grip;
  if (!DC || IsRectEmpty(grip))
    return;
  const bool right = IsSizeGripCornerRight(ACorner), bottom = IsSizeGripCornerBottom(ACorner);
  TRect inner = grip;
  TRect side = grip, edge = grip;
  if (right) {
    side.left = side.right - GripMargin;
    inner.right -= GripMargin;
  } else {
    side.right = side.left + GripMargin;
    inner.left += GripMargin;
  }
  if (bottom) {
    edge.top = edge.bottom - GripMargin;
    inner.bottom -= GripMargin;
  } else {
    edge.bottom = edge.top + GripMargin;
    inner.top += GripMargin;
  }
  FillFace(DC, side);
  FillFace(DC, edge);
  const int w = RectWidth(inner), h = RectHeight(inner);
  if (w <= 0 || h <= 0)
    return;
  // The system draws the grip for the bottom-right corner only: it is mirrored into the others.
  HDC memory = ::CreateCompatibleDC(DC);
  if (!memory)
    return;
  TFinally freeDC([memory]() noexcept { ::DeleteDC(memory); });
  HBITMAP bitmap = TrackGdiObject(CreateScreenBitmap(w, h));
  if (!bitmap)
    return;
  TFinally freeBitmap([bitmap]() noexcept { DeleteGdiObject(bitmap); });
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  TFinally deselect([memory, old]() noexcept { ::SelectObject(memory, old); });
  RECT whole{0, 0, w, h};
  ::FillRect(memory, &whole, ::GetSysColorBrush(COLOR_BTNFACE));
  ::DrawFrameControl(memory, &whole, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  const int x = right ? inner.left : inner.right - 1, dx = right ? w : -w;
  const int y = bottom ? inner.top : inner.bottom - 1, dy = bottom ? h : -h;
  ::StretchBlt(DC, x, y, dx, dy, memory, 0, 0, w, h, SRCCOPY);
}

void DrawDropDownCloseButton(HDC DC, TRect& R, bool AHighlighted, int ACorner, bool AFlat, bool APressed)
{
  const TRect button = CloseRectIn(R, ACorner);
  R = button;
  if (!DC || IsRectEmpty(button))
    return;
  TRect r = button;
  if ((!AHighlighted && !APressed) || AFlat)
    ::FrameRect(DC, &r, ::GetSysColorBrush(COLOR_BTNFACE));
  else
    ::DrawEdge(DC, &r, APressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  r = InflateRect(r, -1, -1);
  ::FrameRect(DC, &r, ::GetSysColorBrush(COLOR_BTNFACE));
  const TRect clip = InflateRect(r, -1, -1);
  if (IsRectEmpty(clip))
    return;
  TRect glyph = clip;
  if (::GetSystemMetrics(SM_CXSIZE) != ClassicCaptionSize)
    glyph = OffsetRect(glyph, 0, 1);
  const int saved = ::SaveDC(DC);
  TFinally restore([DC, saved]() noexcept { ::RestoreDC(DC, saved); });
  ::IntersectClipRect(DC, clip.left, clip.top, clip.right, clip.bottom);
  UINT state = DFCS_CAPTIONCLOSE | DFCS_FLAT;
  if (APressed && !AFlat)
    state |= DFCS_PUSHED;
  ::DrawFrameControl(DC, &glyph, DFC_CAPTION, state);
}

TdxBarSizableDropDownParts CalcSizableDropDownParts(const TSize& AWindowSize, int ACorner)
{
  TdxBarSizableDropDownParts parts;
  const TRect band = BandFaceRect(BandRectIn(TRect{0, 0, AWindowSize.cx, AWindowSize.cy}, ACorner), ACorner);
  TRect grip = band, close = band;
  DrawSizeGripCorner(nullptr, grip, ACorner);
  DrawDropDownCloseButton(nullptr, close, false, ACorner, true, false);
  parts.Grip = grip;
  parts.CloseButton = close;
  return parts;
}

TdxBarSizableDropDownParts DrawSizableDropDownNonClient(HWND AWnd, bool ASizable, bool AFlat, int ACorner,
                                                        bool ACloseHot, bool AClosePressed)
{
  TdxBarSizableDropDownParts parts;
  HDC dc = AWnd ? ::GetWindowDC(AWnd) : nullptr;
  if (!dc)
    return parts;
  TFinally release([AWnd, dc]() noexcept { ::ReleaseDC(AWnd, dc); });
  const int saved = ::SaveDC(dc);
  TFinally restore([dc, saved]() noexcept { ::RestoreDC(dc, saved); });
  RECT w{};
  ::GetWindowRect(AWnd, &w);
  const TRect window{0, 0, w.right - w.left, w.bottom - w.top};
  RECT c{};
  ::GetClientRect(AWnd, &c);
  ::MapWindowPoints(AWnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
  const TRect client = OffsetRect(TRect{c.left, c.top, c.right, c.bottom}, -w.left, -w.top);
  const int frameColor = AFlat ? COLOR_BTNSHADOW : COLOR_WINDOWFRAME;
  ::FrameRect(dc, &window, ::GetSysColorBrush(frameColor));
  if (!ASizable)
    return parts;
  const bool bottom = IsSizeGripCornerBottom(ACorner);
  const TRect whole = BandRectIn(window, ACorner);
  const TRect band = BandFaceRect(whole, ACorner);
  // The band's edge towards the client area.
  const TRect line = bottom ? TRect{whole.left, whole.top, whole.right, band.top}
                            : TRect{whole.left, band.bottom, whole.right, whole.bottom};
  ::FillRect(dc, &line, ::GetSysColorBrush(frameColor));
  TRect grip = band;
  DrawSizeGripCorner(dc, grip, ACorner);
  ::ExcludeClipRect(dc, grip.left, grip.top, grip.right, grip.bottom);
  TRect close = band;
  DrawDropDownCloseButton(dc, close, ACloseHot, ACorner, AFlat, AClosePressed);
  ::ExcludeClipRect(dc, close.left, close.top, close.right, close.bottom);
  FillFace(dc, band);
  const LONG style = ::GetWindowLongW(AWnd, GWL_STYLE);
  if (bottom && (style & WS_VSCROLL) && (style & WS_HSCROLL)) {
    const int cx = ::GetSystemMetrics(SM_CXVSCROLL), cy = ::GetSystemMetrics(SM_CYHSCROLL);
    FillFace(dc, TRect{client.right, client.bottom, client.right + cx, client.bottom + cy});
  }
  parts.Grip = grip;
  parts.CloseButton = close;
  return parts;
}
