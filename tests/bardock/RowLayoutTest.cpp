// The placement arithmetic of one row and the row finding at a point, on plain numbers.
#include <gtest/gtest.h>

#include "bars/barwindows/dockcontrol.h"

namespace {

TdxDockRowLayoutItem Item(int AStoredPos, int AMin, int AFull)
{
  TdxDockRowLayoutItem item;
  item.StoredPos = AStoredPos;
  item.MinLength = AMin;
  item.FullLength = AFull;
  return item;
}

std::vector<int> Starts(const std::vector<TdxDockRowLayoutItem>& AItems)
{
  std::vector<int> result;
  for (const TdxDockRowLayoutItem& item : AItems)
    result.push_back(item.Start);
  return result;
}

std::vector<int> Lengths(const std::vector<TdxDockRowLayoutItem>& AItems)
{
  std::vector<int> result;
  for (const TdxDockRowLayoutItem& item : AItems)
    result.push_back(item.Length);
  return result;
}

using Ints = std::vector<int>;

}  // namespace

// --- Rows whose windows fit.

TEST(DockRowLayout, FittingWindowsKeepTheirStoredPositions)
{
  std::vector<TdxDockRowLayoutItem> items{Item(10, 30, 60), Item(150, 30, 80)};
  dxDockLayoutRowItems(items, 400, false);
  EXPECT_EQ(Starts(items), (Ints{10, 150}));
  EXPECT_EQ(Lengths(items), (Ints{60, 80}));
  EXPECT_FALSE(items[0].ItemsHidden);
  EXPECT_FALSE(items[1].ItemsHidden);
}

TEST(DockRowLayout, FittingWindowsArePushedBackFromTheRowEnd)
{
  // The last window stored past the end comes back to end at the row's end; the first,
  // stored on top of it, is pushed before it.
  std::vector<TdxDockRowLayoutItem> items{Item(300, 30, 60), Item(380, 30, 80)};
  dxDockLayoutRowItems(items, 400, false);
  EXPECT_EQ(Starts(items), (Ints{260, 320}));
  EXPECT_EQ(Lengths(items), (Ints{60, 80}));
}

TEST(DockRowLayout, FittingWindowsNeverOverlapTheOnesBefore)
{
  // The second is stored inside the first: it starts after the first one's full length.
  std::vector<TdxDockRowLayoutItem> items{Item(0, 30, 60), Item(20, 30, 80), Item(0, 10, 40)};
  dxDockLayoutRowItems(items, 400, false);
  EXPECT_EQ(Starts(items), (Ints{0, 60, 140}));
}

TEST(DockRowLayout, AutomaticAlignmentPacksFromTheStartWithoutGaps)
{
  std::vector<TdxDockRowLayoutItem> items{Item(50, 30, 60), Item(200, 30, 80), Item(390, 10, 40)};
  dxDockLayoutRowItems(items, 600, true);
  EXPECT_EQ(Starts(items), (Ints{0, 60, 140}));
  EXPECT_EQ(Lengths(items), (Ints{60, 80, 40}));
}

// --- Squeezed rows.

TEST(DockRowLayout, SqueezedRowShrinksFromTheRightAndTheFirstTakesTheRest)
{
  // Full lengths 100 + 100 + 100 in a row of 250: the last shrinks first.
  std::vector<TdxDockRowLayoutItem> items{Item(0, 40, 100), Item(100, 40, 100), Item(200, 40, 100)};
  dxDockLayoutRowItems(items, 250, false);
  EXPECT_EQ(Starts(items), (Ints{0, 100, 200}));
  EXPECT_EQ(Lengths(items), (Ints{100, 100, 50}));
  EXPECT_FALSE(items[0].ItemsHidden);
  EXPECT_FALSE(items[1].ItemsHidden);
  EXPECT_TRUE(items[2].ItemsHidden);
}

