#include "platform/ExtCtrls.h"

#include "platform/Controls.h"
#include "platform/Win.h"

PUBLISHED(TTimer, TComponent)
{
  p.Prop(L"Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
  p.Prop(L"Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000);
  p.Event(L"OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer);
}

namespace {
constexpr UINT_PTR TimerID = 1;
}

// The hidden window class every timer's window belongs to, registered once per process
// in the module that holds this code.
class TTimerWindowClass {
public:
  static const wchar_t* Name()
  {
    static const wchar_t* name = Register();
    return name;
  }

  static HINSTANCE Module()
  {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&TTimerWindowClass::WindowProc), &module);
    return module;
  }

private:
  static const wchar_t* Register()
  {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TTimerWindowClass::WindowProc;
    wc.hInstance = Module();
    wc.lpszClassName = L"TTimerWindow";
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EOutOfResources(L"Cannot register the timer window class");
    return wc.lpszClassName;
  }

  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
  {
    if (msg != WM_TIMER || wParam != TimerID)
      return DefWindowProcW(wnd, msg, wParam, lParam);
    // The handler may free the timer (and so this window): nothing is touched after it.
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (timer) {
      try {
        timer->Timer();
      } catch (...) {
        HandleUnexpectedException(timer);
      }
    }
    return 0;
  }
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer()
{
  if (HWND wnd = static_cast<HWND>(FWindowHandle)) {
    KillTimer(wnd, TimerID);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    DestroyWindow(wnd);
  }
}

void* TTimer::WindowHandle() const
{
  if (FWindowHandle)
    return FWindowHandle;
  HWND wnd = CreateWindowExW(0, TTimerWindowClass::Name(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             TTimerWindowClass::Module(), nullptr);
  if (!wnd)
    throw EOutOfResources(L"Cannot create the timer window (error " + IntToStr(GetLastError()) + L")");
  SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  FWindowHandle = wnd;
  return wnd;
}

void TTimer::SetEnabled(bool Value)
{
  if (Value == FEnabled)
    return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(uint32_t Value)
{
  if (Value == FInterval)
    return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& Value)
{
  FOnTimer = Value;
  UpdateTimer();
}

void TTimer::UpdateTimer()
{
  const bool run = FInterval != 0 && FEnabled && FOnTimer.Assigned();
  if (!run && !FWindowHandle)
    return;  // never ran: no window, no system timer to kill
  HWND wnd = static_cast<HWND>(WindowHandle());
  KillTimer(wnd, TimerID);
  if (run && !SetTimer(wnd, TimerID, FInterval, nullptr))
    throw EOutOfResources(L"Not enough timers available");
}

void TTimer::Timer()
{
  CallEvent(FOnTimer, this);
}
