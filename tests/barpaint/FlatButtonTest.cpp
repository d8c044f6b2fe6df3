// Toolbar buttons of the flat painter, probed against the manager's flat brushes read at run
// time: the bar's fill, a disabled button, a hot button with its caption, the begin-group
// separator and the split arrow part. The scene tests show the idle, hot, held and down states.
#include "PaintTestUtil.h"

namespace {

const TRect ButtonRect = Rect(4, 4, 36, 34);

int CountReddish(const TDib32& ADib, const TRect& R)
{
  return CountPixels(ADib, R, IsReddish);
}

struct TButtonState {
  bool Selected = false;
  bool Pressed = false;
  bool Down = false;
  bool Enabled = true;
};

// Draws one glyph-only button in the state, on a strip filled with the bar's background.
void DrawButton(TPaintHost& AHost, TDib32& ADib, const TButtonState& AState, const TRect& R = ButtonRect,
                int AViewParts = ivpGlyph, const String& ACaption = L"")
{
  TDibCanvas canvas(ADib);
  TPaintItem item(AHost.Bar);
  item.Enabled = AState.Enabled;
  TdxBarButtonLikeControlDrawParams params;
  InitButtonParams(params, &item, &canvas.Cx, AViewParts, ACaption);
  params.PaintedSelected = AState.Selected;
  params.IsSelected = AState.Selected;
  params.States.Selected = AState.Selected;
  params.States.Pressed = AState.Pressed;
  params.States.Down = AState.Down;
  AHost.Painter()->DrawButtonLikeControl(&params, R);
}

TDib32 BarStrip(TPaintHost& AHost, int AWidth = 40, int AHeight = 38)
{
  return TDib32(AWidth, AHeight, AHost.Flat(2));
}

}  // namespace

TEST(FlatButton, TheProgramToolbarIsFilledWithBrushTwoAndAStatusBarWithButtonFace)
{
  TPaintHost host;
  TdxBarPainter* painter = host.Painter();
  ASSERT_TRUE(dynamic_cast<TdxBarFlatPainter*>(painter));
  EXPECT_EQ(painter->GetToolbarBackgroundBrush(host.Bar), host.Manager->GetFlatBrush(2));
  host.Bar->StatusBar = true;
  EXPECT_EQ(painter->GetToolbarBackgroundBrush(host.Bar), dxBarSysColorBrush(COLOR_BTNFACE));
}

TEST(FlatButton, DisabledButtonShowsNoGlyphColourAndNoFrame)
{
  TPaintHost host;
  TDib32 dib = BarStrip(host);
  DrawButton(host, dib, {.Enabled = false});
  EXPECT_EQ(CountReddish(dib, ButtonRect), 0);
  EXPECT_GT(CountPixelsNear(dib, ButtonRect, GetSysColor(COLOR_BTNSHADOW), 2), 20);
  EXPECT_TRUE(ColorNear(dib.Pixel(ButtonRect.left, 18), host.Flat(2), 2));
}

TEST(FlatButton, HotButtonWithCaptionIsHighlightedAsOnePiece)
{
  TPaintHost host;
  TDib32 dib = BarStrip(host, 100);
  TRect r = Rect(2, 4, 90, 34);
  DrawButton(host, dib, {.Selected = true}, r, ivpGlyph | ivpCaption, L"Start!");
  // Right of the glyph cell, under the text's vertical band: the hot fill, not the bar's.
  EXPECT_TRUE(ColorNear(dib.Pixel(r.right - 3, r.top + 2), host.Flat(5), 2));
  EXPECT_TRUE(ColorNear(dib.Pixel(r.right - 1, 20), GetSysColor(COLOR_HIGHLIGHT), 0));
  // The caption's ink lies right of the glyph area.
  RECT text{r.left + 22, r.top + 1, r.right - 1, r.bottom - 1};
  EXPECT_GT(CountPixelsNear(dib, text, GetSysColor(COLOR_BTNTEXT), 40), 10);
}

TEST(FlatButton, BeginGroupSeparatorIsOneShadowLineAtTheThirdColumn)
{
  TPaintHost host;
  TdxBarPainter* painter = host.Painter();
  EXPECT_EQ(painter->GetToolbarSeparatorSize(), 5);
  TDib32 dib(5, 20, RGB(1, 2, 3));
  painter->DrawToolbarSeparator(host.Bar, dib.DC(), Rect(0, 0, 5, 20), painter->GetToolbarBackgroundBrush(host.Bar),
                                false);
  for (int x : {0, 1, 3, 4})
    EXPECT_TRUE(ColorNear(dib.Pixel(x, 10), host.Flat(2), 2)) << "column " << x;
  EXPECT_TRUE(ColorNear(dib.Pixel(2, 10), GetSysColor(COLOR_BTNSHADOW), 0));
  // Across a vertical bar the line runs along the top of the rest.
  TDib32 across(20, 5, RGB(1, 2, 3));
  painter->DrawToolbarSeparator(host.Bar, across.DC(), Rect(0, 0, 20, 5), painter->GetToolbarBackgroundBrush(host.Bar),
                                true);
  EXPECT_TRUE(ColorNear(across.Pixel(10, 2), GetSysColor(COLOR_BTNSHADOW), 0));
  EXPECT_TRUE(ColorNear(across.Pixel(10, 3), host.Flat(2), 2));
}

TEST(FlatButton, SplitArrowPartSharesTheFaceFrameAndPointsDown)
{
  TPaintHost host;
  TDib32 dib = BarStrip(host, 60);
  TDibCanvas canvas(dib);
  TPaintItem item(host.Bar);
  TdxBarButtonLikeControlDrawParams params;
  InitButtonParams(params, &item, &canvas.Cx, ivpGlyph);
  params.IsDropDown = true;
  params.IsSplit = true;
  params.ArrowWidth = host.Painter()->GetButtonArrowWidth(host.Manager);
  params.PaintedSelected = true;
  params.States.Selected = true;
  TRect r = Rect(4, 4, 36 + params.ArrowWidth, 34);
  host.Painter()->DrawButtonLikeControl(&params, r);
  RECT arrow{r.right - params.ArrowWidth, r.top + 1, r.right - 1, r.bottom - 1};
  int ink = CountPixelsNear(dib, arrow, GetSysColor(COLOR_BTNTEXT), 0);
  EXPECT_GT(ink, 3);
  // Down-pointing: the widest row of ink is above the narrowest.
  EXPECT_TRUE(ColorNear(dib.Pixel(r.right - 1, 18), GetSysColor(COLOR_HIGHLIGHT), 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(r.right - params.ArrowWidth - 1, 18), GetSysColor(COLOR_HIGHLIGHT), 0));
}
