// The toolbars list, the recent-files list and the in-place sub item, with their controls.
#include "barextras/listitems.h"

#include <algorithm>

#include "bars/model/bar.h"
#include "bars/accessibility/baraccessibility.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/drawparams.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "platform/Scope.h"

PUBLISHED(TdxBarMRUListItem, TdxBarListItem)
{
  using I = TdxBarMRUListItem;
  p.Prop(L"MaxItemCount", &I::GetMaxItemCount, &I::SetMaxItemCount).Default(5);
  p.Prop(L"RemoveItemOnClick", &I::GetRemoveItemOnClick, &I::SetRemoveItemOnClick).Default(false);
}

PUBLISHED(TdxBarInPlaceSubItem, TdxBarContainerItem)
{
  using I = TdxBarInPlaceSubItem;
  p.Prop(L"Expanded", &I::GetExpanded, &I::SetExpanded).Default(false);
  p.Prop(L"KeepBeginGroupWhileExpanded", &I::GetKeepBeginGroupWhileExpanded, &I::SetKeepBeginGroupWhileExpanded)
      .Default(false);
  p.Event(L"OnAfterExpand", &I::OnAfterExpand);
  p.Event(L"OnBeforeCollapse", &I::OnBeforeCollapse);
}

IMPLEMENT_CLASS(TdxBarToolbarsListItem, TCustomdxBarSubItem)
IMPLEMENT_CLASS(TdxBarToolbarsListItemControl, TdxBarSubItemControl)
IMPLEMENT_CLASS(TdxBarInPlaceSubItemControl, TdxBarSubItemControl)

// ---------------------------------------------------------------------------
// TdxBarToolbarsListItem

TdxBarToolbarsListItem::~TdxBarToolbarsListItem()
{
  FreeEntries();
}

bool TdxBarToolbarsListItem::IsCompatibleWith(TdxBarItem* AItem) const
{
  return dynamic_cast<TdxBarToolbarsListItem*>(AItem) != nullptr;
}

void TdxBarToolbarsListItem::FreeEntries()
{
  std::vector<TEntry> entries;
  entries.swap(FEntries);
  for (auto it = entries.rbegin(); it != entries.rend(); ++it)
    if (TdxBarButton* button = it->Button.Get())
      button->Free();
}

TdxBar* TdxBarToolbarsListItem::GetEntryBar(TdxBarItem* AEntry) const
{
  for (const TEntry& entry : FEntries)
    if (AEntry && entry.Button.Get() == AEntry)
      return entry.Bar.Get();
  return nullptr;
}

void TdxBarToolbarsListItem::RefillLinks()
{
  TdxBarManager* manager = GetBarManager();
  TdxBarItemLinks* links = GetItemLinks();
  if (!manager || !links)
    return;
  {
    TUpdateLock<TCollection> update(links);
    links->Clear();
  }
  FreeEntries();
  TdxBars* bars = manager->GetBars();
  TUpdateLock<TCollection> update(links);
  for (int i = 0; i < bars->GetCount(); ++i) {
    TdxBar* bar = bars->GetItem(i);
    if (!bar || bar->GetHidden())
      continue;
    // Made in the manager: not streamed with the form, not named, not saved in a layout.
    auto* button = new TdxBarButton(manager);
    FEntries.push_back(TEntry{button, bar});
    button->SetCaption(bar->GetCaption());
    button->SetButtonStyle(bsChecked);
    button->SetDown(bar->GetVisible());
    button->SetOnClick(TNotifyEvent(this, &TdxBarToolbarsListItem::EntryClick));
    links->AddItem(button);
  }
}

void TdxBarToolbarsListItem::EntryClick(TObject* Sender)
{
  // The checked button has already flipped its Down; the toolbar follows the click, not
  // the button, so an entry that was stale still toggles what the user sees.
  if (TdxBar* bar = GetEntryBar(dynamic_cast<TdxBarItem*>(Sender)))
    bar->SetVisible(!bar->GetVisible());
}

