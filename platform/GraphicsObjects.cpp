#include "platform/Graphics.h"

#include <atomic>

// ---------------------------------------------------------------------------
// Colours

namespace {

const TIdentMap kColorIdents = {
    {clBlack, L"clBlack"},
    {clMaroon, L"clMaroon"},
    {clGreen, L"clGreen"},
    {clOlive, L"clOlive"},
    {clNavy, L"clNavy"},
    {clPurple, L"clPurple"},
    {clTeal, L"clTeal"},
    {clGray, L"clGray"},
    {clSilver, L"clSilver"},
    {clRed, L"clRed"},
    {clLime, L"clLime"},
    {clYellow, L"clYellow"},
    {clBlue, L"clBlue"},
    {clFuchsia, L"clFuchsia"},
    {clAqua, L"clAqua"},
    {clWhite, L"clWhite"},
    {clMoneyGreen, L"clMoneyGreen"},
    {clSkyBlue, L"clSkyBlue"},
    {clCream, L"clCream"},
    {clMedGray, L"clMedGray"},
    {clActiveBorder, L"clActiveBorder"},
    {clActiveCaption, L"clActiveCaption"},
    {clAppWorkSpace, L"clAppWorkSpace"},
    {clBackground, L"clBackground"},
    {clBtnFace, L"clBtnFace"},
    {clBtnHighlight, L"clBtnHighlight"},
    {clBtnShadow, L"clBtnShadow"},
    {clBtnText, L"clBtnText"},
    {clCaptionText, L"clCaptionText"},
    {clDefault, L"clDefault"},
    {clGradientActiveCaption, L"clGradientActiveCaption"},
    {clGradientInactiveCaption, L"clGradientInactiveCaption"},
    {clGrayText, L"clGrayText"},
    {clHighlight, L"clHighlight"},
    {clHighlightText, L"clHighlightText"},
    {clHotLight, L"clHotLight"},
    {clInactiveBorder, L"clInactiveBorder"},
    {clInactiveCaption, L"clInactiveCaption"},
    {clInactiveCaptionText, L"clInactiveCaptionText"},
    {clInfoBk, L"clInfoBk"},
    {clInfoText, L"clInfoText"},
    {clMenu, L"clMenu"},
    {clMenuBar, L"clMenuBar"},
    {clMenuHighlight, L"clMenuHighlight"},
    {clMenuText, L"clMenuText"},
    {clNone, L"clNone"},
    {clScrollBar, L"clScrollBar"},
    {cl3DDkShadow, L"cl3DDkShadow"},
    {cl3DLight, L"cl3DLight"},
    {clWindow, L"clWindow"},
    {clWindowFrame, L"clWindowFrame"},
    {clWindowText, L"clWindowText"},
};

const TIdentMap kCharsetIdents = {
    {ANSI_CHARSET, L"ANSI_CHARSET"},
    {DEFAULT_CHARSET, L"DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, L"SYMBOL_CHARSET"},
    {MAC_CHARSET, L"MAC_CHARSET"},
    {SHIFTJIS_CHARSET, L"SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, L"HANGEUL_CHARSET"},
    {JOHAB_CHARSET, L"JOHAB_CHARSET"},
    {GB2312_CHARSET, L"GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, L"CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, L"GREEK_CHARSET"},
    {TURKISH_CHARSET, L"TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, L"VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, L"HEBREW_CHARSET"},
    {ARABIC_CHARSET, L"ARABIC_CHARSET"},
    {BALTIC_CHARSET, L"BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, L"RUSSIAN_CHARSET"},
    {THAI_CHARSET, L"THAI_CHARSET"},
    {EASTEUROPE_CHARSET, L"EASTEUROPE_CHARSET"},
    {OEM_CHARSET, L"OEM_CHARSET"},
};

std::atomic<int> gGdiObjects{0};

}  // namespace

const TIdentMap& ColorIdents()
{
  return kColorIdents;
}
const TIdentMap& CharsetIdents()
{
  return kCharsetIdents;
}

uint32_t ColorToRGB(TColor Color)
{
  if (IsSysColor(Color))
    return GetSysColor(int(Color & 0xFF));
  if (Color == clNone || Color == clDefault)
    return 0;
  return uint32_t(Color) & 0xFFFFFF;
}

bool IdentToColor(const String& Ident, int32_t& Color)
{
  int64_t value;
  if (!IdentToInt(kColorIdents, Ident, value))
    return false;
  Color = int32_t(value);
  return true;
}

bool ColorToIdent(int32_t Color, String& Ident)
{
  return IntToIdent(kColorIdents, Color, Ident);
}

String ColorToString(TColor Color)
{
  String name;
  if (ColorToIdent(Color, name))
    return name;
  return L"$" + IntToHex(uint32_t(Color), 8);
}

TColor StringToColor(const String& S)
{
  int32_t color;
  if (IdentToColor(Trim(S), color))
    return color;
  String text = Trim(S);
  bool hex = !text.empty() && text[0] == L'$';
  size_t start = hex ? 1 : (!text.empty() && text[0] == L'-' ? 1 : 0);
  if (start >= text.size() || text.size() - start > (hex ? 8u : 11u))
    throw EConvertError(L"'" + S + L"' is not a valid colour");
  int64_t value = 0;
  for (size_t i = start; i < text.size(); ++i) {
    int digit = HexDigitValue(text[i]);
    if (digit < 0 || (!hex && digit > 9))
      throw EConvertError(L"'" + S + L"' is not a valid colour");
    value = value * (hex ? 16 : 10) + digit;
  }
  if (!hex && start == 1)
    value = -value;
  if (!hex && (value < INT32_MIN || value > UINT32_MAX))
    throw EConvertError(L"'" + S + L"' is not a valid colour");
  return TColor(uint32_t(value));
}

// ---------------------------------------------------------------------------
// GDI accounting

int GdiObjectsInUse()
{
  return gGdiObjects.load();
}

void TrackGdiHandle(const void* Handle)
{
  if (Handle)
    ++gGdiObjects;
}

void UntrackGdiObject(const void* Handle)
{
  if (Handle)
    --gGdiObjects;
}

bool DeleteGdiObject(HGDIOBJ Handle)
{
  if (!Handle)
    return true;
  --gGdiObjects;
  return DeleteObject(Handle) != FALSE;
}

bool DeleteGdiDC(HDC DC)
{
  if (!DC)
    return true;
  --gGdiObjects;
  return DeleteDC(DC) != FALSE;
}

bool DestroyGdiIcon(HICON Icon)
{
  if (!Icon)
    return true;
  --gGdiObjects;
  return DestroyIcon(Icon) != FALSE;
}

// ---------------------------------------------------------------------------
// TGraphicsObject

IMPLEMENT_CLASS(TGraphicsObject, TPersistent)

TGraphicsObject::~TGraphicsObject()
{
  DeleteGdiObject(FHandle);
}

void TGraphicsObject::FreeHandle()
{
  if (!FHandle)
    return;
  CallEvent(OnHandleFreeing, this);
  DeleteGdiObject(FHandle);
  FHandle = nullptr;
}

void TGraphicsObject::Changed()
{
  CallEvent(OnChange, this);
}

// ---------------------------------------------------------------------------
// TFont

DEFINE_ENUM_INFO(TFontStyle, L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut")
DEFINE_ENUM_INFO(TFontPitch, L"fpDefault", L"fpVariable", L"fpFixed")
DEFINE_ENUM_INFO(TFontQuality, L"fqDefault", L"fqDraft", L"fqProof", L"fqNonAntialiased", L"fqAntialiased",
                 L"fqClearType", L"fqClearTypeNatural")

PUBLISHED(TFont, TGraphicsObject)
{
  p.Prop(L"Charset", &TFont::GetCharset, &TFont::SetCharset).Default(DEFAULT_CHARSET).Idents(&CharsetIdents());
  p.Prop(L"Color", &TFont::GetColor, &TFont::SetColor).Default(clWindowText).Idents(&ColorIdents());
  p.Prop(L"Height", &TFont::GetHeight, &TFont::SetHeight);
  p.Prop(L"Name", &TFont::GetName, &TFont::SetName);
  p.Prop(L"Orientation", &TFont::GetOrientation, &TFont::SetOrientation).Default(0);
  p.Prop(L"Pitch", &TFont::GetPitch, &TFont::SetPitch).Default(fpDefault);
  p.Prop(L"Quality", &TFont::GetQuality, &TFont::SetQuality).Default(fqDefault);
  p.Prop(L"Size", &TFont::GetSize, &TFont::SetSize).Stored(false);
  p.Prop(L"Style", &TFont::GetStyle, &TFont::SetStyle);
}

TFont::TFont() : FPixelsPerInch(ScreenPixelsPerInch()) {}

int TFont::ScreenPixelsPerInch()
{
  static const int ppi = [] {
    HDC dc = GetDC(nullptr);
    int value = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc)
      ReleaseDC(nullptr, dc);
    return value > 0 ? value : 96;
  }();
  return ppi;
}

template <class V>
void TFont::Update(V& field, const V& value)
{
  if (field == value)
    return;
  // The colour is not part of the logical font: the handle stays valid.
  if (static_cast<void*>(&field) != static_cast<void*>(&FColor))
    FreeHandle();
  field = value;
  Changed();
}

void TFont::SetName(const String& Value)
{
  // An empty name would let GDI choose anything; keep the current face instead.
  if (!Value.empty())
    Update(FName, Value);
}
void TFont::SetHeight(int Value)
{
  Update(FHeight, Value);
}
int TFont::GetSize() const
{
  return -MulDiv(FHeight, 72, FPixelsPerInch);
}
void TFont::SetSize(int Value)
{
  SetHeight(-MulDiv(Value, FPixelsPerInch, 72));
}
void TFont::SetStyle(TFontStyles Value)
{
  Update(FStyle, Value);
}
void TFont::SetColor(TColor Value)
{
  Update(FColor, Value);
}
void TFont::SetCharset(TFontCharset Value)
{
  Update(FCharset, Value);
}
// Values from outside the enumeration (form data, property access by number) are ignored.
void TFont::SetPitch(TFontPitch Value)
{
  if (Value >= fpDefault && Value <= fpFixed)
    Update(FPitch, Value);
}
void TFont::SetOrientation(int Value)
{
  Update(FOrientation, Value);
}
void TFont::SetQuality(TFontQuality Value)
{
  if (Value >= fqDefault && Value <= fqClearTypeNatural)
    Update(FQuality, Value);
}

void TFont::SetPixelsPerInch(int Value)
{
  // Only the Size reading depends on it; Height stays what it is.
  if (Value > 0)
    FPixelsPerInch = Value;
}

LOGFONTW TFont::GetLogFont() const
{
  static const BYTE qualities[] = {DEFAULT_QUALITY,          DRAFT_QUALITY,       PROOF_QUALITY,
                                   NONANTIALIASED_QUALITY,   ANTIALIASED_QUALITY, CLEARTYPE_QUALITY,
                                   CLEARTYPE_NATURAL_QUALITY};
  static const BYTE pitches[] = {DEFAULT_PITCH, VARIABLE_PITCH, FIXED_PITCH};
  LOGFONTW lf{};
  lf.lfHeight = FHeight;
  lf.lfEscapement = FOrientation;
  lf.lfOrientation = FOrientation;
  lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic);
  lf.lfUnderline = FStyle.Contains(fsUnderline);
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
  lf.lfCharSet = FCharset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = qualities[FQuality];
  lf.lfPitchAndFamily = pitches[FPitch];
  FName.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return lf;
}

HFONT TFont::GetHandle()
{
  if (!FHandle) {
    LOGFONTW lf = GetLogFont();
    FHandle = TrackGdiObject(CreateFontIndirectW(&lf));
  }
  return static_cast<HFONT>(FHandle);
}

void TFont::Assign(const LOGFONTW& LogFont)
{
  String name(LogFont.lfFaceName, wcsnlen(LogFont.lfFaceName, LF_FACESIZE));
  TFontStyles style;
  if (LogFont.lfWeight >= FW_BOLD)
    style += fsBold;
  if (LogFont.lfItalic)
    style += fsItalic;
  if (LogFont.lfUnderline)
    style += fsUnderline;
  if (LogFont.lfStrikeOut)
    style += fsStrikeOut;
  TFontPitch pitch = (LogFont.lfPitchAndFamily & 3) == FIXED_PITCH      ? fpFixed
                     : (LogFont.lfPitchAndFamily & 3) == VARIABLE_PITCH ? fpVariable
                                                                        : fpDefault;
  TFontQuality quality = fqDefault;
  switch (LogFont.lfQuality) {
    case DRAFT_QUALITY:
      quality = fqDraft;
      break;
    case PROOF_QUALITY:
      quality = fqProof;
      break;
    case NONANTIALIASED_QUALITY:
      quality = fqNonAntialiased;
      break;
    case ANTIALIASED_QUALITY:
      quality = fqAntialiased;
      break;
    case CLEARTYPE_QUALITY:
      quality = fqClearType;
      break;
    case CLEARTYPE_NATURAL_QUALITY:
      quality = fqClearTypeNatural;
      break;
    default:
      break;
  }
  if (name.empty())
    name = FName;
  if (name == FName && LogFont.lfHeight == FHeight && style == FStyle && LogFont.lfCharSet == FCharset &&
      pitch == FPitch && LogFont.lfEscapement == FOrientation && quality == FQuality)
    return;
  FreeHandle();
  FName = name;
  FHeight = LogFont.lfHeight;
  FStyle = style;
  FCharset = LogFont.lfCharSet;
  FPitch = pitch;
  FOrientation = LogFont.lfEscapement;
  FQuality = quality;
  Changed();
}

void TFont::Assign(TPersistent* Source)
{
  auto* font = ClassCast<TFont>(Source);
  if (!font) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (font == this)
    return;
  bool sameHandle = FName == font->FName && FHeight == font->FHeight && FStyle == font->FStyle &&
                    FCharset == font->FCharset && FPitch == font->FPitch && FOrientation == font->FOrientation &&
                    FQuality == font->FQuality;
  if (sameHandle && FColor == font->FColor && FPixelsPerInch == font->FPixelsPerInch)
    return;
  if (!sameHandle)
    FreeHandle();
  FName = font->FName;
  FHeight = font->FHeight;
  FStyle = font->FStyle;
  FColor = font->FColor;
  FCharset = font->FCharset;
  FPitch = font->FPitch;
  FOrientation = font->FOrientation;
  FQuality = font->FQuality;
  FPixelsPerInch = font->FPixelsPerInch;
  Changed();
}

void TFont::SetHandle(HFONT Value)
{
  if (Value == FHandle)
    return;
  LOGFONTW lf{};
  if (Value && GetObjectW(Value, sizeof lf, &lf) != sizeof lf)
    throw EInvalidGraphic(L"Invalid font handle");
  FreeHandle();
  if (Value) {
    FName = String(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE));
    FHeight = lf.lfHeight;
    FStyle = TFontStyles{};
    if (lf.lfWeight >= FW_BOLD)
      FStyle += fsBold;
    if (lf.lfItalic)
      FStyle += fsItalic;
    if (lf.lfUnderline)
      FStyle += fsUnderline;
    if (lf.lfStrikeOut)
      FStyle += fsStrikeOut;
    FCharset = lf.lfCharSet;
    FOrientation = lf.lfEscapement;
    FHandle = TrackGdiObject(Value);
  }
  Changed();
}

// ---------------------------------------------------------------------------
// TBrush

DEFINE_ENUM_INFO(TBrushStyle, L"bsSolid", L"bsClear", L"bsHorizontal", L"bsVertical", L"bsFDiagonal", L"bsBDiagonal",
                 L"bsCross", L"bsDiagCross")

PUBLISHED(TBrush, TGraphicsObject)
{
  p.Prop(L"Color", &TBrush::GetColor, &TBrush::SetColor).Default(clWhite).Idents(&ColorIdents());
  p.Prop(L"Style", &TBrush::GetStyle, &TBrush::SetStyle).Default(bsSolid);
}

TBitmap* TBrush::GetBitmap() const
{
  return FBitmap.Get();
}

void TBrush::SetColor(TColor Value)
{
  TBrushStyle style = FStyle == bsClear ? bsSolid : FStyle;
  if (Value == FColor && style == FStyle)
    return;
  FreeHandle();
  FColor = Value;
  FStyle = style;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
  if (Value == FStyle || Value < bsSolid || Value > bsDiagCross)
    return;
  FreeHandle();
  FStyle = Value;
  Changed();
}

void TBrush::SetBitmap(TBitmap* Value)
{
  // Always remade: the caller may have changed the pattern since it was last set.
  FreeHandle();
  FBitmap = TWeakRef<TBitmap>(Value);
  Changed();
}

HBRUSH TBrush::GetHandle()
{
  if (!FHandle) {
    HBRUSH brush = nullptr;
    TBitmap* bitmap = FBitmap.Get();
    if (bitmap && !bitmap->Empty())
      brush = CreatePatternBrush(bitmap->GetHandle());
    if (!brush) {
      LOGBRUSH lb{};
      lb.lbColor = ColorToRGB(FColor);
      if (FStyle == bsSolid)
        lb.lbStyle = BS_SOLID;
      else if (FStyle == bsClear)
        lb.lbStyle = BS_HOLLOW;
      else {
        lb.lbStyle = BS_HATCHED;
        lb.lbHatch = ULONG_PTR(FStyle - bsHorizontal);  // HS_HORIZONTAL ... HS_DIAGCROSS in order
      }
      brush = CreateBrushIndirect(&lb);
    }
    FHandle = TrackGdiObject(brush);
  }
  return static_cast<HBRUSH>(FHandle);
}

void TBrush::SetHandle(HBRUSH Value)
{
  if (Value == FHandle)
    return;
  LOGBRUSH lb{};
  if (Value && GetObjectW(Value, sizeof lb, &lb) != sizeof lb)
    throw EInvalidGraphic(L"Invalid brush handle");
  FreeHandle();
  if (Value) {
    FColor = TColor(lb.lbColor & 0xFFFFFF);
    FStyle = lb.lbStyle == BS_HOLLOW    ? bsClear
             : lb.lbStyle == BS_HATCHED ? TBrushStyle(bsHorizontal + std::min<ULONG_PTR>(lb.lbHatch, 5))
                                        : bsSolid;
    FBitmap = TWeakRef<TBitmap>();
    FHandle = TrackGdiObject(Value);
  }
  Changed();
}

void TBrush::Assign(TPersistent* Source)
{
  auto* brush = ClassCast<TBrush>(Source);
  if (!brush) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (brush == this)
    return;
  FreeHandle();
  FColor = brush->FColor;
  FStyle = brush->FStyle;
  FBitmap = brush->FBitmap;
  Changed();
}

// ---------------------------------------------------------------------------
// TPen

DEFINE_ENUM_INFO(TPenStyle, L"psSolid", L"psDash", L"psDot", L"psDashDot", L"psDashDotDot", L"psClear",
                 L"psInsideFrame", L"psUserStyle", L"psAlternate")
DEFINE_ENUM_INFO(TPenMode, L"pmBlack", L"pmWhite", L"pmNop", L"pmNot", L"pmCopy", L"pmNotCopy", L"pmMergePenNot",
                 L"pmMaskPenNot", L"pmMergeNotPen", L"pmMaskNotPen", L"pmMerge", L"pmNotMerge", L"pmMask", L"pmNotMask",
                 L"pmXor", L"pmNotXor")

PUBLISHED(TPen, TGraphicsObject)
{
  p.Prop(L"Color", &TPen::GetColor, &TPen::SetColor).Default(clBlack).Idents(&ColorIdents());
  p.Prop(L"Mode", &TPen::GetMode, &TPen::SetMode).Default(pmCopy);
  p.Prop(L"Style", &TPen::GetStyle, &TPen::SetStyle).Default(psSolid);
  p.Prop(L"Width", &TPen::GetWidth, &TPen::SetWidth).Default(1);
}

void TPen::SetColor(TColor Value)
{
  if (Value == FColor)
    return;
  FreeHandle();
  FColor = Value;
  Changed();
}

void TPen::SetWidth(int Value)
{
  Value = std::max(Value, 1);
  if (Value == FWidth)
    return;
  FreeHandle();
  FWidth = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
  if (Value == FStyle || Value < psSolid || Value > psAlternate)
    return;
  FreeHandle();
  FStyle = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value)
{
  if (Value == FMode || Value < pmBlack || Value > pmNotXor)
    return;
  FMode = Value;
  Changed();
}

int TPen::Rop2() const
{
  static const int codes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,        R2_COPYPEN,  R2_NOTCOPYPEN,
                              R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                              R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  return codes[FMode];
}

HPEN TPen::GetHandle()
{
  if (!FHandle) {
    COLORREF color = ColorToRGB(FColor);
    HPEN pen = nullptr;
    if (FStyle == psAlternate) {
      LOGBRUSH lb{BS_SOLID, color, 0};
      pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
    } else {
      // A user style needs a dash table the pen does not have: draw it solid.
      int style = FStyle == psUserStyle ? PS_SOLID : int(FStyle);  // psSolid ... psInsideFrame are PS_ codes
      pen = CreatePen(style, FWidth, color);
    }
    FHandle = TrackGdiObject(pen);
  }
  return static_cast<HPEN>(FHandle);
}

void TPen::SetHandle(HPEN Value)
{
  if (Value == FHandle)
    return;
  LOGPEN lp{};
  if (Value && GetObjectW(Value, sizeof lp, &lp) != sizeof lp)
    throw EInvalidGraphic(L"Invalid pen handle");
  FreeHandle();
  if (Value) {
    FColor = TColor(lp.lopnColor & 0xFFFFFF);
    FWidth = std::max<int>(lp.lopnWidth.x, 1);
    FStyle = lp.lopnStyle <= PS_INSIDEFRAME ? TPenStyle(lp.lopnStyle) : psSolid;
    FHandle = TrackGdiObject(Value);
  }
  Changed();
}

void TPen::Assign(TPersistent* Source)
{
  auto* pen = ClassCast<TPen>(Source);
  if (!pen) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (pen == this)
    return;
  if (pen->FColor == FColor && pen->FWidth == FWidth && pen->FStyle == FStyle && pen->FMode == FMode)
    return;
  FreeHandle();
  FColor = pen->FColor;
  FWidth = pen->FWidth;
  FStyle = pen->FStyle;
  FMode = pen->FMode;
  Changed();
}
