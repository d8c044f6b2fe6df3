// The run-time selection.
#include "barcustomize/runtimeselection.h"

#include "bars/model/bar.h"
#include "bars/model/items.h"
#include "bars/utils/utils.h"

IMPLEMENT_CLASS(TdxBarRunTimeSelectionController, TObject)

TdxBarRunTimeSelectionController::TdxBarRunTimeSelectionController() : FSelection(std::make_unique<TdxComponentList>())
{
  FSelection->OnChange = TdxComponentListChangeEvent(this, &TdxBarRunTimeSelectionController::SelectionListChanged);
  FSelection->OnNotify = TdxComponentListNotifyEvent(this, &TdxBarRunTimeSelectionController::SelectionListNotify);
}

TdxBarRunTimeSelectionController::~TdxBarRunTimeSelectionController()
{
  // The members are not told of a selection that ends with its controller.
  FSelection->OnChange = TdxComponentListChangeEvent();
  FSelection->OnNotify = TdxComponentListNotifyEvent();
}

void TdxBarRunTimeSelectionController::GetSelection(TList* AList)
{
  for (int i = 0; AList && i < FSelection->Count(); ++i)
    AList->Add(FSelection->Items(i));
}

bool TdxBarRunTimeSelectionController::IsComponentSelected(TComponent* AComponent)
{
  return AComponent && FSelection->IndexOf(AComponent) >= 0;
}

void TdxBarRunTimeSelectionController::SelectComponent(TComponent* AComponent, int ASelectionType)
{
  if (ASelectionType == 0 || ASelectionType == 1)
    Select(AComponent);
}

void TdxBarRunTimeSelectionController::SetSelection(TList* AList)
{
  FSelection->BeginUpdate();
  TFinally end([this] { FSelection->EndUpdate(); });
  for (int i = 0; AList && i < AList->Count(); ++i)
    Select(dynamic_cast<TComponent*>(static_cast<TObject*>(AList->Items(i))));
}

// A bar replaces the selected bar, anything else the selected item: one of each at most.
void TdxBarRunTimeSelectionController::Select(TComponent* AComponent)
{
  if (IsComponentSelected(AComponent))
    return;
  FSelection->BeginUpdate();
  TFinally end([this] { FSelection->EndUpdate(); });
  TClass replaced = dynamic_cast<TdxBar*>(AComponent) ? TdxBar::StaticClass() : TdxBarItem::StaticClass();
  // The list reports no single member while it is locked: the members are told here.
  for (int i = FSelection->Count() - 1; i >= 0; --i)
    if (TComponent* member = FSelection->Items(i); member && member->InheritsFrom(replaced)) {
      FSelection->Delete(i);
      SelectionListNotify(nullptr, member, lnDeleted);
    }
  if (AComponent && FSelection->Add(AComponent) >= 0)
    SelectionListNotify(nullptr, AComponent, lnAdded);
}

void TdxBarRunTimeSelectionController::SelectionListChanged(TObject*, TComponent*, TdxComponentListChangeType)
{
  if (!FSelection->IsUpdateLocked())
    CallEvent(OnSelectionChanged, this);
}

void TdxBarRunTimeSelectionController::SelectionListNotify(TObject*, TComponent* AComponent, TListNotification)
{
  if (IdxBarSelectableItem* item = GetSelectableItem(AComponent))
    item->SelectionChanged();
}
