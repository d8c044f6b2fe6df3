// TWinControl's window: class registration, creation on demand, destruction and
// recreation, the window procedure that finds the control through the handle map,
// message dispatch to the named handlers, showing, and bounds kept in step with the window.
#include <atomic>
#include <mutex>
#include <set>
#include <unordered_map>
#include <utility>

#include "platform/Controls.h"
#include "platform/ControlsPrivate.h"

namespace ControlsImpl {

TWinControl*& CreatingControl()
{
  thread_local TWinControl* creating = nullptr;
  return creating;
}

namespace {

// Windows of worker threads (message windows) bind and unbind beside the main thread's.
std::mutex GHandleMapLock;
std::unordered_map<HWND, TWinControl*>& HandleMap()
{
  static auto* map = new std::unordered_map<HWND, TWinControl*>;  // outlives static destruction
  return *map;
}

}  // namespace

void BindControlHandle(HWND Window, TWinControl* Control)
{
  std::lock_guard lock(GHandleMapLock);
  HandleMap()[Window] = Control;
}

void UnbindControlHandle(HWND Window, const TWinControl* Control)
{
  std::lock_guard lock(GHandleMapLock);
  auto& map = HandleMap();
  if (auto it = map.find(Window); it != map.end() && it->second == Control)
    map.erase(it);
}

TWinControl* ControlOfHandle(HWND Window)
{
  std::lock_guard lock(GHandleMapLock);
  auto& map = HandleMap();
  auto it = map.find(Window);
  return it == map.end() ? nullptr : it->second;
}

namespace {
// Windows of worker threads pass here too: they read only the thread, which names the one
// thread that reads and writes the procedures.
TWindowMessageObserver GObserver;
std::atomic<DWORD> GObserverThread{0};
}  // namespace

LRESULT CALLBACK StdWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  TWinControl* control = ControlOfHandle(Window);
  if (!control) {
    // The first message of a window being created (WM_GETMINMAXINFO or WM_NCCREATE)
    // binds it to the control that asked for it.
    TWinControl*& creating = CreatingControl();
    if (creating && !creating->HandleAllocated()) {
      control = creating;
      creating = nullptr;
      control->BindHandle(Window);
    }
  }
  const DWORD thread = ::GetCurrentThreadId();
  if (GObserverThread.load(std::memory_order_relaxed) == thread && GObserver.Before) {
    GObserver.Before(Window, Msg, WParam, LParam);
    // The observer may have freed the control, with its window (an activation closes a menu).
    if (control)
      control = ControlOfHandle(Window);
  }
  LRESULT result;
  if (control) {
    TMessage message{Msg, WParam, LParam, 0};
    control->MainWndProc(message);
    // Looked up again: a control freed by its own message has unbound the window already.
    if (Msg == WM_NCDESTROY)
      if (TWinControl* still = ControlOfHandle(Window))
        still->UnbindHandle(Window);
    result = message.Result;
  } else {
    result = ::DefWindowProcW(Window, Msg, WParam, LParam);
  }
  // Read again: the message may have removed the observer (its last user gone).
  if (GObserverThread.load(std::memory_order_relaxed) == thread && GObserver.After)
    GObserver.After(Window, Msg, WParam, LParam);
  return result;
}

}  // namespace ControlsImpl

using namespace ControlsImpl;

TWindowMessageObserver SetWindowMessageObserver(const TWindowMessageObserver& AObserver)
{
  GObserverThread.store(0);
  const TWindowMessageObserver old = std::exchange(GObserver, AObserver);
  GObserverThread.store(AObserver.ThreadId);
  return old;
}

