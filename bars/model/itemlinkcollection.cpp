// Link collections: the derived lists, personalised-menu counts, keyboard search and
// navigation, merging, and the menu item options.
#include <algorithm>
#include <climits>
#include <unordered_map>

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"

IMPLEMENT_CLASS(TdxBarItemLinks, TCollection)
IMPLEMENT_CLASS(TdxBarControlItemLinks, TdxBarItemLinks)
IMPLEMENT_CLASS(TdxBarSubMenuControlItemLinks, TdxBarItemLinks)

PUBLISHED(TdxBarItemOptions, TPersistent)
{
  using O = TdxBarItemOptions;
  p.Prop(L"AssignedValues", &O::GetAssignedValues, &O::SetAssignedValues).Stored(false);
  // Only a value that was set is written, whatever it is.
  p.Prop(L"ShowDescriptions", &O::GetShowDescriptions, &O::SetShowDescriptions)
      .NoDefault()
      .Stored(&O::IsShowDescriptionsStored);
  p.Prop(L"ShowShortCuts", &O::GetShowShortCuts, &O::SetShowShortCuts).NoDefault().Stored(&O::IsShowShortCutsStored);
  p.Prop(L"Size", &O::GetSize, &O::SetSize).NoDefault().Stored(&O::IsSizeStored);
}

