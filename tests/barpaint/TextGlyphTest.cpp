// Item texts (embossed when disabled, turned on vertical bars with a drawn accelerator
// underline), glyph placement by layout, check marks and drop-down arrows.
#include <cstdlib>

#include "PaintTestUtil.h"
#include "support/SysColors.h"

namespace {

// A TrueType font selected into a DIB for the case's life; turned 270 degrees on request.
class TTestFont {
public:
  TTestFont(HDC DC, int AHeight, bool ATurned) : FDC(DC)
  {
    LOGFONTW lf{};
    lf.lfHeight = -AHeight;
    lf.lfWeight = FW_BOLD;
    lf.lfEscapement = ATurned ? 2700 : 0;
    lf.lfOrientation = lf.lfEscapement;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    wcscpy(lf.lfFaceName, L"Tahoma");
    FFont = CreateFontIndirectW(&lf);
    FOld = SelectObject(DC, FFont);
  }
  ~TTestFont()
  {
    SelectObject(FDC, FOld);
    DeleteObject(FFont);
  }

private:
  HDC FDC;
  HFONT FFont;
  HGDIOBJ FOld;
};

TRect InkBounds(const TDib32& ADib, COLORREF AColor, int ATolerance = 30)
{
  TRect r{ADib.Width(), ADib.Height(), -1, -1};
  for (int y = 0; y < ADib.Height(); ++y)
    for (int x = 0; x < ADib.Width(); ++x)
      if (ColorsClose(ADib.Pixel(x, y), AColor, ATolerance)) {
        r.left = std::min<int>(r.left, x);
        r.top = std::min<int>(r.top, y);
        r.right = std::max<int>(r.right, x + 1);
        r.bottom = std::max<int>(r.bottom, y + 1);
      }
  return r;
}

}  // namespace

TEST(ItemText, DisabledToolbarCaptionIsEmbossedAndASelectedMenuCaptionIsGreyOnce)
{
  TdxBarPainter painter;
  COLORREF white = RGB(255, 255, 255);
  COLORREF back = RGB(200, 200, 200);
  if (GetSysColor(COLOR_BTNHIGHLIGHT) == back)
    GTEST_SKIP() << "the colour scheme cannot tell the passes apart";
  TDib32 dib(120, 30, back);
  {
    TTestFont font(dib.DC(), 16, false);
    painter.DrawItemText(nullptr, dib.DC(), L"Mixer", Rect(4, 2, 116, 28), dxBarTextAlignLeft, {.Enabled = false},
                         DT_SINGLELINE);
  }
  RECT all{0, 0, 120, 30};
  int shadow = CountPixelsNear(dib, all, GetSysColor(COLOR_BTNSHADOW), 0);
  int highlight = CountPixelsNear(dib, all, GetSysColor(COLOR_BTNHIGHLIGHT), 0);
  EXPECT_GT(shadow, 20);
  EXPECT_GT(highlight, 5);
  TRect s = InkBounds(dib, GetSysColor(COLOR_BTNSHADOW), 0);
  TRect h = InkBounds(dib, GetSysColor(COLOR_BTNHIGHLIGHT), 0);
  EXPECT_EQ(h.right, s.right + 1);
  EXPECT_EQ(h.bottom, s.bottom + 1);

  TDib32 menu(120, 30, white);
  {
    TTestFont font(menu.DC(), 16, false);
    painter.DrawItemText(nullptr, menu.DC(), L"Mixer", Rect(4, 2, 116, 28), dxBarTextAlignLeft,
                         {.Enabled = false, .Selected = true}, DT_SINGLELINE);
  }
  EXPECT_GT(CountPixelsNear(menu, all, GetSysColor(COLOR_GRAYTEXT), 0), 20);
  if (GetSysColor(COLOR_BTNHIGHLIGHT) != white) {
    EXPECT_EQ(CountPixelsNear(menu, all, GetSysColor(COLOR_BTNHIGHLIGHT), 0), 0);
  }
}

