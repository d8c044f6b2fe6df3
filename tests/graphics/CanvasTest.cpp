// The canvas: shapes and text drawn into a bitmap and probed pixel by pixel, objects kept
// in step with the DC, and an external DC given back as it was.
#include <gtest/gtest.h>

#include "GdiCheck.h"
#include "support/Pixels.h"

namespace {

COLORREF At(TCanvas* Canvas, int X, int Y)
{
  return COLORREF(Canvas->GetPixel(X, Y));
}

// Pixels of R (inside the bitmap) whose colour is near Color.
int CountNear(TBitmap& Bitmap, const TRect& R, COLORREF Color, int Tolerance = 40)
{
  int count = 0;
  for (int y = std::max<int>(R.top, 0); y < std::min<int>(R.bottom, Bitmap.GetHeight()); ++y)
    for (int x = std::max<int>(R.left, 0); x < std::min<int>(R.right, Bitmap.GetWidth()); ++x)
      if (ColorsClose(At(Bitmap.GetCanvas(), x, y), Color, Tolerance))
        ++count;
  return count;
}

struct TCanvasEvents : TObject {
  int Changing = 0, Changed = 0;
  void OnChanging(TObject*) { ++Changing; }
  void OnChanged(TObject*) { ++Changed; }
};

}  // namespace

class CanvasTest : public TGdiLeakTest {
protected:
  void SetUp() override
  {
    TGdiLeakTest::SetUp();
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->SetPixelFormat(pf32bit);
    FBitmap->SetSize(100, 60);
  }
  void TearDown() override
  {
    FBitmap.reset();
    TGdiLeakTest::TearDown();
  }
  TCanvas* Canvas() { return FBitmap->GetCanvas(); }
  std::unique_ptr<TBitmap> FBitmap;
};

TEST_F(CanvasTest, FillRectWithASystemColour)
{
  Canvas()->GetBrush()->SetColor(clBtnFace);
  Canvas()->FillRect(Rect(0, 0, 40, 30));
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_TRUE(ColorNear(At(Canvas(), 0, 0), face, 0));
  EXPECT_TRUE(ColorNear(At(Canvas(), 39, 29), face, 0));
  EXPECT_TRUE(ColorNear(At(Canvas(), 40, 29), RGB(255, 255, 255), 0));

  Canvas()->GetBrush()->SetColor(clHighlight);
  Canvas()->FrameRect(Rect(50, 10, 70, 30));
  COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_TRUE(ColorNear(At(Canvas(), 50, 20), highlight, 0));
  EXPECT_TRUE(ColorNear(At(Canvas(), 69, 20), highlight, 0));
  EXPECT_TRUE(ColorNear(At(Canvas(), 60, 20), RGB(255, 255, 255), 0)) << "a frame is only the edge";
}

TEST_F(CanvasTest, EllipsePolygonPolylineAndFocusRect)
{
  Canvas()->GetPen()->SetColor(clNavy);
  Canvas()->GetBrush()->SetColor(clYellow);
  Canvas()->Ellipse(Rect(0, 0, 40, 40));
  EXPECT_TRUE(ColorNear(At(Canvas(), 20, 20), RGB(255, 255, 0), 0));
  EXPECT_TRUE(ColorNear(At(Canvas(), 1, 1), RGB(255, 255, 255), 0)) << "corners stay outside the ellipse";

  Canvas()->GetBrush()->SetColor(clPurple);
  Canvas()->Polygon({Point(50, 5), Point(90, 5), Point(90, 45)});
  EXPECT_TRUE(ColorNear(At(Canvas(), 85, 10), RGB(0x80, 0, 0x80), 0));
  EXPECT_TRUE(ColorNear(At(Canvas(), 55, 40), RGB(255, 255, 255), 0));

  Canvas()->GetPen()->SetColor(clTeal);
  Canvas()->Polyline({Point(0, 55), Point(30, 55), Point(30, 45)});
  EXPECT_TRUE(ColorNear(At(Canvas(), 15, 55), RGB(0, 0x80, 0x80), 0));
  EXPECT_TRUE(ColorNear(At(Canvas(), 30, 50), RGB(0, 0x80, 0x80), 0));
  Canvas()->Polyline(nullptr, 5);  // ignored, not a crash

  FBitmap->GetCanvas()->GetBrush()->SetColor(clWhite);
  Canvas()->FillRect(Rect(0, 0, 100, 60));
  Canvas()->DrawFocusRect(Rect(10, 10, 30, 30));
  EXPECT_GT(CountNear(*FBitmap, Rect(10, 10, 30, 11), RGB(0, 0, 0), 10), 3) << "dotted top edge";
  EXPECT_EQ(CountNear(*FBitmap, Rect(12, 12, 28, 28), RGB(0, 0, 0), 10), 0);
}

