// The painter's decisions: text colours of enabled, disabled and selected items, the
// glyph and button background rules, brushes and the item-control metrics it derives from
// its bar window. System colours are compared as the system reports them at run time.
#include "PainterTestUtil.h"

namespace {

TColor Sys(int AIndex)
{
  return clSystemColor | TColor(AIndex);
}

struct TTextColorCase {
  bool Enabled;
  bool Selected;
  bool FlatSelection;
  TColor Style;
  TColor Text;
  TColor Emboss;
};

class TTextColorsTest : public testing::TestWithParam<TTextColorCase> {};

}  // namespace

TEST_P(TTextColorsTest, DecisionTable)
{
  const TTextColorCase& c = GetParam();
  TdxBarPainter painter;
  TTestItemControl control;
  control.StyleTextColor = c.Style;
  TColor text = clNone;
  TColor emboss = clNone;
  painter.GetTextColors(&control, c.Enabled, c.Selected, c.FlatSelection, text, emboss);
  EXPECT_EQ(text, c.Text);
  EXPECT_EQ(emboss, c.Emboss);
  // The colours resolve to what the system shows now.
  EXPECT_EQ(ColorToRGB(text), c.Text == Sys(COLOR_BTNTEXT) ? GetSysColor(COLOR_BTNTEXT) : ColorToRGB(c.Text));
}

INSTANTIATE_TEST_SUITE_P(
    Items, TTextColorsTest,
    testing::Values(
        // An enabled item's style colour wins, selected or not.
        TTextColorCase{true, false, false, clRed, clRed, clRed}, TTextColorCase{true, true, false, clRed, clRed, clRed},
        // Enabled without a style colour: highlight text only for a selection that is not flat.
        TTextColorCase{true, false, false, clDefault, Sys(COLOR_BTNTEXT), Sys(COLOR_BTNTEXT)},
        TTextColorCase{true, true, false, clDefault, Sys(COLOR_HIGHLIGHTTEXT), Sys(COLOR_HIGHLIGHTTEXT)},
        TTextColorCase{true, true, true, clDefault, Sys(COLOR_BTNTEXT), Sys(COLOR_BTNTEXT)},
        // Disabled ignores the style colour: embossed off a selection, grey text in one.
        TTextColorCase{false, false, false, clRed, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT)},
        TTextColorCase{false, true, false, clRed, Sys(COLOR_GRAYTEXT), Sys(COLOR_GRAYTEXT)},
        TTextColorCase{false, false, true, clDefault, Sys(COLOR_GRAYTEXT), Sys(COLOR_GRAYTEXT)}));

TEST(PainterColors, ArrowColourIsTheTextColourOnlyWhenTheKindAsks)
{
  struct TTextArrowPainter : TdxBarPainter {
    bool IsArrowColorFromText() const override { return true; }
  };
  TTestItemControl control;
  TdxBarItemControlDrawParams params(&control);
  params.Enabled = false;
  EXPECT_EQ(TdxBarPainter().GetArrowColor(&params), clDefault);
  EXPECT_EQ(TTextArrowPainter().GetArrowColor(&params), Sys(COLOR_BTNSHADOW));
}

TEST(PainterGlyphs, GlyphBackgroundRuleReadsTheFirstFlagFirst)
{
  TdxBarPainter p;
  TTestItemControl control;
  TdxBarItemStateFlags none;
  EXPECT_FALSE(p.IsGlyphBackgroundDrawn(&control, none));
  TdxBarItemStateFlags selectedOnly;
  selectedOnly.Selected = true;
  // Without the first flag only an active control or an own brush paints it.
  EXPECT_FALSE(p.IsGlyphBackgroundDrawn(&control, selectedOnly));
  control.OwnBrush = true;
  EXPECT_TRUE(p.IsGlyphBackgroundDrawn(&control, none));
  control.OwnBrush = false;
  TdxBarItemStateFlags pressed;
  pressed.Pressed = true;
  EXPECT_FALSE(p.IsGlyphBackgroundDrawn(&control, pressed));
  pressed.Down = true;
  EXPECT_TRUE(p.IsGlyphBackgroundDrawn(&control, pressed));
  pressed.Down = false;
  pressed.DroppedDown = true;
  EXPECT_TRUE(p.IsGlyphBackgroundDrawn(&control, pressed));
  control.Active = true;
  EXPECT_TRUE(p.IsGlyphBackgroundDrawn(&control, none));
  EXPECT_FALSE(p.IsGlyphBackgroundDrawn(nullptr, pressed));
  control.Brush = HBRUSH(uintptr_t(COLOR_WINDOW + 1));
  EXPECT_EQ(p.GetGlyphBackgroundBrush(&control, none), control.Brush);
}

