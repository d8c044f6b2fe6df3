// The manager's categories: the "Default" category, renumbering of items when categories
// are deleted, inserted, exchanged and moved, per-category visibility.
#include "ComponentsTestUtil.h"

namespace {

using TCategoryFixture = TManagerFixture;

// Each item's category name, which every category operation must keep.
std::vector<String> ItemCategoryNames(TdxBarManager* Manager, const std::vector<TTestBarItem*>& Items)
{
  std::vector<String> names;
  for (TTestBarItem* item : Items) {
    int category = item->GetCategory();
    names.push_back(category >= 0 && category < Manager->GetCategories()->Count()
                        ? Manager->GetCategories()->Strings(category)
                        : L"<" + IntToStr(category) + L">");
  }
  return names;
}

}  // namespace

TEST_F(TCategoryFixture, NewManagerHasTheDefaultCategoryAndNilSafeLookups)
{
  EXPECT_EQ(CategoryNames(), std::vector<String>{L"Default"});
  EXPECT_EQ(Manager->GetItemCount(), 0);
  EXPECT_EQ(Manager->GetItem(0), nullptr);
  EXPECT_EQ(Manager->GetItem(-1), nullptr);
  EXPECT_EQ(Manager->GetGroup(0), nullptr);
  EXPECT_EQ(Manager->GetCategoryItemsVisible(-1), ivNever);
  EXPECT_EQ(Manager->GetCategoryItemsVisible(1), ivNever);
  EXPECT_EQ(Manager->GetCategoryItemsVisible(0), ivAlways);
  EXPECT_FALSE(Manager->GetCategoryVisible(99));
  EXPECT_TRUE(Manager->GetCategoryVisible(0));
}

TEST_F(TCategoryFixture, DeletingACategoryFreesItsItemsAndRenumbersLaterOnes)
{
  Manager->GetCategories()->AddStrings({L"File", L"Edit", L"View"});
  TTestBarItem* file = NewItem(1);
  TWeakRef<TTestBarItem> edit1(NewItem(2));
  TWeakRef<TTestBarItem> edit2(NewItem(2));
  TTestBarItem* view = NewItem(3);
  TTestBarItem* loose = NewItem(-1);
  Manager->GetCategories()->Delete(2);
  EXPECT_FALSE(edit1.Alive());
  EXPECT_FALSE(edit2.Alive());
  EXPECT_EQ(Manager->GetItemCount(), 3);
  EXPECT_EQ(CategoryNames(), (std::vector<String>{L"Default", L"File", L"View"}));
  EXPECT_EQ(ItemCategoryNames(Manager, {file, view}), (std::vector<String>{L"File", L"View"}));
  EXPECT_EQ(loose->GetCategory(), -1);
}

TEST_F(TCategoryFixture, DeletingTheOnlyCategoryLeavesDefault)
{
  Manager->GetCategories()->SetStrings(0, L"Only");
  TWeakRef<TTestBarItem> item(NewItem(0));
  Manager->SetCategoryVisible(0, false);
  Manager->GetCategories()->Delete(0);
  EXPECT_FALSE(item.Alive());
  EXPECT_EQ(Manager->GetItemCount(), 0);
  EXPECT_EQ(CategoryNames(), std::vector<String>{L"Default"});
  // The new "Default" has fresh data, not the deleted category's.
  EXPECT_TRUE(Manager->GetCategoryVisible(0));
}

TEST_F(TCategoryFixture, BadIndexesRaiseAndChangeNothing)
{
  Manager->GetCategories()->Add(L"File");
  TTestBarItem* item = NewItem(1);
  EXPECT_ANY_THROW(Manager->GetCategories()->Delete(5));
  EXPECT_ANY_THROW(Manager->GetCategories()->Insert(7, L"X"));
  EXPECT_ANY_THROW(Manager->GetCategories()->Exchange(0, 4));
  EXPECT_ANY_THROW(Manager->GetCategories()->Move(1, -1));
  EXPECT_EQ(item->GetCategory(), 1);
  EXPECT_EQ(CategoryNames(), (std::vector<String>{L"Default", L"File"}));
}

