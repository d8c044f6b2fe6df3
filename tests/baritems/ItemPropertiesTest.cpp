// Item values: clamping, the hint that follows the caption, the category move in
// the manager's register, the Enabled answer while customizing, availability, and items
// without a manager.
#include "ItemsTestUtil.h"

namespace {

using TItemDefaults = TItemsFixture;

TEST_F(TItemDefaults, OutOfRangeValuesAreClampedOrIgnored)
{
  TTestItem* item = NewItem();
  item->SetMergeOrder(-5);
  EXPECT_EQ(item->GetMergeOrder(), 0);
  item->SetMergeOrder(7);
  EXPECT_EQ(item->GetMergeOrder(), 7);
  item->SetMergeOrder(0);
  EXPECT_EQ(item->GetMergeOrder(), 0);

  item->SetWidth(40);
  item->SetWidth(-1);
  EXPECT_EQ(item->GetWidth(), 40);

  item->SetVisible(TdxBarItemVisible(9));
  EXPECT_EQ(item->GetVisible(), ivAlways);
  item->SetAlign(TdxBarItemAlign(-3));
  EXPECT_EQ(item->GetAlign(), iaLeft);

  // Not one of the manager's categories (it has only "Default").
  item->SetCategory(0);
  item->SetCategory(5);
  EXPECT_EQ(item->GetCategory(), 0);
  item->SetCategory(-1);
  EXPECT_EQ(item->GetCategory(), 0);
}

TEST_F(TItemDefaults, ItemWithoutManagerLivesOnItsOwn)
{
  // Another form's manager exists: the item must not join it.
  TOwned<TItemsTestForm> lone(TCustomForm::CreateNew<TItemsTestForm>(nullptr));
  TOwned<TTestItem> item(new TTestItem(lone.Get()));
  EXPECT_EQ(item->GetBarManager(), nullptr);
  EXPECT_EQ(Manager->GetItemCount(), 0);
  item->SetCaption(L"&Open...");
  item->SetCategory(2);
  item->SetVisible(ivNever);
  item->Click();
  EXPECT_EQ(item->GetHint(), L"Open");
  EXPECT_EQ(item->GetCategory(), 2);
  EXPECT_FALSE(item->IsAvailable());
  EXPECT_EQ(item->GetIndex(), -1);

  // A manager given as its streaming parent takes it in.
  item->SetParentComponent(Manager);
  EXPECT_EQ(item->GetBarManager(), Manager);
  EXPECT_EQ(Manager->GetItemCount(), 1);
}

TEST_F(TItemDefaults, FreedItemLeavesTheRegister)
{
  TTestItem* a = NewItem(L"A");
  TTestItem* b = NewItem(L"B");
  a->Free();
  EXPECT_EQ(RegisterNames(), std::vector<String>{L"B"});
  b->SetIndex(10);
  EXPECT_EQ(b->GetIndex(), 0);
}

// ---------------------------------------------------------------------------

using TItemHint = TItemsFixture;

TEST_F(TItemHint, FollowsTheCaptionUntilSetOwn)
{
  struct TRow {
    const wchar_t* Hint;  // set after the first caption; nil for none
    const wchar_t* Caption;
    const wchar_t* Expected;
  };
  const TRow rows[] = {
      {nullptr, L"&Load...", L"Load"},                         // empty: the caption without ampersand and ellipsis
      {L"Open|Opens a file", L"&Load", L"Load|Opens a file"},  // the short part follows, the long stays
      {L"Open|Opens a file", L"Read", L"Read|Opens a file"},
      {L"Other", L"&Load", L"Other"},  // an own hint stays
  };
  for (const TRow& row : rows) {
    TTestItem* item = NewItem();
    item->SetCaption(L"&Open...");
    if (row.Hint)
      item->SetHint(row.Hint);
    item->SetCaption(row.Caption);
    EXPECT_EQ(item->GetHint(), row.Expected) << ToUtf8(row.Caption);
  }
  EXPECT_EQ(dxBarStripCaption(L"A&&B......"), L"A&B...") << "only the first ampersand and ellipsis go";
  EXPECT_EQ(dxBarStripCaption(L"Save&"), L"Save");
  EXPECT_EQ(dxBarStripCaption(L""), L"");
}

TEST_F(TItemHint, KindThatKeepsItsHintNeverFollows)
{
  TTestItem* item = NewItem();
  item->KeepsHint = true;
  item->SetCaption(L"&File");
  EXPECT_EQ(item->GetHint(), L"");
}

// ---------------------------------------------------------------------------

struct TItemCategory : TItemsFixture {
  void SetUp() override
  {
    Manager->GetCategories()->Add(L"One");
    Manager->GetCategories()->Add(L"Two");
    Manager->GetCategories()->Add(L"Three");
  }
  TTestItem* ItemIn(int Category, const String& Name)
  {
    TTestItem* item = NewItem(Name);
    item->SetCategory(Category);
    return item;
  }
};

TEST_F(TItemCategory, MovesBehindTheLastItemOfTheNewCategory)
{
  struct TRow {
    const char* Case;
    std::vector<int> Categories;  // X's first, then A's, then C's when given
    int NewCategory;
    std::vector<String> Expected;
  };
  const TRow rows[] = {
      {"backward", {1, 2, 3}, 2, {L"A", L"X", L"C"}},
      {"to the end of the register", {1, 2, 3}, 3, {L"A", L"C", L"X"}},
      {"into an empty category: stays", {1, 2}, 3, {L"X", L"A"}},
  };
  for (const TRow& row : rows) {
    while (Manager->GetItemCount() > 0)
      Manager->GetItem(0)->Free();
    TTestItem* x = ItemIn(row.Categories[0], L"X");
    ItemIn(row.Categories[1], L"A");
    if (row.Categories.size() > 2)
      ItemIn(row.Categories[2], L"C");
    x->SetCategory(row.NewCategory);
    EXPECT_EQ(RegisterNames(), row.Expected) << row.Case;
    EXPECT_EQ(x->GetCategory(), row.NewCategory) << row.Case;
  }
  // Forward, behind an earlier category.
  Manager->GetItem(0)->Free();
  Manager->GetItem(0)->Free();
  ItemIn(2, L"A");
  ItemIn(3, L"C");
  ItemIn(1, L"X")->SetCategory(2);
  EXPECT_EQ(RegisterNames(), (std::vector<String>{L"A", L"X", L"C"}));
}

TEST_F(TItemCategory, ChangeIsReportedToTheRegister)
{
  TTestItem* x = ItemIn(1, L"X");
  int changes = 0;
  Manager->GetItemList()->OnChange =
      TdxComponentListChangeEvent([&](TObject*, TComponent*, TdxComponentListChangeType Kind) {
        if (Kind == clcnChanged)
          ++changes;
      });
  x->SetCategory(2);
  x->SetCategory(2);
  Manager->GetItemList()->OnChange = nullptr;
  EXPECT_EQ(changes, 1);
}

// ---------------------------------------------------------------------------

using TItemState = TItemsFixture;

TEST_F(TItemState, EnabledIsTrueWhileCustomizingForItemsWithACategory)
{
  TTestItem* categorised = NewItem();
  categorised->SetCategory(0);
  categorised->SetEnabled(false);
  TTestItem* loose = NewItem();
  loose->SetEnabled(false);
  Manager->SetIsCustomizing(true);
  EXPECT_TRUE(categorised->GetEnabled());
  EXPECT_FALSE(loose->GetEnabled());
  EXPECT_FALSE(categorised->GetEnabledValue());
  Manager->SetIsCustomizing(false);
  EXPECT_FALSE(categorised->GetEnabled());
}

TEST_F(TItemState, AvailabilityFollowsVisibleAndCustomizing)
{
  TTestItem* item = NewItem();
  EXPECT_TRUE(item->IsAvailable());
  item->SetVisible(ivInCustomizing);
  EXPECT_FALSE(item->IsAvailable());
  Manager->SetIsCustomizing(true);
  EXPECT_TRUE(item->IsAvailable());
  item->SetVisible(ivNever);
  EXPECT_FALSE(item->IsAvailable());
  // A kind that cannot be visible now is still shown while customizing.
  item->SetVisible(ivAlways);
  item->VisibleAllowed = false;
  EXPECT_TRUE(item->IsAvailable());
  Manager->SetIsCustomizing(false);
  EXPECT_FALSE(item->IsAvailable());
}

TEST_F(TItemState, DeleteWithoutForceKeepsAnItemThatHasLinks)
{
  TTestItem* item = NewItem();
  TWeakRef<TTestItem> ref(item);
  {
    TTestLinksOwner owner(Manager);
    owner.Show(item);
    ASSERT_EQ(item->GetLinkCount(), 1);
    EXPECT_TRUE(item->CanDelete(false));
    item->Delete(false);
    ASSERT_TRUE(ref.Alive());
    EXPECT_EQ(item->GetLinkCount(), 0);
    EXPECT_EQ(owner.Links()->Count(), 0);
  }
  item->Delete(false);
  EXPECT_FALSE(ref.Alive());
}

}  // namespace
