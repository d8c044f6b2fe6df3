// Dragging buttons between and along toolbars with real input while customizing: move, copy
// with Ctrl, removal outside any bar, the group mark nudge, Esc, and the inverted insertion
// mark, read back from the screen before, during and after the drag.
#include "DragTestUtil.h"

#include <set>
#include <utility>

#include "bars/keyboard/hooks.h"
#include "bars/model/startup.h"
#include "platform/Forms.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

using TCaptions = std::vector<String>;

// What the drag showed at one moment.
struct TDragSight {
  TdxBarDropState State = TdxBarDropState::None;
  HCURSOR Cursor = nullptr;
  bool MarkShown = false;
  TCustomdxBarControl* MarkWindow = nullptr;
  TRect MarkRect{};
  bool Leading = false;
  bool Vertical = false;
  bool HooksSeeDrag = false;
};

// The screen pixels (relative to ARect's corner) the mark covers.
std::set<std::pair<int, int>> MarkPixels(const TDragSight& ASight, const RECT& AWindowRect)
{
  const TdxBarInsertionMarkLines points = dxBarGetInsertionMarkLines(ASight.MarkRect, ASight.Leading, ASight.Vertical);
  const TPoint origin = ASight.MarkWindow->ClientToScreen(TPoint{0, 0});
  std::set<std::pair<int, int>> pixels;
  for (int i = 0; i < 12; i += 2) {
    const POINT a = points[i], b = points[i + 1];
    const int dx = (b.x > a.x) - (b.x < a.x), dy = (b.y > a.y) - (b.y < a.y);
    for (POINT p = a; p.x != b.x || p.y != b.y; p.x += dx, p.y += dy)
      pixels.insert({origin.x + p.x - AWindowRect.left, origin.y + p.y - AWindowRect.top});
  }
  return pixels;
}

COLORREF Inverse(COLORREF C)
{
  return RGB(255 - GetRValue(C), 255 - GetGValue(C), 255 - GetBValue(C));
}

class TToolbarDrag : public TDragFixture {
protected:
  // Records what the drag shows when the script asks (this thread, inside the loop).
  TDragSight Look()
  {
    TDragSight sight;
    if (auto info = DragInfo()) {
      sight.State = info->GetDropState();
      sight.MarkShown = info->IsMarkShown();
      sight.MarkWindow = info->GetMarkWindow();
      sight.MarkRect = info->GetMarkRect();
      sight.Leading = info->IsMarkAtLeadingEdge();
      sight.Vertical = info->IsMarkVertical();
    }
    sight.Cursor = ::GetCursor();
    sight.HooksSeeDrag = dxBarIsDragRunning();
    return sight;
  }
  HCURSOR DragCursor(int AId) const { return Screen->GetCursors(AId); }
};

}  // namespace

TEST_F(TToolbarDrag, ButtonDraggedToAnotherToolbarMovesThereWithTheMarkWhereItLands)
{
  TdxBarItemLink* two = LinksA()->Items(1);
  TdxBarItemLink* five = LinksB()->Items(1);
  const RECT barB = ScreenRectOf(BarB->GetControl());
  ASSERT_TRUE(WaitUntilScreenShows(BarB->GetControl()));
  TDib32 before = CaptureScreen(barB);
  TDragSight sight;
  TDib32 during;
  TDragProbe probe([&] {
    sight = Look();
    during = CaptureScreen(barB);
  });
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(two), LeadingPart(five), [&] { EXPECT_TRUE(probe.Run()); }));

  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Three", L"Menu"}));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Two", L"Five"}));
  EXPECT_EQ(Buttons[1]->GetLinkCount(), 1);

  EXPECT_EQ(sight.State, TdxBarDropState::Move);
  EXPECT_EQ(sight.Cursor, DragCursor(crdxBarDrag));
  // The hooks leave keys and clicks to the drag's loop while it runs, and only then.
  EXPECT_TRUE(sight.HooksSeeDrag);
  EXPECT_FALSE(dxBarIsDragRunning());
  ASSERT_TRUE(sight.MarkShown);
  EXPECT_EQ(sight.MarkWindow, BarB->GetControl());
  EXPECT_TRUE(sight.Leading);
  EXPECT_FALSE(sight.Vertical);
  // The mark inverts exactly its six lines and nothing else of the window.
  ASSERT_TRUE(before.Valid() && during.Valid());
  const auto mark = MarkPixels(sight, barB);
  ASSERT_GT(mark.size(), 20u);
  int strays = 0, inverted = 0;
  for (int y = 0; y < before.Height(); ++y)
    for (int x = 0; x < before.Width(); ++x) {
      const bool onMark = mark.count({x, y}) > 0;
      if (onMark && ColorsClose(during.Pixel(x, y), Inverse(before.Pixel(x, y)), 2))
        ++inverted;
      else if (!onMark && !ColorsClose(during.Pixel(x, y), before.Pixel(x, y), 0))
        ++strays;
    }
  EXPECT_EQ(inverted, int(mark.size()));
  EXPECT_EQ(strays, 0);
  SaveShotOnRequest(before, "move-before");
  SaveShotOnRequest(during, "move-during");
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(Screen->GetCursor(), crDefault);
}

