// The button-like control with the process-wide delayed opening and closing, and the
// button's item control: paint style, parts, sizes, drawing, clicks and the drop-down.
#include <vector>

#include "bars/barwindows/barcontrol.h"
#include "bars/accessibility/baraccessibility.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/drawparams.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/menus/submenu.h"
#include "platform/Controls.h"
#include "platform/Threads.h"
#include "platform/Win.h"

IMPLEMENT_CLASS(TdxBarButtonLikeControl, TdxBarItemControl)
IMPLEMENT_CLASS(TdxBarButtonControl, TdxBarButtonLikeControl)

// ---------------------------------------------------------------------------
// The waiting controls. Inside menus a control that is entered waits 400 ms before its
// drop-down opens, and one that is left waits as long before its drop-down closes, so
// that the pointer can cross other commands on its way into the open menu. The process
// has at most one control waiting to open and one waiting to close; they wait in the
// queue of calls run later (platform/Threads.h), which runs inside any message loop, and
// the control is reached through a weak reference in case it went meanwhile.

namespace {

struct TPendingControl {
  TWeakRef<TdxBarButtonLikeControl> Control;
  TLaterCall Call;
};

TPendingControl GPendingOpen;
TPendingControl GPendingClose;

void Stop(TPendingControl& APending)
{
  APending.Call.Withdraw();
  APending.Call = TLaterCall();
  APending.Control = TWeakRef<TdxBarButtonLikeControl>();
}

// The slot's control takes AStep once the delay is over, unless the slot is stopped or
// armed anew before.
void Arm(TPendingControl& APending, TdxBarButtonLikeControl* AControl, void (*AStep)(TdxBarButtonLikeControl*))
{
  Stop(APending);
  APending.Control = AControl;
  APending.Call = RunLater(
      [&APending, AStep] {
        TdxBarButtonLikeControl* control = APending.Control.Get();
        Stop(APending);
        if (control)
          AStep(control);
      },
      dxBarDropDownDelay);
}

bool Holds(const TPendingControl& APending, const TdxBarButtonLikeControl* AControl)
{
  return APending.Call.Pending() && APending.Control.Get() == AControl;
}

void CancelPendingOf(const TdxBarButtonLikeControl* AControl)
{
  if (Holds(GPendingOpen, AControl))
    Stop(GPendingOpen);
  if (Holds(GPendingClose, AControl))
    Stop(GPendingClose);
}

// The waiting close happens now: its control is deactivated at once.
void ExecutePendingClose()
{
  TdxBarButtonLikeControl* control = GPendingClose.Control.Get();
  Stop(GPendingClose);
  if (control)
    control->DeactivateControl(true);
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarButtonLikeControl

TdxBarButtonLikeControl::TdxBarButtonLikeControl(TdxBarItemLink* AItemLink) : TdxBarItemControl(AItemLink) {}

TdxBarButtonLikeControl::~TdxBarButtonLikeControl()
{
  CancelPendingOf(this);
}

TdxBarAccessibilityHelperClass TdxBarButtonLikeControl::GetAccessibilityHelperClass() const
{
  return &dxBarAccessibilityHelperClassOf<TdxBarButtonLikeControlAccessibilityHelper>;
}

TClass TdxBarButtonLikeControl::GetDrawParamsClass() const
{
  return TdxBarButtonLikeControlDrawParams::StaticClass();
}

TdxBarButtonLikeControlDrawParams* TdxBarButtonLikeControl::GetButtonDrawParams() const
{
  return ClassCast<TdxBarButtonLikeControlDrawParams>(GetDrawParams());
}

bool TdxBarButtonLikeControl::IsPendingOpen() const
{
  return Holds(GPendingOpen, this);
}

bool TdxBarButtonLikeControl::IsPendingClose() const
{
  return Holds(GPendingClose, this);
}

bool TdxBarButtonLikeControl::IsCustomizingNow() const
{
  // The window's answer: the menus of the customizing popup work as menus of commands.
  TCustomdxBarControl* parent = GetParent();
  return parent && parent->IsCustomizing();
}

bool TdxBarButtonLikeControl::IsParentInKeyboardMode() const
{
  TCustomdxBarControl* parent = GetParent();
  return parent && IsParentAlive() && parent->GetActive();
}

bool TdxBarButtonLikeControl::IsEnabledOrDesigning() const
{
  TdxBarManager* manager = GetBarManager();
  return GetEnabled() || (manager && manager->IsDesigning());
}

void TdxBarButtonLikeControl::ActivateControl(bool AForce)
{
  if (IsDroppedDown()) {
    CancelPendingOf(this);
    return;
  }
  TdxBarItemControl::Activate();
  if (!IsDropDown() || !IsEnabledOrDesigning())
    return;
  if (!IsInMenu()) {
    // On a toolbar the mouse opens the arrow part itself; activation opens only in menu mode.
    // Unforced, it is the pointer moving onto the control: the menu opens as the mouse opens
    // it, with no entry selected, however the bar got into menu mode.
    if (IsParentInKeyboardMode() || IsCustomizingNow())
      DoDropDown(!AForce || !IsParentInKeyboardMode());
    return;
  }
  if (!AForce && !IsCustomizingNow()) {
    if (Holds(GPendingClose, this))
      Stop(GPendingClose);
    Arm(GPendingOpen, this, [](TdxBarButtonLikeControl* AControl) { AControl->ActivateControl(true); });
    return;
  }
  TWeakRef<TdxBarButtonLikeControl> self(this);
  ExecutePendingClose();
  if (self)
    DoDropDown(true);
}

void TdxBarButtonLikeControl::DeactivateControl(bool AForce)
{
  if (IsInMenu() && !AForce && IsParentAlive() && !IsCustomizingNow()) {
    if (Holds(GPendingOpen, this))
      Stop(GPendingOpen);
    if (IsDroppedDown()) {
      // Another control's waiting close is dropped, not carried out.
      Arm(GPendingClose, this, [](TdxBarButtonLikeControl* AControl) { AControl->DeactivateControl(true); });
      return;
    }
  }
  TdxBarItemControl::Deactivate();
  CancelPendingOf(this);
  DoCloseUp();
}

// One window has one open menu: moving along a toolbar's menus, the one open closes.
void TdxBarButtonLikeControl::CloseSiblingMenu()
{
  TCustomdxBarControl* open = GetParent() ? GetParent()->GetSubMenuControl() : nullptr;
  if (!open || open->IsDestroying())
    return;
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(open);
  auto* owner = menu ? dynamic_cast<TdxBarButtonLikeControl*>(menu->GetOwnerItemControl()) : nullptr;
  if (owner == this)
    return;
  if (owner)
    owner->DeactivateControl(true);
  else
    open->Free();
}

bool TdxBarButtonLikeControl::WantsKey(uint16_t Key) const
{
  if (TdxBarItemControl::WantsKey(Key))
    return true;
  if (!IsDropDown())
    return false;
  return IsInMenu() ? Key == VK_RIGHT : Key == VK_UP || Key == VK_DOWN;
}

bool TdxBarButtonLikeControl::KeyDown(uint16_t Key)
{
  if (!IsDropDown() || !WantsKey(Key) || !IsEnabledOrDesigning())
    return false;
  OpenByKey();
  return true;
}

void TdxBarButtonLikeControl::OpenByKey()
{
  CancelPendingOf(this);
  TdxBarItemControl::Activate();
  DoDropDown(false);
}

int TdxBarButtonLikeControl::GetArrowWidth() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetButtonArrowWidth(GetBarManager()) : 0;
}

bool TdxBarButtonLikeControl::IsCaptionDrawnSelected() const
{
  // Standard toolbars keep their caption colour under the mouse; menus and the flat
  // kinds' selection change it (the painter decides how through the flat-selection flag).
  if (!GetSelected())
    return false;
  TdxBarPainter* painter = GetPainter();
  return IsInMenu() || (painter && painter->IsFlatStyle());
}

bool TdxBarButtonLikeControl::IsCaptionInFlatSelection() const
{
  TdxBarPainter* painter = GetPainter();
  return painter && painter->IsFlatSelection();
}

bool TdxBarButtonLikeControl::IsPaintedDroppedDown() const
{
  TdxBarPainter* painter = GetPainter();
  return IsDroppedDown() && painter && painter->IsFlatStyle();
}

// ---------------------------------------------------------------------------
// TdxBarButtonControl

TdxBarButtonControl::TdxBarButtonControl(TdxBarItemLink* AItemLink) : TdxBarButtonLikeControl(AItemLink) {}

TdxBarAccessibilityHelperClass TdxBarButtonControl::GetAccessibilityHelperClass() const
{
  return &dxBarAccessibilityHelperClassOf<TdxBarButtonControlAccessibilityHelper>;
}

TdxBarButtonControl::~TdxBarButtonControl()
{
  CancelPendingOf(this);
  try {
    DoCloseUp();
  } catch (...) {
    // A control goes whatever its menu does on closing.
    HandleUnexpectedException();
  }
}

TdxBarButton* TdxBarButtonControl::GetButton() const
{
  return ClassCast<TdxBarButton>(GetItem());
}

TdxBarPaintStyle TdxBarButtonControl::GetPaintStyle() const
{
  TdxBarItemLink* link = GetItemLink();
  TdxBarPaintStyle style = link ? link->GetPaintStyle() : psStandard;
  TCustomdxBarControl* parent = GetParent();
  if (style == psStandard && parent && parent->GetKind() == bckToolbar && !IsInMenu())
    AdjustPaintStyle(style);
  return style;
}

void TdxBarButtonControl::AdjustPaintStyle(TdxBarPaintStyle& AStyle) const
{
  if (AStyle == psStandard && !HasImage(GetImageSizeKind()))
    AStyle = psCaption;
}

int TdxBarButtonControl::GetDefaultViewParts() const
{
  const bool menu = IsInMenu();
  switch (GetPaintStyle()) {
    case psStandard:
      if (menu)
        return ivpGlyph | ivpCaption;
      return HasImage(GetImageSizeKind()) ? ivpGlyph : ivpCaption;
    case psCaption:
      return ivpCaption;
    case psCaptionInMenu:
      return menu ? ivpCaption : ivpGlyph;
    case psCaptionGlyph:
      return ivpGlyph | ivpCaption;
  }
  return ivpCaption;
}

int TdxBarButtonControl::GetViewParts() const
{
  if (GetViewInfo() && GetViewInfo()->GetViewLevel() == ivlSmallIcon)
    return ivpGlyph;
  return TdxBarButtonLikeControl::GetViewParts();
}

void TdxBarButtonControl::CalcParts()
{
  TdxBarPainter* painter = GetPainter();
  if (!painter) {
    TdxBarButtonLikeControl::CalcParts();
    return;
  }
  if (TdxBarItemControlDrawParams* params = GetDrawParams())
    params->IsDropDown = IsDropDown();
  painter->CalcButtonLikeControlParts(GetDrawParams(), GetItemRect(), GetArrowWidth(), PartRectsToFill());
}

int TdxBarButtonControl::GetWidth()
{
  int width = TdxBarButtonLikeControl::GetWidth();
  if (IsDropDown() && !IsInMenu())
    width += GetArrowWidth();
  TdxBarButton* button = GetButton();
  TdxBarPainter* painter = GetPainter();
  if (button && button->GetLowered() && painter)
    width += 2 * painter->GetLoweredBorderWidth();
  return width;
}

int TdxBarButtonControl::GetHeight()
{
  int height = TdxBarButtonLikeControl::GetHeight();
  TdxBarButton* button = GetButton();
  TdxBarPainter* painter = GetPainter();
  if (button && button->GetLowered() && painter)
    height += 2 * painter->GetLoweredBorderWidth();
  return height;
}

int TdxBarButtonControl::GetSmallHeight()
{
  int height = TdxBarButtonLikeControl::GetSmallHeight();
  // Caption-only buttons line up with the glyph buttons beside them.
  TdxBarItemControlDrawParams* params = GetDrawParams();
  if (params && params->HasCaptionPart())
    height = std::max(height, int(params->GlyphSize.cy));
  return height;
}

bool TdxBarButtonControl::IsDropDown() const
{
  TdxBarButton* button = GetButton();
  return button && button->DropsDown();
}

bool TdxBarButtonControl::IsDroppedDown() const
{
  return FDroppedDown && GetSubMenuControl() != nullptr;
}

TCustomdxBarControl* TdxBarButtonControl::GetSubMenuControl() const
{
  TdxBarButton* button = GetButton();
  IdxBarDropDownMenu* menu = button ? button->GetDropDownMenuIntf() : nullptr;
  return menu ? menu->GetDropDownWindow() : nullptr;
}

TObject* TdxBarButtonControl::GetDropDownControl() const
{
  return GetSubMenuControl();
}

bool TdxBarButtonControl::CloseMenusOnClick() const
{
  if (!IsInMenu())
    return true;
  TdxBarButton* button = GetButton();
  return !button || button->GetCloseSubMenuOnClick();
}

bool TdxBarButtonControl::IsSelected() const
{
  TCustomdxBarControl* parent = GetParent();
  return (GetSelected() && !(parent && parent->IsCustomizing())) || IsActive();
}

bool TdxBarButtonControl::IsPressed() const
{
  if (GetDoingClick())
    return true;
  TCustomdxBarControl* parent = GetParent();
  return parent && IsParentAlive() && parent->HoldsCapture() && parent->GetSelectedControl() == this &&
         IsMousePressedOver();
}

void TdxBarButtonControl::CalcDrawParams(bool AFull)
{
  TdxBarButtonLikeControl::CalcDrawParams(AFull);
  TdxBarButtonLikeControlDrawParams* params = GetButtonDrawParams();
  TdxBarButton* button = GetButton();
  if (!params || !button || !AFull)
    return;
  TdxBarPainter* painter = GetPainter();
  params->States.Pressed = IsPressed();
  params->States.Down = button->GetDown();
  params->States.Selected = IsSelected();
  params->States.DroppedDown = IsDroppedDown();
  params->PaintsDroppedDown = painter && painter->IsFlatStyle();
  params->Lowered = button->GetLowered();
  params->IsSplit = true;
  params->DropDownEnabled = button->GetDropDownEnabled();
  params->ArrowWidth = IsDropDown() ? GetArrowWidth() : 0;
  params->CaptionDrawnSelected = IsCaptionDrawnSelected();
  params->CaptionInFlatSelection = IsCaptionInFlatSelection();
  params->GlyphLayout = button->GetGlyphLayout();
  params->GrayScale = false;
}

void TdxBarButtonControl::Draw(const TRect& R, bool AFlag)
{
  if (TdxBarPainter* painter = GetPainter())
    painter->DrawButtonLikeControl(GetDrawParams(), R);
}

void TdxBarButtonControl::ClickByKey()
{
  TWeakRef<TdxBarButtonControl> self(this);
  FClickingByKey = true;
  TFinally done([&]() noexcept {
    if (self)
      FClickingByKey = false;
  });
  TdxBarButtonLikeControl::ClickByKey();
}

void TdxBarButtonControl::Click()
{
  // 1. The arrow part opened the menu on the mouse-down; its release is no click. Enter
  // that opened the drop-down is none either.
  if (FClickingByKey ? IsDroppedDown() : GetHotPartIndex() > 0)
    return;
  TWeakRef<TdxBarButtonControl> self(this);
  TdxBarButton* button = GetButton();
  // 2. A checking button toggles.
  if (button && button->Checks() && GetEnabled())
    button->SetDown(!button->GetDown());
  if (!self)
    return;
  // 3. The drop-down closes.
  DeactivateControl(true);
  if (!self)
    return;
  // 4. The item's click road.
  TdxBarButtonLikeControl::Click();
}

void TdxBarButtonControl::ActivateByKey()
{
  if (!IsInMenu() && !IsParentInKeyboardMode())
    return;
  if (IsDropDown() && GetHotPartIndex() == dxBarButtonPartArrow)
    ActivateControl(true);
  else
    Repaint();
}

void TdxBarButtonControl::MouseDown(const TPoint& P)
{
  if (!IsDropDown() || !GetEnabled())
    return;
  CalcParts();
  const std::vector<TRect>& parts = GetPartRects();
  if (parts.size() < 2 || !PtInRect(parts[dxBarButtonPartArrow], P))
    return;
  if (IsDroppedDown())
    DeactivateControl(true);
  else
    DoDropDown(true);
}

// The menu opens below a control on a horizontal toolbar and to its right on a vertical
// toolbar or in a menu, never covering the control itself.
void TdxBarButtonControl::DoDropDown(bool AByMouse)
{
  TdxBarButton* button = GetButton();
  IdxBarDropDownMenu* menu = button ? button->GetDropDownMenuIntf() : nullptr;
  if (IsDroppedDown() || !menu || !GetEnabled() || !button->GetDropDownEnabled() || !IsParentAlive())
    return;
  TWeakRef<TdxBarButtonControl> self(this);
  CloseSiblingMenu();
  if (!self || !IsParentAlive())
    return;
  TCustomdxBarControl* parent = GetParent();
  FDroppedDown = true;
  Repaint();
  TRect r = parent->GetItemScreenRect(this);
  TPoint p = GetBarKind() == bkHorizontal ? Point(r.left, r.bottom) : Point(r.right, r.top);
  TWeakRef<TCustomdxBarControl> parentRef(parent);
  // Opened from the keyboard: the menu window starts with its first link selected.
  parent->SetMenuShownByKeyboard(!AByMouse);
  TCustomdxBarControl* window = nullptr;
  {
    TFinally unmark([&]() noexcept {
      if (TCustomdxBarControl* bar = parentRef.Get())
        bar->SetMenuShownByKeyboard(false);
    });
    try {
      window = menu->DropDownMenu(this, p, r, parent);
    } catch (...) {
      if (self) {
        FDroppedDown = false;
        Repaint();
      }
      throw;
    }
  }
  if (!self)
    return;
  if (!window) {
    FDroppedDown = false;
    Repaint();
  }
}

void TdxBarButtonControl::DoCloseUp()
{
  if (!FDroppedDown)
    return;
  FDroppedDown = false;
  // However the menu went (a command closing every menu, too), the button is no longer the
  // one in use; left active, it would stay drawn selected.
  TdxBarItemControl::Deactivate();
  CancelPendingOf(this);
  TdxBarButton* button = GetButton();
  if (IdxBarDropDownMenu* menu = button ? button->GetDropDownMenuIntf() : nullptr)
    menu->CloseDropDownMenu();
  Repaint();
}
