// MDI merging: the main form's manager takes the main-menu bar of the active MDI child into
// its own main-menu bar (always, or while the child is maximised) and gives it back when the
// child is restored, deactivated or closed; a maximised child's system menu leads that bar.
#include "bars/model/bar.h"
#include "bars/model/manager.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/utils/utils.h"
#include "platform/Forms.h"
#include "platform/Scope.h"

void TdxBarManager::ActiveMDIChildMayHaveChanged()
{
  if (IsDestroying() || IsDesigning())
    return;
  TCustomForm* form = GetNearestParentForm();
  if (!IsMDIParentForm(form) || !form->HandleAllocated() || !form->GetClientHandle())
    return;
  HWND child = reinterpret_cast<HWND>(SendMessageW(form->GetClientHandle(), WM_MDIGETACTIVE, 0, 0));
  // A child on its way out is no longer the active one.
  if (child && (!IsWindow(child) || !IsWindowVisible(child)))
    child = nullptr;
  const bool maximized = child && IsZoomed(child);
  const HWND old = FActiveMDIChild;
  const bool wasMaximized = FActiveMDIChildMaximized;
  if (child == old && maximized == wasMaximized)
    return;
  FActiveMDIChild = child;
  FActiveMDIChildMaximized = maximized;
  // Switching children replaces the merged menu in one update: no empty bar shows between.
  TWeakRef<TdxBarManager> self(this);
  {
    TdxBarManagerUpdate update(this);
    // A bar made for the children's menus stays while one child's menu replaces another's,
    // and after the switch, however it ends (a merge handler may raise), goes when it is empty.
    TWeakRef<TdxBar> madeForMerging;
    if (TdxBar* bar = FMainMenuBar.Get(); bar && bar->GetMergeData().CreatedForMerging && old && child) {
      madeForMerging = bar;
      bar->GetMergeData().CreatedForMerging = false;
    }
    TFinally keepOrFree([&madeForMerging]() {
      if (TdxBar* bar = madeForMerging.Get()) {
        bar->GetMergeData().CreatedForMerging = true;
        std::erase_if(bar->GetMergeData().MergedBars, [](const TWeakRef<TdxBar>& r) { return !r; });
        if (bar->GetMergeData().MergedBars.empty())
          bar->Free();
      }
    });
    if (child != old) {
      if (old)
        HandleMDIChild(old, mcaDeactivated);
      if (self && child)
        HandleMDIChild(child, mcaActivated);
    } else
      HandleMDIChild(child, mcaMaximizeChanged);
  }
  // The main-menu bar shows or hides the child's caption buttons.
  if (self && maximized != wasMaximized)
    RebuildMainMenuBarControl();
}

void TdxBarManager::HandleMDIChild(HWND AChild, TdxBarMDIChildAction AAction)
{
  TdxBarManager* childManager = GetBarManagerOfWindow(AChild);
  if (childManager && childManager != this) {
    const bool maximized = IsZoomed(AChild) && AAction != mcaDeactivated;
    switch (AAction) {
      case mcaActivated:
        if (FAlwaysMerge || maximized)
          MergeMDIChildMenu(childManager);
        break;
      case mcaDeactivated:
        UnmergeMDIChildMenu(childManager);
        break;
      case mcaMaximizeChanged:
        if (FAlwaysMerge)
          break;
        if (maximized)
          MergeMDIChildMenu(childManager);
        else
          UnmergeMDIChildMenu(childManager);
        break;
    }
  }
  UpdateSystemMenuItem(AChild, AAction);
  FMDIChildChangedHandlers.Fire(this, AAction, AChild);
}

void TdxBarManager::UpdateSystemMenuItem(HWND AChild, TdxBarMDIChildAction AAction)
{
  std::vector<TWeakRef<TdxBarItem>> items;
  items.swap(FSystemMenuItems);
  for (const TWeakRef<TdxBarItem>& ref : items)
    if (TdxBarItem* item = ref.Get())
      item->Free();
  TdxBar* mainBar = FMainMenuBar.Get();
  if (!mainBar || !Owner() || AAction == mcaDeactivated || !AChild || !IsZoomed(AChild))
    return;
  auto* item = new TSystemMenuSubItem(Owner());
  FSystemMenuItems.emplace_back(item);
  item->SetWindow(AChild);
  mainBar->GetItemLinks()->Insert(0)->SetItem(item);
}

void TdxBarManager::MergeMDIChildMenu(TdxBarManager* AChildManager)
{
  TdxBar* childBar = AChildManager->FMainMenuBar.Get();
  if (!childBar || childBar->GetMergeData().MergedWith)
    return;
  for (const TWeakRef<TdxBar>& ref : FMergedMDIChildBars)
    if (ref.Get() == childBar)
      return;
  if (OnMenuMerge.Assigned()) {
    TWeakRef<TdxBar> bar(childBar);
    OnMenuMerge(this, AChildManager, true);
    if (!bar)
      return;
    // Recorded as merged, its visibility kept for the unmerge, and hidden.
    FMergedMDIChildBars.emplace_back(childBar);
    childBar->GetMergeData().VisibleBeforeMerge = childBar->GetVisible();
    childBar->SetVisible(false);
    return;
  }
  TdxBar* mainBar = FMainMenuBar.Get();
  if (!mainBar) {
    // A main form without a main menu gets one for the child's menu; it goes when that leaves.
    mainBar = FBars->Add();
    mainBar->SetCaption(childBar->GetCaption());
    mainBar->SetIsMainMenu(true);
    mainBar->SetDockingStyle(dsTop);
    mainBar->GetMergeData().CreatedForMerging = true;
    mainBar->SetVisible(true);
  }
  if (mainBar != childBar)
    mainBar->Merge(childBar);
}

void TdxBarManager::UnmergeMDIChildMenu(TdxBarManager* AChildManager)
{
  // The child's bars recorded as merged while OnMenuMerge merged them.
  std::vector<TWeakRef<TdxBar>> bars;
  for (const TWeakRef<TdxBar>& ref : FMergedMDIChildBars)
    if (TdxBar* bar = ref.Get(); bar && bar->GetBarManager() == AChildManager)
      bars.push_back(ref);
  std::erase_if(FMergedMDIChildBars,
                [AChildManager](const TWeakRef<TdxBar>& r) { return !r || r->GetBarManager() == AChildManager; });
  bool unmerged = false;
  TdxBar* mainBar = FMainMenuBar.Get();
  if (mainBar) {
    std::vector<TWeakRef<TdxBar>> merged = mainBar->GetMergeData().MergedBars;
    for (const TWeakRef<TdxBar>& ref : merged)
      if (TdxBar* bar = ref.Get(); bar && bar->GetBarManager() == AChildManager) {
        mainBar->Unmerge(bar, true);
        unmerged = true;
        if (!FMainMenuBar)
          break;
      }
  }
  if (bars.empty() && !unmerged)
    return;
  TWeakRef<TdxBarManager> child(AChildManager);
  if (OnMenuMerge.Assigned())
    OnMenuMerge(this, AChildManager, false);
  if (!child)
    return;
  for (const TWeakRef<TdxBar>& ref : bars)
    if (TdxBar* bar = ref.Get(); bar && !bar->ComponentState().Contains(csDestroying))
      bar->SetVisible(bar->GetMergeData().VisibleBeforeMerge);
}
