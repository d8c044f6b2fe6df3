// TdxBarTreeView: the tree-view combo's tree as a drop-down (a topmost tool window that
// never takes the focus, with a frame, a size grip and a close button of its own) and inside
// the select window; both choose a node by double click, release or Enter.
#include <algorithm>

#include "barextras/treeviewcombo.h"
#include "bars/utils/utils.h"
#include "platform/Messages.h"

IMPLEMENT_CLASS(TdxBarTreeView, TCustomTreeView)

namespace {

constexpr int FrameWidth = 1;

// Hit-test codes of the grip in each corner, so that the grip's cursor points the right way.
int CornerHitTestCode(int ACorner)
{
  switch (ACorner) {
    case sgcBottomLeft:
      return HTBOTTOMLEFT;
    case sgcTopLeft:
      return HTTOPLEFT;
    case sgcTopRight:
      return HTTOPRIGHT;
    default:
      return HTBOTTOMRIGHT;
  }
}

bool IsLeftCorner(int ACorner)
{
  return ACorner == sgcBottomLeft || ACorner == sgcTopLeft;
}

TRect WindowRectInOwnCoordinates(HWND AWnd)
{
  RECT r{};
  ::GetWindowRect(AWnd, &r);
  return TRect{0, 0, r.right - r.left, r.bottom - r.top};
}

// A screen point of a non-client message in window coordinates.
TPoint ScreenToWindowPoint(HWND AWnd, LPARAM APoint)
{
  RECT r{};
  ::GetWindowRect(AWnd, &r);
  return TPoint{LParamX(APoint) - r.left, LParamY(APoint) - r.top};
}

}  // namespace

TdxBarTreeView::TdxBarTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}

bool TdxBarTreeView::IsSizable() const
{
  return FDropDown && FCombo && FCombo->GetAllowResizing();
}

int TdxBarTreeView::BandHeight() const
{
  return std::max(::GetSystemMetrics(SM_CYHSCROLL) + 2, ::GetSystemMetrics(SM_CYSIZE)) + 1;
}

bool TdxBarTreeView::IsBandAtBottom() const
{
  return FGripCorner == sgcBottomRight || FGripCorner == sgcBottomLeft;
}

