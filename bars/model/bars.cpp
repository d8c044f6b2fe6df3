// The manager's bars: the collection with its four own dock sites, docking and undocking
// windows, and the manager's side of bars (main menu, temporarily hidden bars, the bar
// steps of Loaded, CanDocking). The mouse drag of a bar lives in bars/barwindows/bar_drag.cpp.
#include "bars/model/bar.h"

#include "bars/barwindows/dockcontrol.h"
#include "bars/barwindows/toolbar.h"

IMPLEMENT_CLASS(TdxBars, TcxComponentCollection)

namespace {

const TdxBarDockingStyle OwnSiteStyles[] = {dsLeft, dsTop, dsRight, dsBottom};

}  // namespace

TdxBars::TdxBars(TdxBarManager* ABarManager)
    : TcxComponentCollection(ABarManager, TdxBar::StaticClass()), FBarManager(ABarManager)
{
}

TdxBars::~TdxBars()
{
  KillWaitTimer();
  // The bars go first (their windows sit in the sites), then the sites.
  OnChange = nullptr;
  while (GetCount() > 0)
    GetItem(GetCount() - 1)->Free();
  for (TdxBarDockingStyle style : OwnSiteStyles) {
    TWeakRef<TdxDockControl>& site = FDockControls[size_t(style)];
    if (TdxDockControl* dock = site.Get()) {
      site = nullptr;
      dock->Free();
    }
  }
}

void TdxBars::Notify(TcxComponentCollectionItem* AItem, TcxComponentCollectionNotification AAction)
{
  TcxComponentCollection::Notify(AItem, AAction);
  if (AAction == ccnChanged && FBarManager)
    FBarManager->DesignerModified();
}

void TdxBars::CreateDockControls()
{
  TWinControl* parent = FBarManager ? FBarManager->GetParentControl() : nullptr;
  if (!parent)
    return;
  for (TdxBarDockingStyle style : OwnSiteStyles) {
    if (FDockControls[size_t(style)])
      continue;
    TdxDockControl* dock = TdxDockControl::CreateEx(FBarManager, style, FBarManager);
    FDockControls[size_t(style)] = dock;
    if (dock->GetParent() != parent)
      dock->SetParent(parent);
    FBarManager->SetDockControlOfSide(style, dock);
  }
}

TdxDockControl* TdxBars::GetDockControl(TdxBarDockingStyle AStyle) const
{
  return AStyle == dsNone ? nullptr : FDockControls[size_t(AStyle)].Get();
}

bool TdxBars::IsOwnDockControl(const TObject* AControl) const
{
  if (!AControl)
    return false;
  for (const TWeakRef<TdxDockControl>& site : FDockControls)
    if (site.Get() == AControl)
      return true;
  return false;
}

void TdxBars::DockBarControl(TdxBarDockingStyle AStyle, TdxDockControl* ADockControl, const TPoint& P,
                             TdxBarControl* ABarControl)
{
  if (AStyle == dsNone || !ABarControl)
    return;
  TdxDockControl* dock = ADockControl ? ADockControl : GetDockControl(AStyle);
  if (dock)
    dock->DockBarControlAt(ABarControl, P, true);
}

void TdxBars::UndockBarControl(TdxBarDockingStyle AStyle, TdxDockControl* ADockControl, TdxBarControl* ABarControl)
{
  if (!ABarControl)
    return;
  TdxDockControl* dock = ADockControl ? ADockControl : GetDockControl(AStyle);
  if (dock)
    dock->RemoveBarControl(ABarControl);
}

void TdxBars::RebuildAll()
{
  for (int i = 0; i < GetCount(); ++i)
    if (TdxBarControl* control = GetItem(i)->GetControl())
      control->RebuildBar();
}

// ---------------------------------------------------------------------------
// The manager's side

void TdxBarManager::CreateBars()
{
  FBars = new TdxBars(this);
  FBars->CreateDockControls();
}

void TdxBarManager::DestroyBars()
{
  TdxBars* bars = FBars;
  if (!bars)
    return;
  delete bars;
  FBars = nullptr;
  FMainMenuBar = nullptr;
  FTemporaryHiddenBars.clear();
}

bool TdxBarManager::CanDocking(TdxBar* Bar, TdxBarDockingStyle Style, TWinControl* DockControl)
{
  bool result;
  if (Bar && Bar->GetNotDocking().Contains(Style))
    result = false;
  else if (auto* dock = dynamic_cast<TdxDockControl*>(DockControl); dock && !dock->IsOwnedByManager())
    result = dock->CanDock(Bar);
  else
    result = !FNotDocking.Contains(Style);
  CallEvent(OnDocking, Bar, Style, DockControl, result);
  return result;
}

TdxBar* TdxBarManager::GetMainMenuBar() const
{
  TdxBar* bar = FMainMenuBar.Get();
  return bar && bar->GetControl() ? bar : nullptr;
}

void TdxBarManager::SetMainMenuBar(TdxBar* Value)
{
  FMainMenuBar = Value;
}

String TdxBarManager::GetUniqueBarCaption(const String& Prefix) const
{
  return dxBarMakeUniqueName(Prefix, [this](const String& caption) { return FindBarByCaption(caption) != nullptr; });
}

TdxBar* TdxBarManager::FindBarByCaption(const String& Caption) const
{
  for (int i = 0; FBars && i < FBars->GetCount(); ++i)
    if (FBars->GetItem(i)->GetCaption() == Caption)
      return FBars->GetItem(i);
  return nullptr;
}

TdxBar* TdxBarManager::BarByName(const String& AName) const
{
  for (int i = 0; FBars && i < FBars->GetCount(); ++i)
    if (SameText(FBars->GetItem(i)->Name(), AName))
      return FBars->GetItem(i);
  return nullptr;
}

void TdxBarManager::AddTemporaryHiddenBar(TdxBar* ABar)
{
  if (ABar && !IsTemporaryHiddenBar(ABar))
    FTemporaryHiddenBars.emplace_back(ABar);
}

void TdxBarManager::RemoveTemporaryHiddenBar(TdxBar* ABar)
{
  std::erase_if(FTemporaryHiddenBars, [ABar](const TWeakRef<TdxBar>& r) { return !r || r.Get() == ABar; });
}

bool TdxBarManager::IsTemporaryHiddenBar(const TdxBar* ABar) const
{
  for (const TWeakRef<TdxBar>& ref : FTemporaryHiddenBars)
    if (ref.Get() == ABar)
      return true;
  return false;
}

void TdxBarManager::BarDestroying(TdxBar* ABar)
{
  if (FMainMenuBar.Get() == ABar)
    FMainMenuBar = nullptr;
  RemoveTemporaryHiddenBar(ABar);
}

bool TdxBarManager::IsDraggingBars() const
{
  return FBars && FBars->IsDragging();
}

void TdxBarManager::LoadedResolveBarLinks()
{
  for (int i = 0; FBars && i < FBars->GetCount(); ++i)
    if (TdxBarControlItemLinks* links = FBars->GetItem(i)->GetItemLinks())
      links->Loaded();
}

void TdxBarManager::LoadedApplyBars()
{
  for (int i = 0; FBars && i < FBars->GetCount(); ++i) {
    TdxBar* bar = FBars->GetItem(i);
    bar->SetFromForm(true);
    bar->ApplyLoadedState();
  }
}
