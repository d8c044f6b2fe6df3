#include "platform/ActnList.h"

#include <algorithm>

IMPLEMENT_CLASS(TBasicActionLink, TObject)
IMPLEMENT_CLASS(TActionLink, TBasicActionLink)
IMPLEMENT_CLASS(TBasicAction, TComponent)
PUBLISHED(TContainedAction, TBasicAction)
{
  p.Prop(L"Category", &TContainedAction::Category, &TContainedAction::SetCategory);
}
IMPLEMENT_CLASS(TCustomAction, TContainedAction)
PUBLISHED(TAction, TCustomAction)
{
  p.Prop(L"AutoCheck", &TAction::AutoCheck, &TAction::SetAutoCheck).Default(false);
  p.Prop(L"Caption", &TAction::Caption, &TAction::SetCaption);
  p.Prop(L"Checked", &TAction::Checked, &TAction::SetChecked).Default(false);
  p.Prop(L"DisableIfNoHandler", &TAction::DisableIfNoHandler, &TAction::SetDisableIfNoHandler).Default(true);
  p.Prop(L"Enabled", &TAction::Enabled, &TAction::SetEnabled).Default(true);
  p.Prop(L"GroupIndex", &TAction::GroupIndex, &TAction::SetGroupIndex).Default(0);
  p.Prop(L"HelpContext", &TAction::HelpContext, &TAction::SetHelpContext).Default(0);
  p.Prop(L"Hint", &TAction::Hint, &TAction::SetHint);
  p.Prop(L"ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex).Default(-1);
  p.Prop(L"ShortCut", &TAction::ShortCut, &TAction::SetShortCut).Default(0);
  p.Prop(L"Visible", &TAction::Visible, &TAction::SetVisible).Default(true);
  // The handlers come last in form data.
  p.Event(L"OnExecute", &TAction::OnExecute, &TAction::SetOnExecute);
  p.Event(L"OnHint", &TCustomAction::OnHint, &TCustomAction::OnHint);
  p.Event(L"OnUpdate", &TAction::OnUpdate, &TAction::SetOnUpdate);
}
PUBLISHED(TActionList, TComponent)
{
  p.Component(L"Images", &TActionList::Images, &TActionList::SetImages);
  p.Prop(L"State", &TActionList::State, &TActionList::SetState).Default(asNormal);
  p.Event(L"OnChange", &TActionList::OnChange);
  p.Event(L"OnExecute", &TActionList::OnExecute);
  p.Event(L"OnStateChange", &TActionList::OnStateChange);
  p.Event(L"OnUpdate", &TActionList::OnUpdate);
}

DEFINE_ENUM_INFO(TActionListState, L"asNormal", L"asSuspended", L"asSuspendedEnabled")

namespace {

struct TApplicationHooks {
  TActionHook Execute;
  TActionHook Update;
};

TApplicationHooks& ApplicationHooks()
{
  static TApplicationHooks hooks;
  return hooks;
}

}  // namespace

void SetApplicationActionHooks(TActionHook Execute, TActionHook Update)
{
  ApplicationHooks() = {std::move(Execute), std::move(Update)};
}

// ---------------------------------------------------------------------------
// TBasicActionLink

TBasicActionLink::~TBasicActionLink()
{
  if (FAction)
    FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value)
{
  if (Value == FAction)
    return;
  if (FAction)
    FAction->UnRegisterChanges(this);
  if (Value)
    Value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent)
{
  if (!FAction)
    return false;
  // The handler may free the action, this link or its client: afterwards only the weak
  // reference is read.
  TFinally clear([action = TWeakRef<TBasicAction>(FAction)] {
    if (action)
      action->SetActionComponent(nullptr);
  });
  TBasicAction* action = FAction;
  action->SetActionComponent(AComponent);
  return action->Execute();
}

bool TBasicActionLink::Update()
{
  return FAction && FAction->Update();
}

void TBasicActionLink::Change()
{
  CallEvent(OnChange, static_cast<TObject*>(FAction));
}

// ---------------------------------------------------------------------------
// TBasicAction

TBasicAction::~TBasicAction()
{
  // Links outlive their action: they are told by losing it.
  while (!FClients.empty())
    UnRegisterChanges(FClients.back());
  SetActionComponent(nullptr);
}

bool TBasicAction::Execute()
{
  if (!FOnExecute.Assigned())
    return false;
  FOnExecute(this);
  return true;
}

bool TBasicAction::Update()
{
  if (!FOnUpdate.Assigned())
    return false;
  FOnUpdate(this);
  return true;
}

void TBasicAction::SetActionComponent(TComponent* Value)
{
  if (Value == FActionComponent)
    return;
  if (FActionComponent)
    FActionComponent->RemoveFreeNotification(this);
  FActionComponent = Value;
  if (Value)
    Value->FreeNotification(this);
}

void TBasicAction::SetOnExecute(const TNotifyEvent& Value)
{
  if (Value == FOnExecute)
    return;
  ForEachLink<TBasicActionLink>([&](TBasicActionLink* link) { link->SetOnExecute(Value); });
  FOnExecute = Value;
  Change();
}

TBasicActionLink* TBasicAction::Clients(int Index) const
{
  if (Index < 0 || Index >= ClientCount())
    throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
  return FClients[size_t(Index)];
}

bool TBasicAction::IsClient(TBasicActionLink* Link) const
{
  return std::find(FClients.begin(), FClients.end(), Link) != FClients.end();
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value)
{
  if (!Value || IsClient(Value))
    return;
  if (Value->FAction)
    Value->FAction->UnRegisterChanges(Value);
  Value->FAction = this;
  FClients.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value)
{
  auto it = std::find(FClients.begin(), FClients.end(), Value);
  if (it == FClients.end())
    return;
  FClients.erase(it);
  Value->FAction = nullptr;
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActionComponent)
    FActionComponent = nullptr;
}

