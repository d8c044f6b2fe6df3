// Actions and their links: change notification, execution order,
// checked groups, action lists and the lifetimes of actions, links and lists.
#include <gtest/gtest.h>

#include "platform/ActnList.h"

namespace {

// A client that shows an action, as a menu item or a bar item does.
class TTestClient : public TObject {
public:
  String Caption;
  String Hint;
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  bool AutoCheck = false;
  int32_t GroupIndex = 0;
  THelpContext HelpContext = 0;
  TImageIndex ImageIndex = -1;
  TShortCut ShortCut = 0;
  TNotifyEvent OnClick;
};

// The client's link class: a client takes a property from the action while its value
// equals the action's; every setter call is logged.
class TTestLink : public TActionLink {
public:
  explicit TTestLink(TTestClient* Client) : TActionLink(Client), FClient(Client) {}

  std::vector<String> Log;
  int Changes = 0;

  bool IsCaptionLinked() const override { return TActionLink::IsCaptionLinked() && FClient->Caption == A()->Caption(); }
  bool IsCheckedLinked() const override { return TActionLink::IsCheckedLinked() && FClient->Checked == A()->Checked(); }
  bool IsEnabledLinked() const override { return TActionLink::IsEnabledLinked() && FClient->Enabled == A()->Enabled(); }
  bool IsHintLinked() const override { return TActionLink::IsHintLinked() && FClient->Hint == A()->Hint(); }
  bool IsVisibleLinked() const override { return TActionLink::IsVisibleLinked() && FClient->Visible == A()->Visible(); }
  bool IsImageIndexLinked() const override
  {
    return TActionLink::IsImageIndexLinked() && FClient->ImageIndex == A()->ImageIndex();
  }
  bool IsShortCutLinked() const override
  {
    return TActionLink::IsShortCutLinked() && FClient->ShortCut == A()->ShortCut();
  }
  bool IsHelpContextLinked() const override
  {
    return TActionLink::IsHelpContextLinked() && FClient->HelpContext == A()->HelpContext();
  }
  bool IsOnExecuteLinked() const override
  {
    return TActionLink::IsOnExecuteLinked() && Action() && FClient->OnClick == Action()->OnExecute();
  }

protected:
  void Change() override
  {
    ++Changes;
    TActionLink::Change();
  }
  void SetCaption(const String& Value) override
  {
    Log.push_back(L"Caption=" + Value);
    if (IsCaptionLinked())
      FClient->Caption = Value;
  }
  void SetChecked(bool Value) override
  {
    Log.push_back(L"Checked=" + BoolToStr(Value, true));
    if (IsCheckedLinked())
      FClient->Checked = Value;
  }
  void SetEnabled(bool Value) override
  {
    Log.push_back(L"Enabled=" + BoolToStr(Value, true));
    if (IsEnabledLinked())
      FClient->Enabled = Value;
  }
  void SetVisible(bool Value) override { Log.push_back(L"Visible=" + BoolToStr(Value, true)); }
  void SetAutoCheck(bool Value) override { Log.push_back(L"AutoCheck=" + BoolToStr(Value, true)); }
  void SetGroupIndex(int32_t Value) override { Log.push_back(L"GroupIndex=" + IntToStr(Value)); }
  void SetHelpContext(THelpContext Value) override { Log.push_back(L"HelpContext=" + IntToStr(Value)); }
  void SetHint(const String& Value) override { Log.push_back(L"Hint=" + Value); }
  void SetImageIndex(TImageIndex Value) override { Log.push_back(L"ImageIndex=" + IntToStr(Value)); }
  void SetShortCut(TShortCut Value) override { Log.push_back(L"ShortCut=" + ShortCutToText(Value)); }
  void SetOnExecute(const TNotifyEvent& Value) override
  {
    Log.push_back(L"OnExecute");
    if (IsOnExecuteLinked())
      FClient->OnClick = Value;
  }

private:
  TCustomAction* A() const { return CustomAction(); }
  TTestClient* FClient;
};

// An action with two linked clients.
struct TLinkedAction {
  TAction Action{nullptr};
  TTestClient Client1, Client2;
  TTestLink Link1{&Client1}, Link2{&Client2};
  TLinkedAction()
  {
    Link1.SetAction(&Action);
    Link2.SetAction(&Action);
  }
  void ClearLogs()
  {
    Link1.Log.clear();
    Link2.Log.clear();
    Link1.Changes = Link2.Changes = 0;
  }
};

// Handlers as method pointers, which compare equal when they name the same method.
class THandlers : public TObject {
public:
  void Run(TObject*) {}
};
THandlers Handlers;
const TNotifyEvent Nothing(&Handlers, &THandlers::Run);

}  // namespace

