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
  FSizing.OnClose = [this] { CloseUp(-1); };
  FSizing.OnResized = [this] { CallEvent(OnResized, this); };
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
  if (FSizable && FSizing.Mouse(Message))
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
      DefaultHandler(Message);
      FSizing.HitTest(Message);
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
    return GetSizableDropDownMargins(GetGripCorner());
  TdxBarPainter* painter = GetPainter();
  const int border = painter ? painter->GetDropDownBorderWidth() : 0;
  return TRect{border, border, border, border};
}

void TdxBarDropDownListBox::WMNCCalcSize(TMessage& Message)
{
  ExcludeDropDownMargins(Message, GetNonClientMargins());
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

TdxBarSizableDropDownParts TdxBarDropDownListBox::GetSizableParts() const
{
  return FSizable ? FSizing.GetParts() : TdxBarSizableDropDownParts{};
}

void TdxBarDropDownListBox::WMNCPaint(TMessage& Message)
{
  HWND handle = GetHandle();
  if (FSizable) {
    // The scroll bars are the list box's; the rest is the band's.
    DefaultHandler(Message);
    FSizing.Paint(GetPainter());
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
