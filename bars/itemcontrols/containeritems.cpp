// Container items: the bookkeeping of what each fill added to which links, the list item's
// generated buttons with their numbers, checks and data index, the container of links and
// the extra pane's list.
#include <algorithm>

#include "bars/barwindows/barcontrol.h"
#include "bars/model/manager.h"
#include "bars/model/startup.h"
#include "bars/itemcontrols/subitems.h"
#include "platform/SysUtils.h"

PUBLISHED(TCustomdxBarContainerItem, TCustomdxBarSubItem)
{
  p.Event(L"OnGetData", &TCustomdxBarContainerItem::OnGetData);
}

PUBLISHED(TdxBarListItem, TCustomdxBarContainerItem)
{
  using I = TdxBarListItem;
  p.Prop(L"DataIndex", &I::GetDataIndex, &I::SetDataIndex).Stored(false);
  p.Prop(L"ItemIndex", &I::GetItemIndex, &I::SetItemIndex).Default(-1);
  p.Object(L"Items", &I::GetItems, &I::SetItems);
  p.Prop(L"ShowCheck", &I::GetShowCheck, &I::SetShowCheck).Default(false);
  p.Prop(L"ShowNumbers", &I::GetShowNumbers, &I::SetShowNumbers).Default(true);
}

PUBLISHED(TdxBarContainerItem, TCustomdxBarContainerItem)
{
  using I = TdxBarContainerItem;
  p.Object(L"ItemLinks", &I::GetItemLinks, &I::SetItemLinks);
}

PUBLISHED(TdxBarExtraPaneListItem, TdxBarListItem)
{
  p.Event(L"OnExtraCommandClick", &TdxBarExtraPaneListItem::OnExtraCommandClick);
}

IMPLEMENT_CLASS(TdxBarExtraPaneEntry, TObject)

// ---------------------------------------------------------------------------
// TCustomdxBarContainerItem
//
// A fill inserts links into another item's links (a menu's), and the menu's rebuild takes
// them out again. What comes out is exactly what went in, remembered per target: the content
// may have changed meanwhile (a recent-files list updated while its menu is open), and
// counting it anew would delete the menu's own links or leave stale ones behind.

TCustomdxBarContainerItem::TCustomdxBarContainerItem(TComponent* AOwner) : TCustomdxBarSubItem(AOwner) {}

TCustomdxBarContainerItem::~TCustomdxBarContainerItem() = default;

void TCustomdxBarContainerItem::BeforeDestruction()
{
  // The item's own links go first (one may wait outside a menu's links while the content
  // is listed there), so that no rebuild lists the content again.
  TCustomdxBarSubItem::BeforeDestruction();
  DeleteAllListedLinks();
  FMenuClosed = true;
  ClearListedItems();
}

TCustomdxBarContainerItem::TListedFill* TCustomdxBarContainerItem::FindFill(const TdxBarItemLinks* ATarget)
{
  std::erase_if(FFills, [](const TListedFill& AFill) { return !AFill.Target; });
  for (TListedFill& fill : FFills)
    if (fill.Target.Get() == ATarget)
      return &fill;
  return nullptr;
}

bool TCustomdxBarContainerItem::HasListedLinks() const
{
  for (const TListedFill& fill : FFills)
    if (fill.Target)
      for (const TWeakRef<TdxBarItemLink>& link : fill.Links)
        if (link)
          return true;
  return false;
}

int TCustomdxBarContainerItem::GetListedLinkCount(TdxBarItemLinks* ATarget) const
{
  int count = 0;
  for (const TListedFill& fill : FFills)
    if (fill.Target && fill.Target.Get() == ATarget)
      count += int(std::count_if(fill.Links.begin(), fill.Links.end(), [](const auto& l) { return l.Alive(); }));
  return count;
}

void TCustomdxBarContainerItem::AddListedLink(TdxBarItemLinks* ATarget, TdxBarItemLink* ALink)
{
  TListedFill* fill = FindFill(ATarget);
  if (!fill) {
    FFills.push_back(TListedFill{ATarget, {}});
    fill = &FFills.back();
  }
  fill->Links.emplace_back(ALink);
}

