// TdxBarWinControl: the subclassed window of an in-place editor, its keys, mouse and focus,
// and the start and end of editing.
#include "bars/itemcontrols/edits.h"

#include "bars/accessibility/baraccessibility.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/keyboard/hooks.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"

IMPLEMENT_CLASS(TdxBarWinControl, TdxBarItemControl)

namespace {

// The window property through which the subclassed window finds its control.
constexpr const wchar_t* ControlProperty = L"dxBarWinControl";

bool IsAltHeld(const TMessage& Message)
{
  return (HIWORD(Message.LParam) & KF_ALTDOWN) != 0;
}

// Client point of ASource's message point as ATarget's client point.
LPARAM MapPointParam(HWND ASource, HWND ATarget, LPARAM AParam)
{
  POINT p{LParamX(AParam), LParamY(AParam)};
  ::MapWindowPoints(ASource, ATarget, &p, 1);
  return MAKELPARAM(p.x, p.y);
}

}  // namespace

TdxBarWinControl::TdxBarWinControl(TdxBarItemLink* AItemLink) : TdxBarItemControl(AItemLink) {}

TdxBarAccessibilityHelperClass TdxBarWinControl::GetAccessibilityHelperClass() const
{
  return &dxBarAccessibilityHelperClassOf<TdxBarWinControlAccessibilityHelper>;
}

TdxBarWinControl::~TdxBarWinControl()
{
  // A kind that unhooked itself leaves nothing to do here.
  TdxBarWinControl::UnhookWindow();
}

TdxBarWindowItem* TdxBarWinControl::GetWindowItem() const
{
  return dynamic_cast<TdxBarWindowItem*>(GetItem());
}

bool TdxBarWinControl::OwnsWindow(HWND AWnd) const
{
  HWND own = GetHandle();
  return AWnd && own && AWnd == own;
}

// ---------------------------------------------------------------------------
// Subclassing

void TdxBarWinControl::HookWindow()
{
  HWND wnd = GetHandle();
  if (!wnd || FHookedWnd == wnd)
    return;
  ::SetPropW(wnd, ControlProperty, reinterpret_cast<HANDLE>(this));
  FPrevWndProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TdxBarWinControl::SubclassProc)));
  FHookedWnd = wnd;
}

void TdxBarWinControl::UnhookWindow()
{
  if (FFocused)
    SetFocused(false);
  HWND wnd = FHookedWnd;
  if (!wnd)
    return;
  FHookedWnd = nullptr;
  if (::IsWindow(wnd)) {
    if (::GetWindowLongPtrW(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TdxBarWinControl::SubclassProc))
      ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevWndProc));
    ::RemovePropW(wnd, ControlProperty);
  }
  FPrevWndProc = nullptr;
}

LRESULT CALLBACK TdxBarWinControl::SubclassProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
{
  auto* control = static_cast<TdxBarWinControl*>(::GetPropW(AWnd, ControlProperty));
  if (!control)
    return ::DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
  TMessage message{AMsg, AWParam, ALParam, 0};
  try {
    control->WndProc(message);
  } catch (...) {
    HandleUnexpectedException(control);
  }
  return message.Result;
}

void TdxBarWinControl::DefaultHandler(TMessage& Message)
{
  if (FPrevWndProc && FHookedWnd)
    Message.Result = ::CallWindowProcW(FPrevWndProc, FHookedWnd, Message.Msg, Message.WParam, Message.LParam);
}

void TdxBarWinControl::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      DefaultHandler(Message);
      // The window system may lift the form over its floating bars when the focus moves in.
      if (TdxBarManager* manager = GetBarManager())
        manager->KeepFloatingBarsAboveForm();
      if (TdxBarWindowItem* item = GetWindowItem())
        item->DoEnter();
      return;
    }
    case WM_KILLFOCUS:
      return WMKillFocus(Message);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return WMKeyDown(Message);
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return WMKeyUp(Message);
    case WM_CHAR:
      return WMChar(Message);
    case WM_COMMAND:
      // The bar window hands the editor's change notification back to it.
      if (HIWORD(Message.WParam) == EN_CHANGE) {
        if (TdxBarWindowItem* item = GetWindowItem(); item && !FWritingText)
          item->DoCurChange();
        Message.Result = 0;
        return;
      }
      break;
    default:
      if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSEWHEEL)
        return WMMouse(Message);
      break;
  }
  DefaultHandler(Message);
}

// ---------------------------------------------------------------------------
// Keys

