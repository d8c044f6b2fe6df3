// DrawGlyphOrImage: glyph bitmaps and image-list images in the six toolbar drawing modes,
// composed pixel by pixel in a 32-bit work bitmap (the formulas are in cxGraphics.h).
#include "lookandfeel/cxGraphics.h"

namespace {

// One image pixel: colour and coverage (0 transparent .. 255 opaque).
struct TImagePixel {
  uint8_t R = 0, G = 0, B = 0, A = 0;
};

struct TImage {
  int Width = 0;
  int Height = 0;
  std::vector<TImagePixel> Pixels;
  const TImagePixel& At(int X, int Y) const { return Pixels[size_t(Y) * Width + X]; }
};

int Luminance(int R, int G, int B)
{
  return (R * 30 + G * 59 + B * 11) / 100;
}

TImage ReadGlyph(TBitmap* AGlyph, TColor ATransparentColor)
{
  TImage image;
  image.Width = AGlyph->GetWidth();
  image.Height = AGlyph->GetHeight();
  TcxBitmap copy(image.Width, image.Height);
  BitBlt(copy.GetCanvas()->GetHandle(), 0, 0, image.Width, image.Height, AGlyph->GetCanvas()->GetHandle(), 0, 0,
         SRCCOPY);
  bool transparent = ATransparentColor != clNone;
  COLORREF key = 0;
  if (transparent)
    key = ColorToRGB(ATransparentColor == clDefault ? AGlyph->GetTransparentColor() : ATransparentColor);
  TcxColorArray colors = GetBitmapColors(&copy);
  image.Pixels.resize(colors.size());
  for (size_t i = 0; i < colors.size(); ++i) {
    const RGBQUAD& q = colors[i];
    bool hole = transparent && RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == key;
    image.Pixels[i] = TImagePixel{q.rgbRed, q.rgbGreen, q.rgbBlue, uint8_t(hole ? 0 : 255)};
  }
  return image;
}

// Drawn over black and over white: where the two differ the background shows through,
// and by how much gives the coverage; the colour is the black-backed one undone.
TImage ReadListImage(TCustomImageList* AImages, int AIndex, TColor ABkColor)
{
  TImage image;
  image.Width = AImages->GetWidth();
  image.Height = AImages->GetHeight();
  TcxBitmap onBlack(image.Width, image.Height), onWhite(image.Width, image.Height);
  TRect all = onBlack.GetClientRect();
  FillRectByColor(onBlack.GetCanvas()->GetHandle(), all, clBlack);
  FillRectByColor(onWhite.GetCanvas()->GetHandle(), all, clWhite);
  HIMAGELIST list = AImages->GetHandle();
  ImageList_DrawEx(list, AIndex, onBlack.GetCanvas()->GetHandle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
  ImageList_DrawEx(list, AIndex, onWhite.GetCanvas()->GetHandle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
  TcxColorArray black = GetBitmapColors(&onBlack), white = GetBitmapColors(&onWhite);
  COLORREF bk = ColorToRGB(ABkColor);
  image.Pixels.resize(black.size());
  for (size_t i = 0; i < black.size(); ++i) {
    const RGBQUAD &b = black[i], &w = white[i];
    int gap = std::max({w.rgbRed - b.rgbRed, w.rgbGreen - b.rgbGreen, w.rgbBlue - b.rgbBlue, 0});
    int a = 255 - std::min(gap, 255);
    auto undo = [&](int c) { return a ? std::min(c * 255 / a, 255) : 0; };
    TImagePixel p{uint8_t(undo(b.rgbRed)), uint8_t(undo(b.rgbGreen)), uint8_t(undo(b.rgbBlue)), uint8_t(a)};
    if (ABkColor != clNone && a > 0) {
      // Partly covered pixels settle on the background colour; then that colour is the
      // transparent one, as in a list without a mask.
      auto over = [&](int c, int back) { return uint8_t((c * a + back * (255 - a) + 127) / 255); };
      p = TImagePixel{over(p.R, GetRValue(bk)), over(p.G, GetGValue(bk)), over(p.B, GetBValue(bk)), 255};
      if (RGB(p.R, p.G, p.B) == bk)
        p.A = 0;
    }
    image.Pixels[i] = p;
  }
  return image;
}

// Nearest-pixel scaling to the glyph rectangle's size.
TImage Resample(const TImage& ASource, int AWidth, int AHeight)
{
  if (ASource.Width == AWidth && ASource.Height == AHeight)
    return ASource;
  TImage result;
  result.Width = AWidth;
  result.Height = AHeight;
  result.Pixels.resize(size_t(AWidth) * AHeight);
  for (int y = 0; y < AHeight; ++y)
    for (int x = 0; x < AWidth; ++x)
      result.Pixels[size_t(y) * AWidth + x] = ASource.At(x * ASource.Width / AWidth, y * ASource.Height / AHeight);
  return result;
}

// The work area's pixels with a coverage-weighted put.
class TCanvasPixels {
public:
  TCanvasPixels(TcxColorArray& AColors, int AWidth, int AHeight) : FColors(AColors), FWidth(AWidth), FHeight(AHeight) {}

  RGBQUAD* At(int X, int Y)
  {
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
      return nullptr;
    return &FColors[size_t(Y) * FWidth + X];
  }

  void Put(int X, int Y, int R, int G, int B, int A)
  {
    RGBQUAD* q = At(X, Y);
    if (!q || A <= 0)
      return;
    auto mix = [&](int c, int back) { return BYTE(A >= 255 ? c : (c * A + back * (255 - A) + 127) / 255); };
    *q = RGBQUAD{mix(B, q->rgbBlue), mix(G, q->rgbGreen), mix(R, q->rgbRed), 0};
  }

private:
  TcxColorArray& FColors;
  int FWidth;
  int FHeight;
};

void Compose(TCanvasPixels& ACanvas, const TImage& AImage, int AX, int AY, TcxGlyphDrawingMode AMode, COLORREF AFace)
{
  int fr = GetRValue(AFace), fg = GetGValue(AFace), fb = GetBValue(AFace);
  auto each = [&](int dx, int dy, auto&& put) {
    for (int y = 0; y < AImage.Height; ++y)
      for (int x = 0; x < AImage.Width; ++x) {
        const TImagePixel& p = AImage.At(x, y);
        if (p.A)
          put(AX + x + dx, AY + y + dy, p);
      }
  };
  switch (AMode) {
    case gdmDisabled: {
      COLORREF hl = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
      each(1, 1, [&](int x, int y, const TImagePixel& p) {
        ACanvas.Put(x, y, GetRValue(hl), GetGValue(hl), GetBValue(hl), p.A);
      });
      each(0, 0, [&](int x, int y, const TImagePixel& p) {
        ACanvas.Put(x, y, GetRValue(sh), GetGValue(sh), GetBValue(sh), p.A);
      });
      break;
    }
    case gdmDisabledFaded:
      each(0, 0, [&](int x, int y, const TImagePixel& p) {
        int g = 128 + Luminance(p.R, p.G, p.B) / 2;
        ACanvas.Put(x, y, (fr + g) / 2, (fg + g) / 2, (fb + g) / 2, p.A);
      });
      break;
    case gdmGrey:
      each(0, 0, [&](int x, int y, const TImagePixel& p) {
        int l = Luminance(p.R, p.G, p.B);
        ACanvas.Put(x, y, l, l, l, p.A);
      });
      break;
    case gdmFaded:
      each(0, 0, [&](int x, int y, const TImagePixel& p) {
        auto fade = [](int c, int f) { return (c * cxFadedImagePercent + f * (100 - cxFadedImagePercent)) / 100; };
        ACanvas.Put(x, y, fade(p.R, fr), fade(p.G, fg), fade(p.B, fb), p.A);
      });
      break;
    case gdmShadowed:
      each(1, 1, [&](int x, int y, const TImagePixel& p) {
        if (RGBQUAD* q = ACanvas.At(x, y))
          ACanvas.Put(x, y, q->rgbRed * cxShadowDarkenPercent / 100, q->rgbGreen * cxShadowDarkenPercent / 100,
                      q->rgbBlue * cxShadowDarkenPercent / 100, p.A);
      });
      each(-1, -1, [&](int x, int y, const TImagePixel& p) { ACanvas.Put(x, y, p.R, p.G, p.B, p.A); });
      break;
    default:
      each(0, 0, [&](int x, int y, const TImagePixel& p) { ACanvas.Put(x, y, p.R, p.G, p.B, p.A); });
      break;
  }
}

}  // namespace

void DrawGlyphOrImage(HDC ADC, const TRect& ABackgroundRect, const TRect& AGlyphRect, TBitmap* AGlyph,
                      TCustomImageList* AImages, int AImageIndex, TcxGlyphDrawingMode AMode,
                      const TcxGlyphDrawOptions& AOptions)
{
  if (!ADC)
    return;
  bool hasGlyph = IsGlyphAssigned(AGlyph);
  bool hasImage = !hasGlyph && IsImageAssigned(AImages, AImageIndex);
  bool hasBackground = AOptions.BackgroundBrush && !IsRectEmpty(ABackgroundRect);
  bool drawImage = (hasGlyph || hasImage) && !IsRectEmpty(AGlyphRect);
  if (!drawImage && !hasBackground)
    return;

  // The work area: the background and the glyph with a pixel around it for the offset
  // copies of the disabled and shadowed modes.
  TRect area = hasBackground ? ABackgroundRect : TRect{0, 0, 0, 0};
  if (drawImage)
    area = UnionRect(area, InflateRect(AGlyphRect, 1, 1));
  TcxBitmap work(RectWidth(area), RectHeight(area));
  HDC workDC = work.GetCanvas()->GetHandle();
  BitBlt(workDC, 0, 0, RectWidth(area), RectHeight(area), ADC, area.left, area.top, SRCCOPY);
  if (hasBackground) {
    TRect r = OffsetRect(ABackgroundRect, -area.left, -area.top);
    ::FillRect(workDC, &r, AOptions.BackgroundBrush);
  }
  if (drawImage) {
    TImage image = hasGlyph ? ReadGlyph(AGlyph, AOptions.GlyphTransparentColor)
                            : ReadListImage(AImages, AImageIndex, AOptions.ImageListBkColor);
    image = Resample(image, RectWidth(AGlyphRect), RectHeight(AGlyphRect));
    TcxColorArray colors = GetBitmapColors(&work);
    TCanvasPixels pixels(colors, work.GetWidth(), work.GetHeight());
    Compose(pixels, image, AGlyphRect.left - area.left, AGlyphRect.top - area.top, AMode,
            ColorToRGB(AOptions.FaceColor));
    SetBitmapColors(&work, std::move(colors));
    workDC = work.GetCanvas()->GetHandle();
  }
  BitBlt(ADC, area.left, area.top, RectWidth(area), RectHeight(area), workDC, 0, 0, SRCCOPY);
}
