// A shown hint goes with what it explains: its bar hidden, freed or floated, its form
// minimised, its manager freed, or the pointer gone to another window. Each route is
// checked well inside the hint's own hide pause.
#include "HintTestUtil.h"

#include <functional>
#include <utility>

#include "support/Pump.h"

namespace {

// Far less than the plain hint's hide pause, so only the route itself can hide it.
constexpr int RouteTimeout = 2000;

class THintLifetimeTest : public THintFixture {
protected:
  bool ShowHintOf(TdxBar* ABar)
  {
    return MoveMouseTo(LinkCentre(ABar, 1)) && MoveMouseTo(LinkCentre(ABar, 0)) &&
           PumpUntil([] { return dxBarIsHintShowing(); }, 4000);
  }
};

}  // namespace

TEST_F(THintLifetimeTest, HintHidesWithItsBar)
{
  ShowForm();
  const struct {
    const char* Name;
    std::function<void(TdxBar*)> Act;
  } routes[] = {
      {"hidden", [](TdxBar* bar) { bar->SetVisible(false); }},
      {"freed", [](TdxBar* bar) { bar->Free(); }},
      {"floated by code", [](TdxBar* bar) { bar->SetDockingStyle(dsNone); }},
  };
  for (const auto& k : routes) {
    TdxBar* bar = AddBar({L"Add", L"Remove"});
    ASSERT_TRUE(ShowHintOf(bar)) << k.Name;
    ASSERT_EQ(HintText(), L"Add hint") << k.Name;
    k.Act(bar);
    EXPECT_TRUE(PumpUntil([] { return !dxBarIsHintShowing(); }, RouteTimeout)) << k.Name;
    // The pointer still rests where the button was: no hint of a bar that is gone comes back.
    PumpFor(300);
    EXPECT_FALSE(dxBarIsHintShowing() && HintText() == L"Add hint") << k.Name;
    dxBarCancelHint();
    MoveMouseTo(POINT{5, 5});
    for (int i = Manager->GetBars()->GetCount() - 1; i >= 0; --i)
      Manager->GetBars()->GetItem(i)->Free();
  }
}

TEST_F(THintLifetimeTest, MinimisingTheFormHidesTheHintAtOnce)
{
  ShowForm();
  TdxBar* bar = AddBar({L"Add", L"Remove"});
  ASSERT_TRUE(ShowHintOf(bar));
  ShowWindow(Host.Form()->GetHandle(), SW_MINIMIZE);
  EXPECT_FALSE(dxBarIsHintShowing());
  ShowWindow(Host.Form()->GetHandle(), SW_RESTORE);
}

TEST_F(THintLifetimeTest, FreeingTheManagerHidesItsHintAndStopsItsTimers)
{
  TOwned<THintTestForm> form(TCustomForm::CreateNew<THintTestForm>(nullptr));
  form->SetBounds(100, 350, 300, 120);
  form->Show();
  ASSERT_TRUE(ActivateWindow(form->GetHandle()));
  auto addManager = [&form] {
    auto* manager = new TdxBarManager(form.Get());
    TdxBar* bar = manager->GetBars()->Add();
    auto* button = new TdxBarButton(form.Get());
    button->SetCaption(L"Other");
    button->SetHint(L"Other hint");
    bar->GetItemLinks()->AddItem(button);
    bar->SetVisible(true);
    PumpPending();
    return std::make_pair(manager, LinkCentre(bar, 0));
  };

  auto [shown, shownAt] = addManager();
  ASSERT_TRUE(MoveMouseTo(shownAt));
  ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000));
  shown->Free();
  EXPECT_FALSE(dxBarIsHintShowing());

  // A hint still waiting for its pause is dropped too.
  MoveMouseTo(POINT{5, 5});
  dxBarResetHintTiming();
  auto [waiting, waitingAt] = addManager();
  ASSERT_TRUE(MoveMouseTo(waitingAt));
  ASSERT_TRUE(dxBarIsHintPending());
  waiting->Free();
  EXPECT_FALSE(dxBarIsHintPending());
  PumpFor(1500);
  EXPECT_FALSE(dxBarIsHintShowing());
}

// The pointer moved off the bar onto another window: the hint goes even when the bar is
// told nothing (the form inactive, the window another top-level one).
TEST_F(THintLifetimeTest, PointerGoneToAnotherWindowHidesTheHint)
{
  ShowForm(100, 100, 300, 120);
  TdxBar* bar = AddBar({L"Add", L"Remove"});
  TOwned<THintTestForm> other = ShowOtherForm();
  ASSERT_TRUE(ActivateWindow(other->GetHandle()));
  ASSERT_TRUE(ShowHintOf(bar));
  ASSERT_TRUE(MoveMouseTo(POINT{600, 200}));
  EXPECT_TRUE(PumpUntil([] { return !dxBarIsHintShowing(); }, RouteTimeout));
}
