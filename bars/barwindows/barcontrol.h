// The window base of toolbars and menus: it shows the links of one link collection through
// their item controls, lays them out through its view info, routes mouse and keys to them,
// keeps the selected control, joins the process-wide chain of active bar windows and draws
// with its manager's painter. It never takes the focus or activation from its form.
#pragma once

#include "bars/model/itemtypes.h"
#include "bars/model/manager.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxControls.h"
#include "platform/Controls.h"

#include <memory>
#include <typeinfo>
#include <vector>

// Option bits of a bar window (GetOptions).
// A client-aligned control on a horizontal bar is stretched over the rest of its line.
inline constexpr uint32_t dxBarOptionStretchClientControls = 16;
// The window tracks whether its selection came from the keyboard; an open quick-customizing
// popup freezes the mouse selection.
inline constexpr uint32_t dxBarOptionKeyboardSelection = 64;

// How far a walk up the parent bar controls goes (a menu to the menus and the bar that opened
// it): real nesting is a handful of levels, and a chain made circular by mistake must not hang.
inline constexpr int dxBarMaxParentChainDepth = 64;

// The state bits that guard the layout, close and rebuild steps against re-entry.
enum : uint8_t {
  dxBarStateRecalculate1 = 1,
  dxBarStateRecalculate2 = 2,
  dxBarStateClosing = 8,
  dxBarStateRebuilding = 32,
};

class TcxCanvas;
class TCustomdxBarContainerItem;
class TcxRegion;
class TdxBarItemControl;
class TdxBarItemControlViewInfo;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarManager;
class TdxBarPainter;
class TdxBarShadow;
class TdxBarCustomHintViewInfo;
class TCustomdxBarControl;

// The layout of a bar window: its item controls' view infos in order, and the separators
// between groups (each after the view info it follows).
struct TdxBarSeparatorInfo {
  TdxBarItemControlViewInfo* ItemControlViewInfo = nullptr;
  TRect Bounds{};
  bool Horizontal = false;
};

class TCustomdxBarControlViewInfo : public TObject {
  DECLARE_CLASS(TCustomdxBarControlViewInfo, TObject)
public:
  using TFactoryOwner = TCustomdxBarControl;
  explicit TCustomdxBarControlViewInfo(TCustomdxBarControl* ABarControl);

  TCustomdxBarControl* GetBarControl() const { return FBarControl; }

  void AddItemControlViewInfo(TdxBarItemControlViewInfo* AViewInfo);
  void RemoveItemControlViewInfo(TdxBarItemControlViewInfo* AViewInfo);
  int GetItemControlViewInfoCount() const { return int(FItemControlViewInfos.size()); }
  // Nil out of range.
  TdxBarItemControlViewInfo* GetItemControlViewInfo(int Index) const;
  int IndexOfItemControlViewInfo(const TdxBarItemControlViewInfo* AViewInfo) const;

  void AddSeparatorInfo(const TRect& ABounds, bool AHorizontal, TdxBarItemControlViewInfo* AViewInfo);
  int GetSeparatorCount() const { return int(FSeparators.size()); }
  // False (and nothing copied) out of range.
  bool GetSeparatorInfo(int Index, TRect& ABounds, bool& AHorizontal) const;
  const TdxBarSeparatorInfo* GetSeparator(int Index) const;

  // Empties both lists.
  void Clear();
  // Fills the lists from the bar window's current layout; the base lists every shown
  // link's control and a separator before each group after the first.
  virtual void Calculate();

private:
  TCustomdxBarControl* FBarControl;
  std::vector<TdxBarItemControlViewInfo*> FItemControlViewInfos;
  std::vector<TdxBarSeparatorInfo> FSeparators;
};

