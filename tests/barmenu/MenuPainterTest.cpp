// The base painter's menu drawing, read back from a bitmap: the frame and the tear-off strip,
// the background of a detachable menu, the scroll arrows and the expand chevrons.
#include "MenuTestUtil.h"

#include "bars/painters/painter.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Canvas.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

// A menu as the painter reads it, without a window.
class TMenuPaintBar : public TCustomdxBarControl {
  DECLARE_CLASS(TMenuPaintBar, TCustomdxBarControl)
public:
  explicit TMenuPaintBar(TComponent* AOwner) : TCustomdxBarControl(AOwner) {}
  TdxBarControlKind GetKind() const override { return bckSubMenu; }
  bool IsActive() const override { return true; }
  int GetTextHeight() const override { return 19; }
  TRect GetItemArea() const override { return ItemArea; }
  TRect ItemArea{2, 2, 98, 98};
};
IMPLEMENT_CLASS(TMenuPaintBar, TCustomdxBarControl)

class TBasePainterMenu : public TMenuFixture {
protected:
  void SetUp() override
  {
    TMenuFixture::SetUp();
    Menu = new TMenuPaintBar(Manager);
    Menu->SetFont(Manager->GetFont());
  }
  void TearDown() override
  {
    Menu->Free();
    TMenuFixture::TearDown();
  }
  TdxBarPainter Painter;
  TMenuPaintBar* Menu = nullptr;
};

// Real menus: one that can be torn off into a bar draws its strip and starts its background
// higher.
TEST_F(TBasePainterMenu, FrameAndBackgroundOfMenusThatCanAndCannotBeTornOff)
{
  ShowForm();
  FillMenu(MenuHost, 2);
  TdxBar* tearOff = Manager->GetBars()->Add();
  for (bool detachable : {false, true}) {
    SCOPED_TRACE(detachable);
    MenuHost->DetachingBar = detachable ? tearOff : nullptr;
    TdxBarSubMenuControl* menu = Open();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->IsDetachable(), detachable);
    TDib32 dib(100, 100, RGB(1, 2, 3));
    Painter.DrawMenuFrame(menu, dib.DC(), TRect{0, 0, 100, 100});
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_TRUE(ColorNear(dib.Pixel(0, 50), face, 0));
    EXPECT_TRUE(ColorNear(dib.Pixel(50, 0), face, 0));
    EXPECT_TRUE(ColorNear(dib.Pixel(99, 50), GetSysColor(COLOR_3DDKSHADOW), 0));
    EXPECT_TRUE(ColorNear(dib.Pixel(50, 99), GetSysColor(COLOR_3DDKSHADOW), 0));
    // The strip below the top shows the active caption colour only on a detachable menu.
    const int strip = Painter.GetDetachStripHeight(menu);
    const bool caption = ColorNear(dib.Pixel(50, 3 + strip / 2), GetSysColor(COLOR_ACTIVECAPTION), 0);
    EXPECT_EQ(caption, detachable);

    // The raised inner edge's light top line lies at the rectangle's top, or two above it.
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    TDib32 back(100, 100, RGB(1, 2, 3));
    Painter.DrawMenuBackground(menu, back.DC(), TRect{0, 2, 100, 100}, dxBarSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(ColorNear(back.Pixel(50, 0), light, 0), detachable);
    EXPECT_EQ(ColorNear(back.Pixel(50, 2), light, 0), !detachable);
    EXPECT_TRUE(ColorNear(back.Pixel(50, 50), GetSysColor(COLOR_BTNFACE), 0));
    menu->Close();
    PumpPending();
  }
}

// The dark pixels of a column or row of a picture, as runs: (first, length).
std::vector<std::pair<int, int>> DarkRuns(const TDib32& ADib, int AFixed, bool AColumn, int AFrom, int ATo)
{
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);
  std::vector<std::pair<int, int>> runs;
  for (int i = AFrom; i < ATo; ++i)
    if (ColorNear(AColumn ? ADib.Pixel(AFixed, i) : ADib.Pixel(i, AFixed), text, 0)) {
      if (!runs.empty() && runs.back().first + runs.back().second == i)
        ++runs.back().second;
      else
        runs.push_back({i, 1});
    }
  return runs;
}

TEST_F(TBasePainterMenu, ScrollArrowsAndExpandChevronsAreCentredAndSymmetric)
{
  for (bool down : {false, true}) {
    TDib32 dib(100, 100, RGB(255, 255, 255));
    TCanvas canvas;
    canvas.SetHandle(dib.DC());
    TcxCanvas cx(&canvas);
    Painter.DrawScrollButton(Menu, &cx, down);
    canvas.SetHandle(nullptr);
    // Each row of the triangle is odd and centred, one pixel wider each side towards its base.
    const TRect r = Painter.GetScrollButtonRect(Menu, Menu->ItemArea, down);
    std::vector<int> widths;
    for (int y = r.top; y < r.bottom; ++y)
      for (auto [left, width] : DarkRuns(dib, y, false, r.left, r.right)) {
        EXPECT_EQ(left + width / 2, (r.left + r.right) / 2) << y;
        widths.push_back(width);
      }
    ASSERT_EQ(int(widths.size()), Painter.GetScrollArrowSize(RectHeight(r)));
    for (size_t i = 1; i < widths.size(); ++i)
      EXPECT_EQ(widths[i], widths[i - 1] + (down ? -2 : 2));
  }
  const TRect r{0, 0, 60, Painter.GetMenuButtonHeight()};
  TDib32 dib(60, RectHeight(r), RGB(255, 255, 255));
  TCanvas canvas;
  canvas.SetHandle(dib.DC());
  TcxCanvas cx(&canvas);
  Painter.DrawExpandButton(Menu, &cx, r, false);
  canvas.SetHandle(nullptr);
  // The middle column crosses each V line once: two chevrons of ASize lines, and every row
  // mirrors around the middle.
  const int size = Painter.GetExpandChevronSize(Menu);
  const auto runs = DarkRuns(dib, 30, true, 0, RectHeight(r));
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].second, size);
  EXPECT_EQ(runs[1].second, size);
  for (int y = 0; y < RectHeight(r); ++y)
    for (auto [left, width] : DarkRuns(dib, y, false, 0, 60))
      EXPECT_FALSE(DarkRuns(dib, y, false, 61 - left - width, 61 - left).empty()) << y;
}

}  // namespace
