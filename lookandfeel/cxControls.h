// Window, mouse and message services of the drawing base: window-tree tests, coordinate
// mapping, shift-state conversions, mouse-leave tracking, queue clean-up, remembered
// disabled windows, the hidden message window, the timer component and the designer
// notification helper.
#pragma once

#include <vector>

#include "platform/Controls.h"
#include "platform/ExtCtrls.h"
#include "platform/Messages.h"

// ---------------------------------------------------------------------------
// Windows and coordinates.

// The control has a window, or a parent (or parent window) that has or can get one, or it
// is a form while the application window exists. False for nil.
bool CanAllocateHandle(TWinControl* AControl);
// The work area of the monitor nearest to P (screen coordinates).
TRect GetMonitorWorkAreaAtPoint(const TPoint& P);

// The "no point" value GetMouseCursorPos answers when the cursor cannot be read.
constexpr TPoint cxInvalidPoint{-1, -1};
TPoint GetMouseCursorPos();

bool IsChildWindowStyle(HWND AWnd);
// AWnd is AParent or one of its descendants.
bool IsSameOrChildWindow(HWND AParent, HWND AWnd);
// AAncestor lies in AWnd's parent chain (AWnd itself does not count).
bool IsAncestorWindow(HWND AAncestor, HWND AWnd);
// The first window without the child style, from AWnd itself up its parent chain; nil
// for nil.
HWND GetNonChildAncestorWindow(HWND AWnd);
// Coordinates of AFrom's client area mapped to ATo's (nil is the screen).
TPoint MapWindowPoint(HWND AFrom, HWND ATo, const TPoint& P);
// Both corners mapped, so the rectangle keeps its orientation.
TRect MapWindowRect(HWND AFrom, HWND ATo, const TRect& R);

// ---------------------------------------------------------------------------
// Keyboard and mouse state.

// A character a text can show: code 32 or above.
bool IsNonControlChar(wchar_t Ch);
// The MK_ flags of a mouse message: shift 4, ctrl 8, left 1, right 2, middle 16.
WORD ShiftStateToMouseKeys(TShiftState AShift);
// Shift, Ctrl, Alt and the mouse buttons as this thread's keyboard state has them now.
TShiftState GetCurrentShiftState();

// ---------------------------------------------------------------------------
// Mouse-leave tracking. A 10 ms timer watches the cursor against a screen rectangle and
// calls MouseLeave once when the cursor leaves it (or the control it was started for is
// freed); the tracking has ended by then, so the caller may free itself in MouseLeave.
// Callers end their tracking in their destructors.

class IcxMouseTrackingCaller {
public:
  virtual void MouseLeave() = 0;

protected:
  ~IcxMouseTrackingCaller() = default;
};

// Nothing when ACaller is nil or already tracked. AControl may be nil.
void BeginMouseTracking(TWinControl* AControl, const TRect& ABounds, IcxMouseTrackingCaller* ACaller);
void EndMouseTracking(IcxMouseTrackingCaller* ACaller);
bool IsMouseTracking(IcxMouseTrackingCaller* ACaller);

// ---------------------------------------------------------------------------
// Message queue and window enabling.

// Removes this thread's queued messages of AWnd (nil: any window) in the range, one or
// all of them. A quit message met on the way is posted again and ends the clean-up, so
// the message loop still sees it. True when a message (other than the quit) was removed.
bool DiscardPendingMessages(HWND AWnd, UINT AFirstMessage, UINT ALastMessage, bool AAll = true);

using TcxWindowList = std::vector<HWND>;
// Disables AWnd when it is an enabled window and remembers it in AList.
void DisableWindowAndRemember(HWND AWnd, TcxWindowList& AList);
// Enables every remembered window that still exists, then empties the list.
void EnableRememberedWindows(TcxWindowList& AList);

// ---------------------------------------------------------------------------
// True from start-up on when the system is of the NT family at version 5.1 or later
// (every system the library runs on today).
extern bool WinXPFlag;
// The rule behind WinXPFlag: NT platform and (major, minor) at least (5, 1).
bool IsWinXPOrLaterVersion(DWORD APlatformId, DWORD AMajor, DWORD AMinor);

// ---------------------------------------------------------------------------
// A hidden top-level window whose messages go to the virtual WndProc. It is not a
// message-only window, so it also receives broadcasts such as WM_THEMECHANGED and
// WM_SYSCOLORCHANGE.

class TcxMessageWindow : public TObject {
  DECLARE_CLASS(TcxMessageWindow, TObject)
public:
  TcxMessageWindow();
  ~TcxMessageWindow() override;

  // The window, made on first use when the constructor deferred it.
  HWND Handle() const;

protected:
  // ADeferWindow: the window is made when Handle is first asked for, on the thread that
  // asks (under Wine a hidden top-level window costs the window server some forty requests).
  explicit TcxMessageWindow(bool ADeferWindow);

  // Default handling (DefWindowProcW). An exception raised here is reported, never
  // passed to the system.
  virtual void WndProc(TMessage& Message);

private:
  static LRESULT CALLBACK MainWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void CreateHandle() const;
  mutable HWND FHandle = nullptr;
};

// ---------------------------------------------------------------------------
// A timer component: Enabled (True), Interval (1000 ms), OnTimer.

class TcxTimer : public TTimer {
  DECLARE_CLASS(TcxTimer, TTimer)
public:
  explicit TcxTimer(TComponent* AOwner);
};

// ---------------------------------------------------------------------------
// Tells a form's designer that a component changed, unless that is locked or already
// under way. The designer itself lives above this layer: it overrides NotifyDesigner.

class TcxDesignController : public TObject {
  DECLARE_CLASS(TcxDesignController, TObject)
public:
  void DesignerModified(TComponent* AComponent);
  void LockDesignerModified();
  // Never goes below 0.
  void UnlockDesignerModified();
  int DesignerModifiedLockCount() const { return FLockCount; }
  bool IsDesignerModifiedLocked() const { return FLockCount > 0; }

protected:
  // Tells the designer of AComponent's form; there is none at this level.
  virtual void NotifyDesigner(TComponent* AComponent) {}

private:
  int FLockCount = 0;
  bool FNotifying = false;
};

// ---------------------------------------------------------------------------
// Start-up sets WinXPFlag; shut-down ends every mouse tracking (without calls), frees the
// tracking window and unregisters the message-window class. Both are idempotent.
void InitializecxControls();
void FinalizecxControls();
