// The pieces of an item's entry in the design lists: caption cells and their gaps, the
// frame round the sample, the drop-down part, the focus rectangle, and the choice of a
// kind from the manager's look.
#include "ListPaintTestUtil.h"
#include "bars/painters/painter.h"
#include "lookandfeel/dxOffice11.h"
#include "platform/Scope.h"

namespace {

const TRect Cell = Rect(10, 4, 210, 26);
constexpr int CellMid = 15;
const COLORREF Background = RGB(255, 0, 255);

struct TItemCellsTest : testing::Test {
  TListPaintHost Host;
  TClass Standard = TdxBarCustomizingFormStandardPainter::StaticClass();
  TClass Flat = TdxBarCustomizingFormFlatPainter::StaticClass();
  TClass Office11 = TdxBarCustomizingFormOffice11Painter::StaticClass();
  TClass XP = TdxBarCustomizingFormXPPainter::StaticClass();
};

// How many pixels of the ring Inset pixels inside R are no longer Background.
int ChangedOnRing(TPaintTarget& T, const TRect& R, int Inset)
{
  TRect r = R;
  InflateRect(&r, -Inset, -Inset);
  int changed = 0;
  for (int x = r.left; x < r.right; ++x)
    changed += !ColorsClose(T.Pixel(x, r.top), Background, 0) + !ColorsClose(T.Pixel(x, r.bottom - 1), Background, 0);
  for (int y = r.top + 1; y < r.bottom - 1; ++y)
    changed += !ColorsClose(T.Pixel(r.left, y), Background, 0) + !ColorsClose(T.Pixel(r.right - 1, y), Background, 0);
  return changed;
}

}  // namespace

TEST_F(TItemCellsTest, ATextCellIsItsTextPaddedAndFollowedByAnUnselectedGap)
{
  const int height = RectHeight(Cell);
  struct TRow {
    TClass Kind;
    int Padding;
  };
  for (TRow row : {TRow{Standard, 3}, TRow{XP, 3}, TRow{Flat, 11}, TRow{Office11, height + 16}}) {
    SCOPED_TRACE(row.Kind->ClassName());
    const TdxBarCustomizingFormPainter& painter = PainterOf(row.Kind);
    TPaintTarget t(300, 32, Background);
    int width = t.Canvas.TextWidth(L"Caption");
    TRect r = Cell;
    r.right = r.left + width;
    int end = painter.DrawTextCell(&t.Canvas, r, true, Host.Button, L"Caption");
    EXPECT_EQ(end, r.right + row.Padding + 4);
    COLORREF unselected = ColorOf(painter.GetBackgroundColor(false, Host.Button));
    for (int x = end - 4; x < end; ++x)
      EXPECT_TRUE(ColorNear(t.Pixel(x, CellMid), unselected)) << "gap at " << x - r.left;
    EXPECT_TRUE(ColorNear(t.Pixel(end, CellMid), Background)) << "nothing past the gap";
    EXPECT_TRUE(ColorNear(t.Pixel(end - 6, Cell.top + 1), ColorOf(painter.GetBackgroundColor(true, Host.Button))));
  }
}

TEST_F(TItemCellsTest, TheCaptionCellShowsTheCaptionWithoutAcceleratorsAndMovesTheLeftEdge)
{
  Host.Button->SetCaption(L"&Open && Save");
  TPaintTarget t(300, 32, Background);
  TRect r = Cell;
  PainterOf(Standard).DrawItemCaptionCell(&t.Canvas, r, false, Host.Button);
  EXPECT_EQ(r.left, Cell.left + t.Canvas.TextWidth(L"Open & Save") + 3 + 4);
  EXPECT_EQ(r.right, Cell.right);
  // The same pixels as the stripped text drawn in a cell of its own.
  TPaintTarget expected(300, 32, Background);
  TRect e = Cell;
  e.right = e.left + expected.Canvas.TextWidth(L"Open & Save");
  PainterOf(Standard).DrawTextCell(&expected.Canvas, e, false, Host.Button, L"Open & Save");
  EXPECT_EQ(CountDifferentPixels(t.Dib, Rect(0, 0, 300, 32), expected.Dib), 0);
}

