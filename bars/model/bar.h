// Bars: the definition of one toolbar or menu bar of a bar manager (its caption, links,
// docking state and visibility), the manager's bar collection with its own dock sites and
// the mouse drag that moves a bar window, and the buttons of a bar's caption. Model layer:
// a bar never paints; while visible its links own the bar window it tells of each change.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "bars/barwindows/dockcontrol.h"
#include "bars/hints/hintwindow.h"
#include "bars/model/itemlinks.h"
#include "bars/layout/layoutformat.h"
#include "bars/model/manager.h"
#include "bars/itemcontrols/ownfont.h"
#include "lookandfeel/cxClasses.h"
#include "platform/Bitmap.h"
#include "platform/Collection.h"
#include "platform/Graphics.h"
#include "platform/Threads.h"

class TdxBar;
class TdxBarCaptionButtons;
class TdxBarControl;
class TdxBarDockControl;
class TdxBars;
class TdxDockControl;
class TdxDockRow;

enum TdxBarBorderStyle { bbsNone, bbsSingle };
DECLARE_ENUM_INFO(TdxBarBorderStyle)

// What a bar tells its listeners (TdxBarItem::BarNotification) when it goes.
inline constexpr int dxBarNotificationDestroying = 0;

// The merge bookkeeping of one bar: the bars merged into it, the bars remembered for merging
// again, and the state it had before it was merged itself.
struct TdxBarMergeData {
  std::vector<TWeakRef<TdxBar>> MergedBars;
  std::vector<TWeakRef<TdxBar>> RememberedBars;
  // The manager made this bar only to receive merged bars: it goes when the last one leaves.
  bool CreatedForMerging = false;
  bool StoredVisible = false;
  TWeakRef<TdxBar> MergedWith;
  bool VisibleBeforeMerge = false;
};

// ---------------------------------------------------------------------------

// One button in a bar's caption. The bar window sets its rectangle and draws it.
class TdxBarCaptionButton : public TCollectionItem, public IdxBarHintSource {
  DECLARE_CLASS(TdxBarCaptionButton, TCollectionItem)
public:
  // Button states as the bar window draws them.
  enum { bsNormal = 0, bsDisabled = 1, bsHot = 2, bsPressed = 4 };

  explicit TdxBarCaptionButton(TCollection* ACollection);
  ~TdxBarCaptionButton() override;
  void Assign(TPersistent* Source) override;

  // Fires OnClick with the button.
  void Click();
  TdxBarCaptionButtons* GetCaptionButtons() const;
  // Whether a hint shows, and which: only while the button is hot.
  bool GetHint(String& AHint) const;
  bool IsEnabled() const { return FState != bsDisabled; }

  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  const String& GetHintText() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  const String& GetKeyTip() const { return FKeyTip; }
  void SetKeyTip(const String& Value) { FKeyTip = Value; }
  TComponent* GetScreenTip() const { return FScreenTip.Get(); }
  void SetScreenTip(TComponent* Value) { FScreenTip = Value; }
  TRect GetRect() const { return FRect; }
  void SetRect(const TRect& Value) { FRect = Value; }
  int GetState() const { return FState; }
  // Stores a changed state, lets the bar window update the button's hint and signals a change.
  void SetState(int Value);
  // The hint window's view info and position: the bar window's painter's, with the button's
  // screen tip.
  std::unique_ptr<TdxBarCustomHintViewInfo> CreateHintViewInfo(const String& AText, const String& AShortCut) override;
  TPoint GetHintPosition(const TPoint& ACursorPos) override;

  TNotifyEvent OnClick;

private:
  void GlyphChanged(TObject* Sender);

  bool FEnabled = true;
  std::unique_ptr<TBitmap> FGlyph;
  String FHint;
  String FKeyTip;
  TWeakRef<TComponent> FScreenTip;
  TRect FRect{};
  int FState = bsNormal;
};

using TdxBarCaptionButtonsChangedEvent = TEvent<void(TdxBarCaptionButtons* Sender, TdxBarCaptionButton* AButton)>;

// The caption buttons of one bar.
class TdxBarCaptionButtons : public TCollection {
  DECLARE_CLASS(TdxBarCaptionButtons, TCollection)
public:
  explicit TdxBarCaptionButtons(TdxBar* ABar);

  TPersistent* GetOwner() const override;
  TdxBar* GetBar() const { return FBar; }
  int GetCount() const { return Count(); }
  TdxBarCaptionButton* GetItem(int Index) const { return static_cast<TdxBarCaptionButton*>(Items(Index)); }
  TdxBarCaptionButton* Add() { return static_cast<TdxBarCaptionButton*>(TCollection::Add()); }

