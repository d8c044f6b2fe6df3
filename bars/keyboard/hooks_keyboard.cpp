// The keyboard hook: keys for an open menu or keyboard navigation, Esc and Delete while
// customizing, the manager a key belongs to, Alt and F10, shortcuts across bars, popup menus
// and managers, and the Alt accelerator search.
#include "bars/keyboard/hooks.h"

#include <algorithm>

#include "bars/keyboard/hooks_internal.h"

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/hints/hintwindow.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/keyboard/navigation.h"
#include "bars/model/popupmenulinks.h"
#include "bars/model/startup.h"
#include "bars/barwindows/toolbar.h"
#include "platform/Application.h"
#include "platform/Forms.h"
#include "platform/Scope.h"

namespace {

uint16_t GRememberedKey = 0;
uint16_t GEditorKey = 0;  // the last key whose key-down an editing in-place editor got
bool GKeyFromItemControl = false;
// A key typed with Alt held was taken (an accelerator, an Alt shortcut): Alt's key-up is
// eaten too, or the window would take the lone key-up for the start of its own menu mode.
bool GEatAltKeyUp = false;

bool IsHeld(int AKey)
{
  return GetKeyState(AKey) < 0;
}

bool IsMenuKey(uint16_t AKey)
{
  return AKey == VK_MENU || AKey == VK_F10;
}

// ---------------------------------------------------------------------------
// The customizing and menu filter

// What the filter does with a key: leaves it to the rest of the hook, or takes it and then
// eats it or passes it on to the window.
enum class TKeyVerdict { NotMine, Pass, Eat };

TKeyVerdict FilterKey(uint16_t AKey, LPARAM AFlags)
{
  const bool up = KeyDataIsUp(AFlags);
  if (GRememberedKey && up && AKey == GRememberedKey) {
    GRememberedKey = 0;
    return TKeyVerdict::Eat;
  }
  if (dxBarIsDragRunning())
    return TKeyVerdict::Pass;

  // An in-place editor that is editing gets every key, also one that keyboard navigation
  // started, and the key-up of a key whose key-down it got (Tab or Enter end the editing).
  TCustomdxBarControl* active = ActiveBarControl();
  if (active && !active->IsCustomizing() && active->IsEditorEditing()) {
    GEditorKey = up ? 0 : AKey;
    return TKeyVerdict::Pass;
  }
  if (up && GEditorKey == AKey && !GKeyFromItemControl) {
    GEditorKey = 0;
    return TKeyVerdict::Pass;
  }
  TdxBarNavigationController* navigation = BarNavigationController();
  if (navigation && navigation->TakesKey(AKey, AFlags)) {
    if (!up) {
      GRememberedKey = AKey;
      navigation->KeyDown(AKey, AFlags);
      // Alt or F10 that ended the navigation keeps its key-up too: the window would take a
      // lone key-up of it for the start of its own menu mode.
      if (!navigation->IsNavigationOrKeyTipsActive() && !IsMenuKey(AKey))
        GRememberedKey = 0;
      // A key tip typed with Alt held leaves Alt's key-up alone, as an accelerator does.
      if (!IsMenuKey(AKey) && KeyDataHasAlt(AFlags))
        GEatAltKeyUp = true;
    }
    return TKeyVerdict::Eat;
  }

  if (active && !active->IsCustomizing()) {
    TWeakRef<TCustomdxBarControl> ref(active);
    if (!up)
      GRememberedKey = AKey;
    if (active->HandleAllocated())
      SendMessageW(active->GetHandle(), up ? WM_KEYUP : WM_KEYDOWN, AKey, AFlags);
    // The key-up of a key that closed the bar must not reach the focused control either.
    // Whether the key is still down is not asked: fast input has released it already.
    const bool closed = !ref || !ref->GetActive() || ActiveBarControl() != ref.Get();
    if (!up && !closed)
      GRememberedKey = 0;
    return TKeyVerdict::Eat;
  }

  const TdxBarHookServices& services = dxBarHookServices();
  if (AKey == VK_ESCAPE) {
    if (active && active->HandleAllocated() && GetCapture() == active->GetHandle()) {
      ReleaseCapture();
      return TKeyVerdict::Eat;
    }
    if (!up && services.DesignEscape && services.DesignEscape())
      return TKeyVerdict::Eat;
  } else if (AKey == VK_DELETE && !up && services.DesignDelete && services.DesignDelete(IsHeld(VK_CONTROL))) {
    return TKeyVerdict::Eat;
  }
  return TKeyVerdict::NotMine;
}

// ---------------------------------------------------------------------------
// The manager for a key

TdxBarManager* ManagerOfWindow(HWND AWnd)
{
  if (TdxBarManager* manager = GetBarManagerOfWindow(AWnd))
    return manager;
  auto* bar = dynamic_cast<TCustomdxBarControl*>(FindControl(AWnd));
  return bar ? bar->GetBarManager() : nullptr;
}

// Walks from AWnd up the parent windows; for the menu keys each window's navigation target
// answers, for other keys the window's manager.
TdxBarManager* WalkUp(HWND AWnd, uint16_t AKey, TdxBarHelperRef* ARoot)
{
  for (HWND wnd = AWnd; wnd; wnd = GetParent(wnd)) {
    if (IsMenuKey(AKey)) {
      if (TdxBarHelperRef helper = GetWindowAccessibilityHelper(wnd)) {
        if (ARoot)
          *ARoot = helper;
        return helper->GetBarManager();
      }
    } else if (TdxBarManager* manager = ManagerOfWindow(wnd)) {
      return manager;
    }
  }
  return nullptr;
}

HWND WindowOf(TCustomForm* AForm)
{
  return AForm && AForm->HandleAllocated() ? AForm->GetHandle() : nullptr;
}

// The other managers active on AManager's form, in GetNextManager order, each once: the walk
// need not come back to AManager when AManager itself is not active there (an inactive MDI
// child).
std::vector<TdxBarManager*> Companions(TdxBarManager* AManager)
{
  std::vector<TdxBarManager*> result;
  TdxBarManagerList* list = dxBarManagerList();
  for (TdxBarManager* next = list ? list->GetNextManager(AManager, true) : nullptr;
       next && next != AManager && std::find(result.begin(), result.end(), next) == result.end();
       next = list->GetNextManager(next, true))
    result.push_back(next);
  return result;
}

// A companion on the same form already drives a bar from the keyboard.
bool IsCompanionInKeyboardMode(TdxBarManager* AManager)
{
  TdxBarManager* activeManager = ActiveBarManager();
  if (!activeManager || activeManager == AManager)
    return false;
  std::vector<TdxBarManager*> companions = Companions(AManager);
  return std::find(companions.begin(), companions.end(), activeManager) != companions.end();
}

}  // namespace

