#include "platform/Menus.h"

#include <array>
#include <mutex>

#include "platform/Win.h"

namespace {

constexpr TShortCut ModifierMask = scShift | scCtrl | scAlt;

// The modifier texts, in the order they are written.
struct TModifierName {
  TShortCut Bit;
  const wchar_t* Text;
};
constexpr TModifierName ModifierNames[] = {{scShift, L"Shift+"}, {scCtrl, L"Ctrl+"}, {scAlt, L"Alt+"}};

// Keys whose names are fixed rather than taken from the keyboard layout. The numeric pad
// is named alike on every layout (layouts name those keys unevenly).
struct TKeyName {
  uint8_t Key;
  const wchar_t* Name;
};
constexpr TKeyName FixedKeyNames[] = {
    {VK_BACK, L"BkSp"},   {VK_TAB, L"Tab"},        {VK_RETURN, L"Enter"},    {VK_ESCAPE, L"Esc"},
    {VK_SPACE, L"Space"}, {VK_PRIOR, L"PgUp"},     {VK_NEXT, L"PgDn"},       {VK_END, L"End"},
    {VK_HOME, L"Home"},   {VK_LEFT, L"Left"},      {VK_UP, L"Up"},           {VK_RIGHT, L"Right"},
    {VK_DOWN, L"Down"},   {VK_INSERT, L"Ins"},     {VK_DELETE, L"Del"},      {VK_MULTIPLY, L"Num *"},
    {VK_ADD, L"Num +"},   {VK_SUBTRACT, L"Num -"}, {VK_DECIMAL, L"Num Del"}, {VK_DIVIDE, L"Num /"},
};

const wchar_t* FixedKeyName(uint8_t key)
{
  for (const TKeyName& entry : FixedKeyNames)
    if (entry.Key == key)
      return entry.Name;
  return nullptr;
}

// Keys that sit on the extended part of the keyboard: their scan code alone names
// another key (the numeric pad's twin), so the name lookup needs the extended bit.
bool IsExtendedKey(uint8_t key)
{
  switch (key) {
    case VK_NUMLOCK:
    case VK_RCONTROL:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_SNAPSHOT:
    case VK_CANCEL:
      return true;
    default:
      return false;
  }
}

// The keyboard layout's name of a key, through its scan code; empty when it has none.
String LayoutKeyName(uint8_t key)
{
  UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  if (scan == 0)
    return String();
  LONG lParam = LONG(scan << 16);
  if (IsExtendedKey(key))
    lParam |= 1 << 24;
  wchar_t name[64];
  int length = GetKeyNameTextW(lParam, name, int(std::size(name)));
  return length > 0 ? String(name, size_t(length)) : String();
}

String ComputeKeyName(uint8_t key)
{
  if (const wchar_t* fixed = FixedKeyName(key))
    return fixed;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return String(1, wchar_t(key));
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
    return L"Num " + String(1, wchar_t('0' + key - VK_NUMPAD0));
  if (key >= VK_F1 && key <= VK_F24)
    return L"F" + IntToStr(key - VK_F1 + 1);
  return LayoutKeyName(key);
}

// Names of all 256 keys, made once per keyboard layout: TextToShortCut compares with
// every one of them.
class TKeyNames {
public:
  // The first key with that name (case-insensitive), or 0.
  uint8_t Find(const String& name)
  {
    HKL layout = GetKeyboardLayout(0);
    std::lock_guard<std::mutex> guard(FLock);
    if (!FValid || layout != FLayout) {
      for (int key = 1; key < 256; ++key)
        FNames[size_t(key)] = ComputeKeyName(uint8_t(key));
      FLayout = layout;
      FValid = true;
    }
    for (size_t key = 1; key < FNames.size(); ++key)
      if (!FNames[key].empty() && SameText(FNames[key], name))
        return uint8_t(key);
    return 0;
  }

private:
  std::mutex FLock;
  std::array<String, 256> FNames;
  HKL FLayout = nullptr;
  bool FValid = false;
};

TKeyNames& KeyNames()
{
  static TKeyNames names;
  return names;
}

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

String KeyToText(uint16_t Key)
{
  if (Key == 0 || Key > 0xFF)
    return String();
  return ComputeKeyName(uint8_t(Key));
}

String ShortCutToText(TShortCut ShortCut)
{
  String name = KeyToText(ShortCut & 0xFF);
  if (name.empty())
    return String();
  String result;
  for (const auto& modifier : ModifierNames)
    if (ShortCut & modifier.Bit)
      result += modifier.Text;
  return result + name;
}

TShortCut TextToShortCut(const String& Text)
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
  uint8_t key = KeyNames().Find(keyText);
  return key ? TShortCut(key | modifiers) : TShortCut(scNone);
}
