// The gradient look's colour set: its users and brushes, the three ways it is made (scheme,
// classic, high contrast), and the look's frame, dots and arrows to the pixel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lookandfeel/dxOffice11.h"
#include "lookandfeel/dxThemeManager.h"
#include "support/Pixels.h"
#include "support/SysColors.h"

namespace {

// Every case leaves no user and no GDI object behind, and the visual styles switched on.
class Office11 : public testing::Test {
protected:
  void SetUp() override
  {
    InitializedxThemeManager();
    FStart = GdiObjectsInUse();
  }
  void TearDown() override
  {
    SetVisualStylesSuppressed(false);
    EXPECT_EQ(GetOffice11ColorsUserCount(), 0);
    RefreshOffice11Colors();
    EXPECT_EQ(GdiObjectsInUse(), FStart) << "GDI objects leaked by this test";
  }
  int FStart = 0;
};

COLORREF Sys(int Index)
{
  return GetSysColor(Index);
}

COLORREF Rgb(TColor C)
{
  return COLORREF(ColorToRGB(C));
}

COLORREF BrushColor(HBRUSH Brush)
{
  LOGBRUSH info{};
  GetObjectW(Brush, sizeof info, &info);
  return info.lbColor;
}

std::vector<HBRUSH> AllBrushes()
{
  const TdxOffice11Brushes& b = dxOffice11Brushes();
  return {b.Menu, b.Selected, b.Pressed, b.Checked, b.StaticBorder, b.SeparatorDark, b.SeparatorLight, b.BarFace};
}

// Reads a rectangle of the picture as a text grid: '#' for Color, '.' for anything else.
std::string Grid(const TDib32& Dib, int Width, int Height, COLORREF Color)
{
  std::string s;
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x)
      s += Dib.Pixel(x, y) == Color ? '#' : '.';
    s += '\n';
  }
  return s;
}

constexpr COLORREF Paper = RGB(3, 201, 7);  // a background no colour of the set takes

}  // namespace

TEST_F(Office11, BrushesAreMadeForTheFirstUserAndFreedWithTheLast)
{
  for (HBRUSH b : AllBrushes())
    EXPECT_EQ(b, nullptr);
  AddOffice11ColorsUser();
  EXPECT_EQ(GdiObjectsInUse(), FStart + dxOffice11BrushCount);
  std::vector<HBRUSH> first = AllBrushes();
  for (HBRUSH b : first)
    EXPECT_NE(b, nullptr);
  AddOffice11ColorsUser();
  EXPECT_EQ(GetOffice11ColorsUserCount(), 2);
  EXPECT_EQ(AllBrushes(), first) << "a second user shares the brushes";
  EXPECT_EQ(GdiObjectsInUse(), FStart + dxOffice11BrushCount);
  ReleaseOffice11ColorsUser();
  EXPECT_EQ(AllBrushes(), first);
  ReleaseOffice11ColorsUser();
  for (HBRUSH b : AllBrushes())
    EXPECT_EQ(b, nullptr);
  EXPECT_EQ(GdiObjectsInUse(), FStart);
  // A release too many is ignored: the next user still gets brushes.
  ReleaseOffice11ColorsUser();
  EXPECT_EQ(GetOffice11ColorsUserCount(), 0);
  AddOffice11ColorsUser();
  EXPECT_NE(dxOffice11Brushes().Menu, nullptr);
  ReleaseOffice11ColorsUser();
}

