// Input of windowed controls: focus and the enter/exit notices, keys (with the dialog-key
// round trip through CN_KEYDOWN), mouse messages routed to graphic children, mouse
// capture on behalf of graphic controls, mouse enter/leave tracking and cursors.
#include "platform/Controls.h"
#include "platform/ControlsPrivate.h"

namespace ControlsImpl {

TControl*& CaptureControlSlot()
{
  static TControl* control = nullptr;
  return control;
}

TControl*& MouseControlSlot()
{
  static TControl* control = nullptr;
  return control;
}

}  // namespace ControlsImpl

using namespace ControlsImpl;

void ForgetControl(TControl* Control)
{
  if (CaptureControlSlot() == Control)
    CaptureControlSlot() = nullptr;
  if (MouseControlSlot() == Control)
    MouseControlSlot() = nullptr;
}

// ---------------------------------------------------------------------------
// Capture

TControl* GetCaptureControl()
{
  TControl* result = FindControl(::GetCapture());
  TControl* graphic = CaptureControlSlot();
  if (result && graphic && graphic->GetParent() == result)
    return graphic;
  return result;
}

void SetCaptureControl(TControl* Control)
{
  ::ReleaseCapture();
  CaptureControlSlot() = nullptr;
  if (!Control)
    return;
  auto* window = dynamic_cast<TWinControl*>(Control);
  if (!window) {
    // A graphic control captures through its parent's window.
    window = Control->GetParent();
    if (!window)
      return;
    CaptureControlSlot() = Control;
  }
  ::SetCapture(window->GetHandle());
}

bool TControl::GetMouseCapture()
{
  return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value)
{
  if (GetMouseCapture() == Value)
    return;
  SetCaptureControl(Value ? this : nullptr);
}

TControl* GetMouseControl()
{
  return MouseControlSlot();
}

// ---------------------------------------------------------------------------
// Cursors

namespace {

TCursorHandleProc& CursorHandleSlot()
{
  static TCursorHandleProc proc;
  return proc;
}

TScreenCursorProc& ScreenCursorSlot()
{
  static TScreenCursorProc proc;
  return proc;
}

HCURSOR PredefinedCursor(TCursor Cursor)
{
  const wchar_t* id = IDC_ARROW;
  // clang-format off
  switch (Cursor) {
    case crNone: return nullptr;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: break;
  }
  // clang-format on
  return ::LoadCursorW(nullptr, id);
}

}  // namespace

void SetCursorHandleProc(TCursorHandleProc Proc)
{
  CursorHandleSlot() = std::move(Proc);
}

HCURSOR GetCursorHandle(TCursor Cursor)
{
  if (const auto& proc = CursorHandleSlot())
    return proc(Cursor);
  return PredefinedCursor(Cursor);
}

void SetScreenCursorProc(TScreenCursorProc Proc)
{
  ScreenCursorSlot() = std::move(Proc);
}

