// Menus of the flat painter on a test double menu window: items idle, selected, down and
// disabled, the frame with and without the tear-off strip, background, separators, the
// two-line description under a caption.
#include <cstdlib>

#include "PaintTestUtil.h"

namespace {

const TRect ItemRect = Rect(0, 0, 140, 24);

struct TMenuHost : TPaintHost {
  TMenuHost()
  {
    Bar->BarKind = bkMenu;
    Bar->GlyphColumnWidth = 24;
    Bar->TextHeight = 22;
  }
};

struct TMenuItemState {
  bool Selected = false;
  bool Down = false;
  bool Enabled = true;
  bool Glyph = true;
  HBRUSH OwnBrush = nullptr;
};

void DrawMenuItem(TMenuHost& AHost, TDib32& ADib, const TMenuItemState& AState, const TRect& R = ItemRect,
                  const String& ACaption = L"Open")
{
  TDibCanvas canvas(ADib);
  TPaintItem item(AHost.Bar);
  item.Enabled = AState.Enabled;
  item.HasGlyph = AState.Glyph;
  item.OwnBrush = AState.OwnBrush;
  TdxBarButtonLikeControlDrawParams params;
  InitButtonParams(params, &item, &canvas.Cx, ivpGlyph | ivpCaption, ACaption);
  params.BarControlKind = bkMenu;
  params.PaintedSelected = AState.Selected;
  params.IsSelected = AState.Selected;
  params.States.Down = AState.Down;
  AHost.Painter()->DrawButtonLikeControl(&params, R);
}

}  // namespace

// --- Items --------------------------------------------------------------------------

TEST(FlatMenu, IdleItemPaintsItsRingAndGlyphColumnInTheMenuColours)
{
  TMenuHost host;
  TDib32 dib(140, 24, Paper);
  DrawMenuItem(host, dib, {});
  // Nothing of the paper is left: the ring and inside are painted in flat colours.
  EXPECT_EQ(CountPixelsNear(dib, Rect(0, 0, 140, 24), Paper, 2), 0);
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), host.Flat(2), 2));
  EXPECT_TRUE(ColorNear(dib.Pixel(2, 12), host.Flat(2), 2));
  EXPECT_TRUE(ColorNear(dib.Pixel(139, 23), host.Flat(2), 2));
  EXPECT_GT(CountPixels(dib, Rect(4, 4, 20, 20), IsReddish), 0) << "glyph";
}

TEST(FlatMenu, ItemOfItsOwnColourShowsItAlsoBehindItsGlyph)
{
  TMenuHost host;
  const COLORREF own = RGB(200, 160, 40);
  HBRUSH brush = CreateSolidBrush(own);
  TDib32 dib(140, 24, Paper);
  DrawMenuItem(host, dib, {.OwnBrush = brush});
  DeleteObject(brush);
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 12), host.Flat(2), 2)) << "the column's ring keeps the menu colour";
  EXPECT_TRUE(ColorNear(dib.Pixel(2, 12), own, 2)) << ColorText(dib.Pixel(2, 12));
  EXPECT_TRUE(ColorNear(dib.Pixel(100, 12), own, 2)) << ColorText(dib.Pixel(100, 12));
}

TEST(FlatMenu, SelectedItemHasOneHighlightFrameAndBrushFiveInside)
{
  TMenuHost host;
  TDib32 dib(140, 24, Paper);
  DrawMenuItem(host, dib, {.Selected = true});
  COLORREF highlight = Sys(COLOR_HIGHLIGHT);
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), highlight));
  EXPECT_TRUE(ColorNear(dib.Pixel(70, 0), highlight));
  EXPECT_TRUE(ColorNear(dib.Pixel(139, 12), highlight));
  EXPECT_TRUE(ColorNear(dib.Pixel(70, 23), highlight));
  EXPECT_TRUE(ColorNear(dib.Pixel(120, 5), host.Flat(5), 2));
  // No second frame divides the glyph column from the caption.
  EXPECT_TRUE(ColorNear(dib.Pixel(23, 3), host.Flat(5), 2)) << ColorText(dib.Pixel(23, 3));
  EXPECT_TRUE(ColorNear(dib.Pixel(24, 3), host.Flat(5), 2)) << ColorText(dib.Pixel(24, 3));
  EXPECT_GT(CountPixels(dib, Rect(4, 4, 20, 20), IsReddish), 0) << "glyph still visible";
}

TEST(FlatMenu, DownItemWithoutImageShowsACheckMarkInAShadowBox)
{
  TMenuHost host;
  TDib32 dib(140, 24, Paper);
  DrawMenuItem(host, dib, {.Down = true, .Glyph = false});
  // The box sits one pixel inside the item: the cell of the glyph column shrunk by one.
  EXPECT_TRUE(ColorNear(dib.Pixel(1, 12), Sys(COLOR_BTNSHADOW)));
  EXPECT_TRUE(ColorNear(dib.Pixel(22, 12), Sys(COLOR_BTNSHADOW)));
  EXPECT_TRUE(ColorNear(dib.Pixel(4, 4), host.Flat(3), 2)) << "brush 3 inside the box";
  EXPECT_GT(CountPixelsNear(dib, Rect(6, 6, 19, 19), RGB(0, 0, 0), 4), 8) << "black check mark";
}

