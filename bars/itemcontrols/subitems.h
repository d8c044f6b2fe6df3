// Sub-items and container items. A sub-item is a command that opens a menu of its own links:
// a drop-down on a toolbar, a submenu entry in a menu. Container items expand in place into
// several links where a menu shows them (a string list as generated buttons, or copies of
// their own links) and open them in a drop-down on a toolbar. Model (the items) and
// item-control layer (the controls and the container's menu window).
#pragma once

#include <memory>
#include <vector>

#include "bars/itemcontrols/buttons.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/menus/submenu.h"
#include "platform/Strings.h"

class TdxBar;
class TdxBarSubItemControl;

class TCustomdxBarSubItem : public TdxBarItem,
                            public IdxBarLinksOwner,
                            public IdxBarSubMenuDetaching,
                            public IdxBarSubMenuOwner {
  DECLARE_CLASS(TCustomdxBarSubItem, TdxBarItem)
public:
  explicit TCustomdxBarSubItem(TComponent* AOwner);
  ~TCustomdxBarSubItem() override;
  void BeforeDestruction() override;
  void Loaded() override;

  // --- Item overrides.
  TdxBarItemLinks* GetItemLinks() const override { return FItemLinks.get(); }
  bool IsClickable() const override { return false; }
  void BarManagerChanged() override;
  void BarNotification(int Kind) override;
  bool DoesHintFollowCaption() const override { return false; }
  void RestoreLinks(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry) override;
  void LoadLinks(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry) override;
  void LoadLinkUsage(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry) override;
  void SaveLinks(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry) override;
  // The layout section of the links; empty for an unnamed sub-item, which keeps none (two
  // unnamed ones would share one section).
  String GetLinksSection(const String& ABase) const;

  // Whether the target links may take this sub-item: False with "You cannot create recursive
  // menus" when they are its own links or its links reach them.
  bool CheckRecursiveMenus(TdxBarItemLinks* ATarget, String& AMessage) const;

  // --- Links owner.
  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override;
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override;
  TdxBarItemLink* GetParentRecentLink() override { return GetSelectedLink(); }
  TdxBarItemLinks* GetOwnedItemLinks() override { return FItemLinks.get(); }

  // --- Tear-off and side strip of the menu window.
  TdxBar* GetDetachingBar() override;
  void DoDetaching() override;
  int GetSideStripWidth(TdxBarSubMenuControl* AMenu) override;
  void DrawSideStrip(TdxBarSubMenuControl* AMenu, TcxCanvas* ACanvas, const TRect& R) override;

  // --- Events, fired by the control.
  virtual void DoPopup();
  virtual void DoCloseUp();

  // --- Properties.
  int GetBarSize() const { return FBarSize; }
  // Negative becomes 0.
  void SetBarSize(int Value);
  bool GetDetachable() const { return FDetachable; }
  void SetDetachable(bool Value) { FDetachable = Value; }
  // The index of the manager's bar a torn-off menu becomes; -1 for none. An index without a
  // bar gives -1; freeing that bar resets it.
  int GetDetachingBarIndex() const;
  void SetDetachingBarIndex(int Value);
  bool GetInternalLinks() const { return FInternalLinks; }
  // Changes of the own links then no longer reach the manager's designer.
  void SetInternalLinks(bool Value);
  void SetItemLinks(TdxBarItemLinks* Value) { FItemLinks->Assign(Value); }
  TdxBarItemOptions* GetItemOptions() const { return FItemLinks->GetItemOptions(); }
  void SetItemOptions(TdxBarItemOptions* Value) { FItemLinks->SetItemOptions(Value); }
  bool GetAllowCustomizing() const { return FAllowCustomizing; }
  void SetAllowCustomizing(bool Value) { FAllowCustomizing = Value; }

  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDetaching;
  TdxBarPaintSubMenuBarEvent OnPaintBar;
  TNotifyEvent OnPopup;

protected:
  void MakeItemLinks();

private:
  void ListenTo(TdxBar* ABar);

  std::unique_ptr<TdxBarSubMenuControlItemLinks> FItemLinks;
  int FBarSize = 0;
  bool FDetachable = false;
  TWeakRef<TdxBar> FDetachingBar;
  // The index read from form data, applied once the bars are read.
  int FLoadedDetachingBar = -1;
  bool FInternalLinks = false;
  bool FAllowCustomizing = true;
};

