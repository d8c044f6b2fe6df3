// The manager follows its form: the form's activation and the application's, the form shown,
// hidden or minimised, and the work area; floating bars show and hide with them. The
// call-window hook routes the form's messages here.
#include <algorithm>

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/combos.h"
#include "bars/model/customizing.h"
#include "bars/hints/hintwindow.h"
#include "bars/model/manager.h"
#include "bars/keyboard/navigation.h"
#include "bars/barwindows/shadow.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxControls.h"
#include "platform/Application.h"
#include "platform/Forms.h"
#include "platform/Threads.h"

namespace {

HWND FormHandle(TCustomForm* AForm)
{
  return AForm && AForm->HandleAllocated() ? AForm->GetHandle() : nullptr;
}

// A list dropped down from a bar must not stay on the screen over a form that went away.
void CloseDropDownLists(TdxBarManager* AManager)
{
  std::vector<TWeakRef<TCustomdxBarCombo>> combos;
  for (int i = 0; i < AManager->GetItemCount(); ++i)
    if (auto* combo = dynamic_cast<TCustomdxBarCombo*>(AManager->GetItem(i)))
      combos.emplace_back(combo);
  for (const TWeakRef<TCustomdxBarCombo>& ref : combos)
    if (TCustomdxBarCombo* combo = ref.Get())
      combo->CloseDropDowns();
}

// Whether w is AOwner or owned by it, directly or through other owned windows.
bool IsOwnedBy(HWND w, HWND AOwner)
{
  for (int depth = 0; w && depth < 16; ++depth, w = GetWindow(w, GW_OWNER))
    if (w == AOwner)
      return true;
  return false;
}

// Nothing above the form meets ARect but the form's floating bars with their shadows (ABars)
// and see-through windows (the hint): raising a bar there covers nothing the user looks at, be
// it another program's window, a dialog or a drop-down list.
bool IsFormFrontmostAt(HWND AForm, const RECT& ARect, const std::vector<HWND>& ABars)
{
  for (HWND w = GetWindow(AForm, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    RECT r{}, common{};
    const bool isHint =
        dxBarHintWindow() && dxBarHintWindow()->HandleAllocated() && w == dxBarHintWindow()->GetHandle();
    if (isHint || !IsWindowVisible(w) || !GetWindowRect(w, &r) || !IntersectRect(&common, &r, &ARect))
      continue;
    if (std::none_of(ABars.begin(), ABars.end(), [w](HWND bar) { return IsOwnedBy(w, bar); }))
      return false;
  }
  return true;
}

bool GKeepingFloatingBarsAbove = false;

// Puts AWnd first among the windows that are not topmost, as a move in the window list: a
// host's window system may restack the screen only for a window that moves and ends up the
// first one shown, and a window already first would not move at all. Such a window steps
// below the next one first, unpainted (the window system stacks nothing on the screen for a
// window that has a shown one above it, and the step is undone at once), and comes back to
// the top from there. The topmost band is not used: asked to leave it, a window owned with
// its form can stay in it, over every other program's window.
void RestackOnScreen(HWND AWnd)
{
  constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  HWND prev = GetWindow(AWnd, GW_HWNDPREV);
  if (!prev || (GetWindowLongW(prev, GWL_EXSTYLE) & WS_EX_TOPMOST))
    if (HWND next = GetWindow(AWnd, GW_HWNDNEXT))
      SetWindowPos(AWnd, next, 0, 0, 0, 0, flags | SWP_NOREDRAW);
  if (IsWindow(AWnd))
    SetWindowPos(AWnd, HWND_TOP, 0, 0, 0, 0, flags);
}

// The window system may raise the form itself once its activation or a focus change inside it
// is handled, over the bars just raised: those managers raise their bars once more after it.
std::vector<std::pair<TWeakRef<TdxBarManager>, TLaterCall>> GRestackLater;

// One raise of a manager's bars is enough however often it is asked for before it runs.
void KeepFloatingBarsAboveFormLater(TdxBarManager* AManager)
{
  std::erase_if(GRestackLater, [](const auto& r) { return !r.second.Pending(); });
  if (std::any_of(GRestackLater.begin(), GRestackLater.end(),
                  [AManager](const auto& r) { return r.first.Get() == AManager; }))
    return;
  TWeakRef<TdxBarManager> ref(AManager);
  GRestackLater.emplace_back(ref, RunLater([ref] {
                               // The call may come before the window system's own events of a form
                               // just shown: handling them, it can lift the form over everything once
                               // more (as it gives the form the input). Asking for the queue's state
                               // has it take them in now, so that the bars rise after.
                               GetQueueStatus(QS_ALLINPUT);
                               if (TdxBarManager* manager = ref.Get())
                                 manager->RaiseFloatingBarsAboveForm();
                             }));
}

}  // namespace

void TdxBarManager::HandleFormActivationMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  if (IsDestroying())
    return;
  switch (Msg) {
    case WM_ACTIVATE:
      FormActivated(LOWORD(WParam) != WA_INACTIVE, reinterpret_cast<HWND>(LParam));
      break;
    case WM_ACTIVATEAPP:
      ApplicationActivated(WParam != 0);
      break;
    case WM_CHILDACTIVATE:
      SetFormActive(true);
      break;
    case WM_SETTINGCHANGE:
      if (WParam == SPI_SETWORKAREA)
        KeepFloatingBarsOnWorkArea();
      break;
    case WM_DISPLAYCHANGE:
      KeepFloatingBarsOnWorkArea();
      break;
    case WM_CLOSE:
      if (Wnd == FormHandle(GetNearestParentForm())) {
        TWeakRef<TdxBarManager> self(this);
        CloseMenus();
        if (self)
          CloseDropDownLists(this);
      }
      break;
    case WM_CANCELMODE:
      // The system takes the input away (a message box, a disabled form): open menus close.
      CloseActiveBarControl();
      break;
    case WM_SYSCOMMAND:
      // Minimise, maximise, restore and close reach the floating bars through the form's
      // position change; a designer's close closes the open menus first.
      if ((WParam & 0xFFF0) == SC_CLOSE && IsDesigning())
        CloseActiveBarControl();
      break;
    case WM_WINDOWPOSCHANGED:
      // Shown, hidden, minimised, restored or restacked: the floating bars and the hint follow.
      if (Wnd == FormHandle(GetNearestParentForm())) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(LParam);
        if (!IsWindowVisible(Wnd) || IsIconic(GetAncestor(Wnd, GA_ROOT))) {
          TWeakRef<TdxBarManager> self(this);
          // The Customize dialog goes out of sight with the form: a question asked over it,
          // which leaves the form enabled, would stay alone on the screen, answerable about
          // bars nobody sees.
          dxBarCancelCustomizingQuestion(this);
          dxBarHideHintOfManager(this);
          CloseMenus();
          if (self)
            CloseDropDownLists(this);
          if (!self)
            return;
        }
        UpdateFloatingBarsVisibility();
        if (pos && (!(pos->flags & SWP_NOZORDER) || (pos->flags & SWP_SHOWWINDOW)))
          KeepFloatingBarsAboveForm();
        if (IsCustomizing())
          CustomizingFormFollowsForm();
      }
      break;
    default:
      break;
  }
}

