// The menu's arithmetic on numbers: where it opens against a work area of 0..1000, its column
// of links, which animation a random number picks, and the animation's frames.
#include <gtest/gtest.h>

#include <vector>

#include "bars/menus/menuanimation.h"
#include "bars/menus/submenu.h"

namespace {

// One row: position, size, owner width and height, preferred directions, the bounds and
// flips expected. The comment says what the row shows.
struct TPlacementCase {
  int X, Y, W, H, OwnerWidth, OwnerHeight;
  bool PrefersRight, PrefersDown;
  TRect Expected;
  bool FlippedX, FlippedY;
};

// clang-format off
const TPlacementCase PlacementCases[] = {
    {100, 120, 200, 300, 0, 20, true, true, {100, 120, 300, 420}, false, false},    // fits below its toolbar item
    {100, 700, 200, 500, 0, 20, true, true, {100, 180, 300, 680}, false, true},     // jumps above the item
    {100, 400, 200, 800, 0, 20, true, true, {100, 400, 300, 1000}, false, false},   // more room below: cut, scrolls
    {900, 120, 200, 300, 0, 20, true, true, {800, 120, 1000, 420}, false, false},   // slides left below an item
    {900, 100, 200, 300, 150, 0, true, true, {550, 100, 750, 400}, true, false},    // flips left of a menu item
    {300, 100, 800, 300, 150, 0, true, true, {200, 100, 1000, 400}, false, false},  // more room right: stays
    {990, 500, 150, 200, 0, 0, true, true, {840, 500, 990, 700}, true, false},      // at a point: left of it
    {400, 900, 150, 200, 0, 0, true, true, {400, 700, 550, 900}, false, true},      // at a point: above it
    {400, 900, 150, 950, 0, 0, true, true, {400, 50, 550, 1000}, false, false},     // no room above: on the bottom
    {400, 10, 150, 1200, 0, 0, true, true, {400, 0, 550, 1000}, false, false},      // taller than the screen: cut
    {100, -300, 200, 400, 0, 20, true, false, {100, 120, 300, 520}, false, true},   // upwards, off the top: below
    {-150, 100, 200, 300, 150, 0, false, true, {200, 100, 400, 400}, true, false},  // leftwards, off: right of item
};
// clang-format on

TEST(MenuPlacement, MenuStaysOnTheWorkAreaAndFlipsOverItsOwner)
{
  for (const TPlacementCase& c : PlacementCases) {
    SCOPED_TRACE(testing::Message() << "at " << c.X << "," << c.Y << " size " << c.W << "x" << c.H);
    TdxBarMenuPlacementParams params;
    params.Pos = TPoint{c.X, c.Y};
    params.Size = TSize{c.W, c.H};
    params.WorkArea = TRect{0, 0, 1000, 1000};
    params.OwnerWidth = c.OwnerWidth;
    params.OwnerHeight = c.OwnerHeight;
    params.PrefersRight = c.PrefersRight;
    params.PrefersDown = c.PrefersDown;
    const TdxBarMenuPlacement p = dxBarPlaceMenu(params);
    EXPECT_EQ(p.Bounds, c.Expected);
    EXPECT_EQ(p.FlippedX, c.FlippedX);
    EXPECT_EQ(p.FlippedY, c.FlippedY);
  }
}

// Links of 20 pixels; a separator of 6 above the third; a link without a control that begins
// a group (no room, no separator); the less-used edge pixel above the fifth.
const std::vector<TdxBarMenuColumnLink> ColumnLinks = {
    {20, true, false, false}, {20, true, false, false}, {20, true, true, false},
    {20, false, true, false}, {20, true, false, true},
};

TdxBarMenuColumnParams ColumnIn(int ATop, int ABottom, int ATopIndex, bool ASeparateButtons)
{
  TdxBarMenuColumnParams params;
  params.Links = ColumnLinks;
  params.Area = TRect{0, ATop, 100, ABottom};
  params.Left = 5;
  params.SeparatorSize = 6;
  params.ScrollButtonSize = 12;
  params.ScrollButtonsSeparate = ASeparateButtons;
  params.TopIndex = ATopIndex;
  return params;
}

TEST(MenuColumn, TheMenusHeightIsWhereItsLaidOutColumnEnds)
{
  const int height = dxBarMenuColumnHeight(ColumnLinks, 6);
  EXPECT_EQ(height, 4 * 20 + 6 + 1);
  // At that height everything is in view, and a scrolled top comes back to the first link.
  for (const int top : {0, 3}) {
    const TdxBarMenuColumn column = dxBarLayoutMenuColumn(ColumnIn(10, 10 + height, top, true));
    EXPECT_EQ(column.TopIndex, 0);
    EXPECT_EQ(column.First, 0);
    EXPECT_EQ(column.Last, 4);
    EXPECT_FALSE(column.CanScrollDown);
    EXPECT_EQ(column.Rects[4], (TRect{5, 10 + height - 20, 100, 10 + height}));
    EXPECT_EQ(column.Rects[2].top, column.Rects[1].bottom + 6);
    EXPECT_EQ(column.Rects[3], (TRect{5, column.Rects[2].bottom, 100, column.Rects[2].bottom}));
  }
  // A pixel less: the last link goes behind the button that scrolls down.
  const TdxBarMenuColumn cut = dxBarLayoutMenuColumn(ColumnIn(10, 9 + height, 0, true));
  EXPECT_EQ(cut.Last, 3);
  EXPECT_TRUE(cut.CanScrollDown);
  EXPECT_EQ(cut.Rects[4], TRect{});
}

TEST(MenuColumn, AScrollButtonThatIsNotSeparateCoversTheLinkUnderIt)
{
  // Room for two links and a half; scrolled to the third link, whose place the button takes.
  const TdxBarMenuColumn column = dxBarLayoutMenuColumn(ColumnIn(10, 60, 2, false));
  EXPECT_EQ(column.First, 3);
  EXPECT_EQ(column.Last, 4);
  EXPECT_EQ(column.Rects[2], TRect{});
  EXPECT_EQ(column.Rects[4].top, 10 + 12 + 1);
  // Scrolling back would hide the last link again: the top stays.
  EXPECT_EQ(column.TopIndex, 2);
  EXPECT_FALSE(column.CanScrollDown);
}

TEST(MenuAnimationChoice, RandomPicksUnfoldSlideOrFadeAtThirtyThreeAndSixtySix)
{
  const std::pair<int, TdxBarMenuAnimations> rows[] = {{0, maUnfold}, {32, maUnfold}, {33, maSlide},
                                                       {65, maSlide}, {66, maFade},   {99, maFade}};
  for (auto [random, kind] : rows)
    EXPECT_EQ(dxBarResolveMenuAnimation(maRandom, random), kind) << random;
  EXPECT_EQ(dxBarResolveMenuAnimation(maSlide, 0), maSlide) << "only maRandom is resolved";
}

struct TFrameCase {
  TdxBarMenuAnimations Kind;
  int W, H;
  int Frames;
  TSize Third;  // the size shown at frame 3 (when there is one)
  TRect FirstDrawn;
};

TEST(MenuAnimationFrames, UnfoldKeepsTheSidesDifferenceAndSlideGrowsTheHeightAtFullWidth)
{
  const TFrameCase rows[] = {
      {maUnfold, 120, 200, 15, {24, 104}, {0, 0, 0, 80}}, {maUnfold, 200, 120, 15, {104, 24}, {0, 0, 80, 0}},
      {maSlide, 150, 200, 11, {150, 51}, {0, 0, 150, 0}}, {maSlide, 150, 16, 0, {}, {0, 0, 150, 0}},
      {maUnfold, 7, 300, 0, {}, {0, 0, 0, 293}},
  };
  for (const TFrameCase& c : rows) {
    const TdxBarAnimationInfo info = dxBarMakeAnimationInfo(c.Kind, c.W, c.H);
    EXPECT_EQ(dxBarAnimationFrameCount(info), c.Frames) << c.W << "x" << c.H;
    EXPECT_EQ(info.Drawn, c.FirstDrawn) << c.W << "x" << c.H;
    if (c.Frames >= 3) {
      EXPECT_EQ(dxBarAnimationFrameSize(info, 3), c.Third) << c.W << "x" << c.H;
    }
    // The last frame leaves less than one step to the full size.
    if (c.Frames > 0) {
      const TSize last = dxBarAnimationFrameSize(info, c.Frames);
      EXPECT_LE(c.W - last.cx, info.Step);
      EXPECT_LE(c.H - last.cy, info.Step);
    }
  }
}

TEST(MenuAnimationFrames, TheImageSlidesOutOfTheEdgeTheMenuOpensFrom)
{
  TdxBarAnimationInfo info = dxBarMakeAnimationInfo(maUnfold, 100, 80);
  const TSize shown{40, 30};
  struct TRow {
    bool Left, Up;
    TRect Source;
  } rows[] = {
      {false, false, {0, 50, 40, 80}},   // growing down and right: the bottom-left part
      {true, false, {60, 50, 100, 80}},  // down and left: the bottom-right part
      {false, true, {0, 0, 40, 30}},     // up: the top rows, left columns
      {true, true, {0, 0, 40, 30}},
  };
  for (const TRow& row : rows) {
    info.GrowLeft = row.Left;
    info.GrowUp = row.Up;
    EXPECT_EQ(dxBarAnimationSourceRect(info, shown), row.Source) << row.Left << row.Up;
  }
}

}  // namespace
