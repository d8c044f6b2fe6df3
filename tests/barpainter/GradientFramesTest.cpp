// The gradient look's frames around the glyphs of menu items, probed in a 32-bit DIB.
#include "PainterTestUtil.h"

#include "platform/Scope.h"

TEST(GradientFrames, DownUnselectedMenuItemIsFramedInTheGivenBrush)
{
  TPainterHost host;
  TTestBarControl* menu = new TTestBarControl(host.Manager);
  menu->BarKind = bkMenu;
  TTestItemControl item(menu);
  TdxBarItemControlDrawParams params(&item);
  params.BarControlKind = bkMenu;
  params.States.Down = true;
  TdxBarOffice11Painter painter;
  const COLORREF given = RGB(10, 200, 30);
  HBRUSH brush = CreateSolidBrush(given);
  TFinally release([&] { DeleteObject(brush); });
  const TRect r = Rect(2, 2, 22, 20);
  TDib32 dib(24, 24, RGB(1, 2, 3));
  painter.DrawFlatGlyphFrame(&params, dib.DC(), r, brush);
  RECT frame{2, 2, 22, 20};
  RECT inside{3, 3, 21, 19};
  // The whole ring and nothing inside it: a down item of a menu keeps its own background.
  EXPECT_EQ(CountPixelsNear(dib, frame, given, 0) - CountPixelsNear(dib, inside, given, 0), 2 * (20 + 18) - 4);
  EXPECT_EQ(CountPixelsNear(dib, inside, RGB(1, 2, 3), 0), 18 * 16);

  // Selected, the same item takes the look's own frame instead.
  params.PaintedSelected = true;
  TDib32 selected(24, 24, RGB(1, 2, 3));
  painter.DrawFlatGlyphFrame(&params, selected.DC(), r, brush);
  EXPECT_EQ(CountPixelsNear(selected, frame, given, 0), 0);
}
