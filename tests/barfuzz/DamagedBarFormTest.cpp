// Damaged bar forms: every truncation, seeded random mutations and hand-picked hostile values
// of a realistic bar form either make the reader refuse the text or give a form that shows,
// lays out, paints and frees cleanly.
#include "FuzzTestUtil.h"

#include <chrono>
#include <cstdlib>
#include <random>
#include <unordered_set>
#include <vector>

namespace {

std::vector<String> SplitLines(const String& AText)
{
  std::vector<String> lines;
  size_t start = 0;
  while (start < AText.size()) {
    size_t end = AText.find(L'\n', start);
    if (end == String::npos)
      end = AText.size();
    lines.push_back(AText.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

String JoinLines(const std::vector<String>& ALines)
{
  String text;
  for (const String& line : ALines)
    text += line + L'\n';
  return text;
}

// One "Name = Value" line taken apart; Eq is npos for other lines.
struct TPropLine {
  size_t Eq = String::npos;
  String Name, Value;
};

TPropLine ParseProp(const String& ALine)
{
  TPropLine prop;
  size_t eq = ALine.find(L" = ");
  if (eq == String::npos)
    return prop;
  prop.Eq = eq;
  size_t first = ALine.find_first_not_of(L' ');
  prop.Name = ALine.substr(first, eq - first);
  prop.Value = ALine.substr(eq + 3);
  return prop;
}

bool IsNumber(const String& AValue)
{
  if (AValue.empty())
    return false;
  size_t i = AValue[0] == L'-' ? 1 : 0;
  return i < AValue.size() && AValue.find_first_not_of(L"0123456789", i) == String::npos;
}

bool IsIdentifier(const String& AValue)
{
  return !AValue.empty() && (iswalpha(AValue[0]) || AValue[0] == L'_') &&
         AValue.find_first_not_of(L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.") == String::npos;
}

String Replaced(const String& ALine, const TPropLine& AProp, const String& AValue)
{
  return ALine.substr(0, AProp.Eq + 3) + AValue;
}

// Applies one random damage of the kinds a hand edit or a broken merge leaves behind.
class TMutator {
public:
  explicit TMutator(uint32_t ASeed) : FRandom(ASeed) {}

  void Mutate(std::vector<String>& ALines)
  {
    // Most lines of the form are picture data: pick one of them only now and then.
    size_t at = Pick(ALines.size());
    for (int retry = 0; retry < 10 && IsPictureData(ALines[at]) && Pick(8) != 0; ++retry)
      at = Pick(ALines.size());
    String& line = ALines[at];
    TPropLine prop = ParseProp(line);
    // Value damage is weighted up: most structural damage only exercises the reader.
    switch (Pick(12)) {
      case 0:
      case 9:
      case 10:  // a number made huge, negative or zero (in a value or a list)
        if (prop.Eq != String::npos && IsNumber(prop.Value))
          line = Replaced(line, prop, PickOf(kNumbers));
        else if (IsNumber(Trimmed(line)))
          line = L"      " + PickOf(kNumbers);
        break;
      case 1:
      case 11:  // an identifier swapped for one of its own kind, another one, or an unknown one
        if (prop.Eq != String::npos && IsIdentifier(prop.Value))
          line = Replaced(line, prop, SwappedIdentifier(prop.Value));
        break;
      case 2:  // a line lost, mostly a value's
        if (prop.Eq != String::npos || Pick(4) == 0)
          ALines.erase(ALines.begin() + ptrdiff_t(at));
        break;
      case 3:  // a line twice, mostly a value's
        if (prop.Eq != String::npos || Pick(4) == 0)
          ALines.insert(ALines.begin() + ptrdiff_t(at), line);
        break;
      case 4:  // an enumeration value nobody knows
        if (prop.Eq != String::npos && IsIdentifier(prop.Value) && prop.Value.size() > 2 && iswlower(prop.Value[0]))
          line = Replaced(line, prop, prop.Value.substr(0, 2) + L"Unheard");
        break;
      case 5:  // a set turned to garbage
        if (prop.Eq != String::npos)
          line = Replaced(line, prop, PickOf(kSets));
        break;
      case 6:  // a component reference to a name nobody has
        if (prop.Eq != String::npos && IsIdentifier(prop.Value) && !iswlower(prop.Value[0]) && prop.Value != L"True" &&
            prop.Value != L"False")
          line = Replaced(line, prop, L"MissingComponent");
        break;
      case 7:  // a link naming a component that is no item, or the bar that holds it
        if (prop.Name == L"ItemName")
          line = Replaced(line, prop, L"'" + PickOf(kNonItems) + L"'");
        else
          Mutate(ALines);
        break;
      default:  // a property name swapped for another one of the form
        if (prop.Eq != String::npos)
          line = line.substr(0, line.find_first_not_of(L' ')) + PickOf(kNames) + line.substr(prop.Eq);
        break;
    }
  }

private:
  static bool IsPictureData(const String& ALine)
  {
    String trimmed = Trimmed(ALine);
    return trimmed.size() > 8 && trimmed.find_first_not_of(L"0123456789ABCDEF}") == String::npos;
  }
  String SwappedIdentifier(const String& AValue)
  {
    if (Pick(4) == 0)
      return Pick(2) ? String(L"Bogus") : PickOf(kIdentifiers);
    if (AValue == L"True" || AValue == L"False")
      return AValue == L"True" ? L"False" : L"True";
    // Enumeration values share a lower-case prefix; component names are capitalised.
    std::vector<String> kin;
    for (const wchar_t* candidate : kIdentifiers)
      if (iswlower(AValue[0])
              ? String(candidate).substr(0, 2) == AValue.substr(0, 2)
              : !iswlower(candidate[0]) && String(candidate) != L"True" && String(candidate) != L"False")
        kin.push_back(candidate);
    return kin.empty() ? PickOf(kIdentifiers) : kin[Pick(kin.size())];
  }
  static String Trimmed(const String& ALine)
  {
    size_t first = ALine.find_first_not_of(L' ');
    return first == String::npos ? String() : ALine.substr(first);
  }
  size_t Pick(size_t ACount) { return std::uniform_int_distribution<size_t>(0, ACount - 1)(FRandom); }
  template <size_t N>
  String PickOf(const wchar_t* const (&AChoices)[N])
  {
    return AChoices[Pick(N)];
  }

  static constexpr const wchar_t* kNumbers[] = {L"2147483647", L"-2147483648", L"-1", L"0", L"-100000",
                                                L"99999",      L"65536",       L"7",  L"-5"};
  static constexpr const wchar_t* kIdentifiers[] = {L"True",
                                                    L"False",
                                                    L"dsTop",
                                                    L"dsNone",
                                                    L"dsLeft",
                                                    L"bsChecked",
                                                    L"bsDropDown",
                                                    L"ivNever",
                                                    L"glTop",
                                                    L"dsRight",
                                                    L"dsBottom",
                                                    L"bsDefault",
                                                    L"bsCheckedDropDown",
                                                    L"ivInCustomizing",
                                                    L"glLeft",
                                                    L"glRight",
                                                    L"bmsFlat",
                                                    L"bmsXP",
                                                    L"dalTop",
                                                    L"dalLeft",
                                                    L"dalNone",
                                                    L"bmsStandard",
                                                    L"SmallImages",
                                                    L"LargeImages",
                                                    L"dxBarManager1",
                                                    L"dxBarDockControl1",
                                                    L"btnOpen",
                                                    L"FuzzForm",
                                                    L"dxBarManager1Bar1",
                                                    L"clRed",
                                                    L"bmsOffice11"};
  static constexpr const wchar_t* kSets[] = {L"[]",      L"[dsTop, dsBottom]", L"[3",
                                             L"[Bogus]", L"[dsTop,]",          L"[ivAlways]"};
  static constexpr const wchar_t* kNonItems[] = {
      L"dxBarManager1",     L"SmallImages",       L"FuzzForm", L"dxBarDockControl1",
      L"dxBarManager1Bar1", L"dxBarManager1Bar2", L"Nobody",   L""};
  static constexpr const wchar_t* kNames[] = {L"Row",        L"DockedLeft",       L"ImageIndex", L"LargeImageIndex",
                                              L"GroupIndex", L"ButtonStyle",      L"Visible",    L"DockControl",
                                              L"Width",      L"FloatClientWidth", L"Category",   L"ItemName",
                                              L"Down",       L"BeginGroup",       L"Align"};
  std::mt19937 FRandom;
};

// A count from the environment, so that a longer or shifted run needs no rebuild.
uint32_t EnvNumber(const char* AName, uint32_t ADefault)
{
  const char* value = std::getenv(AName);
  return value && *value ? uint32_t(std::strtoul(value, nullptr, 10)) : ADefault;
}

class DamagedBarForm : public testing::Test {
protected:
  void SetUp() override
  {
    // Caches the painters and the fonts fill on first use are not leaks of a case: warm them.
    TFuzzOutcome outcome = CheckDamagedForm(BarFormText(), "warm-up");
    ASSERT_TRUE(outcome.Read) << ToUtf8(outcome.Error);
  }
};

}  // namespace

TEST_F(DamagedBarForm, TheUndamagedFormReadsWithEverythingItNames)
{
  TOwned<TFuzzForm> form(TCustomForm::CreateFromText<TFuzzForm>(BarFormText(), nullptr));
  auto* manager = dynamic_cast<TdxBarManager*>(form->FindComponent(L"dxBarManager1"));
  auto* dock = dynamic_cast<TdxBarDockControl*>(form->FindComponent(L"dxBarDockControl1"));
  ASSERT_TRUE(manager && dock);
  ASSERT_EQ(manager->GetBars()->GetCount(), 3);
  EXPECT_EQ(manager->GetBars()->GetItem(0)->GetDockingStyle(), dsTop);
  EXPECT_EQ(manager->GetBars()->GetItem(1)->GetDockingStyle(), dsNone);
  EXPECT_EQ(manager->GetBars()->GetItem(2)->GetDockControl(), dock);
  EXPECT_EQ(manager->GetBars()->GetItem(0)->GetItemLinks()->Count(), 6);
  EXPECT_EQ(manager->GetCategories()->Count(), 2);
  auto* large = dynamic_cast<TdxBarLargeButton*>(form->FindComponent(L"btnLarge"));
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(large->GetLargeImageIndex(), 1);
  EXPECT_EQ(large->GetImageIndex(), 0);
  auto* bold = dynamic_cast<TdxBarButton*>(form->FindComponent(L"btnBold"));
  ASSERT_NE(bold, nullptr);
  EXPECT_TRUE(bold->GetDown());
  EXPECT_EQ(bold->GetGroupIndex(), 1);
}

TEST_F(DamagedBarForm, EveryTruncationIsRefused)
{
  const String text = BarFormText();
  std::vector<size_t> cuts;
  for (size_t at = text.find(L'\n'); at != String::npos; at = text.find(L'\n', at + 1))
    if (at + 1 < text.size())
      cuts.push_back(at + 1);
  // A sample of character positions too, mid-token and mid-binary.
  for (size_t at = 1; at < text.size(); at += 1 + text.size() / 240)
    cuts.push_back(at);
  for (size_t cut : cuts) {
    TFuzzOutcome outcome = CheckDamagedForm(text.substr(0, cut), "truncated at " + std::to_string(cut));
    EXPECT_FALSE(outcome.Read) << "a form cut at " << cut << " read as whole";
    if (HasFatalFailure())
      return;
  }
}

TEST_F(DamagedBarForm, RandomMutationsAreRefusedOrGiveAWorkingForm)
{
  const std::vector<String> lines = SplitLines(BarFormText());
  const auto start = std::chrono::steady_clock::now();
  int read = 0, refused = 0;
  const uint32_t first = EnvNumber("BARFUZZ_FIRST_SEED", 1);
  const uint32_t count = EnvNumber("BARFUZZ_MUTATIONS", 1500);
  // A mutation that changed nothing, or gave a text already tried, teaches nothing new.
  std::unordered_set<String> tried{JoinLines(lines)};
  for (uint32_t seed = first; seed < first + count; ++seed) {
    TMutator mutator(seed);
    std::vector<String> damaged = lines;
    for (uint32_t n = 1 + seed % 3; n > 0; --n)
      // A damage that does not fit the line it picked changes nothing: pick again.
      for (int attempt = 0; attempt < 20; ++attempt) {
        std::vector<String> copy = damaged;
        mutator.Mutate(copy);
        if (copy != damaged) {
          damaged = std::move(copy);
          break;
        }
      }
    String text = JoinLines(damaged);
    if (!tried.insert(text).second)
      continue;
    TFuzzOutcome outcome = CheckDamagedForm(text, "mutation seed " + std::to_string(seed));
    ++(outcome.Read ? read : refused);
    if (HasFatalFailure())
      return;
  }
  // Both ways out must have been taken, or the mutations miss the point.
  EXPECT_GT(read, int(count / 6));
  EXPECT_GT(refused, int(count / 6));
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
  std::printf("mutations: %d read, %d refused, %d s\n", read, refused, int(seconds.count()));
}