void TdxBarWinControl::WMKeyDown(TMessage& Message)
{
  WORD key = WORD(Message.WParam);
  if (key == VK_F10 || key == VK_MENU || IsAltHeld(Message)) {
    if (!FilterSysKeyDown(key))
      DefaultHandler(Message);
    return;
  }
  TWeakRef<TdxBarWinControl> self(this);
  if (TdxBarWindowItem* item = GetWindowItem())
    item->DoKeyDown(key, KeyDataToShiftState(Message.LParam));
  // A handler that freed the control (or its item) swallows the key.
  if (!self || key == 0)
    return;
  switch (key) {
    case VK_TAB: {
      TWeakRef<TCustomdxBarControl> bar(GetParent());
      StoreText();
      if (!self)
        return;
      SetFocused(false);
      // The bars' keyboard walk moves on to the next control (an editor there starts).
      if (bar && bar->HandleAllocated())
        ::SendMessageW(bar->GetHandle(), WM_KEYDOWN, VK_TAB, 0);
      return;
    }
    case VK_RETURN:
      StoreText();
      if (self && GetHandle() && ::IsWindowVisible(GetHandle()))
        ReleaseFocus(false);
      return;
    case VK_ESCAPE:
      ReleaseFocus(true);
      return;
    default:
      Message.WParam = key;
      DefaultHandler(Message);
  }
}

void TdxBarWinControl::WMKeyUp(TMessage& Message)
{
  WORD key = WORD(Message.WParam);
  if (key == VK_F10 || key == VK_MENU || IsAltHeld(Message)) {
    if (!FilterSysKeyUp(key))
      DefaultHandler(Message);
    return;
  }
  TWeakRef<TdxBarWinControl> self(this);
  if (TdxBarWindowItem* item = GetWindowItem())
    item->DoKeyUp(key, KeyDataToShiftState(Message.LParam));
  if (!self || key == 0)
    return;
  Message.WParam = key;
  DefaultHandler(Message);
}

void TdxBarWinControl::WMChar(TMessage& Message)
{
  // Characters of the keys that ended editing (Enter, Esc, Tab) arrive after it ended.
  if (!FFocused)
    return;
  wchar_t key = wchar_t(Message.WParam);
  TWeakRef<TdxBarWinControl> self(this);
  if (TdxBarWindowItem* item = GetWindowItem())
    item->DoKeyPress(key);
  if (!self || key == 0)
    return;
  Message.WParam = key;
  DefaultHandler(Message);
}

namespace {

// The editing has ended: the manager's key handling gets the key's press and release as if
// typed in the form, so that Alt and F10 start the menu mode there.
void HandKeyToManager(WORD AKey)
{
  dxBarFeedKeyToKeyboardHook(AKey, MakeKeyData(false, AKey == VK_MENU));
  dxBarFeedKeyToKeyboardHook(AKey, MakeKeyData(true, AKey == VK_MENU));
}

}  // namespace

bool TdxBarWinControl::FilterSysKeyDown(WORD AKey)
{
  ++FSysKeyDownCount;
  if (AKey == VK_MENU)
    return true;  // the editor never starts the window menu
  if (AKey == VK_F10) {
    FSysKeyDownCount = 0;
    ReleaseFocus(false);
    HandKeyToManager(VK_F10);
    return true;
  }
  return false;
}

bool TdxBarWinControl::FilterSysKeyUp(WORD AKey)
{
  // A release whose press went elsewhere (the Alt that opened a menu) is not the editor's.
  if (FSysKeyDownCount == 0)
    return true;
  FSysKeyDownCount = 0;
  if (AKey != VK_MENU)
    return false;
  ReleaseFocus(false);
  HandKeyToManager(VK_MENU);
  return true;
}

// ---------------------------------------------------------------------------
// Mouse and focus messages

void TdxBarWinControl::WMMouse(TMessage& Message)
{
  HWND wnd = FHookedWnd;
  TCustomdxBarControl* bar = GetParent();
  HWND barWnd = bar && bar->HandleAllocated() ? bar->GetHandle() : nullptr;
  // The bar may rebuild or free this control while it handles what is passed on.
  TWeakRef<TdxBarWinControl> self(this);
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      // The bar's hot tracking goes on over the editor.
      if (barWnd)
        ::SendMessageW(barWnd, WM_MOUSEMOVE, Message.WParam, MapPointParam(wnd, barWnd, Message.LParam));
      break;
    case WM_RBUTTONDOWN:
      // The bar shows its context menu.
      if (barWnd)
        ::SendMessageW(barWnd, WM_RBUTTONDOWN, Message.WParam, MapPointParam(wnd, barWnd, Message.LParam));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
      // A press the bar hands on from the rest of the control is not the editor's; releases
      // always reach it, so that it lets its capture go.
      POINT p{LParamX(Message.LParam), LParamY(Message.LParam)};
      RECT client{};
      ::GetClientRect(wnd, &client);
      if (barWnd && !::PtInRect(&client, p)) {
        ::MapWindowPoints(wnd, barWnd, &p, 1);
        const TRect item = GetItemRect();
        if (::PtInRect(&item, p)) {
          Message.Result = 0;
          return;
        }
      }
    }
  }
  if (self && ::IsWindow(wnd))
    DefaultHandler(Message);
}

