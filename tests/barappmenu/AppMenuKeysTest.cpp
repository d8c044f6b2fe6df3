// The application menu under real keys and pointer: Down and Up run through the menu's
// links, the pane's (when it has more than one) and the row's, wrapping at both ends; Enter
// and a click on a row button or a pane entry run the command they show; the menu closes as
// any menu does.
#include "AppMenuTestUtil.h"

#include "bars/itemcontrols/itemcontrol.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

class TAppMenuKeys : public TAppMenuFixture {
protected:
  void Fill(int AItems, int APaneItems, std::initializer_list<const wchar_t*> AButtons)
  {
    TAppMenuFixture::Fill(AItems, APaneItems, AButtons);
    Menu->PaneWidth = 120;
  }
  // The caption of what the keyboard has selected, in whichever group it is.
  String Selected() const
  {
    TdxBarApplicationMenuControl* window = Menu->Window();
    if (!window)
      return L"(closed)";
    TdxBarItemLink* link = window->GetSelectedLink();
    if (window->GetSelectedGroup() == amgExtraPane)
      link = window->GetExtraPaneControl()->GetSelectedLink();
    TdxBarApplicationMenuButtonItem* rowItem =
        link ? dynamic_cast<TdxBarApplicationMenuButtonItem*>(link->GetItem()) : nullptr;
    if (rowItem)
      return L"row:" + rowItem->GetCaption();
    return link && link->GetItem() ? link->GetItem()->GetCaption() : String(L"(none)");
  }
  bool Closed()
  {
    return PumpUntil([&] { return Menu->Window() == nullptr; });
  }
  // A key to the open menu: the menu takes its release too, so this waits for what the key
  // selects instead.
  testing::AssertionResult Key(WORD AKey, const String& AExpected, std::initializer_list<WORD> AModifiers = {})
  {
    PressKey(AKey, AModifiers, 50);
    if (PumpUntil([&] { return Selected() == AExpected; }, 2000))
      return testing::AssertionSuccess();
    std::string got;
    for (wchar_t c : Selected())
      got += char(c);
    return testing::AssertionFailure() << "selected " << got;
  }
  void KeyAndGo(WORD AKey, std::initializer_list<WORD> AModifiers = {}) { PressKey(AKey, AModifiers, 50); }
};

TEST_F(TAppMenuKeys, DownAndUpRunThroughTheGroupsAndSkipAPaneOfOneEntry)
{
  Fill(3, 1, {L"Options", L"Exit"});
  ASSERT_TRUE(OpenByPointer());
  const wchar_t* down[] = {L"Item 0", L"Item 1", L"Item 2", L"row:Options", L"row:Exit", L"Item 0"};
  for (const wchar_t* expected : down)
    ASSERT_TRUE(Key(VK_DOWN, expected));
  EXPECT_TRUE(Key(VK_UP, L"row:Exit")) << "Up before the first link wraps to the last group's last";
  EXPECT_TRUE(Key(VK_LEFT, L"row:Options")) << "Left and Right move along the row";
  EXPECT_TRUE(Key(VK_UP, L"Item 2"));
  EXPECT_TRUE(Key(VK_TAB, L"row:Options"));
  EXPECT_TRUE(Key(VK_RIGHT, L"row:Exit"));
  KeyAndGo(VK_RETURN);
  EXPECT_TRUE(Closed()) << "a command run from the row closes the menu";
  EXPECT_EQ(Clicks[L"Exit"], 1);
  EXPECT_EQ(Clicks[L"Options"], 0);
}

TEST_F(TAppMenuKeys, APaneOfSeveralEntriesTakesItsTurnAndEnterRunsItsEntry)
{
  Fill(2, 3, {L"Exit"});
  ASSERT_TRUE(OpenByPointer());
  const wchar_t* down[] = {L"Item 0", L"Item 1", L"Recent 0", L"Recent 1", L"Recent 2", L"row:Exit", L"Item 0"};
  for (const wchar_t* expected : down)
    ASSERT_TRUE(Key(VK_DOWN, expected));
  EXPECT_TRUE(Key(VK_TAB, L"row:Exit", {VK_SHIFT}));
  EXPECT_TRUE(Key(VK_TAB, L"Recent 2", {VK_SHIFT}));
  EXPECT_EQ(Menu->Window()->GetSelectedLink(), nullptr) << "one selection at a time";
  EXPECT_TRUE(Key(VK_UP, L"Recent 1"));
  KeyAndGo(VK_RETURN);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(Clicks[L"Recent 1"], 1);
  EXPECT_EQ(Clicks[L"Recent 2"], 0);
}

