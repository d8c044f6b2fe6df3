// What the base painter draws in a menu's gaps: the group separator's background, probed in a
// 32-bit DIB.
#include "PainterTestUtil.h"

#include "platform/Scope.h"

TEST(MenuGaps, SeparatorTakesTheItemsBrushUnlessTheItemIsActive)
{
  TPainterHost host;
  TTestBarControl* menu = new TTestBarControl(host.Manager);
  menu->BarKind = bkMenu;
  TTestItemControl item(menu);
  const COLORREF own = RGB(10, 200, 30);
  HBRUSH brush = CreateSolidBrush(own);
  TFinally release([&] { DeleteObject(brush); });
  item.Brush = brush;
  item.OwnBrush = true;
  TdxBarPainter painter;
  TCanvas plain;
  TcxCanvas canvas(&plain);
  const TRect r = Rect(0, 0, 30, 10);
  // The rows above and below the etched line in the middle.
  RECT topRows{0, 0, 30, 3};
  RECT bottomRows{0, 7, 30, 10};

  TDib32 idle(30, 10, RGB(1, 2, 3));
  plain.SetHandle(idle.DC());
  painter.DrawMenuSeparator(menu, &canvas, r, &item);
  plain.SetHandle(nullptr);
  EXPECT_EQ(CountPixelsNear(idle, topRows, own, 0), 30 * 3) << "a run of its own colour starts at the gap";
  EXPECT_EQ(CountPixelsNear(idle, bottomRows, own, 0), 30 * 3);

  item.Active = true;
  TDib32 active(30, 10, RGB(1, 2, 3));
  plain.SetHandle(active.DC());
  painter.DrawMenuSeparator(menu, &canvas, r, &item);
  plain.SetHandle(nullptr);
  EXPECT_EQ(CountPixelsNear(active, topRows, SysRGB(COLOR_BTNFACE), 0), 30 * 3) << "the menu's own background";
  EXPECT_EQ(CountPixelsNear(active, topRows, own, 0), 0);
}
