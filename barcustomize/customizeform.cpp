// The Customize dialog: its one process-wide instance, creation from the form data, the
// window, the forms it disables while shown, and the services the bar library calls.
#include "barcustomize/customizeform.h"

#include <algorithm>

#include "barcustomize/customizeform_private.h"
#include "barcustomize/listpainters.h"
#include "barcustomize/runtimeselection.h"
#include "barcustomize/submenueditor.h"
#include "bars/model/bar.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "bars/model/startup.h"
#include "bars/utils/utils.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TdxBarCustomizingForm, TForm)

namespace {

TdxBarCustomizingForm* GCustomizingForm = nullptr;
// Set while the dialog's destruction ends customizing: the mode's end must not free it again.
bool GDestroyingForm = false;

}  // namespace

TdxBarCustomizingForm* GetCustomizingForm()
{
  return GCustomizingForm;
}

// ---------------------------------------------------------------------------
// Creation

TdxBarCustomizingForm::TdxBarCustomizingForm(TComponent* AOwner) : TForm(AOwner) {}

TdxBarCustomizingForm* TdxBarCustomizingForm::Create(TComponent* AOwner, TdxBarManager* AManager)
{
  auto* form = new TdxBarCustomizingForm(AOwner);
  form->FBarManager = AManager;
  form->AfterConstruction();  // reads the form data; frees the form itself when that fails
  TWeakRef<TdxBarCustomizingForm> guard(form);
  try {
    form->Setup();
  } catch (...) {
    if (TdxBarCustomizingForm* alive = guard.Get())
      alive->Free();
    throw;
  }
  return form;
}

template <class T>
T* TdxBarCustomizingForm::Find(const wchar_t* AName)
{
  return dynamic_cast<T*>(FindComponent(AName));
}

