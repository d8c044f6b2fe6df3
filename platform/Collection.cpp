#include "platform/Collection.h"

#include <algorithm>

IMPLEMENT_CLASS(TCollectionItem, TPersistent)
IMPLEMENT_CLASS(TCollection, TPersistent)
IMPLEMENT_CLASS(TOwnedCollection, TCollection)

namespace {

[[noreturn]] void IndexError(int Index)
{
  throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
}

}  // namespace

// ---------------------------------------------------------------------------
// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* Collection)
{
  if (!Collection)
    return;
  Collection->InsertItem(this);
  if (Collection->FDeferAnnounce) {
    // Add announces the item once its constructors have all run.
    Collection->FDeferAnnounce = false;
    FAddPending = true;
    return;
  }
  FAddPending = true;
  try {
    Collection->AnnounceItem(this);
  } catch (...) {
    // This destructor will not run for a constructor that raises: leave the list here.
    Collection->RemoveItem(this);
    throw;
  }
}

TCollectionItem::~TCollectionItem()
{
  if (!FCollection)
    return;
  // Deleted without Free; a destructor may not raise, so a failing notification is dropped.
  try {
    FCollection->RemoveItem(this);
  } catch (...) {
    auto& items = FCollection->FItems;
    items.erase(std::remove(items.begin(), items.end(), this), items.end());
  }
}

void TCollectionItem::BeforeDestruction()
{
  TPersistent::BeforeDestruction();
  SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* Value)
{
  if (FCollection == Value)
    return;
  if (Value && !InheritsFrom(Value->FItemClass))
    throw EListError(L"A " + ClassName() + L" cannot join a collection of " + Value->FItemClass->ClassName());
  if (FCollection)
    FCollection->RemoveItem(this);
  if (Value) {
    Value->InsertItem(this);
    FAddPending = true;
    Value->AnnounceItem(this);
  }
}

int TCollectionItem::Index() const
{
  if (!FCollection)
    return -1;
  const auto& items = FCollection->FItems;
  auto hinted = [&] { return FIndexHint >= 0 && FIndexHint < int(items.size()) && items[size_t(FIndexHint)] == this; };
  if (hinted())
    return FIndexHint;
  // The list changed: one pass sets every item's hint, so that asking each item in turn
  // stays linear.
  for (size_t i = 0; i < items.size(); ++i)
    items[i]->FIndexHint = int(i);
  return hinted() ? FIndexHint : -1;
}

void TCollectionItem::SetIndex(int Value)
{
  int current = Index();
  if (current < 0 || current == Value)
    return;
  if (Value < 0 || Value >= FCollection->Count())
    IndexError(Value);
  FCollection->MoveItem(this, Value);
  Changed(true);
}

String TCollectionItem::GetDisplayName() const
{
  return ClassName();
}

String TCollectionItem::GetNamePath() const
{
  if (!FCollection)
    return ClassName();
  return FCollection->GetNamePath() + L"[" + IntToStr(Index()) + L"]";
}

TPersistent* TCollectionItem::GetOwner() const
{
  return FCollection;
}

void TCollectionItem::Changed(bool AllItems)
{
  if (FCollection)
    FCollection->ItemChanged(AllItems ? nullptr : this);
}

// ---------------------------------------------------------------------------
// TCollection

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(ItemClass)
{
  if (!ItemClass || !ItemClass->InheritsFrom(TCollectionItem::StaticClass()))
    throw EInvalidCast(L"The item class of a collection must descend from TCollectionItem");
}

TCollection::~TCollection()
{
  // No Update calls from a collection that is going away.
  FUpdateCount = 1;
  while (!FItems.empty()) {
    TCollectionItem* item = FItems.back();
    try {
      item->Free();
    } catch (...) {
      // The item could not leave through its notification: detach it and let it go.
      if (!FItems.empty() && FItems.back() == item) {
        FItems.pop_back();
        item->FCollection = nullptr;
        delete item;
      }
    }
  }
}

