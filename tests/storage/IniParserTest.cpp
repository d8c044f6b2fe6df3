// The ini text parser and writer: sections and keys, case rules, damaged text and the
// byte encodings of ini files.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/IniParser.h"

namespace {

String ValueOf(const TIniDocument& doc, const String& section, const String& key)
{
  const String* v = doc.Find(section, key);
  return v ? *v : L"<missing>";
}

}  // namespace

TEST(IniParser, SectionsKeysAndTrimming)
{
  TIniDocument doc;
  doc.Parse(L"[ Main ]\r\n  Key = Value  \nother=x=y\r[Second]\nk=\n\n");
  EXPECT_EQ(doc.SectionNames(), (std::vector<String>{L"Main", L"Second"}));
  EXPECT_EQ(ValueOf(doc, L"Main", L"Key"), L"Value");
  EXPECT_EQ(ValueOf(doc, L"Main", L"other"), L"x=y");
  EXPECT_EQ(ValueOf(doc, L"Second", L"k"), L"");
  EXPECT_EQ(ValueOf(doc, L"Second", L"Key"), L"<missing>");
  EXPECT_EQ(doc.FindSection(L"Third"), nullptr);
}

TEST(IniParser, NamesAreCaseInsensitiveAndKeepTheFirstSpelling)
{
  TIniDocument doc;
  doc.Set(L"Sec", L"Key", L"1");
  doc.Set(L"SEC", L"KEY", L"2");
  doc.Set(L"sec", L"other", L"3");
  EXPECT_EQ(doc.SectionNames(), std::vector<String>{L"Sec"});
  EXPECT_EQ(doc.FindSection(L"sEc")->Keys(), (std::vector<String>{L"Key", L"other"}));
  EXPECT_EQ(ValueOf(doc, L"sec", L"key"), L"2");
  EXPECT_EQ(doc.Text(), L"[Sec]\r\nKey=2\r\nother=3\r\n\r\n");

  doc.Parse(L"[Main]\nKey=1\n[main]\nkey=2\nNew=3\n");
  EXPECT_EQ(doc.SectionNames(), std::vector<String>{L"Main"}) << "a repeated section joins the first";
  EXPECT_EQ(ValueOf(doc, L"MAIN", L"KEY"), L"1") << "the first of repeated keys counts";
  EXPECT_EQ(ValueOf(doc, L"MAIN", L"new"), L"3");
}

TEST(IniParser, DamagedTextGivesWhatCanBeReadAndKeepsTheRest)
{
  TIniDocument doc;
  doc.Parse(
      L"junk before\nkey=before\n[S]\nno equals line\n=novalue\n; k=comment\n# k=also\nk=v\n"
      L"[Broken\nb=1\n[x]y]z\nq=2\n[]\nempty=3\n");
  EXPECT_EQ(doc.SectionNames(), (std::vector<String>{L"S", L"Broken", L"x]y", L""}));
  EXPECT_EQ(doc.FindSection(L"S")->Keys(), std::vector<String>{L"k"});
  EXPECT_EQ(ValueOf(doc, L"S", L"k"), L"v");
  EXPECT_EQ(ValueOf(doc, L"Broken", L"b"), L"1") << "a header without ] still starts a section";
  EXPECT_EQ(ValueOf(doc, L"x]y", L"q"), L"2");
  EXPECT_EQ(ValueOf(doc, L"", L"empty"), L"3");
  EXPECT_EQ(ValueOf(doc, L"", L"key"), L"<missing>") << "keys before any section are no values";

  // Nothing is lost when the text is written back.
  String text = doc.Text();
  for (const wchar_t* line :
       {L"junk before", L"key=before", L"no equals line", L"=novalue", L"; k=comment", L"# k=also"})
    EXPECT_NE(text.find(line), String::npos) << ToUtf8(line);
  TIniDocument again;
  again.Parse(text);
  EXPECT_EQ(again.Text(), text);
}

