// The scene's floating toolbar as the screen shows it: its client snaps to its line (never
// below the minimum), the caption-only button shows its whole caption, and the caption text
// is whole when the caption has room for it. Also hot
// tracking under a still pointer after a click on the docked toolbar.
#include "SceneTestUtil.h"

#include <memory>

#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "bars/barwindows/shadow.h"
#include "bars/utils/utils.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

// The first and last columns of R with a pixel well away from ABackground; -1 when none.
std::pair<int, int> InkSpan(const TDib32& Dib, const RECT& R, COLORREF ABackground)
{
  int first = -1, last = -1;
  for (int x = R.left; x < R.right; ++x)
    for (int y = R.top; y < R.bottom; ++y)
      if (ColorDistance(Dib.Pixel(x, y), ABackground) > 90) {
        if (first < 0)
          first = x;
        last = x;
        break;
      }
  return {first, last};
}

// How wide the ink of AText is, drawn alone in AFont.
int ReferenceInkWidth(HFONT AFont, const wchar_t* AText)
{
  TDib32 alone(300, 60, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(alone.DC(), AFont);
  SetBkMode(alone.DC(), TRANSPARENT);
  SetTextColor(alone.DC(), RGB(0, 0, 0));
  TextOutW(alone.DC(), 10, 10, AText, int(wcslen(AText)));
  SelectObject(alone.DC(), old);
  auto [first, last] = InkSpan(alone, RECT{0, 0, 300, 60}, RGB(255, 255, 255));
  return first < 0 ? -1 : last - first;
}

}  // namespace

class TFloatingScene : public TSceneFixture {
protected:
  // The floating bar shown (it waits for its form when read hidden) at AClientWidth.
  TdxBarControl* ShowFloating(int AClientWidth)
  {
    Floating->SetFloatClientWidth(AClientWidth);
    return ReshowFloating();
  }

  // The floating bar's button in a shot of the floating window.
  RECT ButtonInShot(TdxBarControl* AControl) const
  {
    TRect r = Floating->GetItemLinks()->Items(0)->GetItemRect();
    POINT o{r.left, r.top};
    ClientToScreen(AControl->GetHandle(), &o);
    RECT w{};
    GetWindowRect(AControl->GetHandle(), &w);
    return RECT{o.x - w.left, o.y - w.top, o.x - w.left + RectWidth(r), o.y - w.top + RectHeight(r)};
  }

  // Checks the button's caption in a shot: as wide as the text alone, background after it.
  void ExpectWholeButtonCaption(const TDib32& AShot, TdxBarControl* AControl)
  {
    RECT r = ButtonInShot(AControl);
    ASSERT_GT(r.right - r.left, 0);
    const COLORREF face = AShot.Pixel(r.left + 1, r.top + 1);
    auto [first, last] = InkSpan(AShot, r, face);
    ASSERT_GE(first, 0) << "no caption drawn";
    int reference = ReferenceInkWidth(HFONT(AControl->GetFont()->GetHandle()), L"Tool");
    ASSERT_GT(reference, 0);
    EXPECT_NEAR(last - first, reference, 1) << "the caption's last letter is cut";
    EXPECT_LT(last, r.right - 1) << "the last letter's ink lies inside the button";
    RECT beyond{last + 1, r.top, r.right, r.bottom};
    EXPECT_EQ(InkSpan(AShot, beyond, face).first, -1) << "background after the caption";
  }
};

TEST_F(TFloatingScene, AtItsMinimumWidthTheButtonIsNotClippedByTheCaptionMark)
{
  // A wider asked width changes nothing: the window snaps to its one short line.
  TdxBarControl* c = ShowFloating(140);
  ASSERT_NE(c, nullptr);
  ASSERT_TRUE(c->HasCaptionMark()) << "the mark lies in the caption, over the client's right part";
  RECT client{};
  GetClientRect(c->GetHandle(), &client);
  EXPECT_EQ(client.right, c->GetMinWidth(dsNone));
  EXPECT_GE(client.right, dxBarFloatingMinClientWidth);
  TDib32 shot = Shot("scene-floating-narrow", c);
  ASSERT_TRUE(shot.Valid());
  ExpectWholeButtonCaption(shot, c);
}

TEST_F(TFloatingScene, ANarrowWindowStillShowsItsTitleBeforeTheMark)
{
  // At its minimum width the mark, though at the caption's end, lies left of the middle.
  TdxBarControl* c = ShowFloating(0);
  ASSERT_NE(c, nullptr);
  TDib32 shot = Shot("scene-floating-narrow-title", c);
  ASSERT_TRUE(shot.Valid());
  TRect caption = c->GetCaptionRect();
  TRect mark = c->GetMarkRect();
  ASSERT_GT(mark.left, caption.left + 2);
  RECT text{caption.left, caption.top, mark.left, caption.bottom};
  const COLORREF background = shot.Pixel(caption.left + 1, caption.top + 1);
  EXPECT_GE(InkSpan(shot, text, background).first, 0) << "no title before the mark";
}