void TBasicAction::Change()
{
  ForEachLink<TBasicActionLink>([](TBasicActionLink* link) { link->Change(); });
}

// ---------------------------------------------------------------------------
// TContainedAction

TContainedAction::~TContainedAction()
{
  if (FActionList)
    FActionList->RemoveAction(this);
}

bool TContainedAction::Execute()
{
  if (FActionList && FActionList->ExecuteAction(this))
    return true;
  if (const TActionHook& hook = ApplicationHooks().Execute; hook && hook(this))
    return true;
  return TBasicAction::Execute();
}

bool TContainedAction::Update()
{
  if (FActionList && FActionList->UpdateAction(this))
    return true;
  if (const TActionHook& hook = ApplicationHooks().Update; hook && hook(this))
    return true;
  return TBasicAction::Update();
}

bool TContainedAction::Suspended() const
{
  return FActionList && FActionList->State() != asNormal;
}

void TContainedAction::SetActionList(TActionList* Value)
{
  if (Value == FActionList)
    return;
  if (FActionList)
    FActionList->RemoveAction(this);
  if (Value)
    Value->AddAction(this);
}

void TContainedAction::SetCategory(const String& Value)
{
  if (Value == FCategory)
    return;
  FCategory = Value;
  if (FActionList)
    FActionList->Change();
}

int TContainedAction::Index() const
{
  return FActionList ? FActionList->IndexOf(this) : -1;
}

void TContainedAction::SetIndex(int Value)
{
  int current = Index();
  if (current < 0)
    return;
  auto& list = FActionList->FActions;
  Value = std::clamp(Value, 0, int(list.size()) - 1);
  if (Value == current)
    return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
  FActionList->Change();
}

TComponent* TContainedAction::GetParentComponent() const
{
  return FActionList;
}

void TContainedAction::SetParentComponent(TComponent* Value)
{
  if (auto* list = dynamic_cast<TActionList*>(Value))
    SetActionList(list);
}

// ---------------------------------------------------------------------------
// TCustomAction
//
// A setter tells the links before it stores the value: a link decides whether its client
// follows the action by comparing the client's value with the action's old one.

template <class V, class F>
void TCustomAction::ChangeProperty(V& Field, const V& Value, F TellLink)
{
  if (Field == Value)
    return;
  ForEachLink<TActionLink>(TellLink);
  Field = Value;
  Change();
}

bool TCustomAction::Execute()
{
  if (Suspended())
    return false;
  TWeakRef<TCustomAction> self(this);
  Update();
  if (!self)
    return false;
  if (FEnabled && FAutoCheck && (!FChecked || FGroupIndex == 0))
    SetChecked(!FChecked);
  return FEnabled && TContainedAction::Execute();
}

