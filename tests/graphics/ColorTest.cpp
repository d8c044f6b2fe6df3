// Colours: the system-colour encoding, names for form data and text conversion.
#include <gtest/gtest.h>

#include "platform/Graphics.h"

TEST(Color, NamesRoundTrip)
{
  for (const TIdentMapEntry& e : ColorIdents()) {
    EXPECT_EQ(ColorToString(TColor(e.Value)), e.Name);
    EXPECT_EQ(StringToColor(e.Name), TColor(e.Value)) << ToUtf8(e.Name);
  }
  EXPECT_EQ(ColorToString(0x00123456), L"$00123456");
  EXPECT_EQ(StringToColor(L"$00123456"), 0x123456);
  EXPECT_EQ(StringToColor(L"clbtnface"), clBtnFace);
  EXPECT_EQ(StringToColor(L"255"), clRed);
  EXPECT_EQ(StringToColor(L"-16777201"), clBtnFace);
}

TEST(Color, BadTextRaises)
{
  for (const wchar_t* text : {L"", L"$", L"clNoSuchColour", L"$123456789", L"12x", L"$GG"})
    EXPECT_THROW(StringToColor(text), EConvertError) << ToUtf8(text);
}