void TdxBarCustomizingForm::FindComponents()
{
  PageControl = Find<TPageControl>(L"PageControl");
  tsToolbars = Find<TTabSheet>(L"tsToolbars");
  tsItems = Find<TTabSheet>(L"tsItems");
  tsOptions = Find<TTabSheet>(L"tsOptions");
  tsCommands = Find<TTabSheet>(L"tsCommands");
  tsGroups = Find<TTabSheet>(L"tsGroups");
  TabSheet1 = Find<TTabSheet>(L"TabSheet1");
  lbBarsList = Find<TListBox>(L"lbBarsList");
  lbCategories = Find<TListBox>(L"lbCategories");
  lbItems = Find<TListBox>(L"lbItems");
  LAllCommands = Find<TListBox>(L"LAllCommands");
  lbGroups = Find<TListBox>(L"lbGroups");
  lbGroupItems = Find<TListBox>(L"lbGroupItems");
  LabelToobars = Find<TLabel>(L"LabelToobars");
  LabelCategories = Find<TLabel>(L"LabelCategories");
  LabelCommands = Find<TLabel>(L"LabelCommands");
  LabelDescription = Find<TLabel>(L"LabelDescription");
  DescriptionLabel = Find<TLabel>(L"DescriptionLabel");
  Label2 = Find<TLabel>(L"Label2");
  Label3 = Find<TLabel>(L"Label3");
  LabelMenuAnimations = Find<TLabel>(L"LabelMenuAnimations");
  LabelMenuAnimationsEx = Find<TLabel>(L"LabelMenuAnimationsEx");
  Bevel1 = Find<TBevel>(L"Bevel1");
  Bevel2 = Find<TBevel>(L"Bevel2");
  Bevel3 = Find<TBevel>(L"Bevel3");
  BBarNew = Find<TButton>(L"BBarNew");
  BBarRename = Find<TButton>(L"BBarRename");
  BBarDelete = Find<TButton>(L"BBarDelete");
  BBarReset = Find<TButton>(L"BBarReset");
  BClose = Find<TButton>(L"BClose");
  BResetUsageData = Find<TButton>(L"BResetUsageData");
  BHelp = Find<TSpeedButton>(L"BHelp");
  PanelBottom = Find<TPanel>(L"PanelBottom");
  PanelRightMargin = Find<TPanel>(L"PanelRightMargin");
  StandardOptionsPanel = Find<TPanel>(L"StandardOptionsPanel");
  EnhancedOptionsPanel = Find<TPanel>(L"EnhancedOptionsPanel");
  CBLargeIcons = Find<TCheckBox>(L"CBLargeIcons");
  CBLargeIconsEx = Find<TCheckBox>(L"CBLargeIconsEx");
  CBHint1 = Find<TCheckBox>(L"CBHint1");
  CBHint1Ex = Find<TCheckBox>(L"CBHint1Ex");
  CBHint2 = Find<TCheckBox>(L"CBHint2");
  CBHint2Ex = Find<TCheckBox>(L"CBHint2Ex");
  CBMenusShowRecentItemsFirst = Find<TCheckBox>(L"CBMenusShowRecentItemsFirst");
  CBShowFullMenusAfterDelay = Find<TCheckBox>(L"CBShowFullMenusAfterDelay");
  CBShowCommandsWithShortCut = Find<TCheckBox>(L"CBShowCommandsWithShortCut");
  ComboBoxMenuAnimations = Find<TComboBox>(L"ComboBoxMenuAnimations");
  ComboBoxMenuAnimationsEx = Find<TComboBox>(L"ComboBoxMenuAnimationsEx");
  tvKeyTips = Find<TTreeView>(L"tvKeyTips");
  ActionList1 = Find<TActionList>(L"ActionList1");
  aNewToolBar = Find<TAction>(L"aNewToolBar");
  aRenameToolBar = Find<TAction>(L"aRenameToolBar");
  aDeleteToolBar = Find<TAction>(L"aDeleteToolBar");
  aResetToolBar = Find<TAction>(L"aResetToolBar");
  BarManager1 = Find<TdxBarManager>(L"BarManager1");
  // The dialog cannot work with a component of its form data missing: say which.
  const std::pair<const void*, const wchar_t*> required[] = {{PageControl, L"PageControl"},
                                                             {lbBarsList, L"lbBarsList"},
                                                             {lbCategories, L"lbCategories"},
                                                             {lbItems, L"lbItems"},
                                                             {DescriptionLabel, L"DescriptionLabel"},
                                                             {BClose, L"BClose"},
                                                             {PanelBottom, L"PanelBottom"},
                                                             {StandardOptionsPanel, L"StandardOptionsPanel"},
                                                             {EnhancedOptionsPanel, L"EnhancedOptionsPanel"},
                                                             {aNewToolBar, L"aNewToolBar"},
                                                             {aRenameToolBar, L"aRenameToolBar"},
                                                             {aDeleteToolBar, L"aDeleteToolBar"},
                                                             {aResetToolBar, L"aResetToolBar"},
                                                             {ComboBoxMenuAnimations, L"ComboBoxMenuAnimations"},
                                                             {ComboBoxMenuAnimationsEx, L"ComboBoxMenuAnimationsEx"}};
  for (const auto& [component, name] : required)
    if (!component)
      throw EComponentError(String(L"The Customize dialog's form data lacks ") + name);
}

void TdxBarCustomizingForm::Setup()
{
  FindComponents();
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    throw EComponentError(L"The Customize dialog needs a bar manager");
  GetFont()->SetName(manager->GetFont()->GetName());
  GetFont()->SetCharset(manager->GetFont()->GetCharset());
  if (!IsDesigning()) {
    FSelectionController = std::make_unique<TdxBarRunTimeSelectionController>();
    FSelectionController->OnSelectionChanged = TNotifyEvent(this, &TdxBarCustomizingForm::SelectionChanged);
    if (manager->GetBars()->GetCount() > 0)
      FSelectionController->SelectComponent(manager->GetBars()->GetItem(0));
  }
  SetCaption(GetResourceString(sdxBarCustomize));
  SetupBottomPanel();
  SetupToolbarsPage();
  SetupCommandsPage();
  SetupOptionsPage();
  SetupDesignPages();
  BuildKeyTips();
  ApplyLook();
  AlignHeadingLines();
  PageControl->SetActivePage(tsToolbars);
  FDesignedClientSize = TSize{GetClientWidth(), GetClientHeight()};
  RecordSizeFollowers();
  RefillBarsList();
  RefillCategories();
  UpdateActions();
}

