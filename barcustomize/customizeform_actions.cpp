// What the Customize dialog's buttons do: the toolbar actions with their confirmations and
// enabling, Close and Help, and the options page, whose controls write the manager at once.
#include <algorithm>

#include "barcustomize/customizeform.h"
#include "barcustomize/customizeform_private.h"
#include "barcustomize/runtimeselection.h"
#include "bars/model/bar.h"
#include "bars/model/customizing.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/manager.h"
#include "bars/utils/utils.h"
#include "platform/Scope.h"
#include "platform/SysUtils.h"

// ---------------------------------------------------------------------------
// Toolbar actions

void TdxBarCustomizingForm::UpdateActions()
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return;
  TdxBar* bar = GetCurrentBar();
  aRenameToolBar->SetEnabled(bar && (IsDesigning() || !bar->IsFromForm()));
  aResetToolBar->SetEnabled(bar && bar->CanReset());
  bool deletable = false;
  for (int i = 0; i < lbBarsList->GetCount(); ++i) {
    if (!lbBarsList->GetSelected(i))
      continue;
    TdxBar* selected = BarOfEntry(i);
    deletable = selected && selected->CanDelete();
    if (!deletable)
      break;
  }
  aDeleteToolBar->SetEnabled(deletable);
}

void TdxBarCustomizingForm::SelectBar(TdxBar* ABar)
{
  const int index = ABar ? lbBarsList->GetItems()->IndexOfObject(ABar) : -1;
  if (lbBarsList->GetMultiSelect())
    lbBarsList->ClearSelection();
  lbBarsList->SetItemIndex(index);
  if (lbBarsList->GetMultiSelect() && index >= 0)
    lbBarsList->SetSelected(index, true);
  if (ABar && FSelectionController)
    FSelectionController->SelectComponent(ABar);
  UpdateActions();
}

void TdxBarCustomizingForm::aNewToolBarExecute(TObject*)
{
  TWeakRef<TdxBarCustomizingForm> self(this);
  TdxBarManager* manager = GetBarManager();
  TdxBar* bar = manager ? manager->NewToolBar() : nullptr;
  if (!self)
    return;
  RefillBarsList();
  if (bar)
    SelectBar(bar);
}

void TdxBarCustomizingForm::RunOnCurrentBar(void (TdxBarManager::*ACommand)(TdxBar*))
{
  TWeakRef<TdxBarCustomizingForm> self(this);
  TdxBar* bar = GetCurrentBar();
  if (TdxBarManager* manager = GetBarManager(); manager && bar)
    (manager->*ACommand)(bar);
  if (self)
    RefillBarsList();
}

void TdxBarCustomizingForm::aRenameToolBarExecute(TObject*)
{
  RunOnCurrentBar(&TdxBarManager::RenameToolBar);
}

void TdxBarCustomizingForm::aResetToolBarExecute(TObject*)
{
  RunOnCurrentBar(&TdxBarManager::ResetToolBar);
}

