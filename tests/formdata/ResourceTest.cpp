// Form data from RCDATA resources named after a class (a form's own data, and the
// chain of an inherited form), and from files.
#include <gtest/gtest.h>

#include <windows.h>

#include "TestClasses.h"

namespace {

class Resources : public testing::Test {
protected:
  void SetUp() override
  {
    RegisterTestClasses();
    gLoadedLog.clear();
    live = gLive;
  }
  void TearDown() override { EXPECT_EQ(gLive, live); }
  int live = 0;
};

String TempFile(const wchar_t* name)
{
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return String(dir) + name;
}

}  // namespace

TEST_F(Resources, AFormReadsTheResourceNamedAfterItsClass)
{
  TResForm form(nullptr);
  EXPECT_TRUE(InitInheritedComponent(&form, TTestForm::StaticClass()));
  EXPECT_EQ(form.Name(), L"ResForm");
  EXPECT_EQ(form.Tag(), 3);
  auto* title = dynamic_cast<TTestWidget*>(form.FindComponent(L"Title"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->FCaption, L"from a resource");
  title->FOnClick(title);
  EXPECT_EQ(form.Clicks, 1);
  EXPECT_EQ(gLoadedLog, (std::vector<String>{L"ResForm*", L"Title*"}));
}

TEST_F(Resources, AnInheritedFormReadsItsAncestorsDataFirstAndIsLoadedOnce)
{
  TResDerivedForm form(nullptr);
  EXPECT_TRUE(InitInheritedComponent(&form, TTestForm::StaticClass()));
  EXPECT_EQ(form.Name(), L"ResDerivedForm");
  EXPECT_EQ(form.Tag(), 3) << "from the ancestor's data";
  auto* title = dynamic_cast<TTestWidget*>(form.FindComponent(L"Title"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->FCaption, L"from a resource");
  EXPECT_EQ(title->FLeft, 5);
  auto* extra = dynamic_cast<TTestWidget*>(form.FindComponent(L"Extra"));
  ASSERT_NE(extra, nullptr);
  EXPECT_EQ(extra->Buddy(), title);
  EXPECT_EQ(form.ComponentCount(), 2);
  EXPECT_EQ(gLoadedLog, (std::vector<String>{L"ResDerivedForm*", L"Title*", L"Extra*"}));
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
}

TEST_F(Resources, MissingResources)
{
  TTestForm form(nullptr);
  EXPECT_FALSE(InitInheritedComponent(&form, TTestNode::StaticClass())) << "no class of the chain has data";
  EXPECT_THROW(ReadComponentRes(L"NOSUCHFORM", &form), EResNotFound);
  // By name, into a new instance of the class the data names.
  TComponent* made = ReadComponentRes(L"TResForm", nullptr);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->ClassType(), TResForm::StaticClass());
  made->Free();
}

TEST_F(Resources, FilesRoundTrip)
{
  String path = TempFile(L"formdata_test.txt");
  {
    TTestForm form(nullptr);
    form.SetName(L"Saved");
    auto* w = new TTestWidget(&form);
    w->SetName(L"W");
    w->SetParentComponent(&form);
    w->FCaption = L"caf\xE9 \x263A";
    WriteComponentResFile(path, &form);
  }
  TComponent* read = ReadComponentResFile(path, nullptr);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Name(), L"Saved");
  EXPECT_EQ(static_cast<TTestWidget*>(read->FindComponent(L"W"))->FCaption, L"caf\xE9 \x263A");
  read->Free();
  DeleteFileW(path.c_str());
  EXPECT_THROW(ReadComponentResFile(path, nullptr), EFOpenError);
}

TEST_F(Resources, TextEncodingsOfStoredFormData)
{
  const char utf8[] = "\xEF\xBB\xBFobject F: TTestForm\n  Tag = 1\nend\n";
  EXPECT_EQ(FormDataBytesToText(reinterpret_cast<const uint8_t*>(utf8), sizeof utf8 - 1),
            L"object F: TTestForm\n  Tag = 1\nend\n");
  const uint8_t utf16[] = {0xFF, 0xFE, 'o', 0, 'b', 0, 0x3A, 0x26};
  EXPECT_EQ(FormDataBytesToText(utf16, sizeof utf16), L"ob\x263A");
  const uint8_t padded[] = {'e', 'n', 'd', 0, 0};
  EXPECT_EQ(FormDataBytesToText(padded, sizeof padded), L"end");
  const char raw[] = "caf\xC3\xA9";
  EXPECT_EQ(FormDataBytesToText(reinterpret_cast<const uint8_t*>(raw), sizeof raw - 1), L"caf\xE9");
}
