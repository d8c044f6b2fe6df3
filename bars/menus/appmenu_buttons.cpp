// The application menu's row buttons: the collection a component publishes, the internal
// item each makes that shows and clicks the button it watches, and its control.
#include "bars/menus/appmenu.h"

#include "bars/model/manager.h"

IMPLEMENT_CLASS(TdxBarApplicationMenuButtonItem, TdxBarButton)
IMPLEMENT_CLASS(TdxBarApplicationMenuButtonControl, TdxBarButtonControl)

PUBLISHED(TdxBarApplicationMenuButton, TCollectionItem)
{
  using I = TdxBarApplicationMenuButton;
  p.Component(L"Item", &I::GetItem, &I::SetItem);
  p.Prop(L"Width", &I::GetWidth, &I::SetWidth).Default(0);
}

IMPLEMENT_CLASS(TdxBarApplicationMenuButtons, TOwnedCollection)

// ---------------------------------------------------------------------------
// TdxBarApplicationMenuButtonItem

TdxBarApplicationMenuButtonItem::TdxBarApplicationMenuButtonItem(TComponent* AOwner)
    : TdxBarButton(AOwner), FWatch(std::make_unique<TdxBarComponentList>())
{
  FWatch->OnChange = TdxComponentListChangeEvent(this, &TdxBarApplicationMenuButtonItem::WatchChanged);
  UpdateFromItem();
}

TdxBarApplicationMenuButtonItem::~TdxBarApplicationMenuButtonItem()
{
  FWatch->SetDestroying();
  if (FItem)
    FItem->RemoveFreeNotification(this);
}

void TdxBarApplicationMenuButtonItem::SetItem(TdxBarButton* Value)
{
  if (FItem == Value)
    return;
  if (FItem) {
    FWatch->Remove(FItem);
    FItem->RemoveFreeNotification(this);
  }
  FItem = Value;
  if (FItem) {
    FItem->FreeNotification(this);
    FWatch->Add(FItem);
  }
  UpdateFromItem();
}

void TdxBarApplicationMenuButtonItem::UpdateFromItem()
{
  TdxBarButton* item = FItem;
  // The watched button's action first: its link then keeps this button in step with the
  // action as it keeps the watched one.
  SetAction(item ? item->GetAction() : nullptr);
  // A checking button shows down as the watched one does.
  SetButtonStyle(item && item->Checks() ? bsChecked : bsDefault);
  SetDown(item && item->Checks() && item->GetDown());
  SetCaption(item ? item->GetCaption() : String());
  SetImageIndex(item ? item->GetImageIndex() : -1);
  SetEnabled(item && item->GetEnabled());
  SetVisible(item ? item->GetVisible() : ivNever);
  SetHint(item ? item->GetHint() : String());
  SetScreenTip(item ? item->GetScreenTip() : nullptr);
  if (item)
    GetGlyph()->Assign(item->GetGlyph());
  else
    GetGlyph()->Assign(nullptr);
}

// A click on the row's control has already toggled this button's Down; the watched button
// takes it over before its own click runs, as a click on it would have toggled it.
void TdxBarApplicationMenuButtonItem::DoClick()
{
  TWeakRef<TdxBarButton> item(FItem);
  if (item && item->Checks() && item->GetDown() != GetDown())
    item->SetDown(GetDown());
  if (item)
    item->Click();
}

void TdxBarApplicationMenuButtonItem::Notification(TComponent* AComponent, TOperation Operation)
{
  TdxBarButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FItem) {
    FItem = nullptr;
    UpdateFromItem();
  }
}

void TdxBarApplicationMenuButtonItem::WatchChanged(TObject*, TComponent* AComponent, TdxComponentListChangeType Kind)
{
  if (Kind == clcnChanged && (!AComponent || AComponent == FItem))
    UpdateFromItem();
}

// ---------------------------------------------------------------------------
// TdxBarApplicationMenuButtonControl

int TdxBarApplicationMenuButtonControl::GetDefaultViewParts() const
{
  TdxBarItem* item = GetItemControlItem(this);
  const bool image = item && (item->GetImageIndex() >= 0 || (item->GetGlyph() && !item->GetGlyph()->Empty()));
  return ivpCaption | (image ? ivpGlyph : 0);
}

// The row is not the menu's own links: the key's click goes to the button itself.
void TdxBarApplicationMenuButtonControl::ClickByKey()
{
  TWeakRef<TdxBarApplicationMenuButtonControl> self(this);
  if (!GetEnabled())
    return;
  ActivateByKey();
  if (self)
    Click();
}

int TdxBarApplicationMenuButtonControl::GetDefaultWidth()
{
  TdxBarItem* item = GetItemControlItem(this);
  const int width = item ? item->GetWidth() : 0;
  return width != 0 ? width : TdxBarButtonControl::GetDefaultWidth();
}

// ---------------------------------------------------------------------------
// TdxBarApplicationMenuButton(s)

TdxBarApplicationMenuButtons::TdxBarApplicationMenuButtons(TComponent* AOwner)
    : TOwnedCollection(AOwner, TdxBarApplicationMenuButton::StaticClass())
{
}

TdxBarManager* TdxBarApplicationMenuButtons::GetBarManager() const
{
  auto* owner = dynamic_cast<TComponent*>(GetOwner());
  if (auto* component = dynamic_cast<TdxBarComponent*>(owner))
    return component->GetBarManager();
  return owner ? GetBarManagerByOwner(owner) : nullptr;
}

TdxBarApplicationMenuButton::TdxBarApplicationMenuButton(TCollection* ACollection) : TCollectionItem(ACollection)
{
  auto* buttons = dynamic_cast<TdxBarApplicationMenuButtons*>(ACollection);
  TdxBarManager* manager = buttons ? buttons->GetBarManager() : nullptr;
  if (!manager)
    return;
  // Made in the manager, and one of customizing's internal items: not streamed with the form,
  // not named, not saved in a layout, never offered in the Customize dialog.
  FButtonItem = new TdxBarApplicationMenuButtonItem(manager);
  dxBarMakeInternalItem(FButtonItem.Get());
}

TdxBarApplicationMenuButton::~TdxBarApplicationMenuButton()
{
  if (TdxBarApplicationMenuButtonItem* item = FButtonItem.Get())
    item->Free();
}

void TdxBarApplicationMenuButton::Assign(TPersistent* Source)
{
  if (auto* other = dynamic_cast<TdxBarApplicationMenuButton*>(Source)) {
    SetWidth(other->GetWidth());
    SetItem(other->GetItem());
    return;
  }
  TCollectionItem::Assign(Source);
}

TdxBarButton* TdxBarApplicationMenuButton::GetItem() const
{
  TdxBarApplicationMenuButtonItem* item = FButtonItem.Get();
  return item ? item->GetItem() : nullptr;
}

void TdxBarApplicationMenuButton::SetItem(TdxBarButton* Value)
{
  if (TdxBarApplicationMenuButtonItem* item = FButtonItem.Get())
    item->SetItem(Value);
}

int TdxBarApplicationMenuButton::GetWidth() const
{
  TdxBarApplicationMenuButtonItem* item = FButtonItem.Get();
  return item ? item->GetWidth() : 0;
}

void TdxBarApplicationMenuButton::SetWidth(int Value)
{
  if (TdxBarApplicationMenuButtonItem* item = FButtonItem.Get())
    item->SetWidth(Value);
}
