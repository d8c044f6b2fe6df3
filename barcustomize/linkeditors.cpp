// The link editors.
#include "barcustomize/linkeditors.h"

#include "bars/itemcontrols/buttons.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/itemcontrols/labels.h"
#include "bars/model/manager.h"
#include "bars/model/registry.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/utils/utils.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TdxBarControlEditor, TObject)
IMPLEMENT_CLASS(TdxAddSubItemEditor, TdxBarControlEditor)
IMPLEMENT_CLASS(TdxAddButtonEditor, TdxBarControlEditor)
IMPLEMENT_CLASS(TdxAddSeparatorEditor, TdxBarControlEditor)
IMPLEMENT_CLASS(TdxItemsEditorEx, TdxBarControlEditor)

namespace {

// The caption a new item of the class starts with.
String NewItemCaption(TClass AItemClass)
{
  if (AItemClass->InheritsFrom(TdxBarSeparator::StaticClass()))
    return GetResourceString(sdxBarNewSeparator);
  if (AItemClass->InheritsFrom(TCustomdxBarSubItem::StaticClass()))
    return GetResourceString(sdxBarNewSubItem);
  if (AItemClass->InheritsFrom(TdxBarButton::StaticClass()))
    return GetResourceString(sdxBarNewButton);
  return GetResourceString(sdxBarNewItem);
}

// The "Default" category, else the first; a manager without any gets "Default".
int DefaultCategory(TdxBarManager* AManager)
{
  TStrings* categories = AManager->GetCategories();
  if (!categories)
    return -1;
  const String name = GetResourceString(sdxBarDefaultCategoryName);
  for (int i = 0; i < categories->Count(); ++i)
    if (SameText(categories->Strings(i), name))
      return i;
  if (categories->Count() > 0)
    return 0;
  return categories->Add(name);
}

}  // namespace

TClass TdxBarControlEditor::GetItemClass() const
{
  return TdxBarButton::StaticClass();
}

String TdxBarControlEditor::GetCaption() const
{
  return GetResourceString(sdxBarAddButton);
}

TClass TdxBarControlEditor::GetInnerItemClass() const
{
  return TdxBarButton::StaticClass();
}

TdxBarItem* TdxBarControlEditor::Execute(TdxBarItemLinks* ALinks, TdxBarItemLink* ATargetLink, TClass AItemClass) const
{
  TdxBarManager* manager = ALinks ? ALinks->GetBarManager() : nullptr;
  TClass itemClass = AItemClass ? AItemClass : GetItemClass();
  if (!manager || !itemClass || !itemClass->InheritsFrom(TdxBarItem::StaticClass()) || !itemClass->CanCreate())
    return nullptr;
  TComponent* owner = manager->Owner() ? manager->Owner() : manager;
  TUpdateLock<TdxBarManager> update(manager);
  const int category = DefaultCategory(manager);
  auto* item = static_cast<TdxBarItem*>(itemClass->Create(owner));
  TWeakRef<TdxBarItemLink> linkRef;
  try {
    item->SetName(manager->GetUniqueItemName(itemClass));
    item->SetCaption(NewItemCaption(itemClass));
    item->SetCategoryIndex(category);
    String error;
    if (!item->CanBePlacedOn(ALinks, error))
      throw Exception(error);
    const int index = ATargetLink && ATargetLink->GetItemLinks() == ALinks ? ATargetLink->Index() + 1 : ALinks->Count();
    linkRef = ALinks->Insert(index);
    linkRef->SetItem(item);
    if (linkRef)
      PrepareLink(linkRef.Get());
  } catch (...) {
    // Neither an item the links refused nor its empty link is left behind.
    if (TdxBarItemLink* link = linkRef.Get())
      link->Free();
    item->Free();
    throw;
  }
  manager->DesignerModified();
  return item;
}

TClass TdxAddSubItemEditor::GetItemClass() const
{
  return TdxBarSubItem::StaticClass();
}

String TdxAddSubItemEditor::GetCaption() const
{
  return GetResourceString(sdxBarAddSubItem);
}

TClass TdxAddButtonEditor::GetItemClass() const
{
  return TdxBarButton::StaticClass();
}

String TdxAddButtonEditor::GetCaption() const
{
  return GetResourceString(sdxBarAddButton);
}

TClass TdxAddSeparatorEditor::GetItemClass() const
{
  return TdxBarSeparator::StaticClass();
}

String TdxAddSeparatorEditor::GetCaption() const
{
  return GetResourceString(sdxBarAddSeparator);
}

String TdxItemsEditorEx::GetCaption() const
{
  return GetResourceString(sdxBarAddItem);
}

TClass TdxItemsEditorEx::GetInnerItemClass() const
{
  return TdxBarSubItem::StaticClass();
}

std::vector<TClass> TdxItemsEditorEx::ItemClasses()
{
  std::vector<TClass> result;
  if (TdxBarItemList* list = RegisteredBarItems())
    for (int i = 0; i < list->GetVisibleCount(); ++i)
      if (TClass c = list->GetVisibleItemClass(i))
        result.push_back(c);
  return result;
}
