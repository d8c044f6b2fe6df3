// Work bitmaps: TcxCustomBitmap and TcxBitmap, their factories, pixel arrays, BitBltRect
// and the ghosting transform of bar areas.
#include "lookandfeel/cxGraphics.h"

#include <cstring>

IMPLEMENT_CLASS(TcxCustomBitmap, TBitmap)
IMPLEMENT_CLASS(TcxBitmap, TcxCustomBitmap)

TcxCustomBitmap::TcxCustomBitmap() = default;

TcxCustomBitmap::TcxCustomBitmap(int AWidth, int AHeight, TPixelFormat APixelFormat)
{
  SetPixelFormat(APixelFormat);
  SetSize(std::max(AWidth, 0), std::max(AHeight, 0));
}

TcxCustomBitmap::~TcxCustomBitmap() = default;

TcxCanvas* TcxCustomBitmap::GetcxCanvas()
{
  if (!FcxCanvas)
    FcxCanvas = std::make_unique<TcxCanvas>(GetCanvas());
  return FcxCanvas.get();
}

std::unique_ptr<TcxBitmap> CreateBitmapForRect(const TRect& R, TPixelFormat APixelFormat)
{
  return CreateBitmapOfSize(RectWidth(R), RectHeight(R), APixelFormat);
}

std::unique_ptr<TcxBitmap> CreateBitmapOfSize(int AWidth, int AHeight, TPixelFormat APixelFormat)
{
  return std::make_unique<TcxBitmap>(AWidth, AHeight, APixelFormat);
}

TcxColorArray GetBitmapColors(TBitmap* ABitmap)
{
  TcxColorArray colors;
  if (!ABitmap || ABitmap->Empty())
    return colors;
  if (ABitmap->GetPixelFormat() != pf32bit)
    ABitmap->SetPixelFormat(pf32bit);
  int w = ABitmap->GetWidth(), h = ABitmap->GetHeight();
  colors.resize(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    std::memcpy(&colors[size_t(y) * w], ABitmap->ScanLine(y), sizeof(RGBQUAD) * w);
  return colors;
}

void SetBitmapColors(TBitmap* ABitmap, TcxColorArray&& AColors)
{
  TcxColorArray colors = std::move(AColors);
  if (!ABitmap)
    return;
  int w = ABitmap->GetWidth(), h = ABitmap->GetHeight();
  if (colors.size() != size_t(std::max(w, 0)) * std::max(h, 0))
    throw EInvalidGraphicOperation(L"The colour array does not match the bitmap size");
  if (colors.empty())
    return;
  if (ABitmap->GetPixelFormat() != pf32bit)
    ABitmap->SetPixelFormat(pf32bit);
  for (int y = 0; y < h; ++y)
    std::memcpy(ABitmap->ScanLine(y), &colors[size_t(y) * w], sizeof(RGBQUAD) * w);
}

bool BitBltRect(HDC ADestDC, const TRect& R, HDC ASourceDC, const TPoint& ASourcePoint, DWORD ARop)
{
  return BitBlt(ADestDC, R.left, R.top, RectWidth(R), RectHeight(R), ASourceDC, ASourcePoint.x, ASourcePoint.y, ARop) !=
         FALSE;
}

bool IsGlyphAssigned(TGraphic* AGlyph)
{
  return AGlyph && !AGlyph->Empty();
}

bool IsImageAssigned(TCustomImageList* AImages, int AImageIndex)
{
  return AImages && AImageIndex >= 0 && AImageIndex < AImages->GetCount();
}

void TransformRectThroughBitmap(TcxCanvas* ACanvas, const TRect& ARect, TColor AKeyColor, int AThreshold, int APercent,
                                int AGridStep, TColor ATargetColor)
{
  if (!ACanvas || IsRectEmpty(ARect) || ATargetColor == clNone)
    return;
  int percent = std::clamp(APercent, 0, 100);
  int step = std::max(AGridStep, 1);
  COLORREF key = ColorToRGB(AKeyColor), target = ColorToRGB(ATargetColor);
  HDC dc = ACanvas->GetHandle();
  auto bitmap = CreateBitmapForRect(ARect);
  HDC work = bitmap->GetCanvas()->GetHandle();
  BitBlt(work, 0, 0, RectWidth(ARect), RectHeight(ARect), dc, ARect.left, ARect.top, SRCCOPY);

  TcxColorArray colors = GetBitmapColors(bitmap.get());
  int w = bitmap->GetWidth();
  RGBQUAD targetQuad{GetBValue(target), GetGValue(target), GetRValue(target), 0};
  for (size_t i = 0; i < colors.size(); ++i) {
    RGBQUAD& q = colors[i];
    int x = int(i % w), y = int(i / w);
    COLORREF c = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    int luminance = (q.rgbRed * 30 + q.rgbGreen * 59 + q.rgbBlue * 11) / 100;
    if (c == key || luminance >= AThreshold || (step > 1 && (x + y) % step != 0)) {
      q = targetQuad;
      continue;
    }
    auto toward = [&](int from, int to) { return BYTE(from + (to - from) * percent / 100); };
    q.rgbRed = toward(q.rgbRed, GetRValue(target));
    q.rgbGreen = toward(q.rgbGreen, GetGValue(target));
    q.rgbBlue = toward(q.rgbBlue, GetBValue(target));
    q.rgbReserved = 0;
  }
  SetBitmapColors(bitmap.get(), std::move(colors));
  work = bitmap->GetCanvas()->GetHandle();
  BitBlt(dc, ARect.left, ARect.top, RectWidth(ARect), RectHeight(ARect), work, 0, 0, SRCCOPY);
}
