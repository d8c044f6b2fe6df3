#include "support/Input.h"

#include <atomic>
#include <iterator>
#include <thread>
#include <map>
#include <vector>

#include "support/Pump.h"

namespace {

// Thread hooks count what reaches this thread's message retrieval: that is the moment
// input has "arrived" for a test, whatever loop is pumping.
struct THookState {
  HHOOK Mouse = nullptr;
  HHOOK Keyboard = nullptr;
  std::map<UINT, int> MouseCounts;
  POINT LastMousePoint{-100000, -100000};
  int KeyUps = 0;
  int KeyDowns = 0;
};

THookState& Hooks()
{
  static THookState state;
  return state;
}

LRESULT CALLBACK MouseHook(int Code, WPARAM WParam, LPARAM LParam)
{
  if (Code == HC_ACTION) {
    THookState& s = Hooks();
    ++s.MouseCounts[UINT(WParam)];
    if (auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(LParam))
      s.LastMousePoint = info->pt;
  }
  return ::CallNextHookEx(nullptr, Code, WParam, LParam);
}

// Key releases are counted as they are taken from the queue: the keyboard hook does not
// see the packets that typed Unicode characters arrive as.
LRESULT CALLBACK GetMessageHook(int Code, WPARAM WParam, LPARAM LParam)
{
  if (Code == HC_ACTION && WParam == PM_REMOVE) {
    auto* msg = reinterpret_cast<MSG*>(LParam);
    if (msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP)
      ++Hooks().KeyUps;
    else if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN)
      ++Hooks().KeyDowns;
  }
  return ::CallNextHookEx(nullptr, Code, WParam, LParam);
}

void EnsureHooks()
{
  THookState& s = Hooks();
  if (!s.Mouse)
    s.Mouse = ::SetWindowsHookExW(WH_MOUSE, &MouseHook, nullptr, ::GetCurrentThreadId());
  if (!s.Keyboard)
    s.Keyboard = ::SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, ::GetCurrentThreadId());
}

int Seen(std::initializer_list<UINT> msgs)
{
  int n = 0;
  for (UINT m : msgs)
    if (m)
      n += Hooks().MouseCounts[m];
  return n;
}

bool OwnWindowAt(POINT p)
{
  HWND h = ::WindowFromPoint(p);
  return h && ::GetWindowThreadProcessId(h, nullptr) == ::GetCurrentThreadId();
}

bool SendOne(INPUT input)
{
  return ::SendInput(1, &input, sizeof(INPUT)) == 1;
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0)
{
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.dwFlags = flags;
  return in;
}

// Absolute coordinates run from 0 to 65535 across the primary screen; the value is
// rounded so that the system maps it back to exactly this pixel.
LONG Normalise(LONG v, int extent)
{
  if (extent <= 1)
    return 0;
  return LONG((int64_t(v) * 65536 + extent - 1) / extent);
}

bool ButtonTransition(TInputButton Button, bool Down, int TimeoutMs)
{
  EnsureHooks();
  DWORD flags = 0;
  UINT client[2] = {}, nonClient[2] = {};  // the messages that show it arrived
  switch (Button) {
    case TInputButton::Left:
      flags = Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
      client[0] = Down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
      client[1] = Down ? WM_LBUTTONDBLCLK : 0;
      nonClient[0] = Down ? WM_NCLBUTTONDOWN : WM_NCLBUTTONUP;
      nonClient[1] = Down ? WM_NCLBUTTONDBLCLK : 0;
      break;
    case TInputButton::Right:
      flags = Down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
      client[0] = Down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
      client[1] = Down ? WM_RBUTTONDBLCLK : 0;
      nonClient[0] = Down ? WM_NCRBUTTONDOWN : WM_NCRBUTTONUP;
      nonClient[1] = Down ? WM_NCRBUTTONDBLCLK : 0;
      break;
    case TInputButton::Middle:
      flags = Down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
      client[0] = Down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
      client[1] = Down ? WM_MBUTTONDBLCLK : 0;
      nonClient[0] = Down ? WM_NCMBUTTONDOWN : WM_NCMBUTTONUP;
      nonClient[1] = Down ? WM_NCMBUTTONDBLCLK : 0;
      break;
  }
  auto seen = [&] { return Seen({client[0], client[1], nonClient[0], nonClient[1]}); };
  int before = seen();
  POINT p{};
  ::GetCursorPos(&p);
  // A capture holder of this thread gets the message wherever the cursor is.
  bool ours = OwnWindowAt(p) || (::GetCapture() != nullptr);
  if (!SendOne(MouseInput(flags)))
    return false;
  if (!ours) {
    PumpPending();
    return true;
  }
  bool arrived = PumpUntil([&] { return seen() > before; }, TimeoutMs);
  PumpPending();
  return arrived;
}

}  // namespace

