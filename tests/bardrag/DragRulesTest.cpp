// The drag's rules apart from the pointer's road: where a point of a bar window drops, the
// insertion mark's figure, commands dragged without a link, drops a bar refuses, and a quit
// arriving while the drag's loop runs.
#include "DragTestUtil.h"

#include "platform/Forms.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

using TCaptions = std::vector<String>;

TPoint ClientPoint(TdxBarItemLink* ALink, int ADx, int ADy)
{
  const TRect& r = ALink->GetItemRect();
  return TPoint{r.left + ADx, r.top + ADy};
}

// The mark drawn as the drag draws it, inverting a white picture: the black pixels.
int MarkPixelCount(const TRect& R, bool ALeading, bool AVertical, TDib32& ADib)
{
  const TdxBarInsertionMarkLines points = dxBarGetInsertionMarkLines(R, ALeading, AVertical);
  const DWORD counts[6] = {2, 2, 2, 2, 2, 2};
  ::SetROP2(ADib.DC(), R2_NOT);
  ::PolyPolyline(ADib.DC(), points.data(), counts, 6);
  ::SetROP2(ADib.DC(), R2_COPYPEN);
  return CountPixelsNear(ADib, RECT{0, 0, ADib.Width(), ADib.Height()}, RGB(0, 0, 0), 0);
}

class TDragRules : public TDragFixture {};

}  // namespace

TEST_F(TDragRules, APointDropsBeforeOrAfterTheLinkItFallsOnOrIntoTheGroupGapBeforeIt)
{
  LinksA()->Items(2)->SetBeginGroup(true);
  PumpPending();
  TCustomdxBarControl* bar = BarA->GetControl();
  TdxBarItemLink* two = LinksA()->Items(1);
  TdxBarItemLink* three = LinksA()->Items(2);
  const int midY = RectHeight(two->GetItemRect()) / 2;

  TdxBarDropPlace place = dxBarDropPlaceAt(bar, ClientPoint(two, 2, midY));
  EXPECT_EQ(place.Link, two);
  EXPECT_TRUE(place.Before);
  EXPECT_FALSE(place.Group);
  EXPECT_FALSE(place.Vertical);
  place = dxBarDropPlaceAt(bar, ClientPoint(two, RectWidth(two->GetItemRect()) - 2, midY));
  EXPECT_EQ(place.Link, two);
  EXPECT_FALSE(place.Before);
  // Between the two links lies the group mark of the second.
  ASSERT_GT(three->GetItemRect().left, two->GetItemRect().right);
  place = dxBarDropPlaceAt(
      bar, TPoint{(two->GetItemRect().right + three->GetItemRect().left) / 2, two->GetItemRect().top + midY});
  EXPECT_EQ(place.Link, three);
  EXPECT_TRUE(place.Before);
  EXPECT_TRUE(place.Group);
  // Off the line of links nothing is hit.
  EXPECT_EQ(dxBarDropPlaceAt(bar, TPoint{two->GetItemRect().left, two->GetItemRect().bottom + 50}).Link, nullptr);

  // A menu lays its links out downwards.
  TdxBarSubMenuControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  TdxBarItemLink* m2 = SubItem->GetItemLinks()->Items(1);
  place = dxBarDropPlaceAt(menu, ClientPoint(m2, 10, 2));
  EXPECT_EQ(place.Link, m2);
  EXPECT_TRUE(place.Vertical);
  EXPECT_TRUE(place.Before);
  place = dxBarDropPlaceAt(menu, ClientPoint(m2, 10, RectHeight(m2->GetItemRect()) - 2));
  EXPECT_FALSE(place.Before);
}

TEST(TDragMark, TheFigureIsSixLinesThatNeverCrossSoThatDrawingItTwiceRestores)
{
  const TRect r{10, 20, 40, 44};
  for (bool vertical : {false, true})
    for (bool leading : {true, false}) {
      TDib32 dib(60, 60);
      // Six and four pixels across the ends, two stems along the rest of the rectangle.
      const int stem = vertical ? RectWidth(r) - 4 : RectHeight(r) - 4;
      EXPECT_EQ(MarkPixelCount(r, leading, vertical, dib), 2 * 6 + 2 * 4 + 2 * stem) << vertical << leading;
      // Inside the rectangle, at its start or its end.
      const int edge = vertical ? (leading ? r.top : r.bottom - 1) : (leading ? r.left : r.right - 1);
      const COLORREF corner = vertical ? dib.Pixel(r.left, edge) : dib.Pixel(edge, r.top);
      EXPECT_EQ(corner, RGB(0, 0, 0)) << vertical << leading;
      EXPECT_EQ(CountPixelsNear(dib, RECT{0, 0, 60, 60}, RGB(0, 0, 0), 0),
                CountPixelsNear(dib, RECT{r.left, r.top, r.right, r.bottom}, RGB(0, 0, 0), 0));
      EXPECT_EQ(MarkPixelCount(r, leading, vertical, dib), 0);
    }
}

