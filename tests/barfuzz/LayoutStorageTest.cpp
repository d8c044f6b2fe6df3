// Stored bar layouts: a layout saved to an ini file or the registry and loaded into a fresh
// form writes back byte for byte; damaged and hostile layouts load safely into a form that
// stays usable; bars off every monitor come back; resetting puts a bar back.
#include "FuzzTestUtil.h"

#include <random>

#include "platform/Dialogs.h"
#include "platform/GraphicsObjects.h"
#include "platform/Registry.h"
#include "platform/Streams.h"
#include "platform/Win.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

const String RegistryPath = L"Software\\BarLayoutTests\\";

String TempIniPath(const wchar_t* AName)
{
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return String(dir) + AName;
}

// The realistic form, with its manager storing its layout in AIniFile when one is given.
String FormText(const String& AIniFile = String())
{
  String text = BarFormText();
  if (!AIniFile.empty())
    text.insert(text.find(L"    Style = bmsFlat\n"),
                L"    StoreInIniFile = True\n    IniFileName = '" + AIniFile + L"'\n");
  return text;
}

// A shown form; the caller owns it.
TFuzzForm* NewForm(const String& AIniFile = String())
{
  auto* form = TCustomForm::CreateFromText<TFuzzForm>(FormText(AIniFile), nullptr);
  form->Show();
  PumpPending();
  return form;
}

TdxBarManager* ManagerOf(TFuzzForm* AForm)
{
  return static_cast<TdxBarManager*>(AForm->FindComponent(L"dxBarManager1"));
}

TdxBar* BarOf(TFuzzForm* AForm, const String& ACaption)
{
  return ManagerOf(AForm)->FindBarByCaption(ACaption);
}

String ReadFileText(const String& APath)
{
  TMemIniFile ini(APath);
  return ini.GetText();
}

// The whole key below the path as text: each key's values in order, then its subkeys.
String RegistryText(const String& APath)
{
  TRegistry reg;
  if (!reg.OpenKeyReadOnly(APath))
    return String();
  String text = L"[" + APath + L"]\n";
  for (const String& name : reg.ValueNames()) {
    TRegDataInfo info;
    reg.GetDataInfo(name, info);
    String value = info.RegData == rdInteger  ? IntToStr(reg.ReadInteger(name))
                   : info.RegData == rdString ? reg.ReadString(name)
                                              : IntToStr(info.DataSize) + L" bytes";
    text += name + L"=" + value + L"\n";
  }
  std::vector<String> keys = reg.KeyNames();
  reg.CloseKey();
  for (const String& key : keys)
    text += RegistryText(APath + key + L"\\");
  return text;
}

// What a user changes: a bar moved to the left side on row 1 behind a new bar on row 0, a
// floating bar placed and sized, links with captions, paint styles, widths, group marks,
// hidden links and usage.
void Customize(TFuzzForm* AForm)
{
  TdxBarManager* manager = ManagerOf(AForm);
  TdxBar* left = manager->GetBars()->Add();
  left->SetCaption(L"Left");
  left->GetItemLinks()->AddItem(static_cast<TdxBarItem*>(AForm->FindComponent(L"btnBold")));
  left->SetDockingStyle(dsLeft);
  left->SetVisible(true);
  TdxBar* large = BarOf(AForm, L"Large");
  {
    // The end of the update drops the rows the moves empty.
    TdxBarManagerUpdate update(manager);
    large->SetDockControl(nullptr);
    large->SetDockingStyle(dsLeft);
    left->SetRow(0);
    large->SetRow(1);
  }
  ASSERT_EQ(large->GetRow(), 1);
  TdxBar* tools = BarOf(AForm, L"Tools");
  tools->SetFloatLeft(140);
  tools->SetFloatTop(160);
  tools->SetFloatClientWidth(180);
  TdxBarItemLinks* links = BarOf(AForm, L"Standard")->GetItemLinks();
  links->Items(0)->SetUserCaption(L"X");
  links->Items(1)->SetUserPaintStyle(psCaptionGlyph);
  links->Items(1)->SetBeginGroup(true);
  links->Items(2)->SetUserWidth(90);
  links->Items(3)->SetVisible(false);
  links->Items(4)->SetUseCount(7);
  links->MoveLink(5, 0);
}

