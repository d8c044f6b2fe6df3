// What the base painter draws itself (lowered borders, bar backgrounds, arrows, check-mark
// placement), probed in a 32-bit DIB, and that no drawing operation leaves a GDI object
// behind or deletes a system brush.
#include "PainterTestUtil.h"

namespace {

// Records where the check mark would go.
struct TRecordingPainter : TdxBarPainter {
  void DrawCheckMark(HDC DC, const TPoint& P, int AScale, bool AEnabled) const override
  {
    ++Calls;
    LastPoint = P;
    LastScale = AScale;
  }
  mutable int Calls = 0;
  mutable TPoint LastPoint{};
  mutable int LastScale = 0;
};

bool IsSystemBrushAlive(int AIndex)
{
  return GetObjectType(GetSysColorBrush(AIndex)) == OBJ_BRUSH;
}

}  // namespace

TEST(PainterDrawing, LoweredBorderIsSunkenAndShrinksTheRectangle)
{
  TDib32 dib(20, 20, RGB(1, 2, 3));
  TdxBarPainter p;
  TRect r = Rect(2, 2, 18, 18);
  p.DrawLoweredBorder(dib.DC(), r);
  EXPECT_EQ(r, Rect(3, 3, 17, 17));
  EXPECT_TRUE(ColorNear(dib.Pixel(2, 10), GetSysColor(COLOR_BTNSHADOW), 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(10, 2), GetSysColor(COLOR_BTNSHADOW), 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(17, 10), GetSysColor(COLOR_BTNHIGHLIGHT), 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(10, 17), GetSysColor(COLOR_BTNHIGHLIGHT), 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(10, 10), RGB(1, 2, 3), 0));
}

TEST(PainterDrawing, BarBackgroundFillsTheClientRectWithTheWindowBrush)
{
  TPainterHost host;
  TTestBarControl* bar = new TTestBarControl(host.Manager);
  bar->ClientRect = Rect(0, 0, 12, 8);
  TDib32 dib(20, 20, RGB(1, 2, 3));
  host.Painter()->DrawBarBackground(bar, dib.DC());
  RECT client{0, 0, 12, 8};
  EXPECT_EQ(CountPixelsNear(dib, client, GetSysColor(COLOR_BTNFACE), 0), 12 * 8);
  EXPECT_TRUE(ColorNear(dib.Pixel(12, 5), RGB(1, 2, 3), 0));
  EXPECT_TRUE(ColorNear(dib.Pixel(5, 8), RGB(1, 2, 3), 0));
  // A window without a client area yet draws nothing.
  TDib32 untouched(20, 20, RGB(1, 2, 3));
  bar->ClientRect = Rect(0, 0, 0, 0);
  host.Painter()->DrawBarBackground(bar, untouched.DC());
  RECT all{0, 0, 20, 20};
  EXPECT_EQ(CountPixelsNear(untouched, all, RGB(1, 2, 3), 0), 400);
}

TEST(PainterDrawing, ArrowsTakeTheButtonTextColourAndFlatOnesAreNotEmbossed)
{
  TdxBarPainter base;
  TdxBarFlatPainter flat;
  COLORREF white = RGB(255, 255, 255);
  RECT all{0, 0, 24, 24};
  {
    TDib32 dib(24, 24, white);
    base.DrawArrow(dib.DC(), Rect(0, 0, 24, 24), adDown, clDefault, true, false);
    EXPECT_GT(CountPixelsNear(dib, all, GetSysColor(COLOR_BTNTEXT), 0), 5);
  }
  if (GetSysColor(COLOR_BTNHIGHLIGHT) != white) {
    TDib32 embossed(24, 24, white);
    base.DrawArrowSized(embossed.DC(), Rect(0, 0, 24, 24), adRight, clDefault, false, false, 4);
    EXPECT_GT(CountPixelsNear(embossed, all, GetSysColor(COLOR_BTNHIGHLIGHT), 0), 0);
    TDib32 plain(24, 24, white);
    flat.DrawArrowSized(plain.DC(), Rect(0, 0, 24, 24), adRight, clDefault, false, false, 4);
    EXPECT_EQ(CountPixelsNear(plain, all, GetSysColor(COLOR_BTNHIGHLIGHT), 0), 0);
    EXPECT_GT(CountPixelsNear(plain, all, GetSysColor(COLOR_BTNSHADOW), 0), 0);
  }
}

