#include "platform/CommonDialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>

#include "platform/Forms.h"

// <commdlg.h> brings these back after platform/Win.h removed them.
#undef ChooseColor
#undef ChooseFont

DEFINE_ENUM_INFO(TColorDialogOption, L"cdFullOpen", L"cdPreventFullOpen", L"cdSolidColor", L"cdAnyColor")
DEFINE_ENUM_INFO(TFontDialogOption, L"fdEffects", L"fdFixedPitchOnly", L"fdTrueTypeOnly", L"fdForceFontExist",
                 L"fdScalableOnly", L"fdLimitSize")

IMPLEMENT_CLASS(TCommonDialog, TComponent)

PUBLISHED(TColorDialog, TCommonDialog)
{
  p.Prop(L"Color", &TColorDialog::GetColor, &TColorDialog::SetColor).Default(clBlack).Idents(&ColorIdents());
  p.Object(L"CustomColors", &TColorDialog::GetCustomColors, &TColorDialog::SetCustomColors);
  p.Prop(L"Options", &TColorDialog::GetOptions, &TColorDialog::SetOptions);
}

PUBLISHED(TFontDialog, TCommonDialog)
{
  p.Object(L"Font", &TFontDialog::GetFont, &TFontDialog::SetFont);
  p.Prop(L"Options", &TFontDialog::GetOptions, &TFontDialog::SetOptions).Default(TFontDialogOptions{fdEffects});
  p.Prop(L"MinFontSize", &TFontDialog::GetMinFontSize, &TFontDialog::SetMinFontSize).Default(0);
  p.Prop(L"MaxFontSize", &TFontDialog::GetMaxFontSize, &TFontDialog::SetMaxFontSize).Default(0);
}

namespace {

TChooseColorProc& ColorProc()
{
  static TChooseColorProc proc;
  return proc;
}

TChooseFontProc& FontProc()
{
  static TChooseFontProc proc;
  return proc;
}

bool RunChooseColor(CHOOSECOLORW& Params)
{
  const TChooseColorProc& proc = ColorProc();
  return proc ? proc(Params) : ChooseColorW(&Params) != FALSE;
}

bool RunChooseFont(CHOOSEFONTW& Params)
{
  const TChooseFontProc& proc = FontProc();
  return proc ? proc(Params) : ChooseFontW(&Params) != FALSE;
}

constexpr COLORREF CustomColorDefault = RGB(255, 255, 255);

// "RRGGBB" (red first) into a COLORREF; false for anything but six hexadecimal digits.
bool ParseRRGGBB(const String& Text, COLORREF& Color)
{
  if (Text.size() != 6)
    return false;
  uint32_t value = 0;
  for (wchar_t ch : Text) {
    int digit;
    if (ch >= L'0' && ch <= L'9')
      digit = ch - L'0';
    else if (ch >= L'A' && ch <= L'F')
      digit = ch - L'A' + 10;
    else if (ch >= L'a' && ch <= L'f')
      digit = ch - L'a' + 10;
    else
      return false;
    value = value * 16 + uint32_t(digit);
  }
  Color = RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
  return true;
}

String FormatRRGGBB(COLORREF Color)
{
  wchar_t text[8];
  swprintf(text, 8, L"%02X%02X%02X", GetRValue(Color), GetGValue(Color), GetBValue(Color));
  return text;
}

}  // namespace

TChooseColorProc SetChooseColorProc(TChooseColorProc Proc)
{
  TChooseColorProc previous = std::move(ColorProc());
  ColorProc() = std::move(Proc);
  return previous;
}

TChooseFontProc SetChooseFontProc(TChooseFontProc Proc)
{
  TChooseFontProc previous = std::move(FontProc());
  FontProc() = std::move(Proc);
  return previous;
}

// ---------------------------------------------------------------------------

bool TCommonDialog::Execute()
{
  HWND owner = GetActiveWindow();
  if (!owner && Application)
    owner = Application->GetHandle();
  return Execute(owner);
}

// ---------------------------------------------------------------------------

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner), FCustomColors(new TStringList) {}

TColorDialog::~TColorDialog()
{
  delete FCustomColors;
}

