// The entries of the commands list: the glyph column and its line, where the text starts,
// the submenu arrow, the drop-down part and the containers' captions, in each kind.
#include <functional>

#include "ListPaintTestUtil.h"
#include "bars/painters/painter.h"
#include "lookandfeel/dxOffice11.h"
#include "platform/Scope.h"

namespace {

// The entry sits away from the picture's corner so that offsets are checked, not positions.
const TRect Entry = Rect(10, 4, 210, 26);
constexpr int Mid = 4 + 11;

struct TCommandItemTest : testing::Test {
  TListPaintHost Host;

  // The entry drawn into a fresh picture by one kind.
  void Draw(TPaintTarget& T, TClass AKind, TdxBarItem* AItem, bool ASelected, const String& ACaption)
  {
    PainterOf(AKind).DrawCommandItem(&T.Canvas, Entry, ASelected, AItem, ACaption);
  }
  // The leftmost pixel of the text row range in the colour, from X on; -1 when none.
  static int FirstPixelFrom(TPaintTarget& T, int X, COLORREF AColor)
  {
    for (int x = X; x < Entry.right; ++x)
      for (int y = Entry.top + 3; y < Entry.bottom - 3; ++y)
        if (ColorsClose(T.Pixel(x, y), AColor, 40))
          return x;
    return -1;
  }
};

}  // namespace