TEST(PainterGlyphs, GlyphWithoutBackgroundWhenTheBarShowsThrough)
{
  TPainterHost host;
  TTestBarControl* bar = new TTestBarControl(host.Manager);
  TTestItemControl control(bar);
  TdxBarPainter p;
  EXPECT_FALSE(p.IsGlyphDrawnWithoutBackground(&control));
  bar->BackgroundShownThrough = true;
  EXPECT_TRUE(p.IsGlyphDrawnWithoutBackground(&control));
  control.Active = true;
  EXPECT_FALSE(p.IsGlyphDrawnWithoutBackground(&control));
  EXPECT_TRUE(TdxBarXPPainter().IsGlyphDrawnWithoutBackground(&control));
}

TEST(PainterButtons, BackgroundDrawnForActiveOrFlatPressedAndSelected)
{
  TTestItemControl control;
  TdxBarItemControlDrawParams params(&control);
  TdxBarPainter base;
  TdxBarFlatPainter flat;
  EXPECT_FALSE(base.IsButtonBackgroundDrawn(&params));
  params.PaintedSelected = true;
  EXPECT_FALSE(base.IsButtonBackgroundDrawn(&params));
  EXPECT_TRUE(flat.IsButtonBackgroundDrawn(&params));
  params.PaintedSelected = false;
  params.States.Pressed = true;
  EXPECT_TRUE(flat.IsButtonBackgroundDrawn(&params));
  params.States.Pressed = false;
  EXPECT_FALSE(flat.IsButtonBackgroundDrawn(&params));
  control.Active = true;
  EXPECT_TRUE(base.IsButtonBackgroundDrawn(&params));
  EXPECT_FALSE(base.IsButtonBackgroundDrawn(nullptr));
}

TEST(PainterButtons, PressedShiftsAndDropDownParts)
{
  TdxBarPainter base;
  TdxBarFlatPainter flat;
  TRect r = Rect(0, 0, 10, 10);
  base.ShiftPressedContent(true, true, r);
  EXPECT_EQ(r, Rect(2, 2, 12, 12));  // down and held: two pixels
  r = Rect(0, 0, 10, 10);
  base.ShiftPressedContent(false, true, r);
  EXPECT_EQ(r, Rect(1, 1, 11, 11));
  r = Rect(0, 0, 10, 10);
  flat.ShiftPressedContent(true, true, r);
  flat.ShiftPressedArrow(r, true);
  EXPECT_EQ(r, Rect(0, 0, 10, 10));
  base.ShiftPressedArrow(r, true);
  EXPECT_EQ(r, Rect(1, 1, 11, 11));

  TdxBarItemControlDrawParams params;
  std::vector<TRect> parts;
  base.CalcButtonLikeControlParts(&params, Rect(10, 0, 60, 22), 11, parts);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0], Rect(10, 0, 60, 22));
  params.IsDropDown = true;
  base.CalcButtonLikeControlParts(&params, Rect(10, 0, 60, 22), 11, parts);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[dxBarButtonPartFace], Rect(10, 0, 49, 22));
  EXPECT_EQ(parts[dxBarButtonPartArrow], Rect(49, 0, 60, 22));
  // An arrow wider than the item takes all of it, never more.
  base.CalcButtonLikeControlParts(&params, Rect(10, 0, 15, 22), 11, parts);
  EXPECT_EQ(parts[dxBarButtonPartFace], Rect(10, 0, 10, 22));
  EXPECT_EQ(parts[dxBarButtonPartArrow], Rect(10, 0, 15, 22));
}

