// The manager list and the three thread hooks it owns: installing and removing them, the
// process-wide key and activation state, the mouse hook and the call-window hook. The keyboard
// hook's work lives in bars/keyboard/hooks_keyboard.cpp. No exception leaves a hook procedure.
#include "bars/keyboard/hooks.h"

#include "bars/keyboard/hooks_internal.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/hints/hintwindow.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/keyboard/navigation.h"
#include "bars/model/startup.h"
#include "platform/Application.h"
#include "platform/Forms.h"
#include "platform/Profile.h"
#include "platform/Scope.h"

namespace {

TdxBarHookServices GServices;

HHOOK GKeyboardHook = nullptr;
HHOOK GMouseHook = nullptr;
bool GCallWndHooked = false;

bool GEatAllKeys = false;
bool GAltWentDownAlone = false;
bool GInMouseHook = false;        // the mouse handling is not re-entered
bool GCallWndSuppressed = false;  // the call-window hook looks a manager up itself

bool GApplicationActive = true;
bool GDeactivatedTowardsOtherProcess = false;

// Button-down and double-click messages, client and non-client.
bool IsButtonDown(UINT AMessage)
{
  return IsMouseButtonDownMessage(AMessage);
}

bool IsSideButtonUp(UINT AMessage)
{
  return AMessage == WM_RBUTTONUP || AMessage == WM_NCRBUTTONUP || AMessage == WM_MBUTTONUP ||
         AMessage == WM_NCMBUTTONUP;
}

bool IsRightButtonDown(UINT AMessage)
{
  return AMessage == WM_RBUTTONDOWN || AMessage == WM_RBUTTONDBLCLK || AMessage == WM_NCRBUTTONDOWN ||
         AMessage == WM_NCRBUTTONDBLCLK;
}

// The bar window a window belongs to: itself or the nearest bar window among its parents.
TCustomdxBarControl* BarControlOf(HWND AWnd)
{
  for (HWND wnd = AWnd; wnd; wnd = GetParent(wnd))
    if (auto* control = dynamic_cast<TCustomdxBarControl*>(FindControl(wnd)))
      return control;
  return nullptr;
}

// A press on a window a bar window hosts (an editor, a combo's edit) reaches that bar window
// too, as a press on the item beneath it, which the bar then selects. The right button is
// left out: the hosted editors hand it on themselves.
void ForwardPressToHostingBar(UINT AMessage, HWND ATarget, POINT AScreenPos)
{
  if (!ATarget || IsRightButtonDown(AMessage) || AMessage < WM_MOUSEFIRST || AMessage > WM_MOUSELAST)
    return;
  TCustomdxBarControl* bar = BarControlOf(ATarget);
  if (!bar || !bar->HandleAllocated() || bar->GetHandle() == ATarget || !IsChild(bar->GetHandle(), ATarget))
    return;
  POINT p = AScreenPos;
  ScreenToClient(bar->GetHandle(), &p);
  WPARAM keys = 0;
  if (GetKeyState(VK_LBUTTON) < 0)
    keys |= MK_LBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0)
    keys |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0)
    keys |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0)
    keys |= MK_CONTROL;
  SendMessageW(bar->GetHandle(), AMessage, keys, MAKELPARAM(p.x, p.y));
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

// The selected control of the active bar window edits in place: keys and the wheel are its.
bool IsActiveEditorEditing()
{
  TCustomdxBarControl* active = ActiveBarControl();
  return active && active->IsEditorEditing();
}

