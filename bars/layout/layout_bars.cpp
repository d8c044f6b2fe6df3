// Bars and their links in the stored layout: what they write, how a checked layout is put
// back (links of items added since the save keep their place), and resetting a bar to the
// layout the manager kept after loading its form data.
#include <algorithm>

#include "bars/model/bar.h"
#include "bars/model/customizing.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/items.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "platform/Forms.h"
#include "platform/Streams.h"

// The stored layout's reader knows the enumerations as numbers (bars/layout/layoutformat.h): a
// value added to one of them must be added there too, or stored layouts would drop it.
static_assert(dxBarLayoutMaxDockingStyle == int(dsBottom));
static_assert(dxBarLayoutMaxMenuAnimation == int(maFade));
static_assert(dxBarLayoutUserCaptionBit == 1 << udCaption && dxBarLayoutUserGlyphBit == 1 << udGlyph &&
              dxBarLayoutUserPaintStyleBit == 1 << udPaintStyle && dxBarLayoutUserWidthBit == 1 << udWidth);
static_assert(dxBarLayoutUserDefineBits == (1 << (udWidth + 1)) - 1);
static_assert(dxBarLayoutViewLevelBits == (1 << (ivlControlOnly + 1)) - 1);

namespace {

const String& ItemNameOf(const TdxBarItemLink* ALink)
{
  static const String none;
  return ALink && ALink->GetItem() ? ALink->GetItem()->Name() : none;
}

// A link written to a layout: it has a named item and was not merged in from another manager.
bool IsStoredLink(const TdxBarItemLink* ALink, const TdxBarManager* AManager)
{
  if (ItemNameOf(ALink).empty())
    return false;
  TdxBar* from = ALink->GetMergedFromBar();
  return !from || from->GetBarManager() == AManager;
}

// The path of a dock control: its name, after the names of its owners up to and including
// the first form when it is not owned by the bar's form. The form heads the path even when it
// is the bar's own: a path with "." is looked up from a global component.
String DockControlPath(TdxBarDockControl* ADock, TComponent* AForm)
{
  if (!ADock)
    return String();
  String path = ADock->Name();
  if (ADock->Owner() == AForm)
    return path;
  for (TComponent* owner = ADock->Owner(); owner; owner = owner->Owner()) {
    path = owner->Name() + L"." + path;
    if (dynamic_cast<TCustomForm*>(owner))
      break;
  }
  return path;
}

// A path looked up: before the first "." a global component, the rest nested in it; without
// "." a component of the manager's owner. What is not a dock control counts as none.
TdxBarDockControl* FindDockControl(TdxBarManager* AManager, const String& APath)
{
  if (APath.empty() || !AManager)
    return nullptr;
  size_t dot = APath.find(L'.');
  TComponent* found = nullptr;
  if (dot == String::npos)
    found = AManager->Owner() ? AManager->Owner()->FindComponent(APath) : nullptr;
  else if (TComponent* root = FindGlobalComponent(APath.substr(0, dot)))
    found = FindNestedComponent(root, APath.substr(dot + 1));
  return dynamic_cast<TdxBarDockControl*>(found);
}

std::vector<uint8_t> GlyphBytes(TBitmap* AGlyph)
{
  if (!AGlyph || AGlyph->Empty())
    return {};
  TMemoryStream stream;
  AGlyph->SaveToStream(&stream);
  std::vector<uint8_t> bytes(size_t(stream.GetSize()));
  stream.SetPosition(0);
  stream.ReadBuffer(bytes.data(), int64_t(bytes.size()));
  return bytes;
}

// Moves a floating bar's window wholly onto the work area of its nearest monitor; its values
// follow, so that it is stored where it shows.
void KeepOnWorkArea(TdxBar* ABar)
{
  TdxBarControl* control = ABar->GetControl();
  if (ABar->GetDockingStyle() != dsNone || !control || !control->HandleAllocated())
    return;
  RECT r;
  ::GetWindowRect(control->GetHandle(), &r);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetMonitorInfoW(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
    return;
  const RECT& area = info.rcWork;
  int left = std::max(std::min(r.left, area.right - (r.right - r.left)), area.left);
  int top = std::max(std::min(r.top, area.bottom - (r.bottom - r.top)), area.top);
  if (left == r.left && top == r.top)
    return;
  ABar->SetFloatLeft(ABar->GetFloatLeft() + left - r.left);
  ABar->SetFloatTop(ABar->GetFloatTop() + top - r.top);
}

}  // namespace

// ---------------------------------------------------------------------------
// One link

TdxBarLinkLayout TdxBarItemLink::GetLayout(bool AIsRegistry) const
{
  TdxBarLinkLayout layout;
  layout.ItemName = ItemNameOf(this);
  layout.BeginGroup = FBeginGroup;
  layout.UserDefine = uint8_t(FUserDefine.Mask());
  layout.UserCaption = FUserDefine.Contains(udCaption) ? FUserCaption : String();
  layout.UserPaintStyle = FUserDefine.Contains(udPaintStyle) ? int(FUserPaintStyle) : 0;
  layout.UserWidth = FUserDefine.Contains(udWidth) ? FUserWidth : 100;
  if (AIsRegistry && FUserDefine.Contains(udGlyph))
    layout.UserGlyph = GlyphBytes(FUserGlyph.get());
  layout.ButtonGroup = int(FButtonGroup);
  layout.Position = int(FPosition);
  layout.ViewLevels = uint8_t(FViewLevels.Mask());
  layout.Visible = FVisible;
  layout.UseCount = FUseCount;
  layout.RecentIndex = GetRecentIndex();
  layout.MostRecentlyUsed = FMostRecentlyUsed;
  return layout;
}

void TdxBarItemLink::ApplyLayout(const TdxBarLinkLayout& ALayout, bool AOnBar)
{
  SetBeginGroup(ALayout.BeginGroup);
  SetUserDefine(TdxBarUserDefines::FromMask(ALayout.UserDefine));
  if (FUserDefine.Contains(udCaption))
    SetUserCaption(ALayout.UserCaption);
  if (FUserDefine.Contains(udPaintStyle))
    FUserPaintStyle = TdxBarPaintStyle(ALayout.UserPaintStyle);
  if (FUserDefine.Contains(udWidth))
    FUserWidth = ALayout.UserWidth;
  if (FUserDefine.Contains(udGlyph) && !ALayout.UserGlyph.empty()) {
    // A picture that does not read leaves the glyph as it was.
    TBitmap glyph;
    TMemoryStream stream;
    stream.WriteBuffer(ALayout.UserGlyph.data(), int64_t(ALayout.UserGlyph.size()));
    stream.SetPosition(0);
    try {
      glyph.LoadFromStream(&stream);
      SetUserGlyph(&glyph);
    } catch (const Exception&) {
    }
  }
  if (AOnBar) {
    SetButtonGroup(TdxBarButtonGroupPosition(ALayout.ButtonGroup));
    SetPosition(TdxBarItemPosition(ALayout.Position));
    if (ALayout.ViewLevels)
      SetViewLevels(TdxBarItemViewLevels::FromMask(*ALayout.ViewLevels));
    DoSetVisible(ALayout.Visible);
  }
  if (FControl)
    FControl->WidthChanged();
  Changed(false);
}

void TdxBarItemLink::SaveToIni(TCustomIniFile* AIniFile, const String& ABarSection, bool AIsRegistry, int AIndex)
{
  TdxBarItemLinks* links = GetItemLinks();
  TdxBarManager* manager = GetBarManager();
  TdxBarLinksLayoutKind kind{dxBarIsLinkOnBar(this), links && links->StoresUsage(),
                             manager && manager->IsSavingInitialLayout()};
  TdxBarLayoutStore store{AIniFile, String(), AIsRegistry};
  dxBarWriteLinkLayout(store, store.LinkSection(ABarSection, AIndex), GetLayout(AIsRegistry), kind);
}

// Takes the item the section names, or frees the link when there is none.
void TdxBarItemLink::LoadFromIni(TCustomIniFile* AIniFile, const String& ABarSection, bool AIsRegistry, int AIndex)
{
  TdxBarLayoutStore store{AIniFile, String(), AIsRegistry};
  const TdxBarLinkLayout layout = dxBarReadLinkLayout(store, store.LinkSection(ABarSection, AIndex));
  TdxBarItem* item = dxBarFindManagerItem(GetBarManager(), layout.ItemName);
  if (!item) {
    Free();
    return;
  }
  SetItem(item);
  ApplyLayout(layout, dxBarIsLinkOnBar(this));
}

// ---------------------------------------------------------------------------
// A link list

bool TdxBarItemLinks::StoresUsage() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsRealStyleNotStandard() && FUseRecentItems;
}

