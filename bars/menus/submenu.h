// The menu window: one column of item controls in a popup that places itself against the work
// area and the item that opened it, scrolls when its items do not fit, shows the expand
// button of personalised menus and the tear-off strip of detachable ones, handles the menu
// keys and closes on every route a menu closes by. Window layer; the placement and the
// animation's frame arithmetic are plain functions, tested on numbers.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"

class TdxBar;
class TdxBarAnimationThread;
class TdxBarItemControl;
class TdxBarSubMenuControl;

// What the owner of a menu's links may draw along the menu's left side (a strip with a
// title, a picture). Asked of the links' owner object.
class IdxBarSubMenuOwner {
public:
  virtual ~IdxBarSubMenuOwner() = default;
  // The strip's width; 0 for none.
  virtual int GetSideStripWidth(TdxBarSubMenuControl* AMenu) = 0;
  // Paints the strip into R on ACanvas.
  virtual void DrawSideStrip(TdxBarSubMenuControl* AMenu, TcxCanvas* ACanvas, const TRect& R) = 0;
};

// What the owner's handler for that strip gets: the menu's owner, the canvas and the strip.
using TdxBarPaintSubMenuBarEvent = TEvent<void(TObject* Sender, TcxCanvas* ACanvas, const TRect& R)>;

// --- Placement.

// Where a menu of Size opens at Pos, next to an owner of OwnerWidth (a menu item: the menu
// opens beside it) or OwnerHeight (a toolbar item: the menu opens below it); both 0 for a
// menu opened at a point.
struct TdxBarMenuPlacementParams {
  TPoint Pos{};
  TSize Size{};
  TRect WorkArea{};
  int OwnerWidth = 0;
  int OwnerHeight = 0;
  bool PrefersRight = true;
  bool PrefersDown = true;
  // Whether the width may be cut to the work area (no plain menu allows it).
  bool CanCutWidth = false;
};
struct TdxBarMenuPlacement {
  TRect Bounds{};
  // The menu opened against its preferred direction.
  bool FlippedX = false;
  bool FlippedY = false;
};
// The menu's bounds: it flips over its owner (or around its point) where it does not fit,
// keeps inside the work area, and is cut in height (it then scrolls) where neither side has
// room.
TdxBarMenuPlacement dxBarPlaceMenu(const TdxBarMenuPlacementParams& AParams);

// --- The column of links.

// One shown link of a menu's column.
struct TdxBarMenuColumnLink {
  int Height = 0;
  // A link without a control shows nothing and takes no room, not even for its separator.
  bool HasControl = true;
  // A separator goes above it, unless it is the first in view.
  bool BeginGroup = false;
  // The first of a run of less-used links: one pixel above it.
  bool EdgePixel = false;
};
// The column in Area from the link at TopIndex: a scroll button of ScrollButtonSize at the
// top when scrolled and at the bottom when more links follow (a button that is not separate
// covers the link under it).
struct TdxBarMenuColumnParams {
  std::vector<TdxBarMenuColumnLink> Links;
  TRect Area{};
  // Where the links start (the side strip lies left of it).
  int Left = 0;
  int SeparatorSize = 0;
  int ScrollButtonSize = 0;
  bool ScrollButtonsSeparate = false;
  int TopIndex = 0;
};
struct TdxBarMenuColumn {
  // One per link; empty for the links out of view.
  std::vector<TRect> Rects;
  // The top index asked for, kept among the links and scrolled back while the room left at
  // the bottom allows.
  int TopIndex = 0;
  int First = -1;
  int Last = -1;
  bool CanScrollDown = false;
};
// The height of all the links stacked, with their separators and edge pixels: what a menu
// needs for its column not to scroll.
int dxBarMenuColumnHeight(const std::vector<TdxBarMenuColumnLink>& ALinks, int ASeparatorSize);
// The links laid out: the links that fit wholly are in view, and a link taller than the view
// still shows (clipped), so the view is never empty.
TdxBarMenuColumn dxBarLayoutMenuColumn(const TdxBarMenuColumnParams& AParams);

// What the owner of a menu's links (a sub-item) gives for tearing the menu off: the bar that
// floats in its place, and the notification before the drag.
class IdxBarSubMenuDetaching {
public:
  virtual ~IdxBarSubMenuDetaching() = default;
  // The bar the torn-off menu becomes; nil when the menu cannot be torn off.
  virtual TdxBar* GetDetachingBar() = 0;
  virtual void DoDetaching() = 0;
};

