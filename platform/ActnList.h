// Actions: named commands that menu items, buttons and bar items show and run. An action
// holds the command's data (caption, state, shortcut, image) and tells every action link
// of each change through the link's virtual setters; a client's link class overrides them
// to update its client. Action lists group actions and may handle their execution.
#pragma once

#include "platform/Component.h"
#include "platform/Menus.h"

class TBasicAction;
class TCustomAction;
class TActionList;
class TReader;

using TImageIndex = int32_t;

// The link between an action and one client (a control, a menu item, a bar item). The
// action keeps a list of its links; a freed action leaves its links with a nil Action.
class TBasicActionLink : public TObject {
  DECLARE_CLASS(TBasicActionLink, TObject)
public:
  explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
  ~TBasicActionLink() override;

  TObject* Client() const { return FClient; }
  TBasicAction* Action() const { return FAction; }
  virtual void SetAction(TBasicAction* Value);
  // Runs the action with AComponent as its ActionComponent; true when it was handled.
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool Update();
  // Whether the client's click handler is the action's OnExecute.
  virtual bool IsOnExecuteLinked() const { return true; }

  // Fired with the action whenever one of its properties changes.
  TNotifyEvent OnChange;

protected:
  friend class TBasicAction;
  virtual void Change();
  virtual void SetOnExecute(const TNotifyEvent& Value) {}

  TBasicAction* FAction = nullptr;

private:
  TObject* FClient;
};

class TBasicAction : public TComponent {
  DECLARE_CLASS(TBasicAction, TComponent)
public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  ~TBasicAction() override;

  // Fires OnExecute; true when there is one.
  virtual bool Execute();
  // Fires OnUpdate; true when there is one.
  virtual bool Update();
  virtual bool HandlesTarget(TObject* Target) { return false; }
  virtual void UpdateTarget(TObject* Target) {}
  virtual void ExecuteTarget(TObject* Target) {}
  // True while the action's list suspends execution and updating.
  virtual bool Suspended() const { return false; }

  // The client that asked for the current execution (set by TBasicActionLink::Execute).
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value);
  const TNotifyEvent& OnExecute() const { return FOnExecute; }
  virtual void SetOnExecute(const TNotifyEvent& Value);
  const TNotifyEvent& OnUpdate() const { return FOnUpdate; }
  void SetOnUpdate(const TNotifyEvent& Value) { FOnUpdate = Value; }

  int ClientCount() const { return int(FClients.size()); }
  TBasicActionLink* Clients(int Index) const;
  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);

  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  // Tells every link that the action changed (their OnChange).
  virtual void Change();
  // Calls Proc for each link still registered when its turn comes: a link's reaction may
  // free or unlink other links.
  template <class L, class F>
  void ForEachLink(F Proc)
  {
    std::vector<TBasicActionLink*> links = FClients;
    for (TBasicActionLink* link : links)
      if (IsClient(link))
        if (L* typed = dynamic_cast<L*>(link))
          Proc(typed);
  }
  bool IsClient(TBasicActionLink* Link) const;

private:
  std::vector<TBasicActionLink*> FClients;
  TComponent* FActionComponent = nullptr;
  TNotifyEvent FOnExecute;
  TNotifyEvent FOnUpdate;
};

// An action that can belong to an action list, which may handle its execution and
// updating first. It is streamed as a child of its list.
class TContainedAction : public TBasicAction {
  DECLARE_CLASS(TContainedAction, TBasicAction)
public:
  explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  ~TContainedAction() override;

  // The list's OnExecute first, then the application's hook, then OnExecute.
  bool Execute() override;
  bool Update() override;
  bool Suspended() const override;

  TActionList* ActionList() const { return FActionList; }
  void SetActionList(TActionList* Value);
  const String& Category() const { return FCategory; }
  void SetCategory(const String& Value);
  // The position in the list, -1 without one; setting it moves the action.
  int Index() const;
  void SetIndex(int Value);

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

private:
  friend class TActionList;
  TActionList* FActionList = nullptr;
  String FCategory;
};

using THintEvent = TEvent<void(String& HintStr, bool& CanShow)>;

// An action with the data its clients show. Every change of a property goes to every
// TActionLink through its setter, then to every link's OnChange.
class TCustomAction : public TContainedAction {
  DECLARE_CLASS(TCustomAction, TContainedAction)
public:
  explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