TEST_F(CanvasTest, TextPixelsAppearInsideTheExtentOnly)
{
  Canvas()->GetFont()->SetColor(clBlack);
  Canvas()->GetFont()->SetSize(12);
  Canvas()->GetBrush()->SetStyle(bsClear);
  TSize extent = Canvas()->TextExtent(L"WMW");
  ASSERT_GT(extent.cx, 10);
  ASSERT_GT(extent.cy, 8);
  EXPECT_EQ(Canvas()->TextWidth(L"WMW"), extent.cx);
  EXPECT_EQ(Canvas()->TextHeight(L"WMW"), extent.cy);
  EXPECT_GT(Canvas()->TextWidth(L"WMWWMW"), extent.cx);

  Canvas()->TextOut(5, 5, L"WMW");
  EXPECT_EQ(Canvas()->GetPenPos(), Point(5 + extent.cx, 5));
  TRect inside = Bounds(5, 5, extent.cx, extent.cy);
  EXPECT_GT(CountNear(*FBitmap, inside, RGB(0, 0, 0), 60), 10);
  TRect below = Rect(0, 5 + extent.cy + 1, 100, 60);
  EXPECT_EQ(CountNear(*FBitmap, below, RGB(0, 0, 0), 60), 0);
  EXPECT_TRUE(ColorNear(At(Canvas(), 4, 5 + extent.cy / 2), RGB(255, 255, 255), 0));
}

TEST_F(CanvasTest, TextRectClipsAndFillsWithTheBrush)
{
  Canvas()->GetFont()->SetColor(clBlack);
  Canvas()->GetBrush()->SetColor(clAqua);
  TRect clip = Rect(10, 10, 30, 40);
  Canvas()->TextRect(clip, 12, 12, L"WWWWWWWWWWWW");
  EXPECT_TRUE(ColorNear(At(Canvas(), 10, 38), RGB(0, 255, 255), 0)) << "the rectangle is filled";
  EXPECT_GT(CountNear(*FBitmap, clip, RGB(0, 0, 0), 60), 5);
  EXPECT_EQ(CountNear(*FBitmap, Rect(30, 0, 100, 60), RGB(0, 0, 0), 60), 0) << "text is clipped";
  EXPECT_EQ(CountNear(*FBitmap, Rect(30, 0, 100, 60), RGB(0, 255, 255), 0), 0);
}

TEST_F(CanvasTest, FormattedTextRectMeasuresAlignsAndShortens)
{
  Canvas()->GetFont()->SetColor(clBlack);
  Canvas()->GetBrush()->SetStyle(bsClear);
  String text = L"Hello";
  TRect measure = Rect(0, 0, 0, 0);
  Canvas()->TextRect(measure, text, {tfCalcRect, tfSingleLine});
  EXPECT_EQ(RectWidth(measure), Canvas()->TextWidth(L"Hello"));
  EXPECT_EQ(CountNear(*FBitmap, Rect(0, 0, 100, 60), RGB(0, 0, 0), 60), 0) << "measuring draws nothing";

  TRect right = Rect(0, 0, 100, 20);
  Canvas()->TextRect(right, text, {tfRight, tfSingleLine, tfVerticalCenter});
  EXPECT_EQ(CountNear(*FBitmap, Rect(0, 0, 50, 20), RGB(0, 0, 0), 60), 0) << "right aligned";
  EXPECT_GT(CountNear(*FBitmap, Rect(100 - RectWidth(measure), 0, 100, 20), RGB(0, 0, 0), 60), 5);

  String longText = L"A rather long caption";
  TRect narrow = Rect(0, 30, 40, 50);
  Canvas()->TextRect(narrow, longText, {tfEndEllipsis, tfModifyString, tfSingleLine});
  EXPECT_NE(longText, L"A rather long caption");
  EXPECT_NE(longText.find(L"..."), String::npos) << ToUtf8(longText);
}

