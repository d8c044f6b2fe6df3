// Hand-picked hostile values in an otherwise good bar form: out-of-range positions and
// sizes, image indexes past the lists, odd links and references of the wrong kind. Each is
// refused with a message or read to a form that works, with the value kept in range.
#include "FuzzTestUtil.h"

namespace {

// The form with the first ANeedle found after AAfter (anywhere when empty) replaced.
String WithChange(const String& ANeedle, const String& AReplacement, const String& AAfter = String())
{
  String text = BarFormText();
  size_t from = AAfter.empty() ? 0 : text.find(AAfter);
  size_t at = from == String::npos ? String::npos : text.find(ANeedle, from);
  if (at == String::npos) {
    ADD_FAILURE() << "the form has no " << ToUtf8(ANeedle) << " after " << ToUtf8(AAfter);
    return text;
  }
  text.replace(at, ANeedle.size(), AReplacement);
  return text;
}

template <class T>
T* Find(TFuzzForm* AForm, const wchar_t* AName)
{
  T* found = dynamic_cast<T*>(AForm->FindComponent(AName));
  EXPECT_NE(found, nullptr) << ToUtf8(AName);
  return found;
}

TdxBar* Bar(TFuzzForm* AForm, int AIndex)
{
  auto* manager = Find<TdxBarManager>(AForm, L"dxBarManager1");
  return manager && AIndex < manager->GetBars()->GetCount() ? manager->GetBars()->GetItem(AIndex) : nullptr;
}

// The screen rectangle of a bar's window; empty when it has none.
RECT WindowRectOf(TdxBar* ABar)
{
  RECT r{};
  if (ABar && ABar->GetControl() && ABar->GetControl()->HandleAllocated())
    GetWindowRect(ABar->GetControl()->GetHandle(), &r);
  return r;
}

const wchar_t* const kMainBar = L"object dxBarManager1Bar1";
const wchar_t* const kToolsBar = L"object dxBarManager1Bar2";
const wchar_t* const kLargeBar = L"object dxBarManager1Bar3";

class HostileValues : public testing::Test {
protected:
  void SetUp() override
  {
    TFuzzOutcome outcome = CheckDamagedForm(BarFormText(), "warm-up");
    ASSERT_TRUE(outcome.Read) << ToUtf8(outcome.Error);
  }

  // Reads AText expecting a working form, which AInspect then checks.
  void ExpectWorkingForm(const String& AText, const char* ALabel, const std::function<void(TFuzzForm*)>& AInspect)
  {
    TFuzzOutcome outcome = CheckDamagedForm(AText, ALabel, AInspect);
    EXPECT_TRUE(outcome.Read) << ALabel << ": " << ToUtf8(outcome.Error);
  }
};

}  // namespace

TEST_F(HostileValues, HugeRowsAreCappedAtTheNumberOfBars)
{
  ExpectWorkingForm(WithChange(L"Row = 0", L"Row = 2147483647", kMainBar), "top bar row", [](TFuzzForm* form) {
    TdxBar* bar = Bar(form, 0);
    ASSERT_NE(bar, nullptr);
    EXPECT_LT(bar->GetRow(), 3);
    RECT r = WindowRectOf(bar);
    EXPECT_GT(r.bottom - r.top, 0);
  });
  ExpectWorkingForm(WithChange(L"Row = 0", L"Row = 2147483647", kLargeBar), "dock control row", [](TFuzzForm* form) {
    auto* dock = Find<TdxBarDockControl>(form, L"dxBarDockControl1");
    ASSERT_NE(dock, nullptr);
    EXPECT_LE(dock->GetRowCount(), 3);
    EXPECT_EQ(Bar(form, 2)->GetRow(), dock->GetRowCount() - 1);
    EXPECT_NE(dock->FindCol(Bar(form, 2)->GetControl()), nullptr);
  });
  ExpectWorkingForm(WithChange(L"Row = 0", L"Row = -2147483648", kMainBar), "negative row",
                    [](TFuzzForm* form) { EXPECT_EQ(Bar(form, 0)->GetRow(), 0); });
}

