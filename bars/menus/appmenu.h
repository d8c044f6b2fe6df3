// The application menu's window: a menu whose item column shares its width with an extra
// pane on the right (a hidden toolbar in a private dock site) and a row of buttons along the
// bottom. The component that owns such a menu supplies its links, the pane's settings and the
// buttons through IdxBarApplicationMenu. Window layer; the pane width, the button row and the
// order the keys visit the three groups in are plain functions, tested on numbers.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "bars/itemcontrols/buttons.h"
#include "bars/model/bar.h"
#include "bars/model/components.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/menus/submenu.h"
#include "bars/barwindows/toolbar.h"
#include "platform/Collection.h"

class TdxBarApplicationMenuButtons;
class TdxBarApplicationMenuControl;

// --- Geometry and key order.

// The pane's width: a width given in pixels is scaled by the menu's item height against the
// painter's default item height (kept as given when that is unknown); without one, the ratio
// of the menu's width. Never negative.
int dxBarCalcExtraPaneWidth(int APaneWidth, double AWidthRatio, int AMenuWidth, int AItemHeight,
                            int ADefaultItemHeight);
// The buttons' rectangles in ARow, in order, 6 pixels apart: those that fit, moved right so
// the last ends at the row's end; empty rectangles for those that do not fit.
std::vector<TRect> dxBarLayoutApplicationMenuButtons(const TRect& ARow, const std::vector<int>& AWidths);
// The three groups the keys visit: the menu's links, the pane's links and the buttons.
enum TdxBarApplicationMenuGroup : int { amgItems = 0, amgExtraPane = 1, amgButtons = 2 };
inline constexpr TdxBarApplicationMenuGroup dxBarApplicationMenuGroups[] = {amgItems, amgExtraPane, amgButtons};
// The group the keys go to from AGroup when they pass its end (AForward) or its start, given
// each group's selectable link count (by group): the menu's links and the buttons take part
// when they have any, the pane only with more than one. None when no group takes part.
std::optional<TdxBarApplicationMenuGroup> dxBarNextApplicationMenuGroup(const int ACounts[3],
                                                                        TdxBarApplicationMenuGroup AGroup,
                                                                        bool AForward);

// What the owner of an application menu's links gives its window.
class IdxBarApplicationMenu {
public:
  virtual ~IdxBarApplicationMenu() = default;
  // The pane's width in pixels at the default item height; 0 for the ratio.
  virtual int GetExtraPaneWidth() const = 0;
  virtual double GetExtraPaneWidthRatio() const = 0;
  // The items the pane shows, in order.
  virtual std::vector<TdxBarItem*> GetExtraPaneItems() const = 0;
  // The buttons of the bottom row; nil for none.
  virtual TdxBarApplicationMenuButtons* GetButtons() const = 0;
};

// --- The buttons of the bottom row.

// The button the row shows for one TdxBarApplicationMenuButton: it shows what the watched
// button shows and clicks it; with no button (or once it is freed) it shows nothing.
class TdxBarApplicationMenuButtonItem : public TdxBarButton {
  DECLARE_CLASS(TdxBarApplicationMenuButtonItem, TdxBarButton)
public:
  explicit TdxBarApplicationMenuButtonItem(TComponent* AOwner);
  ~TdxBarApplicationMenuButtonItem() override;
  TdxBarButton* GetItem() const { return FItem; }
  // Moves the watch to Value and takes its state over.
  void SetItem(TdxBarButton* Value);
  // Takes the watched button's state over again.
  void UpdateFromItem();
  void DoClick() override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void WatchChanged(TObject* Sender, TComponent* AComponent, TdxComponentListChangeType Kind);

  TdxBarButton* FItem = nullptr;
  std::unique_ptr<TdxBarComponentList> FWatch;
};

