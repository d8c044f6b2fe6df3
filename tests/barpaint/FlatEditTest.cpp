// Edits, combo buttons, spin buttons, framed statics and push buttons of the flat painter
// (with the standard kind where the two differ), the themed status-bar background, the
// cached glyphs and the GDI balance of every operation added for them.
#include "PaintTestUtil.h"
#include "lookandfeel/dxThemeManager.h"
#include "platform/Scope.h"

namespace {

struct TEditState {
  bool Selected = false;
  bool Pressed = false;
  bool Enabled = true;
  int Hot = -1;
  int Held = -1;
  int Kind = bkHorizontal;
};

// Draw params of an edit-like control on the host's bar, over ADib.
struct TEditParams {
  TEditParams(TPaintHost& AHost, TDib32& ADib, const TEditState& AState) : Canvas(ADib), Item(AHost.Bar)
  {
    AHost.Bar->BarKind = AState.Kind;
    Item.Enabled = AState.Enabled;
    InitButtonParams(Params, &Item, &Canvas.Cx, ivpCaption);
    Params.BarControlKind = AState.Kind;
    Params.PaintedSelected = AState.Selected;
    Params.IsSelected = AState.Selected;
    Params.States.Selected = AState.Selected;
    Params.States.Pressed = AState.Pressed;
    Params.HotPartIndex = AState.Hot;
    Params.PressedPartIndex = AState.Held;
  }
  TDibCanvas Canvas;
  TPaintItem Item;
  TdxBarButtonLikeControlDrawParams Params;
};

}  // namespace

// --- Edit borders -------------------------------------------------------------------

TEST(FlatEdit, BorderIsOnePixelByStateAndLeavesTheTextArea)
{
  TPaintHost host;
  TdxBarPainter* p = host.Painter();
  EXPECT_EQ(p->GetEditBorderMargins(), Rect(1, 1, 1, 1));
  struct TCase {
    TEditState State;
    COLORREF Ring;
    const char* Name;
  } cases[] = {{{}, host.Flat(2), "idle: the bar's own colour"},
               {{.Selected = true}, Sys(COLOR_HIGHLIGHT), "hot"},
               {{.Enabled = false}, Sys(COLOR_BTNSHADOW), "disabled"},
               {{.Kind = bkMenu}, host.Flat(2), "in a menu: the menu's background"}};
  for (const TCase& c : cases) {
    TDib32 dib(80, 22, Paper);
    TEditParams edit(host, dib, c.State);
    TRect r = Rect(0, 0, 80, 22);
    p->DrawEditBorder(&edit.Params, r);
    EXPECT_EQ(r, Rect(1, 1, 79, 21)) << c.Name;
    EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), c.Ring, 2)) << c.Name << " " << ColorText(dib.Pixel(0, 0));
    EXPECT_TRUE(ColorNear(dib.Pixel(79, 11), c.Ring, 2)) << c.Name;
    EXPECT_EQ(dib.Pixel(40, 11), Paper) << c.Name << ": the inside is the editor's";
  }
}

// --- Combo buttons ------------------------------------------------------------------

namespace {

const TRect ComboButton = Rect(60, 2, 72, 20);

bool IsArrowPixel(const TDib32& ADib, COLORREF AColor)
{
  return CountPixelsNear(ADib, Rect(62, 8, 70, 14), AColor, 4) > 0;
}

}  // namespace

TEST(FlatCombo, IdleButtonSitsInTheEditColourWithADarkArrow)
{
  TPaintHost host;
  TDib32 dib(80, 22, host.Flat(2));
  TEditParams edit(host, dib, {});
  host.Painter()->DrawComboButton(&edit.Params, ComboButton);
  COLORREF window = Sys(COLOR_WINDOW);
  EXPECT_TRUE(ColorNear(dib.Pixel(ComboButton.left, 3), window)) << "frame";
  EXPECT_TRUE(ColorNear(dib.Pixel(ComboButton.left - 1, 10), window)) << "strip joining the text part";
  EXPECT_TRUE(ColorNear(dib.Pixel(ComboButton.left + 1, 4), host.Flat(2), 2)) << "face";
  EXPECT_TRUE(IsArrowPixel(dib, Sys(COLOR_BTNTEXT)));
}