TEST_F(TCategoryFixture, InsertExchangeAndMoveKeepEveryItemInItsCategory)
{
  Manager->GetCategories()->AddStrings({L"File", L"Edit"});
  std::vector<TTestBarItem*> items{NewItem(0), NewItem(1), NewItem(1), NewItem(2)};
  std::vector<String> before = ItemCategoryNames(Manager, items);

  Manager->GetCategories()->Insert(1, L"New");
  EXPECT_EQ(CategoryNames(), (std::vector<String>{L"Default", L"New", L"File", L"Edit"}));
  EXPECT_EQ(ItemCategoryNames(Manager, items), before);
  EXPECT_EQ(items[1]->GetCategory(), 2);

  Manager->GetCategories()->Exchange(0, 3);
  EXPECT_EQ(ItemCategoryNames(Manager, items), before);
  EXPECT_EQ(items[0]->GetCategory(), 3);

  for (auto [from, to] : {std::pair{0, 2}, {3, 0}, {1, 3}, {2, 1}}) {
    Manager->GetCategories()->Move(from, to);
    EXPECT_EQ(ItemCategoryNames(Manager, items), before) << from << " -> " << to;
  }
  // Adding at the end moves nobody.
  Manager->GetCategories()->Add(L"Tail");
  EXPECT_EQ(ItemCategoryNames(Manager, items), before);
}

TEST_F(TCategoryFixture, MovingCategoryZeroToTheEndOfThree)
{
  Manager->GetCategories()->AddStrings({L"B", L"C"});
  Manager->GetCategories()->SetStrings(0, L"A");
  TTestBarItem* a = NewItem(0);
  TTestBarItem* b = NewItem(1);
  TTestBarItem* c = NewItem(2);
  Manager->SetCategoryVisible(0, false);
  Manager->GetCategories()->Move(0, 2);
  EXPECT_EQ(CategoryNames(), (std::vector<String>{L"B", L"C", L"A"}));
  EXPECT_EQ(a->GetCategory(), 2);
  EXPECT_EQ(b->GetCategory(), 0);
  EXPECT_EQ(c->GetCategory(), 1);
  // The category's data travels with its name.
  EXPECT_FALSE(Manager->GetCategoryVisible(2));
  EXPECT_TRUE(Manager->GetCategoryVisible(0));
}

TEST_F(TCategoryFixture, ItemVisibilityActsOnItemsThatFollowedTheCategory)
{
  Manager->GetCategories()->Add(L"Tools");
  TTestBarItem* plain = NewItem(1);
  TTestBarItem* special = NewItem(1);
  special->SetVisible(ivInCustomizing);
  TTestBarItem* other = NewItem(0);

  Manager->SetCategoryItemsVisible(1, ivNever);
  EXPECT_EQ(Manager->GetCategoryItemsVisible(1), ivNever);
  EXPECT_EQ(plain->GetVisible(), ivNever);
  EXPECT_EQ(special->GetVisible(), ivInCustomizing);  // differed from the old value
  EXPECT_EQ(other->GetVisible(), ivAlways);

  Manager->SetCategoryItemsVisible(1, ivAlways);
  EXPECT_EQ(plain->GetVisible(), ivAlways);
  EXPECT_EQ(special->GetVisible(), ivInCustomizing);

  // Out of range: ignored.
  Manager->SetCategoryItemsVisible(5, ivNever);
  Manager->SetCategoryItemsVisible(-1, ivNever);
  EXPECT_EQ(Manager->GetCategories()->Count(), 2);
  EXPECT_FALSE(Manager->IsUpdateLocked());
}

TEST_F(TCategoryFixture, RealIndexSkipsHiddenCategories)
{
  Manager->GetCategories()->AddStrings({L"A", L"B", L"C"});
  Manager->SetCategoryVisible(1, false);
  Manager->SetCategoryVisible(2, false);
  EXPECT_EQ(Manager->GetCategoryRealIndex(0), 0);
  EXPECT_EQ(Manager->GetCategoryRealIndex(1), 3);
  EXPECT_EQ(Manager->GetCategoryRealIndex(2), -1);
  EXPECT_EQ(Manager->GetCategoryRealIndex(-1), -1);
  Manager->SetCategoryVisible(1, true);
  EXPECT_EQ(Manager->GetCategoryRealIndex(1), 1);
  Manager->SetCategoryVisible(9, false);  // ignored
}

TEST_F(TCategoryFixture, VisibleItemsByCategoryAreWhatTheCustomizeDialogShows)
{
  Manager->GetCategories()->Add(L"Tools");
  TTestBarItem* shown = NewItem(1);
  TTestBarItem* hidden = NewItem(1);
  hidden->SetVisible(ivNever);
  TTestBarItem* excluded = NewItem(1);
  excluded->Excluded = true;
  NewItem(0);
  TList list;
  list.Add(nullptr);  // the list is refilled, not appended to
  Manager->GetVisibleItemsByCategory(1, &list);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0), shown);
}