// Whether the active chain was entered while its first window was customizing.
bool IsActiveChainCustomizing();
// The process-wide mark that the menus of the current activation chain show all their links
// (personalised menus): set by an expansion, and set again whenever a new chain starts (true
// while customizing, else false).
bool dxBarMenusExpanded();
void SetdxBarMenusExpanded(bool Value);
// The cursor's screen position; the no-point value (-1, -1) when it cannot be read.
TPoint dxBarCursorPos();
// The manager's update lock ended: each of its bar windows whose rebuild waited for it
// rebuilds now, once.
void dxBarRebuildPendingBarControls(TdxBarManager* AManager);
// The living bar windows of AManager in the order they were made.
std::vector<TWeakRef<TCustomdxBarControl>> dxBarGetBarControls(const TdxBarManager* AManager);

class TCustomdxBarControl : public TCustomControl, private IcxMouseTrackingCaller {
  DECLARE_CLASS(TCustomdxBarControl, TCustomControl)
public:
  // The owner is the bar manager. The window is made hidden at 100, 100, 30 x 50.
  explicit TCustomdxBarControl(TComponent* AOwner);
  ~TCustomdxBarControl() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TdxBarManager* GetBarManager() const;
  virtual TdxBarPainter* GetPainter() const;
  // What the manager starts and ends the window's mouse-leave tracking with.
  IcxMouseTrackingCaller* GetMouseTrackingCaller() { return this; }
  // Which kind of bar window this is, as items ask their bars to rebuild.
  virtual TdxBarControlKind GetKind() const { return bckToolbar; }

  // The links shown; the collection owns the window and hands itself over.
  TdxBarItemLinks* GetItemLinks() const { return FItemLinks; }
  virtual void SetItemLinks(TdxBarItemLinks* Value);
  // The window (a toolbar or menu) this one was opened from; nil for a toolbar. Setting
  // it also makes this window the parent's child menu window.
  TCustomdxBarControl* GetParentBarControl() const { return FParentBar.Get(); }
  void SetParentBarControl(TCustomdxBarControl* Value);
  // The menu window opened from this one; setting it also sets the child's parent.
  TCustomdxBarControl* GetSubMenuControl() const { return FSubMenuControl.Get(); }
  void SetSubMenuControl(TCustomdxBarControl* Value);
  // Whether this window is AControl or one of AControl's parents.
  virtual bool IsParentOf(const TCustomdxBarControl* AControl) const;

  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  virtual bool IsCustomizing() const;
  // Whether items of this window take part in design selection while customizing.
  virtual bool IsDesigning() const;
  // Whether its links take the pointer while customizing: a bar the user may customize, and
  // a menu opened from one.
  virtual bool CanCustomizeLinks() const { return IsDesigning(); }
  virtual bool IsManagerLocked() const;
  // Whether the window lays this control out by its item's alignment.
  virtual bool CanAlignControl(const TdxBarItemControl* AControl) const { return false; }

  // --- Selection.
  // The selected (hot) item control's link; nil when none.
  TdxBarItemLink* GetSelectedLink() const { return FSelectedLink; }
  TdxBarItemControl* GetSelectedControl() const;
  // Stores the selection (by link) and tells what follows it: repaints, the manager's
  // clicked link or customizing selection, hints.
  virtual void SetSelectedControl(TdxBarItemControl* Value);
  // The keyboard's or a program's selection: stops an editor of the old selection, keeps
  // a control already selected.
  virtual void SelectItemControl(TdxBarItemControl* AControl);
  // The mouse's selection: also opens a sub-item's menu while the window is active.
  virtual void SelectItemControlByMouse(TdxBarItemControl* AControl);
  // The accelerator's selection: selects, and with AUnique runs the item (an Enter key).
  virtual void SelectAndPress(TdxBarItemControl* AControl, bool AUnique);
  // The selected control is an in-place editor that is editing: the keys typed belong to
  // its window (the keyboard hook passes them on), and so does the mouse wheel.
  bool IsEditorEditing() const;
  // Whether the selection was made from the keyboard (windows with dxBarOptionKeyboardSelection).
  bool IsKeyboardSelected() const { return FKeyboardSelected; }
  // A drop-down opened from the keyboard marks its window: the menu it opens starts with its
  // first link selected and clears the mark.
  bool IsMenuShownByKeyboard() const { return FMenuShownByKeyboard; }
  void SetMenuShownByKeyboard(bool Value) { FMenuShownByKeyboard = Value; }
  // Set while the window holds the mouse capture for an item press.
  bool HoldsCapture() const { return FHoldsCapture; }
  void SetHoldsCapture(bool Value) { FHoldsCapture = Value; }
  // The link last clicked on this window; a link that goes clears it.
  TdxBarItemLink* GetLastClickedLink() const { return FLastClickedLink; }
  void SetLastClickedLink(TdxBarItemLink* Value) { FLastClickedLink = Value; }

