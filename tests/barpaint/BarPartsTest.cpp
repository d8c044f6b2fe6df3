// The parts of a toolbar window the painter draws itself: the mark, docked and floating
// borders, the size grip, the floating caption's close button, and that no operation
// leaves a GDI object behind.
#include "PaintTestUtil.h"

#include <vector>

#include "lookandfeel/dxOffice11.h"

namespace {

bool HasInkIn(const TDib32& ADib, const RECT& R, COLORREF AColor)
{
  return CountPixelsNear(ADib, R, AColor, 0) > 0;
}

int FirstInkRow(const TDib32& ADib, const RECT& R, COLORREF AColor)
{
  for (int y = R.top; y < R.bottom; ++y)
    for (int x = R.left; x < R.right; ++x)
      if (ColorsClose(ADib.Pixel(x, y), AColor, 0))
        return y;
  return -1;
}

}  // namespace

TEST(Mark, SixteenHighMarkHasItsArrowNearerTheBottomAndItsChevronsHigher)
{
  TPaintHost host;
  TdxBarPainter base;
  host.Bar->HiddenItems = true;
  COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  auto draw = [&](int AHeight) {
    TDib32 dib(13, AHeight, RGB(1, 2, 3));
    TDibCanvas canvas(dib);
    base.DrawMarkContent(host.Bar, dib.DC(), Rect(0, 0, 13, AHeight));
    return dib;
  };
  TDib32 small = draw(16);
  TDib32 tall = draw(17);
  // Arrow: from bottom - 7 (+1 when small), 3 rows; chevrons: from 4 (3 when small).
  RECT arrowSmall{3, 0, 8, 16};
  RECT chevrons{0, 0, 13, 9};
  EXPECT_EQ(FirstInkRow(small, RECT{3, 9, 8, 16}, ink), 10);
  EXPECT_EQ(FirstInkRow(tall, RECT{3, 9, 8, 17}, ink), 10);
  EXPECT_EQ(FirstInkRow(small, chevrons, ink), 3);
  EXPECT_EQ(FirstInkRow(tall, chevrons, ink), 4);
  EXPECT_TRUE(HasInkIn(small, arrowSmall, ink));
  // Without hidden items only the arrow shows.
  host.Bar->HiddenItems = false;
  TDib32 plain = draw(17);
  EXPECT_EQ(FirstInkRow(plain, chevrons, ink), -1);
}

// On a bar docked at the side the chevrons turn to point down, from the client width - 8,
// at top + 2 and top + 6.
TEST(Mark, ChevronsOfAVerticalBarPointDownAtItsFarSide)
{
  TPaintHost host;
  TdxBarPainter base;
  host.Bar->HiddenItems = true;
  host.Bar->DockingStyle = dsLeft;
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  TDib32 dib(22, 40, RGB(1, 2, 3));
  const TRect mark = Rect(0, 20, 22, 33);
  base.DrawMarkContent(host.Bar, dib.DC(), mark);
  const int x = mark.right - 8;
  for (int top : {mark.top + 2, mark.top + 6}) {
    SCOPED_TRACE(top);
    // A V two rows deep: both ends at the top, the tip in the middle three rows lower.
    for (POINT p : {POINT{x, top}, POINT{x + 4, top}, POINT{x + 2, top + 2}, POINT{x + 2, top + 3}})
      EXPECT_TRUE(ColorNear(dib.Pixel(p.x, p.y), ink, 0)) << p.x << "," << p.y;
    EXPECT_FALSE(ColorNear(dib.Pixel(x + 2, top), ink, 0));
  }
  EXPECT_EQ(CountPixelsNear(dib, RECT{x, mark.top, x + 5, mark.bottom}, ink, 0), 20);
  EXPECT_EQ(CountPixelsNear(dib, RECT{x + 5, mark.top, mark.right, mark.bottom}, ink, 0), 0);
}

