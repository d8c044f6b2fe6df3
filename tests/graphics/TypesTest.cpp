// Rectangle, point and size helpers that layout code builds on.
#include <gtest/gtest.h>

#include "platform/Types.h"

TEST(RectHelpers, EdgesAndEmptiness)
{
  TRect r = Rect(0, 0, 10, 10);
  EXPECT_TRUE(PtInRect(r, Point(0, 0)));
  EXPECT_TRUE(PtInRect(r, Point(9, 9)));
  EXPECT_FALSE(PtInRect(r, Point(10, 5))) << "the right edge is outside";
  EXPECT_FALSE(PtInRect(r, Point(5, 10)));
  EXPECT_TRUE(IsRectEmpty(Rect(5, 5, 5, 9)));
  EXPECT_TRUE(IsRectEmpty(Rect(5, 5, 2, 9))) << "reversed";
  EXPECT_FALSE(IsRectEmpty(r));
}

TEST(RectHelpers, OffsetInflateIntersectUnion)
{
  TRect r = Rect(0, 0, 10, 10);
  EXPECT_EQ(OffsetRect(r, 5, -2), Rect(5, -2, 15, 8));
  EXPECT_EQ(InflateRect(r, 2, 3), Rect(-2, -3, 12, 13));
  EXPECT_EQ(InflateRect(r, -2, -2), Rect(2, 2, 8, 8));
  EXPECT_EQ(IntersectRect(r, Rect(5, 5, 20, 20)), Rect(5, 5, 10, 10));
  EXPECT_EQ(IntersectRect(r, Rect(10, 0, 20, 10)), Rect(0, 0, 0, 0)) << "touching edges do not meet";
  EXPECT_EQ(UnionRect(r, Rect(20, 20, 30, 30)), Rect(0, 0, 30, 30));
  EXPECT_EQ(UnionRect(Rect(0, 0, 0, 0), Rect(3, 3, 4, 4)), Rect(3, 3, 4, 4)) << "an empty one does not count";
  EXPECT_EQ(UnionRect(Rect(3, 3, 4, 4), Rect(9, 9, 9, 9)), Rect(3, 3, 4, 4));
}