String TColorDialog::CustomColorName(int Index)
{
  return String(L"Color") + wchar_t(L'A' + Index);
}

bool TColorDialog::Execute(HWND ParentWnd)
{
  COLORREF custom[ColorDialogCustomColorCount];
  for (int i = 0; i < ColorDialogCustomColorCount; ++i) {
    custom[i] = CustomColorDefault;
    if (!ParseRRGGBB(FCustomColors->Values(CustomColorName(i)), custom[i]))
      custom[i] = CustomColorDefault;
  }

  CHOOSECOLORW params{};
  params.lStructSize = sizeof params;
  params.hwndOwner = ParentWnd;
  params.rgbResult = ColorToRGB(FColor);
  params.lpCustColors = custom;
  params.Flags = CC_RGBINIT;
  if (FOptions.Contains(cdFullOpen))
    params.Flags |= CC_FULLOPEN;
  if (FOptions.Contains(cdPreventFullOpen))
    params.Flags |= CC_PREVENTFULLOPEN;
  if (FOptions.Contains(cdSolidColor))
    params.Flags |= CC_SOLIDCOLOR;
  if (FOptions.Contains(cdAnyColor))
    params.Flags |= CC_ANYCOLOR;

  DoShow();
  bool ok = RunChooseColor(params);
  DoClose();
  if (!ok)
    return false;

  FColor = TColor(params.rgbResult & 0xFFFFFF);
  FCustomColors->BeginUpdate();
  for (int i = 0; i < ColorDialogCustomColorCount; ++i) {
    String name = CustomColorName(i);
    COLORREF color = custom[i] & 0xFFFFFF;
    if (color != CustomColorDefault || FCustomColors->IndexOfName(name) >= 0)
      FCustomColors->SetValues(name, FormatRRGGBB(color));
  }
  FCustomColors->EndUpdate();
  return true;
}

// ---------------------------------------------------------------------------

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(new TFont) {}

TFontDialog::~TFontDialog()
{
  delete FFont;
}

bool TFontDialog::Execute(HWND ParentWnd)
{
  LOGFONTW logFont = FFont->GetLogFont();
  CHOOSEFONTW params{};
  params.lStructSize = sizeof params;
  params.hwndOwner = ParentWnd;
  params.lpLogFont = &logFont;
  params.rgbColors = ColorToRGB(FFont->GetColor());
  params.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS;
  if (FOptions.Contains(fdEffects))
    params.Flags |= CF_EFFECTS;
  if (FOptions.Contains(fdFixedPitchOnly))
    params.Flags |= CF_FIXEDPITCHONLY;
  if (FOptions.Contains(fdTrueTypeOnly))
    params.Flags |= CF_TTONLY;
  if (FOptions.Contains(fdForceFontExist))
    params.Flags |= CF_FORCEFONTEXIST;
  if (FOptions.Contains(fdScalableOnly))
    params.Flags |= CF_SCALABLEONLY;
  if (FOptions.Contains(fdLimitSize) && (FMinFontSize > 0 || FMaxFontSize > 0)) {
    params.Flags |= CF_LIMITSIZE;
    params.nSizeMin = std::max(FMinFontSize, 0);
    // No upper limit given: the largest size the dialog's size box accepts.
    params.nSizeMax = FMaxFontSize > 0 ? FMaxFontSize : 0x7FFF;
  }

  DoShow();
  bool ok = RunChooseFont(params);
  DoClose();
  if (!ok)
    return false;

  // Without effects the dialog offers neither colour nor underline nor strike-out, so
  // what it hands back for them is not the user's choice.
  bool effects = FOptions.Contains(fdEffects);
  TFontStyles kept = FFont->GetStyle() * TFontStyles{fsUnderline, fsStrikeOut};
  FFont->Assign(logFont);
  if (effects) {
    FFont->SetColor(TColor(params.rgbColors & 0xFFFFFF));
  } else {
    TFontStyles style = FFont->GetStyle() - TFontStyles{fsUnderline, fsStrikeOut};
    FFont->SetStyle(style + kept);
  }
  return true;
}
