// The toolbar window: the window of one bar, docked as a child of a dock site or floating as
// a popup with caption, close button and sizing frame. It sizes the bar for each docking
// style, breaks and places the item controls, tracks the mark, the caption buttons and the
// MDI child buttons, and moves between docked and floating.
#pragma once

#include <vector>

#include "bars/barwindows/barcontrol.h"
#include "bars/model/manager.h"

class TdxBar;
class TdxDockControl;
class TdxDockCol;
class TdxBarControl;

// ---------------------------------------------------------------------------
// The layout arithmetic, kept apart from the window so it can be checked on plain numbers.
// Everything is in the bar's own axes: "length" runs along the bar (x of a horizontal bar,
// y of a vertical one), "thickness" across it.

struct TdxBarLayoutLink {
  // In: the control's length and thickness, its smallest length (client alignment), the
  // link's group start and the alignment the window lays it out with.
  int Length = 0;
  int Thickness = 0;
  int MinLength = 1;
  bool BeginGroup = false;
  TdxBarItemAlign Align = iaLeft;
  // Set by the line breaking; the placement starts a new line at such a link.
  bool LineStart = false;
  // Out of the placement: shown, its rectangle (centred across its line), the line it lies
  // on (start and thickness across) and whether it ends that line.
  bool Shown = false;
  TRect Bounds{};
  int LineTop = 0;
  int LineThickness = 0;
  bool LineEnd = false;
};

// The whole size of a set of broken lines, in the bar's axes.
struct TdxBarLineBreak {
  int Length = 0;
  int Thickness = 0;
  int LineCount = 0;
};

// Breaks the links into lines no longer than ALimit (the first link of a line always stays)
// and marks the links that start a line. A link that does not fit moves its whole group (from
// the nearest earlier group start after the line's first link) to the next line. Between lines
// lies the separator space when the next line begins a group. The MDI area goes at the end of
// the last line when it fits, else on a line of its own.
TdxBarLineBreak dxBarBreakLines(std::vector<TdxBarLayoutLink>& ALinks, int ALimit, int ASeparatorSize,
                                int AMDIAreaLength = 0, int AMDIAreaThickness = 0);

// How many leading links fit one after another (with their group separators) into ALength;
// the first always counts.
int dxBarSingleLineFitCount(const std::vector<TdxBarLayoutLink>& ALinks, int ALength, int ASeparatorSize);

struct TdxBarPlacementParams {
  int AvailableLength = 0;  // the client length less the mark (docked) and the MDI area (single line)
  int ClientThickness = 0;  // the thickness of a single line
  int SeparatorSize = 0;
  bool MultiLine = false;
  int MDIAreaLength = 0;  // kept free after an aligned link on a multi-line bar
};

struct TdxBarPlacementResult {
  int ShownCount = 0;
  bool ItemsHidden = false;
};

// Places the links (see TdxBarControl::CalculateViewInfo): single-line bars stop at the
// first link that does not fit; multi-line bars wrap, honour the line-start marks and
// centre every line; non-left alignments take the rest of the line.
TdxBarPlacementResult dxBarPlaceLinks(std::vector<TdxBarLayoutLink>& ALinks, const TdxBarPlacementParams& AParams);

// A separator of the toolbar: the shown link it precedes, its rectangle and whether it runs
// along the bar (between wrapped lines) rather than across it.
struct TdxBarToolbarSeparator {
  int LinkIndex = -1;
  TRect Bounds{};
  bool Horizontal = false;
};

// The separators of placed links, in the bar's axes: before every shown link with a group
// start; across the whole ALineLength above a link that starts a wrapped line.
std::vector<TdxBarToolbarSeparator> dxBarCalcSeparators(const std::vector<TdxBarLayoutLink>& ALinks, int ALineLength,
                                                        int ASeparatorSize);

// ---------------------------------------------------------------------------
// The toolbar's view info: its controls and the separators of the last layout (client
// coordinates), taken from the toolbar's placement.

