// The pixel helpers other test areas rely on: DIB probes, comparisons, captures of a real
// window from PrintWindow and from the screen, and the BMP dump.
#include <gtest/gtest.h>

#include "GdiCheck.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

// A window that paints itself red, both on screen and into a DC given for printing.
LRESULT CALLBACK RedWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  switch (Msg) {
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Wnd, &ps);
    RECT r;
    GetClientRect(Wnd, &r);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &r, red);
    DeleteObject(red);
    EndPaint(Wnd, &ps);
    return 0;
  }
  case WM_PRINTCLIENT: {
    RECT r;
    GetClientRect(Wnd, &r);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(reinterpret_cast<HDC>(WParam), &r, red);
    DeleteObject(red);
    return 0;
  }
  default:
    return DefWindowProcW(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

TEST(Pixels, DibProbesAndComparisons)
{
  TDib32 dib(4, 3, RGB(10, 20, 30));
  ASSERT_TRUE(dib.Valid());
  EXPECT_EQ(dib.Pixel(3, 2), RGB(10, 20, 30));
  EXPECT_EQ(dib.Pixel(4, 0), CLR_INVALID);
  SetPixelV(dib.DC(), 1, 0, RGB(200, 0, 0));
  EXPECT_EQ(dib.Pixel(1, 0), RGB(200, 0, 0)) << "top-down: row 0 is the top";
  EXPECT_EQ(ReadPixel(dib.DC(), 1, 0), RGB(200, 0, 0));
  EXPECT_EQ(CountPixelsNear(dib, RECT{0, 0, 4, 3}, RGB(10, 20, 30), 0), 11);
  EXPECT_EQ(ColorDistance(RGB(10, 20, 30), RGB(13, 18, 30)), 3);
  EXPECT_TRUE(IsGreyish(RGB(100, 104, 98)));
  EXPECT_FALSE(IsGreyish(RGB(100, 160, 98)));
  EXPECT_FALSE(ColorNear(RGB(0, 0, 0), RGB(0, 0, 9)));
  EXPECT_EQ(ColorText(RGB(0x12, 0xAB, 0x0F)), "#12AB0F");

  TDib32 moved = std::move(dib);
  EXPECT_FALSE(dib.Valid());
  EXPECT_EQ(moved.Pixel(1, 0), RGB(200, 0, 0));
}

TEST(Pixels, SavedBmpReadsBackThroughTheBitmapClass)
{
  TDib32 dib(5, 4, RGB(0, 0, 255));
  SetPixelV(dib.DC(), 0, 0, RGB(255, 255, 0));
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"pixels_test_dump.bmp";
  ASSERT_TRUE(dib.SaveBmp(path));
  TBitmap bmp;
  bmp.LoadFromFile(path);
  DeleteFileW(path.c_str());
  EXPECT_EQ(bmp.GetWidth(), 5);
  EXPECT_EQ(COLORREF(bmp.GetCanvas()->GetPixel(0, 0)), RGB(255, 255, 0));
  EXPECT_EQ(COLORREF(bmp.GetCanvas()->GetPixel(4, 3)), RGB(0, 0, 255));
}

TEST(Pixels, CapturesAWindowPrintedAndOnScreen)
{
  WNDCLASSW wc{};
  wc.lpfnWndProc = RedWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PixelsTestRedWindow";
  RegisterClassW(&wc);
  HWND wnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 50, 60, 40, 30,
                             nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(wnd, nullptr);
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
  UpdateWindow(wnd);
  EXPECT_TRUE(PumpUntil([] { return ColorsClose(CaptureScreen(RECT{50, 60, 90, 90}).Pixel(20, 15), RGB(255, 0, 0)); }));

  TDib32 printed = CaptureWindow(wnd);
  ASSERT_TRUE(printed.Valid());
  EXPECT_EQ(printed.Width(), 40);
  EXPECT_TRUE(ColorNear(printed.Pixel(20, 15), RGB(255, 0, 0), 0));

  TDib32 screen = CaptureScreen(RECT{50, 60, 90, 90});
  ASSERT_TRUE(screen.Valid());
  EXPECT_TRUE(ColorNear(screen.Pixel(20, 15), RGB(255, 0, 0), 0));

  DestroyWindow(wnd);
  EXPECT_FALSE(CaptureWindow(wnd).Valid()) << "a window that is gone gives nothing";
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
}
