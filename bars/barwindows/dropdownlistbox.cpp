// TdxBarDropDownListBox: hot tracking, the taken-over mouse button and the painted border.
#include "bars/barwindows/dropdownlistbox.h"

#include "bars/barwindows/barcanvas.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/model/startup.h"
#include "platform/Win.h"

#include <algorithm>

#include "lookandfeel/cxControls.h"

IMPLEMENT_CLASS(TdxBarDropDownListBox, TCustomListBox)

TdxBarDropDownListBox::TdxBarDropDownListBox(TComponent* AOwner) : TCustomListBox(AOwner)
{
  SetVisible(false);
  SetBorderStyle(bsNone);
  SetStyle(lbOwnerDrawFixed);
}

void TdxBarDropDownListBox::CreateParams(TCreateParams& Params)
{
  TCustomListBox::CreateParams(Params);
  // A top-level window owned by the window the combo lives in (which therefore receives
  // and reflects the owner-draw messages), never a child of it.
  // A list longer than it is high scrolls.
  Params.Style = (Params.Style & ~DWORD(WS_CHILD)) | WS_POPUP | WS_VSCROLL;
  Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = GetParentWindow();
}

void TdxBarDropDownListBox::CreateWnd()
{
  TCustomListBox::CreateWnd();
  HWND handle = GetHandle();
  if (GetWindowLongPtrW(handle, GWL_STYLE) & WS_CHILD)
    ::SetParent(handle, nullptr);
  // The list shows its focus rectangle and answers keys as if it had the focus, which
  // stays with the form.
  ::SendMessageW(handle, WM_SETFOCUS, 0, 0);
}

void TdxBarDropDownListBox::WndProc(TMessage& Message)
{
  if (FSizable && SizableMouse(Message))
    return;
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      TrackMouseMove(Message);
      return;
    case WM_LBUTTONUP:
      FinishMouseUp(Message);
      return;
    case WM_KEYDOWN:
    case WM_CHAR:
      // The first key of an unselected list starts at the top visible item.
      if (GetItemIndex() < 0 && GetCount() > 0)
        SetItemIndex(GetTopIndex());
      break;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_SETCURSOR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSELEAVE:
      // The list box itself handles the mouse: the control layer's routing (graphic
      // children, enter and leave, hints) is for controls on forms.
      DefaultHandler(Message);
      return;
    case WM_NCCALCSIZE:
      WMNCCalcSize(Message);
      return;
    case WM_NCPAINT:
      WMNCPaint(Message);
      return;
    case WM_NCHITTEST:
      if (!FSizable)
        break;
      WMNCHitTest(Message);
      return;
    default:
      break;
  }
  TCustomListBox::WndProc(Message);
}

void TdxBarDropDownListBox::TrackMouseMove(TMessage& Message)
{
  const TPoint p{LParamX(Message.LParam), LParamY(Message.LParam)};
  HWND handle = GetHandle();
  if (FMouseDownPending && ::GetCapture() == handle) {
    RECT client;
    ::GetClientRect(handle, &client);
    if (::PtInRect(&client, p)) {
      FMouseDownPending = false;
      // The list box tracks a held button only from its own button-down on.
      ::SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, Message.LParam);
    }
  }
  const int index = ItemAtPos(p, true);
  if (index >= 0 && index != GetItemIndex())
    SetItemIndex(index);
  // Straight to the list box: the control layer's mouse tracking (enter, leave, hints)
  // is for controls on forms, not for a drop-down that never becomes active.
  DefaultHandler(Message);
}

void TdxBarDropDownListBox::FinishMouseUp(TMessage& Message)
{
  if (FMouseDownPending) {
    // The button that opened the list went up before it reached the list: stay open.
    DefaultHandler(Message);
    if (::GetCapture() == GetHandle())
      ::ReleaseCapture();
    return;
  }
  DefaultHandler(Message);
  const TPoint p{LParamX(Message.LParam), LParamY(Message.LParam)};
  CloseUp(ItemAtPos(p, true));
}

