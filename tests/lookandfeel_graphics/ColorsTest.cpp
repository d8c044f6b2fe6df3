// Colour mixing under known system colours, the high-contrast
// tests under a black or white face (set with SetSysColors and put back), and gradients.
#include "GraphicsFixture.h"
#include "support/SysColors.h"
#include "platform/Screen.h"

#include <array>

namespace {

TEST(TMixedSystemColorTest, WeighsFaceHighlightAndWindowClampedToTheByteRange)
{
  TSysColorsScope colors(
      {{COLOR_BTNFACE, RGB(200, 100, 50)}, {COLOR_HIGHLIGHT, RGB(255, 0, 10)}, {COLOR_WINDOW, RGB(250, 250, 250)}});
  EXPECT_EQ(COLORREF(GetMixedSystemColor(100, 0, 0)), RGB(200, 100, 50));
  EXPECT_EQ(COLORREF(GetMixedSystemColor(0, 0, 100)), RGB(250, 250, 250));
  EXPECT_EQ(COLORREF(GetMixedSystemColor(11, 9, 73)), RGB(227, 193, 188));
  // 200*50 + 255*50 + 250*50 = 352 -> 255; 100*-200 + 0 + 250*50 -> negative -> 0.
  EXPECT_EQ(COLORREF(GetMixedSystemColor(50, 50, 50)), RGB(255, 175, 155));
  EXPECT_EQ(COLORREF(GetMixedSystemColor(-200, 0, 50)), RGB(0, 0, 25));
}

TEST(TMixedSystemColorTest, ABlackOrWhiteFaceGivesTheHighlight)
{
  {
    TSysColorsScope colors({{COLOR_BTNFACE, RGB(0, 0, 0)}, {COLOR_BTNTEXT, RGB(255, 255, 0)}});
    EXPECT_EQ(COLORREF(GetMixedSystemColor(11, 9, 73)), Sys(COLOR_HIGHLIGHT));
    EXPECT_TRUE(IsHighContrastBlack());
    EXPECT_FALSE(IsHighContrastWhite());
    EXPECT_TRUE(IsHighContrastBlackColoredText());
  }
  {
    TSysColorsScope colors({{COLOR_BTNFACE, RGB(0, 0, 0)}, {COLOR_BTNTEXT, RGB(255, 255, 255)}});
    EXPECT_FALSE(IsHighContrastBlackColoredText()) << "white text on black is not coloured";
  }
  {
    TSysColorsScope colors({{COLOR_BTNFACE, RGB(255, 255, 255)}});
    EXPECT_EQ(COLORREF(GetMixedSystemColor(50, 0, 50)), Sys(COLOR_HIGHLIGHT));
    EXPECT_TRUE(IsHighContrastWhite());
    EXPECT_FALSE(IsHighContrastBlack());
  }
}

TEST(TBlendColorsTest, FirstColourTakesThePercentage)
{
  // The screen is 32 bits deep, so snapping keeps the mixed value.
  EXPECT_EQ(COLORREF(BlendColors(RGB(200, 0, 100), RGB(0, 100, 0), 30)), RGB(60, 70, 30));
  EXPECT_EQ(COLORREF(BlendColors(RGB(200, 0, 100), RGB(0, 100, 0), 100)), RGB(200, 0, 100));
  EXPECT_EQ(COLORREF(BlendColors(RGB(200, 0, 100), RGB(0, 100, 0), 150)), RGB(200, 0, 100)) << "clamped";
  EXPECT_EQ(COLORREF(BlendColors(RGB(200, 0, 100), RGB(0, 100, 0), -5)), RGB(0, 100, 0)) << "clamped";
  TSysColorsScope colors({{COLOR_BTNFACE, RGB(200, 100, 50)}, {COLOR_BTNTEXT, RGB(0, 0, 250)}});
  EXPECT_EQ(COLORREF(BlendColors(clBtnFace, clBtnText, 40)), RGB(80, 40, 170)) << "system colours resolved";
}

// The shortcut for true-colour screens must answer as the system does, with and without a
// scope, for plain colours and for those the system resolves through a palette.
TEST(TNearestScreenColorTest, AnswersAsTheScreenDoesWithAndWithoutTheScreenObject)
{
  const COLORREF colours[] = {RGB(0, 0, 0),     RGB(255, 255, 255),     RGB(1, 2, 3),
                              RGB(200, 17, 90), PALETTERGB(10, 20, 30), PALETTEINDEX(3)};
  HDC screen = GetDC(nullptr);
  auto check = [&](const char* Where) {
    for (COLORREF c : colours) {
      EXPECT_EQ(GetNearestScreenColor(c), GetNearestColor(screen, c)) << Where << " " << std::hex << c;
      TcxScreenColorScope scope;
      EXPECT_EQ(GetNearestScreenColor(c), GetNearestColor(screen, c)) << Where << " in a scope " << std::hex << c;
    }
  };
  check("no screen object");
  const bool trueColour = !(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) &&
                          GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) >= 24;
  {
    ASSERT_EQ(Screen, nullptr);
    TScreen own(nullptr);
    Screen = &own;
    EXPECT_EQ(own.IsTrueColor(), trueColour);
    check("screen object");
    own.ResetMonitors();
    EXPECT_EQ(own.IsTrueColor(), trueColour) << "asked again";
    Screen = nullptr;
  }
  ReleaseDC(nullptr, screen);
}

