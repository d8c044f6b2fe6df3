// TMemIniFile and TIniFile: typed values, section queries, files in every encoding,
// damaged files, the string-list forms and writing through.
#include <gtest/gtest.h>

#include "StorageTestUtil.h"
#include "platform/IniFiles.h"
#include "platform/Scope.h"
#include "platform/Streams.h"
#include "platform/Strings.h"
#include "platform/Win.h"

namespace {

std::vector<String> Items(TStrings& list)
{
  std::vector<String> items;
  for (int i = 0; i < list.Count(); ++i)
    items.push_back(list.Strings(i));
  return items;
}

std::string StreamBytes(TMemoryStream& s)
{
  return std::string(static_cast<const char*>(s.Memory()), size_t(s.GetSize()));
}

}  // namespace

TEST(MemIniFile, IntegersAcceptHexAndFallBackToTheDefault)
{
  TMemIniFile ini;
  EXPECT_EQ(ini.FileName(), L"");
  ini.WriteInteger(L"S", L"neg", -123);
  EXPECT_EQ(ini.ReadString(L"S", L"neg", L""), L"-123");
  EXPECT_EQ(ini.ReadInteger(L"S", L"neg", 0), -123);
  ini.WriteString(L"S", L"hex", L"0x1F");
  ini.WriteString(L"S", L"dollar", L"$10");
  ini.WriteString(L"S", L"text", L"abc");
  ini.WriteString(L"S", L"empty", L"");
  EXPECT_EQ(ini.ReadInteger(L"S", L"hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger(L"S", L"dollar", 0), 16);
  EXPECT_EQ(ini.ReadInteger(L"S", L"text", 7), 7);
  EXPECT_EQ(ini.ReadInteger(L"S", L"empty", 8), 8);
  EXPECT_EQ(ini.ReadInteger(L"S", L"missing", 9), 9);
  EXPECT_EQ(ini.ReadInteger(L"Nowhere", L"neg", 10), 10);
}

TEST(MemIniFile, BooleansAreWrittenAsDigits)
{
  TMemIniFile ini;
  ini.WriteBool(L"S", L"on", true);
  ini.WriteBool(L"S", L"off", false);
  EXPECT_EQ(ini.ReadString(L"S", L"on", L""), L"1");
  EXPECT_EQ(ini.ReadString(L"S", L"off", L""), L"0");
  EXPECT_TRUE(ini.ReadBool(L"S", L"on", false));
  EXPECT_FALSE(ini.ReadBool(L"S", L"off", true));
  const std::pair<const wchar_t*, bool> texts[] = {{L"-1", true}, {L"2", true}, {L"TRUE", true}, {L"false", false}};
  for (auto [text, value] : texts) {
    ini.WriteString(L"S", L"t", text);
    EXPECT_EQ(ini.ReadBool(L"S", L"t", !value), value) << ToUtf8(text);
  }
  ini.WriteString(L"S", L"t", L"yes");
  EXPECT_TRUE(ini.ReadBool(L"S", L"t", true));
  EXPECT_FALSE(ini.ReadBool(L"S", L"t", false));
  EXPECT_TRUE(ini.ReadBool(L"S", L"missing", true));
}

TEST(MemIniFile, BinaryStreamsAreHexText)
{
  TMemIniFile ini;
  TMemoryStream out;
  out.WriteBuffer("\x00\x01\x7F\x80\xFF", 5);
  out.SetPosition(1);  // written from the position to the end
  ini.WriteBinaryStream(L"S", L"bin", &out);
  EXPECT_EQ(ini.ReadString(L"S", L"bin", L""), L"017F80FF");

  TMemoryStream in;
  in.WriteBuffer("ab", 2);
  EXPECT_EQ(ini.ReadBinaryStream(L"S", L"bin", &in), 4);
  EXPECT_EQ(in.GetPosition(), 2) << "left at the first byte read";
  EXPECT_EQ(StreamBytes(in), std::string("ab\x01\x7F\x80\xFF", 6));

  const std::pair<const wchar_t*, std::string> texts[] = {
      {L"0a1B", std::string("\x0A\x1B")},
      {L"0AZZ11", std::string("\x0A")},
      {L"ABC", std::string("\xAB")},
      {L"Z0", std::string()},
      {L"", std::string()},
  };
  for (const auto& [text, bytes] : texts) {
    SCOPED_TRACE(ToUtf8(text));
    ini.WriteString(L"S", L"t", text);
    TMemoryStream s;
    EXPECT_EQ(ini.ReadBinaryStream(L"S", L"t", &s), int(bytes.size()));
    EXPECT_EQ(StreamBytes(s), bytes);
  }
  TMemoryStream none;
  EXPECT_EQ(ini.ReadBinaryStream(L"S", L"missing", &none), 0);
  EXPECT_EQ(none.GetSize(), 0);
}

TEST(MemIniFile, SectionQueriesAndErasing)
{
  TMemIniFile ini;
  ini.SetText(L"[Main]\nb=2\na=1\n[Empty]\n[Other]\nx=y\n");
  EXPECT_TRUE(ini.SectionExists(L"main"));
  EXPECT_TRUE(ini.SectionExists(L"Empty"));
  EXPECT_FALSE(ini.SectionExists(L"Missing"));
  EXPECT_TRUE(ini.ValueExists(L"MAIN", L"A"));
  EXPECT_FALSE(ini.ValueExists(L"Main", L"x"));

  TStringList list;
  list.Add(L"stale");
  ini.ReadSections(&list);
  EXPECT_EQ(Items(list), (std::vector<String>{L"Main", L"Empty", L"Other"}));
  ini.ReadSection(L"main", &list);
  EXPECT_EQ(Items(list), (std::vector<String>{L"b", L"a"}));
  ini.ReadSectionValues(L"Main", &list);
  EXPECT_EQ(Items(list), (std::vector<String>{L"b=2", L"a=1"}));
  ini.ReadSection(L"Missing", &list);
  EXPECT_EQ(list.Count(), 0);

  ini.DeleteKey(L"Main", L"B");
  EXPECT_FALSE(ini.ValueExists(L"Main", L"b"));
  ini.EraseSection(L"OTHER");
  EXPECT_FALSE(ini.SectionExists(L"Other"));
  EXPECT_EQ(ini.GetText(), L"[Main]\r\na=1\r\n\r\n[Empty]\r\n\r\n");
  ini.Clear();
  EXPECT_EQ(ini.GetText(), L"");
}

TEST(MemIniFile, StringListFormsAppendAndReplace)
{
  TMemIniFile ini;
  ini.WriteString(L"A", L"k", L"v");
  ini.WriteString(L"B", L"n", L"m");
  TStringList lines;
  lines.Add(L"first");
  ini.GetStrings(&lines);
  EXPECT_EQ(Items(lines), (std::vector<String>{L"first", L"[A]", L"k=v", L"", L"[B]", L"n=m", L""}));

  TStringList replacement;
  replacement.SetText(L"[C]\r\nz = 26\r\n");
  ini.SetStrings(&replacement);
  EXPECT_FALSE(ini.SectionExists(L"A"));
  EXPECT_EQ(ini.ReadInteger(L"c", L"Z", 0), 26);
}

class IniFileOnDisk : public testing::Test {
protected:
  TTempDir Dir;
  String Name = Dir.File(L"settings.ini");
};

TEST_F(IniFileOnDisk, UpdateFileWritesAndANewObjectReadsItBack)
{
  {
    TMemIniFile ini(Name);
    EXPECT_EQ(ini.FileName(), Name);
    ini.WriteString(L"Main", L"Caption", L"Gr\u00FC\u00DFe \u20AC");
    ini.WriteInteger(L"Main", L"Count", 3);
    ini.WriteBool(L"Bar0", L"Visible", true);
    EXPECT_FALSE(FileExists(Name)) << "nothing is written before UpdateFile";
    ini.UpdateFile();
  }
  EXPECT_EQ(ReadFileBytes(Name),
            "[Main]\r\nCaption=Gr\xC3\xBC\xC3\x9F"
            "e \xE2\x82\xAC\r\nCount=3\r\n\r\n[Bar0]\r\nVisible=1\r\n\r\n");
  TMemIniFile again(Name);
  EXPECT_EQ(again.ReadString(L"MAIN", L"caption", L""), L"Gr\u00FC\u00DFe \u20AC");
  EXPECT_EQ(again.ReadInteger(L"Main", L"Count", 0), 3);
  EXPECT_TRUE(again.ReadBool(L"bar0", L"visible", false));
}

TEST_F(IniFileOnDisk, UpdatingKeepsUnrelatedSectionsAndLines)
{
  WriteFileBytes(Name, "; settings of another program\r\n[Other]\r\nkeep=me\r\n; note\r\n[Mine]\r\nold=1\r\n");
  {
    TMemIniFile ini(Name);
    ini.EraseSection(L"Mine");
    ini.WriteString(L"Mine", L"new", L"2");
    ini.UpdateFile();
  }
  EXPECT_EQ(ReadFileBytes(Name),
            "; settings of another program\r\n\r\n[Other]\r\nkeep=me\r\n; note\r\n\r\n[Mine]\r\nnew=2\r\n\r\n");
}

TEST_F(IniFileOnDisk, EncodingsAreReadAndKeptOnWriting)
{
  struct Case {
    std::string Bytes;
    TIniEncoding Encoding;
  };
  const Case cases[] = {
      {std::string("\xFF\xFE[\0S\0]\0\n\0k\0=\0\xE4\0", 16), TIniEncoding::Utf16LE},
      {std::string("\xFE\xFF\0[\0S\0]\0\n\0k\0=\0\xE4", 16), TIniEncoding::Utf16BE},
      {"\xEF\xBB\xBF[S]\nk=\xC3\xA4", TIniEncoding::Utf8Bom},
      {"[S]\nk=\xC3\xA4", TIniEncoding::Utf8},
      {"[S]\nk=\xE4", TIniEncoding::Ansi},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.Encoding));
    WriteFileBytes(Name, c.Bytes);
    TMemIniFile ini(Name);
    EXPECT_EQ(ini.Encoding(), c.Encoding);
    EXPECT_EQ(ini.ReadString(L"S", L"k", L""), L"\u00E4");
    ini.UpdateFile();
    std::string written = ReadFileBytes(Name);
    TIniEncoding found;
    DecodeIniText(written, found);
    EXPECT_EQ(found, c.Encoding == TIniEncoding::Ansi ? TIniEncoding::Utf8 : c.Encoding);
    EXPECT_EQ(TMemIniFile(Name).ReadString(L"S", L"k", L""), L"\u00E4");
  }
}

