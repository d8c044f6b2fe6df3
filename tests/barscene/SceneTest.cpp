// The scene read from form data, as the screen shows it: a flat toolbar docked at the top of
// its form with buttons idle, hot (pointer over it), held (button down), down (a check
// button), disabled and after a group separator, and a large button with its glyph above its
// caption. Colours come from the manager's flat brushes and the system at run time; every
// capture is also written as a BMP to look at.
#include "SceneTestUtil.h"

#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

bool IsBluish(COLORREF C)
{
  return GetBValue(C) > 150 && GetRValue(C) < 110 && GetGValue(C) < 110;
}

bool IsGreenish(COLORREF C)
{
  return GetGValue(C) > 110 && GetRValue(C) < 110 && GetBValue(C) < 110;
}

bool IsReddish(COLORREF C)
{
  return GetRValue(C) > 150 && GetGValue(C) < 150 && GetBValue(C) < 150 && GetRValue(C) > GetGValue(C) + 60;
}

// Pure red in grey: its luminance, about 76 on each channel.
bool IsGlyphGrey(COLORREF C)
{
  return IsGreyish(C, 6) && GetRValue(C) > 55 && GetRValue(C) < 100;
}

// Text ink: well darker than every face colour the flat look uses.
bool IsInk(COLORREF C)
{
  return GetRValue(C) < 100 && GetGValue(C) < 100 && GetBValue(C) < 100;
}

// The middle of the left edge, and a point 2 inside the top-left corner.
POINT LeftEdge(const RECT& R)
{
  return POINT{R.left, (R.top + R.bottom) / 2};
}

POINT Inside(const RECT& R)
{
  return POINT{R.left + 2, R.top + 2};
}

// The first and last columns of R holding a pixel for which Test holds; -1 when none.
std::pair<int, int> InkColumns(const TDib32& Dib, const RECT& R, bool (*Test)(COLORREF))
{
  int first = -1, last = -1;
  for (int x = R.left; x < R.right; ++x)
    for (int y = R.top; y < R.bottom; ++y)
      if (Test(Dib.Pixel(x, y))) {
        if (first < 0)
          first = x;
        last = x;
        break;
      }
  return {first, last};
}

}  // namespace

using TScene = TSceneFixture;

TEST_F(TScene, BarFromFormDataSitsInTheTopSiteSizedToItsRow)
{
  TdxDockControl* top = Manager->GetBars()->GetDockControl(dsTop);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(Toolbar->GetDockControl(), top);
  EXPECT_EQ(GetParent(Toolbar->GetHandle()), top->GetHandle());
  EXPECT_TRUE(IsWindowVisible(Toolbar->GetHandle()));
  RECT site{}, bar{};
  GetWindowRect(top->GetHandle(), &site);
  GetWindowRect(Toolbar->GetHandle(), &bar);
  // One row: the site is as tall as the bar plus at most its own small borders.
  EXPECT_GE(bar.top, site.top);
  EXPECT_LE(bar.bottom, site.bottom);
  EXPECT_LE((site.bottom - site.top) - (bar.bottom - bar.top), 6);
  EXPECT_GT(bar.bottom - bar.top, 32) << "the large button's glyph and caption fit the row";
  // Every link has a control, laid out left to right without overlap.
  TdxBarItemLinks* links = Docked->GetItemLinks();
  ASSERT_EQ(links->Count(), 6);
  int right = 0;
  for (int i = 0; i < links->Count(); ++i) {
    TdxBarItemLink* link = links->Items(i);
    ASSERT_NE(link->GetControl(), nullptr) << i;
    TRect r = link->GetItemRect();
    EXPECT_FALSE(IsRectEmpty(r)) << i;
    EXPECT_GE(r.left, right) << i;
    right = r.right;
  }
  // The begin-group link has its separator just before it.
  ASSERT_EQ(Toolbar->GetSeparators().size(), 1u);
  TRect sep = Toolbar->GetSeparators()[0].Bounds;
  EXPECT_LE(sep.right, LinkOf(L"btnOff")->GetItemRect().left);
  EXPECT_GE(sep.left, LinkOf(L"btnMenu")->GetItemRect().right);
}