TdxBarItemLinks* TdxBarToolbarsListItemControl::PrepareMenuLinks()
{
  auto* item = dynamic_cast<TdxBarToolbarsListItem*>(GetItem());
  TdxBarManager* manager = GetBarManager();
  if (item && !(manager && manager->IsDesigning())) {
    TWeakRef<TdxBarToolbarsListItem> itemRef(item);
    item->RefillLinks();
    if (!itemRef)
      return nullptr;
  }
  return TdxBarSubItemControl::PrepareMenuLinks();
}

// ---------------------------------------------------------------------------
// TdxBarMRUListItem

String dxBarShortenPath(HDC DC, const String& AText, int AWidth, int AHeight)
{
  if (!DC || AText.empty())
    return AText;
  // The system writes up to four characters past the text (the ellipsis and its end), so
  // the buffer keeps that room; the whole text goes in, since cutting it first would cut
  // off the file name the ellipsis is there to keep.
  std::vector<wchar_t> buffer(AText.begin(), AText.end());
  buffer.resize(AText.size() + 5, L'\0');
  RECT r{0, 0, AWidth, AHeight};
  ::DrawTextW(DC, buffer.data(), int(AText.size()), &r,
              DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  return String(buffer.data());
}

String TdxBarMRUListItem::GetDisplayText(const String& AText) const
{
  HDC dc = ::GetDC(nullptr);
  if (!dc)
    return AText;
  TFinally release([&]() noexcept { ::ReleaseDC(nullptr, dc); });
  return dxBarShortenPath(dc, AText, dxBarMRUDisplayWidth, dxBarMRUDisplayHeight);
}

void TdxBarMRUListItem::AddItem(const String& AFileName)
{
  if (AFileName.empty())
    return;
  TStrings* items = GetItems();
  items->BeginUpdate();
  TFinally done([&]() noexcept { items->EndUpdate(); });
  const int index = items->IndexOf(AFileName);
  if (index >= 0)
    items->Delete(index);
  items->Insert(0, AFileName);
  SetItemIndex(-1);
  TrimToMax();
}

bool TdxBarMRUListItem::RemoveItem(const String& AFileName)
{
  const int index = GetItems()->IndexOf(AFileName);
  if (index < 0)
    return false;
  GetItems()->Delete(index);
  SetItemIndex(-1);
  return true;
}

void TdxBarMRUListItem::SetMaxItemCount(int Value)
{
  Value = std::max(0, Value);
  if (FMaxItemCount == Value)
    return;
  FMaxItemCount = Value;
  if (!IsLoading())
    TrimToMax();
}

void TdxBarMRUListItem::Loaded()
{
  TdxBarListItem::Loaded();
  TrimToMax();
}

void TdxBarMRUListItem::TrimToMax()
{
  TStrings* items = GetItems();
  if (FMaxItemCount == 0 || items->Count() <= FMaxItemCount)
    return;
  items->BeginUpdate();
  TFinally done([&]() noexcept { items->EndUpdate(); });
  while (items->Count() > FMaxItemCount)
    items->Delete(items->Count() - 1);
  if (GetItemIndex() >= items->Count())
    SetItemIndex(-1);
}

void TdxBarMRUListItem::Click()
{
  TWeakRef<TdxBarMRUListItem> self(this);
  const int index = GetItemIndex();
  const bool known = index >= 0 && index < GetItems()->Count();
  const String text = known ? GetItems()->Strings(index) : String();
  TObject* object = known ? GetItems()->Objects(index) : nullptr;
  TdxBarListItem::Click();
  // The click of the item's own link that opens its drop-down names no entry.
  if (!self || !FRemoveItemOnClick || IsDesigning() || index < 0 || GetSelectedLink())
    return;
  // The handler may have changed the list: the entry is found again by its text, else (the
  // handler renamed it) by its object.
  int found = GetItems()->IndexOf(text);
  if (found < 0 && object)
    found = GetItems()->IndexOfObject(object);
  if (found >= 0)
    GetItems()->Delete(found);
  SetItemIndex(-1);
}

// ---------------------------------------------------------------------------
// TdxBarInPlaceSubItem

bool TdxBarInPlaceSubItem::IsCompatibleWith(TdxBarItem* AItem) const
{
  return dynamic_cast<TdxBarInPlaceSubItem*>(AItem) != nullptr;
}

void TdxBarInPlaceSubItem::AddListedItemLinks(TdxBarItemLinks* ATarget, int AIndex, intptr_t AData, bool AFill)
{
  if (FExpanded)
    TdxBarContainerItem::AddListedItemLinks(ATarget, AIndex, AData, AFill);
  else
    TCustomdxBarContainerItem::AddListedItemLinks(ATarget, AIndex, AData, AFill);
}

void TdxBarInPlaceSubItem::SetFollowingBeginGroup(TdxBarItemLink* ALink, bool AValue)
{
  TdxBarItemLinks* links = ALink ? ALink->GetLinks() : nullptr;
  TCustomdxBarControl* bar = links ? links->GetBarControl() : nullptr;
  if (!links || !bar || bar->GetKind() != bckSubMenu)
    return;
  // Outside design time the listed entries sit between the item and the link that follows.
  int index = ALink->Index() + 1;
  if (!IsDesigning())
    index += GetListedLinkCount(links);
  if (index < links->Count())
    links->Items(index)->SetBeginGroup(AValue);
}

void TdxBarInPlaceSubItem::SetExpanded(bool Value)
{
  if (FExpanded == Value)
    return;
  TWeakRef<TdxBarInPlaceSubItem> self(this);
  std::vector<TWeakRef<TdxBarItemLink>> links;
  for (int i = 0; i < GetLinkCount(); ++i)
    links.emplace_back(GetLink(i));
  if (!Value)
    for (const TWeakRef<TdxBarItemLink>& ref : links) {
      if (!self)
        return;
      if (TdxBarItemLink* link = ref.Get()) {
        if (FKeepBeginGroupWhileExpanded)
          SetFollowingBeginGroup(link, false);
        if (OnBeforeCollapse.Assigned())
          OnBeforeCollapse(this, link);
      }
    }
  if (!self)
    return;
  FExpanded = Value;
  if (!IsLoading()) {
    std::vector<TWeakRef<TCustomdxBarControl>> menus;
    for (const TWeakRef<TdxBarItemLink>& ref : links)
      if (TdxBarItemLink* link = ref.Get())
        if (TCustomdxBarControl* bar = link->GetBarControl(); bar && bar->GetKind() == bckSubMenu)
          if (std::none_of(menus.begin(), menus.end(), [&](const auto& m) { return m.Get() == bar; }))
            menus.emplace_back(bar);
    FRebuilding = true;
    TFinally rebuilt([&]() noexcept {
      if (self)
        FRebuilding = false;
    });
    for (const TWeakRef<TCustomdxBarControl>& menu : menus)
      if (TCustomdxBarControl* bar = menu.Get(); bar && !bar->IsDestroying())
        bar->RebuildBar();
  }
  if (!Value || !self)
    return;
  for (const TWeakRef<TdxBarItemLink>& ref : links) {
    if (!self)
      return;
    if (TdxBarItemLink* link = ref.Get()) {
      if (FKeepBeginGroupWhileExpanded)
        SetFollowingBeginGroup(link, true);
      if (OnAfterExpand.Assigned())
        OnAfterExpand(this, link);
    }
  }
}

// ---------------------------------------------------------------------------
// TdxBarInPlaceSubItemControl

namespace {

// In a menu the entry lists its items in place rather than opening a menu: its state says
// whether they are listed, and its default action lists or hides them. On a toolbar it is a
// sub item's.
class TdxBarInPlaceSubItemControlAccessibilityHelper : public TdxBarSubItemControlAccessibilityHelper {
public:
  using TdxBarSubItemControlAccessibilityHelper::TdxBarSubItemControlAccessibilityHelper;
  int GetState(int AChildID) override
  {
    TdxBarInPlaceSubItem* item = InMenuItem();
    if (!item)
      return TdxBarSubItemControlAccessibilityHelper::GetState(AChildID);
    const int state = TdxBarButtonLikeControlAccessibilityHelper::GetState(AChildID);
    if (state & STATE_SYSTEM_INVISIBLE)
      return state;
    return state | (item->GetExpanded() ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED);
  }
  String GetDefaultActionDescription(int AChildID) override
  {
    TdxBarInPlaceSubItem* item = InMenuItem();
    if (!item)
      return TdxBarSubItemControlAccessibilityHelper::GetDefaultActionDescription(AChildID);
    return item->GetExpanded() ? L"Collapse" : L"Expand";
  }

private:
  TdxBarInPlaceSubItem* InMenuItem() const
  {
    auto* control = static_cast<TdxBarInPlaceSubItemControl*>(GetControl());
    return control && control->IsInMenu() ? control->GetInPlaceSubItem() : nullptr;
  }
};

}  // namespace

TdxBarAccessibilityHelperClass TdxBarInPlaceSubItemControl::GetAccessibilityHelperClass() const
{
  return &dxBarAccessibilityHelperClassOf<TdxBarInPlaceSubItemControlAccessibilityHelper>;
}

TdxBarInPlaceSubItem* TdxBarInPlaceSubItemControl::GetInPlaceSubItem() const
{
  return dynamic_cast<TdxBarInPlaceSubItem*>(GetItem());
}

bool TdxBarInPlaceSubItemControl::WantsKey(uint16_t Key) const
{
  TdxBarInPlaceSubItem* item = GetInPlaceSubItem();
  if (!IsInMenu() || !item)
    return TdxBarSubItemControl::WantsKey(Key);
  return Key == VK_RETURN || (Key == VK_LEFT && item->GetExpanded()) || (Key == VK_RIGHT && !item->GetExpanded());
}

bool TdxBarInPlaceSubItemControl::KeyDown(uint16_t Key)
{
  if (!IsInMenu())
    return TdxBarSubItemControl::KeyDown(Key);
  if (!WantsKey(Key) || !IsEnabledOrDesigning())
    return false;
  Toggle();
  return true;
}

bool TdxBarInPlaceSubItemControl::WantsDoubleClick() const
{
  return !IsInMenu() && TdxBarSubItemControl::WantsDoubleClick();
}

void TdxBarInPlaceSubItemControl::ActivateByKey()
{
  if (IsInMenu())
    Toggle();
  else
    TdxBarSubItemControl::ActivateByKey();
}

void TdxBarInPlaceSubItemControl::MouseDown(const TPoint& P)
{
  if (!IsInMenu()) {
    TdxBarSubItemControl::MouseDown(P);
    return;
  }
  if (IsEnabledOrDesigning())
    Toggle();
}

// The rebuild frees this control: everything after it goes through weak references.
void TdxBarInPlaceSubItemControl::Toggle()
{
  TdxBarInPlaceSubItem* item = GetInPlaceSubItem();
  if (!item)
    return;
  TWeakRef<TdxBarInPlaceSubItem> itemRef(item);
  TWeakRef<TdxBarItemLink> linkRef(GetItemLink());
  TWeakRef<TCustomdxBarControl> barRef(GetParent());
  item->Click();
  if (!itemRef)
    return;
  item->SetExpanded(!item->GetExpanded());
  TCustomdxBarControl* bar = barRef.Get();
  TdxBarItemLink* link = linkRef.Get();
  if (bar && link && !bar->IsDestroying())
    if (TdxBarItemControl* control = link->GetControl(); control && control->GetParent() == bar)
      bar->SelectItemControl(control);
}

void TdxBarInPlaceSubItemControl::Draw(const TRect& R, bool AFlag)
{
  TdxBarPainter* painter = GetPainter();
  if (IsInMenu() && painter)
    painter->DrawInPlaceSubItemControl(GetDrawParams(), R);
  else
    TdxBarSubItemControl::Draw(R, AFlag);
}

int TdxBarInPlaceSubItemControl::GetWidth()
{
  TdxBarPainter* painter = GetPainter();
  if (!IsInMenu() || !painter)
    return TdxBarSubItemControl::GetWidth();
  // The indent, the caption and the expand sign the painter draws at the entry's height.
  return painter->GetInPlaceSubItemIndent() + GetCaptionTextWidth() + painter->GetInPlaceSubItemSignWidth(GetHeight());
}

int TdxBarInPlaceSubItemControl::GetHeight()
{
  return IsInMenu() ? TdxBarSubItemControl::GetHeight() + 1 : TdxBarSubItemControl::GetHeight();
}
