#include "platform/Lists.h"

#include <algorithm>

IMPLEMENT_CLASS(TList, TObject)
IMPLEMENT_CLASS(TObjectList, TList)
IMPLEMENT_CLASS(TComponentList, TObjectList)

// ---------------------------------------------------------------------------
// TList

TList::~TList()
{
  // Descendants clear in their own destructors, where their Notify still runs; what is
  // left here only needs the base notification, which does nothing.
  FList.clear();
}

void TList::Error(const String& Message, int Data)
{
  throw EListError(Format(Message, {Data}));
}

void TList::CheckIndex(int Index) const
{
  if (Index < 0 || Index >= Count())
    Error(L"List index out of bounds (%d)", Index);
}

int TList::Add(void* Item)
{
  int index = Count();
  FList.push_back(Item);
  if (Item)
    Notify(Item, lnAdded);
  return index;
}

void TList::Insert(int Index, void* Item)
{
  if (Index < 0 || Index > Count())
    Error(L"List index out of bounds (%d)", Index);
  FList.insert(FList.begin() + Index, Item);
  if (Item)
    Notify(Item, lnAdded);
}

void TList::Delete(int Index)
{
  RemoveAt(Index, lnDeleted);
}

void TList::RemoveAt(int Index, TListNotification Action)
{
  CheckIndex(Index);
  void* item = FList[size_t(Index)];
  FList.erase(FList.begin() + Index);
  if (item)
    Notify(item, Action);
}

int TList::Remove(void* Item)
{
  int index = IndexOf(Item);
  if (index >= 0)
    Delete(index);
  return index;
}

int TList::IndexOf(void* Item) const
{
  auto it = std::find(FList.begin(), FList.end(), Item);
  return it == FList.end() ? -1 : int(it - FList.begin());
}

void* TList::Extract(void* Item)
{
  int index = IndexOf(Item);
  if (index < 0)
    return nullptr;
  ExtractAt(index);
  return Item;
}

void TList::ExtractAt(int Index)
{
  RemoveAt(Index, lnExtracted);
}

void TList::Clear()
{
  SetCount(0);
  SetCapacity(0);
}

void TList::SetCount(int NewCount)
{
  if (NewCount < 0)
    Error(L"List count out of bounds (%d)", NewCount);
  if (NewCount > Count()) {
    try {
      FList.resize(size_t(NewCount), nullptr);
    } catch (const std::exception&) {
      Error(L"List count out of bounds (%d)", NewCount);
    }
    return;
  }
  // One at a time from the end: a notification may free objects that change the list.
  while (Count() > NewCount)
    Delete(Count() - 1);
}

void TList::SetCapacity(int NewCapacity)
{
  if (NewCapacity < Count())
    Error(L"List capacity out of bounds (%d)", NewCapacity);
  try {
    if (size_t(NewCapacity) > FList.capacity()) {
      FList.reserve(size_t(NewCapacity));
    } else if (size_t(NewCapacity) < FList.capacity()) {
      std::vector<void*> trimmed;
      trimmed.reserve(size_t(NewCapacity));
      trimmed.assign(FList.begin(), FList.end());
      FList.swap(trimmed);
    }
  } catch (const std::exception&) {
    Error(L"List capacity out of bounds (%d)", NewCapacity);
  }
}

void* TList::Items(int Index) const
{
  CheckIndex(Index);
  return FList[size_t(Index)];
}

void TList::SetItems(int Index, void* Item)
{
  CheckIndex(Index);
  void* old = FList[size_t(Index)];
  if (old == Item)
    return;
  FList[size_t(Index)] = Item;
  if (old)
    Notify(old, lnDeleted);
  if (Item)
    Notify(Item, lnAdded);
}

void TList::Sort(const TListSortCompare& Compare)
{
  if (!Compare || Count() < 2)
    return;
  // Sorted on a copy: a comparison that raises leaves the list as it was.
  std::vector<void*> sorted = FList;
  std::stable_sort(sorted.begin(), sorted.end(), [&Compare](void* a, void* b) { return Compare(a, b) < 0; });
  FList.swap(sorted);
}

void TList::Move(int CurIndex, int NewIndex)
{
  if (CurIndex == NewIndex)
    return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  void* item = FList[size_t(CurIndex)];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, item);
}

void TList::Exchange(int Index1, int Index2)
{
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
}

void TList::Pack()
{
  FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end());
}