// The customized form's own controls must not react while the Customize dialog is open: a
// client mouse message aimed at one of them becomes a non-client one with HTERROR addressed to
// the form, and one over a bar window of the customizing manager reaches that window instead.
bool RedirectWhileCustomizing(UINT AMessage, HWND ATarget, POINT AScreenPos)
{
  TdxBarManagerList* list = dxBarManagerList();
  TdxBarManager* manager = list ? list->GetCustomizingManager() : nullptr;
  HWND dialog = manager ? manager->GetCustomizingFormHandle() : nullptr;
  if (!dialog || AMessage < WM_MOUSEMOVE || AMessage > WM_MBUTTONDBLCLK)
    return false;
  TCustomForm* form = manager->GetTopLevelForm();
  if (!form || !form->HandleAllocated() || !ATarget || !IsChild(form->GetHandle(), ATarget))
    return false;
  TCustomdxBarControl* bar = BarControlOf(ATarget);
  if (bar && bar->GetBarManager() == manager)
    return false;  // bar windows of the customizing manager handle customizing themselves
  if (AMessage != WM_MOUSEMOVE)
    SetForegroundWindow(dialog);
  const LPARAM screen = MAKELPARAM(AScreenPos.x, AScreenPos.y);
  HWND under = WindowFromPoint(AScreenPos);
  TCustomdxBarControl* target = BarControlOf(under);
  if (target && target->GetBarManager() == manager && target->HandleAllocated()) {
    HWND wnd = target->GetHandle();
    SendMessageW(wnd, WM_NCHITTEST, 0, screen);
    SendMessageW(wnd, WM_SETCURSOR, WPARAM(wnd), MAKELPARAM(HTCLIENT, AMessage));
    POINT client = AScreenPos;
    ScreenToClient(wnd, &client);
    WPARAM keys = 0;
    if (GetAsyncKeyState(VK_SHIFT) < 0)
      keys |= MK_SHIFT;
    if (GetAsyncKeyState(VK_CONTROL) < 0)
      keys |= MK_CONTROL;
    if (IsPrimaryMouseButtonDown())
      keys |= MK_LBUTTON;
    if (IsSecondaryMouseButtonDown())
      keys |= MK_RBUTTON;
    if (GetAsyncKeyState(VK_MBUTTON) < 0)
      keys |= MK_MBUTTON;
    SendMessageW(wnd, AMessage, keys, MAKELPARAM(client.x, client.y));
    return true;
  }
  // Over anything else the form's frame takes it, as the non-client message of the same kind.
  SendMessageW(form->GetHandle(), AMessage - (WM_MOUSEMOVE - WM_NCMOUSEMOVE), WPARAM(HTERROR), screen);
  return true;
}

bool MouseMessage(UINT AMessage, HWND ATarget, POINT AScreenPos)
{
  TdxBarNavigationController* navigation = BarNavigationController();
  if (IsButtonDown(AMessage)) {
    dxBarCancelHint();
    if (navigation)
      navigation->MousePressed();
  }

  TCustomdxBarControl* active = ActiveBarControl();
  if (AMessage == WM_MOUSEWHEEL)
    return active && !IsActiveEditorEditing() && !active->WantsMouseWheel();
  // The window that holds the capture gets its messages untouched.
  if (ATarget && ATarget == GetCapture() && AMessage != WM_RBUTTONUP)
    return false;
  if (RedirectWhileCustomizing(AMessage, ATarget, AScreenPos))
    return true;

  bool eaten = false;
  const bool dragging = dxBarIsDragRunning();
  if (active && !dragging && !GInMouseHook) {
    TRestore guard(GInMouseHook, true);
    const bool inside = IsInsideActiveChain(ATarget);
    if (IsSideButtonUp(AMessage))
      eaten = !inside;
    else if (IsButtonDown(AMessage) && inside) {
      ForwardPressToHostingBar(AMessage, ATarget, AScreenPos);
      eaten = ATarget && !IsWindow(ATarget);
    } else if (IsButtonDown(AMessage) && !inside) {
      // A press outside closes the innermost active window until none is left.
      while (TCustomdxBarControl* current = ActiveBarControl()) {
        TWeakRef<TCustomdxBarControl> ref(current);
        current->Close();
        if (ref && ActiveBarControl() == current)
          break;
      }
      eaten = ATarget && !IsWindowVisible(ATarget);
    }
  }
  if (IsButtonDown(AMessage)) {
    if (GServices.CloseCustomizingPopup)
      GServices.CloseCustomizingPopup(ATarget, IsRightButtonDown(AMessage));
    if (navigation && navigation->IsNavigationOrKeyTipsActive())
      navigation->StopNavigation();
  }
  return eaten;
}

// The hooks after this one see every message, also one this one eats, as for keys.
LRESULT CALLBACK MouseHookProc(int Code, WPARAM WParam, LPARAM LParam)
{
  bool eaten = false;
  if (Code == HC_ACTION && LParam) {
    try {
      const auto* data = reinterpret_cast<const MOUSEHOOKSTRUCT*>(LParam);
      eaten = MouseMessage(UINT(WParam), data->hwnd, data->pt);
    } catch (...) {
      HandleUnexpectedException();
    }
  }
  const LRESULT next = CallNextHookEx(GMouseHook, Code, WParam, LParam);
  return eaten ? 1 : next;
}

// ---------------------------------------------------------------------------
// The call-window hook