void TdxBarTreeView::SetGripCorner(int Value)
{
  if (FGripCorner == Value)
    return;
  FGripCorner = Value;
  if (HandleAllocated())
    ::SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TdxBarTreeView::CreateParams(TCreateParams& Params)
{
  TCustomTreeView::CreateParams(Params);
  if (!FDropDown)
    return;
  // A top-level window owned by the bar window, which reflects the tree's notifications.
  Params.Style = (Params.Style & ~DWORD(WS_CHILD)) | WS_POPUP;
  Params.ExStyle = (Params.ExStyle & ~DWORD(WS_EX_CLIENTEDGE)) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = GetParentWindow();
}

void TdxBarTreeView::CreateWnd()
{
  TCustomTreeView::CreateWnd();
  if (!FDropDown)
    return;
  HWND handle = GetHandle();
  if (::GetWindowLongPtrW(handle, GWL_STYLE) & WS_CHILD)
    ::SetParent(handle, nullptr);
  // Drawn as focused while the focus stays in the combo's editor.
  ::SendMessageW(handle, WM_SETFOCUS, 0, 0);
}

void TdxBarTreeView::CalcNonClientRects()
{
  FGripRect = FCloseRect = TRect{};
  if (!IsSizable() || !HandleAllocated())
    return;
  const TRect window = WindowRectInOwnCoordinates(GetHandle());
  const TRect inner{window.left + FrameWidth, window.top + FrameWidth, window.right - FrameWidth,
                    window.bottom - FrameWidth};
  const int band = BandHeight();
  const TRect bandRect = IsBandAtBottom() ? TRect{inner.left, inner.bottom - band, inner.right, inner.bottom}
                                          : TRect{inner.left, inner.top, inner.right, inner.top + band};
  const int gripWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  FGripRect = IsLeftCorner(FGripCorner)
                  ? TRect{bandRect.left, bandRect.top, bandRect.left + gripWidth, bandRect.bottom}
                  : TRect{bandRect.right - gripWidth, bandRect.top, bandRect.right, bandRect.bottom};
  TSize close = GetThemedSmallCloseButtonSize();
  if (close.cx <= 0 || close.cy <= 0)
    close = TSize{::GetSystemMetrics(SM_CXSIZE), ::GetSystemMetrics(SM_CXSIZE) + 1};
  close.cy = std::min<int>(close.cy, band);
  const int top = bandRect.top + (band - close.cy) / 2;
  // The close button sits at the end away from the grip.
  FCloseRect = IsLeftCorner(FGripCorner) ? TRect{bandRect.right - close.cx, top, bandRect.right, top + close.cy}
                                         : TRect{bandRect.left, top, bandRect.left + close.cx, top + close.cy};
}

void TdxBarTreeView::WMNCCalcSize(TMessage& Message)
{
  if (!FDropDown) {
    DefaultHandler(Message);
    return;
  }
  // The frame and the band first; the window's own handling then places the scroll bars
  // beside what is left.
  if (auto* r = reinterpret_cast<RECT*>(Message.LParam)) {
    ::InflateRect(r, -FrameWidth, -FrameWidth);
    if (IsSizable()) {
      if (IsBandAtBottom())
        r->bottom = std::max<LONG>(r->top, r->bottom - BandHeight());
      else
        r->top = std::min<LONG>(r->bottom, r->top + BandHeight());
    }
  }
  DefaultHandler(Message);
}

void TdxBarTreeView::WMNCPaint(TMessage& Message)
{
  DefaultHandler(Message);
  if (!FDropDown)
    return;
  HWND handle = GetHandle();
  HDC dc = ::GetWindowDC(handle);
  if (!dc)
    return;
  const TRect window = WindowRectInOwnCoordinates(handle);
  FrameRectByColor(dc, window, clBtnShadow);
  CalcNonClientRects();
  if (IsSizable()) {
    const int band = BandHeight();
    const TRect inner{window.left + FrameWidth, window.top + FrameWidth, window.right - FrameWidth,
                      window.bottom - FrameWidth};
    TRect bandRect = IsBandAtBottom() ? TRect{inner.left, inner.bottom - band, inner.right, inner.bottom}
                                      : TRect{inner.left, inner.top, inner.right, inner.top + band};
    // The band's edge towards the tree is a line in the frame's colour.
    const TRect line = IsBandAtBottom() ? TRect{bandRect.left, bandRect.top, bandRect.right, bandRect.top + 1}
                                        : TRect{bandRect.left, bandRect.bottom - 1, bandRect.right, bandRect.bottom};
    FillRectByColor(dc, line, clBtnShadow);
    bandRect = IsBandAtBottom() ? TRect{bandRect.left, bandRect.top + 1, bandRect.right, bandRect.bottom}
                                : TRect{bandRect.left, bandRect.top, bandRect.right, bandRect.bottom - 1};
    const int state = FClosePressed && FCloseHot ? dxThemeStatePressed
                      : FCloseHot                ? dxThemeStateHot
                                                 : dxThemeStateNormal;
    const TSize themed = GetThemedSmallCloseButtonSize();
    if (themed.cx > 0 && themed.cy > 0) {
      DrawThemedSmallCloseButton(dc, bandRect, state, !IsLeftCorner(FGripCorner));
      DrawThemedSizeGrip(dc, FGripRect, FGripCorner);
    } else {
      FillRectByColor(dc, bandRect, clBtnFace);
      RECT close = FCloseRect;
      ::DrawFrameControl(dc, &close, DFC_CAPTION,
                         DFCS_CAPTIONCLOSE | DFCS_FLAT | (state == dxThemeStatePressed ? DFCS_PUSHED : 0));
      RECT grip = FGripRect;
      if (FGripCorner == sgcBottomRight)
        ::DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
  }
  ::ReleaseDC(handle, dc);
  Message.Result = 0;
}

void TdxBarTreeView::WMNCHitTest(TMessage& Message)
{
  DefaultHandler(Message);
  if (!FDropDown)
    return;
  CalcNonClientRects();
  const TPoint p = ScreenToWindowPoint(GetHandle(), Message.LParam);
  if (PtInRect(FGripRect, p))
    Message.Result = CornerHitTestCode(FGripCorner);
  else if (PtInRect(FCloseRect, p))
    Message.Result = HTCLOSE;
  else if (Message.Result == HTNOWHERE || Message.Result == HTBORDER)
    Message.Result = HTBORDER;
}

void TdxBarTreeView::BeginSizing()
{
  // The grip sizes the window itself: the system's sizing wants a thick frame, which the
  // drop-down does not draw.
  ::GetCursorPos(&FSizingStart);
  RECT r{};
  ::GetWindowRect(GetHandle(), &r);
  FSizingRect = TRect{r.left, r.top, r.right, r.bottom};
  FSizing = true;
  ::SetCapture(GetHandle());
}

void TdxBarTreeView::SizeTo()
{
  POINT p{};
  ::GetCursorPos(&p);
  const int dx = p.x - FSizingStart.x, dy = p.y - FSizingStart.y;
  TRect r = FSizingRect;
  if (IsLeftCorner(FGripCorner))
    r.left = std::min<int>(r.left + dx, r.right - MinTrackSize);
  else
    r.right = std::max<int>(r.right + dx, r.left + MinTrackSize);
  if (IsBandAtBottom())
    r.bottom = std::max<int>(r.bottom + dy, r.top + MinTrackSize);
  else
    r.top = std::min<int>(r.top + dy, r.bottom - MinTrackSize);
  ::SetWindowPos(GetHandle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TdxBarTreeView::SetCloseState(bool AHot, bool APressed)
{
  if (FCloseHot == AHot && FClosePressed == APressed)
    return;
  FCloseHot = AHot;
  FClosePressed = APressed;
  if (HandleAllocated())
    ::SendMessageW(GetHandle(), WM_NCPAINT, 1, 0);
}

TTreeNode* TdxBarTreeView::ItemNodeAt(LPARAM APoint) const
{
  const int x = LParamX(APoint), y = LParamY(APoint);
  return GetHitTestInfoAt(x, y).Contains(htOnItem) ? GetNodeAt(x, y) : nullptr;
}

void TdxBarTreeView::WMMouse(TMessage& Message)
{
  HWND handle = GetHandle();
  const UINT msg = Message.Msg;
  if (FSizing) {
    if (msg == WM_MOUSEMOVE)
      SizeTo();
    else if (msg == WM_LBUTTONUP) {
      FSizing = false;
      if (::GetCapture() == handle)
        ::ReleaseCapture();
    }
    Message.Result = 0;
    return;
  }
  // The close button holds the mouse from its press to the release.
  if (FClosePressed) {
    if (msg == WM_MOUSEMOVE) {
      POINT p{LParamX(Message.LParam), LParamY(Message.LParam)};
      ::ClientToScreen(handle, &p);
      SetCloseState(PtInRect(FCloseRect, ScreenToWindowPoint(handle, MAKELPARAM(p.x, p.y))), true);
    } else if (msg == WM_LBUTTONUP) {
      const bool close = FCloseHot;
      SetCloseState(false, false);
      if (::GetCapture() == handle)
        ::ReleaseCapture();
      if (close && FCombo)
        FCombo->CloseDropDowns();
    }
    Message.Result = 0;
    return;
  }
  const bool choosesByDblClick = !FCombo || FCombo->GetChooseByDblClick();
  if (!FDropDown) {
    DefaultHandler(Message);
    if ((msg == WM_LBUTTONDBLCLK && choosesByDblClick) || (msg == WM_LBUTTONUP && !choosesByDblClick))
      if (ItemNodeAt(Message.LParam) && FCombo)
        FCombo->ChooseNode(this);
    return;
  }
  // The drop-down never takes the focus from the editor: presses select and expand here
  // instead of in the tree's own handling, which would focus it.
  const int x = LParamX(Message.LParam), y = LParamY(Message.LParam);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const THitTests hit = GetHitTestInfoAt(x, y);
      TTreeNode* node = GetNodeAt(x, y);
      if (node && hit.Contains(htOnButton))
        node->SetExpanded(!node->GetExpanded());
      else if (node && hit.Contains(htOnItem)) {
        SetSelected(node);
        if (msg == WM_LBUTTONDBLCLK) {
          if (choosesByDblClick && FCombo)
            FCombo->ChooseNode(this);
          else if (node->HasChildren())
            node->SetExpanded(!node->GetExpanded());
        }
      }
      Message.Result = 0;
      return;
    }
    case WM_LBUTTONUP:
      if (!choosesByDblClick && ItemNodeAt(Message.LParam) && FCombo)
        FCombo->ChooseNode(this);
      Message.Result = 0;
      return;
    default:
      DefaultHandler(Message);
  }
}

void TdxBarTreeView::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      return WMNCCalcSize(Message);
    case WM_NCPAINT:
      return WMNCPaint(Message);
    case WM_NCHITTEST:
      return WMNCHitTest(Message);
    case WM_NCLBUTTONDOWN:
      if (FDropDown && Message.WParam == HTCLOSE) {
        SetCloseState(true, true);
        ::SetCapture(GetHandle());
        Message.Result = 0;
        return;
      }
      if (FDropDown && IsSizable() && int(Message.WParam) == CornerHitTestCode(FGripCorner)) {
        BeginSizing();
        Message.Result = 0;
        return;
      }
      break;
    case WM_NCMOUSEMOVE:
      if (FDropDown) {
        SetCloseState(Message.WParam == HTCLOSE, false);
        if (!FTrackingLeave) {
          TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, GetHandle(), 0};
          FTrackingLeave = ::TrackMouseEvent(&track) != FALSE;
        }
      }
      break;
    case WM_NCMOUSELEAVE:
      FTrackingLeave = false;
      if (!FClosePressed)
        SetCloseState(false, false);
      break;
    case WM_CAPTURECHANGED:
      FSizing = false;
      if (FClosePressed && reinterpret_cast<HWND>(Message.LParam) != GetHandle())
        SetCloseState(false, false);
      break;
    case WM_GETMINMAXINFO:
      DefaultHandler(Message);
      if (auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam)) {
        info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, MinTrackSize);
        info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, MinTrackSize);
      }
      return;
    case WM_MOUSEACTIVATE:
      if (FDropDown) {
        Message.Result = MA_NOACTIVATE;
        return;
      }
      break;
    case WM_KEYDOWN:
      if (Message.WParam == VK_RETURN && FCombo) {
        FCombo->ChooseNode(this);
        Message.Result = 0;
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      return WMMouse(Message);
    default:
      break;
  }
  TCustomTreeView::WndProc(Message);
}
