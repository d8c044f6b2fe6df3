// Values of a stored layout that depend on the store or on where things live: a link's own
// glyph, kept by the registry alone, and a dock site that is not the form's own child.
#include "LayoutTestUtil.h"
#include "platform/ExtCtrls.h"
#include "platform/IniFiles.h"
#include "platform/Registry.h"
#include "support/Pump.h"

namespace {

// A 16 x 16 picture whose pixels all differ, so that any change to it shows.
std::vector<uint8_t> MakeGlyph(TBitmap& AGlyph)
{
  AGlyph.SetPixelFormat(pf32bit);
  AGlyph.SetSize(16, 16);
  for (int y = 0; y < 16; ++y) {
    auto* row = static_cast<uint32_t*>(AGlyph.ScanLine(y));
    for (int x = 0; x < 16; ++x)
      row[x] = 0xFF000000u | uint32_t(y * 16 + x) * 0x010203u;
  }
  return AGlyph.SaveToBytes();
}

TEST(LayoutValues, ALinksOwnGlyphComesBackFromTheRegistryOnly)
{
  TLayoutStoresGuard stores;
  for (TLayoutStoreKind store : {TLayoutStoreKind::Registry, TLayoutStoreKind::IniFile}) {
    SCOPED_TRACE(store == TLayoutStoreKind::Registry ? "registry" : "ini file");
    std::vector<uint8_t> picture;
    {
      TOwned<TLayoutForm> form(NewLayoutForm());
      TBitmap glyph;
      picture = MakeGlyph(glyph);
      BarOf(form.Get(), L"Standard")->GetItemLinks()->Items(1)->SetUserGlyph(&glyph);
      SaveLayout(form.Get(), store);
    }
    TOwned<TLayoutForm> form(NewLayoutForm());
    LoadLayout(form.Get(), store);
    TdxBarItemLink* link = BarOf(form.Get(), L"Standard")->GetItemLinks()->Items(1);
    EXPECT_TRUE(link->GetUserDefine().Contains(udGlyph));
    if (store == TLayoutStoreKind::Registry)
      EXPECT_EQ(link->GetUserGlyph()->SaveToBytes(), picture);
    else
      EXPECT_TRUE(link->GetUserGlyph()->Empty()) << "an ini file keeps no pictures";
    DeleteLayoutStores();
  }
}

// A dock site on a panel of the form: the form made again with the same panel finds it by the
// stored path.
TdxBarDockControl* AddPanelSite(TLayoutForm* AForm)
{
  auto* panel = new TPanel(AForm);
  panel->SetName(L"Holder");
  panel->SetParent(AForm);
  panel->SetBounds(0, 200, 500, 60);
  auto* site = new TdxBarDockControl(panel);
  site->SetName(L"InnerSite");
  site->SetParent(panel);
  site->SetBarManager(ManagerOf(AForm));
  return site;
}

TEST(LayoutValues, ADockSiteOwnedBelowTheFormIsFoundAgainByItsPath)
{
  TLayoutStoresGuard stores;
  for (TLayoutStoreKind store : {TLayoutStoreKind::IniFile, TLayoutStoreKind::Registry}) {
    SCOPED_TRACE(store == TLayoutStoreKind::Registry ? "registry" : "ini file");
    {
      TOwned<TLayoutForm> form(NewLayoutForm());
      TdxBarDockControl* site = AddPanelSite(form.Get());
      BarOf(form.Get(), L"Tools")->SetDockControl(site);
      PumpPending();
      SaveLayout(form.Get(), store);
      if (store == TLayoutStoreKind::IniFile) {
        EXPECT_EQ(TMemIniFile(LayoutIniPath()).ReadString(L"LayoutForm.dxBarManager1.Bar3", L"DockControl", L""),
                  L"LayoutForm.Holder.InnerSite");
      }
    }
    TOwned<TLayoutForm> form(NewLayoutForm());
    TdxBarDockControl* site = AddPanelSite(form.Get());
    TdxBar* tools = BarOf(form.Get(), L"Tools");
    ASSERT_NE(tools->GetDockControl(), site);
    LoadLayout(form.Get(), store);
    EXPECT_EQ(tools->GetDockControl(), site);
    EXPECT_TRUE(tools->GetVisible());
    DeleteLayoutStores();
  }
}

// The program's own values and keys beside the layout stay; a bar section of an older, longer
// layout goes.
TEST(LayoutValues, SavingToTheRegistryKeepsWhatElseTheProgramKeepsThere)
{
  TLayoutStoresGuard stores;
  const String key = L"\\" + LayoutRegistryPath;
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key + L"Options", true));
    reg.WriteString(L"Theme", L"Dark");
    ASSERT_TRUE(reg.OpenKey(key, false));
    reg.WriteInteger(L"WindowWidth", 640);
    ASSERT_TRUE(reg.OpenKey(key + L"Bar7", true));
    reg.WriteString(L"Caption", L"Old");
  }
  {
    TOwned<TLayoutForm> form(NewLayoutForm());
    SaveLayout(form.Get(), TLayoutStoreKind::Registry);
    SaveLayout(form.Get(), TLayoutStoreKind::Registry);
  }
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(key + L"Options"));
  EXPECT_EQ(reg.ReadString(L"Theme"), L"Dark");
  ASSERT_TRUE(reg.OpenKeyReadOnly(key));
  EXPECT_EQ(reg.ReadInteger(L"WindowWidth"), 640);
  EXPECT_EQ(reg.ReadInteger(L"BarCount"), 4);
  EXPECT_TRUE(reg.KeyExists(key + L"Bar3"));
  EXPECT_FALSE(reg.KeyExists(key + L"Bar7"));
}

