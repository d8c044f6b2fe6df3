// The application menu's arithmetic (pane width, the button row, the order the keys visit
// the groups in) and the row's buttons, which show what the button they watch shows.
#include "AppMenuTestUtil.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bars/hints/screentips.h"
#include "platform/ActnList.h"

namespace {

TEST(TAppMenuArithmetic, PaneWidthScalesWithTheItemHeightOrFollowsTheRatio)
{
  EXPECT_EQ(dxBarCalcExtraPaneWidth(150, 0.5, 100, 22, 20), 165) << "scaled, rounded";
  EXPECT_EQ(dxBarCalcExtraPaneWidth(150, 0.5, 100, 20, 20), 150);
  EXPECT_EQ(dxBarCalcExtraPaneWidth(0, 0.35, 100, 22, 20), 35) << "no width: the ratio of the menu's";
  EXPECT_EQ(dxBarCalcExtraPaneWidth(0, 0.355, 200, 22, 20), 71) << "rounded to the nearest";
  // A painter without a default height keeps the width as given (MulDiv would answer -1).
  EXPECT_EQ(dxBarCalcExtraPaneWidth(150, 0.5, 100, 22, 0), 150);
  EXPECT_EQ(dxBarCalcExtraPaneWidth(-40, 0.5, 100, 22, 20), 0);
  EXPECT_EQ(dxBarCalcExtraPaneWidth(0, -2.0, 100, 22, 20), 0);
  EXPECT_EQ(dxBarCalcExtraPaneWidth(0, std::numeric_limits<double>::quiet_NaN(), 100, 22, 20), 0);
  EXPECT_EQ(dxBarCalcExtraPaneWidth(0, std::numeric_limits<double>::infinity(), 100, 22, 20), 0);
}

TEST(TAppMenuArithmetic, ButtonRowKeepsTheButtonsThatFitRightAligned)
{
  const TRect row{0, 10, 300, 30};
  const std::vector<TRect> r = dxBarLayoutApplicationMenuButtons(row, {80, 80, 80, 80});
  ASSERT_EQ(r.size(), 4u);
  // 0-80, 86-166 and 172-252 fit; moved right by 48.
  EXPECT_EQ(r[0], (TRect{48, 10, 128, 30}));
  EXPECT_EQ(r[1], (TRect{134, 10, 214, 30}));
  EXPECT_EQ(r[2], (TRect{220, 10, 300, 30}));
  EXPECT_TRUE(IsRectEmpty(r[3]));
  // Placing stops at the first that does not fit, even when a later one would.
  const std::vector<TRect> stop = dxBarLayoutApplicationMenuButtons(row, {200, 200, 10});
  EXPECT_EQ(stop[0], (TRect{100, 10, 300, 30}));
  EXPECT_TRUE(IsRectEmpty(stop[1]));
  EXPECT_TRUE(IsRectEmpty(stop[2]));
  // None fits: none shows, and nothing is read past the list.
  const std::vector<TRect> none = dxBarLayoutApplicationMenuButtons(row, {400, 20});
  EXPECT_TRUE(IsRectEmpty(none[0]) && IsRectEmpty(none[1]));
  EXPECT_TRUE(dxBarLayoutApplicationMenuButtons(row, {}).empty());
  // A negative width counts as none.
  const std::vector<TRect> negative = dxBarLayoutApplicationMenuButtons(row, {-50, 40});
  EXPECT_EQ(negative[1].right, 300);
  EXPECT_EQ(RectWidth(negative[0]), 0);
}

TEST(TAppMenuArithmetic, KeysVisitTheGroupsThatTakePart)
{
  const int all[3] = {3, 2, 2};
  EXPECT_EQ(dxBarNextApplicationMenuGroup(all, amgItems, true), amgExtraPane);
  EXPECT_EQ(dxBarNextApplicationMenuGroup(all, amgButtons, true), amgItems) << "wraps";
  EXPECT_EQ(dxBarNextApplicationMenuGroup(all, amgItems, false), amgButtons) << "wraps back";
  const int lonePane[3] = {3, 1, 2};
  EXPECT_EQ(dxBarNextApplicationMenuGroup(lonePane, amgItems, true), amgButtons) << "a pane of one is skipped";
  EXPECT_EQ(dxBarNextApplicationMenuGroup(lonePane, amgButtons, false), amgItems);
  const int onlyItems[3] = {2, 0, 0};
  EXPECT_EQ(dxBarNextApplicationMenuGroup(onlyItems, amgItems, true), amgItems) << "back into itself";
  const int noItems[3] = {0, 4, 0};
  EXPECT_EQ(dxBarNextApplicationMenuGroup(noItems, amgExtraPane, false), amgExtraPane);
  const int nothing[3] = {0, 1, 0};
  EXPECT_EQ(dxBarNextApplicationMenuGroup(nothing, amgItems, true), std::nullopt);
  EXPECT_EQ(dxBarNextApplicationMenuGroup(all, TdxBarApplicationMenuGroup(17), true), amgItems)
      << "an unknown group counts as the last";
}

class TAppMenuButtons : public testing::Test {
protected:
  TBarHost<TAppMenuTestForm> Host;
  TdxBarApplicationMenuButtons Buttons{Host.Form()};
};

TEST_F(TAppMenuButtons, RowButtonShowsWhatTheWatchedButtonShowsUntilItGoes)
{
  auto* watched = new TdxBarButton(Host.Form());
  watched->SetCaption(L"&Options");
  watched->SetImageIndex(3);
  watched->SetHint(L"Change the options");
  int clicks = 0;
  watched->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  TdxBarApplicationMenuButton* button = Buttons.Add();
  TdxBarApplicationMenuButtonItem* item = button->GetButtonItem();
  ASSERT_NE(item, nullptr) << "made with the collection owner's manager";
  EXPECT_EQ(item->GetBarManager(), Host.Manager);
  // An internal item of customizing: no category of the manager offers it.
  for (int category = 0; category < std::max(1, Host.Manager->GetCategories()->Count()); ++category) {
    TList offered;
    Host.Manager->GetVisibleItemsByCategory(category, &offered);
    EXPECT_EQ(offered.IndexOf(item), -1) << category;
  }
  EXPECT_EQ(Host.Manager->GetItemList()->IndexOf(item), -1);
  // Nothing watched: shows nothing.
  EXPECT_FALSE(item->GetEnabled());
  EXPECT_EQ(item->GetVisible(), ivNever);
  button->SetItem(watched);
  EXPECT_EQ(button->GetItem(), watched);
  EXPECT_EQ(item->GetCaption(), L"&Options");
  EXPECT_EQ(item->GetImageIndex(), 3);
  EXPECT_TRUE(item->GetEnabled());
  EXPECT_EQ(item->GetVisible(), ivAlways);
  // Changes follow.
  watched->SetCaption(L"&Settings");
  watched->SetImageIndex(5);
  watched->SetVisible(ivInCustomizing);
  watched->SetEnabled(false);
  EXPECT_FALSE(item->GetEnabled());
  watched->SetEnabled(true);
  EXPECT_TRUE(item->GetEnabled());
  watched->SetHint(L"Settings of the program");
  EXPECT_EQ(item->GetHint(), L"Settings of the program");
  EXPECT_EQ(item->GetCaption(), L"&Settings");
  EXPECT_EQ(item->GetImageIndex(), 5);
  EXPECT_EQ(item->GetVisible(), ivInCustomizing);
  watched->SetVisible(ivAlways);
  // Its click is the watched button's.
  item->Click();
  EXPECT_EQ(clicks, 1);
  // Width is the row button's own.
  button->SetWidth(72);
  EXPECT_EQ(item->GetWidth(), 72);
  // Copied from another: the same button and width.
  TdxBarApplicationMenuButton* copy = Buttons.Add();
  copy->Assign(button);
  EXPECT_EQ(copy->GetItem(), watched);
  EXPECT_EQ(copy->GetWidth(), 72);
  // The watched button freed: both show nothing, and a click does nothing.
  watched->Free();
  for (TdxBarApplicationMenuButton* b : {button, copy}) {
    TdxBarApplicationMenuButtonItem* i = b->GetButtonItem();
    EXPECT_EQ(b->GetItem(), nullptr);
    EXPECT_EQ(i->GetCaption(), L"");
    EXPECT_EQ(i->GetImageIndex(), -1);
    EXPECT_FALSE(i->GetEnabled());
    EXPECT_EQ(i->GetVisible(), ivNever);
    i->Click();
  }
  EXPECT_EQ(clicks, 1);
}

// The glyph and the screen tip follow too; a screen tip freed under the watched button leaves
// the row button without one, and a freed button takes its glyph away.
TEST_F(TAppMenuButtons, RowButtonFollowsTheGlyphAndScreenTip)
{
  auto* repository = new TdxBarScreenTipRepository(Host.Form());
  TdxBarScreenTip* tip = repository->GetItems()->Add();
  auto* watched = new TdxBarButton(Host.Form());
  TdxBarApplicationMenuButton* button = Buttons.Add();
  button->SetItem(watched);
  TdxBarApplicationMenuButtonItem* item = button->GetButtonItem();
  watched->SetScreenTip(tip);
  EXPECT_EQ(item->GetScreenTip(), tip);
  watched->GetGlyph()->SetSize(16, 16);
  EXPECT_EQ(item->GetGlyph()->GetWidth(), 16);
  EXPECT_EQ(item->GetGlyph()->GetHeight(), 16);
  tip->Free();
  EXPECT_EQ(watched->GetScreenTip(), nullptr);
  EXPECT_EQ(item->GetScreenTip(), nullptr);
  watched->SetScreenTip(repository->GetItems()->Add());
  EXPECT_NE(item->GetScreenTip(), nullptr);
  watched->Free();
  EXPECT_EQ(item->GetScreenTip(), nullptr);
  EXPECT_TRUE(item->GetGlyph()->Empty());
}

TEST_F(TAppMenuButtons, MovingTheWatchLeavesTheOldButtonAlone)
{
  auto* first = new TdxBarButton(Host.Form());
  first->SetCaption(L"First");
  auto* second = new TdxBarButton(Host.Form());
  second->SetCaption(L"Second");
  TdxBarApplicationMenuButton* button = Buttons.Add();
  button->SetItem(first);
  button->SetItem(second);
  EXPECT_EQ(button->GetButtonItem()->GetCaption(), L"Second");
  first->SetCaption(L"Changed");
  EXPECT_EQ(button->GetButtonItem()->GetCaption(), L"Second") << "the old button is no longer watched";
  first->Free();
  EXPECT_EQ(button->GetItem(), second);
  // The row button goes with its collection item, and the watched button does not mind.
  TWeakRef<TdxBarApplicationMenuButtonItem> item(button->GetButtonItem());
  Buttons.Delete(0);
  EXPECT_FALSE(item);
  second->SetCaption(L"Still here");
}

// The row button takes over the watched button's checked state and its action: it shows down
// with it, a click on the row toggles the watched button as a click on it would, and the
// action's changes reach the row as they reach the watched button.
TEST_F(TAppMenuButtons, RowButtonTakesOverTheCheckedStateAndTheAction)
{
  auto* watched = new TdxBarButton(Host.Form());
  watched->SetCaption(L"&Ruler");
  watched->SetButtonStyle(bsChecked);
  watched->SetDown(true);
  int clicks = 0;
  watched->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  TdxBarApplicationMenuButton* button = Buttons.Add();
  button->SetItem(watched);
  TdxBarApplicationMenuButtonItem* item = button->GetButtonItem();
  EXPECT_TRUE(item->Checks());
  EXPECT_TRUE(item->GetDown());
  watched->SetDown(false);
  EXPECT_FALSE(item->GetDown());
  // The row's control toggles the row button before its click, as it does any checking
  // button: the watched one follows.
  item->SetDown(true);
  item->Click();
  EXPECT_TRUE(watched->GetDown());
  EXPECT_TRUE(item->GetDown());
  EXPECT_EQ(clicks, 1);

  auto* action = new TAction(Host.Form());
  action->SetCaption(L"&Print");
  int executed = 0;
  action->SetOnExecute(TNotifyEvent([&](TObject*) { ++executed; }));
  auto* printing = new TdxBarButton(Host.Form());
  printing->SetAction(action);
  TdxBarApplicationMenuButton* print = Buttons.Add();
  print->SetItem(printing);
  TdxBarApplicationMenuButtonItem* printItem = print->GetButtonItem();
  EXPECT_EQ(printItem->GetAction(), action);
  EXPECT_EQ(printItem->GetCaption(), L"&Print");
  action->SetCaption(L"&Print all");
  action->SetEnabled(false);
  EXPECT_EQ(printItem->GetCaption(), L"&Print all");
  EXPECT_FALSE(printItem->GetEnabled());
  action->SetEnabled(true);
  printItem->Click();
  EXPECT_EQ(executed, 1) << "the action runs once, through the watched button";

  // A button that no longer checks or has no action leaves the row button without either.
  watched->SetButtonStyle(bsDefault);
  EXPECT_FALSE(item->Checks());
  EXPECT_FALSE(item->GetDown());
  printing->Free();
  EXPECT_EQ(printItem->GetAction(), nullptr);
  action->SetCaption(L"Changed");
  EXPECT_EQ(printItem->GetCaption(), L"");
}

}  // namespace
