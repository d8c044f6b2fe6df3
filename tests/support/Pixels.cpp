#include "Pixels.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

TDib32::TDib32(int Width, int Height, COLORREF Fill)
{
  if (Width <= 0 || Height <= 0)
    return;
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  FBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!FBitmap)
    return;
  FDC = CreateCompatibleDC(nullptr);
  FOld = SelectObject(FDC, FBitmap);
  FBits = static_cast<uint32_t*>(bits);
  FWidth = Width;
  FHeight = Height;
  this->Fill(Fill);
}

TDib32::~TDib32()
{
  Release();
}

void TDib32::Release()
{
  if (FDC) {
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
  }
  if (FBitmap)
    DeleteObject(FBitmap);
  FDC = nullptr;
  FBitmap = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
}

TDib32::TDib32(TDib32&& Other) noexcept
{
  *this = std::move(Other);
}

TDib32& TDib32::operator=(TDib32&& Other) noexcept
{
  if (this != &Other) {
    Release();
    std::swap(FDC, Other.FDC);
    std::swap(FBitmap, Other.FBitmap);
    std::swap(FOld, Other.FOld);
    std::swap(FBits, Other.FBits);
    std::swap(FWidth, Other.FWidth);
    std::swap(FHeight, Other.FHeight);
  }
  return *this;
}

COLORREF TDib32::Pixel(int X, int Y) const
{
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
    return CLR_INVALID;
  GdiFlush();
  uint32_t v = FBits[size_t(Y) * FWidth + X];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void TDib32::Fill(COLORREF Color)
{
  if (!FBits)
    return;
  GdiFlush();
  uint32_t v = uint32_t(GetRValue(Color)) << 16 | uint32_t(GetGValue(Color)) << 8 | GetBValue(Color);
  std::fill(FBits, FBits + size_t(FWidth) * FHeight, v);
}

bool TDib32::SaveBmp(const std::wstring& Path) const
{
  if (!FBits)
    return false;
  GdiFlush();
  BITMAPINFOHEADER h{sizeof h, FWidth, -FHeight, 1, 32, BI_RGB, DWORD(FWidth * FHeight * 4), 0, 0, 0, 0};
  BITMAPFILEHEADER f{};
  f.bfType = 0x4D42;
  f.bfOffBits = sizeof f + sizeof h;
  f.bfSize = f.bfOffBits + h.biSizeImage;
  FILE* out = _wfopen(Path.c_str(), L"wb");
  if (!out)
    return false;
  bool ok = fwrite(&f, sizeof f, 1, out) == 1 && fwrite(&h, sizeof h, 1, out) == 1 &&
            fwrite(FBits, h.biSizeImage, 1, out) == 1;
  fclose(out);
  return ok;
}

COLORREF ReadPixel(HDC DC, int X, int Y)
{
  GdiFlush();
  return GetPixel(DC, X, Y);
}

int ColorDistance(COLORREF A, COLORREF B)
{
  return std::max({std::abs(int(GetRValue(A)) - int(GetRValue(B))), std::abs(int(GetGValue(A)) - int(GetGValue(B))),
                   std::abs(int(GetBValue(A)) - int(GetBValue(B)))});
}

bool IsGreyish(COLORREF Color, int Tolerance)
{
  int r = GetRValue(Color), g = GetGValue(Color), b = GetBValue(Color);
  return std::max({r, g, b}) - std::min({r, g, b}) <= Tolerance;
}

std::string ColorText(COLORREF Color)
{
  if (Color == CLR_INVALID)
    return "(invalid)";
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(Color), GetGValue(Color), GetBValue(Color));
  return text;
}

testing::AssertionResult ColorNear(COLORREF Actual, COLORREF Expected, int Tolerance)
{
  if (Actual != CLR_INVALID && ColorsClose(Actual, Expected, Tolerance))
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "colour " << ColorText(Actual) << " is not within " << Tolerance << " of "
                                     << ColorText(Expected);
}

int CountPixels(const TDib32& Dib, const RECT& R, const std::function<bool(COLORREF)>& Test)
{
  int count = 0;
  for (int y = std::max<int>(R.top, 0); y < std::min<int>(R.bottom, Dib.Height()); ++y)
    for (int x = std::max<int>(R.left, 0); x < std::min<int>(R.right, Dib.Width()); ++x)
      if (Test(Dib.Pixel(x, y)))
        ++count;
  return count;
}

int CountDifferentPixels(const TDib32& Dib, const RECT& R, const TDib32& APart, int Tolerance)
{
  int count = 0;
  for (int y = R.top; y < R.bottom; ++y)
    for (int x = R.left; x < R.right; ++x) {
      const int px = x - R.left, py = y - R.top;
      const bool inside =
          x >= 0 && y >= 0 && x < Dib.Width() && y < Dib.Height() && px < APart.Width() && py < APart.Height();
      if (!inside || !ColorsClose(Dib.Pixel(x, y), APart.Pixel(px, py), Tolerance))
        ++count;
    }
  return count;
}

TDib32 CaptureWindow(HWND Window)
{
  RECT r{};
  if (!IsWindow(Window) || !GetWindowRect(Window, &r))
    return {};
  TDib32 dib(r.right - r.left, r.bottom - r.top);
  if (dib.Valid())
    PrintWindow(Window, dib.DC(), 0);
  return dib;
}

TDib32 CaptureScreen(const RECT& R)
{
  TDib32 dib(R.right - R.left, R.bottom - R.top);
  if (!dib.Valid())
    return dib;
  HDC screen = GetDC(nullptr);
  BitBlt(dib.DC(), 0, 0, dib.Width(), dib.Height(), screen, R.left, R.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return dib;
}

void SaveShotOnRequest(const TDib32& Shot, const char* Name)
{
  if (const char* wanted = std::getenv("TEST_SHOTS"); !wanted || !*wanted)
    return;
  wchar_t exe[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe, length);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  folder += L"shots";
  CreateDirectoryW(folder.c_str(), nullptr);
  Shot.SaveBmp(folder + L"\\" + std::wstring(Name, Name + std::strlen(Name)) + L".bmp");
}
