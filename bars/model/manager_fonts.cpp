// The bar manager's fonts: Font (the system menu font while UseSystemFont is on, its
// height following the system while Scaled), the second font and the small-caption font.
#include "bars/model/manager.h"

#include "bars/utils/utils.h"

namespace {

// Captions narrower than this are hard to read: derived fonts keep at least 11 pixels.
constexpr int MinDerivedFontHeight = -11;

// All zero (the default font) when the system gives none.
NONCLIENTMETRICSW NonClientMetrics()
{
  return ReadNonClientMetrics().value_or(NONCLIENTMETRICSW{});
}

int LimitHeight(int Height)
{
  return Height > MinDerivedFontHeight ? MinDerivedFontHeight : Height;
}

}  // namespace

void TdxBarManager::SetFont(TFont* Value)
{
  if (Value)
    FFont->Assign(Value);
}

void TdxBarManager::SetUseSystemFont(bool Value)
{
  if (FUseSystemFont == Value)
    return;
  FUseSystemFont = Value;
  if (Value)
    SystemFontChanged();
}

void TdxBarManager::SetScaled(bool Value)
{
  if (FScaled == Value)
    return;
  FScaled = Value;
  if (FFont)
    SystemFontChanged();
}

void TdxBarManager::SystemFontChanged()
{
  ApplySystemFont();
  UpdateDerivedFonts();
}

void TdxBarManager::ApplySystemFont()
{
  if (!FUseSystemFont && !FScaled)
    return;
  LOGFONTW menuFont = NonClientMetrics().lfMenuFont;
  TRestore setting(FSettingFont, true);
  if (FUseSystemFont) {
    TColor color = FFont->GetColor();
    FFont->Assign(menuFont);
    FFont->SetColor(color);
  } else {
    FFont->SetHeight(menuFont.lfHeight);
  }
}

void TdxBarManager::FontChanged(TObject* Sender)
{
  // The manager's own changes finish in the code that made them.
  if (FSettingFont)
    return;
  FUseSystemFont = false;
  if (FScaled)
    ApplySystemFont();
  UpdateDerivedFonts();
}

void TdxBarManager::UpdateDerivedFonts()
{
  if (!FFont || !FSecondFont || !FSmallCaptionFont)
    return;
  FSecondFont->Assign(FFont.get());
  if (FScaled) {
    LOGFONTW iconFont{};
    if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof iconFont, &iconFont, 0))
      FSecondFont->SetHeight(LimitHeight(iconFont.lfHeight));
  }
  FSmallCaptionFont->Assign(NonClientMetrics().lfSmCaptionFont);
  if (!FUseSystemFont) {
    FSmallCaptionFont->SetHeight(LimitHeight(FSmallCaptionFont->GetHeight()));
    FSmallCaptionFont->SetName(FFont->GetName());
  }
  FFontChangedHandlers.Fire(static_cast<TObject*>(this));
  BarsFontChanged();
}