TEST_F(HostileValues, OutlyingPositionsAndSizesAreBroughtIntoRange)
{
  ExpectWorkingForm(WithChange(L"DockedLeft = 0", L"DockedLeft = -100000", kMainBar), "docked left",
                    [](TFuzzForm* form) {
                      TdxBar* bar = Bar(form, 0);
                      EXPECT_GE(bar->GetDockedLeft(), 0);
                      RECT r = WindowRectOf(bar);
                      RECT client{};
                      GetWindowRect(form->GetHandle(), &client);
                      EXPECT_GE(r.left, client.left);
                    });
  ExpectWorkingForm(WithChange(L"FloatClientWidth = 150", L"FloatClientWidth = 0", kToolsBar), "no float width",
                    [](TFuzzForm* form) {
                      RECT r = WindowRectOf(Bar(form, 1));
                      EXPECT_GT(r.right - r.left, 0);
                    });
  for (const wchar_t* huge : {L"FloatClientWidth = 2147483647", L"FloatClientWidth = -2147483648"})
    ExpectWorkingForm(WithChange(L"FloatClientWidth = 150", huge, kToolsBar), "huge float width", [](TFuzzForm* form) {
      RECT r = WindowRectOf(Bar(form, 1));
      EXPECT_GT(r.right - r.left, 0);
      EXPECT_LT(r.right - r.left, 100000);
    });
  ExpectWorkingForm(WithChange(L"FloatLeft = 300", L"FloatLeft = 2147483647", kToolsBar), "float left far out",
                    [](TFuzzForm* form) { EXPECT_GT(WindowRectOf(Bar(form, 1)).right, 0); });
  ExpectWorkingForm(WithChange(L"Width = 60", L"Width = -5", L"object btnLarge:"), "negative width",
                    [](TFuzzForm* form) {
                      auto* large = Find<TdxBarLargeButton>(form, L"btnLarge");
                      ASSERT_NE(large, nullptr);
                      EXPECT_GE(large->GetWidth(), 0);
                    });
  // Merge orders start at 0.
  ExpectWorkingForm(WithChange(L"Caption = 'Open'", L"Caption = 'Open'\n      MergeOrder = -7"), "negative merge order",
                    [](TFuzzForm* form) { EXPECT_EQ(Find<TdxBarButton>(form, L"btnOpen")->GetMergeOrder(), 0); });
}

TEST_F(HostileValues, ImageIndexesPastTheListsAreKeptAndHarmless)
{
  ExpectWorkingForm(WithChange(L"LargeImageIndex = 1", L"LargeImageIndex = 99999"), "large image index",
                    [](TFuzzForm* form) {
                      // Kept as given: a list filled later may reach it.
                      EXPECT_EQ(Find<TdxBarLargeButton>(form, L"btnLarge")->GetLargeImageIndex(), 99999);
                    });
  ExpectWorkingForm(WithChange(L"ImageIndex = 0", L"ImageIndex = 2147483647", L"object btnOpen:"), "image index",
                    [](TFuzzForm*) {});
  ExpectWorkingForm(WithChange(L"LargeImageIndex = 2", L"LargeImageIndex = -2147483648"), "synced large index",
                    [](TFuzzForm*) {});
}

TEST_F(HostileValues, OddLinksGiveAWorkingBar)
{
  String everyGroup = BarFormText();
  for (size_t at = everyGroup.find(L"        item\n"); at != String::npos;
       at = everyGroup.find(L"        item\n", at + 1))
    everyGroup.insert(at + 13, L"          BeginGroup = True\n");
  ExpectWorkingForm(everyGroup, "BeginGroup on every link", [](TFuzzForm* form) {
    EXPECT_TRUE(Bar(form, 0)->GetItemLinks()->Items(0)->GetStoredBeginGroup());
  });

  ExpectWorkingForm(WithChange(L"ItemName = 'btnSave'", L"ItemName = 'btnOpen'"), "item linked twice",
                    [](TFuzzForm* form) {
                      TdxBarItemLinks* links = Bar(form, 0)->GetItemLinks();
                      ASSERT_GE(links->Count(), 2);
                      EXPECT_EQ(links->Items(0)->GetItem(), links->Items(1)->GetItem());
                    });

  const size_t linksOfTools = BarFormText().find(L"ItemLinks = <", BarFormText().find(kToolsBar));
  String noLinks = BarFormText();
  size_t close = noLinks.find(L">\n", linksOfTools);
  noLinks.replace(linksOfTools, close + 1 - linksOfTools, L"ItemLinks = <>");
  ExpectWorkingForm(noLinks, "visible bar without links", [](TFuzzForm* form) {
    TdxBar* bar = Bar(form, 1);
    EXPECT_EQ(bar->GetItemLinks()->Count(), 0);
    RECT r = WindowRectOf(bar);
    EXPECT_GT(r.right - r.left, 0);
    EXPECT_GT(r.bottom - r.top, 0);
  });

  // A link naming a component that is no item, or the bar itself, stays empty; the others
  // keep their items.
  for (const wchar_t* name : {L"'dxBarManager1'", L"'SmallImages'", L"'dxBarManager1Bar1'", L"'FuzzForm'", L"''"})
    ExpectWorkingForm(WithChange(L"'btnSave'", name), ToUtf8(name).c_str(), [](TFuzzForm* form) {
      TdxBarItemLinks* links = Bar(form, 0)->GetItemLinks();
      ASSERT_EQ(links->Count(), 6);
      EXPECT_EQ(links->Items(1)->GetItem(), nullptr);
      for (int i : {0, 2, 3, 4, 5})
        EXPECT_NE(links->Items(i)->GetItem(), nullptr) << i;
    });
}

TEST_F(HostileValues, ADockControlOfTheWrongKindIsRefused)
{
  for (const wchar_t* name : {L"dxBarManager1", L"SmallImages", L"FuzzForm", L"btnOpen"}) {
    TFuzzOutcome outcome = CheckDamagedForm(
        WithChange(L"DockControl = dxBarDockControl1", String(L"DockControl = ") + name), ToUtf8(name));
    EXPECT_FALSE(outcome.Read) << ToUtf8(name);
    EXPECT_NE(outcome.Error.find(name), String::npos) << ToUtf8(outcome.Error);
  }
}