void TWinControl::WMSetCursor(TMessage& Message)
{
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle && LOWORD(Message.LParam) == HTCLIENT) {
    TCursor cursor = ScreenCursorSlot() ? ScreenCursorSlot()() : crDefault;
    if (cursor == crDefault) {
      POINT p{};
      ::GetCursorPos(&p);
      if (TControl* c = ControlAtPos(ScreenToClient(p), false))
        cursor = c->FCursor;
      if (cursor == crDefault)
        cursor = FCursor;
    }
    if (cursor != crDefault) {
      ::SetCursor(GetCursorHandle(cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

// ---------------------------------------------------------------------------
// Mouse routing

void TWinControl::WndProc(TMessage& Message)
{
  // A handler passing its own message on again: the routing below was done for it once.
  if (TDispatchScope::IsDispatching(this, Message)) {
    DefaultHandler(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      TrackMouse(Message);
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      if (IsControlMouseMsg(Message)) {
        // The graphic child had it; the window still does the system's part (a
        // WM_CONTEXTMENU after a right release), never the native control's.
        if (Message.Result == 0 && FHandle)
          ::DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
    default:
      break;
  }
  TControl::WndProc(Message);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message)
{
  TPoint pos = Point(LParamX(Message.LParam), LParamY(Message.LParam));
  TControl* target = nullptr;
  if (FHandle && ::GetCapture() == FHandle) {
    TControl* graphic = CaptureControlSlot();
    if (graphic && graphic->FParent == this)
      target = graphic;
  } else {
    target = ControlAtPos(pos, false);
  }
  if (!target)
    return false;
  UINT msg = Message.Msg;
  // A control that takes no double clicks sees a second press instead.
  if (!target->FControlStyle.Contains(csDoubleClicks)) {
    if (msg == WM_LBUTTONDBLCLK)
      msg = WM_LBUTTONDOWN;
    else if (msg == WM_RBUTTONDBLCLK)
      msg = WM_RBUTTONDOWN;
    else if (msg == WM_MBUTTONDBLCLK)
      msg = WM_MBUTTONDOWN;
  }
  LPARAM local = MAKELPARAM(pos.x - target->FLeft, pos.y - target->FTop);
  Message.Result = target->Perform(msg, Message.WParam, local);
  return true;
}

void TWinControl::TrackMouse(TMessage& Message)
{
  TPoint pos = Point(LParamX(Message.LParam), LParamY(Message.LParam));
  TControl* target = ControlAtPos(pos, false);
  if (!target)
    target = this;
  TControl*& current = MouseControlSlot();
  if (target != current) {
    TWeakRef<TControl> previous(current);
    current = target;
    if (previous)
      previous->Perform(CM_MOUSELEAVE);
    TWeakRef<TControl> alive(target);
    if (alive && current == target)
      target->Perform(CM_MOUSEENTER);
  }
  if (FHandle) {
    // Asked again on every move: the system forgets it after each WM_MOUSELEAVE.
    TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, FHandle, HOVER_DEFAULT};
    ::TrackMouseEvent(&tme);
  }
}

void TWinControl::WMMouseLeave(TMessage& Message)
{
  TControl*& current = MouseControlSlot();
  // The window was left: so was this control, or its graphic child under the mouse.
  // A windowed child the mouse moved onto has taken over by now and is not touched.
  if (current && (current == this || (current->FParent == this && !dynamic_cast<TWinControl*>(current)))) {
    TControl* left = current;
    current = nullptr;
    left->Perform(CM_MOUSELEAVE);
  }
  DefaultHandler(Message);
}

// ---------------------------------------------------------------------------
// Focus

bool TWinControl::CanFocus()
{
  for (TControl* c = this; c; c = c->FParent)
    if (!c->FVisible || !c->FEnabled)
      return false;
  return true;
}

bool TWinControl::Focused() const
{
  return FHandle && ::GetFocus() == FHandle;
}

void TWinControl::SetFocus()
{
  if (!CanFocus())
    throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
  FControlState += csFocusing;
  ::SetFocus(GetHandle());
  FControlState -= csFocusing;
}

TWinControl* TWinControl::TopParent()
{
  TWinControl* top = this;
  while (top->FParent)
    top = top->FParent;
  return top;
}

void TWinControl::WMSetFocus(TMessage& Message)
{
  DefaultHandler(Message);
  TWeakRef<TWinControl> alive(this);
  if (!TopParent()->SetFocusedControl(this) && alive)
    Perform(CM_ENTER);
}

void TWinControl::WMKillFocus(TMessage& Message)
{
  DefaultHandler(Message);
  // A form tells its controls of exits itself, as the focus moves within it.
  if (!TopParent()->AsForm())
    Perform(CM_EXIT);
}

void TWinControl::CMEnter(TMessage& Message)
{
  DoEnter();
}

void TWinControl::CMExit(TMessage& Message)
{
  DoExit();
}

void TWinControl::DoEnter()
{
  CallEvent(OnEnter, this);
}

void TWinControl::DoExit()
{
  CallEvent(OnExit, this);
}

// ---------------------------------------------------------------------------
// Keys

void TWinControl::KeyDown(WORD& Key, TShiftState Shift)
{
  CallEvent(OnKeyDown, this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift)
{
  CallEvent(OnKeyUp, this, Key, Shift);
}

void TWinControl::KeyPress(wchar_t& Key)
{
  CallEvent(OnKeyPress, this, Key);
}

bool TWinControl::DoKeyDown(TMessage& Message)
{
  TWinControl* top = TopParent();
  if (top != this && top->WantsKeyPreview() && top->DoKeyDown(Message))
    return true;
  if (FControlStyle.Contains(csNoStdEvents))
    return false;
  WORD key = WORD(Message.WParam);
  KeyDown(key, KeyDataToShiftState(Message.LParam));
  Message.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message)
{
  TWinControl* top = TopParent();
  if (top != this && top->WantsKeyPreview() && top->DoKeyUp(Message))
    return true;
  if (FControlStyle.Contains(csNoStdEvents))
    return false;
  WORD key = WORD(Message.WParam);
  KeyUp(key, KeyDataToShiftState(Message.LParam));
  Message.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message)
{
  TWinControl* top = TopParent();
  if (top != this && top->WantsKeyPreview() && top->DoKeyPress(Message))
    return true;
  if (FControlStyle.Contains(csNoStdEvents))
    return false;
  wchar_t key = wchar_t(Message.WParam);
  KeyPress(key);
  Message.WParam = key;
  return key == 0;
}

void TWinControl::WMKeyDown(TMessage& Message)
{
  if (!DoKeyDown(Message))
    DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message)
{
  if (!DoKeyUp(Message))
    DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message)
{
  if (!DoKeyPress(Message))
    DefaultHandler(Message);
}

void TWinControl::CNKeyDown(TMessage& Message)
{
  // Before the key is dispatched: a parent may take it (CM_CHILDKEY), and Tab, arrows,
  // Enter and Esc that the control does not want become dialog keys of its container.
  Message.Result = 1;
  WORD key = WORD(Message.WParam);
  if (Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(this)) != 0)
    return;
  LRESULT mask = 0;
  // clang-format off
  switch (key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  // clang-format on
  if (mask != 0 && Perform(CM_WANTSPECIALKEY, key) == 0 && (Perform(WM_GETDLGCODE) & mask) == 0) {
    TWinControl* top = TopParent();
    if (top->Perform(CM_DIALOGKEY, key, Message.LParam) != 0)
      return;
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message)
{
  Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message)
{
  Message.Result = 1;
  // Alt+letter is never text for the control: it is always offered as an accelerator.
  bool wantsChars = Message.Msg != CN_SYSCHAR && (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) != 0;
  if (!wantsChars && TopParent()->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
    return;
  Message.Result = 0;
}

void TWinControl::CMChildKey(TMessage& Message)
{
  if (FParent)
    Message.Result = FParent->Perform(CM_CHILDKEY, Message.WParam, Message.LParam);
}

void TWinControl::CMDialogKey(TMessage& Message)
{
  Broadcast(Message);
}

void TWinControl::CMDialogChar(TMessage& Message)
{
  Broadcast(Message);
}

bool IsControlKeyMessage(MSG& Msg)
{
  switch (Msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
      break;
    default:
      return false;
  }
  // The focused window may be a native part of one of our controls (a combo's edit).
  TWinControl* control = nullptr;
  for (HWND h = Msg.hwnd; h && !control; h = ::GetParent(h))
    control = FindControl(h);
  if (!control)
    return false;
  try {
    return control->Perform(CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
  } catch (...) {
    HandleUnexpectedException(control);
    return true;
  }
}
