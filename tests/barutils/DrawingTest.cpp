// Arrow, frame, size-grip and glyph drawing probed pixel by pixel on a DIB section, the
// glyph drawing-mode rules, clip regions and layered-window alpha.
#include <gtest/gtest.h>

#include "bars/dxBar.h"
#include "platform/Forms.h"
#include "support/Pixels.h"

namespace {

const COLORREF White = RGB(255, 255, 255);
// A background no system colour of the default scheme has.
const COLORREF Back = RGB(0, 80, 160);

COLORREF Sys(int Index)
{
  return GetSysColor(Index);
}

TEST(ArrowDrawing, AutomaticSize)
{
  // d = 20 - 8 = 12 (even): (12 - 1) div 2 = 5.
  EXPECT_EQ(GetArrowSizeForRect(Rect(0, 0, 20, 16), adDown), 5);
  // d = 21 - 8 = 13 (odd): 6 + 1.
  EXPECT_EQ(GetArrowSizeForRect(Rect(0, 0, 21, 16), adUp), 7);
  // Left and right arrows measure the height: 16 - 6 = 10 -> 4.
  EXPECT_EQ(GetArrowSizeForRect(Rect(0, 0, 20, 16), adRight), 4);
  EXPECT_EQ(GetArrowSizeForRect(Rect(0, 0, 4, 4), adLeft), 3);
}

TEST(ArrowDrawing, DisabledArrowIsEmbossedUnlessFlat)
{
  TDib32 dib(20, 16, Back);
  DrawArrow(dib.DC(), Rect(0, 0, 20, 16), adDown, clDefault, false);
  EXPECT_EQ(dib.Pixel(4, 5), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(dib.Pixel(9, 10), Sys(COLOR_BTNSHADOW));
  // The highlight copy one pixel down and right shows below and right of the shape.
  EXPECT_EQ(dib.Pixel(15, 6), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(dib.Pixel(10, 11), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(dib.Pixel(4, 6), Back);

  TDib32 flat(20, 16, Back);
  DrawArrow(flat.DC(), Rect(0, 0, 20, 16), adDown, clDefault, false, false, true);
  EXPECT_EQ(flat.Pixel(4, 5), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(flat.Pixel(15, 6), Back);
  EXPECT_EQ(flat.Pixel(10, 11), Back);
}

TEST(ArrowDrawing, SizedRightArrowInAGivenColour)
{
  TDib32 dib(12, 12);
  DrawArrowSized(dib.DC(), Rect(0, 0, 12, 12), adRight, 3, clRed);
  // Base column of 7 pixels, tip 3 to the right, centred.
  int red = CountPixelsNear(dib, RECT{0, 0, 12, 12}, RGB(255, 0, 0), 0);
  EXPECT_EQ(red, 7 + 5 + 3 + 1);
  EXPECT_EQ(dib.Pixel(4, 2), RGB(255, 0, 0));
  EXPECT_EQ(dib.Pixel(4, 8), RGB(255, 0, 0));
  EXPECT_EQ(dib.Pixel(7, 5), RGB(255, 0, 0));
  EXPECT_EQ(dib.Pixel(8, 5), White);
}

TEST(FrameDrawing, DottedFramesSetEvenPixels)
{
  TDib32 dib(10, 8);
  DrawDottedFrame(dib.DC(), Rect(1, 1, 9, 7));
  const COLORREF text = Sys(COLOR_BTNTEXT);
  EXPECT_EQ(dib.Pixel(1, 1), text);
  EXPECT_EQ(dib.Pixel(2, 1), White);
  EXPECT_EQ(dib.Pixel(3, 1), text);
  EXPECT_EQ(dib.Pixel(8, 2), text);
  EXPECT_EQ(dib.Pixel(8, 3), White);
  EXPECT_EQ(dib.Pixel(2, 6), text);
  // The inside stays untouched.
  EXPECT_EQ(dib.Pixel(4, 4), White);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x)
      if (dib.Pixel(x, y) == text) {
        EXPECT_EQ((x + y) % 2, 0) << x << "," << y;
      }

  TDib32 twice(10, 8);
  DrawDottedDoubleFrame(twice.DC(), Rect(0, 0, 10, 8));
  EXPECT_EQ(twice.Pixel(0, 0), text);
  EXPECT_EQ(twice.Pixel(1, 1), text);
  EXPECT_EQ(twice.Pixel(2, 1), White);
  EXPECT_EQ(twice.Pixel(4, 4), White);
}

TEST(FrameDrawing, DoubleAndHighlightFrames)
{
  TDib32 dib(10, 10);
  FrameRectDouble(dib.DC(), Rect(0, 0, 10, 10), COLOR_BTNSHADOW);
  EXPECT_EQ(dib.Pixel(0, 5), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(dib.Pixel(1, 5), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(dib.Pixel(2, 5), White);
  FrameRectWithHighlightColor(dib.DC(), Rect(3, 3, 7, 7));
  EXPECT_EQ(dib.Pixel(3, 3), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(dib.Pixel(4, 4), White);
}

TEST(FrameDrawing, SizeGripIsTransparent)
{
  const COLORREF under = RGB(10, 200, 30);
  TDib32 dib(20, 20, under);
  DrawSizeGrip(dib.DC(), Rect(2, 2, 18, 18));
  const RECT all{0, 0, 20, 20};
  // No face colour reaches the target: where the grip has none of its lines the target shows.
  EXPECT_EQ(CountPixelsNear(dib, all, Sys(COLOR_BTNFACE), 0), 0);
  EXPECT_GT(CountPixelsNear(dib, all, Sys(COLOR_BTNSHADOW), 0), 5);
  EXPECT_GT(CountPixelsNear(dib, all, under, 0), 200);
  EXPECT_EQ(dib.Pixel(3, 3), under);
}

TEST(Backgrounds, TilesFromTheOrigin)
{
  TBitmap tile;
  tile.SetPixelFormat(pf32bit);
  tile.SetSize(2, 2);
  tile.GetCanvas()->SetPixel(0, 0, clRed);
  tile.GetCanvas()->SetPixel(1, 0, clLime);
  tile.GetCanvas()->SetPixel(0, 1, clBlue);
  tile.GetCanvas()->SetPixel(1, 1, clBlack);
  TDib32 dib(8, 8);
  FillRectWithBackground(dib.DC(), Rect(1, 1, 7, 7), &tile, TPoint{1, 1}, nullptr, clYellow);
  EXPECT_EQ(dib.Pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(dib.Pixel(2, 1), RGB(0, 255, 0));
  EXPECT_EQ(dib.Pixel(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(dib.Pixel(6, 6), RGB(0, 0, 0));
  EXPECT_EQ(dib.Pixel(0, 0), White);
  EXPECT_EQ(dib.Pixel(7, 7), White);
  // An origin off the rectangle shifts the grid.
  FillRectWithBackground(dib.DC(), Rect(0, 0, 8, 8), &tile, TPoint{1, 0}, nullptr);
  EXPECT_EQ(dib.Pixel(0, 0), RGB(0, 255, 0));
  // Without a picture: the brush, else the colour.
  TBitmap empty;
  FillRectWithBackground(dib.DC(), Rect(0, 0, 8, 8), &empty, TPoint{0, 0}, HBRUSH(COLOR_BTNSHADOW + 1));
  EXPECT_EQ(dib.Pixel(4, 4), Sys(COLOR_BTNSHADOW));
  FillRectWithBackground(dib.DC(), Rect(0, 0, 8, 8), nullptr, TPoint{0, 0}, nullptr, clYellow);
  EXPECT_EQ(dib.Pixel(4, 4), RGB(255, 255, 0));
}

// ---------------------------------------------------------------------------

TEST(GlyphDrawingMode, Rules)
{
  TdxBarGlyphStateInfo info;
  info.ColorDepth = 32;
  EXPECT_EQ(GetGlyphDrawingMode(info), gdmNormal);

  TdxBarGlyphStateInfo disabled = info;
  disabled.DrawnEnabled = false;
  disabled.GrayScale = true;
  EXPECT_EQ(GetGlyphDrawingMode(disabled), gdmDisabled);
  disabled.FadedDisabledImages = true;
  EXPECT_EQ(GetGlyphDrawingMode(disabled), gdmDisabledFaded);

  TdxBarGlyphStateInfo grey = info;
  grey.GrayScale = true;
  grey.IdleGlyphsFaded = true;
  EXPECT_EQ(GetGlyphDrawingMode(grey), gdmGrey);

  TdxBarGlyphStateInfo faded = info;
  faded.IdleGlyphsFaded = true;
  faded.HotGlyphsShadowed = true;
  EXPECT_EQ(GetGlyphDrawingMode(faded), gdmFaded);
  faded.ColorDepth = 8;
  EXPECT_EQ(GetGlyphDrawingMode(faded), gdmNormal);
  faded.ColorDepth = 9;
  EXPECT_EQ(GetGlyphDrawingMode(faded), gdmFaded);
  faded.Down = true;
  EXPECT_EQ(GetGlyphDrawingMode(faded), gdmNormal);

  TdxBarGlyphStateInfo hot = info;
  hot.IdleGlyphsFaded = true;
  hot.HotGlyphsShadowed = true;
  hot.Selected = true;
  EXPECT_EQ(GetGlyphDrawingMode(hot), gdmShadowed);
  hot.Pressed = true;
  EXPECT_EQ(GetGlyphDrawingMode(hot), gdmNormal);
  hot.Pressed = false;
  hot.HotGlyphsShadowed = false;
  EXPECT_EQ(GetGlyphDrawingMode(hot), gdmNormal);
  // Shadowing comes only with faded idle glyphs.
  hot.HotGlyphsShadowed = true;
  hot.IdleGlyphsFaded = false;
  EXPECT_EQ(GetGlyphDrawingMode(hot), gdmNormal);

  // Without a depth of its own the rule reads the depth found at start-up.
  TdxBarGlyphStateInfo screen;
  screen.IdleGlyphsFaded = true;
  EXPECT_EQ(GetGlyphDrawingMode(screen), dxBarScreenColorDepth() > 8 ? gdmFaded : gdmNormal);
}

// A 3 x 3 glyph: one colour, with its bottom-left pixel (the transparent colour) fuchsia.
class TGlyphFixture : public testing::Test {
protected:
  TGlyphFixture()
  {
    Glyph.SetPixelFormat(pf24bit);
    Glyph.SetSize(3, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 3; ++x)
        Glyph.GetCanvas()->SetPixel(x, y, TColor(Color));
    Glyph.GetCanvas()->SetPixel(0, 2, clFuchsia);
  }
  const COLORREF Color = RGB(200, 100, 50);
  TBitmap Glyph;
};

TEST_F(TGlyphFixture, DrawGlyphInRectCentresAndFillsTheBackground)
{
  TDib32 dib(11, 11);
  DrawGlyphInRect(dib.DC(), Rect(0, 0, 11, 11), &Glyph, nullptr, -1, gdmNormal, HBRUSH(COLOR_BTNSHADOW + 1));
  EXPECT_EQ(dib.Pixel(4, 4), Color);
  EXPECT_EQ(dib.Pixel(6, 5), Color);
  EXPECT_EQ(dib.Pixel(3, 3), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(dib.Pixel(4, 6), Sys(COLOR_BTNSHADOW));  // transparent: the background shows
  // Nothing assigned: only the background.
  TDib32 none(5, 5);
  DrawGlyphInRect(none.DC(), Rect(0, 0, 5, 5), nullptr, nullptr, 0, gdmNormal, HBRUSH(COLOR_BTNSHADOW + 1));
  EXPECT_EQ(CountPixelsNear(none, RECT{0, 0, 5, 5}, Sys(COLOR_BTNSHADOW), 0), 25);
}

// ---------------------------------------------------------------------------

TEST(ClipRegions, SaveAddAndRestore)
{
  const RECT Whole{0, 0, 10, 10};
  TDib32 dib(10, 10);
  HDC dc = dib.DC();
  TdxBarClipRgn none = SaveClipRgn(dc);
  EXPECT_FALSE(none.HadRegion);
  IntersectClipRect(dc, 0, 0, 2, 2);
  TdxBarClipRgn small = SaveClipRgn(dc);
  EXPECT_TRUE(small.HadRegion);
  AddRectToClipRgn(dc, Rect(5, 5, 7, 7));
  FillRect(dc, &Whole, HBRUSH(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(dib.Pixel(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(dib.Pixel(6, 6), RGB(0, 0, 0));
  EXPECT_EQ(dib.Pixel(3, 3), White);
  RestoreClipRgn(dc, small);
  EXPECT_EQ(small.Region, nullptr);
  dib.Fill(White);
  FillRect(dc, &Whole, HBRUSH(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(dib.Pixel(6, 6), White);
  RestoreClipRgn(dc, none);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, probe), 0);
  DeleteObject(probe);
  // Without a clip region adding keeps everything visible.
  AddRectToClipRgn(dc, Rect(0, 0, 1, 1));
  FillRect(dc, &Whole, HBRUSH(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(dib.Pixel(9, 9), RGB(0, 0, 0));
}

TEST(ClipRegions, ExcludeFrameFromCanvasClip)
{
  const RECT Whole{0, 0, 10, 10};
  TDib32 dib(10, 10);
  TCanvas canvas;
  canvas.SetHandle(dib.DC());
  TcxCanvas cx(&canvas);
  ExcludeFrameFromCanvasClip(&cx, Rect(1, 1, 9, 9), Rect(3, 3, 7, 7));
  FillRect(dib.DC(), &Whole, HBRUSH(GetStockObject(BLACK_BRUSH)));
  canvas.SetHandle(nullptr);
  EXPECT_EQ(dib.Pixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(dib.Pixel(2, 2), White);
  EXPECT_EQ(dib.Pixel(8, 5), White);
  EXPECT_EQ(dib.Pixel(5, 5), RGB(0, 0, 0));
  SelectClipRgn(dib.DC(), nullptr);
}

TEST(Windows, AlphaBlendAddsAndRemovesTheLayeredStyle)
{
  ASSERT_NE(dxSetLayeredWindowAttributes, nullptr);
  HWND wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
  SetWindowAlphaBlend(wnd, 128);
  EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_TRUE(flags & LWA_ALPHA);
  SetWindowAlphaBlend(wnd, 255);
  EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  DestroyWindow(wnd);
}

TEST(Windows, DeepestWindowAndForeignWindows)
{
  HWND top = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
  HWND child =
      CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 30, 30, top, nullptr, nullptr, nullptr);
  HWND hidden = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 50, 50, 30, 30, top, nullptr, nullptr, nullptr);
  EXPECT_EQ(DeepestWindowFromPoint(TPoint{65, 65}), child);
  EXPECT_EQ(DeepestWindowFromPoint(TPoint{105, 105}), top);  // the hidden child is skipped
  EXPECT_TRUE(HasParentWindow(child, top));
  EXPECT_FALSE(HasParentWindow(top, child));
  EXPECT_FALSE(IsForeignProcessWindow(top));
  EXPECT_TRUE(IsForeignProcessWindow(nullptr));
  DestroyWindowAndClear(top);
  EXPECT_EQ(top, nullptr);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(hidden));
}

}  // namespace

TEST(VisualStyleHelpers, EditColoursAndTheSmallCloseButtonAtItsEdge)
{
  EXPECT_EQ(EnabledToThemeState(true), dxThemeStateNormal);
  EXPECT_EQ(EnabledToThemeState(false), dxThemeStateDisabled);
  // Only a disabled edit takes the theme's fill; an enabled one is the window colour.
  EXPECT_EQ(GetThemedEditFillColor(dxThemeStateNormal), GetSysColor(COLOR_WINDOW));
  EXPECT_NE(GetThemedEditTextColor(dxThemeStateNormal), CLR_INVALID);
  const TSize size = GetThemedSmallCloseButtonSize();
  if (size.cx <= 0)
    GTEST_SKIP() << "no visual styles";
  const RECT r{0, 0, size.cx * 3, size.cy + 4};
  const RECT left{0, 0, size.cx, r.bottom}, right{r.right - size.cx, 0, r.right, r.bottom};
  auto notFace = [](COLORREF c) { return !ColorsClose(c, GetSysColor(COLOR_BTNFACE), 2); };
  for (bool atLeft : {true, false}) {
    TDib32 dib(r.right, r.bottom, RGB(255, 0, 255));
    DrawThemedSmallCloseButton(dib.DC(), Rect(0, 0, r.right, r.bottom), TdxBarCloseButtonState::Normal, atLeft);
    EXPECT_EQ(CountPixels(dib, r, [](COLORREF c) { return c == RGB(255, 0, 255); }), 0) << "all filled";
    EXPECT_GT(CountPixels(dib, atLeft ? left : right, notFace), 0) << atLeft;
    EXPECT_EQ(CountPixels(dib, atLeft ? right : left, notFace), 0) << atLeft;
  }
}
