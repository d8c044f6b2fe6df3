// The click chain: the manager's OnClickItem before the item's OnClick, disabled items,
// the action as the click's target, handlers that free the item or its form, and shortcuts.
#include "ItemsTestUtil.h"

namespace {

struct TItemClick : TItemsFixture {
  std::vector<std::string> Order;
  void WatchManager()
  {
    Manager->OnClickItem = TdxBarClickItemEvent([this](TObject*, TdxBarItem*) { Order.push_back("manager"); });
  }
};

TEST_F(TItemClick, ManagerHearsFirstThenTheItem)
{
  TTestItem* item = NewItem();
  WatchManager();
  TdxBarItem* seen = nullptr;
  Manager->OnClickItem = TdxBarClickItemEvent([&](TObject* Sender, TdxBarItem* Item) {
    EXPECT_EQ(Sender, Manager);
    seen = Item;
    Order.push_back("manager");
  });
  item->SetOnClick(TNotifyEvent([&](TObject* Sender) {
    EXPECT_EQ(Sender, item);
    Order.push_back("item");
  }));
  item->Click();
  EXPECT_EQ(Order, (std::vector<std::string>{"manager", "item"}));
  EXPECT_EQ(seen, item);
}

TEST_F(TItemClick, UnclickableItemIgnoresTheShortCutClick)
{
  TTestItem* item = NewItem();
  WatchManager();
  item->Clickable = false;
  item->ShortCutClick();
  EXPECT_TRUE(Order.empty());
  item->Clickable = true;
  item->ShortCutClick();
  EXPECT_EQ(Order.size(), 1u);
}

TEST_F(TItemClick, HandlerThatFreesTheItemEndsTheChain)
{
  TTestItem* item = NewItem();
  TWeakRef<TTestItem> ref(item);
  // The manager's handler frees the item: its OnClick must not run on a dead item.
  Manager->OnClickItem = TdxBarClickItemEvent([&](TObject*, TdxBarItem* Item) { Item->Free(); });
  int clicks = 0;
  item->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  item->Click();
  EXPECT_FALSE(ref.Alive());
  EXPECT_EQ(clicks, 0);
}

TEST_F(TItemClick, OnClickThatFreesItsOwnItemIsSurvived)
{
  TTestItem* item = NewItem();
  TWeakRef<TTestItem> ref(item);
  TShortCut key = ShortCut(L'D', {ssCtrl});
  item->SetShortCut(key);
  item->SetOnClick(TNotifyEvent([&](TObject* Sender) { static_cast<TTestItem*>(Sender)->Free(); }));
  EXPECT_TRUE(item->IsShortCut(key));
  EXPECT_FALSE(ref.Alive());
  EXPECT_EQ(Manager->GetItemCount(), 0);
}

TEST_F(TItemClick, OnClickThatFreesItsFormIsSurvived)
{
  TItemsTestForm* form = TCustomForm::CreateNew<TItemsTestForm>(nullptr);
  TWeakRef<TItemsTestForm> formRef(form);
  auto* manager = new TdxBarManager(form);
  auto* item = new TTestItem(form);
  ASSERT_EQ(item->GetBarManager(), manager);
  item->SetOnClick(TNotifyEvent([&](TObject*) { form->Free(); }));
  item->Click();
  EXPECT_FALSE(formRef.Alive());
}

TEST_F(TItemClick, OnClickThatIsTheActionsOwnHandlerRunsOnce)
{
  TTestItem* item = NewItem();
  auto* action = new TAction(Form());
  int executed = 0;
  action->SetOnExecute(TNotifyEvent([&](TObject*) { ++executed; }));
  item->SetAction(action);
  // The action handed its handler over as the item's OnClick.
  ASSERT_TRUE(item->GetOnClick() == action->OnExecute());
  item->Click();
  EXPECT_EQ(executed, 1);
  // The action knows which client ran it only while it runs.
  EXPECT_EQ(action->ActionComponent(), nullptr);
}

TEST_F(TItemClick, ActionRunsWhenThereIsNoOnClick)
{
  TTestItem* item = NewItem();
  auto* action = new TAction(Form());
  item->SetAction(action);
  int executed = 0;
  TComponent* runBy = nullptr;
  action->SetOnExecute(TNotifyEvent([&](TObject*) {
    ++executed;
    runBy = action->ActionComponent();
  }));
  item->SetOnClick(nullptr);
  item->Click();
  EXPECT_EQ(executed, 1);
  EXPECT_EQ(runBy, item);
}

TEST_F(TItemClick, OwnOnClickReplacesTheAction)
{
  TTestItem* item = NewItem();
  auto* action = new TAction(Form());
  int executed = 0, clicked = 0;
  action->SetOnExecute(TNotifyEvent([&](TObject*) { ++executed; }));
  item->SetAction(action);
  item->SetOnClick(TNotifyEvent([&](TObject*) { ++clicked; }));
  item->Click();
  EXPECT_EQ(executed, 0);
  EXPECT_EQ(clicked, 1);
}

// ---------------------------------------------------------------------------

using TItemShortCut = TItemsFixture;

TEST_F(TItemShortCut, MatchingKeyClicksOnce)
{
  TTestItem* item = NewItem();
  TShortCut key = ShortCut(L'O', {ssCtrl});
  item->SetShortCut(key);
  int clicks = 0;
  item->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  EXPECT_FALSE(item->IsShortCut(ShortCut(L'P', {ssCtrl})));
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(item->IsShortCut(key));
  EXPECT_EQ(clicks, 1);
}

TEST_F(TItemShortCut, DisabledOrUnassignedNeverMatches)
{
  TTestItem* item = NewItem();
  int clicks = 0;
  item->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  // No shortcut: a zero key is no key.
  EXPECT_FALSE(item->IsShortCut(0));
  TShortCut key = ShortCut(VK_F5, {});
  item->SetShortCut(key);
  item->SetEnabled(false);
  EXPECT_FALSE(item->IsShortCut(key));
  EXPECT_EQ(clicks, 0);
}

TEST_F(TItemShortCut, ItemWithOwnLinksPassesTheKeyOn)
{
  TTestItem* inner = NewItem();
  TShortCut key = ShortCut(L'N', {ssCtrl});
  inner->SetShortCut(key);
  int clicks = 0;
  inner->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));

  TTestLinksOwner menu(Manager, bckSubMenu);
  menu.Links()->AddItem(inner);
  TTestItem* outer = NewItem();
  outer->OwnLinks = menu.Links();
  EXPECT_TRUE(outer->IsShortCut(key));
  EXPECT_EQ(clicks, 1);

  // A menu that links its own item does not search forever.
  menu.Links()->AddItem(outer);
  EXPECT_FALSE(outer->IsShortCut(ShortCut(L'Q', {ssCtrl})));
}

}  // namespace