bool IsOwnParentOrChild(HWND A, HWND B)
{
  return A && B && (IsChild(A, B) || IsChild(B, A) || GetParent(A) == B || GetParent(B) == A);
}

void KeepActivationState(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
  if (AMessage == WM_ACTIVATEAPP) {
    GApplicationActive = AWParam != 0;
    GDeactivatedTowardsOtherProcess = false;
  } else if (AMessage == WM_ACTIVATE && LOWORD(AWParam) == WA_INACTIVE) {
    auto other = reinterpret_cast<HWND>(ALParam);
    if (other && IsForeignProcessWindow(other))
      GDeactivatedTowardsOtherProcess = true;
  }
}

HWND TopLevelWindowOf(TdxBarManager* AManager)
{
  TWinControl* owner = AManager ? AManager->GetParentControl() : nullptr;
  return owner && owner->HandleAllocated() ? GetAncestor(owner->GetHandle(), GA_ROOT) : nullptr;
}

// The first manager owned by the control whose window AWnd is: the one GetBarManagerOfWindow
// finds, matched on the owners' handles instead, since this runs for every message the thread
// sends and reading the window's control property costs a system call each time.
TdxBarManager* ManagerOfOwnerWindow(HWND AWnd)
{
  TdxBarManagerList* list = dxBarManagerList();
  for (int i = 0; AWnd && list && i < list->Count(); ++i) {
    TdxBarManager* manager = list->GetItem(i);
    auto* owner = ClassCast<TWinControl>(manager->Owner());
    if (owner && owner->HandleAllocated() && owner->GetHandle() == AWnd)
      return manager;
  }
  return nullptr;
}

void RouteToManagers(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
  TdxBarManager* manager = nullptr;
  {
    TRestore suppress(GCallWndSuppressed, true);
    if (AMessage == WM_HELP && ActiveBarControl()) {
      manager = ActiveBarManager();
    } else {
      manager = ManagerOfOwnerWindow(AWnd);
      if (!manager && AMessage == WM_ACTIVATE) {
        HWND parent = GetParent(AWnd);
        if (parent && IsWindowVisible(parent))
          manager = ManagerOfOwnerWindow(parent);
      }
    }
  }
  if (!manager)
    return;
  if (AMessage == WM_ACTIVATE) {
    auto other = reinterpret_cast<HWND>(ALParam);
    if (IsOwnParentOrChild(AWnd, other) && !IsForeignProcessWindow(other))
      return;
  }
  TWeakRef<TdxBarManager> first(manager);
  HWND top = TopLevelWindowOf(manager);
  manager->HandleFormMessage(AWnd, AMessage, AWParam, ALParam);
  TdxBarManagerList* list = dxBarManagerList();
  if (!list || !top)
    return;
  // Copied: a handler may free managers.
  std::vector<TWeakRef<TdxBarManager>> others;
  for (int i = 0; i < list->Count(); ++i)
    if (TdxBarManager* other = list->GetItem(i); other != first.Get())
      others.emplace_back(other);
  for (const TWeakRef<TdxBarManager>& ref : others)
    if (TdxBarManager* other = ref.Get(); other && TopLevelWindowOf(other) == top)
      other->HandleFormMessage(AWnd, AMessage, AWParam, ALParam);
}

TdxBarManager* MainFormManager(TCustomForm*& AMainForm)
{
  AMainForm = Application ? Application->GetMainForm() : nullptr;
  return AMainForm ? GetBarManagerByOwner(AMainForm) : nullptr;
}

// The managers of the active MDI child hear the main form's activation, so that their
// floating bars follow the main form.
void MDIParentMessage(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
  TCustomForm* mainForm = Application ? Application->GetMainForm() : nullptr;
  if (!IsMDIParentForm(mainForm) || !mainForm->HandleAllocated() || mainForm->GetHandle() != AWnd)
    return;
  if (AMessage == WM_ACTIVATE) {
    TCustomForm* child = GetActiveMDIChild();
    TdxBarManagerList* list = dxBarManagerList();
    if (!child || !list)
      return;
    std::vector<TWeakRef<TdxBarManager>> managers;
    for (int i = 0; i < list->Count(); ++i)
      if (list->GetItem(i)->GetMDIChildOrTopLevelForm() == child)
        managers.emplace_back(list->GetItem(i));
    for (const TWeakRef<TdxBarManager>& ref : managers)
      if (TdxBarManager* manager = ref.Get())
        manager->HandleFormMessage(child->HandleAllocated() ? child->GetHandle() : AWnd, AMessage, AWParam, ALParam);
  } else if (AMessage == WM_WINDOWPOSCHANGED) {
    if (TdxBarManagerList* list = dxBarManagerList())
      if (TdxBarManager* customizing = list->GetCustomizingManager())
        customizing->CustomizingFormFollowsForm();
  }
}