TCollectionItem* TCollection::Add()
{
  TObject* object;
  {
    TRestore defer(FDeferAnnounce, true);
    object = FItemClass->Create(this);
  }

  auto* item = dynamic_cast<TCollectionItem*>(object);
  if (!item) {
    object->Free();
    throw EInvalidCast(L"Invalid class typecast");
  }
  try {
    if (item->FCollection != this)
      item->SetCollection(this);  // a constructor that did not join: join now
    else if (item->FAddPending)
      AnnounceItem(item);
  } catch (...) {
    // An item its collection refused to take is not kept half-added.
    if (item->FAddPending || item->FCollection != this)
      item->Free();
    throw;
  }
  return item;
}

TCollectionItem* TCollection::Insert(int Index)
{
  if (Index < 0 || Index > Count())
    IndexError(Index);
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(int Index)
{
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  item->Free();
}

void TCollection::Clear()
{
  if (FItems.empty())
    return;
  WithUpdate(*this, [&] {
    while (!FItems.empty())
      FItems.back()->Free();
  });
}

void TCollection::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TCollection*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this)
    return;
  WithUpdate(*this, [&] {
    Clear();
    for (int i = 0; i < source->Count(); ++i)
      Add()->Assign(source->Items(i));
  });
}

void TCollection::BeginUpdate()
{
  ++FUpdateCount;
}

void TCollection::EndUpdate()
{
  if (FUpdateCount == 0)
    return;  // unbalanced: nothing to end
  --FUpdateCount;
  Changed();
}

TCollectionItem* TCollection::Items(int Index) const
{
  if (Index < 0 || Index >= Count())
    IndexError(Index);
  return FItems[size_t(Index)];
}

void TCollection::SetItems(int Index, TCollectionItem* Value)
{
  Items(Index)->Assign(Value);
}

TCollectionItem* TCollection::FindItemID(int ID) const
{
  for (TCollectionItem* item : FItems)
    if (item->FID == ID)
      return item;
  return nullptr;
}

String TCollection::GetPropName() const
{
  TPersistent* owner = GetOwner();
  if (!owner)
    return String();
  for (const TPropInfo& prop : owner->ClassType()->Properties())
    if (prop.Kind == TPropKind::Object && prop.GetObj && prop.GetObj(owner) == this)
      return prop.Name;
  return String();
}

String TCollection::GetNamePath() const
{
  TPersistent* owner = GetOwner();
  if (!owner)
    return ClassName();
  String path = owner->GetNamePath();
  String prop = GetPropName();
  if (path.empty() || prop.empty())
    return ClassName();
  return path + L"." + prop;
}

void TCollection::Notify(TCollectionItem* Item, TCollectionNotification Action)
{
  if (Action == cnAdded)
    Added(Item);
  else if (Action == cnDeleting)
    Deleting(Item);
}

void TCollection::Changed()
{
  if (FUpdateCount == 0)
    Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item)
{
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
}

void TCollection::AnnounceItem(TCollectionItem* Item)
{
  Notify(Item, cnAdded);
  Item->FAddPending = false;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item)
{
  // An item never announced leaves as quietly as it came.
  bool announced = !Item->FAddPending;
  if (announced)
    Notify(Item, cnExtracting);
  // A collection frees its own items from the end.
  EraseLast(FItems, Item);
  Item->FCollection = nullptr;
  Item->FAddPending = false;
  if (announced)
    Changed();
}

void TCollection::ItemChanged(TCollectionItem* Item)
{
  if (FUpdateCount == 0)
    Update(Item);
}

void TCollection::MoveItem(TCollectionItem* Item, int NewIndex)
{
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end())
    return;
  FItems.erase(it);
  FItems.insert(FItems.begin() + NewIndex, Item);
}

// ---------------------------------------------------------------------------

TOwnedCollection::TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
    : TCollection(ItemClass), FOwner(AOwner)
{
}