TEST_F(IniFileOnDisk, DamagedFilesGiveWhatCanBeReadAndDefaultsForTheRest)
{
  std::string bytes =
      "garbage \x01\x02 before=any\r\n[Bar0]\r\nCaption=Tools\r\nRow\r\nDockingStyle=2\r\n[Bar1\r\nRow=4\r\n";
  bytes += std::string("Vis\0ible=1\r\n", 12);
  bytes += std::string(3'000'000, 'A') + "\r\n";
  bytes += "[Bar2]\r\nFloatLeft=notanumber\r\nFloatTop=";
  WriteFileBytes(Name, bytes);
  TMemIniFile ini(Name);
  EXPECT_EQ(ini.ReadString(L"Bar0", L"Caption", L""), L"Tools");
  EXPECT_EQ(ini.ReadInteger(L"Bar0", L"Row", -1), -1);
  EXPECT_EQ(ini.ReadInteger(L"Bar0", L"DockingStyle", 0), 2);
  EXPECT_EQ(ini.ReadInteger(L"Bar1", L"Row", 0), 4);
  EXPECT_TRUE(ini.ReadBool(L"Bar1", L"Visible", false));
  EXPECT_EQ(ini.ReadInteger(L"Bar2", L"FloatLeft", 50), 50);
  EXPECT_EQ(ini.ReadInteger(L"Bar2", L"FloatTop", 60), 60);
  EXPECT_FALSE(ini.ValueExists(L"", L"garbage \x01\x02 before"));
  ini.WriteInteger(L"Bar0", L"Row", 1);
  ini.UpdateFile();
  EXPECT_EQ(TMemIniFile(Name).ReadInteger(L"Bar0", L"Row", 0), 1);
}