TEST_F(TItemCellsTest, TheFrameRoundTheSampleOfEachKind)
{
  struct TRow {
    TClass Kind;
    bool Selected;
    COLORREF Left, Right;  // the outer frame's left and right lines
    int Shrink;
  };
  const COLORREF brush = RGB(10, 200, 30);
  const TdxOffice11Colors& c = dxOffice11Colors();
  for (TRow row : {TRow{Standard, true, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT), 2},
                   TRow{Standard, false, brush, brush, 2}, TRow{XP, true, brush, brush, 1},
                   TRow{Flat, false, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW), 1},
                   TRow{Flat, true, GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHT), 1},
                   TRow{Office11, true, ColorOf(c.BorderColor), ColorOf(c.BorderColor), 1}}) {
    SCOPED_TRACE(row.Kind->ClassName());
    SCOPED_TRACE(row.Selected ? "selected" : "unselected");
    TPaintTarget t(300, 32, Background);
    t.Canvas.GetBrush()->SetColor(TColor(brush));
    TRect r = Cell;
    PainterOf(row.Kind).DrawItemFrame(&t.Canvas, r, row.Selected);
    EXPECT_EQ(r,
              Rect(Cell.left + row.Shrink, Cell.top + row.Shrink, Cell.right - row.Shrink, Cell.bottom - row.Shrink));
    EXPECT_TRUE(ColorNear(t.Pixel(Cell.left, CellMid), row.Left));
    EXPECT_TRUE(ColorNear(t.Pixel(Cell.right - 1, CellMid), row.Right));
    EXPECT_TRUE(ColorNear(t.Pixel(Cell.left + row.Shrink, CellMid), Background)) << "the inside is left alone";
  }
}