TEST_F(TFloatingScene, CaptionTextIsWholeWhenTheCaptionHasRoom)
{
  // A line wide enough for the caption, its text and its mark.
  Floating->GetItemLinks()->Items(0)->GetItem()->SetCaption(L"A tool with a longer caption");
  TdxBarControl* c = ShowFloating(0);
  ASSERT_NE(c, nullptr);
  TDib32 shot = Shot("scene-floating-caption", c);
  ASSERT_TRUE(shot.Valid());
  TRect caption = c->GetCaptionRect();
  TRect mark = c->GetMarkRect();
  ASSERT_FALSE(IsRectEmpty(caption));
  ASSERT_FALSE(IsRectEmpty(mark));
  // The text part: from the caption's left to the mark; its background is the caption's.
  RECT text{caption.left, caption.top, mark.left, caption.bottom};
  const COLORREF background = shot.Pixel(mark.left - 1, caption.top + 1);
  auto [first, last] = InkSpan(shot, text, background);
  ASSERT_GE(first, 0) << "no caption text";
  TdxBarManager* manager = c->GetBarManager();
  std::unique_ptr<TFont> font(CreateSmallCaptionFont(manager->GetFont(), manager->GetUseSystemFont()));
  int reference = ReferenceInkWidth(HFONT(font->GetHandle()), L"Tools");
  ASSERT_GT(reference, 0);
  EXPECT_NEAR(last - first, reference, 1) << "the caption text is cut";
  EXPECT_LT(last, mark.left - 2) << "caption background between the text and the mark";
}

TEST_F(TFloatingScene, FlatFloatingBarCastsAShadowAndShowsOneCloseCross)
{
  TdxBarControl* c = ShowFloating(140);
  ASSERT_NE(c, nullptr);
  TdxBarShadow* shadow = c->GetShadow();
  ASSERT_NE(shadow, nullptr);
  EXPECT_TRUE(shadow->GetVisible());
  ASSERT_GT(shadow->GetPartCount(), 0);
  for (int i = 0; i < shadow->GetPartCount(); ++i)
    EXPECT_TRUE(IsWindowVisible(shadow->GetPart(i)->GetHandle()));
  EXPECT_FALSE(Toolbar->GetShadow()->GetVisible()) << "a docked bar casts none";
  // The close button shows the painter's cross and no second one.
  const TRect close = c->GetCloseButtonRect();
  ASSERT_FALSE(IsRectEmpty(close));
  TDib32 shot = Shot("scene-floating-close", c);
  ASSERT_TRUE(shot.Valid());
  const TRect cell = Rect(0, 0, RectWidth(close), RectHeight(close));
  TDib32 alone(cell.right, cell.bottom, RGB(0, 0, 0));
  TdxBarPainter* painter = c->GetPainter();
  const TdxBarMarkState state = c->GetCloseButtonState();
  painter->DrawCaptionButton(c, alone.DC(), cell, state);
  painter->DrawCaptionCloseButton(c, alone.DC(), cell, state);
  const COLORREF glyph = ColorToRGB(painter->GetCaptionButtonGlyphColor(c, state));
  EXPECT_GT(CountPixelsNear(alone, cell, glyph, 2), 8);
  EXPECT_EQ(CountDifferentPixels(shot, close, alone), 0);
}

// A click on the check button deactivates the bar; the pointer stays where it was, and the
// button under it is drawn hot again without a further move.
TEST_F(TFloatingScene, ClickedCheckButtonIsHotUnderAStillPointer)
{
  auto* check = dynamic_cast<TdxBarButton*>(LinkOf(L"btnCheck")->GetItem());
  ASSERT_NE(check, nullptr);
  ASSERT_TRUE(check->GetDown());
  const POINT p = ScreenCentreOf(LinkOf(L"btnCheck"));
  ASSERT_TRUE(ClickAt(p));
  // Only what the click left behind (the posted moves) runs; the pointer does not move.
  PumpFor(120);
  POINT now{};
  GetCursorPos(&now);
  ASSERT_EQ(now.x, p.x);
  ASSERT_EQ(now.y, p.y);
  EXPECT_FALSE(check->GetDown());
  EXPECT_FALSE(Toolbar->GetActive());
  EXPECT_EQ(Toolbar->GetSelectedControl(), ControlOf(LinkOf(L"btnCheck"))) << "the control under the pointer is hot";
  TDib32 shot = Shot("scene-check-still");
  RECT r = InShot(L"btnCheck");
  EXPECT_TRUE(ColorNear(shot.Pixel(r.left + 2, r.top + 2), Flat(5), 2)) << "drawn with the hot fill";
  EXPECT_TRUE(ColorNear(shot.Pixel(r.left, (r.top + r.bottom) / 2), GetSysColor(COLOR_HIGHLIGHT), 0));
  // A second click puts it down again, and it stays hot (the down-and-hot fill).
  ASSERT_TRUE(ClickAt(p));
  PumpFor(120);
  EXPECT_TRUE(check->GetDown());
  EXPECT_EQ(Toolbar->GetSelectedControl(), ControlOf(LinkOf(L"btnCheck")));
  TDib32 again = Shot("scene-check-still-down");
  EXPECT_TRUE(ColorNear(again.Pixel(r.left + 2, r.top + 2), Flat(4), 2));
}