  // The first enabled button whose rectangle holds P; -1 when none.
  int IndexOfButtonAt(const TPoint& P) const;
  // The union of the non-empty button rectangles.
  TRect GetButtonsRect() const;
  // Hot (or pressed) for the enabled button under P, normal for the others.
  void UpdateButtonStates(const TPoint& P, bool Pressed);

  TdxBarCaptionButtonsChangedEvent OnChanged;

protected:
  void Update(TCollectionItem* Item) override;

private:
  TdxBar* FBar;
};

// ---------------------------------------------------------------------------

class TdxBar : public TcxComponentCollectionItem, public IdxBarLinksOwner {
  DECLARE_CLASS(TdxBar, TcxComponentCollectionItem)
public:
  explicit TdxBar(TComponent* AOwner);
  ~TdxBar() override;
  void BeforeDestruction() override;

  void Assign(TPersistent* Source) override;
  void SetName(const String& NewName) override;
  // Joining a manager's bars attaches the bar to that manager.
  void SetCollection(TcxComponentCollection* Value) override;
  void Loaded() override;
  void Updating() override;
  void Updated() override;

  TdxBarManager* GetBarManager() const;
  TdxBarControlItemLinks* GetItemLinks() const { return FItemLinks.get(); }
  void SetItemLinks(TdxBarControlItemLinks* Value);
  // The bar window while the bar shows one.
  TdxBarControl* GetControl() const;
  // DockControl, else (docked) the manager's own site of DockingStyle, else nil.
  TdxDockControl* GetRealDockControl() const;
  // The bar window class: the real dock control's, else TdxBarControl.
  virtual TClass GetControlClass() const;
  virtual void CaptionButtonsChanged(TdxBarCaptionButtons* Sender, TdxBarCaptionButton* AButton);

  // --- Docking state.
  TdxBarDockControl* GetDockControl() const;
  void SetDockControl(TdxBarDockControl* Value);
  TdxBarDockingStyle GetDockingStyle() const;
  void SetDockingStyle(TdxBarDockingStyle Value);
  // Both in one step; one of a manager's own sites counts as nil.
  void SetDocking(TdxBarDockingStyle AStyle, TdxBarDockControl* ADockControl);
  TdxBarDockControl* GetDockedDockControl() const { return FDockedDockControl.Get(); }
  void SetDockedDockControl(TdxBarDockControl* Value);
  TdxBarDockingStyle GetDockedDockingStyle() const;
  void SetDockedDockingStyle(TdxBarDockingStyle Value);
  // Whether the bar has a place to dock back to: it has been docked, or a docked place other
  // than the defaults was given to it.
  bool HasDockedPlace() const { return FHasDockedPlace; }
  int GetDockedLeft() const { return FDockedLeft; }
  void SetDockedLeft(int Value);
  int GetDockedTop() const { return FDockedTop; }
  void SetDockedTop(int Value);
  int GetFloatLeft() const { return FFloatLeft; }
  void SetFloatLeft(int Value);
  int GetFloatTop() const { return FFloatTop; }
  void SetFloatTop(int Value);
  int GetFloatClientWidth() const { return FFloatClientWidth; }
  void SetFloatClientWidth(int Value);
  int GetFloatClientHeight() const { return FFloatClientHeight; }
  void SetFloatClientHeight(int Value);
  // The row the dock site keeps the bar in (not owned).
  TdxDockRow* GetDockRow() const { return FDockRow; }
  void SetDockRow(TdxDockRow* Value) { FDockRow = Value; }
  int GetRow() const;
  void SetRow(int Value);
  bool GetOneOnRow() const { return FOneOnRow; }
  void SetOneOnRow(bool Value);
  bool GetWholeRow() const { return FWholeRow; }
  void SetWholeRow(bool Value);
  TdxBarDockingStyles GetNotDocking() const { return FNotDocking; }
  void SetNotDocking(TdxBarDockingStyles Value);

