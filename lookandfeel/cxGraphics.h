// The drawing base the bars paint through: the canvas wrapper with its clip and state
// stacks, regions, 32-bit work bitmaps, colour mixing and gradient fills, glyph drawing in
// the toolbar states (disabled, faded, grey, shadowed), and text measuring and wrapping.
// Everything works on plain device contexts as well, so painters can mix the two.
#pragma once

#include <memory>
#include <vector>

#include "lookandfeel/cxGeometry.h"
#include "platform/Graphics.h"
#include "platform/ImgList.h"

class TStrings;

// ---------------------------------------------------------------------------
// Regions

enum TcxRegionOperation { roSet, roAdd, roSubtract, roIntersect };

// A GDI region owned by this object (deleted with it). All handles it holds join the
// layer's GDI object count.
class TcxRegion : public TObject {
  DECLARE_CLASS(TcxRegion, TObject)
public:
  // An empty region.
  TcxRegion();
  explicit TcxRegion(const TRect& R);
  TcxRegion(int ALeft, int ATop, int ARight, int ABottom);
  // Adopts AHandle (nil gives an empty region): the region deletes it from now on.
  explicit TcxRegion(HRGN AHandle);
  ~TcxRegion() override;

  static TcxRegion* Create() { return new TcxRegion(); }
  static TcxRegion* CreateFromRect(const TRect& R) { return new TcxRegion(R); }
  static TcxRegion* CreateFromBounds(int L, int T, int R, int B) { return new TcxRegion(L, T, R, B); }
  static TcxRegion* CreateFromHandle(HRGN AHandle) { return new TcxRegion(AHandle); }

  HRGN GetHandle() const { return FHandle; }
  bool IsEmpty() const;
  // The bounding rectangle; empty (0, 0, 0, 0) for an empty region.
  TRect GetBoundsRect() const;
  bool IsEqual(const TcxRegion* ARegion) const;
  bool PtInRegion(const TPoint& P) const;

  // roSet copies ARegion, roAdd unites, roSubtract removes it, roIntersect keeps the
  // common part. With ADestroyRegion the argument is freed afterwards (also on a nil
  // this-side error). A nil ARegion counts as an empty region.
  void Combine(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion = true);
  void Offset(int DX, int DY);

private:
  HRGN FHandle = nullptr;
};

// ---------------------------------------------------------------------------
// Canvas wrapper

// The four sides of FrameRect, as bits: left 1, top 2, right 4, bottom 8.
enum : int { cxBordersLeft = 1, cxBordersTop = 2, cxBordersRight = 4, cxBordersBottom = 8, cxBordersAll = 15 };

// Wraps a platform TCanvas (not owned). The wrapped canvas can be switched while the
// wrapper lives (SetCanvas): the nestable bar canvas points one wrapper at whatever it
// paints on. The save stacks belong to the device context under the canvas at the time
// of the save; saves and restores must pair up on the same context.
class TcxCanvas : public TObject {
  DECLARE_CLASS(TcxCanvas, TObject)
public:
  explicit TcxCanvas(TCanvas* ACanvas);
  ~TcxCanvas() override;

  TCanvas* GetCanvas() const { return FCanvas; }
  virtual void SetCanvas(TCanvas* Value) { FCanvas = Value; }

  // The device context. The canvas font, brush and pen are selected by the canvas's own
  // drawing and measuring calls; raw GDI calls on the handle see whatever was last used.
  HDC GetHandle() const;
  TBrush* GetBrush() const { return FCanvas->GetBrush(); }
  TFont* GetFont() const { return FCanvas->GetFont(); }
  void SetFont(TFont* Value) { FCanvas->SetFont(Value); }
  // Selects the canvas font into the handle for raw text calls.
  void SelectFontNow() { FCanvas->SelectFontNow(); }
  TPen* GetPen() const { return FCanvas->GetPen(); }

  TPoint GetWindowOrg() const;
  void SetWindowOrg(const TPoint& P);
  // Takes the font, text colour, brush and pen selected into ADC into the canvas objects
  // (what a DC handed to a painter by the system already holds).
  void SynchronizeObjects(HDC ADC);

  void CopyRect(const TRect& ADest, TCanvas* ASource, const TRect& ASourceRect);
  void Draw(int X, int Y, TGraphic* AGraphic);
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  // A frame of ALineWidth pixels inside R on the sides ABorders names (cxBorders* bits),
  // filled solid in AColor; clNone draws nothing, a width below 1 is taken as 1.
  void FrameRect(const TRect& R, TColor AColor, int ALineWidth = 1, int ABorders = cxBordersAll);
  void FillRect(const TRect& R, TColor AColor);

