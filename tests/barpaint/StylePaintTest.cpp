// The base painter's edits, combos, statics and progress bars, the standard and enhanced
// drag handles, the gradient look's colour rules and the XP painter's theme parts, probed
// in memory pixels or through a recording theme binding.
#include <map>
#include <memory>
#include <vector>

#include <vsstyle.h>

#include "PaintTestUtil.h"
#include "support/RecordingTheme.h"
#include "bars/model/startup.h"
#include "lookandfeel/dxOffice11.h"
#include "lookandfeel/dxThemeManager.h"
#include "platform/Scope.h"

namespace {

constexpr COLORREF Own = RGB(10, 200, 30);
constexpr COLORREF Fill = RGB(200, 0, 0);

// An item control that is also an edit and a combo, for the painter's callbacks.
class TEditItem : public TPaintItem, public IdxBarComboItems {
public:
  using TPaintItem::TPaintItem;
  String GetComboText() const override { return L"Text"; }
  int GetComboItemCount() const override { return 1; }
  String GetComboItem(int AIndex) const override { return L"Item"; }
};

struct TEditCase {
  TEditCase(TPaintHost& AHost, TDib32& ADib) : Canvas(ADib), Item(AHost.Bar)
  {
    Params.ItemControl = &Item;
    Params.Canvas = &Canvas.Cx;
    Params.BarControlKind = bkHorizontal;
  }
  TDibCanvas Canvas;
  TEditItem Item;
  TdxBarEditLikeControlDrawParams Params;
};

}  // namespace

// --- Edits and combos ------------------------------------------------------------------

TEST(BaseEdit, PartsLeaveTheCaptionItsWidthAndTheButtonTheEditsRightEnd)
{
  TPaintHost host;
  host.Manager->SetStyle(bmsStandard);
  TdxBarPainter base;
  TDib32 dib(120, 22);
  TEditCase edit(host, dib);
  edit.Params.ViewParts = ivpCaption;
  edit.Params.CaptionWidth = 30;
  edit.Params.EditRect = Rect(32, 0, 120, 22);
  edit.Params.ButtonWidth = 15;
  std::vector<TRect> parts;
  base.CalcComboParts(&edit.Params, Rect(0, 0, 120, 22), parts);
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[dxBarEditPartCaption], Rect(2, 0, 32, 22)) << "indented by the border margin on a toolbar";
  EXPECT_EQ(parts[dxBarComboPartButton], Rect(103, 2, 118, 20)) << "inside the border, at the right";
  EXPECT_EQ(parts[dxBarEditPartText], Rect(32, 0, 102, 22)) << "the text part ends the gap before the button";
  edit.Params.BarControlKind = bkMenu;
  base.CalcEditParts(&edit.Params, Rect(0, 0, 120, 22), parts);
  EXPECT_EQ(parts[dxBarEditPartCaption].left, 0) << "menus do not indent the caption";
}

// Nothing of the item's rectangle keeps what the window showed before: the strip before an
// indented caption is painted as the bar's own, in every look.
TEST(BaseEdit, TheStripBeforeAnIndentedCaptionIsPainted)
{
  TPaintHost host;
  const TdxBarStandardPainter standard;
  const TdxBarFlatPainter flat;
  const TdxBarOffice11Painter office11;
  for (const TdxBarPainter* painter : std::initializer_list<const TdxBarPainter*>{&standard, &flat, &office11}) {
    TDib32 dib(120, 22, Paper);
    TEditCase edit(host, dib);
    edit.Params.ViewParts = ivpCaption;
    edit.Params.Caption = L"Kind";
    edit.Params.CaptionWidth = 30;
    edit.Params.EditRect = Rect(32, 0, 120, 22);
    painter->CalcComboParts(&edit.Params, Rect(0, 0, 120, 22), edit.Params.Parts);
    ASSERT_GT(edit.Params.Parts[dxBarEditPartCaption].left, 0);
    painter->DrawEditCaption(&edit.Params, Rect(0, 0, 120, 22));
    const TRect strip = Rect(0, 0, edit.Params.Parts[dxBarEditPartCaption].left, 22);
    EXPECT_EQ(CountPixelsNear(dib, strip, Paper, 0), 0) << painter->ClassName().c_str();
  }
}

