// Key names for shortcut texts: fixed names where keyboard layouts disagree, the
// layout's own names for the rest, made once per layout.
#include <mutex>

#include "platform/ShortCutText.h"
#include "platform/Win.h"

namespace {

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
  TShortCut Parse(const String& text)
  {
    HKL layout = GetKeyboardLayout(0);
    std::lock_guard<std::mutex> guard(FLock);
    if (!FValid || layout != FLayout) {
      FTable.Fill(ComputeKeyName);
      FLayout = layout;
      FValid = true;
    }
    return ShortCutOfText(text, FTable);
  }

private:
  std::mutex FLock;
  TKeyNameTable FTable;
  HKL FLayout = nullptr;
  bool FValid = false;
};

TKeyNames& KeyNames()
{
  static TKeyNames names;
  return names;
}

}  // namespace

String KeyToText(uint16_t Key)
{
  if (Key == 0 || Key > 0xFF)
    return String();
  return ComputeKeyName(uint8_t(Key));
}

String ShortCutToText(TShortCut ShortCut)
{
  return ShortCutTextOf(ShortCut, ComputeKeyName);
}

TShortCut TextToShortCut(const String& Text)
{
  return KeyNames().Parse(Text);
}
