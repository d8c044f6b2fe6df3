// The pixel probes other test areas rely on: a probe that answered wrongly would let a
// pixel test pass on a wrong picture.
#include <gtest/gtest.h>

#include "GdiCheck.h"
#include "support/Pixels.h"

TEST(Pixels, DibProbesAndComparisons)
{
  TDib32 dib(4, 3, RGB(10, 20, 30));
  ASSERT_TRUE(dib.Valid());
  EXPECT_EQ(dib.Pixel(3, 2), RGB(10, 20, 30));
  EXPECT_EQ(dib.Pixel(4, 0), CLR_INVALID);
  SetPixelV(dib.DC(), 1, 0, RGB(200, 0, 0));
  EXPECT_EQ(dib.Pixel(1, 0), RGB(200, 0, 0)) << "top-down: row 0 is the top";
  EXPECT_EQ(ReadPixel(dib.DC(), 1, 0), RGB(200, 0, 0));
  EXPECT_EQ(CountPixelsNear(dib, RECT{0, 0, 4, 3}, RGB(10, 20, 30), 0), 11);
  EXPECT_EQ(ColorDistance(RGB(10, 20, 30), RGB(13, 18, 30)), 3);
  EXPECT_TRUE(IsGreyish(RGB(100, 104, 98)));
  EXPECT_FALSE(IsGreyish(RGB(100, 160, 98)));
  EXPECT_FALSE(ColorNear(RGB(0, 0, 0), RGB(0, 0, 9)));
  EXPECT_EQ(ColorText(RGB(0x12, 0xAB, 0x0F)), "#12AB0F");

  TDib32 moved = std::move(dib);
  EXPECT_FALSE(dib.Valid());
  EXPECT_EQ(moved.Pixel(1, 0), RGB(200, 0, 0));
}