namespace {

template <class T>
int IndexIn(const std::vector<T*>& AList, const T* AValue)
{
  auto it = std::find(AList.begin(), AList.end(), AValue);
  return it == AList.end() ? -1 : int(it - AList.begin());
}

// The collections whose shortcut search is running: a sub-item reached again through its
// own links ends the search there.
std::vector<const TdxBarItemLinks*>& ShortCutSearches()
{
  static std::vector<const TdxBarItemLinks*> searches;
  return searches;
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarItemOptions

TdxBarItemOptions::TdxBarItemOptions(TdxBarItemLinks* AOwner) : FOwner(AOwner)
{
  FShowDescriptions = DefaultValue(ioShowDescriptions) != 0;
  FShowShortCuts = DefaultValue(ioShowShortCuts) != 0;
  FSize = TdxBarMenuItemSize(DefaultValue(ioSize));
}

TPersistent* TdxBarItemOptions::GetOwner() const
{
  return FOwner;
}

int TdxBarItemOptions::DefaultValue(TdxBarItemOptionValue AOption) const
{
  if (FOwner)
    return FOwner->GetOptionDefaultValue(AOption);
  return AOption == ioShowShortCuts ? 1 : 0;
}

void TdxBarItemOptions::Assign(TPersistent* Source)
{
  if (auto* source = dynamic_cast<TdxBarItemOptions*>(Source)) {
    FAssignedValues = source->FAssignedValues;
    FShowDescriptions = source->FShowDescriptions;
    FShowShortCuts = source->FShowShortCuts;
    FSize = source->FSize;
    return;
  }
  TPersistent::Assign(Source);
}

int TdxBarItemOptions::GetValue(TdxBarItemOptionValue AOption) const
{
  if (!FAssignedValues.Contains(AOption))
    return DefaultValue(AOption);
  switch (AOption) {
    case ioShowDescriptions:
      return FShowDescriptions ? 1 : 0;
    case ioShowShortCuts:
      return FShowShortCuts ? 1 : 0;
    case ioSize:
      return int(FSize);
  }
  return 0;
}

bool TdxBarItemOptions::GetShowDescriptions() const
{
  return GetValue(ioShowDescriptions) != 0;
}

void TdxBarItemOptions::SetShowDescriptions(bool Value)
{
  FShowDescriptions = Value;
  FAssignedValues.Include(ioShowDescriptions);
}

bool TdxBarItemOptions::GetShowShortCuts() const
{
  return GetValue(ioShowShortCuts) != 0;
}

void TdxBarItemOptions::SetShowShortCuts(bool Value)
{
  FShowShortCuts = Value;
  FAssignedValues.Include(ioShowShortCuts);
}

TdxBarMenuItemSize TdxBarItemOptions::GetSize() const
{
  int value = GetValue(ioSize);
  return value == int(misLarge) ? misLarge : misNormal;
}

void TdxBarItemOptions::SetSize(TdxBarMenuItemSize Value)
{
  FSize = Value == misLarge ? misLarge : misNormal;
  FAssignedValues.Include(ioSize);
}

// ---------------------------------------------------------------------------
// Life and death

TdxBarItemLinks::TdxBarItemLinks(TdxBarManager* ABarManager, IdxBarLinksOwner* AOwner)
    : TCollection(TdxBarItemLink::StaticClass()),
      FBarManager(ABarManager),
      FOwner(AOwner),
      FItemOptions(std::make_unique<TdxBarItemOptions>(this))
{
}

TdxBarItemLinks::~TdxBarItemLinks()
{
  FDestroying = true;
  // The links go while this is still a link collection: their clean-up asks for it. The
  // controls go before their window, which they point to.
  BeginUpdate();
  try {
    DestroyBarControl();
  } catch (...) {
    // Nothing leaves a destructor, and the links below must go whatever the window did.
  }
  while (Count() > 0) {
    TdxBarItemLink* link = Items(Count() - 1);
    try {
      link->Free();
    } catch (...) {
      if (Count() > 0 && Items(Count() - 1) == link)
        link->SetCollection(nullptr);  // the link left quietly; the base frees nothing more
    }
  }
  FRecentItems.clear();
  FAvailableItems.clear();
  FVisibleItems.clear();
  FShownItems.clear();
  ShownItemsChanged();
}

void TdxBarItemLinks::ShownItemsChanged()
{
  static uint64_t stamps = 0;
  FShownStamp = ++stamps;
}

TdxBarManager* TdxBarItemLinks::GetBarManager() const
{
  return FBarManager.Get();
}

void TdxBarItemLinks::SetBarManager(TdxBarManager* Value)
{
  FBarManager = Value;
}

void TdxBarItemLinks::SetShowingBarControl(TCustomdxBarControl* AControl)
{
  FBarControl = AControl;
}

TCustomdxBarControl* TdxBarItemLinks::GetBarControl() const
{
  return FBarControl.Get();
}

TPersistent* TdxBarItemLinks::GetOwner() const
{
  return dynamic_cast<TPersistent*>(GetLinksOwner());
}

TObject* TdxBarItemLinks::GetLinksOwner() const
{
  return FOwner ? FOwner->GetInstance() : nullptr;
}

bool TdxBarItemLinks::IsOwnerLoading() const
{
  if (auto* owner = dynamic_cast<TComponent*>(GetLinksOwner()))
    return owner->ComponentState().Contains(csLoading);
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsLoading();
}

bool TdxBarItemLinks::IsOwnerDestroying() const
{
  if (FDestroying)
    return true;
  auto* owner = dynamic_cast<TComponent*>(GetLinksOwner());
  return owner && owner->ComponentState().Contains(csDestroying);
}

bool TdxBarItemLinks::IsDesigning() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsDesigning();
}

bool TdxBarItemLinks::IsCustomizing() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsCustomizing();
}

// ---------------------------------------------------------------------------
// Notifications

void TdxBarItemLinks::Notify(TCollectionItem* Item, TCollectionNotification Action)
{
  auto* link = static_cast<TdxBarItemLink*>(Item);
  // A collection announces each link it takes once, and LinkGone drops it as it leaves.
  if (Action == cnAdded)
    AddToRecent(link);
  else if (Action == cnExtracting)
    LinkGone(link);
  TCollection::Notify(Item, Action);
}

void TdxBarItemLinks::LinkGone(TdxBarItemLink* ALink)
{
  // A collection frees its links from its last one.
  EraseLast(FRecentItems, ALink);
  EraseLast(FAvailableItems, ALink);
  EraseLast(FVisibleItems, ALink);
  EraseLast(FShownItems, ALink);
  ShownItemsChanged();
}

void TdxBarItemLinks::Update(TCollectionItem* Item)
{
  if (!Item)
    RebuildLists();
  if (IsOwnerDestroying())
    return;
  TCollection::Update(Item);
  TdxBarManager* manager = GetBarManager();
  if (!FNoDesignerNotify && !(FOwner && FOwner->NotifyOwnDesigner()) && manager)
    manager->DesignerModified();
  if (!Item) {
    TCustomdxBarControl* bar = GetBarControl();
    if (bar && bar->GetVisible())
      bar->RebuildBar();
    CallEvent(OnChange, this);
  } else if (manager && !manager->IsLoading()) {
    CallEvent(manager->OnItemLinkChange, manager, static_cast<TdxBarItemLink*>(Item));
  }
}

