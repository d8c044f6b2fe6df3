// The toolbar's layout arithmetic on plain numbers: line breaking with whole groups, the
// single-line fit, placement with centring and alignment, separators.
#include <gtest/gtest.h>

#include "bars/barwindows/toolbar.h"

namespace {

TdxBarLayoutLink L(int ALength, int AThickness = 22, bool ABeginGroup = false, TdxBarItemAlign AAlign = iaLeft)
{
  TdxBarLayoutLink l;
  l.Length = ALength;
  l.Thickness = AThickness;
  l.BeginGroup = ABeginGroup;
  l.Align = AAlign;
  return l;
}

constexpr int kSep = 6;

}  // namespace

// --- Line breaking ---------------------------------------------------------------------

TEST(ToolbarLineBreak, WholeGroupMovesToTheNextLine)
{
  // a, b, [group] c, d: the limit holds a, b and c but not d; the break goes before c.
  std::vector<TdxBarLayoutLink> links{L(20), L(20), L(20, 22, true), L(20)};
  TdxBarLineBreak r = dxBarBreakLines(links, 20 + 20 + kSep + 20, kSep);
  EXPECT_EQ(r.LineCount, 2);
  EXPECT_FALSE(links[1].LineStart);
  EXPECT_TRUE(links[2].LineStart);
  EXPECT_FALSE(links[3].LineStart);
  EXPECT_EQ(r.Length, 40);
  // The second line begins a group: the separator lies between the lines.
  EXPECT_EQ(r.Thickness, 22 + kSep + 22);
}

TEST(ToolbarLineBreak, LinkStartingAGroupBreaksAtItself)
{
  // a, [g] b, c, [g] d: d does not fit; it starts its own group, so b and c stay.
  std::vector<TdxBarLayoutLink> links{L(20), L(20, 22, true), L(20), L(20, 22, true)};
  TdxBarLineBreak r = dxBarBreakLines(links, 20 + kSep + 20 + 20 + 10, kSep);
  EXPECT_EQ(r.LineCount, 2);
  EXPECT_FALSE(links[1].LineStart);
  EXPECT_TRUE(links[3].LineStart);
  EXPECT_EQ(r.Length, 20 + kSep + 40);
}

TEST(ToolbarLineBreak, WithoutAGroupTheBreakIsAtTheLink)
{
  std::vector<TdxBarLayoutLink> links{L(30), L(30), L(30), L(30), L(30)};
  TdxBarLineBreak r = dxBarBreakLines(links, 70, kSep);
  EXPECT_EQ(r.LineCount, 3);
  EXPECT_TRUE(links[2].LineStart);
  EXPECT_TRUE(links[4].LineStart);
  EXPECT_EQ(r.Length, 60);
  EXPECT_EQ(r.Thickness, 3 * 22);
}

TEST(ToolbarLineBreak, LinkWiderThanTheLimitStaysAloneAndBreakingEnds)
{
  // The first link of a line always stays, so a too-long link makes progress too.
  std::vector<TdxBarLayoutLink> links{L(100, 20), L(100, 30, true), L(10)};
  TdxBarLineBreak r = dxBarBreakLines(links, 50, kSep);
  EXPECT_EQ(r.LineCount, 3);
  EXPECT_EQ(r.Length, 100);
  EXPECT_EQ(r.Thickness, 20 + kSep + 30 + 22);
}

TEST(ToolbarLineBreak, ThicknessIsTheThickestLinkOfEachLine)
{
  std::vector<TdxBarLayoutLink> links{L(30, 18), L(30, 40), L(30, 25)};
  TdxBarLineBreak r = dxBarBreakLines(links, 60, kSep);
  EXPECT_EQ(r.LineCount, 2);
  EXPECT_EQ(r.Thickness, 40 + 25);
}

TEST(ToolbarLineBreak, MDIAreaEndsTheLastLineOrMakesItsOwn)
{
  std::vector<TdxBarLayoutLink> links{L(30), L(30), L(30)};
  TdxBarLineBreak fits = dxBarBreakLines(links, 70, kSep, 10, 14);
  EXPECT_EQ(fits.LineCount, 2);
  EXPECT_EQ(fits.Length, 60);  // last line 30 + 10
  EXPECT_EQ(fits.Thickness, 44);
  TdxBarLineBreak own = dxBarBreakLines(links, 70, kSep, 45, 14);
  EXPECT_EQ(own.LineCount, 3);
  EXPECT_EQ(own.Thickness, 44 + 14);
}