void TdxBarManager::CloseActiveBarControl()
{
  if (TCustomdxBarControl* active = ActiveBarControl(); active && active->GetBarManager() == this)
    active->Close();
}

void TdxBarManager::CloseMenus()
{
  TWeakRef<TdxBarManager> self(this);
  CloseActiveBarControl();
  // Menus outside the active chain (opened from code without taking the keyboard) go too;
  // each close may free others, so every one is read through its weak reference.
  for (const TWeakRef<TCustomdxBarControl>& ref : dxBarGetBarControls(this)) {
    if (!self)
      return;
    if (TCustomdxBarControl* bar = ref.Get();
        bar && bar->GetKind() != bckToolbar && !bar->IsClosing() && !bar->IsDestroying())
      bar->Close();
  }
}

void TdxBarManager::FormActivated(bool AActive, HWND AOtherWindow)
{
  TCustomForm* form = GetNearestParentForm();
  HWND formHandle = FormHandle(form);
  if (!formHandle)
    return;
  // An MDI child that is not the active one says nothing about its form.
  if (IsMDIChildForm(form) && GetActiveMDIChild() != form)
    return;
  if (!AActive && AOtherWindow) {
    if (auto* bar = dynamic_cast<TCustomdxBarControl*>(FindControl(AOtherWindow)); bar && bar->GetBarManager() == this)
      return;
    // An in-place editor's drop-down of the selected control.
    if (TCustomdxBarControl* active = ActiveBarControl();
        active && active->GetBarManager() == this && active->GetSelectedControl() && active->IsOwnWindow(AOtherWindow))
      return;
  }
  bool active;
  if (FFormActive && !IsWindowEnabled(formHandle) && !IsDesigning())
    active = true;  // a modal window of its own is up
  else
    active = AActive || AOtherWindow == formHandle;
  SetFormActive(active, AOtherWindow);
  if (active && IsCustomizing())
    if (HWND dialog = GetCustomizingFormHandle(); dialog && IsWindowEnabled(dialog))
      SendMessageW(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
}

void TdxBarManager::ApplicationActivated(bool AActive)
{
  if (!AActive) {
    TCustomForm* form = GetNearestParentForm();
    FFormActiveBeforeAppDeactivation = FFormActive && form && IsWindowEnabled(FormHandle(form));
    SetFormActive(false);
    TWeakRef<TdxBarManager> self(this);
    CloseActiveBarControl();
    if (!self)
      return;
    // A control hot under a resting pointer would stay hot while another program has the
    // input: its bar window is told the mouse left, the way its own tracking tells it.
    for (const TWeakRef<TCustomdxBarControl>& ref : dxBarGetBarControls(this))
      if (TCustomdxBarControl* bar = ref.Get(); bar && bar->GetSelectedControl())
        bar->GetMouseTrackingCaller()->MouseLeave();
    return;
  }
  if (FFormActiveBeforeAppDeactivation) {
    FFormActiveBeforeAppDeactivation = false;
    SetFormActive(true);
  }
}

void TdxBarManager::SetHideFloatingBarsWhenInactive(bool Value)
{
  if (FHideFloatingBarsWhenInactive == Value)
    return;
  FHideFloatingBarsWhenInactive = Value;
  if (!IsLoading())
    UpdateFloatingBarsVisibility();
}

void TdxBarManager::SetFormActive(bool AActive, HWND AOtherWindow)
{
  if (FFormActive == AActive || FSettingFormActive)
    return;
  TRestore guard(FSettingFormActive, true);
  FFormActive = AActive;
  std::vector<TWeakRef<TdxBarControl>> floating = GetFloatingBarControls();
  // The floating captions follow the form's activation.
  if (!FHideFloatingBarsWhenInactive)
    for (const TWeakRef<TdxBarControl>& ref : floating)
      if (TdxBarControl* control = ref.Get(); control && control->HandleAllocated())
        SetWindowPos(control->GetHandle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  HWND formHandle = FormHandle(GetNearestParentForm());
  if (AActive) {
    ShowFloatingBars();
    KeepFloatingBarsAboveForm();
    return;
  }
  if (AOtherWindow && formHandle && IsChild(formHandle, AOtherWindow))
    return;
  TWeakRef<TdxBarManager> self(this);
  HideHint();
  if (TdxBarNavigationController* navigation = BarNavigationController())
    navigation->ManagerDeactivated(this);
  if (!self)
    return;
  CloseActiveBarControl();
  if (!self || !FHideFloatingBarsWhenInactive)
    return;
  TCustomForm* other = AOtherWindow ? dynamic_cast<TCustomForm*>(FindControl(AOtherWindow)) : nullptr;
  const bool otherIsCustomizeDialog = IsCustomizing() && AOtherWindow && AOtherWindow == GetCustomizingFormHandle();
  const bool hide = !AOtherWindow || IsForeignProcessWindow(AOtherWindow) ||
                    (Application && AOtherWindow == Application->GetHandle()) || (other && !otherIsCustomizeDialog);
  if (!hide)
    return;
  HideFloatingBars();
  if (self && formHandle)
    SendMessageW(formHandle, WM_NCACTIVATE, FALSE, 0);
}

std::vector<TWeakRef<TdxBarControl>> TdxBarManager::GetFloatingBarControls() const
{
  std::vector<TWeakRef<TdxBarControl>> result;
  for (int i = 0; FBars && i < FBars->GetCount(); ++i)
    if (TdxBarControl* control = FBars->GetItem(i)->GetControl(); control && control->GetDockingStyle() == dsNone)
      result.emplace_back(control);
  return result;
}

bool TdxBarManager::CanShowFloatingBars() const
{
  TCustomForm* form = GetNearestParentForm();
  HWND formHandle = FormHandle(form);
  if (!formHandle || !IsWindowVisible(formHandle) || IsIconic(GetAncestor(formHandle, GA_ROOT)))
    return false;
  return !FHideFloatingBarsWhenInactive || IsCustomizing() || FFormActive;
}

void TdxBarManager::ShowFloatingBars()
{
  if (!CanShowFloatingBars())
    return;
  for (int i = 0; FBars && i < FBars->GetCount(); ++i) {
    TdxBar* bar = FBars->GetItem(i);
    TdxBarControl* control = bar->GetControl();
    if (!bar->GetVisible() || !control || control->GetDockingStyle() != dsNone || !control->HandleAllocated())
      continue;
    RemoveTemporaryHiddenBar(bar);
    if (!IsWindowVisible(control->GetHandle()))
      control->ShowNoActivate();
  }
}

void TdxBarManager::HideFloatingBars()
{
  for (int i = 0; FBars && i < FBars->GetCount(); ++i) {
    TdxBar* bar = FBars->GetItem(i);
    TWeakRef<TdxBarControl> control(bar->GetControl());
    if (!control || control->GetDockingStyle() != dsNone || !control->HandleAllocated() ||
        !IsWindowVisible(control->GetHandle()))
      continue;
    // Menus open from the bar close first; a menu that refuses keeps the bar.
    auto hasOpenMenus = [&control] { return ActiveBarControl() && control->IsInActiveChain(); };
    if (hasOpenMenus())
      control->Close();
    if (!control || hasOpenMenus())
      continue;
    AddTemporaryHiddenBar(bar);
    ShowWindow(control->GetHandle(), SW_HIDE);
  }
}

void TdxBarManager::UpdateFloatingBarsVisibility()
{
  if (FSettingFormActive)
    return;
  TRestore guard(FSettingFormActive, true);
  if (CanShowFloatingBars())
    ShowFloatingBars();
  else
    HideFloatingBars();
}

// An owned window stays above its owner, but a host's window system can lose the restack
// (the list says above while the screen shows the form over the bar). Raising the bars to the
// top again, lowest first, keeps their order and has the window system stack them anew.
void TdxBarManager::KeepFloatingBarsAboveForm()
{
  TWeakRef<TdxBarManager> self(this);
  RaiseFloatingBarsAboveForm();
  if (self)
    KeepFloatingBarsAboveFormLater(this);
}

void TdxBarManager::RaiseFloatingBarsAboveForm()
{
  HWND form = FormHandle(GetNearestParentForm());
  if (GKeepingFloatingBarsAbove || !form || !IsWindowVisible(form) || IsIconic(GetAncestor(form, GA_ROOT)))
    return;
  TRestore guard(GKeepingFloatingBarsAbove, true);
  const std::vector<TWeakRef<TdxBarControl>> floating = GetFloatingBarControls();
  std::vector<HWND> bars;
  for (const TWeakRef<TdxBarControl>& ref : floating)
    if (TdxBarControl* control = ref.Get(); control && control->HandleAllocated())
      bars.push_back(control->GetHandle());
  std::vector<TWeakRef<TdxBarControl>> shown;
  for (const TWeakRef<TdxBarControl>& ref : floating) {
    TdxBarControl* control = ref.Get();
    RECT r{};
    if (control && control->HandleAllocated() && IsWindowVisible(control->GetHandle()) &&
        GetWindowRect(control->GetHandle(), &r) && IsFormFrontmostAt(form, r, bars))
      shown.push_back(ref);
  }
  // Lowest first, so that the one on top now ends on top. Each step through the window list
  // is a round trip to the window server: the walk ends once every bar is found.
  std::vector<TWeakRef<TdxBarControl>> ordered;
  for (HWND w = shown.empty() ? nullptr : GetWindow(form, GW_HWNDFIRST); w && ordered.size() < shown.size();
       w = GetWindow(w, GW_HWNDNEXT))
    for (const TWeakRef<TdxBarControl>& ref : shown)
      if (ref && ref->GetHandle() == w)
        ordered.insert(ordered.begin(), ref);
  for (const TWeakRef<TdxBarControl>& ref : ordered) {
    if (!ref)
      continue;
    // The shadow first, then the bar over it: the bar then puts its shadow right behind it in
    // the list, where the screen has it already.
    std::vector<HWND> windows;
    if (TdxBarShadow* shadow = ref->GetShadow(); shadow && shadow->GetVisible())
      for (int i = 0; i < shadow->GetPartCount(); ++i)
        if (TdxBarShadowPart* part = shadow->GetPart(i); part->HandleAllocated())
          windows.push_back(part->GetHandle());
    windows.push_back(ref->GetHandle());
    for (HWND w : windows)
      if (ref && IsWindow(w))
        RestackOnScreen(w);
    if (ref)
      ref->UpdateShadow();
  }
}

// Bottom, then top, then right, then left: a bar taller than the work area ends at its top.
void TdxBarManager::KeepFloatingBarsOnWorkArea()
{
  TCustomForm* form = GetNearestParentForm();
  if (!form)
    return;
  TRect formRect = form->GetBoundsRect();
  if (HWND handle = FormHandle(form))
    GetWindowRect(handle, &formRect);
  TRect area =
      GetMonitorWorkAreaAtPoint(TPoint{(formRect.left + formRect.right) / 2, (formRect.top + formRect.bottom) / 2});
  for (int i = 0; FBars && i < FBars->GetCount(); ++i) {
    TdxBar* bar = FBars->GetItem(i);
    if (bar->GetDockingStyle() != dsNone)
      continue;
    TdxBarControl* control = bar->GetControl();
    TRect r;
    if (control && control->HandleAllocated())
      GetWindowRect(control->GetHandle(), &r);
    else
      r = TRect{bar->GetFloatLeft(), bar->GetFloatTop(), bar->GetFloatLeft() + bar->GetFloatClientWidth(),
                bar->GetFloatTop() + bar->GetFloatClientHeight()};
    TPoint p{r.left, r.top};
    if (p.y + RectHeight(r) > area.bottom)
      p.y = area.bottom - RectHeight(r);
    if (p.y < area.top)
      p.y = area.top;
    if (p.x + RectWidth(r) > area.right)
      p.x = area.right - RectWidth(r);
    if (p.x < area.left)
      p.x = area.left;
    if (p.x == r.left && p.y == r.top)
      continue;
    if (control && control->HandleAllocated())
      SetWindowPos(control->GetHandle(), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else {
      LockDesignerModified(true);
      TFinally unlock([this] { LockDesignerModified(false, false); });
      bar->SetFloatLeft(p.x);
      bar->SetFloatTop(p.y);
    }
  }
}