// A part beside the library answers the hooks' drag check for drags of its own: the drag
// while customizing tells the hooks through its own scope, and keeps the part's check.
TEST_F(TToolbarDrag, TheHooksSeeTheDragBesideAPartsOwnCheckWhichStays)
{
  int asked = 0;
  TdxBarHookServices services = dxBarHookServices();
  services.IsDragging = [&asked] {
    ++asked;
    return false;
  };
  const TdxBarHookServices before = SetdxBarHookServices(services);
  TFinally restore([&] { SetdxBarHookServices(before); });
  TdxBarItemLink* two = LinksA()->Items(1);
  TDragSight sight;
  TDragProbe probe([&] { sight = Look(); });
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(two), LeadingPart(LinksB()->Items(1)), [&] { EXPECT_TRUE(probe.Run()); }));
  EXPECT_TRUE(sight.HooksSeeDrag);
  EXPECT_FALSE(dxBarIsDragRunning());
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Two", L"Five"}));
  // The drag's unit ended and started again (the library's shut-down and start-up) leaves
  // the part's check where it is.
  dxBarUninstallDragAndDrop();
  dxBarInstallDragAndDrop();
  ASSERT_TRUE(dxBarHookServices().IsDragging) << "the part's check was dropped";
  const int seen = asked;
  EXPECT_FALSE(dxBarHookServices().IsDragging());
  EXPECT_EQ(asked, seen + 1) << "another check took the part's place";
}

TEST_F(TToolbarDrag, CtrlTurnsTheMoveIntoACopyAndBackAtOnce)
{
  TdxBarItemLink* one = LinksA()->Items(0);
  TdxBarItemLink* four = LinksB()->Items(0);
  std::vector<TDragSight> sights;
  TDragProbe probe([&] { sights.push_back(Look()); });
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(one), TrailingPart(four), [&] {
    probe.Run();
    SendKeyTransition(VK_CONTROL, true);
    PauseScript(60);
    probe.Run();
    SendKeyTransition(VK_CONTROL, false);
    PauseScript(60);
    probe.Run();
    SendKeyTransition(VK_CONTROL, true);
    PauseScript(60);
  }));
  SendKeyTransition(VK_CONTROL, false);
  PumpPending();

  ASSERT_EQ(sights.size(), 3u);
  EXPECT_EQ(sights[0].State, TdxBarDropState::Move);
  EXPECT_EQ(sights[0].Cursor, DragCursor(crdxBarDrag));
  EXPECT_EQ(sights[1].State, TdxBarDropState::Copy);
  EXPECT_EQ(sights[1].Cursor, DragCursor(crdxBarDragCopy));
  EXPECT_TRUE(sights[1].MarkShown);
  EXPECT_EQ(sights[2].State, TdxBarDropState::Move);
  EXPECT_EQ(sights[2].Cursor, DragCursor(crdxBarDrag));
  // Released with Ctrl held: a second link of the same button, the first one stays.
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Two", L"Three", L"Menu"}));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"One", L"Five"}));
  EXPECT_EQ(Buttons[0]->GetLinkCount(), 2);
}

TEST_F(TToolbarDrag, DroppedOnTheFormsClientAreaTheLinkGoesAndHandsItsGroupMarkOn)
{
  LinksA()->Items(1)->SetBeginGroup(true);
  PumpPending();
  TdxBarItemLink* two = LinksA()->Items(1);
  const TRect client = Host.Form()->ClientToScreen(Host.Form()->GetClientRect());
  const POINT empty{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
  TDragSight sight;
  TDragProbe probe([&] { sight = Look(); });
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(two), empty, [&] { probe.Run(); }));

  EXPECT_EQ(sight.State, TdxBarDropState::NoDrop);
  EXPECT_EQ(sight.Cursor, DragCursor(crdxBarDragNoDrop));
  EXPECT_FALSE(sight.MarkShown);
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"|Three", L"Menu"}));
  // Only the link went: the button lives on without links.
  EXPECT_EQ(Buttons[1]->GetLinkCount(), 0);
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Five"}));
}