TEST(ItemText, TurnedCaptionUnderlinesItsAcceleratorAndShowsNoMarker)
{
  TdxBarPainter painter;
  COLORREF back = RGB(255, 255, 255);
  // A bar window paints in its upright font: the painter turns it.
  for (bool turned : {true, false}) {
    SCOPED_TRACE(turned ? "turned font given" : "upright font given");
    auto draw = [&](const String& AText) {
      TDib32 dib(30, 120, back);
      TTestFont font(dib.DC(), 16, turned);
      painter.DrawItemText(nullptr, dib.DC(), AText, Rect(0, 2, 30, 118), dxBarTextAlignLeft, {.Vertical = true},
                           DT_SINGLELINE);
      return dib;
    };
    TDib32 marked = draw(L"&File");
    TDib32 plain = draw(L"File");
    TDib32 literal = draw(L"&&File");
    COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    TRect text = InkBounds(plain, ink);
    ASSERT_GT(text.right, text.left) << "no turned text drawn";
    // Turned: the text runs down the bar, so it is taller than wide.
    EXPECT_GT(RectHeight(text), RectWidth(text));
    // The marked caption has more ink than the plain one: the underline along the "F".
    RECT all{0, 0, 30, 120};
    int plainInk = CountPixelsNear(plain, all, ink, 30);
    int markedInk = CountPixelsNear(marked, all, ink, 30);
    EXPECT_GT(markedInk, plainInk + 4);
    // No literal marker: the marked text spans the same length as the plain one.
    TRect m = InkBounds(marked, ink);
    EXPECT_LE(std::abs(RectHeight(m) - RectHeight(text)), 1);
    // "&&" shows one "&" and no underline: longer than the plain text.
    TRect l = InkBounds(literal, ink);
    EXPECT_GT(RectHeight(l), RectHeight(text) + 4);

    // The underline lies at the descent: beyond the descenders, not through them.
    TDib32 descending = draw(L"&gap");
    TDib32 bare = draw(L"gap");
    TRect u = InkBounds(descending, ink);
    TRect d = InkBounds(bare, ink);
    EXPECT_LT(u.left, d.left);
    EXPECT_GE(u.left, d.left - 2);
  }
}

// A caption with two marks underlines the letter whose key runs it, across the bar and down
// it: it draws as the caption with only that letter marked.
TEST(ItemText, ACaptionWithTwoMarksUnderlinesTheLetterItsKeyRuns)
{
  TdxBarPainter painter;
  const String caption = L"&File &Edit";
  ASSERT_EQ(GetAccelChar(caption), L'F');
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(vertical ? "down the bar" : "across the bar");
    const int w = vertical ? 30 : 160, h = vertical ? 160 : 30;
    auto draw = [&](const String& AText) {
      TDib32 dib(w, h, RGB(255, 255, 255));
      TTestFont font(dib.DC(), 16, false);
      painter.DrawItemText(nullptr, dib.DC(), AText, Rect(2, 2, w - 2, h - 2), dxBarTextAlignLeft,
                           {.Vertical = vertical}, DT_SINGLELINE);
      return dib;
    };
    TDib32 shown = draw(caption);
    RECT all{0, 0, w, h};
    EXPECT_EQ(CountDifferentPixels(shown, all, draw(L"&File Edit")), 0);
    EXPECT_GT(CountDifferentPixels(shown, all, draw(L"File &Edit")), 4) << "the underline is not under E";
    EXPECT_EQ(CountDifferentPixels(draw(L"Fish && &Chips &x"), all, draw(L"Fish && &Chips x")), 0)
        << "a literal ampersand stays one, and a later mark only goes";
  }
}

TEST(GlyphLayout, LargeGlyphFollowsItsLayoutAndTheCaptionTheGlyph)
{
  TdxBarFlatPainter painter;
  TPaintItem item;
  item.SetGlyph(32, RGB(0, 0, 200));
  TdxBarButtonLikeControlDrawParams params;
  InitButtonParams(params, &item, nullptr, ivpGlyph | ivpCaption, L"Start!");
  params.ViewSize = isLarge;
  TRect content = Rect(10, 10, 90, 70);
  struct TRow {
    int Layout;
    TRect Glyph;
    TdxBarTextAlignment Alignment;
  } rows[] = {
      {glTop, Rect(34, 12, 66, 44), dxBarTextAlignCenter},
      {glBottom, Rect(34, 36, 66, 68), dxBarTextAlignCenter},
      {glLeft, Rect(14, 24, 46, 56), dxBarTextAlignLeft},
      {glRight, Rect(54, 24, 86, 56), dxBarTextAlignRight},
  };
  for (const TRow& row : rows) {
    params.GlyphLayout = row.Layout;
    TRect glyph = painter.CalcGlyphRect(&params, Size(32, 32), content, row.Layout);
    EXPECT_EQ(glyph, row.Glyph) << "layout " << row.Layout;
    TRect text{};
    TdxBarTextAlignment alignment = TdxBarTextAlignment(-1);
    painter.GetButtonTextRect(&params, content, glyph, text, alignment);
    EXPECT_EQ(alignment, row.Alignment) << "layout " << row.Layout;
    switch (row.Layout) {
      case glTop:
        EXPECT_EQ(text.top, glyph.bottom);
        break;
      case glBottom:
        EXPECT_EQ(text.bottom, glyph.top);
        break;
      case glLeft:
        EXPECT_EQ(text.left, glyph.right + 3);
        break;
      default:
        EXPECT_EQ(text.right, glyph.left - 3);
        break;
    }
  }
  // On a vertical bar glTop puts the glyph at the right and the text left of it.
  params.BarControlKind = bkVertical;
  params.GlyphLayout = glTop;
  TRect glyph = painter.CalcGlyphRect(&params, Size(32, 32), content, glTop);
  EXPECT_EQ(glyph.right, content.right - 2);
  TRect text{};
  TdxBarTextAlignment alignment = TdxBarTextAlignment(-1);
  painter.GetButtonTextRect(&params, content, glyph, text, alignment);
  EXPECT_EQ(text.right, glyph.left);
}