class TdxBarSubItem : public TCustomdxBarSubItem {
  DECLARE_CLASS(TdxBarSubItem, TCustomdxBarSubItem)
public:
  explicit TdxBarSubItem(TComponent* AOwner) : TCustomdxBarSubItem(AOwner) {}
  String GetNewItemCaption() const override;
  bool IsCompatibleWith(TdxBarItem* AItem) const override;
};

// ---------------------------------------------------------------------------
// Container items

class TCustomdxBarContainerItem : public TCustomdxBarSubItem {
  DECLARE_CLASS(TCustomdxBarContainerItem, TCustomdxBarSubItem)
public:
  explicit TCustomdxBarContainerItem(TComponent* AOwner);
  ~TCustomdxBarContainerItem() override;
  void BeforeDestruction() override;

  // Inserts the listed links into ATarget from AIndex on, each carrying AData; with AFill
  // OnGetData runs first. Every link added is remembered for ATarget.
  virtual void AddListedItemLinks(TdxBarItemLinks* ATarget, int AIndex, intptr_t AData, bool AFill);
  // Deletes from ATarget exactly the links the last fill added there, whatever the item's
  // content is now.
  virtual void DeleteListedItemLinks(TdxBarItemLinks* ATarget, int AIndex);
  // Frees what the fills created, when nothing links it any more.
  virtual void ClearListedItems();
  virtual bool IsListedAsGroup() const { return true; }
  // Whether the item's own link stays in a menu above what it lists there.
  virtual bool KeepsOwnLinkWhileListed() const { return false; }
  // The content changed: the places that show it are made again.
  virtual void DataChanged();
  bool CanBeVisible() const override;
  TCustomdxBarControl* CreateBarControl() override;

  // How many links the item holds in ATarget now (0 when it filled nothing there).
  int GetListedLinkCount(TdxBarItemLinks* ATarget) const;
  bool IsFilling() const { return FFilling; }
  bool IsMenuClosed() const { return FMenuClosed; }
  void SetMenuClosed(bool Value) { FMenuClosed = Value; }

  TNotifyEvent OnGetData;

protected:
  // Records a link added to ATarget by the current fill.
  void AddListedLink(TdxBarItemLinks* ATarget, TdxBarItemLink* ALink);
  bool HasListedLinks() const;

private:
  struct TListedFill {
    TWeakRef<TdxBarItemLinks> Target;
    std::vector<TWeakRef<TdxBarItemLink>> Links;
  };
  TListedFill* FindFill(const TdxBarItemLinks* ATarget);
  void DeleteAllListedLinks();

  std::vector<TListedFill> FFills;
  bool FFilling = false;
  bool FMenuClosed = true;
};

// A string list shown as buttons: "&1 ", "&2 " ... "&9 ", "&A " ... "&Z " before the texts
// with ShowNumbers, "-" entries starting groups, the ItemIndex entry checked with ShowCheck.
class TdxBarListItem : public TCustomdxBarContainerItem {
  DECLARE_CLASS(TdxBarListItem, TCustomdxBarContainerItem)
public:
  explicit TdxBarListItem(TComponent* AOwner);
  ~TdxBarListItem() override;

  void AddListedItemLinks(TdxBarItemLinks* ATarget, int AIndex, intptr_t AData, bool AFill) override;
  void ClearListedItems() override;
  bool CanBeVisible() const override;

  virtual String GetItemHint(int AIndex) const { return String(); }
  virtual String GetDisplayText(const String& AText) const { return AText; }
  // The caption of the entry at AIndex, shown as the ANumber-th button (1-based).
  virtual String GetItemCaption(int AIndex, int ANumber) const;
  // The accelerator prefix of the ANumber-th button: "&1 " to "&9 ", then "&A " to "&Z ";
  // empty past that.
  static String NumberPrefix(int ANumber);

  // --- Properties.
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // The position of the ItemIndex entry among the entries that are not "-"; -1 when none.
  int GetDataIndex() const;
  // Selects the Value-th entry that is not "-"; past the last, the last such entry; negative,
  // or a list without such entries, gives -1.
  void SetDataIndex(int Value);
  bool GetShowCheck() const { return FShowCheck; }
  void SetShowCheck(bool Value);
  bool GetShowNumbers() const { return FShowNumbers; }
  void SetShowNumbers(bool Value);
  // The buttons the fills made (not streamed, not named).
  int GetButtonCount() const { return int(FButtons.size()); }
  TdxBarButton* GetButton(int Index) const;

protected:
  static bool IsSeparatorEntry(const String& AText) { return AText == L"-"; }
  // The generated button for the ANumber-th entry (1-based), made when missing.
  TdxBarButton* ButtonFor(int ANumber);
  void ButtonClick(TObject* Sender);
  void FreeButtons();
  void ItemsChanged(TObject* Sender) { DataChanged(); }
  void UpdateCheck();
  static void ApplyCheck(TdxBarButton* AButton, bool AChecked);
  TdxBarButton* NewButton(const TNotifyEvent& AOnClick);