TEST_F(TAppMenuKeys, PointerRunsRowButtonsAndPaneEntries)
{
  Fill(2, 2, {L"Options", L"Exit"});
  ASSERT_TRUE(OpenByPointer());
  TdxBarApplicationMenuControl* window = Menu->Window();
  TdxBarItemLink* exitLink = window->GetButtonLinks()->Items(1);
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(window, exitLink->GetItemRect())));
  EXPECT_TRUE(PumpUntil([&] { return window->GetSelectedLink() == exitLink; })) << "the pointer selects in the row";
  ASSERT_TRUE(ClickAt(ScreenCentreOf(window, exitLink->GetItemRect())));
  EXPECT_TRUE(Closed());
  EXPECT_EQ(Clicks[L"Exit"], 1);

  ASSERT_TRUE(OpenByPointer());
  TdxBarExtraPaneControl* pane = Menu->Window()->GetExtraPaneControl();
  ASSERT_NE(pane, nullptr);
  TdxBarItemLink* recent = pane->GetItemLinks()->Items(1);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(pane, recent->GetItemRect())));
  EXPECT_TRUE(Closed());
  EXPECT_EQ(Clicks[L"Recent 1"], 1);
}

TEST_F(TAppMenuKeys, ClosesAsAnyMenuDoes)
{
  Fill(2, 2, {L"Exit"});
  ASSERT_TRUE(OpenByPointer());
  KeyAndGo(VK_ESCAPE);
  EXPECT_TRUE(Closed()) << "Esc";
  ASSERT_TRUE(OpenByPointer());
  RECT form{};
  ::GetWindowRect(Host.Form()->GetHandle(), &form);
  ASSERT_TRUE(ClickAt(POINT{form.right - 40, form.bottom - 40}));
  EXPECT_TRUE(Closed()) << "a click outside";
  ASSERT_TRUE(OpenByPointer());
  KeyAndGo(VK_MENU);
  EXPECT_TRUE(Closed()) << "Alt";
  // Its pane bar goes with it: nothing is left among the manager's bars.
  for (int i = 0; i < Manager->GetBars()->GetCount(); ++i)
    EXPECT_FALSE(Manager->GetBars()->GetItem(i)->GetHidden()) << "a pane bar outlived its menu";
  EXPECT_EQ(Clicks.size(), 0u) << "no route ran a command";
}

// The routes the test above leaves: a command of the menu's own links, by pointer and by
// key, and another form taking the activation.
TEST_F(TAppMenuKeys, ClosesWhenItsLinksRunACommandAndWhenTheFormIsDeactivated)
{
  Fill(2, 2, {L"Exit"});
  ASSERT_TRUE(OpenByPointer());
  TdxBarApplicationMenuControl* window = Menu->Window();
  ASSERT_TRUE(ClickAt(ScreenCentreOf(window, Menu->GetItemLinks()->Items(1)->GetItemRect())));
  EXPECT_TRUE(Closed()) << "a link's command by pointer";
  EXPECT_EQ(Clicks[L"Item 1"], 1);

  ASSERT_TRUE(OpenByPointer());
  ASSERT_TRUE(Key(VK_DOWN, L"Item 0"));
  KeyAndGo(VK_RETURN);
  EXPECT_TRUE(Closed()) << "a link's command by key";
  EXPECT_EQ(Clicks[L"Item 0"], 1);

  TBarHost<TAppMenuTestForm> other;
  other.Form()->SetBounds(300, 200, 200, 150);
  other.Form()->Show();
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  ASSERT_TRUE(OpenByPointer());
  TWeakRef<TdxBarExtraPaneControl> pane(Menu->Window()->GetExtraPaneControl());
  ASSERT_TRUE(pane);
  ASSERT_TRUE(ActivateWindow(other.Form()->GetHandle()));
  EXPECT_TRUE(Closed()) << "the form deactivated";
  EXPECT_FALSE(pane) << "the pane went with its menu";
  EXPECT_EQ(Clicks.size(), 2u) << "no route but the two commands ran one";
}

}  // namespace
