// The hint window: plain hints measured and placed on the work area, its window kinds,
// clicks passing through it, and the hint it keeps while hidden.
#include "HintTestUtil.h"

#include "lookandfeel/cxControls.h"
#include "support/Owned.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

TOwned<TdxBarHintWindow> MakeWindow()
{
  return TOwned<TdxBarHintWindow>(new TdxBarHintWindow(nullptr));
}

// What is drawn inside the window's one-pixel frame, on screen: the bounds of every pixel
// unlike the paper (empty when nothing is).
RECT InkOf(TdxBarHintWindow* AWindow)
{
  PumpPending();
  RECT bounds;
  GetWindowRect(AWindow->GetHandle(), &bounds);
  TDib32 shot = CaptureScreen(bounds);
  const int width = shot.Width(), height = shot.Height();
  const COLORREF paper = shot.Pixel(width / 2, 1);
  RECT ink{width, height, -1, -1};
  for (int y = 1; y < height - 1; ++y)
    for (int x = 1; x < width - 1; ++x)
      if (ColorDistance(shot.Pixel(x, y), paper) > 64)
        ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x),
               std::max<LONG>(ink.bottom, y)};
  return ink;
}

}  // namespace

TEST(THintWindow, PlainHintIsTheMeasuredTextAndShortcut)
{
  TOwned<TdxBarHintWindow> window = MakeWindow();
  TObject source;
  EXPECT_FALSE(window->ActivateHint(&source, String(), L" (Ctrl+S)"));
  EXPECT_FALSE(window->IsShowing());

  ASSERT_TRUE(window->ActivateHint(&source, L"Save", L" (Ctrl+S)"));
  EXPECT_TRUE(window->IsShowing());
  EXPECT_EQ(window->GetText(), L"Save (Ctrl+S)");
  // All of the text shows: its ink keeps clear of the border on every side.
  const RECT ink = InkOf(window.Get());
  const int width = window->GetWidth(), height = window->GetHeight();
  ASSERT_LE(ink.left, ink.right) << "no text drawn";
  EXPECT_GT(ink.left, 1);
  EXPECT_GT(ink.top, 1);
  EXPECT_LT(ink.right, width - 2);
  EXPECT_LT(ink.bottom, height - 2);
  // The shortcut takes room of its own.
  const int withShortcut = window->GetWidth();
  ASSERT_TRUE(window->ActivateHint(&source, L"Save", String()));
  EXPECT_LT(window->GetWidth(), withShortcut);

  HWND h = window->GetHandle();
  EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_DISABLED);
  EXPECT_EQ(GetWindowLongPtrW(h, GWL_EXSTYLE) & 0xFF, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  EXPECT_EQ(GetClassLongW(h, GCL_STYLE) & CS_DROPSHADOW, 0u);
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

TEST(THintWindow, HiddenWindowKeepsItsHintUntilTheNext)
{
  TOwned<TdxBarHintWindow> window = MakeWindow();
  TObject source;
  ASSERT_TRUE(window->ActivateHint(&source, L"Open", String()));
  TdxBarCustomHintViewInfo* shown = window->GetViewInfo();
  HWND h = window->GetHandle();
  ShowWindow(h, SW_HIDE);
  EXPECT_EQ(window->GetViewInfo(), shown);
  // The system shows a hidden popup again when its owner is restored: the hint is drawn as it was.
  ShowWindow(h, SW_SHOWNA);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const RECT ink = InkOf(window.Get());
  EXPECT_LE(ink.left, ink.right) << "nothing drawn";
  // Switching to screen tips recreates the window, which hides it: the hint stays.
  window->SetScreenTip(true);
  EXPECT_EQ(window->GetViewInfo(), shown);
  window->SetScreenTip(false);
  // The next hint replaces it.
  ASSERT_TRUE(window->ActivateHint(&source, L"Close", String()));
  auto* next = dynamic_cast<TdxBarHintViewInfo*>(window->GetViewInfo());
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->GetText(), L"Close");
}

TEST(THintWindow, StaysOnTheWorkArea)
{
  TOwned<TdxBarHintWindow> window = MakeWindow();
  window->SetBounds(0, 0, 120, 30);
  TRect area = GetMonitorWorkAreaAtPoint(TPoint{10, 10});
  const struct {
    TPoint P;
    TPoint Expected;
  } cases[] = {
      {{area.left + 10, area.top + 10}, {area.left + 10, area.top + 10}},
      {{area.right - 50, area.top + 10}, {area.right - 120, area.top + 10}},
      // Past the bottom: above the point by the height and 20 pixels.
      {{area.left + 10, area.bottom - 10}, {area.left + 10, area.bottom - 10 - 30 - 20}},
      {{area.right - 5, area.bottom - 5}, {area.right - 120, area.bottom - 5 - 30 - 20}},
      {{area.left - 40, area.top - 40}, {area.left, area.top}},
  };
  for (const auto& k : cases) {
    TPoint p = window->AdjustPosition(k.P);
    EXPECT_EQ(p.x, k.Expected.x) << k.P.x << ", " << k.P.y;
    EXPECT_EQ(p.y, k.Expected.y) << k.P.x << ", " << k.P.y;
  }
}