  // --- Item controls and places.
  // The control whose layout rectangle holds a client point; while customizing only on
  // designable windows and for controls that can be selected.
  virtual TdxBarItemControl* GetItemControlAtPos(const TPoint& P) const;
  TdxBarItemControl* GetItemControlUnderCursor() const;
  TRect GetItemRect(const TdxBarItemControl* AControl) const;
  TRect GetItemScreenRect(const TdxBarItemControl* AControl);
  // The window itself, a child window of it, or a window of the selected control.
  bool IsOwnWindow(HWND AWnd);
  bool IsCursorOverWindow();
  bool IsCursorOverMark();
  // Posts a mouse move at the cursor to the window under it, so hot tracking follows a
  // change that happened under a still pointer; a bar window gets it marked
  // (dxBarHotTrackMouseMove), other windows a plain one.
  static void PostHotTrackMouseMove();

  // --- Active state and the chain of active bar windows.
  bool GetActive() const { return FActive; }
  // No window is active, or this one or one of its parents is the active one.
  virtual bool IsInActiveChain() const;
  virtual bool IsInactive() const { return !FActive; }
  // Selects AControl and enters the active state.
  virtual void ActivateWithControl(TdxBarItemControl* AControl);
  // Clears the selection and leaves the active state.
  virtual void Deactivate();
  void ActivateItemControl(TdxBarItemControl* AControl) { ActivateWithControl(AControl); }
  void DeactivateIfActive();
  // Leaves the active state and closes the parents too (Alt, F10, lost focus, a click
  // outside). The window may be freed by it: callers hold a weak reference.
  void Close();
  bool IsClosing() const { return (FState & dxBarStateClosing) != 0; }
  uint8_t GetState() const { return FState; }
  // Called with the window when it goes.
  TNotifyEvent OnCloseNotification;
  // The next left-button release is dropped (and presses until then): a press that opened
  // something the release must not click.
  void SetIgnoreMouseUp(bool Value) { FIgnoreMouseUp = Value; }
  bool GetIgnoreMouseUp() const { return FIgnoreMouseUp; }
  // Whether a press while customizing waits for the mouse to move far enough to drag.
  bool IsDragStarting() const { return FDragStarting; }
  TPoint GetDragStartPoint() const { return FDragStartPoint; }

  // --- Layout.
  // Makes the item controls again and lays them out.
  virtual void RebuildBar();
  void Rebuild();
  // While the manager's update lock is held a rebuild only marks the window (true then);
  // the lock's end rebuilds each marked window once (RebuildIfPending).
  bool DeferRebuild();
  bool IsRebuildPending() const { return FRebuildPending; }
  void RebuildIfPending();
  // Lays the existing item controls out again.
  virtual void RecalculateLayout();
  virtual void CalculateViewInfo();
  TCustomdxBarControlViewInfo* GetViewInfo() const { return FViewInfo.get(); }
  // Size reset (1) and placement (2) of every link's control, each run once at a time.
  virtual void Recalculate1();
  virtual void Recalculate2();
  void RepaintAll();
  virtual void RepaintItemControl(TdxBarItemControl* AControl);
  void ShowNoActivate();
  // A popup of AHeight at P keeps above the work area's bottom.
  virtual TPoint AdjustPopupPoint(const TPoint& P, int AHeight) const;
  int GetSeparatorSizeValue() const { return GetSeparatorSize(); }