TEST(GlyphLayout, SmallCaptionStartsAfterTheGlyphAreaAndMovesWhenHeldInTheStandardLook)
{
  TdxBarStandardPainter standard;
  TdxBarFlatPainter flat;
  TPaintItem item;
  TdxBarButtonLikeControlDrawParams params;
  InitButtonParams(params, &item, nullptr, ivpGlyph | ivpCaption, L"Mix");
  TRect content = Rect(0, 0, 80, 24);
  TRect idle{}, held{}, flatHeld{};
  TdxBarTextAlignment alignment = TdxBarTextAlignment(-1);
  standard.GetButtonTextRect(&params, content, TRect{}, idle, alignment);
  EXPECT_EQ(idle.left, params.GlyphSize.cx);
  EXPECT_EQ(alignment, dxBarTextAlignLeft);
  params.States.Down = true;
  params.States.Pressed = true;
  standard.GetButtonTextRect(&params, content, TRect{}, held, alignment);
  EXPECT_EQ(held, OffsetRect(idle, 2, 2));
  flat.GetButtonTextRect(&params, content, TRect{}, flatHeld, alignment);
  EXPECT_EQ(flatHeld, idle);
  // Without a glyph part the caption margin is the indent.
  params.ViewParts = ivpCaption;
  params.States = {};
  flat.GetButtonTextRect(&params, content, TRect{}, idle, alignment);
  EXPECT_EQ(idle.left, item.GetCaptionMargin());
}

TEST(CheckMark, DownMenuItemWithoutAShownImageShowsTheMarkOnlyInMenus)
{
  TPaintHost host;
  host.Bar->BarKind = bkMenu;
  TPaintItem item(host.Bar);
  item.SetGlyph(16, RGB(255, 0, 0));
  TdxBarItemControlDrawParams params;
  params.ItemControl = &item;
  params.BarControlKind = bkMenu;
  TdxBarItemStateFlags states;
  states.Down = true;
  RECT all{0, 0, 24, 24};
  TRect glyph{};
  // No image, or an image whose glyph part the item hides (a caption-only style): the tick.
  struct TRow {
    bool HasGlyph;
    int ViewParts;
  };
  for (TRow row : {TRow{false, ivpGlyph}, TRow{true, ivpCaption}}) {
    item.HasGlyph = row.HasGlyph;
    params.ViewParts = row.ViewParts;
    TDib32 dib(24, 24, RGB(255, 255, 255));
    host.Painter()->DrawGlyph(&params, dib.DC(), states, isSmall, Rect(0, 0, 24, 24), Rect(0, 0, 24, 24), glyph);
    TRect ink = InkBounds(dib, RGB(0, 0, 0), 0);
    EXPECT_EQ(RectWidth(ink), 9) << "view parts " << row.ViewParts;
    EXPECT_EQ(RectHeight(ink), 7) << "view parts " << row.ViewParts;
    EXPECT_EQ(CountPixelsNear(dib, all, RGB(255, 0, 0), 30), 0) << "a hidden glyph part shows no image";
  }
  item.HasGlyph = false;
  params.ViewParts = ivpGlyph;
  // Disabled: the same mark in the shadow colour only.
  TDib32 disabled(24, 24, RGB(255, 255, 255));
  params.Enabled = false;
  host.Painter()->DrawGlyph(&params, disabled.DC(), states, isSmall, Rect(0, 0, 24, 24), Rect(0, 0, 24, 24), glyph);
  EXPECT_EQ(CountPixelsNear(disabled, all, RGB(0, 0, 0), 0), 0);
  EXPECT_GT(CountPixelsNear(disabled, all, GetSysColor(COLOR_BTNSHADOW), 0), 10);
  // A toolbar button that is down without an image gets no mark.
  params.Enabled = true;
  params.BarControlKind = bkHorizontal;
  host.Bar->BarKind = bkHorizontal;
  TDib32 toolbar(24, 24, RGB(255, 255, 255));
  host.Painter()->DrawGlyph(&params, toolbar.DC(), states, isSmall, Rect(0, 0, 24, 24), Rect(0, 0, 24, 24), glyph);
  EXPECT_EQ(CountPixelsNear(toolbar, all, RGB(0, 0, 0), 0), 0);
}