// ---------------------------------------------------------------------------
// Change notification

TEST(ActionChanges, EveryPropertyGoesToEveryLinkThenOnChange)
{
  struct Row {
    std::function<void(TAction&)> Change;
    const wchar_t* Logged;
  };
  const Row rows[] = {
      {[](TAction& a) { a.SetCaption(L"&Open"); }, L"Caption=&Open"},
      {[](TAction& a) { a.SetChecked(true); }, L"Checked=True"},
      {[](TAction& a) { a.SetEnabled(false); }, L"Enabled=False"},
      {[](TAction& a) { a.SetVisible(false); }, L"Visible=False"},
      {[](TAction& a) { a.SetAutoCheck(true); }, L"AutoCheck=True"},
      {[](TAction& a) { a.SetGroupIndex(3); }, L"GroupIndex=3"},
      {[](TAction& a) { a.SetHelpContext(120); }, L"HelpContext=120"},
      {[](TAction& a) { a.SetHint(L"Opens|Opens a file"); }, L"Hint=Opens|Opens a file"},
      {[](TAction& a) { a.SetImageIndex(4); }, L"ImageIndex=4"},
      {[](TAction& a) { a.SetShortCut(ShortCut('O', {ssCtrl})); }, L"ShortCut=Ctrl+O"},
      {[](TAction& a) { a.SetOnExecute(Nothing); }, L"OnExecute"},
  };
  for (const Row& row : rows) {
    TLinkedAction linked;
    row.Change(linked.Action);
    EXPECT_EQ(linked.Link1.Log, std::vector<String>{row.Logged});
    EXPECT_EQ(linked.Link2.Log, std::vector<String>{row.Logged});
    EXPECT_EQ(linked.Link1.Changes, 1) << ToUtf8(row.Logged);
    EXPECT_EQ(linked.Link2.Changes, 1) << ToUtf8(row.Logged);
    // The same value again is no change.
    linked.ClearLogs();
    row.Change(linked.Action);
    EXPECT_TRUE(linked.Link1.Log.empty()) << ToUtf8(row.Logged);
    EXPECT_EQ(linked.Link1.Changes, 0) << ToUtf8(row.Logged);
  }
}

// A link compares its client with the action's old value, so the action tells the links
// before it stores the new one: linked clients follow, diverged ones keep their value.
TEST(ActionChanges, LinkedClientsFollowAndDivergedOnesKeepTheirValue)
{
  TLinkedAction linked;
  linked.Action.SetCaption(L"Open");
  ASSERT_EQ(linked.Client1.Caption, L"Open");
  linked.Client2.Caption = L"Mine";
  linked.Client2.Enabled = false;
  linked.Action.SetCaption(L"Close");
  linked.Action.SetEnabled(false);
  linked.Action.SetChecked(true);
  EXPECT_EQ(linked.Client1.Caption, L"Close");
  EXPECT_EQ(linked.Client2.Caption, L"Mine");
  EXPECT_FALSE(linked.Client1.Enabled);
  EXPECT_TRUE(linked.Client1.Checked);
  EXPECT_TRUE(linked.Client2.Checked);
  EXPECT_FALSE(linked.Client2.Enabled);
  // Client 2 now equals the action again, and so follows it from here on.
  linked.Action.SetEnabled(true);
  EXPECT_TRUE(linked.Client1.Enabled);
  EXPECT_TRUE(linked.Client2.Enabled);
}

// ---------------------------------------------------------------------------
// Execution

