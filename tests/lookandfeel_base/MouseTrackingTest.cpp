// Mouse-leave tracking with the real cursor: moves made with SendInput, the 10 ms timer
// left to notice them.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "lookandfeel/cxControls.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

const TRect Area{100, 100, 200, 180};
const POINT Inside{150, 140};
const POINT Outside{300, 300};

class TTracker final : public IcxMouseTrackingCaller {
public:
  ~TTracker() { EndMouseTracking(this); }
  void MouseLeave() override
  {
    ++Leaves;
    if (OnLeave)
      OnLeave();
  }
  int Leaves = 0;
  std::function<void()> OnLeave;
};

struct MouseTracking : testing::Test {
  void SetUp() override { ASSERT_TRUE(MoveMouseTo(Inside)); }
};

}  // namespace

TEST_F(MouseTracking, LeavingTheAreaIsReportedOnce)
{
  TTracker tracker;
  BeginMouseTracking(nullptr, Area, &tracker);
  EXPECT_TRUE(IsMouseTracking(&tracker));
  PumpFor(60);
  EXPECT_EQ(tracker.Leaves, 0) << "the cursor is still inside";
  ASSERT_TRUE(MoveMouseTo(POINT{Area.right - 1, Area.bottom - 1}));
  PumpFor(40);
  EXPECT_EQ(tracker.Leaves, 0) << "the last pixel row and column are inside";
  ASSERT_TRUE(MoveMouseTo(POINT{Area.right, Inside.y}));
  EXPECT_TRUE(PumpUntil([&] { return tracker.Leaves > 0; }, 2000)) << "the right edge is outside";
  EXPECT_FALSE(IsMouseTracking(&tracker));
  ASSERT_TRUE(MoveMouseTo(Inside));
  ASSERT_TRUE(MoveMouseTo(Outside));
  PumpFor(60);
  EXPECT_EQ(tracker.Leaves, 1) << "tracking ended with the first report";
}

TEST_F(MouseTracking, StartingAgainKeepsTheFirstTracking)
{
  TTracker tracker;
  BeginMouseTracking(nullptr, Area, &tracker);
  BeginMouseTracking(nullptr, TRect{400, 400, 500, 500}, &tracker);  // would report at once
  PumpFor(60);
  EXPECT_EQ(tracker.Leaves, 0);
  ASSERT_TRUE(MoveMouseTo(Outside));
  EXPECT_TRUE(PumpUntil([&] { return tracker.Leaves == 1; }, 2000));
  PumpFor(40);
  EXPECT_EQ(tracker.Leaves, 1);
}

TEST_F(MouseTracking, EndedTrackingReportsNothing)
{
  TTracker ended, kept;
  BeginMouseTracking(nullptr, Area, &ended);
  BeginMouseTracking(nullptr, Area, &kept);
  EndMouseTracking(&ended);
  EndMouseTracking(&ended);  // twice is harmless
  EndMouseTracking(nullptr);
  ASSERT_TRUE(MoveMouseTo(Outside));
  EXPECT_TRUE(PumpUntil([&] { return kept.Leaves == 1; }, 2000));
  EXPECT_EQ(ended.Leaves, 0);
}

TEST_F(MouseTracking, ATrackerMayFreeItselfInItsCallback)
{
  auto* selfFreeing = new TTracker;
  TTracker other;
  bool freed = false;
  selfFreeing->OnLeave = [&] {
    delete selfFreeing;  // its destructor ends the tracking again
    freed = true;
  };
  BeginMouseTracking(nullptr, Area, selfFreeing);
  BeginMouseTracking(nullptr, Area, &other);
  ASSERT_TRUE(MoveMouseTo(Outside));
  EXPECT_TRUE(PumpUntil([&] { return freed && other.Leaves == 1; }, 2000));
  EXPECT_FALSE(IsMouseTracking(&other));
}

TEST_F(MouseTracking, ACallbackMayEndAnotherTracking)
{
  TTracker first, second;
  first.OnLeave = [&] { EndMouseTracking(&second); };
  second.OnLeave = [&] { EndMouseTracking(&first); };
  BeginMouseTracking(nullptr, Area, &first);
  BeginMouseTracking(nullptr, Area, &second);
  ASSERT_TRUE(MoveMouseTo(Outside));
  EXPECT_TRUE(PumpUntil([&] { return first.Leaves + second.Leaves > 0; }, 2000));
  PumpFor(40);
  EXPECT_EQ(first.Leaves + second.Leaves, 1) << "the one ended in the other's callback is not told";
}

TEST_F(MouseTracking, TheControlGoingAwayEndsTheTracking)
{
  auto* control = new TWinControl(nullptr);
  TTracker tracker;
  BeginMouseTracking(control, Area, &tracker);
  PumpFor(40);
  EXPECT_EQ(tracker.Leaves, 0);
  control->Free();
  EXPECT_TRUE(PumpUntil([&] { return tracker.Leaves == 1; }, 2000)) << "reported although the cursor stayed inside";
}

TEST_F(MouseTracking, AThrowingCallbackIsReportedNotPropagated)
{
  TTracker tracker;
  tracker.OnLeave = [] { throw EInvalidOperation(L"thrown by a tracker"); };
  int reported = 0;
  TUnexpectedExceptionHandler previous = SetUnexpectedExceptionHandler([&](TObject*) { ++reported; });
  TFinally restore([&] { SetUnexpectedExceptionHandler(previous); });
  BeginMouseTracking(nullptr, Area, &tracker);
  ASSERT_TRUE(MoveMouseTo(Outside));
  EXPECT_TRUE(PumpUntil([&] { return reported == 1; }, 2000));
  EXPECT_EQ(tracker.Leaves, 1);
}
