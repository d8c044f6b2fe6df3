// Colours and the drawing objects: TColor with its system-colour encoding and names,
// TFont, TBrush and TPen with change events and lazily made GDI handles, and the
// process-wide count of GDI objects this layer owns, which leak tests read.
#pragma once

#include "platform/Classes.h"
#include "platform/Types.h"

// ---------------------------------------------------------------------------
// Colours. A TColor is an RGB value (0x00BBGGRR), a system colour (0xFF0000nn, nn a
// COLOR_ index) or one of the two special values.

using TColor = int32_t;

constexpr TColor clSystemColor = TColor(0xFF000000);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value to draw with: system colours through GetSysColor, everything else as
// its low three bytes. clNone and clDefault have no RGB value and give black.
uint32_t ColorToRGB(TColor Color);
inline bool IsSysColor(TColor Color)
{
  return (uint32_t(Color) & 0xFF000000u) == 0xFF000000u;
}
// "clBtnFace" for named colours, "$00BBGGRR" otherwise.
String ColorToString(TColor Color);
// Names (case-insensitive), "$hex" and decimal; raises EConvertError otherwise.
TColor StringToColor(const String& S);
bool IdentToColor(const String& Ident, int32_t& Color);
bool ColorToIdent(int32_t Color, String& Ident);
// The identifier map published colour properties use, so form data writes "clBtnFace".
const TIdentMap& ColorIdents();
// Character set names (ANSI_CHARSET, DEFAULT_CHARSET, ...) for the font's Charset.
const TIdentMap& CharsetIdents();

// ---------------------------------------------------------------------------
// GDI object accounting. Every GDI object, memory DC, icon and image list that this
// layer creates goes through these, so that a test can compare counts around a case:
// the system's own count is not available under every host.

int GdiObjectsInUse();
// Counts an object the layer now owns (made by it or adopted); nil is not counted.
void TrackGdiHandle(const void* Handle);
template <class H>
H TrackGdiObject(H Handle)
{
  TrackGdiHandle(Handle);
  return Handle;
}
// DeleteObject with the count kept; nil-safe. Returns false when GDI refused.
bool DeleteGdiObject(HGDIOBJ Handle);
// DeleteDC with the count kept; nil-safe.
bool DeleteGdiDC(HDC DC);
// DestroyIcon with the count kept; nil-safe.
bool DestroyGdiIcon(HICON Icon);
// Forgets a handle given away to a caller (ReleaseHandle) without deleting it.
void UntrackGdiObject(const void* Handle);

// ---------------------------------------------------------------------------
// The drawing objects share a change event and one owned handle each. A change first
// tells the owner that the handle is going (so a canvas deselects it), frees it, and
// then fires OnChange once.

class TGraphicsObject : public TPersistent {
  DECLARE_CLASS(TGraphicsObject, TPersistent)
public:
  ~TGraphicsObject() override;

  TNotifyEvent OnChange;
  // Told before the handle is freed; the canvas owning the object uses it.
  TNotifyEvent OnHandleFreeing;
  bool HandleAllocated() const { return FHandle != nullptr; }

protected:
  // Frees the handle after telling OnHandleFreeing; the next Handle read makes a new one.
  void FreeHandle();
  virtual void Changed();
  HGDIOBJ FHandle = nullptr;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
DECLARE_ENUM_INFO(TFontStyle)
enum TFontPitch { fpDefault, fpVariable, fpFixed };
DECLARE_ENUM_INFO(TFontPitch)
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural };
DECLARE_ENUM_INFO(TFontQuality)
using TFontCharset = uint8_t;
using TFontName = String;

class TFont : public TGraphicsObject {
  DECLARE_CLASS(TFont, TGraphicsObject)
public:
  TFont();

  void Assign(TPersistent* Source) override;
  // Takes every attribute of a logical font; the colour is kept.
  void Assign(const LOGFONTW& LogFont);
  TFont& operator=(const LOGFONTW& LogFont)
  {
    Assign(LogFont);
    return *this;
  }
  LOGFONTW GetLogFont() const;

  // Made on first use, remade after a change of an attribute that it depends on.
  HFONT GetHandle();
  // Adopts a font handle: its attributes are read back and the handle is owned from now.
  void SetHandle(HFONT Value);

  const String& GetName() const { return FName; }
  void SetName(const String& Value);
  int GetHeight() const { return FHeight; }
  void SetHeight(int Value);
  // Points, from Height and the screen's vertical pixels per inch.
  int GetSize() const;
  void SetSize(int Value);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TFontCharset GetCharset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  // Tenths of a degree, counter-clockwise.
  int GetOrientation() const { return FOrientation; }
  void SetOrientation(int Value);
  TFontQuality GetQuality() const { return FQuality; }
  void SetQuality(TFontQuality Value);
  int GetPixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);

  // The screen's LOGPIXELSY, read once.
  static int ScreenPixelsPerInch();

private:
  // Frees the handle, runs the change and fires OnChange, unless nothing differs.
  template <class V>
  void Update(V& field, const V& value);

  String FName = L"Tahoma";
  int FHeight = -11;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  int FOrientation = 0;
  TFontQuality FQuality = fqDefault;
  int FPixelsPerInch;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
DECLARE_ENUM_INFO(TBrushStyle)

class TBitmap;

class TBrush : public TGraphicsObject {
  DECLARE_CLASS(TBrush, TGraphicsObject)
public:
  TBrush() = default;
  void Assign(TPersistent* Source) override;

  HBRUSH GetHandle();
  // Adopts a brush handle; its colour and style are read back.
  void SetHandle(HBRUSH Value);
  TColor GetColor() const { return FColor; }
  // Setting a colour on a clear brush makes it solid.
  void SetColor(TColor Value);
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // A pattern bitmap, not owned; it wins over Color and Style while set. The handle is
  // made from the bitmap as it is then, so later changes to it need SetBitmap again.
  TBitmap* GetBitmap() const;
  void SetBitmap(TBitmap* Value);

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TWeakRef<TBitmap> FBitmap;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
DECLARE_ENUM_INFO(TPenStyle)
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor,
};
DECLARE_ENUM_INFO(TPenMode)

class TPen : public TGraphicsObject {
  DECLARE_CLASS(TPen, TGraphicsObject)
public:
  TPen() = default;
  void Assign(TPersistent* Source) override;

  HPEN GetHandle();
  void SetHandle(HPEN Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  int GetWidth() const { return FWidth; }
  // Widths below one are taken as one.
  void SetWidth(int Value);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  // The raster operation the canvas sets with the pen; it does not change the handle.
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value);
  // The SetROP2 code of Mode.
  int Rop2() const;

private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};