TdxBarLinksLayout TdxBarItemLinks::GetLayout(bool AIsRegistry) const
{
  TdxBarLinksLayout layout;
  layout.Present = true;
  TdxBarManager* manager = GetBarManager();
  for (int i = 0; i < Count(); ++i)
    if (IsStoredLink(Items(i), manager))
      layout.Links.push_back(Items(i)->GetLayout(AIsRegistry));
  return layout;
}

void TdxBarItemLinks::SaveToIni(TCustomIniFile* AIniFile, const String& ASection, bool AIsRegistry)
{
  TdxBarManager* manager = GetBarManager();
  bool onBar = dynamic_cast<TdxBar*>(FOwner ? FOwner->GetInstance() : nullptr) != nullptr;
  TdxBarLinksLayoutKind kind{onBar, StoresUsage(), manager && manager->IsSavingInitialLayout()};
  dxBarWriteLinksLayout({AIniFile, String(), AIsRegistry}, ASection, GetLayout(AIsRegistry), kind);
}

void TdxBarItemLinks::LoadFromIni(TCustomIniFile* AIniFile, const String& ASection, bool AIsRegistry)
{
  ApplyLayout(dxBarReadLinksLayout({AIniFile, String(), AIsRegistry}, ASection));
}

// The links of the layout replace the list. Links of items the layout does not know (added to
// the program since it was saved) stay, each placed after the link of the item it followed.
void TdxBarItemLinks::ApplyLayout(const TdxBarLinksLayout& ALayout)
{
  if (!ALayout.Present)
    return;  // an unfinished list: the links stay as they are
  TdxBarManager* manager = GetBarManager();
  TUpdateLock<TCollection> update(this);
  // A kept link follows the kept link before it (a run of items without names stays in its
  // order), else the stored item before it, else it leads.
  struct TKept {
    TdxBarItemLink* Link;
    TdxBarItemLink* PreviousKept;
    String Previous;
  };
  std::vector<bool> keep;
  for (int i = 0; i < Count(); ++i)
    keep.push_back(manager && Items(i)->FItem && manager->IsNewLayoutItem(Items(i)->FItem));
  std::vector<TKept> kept;
  for (int i = 0; i < Count(); ++i)
    if (keep[size_t(i)]) {
      Items(i)->FMergedFromBar = nullptr;
      kept.push_back({Items(i), i > 0 && keep[size_t(i) - 1] ? Items(i - 1) : nullptr,
                      i > 0 ? ItemNameOf(Items(i - 1)) : String()});
    }
  for (int i = Count() - 1; i >= 0; --i)
    if (!keep[size_t(i)])
      Items(i)->Free();
  const bool onBar = dynamic_cast<TdxBar*>(FOwner ? FOwner->GetInstance() : nullptr) != nullptr;
  int at = 0;
  std::vector<std::pair<TdxBarItemLink*, const TdxBarLinkLayout*>> loaded;
  for (const TdxBarLinkLayout& stored : ALayout.Links) {
    TdxBarItem* item = dxBarFindManagerItem(manager, stored.ItemName);
    String error;
    // A link to an item that is gone, or that may not be linked here, is dropped.
    if (!item || !CanAddItem(item, error))
      continue;
    TdxBarItemLink* link = Insert(at++);
    link->ChangeItem(item);
    link->ApplyLayout(stored, onBar);
    loaded.emplace_back(link, &stored);
  }
  for (const TKept& k : kept) {
    int to = 0;
    if (k.PreviousKept) {
      const int i = k.PreviousKept->Index();
      to = i + (k.Link->Index() > i ? 1 : 0);
    } else if (!k.Previous.empty()) {
      to = Count() - 1;
      for (int i = 0; i < Count(); ++i)
        if (Items(i) != k.Link && ItemNameOf(Items(i)) == k.Previous) {
          to = i + (k.Link->Index() > i ? 1 : 0);
          break;
        }
    }
    k.Link->SetIndex(to);
  }
  if (StoresUsage()) {
    std::stable_sort(loaded.begin(), loaded.end(),
                     [](const auto& a, const auto& b) { return a.second->RecentIndex < b.second->RecentIndex; });
    for (const auto& [link, stored] : loaded) {
      link->FUseCount = stored->UseCount;
      if (stored->RecentIndex >= 0)
        MoveInRecent(link, stored->RecentIndex);
    }
  }
  RebuildLists();
}