void TdxBarItemLinks::RecalculateBarControl() const
{
  TCustomdxBarControl* bar = GetBarControl();
  // Under an update its end rebuilds a shown window, which lays it out again.
  if (bar && !(UpdateCount() > 0 && bar->GetVisible()))
    bar->RecalculateLayout();
}

void TdxBarItemLinks::RebuildBarControl() const
{
  if (TCustomdxBarControl* bar = GetBarControl())
    bar->RebuildBar();
}

// ---------------------------------------------------------------------------
// Adding and finding

TdxBarItemLink* TdxBarItemLinks::AddItem(TdxBarItem* AItem)
{
  if (!AItem)
    return nullptr;
  TUpdateLock<TCollection> update(this);
  TdxBarItemLink* link = Add();
  try {
    link->SetItem(AItem);
  } catch (...) {
    link->Free();  // a refused item leaves no empty link behind
    throw;
  }
  return link;
}

TdxBarItemLink* TdxBarItemLinks::AddNewItem(TClass AItemClass, TComponent* AOwner)
{
  if (!AItemClass || !AItemClass->InheritsFrom(TdxBarItem::StaticClass()))
    throw EInvalidCast(L"The class of a new link's item must descend from TdxBarItem");
  TdxBarManager* manager = GetBarManager();
  if (!AOwner && manager)
    AOwner = manager->Owner();
  auto* item = dynamic_cast<TdxBarItem*>(AItemClass->Create(AOwner));
  if (!item)
    throw EInvalidCast(L"Invalid class typecast");
  try {
    return AddItem(item);
  } catch (...) {
    item->Free();  // the item made for a refused link has no other owner
    throw;
  }
}

int TdxBarItemLinks::IndexOf(const TdxBarItemLink* ALink) const
{
  if (!ALink || ALink->Collection() != this)
    return -1;
  return ALink->Index();
}

int TdxBarItemLinks::IndexOfItemName(const String& AName) const
{
  for (int i = 0; i < Count(); ++i)
    if (TdxBarItem* item = Items(i)->FItem; item && item->Name() == AName)
      return i;
  return -1;
}

void TdxBarItemLinks::MoveLink(int OldIndex, int NewIndex)
{
  {
    TUpdateLock<TCollection> update(this);
    if (OldIndex >= 0 && OldIndex < Count() && NewIndex >= 0 && NewIndex < Count() && OldIndex != NewIndex)
      Items(OldIndex)->SetIndex(NewIndex);
  }
  RebuildBarControl();
}

bool TdxBarItemLinks::HasControl(const TdxBarItemControl* AControl) const
{
  if (!AControl)
    return false;
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->GetControl() == AControl)
      return true;
  return false;
}

// ---------------------------------------------------------------------------
// The window

void TdxBarItemLinks::CreateBarControl()
{
  if (!FOwner || GetBarControl())
    return;
  TCustomdxBarControl* bar = FOwner->CreateBarControl();
  FBarControl = bar;
  if (bar)
    bar->SetItemLinks(this);
}

void TdxBarItemLinks::DestroyBarControl()
{
  TCustomdxBarControl* bar = GetBarControl();
  if (!bar)
    return;
  // The controls point at their window: they go first.
  for (int i = 0; i < Count(); ++i)
    Items(i)->DestroyControl();
  FBarControl = nullptr;
  // A window whose owner (the manager) is going is marked destroying but still stands: it
  // goes now, while these links live. One already being freed only lets go of them, since
  // its own clean-up may come after they are gone.
  if (!bar->DestructionBegun())
    bar->Free();
  else if (bar->GetItemLinks() == this)
    bar->SetItemLinks(nullptr);
}

bool TdxBarItemLinks::AllItemsFit() const
{
  return !FOwner || FOwner->AllItemsFit();
}

// ---------------------------------------------------------------------------
// Options