TEST(FlatCombo, HotButtonIsFramedAroundTheEditFrameAndFilledWithBrushFive)
{
  TPaintHost host;
  TDib32 dib(80, 22, host.Flat(2));
  TEditParams edit(host, dib, {.Selected = true});
  host.Painter()->DrawComboButton(&edit.Params, ComboButton);
  COLORREF highlight = Sys(COLOR_HIGHLIGHT);
  EXPECT_TRUE(ColorNear(dib.Pixel(ComboButton.left - 1, 10), highlight));
  EXPECT_TRUE(ColorNear(dib.Pixel(ComboButton.right, 10), highlight));
  EXPECT_TRUE(ColorNear(dib.Pixel(66, ComboButton.top - 1), highlight));
  EXPECT_TRUE(ColorNear(dib.Pixel(ComboButton.left + 1, 4), host.Flat(5), 2));
  EXPECT_TRUE(IsArrowPixel(dib, Sys(COLOR_BTNTEXT)));
}

TEST(FlatCombo, PressedButtonIsBrushFourWithAHighlightTextArrow)
{
  TPaintHost host;
  TDib32 dib(80, 22, host.Flat(2));
  TEditParams edit(host, dib, {.Selected = true, .Pressed = true});
  host.Painter()->DrawComboButton(&edit.Params, ComboButton);
  EXPECT_TRUE(ColorNear(dib.Pixel(ComboButton.left + 1, 4), host.Flat(4), 2));
  EXPECT_TRUE(IsArrowPixel(dib, Sys(COLOR_HIGHLIGHTTEXT)));
}

TEST(FlatCombo, DisabledArrowIsShadowAndNotEmbossed)
{
  TPaintHost host;
  TDib32 dib(80, 22, host.Flat(2));
  TEditParams edit(host, dib, {.Enabled = false});
  host.Painter()->DrawComboButton(&edit.Params, ComboButton);
  EXPECT_TRUE(IsArrowPixel(dib, Sys(COLOR_BTNSHADOW)));
  EXPECT_FALSE(IsArrowPixel(dib, Sys(COLOR_BTNTEXT)));
  EXPECT_EQ(CountPixelsNear(dib, Rect(62, 8, 71, 15), Sys(COLOR_BTNHIGHLIGHT), 1), 0);
}

TEST(FlatCombo, UnselectedButtonInAMenuTakesTheMenuBackground)
{
  TPaintHost host;
  TDib32 dib(80, 22, Paper);
  TEditParams edit(host, dib, {.Kind = bkMenu});
  EXPECT_EQ(host.Painter()->GetComboButtonBrush(&edit.Params), host.Bar->GetBackgroundBrush());
}

// --- Spin buttons -------------------------------------------------------------------

namespace {

const TRect SpinEdit = Rect(0, 0, 60, 20);

struct TSpinLayout {
  TRect Up;
  TRect Down;
};

TSpinLayout DrawSpin(TPaintHost& AHost, TDib32& ADib, const TEditState& AState)
{
  TEditParams edit(AHost, ADib, AState);
  TdxBarPainter* p = AHost.Painter();
  p->DrawSpinButtons(&edit.Params, SpinEdit);
  return {p->GetSpinButtonRect(SpinEdit, dxBarSpinButtonUp, 0), p->GetSpinButtonRect(SpinEdit, dxBarSpinButtonDown, 0)};
}

}  // namespace

TEST(FlatSpin, ButtonsShareTheColumnAtTheRightAndCollapseBelowTheLimit)
{
  TPaintHost host;
  TdxBarPainter* p = host.Painter();
  TRect up = p->GetSpinButtonRect(SpinEdit, dxBarSpinButtonUp, 0);
  TRect down = p->GetSpinButtonRect(SpinEdit, dxBarSpinButtonDown, 0);
  EXPECT_EQ(up.right, SpinEdit.right - 1);
  EXPECT_EQ(up.bottom, down.top);
  EXPECT_EQ(up.top, SpinEdit.top);
  EXPECT_EQ(down.bottom, SpinEdit.bottom);
  EXPECT_EQ(RectWidth(up), p->GetSpinButtonsWidth(nullptr, 20) - 2);
  EXPECT_TRUE(IsRectEmpty(p->GetSpinButtonRect(SpinEdit, dxBarSpinButtonUp, 10)));
  EXPECT_FALSE(IsRectEmpty(p->GetSpinButtonRect(SpinEdit, dxBarSpinButtonUp, 9)));
}