  std::unique_ptr<TStringList> FItems;
  std::vector<TWeakRef<TdxBarButton>> FButtons;

private:
  int FItemIndex = -1;
  bool FShowCheck = false;
  bool FShowNumbers = true;
};

// Shows copies of its own links where it is placed in a menu.
class TdxBarContainerItem : public TCustomdxBarContainerItem {
  DECLARE_CLASS(TdxBarContainerItem, TCustomdxBarContainerItem)
public:
  explicit TdxBarContainerItem(TComponent* AOwner);
  void AddListedItemLinks(TdxBarItemLinks* ATarget, int AIndex, intptr_t AData, bool AFill) override;
  void DeleteListedItemLinks(TdxBarItemLinks* ATarget, int AIndex) override;
  bool CanBeVisible() const override;
  bool IsCompatibleWith(TdxBarItem* AItem) const override;

private:
  void LinksChanged(TObject* Sender) { DataChanged(); }
};

// One entry of the extra pane's list: its text, image and file.
class TdxBarExtraPaneEntry : public TObject {
  DECLARE_CLASS(TdxBarExtraPaneEntry, TObject)
public:
  String Text;
  int ImageIndex = -1;
  String FileName;
};

// The list of the application menu's extra pane: entries with images and files, and one
// extra command (captioned with the item's caption) after them.
class TdxBarExtraPaneListItem : public TdxBarListItem {
  DECLARE_CLASS(TdxBarExtraPaneListItem, TdxBarListItem)
public:
  explicit TdxBarExtraPaneListItem(TComponent* AOwner);
  ~TdxBarExtraPaneListItem() override;

  void AddListedItemLinks(TdxBarItemLinks* ATarget, int AIndex, intptr_t AData, bool AFill) override;
  void ClearListedItems() override;
  bool CanBeVisible() const override;
  String GetItemHint(int AIndex) const override;
  String GetItemCaption(int AIndex, int ANumber) const override;
  // Adds an entry (the list owns its object).
  int AddEntry(const String& AText, int AImageIndex, const String& AFileName);
  // The entry object at AIndex; nil for a plain string.
  TdxBarExtraPaneEntry* GetEntry(int AIndex) const;
  // The text an entry shows: its own, the event's, or its file name without the path.
  String GetEntryDisplayText(int AIndex) const;
  TdxBarButton* GetExtraCommandButton() const { return FExtraButton.Get(); }

  // Asked for an entry's text when the entry has none of its own.
  TEvent<void(TObject* Sender, int AIndex, String& AText)> OnGetEntryText;
  TNotifyEvent OnExtraCommandClick;

private:
  void ExtraCommandClick(TObject* Sender);
  TWeakRef<TdxBarButton> FExtraButton;
};

// ---------------------------------------------------------------------------
// Controls

