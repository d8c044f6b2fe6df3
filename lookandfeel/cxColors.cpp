// Colour mixing, the high-contrast tests and the solid and gradient fills.
#include "lookandfeel/cxGraphics.h"
#include "platform/Screen.h"

namespace {

int Clamp255(int Value)
{
  return std::clamp(Value, 0, 255);
}

TColor RgbColor(int R, int G, int B)
{
  return TColor(RGB(Clamp255(R), Clamp255(G), Clamp255(B)));
}

// The band colour of a gradient: band K of N, the ends exact.
TColor BandColor(COLORREF C1, COLORREF C2, int K, int N)
{
  if (N <= 1)
    return TColor(C1);
  auto channel = [&](int a, int b) { return a + (b - a) * K / (N - 1); };
  return RgbColor(channel(GetRValue(C1), GetRValue(C2)), channel(GetGValue(C1), GetGValue(C2)),
                  channel(GetBValue(C1), GetBValue(C2)));
}

constexpr int MaxGradientBands = 256;

thread_local TcxScreenColorScope* ScreenColorScope = nullptr;

}  // namespace

TcxScreenColorScope::TcxScreenColorScope() : FOuter(ScreenColorScope)
{
  ScreenColorScope = this;
}

TcxScreenColorScope::~TcxScreenColorScope()
{
  ScreenColorScope = FOuter;
  if (FDC)
    ReleaseDC(nullptr, FDC);
}

COLORREF GetNearestScreenColor(COLORREF AColor)
{
  // Palette indices and palette-relative colours still go to the system.
  if ((AColor >> 24) == 0 && Screen && Screen->IsTrueColor())
    return AColor;
  if (ScreenColorScope) {
    if (!ScreenColorScope->FDC)
      ScreenColorScope->FDC = GetDC(nullptr);
    if (ScreenColorScope->FDC)
      return GetNearestColor(ScreenColorScope->FDC, AColor);
  }
  HDC screen = GetDC(nullptr);
  if (!screen)
    return CLR_INVALID;
  const COLORREF nearest = GetNearestColor(screen, AColor);
  ReleaseDC(nullptr, screen);
  return nearest;
}

TColor GetMixedSystemColor(int APFace, int APHighlight, int APWindow)
{
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  if (face == RGB(0, 0, 0) || face == RGB(255, 255, 255))
    return TColor(highlight);
  COLORREF window = GetSysColor(COLOR_WINDOW);
  auto mix = [&](int f, int h, int w) { return Clamp255((f * APFace + h * APHighlight + w * APWindow) / 100); };
  return RgbColor(mix(GetRValue(face), GetRValue(highlight), GetRValue(window)),
                  mix(GetGValue(face), GetGValue(highlight), GetGValue(window)),
                  mix(GetBValue(face), GetBValue(highlight), GetBValue(window)));
}

TColor BlendColors(TColor AColor1, TColor AColor2, int APercent)
{
  int p = std::clamp(APercent, 0, 100);
  COLORREF c1 = ColorToRGB(AColor1), c2 = ColorToRGB(AColor2);
  auto mix = [&](int a, int b) { return (a * p + b * (100 - p)) / 100; };
  COLORREF mixed =
      RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)), mix(GetBValue(c1), GetBValue(c2)));
  const COLORREF nearest = GetNearestScreenColor(mixed);
  return TColor(nearest != CLR_INVALID ? nearest : mixed);
}

bool IsHighContrastBlack()
{
  return GetSysColor(COLOR_BTNFACE) == RGB(0, 0, 0);
}

bool IsHighContrastWhite()
{
  return GetSysColor(COLOR_BTNFACE) == RGB(255, 255, 255);
}

bool IsHighContrastBlackColoredText()
{
  return IsHighContrastBlack() && GetSysColor(COLOR_BTNTEXT) != RGB(255, 255, 255);
}

TColor GetGradientColorAt(const TRect& R, TColor AColor1, TColor AColor2, int APos, bool AHorizontal)
{
  int start = AHorizontal ? R.left : R.top;
  int extent = AHorizontal ? RectWidth(R) : RectHeight(R);
  COLORREF c1 = ColorToRGB(AColor1), c2 = ColorToRGB(AColor2);
  if (extent <= 1)
    return TColor(c1);
  int n = std::min(extent, MaxGradientBands);
  int offset = std::clamp(APos - start, 0, extent - 1);
  return BandColor(c1, c2, int(int64_t(offset) * n / extent), n);
}

void FillGradientRect(HDC ADC, const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal)
{
  if (IsRectEmpty(R))
    return;
  COLORREF c1 = ColorToRGB(AColor1), c2 = ColorToRGB(AColor2);
  if (c1 == c2) {
    FillRectByColor(ADC, R, TColor(c1));
    return;
  }
  int start = AHorizontal ? R.left : R.top;
  int extent = AHorizontal ? RectWidth(R) : RectHeight(R);
  int n = std::min(extent, MaxGradientBands);
  for (int k = 0; k < n; ++k) {
    // Band k holds the offsets p with p * n / extent = k.
    int first = int((int64_t(k) * extent + n - 1) / n);
    int last = int((int64_t(k + 1) * extent + n - 1) / n);
    if (first >= last)
      continue;
    TRect band = AHorizontal ? Rect(start + first, R.top, start + last, R.bottom)
                             : Rect(R.left, start + first, R.right, start + last);
    FillRectByColor(ADC, band, BandColor(c1, c2, k, n));
  }
}

void FillTwoStageGradientRect(HDC ADC, const TRect& R, TColor AColor1, TColor AMidColor, TColor AColor2,
                              bool AHorizontal)
{
  TRect first = R, second = R;
  if (AHorizontal)
    first.right = second.left = R.left + RectWidth(R) / 2;
  else
    first.bottom = second.top = R.top + RectHeight(R) / 2;
  FillGradientRect(ADC, first, AColor1, AMidColor, AHorizontal);
  FillGradientRect(ADC, second, AMidColor, AColor2, AHorizontal);
}

void FillRectByColor(HDC ADC, const TRect& R, TColor AColor)
{
  if (AColor == clNone || IsRectEmpty(R))
    return;
  HBRUSH brush = TrackGdiObject(CreateSolidBrush(ColorToRGB(AColor)));
  if (!brush)
    return;
  ::FillRect(ADC, &R, brush);
  DeleteGdiObject(brush);
}

void FrameRectByColor(HDC ADC, const TRect& R, TColor AColor)
{
  if (AColor == clNone || IsRectEmpty(R))
    return;
  HBRUSH brush = TrackGdiObject(CreateSolidBrush(ColorToRGB(AColor)));
  if (!brush)
    return;
  ::FrameRect(ADC, &R, brush);
  DeleteGdiObject(brush);
}