TEST(ToolbarLineBreak, NoLinks)
{
  std::vector<TdxBarLayoutLink> links;
  TdxBarLineBreak r = dxBarBreakLines(links, 100, kSep);
  EXPECT_EQ(r.LineCount, 0);
  EXPECT_EQ(r.Length, 0);
  EXPECT_EQ(r.Thickness, 0);
}

// --- Single-line fit -------------------------------------------------------------------

TEST(ToolbarSingleLine, CountsLinksUntilOneMoreWithItsSeparatorWouldPass)
{
  std::vector<TdxBarLayoutLink> links{L(23), L(23), L(40, 22, true)};
  EXPECT_EQ(dxBarSingleLineFitCount(links, 23 + 23 + kSep + 40, kSep), 3);
  // The separator counts: one pixel short and the grouped link does not fit.
  EXPECT_EQ(dxBarSingleLineFitCount(links, 23 + 23 + kSep + 39, kSep), 2);
  EXPECT_EQ(dxBarSingleLineFitCount(links, 46, kSep), 2);
  EXPECT_EQ(dxBarSingleLineFitCount(links, 45, kSep), 1);
  // The first link always counts.
  EXPECT_EQ(dxBarSingleLineFitCount(links, 0, kSep), 1);
}

// --- Placement -------------------------------------------------------------------------

TEST(ToolbarPlacement, SingleLineStopsAtTheFirstLinkThatDoesNotFit)
{
  std::vector<TdxBarLayoutLink> links{L(23), L(23), L(40, 22, true), L(10)};
  TdxBarPlacementParams p;
  p.AvailableLength = 60;
  p.ClientThickness = 22;
  p.SeparatorSize = kSep;
  TdxBarPlacementResult r = dxBarPlaceLinks(links, p);
  EXPECT_EQ(r.ShownCount, 2);
  EXPECT_TRUE(r.ItemsHidden);
  EXPECT_TRUE(links[1].Shown);
  EXPECT_FALSE(links[2].Shown);
  EXPECT_FALSE(links[3].Shown);  // a later link that would fit stays hidden too
  EXPECT_EQ(links[1].Bounds, Rect(23, 0, 46, 22));
  EXPECT_TRUE(links[1].LineEnd);
}

TEST(ToolbarPlacement, GroupSeparatorGoesBeforeTheLink)
{
  std::vector<TdxBarLayoutLink> links{L(23), L(23), L(40, 22, true)};
  TdxBarPlacementParams p;
  p.AvailableLength = 200;
  p.ClientThickness = 22;
  p.SeparatorSize = kSep;
  TdxBarPlacementResult r = dxBarPlaceLinks(links, p);
  EXPECT_EQ(r.ShownCount, 3);
  EXPECT_FALSE(r.ItemsHidden);
  EXPECT_EQ(links[2].Bounds, Rect(46 + kSep, 0, 46 + kSep + 40, 22));
  auto seps = dxBarCalcSeparators(links, 200, kSep);
  ASSERT_EQ(seps.size(), 1u);
  EXPECT_EQ(seps[0].LinkIndex, 2);
  EXPECT_FALSE(seps[0].Horizontal);
  EXPECT_EQ(seps[0].Bounds, Rect(46, 0, 46 + kSep, 22));
}

TEST(ToolbarPlacement, ShortControlsAreCentredAcrossTheLineTowardZero)
{
  // Line 22 thick: a 15-thick control is offset (22 - 15) / 2 = 3.
  std::vector<TdxBarLayoutLink> links{L(20, 22), L(20, 15)};
  TdxBarPlacementParams p;
  p.AvailableLength = 100;
  p.ClientThickness = 22;
  dxBarPlaceLinks(links, p);
  EXPECT_EQ(links[1].Bounds.top, 3);
  EXPECT_EQ(links[1].Bounds.bottom, 18);
  EXPECT_EQ(links[1].LineThickness, 22);
  // A control thicker than the client makes the line thicker: it is not pushed above it.
  std::vector<TdxBarLayoutLink> thick{L(20, 15), L(20, 10)};
  p.ClientThickness = 10;
  dxBarPlaceLinks(thick, p);
  EXPECT_EQ(thick[0].Bounds.top, 0);
  EXPECT_EQ(thick[0].LineThickness, 15);
  EXPECT_EQ(thick[1].Bounds.top, 2);
}