TEST(FlatMenu, DisabledDownItemDrawsItsMarkAndCaptionWithoutEmboss)
{
  TMenuHost host;
  TDib32 dib(140, 24, Paper);
  DrawMenuItem(host, dib, {.Down = true, .Enabled = false, .Glyph = false});
  EXPECT_EQ(CountPixelsNear(dib, Rect(6, 6, 19, 19), RGB(0, 0, 0), 4), 0);
  EXPECT_GT(CountPixelsNear(dib, Rect(6, 6, 19, 19), Sys(COLOR_BTNSHADOW), 2), 8);
  EXPECT_GT(CountPixelsNear(dib, Rect(27, 2, 139, 22), Sys(COLOR_GRAYTEXT), 2), 5) << "grey caption";
  EXPECT_EQ(CountPixelsNear(dib, Rect(27, 2, 139, 22), Sys(COLOR_BTNTEXT), 2), 0) << "no enabled text";
}

// --- Frame, strip, background and separators ---------------------------------------

TEST(FlatMenu, FrameIsOnePixelOfBrushOne)
{
  TMenuHost host;
  TDib32 dib(100, 80, Paper);
  host.Painter()->DrawMenuFrame(host.Bar, dib.DC(), Rect(0, 0, 100, 80));
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 40), host.Flat(1), 2));
  EXPECT_TRUE(ColorNear(dib.Pixel(99, 79), host.Flat(1), 2));
  EXPECT_EQ(dib.Pixel(1, 1), Paper) << "the inside is the items' business";
}

TEST(FlatMenu, DetachableMenuShowsATearOffStripWithADottedHandle)
{
  TMenuHost host;
  host.Bar->Detachable = true;
  TdxBarPainter* p = host.Painter();
  TDib32 dib(100, 80, Paper);
  p->DrawMenuFrame(host.Bar, dib.DC(), Rect(0, 0, 100, 80));
  int h = p->GetDetachStripHeight(host.Bar);
  ASSERT_GE(h, 4);
  COLORREF window = Sys(COLOR_WINDOW);
  EXPECT_TRUE(ColorNear(dib.Pixel(2, 2), window)) << "side bar";
  EXPECT_TRUE(ColorNear(dib.Pixel(50, h + 1), window)) << "the row below the strip";
  EXPECT_EQ(dib.Pixel(50, h + 3), Paper) << "below the strip area";
  // Handle rows alternate with the strip's brush 2, 33 pixels wide around the centre.
  EXPECT_TRUE(ColorNear(dib.Pixel(50, 2), Sys(COLOR_BTNSHADOW)));
  EXPECT_TRUE(ColorNear(dib.Pixel(50, 3), host.Flat(2), 2));
  // The strip runs from 4 to 96 (side bars of 3 inside the frame): the handle 33 to 65.
  EXPECT_TRUE(ColorNear(dib.Pixel(33, 2), Sys(COLOR_BTNSHADOW)));
  EXPECT_TRUE(ColorNear(dib.Pixel(65, 2), Sys(COLOR_BTNSHADOW)));
  EXPECT_TRUE(ColorNear(dib.Pixel(32, 2), host.Flat(2), 2));
  EXPECT_TRUE(ColorNear(dib.Pixel(66, 2), host.Flat(2), 2));
}

TEST(FlatMenu, HotTearOffStripIsSelectedWithADarkHandle)
{
  TMenuHost host;
  TDib32 dib(100, 12, Paper);
  host.Painter()->DrawDetachStrip(host.Bar, dib.DC(), Rect(0, 0, 100, 9), true);
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 4), Sys(COLOR_HIGHLIGHT)));
  EXPECT_TRUE(ColorNear(dib.Pixel(10, 2), host.Flat(5), 2));
  EXPECT_TRUE(ColorNear(dib.Pixel(50, 1), Sys(COLOR_BTNTEXT)));
  EXPECT_TRUE(ColorNear(dib.Pixel(50, 2), host.Flat(5), 2));
}

TEST(FlatMenu, BackgroundIsFramedInTheWindowColour)
{
  TMenuHost host;
  TdxBarPainter* p = host.Painter();
  EXPECT_EQ(p->GetMenuBorderBrush(host.Bar), dxBarSysColorBrush(COLOR_WINDOW));
  TDib32 dib(60, 40, Paper);
  p->DrawMenuBackground(host.Bar, dib.DC(), Rect(0, 0, 60, 40), host.Bar->GetBackgroundBrush());
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), Sys(COLOR_WINDOW)));
  EXPECT_TRUE(ColorNear(dib.Pixel(59, 39), Sys(COLOR_WINDOW)));
  EXPECT_TRUE(ColorNear(dib.Pixel(30, 20), host.Flat(2), 2));
}