TEST(FlatSpin, IdleHotAndHeldButtons)
{
  TPaintHost host;
  TDib32 idle(60, 20, Paper);
  TSpinLayout l = DrawSpin(host, idle, {});
  EXPECT_TRUE(ColorNear(idle.Pixel(l.Up.left, l.Up.top), host.Flat(2), 2));
  EXPECT_GT(CountPixelsNear(idle, l.Up, Sys(COLOR_BTNTEXT), 2), 3) << "up arrow";
  EXPECT_GT(CountPixelsNear(idle, l.Down, Sys(COLOR_BTNTEXT), 2), 3) << "down arrow";

  TDib32 hot(60, 20, Paper);
  DrawSpin(host, hot, {.Hot = dxBarSpinButtonUp, .Held = dxBarSpinButtonDown});
  EXPECT_TRUE(ColorNear(hot.Pixel(l.Up.left, l.Up.top), Sys(COLOR_HIGHLIGHT)));
  EXPECT_TRUE(ColorNear(hot.Pixel(l.Up.left + 1, l.Up.top + 1), host.Flat(5), 2));
  EXPECT_TRUE(ColorNear(hot.Pixel(l.Down.left, l.Down.bottom - 1), Sys(COLOR_HIGHLIGHT)));
  EXPECT_TRUE(ColorNear(hot.Pixel(l.Down.left + 1, l.Down.bottom - 2), host.Flat(4), 2));
}

TEST(FlatSpin, DisabledArrowsAreShadowOnlyWhereTheStandardLookEmbosses)
{
  TPaintHost host;
  TDib32 flat(60, 20, Paper);
  TSpinLayout l = DrawSpin(host, flat, {.Enabled = false});
  EXPECT_GT(CountPixelsNear(flat, l.Up, Sys(COLOR_BTNSHADOW), 2), 3);
  EXPECT_EQ(CountPixelsNear(flat, l.Up, Sys(COLOR_BTNTEXT), 2), 0);
  int flatHighlight = CountPixelsNear(flat, SpinEdit, Sys(COLOR_BTNHIGHLIGHT), 1);

  host.Manager->SetStyle(bmsStandard);
  TDib32 standard(60, 20, Paper);
  DrawSpin(host, standard, {.Enabled = false});
  EXPECT_GT(CountPixelsNear(standard, SpinEdit, Sys(COLOR_BTNHIGHLIGHT), 1), flatHighlight + 3) << "embossed copy";
}

// --- Statics, push buttons ----------------------------------------------------------

TEST(FlatStatic, BorderAreaIsFilledInShadowAndTheInsideHandedBack)
{
  TPaintHost host;
  TDib32 dib(50, 20, Paper);
  TEditParams edit(host, dib, {});
  TRect r = Rect(0, 0, 50, 20);
  host.Painter()->DrawStaticBorder(&edit.Params, r, sbsBump);
  EXPECT_EQ(r, Rect(2, 2, 48, 18));
  EXPECT_TRUE(ColorNear(dib.Pixel(1, 1), Sys(COLOR_BTNSHADOW)));
  EXPECT_TRUE(ColorNear(dib.Pixel(49, 19), Sys(COLOR_BTNSHADOW)));
  EXPECT_EQ(dib.Pixel(2, 2), Paper);
  r = Rect(0, 0, 50, 20);
  host.Painter()->DrawStaticBorder(&edit.Params, r, sbsNone);
  EXPECT_EQ(r, Rect(0, 0, 50, 20));
}

TEST(FlatPushButton, TwoFramesThenCentredText)
{
  TPaintHost host;
  TDib32 dib(60, 22, Paper);
  host.Painter()->DrawPushButton(dib.DC(), Rect(0, 0, 60, 22), true, L"OK", false);
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), Sys(COLOR_BTNSHADOW)));
  EXPECT_TRUE(ColorNear(dib.Pixel(1, 1), Sys(COLOR_BTNFACE)));
  EXPECT_TRUE(ColorNear(dib.Pixel(58, 20), Sys(COLOR_BTNFACE)));
  EXPECT_EQ(dib.Pixel(2, 2), Paper) << "flat: the text is transparent";
  EXPECT_GT(CountPixelsNear(dib, Rect(20, 5, 40, 17), Sys(COLOR_BTNTEXT), 30), 5);
}

// --- Status bar, cached glyphs, standard MDI buttons --------------------------------

