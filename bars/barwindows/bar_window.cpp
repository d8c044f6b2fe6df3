// The bar and its window: creating the window through the links, placing it into its dock
// site or floating, applying positions and rows, and passing setting changes on to it.
#include "bars/model/bar.h"

#include "bars/barwindows/dockcontrol.h"
#include "bars/painters/painter.h"
#include "bars/barwindows/toolbar.h"
#include "platform/Forms.h"
#include "platform/Messages.h"

TdxBarControl* TdxBar::GetControl() const
{
  return FItemLinks ? dynamic_cast<TdxBarControl*>(FItemLinks->GetBarControl()) : nullptr;
}

TdxDockControl* TdxBar::GetRealDockControl() const
{
  if (TdxBarDockControl* dock = GetDockControl())
    return dock;
  TdxBarManager* manager = GetBarManager();
  TdxBarDockingStyle style = GetDockingStyle();
  if (style == dsNone || !manager || !manager->GetBars())
    return nullptr;
  return manager->GetBars()->GetDockControl(style);
}

TClass TdxBar::GetControlClass() const
{
  if (TdxDockControl* dock = GetRealDockControl())
    if (TClass cls = dock->GetBarControlClass())
      return cls;
  return TdxBarControl::StaticClass();
}

TdxBarItemLinks* TdxBar::GetOwnedItemLinks()
{
  return FItemLinks.get();
}

TCustomdxBarControl* TdxBar::CreateBarControl()
{
  auto* control = dynamic_cast<TdxBarControl*>(GetControlClass()->Create(this));
  if (control)
    control->UpdateFont();
  return control;
}

void TdxBar::CaptionButtonsChanged(TdxBarCaptionButtons*, TdxBarCaptionButton* AButton)
{
  TWeakRef<TdxBarControl> control(GetControl());
  if (control && !AButton)
    control->CaptionButtonsRenumbered();
  if (control && control->IsFloating() && control->HandleAllocated())
    control->UpdateFrame();
}

TdxBarDockingStyle TdxBar::DockControlStyle(TdxBarDockControl* ADockControl)
{
  return ADockControl ? ADockControl->GetDockingStyle() : dsNone;
}

bool TdxBar::BelongsToManager(TdxBarDockControl* ADockControl) const
{
  TdxBarManager* owner = ADockControl ? ADockControl->GetBarManager() : nullptr;
  return !owner || owner == GetBarManager();
}

bool TdxBar::IsOwnSiteOfAnyManager(TdxBarDockControl* ADockControl)
{
  return ADockControl && ADockControl->IsOwnedByManager();
}

// ---------------------------------------------------------------------------
// Telling the window

void TdxBar::RefreshFrame()
{
  if (TdxBarControl* control = GetControl())
    control->RefreshFrame();
}

void TdxBar::RebuildControl()
{
  if (TdxBarControl* control = GetControl())
    control->RebuildBar();
}

void TdxBar::UpdateControlCaption()
{
  if (TdxBarControl* control = GetControl())
    control->UpdateCaption();
}

void TdxBar::UpdateControlFont()
{
  if (TdxBarControl* control = GetControl())
    control->UpdateFont();
}

void TdxBar::StoreControlDockingState()
{
  if (TdxBarControl* control = GetControl())
    control->StoreDockingState();
}

TdxBarDockingStyle TdxBar::ControlDockingStyle() const
{
  TdxBarControl* control = GetControl();
  return control ? control->GetDockingStyle() : GetDockingStyle();
}

void TdxBar::SetControlDockingStyle(TdxBarDockingStyle AStyle)
{
  if (TdxBarControl* control = GetControl())
    if (control->GetDockingStyle() != AStyle)
      control->SetDockingStyle(AStyle);
}

bool TdxBar::ControlRealDockControlIs(TdxBarDockControl* ADockControl) const
{
  TdxBarControl* control = GetControl();
  return control && control->GetDockControl() == ADockControl;
}

bool TdxBar::ControlInOwnDockSite() const
{
  TdxBarControl* control = GetControl();
  TdxDockControl* dock = control ? control->GetDockControl() : nullptr;
  return dock && dock->IsOwnedByManager();
}