// Each link takes the usage values of the stored link of its item (the first stored link of
// an item for its first link, and so on), so that links the user moved or added since keep
// the values of their own item.
void TdxBarItemLinks::LoadUsageFromIni(TCustomIniFile* AIniFile, const String& ASection, bool AIsRegistry)
{
  const TdxBarLayoutStore store{AIniFile, String(), AIsRegistry};
  const TdxBarLinksLayout layout = dxBarReadLinksLayout(store, ASection);
  if (!layout.Present)
    return;
  TdxBarManager* manager = GetBarManager();
  std::vector<bool> taken(layout.Links.size(), false);
  struct TMatch {
    TdxBarItemLink* Link;
    size_t Stored;
  };
  std::vector<TMatch> matches;
  for (int i = 0; i < Count(); ++i) {
    TdxBarItemLink* link = Items(i);
    if (!IsStoredLink(link, manager))
      continue;
    const String name = ItemNameOf(link);
    for (size_t j = 0; j < layout.Links.size(); ++j)
      if (!taken[j] && SameText(layout.Links[j].ItemName, name)) {
        taken[j] = true;
        matches.push_back({link, j});
        break;
      }
  }
  for (const TMatch& m : matches) {
    m.Link->FMostRecentlyUsed = layout.Links[m.Stored].MostRecentlyUsed;
    m.Link->ApplyMostRecentlyUsed();
  }
  // The use counts and the recent order, where the store keeps them.
  std::stable_sort(matches.begin(), matches.end(), [&layout](const TMatch& a, const TMatch& b) {
    return layout.Links[a.Stored].RecentIndex < layout.Links[b.Stored].RecentIndex;
  });
  for (const TMatch& m : matches) {
    const TdxBarLinkLayout& stored = layout.Links[m.Stored];
    if (AIniFile->ValueExists(store.LinkSection(ASection, int(m.Stored)), L"UseCount"))
      m.Link->FUseCount = stored.UseCount;
    if (stored.RecentIndex >= 0)
      MoveInRecent(m.Link, stored.RecentIndex);
  }
  // Links hidden since the store was written hold no place a shown one could use.
  PackVisibleRecentItems();
  RebuildLists();
  RebuildBarControl();
}

