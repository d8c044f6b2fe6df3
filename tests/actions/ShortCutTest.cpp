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