// The window follows the bar's real dock control.
void TdxBar::SetControlDockControl()
{
  TdxBarControl* control = GetControl();
  if (!control || control->GetDockingStyle() == dsNone)
    return;
  TdxDockControl* target = GetRealDockControl();
  if (!target || control->GetDockControl() == target)
    return;
  // Placed anew inside the new site.
  PlaceControl();
}

void TdxBar::LeaveDockRow()
{
  TdxDockRow* row = FDockRow;
  if (!row)
    return;
  TdxBarManager* manager = GetBarManager();
  if (manager && manager->IsDestroying()) {
    FDockRow = nullptr;
    return;
  }
  row->RemoveBar(this, true);
  FDockRow = nullptr;
}

// ---------------------------------------------------------------------------
// Row and OneOnRow

int TdxBar::GetRow() const
{
  if (FDockRow)
    return FDockRow->GetIndex();
  return FRow;
}

void TdxBar::SetRow(int Value)
{
  Value = std::max(Value, 0);
  if (FDockRow && Value == GetRow())
    return;
  FRow = Value;
  TdxBarManager* manager = GetBarManager();
  TdxDockControl* dock = GetRealDockControl();
  if (dock && manager && !manager->IsDestroying() && !manager->IsLoading()) {
    TdxDockRow* target = nullptr;
    if (dock->GetRowCount() > Value)
      target = dock->GetRow(Value);
    else if (manager->IsUpdateLocked() || manager->IsLoadingLayout()) {
      // Every row up to the one asked for, within the sites' sanity limit on row indexes.
      int last = std::min(Value, dxDockMaxRowIndex);
      while (dock->GetRowCount() <= last)
        dock->AddRow();
      target = dock->GetRow(last);
    } else
      target = dock->AddRow();
    TdxDockRow* old = FDockRow;
    TdxBarControl* control = GetControl();
    if (target && target != old) {
      if (old) {
        if (control)
          old->RemoveBarControl(control);
        // The emptied row stays: the next update drops it.
        old->RemoveBar(this, false);
      }
      target->AddBar(this);
      if (control && control->GetDockControl() == dock)
        target->AddCol(control);
    }
    Changed(false);
    // A bar without a window here only made or chose a row: the windows of the other rows keep
    // their places along their rows.
    if (control && control->GetDockControl() == dock)
      dock->RealignBars();
    else
      dock->RealignRow(target);
    return;
  }
  Changed(false);
}

void TdxBar::SetOneOnRow(bool Value)
{
  if (FOneOnRow == Value)
    return;
  // While a window of this site is being destroyed the site itself reports the rows.
  if (TdxDockControl* dock = GetRealDockControl())
    if (dock->IsBarDestroying())
      return;
  FOneOnRow = Value;
}

void TdxBar::SetRotateWhenVertical(bool Value)
{
  if (FRotateWhenVertical == Value)
    return;
  FRotateWhenVertical = Value;
  if (TdxBarControl* control = GetControl())
    if (control->HandleAllocated())
      SendMessageW(control->GetHandle(), CM_FONTCHANGED, 0, 0);
}

void TdxBar::SetAlphaBlendValue(uint8_t Value)
{
  if (FAlphaBlendValue == Value)
    return;
  FAlphaBlendValue = Value;
  if (TdxBarControl* control = GetControl())
    if (control->IsFloating())
      control->UpdateAlphaBlend();
}

// ---------------------------------------------------------------------------
// Queries that look at the window

bool TdxBar::CanClose() const
{
  return FAllowClose && !FIsMainMenu;
}