TEST(BaseEdit, BorderRingsAndColoursByState)
{
  TPaintHost host;
  host.Manager->SetStyle(bmsStandard);
  TdxBarPainter base;
  HBRUSH own = CreateSolidBrush(Own);
  struct TCase {
    bool Enabled, Selected;
    COLORREF Outer, Inner;
    const char* Name;
  } cases[] = {{true, false, Own, Own, "idle: both rings in the edit colour"},
               {false, false, Own, Sys(COLOR_BTNHIGHLIGHT), "disabled: a highlight inner ring"},
               {true, true, Sys(COLOR_BTNSHADOW), Own, "hot: a sunken outer edge"}};
  for (const TCase& c : cases) {
    TDib32 dib(60, 22, Paper);
    TEditCase edit(host, dib);
    edit.Item.OwnBrush = own;
    edit.Item.Enabled = c.Enabled;
    edit.Params.Enabled = c.Enabled;
    edit.Params.PaintedSelected = c.Selected;
    TRect r = Rect(0, 0, 60, 22);
    base.DrawEditBorder(&edit.Params, r);
    EXPECT_EQ(r, Rect(2, 2, 58, 20)) << c.Name;
    EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), c.Outer, 2)) << c.Name;
    EXPECT_TRUE(ColorNear(dib.Pixel(1, 11), c.Inner, 2)) << c.Name;
    EXPECT_EQ(dib.Pixel(30, 11), Paper) << c.Name << ": the text area is left alone";
  }
  // A disabled edit's text is grey on the colour of its own brush.
  TDib32 dib(10, 10);
  TEditCase edit(host, dib);
  edit.Item.OwnBrush = own;
  edit.Item.Enabled = false;
  TColor text = clNone, back = clNone;
  base.GetInPlaceEditColors(&edit.Item, text, back);
  EXPECT_EQ(ColorToRGB(text), Sys(COLOR_GRAYTEXT));
  EXPECT_EQ(ColorToRGB(back), Own);
  DeleteObject(own);
}

TEST(BaseEdit, ComboEntriesStartTwoPixelsInAndOnlyExistingOnesDraw)
{
  TPaintHost host;
  TdxBarPainter base;
  for (int index : {-1, 0, 5}) {
    TDib32 dib(60, 16, RGB(255, 255, 255));
    TEditCase edit(host, dib);
    edit.Canvas.Cx.GetBrush()->SetColor(clWhite);
    base.DrawComboItem(&edit.Item, &edit.Canvas.Cx, index, Rect(0, 0, 60, 16));
    int ink = CountPixels(dib, RECT{0, 0, 60, 16}, [](COLORREF c) { return GetRValue(c) < 128; });
    EXPECT_EQ(CountPixels(dib, RECT{0, 0, 2, 16}, [](COLORREF c) { return GetRValue(c) < 128; }), 0) << index;
    EXPECT_EQ(ink > 0, index < 1) << index << ": -1 is the combo's text, 0 its entry, 5 nothing";
  }
}

// --- Statics and progress bars ---------------------------------------------------------

TEST(BaseStatic, BordersShrinkByStyleAndTheBumpIsARidge)
{
  TPaintHost host;
  TdxBarPainter base;
  struct TCase {
    TdxBarStaticBorderStyle Style;
    int Shrink;
    COLORREF TopLeft;
  } cases[] = {{sbsNone, 0, Paper},
               {sbsLowered, 1, Sys(COLOR_BTNSHADOW)},
               {sbsRaised, 1, Sys(COLOR_BTNHIGHLIGHT)},
               {sbsEtched, 2, Sys(COLOR_BTNSHADOW)},
               {sbsBump, 2, Sys(COLOR_BTNHIGHLIGHT)}};
  for (const TCase& c : cases) {
    TDib32 dib(40, 20, Paper);
    TEditCase edit(host, dib);
    TRect r = Rect(0, 0, 40, 20);
    base.DrawStaticBorder(&edit.Params, r, c.Style);
    EXPECT_EQ(r, Rect(c.Shrink, c.Shrink, 40 - c.Shrink, 20 - c.Shrink)) << c.Style;
    EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), c.TopLeft, 2)) << c.Style;
    if (c.Style == sbsBump) {
      // Raised outside, sunken inside.
      EXPECT_TRUE(ColorNear(dib.Pixel(1, 1), Sys(COLOR_BTNSHADOW), 2));
      EXPECT_TRUE(ColorNear(dib.Pixel(39, 19), Sys(COLOR_BTNSHADOW), 2));
      EXPECT_TRUE(ColorNear(dib.Pixel(38, 18), Sys(COLOR_BTNHIGHLIGHT), 2));
    }
  }
}