TEST_F(IniFileOnDisk, MissingFilesAreEmptyAndUnwritableOnesRaise)
{
  TMemIniFile absent(Dir.File(L"absent.ini"));
  EXPECT_EQ(absent.ReadString(L"S", L"k", L"def"), L"def");
  TStringList sections;
  absent.ReadSections(&sections);
  EXPECT_EQ(sections.Count(), 0);

  TMemIniFile nowhere(Dir.File(L"no\\such\\folder\\x.ini"));
  nowhere.WriteString(L"S", L"k", L"v");
  EXPECT_THROW(nowhere.UpdateFile(), EFCreateError);
  EXPECT_EQ(nowhere.ReadString(L"S", L"k", L""), L"v") << "the values stay after a failed write";

  TMemIniFile inMemory;
  inMemory.WriteString(L"S", L"k", L"v");
  EXPECT_NO_THROW(inMemory.UpdateFile());
}

// A write that cannot be finished (here the place the new text is written to first is taken)
// leaves the old file whole; once it can, the file is replaced and nothing is left beside it.
TEST_F(IniFileOnDisk, AWriteThatCannotFinishLeavesTheOldFile)
{
  const std::string old = "[Layout]\r\nBarCount=3\r\n";
  WriteFileBytes(Name, old);
  const String aside = Name + L".new";
  ASSERT_TRUE(::CreateDirectoryW(aside.c_str(), nullptr));
  TFinally removeAside([&]() noexcept { ::RemoveDirectoryW(aside.c_str()); });
  TMemIniFile ini(Name);
  ini.EraseSection(L"Layout");
  ini.WriteInteger(L"Layout", L"BarCount", 1);
  EXPECT_THROW(ini.UpdateFile(), EFCreateError);
  EXPECT_EQ(ReadFileBytes(Name), old);
  ::RemoveDirectoryW(aside.c_str());
  ini.UpdateFile();
  EXPECT_EQ(TMemIniFile(Name).ReadInteger(L"Layout", L"BarCount", 0), 1);
  EXPECT_EQ(::GetFileAttributesW(aside.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(IniFileOnDisk, IniFileWritesThroughAndSeesChangesOnDisk)
{
  TIniFile ini(Name);
  ini.WriteString(L"S", L"k", L"v");
  EXPECT_EQ(TMemIniFile(Name).ReadString(L"S", L"k", L""), L"v");
  ini.WriteInteger(L"S", L"n", 5);
  ini.DeleteKey(L"S", L"k");
  EXPECT_FALSE(TMemIniFile(Name).ValueExists(L"S", L"k"));
  EXPECT_EQ(TMemIniFile(Name).ReadInteger(L"S", L"n", 0), 5);

  WriteFileBytes(Name, "[S]\r\nn=6\r\n[Added]\r\nby=someone else\r\n");
  EXPECT_EQ(ini.ReadInteger(L"S", L"n", 0), 6);
  EXPECT_TRUE(ini.SectionExists(L"Added"));
  ini.EraseSection(L"Added");
  EXPECT_FALSE(TMemIniFile(Name).SectionExists(L"Added"));
  EXPECT_EQ(TMemIniFile(Name).ReadInteger(L"S", L"n", 0), 6);
}
