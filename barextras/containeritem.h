// The control container item: an ordinary control of the form shown on a toolbar. The
// control moves into a borderless host form that becomes a child of the bar window at the
// item's rectangle; menus show the item as a plain entry. Model (the item), window (the
// host form) and item-control layer (placing, the placeholder, sizes).
#pragma once

#include <memory>

#include "barextras/extitems.h"  // the unit starts with any of its kinds
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/items.h"
#include "platform/Forms.h"

class TdxBarControlContainerControl;

// The host of a container item's control. Behind the control it shows the background of
// the bar it sits on, so that a control smaller than its place blends in.
class TPlaceForm : public TCustomForm {
  DECLARE_CLASS(TPlaceForm, TCustomForm)
public:
  explicit TPlaceForm(TComponent* AOwner);
  TdxBarControlContainerControl* GetItemControl() const { return FItemControl.Get(); }
  void SetItemControl(TdxBarControlContainerControl* Value) { FItemControl = Value; }

protected:
  void WMEraseBkgnd(TMessage& Message) override;

private:
  TWeakRef<TdxBarControlContainerControl> FItemControl;
};

class TdxBarControlContainerItem : public TdxBarItem {
  DECLARE_CLASS(TdxBarControlContainerItem, TdxBarItem)
public:
  explicit TdxBarControlContainerItem(TComponent* AOwner);
  ~TdxBarControlContainerItem() override;
  void BeforeDestruction() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetName(const String& NewName) override;

  bool IsClickable() const override { return false; }
  bool HasAccel(const TdxBarItemLink* ALink) const override;
  bool HasHostedControl() const override { return true; }
  // Hides the host form wherever it sits and takes it off its bar.
  void HideHostedControl() override;

  // The hosted control (not owned). A control that another container item already holds
  // raises "You cannot assign the same control to more than one ..." and changes nothing;
  // so does a form, or a control that the manager's bars sit on (EInvalidOperation).
  TControl* GetControl() const { return FControl; }
  void SetControl(TControl* Value);
  TPlaceForm* GetPlaceForm() const { return FPlaceForm; }
  // Whether some control of the item is placing the hosted control now.
  bool IsPlacing() const;
  // The host form is shown or hidden.
  void SetHostVisible(bool Value);

private:
  void ControlWndProc(TMessage& Message);
  void HookControl();
  void UnhookControl();

  // The procedure the item puts on its control: it runs the item's while the item holds the
  // control, and afterwards only the procedure it replaced. A hook put on the control later
  // keeps a copy of it, which keeps this alive as long as that hook's chain needs it.
  struct TControlHook {
    TdxBarControlContainerItem* Item = nullptr;
    TWndMethod Saved;
  };

  TControl* FControl = nullptr;
  TPlaceForm* FPlaceForm = nullptr;
  int FControlWidth = 0;
  int FControlHeight = 0;
  std::shared_ptr<TControlHook> FHook;
  TWndMethod FHookProc;
};

class TdxBarControlContainerControl : public TdxBarItemControl {
  DECLARE_CLASS(TdxBarControlContainerControl, TdxBarItemControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarControlContainerControl(TdxBarItemLink* AItemLink) : TdxBarItemControl(AItemLink) {}
  ~TdxBarControlContainerControl() override;

  TdxBarControlContainerItem* GetContainerItem() const;
  // The control shows in the host form here: not in the quick-customisation list, the item
  // has a control, and the manager is not designing.
  bool IsHosted() const;
  bool IsPlacing() const { return FPlacing; }
  // The host form sits on this control's bar window.
  bool IsHostOnThisBar() const;
  // Another link of the item shows the control at a place it has: this one shows the
  // placeholder instead.
  bool IsHostHeldElsewhere() const;

  void BeforeHide() override;
  TWinControl* GetHostedControl() const override;
  bool CanClick() const override;
  bool CloseMenusOnClick() const override { return CanClick(); }
  bool CanSelect() const override;
  int GetDefaultViewParts() const override { return ivpCaption; }
  int GetWidth() override;
  int GetHeight() override;
  void Draw(const TRect& R, bool AFlag) override;

private:
  bool IsQuickCustomizing() const;
  void PlaceControl();
  void DrawPlaceholder(const TRect& R);
  void DrawMenuEntry(const TRect& R);
  // "The place for the " and the name of the control, or of the item without one.
  String GetPlaceholderText() const;

  bool FPlacing = false;
};
