// The base painter's menu drawing, read back from a bitmap: the frame and the tear-off strip,
// the background of a detachable menu, the scroll arrows and the expand chevrons.
#include "MenuTestUtil.h"

#include "bars/painter.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Canvas.h"
#include "support/Pixels.h"

namespace {

// A menu as the painter reads it, without a window.
class TMenuPaintBar : public TCustomdxBarControl {
  DECLARE_CLASS(TMenuPaintBar, TCustomdxBarControl)
public:
  explicit TMenuPaintBar(TComponent* AOwner) : TCustomdxBarControl(AOwner) {}
  TdxBarControlKind GetKind() const override { return bckSubMenu; }
  bool IsDetachable() const override { return Detachable; }
  bool IsActive() const override { return true; }
  int GetTextHeight() const override { return 19; }
  TRect GetItemArea() const override { return ItemArea; }
  bool Detachable = false;
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

TEST_F(TBasePainterMenu, FrameIsFaceAtTheLeftAndTopAndARaisedEdgeAtTheRightAndBottom)
{
  for (bool detachable : {false, true}) {
    Menu->Detachable = detachable;
    TDib32 dib(100, 100, RGB(1, 2, 3));
    Painter.DrawMenuFrame(Menu, dib.DC(), TRect{0, 0, 100, 100});
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_TRUE(ColorNear(dib.Pixel(0, 50), face, 0));
    EXPECT_TRUE(ColorNear(dib.Pixel(50, 0), face, 0));
    EXPECT_TRUE(ColorNear(dib.Pixel(99, 50), GetSysColor(COLOR_3DDKSHADOW), 0));
    EXPECT_TRUE(ColorNear(dib.Pixel(50, 99), GetSysColor(COLOR_3DDKSHADOW), 0));
    // The strip below the top shows the active caption colour only on a detachable menu.
    const int strip = Painter.GetDetachStripHeight(Menu);
    const bool caption = ColorNear(dib.Pixel(50, 3 + strip / 2), GetSysColor(COLOR_ACTIVECAPTION), 0);
    EXPECT_EQ(caption, detachable);
  }
}

TEST_F(TBasePainterMenu, ADetachableMenusBackgroundStartsTwoPixelsHigher)
{
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  for (bool detachable : {false, true}) {
    Menu->Detachable = detachable;
    TDib32 dib(100, 100, RGB(1, 2, 3));
    Painter.DrawMenuBackground(Menu, dib.DC(), TRect{0, 2, 100, 100}, dxBarSysColorBrush(COLOR_BTNFACE));
    // The raised inner edge's light top line lies at the rectangle's top, or two above it.
    EXPECT_EQ(ColorNear(dib.Pixel(50, 0), light, 0), detachable);
    EXPECT_EQ(ColorNear(dib.Pixel(50, 2), light, 0), !detachable);
    EXPECT_TRUE(ColorNear(dib.Pixel(50, 50), GetSysColor(COLOR_BTNFACE), 0));
  }
}

TEST_F(TBasePainterMenu, ScrollArrowsAreSymmetricTrianglesPointingTheirWay)
{
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);
  for (bool down : {false, true}) {
    TDib32 dib(100, 100, RGB(255, 255, 255));
    TCanvas canvas;
    canvas.SetHandle(dib.DC());
    TcxCanvas cx(&canvas);
    Painter.DrawScrollButton(Menu, &cx, down);
    const TRect r = Painter.GetScrollButtonRect(Menu, Menu->ItemArea, down);
    int previous = -1, rows = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      int left = -1, right = -1;
      for (int x = r.left; x < r.right; ++x)
        if (ColorNear(dib.Pixel(x, y), text, 0)) {
          if (left < 0)
            left = x;
          right = x;
        }
      if (left < 0)
        continue;
      ++rows;
      const int width = right - left + 1;
      EXPECT_EQ(width % 2, 1) << "row " << y << " is symmetric";
      EXPECT_EQ((left + right) / 2, (r.left + r.right) / 2) << "centred";
      if (previous >= 0)
        EXPECT_EQ(width, down ? previous - 2 : previous + 2);
      previous = width;
    }
    EXPECT_EQ(rows, Painter.GetScrollArrowSize(RectHeight(r)));
    canvas.SetHandle(nullptr);
  }
}

TEST_F(TBasePainterMenu, ExpandButtonShowsTwoChevronsOfVLinesCentred)
{
  const TRect r{0, 0, 60, Painter.GetMenuButtonHeight()};
  TDib32 dib(60, RectHeight(r), RGB(255, 255, 255));
  TCanvas canvas;
  canvas.SetHandle(dib.DC());
  TcxCanvas cx(&canvas);
  Painter.DrawExpandButton(Menu, &cx, r, false);
  canvas.SetHandle(nullptr);
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);
  // The middle column crosses each V line once: two runs of ASize lines, one per chevron,
  // as far from the top as from the bottom.
  std::vector<std::pair<int, int>> runs;  // first row, length
  for (int y = 0; y < RectHeight(r); ++y)
    if (ColorNear(dib.Pixel(30, y), text, 0)) {
      if (!runs.empty() && runs.back().first + runs.back().second == y)
        ++runs.back().second;
      else
        runs.push_back({y, 1});
    }
  const int size = Painter.GetExpandChevronSize(Menu);
  ASSERT_EQ(runs.size(), 2u) << "two chevrons";
  EXPECT_EQ(runs[0].second, size);
  EXPECT_EQ(runs[1].second, size);
  // Left and right arms mirror each other.
  for (int y = 0; y < RectHeight(r); ++y)
    for (int d = 1; d < 10; ++d)
      EXPECT_EQ(ColorNear(dib.Pixel(30 - d, y), text, 0), ColorNear(dib.Pixel(30 + d, y), text, 0)) << d << "," << y;
}

}  // namespace
