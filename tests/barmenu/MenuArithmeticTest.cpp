// The menu's arithmetic on numbers: where it opens against a work area of 0..1000, which
// animation a random number picks, and the animation's frames.
#include <gtest/gtest.h>

#include "bars/menuanimation.h"
#include "bars/submenu.h"

namespace {

struct TPlacementCase {
  const char* Name;
  TPoint Pos;
  TSize Size;
  int OwnerWidth, OwnerHeight;
  bool PrefersRight, PrefersDown;
  TRect Expected;
  bool FlippedX, FlippedY;
};

const TPlacementCase PlacementCases[] = {
    {"fits below its toolbar item", {100, 120}, {200, 300}, 0, 20, true, true, {100, 120, 300, 420}, false, false},
    {"near the bottom jumps above the item",
     {100, 700},
     {200, 500},
     0,
     20,
     true,
     true,
     {100, 180, 300, 680},
     false,
     true},
    {"more room below is cut and scrolls",
     {100, 400},
     {200, 800},
     0,
     20,
     true,
     true,
     {100, 400, 300, 1000},
     false,
     false},
    {"near the right edge below an item slides left",
     {900, 120},
     {200, 300},
     0,
     20,
     true,
     true,
     {800, 120, 1000, 420},
     false,
     false},
    {"beside a menu item flips to its left",
     {900, 100},
     {200, 300},
     150,
     0,
     true,
     true,
     {550, 100, 750, 400},
     true,
     false},
    {"beside a menu item with more room right stays",
     {300, 100},
     {800, 300},
     150,
     0,
     true,
     true,
     {200, 100, 1000, 400},
     false,
     false},
    {"at a point near the right opens left of it",
     {990, 500},
     {150, 200},
     0,
     0,
     true,
     true,
     {840, 500, 990, 700},
     true,
     false},
    {"at a point near the bottom opens above it",
     {400, 900},
     {150, 200},
     0,
     0,
     true,
     true,
     {400, 700, 550, 900},
     false,
     true},
    {"at a point taller than the room above sits on the bottom",
     {400, 900},
     {150, 950},
     0,
     0,
     true,
     true,
     {400, 50, 550, 1000},
     false,
     false},
    {"taller than the screen at a point is cut to it",
     {400, 10},
     {150, 1200},
     0,
     0,
     true,
     true,
     {400, 0, 550, 1000},
     false,
     false},
    {"opening upwards above the top flips below its item",
     {100, -300},
     {200, 400},
     0,
     20,
     true,
     false,
     {100, 120, 300, 520},
     false,
     true},
    {"a left-preferring menu off the left flips right of its item",
     {-150, 100},
     {200, 300},
     150,
     0,
     false,
     true,
     {200, 100, 400, 400},
     true,
     false},
};

class TPlacementTest : public testing::TestWithParam<TPlacementCase> {};

TEST_P(TPlacementTest, MenuStaysOnTheWorkAreaAndFlipsOverItsOwner)
{
  const TPlacementCase& c = GetParam();
  TdxBarMenuPlacementParams params;
  params.Pos = c.Pos;
  params.Size = c.Size;
  params.WorkArea = TRect{0, 0, 1000, 1000};
  params.OwnerWidth = c.OwnerWidth;
  params.OwnerHeight = c.OwnerHeight;
  params.PrefersRight = c.PrefersRight;
  params.PrefersDown = c.PrefersDown;
  const TdxBarMenuPlacement p = dxBarPlaceMenu(params);
  EXPECT_EQ(p.Bounds.left, c.Expected.left);
  EXPECT_EQ(p.Bounds.top, c.Expected.top);
  EXPECT_EQ(p.Bounds.right, c.Expected.right);
  EXPECT_EQ(p.Bounds.bottom, c.Expected.bottom);
  EXPECT_EQ(p.FlippedX, c.FlippedX);
  EXPECT_EQ(p.FlippedY, c.FlippedY);
  // Whatever the case, the menu lies on the work area.
  EXPECT_GE(p.Bounds.left, 0);
  EXPECT_GE(p.Bounds.top, 0);
  EXPECT_LE(p.Bounds.right, 1000);
  EXPECT_LE(p.Bounds.bottom, 1000);
}

INSTANTIATE_TEST_SUITE_P(Cases, TPlacementTest, testing::ValuesIn(PlacementCases), [](const auto& AInfo) {
  std::string name = AInfo.param.Name;
  for (char& ch : name)
    if (!isalnum(static_cast<unsigned char>(ch)))
      ch = '_';
  return name;
});

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
    if (c.Frames >= 3)
      EXPECT_EQ(dxBarAnimationFrameSize(info, 3), c.Third) << c.W << "x" << c.H;
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