void TCustomdxBarContainerItem::AddListedItemLinks(TdxBarItemLinks* ATarget, int AIndex, intptr_t AData, bool AFill)
{
  if (!ATarget)
    return;
  // A target filled twice without being emptied loses the first fill's links first.
  TCustomdxBarContainerItem::DeleteListedItemLinks(ATarget, AIndex);
  if (FMenuClosed || !HasListedLinks())
    ClearListedItems();
  FMenuClosed = false;
  if (AFill && OnGetData.Assigned()) {
    TWeakRef<TCustomdxBarContainerItem> self(this);
    FFilling = true;
    TFinally filled([&]() noexcept {
      if (self)
        FFilling = false;
    });
    CallEvent(OnGetData, this);
  }
}

void TCustomdxBarContainerItem::DeleteListedItemLinks(TdxBarItemLinks* ATarget, int)
{
  TListedFill* fill = FindFill(ATarget);
  if (!fill)
    return;
  std::vector<TWeakRef<TdxBarItemLink>> links;
  links.swap(fill->Links);
  std::erase_if(FFills, [&](const TListedFill& AFill) { return AFill.Target.Get() == ATarget; });
  {
    TUpdateLock<TCollection> update(ATarget);
    for (auto it = links.rbegin(); it != links.rend(); ++it)
      if (TdxBarItemLink* link = it->Get())
        link->Free();
  }
  if (!HasListedLinks())
    FMenuClosed = true;
}

void TCustomdxBarContainerItem::DeleteAllListedLinks()
{
  while (!FFills.empty()) {
    TdxBarItemLinks* target = FFills.back().Target.Get();
    if (!target) {
      FFills.pop_back();
      continue;
    }
    DeleteListedItemLinks(target, 0);
  }
}

void TCustomdxBarContainerItem::ClearListedItems() {}

void TCustomdxBarContainerItem::DataChanged()
{
  if (FFilling || dxBarIsFinalizing() || IsLoading() || IsDestroying())
    return;
  TWeakRef<TCustomdxBarContainerItem> self(this);
  // The windows that show the content in place, then the places of the item itself.
  std::vector<TWeakRef<TCustomdxBarControl>> windows;
  for (const TListedFill& fill : FFills)
    if (TdxBarItemLinks* target = fill.Target.Get())
      windows.emplace_back(target->GetBarControl());
  for (const TWeakRef<TCustomdxBarControl>& window : windows)
    if (TCustomdxBarControl* bar = window.Get(); bar && !bar->IsDestroying())
      bar->RebuildBar();
  if (self)
    VisibleChanged();
}

bool TCustomdxBarContainerItem::CanBeVisible() const
{
  return OnGetData.Assigned();
}

TCustomdxBarControl* TCustomdxBarContainerItem::CreateBarControl()
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return nullptr;
  auto* menu =
      dynamic_cast<TContainerItemSubMenuControl*>(TContainerItemSubMenuControl::StaticClass()->Create(manager));
  if (menu)
    menu->SetContainerItem(this);
  return menu;
}

// ---------------------------------------------------------------------------
// TdxBarListItem

TdxBarListItem::TdxBarListItem(TComponent* AOwner) : TCustomdxBarContainerItem(AOwner)
{
  FItems = std::make_unique<TStringList>();
  FItems->OnChange = TNotifyEvent(this, &TdxBarListItem::ItemsChanged);
}

TdxBarListItem::~TdxBarListItem()
{
  if (FItems)
    FItems->OnChange = nullptr;
  FreeButtons();
}

TdxBarButton* TdxBarListItem::GetButton(int Index) const
{
  return Index >= 0 && Index < int(FButtons.size()) ? FButtons[size_t(Index)].Get() : nullptr;
}

String TdxBarListItem::NumberPrefix(int ANumber)
{
  if (ANumber >= 1 && ANumber <= 9)
    return String(L"&") + wchar_t(L'0' + ANumber) + L" ";
  // Letters go on to Z; what follows Z on the code page is no accelerator anyone can type.
  if (ANumber >= 10 && ANumber < 10 + 26)
    return String(L"&") + wchar_t(L'A' + ANumber - 10) + L" ";
  return String();
}

String TdxBarListItem::GetItemCaption(int AIndex, int ANumber) const
{
  const String text = GetDisplayText(FItems->Strings(AIndex));
  return FShowNumbers ? NumberPrefix(ANumber) + text : text;
}