int TdxBarItemLinks::GetOptionDefaultValue(TdxBarItemOptionValue AOption) const
{
  switch (AOption) {
    case ioShowDescriptions:
      return 0;
    case ioShowShortCuts:
      return 1;
    case ioSize:
      return int(misNormal);
  }
  return 0;
}

int TdxBarItemLinks::GetOptionValue(TdxBarItemOptionValue AOption) const
{
  // Asked for every link measured: a toolbar, with no parent bar, answers at once.
  if (FItemOptions->GetAssignedValues().Contains(AOption))
    return FItemOptions->GetValue(AOption);
  TCustomdxBarControl* bar = GetBarControl();
  if (!bar || !bar->GetParentBarControl())
    return FItemOptions->GetValue(AOption);
  std::set<const TdxBarItemLinks*> visited;
  return GetOptionValue(AOption, visited);
}

int TdxBarItemLinks::GetOptionValue(TdxBarItemOptionValue AOption, std::set<const TdxBarItemLinks*>& AVisited) const
{
  if (FItemOptions->GetAssignedValues().Contains(AOption))
    return FItemOptions->GetValue(AOption);
  AVisited.insert(this);
  TCustomdxBarControl* bar = GetBarControl();
  TCustomdxBarControl* parent = bar ? bar->GetParentBarControl() : nullptr;
  TdxBarItemLinks* parentLinks = parent ? parent->GetItemLinks() : nullptr;
  if (parentLinks && !AVisited.contains(parentLinks))
    return parentLinks->GetOptionValue(AOption, AVisited);
  return FItemOptions->GetValue(AOption);
}

// ---------------------------------------------------------------------------
// Linking rules

bool TdxBarItemLinks::CanAddItem(TdxBarItem* AItem, String& AErrorText)
{
  AErrorText.clear();
  return !FOwner || FOwner->CanAddItem(AItem, AErrorText);
}

bool TdxBarItemLinks::ContainsOwner(const IdxBarLinksOwner* AOwner) const
{
  std::set<const TdxBarItemLinks*> visited;
  return ContainsOwner(AOwner, visited);
}

bool TdxBarItemLinks::ContainsOwner(const IdxBarLinksOwner* AOwner, std::set<const TdxBarItemLinks*>& AVisited) const
{
  if (!AOwner || !AVisited.insert(this).second)
    return false;
  if (FOwner == AOwner)
    return true;
  for (int i = 0; i < Count(); ++i) {
    TdxBarItem* item = Items(i)->FItem;
    TdxBarItemLinks* inner = item ? item->GetItemLinks() : nullptr;
    if (inner && inner->ContainsOwner(AOwner, AVisited))
      return true;
  }
  return false;
}

bool TdxBarItemLinks::IsRecursiveItem(TdxBarItem* AItem) const
{
  TdxBarItemLinks* inner = AItem ? AItem->GetItemLinks() : nullptr;
  return inner && FOwner && (inner == this || inner->ContainsOwner(FOwner));
}

bool TdxBarItemLinks::IsShortCut(TShortCut AShortCut)
{
  if (AShortCut == 0)
    return false;
  auto& searches = ShortCutSearches();
  if (std::find(searches.begin(), searches.end(), this) != searches.end())
    return false;
  searches.push_back(this);
  TFinally leave([this] { std::erase(ShortCutSearches(), this); });

  UpdateActions();
  // A click may change or free these links: walk a copy and stop at the first taker.
  TLinkList available = GetAvailableItems();
  for (TdxBarItemLink* link : available) {
    if (IndexIn(GetAvailableItems(), link) < 0)
      continue;
    if (TdxBarItem* item = link->FItem; item && item->IsShortCut(AShortCut))
      return true;
  }
  return false;
}

void TdxBarItemLinks::UpdateActions()
{
  for (int i = 0; i < Count(); ++i)
    if (TdxBarItem* item = Items(i)->FItem)
      item->UpdateActionLink();
}

void TdxBarItemLinks::EmptyItemRects()
{
  for (int i = 0; i < Count(); ++i)
    Items(i)->FItemRect = TRect{0, 0, 0, 0};
}

// ---------------------------------------------------------------------------
// Keyboard

