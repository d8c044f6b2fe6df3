// The thread hooks of the bar library. Bars and menus never take the focus, so the library
// watches the thread's input itself: a keyboard hook (shortcuts, Alt and F10, keys while a
// menu or keyboard navigation is active), a mouse hook (menus closed by outside clicks, the
// wheel, customizing) and a call-window hook (activation, settings and colour changes reaching
// the managers), the last one as the class layer's observer of its windows' messages. They
// exist while at least one bar manager does; the manager list owns them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Win.h"

class TdxBarManager;
class TCustomdxBarControl;

// What the hooks ask of the parts that sit beside or above them. Each entry is optional: a
// nil entry behaves as if that part were absent. A part fills its own entries and keeps the
// others: `auto s = dxBarHookServices(); s.IsDragging = ...; SetdxBarHookServices(s);`.
struct TdxBarHookServices {
  // Whether a mouse drag of a part beside the library runs (the library's own drags hold a
  // TdxBarDragRunning instead).
  std::function<bool()> IsDragging;
  // The design controller: Esc offered to it (true: taken), Delete of its selection (true:
  // deleted).
  std::function<bool()> DesignEscape;
  std::function<bool(bool ACtrlHeld)> DesignDelete;
  // The design controller's customizing popup menu: closed by a button-down on Target outside
  // it (a right button-down leaves an owner popup open); false when none is open.
  std::function<bool(HWND ATarget, bool ARightButton)> CloseCustomizingPopup;
  // The popup menus of a manager (the popup-menu component): the item with the shortcut is
  // clicked; true when one was.
  std::function<bool(TdxBarManager* AManager, uint16_t AShortCut)> PopupMenusShortCut;
  // Called with a manager just added to / removed from the manager list.
  std::function<void(TdxBarManager*)> ManagerAdded;
  std::function<void(TdxBarManager*)> ManagerRemoved;
};
const TdxBarHookServices& dxBarHookServices();
// Installs new services and returns the previous ones.
TdxBarHookServices SetdxBarHookServices(TdxBarHookServices AServices);

// --- The hooks' life (the manager list calls these).
void dxBarInstallHooks();
// Keyboard, mouse and call-window hook in that order, each only when installed.
void dxBarRemoveHooks();
// How many of the three hooks are installed now.
int dxBarInstalledHookCount();

// --- Process-wide key state.
// Alt (or F10) went down with no other key since; the navigation controller reads it.
bool dxBarAltWentDownAlone();
void dxBarSetAltWentDownAlone(bool Value);
// Every key of the thread is eaten while a bar window tracks keys itself. Held by a scope,
// so that an exception cannot leave the thread without keyboard input.
class TdxBarEatAllKeys {
public:
  TdxBarEatAllKeys();
  ~TdxBarEatAllKeys();
  TdxBarEatAllKeys(const TdxBarEatAllKeys&) = delete;
  TdxBarEatAllKeys& operator=(const TdxBarEatAllKeys&) = delete;

private:
  bool FOld;
};
// A drag of the library's own runs (a menu torn off, a link or command dragged while
// customizing): the hooks leave keys and clicks to its loop. Held by a scope, so that a
// check a part installs in the services meanwhile stays.
class TdxBarDragRunning {
public:
  TdxBarDragRunning();
  ~TdxBarDragRunning();
  TdxBarDragRunning(const TdxBarDragRunning&) = delete;
  TdxBarDragRunning& operator=(const TdxBarDragRunning&) = delete;
};
// Whether a drag runs: one of the library's own, or one a part reports through the services.
bool dxBarIsDragRunning();
// The virtual key whose key-down the library consumed (its key-up is consumed too); 0: none.
uint16_t dxBarRememberedKey();

// --- The hooks' work, callable directly (tests, and an item control that feeds a key).
// One key as the keyboard hook sees it (code HC_ACTION, the key message's flags in AFlags);
// true when the key is eaten. A key fed by an item control does not call the next hook.
bool dxBarKeyboardHookMessage(uint16_t AKey, LPARAM AFlags);
bool dxBarFeedKeyToKeyboardHook(uint16_t AKey, LPARAM AFlags);
// One mouse message as the mouse hook sees it (code HC_ACTION); true when it is eaten.
bool dxBarMouseHookMessage(UINT AMessage, HWND ATarget, POINT AScreenPos = {0, 0}, UINT AHitTest = HTCLIENT);
// One sent message as the call-window hook sees it, before and after the window procedure.
void dxBarCallWndHookMessage(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM AWLParam);

// --- The manager a key goes to and what it does there.
// The manager for a key typed now (nil: none); for Alt and F10 also the navigation root found
// on the way (ANavigationRoot may be nil).
class IdxBarAccessibilityHelper;
TdxBarManager* dxBarFindManagerForKey(uint16_t AKey, std::shared_ptr<IdxBarAccessibilityHelper>* ANavigationRoot);
// Runs the shortcut through the popup menu of the focused control, the bars and popup menus
// of the managers around AManager's owner, then of its companions on the same form, and
// finally (Alt held) the accelerator search. True when something took it.
bool dxBarProcessShortCut(TdxBarManager* AManager, uint16_t AKey, LPARAM AFlags);

// --- Process-wide activation state kept by the call-window hook.
// From WM_ACTIVATEAPP (initially true).
bool dxBarApplicationActiveFlag();
// A window of this thread was deactivated towards another process's window since the last
// WM_ACTIVATEAPP.
bool dxBarDeactivatedTowardsOtherProcess();