TdxBarButton* TdxBarListItem::ButtonFor(int ANumber)
{
  const size_t slot = size_t(ANumber - 1);
  if (FButtons.size() <= slot)
    FButtons.resize(slot + 1);
  if (TdxBarButton* button = FButtons[slot].Get())
    return button;
  TdxBarButton* button = NewButton(TNotifyEvent(this, &TdxBarListItem::ButtonClick));
  button->SetAction(GetAction());
  FButtons[slot] = button;
  return button;
}

// Buttons already made are brought up to date rather than trusted: one may still be linked in
// another menu, so they are not always made anew, and their count may not be the list's.
void TdxBarListItem::AddListedItemLinks(TdxBarItemLinks* ATarget, int AIndex, intptr_t AData, bool AFill)
{
  TWeakRef<TdxBarListItem> self(this);
  TCustomdxBarContainerItem::AddListedItemLinks(ATarget, AIndex, AData, AFill);
  if (!self || !ATarget)
    return;
  TUpdateLock<TCollection> update(ATarget);
  int number = 0;
  bool group = true;
  const int position = std::clamp(AIndex, 0, ATarget->Count());
  for (int i = 0; i < FItems->Count(); ++i) {
    if (IsSeparatorEntry(FItems->Strings(i))) {
      group = true;
      continue;
    }
    ++number;
    TdxBarButton* button = ButtonFor(number);
    button->SetCaption(GetItemCaption(i, number));
    button->SetHint(GetItemHint(i));
    button->SetTag(i);
    button->SetEnabled(GetEnabledValue());
    ApplyCheck(button, FShowCheck && i == FItemIndex);
    TdxBarItemLink* link = ATarget->Insert(std::min(position + number - 1, ATarget->Count()));
    try {
      link->SetItem(button);
    } catch (...) {
      link->Free();
      throw;
    }
    link->SetData(AData);
    link->SetBeginGroup(group);
    group = false;
    AddListedLink(ATarget, link);
  }
}

void TdxBarListItem::FreeButtons()
{
  std::vector<TWeakRef<TdxBarButton>> buttons;
  buttons.swap(FButtons);
  for (auto it = buttons.rbegin(); it != buttons.rend(); ++it)
    if (TdxBarButton* button = it->Get())
      button->Free();
}

void TdxBarListItem::ClearListedItems()
{
  const bool linked = std::any_of(FButtons.begin(), FButtons.end(), [](const TWeakRef<TdxBarButton>& AButton) {
    return AButton && AButton->GetLinkCount() > 0;
  });
  if (!linked)
    FreeButtons();
  TCustomdxBarContainerItem::ClearListedItems();
}

bool TdxBarListItem::CanBeVisible() const
{
  return TCustomdxBarContainerItem::CanBeVisible() || FItems->Count() > 0;
}

void TdxBarListItem::SetItemIndex(int Value)
{
  Value = std::max(-1, Value);
  if (FItemIndex == Value)
    return;
  FItemIndex = Value;
  UpdateCheck();
}

void TdxBarListItem::SetShowCheck(bool Value)
{
  if (FShowCheck == Value)
    return;
  FShowCheck = Value;
  UpdateCheck();
}

void TdxBarListItem::SetShowNumbers(bool Value)
{
  if (FShowNumbers == Value)
    return;
  FShowNumbers = Value;
  DataChanged();
}

// The shown buttons follow the check without a rebuild: a click sets ItemIndex while its menu
// is still closing.
void TdxBarListItem::UpdateCheck()
{
  for (const TWeakRef<TdxBarButton>& ref : FButtons) {
    TdxBarButton* button = ref.Get();
    if (!button)
      continue;
    ApplyCheck(button, FShowCheck && button->Tag() == FItemIndex);
  }
}

void TdxBarListItem::ApplyCheck(TdxBarButton* AButton, bool AChecked)
{
  // Down is cleared before the style stops checking, and set once it checks.
  if (!AChecked)
    AButton->SetDown(false);
  AButton->SetButtonStyle(AChecked ? bsChecked : bsDefault);
  if (AChecked)
    AButton->SetDown(true);
}