  // --- Hints.
  void ActivateHint(bool AShow, TdxBarItemControl* AControl);
  std::unique_ptr<TdxBarCustomHintViewInfo> CreateHintViewInfo(const String& AText, const String& AShortCut,
                                                               TObject* AScreenTip) const;
  TPoint GetHintPosition(const TPoint& P) const;

  // --- Fonts.
  // The font handle the window's text is drawn with (the rotated one when the text turns).
  HFONT GetFontHandle() const;
  virtual void RefreshFont();

  // --- What the painter asks of a bar window. The painter reads the window only through
  // these, so a test double answers them without making a window. Brushes may be a system
  // colour index + 1 and are never deleted by the caller.
  // The bar kind the painter draws for: 0 horizontal toolbar, 1 menu, 2 vertical toolbar
  // (texts rotated). The base: 1 for menu windows, else 0.
  virtual int GetBarKind() const;
  // The window's brushes; the base asks the painter (button face without one).
  virtual HBRUSH GetBackgroundBrush() const;
  virtual HBRUSH GetCheckerBrush() const;
  virtual HBRUSH GetFaceBrush() const;
  virtual HBRUSH GetHighlightBrush() const;
  // Fills R as the window's background: with ABrush (a system colour index + 1 allowed),
  // else with AColor (clNone: nothing). Windows with background bitmaps tile them instead.
  virtual void FillBackground(HDC DC, const TRect& R, HBRUSH ABrush, TColor AColor = clNone) const;
  // A bitmap (of the bar, the manager or the dock site) shows through behind the items.
  virtual bool IsBackgroundShownThrough() const { return false; }
  // The height of one line of item text: the painter's text height for the window font.
  virtual int GetTextHeight() const;
  // The width of a menu's glyph column; 0 on toolbars.
  virtual int GetGlyphColumnWidth() const { return 0; }
  // The window's caption is drawn active.
  virtual bool IsActive() const { return true; }
  // The mark's state as a painter draws it.
  virtual TdxBarMarkState GetMarkState() const { return TdxBarMarkState::Normal; }
  virtual bool IsMainMenu() const { return false; }
  virtual bool IsStatusBar() const { return false; }
  // A menu whose sub item is detachable: it shows a tear-off strip at its top.
  virtual bool IsDetachable() const { return false; }
  // The background of the less-used links of an expanded personalised menu; nil elsewhere.
  virtual HBRUSH GetLessUsedBrush() const { return nullptr; }
  // Where a menu's items lie (client coordinates); the client area elsewhere.
  virtual TRect GetItemArea() const { return GetClientRect(); }

  // --- What the painter asks of a toolbar window (its caption, mark and background).
  // Base answers fit a window that is no toolbar.
  virtual TdxBarDockingStyle GetBarDockingStyle() const { return dsNone; }
  // The bar's own background bitmap; nil or empty for none.
  virtual TBitmap* GetBarBackgroundBitmap() const { return nullptr; }
  // The bar's Color; clDefault lets the dock site's background run on through the bar.
  virtual TColor GetBarColor() const { return clDefault; }
  // Fills R (client coordinates) with the dock site's background as if the site showed
  // through at this place; false when the window sits on no dock site.
  virtual bool FillDockSiteBackground(HDC DC, const TRect& R) const { return false; }
  // The floating caption's text, its caption buttons and mark, and whether it hides it.
  virtual String GetBarCaptionText() const { return String(); }
  virtual bool HasCaptionButtons() const { return false; }
  // How many buttons that caption shows: the close button and the bar's caption buttons.
  virtual int GetCaptionButtonCount() const { return 0; }
  virtual bool HasCaptionMark() const { return false; }
  // What the caption mark's area is filled with before its look is drawn on it; clNone for
  // no fill.
  virtual TColor GetCaptionMarkColor() const { return clNone; }
  virtual bool HidesCaption() const { return false; }
  // Items did not fit: the mark shows chevrons.
  virtual bool HasHiddenItems() const { return false; }
  // The bar can be docked: a docked bar shows its drag handle.
  virtual bool IsDockable() const { return false; }
  // The bar asks for the other drag-handle size (GetDragHandleSizeEx).
  virtual bool UsesDragHandleSizeEx() const { return false; }

