// TRegistry and TRegistryIniFile on the real registry, under a key of
// HKEY_CURRENT_USER\Software that each test makes fresh and removes again.
#include "platform/Win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/Registry.h"
#include "platform/Streams.h"
#include "platform/Strings.h"

namespace {

std::vector<String> Sorted(TStrings& list)
{
  std::vector<String> items;
  for (int i = 0; i < list.Count(); ++i)
    items.push_back(list.Strings(i));
  std::sort(items.begin(), items.end());
  return items;
}

// Removes the test key with the API itself, so a fault in DeleteKey cannot leave it behind.
class RegistryTest : public testing::Test {
protected:
  void SetUp() override
  {
    std::random_device random;
    Base = L"Software\\BarsTest" + std::to_wstring(random()) + std::to_wstring(GetCurrentProcessId());
  }
  void TearDown() override
  {
    RegDeleteTreeW(HKEY_CURRENT_USER, Base.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, Base.c_str());
    HKEY key;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, Base.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS)
        << "test key left behind";
  }
  bool ApiKeyExists(const String& path)
  {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }

  String Base;
};

}  // namespace

TEST_F(RegistryTest, OpenKeyFollowsRelativeAndAbsolutePaths)
{
  TRegistry reg;
  EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.OpenKey(Base, false));
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  ASSERT_TRUE(reg.OpenKey(Base, true));
  EXPECT_EQ(reg.CurrentPath(), Base);
  ASSERT_TRUE(reg.OpenKey(L"Sub\\Deeper\\", true));
  EXPECT_EQ(reg.CurrentPath(), Base + L"\\Sub\\Deeper");
  EXPECT_TRUE(ApiKeyExists(Base + L"\\Sub\\Deeper"));
  EXPECT_TRUE(reg.KeyExists(L"\\" + Base + L"\\Sub"));
  EXPECT_FALSE(reg.KeyExists(L"Sub")) << "relative to the open key";

  ASSERT_TRUE(reg.OpenKey(L"\\" + Base + L"\\", false));
  EXPECT_EQ(reg.CurrentPath(), Base);
  EXPECT_TRUE(reg.KeyExists(L"Sub"));
  EXPECT_TRUE(reg.KeyExists(L"Sub\\Deeper"));
  EXPECT_FALSE(reg.KeyExists(L"Deeper"));
  EXPECT_FALSE(reg.OpenKey(L"NotThere", false));
  EXPECT_EQ(reg.CurrentPath(), Base) << "a failed open keeps the open key";

  reg.CloseKey();
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  EXPECT_EQ(reg.CurrentPath(), L"");
  EXPECT_TRUE(reg.KeyExists(Base)) << "relative to the root once closed";
}

TEST_F(RegistryTest, ValuesRoundTripWithTheirTypes)
{
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Base, true));
  reg.WriteString(L"Text", L"Gr\u00FC\u00DFe \U0001F600");
  reg.WriteString(L"Empty", L"");
  reg.WriteExpandString(L"Expand", L"%TEMP%\\x");
  reg.WriteInteger(L"Neg", -5);
  reg.WriteBool(L"On", true);
  reg.WriteBool(L"Off", false);
  reg.WriteFloat(L"Float", -1.25e-30);
  const uint8_t bytes[] = {0, 1, 0x7F, 0x80, 0xFF};
  reg.WriteBinaryData(L"Bytes", bytes, sizeof bytes);

  EXPECT_EQ(reg.ReadString(L"Text"), L"Gr\u00FC\u00DFe \U0001F600");
  EXPECT_EQ(reg.ReadString(L"Empty"), L"");
  EXPECT_EQ(reg.ReadString(L"Expand"), L"%TEMP%\\x") << "not expanded";
  EXPECT_EQ(reg.ReadInteger(L"Neg"), -5);
  EXPECT_TRUE(reg.ReadBool(L"On"));
  EXPECT_FALSE(reg.ReadBool(L"Off"));
  EXPECT_EQ(reg.ReadFloat(L"Float"), -1.25e-30);
  uint8_t read[8] = {};
  EXPECT_EQ(reg.ReadBinaryData(L"Bytes", read, sizeof read), 5);
  EXPECT_TRUE(std::equal(bytes, bytes + 5, read));

  EXPECT_EQ(reg.GetDataType(L"Text"), rdString);
  EXPECT_EQ(reg.GetDataType(L"Expand"), rdExpandString);
  EXPECT_EQ(reg.GetDataType(L"Neg"), rdInteger);
  EXPECT_EQ(reg.GetDataType(L"Bytes"), rdBinary);
  EXPECT_EQ(reg.GetDataType(L"Missing"), rdUnknown);
  EXPECT_EQ(reg.GetDataSize(L"Empty"), 2) << "the terminating NUL";
  EXPECT_EQ(reg.GetDataSize(L"Bytes"), 5);
  EXPECT_EQ(reg.GetDataSize(L"Missing"), -1);

  // Another object sees the same values through the API.
  DWORD value = 0, size = sizeof value;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, Base.c_str(), L"On", RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 1u);
}