TEST(CheckMark, BarFontAboveFifteenPointsDoublesTheMark)
{
  TPaintHost host;
  host.Bar->BarKind = bkMenu;
  TPaintItem item(host.Bar);
  TRect cell = Rect(0, 0, 40, 40);
  host.Bar->GetFont()->SetSize(15);
  TDib32 small(40, 40, RGB(255, 255, 255));
  host.Painter()->DrawCheckMarkInRect(&item, small.DC(), cell, true, bkMenu);
  TDib32 large(40, 40, RGB(255, 255, 255));
  host.Bar->GetFont()->SetSize(16);
  host.Painter()->DrawCheckMarkInRect(&item, large.DC(), cell, true, bkMenu);
  TRect s = InkBounds(small, RGB(0, 0, 0), 0);
  TRect l = InkBounds(large, RGB(0, 0, 0), 0);
  EXPECT_EQ(RectHeight(s), 7);
  EXPECT_EQ(RectHeight(l), 14);
  EXPECT_GT(RectWidth(l), RectWidth(s) + 6);
}

// The arrow's tip is where it points: its broad side faces away from it. On a toolbar it sits
// at the end of the button, across the middle; in a menu at the right, down the middle.
TEST(DropDownArrow, PointsDownOnHorizontalBarsAndRightElsewhere)
{
  TPaintHost host;
  TPaintItem item(host.Bar);
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  for (int kind : {bkHorizontal, bkMenu, bkVertical}) {
    SCOPED_TRACE(kind);
    host.Bar->BarKind = kind;
    TDib32 dib(40, 40, RGB(255, 255, 255));
    TDibCanvas canvas(dib);
    TdxBarButtonLikeControlDrawParams params;
    InitButtonParams(params, &item, &canvas.Cx, ivpCaption);
    params.BarControlKind = kind;
    params.BarArrowSize = 4;
    host.Painter()->DrawDropDownArrow(&params, Rect(0, 0, 40, 40));
    TRect bounds = InkBounds(dib, ink, 0);
    ASSERT_GT(bounds.right, bounds.left);
    auto inkIn = [&](const TRect& R) { return CountPixelsNear(dib, R, ink, 0); };
    const TRect firstRow = Rect(0, bounds.top, 40, bounds.top + 1);
    const TRect lastRow = Rect(0, bounds.bottom - 1, 40, bounds.bottom);
    const TRect firstColumn = Rect(bounds.left, 0, bounds.left + 1, 40);
    const TRect lastColumn = Rect(bounds.right - 1, 0, bounds.right, 40);
    if (kind == bkHorizontal) {
      EXPECT_GT(inkIn(firstRow), inkIn(lastRow)) << "a down arrow is broad at the top";
      EXPECT_GE(bounds.left, 20) << "at the button's end";
      EXPECT_NEAR(bounds.top + bounds.bottom, 40, 2) << "across the middle";
    } else {
      EXPECT_GT(inkIn(firstColumn), inkIn(lastColumn)) << "a right arrow is broad at the left";
      EXPECT_NEAR(kind == bkMenu ? bounds.top + bounds.bottom : bounds.left + bounds.right, 40, 2);
      if (kind == bkMenu)
        EXPECT_GE(bounds.left, 20) << "at the menu item's right";
      else
        EXPECT_GE(bounds.top, 20) << "at the button's end, below its content";
    }
  }
}

