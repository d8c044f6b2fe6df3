// The bar window base's input: the message table, selection, the process-wide chain of
// active bar windows and the close cascade, keys and mouse. Any call out of here (an item's
// click, a close, a handler) may free this window: each step after one holds a weak
// reference and stops once it reads nil.
#include "bars/barwindows/barcontrol.h"
#include "bars/model/customizing.h"

#include "platform/Win.h"

#include "bars/accessibility/baraccessibility.h"
#include "bars/itemcontrols/edits.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/keyboard/navigation.h"
#include "bars/menus/popupmenu.h"
#include "bars/barwindows/shadow.h"
#include "platform/Application.h"
#include "platform/Forms.h"
#include "platform/GraphicsObjects.h"

#include <cwctype>

namespace {

TWeakRef<TCustomdxBarControl> GActiveBarControl;
bool GActiveChainCustomizing = false;
bool GMenusExpanded = false;
// Every bar window in the order made; only compared until checked for life.
std::vector<TWeakRef<TCustomdxBarControl>> GBarControlsInOrder;

const TPoint NoPoint{-1, -1};

TPoint CursorPos()
{
  return dxBarCursorPos();
}

}  // namespace

void dxBarRegisterBarControlInOrder(TCustomdxBarControl* AControl)
{
  std::erase_if(GBarControlsInOrder, [](const TWeakRef<TCustomdxBarControl>& ref) { return !ref; });
  GBarControlsInOrder.emplace_back(AControl);
}

std::vector<TCustomdxBarControl*> TCustomdxBarControl::GetTabOrderBars() const
{
  std::vector<TCustomdxBarControl*> result;
  for (const TWeakRef<TCustomdxBarControl>& ref : GBarControlsInOrder)
    if (TCustomdxBarControl* bar = ref.Get())
      if (bar->GetBarManager() == GetBarManager() && bar->GetKind() == bckToolbar && !bar->IsDestroying())
        result.push_back(bar);
  return result;
}

TCustomdxBarControl* ActiveBarControl()
{
  return GActiveBarControl.Get();
}

bool IsActiveChainCustomizing()
{
  return ActiveBarControl() && GActiveChainCustomizing;
}

TPoint dxBarCursorPos()
{
  POINT p{};
  if (!::GetCursorPos(&p))
    return TPoint{-1, -1};
  return TPoint{p.x, p.y};
}

bool dxBarMenusExpanded()
{
  return GMenusExpanded;
}

void SetdxBarMenusExpanded(bool Value)
{
  GMenusExpanded = Value;
}

std::vector<TWeakRef<TCustomdxBarControl>> dxBarGetBarControls(const TdxBarManager* AManager)
{
  std::vector<TWeakRef<TCustomdxBarControl>> result;
  for (const TWeakRef<TCustomdxBarControl>& ref : GBarControlsInOrder)
    if (TCustomdxBarControl* bar = ref.Get(); bar && bar->GetBarManager() == AManager)
      result.push_back(ref);
  return result;
}

void dxBarRebuildPendingBarControls(TdxBarManager* AManager)
{
  // Copied first: a rebuild may make or free bar windows.
  for (const TWeakRef<TCustomdxBarControl>& ref : dxBarGetBarControls(AManager))
    if (TCustomdxBarControl* bar = ref.Get())
      if (bar->IsRebuildPending() && !AManager->IsUpdateLocked())
        bar->RebuildIfPending();
}

// ---------------------------------------------------------------------------
// Selection

void TCustomdxBarControl::SetSelectedControl(TdxBarItemControl* Value)
{
  TdxBarItemLink* link = GetItemControlLink(Value);
  TWeakRef<TdxBarItemControl> oldRef(GetSelectedControl());
  FSelectedLink = link;
  if (GetOptions() & dxBarOptionKeyboardSelection)
    FKeyboardSelected = false;
  if (IsDestroying())
    return;
  TWeakRef<TCustomdxBarControl> self(this);
  TdxBarManager* manager = GetBarManager();
  if (manager && link) {
    if (IsCustomizing())
      manager->SelectForCustomizing(link);
    else
      manager->SetClickedItemLink(link);
  }
  if (!self)
    return;
  TdxBarItemControl* old = oldRef.Get();
  if (old && old != Value) {
    // A control the selection leaves has no hot part either (the pointer may have left it
    // while a drop-down held the mouse): it is drawn as any other.
    old->MouseLeave();
    RepaintItemControl(old);
  }
  if (Value)
    RepaintItemControl(Value);
  // The selection of an active window or a menu is where the keyboard is.
  if (Value && Value != old && (FActive || GetKind() == bckSubMenu))
    dxBarAccessibilityItemFocused(Value);
  if (!Value)
    SetCursor(crDefault);
  // A menu entry chosen by key gets no hint: the hint would hang at the mouse, over the
  // entries, wherever the keyboard selection is.
  const bool byKey = Value && GetKind() == bckSubMenu && !Value->GetSelectedByBar();
  ActivateHint(Value != nullptr && !byKey, Value);
  if (!self)
    return;
  String hint;
  if (Value && (Value->GetEnabled() || (manager && manager->GetShowHintForDisabledItems())))
    hint = Value->GetHint();
  SetHint(GetShortHint(hint));
  // A popup menu tells the application what its entry does, as the platform's own menus do,
  // so that a status line (Application->OnHint) can show it.
  if (Application && FItemLinks && dynamic_cast<TdxBarCustomPopupMenu*>(FItemLinks->GetOwner()))
    Application->SetHint(GetLongHint(hint));
}

