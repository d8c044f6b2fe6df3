// The scene in each of the five looks, as the screen shows it: the faces of hot and held
// buttons, the checked button's background, separators, the gradient look's toolbar and dock
// gradients, and switching looks at run time (everything repainted, no GDI object left).
#include "SceneTestUtil.h"

#include <vsstyle.h>

#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "lookandfeel/cxGraphics.h"
#include "lookandfeel/dxOffice11.h"
#include "lookandfeel/dxThemeManager.h"
#include "platform/GraphicsObjects.h"
#include "support/Input.h"
#include "support/Pump.h"
#include "support/RecordingTheme.h"
#include "support/SysColors.h"
#include "platform/Scope.h"

namespace {

COLORREF Sys(int AIndex)
{
  return GetSysColor(AIndex);
}

COLORREF Rgb(TColor AColor)
{
  return COLORREF(ColorToRGB(AColor));
}

}  // namespace

class TLooks : public TSceneFixture {
protected:
  // A shot of the docked toolbar with the pointer over AHot (and the button held with
  // AHeld), the pointer then released away.
  TDib32 ShotWith(const char* AName, const String& AHot, bool AHeld = false)
  {
    MoveAway();
    if (!AHot.empty()) {
      EXPECT_TRUE(MoveMouseTo(ScreenCentreOf(LinkOf(AHot))));
      PumpUntil([&] { return Toolbar->GetSelectedControl() == ControlOf(LinkOf(AHot)); });
      if (AHeld) {
        EXPECT_TRUE(MouseButtonDown());
      }
    }
    TDib32 shot = Shot(AName);
    if (AHeld) {
      MoveAway();
      MouseButtonUp();
    }
    return shot;
  }
  // The middle of a link inside a shot, moved by (DX, DY).
  COLORREF At(const TDib32& AShot, const String& AItem, int DX, int DY) const
  {
    RECT r = InShot(AItem);
    return AShot.Pixel((r.left + r.right) / 2 + DX, (r.top + r.bottom) / 2 + DY);
  }
  COLORREF Corner(const TDib32& AShot, const String& AItem) const
  {
    RECT r = InShot(AItem);
    return AShot.Pixel(r.left + 2, r.top + 2);
  }
};

TEST_F(TLooks, StandardAndEnhancedFacesAreRaisedSunkenAndChecked)
{
  for (TdxBarManagerStyle style : {bmsStandard, bmsEnhanced}) {
    Manager->SetStyle(style);
    TDib32 hot = ShotWith("looks-classic-hot", L"btnBlue");
    RECT blue = InShot(L"btnBlue");
    EXPECT_TRUE(ColorNear(hot.Pixel(blue.left, blue.top + 3), Sys(COLOR_BTNHIGHLIGHT), 2)) << style << ": raised";
    EXPECT_TRUE(ColorNear(hot.Pixel(blue.right - 1, blue.top + 3), Sys(COLOR_BTNSHADOW), 2)) << style;
    TDib32 held = ShotWith("looks-classic-held", L"btnBlue", true);
    EXPECT_TRUE(ColorNear(held.Pixel(blue.left, blue.top + 3), Sys(COLOR_BTNSHADOW), 2)) << style << ": sunken";
    // The checked button's glyph sits on the dithered highlight and face.
    RECT check = InShot(L"btnCheck");
    COLORREF a = held.Pixel(check.left + 2, check.top + 2), b = held.Pixel(check.left + 3, check.top + 2);
    EXPECT_NE(a, b) << style << ": a checker";
    for (COLORREF c : {a, b})
      EXPECT_TRUE(ColorsClose(c, Sys(COLOR_BTNHIGHLIGHT), 2) || ColorsClose(c, Sys(COLOR_BTNFACE), 2)) << style;
  }
}

