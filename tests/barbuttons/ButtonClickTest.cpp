// The click road of button controls: the face part, an open menu, check buttons, the
// shortcut toggle, shortcuts of commands in the drop-down menu, and recursive menus.
#include "ButtonTestUtil.h"

#include "bars/utils/dxBarStrs.h"

namespace {

class TButtonClickTest : public TButtonFixture {
protected:
  // A drop-down button at a known place on the toolbar, with a menu holding one command.
  TdxBarButton* NewDropDownButton(TdxBarButtonStyle AStyle)
  {
    DropMenu = new TTestDropDownMenu(Host.Form());
    Command = new TdxBarButton(Host.Form());
    Command->SetCaption(L"Command");
    DropMenu->AddItem(Command);
    TdxBarButton* button = NewButton(L"Drop", AStyle);
    button->SetDropDownMenu(DropMenu);
    button->GetLink(0)->SetItemRect(TRect{10, 0, 70, 22});
    button->SetOnClick(TNotifyEvent([this](TObject*) { ++Clicks; }));
    return button;
  }
  TPoint ArrowPoint(TdxBarButtonControl* AControl) const
  {
    const TRect& arrow = AControl->GetPartRects().at(dxBarButtonPartArrow);
    return TPoint{(arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2};
  }

  TTestDropDownMenu* DropMenu = nullptr;
  TdxBarButton* Command = nullptr;
  int Clicks = 0;
};

TEST_F(TButtonClickTest, FacePressTogglesDownAndClicksOnce)
{
  TdxBarButton* button = NewDropDownButton(bsCheckedDropDown);
  TdxBarButtonControl* control = ControlOf<TdxBarButtonControl>(button);
  control->CalcParts();
  control->MouseMove(TPoint{15, 10});
  ASSERT_EQ(control->GetHotPartIndex(), dxBarButtonPartFace);
  control->MouseDown(TPoint{15, 10});
  EXPECT_FALSE(DropMenu->IsOpen());
  control->Click();
  EXPECT_EQ(Clicks, 1);
  EXPECT_TRUE(button->GetDown());
}

TEST_F(TButtonClickTest, ClickOfAnOpenButtonClosesItsMenu)
{
  TdxBarButton* button = NewDropDownButton(bsDropDown);
  TdxBarButtonControl* control = ControlOf<TdxBarButtonControl>(button);
  button->DropDown(false);
  ASSERT_TRUE(DropMenu->IsOpen());
  // Opened by keyboard: the bar is marked for the menu, which selects its first command.
  EXPECT_TRUE(DropMenu->LastShownByKeyboard);
  EXPECT_FALSE(Toolbar->IsMenuShownByKeyboard()) << "the mark lasts only while the menu opens";
  control->MouseMove(TPoint{15, 10});
  control->Click();
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(DropMenu->IsOpen());
}

TEST_F(TButtonClickTest, CheckButtonTogglesBeforeItsHandlerRuns)
{
  TdxBarButton* button = NewButton(L"Check", bsChecked);
  std::vector<bool> seen;
  button->SetOnClick(TNotifyEvent([&](TObject*) { seen.push_back(button->GetDown()); }));
  ControlOf<TdxBarButtonControl>(button)->Click();
  ControlOf<TdxBarButtonControl>(button)->Click();
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST_F(TButtonClickTest, ShortCutTogglesDownBeforeTheClick)
{
  TdxBarButton* button = NewButton(L"Check", bsChecked);
  button->SetShortCut(TShortCut(0x4000 | 'B'));
  std::vector<bool> seen;
  button->SetOnClick(TNotifyEvent([&](TObject*) { seen.push_back(button->GetDown()); }));
  EXPECT_TRUE(button->IsShortCut(TShortCut(0x4000 | 'B')));
  EXPECT_FALSE(button->IsShortCut(TShortCut(0x4000 | 'C')));
  EXPECT_EQ(seen, (std::vector<bool>{true}));
  button->SetEnabled(false);
  EXPECT_FALSE(button->IsShortCut(TShortCut(0x4000 | 'B')));
  EXPECT_EQ(seen.size(), 1u);
}

TEST_F(TButtonClickTest, ShortCutReachesTheDropDownMenusCommands)
{
  TdxBarButton* button = NewDropDownButton(bsDropDown);
  int commandClicks = 0;
  Command->SetShortCut(TShortCut(0x4000 | 'K'));
  Command->SetOnClick(TNotifyEvent([&](TObject*) { ++commandClicks; }));
  EXPECT_EQ(button->GetItemLinks(), DropMenu->GetDropDownItemLinks());
  EXPECT_TRUE(button->IsShortCut(TShortCut(0x4000 | 'K')));
  EXPECT_EQ(commandClicks, 1);
  EXPECT_EQ(Clicks, 0);
}

TEST_F(TButtonClickTest, CloseMenusOnClickFollowsTheItemInMenus)
{
  TdxBarButton* inMenu = NewButton(L"Menu command", bsDefault, MenuLinks.get());
  TdxBarButton* onBar = NewButton(L"Bar command");
  inMenu->SetCloseSubMenuOnClick(false);
  onBar->SetCloseSubMenuOnClick(false);
  EXPECT_FALSE(ControlOf<TdxBarButtonControl>(inMenu)->CloseMenusOnClick());
  EXPECT_TRUE(ControlOf<TdxBarButtonControl>(onBar)->CloseMenusOnClick());
  EXPECT_TRUE(ControlOf<TdxBarButtonControl>(onBar)->IsButtonControl());
}

// ---------------------------------------------------------------------------
// Drop-down menus as components

class TDropDownMenuTest : public TButtonFixture {};

TEST_F(TDropDownMenuTest, MenuHoldingTheButtonIsRefused)
{
  auto* menu = new TTestDropDownMenu(Host.Form());
  auto* other = new TTestDropDownMenu(Host.Form());
  TdxBarButton* button = NewButton(L"Drop", bsDropDown);
  button->SetDropDownMenu(other);
  menu->AddItem(button);
  try {
    button->SetDropDownMenu(menu);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"You cannot create recursive menus");
  }
  EXPECT_EQ(button->GetDropDownMenu(), other);
}

TEST_F(TDropDownMenuTest, MenuReachingTheButtonThroughAnotherButtonIsRefused)
{
  auto* outer = new TTestDropDownMenu(Host.Form());
  auto* inner = new TTestDropDownMenu(Host.Form());
  TdxBarButton* button = NewButton(L"Drop", bsDropDown);
  auto* middle = new TdxBarButton(Host.Form());
  middle->SetDropDownMenu(inner);
  inner->AddItem(button);
  outer->AddItem(middle);
  EXPECT_THROW(button->SetDropDownMenu(outer), Exception);
  EXPECT_EQ(button->GetDropDownMenu(), nullptr);
  // A menu that does not reach it is fine.
  auto* plain = new TTestDropDownMenu(Host.Form());
  button->SetDropDownMenu(plain);
  EXPECT_EQ(button->GetDropDownMenu(), plain);
}

TEST_F(TDropDownMenuTest, ComponentThatIsNoMenuIsRefused)
{
  TdxBarButton* button = NewButton(L"Drop", bsDropDown);
  auto* other = new TdxBarButton(Host.Form());
  EXPECT_THROW(button->SetDropDownMenu(other), EInvalidOperation);
  EXPECT_EQ(button->GetDropDownMenu(), nullptr);
}

TEST_F(TDropDownMenuTest, FreedMenuLeavesTheButton)
{
  TdxBarButton* button = NewButton(L"Drop", bsDropDown);
  auto* menu = new TTestDropDownMenu(Host.Form());
  button->SetDropDownMenu(menu);
  button->DropDown();
  ASSERT_TRUE(ControlOf<TdxBarButtonControl>(button)->IsDroppedDown());
  menu->Free();
  EXPECT_EQ(button->GetDropDownMenu(), nullptr);
  EXPECT_EQ(button->GetItemLinks(), nullptr);
  EXPECT_FALSE(ControlOf<TdxBarButtonControl>(button)->IsDroppedDown());
}

}  // namespace