TdxBarManager* dxBarFindManagerForKey(uint16_t AKey, TdxBarHelperRef* ARoot)
{
  if (ARoot)
    ARoot->reset();
  TdxBarManager* manager = WalkUp(GetFocus(), AKey, ARoot);
  if (!manager)
    manager = WalkUp(WindowOf(GetActiveFormOrMDIChild()), AKey, ARoot);
  if (!manager) {
    TCustomForm* mainForm = Application ? Application->GetMainForm() : nullptr;
    TdxBarHelperRef root;
    TdxBarManager* candidate = WalkUp(WindowOf(mainForm), AKey, &root);
    if (candidate && candidate->GetAllowCallFromAnotherForm()) {
      manager = candidate;
      if (ARoot)
        *ARoot = root;
    }
  }
  if (!manager && !IsMenuKey(AKey)) {
    HWND active = GetActiveWindow();
    auto* control = active ? FindControl(active) : nullptr;
    if (TCustomForm* form = control ? control->AsForm() : nullptr)
      manager = GetBarManagerByOwner(form);
  }
  if (manager && (manager->IsCustomizing() || IsCompanionInKeyboardMode(manager))) {
    if (ARoot)
      ARoot->reset();
    return nullptr;
  }
  return manager;
}

namespace {

// ---------------------------------------------------------------------------
// Shortcuts

bool BarTakesShortCut(TdxBar* ABar, uint16_t AShortCut)
{
  TdxBarControl* control = ABar ? ABar->GetControl() : nullptr;
  if (!control || !control->HandleAllocated() || !IsWindowVisible(control->GetHandle()))
    return false;
  TdxBarItemLinks* links = ABar->GetItemLinks();
  return links && links->IsShortCut(AShortCut);
}

// One manager's main-menu bar, its other visible bars with windows, its popup menus.
bool ManagerTakesShortCut(TdxBarManager* AManager, uint16_t AShortCut)
{
  TWeakRef<TdxBarManager> ref(AManager);
  TdxBars* bars = AManager->GetBars();
  TdxBar* mainMenu = AManager->GetMainMenuBar();
  if (mainMenu && BarTakesShortCut(mainMenu, AShortCut))
    return true;
  // Copied: a click may add or free bars.
  std::vector<TWeakRef<TdxBar>> others;
  for (int i = 0; bars && i < bars->GetCount(); ++i)
    if (bars->GetItem(i) != mainMenu)
      others.emplace_back(bars->GetItem(i));
  for (const TWeakRef<TdxBar>& bar : others)
    if (ref && bar && bar->GetVisible() && BarTakesShortCut(bar.Get(), AShortCut))
      return true;
  const TdxBarHookServices& services = dxBarHookServices();
  return ref && services.PopupMenusShortCut && services.PopupMenusShortCut(AManager, AShortCut);
}

// AManager, the managers of the windows around its owner, then its companions on the form.
std::vector<TWeakRef<TdxBarManager>> ManagersInShortCutOrder(TdxBarManager* AManager)
{
  std::vector<TWeakRef<TdxBarManager>> result;
  auto add = [&result](TdxBarManager* m) {
    for (const TWeakRef<TdxBarManager>& r : result)
      if (r.Get() == m)
        return;
    result.emplace_back(m);
  };
  TWinControl* owner = AManager->GetParentControl();
  if (owner && owner->HandleAllocated()) {
    for (HWND wnd = owner->GetHandle(); wnd; wnd = GetParent(wnd))
      if (TdxBarManager* m = GetBarManagerOfWindow(wnd))
        add(m);
  }
  add(AManager);
  for (TdxBarManager* companion : Companions(AManager))
    add(companion);
  return result;
}

// The Alt accelerator search: a link whose caption marks the key. The only one in its bar is
// clicked by key; otherwise (or when its click would not close menus) its bar enters keyboard
// mode with the link selected.
bool FindAccelerator(const std::vector<TWeakRef<TdxBarManager>>& AManagers, uint16_t AKey)
{
  TShiftState shift = GetShiftState();
  shift.Exclude(ssAlt);
  for (const TWeakRef<TdxBarManager>& ref : AManagers) {
    TdxBarManager* manager = ref.Get();
    TdxBars* bars = manager ? manager->GetBars() : nullptr;
    for (int i = 0; bars && i < bars->GetCount(); ++i) {
      TdxBar* bar = bars->GetItem(i);
      TdxBarControl* window = bar->GetControl();
      TdxBarItemLinks* links = window && window->HandleAllocated() ? window->GetItemLinks() : nullptr;
      TdxBarItemLink* link = links ? links->FindAccelLink(AKey, shift, nullptr) : nullptr;
      TdxBarItemControl* control = link ? link->GetControl() : nullptr;
      if (!control || !link->GetItem() || !link->GetItem()->GetEnabled())
        continue;
      TdxBarItemLink* other = links->FindAccelLink(AKey, shift, link);
      const bool unique = !other || other == link;
      if (unique && control->CloseMenusOnClick()) {
        control->ClickByKey();
      } else {
        TWeakRef<TCustomdxBarControl> windowRef(window);
        static_cast<TCustomdxBarControl*>(window)->ActivateWithControl(control);
        // The only one presses as well: a sub-item opens its menu.
        if (windowRef && link->GetControl())
          windowRef->SelectAndPress(link->GetControl(), unique);
      }
      return true;
    }
  }
  return false;
}

}  // namespace