TdxBarButton* TdxBarListItem::NewButton(const TNotifyEvent& AOnClick)
{
  // Made in the manager: not streamed with the form, not named, not saved in a layout.
  TdxBarManager* manager = GetBarManager();
  auto* button = new TdxBarButton(manager ? static_cast<TComponent*>(manager) : Owner());
  button->SetOnClick(AOnClick);
  return button;
}

int TdxBarListItem::GetDataIndex() const
{
  if (FItemIndex < 0 || FItemIndex >= FItems->Count() || IsSeparatorEntry(FItems->Strings(FItemIndex)))
    return -1;
  int count = 0;
  for (int i = 0; i <= FItemIndex; ++i)
    if (!IsSeparatorEntry(FItems->Strings(i)))
      ++count;
  return count - 1;
}

void TdxBarListItem::SetDataIndex(int Value)
{
  int index = -1;
  if (Value >= 0) {
    int count = 0;
    for (int i = 0; i < FItems->Count(); ++i) {
      if (IsSeparatorEntry(FItems->Strings(i)))
        continue;
      index = i;
      if (++count == Value + 1)
        break;
    }
  }
  SetItemIndex(index);
}

void TdxBarListItem::ButtonClick(TObject* Sender)
{
  auto* button = dynamic_cast<TdxBarButton*>(Sender);
  if (!button)
    return;
  TWeakRef<TdxBarListItem> self(this);
  SetClickItemLink(button->GetClickItemLink());
  SetItemIndex(int(button->Tag()));
  if (self)
    Click();
  if (self)
    SetClickItemLink(nullptr);
}

// ---------------------------------------------------------------------------
// TdxBarContainerItem

TdxBarContainerItem::TdxBarContainerItem(TComponent* AOwner) : TCustomdxBarContainerItem(AOwner)
{
  GetItemLinks()->OnChange = TNotifyEvent(this, &TdxBarContainerItem::LinksChanged);
}

void TdxBarContainerItem::AddListedItemLinks(TdxBarItemLinks* ATarget, int AIndex, intptr_t AData, bool AFill)
{
  TWeakRef<TdxBarContainerItem> self(this);
  TCustomdxBarContainerItem::AddListedItemLinks(ATarget, AIndex, AData, AFill);
  TdxBarItemLinks* own = self ? GetItemLinks() : nullptr;
  if (!own || !ATarget || ATarget == own)
    return;
  TUpdateLock<TCollection> update(ATarget);
  int position = std::clamp(AIndex, 0, ATarget->Count());
  for (int i = 0; i < own->Count(); ++i) {
    TdxBarItemLink* source = own->Items(i);
    if (!source->GetItem())
      continue;
    TdxBarItemLink* link = ATarget->Insert(position);
    try {
      link->Assign(source);
    } catch (...) {
      link->Free();  // an item the target refuses is not listed
      continue;
    }
    ++position;
    link->SetData(AData);
    if (i == 0 && IsListedAsGroup())
      link->SetBeginGroup(true);
    AddListedLink(ATarget, link);
  }
}

void TdxBarContainerItem::DeleteListedItemLinks(TdxBarItemLinks* ATarget, int AIndex)
{
  if (ATarget && ATarget != GetItemLinks())
    TCustomdxBarContainerItem::DeleteListedItemLinks(ATarget, AIndex);
}

bool TdxBarContainerItem::CanBeVisible() const
{
  if (TCustomdxBarContainerItem::CanBeVisible())
    return true;
  TdxBarItemLinks* own = GetItemLinks();
  for (int i = 0; own && i < own->Count(); ++i)
    if (TdxBarItem* item = own->Items(i)->GetItem(); item && item->IsAvailable())
      return true;
  return false;
}

bool TdxBarContainerItem::IsCompatibleWith(TdxBarItem* AItem) const
{
  return dynamic_cast<TdxBarContainerItem*>(AItem) != nullptr;
}

// ---------------------------------------------------------------------------
// TdxBarExtraPaneListItem

TdxBarExtraPaneListItem::TdxBarExtraPaneListItem(TComponent* AOwner) : TdxBarListItem(AOwner)
{
  // The entries' objects belong to the list.
  FItems = std::make_unique<TStringList>(true);
  FItems->OnChange = TNotifyEvent(this, &TdxBarExtraPaneListItem::ItemsChanged);
}