bool TdxBarItemLinks::IsSelectable(const TdxBarItemLink* ALink) const
{
  return ALink && ALink->GetControl() && ALink->GetControl()->CanSelect();
}

int TdxBarItemLinks::GetFittingItemCount() const
{
  if (AllItemsFit())
    return ShownItemCount();
  TCustomdxBarControl* bar = GetBarControl();
  if (!bar)
    return 0;
  TRect client = bar->GetClientRect();
  int count = 0;
  for (TdxBarItemLink* link : GetShownItems()) {
    const TRect& r = link->GetItemRect();
    if (IsRectEmpty(r) || r.left < client.left || r.top < client.top || r.right > client.right ||
        r.bottom > client.bottom)
      break;
    ++count;
  }
  return count;
}

TdxBarItemLink* TdxBarItemLinks::GetFirstSelectableLink() const
{
  int count = GetFittingItemCount();
  for (int i = 0; i < count; ++i)
    if (IsSelectable(FShownItems[size_t(i)]))  // the count brought the lists up to date
      return FShownItems[size_t(i)];
  return nullptr;
}

TdxBarItemLink* TdxBarItemLinks::GetLastSelectableLink() const
{
  for (int i = GetFittingItemCount() - 1; i >= 0; --i)
    if (IsSelectable(FShownItems[size_t(i)]))  // the count brought the lists up to date
      return FShownItems[size_t(i)];
  return nullptr;
}

// The positions after the link are tried in turn, wrapping at the end of the fitting links;
// the link itself comes last, so a lone selectable link stays selected and none gives nil.
TdxBarItemLink* TdxBarItemLinks::GetNextSelectableLink(TdxBarItemLink* ALink, bool AnyLink) const
{
  if (!ALink)
    return GetFirstSelectableLink();
  int count = GetFittingItemCount();
  if (count == 0)
    return nullptr;
  int start = IndexIn(FShownItems, ALink);
  if (start >= count)
    start = -1;
  for (int step = 1; step <= count; ++step) {
    TdxBarItemLink* link = FShownItems[size_t((start + step + count) % count)];
    if (AnyLink || IsSelectable(link))
      return link;
  }
  return nullptr;
}

TdxBarItemLink* TdxBarItemLinks::GetPrevSelectableLink(TdxBarItemLink* ALink, bool AnyLink) const
{
  if (!ALink)
    return GetLastSelectableLink();
  int count = GetFittingItemCount();
  if (count == 0)
    return nullptr;
  int start = IndexIn(FShownItems, ALink);
  if (start < 0 || start >= count)
    start = count;
  for (int step = 1; step <= count; ++step) {
    TdxBarItemLink* link = FShownItems[size_t((start - step + 2 * count) % count)];
    if (AnyLink || IsSelectable(link))
      return link;
  }
  return nullptr;
}

TdxBarItemLink* TdxBarItemLinks::FindAccelLink(uint16_t Key, TShiftState Shift, TdxBarItemLink* StartLink)
{
  Shift.Exclude(ssAlt);  // Alt+letter and the letter alone find the same link
  return DoFindAccelLink(Key, Shift, StartLink);
}

TdxBarItemLink* TdxBarItemLinks::DoFindAccelLink(uint16_t, TShiftState, TdxBarItemLink*)
{
  return nullptr;
}

namespace {

bool MatchesAccel(TdxBarItemLink* ALink, uint16_t Key, TShiftState Shift)
{
  TdxBarItem* item = ALink->GetItem();
  return item && item->HasAccel(ALink) && ALink->IsAccel(Key, Shift);
}

}  // namespace

TdxBarItemLink* TdxBarControlItemLinks::DoFindAccelLink(uint16_t Key, TShiftState Shift, TdxBarItemLink* StartLink)
{
  TCustomdxBarControl* bar = GetBarControl();
  if (!bar || !bar->GetVisible())
    return nullptr;
  TdxBarItemLink* end = StartLink;
  TdxBarItemLink* link;
  if (StartLink) {
    link = GetNextSelectableLink(StartLink);
  } else {
    end = GetFirstSelectableLink();
    if (!end)
      return nullptr;
    if (MatchesAccel(end, Key, Shift))
      return end;
    link = GetNextSelectableLink(end);
  }
  // Bounded as well, for a start link that is not among the selectable ones.
  for (int guard = ShownItemCount(); link && link != end && guard >= 0; --guard) {
    if (MatchesAccel(link, Key, Shift))
      return link;
    link = GetNextSelectableLink(link);
  }
  return nullptr;
}

