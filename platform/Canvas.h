// TCanvas: drawing on a device context with a font, brush and pen that are selected into
// it on demand and kept in step with their objects. A canvas given an external DC puts
// back the DC's own objects when the handle changes, so nothing of ours stays selected.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/GraphicsObjects.h"

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates>;

// The DrawText options of TextRect's formatted form.
enum TTextFormats {
  tfBottom,
  tfCalcRect,
  tfCenter,
  tfEditControl,
  tfEndEllipsis,
  tfPathEllipsis,
  tfExpandTabs,
  tfExternalLeading,
  tfLeft,
  tfModifyString,
  tfNoClip,
  tfNoPrefix,
  tfRight,
  tfRtlReading,
  tfSingleLine,
  tfTop,
  tfVerticalCenter,
  tfWordBreak,
  tfHidePrefix,
  tfNoFullWidthCharBreak,
  tfPrefixOnly,
  tfTabStop,
  tfWordEllipsis,
  tfComposited,
};
using TTextFormat = TSet<TTextFormats>;
// The DT_ flags of a format.
unsigned TextFormatFlags(TTextFormat Format);

// Raster operations for CopyRect and bitmap drawing.
using TCopyMode = int32_t;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

class TGraphic;

class TCanvas : public TPersistent {
  DECLARE_CLASS(TCanvas, TPersistent)
public:
  TCanvas();
  ~TCanvas() override;

  // The DC, made by CreateHandle when the canvas has none; raises EInvalidOperation
  // when there is still none afterwards.
  HDC GetHandle();
  // Points the canvas at another DC (or none), first putting the old DC's objects back.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TBrush* GetBrush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TPen* GetPen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TCopyMode GetCopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }

  TPoint GetPenPos();
  void SetPenPos(const TPoint& Value) { MoveTo(Value.x, Value.y); }
  // The colour at a point; clNone outside the clipping region or the surface.
  TColor GetPixel(int X, int Y);
  void SetPixel(int X, int Y, TColor Value);
  TRect GetClipRect();

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(const TPoint* Points, int Count);
  void Polyline(std::initializer_list<TPoint> Points) { Polyline(Points.begin(), int(Points.size())); }
  void Polyline(const std::vector<TPoint>& Points) { Polyline(Points.data(), int(Points.size())); }
  void Polygon(const TPoint* Points, int Count);
  void Polygon(std::initializer_list<TPoint> Points) { Polygon(Points.begin(), int(Points.size())); }
  void Polygon(const std::vector<TPoint>& Points) { Polygon(Points.data(), int(Points.size())); }
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.left, R.top, R.right, R.bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.left, R.top, R.right, R.bottom); }
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void DrawFocusRect(const TRect& R);

  // Draws at X, Y and moves PenPos to the end of the text, as the platform does.
  void TextOut(int X, int Y, const String& Text);
  // Draws at X, Y clipped to R, filling R first unless the brush is clear.
  void TextRect(const TRect& R, int X, int Y, const String& Text);
  // DrawText into R with Format; tfCalcRect measures into R, tfModifyString writes the
  // shortened text back.
  void TextRect(TRect& R, String& Text, TTextFormat Format = {});
  TSize TextExtent(const String& Text);
  int TextWidth(const String& Text) { return TextExtent(Text).cx; }
  int TextHeight(const String& Text) { return TextExtent(Text).cy; }

  // Draws a graphic at its own size; a transparent graphic leaves its transparent
  // pixels unpainted.
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  // StretchBlt from Source's rectangle with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect);

  // Puts the DC's own objects back; the next drawing selects ours again.
  void Refresh();
  // Selects the font into the device context now, for text calls made on the raw handle.
  void SelectFontNow() { RequiredState({csHandleValid, csFontValid}); }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  // Called when a handle is needed and none is set; a descendant makes one here.
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  void RequiredState(TCanvasState State);
  TCanvasState FState;

private:
  void DeselectHandles();
  void SelectFont();
  void SelectPen();
  void SelectBrush();
  void FontFreeing(TObject* Sender);
  void PenFreeing(TObject* Sender);
  void BrushFreeing(TObject* Sender);
  void FontChanged(TObject* Sender) { FState.Exclude(csFontValid); }
  void PenChanged(TObject* Sender) { FState.Exclude(csPenValid); }
  void BrushChanged(TObject* Sender) { FState.Exclude(csBrushValid); }

  HDC FHandle = nullptr;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  // What the DC held before ours went in, to put back.
  HGDIOBJ FOldFont = nullptr;
  HGDIOBJ FOldPen = nullptr;
  HGDIOBJ FOldBrush = nullptr;
  TCopyMode FCopyMode = cmSrcCopy;
};