TEST_F(CanvasTest, PixelsClipRectAndCopyRect)
{
  Canvas()->SetPixel(3, 4, clFuchsia);
  EXPECT_EQ(Canvas()->GetPixel(3, 4), clFuchsia);
  EXPECT_EQ(Canvas()->GetPixel(500, 500), clNone);
  EXPECT_EQ(Canvas()->GetClipRect(), Rect(0, 0, 100, 60));

  TBitmap source;
  source.SetPixelFormat(pf32bit);
  source.SetSize(10, 10);
  source.GetCanvas()->GetBrush()->SetColor(clRed);
  source.GetCanvas()->FillRect(Rect(0, 0, 10, 10));
  Canvas()->CopyRect(Rect(50, 20, 60, 30), source.GetCanvas(), Rect(0, 0, 10, 10));
  EXPECT_TRUE(ColorNear(At(Canvas(), 55, 25), RGB(255, 0, 0), 0));
  Canvas()->SetCopyMode(cmNotSrcCopy);
  Canvas()->CopyRect(Rect(70, 20, 90, 40), source.GetCanvas(), Rect(0, 0, 10, 10));
  EXPECT_TRUE(ColorNear(At(Canvas(), 80, 30), RGB(0, 255, 255), 0)) << "inverted and stretched";
}

TEST_F(CanvasTest, ChangeEventsSurroundEachDrawing)
{
  TCanvasEvents events;
  TCanvas canvas;
  TDib32 dib(20, 20);
  canvas.SetHandle(dib.DC());
  canvas.OnChanging = TNotifyEvent(&events, &TCanvasEvents::OnChanging);
  canvas.OnChange = TNotifyEvent(&events, &TCanvasEvents::OnChanged);
  canvas.FillRect(Rect(0, 0, 5, 5));
  canvas.LineTo(10, 10);
  canvas.TextOut(0, 0, L"x");
  EXPECT_EQ(events.Changing, 3);
  EXPECT_EQ(events.Changed, 3);
  canvas.TextExtent(L"abc");
  canvas.GetPixel(1, 1);
  EXPECT_EQ(events.Changed, 3) << "reading does not change anything";
  canvas.SetHandle(nullptr);
}

TEST_F(CanvasTest, ExternalDCGetsItsObjectsBack)
{
  TDib32 dib(40, 40);
  HDC dc = dib.DC();
  HGDIOBJ font0 = GetCurrentObject(dc, OBJ_FONT), pen0 = GetCurrentObject(dc, OBJ_PEN),
          brush0 = GetCurrentObject(dc, OBJ_BRUSH);
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.GetBrush()->SetColor(clRed);
    canvas.Rectangle(0, 0, 10, 10);
    canvas.TextOut(0, 12, L"Ab");
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas.GetFont()->GetHandle());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), canvas.GetBrush()->GetHandle());

    // A change while selected: the new font goes in, the old one is not left behind.
    canvas.GetFont()->SetStyle({fsBold});
    canvas.TextOut(0, 24, L"Ab");
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas.GetFont()->GetHandle());
    canvas.GetFont()->SetColor(clBlue);
    canvas.TextOut(20, 24, L"A");
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255)) << "a colour change reaches the DC";

    canvas.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font0);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen0);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush0);
    canvas.SetHandle(dc);
    canvas.LineTo(5, 5);
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen0) << "the destructor lets go of the DC too";
  TCanvas bare;
  EXPECT_THROW(bare.LineTo(1, 1), EInvalidOperation);
}