// --- Animation choice.

// The kind a popup uses: maRandom becomes maUnfold below 33, maSlide below 66, else maFade,
// from ARandom (0 to 99).
TdxBarMenuAnimations dxBarResolveMenuAnimation(TdxBarMenuAnimations AKind, int ARandom);
// The source of those numbers; replaceable for tests (nil restores the default).
using TdxBarRandomProc = std::function<int(int ARange)>;
TdxBarRandomProc SetdxBarMenuRandomProc(TdxBarRandomProc AProc);
// Whether the system lets menus animate (its menu animation setting); replaceable for tests.
using TdxBarSystemSettingProc = std::function<bool()>;
TdxBarSystemSettingProc SetdxBarMenuAnimationSettingProc(TdxBarSystemSettingProc AProc);

// --- Personalised menus.

// The delays of the expand timers, in milliseconds: the wait before a personalised menu
// shows all its links by itself (4000), and before a hot expand button expands it (the
// system's hover time). Replaceable for tests (0 restores the default).
int dxBarMenuExpandDelay();
// The menu window's timers. The scroll timer steps while the pointer rests on a scroll
// button. A personalised menu's two waits run side by side: the one after each new selection
// that turns the expand button hot, and the one that expands the menu (started as the menu
// becomes active, or with the pointer resting on the hot button).
constexpr UINT_PTR dxBarMenuScrollTimerId = 1;
constexpr UINT_PTR dxBarMenuHotMarkTimerId = 2;
constexpr UINT_PTR dxBarMenuExpandTimerId = 3;
void SetdxBarMenuExpandDelay(int AMilliseconds);
int dxBarMenuExpandHoverDelay();
void SetdxBarMenuExpandHoverDelay(int AMilliseconds);

// The view info of a menu: the item controls in view with their rectangles, and the
// separators above the links that begin a group.
class TdxBarSubMenuControlViewInfo : public TCustomdxBarControlViewInfo {
  DECLARE_CLASS(TdxBarSubMenuControlViewInfo, TCustomdxBarControlViewInfo)
public:
  using TFactoryOwner = TCustomdxBarControl;
  explicit TdxBarSubMenuControlViewInfo(TCustomdxBarControl* ABarControl);
  void Calculate() override;
};

class TdxBarSubMenuControl : public TCustomdxBarControl {
  DECLARE_CLASS(TdxBarSubMenuControl, TCustomdxBarControl)
public:
  // The owner is the bar manager. Width 0; the menu prefers opening right and down.
  explicit TdxBarSubMenuControl(TComponent* AOwner);
  ~TdxBarSubMenuControl() override;
  void BeforeDestruction() override;

  TdxBarControlKind GetKind() const override { return bckSubMenu; }
  // A menu opened from another window customises as that window does.
  bool IsCustomizing() const override;
  bool CanCustomizeLinks() const override;

  // --- Opening. Creators set the position (Left, Top), the owner's size, the preferred
  // directions and animate, then call Popup.
  virtual void Popup();
  // Makes the window visible, faded in or at once.
  virtual void ShowMenuWindow();
  // Sizes and places the window (ASize zero: its computed size); GetFlippedX and GetFlippedY
  // then say whether it opened against its preferred directions.
  void CalcLayout(TSize ASize = TSize{0, 0});
  // The window's size for its links, borders and buttons.
  TSize CalcMenuSize();
  int GetOwnerWidth() const { return FOwnerWidth; }
  int GetOwnerHeight() const { return FOwnerHeight; }
  void SetOwnerWidth(int Value) { FOwnerWidth = Value; }
  void SetOwnerHeight(int Value) { FOwnerHeight = Value; }
  bool GetPrefersRight() const { return FPrefersRight; }
  bool GetPrefersDown() const { return FPrefersDown; }
  void SetPrefersRight(bool Value) { FPrefersRight = Value; }
  void SetPrefersDown(bool Value) { FPrefersDown = Value; }
  bool GetAnimate() const { return FAnimate; }
  void SetAnimate(bool Value) { FAnimate = Value; }
  TdxBarMenuAnimations GetAnimationKind() const { return FAnimationKind; }
  // A font of the menu's own (a popup menu's); without one the menu writes in the font of
  // the window it opens from, else in its manager's.
  void SetOwnFont(TFont* Value);
  // The window the menu's window is created for; the manager's form's when nil.
  HWND GetExplicitParentWindow() const { return FExplicitParentWindow; }
  void SetExplicitParentWindow(HWND Value) { FExplicitParentWindow = Value; }
  // The item control the menu was opened from: the explicit one when set, else the owner.
  TdxBarItemControl* GetOwnerItemControl() const;
  void SetOwnerItemControl(TdxBarItemControl* Value);
  void SetExplicitOwnerItemControl(TdxBarItemControl* Value);
  // The toolbar at the root of the chain this menu opened from; nil for a menu of its own.
  TCustomdxBarControl* GetRootBarControl() const;
  // Called at the start of Popup, and when the window goes (the creator learns the menu closed).
  TNotifyEvent OnBeforePopup;
  TNotifyEvent OnCloseUp;
  // The menu was closed by Esc.
  bool IsClosedByKey() const { return FClosedByKey; }
  bool IsMenuClosing() const { return FMenuClosing; }

