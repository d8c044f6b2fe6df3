// The Toolbars page's actions with their questions and enabling, and the Options page,
// whose controls write the manager at once and follow its changes.
#include "CustFormTestUtil.h"

#include "bars/utils/dxBarStrs.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TActions = TCustFormFixture;

TEST_F(TActions, DeleteAsksNamingTheBarAndCancelChangesNothing)
{
  ASSERT_NE(Open(), nullptr);
  TdxBar* first = Manager->NewToolBar(false, false);
  TdxBar* second = Manager->NewToolBar(false, false);
  PumpPending();
  ASSERT_EQ(Dialog->lbBarsList->GetCount(), 5);
  // A bar of the form data cannot be deleted at run time.
  Dialog->lbBarsList->SetItemIndex(Dialog->lbBarsList->GetItems()->IndexOfObject(Bar(L"Tools")));
  Dialog->lbBarsList->Perform(WM_DXBARCUSTOMIZE_ACTIONS);
  EXPECT_FALSE(Dialog->aDeleteToolBar->Enabled());
  ASSERT_TRUE(ClickAt(EntryPoint(Dialog->lbBarsList, Dialog->lbBarsList->GetItems()->IndexOfObject(first), 40)));
  PumpPending();
  ASSERT_TRUE(Dialog->aDeleteToolBar->Enabled());
  {
    TMessageBoxScope box(IDCANCEL);
    ClickControl(Dialog->BBarDelete);
    ASSERT_EQ(box.Asked.size(), 1u);
    EXPECT_EQ(box.Asked[0].Text, L"Are you sure you want to delete the 'Custom 1' toolbar?");
    EXPECT_EQ(box.Asked[0].Flags, 0x31u);
  }
  ASSERT_EQ(Bar(L"Custom 1"), first);
  EXPECT_EQ(Dialog->lbBarsList->GetCount(), 5);
  {
    TMessageBoxScope box(IDOK);
    TWeakRef<TdxBar> gone(first);
    ClickControl(Dialog->BBarDelete);
    ASSERT_EQ(box.Asked.size(), 1u);
    EXPECT_FALSE(gone) << "OK frees the bar";
  }
  EXPECT_EQ(Dialog->lbBarsList->GetCount(), 4);
  EXPECT_EQ(Dialog->GetCurrentBar(), second) << "the next entry is selected";
  // The Delete key asks too; deleting the last entry selects the one before it.
  TMessageBoxScope box(IDOK);
  ::SetFocus(Dialog->lbBarsList->GetHandle());
  ASSERT_TRUE(PressKey(VK_DELETE));
  PumpPending();
  ASSERT_EQ(box.Asked.size(), 1u);
  EXPECT_EQ(box.Asked[0].Text, L"Are you sure you want to delete the 'Custom 2' toolbar?");
  EXPECT_EQ(Bar(L"Custom 2"), nullptr);
  EXPECT_EQ(Dialog->GetCurrentBar(), Bar(L"Format"));
}