void TCustomdxBarControl::SelectItemControl(TdxBarItemControl* AControl)
{
  if (!HandleAllocated() || IsDestroying())
    return;
  TdxBarItemControl* selected = GetSelectedControl();
  if (selected == AControl)
    return;
  TWeakRef<TCustomdxBarControl> self(this);
  // An editor being edited stops before the selection moves on.
  if (selected && selected->IsEditing())
    selected->Deactivate();
  if (!self)
    return;
  if (AControl && IsInActiveChain())
    AControl->SetSelectedByBar(false);
  SetSelectedControl(AControl);
  if (self && AControl)
    ScrollIntoView(AControl);
}

void TCustomdxBarControl::SelectItemControlByMouse(TdxBarItemControl* AControl)
{
  if (!HandleAllocated() || IsDestroying())
    return;
  TdxBarItemControl* selected = GetSelectedControl();
  // An editor in edit mode keeps the selection.
  if (selected && selected != AControl && selected->IsEditing())
    return;
  TWeakRef<TCustomdxBarControl> self(this);
  if (selected != AControl) {
    // Marked before the repaint: a disabled control under the mouse is not drawn selected.
    if (AControl)
      AControl->SetSelectedByBar(true);
    SetSelectedControl(AControl);
    if (!self)
      return;
    FKeyboardSelected = false;
  }
  if (AControl && FActive && IsInActiveChain() && AControl->IsDropDown() && !AControl->IsDroppedDown()) {
    TdxBarManager* manager = GetBarManager();
    if (!manager || manager->CanShowDropDown(AControl))
      AControl->Activate();
  }
}

void TCustomdxBarControl::SelectAndPress(TdxBarItemControl* AControl, bool AUnique)
{
  if (!AControl)
    return;
  TWeakRef<TCustomdxBarControl> self(this);
  SelectItemControl(AControl);
  if (!self)
    return;
  FKeyboardSelected = true;
  if (AUnique && HandleAllocated() && GetSelectedControl() == AControl)
    ::SendMessageW(GetHandle(), WM_KEYDOWN, VK_RETURN, 0);
}

// ---------------------------------------------------------------------------
// The chain of active bar windows

void TCustomdxBarControl::SetActive(bool Value)
{
  if (FActive == Value)
    return;
  if (Value) {
    TCustomdxBarControl* current = ActiveBarControl();
    if (!current) {
      GActiveChainCustomizing = IsCustomizing();
      // A new chain: personalised menus start showing their recent links again.
      GMenusExpanded = GActiveChainCustomizing;
    }
    FPrevActiveBarControl = current != this ? current : nullptr;
    GActiveBarControl = this;
    FActive = true;
    if (!IsCustomizing())
      FKeyboardSelected = false;
    return;
  }
  TWeakRef<TCustomdxBarControl> self(this);
  if (!IsCustomizing())
    SelectItemControl(nullptr);
  else
    FSelectedLink = nullptr;
  if (!self)
    return;
  FActive = false;
  RemoveFromActiveChain();
}

// The previous window becomes active again, unless it is gone or no longer active: then
// the chain empties.
void TCustomdxBarControl::RemoveFromActiveChain()
{
  FActive = false;
  if (GActiveBarControl.Get() == this) {
    TCustomdxBarControl* previous = FPrevActiveBarControl.Get();
    GActiveBarControl = previous && previous->FActive && !previous->IsDestroying() ? previous : nullptr;
    if (!GActiveBarControl)
      if (TdxBarNavigationController* navigation = BarNavigationController())
        navigation->ActiveChainEmptied();
  }
  FPrevActiveBarControl = nullptr;
}

bool TCustomdxBarControl::IsInActiveChain() const
{
  TCustomdxBarControl* active = ActiveBarControl();
  return !active || IsParentOf(active);
}

void TCustomdxBarControl::ActivateWithControl(TdxBarItemControl* AControl)
{
  TWeakRef<TCustomdxBarControl> self(this);
  const bool wasActive = FActive;
  SelectItemControl(AControl);
  if (self && !FActive && CanChangeActive(true))
    SetActive(true);
  // A toolbar that became active on its selection: the keyboard is there now.
  if (self && !wasActive && FActive && AControl && GetSelectedControl() == AControl && GetKind() != bckSubMenu)
    dxBarAccessibilityItemFocused(AControl);
}