TEST_F(TLooks, GradientLookRunsAcrossTheBarAndAlongTheDockSite)
{
  Manager->SetStyle(bmsOffice11);
  const TdxOffice11Colors& c = dxOffice11Colors();
  TDib32 idle = ShotWith("looks-office-idle", L"");
  // Across a horizontal bar the colour changes from top to bottom; along a row it stays.
  RECT open = InShot(L"btnOpen");
  COLORREF top = idle.Pixel(open.left + 1, open.top + 1), bottom = idle.Pixel(open.left + 1, open.bottom - 2);
  EXPECT_NE(top, bottom);
  EXPECT_EQ(idle.Pixel(InShot(L"btnOff").left + 1, open.top + 1), top);
  EXPECT_TRUE(IsColorBetween(top, Rgb(c.ToolbarLightColor), Rgb(c.ToolbarDarkColor))) << ColorText(top);
  // The dock site runs from its first colour at the left to its second at the right.
  TdxDockControl* site = Manager->GetBars()->GetDockControl(dsTop);
  RECT sr{};
  GetWindowRect(site->GetHandle(), &sr);
  TDib32 dock = CaptureScreen(sr);
  SaveShotOnRequest(dock, "looks-office-dock");
  COLORREF left = dock.Pixel(1, dock.Height() - 1), right = dock.Pixel(dock.Width() - 2, dock.Height() - 1);
  EXPECT_TRUE(ColorNear(right, Rgb(c.DockColor2), 6));
  EXPECT_NE(left, right);
  // Hot and held faces are the selection gradients; the separator is a dark and a light line.
  TDib32 hot = ShotWith("looks-office-hot", L"btnBlue");
  EXPECT_TRUE(IsColorBetween(Corner(hot, L"btnBlue"), Rgb(c.SelectedColor1), Rgb(c.SelectedColor2)));
  TDib32 held = ShotWith("looks-office-held", L"btnBlue", true);
  EXPECT_TRUE(IsColorBetween(Corner(held, L"btnBlue"), Rgb(c.PressedColor1), Rgb(c.PressedColor2)));
  EXPECT_TRUE(IsColorBetween(Corner(held, L"btnCheck"), Rgb(c.CheckedColor1), Rgb(c.CheckedColor2)));
  TRect sep = Toolbar->GetSeparators()[0].Bounds;
  RECT w{};
  GetWindowRect(Toolbar->GetHandle(), &w);
  POINT o{sep.left, (sep.top + sep.bottom) / 2};
  ClientToScreen(Toolbar->GetHandle(), &o);
  int x = o.x - w.left + Manager->GetPainter()->GetToolbarSeparatorOffset();
  EXPECT_TRUE(ColorNear(idle.Pixel(x, o.y - w.top), Rgb(c.SeparatorDarkColor), 2));
  EXPECT_TRUE(ColorNear(idle.Pixel(x + 1, o.y - w.top), Rgb(c.SeparatorLightColor), 2));
  // On a bar docked at the side the gradient turns: it changes along a row.
  Docked->SetDockingStyle(dsLeft);
  PumpPending();
  Toolbar = Docked->GetControl();
  TDib32 side = Shot("looks-office-left");
  int y = side.Height() / 2;
  EXPECT_NE(side.Pixel(3, y), side.Pixel(side.Width() - 4, y));
}

