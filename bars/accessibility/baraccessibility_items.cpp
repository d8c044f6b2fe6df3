// The accessibility helpers of item controls: any control, buttons, sub items and editors.
// What a key tip and a client's default action run.
#include "bars/accessibility/baraccessibility.h"
#include "bars/accessibility/baraccessibility_impl.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/menus/appmenu.h"
#include "bars/model/bar.h"
#include "bars/model/items.h"
#include "bars/model/itemlinks.h"
#include "bars/painters/painter.h"

using BarAccessibility::DeferAction;
using BarAccessibility::HelperOf;
using BarAccessibility::IsWindowShown;
using BarAccessibility::RectCentre;

// --- The helpers of item controls

TdxBarItemControlAccessibilityHelper::TdxBarItemControlAccessibilityHelper(TdxBarItemControl* AControl)
    : TdxBarAccessibilityHelper(AControl), FControl(AControl)
{
}

TCustomdxBarControl* TdxBarItemControlAccessibilityHelper::Bar() const
{
  return FControl ? FControl->GetParent() : nullptr;
}

TdxBarManager* TdxBarItemControlAccessibilityHelper::GetBarManager()
{
  return Bar() ? Bar()->GetBarManager() : nullptr;
}

TcxAccessibilityHelper* TdxBarItemControlAccessibilityHelper::GetParent()
{
  return HelperOf(Bar());
}

bool TdxBarItemControlAccessibilityHelper::IsSelectable()
{
  return IsVisible() && FControl && FControl->GetEnabled() && FControl->CanSelect();
}

HWND TdxBarItemControlAccessibilityHelper::GetOwnerObjectWindow()
{
  return Bar() && Bar()->HandleAllocated() ? Bar()->GetHandle() : nullptr;
}

TRect TdxBarItemControlAccessibilityHelper::GetScreenBounds(int)
{
  TCustomdxBarControl* bar = Bar();
  if (!IsWindowShown(bar))
    return TRect{};
  return bar->GetItemScreenRect(FControl.Get());
}

int TdxBarItemControlAccessibilityHelper::GetState(int)
{
  TdxBarItemControl* control = FControl.Get();
  const TRect r = GetScreenBounds(CHILDID_SELF);
  if (!control || ::IsRectEmpty(&r))
    return STATE_SYSTEM_INVISIBLE;
  int state = STATE_SYSTEM_FOCUSABLE;
  if (!control->GetEnabled())
    state |= STATE_SYSTEM_UNAVAILABLE;
  if (control->IsSelected())
    state |= STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED;
  if (control->GetDoingClick())
    state |= STATE_SYSTEM_PRESSED;
  return state;
}

int TdxBarItemControlAccessibilityHelper::GetRole(int)
{
  return FControl && FControl->IsInMenu() ? ROLE_SYSTEM_MENUITEM : ROLE_SYSTEM_CLIENT;
}

String TdxBarItemControlAccessibilityHelper::GetName(int)
{
  return FControl ? StripAccelChars(FControl->GetCaption()) : String();
}

void TdxBarItemControlAccessibilityHelper::GetKeyboardShortcut(int, TShortCut& AShortCut, String&, bool&)
{
  AShortCut = FControl ? FControl->GetShortCut() : 0;
}

int TdxBarItemControlAccessibilityHelper::GetSupportedProperties(int)
{
  return cxAccessibleLocation | cxAccessibleKeyboardShortcut;
}

String TdxBarItemControlAccessibilityHelper::GetExplicitKeyTip()
{
  TdxBarItem* item = FControl ? FControl->GetItem() : nullptr;
  return item ? item->GetKeyTip() : String();
}

String TdxBarItemControlAccessibilityHelper::GetDefaultKeyTip()
{
  return dxBarDefaultKeyTipOfCaption(FControl ? FControl->GetCaption() : String());
}

void TdxBarItemControlAccessibilityHelper::InitializeKeyTipData(TdxBarKeyTipInfo& AData)
{
  TdxBarAccessibilityHelper::InitializeKeyTipData(AData);
  AData.Enabled = FControl && FControl->GetEnabled();
  const TRect r = GetScreenBounds(CHILDID_SELF);
  AData.Position = RectCentre(r);
  TCustomdxBarControl* bar = Bar();
  if (auto* menu = dynamic_cast<TdxBarApplicationMenuControl*>(bar);
      menu && FControl && menu->IsButtonRowLink(FControl->GetItemLink())) {
    // The row's buttons are laid out as on a toolbar: the tip sits on the button's centre.
    if (!::IsRectEmpty(&r))
      AData.Position = menu->GetButtonRowKeyTipPoint(FControl->GetItemLink());
  } else if (bar && bar->GetKind() == bckSubMenu && bar->GetPainter() && !::IsRectEmpty(&r)) {
    // In a menu the tip sits on the glyph column, beside the side strip.
    TRect local = bar->GetItemRect(FControl.Get());
    const TRect glyph = bar->GetPainter()->GetMenuGlyphRect(bar, local);
    AData.Position.x = r.left + (glyph.left - local.left) + (glyph.right - glyph.left) / 2;
  }
}

