#include "platform/Component.h"

#include <algorithm>
#include <cwctype>
#include <typeinfo>

IMPLEMENT_CLASS(TPersistent, TObject)
PUBLISHED(TComponent, TPersistent)
{
  p.Prop(L"Name", &TComponent::FName, &TComponent::SetName).Stored(false);
  p.Prop(L"Tag", &TComponent::FTag, &TComponent::SetTag).Default(0);
}

DEFINE_ENUM_INFO(TComponentStateE, L"csLoading", L"csReading", L"csWriting", L"csDestroying", L"csDesigning",
                 L"csAncestor", L"csUpdating", L"csFixups", L"csFreeNotification", L"csInline", L"csDesignInstance")
DEFINE_ENUM_INFO(TComponentStyleE, L"csInheritable", L"csCheckPropAvail", L"csSubComponent", L"csTransient")

// ---------------------------------------------------------------------------
// TPersistent

void TPersistent::Assign(TPersistent* Source)
{
  if (Source)
    Source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest)
{
  Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* Source)
{
  String sourceName = Source ? Source->ClassName() : String(L"nil");
  throw EConvertError(L"Cannot assign a " + sourceName + L" to a " + ClassName());
}

String TPersistent::GetNamePath() const
{
  TPersistent* owner = GetOwner();
  String path = owner ? owner->GetNamePath() : String();
  return path.empty() ? ClassName() : path;
}

// ---------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* AOwner)
{
  if (AOwner)
    AOwner->InsertComponent(this);
}

void TComponent::BeforeDestruction()
{
  Destroying();
  NotifyRemoval();
}

TComponent::~TComponent()
{
  // Deleted without Free: observers still need to hear of it.
  Destroying();
  NotifyRemoval();
  DestroyComponents();
  if (FOwner)
    FOwner->Remove(this);
}

void TComponent::NotifyRemoval()
{
  if (FRemovalNotified)
    return;
  FRemovalNotified = true;
  // Observers drop their references; each tells us back through RemoveFreeNotification.
  while (!FFreeNotifies.empty()) {
    TComponent* observer = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    observer->RemoveNotification(this);
    if (observer == FOwner)
      continue;  // the owner hears it below
    observer->Notification(this, opRemove);
  }
  if (FOwner)
    FOwner->Notification(this, opRemove);
}

void TComponent::Destroying()
{
  if (FComponentState.Contains(csDestroying))
    return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents)
    c->Destroying();
}

void TComponent::DestroyComponents()
{
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    c->Free();  // the child removes itself from FComponents
    if (!FComponents.empty() && FComponents.back() == c)
      FComponents.pop_back();  // a child that failed to unlink must not loop forever
  }
}

TComponent* TComponent::Components(int Index) const
{
  if (Index < 0 || Index >= ComponentCount())
    throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
  return FComponents[size_t(Index)];
}