// Reset puts back the recent-use marks the form data gave the links.
TEST(LayoutValues, ResetBringsBackTheFormDatasRecentUseMarks)
{
  String text = LayoutFormText();
  const String link = L"ItemName = 'btnCopy'\n";
  text.insert(text.find(link) + link.size(), L"          MostRecentlyUsed = False\n");
  TOwned<TLayoutForm> form(TCustomForm::CreateFromText<TLayoutForm>(text, nullptr));
  form->Show();
  PumpPending();
  TdxBar* edit = BarOf(form.Get(), L"Edit");
  ASSERT_FALSE(edit->GetItemLinks()->Items(1)->GetMostRecentlyUsed());
  edit->GetItemLinks()->Items(1)->SetMostRecentlyUsed(true);
  edit->GetItemLinks()->Items(0)->SetMostRecentlyUsed(false);
  edit->Reset();
  EXPECT_TRUE(edit->GetItemLinks()->Items(0)->GetMostRecentlyUsed());
  EXPECT_FALSE(edit->GetItemLinks()->Items(1)->GetMostRecentlyUsed());
}

// A program's handler that raises while the bars are put back: every other bar still loads,
// the one it stopped is shown, and the error reaches the caller afterwards.
TEST(LayoutValues, AHandlerRaisingWhileBarsLoadStopsNoOtherBar)
{
  TLayoutStoresGuard stores;
  {
    TOwned<TLayoutForm> form(NewLayoutForm());
    BarOf(form.Get(), L"Tools")->SetDockingStyle(dsNone);
    BarOf(form.Get(), L"Side")->SetDockingStyle(dsRight);
    SaveLayout(form.Get(), TLayoutStoreKind::IniFile);
  }
  TOwned<TLayoutForm> form(NewLayoutForm());
  TdxBarManager* manager = ManagerOf(form.Get());
  manager->OnBarVisibleChange = TdxBarVisibleChangeEvent([](TObject*, TdxBar* ABar) {
    if (ABar->GetVisible() && ABar->GetCaption() == L"Edit")
      throw Exception(L"refused by the program");
  });
  try {
    manager->LoadFromIniFile(LayoutIniPath());
    ADD_FAILURE() << "the handler's error was lost";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"refused by the program");
  }
  PumpPending();
  EXPECT_FALSE(manager->IsLoadingLayout());
  for (const wchar_t* caption : {L"Standard", L"Edit", L"Side", L"Tools"})
    EXPECT_TRUE(BarOf(form.Get(), caption)->GetVisible()) << ToUtf8(caption);
  EXPECT_EQ(BarOf(form.Get(), L"Tools")->GetDockingStyle(), dsNone);
  EXPECT_EQ(BarOf(form.Get(), L"Side")->GetDockingStyle(), dsRight);
}

}  // namespace