struct TStoreCase {
  const char* Name;
  bool Registry;
};

class TLayoutRoundTrip : public testing::TestWithParam<TStoreCase> {};

TEST_P(TLayoutRoundTrip, FreshFormWritesTheSameLayoutAgain)
{
  const bool registry = GetParam().Registry;
  const String ini = TempIniPath(L"round-trip.ini");
  DeleteFileW(ini.c_str());
  auto save = [&](TFuzzForm* AForm) {
    if (registry) {
      ManagerOf(AForm)->SaveToRegistry(RegistryPath);
      return RegistryText(L"\\" + RegistryPath);
    }
    ManagerOf(AForm)->SaveToIniFile(ini);
    return ReadFileText(ini);
  };
  String first;
  {
    TOwned<TFuzzForm> form(NewForm());
    Customize(form.Get());
    first = save(form.Get());
  }
  TOwned<TFuzzForm> fresh(NewForm());
  if (registry)
    ManagerOf(fresh.Get())->LoadFromRegistry(RegistryPath);
  else
    ManagerOf(fresh.Get())->LoadFromIniFile(ini);
  PumpPending();
  TdxBarItemLinks* links = BarOf(fresh.Get(), L"Standard")->GetItemLinks();
  EXPECT_EQ(links->Items(1)->GetCaption(), L"X");
  EXPECT_EQ(BarOf(fresh.Get(), L"Large")->GetDockingStyle(), dsLeft);
  EXPECT_EQ(BarOf(fresh.Get(), L"Tools")->GetFloatClientWidth(), 180);
  EXPECT_EQ(save(fresh.Get()), first);
  if (registry) {
    TRegistry reg;
    reg.DeleteKey(L"\\Software\\BarLayoutTests");
  }
}

INSTANTIATE_TEST_SUITE_P(Stores, TLayoutRoundTrip,
                         testing::Values(TStoreCase{"Ini", false}, TStoreCase{"Registry", true}),
                         [](const auto& info) { return std::string(info.param.Name); });

// The sections the manager writes, the key that one style leaves out, the old one-character
// flags, foreign sections that survive and an empty registry path that writes nothing.
TEST(LayoutFormat, IniTextKeepsItsRules)
{
  const String ini = TempIniPath(L"format.ini");
  {
    TMemIniFile other(ini);
    other.Clear();
    other.WriteString(L"Other", L"Kept", L"1");
    other.UpdateFile();
  }
  TOwned<TFuzzForm> form(NewForm());
  TdxBarManager* manager = ManagerOf(form.Get());
  manager->SaveToIniFile(ini);
  manager->SaveToIniFile(ini);
  TMemIniFile text(ini);
  EXPECT_EQ(text.ReadInteger(L"FuzzForm.dxBarManager1.Main", L"Version", 0), 33);
  EXPECT_EQ(text.ReadInteger(L"FuzzForm.dxBarManager1.Main", L"BarCount", 0), 3);
  EXPECT_TRUE(text.ValueExists(L"FuzzForm.dxBarManager1.Main", L"MenusShowRecentItemsFirst"));
  EXPECT_EQ(text.ReadString(L"FuzzForm.dxBarManager1.Bar0.ItemLink2", L"ItemName", L""), L"btnPaste");
  EXPECT_EQ(text.ReadString(L"Other", L"Kept", L""), L"1");
  EXPECT_EQ(text.GetText().find(L"[FuzzForm.dxBarManager1.Main]"),
            text.GetText().rfind(L"[FuzzForm.dxBarManager1.Main]"));

  manager->SetStyle(bmsStandard);
  // "5" is udCaption and udPaintStyle; an unknown item drops its link, the others keep order.
  text.WriteString(L"FuzzForm.dxBarManager1.Bar0.ItemLink0", L"UserDefine", L"5");
  text.WriteString(L"FuzzForm.dxBarManager1.Bar0.ItemLink0", L"UserCaption", L"Old");
  text.WriteString(L"FuzzForm.dxBarManager1.Bar0.ItemLink1", L"ItemName", L"btnGone");
  text.UpdateFile();
  manager->LoadFromIniFile(ini);
  manager->SaveToIniFile(ini);
  TMemIniFile after(ini);
  EXPECT_FALSE(after.ValueExists(L"FuzzForm.dxBarManager1.Main", L"MenusShowRecentItemsFirst"));
  TdxBarItemLinks* links = BarOf(form.Get(), L"Standard")->GetItemLinks();
  ASSERT_EQ(links->Count(), 5);
  EXPECT_EQ(links->Items(0)->GetCaption(), L"Old");
  EXPECT_EQ(links->Items(0)->GetUserDefine(), TdxBarUserDefines({udCaption, udPaintStyle}));
  EXPECT_EQ(links->Items(1)->GetItem()->Name(), L"btnPaste");

  manager->SaveToRegistry(L"");
  EXPECT_TRUE(RegistryText(L"\\").find(L"BarLayoutTests") == String::npos);
}

