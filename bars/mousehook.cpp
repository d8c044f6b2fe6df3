#include "bars/mousehook.h"

#include "bars/barcontrol.h"
#include "platform/Controls.h"

namespace {

HHOOK GMouseHook = nullptr;
bool GInHook = false;

bool IsButtonDown(UINT AMessage)
{
  switch (AMessage) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool IsSideButtonUp(UINT AMessage)
{
  return AMessage == WM_RBUTTONUP || AMessage == WM_NCRBUTTONUP || AMessage == WM_MBUTTONUP ||
         AMessage == WM_NCMBUTTONUP;
}

// The bar window a window belongs to: itself or the nearest bar window among its parents.
TCustomdxBarControl* BarControlOf(HWND AWnd)
{
  for (HWND wnd = AWnd; wnd; wnd = GetParent(wnd))
    if (auto* control = dynamic_cast<TCustomdxBarControl*>(FindControl(wnd)))
      return control;
  return nullptr;
}

bool IsInsideActiveChain(HWND AWnd)
{
  TCustomdxBarControl* control = BarControlOf(AWnd);
  if (control && control->IsInActiveChain())
    return true;
  // A window of a chain's selected control (an editor's open drop-down list) counts too.
  for (TCustomdxBarControl* bar = ActiveBarControl(); bar; bar = bar->GetParentBarControl())
    if (bar->IsOwnWindow(AWnd))
      return true;
  return false;
}

LRESULT CALLBACK MouseHookProc(int Code, WPARAM WParam, LPARAM LParam)
{
  if (Code == HC_ACTION && !GInHook && LParam) {
    GInHook = true;
    bool eaten = false;
    try {
      eaten = dxBarMouseHookMessage(UINT(WParam), reinterpret_cast<const MOUSEHOOKSTRUCT*>(LParam)->hwnd);
    } catch (...) {
      HandleUnexpectedException();
    }
    GInHook = false;
    if (eaten)
      return 1;
  }
  return CallNextHookEx(GMouseHook, Code, WParam, LParam);
}

}  // namespace

bool dxBarMouseHookMessage(UINT AMessage, HWND ATarget)
{
  if (!ActiveBarControl())
    return false;
  // The window that holds the capture gets its messages untouched.
  if (ATarget && ATarget == GetCapture() && AMessage != WM_RBUTTONUP)
    return false;
  const bool inside = IsInsideActiveChain(ATarget);
  if (IsSideButtonUp(AMessage))
    return !inside;
  if (!IsButtonDown(AMessage) || inside)
    return false;
  // A press outside closes the innermost active window until none is left.
  while (TCustomdxBarControl* active = ActiveBarControl()) {
    TWeakRef<TCustomdxBarControl> ref(active);
    active->Close();
    if (ref && ActiveBarControl() == active)
      break;
  }
  return ATarget && !IsWindowVisible(ATarget);
}

void dxBarInstallMouseHook()
{
  if (!GMouseHook)
    GMouseHook = SetWindowsHookExW(WH_MOUSE, MouseHookProc, nullptr, GetCurrentThreadId());
}

void dxBarRemoveMouseHook()
{
  if (GMouseHook) {
    UnhookWindowsHookEx(GMouseHook);
    GMouseHook = nullptr;
  }
}

bool dxBarIsMouseHookInstalled()
{
  return GMouseHook != nullptr;
}