  TSize TextExtent(const String& Text);
  int TextHeight(const String& Text);
  int TextWidth(const String& Text);

  // SaveDC/RestoreDC of the underlying context. The canvas objects are taken out of the
  // context first, so a restore never puts back a handle the canvas may have freed.
  void SaveDC();
  void RestoreDC();
  // SaveDC plus copies of the font, brush and pen; RestoreState puts all four back.
  void SaveState();
  void RestoreState();

  // A stack of clip regions. Restore gives back exactly what was saved, including "no
  // clip region at all". An unbalanced Restore does nothing.
  void SaveClipRegion();
  void RestoreClipRegion();
  // The current clip region in logical coordinates (shifted by the window origin), the
  // caller frees it. Without a clip region: the rectangle (0, 0, 30000, 30000), shifted
  // the same way.
  TcxRegion* GetClipRegion(bool AConsiderOrigin = true);
  // Combines the clip region with ARegion (logical coordinates when AConsiderOrigin, else
  // device coordinates). A missing clip region counts as the 30000 square, so roAdd
  // without a clip keeps everything visible. ARegion is freed when ADestroyRegion.
  void SetClipRegion(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion = true,
                     bool AConsiderOrigin = true);
  void IntersectClipRect(const TRect& R);
  void ExcludeClipRect(const TRect& R);

protected:
  TCanvas* FCanvas;

private:
  struct TSavedState;
  std::vector<int> FSavedDCs;
  std::vector<std::unique_ptr<TSavedState>> FSavedStates;
  std::vector<std::unique_ptr<TcxRegion>> FSavedRegions;  // nil entry: no clip region
};

// A TcxCanvas that measures as the screen does (a memory DC compatible with it), freed when
// the wrapper goes.
class TcxScreenCanvas : public TcxCanvas {
  DECLARE_CLASS(TcxScreenCanvas, TcxCanvas)
public:
  TcxScreenCanvas();
  ~TcxScreenCanvas() override;
  static TcxScreenCanvas* Create() { return new TcxScreenCanvas(); }

private:
  std::unique_ptr<TCanvas> FScreen;
};

// ---------------------------------------------------------------------------
// Bitmaps

// A TBitmap with its own TcxCanvas over its canvas.
class TcxCustomBitmap : public TBitmap {
  DECLARE_CLASS(TcxCustomBitmap, TBitmap)
public:
  TcxCustomBitmap();
  TcxCustomBitmap(int AWidth, int AHeight, TPixelFormat APixelFormat = pf32bit);
  ~TcxCustomBitmap() override;

  TcxCanvas* GetcxCanvas();
  TRect GetClientRect() const { return Rect(0, 0, GetWidth(), GetHeight()); }

private:
  std::unique_ptr<TcxCanvas> FcxCanvas;
};

// The work bitmap of the painters (cached glyphs, buffers): a 32-bit one unless asked.
class TcxBitmap : public TcxCustomBitmap {
  DECLARE_CLASS(TcxBitmap, TcxCustomBitmap)
public:
  using TcxCustomBitmap::TcxCustomBitmap;
};

// Bitmaps of R's size or of a size; negative sizes are taken as 0 (an empty bitmap).
std::unique_ptr<TcxBitmap> CreateBitmapForRect(const TRect& R, TPixelFormat APixelFormat = pf32bit);
std::unique_ptr<TcxBitmap> CreateBitmapOfSize(int AWidth, int AHeight, TPixelFormat APixelFormat = pf32bit);

// The pixels of a bitmap as 0x00RRGGBB quads, rows top-down, Width * Height of them.
using TcxColorArray = std::vector<RGBQUAD>;
// Turns the bitmap into 32 bits per pixel and returns its pixels.
TcxColorArray GetBitmapColors(TBitmap* ABitmap);
// Writes AColors into the pixels (the bitmap becomes 32 bits per pixel) and frees the
// array. A count other than Width * Height raises EInvalidGraphicOperation.
void SetBitmapColors(TBitmap* ABitmap, TcxColorArray&& AColors);

// BitBlt of R's size from ASourcePoint of ASourceDC to R of ADestDC.
bool BitBltRect(HDC ADestDC, const TRect& R, HDC ASourceDC, const TPoint& ASourcePoint, DWORD ARop = SRCCOPY);