TEST(StatusBarBackground, ThemedForTheNativeLookElseTheBrush)
{
  TPaintHost host;
  TdxBarXPPainter xp;
  TdxBarPainter base;
  TDib32 plain(80, 24, Paper);
  base.DrawStatusBarBackground(host.Bar, plain.DC(), Rect(0, 0, 80, 24), dxBarSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(CountPixelsNear(plain, Rect(0, 0, 80, 24), Sys(COLOR_BTNFACE), 0), 80 * 24);
  if (!OpenTheme(totStatus))
    GTEST_SKIP() << "no status-bar theme here";
  TDib32 themed(80, 24, Paper);
  xp.DrawStatusBarBackground(host.Bar, themed.DC(), Rect(0, 0, 80, 24), dxBarSysColorBrush(COLOR_WINDOW));
  EXPECT_EQ(CountPixelsNear(themed, Rect(0, 0, 80, 24), Paper, 2), 0) << "the theme painted it";
  EXPECT_LT(CountPixelsNear(themed, Rect(0, 0, 80, 24), Sys(COLOR_WINDOW), 0), 80 * 24) << "not the brush";
  TFinally styles([]() noexcept { SetVisualStylesSuppressed(false); });
  SetVisualStylesSuppressed(true);
  TDib32 classic(80, 24, Paper);
  xp.DrawStatusBarBackground(host.Bar, classic.DC(), Rect(0, 0, 80, 24), dxBarSysColorBrush(COLOR_WINDOW));
  SetVisualStylesSuppressed(false);
  EXPECT_EQ(CountPixelsNear(classic, Rect(0, 0, 80, 24), Sys(COLOR_WINDOW), 0), 80 * 24);
}

namespace {

void DrawGlyphButton(TPaintHost& AHost, TDib32& ADib, TPaintItem& AItem, bool ASelected)
{
  TDibCanvas canvas(ADib);
  TdxBarButtonLikeControlDrawParams params;
  InitButtonParams(params, &AItem, &canvas.Cx, ivpGlyph);
  params.PaintedSelected = ASelected;
  params.States.Selected = ASelected;
  AHost.Painter()->DrawButtonLikeControl(&params, Rect(0, 0, 32, 30));
}

}  // namespace

TEST(CachedGlyph, TheCacheDrawsWhatDirectDrawingDrawsAndFollowsTheMode)
{
  TPaintHost host;
  TPaintItem item(host.Bar);
  item.AfterConstruction();  // made on the stack: the cache comes with construction's end
  TdxCachedImageOptions* cache = item.GetCachedImageOptions();
  ASSERT_TRUE(cache);
  host.Manager->GetImageOptions()->SetCacheGlyphs(false);
  TDib32 direct(32, 30, host.Flat(2));
  DrawGlyphButton(host, direct, item, false);
  EXPECT_FALSE(cache->Valid) << "caching is off";

  host.Manager->GetImageOptions()->SetCacheGlyphs(true);
  TDib32 first(32, 30, host.Flat(2));
  DrawGlyphButton(host, first, item, false);
  ASSERT_TRUE(cache->Valid);
  EXPECT_EQ(cache->DrawMode, int(gdmFaded)) << "idle flat glyphs are faded";
  TDib32 again(32, 30, host.Flat(2));
  DrawGlyphButton(host, again, item, false);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 32; ++x) {
      ASSERT_EQ(first.Pixel(x, y), direct.Pixel(x, y)) << x << "," << y;
      ASSERT_EQ(again.Pixel(x, y), direct.Pixel(x, y)) << x << "," << y;
    }
  // A down glyph is drawn normal: the cache is composed again in that mode.
  TDib32 down(32, 30, host.Flat(2));
  {
    TDibCanvas canvas(down);
    TdxBarButtonLikeControlDrawParams params;
    InitButtonParams(params, &item, &canvas.Cx, ivpGlyph);
    params.States.Down = true;
    host.Painter()->DrawButtonLikeControl(&params, Rect(0, 0, 32, 30));
  }
  EXPECT_EQ(cache->DrawMode, int(gdmNormal));
  EXPECT_TRUE(ColorNear(down.Pixel(15, 15), RGB(220, 0, 0), 2)) << ColorText(down.Pixel(15, 15));
}

