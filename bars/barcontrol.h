// The window base of toolbars and menus: it shows the links of one link collection through
// their item controls and draws them with its manager's painter. This is the part items and
// links talk to; the windows' layout, input and painting build on it.
#pragma once

#include "bars/itemtypes.h"
#include "platform/Controls.h"

#include <memory>

// Option bits of a bar window (GetOptions).
// A client-aligned control on a horizontal bar is stretched over the rest of its line.
inline constexpr uint32_t dxBarOptionStretchClientControls = 16;

class TcxCanvas;
class TdxBarItemControl;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarManager;
class TdxBarPainter;

class TCustomdxBarControl : public TCustomControl {
  DECLARE_CLASS(TCustomdxBarControl, TCustomControl)
public:
  // The owner is the bar manager.
  explicit TCustomdxBarControl(TComponent* AOwner);
  ~TCustomdxBarControl() override;

  TdxBarManager* GetBarManager() const;
  TdxBarPainter* GetPainter() const;
  // Which kind of bar window this is, as items ask their bars to rebuild.
  virtual TdxBarControlKind GetKind() const { return bckToolbar; }

  // The links shown; the collection owns the window and hands itself over.
  TdxBarItemLinks* GetItemLinks() const { return FItemLinks; }
  virtual void SetItemLinks(TdxBarItemLinks* Value);
  // The window (a menu) this one was opened from; nil for a toolbar.
  TCustomdxBarControl* GetParentBarControl() const { return FParentBar; }

  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  virtual bool IsCustomizing() const;
  // Whether the window lays this control out by its item's alignment.
  virtual bool CanAlignControl(const TdxBarItemControl* AControl) const { return false; }

  // The selected (hot) item control's link; nil when none.
  TdxBarItemLink* GetSelectedLink() const { return FSelectedLink; }
  TdxBarItemControl* GetSelectedControl() const;
  virtual void SetSelectedControl(TdxBarItemControl* Value);
  // Set while the window holds the mouse capture for an item press.
  bool HoldsCapture() const { return FHoldsCapture; }
  void SetHoldsCapture(bool Value) { FHoldsCapture = Value; }
  // The link last clicked on this window; a link that goes clears it.
  TdxBarItemLink* GetLastClickedLink() const { return FLastClickedLink; }
  void SetLastClickedLink(TdxBarItemLink* Value) { FLastClickedLink = Value; }

  // Makes the item controls again and lays them out.
  virtual void RebuildBar();
  // Lays the existing item controls out again.
  virtual void RecalculateLayout();
  void RepaintAll();

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
  // The mark: 0 normal, 1 hot, 2 open.
  virtual int GetMarkState() const { return 0; }
  virtual bool IsMainMenu() const { return false; }
  virtual bool IsStatusBar() const { return false; }

  // --- What item controls ask of the window they sit on. Base answers; the window kinds
  // override them.
  // The canvas controls measure and draw with: over the window's canvas once the window
  // exists, else over the screen; its font starts as the window's font.
  virtual TcxCanvas* GetcxCanvas() const;
  // Turned arrow keys: a toolbar docked at the left or right side.
  virtual bool IsVertical() const { return false; }
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
  // Leaves menu mode before a menu command runs: the open menus close.
  virtual void LeaveMenuMode() {}

protected:
  // The canvases behind GetcxCanvas, made on first use.
  mutable std::unique_ptr<TcxCanvas> FItemCanvas;
  mutable std::unique_ptr<TcxCanvas> FScreenItemCanvas;
  TdxBarItemLinks* FItemLinks = nullptr;
  TCustomdxBarControl* FParentBar = nullptr;
  TdxBarItemLink* FSelectedLink = nullptr;
  TdxBarItemLink* FLastClickedLink = nullptr;
  bool FHoldsCapture = false;
};