TEST_F(RegistryTest, MissingAndWrongTypedValuesRaise)
{
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Base, true));
  reg.WriteString(L"Text", L"12");
  reg.WriteInteger(L"Number", 12);
  reg.WriteBinaryData(L"Long", "0123456789", 10);

  auto messageOf = [](auto&& action) -> String {
    try {
      action();
    } catch (const ERegistryException& e) {
      return e.Message();
    }
    return L"<no exception>";
  };
  EXPECT_EQ(messageOf([&] { reg.ReadInteger(L"Text"); }), L"Invalid data type for 'Text'");
  EXPECT_EQ(messageOf([&] { reg.ReadString(L"Number"); }), L"Invalid data type for 'Number'");
  EXPECT_EQ(messageOf([&] { reg.ReadBool(L"Text"); }), L"Invalid data type for 'Text'");
  EXPECT_EQ(messageOf([&] { reg.ReadFloat(L"Number"); }), L"Invalid data type for 'Number'");
  EXPECT_EQ(messageOf([&] { reg.ReadBinaryData(L"Number", nullptr, 0); }), L"Invalid data type for 'Number'");
  char small[4];
  EXPECT_EQ(messageOf([&] { reg.ReadBinaryData(L"Long", small, sizeof small); }), L"Invalid data type for 'Long'");
  EXPECT_EQ(messageOf([&] { reg.ReadInteger(L"Missing"); }), L"Failed to get data for 'Missing'");
  EXPECT_EQ(messageOf([&] { reg.ReadBool(L"Missing"); }), L"Failed to get data for 'Missing'");
  EXPECT_EQ(reg.ReadString(L"Missing"), L"");
  EXPECT_EQ(reg.ReadBinaryData(L"Missing", small, sizeof small), 0);

  TRegistry readOnly;
  ASSERT_TRUE(readOnly.OpenKeyReadOnly(Base));
  EXPECT_EQ(readOnly.ReadInteger(L"Number"), 12);
  EXPECT_EQ(messageOf([&] { readOnly.WriteInteger(L"Number", 1); }), L"Failed to set data for 'Number'");
  TRegistry closed;
  EXPECT_EQ(messageOf([&] { closed.WriteInteger(L"Number", 1); }), L"Failed to set data for 'Number'");
  EXPECT_FALSE(closed.ValueExists(L"Number"));
}

TEST_F(RegistryTest, KeyAndValueListsAndDeletingValues)
{
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Base, true));
  EXPECT_FALSE(reg.HasSubKeys());
  for (const wchar_t* name : {L"Charlie", L"Alpha", L"Bravo"})
    reg.CreateKey(name);
  reg.WriteString(L"x", L"1");
  reg.WriteInteger(L"y", 2);
  TStringList names;
  reg.GetKeyNames(&names);
  EXPECT_EQ(Sorted(names), (std::vector<String>{L"Alpha", L"Bravo", L"Charlie"}));
  reg.GetValueNames(&names);
  EXPECT_EQ(Sorted(names), (std::vector<String>{L"x", L"y"}));
  EXPECT_TRUE(reg.ValueExists(L"X"));
  EXPECT_TRUE(reg.DeleteValue(L"x"));
  EXPECT_FALSE(reg.ValueExists(L"x"));
  EXPECT_FALSE(reg.DeleteValue(L"x"));
  reg.GetValueNames(&names);
  EXPECT_EQ(Sorted(names), std::vector<String>{L"y"});
}

