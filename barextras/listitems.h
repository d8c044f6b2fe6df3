// Item kinds that expand into several menu entries: the toolbars list (one checked entry
// per toolbar of the manager), the recent-files list (file names shortened in the middle)
// and the in-place sub item (its links listed inside the menu it sits in, instead of in a
// menu of their own). Model (the items) and item-control layer (their controls).
#pragma once

#include <vector>

#include "barextras/extitems.h"  // the unit starts with any of its kinds
#include "bars/itemcontrols/subitems.h"

class TdxBar;

// A sub-menu entry whose menu lists the manager's toolbars; a click on an entry shows or
// hides that toolbar.
class TdxBarToolbarsListItem : public TCustomdxBarSubItem {
  DECLARE_CLASS(TdxBarToolbarsListItem, TCustomdxBarSubItem)
public:
  explicit TdxBarToolbarsListItem(TComponent* AOwner) : TCustomdxBarSubItem(AOwner) {}
  ~TdxBarToolbarsListItem() override;
  bool IsCompatibleWith(TdxBarItem* AItem) const override;
  // Replaces the own links with one checked entry per toolbar the manager lists (not
  // hidden), in the manager's order.
  void RefillLinks();
  // The toolbar an entry made by RefillLinks stands for; nil for anything else.
  TdxBar* GetEntryBar(TdxBarItem* AEntry) const;

private:
  void EntryClick(TObject* Sender);
  void FreeEntries();

  struct TEntry {
    TWeakRef<TdxBarButton> Button;
    TWeakRef<TdxBar> Bar;
  };
  std::vector<TEntry> FEntries;
};

class TdxBarToolbarsListItemControl : public TdxBarSubItemControl {
  DECLARE_CLASS(TdxBarToolbarsListItemControl, TdxBarSubItemControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarToolbarsListItemControl(TdxBarItemLink* AItemLink) : TdxBarSubItemControl(AItemLink) {}

protected:
  TdxBarItemLinks* PrepareMenuLinks() override;
};

// Recently used files, newest first. Entries show their path shortened in the middle so the
// file name stays readable.
class TdxBarMRUListItem : public TdxBarListItem {
  DECLARE_CLASS(TdxBarMRUListItem, TdxBarListItem)
public:
  explicit TdxBarMRUListItem(TComponent* AOwner) : TdxBarListItem(AOwner) {}
  // A limit read before or after the entries holds once both are in.
  void Loaded() override;

  String GetDisplayText(const String& AText) const override;
  void Click() override;

  // Puts AFileName at the top: an entry already there (compared without regard to case)
  // moves up instead of being listed twice, and entries past MaxItemCount drop off the end.
  // An empty name is ignored.
  void AddItem(const String& AFileName);
  // Removes the entry of AFileName (compared without regard to case); false when none.
  bool RemoveItem(const String& AFileName);

  // --- Properties.
  int GetMaxItemCount() const { return FMaxItemCount; }
  // Negative becomes 0 (no limit); a limit below the count drops entries from the end.
  void SetMaxItemCount(int Value);
  bool GetRemoveItemOnClick() const { return FRemoveItemOnClick; }
  void SetRemoveItemOnClick(bool Value) { FRemoveItemOnClick = Value; }

private:
  void TrimToMax();

  int FMaxItemCount = 5;
  bool FRemoveItemOnClick = false;
};

// The width and height a recent-file entry's text is shortened to fit.
inline constexpr int dxBarMRUDisplayWidth = 300;
inline constexpr int dxBarMRUDisplayHeight = 100;
// AText shortened with an ellipsis in the middle of the path to fit AWidth pixels in the
// font selected into DC; the text itself when it fits.
String dxBarShortenPath(HDC DC, const String& AText, int AWidth, int AHeight);

class TdxBarInPlaceSubItem;
using TdxBarInPlaceSubItemEvent = TEvent<void(TdxBarInPlaceSubItem* Sender, TdxBarItemLink* AItemLink)>;

// A sub item whose links, in a menu, are listed right below its own entry while it is
// expanded; on a toolbar it opens them in a menu like any sub item.
class TdxBarInPlaceSubItem : public TdxBarContainerItem {
  DECLARE_CLASS(TdxBarInPlaceSubItem, TdxBarContainerItem)
public:
  explicit TdxBarInPlaceSubItem(TComponent* AOwner) : TdxBarContainerItem(AOwner) {}

  void AddListedItemLinks(TdxBarItemLinks* ATarget, int AIndex, intptr_t AData, bool AFill) override;
  bool IsListedAsGroup() const override { return false; }
  bool KeepsOwnLinkWhileListed() const override { return true; }
  bool CanBeVisible() const override { return true; }
  bool IsCompatibleWith(TdxBarItem* AItem) const override;

  // --- Properties.
  bool GetExpanded() const { return FExpanded; }
  // Collapsing: OnBeforeCollapse for every link first. Then every menu that shows a link
  // of the item is rebuilt once; expanding: OnAfterExpand for every link afterwards.
  void SetExpanded(bool Value);
  bool GetKeepBeginGroupWhileExpanded() const { return FKeepBeginGroupWhileExpanded; }
  void SetKeepBeginGroupWhileExpanded(bool Value) { FKeepBeginGroupWhileExpanded = Value; }
  // Menus are being rebuilt for a change of Expanded.
  bool IsRebuilding() const { return FRebuilding; }

  TdxBarInPlaceSubItemEvent OnAfterExpand;
  TdxBarInPlaceSubItemEvent OnBeforeCollapse;

private:
  // In a menu, the link after ALink and the entries it lists gets BeginGroup AValue.
  void SetFollowingBeginGroup(TdxBarItemLink* ALink, bool AValue);

  bool FExpanded = false;
  bool FRebuilding = false;
  bool FKeepBeginGroupWhileExpanded = false;
};

class TdxBarInPlaceSubItemControl : public TdxBarSubItemControl {
  DECLARE_CLASS(TdxBarInPlaceSubItemControl, TdxBarSubItemControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarInPlaceSubItemControl(TdxBarItemLink* AItemLink) : TdxBarSubItemControl(AItemLink) {}
  TdxBarInPlaceSubItem* GetInPlaceSubItem() const;

  bool WantsKey(uint16_t Key) const override;
  bool KeyDown(uint16_t Key) override;
  bool WantsDoubleClick() const override;
  void ActivateByKey() override;
  void MouseDown(const TPoint& P) override;
  void Draw(const TRect& R, bool AFlag) override;
  int GetWidth() override;
  int GetHeight() override;
  // In a menu its accessibility object offers expanding and collapsing the entries.
  TdxBarAccessibilityHelperClass GetAccessibilityHelperClass() const override;

private:
  // Runs the item's click, toggles Expanded and selects the same link again.
  void Toggle();
};