  // --- Appearance and behaviour.
  bool GetAllowClose() const { return FAllowClose; }
  void SetAllowClose(bool Value);
  bool GetAllowCustomizing() const { return FAllowCustomizing; }
  void SetAllowCustomizing(bool Value) { FAllowCustomizing = Value; }
  bool GetAllowQuickCustomizing() const { return FAllowQuickCustomizing; }
  void SetAllowQuickCustomizing(bool Value);
  bool GetAllowReset() const { return FAllowReset; }
  void SetAllowReset(bool Value) { FAllowReset = Value; }
  uint8_t GetAlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(uint8_t Value);
  TBitmap* GetBackgroundBitmap() const { return FBackgroundBitmap.get(); }
  void SetBackgroundBitmap(TBitmap* Value);
  TdxBarBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TdxBarBorderStyle Value);
  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& Value);
  TdxBarCaptionButtons* GetCaptionButtons() const { return FCaptionButtons.get(); }
  void SetCaptionButtons(TdxBarCaptionButtons* Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TFont* GetFont() const { return FOwnFont->GetFont(); }
  void SetFont(TFont* Value);
  // The copy of Font kept in step while UseOwnFont is set.
  TFont* GetRealFont() const { return GetUseOwnFont() ? FOwnFont->GetWorkingFont() : GetFont(); }
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  bool GetHidden() const { return FHidden; }
  void SetHidden(bool Value);
  bool GetIsMainMenu() const { return FIsMainMenu; }
  bool IsMainMenu() const { return FIsMainMenu; }
  void SetIsMainMenu(bool Value);
  const String& GetKeyTip() const { return FKeyTip; }
  void SetKeyTip(const String& Value) { FKeyTip = Value; }
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  const String& GetOldName() const { return FOldName; }
  void SetOldName(const String& Value) { FOldName = Value; }
  bool GetRotateWhenVertical() const { return FRotateWhenVertical; }
  void SetRotateWhenVertical(bool Value);
  bool GetShowMark() const { return FShowMark; }
  void SetShowMark(bool Value);
  bool GetSizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  bool GetUseOwnFont() const { return FOwnFont->GetUseOwnFont(); }
  void SetUseOwnFont(bool Value);
  // The manager's Font changed: a bar without its own font takes it; either way the window
  // takes its font again.
  void ManagerFontChanged();
  bool GetUseRecentItems() const;
  void SetUseRecentItems(bool Value);
  bool GetUseRestSpace() const { return FUseRestSpace; }
  void SetUseRestSpace(bool Value);
  // A new bar is hidden, so that a program fills it before it shows: make it visible once its
  // links are in.
  bool GetVisible() const;
  void SetVisible(bool Value);

  // --- Queries.
  bool CanClose() const;
  bool CanDock() const;
  bool CanReset() const { return FAllowReset && FFromForm; }
  bool CanDelete() const;
  bool IsStatusBar() const;
  bool CanShowSizeGrip() const;
  int GetFloatBorderWidth() const;
  int GetFloatBorderHeight() const;

  // --- Flags the manager sets.
  bool GetAutoHidden() const { return FAutoHidden; }
  void SetAutoHidden(bool Value) { FAutoHidden = Value; }
  void SetOldNameMode(bool Value) { FOldNameMode = Value; }
  bool IsFromForm() const { return FFromForm; }
  void SetFromForm(bool Value) { FFromForm = Value; }
  void SetStateStoringUnmerge(bool Value) { FStateStoringUnmerge = Value; }
  // Applies the pending DockControl, DockingStyle and Visible read from form data.
  void ApplyLoadedState();
  TdxBarDockControl* GetLoadedDockControl() const { return FLoadedDockControl.Get(); }
  TdxBarDockingStyle GetLoadedDockingStyle() const { return FLoadedDockingStyle; }
  bool GetLoadedVisible() const { return FLoadedVisible; }

  // Components told (TdxBarItem::BarNotification) when the bar goes.
  void AddListener(TComponent* AComponent);
  void RemoveListener(TComponent* AComponent);
  // Called first by the destructor when assigned.
  TNotifyEvent OnDestroyNotify;

  // --- Merging.
  TdxBarMergeData& GetMergeData() { return FMergeData; }
  // Takes in ABar's links; raises with the library's texts on the refused cases.
  void Merge(TdxBar* ABar, bool AStoreVisibility = true);
  // Gives back the links of ABar (of every merged bar when nil).
  void Unmerge(TdxBar* ABar = nullptr, bool ARestoreVisibility = true);
  void RememberMergedBars();
  void Remerge();

  // --- Layout storage and reset (bars/layout/layout_bars.cpp).
  void SaveToIni(TCustomIniFile* AIniFile, const String& ABase, bool AIsRegistry, int AIndex);
  // Reads section AIndex whole, then applies it: the links, and with ALoadBarState the
  // caption, docking, floating place, row and visibility.
  void LoadFromIni(TCustomIniFile* AIniFile, const String& ABase, bool ALoadBarState, bool AIsRegistry, int AIndex);
  // AShow false leaves the visibility to ShowLoaded (the manager shows loaded bars in row order).
  void ApplyLayout(const TdxBarLayoutStore& AStore, const TdxBarLayout& ALayout, bool ALoadBarState, bool AShow = true);
  // Shows or hides the bar as loaded; a floating one comes wholly onto the work area.
  void ShowLoaded(bool AVisible);
  TdxBarLayout GetLayout(const TdxBarLayoutStore& AStore) const;
  TdxBarLinksLayoutKind GetLinksLayoutKind() const;
  // Asks with the library's text (OK and Cancel, exclamation icon); resets on OK.
  void ResetWithConfirmation();
  // Puts the bar back as the initial layout has it: its links always, its place with the
  // manager's UseFullReset. Nothing when the initial layout has no bar of this caption.
  void Reset();

  // --- IdxBarLinksOwner.
  TObject* GetInstance() override { return this; }
  TdxBarItemLinks* GetOwnedItemLinks() override;
  TCustomdxBarControl* CreateBarControl() override;
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override;
  bool AllItemsFit() const override { return false; }

  // Places the window: into its dock site at (DockedLeft, DockedTop) or floating at
  // (FloatLeft, FloatTop), then shows it as the form's state allows.
  void PlaceControl();
  // Applies the position properties to the window now.
  void ApplyPosition();

protected:
  TcxComponentCollection* GetCollectionFromParent(TComponent* AParent) override;

private:
  friend class TdxBars;
  friend class TdxBarManager;  // a stored layout takes every bar out of its row first
  void AttachToManager(TdxBarManager* AManager);
  bool IsManagerLoading() const;
  bool IsManagerDestroying() const;
  bool IsLoadingAsAncestor() const;
  void BackgroundBitmapChanged(TObject* Sender);
  void RefreshFrame();
  void RebuildControl();
  void UpdateControlCaption();
  void SetPositionValue(int& AField, int Value);
  void DoDockingStyleChanged();
  // What the bar asks of and tells its window and dock sites (bars/barwindows/bar_window.cpp).
  void UpdateControlFont();
  void StoreControlDockingState();
  TdxBarDockingStyle ControlDockingStyle() const;
  void SetControlDockingStyle(TdxBarDockingStyle AStyle);
  bool ControlRealDockControlIs(TdxBarDockControl* ADockControl) const;
  bool ControlInOwnDockSite() const;
  void SetControlDockControl();
  void LeaveDockRow();
  bool BelongsToManager(TdxBarDockControl* ADockControl) const;
  static TdxBarDockingStyle DockControlStyle(TdxBarDockControl* ADockControl);
  static bool IsOwnSiteOfAnyManager(TdxBarDockControl* ADockControl);
  void ShowMergedBar(TdxBar* ABar, bool AVisible);
  bool IsStoreDockingStyle() const { return !FDockControl; }
  bool IsStoreDockedDockingStyle() const { return !FDockedDockControl; }
  bool IsStoreFont() const { return GetUseOwnFont(); }

  bool FAllowClose = true;
  bool FAllowCustomizing = true;
  bool FAllowQuickCustomizing = true;
  bool FAllowReset = true;
  uint8_t FAlphaBlendValue = 255;
  std::unique_ptr<TBitmap> FBackgroundBitmap;
  TdxBarBorderStyle FBorderStyle = bbsSingle;
  String FCaption;
  std::unique_ptr<TdxBarCaptionButtons> FCaptionButtons;
  TColor FColor = clDefault;
  bool FDockingChanging = false;
  TWeakRef<TdxBarDockControl> FDockControl;
  TWeakRef<TdxBarDockControl> FDockedDockControl;
  TdxBarDockingStyle FDockedDockingStyle = dsTop;
  bool FHasDockedPlace = false;
  int FDockedLeft = 0;
  int FDockedTop = 0;
  TdxBarDockingStyle FDockingStyle = dsNone;
  TdxDockRow* FDockRow = nullptr;
  int FFloatLeft = 0;
  int FFloatTop = 0;
  int FFloatClientWidth = 0;
  int FFloatClientHeight = 0;
  std::unique_ptr<TdxBarOwnFont> FOwnFont;
  std::vector<TWeakRef<TComponent>> FListeners;
  std::unique_ptr<TBitmap> FGlyph;
  bool FHidden = false;
  bool FAutoHidden = false;
  bool FIsMainMenu = false;
  bool FOldNameMode = false;
  bool FFromForm = false;
  std::unique_ptr<TdxBarControlItemLinks> FItemLinks;
  String FKeyTip;
  TWeakRef<TdxBarDockControl> FLoadedDockControl;
  TdxBarDockingStyle FLoadedDockingStyle = dsNone;
  bool FLoadedVisible = false;
  TdxBarMergeData FMergeData;
  bool FPositionPending = false;
  TdxBarDockingStyles FNotDocking;
  bool FMultiLine = false;
  bool FOneOnRow = false;
  String FOldName;
  bool FRotateWhenVertical = true;
  int FRow = 0;
  bool FStateStoringUnmerge = false;
  bool FShowMark = true;
  bool FSizeGrip = true;
  bool FUseRestSpace = false;
  bool FVisible = false;
  bool FWholeRow = false;
  bool FDestroyingSelf = false;  // the destructor runs: an unmerge must not free the bar again
  TWeakRef<TdxBarManager> FBarManager;
};