// A layout saved before an item existed keeps the new item's link after the link it follows
// in the form data; more bars in the layout than in the form are made.
TEST(LayoutFormat, NewItemsKeepTheirPlaceAndExtraBarsAreMade)
{
  const String ini = TempIniPath(L"new-items.ini");
  TOwned<TFuzzForm> form(NewForm());
  TdxBarManager* manager = ManagerOf(form.Get());
  manager->SaveToIniFile(ini);
  TMemIniFile text(ini);
  const String items = L"FuzzForm.dxBarManager1.Items";
  text.DeleteKey(items, L"btnSave");  // btnSave came after the save
  const String bar0 = L"FuzzForm.dxBarManager1.Bar0";
  text.EraseSection(bar0 + L".ItemLink1");
  for (int j = 2; j < 6; ++j) {
    TStringList keys;
    text.ReadSectionValues(bar0 + L".ItemLink" + IntToStr(j), &keys);
    for (int k = 0; k < keys.Count(); ++k)
      text.WriteString(bar0 + L".ItemLink" + IntToStr(j - 1), keys.Names(k), keys.ValueFromIndex(k));
  }
  text.WriteInteger(bar0, L"ItemLinkCount", 4);  // Open, Paste, Bold, Italic: Underline dropped too
  text.WriteString(L"FuzzForm.dxBarManager1.Bar3", L"Caption", L"Extra");
  text.WriteInteger(L"FuzzForm.dxBarManager1.Main", L"BarCount", 4);
  text.UpdateFile();
  manager->LoadFromIniFile(ini);
  TdxBarItemLinks* links = BarOf(form.Get(), L"Standard")->GetItemLinks();
  std::vector<String> names;
  for (int i = 0; i < links->Count(); ++i)
    names.push_back(links->Items(i)->GetItem()->Name());
  EXPECT_EQ(names, (std::vector<String>{L"btnOpen", L"btnSave", L"btnPaste", L"btnBold", L"btnItalic"}));
  EXPECT_EQ(manager->GetBars()->GetCount(), 4);
  EXPECT_NE(manager->FindBarByCaption(L"Extra"), nullptr);
}

// A form storing its layout in an ini file saves it when it goes and loads it when it is made;
// the handlers hear of both; an ini stream stands in for the file.
TEST(LayoutFormat, FormsSaveWhenDestroyedAndLoadWhenMade)
{
  const String ini = TempIniPath(L"automatic.ini");
  DeleteFileW(ini.c_str());
  {
    TOwned<TFuzzForm> form(NewForm(ini));
    BarOf(form.Get(), L"Tools")->SetFloatLeft(222);
  }
  // What the handlers hear outlives the form, which saves once more as it goes.
  std::vector<std::pair<String, bool>> heard;
  TOwned<TFuzzForm> form(NewForm(ini));
  TdxBarManager* manager = ManagerOf(form.Get());
  EXPECT_EQ(BarOf(form.Get(), L"Tools")->GetFloatLeft(), 222);

  auto handler = [&](TCustomIniFile*, const String& ABase, bool ARegistry) { heard.emplace_back(ABase, ARegistry); };
  manager->LayoutSavedHandlers().Add(TEvent<void(TCustomIniFile*, const String&, bool)>(handler));
  manager->LayoutLoadedHandlers().Add(TEvent<void(TCustomIniFile*, const String&, bool)>(handler));
  TMemoryStream stream;
  manager->SetIniStream(&stream);
  manager->SaveToIniFile(String());
  BarOf(form.Get(), L"Tools")->SetFloatLeft(10);
  manager->LoadFromIniFile(String());
  manager->SetIniStream(nullptr);
  EXPECT_EQ(BarOf(form.Get(), L"Tools")->GetFloatLeft(), 222);
  EXPECT_GT(stream.GetSize(), 0);
  const std::pair<String, bool> expected(L"FuzzForm.dxBarManager1.", false);
  EXPECT_EQ(heard, (std::vector<std::pair<String, bool>>{expected, expected}));
}

