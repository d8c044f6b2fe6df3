// Quick customisation: the popup a toolbar's mark opens. It shows the toolbar's links that did
// not fit and an "Add or Remove Buttons" entry whose menu has one check entry per link of the
// toolbar (ticking shows or hides that link at once) and the reset and customize commands.
// Items and item controls (model and item-control layers) and the popup's toolbar window.
#pragma once

#include <memory>

#include "bars/itemcontrols/buttons.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/menus/submenu.h"
#include "bars/barwindows/toolbar.h"

class TcxTimer;

// One entry per toolbar link; its click shows or hides that link (the target).
class TdxBarQuickCustItem : public TdxBarButton {
  DECLARE_CLASS(TdxBarQuickCustItem, TdxBarButton)
public:
  explicit TdxBarQuickCustItem(TComponent* AOwner) : TdxBarButton(AOwner) {}
  TdxBarItemLink* GetTargetLink() const { return FTargetLink.Get(); }
  void SetTargetLink(TdxBarItemLink* Value) { FTargetLink = Value; }
  void DoClick() override;

private:
  TWeakRef<TdxBarItemLink> FTargetLink;
};

// A command of the popup beside the check entries (reset, customize).
class TdxBarQuickCustExtButton : public TdxBarButton {
  DECLARE_CLASS(TdxBarQuickCustExtButton, TdxBarButton)
public:
  explicit TdxBarQuickCustExtButton(TComponent* AOwner) : TdxBarButton(AOwner) {}
};

// A button with a check cell as wide as the entry is high at its left.
class TdxCustomQuickCustItemControl : public TdxBarButtonControl {
  DECLARE_CLASS(TdxCustomQuickCustItemControl, TdxBarButtonControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxCustomQuickCustItemControl(TdxBarItemLink* AItemLink) : TdxBarButtonControl(AItemLink) {}
  virtual bool IsChecked() const { return false; }
  void Draw(const TRect& R, bool AFlag) override;
  int GetWidth() override;
  // The check cell of an entry drawn at R (client coordinates).
  static TRect GetCheckRect(const TRect& R) { return Rect(R.left, R.top, R.left + (R.bottom - R.top), R.bottom); }
};

// Every text and image comes from the target link and its item.
class TdxBarQuickCustItemControl : public TdxCustomQuickCustItemControl {
  DECLARE_CLASS(TdxBarQuickCustItemControl, TdxCustomQuickCustItemControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarQuickCustItemControl(TdxBarItemLink* AItemLink) : TdxCustomQuickCustItemControl(AItemLink) {}
  TdxBarItemLink* GetTargetLink() const;
  bool IsChecked() const override;
  const String& GetCaption() const override;
  TBitmap* GetGlyph() const override;
  TBitmap* GetLargeGlyph() const override;
  int GetImageIndex() const override;
  int GetLargeImageIndex() const override;
  TCustomImageList* GetCurrentImages(int AImageSizeKind) const override;
  String GetHint() const override;
  TShortCut GetShortCut() const override;
  // The menu stays open while the user ticks entries.
  bool CloseMenusOnClick() const override { return false; }
  void Click() override;

private:
  TdxBarItem* GetTargetItem() const;
};

// Never checked; its caption lines up with the check entries' captions.
class TdxBarQuickCustExtButtonControl : public TdxCustomQuickCustItemControl {
  DECLARE_CLASS(TdxBarQuickCustExtButtonControl, TdxCustomQuickCustItemControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarQuickCustExtButtonControl(TdxBarItemLink* AItemLink) : TdxCustomQuickCustItemControl(AItemLink) {}
  int GetIndent() const override;
};

// "Add or Remove Buttons": a sub-item whose links are the popup's own and never reach the
// manager's designer.
class TdxBarQuickAccessItem : public TdxBarSubItem {
  DECLARE_CLASS(TdxBarQuickAccessItem, TdxBarSubItem)
public:
  explicit TdxBarQuickAccessItem(TComponent* AOwner);
  TCustomdxBarControl* CreateBarControl() override;
};

// The menu of the quick-access sub-item.
class TdxBarQuickAccessSubControl : public TdxBarSubMenuControl {
  DECLARE_CLASS(TdxBarQuickAccessSubControl, TdxBarSubMenuControl)
public:
  explicit TdxBarQuickAccessSubControl(TComponent* AOwner) : TdxBarSubMenuControl(AOwner) {}
  // Its entries are commands on the toolbar, whatever the manager is doing.
  bool IsCustomizing() const override { return false; }
};

// The popup window: an internal toolbar opened from a toolbar's mark. It neither moves nor
// sizes, closes like a menu, and closes itself when another popup of its chain is active.
class TdxBarQuickControl : public TdxBarControl {
  DECLARE_CLASS(TdxBarQuickControl, TdxBarControl)
public:
  // Made for the toolbar it opens from (the class factory's owner).
  using TFactoryOwner = TdxBarControl;
  explicit TdxBarQuickControl(TdxBarControl* AParentToolbar);
  ~TdxBarQuickControl() override;
  void AfterConstruction() override;

  TdxBarControl* GetParentToolbar() const { return FParentToolbar.Get(); }
  // The parent's mark in screen coordinates, where the popup opened.
  TRect GetOpeningRect() const { return FOpeningRect; }
  TdxBarControlKind GetKind() const override { return bckQuickCustomizing; }
  // The form of the toolbar it opened from (the popup's owner window).
  TCustomForm* GetPopupOwnerForm() const;

  // Sizes the window for its links, places it against ARect (screen) inside the work area,
  // opening right (below a horizontal bar's mark, beside a vertical one's), and shows it
  // active without taking the focus.
  void PopupAtRectRight(const TRect& ARect);
  // The closing check runs once, 200 ms from now.
  void StartTimer();
  bool IsTimerEnabled() const;
  // The closing check itself: another active popup that is not this one nor opened from it
  // closes this one.
  void CheckClosing();
  void LeaveMenuMode() override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void DoClose() override;
  void DoMouseLeave() override;
  void ControlMouseDown(TMouseButton Button, TShiftState Shift, bool AInClient, TdxBarItemControl* AControl,
                        const TPoint& P) override;

private:
  void TimerFired(TObject* Sender);
  TRect GetFrameBorders() const;
  void PaintFrame(HDC DC);

  TWeakRef<TdxBarControl> FParentToolbar;
  TRect FOpeningRect{};
  std::unique_ptr<TcxTimer> FTimer;
  bool FClosing = false;
};

// The parent's mark rectangle in screen coordinates (the caption mark of a floating bar too).
TRect dxBarGetMarkScreenRect(TdxBarControl* ABarControl);

// The kinds and the popup's class join the library (the customizing units' start-up) and
// leave it.
void InitializedxBarQuickCustomizing();
void FinalizedxBarQuickCustomizing();
