// The mouse on a bar window, with real input: the window never takes activation, a press
// and a release on different items click nothing, a handler may free the window, the customizing
// drag waits for the system's drag distance, and mouse input outside the active chain is
// dropped.
#include "BarWindowTestUtil.h"
#include "platform/Scope.h"

#include "platform/Win.h"
#include "support/Input.h"

namespace {

class TMouseTest : public TBarWindowFixture {
protected:
  void SetUp() override
  {
    TBarWindowFixture::SetUp();
    A = AddLink(NewItem(L"A", clRed));
    B = AddLink(NewItem(L"B", clBlue));
    for (TdxBarItemLink* link : {A, B})
      link->GetItem()->SetOnClick(TNotifyEvent([this, link](TObject*) { Clicks.push_back(link); }));
    ShowBar();
    ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  }
  void TearDown() override
  {
    MouseButtonUp();
    MoveMouseTo(POINT{10, 10});
    TBarWindowFixture::TearDown();
  }
  TdxBarItemLink* A = nullptr;
  TdxBarItemLink* B = nullptr;
  std::vector<TdxBarItemLink*> Clicks;
};

TEST_F(TMouseTest, ClickNeverActivatesTheBarAndTheFormCaptionStaysActive)
{
  HWND form = Host.Form()->GetHandle();
  std::vector<WPARAM> ncActivates;
  TWndMethod old = Host.Form()->GetWindowProc();
  Host.Form()->SetWindowProc(TWndMethod([&, old](TMessage& Message) {
    if (Message.Msg == WM_NCACTIVATE)
      ncActivates.push_back(Message.WParam);
    old(Message);
  }));
  {
    TFinally restore([&] { Host.Form()->SetWindowProc(old); });
    ASSERT_TRUE(ClickAt(ScreenCentreOf(A)));
    PumpPending();
  }
  EXPECT_EQ(::GetActiveWindow(), form);
  EXPECT_EQ(::GetForegroundWindow(), form);
  EXPECT_NE(::GetFocus(), Bar->GetHandle());
  for (WPARAM w : ncActivates)
    EXPECT_NE(w, 0u) << "the form's caption was drawn inactive";
  EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(TMouseTest, PressOnOneReleaseOnAnotherClicksNothing)
{
  int closes = Bar->DoCloseCalls;
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(A)));
  ASSERT_TRUE(MouseButtonDown());
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(B)));
  // The pressed item keeps the selection while the button is down.
  EXPECT_EQ(SelectedLink(), A);
  ASSERT_TRUE(MouseButtonUp());
  PumpPending();
  EXPECT_TRUE(Clicks.empty());
  EXPECT_GT(Bar->DoCloseCalls, closes);
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(TMouseTest, DisabledItemIsNotLitByTheMouseAndDoesNotClick)
{
  A->GetItem()->SetEnabled(false);
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(A)));
  ASSERT_TRUE(PumpUntil([&] { return SelectedLink() == A; }, 2000));
  EXPECT_FALSE(A->GetControl()->GetSelected()) << "a disabled item lights up under the mouse";
  // Chosen by the keyboard it shows where the selection is.
  Bar->ActivateWithControl(B->GetControl());
  Bar->SelectItemControl(A->GetControl());
  EXPECT_TRUE(A->GetControl()->GetSelected());
  Bar->Deactivate();
  ASSERT_TRUE(ClickAt(ScreenCentreOf(A)));
  PumpPending();
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(TMouseTest, HandlerThatFreesTheWindowDuringItsClick)
{
  TWeakRef<TCustomdxBarControl> bar(Bar);
  A->GetItem()->SetOnClick(TNotifyEvent([this](TObject*) {
    Links->DestroyBarControl();
    Bar = nullptr;
  }));
  ASSERT_TRUE(ClickAt(ScreenCentreOf(A)));
  PumpPending();
  EXPECT_FALSE(bar.Alive());
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_TRUE(TRowBarControl::QuarantineIntact()) << "the freed window was written to";
}

TEST_F(TMouseTest, HoverSelectsAndLeavingClearsTheSelection)
{
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(B)));
  PumpPending();
  EXPECT_EQ(SelectedLink(), B);
  ASSERT_TRUE(MoveMouseTo(POINT{BarLeft - 60, BarTop - 60}));
  EXPECT_TRUE(PumpUntil([&] { return SelectedLink() == nullptr; }, 2000));
}