struct TOffScreenCase {
  int Left, Top;
};

class TOffScreenBar : public testing::TestWithParam<TOffScreenCase> {};

TEST_P(TOffScreenBar, ComesBackWhollyOnTheWorkAreaWithItsSize)
{
  const String ini = TempIniPath(L"off-screen.ini");
  int width = 0;
  {
    TOwned<TFuzzForm> form(NewForm());
    width = BarOf(form.Get(), L"Tools")->GetControl()->GetWidth();
    ManagerOf(form.Get())->SaveToIniFile(ini);
  }
  TMemIniFile text(ini);
  text.WriteInteger(L"FuzzForm.dxBarManager1.Bar1", L"FloatLeft", GetParam().Left);
  text.WriteInteger(L"FuzzForm.dxBarManager1.Bar1", L"FloatTop", GetParam().Top);
  text.UpdateFile();
  TOwned<TFuzzForm> form(NewForm(ini));
  TdxBarControl* control = BarOf(form.Get(), L"Tools")->GetControl();
  ASSERT_NE(control, nullptr);
  RECT r, area;
  GetWindowRect(control->GetHandle(), &r);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom)
      << r.left << "," << r.top << " " << r.right << "," << r.bottom;
  EXPECT_EQ(r.right - r.left, width);
}

INSTANTIATE_TEST_SUITE_P(Places, TOffScreenBar,
                         testing::Values(TOffScreenCase{-4000, 420}, TOffScreenCase{30000, 30000},
                                         TOffScreenCase{-60, 100}, TOffScreenCase{200, -32768}));

// --- Damaged layouts

// Damaged copies of a saved layout, each loaded into one form through the manager's ini
// stream under the time limit, then the good layout again: no error box, and the GDI count
// where it was. Some cases go the whole way instead: a new form reads the damaged file in
// Loaded, shows, paints, saves it back when it goes and frees; and a real click on a button
// still runs it.
class TDamagedLayouts : public testing::Test {
protected:
  void SetUp() override
  {
    Ini = TempIniPath(L"damaged.ini");
    Form = NewForm();
    Manager = ManagerOf(Form);
    Manager->SetIniStream(&Stream);
    Manager->SaveToIniFile(String());
    Saved = FromUtf8(std::string(static_cast<const char*>(Stream.Memory()), size_t(Stream.GetSize())));
    // Windows made again and painted once: what the painters keep from then on is counted in.
    Load(Saved);
    PaintAll(Form);
    Load(Saved);
  }

  void Load(const String& AText)
  {
    std::string bytes = ToUtf8(AText);
    Stream.SetSize(0);
    Stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    Manager->LoadFromIniFile(String());
    PumpPending();
  }

  // The cases that go the whole way run after the others, which share one form.
  void Check(const String& AText, const std::string& ALabel, bool AWhole)
  {
    if (AWhole)
      Whole.emplace_back(AText, ALabel);
    TCaseGuard guard(ALabel);
    TBoxCounter boxes;
    const int gdi = GdiObjectsInUse();
    EXPECT_NO_THROW(Load(AText)) << ALabel;
    PaintAll(Form);
    Load(Saved);
    EXPECT_EQ(boxes.Count, 0) << ALabel << ": " << ToUtf8(boxes.LastText);
    EXPECT_EQ(GdiObjectsInUse(), gdi) << ALabel << ": GDI objects left behind";
  }