// ---------------------------------------------------------------------------
// Glyph drawing in the toolbar states
//
// Every mode draws through a 32-bit work bitmap: the destination area is copied into it,
// the image is composed over it pixel by pixel, and the result is copied back, so the
// transparent parts of the image show whatever was under it. The image is read as colour
// and coverage per pixel: a glyph bitmap is opaque except for its transparent colour
// (its bottom-left pixel unless the bitmap fixes one); an image-list image is drawn over
// black and over white, which gives its mask and any partial alpha.
//
// With Y = (30 R + 59 G + 11 B) / 100 (the luminance, truncated), F the face colour and
// c each channel of an image pixel:
//   gdmNormal        c
//   gdmDisabled      embossed: the image's shape (not its colours) in COLOR_BTNHIGHLIGHT
//                    one pixel right and down, then the shape in COLOR_BTNSHADOW in place
//   gdmDisabledFaded a light grey: (F.c + 128 + Y / 2) / 2 per channel
//   gdmGrey          (Y, Y, Y)
//   gdmFaded         washed out towards the face: (c * 60 + F.c * 40) / 100
//   gdmShadowed      the "lifted" hot look: the shape one pixel right and down of the
//                    rectangle darkens what is under it to 60 % (a soft shadow two pixels
//                    off the image), and the image itself is drawn normally one pixel up
//                    and left
// A pixel with partial coverage blends the mode's colour with what is under it. An
// unknown mode draws as gdmNormal.
enum TcxGlyphDrawingMode {
  gdmNormal,
  gdmDisabled,
  gdmDisabledFaded,
  gdmGrey,
  gdmFaded,
  gdmShadowed,
};

constexpr int cxFadedImagePercent = 60;    // image share of a faded pixel
constexpr int cxShadowDarkenPercent = 60;  // what a shadow pixel keeps of the background

struct TcxGlyphDrawOptions {
  // Filled into the background rectangle before the image (nil: no fill). A value of a
  // system colour index + 1 stands for that colour's brush, as with FillRect.
  HBRUSH BackgroundBrush = nullptr;
  // The colour that stands for transparency in an image-list image: pixels the list's
  // mask leaves out stay transparent, partly covered ones settle on this colour, and pixels
  // of exactly this colour drop out (a list without a mask). clNone: the mask alone.
  TColor ImageListBkColor = clNone;
  // Glyph transparency: clDefault takes the bitmap's own transparent colour, clNone
  // makes the glyph opaque, any other colour is the transparent one.
  TColor GlyphTransparentColor = clDefault;
  // The colour gdmFaded and gdmDisabledFaded move towards.
  TColor FaceColor = clBtnFace;
};

// Draws AGlyph when it holds a picture, else image AImageIndex of AImages, into
// AGlyphRect of ADC in AMode. The image is stretched when AGlyphRect's size differs from
// the image's (nearest pixel). ABackgroundRect (may be empty) is filled with the options'
// brush first. Nothing is drawn when there is no image or the index is out of range.
void DrawGlyphOrImage(HDC ADC, const TRect& ABackgroundRect, const TRect& AGlyphRect, TBitmap* AGlyph,
                      TCustomImageList* AImages, int AImageIndex, TcxGlyphDrawingMode AMode,
                      const TcxGlyphDrawOptions& AOptions = {});

// The area transform of the bars (ghosted areas), through a work bitmap, pixel by pixel
// in ARect's own coordinates (x, y from its top-left):
//   1. a pixel of AKeyColor exactly becomes ATargetColor;
//   2. a pixel whose luminance Y is AThreshold or more becomes ATargetColor (light parts
//      vanish into the target; a threshold above 255 turns this off);
//   3. any other pixel moves APercent % of the way towards ATargetColor; when AGridStep is
//      2 or more, only the pixels with (x + y) mod AGridStep = 0 keep that colour and the
//      others become ATargetColor (the classic dithered ghost).
// APercent is clamped to 0-100; AGridStep below 1 counts as 1. clNone as target does
// nothing. The bars call it as (0, 170, 20, 2, clBtnFace).
void TransformRectThroughBitmap(TcxCanvas* ACanvas, const TRect& ARect, TColor AKeyColor, int AThreshold, int APercent,
                                int AGridStep, TColor ATargetColor);

// IsGlyphAssigned / IsImageAssigned: a graphic that exists and is not empty; a list that
// exists with the index in 0 .. Count - 1.
bool IsGlyphAssigned(TGraphic* AGlyph);
bool IsImageAssigned(TCustomImageList* AImages, int AImageIndex);

// ---------------------------------------------------------------------------
// Colours and fills

