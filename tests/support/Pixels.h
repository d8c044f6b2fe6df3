// Pixel probes for drawing tests: a 32-bit DIB to draw into, colour reads and comparisons
// with a tolerance, window and screen captures, and a BMP dump to look at a failure.
// Plain Win32, so that every test area can use them whatever it draws with.
#pragma once

#include <algorithm>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Win.h"

// A 32-bit top-down DIB section, selected into a memory DC of its own for its lifetime.
class TDib32 {
public:
  TDib32() = default;
  TDib32(int Width, int Height, COLORREF Fill = RGB(255, 255, 255));
  ~TDib32();
  TDib32(TDib32&& Other) noexcept;
  TDib32& operator=(TDib32&& Other) noexcept;
  TDib32(const TDib32&) = delete;
  TDib32& operator=(const TDib32&) = delete;

  bool Valid() const { return FDC != nullptr; }
  HDC DC() const { return FDC; }
  HBITMAP Bitmap() const { return FBitmap; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Flushes GDI first; outside the picture gives CLR_INVALID.
  COLORREF Pixel(int X, int Y) const;
  void Fill(COLORREF Color);
  // Writes a BMP file (convertible to PNG with any image tool).
  bool SaveBmp(const std::wstring& Path) const;

private:
  void Release();
  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOld = nullptr;
  uint32_t* FBits = nullptr;
  int FWidth = 0;
  int FHeight = 0;
};

// GetPixel on any DC.
COLORREF ReadPixel(HDC DC, int X, int Y);
// The largest difference of one channel.
int ColorDistance(COLORREF A, COLORREF B);
inline bool ColorsClose(COLORREF A, COLORREF B, int Tolerance = 8)
{
  return ColorDistance(A, B) <= Tolerance;
}
// Each channel of Color between those of A and B, give or take Tolerance (a gradient's
// pixels lie between its ends).
inline bool IsColorBetween(COLORREF Color, COLORREF A, COLORREF B, int Tolerance = 3)
{
  auto within = [&](int c, int a, int b) { return c >= std::min(a, b) - Tolerance && c <= std::max(a, b) + Tolerance; };
  return within(GetRValue(Color), GetRValue(A), GetRValue(B)) && within(GetGValue(Color), GetGValue(A), GetGValue(B)) &&
         within(GetBValue(Color), GetBValue(A), GetBValue(B));
}
// Red, green and blue within Tolerance of each other.
bool IsGreyish(COLORREF Color, int Tolerance = 12);
// "#RRGGBB" for messages.
std::string ColorText(COLORREF Color);
// For EXPECT_TRUE: says both colours when they differ by more than Tolerance.
testing::AssertionResult ColorNear(COLORREF Actual, COLORREF Expected, int Tolerance = 8);

// Counts the pixels of R (clipped to the picture) for which Test holds.
int CountPixels(const TDib32& Dib, const RECT& R, const std::function<bool(COLORREF)>& Test);
inline int CountPixelsNear(const TDib32& Dib, const RECT& R, COLORREF Color, int Tolerance = 8)
{
  return CountPixels(Dib, R, [&](COLORREF c) { return ColorsClose(c, Color, Tolerance); });
}

// How many pixels of R differ (by more than Tolerance) from APart, which R's top-left
// corner matches; pixels outside either picture count as different.
int CountDifferentPixels(const TDib32& Dib, const RECT& R, const TDib32& APart, int Tolerance = 0);

// The whole window through PrintWindow (the window must paint into the DC WM_PRINTCLIENT
// gives it); an invalid picture when the window is gone.
TDib32 CaptureWindow(HWND Window);
// A rectangle of the screen, in screen coordinates, as the display shows it now.
TDib32 CaptureScreen(const RECT& R);

// A picture for a person to look at: with TEST_SHOTS set, written as Name.bmp into shots/
// beside the test executable, so inside the build folder; without it nothing is written.
void SaveShotOnRequest(const TDib32& Shot, const char* Name);