// ---------------------------------------------------------------------------

// Whether a link sits on a bar (a toolbar), rather than in a menu or popup.
bool dxBarIsLinkOnBar(const TdxBarItemLink* ALink);

// Whether Ctrl is held now (keeps a dragged bar floating); the asynchronous key state,
// replaceable so that a test can stand in for a keyboard whose state the display resets.
extern bool (*dxBarIsControlKeyDown)();

// The manager's bars, its four own dock sites, and the mouse drag of a bar window.
class TdxBars : public TcxComponentCollection {
  DECLARE_CLASS(TdxBars, TcxComponentCollection)
public:
  explicit TdxBars(TdxBarManager* ABarManager);
  ~TdxBars() override;

  TdxBarManager* GetBarManager() const { return FBarManager; }
  TdxBar* GetItem(int Index) const { return static_cast<TdxBar*>(TcxComponentCollection::GetItem(Index)); }
  TdxBar* Add() { return static_cast<TdxBar*>(TcxComponentCollection::Add()); }
  String GetItemPrefixName() const override { return L"Tdx"; }
  void Notify(TcxComponentCollectionItem* AItem, TcxComponentCollectionNotification AAction) override;

  // Makes the four own dock sites on the manager's parent control (once).
  void CreateDockControls();
  // The manager's own dock site of a side; nil for dsNone.
  TdxDockControl* GetDockControl(TdxBarDockingStyle AStyle) const;
  // Whether AControl is one of the four own sites.
  bool IsOwnDockControl(const TObject* AControl) const;
  // Docks the window at a screen point into ADockControl, else into the side's own site.
  void DockBarControl(TdxBarDockingStyle AStyle, TdxDockControl* ADockControl, const TPoint& P,
                      TdxBarControl* ABarControl);
  void UndockBarControl(TdxBarDockingStyle AStyle, TdxDockControl* ADockControl, TdxBarControl* ABarControl);
  // Every bar with a window rebuilds it.
  void RebuildAll();

