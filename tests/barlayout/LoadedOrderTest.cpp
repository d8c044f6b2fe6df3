// What a manager made from form data does with a stored layout: it keeps the form data's
// layout for reset first, then loads the stored one over it, all while it says it is loading
// a layout and without telling the program of docking changes; afterwards it says so again.
#include "LayoutTestUtil.h"
#include "support/Pump.h"

namespace {

// The layout a user left: "Tools" floating at (320, 260), "Side" hidden.
void SaveAUsersLayout(TLayoutStoreKind AStore)
{
  TOwned<TLayoutForm> form(NewLayoutForm());
  TdxBar* tools = BarOf(form.Get(), L"Tools");
  tools->SetDockingStyle(dsNone);
  tools->SetFloatLeft(320);
  tools->SetFloatTop(260);
  BarOf(form.Get(), L"Side")->SetVisible(false);
  SaveLayout(form.Get(), AStore);
}

TEST(LayoutLoaded, KeepsTheFormDataForResetThenLoadsTheStoredLayoutWhileSayingSo)
{
  TLayoutStoresGuard stores;
  for (TLayoutStoreKind store : {TLayoutStoreKind::IniFile, TLayoutStoreKind::Registry}) {
    SaveAUsersLayout(store);
    TWatchedManager::Seen().clear();
    TOwned<TLayoutForm> form(NewLayoutForm(&store));
    TdxBarManager* manager = ManagerOf(form.Get());
    const std::vector<TWatchedManager::TSeen> seen = TWatchedManager::Seen();
    const String loaded = store == TLayoutStoreKind::IniFile ? L"loaded ini" : L"loaded registry";
    ASSERT_TRUE(std::any_of(seen.begin(), seen.end(), [&](const auto& A) { return A.What == loaded; }))
        << ToUtf8(loaded);
    for (const TWatchedManager::TSeen& s : seen) {
      EXPECT_TRUE(s.LoadingLayout) << ToUtf8(s.What) << " while the form was made";
      EXPECT_FALSE(s.What.starts_with(L"docking")) << ToUtf8(s.What) << " told while loading";
    }
    EXPECT_FALSE(manager->IsLoadingLayout());
    // The stored layout won over the form data's.
    TdxBar* tools = BarOf(form.Get(), L"Tools");
    EXPECT_EQ(tools->GetDockingStyle(), dsNone);
    EXPECT_EQ(tools->GetFloatLeft(), 320);
    EXPECT_FALSE(BarOf(form.Get(), L"Side")->GetVisible());

    // Reset finds the form data's layout, kept before the stored one loaded.
    TWatchedManager::Seen().clear();
    manager->SetUseFullReset(true);
    tools->Reset();
    EXPECT_EQ(tools->GetDockingStyle(), dsTop);
    // Run-time changes are told, and not as loading.
    tools->SetDockingStyle(dsBottom);
    ASSERT_FALSE(TWatchedManager::Seen().empty());
    EXPECT_EQ(TWatchedManager::Seen().back().What, L"docking Tools");
    EXPECT_FALSE(TWatchedManager::Seen().back().LoadingLayout);

    // A load at run time says so too, and ends saying it no longer loads.
    TWatchedManager::Seen().clear();
    LoadLayout(form.Get(), store);
    ASSERT_FALSE(TWatchedManager::Seen().empty());
    for (const TWatchedManager::TSeen& s : TWatchedManager::Seen()) {
      EXPECT_TRUE(s.LoadingLayout) << ToUtf8(s.What) << " at run time";
      EXPECT_FALSE(s.What.starts_with(L"docking")) << ToUtf8(s.What) << " told while loading";
    }
    EXPECT_FALSE(manager->IsLoadingLayout());
    EXPECT_EQ(tools->GetDockingStyle(), dsNone);
    DeleteLayoutStores();
  }
}

}  // namespace