bool TdxBarWinControl::PassBarMouseMessage(const TMessage& Message)
{
  HWND wnd = GetHandle();
  TCustomdxBarControl* bar = GetParent();
  // The editor hands its moves and right presses back to the bar: those the bar handles.
  if (FPassingBarMouse || !FFocused || !wnd || !::IsWindowVisible(wnd) || !bar || !bar->HandleAllocated())
    return false;
  // Wheel messages carry screen points and go to the focused editor anyway. The right
  // button stays the bar's: the editor would hand its press back, and a release alone
  // opens the editor's clipboard menu over the caption.
  const UINT msg = Message.Msg;
  if (msg < WM_MOUSEFIRST || msg > WM_MOUSELAST || msg == WM_MOUSEWHEEL || msg == WM_MOUSEHWHEEL ||
      (msg >= WM_RBUTTONDOWN && msg <= WM_RBUTTONDBLCLK))
    return false;
  const POINT p{LParamX(Message.LParam), LParamY(Message.LParam)};
  const TRect item = GetItemRect();
  const TRect window = GetWindowBounds();
  if (!::PtInRect(&item, p) || ::PtInRect(&window, p))
    return false;
  TWeakRef<TdxBarWinControl> self(this);
  FPassingBarMouse = true;
  ::SendMessageW(wnd, msg, Message.WParam & ~WPARAM(dxBarHotTrackMouseMove),
                 MapPointParam(bar->GetHandle(), wnd, Message.LParam));
  if (self)
    FPassingBarMouse = false;
  return true;
}

void TdxBarWinControl::WMKillFocus(TMessage& Message)
{
  DefaultHandler(Message);
  TWeakRef<TdxBarWinControl> self(this);
  if (TdxBarWindowItem* item = GetWindowItem())
    item->DoExit();
  if (!self || !FFocused)
    return;
  // The focus went elsewhere (another window of the form, another program): editing ends
  // there, and the focus stays where the user put it.
  HWND target = reinterpret_cast<HWND>(Message.WParam);
  if (OwnsWindow(target))
    return;
  FPrevFocusedWnd = nullptr;
  TWeakRef<TCustomdxBarControl> bar(GetParent());
  SetFocused(false);
  if (bar && bar->GetActive())
    bar->Close();
}

// ---------------------------------------------------------------------------
// Editing

void TdxBarWinControl::ActivateByKeyOrMouse(bool AByMouse)
{
  TWeakRef<TdxBarWinControl> self(this);
  SetFocused(true);
  if (!self)
    return;
  TdxBarItemControl::ActivateByKey();
  SendMouseDown(AByMouse);
}

void TdxBarWinControl::SendMouseDown(bool AByMouse)
{
  HWND wnd = GetHandle();
  TCustomdxBarControl* bar = GetParent();
  if (!AByMouse || !FFocused || !wnd || !bar || !bar->HandleAllocated())
    return;
  POINT p{};
  ::GetCursorPos(&p);
  POINT inBar = p;
  ::ScreenToClient(bar->GetHandle(), &inBar);
  const TRect item = GetItemRect();
  if (!::PtInRect(&item, inBar))
    return;
  ::ScreenToClient(wnd, &p);
  const LPARAM at = MAKELPARAM(p.x, p.y);
  ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  // The button went up before the editor existed: the editor's press ends at once, so it
  // does not go on selecting with the next moves.
  if (::GetAsyncKeyState(::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) >= 0)
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, at);
}

void TdxBarWinControl::Deactivate()
{
  TdxBarItemControl::Deactivate();
  SetFocused(false);
}

void TdxBarWinControl::EnabledChanged()
{
  SetFocused(false);
  TdxBarItemControl::EnabledChanged();
}

void TdxBarWinControl::BeforeHide()
{
  SetFocused(false);
  if (HWND wnd = GetHandle())
    ::ShowWindow(wnd, SW_HIDE);
}