// A floating toolbar is a toolbar: the same two-stage gradient from top to bottom as a
// docked one, whose middle is not halfway between its ends.
TEST_F(TLooks, FloatingGradientToolbarTakesTheToolbarsTwoStageGradient)
{
  Manager->SetStyle(bmsOffice11);
  if (!IsOffice11SchemeActive())
    GTEST_SKIP() << "the classic colours make a gradient too shallow to tell its stages apart";
  TdxBarControl* floating = ReshowFloating();
  ASSERT_NE(floating, nullptr);
  TDib32 shot = Shot("looks-office-floating", floating);
  RECT w{};
  GetWindowRect(floating->GetHandle(), &w);
  POINT origin{0, 0};
  ClientToScreen(floating->GetHandle(), &origin);
  RECT client{};
  GetClientRect(floating->GetHandle(), &client);
  // The client's right end, past the bar's one button.
  const int x = origin.x - w.left + client.right - 2;
  const int top = origin.y - w.top, height = client.bottom;
  const COLORREF first = shot.Pixel(x, top), middle = shot.Pixel(x, top + height / 2),
                 last = shot.Pixel(x, top + height - 1);
  const COLORREF halfway = RGB((GetRValue(first) + GetRValue(last)) / 2, (GetGValue(first) + GetGValue(last)) / 2,
                               (GetBValue(first) + GetBValue(last)) / 2);
  EXPECT_NE(first, last);
  EXPECT_TRUE(IsColorBetween(middle, first, last)) << ColorText(middle);
  EXPECT_GT(ColorDistance(middle, halfway), 6) << ColorText(middle) << " " << ColorText(halfway);
}

TEST_F(TLooks, GradientMarkCoversTheBarsRoundedEnd)
{
  Manager->SetStyle(bmsFlat);
  TRect flat = Manager->GetPainter()->GetMarkRect(Toolbar);
  Manager->SetStyle(bmsOffice11);
  EXPECT_EQ(Manager->GetPainter()->GetMarkRect(Toolbar),
            Rect(flat.left, flat.top - 1, flat.right + 2, flat.bottom + 1));
}

TEST_F(TLooks, XPFacesAreTheThemesAndDifferFromTheIdleFace)
{
  if (!AreVisualStylesAvailable(totToolBar))
    GTEST_SKIP() << "visual styles are off";
  Manager->SetStyle(bmsXP);
  ASSERT_EQ(Manager->GetCurrentPainterClass(), TdxBarXPPainter::StaticClass());
  TDib32 idle = ShotWith("looks-xp-idle", L"");
  TDib32 hot = ShotWith("looks-xp-hot", L"btnBlue");
  EXPECT_NE(Corner(hot, L"btnBlue"), Corner(idle, L"btnBlue"));
  EXPECT_TRUE(ColorNear(Corner(idle, L"btnOpen"), GetThemedToolBarFillColor(), 2)) << "the themed toolbar colour";
}

// The mark's themed face covers the mark of a bar with its border; on a bar without one it
// keeps 2 pixels off the bar's edges, across the bar.
TEST_F(TLooks, XPMarkKeepsOffTheEdgesOfABarWithoutBorder)
{
  if (!AreVisualStylesAvailable(totToolBar))
    GTEST_SKIP() << "visual styles are off";
  TRecordingTheme theme;
  Manager->SetStyle(bmsXP);
  ASSERT_EQ(Manager->GetCurrentPainterClass(), TdxBarXPPainter::StaticClass());
  struct TCase {
    TdxBarBorderStyle Border;
    TdxBarDockingStyle Side;
    TRect Inset;  // of the face inside the mark: left, top, right, bottom
  } cases[] = {{bbsSingle, dsTop, {0, 0, 0, 0}}, {bbsNone, dsTop, {0, 2, 0, 2}}, {bbsNone, dsLeft, {2, 0, 2, 0}}};
  for (const TCase& c : cases) {
    Docked->SetBorderStyle(c.Border);
    Docked->SetDockingStyle(c.Side);
    PumpPending();
    Toolbar = Docked->GetControl();
    ASSERT_NE(Toolbar, nullptr);
    const TRect mark = Manager->GetPainter()->GetMarkRect(Toolbar);
    TDib32 dib(Toolbar->GetWidth(), Toolbar->GetHeight(), RGB(1, 2, 3));
    theme.Drawn.clear();
    theme.Rects.clear();
    Manager->GetPainter()->DrawMarkBackground(Toolbar, dib.DC(), mark, Toolbar->GetBackgroundBrush());
    ASSERT_EQ(theme.Drawn.size(), 1u);
    EXPECT_EQ(theme.Drawn[0], (TRecordedPart{TRecordingTheme::Of(totToolBar), TP_BUTTON, TS_NORMAL}));
    EXPECT_EQ(theme.Rects[0], InflateRectBy(mark, -c.Inset.left, -c.Inset.top, -c.Inset.right, -c.Inset.bottom))
        << "border " << c.Border << ", side " << c.Side;
  }
}

