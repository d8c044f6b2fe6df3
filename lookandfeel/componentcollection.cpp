// Component collections and their items.
#include "lookandfeel/cxClasses.h"

#include <algorithm>

IMPLEMENT_CLASS(TcxComponentCollectionItem, TComponent)
IMPLEMENT_CLASS(TcxComponentCollection, TPersistent)

// ---------------------------------------------------------------------------

TcxComponentCollectionItem::TcxComponentCollectionItem(TComponent* AOwner) : TComponent(AOwner) {}

TcxComponentCollectionItem::~TcxComponentCollectionItem()
{
  // A plain delete skips BeforeDestruction; the collection must not keep a dangling entry.
  if (FCollection)
    FCollection->RemoveItem(this);
}

void TcxComponentCollectionItem::BeforeDestruction()
{
  TComponent::BeforeDestruction();
  // Leave while the item still has its full type, so Notify overrides may look at it.
  if (FCollection)
    FCollection->RemoveItem(this);
}

void TcxComponentCollectionItem::SetCollection(TcxComponentCollection* Value)
{
  if (FCollection == Value)
    return;
  if (FCollection)
    FCollection->RemoveItem(this);
  if (Value)
    Value->InsertItem(this);
}

int TcxComponentCollectionItem::GetIndex() const
{
  return FCollection ? FCollection->IndexOf(this) : -1;
}

void TcxComponentCollectionItem::SetIndex(int Value)
{
  if (FCollection)
    FCollection->MoveItem(this, Value);
}

void TcxComponentCollectionItem::Changed(bool AAllItems)
{
  if (!FCollection || ComponentState().Contains(csDestroying))
    return;
  FCollection->Changed(AAllItems ? nullptr : this, ccnChanged);
}

TComponent* TcxComponentCollectionItem::GetParentComponent() const
{
  return FCollection ? FCollection->ParentComponent() : nullptr;
}

void TcxComponentCollectionItem::SetParentComponent(TComponent* Value)
{
  SetCollection(Value ? GetCollectionFromParent(Value) : nullptr);
}

TcxComponentCollection* TcxComponentCollectionItem::GetCollectionFromParent(TComponent* AParent)
{
  return nullptr;
}

// ---------------------------------------------------------------------------

TcxComponentCollection::TcxComponentCollection(TComponent* AParentComponent, TClass AItemClass)
    : FParentComponent(AParentComponent), FItemClass(AItemClass)
{
}

TcxComponentCollection::~TcxComponentCollection()
{
  // Freed quietly: nobody should hear of changes of a collection that is going away.
  OnChange = nullptr;
  ++FUpdateCount;
  while (!FItems.empty()) {
    TcxComponentCollectionItem* item = FItems.back();
    FItems.pop_back();
    item->FCollection = nullptr;
    item->Free();
  }
}

TcxComponentCollectionItem* TcxComponentCollection::Add()
{
  return Add(FItemClass);
}

TcxComponentCollectionItem* TcxComponentCollection::Add(TClass AItemClass)
{
  if (!AItemClass || !AItemClass->InheritsFrom(TcxComponentCollectionItem::StaticClass()))
    throw EInvalidCast(L"A component collection holds only TcxComponentCollectionItem descendants");
  TComponent* owner = FParentComponent ? FParentComponent->Owner() : nullptr;
  auto* item = static_cast<TcxComponentCollectionItem*>(AItemClass->Create(owner));
  try {
    SetItemName(item);
  } catch (...) {
    item->Free();  // an item that cannot be named joins nothing
    throw;
  }
  item->SetCollection(this);
  return item;
}

void TcxComponentCollection::SetItemName(TcxComponentCollectionItem* AItem)
{
  TComponent* owner = AItem->Owner();
  AItem->SetName(CreateUniqueComponentName(owner, FParentComponent, AItem, 1, GetItemPrefixName()));
}

void TcxComponentCollection::Clear()
{
  if (FItems.empty())
    return;
  BeginUpdate();
  TFinally end([this] { EndUpdate(); });
  while (!FItems.empty())
    FItems.back()->Free();
}

void TcxComponentCollection::Delete(int Index)
{
  TcxComponentCollectionItem* item = GetItem(Index);
  Changed(item, ccnDeleting);
  item->Free();
}

int TcxComponentCollection::IndexOf(const TcxComponentCollectionItem* AItem) const
{
  auto it = std::find(FItems.begin(), FItems.end(), AItem);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TcxComponentCollectionItem* TcxComponentCollection::GetItem(int Index) const
{
  if (Index < 0 || Index >= GetCount())
    throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
  return FItems[size_t(Index)];
}

void TcxComponentCollection::BeginUpdate()
{
  ++FUpdateCount;
}

void TcxComponentCollection::EndUpdate()
{
  if (FUpdateCount <= 0)
    return;
  if (--FUpdateCount == 0)
    Notify(nullptr, ccnChanged);
}

void TcxComponentCollection::Notify(TcxComponentCollectionItem* AItem, TcxComponentCollectionNotification AAction)
{
  if (OnChange.Assigned())
    OnChange(this, AItem, AAction);
}

void TcxComponentCollection::Changed(TcxComponentCollectionItem* AItem, TcxComponentCollectionNotification AAction)
{
  if (FUpdateCount == 0)
    Notify(AItem, AAction);
}

void TcxComponentCollection::InsertItem(TcxComponentCollectionItem* AItem)
{
  FItems.push_back(AItem);
  AItem->FCollection = this;
  Changed(AItem, ccnAdded);
}

void TcxComponentCollection::RemoveItem(TcxComponentCollectionItem* AItem)
{
  auto it = std::find(FItems.begin(), FItems.end(), AItem);
  if (it == FItems.end())
    return;
  Changed(AItem, ccnExtracting);
  // The handler may have moved things; look again.
  it = std::find(FItems.begin(), FItems.end(), AItem);
  if (it != FItems.end())
    FItems.erase(it);
  AItem->FCollection = nullptr;
  Changed(AItem, ccnExtracted);
}

void TcxComponentCollection::MoveItem(TcxComponentCollectionItem* AItem, int NewIndex)
{
  int oldIndex = IndexOf(AItem);
  if (oldIndex < 0)
    return;
  NewIndex = std::clamp(NewIndex, 0, GetCount() - 1);
  if (NewIndex == oldIndex)
    return;
  FItems.erase(FItems.begin() + oldIndex);
  FItems.insert(FItems.begin() + NewIndex, AItem);
  Changed(nullptr, ccnChanged);
}
