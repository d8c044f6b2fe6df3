// Item links and their collections: where and how an item appears on a bar or in a menu,
// the derived lists a bar window lays out, the recent-use order of personalised menus,
// accelerator search, keyboard navigation, merging and the menu item options. Model layer.
#pragma once

#include <memory>
#include <set>
#include <vector>

#include "bars/model/itemtypes.h"
#include "bars/layout/layoutformat.h"
#include "platform/Collection.h"
#include "platform/Menus.h"
#include "platform/Types.h"

class TBitmap;
class TCustomdxBarControl;
class TdxBar;
class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarManager;

// What owns a link collection: a bar, a sub-item, a popup menu or a bar window. The
// collection asks its owner for the window that shows the links and whether an item may be
// linked; the rest has answers that fit an owner without a window.
class IdxBarLinksOwner {
public:
  virtual ~IdxBarLinksOwner() = default;
  // The owner as an object (its component states are read from it when it is a component).
  virtual TObject* GetInstance() = 0;
  // Makes the window that shows the links; nil when this owner shows none.
  virtual TCustomdxBarControl* CreateBarControl() = 0;
  // Whether AItem may be linked here; on refusal AErrorText says why.
  virtual bool CanAddItem(TdxBarItem* AItem, String& AErrorText) = 0;
  // The link a use of these links also counts for: a sub-item's selected link, or the link
  // a popup menu's window was opened from. Nil when there is none.
  virtual TdxBarItemLink* GetParentRecentLink() { return nullptr; }
  // Whether every shown link always fits the window (false for a toolbar that cuts links).
  virtual bool AllItemsFit() const { return true; }
  // True when the owner told its own designer of a change (popup menus do); otherwise the
  // manager's designer is told.
  virtual bool NotifyOwnDesigner() { return false; }
  // The link collection the owner owns; nil for an owner that keeps none.
  virtual TdxBarItemLinks* GetOwnedItemLinks() { return nullptr; }
};

// The bar whose links a merge is copying (links take it as their merged-from bar) and the
// flag set while bars are reset; both are set by the bar merging and reset code.
TdxBar* dxBarGetMergingBar();
void dxBarSetMergingBar(TdxBar* ABar);
bool dxBarIsResetting();
void dxBarSetResetting(bool AValue);
// The item of a manager's register with the given name (compared case-insensitively); nil
// when there is none.
TdxBarItem* dxBarFindManagerItem(TdxBarManager* AManager, const String& AName);

// The key that types a character on the keyboard layout, as VkKeyScanA answers (the key in
// the low byte; 0x100 Shift, 0x200 Ctrl, 0x400 Alt); replaceable so that a test can speak a
// layout the display does not have.
extern int16_t (*dxBarVkKeyScan)(char AChar);

// ---------------------------------------------------------------------------

// One appearance of an item on a toolbar or in a menu, with what is particular to that
// place. The link refers to its item without owning it; while its bar window exists and the
// link is shown it owns the item control that draws it. Links are made by their collection
// (Add, Insert, AddItem).
class TdxBarItemLink : public TCollectionItem {
  DECLARE_CLASS(TdxBarItemLink, TCollectionItem)
public:
  explicit TdxBarItemLink(TCollection* ACollection);
  ~TdxBarItemLink() override;
  void BeforeDestruction() override;

  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;
  // Whether "ItemName" is written against AAncestor (a link of an ancestor form or nil).
  bool IsItemNameStored(TPersistent* AAncestor) const;

  // --- Where the link lives.
  TdxBarItemLinks* GetItemLinks() const;
  TdxBarItemLinks* GetLinks() const { return GetItemLinks(); }
  // Moves the link to another collection.
  virtual void SetLinks(TdxBarItemLinks* Value);
  TCustomdxBarControl* GetBarControl() const;
  TdxBarManager* GetBarManager() const;
  TdxBarItemControl* GetControl() const { return FControl; }

