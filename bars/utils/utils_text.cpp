// Text, keys and fonts of the bar library: shortcut and accelerator text, virtual keys,
// enumeration names, the small-caption and icon-title fonts and DPI scaling.
#include "bars/utils/utils.h"

#include <cmath>
#include <cstddef>

#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/Strings.h"
#include "platform/Win.h"

namespace {

// The magnitude below which the library's fonts do not shrink (a font height of -11).
constexpr int MinFontHeight = -11;

}  // namespace

uint16_t ShortCutFromKeyMessage(uint16_t Key, intptr_t KeyFlags)
{
  if (Key == 0)
    return 0;
  uint16_t result = Key;
  if (GetKeyState(VK_SHIFT) < 0)
    result += scShift;
  if (GetKeyState(VK_CONTROL) < 0)
    result += scCtrl;
  // Bit 29 of a key message's flags is the context code: Alt was down.
  if (KeyDataHasAlt(KeyFlags))
    result += scAlt;
  return result;
}

String GetShortCutHintText(uint16_t AShortCut)
{
  if (AShortCut == 0)
    return String();
  String text = ShortCutToText(AShortCut);
  return text.empty() ? String() : L" (" + text + L")";
}

int FindAcceleratorCharPos(String& ACaption, bool ADelete)
{
  if (ACaption.find(L'&') == String::npos)
    return 0;
  TAccelCaption accel = ParseAccelCaption(ACaption);
  const size_t index = ADelete ? accel.Index : accel.SourceIndex;
  if (ADelete)
    ACaption = std::move(accel.Text);
  return index == String::npos ? 0 : int(index) + 1;
}

int FindAcceleratorCharPos(const String& ACaption)
{
  String copy = ACaption;
  return FindAcceleratorCharPos(copy, false);
}

wchar_t VirtualKeyToChar(uint16_t AKey)
{
  const UINT code = MapVirtualKeyW(AKey, MAPVK_VK_TO_CHAR);
  // Dead keys come with the top bit set; the character is in the low word.
  const wchar_t c = wchar_t(code & 0xFFFF);
  return c == L' ' ? 0 : c;
}

String GetLayoutPathSeparator(bool AIsRegistry)
{
  return AIsRegistry ? L"\\" : L".";
}

void GetEnumNames(const TEnumInfo* AInfo, TStrings* AList)
{
  if (!AInfo || !AList)
    return;
  for (const String& name : AInfo->Names)
    AList->Add(name);
}

void GetSetElementNames(const TEnumInfo* AElementInfo, TStrings* AList)
{
  GetEnumNames(AElementInfo, AList);
}

std::optional<NONCLIENTMETRICSW> ReadNonClientMetrics()
{
  NONCLIENTMETRICSW metrics{};
  for (UINT size : {UINT(sizeof metrics), UINT(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth))}) {
    metrics.cbSize = size;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, size, &metrics, 0))
      return metrics;
  }
  return std::nullopt;
}

TFont* CreateSmallCaptionFont(TFont* AFont, bool AUseSystemFont)
{
  auto font = std::make_unique<TFont>();
  if (const std::optional<NONCLIENTMETRICSW> metrics = ReadNonClientMetrics())
    font->Assign(metrics->lfSmCaptionFont);
  if (!AUseSystemFont) {
    font->SetHeight(std::min(font->GetHeight(), MinFontHeight));
    if (AFont)
      font->SetName(AFont->GetName());
  }
  return font.release();
}

void SetFontHandleFromFont(TFont* AFont, TFont* ATarget, bool AUseIconTitleHeight)
{
  if (!AFont || !ATarget)
    return;
  ATarget->Assign(AFont);
  if (!AUseIconTitleHeight)
    return;
  LOGFONTW iconTitle{};
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0))
    ATarget->SetHeight(std::min(int(iconTitle.lfHeight), MinFontHeight));
}

int ScaleToScreenDPI(int Value, int Base)
{
  if (Base == 0)
    return Value;
  const int ppi = Screen ? Screen->GetPixelsPerInch() : 96;
  // Half away from zero: 9 at 96 dpi scaled to 120 is 11.25, 10 is 12.5 -> 13.
  return int(std::lround(double(ppi) * Value / Base));
}
