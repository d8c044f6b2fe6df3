// Hints under the real pointer: the pause before the first hint, the next one at once,
// hiding when the pointer leaves or clicks, and the window kept on the work area at the
// screen's edges.
#include "HintTestUtil.h"

#include <functional>

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

// Every key and button press of the thread hides the hint; the pointer resting on the same
// button brings no new one.
TEST_F(THintPointerTest, KeysAndClicksHideTheHint)
{
  ShowForm();
  TdxBar* bar = AddBar({L"Add", L"Remove"});
  const struct {
    const char* Name;
    std::function<bool()> Input;
  } inputs[] = {
      {"a key", [] { return PressKey(VK_SHIFT); }},
      {"a click on the button", [bar] { return ClickAt(LinkCentre(bar, 0)); }},
      {"a right click on the form",
       [this] {
         RECT r{};
         GetWindowRect(Host.Form()->GetHandle(), &r);
         return ClickAt(POINT{(r.left + r.right) / 2, r.bottom - 20}, TInputButton::Right);
       }},
  };
  for (const auto& k : inputs) {
    ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 1))) << k.Name;
    ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 0))) << k.Name;
    ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000)) << k.Name;
    ASSERT_TRUE(k.Input()) << k.Name;
    // What the bar does after the click (its hot-tracking move) brings no new hint either.
    PumpFor(300);
    EXPECT_FALSE(dxBarIsHintShowing()) << k.Name;
    EXPECT_FALSE(dxBarIsHintPending()) << k.Name;
  }
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

// A hint the manager is given only as a text (a menu's strips have no item of their own)
// shows at the pointer after the pause, and goes when the pointer moves to another window.
TEST_F(THintPointerTest, HintWithATextAndNoItemShowsAtThePointer)
{
  ShowForm();
  AddBar({L"Add"});
  RECT form{};
  GetWindowRect(Host.Form()->GetHandle(), &form);
  const POINT rest{(form.left + form.right) / 2, form.bottom - 40};
  ASSERT_TRUE(MoveMouseTo(rest));
  PumpUntil([] { return !dxBarIsHintRecentlyHidden(); }, 2000);
  Manager->ActivateHint(true, L"Drag to make this menu float", nullptr);
  EXPECT_TRUE(dxBarIsHintPending());
  ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000));
  EXPECT_EQ(HintText(), L"Drag to make this menu float");
  EXPECT_EQ(HintRect().left, rest.x);
  EXPECT_EQ(HintRect().top, rest.y);
  // Resting where it showed keeps it.
  PumpFor(300);
  EXPECT_TRUE(dxBarIsHintShowing());
  ASSERT_TRUE(MoveMouseTo(POINT{form.left - 30, rest.y}));
  EXPECT_TRUE(PumpUntil([] { return !dxBarIsHintShowing(); }, 2000));
}

// A caption button shows its hint while hot; a neighbour turning normal after another
// turned hot leaves that one's hint alone.
TEST_F(THintPointerTest, HotCaptionButtonShowsItsHint)
{
  ShowForm();
  TdxBar* bar = AddBar({L"Add"});
  TdxBarCaptionButtons* buttons = bar->GetCaptionButtons();
  TdxBarCaptionButton* pin = buttons->Add();
  pin->SetHint(L"Pin the bar");
  TdxBarCaptionButton* close = buttons->Add();
  close->SetHint(L"Close the bar");
  pin->SetRect(TRect{0, 0, 10, 10});
  close->SetRect(TRect{10, 0, 20, 10});
  const struct {
    TPoint P;
    TdxBarCaptionButton* Expected;
  } steps[] = {{{5, 5}, pin}, {{15, 5}, close}, {{5, 5}, pin}, {{50, 50}, nullptr}};
  for (const auto& k : steps) {
    buttons->UpdateButtonStates(k.P, false);
    if (!k.Expected) {
      EXPECT_FALSE(dxBarIsHintShowing());
      EXPECT_FALSE(dxBarIsHintPending());
      continue;
    }
    EXPECT_TRUE(dxBarIsHintFrom(k.Expected)) << k.P.x;
    ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000)) << k.P.x;
    EXPECT_EQ(HintText(), k.Expected->GetHintText());
  }
}