TEST_F(TActions, NewMakesCustomOneThroughTheNameDialogAndOnlyUserBarsRename)
{
  String asked;
  TdxBar* named = nullptr;
  auto services = dxBarCustomizingServices();
  services.ShowToolbarNameDialog = [&](TdxBarManager*, String& ACaption, TdxBar* ABar) {
    asked = ACaption;
    named = ABar;
    return true;
  };
  TServicesScope scope(services);
  ASSERT_NE(Open(), nullptr);
  // A bar of the form data can be reset but not renamed at run time.
  EXPECT_EQ(Dialog->GetCurrentBar(), Bar(L"Main Menu"));
  EXPECT_FALSE(Dialog->aRenameToolBar->Enabled());
  EXPECT_TRUE(Dialog->aResetToolBar->Enabled());
  EXPECT_FALSE(Dialog->BBarRename->GetEnabled());
  ClickControl(Dialog->BBarNew);
  EXPECT_EQ(asked, L"Custom 1");
  EXPECT_EQ(named, nullptr) << "a new bar has no caption to keep";
  TdxBar* custom = Bar(L"Custom 1");
  ASSERT_NE(custom, nullptr);
  EXPECT_EQ(Dialog->GetCurrentBar(), custom) << "the new bar is selected";
  // A bar the user made can be renamed but not reset.
  EXPECT_TRUE(Dialog->aRenameToolBar->Enabled());
  EXPECT_FALSE(Dialog->aResetToolBar->Enabled());
  EXPECT_TRUE(Dialog->aDeleteToolBar->Enabled());
  services.ShowToolbarNameDialog = [&](TdxBarManager*, String& ACaption, TdxBar* ABar) {
    named = ABar;
    ACaption = L"Songs";
    return true;
  };
  TServicesScope renaming(services);
  ClickControl(Dialog->BBarRename);
  EXPECT_EQ(named, custom);
  EXPECT_EQ(custom->GetCaption(), L"Songs");
  EXPECT_EQ(Dialog->lbBarsList->GetItems()->Get(Dialog->lbBarsList->GetItemIndex()), L"Songs");
  // Insert in the list makes another.
  const int bars = Manager->GetBars()->GetCount();
  ::SetFocus(Dialog->lbBarsList->GetHandle());
  ASSERT_TRUE(PressKey(VK_INSERT));
  PumpPending();
  EXPECT_EQ(Manager->GetBars()->GetCount(), bars + 1);
}

TEST_F(TActions, ResetAsksThroughTheManagerAndRefreshesTheList)
{
  ASSERT_NE(Open(), nullptr);
  TdxBar* tools = Bar(L"Tools");
  Dialog->lbBarsList->SetItemIndex(Dialog->lbBarsList->GetItems()->IndexOfObject(tools));
  Dialog->lbBarsList->Perform(WM_DXBARCUSTOMIZE_ACTIONS);
  tools->GetItemLinks()->Items(0)->Free();
  ASSERT_EQ(tools->GetItemLinks()->Count(), 2);
  TMessageBoxScope box(IDOK);
  ClickControl(Dialog->BBarReset);
  ASSERT_EQ(box.Asked.size(), 1u);
  EXPECT_EQ(box.Asked[0].Text, L"Are you sure you want to reset the changes made to the 'Tools' toolbar?");
  EXPECT_EQ(tools->GetItemLinks()->Count(), 3);
}

TEST_F(TActions, OptionsPanelFollowsTheRealStyle)
{
  Manager->SetStyle(bmsStandard);
  ASSERT_NE(Open(), nullptr);
  EXPECT_TRUE(Dialog->StandardOptionsPanel->GetVisible());
  EXPECT_FALSE(Dialog->EnhancedOptionsPanel->GetVisible());
  Manager->SetStyle(bmsFlat);
  EXPECT_FALSE(Dialog->StandardOptionsPanel->GetVisible());
  EXPECT_TRUE(Dialog->EnhancedOptionsPanel->GetVisible());
  EXPECT_EQ(Dialog->ComboBoxMenuAnimationsEx->GetItems()->Count(), 5) << "the form data's four give way to five";
  EXPECT_EQ(Dialog->ComboBoxMenuAnimationsEx->GetItems()->Get(4), L"Fade");
}