TEST_F(TScene, IdleToolbarShowsEveryStateWithTheFlatBrushes)
{
  TDib32 shot = Shot("scene-idle");
  ASSERT_TRUE(shot.Valid());
  const COLORREF face = Flat(2);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  // The toolbar's own background is brush 2; so is an idle button's face.
  RECT blue = InShot(L"btnBlue");
  EXPECT_TRUE(ColorNear(shot.Pixel(Inside(blue).x, Inside(blue).y), face, 2));
  EXPECT_TRUE(ColorNear(shot.Pixel(LeftEdge(blue).x, LeftEdge(blue).y), face, 2));
  EXPECT_GT(CountPixels(shot, blue, IsBluish), 100) << "the small glyph is drawn in its own colour";
  // Down: brush 3 in a highlight frame, glyph visible.
  RECT check = InShot(L"btnCheck");
  EXPECT_TRUE(ColorNear(shot.Pixel(LeftEdge(check).x, LeftEdge(check).y), highlight, 0));
  EXPECT_TRUE(ColorNear(shot.Pixel(Inside(check).x, Inside(check).y), Flat(3), 2));
  EXPECT_GT(CountPixels(shot, check, IsGreenish), 100);
  // Disabled: no glyph colour, a shadow-coloured picture, no frame.
  RECT off = InShot(L"btnOff");
  EXPECT_EQ(CountPixels(shot, off, IsBluish), 0);
  EXPECT_GT(CountPixelsNear(shot, off, GetSysColor(COLOR_BTNSHADOW), 2), 20);
  EXPECT_TRUE(ColorNear(shot.Pixel(LeftEdge(off).x, LeftEdge(off).y), face, 2));
  // The separator: a one-pixel shadow line on brush 2.
  TRect s = Toolbar->GetSeparators()[0].Bounds;
  RECT w{};
  GetWindowRect(Toolbar->GetHandle(), &w);
  POINT so{s.left, s.top};
  ClientToScreen(Toolbar->GetHandle(), &so);
  RECT sep{so.x - w.left, so.y - w.top, so.x - w.left + RectWidth(s), so.y - w.top + RectHeight(s)};
  const int shadowColumns = RectHeight(s) > 4 ? RectHeight(s) / 2 : 1;
  EXPECT_GE(CountPixelsNear(shot, sep, GetSysColor(COLOR_BTNSHADOW), 2), shadowColumns);
  EXPECT_GT(CountPixelsNear(shot, sep, face, 2), 0);
  // The large button, glyph on top: its glyph (grey while idle: AutoGrayScale) lies above
  // its caption, both centred.
  RECT large = InShot(L"btnLarge");
  RECT upper{large.left, large.top, large.right, large.top + 34};
  RECT lower{large.left, large.top + 34, large.right, large.bottom};
  EXPECT_EQ(CountPixels(shot, large, IsReddish), 0) << "an idle large glyph is drawn in grey";
  EXPECT_GT(CountPixels(shot, upper, IsGlyphGrey), 400);
  EXPECT_GT(CountPixels(shot, lower, IsInk), 10) << "the caption under the glyph";
  auto [glyphFirst, glyphLast] = InkColumns(shot, upper, IsGlyphGrey);
  auto [textFirst, textLast] = InkColumns(shot, lower, IsInk);
  ASSERT_GE(glyphFirst, 0);
  ASSERT_GE(textFirst, 0);
  EXPECT_NEAR(glyphFirst + glyphLast, large.left + large.right - 1, 3) << "glyph centred";
  EXPECT_NEAR(textFirst + textLast, large.left + large.right - 1, 4) << "caption centred";
}

TEST_F(TScene, DockedBorderShowsTheFaceAroundTheDottedGrip)
{
  TDib32 shot = Shot("scene-border");
  ASSERT_TRUE(shot.Valid());
  RECT w{};
  GetWindowRect(Toolbar->GetHandle(), &w);
  POINT clientOrigin{0, 0};
  ClientToScreen(Toolbar->GetHandle(), &clientOrigin);
  const int left = clientOrigin.x - w.left;
  const int top = clientOrigin.y - w.top;
  ASSERT_GT(left, 4) << "a docked bar has its grip in the left border";
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF barFace = Flat(2);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const int midY = shot.Height() / 2;
  // The outer frame is the button face; the border beside the grip shows the bar's face.
  EXPECT_TRUE(ColorNear(shot.Pixel(0, midY), face, 2));
  EXPECT_TRUE(ColorNear(shot.Pixel(shot.Width() / 2, 0), face, 2));
  EXPECT_TRUE(ColorNear(shot.Pixel(left - 1, midY), barFace, 2));
  EXPECT_TRUE(ColorNear(shot.Pixel(shot.Width() / 2, top - 1), barFace, 2));
  // The grip: shadow and face lines by turns down a narrow strip.
  RECT grip{1, top, left - 1, shot.Height() - top};
  EXPECT_GT(CountPixelsNear(shot, grip, shadow, 2), 5);
  // Nothing of the border is left unpainted.
  RECT border{0, 0, left, shot.Height()};
  EXPECT_EQ(CountPixelsNear(shot, border, RGB(0, 0, 0), 0), 0);
}

TEST_F(TScene, PointerOverAButtonMakesItHot)
{
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(LinkOf(L"btnBlue"))));
  PumpUntil([&] { return Toolbar->GetSelectedControl() == ControlOf(LinkOf(L"btnBlue")); });
  EXPECT_EQ(Toolbar->GetSelectedControl(), ControlOf(LinkOf(L"btnBlue")));
  TDib32 shot = Shot("scene-hot");
  RECT blue = InShot(L"btnBlue");
  EXPECT_TRUE(ColorNear(shot.Pixel(LeftEdge(blue).x, LeftEdge(blue).y), GetSysColor(COLOR_HIGHLIGHT), 0));
  EXPECT_TRUE(ColorNear(shot.Pixel(blue.right - 1, (blue.top + blue.bottom) / 2), GetSysColor(COLOR_HIGHLIGHT), 0));
  EXPECT_TRUE(ColorNear(shot.Pixel(Inside(blue).x, Inside(blue).y), Flat(5), 2)) << "the flat selected colour";
  EXPECT_GT(CountPixels(shot, blue, IsBluish), 100);
  // Leaving it returns it to the bar's face.
  MoveAway();
  PumpUntil([&] { return Toolbar->GetSelectedControl() == nullptr; });
  TDib32 after = Shot("scene-left");
  EXPECT_TRUE(ColorNear(after.Pixel(LeftEdge(blue).x, LeftEdge(blue).y), Flat(2), 2));
}