bool TdxBar::CanShowSizeGrip() const
{
  if (!IsStatusBar() || !FSizeGrip)
    return false;
  TdxBarManager* manager = GetBarManager();
  TCustomForm* form = manager ? manager->GetTopLevelForm() : nullptr;
  if (form && form->HandleAllocated() && IsZoomed(form->GetHandle()))
    return false;
  TdxBarControl* control = GetControl();
  if (!control || !control->HandleAllocated())
    return true;
  // The window must lie on the bottom edge of each parent up to the form.
  HWND wnd = control->GetHandle();
  HWND formWnd = form && form->HandleAllocated() ? form->GetHandle() : nullptr;
  while (HWND up = GetParent(wnd)) {
    RECT r, client;
    GetWindowRect(wnd, &r);
    MapWindowPoints(nullptr, up, reinterpret_cast<POINT*>(&r), 2);
    GetClientRect(up, &client);
    if (r.bottom != client.bottom)
      return false;
    if (up == formWnd)
      break;
    wnd = up;
  }
  return true;
}

int TdxBar::GetFloatBorderWidth() const
{
  TdxBarManager* manager = GetBarManager();
  TdxBarPainter* painter = manager ? manager->GetPainter() : nullptr;
  if (!painter)
    return 0;
  TRect borders = painter->GetBarBorders(this, dsNone, CanShowSizeGrip());
  return borders.left + borders.right;
}

int TdxBar::GetFloatBorderHeight() const
{
  TdxBarManager* manager = GetBarManager();
  TdxBarPainter* painter = manager ? manager->GetPainter() : nullptr;
  if (!painter)
    return 0;
  TRect borders = painter->GetBarBorders(this, dsNone, CanShowSizeGrip());
  return borders.top + borders.bottom;
}

// ---------------------------------------------------------------------------
// Placing the window

namespace {

// Whether the form and every parent above it is shown and not minimised.
bool IsFormShowing(TWinControl* AControl)
{
  TCustomForm* form = AControl ? GetParentForm(AControl) : nullptr;
  if (!form || !form->HandleAllocated() || !IsWindowVisible(form->GetHandle()))
    return false;
  for (HWND wnd = form->GetHandle(); wnd; wnd = GetParent(wnd))
    if (IsIconic(wnd))
      return false;
  return true;
}

}  // namespace

void TdxBar::PlaceControl()
{
  TdxBarControl* control = GetControl();
  TdxBarManager* manager = GetBarManager();
  if (!control || !manager)
    return;
  TdxBarDockingStyle style = GetDockingStyle();
  TdxDockControl* dock = style == dsNone ? nullptr : GetRealDockControl();
  if (style == dsNone || !dock) {
    control->LockDocking();
    if (control->GetDockingStyle() != dsNone)
      control->SwitchDockedFloating();
    control->UnlockDocking();
    control->SizeForFloating();
    SetWindowPos(control->GetHandle(), nullptr, FFloatLeft, FFloatTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    control->LockDocking();
    TFinally unlock([control] { control->UnlockDocking(); });
    if (control->GetDockingStyle() != style || control->GetParent() != dock)
      control->SetDockingStyle(style);
    // The site turns the point back the same way, also before it has a window (in Loaded).
    dock->DockBarControlAt(control, dock->ClientToScreen(TPoint{FDockedLeft, FDockedTop}), true);
  }
  bool docked = control->GetDockingStyle() != dsNone;
  bool show = docked;
  if (!docked && IsFormShowing(manager->GetParentControl())) {
    show = !manager->GetHideFloatingBarsWhenInactive() || manager->IsCustomizing() ||
           IsFormActive(manager->GetNearestParentForm());
  }
  // The window kinds show without activation.
  if (show && (!docked || control->GetParent()))
    control->SetVisible(true);
  manager->RemoveTemporaryHiddenBar(this);
}

void TdxBar::ApplyPosition()
{
  TdxBarControl* control = GetControl();
  TdxBarManager* manager = GetBarManager();
  if (!control || !manager || manager->IsDraggingBars() || control->IsMoving())
    return;
  if (control->GetDockingStyle() != dsNone) {
    if (TdxDockControl* dock = control->GetDockControl())
      dock->RemoveBarControl(control);
    PlaceControl();
  } else {
    // One move with the new size: the window sees a single position change.
    TPoint size = control->CalcSize(dsNone);
    SetWindowPos(control->GetHandle(), nullptr, FFloatLeft, FFloatTop, size.x, size.y, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}
