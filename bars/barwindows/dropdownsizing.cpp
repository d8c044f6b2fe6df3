// The frame, caption band, size grip and close button of sizable drop-down windows.
#include "bars/barwindows/dropdownsizing.h"

#include <algorithm>

#include "bars/painters/painter.h"
#include "lookandfeel/cxControls.h"
#include "platform/Controls.h"
#include "platform/GraphicsObjects.h"
#include "platform/Messages.h"
#include "platform/Scope.h"

namespace {

// The button-face strips the grip keeps along the window's outer edges.
constexpr int GripMargin = 2;
// The close button's inset within its place in the band.
constexpr int CloseInsetX = 1;
constexpr int CloseInsetY = 2;
// The caption glyph sits a pixel high at sizes other than the classic one.
constexpr int ClassicCaptionSize = 22;

TRect GripRectIn(const TRect& R, TdxBarSizeGripCorner ACorner)
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

TRect CloseRectIn(const TRect& R, TdxBarSizeGripCorner ACorner)
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
TRect BandRectIn(const TRect& AWindow, TdxBarSizeGripCorner ACorner)
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
TRect BandFaceRect(const TRect& ABand, TdxBarSizeGripCorner ACorner)
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

TdxBarSizeGripCorner GetSizeGripCorner(const TRect& ADropDownRect, const TRect& AOwnerRect)
{
  const bool left = ADropDownRect.left < AOwnerRect.left;
  const bool top = ADropDownRect.top < AOwnerRect.top;
  if (top)
    return left ? sgcTopLeft : sgcTopRight;
  return left ? sgcBottomLeft : sgcBottomRight;
}

int GetCornerHitTestCode(TdxBarSizeGripCorner ACorner)
{
  switch (ACorner) {
    case sgcTopLeft:
      return HTTOPLEFT;
    case sgcTopRight:
      return HTTOPRIGHT;
    case sgcBottomLeft:
      return HTBOTTOMLEFT;
    case sgcBottomRight:
      return HTBOTTOMRIGHT;
    default:
      return HTNOWHERE;
  }
}

TRect GetSizableDropDownMargins(TdxBarSizeGripCorner ACorner)
{
  const int band = GetDropDownCaptionHeight();
  const bool bottom = IsSizeGripCornerBottom(ACorner);
  return TRect{1, 1 + (bottom ? 0 : band), 1, 1 + (bottom ? band : 0)};
}

void DrawSizeGripCorner(HDC DC, TRect& R, TdxBarSizeGripCorner ACorner)
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

void DrawDropDownCloseButton(HDC DC, TRect& R, bool AHighlighted, TdxBarSizeGripCorner ACorner, bool AFlat,
                             bool APressed)
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

TdxBarSizableDropDownParts CalcSizableDropDownParts(const TSize& AWindowSize, TdxBarSizeGripCorner ACorner)
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

TdxBarSizableDropDownParts DrawSizableDropDownNonClient(HWND AWnd, bool ASizable, bool AFlat,
                                                        TdxBarSizeGripCorner ACorner, bool ACloseHot,
                                                        bool AClosePressed)
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

void ExcludeDropDownMargins(TMessage& Message, const TRect& AMargins)
{
  if (auto* r = reinterpret_cast<RECT*>(Message.LParam)) {
    r->left += AMargins.left;
    r->top += AMargins.top;
    r->right = std::max(r->left, r->right - AMargins.right);
    r->bottom = std::max(r->top, r->bottom - AMargins.bottom);
  }
}

bool IsDropDownFlat(const TdxBarPainter* APainter)
{
  return !APainter || APainter->IsFlatStyle() || APainter->IsNativeStyle();
}

// ---------------------------------------------------------------------------
// TdxBarDropDownSizing

HWND TdxBarDropDownSizing::Handle() const
{
  return FWindow->HandleAllocated() ? FWindow->GetHandle() : nullptr;
}

void TdxBarDropDownSizing::SetCorner(TdxBarSizeGripCorner Value)
{
  if (FCorner == Value || GetCornerHitTestCode(Value) == HTNOWHERE)
    return;
  FCorner = Value;
  if (HWND handle = Handle())
    ::SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TdxBarSizableDropDownParts TdxBarDropDownSizing::GetParts() const
{
  HWND handle = Handle();
  if (!handle)
    return {};
  RECT w{};
  ::GetWindowRect(handle, &w);
  return CalcSizableDropDownParts(TSize{w.right - w.left, w.bottom - w.top}, FCorner);
}

void TdxBarDropDownSizing::HitTest(TMessage& Message) const
{
  HWND handle = Handle();
  if (!handle)
    return;
  RECT w{};
  ::GetWindowRect(handle, &w);
  const TPoint p{LParamX(Message.LParam) - w.left, LParamY(Message.LParam) - w.top};
  const TdxBarSizableDropDownParts parts = GetParts();
  if (PtInRect(parts.Grip, p))
    Message.Result = GetCornerHitTestCode(FCorner);
  else if (PtInRect(parts.CloseButton, p))
    Message.Result = HTCLOSE;
  else if (Message.Result == HTNOWHERE || Message.Result == HTCLIENT) {
    RECT c{};
    ::GetClientRect(handle, &c);
    ::MapWindowPoints(handle, nullptr, reinterpret_cast<POINT*>(&c), 2);
    // The frame and the band: nothing happens there.
    if (!::PtInRect(&c, POINT{LParamX(Message.LParam), LParamY(Message.LParam)}))
      Message.Result = HTBORDER;
  }
}

bool TdxBarDropDownSizing::Mouse(TMessage& Message)
{
  HWND handle = Handle();
  if (!handle)
    return false;
  auto screenPoint = [&] {
    POINT p{LParamX(Message.LParam), LParamY(Message.LParam)};
    ::ClientToScreen(handle, &p);
    return TPoint{p.x, p.y};
  };
  switch (Message.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (int(Message.WParam) == GetCornerHitTestCode(FCorner)) {
        // The grip is dragged here rather than in the system's sizing loop, which would
        // activate the drop-down and wants a thick frame it does not draw.
        FSizing = true;
        FSized = false;
        FSizingStart = TPoint{LParamX(Message.LParam), LParamY(Message.LParam)};
        RECT w{};
        ::GetWindowRect(handle, &w);
        FSizingBounds = TRect{w.left, w.top, w.right, w.bottom};
        ::SetCapture(handle);
      } else if (Message.WParam == HTCLOSE) {
        FCloseTracking = true;
        SetCloseState(true, true);
        ::SetCapture(handle);
      } else if (Message.WParam != HTBORDER) {
        return false;
      }
      Message.Result = 0;
      return true;
    case WM_NCMOUSEMOVE:
      if (!FCloseTracking) {
        SetCloseState(Message.WParam == HTCLOSE, false);
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_NONCLIENT, handle, 0};
        ::TrackMouseEvent(&track);
      }
      // The scroll bars track the pointer themselves; the close button is the band's.
      if (Message.WParam != HTCLOSE)
        return false;
      Message.Result = 0;
      return true;
    case WM_NCMOUSELEAVE:
      if (!FCloseTracking)
        SetCloseState(false, false);
      return false;
    case WM_MOUSEMOVE:
      if (FSizing) {
        TrackSizing(screenPoint());
      } else if (FCloseTracking) {
        RECT w{};
        ::GetWindowRect(handle, &w);
        const TPoint p = screenPoint();
        const bool over = PtInRect(GetParts().CloseButton, TPoint{p.x - w.left, p.y - w.top});
        SetCloseState(over, over);
      } else {
        return false;
      }
      Message.Result = 0;
      return true;
    case WM_LBUTTONUP:
      Message.Result = 0;
      if (FSizing) {
        EndSizing();
      } else if (FCloseTracking) {
        const bool close = FCloseHot;
        FCloseTracking = false;
        ::ReleaseCapture();
        SetCloseState(false, false);
        // Last: closing may free the window and this object with it.
        if (close && OnClose)
          OnClose();
      } else {
        return false;
      }
      return true;
    case WM_CAPTURECHANGED:
      if (FSizing)
        EndSizing();
      if (FCloseTracking) {
        FCloseTracking = false;
        SetCloseState(false, false);
      }
      return false;
    default:
      return false;
  }
}

void TdxBarDropDownSizing::TrackSizing(const TPoint& AScreenPoint)
{
  const TRect work = GetMonitorWorkAreaAtPoint(TopLeft(FSizingBounds));
  const int minW = std::min(int(FMinTrackSize.cx), RectWidth(work));
  const int minH = std::min(int(FMinTrackSize.cy), RectHeight(work));
  TRect r = FSizingBounds;
  const int dx = AScreenPoint.x - FSizingStart.x, dy = AScreenPoint.y - FSizingStart.y;
  // The edges at the grip follow the pointer; the window stays on the work area and never
  // gets smaller than its minimum.
  if (IsSizeGripCornerRight(FCorner))
    r.right = std::max(int(r.left) + minW, std::min(int(r.right + dx), int(work.right)));
  else
    r.left = std::min(int(r.right) - minW, std::max(int(r.left + dx), int(work.left)));
  if (IsSizeGripCornerBottom(FCorner))
    r.bottom = std::max(int(r.top) + minH, std::min(int(r.bottom + dy), int(work.bottom)));
  else
    r.top = std::min(int(r.bottom) - minH, std::max(int(r.top + dy), int(work.top)));
  HWND handle = Handle();
  RECT now{};
  ::GetWindowRect(handle, &now);
  if (TRect{now.left, now.top, now.right, now.bottom} == r)
    return;
  FSized = true;
  ::SetWindowPos(handle, nullptr, r.left, r.top, RectWidth(r), RectHeight(r), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TdxBarDropDownSizing::EndSizing()
{
  if (!FSizing)
    return;
  FSizing = false;
  if (HWND handle = Handle(); handle && ::GetCapture() == handle)
    ::ReleaseCapture();
  if (FSized) {
    FSized = false;
    if (OnResized)
      OnResized();
  }
}

void TdxBarDropDownSizing::SetCloseState(bool AHot, bool APressed)
{
  if (FCloseHot == AHot && FClosePressed == APressed)
    return;
  FCloseHot = AHot;
  FClosePressed = APressed;
  if (HWND handle = Handle())
    ::RedrawWindow(handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TdxBarDropDownSizing::Paint(const TdxBarPainter* APainter) const
{
  DrawSizableDropDownNonClient(Handle(), true, IsDropDownFlat(APainter), FCorner, FCloseHot, FClosePressed);
}
