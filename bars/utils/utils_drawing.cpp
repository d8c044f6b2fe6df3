// GDI drawing helpers of the bar library: arrows, polygons, frames and dotted frames, the
// transparent size grip, background tiling, glyph drawing modes, clip regions, window
// origins, layered-window alpha, Z order and screen colours.
#include "bars/utils/utils.h"

#include <algorithm>

#include "bars/model/startup.h"
#include "platform/Win.h"

namespace {

// The rectangle an arrow's width is measured from leaves 4 pixels each side; the height
// 3 above and below.
constexpr int ArrowWidthMargin = 8;
constexpr int ArrowHeightMargin = 6;
constexpr int MinArrowSize = 3;
// Below this many bits per pixel faded glyphs would band: they are drawn normally.
constexpr int MinFadedColorDepth = 9;

// The raster operations of the transparent size grip: (not S) or D, S or D, S and D.
constexpr DWORD RopMergePaint = 0xBB0226;
constexpr DWORD RopSrcPaint = 0xEE0086;
constexpr DWORD RopSrcAnd = 0x8800C6;

void DrawArrowPolygon(HDC DC, const TRect& R, TcxArrowDirection Direction, int ASize, TColor AColor)
{
  const TcxArrowPoints points = TcxCustomLookAndFeelPainter::CalculateArrowPoints(R, Direction, ASize);
  POINT p[3];
  for (int i = 0; i < 3; ++i)
    p[i] = points[i];
  DrawFilledPolygon(DC, p, 3, AColor);
}

// Sets the pixels of a horizontal or vertical run where x + y is even.
void DottedRun(HDC DC, int X, int Y, int DX, int DY, int ACount, COLORREF AColor)
{
  for (int i = 0; i < ACount; ++i, X += DX, Y += DY)
    if (((X + Y) & 1) == 0)
      SetPixel(DC, X, Y, AColor);
}

}  // namespace

// ---------------------------------------------------------------------------
// Arrows and simple shapes

int GetArrowSizeForRect(const TRect& R, TcxArrowDirection Direction)
{
  const bool vertical = Direction == adUp || Direction == adDown;
  const int d = vertical ? RectWidth(R) - ArrowWidthMargin : RectHeight(R) - ArrowHeightMargin;
  int size = (d - 1) / 2;
  if (d % 2 != 0)
    ++size;
  return std::max(size, MinArrowSize);
}

TColor GetArrowColor(TColor AColor, bool AEnabled, bool ASelected)
{
  if (AColor != clDefault)
    return AColor;
  if (!AEnabled)
    return clBtnShadow;
  if (ASelected)
    return IsHighContrastWhite() ? clBtnFace : clHighlightText;
  return clBtnText;
}

void DrawArrowEx(HDC DC, const TRect& R, TcxArrowDirection Direction, int ASize, TColor AColor, bool AEnabled,
                 bool ASelected, bool AFlat)
{
  if (!DC)
    return;
  const int size = ASize < 0 ? GetArrowSizeForRect(R, Direction) : ASize;
  if (!AEnabled && !AFlat)
    DrawArrowPolygon(DC, OffsetRectBy(R, 1, 1), Direction, size, clBtnHighlight);
  DrawArrowPolygon(DC, R, Direction, size, GetArrowColor(AColor, AEnabled, ASelected));
}

