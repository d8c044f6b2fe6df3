// The popup menu component: a non-visual component beside the bar manager that shows its
// own item links as a context menu in the library's menu window. Shown at a point it waits
// in a message loop of its own until the choice is made; as a button's drop-down menu it
// opens without waiting. Model layer; the window is TdxBarSubMenuControl.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "bars/itemcontrols/buttons.h"
#include "bars/model/components.h"
#include "bars/model/itemlinks.h"
#include "bars/itemcontrols/ownfont.h"
#include "bars/menus/submenu.h"
#include "platform/Bitmap.h"

class TdxBarManager;

// Placement preferences for one popup (PopupWithOptions): the menu prefers opening to the
// left of / above the point; it still flips where it does not fit.
inline constexpr uint32_t dxBarPopupPrefersLeft = 1;
inline constexpr uint32_t dxBarPopupPrefersUp = 2;

class TdxBarCustomPopupMenu : public TdxBarComponent,
                              public IdxBarLinksOwner,
                              public IdxBarDropDownMenu,
                              public IdxBarSubMenuOwner {
  DECLARE_CLASS(TdxBarCustomPopupMenu, TdxBarComponent)
public:
  // Raises "There are no TdxBarManagers available" when no manager lives in the program.
  // The manager is the owner's (the owner itself, or the one it owns), else the first one.
  explicit TdxBarCustomPopupMenu(TComponent* AOwner);
  ~TdxBarCustomPopupMenu() override;
  void BeforeDestruction() override;
  // The links resolve their item names and take their loaded state.
  void Loaded() override;

  // --- Kinds. The menu window is made from GetSubMenuControlClass, so that a derived menu
  // can choose its own; GetItemLinksClass names the links' class.
  virtual TClass GetSubMenuControlClass() const;
  virtual TClass GetItemLinksClass() const;
  // Paints the side strip of BarSize width (OnPaintBar).
  virtual void DoPaintBar(TcxCanvas* ACanvas, const TRect& R);

  // --- Showing.
  // Shows the menu with its corner at the screen point; while synchronous (the default),
  // returns once the menu has closed. Nothing happens while the menu is open. True when the
  // menu window opened.
  bool Popup(int X, int Y);
  // Popup with options for this one popup only: placement preferences (dxBarPopupPrefers*),
  // waiting or not, a screen rectangle the menu keeps clear of, whether it animates, and the
  // width and height of what it opens beside (it jumps over them where it does not fit).
  void PopupWithOptions(int X, int Y, uint32_t AAlignmentFlags, bool ASynchronous,
                        const std::optional<TRect>& AExcludeRect = std::nullopt, bool AAnimate = true,
                        int AOwnerWidth = 0, int AOwnerHeight = 0);
  // Popup at the cursor.
  void PopupAtCursor();
  void PopupFromCursorPos() { PopupAtCursor(); }
  // The window showing the links; nil while closed.
  TCustomdxBarControl* GetBarControl() const;
  // The menu window is open (between its popup and close-up notifications).
  bool IsShowing() const { return FShowing; }
  // Inside Popup's own message loop.
  bool IsWaiting() const { return FLoopDepth > 0; }

  // --- Shortcuts: the key of a key message with its key data, as a shortcut, runs the item
  // of the links that has it; true when one did.
  bool IsShortCut(uint16_t AKey, intptr_t AKeyData);

  // --- Linking rules: an item whose own links reach this menu is refused with
  // "You cannot create recursive menus".
  bool CanContainItem(TdxBarItem* AItem, String& AErrorText);

  // --- Manager. A nil or unchanged value is ignored; the menu moves to the new manager's
  // popup-menu list and its links follow.
  void SetBarManager(TdxBarManager* Value);
  // Tells the form designer that the menu changed (at design time only).
  void NotifyDesigner();

  // --- Properties.
  TBitmap* GetBackgroundBitmap() const { return FBackgroundBitmap.get(); }
  void SetBackgroundBitmap(TBitmap* Value);
  int GetBarSize() const { return FBarSize; }
  // Negative becomes 0.
  void SetBarSize(int Value);
  TFont* GetFont() const { return FOwnFont->GetFont(); }
  void SetFont(TFont* Value);
  // Font while UseOwnFont, else the manager's font; what the window draws with.
  TFont* GetRealFont() const;
  bool GetUseOwnFont() const { return FOwnFont->GetUseOwnFont(); }
  // False takes the manager's font back.
  void SetUseOwnFont(bool Value);
  bool IsFontStored() const { return GetUseOwnFont(); }
  TdxBarItemLinks* GetItemLinks() const { return FItemLinks.get(); }
  void SetItemLinks(TdxBarItemLinks* Value);
  TdxBarItemOptions* GetItemOptions() const;
  void SetItemOptions(TdxBarItemOptions* Value);
  bool GetUseRecentItems() const;
  void SetUseRecentItems(bool Value);

  TNotifyEvent OnCloseUp;
  TdxBarPaintSubMenuBarEvent OnPaintBar;
  TNotifyEvent OnPopup;

  // --- IdxBarLinksOwner.
  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override;
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override { return CanContainItem(AItem, AErrorText); }
  bool NotifyOwnDesigner() override;
  TdxBarItemLinks* GetOwnedItemLinks() override { return FItemLinks.get(); }

  // --- IdxBarDropDownMenu: a button's drop-down, shown without waiting.
  TdxBarItemLinks* GetDropDownItemLinks() const override { return FItemLinks.get(); }
  TCustomdxBarControl* DropDownMenu(TdxBarItemControl* AOwnerControl, const TPoint& P, const TRect& AExcludeRect,
                                    TCustomdxBarControl* AParentBar) override;
  void CloseDropDownMenu() override;
  TCustomdxBarControl* GetDropDownWindow() const override { return GetBarControl(); }

  // --- IdxBarSubMenuOwner: the side strip is BarSize wide and painted by OnPaintBar.
  int GetSideStripWidth(TdxBarSubMenuControl* AMenu) override { return FBarSize; }
  void DrawSideStrip(TdxBarSubMenuControl* AMenu, TcxCanvas* ACanvas, const TRect& R) override;

private:
  // What one popup may differ in; back to these defaults after each popup.
  struct TPopupOptions {
    bool Synchronous = true;
    uint32_t AlignmentFlags = 0;
    std::optional<TRect> ExcludeRect;
    bool Animate = true;
    int OwnerWidth = 0;
    int OwnerHeight = 0;
    // The window the menu drops down from, and the item control on it.
    TWeakRef<TCustomdxBarControl> ParentBar;
    TWeakRef<TdxBarItemControl> OwnerControl;
  };

  bool PopupWith(int X, int Y, TPopupOptions AOptions);
  void ShowWindow(TdxBarSubMenuControl* AMenu, int X, int Y);
  void RunMessageLoop();
  void CloseWindow();
  void WindowPopup(TObject* Sender);
  void WindowCloseUp(TObject* Sender);
  void FontChanged();
  void ManagerFontChanged(TObject* Sender);
  void AttachToManager(TdxBarManager* AManager);
  void DetachFromManager();

  std::unique_ptr<TBitmap> FBackgroundBitmap;
  int FBarSize = 0;
  std::unique_ptr<TdxBarOwnFont> FOwnFont;
  std::unique_ptr<TdxBarItemLinks> FItemLinks;
  TPopupOptions FOptions;
  bool FShowing = false;
  int FLoopDepth = 0;
  // Where Popup learns that its window opened.
  bool* FShownFlag = nullptr;
  // The manager whose popup-menu list and font handlers hold this menu.
  TWeakRef<TdxBarManager> FListedIn;
};

// The popup menu a form places: the properties published for form data.
class TdxBarPopupMenu : public TdxBarCustomPopupMenu {
  DECLARE_CLASS(TdxBarPopupMenu, TdxBarCustomPopupMenu)
public:
  explicit TdxBarPopupMenu(TComponent* AOwner) : TdxBarCustomPopupMenu(AOwner) {}
};

// Some manager that is not being destroyed has an open popup menu.
bool IsAnyPopupMenuOpen();
// The popup menus of AManager offered a shortcut; true when one ran an item.
bool dxBarPopupMenusShortCut(TdxBarManager* AManager, uint16_t AShortCut);

// Start-up plugs the popup menus into the popup-menu links (right-click and shortcuts) and
// the hooks' shortcut search, and registers the class for form data; shut-down undoes it.
void dxBarInitializePopupMenus();
void dxBarFinalizePopupMenus();
