// Window layer of the customizing units: the Customize dialog, the one non-modal window in
// which a program's user turns toolbars on and off, makes, renames, resets and deletes them,
// drags commands onto bars and sets the manager's options. It is read from its form data
// (resource "TDXBARCUSTOMIZINGFORM"); at most one is open in the process.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "bars/model/components.h"
#include "bars/model/customizing.h"
#include "bars/model/manager.h"
#include "bars/menus/popupmenu.h"
#include "lookandfeel/cxClasses.h"
#include "platform/ActnList.h"
#include "platform/Buttons.h"
#include "platform/ComCtrls.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"

class TdxBar;
class TdxBarGroup;
class TdxBarItem;
class TdxBarManager;
class TdxBarPopupMenu;
class TdxBarRunTimeSelectionController;

// Private messages the dialog posts to its own lists (one line each: what it asks).
constexpr UINT WM_DXBARCUSTOMIZE_REFILL = WM_APP + 101;     // refill; wParam 1 keeps item and top index
constexpr UINT WM_DXBARCUSTOMIZE_SELECTION = WM_APP + 102;  // take the selection controller's selection
constexpr UINT WM_DXBARCUSTOMIZE_ACTIONS = WM_APP + 103;    // recompute the actions and the description

// A caption-only button that opens a popup menu below itself and shows it pressed while the
// menu is open; the dialog's design-time "... modify" buttons.
class TCheckableButton : public TGraphicControl {
  DECLARE_CLASS(TCheckableButton, TGraphicControl)
public:
  explicit TCheckableButton(TComponent* AOwner);
  ~TCheckableButton() override;

  bool GetChecked() const { return FChecked; }
  // With a popup, checking shows it under the button and returns when it closes.
  void SetChecked(bool Value);
  TdxBarPopupMenu* GetPopupMenu() const { return FPopupMenu.Get(); }
  void SetPopupMenu(TdxBarPopupMenu* Value);
  bool GetMouseInControl() const { return FMouseInControl; }
  // Width of the caption's text, as the dialog sizes the button when it makes it.
  void FitToCaption();

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void PopupClosed(TObject* Sender);

private:
  bool FChecked = false;
  bool FMouseInControl = false;
  // The close-up checked the button again (the press that closed the menu was on it).
  bool FCheckedByCloseUp = false;
  TWeakRef<TdxBarPopupMenu> FPopupMenu;
};

class TdxBarCustomizingForm : public TForm {
  DECLARE_CLASS(TdxBarCustomizingForm, TForm)
public:
  // Only for the metaclass; the dialog is made by Create below.
  explicit TdxBarCustomizingForm(TComponent* AOwner);
  ~TdxBarCustomizingForm() override;

  // Reads the form data and sets the dialog up for AManager, owned by AOwner.
  static TdxBarCustomizingForm* Create(TComponent* AOwner, TdxBarManager* AManager);

  TdxBarManager* GetBarManager() const { return FBarManager.Get(); }
  TdxBarRunTimeSelectionController* GetSelectionController() const { return FSelectionController.get(); }
  // The list painter kind for the manager's current bar painter, compared exactly.
  TClass GetPainterClass() const;
  bool IsDesigning() const;

  // What the manager's changes ask of an open dialog.
  void UpdateLook();
  void UpdateHelpButton();
  void UpdateOptions();
  // The owner form was shown, hidden or moved: the dialog goes with it.
  void FollowOwner();
  // The selection changed: the lists select what is selected.
  void FollowSelection() { SelectionChanged(nullptr); }

  // The windows disabled while the dialog shows (tests look at them).
  const std::vector<HWND>& GetDisabledWindows() const { return FDisabledWindows; }
  // The bar of the toolbar list's current entry (nil without one, or with several at design time).
  TdxBar* GetCurrentBar();
  // Toggles a bar's visibility as a click in its check box does (a bar that cannot be closed beeps).
  void ToggleBar(TdxBar* ABar);
  // While a command is dragged at design time: over the category list the entry under P
  // (screen) is selected (1), over no entry the command's own category is (0); away from the
  // list (-1) the command's own category is selected again.
  int DragOverCategories(const TPoint& P, TdxBarItem* AItem);
  // The category of the category list's selected entry, -1 for none.
  int GetSelectedCategory();
  // The command of the commands list's selected entry.
  TdxBarItem* GetSelectedItem();