TEST(ItemGlyph, AnImageListImageIsCachedOverItsSolidBackgroundAndDrawsAsUncached)
{
  TPaintHost host;
  TCustomImageList images(16, 16);
  TBitmap image;
  image.SetPixelFormat(pf24bit);
  image.SetSize(16, 16);
  image.GetCanvas()->GetBrush()->SetColor(TColor(RGB(0, 140, 60)));
  image.GetCanvas()->FillRect(TRect{2, 2, 14, 14});
  images.Add(&image, nullptr);
  TPaintItem item(host.Bar);
  item.AfterConstruction();  // made on the stack: the cache comes with construction's end
  item.HasGlyph = false;
  item.Images = &images;
  item.ImageIndex = 0;
  TDib32 canvasDib(4, 4);
  TDibCanvas canvas(canvasDib);
  TdxBarButtonLikeControlDrawParams params;
  InitButtonParams(params, &item, &canvas.Cx, ivpGlyph);
  HBRUSH brush = CreateSolidBrush(RGB(10, 120, 200));
  auto draw = [&](bool ACache) {
    host.Manager->GetImageOptions()->SetCacheGlyphs(ACache);
    TDib32 dib(24, 24, RGB(0, 0, 0));
    host.Painter()->DrawItemGlyph(&params, dib.DC(), TdxBarItemStateFlags{}, isSmall, Rect(4, 4, 20, 20), brush);
    return dib;
  };
  TDib32 direct = draw(false);
  ASSERT_FALSE(item.GetCachedImageOptions()->Valid);
  TDib32 composed = draw(true);
  EXPECT_TRUE(item.GetCachedImageOptions()->Valid);
  EXPECT_EQ(item.GetCachedImageOptions()->ImageList, &images);
  TDib32 fromCache = draw(true);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      ASSERT_EQ(composed.Pixel(x, y), direct.Pixel(x, y)) << x << "," << y;
      ASSERT_EQ(fromCache.Pixel(x, y), direct.Pixel(x, y)) << x << "," << y;
    }
  DeleteObject(brush);
}

// The classic mark: black (white on a black face), edged in the other colour under it and
// across both ends; disabled, a shadow mark over its light copy one pixel right and down.
TEST(CheckMark, StandardMarkIsEdgedInTheOtherColourAndEngravedWhenDisabled)
{
  TdxBarStandardPainter painter;
  const COLORREF paper = RGB(128, 128, 128);
  const RECT all{0, 0, 40, 40};
  struct TFace {
    COLORREF Face, Ink, Edge;
  };
  for (TFace face : {TFace{RGB(192, 192, 192), RGB(0, 0, 0), RGB(255, 255, 255)},
                     TFace{RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)}}) {
    TSysColorsScope colors({{COLOR_BTNFACE, face.Face}});
    SCOPED_TRACE(face.Face == 0 ? "black face" : "grey face");
    TDib32 dib(40, 40, paper);
    painter.DrawCheckMark(dib.DC(), Point(10, 10), 1, true);
    TRect ink = InkBounds(dib, face.Ink, 0);
    EXPECT_EQ(ink, Rect(10, 10, 19, 17)) << "the mark keeps its 9 x 7";
    EXPECT_EQ(CountPixelsNear(dib, all, face.Ink, 0), 18);
    // Under the stroke's start, elbow and end.
    for (POINT p : {POINT{10, 14}, POINT{13, 17}, POINT{18, 12}})
      EXPECT_EQ(dib.Pixel(p.x, p.y), face.Edge) << p.x << "," << p.y;
    // Closing both ends: a pair of pixels beside each.
    for (POINT p : {POINT{9, 12}, POINT{9, 13}, POINT{19, 10}, POINT{19, 11}})
      EXPECT_EQ(dib.Pixel(p.x, p.y), face.Edge) << p.x << "," << p.y;
    EXPECT_EQ(CountPixelsNear(dib, all, face.Edge, 0), 13);
  }

  TDib32 off(40, 40, paper);
  painter.DrawCheckMark(off.DC(), Point(10, 10), 1, false);
  TRect shadow = InkBounds(off, Sys(COLOR_BTNSHADOW), 0);
  TRect light = InkBounds(off, Sys(COLOR_BTNHIGHLIGHT), 0);
  EXPECT_EQ(shadow, Rect(10, 10, 19, 17));
  EXPECT_EQ(CountPixelsNear(off, all, Sys(COLOR_BTNSHADOW), 0), 18) << "the shadow mark is whole";
  EXPECT_EQ(light.right, shadow.right + 1);
  EXPECT_EQ(light.bottom, shadow.bottom + 1);
  EXPECT_GT(CountPixelsNear(off, all, Sys(COLOR_BTNHIGHLIGHT), 0), 4);
}
