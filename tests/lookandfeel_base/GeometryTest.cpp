// Rectangle and point helpers: edges and the rounding of centring.
#include <gtest/gtest.h>

#include "lookandfeel/cxGeometry.h"

TEST(Geometry, PointInRectExcludesRightAndBottomEdges)
{
  TRect r{10, 20, 30, 40};
  EXPECT_TRUE(IsPointInRect(MakePoint(10, 20), r));
  EXPECT_TRUE(IsPointInRect(MakePoint(29, 39), r));
  EXPECT_FALSE(IsPointInRect(MakePoint(30, 25), r));
  EXPECT_FALSE(IsPointInRect(MakePoint(15, 40), r));
  EXPECT_FALSE(IsPointInRect(MakePoint(9, 25), r));
  EXPECT_FALSE(IsPointInRect(MakePoint(15, 19), r));
  EXPECT_FALSE(IsPointInRect(MakePoint(15, 25), TRect{30, 30, 10, 10})) << "a reversed rectangle holds nothing";
}

TEST(Geometry, CenteringGivesAnOddSparePixelToTheRightAndBottom)
{
  // 11 - 4 = 7 spare: 3 on the left, 4 on the right; 10 - 3 = 7 spare vertically likewise.
  TRect r = CenterRectInRect(TRect{0, 0, 11, 10}, 4, 3);
  EXPECT_TRUE(r == (TRect{3, 3, 7, 6}));
  // Even room splits evenly and the result keeps its size.
  r = CenterRectInRect(TRect{10, 20, 30, 40}, 10, 4);
  EXPECT_TRUE(r == (TRect{15, 28, 25, 32}));
  // Larger than the room: the offset still rounds down, so the odd pixel of overhang is on the left.
  r = CenterRectInRect(TRect{0, 0, 10, 10}, 13, 10);
  EXPECT_EQ(r.left, -2);
  EXPECT_EQ(r.right, 11);
  EXPECT_EQ(RectWidth(r), 13);
}
