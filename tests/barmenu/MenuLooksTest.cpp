// An open menu in each of the five looks, read back from the screen: the selected entry
// stays readable, group separators show, and the one-pixel frames run round all four sides.
#include "MenuTestUtil.h"

#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "bars/barwindows/shadow.h"
#include "lookandfeel/dxOffice11.h"
#include "platform/Scope.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

struct TLook {
  TdxBarManagerStyle Style;
  const char* Name;
};
constexpr TLook Looks[] = {
    {bmsStandard, "standard"}, {bmsEnhanced, "enhanced"}, {bmsFlat, "flat"}, {bmsXP, "xp"}, {bmsOffice11, "office11"}};

int Luma(COLORREF C)
{
  return (299 * GetRValue(C) + 587 * GetGValue(C) + 114 * GetBValue(C)) / 1000;
}

class TMenuLooks : public TMenuFixture {
protected:
  // "Open", then a group of "Checked" (down), "Disabled" and "Plain".
  TdxBarSubMenuControl* OpenSampleMenu(TdxBarManagerStyle AStyle)
  {
    Manager->SetStyle(AStyle);
    PumpPending();
    TdxBarSubMenuControl* menu = Open();
    if (menu)
      UpdateWindow(menu->GetHandle());
    PumpPending();
    return menu;
  }

  void SetUp() override
  {
    TMenuFixture::SetUp();
    struct TEntry {
      const wchar_t* Caption;
      bool BeginGroup, Down, Enabled;
    } entries[] = {{L"Open", false, false, true},
                   {L"Checked", true, true, true},
                   {L"Disabled", false, false, false},
                   {L"Plain", false, false, true}};
    for (const TEntry& e : entries) {
      auto* button = new TdxBarButton(Host.Form());
      button->SetCaption(e.Caption);
      if (e.Down) {
        button->SetButtonStyle(bsChecked);
        button->SetDown(true);
      }
      button->SetEnabled(e.Enabled);
      MenuHost->Links()->AddItem(button)->SetBeginGroup(e.BeginGroup);
    }
    ShowForm();
  }

  TDib32 Shot(TdxBarSubMenuControl* AMenu, const char* AName)
  {
    RECT r{};
    GetWindowRect(AMenu->GetHandle(), &r);
    Origin = TPoint{r.left, r.top};
    TDib32 dib = CaptureScreen(r);
    SaveShotOnRequest(dib, AName);
    return dib;
  }

  // An item's rectangle in the picture.
  TRect InShot(TdxBarItemControl* AControl) { return OffsetRect(ScreenRectOf(AControl), -Origin.x, -Origin.y); }

  TPoint Origin{};
};

TEST_F(TMenuLooks, TheSelectedEntryReadsAgainstItsHighlightInEveryLook)
{
  for (const TLook& look : Looks) {
    SCOPED_TRACE(look.Name);
    TdxBarSubMenuControl* menu = OpenSampleMenu(look.Style);
    ASSERT_NE(menu, nullptr);
    for (int index : {0, 1}) {
      TdxBarItemControl* item = ItemOf(menu, index);
      static_cast<TCustomdxBarControl*>(menu)->SetSelectedControl(item);
      UpdateWindow(menu->GetHandle());
      PumpPending();
      const TDib32 dib = Shot(menu, (std::string("menu-selected-") + look.Name).c_str());
      const TRect r = InShot(item);
      // The caption starts right of the glyph column; the entry's far end holds no text.
      const int captionLeft = r.left + menu->GetTextHeight() + 4;
      const COLORREF background = dib.Pixel(r.right - 6, (r.top + r.bottom) / 2);
      const int readable = CountPixels(dib, RECT{captionLeft, r.top + 2, (r.left + r.right) / 2, r.bottom - 2},
                                       [&](COLORREF c) { return std::abs(Luma(c) - Luma(background)) >= 90; });
      EXPECT_GE(readable, 12) << "entry " << index << " on " << ColorText(background);
      // The highlight covers the whole entry, not only its glyph column.
      if (index == 0) {
        EXPECT_FALSE(ColorNear(background, dib.Pixel(2, r.top - 2), 12)) << "the selection does not reach the end";
      }
    }
    menu->Close();
    PumpPending();
  }
}

