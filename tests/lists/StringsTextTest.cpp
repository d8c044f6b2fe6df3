// The text forms of string lists: lines, comma and delimited text with their quoting
// rules, and text streams in their encodings.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/Classes.h"

namespace {

using L = std::vector<String>;

L Items(const TStrings& list)
{
  L out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(list.Strings(i));
  return out;
}

TStringList* Make(const L& items)
{
  auto* list = new TStringList;
  for (const String& s : items)
    list->Add(s);
  return list;
}

std::string Bytes(TMemoryStream& stream)
{
  return std::string(static_cast<const char*>(stream.Memory()), size_t(stream.GetSize()));
}

void LoadBytes(TStrings& list, const std::string& bytes)
{
  TMemoryStream stream;
  if (!bytes.empty())
    stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  stream.SetPosition(0);
  list.LoadFromStream(&stream);
}

}  // namespace

// ---------------------------------------------------------------------------
// Lines

TEST(StringsText, ReadingSplitsAtCrLfOrEitherAlone)
{
  struct Row {
    String text;
    L items;
  } rows[] = {
      {L"", {}},
      {L"one", {L"one"}},
      {L"a\r\nb\nc\rd", {L"a", L"b", L"c", L"d"}},
      {L"a\r\n", {L"a"}},  // a final line break adds no empty line
      {L"\r\n", {L""}},
      {L"\n\n", {L"", L""}},
      {L"a\n\rb", {L"a", L"", L"b"}},  // LF CR is two breaks
      {L"a\r\n\r\nb\r\n", {L"a", L"", L"b"}},
      {L" x \r\n\ty", {L" x ", L"\ty"}},  // blanks are kept
      {String(L"n\0ul\r\nz", 7), {String(L"n\0ul", 4), L"z"}},
  };
  for (const Row& row : rows) {
    TStringList list;
    list.Add(L"previous");
    list.SetText(row.text);
    EXPECT_EQ(Items(list), row.items) << "text: " << ToUtf8(row.text);
  }
}

// ---------------------------------------------------------------------------
// Comma text

TEST(StringsText, CommaTextReading)
{
  struct Row {
    String text;
    L items;
  } rows[] = {
      {L"", {}},
      {L"   ", {}},
      {L"a,b,c", {L"a", L"b", L"c"}},
      {L" a , b ,c ", {L"a", L"b", L"c"}},
      {L"a b", {L"a", L"b"}},  // blanks separate too
      {L"\"a b\",c", {L"a b", L"c"}},
      {L"\"say \"\"hi\"\"\",x", {L"say \"hi\"", L"x"}},
      {L"\"a,b\"", {L"a,b"}},
      {L"a,,b", {L"a", L"", L"b"}},
      {L"a,", {L"a", L""}},
      {L",a", {L"", L"a"}},
      {L",", {L"", L""}},
      {L"\"\"", {L""}},
      {L"\"\",\"\"", {L"", L""}},
      {L"\"unterminated, still", {L"unterminated, still"}},
      {L"\"ab\"cd", {L"ab", L"cd"}},
      {L"x\"y", {L"x\"y"}},  // a quote inside an item is kept
  };
  for (const Row& row : rows) {
    TStringList list;
    list.Add(L"previous");
    list.SetCommaText(row.text);
    EXPECT_EQ(Items(list), row.items) << "text: " << ToUtf8(row.text);
  }
}

TEST(StringsText, CommaTextWritingQuotesOnlyWhatNeedsIt)
{
  struct Row {
    L items;
    String text;
  } rows[] = {
      {{}, L""},
      {{L""}, L"\"\""},
      {{L"a", L"b"}, L"a,b"},
      {{L"a b", L"c,d", L"q\"x", L"", L"e"}, L"\"a b\",\"c,d\",\"q\"\"x\",,e"},
      {{L" lead"}, L"\" lead\""},
      {{L"tab\there"}, L"\"tab\there\""},
      {{L"", L""}, L","},
  };
  for (const Row& row : rows) {
    std::unique_ptr<TStringList> list(Make(row.items));
    EXPECT_EQ(list->CommaText(), row.text);
  }
}