// Per channel (face * APFace + highlight * APHighlight + window * APWindow) / 100 of
// COLOR_BTNFACE, COLOR_HIGHLIGHT and COLOR_WINDOW, truncated and clamped to 0-255 (the
// weights may be negative). COLOR_HIGHLIGHT itself when the face is black or white.
TColor GetMixedSystemColor(int APFace, int APHighlight, int APWindow);
// Per channel (C1 * APercent + C2 * (100 - APercent)) / 100, truncated, APercent
// clamped to 0-100, then snapped to the nearest colour of the screen (GetNearestColor).
TColor BlendColors(TColor AColor1, TColor AColor2, int APercent);
// The screen's nearest colour to AColor (GetNearestColor); CLR_INVALID when the screen cannot
// say. A true-colour screen answers AColor itself without asking. While a
// TcxScreenColorScope lives on the thread, its one screen device context (taken on first
// need) serves every call, so that a set of colours computed together takes one.
COLORREF GetNearestScreenColor(COLORREF AColor);
class TcxScreenColorScope {
public:
  TcxScreenColorScope();
  ~TcxScreenColorScope();
  TcxScreenColorScope(const TcxScreenColorScope&) = delete;
  TcxScreenColorScope& operator=(const TcxScreenColorScope&) = delete;

private:
  friend COLORREF GetNearestScreenColor(COLORREF AColor);
  HDC FDC = nullptr;
  TcxScreenColorScope* FOuter;
};
bool IsHighContrastBlack();
bool IsHighContrastWhite();
bool IsHighContrastBlackColoredText();

// The colour of a gradient from AColor1 to AColor2 over R at APos (an x coordinate when
// AHorizontal, else a y coordinate; clamped to R). The extent L is cut into
// N = min(L, 256) bands; pixel p lies in band k = (p - start) * N / L and band k has
// AColor1 + (AColor2 - AColor1) * k / (N - 1) per channel, truncated: the first band is
// AColor1 and the last AColor2 exactly.
TColor GetGradientColorAt(const TRect& R, TColor AColor1, TColor AColor2, int APos, bool AHorizontal = true);
// Fills R with that gradient (colour changing along x when AHorizontal); solid when the
// colours are equal.
void FillGradientRect(HDC ADC, const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal);
// Two gradients: AColor1 to AMidColor over the first half (L / 2 pixels), AMidColor to
// AColor2 over the rest.
void FillTwoStageGradientRect(HDC ADC, const TRect& R, TColor AColor1, TColor AMidColor, TColor AColor2,
                              bool AHorizontal);
// With a temporary solid brush; clNone does nothing.
void FillRectByColor(HDC ADC, const TRect& R, TColor AColor);
void FrameRectByColor(HDC ADC, const TRect& R, TColor AColor);

// ---------------------------------------------------------------------------
// Text

// The extent of the first ALength characters (-1 or more than there are: all of them).
TSize GetTextExtentOfString(HDC ADC, const String& AText, int ALength = -1);
// On the screen in AFont (at AFontSize points when not 0): GetTextExtentWithFont measures
// the characters as they are (one line, "&" counted); GetTextSizeWithFont measures as
// DrawText shows it (line breaks, "&" as an accelerator marker).
TSize GetTextExtentWithFont(const String& AText, TFont* AFont, int AFontSize = 0);
TSize GetTextSizeWithFont(const String& AText, TFont* AFont, int AFontSize = 0);
// Word-wraps AText to AWidth in the canvas font and adds the lines to AList: words are
// split at spaces (a run of spaces becomes one), line breaks in the text always break,
// and a word wider than AWidth on its own is broken between characters. An empty text
// adds nothing.
void SplitTextIntoLines(TcxCanvas* ACanvas, const String& AText, int AWidth, TStrings* AList);
// The narrowest rectangle (at 0, 0) that holds AText in ALineCount lines (below 1: one)
// as SplitTextIntoLines wraps it: height ALineCount times the height of "Wg". One line
// is the text's width. Otherwise a binary search over widths from 1 to the one-line width
// finds the least width whose wrap needs no more lines (the line count never grows with
// the width), and the result is the widest line of that wrap.
TRect GetTextRectForLineCount(TcxCanvas* ACanvas, const String& AText, int ALineCount);
// DrawTextW for one string; R receives the measured rectangle with DT_CALCRECT. Returns
// the text height.
int DrawTextInRect(HDC ADC, const String& AText, TRect& R, UINT AFlags);
bool ExtTextOutString(HDC ADC, const TPoint& P, UINT AOptions, const TRect* AClipRect, const String& AText);
// The charset (DEFAULT_CHARSET read as the system's ANSI charset) is GB2312, Chinese
// Big5 or Arabic, and the text holds a character beyond ASCII (above 127). Of the two
// readings of "more than one ASCII character" this is the one that matters: a text of
// plain ASCII needs no script handling whatever the font's charset.
bool IsSpecialCharsetText(uint8_t ACharset, const String& AText);
// The logical record of the handle; false when it cannot be read.
bool GetLogBrushInfo(HBRUSH ABrush, LOGBRUSH& AInfo);
bool GetLogFont(HFONT AFont, LOGFONTW& AInfo);