int MouseMessagesSeen(UINT Msg)
{
  return Hooks().MouseCounts[Msg];
}

bool MoveMouseTo(POINT ScreenPos, int TimeoutMs)
{
  EnsureHooks();
  int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
  POINT now{};
  ::GetCursorPos(&now);
  if (now.x == ScreenPos.x && now.y == ScreenPos.y) {
    PumpPending();
    return true;  // no move, no message to wait for
  }
  int before = Seen({WM_MOUSEMOVE, WM_NCMOUSEMOVE});
  INPUT in = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Normalise(ScreenPos.x, w), Normalise(ScreenPos.y, h));
  if (!SendOne(in))
    return false;
  auto there = [&] {
    POINT p{};
    ::GetCursorPos(&p);
    return p.x == ScreenPos.x && p.y == ScreenPos.y;
  };
  if (!PumpUntil(there, TimeoutMs))
    return false;
  if (OwnWindowAt(ScreenPos) || ::GetCapture())
    PumpUntil(
        [&] {
          POINT last = Hooks().LastMousePoint;
          return Seen({WM_MOUSEMOVE, WM_NCMOUSEMOVE}) > before && last.x == ScreenPos.x && last.y == ScreenPos.y;
        },
        TimeoutMs);
  PumpPending();
  return true;
}

bool MouseButtonDown(TInputButton Button, int TimeoutMs)
{
  return ButtonTransition(Button, true, TimeoutMs);
}

bool MouseButtonUp(TInputButton Button, int TimeoutMs)
{
  return ButtonTransition(Button, false, TimeoutMs);
}

bool ClickAt(POINT ScreenPos, TInputButton Button, int TimeoutMs)
{
  if (!MoveMouseTo(ScreenPos, TimeoutMs))
    return false;
  bool down = MouseButtonDown(Button, TimeoutMs);
  bool up = MouseButtonUp(Button, TimeoutMs);
  return down && up;
}

bool DoubleClickAt(POINT ScreenPos, int TimeoutMs)
{
  if (!ClickAt(ScreenPos, TInputButton::Left, TimeoutMs))
    return false;
  return MouseButtonDown(TInputButton::Left, TimeoutMs) && MouseButtonUp(TInputButton::Left, TimeoutMs);
}