bool TCustomAction::Update()
{
  if (Suspended())
    return false;
  TWeakRef<TCustomAction> self(this);
  bool handled = TContainedAction::Update();
  if (self && !handled && FDisableIfNoHandler && FEnabled && !OnExecute().Assigned())
    SetEnabled(false);
  return handled;
}

bool TCustomAction::DoHint(String& HintStr)
{
  bool canShow = true;
  if (OnHint.Assigned())
    OnHint(HintStr, canShow);
  return canShow;
}

void TCustomAction::SetCaption(const String& Value)
{
  ChangeProperty(FCaption, Value, [&](TActionLink* link) { link->SetCaption(Value); });
}

void TCustomAction::SetChecked(bool Value)
{
  // A link or a group member may set Checked back while we are at it.
  if (FChecking || Value == FChecked)
    return;
  TRestore checking(FChecking, true);
  ForEachLink<TActionLink>([&](TActionLink* link) { link->SetChecked(Value); });
  FChecked = Value;
  if (Value)
    UncheckGroup();
  Change();
}

void TCustomAction::UncheckGroup()
{
  TActionList* list = ActionList();
  if (FGroupIndex <= 0 || !list)
    return;
  std::vector<TContainedAction*> actions;
  for (int i = 0; i < list->ActionCount(); ++i)
    actions.push_back(list->Actions(i));
  // An unchecked member's handlers may move actions: each is checked again before use.
  for (TContainedAction* action : actions) {
    auto* other = dynamic_cast<TCustomAction*>(action);
    if (other && other != this && other->FGroupIndex == FGroupIndex && ActionList() == list &&
        list->IndexOf(other) >= 0)
      other->SetChecked(false);
  }
}

void TCustomAction::SetEnabled(bool Value)
{
  // While the list keeps every action enabled, the value waits for the list's return.
  if (ActionList() && ActionList()->State() == asSuspendedEnabled) {
    FSavedEnabledState = Value;
    return;
  }
  ApplyEnabled(Value);
}

void TCustomAction::ApplyEnabled(bool Value)
{
  ChangeProperty(FEnabled, Value, [&](TActionLink* link) { link->SetEnabled(Value); });
}

void TCustomAction::SetVisible(bool Value)
{
  ChangeProperty(FVisible, Value, [&](TActionLink* link) { link->SetVisible(Value); });
}

void TCustomAction::SetAutoCheck(bool Value)
{
  ChangeProperty(FAutoCheck, Value, [&](TActionLink* link) { link->SetAutoCheck(Value); });
}

void TCustomAction::SetGroupIndex(int32_t Value)
{
  if (Value == FGroupIndex)
    return;
  ForEachLink<TActionLink>([&](TActionLink* link) { link->SetGroupIndex(Value); });
  FGroupIndex = Value;
  if (FChecked)
    UncheckGroup();
  Change();
}

void TCustomAction::SetHelpContext(THelpContext Value)
{
  ChangeProperty(FHelpContext, Value, [&](TActionLink* link) { link->SetHelpContext(Value); });
}

void TCustomAction::SetHint(const String& Value)
{
  ChangeProperty(FHint, Value, [&](TActionLink* link) { link->SetHint(Value); });
}

void TCustomAction::SetImageIndex(TImageIndex Value)
{
  ChangeProperty(FImageIndex, Value, [&](TActionLink* link) { link->SetImageIndex(Value); });
}

void TCustomAction::SetShortCut(TShortCut Value)
{
  ChangeProperty(FShortCut, Value, [&](TActionLink* link) { link->SetShortCut(Value); });
}

void TCustomAction::AssignTo(TPersistent* Dest)
{
  auto* action = dynamic_cast<TCustomAction*>(Dest);
  if (!action) {
    TContainedAction::AssignTo(Dest);
    return;
  }
  action->SetAutoCheck(FAutoCheck);
  action->SetCaption(FCaption);
  action->SetChecked(FChecked);
  action->SetEnabled(FEnabled);
  action->SetGroupIndex(FGroupIndex);
  action->SetHelpContext(FHelpContext);
  action->SetHint(FHint);
  action->SetImageIndex(FImageIndex);
  action->SetShortCut(FShortCut);
  action->SetSecondaryShortCuts(FSecondaryShortCuts);
  action->SetVisible(FVisible);
  action->SetDisableIfNoHandler(FDisableIfNoHandler);
  action->SetOnExecute(OnExecute());
  action->SetOnUpdate(OnUpdate());
  action->OnHint = OnHint;
}

