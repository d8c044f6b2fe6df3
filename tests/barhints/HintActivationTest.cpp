// A shown hint goes when its form loses the activation, though the pointer still rests on the
// button: the user has turned to another window, which the hint must not cover.
#include "HintTestUtil.h"

#include "support/Owned.h"
#include "support/Pump.h"

namespace {

// Far less than the plain hint's hide pause, so only the deactivation can hide it.
constexpr int DeactivationTimeout = 2000;

using THintActivationTest = THintFixture;

}  // namespace

TEST_F(THintActivationTest, HintHidesWhenItsFormLosesTheActivation)
{
  ShowForm(100, 100, 300, 120);
  TdxBar* bar = AddBar({L"Add", L"Remove"});
  TOwned<THintTestForm> other = ShowOtherForm();
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 1)));
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 0)));
  ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000));
  POINT rest{};
  ::GetCursorPos(&rest);

  ASSERT_TRUE(ActivateWindow(other->GetHandle()));
  EXPECT_TRUE(PumpUntil([] { return !dxBarIsHintShowing(); }, DeactivationTimeout));
  POINT now{};
  ::GetCursorPos(&now);
  EXPECT_TRUE(now.x == rest.x && now.y == rest.y) << "the pointer moved: another route could have hidden it";
  // Nor does a new one come while the pointer still rests on the inactive form's button.
  PumpFor(600);
  EXPECT_FALSE(dxBarIsHintShowing());
  EXPECT_FALSE(dxBarIsHintPending());
}

// A modal window (a dialog opened from the item, say) disables the form: the hint over it goes
// and no other comes until the form takes input again.
TEST_F(THintActivationTest, HintHidesWhileAModalWindowDisablesItsForm)
{
  ShowForm(100, 100, 300, 120);
  TdxBar* bar = AddBar({L"Add", L"Remove"});
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 1)));
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 0)));
  ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000));

  HWND form = Host.Form()->GetHandle();
  ::EnableWindow(form, FALSE);
  EXPECT_TRUE(PumpUntil([] { return !dxBarIsHintShowing(); }, DeactivationTimeout));
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 1)));
  PumpFor(1200);
  EXPECT_FALSE(dxBarIsHintShowing()) << "none while the form takes no input";
  ::EnableWindow(form, TRUE);
  // The disabled form saw none of the pointer's moves: a move over the other button is new.
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 0)));
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 1)));
  EXPECT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000)) << "and hints come back afterwards";
}
