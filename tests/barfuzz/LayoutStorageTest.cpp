// Stored bar layouts: saved and loaded into a fresh form they write back byte for byte; damaged
// ones load safely into a form that stays usable; bars come back on screen; reset.
#include "FuzzTestUtil.h"

#include <algorithm>
#include <map>
#include <random>

#include "platform/Dialogs.h"
#include "platform/GraphicsObjects.h"
#include "platform/Registry.h"
#include "platform/Scope.h"
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
    TdxBarManagerUpdate update(manager);  // its end drops the rows the moves empty
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

class TLayoutRoundTrip : public testing::TestWithParam<bool> {};

// In an ini file, then in the registry.
TEST_P(TLayoutRoundTrip, FreshFormWritesTheSameLayoutAgain)
{
  const bool registry = GetParam();
  const String ini = TempIniPath(L"round-trip.ini");
  DeleteFileW(ini.c_str());
  // What the registry holds, as text: the same writer into memory, after the real save.
  auto save = [&](TFuzzForm* AForm) {
    if (!registry) {
      ManagerOf(AForm)->SaveToIniFile(ini);
      return TMemIniFile(ini).GetText();
    }
    ManagerOf(AForm)->SaveToRegistry(RegistryPath);
    TMemIniFile text;
    ManagerOf(AForm)->SaveLayoutToIni(&text, L"\\" + RegistryPath, true);
    return text.GetText();
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
  EXPECT_EQ(save(fresh.Get()), first);
  TRegistry().DeleteKey(L"\\Software\\BarLayoutTests");
}

INSTANTIATE_TEST_SUITE_P(Stores, TLayoutRoundTrip, testing::Bool());

// The sections the manager writes, the key that one style leaves out, the old one-character
// flags, foreign sections that survive and an empty registry path that writes nothing.
TEST(LayoutFormat, IniTextKeepsItsRules)
{
  const String ini = TempIniPath(L"format.ini");
  DeleteFileW(ini.c_str());
  TIniFile(ini).WriteString(L"Other", L"Kept", L"1");
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
  // "5" is udCaption and udPaintStyle.
  text.WriteString(L"FuzzForm.dxBarManager1.Bar0.ItemLink0", L"UserDefine", L"5");
  text.WriteString(L"FuzzForm.dxBarManager1.Bar0.ItemLink0", L"UserCaption", L"Old");
  text.UpdateFile();
  manager->LoadFromIniFile(ini);
  manager->SaveToIniFile(ini);
  TMemIniFile after(ini);
  EXPECT_FALSE(after.ValueExists(L"FuzzForm.dxBarManager1.Main", L"MenusShowRecentItemsFirst"));
  TdxBarItemLink* link = BarOf(form.Get(), L"Standard")->GetItemLinks()->Items(0);
  EXPECT_EQ(link->GetCaption(), L"Old");
  EXPECT_EQ(link->GetUserDefine(), TdxBarUserDefines({udCaption, udPaintStyle}));

  manager->SaveToRegistry(L"");
  TRegistry root;
  ASSERT_TRUE(root.OpenKeyReadOnly(L"\\"));
  EXPECT_FALSE(root.ValueExists(L"BarCount"));
}

// A form storing its layout in an ini file saves it when it goes (the handlers hear it) and
// loads it when it is made.
TEST(LayoutFormat, FormsSaveWhenDestroyedAndLoadWhenMade)
{
  const String ini = TempIniPath(L"automatic.ini");
  DeleteFileW(ini.c_str());
  std::vector<String> heard;
  {
    TOwned<TFuzzForm> form(NewForm(ini));
    BarOf(form.Get(), L"Tools")->SetFloatLeft(222);
    ManagerOf(form.Get())
        ->LayoutSavedHandlers()
        .Add(TEvent<void(TCustomIniFile*, const String&, bool)>(
            [&](TCustomIniFile*, const String& ABase, bool) { heard.push_back(ABase); }));
  }
  EXPECT_EQ(heard, std::vector<String>{L"FuzzForm.dxBarManager1."});
  TOwned<TFuzzForm> form(NewForm(ini));
  EXPECT_EQ(BarOf(form.Get(), L"Tools")->GetFloatLeft(), 222);
}

// One form and its saved layout, loaded again through the manager's ini stream. A damaged
// copy loads under the time limit, then the good layout again: no error box, and the GDI
// count where it was. Some cases go the whole way: a new form reads the damaged file in
// Loaded, shows, paints, saves it back when it goes and frees, and a real click on a button
// still runs it.
class TStoredLayout : public testing::Test {
protected:
  void SetUp() override
  {
    Ini = TempIniPath(L"damaged.ini");
    Form = NewForm();
    Manager = ManagerOf(Form);
    Manager->SetIniStream(&Stream);
    Manager->SaveToIniFile(String());
    Saved = FromUtf8(std::string(static_cast<const char*>(Stream.Memory()), size_t(Stream.GetSize())));
    // Windows made again and painted once: what the painters keep from then on is counted in,
    // and so is what the empty dock sites keep once a damaged layout docks a bar on them.
    for (TdxBarDockingStyle style : {dsLeft, dsTop, dsRight, dsBottom})
      if (TdxDockControl* site = Manager->GetBars()->GetDockControl(style))
        site->HandleNeeded();
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

  // What the user has of a bar: its caption, whether and where it shows, and its links.
  struct TBarState {
    String Own;
    std::vector<String> Links;
  };
  std::vector<TBarState> States() const
  {
    std::vector<TBarState> result;
    for (int i = 0; i < Manager->GetBars()->GetCount(); ++i) {
      TdxBar* bar = Manager->GetBars()->GetItem(i);
      TBarState& state = result.emplace_back();
      state.Own = bar->GetCaption() + (bar->GetVisible() ? L" shown" : L" hidden") + L" style " +
                  IntToStr(int(bar->GetDockingStyle())) + L" row " + IntToStr(bar->GetRow());
      for (int j = 0; j < bar->GetItemLinks()->Count(); ++j) {
        TdxBarItemLink* link = bar->GetItemLinks()->Items(j);
        state.Links.push_back(link->GetItem()->Name() + (link->GetVisible() ? L"" : L"(hidden)"));
      }
    }
    return result;
  }

  // The bars' states as one text, less the links AKept (bar, link) turns away.
  String Summary(const std::function<bool(int, int)>& AKept = nullptr) const
  {
    String text;
    const std::vector<TBarState> states = States();
    for (size_t i = 0; i < states.size(); ++i) {
      text += states[i].Own + L":";
      for (size_t j = 0; j < states[i].Links.size(); ++j)
        if (!AKept || AKept(int(i), int(j)))
          text += L" " + states[i].Links[j];
      text += L"\n";
    }
    return text;
  }

  // The cases that go the whole way run after the others, which share one form. AExpected,
  // when given, is what the user must have of the bars after the damaged load; AAfterLoad
  // looks at them then too.
  void Check(const String& AText, const std::string& ALabel, bool AWhole, const String& AExpected = String(),
             const std::function<void()>& AAfterLoad = nullptr)
  {
    if (AWhole)
      Whole.emplace_back(AText, ALabel);
    TCaseGuard guard(ALabel);
    TBoxCounter boxes;
    const int gdi = GdiObjectsInUse();
    EXPECT_NO_THROW(Load(AText)) << ALabel;
    if (!AExpected.empty()) {
      EXPECT_EQ(Summary(), AExpected) << ALabel;
    }
    if (AAfterLoad)
      AAfterLoad();
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
    for (int i = 0; i < ManagerOf(AForm)->GetBars()->GetCount(); ++i) {
      TdxBar* bar = ManagerOf(AForm)->GetBars()->GetItem(i);
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

// Each section's lines as they stand, its header with them: a section named twice, or
// one that gained or lost a line, reads differently.
std::map<String, String> SectionTexts(TStringList& ALines)
{
  std::map<String, String> result;
  String section;
  for (int i = 0; i < ALines.Count(); ++i) {
    const String line = ALines.Strings(i);
    if (line.size() > 1 && line.front() == L'[' && line.back() == L']')
      section = line.substr(1, line.size() - 2);
    result[section] += line + L"\n";
  }
  return result;
}

// Cut at the end and in the middle of every line. Cut after a line, what the text still holds
// is what the form had already and the bars keep what it lost: only a link whose section lost
// its item's name goes. A line cut in its middle may hold half a value, so those cases only
// have to load safely.
TEST_F(TStoredLayout, TruncationsAtEveryLineLoadAndLoseNothingElse)
{
  TMemIniFile full;
  full.SetText(Saved);
  size_t whole = 0;
  for (size_t at = 0, end; at < Saved.size(); at = end + 1) {
    end = std::min(Saved.find(L'\n', at), Saved.size());
    for (size_t n : {at + (end - at) / 2, end}) {
      TMemIniFile cut;
      cut.SetText(Saved.substr(0, n));
      auto kept = [&](int ABar, int ALink) {
        const String bar = L"FuzzForm.dxBarManager1.Bar" + IntToStr(ABar);
        const String link = bar + L".ItemLink" + IntToStr(ALink);
        return !cut.ValueExists(bar, L"ItemLinkCount") ||
               cut.ReadString(link, L"ItemName", L"") == full.ReadString(link, L"ItemName", L"");
      };
      Check(Saved.substr(0, n), "truncated to " + std::to_string(n), whole++ % 40 == 0,
            n == end ? Summary(kept) : String());
    }
  }
}

// A bar whose section is missing or says nothing of its visibility keeps its state; a missing
// link section costs that link alone; the rest of the layout still loads.
TEST_F(TStoredLayout, DamagedSectionsCostOnlyWhatTheyHeld)
{
  const String base = L"FuzzForm.dxBarManager1.";
  const std::vector<TBarState> before = States();
  auto damaged = [&](const std::function<void(TMemIniFile&)>& ADamage) {
    TMemIniFile text;
    text.SetText(Saved);
    // Changes the damage must not undo: the first bar's first link gets a caption, the
    // floating bar moves.
    text.WriteString(base + L"Bar0.ItemLink0", L"UserDefine", L"1");
    text.WriteString(base + L"Bar0.ItemLink0", L"UserCaption", L"Opened");
    text.WriteInteger(base + L"Bar1", L"FloatLeft", 333);
    ADamage(text);
    Load(text.GetText());
  };
  TdxBar* standard = BarOf(Form, L"Standard");
  TdxBar* tools = BarOf(Form, L"Tools");
  TdxBar* large = BarOf(Form, L"Large");
  auto names = [](TdxBar* ABar) {
    std::vector<String> result;
    for (int i = 0; i < ABar->GetItemLinks()->Count(); ++i)
      result.push_back(ABar->GetItemLinks()->Items(i)->GetItem()->Name());
    return result;
  };
  const std::vector<String> standardLinks = names(standard), largeLinks = names(large);

  // The last bar's section is gone, the count still names it.
  damaged([&](TMemIniFile& AText) {
    AText.EraseSection(base + L"Bar2");
    for (int j = 0; j < 3; ++j)
      AText.EraseSection(base + L"Bar2.ItemLink" + IntToStr(j));
  });
  EXPECT_TRUE(large->GetVisible());
  EXPECT_EQ(large->GetDockControl(), Form->FindComponent(L"dxBarDockControl1"));
  EXPECT_EQ(names(large), largeLinks);
  EXPECT_EQ(standard->GetItemLinks()->Items(0)->GetCaption(), L"Opened");
  EXPECT_EQ(tools->GetFloatLeft(), 333);
  Load(Saved);

  // A section cut before its visibility; the others around it load.
  damaged([&](TMemIniFile& AText) {
    AText.DeleteKey(base + L"Bar1", L"Visible");
    AText.DeleteKey(base + L"Bar1", L"Row");
  });
  EXPECT_TRUE(tools->GetVisible());
  EXPECT_TRUE(large->GetVisible());
  EXPECT_EQ(tools->GetFloatLeft(), 333);
  EXPECT_EQ(standard->GetItemLinks()->Items(0)->GetCaption(), L"Opened");
  Load(Saved);

  // One link section of six is missing: that link alone goes, in the order of the others.
  damaged([&](TMemIniFile& AText) { AText.EraseSection(base + L"Bar0.ItemLink1"); });
  std::vector<String> expected = standardLinks;
  expected.erase(expected.begin() + 1);
  EXPECT_EQ(names(standard), expected);
  EXPECT_EQ(standard->GetItemLinks()->Items(0)->GetCaption(), L"Opened");
  EXPECT_TRUE(standard->GetVisible() && tools->GetVisible() && large->GetVisible());
  EXPECT_EQ(tools->GetFloatLeft(), 333);
}

// Each case makes one to three changes: a value of the wrong kind or out of range, two lines
// swapped (names and values), up to twelve lines (a section) deleted or doubled further on.
// A bar whose section, and the manager's, the changes left alone keeps its state, and the
// links whose sections they left alone stay on it in their order. Three blocks of a thousand
// seeds, each a test of its own so that the blocks can run side by side.
class TStoredLayoutMutations : public TStoredLayout, public testing::WithParamInterface<int> {};

TEST_P(TStoredLayoutMutations, SeededMutationsLoad)
{
  static const wchar_t* const values[] = {L"2147483647", L"-2147483648", L"0",  L"-1",      L"99999",        L"abc",
                                          L"",           L"1e9",         L"FF", L"btnGone", L"dxBarManager1"};
  TStringList lines;
  lines.SetText(Saved);
  const std::map<String, String> original = SectionTexts(lines);
  const String base = L"FuzzForm.dxBarManager1.";
  const std::vector<TBarState> before = States();
  std::mt19937 random(20261207 + GetParam());
  auto pick = [&](size_t n) { return size_t(random() % n); };
  for (int c = 0; c < 1000; ++c) {
    TStringList m;
    m.Assign(&lines);
    for (int k = 0; k <= int(pick(3)) && m.Count() > 0; ++k) {
      int i = int(pick(size_t(m.Count()))), n = std::min(m.Count() - i, 1 + int(pick(12)));
      size_t eq = m.Strings(i).find(L'=');
      switch (pick(4)) {
        case 0:
          m.Put(i, m.Strings(i).substr(0, eq + 1) + values[pick(std::size(values))]);
          break;
        case 1:
          m.Exchange(i, int(pick(size_t(m.Count()))));
          break;
        case 2:
          while (n--)
            m.Delete(i);
          break;
        default:
          for (int at = i + n + int(pick(size_t(m.Count() - i - n + 1))); n--;)
            m.Insert(at, m.Strings(i + n));
      }
    }
    const std::map<String, String> mutated = SectionTexts(m);
    auto untouched = [&](const String& ASection) {
      auto was = original.find(ASection), is = mutated.find(ASection);
      return was != original.end() && is != mutated.end() && is->second == was->second;
    };
    const std::string label = "mutation " + std::to_string(GetParam() * 1000 + c);
    Check(m.GetText(), label, c % 100 == 0, String(), [&] {
      const std::vector<TBarState> after = States();
      for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
        const String bar = base + L"Bar" + IntToStr(int(i));
        if (!untouched(base + L"Main") || !untouched(bar))
          continue;
        EXPECT_EQ(after[i].Own, before[i].Own) << label;
        // What stayed must still be there, in its order, whatever went around it.
        auto at = after[i].Links.begin();
        for (size_t j = 0; j < before[i].Links.size(); ++j) {
          if (!untouched(bar + L".ItemLink" + IntToStr(int(j))))
            continue;
          at = std::find(at, after[i].Links.end(), before[i].Links[j]);
          if (at == after[i].Links.end()) {
            ADD_FAILURE() << label << ": bar " << i << " lost link " << j;
            break;
          }
          ++at;
        }
      }
    });
  }
}

INSTANTIATE_TEST_SUITE_P(Blocks, TStoredLayoutMutations, testing::Values(0, 1, 2));

// Every value of a bar and a link of the wrong type in the registry.
TEST_F(TStoredLayout, RegistryValuesOfTheWrongTypeLoad)
{
  Manager->SaveToRegistry(RegistryPath);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(L"\\" + RegistryPath + L"Bar0\\ItemLink0", false));
  for (const String& name : reg.ValueNames())
    reg.WriteBinaryData(name, "\x09\x09", 2);
  ASSERT_TRUE(reg.OpenKey(L"\\" + RegistryPath + L"Bar0", false));
  for (const String& name : reg.ValueNames())
    reg.WriteString(name, name == L"ItemLinkCount" ? L"1" : L"lots");
  TBoxCounter boxes;
  Manager->LoadFromRegistry(RegistryPath);
  PumpPending();
  EXPECT_EQ(boxes.Count, 0);
  Load(Saved);
  reg.DeleteKey(L"\\Software\\BarLayoutTests");
}

// A floating bar stored wholly or partly off screen comes back on the work area, its size kept.
TEST_F(TStoredLayout, FloatingBarOffTheScreenComesBack)
{
  const int width = BarOf(Form, L"Tools")->GetControl()->GetWidth();
  for (POINT place : {POINT{-4000, 420}, POINT{30000, 30000}, POINT{-60, 100}, POINT{200, -32768}}) {
    TMemIniFile text;
    text.SetText(Saved);
    text.WriteInteger(L"FuzzForm.dxBarManager1.Bar1", L"FloatLeft", place.x);
    text.WriteInteger(L"FuzzForm.dxBarManager1.Bar1", L"FloatTop", place.y);
    Load(text.GetText());
    RECT r, area;
    GetWindowRect(BarOf(Form, L"Tools")->GetControl()->GetHandle(), &r);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom)
        << place.x << "," << place.y;
    EXPECT_EQ(r.right - r.left, width);
  }
}

// A layout saved before an item existed keeps the new item's link after the link it followed;
// a link to an item that is gone is dropped; more bars in the layout than in the form are made.
TEST_F(TStoredLayout, NewItemsKeepTheirPlaceAndExtraBarsAreMade)
{
  TMemIniFile text;
  text.SetText(Saved);
  text.DeleteKey(L"FuzzForm.dxBarManager1.Items", L"btnSave");  // btnSave came after the save
  text.WriteString(L"FuzzForm.dxBarManager1.Bar0.ItemLink1", L"ItemName", L"btnGone");
  text.WriteInteger(L"FuzzForm.dxBarManager1.Bar0", L"ItemLinkCount", 5);  // Underline goes too
  text.WriteString(L"FuzzForm.dxBarManager1.Bar3", L"Caption", L"Extra");
  text.WriteInteger(L"FuzzForm.dxBarManager1.Main", L"BarCount", 4);
  Load(text.GetText());
  TdxBarItemLinks* links = BarOf(Form, L"Standard")->GetItemLinks();
  std::vector<String> names;
  for (int i = 0; i < links->Count(); ++i)
    names.push_back(links->Items(i)->GetItem()->Name());
  EXPECT_EQ(names, (std::vector<String>{L"btnOpen", L"btnSave", L"btnPaste", L"btnBold", L"btnItalic"}));
  EXPECT_NE(Manager->FindBarByCaption(L"Extra"), nullptr);
}

// Reset brings back the links, and with UseFullReset the place; a bar made at run time is
// refused; the confirmation asks with the library's text and flags.
TEST_F(TStoredLayout, ResetBringsBackWhatTheFormDataHad)
{
  TdxBar* bar = BarOf(Form, L"Standard");
  int events = 0;
  Manager->OnBarBeforeReset = TdxBarEvent([&](TObject*, TdxBar*) { events += 1; });
  Manager->OnBarAfterReset = TdxBarEvent([&](TObject*, TdxBar*) { events += 10; });
  for (bool full : {false, true}) {
    Manager->SetUseFullReset(full);
    bar->GetItemLinks()->Items(1)->Free();
    bar->SetDockingStyle(dsBottom);
    bar->Reset();
    ASSERT_EQ(bar->GetItemLinks()->Count(), 6);
    EXPECT_EQ(bar->GetItemLinks()->Items(1)->GetItem()->Name(), L"btnSave");
    EXPECT_EQ(bar->GetDockingStyle(), full ? dsTop : dsBottom) << full;
    EXPECT_TRUE(bar->GetVisible());
  }
  EXPECT_EQ(events, 22);
  // A bar made at run time under a caption the initial layout knows.
  bar->SetCaption(L"Renamed");
  TdxBar* made = Manager->GetBars()->Add();
  made->SetCaption(L"Standard");
  made->GetItemLinks()->AddItem(static_cast<TdxBarItem*>(Form->FindComponent(L"btnOpen")));
  EXPECT_FALSE(made->CanReset());
  made->Reset();
  EXPECT_EQ(made->GetItemLinks()->Count(), 1);

  TdxBar* tools = BarOf(Form, L"Tools");
  tools->GetItemLinks()->Items(0)->Free();
  String text;
  uint32_t flags = 0;
  int answer = IDCANCEL;
  TMessageBoxProc previous = SetMessageBoxProc([&](HWND, const String& AText, const String&, uint32_t AFlags) {
    text = AText;
    flags = AFlags;
    return answer;
  });
  TFinally restore([&]() noexcept { SetMessageBoxProc(std::move(previous)); });
  tools->ResetWithConfirmation();
  EXPECT_EQ(tools->GetItemLinks()->Count(), 1);
  answer = IDOK;
  tools->ResetWithConfirmation();
  EXPECT_EQ(tools->GetItemLinks()->Count(), 2);
  EXPECT_EQ(text, L"Are you sure you want to reset the changes made to the 'Tools' toolbar?");
  EXPECT_EQ(flags, 49u);
}

}  // namespace