TEST_F(Office11, BrushesCarryTheSetsColoursAndRefreshRemakesThem)
{
  AddOffice11ColorsUser();
  const TdxOffice11Colors& c = dxOffice11Colors();
  const TdxOffice11Brushes& b = dxOffice11Brushes();
  EXPECT_EQ(BrushColor(b.Menu), Rgb(c.MenuColor));
  EXPECT_EQ(BrushColor(b.Selected), Rgb(c.SelectedColor));
  EXPECT_EQ(BrushColor(b.Pressed), Rgb(c.PressedColor));
  EXPECT_EQ(BrushColor(b.Checked), Rgb(c.CheckedColor));
  EXPECT_EQ(BrushColor(b.StaticBorder), Rgb(c.StaticBorderColor));
  EXPECT_EQ(BrushColor(b.SeparatorDark), Rgb(c.SeparatorDarkColor));
  EXPECT_EQ(BrushColor(b.SeparatorLight), Rgb(c.SeparatorLightColor));
  EXPECT_EQ(BrushColor(b.BarFace), Rgb(c.BarFaceColor));
  // Switching the scheme off and refreshing makes new brushes in place of the old ones.
  SetVisualStylesSuppressed(true);
  RefreshOffice11Colors();
  EXPECT_EQ(GdiObjectsInUse(), FStart + dxOffice11BrushCount);
  EXPECT_EQ(BrushColor(dxOffice11Brushes().Selected), Rgb(dxOffice11Colors().SelectedColor));
  ReleaseOffice11ColorsUser();
}

TEST_F(Office11, ThemeChangeRefreshesTheSetWhileItHasUsers)
{
  if (!IsOffice11SchemeActive())
    GTEST_SKIP() << "no known colour scheme is active";
  AddOffice11ColorsUser();
  EXPECT_TRUE(dxOffice11Colors().SchemeActive);
  // Suppressing visual styles is announced like a theme change.
  SetVisualStylesSuppressed(true);
  EXPECT_FALSE(dxOffice11Colors().SchemeActive);
  EXPECT_EQ(BrushColor(dxOffice11Brushes().Menu), Rgb(dxOffice11Colors().MenuColor));
  ReleaseOffice11ColorsUser();
}

TEST_F(Office11, ClassicColoursComeFromTheSystemColours)
{
  TSysColorsScope colors({{COLOR_BTNFACE, RGB(200, 100, 50)},
                          {COLOR_WINDOW, RGB(250, 250, 250)},
                          {COLOR_HIGHLIGHT, RGB(255, 0, 10)},
                          {COLOR_BTNSHADOW, RGB(100, 60, 20)}});
  SetVisualStylesSuppressed(true);
  RefreshOffice11Colors();
  const TdxOffice11Colors& c = dxOffice11Colors();
  ASSERT_FALSE(c.HighContrast);
  EXPECT_FALSE(c.SchemeActive);
  EXPECT_EQ(Rgb(c.ToolbarLightColor), RGB(230, 190, 170));  // 40 % face, the rest window
  EXPECT_EQ(Rgb(c.ToolbarDarkColor), RGB(200, 100, 50));    // the face
  EXPECT_EQ(Rgb(c.MenuColor), RGB(242, 227, 220));          // 15 % face
  EXPECT_EQ(Rgb(c.SelectedColor), RGB(251, 175, 178));      // 30 % highlight
  EXPECT_EQ(Rgb(c.SelectedColor1), Rgb(c.SelectedColor)) << "single colours when no scheme is active";
  EXPECT_EQ(Rgb(c.SelectedColor2), Rgb(c.SelectedColor));
  EXPECT_EQ(Rgb(c.PressedColor), RGB(252, 125, 130));      // 50 % highlight
  EXPECT_EQ(Rgb(c.CheckedColor), RGB(250, 212, 214));      // 15 % highlight
  EXPECT_EQ(Rgb(c.BorderColor), RGB(255, 0, 10));          // the highlight
  EXPECT_EQ(Rgb(c.SeparatorDarkColor), RGB(130, 72, 29));  // 70 % shadow, the rest face
  EXPECT_EQ(Rgb(c.TextColor), Sys(COLOR_BTNTEXT));
  EXPECT_EQ(Rgb(c.DisabledTextColor), Sys(COLOR_GRAYTEXT));
}