TEST(ToolbarPlacement, MultiLineWrapsCentresEachLineAndHonoursLineStarts)
{
  std::vector<TdxBarLayoutLink> links{L(20, 20), L(20, 16), L(20, 30, true), L(20, 10)};
  // Breaking marks c as a line start (whole group); placement follows the mark even
  // though d would also fit on the first line later on.
  dxBarBreakLines(links, 20 + 20 + kSep + 20, kSep);
  TdxBarPlacementParams p;
  p.AvailableLength = 20 + 20 + kSep + 20;
  p.SeparatorSize = kSep;
  p.MultiLine = true;
  TdxBarPlacementResult r = dxBarPlaceLinks(links, p);
  EXPECT_EQ(r.ShownCount, 4);
  EXPECT_FALSE(r.ItemsHidden);
  EXPECT_TRUE(links[1].LineEnd);
  EXPECT_EQ(links[0].Bounds, Rect(0, 0, 20, 20));
  EXPECT_EQ(links[1].Bounds, Rect(20, 2, 40, 18));
  // The second line starts after line 1 and the separator above a group.
  EXPECT_EQ(links[2].LineTop, 20 + kSep);
  EXPECT_EQ(links[2].Bounds, Rect(0, 26, 20, 56));
  EXPECT_EQ(links[3].Bounds, Rect(20, 26 + 10, 40, 26 + 20));
  auto seps = dxBarCalcSeparators(links, 80, kSep);
  ASSERT_EQ(seps.size(), 1u);
  EXPECT_TRUE(seps[0].Horizontal);
  EXPECT_EQ(seps[0].Bounds, Rect(0, 20, 80, 26));
}

TEST(ToolbarPlacement, AlignedLinksTakeTheRestOfTheLine)
{
  TdxBarPlacementParams p;
  p.AvailableLength = 100;
  p.ClientThickness = 22;
  std::vector<TdxBarLayoutLink> right{L(20), L(20, 22, false, iaRight)};
  dxBarPlaceLinks(right, p);
  EXPECT_EQ(right[1].Bounds, Rect(80, 0, 100, 22));

  std::vector<TdxBarLayoutLink> centre{L(20), L(21, 22, false, iaCenter)};
  dxBarPlaceLinks(centre, p);
  // The rest is 100 - 41 = 59; shifted by 29.
  EXPECT_EQ(centre[1].Bounds, Rect(49, 0, 70, 22));

  std::vector<TdxBarLayoutLink> client{L(20), L(10, 22, false, iaClient)};
  client[1].MinLength = 10;
  dxBarPlaceLinks(client, p);
  EXPECT_EQ(client[1].Bounds, Rect(20, 0, 100, 22));

  // Never narrower than the control's minimum, even with no room left.
  std::vector<TdxBarLayoutLink> tight{L(85), L(10, 22, false, iaClient)};
  tight[1].MinLength = 30;
  p.AvailableLength = 100;
  dxBarPlaceLinks(tight, p);
  EXPECT_EQ(tight[1].Bounds.right - tight[1].Bounds.left, 30);
}

TEST(ToolbarPlacement, LinksAfterAnAlignedOneAreHiddenOnASingleLine)
{
  std::vector<TdxBarLayoutLink> links{L(20), L(20, 22, false, iaRight), L(20)};
  TdxBarPlacementParams p;
  p.AvailableLength = 200;
  p.ClientThickness = 22;
  TdxBarPlacementResult r = dxBarPlaceLinks(links, p);
  EXPECT_EQ(r.ShownCount, 2);
  EXPECT_TRUE(r.ItemsHidden);
  EXPECT_FALSE(links[2].Shown);
  // On a multi-line bar the next link goes to the next line instead, and the mark still shows.
  p.MultiLine = true;
  r = dxBarPlaceLinks(links, p);
  EXPECT_EQ(r.ShownCount, 3);
  EXPECT_TRUE(r.ItemsHidden);
  EXPECT_EQ(links[2].Bounds.left, 0);
  EXPECT_EQ(links[2].LineTop, 22);
}

TEST(ToolbarPlacement, AlignedLinkLeavesRoomForMDIButtonsOnAMultiLineBar)
{
  std::vector<TdxBarLayoutLink> links{L(20), L(20, 22, false, iaRight)};
  TdxBarPlacementParams p;
  p.AvailableLength = 200;
  p.MultiLine = true;
  p.MDIAreaLength = 50;
  dxBarPlaceLinks(links, p);
  EXPECT_EQ(links[1].Bounds, Rect(130, 0, 150, 22));
}
