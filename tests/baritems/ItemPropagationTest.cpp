// How item changes reach the controls of the item's links, what the user-defined values of
// a link hold back, rebuilding bars by kind, visibility creating and freeing controls, and
// freeing an item that bars show.
#include "ItemsTestUtil.h"

namespace {

using Log = std::vector<std::string>;

struct TItemPropagation : TItemsFixture {
  TTestItem* Item = nullptr;
  void SetUp() override { Item = NewItem(L"Cmd"); }
};

TEST_F(TItemPropagation, EachChangeReachesEveryControl)
{
  TTestLinksOwner bar(Manager), menu(Manager, bckSubMenu);
  TTestItemControl* a = ControlOf<TTestItemControl>(bar.Show(Item));
  TTestItemControl* b = ControlOf<TTestItemControl>(menu.Show(Item));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(Item->GetLinkCount(), 2);

  Item->SetCaption(L"New");
  Item->SetEnabled(false);
  Item->SetWidth(30);
  Item->Update();
  Item->RepaintControls();
  Item->HotGlyphChanged();
  for (TTestItemControl* control : {a, b})
    EXPECT_EQ(control->Log, (Log{"caption", "enabled", "width", "recalc", "repaint", "hotglyph"}));
}

TEST_F(TItemPropagation, EqualValuesTellNobody)
{
  TTestLinksOwner bar(Manager);
  TTestItemControl* control = ControlOf<TTestItemControl>(bar.Show(Item));
  ASSERT_TRUE(control);
  int rebuilds = bar.Bar()->Rebuilds;
  Item->SetCaption(L"");
  Item->SetEnabled(true);
  Item->SetWidth(0);
  Item->SetImageIndex(-1);
  Item->SetVisible(ivAlways);
  Item->SetAlign(iaLeft);
  EXPECT_TRUE(control->Log.empty());
  EXPECT_EQ(bar.Bar()->Rebuilds, rebuilds);
}

TEST_F(TItemPropagation, UserDefinedValuesHoldTheItemsBack)
{
  TTestLinksOwner bar(Manager);
  TdxBarItemLink* own = bar.Show(Item);
  TdxBarItemLink* plain = bar.Show(Item);
  own->SetUserDefine({udCaption, udGlyph, udWidth});
  ControlOf<TTestItemControl>(own)->Log.clear();
  ControlOf<TTestItemControl>(plain)->Log.clear();

  Item->SetCaption(L"Other");
  Item->SetImageIndex(3);
  Item->SetWidth(20);
  EXPECT_TRUE(ControlOf<TTestItemControl>(own)->Log.empty());
  EXPECT_EQ(ControlOf<TTestItemControl>(plain)->Log, (Log{"caption", "glyph", "width"}));
}

TEST_F(TItemPropagation, GlyphBitmapChangeCountsAsGlyphChange)
{
  TTestLinksOwner bar(Manager);
  TTestItemControl* control = ControlOf<TTestItemControl>(bar.Show(Item));
  TBitmap glyph;
  glyph.SetSize(4, 4);
  Item->SetGlyph(&glyph);
  ASSERT_FALSE(control->Log.empty());
  EXPECT_EQ(control->Log.back(), "glyph");
}

TEST_F(TItemPropagation, RebuildsOnlyBarsOfTheAskedKinds)
{
  TTestLinksOwner toolbar(Manager), menu(Manager, bckSubMenu);
  toolbar.Show(Item);
  toolbar.Show(Item);
  menu.Show(Item);
  int toolbarRebuilds = toolbar.Bar()->Rebuilds, menuRebuilds = menu.Bar()->Rebuilds;
  Item->SetShortCut(ShortCut(L'K', {ssCtrl}));
  EXPECT_EQ(toolbar.Bar()->Rebuilds, toolbarRebuilds);
  EXPECT_EQ(menu.Bar()->Rebuilds, menuRebuilds + 1);
  // Two links on one toolbar: one rebuild.
  Item->SetAlign(iaRight);
  EXPECT_EQ(toolbar.Bar()->Rebuilds, toolbarRebuilds + 1);
  EXPECT_EQ(menu.Bar()->Rebuilds, menuRebuilds + 2);
}

TEST_F(TItemPropagation, PressedControlIsLeftAlone)
{
  TTestLinksOwner toolbar(Manager);
  TdxBarItemLink* link = toolbar.Show(Item);
  TTestItemControl* control = ControlOf<TTestItemControl>(link);
  toolbar.Bar()->SetSelectedControl(control);
  ASSERT_EQ(toolbar.Bar()->GetSelectedControl(), control);
  toolbar.Bar()->SetHoldsCapture(true);
  int rebuilds = toolbar.Bar()->Rebuilds;
  Item->RepaintControls();
  Item->SetAlign(iaCenter);
  EXPECT_TRUE(control->Log.empty());
  EXPECT_EQ(toolbar.Bar()->Rebuilds, rebuilds);
  toolbar.Bar()->SetHoldsCapture(false);
  toolbar.Bar()->SetSelectedControl(nullptr);
}

TEST_F(TItemPropagation, HidingFreesControlsAndShowingMakesThem)
{
  TTestLinksOwner bar(Manager);
  TdxBarItemLink* link = bar.Show(Item);
  ASSERT_NE(link->GetControl(), nullptr);
  int alive = TTestItemControl::Alive;
  Item->SetVisible(ivNever);
  EXPECT_EQ(link->GetControl(), nullptr);
  EXPECT_EQ(TTestItemControl::Alive, alive - 1);
  EXPECT_EQ(bar.Links()->VisibleItemCount(), 0);
  Item->SetVisible(ivAlways);
  ASSERT_NE(ControlOf<TTestItemControl>(link), nullptr);
  // A new control reads its style as it is made; then it hears it became visible.
  ASSERT_FALSE(ControlOf<TTestItemControl>(link)->Log.empty());
  EXPECT_EQ(ControlOf<TTestItemControl>(link)->Log.back(), "visible");
  EXPECT_EQ(bar.Links()->VisibleItemCount(), 1);
}

TEST_F(TItemPropagation, FreeingTheItemTakesItsLinksEverywhere)
{
  TTestLinksOwner toolbar(Manager), menu(Manager, bckSubMenu);
  TTestItem* other = NewItem(L"Other");
  toolbar.Show(other);
  toolbar.Show(Item);
  toolbar.Show(Item);
  menu.Show(Item);
  int rebuildsBefore = toolbar.Bar()->Rebuilds;
  int menuRebuildsBefore = menu.Bar()->Rebuilds;
  int alive = TTestItemControl::Alive;
  int deleted = 0;
  Manager->OnItemLinkDelete = TdxBarItemLinkEvent([&](TObject*, TdxBarItemLink*) { ++deleted; });
  Item->Free();
  Item = nullptr;
  Manager->OnItemLinkDelete = nullptr;
  EXPECT_EQ(deleted, 3);
  EXPECT_EQ(toolbar.Links()->Count(), 1);
  EXPECT_EQ(menu.Links()->Count(), 0);
  EXPECT_EQ(TTestItemControl::Alive, alive - 3);
  EXPECT_EQ(toolbar.Links()->Items(0)->GetItem(), other);
  // The visible toolbar loses two links inside the manager's update, whose end rebuilds it
  // exactly once; the menu's removal waits for the same end.
  EXPECT_EQ(toolbar.Bar()->Rebuilds, rebuildsBefore + 1);
  EXPECT_GE(toolbar.Bar()->LockedRebuilds, 1);
  EXPECT_FALSE(toolbar.Bar()->IsRebuildPending());
  EXPECT_LE(menu.Bar()->Rebuilds, menuRebuildsBefore + 1);
  EXPECT_FALSE(menu.Bar()->IsRebuildPending());
  EXPECT_FALSE(Manager->IsUpdateLocked());
}

TEST_F(TItemPropagation, ItemOnlyInMenusIsFreedWithoutTheUpdateLock)
{
  TTestLinksOwner menu(Manager, bckSubMenu);
  menu.Show(Item);
  int rebuilds = menu.Bar()->Rebuilds;
  Item->Free();
  Item = nullptr;
  EXPECT_EQ(menu.Links()->Count(), 0);
  EXPECT_EQ(menu.Bar()->LockedRebuilds, 0);
  EXPECT_GT(menu.Bar()->Rebuilds, rebuilds);
}

TEST_F(TItemPropagation, OnDestroyFiresBeforeTheLinksGo)
{
  TTestLinksOwner bar(Manager);
  bar.Show(Item);
  int linksAtDestroy = -1;
  Item->OnDestroy =
      TNotifyEvent([&](TObject* Sender) { linksAtDestroy = static_cast<TdxBarItem*>(Sender)->GetLinkCount(); });
  Item->Free();
  Item = nullptr;
  EXPECT_EQ(linksAtDestroy, 1);
  EXPECT_EQ(bar.Links()->Count(), 0);
}

TEST_F(TItemPropagation, ImageOptionsReachItemsThatUseImages)
{
  TTestLinksOwner bar(Manager);
  TTestItemControl* withImage = ControlOf<TTestItemControl>(bar.Show(Item));
  TTestItem* plain = NewItem(L"Plain");
  TTestItemControl* without = ControlOf<TTestItemControl>(bar.Show(plain));
  Item->SetImageIndex(1);
  withImage->Log.clear();
  TOwned<TImageList> images(new TImageList(Form()));
  Manager->SetImages(images.Get());
  EXPECT_NE(std::find(withImage->Log.begin(), withImage->Log.end(), "glyph"), withImage->Log.end());
  EXPECT_EQ(std::find(without->Log.begin(), without->Log.end(), "glyph"), without->Log.end());
  Manager->SetImages(nullptr);
}

}  // namespace