TEST(DockRowLayout, SqueezedWindowsKeepTheirMinimums)
{
  // 150 pixels for three windows of minimum 40: the last two stay at their minimum and
  // the first takes what remains.
  std::vector<TdxDockRowLayoutItem> items{Item(0, 40, 100), Item(100, 40, 100), Item(200, 40, 100)};
  dxDockLayoutRowItems(items, 150, false);
  EXPECT_EQ(Starts(items), (Ints{0, 70, 110}));
  EXPECT_EQ(Lengths(items), (Ints{70, 40, 40}));
  for (const TdxDockRowLayoutItem& item : items)
    EXPECT_TRUE(item.ItemsHidden);
}

TEST(DockRowLayout, RowShorterThanTheMinimumsOverflowsRatherThanShrinkingBelowThem)
{
  std::vector<TdxDockRowLayoutItem> items{Item(0, 40, 100), Item(100, 40, 100)};
  dxDockLayoutRowItems(items, 50, false);
  EXPECT_EQ(Starts(items), (Ints{0, 40}));
  EXPECT_EQ(Lengths(items), (Ints{40, 40}));
}

TEST(DockRowLayout, SqueezeHidesNoItemsOfMultiLineOrFixedWindows)
{
  // A multi-line window grows across instead; a window whose minimum equals its full
  // length has nothing to hide.
  std::vector<TdxDockRowLayoutItem> items{Item(0, 40, 100), Item(100, 40, 100), Item(200, 60, 60)};
  items[1].MultiLine = true;
  dxDockLayoutRowItems(items, 180, false);
  EXPECT_FALSE(items[1].ItemsHidden);
  EXPECT_FALSE(items[2].ItemsHidden);
  EXPECT_EQ(items[2].Length, 60);
}

TEST(DockRowLayout, SqueezedWindowsTileTheRowExactly)
{
  // Whatever the stored positions, a squeezed row that can hold every minimum is covered
  // from 0 to its end without gaps or overlaps, and no window is below its minimum.
  const std::vector<std::vector<int>> storedSets{{0, 0, 0}, {0, 90, 180}, {300, 10, 500}, {50, 400, 20}};
  for (const std::vector<int>& stored : storedSets)
    for (int length = 120; length < 260; length += 7) {
      std::vector<TdxDockRowLayoutItem> items{Item(stored[0], 40, 100), Item(stored[1], 30, 80),
                                              Item(stored[2], 50, 80)};
      dxDockLayoutRowItems(items, length, false);
      EXPECT_EQ(items[0].Start, 0) << "row " << length;
      for (size_t i = 0; i + 1 < items.size(); ++i)
        EXPECT_EQ(items[i].Start + items[i].Length, items[i + 1].Start) << "row " << length << ", window " << i;
      EXPECT_EQ(items.back().Start + items.back().Length, length) << "row " << length;
      for (const TdxDockRowLayoutItem& item : items)
        EXPECT_GE(item.Length, item.MinLength) << "row " << length;
    }
}

// --- Whole rows, rest space and the last hidden window.

TEST(DockRowLayout, WholeRowBarTakesTheRowAndHidesItemsWhenShorterThanItsFullLength)
{
  std::vector<TdxDockRowLayoutItem> items{Item(30, 50, 500)};
  items[0].WholeRow = true;
  dxDockLayoutRowItems(items, 300, false);
  EXPECT_EQ(items[0].Start, 0);
  EXPECT_EQ(items[0].Length, 300);
  EXPECT_TRUE(items[0].ItemsHidden);

  items[0].MultiLine = true;
  dxDockLayoutRowItems(items, 300, false);
  EXPECT_FALSE(items[0].ItemsHidden);

  // Never below its minimum.
  dxDockLayoutRowItems(items, 20, false);
  EXPECT_EQ(items[0].Length, 50);
}

