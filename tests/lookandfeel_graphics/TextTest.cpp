// Text helpers: word wrapping, the narrowest rectangle for a line count, and drawing.
#include "GraphicsFixture.h"

#include "platform/Strings.h"

namespace {

using TTextTest = TDrawingTest;

std::vector<String> Split(TcxCanvas* Canvas, const String& Text, int Width)
{
  TStringList list;
  SplitTextIntoLines(Canvas, Text, Width, &list);
  std::vector<String> lines;
  for (int i = 0; i < list.Count(); ++i)
    lines.push_back(list.Strings(i));
  return lines;
}

TEST_F(TTextTest, SplitWrapsAtSpacesAndKeepsEveryLineInTheWidth)
{
  String text = L"one two three four five six";
  int width = Canvas()->TextWidth(L"one two th");
  auto lines = Split(Canvas(), text, width);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], L"one two");
  String joined;
  for (const String& line : lines) {
    EXPECT_LE(Canvas()->TextWidth(line), width) << std::string(line.begin(), line.end());
    joined += (joined.empty() ? L"" : L" ") + line;
  }
  EXPECT_EQ(joined, text) << "no word lost";
}

TEST_F(TTextTest, SplitBreaksLongWordsAndHonoursLineBreaks)
{
  auto lines = Split(Canvas(), L"abcdefghij", Canvas()->TextWidth(L"abcd"));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], L"abcd");
  lines = Split(Canvas(), L"a\r\nb\n\nc", 1000);
  EXPECT_EQ(lines, (std::vector<String>{L"a", L"b", L"", L"c"}));
  EXPECT_TRUE(Split(Canvas(), L"", 100).empty());
  lines = Split(Canvas(), L"x y", 0);
  EXPECT_EQ(lines, (std::vector<String>{L"x", L"y"})) << "at least one character per line";
}

TEST_F(TTextTest, RectForTwoLinesIsTheNarrowestThatFits)
{
  String text = L"Saves the current document under a new name";
  TRect r = GetTextRectForLineCount(Canvas(), text, 2);
  EXPECT_EQ(RectHeight(r), 2 * Canvas()->TextHeight(L"Wg"));
  EXPECT_LT(RectWidth(r), Canvas()->TextWidth(text));
  EXPECT_LE(Split(Canvas(), text, RectWidth(r)).size(), 2u) << "fits in two lines";
  EXPECT_GT(Split(Canvas(), text, RectWidth(r) - 1).size(), 2u) << "one pixel less does not";
  TRect three = GetTextRectForLineCount(Canvas(), text, 3);
  EXPECT_LE(RectWidth(three), RectWidth(r));
}

TEST_F(TTextTest, DrawTextInRectAndExtTextOut)
{
  int wgHeight = Canvas()->TextHeight(L"Wg"), wgWidth = Canvas()->TextWidth(L"Wg");
  TRect r = Rect(0, 0, 0, 0);
  int height = DrawTextInRect(Canvas()->GetHandle(), L"Wg", r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(height, wgHeight);
  EXPECT_EQ(RectWidth(r), wgWidth);
  SetTextColor(DC(), RGB(0, 0, 0));
  SetBkMode(DC(), TRANSPARENT);
  TRect clip = Rect(0, 0, 4, 40);
  EXPECT_TRUE(ExtTextOutString(DC(), Point(0, 0), ETO_CLIPPED, &clip, L"WWWWWW"));
  EXPECT_GT(CountPixels(Dib(), clip, [](COLORREF c) { return c != Paper; }), 0);
  EXPECT_EQ(CountPixels(Dib(), Rect(4, 0, Width, Height), [](COLORREF c) { return c != Paper; }), 0)
      << "clipped to the rectangle";
}

}  // namespace