TEST(ActionExecute, UpdateThenTheListThenTheAction)
{
  TComponent owner(nullptr);
  auto* list = new TActionList(&owner);
  auto* action = new TAction(&owner);
  action->SetActionList(list);
  auto* caller = new TComponent(&owner);
  std::vector<String> log;
  bool listHandles = false;
  TComponent* componentDuringExecute = nullptr;
  list->OnUpdate = [&](TBasicAction*, bool&) { log.push_back(L"list update"); };
  list->OnExecute = [&](TBasicAction* a, bool& handled) {
    log.push_back(L"list execute");
    EXPECT_EQ(a, action);
    handled = listHandles;
  };
  action->SetOnUpdate([&](TObject*) { log.push_back(L"update"); });
  action->SetOnExecute([&](TObject* Sender) {
    log.push_back(L"execute");
    EXPECT_EQ(Sender, action);
    componentDuringExecute = action->ActionComponent();
  });
  TActionLink link(nullptr);
  link.SetAction(action);

  EXPECT_TRUE(link.Execute(caller));
  EXPECT_EQ(log, (std::vector<String>{L"list update", L"update", L"list execute", L"execute"}));
  EXPECT_EQ(componentDuringExecute, caller);
  EXPECT_EQ(action->ActionComponent(), nullptr);

  log.clear();
  listHandles = true;
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(log, (std::vector<String>{L"list update", L"update", L"list execute"}));
}

TEST(ActionExecute, NotHandledWithoutAHandler)
{
  TAction action(nullptr);
  action.SetDisableIfNoHandler(false);
  EXPECT_FALSE(action.Execute());
  TActionLink link(nullptr);
  EXPECT_FALSE(link.Execute());  // no action at all
  EXPECT_FALSE(link.Update());
}

TEST(ActionExecute, ADisabledActionDoesNotRun)
{
  TAction action(nullptr);
  int runs = 0;
  action.SetOnExecute([&](TObject*) { ++runs; });
  action.SetEnabled(false);
  EXPECT_FALSE(action.Execute());
  // Its update handler may enable it just in time.
  action.SetOnUpdate([&](TObject*) { action.SetEnabled(true); });
  EXPECT_TRUE(action.Execute());
  EXPECT_EQ(runs, 1);
}

TEST(ActionExecute, AutoCheckTogglesBeforeTheHandler)
{
  TAction action(nullptr);
  action.SetAutoCheck(true);
  std::vector<bool> seen;
  action.SetOnExecute([&](TObject*) { seen.push_back(action.Checked()); });
  action.Execute();
  action.Execute();
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  // A checked member of a group stays checked: a group always has one checked.
  action.SetGroupIndex(1);
  action.Execute();
  action.Execute();
  EXPECT_TRUE(action.Checked());
}

TEST(ActionExecute, AnActionFreedByItsHandler)
{
  auto* action = new TAction(nullptr);
  TWeakRef<TAction> ref(action);
  TActionLink link(nullptr);
  link.SetAction(action);
  action->SetOnExecute([action](TObject*) { action->Free(); });
  EXPECT_TRUE(link.Execute(nullptr));
  EXPECT_FALSE(ref);
  EXPECT_EQ(link.Action(), nullptr);
}

TEST(ActionExecute, TheActionComponentIsForgottenWhenFreed)
{
  TAction action(nullptr);
  auto* caller = new TComponent(nullptr);
  action.SetActionComponent(caller);
  caller->Free();
  EXPECT_EQ(action.ActionComponent(), nullptr);
}

TEST(ActionUpdate, AnActionWithoutHandlersIsDisabled)
{
  TAction bare(nullptr);
  EXPECT_FALSE(bare.Update());
  EXPECT_FALSE(bare.Enabled());

  TAction withHandler(nullptr);
  withHandler.SetOnExecute(Nothing);
  withHandler.Update();
  EXPECT_TRUE(withHandler.Enabled());

  TAction kept(nullptr);
  kept.SetDisableIfNoHandler(false);
  kept.Update();
  EXPECT_TRUE(kept.Enabled());

  TAction updated(nullptr);
  updated.SetOnUpdate(Nothing);
  EXPECT_TRUE(updated.Update());
  EXPECT_TRUE(updated.Enabled());
}

// ---------------------------------------------------------------------------
// Checked groups