void TdxBarCustomizingForm::aDeleteToolBarExecute(TObject*)
{
  TWeakRef<TdxBarCustomizingForm> self(this);
  if (!aDeleteToolBar->Enabled())
    return;
  std::vector<int> selected;
  for (int i = 0; i < lbBarsList->GetCount(); ++i)
    if (lbBarsList->GetSelected(i))
      selected.push_back(i);
  if (selected.empty())
    return;
  TdxBar* current = GetCurrentBar();
  const String question = selected.size() >= 2 || !current
                              ? GetResourceString(sdxBarDeleteToolbarsConfirmation)
                              : Format(GetResourceString(sdxBarDeleteToolbarConfirmation), {current->GetCaption()});
  // The bars asked about, and the entry selected afterwards (the first unselected one after
  // the first selected, else the last unselected one before it), are taken before the
  // question: while it is up the list may be refilled and bars freed.
  TWeakRef<TdxBar> next;
  for (int i = selected.front() + 1; i < lbBarsList->GetCount() && !next; ++i)
    if (!lbBarsList->GetSelected(i))
      next = BarOfEntry(i);
  for (int i = selected.front() - 1; i >= 0 && !next; --i)
    if (!lbBarsList->GetSelected(i))
      next = BarOfEntry(i);
  std::vector<TWeakRef<TdxBar>> bars;
  for (int i : selected)
    bars.emplace_back(BarOfEntry(i));
  if (dxBarAskCustomizingQuestion(GetBarManager(), GetHandle(), question, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK ||
      !self)
    return;
  {
    lbBarsList->GetItems()->BeginUpdate();
    TFinally end([&] {
      if (self)
        lbBarsList->GetItems()->EndUpdate();
    });
    for (auto it = bars.rbegin(); it != bars.rend(); ++it)
      if (TdxBar* bar = it->Get())
        bar->Free();
  }
  if (!self)
    return;
  RefillBarsList();
  SelectBar(next.Get());
}

// ---------------------------------------------------------------------------
// Bottom buttons

void TdxBarCustomizingForm::BCloseClick(TObject*)
{
  Close();
}

void TdxBarCustomizingForm::FormClose(TObject*, TCloseAction& Action)
{
  Action = caFree;
}

void TdxBarCustomizingForm::BHelpClick(TObject*)
{
  TdxBarManager* manager = GetBarManager();
  if (manager && !IsDesigning() && manager->GetHelpContext() != 0 && Application)
    Application->HelpContext(manager->GetHelpContext());
}

void TdxBarCustomizingForm::BResetUsageDataClick(TObject*)
{
  if (TdxBarManager* manager = GetBarManager())
    manager->ResetUsageDataWithConfirmation();
}

// ---------------------------------------------------------------------------
// Options

void TdxBarCustomizingForm::SetupAnimationsCombo(TLabel* ALabel, TComboBox* ACombo)
{
  if (ALabel) {
    ALabel->SetCaption(GetResourceString(sdxBarMenuAnimations));
    ACombo->SetLeft(std::max(ACombo->GetLeft(), ALabel->GetLeft() + ALabel->GetWidth() + 10));
  }
  const TResStringRec texts[] = {sdxBarMenuAnimationNone, sdxBarMenuAnimationRandom, sdxBarMenuAnimationUnfold,
                                 sdxBarMenuAnimationSlide, sdxBarMenuAnimationFade};
  TStrings* items = ACombo->GetItems();
  items->BeginUpdate();
  items->Clear();
  int widest = 0;
  for (const TResStringRec& text : texts) {
    const String s = GetResourceString(text);
    items->Add(s);
    widest = std::max(widest, CustomizeFormTextWidth(ACombo->GetFont(), s));
  }
  items->EndUpdate();
  ACombo->SetWidth(widest + 54);
  ACombo->OnChange = TNotifyEvent(this, &TdxBarCustomizingForm::AnimationsChange);
}

void TdxBarCustomizingForm::SetupOptionsPage()
{
  tsOptions->SetCaption(GetResourceString(sdxBarOptionsPage));
  const std::pair<TCheckBox*, TResStringRec> boxes[] = {{CBLargeIcons, sdxBarLargeIcons},
                                                        {CBHint1, sdxBarShowToolTips},
                                                        {CBHint2, sdxBarShowShortcutsInToolTips},
                                                        {CBMenusShowRecentItemsFirst, sdxBarRecentlyUsedFirst},
                                                        {CBShowFullMenusAfterDelay, sdxBarShowFullMenusAfterDelay},
                                                        {CBLargeIconsEx, sdxBarLargeIcons},
                                                        {CBHint1Ex, sdxBarShowToolTips},
                                                        {CBHint2Ex, sdxBarShowShortcutsInToolTips}};
  for (const auto& [box, text] : boxes)
    if (box) {
      box->SetCaption(GetResourceString(text));
      box->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::OptionClick);
    }
  SetupAnimationsCombo(LabelMenuAnimations, ComboBoxMenuAnimations);
  if (Label3)
    Label3->SetCaption(GetResourceString(sdxBarPersonalizedMenus));
  if (BResetUsageData) {
    BResetUsageData->SetCaption(GetResourceString(sdxBarResetUsageData));
    BResetUsageData->SetWidth(
        CustomizeFormTextWidth(BResetUsageData->GetFont(), StripAccelChars(BResetUsageData->GetCaption())) + 17);
    BResetUsageData->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::BResetUsageDataClick);
  }
  if (Label2)
    Label2->SetCaption(GetResourceString(sdxBarOther));
  SetupAnimationsCombo(LabelMenuAnimationsEx, ComboBoxMenuAnimationsEx);
  UpdateOptions();
}