  // Components of the form data, found once after reading.
  TPageControl* PageControl = nullptr;
  TTabSheet *tsToolbars = nullptr, *tsItems = nullptr, *tsOptions = nullptr, *tsCommands = nullptr, *tsGroups = nullptr,
            *TabSheet1 = nullptr;
  TListBox *lbBarsList = nullptr, *lbCategories = nullptr, *lbItems = nullptr, *LAllCommands = nullptr,
           *lbGroups = nullptr, *lbGroupItems = nullptr;
  TLabel *LabelToobars = nullptr, *LabelCategories = nullptr, *LabelCommands = nullptr, *LabelDescription = nullptr,
         *DescriptionLabel = nullptr, *Label2 = nullptr, *Label3 = nullptr, *LabelMenuAnimations = nullptr,
         *LabelMenuAnimationsEx = nullptr;
  TBevel *Bevel1 = nullptr, *Bevel2 = nullptr, *Bevel3 = nullptr;
  TButton *BBarNew = nullptr, *BBarRename = nullptr, *BBarDelete = nullptr, *BBarReset = nullptr, *BClose = nullptr,
          *BResetUsageData = nullptr;
  TSpeedButton* BHelp = nullptr;
  TPanel *PanelBottom = nullptr, *PanelRightMargin = nullptr, *StandardOptionsPanel = nullptr,
         *EnhancedOptionsPanel = nullptr;
  TCheckBox *CBLargeIcons = nullptr, *CBLargeIconsEx = nullptr, *CBHint1 = nullptr, *CBHint1Ex = nullptr,
            *CBHint2 = nullptr, *CBHint2Ex = nullptr, *CBMenusShowRecentItemsFirst = nullptr,
            *CBShowFullMenusAfterDelay = nullptr, *CBShowCommandsWithShortCut = nullptr;
  TComboBox *ComboBoxMenuAnimations = nullptr, *ComboBoxMenuAnimationsEx = nullptr;
  TTreeView* tvKeyTips = nullptr;
  TActionList* ActionList1 = nullptr;
  TAction *aNewToolBar = nullptr, *aRenameToolBar = nullptr, *aDeleteToolBar = nullptr, *aResetToolBar = nullptr;
  TdxBarManager* BarManager1 = nullptr;
  TCheckableButton *CategoriesModifyButton = nullptr, *CommandsModifyButton = nullptr;
  TdxBarPopupMenu *CategoriesPopupMenu = nullptr, *CommandsPopupMenu = nullptr;

  void CreateParams(TCreateParams& Params) override;

protected:
  void DoShow() override;
  void DoHide() override;
  void DestroyWnd() override;
  // The designed size is the least the dialog can be made.
  void WndProc(TMessage& Message) override;

private:
  template <class T>
  T* Find(const wchar_t* AName);
  void FindComponents();
  void Setup();
  void SetupBottomPanel();
  void SetupToolbarsPage();
  void SetupCommandsPage();
  void SetupOptionsPage();
  void SetupDesignPages();
  void AlignHeadingLines();
  void ApplyLook();

  bool GetOwnerWindowRect(RECT& ARect) const;
  void DisableOtherForms();
  void EnableOtherForms();

  // --- The toolbar list (customizeform_lists.cpp).
  void RefillBarsList();
  TdxBar* BarOfEntry(int AIndex);
  TdxBarItem* ItemOfEntry(int AIndex);
  void BarsChanged(TObject* Sender, TcxComponentCollectionItem* AItem, TcxComponentCollectionNotification AAction);
  void BarsListDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
  void BarsListWndProc(TMessage& Message);
  void BarsListClicked();
  // --- The category and command lists.
  void RefillCategories();
  void RefillItems();
  void ItemsChanged(TObject* Sender, TComponent* AComponent, TdxComponentListChangeType Kind);
  void GroupsChanged(TObject* Sender, TComponent* AComponent, TdxComponentListChangeType Kind);
  void CategoriesWndProc(TMessage& Message);
  void ItemsListDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
  void ItemsListWndProc(TMessage& Message);
  void ItemsListPressed(TMessage& Message);
  bool ItemsListDesignKey(WORD AKey);
  void SelectionChanged(TObject* Sender);
  void PostToList(TListBox* AList, UINT AMessage, WPARAM AWParam = 0);
  // Fills the list background below the last entry; true when it did.
  bool EraseBelowItems(TListBox* AList, HDC ADC);