TEST(PainterDrawing, CheckMarkOnlyForADownMenuItemAndDoubledForLargeFonts)
{
  TPainterHost host;
  TTestBarControl* menu = new TTestBarControl(host.Manager);
  menu->BarKind = bkMenu;
  TTestItemControl item(menu);
  TRecordingPainter p;
  TDib32 dib(40, 40);
  const TRect r = Rect(0, 0, 21, 19);
  p.DrawCheckMarkInRect(&item, dib.DC(), r, false, bkMenu);
  p.DrawCheckMarkInRect(&item, dib.DC(), r, true, bkHorizontal);
  EXPECT_EQ(p.Calls, 0);
  menu->GetFont()->SetSize(15);
  p.DrawCheckMarkInRect(&item, dib.DC(), r, true, bkMenu);
  EXPECT_EQ(p.Calls, 1);
  EXPECT_EQ(p.LastScale, 1);
  EXPECT_EQ(p.LastPoint, Point((21 - 9) / 2, (19 - 7) / 2));
  menu->GetFont()->SetSize(16);
  p.DrawCheckMarkInRect(&item, dib.DC(), r, true, bkMenu);
  EXPECT_EQ(p.LastScale, 2);
  EXPECT_EQ(p.LastPoint, Point((21 - 18) / 2, (19 - 14) / 2));
}

