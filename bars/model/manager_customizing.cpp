// Customizing mode and the manager's toolbar commands: switching the mode, new, rename and
// reset of toolbars, the reset of usage data, merges taken apart while customizing, bars
// whose windows were destroyed from outside, floating bars during modal windows, the one
// mouse-tracked bar window and the form designer's selection.
#include <algorithm>

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/model/customizing.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/layout/layoutformat.h"
#include "bars/model/manager.h"
#include "bars/menus/popupmenu.h"
#include "bars/model/startup.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxControls.h"
#include "platform/Forms.h"

namespace {

bool Contains(const std::vector<TWeakRef<TdxBar>>& AList, const TdxBar* ABar)
{
  return std::any_of(AList.begin(), AList.end(), [ABar](const TWeakRef<TdxBar>& r) { return r.Get() == ABar; });
}

std::vector<TWeakRef<TdxBar>> BarsOf(const TdxBars* ABars)
{
  std::vector<TWeakRef<TdxBar>> result;
  for (int i = 0; ABars && i < ABars->GetCount(); ++i)
    result.emplace_back(ABars->GetItem(i));
  return result;
}

// The screen rectangle of the manager's owner window.
TRect OwnerScreenRect(TComponent* AOwner)
{
  auto* control = dynamic_cast<TWinControl*>(AOwner);
  if (!control)
    return TRect{};
  if (control->HandleAllocated()) {
    RECT r{};
    ::GetWindowRect(control->GetHandle(), &r);
    return TRect{r.left, r.top, r.right, r.bottom};
  }
  return control->GetBoundsRect();
}

// The part of a bar window not clipped by the windows it sits in, in screen coordinates.
TRect VisibleBounds(TCustomdxBarControl* ABarControl)
{
  RECT r{};
  ::GetWindowRect(ABarControl->GetHandle(), &r);
  for (HWND parent = ::GetAncestor(ABarControl->GetHandle(), GA_PARENT);
       parent && parent != ::GetDesktopWindow() &&
       (::GetWindowLongPtrW(ABarControl->GetHandle(), GWL_STYLE) & WS_CHILD);
       parent = ::GetAncestor(parent, GA_PARENT)) {
    RECT client{};
    ::GetClientRect(parent, &client);
    ::MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::IntersectRect(&r, &r, &client);
    if (!(::GetWindowLongPtrW(parent, GWL_STYLE) & WS_CHILD))
      break;
  }
  return TRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

// ---------------------------------------------------------------------------
// The mode

void TdxBarManager::SetIsCustomizing(bool Value)
{
  if (FIsCustomizing == Value || (Value && GetCustomizingFormHandle()))
    return;
  // A question about what is being customized has nothing left to ask about.
  if (!Value)
    dxBarCancelCustomizingQuestion(this);
  TWeakRef<TdxBarManager> self(this);
  // Menus close from the last bar to the first: closing may free bars (a tear-off's).
  CloseActiveBarControl();
  std::vector<TWeakRef<TdxBar>> bars = BarsOf(FBars);
  for (auto it = bars.rbegin(); self && it != bars.rend(); ++it) {
    TdxBar* bar = it->Get();
    TWeakRef<TdxBarControl> control(bar ? bar->GetControl() : nullptr);
    if (!control)
      continue;
    if (TCustomdxBarControl* sub = control->GetSubMenuControl())
      sub->Close();
    if (control && control->GetActive())
      control->Close();
  }
  if (!self)
    return;
  HideHint();
  FIsCustomizing = Value;
  if (auto test = dxBarCustomizingServices().TestDesignSelection)
    test();
  {
    // The links hidden outside customizing (items shown only then, thinned separators)
    // join the lists or leave them.
    TdxBarManagerUpdate update(this);
    for (const TWeakRef<TdxBar>& ref : BarsOf(FBars))
      if (TdxBar* bar = ref.Get(); bar && bar->GetItemLinks())
        bar->GetItemLinks()->RebuildLists();
    for (int i = 0; FItems && i < FItems->Count(); ++i)
      if (auto* item = dynamic_cast<TdxBarItem*>(FItems->GetBarComponent(i)))
        if (TdxBarItemLinks* links = item->GetItemLinks())
          links->RebuildLists();
    for (int i = 0; FPopupMenus && i < FPopupMenus->Count(); ++i)
      if (auto* menu = dynamic_cast<TdxBarCustomPopupMenu*>(FPopupMenus->GetBarComponent(i)))
        if (TdxBarItemLinks* links = menu->GetItemLinks())
          links->RebuildLists();
  }
  if (!self)
    return;
  if (auto show = dxBarCustomizingServices().ShowCustomizingForm)
    show(this, Value);
  if (!self)
    return;
  UpdateFloatingBarsVisibility();
  BarControlsStyleChanged();
  RefreshOtherManagersBarControls();
  // The form takes the focus back from the closed dialog, which a host's window system may
  // answer by lifting it over the bars shown meanwhile, still counted active as it was.
  if (self && !Value)
    KeepFloatingBarsAboveForm();
}

bool TdxBarManager::IsAnotherManagerCustomizing() const
{
  TdxBarManagerList* list = dxBarManagerList();
  for (int i = 0; list && i < list->Count(); ++i)
    if (TdxBarManager* manager = list->GetItem(i); manager != this && manager->FIsCustomizing)
      return true;
  return false;
}

// The bars of the other managers look inactive while one customizes: their frames and
// client areas are drawn again.
void TdxBarManager::RefreshOtherManagersBarControls()
{
  TdxBarManagerList* list = dxBarManagerList();
  std::vector<TWeakRef<TdxBarManager>> others;
  for (int i = 0; list && i < list->Count(); ++i)
    if (list->GetItem(i) != this)
      others.emplace_back(list->GetItem(i));
  for (const TWeakRef<TdxBarManager>& ref : others)
    if (TdxBarManager* other = ref.Get())
      for (const TWeakRef<TCustomdxBarControl>& bar : dxBarGetBarControls(other))
        if (TCustomdxBarControl* control = bar.Get(); control && control->HandleAllocated())
          ::RedrawWindow(control->GetHandle(), nullptr, nullptr,
                         RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The manager goes: the Customize dialog closes, the other managers' bars look active again
// and the floating bar windows it disabled are given back.
void TdxBarManager::EndCustomizingOnDestroy()
{
  EnableFloatingBars();
  FRecreatingBars.reset();
  if (!FIsCustomizing)
    return;
  FIsCustomizing = false;
  if (auto show = dxBarCustomizingServices().ShowCustomizingForm)
    show(this, false);
  RefreshOtherManagersBarControls();
}

// ---------------------------------------------------------------------------
// Toolbar commands

TdxBar* TdxBarManager::NewToolBar(bool AIsMainMenu, bool AAskName)
{
  if (!FBars)
    return nullptr;
  String caption = GetUniqueBarCaption(GetResourceString(sdxBarNewToolbarName));
  if (AAskName)
    if (auto ask = dxBarCustomizingServices().ShowToolbarNameDialog) {
      String proposed = caption;
      if (!ask(this, caption, nullptr))
        return nullptr;
      if (caption.empty())
        caption = proposed;
    }
  TdxBarManagerUpdate update(this);
  TUpdateLock<TdxBars> barsUpdate(FBars);
  TdxBar* bar = FBars->Add();
  bar->SetCaption(caption);
  // Floating, it would appear beside the form: on its left, or on its right when the left
  // side is off the work area.
  const TRect owner = OwnerScreenRect(Owner());
  const TRect area = GetMonitorWorkAreaAtPoint(TPoint{owner.left, owner.top});
  int left = owner.left - 50;
  int top = owner.top;
  if (left < area.left)
    left = owner.right + 10;
  // A maximised form leaves no room on either side.
  if (left >= area.right)
    left = area.left + 10;
  if (top < area.top)
    top = area.top + 10;
  bar->SetFloatLeft(left);
  bar->SetFloatTop(top);
  bar->SetDockingStyle(dsTop);
  if (AIsMainMenu) {
    bar->SetRow(0);
    bar->SetIsMainMenu(true);
    bar->SetVisible(true);
  } else {
    TdxDockControl* site = FBars->GetDockControl(dsTop);
    bar->SetRow(site ? site->GetRowCount() : 0);
    // Alone on a new row first, so that it does not join the last one.
    bar->SetOneOnRow(true);
    bar->SetVisible(true);
    bar->SetOneOnRow(false);
  }
  if (auto select = dxBarCustomizingServices().SelectObject)
    select(bar, 0);
  return bar;
}

void TdxBarManager::RenameToolBar(TdxBar* ABar)
{
  auto ask = dxBarCustomizingServices().ShowToolbarNameDialog;
  if (!ABar || !ask)
    return;
  TWeakRef<TdxBar> bar(ABar);
  String caption = ABar->GetCaption();
  if (ask(this, caption, ABar) && bar && !caption.empty())
    bar->SetCaption(caption);
}

void TdxBarManager::ResetToolBar(TdxBar* ABar)
{
  if (ABar)
    ABar->ResetWithConfirmation();
}

void TdxBarManager::ResetUsageDataWithConfirmation()
{
  TWeakRef<TdxBarManager> self(this);
  if (dxBarAskCustomizingQuestion(this, nullptr, GetResourceString(sdxBarResetUsageDataConfirmation),
                                  MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES &&
      self)
    ResetUsageData();
}

void TdxBarManager::ResetUsageData()
{
  TMemIniFile* initial = FInitialLayout.get();
  if (!initial)
    return;
  const TdxBarLayoutStore store{initial, GetIniSectionBase(), false};
  TdxBarManagerUpdate update(this);
  std::vector<TWeakRef<TdxBarItem>> items;
  for (int i = 0; FItems && i < FItems->Count(); ++i)
    items.emplace_back(dynamic_cast<TdxBarItem*>(FItems->GetBarComponent(i)));
  for (const TWeakRef<TdxBarItem>& ref : items)
    if (TdxBarItem* item = ref.Get())
      item->LoadLinkUsage(initial, store.Base, false);
  for (const TWeakRef<TdxBar>& ref : BarsOf(FBars)) {
    TdxBar* bar = ref.Get();
    if (!bar || !bar->GetItemLinks())
      continue;
    const int index = dxBarFindBarSection(store, bar->GetCaption());
    if (index >= 0)
      bar->GetItemLinks()->LoadUsageFromIni(initial, store.BarSection(index), false);
  }
}

void TdxBarManager::MoveItem(int AFrom, int ATo)
{
  if (!FItems || AFrom == ATo || AFrom < 0 || ATo < 0 || AFrom >= FItems->Count() || ATo >= FItems->Count())
    return;
  FItems->Move(AFrom, ATo);
  FItems->Changed();
  DesignerModified();
}

// ---------------------------------------------------------------------------
// Merges while customizing

void TdxBarManager::UnmergeAllBars(TdxBarManager* AManager, bool AStoreState)
{
  auto mergedBy = [this, AManager](const TdxBar* ABar) {
    TdxBarManager* owner = ABar->GetBarManager();
    return AManager ? owner == AManager : owner != this;
  };
  // Bars of other managers merged into ours keep the visibility they have now.
  std::vector<std::pair<TWeakRef<TdxBar>, bool>> foreign;
  std::vector<TWeakRef<TdxBar>> bars = BarsOf(FBars);
  if (AStoreState) {
    FStoredMerges.clear();
    for (const TWeakRef<TdxBar>& ref : bars)
      if (TdxBar* bar = ref.Get())
        for (const TWeakRef<TdxBar>& merged : bar->GetMergeData().MergedBars)
          if (TdxBar* m = merged.Get(); m && mergedBy(m))
            foreign.emplace_back(m, m->GetVisible());
  }
  for (auto it = bars.rbegin(); it != bars.rend(); ++it) {
    TdxBar* bar = it->Get();
    if (!bar)
      continue;
    TWeakRef<TdxBar> alive(bar);
    if (AStoreState) {
      bar->RememberMergedBars();
      FStoredMerges.push_back({bar, bar->GetMergeData().MergedWith.Get() != nullptr});
    }
    bar->SetStateStoringUnmerge(AStoreState);
    {
      TFinally unmark([&alive]() noexcept {
        if (TdxBar* b = alive.Get())
          b->SetStateStoringUnmerge(false);
      });
      std::vector<TWeakRef<TdxBar>> merged = bar->GetMergeData().MergedBars;
      for (const TWeakRef<TdxBar>& m : merged)
        if (TdxBar* b = m.Get(); b && alive && (!AManager || b->GetBarManager() == AManager))
          alive->Unmerge(b, !AStoreState);
    }
    if (AStoreState && alive && (alive->GetMergeData().MergedWith || !alive->GetMergeData().MergedBars.empty()))
      FStoredMerges.back().MergedAway = false;
  }
  for (const auto& [ref, visible] : foreign)
    if (TdxBar* bar = ref.Get())
      bar->SetVisible(visible);
}

void TdxBarManager::RestoreMergedBars()
{
  std::vector<TdxBarStoredMerge> stored;
  stored.swap(FStoredMerges);
  // A bar that was merged away itself takes its own bars back only after the others.
  std::stable_partition(stored.begin(), stored.end(), [](const TdxBarStoredMerge& s) { return !s.MergedAway; });
  TdxBarManagerUpdate update(this);
  for (const TdxBarStoredMerge& s : stored) {
    TdxBar* bar = s.Bar.Get();
    if (!bar)
      continue;
    TdxBarMergeData& data = bar->GetMergeData();
    // The bar made only for merged bars was kept hidden while it had none.
    if (data.CreatedForMerging && bar->GetHidden()) {
      bar->SetHidden(false);
      bar->SetVisible(data.StoredVisible);
    }
    if (!data.RememberedBars.empty())
      bar->Remerge();
  }
}

// ---------------------------------------------------------------------------
// Bars whose windows are recreated

void TdxBarManager::BeginRecreateBars()
{
  if (!FRecreatingBars && !IsDestroying())
    FRecreatingBars = std::make_unique<std::vector<TWeakRef<TdxBar>>>();
}

void TdxBarManager::AddRecreatingBar(TdxBar* ABar)
{
  if (FRecreatingBars && ABar && !Contains(*FRecreatingBars, ABar))
    FRecreatingBars->emplace_back(ABar);
}

bool TdxBarManager::IsRecreatingBar(const TdxBar* ABar) const
{
  return FRecreatingBars && ABar && Contains(*FRecreatingBars, ABar);
}

void TdxBarManager::ShowRecreatingBars(TWinControl* ADockControl)
{
  if (!FRecreatingBars)
    return;
  TRestore restoring(FRestoringRecreatedBars, true);
  std::vector<TWeakRef<TdxBar>> listed = *FRecreatingBars;
  TWeakRef<TdxBarManager> self(this);
  for (const TWeakRef<TdxBar>& ref : listed) {
    TdxBar* bar = ref.Get();
    if (!self || !FRecreatingBars)
      return;
    if (!bar) {
      std::erase_if(*FRecreatingBars, [](const TWeakRef<TdxBar>& r) { return !r; });
      continue;
    }
    TdxDockControl* site = bar->GetRealDockControl();
    const bool belongs = ADockControl ? site == ADockControl : !site || site->HandleAllocated();
    if (!belongs)
      continue;
    std::erase_if(*FRecreatingBars, [bar](const TWeakRef<TdxBar>& r) { return !r || r.Get() == bar; });
    bar->SetVisible(true);
  }
}

// ---------------------------------------------------------------------------
// Floating bars while a modal window runs

void TdxBarManager::DisableFloatingBars()
{
  for (const TWeakRef<TdxBarControl>& ref : GetFloatingBarControls())
    if (TdxBarControl* control = ref.Get(); control && control->HandleAllocated())
      DisableWindowAndRemember(control->GetHandle(), FDisabledFloatingBars);
}

void TdxBarManager::EnableFloatingBars()
{
  EnableRememberedWindows(FDisabledFloatingBars);
  FDisabledFloatingBars.shrink_to_fit();
}

// ---------------------------------------------------------------------------
// Mouse tracking

void TdxBarManager::BeginMouseTracking(TCustomdxBarControl* ABarControl)
{
  if (!ABarControl || !ABarControl->HandleAllocated())
    return;
  TCustomdxBarControl* previous = FMouseTrackingBarControl.Get();
  FMouseTrackingBarControl = ABarControl;
  if (previous && previous != ABarControl && !previous->IsDestroying()) {
    TWeakRef<TCustomdxBarControl> bar(ABarControl);
    IcxMouseTrackingCaller* caller = previous->GetMouseTrackingCaller();
    ::EndMouseTracking(caller);
    caller->MouseLeave();
    if (!bar || !bar->HandleAllocated())
      return;
  }
  ::BeginMouseTracking(ABarControl, VisibleBounds(ABarControl), ABarControl->GetMouseTrackingCaller());
}

void TdxBarManager::EndMouseTracking(TCustomdxBarControl* ABarControl)
{
  if (!ABarControl)
    return;
  ::EndMouseTracking(ABarControl->GetMouseTrackingCaller());
  if (FMouseTrackingBarControl.Get() == ABarControl)
    FMouseTrackingBarControl = nullptr;
}

bool TdxBarManager::IsMouseTrackingBarControl(const TCustomdxBarControl* ABarControl) const
{
  TCustomdxBarControl* tracked = FMouseTrackingBarControl.Get();
  return tracked && tracked == ABarControl && ::IsMouseTracking(tracked->GetMouseTrackingCaller());
}

// ---------------------------------------------------------------------------
// The form designer

void TdxBarManager::DesignerGetSelection(TList* AList) const
{
  if (FDesignerHook && AList)
    FDesignerHook->GetSelection(AList);
}

void TdxBarManager::DesignerSelectComponent(TComponent* AComponent, int AMode)
{
  if (FDesignerHook)
    FDesignerHook->SelectComponent(AComponent, AMode);
}

void TdxBarManager::DesignerSelectionChanged()
{
  dxBarCustomizingFormChanged(this, TdxBarCustomizingFormChange::Selection);
}

void TdxBarManager::GetSelectedComponents(TList* AList) const
{
  if (!FDesignerHook || !AList)
    return;
  const auto& state = dxBarCustomizingServices().GetSelectionState;
  TList selection;
  FDesignerHook->GetSelection(&selection);
  for (int i = 0; i < selection.Count(); ++i) {
    auto* component = dynamic_cast<TComponent*>(static_cast<TObject*>(selection.Items(i)));
    if (component && state && state(component) != TdxBarSelectionState::None)
      AList->Add(component);
  }
}

bool TdxBarManager::CanDeleteComponent(const TComponent* AComponent) const
{
  return !AComponent || !IsDesigning() || !AComponent->ComponentState().Contains(csAncestor);
}

bool TdxBarManager::IsOwnerNotInlineDesigned() const
{
  const TComponent* owner = Owner();
  return !owner || !owner->ComponentState().Contains(csDesigning) || !owner->ComponentState().Contains(csInline);
}
