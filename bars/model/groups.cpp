// Groups of a bar manager and the manager's group register.
#include "bars/model/groups.h"

#include <algorithm>

#include "bars/utils/dxBarStrs.h"
#include "bars/model/manager.h"
#include "platform/Filer.h"

PUBLISHED(TdxBarGroup, TdxBarComponent)
{
  p.Prop(L"Enabled", &TdxBarGroup::GetEnabled, &TdxBarGroup::SetEnabled).Default(true);
  p.Prop(L"Visible", &TdxBarGroup::GetVisible, &TdxBarGroup::SetVisible).Default(ivAlways);
}

TdxBarGroup::TdxBarGroup(TComponent* AOwner) : TdxBarComponent(AOwner), FItems(std::make_unique<TdxBarComponentList>())
{
}

TdxBarGroup::~TdxBarGroup() = default;

// ---------------------------------------------------------------------------
// Members

bool TdxBarGroup::Contains(TdxBarComponent* AComponent) const
{
  if (!AComponent)
    return false;
  // Breadth first with a visited list: a cycle that slipped in elsewhere cannot hang it.
  std::vector<const TdxBarGroup*> pending{this};
  std::vector<const TdxBarGroup*> visited;
  while (!pending.empty()) {
    const TdxBarGroup* group = pending.back();
    pending.pop_back();
    if (std::find(visited.begin(), visited.end(), group) != visited.end())
      continue;
    visited.push_back(group);
    for (int i = 0; i < group->FItems->Count(); ++i) {
      TdxBarComponent* member = group->FItems->GetBarComponent(i);
      if (member == AComponent)
        return true;
      if (auto* inner = dynamic_cast<TdxBarGroup*>(member))
        pending.push_back(inner);
    }
  }
  return false;
}

void TdxBarGroup::Add(TdxBarComponent* AComponent)
{
  if (!AComponent || IndexOf(AComponent) >= 0)
    return;
  if (AComponent == this)
    throw Exception(GetResourceString(sdxBarRecursiveGroupsError));
  if (auto* group = dynamic_cast<TdxBarGroup*>(AComponent))
    if (group->Contains(this))
      throw Exception(GetResourceString(sdxBarRecursiveGroupsError));
  FItems->Add(AComponent);
}

void TdxBarGroup::Remove(TdxBarComponent* AComponent)
{
  if (AComponent)
    FItems->Remove(AComponent);
}

void TdxBarGroup::Move(int ACurIndex, int ANewIndex)
{
  TdxBarComponent* member = GetItem(ACurIndex);
  if (!member || ANewIndex < 0 || ANewIndex >= FItems->Count() || ANewIndex == ACurIndex)
    return;
  FItems->Remove(member);
  FItems->Insert(ANewIndex, member);
}

int TdxBarGroup::IndexOf(TdxBarComponent* AComponent) const
{
  return FItems->IndexOf(AComponent);
}

int TdxBarGroup::GetCount() const
{
  if (FLoadedNames && ComponentState().Contains(csLoading))
    return int(FLoadedNames->size());
  return FItems->Count();
}

TdxBarComponent* TdxBarGroup::GetItem(int Index) const
{
  return FItems->GetBarComponent(Index);
}

// ---------------------------------------------------------------------------
// Enabled and Visible

namespace {

// Members are set under the manager's update lock, so bars rebuild once. (The design
// controller's open customizing popup joins this rule with the controller.)
template <class TApply>
void SetForMembers(TdxBarManager* AManager, const TdxBarComponentList& AItems, TApply Apply)
{
  TdxBarManagerUpdate update(AManager);
  for (int i = 0; i < AItems.Count(); ++i)
    Apply(AItems.GetBarComponent(i));
}

}  // namespace

// Loading and destruction set the value alone: the members stream their own.
bool TdxBarGroup::IsInternalChange() const
{
  TComponentState state = ComponentState();
  return state.Contains(csLoading) || state.Contains(csDestroying);
}

void TdxBarGroup::SetEnabled(bool Value)
{
  if (FEnabled == Value)
    return;
  FEnabled = Value;
  if (!IsInternalChange())
    SetForMembers(GetBarManager(), *FItems, [Value](TdxBarComponent* AMember) { AMember->SetEnabled(Value); });
}

void TdxBarGroup::SetVisible(TdxBarItemVisible Value)
{
  if (FVisible == Value)
    return;
  FVisible = Value;
  if (!IsInternalChange())
    SetForMembers(GetBarManager(), *FItems, [Value](TdxBarComponent* AMember) { AMember->SetVisible(Value); });
}

