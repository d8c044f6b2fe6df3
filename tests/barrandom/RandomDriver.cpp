// The driver that plays events with real input, only ever over windows of this process.
#include "RandomTestUtil.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <tuple>

// ---------------------------------------------------------------------------
// Windows of this process

namespace {

std::string Narrow(const std::wstring& AText)
{
  std::string text = ToUtf8(String(AText));
  if (text.size() > 40)
    text = text.substr(0, 40) + "...";
  return text;
}

BOOL CALLBACK AddChild(HWND AWnd, LPARAM AParam)
{
  auto* windows = reinterpret_cast<std::vector<TOurWindow>*>(AParam);
  if (!::IsWindowVisible(AWnd))
    return TRUE;
  TOurWindow window;
  window.Wnd = AWnd;
  window.TopLevel = windows->back().TopLevel;
  windows->push_back(window);
  return TRUE;
}

BOOL CALLBACK AddTopLevel(HWND AWnd, LPARAM AParam)
{
  DWORD process = 0;
  ::GetWindowThreadProcessId(AWnd, &process);
  if (process != ::GetCurrentProcessId() || !::IsWindowVisible(AWnd) || ::IsIconic(AWnd))
    return TRUE;
  auto* windows = reinterpret_cast<std::vector<TOurWindow>*>(AParam);
  TOurWindow window;
  window.Wnd = AWnd;
  window.TopLevel = AWnd;
  windows->push_back(window);
  ::EnumChildWindows(AWnd, AddChild, AParam);
  return TRUE;
}

}  // namespace

std::vector<TOurWindow> VisibleWindowsOfProcess()
{
  std::vector<TOurWindow> found;
  ::EnumWindows(AddTopLevel, reinterpret_cast<LPARAM>(&found));
  const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  std::vector<TOurWindow> windows;
  for (TOurWindow& window : found) {
    RECT top{}, own{};
    ::GetWindowRect(window.TopLevel, &top);
    ::GetWindowRect(window.Wnd, &own);
    ::IntersectRect(&own, &own, &top);
    if (!::IntersectRect(&window.Rect, &own, &screen))
      continue;
    wchar_t text[128] = {};
    ::GetClassNameW(window.Wnd, text, 128);
    window.Class = text;
    text[0] = 0;
    ::InternalGetWindowText(window.Wnd, text, 128);
    window.Text = text;
    windows.push_back(window);
  }
  // An order that does not depend on which window was activated last.
  auto key = [](const TOurWindow& AWindow) {
    return std::make_tuple(AWindow.Class, AWindow.Text, AWindow.Rect.left, AWindow.Rect.top, AWindow.Rect.right,
                           AWindow.Rect.bottom);
  };
  std::stable_sort(windows.begin(), windows.end(),
                   [&](const TOurWindow& A, const TOurWindow& B) { return key(A) < key(B); });
  return windows;
}

std::string Describe(const TOurWindow& AWindow)
{
  char text[256];
  std::snprintf(text, sizeof text, "%s '%s' [%ld,%ld %ldx%ld]", Narrow(AWindow.Class).c_str(),
                Narrow(AWindow.Text).c_str(), AWindow.Rect.left, AWindow.Rect.top,
                AWindow.Rect.right - AWindow.Rect.left, AWindow.Rect.bottom - AWindow.Rect.top);
  return text;
}

// ---------------------------------------------------------------------------
// TRandomDriver

TRandomDriver::TRandomDriver(const TRandomOptions& AOptions, HWND AForm) : FOptions(AOptions), FForm(AForm) {}

void TRandomDriver::CheckClosedForm()
{
  // Its menus, bars, dialogs and questions go with it (the user-interface thread may take a
  // moment to hide what a timer or a posted message hides).
  const DWORD start = ::GetTickCount();
  std::vector<TOurWindow> left = VisibleWindowsOfProcess();
  while (!left.empty() && ::GetTickCount() - start < 3000) {
    ::Sleep(20);
    left = VisibleWindowsOfProcess();
  }
  if (left.empty())
    return;
  std::string list;
  for (const TOurWindow& window : left)
    if (window.Wnd == window.TopLevel)
      list += "\n    " + Describe(window);
  LogEvent("windows left on the screen after the form was closed:" + list);
  FClosedFormWindows = list;
}