bool IsMDIClientWindow(HWND AWnd)
{
  // Outside the library's life (a hook still running while it shuts down) the shared buffer
  // is gone and a local one serves.
  char local[dxBarClassNameBufferSize];
  char* name = dxBarClassNameBuffer() ? dxBarClassNameBuffer() : local;
  return AWnd && GetClassNameA(AWnd, name, dxBarClassNameBufferSize) > 0 && lstrcmpiA(name, "MDICLIENT") == 0;
}

// After the window procedure: a change among the main form's MDI children.
void MDIChildMessage(HWND AWnd, UINT AMessage)
{
  if (AMessage != WM_DESTROY && AMessage != WM_CHILDACTIVATE && AMessage != WM_MDIACTIVATE)
    return;
  TCustomForm* mainForm = nullptr;
  TdxBarManager* manager = MainFormManager(mainForm);
  if (!manager || !mainForm->GetClientHandle())
    return;
  HWND parent = GetParent(AWnd);
  if (parent == mainForm->GetClientHandle() && IsMDIClientWindow(parent))
    manager->ActiveMDIChildMayHaveChanged();
}

// After the window procedure: the focus moved to a window of a form. A host's window system may
// lift the form over everything as it gives the form the input, while the window list still has
// the form's floating bars above it: the form's managers raise them again.
void FocusMessage(HWND AWnd, UINT AMessage)
{
  TdxBarManagerList* list = dxBarManagerList();
  HWND root = AMessage == WM_SETFOCUS && list ? GetAncestor(AWnd, GA_ROOT) : nullptr;
  if (!root)
    return;
  std::vector<TWeakRef<TdxBarManager>> managers;
  for (int i = 0; i < list->Count(); ++i)
    if (TdxBarManager* manager = list->GetItem(i); !manager->IsDestroying() && TopLevelWindowOf(manager) == root)
      managers.emplace_back(manager);
  for (const TWeakRef<TdxBarManager>& ref : managers)
    if (TdxBarManager* manager = ref.Get())
      manager->KeepFloatingBarsAboveForm();
}

// The call-window hook: every message a window of the class layer receives on this thread
// passes here before and after its window procedure. The layer's message observer serves
// in place of a system WH_CALLWNDPROC hook, which costs three requests to the window server
// for every message the thread sends, to any window, whether the library wants it or not.
void CallWndBefore(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
  ProfileCount(TSystemRequest::MessageSent);
  if (GCallWndSuppressed)
    return;
  try {
    KeepActivationState(AWnd, AMessage, AWParam, ALParam);
    RouteToManagers(AWnd, AMessage, AWParam, ALParam);
    MDIParentMessage(AWnd, AMessage, AWParam, ALParam);
  } catch (...) {
    HandleUnexpectedException();
  }
}

void CallWndAfter(HWND AWnd, UINT AMessage, WPARAM, LPARAM)
{
  if (GCallWndSuppressed)
    return;
  try {
    MDIChildMessage(AWnd, AMessage);
    FocusMessage(AWnd, AMessage);
  } catch (...) {
    HandleUnexpectedException();
  }
}

}  // namespace

HHOOK dxBarKeyboardHookHandle()
{
  return GKeyboardHook;
}
bool dxBarEatingAllKeys()
{
  return GEatAllKeys;
}

// ---------------------------------------------------------------------------
// Services, installation and state

const TdxBarHookServices& dxBarHookServices()
{
  return GServices;
}

TdxBarHookServices SetdxBarHookServices(TdxBarHookServices AServices)
{
  std::swap(GServices, AServices);
  return AServices;
}

void dxBarInstallHooks()
{
  const DWORD thread = GetCurrentThreadId();
  if (!GKeyboardHook)
    GKeyboardHook = SetWindowsHookExW(WH_KEYBOARD, dxBarKeyboardHookProc, nullptr, thread);
  if (!GMouseHook)
    GMouseHook = SetWindowsHookExW(WH_MOUSE, MouseHookProc, nullptr, thread);
  if (!GCallWndHooked) {
    SetWindowMessageObserver({CallWndBefore, CallWndAfter, thread});
    GCallWndHooked = true;
  }
}

