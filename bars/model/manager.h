// The bar manager: the non-visual component a form holds to have toolbars and menus. It
// chooses the painter from its style, keeps the fonts and flat brushes bars draw with, the
// update lock and designer notification, and its part of the form data.
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "bars/model/categories.h"
#include "bars/model/backgrounds.h"
#include "bars/model/components.h"
#include "bars/model/imageoptions.h"
#include "bars/painters/painter.h"
#include "bars/model/popupmenulinks.h"
#include "lookandfeel/cxLookAndFeels.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Filer.h"
#include "platform/IniFiles.h"
#include "platform/Lists.h"
#include "platform/Scope.h"

class TCustomdxBarControl;
class TdxBar;
class TdxBarCaptionButton;
class TdxBarControl;
class TdxBarGroup;
class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarManager;
class TdxBars;
class TdxThemeChangedNotificator;

enum TdxBarManagerStyle { bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11, bmsUseLookAndFeel };
DECLARE_ENUM_INFO(TdxBarManagerStyle)
enum TdxBarMenuAnimations { maNone, maRandom, maUnfold, maSlide, maFade };
DECLARE_ENUM_INFO(TdxBarMenuAnimations)
enum TdxBarDockingStyle { dsNone, dsLeft, dsTop, dsRight, dsBottom };
DECLARE_ENUM_INFO(TdxBarDockingStyle)
using TdxBarDockingStyles = TSet<TdxBarDockingStyle>;
enum TdxBarItemMergeKind { mkAdd, mkMergeByCaption, mkNone };
DECLARE_ENUM_INFO(TdxBarItemMergeKind)

using TdxBarEvent = TEvent<void(TObject* Sender, TdxBar* ABar)>;
using TdxBarVisibleChangeEvent = TEvent<void(TObject* Sender, TdxBar* ABar)>;
using TdxBarItemLinkEvent = TEvent<void(TObject* Sender, TdxBarItemLink* AItemLink)>;
using TdxBarMergeItemLinkEvent =
    TEvent<void(TObject* Sender, TdxBarItemLinks* ADstItemLinks, TdxBarItemLinks* ASrcItemLinks,
                TdxBarItemLink* ASrcItemLink, TdxBarItemMergeKind& AMergeKind, int& AMergeIndex)>;
// Sender is the bar that asks.
using TdxBarCanDockingEvent =
    TEvent<void(TdxBar* Sender, TdxBarDockingStyle Style, TWinControl* DockControl, bool& CanDocking)>;
using TdxBarMergeEvent = TEvent<void(TObject* Sender, TdxBarManager* ChildBarManager, bool AddItems)>;
// What happened to an MDI child for the main form's manager.
enum TdxBarMDIChildAction { mcaActivated, mcaDeactivated, mcaMaximizeChanged };
using TdxBarShowPopupEvent = TEvent<void(TObject* Sender, TdxBarItemLinks* PopupItemLinks)>;
using TdxBarClickItemEvent = TEvent<void(TObject* Sender, TdxBarItem* ClickedItem)>;

// A list of handlers that all run when the collection fires; each handler once.
template <class Sig>
class TdxBarEventHandlers {
public:
  void Add(const TEvent<Sig>& Handler)
  {
    if (Handler.Assigned() && std::find(FHandlers.begin(), FHandlers.end(), Handler) == FHandlers.end())
      FHandlers.push_back(Handler);
  }
  void Remove(const TEvent<Sig>& Handler) { std::erase(FHandlers, Handler); }
  int Count() const { return int(FHandlers.size()); }
  template <class... A>
  void Fire(A&&... args) const
  {
    // A copy: a handler may remove itself or others.
    std::vector<TEvent<Sig>> handlers = FHandlers;
    for (const TEvent<Sig>& handler : handlers)
      handler(args...);
  }

private:
  std::vector<TEvent<Sig>> FHandlers;
};

// The form designer's side of a manager while its form is designed.
class IdxBarDesignerHook {
public:
  virtual void GetSelection(TList* AList) = 0;
  // AMode 0 selects, 1 deselects, 2 adds.
  virtual void SelectComponent(TComponent* AComponent, int AMode) = 0;

protected:
  ~IdxBarDesignerHook() = default;
};

// Every living bar manager, in creation order. It does not own them.
class TdxBarManagerList : public TObjectList {
  DECLARE_CLASS(TdxBarManagerList, TObjectList)
public:
  TdxBarManagerList() : TObjectList(false) {}
  ~TdxBarManagerList() override;
  TdxBarManager* GetItem(int Index) const;
  // Appends a manager that is not listed yet / removes it. The thread hooks (bars/keyboard/hooks.h)
  // are installed with the first manager and removed with the last; the shared hint window
  // is made with the first manager outside the designer and freed with the last.
  void AddManager(TdxBarManager* AManager);
  void RemoveManager(TdxBarManager* AManager);
  // The first manager in customizing mode; nil when none.
  TdxBarManager* GetCustomizingManager() const;
  // After (before) AManager, wrapping around, the next manager active on the same form (on
  // an MDI child only while it is the active child); AManager itself when there is none.
  TdxBarManager* GetNextManager(TdxBarManager* AManager, bool AForward) const;
};

// The manager of a component: the component itself when it is a manager, otherwise the
// listed manager whose owner it is; nil when none.
TdxBarManager* GetBarManagerByOwner(TComponent* AComponent);