class TdxBarControlViewInfo : public TCustomdxBarControlViewInfo {
  DECLARE_CLASS(TdxBarControlViewInfo, TCustomdxBarControlViewInfo)
public:
  using TFactoryOwner = TCustomdxBarControl;
  explicit TdxBarControlViewInfo(TCustomdxBarControl* ABarControl);
  void Calculate() override;
};

// ---------------------------------------------------------------------------
// The toolbar window.

// The close button of a floating caption, as the caption-button loop names it.
inline constexpr int dxBarCloseButtonIndex = -2;
// The mark, as keyboard navigation names the parts of a toolbar that are no item controls.
inline constexpr int dxBarMarkIndex = -3;
// No such part.
inline constexpr int dxBarNoPartIndex = -1;
// The mark's hot-tracking timer of a floating bar.
inline constexpr UINT_PTR dxBarMarkTimerID = 1;
inline constexpr UINT dxBarMarkTimerInterval = 50;
// A floating bar's client is never narrower.
inline constexpr int dxBarFloatingMinClientWidth = 51;
// A floating bar's top is never moved further above the screen.
inline constexpr int dxBarFloatingTopLimit = -15;
// The option bit (GetOptions) of a toolbar kind that never docks: it is sized as floating.
inline constexpr uint32_t dxBarOptionNotDocked = 1;

class TdxBarControl : public TCustomdxBarControl {
  DECLARE_CLASS(TdxBarControl, TCustomdxBarControl)
public:
  // Built by the bar through its control class (ABar->GetControlClass()->Create(ABar)); the
  // owner is the bar's manager.
  using TFactoryOwner = TdxBar;
  explicit TdxBarControl(TdxBar* ABar);
  // A hidden internal bar of its own in the manager's bars, shown inside AParentBarControl.
  static TdxBarControl* CreateInternal(TComponent* AOwner, TCustomdxBarControl* AParentBarControl);
  ~TdxBarControl() override;
  void BeforeDestruction() override;

  TdxBar* GetBar() const { return FBar; }
  TdxBarDockingStyle GetDockingStyle() const { return FDockingStyle; }
  // Moves the window between its dock site and floating: a new window of the right kind
  // (unless moving, when the spare window of the other kind is switched in).
  void SetDockingStyle(TdxBarDockingStyle Value) override;
  TdxDockControl* GetDockControl() const;
  bool IsVertical() const override;
  bool IsHorizontal() const { return FDockingStyle == dsTop || FDockingStyle == dsBottom; }
  bool IsFloating() const { return FDockingStyle == dsNone; }
  bool IsTextRotated() const override;
  // Floating bars wrap; docked ones when the bar is MultiLine.
  virtual bool IsMultiLine() const;
  bool IsInternal() const { return FInternal; }
  bool IsDesigning() const override;
  TClass GetViewInfoClass() const override;
  void SetVisible(bool Value) override;

  // --- Sizes.
  // The whole window size (with frame) for a docking style.
  TPoint CalcSize(TdxBarDockingStyle AStyle);
  // CalcSize scaled by the drag ratios while the bar is dragged between styles.
  TPoint GetSize(TdxBarDockingStyle AStyle);
  // Numerator and denominator for the width and for the height; a zero denominator
  // turns the scaling off.
  void SetDragSizeRatios(int AWidthNum, int AWidthDen, int AHeightNum, int AHeightDen);
  // Client sizes.
  virtual int GetMinWidth(TdxBarDockingStyle AStyle);
  virtual int GetMinHeight(TdxBarDockingStyle AStyle);
  int GetPreferredWidth(TdxBarDockingStyle AStyle);
  int GetPreferredHeight(TdxBarDockingStyle AStyle);
  virtual TPoint GetSizeForWidth(TdxBarDockingStyle AStyle, int AWidth);
  TPoint GetSizeForHeight(TdxBarDockingStyle AStyle, int AHeight);
  // The non-client width and height (the painter's borders) of a style.
  TPoint GetFrameSize(TdxBarDockingStyle AStyle);
  // The borders on each side.
  TRect GetBorders(TdxBarDockingStyle AStyle);
  // Sizes the floating window for the bar's FloatClientWidth.
  void SizeForFloating();