TdxBarItemLink* TdxBarSubMenuControlItemLinks::DoFindAccelLink(uint16_t Key, TShiftState Shift,
                                                               TdxBarItemLink* StartLink)
{
  const TLinkList& visible = GetVisibleItems();
  int count = int(visible.size());
  if (count == 0)
    return nullptr;
  int start = StartLink ? IndexIn(visible, StartLink) : 0;
  if (start < 0)
    start = 0;
  for (int step = 1; step <= count; ++step) {
    TdxBarItemLink* link = visible[size_t((start + step) % count)];
    if (MatchesAccel(link, Key, Shift))
      return link;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Personalised menus

bool TdxBarItemLinks::CanUseRecentItems() const
{
  std::set<const TdxBarItemLinks*> visited;
  return CanUseRecentItems(visited);
}

bool TdxBarItemLinks::CanUseRecentItems(std::set<const TdxBarItemLinks*>& AVisited) const
{
  TdxBarManager* manager = GetBarManager();
  if (!manager || manager->GetRealStyle() == bmsStandard || !FUseRecentItems)
    return false;
  TCustomdxBarControl* bar = GetBarControl();
  TCustomdxBarControl* parent = bar ? bar->GetParentBarControl() : nullptr;
  TdxBarItemLinks* parentLinks = parent ? parent->GetItemLinks() : nullptr;
  if (!parentLinks)
    return true;  // a toolbar's links, asked as each is added, answer at once
  AVisited.insert(this);
  if (!AVisited.contains(parentLinks))
    return parentLinks->CanUseRecentItems(AVisited);
  return true;
}

// The links used at least as often as a threshold near the least used are shown. The
// recent order is scanned from the position of the last visible link upwards; the order
// also holds hidden links, so the position counts links of every kind.
int TdxBarItemLinks::CalcRecentItemCount() const
{
  UpdateLists();
  if (!CanUseRecentItems() || FVisibleItems.empty())
    return -1;
  int minCount = INT_MAX;
  int maxCount = 0;
  for (TdxBarItemLink* link : FVisibleItems) {
    minCount = std::min(minCount, link->GetUseCount());
    maxCount = std::max(maxCount, link->GetUseCount());
  }
  int percents = GetBarManager()->GetMostRecentItemsPercents();
  int threshold = minCount + MulDiv(maxCount - minCount, 100 - percents, 100);
  int count = 0;
  int last = std::min(int(FVisibleItems.size()), int(FRecentItems.size())) - 1;
  for (int i = last; i >= 0; --i)
    if (FRecentItems[size_t(i)]->GetUseCount() >= threshold) {
      count = i + 1;
      break;
    }
  return count == int(FVisibleItems.size()) ? -1 : count;
}

void TdxBarItemLinks::SetRecentItemCount(int Value)
{
  FSavedRecentItemCount = FRecentItemCount;
  FRecentItemCount = CanUseRecentItems() ? std::max(Value, -1) : -1;
  RebuildLists();
}

void TdxBarItemLinks::RestoreRecentItemCount()
{
  FRecentItemCount = FSavedRecentItemCount;
  RebuildLists();
}

void TdxBarItemLinks::MoveInRecent(TdxBarItemLink* ALink, int APosition)
{
  // Looked for from the end, where a link just added waits to come to the top.
  auto found = std::find(FRecentItems.rbegin(), FRecentItems.rend(), ALink);
  if (found == FRecentItems.rend())
    return;
  const auto it = std::next(found).base();
  const auto to = FRecentItems.begin() + std::clamp(APosition, 0, int(FRecentItems.size()) - 1);
  if (to < it)
    std::rotate(to, it, it + 1);
  else
    std::rotate(it, it + 1, to + 1);
}

void TdxBarItemLinks::RebuildLists()
{
  const bool thin = !IsCustomizing() && UpdateCount() == 0;
  // Links added under an update, or freed with their manager, rebuild the lists once rather
  // than once per link: they are only marked, and rebuilt as they would have been now when
  // they are next read (the end of an update reads them).
  TdxBarManager* manager = GetBarManager();
  if (UpdateCount() > 0 || (manager && manager->IsDestroying())) {
    FListsStale = true;
    FThinStaleLists = thin;
    return;
  }
  BuildLists(thin);
}

void TdxBarItemLinks::BuildLists(bool AThinSeparators)
{
  FListsStale = false;
  FAvailableItems.clear();
  FVisibleItems.clear();
  FShownItems.clear();
  const bool designing = IsDesigning();
  for (int i = 0; i < Count(); ++i) {
    TdxBarItemLink* link = Items(i);
    TdxBarItem* item = link->FItem;
    if (!item || (!designing && !item->IsAvailable()))
      continue;
    FAvailableItems.push_back(link);
    // Only a link that is visible can be shown, whatever the personalised state.
    if (!designing && !link->FVisible)
      continue;
    FVisibleItems.push_back(link);
    if (designing || FRecentItemCount == -1)
      FShownItems.push_back(link);
  }
  if (!designing && FRecentItemCount > 0) {
    std::unordered_map<const TdxBarItemLink*, int> visibleIndex;
    for (size_t i = 0; i < FVisibleItems.size(); ++i)
      visibleIndex[FVisibleItems[i]] = int(i);
    for (TdxBarItemLink* link : FRecentItems) {
      if (int(FShownItems.size()) >= FRecentItemCount)
        break;
      if (visibleIndex.contains(link))
        FShownItems.push_back(link);
    }
    std::sort(FShownItems.begin(), FShownItems.end(),
              [&](const TdxBarItemLink* a, const TdxBarItemLink* b) { return visibleIndex[a] < visibleIndex[b]; });
  }
  if (AThinSeparators)
    ThinSeparators();
  ShownItemsChanged();
}

// A separator shows only between two other links: one at the end, or one followed by
// another separator, goes. A leading separator stays.
void TdxBarItemLinks::ThinSeparators()
{
  auto IsSeparatorLink = [](const TdxBarItemLink* ALink) { return ALink->FItem && ALink->FItem->IsSeparator(); };
  for (int i = int(FShownItems.size()) - 1; i >= 0; --i) {
    TdxBarItemLink* link = FShownItems[size_t(i)];
    if (!IsSeparatorLink(link))
      continue;
    bool last = i == int(FShownItems.size()) - 1;
    if (last || IsSeparatorLink(FShownItems[size_t(i + 1)])) {
      FShownItems.erase(FShownItems.begin() + i);
      std::erase(FVisibleItems, link);
    }
  }
}

// ---------------------------------------------------------------------------
// Loading

void TdxBarItemLinks::Loaded()
{
  ResolveItemNames();
  ApplyLoadedState(true);
}

void TdxBarItemLinks::ResolveItemNames()
{
  for (int i = 0; i < Count(); ++i)
    Items(i)->ResolveItemName(true);
}

void TdxBarItemLinks::ApplyLoadedState(bool AApplyVisibility)
{
  for (int i = Count() - 1; i >= 0; --i)
    if (Items(i)->FItem)
      Items(i)->ApplyMostRecentlyUsed();
  if (AApplyVisibility)
    for (int i = Count() - 1; i >= 0; --i)
      Items(i)->ApplyLoadedVisible();
  for (int rank = 0; rank < Count(); ++rank)
    for (int i = 0; i < Count(); ++i) {
      TdxBarItemLink* link = Items(i);
      if (link->FLoadedRecentIndex != rank)
        continue;
      link->FUseCount = link->FLoadedUseCount;
      MoveInRecent(link, rank);
      link->FLoadedRecentIndex = -1;
    }
  RecalculateBarControl();
}

void TdxBarItemLinks::PackVisibleRecentItems()
{
  std::stable_partition(FRecentItems.begin(), FRecentItems.end(),
                        [](const TdxBarItemLink* link) { return link->GetVisible(); });
}

// ---------------------------------------------------------------------------
// Assignment

void TdxBarItemLinks::Assign(TPersistent* Source)
{
  if (!dynamic_cast<TdxBarItemLinks*>(Source)) {
    TCollection::Assign(Source);
    return;
  }
  if (Source == this)
    return;
  {
    TRestore assigning(FAssigning, true);
    TCollection::Assign(Source);
  }
  for (int i = 0; i < Count(); ++i)
    Items(i)->ApplyLoadedVisible();
}

// ---------------------------------------------------------------------------
// Merging

void TdxBarItemLinks::MergeLinks(TdxBarItemLinks* ASource)
{
  std::set<TdxBarItemLinks*> visited;
  MergeLinks(ASource, visited);
}

void TdxBarItemLinks::MergeLinks(TdxBarItemLinks* ASource, std::set<TdxBarItemLinks*>& AVisited)
{
  // The same sub-item linked on both bars makes source and destination one collection.
  if (!ASource || ASource == this || !AVisited.insert(this).second)
    return;
  TdxBarManager* manager = GetBarManager();
  TLinkList sources;
  for (int i = 0; i < ASource->Count(); ++i)
    sources.push_back(ASource->Items(i));
  for (TdxBarItemLink* source : sources) {
    if (ASource->IndexOf(source) < 0)
      continue;  // a handler freed it meanwhile
    TdxBarItem* sourceItem = source->FItem;
    if (!sourceItem)
      continue;
    TdxBarItemMergeKind kind = sourceItem->GetMergeKind();
    int index = -1;
    if (kind != mkNone) {
      if (kind == mkMergeByCaption) {
        String caption = source->GetCaption();
        for (int i = 0; i < Count(); ++i) {
          TdxBarItem* item = Items(i)->FItem;
          if (item && item->GetMergeKind() == mkMergeByCaption && Items(i)->GetCaption() == caption &&
              item->IsCompatibleWith(sourceItem))
            index = i;
        }
      }
      if (index < 0) {
        kind = mkAdd;
        int best = -1;
        int bestOrder = 0;
        for (int i = 0; i < Count(); ++i) {
          TdxBarItem* item = Items(i)->FItem;
          if (!item || item->GetMergeOrder() > sourceItem->GetMergeOrder())
            continue;
          if (best < 0 || item->GetMergeOrder() >= bestOrder) {
            best = i;
            bestOrder = item->GetMergeOrder();
          }
        }
        index = best + 1;
      }
    }
    if (manager)
      CallEvent(manager->OnMergeItemLink, manager, this, ASource, source, kind, index);
    if (ASource->IndexOf(source) < 0 || !source->FItem)
      continue;
    sourceItem = source->FItem;

    if (index < 0)
      kind = mkNone;
    if (kind == mkMergeByCaption &&
        !(index < Count() && Items(index)->FItem && Items(index)->FItem->IsCompatibleWith(sourceItem)))
      kind = mkNone;
    if (kind == mkAdd && index > Count())
      kind = mkNone;

    if (kind == mkMergeByCaption) {
      TdxBarItemLinks* inner = Items(index)->FItem->GetItemLinks();
      TdxBarItemLinks* innerSource = sourceItem->GetItemLinks();
      if (inner && innerSource)
        inner->MergeLinks(innerSource, AVisited);
    } else if (kind == mkAdd) {
      TdxBarItemLink* link = Insert(index);
      try {
        link->Assign(source);
      } catch (...) {
        link->Free();  // a refused copy leaves no empty link behind
        throw;
      }
    }
  }
}

void TdxBarItemLinks::UnmergeLinks(TdxBar* ABar)
{
  std::set<TdxBarItemLinks*> visited;
  UnmergeLinks(ABar, visited);
}

void TdxBarItemLinks::UnmergeLinks(TdxBar* ABar, std::set<TdxBarItemLinks*>& AVisited)
{
  if (!AVisited.insert(this).second)
    return;
  for (int i = Count() - 1; i >= 0; --i) {
    if (i >= Count())
      continue;
    TdxBarItemLink* link = Items(i);
    if (link->GetMergedFromBar() && (!ABar || link->GetMergedFromBar() == ABar)) {
      link->Free();
    } else if (TdxBarItem* item = link->FItem) {
      if (TdxBarItemLinks* inner = item->GetItemLinks())
        inner->UnmergeLinks(ABar, AVisited);
    }
  }
}