// The smallest Prefix + N (N = 1, 2, ...) for which Exists answers false.
String dxBarMakeUniqueName(const String& Prefix, const std::function<bool(const String&)>& Exists);

// The look-and-feel kind of a bar manager style, so that the bar style read back from the
// look-and-feel (TdxBarManager::GetRealStyle) is the one set: bmsStandard gives lfStandard,
// bmsEnhanced lfFlat, bmsFlat lfUltraFlat, bmsOffice11 lfOffice11; bmsXP sets NativeStyle.
void SetLookAndFeelFromBarStyle(TcxLookAndFeel* ALookAndFeel, TdxBarManagerStyle AStyle);

class TdxBarManager : public TComponent {
  DECLARE_CLASS(TdxBarManager, TComponent)
public:
  // Raises "TdxBarManager should have TWinControl as its Owner" when the owner (the main
  // form for nil) is not a windowed control, and "A control should contain only a single
  // TdxBarManager" when it has a manager already; nothing is built then.
  explicit TdxBarManager(TComponent* AOwner);
  ~TdxBarManager() override;

  // Virtual operations of the manager.
  virtual void DoClickItem(TdxBarItem* Item);
  virtual bool CanDocking(TdxBar* Bar, TdxBarDockingStyle Style, TWinControl* DockControl);
  // The painter class of the effective painter style.
  virtual TClass GetPainterClass() const;

  // Overrides of the component.
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;
  void SetName(const String& NewName) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;
  TComponent* GetChildOwner() override;