  void TearDown() override
  {
    Form->Free();
    for (const auto& [text, label] : Whole) {
      TMemIniFile ini(Ini);
      ini.SetText(text);
      ini.UpdateFile();
      TFuzzOutcome outcome =
          CheckDamagedForm(FormText(Ini), label, [&](TFuzzForm* AForm) { ClickAButton(AForm, label); });
      EXPECT_TRUE(outcome.Read) << label << ": " << ToUtf8(outcome.Error);
    }
    EXPECT_GE(Clicked, int(Whole.size()) / 2) << "too few cases left a button to click";
  }

  // A real click on a plain button that shows in full runs it. A damaged layout may leave
  // none (every link dropped, the bars hidden): the test counts the clicks made.
  void ClickAButton(TFuzzForm* AForm, const std::string& ALabel)
  {
    TdxBarManager* manager = ManagerOf(AForm);
    for (int i = 0; i < manager->GetBars()->GetCount(); ++i) {
      TdxBar* bar = manager->GetBars()->GetItem(i);
      TdxBarControl* control = bar->GetControl();
      for (int j = 0; control && j < bar->GetItemLinks()->ShownItemCount(); ++j) {
        TdxBarItemLink* link = bar->GetItemLinks()->ShownItems(j);
        auto* button = dynamic_cast<TdxBarButton*>(link->GetItem());
        TRect r = link->GetItemRect();
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(control->GetHandle(), &p);
        if (!button || !button->GetEnabled() || button->GetButtonStyle() != bsDefault || IsRectEmpty(&r) ||
            WindowFromPoint(p) != control->GetHandle())
          continue;
        int clicks = 0;
        button->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
        ClickAt(p);
        EXPECT_TRUE(PumpUntil([&] { return clicks == 1; })) << ALabel << ": the button did not run";
        button->SetOnClick(nullptr);
        ++Clicked;
        return;
      }
    }
  }

  String Ini;
  TFuzzForm* Form = nullptr;
  TdxBarManager* Manager = nullptr;
  TMemoryStream Stream;
  String Saved;
  int Clicked = 0;
  std::vector<std::pair<String, std::string>> Whole;
};

TEST_F(TDamagedLayouts, TruncationsAtEveryLineLoad)
{
  // Cut at the end and in the middle of every line.
  size_t whole = 0;
  for (size_t at = 0, end; at < Saved.size(); at = end + 1) {
    end = std::min(Saved.find(L'\n', at), Saved.size());
    for (size_t n : {at + (end - at) / 2, end})
      Check(Saved.substr(0, n), "truncated to " + std::to_string(n), whole++ % 40 == 0);
  }
}

TEST_F(TDamagedLayouts, SeededMutationsLoad)
{
  static const wchar_t* const values[] = {L"2147483647", L"-2147483648", L"0",  L"-1",      L"99999",        L"abc",
                                          L"",           L"1e9",         L"FF", L"btnGone", L"dxBarManager1"};
  std::vector<String> lines;
  for (size_t at = 0, end; at < Saved.size(); at = end + 2) {
    end = Saved.find(L"\r\n", at);
    if (end == String::npos)
      end = Saved.size();
    lines.push_back(Saved.substr(at, end - at));
  }
  std::mt19937 random(20261207);
  auto pick = [&](size_t n) { return size_t(random() % n); };
  for (int c = 0; c < 2000; ++c) {
    std::vector<String> mutated = lines;
    for (int k = 0; k < 1 + int(pick(3)); ++k) {
      size_t i = pick(mutated.size());
      String& line = mutated[i];
      size_t eq = line.find(L'=');
      switch (pick(4)) {
        case 0:  // a value of the wrong kind or out of range
          if (eq != String::npos)
            line = line.substr(0, eq + 1) + values[pick(std::size(values))];
          break;
        case 1:  // names or values swapped
          std::swap(line, mutated[pick(mutated.size())]);
          break;
        case 2:  // a section or a line deleted
          mutated.erase(mutated.begin() + long(i), mutated.begin() + long(std::min(mutated.size(), i + 1 + pick(12))));
          break;
        default:  // lines doubled
          mutated.insert(mutated.begin() + long(pick(mutated.size())), mutated.begin() + long(i),
                         mutated.begin() + long(std::min(mutated.size(), i + pick(12))));
      }
      if (mutated.empty())
        mutated.push_back(String());
    }
    String text;
    for (const String& line : mutated)
      text += line + L"\r\n";
    Check(text, "mutation " + std::to_string(c), c % 200 == 0);
  }
}