void dxBarRemoveHooks()
{
  for (HHOOK* hook : {&GKeyboardHook, &GMouseHook})
    if (*hook) {
      UnhookWindowsHookEx(*hook);
      *hook = nullptr;
    }
  if (GCallWndHooked) {
    SetWindowMessageObserver({});
    GCallWndHooked = false;
  }
}

int dxBarInstalledHookCount()
{
  return int(GKeyboardHook != nullptr) + int(GMouseHook != nullptr) + int(GCallWndHooked);
}

bool dxBarAltWentDownAlone()
{
  return GAltWentDownAlone;
}

void dxBarSetAltWentDownAlone(bool Value)
{
  GAltWentDownAlone = Value;
}

namespace {
int GDragsRunning = 0;
}

TdxBarDragRunning::TdxBarDragRunning()
{
  ++GDragsRunning;
}

TdxBarDragRunning::~TdxBarDragRunning()
{
  --GDragsRunning;
}

bool dxBarIsDragRunning()
{
  return GDragsRunning > 0 || (GServices.IsDragging && GServices.IsDragging());
}

TdxBarEatAllKeys::TdxBarEatAllKeys() : FOld(GEatAllKeys)
{
  GEatAllKeys = true;
}

TdxBarEatAllKeys::~TdxBarEatAllKeys()
{
  GEatAllKeys = FOld;
}

bool dxBarMouseHookMessage(UINT AMessage, HWND ATarget, POINT AScreenPos, UINT)
{
  return MouseMessage(AMessage, ATarget, AScreenPos);
}

void dxBarCallWndHookMessage(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
  KeepActivationState(AWnd, AMessage, AWParam, ALParam);
  RouteToManagers(AWnd, AMessage, AWParam, ALParam);
  MDIParentMessage(AWnd, AMessage, AWParam, ALParam);
  MDIChildMessage(AWnd, AMessage);
  FocusMessage(AWnd, AMessage);
}

bool dxBarApplicationActiveFlag()
{
  return GApplicationActive;
}

bool dxBarDeactivatedTowardsOtherProcess()
{
  return GDeactivatedTowardsOtherProcess;
}

// ---------------------------------------------------------------------------
// The manager list

IMPLEMENT_CLASS(TdxBarManagerList, TObjectList)

TdxBarManager* TdxBarManagerList::GetItem(int Index) const
{
  return static_cast<TdxBarManager*>(Items(Index));
}

void TdxBarManagerList::AddManager(TdxBarManager* AManager)
{
  if (!AManager)
    return;
  if (IndexOf(AManager) < 0) {
    if (Count() == 0)
      dxBarInstallHooks();
    Add(AManager);
    if (GServices.ManagerAdded)
      GServices.ManagerAdded(AManager);
  }
  if (!AManager->IsDesigning())
    dxBarCreateHintWindow();
}

void TdxBarManagerList::RemoveManager(TdxBarManager* AManager)
{
  if (Remove(AManager) < 0)
    return;
  if (Count() == 0) {
    dxBarRemoveHooks();
    dxBarFreeHintWindow();
  }
  if (GServices.ManagerRemoved)
    GServices.ManagerRemoved(AManager);
}

TdxBarManagerList::~TdxBarManagerList()
{
  dxBarRemoveHooks();
}

TdxBarManager* TdxBarManagerList::GetCustomizingManager() const
{
  for (int i = 0; i < Count(); ++i)
    if (GetItem(i)->IsCustomizing())
      return GetItem(i);
  return nullptr;
}

namespace {

// A manager is active on AForm when its owner's window sits on that form and, on an MDI
// child, that child is the active one.
bool IsActiveOnForm(TdxBarManager* AManager, TCustomForm* ATopForm)
{
  if (!ATopForm || AManager->GetTopLevelForm() != ATopForm)
    return false;
  TCustomForm* form = AManager->GetMDIChildOrTopLevelForm();
  return !IsMDIChildForm(form) || form == GetActiveMDIChild();
}

}  // namespace

TdxBarManager* TdxBarManagerList::GetNextManager(TdxBarManager* AManager, bool AForward) const
{
  const int index = IndexOf(AManager);
  const int count = Count();
  if (index < 0 || count < 2)
    return AManager;
  TCustomForm* form = AManager->GetTopLevelForm();
  for (int step = 1; step < count; ++step) {
    TdxBarManager* candidate = GetItem(((index + (AForward ? step : -step)) % count + count) % count);
    if (IsActiveOnForm(candidate, form))
      return candidate;
  }
  return AManager;
}