void TList::Assign(TList* ListA, TListAssignOp Operator, TList* ListB)
{
  TList* sourceList = ListA;
  if (ListB) {
    Assign(ListA);
    sourceList = ListB;
  }
  if (!sourceList)
    return;
  // A snapshot, so that assigning a list to itself or notifications that change the
  // source cannot disturb the walk.
  const std::vector<void*> source = sourceList->FList;
  auto inSource = [&source](void* item) { return std::find(source.begin(), source.end(), item) != source.end(); };

  switch (Operator) {
    case laCopy:
      if (sourceList == this)
        return;
      Clear();
      SetCapacity(int(source.size()));
      for (void* item : source)
        Add(item);
      break;
    case laAnd:
      for (int i = Count() - 1; i >= 0; --i)
        if (i < Count() && !inSource(FList[size_t(i)]))
          Delete(i);
      break;
    case laOr:
      for (void* item : source)
        if (IndexOf(item) < 0)
          Add(item);
      break;
    case laXor: {
      std::vector<void*> added;
      for (void* item : source)
        if (IndexOf(item) < 0)
          added.push_back(item);
      for (int i = Count() - 1; i >= 0; --i)
        if (i < Count() && inSource(FList[size_t(i)]))
          Delete(i);
      for (void* item : added)
        Add(item);
      break;
    }
    case laSrcUnique: {
      std::vector<void*> unique;
      for (void* item : source)
        if (IndexOf(item) < 0)
          unique.push_back(item);
      Clear();
      for (void* item : unique)
        Add(item);
      break;
    }
    case laDestUnique:
      for (int i = Count() - 1; i >= 0; --i)
        if (i < Count() && inSource(FList[size_t(i)]))
          Delete(i);
      break;
  }
}

// ---------------------------------------------------------------------------
// TObjectList

TObjectList::~TObjectList()
{
  ClearQuietly();
}

void TObjectList::ClearQuietly()
{
  while (Count() > 0) {
    try {
      Delete(Count() - 1);
    } catch (...) {
      // Lost here: nothing may leave a destructor, and the other entries still go.
    }
  }
}

int TObjectList::FindInstanceOf(TClass AClass, bool AExact, int AStartAt) const
{
  for (int i = std::max(AStartAt, 0); i < Count(); ++i) {
    TObject* item = Items(i);
    if (!item)
      continue;
    if (AExact ? item->ClassType() == AClass : item->InheritsFrom(AClass))
      return i;
  }
  return -1;
}

void TObjectList::Notify(void* Ptr, TListNotification Action)
{
  if (FOwnsObjects && Action == lnDeleted)
    static_cast<TObject*>(Ptr)->Free();
  TList::Notify(Ptr, Action);
}

// ---------------------------------------------------------------------------
// TComponentList

// Hidden observer of a TComponentList's members: a member's free notification lands
// here and is passed on to the list.
class TComponentListNexus : public TComponent {
public:
  explicit TComponentListNexus(TComponentList* List) : TComponent(nullptr), FList(List) {}

  void Notification(TComponent* AComponent, TOperation Operation) override
  {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && FList)
      FList->HandleFreeNotify(this, AComponent);
  }

  TComponentList* FList;
};

TComponentList::TComponentList(bool AOwnsObjects) : TObjectList(AOwnsObjects), FNexus(new TComponentListNexus(this)) {}

TComponentList::~TComponentList()
{
  ClearQuietly();
  FNexus->FList = nullptr;
  delete FNexus;
}

void TComponentList::Notify(void* Ptr, TListNotification Action)
{
  if (auto* component = dynamic_cast<TComponent*>(static_cast<TObject*>(Ptr))) {
    if (Action == lnAdded) {
      if (FEntries[component]++ == 0)
        component->FreeNotification(FNexus);
    } else if (auto it = FEntries.find(component); it != FEntries.end() && --it->second == 0) {
      FEntries.erase(it);
      component->RemoveFreeNotification(FNexus);  // no other entry holds it
    }
  }
  TObjectList::Notify(Ptr, Action);
}

int TComponentList::EntryCount(TComponent* AComponent) const
{
  auto it = FEntries.find(AComponent);
  return it == FEntries.end() ? 0 : it->second;
}

void TComponentList::HandleFreeNotify(TObject* Sender, TComponent* AComponent)
{
  // Members are mostly freed last first: the search starts at the end.
  while (FEntries.contains(AComponent)) {
    int index = Count() - 1;
    while (index >= 0 && Items(index) != AComponent)
      --index;
    if (index < 0)
      break;
    ExtractAt(index);
  }
}