TEST_F(RegistryTest, DeleteKeyRemovesTheWholeSubtree)
{
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Base, true));
  reg.CreateKey(L"Tree\\a\\b\\c");
  reg.CreateKey(L"Tree\\a2");
  reg.CreateKey(L"Keep");
  ASSERT_TRUE(reg.OpenKey(L"Tree\\a\\b", false));
  reg.WriteString(L"v", L"w");
  ASSERT_TRUE(reg.OpenKey(L"\\" + Base, false));

  EXPECT_TRUE(reg.DeleteKey(L"Tree"));
  EXPECT_FALSE(ApiKeyExists(Base + L"\\Tree"));
  EXPECT_TRUE(ApiKeyExists(Base + L"\\Keep"));
  EXPECT_FALSE(reg.DeleteKey(L"Tree"));
  EXPECT_FALSE(reg.DeleteKey(L"")) << "never the open key itself";
  EXPECT_FALSE(reg.DeleteKey(L"\\")) << "never the root";
  EXPECT_TRUE(ApiKeyExists(Base));
  EXPECT_TRUE(reg.DeleteKey(L"\\" + Base + L"\\Keep\\"));
  EXPECT_FALSE(ApiKeyExists(Base + L"\\Keep"));
}

TEST_F(RegistryTest, IniFileTypedValuesRoundTrip)
{
  TRegistryIniFile ini(Base);
  EXPECT_EQ(ini.FileName(), Base);
  ini.WriteString(L"Main", L"Caption", L"Tools");
  ini.WriteInteger(L"Main", L"Count", -3);
  ini.WriteBool(L"Main", L"Visible", true);
  ini.WriteFloat(L"Main", L"Scale", 1.5);
  TMemoryStream out;
  out.WriteBuffer("\x05\x00\xFF", 3);
  out.SetPosition(0);
  ini.WriteBinaryStream(L"Main", L"UserDefine", &out);

  EXPECT_EQ(ini.ReadString(L"main", L"caption", L""), L"Tools");
  EXPECT_EQ(ini.ReadInteger(L"Main", L"Count", 0), -3);
  EXPECT_TRUE(ini.ReadBool(L"Main", L"Visible", false));
  EXPECT_EQ(ini.ReadFloat(L"Main", L"Scale", 0), 1.5);
  TMemoryStream in;
  EXPECT_EQ(ini.ReadBinaryStream(L"Main", L"UserDefine", &in), 3);
  EXPECT_EQ(std::string(static_cast<const char*>(in.Memory()), 3), std::string("\x05\x00\xFF", 3));

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(Base + L"\\Main"));
  EXPECT_EQ(reg.GetDataType(L"Count"), rdInteger);
  EXPECT_EQ(reg.GetDataType(L"Visible"), rdInteger);
  EXPECT_EQ(reg.GetDataType(L"UserDefine"), rdBinary);
  EXPECT_EQ(reg.GetDataType(L"Caption"), rdString);
}