  // --- Scrolling.
  int GetTopIndex() const { return FTopIndex; }
  // Negative becomes 0; a change lays out and repaints the item area.
  void SetTopIndex(int Value);
  bool CanScrollUp() const { return FTopIndex > 0; }
  bool CanScrollDown() const { return FCanScrollDown; }
  // Scrolls until the control's link lies wholly in the item area.
  void MakeItemVisible(TdxBarItemControl* AControl);
  // The shown indexes of the first and last links in view (-1 when none).
  int GetFirstIndexInView() const { return FFirstInView; }
  int GetLastIndexInView() const { return FLastInView; }
  // The scroll timer runs (its id, 0 when not).
  UINT_PTR GetScrollTimerId() const { return FScrollTimerId; }
  virtual UINT GetScrollTimerInterval() const;
  // The client rectangle of a scroll button; empty when the menu cannot scroll that way.
  TRect GetScrollButtonRect(bool ADown) const;

  // --- Geometry.
  // The client rectangle less the borders and the expand button: where items lie.
  TRect GetItemArea() const override { return FItemArea; }
  // The borders inside the client area on each side (the painter's menu borders).
  virtual TRect GetBorders() const;
  // The tear-off strip's height in the non-client area; 0 when the menu is not detachable.
  int GetDetachStripAreaHeight() const;
  // The tear-off strip's rectangle in client coordinates (above the client area).
  TRect GetDetachStripRect() const;
  // The side strip the links' owner draws; 0 without one.
  int GetSideStripWidth() const;

  // --- Personalised menus.
  bool IsPersonalized() const;
  bool IsExpandButtonShown() const;
  // The expand button's client rectangle; empty when not shown.
  TRect GetMarkRect() const override;
  TdxBarMarkState GetMarkState() const override { return FMarkState; }
  // Pressed expands the menu.
  void SetMarkState(TdxBarMarkState AState);
  // Shows every link: the menu is made again in place, expanded.
  void Expand();
  // Whether one of the two waits above runs.
  bool IsExpandTimerRunning(UINT_PTR AId) const;
  // Whether the link is painted on the less-used background.
  bool IsLessUsedLink(const TdxBarItemLink* ALink) const;
  bool IsLessUsedEdgeLink(const TdxBarItemLink* ALink) const;
  HBRUSH GetLessUsedBrush() const override { return FLessUsedBrush; }
  // The one-entry palette of the less-used colour on screens below 9 bits (nil elsewhere).
  HPALETTE GetLessUsedPalette() const { return FLessUsedPalette; }
  // The hint the menu shows of its own (over the expand button or the tear-off strip); empty
  // when none.
  const String& GetMenuHint() const { return FMenuHint; }

  // --- Tear-off.
  bool IsDetachable() const override;
  bool IsOverDetachStrip() const { return FOverDetachStrip; }
  // The drag that turns the menu into its sub-item's floating toolbar. Runs its own loop;
  // the menu may be freed before it returns: callers touch nothing of it afterwards.
  void DragOff(const TPoint& APressPos);

