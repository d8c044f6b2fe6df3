// The design controller's popup of a toolbar's mark: what it holds and how it opens and goes.
#include "barcustomize/designcontroller.h"
#include "barcustomize/quickcust.h"
#include "bars/model/bar.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/utils/utils.h"

TdxBarQuickControl* TdxBarDesignController::GetQuickControl() const
{
  return FQuickControl.Get();
}

void TdxBarDesignController::ShowQuickControl(TdxBarControl* ABarControl)
{
  TdxBarManager* manager = ABarControl ? ABarControl->GetBarManager() : nullptr;
  TClass quickClass = ABarControl ? ABarControl->GetQuickControlClass() : nullptr;
  if (!manager || ABarControl->IsDestroying() || !ABarControl->HandleAllocated() || !quickClass ||
      !quickClass->InheritsFrom(TdxBarQuickControl::StaticClass()))
    return;
  TWeakRef<TdxBarControl> bar(ABarControl);
  if (TdxBarQuickControl* old = FQuickControl.Get())
    old->Close();
  if (!bar)
    return;
  CloseCustomizingPopup();
  FreeInternalItems();
  FManager = manager;
  FQuickBar = ABarControl->GetBar();
  auto* quick = static_cast<TdxBarQuickControl*>(quickClass->Create(ABarControl));
  TWeakRef<TdxBarQuickControl> quickRef(quick);
  try {
    quick->OnCloseNotification = TNotifyEvent(this, &TdxBarDesignController::QuickControlClosed);
    TdxBarItemLinks* links = quick->GetItemLinks();
    ABarControl->FillHiddenItemsPopup(links);
    AddQuickCustomizingLink(ABarControl, links);
    if (links->Count() == 0) {
      quick->Free();
      return;
    }
    FQuickControl = quick;
    ABarControl->SetQuickControl(quick);
    quick->PopupAtRectRight(quick->GetOpeningRect());
  } catch (...) {
    if (TdxBarQuickControl* failed = quickRef.Get())
      failed->Free();
    throw;
  }
  if (quickRef)
    PlayMenuSound(msMenuPopup);
}

void TdxBarDesignController::AddQuickCustomizingLink(TdxBarControl* ABarControl, TdxBarItemLinks* ALinks)
{
  TdxBar* bar = ABarControl ? ABarControl->GetBar() : nullptr;
  TdxBarItemLinks* barLinks = ABarControl ? ABarControl->GetItemLinks() : nullptr;
  TdxBarManager* manager = ALinks ? ALinks->GetBarManager() : nullptr;
  if (!bar || !barLinks || !manager || !ABarControl->IsQuickCustomizingAllowed())
    return;
  TdxBarItem* access =
      AddInternalLink(ALinks, TdxBarQuickAccessItem::StaticClass(), GetResourceString(sdxBarAddRemoveButtons), 0,
                      TNotifyEvent(), ALinks->Count() > 0);
  TdxBarItemLinks* entries = access ? access->GetItemLinks() : nullptr;
  if (!entries)
    return;
  for (int i = 0; i < barLinks->Count(); ++i) {
    TdxBarItemLink* target = barLinks->Items(i);
    if (!target || !target->GetItem() || !target->GetItem()->IsAvailable())
      continue;
    auto* entry = dynamic_cast<TdxBarQuickCustItem*>(
        AddInternalLink(entries, TdxBarQuickCustItem::StaticClass(), target->GetCaption(), i, TNotifyEvent(), false));
    if (entry)
      entry->SetTargetLink(target);
  }
  bool group = entries->Count() > 0;
  if (bar->CanReset()) {
    AddInternalLink(entries, TdxBarQuickCustExtButton::StaticClass(), GetResourceString(sdxBarResetToolbar), 0,
                    TNotifyEvent(this, &TdxBarDesignController::ResetToolbarClick), group);
    group = false;
  }
  if (manager->GetCanCustomize())
    if (TdxBarItem* customize = AddInternalLink(entries, TdxBarQuickCustExtButton::StaticClass(),
                                                GetResourceString(sdxBarCustomizeEllipsis), 0,
                                                TNotifyEvent(this, &TdxBarDesignController::CustomizeClick), group))
      customize->SetEnabled(!manager->GetCustomizingFormHandle());
}

void TdxBarDesignController::QuickControlClosed(TObject* Sender)
{
  auto* quick = dynamic_cast<TdxBarQuickControl*>(Sender);
  if (!quick)
    return;
  if (FQuickControl.Get() == quick)
    FQuickControl = nullptr;
  if (TdxBarControl* bar = quick->GetParentToolbar(); bar && bar->GetQuickControl() == quick)
    bar->QuickControlClosed();
}

void TdxBarDesignController::ResetToolbarClick(TObject*)
{
  if (TdxBar* bar = FQuickBar.Get(); bar && bar->CanReset())
    bar->ResetWithConfirmation();
}
