// Shortcut values and their text form.
#include <gtest/gtest.h>

#include <map>

#include "platform/Menus.h"
#include "platform/Win.h"

namespace {

const TShiftState AllModifiers[] = {
    {}, {ssShift}, {ssCtrl}, {ssAlt}, {ssShift, ssCtrl}, {ssShift, ssAlt}, {ssCtrl, ssAlt}, {ssShift, ssCtrl, ssAlt},
};

}  // namespace

TEST(ShortCutValue, ModifiersTakeTheHighBits)
{
  EXPECT_EQ(ShortCut('A', {}), 0x0041);
  EXPECT_EQ(ShortCut('A', {ssShift}), 0x2041);
  EXPECT_EQ(ShortCut('A', {ssCtrl}), 0x4041);
  EXPECT_EQ(ShortCut('A', {ssAlt}), 0x8041);
  EXPECT_EQ(ShortCut(VK_F5, {ssShift, ssCtrl, ssAlt, ssLeft, ssDouble}), 0xE074);
  // A key that does not fit in the low byte cannot be a shortcut.
  EXPECT_EQ(ShortCut(0x141, {ssCtrl}), 0);
}

TEST(ShortCutValue, SplitsBackIntoKeyAndModifiers)
{
  for (TShiftState shift : AllModifiers) {
    uint16_t key = 0;
    TShiftState back{ssLeft};
    ShortCutToKey(ShortCut(VK_INSERT, shift), key, back);
    EXPECT_EQ(key, VK_INSERT);
    EXPECT_EQ(back, shift);
  }
}

TEST(ShortCutText, FixedNames)
{
  struct Row {
    TShortCut ShortCut;
    const wchar_t* Text;
  };
  const Row rows[] = {
      {'A', L"A"},
      {'7', L"7"},
      {VK_F1, L"F1"},
      {VK_F12, L"F12"},
      {VK_F24, L"F24"},
      {VK_BACK, L"BkSp"},
      {VK_TAB, L"Tab"},
      {VK_ESCAPE, L"Esc"},
      {VK_RETURN, L"Enter"},
      {VK_SPACE, L"Space"},
      {VK_PRIOR, L"PgUp"},
      {VK_NEXT, L"PgDn"},
      {VK_END, L"End"},
      {VK_HOME, L"Home"},
      {VK_LEFT, L"Left"},
      {VK_UP, L"Up"},
      {VK_RIGHT, L"Right"},
      {VK_DOWN, L"Down"},
      {VK_INSERT, L"Ins"},
      {VK_DELETE, L"Del"},
      {VK_NUMPAD0, L"Num 0"},
      {VK_NUMPAD9, L"Num 9"},
      {VK_ADD, L"Num +"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ShortCutToText(row.ShortCut), row.Text) << std::hex << row.ShortCut;
}

TEST(ShortCutText, ModifiersAreWrittenShiftCtrlAlt)
{
  EXPECT_EQ(ShortCutToText(ShortCut('S', {ssCtrl})), L"Ctrl+S");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, {ssShift})), L"Shift+Del");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F4, {ssAlt, ssCtrl})), L"Ctrl+Alt+F4");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, {ssAlt, ssCtrl, ssShift})), L"Shift+Ctrl+Alt+F5");
}

TEST(ShortCutText, KeysWithoutANameGiveEmptyText)
{
  EXPECT_EQ(ShortCutToText(0), L"");
  EXPECT_EQ(ShortCutToText(scCtrl), L"");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_LBUTTON, {ssCtrl})), L"");
}

TEST(TextToShortCut, ReadsAnyCaseAndAnyModifierOrder)
{
  EXPECT_EQ(TextToShortCut(L"Ctrl+S"), ShortCut('S', {ssCtrl}));
  EXPECT_EQ(TextToShortCut(L"ctrl+shift+a"), ShortCut('A', {ssCtrl, ssShift}));
  EXPECT_EQ(TextToShortCut(L"Alt+Ctrl+X"), ShortCut('X', {ssCtrl, ssAlt}));
  EXPECT_EQ(TextToShortCut(L"SHIFT+pgdn"), ShortCut(VK_NEXT, {ssShift}));
  EXPECT_EQ(TextToShortCut(L"Ctrl+Num +"), ShortCut(VK_ADD, {ssCtrl}));
  EXPECT_EQ(TextToShortCut(L"F10"), VK_F10);
}

TEST(TextToShortCut, UnknownTextGivesZero)
{
  for (const wchar_t* text :
       {L"", L"Ctrl+", L"Ctrl+Shift+", L"Banana", L"Ctrl+Banana", L"Ctrl-S", L" Ctrl+S", L"F25", L"Ctrl+SS"})
    EXPECT_EQ(TextToShortCut(text), 0) << ToUtf8(text);
}

// Every named key survives the trip through its text with every modifier combination.
// Where the keyboard layout gives two keys one name (left and right Shift), the text
// reads back as the first of them, and that key's text is the same text.
TEST(ShortCutRoundTrip, EveryNamedKeyWithEveryModifier)
{
  std::map<String, int> firstKeyOfName;
  int named = 0;
  for (int key = 1; key < 256; ++key) {
    String name = KeyToText(uint16_t(key));
    if (name.empty())
      continue;
    ++named;
    firstKeyOfName.emplace(UpperCase(name), key);
    int expectedKey = firstKeyOfName[UpperCase(name)];
    for (TShiftState shift : AllModifiers) {
      TShortCut original = ShortCut(uint16_t(key), shift);
      String text = ShortCutToText(original);
      TShortCut back = TextToShortCut(text);
      EXPECT_EQ(back, ShortCut(uint16_t(expectedKey), shift)) << ToUtf8(text);
      EXPECT_EQ(ShortCutToText(back), text);
    }
  }
  // Letters, digits, function keys and the fixed names at least.
  EXPECT_GE(named, 26 + 10 + 24 + 15 + 15);
}
