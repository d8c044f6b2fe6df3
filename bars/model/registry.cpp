// The item-kind register and the list of living bar windows.
#include "bars/model/registry.h"

#include "bars/model/startup.h"

IMPLEMENT_CLASS(TRegItemRecord, TObject)
IMPLEMENT_CLASS(TdxBarItemList, TList)

namespace {

TdxBarItemList* GRegisteredBarItems = nullptr;
TList* GBarControls = nullptr;

}  // namespace

TdxBarItemList::~TdxBarItemList()
{
  Clear();
}

void TdxBarItemList::Notify(void* Ptr, TListNotification Action)
{
  if (Action == lnDeleted)
    delete static_cast<TRegItemRecord*>(Ptr);
}

int TdxBarItemList::GetVisibleCount() const
{
  int result = 0;
  for (int i = 0; i < Count(); ++i)
    if (GetRecord(i)->ShownInCustomizing)
      ++result;
  return result;
}

TClass TdxBarItemList::GetVisibleItemClass(int Index) const
{
  if (Index < 0)
    return nullptr;
  for (int i = 0; i < Count(); ++i) {
    TRegItemRecord* record = GetRecord(i);
    if (record->ShownInCustomizing && Index-- == 0)
      return record->ItemClass;
  }
  return nullptr;
}

int TdxBarItemList::IndexOfItemClass(TClass ItemClass) const
{
  for (int i = 0; i < Count(); ++i)
    if (GetRecord(i)->ItemClass == ItemClass)
      return i;
  return -1;
}

TClass TdxBarItemList::FindControlClass(TClass ItemClass) const
{
  int index = IndexOfItemClass(ItemClass);
  return index < 0 ? nullptr : GetRecord(index)->ControlClass;
}

TdxBarItemList* RegisteredBarItems()
{
  if (!GRegisteredBarItems && !dxBarIsFinalizing())
    GRegisteredBarItems = new TdxBarItemList;
  return GRegisteredBarItems;
}

void RegisterBarItem(TClass ItemClass, TClass ControlClass, bool ShownInCustomizing)
{
  TdxBarItemList* list = RegisteredBarItems();
  if (!list || !ItemClass)
    return;
  list->Add(new TRegItemRecord(ItemClass, ControlClass, ShownInCustomizing));
  RegisterClass(ItemClass);
}

void UnregisterBarItem(TClass ItemClass)
{
  // No register (never made, or already freed at shut-down): nothing is registered.
  TdxBarItemList* list = GRegisteredBarItems;
  if (!list)
    return;
  int index = list->IndexOfItemClass(ItemClass);
  if (index < 0)
    return;
  UnRegisterClass(ItemClass);
  list->Delete(index);
}

TClass GetRegisteredControlClass(TClass ItemClass)
{
  TdxBarItemList* list = RegisteredBarItems();
  return list ? list->FindControlClass(ItemClass) : nullptr;
}

void FreeRegisteredBarItems()
{
  TdxBarItemList* list = GRegisteredBarItems;
  if (!list)
    return;
  while (list->Count() > 0) {
    UnRegisterClass(list->GetRecord(list->Count() - 1)->ItemClass);
    list->Delete(list->Count() - 1);
  }
  GRegisteredBarItems = nullptr;
  delete list;
}

// ---------------------------------------------------------------------------

void CreateBarControlList()
{
  if (!GBarControls)
    GBarControls = new TList;
}

void FreeBarControlList()
{
  delete GBarControls;
  GBarControls = nullptr;
}

void AddBarControl(TObject* AControl)
{
  if (GBarControls && AControl)
    GBarControls->Add(AControl);
}

void RemoveBarControl(TObject* AControl)
{
  if (GBarControls)
    GBarControls->Remove(AControl);
}

bool IsBarControlAlive(TObject* AControl)
{
  return AControl && GBarControls && GBarControls->IndexOf(AControl) >= 0;
}