// Each look's chevron: the enhanced look the base's two strokes in the text colour; the
// standard look a shadow stroke with a highlight one beside it, along the bar; the gradient
// look the dark chevron over a light copy one pixel right and down.
TEST(Mark, ChevronStrokesOfEachLook)
{
  const TdxBarStandardPainter standard;
  const TdxBarEnhancedPainter enhanced;
  TPaintHost host;
  host.Manager->SetStyle(bmsOffice11);
  const TdxOffice11Colors& c = dxOffice11Colors();
  const COLORREF paper = RGB(1, 2, 3);
  const COLORREF text = Sys(COLOR_BTNTEXT), shadow = Sys(COLOR_BTNSHADOW), light = Sys(COLOR_BTNHIGHLIGHT);
  const COLORREF dark11 = ColorToRGB(c.TextColor), light11 = ColorToRGB(c.SeparatorLightColor);
  struct TPixel {
    int X, Y;
    COLORREF Color;
  };
  struct TRow {
    const char* Name;
    const TdxBarPainter* Painter;
    bool Vertical;
    std::vector<TPixel> Pixels;
  };
  // The chevron drawn at (4, 4); its first stroke runs (4, 4), (5, 5), (6, 6), (5, 7), (4, 8).
  const TRow rows[] = {
      {"enhanced", &enhanced, false, {{4, 4, text}, {5, 4, text}, {6, 6, text}, {7, 6, text}, {6, 4, paper}}},
      {"standard", &standard, false, {{4, 4, shadow}, {5, 4, light}, {6, 6, shadow}, {7, 6, light}, {4, 8, shadow}}},
      {"standard turned", &standard, true, {{4, 4, shadow}, {4, 5, light}, {6, 6, shadow}, {6, 7, light}}},
      {"gradient",
       host.Painter(),
       false,
       {{4, 4, dark11}, {5, 4, dark11}, {7, 7, light11}, {6, 8, light11}, {6, 4, paper}}},
  };
  for (const TRow& row : rows) {
    TDib32 dib(16, 16, paper);
    row.Painter->DrawMarkChevron(host.Bar, dib.DC(), 4, 4, row.Vertical);
    for (const TPixel& p : row.Pixels)
      EXPECT_TRUE(ColorNear(dib.Pixel(p.X, p.Y), p.Color, 0)) << row.Name << " at " << p.X << "," << p.Y;
  }
}

TEST(Mark, FlatMarkIsFramedWhenHotAndJoinedToItsMenuWhenOpen)
{
  TPaintHost host;
  TDib32 dib(13, 22, RGB(1, 2, 3));
  TDibCanvas canvas(dib);
  host.Bar->MarkState = TdxBarMarkState::Hot;
  host.Painter()->DrawMark(host.Bar, &canvas.Cx, Rect(0, 0, 13, 22));
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 10), GetSysColor(COLOR_HIGHLIGHT), 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(2, 2), host.Flat(5), 2));
  host.Bar->MarkState = TdxBarMarkState::Pressed;
  host.Painter()->DrawMark(host.Bar, &canvas.Cx, Rect(0, 0, 13, 22));
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 10), host.Flat(1), 2));
  EXPECT_TRUE(ColorNear(dib.Pixel(2, 2), host.Flat(4), 2));
}

TEST(BarBorder, FlatDockedBorderHasRoundedCornersAndADottedGrip)
{
  TPaintHost host;
  TDib32 dib(60, 26, RGB(1, 2, 3));
  RECT inner{1, 1, 59, 25};
  FillRect(dib.DC(), &inner, host.Manager->GetFlatBrush(2));
  TRect r = Rect(0, 0, 60, 26);
  host.Painter()->DrawDockedBarBorder(host.Bar, dib.DC(), r);
  EXPECT_EQ(r, Rect(1, 1, 59, 25));
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 10), face, 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(1, 1), face, 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(58, 24), face, 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(2, 1), host.Flat(2), 2));
  // The grip: after the offset of 1, 3 wide, 3 in from the ends; rows by turns.
  int x = 1 + host.Painter()->GetDragHandleOffset();
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  EXPECT_TRUE(ColorNear(dib.Pixel(x, 4), shadow, 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(x + 2, 4), shadow, 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(x, 5), host.Flat(2), 2));
  EXPECT_TRUE(ColorNear(dib.Pixel(x, 6), shadow, 0));
  EXPECT_FALSE(ColorsClose(dib.Pixel(x, 2), shadow, 0));
  EXPECT_EQ(host.Painter()->GetDragHandleSizeEx(nullptr), 6);
}