  // --- Layout state.
  // Set while the user drags an item's width; the dock row keeps the next window in place.
  bool IsResizingItem() const { return FResizingItem; }
  void SetResizingItem(bool Value) { FResizingItem = Value; }
  // The control whose width the user drags (while customizing); nil when none.
  TdxBarItemControl* GetResizingControl() const;
  bool GetItemsHidden() const { return FItemsHidden; }
  void SetItemsHidden(bool Value) { FItemsHidden = Value; }
  // Every shown link is laid out again (the dock site's row layout).
  void ShowAllLinks();
  // How many shown links the layout placed.
  int GetVisibleCount() const { return FVisibleCount; }
  void CalculateViewInfo() override;
  void RebuildBar() override;
  void RecalculateLayout() override;
  // A docked bar rebuilds once the current message is done (posted DXM_BAR_REBUILD); a
  // floating one at once.
  void PostRebuild();
  // The separators of the last layout, client coordinates, with the shown index they precede.
  const std::vector<TdxBarToolbarSeparator>& GetSeparators() const { return FSeparators; }
  // A window kind that places its links itself gives its separators with them.
  void SetSeparators(std::vector<TdxBarToolbarSeparator> Value) { FSeparators = std::move(Value); }
  // The link placement of the last layout (bar axes), by shown index.
  const std::vector<TdxBarLayoutLink>& GetPlacement() const { return FPlacement; }
  // While one lives, the links are measured once per orientation: a layout pass asks for
  // the same sizes many times, and nothing they depend on changes within it.
  class TMeasureOnce {
  public:
    explicit TMeasureOnce(TdxBarControl* ABarControl);
    ~TMeasureOnce();
    TMeasureOnce(const TMeasureOnce&) = delete;
    TMeasureOnce& operator=(const TMeasureOnce&) = delete;

  private:
    TdxBarControl* FBarControl;
  };

  // --- The mark and MDI buttons.
  bool HasMark() const override;
  TSize GetMarkSize() const override;
  // The length a mark takes on this window when it has one.
  int GetFullMarkSize() const;
  // Client coordinates on a docked bar; window coordinates (in the caption) floating.
  TRect GetMarkRect() const override;
  // Whether a client point lies on the mark.
  bool IsPointOnMark(const TPoint& AClientPoint) const;
  // A mark selected by keyboard navigation shows hot.
  TdxBarMarkState GetMarkState() const override
  {
    return FMarkState == TdxBarMarkState::Normal && FNavigationPart == dxBarMarkIndex ? TdxBarMarkState::Hot
                                                                                      : FMarkState;
  }
  void ClickMark(TdxBarMarkState AState) override;
  // Shows the mark's new state: a mark in the caption is drawn at once through the window's
  // DC, a docked one is invalidated.
  void InvalidateMark();
  // The release of a press on the mark (client point): back to hot or normal.
  void MarkButtonUp(const TPoint& P);
  bool IsMarkTimerRunning() const { return FMarkTimer; }
  // The hint of a hot mark: what its popup is for.
  virtual String GetMarkHint() const;

  // --- The popup the mark opens (hidden items and quick customisation), made by the
  // customizing units. Nil class while none is installed: the mark then only shows pressed.
  virtual TClass GetQuickControlClass() const;
  virtual bool IsQuickCustomizingAllowed() const;
  // Whether that popup opens to the right of the mark: not for a bar docked at the right,
  // whose popup opens towards the form.
  virtual bool IsQuickControlOpeningRight() const { return GetDockingStyle() != dsRight; }
  // Adds to ALinks a link standing for each shown link of the bar that did not fit.
  virtual void FillHiddenItemsPopup(TdxBarItemLinks* ALinks);
  // The popup open from the mark; nil when none.
  TCustomdxBarControl* GetQuickControl() const { return FQuickControl.Get(); }
  void SetQuickControl(TCustomdxBarControl* Value) { FQuickControl = Value; }
  // The popup went: an open mark turns back to hot (under the cursor) or normal.
  void QuickControlClosed();
  bool HasCloseButton() const;
  // The last close of the active window came from Esc; a new activation clears it.
  bool IsClosedByKey() const { return FClosedByKey; }
  TRect GetCloseButtonRect() const;  // window coordinates of the floating caption
  TdxBarMarkState GetCloseButtonState() const { return FCloseButtonState; }
  // Does what a click on the close button (dxBarCloseButtonIndex) or a caption button does;
  // the close button frees this window.
  void ClickCaptionButton(int AIndex);