void TRandomDriver::PlayRound(TRandomStream& AStream, int AFirst, int ACount)
{
  for (int i = 0; i < ACount; ++i) {
    if (::IsIconic(FForm)) {
      LogEvent("the form was minimised: the round ends");
      return;
    }
    if (!::IsWindowVisible(FForm)) {
      LogEvent("the form was closed: the round ends");
      CheckClosedForm();
      return;
    }
    Play(DrawEvent(AStream, FOptions), AFirst + i);
    if (FOptions.PauseMs)
      ::Sleep(DWORD(FOptions.PauseMs));
  }
}

namespace {

const char* KeyName(uint16_t AKey)
{
  switch (AKey) {
    case VK_ESCAPE:
      return "Esc";
    case VK_MENU:
      return "Alt";
    case VK_F10:
      return "F10";
    case VK_LEFT:
      return "Left";
    case VK_RIGHT:
      return "Right";
    case VK_UP:
      return "Up";
    case VK_DOWN:
      return "Down";
    case VK_RETURN:
      return "Enter";
    case VK_TAB:
      return "Tab";
    case VK_APPS:
      return "Menu";
    case VK_DELETE:
      return "Delete";
    default:
      return nullptr;
  }
}

std::string KeyText(const TRandomEvent& AEvent)
{
  std::string text = std::string(AEvent.Control ? "Ctrl+" : "") + (AEvent.Shift ? "Shift+" : "") +
                     (AEvent.Alt && AEvent.Key != VK_MENU ? "Alt+" : "");
  if (const char* name = KeyName(AEvent.Key))
    return text + name;
  return text + char(AEvent.Key);
}

std::string PointText(const char* AWhat, POINT AP)
{
  char text[64];
  std::snprintf(text, sizeof text, "%s %ld %ld", AWhat, AP.x, AP.y);
  return text;
}

}  // namespace

void TRandomDriver::Play(const TRandomEvent& AEvent, int AIndex)
{
  char prefixText[32];
  std::snprintf(prefixText, sizeof prefixText, "e%d ", AIndex);
  const std::string prefix = prefixText;
  POINT p{}, q{};
  std::string what, what2;
  auto skip = [&](const char* AWhy) {
    ++FSkipped;
    LogEvent(prefix + std::string("skipped: ") + AWhy);
  };
  switch (AEvent.Kind) {
    case TEventKind::Move:
    case TEventKind::Click:
    case TEventKind::DoubleClick:
    case TEventKind::RightClick: {
      if (!PointerTarget(AEvent.Target, AEvent.X, AEvent.Y, p, what))
        return skip("no window of ours there");
      if (OpensSystemMenu(p, AEvent.Kind == TEventKind::RightClick))
        return skip("the system's window menu is not the library's");
      const char* name = AEvent.Kind == TEventKind::Move          ? "move"
                         : AEvent.Kind == TEventKind::Click       ? "click"
                         : AEvent.Kind == TEventKind::DoubleClick ? "double-click"
                                                                  : "right-click";
      LogEvent(prefix + PointText(name, p) + "  # " + what);
      MoveTo(p);
      const int button = AEvent.Kind == TEventKind::RightClick ? 1 : 0;
      const int presses = AEvent.Kind == TEventKind::Move ? 0 : AEvent.Kind == TEventKind::DoubleClick ? 2 : 1;
      if (presses)
        Clicks(button, presses);
      break;
    }
    case TEventKind::Drag: {
      if (!PointerTarget(AEvent.Target, AEvent.X, AEvent.Y, p, what) ||
          !PointerTarget(AEvent.Target2, AEvent.X2, AEvent.Y2, q, what2))
        return skip("no window of ours there");
      if (OpensSystemMenu(p, false))
        return skip("the system's window menu is not the library's");
      LogEvent(prefix + PointText("drag", p) + PointText(" to", q) + "  # " + what + " to " + what2);
      MoveTo(p);
      Button(0, true);
      for (int step = 1; step <= 4; ++step)
        MoveTo(POINT{p.x + (q.x - p.x) * step / 4, p.y + (q.y - p.y) * step / 4});
      Button(0, false);
      break;
    }
    case TEventKind::Key: {
      if (!ForegroundIsOurs())
        return skip("the foreground window is not ours");
      LogEvent(prefix + "key " + KeyText(AEvent));
      Key(AEvent.Key, AEvent.Shift, AEvent.Control, AEvent.Alt);
      break;
    }
    case TEventKind::Rest: {
      char text[48];
      std::snprintf(text, sizeof text, "rest %d", AEvent.RestMs);
      LogEvent(prefix + text);
      ::Sleep(DWORD(AEvent.RestMs));
      break;
    }
    case TEventKind::Customize:
      OpenCustomize(AEvent, AIndex);
      break;
    case TEventKind::Close: {
      // The form's close button, at the right end of its caption.
      POINT close{};
      if (!CloseButton(close))
        return skip("the form's close button is not on the screen");
      LogEvent(prefix + PointText("close: click", close));
      MoveTo(close);
      Clicks(0, 1);
      break;
    }
  }
  ++FPlayed;
}