void TdxBarWinControl::SetFocused(bool Value)
{
  if (FFocused == Value)
    return;
  TWeakRef<TdxBarWinControl> self(this);
  TCustomdxBarControl* bar = GetParent();
  if (Value) {
    if (!bar || !bar->HandleAllocated() || !GetEnabled() || bar->IsCustomizing())
      return;
    FPrevFocusedWnd = ::GetFocus();
    // The bar notes the control: active with it selected.
    if (!bar->GetActive())
      bar->ActivateWithControl(this);
    else if (bar->GetSelectedControl() != this)
      bar->SelectItemControl(this);
    if (!self)
      return;
    if (!GetActive())
      Activate();
    FFocused = true;
    FSysKeyDownCount = 0;
    ShowEditor();
    if (self)
      Repaint();
    return;
  }
  FFocused = false;
  TdxBarManager* manager = GetBarManager();
  // Esc keeps nothing, unless Ctrl or Alt is held with it.
  const bool escape =
      FCancelling || (::GetKeyState(VK_ESCAPE) < 0 && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0);
  const bool accept = manager && manager->GetAlwaysSaveText() && !escape;
  // The focus moves on before the editor hides: hiding a focused window would hand the
  // focus to the bar window.
  RestoreFocus();
  // The focus going back may close the menu that holds this control (its window deactivates).
  if (!self)
    return;
  HideEditor(accept);
  if (!self)
    return;
  TdxBarItemControl::Deactivate();
  Repaint();
}

void TdxBarWinControl::RestoreFocus()
{
  HWND target = FPrevFocusedWnd;
  FPrevFocusedWnd = nullptr;
  // Only a focus still in the editor (or lost with its window) is given back.
  HWND focus = ::GetFocus();
  if (focus && !OwnsWindow(focus))
    return;
  if (target && ::IsWindow(target) && ::IsWindowVisible(target) && !OwnsWindow(target)) {
    ::SetFocus(target);
    return;
  }
  TdxBarManager* manager = GetBarManager();
  TWinControl* form = manager ? manager->GetParentControl() : nullptr;
  if (!form || !form->HandleAllocated())
    return;
  HWND formWnd = form->GetHandle();
  if (::IsWindowVisible(formWnd))
    ::SetFocus(formWnd);
  else if (HWND next = ::GetWindow(formWnd, GW_HWNDNEXT))
    ::SetFocus(next);
}

void TdxBarWinControl::ReleaseFocus(bool ACancel)
{
  TWeakRef<TdxBarWinControl> self(this);
  TWeakRef<TCustomdxBarControl> bar(GetParent());
  FCancelling = ACancel;
  if (bar && bar->GetSelectedControl() == this)
    bar->SelectItemControl(nullptr);
  if (self) {
    SetFocused(false);
    FCancelling = false;
  }
  if (bar && bar->GetActive())
    bar->Close();
}

void TdxBarWinControl::ShowEditor()
{
  TdxBarPainter* painter = GetPainter();
  FEditorDrawnByPainter = painter && painter->IsEditorDrawnByPainter();
}

void TdxBarWinControl::HideEditor(bool AAccept) {}

// ---------------------------------------------------------------------------
// Text and place

String TdxBarWinControl::GetText() const
{
  HWND wnd = GetHandle();
  if (!wnd)
    return String();
  // The whole text, however long: the item's text must never be cut by a round trip
  // through the editor.
  const int length = ::GetWindowTextLengthW(wnd);
  String text(size_t(std::max(length, 0)) + 1, L'\0');
  const int read = ::GetWindowTextW(wnd, text.data(), int(text.size()));
  text.resize(size_t(std::max(read, 0)));
  return text;
}

void TdxBarWinControl::SetText(const String& Value)
{
  if (HWND wnd = GetHandle())
    ::SetWindowTextW(wnd, Value.c_str());
  if (TdxBarWindowItem* item = GetWindowItem(); item && item->GetHideEditor())
    Repaint();
}

String TdxBarWinControl::GetTextToRead() const
{
  TdxBarWindowItem* item = GetWindowItem();
  return item ? item->GetText() : String();
}

void TdxBarWinControl::ReadText()
{
  TRestore writing(FWritingText, true);
  SetText(GetTextToRead());
}

void TdxBarWinControl::StoreText()
{
  if (TdxBarWindowItem* item = GetWindowItem())
    item->SetText(GetText());
}

TRect TdxBarWinControl::GetWindowBounds() const
{
  TdxBarWindowItem* item = GetWindowItem();
  if (!GetEnabled() || (item && item->GetHideEditor()))
    return TRect{};
  return FWindowRect;
}

void TdxBarWinControl::SetWindowBounds(const TRect& R)
{
  FWindowRect = R;
  HWND wnd = GetHandle();
  if (!wnd || !::IsWindowVisible(wnd))
    return;
  // An item that hides its editor keeps the window empty: the painter draws the text.
  const TRect bounds = GetWindowBounds();
  RECT current{};
  ::GetWindowRect(wnd, &current);
  ::MapWindowPoints(nullptr, ::GetParent(wnd), reinterpret_cast<POINT*>(&current), 2);
  if (::EqualRect(&current, &bounds))
    return;
  ::SetWindowPos(wnd, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  WindowPositioned();
}
