// Bar backgrounds on the screen in every look: a bar's own bitmap tiled from its window's
// origin, and a dock site's bitmap running on through a docked bar of the default colour.
#include "SceneTestUtil.h"

#include "bars/model/backgrounds.h"

namespace {

constexpr int StripeCount = 16;

// Column I of the stripes; every column a colour of its own so a probe tells where the tiling
// started.
COLORREF StripeColour(int I)
{
  return RGB(I * 16, 200 - I * 8, 255 - I * 16);
}

std::unique_ptr<TBitmap> Stripes()
{
  auto bitmap = std::make_unique<TBitmap>(StripeCount, 4);
  for (int i = 0; i < StripeCount; ++i) {
    bitmap->GetCanvas()->GetBrush()->SetColor(TColor(StripeColour(i)));
    bitmap->GetCanvas()->FillRect(Rect(i, 0, i + 1, 4));
  }
  return bitmap;
}

int Wrap(int X)
{
  return ((X % StripeCount) + StripeCount) % StripeCount;
}

}  // namespace

class TBarBackgroundScene : public TSceneFixture {
protected:
  // The strips at both ends of the toolbar's first separator are background; checks them in a
  // shot against the stripe the tiling puts there, counted from AOrigin (client coordinates).
  void ExpectStripesAtSeparator(const char* AShot, POINT AOrigin, TdxBarManagerStyle AStyle)
  {
    TDib32 shot = Shot(AShot);
    ASSERT_FALSE(Toolbar->GetSeparators().empty());
    TRect sep = Toolbar->GetSeparators()[0].Bounds;
    POINT client{0, 0};
    ClientToScreen(Toolbar->GetHandle(), &client);
    const RECT w = WindowRectOf(Toolbar->GetHandle());
    int y = (sep.top + sep.bottom) / 2;
    for (int x : {sep.left, sep.left + 1, sep.right - 1}) {
      COLORREF seen = shot.Pixel(client.x - w.left + x, client.y - w.top + y);
      EXPECT_TRUE(ColorNear(seen, StripeColour(Wrap(x - AOrigin.x)), 2))
          << "look " << AStyle << ", client x " << x << ": " << ColorText(seen);
    }
  }
  // The same in the four looks that border their bars, the tiling counted from ASite's origin.
  void ExpectSiteStripesInBorderedLooks(const char* AShot, TdxDockControl* ASite)
  {
    for (TdxBarManagerStyle style : {bmsStandard, bmsEnhanced, bmsFlat, bmsXP}) {
      Manager->SetStyle(style);
      PumpPending();
      Toolbar = Docked->GetControl();
      POINT origin{0, 0};
      MapWindowPoints(ASite->GetHandle(), Toolbar->GetHandle(), &origin, 1);
      ExpectStripesAtSeparator(AShot, origin, style);
    }
  }
};

TEST_F(TBarBackgroundScene, OwnBitmapTilesFromTheWindowOriginInEveryLook)
{
  auto bitmap = Stripes();
  Docked->SetBackgroundBitmap(bitmap.get());
  for (TdxBarManagerStyle style : {bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11}) {
    Manager->SetStyle(style);
    PumpPending();
    Toolbar = Docked->GetControl();
    ExpectStripesAtSeparator("background-own", POINT{0, 0}, style);
  }
}

TEST_F(TBarBackgroundScene, DockSiteBitmapRunsOnThroughADefaultColouredBar)
{
  TdxDockControl* site = Manager->GetBars()->GetDockControl(dsTop);
  ASSERT_NE(site, nullptr);
  auto bitmap = Stripes();
  site->SetBackgroundBitmap(bitmap.get());
  // The bar away from the site's origin, so a seam would show as a shifted stripe.
  Docked->SetDockedLeft(13);
  // The gradient look keeps its own toolbar gradient on bordered bars.
  ExpectSiteStripesInBorderedLooks("background-dock", site);
}

TEST_F(TBarBackgroundScene, ManagerBitmapShowsOnDockedBars)
{
  auto bitmap = Stripes();
  Manager->GetBackgrounds()->SetBar(bitmap.get());
  ExpectSiteStripesInBorderedLooks("background-manager", Manager->GetBars()->GetDockControl(dsTop));
}

TEST_F(TBarBackgroundScene, BarColourFillsTheBarInEveryLook)
{
  Docked->SetColor(clRed);
  for (TdxBarManagerStyle style : {bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11}) {
    Manager->SetStyle(style);
    PumpPending();
    Toolbar = Docked->GetControl();
    TDib32 shot = Shot("background-colour");
    ASSERT_FALSE(Toolbar->GetSeparators().empty());
    TRect sep = Toolbar->GetSeparators()[0].Bounds;
    POINT p{sep.left, (sep.top + sep.bottom) / 2};
    ClientToScreen(Toolbar->GetHandle(), &p);
    RECT w{};
    GetWindowRect(Toolbar->GetHandle(), &w);
    EXPECT_TRUE(ColorNear(shot.Pixel(p.x - w.left, p.y - w.top), RGB(255, 0, 0), 2)) << "look " << style;
  }
}