// ---------------------------------------------------------------------------
// A bar

TdxBarLinksLayoutKind TdxBar::GetLinksLayoutKind() const
{
  TdxBarManager* manager = GetBarManager();
  return {true, FItemLinks && FItemLinks->StoresUsage(), manager && manager->IsSavingInitialLayout()};
}

TdxBarLayout TdxBar::GetLayout(const TdxBarLayoutStore& AStore) const
{
  TdxBarManager* manager = GetBarManager();
  TComponent* form = manager ? manager->Owner() : nullptr;
  TdxBarLayout layout;
  layout.Present = true;
  layout.Caption = FCaption;
  if (FDockControl)
    layout.DockControl = DockControlPath(FDockControl.Get(), form);
  layout.DockedDockControl = DockControlPath(FDockedDockControl.Get(), form);
  layout.DockedDockingStyle = int(GetDockedDockingStyle());
  layout.DockedLeft = FDockedLeft;
  layout.DockedTop = FDockedTop;
  layout.DockingStyle = int(GetDockingStyle());
  layout.FloatClientHeight = FFloatClientHeight;
  layout.FloatClientWidth = FFloatClientWidth;
  layout.FloatLeft = FFloatLeft;
  layout.FloatTop = FFloatTop;
  layout.OneOnRow = FOneOnRow;
  layout.Row = GetRow();
  if (FMergeData.MergedWith)
    layout.Visible = FMergeData.VisibleBeforeMerge;
  else
    layout.Visible =
        GetVisible() || (manager && (manager->IsTemporaryHiddenBar(this) || manager->IsRecreatingBar(this)));
  if (FItemLinks)
    layout.Links = FItemLinks->GetLayout(AStore.IsRegistry);
  return layout;
}

void TdxBar::SaveToIni(TCustomIniFile* AIniFile, const String& ABase, bool AIsRegistry, int AIndex)
{
  TdxBarLayoutStore store{AIniFile, ABase, AIsRegistry};
  dxBarWriteBarLayout(store, AIndex, GetLayout(store), GetLinksLayoutKind());
}

void TdxBar::LoadFromIni(TCustomIniFile* AIniFile, const String& ABase, bool ALoadBarState, bool AIsRegistry,
                         int AIndex)
{
  TdxBarLayoutStore store{AIniFile, ABase, AIsRegistry};
  ApplyLayout(store, dxBarReadBarLayout(store, AIndex), ALoadBarState);
}