TEST(BarBorder, StandardAndEnhancedDragHandlesHaveTwoAndOneBars)
{
  TdxBarStandardPainter standard;
  TdxBarEnhancedPainter enhanced;
  EXPECT_EQ(standard.GetDragHandleSizeEx(nullptr), 9);
  EXPECT_EQ(enhanced.GetDragHandleSizeEx(nullptr), 6);
  TPaintHost host;
  auto countBars = [&](const TdxBarPainter& APainter) {
    TDib32 dib(40, 26, GetSysColor(COLOR_BTNFACE));
    TRect r = Rect(0, 0, 40, 26);
    APainter.DrawDockedBarBorder(host.Bar, dib.DC(), r);
    // Highlight columns along the middle row past the window's own edge: one per bar.
    int bars = 0;
    for (int x = 3; x < 14; ++x)
      if (ColorsClose(dib.Pixel(x, 13), GetSysColor(COLOR_BTNHIGHLIGHT), 0))
        ++bars;
    return bars;
  };
  if (GetSysColor(COLOR_BTNHIGHLIGHT) == GetSysColor(COLOR_BTNFACE))
    GTEST_SKIP() << "highlight and face alike";
  EXPECT_EQ(countBars(standard), 2);
  EXPECT_EQ(countBars(enhanced), 1);
}

TEST(BarBorder, FlatFloatingFrameIsBrushOneThenHighlight)
{
  TPaintHost host;
  TDib32 dib(60, 40, RGB(1, 2, 3));
  host.Painter()->DrawFloatingBarBorder(host.Bar, dib.DC(), Rect(0, 0, 60, 40));
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 20), host.Flat(1), 2));
  EXPECT_TRUE(ColorNear(dib.Pixel(1, 20), GetSysColor(COLOR_BTNHIGHLIGHT), 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(30, 20), RGB(1, 2, 3), 0));
}

TEST(BarBorder, FlatCloseButtonCrossTakesTheGlyphColourOfItsState)
{
  TPaintHost host;
  TdxBarPainter* painter = host.Painter();
  EXPECT_EQ(painter->GetSysColorByIndex(host.Bar, true), COLOR_INACTIVECAPTION);
  for (TdxBarMarkState state : {TdxBarMarkState::Normal, TdxBarMarkState::Hot}) {
    TDib32 dib(16, 16, RGB(1, 2, 3));
    painter->DrawCaptionCloseButton(host.Bar, dib.DC(), Rect(0, 0, 16, 16), state);
    COLORREF cross = ColorToRGB(painter->GetCaptionButtonGlyphColor(host.Bar, state));
    RECT all{0, 0, 16, 16};
    EXPECT_GE(CountPixelsNear(dib, all, cross, 0), 12) << "state " << int(state);
    // The middle of the cross.
    EXPECT_TRUE(ColorNear(dib.Pixel(7, 7), cross, 0) || ColorNear(dib.Pixel(8, 8), cross, 0)) << "state " << int(state);
  }
  EXPECT_EQ(painter->GetCaptionButtonGlyphColor(host.Bar, TdxBarMarkState::Hot), clBtnText);
}