void TCustomdxBarControl::Deactivate()
{
  TWeakRef<TCustomdxBarControl> self(this);
  SelectItemControl(nullptr);
  if (self && FActive && (CanChangeActive(false) || IsCustomizing()))
    SetActive(false);
}

void TCustomdxBarControl::DeactivateIfActive()
{
  if (FActive)
    Deactivate();
}

void TCustomdxBarControl::LeaveMenuMode()
{
  // An editor the click entered keeps the bar; a click by mouse ends with its release.
  if (IsEditorEditing())
    return;
  // A menu this window opened closes too: closing the innermost window closes its parents.
  TCustomdxBarControl* active = ActiveBarControl();
  if (active && active != this && IsParentOf(active))
    active->Close();
  else if (FActive && FKeyboardSelected)
    Close();
}

void TCustomdxBarControl::DoClose()
{
  Deactivate();
}

void TCustomdxBarControl::Close()
{
  if (FState & dxBarStateClosing)
    return;
  TWeakRef<TCustomdxBarControl> self(this);
  TWeakRef<TCustomdxBarControl> parent(GetParentBarControl());
  FState |= dxBarStateClosing;
  TFinally done([&]() noexcept {
    if (self)
      FState &= uint8_t(~dxBarStateClosing);
  });
  DoClose();
  // The parents close too, so a whole cascade of menus goes; a parent already closing
  // (it closes this one) is left to finish.
  TCustomdxBarControl* p = parent.Get();
  if (p && !p->IsClosing())
    p->Close();
}

// ---------------------------------------------------------------------------
// Keys

