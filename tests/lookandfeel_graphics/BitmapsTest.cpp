// Work bitmaps: sizes from rectangles, pixel arrays in and out (a wrong count is an
// error, not a write past the end), the bitmap's own TcxCanvas and BitBltRect.
#include "GraphicsFixture.h"

namespace {

using TcxBitmapTest = TDrawingTest;

TEST_F(TcxBitmapTest, FactoriesAndPixelArraysRoundTrip)
{
  auto bitmap = CreateBitmapForRect(Rect(5, 5, 8, 7));
  EXPECT_EQ(bitmap->GetWidth(), 3);
  EXPECT_EQ(bitmap->GetHeight(), 2);
  EXPECT_EQ(bitmap->GetPixelFormat(), pf32bit);
  EXPECT_TRUE(CreateBitmapOfSize(-4, 3)->Empty()) << "negative sizes give an empty bitmap";

  TcxColorArray colors(6);
  colors[0] = RGBQUAD{0, 0, 255, 0};   // red, top-left
  colors[5] = RGBQUAD{255, 0, 0, 0};   // blue, bottom-right
  SetBitmapColors(bitmap.get(), std::move(colors));
  EXPECT_EQ(COLORREF(bitmap->GetCanvas()->GetPixel(0, 0)), RGB(255, 0, 0));
  EXPECT_EQ(COLORREF(bitmap->GetCanvas()->GetPixel(2, 1)), RGB(0, 0, 255));
  TcxColorArray back = GetBitmapColors(bitmap.get());
  ASSERT_EQ(back.size(), 6u);
  EXPECT_EQ(back[5].rgbBlue, 255);
  EXPECT_THROW(SetBitmapColors(bitmap.get(), TcxColorArray(5)), EInvalidGraphicOperation);
}

TEST_F(TcxBitmapTest, OwnCanvasAndBitBltRect)
{
  TcxBitmap bitmap(6, 6);
  bitmap.GetcxCanvas()->FillRect(bitmap.GetClientRect(), clBlue);
  bitmap.GetcxCanvas()->FrameRect(bitmap.GetClientRect(), clRed, 1, cxBordersTop);
  EXPECT_TRUE(BitBltRect(DC(), Rect(10, 10, 14, 14), bitmap.GetCanvas()->GetHandle(), Point(0, 0)));
  EXPECT_EQ(At(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(At(13, 13), RGB(0, 0, 255));
  EXPECT_EQ(At(14, 13), Paper) << "only R's size is copied";
}

} // namespace