// Every drawing operation of the interface, called many times with each painter kind: the
// layer's count of GDI objects ends where it began, and the system colour brushes handed
// around as index + 1 values stay alive.
TEST(PainterDrawing, NoDrawingOperationLeavesAGdiObjectBehind)
{
  TPainterHost host;
  TTestBarControl* bar = new TTestBarControl(host.Manager);
  bar->ClientRect = Rect(0, 0, 30, 20);
  bar->BarKind = bkMenu;
  TTestItemControl item(bar);
  TdxBarItemControlDrawParams params(&item);
  params.BarControlKind = bkMenu;
  params.IsDropDown = true;
  TDib32 dib(64, 64);
  HDC dc = dib.DC();
  TcxScreenCanvas canvas;
  const TRect r = Rect(2, 2, 40, 30);
  std::unique_ptr<TdxBarPainter> painters[] = {
      std::make_unique<TdxBarPainter>(),         std::make_unique<TdxBarStandardPainter>(),
      std::make_unique<TdxBarEnhancedPainter>(), std::make_unique<TdxBarFlatPainter>(),
      std::make_unique<TdxBarOffice11Painter>(), std::make_unique<TdxBarXPPainter>()};
  // Settle lazily made objects (fonts, the checker brush) before counting.
  painters[0]->DrawBarBackground(bar, dc);
  (void)host.Painter()->GetDetachStripHeight(bar);
  (void)canvas.TextHeight(L"Wg");
  const int before = GdiObjectsInUse();
  for (int round = 0; round < 20; ++round) {
    for (const auto& p : painters) {
      TRect t = r;
      TRect glyph{};
      TdxBarTextAlignment align = dxBarTextAlignLeft;
      std::vector<TRect> parts;
      TdxBarItemStateFlags states;
      states.Pressed = round % 2 == 0;
      p->DrawItemText(&item, dc, L"&Caption", r, dxBarTextAlignLeft,
                      {.Enabled = round % 3 != 0, .Selected = true, .Clipped = true}, DT_SINGLELINE);
      p->DrawGlyphFrame(&item, dc, states, r, p->GetGlyphBackgroundBrush(&item, states));
      p->DrawCheckMark(dc, Point(3, 3), 2, false);
      p->DrawCheckMarkInRect(&item, dc, r, true, bkMenu, round % 2 == 0);
      p->DrawGlyph(&params, dc, states, 0, r, r, glyph);
      p->DrawGlyphImage(&params, dc, states, 0, r, r, false);
      p->DrawArrow(dc, r, adDown, clDefault, round % 2 == 0, false);
      p->DrawArrowSized(dc, r, adLeft, clRed, false, true, 3);
      p->CalcButtonLikeControlParts(&params, r, p->GetButtonArrowWidth(host.Manager), parts);
      p->DrawLoweredBorder(dc, t);
      p->GetButtonTextRect(&params, r, r, t, align);
      p->DrawButtonLikeControl(&params, r);
      p->DrawButtonLikeControlCaption(&params, r);
      p->DrawButtonCaption(&params, r, align);
      p->DrawButtonArrowGlyph(&params, r);
      p->DrawButtonBackground(&params, r, p->GetButtonBackgroundBrush(&params));
      p->DrawButtonArrowPart(&params, r);
      p->DrawDropDownArrow(&params, r);
      p->DrawBarBackground(bar, dc);
      p->DrawToolbarBackground(bar, dc, r, p->GetToolbarBackgroundBrush(bar));
      p->DrawDockedBarBackground(bar, dc, r);
      p->DrawStatusBarBackground(bar, dc, r, p->GetBackgroundBrush(bar));
      p->DrawToolbarSeparator(bar, dc, r, p->GetBackgroundBrush(bar), true);
      t = r;
      p->DrawDockedBarBorder(bar, dc, t);
      p->DrawFloatingBarBorder(bar, dc, r);
      p->DrawBarCaption(bar, dc, r, p->GetFaceBrush(bar));
      p->DrawCaptionBackground(bar, dc, r);
      p->DrawCaptionButton(bar, dc, r, TdxBarMarkState::Hot);
      p->DrawCaptionCloseButton(bar, dc, r, TdxBarMarkState::Pressed);
      p->DrawCaptionButtonArrow(bar, dc, r);
      p->DrawCaptionMark(bar, dc, r);
      p->DrawMDIButton(bar, dc, r, 0, TdxBarMDIButtonState::Normal);
      p->DrawMark(bar, &canvas, r);
      p->DrawMarkBackground(bar, dc, r, p->GetBackgroundBrush(bar));
      p->DrawMarkContent(bar, dc, r);
      p->DrawMarkChevron(bar, dc, 4, 4, false);
      p->DrawSelectionFrame(&item, dc, r);
      p->DrawSizeGrip(dc, r);
      p->DrawFloatingSizeGrip(bar, dc, r);
      p->DrawStatusBarTopIndent(bar, dc, r);
      p->DrawDockingAreaBackground(nullptr, dc, r);
      p->DrawMenuFrame(bar, dc, r);
      p->DrawMenuBackground(bar, dc, r, p->GetMenuBorderBrush(bar));
      p->FillMenuBackground(bar, dc, r, p->GetBackgroundBrush(bar));
      p->DrawMenuItemBackground(&params, r);
      p->DrawDetachStrip(bar, dc, r, true);
      p->DrawMenuSeparator(bar, &canvas, r, &item);
      p->DrawMenuSeparatorLine(&canvas, r);
      p->DrawScrollButton(bar, &canvas, true);
      p->DrawScrollButtonFrame(bar, &canvas, r);
      p->DrawScrollArrow(&canvas, r, false);
      p->DrawExpandButton(bar, &canvas, r, true);
      p->DrawExpandChevrons(dc, r, 3, false);
      p->DrawGlyphAndCaption(&params, r);
      p->PrepareGlyphAndCaption(&params, r);
      p->DrawComboButton(&params, r);
      t = r;
      p->DrawComboButtonFrame(&params, t);
      p->DrawComboArrow(&params, dc, r);
      p->DrawEditControl(&params, r);
      t = r;
      p->DrawEditBorder(&params, t);
      p->DrawEditCaption(&params, r);
      p->DrawEditCaptionText(&params, r);
      p->DrawEditGlyph(&params, r);
      p->DrawEditText(&item, &canvas, r);
      p->DrawComboItem(&item, &canvas, -1, r);
      p->DrawWindowItemText(&item, &canvas, r);
      p->DrawSpinButtons(&params, r);
      p->DrawSpinButton(&params, 1, r);
      t = r;
      p->DrawSpinButtonBackground(&params, 2, t);
      p->DrawSpinArrow(dc, r, true, false, false);
      p->DrawSpinBackground(&params, r);
      p->DrawColorSample(&params, r, clRed);
      p->DrawDateNavigatorButton(dc, r, L"Today", true, false);
      p->DrawProgressBar(&params, r, p->GetProgressBarColor());
      p->DrawProgressBackground(&params, r);
      p->FillProgressRect(dc, r, p->GetHighlightBrush(bar));
      p->DrawInPlaceSubItemControl(&params, r);
      t = r;
      p->DrawInPlaceSubItemBackground(&params, t);
      p->DrawInPlaceSubItemArrow(&params, r);
      p->DrawStaticContent(&params, r);
      t = r;
      p->DrawStaticBorder(&params, t, sbsBump);
      p->DrawSeparatorControl(&params, r);
      p->DrawSeparatorText(&params, r);
      p->DrawStaticControl(&params, r);
      p->DrawPushButton(dc, r, round % 2 == 0, L"OK", true);
      p->DrawPushButtonText(dc, r, false, L"OK", false);
      p->DrawContainerContent(&params, r);
      p->DrawDropDownBorder(nullptr, dc, r);
      (void)p->GetDetachStripHeight(bar);
      (void)p->GetTextHeight(&canvas);
    }
  }
  EXPECT_EQ(GdiObjectsInUse(), before);
  for (int index : {COLOR_BTNFACE, COLOR_HIGHLIGHT, COLOR_BTNSHADOW, COLOR_WINDOW})
    EXPECT_TRUE(IsSystemBrushAlive(index)) << index;
  EXPECT_EQ(GetObjectType(dxBarCheckerBrush()), DWORD(OBJ_BRUSH));
  // The DC's own objects are the DIB's and the stock ones: nothing was left selected.
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), HGDIOBJ(dib.Bitmap()));
}