void DrawFilledPolygon(HDC DC, const POINT* APoints, int ACount, TColor AColor)
{
  if (!DC || !APoints || ACount < 2 || AColor == clNone)
    return;
  const COLORREF color = ColorToRGB(AColor);
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HBRUSH brush = CreateSolidBrush(color);
  HGDIOBJ oldPen = SelectObject(DC, pen);
  HGDIOBJ oldBrush = SelectObject(DC, brush);
  Polygon(DC, APoints, ACount);
  SelectObject(DC, oldBrush);
  SelectObject(DC, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void FrameRectWithHighlightColor(HDC DC, const TRect& R)
{
  FrameRect(DC, &R, GetSysColorBrush(COLOR_HIGHLIGHT));
}

void FrameRectDouble(HDC DC, const TRect& R, int ASysColorIndex)
{
  HBRUSH brush = GetSysColorBrush(ASysColorIndex);
  TRect r = R;
  FrameRect(DC, &r, brush);
  InflateRect(&r, -1, -1);
  FrameRect(DC, &r, brush);
}

void DrawDottedFrame(HDC DC, const TRect& R)
{
  const int w = RectWidth(R), h = RectHeight(R);
  if (!DC || w <= 0 || h <= 0)
    return;
  const COLORREF color = GetSysColor(COLOR_BTNTEXT);
  DottedRun(DC, R.left, R.top, 1, 0, w, color);
  if (h > 1)
    DottedRun(DC, R.left, R.bottom - 1, 1, 0, w, color);
  DottedRun(DC, R.left, R.top + 1, 0, 1, h - 2, color);
  if (w > 1)
    DottedRun(DC, R.right - 1, R.top + 1, 0, 1, h - 2, color);
}

void DrawDottedDoubleFrame(HDC DC, const TRect& R)
{
  DrawDottedFrame(DC, R);
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  DrawDottedFrame(DC, inner);
}

void DrawSizeGrip(HDC DC, const TRect& R)
{
  const int w = RectWidth(R), h = RectHeight(R);
  if (!DC || w <= 0 || h <= 0)
    return;
  // The grip as the system draws it, over the button face.
  HDC imageDC = CreateCompatibleDC(DC);
  HBITMAP image = CreateScreenBitmap(w, h);
  HGDIOBJ oldImage = SelectObject(imageDC, image);
  TRect local = Rect(0, 0, w, h);
  FillRect(imageDC, &local, GetSysColorBrush(COLOR_BTNFACE));
  DrawFrameControl(imageDC, &local, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  // The mask: 1 where the face shows (the transparent part), 0 on the grip's lines.
  HDC maskDC = CreateCompatibleDC(DC);
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  HGDIOBJ oldMask = SelectObject(maskDC, mask);
  SetBkColor(imageDC, GetSysColor(COLOR_BTNFACE));
  BitBlt(maskDC, 0, 0, w, h, imageDC, 0, 0, SRCCOPY);
  // A monochrome source reaches a colour target as text colour (0) and background (1):
  // white lines and black transparency turn the three operations into "image where the
  // lines are, the target elsewhere".
  const COLORREF imageText = SetTextColor(imageDC, RGB(255, 255, 255));
  const COLORREF imageBack = SetBkColor(imageDC, RGB(0, 0, 0));
  BitBlt(imageDC, 0, 0, w, h, maskDC, 0, 0, RopMergePaint);  // the transparent part white
  const COLORREF text = SetTextColor(DC, RGB(255, 255, 255));
  const COLORREF back = SetBkColor(DC, RGB(0, 0, 0));
  BitBlt(DC, R.left, R.top, w, h, maskDC, 0, 0, RopSrcPaint);  // the lines white on the target
  BitBlt(DC, R.left, R.top, w, h, imageDC, 0, 0, RopSrcAnd);   // the lines' colours in
  SetTextColor(DC, text);
  SetBkColor(DC, back);
  SetTextColor(imageDC, imageText);
  SetBkColor(imageDC, imageBack);
  SelectObject(maskDC, oldMask);
  DeleteObject(mask);
  DeleteDC(maskDC);
  SelectObject(imageDC, oldImage);
  DeleteObject(image);
  DeleteDC(imageDC);
}

// ---------------------------------------------------------------------------
// Backgrounds

void TileBackgroundBitmap(HDC DC, const TRect& R, TBitmap* ABitmap, const TPoint& AOrigin)
{
  if (!DC || !ABitmap || ABitmap->Empty() || IsRectEmpty(&R))
    return;
  const int w = ABitmap->GetWidth(), h = ABitmap->GetHeight();
  HDC source = ABitmap->GetCanvas()->GetHandle();
  // The first tile at or before R's top-left on the grid through AOrigin.
  auto gridStart = [](int From, int Origin, int Step) {
    int offset = (From - Origin) % Step;
    if (offset < 0)
      offset += Step;
    return From - offset;
  };
  const int x0 = gridStart(R.left, AOrigin.x, w), y0 = gridStart(R.top, AOrigin.y, h);
  for (int y = y0; y < R.bottom; y += h)
    for (int x = x0; x < R.right; x += w) {
      TRect tile = Bounds(x, y, w, h), part;
      if (IntersectRect(&part, &tile, &R))
        BitBlt(DC, part.left, part.top, RectWidth(part), RectHeight(part), source, part.left - x, part.top - y,
               SRCCOPY);
    }
}

void FillRectWithBackground(HDC DC, const TRect& R, TBitmap* ABitmap, const TPoint& AOrigin, HBRUSH ABrush,
                            TColor AColor)
{
  if (!DC)
    return;
  if (ABitmap && !ABitmap->Empty())
    TileBackgroundBitmap(DC, R, ABitmap, AOrigin);
  else if (ABrush)
    FillRect(DC, &R, ABrush);
  else
    FillRectByColor(DC, R, AColor);
}

// ---------------------------------------------------------------------------
// Glyphs

TcxGlyphDrawingMode GetGlyphDrawingMode(const TdxBarGlyphStateInfo& AInfo)
{
  if (!AInfo.DrawnEnabled)
    return AInfo.FadedDisabledImages ? gdmDisabledFaded : gdmDisabled;
  if (AInfo.GrayScale)
    return gdmGrey;
  if (AInfo.IdleGlyphsFaded) {
    const int depth = AInfo.ColorDepth < 0 ? dxBarScreenColorDepth() : AInfo.ColorDepth;
    if (!AInfo.Selected && !AInfo.Down && depth >= MinFadedColorDepth)
      return gdmFaded;
    // Shadowing only comes with faded idle glyphs: a hot glyph is lifted out of a faded
    // row; on its own the painter draws hot glyphs normally.
    if (AInfo.Selected && !AInfo.Pressed && AInfo.HotGlyphsShadowed)
      return gdmShadowed;
  }
  return gdmNormal;
}

void DrawGlyph(HDC DC, const TRect& ABackgroundRect, const TRect& AGlyphRect, TBitmap* AGlyph,
               TCustomImageList* AImages, int AImageIndex, TcxGlyphDrawingMode AMode, HBRUSH ABackgroundBrush,
               TColor AImageListBkColor)
{
  if (!DC)
    return;
  TcxGlyphDrawOptions options;
  options.BackgroundBrush = ABackgroundBrush;
  options.ImageListBkColor = IsGlyphAssigned(AGlyph) ? clNone : AImageListBkColor;
  DrawGlyphOrImage(DC, ABackgroundRect, AGlyphRect, AGlyph, AImages, AImageIndex, AMode, options);
}

void DrawGlyphInRect(HDC DC, const TRect& R, TBitmap* AGlyph, TCustomImageList* AImages, int AImageIndex,
                     TcxGlyphDrawingMode AMode, HBRUSH ABackgroundBrush, TColor AImageListBkColor)
{
  int w = 0, h = 0;
  if (IsGlyphAssigned(AGlyph)) {
    w = AGlyph->GetWidth();
    h = AGlyph->GetHeight();
  } else if (IsImageAssigned(AImages, AImageIndex)) {
    w = AImages->GetWidth();
    h = AImages->GetHeight();
  }
  const TRect glyphRect = Bounds(R.left + (RectWidth(R) - w) / 2, R.top + (RectHeight(R) - h) / 2, w, h);
  DrawGlyph(DC, R, glyphRect, AGlyph, AImages, AImageIndex, AMode, ABackgroundBrush, AImageListBkColor);
}

void TransformBarRect(TcxCanvas* ACanvas, const TRect& R)
{
  if (ACanvas)
    TransformRectThroughBitmap(ACanvas, R, 0, 170, 20, 2, clBtnFace);
}

// ---------------------------------------------------------------------------
// Clip regions and origins

TdxBarClipRgn SaveClipRgn(HDC DC)
{
  TdxBarClipRgn saved;
  if (!DC)
    return saved;
  saved.Region = CreateRectRgn(0, 0, 0, 0);
  saved.HadRegion = GetClipRgn(DC, saved.Region) == 1;
  if (!saved.HadRegion) {
    DeleteObject(saved.Region);
    saved.Region = nullptr;
  }
  return saved;
}

void RestoreClipRgn(HDC DC, TdxBarClipRgn& ASaved)
{
  if (DC)
    SelectClipRgn(DC, ASaved.HadRegion ? ASaved.Region : nullptr);
  if (ASaved.Region)
    DeleteObject(ASaved.Region);
  ASaved = TdxBarClipRgn{};
}

void AddRectToClipRgn(HDC DC, const TRect& R)
{
  if (!DC)
    return;
  HRGN current = CreateRectRgn(0, 0, 0, 0);
  if (GetClipRgn(DC, current) == 1) {
    // Clip regions live in device coordinates.
    POINT corners[2] = {{R.left, R.top}, {R.right, R.bottom}};
    LPtoDP(DC, corners, 2);
    HRGN added = CreateRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
    CombineRgn(current, current, added, RGN_OR);
    SelectClipRgn(DC, current);
    DeleteObject(added);
  }
  DeleteObject(current);
}

void ExcludeFrameFromCanvasClip(TcxCanvas* ACanvas, const TRect& AOuter, const TRect& AInner)
{
  if (!ACanvas)
    return;
  auto frame = std::make_unique<TcxRegion>(AOuter);
  frame->Combine(new TcxRegion(AInner), roSubtract);
  ACanvas->SetClipRegion(frame.release(), roSubtract);
}

void OffsetDCToControl(HDC DC, HWND ADCWnd, HWND AControlWnd)
{
  if (!DC || !AControlWnd)
    return;
  POINT p{0, 0};
  MapWindowPoints(AControlWnd, ADCWnd, &p, 1);
  OffsetWindowOrgEx(DC, -p.x, -p.y, nullptr);
}

void SetWindowOrigin(HDC DC, const TPoint& P)
{
  if (DC)
    SetWindowOrgEx(DC, P.x, P.y, nullptr);
}

// ---------------------------------------------------------------------------
// Windows and screen colours

void SetWindowAlphaBlend(HWND Wnd, uint8_t Alpha)
{
  if (!Wnd || !dxSetLayeredWindowAttributes)
    return;
  const LONG_PTR exStyle = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  if (Alpha < 255) {
    SetWindowLongPtrW(Wnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    dxSetLayeredWindowAttributes(Wnd, 0, Alpha, LWA_ALPHA);
  } else {
    SetWindowLongPtrW(Wnd, GWL_EXSTYLE, exStyle & ~LONG_PTR(WS_EX_LAYERED));
    RedrawWindow(Wnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void SetWindowZOrder(HWND Wnd, HWND AInsertAfter, bool AActivate, UINT AExtraFlags)
{
  if (!Wnd)
    return;
  UINT flags = SWP_NOSIZE | SWP_NOMOVE | AExtraFlags;
  if (!AActivate)
    flags |= SWP_NOACTIVATE;
  SetWindowPos(Wnd, AInsertAfter, 0, 0, 0, 0, flags);
}

TColor GetScreenNearestColor(TColor AColor)
{
  return TColor(GetNearestScreenColor(ColorToRGB(AColor)));
}

int ReadScreenColorDepth()
{
  HDC dc = GetDC(nullptr);
  const int depth = GetDeviceCaps(dc, BITSPIXEL);
  ReleaseDC(nullptr, dc);
  return depth;
}

void UpdateDitherBrush()
{
  dxBarUpdateCheckerBrush();
}