TEST(IniParser, NulCharactersAreDropped)
{
  TIniDocument doc;
  const wchar_t raw[] = L"[S]\nk\0ey=va\0lue\n\0\0\n[T\0]\nx=1";
  doc.Parse(String(raw, std::size(raw) - 1));
  EXPECT_EQ(ValueOf(doc, L"S", L"key"), L"value");
  EXPECT_EQ(ValueOf(doc, L"T", L"x"), L"1");
}

TEST(IniParser, RepeatedKeysFirstWinsAndDeleteRemovesEveryLine)
{
  TIniDocument doc;
  doc.Parse(L"[S]\na=1\nb=2\na=3\n");
  EXPECT_EQ(doc.FindSection(L"S")->Keys(), (std::vector<String>{L"a", L"b"}));
  doc.Set(L"S", L"A", L"9");
  EXPECT_EQ(ValueOf(doc, L"S", L"a"), L"9");
  EXPECT_TRUE(doc.Delete(L"S", L"a"));
  EXPECT_EQ(ValueOf(doc, L"S", L"a"), L"<missing>");
  EXPECT_EQ(doc.Text(), L"[S]\r\nb=2\r\n\r\n");
  EXPECT_FALSE(doc.Delete(L"S", L"a"));
  EXPECT_FALSE(doc.Delete(L"NoSection", L"a"));
}

TEST(IniParser, EraseSectionLeavesTheOthersInOrder)
{
  TIniDocument doc;
  doc.Parse(L"[A]\na=1\n[B]\nb=1\n[C]\nc=1\n");
  EXPECT_TRUE(doc.EraseSection(L"b"));
  EXPECT_FALSE(doc.EraseSection(L"b"));
  EXPECT_EQ(doc.SectionNames(), (std::vector<String>{L"A", L"C"}));
  EXPECT_EQ(ValueOf(doc, L"B", L"b"), L"<missing>");
  doc.Set(L"B", L"b", L"2");
  EXPECT_EQ(doc.SectionNames(), (std::vector<String>{L"A", L"C", L"B"})) << "a new section goes to the end";
}

TEST(IniParser, LineBreaksInNamesAndValuesDoNotSplitTheWrittenLine)
{
  TIniDocument doc;
  doc.Set(L"S", L"k", L"two\r\nlines");
  EXPECT_EQ(ValueOf(doc, L"S", L"k"), L"two\r\nlines") << "kept as written while in memory";
  TIniDocument again;
  again.Parse(doc.Text());
  EXPECT_EQ(ValueOf(again, L"S", L"k"), L"two  lines");
  EXPECT_EQ(again.FindSection(L"S")->Lines().size(), 1u);
}

TEST(IniParser, HugeLinesAreReadInLinearTime)
{
  String text(5'000'000, L'x');
  text += L"\n[S]\nk=v\nbig=" + String(2'000'000, L'y') + L"\n";
  auto start = std::chrono::steady_clock::now();
  TIniDocument doc;
  doc.Parse(text);
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(ValueOf(doc, L"S", L"k"), L"v");
  EXPECT_EQ(ValueOf(doc, L"S", L"big").size(), 2'000'000u);
  EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 5);
}

TEST(IniParser, ManySectionsAndKeysStayFast)
{
  TIniDocument doc;
  for (int s = 0; s < 2000; ++s)
    for (int k = 0; k < 20; ++k)
      doc.Set(L"Section" + std::to_wstring(s), L"Key" + std::to_wstring(k), std::to_wstring(s * k));
  TIniDocument again;
  auto start = std::chrono::steady_clock::now();
  again.Parse(doc.Text());
  for (int s = 0; s < 2000; s += 2)
    again.EraseSection(L"SECTION" + std::to_wstring(s));
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(again.SectionNames().size(), 1000u);
  EXPECT_EQ(ValueOf(again, L"section1999", L"key19"), std::to_wstring(1999 * 19));
  EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 5);
}