TEST_F(TCommandItemTest, TheGlyphColumnAndItsLineStandWithoutAnImageList)
{
  for (TClass kind :
       {TdxBarCustomizingFormStandardPainter::StaticClass(), TdxBarCustomizingFormXPPainter::StaticClass()}) {
    SCOPED_TRACE(kind->ClassName());
    TRecordingTheme theme;
    theme.Open = false;
    TdxBarThemeBinding binding = theme.Binding();
    SetdxBarThemeBinding(&binding);
    TFinally restore([] { SetdxBarThemeBinding(nullptr); });

    TPaintTarget t(240, 32);
    Draw(t, kind, Host.Button, true, L"Open");
    // Shown glyph: the column and its line keep the face colour beside the selected text,
    // the column raised.
    EXPECT_TRUE(ColorNear(t.Pixel(Entry.left + 5, Mid), GetSysColor(COLOR_BTNFACE)));
    EXPECT_TRUE(ColorNear(t.Pixel(Entry.left + 23, Mid), GetSysColor(COLOR_BTNFACE)));
    EXPECT_TRUE(ColorNear(t.Pixel(Entry.left + 24, Mid), GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_TRUE(ColorNear(t.Pixel(Entry.left, Mid), GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_TRUE(ColorNear(t.Pixel(Entry.left + 22, Mid), GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_TRUE(ColorNear(t.Pixel(Entry.left - 1, Mid), RGB(255, 0, 255))) << "nothing left of the entry";

    TPaintTarget plain(240, 32);
    Draw(plain, kind, Host.Button, false, L"Open");
    EXPECT_TRUE(ColorNear(plain.Pixel(Entry.left, Mid), GetSysColor(COLOR_BTNFACE))) << "no edge unselected";
    EXPECT_TRUE(ColorNear(plain.Pixel(Entry.left + 24, Entry.top + 1), GetSysColor(COLOR_BTNFACE)));
  }
}

TEST_F(TCommandItemTest, AMissingImageSelectsTheColumnAndAnImageIsCentredInIt)
{
  Host.UseImages();
  TClass standard = TdxBarCustomizingFormStandardPainter::StaticClass();
  TPaintTarget missing(240, 32);
  Draw(missing, standard, Host.Button, true, L"Open");
  EXPECT_TRUE(ColorNear(missing.Pixel(Entry.left + 5, Mid), GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_TRUE(ColorNear(missing.Pixel(Entry.left + 23, Mid), GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_TRUE(ColorNear(missing.Pixel(Entry.left, Mid), GetSysColor(COLOR_HIGHLIGHT))) << "no raised edge";

  Host.Button->SetImageIndex(0);
  TPaintTarget shown(240, 32);
  Draw(shown, standard, Host.Button, false, L"Open");
  // A 16-pixel image in the 23-pixel column and 22-pixel entry: 3 in from the left, 3 down.
  EXPECT_TRUE(ColorNear(shown.Pixel(Entry.left + 3, Entry.top + 3), RGB(0, 160, 0)));
  EXPECT_TRUE(ColorNear(shown.Pixel(Entry.left + 18, Entry.top + 18), RGB(0, 160, 0)));
  EXPECT_TRUE(ColorNear(shown.Pixel(Entry.left + 2, Mid), GetSysColor(COLOR_BTNFACE)));
  EXPECT_TRUE(ColorNear(shown.Pixel(Entry.left + 19, Mid), GetSysColor(COLOR_BTNFACE)));
}

TEST_F(TCommandItemTest, TheSubmenuArrowLiesNineFromTheRightAndSevenFromTheTop)
{
  for (TClass kind : AllListPainterKinds()) {
    SCOPED_TRACE(kind->ClassName());
    for (bool selected : {false, true}) {
      TPaintTarget t(240, 32);
      Draw(t, kind, Host.SubItem, selected, L"Recent");
      COLORREF arrow = ColorOf(PainterOf(kind).GetTextColor(selected));
      int x = Entry.right - 9, y = Entry.top + 7;
      for (POINT p : {POINT{x, y}, POINT{x, y + 6}, POINT{x + 3, y + 3}, POINT{x + 1, y + 3}})
        EXPECT_TRUE(ColorNear(t.Pixel(p.x, p.y), arrow)) << p.x - x << "," << p.y - y;
      for (POINT p : {POINT{x - 1, y + 3}, POINT{x + 4, y + 3}, POINT{x, y - 1}, POINT{x, y + 7}})
        EXPECT_FALSE(ColorNear(t.Pixel(p.x, p.y), arrow, 2)) << p.x - x << "," << p.y - y;
    }
  }
}

TEST_F(TCommandItemTest, AGroupedContainerShowsItsCaptionInParenthesesAndNoArrow)
{
  for (TClass kind : AllListPainterKinds()) {
    SCOPED_TRACE(kind->ClassName());
    for (bool selected : {false, true}) {
      // Drawn like a plain command captioned "(Windows)": parentheses, no arrow.
      TPaintTarget container(240, 32), plain(240, 32);
      Draw(container, kind, Host.Container, selected, L"Windows");
      Draw(plain, kind, Host.Button, selected, L"(Windows)");
      EXPECT_EQ(CountDifferentPixels(container.Dib, Rect(0, 0, 240, 32), plain.Dib), 0);
      // A container that does not stand for a group is drawn as a sub item.
      TPaintTarget ungrouped(240, 32), sub(240, 32);
      Draw(ungrouped, kind, Host.Ungrouped, selected, L"Tools");
      Draw(sub, kind, Host.SubItem, selected, L"Tools");
      EXPECT_EQ(CountDifferentPixels(ungrouped.Dib, Rect(0, 0, 240, 32), sub.Dib), 0);
      EXPECT_GT(CountDifferentPixels(sub.Dib, Rect(0, 0, 240, 32), plain.Dib), 0);
    }
  }
}

TEST_F(TCommandItemTest, ADropDownButtonShowsItsThirteenPixelPartWithTheArrow)
{
  TClass standard = TdxBarCustomizingFormStandardPainter::StaticClass();
  const int r = Entry.right;
  TPaintTarget plain(240, 32);
  Draw(plain, standard, Host.DropDown, false, L"Paste");
  // Unselected: an etched line on the part's left side only.
  EXPECT_TRUE(ColorNear(plain.Pixel(r - 14, Mid), GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_TRUE(ColorNear(plain.Pixel(r - 13, Mid), GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_TRUE(ColorNear(plain.Pixel(r - 1, Mid), GetSysColor(COLOR_BTNFACE)));
  EXPECT_TRUE(ColorNear(plain.Pixel(r - 9, Entry.top + 10), GetSysColor(COLOR_BTNTEXT)));

  // Selected, with a caption long enough to run under the part: the part hides it, keeps
  // the unselected colours and is raised.
  TPaintTarget selected(240, 32);
  Draw(selected, standard, Host.DropDown, true, String(200, L'W'));
  EXPECT_TRUE(ColorNear(selected.Pixel(r - 13, Mid), GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_TRUE(ColorNear(selected.Pixel(r - 1, Mid), GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_TRUE(ColorNear(selected.Pixel(r - 14, Entry.top + 1), GetSysColor(COLOR_HIGHLIGHT)));
  int x = r - 9, y = Entry.top + 7;
  EXPECT_TRUE(ColorNear(selected.Pixel(x, y + 3), GetSysColor(COLOR_BTNTEXT))) << "arrow in the unselected text colour";
  EXPECT_EQ(CountPixels(selected.Dib, Rect(r - 12, Entry.top + 1, r - 1, Entry.bottom - 1),
                        [](COLORREF c) {
                          return !ColorsClose(c, GetSysColor(COLOR_BTNFACE)) &&
                                 !ColorsClose(c, GetSysColor(COLOR_BTNTEXT));
                        }),
            0)
      << "nothing of the caption inside the part";

  // Only the drop-down style has the part: a checked button draws as a plain one.
  Host.DropDown->SetButtonStyle(bsChecked);
  TPaintTarget checked(240, 32);
  Draw(checked, standard, Host.DropDown, false, L"Paste");
  EXPECT_TRUE(ColorNear(checked.Pixel(r - 14, Mid), GetSysColor(COLOR_BTNFACE)));
}

TEST_F(TCommandItemTest, TheTextStartsPastTheColumnOfEachKind)
{
  struct TRow {
    TClass Kind;
    int Start;  // where the caption's cell begins, from the entry's left
  };
  const int height = RectHeight(Entry);
  for (TRow row : {TRow{TdxBarCustomizingFormStandardPainter::StaticClass(), 26},
                   TRow{TdxBarCustomizingFormXPPainter::StaticClass(), 26},
                   TRow{TdxBarCustomizingFormFlatPainter::StaticClass(), height + 10},
                   TRow{TdxBarCustomizingFormOffice11Painter::StaticClass(), height + 10}}) {
    SCOPED_TRACE(row.Kind->ClassName());
    TPaintTarget t(240, 32);
    Draw(t, row.Kind, Host.Button, false, L"HHH");
    int first = FirstPixelFrom(t, Entry.left + 1, ColorOf(PainterOf(row.Kind).GetTextColor(false)));
    EXPECT_GE(first, Entry.left + row.Start);
    EXPECT_LE(first, Entry.left + row.Start + 3);
  }
}

TEST_F(TCommandItemTest, TheFlatKindsFillTheSelectedEntryAndFrameIt)
{
  TClass flat = TdxBarCustomizingFormFlatPainter::StaticClass();
  TPaintTarget t(240, 32);
  Draw(t, flat, Host.Button, true, L"Open");
  EXPECT_TRUE(ColorNear(t.Pixel(Entry.left + 5, Mid), ColorOf(Host.Manager->GetFlatSelectedColor())));
  EXPECT_TRUE(ColorNear(t.Pixel(150, Entry.top + 2), ColorOf(Host.Manager->GetFlatSelectedColor())));
  for (POINT p :
       {POINT{Entry.left, Mid}, POINT{Entry.right - 1, Mid}, POINT{100, Entry.top}, POINT{100, Entry.bottom - 1}})
    EXPECT_TRUE(ColorNear(t.Pixel(p.x, p.y), GetSysColor(COLOR_HIGHLIGHT))) << p.x << "," << p.y;
  TPaintTarget plain(240, 32);
  Draw(plain, flat, Host.Button, false, L"Open");
  EXPECT_TRUE(ColorNear(plain.Pixel(Entry.left, Mid), GetSysColor(COLOR_WINDOW)));
  EXPECT_TRUE(ColorNear(plain.Pixel(150, Entry.top + 2), GetSysColor(COLOR_WINDOW)));

  // The gradient kind: its own selection, border and glyph-column colours.
  const TdxOffice11Colors& c = dxOffice11Colors();
  TClass office11 = TdxBarCustomizingFormOffice11Painter::StaticClass();
  TPaintTarget g(240, 32);
  Draw(g, office11, Host.Button, true, L"Open");
  EXPECT_TRUE(ColorNear(g.Pixel(150, Entry.top + 2), ColorOf(c.SelectedColor)));
  EXPECT_TRUE(ColorNear(g.Pixel(Entry.left, Mid), ColorOf(c.BorderColor)));
  TPaintTarget gPlain(240, 32);
  Draw(gPlain, office11, Host.Button, false, L"Open");
  EXPECT_TRUE(ColorNear(gPlain.Pixel(Entry.left, Mid), ColorOf(c.MenuGlyphColor1), 12));
  EXPECT_TRUE(ColorNear(gPlain.Pixel(Entry.left + RectHeight(Entry) - 1, Mid), ColorOf(c.MenuGlyphColor2), 12));
  EXPECT_TRUE(ColorNear(gPlain.Pixel(150, Entry.top + 2), ColorOf(c.MenuColor)));
}

TEST_F(TCommandItemTest, TheThemedKindDrawsThemePartsWhereTheBaseDrawsEdges)
{
  Host.DropDown->SetImageIndex(-1);
  TClass xp = TdxBarCustomizingFormXPPainter::StaticClass();
  TClass standard = TdxBarCustomizingFormStandardPainter::StaticClass();
  TRecordingTheme theme;
  TdxBarThemeBinding binding = theme.Binding();
  SetdxBarThemeBinding(&binding);
  TFinally restore([] { SetdxBarThemeBinding(nullptr); });

  TPaintTarget t(240, 32);
  Draw(t, xp, Host.DropDown, true, L"Paste");
  ASSERT_EQ(theme.Calls.size(), 2u);
  EXPECT_EQ(theme.Calls[0].Kind, totToolBar);
  EXPECT_EQ(theme.Calls[0].State, 2) << "hot";
  EXPECT_EQ(theme.Calls[0].R, Rect(Entry.left, Entry.top, Entry.left + 23, Entry.bottom));
  EXPECT_EQ(theme.Calls[1].Kind, totToolBar);
  EXPECT_EQ(theme.Calls[1].R, Rect(Entry.right - 13, Entry.top, Entry.right, Entry.bottom));
  EXPECT_TRUE(ColorNear(t.Pixel(Entry.right - 9, Entry.top + 10), GetSysColor(COLOR_BTNTEXT)))
      << "the arrow over the themed part";

  // Visual styles off: the base's edges, pixel for pixel.
  theme.Open = false;
  theme.Calls.clear();
  TPaintTarget off(240, 32), base(240, 32);
  Draw(off, xp, Host.DropDown, true, L"Paste");
  Draw(base, standard, Host.DropDown, true, L"Paste");
  EXPECT_TRUE(theme.Calls.empty());
  EXPECT_EQ(CountDifferentPixels(off.Dib, Rect(0, 0, 240, 32), base.Dib), 0);
}

TEST_F(TCommandItemTest, BadInputDrawsNothingOrWhatItCan)
{
  for (TClass kind : AllListPainterKinds()) {
    SCOPED_TRACE(kind->ClassName());
    const TdxBarCustomizingFormPainter& painter = PainterOf(kind);
    TPaintTarget t(240, 32);
    painter.DrawCommandItem(nullptr, Entry, true, Host.Button, L"Open");
    painter.DrawCommandItem(&t.Canvas, Rect(50, 20, 10, 4), true, Host.Button, L"Open");
    painter.DrawCommandItem(&t.Canvas, Rect(0, 0, 0, 0), true, Host.Button, L"Open");
    EXPECT_EQ(CountPixelsNear(t.Dib, Rect(0, 0, 240, 32), RGB(255, 0, 255)), 240 * 32) << "empty entries draw nothing";
    // No item: the caption alone, and the column in the entry's colours.
    painter.DrawCommandItem(&t.Canvas, Entry, true, nullptr, String(10000, L'x'));
    EXPECT_TRUE(ColorNear(t.Pixel(Entry.left + 5, Entry.top + 1), ColorOf(painter.GetBackgroundColor(true, nullptr))));
    EXPECT_TRUE(ColorNear(t.Pixel(Entry.right + 1, Mid), RGB(255, 0, 255))) << "nothing right of the entry";
  }
}

TEST_F(TCommandItemTest, DrawingLeavesNoGdiObjectBehind)
{
  Host.UseImages();
  Host.Button->SetImageIndex(0);
  TPaintTarget t(240, 32);
  auto drawAll = [&] {
    for (TClass kind : AllListPainterKinds())
      for (TdxBarItem* item :
           std::initializer_list<TdxBarItem*>{Host.Button, Host.DropDown, Host.SubItem, Host.Container})
        for (bool selected : {false, true})
          Draw(t, kind, item, selected, L"Entry");
  };
  // The first round makes what is shared and kept (colour sets, the canvas's own objects).
  drawAll();
  int before = GdiObjectsInUse();
  drawAll();
  EXPECT_EQ(GdiObjectsInUse(), before);
}