bool TdxBarCustomizingForm::IsDesigning() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsDesigning();
}

TClass TdxBarCustomizingForm::GetPainterClass() const
{
  return GetCustomizingFormPainterClass(GetBarManager());
}

void TdxBarCustomizingForm::SetupBottomPanel()
{
  if (BResetUsageData)
    BResetUsageData->SetEnabled(!IsDesigning());
  BClose->SetCaption(GetResourceString(sdxBarClose));
  BClose->SetWidth(CustomizeFormTextWidth(BClose->GetFont(), StripAccelChars(BClose->GetCaption())) + 49);
  const int margin = PanelRightMargin ? PanelRightMargin->GetWidth() : 0;
  BClose->SetLeft(PanelBottom->GetWidth() - margin - BClose->GetWidth());
  BClose->SetAnchors(TAnchors{akTop, akRight});
  BClose->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::BCloseClick);
  if (BHelp)
    BHelp->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::BHelpClick);
  UpdateHelpButton();
  OnClose = TCloseEvent(this, &TdxBarCustomizingForm::FormClose);
}

void TdxBarCustomizingForm::UpdateHelpButton()
{
  TdxBarManager* manager = GetBarManager();
  if (!BHelp || !manager)
    return;
  BHelp->SetGlyph(manager->GetHelpButtonGlyph());
  BHelp->SetVisible(manager->GetShowHelpButton());
}

void TdxBarCustomizingForm::SetupToolbarsPage()
{
  TdxBarManager* manager = GetBarManager();
  tsToolbars->SetCaption(GetResourceString(sdxBarToolbarsPage));
  FSavedBarsListProc = lbBarsList->GetWindowProc();
  lbBarsList->SetWindowProc(TWndMethod(this, &TdxBarCustomizingForm::BarsListWndProc));
  lbBarsList->SetItemHeight(CustomizeFormTextHeight(lbBarsList->GetFont(), L"Zg") + 2);
  lbBarsList->SetMultiSelect(IsDesigning());
  lbBarsList->OnDrawItem = TDrawItemEvent(this, &TdxBarCustomizingForm::BarsListDrawItem);
  if (BBarReset)
    BBarReset->SetVisible(IsDesigning() || manager->CanReset());
  aNewToolBar->SetCaption(GetResourceString(sdxBarNew));
  aRenameToolBar->SetCaption(GetResourceString(sdxBarRename));
  aDeleteToolBar->SetCaption(GetResourceString(sdxBarDelete));
  aResetToolBar->SetCaption(GetResourceString(sdxBarReset));
  aNewToolBar->SetOnExecute(TNotifyEvent(this, &TdxBarCustomizingForm::aNewToolBarExecute));
  aRenameToolBar->SetOnExecute(TNotifyEvent(this, &TdxBarCustomizingForm::aRenameToolBarExecute));
  aDeleteToolBar->SetOnExecute(TNotifyEvent(this, &TdxBarCustomizingForm::aDeleteToolBarExecute));
  aResetToolBar->SetOnExecute(TNotifyEvent(this, &TdxBarCustomizingForm::aResetToolBarExecute));
  if (LabelToobars)
    LabelToobars->SetCaption(GetResourceString(sdxBarToolbars));
  FSavedBarsChange = manager->GetBars()->OnChange;
  manager->GetBars()->OnChange = TcxComponentCollectionChangeEvent(this, &TdxBarCustomizingForm::BarsChanged);
}

