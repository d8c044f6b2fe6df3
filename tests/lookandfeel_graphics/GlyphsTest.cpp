// Glyph drawing modes on a small known glyph and on an image-list image: transparent
// pixels stay untouched and every mode gives its colours. Also the
// ghosting transform of bar areas.
#include "GraphicsFixture.h"
#include "support/SysColors.h"

namespace {

constexpr COLORREF Hole = RGB(255, 0, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 128, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF White = RGB(255, 255, 255);

// 4 x 4, transparent (magenta, the bottom-left pixel) but for a 2 x 2 block at (1, 1):
// red, green / blue, white.
void MakeGlyph(TBitmap& Glyph)
{
  Glyph.SetPixelFormat(pf32bit);
  Glyph.SetSize(4, 4);
  TCanvas* c = Glyph.GetCanvas();
  c->GetBrush()->SetColor(TColor(Hole));
  c->FillRect(Rect(0, 0, 4, 4));
  c->SetPixel(1, 1, TColor(Red));
  c->SetPixel(2, 1, TColor(Green));
  c->SetPixel(1, 2, TColor(Blue));
  c->SetPixel(2, 2, TColor(White));
}

class TGlyphTest : public TDrawingTest {
protected:
  // The glyph rectangle: the block lands at (11, 11) - (12, 12).
  const TRect Cell = Rect(10, 10, 14, 14);

  void Draw(TcxGlyphDrawingMode Mode, const TcxGlyphDrawOptions& Options = {})
  {
    TBitmap glyph;
    MakeGlyph(glyph);
    DrawGlyphOrImage(DC(), TRect{}, Cell, &glyph, nullptr, -1, Mode, Options);
  }
  // Everything but the block itself is untouched paper.
  void ExpectOnlyBlockPainted()
  {
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x)
        if (!(x >= 11 && x <= 12 && y >= 11 && y <= 12)) {
          ASSERT_EQ(At(x, y), Paper) << x << ", " << y;
        }
  }
};

TEST_F(TGlyphTest, EachModeGivesItsColoursOnTheOpaquePixelsOnly)
{
  TSysColorsScope colors({{COLOR_BTNFACE, RGB(200, 100, 50)}});
  struct TRow {
    const char* Case;
    TcxGlyphDrawingMode Mode;
    TColor Face;
    COLORREF Block[4];  // where the glyph is red, green, blue and white
  };
  const TRow rows[] = {
      {"normal", gdmNormal, clDefault, {Red, Green, Blue, White}},
      {"an unknown mode draws normally", TcxGlyphDrawingMode(42), clDefault, {Red, Green, Blue, White}},
      {"grey is the luminance", gdmGrey, clDefault, {RGB(76, 76, 76), RGB(75, 75, 75), RGB(28, 28, 28), White}},
      {"faded: 40 % of the face",
       gdmFaded,
       clDefault,
       {RGB(233, 40, 20), RGB(80, 116, 20), RGB(80, 40, 173), RGB(233, 193, 173)}},
      {"faded towards the face given",
       gdmFaded,
       clBlack,
       {RGB(153, 0, 0), RGB(0, 76, 0), RGB(0, 0, 153), RGB(153, 153, 153)}},
      {"disabled faded: a light grey halfway to the face",
       gdmDisabledFaded,
       clDefault,
       {RGB(183, 133, 108), RGB(182, 132, 107), RGB(171, 121, 96), RGB(227, 177, 152)}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Case);
    Dib().Fill(Paper);
    TcxGlyphDrawOptions options;
    if (row.Face != clDefault)
      options.FaceColor = row.Face;
    Draw(row.Mode, options);
    EXPECT_EQ(At(11, 11), row.Block[0]);
    EXPECT_EQ(At(12, 11), row.Block[1]);
    EXPECT_EQ(At(11, 12), row.Block[2]);
    EXPECT_EQ(At(12, 12), row.Block[3]);
    ExpectOnlyBlockPainted();
  }
}

TEST_F(TGlyphTest, DisabledIsEmbossedInHighlightAndShadow)
{
  COLORREF highlight = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
  Draw(gdmDisabled);
  // The shape in place is shadow; the highlight copy shows right and below it.
  EXPECT_EQ(At(11, 11), shadow);
  EXPECT_EQ(At(12, 12), shadow);
  EXPECT_EQ(At(13, 12), highlight);
  EXPECT_EQ(At(12, 13), highlight);
  EXPECT_EQ(At(13, 13), highlight);
  EXPECT_EQ(At(10, 10), Paper);
  EXPECT_EQ(At(13, 11), Paper);
  int painted = CountPixels(Dib(), Rect(0, 0, Width, Height), [&](COLORREF c) { return c != Paper; });
  int twoColours =
      CountPixels(Dib(), Rect(0, 0, Width, Height), [&](COLORREF c) { return c == highlight || c == shadow; });
  EXPECT_EQ(painted, 4 + 3) << "the highlight shows where the shadow does not cover it";
  EXPECT_EQ(twoColours, painted) << "no colour of the image survives";
}

TEST_F(TGlyphTest, ShadowedLiftsTheImageOverASoftShadow)
{
  Draw(gdmShadowed);
  COLORREF shade = RGB(GetRValue(Paper) * 60 / 100, GetGValue(Paper) * 60 / 100, GetBValue(Paper) * 60 / 100);
  EXPECT_EQ(At(10, 10), Red) << "image one pixel up and left";
  EXPECT_EQ(At(11, 11), White);
  EXPECT_EQ(At(12, 12), shade) << "shadow one pixel down and right";
  EXPECT_EQ(At(13, 13), shade);
  EXPECT_EQ(At(12, 13), shade);
  EXPECT_EQ(At(9, 9), Paper);
  EXPECT_EQ(At(14, 14), Paper);
  EXPECT_EQ(At(13, 10), Paper);
}

TEST_F(TGlyphTest, OpaqueGlyphAndFixedTransparentColour)
{
  TcxGlyphDrawOptions options;
  options.GlyphTransparentColor = clNone;
  Draw(gdmNormal, options);
  EXPECT_EQ(At(10, 10), Hole) << "clNone: the glyph is opaque";
  Dib().Fill(Paper);
  options.GlyphTransparentColor = TColor(Red);
  Draw(gdmNormal, options);
  EXPECT_EQ(At(10, 10), Hole);
  EXPECT_EQ(At(11, 11), Paper) << "red is the transparent colour now";
}

TEST_F(TGlyphTest, StretchesToTheGlyphRectangleAndFillsTheBackground)
{
  TBitmap glyph;
  MakeGlyph(glyph);
  TcxGlyphDrawOptions options;
  options.BackgroundBrush = HBRUSH(COLOR_BTNFACE + 1);
  DrawGlyphOrImage(DC(), Rect(0, 0, 30, 30), Rect(10, 10, 18, 18), &glyph, nullptr, -1, gdmNormal, options);
  EXPECT_EQ(At(12, 12), Red);
  EXPECT_EQ(At(13, 13), Red);
  EXPECT_EQ(At(14, 13), Green);
  EXPECT_EQ(At(15, 15), White);
  EXPECT_EQ(At(10, 10), Sys(COLOR_BTNFACE)) << "transparent pixels show the background fill";
  EXPECT_EQ(At(29, 29), Sys(COLOR_BTNFACE));
  EXPECT_EQ(At(30, 30), Paper);
}

TEST_F(TGlyphTest, NothingToDrawLeavesThePictureAlone)
{
  TBitmap empty;
  DrawGlyphOrImage(DC(), TRect{}, Cell, &empty, nullptr, 0, gdmNormal);
  TCustomImageList images(4, 4);
  DrawGlyphOrImage(DC(), TRect{}, Cell, nullptr, &images, 0, gdmNormal);
  DrawGlyphOrImage(DC(), TRect{}, Cell, nullptr, &images, -1, gdmDisabled);
  DrawGlyphOrImage(DC(), TRect{}, Cell, nullptr, nullptr, 0, gdmShadowed);
  EXPECT_EQ(CountPixelsNear(Dib(), Rect(0, 0, Width, Height), Paper, 0), Width * Height);
  EXPECT_FALSE(IsImageAssigned(&images, 0));
  EXPECT_FALSE(IsGlyphAssigned(&empty));
}

class TImageListGlyphTest : public TGlyphTest {
protected:
  void Draw(TcxGlyphDrawingMode Mode, const TcxGlyphDrawOptions& Options = {})
  {
    TCustomImageList images(4, 4);
    TBitmap glyph;
    MakeGlyph(glyph);
    ASSERT_EQ(images.AddMasked(&glyph, clDefault), 0);
    ASSERT_TRUE(IsImageAssigned(&images, 0));
    DrawGlyphOrImage(DC(), TRect{}, Cell, nullptr, &images, 0, Mode, Options);
  }
};

TEST_F(TImageListGlyphTest, BackgroundColourStandsForTransparency)
{
  TcxGlyphDrawOptions options;
  options.ImageListBkColor = clYellow;
  Draw(gdmNormal, options);
  // What the mask leaves out stays transparent rather than taking the colour.
  EXPECT_EQ(At(10, 10), Paper);
  EXPECT_EQ(At(13, 13), Paper);
  EXPECT_EQ(At(11, 11), Red);
  // Pixels of exactly the colour drop out, as in a list without a mask.
  Dib().Fill(Paper);
  options.ImageListBkColor = TColor(Red);
  Draw(gdmNormal, options);
  EXPECT_EQ(At(11, 11), Paper);
  EXPECT_EQ(At(12, 12), White);
}

TEST_F(TImageListGlyphTest, EveryModeMatchesTheGlyphBitmapsResult)
{
  for (int mode = gdmNormal; mode <= gdmShadowed; ++mode) {
    Dib().Fill(Paper);
    Draw(TcxGlyphDrawingMode(mode));
    TDib32 fromGlyph(Width, Height, Paper);
    TBitmap glyph;
    MakeGlyph(glyph);
    DrawGlyphOrImage(fromGlyph.DC(), TRect{}, Cell, &glyph, nullptr, -1, TcxGlyphDrawingMode(mode));
    int differing = 0;
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x)
        differing += At(x, y) != fromGlyph.Pixel(x, y);
    EXPECT_EQ(differing, 0) << "mode " << mode;
  }
}