TEST(DockRowLayout, RestSpaceBarFollowsThePreviousWindowAndStretchesToTheNext)
{
  std::vector<TdxDockRowLayoutItem> items{Item(0, 30, 60), Item(150, 30, 50), Item(300, 30, 40)};
  items[1].UseRestSpace = true;
  dxDockLayoutRowItems(items, 400, false);
  EXPECT_EQ(items[1].Start, 60);
  EXPECT_EQ(items[1].Length, 240);  // up to the third window at 300
  EXPECT_EQ(items[2].Start, 300);

  // The last one with rest space reaches the row's end.
  std::vector<TdxDockRowLayoutItem> last{Item(0, 30, 60), Item(100, 30, 50)};
  last[1].UseRestSpace = true;
  dxDockLayoutRowItems(last, 400, false);
  EXPECT_EQ(last[1].Start, 60);
  EXPECT_EQ(last[1].Length, 340);
}

TEST(DockRowLayout, EmptyAndDegenerateInputStayWellDefined)
{
  std::vector<TdxDockRowLayoutItem> none;
  dxDockLayoutRowItems(none, 100, false);
  EXPECT_TRUE(none.empty());

  // A full length below the minimum is taken as the minimum; negative values as 0.
  std::vector<TdxDockRowLayoutItem> odd{Item(-50, 40, 10), Item(0, -5, -5)};
  dxDockLayoutRowItems(odd, 0, false);
  EXPECT_EQ(odd[0].Length, 40);
  EXPECT_GE(odd[0].Start, 0);
  EXPECT_EQ(odd[1].Length, 0);
}

// --- Finding the row at a point.

TEST(DockRowFinding, BandsBetweenRowsMakeNewRowsThere)
{
  // Two rows: 0..26 and 26..48, zone 20: each boundary has a 5-pixel band around it.
  const std::vector<int> edges{0, 26, 48};
  bool newRow = false;
  EXPECT_EQ(dxDockFindRow(edges, 26, 20, false, newRow), 1);
  EXPECT_TRUE(newRow);
  EXPECT_EQ(dxDockFindRow(edges, 23, 20, false, newRow), 1);
  EXPECT_TRUE(newRow);
  EXPECT_EQ(dxDockFindRow(edges, 27, 20, false, newRow), 1);
  EXPECT_TRUE(newRow);
  // Just outside the band: on the rows themselves.
  EXPECT_EQ(dxDockFindRow(edges, 22, 20, false, newRow), 0);
  EXPECT_FALSE(newRow);
  EXPECT_EQ(dxDockFindRow(edges, 28, 20, false, newRow), 1);
  EXPECT_FALSE(newRow);
  EXPECT_EQ(dxDockFindRow(edges, 12, 20, false, newRow), 0);
  EXPECT_FALSE(newRow);
}

TEST(DockRowFinding, PointsBeforeAndAfterTheRowsMakeRowsAtTheEnds)
{
  const std::vector<int> edges{0, 26, 48};
  bool newRow = false;
  EXPECT_EQ(dxDockFindRow(edges, -30, 20, false, newRow), 0);
  EXPECT_TRUE(newRow);
  EXPECT_EQ(dxDockFindRow(edges, 47, 20, false, newRow), 2);  // the band after the last row
  EXPECT_TRUE(newRow);
  EXPECT_EQ(dxDockFindRow(edges, 500, 20, false, newRow), 2);
  EXPECT_TRUE(newRow);
  // No rows: always a new first row.
  EXPECT_EQ(dxDockFindRow(std::vector<int>{}, 5, 20, false, newRow), 0);
  EXPECT_TRUE(newRow);
}

TEST(DockRowFinding, FarSidesMirrorTheBand)
{
  // Zone 20: near sides put 3 pixels of the band before the boundary, far sides 3 after.
  const std::vector<int> edges{0, 26, 48};
  bool newRow = false;
  EXPECT_EQ(dxDockFindRow(edges, 24, 20, true, newRow), 0);
  EXPECT_FALSE(newRow);
  EXPECT_EQ(dxDockFindRow(edges, 25, 20, true, newRow), 1);
  EXPECT_TRUE(newRow);
  EXPECT_EQ(dxDockFindRow(edges, 29, 20, true, newRow), 1);
  EXPECT_TRUE(newRow);
  EXPECT_EQ(dxDockFindRow(edges, 30, 20, true, newRow), 1);
  EXPECT_FALSE(newRow);
}