TEST(DamagedRegistryLayout, ValuesOfTheWrongTypeLoad)
{
  TOwned<TFuzzForm> form(NewForm());
  ManagerOf(form.Get())->SaveToRegistry(RegistryPath);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(L"\\" + RegistryPath, false));
  reg.WriteString(L"BarCount", L"lots");
  reg.WriteBinaryData(L"MenuAnimations", "\x09\x09", 2);
  ASSERT_TRUE(reg.OpenKey(L"Bar0", false));
  reg.WriteInteger(L"Caption", 12);
  reg.WriteString(L"DockingStyle", L"dsTop");
  reg.WriteInteger(L"ItemLinkCount", 900000);
  ASSERT_TRUE(reg.OpenKey(L"ItemLink0", false));
  reg.WriteInteger(L"ItemName", 3);
  reg.WriteString(L"UserDefine", L"15");
  reg.CloseKey();
  TFuzzOutcome outcome = CheckDamagedForm(FormText(), "registry", [](TFuzzForm* AForm) {
    ManagerOf(AForm)->LoadFromRegistry(RegistryPath);
    PumpPending();
  });
  EXPECT_TRUE(outcome.Read);
  reg.DeleteKey(L"\\Software\\BarLayoutTests");
}

// --- Reset

TEST(BarReset, BringsBackLinksAndWithFullResetThePlace)
{
  for (bool full : {false, true}) {
    TOwned<TFuzzForm> form(NewForm());
    TdxBarManager* manager = ManagerOf(form.Get());
    manager->SetUseFullReset(full);
    TdxBar* bar = BarOf(form.Get(), L"Standard");
    bar->GetItemLinks()->Items(1)->Free();
    bar->SetDockingStyle(dsBottom);
    int events = 0;
    manager->OnBarBeforeReset = TdxBarEvent([&](TObject*, TdxBar*) { events += 1; });
    manager->OnBarAfterReset = TdxBarEvent([&](TObject*, TdxBar*) { events += 10; });
    bar->Reset();
    EXPECT_EQ(events, 11);
    ASSERT_EQ(bar->GetItemLinks()->Count(), 6);
    EXPECT_EQ(bar->GetItemLinks()->Items(1)->GetItem()->Name(), L"btnSave");
    EXPECT_EQ(bar->GetDockingStyle(), full ? dsTop : dsBottom) << full;
    EXPECT_TRUE(bar->GetVisible());
  }
}

TEST(BarReset, RunTimeBarsAreRefusedAndTheConfirmationAsks)
{
  TOwned<TFuzzForm> form(NewForm());
  TdxBarManager* manager = ManagerOf(form.Get());
  // A bar made at run time under a caption the initial layout knows.
  BarOf(form.Get(), L"Standard")->SetCaption(L"Renamed");
  TdxBar* made = manager->GetBars()->Add();
  made->SetCaption(L"Standard");
  made->GetItemLinks()->AddItem(static_cast<TdxBarItem*>(form->FindComponent(L"btnOpen")));
  EXPECT_FALSE(made->CanReset());
  made->Reset();
  EXPECT_EQ(made->GetItemLinks()->Count(), 1);

  TdxBar* bar = BarOf(form.Get(), L"Tools");
  bar->GetItemLinks()->Items(0)->Free();
  String text;
  uint32_t flags = 0;
  int answer = IDCANCEL;
  TMessageBoxProc previous = SetMessageBoxProc([&](HWND, const String& AText, const String&, uint32_t AFlags) {
    text = AText;
    flags = AFlags;
    return answer;
  });
  bar->ResetWithConfirmation();
  EXPECT_EQ(bar->GetItemLinks()->Count(), 1);
  answer = IDOK;
  bar->ResetWithConfirmation();
  SetMessageBoxProc(std::move(previous));
  EXPECT_EQ(bar->GetItemLinks()->Count(), 2);
  EXPECT_EQ(text, L"Are you sure you want to reset the changes made to the 'Tools' toolbar?");
  EXPECT_EQ(flags, 49u);
}

}  // namespace