  // Updates first; toggles Checked when AutoCheck (a checked action of a group stays
  // checked); runs only when enabled.
  bool Execute() override;
  // When nobody handled the update and DisableIfNoHandler holds, an action without an
  // OnExecute is disabled.
  bool Update() override;
  // Fires OnHint; false when the handler cancels the hint.
  virtual bool DoHint(String& HintStr);

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool Checked() const { return FChecked; }
  // Checking an action of a group (GroupIndex > 0) unchecks the group's others in the list.
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value);
  int32_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int32_t Value);
  THelpContext HelpContext() const { return FHelpContext; }
  void SetHelpContext(THelpContext Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  TImageIndex ImageIndex() const { return FImageIndex; }
  void SetImageIndex(TImageIndex Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  // Further shortcuts that run the action (not shown in menus).
  const std::vector<TShortCut>& SecondaryShortCuts() const { return FSecondaryShortCuts; }
  void SetSecondaryShortCuts(std::vector<TShortCut> Value) { FSecondaryShortCuts = std::move(Value); }
  bool DisableIfNoHandler() const { return FDisableIfNoHandler; }
  void SetDisableIfNoHandler(bool Value) { FDisableIfNoHandler = Value; }

  THintEvent OnHint;

protected:
  void AssignTo(TPersistent* Dest) override;

private:
  friend class TActionList;
  template <class V, class F>
  void ChangeProperty(V& Field, const V& Value, F TellLink);
  // Enabled as the list's suspended-enabled state saves and restores it.
  void ApplyEnabled(bool Value);
  void UncheckGroup();

  String FCaption;
  String FHint;
  bool FChecked = false;
  bool FChecking = false;
  bool FEnabled = true;
  bool FSavedEnabledState = true;
  bool FVisible = true;
  bool FAutoCheck = false;
  bool FDisableIfNoHandler = true;
  int32_t FGroupIndex = 0;
  THelpContext FHelpContext = 0;
  TImageIndex FImageIndex = -1;
  TShortCut FShortCut = 0;
  std::vector<TShortCut> FSecondaryShortCuts;
};

class TAction : public TCustomAction {
  DECLARE_CLASS(TAction, TCustomAction)
public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

// A link whose client shows a TCustomAction's data. Each "is linked" answer says whether
// the client takes that property from the action; the base answers whether the action is
// a TCustomAction at all, and a client's link class adds that the client's value equals
// the action's. The setters do nothing here; a client's link class overrides them.
class TActionLink : public TBasicActionLink {
  DECLARE_CLASS(TActionLink, TBasicActionLink)
public:
  using TBasicActionLink::TBasicActionLink;

  virtual bool IsAutoCheckLinked() const { return IsCustomAction(); }
  virtual bool IsCaptionLinked() const { return IsCustomAction(); }
  virtual bool IsCheckedLinked() const { return IsCustomAction(); }
  virtual bool IsEnabledLinked() const { return IsCustomAction(); }
  virtual bool IsGroupIndexLinked() const { return IsCustomAction(); }
  virtual bool IsHelpContextLinked() const { return IsCustomAction(); }
  virtual bool IsHintLinked() const { return IsCustomAction(); }
  virtual bool IsImageIndexLinked() const { return IsCustomAction(); }
  virtual bool IsShortCutLinked() const { return IsCustomAction(); }
  virtual bool IsVisibleLinked() const { return IsCustomAction(); }

  // The action as a TCustomAction, or nil.
  TCustomAction* CustomAction() const;

protected:
  friend class TCustomAction;
  bool IsCustomAction() const { return CustomAction() != nullptr; }

  virtual void SetAutoCheck(bool Value) {}
  virtual void SetCaption(const String& Value) {}
  virtual void SetChecked(bool Value) {}
  virtual void SetEnabled(bool Value) {}
  virtual void SetGroupIndex(int32_t Value) {}
  virtual void SetHelpContext(THelpContext Value) {}
  virtual void SetHint(const String& Value) {}
  virtual void SetImageIndex(TImageIndex Value) {}
  virtual void SetShortCut(TShortCut Value) {}
  virtual void SetVisible(bool Value) {}
};

// asSuspended: the list's actions neither execute nor update; asSuspendedEnabled: the
// same, and every action is enabled until the list returns to asNormal.
enum TActionListState { asNormal, asSuspended, asSuspendedEnabled };
DECLARE_ENUM_INFO(TActionListState)

using TActionEvent = TEvent<void(TBasicAction* Action, bool& Handled)>;

// Extra handlers an application may put between an action's list and its own handlers
// (execution and updating); they answer whether they handled the action.
using TActionHook = std::function<bool(TBasicAction* Action)>;
void SetApplicationActionHooks(TActionHook Execute, TActionHook Update);

// A list of actions. It does not own them (their owner does), but freeing the list
// frees its actions, and it streams them as its children.
class TActionList : public TComponent {
  DECLARE_CLASS(TActionList, TComponent)
public:
  explicit TActionList(TComponent* AOwner) : TComponent(AOwner) {}
  ~TActionList() override;

  int ActionCount() const { return int(FActions.size()); }
  // Raises EListError for an index out of range.
  TContainedAction* Actions(int Index) const;
  int IndexOf(const TContainedAction* Action) const;
  void AddAction(TContainedAction* Action);
  void RemoveAction(TContainedAction* Action);

  // Fire OnExecute / OnUpdate with the action; true when the handler set Handled.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);
  // Executes the first action that has this shortcut (also among its secondary ones);
  // true when that action was handled.
  bool IsShortCut(TShortCut ShortCut);

  // The image list the actions' ImageIndex values refer to (not owned).
  TComponent* Images() const { return FImages; }
  void SetImages(TComponent* Value);
  TActionListState State() const { return FState; }
  void SetState(TActionListState Value);

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnChange;
  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnStateChange;

protected:
  // Fires OnChange: an action was added, removed, moved or recategorised.
  virtual void Change();

private:
  friend class TContainedAction;
  std::vector<TContainedAction*> FActions;
  TComponent* FImages = nullptr;
  TActionListState FState = asNormal;
};
