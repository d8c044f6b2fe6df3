// Window-tree tests, coordinates, keyboard state, the message queue, the version flag, the
// timer component, the designer notification helper and the unit's start-up.
#include "lookandfeel/cxControls.h"

#include "platform/Forms.h"

IMPLEMENT_CLASS(TcxTimer, TTimer)
IMPLEMENT_CLASS(TcxDesignController, TObject)

bool WinXPFlag = false;

// Defined in messagewindow.cpp and mousetracking.cpp.
void FinalizeMessageWindowClass();
void FinalizeMouseTracking();

// ---------------------------------------------------------------------------

bool CanAllocateHandle(TWinControl* AControl)
{
  if (!AControl)
    return false;
  if (AControl->HandleAllocated())
    return true;
  if (TWinControl* parent = AControl->GetParent())
    return CanAllocateHandle(parent);
  if (HWND parentWindow = AControl->GetParentWindow())
    return IsWindow(parentWindow) != FALSE;
  return dynamic_cast<TCustomForm*>(AControl) && Application && Application->GetHandle();
}

TRect GetMonitorWorkAreaAtPoint(const TPoint& P)
{
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (HMONITOR monitor = MonitorFromPoint(P, MONITOR_DEFAULTTONEAREST))
    if (GetMonitorInfoW(monitor, &info))
      return info.rcWork;
  TRect area{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
    area = TRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return area;
}

TPoint GetMouseCursorPos()
{
  POINT p;
  return GetCursorPos(&p) ? p : cxInvalidPoint;
}

bool IsChildWindowStyle(HWND AWnd)
{
  return AWnd && (GetWindowLongPtrW(AWnd, GWL_STYLE) & WS_CHILD) != 0;
}

bool IsSameOrChildWindow(HWND AParent, HWND AWnd)
{
  return AParent && AWnd && (AParent == AWnd || IsChild(AParent, AWnd));
}

bool IsAncestorWindow(HWND AAncestor, HWND AWnd)
{
  if (!AAncestor || !AWnd)
    return false;
  for (HWND wnd = GetParent(AWnd); wnd; wnd = GetParent(wnd))
    if (wnd == AAncestor)
      return true;
  return false;
}

HWND GetNonChildAncestorWindow(HWND AWnd)
{
  HWND wnd = AWnd;
  while (wnd && IsChildWindowStyle(wnd))
    wnd = GetParent(wnd);
  return wnd;
}

TPoint MapWindowPoint(HWND AFrom, HWND ATo, const TPoint& P)
{
  POINT p = P;
  MapWindowPoints(AFrom, ATo, &p, 1);
  return p;
}

TRect MapWindowRect(HWND AFrom, HWND ATo, const TRect& R)
{
  return Rect(MapWindowPoint(AFrom, ATo, TopLeft(R)), MapWindowPoint(AFrom, ATo, BottomRight(R)));
}

// ---------------------------------------------------------------------------

bool IsNonControlChar(wchar_t Ch)
{
  return Ch >= 32;
}

WORD ShiftStateToMouseKeys(TShiftState AShift)
{
  WORD keys = 0;
  if (AShift.Contains(ssShift))
    keys |= MK_SHIFT;
  if (AShift.Contains(ssCtrl))
    keys |= MK_CONTROL;
  if (AShift.Contains(ssLeft))
    keys |= MK_LBUTTON;
  if (AShift.Contains(ssRight))
    keys |= MK_RBUTTON;
  if (AShift.Contains(ssMiddle))
    keys |= MK_MBUTTON;
  return keys;
}

TShiftState GetCurrentShiftState()
{
  BYTE state[256];
  if (!GetKeyboardState(state))
    return TShiftState();
  TShiftState shift;
  auto down = [&](int key) { return (state[key] & 0x80) != 0; };
  if (down(VK_SHIFT))
    shift += ssShift;
  if (down(VK_CONTROL))
    shift += ssCtrl;
  if (down(VK_MENU))
    shift += ssAlt;
  if (down(VK_LBUTTON))
    shift += ssLeft;
  if (down(VK_RBUTTON))
    shift += ssRight;
  if (down(VK_MBUTTON))
    shift += ssMiddle;
  return shift;
}

// ---------------------------------------------------------------------------

bool DiscardPendingMessages(HWND AWnd, UINT AFirstMessage, UINT ALastMessage, bool AAll)
{
  bool removed = false;
  MSG msg;
  while (PeekMessageW(&msg, AWnd, AFirstMessage, ALastMessage, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The loop that owns the quit must still see it.
      PostQuitMessage(int(msg.wParam));
      break;
    }
    removed = true;
    if (!AAll)
      break;
  }
  return removed;
}

void DisableWindowAndRemember(HWND AWnd, TcxWindowList& AList)
{
  if (AWnd && IsWindow(AWnd) && IsWindowEnabled(AWnd)) {
    EnableWindow(AWnd, FALSE);
    AList.push_back(AWnd);
  }
}

void EnableRememberedWindows(TcxWindowList& AList)
{
  for (HWND wnd : AList)
    if (IsWindow(wnd))
      EnableWindow(wnd, TRUE);
  AList.clear();
}

// ---------------------------------------------------------------------------

bool IsWinXPOrLaterVersion(DWORD APlatformId, DWORD AMajor, DWORD AMinor)
{
  return APlatformId == VER_PLATFORM_WIN32_NT && (AMajor > 5 || (AMajor == 5 && AMinor >= 1));
}

namespace {

// The version the system really runs: RtlGetVersion is not bent by the manifest as
// GetVersionEx is.
bool ReadSystemVersion(OSVERSIONINFOW& Info)
{
  Info = OSVERSIONINFOW{};
  Info.dwOSVersionInfoSize = sizeof Info;
  using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll"))
    if (auto rtlGetVersion =
            reinterpret_cast<TRtlGetVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion"))))
      if (rtlGetVersion(&Info) == 0)
        return true;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return GetVersionExW(&Info) != FALSE;
#pragma GCC diagnostic pop
}

bool gControlsInitialized = false;

}  // namespace

// ---------------------------------------------------------------------------

TcxTimer::TcxTimer(TComponent* AOwner) : TTimer(AOwner) {}

// ---------------------------------------------------------------------------

void TcxDesignController::DesignerModified(TComponent* AComponent)
{
  if (!AComponent || FLockCount > 0 || FNotifying)
    return;
  FNotifying = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{FNotifying};
  NotifyDesigner(AComponent);
}

void TcxDesignController::LockDesignerModified()
{
  ++FLockCount;
}

void TcxDesignController::UnlockDesignerModified()
{
  if (FLockCount > 0)
    --FLockCount;
}

// ---------------------------------------------------------------------------

void InitializecxControls()
{
  if (gControlsInitialized)
    return;
  gControlsInitialized = true;
  OSVERSIONINFOW info;
  WinXPFlag =
      ReadSystemVersion(info) && IsWinXPOrLaterVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

void FinalizecxControls()
{
  FinalizeMouseTracking();
  FinalizeMessageWindowClass();
  WinXPFlag = false;
  gControlsInitialized = false;
}