void TdxBarDropDownListBox::CloseUp(int Index)
{
  TWeakRef<TdxBarDropDownListBox> self(this);
  if (HandleAllocated())
    ::ShowWindow(GetHandle(), SW_HIDE);
  SetVisible(false);
  if (self && OnCloseUp.Assigned())
    OnCloseUp(this, Index);
}

TRect TdxBarDropDownListBox::GetNonClientMargins() const
{
  if (FSizable)
    return GetSizableDropDownMargins(FGripCorner);
  TdxBarPainter* painter = GetPainter();
  const int border = painter ? painter->GetDropDownBorderWidth() : 0;
  return TRect{border, border, border, border};
}

void TdxBarDropDownListBox::WMNCCalcSize(TMessage& Message)
{
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  if (r) {
    // Both forms of the message start with the proposed window rectangle.
    const TRect m = GetNonClientMargins();
    r->left += m.left;
    r->top += m.top;
    r->right = std::max(r->left, r->right - m.right);
    r->bottom = std::max(r->top, r->bottom - m.bottom);
  }
  Message.Result = 0;
  // A sizable list may grow past its items: its scroll bar then needs its room.
  if (FSizable)
    DefaultHandler(Message);
}

void TdxBarDropDownListBox::SetSizable(bool Value)
{
  if (FSizable == Value)
    return;
  FSizable = Value;
  if (HandleAllocated())
    ::SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TdxBarDropDownListBox::SetGripCorner(int Value)
{
  if (Value < dxGripTopLeft || Value > dxGripBottomRight || FGripCorner == Value)
    return;
  FGripCorner = Value;
  if (FSizable && HandleAllocated())
    ::SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TdxBarSizableDropDownParts TdxBarDropDownListBox::GetSizableParts() const
{
  auto* self = const_cast<TdxBarDropDownListBox*>(this);
  if (!FSizable || !self->HandleAllocated())
    return {};
  RECT w{};
  ::GetWindowRect(self->GetHandle(), &w);
  return CalcSizableDropDownParts(TSize{w.right - w.left, w.bottom - w.top}, FGripCorner);
}

void TdxBarDropDownListBox::WMNCHitTest(TMessage& Message)
{
  DefaultHandler(Message);
  RECT w{};
  ::GetWindowRect(GetHandle(), &w);
  const TPoint p{LParamX(Message.LParam) - w.left, LParamY(Message.LParam) - w.top};
  const TdxBarSizableDropDownParts parts = GetSizableParts();
  if (PtInRect(parts.Grip, p))
    Message.Result = GetCornerHitTestCode(FGripCorner);
  else if (PtInRect(parts.CloseButton, p))
    Message.Result = HTCLOSE;
  else if (Message.Result == HTNOWHERE || Message.Result == HTCLIENT) {
    RECT c{};
    ::GetClientRect(GetHandle(), &c);
    ::MapWindowPoints(GetHandle(), nullptr, reinterpret_cast<POINT*>(&c), 2);
    // The frame and the band: nothing happens there.
    if (!::PtInRect(&c, POINT{LParamX(Message.LParam), LParamY(Message.LParam)}))
      Message.Result = HTBORDER;
  }
}

bool TdxBarDropDownListBox::SizableMouse(TMessage& Message)
{
  HWND handle = GetHandle();
  auto screenPoint = [&] {
    POINT p{LParamX(Message.LParam), LParamY(Message.LParam)};
    ::ClientToScreen(handle, &p);
    return TPoint{p.x, p.y};
  };
  switch (Message.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (int(Message.WParam) == GetCornerHitTestCode(FGripCorner)) {
        // The grip is dragged here rather than in the system's sizing loop, which would
        // activate the list and move no other window.
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
        const bool over = PtInRect(GetSizableParts().CloseButton, TPoint{p.x - w.left, p.y - w.top});
        SetCloseState(over, over);
      } else {
        return false;
      }
      Message.Result = 0;
      return true;
    case WM_LBUTTONUP:
      if (FSizing) {
        EndSizing();
      } else if (FCloseTracking) {
        const bool close = FCloseHot;
        FCloseTracking = false;
        ::ReleaseCapture();
        SetCloseState(false, false);
        if (close)
          CloseUp(-1);
      } else {
        return false;
      }
      Message.Result = 0;
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

void TdxBarDropDownListBox::TrackSizing(const TPoint& AScreenPoint)
{
  const TRect work = GetMonitorWorkAreaAtPoint(TopLeft(FSizingBounds));
  const int minW = std::min(int(FMinTrackSize.cx), RectWidth(work));
  const int minH = std::min(int(FMinTrackSize.cy), RectHeight(work));
  TRect r = FSizingBounds;
  const int dx = AScreenPoint.x - FSizingStart.x, dy = AScreenPoint.y - FSizingStart.y;
  // The edges at the grip follow the pointer; the window stays on the work area and never
  // gets smaller than its minimum.
  if (IsSizeGripCornerRight(FGripCorner))
    r.right = std::max(int(r.left) + minW, std::min(int(r.right + dx), int(work.right)));
  else
    r.left = std::min(int(r.right) - minW, std::max(int(r.left + dx), int(work.left)));
  if (IsSizeGripCornerBottom(FGripCorner))
    r.bottom = std::max(int(r.top) + minH, std::min(int(r.bottom + dy), int(work.bottom)));
  else
    r.top = std::min(int(r.bottom) - minH, std::max(int(r.top + dy), int(work.top)));
  RECT now{};
  ::GetWindowRect(GetHandle(), &now);
  if (TRect{now.left, now.top, now.right, now.bottom} == r)
    return;
  FSized = true;
  ::SetWindowPos(GetHandle(), nullptr, r.left, r.top, RectWidth(r), RectHeight(r), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TdxBarDropDownListBox::EndSizing()
{
  if (!FSizing)
    return;
  FSizing = false;
  if (::GetCapture() == GetHandle())
    ::ReleaseCapture();
  if (FSized) {
    FSized = false;
    CallEvent(OnResized, this);
  }
}

void TdxBarDropDownListBox::SetCloseState(bool AHot, bool APressed)
{
  if (FCloseHot == AHot && FClosePressed == APressed)
    return;
  FCloseHot = AHot;
  FClosePressed = APressed;
  RedrawNonClient();
}

void TdxBarDropDownListBox::RedrawNonClient()
{
  if (HandleAllocated())
    ::RedrawWindow(GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TdxBarDropDownListBox::WMNCPaint(TMessage& Message)
{
  HWND handle = GetHandle();
  if (FSizable) {
    // The scroll bars are the list box's; the rest is the band's.
    DefaultHandler(Message);
    TdxBarPainter* painter = GetPainter();
    const bool flat = painter && (painter->IsFlatStyle() || painter->IsNativeStyle());
    DrawSizableDropDownNonClient(handle, true, flat, FGripCorner, FCloseHot, FClosePressed);
    Message.Result = 0;
    return;
  }
  HDC dc = ::GetWindowDC(handle);
  if (!dc)
    return;
  RECT window;
  ::GetWindowRect(handle, &window);
  const TRect r = Rect(0, 0, window.right - window.left, window.bottom - window.top);
  TFinally release([handle, dc]() noexcept { ::ReleaseDC(handle, dc); });
  TdxBarPainter* painter = GetPainter();
  if (TdxBarCanvas* canvas = painter ? BarCanvas() : nullptr) {
    canvas->BeginPaint(dc);
    TFinally end([canvas] { canvas->EndPaint(); });
    painter->DrawDropDownBorder(handle, canvas->GetHandle(), r);
  }
  Message.Result = 0;
}

TdxBarPainter* TdxBarDropDownListBox::GetPainter() const
{
  if (TdxBarManager* manager = GetBarManagerByOwner(Owner()))
    return manager->GetPainter();
  return BarFlatPainter();
}