namespace {

INPUT KeyInput(WORD vk, bool up, bool unicode = false, wchar_t ch = 0)
{
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = unicode ? 0 : vk;
  in.ki.wScan = unicode ? WORD(ch) : WORD(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (unicode ? KEYEVENTF_UNICODE : 0);
  return in;
}

bool WaitKeyUps(int before, int count, int TimeoutMs)
{
  bool focusOurs = ::GetFocus() != nullptr;
  if (!focusOurs) {
    PumpPending();
    return false;
  }
  bool arrived = PumpUntil([&] { return Hooks().KeyUps >= before + count; }, TimeoutMs);
  PumpPending();
  return arrived;
}

}  // namespace

bool PressKey(WORD VirtualKey, std::initializer_list<WORD> Modifiers, int TimeoutMs)
{
  EnsureHooks();
  int before = Hooks().KeyUps;
  std::vector<INPUT> inputs;
  for (WORD m : Modifiers)
    inputs.push_back(KeyInput(m, false));
  inputs.push_back(KeyInput(VirtualKey, false));
  inputs.push_back(KeyInput(VirtualKey, true));
  for (auto it = std::rbegin(Modifiers); it != std::rend(Modifiers); ++it)
    inputs.push_back(KeyInput(*it, true));
  if (::SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
    return false;
  return WaitKeyUps(before, int(Modifiers.size()) + 1, TimeoutMs);
}

bool WaitUntilKeysTaken(int TimeoutMs)
{
  const bool taken = PumpUntil([] { return (HIWORD(::GetQueueStatus(QS_KEY)) & QS_KEY) == 0; }, TimeoutMs);
  PumpPending();
  return taken;
}

bool StrokeKey(WORD VirtualKey, std::initializer_list<WORD> Modifiers, int TimeoutMs)
{
  for (WORD m : Modifiers)
    SendKeyTransition(m, true);
  SendKeyTransition(VirtualKey, true);
  SendKeyTransition(VirtualKey, false);
  for (auto it = std::rbegin(Modifiers); it != std::rend(Modifiers); ++it)
    SendKeyTransition(*it, false);
  return WaitUntilKeysTaken(TimeoutMs);
}

bool TypeText(const std::wstring& Text, int TimeoutMs)
{
  EnsureHooks();
  int before = Hooks().KeyUps;
  std::vector<INPUT> inputs;
  for (wchar_t ch : Text) {
    inputs.push_back(KeyInput(0, false, true, ch));
    inputs.push_back(KeyInput(0, true, true, ch));
  }
  if (inputs.empty())
    return true;
  if (::SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
    return false;
  return WaitKeyUps(before, int(Text.size()), TimeoutMs);
}

bool ActivateWindow(HWND Window, int TimeoutMs)
{
  // One request can be lost while another program of the display takes the foreground (Wine's
  // own services do in the first seconds of a new prefix), so it is made again until it holds.
  DWORD asked = 0;
  return PumpUntil(
      [&] {
        if (::GetForegroundWindow() == Window)
          return true;
        DWORD now = ::GetTickCount();
        if (asked == 0 || now - asked >= 250) {
          ::SetForegroundWindow(Window);
          ::SetActiveWindow(Window);
          asked = now ? now : 1;
        }
        return false;
      },
      TimeoutMs);
}

void SendMouseMove(POINT ScreenPos)
{
  SendOne(MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Normalise(ScreenPos.x, ::GetSystemMetrics(SM_CXSCREEN)),
                     Normalise(ScreenPos.y, ::GetSystemMetrics(SM_CYSCREEN))));
}

void SendMouseButton(bool Down)
{
  SendOne(MouseInput(Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP));
}

void SendKeyTransition(WORD VirtualKey, bool Down)
{
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = VirtualKey;
  in.ki.dwFlags = Down ? 0 : KEYEVENTF_KEYUP;
  SendOne(in);
}

void SendKeyStroke(WORD VirtualKey)
{
  SendKeyTransition(VirtualKey, true);
  SendKeyTransition(VirtualKey, false);
}

void PauseScript(int Ms)
{
  ::Sleep(DWORD(Ms));
}

bool WaitInScript(const std::function<bool()>& Condition, int TimeoutMs)
{
  const ULONGLONG end = ::GetTickCount64() + ULONGLONG(TimeoutMs);
  while (!Condition()) {
    if (::GetTickCount64() >= end)
      return false;
    ::Sleep(5);
  }
  return true;
}

HWND CaptureOfThread(DWORD ThreadId)
{
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return ::GetGUIThreadInfo(ThreadId, &info) ? info.hwndCapture : nullptr;
}

bool RunScript(const std::function<void()>& Script, const std::function<bool()>& Done, int DelayMs, int TimeoutMs)
{
  std::atomic<bool> finished{false};
  std::thread helper([&] {
    PauseScript(DelayMs);
    Script();
    finished = true;
  });
  const bool done = PumpUntil([&] { return finished.load() && Done(); }, TimeoutMs);
  helper.join();
  PumpPending();
  return done;
}

bool TryAgainAfterStalePointer(int AAttempt, bool AAsExpected)
{
  return !AAsExpected && AAttempt < 4;
}

void EndDragFromScript(bool ADrop)
{
  if (!ADrop) {
    SendKeyTransition(VK_ESCAPE, true);
    SendKeyTransition(VK_ESCAPE, false);
    PauseScript(50);
  }
  SendMouseButton(false);
}

void RunWithHelperThread(const std::function<void()>& Loop, const std::function<void()>& Script, int DelayMs)
{
  std::thread helper([&Script, DelayMs] {
    PauseScript(DelayMs);
    Script();
  });
  Loop();
  helper.join();
}
