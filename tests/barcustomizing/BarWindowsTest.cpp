// What customizing does to bars and their windows: merges taken apart and put back, bars
// whose windows were destroyed from outside shown again when the form's window is made
// again, and floating bars disabled while a modal window runs.
#include "CustomizingTestUtil.h"

#include "bars/dockcontrol.h"
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
  bar->SetFloatTop(400);
  auto* button = new TdxBarButton(AManager->Owner());
  button->SetCaption(ACaption);
  bar->GetItemLinks()->AddItem(button);
  bar->SetVisible(true);
  return bar;
}

// ---------------------------------------------------------------------------

class TMergesWhileCustomizing : public testing::Test {
protected:
  TBarHost<TCustomizingForm> Main;
  TBarHost<TCustomizingForm> Child;
  TBarHost<TCustomizingForm> Other;
};

TEST_F(TMergesWhileCustomizing, StoredMergesComeApartWithoutShowingAnythingAndGoBackTogether)
{
  TdxBar* host = AddBar(Main.Manager, L"Menu");
  TdxBar* holder = AddBar(Main.Manager, L"Holder");
  holder->GetMergeData().CreatedForMerging = true;
  TdxBar* child = AddBar(Child.Manager, L"Child");
  TdxBar* other = AddBar(Other.Manager, L"Other");
  host->Merge(child);
  holder->Merge(other);
  ASSERT_EQ(host->GetItemLinks()->Count(), 2);
  ASSERT_FALSE(child->GetVisible());

  Main.Manager->UnmergeAllBars(nullptr, true);
  EXPECT_EQ(host->GetItemLinks()->Count(), 1);
  EXPECT_EQ(child->GetMergeData().MergedWith.Get(), nullptr);
  EXPECT_FALSE(child->GetVisible()) << "the child's bar stays out of sight while customizing";
  EXPECT_FALSE(other->GetVisible());
  ASSERT_EQ(Main.Manager->GetBars()->GetCount(), 2) << "the bar made for merging is kept";
  EXPECT_TRUE(holder->GetHidden());
  EXPECT_FALSE(holder->GetVisible());

  Main.Manager->RestoreMergedBars();
  EXPECT_EQ(host->GetItemLinks()->Count(), 2);
  EXPECT_EQ(child->GetMergeData().MergedWith.Get(), host);
  EXPECT_EQ(other->GetMergeData().MergedWith.Get(), holder);
  EXPECT_FALSE(holder->GetHidden());
  EXPECT_TRUE(holder->GetVisible());
  EXPECT_FALSE(child->GetVisible());
  // Restoring twice does not merge twice.
  Main.Manager->RestoreMergedBars();
  EXPECT_EQ(host->GetItemLinks()->Count(), 2);
}

TEST_F(TMergesWhileCustomizing, OneManagersBarsOnlyAndWithoutStateTheMergeIsSimplyUndone)
{
  TdxBar* host = AddBar(Main.Manager, L"Menu");
  TdxBar* child = AddBar(Child.Manager, L"Child");
  TdxBar* other = AddBar(Other.Manager, L"Other");
  host->Merge(child);
  host->Merge(other);
  Main.Manager->UnmergeAllBars(Other.Manager, true);
  EXPECT_EQ(child->GetMergeData().MergedWith.Get(), host);
  EXPECT_EQ(other->GetMergeData().MergedWith.Get(), nullptr);
  Main.Manager->RestoreMergedBars();
  EXPECT_EQ(other->GetMergeData().MergedWith.Get(), host);

  Main.Manager->UnmergeAllBars(nullptr, false);
  EXPECT_EQ(host->GetItemLinks()->Count(), 1);
  EXPECT_TRUE(child->GetVisible()) << "an unmerge that keeps no state shows the bars again";
  EXPECT_TRUE(other->GetVisible());
  Main.Manager->RestoreMergedBars();
  EXPECT_EQ(child->GetMergeData().MergedWith.Get(), nullptr);
  // A remembered bar that is freed meanwhile is skipped.
  host->Merge(child);
  Main.Manager->UnmergeAllBars(nullptr, true);
  child->Free();
  Main.Manager->RestoreMergedBars();
  EXPECT_EQ(host->GetItemLinks()->Count(), 1);
}

// ---------------------------------------------------------------------------

class TRecreatedBarWindows : public testing::Test {
protected:
  TRecreatedBarWindows() : Manager(Host.Manager), Form(Host.Form())
  {
    Form->SetBounds(150, 150, 450, 250);
    Tools = AddBar(Manager, L"Tools");
    Edit = AddBar(Manager, L"Edit");
    Hidden = AddBar(Manager, L"Hidden");
    Hidden->SetVisible(false);
    Form->Show();
    PumpPending();
  }
  bool Shown(TdxBar* ABar) const
  {
    TdxBarControl* control = ABar->GetControl();
    return control && control->HandleAllocated() && ::IsWindowVisible(control->GetHandle());
  }