// The row's button: a button drawn as on a toolbar, as wide as its item's own width when
// that is set.
class TdxBarApplicationMenuButtonControl : public TdxBarButtonControl {
  DECLARE_CLASS(TdxBarApplicationMenuButtonControl, TdxBarButtonControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarApplicationMenuButtonControl(TdxBarItemLink* AItemLink) : TdxBarButtonControl(AItemLink) {}
  int GetDefaultViewParts() const override;
  int GetBarKind() const override { return bkHorizontal; }
  int GetDefaultWidth() override;
  void ClickByKey() override;
};

// The links of the row; the menu shows them below its own.
class TdxBarApplicationMenuButtonItemLinks : public TdxBarItemLinks {
  DECLARE_CLASS(TdxBarApplicationMenuButtonItemLinks, TdxBarItemLinks)
public:
  using TdxBarItemLinks::TdxBarItemLinks;
};

class TdxBarApplicationMenuButton : public TCollectionItem {
  DECLARE_CLASS(TdxBarApplicationMenuButton, TCollectionItem)
public:
  explicit TdxBarApplicationMenuButton(TCollection* ACollection);
  ~TdxBarApplicationMenuButton() override;
  void Assign(TPersistent* Source) override;

  TdxBarButton* GetItem() const;
  void SetItem(TdxBarButton* Value);
  int GetWidth() const;
  void SetWidth(int Value);
  // The button the row shows (nil when the collection has no manager to make it with).
  TdxBarApplicationMenuButtonItem* GetButtonItem() const { return FButtonItem.Get(); }

private:
  TWeakRef<TdxBarApplicationMenuButtonItem> FButtonItem;
};

class TdxBarApplicationMenuButtons : public TOwnedCollection {
  DECLARE_CLASS(TdxBarApplicationMenuButtons, TOwnedCollection)
public:
  // AOwner is the component whose bar manager makes the buttons' items.
  explicit TdxBarApplicationMenuButtons(TComponent* AOwner);
  TdxBarApplicationMenuButton* Add() { return static_cast<TdxBarApplicationMenuButton*>(TCollection::Add()); }
  TdxBarApplicationMenuButton* GetItem(int Index) const
  {
    return static_cast<TdxBarApplicationMenuButton*>(TCollection::Items(Index));
  }
  TdxBarManager* GetBarManager() const;
};

// --- The extra pane.

// The private dock site of the pane: nothing docks into it by dragging, and its bar's window
// is the pane's.
class TdxBarExtraPaneDockControl : public TdxBarDockControl {
  DECLARE_CLASS(TdxBarExtraPaneDockControl, TdxBarDockControl)
public:
  explicit TdxBarExtraPaneDockControl(TComponent* AOwner);
  TClass GetBarControlClass() const override;
  void UpdateSize() override;
};

// The pane's window: a toolbar without a frame that draws with the menu's font and painter.
class TdxBarExtraPaneControl : public TdxBarControl {
  DECLARE_CLASS(TdxBarExtraPaneControl, TdxBarControl)
public:
  using TFactoryOwner = TdxBar;
  explicit TdxBarExtraPaneControl(TdxBar* ABar) : TdxBarControl(ABar) {}
  // The menu the pane sits in; nil before the pane is placed.
  TdxBarApplicationMenuControl* GetApplicationMenuControl() const;
  // The pane lists its links one under another, each as wide as the pane.
  bool IsMultiLine() const override { return true; }
  bool IsDockable() const override { return false; }
  // The pane lists the content of container items (the extra pane's list) as a menu does.
  bool ListsContainers() const override { return !IsCustomizing(); }
  void CalculateViewInfo() override;
  // The height the pane's links take one under another.
  int GetContentHeight() const { return FContentHeight; }
  TdxBarPainter* GetPainter() const override;
  uint32_t GetOptions() const override;
  // The pane belongs to the menu's activation: pressing an entry selects it for the menu
  // without making the pane a bar of its own, and a command run from it closes the menu.
  void ActivateWithControl(TdxBarItemControl* AControl) override;
  bool IsInActiveChain() const override;
  void LeaveMenuMode() override;

protected:
  void WndProc(TMessage& Message) override;

private:
  void PaneButtonUp(TMessage& Message);