TEST_F(TScene, HotLargeButtonShowsItsGlyphInColour)
{
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(LinkOf(L"btnLarge"))));
  PumpUntil([&] { return Toolbar->GetSelectedControl() == ControlOf(LinkOf(L"btnLarge")); });
  TDib32 shot = Shot("scene-large-hot");
  RECT large = InShot(L"btnLarge");
  EXPECT_GT(CountPixels(shot, large, IsReddish), 400);
  EXPECT_TRUE(ColorNear(shot.Pixel(Inside(large).x, Inside(large).y), Flat(5), 2));
}

TEST_F(TScene, HeldButtonIsDrawnPressedAndClicksOnRelease)
{
  int clicks = 0;
  auto* blue = dynamic_cast<TdxBarButton*>(LinkOf(L"btnBlue")->GetItem());
  blue->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(LinkOf(L"btnBlue"))));
  ASSERT_TRUE(MouseButtonDown());
  PumpPending();
  TDib32 shot = Shot("scene-pressed");
  RECT r = InShot(L"btnBlue");
  EXPECT_TRUE(ColorNear(shot.Pixel(LeftEdge(r).x, LeftEdge(r).y), Flat(1), 2)) << "the dark pressed frame";
  EXPECT_TRUE(ColorNear(shot.Pixel(Inside(r).x, Inside(r).y), Flat(4), 2));
  EXPECT_GT(CountPixels(shot, r, IsBluish), 100) << "the glyph stays visible while held";
  EXPECT_EQ(clicks, 0);
  ASSERT_TRUE(MouseButtonUp());
  PumpUntil([&] { return clicks > 0; });
  EXPECT_EQ(clicks, 1);
}

TEST_F(TScene, HotCheckButtonThatIsDownUsesBrushFour)
{
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(LinkOf(L"btnCheck"))));
  PumpUntil([&] { return Toolbar->GetSelectedControl() == ControlOf(LinkOf(L"btnCheck")); });
  TDib32 shot = Shot("scene-down-hot");
  RECT r = InShot(L"btnCheck");
  EXPECT_TRUE(ColorNear(shot.Pixel(Inside(r).x, Inside(r).y), Flat(4), 2));
  EXPECT_GT(CountPixels(shot, r, IsGreenish), 100);
  // A click puts it up: under the pointer its face is the hot fill again.
  ASSERT_TRUE(ClickAt(ScreenCentreOf(LinkOf(L"btnCheck"))));
  PumpUntil([&] { return !dynamic_cast<TdxBarButton*>(LinkOf(L"btnCheck")->GetItem())->GetDown(); });
  EXPECT_FALSE(dynamic_cast<TdxBarButton*>(LinkOf(L"btnCheck")->GetItem())->GetDown());
  POINT p = ScreenCentreOf(LinkOf(L"btnCheck"));
  ASSERT_TRUE(MoveMouseTo(POINT{p.x + 1, p.y}));
  PumpPending();
  TDib32 up = Shot("scene-check-up");
  EXPECT_TRUE(ColorNear(up.Pixel(Inside(r).x, Inside(r).y), Flat(5), 2));
}

TEST_F(TScene, CaptionOnlyButtonShowsItsWholeCaption)
{
  TDib32 shot = Shot("scene-caption");
  RECT r = InShot(L"btnOpen");
  auto [first, last] = InkColumns(shot, r, IsInk);
  ASSERT_GE(first, 0) << "no caption drawn";
  // The same text in the same font, drawn alone: its ink is as wide.
  HFONT font = HFONT(Toolbar->GetFont()->GetHandle());
  TDib32 alone(200, 40, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(alone.DC(), font);
  SetBkMode(alone.DC(), TRANSPARENT);
  SetTextColor(alone.DC(), RGB(0, 0, 0));
  TextOutW(alone.DC(), 10, 10, L"Open", 4);
  SelectObject(alone.DC(), old);
  auto [refFirst, refLast] = InkColumns(alone, RECT{0, 0, 200, 40}, IsInk);
  ASSERT_GE(refFirst, 0);
  EXPECT_EQ(last - first, refLast - refFirst) << "the caption's last letter is cut";
  // Right of the last letter, the button is background up to its edge.
  RECT beyond{last + 1, r.top, r.right, r.bottom};
  EXPECT_EQ(CountPixels(shot, beyond, IsInk), 0);
  EXPECT_GT(r.right - 1 - last, 1) << "room after the text";
  EXPECT_NEAR((first - r.left) - (r.right - 1 - last), 0, 3) << "the caption margin on both sides";
}