TEST(BaseProgress, FillIsClampedToTheRangeAndCutIntoBlocks)
{
  TPaintHost host;
  TdxBarPainter base;
  struct TCase {
    int Min, Max, Position;
    bool Smooth, Vertical;
    std::vector<std::pair<int, int>> Runs;  // filled [from, to) along the bar
    const char* Name;
  } cases[] = {
      {5, 5, 5, true, false, {}, "an empty range fills nothing"},
      {0, 100, 37, true, false, {{0, 37}}, "smooth"},
      {0, 100, -10, true, false, {}, "below Min"},
      {0, 100, 150, true, false, {{0, 100}}, "above Max: held at the end"},
      {0, 100, 25, false, false, {{0, 8}, {10, 18}, {20, 25}}, "blocks of 8, gaps of 2, the last cut"},
      {0, 10, 3, true, true, {{0, 30}}, "vertical: from the top"},
  };
  for (const TCase& c : cases) {
    TDib32 dib(c.Vertical ? 12 : 110, c.Vertical ? 110 : 12, Paper);
    TDibCanvas canvas(dib);
    TEditItem item(host.Bar);
    item.OwnBrush = CreateSolidBrush(Own);
    TdxBarStaticLikeControlDrawParams params(&item);
    params.Canvas = &canvas.Cx;
    params.BarControlKind = c.Vertical ? bkVertical : bkHorizontal;
    params.Min = c.Min;
    params.Max = c.Max;
    params.Position = c.Position;
    params.Smooth = c.Smooth;
    base.DrawProgressBar(&params, c.Vertical ? Rect(0, 0, 12, 100) : Rect(0, 0, 100, 12), Fill);
    for (int p = 0; p < 110; ++p) {
      bool filled = false;
      for (auto [from, to] : c.Runs)
        filled |= p >= from && p < to;
      COLORREF expected = filled ? Fill : p < 100 ? Own : Paper;
      COLORREF actual = c.Vertical ? dib.Pixel(6, p) : dib.Pixel(p, 6);
      ASSERT_EQ(actual, expected) << c.Name << " at " << p;
    }
    DeleteObject(item.OwnBrush);
  }
}

// --- Standard and enhanced -------------------------------------------------------------

TEST(ClassicLook, StandardBarHasTwoRaisedDragBarsAndEnhancedOne)
{
  TPaintHost host;
  TdxBarStandardPainter standard;
  TdxBarEnhancedPainter enhanced;
  const COLORREF lit = Sys(COLOR_BTNHIGHLIGHT), dark = Sys(COLOR_BTNSHADOW);
  struct TCase {
    const TdxBarPainter* Painter;
    std::map<int, COLORREF> Row;  // x -> colour along the middle row
  } cases[] = {{&standard, {{4, lit}, {6, dark}, {7, lit}, {9, dark}, {10, Paper}}},
               {&enhanced, {{3, lit}, {5, dark}, {6, Paper}}}};
  for (const TCase& c : cases) {
    TDib32 dib(60, 30, Paper);
    TRect r = Rect(0, 0, 60, 30);
    // What the drag bars leave out of the clip is the window's to fill: paper here.
    c.Painter->DrawDockedBarBorder(host.Bar, dib.DC(), r);
    EXPECT_EQ(r, Rect(2, 2, 58, 28));
    for (auto [x, color] : c.Row)
      EXPECT_TRUE(ColorNear(dib.Pixel(x, 15), color, 2)) << c.Painter->ClassName().c_str() << " x " << x;
  }
  host.Bar->Detachable = true;
  EXPECT_EQ(standard.GetMenuBorders(host.Bar), Rect(2, 0, 2, 2)) << "the tear-off strip takes the top";
  host.Bar->Detachable = false;
  EXPECT_EQ(standard.GetMenuBorders(host.Bar), Rect(2, 2, 2, 2));
}

// --- The gradient look -----------------------------------------------------------------