  // Moves ABarControl with the mouse until the button goes up, Esc or the capture is lost.
  void DragBar(TdxBarControl* ABarControl);
  bool IsDragging() const { return FDragging; }
  TdxBarControl* GetDraggingBarControl() const { return FMovingBarControl; }
  // The grab offset the dock site corrects by while a bar is dragged.
  TPoint GetDragOffset() const { return FDragOffset; }
  // The cursor less the dragged docked window's top-left corner at the drag's start.
  TPoint GetDragPoint() const { return FDragPoint; }
  TdxBarDockingStyle GetDragOriginalStyle() const { return FOriginalDockingStyle; }
  // How far outside its own rectangle a dock site takes a dragged bar.
  int GetDockingZoneSize() const { return 20; }
  // Moves the dragged bar to screen point P (also what the docking timer repeats).
  void MoveBarTo(const TPoint& P, bool ATimerDriven = false);
  // The window a mouse drag of the manager captures: the Customize dialog while customizing,
  // else the form's.
  HWND GetCaptureWindow() const;

private:
  void KillWaitTimer();
  void StartWaitTimer();
  void EndDrag();
  bool FindTarget(const TPoint& P, TdxBarDockingStyle& AStyle, TdxDockControl*& ADockControl) const;

  TdxBarManager* FBarManager;
  std::array<TWeakRef<TdxDockControl>, 5> FDockControls{};
  // Where the cursor holds the dragged window, in window coordinates.
  TPoint FGrabPoint{0, 0};
  bool FTimerDriven = false;
  TdxBarControl* FMovingBarControl = nullptr;
  bool FDragging = false;
  TdxBarDockingStyle FOriginalDockingStyle = dsNone;
  TPoint FDragOffset{0, 0};
  TPoint FDragPoint{0, 0};
  TLaterCall FWaitCall;  // the move made again once the docking wait is over
};