  // --- The item. Setting nil frees the link; a refused item raises the owner's text and
  // keeps the old item.
  TdxBarItem* GetItem() const;
  void SetItem(TdxBarItem* Value);
  // The item name read from form data, pending until the collection resolves it.
  const String& GetItemName() const { return FItemName; }
  void SetItemName(const String& Value) { FItemName = Value; }

  // --- Place and appearance.
  bool GetBeginGroup() const;
  bool GetStoredBeginGroup() const { return FBeginGroup; }
  void SetBeginGroup(bool Value);
  TdxBarButtonGroupPosition GetButtonGroup() const { return FButtonGroup; }
  void SetButtonGroup(TdxBarButtonGroupPosition Value);
  TdxBarItemPosition GetPosition() const { return FPosition; }
  void SetPosition(TdxBarItemPosition Value);
  TdxBarItemViewLevels GetViewLevels() const { return FViewLevels; }
  void SetViewLevels(TdxBarItemViewLevels Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  bool GetMostRecentlyUsed() const { return FMostRecentlyUsed; }
  void SetMostRecentlyUsed(bool Value);
  int GetUseCount() const { return FUseCount; }
  void SetUseCount(int Value) { FUseCount = Value; }
  const TRect& GetItemRect() const { return FItemRect; }
  // Stores the rectangle and lets the control recalculate its draw parameters and parts.
  void SetItemRect(const TRect& Value);
  // Whether the control has been laid out at the link's rectangle: a control made again (a
  // menu opened once more) has not, though the link kept its rectangle.
  bool IsControlPlaced() const { return FControl && FControlPlaced; }
  intptr_t GetData() const { return FData; }
  void SetData(intptr_t Value) { FData = Value; }
  // The bar a merge copied this link from; nil for own links.
  TdxBar* GetMergedFromBar() const { return FMergedFromBar; }
  // The link this one stands for (itself when none is set).
  TdxBarItemLink* GetRealItemLink() { return FRealItemLink ? FRealItemLink : this; }
  void SetRealItemLink(TdxBarItemLink* Value) { FRealItemLink = Value; }

  // --- User-defined values.
  const String& GetUserCaption() const { return FUserCaption; }
  void SetUserCaption(const String& Value);
  TdxBarUserDefines GetUserDefine() const { return FUserDefine; }
  void SetUserDefine(TdxBarUserDefines Value);
  TBitmap* GetUserGlyph() const { return FUserGlyph.get(); }
  void SetUserGlyph(TBitmap* Value);
  TdxBarPaintStyle GetUserPaintStyle() const { return FUserPaintStyle; }
  void SetUserPaintStyle(TdxBarPaintStyle Value);
  // The effective width (the UserWidth property reads it).
  int GetUserWidth() const { return GetWidth(); }
  void SetUserWidth(int Value);
  // Only a width of the link's own is written: an edit's width read back before its item is
  // known would become the link's own and stop following the item.
  bool IsUserWidthStored() const { return FUserDefine.Contains(udWidth); }

  // --- Effective values: the user's where UserDefine says so, else the item's.
  const String& GetCaption() const;
  TBitmap* GetGlyph() const;
  TdxBarPaintStyle GetPaintStyle() const;
  int GetWidth() const;

  // --- Queries.
  int GetVisibleIndex() const;
  int GetShownIndex() const;
  bool CanVisible() const;
  bool HasPaintStyle() const;
  // Key is a virtual-key code; Shift as the collection passes it (without ssAlt).
  bool IsAccel(uint16_t Key, TShiftState Shift) const;

  // --- Recent use.
  int GetRecentIndex() const;
  void SetRecentIndex(int Value);
  void SaveRecentIndex();
  void ApplyRecentIndex();
  void BringToTopInRecentList(bool IncUseCount);
  void MoveToRecentBottom();
  int GetLoadedRecentIndex() const { return FLoadedRecentIndex; }
  void SetLoadedRecentIndex(int Value) { FLoadedRecentIndex = Value; }
  int GetLoadedUseCount() const { return FLoadedUseCount; }
  void SetLoadedUseCount(int Value) { FLoadedUseCount = Value; }
  bool GetLoadedVisible() const { return FLoadedVisible; }

  // --- The item control.
  void CreateControl();
  void DestroyControl();
  void RecreateControl();
  // Tells the control, when there is one, to update itself.
  virtual void UpdateControl();
  // A screen point in the link's own coordinates (relative to ItemRect's top-left).
  TPoint ScreenToLinkPoint(const TPoint& P) const;

  // --- Layout storage (bars/layout/layout_bars.cpp).
  void SaveToIni(TCustomIniFile* AIniFile, const String& ABarSection, bool AIsRegistry, int AIndex);
  void LoadFromIni(TCustomIniFile* AIniFile, const String& ABarSection, bool AIsRegistry, int AIndex);
  TdxBarLinkLayout GetLayout(bool AIsRegistry) const;
  // The link's values as stored (the item is set by the collection).
  void ApplyLayout(const TdxBarLinkLayout& ALayout, bool AOnBar);

  // --- Customising.
  // Before the link is removed: passes its group mark on to the next visible link.
  void HandOverBeginGroup();
  // Applies one attribute of ASource to this link (numbers 0 and 4 to 11).
  void ApplyCustomizingCommand(int ACommand, TdxBarItemLink* ASource);

private:
  friend class TdxBarItemLinks;
  // Inside the collection's update: leaves the old item (control destroyed) and joins AItem.
  void ChangeItem(TdxBarItem* AItem);
  void AttachItem(TdxBarItem* AItem);
  void DetachItem();
  void ApplyMostRecentlyUsed();
  void ApplyLoadedVisible() { DoSetVisible(FLoadedVisible); }
  void DoSetVisible(bool Value);
  // Looks the pending item name up in the manager; AFinal drops a name that finds nothing.
  void ResolveItemName(bool AFinal);
  void ReadItemName(TReader* Reader);
  void WriteItemName(TWriter* Writer);
  void UserGlyphChanged(TObject* Sender);
  bool IsManagerLoading() const;
  bool IsManagerDesigning() const;
  // The clean-up of destruction, run once (from BeforeDestruction or the destructor).
  void Dispose();

  bool FBeginGroup = false;
  TdxBarButtonGroupPosition FButtonGroup = bgpNone;
  TdxBarItemControl* FControl = nullptr;
  TdxBar* FMergedFromBar = nullptr;
  intptr_t FData = 0;
  TdxBarItem* FItem = nullptr;
  TRect FItemRect{0, 0, 0, 0};
  bool FControlPlaced = false;
  String FItemName;
  int FLoadedRecentIndex = -1;
  int FLoadedUseCount = 0;
  bool FLoadedVisible = true;
  bool FMostRecentlyUsed = true;
  TdxBarItemLink* FRealItemLink = nullptr;
  TdxBarItemPosition FPosition = ipBeginsNewRow;
  int FSavedRecentIndex = 0;
  int FUseCount = 0;
  String FUserCaption;
  TdxBarUserDefines FUserDefine;
  std::unique_ptr<TBitmap> FUserGlyph;
  TdxBarPaintStyle FUserPaintStyle = psStandard;
  int FUserWidth = 0;
  TdxBarItemViewLevels FViewLevels = dxBarAllItemViewLevels;
  bool FVisible = true;
  bool FDisposed = false;
  // The place in the shown list, valid while FShownStamp matches the collection's.
  mutable int FShownIndex = -1;
  mutable uint64_t FShownStamp = 0;
};

// ---------------------------------------------------------------------------

// The menu item options of a link collection: each value is the collection's default until
// it is set; only set values are stored.
class TdxBarItemOptions : public TPersistent {
  DECLARE_CLASS(TdxBarItemOptions, TPersistent)
public:
  explicit TdxBarItemOptions(TdxBarItemLinks* AOwner);
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() const override;