  // --- Keyboard navigation on the parts that are no item controls: the mark
  // (dxBarMarkIndex), the close button (dxBarCloseButtonIndex) or a caption button (its
  // index); dxBarNoPartIndex when none. The selected part is drawn hot.
  int GetNavigationPart() const { return FNavigationPart; }
  // Makes this window the active one in keyboard mode with APart selected in place of an item.
  void SelectNavigationPart(int APart);
  void SetNavigationPart(int APart);
  // An item selected takes the place of a selected part.
  void SetSelectedControl(TdxBarItemControl* Value) override;
  // Caption buttons were added or removed: their indexes changed, so a selected one hands
  // the selection on to the bar's first element.
  void CaptionButtonsRenumbered();
  bool HasMDIButtons() const;
  // All three MDI buttons are shown (the active child is maximized with a system menu).
  bool HasMDISystemMenu() const;
  TSize GetMDIButtonSize() const { return FMDIButtonSize; }
  int GetMDIAreaLength() const;
  // Client rectangle of MDI button 0 (minimize), 1 (restore) or 2 (close).
  TRect GetMDIButtonRect(int AButton) const;
  bool IsMDIButtonEnabled(int AButton) const;

  // --- Hit testing and caption.
  // The code of the last WM_NCHITTEST as the window's own handlers act on it.
  int GetHitCode() const { return FHitCode; }
  // The non-client answer for a screen point; stores the real code.
  int HitTestPoint(const TPoint& AScreenPoint);
  TRect GetCaptionRect() const;  // window coordinates
  // The height at which the key tips of the caption's buttons sit: the caption's middle, in
  // window coordinates.
  int GetCaptionKeyTipY() const
  {
    const TRect caption = GetCaptionRect();
    return caption.top + (caption.bottom - caption.top) / 2;
  }
  String GetCaption() const;

  // --- Docked and floating.
  void SetMoving(bool Value);
  bool IsMoving() const { return FMoving; }
  void SwitchDockedFloating();
  // Writes the docking state back to the bar.
  void StoreDockingState();
  void RefreshFrame();
  void UpdateFrame();
  void UpdateCaption();
  void UpdateFont();
  void UpdateShadow();
  void LockDocking() { ++FDockingLockCount; }
  void UnlockDocking()
  {
    if (FDockingLockCount > 0)
      --FDockingLockCount;
  }
  bool IsDockingLocked() const { return FDockingLockCount > 0; }
  TdxDockCol* GetDockCol() const;
  void SetDockCol(TdxDockCol* Value) { FDockCol = Value; }
  TCustomForm* GetOwnerForm() const;
  // Layered transparency: the bar's AlphaBlendValue floating or moving, 255 docked.
  void UpdateAlphaBlend();