  // --- What item controls ask of the window they sit on. Base answers; the window kinds
  // override them.
  // The canvas controls measure and draw with: over the window's canvas once the window
  // exists, else over the screen; its font starts as the window's font.
  virtual TcxCanvas* GetcxCanvas() const;
  // Turned arrow keys: a toolbar docked at the left or right side.
  virtual bool IsVertical() const { return false; }
  // Whether the window's text is drawn turned 90 degrees.
  virtual bool IsTextRotated() const { return false; }
  // The window's option bits (dxBarOption* values).
  virtual uint32_t GetOptions() const { return 0; }
  // The height a menu gives AControl; the base: one line of item text.
  virtual int GetItemHeight(const TdxBarItemControl* AControl) const { return GetTextHeight(); }
  // The view level the window's layout gives a new control.
  virtual TdxBarItemViewLevel GetItemViewLevel(const TdxBarItemControl* AControl) const { return ivlDefault; }
  // A glyph the window shows for a control without an image of its own; nil for none.
  virtual TBitmap* GetDefaultItemGlyph(const TdxBarItemControl* AControl) const { return nullptr; }
  // The control whose hint the window shows: the one under the mouse.
  virtual TdxBarItemControl* GetHotControl() const { return GetSelectedControl(); }
  // Whether the window shows hints now.
  virtual bool CanShowHint() const { return true; }
  // Leaves menu mode before a command runs: the menus it opened close, and a bar in keyboard
  // mode leaves it, so that shortcuts and typing reach the form again.
  virtual void LeaveMenuMode();
  // While active, the window takes the mouse wheel itself (the thread's mouse hook eats it
  // otherwise).
  virtual bool WantsMouseWheel() const { return false; }