// A split button hot or open is one piece: its arrow part lies on the same gradient as its
// face, row by row, inside the same frame; idle, the arrow part shows the bar.
TEST(GradientLook, ArrowPartOfAHotOrOpenSplitButtonSharesTheFacesGradient)
{
  TPaintHost host;
  host.Manager->SetStyle(bmsOffice11);
  const TdxOffice11Colors& c = dxOffice11Colors();
  struct TRow {
    bool Selected, Open;
    TColor First, Last;
  };
  for (TRow row :
       {TRow{true, false, c.SelectedColor1, c.SelectedColor2}, TRow{false, true, c.PressedColor1, c.PressedColor2},
        TRow{true, true, c.PressedColor1, c.PressedColor2}}) {
    SCOPED_TRACE(row.Open ? "open" : "hot");
    TDib32 dib(80, 40, Paper);
    TDibCanvas canvas(dib);
    TPaintItem item(host.Bar);
    item.HasGlyph = false;
    TdxBarButtonLikeControlDrawParams params;
    InitButtonParams(params, &item, &canvas.Cx, ivpGlyph);
    params.IsDropDown = true;
    params.IsSplit = true;
    params.ArrowWidth = host.Painter()->GetButtonArrowWidth(host.Manager);
    params.PaintedSelected = params.IsSelected = params.States.Selected = row.Selected;
    params.States.DroppedDown = row.Open;
    const TRect r = Rect(4, 4, 36 + params.ArrowWidth, 34);
    host.Painter()->DrawButtonLikeControl(&params, r);
    const int face = r.left + 3, arrow = r.right - 2;
    for (int y : {r.top + 2, (r.top + r.bottom) / 2 - 6, r.bottom - 3}) {
      EXPECT_EQ(dib.Pixel(arrow, y), dib.Pixel(face, y)) << "row " << y;
      EXPECT_TRUE(IsColorBetween(dib.Pixel(arrow, y), ColorToRGB(row.First), ColorToRGB(row.Last)))
          << ColorText(dib.Pixel(arrow, y));
    }
    EXPECT_NE(dib.Pixel(arrow, r.top + 2), dib.Pixel(arrow, r.bottom - 3)) << "a gradient, not a fill";
    // One frame round both parts: its top runs on over the arrow part.
    const COLORREF frame = dib.Pixel(r.left, (r.top + r.bottom) / 2);
    EXPECT_EQ(dib.Pixel(arrow, r.top), frame);
    EXPECT_EQ(dib.Pixel(r.right - 1, (r.top + r.bottom) / 2), frame);
  }
}

TEST(GradientLook, DisabledCaptionIsDrawnOnceInTheSetsColour)
{
  TPaintHost host;
  host.Manager->SetStyle(bmsOffice11);
  TdxBarPainter* p = host.Painter();
  TDib32 dib(40, 20, Paper);
  TEditItem item(host.Bar);
  p->DrawItemText(&item, dib.DC(), L"WWW", Rect(0, 0, 40, 20), dxBarTextAlignLeft, {.Enabled = false}, DT_SINGLELINE);
  COLORREF disabled = ColorToRGB(dxOffice11Colors().DisabledTextColor);
  EXPECT_GT(CountPixelsNear(dib, RECT{0, 0, 40, 20}, disabled, 4), 10);
  EXPECT_EQ(CountPixelsNear(dib, RECT{0, 0, 40, 20}, Sys(COLOR_BTNHIGHLIGHT), 4), 0) << "no emboss";
  host.Bar->MainMenu = true;
  host.Bar->DockingStyle = dsTop;
  TRect borders = p->GetDockedBarBorders(host.Bar);
  EXPECT_EQ(borders.top, 2);
  EXPECT_EQ(borders.bottom, 2);
  host.Bar->DockingStyle = dsLeft;
  EXPECT_EQ(p->GetDockedBarBorders(host.Bar).top, 0);
  EXPECT_EQ(p->GetSizingFrameWidth(), 3);
}