bool dxBarProcessShortCut(TdxBarManager* AManager, uint16_t AKey, LPARAM AFlags)
{
  const uint16_t shortCut = ShortCutFromKeyMessage(AKey, AFlags);
  HWND focus = GetFocus();
  TControl* focused = focus ? FindControl(focus) : nullptr;
  if (focused)
    if (TdxBarManager* focusedManager = GetBarManagerOfComponent(focused))
      if (dxBarProcessPopupMenuLinksShortCut(focusedManager, focused, shortCut))
        return true;
  if (!AManager)
    return false;
  std::vector<TWeakRef<TdxBarManager>> managers = ManagersInShortCutOrder(AManager);
  for (const TWeakRef<TdxBarManager>& ref : managers)
    if (TdxBarManager* manager = ref.Get(); manager && ManagerTakesShortCut(manager, shortCut))
      return true;
  if (KeyDataHasAlt(AFlags))
    return FindAccelerator(managers, AKey);
  return false;
}

namespace {

// ---------------------------------------------------------------------------
// Alt, F10 and the other keys

bool IsF10ForMenu(uint16_t AKey, TdxBarManager* AManager)
{
  return AKey == VK_F10 && AManager && AManager->GetUseF10ForMenu();
}

bool MenuKeyAndShortCut(uint16_t AKey, LPARAM AFlags)
{
  const bool up = KeyDataIsUp(AFlags);
  TdxBarHelperRef root;
  TdxBarManager* manager = dxBarFindManagerForKey(AKey, &root);
  TdxBarNavigationController* navigation = BarNavigationController();
  if (!up) {
    const bool altAlone = AKey == VK_MENU && !IsHeld(VK_CONTROL);
    const bool f10 = IsF10ForMenu(AKey, manager) && !IsHeld(VK_SHIFT) && !IsHeld(VK_CONTROL) && !KeyDataHasAlt(AFlags);
    if (altAlone || f10) {
      if (KeyDataIsRepeat(AFlags) && AKey == GRememberedKey)
        return false;
      if (AKey == VK_MENU)
        GEatAltKeyUp = false;
      dxBarSetAltWentDownAlone(true);
      // A second root while another waits is a caller's error elsewhere; here it just waits.
      if (root && navigation && root->CanNavigate() && navigation->CanStartNavigation(root))
        navigation->StartNavigation(root);
      return false;
    }
    if (navigation)
      navigation->CancelPending(false);
    const bool taken = dxBarProcessShortCut(manager, AKey, AFlags);
    if (taken && KeyDataHasAlt(AFlags))
      GEatAltKeyUp = true;
    return taken;
  }
  if (AKey == VK_MENU && GEatAltKeyUp) {
    GEatAltKeyUp = false;
    if (navigation)
      navigation->CancelPending(false);
    return true;
  }
  const bool menuKeyUp = dxBarAltWentDownAlone() &&
                         (AKey == VK_MENU || (IsF10ForMenu(AKey, manager) && !IsHeld(VK_SHIFT) && !IsHeld(VK_CONTROL)));
  if (menuKeyUp) {
    dxBarSetAltWentDownAlone(false);
    if (navigation)
      navigation->ActivateOnKeyUp();
    return true;
  }
  if (navigation)
    navigation->CancelPending(false);
  return false;
}

// Input may name the left or right key where messages name the key itself.
uint16_t GenericKey(uint16_t AKey)
{
  switch (AKey) {
    case VK_LMENU:
    case VK_RMENU:
      return VK_MENU;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return VK_CONTROL;
    case VK_LSHIFT:
    case VK_RSHIFT:
      return VK_SHIFT;
    default:
      return AKey;
  }
}

bool KeyMessage(uint16_t AKey, LPARAM AFlags)
{
  AKey = GenericKey(AKey);
  if (AKey == VK_PROCESSKEY)
    return false;
  if (dxBarEatingAllKeys())
    return true;
  if (!KeyDataIsUp(AFlags))
    dxBarCancelHint();
  if (const TKeyVerdict verdict = FilterKey(AKey, AFlags); verdict != TKeyVerdict::NotMine)
    return verdict == TKeyVerdict::Eat;
  if (!GetCapture())
    return MenuKeyAndShortCut(AKey, AFlags);
  return false;
}

}  // namespace

uint16_t dxBarRememberedKey()
{
  return GRememberedKey;
}

bool dxBarKeyboardHookMessage(uint16_t AKey, LPARAM AFlags)
{
  return KeyMessage(AKey, AFlags);
}

bool dxBarFeedKeyToKeyboardHook(uint16_t AKey, LPARAM AFlags)
{
  TRestore direct(GKeyFromItemControl, true);
  return dxBarKeyboardHookProc(HC_ACTION, AKey, AFlags) != 0;
}

LRESULT CALLBACK dxBarKeyboardHookProc(int Code, WPARAM WParam, LPARAM LParam)
{
  LRESULT result = 0;
  if (Code == HC_ACTION) {
    try {
      result = KeyMessage(uint16_t(WParam), LParam) ? 1 : 0;
    } catch (...) {
      HandleUnexpectedException();
    }
  }
  if (GKeyFromItemControl)
    return result;
  LRESULT next = CallNextHookEx(dxBarKeyboardHookHandle(), Code, WParam, LParam);
  return result != 0 ? result : next;
}