TEST(ActionGroups, CheckingOneUnchecksTheOthersOfItsGroupInItsList)
{
  TComponent owner(nullptr);
  auto* list = new TActionList(&owner);
  auto* otherList = new TActionList(&owner);
  auto make = [&](TActionList* l, int group) {
    auto* a = new TAction(&owner);
    a->SetActionList(l);
    a->SetGroupIndex(group);
    return a;
  };
  TAction* left = make(list, 1);
  TAction* center = make(list, 1);
  TAction* right = make(list, 1);
  TAction* bold = make(list, 2);
  TAction* elsewhere = make(otherList, 1);
  TTestClient client;
  TTestLink link(&client);
  link.SetAction(left);

  left->SetChecked(true);
  bold->SetChecked(true);
  elsewhere->SetChecked(true);
  ASSERT_TRUE(client.Checked);
  link.Log.clear();
  center->SetChecked(true);
  EXPECT_FALSE(left->Checked());
  EXPECT_TRUE(center->Checked());
  EXPECT_FALSE(right->Checked());
  EXPECT_TRUE(bold->Checked());
  EXPECT_TRUE(elsewhere->Checked());
  EXPECT_EQ(link.Log, std::vector<String>{L"Checked=False"});
  EXPECT_FALSE(client.Checked);

  // Joining a group while checked unchecks the group's checked member.
  bold->SetGroupIndex(1);
  EXPECT_FALSE(center->Checked());
  EXPECT_TRUE(bold->Checked());
  // Unchecking touches nobody else.
  bold->SetChecked(false);
  EXPECT_FALSE(center->Checked());
}

// ---------------------------------------------------------------------------
// Lifetimes

TEST(ActionLifetime, AFreedActionLeavesItsLinksWithoutAnAction)
{
  auto* action = new TAction(nullptr);
  TTestClient client;
  auto* link = new TTestLink(&client);
  TActionLink other(nullptr);
  link->SetAction(action);
  other.SetAction(action);
  EXPECT_EQ(action->ClientCount(), 2);
  action->Free();
  EXPECT_EQ(link->Action(), nullptr);
  EXPECT_EQ(other.Action(), nullptr);
  EXPECT_FALSE(link->Execute());
  EXPECT_FALSE(link->IsCaptionLinked());
  link->Free();
}

TEST(ActionLifetime, AFreedOrMovedLinkLeavesItsAction)
{
  TAction first(nullptr), second(nullptr);
  auto* link = new TActionLink(nullptr);
  link->SetAction(&first);
  link->SetAction(&second);
  EXPECT_EQ(first.ClientCount(), 0);
  ASSERT_EQ(second.ClientCount(), 1);
  EXPECT_EQ(second.Clients(0), link);
  EXPECT_THROW(second.Clients(1), EListError);
  link->Free();
  EXPECT_EQ(second.ClientCount(), 0);
  second.SetCaption(L"no link to tell");
}

TEST(ActionLifetime, ALinkFreedByAnotherLinksReaction)
{
  TAction action(nullptr);
  auto* doomed = new TActionLink(nullptr);
  TActionLink killer(nullptr);
  killer.SetAction(&action);
  doomed->SetAction(&action);
  int doomedChanges = 0;
  doomed->OnChange = [&](TObject*) { ++doomedChanges; };
  killer.OnChange = [&](TObject*) { FreeAndNil(doomed); };
  action.SetCaption(L"x");
  EXPECT_EQ(doomed, nullptr);
  EXPECT_EQ(doomedChanges, 0);
  EXPECT_EQ(action.ClientCount(), 1);
}

// ---------------------------------------------------------------------------
// Action lists

TEST(ActionList, MembershipIndexAndChanges)
{
  TComponent owner(nullptr);
  auto* list = new TActionList(&owner);
  int changes = 0;
  list->OnChange = [&](TObject*) { ++changes; };
  auto* a = new TAction(&owner);
  auto* b = new TAction(&owner);
  auto* c = new TAction(&owner);
  for (TAction* action : {a, b, c})
    action->SetActionList(list);
  EXPECT_EQ(changes, 3);
  ASSERT_EQ(list->ActionCount(), 3);
  EXPECT_EQ(list->Actions(2), c);
  EXPECT_THROW(list->Actions(3), EListError);
  EXPECT_EQ(b->Index(), 1);

  c->SetIndex(0);
  EXPECT_EQ(list->Actions(0), c);
  EXPECT_EQ(a->Index(), 1);
  c->SetIndex(99);  // clamped to the end
  EXPECT_EQ(list->Actions(2), c);
  b->SetCategory(L"File");
  EXPECT_EQ(changes, 6);

  b->Free();
  EXPECT_EQ(list->ActionCount(), 2);
  EXPECT_EQ(changes, 7);
  a->SetActionList(nullptr);
  EXPECT_EQ(a->Index(), -1);
  EXPECT_EQ(list->ActionCount(), 1);
}