TEST(PainterMenus, IndentsAndRectanglesFollowTheMenuWindow)
{
  TPainterHost host;
  TTestBarControl* menu = new TTestBarControl(host.Manager);
  menu->BarKind = bkMenu;
  menu->TextHeight = 21;
  menu->GlyphColumnWidth = 24;
  TTestItemControl item(menu);
  TdxBarPainter p;
  EXPECT_EQ(p.GetItemIndent(&item), 22);
  EXPECT_EQ(p.GetMenuCaptionIndent(menu), 27);
  EXPECT_EQ(p.GetMenuGlyphRect(menu, Rect(2, 10, 150, 31)), Rect(2, 10, 26, 31));
  EXPECT_EQ(p.GetMenuCaptionRect(menu, Rect(2, 10, 150, 31)), Rect(29, 10, 150, 31));
  EXPECT_EQ(p.GetScrollButtonHeight(menu), 21);
  EXPECT_EQ(p.GetScrollButtonRect(menu, Rect(2, 2, 100, 300), false), Rect(2, 2, 100, 23));
  EXPECT_EQ(p.GetScrollButtonRect(menu, Rect(2, 2, 100, 300), true), Rect(2, 279, 100, 300));
  // The separator is 0 high in the base and sits a pixel higher above an active item.
  EXPECT_EQ(p.GetSeparatorRect(&item, Rect(2, 40, 150, 61)), Rect(2, 40, 150, 40));
  item.Active = true;
  EXPECT_EQ(p.GetSeparatorRect(&item, Rect(2, 40, 150, 61)), Rect(2, 39, 150, 39));
  menu->BarKind = bkHorizontal;
  EXPECT_EQ(p.GetItemIndent(&item), 0);
  EXPECT_EQ(p.GetItemIndent(nullptr), 0);
}

TEST(PainterText, SubItemCaptionMarginIsHalfThePixelHeightWhateverItsSign)
{
  TPainterHost host;
  TTestBarControl* bar = new TTestBarControl(host.Manager);
  TTestItemControl item(bar);
  TdxBarPainter p;
  bar->GetFont()->SetHeight(-13);
  EXPECT_EQ(p.GetSubItemCaptionMargin(&item), 6);
  // A font given by its cell height must not give a negative margin.
  bar->GetFont()->SetHeight(15);
  EXPECT_EQ(p.GetSubItemCaptionMargin(&item), 7);
  EXPECT_EQ(p.GetSubItemCaptionMargin(nullptr), 0);
}

TEST(PainterGlyphs, GlyphRectIsPlacedByLayoutWhenACaptionIsShown)
{
  TdxBarPainter p;
  TdxBarItemControlDrawParams params;
  const TRect content = Rect(0, 0, 60, 60);
  const TSize glyph = Size(32, 32);
  EXPECT_EQ(p.CalcGlyphRect(&params, glyph, content, glTop), Rect(14, 14, 46, 46));
  params.ViewParts = ivpGlyph | ivpCaption;
  EXPECT_EQ(p.CalcGlyphRect(&params, glyph, content, glTop), Rect(14, 2, 46, 34));
  EXPECT_EQ(p.CalcGlyphRect(&params, glyph, content, glBottom), Rect(14, 26, 46, 58));
  EXPECT_EQ(p.CalcGlyphRect(&params, glyph, content, glLeft), Rect(4, 14, 36, 46));
  EXPECT_EQ(p.CalcGlyphRect(&params, glyph, content, glRight), Rect(24, 14, 56, 46));
  params.BarControlKind = bkVertical;
  EXPECT_EQ(p.CalcGlyphRect(&params, glyph, content, glLeft), Rect(14, 4, 46, 36));
  EXPECT_EQ(p.CalcGlyphRect(&params, glyph, content, glTop), Rect(26, 14, 58, 46));
}