TdxBarExtraPaneListItem::~TdxBarExtraPaneListItem()
{
  if (TdxBarButton* button = FExtraButton.Get())
    button->Free();
}

int TdxBarExtraPaneListItem::AddEntry(const String& AText, int AImageIndex, const String& AFileName)
{
  auto* entry = new TdxBarExtraPaneEntry;
  entry->Text = AText;
  entry->ImageIndex = AImageIndex;
  entry->FileName = AFileName;
  return FItems->AddObject(AText.empty() ? ExtractFileName(AFileName) : AText, entry);
}

TdxBarExtraPaneEntry* TdxBarExtraPaneListItem::GetEntry(int AIndex) const
{
  if (AIndex < 0 || AIndex >= FItems->Count())
    return nullptr;
  return dynamic_cast<TdxBarExtraPaneEntry*>(FItems->Objects(AIndex));
}

String TdxBarExtraPaneListItem::GetEntryDisplayText(int AIndex) const
{
  TdxBarExtraPaneEntry* entry = GetEntry(AIndex);
  if (!entry)
    return AIndex >= 0 && AIndex < FItems->Count() ? FItems->Strings(AIndex) : String();
  String text = entry->Text;
  if (text.empty() && OnGetEntryText.Assigned())
    OnGetEntryText(const_cast<TdxBarExtraPaneListItem*>(this), AIndex, text);
  return text.empty() ? ExtractFileName(entry->FileName) : text;
}

String TdxBarExtraPaneListItem::GetItemCaption(int AIndex, int ANumber) const
{
  const String text = GetDisplayText(GetEntryDisplayText(AIndex));
  return GetShowNumbers() ? NumberPrefix(ANumber) + text : text;
}

String TdxBarExtraPaneListItem::GetItemHint(int AIndex) const
{
  return GetEntryDisplayText(AIndex);
}

void TdxBarExtraPaneListItem::AddListedItemLinks(TdxBarItemLinks* ATarget, int AIndex, intptr_t AData, bool AFill)
{
  TWeakRef<TdxBarExtraPaneListItem> self(this);
  TdxBarListItem::AddListedItemLinks(ATarget, AIndex, AData, AFill);
  if (!self || !ATarget)
    return;
  bool anyImage = false;
  for (int i = 0; i < FItems->Count(); ++i)
    if (TdxBarExtraPaneEntry* entry = GetEntry(i); entry && entry->ImageIndex >= 0)
      anyImage = true;
  for (const TWeakRef<TdxBarButton>& ref : FButtons)
    if (TdxBarButton* button = ref.Get()) {
      TdxBarExtraPaneEntry* entry = GetEntry(int(button->Tag()));
      button->SetImageIndex(entry ? entry->ImageIndex : -1);
      button->SetPaintStyle(anyImage ? psCaptionGlyph : psStandard);
    }
  if (GetCaption().empty())
    return;
  TdxBarButton* extra = FExtraButton.Get();
  if (!extra) {
    extra = NewButton(TNotifyEvent(this, &TdxBarExtraPaneListItem::ExtraCommandClick));
    FExtraButton = extra;
  }
  extra->SetCaption(GetCaption());
  extra->SetEnabled(GetEnabledValue());
  const int listed = GetListedLinkCount(ATarget);
  TdxBarItemLink* link = ATarget->Insert(std::clamp(AIndex + listed, 0, ATarget->Count()));
  link->SetItem(extra);
  link->SetData(AData);
  link->SetBeginGroup(true);
  AddListedLink(ATarget, link);
}

void TdxBarExtraPaneListItem::ClearListedItems()
{
  TdxBarButton* extra = FExtraButton.Get();
  if (extra && extra->GetLinkCount() == 0 && IsMenuClosed())
    extra->Free();
  TdxBarListItem::ClearListedItems();
}

bool TdxBarExtraPaneListItem::CanBeVisible() const
{
  return TdxBarListItem::CanBeVisible() || !GetCaption().empty();
}

void TdxBarExtraPaneListItem::ExtraCommandClick(TObject*)
{
  CallEvent(OnExtraCommandClick, this);
}