bool TCustomdxBarControl::BarKeyDown(WORD AKey, TShiftState AShift)
{
  WORD key = AKey;
  if (IsVertical()) {
    switch (key) {
      case VK_LEFT:
        key = VK_UP;
        break;
      case VK_UP:
        key = VK_LEFT;
        break;
      case VK_RIGHT:
        key = VK_DOWN;
        break;
      case VK_DOWN:
        key = VK_RIGHT;
        break;
      default:
        break;
    }
  }
  if (GetKind() == bckSubMenu) {
    // Left and Right belong to the menu window kind.
    if (key == VK_LEFT || key == VK_RIGHT)
      return false;
    if (key == VK_UP)
      key = VK_LEFT;
    else if (key == VK_DOWN)
      key = VK_RIGHT;
  }
  bool byTab = false;
  if (key == VK_TAB) {
    if (AShift.Contains(ssCtrl)) {
      MoveToNextBar(!AShift.Contains(ssShift));
      return true;
    }
    key = AShift.Contains(ssShift) ? VK_LEFT : VK_RIGHT;
    byTab = true;
  }
  if (!FItemLinks && key != VK_MENU && key != VK_F10)
    return false;
  switch (key) {
    case VK_LEFT: {
      TdxBarItemLink* link =
          FSelectedLink ? FItemLinks->GetPrevSelectableLink(FSelectedLink) : FItemLinks->GetFirstSelectableLink();
      SelectLinkByKey(link, byTab);
      return true;
    }
    case VK_RIGHT:
      SelectLinkByKey(FItemLinks->GetNextSelectableLink(FSelectedLink), byTab);
      return true;
    case VK_HOME:
      SelectLinkByKey(FItemLinks->GetFirstSelectableLink(), false);
      return true;
    case VK_END:
      SelectLinkByKey(FItemLinks->GetLastSelectableLink(), false);
      return true;
    case VK_MENU:
      Close();
      return true;
    case VK_F10: {
      TdxBarManager* manager = GetBarManager();
      if (manager && manager->GetUseF10ForMenu()) {
        Close();
        return true;
      }
      return false;
    }
    case VK_UP:
    case VK_DOWN:
      return false;  // the selected control's (a sub-item's drop-down)
    default:
      break;
  }
  // Accelerators: digits and letters only.
  UINT ch = ::MapVirtualKeyA(key, MAPVK_VK_TO_CHAR) & 0x7FFF;
  ch = UINT(std::towupper(wint_t(ch)));
  if (!((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z')))
    return false;
  TdxBarItemLink* link = FItemLinks->FindAccelLink(key, AShift, FSelectedLink);
  if (!link || !link->GetControl())
    return false;
  // The match is the only one when the search from it finds nothing else.
  TdxBarItemLink* other = FItemLinks->FindAccelLink(key, AShift, link);
  SelectAndPress(link->GetControl(), !other || other == link);
  return true;
}

void TCustomdxBarControl::WMKeyDownBar(TMessage& Message)
{
  TWeakRef<TCustomdxBarControl> self(this);
  const WORD key = WORD(Message.WParam);
  // A key the selected control wants is its own (a drop-down button's Down opens its menu).
  TdxBarItemControl* selected = GetSelectedControl();
  if (selected && selected->GetEnabled() && selected->WantsKey(key)) {
    if (selected->KeyDown(key)) {
      Message.Result = 0;
      return;
    }
    if (!self)
      return;
  }
  if (BarKeyDown(key, GetShiftState())) {
    Message.Result = 0;
    return;
  }
  if (self)
    TCustomControl::WndProc(Message);
}

void TCustomdxBarControl::SelectLinkByKey(TdxBarItemLink* ALink, bool AByTab)
{
  TdxBarItemControl* control = GetLinkControl(ALink);
  if (!control)
    return;
  TWeakRef<TCustomdxBarControl> self(this);
  TWeakRef<TdxBarItemControl> controlRef(control);
  SelectItemControl(control);
  if (!self)
    return;
  FKeyboardSelected = true;
  if (AByTab && controlRef && controlRef->IsWinControl())
    controlRef->ClickByKey();
}

void TCustomdxBarControl::MoveToNextBar(bool AForward)
{
  if (GetKind() != bckToolbar)
    return;
  const std::vector<TCustomdxBarControl*> bars = GetTabOrderBars();
  auto it = std::find(bars.begin(), bars.end(), this);
  if (it == bars.end())
    return;
  const int count = int(bars.size());
  const int start = int(it - bars.begin());
  for (int step = 1; step < count; ++step) {
    TCustomdxBarControl* bar = bars[size_t(((start + (AForward ? step : -step)) % count + count) % count)];
    TdxBarItemLinks* links = bar->GetItemLinks();
    TdxBarItemLink* first = links ? links->GetFirstSelectableLink() : nullptr;
    if (!bar->HandleAllocated() || !first || !first->GetControl())
      continue;
    TWeakRef<TCustomdxBarControl> target(bar);
    auto move = [this, &target] {
      Deactivate();
      if (TCustomdxBarControl* next = target.Get())
        if (TdxBarItemLink* link = next->GetItemLinks()->GetFirstSelectableLink())
          next->ActivateItemControl(link->GetControl());
    };
    if (TdxBarNavigationController* navigation = BarNavigationController())
      navigation->KeepNavigationWhile(move);
    else
      move();
    return;
  }
}

// ---------------------------------------------------------------------------
// Mouse

bool TCustomdxBarControl::IsMouseOutside(bool AUseStoredPoint) const
{
  if (IsCustomizing())
    return true;
  TPoint p = CursorPos();
  if (AUseStoredPoint && p == FLastMousePoint)
    return true;
  auto* self = const_cast<TCustomdxBarControl*>(this);
  if (!self->HandleAllocated())
    return true;
  RECT r{};
  ::GetWindowRect(self->GetHandle(), &r);
  return !::PtInRect(&r, POINT{p.x, p.y});
}

void TCustomdxBarControl::DoMouseEnter()
{
  if (!HandleAllocated())
    return;
  FLastMousePoint = CursorPos();
  if (TdxBarManager* manager = GetBarManager()) {
    manager->BeginMouseTracking(this);
    return;
  }
  RECT r{};
  ::GetWindowRect(GetHandle(), &r);
  BeginMouseTracking(this, TRect{r.left, r.top, r.right, r.bottom}, this);
}

void TCustomdxBarControl::DoMouseLeave()
{
  if (TdxBarManager* manager = GetBarManager())
    manager->EndMouseTracking(this);
  else
    EndMouseTracking(this);
  FLastMousePoint = NoPoint;
  if (IsDestroying())
    return;
  TdxBarItemControl* selected = GetSelectedControl();
  if (selected)
    selected->MouseLeave();
  // The hot control goes with the mouse unless the window keeps it (active, a drop-down).
  if (selected && !FActive && !FHoldsCapture && !selected->IsDroppedDown() && !IsCustomizing())
    SelectItemControl(nullptr);
}

void TCustomdxBarControl::LeaveBarControlUnderCursor(const TCustomdxBarControl* AExcept)
{
  POINT p{};
  if (!::GetCursorPos(&p))
    return;
  auto* other = dynamic_cast<TCustomdxBarControl*>(FindControl(::WindowFromPoint(p)));
  if (other && other != AExcept && !other->IsDestroying())
    other->DoMouseLeave();
}

void TCustomdxBarControl::MouseLeave()
{
  DoMouseLeave();
}

void TCustomdxBarControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TWeakRef<TCustomdxBarControl> self(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (!self)
    return;
  const TPoint p{X, Y};
  if (FLastMousePoint == NoPoint && !IsCustomizing()) {
    DoMouseEnter();
    if (!self)
      return;
  }
  TdxBarItemControl* control = GetItemControlAtPos(p);
  TdxBarItemControl* selected = GetSelectedControl();
  if (Button == mbLeft && Shift.Contains(ssDouble) && selected && control == selected && selected->WantsDoubleClick()) {
    DoubleClickItemControl(selected);
    return;
  }
  ControlMouseDown(Button, Shift, PtInRect(GetClientRect(), p), control, p);
}

void TCustomdxBarControl::DoubleClickItemControl(TdxBarItemControl* AControl)
{
  if (AControl)
    AControl->DoubleClick();
}

void TCustomdxBarControl::ArmDrag(const TPoint& AScreenPoint)
{
  TdxBarManager* manager = GetBarManager();
  if (!manager || !FSelectedLink)
    return;
  FDragStartPoint = AScreenPoint;
  manager->SetPendingDrag(FSelectedLink, this);
  FDragStarting = true;
  ::SetCapture(GetHandle());
}

void TCustomdxBarControl::CancelPendingDrag()
{
  if (!FDragStarting)
    return;
  FDragStarting = false;
  if (TdxBarManager* manager = GetBarManager())
    manager->SetPendingDrag(nullptr, nullptr);
}

void TCustomdxBarControl::ShowBarControlPopup()
{
  if (auto show = dxBarCustomizingServices().ShowBarControlPopup; show && IsCustomizing())
    show(GetBarManager(), this);
}

void TCustomdxBarControl::ControlMouseDown(TMouseButton Button, TShiftState Shift, bool AInClient,
                                           TdxBarItemControl* AControl, const TPoint& P)
{
  TWeakRef<TCustomdxBarControl> self(this);
  if (IsMouseOutside() && !IsCustomizing()) {
    // The press came while the cursor is already elsewhere: the mouse has left.
    DoMouseLeave();
    return;
  }
  if (!IsCustomizing()) {
    FLastMousePoint = CursorPos();
    if (AControl)
      AControl->MouseMove(P);
  }
  if (!self)
    return;
  if (IsCustomizing()) {
    // Design selection: the press selects the link, which may then be dragged; the right
    // button offers the link's customizing commands.
    if (Button == mbRight && AControl) {
      SelectItemControl(AControl);
      const TdxBarCustomizingServices& services = dxBarCustomizingServices();
      if (self && services.ShowCustomizingPopup && AControl->GetItemLink())
        services.ShowCustomizingPopup(GetBarManager(), AControl->GetItemLink(), this);
      return;
    }
    if (Button == mbRight) {
      ShowBarControlPopup();
      return;
    }
    if (Button != mbLeft || !AControl)
      return;
    // The customizing click: the link is selected and its control activated, so that a
    // sub-item's menu opens for its own links to be customized in turn.
    TWeakRef<TdxBarItemControl> control(AControl);
    ActivateWithControl(AControl);
    if (self && control && control->IsDropDown() && !control->IsDroppedDown())
      control->Activate();
    if (self && control && GetSelectedControl() == control.Get() && control->GetItemLink()->GetItem())
      ArmDrag(ClientToScreen(P));
    return;
  }
  if (Button == mbLeft) {
    if (!AControl || !AInClient)
      return;
    if (TdxBarManager* manager = GetBarManager())
      manager->SetClickedItemLink(AControl->GetItemLink());
    TWeakRef<TdxBarItemControl> control(AControl);
    ActivateWithControl(AControl);
    if (!self || !control)
      return;
    // The control learns of the press (a button's arrow part opens its drop-down); one whose
    // drop-down is now open leaves the mouse to it instead of being held pressed.
    if (control->GetEnabled())
      control->MouseDown(P);
    if (!self || !control || control->IsDroppedDown())
      return;
    // A menu entry is not held: the selection follows the pointer, and the release clicks
    // the entry under it.
    if (control->GetEnabled() && !control->IsWinControl() && GetKind() != bckSubMenu) {
      FHoldsCapture = true;
      ::SetCapture(GetHandle());
      if (self && control)
        control->Repaint();
    }
    return;
  }
  if (Button == mbRight) {
    TdxBarItemControl* selected = GetSelectedControl();
    if (selected && selected != AControl)
      selected->Deactivate();
    if (self && AControl && CanSelectByRightButton())
      SelectItemControlByMouse(AControl);
  }
}

void TCustomdxBarControl::MouseMove(TShiftState Shift, int X, int Y)
{
  TWeakRef<TCustomdxBarControl> self(this);
  TCustomControl::MouseMove(Shift, X, Y);
  if (!self)
    return;
  const TPoint p{X, Y};
  if (FDragStarting) {
    const TPoint screen = ClientToScreen(p);
    const int cx = ::GetSystemMetrics(SM_CXDRAG), cy = ::GetSystemMetrics(SM_CYDRAG);
    const TRect area{FDragStartPoint.x - cx / 2, FDragStartPoint.y - cy / 2, FDragStartPoint.x - cx / 2 + cx,
                     FDragStartPoint.y - cy / 2 + cy};
    if (!PtInRect(area, screen)) {
      TdxBarManager* manager = GetBarManager();
      TdxBarItemLink* link = manager ? manager->GetPendingDragItemLink() : nullptr;
      TWeakRef<TdxBarItemLink> linkRef(link ? link : FSelectedLink);
      FDragStarting = false;
      ::ReleaseCapture();
      if (self && manager && linkRef)
        manager->StartItemLinkDrag(linkRef.Get());
    }
    return;
  }
  TdxBarItemControl* control = GetItemControlAtPos(p);
  if (FLastMousePoint == NoPoint && !IsCustomizing()) {
    DoMouseEnter();
    if (!self)
      return;
    // The move that brought the mouse in is handled though the point was just stored.
    FForceNextMouseMove = true;
    control = GetItemControlAtPos(p);
  }
  ControlMouseMove(Shift, control, p);
  if (self)
    FLastMousePoint = CursorPos();
}

void TCustomdxBarControl::ControlMouseMove(TShiftState Shift, TdxBarItemControl* AControl, const TPoint& P)
{
  const bool force = FForceNextMouseMove;
  FForceNextMouseMove = false;
  if (IsMouseOutside(!force))
    return;
  TWeakRef<TCustomdxBarControl> self(this);
  TdxBarItemControl* selected = GetSelectedControl();
  if (FHoldsCapture) {
    // While an item is pressed the selection stays on it; only its hot part follows.
    if (selected)
      selected->MouseMove(P);
    return;
  }
  if (AControl) {
    // A re-layout's hot-tracking move is no choice of the user's: it leaves a selection the
    // keys made, or one whose drop-down is open, where it is.
    if (FHotTrackMoving && selected && AControl != selected && (FKeyboardSelected || selected->IsDroppedDown()))
      return;
    if (AControl != selected)
      SelectItemControlByMouse(AControl);
    if (self && GetSelectedControl() == AControl)
      AControl->MouseMove(P);
    return;
  }
  if (!selected)
    return;
  selected->MouseMove(P);
  if (self && !selected->IsDroppedDown() && !KeepsSelectionWhenOverNothing() && !FKeyboardSelected)
    SelectItemControl(nullptr);
}

void TCustomdxBarControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomdxBarControl::ControlMouseUp(TMouseButton Button, TShiftState Shift, TdxBarItemControl* AControl,
                                         const TPoint& P)
{
  TWeakRef<TCustomdxBarControl> self(this);
  TdxBarItemControl* selected = GetSelectedControl();
  if (!IsCustomizing() && AControl && AControl == selected && AControl->GetEnabled()) {
    TWeakRef<TdxBarItemControl> control(AControl);
    // An in-place editor starts editing first, the caret where the user clicked.
    if (AControl->IsWinControl())
      AControl->ActivateByMouse();
    if (control)
      control->Click();
    return;
  }
  // Released over another control of a toolbar: the press is dropped and the bar closes.
  if (AControl && AControl != selected && GetKind() == bckToolbar && !AControl->IsDroppedDown() &&
      !(selected && selected->GetDoingClick()))
    Close();
}

void TCustomdxBarControl::LButtonUp(TMessage& Message)
{
  if (FIgnoreMouseUp) {
    FIgnoreMouseUp = false;
    Message.Result = 0;
    return;
  }
  TWeakRef<TCustomdxBarControl> self(this);
  TCustomControl::WndProc(Message);
  if (!self)
    return;
  if (FDragStarting) {
    CancelPendingDrag();
    if (::GetCapture() == GetHandle())
      ::ReleaseCapture();
    return;
  }
  const bool held = FHoldsCapture;
  if (held) {
    FHoldsCapture = false;
    if (::GetCapture() == GetHandle())
      ::ReleaseCapture();
  }
  if (!self)
    return;
  const TPoint p = LParamPoint(Message.LParam);
  if (PtInRect(GetClientRect(), p) && FActive) {
    TdxBarItemControl* control = GetItemControlAtPos(p);
    ControlMouseUp(mbLeft, KeysToShiftState(WORD(Message.WParam)), control, p);
    if (!self)
      return;
  }
  if (held && self && !IsDestroying())
    Close();
}

// ---------------------------------------------------------------------------
// The message table

void TCustomdxBarControl::SetFocusAway()
{
  TdxBarManager* manager = GetBarManager();
  HWND own = GetHandle();
  if (manager && IsCustomizing()) {
    if (HWND dialog = manager->GetCustomizingFormHandle()) {
      ::SetWindowPos(own, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      ::SetFocus(dialog);
      ::SetWindowPos(own, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return;
    }
  }
  TWinControl* parent = manager ? manager->GetParentControl() : nullptr;
  TCustomForm* form = manager ? manager->GetTopLevelForm() : nullptr;
  TWinControl* target = form ? static_cast<TWinControl*>(form) : parent;
  if (target && target->HandleAllocated() && ::IsWindowVisible(target->GetHandle())) {
    ::SetFocus(target->GetHandle());
    return;
  }
  HWND from = target && target->HandleAllocated() ? target->GetHandle() : own;
  if (HWND next = ::GetWindow(from, GW_HWNDNEXT); next && next != own)
    ::SetFocus(next);
}

void TCustomdxBarControl::CtlColorEdit(TMessage& Message)
{
  HWND window = reinterpret_cast<HWND>(Message.LParam);
  TdxBarPainter* painter = GetPainter();
  if (FItemLinks && window && painter)
    for (TdxBarItemLink* link : FItemLinks->GetVisibleItems()) {
      TdxBarItemControl* control = link->GetControl();
      const std::optional<TdxBarInPlaceEdit> edit = control ? control->GetInPlaceEdit() : std::nullopt;
      if (!edit || edit->Wnd != window)
        continue;
      TColor text = clWindowText, background = clWindow;
      painter->GetInPlaceEditColors(control, text, background);
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      ::SetBkColor(dc, ColorToRGB(background));
      ::SetTextColor(dc, ColorToRGB(text));
      Message.Result = reinterpret_cast<LRESULT>(edit->Brush);
      return;
    }
  TCustomControl::WndProc(Message);
}

void TCustomdxBarControl::UpdateShadowPosition(bool ASizeChanged)
{
  if (ASizeChanged)
    UpdateWindowRegion();
  if (!FShadow || !HandleAllocated())
    return;
  TdxBarPainter* painter = GetPainter();
  const bool shown = IsShowing() && painter && painter->IsShadowShown(this);
  FShadow->SetVisible(shown);
  if (!shown)
    return;
  RECT r{};
  ::GetWindowRect(GetHandle(), &r);
  FShadow->SetRectangles(GetOwnerItemRect(), TRect{r.left, r.top, r.right, r.bottom});
}

// Mouse input reaches only the windows of the active chain: an open menu is modal.
void TCustomdxBarControl::WMMouseBar(TMessage& Message)
{
  // While an item edits, the rest of its control belongs to its editor, not to the bar.
  if (auto* editing = dynamic_cast<TdxBarWinControl*>(GetSelectedControl());
      editing && editing->PassBarMouseMessage(Message)) {
    Message.Result = 0;
    return;
  }
  const UINT msg = Message.Msg;
  if (!IsInActiveChain() || ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && FIgnoreMouseUp)) {
    Message.Result = 0;
    return;
  }
  if (msg == WM_LBUTTONUP)
    return LButtonUp(Message);
  if (msg == WM_MOUSEMOVE && (Message.WParam & dxBarHotTrackMouseMove)) {
    // A posted hot-tracking move: handled even at the stored point, and only this one.
    Message.WParam &= ~dxBarHotTrackMouseMove;
    FForceNextMouseMove = true;
    FHotTrackMoving = true;
    TWeakRef<TCustomdxBarControl> self(this);
    TCustomControl::WndProc(Message);
    if (self)
      FForceNextMouseMove = FHotTrackMoving = false;
    return;
  }
  TCustomControl::WndProc(Message);
}

void TCustomdxBarControl::WMCommandBar(TMessage& Message)
{
  TCustomControl::WndProc(Message);
  // An edit's change goes back to the edit, whose item control reads it.
  HWND sender = reinterpret_cast<HWND>(Message.LParam);
  if (Message.Result == 0 && HIWORD(Message.WParam) == EN_CHANGE && sender)
    Message.Result = ::SendMessageW(sender, WM_COMMAND, Message.WParam, Message.LParam);
}

void TCustomdxBarControl::WMSetFocusBar(TMessage& Message)
{
  TdxBarItemControl* selected = GetSelectedControl();
  if (selected && selected->IsWinControl())
    return TCustomControl::WndProc(Message);
  SetFocusAway();
  Message.Result = 0;
}

void TCustomdxBarControl::WMKillFocusBar(TMessage& Message)
{
  TWeakRef<TCustomdxBarControl> self(this);
  TCustomControl::WndProc(Message);
  if (self && Message.WParam == 0)
    Close();
}

void TCustomdxBarControl::WMNCActivateBar(TMessage& Message)
{
  TdxBarManager* manager = GetBarManager();
  if (Message.WParam && manager && !manager->IsCustomizing() && !manager->IsDesigning()) {
    // The form's caption stays drawn active while a bar window is used.
    HWND parent = ::GetParent(GetHandle());
    if (!parent)
      parent = ::GetWindow(GetHandle(), GW_OWNER);
    if (parent)
      ::SendMessageW(parent, WM_NCACTIVATE, 1, 0);
  }
  Message.WParam = 1;
  if (HasSystemFrame(GetHandle()))
    return TCustomControl::WndProc(Message);
  Message.Result = 1;
}

void TCustomdxBarControl::WMMouseActivateBar(TMessage& Message)
{
  TCustomControl::WndProc(Message);
  Message.Result = MA_NOACTIVATE;
}

void TCustomdxBarControl::WMCaptureChangedBar(TMessage& Message)
{
  TCustomControl::WndProc(Message);
  CancelPendingDrag();
  FHoldsCapture = false;
}

void TCustomdxBarControl::WMDestroyBar(TMessage& Message)
{
  // Key tips and a keyboard selection on a window that goes would stay on screen.
  if (TdxBarNavigationController* navigation = BarNavigationController())
    navigation->ObjectRemoving(this);
  if (IsWindowVisible(GetHandle()))
    dxBarAccessibilityWindowShown(this, false);
  if (!IsDestroying()) {
    TWeakRef<TCustomdxBarControl> self(this);
    ClickMark(TdxBarMarkState::Normal);
    if (self)
      DoMouseLeave();
    if (self && FItemLinks)
      for (TdxBarItemLink* link : FItemLinks->GetVisibleItems())
        if (TdxBarItemControl* control = link->GetControl())
          control->BeforeHide();
    if (!self)
      return;
  }
  if (FShadow)
    FShadow->ReleaseParts();
  TCustomControl::WndProc(Message);
}

void TCustomdxBarControl::WMNCPaintBar(TMessage& Message)
{
  if (!CanPaintNonClient())
    return TCustomControl::WndProc(Message);
  HDC dc = GetNonClientDC();
  if (HasSystemFrame(GetHandle()))
    TCustomControl::WndProc(Message);
  else
    Message.Result = 0;
  if (dc) {
    PaintNonClient(dc);
    ReleaseNonClientDC(dc);
  }
}

void TCustomdxBarControl::WMPaintBar(TMessage& Message)
{
  if (!IsDestroying())
    return TCustomControl::WndProc(Message);
  // A window on its way out only validates what it is asked to paint.
  PAINTSTRUCT ps{};
  ::BeginPaint(GetHandle(), &ps);
  ::EndPaint(GetHandle(), &ps);
  Message.Result = 0;
}

void TCustomdxBarControl::WMSetCursorBar(TMessage& Message)
{
  if (reinterpret_cast<HWND>(Message.WParam) != GetHandle() || LOWORD(Message.LParam) != HTCLIENT)
    return TCustomControl::WndProc(Message);
  ::SetCursor(GetCursorHandle(GetCursor()));
  Message.Result = 1;
}

void TCustomdxBarControl::WMWindowPosChangedBar(TMessage& Message)
{
  TWeakRef<TCustomdxBarControl> self(this);
  TCustomControl::WndProc(Message);
  if (!self)
    return;
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  if (pos && (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
    dxBarAccessibilityWindowShown(this, (pos->flags & SWP_SHOWWINDOW) != 0);
  if (IsDestroying())
    return;
  // Only a change of size remakes the region; a move keeps it.
  UpdateShadowPosition(pos && !(pos->flags & SWP_NOSIZE));
}

void TCustomdxBarControl::WndProc(TMessage& Message)
{
  const UINT msg = Message.Msg;
  if ((msg >= WM_MOUSEFIRST && msg <= WM_MOUSEWHEEL) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK))
    return WMMouseBar(Message);
  // clang-format off
  switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: return CtlColorEdit(Message);
    case WM_COMMAND: return WMCommandBar(Message);
    case WM_SETFOCUS: return WMSetFocusBar(Message);
    case WM_KILLFOCUS: return WMKillFocusBar(Message);
    case WM_NCACTIVATE: return WMNCActivateBar(Message);
    case WM_MOUSEACTIVATE: return WMMouseActivateBar(Message);
    case WM_ERASEBKGND: Message.Result = 1; return;  // the buffered paint covers everything
    case WM_CAPTURECHANGED: return WMCaptureChangedBar(Message);
    case WM_DESTROY: return WMDestroyBar(Message);
    case WM_NCPAINT: return WMNCPaintBar(Message);
    case WM_PAINT: return WMPaintBar(Message);
    case WM_SETCURSOR: return WMSetCursorBar(Message);
    case WM_WINDOWPOSCHANGED: return WMWindowPosChangedBar(Message);
    case WM_KEYDOWN: return ActiveBarControl() ? WMKeyDownBar(Message) : TCustomControl::WndProc(Message);
    case DXM_BAR_REBUILD: return RebuildBar();
    case WM_GETOBJECT:
      if ((Message.Result = dxBarAnswerGetObject(this, Message.WParam, Message.LParam)) != 0)
        return;
      return TCustomControl::WndProc(Message);
    default: return TCustomControl::WndProc(Message);
  }
  // clang-format on
}