class TdxBarSubItemControl : public TdxBarButtonLikeControl {
  DECLARE_CLASS(TdxBarSubItemControl, TdxBarButtonLikeControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarSubItemControl(TdxBarItemLink* AItemLink);
  ~TdxBarSubItemControl() override;

  TdxBarAccessibilityHelperClass GetAccessibilityHelperClass() const override;
  TCustomdxBarSubItem* GetSubItem() const;

  bool CanClick() const override { return false; }
  bool CloseMenusOnClick() const override { return false; }
  bool IsDropDown() const override { return true; }
  bool WantsDoubleClick() const override { return true; }
  bool WantsKey(uint16_t Key) const override;
  bool KeyDown(uint16_t Key) override;
  TdxBarItemViewLevels GetPossibleViewLevels() const override;
  int GetDefaultViewParts() const override;
  bool IsDroppedDown() const override;
  TCustomdxBarControl* GetSubMenuControl() const override;
  TObject* GetDropDownControl() const override { return GetSubMenuControl(); }
  bool IsSelected() const override;
  void ActivateByKey() override;
  // Presses open the menu, or close it when it is open.
  void MouseDown(const TPoint& P) override;
  // A sub-item runs no command of its own on a click.
  void Click() override {}
  void CalcDrawParams(bool AFull = true) override;
  void Draw(const TRect& R, bool AFlag) override;
  int GetCaptionWidth() override;

  // Opens: OnPopup, the item's click, then the menu window beside or below the control.
  void DoDropDown(bool AByMouse) override;
  // Closes the menu window it opened, then OnCloseUp.
  void DoCloseUp() override;
  // Where the menu opens (screen) and the owner's width (beside) or height (below) it jumps.
  void GetSubMenuPosition(TPoint& P, int& DX, int& DY) const;

protected:
  // The links the menu shows and, for a container on a toolbar, fills them.
  virtual TdxBarItemLinks* PrepareMenuLinks();
  virtual void ReleaseMenuLinks(TdxBarItemLinks* ALinks) {}

private:
  bool FDroppedDown = false;
};

class TdxBarContainerItemControl : public TdxBarSubItemControl {
  DECLARE_CLASS(TdxBarContainerItemControl, TdxBarSubItemControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarContainerItemControl(TdxBarItemLink* AItemLink) : TdxBarSubItemControl(AItemLink) {}
  TCustomdxBarContainerItem* GetContainerItem() const;
  bool WantsDoubleClick() const override;
  bool IsSelected() const override;
  const String& GetCaption() const override;

protected:
  TdxBarItemLinks* PrepareMenuLinks() override;
  void ReleaseMenuLinks(TdxBarItemLinks* ALinks) override;

private:
  mutable String FGroupCaption;  // the caption as GetCaption last bracketed it
};

// The menu a container opens on a toolbar: its listed links go when it closes, and the
// container learns that its menu closed when it goes.
class TContainerItemSubMenuControl : public TdxBarSubMenuControl {
  DECLARE_CLASS(TContainerItemSubMenuControl, TdxBarSubMenuControl)
public:
  explicit TContainerItemSubMenuControl(TComponent* AOwner) : TdxBarSubMenuControl(AOwner) {}
  ~TContainerItemSubMenuControl() override;
  TCustomdxBarContainerItem* GetContainerItem() const { return FContainerItem.Get(); }
  void SetContainerItem(TCustomdxBarContainerItem* Value) { FContainerItem = Value; }

protected:
  void DoCloseUp() override;

private:
  TWeakRef<TCustomdxBarContainerItem> FContainerItem;
};

// ---------------------------------------------------------------------------
// The system menu of a maximised MDI child on the main form's main menu

// Stands for a window's system menu: its entries become buttons and sub-items each time the
// menu opens (a click sends the entry's command to the window).
class TSystemMenuSubItem : public TCustomdxBarSubItem {
  DECLARE_CLASS(TSystemMenuSubItem, TCustomdxBarSubItem)
public:
  explicit TSystemMenuSubItem(TComponent* AOwner) : TCustomdxBarSubItem(AOwner) {}
  ~TSystemMenuSubItem() override;
  HWND GetWindow() const { return FWindow; }
  void SetWindow(HWND Value) { FWindow = Value; }
  void DoPopup() override;
  // Sends the system menu's default command to the window.
  void ExecuteDefaultCommand();
  // The items made from the menu's entries, freed with this item or the next build.
  int GetBuiltItemCount() const { return int(FBuiltItems.size()); }

private:
  void FreeBuiltItems();
  void BuildItems(HMENU AMenu, TdxBarItemLinks* ALinks);
  void EntryClick(TObject* Sender);

  HWND FWindow = nullptr;
  std::vector<TWeakRef<TdxBarItem>> FBuiltItems;
};

// The window's small icon, the small-icon size; a double click runs the default command.
class TSystemMenuSubItemControl : public TdxBarSubItemControl {
  DECLARE_CLASS(TSystemMenuSubItemControl, TdxBarSubItemControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TSystemMenuSubItemControl(TdxBarItemLink* AItemLink) : TdxBarSubItemControl(AItemLink) {}
  bool IsSelected() const override;
  int GetWidth() override { return GetSystemMetrics(SM_CXSMICON); }
  int GetHeight() override { return GetSystemMetrics(SM_CYSMICON); }
  int GetDefaultViewParts() const override { return ivpGlyph; }
  void Draw(const TRect& R, bool AFlag) override;
  void DoubleClick() override;
};
