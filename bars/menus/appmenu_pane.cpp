// The application menu's extra pane: its private dock site, which the menu sizes, and the
// pane's window, which lists its links one under another and belongs to the menu's
// activation.
#include "bars/menus/appmenu.h"

#include "platform/Win.h"

#include "bars/model/itemlinks.h"

IMPLEMENT_CLASS(TdxBarExtraPaneDockControl, TdxBarDockControl)
IMPLEMENT_CLASS(TdxBarExtraPaneControl, TdxBarControl)

// ---------------------------------------------------------------------------
// The extra pane

TdxBarExtraPaneDockControl::TdxBarExtraPaneDockControl(TComponent* AOwner) : TdxBarDockControl(AOwner)
{
  SetAllowDocking(false);
}

TClass TdxBarExtraPaneDockControl::GetBarControlClass() const
{
  return TdxBarExtraPaneControl::StaticClass();
}

// The menu gives the site its bounds; the site's one bar fills it. A plain site would size
// itself to its bars and close the open menu, which is the one it sits in.
void TdxBarExtraPaneDockControl::UpdateSize()
{
  TdxBarControl* control = nullptr;
  for (int i = 0; i < GetRowCount() && !control; ++i)
    if (TdxDockRow* row = GetRow(i); row->GetColCount() > 0)
      control = row->GetCol(0)->GetBarControl();
  if (!control || control->IsDestroying())
    return;
  const TRect client = GetClientRect();
  if (control->GetBoundsRect() == client)
    return;
  if (control->HandleAllocated()) {
    // The frame is worked out again with the move.
    ::SetWindowPos(control->GetHandle(), nullptr, client.left, client.top, RectWidth(client), RectHeight(client),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else {
    control->SetBounds(client.left, client.top, RectWidth(client), RectHeight(client));
  }
}

TdxBarApplicationMenuControl* TdxBarExtraPaneControl::GetApplicationMenuControl() const
{
  auto* self = const_cast<TdxBarExtraPaneControl*>(this);
  if (!self->HandleAllocated())
    return nullptr;
  HWND dock = ::GetParent(self->GetHandle());
  HWND menu = dock ? ::GetParent(dock) : nullptr;
  return dynamic_cast<TdxBarApplicationMenuControl*>(FindControl(menu));
}

TdxBarPainter* TdxBarExtraPaneControl::GetPainter() const
{
  if (TdxBarApplicationMenuControl* menu = GetApplicationMenuControl())
    return menu->GetPainter();
  return TdxBarControl::GetPainter();
}

uint32_t TdxBarExtraPaneControl::GetOptions() const
{
  if (TdxBarApplicationMenuControl* menu = GetApplicationMenuControl())
    return menu->GetOptions();
  return TdxBarControl::GetOptions();
}

void TdxBarExtraPaneControl::ActivateWithControl(TdxBarItemControl* AControl)
{
  if (TdxBarApplicationMenuControl* menu = GetApplicationMenuControl())
    menu->SelectExtraPaneControl(AControl);
  else
    TdxBarControl::ActivateWithControl(AControl);
}

// The pane is never the active bar itself (the menu is): its release clicks the pressed
// entry as an active bar's would.
void TdxBarExtraPaneControl::PaneButtonUp(TMessage& Message)
{
  TWeakRef<TdxBarExtraPaneControl> self(this);
  Message.Result = 0;
  const bool held = FHoldsCapture;
  FHoldsCapture = false;
  if (held && ::GetCapture() == GetHandle())
    ::ReleaseCapture();
  if (!self)
    return;
  const TPoint p = LParamPoint(Message.LParam);
  TdxBarItemControl* control = PtInRect(GetClientRect(), p) ? GetItemControlAtPos(p) : nullptr;
  if (held && control && control == GetSelectedControl() && control->GetEnabled())
    control->Click();
}

bool TdxBarExtraPaneControl::IsInActiveChain() const
{
  if (TdxBarApplicationMenuControl* menu = GetApplicationMenuControl())
    return menu->IsInActiveChain();
  return TdxBarControl::IsInActiveChain();
}

void TdxBarExtraPaneControl::LeaveMenuMode()
{
  if (TdxBarApplicationMenuControl* menu = GetApplicationMenuControl())
    menu->LeaveMenuMode();
  else
    TdxBarControl::LeaveMenuMode();
}

void TdxBarExtraPaneControl::CalculateViewInfo()
{
  TdxBarControl::CalculateViewInfo();
  TdxBarItemLinks* links = GetItemLinks();
  if (!links || IsDestroying())
    return;
  // One link a line, from the top, as wide as the pane; a group starts below a separator.
  const TRect client = GetClientRect();
  const int separatorSize = GetSeparatorSize();
  std::vector<TdxBarToolbarSeparator> separators;
  int y = client.top;
  const auto& shown = links->GetShownItems();
  // Links the pane has no room for yet still count in the height it asks the menu for.
  for (int i = 0; i < int(shown.size()); ++i) {
    TdxBarItemLink* link = shown[size_t(i)];
    TdxBarItemControl* control = link->GetControl();
    if (!control)
      continue;
    const bool placed = i < GetVisibleCount();
    if (y > client.top && link->GetBeginGroup() && separatorSize > 0) {
      if (placed)
        separators.push_back(TdxBarToolbarSeparator{i, TRect{client.left, y, client.right, y + separatorSize}, true});
      y += separatorSize;
    }
    const TRect r{client.left, y, client.right, y + control->CalcHeight()};
    y = r.bottom;
    if (!placed)
      continue;
    link->SetItemRect(r);
    control->GetViewInfo()->SetBounds(r);
  }
  SetSeparators(std::move(separators));
  FContentHeight = y - client.top;
  if (TCustomdxBarControlViewInfo* viewInfo = TCustomdxBarControl::GetViewInfo())
    viewInfo->Calculate();
}

void TdxBarExtraPaneControl::WndProc(TMessage& Message)
{
  // No frame: the pane's window is all client.
  if (Message.Msg == WM_NCCALCSIZE && Message.WParam) {
    Message.Result = 0;
    return;
  }
  if (Message.Msg == WM_LBUTTONUP && GetApplicationMenuControl())
    return PaneButtonUp(Message);
  TdxBarControl::WndProc(Message);
}