  TdxBarItemOptionValues GetAssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TdxBarItemOptionValues Value) { FAssignedValues = Value; }
  bool GetShowDescriptions() const;
  void SetShowDescriptions(bool Value);
  bool GetShowShortCuts() const;
  void SetShowShortCuts(bool Value);
  TdxBarMenuItemSize GetSize() const;
  void SetSize(TdxBarMenuItemSize Value);
  // The value of one option as an integer (Booleans 0 and 1): stored when assigned, else
  // the owner's default.
  int GetValue(TdxBarItemOptionValue AOption) const;

private:
  bool IsShowDescriptionsStored() const { return FAssignedValues.Contains(ioShowDescriptions); }
  bool IsShowShortCutsStored() const { return FAssignedValues.Contains(ioShowShortCuts); }
  bool IsSizeStored() const { return FAssignedValues.Contains(ioSize); }
  int DefaultValue(TdxBarItemOptionValue AOption) const;

  TdxBarItemLinks* FOwner;
  TdxBarItemOptionValues FAssignedValues;
  bool FShowDescriptions = false;
  bool FShowShortCuts = true;
  TdxBarMenuItemSize FSize = misNormal;
};

// ---------------------------------------------------------------------------

// The ordered links of one owner, with the derived lists bar windows use: available links
// (item available), visible links (also Visible, or every available one at design time)
// and shown links (what a personalised menu shows now), and the recent-use order.
class TdxBarItemLinks : public TCollection {
  DECLARE_CLASS(TdxBarItemLinks, TCollection)
public:
  using TLinkList = std::vector<TdxBarItemLink*>;