TEST(ActionList, FreeingTheListFreesItsActions)
{
  TComponent owner(nullptr);
  auto* list = new TActionList(&owner);
  auto* a = new TAction(&owner);
  auto* b = new TAction(&owner);
  a->SetActionList(list);
  b->SetActionList(list);
  TWeakRef<TAction> refA(a), refB(b);
  list->Free();
  EXPECT_FALSE(refA);
  EXPECT_FALSE(refB);
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(ActionList, FreedImagesAreForgotten)
{
  TComponent owner(nullptr);
  auto* list = new TActionList(&owner);
  auto* images = new TComponent(nullptr);
  list->SetImages(images);
  images->Free();
  EXPECT_EQ(list->Images(), nullptr);
}

TEST(ActionList, SuspendedListsNeitherExecuteNorUpdate)
{
  TComponent owner(nullptr);
  auto* list = new TActionList(&owner);
  auto* action = new TAction(&owner);
  action->SetActionList(list);
  int runs = 0, updates = 0, listCalls = 0, stateChanges = 0;
  action->SetOnExecute([&](TObject*) { ++runs; });
  action->SetOnUpdate([&](TObject*) { ++updates; });
  list->OnExecute = [&](TBasicAction*, bool&) { ++listCalls; };
  list->OnStateChange = [&](TObject*) { ++stateChanges; };
  list->SetState(asSuspended);
  EXPECT_TRUE(action->Suspended());
  EXPECT_FALSE(action->Execute());
  EXPECT_FALSE(action->Update());
  EXPECT_EQ(runs + updates + listCalls, 0);
  list->SetState(asNormal);
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(stateChanges, 2);
}

TEST(ActionList, SuspendedEnabledEnablesEveryActionUntilNormalAgain)
{
  TComponent owner(nullptr);
  auto* list = new TActionList(&owner);
  auto* on = new TAction(&owner);
  auto* off = new TAction(&owner);
  on->SetActionList(list);
  off->SetActionList(list);
  off->SetEnabled(false);
  TTestClient client;
  client.Enabled = false;
  TTestLink link(&client);
  link.SetAction(off);

  list->SetState(asSuspendedEnabled);
  EXPECT_TRUE(off->Enabled());
  EXPECT_TRUE(client.Enabled);
  // A change while suspended waits for the list's return.
  on->SetEnabled(false);
  EXPECT_TRUE(on->Enabled());
  list->SetState(asNormal);
  EXPECT_FALSE(off->Enabled());
  EXPECT_FALSE(client.Enabled);
  EXPECT_FALSE(on->Enabled());
}

TEST(ActionList, ShortCutsRunTheirAction)
{
  TComponent owner(nullptr);
  auto* list = new TActionList(&owner);
  auto* save = new TAction(&owner);
  auto* print = new TAction(&owner);
  save->SetActionList(list);
  print->SetActionList(list);
  std::vector<String> log;
  save->SetShortCut(ShortCut('S', {ssCtrl}));
  save->SetSecondaryShortCuts({ShortCut(0x71 /* F2 */, {})});
  save->SetOnExecute([&](TObject*) { log.push_back(L"save"); });
  print->SetShortCut(ShortCut('P', {ssCtrl}));
  print->SetOnExecute([&](TObject*) { log.push_back(L"print"); });
  EXPECT_TRUE(list->IsShortCut(ShortCut('P', {ssCtrl})));
  EXPECT_TRUE(list->IsShortCut(ShortCut(0x71 /* F2 */, {})));
  EXPECT_FALSE(list->IsShortCut(ShortCut('Q', {ssCtrl})));
  EXPECT_FALSE(list->IsShortCut(0));
  print->SetEnabled(false);
  print->SetOnUpdate(Nothing);
  EXPECT_FALSE(list->IsShortCut(ShortCut('P', {ssCtrl})));
  EXPECT_EQ(log, (std::vector<String>{L"print", L"save"}));
}
