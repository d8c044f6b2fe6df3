// What customizing does to bars and their windows: merges taken apart and put back, bars
// whose windows were destroyed from outside shown again with the form's next window, and
// floating bars disabled while a modal window runs.
#include "CustomizingTestUtil.h"

#include "platform/IniFiles.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

TdxBar* AddBar(TdxBarManager* AManager, const String& ACaption, TdxBarDockingStyle AStyle = dsTop)
{
  TdxBar* bar = AManager->GetBars()->Add();
  bar->SetCaption(ACaption);
  bar->SetDockingStyle(AStyle);
  bar->SetFloatLeft(600);
  bar->GetItemLinks()->AddItem(new TdxBarButton(AManager->Owner()));
  bar->SetVisible(true);
  return bar;
}

TEST(TMergesWhileCustomizing, StoredMergesComeApartWithoutShowingAnythingAndGoBackTogether)
{
  TBarHost<TCustomizingForm> main, child, other;
  TdxBar* host = AddBar(main.Manager, L"Menu");
  TdxBar* holder = AddBar(main.Manager, L"Holder");
  holder->GetMergeData().CreatedForMerging = true;
  TdxBar* childBar = AddBar(child.Manager, L"Child");
  TdxBar* otherBar = AddBar(other.Manager, L"Other");
  host->Merge(childBar);
  holder->Merge(otherBar);
  main.Manager->UnmergeAllBars(nullptr, true);
  EXPECT_EQ(host->GetItemLinks()->Count(), 1);
  EXPECT_FALSE(childBar->GetVisible()) << "the merged bar stays out of sight while customizing";
  ASSERT_EQ(main.Manager->GetBars()->GetCount(), 2) << "the bar made for merging is kept, hidden";
  EXPECT_TRUE(holder->GetHidden());
  EXPECT_FALSE(holder->GetVisible());
  main.Manager->RestoreMergedBars();
  main.Manager->RestoreMergedBars();
  EXPECT_EQ(host->GetItemLinks()->Count(), 2);
  EXPECT_EQ(otherBar->GetMergeData().MergedWith.Get(), holder);
  EXPECT_TRUE(holder->GetVisible());
  EXPECT_FALSE(holder->GetHidden());

  host->Unmerge(nullptr, false);
  host->Merge(childBar);
  host->Merge(otherBar);
  main.Manager->UnmergeAllBars(other.Manager, false);  // one manager's bars, no state kept
  EXPECT_EQ(childBar->GetMergeData().MergedWith.Get(), host);
  EXPECT_TRUE(otherBar->GetVisible());
  main.Manager->UnmergeAllBars(nullptr, true);
  childBar->Free();  // a remembered bar that goes is skipped
  main.Manager->RestoreMergedBars();
  EXPECT_EQ(host->GetItemLinks()->Count(), 1);
}

TEST(TRecreatedBarWindows, BarsLostWithTheFormsWindowComeBackWithItsNextWindow)
{
  TBarHost<TCustomizingForm> host;
  host.Form()->SetBounds(150, 150, 450, 250);
  TdxBar* tools = AddBar(host.Manager, L"Tools");
  TdxBar* edit = AddBar(host.Manager, L"Edit");
  TdxBar* hidden = AddBar(host.Manager, L"Hidden");
  hidden->SetVisible(false);
  host.Form()->Show();
  PumpPending();
  ::DestroyWindow(host.Form()->GetHandle());
  EXPECT_FALSE(tools->GetVisible());
  EXPECT_TRUE(host.Manager->IsRecreatingBar(tools));
  EXPECT_FALSE(host.Manager->IsRecreatingBar(hidden)) << "a hidden bar lost no window";
  TMemIniFile ini;
  host.Manager->SaveLayoutToIni(&ini, L"L", false);
  EXPECT_TRUE(ini.ReadBool(L"LBar0", L"Visible", false)) << "a layout saved meanwhile keeps the bar shown";
  edit->Free();
  host.Form()->Show();
  PumpPending();
  ASSERT_TRUE(tools->GetVisible());
  EXPECT_TRUE(::IsWindowVisible(tools->GetControl()->GetHandle()));
  EXPECT_EQ(::GetAncestor(tools->GetControl()->GetHandle(), GA_ROOT), host.Form()->GetHandle());
  EXPECT_FALSE(hidden->GetVisible());
  EXPECT_FALSE(host.Manager->IsRecreatingBar(tools)) << "the list went with its last bar";
}

TEST(TFloatingBarsWhileModal, DisabledBarsAreEnabledAgainAndOnesDestroyedMeanwhileAreSkipped)
{
  TBarHost<TCustomizingForm> host;
  TdxBar* a = AddBar(host.Manager, L"A", dsNone);
  TdxBar* b = AddBar(host.Manager, L"B", dsNone);
  TdxBar* c = AddBar(host.Manager, L"C", dsNone);
  host.Form()->Show();
  ActivateWindow(host.Form()->GetHandle());
  PumpPending();
  const HWND wa = a->GetControl()->GetHandle(), wb = b->GetControl()->GetHandle(), wc = c->GetControl()->GetHandle();
  ::EnableWindow(wc, FALSE);  // disabled by the program itself
  host.Manager->DisableFloatingBars();
  EXPECT_FALSE(::IsWindowEnabled(wb));
  a->Free();
  ASSERT_FALSE(::IsWindow(wa));
  host.Manager->EnableFloatingBars();
  EXPECT_TRUE(::IsWindowEnabled(wb));
  EXPECT_FALSE(::IsWindowEnabled(wc)) << "only what it disabled is enabled again";
  ::EnableWindow(wb, FALSE);
  host.Manager->EnableFloatingBars();
  EXPECT_FALSE(::IsWindowEnabled(wb)) << "the list was emptied";
}

}  // namespace
