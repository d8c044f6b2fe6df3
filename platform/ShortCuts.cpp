#include "platform/ShortCutText.h"

namespace {

constexpr TShortCut ModifierMask = scShift | scCtrl | scAlt;

// The modifier texts, in the order they are written.
struct TModifierName {
  TShortCut Bit;
  const wchar_t* Text;
};
constexpr TModifierName ModifierNames[] = {{scShift, L"Shift+"}, {scCtrl, L"Ctrl+"}, {scAlt, L"Alt+"}};

bool StartsWithText(const String& text, size_t pos, const wchar_t* prefix)
{
  size_t length = std::wcslen(prefix);
  return text.size() - pos >= length && SameText(text.substr(pos, length), prefix);
}

}  // namespace

TShortCut ShortCut(uint16_t Key, TShiftState Shift)
{
  // Only a virtual key of one byte can be combined with the modifier bits.
  if (Key > 0xFF)
    return scNone;
  TShortCut result = Key;
  if (Shift.Contains(ssShift))
    result |= scShift;
  if (Shift.Contains(ssCtrl))
    result |= scCtrl;
  if (Shift.Contains(ssAlt))
    result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut ShortCut, uint16_t& Key, TShiftState& Shift)
{
  Key = ShortCut & ~ModifierMask;
  Shift = TShiftState();
  if (ShortCut & scShift)
    Shift.Include(ssShift);
  if (ShortCut & scCtrl)
    Shift.Include(ssCtrl);
  if (ShortCut & scAlt)
    Shift.Include(ssAlt);
}

void TKeyNameTable::Fill(const TKeyNamer& NameOf)
{
  for (size_t key = 1; key < Names.size(); ++key)
    Names[key] = NameOf(uint8_t(key));
}

uint8_t TKeyNameTable::Find(const String& Name) const
{
  for (size_t key = 1; key < Names.size(); ++key)
    if (!Names[key].empty() && SameText(Names[key], Name))
      return uint8_t(key);
  return 0;
}

String ShortCutTextOf(TShortCut ShortCut, const TKeyNamer& NameOf)
{
  const uint8_t key = uint8_t(ShortCut & 0xFF);
  String name = key ? NameOf(key) : String();
  if (name.empty())
    return String();
  String result;
  for (const auto& modifier : ModifierNames)
    if (ShortCut & modifier.Bit)
      result += modifier.Text;
  return result + name;
}

TShortCut ShortCutOfText(const String& Text, const TKeyNameTable& Keys)
{
  TShortCut modifiers = 0;
  size_t pos = 0;
  for (bool found = true; found;) {
    found = false;
    for (const auto& modifier : ModifierNames)
      if (StartsWithText(Text, pos, modifier.Text)) {
        modifiers |= modifier.Bit;
        pos += std::wcslen(modifier.Text);
        found = true;
      }
  }
  String keyText = Text.substr(pos);
  if (keyText.empty())
    return scNone;
  uint8_t key = Keys.Find(keyText);
  return key ? TShortCut(key | modifiers) : TShortCut(scNone);
}

TAccelCaption ParseAccelCaption(const String& ACaption)
{
  constexpr wchar_t marker = L'&';
  TAccelCaption result;
  // Most captions mark nothing, and stay as they are.
  if (ACaption.find(marker) == String::npos) {
    result.Text = ACaption;
    return result;
  }
  result.Text.reserve(ACaption.size());
  const size_t length = ACaption.size();
  for (size_t i = 0; i < length; ++i) {
    // The last character is text whatever it is.
    if (ACaption[i] == marker && i + 1 < length) {
      ++i;
      if (ACaption[i] != marker && result.Index == String::npos) {
        result.Index = result.Text.size();
        result.SourceIndex = i;
      }
    }
    result.Text += ACaption[i];
  }
  return result;
}

wchar_t GetAccelChar(const String& ACaption)
{
  return ACaption.find(L'&') == String::npos ? L'\0' : ParseAccelCaption(ACaption).Char();
}

String StripAccelChars(const String& ACaption)
{
  return ParseAccelCaption(ACaption).Text;
}

String KeepFirstAccelMark(const String& ACaption)
{
  const TAccelCaption accel = ParseAccelCaption(ACaption);
  if (accel.Index == String::npos || GetAccelChar(ACaption.substr(accel.SourceIndex + 1)) == 0)
    return ACaption;
  auto literal = [](const String& APart) {
    String result;
    for (wchar_t c : APart) {
      if (c == L'&')
        result += c;
      result += c;
    }
    return result;
  };
  return literal(accel.Text.substr(0, accel.Index)) + L"&" + literal(accel.Text.substr(accel.Index));
}