TEST(StringsText, DelimiterThatIsABlankStillSeparatesEmptyItems)
{
  TStringList list;
  list.SetDelimiter(L' ');
  list.SetDelimitedText(L"a b  c");
  EXPECT_EQ(Items(list), (L{L"a", L"b", L"", L"c"}));
  std::unique_ptr<TStringList> source(Make({L"x", L"", L"y z"}));
  source->SetDelimiter(L' ');
  list.SetDelimitedText(source->DelimitedText());
  EXPECT_EQ(Items(list), (L{L"x", L"", L"y z"}));
}

// ---------------------------------------------------------------------------
// Streams and files

TEST(StringsStream, SavesAnsiByDefaultAndUnicodeOnRequest)
{
  std::unique_ptr<TStringList> list(Make({L"a", L"b"}));
  TMemoryStream ansi, utf8, utf16;
  list->SaveToStream(&ansi);
  list->SaveToStream(&utf8, teUTF8);
  list->SaveToStream(&utf16, teUnicode);
  EXPECT_EQ(Bytes(ansi), "a\r\nb\r\n");
  EXPECT_EQ(Bytes(utf8),
            "\xEF\xBB\xBF"
            "a\r\nb\r\n");
  EXPECT_EQ(Bytes(utf16), std::string("\xFF\xFE"
                                      "a\0\r\0\n\0b\0\r\0\n\0",
                                      14));

  list->SetWriteBOM(false);
  TMemoryStream bare;
  list->SaveToStream(&bare, teUTF8);
  EXPECT_EQ(Bytes(bare), "a\r\nb\r\n");
}

TEST(StringsStream, ReadingDetectsTheEncoding)
{
  TStringList list;
  LoadBytes(list,
            "\xEF\xBB\xBF"
            "caf\xC3\xA9\r\nx");
  EXPECT_EQ(Items(list), (L{L"caf\u00e9", L"x"}));
  EXPECT_EQ(list.Encoding(), teUTF8);

  LoadBytes(list, std::string("\xFF\xFE"
                              "h\0\xE9\0\n\0\xE5\x65",
                              10));
  EXPECT_EQ(Items(list), (L{L"h\u00e9", L"\u65e5"}));
  EXPECT_EQ(list.Encoding(), teUnicode);

  LoadBytes(list, std::string("\xFE\xFF\0z", 4));
  EXPECT_EQ(Items(list), (L{L"z"}));
  EXPECT_EQ(list.Encoding(), teBigEndianUnicode);

  LoadBytes(list,
            "\xC3\xBC"
            "ber");  // well-formed UTF-8 without a mark
  EXPECT_EQ(Items(list), (L{L"\u00fcber"}));
  EXPECT_EQ(list.Encoding(), teUTF8);

  LoadBytes(list, "");
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringsStream, OtherBytesAreReadInTheAnsiCodePage)
{
  if (GetACP() != 1252)
    GTEST_SKIP() << "the test expects the Western code page";
  TStringList list;
  LoadBytes(list, "caf\xE9 \x80");  // not UTF-8: a lone lead byte
  EXPECT_EQ(Items(list), (L{L"caf\u00e9 \u20ac"}));
  EXPECT_EQ(list.Encoding(), teANSI);
  TMemoryStream out;
  list.SaveToStream(&out);
  EXPECT_EQ(Bytes(out), "caf\xE9 \x80\r\n");
}

TEST(StringsStream, UnmarkedUtf8IsWrittenBackUnmarked)
{
  TStringList list;
  LoadBytes(list, "na\xC3\xAFve\r\n");
  TMemoryStream out;
  list.SaveToStream(&out);
  EXPECT_EQ(Bytes(out), "na\xC3\xAFve\r\n");
}

TEST(StringsStream, TextTheCodePageCannotHoldIsNotLost)
{
  std::unique_ptr<TStringList> list(Make({L"\u65e5\u672c\u8a9e", L"\u0416"}));
  TMemoryStream out;
  list->SaveToStream(&out);  // ANSI asked for, but it cannot hold these
  out.SetPosition(0);
  TStringList back;
  back.LoadFromStream(&out);
  EXPECT_EQ(Items(back), Items(*list));
}

TEST(StringsStream, OddUtf16LengthKeepsAMarkerForTheStrayByte)
{
  TStringList list;
  LoadBytes(list, std::string("\xFF\xFE"
                              "a\0b",
                              5));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Strings(0), L"a\uFFFD");
}