void TdxBarCustomizingForm::SetupCommandsPage()
{
  TdxBarManager* manager = GetBarManager();
  tsItems->SetCaption(GetResourceString(sdxBarCommandsPage));
  FSavedCategoriesProc = lbCategories->GetWindowProc();
  lbCategories->SetWindowProc(TWndMethod(this, &TdxBarCustomizingForm::CategoriesWndProc));
  FSavedItemsProc = lbItems->GetWindowProc();
  lbItems->SetWindowProc(TWndMethod(this, &TdxBarCustomizingForm::ItemsListWndProc));
  lbItems->SetItemHeight(ScaleToScreenDPI(22));  // a command row at 96 dots per inch
  lbItems->OnDrawItem = TDrawItemEvent(this, &TdxBarCustomizingForm::ItemsListDrawItem);
  lbCategories->OnClick = TNotifyEvent([this](TObject*) { RefillItems(); });
  if (LabelCategories)
    LabelCategories->SetCaption(GetResourceString(sdxBarCategories));
  if (LabelCommands)
    LabelCommands->SetCaption(GetResourceString(sdxBarCommands));
  if (LabelDescription)
    LabelDescription->SetCaption(GetResourceString(sdxBarDescription));
  DescriptionLabel->SetCaption(String());
  FSavedItemsChange = manager->GetItemList()->OnChange;
  manager->GetItemList()->OnChange = TdxComponentListChangeEvent(this, &TdxBarCustomizingForm::ItemsChanged);
}

// The heading lines start where their labels end, keeping top, right and bottom.
void TdxBarCustomizingForm::AlignHeadingLines()
{
  const std::pair<TBevel*, TLabel*> lines[] = {{Bevel1, LabelDescription}, {Bevel3, Label3}, {Bevel2, Label2}};
  for (const auto& [bevel, label] : lines) {
    if (!bevel || !label)
      continue;
    const int right = bevel->GetLeft() + bevel->GetWidth();
    const int left = label->GetLeft() + label->GetWidth();
    bevel->SetBounds(left, bevel->GetTop(), std::max(0, right - left), bevel->GetHeight());
  }
}

void TdxBarCustomizingForm::ApplyLook()
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return;
  if (BarManager1) {
    BarManager1->SetStyle(manager->GetStyle());
    BarManager1->SetLookAndFeel(manager->GetLookAndFeel());
  }
  // The list's colour is the one its painter draws the entries on.
  lbItems->SetColor(GetCustomizingFormPainter(GetPainterClass()).GetListBackgroundColor());
}

void TdxBarCustomizingForm::UpdateLook()
{
  RefillBarsList();
  RefillCategories();
  UpdateOptions();
  ApplyLook();
  lbItems->Invalidate();
  lbBarsList->Invalidate();
}

TdxBarCustomizingForm::~TdxBarCustomizingForm()
{
  if (GCustomizingForm == this)
    GCustomizingForm = nullptr;
  EnableOtherForms();
  // The form the user customised takes the keyboard back, as it would from a closed dialog.
  if (HandleAllocated() && ::GetActiveWindow() == GetHandle())
    if (HWND owner = ::GetWindow(GetHandle(), GW_OWNER); owner && ::IsWindowVisible(owner) && ::IsWindowEnabled(owner))
      ::SetActiveWindow(owner);
  // The lists outlive this part of the form: their windows go back to their own procedures,
  // and the manager gets its handlers back, whatever part of the set-up had run.
  const std::pair<TListBox*, TWndMethod*> hooked[] = {
      {lbBarsList, &FSavedBarsListProc}, {lbCategories, &FSavedCategoriesProc}, {lbItems, &FSavedItemsProc}};
  for (const auto& [list, saved] : hooked)
    if (list && saved->Assigned()) {
      list->SetWindowProc(*saved);
      list->OnDrawItem = nullptr;
    }
  TdxBarManager* manager = GetBarManager();
  if (manager) {
    if (manager->GetBars()->OnChange == TcxComponentCollectionChangeEvent(this, &TdxBarCustomizingForm::BarsChanged))
      manager->GetBars()->OnChange = FSavedBarsChange;
    if (manager->GetItemList()->OnChange == TdxComponentListChangeEvent(this, &TdxBarCustomizingForm::ItemsChanged))
      manager->GetItemList()->OnChange = FSavedItemsChange;
    if (manager->GetGroupList()->OnChange == TdxComponentListChangeEvent(this, &TdxBarCustomizingForm::GroupsChanged))
      manager->GetGroupList()->OnChange = FSavedGroupsChange;
  }
  if (manager && !manager->IsDestroying()) {
    TRestore destroying(GDestroyingForm, true);
    manager->SetIsCustomizing(false);
  }
  FSelectionController.reset();
}

// ---------------------------------------------------------------------------
// The window