  TdxBarItemLinks(TdxBarManager* ABarManager, IdxBarLinksOwner* AOwner);
  ~TdxBarItemLinks() override;

  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() const override;

  // --- Typed access.
  TdxBarItemLink* Items(int Index) const { return static_cast<TdxBarItemLink*>(TCollection::Items(Index)); }
  int AvailableItemCount() const { return int(GetAvailableItems().size()); }
  TdxBarItemLink* AvailableItems(int Index) const { return At(GetAvailableItems(), Index); }
  int VisibleItemCount() const { return int(GetVisibleItems().size()); }
  TdxBarItemLink* VisibleItems(int Index) const { return At(GetVisibleItems(), Index); }
  int ShownItemCount() const { return int(GetShownItems().size()); }
  TdxBarItemLink* ShownItems(int Index) const { return At(GetShownItems(), Index); }
  const TLinkList& GetAvailableItems() const { return (UpdateLists(), FAvailableItems); }
  const TLinkList& GetVisibleItems() const { return (UpdateLists(), FVisibleItems); }
  const TLinkList& GetShownItems() const { return (UpdateLists(), FShownItems); }
  // Changes with every change of the shown list, unique across collections.
  uint64_t GetShownStamp() const { return (UpdateLists(), FShownStamp); }
  // Every link, most recently used first.
  const TLinkList& GetRecentItems() const { return FRecentItems; }

  // --- Adding and finding.
  TdxBarItemLink* Add() { return static_cast<TdxBarItemLink*>(TCollection::Add()); }
  TdxBarItemLink* Insert(int Index) { return static_cast<TdxBarItemLink*>(TCollection::Insert(Index)); }
  TdxBarItemLink* AddItem(TdxBarItem* AItem);
  // A link to a new item of AItemClass owned by AOwner (the manager's owner when nil).
  TdxBarItemLink* AddNewItem(TClass AItemClass, TComponent* AOwner = nullptr);
  int IndexOf(const TdxBarItemLink* ALink) const;
  int IndexOfItemName(const String& AName) const;
  void MoveLink(int OldIndex, int NewIndex);
  bool HasControl(const TdxBarItemControl* AControl) const;

  // --- Owner, manager and window.
  IdxBarLinksOwner* GetOwnerIntf() const { return FOwner; }
  TObject* GetLinksOwner() const;
  TdxBarManager* GetBarManager() const;
  // For an owner that moves to another manager (a popup menu); an open window stays as it is.
  void SetBarManager(TdxBarManager* Value);
  TCustomdxBarControl* GetBarControl() const;
  void CreateBarControl();
  void DestroyBarControl();
  // A window that shows these links beside its own (it neither owns them nor takes them as
  // its links); nil detaches them.
  void SetShowingBarControl(TCustomdxBarControl* AControl);
  virtual bool AllItemsFit() const;