PUBLISHED(TWinControl, TControl)
{
  p.Prop(L"TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop).Default(false);
  p.Prop(L"TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder).Stored(&TWinControl::IsTabOrderStored);
  p.Event(L"OnEnter", &TWinControl::OnEnter);
  p.Event(L"OnExit", &TWinControl::OnExit);
  p.Event(L"OnKeyDown", &TWinControl::OnKeyDown);
  p.Event(L"OnKeyUp", &TWinControl::OnKeyUp);
  p.Event(L"OnKeyPress", &TWinControl::OnKeyPress);
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
  FDefWndProc = ::DefWindowProcW;
  FBrush = new TBrush();
  FBrush->SetColor(FColor);
}

TWinControl* TWinControl::CreateParented(TClass Class, HWND ParentWindow)
{
  if (!Class || !Class->InheritsFrom(TWinControl::StaticClass()))
    throw EInvalidOperation(L"CreateParented needs a windowed control class");
  auto* control = static_cast<TWinControl*>(Class->Create(nullptr));
  control->SetParentWindow(ParentWindow);
  return control;
}

void TWinControl::BeforeDestruction()
{
  TControl::BeforeDestruction();
  // The window goes while the object still has its full type, so that the handlers of
  // the messages destruction sends still reach the descendant's overrides.
  if (FHandle)
    DestroyWindowHandle();
}

TWinControl::~TWinControl()
{
  if (FParent)
    FParent->RemoveControl(this);
  if (FHandle)
    DestroyWindowHandle();
  // A parent frees its children, owned or not, as a container does.
  while (!FControls.empty()) {
    TControl* child = FControls.back();
    RemoveControl(child);
    child->Free();
  }
  delete FBrush;
  FBrush = nullptr;
}

// ---------------------------------------------------------------------------
// Handle lookup

void TWinControl::BindHandle(HWND Window)
{
  FHandle = Window;
  BindControlHandle(Window, this);
}

void TWinControl::UnbindHandle(HWND Window)
{
  UnbindControlHandle(Window, this);
  if (FHandle == Window) {
    FHandle = nullptr;
    FShowing = false;
  }
}

TWinControl* FindControl(HWND Handle)
{
  // A handle leaves the map with its window (WM_NCDESTROY, or the control's own destruction),
  // so a handle of another process, or one the system reused, is not found.
  return Handle ? ControlOfHandle(Handle) : nullptr;
}

TWinControl* FindWindowControl(const TPoint& ScreenPos)
{
  for (HWND h = ::WindowFromPoint(ScreenPos); h; h = ::GetParent(h))
    if (TWinControl* c = FindControl(h))
      return c;
  return nullptr;
}

TCustomForm* GetParentForm(TControl* Control, bool TopForm)
{
  TCustomForm* found = nullptr;
  for (TControl* c = Control; c; c = c->GetParent()) {
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (TCustomForm* form = w->AsForm()) {
        found = form;
        if (!TopForm)
          return found;
      }
  }
  return found;
}

// ---------------------------------------------------------------------------
// Creation

HWND TWinControl::GetHandle()
{
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded()
{
  if (FHandle)
    return;
  if (FParent)
    FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::CreateHandle()
{
  if (FHandle)
    return;
  // The parent's window may make ours while it shows its children.
  if (FParent)
    FParent->HandleNeeded();
  if (FHandle)
    return;
  {
    TStateFlag creating(FControlState, csCreating);
    CreateWnd();
  }
  // Child windows keep the z order of the Controls list.
  HWND after = HWND_TOP;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (auto* w = dynamic_cast<TWinControl*>(*it); w && w->FHandle) {
      ::SetWindowPos(w->FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      after = w->FHandle;
    }
  // A window made on demand while its parent shows appears at once.
  if (!FShowing && FVisible && !FControlState.Contains(csReadingState) && FParent && FParent->FShowing) {
    FShowing = true;
    Perform(CM_SHOWINGCHANGED);
  }
}

void TWinControl::CreateParams(TCreateParams& Params)
{
  Params = TCreateParams();
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls))
    Params.Style |= WS_CLIPCHILDREN;
  if (!FEnabled)
    Params.Style |= WS_DISABLED;
  if (FTabStop)
    Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->GetHandle() : FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW;
  if (FControlStyle.Contains(csDoubleClicks))
    Params.WindowClass.style |= CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = ::DefWindowProcW;
  Params.WindowClass.hInstance = ::GetModuleHandleW(nullptr);
  // Asked once: the system's arrow is shared, and under Wine each load is a round trip.
  static const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  Params.WindowClass.hCursor = arrow;
  Params.WindowClass.hbrBackground = nullptr;
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName)
{
  WNDCLASSW native{};
  HINSTANCE instance = Params.WindowClass.hInstance;
  if (!::GetClassInfoW(nullptr, ControlClassName, &native) && !::GetClassInfoW(instance, ControlClassName, &native))
    throw EOSError(L"The window class '" + String(ControlClassName) + L"' does not exist");
  // Our class is a copy of the native one (same extra bytes and style), so the native
  // procedure can run on our windows as their default handling.
  Params.WindowClass = native;
  Params.WindowClass.hInstance = instance;
  Params.WindowClass.lpszClassName = nullptr;
  Params.WindowClass.lpszMenuName = nullptr;
}

namespace {

// Registers the class once per name; the names this layer has registered are kept so a
// second control of the class does not ask the system again.
void RegisterControlClass(TCreateParams& Params)
{
  static std::set<String> registered;
  if (registered.count(Params.WinClassName))
    return;
  WNDCLASSW wc = Params.WindowClass;
  wc.lpfnWndProc = &StdWndProc;
  wc.lpszClassName = Params.WinClassName.c_str();
  if (!::RegisterClassW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EOSError(L"Cannot register the window class " + Params.WinClassName);
  registered.insert(Params.WinClassName);
}

}  // namespace

void TWinControl::CreateWnd()
{
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && !params.WndParent)
    throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
  FDefWndProc = params.WindowClass.lpfnWndProc ? params.WindowClass.lpfnWndProc : ::DefWindowProcW;
  RegisterControlClass(params);
  CreateWindowHandle(params);
  if (!FHandle)
    throw EOSError(L"Error creating window of " + ClassName() + L" (" + IntToStr(::GetLastError()) + L")");
  // A system control's WM_MEASUREITEM names its window by the ID alone: the ID is the handle.
  // The layer's own classes send none, and spare the round trip.
  if (FDefWndProc != ::DefWindowProcW && (::GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) &&
      ::GetWindowLongPtrW(FHandle, GWLP_ID) == 0)
    ::SetWindowLongPtrW(FHandle, GWLP_ID, reinterpret_cast<LONG_PTR>(FHandle));
  UpdateBounds();
  ::SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->GetHandle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params)
{
  TWinControl*& creating = CreatingControl();
  TWinControl* previous = creating;
  creating = this;
  HWND h = ::CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                             Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr,
                             Params.WindowClass.hInstance, Params.Param);
  creating = previous;
  if (h && FHandle != h) {
    // The window skipped our procedure while being made (a class someone replaced).
    BindHandle(h);
  }
}

// ---------------------------------------------------------------------------
// Destruction

void TWinControl::DestroyHandle()
{
  if (!FHandle)
    return;
  // Children first, so each keeps what it needs to remake its window.
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c))
      w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd()
{
  FText = GetText();
  FreeControlCanvases(this);
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle()
{
  if (!FHandle)
    return;
  FControlState += csDestroyingHandle;
  HWND h = FHandle;
  ::DestroyWindow(h);
  // Normally WM_NCDESTROY has unbound it; a window of another thread cannot be destroyed.
  if (FHandle == h)
    UnbindHandle(h);
  FControlState -= csDestroyingHandle;
}

void TWinControl::RecreateWnd()
{
  if (FHandle)
    Perform(CM_RECREATEWND);
}

void TWinControl::CMRecreateWnd(TMessage& Message)
{
  bool wasFocused = Focused();
  {
    TStateFlag recreating(FControlState, csRecreating);
    DestroyHandle();
    UpdateControlState();
  }
  if (wasFocused && FHandle)
    ::SetFocus(FHandle);
}

void TWinControl::SetParentWindow(HWND Value)
{
  if (FParent || FParentWindow == Value)
    return;
  if (FHandle && Value) {
    ::SetParent(FHandle, Value);
    FParentWindow = Value;
    UpdateControlState();
    return;
  }
  DestroyHandle();
  FParentWindow = Value;
  UpdateControlState();
}

// ---------------------------------------------------------------------------
// The window procedure

void TWinControl::MainWndProc(TMessage& Message)
{
  try {
    FWindowProc.Assigned() ? FWindowProc(Message) : WndProc(Message);
  } catch (...) {
    HandleUnexpectedException(this);
  }
}

void TWinControl::DefaultHandler(TMessage& Message)
{
  if (!FHandle) {
    TControl::DefaultHandler(Message);
    return;
  }
  Message.Result = ::CallWindowProcW(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::Dispatch(TMessage& Message)
{
  // clang-format off
  switch (Message.Msg) {
    case WM_PAINT: return WMPaint(Message);
    case WM_PRINTCLIENT: return WMPrintClient(Message);
    case WM_ERASEBKGND: return WMEraseBkgnd(Message);
    case WM_SIZE: return WMSize(Message);
    case WM_MOVE: return WMMove(Message);
    case WM_WINDOWPOSCHANGED: return WMWindowPosChanged(Message);
    case WM_SETFOCUS: return WMSetFocus(Message);
    case WM_KILLFOCUS: return WMKillFocus(Message);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return WMKeyDown(Message);
    case WM_KEYUP:
    case WM_SYSKEYUP: return WMKeyUp(Message);
    case WM_CHAR: return WMChar(Message);
    case WM_SETCURSOR: return WMSetCursor(Message);
    case WM_MOUSELEAVE: return WMMouseLeave(Message);
    case WM_COMMAND: return WMCommand(Message);
    case WM_NOTIFY: return WMNotify(Message);
    case WM_DRAWITEM: return WMDrawItem(Message);
    case WM_MEASUREITEM: return WMMeasureItem(Message);
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL: return WMReflected(Message);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return WMCtlColor(Message);
    case WM_NCDESTROY: return WMNCDestroy(Message);
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: return CNKeyDown(Message);
    case CN_KEYUP: return CNKeyUp(Message);
    case CN_CHAR:
    case CN_SYSCHAR: return CNChar(Message);
    case CM_SHOWINGCHANGED: return CMShowingChanged(Message);
    case CM_RECREATEWND: return CMRecreateWnd(Message);
    case CM_ENTER: return CMEnter(Message);
    case CM_EXIT: return CMExit(Message);
    case CM_DIALOGKEY: return CMDialogKey(Message);
    case CM_DIALOGCHAR: return CMDialogChar(Message);
    case CM_CHILDKEY: return CMChildKey(Message);
    case CM_CONTROLLISTCHANGE: return CMControlListChange(Message);
    // Buttons inside panels and pages learn of focus changes too.
    case CM_FOCUSCHANGED: return Broadcast(Message);
    case CM_SHOWHINTCHANGED: return NotifyControls(CM_PARENTSHOWHINTCHANGED);
    default: return TControl::Dispatch(Message);
  }
  // clang-format on
}

void TWinControl::WMNCDestroy(TMessage& Message)
{
  DefaultHandler(Message);
  if (ControlsImpl::MouseControlSlot() == this)
    ControlsImpl::MouseControlSlot() = nullptr;
}

// Messages a child window sends its parent about itself go back to the child's control.
void TWinControl::ReflectToChild(TMessage& Message, HWND Child)
{
  TWinControl* child = FindControl(Child);
  if (child && child != this) {
    Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::WMCommand(TMessage& Message)
{
  ReflectToChild(Message, reinterpret_cast<HWND>(Message.LParam));
}

void TWinControl::WMNotify(TMessage& Message)
{
  auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
  ReflectToChild(Message, header ? header->hwndFrom : nullptr);
}

void TWinControl::WMCtlColor(TMessage& Message)
{
  ReflectToChild(Message, reinterpret_cast<HWND>(Message.LParam));
}

void TWinControl::WMReflected(TMessage& Message)
{
  HWND child = nullptr;
  // clang-format off
  switch (Message.Msg) {
    case WM_DELETEITEM: child = reinterpret_cast<DELETEITEMSTRUCT*>(Message.LParam)->hwndItem; break;
    case WM_COMPAREITEM: child = reinterpret_cast<COMPAREITEMSTRUCT*>(Message.LParam)->hwndItem; break;
    default: child = reinterpret_cast<HWND>(Message.LParam); break;  // scroll bars and list keys
  }
  // clang-format on
  ReflectToChild(Message, child);
}

void TWinControl::WMDrawItem(TMessage& Message)
{
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  // Menus draw through their own owner; only controls are reflected.
  ReflectToChild(Message, item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr);
}

void TWinControl::WMMeasureItem(TMessage& Message)
{
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  if (!item || item->CtlType == ODT_MENU) {
    DefaultHandler(Message);
    return;
  }
  // The ID is the child's handle once made; during its creation the child is still
  // the control being created on this thread.
  HWND child = reinterpret_cast<HWND>(static_cast<uintptr_t>(item->CtlID));
  TWinControl* control = item->CtlID ? FindControl(child) : nullptr;
  if (!control) {
    for (TControl* c : FControls)
      if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FControlState.Contains(csCreating))
        control = w;
  }
  if (control && control != this)
    Message.Result = control->Perform(CN_MEASUREITEM, Message.WParam, Message.LParam);
  else
    DefaultHandler(Message);
}

// ---------------------------------------------------------------------------
// Showing

bool TWinControl::IsShowing()
{
  return FShowing && FHandle && (FParent ? FParent->IsShowing() : true);
}

void TWinControl::UpdateControlState()
{
  TWinControl* top = this;
  while (top->FParent) {
    top = top->FParent;
    if (!top->FShowing)
      return;
  }
  // A parentless control shows by itself only when it is a form, lives in a foreign
  // window, or already has its window (popup windows shown by their owner).
  if (top->FParent == nullptr && top != this) {
    UpdateShowing();
    return;
  }
  if (AsForm() || FParentWindow || FHandle || FControlState.Contains(csRecreating))
    UpdateShowing();
}

void TWinControl::UpdateShowing()
{
  bool show = FVisible && !FControlState.Contains(csReadingState) && !FComponentState.Contains(csDestroying);
  if (show) {
    if (!FHandle) {
      if (!WantsWindowToShow())
        return;
      CreateHandle();
    }
    for (TControl* c : std::vector<TControl*>(FControls))
      if (auto* w = dynamic_cast<TWinControl*>(c))
        w->UpdateShowing();
  }
  if (FHandle && FShowing != show) {
    FShowing = show;
    try {
      Perform(CM_SHOWINGCHANGED);
    } catch (...) {
      FShowing = !show;
      throw;
    }
  }
}

void TWinControl::CMShowingChanged(TMessage& Message)
{
  if (!FHandle)
    return;
  UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, flags | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage& Message)
{
  if (FHandle || (FVisible && FParent && FParent->FShowing) || FParentWindow || AsForm())
    UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage& Message)
{
  if (FHandle) {
    ::EnableWindow(FHandle, FEnabled ? TRUE : FALSE);
    ::InvalidateRect(FHandle, nullptr, TRUE);  // graphic children repaint greyed or not
  }
}

void TWinControl::CMFontChanged(TMessage& Message)
{
  if (FHandle)
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont->GetHandle()), 1);
  NotifyControls(CM_PARENTFONTCHANGED);
  Invalidate();
}

void TWinControl::CMColorChanged(TMessage& Message)
{
  FBrush->SetColor(FColor);
  NotifyControls(CM_PARENTCOLORCHANGED);
  Invalidate();
}

// ---------------------------------------------------------------------------
// Bounds

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
    return;
  if (FHandle) {
    // WM_WINDOWPOSCHANGED reads the result back (the system may adjust it).
    ::SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  bool resized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (!FControlState.Contains(csAligning)) {
    UpdateAnchorRules();
    RequestAlign();
  }
  if (resized) {
    Realign();
    Resize();
  }
}

void TWinControl::UpdateBounds()
{
  if (!FHandle)
    return;
  RECT r{};
  ::GetWindowRect(FHandle, &r);
  HWND parent = ::GetParent(FHandle);
  if ((::GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) && parent)
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  UpdateBoundsRect(r);
}

void TWinControl::WMWindowPosChanged(TMessage& Message)
{
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  TRect before = GetBoundsRect();
  UpdateBounds();
  bool moved = !(GetBoundsRect() == before);
  // A top-level window shown or hidden behind our back (ShowWindow) keeps Visible true.
  if (pos && !FParent && !FControlState.Contains(csDestroyingHandle)) {
    if ((pos->flags & SWP_SHOWWINDOW) && !FShowing) {
      FVisible = true;
      FShowing = true;
      // Its children come to show with it (their windows are made now).
      for (TControl* c : std::vector<TControl*>(FControls))
        if (auto* w = dynamic_cast<TWinControl*>(c))
          w->UpdateShowing();
    } else if (pos->flags & SWP_HIDEWINDOW) {
      FVisible = false;
      FShowing = false;
    }
  }
  DefaultHandler(Message);  // sends WM_SIZE and WM_MOVE
  if (moved && !FControlState.Contains(csAligning))
    RequestAlign();
}

void TWinControl::WMSize(TMessage& Message)
{
  DefaultHandler(Message);
  Realign();
  Resize();
}

void TWinControl::WMMove(TMessage& Message)
{
  DefaultHandler(Message);
}

TRect TWinControl::GetClientRect() const
{
  if (!FHandle)
    return TControl::GetClientRect();
  RECT r{};
  ::GetClientRect(FHandle, &r);
  return r;
}

TPoint TWinControl::GetClientOrigin()
{
  if (!FHandle)
    return TControl::GetClientOrigin();
  POINT p{0, 0};
  ::ClientToScreen(FHandle, &p);
  return p;
}

void TWinControl::SetClientSize(int AWidth, int AHeight)
{
  if (!FHandle) {
    TControl::SetClientSize(AWidth, AHeight);
    return;
  }
  TRect client = GetClientRect();
  SetBounds(FLeft, FTop, FWidth - RectWidth(client) + AWidth, FHeight - RectHeight(client) + AHeight);
}

void TWinControl::SetZOrder(bool TopMost)
{
  TControl::SetZOrder(TopMost);
  if (FHandle)
    ::SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::InvalidateRect(const TRect& R, bool Erase)
{
  // A window not shown is invalidated whole when it shows, and an empty rectangle is no
  // change: asking costs a request to the window server for nothing.
  if (FHandle && !::IsRectEmpty(&R) && ::IsWindowVisible(FHandle))
    ::InvalidateRect(FHandle, &R, Erase ? TRUE : FALSE);
}

void TWinControl::Update()
{
  if (FHandle)
    ::UpdateWindow(FHandle);
}

void TWinControl::ChangeScale(int M, int D)
{
  TControl::ChangeScale(M, D);
  if (M == D || M <= 0 || D <= 0)
    return;
  for (TControl* control : std::vector<TControl*>(FControls))
    control->ChangeScale(M, D);
}

void TWinControl::Loaded()
{
  TControl::Loaded();
  Realign();
}