TEST_F(Office11, HighContrastUsesPlainSystemColours)
{
  TSysColorsScope guard;
  guard.Set(COLOR_BTNFACE, RGB(0, 0, 0));
  guard.Set(COLOR_BTNTEXT, RGB(255, 255, 0));
  guard.Set(COLOR_HIGHLIGHT, RGB(0, 128, 255));
  guard.Set(COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255));
  RefreshOffice11Colors();
  const TdxOffice11Colors& c = dxOffice11Colors();
  EXPECT_TRUE(c.HighContrast);
  EXPECT_FALSE(c.SchemeActive) << "high contrast wins over any scheme";
  for (TColor x : {c.ToolbarLightColor, c.ToolbarDarkColor, c.DockColor1, c.DockColor2, c.MenuColor, c.MenuGlyphColor1,
                   c.MenuGlyphColor2, c.BarFaceColor, c.SeparatorTextBackColor})
    EXPECT_EQ(Rgb(x), RGB(0, 0, 0));
  for (TColor x : {c.SelectedColor, c.SelectedColor1, c.PressedColor2, c.CheckedColor, c.FloatingCaptionColor})
    EXPECT_EQ(Rgb(x), RGB(0, 128, 255));
  for (TColor x : {c.BorderColor, c.MenuBorderColor, c.TextColor, c.SeparatorDarkColor, c.DotsDarkColor})
    EXPECT_EQ(Rgb(x), RGB(255, 255, 0));
  EXPECT_EQ(Rgb(c.SelectedTextColor), RGB(255, 255, 255));
  // The frame follows the contrast colours even before a refresh.
  guard.Set(COLOR_BTNTEXT, RGB(0, 255, 0));
  TDib32 dib(10, 10, Paper);
  FrameOffice11Rect(dib.DC(), Rect(1, 1, 9, 9));
  EXPECT_EQ(dib.Pixel(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(dib.Pixel(8, 5), RGB(0, 255, 0));
  // White face: the other high-contrast kind.
  guard.Set(COLOR_BTNFACE, RGB(255, 255, 255));
  RefreshOffice11Colors();
  EXPECT_TRUE(dxOffice11Colors().HighContrast);
  EXPECT_EQ(Rgb(dxOffice11Colors().MenuColor), RGB(255, 255, 255));
}

TEST_F(Office11, FrameIsOnePixelInTheBorderColour)
{
  SetVisualStylesSuppressed(true);
  RefreshOffice11Colors();
  const COLORREF border = Rgb(dxOffice11Colors().BorderColor);
  ASSERT_NE(border, Paper);
  TDib32 dib(8, 6, Paper);
  FrameOffice11Rect(dib.DC(), Rect(1, 1, 7, 5));
  EXPECT_EQ(Grid(dib, 8, 6, border),
            "........\n"
            ".######.\n"
            ".#....#.\n"
            ".#....#.\n"
            ".######.\n"
            "........\n");
  // An empty rectangle draws nothing.
  FrameOffice11Rect(dib.DC(), Rect(3, 3, 3, 5));
  EXPECT_EQ(dib.Pixel(3, 3), Paper);
}

TEST_F(Office11, DotsAreALightThenADarkSquareEveryFourPixels)
{
  const TdxOffice11Colors& c = dxOffice11Colors();
  const COLORREF dark = Rgb(c.DotsDarkColor), light = Rgb(c.DotsLightColor);
  ASSERT_NE(dark, light);
  TDib32 column(5, 14, Paper);
  DrawOffice11Dots(column.DC(), Rect(1, 0, 4, 14), true);
  // Dots at y = 0, 4, 8 (a fourth would not fit in 14 rows), x centred at 1.
  EXPECT_EQ(Grid(column, 5, 14, dark),
            ".##..\n.##..\n.....\n.....\n"
            ".##..\n.##..\n.....\n.....\n"
            ".##..\n.##..\n.....\n.....\n"
            ".....\n.....\n");
  EXPECT_EQ(Grid(column, 5, 14, light),
            ".....\n...#.\n..##.\n.....\n"
            ".....\n...#.\n..##.\n.....\n"
            ".....\n...#.\n..##.\n.....\n"
            ".....\n.....\n");
  // A row through a canvas wrapper: centred in 5 rows, dots at x = 0 and 4.
  TDib32 row(10, 5, Paper);
  TCanvas canvas;
  canvas.SetHandle(row.DC());
  TcxCanvas cx(&canvas);
  DrawOffice11Dots(&cx, Rect(0, 0, 10, 5), false);
  canvas.SetHandle(nullptr);
  EXPECT_EQ(Grid(row, 10, 5, dark),
            "..........\n"
            "##..##....\n"
            "##..##....\n"
            "..........\n"
            "..........\n");
  EXPECT_EQ(Grid(row, 10, 5, light),
            "..........\n"
            "..........\n"
            "..#...#...\n"
            ".##..##...\n"
            "..........\n");
  // Too narrow for a dot: nothing.
  TDib32 narrow(4, 8, Paper);
  DrawOffice11Dots(narrow.DC(), Rect(0, 0, 2, 8), true);
  EXPECT_EQ(CountPixelsNear(narrow, RECT{0, 0, 4, 8}, Paper, 0), 32);
}

TEST_F(Office11, ArrowsFillTheLargestTriangleRowByRow)
{
  const COLORREF red = RGB(255, 0, 0);
  struct TCase {
    TcxArrowDirection Direction;
    TRect R;
    const char* Picture;
  };
  const TCase cases[] = {
      {adDown, Rect(0, 0, 5, 3), "#####\n.###.\n..#..\n"},
      {adUp, Rect(0, 0, 5, 3), "..#..\n.###.\n#####\n"},
      {adLeft, Rect(0, 0, 3, 5), "..#\n.##\n###\n.##\n..#\n"},
      {adRight, Rect(0, 0, 3, 5), "#..\n##.\n###\n##.\n#..\n"},
  };
  for (const TCase& t : cases) {
    TDib32 dib(RectWidth(t.R), RectHeight(t.R), Paper);
    DrawOffice11Arrow(dib.DC(), t.R, t.Direction, clRed);
    EXPECT_EQ(Grid(dib, RectWidth(t.R), RectHeight(t.R), red), t.Picture) << "direction " << int(t.Direction);
  }
  // In a larger rectangle the arrow is as large as fits (9 wide, 5 high in 9 x 8), centred
  // and leaning to the top by the odd row.
  TDib32 dib(9, 8, Paper);
  DrawOffice11Arrow(dib.DC(), Rect(0, 0, 9, 8), adDown, clRed);
  EXPECT_EQ(Grid(dib, 9, 8, red),
            ".........\n"
            "#########\n"
            ".#######.\n"
            "..#####..\n"
            "...###...\n"
            "....#....\n"
            ".........\n"
            ".........\n");
  // clNone draws nothing.
  TDib32 none(5, 3, Paper);
  DrawOffice11Arrow(none.DC(), Rect(0, 0, 5, 3), adDown, clNone);
  EXPECT_EQ(CountPixelsNear(none, RECT{0, 0, 5, 3}, Paper, 0), 15);
}

TEST_F(Office11, FittedArrowIsAtLeastThreeRows)
{
  EXPECT_EQ(GetOffice11FittedArrowSize(Rect(0, 0, 40, 20)), 5);
  EXPECT_EQ(GetOffice11FittedArrowSize(Rect(0, 0, 12, 22)), 3);
  EXPECT_EQ(GetOffice11FittedArrowSize(Rect(0, 0, 2, 2)), 3);
  const COLORREF red = RGB(255, 0, 0);
  // 40 x 20: five rows, nine pixels wide, centred at (15, 7).
  TDib32 dib(40, 20, Paper);
  DrawOffice11ArrowFitted(dib.DC(), Rect(0, 0, 40, 20), adDown, clRed);
  EXPECT_EQ(CountPixelsNear(dib, RECT{0, 0, 40, 20}, red, 0), 9 + 7 + 5 + 3 + 1);
  EXPECT_EQ(dib.Pixel(15, 7), red);
  EXPECT_EQ(dib.Pixel(23, 7), red);
  EXPECT_EQ(dib.Pixel(14, 7), Paper);
  EXPECT_EQ(dib.Pixel(19, 11), red);
  EXPECT_EQ(dib.Pixel(19, 12), Paper);
  // Too small a rectangle still gets the three-row arrow (5 x 3), spilling over it.
  TDib32 small(10, 10, Paper);
  DrawOffice11ArrowFitted(small.DC(), Rect(4, 4, 6, 6), adRight, clRed);
  EXPECT_EQ(CountPixelsNear(small, RECT{0, 0, 10, 10}, red, 0), 5 + 3 + 1);
}