// The lists grow with the page and the buttons keep to its right or bottom edge. Done here
// from the designed bounds rather than by the controls' own anchors: the pages take their
// size only after their controls are read.
void TdxBarCustomizingForm::RecordSizeFollowers()
{
  const TAnchors all{akLeft, akTop, akRight, akBottom}, right{akTop, akRight}, bottomLeft{akLeft, akBottom};
  const std::pair<const wchar_t*, TAnchors> rules[] = {{L"BClose", right},
                                                       {L"lbBarsList", all},
                                                       {L"BBarNew", right},
                                                       {L"BBarRename", right},
                                                       {L"BBarDelete", right},
                                                       {L"BBarReset", right},
                                                       {L"lbCategories", {akLeft, akTop, akBottom}},
                                                       {L"lbItems", all},
                                                       {L"LabelDescription", bottomLeft},
                                                       {L"Bevel1", {akLeft, akRight, akBottom}},
                                                       {L"DescriptionLabel", {akLeft, akRight, akBottom}},
                                                       {L"LAllCommands", all},
                                                       {L"CBShowCommandsWithShortCut", bottomLeft},
                                                       {L"lbGroups", {akLeft, akTop, akBottom}},
                                                       {L"lbGroupItems", all},
                                                       {L"BAddGroup", bottomLeft},
                                                       {L"BDeleteGroup", bottomLeft},
                                                       {L"BMoveUpGroup", bottomLeft},
                                                       {L"BMoveDownGroup", bottomLeft},
                                                       {L"BAddGroupItem", bottomLeft},
                                                       {L"BDeleteGroupItem", bottomLeft},
                                                       {L"BMoveUpGroupItem", bottomLeft},
                                                       {L"BMoveDownGroupItem", bottomLeft}};
  FSizeFollowers.clear();
  for (const auto& [name, anchors] : rules)
    if (auto* control = Find<TControl>(name))
      FSizeFollowers.push_back({TWeakRef<TControl>(control), control->GetBoundsRect(), anchors});
}