TEST_F(TItemCellsTest, AnItemIsItsCaptionCellFrameSampleAndDropDownPart)
{
  for (TClass kind : {Standard, XP}) {
    SCOPED_TRACE(kind->ClassName());
    TThemeOff themeOff;
    const TdxBarCustomizingFormPainter& painter = PainterOf(kind);
    TPaintTarget t(300, 32, Background);
    painter.DrawItem(&t.Canvas, Cell, true, true, Host.Button);
    int frameLeft = Cell.left + t.Canvas.TextWidth(L"Open") + 3 + 4;
    int frame = kind == Standard ? 2 : 1;
    int part = Cell.right - frame - painter.GetDropDownButtonWidth();
    // The selected drop-down part is raised: light on its left, dark on its right.
    EXPECT_TRUE(ColorNear(t.Pixel(part, CellMid), GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_TRUE(ColorNear(t.Pixel(Cell.right - frame - 1, CellMid), GetSysColor(COLOR_BTNSHADOW)));
    // The frame and the sample (the base item fills it with the canvas brush) take the
    // brush the caption cell left: its gap's colour.
    COLORREF gap = ColorOf(painter.GetBackgroundColor(false, Host.Button));
    EXPECT_TRUE(ColorNear(t.Pixel(frameLeft, CellMid), kind == Standard ? GetSysColor(COLOR_BTNSHADOW) : gap))
        << "sunken when selected";
    EXPECT_TRUE(ColorNear(t.Pixel(frameLeft + frame + 3, CellMid), gap));
    EXPECT_TRUE(ColorNear(t.Pixel(part - 1, CellMid), gap));
    EXPECT_EQ(CountPixelsNear(t.Dib, Cell, Background, 0), 0) << "the whole item is drawn";
  }
}

TEST_F(TItemCellsTest, OnlyTheBaseKindsDrawAFocusRectangleAndTheStandardOneTwoInside)
{
  struct TRow {
    TClass Kind;
    int Inset;  // -1: none drawn
  };
  for (TRow row : {TRow{Standard, 2}, TRow{XP, 0}, TRow{Flat, -1}, TRow{Office11, -1}}) {
    SCOPED_TRACE(row.Kind->ClassName());
    TPaintTarget t(300, 32, Background);
    PainterOf(row.Kind).DrawFocusRect(&t.Canvas, Cell);
    for (int inset = 0; inset < 4; ++inset) {
      if (inset == row.Inset)
        EXPECT_GT(ChangedOnRing(t, Cell, inset), 20) << "inset " << inset;
      else
        EXPECT_EQ(ChangedOnRing(t, Cell, inset), 0) << "inset " << inset;
    }
  }
}

TEST_F(TItemCellsTest, AFocusRectangleLeavesTheNextEntrysTextColourAlone)
{
  // The list draws the focused entry again after its focus rectangle, with the colour the
  // canvas already holds.
  const TdxBarCustomizingFormPainter& painter = PainterOf(Standard);
  TPaintTarget t(300, 32, Background);
  painter.DrawCommandItem(&t.Canvas, Cell, true, Host.Button, L"HHHH");
  painter.DrawFocusRect(&t.Canvas, Cell);
  painter.DrawCommandItem(&t.Canvas, Cell, true, Host.Button, L"HHHH");
  TRect text = Rect(Cell.left + 26, Cell.top + 3, Cell.left + 90, Cell.bottom - 3);
  EXPECT_GT(CountPixelsNear(t.Dib, text, GetSysColor(COLOR_HIGHLIGHTTEXT)), 10);
  EXPECT_EQ(CountPixelsNear(t.Dib, text, GetSysColor(COLOR_BTNTEXT), 40), 0);
}

TEST_F(TItemCellsTest, TheThemedSampleGetsAThemedBorderOutsideItsInside)
{
  TRecordingTheme theme;
  TdxBarThemeBinding binding = theme.Binding();
  SetdxBarThemeBinding(&binding);
  TFinally restore([] { SetdxBarThemeBinding(nullptr); });
  TPaintTarget t(300, 32, Background);
  t.Canvas.GetBrush()->SetColor(TColor(RGB(10, 200, 30)));
  PainterOf(XP).DrawItemImage(&t.Canvas, Cell, false, Host.Button);
  ASSERT_EQ(theme.Calls.size(), 1u);
  EXPECT_EQ(theme.Calls[0].Kind, totEdit);
  EXPECT_EQ(theme.Calls[0].R, Cell);
  EXPECT_TRUE(ColorNear(t.Pixel(Cell.left, CellMid), RGB(1, 2, 3))) << "the theme's border";
  EXPECT_TRUE(ColorNear(t.Pixel(Cell.left + 1, CellMid), RGB(10, 200, 30))) << "the item's sample";
  EXPECT_TRUE(ColorNear(t.Pixel(Cell.right - 2, CellMid), RGB(10, 200, 30)));
  EXPECT_TRUE(ColorNear(t.Pixel(Cell.right, CellMid), Background));
}

TEST_F(TItemCellsTest, TheKindFollowsTheManagersBarPainterExactly)
{
  EXPECT_EQ(GetCustomizingFormPainterClass(TdxBarXPPainter::StaticClass()), XP);
  EXPECT_EQ(GetCustomizingFormPainterClass(TdxBarOffice11Painter::StaticClass()), Office11);
  EXPECT_EQ(GetCustomizingFormPainterClass(TdxBarFlatPainter::StaticClass()), Flat);
  EXPECT_EQ(GetCustomizingFormPainterClass(TdxBarEnhancedPainter::StaticClass()), Standard);
  EXPECT_EQ(GetCustomizingFormPainterClass(TdxBarStandardPainter::StaticClass()), Standard);
  EXPECT_EQ(GetCustomizingFormPainterClass(TClass(nullptr)), Standard);
  EXPECT_EQ(GetCustomizingFormPainterClass(static_cast<const TdxBarManager*>(nullptr)), Standard);

  struct TRow {
    TdxBarManagerStyle Style;
    TClass Kind;
  };
  for (TRow row :
       {TRow{bmsStandard, Standard}, TRow{bmsEnhanced, Standard}, TRow{bmsFlat, Flat}, TRow{bmsOffice11, Office11}}) {
    Host.Manager->SetStyle(row.Style);
    EXPECT_EQ(GetCustomizingFormPainterClass(Host.Manager), row.Kind) << int(row.Style);
  }
  // The XP look needs visual styles; without them the manager draws the enhanced look.
  Host.Manager->SetStyle(bmsXP);
  EXPECT_EQ(GetCustomizingFormPainterClass(Host.Manager), Host.Manager->AreVisualStylesUsed() ? XP : Standard);

  // One shared instance per kind; anything else gives the standard one.
  for (TClass kind : AllListPainterKinds())
    EXPECT_EQ(PainterOf(kind).ClassType(), kind);
  EXPECT_EQ(PainterOf(TdxBarFlatPainter::StaticClass()).ClassType(), Standard);
  EXPECT_EQ(PainterOf(nullptr).ClassType(), Standard);
  EXPECT_EQ(&PainterOf(Flat), &PainterOf(Flat));
  EXPECT_TRUE(Office11->InheritsFrom(Flat));
  EXPECT_FALSE(XP->InheritsFrom(Flat));

  EXPECT_EQ(PainterOf(Standard).GetDropDownButtonWidth(), 12);
  EXPECT_EQ(PainterOf(Flat).GetDropDownButtonWidth(), 12);
  EXPECT_EQ(PainterOf(XP).GetDropDownButtonWidth(), 13);
  EXPECT_EQ(PainterOf(Standard).GetListBackgroundColor(), clBtnFace);
  EXPECT_EQ(PainterOf(Office11).GetListBackgroundColor(), dxOffice11Colors().MenuColor);
}

TEST_F(TItemCellsTest, NilCanvasesAndItemsAreIgnored)
{
  for (TClass kind : AllListPainterKinds()) {
    const TdxBarCustomizingFormPainter& painter = PainterOf(kind);
    TRect r = Cell;
    painter.DrawItem(nullptr, Cell, true, true, Host.Button);
    painter.DrawItemCaptionCell(nullptr, r, true, Host.Button);
    painter.DrawItemFrame(nullptr, r, true);
    painter.DrawItemContent(nullptr, r, true, true, Host.Button);
    painter.DrawItemImage(nullptr, r, true, Host.Button);
    painter.DrawSubMenuArrow(nullptr, 1, 1, true);
    painter.DrawDropDownButton(nullptr, r, true);
    painter.DrawFocusRect(nullptr, r);
    EXPECT_EQ(painter.DrawTextCell(nullptr, r, true, Host.Button, L"x"), r.right);
    EXPECT_EQ(r, Cell);
    TPaintTarget t(300, 32, Background);
    painter.DrawItem(&t.Canvas, Cell, true, true, nullptr);
    EXPECT_TRUE(ColorNear(t.Pixel(Cell.right + 1, CellMid), Background)) << kind->ClassName();
  }
}
