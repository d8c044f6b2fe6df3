// The manager's share of bar window state: the clicked link and the press that may become a
// drag. Weak references, so a link or window that goes reads nil.
#include "bars/barcontrol.h"

#include "bars/itemlinks.h"
#include "bars/manager.h"

TdxBarItemLink* TdxBarManager::GetClickedItemLink() const
{
  return FClickedItemLink.Get();
}

void TdxBarManager::SetClickedItemLink(TdxBarItemLink* Value)
{
  FClickedItemLink = Value;
}

TdxBarItemLink* TdxBarManager::GetPendingDragItemLink() const
{
  return FPendingDragItemLink.Get();
}

TCustomdxBarControl* TdxBarManager::GetPendingDragBarControl() const
{
  return FPendingDragBarControl.Get();
}

void TdxBarManager::SetPendingDrag(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl)
{
  FPendingDragItemLink = ALink;
  FPendingDragBarControl = ABarControl;
}
