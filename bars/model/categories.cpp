// The manager's categories and the manager's operations on categories and its item register.
#include "bars/model/categories.h"

#include <algorithm>
#include <vector>

#include "bars/model/bar.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/manager.h"
#include "platform/Filer.h"

IMPLEMENT_CLASS(TdxBarCategoryData, TObject)
IMPLEMENT_CLASS(TdxBarManagerCategories, TStringList)

namespace {

// Items get this number while their category is moved, so the renumbering in between
// cannot mix them with others.
constexpr int kMovingCategory = -1000;

bool IsValidItemVisible(int32_t Value)
{
  return Value >= ivNever && Value <= ivAlways;
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarManagerCategories

TdxBarManagerCategories::TdxBarManagerCategories(TdxBarManager* ABarManager)
    : TStringList(true), FBarManager(ABarManager)
{
  if (!FBarManager || !FBarManager->IsLoading())
    Add(GetResourceString(sdxBarDefaultCategoryName));
}

TdxBarCategoryData* TdxBarManagerCategories::GetData(int Index) const
{
  if (Index < 0 || Index >= Count())
    return nullptr;
  return dynamic_cast<TdxBarCategoryData*>(GetObject(Index));
}

TdxBarCategoryData* TdxBarManagerCategories::NeedData(int Index)
{
  if (Index < 0 || Index >= Count())
    return nullptr;
  TdxBarCategoryData* data = GetData(Index);
  if (!data) {
    data = new TdxBarCategoryData;
    if (TObject* foreign = GetObject(Index))
      foreign->Free();  // the list owns what it holds; only category data belongs here
    PutObject(Index, data);
  }
  return data;
}

template <class F>
void TdxBarManagerCategories::ForEachItem(F Proc) const
{
  TdxBarComponentList* items = FBarManager ? FBarManager->GetItemList() : nullptr;
  if (!items)
    return;
  std::vector<TWeakRef<TdxBarComponent>> copy;
  for (int i = 0; i < items->Count(); ++i)
    copy.emplace_back(items->GetBarComponent(i));
  for (const auto& ref : copy)
    if (TdxBarComponent* item = ref.Get())
      Proc(item);
}

void TdxBarManagerCategories::Delete(int Index)
{
  if (FMoving || Index < 0 || Index >= Count()) {
    TStringList::Delete(Index);  // raises for a bad index
    return;
  }
  std::vector<TdxBarComponent*> doomed;
  ForEachItem([&](TdxBarComponent* item) {
    int category = item->GetCategoryIndex();
    if (category == Index)
      doomed.push_back(item);
    else if (category > Index)
      item->SetCategoryIndex(category - 1);
  });
  // Freeing one item may free others (their owner): each is checked again.
  std::vector<TWeakRef<TdxBarComponent>> refs(doomed.begin(), doomed.end());
  for (auto it = refs.rbegin(); it != refs.rend(); ++it)
    if (TdxBarComponent* item = it->Get())
      item->Free();
  TStringList::Delete(Index);
  if (Count() == 0)
    Add(GetResourceString(sdxBarDefaultCategoryName));
}

void TdxBarManagerCategories::InsertObject(int Index, const String& S, TObject* AObject)
{
  if (!FMoving && Index >= 0 && Index <= Count() && !Sorted())
    ForEachItem([&](TdxBarComponent* item) {
      int category = item->GetCategoryIndex();
      if (category >= Index)
        item->SetCategoryIndex(category + 1);
    });
  TStringList::InsertObject(Index, S, AObject);
}

void TdxBarManagerCategories::Exchange(int Index1, int Index2)
{
  if (Index1 >= 0 && Index1 < Count() && Index2 >= 0 && Index2 < Count() && Index1 != Index2 && !Sorted())
    ForEachItem([&](TdxBarComponent* item) {
      int category = item->GetCategoryIndex();
      if (category == Index1)
        item->SetCategoryIndex(Index2);
      else if (category == Index2)
        item->SetCategoryIndex(Index1);
    });
  TStringList::Exchange(Index1, Index2);
}

void TdxBarManagerCategories::Move(int CurIndex, int NewIndex)
{
  if (CurIndex >= 0 && CurIndex < Count() && NewIndex >= 0 && NewIndex < Count() && CurIndex != NewIndex && !Sorted()) {
    ForEachItem([&](TdxBarComponent* item) {
      if (item->GetCategoryIndex() == CurIndex)
        item->SetCategoryIndex(kMovingCategory);
    });
    ForEachItem([&](TdxBarComponent* item) {
      int category = item->GetCategoryIndex();
      if (CurIndex < NewIndex && category > CurIndex && category <= NewIndex)
        item->SetCategoryIndex(category - 1);
      else if (CurIndex > NewIndex && category >= NewIndex && category < CurIndex)
        item->SetCategoryIndex(category + 1);
    });
    ForEachItem([&](TdxBarComponent* item) {
      if (item->GetCategoryIndex() == kMovingCategory)
        item->SetCategoryIndex(NewIndex);
    });
  }
  TRestore moving(FMoving, true);
  TStringList::Move(CurIndex, NewIndex);
}

void TdxBarManagerCategories::Assign(TPersistent* Source)
{
  auto* strings = dynamic_cast<TStrings*>(Source);
  if (!strings) {
    TStringList::Assign(Source);  // raises for what cannot be assigned
    return;
  }
  if (strings == this)
    return;
  // The data objects are copied, never shared: each list owns its own.
  auto* categories = dynamic_cast<TdxBarManagerCategories*>(Source);
  BeginUpdate();
  {
    TFinally end([this] { EndUpdate(); });
    Clear();
    for (int i = 0; i < strings->Count(); ++i) {
      TdxBarCategoryData* copy = nullptr;
      if (TdxBarCategoryData* data = categories ? categories->GetData(i) : nullptr) {
        copy = new TdxBarCategoryData;
        copy->ItemsVisible = data->ItemsVisible;
        copy->LoadedItemsVisible = data->LoadedItemsVisible;
        copy->HasLoadedItemsVisible = data->HasLoadedItemsVisible;
        copy->Visible = data->Visible;
      }
      AddObject(strings->Strings(i), copy);
    }
  }
}

void TdxBarManagerCategories::Changed()
{
  TStringList::Changed();
  if (UpdateCount() == 0 && FBarManager)
    FBarManager->DesignerModified();
}

void TdxBarManagerCategories::DefineProperties(TFiler* Filer)
{
  TStringList::DefineProperties(Filer);
  Filer->DefineProperty(
      L"ItemsVisibles", [this](TReader* Reader) { ReadItemsVisibles(Reader); },
      [this](TWriter* Writer) { WriteItemsVisibles(Writer); }, true);
  Filer->DefineProperty(
      L"Visibles", [this](TReader* Reader) { ReadVisibles(Reader); },
      [this](TWriter* Writer) { WriteVisibles(Writer); }, true);
}

void TdxBarManagerCategories::ReadItemsVisibles(TReader* Reader)
{
  Reader->ReadListBegin();
  BeginUpdate();
  {
    TFinally end([this] { EndUpdate(); });
    for (int i = 0; !Reader->EndOfList(); ++i) {
      int32_t value = Reader->ReadInteger();
      // Values that name no visibility are skipped: that category keeps its own.
      if (IsValidItemVisible(value) && FBarManager)
        FBarManager->SetCategoryItemsVisible(i, TdxBarItemVisible(value));
    }
  }
  Reader->ReadListEnd();
}

void TdxBarManagerCategories::WriteItemsVisibles(TWriter* Writer)
{
  Writer->WriteListBegin();
  for (int i = 0; i < Count(); ++i)
    Writer->WriteInteger(FBarManager ? FBarManager->GetCategoryItemsVisible(i) : ivAlways);
  Writer->WriteListEnd();
}

void TdxBarManagerCategories::ReadVisibles(TReader* Reader)
{
  Reader->ReadListBegin();
  BeginUpdate();
  {
    TFinally end([this] { EndUpdate(); });
    for (int i = 0; !Reader->EndOfList(); ++i) {
      bool value = Reader->ReadBoolean();
      if (FBarManager)
        FBarManager->SetCategoryVisible(i, value);
    }
  }
  Reader->ReadListEnd();
}

void TdxBarManagerCategories::WriteVisibles(TWriter* Writer)
{
  Writer->WriteListBegin();
  for (int i = 0; i < Count(); ++i)
    Writer->WriteBoolean(FBarManager ? FBarManager->GetCategoryVisible(i) : true);
  Writer->WriteListEnd();
}

// ---------------------------------------------------------------------------
// The manager's category operations

TStrings* TdxBarManager::GetCategories() const
{
  return FCategories.get();
}

void TdxBarManager::SetCategories(TStrings* Value)
{
  if (Value)
    FCategories->Assign(Value);
}

TdxBarItemVisible TdxBarManager::GetCategoryItemsVisible(int Index) const
{
  if (Index < 0 || Index >= FCategories->Count())
    return ivNever;
  TdxBarCategoryData* data = FCategories->GetData(Index);
  return data ? data->ItemsVisible : ivAlways;
}

void TdxBarManager::SetCategoryItemsVisible(int Index, TdxBarItemVisible Value)
{
  if (Index < 0 || Index >= FCategories->Count())
    return;
  TdxBarItemVisible old = GetCategoryItemsVisible(Index);
  TdxBarCategoryData* data = FCategories->NeedData(Index);
  if (IsLoading()) {
    data->LoadedItemsVisible = Value;
    data->HasLoadedItemsVisible = true;
    return;
  }
  data->ItemsVisible = Value;
  if (IsDesigning()) {
    if (old != Value)
      DesignerModified();
    return;
  }
  // The bars that show nothing before the change are left as they are.
  std::vector<TWeakRef<TdxBar>> wereEmpty;
  if (FAutoHideEmptyBars)
    for (int i = 0; FBars && i < FBars->GetCount(); ++i)
      if (!HasVisibleLinks(FBars->GetItem(i)))
        wereEmpty.emplace_back(FBars->GetItem(i));
  std::vector<TWeakRef<TdxBarComponent>> items;
  for (int i = 0; i < FItems->Count(); ++i) {
    TdxBarComponent* item = FItems->GetBarComponent(i);
    if (item->GetCategoryIndex() == Index)
      items.emplace_back(item);
  }
  // Items shown again go in reverse order, as the register's last items were hidden last.
  if (Value == ivAlways)
    std::reverse(items.begin(), items.end());
  BeginUpdate();
  {
    TFinally end([this] { EndUpdate(true); });
    for (const auto& ref : items)
      if (TdxBarComponent* item = ref.Get())
        if (item->GetVisible() == old)
          item->SetVisible(Value);
    if (FAutoHideEmptyBars)
      AutoHideEmptyBars(Value, wereEmpty);
  }
  if (old != Value)
    DesignerModified();
}

// A bar the change left without a visible link is hidden and marked; a marked bar that
// shows a link again comes back.
void TdxBarManager::AutoHideEmptyBars(TdxBarItemVisible Value, const std::vector<TWeakRef<TdxBar>>& WereEmpty)
{
  std::vector<TWeakRef<TdxBar>> bars;
  for (int i = 0; FBars && i < FBars->GetCount(); ++i)
    bars.emplace_back(FBars->GetItem(i));
  auto wasEmpty = [&](const TdxBar* ABar) {
    return std::any_of(WereEmpty.begin(), WereEmpty.end(), [&](const TWeakRef<TdxBar>& r) { return r.Get() == ABar; });
  };
  for (const TWeakRef<TdxBar>& ref : bars) {
    TdxBar* bar = ref.Get();
    if (!bar)
      continue;
    if (Value == ivNever && bar->GetVisible() && !wasEmpty(bar) && !HasVisibleLinks(bar)) {
      bar->SetVisible(false);
      if (TdxBar* alive = ref.Get())
        alive->SetAutoHidden(true);
    } else if (Value == ivAlways && bar->GetAutoHidden() && HasVisibleLinks(bar)) {
      bar->SetVisible(true);
    }
  }
}

bool TdxBarManager::GetCategoryVisible(int Index) const
{
  if (Index < 0 || Index >= FCategories->Count())
    return false;
  TdxBarCategoryData* data = FCategories->GetData(Index);
  return data ? data->Visible : true;
}

void TdxBarManager::SetCategoryVisible(int Index, bool Value)
{
  if (Index < 0 || Index >= FCategories->Count() || GetCategoryVisible(Index) == Value)
    return;
  FCategories->NeedData(Index)->Visible = Value;
  DesignerModified();
}

int TdxBarManager::GetCategoryRealIndex(int N) const
{
  if (N < 0)
    return -1;
  for (int i = 0; i < FCategories->Count(); ++i)
    if (IsDesigning() || GetCategoryVisible(i))
      if (N-- == 0)
        return i;
  return -1;
}

void TdxBarManager::GetVisibleItemsByCategory(int Index, TList* List) const
{
  if (!List)
    return;
  List->Clear();
  for (int i = 0; i < FItems->Count(); ++i) {
    TdxBarComponent* item = FItems->GetBarComponent(i);
    if (item->GetCategoryIndex() != Index)
      continue;
    if (IsDesigning() || (item->IsAvailable() && !item->IsExcludedFromCustomizing()))
      List->Add(item);
  }
}

void TdxBarManager::ApplyLoadedCategoryItemsVisible()
{
  for (int i = 0; i < FCategories->Count(); ++i) {
    TdxBarCategoryData* data = FCategories->GetData(i);
    if (data && data->HasLoadedItemsVisible) {
      data->HasLoadedItemsVisible = false;
      SetCategoryItemsVisible(i, data->LoadedItemsVisible);
    }
  }
}

int TdxBarManager::GetItemCount() const
{
  return FItems->Count();
}

TdxBarComponent* TdxBarManager::GetItem(int Index) const
{
  return FItems->GetBarComponent(Index);
}
