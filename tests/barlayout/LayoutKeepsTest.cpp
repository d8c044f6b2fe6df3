// What a stored layout keeps and what it cannot: items without a name are not written, and
// come back where the program put them; the counts written say what the sections hold; a
// store cut short costs only what it lost, the places of the bars included.
#include "LayoutTestUtil.h"
#include "platform/IniFiles.h"
#include "support/Pump.h"

namespace {

// A form made in code, as a program builds one: a toolbar of New Open Save | Cut Copy Paste
// without names, then Find and Zoom with names.
struct TCodeBuiltForm {
  explicit TCodeBuiltForm(bool AShow = true)
  {
    Host.Manager->SetName(L"dxBarManager1");
    Form()->SetBounds(80, 80, 560, 300);
    TdxBar* bar = Host.Manager->GetBars()->Add();
    bar->SetCaption(L"Standard");
    bar->SetDockingStyle(dsTop);
    for (const wchar_t* caption : {L"New", L"Open", L"Save", L"Cut", L"Copy", L"Paste", L"Find", L"Zoom"}) {
      auto* button = new TdxBarButton(Form());
      button->SetCaption(caption);
      if (caption == String(L"Find") || caption == String(L"Zoom"))
        button->SetName(String(L"btn") + caption);
      TdxBarItemLink* link = bar->GetItemLinks()->AddItem(button);
      link->SetBeginGroup(caption == String(L"Cut") || caption == String(L"Find"));
    }
    bar->SetVisible(true);
    // A second bar on the same row, after the first.
    TdxBar* tools = Host.Manager->GetBars()->Add();
    tools->SetCaption(L"Tools");
    tools->SetDockingStyle(dsTop);
    tools->SetRow(0);
    tools->SetDockedLeft(300);
    auto* help = new TdxBarButton(Form());
    help->SetName(L"btnHelp");
    help->SetCaption(L"Help");
    tools->GetItemLinks()->AddItem(help);
    tools->SetVisible(true);
    if (AShow)
      Show();
  }
  void Show()
  {
    Form()->Show();
    PumpPending();
  }
  TLayoutForm* Form() const { return Host.Form(); }
  // The bar's links as "|Caption" for a link that begins a group, else "Caption".
  std::vector<String> Links() const
  {
    std::vector<String> result;
    TdxBarItemLinks* links = Host.Manager->GetBars()->GetItem(0)->GetItemLinks();
    for (int i = 0; i < links->Count(); ++i)
      result.push_back((links->Items(i)->GetBeginGroup() ? L"|" : L"") + links->Items(i)->GetItem()->GetCaption());
    return result;
  }
  TBarHost<TLayoutForm> Host;
};

const std::vector<String> ProgramOrder{L"New", L"Open", L"Save", L"|Cut", L"Copy", L"Paste", L"|Find", L"Zoom"};

TEST(LayoutKeeps, ItemsWithoutANameComeBackInTheProgramsOrderAndTheCountsSayWhatIsWritten)
{
  TLayoutStoresGuard stores;
  String base;
  {
    TCodeBuiltForm built;
    base = built.Host.Manager->GetIniSectionBase();
    ASSERT_EQ(built.Links(), ProgramOrder);
    built.Host.Manager->SaveToIniFile(LayoutIniPath());
    // Loaded again into the same form.
    built.Host.Manager->LoadFromIniFile(LayoutIniPath());
    EXPECT_EQ(built.Links(), ProgramOrder) << "loaded into the form that saved it";
  }
  TMemIniFile ini(LayoutIniPath());
  TStringList items;
  ini.ReadSection(base + L"Items", &items);
  EXPECT_EQ(ini.ReadInteger(base + L"Items", L"ItemCount", -1), items.Count() - 1) << ini.GetText();
  EXPECT_EQ(items.Count() - 1, 3) << "only the named items are written (Find, Zoom and Help)";
  EXPECT_EQ(ini.ReadInteger(base + L"Bar0", L"ItemLinkCount", -1), 2);

  // A restart: the program builds its form again and loads the layout.
  TCodeBuiltForm again;
  again.Host.Manager->LoadFromIniFile(LayoutIniPath());
  EXPECT_EQ(again.Links(), ProgramOrder) << "loaded after a restart";
}

// A program builds its form, loads the layout kept in a file cut after its first section, and
// shows the form: the bars are where the program put them.
TEST(LayoutKeeps, AStoreCutAfterItsMainSectionLeavesABuiltFormAsItWas)
{
  TLayoutStoresGuard stores;
  std::vector<TBarPlace> before;
  String text;
  {
    TCodeBuiltForm built;
    before = BarPlaces(built.Form());
    built.Host.Manager->SaveToIniFile(LayoutIniPath());
    text = TMemIniFile(LayoutIniPath()).GetText();
  }
  ASSERT_EQ(before[1].Row, 0) << before[1];
  TMemIniFile ini(LayoutIniPath());
  ini.SetText(text.substr(0, text.find(L"\n[", text.find(L"[")) + 1));
  ini.UpdateFile();
  TCodeBuiltForm built(false);
  built.Host.Manager->LoadFromIniFile(LayoutIniPath());
  built.Show();
  EXPECT_EQ(BarPlaces(built.Form()), before);
}

// A named item between unnamed ones, and unnamed ones after the last named one, keep their
// neighbours.
TEST(LayoutKeeps, ItemsWithoutANameKeepTheirNeighboursAroundNamedOnes)
{
  TLayoutStoresGuard stores;
  TCodeBuiltForm built;
  TdxBarItemLinks* links = built.Host.Manager->GetBars()->GetItem(0)->GetItemLinks();
  links->Items(6)->SetIndex(2);  // Find between Open and Save
  const std::vector<String> order{L"New", L"Open", L"|Find", L"Save", L"|Cut", L"Copy", L"Paste", L"Zoom"};
  ASSERT_EQ(built.Links(), order);
  built.Host.Manager->SaveToIniFile(LayoutIniPath());
  built.Host.Manager->LoadFromIniFile(LayoutIniPath());
  EXPECT_EQ(built.Links(), order);
}

// Where each bar shows: its site, row and top-left corner (a cut that drops links makes a bar
// shorter, which is what those links cost).
std::vector<TBarPlace> Positions(TForm* AForm)
{
  std::vector<TBarPlace> places = BarPlaces(AForm);
  for (TBarPlace& place : places) {
    place.Rect.right = place.Rect.left;
    place.Rect.bottom = place.Rect.top;
  }
  return places;
}

// The store is cut at the start of each of its sections: every bar keeps its state and its
// place (the layout is the form's own), whether the layout loads with the form or at run time.
TEST(LayoutKeeps, AStoreCutAtAnySectionLeavesEveryBarInItsPlace)
{
  TLayoutStoresGuard stores;
  TOwned<TLayoutForm> form(NewLayoutForm());
  const std::vector<TBarPlace> whole = BarPlaces(form.Get()), before = Positions(form.Get());
  ASSERT_EQ(before[3].Row, 0) << before[3];
  ASSERT_GT(before[3].Rect.left, before[0].Rect.left) << "Tools follows Standard on the top row";
  SaveLayout(form.Get(), TLayoutStoreKind::IniFile);
  const String text = TMemIniFile(LayoutIniPath()).GetText();
  auto cutAt = [&](size_t AAt) {
    TMemIniFile ini(LayoutIniPath());
    ini.SetText(text.substr(0, AAt));
    ini.UpdateFile();
  };
  int cuts = 0;
  for (size_t at = text.find(L"\n[", text.find(L"[")); at != String::npos; at = text.find(L"\n[", at + 1), ++cuts) {
    SCOPED_TRACE(ToUtf8(text.substr(at + 1, text.find(L']', at) - at)));
    cutAt(at + 1);
    LoadLayout(form.Get(), TLayoutStoreKind::IniFile);
    EXPECT_EQ(Positions(form.Get()), before);
  }
  EXPECT_GT(cuts, 4);

  // Cut after the manager's section, loaded as the form is made.
  cutAt(text.find(L"\n[", text.find(L"[")) + 1);
  const TLayoutStoreKind store = TLayoutStoreKind::IniFile;
  TOwned<TLayoutForm> again(NewLayoutForm(&store));
  EXPECT_EQ(BarPlaces(again.Get()), whole) << "loaded as the form was made";
  ManagerOf(again.Get())->SetStoreInIniFile(false);
}

}  // namespace