  // --- Options.
  TdxBarItemOptions* GetItemOptions() const { return FItemOptions.get(); }
  void SetItemOptions(TdxBarItemOptions* Value) { FItemOptions->Assign(Value); }
  virtual int GetOptionDefaultValue(TdxBarItemOptionValue AOption) const;
  virtual int GetOptionValue(TdxBarItemOptionValue AOption) const;
  bool GetShowDescriptions() const { return GetOptionValue(ioShowDescriptions) != 0; }
  bool GetShowShortCuts() const { return GetOptionValue(ioShowShortCuts) != 0; }
  TdxBarMenuItemSize GetMenuItemSize() const { return TdxBarMenuItemSize(GetOptionValue(ioSize)); }

  // Internal links (a sub-item's built by a design editor): their changes do not reach the
  // manager's designer.
  bool GetNoDesignerNotify() const { return FNoDesignerNotify; }
  void SetNoDesignerNotify(bool Value) { FNoDesignerNotify = Value; }

  // --- Linking rules.
  virtual bool CanAddItem(TdxBarItem* AItem, String& AErrorText);
  // Whether AOwner owns these links or links reached through their items' own links.
  bool ContainsOwner(const IdxBarLinksOwner* AOwner) const;
  // Whether AItem's own links (a sub-item's) reach this collection's owner.
  bool IsRecursiveItem(TdxBarItem* AItem) const;
  bool IsShortCut(TShortCut AShortCut);
  void UpdateActions();
  void EmptyItemRects();

  // --- Keyboard.
  TdxBarItemLink* FindAccelLink(uint16_t Key, TShiftState Shift, TdxBarItemLink* StartLink);
  int GetFittingItemCount() const;
  TdxBarItemLink* GetFirstSelectableLink() const;
  TdxBarItemLink* GetLastSelectableLink() const;
  TdxBarItemLink* GetNextSelectableLink(TdxBarItemLink* ALink, bool AnyLink = false) const;
  TdxBarItemLink* GetPrevSelectableLink(TdxBarItemLink* ALink, bool AnyLink = false) const;

  // --- Personalised menus.
  bool GetUseRecentItems() const { return FUseRecentItems; }
  void SetUseRecentItems(bool Value) { FUseRecentItems = Value; }
  int GetRecentItemCount() const { return FRecentItemCount; }
  bool CanUseRecentItems() const;
  int CalcRecentItemCount() const;
  void SetRecentItemCount(int Value);
  void RestoreRecentItemCount();
  // Rebuilds the available, visible and shown lists; while the links are update-locked it
  // only marks them, and they are rebuilt when next read or when the update ends.
  void RebuildLists();

  // --- Loading.
  // After loading: resolves the links' item names, then applies their loaded state.
  void Loaded();
  void ResolveItemNames();
  void ApplyLoadedState(bool AApplyVisibility);
  // After reading usage values only: visible links move to the front of the recent order.
  void PackVisibleRecentItems();

  // --- Merging.
  void MergeLinks(TdxBarItemLinks* ASource);
  // Frees the links merged from ABar (every merged link when nil), also inside sub-items.
  void UnmergeLinks(TdxBar* ABar);

  // --- Layout storage (bars/layout/layout_bars.cpp): the links in ASection and the link sections
  // below it. Loading drops links whose item is unknown and keeps the links of items added
  // since the layout was saved, each after the link it followed.
  void SaveToIni(TCustomIniFile* AIniFile, const String& ASection, bool AIsRegistry);
  void LoadFromIni(TCustomIniFile* AIniFile, const String& ASection, bool AIsRegistry);
  void ApplyLayout(const TdxBarLinksLayout& ALayout);
  // Only the usage values of the links in ASection: use counts, recent order and marks.
  void LoadUsageFromIni(TCustomIniFile* AIniFile, const String& ASection, bool AIsRegistry);
  TdxBarLinksLayout GetLayout(bool AIsRegistry) const;
  // Whether the links keep their recent-use values in a stored layout.
  bool StoresUsage() const;