  // --- Actions and options (customizeform_actions.cpp).
  void UpdateActions();
  void aNewToolBarExecute(TObject* Sender);
  void aRenameToolBarExecute(TObject* Sender);
  void aDeleteToolBarExecute(TObject* Sender);
  void aResetToolBarExecute(TObject* Sender);
  // Runs a toolbar command of the manager on the current bar, then refills the list.
  void RunOnCurrentBar(void (TdxBarManager::*ACommand)(TdxBar*));
  void BCloseClick(TObject* Sender);
  void BHelpClick(TObject* Sender);
  void BResetUsageDataClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void OptionClick(TObject* Sender);
  void AnimationsChange(TObject* Sender);
  void SetupAnimationsCombo(TLabel* ALabel, TComboBox* ACombo);
  // Selects the list entry of ABar (none: the nearest remaining one).
  void SelectBar(TdxBar* ABar);

  // --- Design-time pages (customizeform_design.cpp).
  void RefillAllCommands();
  void RefillGroups();
  void GroupListsFollowSelection();
  // What is selected: the dialog's own selection in a running program, the form designer's
  // in a designed form.
  std::vector<TObject*> GetSelection() const;
  struct TDesignMenuEntry {
    TResStringRec Text;
    void (TdxBarCustomizingForm::*Handler)(TObject*);
  };
  TdxBarPopupMenu* MakeDesignMenu(const wchar_t* AName, int ACategory,
                                  std::initializer_list<TDesignMenuEntry> AEntries);
  void CategoryVisibleClick(TObject* Sender);
  // The name dialog for categories: AMode 0 adds, 1 inserts before the selected one, 2 renames it.
  void EditCategoryName(int AMode);
  void CategoryAddClick(TObject*) { EditCategoryName(0); }
  void CategoryInsertClick(TObject*) { EditCategoryName(1); }
  void CategoryRenameClick(TObject*) { EditCategoryName(2); }
  void CommandAddClick(TObject* Sender);
  void ShowCategory(int ACategory);
  void CommandSubMenuEditorClick(TObject* Sender);
  int ConfirmForSelectedCategory(const TResStringRec& AQuestion);
  void CategoryDeleteClick(TObject* Sender);
  void CommandDeleteClick(TObject* Sender);
  void CommandsClearClick(TObject* Sender);
  void CommandMoveUpClick(TObject* Sender);
  void CommandMoveDownClick(TObject* Sender);
  void MoveSelectedCommand(int ADelta);
  TdxBarGroup* GetSelectedGroup();
  void SetupGroupActions();
  void BuildKeyTips();

  TWeakRef<TdxBarManager> FBarManager;
  std::unique_ptr<TdxBarRunTimeSelectionController> FSelectionController;
  // The client size the dialog was designed with, and the controls that follow its size
  // with their designed bounds.
  TSize FDesignedClientSize{};
  struct TSizeFollower {
    TWeakRef<TControl> Control;
    TRect Designed;
    TAnchors Anchors;
  };
  std::vector<TSizeFollower> FSizeFollowers;
  void RecordSizeFollowers();
  void FollowSize();
  // The manager's handlers the dialog stands in for while open.
  TcxComponentCollectionChangeEvent FSavedBarsChange;
  TdxComponentListChangeEvent FSavedItemsChange;
  TdxComponentListChangeEvent FSavedGroupsChange;
  TWndMethod FSavedBarsListProc, FSavedCategoriesProc, FSavedItemsProc;
  std::vector<HWND> FDisabledWindows;
  // Managers whose floating bars the dialog disabled.
  std::vector<TWeakRef<TdxBarManager>> FDisabledManagers;
  // Set while the options page is filled from the manager: its clicks write nothing back.
  bool FUpdatingOptions = false;
  // The posted requests not handled yet, by list.
  std::vector<std::pair<HWND, UINT>> FPosted;
  // The owner form's window rectangle when the dialog last followed it.
  RECT FOwnerRect{};
  bool FOwnerRectKnown = false;
  // Hidden because the owner form was: shown again with it.
  bool FHiddenWithOwner = false;
};

// The open dialog, nil when none is.
TdxBarCustomizingForm* GetCustomizingForm();
// Opens the dialog for AManager (nothing while one is open) or closes it: the entry of the
// bar library's customizing services that switching the mode calls.
void SetBarManagerCustomizing(TdxBarManager* AManager, bool AOn);
// Whether the dialog's list that has the focus acts on AKey itself (Delete or Esc), so that
// the design controller leaves the key to it.
bool CustomizingFormListTakesKey(WORD AKey);
void UpdateCustomizingFormLook();
void UpdateCustomizingFormHelpButton();
void UpdateCustomizingFormOptions();

// Fill and empty the dialog's entries of the customizing services.
void dxBarInstallCustomizingForm(TdxBarCustomizingServices& AServices);
void dxBarUninstallCustomizingForm();