  // --- The window's answers to items and the painter.
  TFont* GetBarFont() const;
  int GetSeparatorSize() const override;
  int GetBarKind() const override;
  bool IsMainMenu() const override;
  bool IsStatusBar() const override;
  bool CanAlignControl(const TdxBarItemControl* AControl) const override;
  bool IsBackgroundShownThrough() const override;
  bool IsActive() const override;
  bool NeedsFullRepaint() const;
  // A bitmap or colour of its own, the manager's bar bitmap, or a dock site bitmap running through.
  bool HasOwnBackground() const;
  bool CanPaintNonClient() const override { return true; }
  void PaintNonClient(HDC DC) override;
  // What the painter asks of a toolbar.
  TdxBarDockingStyle GetBarDockingStyle() const override { return FDockingStyle; }
  TBitmap* GetBarBackgroundBitmap() const override;
  TColor GetBarColor() const override;
  bool FillDockSiteBackground(HDC DC, const TRect& R) const override;
  // Looks that paint toolbars themselves (gradients) draw every fill of the window's own
  // background.
  void FillBackground(HDC DC, const TRect& R, HBRUSH ABrush, TColor AColor = clNone) const override;
  String GetBarCaptionText() const override { return GetCaption(); }
  // The floating caption shows buttons: the close button or the bar's caption buttons.
  bool HasCaptionButtons() const override;
  int GetCaptionButtonCount() const override;
  bool HasCaptionMark() const override { return FDockingStyle == dsNone && HasMark(); }
  // The caption's own colour, so a mark drawn alone leaves no trace of its last state.
  TColor GetCaptionMarkColor() const override;
  bool HasHiddenItems() const override { return FItemsHidden; }
  bool IsDockable() const override;

protected:
  TdxBarControl(TComponent* AOwner, TdxBar* ABar, bool AInternal);
  // The hidden bar an internal window shows (CreateInternal's first step), and the steps
  // after construction: the bar's links shown here, a child of AParentBarControl when
  // AAsChild (else a top-level window), opened from it.
  static TdxBar* AddInternalBar(TComponent* AOwner, TCustomdxBarControl* AParentBarControl);
  void AttachInternal(TCustomdxBarControl* AParentBarControl, bool AAsChild);
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  int HitTest(const TPoint& P) override;
  void ControlMouseDown(TMouseButton Button, TShiftState Shift, bool AInClient, TdxBarItemControl* AControl,
                        const TPoint& P) override;
  void ControlMouseMove(TShiftState Shift, TdxBarItemControl* AControl, const TPoint& P) override;
  void DoMouseLeave() override;
  void ActivateWithControl(TdxBarItemControl* AControl) override;
  void Deactivate() override;
  void WMKeyDownBar(TMessage& Message) override;
  // Ctrl+Tab follows the manager's bars.
  std::vector<TCustomdxBarControl*> GetTabOrderBars() const override;

  virtual void DrawContent(TcxCanvas* ACanvas);
  virtual void DrawBackground(HDC DC);
  // The caption-button press loop of a floating bar (dxBarCloseButtonIndex or a caption
  // button's index); true when it ended in a click.
  bool TrackCaptionButton(int AIndex);
  // dxBarCloseButtonIndex, a caption button's index or -1 for a screen point.
  int CaptionButtonAt(const TPoint& AScreenPoint) const;

private:
  void Init();
  // What activation does before the base class selects and activates.
  void PrepareActivation();
  void CollectLinks(std::vector<TdxBarLayoutLink>& ALinks, bool AVertical);
  int DefaultItemLength() const;
  int MinLength(TdxBarDockingStyle AStyle);
  int PreferredLength(TdxBarDockingStyle AStyle);
  // The client size for a length along the bar's axis (a width for horizontal and
  // floating styles, a height for vertical ones); the bar's axes. A floating bar keeps the
  // asked length (at least its minimum); ALinesLength, when given, gets the longest line.
  TPoint SizeForLength(TdxBarDockingStyle AStyle, int ALength, int* ALinesLength = nullptr);
  // The client size for a thickness across the bar (the other axis).
  TPoint SizeForThickness(TdxBarDockingStyle AStyle, int AThickness);
  TPoint DockClientSize() const;
  TdxBarDockingStyle EffectiveStyle(TdxBarDockingStyle AStyle) const;
  bool IsStyleVertical(TdxBarDockingStyle AStyle) const { return AStyle == dsLeft || AStyle == dsRight; }
  int MarkSizeFor(TdxBarDockingStyle AStyle) const;
  // The length of the mark in a docking style, whether the bar shows it or not.
  int MarkLengthFor(TdxBarDockingStyle AStyle) const;
  int DockedMarkSize() const;
  int MDIAreaFor(TdxBarDockingStyle AStyle) const;