// The main menu bar has square ends: a line of the toolbar border colour along each long
// side, and its dotted grip like every dockable bar.
TEST(GradientLook, MainMenuBarHasBorderLinesAndItsGrip)
{
  TPaintHost host;
  host.Manager->SetStyle(bmsOffice11);
  const TdxOffice11Colors& c = dxOffice11Colors();
  host.Bar->MainMenu = true;
  host.Bar->Dockable = true;
  host.Bar->DockingStyle = dsTop;
  TDib32 dib(200, 26, Paper);
  TRect r = Rect(0, 0, 200, 26);
  host.Painter()->DrawDockedBarBorder(host.Bar, dib.DC(), r);
  const COLORREF border = ColorToRGB(c.ToolbarBorderColor);
  for (int x : {20, 100, 180}) {
    EXPECT_TRUE(ColorNear(dib.Pixel(x, 1), border, 0)) << x;
    EXPECT_TRUE(ColorNear(dib.Pixel(x, 24), border, 0)) << x;
    EXPECT_FALSE(ColorNear(dib.Pixel(x, 12), border, 0)) << x << ": the ends are open";
  }
  const RECT grip{1, 2, 12, 24};  // the first pixels of the bar inside its ring
  EXPECT_GT(CountPixelsNear(dib, grip, ColorToRGB(c.DotsDarkColor), 0), 3) << "the grip's dots";
  // Turned on a side: the lines run down it.
  host.Bar->DockingStyle = dsLeft;
  TDib32 side(26, 200, Paper);
  r = Rect(0, 0, 26, 200);
  host.Painter()->DrawDockedBarBorder(host.Bar, side.DC(), r);
  EXPECT_TRUE(ColorNear(side.Pixel(1, 100), border, 0));
  EXPECT_TRUE(ColorNear(side.Pixel(24, 100), border, 0));
}

TEST(GradientLook, EveryManagerHoldsTheColourSetAndTheLastFreesIt)
{
  const int start = GetOffice11ColorsUserCount();
  {
    TPaintHost a, b;
    a.Manager->SetStyle(bmsOffice11);
    EXPECT_EQ(GetOffice11ColorsUserCount(), start + 2);
    EXPECT_NE(dxOffice11Brushes().Menu, nullptr);
  }
  EXPECT_EQ(GetOffice11ColorsUserCount(), start);
  if (start == 0) {
    EXPECT_EQ(dxOffice11Brushes().Menu, nullptr);
  }
}

// --- The XP painter through a recording theme binding ------------------------------------

TEST(XPLook, ButtonStatesAreTheToolBarThemesStates)
{
  TRecordingTheme theme;
  TPaintHost host;
  TdxBarXPPainter xp;
  struct TCase {
    TdxBarItemStateFlags States;
    bool Enabled;
    int Kind;
    std::vector<TRecordedPart> Parts;
    const char* Name;
  } cases[] = {
      {{.Down = true}, true, bkHorizontal, {{TRecordingTheme::Of(totToolBar), TP_BUTTON, TS_CHECKED}}, "down: checked"},
      {{.Selected = true}, true, bkHorizontal, {{TRecordingTheme::Of(totToolBar), TP_BUTTON, TS_HOT}}, "hot"},
      {{.Down = true, .Selected = true},
       true,
       bkHorizontal,
       {{TRecordingTheme::Of(totToolBar), TP_BUTTON, TS_HOTCHECKED}},
       "hot down"},
      {{.Pressed = true}, true, bkHorizontal, {{TRecordingTheme::Of(totToolBar), TP_BUTTON, TS_PRESSED}}, "pressed"},
      {{.Selected = true},
       false,
       bkHorizontal,
       {{TRecordingTheme::Of(totToolBar), TP_BUTTON, TS_DISABLED}},
       "disabled"},
      {{.Down = true},
       true,
       bkMenu,
       {{TRecordingTheme::Of(totToolBar), TP_BUTTON, TS_CHECKED}},
       "a down menu item's glyph cell"},
      {{}, true, bkHorizontal, {}, "idle: nothing"},
  };
  for (const TCase& c : cases) {
    host.Bar->BarKind = c.Kind;
    TDib32 dib(30, 30, Paper);
    TEditItem item(host.Bar);
    item.Enabled = c.Enabled;
    theme.Drawn.clear();
    xp.DrawGlyphFrame(&item, dib.DC(), c.States, Rect(0, 0, 30, 30), dxBarSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(theme.Drawn, c.Parts) << c.Name;
  }
  // The MDI buttons: minimize, restore and close, in each of their looks.
  struct TMDI {
    int Button;
    TdxBarMDIButtonState State;
    TRecordedPart Part;
  } mdi[] = {{0, TdxBarMDIButtonState::Hot, {TRecordingTheme::Of(totWindow), WP_MDIMINBUTTON, MINBS_HOT}},
             {1, TdxBarMDIButtonState::Disabled, {TRecordingTheme::Of(totWindow), WP_MDIRESTOREBUTTON, RBS_DISABLED}},
             {2, TdxBarMDIButtonState::Pressed, {TRecordingTheme::Of(totWindow), WP_MDICLOSEBUTTON, CBS_PUSHED}},
             {2, TdxBarMDIButtonState::Down, {TRecordingTheme::Of(totWindow), WP_MDICLOSEBUTTON, CBS_NORMAL}}};
  for (const TMDI& m : mdi) {
    TDib32 dib(20, 20, Paper);
    theme.Drawn.clear();
    xp.DrawMDIButton(host.Bar, dib.DC(), Rect(0, 0, 20, 20), m.Button, m.State);
    ASSERT_EQ(theme.Drawn.size(), 1u) << m.Button << "/" << int(m.State);
    EXPECT_EQ(theme.Drawn[0], m.Part) << m.Button << "/" << int(m.State);
  }
}

TEST(XPLook, SizesAreReadByEachNewPainterAndKeptByEachOld)
{
  TRecordingTheme theme;
  TPaintHost host;
  const TdxTheme toolbar = TRecordingTheme::Of(totToolBar), window = TRecordingTheme::Of(totWindow);
  std::vector<std::unique_ptr<TdxBarXPPainter>> painters;
  for (int size : {4, 9}) {
    theme.Sizes[{toolbar, TP_SEPARATOR}] = Size(size, 22);
    theme.Sizes[{window, WP_SMALLCLOSEBUTTON}] = Size(size + 10, size + 10);
    theme.Margin = size / 2;
    painters.push_back(std::make_unique<TdxBarXPPainter>());
  }
  // A painter made under another theme keeps the sizes it read: a newer one does not
  // change them.
  for (size_t i = 0; i < painters.size(); ++i) {
    const int size = i == 0 ? 4 : 9;
    const TdxBarXPPainter& xp = *painters[i];
    EXPECT_EQ(xp.GetToolbarSeparatorSize(), size);
    EXPECT_EQ(xp.GetCaptionButtonSize(), Size(size + 10, size + 10));
    EXPECT_EQ(xp.GetEditBorderMargins(), Rect(size / 2, size / 2, size / 2, size / 2));
  }
}

TEST(XPLook, APartTheThemeCannotDrawIsDrawnInTheEnhancedLook)
{
  TRecordingTheme theme;
  theme.DrawWorks = false;
  TPaintHost host;
  TdxBarXPPainter xp;
  TDib32 dib(30, 30, Paper);
  TEditItem item(host.Bar);
  xp.DrawGlyphFrame(&item, dib.DC(), {.Pressed = true}, Rect(0, 0, 30, 30), dxBarSysColorBrush(COLOR_BTNFACE));
  EXPECT_FALSE(theme.Drawn.empty());
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), Sys(COLOR_BTNSHADOW), 2)) << "a sunken edge";
  EXPECT_TRUE(ColorNear(dib.Pixel(29, 29), Sys(COLOR_BTNHIGHLIGHT), 2));
}