// ---------------------------------------------------------------------------
// Place in the manager

void TdxBarGroup::SetManager(TdxBarManager* AManager)
{
  TdxBarManager* old = GetBarManager();
  if (old && old != AManager && old->GetGroupList())
    old->GetGroupList()->Remove(this);
  SetBarManager(AManager);
  if (AManager && AManager->GetGroupList() && AManager->GetGroupList()->IndexOf(this) < 0)
    AManager->GetGroupList()->Add(this);
}

int TdxBarGroup::GetIndex() const
{
  TdxBarManager* manager = GetBarManager();
  return manager ? manager->GetGroupList()->IndexOf(const_cast<TdxBarGroup*>(this)) : -1;
}

void TdxBarGroup::SetIndex(int Value)
{
  TdxBarManager* manager = GetBarManager();
  int index = GetIndex();
  if (index < 0)
    return;
  TdxBarComponentList* groups = manager->GetGroupList();
  Value = std::clamp(Value, 0, groups->Count() - 1);
  if (Value != index)
    groups->Move(index, Value);
}

TComponent* TdxBarGroup::GetParentComponent() const
{
  return GetBarManager();
}

void TdxBarGroup::SetParentComponent(TComponent* Value)
{
  if (auto* manager = dynamic_cast<TdxBarManager*>(Value))
    SetManager(manager);
}

void TdxBarGroup::SetName(const String& NewName)
{
  TdxBarComponent::SetName(NewName);
  Changed();
}

// ---------------------------------------------------------------------------
// Form data

TdxBarComponent* TdxBarGroup::FindMember(const String& AName) const
{
  TdxBarManager* manager = GetBarManager();
  TComponent* place = manager && manager->Owner() ? manager->Owner() : Owner();
  return place ? dynamic_cast<TdxBarComponent*>(place->FindComponent(AName)) : nullptr;
}

void TdxBarGroup::AddByNames(const std::vector<String>& Names)
{
  for (const String& name : Names) {
    TdxBarComponent* member = FindMember(name);
    if (!member || member == this ||
        (dynamic_cast<TdxBarGroup*>(member) && static_cast<TdxBarGroup*>(member)->Contains(this)))
      continue;
    Add(member);
  }
}

std::vector<String> TdxBarGroup::MemberNames() const
{
  std::vector<String> names;
  for (int i = 0; i < FItems->Count(); ++i)
    names.push_back(FItems->Items(i)->Name());
  return names;
}

void TdxBarGroup::DefineProperties(TFiler* Filer)
{
  TdxBarComponent::DefineProperties(Filer);
  bool hasData = true;
  if (auto* ancestor = dynamic_cast<TdxBarGroup*>(Filer->Ancestor()))
    hasData = ancestor->MemberNames() != MemberNames();
  Filer->DefineProperty(
      L"Items", [this](TReader* Reader) { ReadItems(Reader); }, [this](TWriter* Writer) { WriteItems(Writer); },
      hasData);
}

void TdxBarGroup::ReadItems(TReader* Reader)
{
  std::vector<String> names;
  Reader->ReadListBegin();
  while (!Reader->EndOfList())
    names.push_back(Reader->ReadString());
  Reader->ReadListEnd();
  if (ComponentState().Contains(csLoading)) {
    FLoadedNames = std::make_unique<std::vector<String>>(std::move(names));
    return;
  }
  FItems->Clear();
  AddByNames(names);
}

void TdxBarGroup::WriteItems(TWriter* Writer)
{
  Writer->WriteListBegin();
  for (const String& name : MemberNames())
    Writer->WriteString(name);
  Writer->WriteListEnd();
}

void TdxBarGroup::Loaded()
{
  TdxBarComponent::Loaded();
  if (std::unique_ptr<std::vector<String>> names = std::move(FLoadedNames))
    AddByNames(*names);
}

// ---------------------------------------------------------------------------
// The manager's group register

int TdxBarManager::GetGroupCount() const
{
  return FGroups->Count();
}

TdxBarGroup* TdxBarManager::GetGroup(int Index) const
{
  return dynamic_cast<TdxBarGroup*>(FGroups->GetBarComponent(Index));
}

TdxBarGroup* TdxBarManager::AddGroup()
{
  auto* group = new TdxBarGroup(Owner());
  group->SetManager(this);
  return group;
}
