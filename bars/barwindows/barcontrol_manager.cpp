// The manager and its bars' windows: the clicked link and the press that may become a drag
// (weak references, so a link or window that goes reads nil), and what the manager's
// changes tell the bars and their windows.
#include "bars/barwindows/barcontrol.h"

#include "bars/model/bar.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/barwindows/toolbar.h"

TdxBarItemLink* TdxBarManager::GetClickedItemLink() const
{
  return FClickedItemLink.Get();
}

void TdxBarManager::SetClickedItemLink(TdxBarItemLink* Value)
{
  FClickedItemLink = Value;
}

TdxBarControl* TdxBarManager::GetFocusedBarControl() const
{
  return FFocusedBarControl.Get();
}

void TdxBarManager::SetFocusedBarControl(TdxBarControl* Value)
{
  FFocusedBarControl = Value;
}

TdxBarItemLink* TdxBarManager::GetPendingDragItemLink() const
{
  return FPendingDragItemLink.Get();
}

TCustomdxBarControl* TdxBarManager::GetPendingDragBarControl() const
{
  return FPendingDragBarControl.Get();
}

void TdxBarManager::SetPendingDrag(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl)
{
  FPendingDragItemLink = ALink;
  FPendingDragBarControl = ABarControl;
}

// ---------------------------------------------------------------------------
// Telling the bars

// The painter draws frames and measures controls anew: each window recalculates its frame,
// then makes its controls again (a docked one re-lays out its site, a floating one resizes).
void TdxBarManager::BarControlsStyleChanged()
{
  for (const TWeakRef<TCustomdxBarControl>& ref : dxBarGetBarControls(this)) {
    TCustomdxBarControl* control = ref.Get();
    if (!control || control->IsDestroying())
      continue;
    if (control->HandleAllocated())
      SetWindowPos(control->GetHandle(), nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (TCustomdxBarControl* alive = ref.Get())
      alive->RebuildBar();
  }
}

void TdxBarManager::RebuildAllBars()
{
  for (const TWeakRef<TCustomdxBarControl>& ref : dxBarGetBarControls(this))
    if (TCustomdxBarControl* control = ref.Get(); control && !control->IsDestroying())
      control->RebuildBar();
}

void TdxBarManager::BarsFontChanged()
{
  std::vector<TWeakRef<TdxBar>> bars;
  for (int i = 0; FBars && i < FBars->GetCount(); ++i)
    bars.emplace_back(FBars->GetItem(i));
  for (const TWeakRef<TdxBar>& ref : bars)
    if (TdxBar* bar = ref.Get())
      bar->ManagerFontChanged();
}

void TdxBarManager::RebuildMainMenuBarControl()
{
  if (TdxBar* bar = GetMainMenuBar())
    if (TdxBarControl* control = bar->GetControl())
      control->RebuildBar();
}

bool TdxBarManager::HasVisibleLinks(const TdxBar* ABar)
{
  TdxBarItemLinks* links = ABar ? ABar->GetItemLinks() : nullptr;
  for (int i = 0; links && i < links->Count(); ++i) {
    TdxBarItemLink* link = links->Items(i);
    if (link->GetVisible() && link->GetItem() && link->GetItem()->IsAvailable())
      return true;
  }
  return false;
}