TEST_F(TMouseTest, MouseOutsideTheActiveChainIsDropped)
{
  TOwned<TRowBarControl> other(dynamic_cast<TRowBarControl*>(TRowBarControl::StaticClass()->Create(Host.Manager)));
  other->ActivateWithControl(nullptr);
  ASSERT_EQ(ActiveBarControl(), other.Get());
  EXPECT_FALSE(Bar->IsInActiveChain());
  TPoint p = CenterPoint(A->GetItemRect());
  ::SendMessageW(Bar->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  ::SendMessageW(Bar->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  EXPECT_EQ(SelectedLink(), nullptr);
  EXPECT_TRUE(Clicks.empty());
  other->Deactivate();
}

TEST_F(TMouseTest, IgnoredButtonUpIsDroppedOnce)
{
  Bar->SetIgnoreMouseUp(true);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(A)));
  PumpPending();
  EXPECT_TRUE(Clicks.empty());
  EXPECT_FALSE(Bar->GetIgnoreMouseUp());
  ASSERT_TRUE(ClickAt(ScreenCentreOf(A)));
  PumpPending();
  EXPECT_EQ(Clicks.size(), 1u);
}

// ---------------------------------------------------------------------------
// The customizing drag

class TDragTest : public TMouseTest {
protected:
  void SetUp() override
  {
    TMouseTest::SetUp();
    Host.Manager->SetIsCustomizing(true);
  }
  void TearDown() override
  {
    Host.Manager->SetIsCustomizing(false);
    TMouseTest::TearDown();
  }
};

TEST_F(TDragTest, DragStartsOnlyPastTheSystemDragDistance)
{
  POINT start = ScreenCentreOf(A);
  ASSERT_TRUE(MoveMouseTo(start));
  ASSERT_TRUE(MouseButtonDown());
  EXPECT_EQ(Host.Manager->CustomizingSelected, A);
  ASSERT_TRUE(Bar->IsDragStarting());
  EXPECT_EQ(Host.Manager->GetPendingDragItemLink(), A);
  EXPECT_EQ(Host.Manager->GetPendingDragBarControl(), Bar);
  EXPECT_EQ(::GetCapture(), Bar->GetHandle());

  // Inside the drag rectangle the drag stays pending.
  const int cx = ::GetSystemMetrics(SM_CXDRAG), cy = ::GetSystemMetrics(SM_CYDRAG);
  ASSERT_TRUE(MoveMouseTo(POINT{start.x + (cx - 1) / 2, start.y + (cy - 1) / 2}));
  PumpPending();
  EXPECT_TRUE(Bar->IsDragStarting());
  EXPECT_EQ(Host.Manager->DragStarts, 0);

  ASSERT_TRUE(MoveMouseTo(POINT{start.x + cx + 6, start.y}));
  PumpPending();
  EXPECT_FALSE(Bar->IsDragStarting());
  EXPECT_EQ(Host.Manager->DragStarts, 1);
  EXPECT_EQ(Host.Manager->DraggedLink, A);
  EXPECT_NE(::GetCapture(), Bar->GetHandle());
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(TDragTest, LosingTheCaptureClearsThePendingDrag)
{
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(B)));
  ASSERT_TRUE(MouseButtonDown());
  ASSERT_TRUE(Bar->IsDragStarting());
  ::ReleaseCapture();
  PumpPending();
  EXPECT_FALSE(Bar->IsDragStarting());
  EXPECT_EQ(Host.Manager->GetPendingDragItemLink(), nullptr);
  EXPECT_EQ(Host.Manager->GetPendingDragBarControl(), nullptr);
  ASSERT_TRUE(MoveMouseTo(POINT{ScreenCentreOf(B).x + 20, ScreenCentreOf(B).y}));
  PumpPending();
  EXPECT_EQ(Host.Manager->DragStarts, 0);
}

TEST_F(TDragTest, ReleaseBeforeTheDistanceEndsThePressWithoutAClick)
{
  ASSERT_TRUE(ClickAt(ScreenCentreOf(A)));
  PumpPending();
  EXPECT_FALSE(Bar->IsDragStarting());
  EXPECT_EQ(Host.Manager->DragStarts, 0);
  EXPECT_TRUE(Clicks.empty()) << "customizing never runs items";
}

}  // namespace
