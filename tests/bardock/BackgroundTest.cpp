// The dock site's background: its own bitmap tiled from its client origin, the manager's
// bar background bitmap, otherwise its colour; continued through rectangles that toolbars
// ask for; and what the site shows on the screen.
#include "DockTestUtil.h"

#include "support/Pixels.h"

namespace {

// 8 x 8: the left half red, the right half blue.
std::unique_ptr<TBitmap> HalfAndHalf(TColor ALeft = clRed, TColor ARight = clBlue)
{
  auto bitmap = std::make_unique<TBitmap>(8, 8);
  bitmap->GetCanvas()->GetBrush()->SetColor(ALeft);
  bitmap->GetCanvas()->FillRect(Rect(0, 0, 4, 8));
  bitmap->GetCanvas()->GetBrush()->SetColor(ARight);
  bitmap->GetCanvas()->FillRect(Rect(4, 0, 8, 8));
  return bitmap;
}

class DockBackground : public testing::Test {
protected:
  void SetUp() override
  {
    Host.Form()->SetBounds(60, 60, 300, 200);
    Dock = new TFixedSizeDock(Host.Form());
    Dock->SetParent(Host.Form());
    Dock->SetBarManager(Host.Manager);
  }

  TBarHost<TDockTestForm> Host;
  TFixedSizeDock* Dock = nullptr;
};

}  // namespace

TEST_F(DockBackground, OwnBitmapTilesFromTheClientOrigin)
{
  auto bitmap = HalfAndHalf();
  Dock->SetBackgroundBitmap(bitmap.get());
  ASSERT_TRUE(Dock->HasBackgroundBitmap());
  TDib32 dib(16, 8);
  // The site's client rectangle drawn at the picture's origin.
  Dock->FillBackground(dib.DC(), Rect(0, 0, 16, 8));
  EXPECT_TRUE(ColorNear(dib.Pixel(1, 2), RGB(255, 0, 0)));
  EXPECT_TRUE(ColorNear(dib.Pixel(5, 2), RGB(0, 0, 255)));
  EXPECT_TRUE(ColorNear(dib.Pixel(9, 2), RGB(255, 0, 0)));
  EXPECT_TRUE(ColorNear(dib.Pixel(13, 2), RGB(0, 0, 255)));

  // A toolbar at x = 6 of the site asks for its own part: the tiles run on without a seam.
  dib.Fill(RGB(255, 255, 255));
  Dock->FillBackground(dib.DC(), Rect(0, 0, 16, 8), Rect(6, 0, 22, 8));
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), RGB(0, 0, 255)));  // site x 6
  EXPECT_TRUE(ColorNear(dib.Pixel(2, 0), RGB(255, 0, 0)));  // site x 8
  EXPECT_TRUE(ColorNear(dib.Pixel(6, 0), RGB(0, 0, 255)));  // site x 12
}

TEST_F(DockBackground, ManagerBitmapIsTheFallbackThenTheColour)
{
  auto managers = HalfAndHalf(clLime, clYellow);
  Host.Manager->GetBackgrounds()->SetBar(managers.get());
  TDib32 dib(8, 4);
  Dock->FillBackground(dib.DC(), Rect(0, 0, 8, 4));
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), RGB(0, 255, 0)));
  EXPECT_TRUE(ColorNear(dib.Pixel(7, 0), RGB(255, 255, 0)));
  EXPECT_TRUE(Dock->NeedsFullRepaint());

  // The site's own bitmap wins over the manager's.
  auto own = HalfAndHalf();
  Dock->SetBackgroundBitmap(own.get());
  Dock->FillBackground(dib.DC(), Rect(0, 0, 8, 4));
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), RGB(255, 0, 0)));

  // Neither: the site's colour (the manager's dock colour).
  Dock->GetBackgroundBitmap()->Assign(nullptr);
  Host.Manager->GetBackgrounds()->GetBar()->Assign(nullptr);
  EXPECT_FALSE(Dock->HasBackgroundBitmap());
  Host.Manager->SetDockColor(TColor(RGB(10, 120, 200)));
  dib.Fill(RGB(255, 255, 255));
  Dock->FillBackground(dib.DC(), Rect(2, 1, 6, 3));
  EXPECT_TRUE(ColorNear(dib.Pixel(3, 2), RGB(10, 120, 200)));
  EXPECT_TRUE(ColorNear(dib.Pixel(0, 0), RGB(255, 255, 255)));  // outside the rectangle
}

TEST_F(DockBackground, BitmapMakesTheSiteDoubleBufferedAndFullyRepainted)
{
  EXPECT_FALSE(Dock->GetDoubleBuffered());
  auto bitmap = HalfAndHalf();
  Dock->SetBackgroundBitmap(bitmap.get());
  EXPECT_TRUE(Dock->NeedsFullRepaint());
  EXPECT_TRUE(Dock->GetDoubleBuffered());
  Dock->GetBackgroundBitmap()->Assign(nullptr);
  EXPECT_FALSE(Dock->GetDoubleBuffered());
}

TEST_F(DockBackground, TheSiteOnTheScreenShowsItsTiles)
{
  // A bar keeps the site open; the probe reads the free space right of it.
  TdxBar* bar = Host.Manager->GetBars()->Add();
  Dock->Sizes[bar] = {40, 60, 24};
  bar->SetDockControl(Dock);
  bar->SetVisible(true);
  auto bitmap = HalfAndHalf();
  Dock->SetBackgroundBitmap(bitmap.get());
  Host.Form()->Show();
  PumpPending();
  RedrawWindow(Dock->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PumpPending();
  ASSERT_EQ(Dock->GetHeight(), 24);
  HDC screen = GetDC(nullptr);
  TPoint red = Dock->ClientToScreen(TPoint{161, 10});  // 160 is a tile start
  TPoint blue = Dock->ClientToScreen(TPoint{166, 10});
  COLORREF redPixel = GetPixel(screen, red.x, red.y);
  COLORREF bluePixel = GetPixel(screen, blue.x, blue.y);
  ReleaseDC(nullptr, screen);
  EXPECT_TRUE(ColorNear(redPixel, RGB(255, 0, 0)));
  EXPECT_TRUE(ColorNear(bluePixel, RGB(0, 0, 255)));
}