TEST_F(TDragRules, ACommandWithoutALinkIsAlwaysACopyAndLandsAloneOnAnEmptyBar)
{
  TdxBar* empty = Manager->GetBars()->Add();
  empty->SetCaption(L"Empty");
  empty->SetDockingStyle(dsNone);
  empty->SetFloatLeft(400);
  empty->SetFloatTop(330);
  empty->SetVisible(true);
  PumpPending();
  ASSERT_NE(empty->GetControl(), nullptr);
  RECT r = ScreenRectOf(empty->GetControl());
  const TRect client = empty->GetControl()->ClientToScreen(empty->GetControl()->GetClientRect());
  const POINT target{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
  ASSERT_TRUE(::PtInRect(&r, target));
  TdxBarButton* command = Buttons[6];  // "Four", dragged as from the Customize dialog's list
  std::vector<TdxBarDropState> states;
  TDragProbe probe([&] { states.push_back(DragInfo() ? DragInfo()->GetDropState() : TdxBarDropState::None); });
  MoveMouseTo(POINT{target.x, target.y - 200});
  RunWithHelperThread([&] { Manager->DragAndDrop(command, nullptr); },
                      [&] {
                        SendMouseButton(true);
                        Glide(POINT{target.x, target.y - 200}, target);
                        probe.Run();
                        // Ctrl pressed and let go keeps the copy: there is no link to move.
                        SendKeyTransition(VK_CONTROL, true);
                        PauseScript(60);
                        SendKeyTransition(VK_CONTROL, false);
                        PauseScript(60);
                        probe.Run();
                        SendMouseButton(false);
                      });
  PumpPending();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0], TdxBarDropState::Copy);
  EXPECT_EQ(states[1], TdxBarDropState::Copy);
  EXPECT_EQ(Captions(empty->GetItemLinks()), (TCaptions{L"Four"}));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Five"}));

  // Released outside any bar, a command without a link changes nothing.
  RunWithHelperThread([&] { Manager->DragAndDrop(command, nullptr); },
                      [&] {
                        SendMouseButton(true);
                        Glide(target, POINT{target.x, target.y - 200});
                        SendMouseButton(false);
                      });
  PumpPending();
  EXPECT_EQ(command->GetLinkCount(), 2);
}

TEST_F(TDragRules, ASubItemOverItsOwnMenuIsRefusedAndReleasedThereStays)
{
  TdxBarSubMenuControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  TdxBarDropState state = TdxBarDropState::None;
  TDragProbe probe([&] { state = DragInfo() ? DragInfo()->GetDropState() : TdxBarDropState::None; });
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(LinksA()->Items(3)), LeadingPart(SubItem->GetItemLinks()->Items(1)),
                            [&] { probe.Run(); }));
  EXPECT_EQ(state, TdxBarDropState::NoDrop);
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Two", L"Three", L"Menu"}));
  EXPECT_EQ(Captions(SubItem->GetItemLinks()), (TCaptions{L"M1", L"M2", L"M3"}));
}

TEST_F(TDragRules, AQuitDuringTheDragEndsItAndIsPostedAgain)
{
  const DWORD mainThread = ::GetCurrentThreadId();
  TdxBarItemLink* one = LinksA()->Items(0);
  MoveMouseTo(ScreenCentreOf(one));
  RunWithHelperThread([&] { Manager->DragAndDrop(one->GetItem(), one); },
                      [&] {
                        SendMouseButton(true);
                        Glide(ScreenCentreOf(one), ScreenCentreOf(LinksB()->Items(0)));
                        ::PostThreadMessageW(mainThread, WM_QUIT, 7, 0);
                        PauseScript(150);
                        SendMouseButton(false);
                      });
  EXPECT_FALSE(Manager->IsDragging());
  EXPECT_EQ(::GetCapture(), nullptr);
  MSG msg;
  bool quit = false;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) {
      DispatchOne(msg);
      continue;
    }
    quit = true;
    EXPECT_EQ(msg.wParam, 7u);
  }
  EXPECT_TRUE(quit);
  // Nothing was dropped.
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Two", L"Three", L"Menu"}));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Five"}));
}