TEST_F(TToolbarDrag, ANudgeAlongTheBarTogglesTheGroupMarkFromFourPixels)
{
  // The drag starts by moving across the bar, so that the grab point is where the press was;
  // then the cursor goes Dx along the bar.
  auto nudge = [&](TdxBarItemLink* ALink, int Dx) {
    const POINT p = ScreenCentreOf(ALink);
    MoveMouseTo(p);
    TDragSight sight;
    TDragProbe probe([&] { sight = Look(); });
    EXPECT_TRUE(RunScript(
        [&] {
          SendMouseButton(true);
          PauseScript(60);
          SendMouseMove(POINT{p.x, p.y + 4});
          PauseScript(60);
          SendMouseMove(POINT{p.x + Dx, p.y + 4});
          PauseScript(60);
          probe.Run();
          SendMouseButton(false);
        },
        [&] { return ::GetCapture() == nullptr && !Manager->IsDragging(); }, 100, 8000));
    EXPECT_EQ(sight.State, TdxBarDropState::BeginGroup) << Dx;
    EXPECT_FALSE(sight.MarkShown) << Dx;
  };
  nudge(LinksA()->Items(2), 3);
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Two", L"Three", L"Menu"}));
  nudge(LinksA()->Items(2), 4);
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Two", L"|Three", L"Menu"}));
  nudge(LinksA()->Items(2), -3);
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Two", L"|Three", L"Menu"}));
  nudge(LinksA()->Items(2), -4);
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Two", L"Three", L"Menu"}));
}

TEST_F(TToolbarDrag, EscRestoresLinksCursorCaptureAndThePixelsUnderTheMark)
{
  TdxBarItemLink* one = LinksA()->Items(0);
  TdxBarItemLink* five = LinksB()->Items(1);
  const RECT barB = ScreenRectOf(BarB->GetControl());
  ASSERT_TRUE(WaitUntilScreenShows(BarB->GetControl()));
  TDib32 before = CaptureScreen(barB);
  TDragSight sight;
  TDragProbe probe([&] { sight = Look(); });
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(one), ScreenCentreOf(five), [&] {
    probe.Run();
    SendKeyStroke(VK_ESCAPE);
    PauseScript(60);
  }));
  TDib32 after = CaptureScreen(barB);

  EXPECT_TRUE(sight.MarkShown);
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Two", L"Three", L"Menu"}));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Five"}));
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(Screen->GetCursor(), crDefault);
  ASSERT_TRUE(before.Valid() && after.Valid());
  EXPECT_EQ(CountDifferentPixels(after, RECT{0, 0, after.Width(), after.Height()}, before), 0);
}

TEST_F(TToolbarDrag, DroppingALinkRightWhereItWasShowsNoMarkAndChangesNothing)
{
  TdxBarItemLink* two = LinksA()->Items(1);
  TdxBarItemLink* one = LinksA()->Items(0);
  TdxBarItemLink* three = LinksA()->Items(2);
  std::vector<TDragSight> sights;
  TDragProbe probe([&] { sights.push_back(Look()); });
  // After the link before it, then before the link after it: both leave it in place. The
  // release is back on the link itself, so that no nudge counts either.
  // The drag starts with a move across the bar, so that it begins where the press was.
  const POINT home = ScreenCentreOf(two);
  const POINT start{home.x, home.y + 4};
  ASSERT_TRUE(DragWithMouse(home, start, [&] {
    Glide(start, TrailingPart(one));
    probe.Run();
    Glide(TrailingPart(one), LeadingPart(three));
    probe.Run();
    Glide(LeadingPart(three), start);
  }));
  ASSERT_EQ(sights.size(), 2u);
  for (const TDragSight& sight : sights) {
    EXPECT_EQ(sight.State, TdxBarDropState::BeginGroup);
    EXPECT_FALSE(sight.MarkShown);
  }
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Two", L"Three", L"Menu"}));
}

TEST_F(TToolbarDrag, ALinkDroppedBeforeTheLinkInFrontOfItMoves)
{
  // The link right after the target stays in place only for a drop after the target.
  TdxBarItemLink* two = LinksA()->Items(1);
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(two), LeadingPart(LinksA()->Items(0))));
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"Two", L"One", L"Three", L"Menu"}));
}
