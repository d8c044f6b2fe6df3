// Merging bars: a bar takes in the links of other bars and gives them back. A bar the
// manager made only to receive merged bars goes when the last one leaves, but never from
// inside its own destruction.
#include "bars/model/bar.h"

#include "bars/utils/dxBarStrs.h"
#include "bars/utils/utils.h"
#include "platform/Forms.h"

namespace {

bool Contains(const std::vector<TWeakRef<TdxBar>>& AList, const TdxBar* ABar)
{
  for (const TWeakRef<TdxBar>& ref : AList)
    if (ref.Get() == ABar)
      return true;
  return false;
}

}  // namespace

void TdxBar::Merge(TdxBar* ABar, bool AStoreVisibility)
{
  if (FMergeData.MergedWith)
    throw Exception(GetResourceString(sdxBarCantMergeWithMergedToolbar));
  if (!ABar || ABar == this)
    throw Exception(GetResourceString(sdxBarCantMergeToolbar));
  if (ABar->FMergeData.MergedWith.Get() == this)
    throw Exception(Format(GetResourceString(sdxBarToolbarsAlreadyMerged), {ABar->GetCaption(), GetCaption()}));
  std::erase_if(ABar->FMergeData.MergedBars, [](const TWeakRef<TdxBar>& r) { return !r; });
  if (!ABar->FMergeData.MergedBars.empty())
    throw Exception(Format(GetResourceString(sdxBarToolbarHasMergedToolbars), {ABar->GetCaption()}));

  bool wasMerged = false;
  if (TdxBar* other = ABar->FMergeData.MergedWith.Get()) {
    other->Unmerge(ABar, false);
    wasMerged = true;
  }
  // The bar being merged, for the links' bookkeeping.
  dxBarSetMergingBar(ABar);
  TFinally merged([]() noexcept { dxBarSetMergingBar(nullptr); });
  ABar->FMergeData.MergedWith = this;
  FMergeData.MergedBars.emplace_back(ABar);
  try {
    TdxBarManagerUpdate update(GetBarManager());
    if (FItemLinks && ABar->FItemLinks)
      FItemLinks->MergeLinks(ABar->FItemLinks.get());
  } catch (...) {
    // A link refused half way (a handler, a recursive menu) takes the whole merge back.
    if (FItemLinks)
      FItemLinks->UnmergeLinks(ABar);
    std::erase_if(FMergeData.MergedBars, [ABar](const TWeakRef<TdxBar>& r) { return !r || r.Get() == ABar; });
    ABar->FMergeData.MergedWith = nullptr;
    throw;
  }
  if (!wasMerged && AStoreVisibility)
    ABar->FMergeData.VisibleBeforeMerge = ABar->GetVisible();
  ShowMergedBar(ABar, false);
}

void TdxBar::Unmerge(TdxBar* ABar, bool ARestoreVisibility)
{
  if (ABar == this)
    throw Exception(GetResourceString(sdxBarCantUnmergeToolbar));
  if (ABar) {
    TdxBar* host = ABar->FMergeData.MergedWith.Get();
    if (!host)
      return;
    if (host != this)
      throw Exception(Format(GetResourceString(sdxBarToolbarsAreNotMerged), {ABar->GetCaption(), GetCaption()}));
  }
  std::erase_if(FMergeData.MergedBars, [](const TWeakRef<TdxBar>& r) { return !r; });
  if (FMergeData.MergedBars.empty())
    return;
  TWeakRef<TdxBar> self(this);
  {
    TdxBarManagerUpdate update(GetBarManager());
    if (FItemLinks)
      FItemLinks->UnmergeLinks(ABar);
  }
  std::vector<TdxBar*> gone;
  if (ABar)
    gone.push_back(ABar);
  else
    for (auto it = FMergeData.MergedBars.rbegin(); it != FMergeData.MergedBars.rend(); ++it)
      if (TdxBar* bar = it->Get())
        gone.push_back(bar);
  for (TdxBar* bar : gone) {
    std::erase_if(FMergeData.MergedBars, [bar](const TWeakRef<TdxBar>& r) { return !r || r.Get() == bar; });
    bar->FMergeData.MergedWith = nullptr;
    if (ARestoreVisibility)
      ShowMergedBar(bar, bar->FMergeData.VisibleBeforeMerge);
  }
  if (!self || !FMergeData.MergedBars.empty() || !FMergeData.CreatedForMerging)
    return;
  // The receiving bar has nothing left to show. Inside its own destruction it is already
  // going: freeing it here would free it twice.
  if (FDestroyingSelf || ComponentState().Contains(csDestroying))
    return;
  if (FStateStoringUnmerge) {
    FMergeData.StoredVisible = GetVisible();
    ShowMergedBar(this, false);
    SetHidden(true);
  } else
    Free();
}

void TdxBar::RememberMergedBars()
{
  FMergeData.RememberedBars = FMergeData.MergedBars;
}

void TdxBar::Remerge()
{
  std::vector<TWeakRef<TdxBar>> bars;
  bars.swap(FMergeData.RememberedBars);
  for (const TWeakRef<TdxBar>& ref : bars)
    if (TdxBar* bar = ref.Get())
      if (!Contains(FMergeData.MergedBars, bar))
        Merge(bar, bar->GetBarManager() == GetBarManager());
}

// A merged bar shows or hides while an MDI child form keeps its bounds.
void TdxBar::ShowMergedBar(TdxBar* ABar, bool AVisible)
{
  TdxBarManager* manager = ABar->GetBarManager();
  auto* form = manager ? dynamic_cast<TCustomForm*>(manager->GetParentControl()) : nullptr;
  bool keep = form && form->GetFormStyle() == fsMDIChild && form->HandleAllocated();
  TRect saved{};
  if (keep) {
    saved = form->GetBoundsRect();
    RECT r;
    GetWindowRect(form->GetHandle(), &r);
    MapWindowPoints(nullptr, GetParent(form->GetHandle()), reinterpret_cast<POINT*>(&r), 2);
    form->SetBoundsRect(r);
  }
  ABar->SetVisible(AVisible);
  if (keep)
    form->SetBoundsRect(saved);
}