  int FContentHeight = 0;
};

// --- The window.

class TdxBarApplicationMenuControl : public TdxBarSubMenuControl, private IdxBarLinksOwner {
  DECLARE_CLASS(TdxBarApplicationMenuControl, TdxBarSubMenuControl)
public:
  explicit TdxBarApplicationMenuControl(TComponent* AOwner);
  ~TdxBarApplicationMenuControl() override;
  void BeforeDestruction() override;

  // The menu's option set: client-aligned controls stretch (the pane's, which takes them).
  uint32_t GetOptions() const override;
  void ShowMenuWindow() override;
  // Taking the owner's links also makes the row's links from the owner's buttons.
  void SetItemLinks(TdxBarItemLinks* Value) override;
  TdxBarItemControl* GetItemControlAtPos(const TPoint& P) const override;

  // The row's links (nil while customizing or without buttons).
  TdxBarApplicationMenuButtonItemLinks* GetButtonLinks() const { return FButtonLinks.get(); }
  // The pane's window; nil while the pane is not shown.
  TdxBarExtraPaneControl* GetExtraPaneControl() const;
  // The group the keyboard's selection is in: the pane while its window has one, the row
  // while one of its links is selected, else the menu's links.
  TdxBarApplicationMenuGroup GetSelectedGroup() const;
  // Selects a link of the pane, as the keys or the pointer do.
  void SelectExtraPaneControl(TdxBarItemControl* AControl);
  // Moves the keyboard's selection one link on (or back) in the order of the three groups,
  // wrapping; false when no group has a link to select. Navigation from a pane or row link
  // goes through here.
  bool MoveSelection(bool AForward);
  // Whether ALink is one of the row's; its key tip then sits at the centre of its rectangle
  // (this point, screen coordinates), aligned centre both ways.
  bool IsButtonRowLink(const TdxBarItemLink* ALink) const;
  TPoint GetButtonRowKeyTipPoint(const TdxBarItemLink* ALink);

  TdxBar* GetExtraPaneBar() const { return FExtraPaneBar.Get(); }
  TdxBarExtraPaneDockControl* GetExtraPaneDock() const { return FExtraPaneDock.Get(); }
  TRect GetExtraPaneRect() const { return FExtraPaneRect; }
  int GetExtraPaneWidth() const { return FExtraPaneWidth; }
  // The row along the bottom; its links' rectangles lie in it (empty for those that do not fit).
  TRect GetButtonRowRect() const { return FButtonRowRect; }

protected:
  std::optional<TSize> GetSecondPassSize() override;
  bool BarKeyDown(WORD AKey, TShiftState AShift) override;
  void AdjustItemArea(TRect& AArea) override;
  void PaintItems(TcxCanvas* ACanvas, const TRect& AUpdateRect) override;

private:
  // IdxBarLinksOwner of the row's links: the menu shows them itself.
  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override { return nullptr; }
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override { return true; }

  IdxBarApplicationMenu* GetApplicationMenu() const;
  void MakeButtonLinks();
  void FreeButtonLinks();
  // The links of a group and whether the group takes part in the keys' order.
  TdxBarItemLinks* GroupLinks(TdxBarApplicationMenuGroup AGroup) const;
  // Selects ALink of AGroup by key, and takes the selection away from the other groups.
  void SelectGroupLink(TdxBarApplicationMenuGroup AGroup, TdxBarItemLink* ALink);
  void FillExtraPane();
  void PlaceExtraPane();
  void FreeExtraPane();
  int ButtonRowHeight() const;

  TWeakRef<TdxBarExtraPaneDockControl> FExtraPaneDock;
  TWeakRef<TdxBar> FExtraPaneBar;
  TRect FExtraPaneRect{};
  TRect FButtonRowRect{};
  int FExtraPaneWidth = 0;
  std::unique_ptr<TdxBarApplicationMenuButtonItemLinks> FButtonLinks;
};