TEST(FlatMenu, SeparatorKeepsTheGlyphColumnAndDrawsAShadowLineFromTheIndent)
{
  TMenuHost host;
  TdxBarPainter* p = host.Painter();
  TDib32 dib(140, 5, Paper);
  TDibCanvas canvas(dib);
  TPaintItem item(host.Bar);
  p->DrawMenuSeparator(host.Bar, &canvas.Cx, Rect(0, 0, 140, 5), &item);
  int indent = p->GetItemIndent(&item);
  EXPECT_EQ(indent, host.Bar->TextHeight + 3);
  int start = indent + p->GetMenuSeparatorIndent();
  COLORREF shadow = Sys(COLOR_BTNSHADOW);
  EXPECT_TRUE(ColorNear(dib.Pixel(start, 2), shadow));
  EXPECT_TRUE(ColorNear(dib.Pixel(139, 2), shadow));
  EXPECT_FALSE(ColorsClose(dib.Pixel(start - 1, 2), shadow, 2)) << "the line starts at the indent";
  EXPECT_TRUE(ColorNear(dib.Pixel(2, 2), host.Flat(2), 2));
  EXPECT_TRUE(ColorNear(dib.Pixel(start + 5, 1), host.Flat(2), 2));
  EXPECT_EQ(CountPixelsNear(dib, Rect(0, 0, 140, 5), Paper, 2), 0);
}

// --- Descriptions -------------------------------------------------------------------

namespace {

// Dark pixels of text in R (the text colour on the light menu colours).
int TextPixels(const TDib32& ADib, const TRect& R)
{
  return CountPixels(ADib, R, [](COLORREF C) { return GetRValue(C) + GetGValue(C) + GetBValue(C) < 300; });
}

// The width from the leftmost to the rightmost text pixel in R.
int InkWidth(const TDib32& ADib, const TRect& R)
{
  int left = R.right;
  int right = R.left - 1;
  for (int x = R.left; x < R.right; ++x)
    if (TextPixels(ADib, Rect(x, R.top, x + 1, R.bottom)) > 0) {
      left = std::min(left, x);
      right = x;
    }
  return right - left + 1;
}

void DrawDescribedItem(TMenuHost& AHost, TDib32& ADib, bool AShown, const String& ADescription)
{
  TDibCanvas canvas(ADib);
  TPaintItem item(AHost.Bar);
  item.HasGlyph = false;
  TdxBarButtonLikeControlDrawParams params;
  InitButtonParams(params, &item, &canvas.Cx, ivpCaption, L"Export");
  params.BarControlKind = bkMenu;
  params.Description = ADescription;
  params.DescriptionVisible = AShown;
  canvas.Cx.TextHeight(L"Wg");  // selects the canvas font, as a control's drawing does
  AHost.Painter()->DrawButtonLikeControl(&params, Rect(0, 0, 160, 60));
}

}  // namespace

TEST(FlatMenu, DescriptionShowsInTwoLinesBelowABoldCaption)
{
  TMenuHost host;
  const String text =
      L"Writes the document to a file in another format of your choice, "
      L"keeping the layout and every picture";
  TDib32 plain(160, 60, Paper);
  DrawDescribedItem(host, plain, false, text);
  TDib32 described(160, 60, Paper);
  DrawDescribedItem(host, described, true, text);
  TDibCanvas measure(described);
  int t = measure.Cx.TextHeight(L"Wg");
  ASSERT_GT(t, 0);
  int captionBottom = 60 - 2 * ((60 - 3 * t) / 4 + t);
  // Plain: one caption centred in the item, nothing where the second line goes.
  EXPECT_EQ(TextPixels(plain, Rect(27, captionBottom + t + 1, 160, 60)), 0);
  // Described: two lines of text in the band, none below them.
  EXPECT_GT(TextPixels(described, Rect(27, captionBottom, 160, captionBottom + t)), 10);
  EXPECT_GT(TextPixels(described, Rect(27, captionBottom + t + 1, 160, captionBottom + 2 * t)), 10);
  EXPECT_EQ(TextPixels(described, Rect(27, captionBottom + 2 * t + 1, 160, 60)), 0);
  // The lines stop short of the right edge by the menu's text height.
  EXPECT_EQ(TextPixels(described, Rect(160 - host.Bar->TextHeight, captionBottom, 160, 60)), 0);
  // The caption above is bold: the same word runs wider than the plain caption.
  EXPECT_GT(InkWidth(described, Rect(27, 0, 160, captionBottom)), InkWidth(plain, Rect(27, 0, 160, 60)));
  if (const char* folder = std::getenv("BARPAINT_SHOTS")) {
    std::string path = std::string(folder) + "\\flat-described.bmp";
    EXPECT_TRUE(described.SaveBmp(std::wstring(path.begin(), path.end())));
  }
}

TEST(FlatMenu, EmptyDescriptionLeavesTheCaptionAsItIs)
{
  TMenuHost host;
  TDib32 a(160, 60, Paper);
  DrawDescribedItem(host, a, true, L"");
  TDib32 b(160, 60, Paper);
  DrawDescribedItem(host, b, false, L"");
  EXPECT_EQ(TextPixels(a, Rect(0, 0, 160, 60)), TextPixels(b, Rect(0, 0, 160, 60)));
}