  // --- Style, painter and look-and-feel.
  TdxBarManagerStyle GetStyle() const { return FStyle; }
  void SetStyle(TdxBarManagerStyle Value);
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value);
  TdxBarManagerStyle GetRealStyle() const;
  bool IsRealStyleNotStandard() const { return GetRealStyle() != bmsStandard; }
  bool GetShowRecentItemsFirst() const { return FMenusShowRecentItemsFirst && IsRealStyleNotStandard(); }
  TdxBarPainter* GetPainter() const { return FPainter.get(); }
  TClass GetCurrentPainterClass() const { return FPainter ? FPainter->ClassType() : nullptr; }
  // Makes another look-and-feel match the manager's painter style.
  void SetupLookAndFeel(TcxLookAndFeel* ALookAndFeel) const;
  // Whether the visual styles that the XP look needs were available at the last
  // re-application of the style.
  bool AreVisualStylesUsed() const { return FVisualStylesAvailable; }
  // Re-reads the visual-styles flag and remakes the painter; the style, look-and-feel and
  // theme changes run it.
  void UpdateStyle();
  bool IsStyleChanging() const { return FStyleChanging; }

  // --- Fonts.
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value);
  // Font with the icon-title height when Scaled (at least 11 pixels), else a copy of Font.
  TFont* GetSecondFont() const { return FSecondFont.get(); }
  // The font of floating bars' captions.
  TFont* GetSmallCaptionFont() const { return FSmallCaptionFont.get(); }
  bool GetUseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);
  bool GetScaled() const { return FScaled; }
  void SetScaled(bool Value);
  // What a settings change with new non-client metrics does: Font becomes the menu font
  // (UseSystemFont), or takes its height (Scaled).
  void SystemFontChanged();
  // Handlers told after the fonts changed.
  TdxBarEventHandlers<void(TObject*)>& FontChangedHandlers() { return FFontChangedHandlers; }

  // --- Flat brushes: 1 to 5 (the colours below), snapped to the screen's colours.
  HBRUSH GetFlatBrush(int Index) const;
  TColor GetFlatBrushColor(int Index) const;
  TColor GetFlatSelectedColor() const { return GetFlatBrushColor(5); }
  // The ToolBar theme's fill colour while visual styles are available; nil otherwise.
  HBRUSH GetThemedToolBarBrush() const { return FThemedToolBarBrush; }
  // Rebuilds the brushes from the current system colours.
  void SysColorChanged();
  // The system colours changed: brushes remade, dock sites and bar windows repainted.
  void SystemColorsChanged();

  // --- Update lock and designer notification.
  void BeginUpdate();
  void EndUpdate(bool Rebuild = true);
  bool IsUpdateLocked() const { return FLockUpdate > 0; }
  void LockDesignerModified(bool Lock, bool Notify = true);
  void DesignerModified();
  int GetDesignerModifiedLockCount() const { return FDesignerModifiedLockCount; }

  // --- State.
  TWinControl* GetParentControl() const;
  // The forms around the owner: the top-level one, the nearest MDI child (else the
  // top-level one) and the nearest one; nil when the owner sits on no form.
  TCustomForm* GetTopLevelForm() const;
  TCustomForm* GetMDIChildOrTopLevelForm() const;
  TCustomForm* GetNearestParentForm() const;
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  // Loaded applies the layout: from resolving the links to the dock sites' last step.
  bool IsLoadingLayout() const { return FApplyingLayout; }
  // Customizing mode, or design time.
  bool IsCustomizing() const { return FIsCustomizing || IsDesigning(); }
  bool IsRestoringRecreatedBars() const { return FRestoringRecreatedBars; }
  // Calls of ReadState so far; resetting a bar needs at least one.
  int GetReadStateCount() const { return FReadStateCount; }
  // The layout as streamed, kept for resetting bars outside the form designer.
  TMemIniFile* GetInitialLayoutStore() const { return FInitialLayout.get(); }

  // --- Layout storage (bars/layout/layoutstorage.cpp). A stored layout is read and checked whole
  // before any bar changes; bad values take their read defaults (bars/layout/layoutformat.h).
  // Items are stored by Name: an item without one is not written, nor are its links. Loading
  // leaves such an item's links where the program put them (after the link they followed),
  // so give every item a name whose place the user may change.
  // Under HKEY_CURRENT_USER at APath ("\" added in front and at the end; empty: nothing).
  void SaveToRegistry(const String& APath);
  void LoadFromRegistry(const String& APath);
  // In the ini file (its other sections stay), or in the ini stream when one is set.
  void SaveToIniFile(const String& AFileName);
  void LoadFromIniFile(const String& AFileName);
  void SaveLayoutToIni(TCustomIniFile* AIniFile, const String& ABase, bool AIsRegistry);
  void LoadLayoutFromIni(TCustomIniFile* AIniFile, const String& ABase, bool AIsRegistry);
  // The base of the manager's section names in ini files: the names of the owner chain from
  // the outermost form down to the manager, each followed by ".".
  String GetIniSectionBase() const;
  // A stream that stands for the ini file (not owned; nil: the file itself).
  TStream* GetIniStream() const { return FIniStream; }
  void SetIniStream(TStream* Value) { FIniStream = Value; }
  // Told after a layout was saved or loaded, with (store, base, registry flag).
  using TdxBarLayoutHandlers = TdxBarEventHandlers<void(TCustomIniFile*, const String&, bool)>;
  TdxBarLayoutHandlers& LayoutSavedHandlers() { return FLayoutSavedHandlers; }
  TdxBarLayoutHandlers& LayoutLoadedHandlers() { return FLayoutLoadedHandlers; }
  // The form is being destroyed: saves where StoreInRegistry and StoreInIniFile say, once.
  // The manager watches its owner for this: told of the owner's going, it saves while the
  // bars and items are all still there.
  void SaveLayoutOnFormDestroy();
  // While a layout loads: whether AItem was added to the program after the layout was saved.
  bool IsNewLayoutItem(const TdxBarItem* AItem) const;
  bool HasNewLayoutItems() const { return !FLayoutNewItems.empty(); }
  // While the initial layout is written: links write their "MostRecentlyUsed" values.
  bool IsSavingInitialLayout() const { return FSavingInitialLayout; }

  // --- What bar windows leave with the manager (bodies in bars/barwindows/barcontrol_manager.cpp).
  // The link last selected or pressed on a bar window outside customizing; nil once gone.
  TdxBarItemLink* GetClickedItemLink() const;
  void SetClickedItemLink(TdxBarItemLink* Value);
  // The toolbar window active by key or menu now; each one activated keeps the one before and
  // gives it back when it leaves. Nil once gone.
  TdxBarControl* GetFocusedBarControl() const;
  void SetFocusedBarControl(TdxBarControl* Value);
  // A press on a link while customizing that becomes a drag once the mouse moves far
  // enough: the link and the bar window it was pressed on.
  TdxBarItemLink* GetPendingDragItemLink() const;
  TCustomdxBarControl* GetPendingDragBarControl() const;
  void SetPendingDrag(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl);
  // --- The customizing units' work, through their services (bars/model/customizing.h); each
  // answers as if the unit were absent while it is not installed.
  // Drags AItem (ALink of it; nil: a command of the Customize dialog's list) while
  // customizing; returns when the drag ends.
  void DragAndDrop(TdxBarItem* AItem, TdxBarItemLink* ALink);
  void StartItemLinkDrag(TdxBarItemLink* ALink);
  bool IsDragging() const;
  TdxBarItem* GetDraggingItem() const;
  TdxBarItemLink* GetDraggingItemLink() const;
  // The customizing selection: a link pressed while customizing joins it, and bar windows
  // outline the selected links (0 not selected, 1 selected, 2 the current object).
  void SelectForCustomizing(TdxBarItemLink* ALink);
  TdxBarSelectionState GetCustomizingSelectionState(const TdxBarItemLink* ALink) const;
  // The window of the Customize dialog while it is open (it takes the focus bar windows
  // hand on); nil otherwise.
  HWND GetCustomizingFormHandle() const;
  // --- Customizing mode and the toolbar commands (bars/model/manager_customizing.cpp).
  // Closes the open menus, shows every link (also those hidden outside customizing) or
  // hides them again, shows or hides the Customize dialog and rebuilds every bar window.
  // Switching on while the dialog is open does nothing.
  void SetIsCustomizing(bool Value);
  // Another listed manager has the customizing flag.
  bool IsAnotherManagerCustomizing() const;
  // A new bar "Custom N", docked at the top on a row of its own; nil when the name dialog
  // was cancelled. Without a name dialog the proposed caption is taken.
  TdxBar* NewToolBar(bool AIsMainMenu = false, bool AAskName = true);
  // The name dialog with the bar's caption; the caption changes on OK.
  void RenameToolBar(TdxBar* ABar);
  void ResetToolBar(TdxBar* ABar);
  // Asks whether to forget the record of used commands; on Yes, ResetUsageData.
  void ResetUsageDataWithConfirmation();
  // The links' use counts, recent order and most-recently-used marks as the form data had them.
  void ResetUsageData();
  // AllowReset, and the manager was read from form data.
  bool CanReset() const { return FAllowReset && FReadStateCount > 0; }
  // Takes apart the merges into this manager's bars (of AManager's bars only when given);
  // with AStoreState they are remembered for RestoreMergedBars and nothing changes its
  // visibility meanwhile.
  void UnmergeAllBars(TdxBarManager* AManager, bool AStoreState);
  void RestoreMergedBars();
  // Moves an item within the item list (the order the Customize dialog lists them in).
  void MoveItem(int AFrom, int ATo);
  // The bars whose windows were destroyed from outside with their dock site: the list is
  // made when a dock site's window goes, a bar joins it as its window goes, and the bars of
  // ADockControl (nil: of every site that has a window again, and floating ones) show again.
  void BeginRecreateBars();
  void AddRecreatingBar(TdxBar* ABar);
  void ShowRecreatingBars(TWinControl* ADockControl);
  bool IsRecreatingBar(const TdxBar* ABar) const;
  // While a modal window runs: the enabled floating bar windows are disabled, and enabled
  // again afterwards (those that still exist).
  void DisableFloatingBars();
  void EnableFloatingBars();
  // One bar window at a time is told when the mouse leaves its visible part; the one tracked
  // before hears that it was left.
  void BeginMouseTracking(TCustomdxBarControl* ABarControl);
  void EndMouseTracking(TCustomdxBarControl* ABarControl);
  bool IsMouseTrackingBarControl(const TCustomdxBarControl* ABarControl) const;
  // The form designer's selection while the form is designed; without a designer nothing
  // is selected and selecting does nothing.
  void SetDesignerHook(IdxBarDesignerHook* Value) { FDesignerHook = Value; }
  void DesignerGetSelection(TList* AList) const;
  void DesignerSelectComponent(TComponent* AComponent, int AMode);
  // The form designer says its selection changed: an open Customize dialog follows it.
  void DesignerSelectionChanged();
  // The components of the designer's selection that the design controller holds selected.
  void GetSelectedComponents(TList* AList) const;
  // False only for an owner designed inline (a frame inside another form being designed).
  bool IsOwnerNotInlineDesigned() const;
  // Whether a component of this manager may be deleted: always in a running program; in a
  // form designer not when the form inherits it, since only its ancestor form can.
  bool CanDeleteComponent(const TComponent* AComponent) const;
  // Closes the active bar window of this manager with the menus around it.
  void HideActiveBarControl() { CloseActiveBarControl(); }

  // --- Hints (bars/model/manager_hints.cpp). Shows the hint of AControl (AText, else the
  // control's own) after the hint pause, or hides the hint; nothing while customizing or
  // without ShowHint.
  void ActivateHint(bool AShow, const String& AText, TdxBarItemControl* AControl);
  void HideHint();
  // A caption button became hot (its hint shows after the pause) or left that state (its
  // hint, if it is the one shown or waiting, hides).
  void ActivateCaptionButtonHint(bool AShow, TdxBarCaptionButton* AButton);

  // --- The form's activation (bars/model/manager_activation.cpp).
  // What the form's activation, the application's, the form's showing, hiding and
  // minimising and work-area changes do; the call-window hook routes these messages here.
  void HandleFormActivationMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  bool GetFormActive() const { return FFormActive; }
  // Stores the form's activation and shows or hides the floating bars by the rule;
  // AOtherWindow takes (or gives) the activation when known.
  void SetFormActive(bool AActive, HWND AOtherWindow = nullptr);
  // Moves every floating bar into the work area of the monitor at the form's centre.
  void KeepFloatingBarsOnWorkArea();
  // Closes the active bar window (open menus, a toolbar in menu mode) when it is this manager's.
  void CloseActiveBarControl();
  // Closes that and every other menu window of this manager (the form closes or hides).
  void CloseMenus();
  // Puts the shown floating bars back on top of their form where no other window lies above
  // it, now and once more after the current messages: the form shown, activated or raised, the
  // focus moved into a window of the form or a bar's editor, or a drag ended.
  void KeepFloatingBarsAboveForm();
  // The raising itself, at once.
  void RaiseFloatingBarsAboveForm();

  // --- MDI merging (bars/model/manager_mdi.cpp).
  // The active MDI child may have changed (the call-window hook saw a child activated or
  // destroyed): the main form's manager reads it and its maximised state again and merges or
  // unmerges the children's main-menu bars.
  void ActiveMDIChildMayHaveChanged();
  // Told, after the merging, of each child that was activated, deactivated or maximised or
  // restored (Sender, the action and the child's window).
  TdxBarEventHandlers<void(TObject*, TdxBarMDIChildAction, HWND)>& MDIChildChangedHandlers()
  {
    return FMDIChildChangedHandlers;
  }
  // Asked before a mouse selection opens a sub-item's menu.
  virtual bool CanShowDropDown(TdxBarItemControl* AControl) { return true; }

  // --- Messages of the form the call-window hook routes here (bars/model/manager_formmessages.cpp).
  // The settings and colour rows are the manager's own; form activation and MDI merging
  // join them.
  virtual void HandleFormMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  // The main form moved while this manager customizes: the Customize dialog follows it.
  virtual void CustomizingFormFollowsForm();

  // --- Bars (bodies in bars/model/bars.cpp).
  TdxBars* GetBars() const { return FBars; }
  // The main-menu bar, reported only while it shows a window.
  TdxBar* GetMainMenuBar() const;
  void SetMainMenuBar(TdxBar* Value);
  // A unique bar caption: Prefix and the lowest number no bar's caption equals.
  String GetUniqueBarCaption(const String& Prefix) const;
  TdxBar* FindBarByCaption(const String& Caption) const;
  TdxBar* BarByName(const String& AName) const;
  // Bars hidden for the time being (inactive form); a bar shown or hidden leaves the list.
  void AddTemporaryHiddenBar(TdxBar* ABar);
  void RemoveTemporaryHiddenBar(TdxBar* ABar);
  bool IsTemporaryHiddenBar(const TdxBar* ABar) const;
  // A bar tells the manager it goes.
  void BarDestroying(TdxBar* ABar);
  // Whether the bars are being dragged with the mouse.
  bool IsDraggingBars() const;

  // --- Dock controls.
  void AddDockControl(TWinControl* ADockControl);
  void RemoveDockControl(TWinControl* ADockControl);
  int GetDockControlCount() const { return FDockControls.Count(); }
  TWinControl* GetDockControl(int Index) const;
  // The manager's own dock site of a side (nil until one is made).
  TWinControl* GetDockControlOfSide(TdxBarDockingStyle Side) const;
  void SetDockControlOfSide(TdxBarDockingStyle Side, TWinControl* Value);
  // Width of the left and right dock sites, height of the top and bottom ones; what the
  // form data said while the site does not exist yet.
  int GetDockControlSize(TdxBarDockingStyle Side) const;
  void SetDockControlSize(TdxBarDockingStyle Side, int Value);

  // --- Naming.
  // The class name without its first letter and the lowest number free among the names
  // of the owner's components (compared case-insensitively).
  String GetUniqueItemName(TClass ItemClass) const;

  // --- Categories, the item register and the group register (bars/model/categories.cpp).
  // Categories: assignment copies the names (and another manager's category data).
  TStrings* GetCategories() const;
  void SetCategories(TStrings* Value);
  TdxBarManagerCategories* GetCategoryList() const { return FCategories.get(); }
  // ivAlways for a category without data, ivNever out of range.
  TdxBarItemVisible GetCategoryItemsVisible(int Index) const;
  // Sets the category's value and, for each of its items whose Visible equals the old
  // value, the item's Visible; while loading only remembers it for Loaded.
  void SetCategoryItemsVisible(int Index, TdxBarItemVisible Value);
  // True for a category without data, False out of range.
  bool GetCategoryVisible(int Index) const;
  void SetCategoryVisible(int Index, bool Value);
  // The index of the N-th category the Customize dialog lists (every one at design time);
  // -1 when there is none.
  int GetCategoryRealIndex(int N) const;
  // Fills List with the items of a category that the Customize dialog shows.
  void GetVisibleItemsByCategory(int Index, TList* List) const;
  // Every item of the manager, in register order; nil out of range.
  TdxBarComponentList* GetItemList() const { return FItems.get(); }
  int GetItemCount() const;
  TdxBarComponent* GetItem(int Index) const;
  // The groups of the manager, in their streaming order; nil out of range.
  TdxBarComponentList* GetGroupList() const { return FGroups.get(); }
  int GetGroupCount() const;
  TdxBarGroup* GetGroup(int Index) const;
  // A new group owned by the manager's owner and registered with the manager.
  TdxBarGroup* AddGroup();

  // --- Image options, backgrounds and popup-menu links (bars/model/imageoptions.cpp,
  // bars/model/backgrounds.cpp, bars/model/popupmenulinks.cpp).
  TdxBarImageOptions* GetImageOptions() const { return FImageOptions.get(); }
  void SetImageOptions(TdxBarImageOptions* Value);
  TdxBarBackgrounds* GetBackgrounds() const { return FBackgrounds.get(); }
  void SetBackgrounds(TdxBarBackgrounds* Value);
  TdxBarPopupMenuLinks* GetPopupMenuLinks() const { return FPopupMenuLinks.get(); }
  void SetPopupMenuLinks(TdxBarPopupMenuLinks* Value);
  // The popup menus that use this manager (bars/menus/popupmenu.cpp keeps it).
  TdxBarComponentList* GetPopupMenuList() const { return FPopupMenus.get(); }
  // The icon size items use (16, 32 or the LargeImages width), and whether large icons
  // are drawn from LargeImages.
  int GetIconSize() const;
  bool AreLargeImagesUsed() const;
  // The image options' values, also published on the manager itself (not stored).
  TCustomImageList* GetDisabledImages() const;
  void SetDisabledImages(TCustomImageList* Value);
  TCustomImageList* GetDisabledLargeImages() const;
  void SetDisabledLargeImages(TCustomImageList* Value);
  TCustomImageList* GetHotImages() const;
  void SetHotImages(TCustomImageList* Value);
  TCustomImageList* GetImages() const;
  void SetImages(TCustomImageList* Value);
  TCustomImageList* GetLargeImages() const;
  void SetLargeImages(TCustomImageList* Value);
  TColor GetImageListBkColor() const;
  void SetImageListBkColor(TColor Value);
  bool GetLargeIcons() const;
  void SetLargeIcons(bool Value);
  bool GetMakeDisabledImagesFaded() const;
  void SetMakeDisabledImagesFaded(bool Value);
  bool GetStretchGlyphs() const;
  void SetStretchGlyphs(bool Value);
  bool GetUseLargeImagesForLargeIcons() const;
  void SetUseLargeImagesForLargeIcons(bool Value);

  // --- Published properties.
  bool GetAllowCallFromAnotherForm() const { return FAllowCallFromAnotherForm; }
  void SetAllowCallFromAnotherForm(bool Value) { FAllowCallFromAnotherForm = Value; }
  bool GetAllowReset() const { return FAllowReset; }
  void SetAllowReset(bool Value) { FAllowReset = Value; }
  bool GetAlwaysMerge() const { return FAlwaysMerge; }
  void SetAlwaysMerge(bool Value) { FAlwaysMerge = Value; }
  bool GetAlwaysSaveText() const { return FAlwaysSaveText; }
  void SetAlwaysSaveText(bool Value) { FAlwaysSaveText = Value; }
  bool GetAutoAlignBars() const { return FAutoAlignBars; }
  void SetAutoAlignBars(bool Value);
  bool GetAutoDockColor() const { return FAutoDockColor; }
  void SetAutoDockColor(bool Value);
  bool GetAutoHideEmptyBars() const { return FAutoHideEmptyBars; }
  void SetAutoHideEmptyBars(bool Value);
  int GetButtonArrowWidth() const { return FButtonArrowWidth; }
  void SetButtonArrowWidth(int Value);
  bool GetCanCustomize() const { return FCanCustomize; }
  void SetCanCustomize(bool Value) { FCanCustomize = Value; }
  // The owner control's colour while AutoDockColor is on.
  TColor GetDockColor() const;
  void SetDockColor(TColor Value);
  bool IsDockColorStored() const { return !FAutoDockColor; }
  bool GetFlatCloseButton() const { return FFlatCloseButton; }
  void SetFlatCloseButton(bool Value);
  TBitmap* GetHelpButtonGlyph() const { return FHelpButtonGlyph.get(); }
  void SetHelpButtonGlyph(TBitmap* Value);
  int32_t GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(int32_t Value) { FHelpContext = Value; }
  bool GetHideFloatingBarsWhenInactive() const { return FHideFloatingBarsWhenInactive; }
  // Applies the floating bars' show rule at once.
  void SetHideFloatingBarsWhenInactive(bool Value);
  const String& GetIniFileName() const { return FIniFileName; }
  void SetIniFileName(const String& Value) { FIniFileName = Value; }
  int GetLargeButtonArrowWidth() const { return FLargeButtonArrowWidth; }
  void SetLargeButtonArrowWidth(int Value);
  TdxBarMenuAnimations GetMenuAnimations() const { return FMenuAnimations; }
  void SetMenuAnimations(TdxBarMenuAnimations Value);
  bool GetMenusShowRecentItemsFirst() const { return FMenusShowRecentItemsFirst; }
  void SetMenusShowRecentItemsFirst(bool Value);
  uint8_t GetMostRecentItemsPercents() const { return FMostRecentItemsPercents; }
  void SetMostRecentItemsPercents(uint8_t Value);
  // Items that must be used before a personalised menu shows them; 0 at 100 percent.
  int GetRecentItemsCount() const { return FRecentItemsCount; }
  TdxBarDockingStyles GetNotDocking() const { return FNotDocking; }
  void SetNotDocking(TdxBarDockingStyles Value);
  const String& GetRegistryPath() const { return FRegistryPath; }
  // A path is kept beginning and ending with "\"; empty stays empty.
  void SetRegistryPath(const String& Value);
  bool GetShowCloseButton() const { return FShowCloseButton; }
  void SetShowCloseButton(bool Value);
  bool GetShowFullMenusAfterDelay() const { return FShowFullMenusAfterDelay; }
  void SetShowFullMenusAfterDelay(bool Value);
  bool GetShowHelpButton() const { return FShowHelpButton; }
  void SetShowHelpButton(bool Value);
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool GetShowHintForDisabledItems() const { return FShowHintForDisabledItems; }
  void SetShowHintForDisabledItems(bool Value) { FShowHintForDisabledItems = Value; }
  bool GetShowShortCutInHint() const { return FShowShortCutInHint; }
  void SetShowShortCutInHint(bool Value);
  bool GetStoreInIniFile() const { return FStoreInIniFile; }
  void SetStoreInIniFile(bool Value) { FStoreInIniFile = Value; }
  bool GetStoreInRegistry() const { return FStoreInRegistry; }
  void SetStoreInRegistry(bool Value) { FStoreInRegistry = Value; }
  bool GetSunkenBorder() const { return FSunkenBorder; }
  void SetSunkenBorder(bool Value);
  bool GetUseF10ForMenu() const { return FUseF10ForMenu; }
  void SetUseF10ForMenu(bool Value) { FUseF10ForMenu = Value; }
  bool GetUseFullReset() const { return FUseFullReset; }
  void SetUseFullReset(bool Value) { FUseFullReset = Value; }
  int GetWaitForDockingTime() const { return FWaitForDockingTime; }
  void SetWaitForDockingTime(int Value);

  // --- Events.
  TdxBarEvent OnBarAdd;
  TdxBarEvent OnBarAfterReset;
  TdxBarEvent OnBarBeforeReset;
  TdxBarEvent OnBarClose;
  TdxBarEvent OnBarDelete;
  TdxBarEvent OnBarDockingStyleChange;
  TdxBarVisibleChangeEvent OnBarVisibleChange;
  TdxBarItemLinkEvent OnItemLinkAdd;
  TdxBarItemLinkEvent OnItemLinkChange;
  TdxBarItemLinkEvent OnItemLinkDelete;
  TdxBarMergeItemLinkEvent OnMergeItemLink;
  TNotifyEvent OnCloseButtonClick;
  TNotifyEvent OnHelpButtonClick;
  TNotifyEvent OnHideCustomizingForm;
  TNotifyEvent OnShowCustomizingForm;
  TdxBarCanDockingEvent OnDocking;
  TdxBarMergeEvent OnMenuMerge;
  TdxBarMergeEvent OnMerge;
  TdxBarShowPopupEvent OnShowCustomizingPopup;
  TdxBarShowPopupEvent OnShowToolbarsPopup;
  TdxBarClickItemEvent OnClickItem;

