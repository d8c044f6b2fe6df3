// The strip images of layered shadows: alpha 60, 45, 30, 15 from the window's edge outward,
// the faded ends scaled line by line, premultiplied black, and odd sizes.
#include "ShadowTestUtil.h"

#include "platform/Bitmap.h"

namespace {

// Rows 0..4 from a faded end of a 4-pixel strip, columns from the window's edge outward:
// each row is the full step scaled by (row + 1) / 5.
constexpr int FadedRows[5][4] = {
    {12, 9, 6, 3}, {24, 18, 12, 6}, {36, 27, 18, 9}, {48, 36, 24, 12}, {60, 45, 30, 15},
};

}  // namespace

TEST(ShadowImage, VerticalStripRunsAcrossXAndFadesAtItsTop)
{
  TBitmap bitmap;
  dxBarBuildShadowImage(&bitmap, 4, 20, true, {speStart}, 4);
  ASSERT_EQ(bitmap.GetWidth(), 4);
  ASSERT_EQ(bitmap.GetHeight(), 20);
  EXPECT_EQ(bitmap.GetPixelFormat(), pf32bit);
  for (int row = 0; row < 5; ++row)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(AlphaAt(&bitmap, x, row), FadedRows[row][x]) << "row " << row << " column " << x;
  // The unfaded bottom end keeps the full steps to the last row.
  for (int y : {10, 16, 19})
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(AlphaAt(&bitmap, x, y), FadedRows[4][x]) << "row " << y;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(ColourBitsAt(&bitmap, x, y), 0u) << "premultiplied black at " << x << "," << y;
}

TEST(ShadowImage, StripsShorterThanTheFadeAndEmptySizesStayInRange)
{
  TBitmap shortStrip;
  dxBarBuildShadowImage(&shortStrip, 3, 4, false, {speStart, speEnd}, 4);
  ASSERT_EQ(shortStrip.GetWidth(), 3);
  // Both fades apply to the middle column: 60 * 2/5 * 2/5.
  EXPECT_EQ(AlphaAt(&shortStrip, 1, 0), 10);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_LE(AlphaAt(&shortStrip, x, y), FadedRows[4][y]);
  TBitmap empty;
  dxBarBuildShadowImage(&empty, 0, 4, true, {speStart}, 4);
  EXPECT_TRUE(empty.Empty());
  dxBarBuildShadowImage(&empty, -5, -5, true, {speStart}, 4);
  EXPECT_TRUE(empty.Empty());
  dxBarBuildShadowImage(nullptr, 4, 4, true, {}, 4);  // nothing to fill: no crash
}