// Where things are is read from the window system alone: a message sent to a window of the
// user-interface thread would be handled inside whatever loop that thread peeks from, where
// no input of a user arrives.
namespace {

bool TitleBar(HWND AWnd, RECT& ABar)
{
  TITLEBARINFO title{};
  title.cbSize = sizeof title;
  if (!::IsWindowVisible(AWnd) || !(::GetWindowLongPtrW(AWnd, GWL_STYLE) & WS_SYSMENU) ||
      !::GetTitleBarInfo(AWnd, &title) || ::IsRectEmpty(&title.rcTitleBar))
    return false;
  ABar = title.rcTitleBar;
  return true;
}

}  // namespace

bool TRandomDriver::CloseButton(POINT& APoint) const
{
  // The last of the caption's square buttons.
  RECT bar{};
  if (!TitleBar(FForm, bar))
    return false;
  const LONG height = bar.bottom - bar.top;
  APoint = POINT{bar.right - height / 2, (bar.top + bar.bottom) / 2};
  return ::WindowFromPoint(APoint) == FForm;
}

bool TRandomDriver::OpensSystemMenu(POINT APoint, bool ARightClick) const
{
  // The window menu of a framed window (its icon, or a right click on its frame) belongs to
  // the system, whose entries open dialogs of their own.
  HWND there = ::WindowFromPoint(APoint);
  if (!there)
    return true;
  HWND top = ::GetAncestor(there, GA_ROOT);
  RECT bar{};
  if (!TitleBar(top, bar))
    return false;
  RECT icon = bar;
  icon.right = icon.left + (bar.bottom - bar.top);
  RECT client{};
  ::GetClientRect(top, &client);
  ::MapWindowPoints(top, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return ::PtInRect(&icon, APoint) || (ARightClick && !::PtInRect(&client, APoint));
}

bool TRandomDriver::PointerTarget(uint32_t ARank, double AX, double AY, POINT& APoint, std::string& AWhat) const
{
  const std::vector<TOurWindow> windows = VisibleWindowsOfProcess();
  // A top-level window first: what pops up over the form (menus, drop-downs, dialogs, boxes)
  // is where a user works while it shows; the form comes next, floating bars and the system's
  // own menus (an edit's) after it. A shadow only shows where a window is, and takes no input
  // a user aims at it.
  std::vector<std::pair<HWND, uint32_t>> tops;
  uint32_t total = 0;
  for (const TOurWindow& window : windows) {
    if (window.Wnd != window.TopLevel || window.Class.find(L"Shadow") != std::wstring::npos)
      continue;
    const uint32_t weight = window.Wnd == FForm                                             ? 2
                            : window.Class == L"TdxBarControl" || window.Class == L"#32768" ? 1
                                                                                            : 4;
    tops.emplace_back(window.Wnd, weight);
    total += weight;
  }
  if (tops.empty())
    return false;
  uint32_t pick = ARank % total;
  HWND top = tops.back().first;
  for (const auto& [wnd, weight] : tops) {
    if (pick < weight) {
      top = wnd;
      break;
    }
    pick -= weight;
  }
  std::vector<const TOurWindow*> parts;
  for (const TOurWindow& window : windows)
    if (window.TopLevel == top)
      parts.push_back(&window);
  // Then the window itself or one of its children.
  const uint32_t rest = ARank / total;
  const TOurWindow* target = parts[(rest / 2) % parts.size()];
  if (rest % 2 == 0)
    for (const TOurWindow* part : parts)
      if (part->Wnd == top)
        target = part;
  const RECT& r = target->Rect;
  APoint.x = r.left + LONG(AX * double(r.right - r.left));
  APoint.y = r.top + LONG(AY * double(r.bottom - r.top));
  // What lies there may be a window of another program (or the desktop): no input goes there.
  HWND there = ::WindowFromPoint(APoint);
  DWORD process = 0;
  ::GetWindowThreadProcessId(there, &process);
  if (!there || process != ::GetCurrentProcessId())
    return false;
  AWhat = Describe(*target);
  return true;
}

void TRandomDriver::Send(const std::vector<INPUT>& AInputs)
{
  const int before = InputTaken();
  ::SendInput(UINT(AInputs.size()), const_cast<INPUT*>(AInputs.data()), sizeof(INPUT));
  // The input reaches the thread's queue, then its loop takes it. A move to where the pointer
  // already is, or a key while a loop of the system reads the queue its own way, is not seen,
  // hence a limit on waiting while nothing more arrives.
  DWORD progress = ::GetTickCount();
  for (int taken = InputTaken(); taken < before + int(AInputs.size()); taken = InputTaken()) {
    if (::GetTickCount() - progress >= 100) {
      ++FUntaken;
      break;
    }
    ::Sleep(1);
    if (InputTaken() != taken)
      progress = ::GetTickCount();
  }
  // The thread has finished what the input started, or is in a loop that takes messages.
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(ProbeWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

namespace {

INPUT ButtonInput(int AButton, bool ADown)
{
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = AButton == 0 ? (ADown ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)
                                  : (ADown ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP);
  return input;
}

INPUT KeyInput(uint16_t AKey, bool ADown)
{
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = AKey;
  input.ki.wScan = WORD(::MapVirtualKeyW(AKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = ADown ? 0 : KEYEVENTF_KEYUP;
  return input;
}

}  // namespace

void TRandomDriver::Button(int AButton, bool ADown)
{
  Send({ButtonInput(AButton, ADown)});
}

void TRandomDriver::Clicks(int AButton, int ACount)
{
  std::vector<INPUT> inputs;
  for (int i = 0; i < ACount; ++i) {
    inputs.push_back(ButtonInput(AButton, true));
    inputs.push_back(ButtonInput(AButton, false));
  }
  Send(inputs);
}

void TRandomDriver::MoveTo(POINT APoint)
{
  POINT now{};
  if (::GetCursorPos(&now) && now.x == APoint.x && now.y == APoint.y)
    return;
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  // Absolute coordinates run from 0 to 65535 across the screen, rounded so that the
  // system maps them back to exactly this pixel.
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = LONG((int64_t(APoint.x) * 65536 + width - 1) / width);
  input.mi.dy = LONG((int64_t(APoint.y) * 65536 + height - 1) / height);
  Send({input});
}

void TRandomDriver::Key(uint16_t AKey, bool AShift, bool AControl, bool AAlt)
{
  std::vector<uint16_t> modifiers;
  if (AControl)
    modifiers.push_back(VK_CONTROL);
  if (AShift)
    modifiers.push_back(VK_SHIFT);
  if (AAlt && AKey != VK_MENU)
    modifiers.push_back(VK_MENU);
  std::vector<INPUT> inputs;
  for (uint16_t modifier : modifiers)
    inputs.push_back(KeyInput(modifier, true));
  inputs.push_back(KeyInput(AKey, true));
  inputs.push_back(KeyInput(AKey, false));
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
    inputs.push_back(KeyInput(*it, false));
  Send(inputs);
}

bool TRandomDriver::ForegroundIsOurs() const
{
  DWORD process = 0;
  ::GetWindowThreadProcessId(::GetForegroundWindow(), &process);
  return process == ::GetCurrentProcessId();
}

void TRandomDriver::OpenCustomize(const TRandomEvent& AEvent, int AIndex)
{
  char prefixText[32];
  std::snprintf(prefixText, sizeof prefixText, "e%d ", AIndex);
  const std::string prefix = prefixText;
  // A docked toolbar of the form: its right click opens the toolbar popup, whose last entry
  // is "Customize...".
  std::vector<TOurWindow> toolbars;
  for (const TOurWindow& window : VisibleWindowsOfProcess())
    if (window.Class == L"TdxBarControl" && window.TopLevel == FForm)
      toolbars.push_back(window);
  if (toolbars.empty()) {
    ++FSkipped;
    LogEvent(prefix + std::string("skipped: no docked toolbar for the Customize dialog"));
    return;
  }
  const TOurWindow& bar = toolbars[AEvent.Target % toolbars.size()];
  // The bar's own end, past its last item (its border), opens the toolbar popup on any look.
  POINT p{bar.Rect.right - 2, bar.Rect.top + (bar.Rect.bottom - bar.Rect.top) / 2};
  auto menus = [] {
    std::vector<TOurWindow> found;
    for (const TOurWindow& window : VisibleWindowsOfProcess())
      if (window.Class.find(L"SubMenuControl") != std::wstring::npos && window.Wnd == window.TopLevel)
        found.push_back(window);
    return found;
  };
  const std::vector<TOurWindow> before = menus();
  auto isNew = [&](const TOurWindow& AMenu) {
    return std::none_of(before.begin(), before.end(), [&](const TOurWindow& AOld) { return AOld.Wnd == AMenu.Wnd; });
  };
  LogEvent(prefix + PointText("customize: right-click", p) + "  # " + Describe(bar));
  MoveTo(p);
  Clicks(1, 1);
  const DWORD start = ::GetTickCount();
  const TOurWindow* popup = nullptr;
  std::vector<TOurWindow> open;
  for (;;) {
    open = menus();
    auto found = std::find_if(open.begin(), open.end(), isNew);
    if (found != open.end()) {
      popup = &*found;
      break;
    }
    if (::GetTickCount() - start >= 2000) {
      LogEvent(prefix + "customize: no toolbar popup");
      return;
    }
    ::Sleep(10);
  }
  // "Customize..." is the popup's last row.
  POINT entry{(popup->Rect.left + popup->Rect.right) / 2, popup->Rect.bottom - 12};
  LogEvent(prefix + PointText("customize: click", entry) + "  # " + Describe(*popup));
  MoveTo(entry);
  Clicks(0, 1);
}

bool TRandomDriver::Unwind(const std::atomic<bool>& AAtTop)
{
  Button(0, false);
  Button(1, false);
  for (int attempt = 0; attempt < 60; ++attempt) {
    const DWORD start = ::GetTickCount();
    while (!AAtTop && ::GetTickCount() - start < 250)
      ::Sleep(5);
    if (AAtTop)
      return true;
    // Boxes and the system's dialogs are answered as Cancel (or No, or OK when that is all
    // they offer); menus, drags and the library's own dialogs take Esc.
    for (const TOurWindow& window : VisibleWindowsOfProcess())
      if (window.Class == L"#32770" && window.Wnd == window.TopLevel) {
        for (int button : {IDCANCEL, IDNO, IDOK})
          if (HWND control = ::GetDlgItem(window.Wnd, button)) {
            LogEvent("unwind: answer " + Describe(window));
            ::PostMessageW(window.Wnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(control));
            break;
          }
      }
    if (attempt % 4 < 3) {
      if (ForegroundIsOurs()) {
        LogEvent("unwind: key Esc");
        Key(VK_ESCAPE, false, false, false);
      }
      continue;
    }
    // What Esc does not end, a click on the form's caption does, as a user would end it.
    RECT caption{};
    TITLEBARINFO title{};
    title.cbSize = sizeof title;
    if (::IsWindowVisible(FForm) && ::GetTitleBarInfo(FForm, &title))
      caption = title.rcTitleBar;
    if (::IsRectEmpty(&caption))
      continue;
    const POINT p{caption.left + (caption.right - caption.left) / 3, (caption.top + caption.bottom) / 2};
    std::string shown;
    for (const TOurWindow& window : VisibleWindowsOfProcess())
      if (window.Wnd == window.TopLevel && window.Wnd != FForm)
        shown += "\n    " + Describe(window);
    LogEvent(PointText("unwind: click on the form's caption", p) + "; Esc left open:" + shown);
    ++FUnwindClicks;
    MoveTo(p);
    Clicks(0, 1);
  }
  return AAtTop;
}