protected:
  // Tells the form designer that the form changed (the design controller's business).
  virtual void NotifyDesigner();
  // The per-item reactions to the image options over the item register, each run by its
  // handler between BeginUpdate and EndUpdate(true) (bodies in bars/model/items_manager.cpp).
  // Images or DisabledImages changed: items with an image index hear their glyph changed.
  virtual void ItemsGlyphChanged();
  // LargeImages or DisabledLargeImages changed: items with an image index, large glyph.
  virtual void ItemsLargeGlyphChanged();
  // HotImages changed: items with a hot image, hot glyph.
  virtual void ItemsHotGlyphChanged();
  // Rebuilds every bar window of the manager (after a change of the image options or of a
  // value every item control measures with).
  virtual void RebuildAllBars();

private:
  static TComponent* CheckOwner(TComponent* AOwner);
  void Cleanup();

  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues);
  void ThemeChanged(TObject* Sender);
  void FontChanged(TObject* Sender);
  void HelpButtonGlyphChanged(TObject* Sender);
  void CreateImageOptions();
  void ImagesChanged(TObject* Sender);
  void LargeImagesChanged(TObject* Sender);
  void HotImagesChanged(TObject* Sender);
  void ImageOptionsChanged(TObject* Sender);
  void ImageOptionsIconSizeChanged(TObject* Sender);
  // Runs an image-option reaction under the update lock, unless loading or destroying.
  void RunImageOptionsReaction(void (TdxBarManager::*Reaction)());
  void BackgroundsBarChanged(TObject* Sender);
  // Sets Font without the change counting as the developer's.
  void ApplySystemFont();
  void UpdateDerivedFonts();
  void CreateBrushes();
  void DestroyBrushes();
  void UpdateDockControls(bool Recolor);
  void ReadBars(TReader* Reader);
  void ReadDockControlHeights(TReader* Reader);
  void WriteDockControlHeights(TWriter* Writer);
  void CalcRecentItemsCount();
  // Applies the category item visibility read from form data (the end of Loaded).
  void ApplyLoadedCategoryItemsVisible();
  // Applies each item's Visible read from form data (items are still loading then).
  void ApplyLoadedItemsVisible();
  // The items owned by the manager's owner whose names begin with OldPrefix (compared
  // case-insensitively) take NewPrefix instead.
  void RenameItems(const String& OldPrefix, const String& NewPrefix);
  // What the manager tells its bars and bar windows (bars/barwindows/barcontrol_manager.cpp): the
  // style was re-applied, Font changed, the main-menu bar's window is rebuilt.
  void BarControlsStyleChanged();
  void BarsFontChanged();
  void RebuildMainMenuBarControl();
  // Whether ABar shows a link now (a visible link of an available item).
  static bool HasVisibleLinks(const TdxBar* ABar);
  // The category item visibility's rule for bars while AutoHideEmptyBars is on.
  void AutoHideEmptyBars(TdxBarItemVisible Value, const std::vector<TWeakRef<TdxBar>>& WereEmpty);

  // Property values.
  bool FAllowCallFromAnotherForm = false;
  bool FAllowReset = true;
  bool FAlwaysMerge = false;
  bool FAlwaysSaveText = false;
  bool FAutoAlignBars = false;
  bool FAutoDockColor = true;
  bool FAutoHideEmptyBars = false;
  int FButtonArrowWidth = 11;
  bool FCanCustomize = true;
  TColor FDockColor = clBtnFace;
  bool FFlatCloseButton = false;
  int32_t FHelpContext = 0;
  bool FHideFloatingBarsWhenInactive = true;
  String FIniFileName;
  int FLargeButtonArrowWidth = 13;
  TdxBarMenuAnimations FMenuAnimations = maNone;
  bool FIsCustomizing = false;
  bool FMenusShowRecentItemsFirst = true;
  uint8_t FMostRecentItemsPercents = 95;
  int FRecentItemsCount = 20;
  TdxBarDockingStyles FNotDocking;
  String FRegistryPath;
  bool FScaled = true;
  bool FShowCloseButton = false;
  bool FShowFullMenusAfterDelay = true;
  bool FShowHelpButton = false;
  bool FShowHint = true;
  bool FShowHintForDisabledItems = true;
  bool FShowShortCutInHint = false;
  bool FStoreInIniFile = false;
  bool FStoreInRegistry = false;
  TdxBarManagerStyle FStyle = bmsEnhanced;
  bool FSunkenBorder = false;
  bool FUseF10ForMenu = true;
  bool FUseFullReset = false;
  bool FUseSystemFont = false;
  int FWaitForDockingTime = 21;

  // Owned objects.
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TdxBarPainter> FPainter;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TFont> FSecondFont;
  std::unique_ptr<TFont> FSmallCaptionFont;
  std::unique_ptr<TBitmap> FHelpButtonGlyph;
  std::unique_ptr<TdxBarBackgrounds> FBackgrounds;
  std::unique_ptr<TdxBarImageOptions> FImageOptions;
  std::unique_ptr<TdxBarPopupMenuLinks> FPopupMenuLinks;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeNotificator;
  std::unique_ptr<TMemIniFile> FInitialLayout;
  TdxBarEventHandlers<void(TObject*)> FFontChangedHandlers;
  TList FDockControls;
  std::unique_ptr<TdxBarComponentList> FItems;
  std::unique_ptr<TdxBarComponentList> FGroups;
  std::unique_ptr<TdxBarComponentList> FPopupMenus;
  std::unique_ptr<TdxBarManagerCategories> FCategories;
  std::array<TWinControl*, 5> FOwnDockControls{};
  std::array<int, 5> FDockControlSizes{};

  std::array<HBRUSH, 5> FFlatBrushes{};
  std::array<TColor, 5> FFlatColors{};
  HBRUSH FThemedToolBarBrush = nullptr;
  bool FOffice11ColorsUser = false;

  // State.
  bool FRegistered = false;  // in the manager list
  bool FVisualStylesAvailable = false;
  bool FStyleChanging = false;
  bool FSettingFont = false;  // Font is being set by the manager itself
  int FLockUpdate = 0;
  int FDesignerModifiedLockCount = 0;
  bool FDesignerModifiedPending = false;
  bool FNotifyingDesigner = false;
  int FReadStateCount = 0;
  bool FApplyingLayout = false;  // Loaded applies the layout (IsLoadingLayout)
  bool FLoadingLayout = false;   // Loaded's items and bars take their stored state
  bool FRestoringRecreatedBars = false;
  // Customizing mode (bars/model/manager_customizing.cpp).
  void RefreshOtherManagersBarControls();
  void FormWindowCreated();
  void EndCustomizingOnDestroy();
  // Only between a dock site's window going and its bars showing again.
  std::unique_ptr<std::vector<TWeakRef<TdxBar>>> FRecreatingBars;
  std::vector<HWND> FDisabledFloatingBars;
  TWeakRef<TCustomdxBarControl> FMouseTrackingBarControl;
  // The bars whose merges UnmergeAllBars took apart, and whether each was merged away itself.
  struct TdxBarStoredMerge {
    TWeakRef<TdxBar> Bar;
    bool MergedAway = false;
  };
  std::vector<TdxBarStoredMerge> FStoredMerges;
  IdxBarDesignerHook* FDesignerHook = nullptr;
  // Bars (bars/model/bars.cpp).
  TdxBars* FBars = nullptr;
  TWeakRef<TdxBar> FMainMenuBar;
  std::vector<TWeakRef<TdxBar>> FTemporaryHiddenBars;
  void CreateBars();
  void DestroyBars();
  // Loaded's bar steps: resolve the links' item names; apply the pending docking and visibility.
  void LoadedResolveBarLinks();
  void LoadedApplyBars();
  // The form's activation.
  void FormActivated(bool AActive, HWND AOtherWindow);
  void ApplicationActivated(bool AActive);
  std::vector<TWeakRef<TdxBarControl>> GetFloatingBarControls() const;
  // Whether floating bars show now: the form shown and not minimised, and active unless
  // HideFloatingBarsWhenInactive is off or the manager customizes.
  bool CanShowFloatingBars() const;
  void ShowFloatingBars();
  void HideFloatingBars();
  void UpdateFloatingBarsVisibility();
  bool FFormActive = false;
  // MDI merging.
  void HandleMDIChild(HWND AChild, TdxBarMDIChildAction AAction);
  void MergeMDIChildMenu(TdxBarManager* AChildManager);
  // The maximised child's system-menu item leads the main menu; it goes otherwise.
  void UpdateSystemMenuItem(HWND AChild, TdxBarMDIChildAction AAction);
  void UnmergeMDIChildMenu(TdxBarManager* AChildManager);
  HWND FActiveMDIChild = nullptr;
  bool FActiveMDIChildMaximized = false;
  std::vector<TWeakRef<TdxBar>> FMergedMDIChildBars;   // hidden for OnMenuMerge
  std::vector<TWeakRef<TdxBarItem>> FSystemMenuItems;  // owned by the form
  TdxBarEventHandlers<void(TObject*, TdxBarMDIChildAction, HWND)> FMDIChildChangedHandlers;
  bool FFormActiveBeforeAppDeactivation = false;
  bool FSettingFormActive = false;  // guards the floating bars' show and hide against re-entry
  // Bar window state (see GetClickedItemLink).
  TWeakRef<TdxBarItemLink> FClickedItemLink;
  TWeakRef<TdxBarControl> FFocusedBarControl;
  TWeakRef<TdxBarItemLink> FPendingDragItemLink;
  TWeakRef<TCustomdxBarControl> FPendingDragBarControl;
  // Layout storage (bars/layout/layoutstorage.cpp).
  void LoadStoredLayouts();
  TStream* FIniStream = nullptr;
  TdxBarLayoutHandlers FLayoutSavedHandlers;
  TdxBarLayoutHandlers FLayoutLoadedHandlers;
  std::vector<const TdxBarItem*> FLayoutNewItems;
  bool FSavingInitialLayout = false;
  bool FLayoutSavedOnDestroy = false;
};

// The manager's update lock for a scope: bars rebuild once when it ends. Nothing without a
// manager, and nothing at the end when the manager went meanwhile.
using TdxBarManagerUpdate = TUpdateLock<TdxBarManager>;
