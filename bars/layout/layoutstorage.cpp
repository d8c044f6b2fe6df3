// The manager's stored layout: saving to and loading from the registry and ini files, the
// initial layout kept after the form data is read, the layouts loaded in Loaded and saved when
// the form goes. A layout is read and checked whole (bars/layout/layoutformat.cpp) before any bar
// changes, so a damaged one never leaves a bar half applied.
#include "bars/model/bar.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "platform/Forms.h"
#include "platform/Registry.h"
#include "platform/Streams.h"

namespace {

// "\" in front and at the end; empty stays empty.
String NormalizedRegistryPath(const String& APath)
{
  if (APath.empty())
    return String();
  String path = APath;
  if (path.front() != L'\\')
    path.insert(path.begin(), L'\\');
  if (path.back() != L'\\')
    path += L'\\';
  return path;
}

// The stream's bytes as ini text, and ini text into the stream (replacing what it held).
String ReadStreamText(TStream* AStream)
{
  AStream->SetPosition(0);
  std::string bytes(static_cast<size_t>(std::max<int64_t>(AStream->GetSize(), 0)), '\0');
  AStream->ReadBuffer(bytes.data(), int64_t(bytes.size()));
  TIniEncoding encoding;
  return DecodeIniText(bytes, encoding);
}

void WriteStreamText(TStream* AStream, const String& AText)
{
  std::string bytes = EncodeIniText(AText, TIniEncoding::Utf8);
  AStream->SetSize(0);
  AStream->SetPosition(0);
  AStream->WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

}  // namespace

String TdxBarManager::GetIniSectionBase() const
{
  String base;
  for (const TComponent* c = this; c; c = c->Owner()) {
    base = c->Name() + L"." + base;
    if (dynamic_cast<const TCustomForm*>(c) && (!c->Owner() || !dynamic_cast<const TCustomForm*>(c->Owner())))
      break;
  }
  return base;
}

bool TdxBarManager::IsNewLayoutItem(const TdxBarItem* AItem) const
{
  return std::find(FLayoutNewItems.begin(), FLayoutNewItems.end(), AItem) != FLayoutNewItems.end();
}

// ---------------------------------------------------------------------------
// Saving

void TdxBarManager::SaveLayoutToIni(TCustomIniFile* AIniFile, const String& ABase, bool AIsRegistry)
{
  const TdxBarLayoutStore store{AIniFile, ABase, AIsRegistry};
  TdxBarManagerLayout layout;
  layout.MenusShowRecentItemsFirst = FMenusShowRecentItemsFirst;
  layout.ShowFullMenusAfterDelay = FShowFullMenusAfterDelay;
  layout.LargeIcons = GetLargeIcons();
  layout.MenuAnimations = int(FMenuAnimations);
  layout.ShowHint = FShowHint;
  layout.ShowShortCutInHint = FShowShortCutInHint;
  // Items are known by name: one without a name is not written (its links neither), and the
  // count says how many are.
  for (int i = 0; i < GetItemCount(); ++i)
    if (!GetItem(i)->Name().empty())
      layout.ItemNames.push_back(GetItem(i)->Name());
  layout.ItemCount = int(layout.ItemNames.size());
  // Bars merged into another manager's bar belong to that form's layout. The written bars are
  // numbered one after the other, so that "BarCount" reaches every one.
  std::vector<TdxBarLinksLayoutKind> kinds;
  for (int i = 0; FBars && i < FBars->GetCount(); ++i) {
    TdxBar* bar = FBars->GetItem(i);
    if (TdxBar* host = bar->GetMergeData().MergedWith.Get(); host && host->GetBarManager() != this)
      continue;
    layout.Bars.push_back(bar->GetLayout(store));
    kinds.push_back(bar->GetLinksLayoutKind());
  }
  dxBarEraseLayout(store);
  dxBarWriteLayout(store, layout, IsRealStyleNotStandard(), kinds);
  std::vector<TWeakRef<TdxBarItem>> items;
  for (int i = 0; i < GetItemCount(); ++i)
    items.emplace_back(dynamic_cast<TdxBarItem*>(GetItem(i)));
  for (const TWeakRef<TdxBarItem>& item : items)
    if (item)
      item->SaveLinks(AIniFile, ABase, AIsRegistry);
  FLayoutSavedHandlers.Fire(AIniFile, ABase, AIsRegistry);
}

void TdxBarManager::SaveToRegistry(const String& APath)
{
  String path = NormalizedRegistryPath(APath);
  if (path.empty())
    return;
  TRegistryIniFile registry(path);
  SaveLayoutToIni(&registry, path, true);
}

void TdxBarManager::SaveToIniFile(const String& AFileName)
{
  if (AFileName.empty() && !FIniStream)
    return;
  TMemIniFile ini(FIniStream ? String() : AFileName);
  if (FIniStream)
    ini.SetText(ReadStreamText(FIniStream));
  SaveLayoutToIni(&ini, GetIniSectionBase(), false);
  if (FIniStream)
    WriteStreamText(FIniStream, ini.GetText());
  else
    ini.UpdateFile();
}

// ---------------------------------------------------------------------------
// Loading

void TdxBarManager::LoadLayoutFromIni(TCustomIniFile* AIniFile, const String& ABase, bool AIsRegistry)
{
  const TdxBarLayoutStore store{AIniFile, ABase, AIsRegistry};
  const TdxBarManagerLayout layout = dxBarReadLayout(store, IsRealStyleNotStandard());

  TdxBarManagerUpdate update(this);
  TRestore applying(FApplyingLayout, true);
  if (layout.MenusShowRecentItemsFirst)
    SetMenusShowRecentItemsFirst(*layout.MenusShowRecentItemsFirst);
  if (layout.ShowFullMenusAfterDelay)
    SetShowFullMenusAfterDelay(*layout.ShowFullMenusAfterDelay);
  if (layout.LargeIcons)
    SetLargeIcons(*layout.LargeIcons);
  if (layout.MenuAnimations)
    SetMenuAnimations(TdxBarMenuAnimations(*layout.MenuAnimations));
  if (layout.ShowHint)
    SetShowHint(*layout.ShowHint);
  if (layout.ShowShortCutInHint)
    SetShowShortCutInHint(*layout.ShowShortCutInHint);

  // The items the program gained since the layout was saved keep their links.
  std::vector<const TdxBarItem*> newItems;
  if (layout.ItemCount > -1)
    for (int i = 0; i < GetItemCount(); ++i) {
      auto* item = dynamic_cast<TdxBarItem*>(GetItem(i));
      auto known = [&](const String& name) { return item && SameText(name, item->Name()); };
      if (item && std::none_of(layout.ItemNames.begin(), layout.ItemNames.end(), known))
        newItems.push_back(item);
    }
  TRestore listed(FLayoutNewItems, std::move(newItems));

  // Each bar is applied whole; one that fails is made visible and the others still load. The
  // first failure reaches the caller afterwards. A bar whose section is missing (a cut or
  // edited store) keeps its state, and one whose section does not say is kept shown or hidden.
  std::exception_ptr failure;
  if (!layout.Bars.empty() && FBars) {
    std::vector<bool> wasVisible;
    for (int i = 0; i < FBars->GetCount(); ++i) {
      TdxBar* bar = FBars->GetItem(i);
      wasVisible.push_back(bar->GetVisible());
      if (i < int(layout.Bars.size()) && !layout.Bars[size_t(i)].Present)
        continue;
      bar->SetVisible(false);
      bar->LeaveDockRow();
    }
    std::vector<std::pair<TWeakRef<TdxBar>, const TdxBarLayout*>> shown;
    for (int i = 0, at = 0; i < int(layout.Bars.size()); ++i, ++at) {
      const TdxBarLayout& stored = layout.Bars[size_t(i)];
      if (!stored.Present && at >= FBars->GetCount()) {
        --at;  // nothing to make a new bar of
        continue;
      }
      TdxBar* bar = at < FBars->GetCount() ? FBars->GetItem(at) : FBars->Add();
      if (!stored.Present)
        continue;
      try {
        bar->ApplyLayout(store, stored, true, false);
        if (stored.Visible.value_or(size_t(at) < wasVisible.size() && wasVisible[size_t(at)]))
          shown.emplace_back(bar, &stored);
      } catch (...) {
        if (!failure)
          failure = std::current_exception();
      }
    }
    // Docked bars take their rows as they show: in the order of the rows and places stored.
    std::stable_sort(shown.begin(), shown.end(), [](const auto& a, const auto& b) {
      auto key = [](const TdxBarLayout* l) { return std::pair(l->Row.value_or(0), l->DockedLeft.value_or(0)); };
      return key(a.second) < key(b.second);
    });
    for (const auto& [bar, stored] : shown)
      if (bar) {
        try {
          bar->ShowLoaded(true);
        } catch (...) {
          if (!failure)
            failure = std::current_exception();
        }
      }
  }
  std::vector<TWeakRef<TdxBarItem>> items;
  for (int i = 0; i < GetItemCount(); ++i)
    items.emplace_back(dynamic_cast<TdxBarItem*>(GetItem(i)));
  for (const TWeakRef<TdxBarItem>& item : items)
    if (item)
      item->LoadLinks(AIniFile, ABase, AIsRegistry);
  FLayoutLoadedHandlers.Fire(AIniFile, ABase, AIsRegistry);
  if (failure)
    std::rethrow_exception(failure);
}

void TdxBarManager::LoadFromRegistry(const String& APath)
{
  String path = NormalizedRegistryPath(APath);
  if (path.empty())
    return;
  TRegistryIniFile registry(path);
  LoadLayoutFromIni(&registry, path, true);
}

void TdxBarManager::LoadFromIniFile(const String& AFileName)
{
  if (AFileName.empty() && !FIniStream)
    return;
  TMemIniFile ini(FIniStream ? String() : AFileName);
  if (FIniStream)
    ini.SetText(ReadStreamText(FIniStream));
  LoadLayoutFromIni(&ini, GetIniSectionBase(), false);
}

// ---------------------------------------------------------------------------
// Automatic loading and saving

// Loaded keeps the layout as streamed, then loads the stored ones. A store that cannot be read
// is reported, and the form opens with the layout of its form data.
void TdxBarManager::LoadStoredLayouts()
{
  if (IsDesigning())
    return;
  if (FInitialLayout) {
    // Sub-items are loaded after the manager and would only then resolve their links: the
    // initial layout needs them now, or resetting a bar would empty the menus it opens.
    std::vector<TWeakRef<TdxBarItem>> items;
    for (int i = 0; i < GetItemCount(); ++i)
      items.emplace_back(dynamic_cast<TdxBarItem*>(GetItem(i)));
    for (const TWeakRef<TdxBarItem>& item : items)
      if (TdxBarItemLinks* links = item ? item->GetItemLinks() : nullptr)
        links->Loaded();
    FInitialLayout->Clear();
    TRestore initial(FSavingInitialLayout, true);
    SaveLayoutToIni(FInitialLayout.get(), GetIniSectionBase(), false);
  }
  try {
    if (FStoreInRegistry)
      LoadFromRegistry(FRegistryPath);
    if (FStoreInIniFile)
      LoadFromIniFile(FIniFileName);
  } catch (...) {
    HandleUnexpectedException(this);
  }
}

void TdxBarManager::SaveLayoutOnFormDestroy()
{
  if (IsDesigning() || FLayoutSavedOnDestroy)
    return;
  FLayoutSavedOnDestroy = true;
  if (FStoreInRegistry)
    SaveToRegistry(FRegistryPath);
  if (FStoreInIniFile)
    SaveToIniFile(FIniFileName);
}