  // --- Animation.
  // Ends a running opening animation at once: the menu shows complete.
  void StopAnimation();
  bool IsAnimating() const;
  TdxBarAnimationThread* GetAnimationThread() const { return FAnimationThread.get(); }
  // The thread's last frame (run on this thread): the menu takes its final bounds and paints.
  void AnimationFinished();
  // The flips of the last layout, which the animation grows from.
  bool GetFlippedX() const { return FFlippedX; }
  bool GetFlippedY() const { return FFlippedY; }

  // --- Painter queries.
  int GetBarKind() const override { return bkMenu; }
  // The gap above a link that begins a group.
  int GetSeparatorSize() const override;
  int GetGlyphColumnWidth() const override;
  bool IsActive() const override { return GetActive(); }
  bool IsShowing() override;
  TRect GetOwnerItemRect() const override;
  bool IsOwnerRectAdjacent() const override;
  void LeaveMenuMode() override;
  void PaintNonClient(HDC DC) override;
  bool CanPaintNonClient() const override { return true; }
  // Draws the client area into DC (the animation's image and WM_PRINTCLIENT).
  void PaintClientTo(HDC DC);

  // Closes this menu only (its parents stay), as Esc in a menu of a menu does.
  void CloseMenu();

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void PaintBackground(TcxCanvas* ACanvas, const TRect& R) override;
  void PaintItems(TcxCanvas* ACanvas, const TRect& AUpdateRect) override;
  TClass GetViewInfoClass() const override;
  void CalculateViewInfo() override;
  void RebuildBar() override;
  void DoClose() override;
  bool BarKeyDown(WORD AKey, TShiftState AShift) override;
  void WMKeyDownBar(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void ScrollIntoView(TdxBarItemControl* AControl) override { MakeItemVisible(AControl); }
  void SetSelectedControl(TdxBarItemControl* Value) override;
  bool CanSelectByRightButton() const override { return true; }
  // The creator's close-up notification.
  virtual void DoCloseUp();
  virtual void DoBeforePopup();
  // A size the second layout pass asks for; none for plain menus.
  virtual std::optional<TSize> GetSecondPassSize() { return std::nullopt; }
  // Bounds of its own the parent control supplies for this menu; none for plain menus.
  virtual std::optional<TRect> GetBoundsFromParent() { return std::nullopt; }
  virtual bool CanCutWidth() const { return false; }
  // Takes room for more than the item column from the item area (client coordinates).
  virtual void AdjustItemArea(TRect& AArea) {}
  // Draws the scroll buttons, the expand button and the items in view.
  virtual void DrawItems(TcxCanvas* ACanvas);

private:
  void PresizeWindow();
  void ApplyRecentItemCount();
  TdxBarMenuPlacement PlaceMenu(TPoint APos, TSize ASize, const TRect& AWorkArea) const;
  friend class TdxBarSubMenuControlViewInfo;
  friend class TdxBarAnimationThread;
  // The item rectangles for the current top index; answers whether links lie below the view.
  void LayoutItems();
  void CreateLessUsedBrush();
  void DeleteLessUsedBrush();
  void MarkLessUsedLinks();
  // The shown links as the column's arithmetic sees them (after MarkLessUsedLinks).
  std::vector<TdxBarMenuColumnLink> ColumnLinks() const;
  void StartAnimation();
  void KillScrollTimer();
  void StartScrollTimer();
  void ScrollTimerFired();
  void KillExpandTimer(UINT_PTR AId);
  void KillExpandTimers();
  void HandWindowToDrag();
  void StartExpandTimer(UINT_PTR AId, int AInterval);
  void ExpandTimerFired(UINT_PTR AId);
  // Mouse over the scroll buttons: true when the mouse is over one (the timer runs).
  bool TrackScrollButtons(const TPoint& P);
  void TrackDetachStrip(const TPoint& P);
  void TrackMarkButton(const TPoint& P);
  void ShowMenuHint(const String& AText);
  bool IsRightButtonResent() const;
  void SelectFirstLinkIfOpenedByKey();
  void WMNCCalcSize(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMPrint(TMessage& Message);
  void WMPrintClient(TMessage& Message) override;
  void WMTimer(TMessage& Message);
  void WMRButton(TMessage& Message);
  void CMFontChanged(TMessage& Message) override;
  void UpdateMenuFont();
  // The shown index of a link, -1 when it is not shown.
  int ShownIndexOf(const TdxBarItemLink* ALink) const;

  TRect FItemArea{};
  TPoint FLastScrollPoint{-1, -1};
  TdxBarMarkState FMarkState = TdxBarMarkState::Normal;
  bool FInDestruction = false;
  bool FMenuClosing = false;
  bool FClosedByKey = false;
  std::unique_ptr<TdxBarAnimationThread> FAnimationThread;
  // The thread ran its last frame (it is joined later); set while a stop waits for it.
  bool FAnimationDone = false;
  bool FStoppingAnimation = false;
  // Where the mouse was when the animation began: only a move away from it stops the animation.
  TPoint FAnimationMousePoint{-1, -1};
  bool FOverDetachStrip = false;
  bool FRecreating = false;
  bool FHotMarkTimerRunning = false;
  bool FExpandTimerRunning = false;
  HBRUSH FLessUsedBrush = nullptr;
  HPALETTE FLessUsedPalette = nullptr;
  bool FLayoutGuard = false;
  // While the window is made: the size its layout is going to give it, and the work area its
  // position lies in, looked up once for both.
  std::optional<TSize> FCreationSize;
  std::optional<std::pair<TPoint, TRect>> FCreationWorkArea;
  bool FRecentItemCountApplied = false;
  TdxBarMenuAnimations FAnimationKind = maNone;
  int FSavedLeft = 0;
  int FSavedTop = 0;
  int FOwnerWidth = 0;
  int FOwnerHeight = 0;
  UINT_PTR FScrollTimerId = 0;
  bool FAnimate = true;
  bool FHasOwnFont = false;
  int FTopIndex = 0;
  bool FPrefersRight = true;
  bool FPrefersDown = true;
  bool FFlippedX = false;
  bool FFlippedY = false;
  bool FCanScrollDown = false;
  int FFirstInView = -1;
  int FLastInView = -1;
  bool FLayingOut = false;
  TWeakRef<TdxBarItemControl> FExplicitOwnerItemControl;
  TWeakRef<TdxBarItemControl> FOwnerItemControl;
  HWND FExplicitParentWindow = nullptr;
  String FMenuHint;
  // The less-used marks of the links in view.
  std::vector<const TdxBarItemLink*> FLessUsedLinks;
  std::vector<const TdxBarItemLink*> FLessUsedEdges;
};

// A menu that owns its links (the links point back to it and go with it).
class TdxBarInternalSubMenuControl : public TdxBarSubMenuControl, private IdxBarLinksOwner {
  DECLARE_CLASS(TdxBarInternalSubMenuControl, TdxBarSubMenuControl)
public:
  explicit TdxBarInternalSubMenuControl(TComponent* AOwner);
  ~TdxBarInternalSubMenuControl() override;
  TdxBarItemLinks* GetOwnLinks() const { return FOwnLinks.get(); }

private:
  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override { return this; }
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override { return true; }
  TdxBarItemLinks* GetOwnedItemLinks() override { return FOwnLinks.get(); }

  std::unique_ptr<TdxBarSubMenuControlItemLinks> FOwnLinks;
};

// The menu of a dock site's or toolbar's toolbars: a check entry per toolbar and
// "&Customize...".
class TdxBarToolbarsPopup : public TdxBarInternalSubMenuControl {
  DECLARE_CLASS(TdxBarToolbarsPopup, TdxBarInternalSubMenuControl)
public:
  explicit TdxBarToolbarsPopup(TComponent* AOwner) : TdxBarInternalSubMenuControl(AOwner) {}
};

// The menu of customizing commands: never animated; its links reach the manager's
// customizing-popup hook before it shows.
class TdxBarCustomizingPopup : public TdxBarInternalSubMenuControl {
  DECLARE_CLASS(TdxBarCustomizingPopup, TdxBarInternalSubMenuControl)
public:
  explicit TdxBarCustomizingPopup(TComponent* AOwner);
  // Hands the links to the manager's customizing-popup hook.
  void NotifyBarManager();
  void Popup() override;
  // Its entries are commands that run, whatever the manager is doing.
  bool IsCustomizing() const override { return false; }
  // Called with the popup's links before it shows.
  static std::function<void(TdxBarManager*, TdxBarItemLinks*)> CustomizingPopupHook;
};
