// The manager's reactions that run over its item register: the image options' glyph
// changes and the Visible values items read from form data.
#include <vector>

#include "bars/model/items.h"

namespace {

// The register's items as they are now (a reaction may free some of them).
std::vector<TWeakRef<TdxBarItem>> ItemsOf(TdxBarComponentList* List)
{
  std::vector<TWeakRef<TdxBarItem>> items;
  if (List)
    for (int i = 0; i < List->Count(); ++i)
      if (auto* item = dynamic_cast<TdxBarItem*>(List->GetBarComponent(i)))
        items.emplace_back(item);
  return items;
}

}  // namespace

void TdxBarManager::ItemsGlyphChanged()
{
  for (const auto& ref : ItemsOf(GetItemList()))
    if (TdxBarItem* item = ref.Get(); item && item->GetImageIndex() >= 0)
      item->GlyphChanged();
}

void TdxBarManager::ItemsLargeGlyphChanged()
{
  for (const auto& ref : ItemsOf(GetItemList()))
    if (TdxBarItem* item = ref.Get(); item && item->UsesImageIndex())
      item->LargeGlyphChanged();
}

void TdxBarManager::ItemsHotGlyphChanged()
{
  for (const auto& ref : ItemsOf(GetItemList()))
    if (TdxBarItem* item = ref.Get(); item && item->HasHotImage())
      item->HotGlyphChanged();
}

void TdxBarManager::ApplyLoadedItemsVisible()
{
  for (const auto& ref : ItemsOf(GetItemList()))
    if (TdxBarItem* item = ref.Get())
      item->ApplyLoadedVisible();
}
