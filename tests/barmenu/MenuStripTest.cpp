// The tear-off strip of a detachable menu when the pointer is over it, as the screen shows
// it in the looks that frame the strip differently.
#include "MenuTestUtil.h"

#include "bars/painters/painter.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

TEST_F(TMenuFixture, HotTearOffStripStaysInsideItsFrame)
{
  ShowForm();
  FillMenu(MenuHost, 3);
  TdxBar* floating = Manager->GetBars()->Add();
  floating->SetVisible(false);
  MenuHost->DetachingBar = floating;
  for (TdxBarManagerStyle style : {bmsStandard, bmsFlat}) {
    SCOPED_TRACE(int(style));
    Manager->SetStyle(style);
    TdxBarSubMenuControl* menu = Open();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->IsDetachable());
    const TRect hit = menu->ClientToScreen(menu->GetDetachStripRect());
    ASSERT_TRUE(MoveMouseTo(POINT{(hit.left + hit.right) / 2, (hit.top + hit.bottom) / 2}));
    PumpUntil([&] { return menu->IsOverDetachStrip(); });
    ASSERT_TRUE(menu->IsOverDetachStrip());
    RedrawWindow(menu->GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
    RECT w{};
    GetWindowRect(menu->GetHandle(), &w);
    TDib32 shot = CaptureScreen(w);
    SaveShotOnRequest(shot, "menu-strip-hot");
    const TRect strip =
        Manager->GetPainter()->GetDetachStripBounds(menu, Rect(0, 0, w.right - w.left, w.bottom - w.top));
    ASSERT_FALSE(IsRectEmpty(&strip));
    const int midY = (strip.top + strip.bottom) / 2;
    const COLORREF beside = shot.Pixel(strip.left - 1, midY);
    const COLORREF above = shot.Pixel((strip.left + strip.right) / 2, strip.top - 1);
    if (style == bmsStandard) {
      // The face-coloured ring around the strip survives the hot state.
      EXPECT_TRUE(ColorNear(beside, GetSysColor(COLOR_BTNFACE), 2)) << ColorText(beside);
      EXPECT_TRUE(ColorNear(above, GetSysColor(COLOR_BTNFACE), 2)) << ColorText(above);
      const COLORREF inside = shot.Pixel((strip.left + strip.right) / 2, midY);
      EXPECT_TRUE(ColorNear(inside, GetSysColor(COLOR_ACTIVECAPTION), 2) ||
                  ColorNear(inside, GetSysColor(COLOR_INACTIVECAPTION), 2))
          << ColorText(inside);
    } else {
      // The side bars keep the window colour; the hot strip lies between them.
      EXPECT_TRUE(ColorNear(beside, GetSysColor(COLOR_WINDOW), 2)) << ColorText(beside);
      EXPECT_FALSE(ColorNear(shot.Pixel(strip.left + 2, midY), GetSysColor(COLOR_WINDOW), 2));
    }
    menu->Close();
    PumpPending();
    MoveAway();
  }
}