TEST_F(TLooks, ColourAndThemeChangesReachEveryLookAtOnce)
{
  const COLORREF face = RGB(200, 170, 140);
  auto toolbarGradient = [](COLORREF C) {
    const TdxOffice11Colors& c = dxOffice11Colors();
    return IsColorBetween(C, Rgb(c.ToolbarLightColor), Rgb(c.ToolbarDarkColor));
  };
  struct TCase {
    TdxBarManagerStyle Style;
    std::function<bool(COLORREF)> Fits;  // the idle button's corner after the change
  } cases[] = {{bmsStandard, [](COLORREF C) { return ColorsClose(C, Sys(COLOR_BTNFACE), 2); }},
               {bmsFlat, [this](COLORREF C) { return ColorsClose(C, Flat(2), 2); }},
               {bmsOffice11, toolbarGradient}};
  // The gradient look follows the system colours only while no colour scheme is active.
  TFinally styles([]() noexcept { SetVisualStylesSuppressed(false); });
  SetVisualStylesSuppressed(true);
  for (const TCase& c : cases) {
    Manager->SetStyle(c.Style);
    COLORREF before = Corner(ShotWith("looks-colours-before", L""), L"btnOpen");
    {
      TSysColorsScope colours({{COLOR_BTNFACE, face}});
      PumpUntil([&] { return Corner(Shot("looks-colours-after"), L"btnOpen") != before; });
      COLORREF after = Corner(Shot("looks-colours-after"), L"btnOpen");
      EXPECT_NE(after, before) << c.Style;
      EXPECT_TRUE(c.Fits(after)) << c.Style << " " << ColorText(after);
    }
    PumpUntil([&] { return Corner(Shot("looks-colours-back"), L"btnOpen") == before; });
  }
  // A theme change (the scheme back on) remakes the gradient look's colours as well.
  COLORREF classic = Corner(Shot("looks-theme-before"), L"btnOpen");
  SetVisualStylesSuppressed(false);
  PumpPending();
  COLORREF themed = Corner(Shot("looks-theme-after"), L"btnOpen");
  EXPECT_TRUE(toolbarGradient(themed)) << ColorText(themed);
  if (IsOffice11SchemeActive()) {
    EXPECT_NE(themed, classic);
  }
}

TEST_F(TLooks, SwitchingLooksRepaintsEverythingAndLeavesNoGdiObject)
{
  const TdxBarManagerStyle looks[] = {bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11};
  // One switch first: remade windows measure on their own canvases, whose font is made once.
  Manager->SetStyle(bmsStandard);
  Manager->SetStyle(bmsFlat);
  PumpPending();
  const int before = GdiObjectsInUse();
  COLORREF last = CLR_INVALID;
  for (int i = 0; i < 20; ++i) {
    TdxBarManagerStyle style = looks[i % 5];
    Manager->SetStyle(style);
    TDib32 shot = Shot("looks-switch");
    // The idle button's corner shows the new look's background at once.
    COLORREF corner = Corner(shot, L"btnOpen");
    if (style == bmsFlat) {
      EXPECT_TRUE(ColorNear(corner, Flat(2), 2)) << i;
    } else if (style == bmsStandard || style == bmsEnhanced) {
      EXPECT_TRUE(ColorNear(corner, Sys(COLOR_BTNFACE), 2)) << i;
    }
    if (i > 0 && i % 5 == 4) {
      EXPECT_NE(corner, last) << i << ": the gradient look differs from the one before it";
    }
    last = corner;
  }
  Manager->SetStyle(bmsFlat);
  PumpPending();
  EXPECT_EQ(GdiObjectsInUse(), before);
}
