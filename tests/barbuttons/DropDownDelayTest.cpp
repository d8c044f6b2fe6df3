// Delayed opening and closing of drop-downs inside menus on the 400 ms thread timers: one
// control waits to open and one to close in the whole process, and a control that goes
// while it waits is never reached.
#include "ButtonTestUtil.h"

#include "support/Pump.h"

namespace {

class TDropDownDelayTest : public TButtonFixture {
protected:
  // A drop-down command in the menu double, with its own menu.
  TdxBarButton* NewMenuDropDown(const String& ACaption, TTestDropDownMenu*& AMenu)
  {
    AMenu = new TTestDropDownMenu(Host.Form());
    TdxBarButton* button = NewButton(ACaption, bsDropDown, MenuLinks.get());
    button->SetDropDownMenu(AMenu);
    return button;
  }
};

TEST_F(TDropDownDelayTest, HoveredCommandOpensAfterTheDelay)
{
  TTestDropDownMenu* menu = nullptr;
  TdxBarButton* button = NewMenuDropDown(L"Recent", menu);
  TdxBarButtonControl* control = ControlOf<TdxBarButtonControl>(button);
  control->Activate();
  EXPECT_TRUE(control->IsPendingOpen());
  EXPECT_FALSE(menu->IsOpen());
  PumpFor(250);
  EXPECT_FALSE(menu->IsOpen()) << "opened before the delay";
  ASSERT_TRUE(PumpUntil([&] { return menu->IsOpen(); }, 3000));
  EXPECT_FALSE(control->IsPendingOpen());
  // Right of the command in a menu.
  EXPECT_EQ(menu->LastPoint.x, menu->LastExclude.right);
  EXPECT_EQ(menu->LastPoint.y, menu->LastExclude.top);
}

TEST_F(TDropDownDelayTest, LeavingAnOpenCommandClosesAfterTheDelay)
{
  TTestDropDownMenu* menu = nullptr;
  TdxBarButtonControl* control = ControlOf<TdxBarButtonControl>(NewMenuDropDown(L"Recent", menu));
  control->ActivateControl(true);
  ASSERT_TRUE(menu->IsOpen()) << "a forced activation opens at once";
  control->Deactivate();
  EXPECT_TRUE(control->IsPendingClose());
  EXPECT_TRUE(menu->IsOpen());
  ASSERT_TRUE(PumpUntil([&] { return !menu->IsOpen(); }, 3000));
  EXPECT_FALSE(control->IsDroppedDown());
}

TEST_F(TDropDownDelayTest, ComingBackBeforeTheDelayKeepsTheMenuOpen)
{
  TTestDropDownMenu* menu = nullptr;
  TdxBarButtonControl* control = ControlOf<TdxBarButtonControl>(NewMenuDropDown(L"Recent", menu));
  control->ActivateControl(true);
  control->Deactivate();
  control->Activate();
  EXPECT_FALSE(control->IsPendingClose());
  PumpFor(600);
  EXPECT_TRUE(menu->IsOpen());
}

TEST_F(TDropDownDelayTest, OnlyOneControlWaitsToOpen)
{
  TTestDropDownMenu* first = nullptr;
  TTestDropDownMenu* second = nullptr;
  TdxBarButtonControl* a = ControlOf<TdxBarButtonControl>(NewMenuDropDown(L"First", first));
  TdxBarButtonControl* b = ControlOf<TdxBarButtonControl>(NewMenuDropDown(L"Second", second));
  a->Activate();
  b->Activate();
  EXPECT_FALSE(a->IsPendingOpen());
  EXPECT_TRUE(b->IsPendingOpen());
  ASSERT_TRUE(PumpUntil([&] { return second->IsOpen(); }, 3000));
  PumpFor(100);
  EXPECT_FALSE(first->IsOpen());
}

TEST_F(TDropDownDelayTest, MovingToAnotherCommandClosesTheFirstAndOpensTheSecond)
{
  TTestDropDownMenu* first = nullptr;
  TTestDropDownMenu* second = nullptr;
  TdxBarButtonControl* a = ControlOf<TdxBarButtonControl>(NewMenuDropDown(L"First", first));
  TdxBarButtonControl* b = ControlOf<TdxBarButtonControl>(NewMenuDropDown(L"Second", second));
  a->ActivateControl(true);
  ASSERT_TRUE(first->IsOpen());
  a->Deactivate();
  b->Activate();
  EXPECT_TRUE(a->IsPendingClose());
  EXPECT_TRUE(b->IsPendingOpen());
  // The second opens when its timer fires, and the waiting close of the first is carried
  // out then at the latest.
  ASSERT_TRUE(PumpUntil([&] { return second->IsOpen(); }, 3000));
  EXPECT_FALSE(first->IsOpen());
}

TEST_F(TDropDownDelayTest, ArmingACloseDropsAnotherWaitingClose)
{
  TTestDropDownMenu* first = nullptr;
  TTestDropDownMenu* second = nullptr;
  TdxBarButtonControl* a = ControlOf<TdxBarButtonControl>(NewMenuDropDown(L"First", first));
  TdxBarButtonControl* b = ControlOf<TdxBarButtonControl>(NewMenuDropDown(L"Second", second));
  a->ActivateControl(true);
  b->ActivateControl(true);
  a->Deactivate();
  b->Deactivate();
  EXPECT_FALSE(a->IsPendingClose());
  EXPECT_TRUE(b->IsPendingClose());
  ASSERT_TRUE(PumpUntil([&] { return !second->IsOpen(); }, 3000));
  EXPECT_TRUE(first->IsOpen()) << "a dropped close is not carried out";
}

TEST_F(TDropDownDelayTest, ControlFreedWhileWaitingIsNotReached)
{
  TTestDropDownMenu* menu = nullptr;
  TdxBarButton* button = NewMenuDropDown(L"Recent", menu);
  ControlOf<TdxBarButtonControl>(button)->Activate();
  button->GetLink(0)->DestroyControl();
  PumpFor(600);
  EXPECT_FALSE(menu->IsOpen());
}

TEST_F(TDropDownDelayTest, MenuFreedWhileWaitingToCloseIsNotReached)
{
  TTestDropDownMenu* menu = nullptr;
  TdxBarButton* button = NewMenuDropDown(L"Recent", menu);
  TdxBarButtonControl* control = ControlOf<TdxBarButtonControl>(button);
  control->ActivateControl(true);
  control->Deactivate();
  ASSERT_TRUE(control->IsPendingClose());
  TWeakRef<TdxBarButtonLikeControl> gone(control);
  MenuLinks.reset();
  ASSERT_EQ(gone.Get(), nullptr);
  EXPECT_FALSE(menu->IsOpen()) << "the freed control left its menu open";
  const int closes = menu->CloseCount;
  PumpFor(600);
  EXPECT_EQ(menu->CloseCount, closes) << "the waiting close reached its freed control";
}

TEST_F(TDropDownDelayTest, FreedOpenControlClosesItsMenu)
{
  TTestDropDownMenu* menu = nullptr;
  TdxBarButton* button = NewMenuDropDown(L"Recent", menu);
  ControlOf<TdxBarButtonControl>(button)->ActivateControl(true);
  ASSERT_TRUE(menu->IsOpen());
  button->GetLink(0)->DestroyControl();
  EXPECT_FALSE(menu->IsOpen());
}

TEST_F(TDropDownDelayTest, ToolbarDropDownWaitsForTheArrowOutsideKeyboardMode)
{
  auto* menu = new TTestDropDownMenu(Host.Form());
  TdxBarButton* button = NewButton(L"Drop", bsDropDown);
  button->SetDropDownMenu(menu);
  TdxBarButtonControl* control = ControlOf<TdxBarButtonControl>(button);
  control->Activate();
  EXPECT_FALSE(control->IsPendingOpen());
  PumpFor(500);
  EXPECT_FALSE(menu->IsOpen());
  // While customizing the toolbar's drop-down opens at once.
  control->Deactivate();
  Host.Manager->SetIsCustomizing(true);
  control = ControlOf<TdxBarButtonControl>(button);  // switching the mode remakes the bar's controls
  control->Activate();
  EXPECT_TRUE(menu->IsOpen());
  control->Deactivate();
  Host.Manager->SetIsCustomizing(false);
  EXPECT_FALSE(menu->IsOpen());
}

TEST_F(TDropDownDelayTest, KeysThatOpenADropDown)
{
  TTestDropDownMenu* menu = nullptr;
  TdxBarButtonControl* inMenu = ControlOf<TdxBarButtonControl>(NewMenuDropDown(L"Recent", menu));
  auto* barMenu = new TTestDropDownMenu(Host.Form());
  TdxBarButton* onBar = NewButton(L"Drop", bsDropDown);
  onBar->SetDropDownMenu(barMenu);
  TdxBarButtonControl* onBarControl = ControlOf<TdxBarButtonControl>(onBar);
  TdxBarButtonControl* plain = ControlOf<TdxBarButtonControl>(NewButton(L"Plain"));

  EXPECT_TRUE(inMenu->WantsKey(VK_RIGHT));
  EXPECT_FALSE(inMenu->WantsKey(VK_DOWN));
  EXPECT_TRUE(onBarControl->WantsKey(VK_DOWN));
  EXPECT_TRUE(onBarControl->WantsKey(VK_UP));
  EXPECT_FALSE(onBarControl->WantsKey(VK_RIGHT));
  EXPECT_FALSE(plain->WantsKey(VK_DOWN));

  EXPECT_FALSE(onBarControl->KeyDown(VK_RIGHT));
  EXPECT_TRUE(onBarControl->KeyDown(VK_DOWN));
  EXPECT_TRUE(barMenu->IsOpen());
  EXPECT_TRUE(inMenu->KeyDown(VK_RIGHT));
  EXPECT_TRUE(menu->IsOpen());
}

}  // namespace
