// The window base of toolbars and menus: it shows the links of one link collection through
// their item controls and draws them with its manager's painter. This is the part items and
// links talk to; the windows' layout, input and painting build on it.
#pragma once

#include "bars/itemtypes.h"
#include "platform/Controls.h"

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

protected:
  TdxBarItemLinks* FItemLinks = nullptr;
  TCustomdxBarControl* FParentBar = nullptr;
  TdxBarItemLink* FSelectedLink = nullptr;
  TdxBarItemLink* FLastClickedLink = nullptr;
  bool FHoldsCapture = false;
};