int TComponent::GetComponentIndex() const
{
  if (!FOwner)
    return -1;
  auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TComponent::SetComponentIndex(int Value)
{
  if (!FOwner)
    return;
  auto& list = FOwner->FComponents;
  int current = GetComponentIndex();
  if (current < 0)
    return;
  Value = std::clamp(Value, 0, int(list.size()) - 1);
  if (Value == current)
    return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

namespace {

// The key names are compared by: SameText's upper case.
String NameKey(const String& AName)
{
  String key = AName;
  for (wchar_t& c : key)
    c = wchar_t(std::towupper(c));
  return key;
}

// A plain component does nothing with a sibling's removal; any derived class may.
bool MayHandleNotifications(TComponent* AComponent)
{
  return typeid(*AComponent) != typeid(TComponent);
}

}  // namespace

TComponent* TComponent::FindComponent(const String& AName) const
{
  if (AName.empty())
    return nullptr;
  if (FSharedNames == 0) {
    auto it = FNameIndex.find(NameKey(AName));
    return it == FNameIndex.end() ? nullptr : it->second;
  }
  for (TComponent* c : FComponents)
    if (SameText(c->FName, AName))
      return c;
  return nullptr;
}

void TComponent::IndexName(TComponent* AComponent)
{
  if (AComponent->FName.empty())
    return;
  auto [it, added] = FNameIndex.emplace(NameKey(AComponent->FName), AComponent);
  if (!added && it->second != AComponent)
    ++FSharedNames;
}

// AComponent no longer goes by AOldName among ours (it left, or was renamed).
void TComponent::UnindexName(TComponent* AComponent, const String& AOldName)
{
  if (FSharedNames > 0) {
    RebuildNameIndex();  // which of a shared name's holders the index keeps is not known
    return;
  }
  if (AOldName.empty())
    return;
  auto it = FNameIndex.find(NameKey(AOldName));
  if (it != FNameIndex.end() && it->second == AComponent)
    FNameIndex.erase(it);
}

void TComponent::RebuildNameIndex()
{
  FNameIndex.clear();
  FSharedNames = 0;
  for (TComponent* c : FComponents)
    IndexName(c);
}

void TComponent::ChangeName(const String& NewName)
{
  String oldName = std::move(FName);
  FName = NewName;
  if (!FOwner)
    return;
  FOwner->UnindexName(this, oldName);
  FOwner->IndexName(this);
}

// Owned components of a derived class hear of their siblings' removal, as do those that own
// components themselves (theirs may act on it), unless their class says it need not; the
// others are skipped, so that a removal costs what its listeners do, not the number of siblings.
void TComponent::DecideHearing()
{
  for (TComponent* c : FUndecided) {
    bool hears = !c->FComponents.empty() || (!c->FIgnoresSiblings && MayHandleNotifications(c));
    c->FHearing = hears ? THearing::Yes : THearing::No;
    if (hears)
      FListeners.push_back(c);
  }
  FUndecided.clear();
}

void TComponent::InsertComponent(TComponent* AComponent)
{
  AComponent->ValidateContainer(this);
  ValidateRename(AComponent, String(), AComponent->FName);
  Insert(AComponent);
  if (FComponentState.Contains(csDesigning))
    AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
  ValidateRename(AComponent, AComponent->FName, String());
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
  // Our own first component may handle notifications: we must hear them to pass them on.
  if (FComponents.empty() && FOwner && FHearing == THearing::No) {
    FHearing = THearing::Yes;
    FOwner->FListeners.push_back(this);
  }
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  AComponent->FHearing = THearing::Undecided;
  FUndecided.push_back(AComponent);
  IndexName(AComponent);
}

void TComponent::Remove(TComponent* AComponent)
{
  // Components mostly go last first (an owner frees its own from the end).
  if (EraseLast(FComponents, AComponent))
    UnindexName(AComponent, AComponent->FName);
  if (AComponent->FHearing == THearing::Undecided)
    DecideHearing();
  if (AComponent->FHearing == THearing::Yes) {
    auto listener = std::find(FListeners.begin(), FListeners.end(), AComponent);
    if (listener != FListeners.end()) {
      FListeners.erase(listener);
      ++FListenersRemoved;
    }
  }
  AComponent->FHearing = THearing::Undecided;
  AComponent->FOwner = nullptr;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
  // An insertion concerns only the owner, which is told directly.
  if (Operation != opRemove)
    return;
  if (AComponent)
    RemoveFreeNotification(AComponent);
  DecideHearing();
  if (FListeners.empty())
    return;
  // Copy: a handler may free components of ours; those are skipped.
  std::vector<TComponent*> listeners = FListeners;
  const unsigned removed = FListenersRemoved;
  for (TComponent* c : listeners) {
    if (c == AComponent)
      continue;
    if (FListenersRemoved != removed && std::find(FListeners.begin(), FListeners.end(), c) == FListeners.end())
      continue;
    c->Notification(AComponent, Operation);
  }
}

void TComponent::FreeNotification(TComponent* AComponent)
{
  if (!AComponent || AComponent == this)
    return;
  // Each side lists the other or neither does: the shorter list answers for both (a list that
  // many components join, such as a component list's, grows long).
  const bool shorterIsOurs = FFreeNotifies.size() <= AComponent->FFreeNotifies.size();
  const std::vector<TComponent*>& shorter = shorterIsOurs ? FFreeNotifies : AComponent->FFreeNotifies;
  const TComponent* other = shorterIsOurs ? AComponent : this;
  if (std::find(shorter.begin(), shorter.end(), other) == shorter.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FFreeNotifies.push_back(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
  if (!AComponent)
    return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent)
{
  // Entries are unique, and the last made are mostly the first freed.
  EraseLast(FFreeNotifies, AComponent);
  if (FFreeNotifies.empty())
    FComponentState.Exclude(csFreeNotification);
}

bool IsValidIdent(const String& Ident)
{
  auto alpha = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; };
  if (Ident.empty() || !alpha(Ident[0]))
    return false;
  for (wchar_t c : Ident)
    if (!alpha(c) && !(c >= L'0' && c <= L'9'))
      return false;
  return true;
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName)
{
  if (AComponent && !SameText(CurName, NewName) && !NewName.empty() && FindComponent(NewName) &&
      FindComponent(NewName) != AComponent)
    throw EComponentError(L"A component named " + NewName + L" already exists");
}

void TComponent::SetName(const String& NewName)
{
  if (FName == NewName)
    return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError(L"'" + NewName + L"' is not a valid component name");
  if (FOwner)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  ChangeName(NewName);
}

String TComponent::GetNamePath() const
{
  return FName;
}

void TComponent::Loaded()
{
  FComponentState.Exclude(csLoading);
}

void TComponent::Updating()
{
  FComponentState.Include(csUpdating);
}

void TComponent::Updated()
{
  FComponentState.Exclude(csUpdating);
}

void TComponent::SetDesigning(bool Value, bool SetChildren)
{
  if (Value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* c : FComponents)
      c->SetDesigning(Value);
}

void TComponent::SetInline(bool Value)
{
  if (Value)
    FComponentState.Include(csInline);
  else
    FComponentState.Exclude(csInline);
}

void TComponent::SetAncestor(bool Value)
{
  if (Value)
    FComponentState.Include(csAncestor);
  else
    FComponentState.Exclude(csAncestor);
  for (TComponent* c : FComponents)
    c->SetAncestor(Value);
}

void TComponent::SetSubComponent(bool Value)
{
  if (Value)
    FComponentStyle.Include(csSubComponent);
  else
    FComponentStyle.Exclude(csSubComponent);
}

// ---------------------------------------------------------------------------

namespace {
std::vector<std::function<TComponent*(const String&)>>& GlobalFinders()
{
  static std::vector<std::function<TComponent*(const String&)>> finders;
  return finders;
}
}  // namespace

void RegisterFindGlobalComponentProc(std::function<TComponent*(const String&)> Proc)
{
  GlobalFinders().push_back(std::move(Proc));
}

TComponent* FindGlobalComponent(const String& Name)
{
  for (auto& finder : GlobalFinders())
    if (TComponent* c = finder(Name))
      return c;
  return nullptr;
}

TComponent* FindNestedComponent(TComponent* Root, const String& NamePath)
{
  TComponent* current = Root;
  size_t start = 0;
  while (current && start <= NamePath.size()) {
    size_t dot = NamePath.find(L'.', start);
    String part = NamePath.substr(start, dot == String::npos ? String::npos : dot - start);
    current = current->FindComponent(part);
    if (dot == String::npos)
      return current;
    start = dot + 1;
  }
  return current;
}
