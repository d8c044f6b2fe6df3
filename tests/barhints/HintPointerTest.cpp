// Hints under the real pointer: the pause before the first hint, the next one at once,
// hiding when the pointer leaves or clicks, and the window kept on the work area at the
// screen's edges.
#include "HintTestUtil.h"

#include "lookandfeel/cxControls.h"
#include "support/Pump.h"

namespace {

class THintPointerTest : public THintFixture {};

}  // namespace

TEST_F(THintPointerTest, RestingShowsAfterThePauseAndTheNextHintAtOnce)
{
  ShowForm();
  TdxBar* bar = AddBar({L"Add", L"Remove", L"Start"});
  MoveMouseTo(POINT{20, 20});
  PumpUntil([] { return !dxBarIsHintRecentlyHidden(); }, 2000);

  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 0)));
  // Waiting for the pause first.
  EXPECT_TRUE(dxBarIsHintPending());
  EXPECT_FALSE(dxBarIsHintShowing());
  ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000));
  EXPECT_EQ(HintText(), L"Add hint");
  const TRect first = HintRect();
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(first.top, cursor.y + 20);

  // The next button's hint shows without a pause.
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 1)));
  EXPECT_TRUE(dxBarIsHintShowing());
  EXPECT_FALSE(dxBarIsHintPending());
  EXPECT_EQ(HintText(), L"Remove hint");

  // Leaving the bar hides it.
  ASSERT_TRUE(MoveMouseTo(POINT{cursor.x, cursor.y + 120}));
  EXPECT_TRUE(PumpUntil([] { return !dxBarIsHintShowing(); }, 2000));
  EXPECT_FALSE(dxBarIsHintPending());
}

TEST_F(THintPointerTest, RulesOfTheManagerHideOrKeepTheHint)
{
  ShowForm();
  TdxBar* bar = AddBar({L"Add", L"Remove"});
  auto* remove = static_cast<TdxBarButton*>(bar->GetItemLinks()->Items(1)->GetItem());
  remove->SetEnabled(false);
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 0)));
  ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000));

  // A disabled item shows its hint only when the manager shows hints of disabled items.
  Manager->SetShowHintForDisabledItems(false);
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 1)));
  EXPECT_FALSE(dxBarIsHintPending());
  EXPECT_FALSE(dxBarIsHintShowing());
  Manager->SetShowHintForDisabledItems(true);
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 0)));
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 1)));
  EXPECT_TRUE(PumpUntil([] { return dxBarIsHintShowing() && HintText() == L"Remove hint"; }, 4000));

  // Without ShowHint nothing shows.
  dxBarCancelHint();
  Manager->SetShowHint(false);
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 0)));
  EXPECT_FALSE(dxBarIsHintPending());
  EXPECT_FALSE(dxBarIsHintShowing());
}

TEST_F(THintPointerTest, HintNeverLeavesTheWorkArea)
{
  TRect area = GetMonitorWorkAreaAtPoint(TPoint{10, 10});
  // A long hint on the form's last button at the right and bottom edges.
  const struct {
    int Left, Top;
  } places[] = {
      {area.right - 200, area.top + 100}, {area.left + 100, area.bottom - 60}, {area.right - 200, area.bottom - 60}};
  for (const auto& k : places) {
    ShowForm(k.Left, k.Top, 200, 60);
    TdxBar* bar = AddBar({L"Add", L"Start"});
    bar->GetItemLinks()->Items(1)->GetItem()->SetHint(L"Starts converting every song of the list");
    ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 1)));
    ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000)) << k.Left << ", " << k.Top;
    TRect hint = HintRect();
    EXPECT_TRUE(hint.left >= area.left && hint.top >= area.top && hint.right <= area.right &&
                hint.bottom <= area.bottom)
        << k.Left << ", " << k.Top << ": " << hint.left << ", " << hint.top << ", " << hint.right << ", "
        << hint.bottom;
    MoveMouseTo(POINT{area.left + 5, area.top + 5});
    bar->Free();
    dxBarCancelHint();
  }
}