TEST(XPLook, WithoutVisualStylesTheManagerPaintsEnhanced)
{
  TFinally styles([]() noexcept { SetVisualStylesSuppressed(false); });
  SetVisualStylesSuppressed(true);
  {
    TPaintHost host;
    host.Manager->SetStyle(bmsXP);
    EXPECT_EQ(host.Manager->GetCurrentPainterClass(), TdxBarEnhancedPainter::StaticClass());
  }
  SetVisualStylesSuppressed(false);
  TPaintHost host;
  host.Manager->SetStyle(bmsXP);
  if (AreVisualStylesActive()) {
    EXPECT_EQ(host.Manager->GetCurrentPainterClass(), TdxBarXPPainter::StaticClass());
  }
}

TEST(XPLook, FloatingFramesAndCheckMarksAreTheSharedFlatPaintersDrawing)
{
  TPaintHost host;
  TdxBarXPPainter xp;
  TDib32 mine(40, 30, Paper), flat(40, 30, Paper);
  xp.DrawFloatingBarBorder(host.Bar, mine.DC(), Rect(0, 0, 40, 30));
  xp.DrawCheckMark(mine.DC(), Point(10, 10), 1, false);
  BarFlatPainter()->DrawFloatingBarBorder(host.Bar, flat.DC(), Rect(0, 0, 40, 30));
  BarFlatPainter()->DrawCheckMark(flat.DC(), Point(10, 10), 1, false);
  EXPECT_EQ(CountDifferentPixels(mine, RECT{0, 0, 40, 30}, flat), 0);
  EXPECT_GT(CountPixelsNear(mine, RECT{10, 10, 20, 20}, Sys(COLOR_BTNSHADOW), 2), 5) << "a shadow check mark";
}