  // Messages.
  void WMNCHitTest(TMessage& Message);
  void WMNCLButtonDown(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMGetMinMaxInfo(TMessage& Message);
  void WMSizing(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  void WMLButtonDblClkBar(TMessage& Message);
  void WMTimerBar(TMessage& Message);
  void WMDestroyToolbar(TMessage& Message);
  void WMSetCursorToolbar(TMessage& Message);
  void WMMouseActivateToolbar(TMessage& Message);
  void WMLButtonDownToolbar(TMessage& Message);
  void WMLButtonUpToolbar(TMessage& Message);
  void WMCancelModeToolbar(TMessage& Message);
  void WMCaptureChangedToolbar(TMessage& Message);
  void WMSizeToolbar(TMessage& Message);
  void CMFontChangedToolbar(TMessage& Message);
  // The width drag of an item while customizing: the press on its size handle, the moves
  // and the release, with the mouse captured; a lost capture cancels it.
  bool BeginItemResize(TdxBarItemControl* AControl, const TPoint& P);
  void EndItemResize(bool ACancel);
  void MDIButtonsMouseMove(const TPoint& P);
  void MDIButtonsMouseUp(const TPoint& P);
  bool MDIButtonsMouseDown(const TPoint& P);
  void CancelMDIButton();
  void StopMarkTimer();
  void MarkTimerTick();
  void DoubleClickDock();
  void DrawCaptionButtons(HDC DC);
  void DrawMDIButtons(HDC DC);
  void SwitchHandle(TdxBarDockingStyle ANewStyle, TdxDockControl* ATarget);

  TdxBar* FBar = nullptr;
  bool FInternal = false;
  TdxBarDockingStyle FDockingStyle = dsNone;
  HWND FFocusedWnd = nullptr;
  // The manager's focused bar when this one took its place; given back on deactivation.
  TWeakRef<TdxBarControl> FPreviousFocusedBar;
  bool FClosedByKey = false;
  TdxBarMarkState FCloseButtonState = TdxBarMarkState::Normal;
  HWND FFloatingHandle = nullptr;
  HWND FDockedHandle = nullptr;
  bool FSizeGrip = false;
  int FHitCode = HTNOWHERE;
  // While the user sizes the floating window by an edge: the window and the pointer as the
  // press found them, so that the edge follows the pointer whatever size the steps snapped to.
  bool FEdgeSizing = false;
  TRect FEdgeSizingFrom{};
  TPoint FEdgeSizingGrab{};
  int FDockingLockCount = 0;
  TSize FMDIButtonSize{};
  bool FMarkTimer = false;
  bool FMoving = false;
  bool FItemsHidden = false;
  bool FResizingItem = false;
  TWeakRef<TdxBarItemControl> FResizingControl;
  TdxBarMarkState FMarkState = TdxBarMarkState::Normal;
  int FNavigationPart = dxBarNoPartIndex;
  int FRatioWNum = 0, FRatioWDen = 0, FRatioHNum = 0, FRatioHDen = 0;
  TdxDockCol* FDockCol = nullptr;
  int FVisibleCount = 0;
  std::vector<TdxBarLayoutLink> FPlacement;
  std::vector<TdxBarToolbarSeparator> FSeparators;
  // The line-start marks of the last line breaking, by shown index.
  std::vector<bool> FLineStarts;
  bool FCalculating = false;
  // Counts the view info's completed calculations: a step that finds one ran since it began
  // need not calculate it again.
  unsigned FViewInfoRuns = 0;
  // Set while the view info is left to a layout step that surely follows.
  bool FViewInfoDeferred = false;
  // The links as measured within the running TMeasureOnce scopes, horizontal and vertical.
  int FMeasureOnceCount = 0;
  std::vector<TdxBarLayoutLink> FMeasured[2];
  bool FMeasuredValid[2] = {false, false};
  bool FRebuildPosted = false;
  bool FCaptureLost = false;
  TWeakRef<TCustomdxBarControl> FQuickControl;
};

// Process-wide state of the MDI child buttons (one main-menu bar shows them at a time).
struct TdxBarMDIButtonsState {
  bool Pressed = false;
  bool PressedHot = false;
  int PressedIndex = -1;
  int HotIndex = -1;
};
TdxBarMDIButtonsState& dxBarMDIButtonsState();
