// The manager's side of the customizing units: each call goes to the unit's service when it
// is installed and answers as if the unit were absent otherwise.
#include "bars/model/customizing.h"

#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"

namespace {

TdxBarCustomizingServices GServices;

}  // namespace

const TdxBarCustomizingServices& dxBarCustomizingServices()
{
  return GServices;
}

TdxBarCustomizingServices SetdxBarCustomizingServices(TdxBarCustomizingServices AServices)
{
  std::swap(GServices, AServices);
  return AServices;
}

void dxBarCustomizingManagerDestroying(TdxBarManager* AManager)
{
  if (AManager)
    dxBarCancelCustomizingQuestion(AManager);
  if (GServices.ManagerDestroying && AManager)
    GServices.ManagerDestroying(AManager);
}

void dxBarCustomizingFormChanged(TdxBarManager* AManager, TdxBarCustomizingFormChange AChange)
{
  if (GServices.CustomizingFormChanged && AManager)
    GServices.CustomizingFormChanged(AManager, AChange);
}

void TdxBarManager::DragAndDrop(TdxBarItem* AItem, TdxBarItemLink* ALink)
{
  if (GServices.DragAndDrop && (AItem || ALink))
    GServices.DragAndDrop(this, AItem ? AItem : ALink->GetItem(), ALink);
}

void TdxBarManager::StartItemLinkDrag(TdxBarItemLink* ALink)
{
  if (ALink)
    DragAndDrop(ALink->GetItem(), ALink);
}

bool TdxBarManager::IsDragging() const
{
  return GServices.IsDragging && GServices.IsDragging(this);
}

TdxBarItem* TdxBarManager::GetDraggingItem() const
{
  return GServices.GetDraggingItem ? GServices.GetDraggingItem(this) : nullptr;
}

TdxBarItemLink* TdxBarManager::GetDraggingItemLink() const
{
  return GServices.GetDraggingItemLink ? GServices.GetDraggingItemLink(this) : nullptr;
}

void TdxBarManager::SelectForCustomizing(TdxBarItemLink* ALink)
{
  if (GServices.SelectObject && ALink)
    GServices.SelectObject(ALink, 0);
}

TdxBarSelectionState TdxBarManager::GetCustomizingSelectionState(const TdxBarItemLink* ALink) const
{
  return GServices.GetSelectionState && ALink ? GServices.GetSelectionState(ALink) : TdxBarSelectionState::None;
}

void TdxBarManager::CustomizingFormFollowsForm()
{
  dxBarCustomizingFormChanged(this, TdxBarCustomizingFormChange::FormPosition);
}

HWND TdxBarManager::GetCustomizingFormHandle() const
{
  return GServices.GetCustomizingFormHandle ? GServices.GetCustomizingFormHandle(this) : nullptr;
}