void TdxBarCustomizingForm::UpdateOptions()
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return;
  TRestore updating(FUpdatingOptions, true);
  const bool standard = manager->GetRealStyle() == bmsStandard;
  StandardOptionsPanel->SetVisible(standard);
  EnhancedOptionsPanel->SetVisible(!standard);
  auto set = [](TCheckBox* ABox, bool AChecked) {
    if (ABox)
      ABox->SetChecked(AChecked);
  };
  set(CBMenusShowRecentItemsFirst, manager->GetMenusShowRecentItemsFirst());
  set(CBShowFullMenusAfterDelay, manager->GetShowFullMenusAfterDelay());
  if (CBShowFullMenusAfterDelay && CBMenusShowRecentItemsFirst)
    CBShowFullMenusAfterDelay->SetEnabled(CBMenusShowRecentItemsFirst->GetChecked());
  set(CBLargeIcons, manager->GetLargeIcons());
  set(CBLargeIconsEx, manager->GetLargeIcons());
  set(CBHint1, manager->GetShowHint());
  set(CBHint1Ex, manager->GetShowHint());
  set(CBHint2, manager->GetShowShortCutInHint());
  set(CBHint2Ex, manager->GetShowShortCutInHint());
  if (CBHint2Ex && CBHint1Ex)
    CBHint2Ex->SetEnabled(CBHint1Ex->GetChecked());
  ComboBoxMenuAnimations->SetItemIndex(int(manager->GetMenuAnimations()));
  ComboBoxMenuAnimationsEx->SetItemIndex(int(manager->GetMenuAnimations()));
}

void TdxBarCustomizingForm::OptionClick(TObject* Sender)
{
  TdxBarManager* manager = GetBarManager();
  auto* box = dynamic_cast<TCheckBox*>(Sender);
  if (FUpdatingOptions || !manager || !box)
    return;
  const bool checked = box->GetChecked();
  if (box == CBLargeIcons || box == CBLargeIconsEx) {
    manager->SetLargeIcons(checked);
  } else if (box == CBHint1 || box == CBHint1Ex) {
    if (box == CBHint1Ex && CBHint2Ex)
      CBHint2Ex->SetEnabled(checked);
    manager->SetShowHint(checked);
  } else if (box == CBHint2 || box == CBHint2Ex) {
    manager->SetShowShortCutInHint(checked);
  } else if (box == CBMenusShowRecentItemsFirst) {
    if (CBShowFullMenusAfterDelay)
      CBShowFullMenusAfterDelay->SetEnabled(checked);
    manager->SetMenusShowRecentItemsFirst(checked);
  } else if (box == CBShowFullMenusAfterDelay) {
    manager->SetShowFullMenusAfterDelay(checked);
  }
}

void TdxBarCustomizingForm::AnimationsChange(TObject* Sender)
{
  TdxBarManager* manager = GetBarManager();
  auto* combo = dynamic_cast<TComboBox*>(Sender);
  if (FUpdatingOptions || !manager || !combo)
    return;
  const int index = combo->GetItemIndex();
  if (index >= int(maNone) && index <= int(maFade))
    manager->SetMenuAnimations(TdxBarMenuAnimations(index));
}