  TBarHost<TCustomizingForm> Host;
  TdxBarManager* Manager;
  TCustomizingForm* Form;
  TdxBar* Tools;
  TdxBar* Edit;
  TdxBar* Hidden;
};

TEST_F(TRecreatedBarWindows, BarsLostWithTheFormsWindowComeBackWithItsNextWindow)
{
  ASSERT_TRUE(Shown(Tools));
  ::DestroyWindow(Form->GetHandle());
  PumpPending();
  ASSERT_FALSE(Form->HandleAllocated());
  EXPECT_FALSE(Tools->GetVisible());
  EXPECT_TRUE(Manager->IsRecreatingBar(Tools));
  EXPECT_FALSE(Manager->IsRecreatingBar(Hidden)) << "a hidden bar lost no window";
  // A layout saved meanwhile keeps the bar shown.
  TMemIniFile ini;
  Manager->SaveLayoutToIni(&ini, L"L", false);
  EXPECT_TRUE(ini.ReadBool(L"LBar0", L"Visible", false));
  EXPECT_FALSE(ini.ReadBool(L"LBar2", L"Visible", true));
  Edit->Free();  // a listed bar that goes is forgotten

  Form->Show();
  PumpPending();
  EXPECT_TRUE(Tools->GetVisible());
  EXPECT_TRUE(Shown(Tools));
  EXPECT_EQ(::GetAncestor(Tools->GetControl()->GetHandle(), GA_ROOT), Form->GetHandle());
  EXPECT_FALSE(Hidden->GetVisible());
  EXPECT_FALSE(Manager->IsRecreatingBar(Tools));
  // The list is gone: a bar window destroyed now by the manager is not remembered.
  Tools->SetVisible(false);
  EXPECT_FALSE(Manager->IsRecreatingBar(Tools));
}

TEST_F(TRecreatedBarWindows, BarsOfASiteWithoutAWindowWaitForIt)
{
  auto* site = Manager->GetBars()->GetDockControl(dsTop);
  ASSERT_NE(site, nullptr);
  Manager->BeginRecreateBars();
  Manager->AddRecreatingBar(Hidden);
  Manager->AddRecreatingBar(Hidden);
  Manager->AddRecreatingBar(nullptr);
  auto* floating = AddBar(Manager, L"Floating", dsNone);
  floating->SetVisible(false);
  Manager->AddRecreatingBar(floating);
  site->DestroyHandle();
  Manager->ShowRecreatingBars(nullptr);
  EXPECT_FALSE(Hidden->GetVisible()) << "its site has no window";
  EXPECT_TRUE(floating->GetVisible()) << "a floating bar needs no site";
  site->HandleNeeded();
  Manager->ShowRecreatingBars(site);
  EXPECT_TRUE(Hidden->GetVisible());
  EXPECT_FALSE(Manager->IsRecreatingBar(Hidden));
}

// ---------------------------------------------------------------------------

TEST(TFloatingBarsWhileModal, DisabledBarsAreEnabledAgainAndOnesDestroyedMeanwhileAreSkipped)
{
  TBarHost<TCustomizingForm> host;
  host.Form()->SetBounds(100, 100, 300, 200);
  TdxBar* a = AddBar(host.Manager, L"A", dsNone);
  TdxBar* b = AddBar(host.Manager, L"B", dsNone);
  TdxBar* c = AddBar(host.Manager, L"C", dsNone);
  host.Form()->Show();
  ActivateWindow(host.Form()->GetHandle());
  PumpPending();
  for (TdxBar* bar : {a, b, c})
    ASSERT_TRUE(bar->GetControl() && bar->GetControl()->HandleAllocated());
  const HWND wa = a->GetControl()->GetHandle();
  const HWND wb = b->GetControl()->GetHandle();
  const HWND wc = c->GetControl()->GetHandle();
  ::EnableWindow(wc, FALSE);  // disabled by the program itself

  host.Manager->DisableFloatingBars();
  EXPECT_FALSE(::IsWindowEnabled(wa));
  EXPECT_FALSE(::IsWindowEnabled(wb));
  a->Free();
  ASSERT_FALSE(::IsWindow(wa));
  host.Manager->EnableFloatingBars();
  EXPECT_TRUE(::IsWindowEnabled(wb));
  EXPECT_FALSE(::IsWindowEnabled(wc)) << "only what it disabled is enabled again";
  ::EnableWindow(wb, FALSE);
  host.Manager->EnableFloatingBars();
  EXPECT_FALSE(::IsWindowEnabled(wb)) << "the list was emptied";
  ::EnableWindow(wb, TRUE);
  ::EnableWindow(wc, TRUE);
}

}  // namespace