  // --- What the window kinds supply.
  virtual int GetSeparatorSize() const { return 0; }
  virtual int GetBeginGroupSize() const { return GetSeparatorSize(); }
  virtual TClass GetViewInfoClass() const;
  virtual bool HasMark() const { return false; }
  virtual TRect GetMarkRect() const { return TRect{}; }
  virtual TSize GetMarkSize() const { return TSize{}; }
  // Sets the mark's state; a toolbar's mark pressed opens its popup.
  virtual void ClickMark(TdxBarMarkState AState) {}
  // The docking style (a TdxBarDockingStyle) of a toolbar; nothing in the base.
  virtual void SetDockingStyle(TdxBarDockingStyle Value) {}
  virtual bool CanPaintNonClient() const { return false; }
  virtual HDC GetNonClientDC();
  virtual void ReleaseNonClientDC(HDC DC);
  virtual void PaintNonClient(HDC DC) {}
  // The rectangle of the item that opened the window (screen), for the shadow; empty in
  // the base.
  virtual TRect GetOwnerItemRect() const { return TRect{}; }
  virtual bool IsOwnerRectAdjacent() const { return false; }
  bool IsShowing() override;
  // The area item controls may draw in (client coordinates): the client area less the mark.
  virtual TRect GetItemClipRect(const TdxBarItemControl* AControl) const;
  // The region AControl's drawing is clipped to: its rectangle within GetItemClipRect.
  virtual TcxRegion* CreateClipRegion(const TdxBarItemControl* AControl) const;
  // Draws one control through the painter, clipped, then its clipped-off part.
  virtual void DrawItemControl(TcxCanvas* ACanvas, TdxBarItemControl* AControl, const TRect& R);
  // Fills the part of R outside AControl's clip region with the window's background.
  virtual void DrawClipped(TcxCanvas* ACanvas, TdxBarItemControl* AControl, const TRect& R);
  // The window's background into the paint buffer; the base fills it with the background
  // brush.
  virtual void PaintBackground(TcxCanvas* ACanvas, const TRect& R);
  // The bitmap the window paints into before the screen sees it.
  TBitmap* GetBitmapBuffer() const { return FBitmapBuffer.get(); }
  TdxBarShadow* GetShadow() const { return FShadow.get(); }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWindowHandle() override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  // The element under a client point (window kinds: caption, mark, border ...); the base:
  // HTCLIENT inside the client area, HTNOWHERE outside.
  virtual int HitTest(const TPoint& P);
  // The steps a press, a move and a release hand to the control under the point.
  virtual void ControlMouseDown(TMouseButton Button, TShiftState Shift, bool AInClient, TdxBarItemControl* AControl,
                                const TPoint& P);
  // While customizing, the popup of this window pressed where it has no link.
  void ShowBarControlPopup();
  virtual void ControlMouseMove(TShiftState Shift, TdxBarItemControl* AControl, const TPoint& P);
  virtual void ControlMouseUp(TMouseButton Button, TShiftState Shift, TdxBarItemControl* AControl, const TPoint& P);
  // Whether item mouse handling is skipped: while customizing, with AUseStoredPoint when the
  // cursor has not moved from the stored point, or when it is outside the window.
  virtual bool IsMouseOutside(bool AUseStoredPoint = false) const;
  // The mouse came over the window (the item under it is entered) and left it.
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  // Another bar window under the cursor lets its hot item go, so that one window activated by
  // key does not show beside another's hot item.
  static void LeaveBarControlUnderCursor(const TCustomdxBarControl* AExcept);
  virtual void DoCloseNotification();
  // Remakes the item controls (and expands container items when AExpandContainers).
  virtual void RecreateControls(bool AExpandContainers = true);
  // Whether the window shows a container's content in its place rather than the container:
  // menus do, unless customized.
  virtual bool ListsContainers() const { return GetKind() == bckSubMenu && !IsCustomizing(); }
  // Lists containers and has a container among its links.
  bool ListsContainedLinks() const;
  // Gives each visible link that has none its item control.
  void CreateMissingControls();
  virtual void SetActive(bool Value);
  // Whether the window may enter (or leave) the active state now.
  virtual bool CanChangeActive(bool AValue) const { return true; }
  // What the window does when the close operation runs: leaves the active state.
  virtual void DoClose();
  // The double click on the selected control that wants it.
  virtual void DoubleClickItemControl(TdxBarItemControl* AControl);
  // The right button may select.
  virtual bool CanSelectByRightButton() const { return true; }
  // A toolbar keeps its selection while active when the mouse goes over no control.
  virtual bool KeepsSelectionWhenOverNothing() const { return GetKind() == bckToolbar && FActive; }
  // Moves the selection to a sub-item's menu; the menu window kind opens it.
  virtual void ScrollIntoView(TdxBarItemControl* AControl) {}
  // Ctrl+Tab: moves to the next (or previous) bar that shows links; toolbars only.
  virtual void MoveToNextBar(bool AForward);
  // The toolbar windows Ctrl+Tab visits, in order; the base: the manager's toolbar windows
  // in the order they were made.
  virtual std::vector<TCustomdxBarControl*> GetTabOrderBars() const;

  // The keys of an active bar window: arrows, Tab, Home, End, Alt, F10 and accelerators.
  // True when the key was used; window kinds handle more keys (Enter, Escape) after it.
  virtual bool BarKeyDown(WORD AKey, TShiftState AShift);
  // WM_KEYDOWN while a bar window is active: BarKeyDown, and an unused key gets the default
  // handling. A window kind that handles more keys overrides BarKeyDown (or this).
  virtual void WMKeyDownBar(TMessage& Message);
  // The handlers of the window's message table.
  void WMMouseBar(TMessage& Message);
  void LButtonUp(TMessage& Message);
  void WMCommandBar(TMessage& Message);
  void WMSetFocusBar(TMessage& Message);
  void WMKillFocusBar(TMessage& Message);
  void WMNCActivateBar(TMessage& Message);
  void WMMouseActivateBar(TMessage& Message);
  void WMCaptureChangedBar(TMessage& Message);
  void WMDestroyBar(TMessage& Message);
  void WMNCPaintBar(TMessage& Message);
  void WMPaintBar(TMessage& Message);
  void WMSetCursorBar(TMessage& Message);
  void WMWindowPosChangedBar(TMessage& Message);
  void CtlColorEdit(TMessage& Message);
  void SetFocusAway();
  // The painter's flag a control is drawn with; false in the base.
  virtual bool GetItemDrawFlag(const TdxBarItemControl* AControl) const { return false; }
  // Draws the shown links' controls that meet AUpdateRect, with design outlines.
  virtual void PaintItems(TcxCanvas* ACanvas, const TRect& AUpdateRect);
  // A size change: a window kind with a window region remakes it.
  virtual void UpdateWindowRegion() {}
  // The shadow follows the window.
  virtual void UpdateShadowPosition(bool ARecalcRegion);
  // The outline of a link in the design selection.
  virtual void DrawSelectionOutline(TcxCanvas* ACanvas, TdxBarItemLink* ALink, const TRect& R, bool ACurrent);

