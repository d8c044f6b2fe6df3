// The open menu under the real pointer and keys: a press dragged over the entries and
// released on one, and hints that must not cover an entry the keyboard selected.
#include "MenuTestUtil.h"

#include "bars/hintwindow.h"
#include "bars/itemcontrol.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TMenuPointer = TMenuFixture;

TEST_F(TMenuPointer, PressDragAndReleaseOnAnotherEntryClicksThatEntryOnce)
{
  ShowForm();
  FillMenu(MenuHost, 6);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(MoveMouseTo(CenterOf(ItemOf(menu, 1))));
  ASSERT_TRUE(MouseButtonDown());
  PumpPending();
  EXPECT_EQ(menu->GetSelectedControl(), ItemOf(menu, 1));
  for (int i : {2, 4}) {
    ASSERT_TRUE(MoveMouseTo(CenterOf(ItemOf(menu, i))));
    PumpPending();
    EXPECT_EQ(menu->GetSelectedControl(), ItemOf(menu, i)) << "the highlight follows the pointer";
  }
  ASSERT_TRUE(MouseButtonUp());
  PumpPending();
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);

  // Pressed and released on the same entry: one click as well.
  menu = Open();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(ClickAt(CenterOf(ItemOf(menu, 3))));
  PumpPending();
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 0, 1, 1, 0}));
  EXPECT_EQ(MenuHost->Menu(), nullptr);
}

TEST_F(TMenuPointer, AnEntrySelectedByKeyShowsNoHintOverTheMenu)
{
  ShowForm();
  FillMenu(MenuHost, 5);
  for (int i = 0; i < 5; ++i)
    MenuHost->Links()->Items(i)->GetItem()->SetHint(L"Does thing " + IntToStr(i));
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  // The pointer rests on an entry until its hint shows.
  ASSERT_TRUE(MoveMouseTo(CenterOf(ItemOf(menu, 1))));
  ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 5000));
  // A real key: the open menu takes it through the thread's keyboard hook.
  SendKeyTransition(VK_DOWN, true);
  SendKeyTransition(VK_DOWN, false);
  ASSERT_TRUE(PumpUntil([] { return (HIWORD(GetQueueStatus(QS_KEY)) & QS_KEY) == 0; }, 2000));
  PumpPending();
  ASSERT_EQ(menu->GetSelectedControl(), ItemOf(menu, 2));
  // Long enough for a hint that would show at once after the one just hidden.
  PumpFor(300);
  EXPECT_FALSE(dxBarIsHintShowing()) << "a hint at the mouse would cover the entries";
  EXPECT_FALSE(dxBarIsHintPending());

  // The pointer moved onto an entry shows its hint again.
  ASSERT_TRUE(MoveMouseTo(CenterOf(ItemOf(menu, 4))));
  EXPECT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 5000));
  MoveAway();
}

}  // namespace
