// Buttons: the button item (a command, a check button, a member of an exclusive group or a
// drop-down button), the button-like control base that opens its drop-down with a delay
// inside menus, and the button's item control that measures, draws and clicks it.
// Model (TdxBarButton) and item-control layer (the two controls).
#pragma once

#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/items.h"

class TCustomdxBarControl;
class TdxBarButtonLikeControlDrawParams;
class TdxBarItemLinks;

// bit 0: the button checks (stays down); bit 1: it drops a menu down.
enum TdxBarButtonStyle { bsDefault, bsChecked, bsDropDown, bsCheckedDropDown };
DECLARE_ENUM_INFO(TdxBarButtonStyle)

inline bool dxBarButtonStyleChecks(TdxBarButtonStyle AStyle)
{
  return (int(AStyle) & 1) != 0;
}
inline bool dxBarButtonStyleDropsDown(TdxBarButtonStyle AStyle)
{
  return (int(AStyle) & 2) != 0;
}

// The delay before a drop-down opens or closes inside a menu, in milliseconds.
inline constexpr UINT dxBarDropDownDelay = 400;

// What a button needs of the popup menu it drops down. The popup menu component implements
// it; a component that does not cannot be a drop-down menu.
class IdxBarDropDownMenu {
public:
  virtual ~IdxBarDropDownMenu() = default;
  // The menu's item links.
  virtual TdxBarItemLinks* GetDropDownItemLinks() const = 0;
  // Shows the menu without waiting, its corner at P (screen), not covering AExcludeRect
  // (screen). AOwnerControl becomes the menu window's owner; AParentBar is the window the
  // control sits on (a menu chains the new window to it). Answers the menu window.
  virtual TCustomdxBarControl* DropDownMenu(TdxBarItemControl* AOwnerControl, const TPoint& P,
                                            const TRect& AExcludeRect, TCustomdxBarControl* AParentBar) = 0;
  // Closes the menu window when it is open and clears its owner.
  virtual void CloseDropDownMenu() = 0;
  // The open menu window; nil while closed.
  virtual TCustomdxBarControl* GetDropDownWindow() const = 0;
};

class TdxBarButtonControl;

class TdxBarButton : public TdxBarItem {
  DECLARE_CLASS(TdxBarButton, TdxBarItem)
public:
  explicit TdxBarButton(TComponent* AOwner);
  ~TdxBarButton() override;

  void Notification(TComponent* AComponent, TOperation Operation) override;

  // --- Item overrides.
  bool HasPaintStyle() const override { return true; }
  String GetNewItemCaption() const override;
  // The drop-down menu's links, so that shortcuts reach its commands.
  TdxBarItemLinks* GetItemLinks() const override;
  bool HasAccel(const TdxBarItemLink* ALink) const override;
  // A checking button toggles Down before the shortcut's click.
  bool IsShortCut(TShortCut Key) override;
  void PaintStyleChanged() override;
  bool HasActionChecked() const override { return true; }
  bool GetActionChecked() const override { return FDown; }
  void SetActionChecked(bool Value) override { SetDown(Value); }
  bool IsDrawnPressedWhileClicked() const override { return GetUnclickAfterDoing(); }

  // Opens the drop-down menu from the selected link's control (else the first control).
  void DropDown(bool AByMouse = true);

  // --- Properties.
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  TdxBarButtonStyle GetButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TdxBarButtonStyle Value);
  bool GetCloseSubMenuOnClick() const { return FCloseSubMenuOnClick; }
  void SetCloseSubMenuOnClick(bool Value) { FCloseSubMenuOnClick = Value; }
  bool GetDown() const { return FDown; }
  void SetDown(bool Value);
  bool GetDropDownEnabled() const { return FDropDownEnabled; }
  void SetDropDownEnabled(bool Value);
  // A component implementing IdxBarDropDownMenu (not owned; its freeing clears it).
  TComponent* GetDropDownMenu() const { return FDropDownMenu; }
  // Raises "You cannot create recursive menus" when the menu reaches this button, and
  // EInvalidOperation for a component that is no drop-down menu; the old value stays.
  void SetDropDownMenu(TComponent* Value);
  IdxBarDropDownMenu* GetDropDownMenuIntf() const;
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool GetLowered() const { return FLowered; }
  void SetLowered(bool Value);

  bool Checks() const { return dxBarButtonStyleChecks(FButtonStyle); }
  bool DropsDown() const { return dxBarButtonStyleDropsDown(FButtonStyle); }

  // Stored predicates of the re-published values.
  bool IsDownStored() const;