TEST_F(TActions, OptionsReachTheManagerAtOnce)
{
  Manager->SetStyle(bmsFlat);
  Manager->SetMenusShowRecentItemsFirst(true);
  Manager->SetShowFullMenusAfterDelay(true);
  ASSERT_NE(Open(), nullptr);
  Dialog->PageControl->SetActivePage(Dialog->tsOptions);
  PumpPending();
  ASSERT_TRUE(Dialog->CBShowFullMenusAfterDelay->GetEnabled());
  ClickControl(Dialog->CBMenusShowRecentItemsFirst);
  EXPECT_FALSE(Manager->GetMenusShowRecentItemsFirst());
  EXPECT_FALSE(Dialog->CBShowFullMenusAfterDelay->GetEnabled()) << "the delay box is disabled";
  EXPECT_TRUE(Dialog->CBShowFullMenusAfterDelay->GetChecked()) << "but keeps its value";
  EXPECT_TRUE(Manager->GetShowFullMenusAfterDelay());

  const bool large = Manager->GetLargeIcons();
  ClickControl(Dialog->CBLargeIconsEx);
  EXPECT_EQ(Manager->GetLargeIcons(), !large);
  ClickControl(Dialog->CBHint1Ex);
  EXPECT_FALSE(Manager->GetShowHint());
  EXPECT_FALSE(Dialog->CBHint2Ex->GetEnabled());

  // The animation combo's index is the animation.
  ::SetFocus(Dialog->ComboBoxMenuAnimationsEx->GetHandle());
  Dialog->ComboBoxMenuAnimationsEx->SetItemIndex(2);
  ASSERT_TRUE(PressKey(VK_DOWN));
  PumpPending();
  EXPECT_EQ(Manager->GetMenuAnimations(), maSlide);

  // What the program changes shows in the dialog.
  Manager->SetMenuAnimations(maFade);
  Manager->SetShowHint(true);
  Manager->SetLargeIcons(large);
  EXPECT_EQ(Dialog->ComboBoxMenuAnimationsEx->GetItemIndex(), 4);
  EXPECT_EQ(Dialog->ComboBoxMenuAnimations->GetItemIndex(), 4);
  EXPECT_TRUE(Dialog->CBHint1Ex->GetChecked());
  EXPECT_TRUE(Dialog->CBHint2Ex->GetEnabled());
  EXPECT_EQ(Dialog->CBLargeIcons->GetChecked(), large);
}

TEST_F(TActions, HelpButtonShowsWithTheManagersSettingAndAsksForItsContext)
{
  ASSERT_NE(Open(), nullptr);
  EXPECT_FALSE(Dialog->BHelp->GetVisible());
  Manager->SetShowHelpButton(true);
  EXPECT_TRUE(Dialog->BHelp->GetVisible());
  std::vector<intptr_t> asked;
  struct TRestoreHelp {
    THelpEvent Saved = Application->OnHelp;
    ~TRestoreHelp() { Application->OnHelp = Saved; }
  } restore;
  Application->OnHelp = THelpEvent([&](uint16_t, intptr_t AData, bool& ACallHelp) {
    asked.push_back(AData);
    ACallHelp = false;
    return true;
  });
  POINT p{Dialog->BHelp->GetLeft() + 8, Dialog->BHelp->GetTop() + 8};
  ::ClientToScreen(Dialog->PanelBottom->GetHandle(), &p);
  ASSERT_TRUE(ClickAt(p));
  PumpPending();
  EXPECT_TRUE(asked.empty()) << "no help context, no help";
  Manager->SetHelpContext(42);
  ASSERT_TRUE(ClickAt(p));
  PumpPending();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], 42);
  Manager->SetShowHelpButton(false);
  EXPECT_FALSE(Dialog->BHelp->GetVisible());
}

}  // namespace

namespace {

TEST_F(TActions, ResetUsageDataAsksTheManagersQuestion)
{
  Manager->SetStyle(bmsFlat);
  ASSERT_NE(Open(), nullptr);
  Dialog->PageControl->SetActivePage(Dialog->tsOptions);
  PumpPending();
  ASSERT_TRUE(Dialog->BResetUsageData->GetEnabled());
  TMessageBoxScope box(IDNO);
  ClickControl(Dialog->BResetUsageData);
  ASSERT_EQ(box.Asked.size(), 1u);
  EXPECT_EQ(box.Asked[0].Text.substr(0, 55), L"This will delete the record of the commands you've used");
}

}  // namespace