using TGradientTest = TDrawingTest;

TEST_F(TGradientTest, EndColumnsAreTheTwoColoursAndEveryColumnMatchesTheQuery)
{
  TRect r = Rect(2, 1, 52, 9);
  COLORREF c1 = RGB(0, 0, 0), c2 = RGB(250, 100, 50);
  FillGradientRect(DC(), r, TColor(c1), TColor(c2), true);
  EXPECT_EQ(At(2, 1), c1);
  EXPECT_EQ(At(2, 8), c1);
  EXPECT_EQ(At(51, 4), c2);
  EXPECT_EQ(At(52, 4), Paper);
  EXPECT_EQ(At(1, 4), Paper);
  for (int x = r.left; x < r.right; ++x)
    EXPECT_EQ(At(x, 5), COLORREF(GetGradientColorAt(r, TColor(c1), TColor(c2), x))) << "column " << x;
  EXPECT_EQ(At(26, 1), At(26, 8)) << "a horizontal gradient is constant down a column";
  EXPECT_EQ(COLORREF(GetGradientColorAt(r, TColor(c1), TColor(c2), -100)), c1) << "clamped";
  EXPECT_EQ(COLORREF(GetGradientColorAt(r, TColor(c1), TColor(c2), 1000)), c2) << "clamped";
}

TEST_F(TGradientTest, VerticalGradientRunsDownRows)
{
  TRect r = Rect(0, 0, 10, 40);
  FillGradientRect(DC(), r, clWhite, clBlack, false);
  EXPECT_EQ(At(3, 0), RGB(255, 255, 255));
  EXPECT_EQ(At(3, 39), RGB(0, 0, 0));
  EXPECT_EQ(At(0, 20), At(9, 20));
  for (int y = 1; y < 40; ++y)
    EXPECT_LE(GetRValue(At(5, y)), GetRValue(At(5, y - 1))) << "row " << y;
}

TEST(TGradientColorTest, LongExtentsUseAtMost256Bands)
{
  TRect r = Rect(0, 0, 1024, 1);
  // Band k covers four pixels: pixels 0-3 are band 0, 1020-1023 band 255.
  EXPECT_EQ(COLORREF(GetGradientColorAt(r, clBlack, TColor(RGB(255, 0, 0)), 3)), RGB(0, 0, 0));
  EXPECT_EQ(COLORREF(GetGradientColorAt(r, clBlack, TColor(RGB(255, 0, 0)), 4)), RGB(1, 0, 0));
  EXPECT_EQ(COLORREF(GetGradientColorAt(r, clBlack, TColor(RGB(255, 0, 0)), 1020)), RGB(255, 0, 0));
  EXPECT_EQ(COLORREF(GetGradientColorAt(r, clBlack, TColor(RGB(255, 0, 0)), 1019)), RGB(254, 0, 0));
}

TEST_F(TGradientTest, TwoStageGradientPassesTheMiddleColour)
{
  TRect r = Rect(0, 0, 40, 4);
  COLORREF mid = RGB(0, 0, 255);
  FillTwoStageGradientRect(DC(), r, clWhite, TColor(mid), clBlack, true);
  EXPECT_EQ(At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(At(19, 0), mid) << "end of the first half";
  EXPECT_EQ(At(20, 0), mid) << "start of the second half";
  EXPECT_EQ(At(39, 0), RGB(0, 0, 0));
}

}  // namespace