  TNotifyEvent OnChange;

protected:
  void Update(TCollectionItem* Item) override;
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;
  // The accelerator search of the collection's kind (ssAlt already removed from Shift).
  virtual TdxBarItemLink* DoFindAccelLink(uint16_t Key, TShiftState Shift, TdxBarItemLink* StartLink);
  bool IsOwnerLoading() const;
  bool IsOwnerDestroying() const;
  bool IsSelectable(const TdxBarItemLink* ALink) const;

private:
  friend class TdxBarItemLink;
  static TdxBarItemLink* At(const TLinkList& AList, int Index)
  {
    return Index >= 0 && Index < int(AList.size()) ? AList[size_t(Index)] : nullptr;
  }
  bool IsDesigning() const;
  bool IsCustomizing() const;
  bool ContainsOwner(const IdxBarLinksOwner* AOwner, std::set<const TdxBarItemLinks*>& AVisited) const;
  bool IsShortCut(TShortCut AShortCut, std::set<const TdxBarItemLinks*>& AVisited);
  int GetOptionValue(TdxBarItemOptionValue AOption, std::set<const TdxBarItemLinks*>& AVisited) const;
  bool CanUseRecentItems(std::set<const TdxBarItemLinks*>& AVisited) const;
  void UnmergeLinks(TdxBar* ABar, std::set<TdxBarItemLinks*>& AVisited);
  void MergeLinks(TdxBarItemLinks* ASource, std::set<TdxBarItemLinks*>& AVisited);
  void ThinSeparators();
  void BuildLists(bool AThinSeparators);
  void UpdateLists() const
  {
    if (FListsStale)
      const_cast<TdxBarItemLinks*>(this)->BuildLists(FThinStaleLists);
  }
  // Recent-order bookkeeping of the links.
  void AddToRecent(TdxBarItemLink* ALink) { FRecentItems.push_back(ALink); }
  void LinkGone(TdxBarItemLink* ALink);
  void MoveInRecent(TdxBarItemLink* ALink, int APosition);
  void RecalculateBarControl() const;
  void RebuildBarControl() const;

  TWeakRef<TdxBarManager> FBarManager;
  IdxBarLinksOwner* FOwner;
  TWeakRef<TCustomdxBarControl> FBarControl;
  std::unique_ptr<TdxBarItemOptions> FItemOptions;
  TLinkList FAvailableItems;
  TLinkList FVisibleItems;
  TLinkList FShownItems;
  // Changes with every change of the shown list; unique across collections, so a link that
  // moves to another one never matches by chance.
  uint64_t FShownStamp = 0;
  void ShownItemsChanged();
  bool FListsStale = false;
  bool FThinStaleLists = false;
  TLinkList FRecentItems;
  bool FAssigning = false;
  bool FDestroying = false;
  bool FNoDesignerNotify = false;
  int FRecentItemCount = -1;
  int FSavedRecentItemCount = 0;
  bool FUseRecentItems = true;
};

// The links of a toolbar: the accelerator search visits the selectable links while the
// window is visible.
class TdxBarControlItemLinks : public TdxBarItemLinks {
  DECLARE_CLASS(TdxBarControlItemLinks, TdxBarItemLinks)
public:
  using TdxBarItemLinks::TdxBarItemLinks;

protected:
  TdxBarItemLink* DoFindAccelLink(uint16_t Key, TShiftState Shift, TdxBarItemLink* StartLink) override;
};

// The links of a sub-menu: every link fits, and the accelerator search visits all visible
// links, the start link last.
class TdxBarSubMenuControlItemLinks : public TdxBarItemLinks {
  DECLARE_CLASS(TdxBarSubMenuControlItemLinks, TdxBarItemLinks)
public:
  using TdxBarItemLinks::TdxBarItemLinks;
  bool AllItemsFit() const override { return true; }

protected:
  TdxBarItemLink* DoFindAccelLink(uint16_t Key, TShiftState Shift, TdxBarItemLink* StartLink) override;
};