void TdxBarCustomizingForm::FollowSize()
{
  if (FDesignedClientSize.cx <= 0)
    return;
  const int dx = std::max(0, GetClientWidth() - int(FDesignedClientSize.cx));
  const int dy = std::max(0, GetClientHeight() - int(FDesignedClientSize.cy));
  for (const TSizeFollower& follower : FSizeFollowers) {
    TControl* control = follower.Control.Get();
    if (!control)
      continue;
    TRect r = follower.Designed;
    const bool left = follower.Anchors.Contains(akLeft), top = follower.Anchors.Contains(akTop);
    if (follower.Anchors.Contains(akRight)) {
      r.right += dx;
      r.left += left ? 0 : dx;
    }
    if (follower.Anchors.Contains(akBottom)) {
      r.bottom += dy;
      r.top += top ? 0 : dy;
    }
    control->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
}

void TdxBarCustomizingForm::WndProc(TMessage& Message)
{
  TForm::WndProc(Message);
  if (Message.Msg == WM_SIZE)
    FollowSize();
  if (Message.Msg != WM_GETMINMAXINFO || FDesignedClientSize.cx <= 0 || !HandleAllocated())
    return;
  RECT r{0, 0, FDesignedClientSize.cx, FDesignedClientSize.cy};
  ::AdjustWindowRectEx(&r, DWORD(::GetWindowLongPtrW(GetHandle(), GWL_STYLE)), FALSE,
                       DWORD(::GetWindowLongPtrW(GetHandle(), GWL_EXSTYLE)));
  auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  info->ptMinTrackSize = POINT{r.right - r.left, r.bottom - r.top};
}

void TdxBarCustomizingForm::CreateParams(TCreateParams& Params)
{
  TForm::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  Params.ExStyle = WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
  Params.WindowClass.style = CS_SAVEBITS | CS_OWNDC;
  TdxBarManager* manager = GetBarManager();
  TWinControl* parent = manager ? manager->GetParentControl() : nullptr;
  if (parent && parent->HandleAllocated())
    Params.WndParent = parent->GetHandle();
}

void TdxBarCustomizingForm::DestroyWnd()
{
  EnableOtherForms();
  TForm::DestroyWnd();
}

void TdxBarCustomizingForm::DoShow()
{
  DisableOtherForms();
  FOwnerRectKnown = GetOwnerWindowRect(FOwnerRect);
  RefillAllCommands();
  TForm::DoShow();
}

void TdxBarCustomizingForm::DoHide()
{
  EnableOtherForms();
  TForm::DoHide();
}

// Every other form that holds a bar manager takes no input while the dialog shows, and
// their floating bars neither; the customised manager's own form stays enabled, since its
// bars are what the user customises.
void TdxBarCustomizingForm::DisableOtherForms()
{
  EnableOtherForms();
  TdxBarManager* customized = GetBarManager();
  TCustomForm* customizedForm = customized ? customized->GetMDIChildOrTopLevelForm() : nullptr;
  TdxBarManagerList* list = dxBarManagerList();
  for (int i = 0; list && i < list->Count(); ++i) {
    TdxBarManager* manager = list->GetItem(i);
    TCustomForm* form = manager->IsDesigning() ? manager->GetNearestParentForm() : manager->GetMDIChildOrTopLevelForm();
    if (!form || form == this || form == customizedForm || !form->HandleAllocated())
      continue;
    manager->DisableFloatingBars();
    FDisabledManagers.emplace_back(manager);
    HWND wnd = form->GetHandle();
    if (::IsWindowEnabled(wnd) &&
        std::find(FDisabledWindows.begin(), FDisabledWindows.end(), wnd) == FDisabledWindows.end()) {
      ::EnableWindow(wnd, FALSE);
      FDisabledWindows.push_back(wnd);
    }
  }
}

void TdxBarCustomizingForm::EnableOtherForms()
{
  std::vector<TWeakRef<TdxBarManager>> managers;
  managers.swap(FDisabledManagers);
  for (const TWeakRef<TdxBarManager>& ref : managers)
    if (TdxBarManager* manager = ref.Get())
      manager->EnableFloatingBars();
  std::vector<HWND> windows;
  windows.swap(FDisabledWindows);
  for (HWND wnd : windows)
    if (::IsWindow(wnd))
      ::EnableWindow(wnd, TRUE);
}

bool TdxBarCustomizingForm::GetOwnerWindowRect(RECT& ARect) const
{
  TdxBarManager* manager = GetBarManager();
  TWinControl* owner = manager ? manager->GetParentControl() : nullptr;
  if (!owner || !owner->HandleAllocated())
    return false;
  return ::GetWindowRect(::GetAncestor(owner->GetHandle(), GA_ROOT), &ARect);
}

// The dialog hides and shows again with the form it customises and keeps its place beside it.
void TdxBarCustomizingForm::FollowOwner()
{
  TdxBarManager* manager = GetBarManager();
  TWinControl* owner = manager ? manager->GetParentControl() : nullptr;
  if (!owner || !owner->HandleAllocated() || !HandleAllocated())
    return;
  HWND ownerWnd = ::GetAncestor(owner->GetHandle(), GA_ROOT);
  if (!::IsWindowVisible(ownerWnd) || ::IsIconic(ownerWnd)) {
    if (GetVisible()) {
      FHiddenWithOwner = true;
      Hide();
    }
    return;
  }
  RECT now{};
  if (!GetOwnerWindowRect(now))
    return;
  if (FOwnerRectKnown && (now.left != FOwnerRect.left || now.top != FOwnerRect.top)) {
    RECT own{};
    ::GetWindowRect(GetHandle(), &own);
    ::SetWindowPos(GetHandle(), nullptr, own.left + now.left - FOwnerRect.left, own.top + now.top - FOwnerRect.top, 0,
                   0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FOwnerRect = now;
  FOwnerRectKnown = true;
  if (FHiddenWithOwner) {
    FHiddenWithOwner = false;
    Show();
  }
}

// ---------------------------------------------------------------------------
// The services

void SetBarManagerCustomizing(TdxBarManager* AManager, bool AOn)
{
  if (!AManager)
    return;
  if (AOn) {
    if (GCustomizingForm)
      return;
    TWeakRef<TdxBarManager> manager(AManager);
    AManager->UnmergeAllBars(nullptr, true);
    CallEvent(AManager->OnShowCustomizingForm, AManager);
    if (!manager || GCustomizingForm)
      return;
    TdxBarCustomizingForm* form = nullptr;
    try {
      form = TdxBarCustomizingForm::Create(Application, AManager);
    } catch (...) {
      // No dialog, no customizing: the mode ends again before the error goes on.
      if (manager)
        AManager->SetIsCustomizing(false);
      throw;
    }
    GCustomizingForm = form;
    form->Show();
    return;
  }
  if (!GDestroyingForm && GCustomizingForm) {
    TdxBarCustomizingForm* form = GCustomizingForm;
    GCustomizingForm = nullptr;
    form->Free();
  }
  // The sub-menu editor edits links only while their manager customizes.
  if (TdxBarSubMenuEditor* editor = GetSubMenuEditorForm()) {
    TdxBarItemLinks* links = editor->GetItemLinks();
    if (!links || links->GetBarManager() == AManager)
      editor->Close();
  }
  if (AManager->IsDestroying())
    return;
  TWeakRef<TdxBarManager> manager(AManager);
  CallEvent(AManager->OnHideCustomizingForm, AManager);
  if (manager)
    AManager->RestoreMergedBars();
}

bool CustomizingFormListTakesKey(WORD AKey)
{
  HWND focus = ::GetFocus();
  TdxBarCustomizingForm* form = GCustomizingForm;
  auto focused = [focus](TListBox* AList) { return AList && AList->HandleAllocated() && AList->GetHandle() == focus; };
  if (!form || !focus)
    return false;
  switch (AKey) {
    case VK_DELETE:
      // The toolbar list deletes the toolbar; the command list deletes the command only in a
      // designer, and never with Ctrl, which deletes the selected link's item.
      return focused(form->lbBarsList) ||
             (focused(form->lbItems) && form->IsDesigning() && ::GetKeyState(VK_CONTROL) >= 0);
    case VK_ESCAPE:
      // Esc in a list closes the dialog.
      return focused(form->lbBarsList) || focused(form->lbCategories) || focused(form->lbItems);
    default:
      return false;
  }
}

void UpdateCustomizingFormLook()
{
  if (GCustomizingForm)
    GCustomizingForm->UpdateLook();
}

void UpdateCustomizingFormHelpButton()
{
  if (GCustomizingForm)
    GCustomizingForm->UpdateHelpButton();
}

void UpdateCustomizingFormOptions()
{
  if (GCustomizingForm)
    GCustomizingForm->UpdateOptions();
}

void dxBarInstallCustomizingForm(TdxBarCustomizingServices& AServices)
{
  RegisterClasses({TdxBarCustomizingForm::StaticClass(), TActionList::StaticClass(), TAction::StaticClass(),
                   TCheckableButton::StaticClass()});
  AServices.ShowCustomizingForm = [](TdxBarManager* AManager, bool AShow) {
    SetBarManagerCustomizing(AManager, AShow);
  };
  AServices.GetCustomizingFormHandle = [](const TdxBarManager*) -> HWND {
    return GCustomizingForm && GCustomizingForm->HandleAllocated() ? GCustomizingForm->GetHandle() : nullptr;
  };
  AServices.CustomizingFormChanged = [](TdxBarManager* AManager, TdxBarCustomizingFormChange AChange) {
    if (!GCustomizingForm || GCustomizingForm->GetBarManager() != AManager)
      return;
    switch (AChange) {
      case TdxBarCustomizingFormChange::Look:
        return UpdateCustomizingFormLook();
      case TdxBarCustomizingFormChange::HelpButton:
        return UpdateCustomizingFormHelpButton();
      case TdxBarCustomizingFormChange::Options:
        return UpdateCustomizingFormOptions();
      case TdxBarCustomizingFormChange::FormPosition:
        return GCustomizingForm->FollowOwner();
      case TdxBarCustomizingFormChange::Selection:
        return GCustomizingForm->FollowSelection();
    }
  };
}

void dxBarUninstallCustomizingForm()
{
  if (TdxBarCustomizingForm* form = GCustomizingForm) {
    GCustomizingForm = nullptr;
    form->Free();
  }
}