TEST(StandardMDIButton, FlatCloseButtonOnlyWhenTheManagerAsksForIt)
{
  TPaintHost host;
  host.Manager->SetStyle(bmsStandard);
  TdxBarPainter* p = host.Painter();
  TDib32 raised(20, 18, Paper);
  p->DrawMDIButton(host.Bar, raised.DC(), Rect(0, 0, 20, 18), 2, TdxBarMDIButtonState::Normal);
  host.Manager->SetFlatCloseButton(true);
  TDib32 flat(20, 18, Paper);
  p->DrawMDIButton(host.Bar, flat.DC(), Rect(0, 0, 20, 18), 2, TdxBarMDIButtonState::Normal);
  // The classic button has its dark outer edge at the bottom right; the flat one a
  // one-pixel raised-inner edge (shadow) there.
  EXPECT_TRUE(ColorNear(raised.Pixel(19, 17), Sys(COLOR_3DDKSHADOW), 2)) << ColorText(raised.Pixel(19, 17));
  EXPECT_TRUE(ColorNear(flat.Pixel(19, 17), Sys(COLOR_BTNSHADOW), 2)) << ColorText(flat.Pixel(19, 17));
  // Inside its edge the flat glyph is the button's own size, cut by the edge, not shrunk.
  TDib32 glyph(18, 16, Paper);
  RECT whole{-1, -1, 19, 17};  // the button, seen from inside its edge
  DrawFrameControl(glyph.DC(), &whole, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_FLAT);
  EXPECT_EQ(CountDifferentPixels(flat, RECT{1, 1, 19, 17}, glyph), 0);
}

// --- GDI balance --------------------------------------------------------------------

TEST(GdiBalance, MenuEditAndSpinDrawingLeavesNoGdiObjectBehind)
{
  for (TdxBarManagerStyle style : {bmsFlat, bmsStandard, bmsXP}) {
    TPaintHost host;
    host.Manager->SetStyle(style);
    host.Bar->Detachable = true;
    TdxBarPainter* p = host.Painter();
    TDib32 dib(200, 80, Paper);
    auto everything = [&] {
      for (int kind : {bkHorizontal, bkMenu}) {
        for (int state = 0; state < 8; ++state) {
          TEditParams edit(host, dib,
                           {.Selected = (state & 1) != 0,
                            .Pressed = (state & 2) != 0,
                            .Enabled = (state & 4) == 0,
                            .Hot = 1,
                            .Held = 2,
                            .Kind = kind});
          edit.Params.Description = L"A description long enough to wrap into more than two lines here";
          edit.Params.DescriptionVisible = true;
          edit.Params.ViewParts = ivpGlyph | ivpCaption;
          edit.Params.States.Down = (state & 2) != 0;
          TRect r = Rect(0, 0, 120, 22);
          p->DrawEditBorder(&edit.Params, r);
          p->DrawComboButton(&edit.Params, Rect(100, 2, 112, 20));
          p->DrawSpinButtons(&edit.Params, Rect(0, 0, 60, 20));
          r = Rect(0, 0, 50, 20);
          p->DrawStaticBorder(&edit.Params, r, sbsEtched);
          p->DrawButtonLikeControl(&edit.Params, Rect(0, 20, 160, 70));
        }
      }
      host.Bar->BarKind = bkMenu;
      p->DrawMenuFrame(host.Bar, dib.DC(), Rect(0, 0, 200, 80));
      p->DrawMenuBackground(host.Bar, dib.DC(), Rect(0, 0, 200, 80), host.Bar->GetBackgroundBrush());
      p->DrawDetachStrip(host.Bar, dib.DC(), Rect(0, 0, 200, 9), true);
      TDibCanvas canvas(dib);
      TPaintItem item(host.Bar);
      p->DrawMenuSeparator(host.Bar, &canvas.Cx, Rect(0, 0, 200, 5), &item);
      p->DrawMenuSeparatorLine(&canvas.Cx, Rect(0, 0, 200, 5));
      p->DrawPushButton(dib.DC(), Rect(0, 0, 60, 22), true, L"OK", true);
      p->DrawPushButtonText(dib.DC(), Rect(0, 0, 60, 22), false, L"OK", false);
      p->DrawStatusBarBackground(host.Bar, dib.DC(), Rect(0, 0, 60, 22), dxBarSysColorBrush(COLOR_BTNFACE));
      for (int state = 0; state < 5; ++state)
        p->DrawMDIButton(host.Bar, dib.DC(), Rect(0, 0, 20, 18), state % 3, TdxBarMDIButtonState(state));
    };
    everything();  // warm-up: shared fonts and caches
    int before = GdiObjectsInUse();
    everything();
    EXPECT_EQ(GdiObjectsInUse(), before) << "style " << style;
  }
}