// A value the layout does not hold leaves the bar's own. When applying raises (a handler of
// the program), the bar is made visible so that the user can reach it, and the error goes on.
void TdxBar::ApplyLayout(const TdxBarLayoutStore& AStore, const TdxBarLayout& ALayout, bool ALoadBarState, bool AShow)
{
  if (!ALayout.Present)
    return;
  try {
    if (FItemLinks)
      FItemLinks->ApplyLayout(ALayout.Links);
    if (!ALoadBarState)
      return;
    TdxBarManager* manager = GetBarManager();
    if (ALayout.Caption)
      SetCaption(*ALayout.Caption);
    SetDockedDockControl(FindDockControl(manager, ALayout.DockedDockControl));
    if (ALayout.DockedDockingStyle)
      SetDockedDockingStyle(TdxBarDockingStyle(*ALayout.DockedDockingStyle));
    if (ALayout.DockedLeft)
      SetDockedLeft(*ALayout.DockedLeft);
    if (ALayout.DockedTop)
      SetDockedTop(*ALayout.DockedTop);
    if (ALayout.OneOnRow)
      SetOneOnRow(*ALayout.OneOnRow);
    if (ALayout.FloatLeft)
      SetFloatLeft(*ALayout.FloatLeft);
    if (ALayout.FloatTop)
      SetFloatTop(*ALayout.FloatTop);
    if (ALayout.FloatClientWidth)
      SetFloatClientWidth(*ALayout.FloatClientWidth);
    if (ALayout.FloatClientHeight)
      SetFloatClientHeight(*ALayout.FloatClientHeight);
    if (ALayout.DockControl)
      SetDockControl(FindDockControl(manager, *ALayout.DockControl));
    if (ALayout.DockingStyle)
      SetDockingStyle(TdxBarDockingStyle(*ALayout.DockingStyle));
    if (ALayout.Row)
      SetRow(*ALayout.Row);
    if (AShow)
      ShowLoaded(ALayout.Visible.value_or(GetVisible()));
  } catch (...) {
    SetVisible(true);
    throw;
  }
}

void TdxBar::ShowLoaded(bool AVisible)
{
  SetVisible(AVisible);
  KeepOnWorkArea(this);
}

// ---------------------------------------------------------------------------
// Reset

void TdxBar::ResetWithConfirmation()
{
  String text = Format(GetResourceString(sdxBarResetToolbarConfirmation), {FCaption});
  TWeakRef<TdxBar> self(this);
  if (dxBarAskCustomizingQuestion(GetBarManager(), nullptr, text, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK && self)
    Reset();
}

void TdxBar::Reset()
{
  TdxBarManager* manager = GetBarManager();
  TMemIniFile* initial = manager ? manager->GetInitialLayoutStore() : nullptr;
  if (!initial || !CanReset())
    return;
  TdxBarLayoutStore store{initial, manager->GetIniSectionBase(), false};
  const int index = dxBarFindBarSection(store, FCaption);
  if (index < 0)
    return;
  TWeakRef<TdxBar> self(this);
  CallEvent(manager->OnBarBeforeReset, manager, this);
  if (!self)
    return;
  {
    TdxBarManagerUpdate update(manager);
    const bool full = manager->GetUseFullReset();
    const bool visible = GetVisible();
    if (full)
      SetVisible(false);
    const TdxBarLayout layout = dxBarReadBarLayout(store, index);
    {
      TFinally resetting([]() noexcept { dxBarSetResetting(false); });
      dxBarSetResetting(true);
      ApplyLayout(store, layout, full);
    }
    // The usage values as the form data had them, then the links of linked items.
    const std::vector<bool> usage = dxBarReadLinksUsage(store, store.BarSection(index));
    for (int i = 0; FItemLinks && i < FItemLinks->Count() && i < int(usage.size()); ++i)
      FItemLinks->Items(i)->SetMostRecentlyUsed(usage[size_t(i)]);
    std::vector<TWeakRef<TdxBarItem>> items;
    for (int i = 0; FItemLinks && i < FItemLinks->Count(); ++i)
      items.emplace_back(FItemLinks->Items(i)->GetItem());
    for (const TWeakRef<TdxBarItem>& item : items)
      if (item)
        item->RestoreLinks(initial, store.Base, false);
    if (full && self)
      SetVisible(visible);
  }
  if (self)
    CallEvent(manager->OnBarAfterReset, manager, this);
}
