// The painter's fixed metrics, the values it reads from the system and the arrow widths of
// each painter kind, with the painter class each manager style creates.
#include "PainterTestUtil.h"

namespace {

struct TArrowCase {
  TdxBarManagerStyle Style;
  int ButtonArrowWidth;
  bool LargeIcons;
  int Expected;
};

class TArrowWidthTest : public testing::TestWithParam<TArrowCase> {};

}  // namespace

TEST_P(TArrowWidthTest, ButtonArrowWidthIsDoubledWithLargeIconsMadeOddAndAdjustedPerKind)
{
  const TArrowCase& c = GetParam();
  TPainterHost host;
  host.Manager->SetButtonArrowWidth(c.ButtonArrowWidth);
  host.Manager->SetLargeIcons(c.LargeIcons);
  // The XP kind is asked directly: its style falls back to another painter without
  // visual styles.
  std::unique_ptr<TdxBarPainter> xp(new TdxBarXPPainter);
  TdxBarPainter* painter = c.Style == bmsXP ? xp.get() : (host.Manager->SetStyle(c.Style), host.Painter());
  EXPECT_EQ(painter->GetButtonArrowWidth(host.Manager), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, TArrowWidthTest,
                         testing::Values(TArrowCase{bmsEnhanced, 11, true, 23}, TArrowCase{bmsEnhanced, 12, false, 13},
                                         TArrowCase{bmsEnhanced, 11, false, 11}, TArrowCase{bmsStandard, 12, true, 25},
                                         TArrowCase{bmsFlat, 11, false, 10}, TArrowCase{bmsFlat, 11, true, 22},
                                         TArrowCase{bmsFlat, 12, false, 12}, TArrowCase{bmsOffice11, 11, false, 10},
                                         TArrowCase{bmsXP, 11, false, 14}, TArrowCase{bmsXP, 11, true, 26}));

TEST(PainterArrows, LargeButtonArrowWidthPerKind)
{
  TPainterHost host;
  EXPECT_EQ(host.Painter()->GetLargeButtonArrowWidth(host.Manager), 13);
  host.Manager->SetStyle(bmsFlat);
  EXPECT_EQ(host.Painter()->GetLargeButtonArrowWidth(host.Manager), 12);
  EXPECT_EQ(TdxBarXPPainter().GetLargeButtonArrowWidth(host.Manager), 16);
  host.Manager->SetLargeButtonArrowWidth(20);
  EXPECT_EQ(host.Painter()->GetLargeButtonArrowWidth(host.Manager), 19);
  // Without a manager there is nothing to read.
  EXPECT_EQ(TdxBarPainter().GetButtonArrowWidth(nullptr), 0);
}

TEST(PainterClasses, EachStyleCreatesItsPainterKind)
{
  TPainterHost host;
  EXPECT_EQ(host.Manager->GetCurrentPainterClass(), TdxBarEnhancedPainter::StaticClass());
  const std::pair<TdxBarManagerStyle, TClass> cases[] = {
      {bmsStandard, TdxBarStandardPainter::StaticClass()},
      {bmsFlat, TdxBarFlatPainter::StaticClass()},
      {bmsOffice11, TdxBarOffice11Painter::StaticClass()},
      {bmsEnhanced, TdxBarEnhancedPainter::StaticClass()},
  };
  for (const auto& [style, cls] : cases) {
    host.Manager->SetStyle(style);
    ASSERT_NE(host.Painter(), nullptr);
    EXPECT_EQ(host.Painter()->ClassType(), cls) << int(style);
    EXPECT_TRUE(host.Painter()->InheritsFrom(TdxBarPainter::StaticClass()));
  }
  host.Manager->SetStyle(bmsXP);
  TClass xpClass =
      host.Manager->AreVisualStylesUsed() ? TdxBarXPPainter::StaticClass() : TdxBarEnhancedPainter::StaticClass();
  EXPECT_EQ(host.Painter()->ClassType(), xpClass);
}

// The kinds side by side: what a look changes runs the way the look needs, and the kinds
// built on another keep its geometry.
TEST(PainterMetrics, KindsDifferWhereTheirLooksDo)
{
  const TdxBarPainter base;
  const TdxBarStandardPainter standard;
  const TdxBarEnhancedPainter enhanced;
  const TdxBarFlatPainter flat;
  const TdxBarOffice11Painter office;
  // Flat separators and menu separators are narrower, flat menu items roomier.
  EXPECT_LT(flat.GetToolbarSeparatorSize(), base.GetToolbarSeparatorSize());
  EXPECT_LT(flat.GetMenuSeparatorSize(), base.GetMenuSeparatorSize());
  EXPECT_GT(flat.GetMenuItemHeightDelta(nullptr, 20), base.GetMenuItemHeightDelta(nullptr, 20));
  EXPECT_GT(flat.GetMenuItemWidthDelta(nullptr, 80), base.GetMenuItemWidthDelta(nullptr, 80));
  EXPECT_LT(flat.GetEditBorderMargins().left, base.GetEditBorderMargins().left);
  // A separator's line lies inside its gap.
  for (const TdxBarPainter* p : std::initializer_list<const TdxBarPainter*>{&base, &flat})
    EXPECT_LT(2 * p->GetToolbarSeparatorOffset(), p->GetToolbarSeparatorSize());
  // A docked bar makes room for the drag handle its look draws: two bars in the standard
  // look, one bar or grip in the enhanced and flat looks, none in the base.
  EXPECT_EQ(base.GetDragHandleSize(nullptr), 0);
  EXPECT_GT(standard.GetDragHandleSizeEx(nullptr), enhanced.GetDragHandleSizeEx(nullptr));
  for (const TdxBarPainter* p : std::initializer_list<const TdxBarPainter*>{&standard, &enhanced, &flat}) {
    EXPECT_EQ(p->GetDragHandleSize(nullptr), p->GetDragHandleSizeEx(nullptr));
    EXPECT_GT(p->GetDragHandleSize(nullptr), p->GetDragHandleOffset() + p->Metrics().DragHandleWidth);
  }
  // Lowered buttons have a border where the look draws one, and items grow by it.
  EXPECT_EQ(base.GetLoweredBorderWidth(), 0);
  EXPECT_GT(flat.GetLoweredBorderWidth(), 0);
  EXPECT_GT(standard.GetLoweredBorderWidth(), 0);
  EXPECT_EQ(flat.GetDefaultItemHeight(nullptr, 13), base.GetDefaultItemHeight(nullptr, 13) + 2);
  // The Office 2003 look keeps the flat geometry.
  EXPECT_EQ(office.GetToolbarSeparatorSize(), flat.GetToolbarSeparatorSize());
  EXPECT_EQ(office.GetMenuSeparatorSize(), flat.GetMenuSeparatorSize());
  // ... but its grip of dots sits further in.
  EXPECT_EQ(office.GetDragHandleOffset(), flat.GetDragHandleOffset() + 2);
  EXPECT_EQ(office.GetDragHandleSize(nullptr), office.GetDragHandleOffset() + office.Metrics().DragHandleWidth + 2);
  // A 16-pixel icon gets a 22 x 23 glyph area.
  EXPECT_EQ(base.GetImageSize(16, 19).cx, 22);
  EXPECT_EQ(base.GetImageSize(16, 19).cy, 23);
}

TEST(PainterMetrics, SmallMarkIsAtMostSixteenHigh)
{
  TdxBarPainter p;
  EXPECT_TRUE(p.IsSmallMark(Rect(0, 4, 13, 20)));
  EXPECT_FALSE(p.IsSmallMark(Rect(0, 4, 13, 21)));
}

TEST(PainterMetrics, StaticBorderWidthsPerStyle)
{
  TdxBarPainter p;
  const std::pair<TdxBarStaticBorderStyle, int> cases[] = {
      {sbsNone, 0}, {sbsLowered, 1}, {sbsRaised, 1}, {sbsEtched, 2}, {sbsBump, 2}};
  for (const auto& [style, width] : cases)
    EXPECT_EQ(p.GetStaticBorderRect(style), Rect(width, width, width, width)) << int(style);
  // A value outside the enumeration gets no border rather than garbage.
  EXPECT_EQ(p.GetStaticBorderRect(TdxBarStaticBorderStyle(42)), Rect(0, 0, 0, 0));
}

TEST(PainterMetrics, MenuTextHeightKeepsTheScrollArrowEven)
{
  TdxBarPainter p;
  EXPECT_EQ(p.CalcMenuTextHeight(14), 15);  // arrow (15 - 6) div 2 = 4, even
  EXPECT_EQ(p.CalcMenuTextHeight(16), 14);  // 17 gives arrow 5: 2 * 4 + 6
  EXPECT_EQ(p.GetScrollButtonArrowSize(p.CalcMenuTextHeight(16)) % 2, 0);
  EXPECT_EQ(p.GetScrollArrowSize(15), 4);
}

TEST(PainterMetrics, SpinArrowSizeFromTheButtonHeight)
{
  TdxBarPainter p;
  EXPECT_EQ(p.GetSpinArrowSize(22).cy, 4);  // ((22 div 2) - 2) div 2
  EXPECT_EQ(p.GetSpinArrowSize(22).cx, 7);
  EXPECT_EQ(p.GetSpinArrowSize(10).cy, 1);
  EXPECT_EQ(p.GetSpinArrowSize(10).cx, 1);
  // Too small a button gives no arrow, never a negative size.
  EXPECT_EQ(p.GetSpinArrowSize(2).cx, 0);
  EXPECT_EQ(p.GetSpinArrowSize(2).cy, 0);
}

TEST(PainterText, DetachStripIsHalfTheQqHeightMadeOddPlusThree)
{
  TPainterHost host;
  TTestBarControl* menu = new TTestBarControl(host.Manager);
  for (int height : {-11, -16, -21}) {
    menu->GetFont()->SetHeight(height);
    TcxScreenCanvas canvas;
    canvas.SetFont(menu->GetFont());
    int half = canvas.TextHeight(L"Qq") / 2;
    int odd = half % 2 == 0 ? half + 1 : half;
    EXPECT_EQ(host.Painter()->GetDetachStripHeight(menu), odd + 3) << height;
    EXPECT_EQ(host.Painter()->GetDetachStripHeight(menu) % 2, 0) << height;
  }
}
