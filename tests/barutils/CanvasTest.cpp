// The shared bar canvas: nesting on DCs and canvases unwinds in reverse order and gives
// every DC its state back.
#include <gtest/gtest.h>

#include "bars/dxBar.h"
#include "platform/Forms.h"
#include "support/Pixels.h"

namespace {

TEST(BarCanvas, NestedBeginPaintUnwindsInReverse)
{
  TdxBarCanvas canvas;
  TDib32 first(4, 4), second(4, 4);
  canvas.BeginPaint(first.DC());
  EXPECT_EQ(canvas.GetHandle(), first.DC());
  canvas.BeginPaint(second.DC());
  EXPECT_EQ(canvas.GetHandle(), second.DC());
  EXPECT_EQ(canvas.GetPaintLevel(), 2);
  canvas.EndPaint();
  EXPECT_EQ(canvas.GetHandle(), first.DC());
  canvas.EndPaint();
  EXPECT_EQ(canvas.GetPaintLevel(), 0);
  EXPECT_FALSE(canvas.GetCanvas()->HandleAllocated());
  // An unbalanced EndPaint does nothing.
  canvas.EndPaint();
  EXPECT_EQ(canvas.GetPaintLevel(), 0);
}

TEST(BarCanvas, EndPaintRestoresTheDCState)
{
  TdxBarCanvas canvas;
  TDib32 dib(10, 10);
  HDC dc = dib.DC();
  SetWindowOrgEx(dc, 0, 0, nullptr);
  canvas.BeginPaint(dc);
  canvas.SetWindowOrg(TPoint{3, 4});
  canvas.IntersectClipRect(Rect(0, 0, 2, 2));
  canvas.FillRect(Rect(0, 0, 10, 10), clRed);
  canvas.BeginPaint(dc);  // the same DC nested: saved and restored once more
  canvas.SetWindowOrg(TPoint{1, 1});
  canvas.EndPaint();
  EXPECT_EQ(canvas.GetWindowOrg(), (TPoint{3, 4}));
  canvas.EndPaint();
  POINT org{};
  GetWindowOrgEx(dc, &org);
  EXPECT_EQ(org.x, 0);
  EXPECT_EQ(org.y, 0);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, probe), 0);
  DeleteObject(probe);
  // Only the clipped corner (0..2 at origin 3, 4: device 0..0) got red: the fill was clipped.
  EXPECT_EQ(dib.Pixel(9, 9), RGB(255, 255, 255));
}

TEST(BarCanvas, CanvasAndDCStatesMix)
{
  TdxBarCanvas canvas;
  TCanvas* own = canvas.GetCanvas();
  TBitmap bitmap;
  bitmap.SetSize(4, 4);
  TDib32 dib(4, 4);
  canvas.BeginPaintOnCanvas(bitmap.GetCanvas());
  EXPECT_EQ(canvas.GetCanvas(), bitmap.GetCanvas());
  canvas.BeginPaint(dib.DC());
  EXPECT_EQ(canvas.GetCanvas(), own);
  EXPECT_EQ(canvas.GetHandle(), dib.DC());
  canvas.EndPaint();
  EXPECT_EQ(canvas.GetCanvas(), bitmap.GetCanvas());
  canvas.EndPaint();
  EXPECT_EQ(canvas.GetCanvas(), own);
}

}  // namespace