TEST_F(TMenuLooks, GroupSeparatorsAndFramesShowInEveryLook)
{
  for (const TLook& look : Looks) {
    SCOPED_TRACE(look.Name);
    TdxBarSubMenuControl* menu = OpenSampleMenu(look.Style);
    ASSERT_NE(menu, nullptr);
    const TDib32 dib = Shot(menu, (std::string("menu-") + look.Name).c_str());
    const TRect first = InShot(ItemOf(menu, 0));
    const TRect second = InShot(ItemOf(menu, 1));
    ASSERT_LT(first.bottom, second.top) << "no room for the separator";
    // Some row of the gap, right of the glyph column, is a line across most of the menu.
    const COLORREF background = dib.Pixel(first.right - 3, first.bottom);
    const int lineLeft = first.left + menu->GetTextHeight() + 16;
    bool line = false;
    for (int y = first.bottom; y < second.top; ++y) {
      const int width = first.right - 4 - lineLeft;
      const int drawn = CountPixels(dib, RECT{lineLeft, y, first.right - 4, y + 1},
                                    [&](COLORREF c) { return ColorDistance(c, background) >= 24; });
      line |= width > 0 && drawn * 2 > width;
    }
    EXPECT_TRUE(line) << "no separator line on " << ColorText(background);
    // Looks with one-pixel frames show them on all four sides against the menu's fill.
    if (look.Style == bmsFlat || look.Style == bmsXP || look.Style == bmsOffice11) {
      const int w = dib.Width(), h = dib.Height();
      const TRect plain = InShot(ItemOf(menu, 3));
      const COLORREF fill = dib.Pixel(plain.right - 6, (plain.top + plain.bottom) / 2);
      const COLORREF sides[4] = {dib.Pixel(0, h / 2), dib.Pixel(w / 2, 0), dib.Pixel(w - 1, h / 2),
                                 dib.Pixel(w / 2, h - 1)};
      for (int side = 0; side < 4; ++side)
        EXPECT_GE(ColorDistance(sides[side], fill), 40)
            << "side " << side << ": " << ColorText(sides[side]) << " against " << ColorText(fill);
    }
    // The raised three-dimensional frame is lit at the left and the top, all through its
    // width: no ring of it is left unpainted.
    if (look.Style == bmsStandard || look.Style == bmsEnhanced) {
      const int face = Luma(GetSysColor(COLOR_BTNFACE));
      const int width = menu->GetPainter()->GetMenuBorderSize() + 1;
      for (int i = 0; i < width; ++i) {
        EXPECT_GE(Luma(dib.Pixel(i, dib.Height() / 2)), face - 8) << "left ring " << i;
        EXPECT_GE(Luma(dib.Pixel(dib.Width() / 2, i)), face - 8) << "top ring " << i;
      }
    }
    menu->Close();
    PumpPending();
  }
}

// In the gradient look a menu joins the button it drops from: no border runs between them,
// while the rest of its top edge is framed.
TEST_F(TMenuLooks, AGradientMenuJoinsItsButton)
{
  TdxBarShadowSettingQuery saved = SetdxBarShadowSettingQuery([] { return true; });
  TFinally restore([&] { SetdxBarShadowSettingQuery(saved); });
  TdxBarSubMenuControl* menu = OpenSampleMenu(bmsOffice11);
  ASSERT_NE(menu, nullptr);
  const TDib32 dib = Shot(menu, "menu-join-office11");
  const TRect button = OffsetRect(ScreenRectOf(ControlOf<TdxBarButtonControl>(MenuButton)), -Origin.x, -Origin.y);
  ASSERT_EQ(button.bottom, 0) << "the menu opens right below its button";
  ASSERT_GT(dib.Width(), button.right + 4);
  const COLORREF border = ColorToRGB(dxOffice11Colors().MenuBorderColor);
  const int under = (button.left + button.right) / 2;
  for (int y : {0, 1}) {
    EXPECT_FALSE(ColorNear(dib.Pixel(under, y), border, 4)) << "row " << y << " under the button";
    EXPECT_TRUE(ColorNear(dib.Pixel(dib.Width() - 3, y), border, 4)) << "row " << y << " beyond the button";
  }
  // Its shadow leaves the button alone and continues the button's right edge.
  ASSERT_NE(menu->GetShadow(), nullptr);
  EXPECT_EQ(menu->GetShadow()->GetOwnerRect(), ScreenRectOf(ControlOf<TdxBarButtonControl>(MenuButton)));
}

// A checked entry with a glyph looks checked in every look: its glyph column differs from
// that of the same entry unchecked.
TEST_F(TMenuLooks, ACheckedEntryWithAGlyphShowsItsState)
{
  auto* button = new TdxBarButton(Host.Form());
  button->SetCaption(L"Ruler");
  button->SetButtonStyle(bsChecked);
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(16, 16);
  // The corner pixel's colour is the glyph's transparent one.
  glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  glyph.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
  glyph.GetCanvas()->GetBrush()->SetColor(TColor(RGB(40, 160, 60)));
  glyph.GetCanvas()->FillRect(Rect(2, 2, 14, 14));
  button->SetGlyph(&glyph);
  MenuHost->Links()->AddItem(button);
  for (const TLook& look : Looks) {
    SCOPED_TRACE(look.Name);
    TDib32 shots[2];
    TRect cell{};
    for (bool down : {false, true}) {
      button->SetDown(down);
      TdxBarSubMenuControl* menu = OpenSampleMenu(look.Style);
      ASSERT_NE(menu, nullptr);
      static_cast<TCustomdxBarControl*>(menu)->SetSelectedControl(ItemOf(menu, 0));
      UpdateWindow(menu->GetHandle());
      PumpPending();
      shots[down] = Shot(menu, (std::string("menu-glyph-") + look.Name + (down ? "-down" : "")).c_str());
      const TRect r = InShot(ItemOf(menu, 4));
      cell = Rect(r.left, r.top, r.left + menu->GetGlyphColumnWidth(), r.bottom);
      menu->Close();
      PumpPending();
    }
    ASSERT_FALSE(IsRectEmpty(cell));
    // Around the glyph, not the glyph itself (a look may fade idle glyphs).
    int changed = 0;
    for (int y = cell.top; y < cell.bottom; ++y)
      for (int x = cell.left; x < cell.right; ++x) {
        const bool ring = x < cell.left + 3 || x >= cell.right - 3 || y < cell.top + 3 || y >= cell.bottom - 3;
        changed += ring && ColorDistance(shots[0].Pixel(x, y), shots[1].Pixel(x, y)) > 16;
      }
    EXPECT_GT(changed, 8) << "the checked glyph looks unchecked";
  }
}

}  // namespace