using TTransformTest = TDrawingTest;

TEST_F(TTransformTest, KeyAndLightPixelsBecomeTheTargetOthersFadeOnAGrid)
{
  TSysColorsScope colors({{COLOR_BTNFACE, RGB(200, 100, 50)}});
  const COLORREF face = RGB(200, 100, 50);
  FillRectByColor(DC(), Rect(0, 0, 4, 4), clBlack);
  FillRectByColor(DC(), Rect(4, 0, 8, 4), TColor(RGB(200, 200, 200)));
  FillRectByColor(DC(), Rect(8, 0, 12, 4), TColor(RGB(100, 100, 100)));
  TransformRectThroughBitmap(Canvas(), Rect(0, 0, 12, 4), clBlack, 170, 20, 2, clBtnFace);
  EXPECT_EQ(At(0, 0), face) << "the key colour";
  EXPECT_EQ(At(5, 1), face) << "light pixel";
  const COLORREF faded = RGB(120, 100, 90);  // 20 % of the way from grey 100 to the face
  EXPECT_EQ(At(8, 0), faded) << "(x + y) even in the rectangle";
  EXPECT_EQ(At(9, 0), face) << "(x + y) odd";
  EXPECT_EQ(At(9, 1), faded);
  EXPECT_EQ(At(12, 0), Paper) << "outside the rectangle";
  EXPECT_EQ(At(0, 4), Paper);
}

TEST_F(TTransformTest, NoGridAndOutOfRangeArguments)
{
  FillRectByColor(DC(), Rect(0, 0, 4, 4), TColor(RGB(100, 0, 0)));
  TransformRectThroughBitmap(Canvas(), Rect(0, 0, 4, 4), clWhite, 300, 150, 0, clBlack);
  EXPECT_EQ(At(1, 0), RGB(0, 0, 0)) << "percent clamped to 100, no grid";
  FillRectByColor(DC(), Rect(0, 0, 4, 4), TColor(RGB(100, 0, 0)));
  TransformRectThroughBitmap(Canvas(), Rect(0, 0, 4, 4), clWhite, 300, 0, 1, clBlack);
  EXPECT_EQ(At(1, 0), RGB(100, 0, 0)) << "0 % leaves the pixel";
  TransformRectThroughBitmap(Canvas(), Rect(0, 0, 4, 4), clWhite, 0, 0, 1, clNone);
  EXPECT_EQ(At(1, 0), RGB(100, 0, 0)) << "clNone does nothing";
}

}  // namespace