private:
  // The first other checking button of the group that is down; nil when none.
  TdxBarButton* FindDownGroupMember() const;
  // Whether AMenu's links reach this button, directly or through nested links.
  bool IsMenuRecursive(IdxBarDropDownMenu* AMenu) const;
  // The control that opens the drop-down for DropDown.
  TdxBarButtonControl* GetDropDownSourceControl() const;
  // Clears Down without the group rule: the button leaves its group or stops checking.
  void ReleaseDown();

  bool FAllowAllUp = false;
  bool FCloseSubMenuOnClick = true;
  bool FDown = false;
  bool FDropDownEnabled = true;
  TComponent* FDropDownMenu = nullptr;
  int FGroupIndex = 0;
  TdxBarButtonStyle FButtonStyle = bsDefault;
  bool FLowered = false;
};

// Controls that open something (a drop-down menu, a sub-menu). Inside menus they open and
// close with a delay: one control of the process waits to open and one to close, each for
// dxBarDropDownDelay from the message loop (RunLater); arming one replaces the other waiting control.
class TdxBarButtonLikeControl : public TdxBarItemControl {
  DECLARE_CLASS(TdxBarButtonLikeControl, TdxBarItemControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarButtonLikeControl(TdxBarItemLink* AItemLink);
  // Cancels this control's waiting timers and closes what it opened.
  ~TdxBarButtonLikeControl() override;

  TClass GetDrawParamsClass() const override;
  TdxBarAccessibilityHelperClass GetAccessibilityHelperClass() const override;
  TdxBarButtonLikeControlDrawParams* GetButtonDrawParams() const;

  // Activation with the delay rule; AForce opens at once.
  void Activate() override { ActivateControl(false); }
  void Deactivate() override { DeactivateControl(false); }
  virtual void ActivateControl(bool AForce);
  virtual void DeactivateControl(bool AForce);
  bool WantsKey(uint16_t Key) const override;
  // A wanted key (Right in a menu, Up or Down on a toolbar) opens the drop-down by keyboard.
  bool KeyDown(uint16_t Key) override;

  virtual int GetArrowWidth() const;
  // Enabled, or the manager is designing.
  virtual bool IsEnabledOrDesigning() const;
  // Opens from the keyboard: the bar notes it, the first item of the new window is selected.
  virtual void OpenByKey();
  virtual TCustomdxBarControl* GetSubMenuControl() const { return nullptr; }
  // The two caption flags the painter asks for.
  virtual bool IsCaptionDrawnSelected() const;
  virtual bool IsCaptionInFlatSelection() const;
  // The drop-down is open and the painter draws a dropped-down look of its own.
  bool IsPaintedDroppedDown() const;

  // The kinds' opening and closing; nothing in the base.
  virtual void DoDropDown(bool AByMouse) {}
  virtual void DoCloseUp() {}

  // Whether this control waits to open or to close.
  bool IsPendingOpen() const;
  bool IsPendingClose() const;

protected:
  // Closes a menu another control of the same window has open: one window has one open menu.
  void CloseSiblingMenu();
  // The drop-down opens at once on a toolbar only in keyboard mode or while customizing.
  bool IsParentInKeyboardMode() const;
  bool IsCustomizingNow() const;
};

class TdxBarButtonControl : public TdxBarButtonLikeControl {
  DECLARE_CLASS(TdxBarButtonControl, TdxBarButtonLikeControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarButtonControl(TdxBarItemLink* AItemLink);
  ~TdxBarButtonControl() override;

  TdxBarAccessibilityHelperClass GetAccessibilityHelperClass() const override;
  TdxBarButton* GetButton() const;

  // The link's paint style; on a toolbar psStandard is adjusted.
  TdxBarPaintStyle GetPaintStyle() const;
  virtual void AdjustPaintStyle(TdxBarPaintStyle& AStyle) const;

  bool IsButtonControl() const override { return true; }
  int GetDefaultViewParts() const override;
  int GetViewParts() const override;
  int GetPartCount() const override { return IsDropDown() ? 2 : 1; }
  void CalcParts() override;
  int GetWidth() override;
  int GetHeight() override;
  int GetSmallHeight() override;
  bool IsDropDown() const override;
  bool IsDroppedDown() const override;
  TCustomdxBarControl* GetSubMenuControl() const override;
  TObject* GetDropDownControl() const override;
  bool CloseMenusOnClick() const override;
  bool IsSelected() const override;
  void CalcDrawParams(bool AFull = true) override;
  void Draw(const TRect& R, bool AFlag) override;
  void Click() override;
  void ClickByKey() override;
  void ActivateByKey() override;
  void PaintStyleChanged() override { RebuildBar(); }
  // The left button went down on the control: on the arrow part the drop-down opens.
  void MouseDown(const TPoint& P) override;

  // Opens the drop-down menu (see the rule in the body) and closes it.
  void DoDropDown(bool AByMouse) override;
  void DoCloseUp() override;
  // Whether the user holds the control pressed (for the painter).
  bool IsPressed() const;

private:
  bool FDroppedDown = false;
  bool FClickingByKey = false;
};
