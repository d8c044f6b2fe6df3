// Binding an item to an action: all values at run time, defaults only while the action
// loads (the hint then stays), following the action's later changes, what is stored,
// copying into an action, and losing the action.
#include "ItemsTestUtil.h"

namespace {

struct TItemAction : TItemsFixture {
  TAction* Action = nullptr;
  void SetUp() override
  {
    Action = new TAction(Form());
    Action->SetCaption(L"&Save...");
    Action->SetHint(L"Save|Saves the file");
    Action->SetHelpContext(12);
    Action->SetImageIndex(5);
    Action->SetShortCut(ShortCut(L'S', {ssCtrl}));
    Action->SetOnExecute(TNotifyEvent([this](TObject*) { ++Executed; }));
  }
  int Executed = 0;
};

TEST_F(TItemAction, RunTimeBindingTakesEveryValue)
{
  TTestItem* item = NewItem();
  item->SetCaption(L"Old");
  item->SetHelpContext(3);
  item->SetImageIndex(1);
  item->SetAction(Action);
  EXPECT_EQ(item->GetAction(), Action);
  EXPECT_EQ(item->GetCaption(), L"&Save...");
  EXPECT_EQ(item->GetHint(), L"Save|Saves the file");
  EXPECT_EQ(item->GetHelpContext(), 12);
  EXPECT_EQ(item->GetImageIndex(), 5);
  EXPECT_EQ(item->GetShortCut(), Action->ShortCut());
  EXPECT_TRUE(item->GetOnClick() == Action->OnExecute());
  // Nothing the action supplies is written to form data.
  EXPECT_FALSE(item->IsCaptionStored());
  EXPECT_FALSE(item->IsHintStored());
  EXPECT_FALSE(item->IsEnabledStored());
  EXPECT_FALSE(item->IsImageIndexStored());
  EXPECT_FALSE(item->IsShortCutStored());
  EXPECT_FALSE(item->IsVisibleStored());
  EXPECT_FALSE(item->IsOnClickStored());
}

TEST_F(TItemAction, LoadingActionFillsOnlyDefaultsAndTheHintStays)
{
  TTestItem* item = NewItem();
  item->SetHelpContext(3);
  Action->SetHint(L"");
  Action->IncludeState(csLoading);
  item->SetAction(Action);
  Action->ExcludeState(csLoading);
  EXPECT_EQ(item->GetCaption(), L"&Save...");
  // Taken as a default: the empty hint does not follow the caption.
  EXPECT_EQ(item->GetHint(), L"");
  EXPECT_EQ(item->GetHelpContext(), 3);
  EXPECT_EQ(item->GetImageIndex(), 5);
}

TEST_F(TItemAction, LoadingActionKeepsValuesThatAreSet)
{
  TTestItem* item = NewItem();
  item->SetCaption(L"Mine");
  item->SetEnabled(false);
  item->SetShortCut(ShortCut(L'M', {ssCtrl}));
  int clicks = 0;
  item->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  Action->IncludeState(csLoading);
  item->SetAction(Action);
  Action->ExcludeState(csLoading);
  EXPECT_EQ(item->GetCaption(), L"Mine");
  EXPECT_FALSE(item->GetEnabled());
  EXPECT_EQ(item->GetShortCut(), ShortCut(L'M', {ssCtrl}));
  item->SetEnabled(true);
  item->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Executed, 0);
}

TEST_F(TItemAction, LaterActionChangesReachTheItem)
{
  TTestItem* item = NewItem();
  item->SetAction(Action);
  Action->SetCaption(L"&Keep");
  Action->SetEnabled(false);
  Action->SetVisible(false);
  EXPECT_EQ(item->GetCaption(), L"&Keep");
  EXPECT_FALSE(item->GetEnabled());
  EXPECT_EQ(item->GetVisible(), ivNever);
  Action->SetVisible(true);
  EXPECT_EQ(item->GetVisible(), ivAlways);
}

TEST_F(TItemAction, FreedActionLeavesTheItem)
{
  TTestItem* item = NewItem();
  item->SetAction(Action);
  Action->Free();
  Action = nullptr;
  EXPECT_EQ(item->GetAction(), nullptr);
  EXPECT_TRUE(item->IsCaptionStored());
  // The click no longer reaches a dead action.
  item->SetOnClick(nullptr);
  item->Click();
  EXPECT_EQ(Executed, 0);
}

TEST_F(TItemAction, ItemCopiesItselfIntoAnAction)
{
  TTestItem* item = NewItem();
  item->SetCaption(L"&Copy");
  item->SetHint(L"Copy|Copies");
  item->SetEnabled(false);
  item->SetImageIndex(7);
  item->SetVisible(ivNever);
  int clicks = 0;
  item->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  auto* target = new TAction(Form());
  target->Assign(item);
  EXPECT_EQ(target->Caption(), L"&Copy");
  EXPECT_EQ(target->Hint(), L"Copy|Copies");
  EXPECT_FALSE(target->Enabled());
  EXPECT_EQ(target->ImageIndex(), 7);
  EXPECT_FALSE(target->Visible());
  EXPECT_TRUE(target->OnExecute() == item->GetOnClick());

  // ivInCustomizing leaves the action's Visible as it is.
  auto* second = new TAction(Form());
  item->SetVisible(ivInCustomizing);
  second->Assign(item);
  EXPECT_TRUE(second->Visible());
}

}  // namespace
