// The bar component base and its lists.
#include "bars/model/components.h"

#include "bars/model/manager.h"

IMPLEMENT_CLASS(TdxObjectList, TObjectList)
IMPLEMENT_CLASS(TdxComponentList, TComponentList)
IMPLEMENT_CLASS(TdxBarComponentList, TdxComponentList)
IMPLEMENT_CLASS(TdxBarComponent, TComponent)

DEFINE_ENUM_INFO(TdxBarItemVisible, L"ivNever", L"ivInCustomizing", L"ivAlways")

// ---------------------------------------------------------------------------
// TdxObjectList

int TdxObjectList::AddUnique(TObject* AObject)
{
  if (!AObject || IndexOf(AObject) >= 0)
    return -1;
  return Add(AObject);
}

void TdxObjectList::AssignList(TList* Source)
{
  Clear();
  if (!Source)
    return;
  SetCapacity(Source->Count());
  bool unique = dynamic_cast<TdxObjectList*>(Source) != nullptr;
  for (int i = 0; i < Source->Count(); ++i) {
    auto* object = static_cast<TObject*>(Source->Items(i));
    if (unique)
      AddUnique(object);
    else
      Add(object);
  }
}

// ---------------------------------------------------------------------------
// TdxComponentList

TdxComponentList::~TdxComponentList()
{
  ClearLocked();
}

void TdxComponentList::ClearLocked()
{
  ++FLockCount;
  ClearQuietly();
  --FLockCount;
}

int TdxComponentList::Add(TComponent* AComponent)
{
  if (!AComponent || !AComponent->InheritsFrom(GetItemClass()))
    return -1;
  return TComponentList::Add(AComponent);
}

void TdxComponentList::Insert(int Index, TComponent* AComponent)
{
  if (!AComponent || !AComponent->InheritsFrom(GetItemClass()))
    return;
  TComponentList::Insert(Index, AComponent);
}

void TdxComponentList::EndUpdate(bool Notify)
{
  if (FLockCount == 0)
    return;
  if (--FLockCount == 0 && Notify)
    DoChanged(nullptr, clcnChanged);
}

void TdxComponentList::DoChanged(TComponent* AComponent, TdxComponentListChangeType Kind)
{
  if (FLockCount == 0)
    CallEvent(OnChange, this, AComponent, Kind);
}

void TdxComponentList::Notify(void* Ptr, TListNotification Action)
{
  TComponentList::Notify(Ptr, Action);
  auto* component = dynamic_cast<TComponent*>(static_cast<TObject*>(Ptr));
  if (FLockCount == 0)
    CallEvent(OnNotify, this, component, Action);
  switch (Action) {
    case lnAdded:
      DoChanged(component, clcnAdded);
      break;
    case lnExtracted:
      DoChanged(component, clcnExtracted);
      break;
    case lnDeleted:
      DoChanged(component, clcnDeleted);
      break;
  }
}

// ---------------------------------------------------------------------------
// TdxBarComponentList

TdxBarComponentList::~TdxBarComponentList()
{
  // The members outlive the list: they must forget it before it is gone.
  FDestroying = true;
  ClearLocked();
}

TClass TdxBarComponentList::GetItemClass() const
{
  return TdxBarComponent::StaticClass();
}

TdxBarComponent* TdxBarComponentList::GetBarComponent(int Index) const
{
  return Index >= 0 && Index < Count() ? static_cast<TdxBarComponent*>(Items(Index)) : nullptr;
}

void TdxBarComponentList::Notify(void* Ptr, TListNotification Action)
{
  if (auto* component = dynamic_cast<TdxBarComponent*>(static_cast<TObject*>(Ptr))) {
    if (Action == lnAdded)
      component->AddList(this);
    else if (EntryCount(component) <= 1)
      // The entry leaving was the last. Also while the component is being destroyed: the list may go before the
      // component's destructor runs.
      component->RemoveList(this);
  }
  TdxComponentList::Notify(Ptr, Action);
}

// ---------------------------------------------------------------------------
// TdxBarComponent

TdxBarComponent::~TdxBarComponent()
{
  // Normally every list has let go in BeforeDestruction; a list that still holds the
  // component (it was deleted without Free) drops it here.
  while (FLists.Count() > 0) {
    auto* list = static_cast<TdxBarComponentList*>(FLists.Last());
    FLists.Delete(FLists.Count() - 1);
    while (list->IndexOf(this) >= 0)
      list->Extract(this);
  }
}

void TdxBarComponent::Changed(bool AllItems)
{
  if (ComponentState().Contains(csDestroying))
    return;
  if (FLists.Count() == 0)
    return;
  // A copy: a change handler may add or remove lists. A component is in few lists: they are
  // copied in place unless there are more.
  constexpr int InPlace = 4;
  TdxBarComponentList* few[InPlace];
  std::vector<TdxBarComponentList*> many;
  const int count = FLists.Count();
  TdxBarComponentList** lists = few;
  if (count > InPlace) {
    many.resize(size_t(count));
    lists = many.data();
  }
  for (int i = 0; i < count; ++i)
    lists[i] = static_cast<TdxBarComponentList*>(FLists.Items(i));
  for (int i = 0; i < count; ++i)
    if (FLists.IndexOf(lists[i]) >= 0 && !lists[i]->IsDestroying())
      lists[i]->Changed(AllItems ? nullptr : this);
}

bool TdxBarComponent::CanDelete(bool Force)
{
  TdxBarManager* manager = GetBarManager();
  return !manager || manager->CanDeleteComponent(this);
}

void TdxBarComponent::Delete(bool Force)
{
  if (CanDelete(Force))
    Free();
}

TdxBarManager* TdxBarComponent::GetBarManager() const
{
  return FBarManager.Get();
}

void TdxBarComponent::SetBarManager(TdxBarManager* Value)
{
  FBarManager = TWeakRef<TdxBarManager>(Value);
}

void TdxBarComponent::AddOwnerTo(TdxObjectList* List)
{
  if (List)
    List->AddUnique(Owner());
}

TdxBarComponentList* TdxBarComponent::GetList(int Index) const
{
  return Index >= 0 && Index < FLists.Count() ? static_cast<TdxBarComponentList*>(FLists.Items(Index)) : nullptr;
}

void TdxBarComponent::AddList(TdxBarComponentList* AList)
{
  if (FLists.IndexOf(AList) < 0)
    FLists.Add(AList);
}

void TdxBarComponent::RemoveList(TdxBarComponentList* AList)
{
  FLists.Remove(AList);
}