  // The canvases behind GetcxCanvas, made on first use.
  mutable std::unique_ptr<TcxCanvas> FItemCanvas;
  // The last text height measured, with what it was measured for.
  mutable struct {
    bool Valid = false;
    const std::type_info* Painter = nullptr;
    bool HasFont = false;
    LOGFONTW Font{};
    int Height = 0;
  } FTextHeightCache;
  mutable std::unique_ptr<TcxCanvas> FScreenItemCanvas;
  TdxBarItemLinks* FItemLinks = nullptr;
  TWeakRef<TCustomdxBarControl> FParentBar;
  TWeakRef<TCustomdxBarControl> FSubMenuControl;
  TdxBarItemLink* FSelectedLink = nullptr;
  TdxBarItemLink* FLastClickedLink = nullptr;
  bool FHoldsCapture = false;
  bool FDragStarting = false;
  TPoint FDragStartPoint{0, 0};
  bool FIgnoreMouseUp = false;
  bool FActive = false;
  bool FMenuShownByKeyboard = false;
  bool FKeyboardSelected = false;
  TWeakRef<TCustomdxBarControl> FPrevActiveBarControl;
  TPoint FLastMousePoint{-1, -1};
  uint8_t FState = 0;
  bool FHotTrackRunning = false;
  // The next WM_MOUSEMOVE is handled even at the stored point (the move that brings the
  // mouse in, or one marked dxBarHotTrackMouseMove).
  bool FForceNextMouseMove = false;
  bool FHotTrackMoving = false;  // handling a posted hot-tracking move
  // A rebuild asked for while the manager was locked.
  bool FRebuildPending = false;
  // The bar had a window once; a rebuild found item controls but no window to rebuild for.
  bool FHadWindow = false;
  bool FControlsStale = false;
  // The first window keeps the item controls made to measure the links before it existed.
  bool FKeepControls = false;
  // Links inserted for container items and the container links taken out meanwhile.
  struct TContainerExpansion {
    // Weak: the container item may go, with its links, while they are expanded.
    TWeakRef<TdxBarItemLink> ContainerLink;
    // A container item that listed its links here itself, and takes exactly them back.
    TWeakRef<TCustomdxBarContainerItem> ListingItem;
    bool ContainerRemoved = false;
    int Index = -1;
    std::vector<TWeakRef<TdxBarItemLink>> AddedLinks;
  };
  std::vector<TContainerExpansion> FContainerLinks;

private:
  void MouseLeave() override;
  void ExpandContainers();
  void CollapseContainers();
  void SelectLinkByKey(TdxBarItemLink* ALink, bool AByTab);
  void RemoveFromActiveChain();
  void ArmDrag(const TPoint& AScreenPoint);
  void CancelPendingDrag();
  HFONT CreateRotatedFont() const;

  std::unique_ptr<TBitmap> FBitmapBuffer;
  std::unique_ptr<TcxCanvas> FBufferCanvas;
  std::unique_ptr<TCustomdxBarControlViewInfo> FViewInfo;
  std::unique_ptr<TdxBarShadow> FShadow;
  mutable HFONT FRotatedFont = nullptr;
};