TdxBarHelperRef TdxBarItemControlAccessibilityHelper::GetNavigationTarget()
{
  return GetItemControlNavigationTarget(FControl.Get());
}

String TdxBarItemControlAccessibilityHelper::GetDefaultActionDescription(int)
{
  return FControl && FControl->IsDropDown() ? L"Open" : L"Press";
}

void TdxBarItemControlAccessibilityHelper::DoDefaultAction(int)
{
  DeferAction([this, ref = TcxAccessibilityHelperRef::Share(this)] {
    if (IsAlive())
      Run(false);
  });
}

int TdxBarButtonLikeControlAccessibilityHelper::GetRole(int AChildID)
{
  if (FControl && FControl->IsInMenu())
    return ROLE_SYSTEM_MENUITEM;
  return FControl && FControl->IsDropDown() ? ROLE_SYSTEM_BUTTONDROPDOWN : ROLE_SYSTEM_PUSHBUTTON;
}

int TdxBarButtonLikeControlAccessibilityHelper::GetSupportedProperties(int AChildID)
{
  return TdxBarItemControlAccessibilityHelper::GetSupportedProperties(AChildID) | cxAccessibleDefaultAction;
}

int TdxBarButtonControlAccessibilityHelper::GetState(int AChildID)
{
  int state = TdxBarButtonLikeControlAccessibilityHelper::GetState(AChildID);
  auto* control = static_cast<TdxBarButtonControl*>(FControl.Get());
  if (control && !(state & STATE_SYSTEM_INVISIBLE)) {
    if (control->IsPressed())
      state |= STATE_SYSTEM_PRESSED;
    if (TdxBarButton* button = control->GetButton(); button && button->GetDown())
      state |= STATE_SYSTEM_CHECKED | STATE_SYSTEM_PRESSED;
  }
  return state;
}

int TdxBarSubItemControlAccessibilityHelper::GetRole(int)
{
  return FControl && FControl->IsInMenu() ? ROLE_SYSTEM_MENUITEM : ROLE_SYSTEM_BUTTONMENU;
}

int TdxBarSubItemControlAccessibilityHelper::GetState(int AChildID)
{
  int state = TdxBarButtonLikeControlAccessibilityHelper::GetState(AChildID);
  if (FControl && FControl->IsDroppedDown())
    state |= STATE_SYSTEM_EXPANDED;
  return state | STATE_SYSTEM_HASPOPUP;
}

// A key tip runs its element: one whose click closes the menus is clicked, as the pointer
// clicks it (a key tip is no press of a key on the element: nothing of a click by key, such
// as a drop-down part opened by key, takes part); the others (drop-downs, editors) are
// selected for keyboard navigation first, and a drop-down then opens.
void TdxBarItemControlAccessibilityHelper::Run(bool AShowMenuKeyTips)
{
  TdxBarItemControl* control = FControl.Get();
  TCustomdxBarControl* bar = control ? control->GetParent() : nullptr;
  if (!bar || !control->GetEnabled())
    return;
  if (control->CloseMenusOnClick() && !control->IsDropDown()) {
    control->Click();
    return;
  }
  GetItemControlNavigationTarget(control)->SelectForNavigation(false);
  if (FControl && control->IsDropDown()) {
    // A split button's click by key is its main part's: its tip opens the arrow's menu.
    if (dynamic_cast<TdxBarButtonControl*>(control))
      static_cast<TdxBarButtonControl*>(control)->OpenByKey();
    else
      control->ClickByKey();
    TdxBarNavigationController* navigation = BarNavigationController();
    if (!AShowMenuKeyTips || !navigation || !navigation->IsRunningShownKeyTip())
      return;
    // A menu opened by a key tip typed over shown tips shows the key tips of its own items next.
    DeferAction([] {
      TCustomdxBarControl* menu = ActiveBarControl();
      TdxBarNavigationController* navigation = BarNavigationController();
      if (menu && menu->GetKind() == bckSubMenu && IsWindowShown(menu) && navigation && !navigation->AreKeyTipsShown())
        navigation->UpdateKeyTips(GetBarControlNavigationTarget(menu), String());
    });
  }
}