TEST(SizeGrip, FloatingGripSitsInTheBottomRightCorner)
{
  TPaintHost host;
  TdxBarPainter* painter = host.Painter();
  TSize size = painter->GetSizeGripSize();
  TDib32 dib(80, 40, RGB(1, 2, 3));
  painter->DrawFloatingSizeGrip(host.Bar, dib.DC(), Rect(0, 0, 80, 40));
  RECT grip{80 - int(size.cx), 40 - int(size.cy), 80, 40};
  RECT outside{0, 0, 80 - int(size.cx), 40};
  EXPECT_EQ(CountPixelsNear(dib, outside, RGB(1, 2, 3), 0), (80 - size.cx) * 40);
  EXPECT_GT(CountPixels(dib, grip, [](COLORREF c) { return c != RGB(1, 2, 3); }), size.cx * size.cy / 2);
}

TEST(GdiBalance, NoDrawingOperationLeavesAGdiObjectBehind)
{
  TPaintHost host;
  TDib32 dib(200, 60, RGB(1, 2, 3));
  TDibCanvas canvas(dib);
  TPaintItem item(host.Bar);
  TdxBarButtonLikeControlDrawParams params;
  InitButtonParams(params, &item, &canvas.Cx, ivpGlyph | ivpCaption, L"&Import");
  params.IsDropDown = true;
  params.IsSplit = true;
  params.ArrowWidth = 10;
  for (TdxBarManagerStyle style : {bmsFlat, bmsStandard, bmsEnhanced}) {
    host.Manager->SetStyle(style);
    TdxBarPainter* p = host.Painter();
    // Warm-up: the first call may make lasting shared objects (fonts, caches).
    p->DrawButtonLikeControl(&params, Rect(0, 0, 90, 30));
    int before = GdiObjectsInUse();
    for (int state = 0; state < 4; ++state) {
      params.States.Selected = state & 1;
      params.PaintedSelected = state & 1;
      params.States.Pressed = state & 2;
      p->DrawButtonLikeControl(&params, Rect(0, 0, 90, 30));
    }
    p->DrawItemText(&item, dib.DC(), L"&Turned", Rect(0, 0, 30, 60), dxBarTextAlignLeft,
                    {.Enabled = false, .Vertical = true, .Clipped = true}, DT_SINGLELINE);
    TRect r = Rect(0, 0, 100, 30);
    p->DrawDockedBarBorder(host.Bar, dib.DC(), r);
    p->DrawFloatingBarBorder(host.Bar, dib.DC(), Rect(0, 0, 100, 40));
    p->DrawToolbarSeparator(host.Bar, dib.DC(), Rect(0, 0, 6, 30), p->GetBackgroundBrush(host.Bar), false);
    for (TdxBarMarkState mark : {TdxBarMarkState::Normal, TdxBarMarkState::Hot, TdxBarMarkState::Pressed}) {
      host.Bar->MarkState = mark;
      host.Bar->HiddenItems = true;
      p->DrawMark(host.Bar, &canvas.Cx, Rect(0, 0, 13, 22));
      p->DrawCaptionMark(host.Bar, dib.DC(), Rect(0, 0, 16, 16));
      p->DrawCaptionButton(host.Bar, dib.DC(), Rect(0, 0, 16, 16), mark);
      p->DrawCaptionCloseButton(host.Bar, dib.DC(), Rect(0, 0, 16, 16), mark);
    }
    for (int mdi = 0; mdi < 5; ++mdi)
      p->DrawMDIButton(host.Bar, dib.DC(), Rect(0, 0, 16, 14), mdi % 3, TdxBarMDIButtonState(mdi));
    p->DrawCheckMark(dib.DC(), Point(2, 2), 2, false);
    p->DrawFloatingSizeGrip(host.Bar, dib.DC(), Rect(0, 0, 60, 40));
    p->DrawToolbarBackground(host.Bar, dib.DC(), Rect(0, 0, 60, 40), p->GetBackgroundBrush(host.Bar));
    EXPECT_EQ(GdiObjectsInUse(), before) << "style " << style;
    // System brushes the painter handed out are still alive.
    EXPECT_EQ(GetObjectType(GetSysColorBrush(COLOR_BTNFACE)), DWORD(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(GetSysColorBrush(COLOR_BTNSHADOW)), DWORD(OBJ_BRUSH));
  }
}