TEST(IniEncoding, ByteOrderMarksDecide)
{
  TIniEncoding e;
  EXPECT_EQ(DecodeIniText("\xEF\xBB\xBF[S]\nk=\xC3\xA4", e), L"[S]\nk=\u00E4");
  EXPECT_EQ(e, TIniEncoding::Utf8Bom);
  EXPECT_EQ(DecodeIniText(std::string("\xFF\xFE[\0S\0]\0\xE4\0", 10), e), L"[S]\u00E4");
  EXPECT_EQ(e, TIniEncoding::Utf16LE);
  EXPECT_EQ(DecodeIniText(std::string("\xFE\xFF\0[\0S\0]\x20\xAC", 10), e), L"[S]\u20AC");
  EXPECT_EQ(e, TIniEncoding::Utf16BE);
  EXPECT_EQ(DecodeIniText(std::string("\xFF\xFE"
                                      "a\0b",
                                      5),
                          e),
            L"a")
      << "an odd last byte is dropped";
}

TEST(IniEncoding, WithoutAMarkValidUtf8IsUtf8AndAnythingElseAnsi)
{
  TIniEncoding e;
  EXPECT_EQ(DecodeIniText("k=\xE2\x82\xAC", e), L"k=\u20AC");
  EXPECT_EQ(e, TIniEncoding::Utf8);
  EXPECT_EQ(DecodeIniText("plain", e), L"plain");
  EXPECT_EQ(e, TIniEncoding::Utf8);
  EXPECT_EQ(DecodeIniText("k=\xE4-\x80\x81", e), L"k=\u00E4-\u20AC\u0081");
  EXPECT_EQ(e, TIniEncoding::Ansi);
  // Overlong forms and encoded surrogates are not UTF-8.
  DecodeIniText("\xC0\xAF", e);
  EXPECT_EQ(e, TIniEncoding::Ansi);
  DecodeIniText("\xED\xA0\x80", e);
  EXPECT_EQ(e, TIniEncoding::Ansi);
  DecodeIniText("\xE2\x82", e);
  EXPECT_EQ(e, TIniEncoding::Ansi) << "a sequence cut off at the end";
  String custom =
      DecodeIniText("\xE4", e, [](std::string_view bytes) { return L"<" + std::to_wstring(bytes.size()) + L">"; });
  EXPECT_EQ(custom, L"<1>");
}

TEST(IniEncoding, EveryEncodingRoundTrips)
{
  const String text = L"[Gr\u00FC\u00DFe]\r\nk=\u20AC \U0001F600\r\n";
  for (TIniEncoding written :
       {TIniEncoding::Utf8, TIniEncoding::Utf8Bom, TIniEncoding::Utf16LE, TIniEncoding::Utf16BE}) {
    SCOPED_TRACE(int(written));
    TIniEncoding read;
    EXPECT_EQ(DecodeIniText(EncodeIniText(text, written), read), text);
    EXPECT_EQ(read, written);
  }
  TIniEncoding read;
  EXPECT_EQ(DecodeIniText(EncodeIniText(text, TIniEncoding::Ansi), read), text);
  EXPECT_EQ(read, TIniEncoding::Utf8) << "ANSI text is written as UTF-8";
}

// Text no UTF-8 file holds as it is: an unpaired surrogate becomes U+FFFD instead of
// turning the whole file into ANSI, and a leading U+FEFF is not lost as a byte-order mark.
TEST(IniEncoding, DamagedTextWrittenAsUtf8ReadsBack)
{
  const struct {
    String Text, Utf8;
  } rows[] = {
      {String(L"[S]\r\nk=\u00E4 ") + wchar_t(0xD800) + L"\r\n", L"[S]\r\nk=\u00E4 \uFFFD\r\n"},
      {String(L"k=") + wchar_t(0xDC00) + wchar_t(0xD800) + L"\u20AC", L"k=\uFFFD\uFFFD\u20AC"},
      {L"\uFEFF[S]\r\n", L"\uFEFF[S]\r\n"},
  };
  for (const auto& row : rows) {
    for (TIniEncoding written : {TIniEncoding::Utf8, TIniEncoding::Utf8Bom, TIniEncoding::Utf16LE}) {
      SCOPED_TRACE(int(written));
      TIniEncoding read;
      EXPECT_EQ(DecodeIniText(EncodeIniText(row.Text, written), read),
                written == TIniEncoding::Utf16LE ? row.Text : row.Utf8);
      EXPECT_NE(read, TIniEncoding::Ansi);
    }
  }
}