TEST_F(RegistryTest, IniFileReadsDefaultsForMissingAndWrongTypedValues)
{
  {
    TRegistryIniFile ini(Base);
    EXPECT_EQ(ini.ReadString(L"Nowhere", L"k", L"def"), L"def");
    EXPECT_EQ(ini.ReadInteger(L"Nowhere", L"k", 7), 7);
    EXPECT_TRUE(ini.ReadBool(L"Nowhere", L"k", true));
    TMemoryStream s;
    EXPECT_EQ(ini.ReadBinaryStream(L"Nowhere", L"k", &s), 0);
    EXPECT_FALSE(ini.SectionExists(L"Nowhere"));
    EXPECT_FALSE(ini.ValueExists(L"Nowhere", L"k"));
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(sections.Count(), 0);
  }
  EXPECT_FALSE(ApiKeyExists(Base)) << "reading creates no keys";

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Base + L"\\S", true));
  reg.WriteInteger(L"Number", 5);
  reg.WriteString(L"TextNumber", L"0x10");
  reg.WriteString(L"Text", L"abc");
  reg.WriteString(L"TextBool", L"True");
  TRegistryIniFile ini(Base);
  EXPECT_EQ(ini.ReadString(L"S", L"Number", L"def"), L"def");
  EXPECT_EQ(ini.ReadInteger(L"S", L"TextNumber", 0), 16) << "text values are read as text";
  EXPECT_EQ(ini.ReadInteger(L"S", L"Text", 9), 9);
  EXPECT_TRUE(ini.ReadBool(L"S", L"TextBool", false));
  EXPECT_EQ(ini.ReadFloat(L"S", L"Number", 2.5), 2.5);
  TMemoryStream s;
  EXPECT_EQ(ini.ReadBinaryStream(L"S", L"Number", &s), 0);
  ini.WriteInteger(L"S", L"TextNumber", 17);
  EXPECT_EQ(reg.ReadString(L"TextNumber"), L"17") << "a text value stays text";
}

TEST_F(RegistryTest, IniFileNestedSectionsAndRecursiveErase)
{
  TRegistryIniFile ini(Base);
  ini.WriteString(L"Bar0", L"Caption", L"First");
  ini.WriteString(L"Bar0\\ItemLink0", L"ItemName", L"Open");
  ini.WriteString(L"Bar0\\ItemLink1\\Sub", L"ItemName", L"Deep");
  ini.WriteString(L"Bar1", L"Caption", L"Second");
  ini.WriteInteger(L"", L"Version", 33);

  TStringList sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(Sorted(sections), (std::vector<String>{L"Bar0", L"Bar1"}));
  EXPECT_TRUE(ini.SectionExists(L"Bar0\\ItemLink1"));
  EXPECT_EQ(ini.ReadString(L"Bar0\\ItemLink1\\Sub", L"ItemName", L""), L"Deep");
  EXPECT_EQ(ini.ReadInteger(L"", L"Version", 0), 33) << "the empty section is the base key";

  ini.EraseSection(L"Bar0");
  EXPECT_FALSE(ini.SectionExists(L"Bar0"));
  EXPECT_FALSE(ApiKeyExists(Base + L"\\Bar0"));
  EXPECT_EQ(ini.ReadString(L"Bar0\\ItemLink0", L"ItemName", L"gone"), L"gone");
  EXPECT_EQ(ini.ReadString(L"Bar1", L"Caption", L""), L"Second");
  ini.ReadSections(&sections);
  EXPECT_EQ(Sorted(sections), std::vector<String>{L"Bar1"});
}

TEST_F(RegistryTest, IniFileSectionListingAndDeletingKeys)
{
  TRegistryIniFile ini(Base);
  ini.WriteString(L"S", L"a", L"text");
  ini.WriteInteger(L"S", L"n", 5);
  TMemoryStream bytes;
  bytes.WriteBuffer("\x01\xFF", 2);
  bytes.SetPosition(0);
  ini.WriteBinaryStream(L"S", L"b", &bytes);

  TStringList list;
  ini.ReadSection(L"S", &list);
  EXPECT_EQ(Sorted(list), (std::vector<String>{L"a", L"b", L"n"}));
  ini.ReadSectionValues(L"S", &list);
  EXPECT_EQ(Sorted(list), (std::vector<String>{L"a=text", L"b=01FF", L"n=5"}));
  EXPECT_TRUE(ini.ValueExists(L"S", L"n"));
  ini.DeleteKey(L"S", L"n");
  EXPECT_FALSE(ini.ValueExists(L"S", L"n"));
  ini.DeleteKey(L"Missing", L"n");  // nothing to do, no error
  ini.ReadSection(L"Missing", &list);
  EXPECT_EQ(list.Count(), 0);
}