TCustomAction* TActionLink::CustomAction() const
{
  return dynamic_cast<TCustomAction*>(FAction);
}

// ---------------------------------------------------------------------------
// TActionList

TActionList::~TActionList()
{
  // The list frees its actions; each one leaves the list as it goes.
  while (!FActions.empty()) {
    TContainedAction* action = FActions.back();
    action->Free();
    if (!FActions.empty() && FActions.back() == action)
      FActions.pop_back();
  }
  SetImages(nullptr);
}

TContainedAction* TActionList::Actions(int Index) const
{
  if (Index < 0 || Index >= ActionCount())
    throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
  return FActions[size_t(Index)];
}

int TActionList::IndexOf(const TContainedAction* Action) const
{
  auto it = std::find(FActions.begin(), FActions.end(), Action);
  return it == FActions.end() ? -1 : int(it - FActions.begin());
}

void TActionList::AddAction(TContainedAction* Action)
{
  if (!Action || Action->FActionList == this)
    return;
  if (Action->FActionList)
    Action->FActionList->RemoveAction(Action);
  FActions.push_back(Action);
  Action->FActionList = this;
  Action->FreeNotification(this);
  Change();
}

void TActionList::RemoveAction(TContainedAction* Action)
{
  auto it = std::find(FActions.begin(), FActions.end(), Action);
  if (it == FActions.end())
    return;
  FActions.erase(it);
  Action->FActionList = nullptr;
  Action->RemoveFreeNotification(this);
  if (!ComponentState().Contains(csDestroying))
    Change();
}

bool TActionList::ExecuteAction(TBasicAction* Action)
{
  bool handled = false;
  if (FState == asNormal && OnExecute.Assigned())
    OnExecute(Action, handled);
  return handled;
}

bool TActionList::UpdateAction(TBasicAction* Action)
{
  bool handled = false;
  if (FState == asNormal && OnUpdate.Assigned())
    OnUpdate(Action, handled);
  return handled;
}

bool TActionList::IsShortCut(TShortCut ShortCut)
{
  if (ShortCut == 0)
    return false;
  for (TContainedAction* contained : FActions) {
    auto* action = dynamic_cast<TCustomAction*>(contained);
    if (!action)
      continue;
    const auto& secondary = action->SecondaryShortCuts();
    if (action->ShortCut() == ShortCut || std::find(secondary.begin(), secondary.end(), ShortCut) != secondary.end())
      return action->Execute();
  }
  return false;
}

void TActionList::SetImages(TComponent* Value)
{
  if (Value == FImages)
    return;
  if (FImages)
    FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value)
    Value->FreeNotification(this);
  if (!ComponentState().Contains(csDestroying))
    Change();
}

void TActionList::SetState(TActionListState Value)
{
  if (Value == FState)
    return;
  TActionListState old = FState;
  FState = Value;
  std::vector<TContainedAction*> actions = FActions;
  for (TContainedAction* contained : actions) {
    auto* action = dynamic_cast<TCustomAction*>(contained);
    if (!action || IndexOf(action) < 0)
      continue;
    if (Value == asSuspendedEnabled) {
      action->FSavedEnabledState = action->FEnabled;
      action->ApplyEnabled(true);
    } else if (old == asSuspendedEnabled) {
      action->ApplyEnabled(action->FSavedEnabledState);
    }
  }
  CallEvent(OnStateChange, this);
}

void TActionList::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
  for (TContainedAction* action : FActions)
    if (action->Owner() == Root)
      Proc(action);
}

void TActionList::SetChildOrder(TComponent* Child, int Order)
{
  auto* action = dynamic_cast<TContainedAction*>(Child);
  if (action && action->FActionList == this)
    action->SetIndex(Order);
}

void TActionList::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove)
    return;
  if (AComponent == FImages) {
    FImages = nullptr;
    if (!ComponentState().Contains(csDestroying))
      Change();
  }
  if (auto* action = dynamic_cast<TContainedAction*>(AComponent))
    RemoveAction(action);
}

void TActionList::Change()
{
  CallEvent(OnChange, this);
}
