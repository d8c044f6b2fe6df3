// The sub-item: its own links, the menu window made for them, the tear-off bar, the side
// strip, the recursion rule and its links in the stored layout.
#include "bars/itemcontrols/subitems.h"

#include "bars/model/bar.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/layout/layoutformat.h"
#include "bars/model/manager.h"
#include "platform/IniFiles.h"

PUBLISHED(TCustomdxBarSubItem, TdxBarItem)
{
  using I = TCustomdxBarSubItem;
  p.Prop(L"BarSize", &I::GetBarSize, &I::SetBarSize).Default(0);
  p.Prop(L"Detachable", &I::GetDetachable, &I::SetDetachable).Default(false);
  p.Prop(L"DetachingBar", &I::GetDetachingBarIndex, &I::SetDetachingBarIndex).Default(-1);
  p.Object(L"Glyph", &I::GetGlyph, &I::SetGlyph);
  p.Prop(L"ImageIndex", &I::GetImageIndex, &I::SetImageIndex).Default(-1).Stored(&I::IsImageIndexStored);
  p.Object(L"LargeGlyph", &I::GetLargeGlyph, &I::SetLargeGlyph);
  p.Prop(L"LargeImageIndex", &I::GetLargeImageIndex, &I::SetLargeImageIndex).Default(-1);
  p.Prop(L"ShowCaption", &I::GetShowCaption, &I::SetShowCaption).Default(true);
  p.Event(L"OnClick", &I::GetOnClick, &I::SetOnClick).Stored(&I::IsOnClickStored);
  p.Event(L"OnDetaching", &I::OnDetaching);
  p.Event(L"OnPaintBar", &I::OnPaintBar);
}

PUBLISHED(TdxBarSubItem, TCustomdxBarSubItem)
{
  using I = TdxBarSubItem;
  p.Prop(L"AllowCustomizing", &I::GetAllowCustomizing, &I::SetAllowCustomizing).Default(true);
  p.Object(L"ItemLinks", &I::GetItemLinks, &I::SetItemLinks);
  p.Object(L"ItemOptions", &I::GetItemOptions, &I::SetItemOptions);
  p.Event(L"OnCloseUp", &I::OnCloseUp, &I::OnCloseUp);
  p.Event(L"OnPopup", &I::OnPopup, &I::OnPopup);
}

// ---------------------------------------------------------------------------
// TCustomdxBarSubItem

TCustomdxBarSubItem::TCustomdxBarSubItem(TComponent* AOwner) : TdxBarItem(AOwner)
{
  MakeItemLinks();
  SetShowCaption(true);
}

TCustomdxBarSubItem::~TCustomdxBarSubItem()
{
  ListenTo(nullptr);
  FItemLinks.reset();
}

void TCustomdxBarSubItem::BeforeDestruction()
{
  ListenTo(nullptr);
  // The menu window goes before the links it shows.
  if (FItemLinks)
    FItemLinks->DestroyBarControl();
  TdxBarItem::BeforeDestruction();
}

void TCustomdxBarSubItem::MakeItemLinks()
{
  FItemLinks = std::make_unique<TdxBarSubMenuControlItemLinks>(GetBarManager(), static_cast<IdxBarLinksOwner*>(this));
  FItemLinks->SetNoDesignerNotify(FInternalLinks);
}

void TCustomdxBarSubItem::Loaded()
{
  TdxBarItem::Loaded();
  if (FItemLinks)
    FItemLinks->Loaded();
  if (FLoadedDetachingBar >= 0) {
    const int index = FLoadedDetachingBar;
    FLoadedDetachingBar = -1;
    SetDetachingBarIndex(index);
  }
}

void TCustomdxBarSubItem::BarManagerChanged()
{
  TdxBarItem::BarManagerChanged();
  // Links cannot move between managers; an empty collection simply starts again with the new one.
  if (FItemLinks && FItemLinks->GetBarManager() != GetBarManager() && FItemLinks->Count() == 0)
    MakeItemLinks();
}

TCustomdxBarControl* TCustomdxBarSubItem::CreateBarControl()
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return nullptr;
  return dynamic_cast<TCustomdxBarControl*>(TdxBarSubMenuControl::StaticClass()->Create(manager));
}

bool TCustomdxBarSubItem::CanAddItem(TdxBarItem* AItem, String& AErrorText)
{
  if (AItem == this || (FItemLinks && FItemLinks->IsRecursiveItem(AItem))) {
    AErrorText = GetResourceString(sdxBarRecursiveMenusError);
    return false;
  }
  return true;
}

bool TCustomdxBarSubItem::CheckRecursiveMenus(TdxBarItemLinks* ATarget, String& AMessage) const
{
  if (!ATarget)
    return true;
  if (ATarget == FItemLinks.get() || (FItemLinks && FItemLinks->ContainsOwner(ATarget->GetOwnerIntf()))) {
    AMessage = GetResourceString(sdxBarRecursiveMenusError);
    return false;
  }
  return true;
}

void TCustomdxBarSubItem::SetBarSize(int Value)
{
  FBarSize = std::max(0, Value);
}

void TCustomdxBarSubItem::SetInternalLinks(bool Value)
{
  FInternalLinks = Value;
  if (FItemLinks)
    FItemLinks->SetNoDesignerNotify(Value);
}

// ---------------------------------------------------------------------------
// The tear-off bar

int TCustomdxBarSubItem::GetDetachingBarIndex() const
{
  if (IsLoading() && FLoadedDetachingBar >= 0)
    return FLoadedDetachingBar;
  TdxBar* bar = FDetachingBar.Get();
  return bar ? bar->GetIndex() : -1;
}

void TCustomdxBarSubItem::SetDetachingBarIndex(int Value)
{
  if (IsLoading()) {
    // The manager's bars may not all be read yet.
    FLoadedDetachingBar = Value;
    return;
  }
  TdxBarManager* manager = GetBarManager();
  TdxBars* bars = manager ? manager->GetBars() : nullptr;
  TdxBar* bar = bars && Value >= 0 && Value < bars->GetCount() ? bars->GetItem(Value) : nullptr;
  if (bar != FDetachingBar.Get())
    ListenTo(bar);
}

void TCustomdxBarSubItem::ListenTo(TdxBar* ABar)
{
  if (TdxBar* old = FDetachingBar.Get())
    old->RemoveListener(this);
  FDetachingBar = ABar;
  if (ABar)
    ABar->AddListener(this);
}

void TCustomdxBarSubItem::BarNotification(int Kind)
{
  TdxBarItem::BarNotification(Kind);
  if (Kind == dxBarNotificationDestroying)
    FDetachingBar = TWeakRef<TdxBar>();
}

TdxBar* TCustomdxBarSubItem::GetDetachingBar()
{
  return FDetachable ? FDetachingBar.Get() : nullptr;
}

void TCustomdxBarSubItem::DoDetaching()
{
  CallEvent(OnDetaching, this);
}

int TCustomdxBarSubItem::GetSideStripWidth(TdxBarSubMenuControl*)
{
  return FBarSize;
}

void TCustomdxBarSubItem::DrawSideStrip(TdxBarSubMenuControl*, TcxCanvas* ACanvas, const TRect& R)
{
  CallEvent(OnPaintBar, this, ACanvas, R);
}

void TCustomdxBarSubItem::DoPopup()
{
  CallEvent(OnPopup, this);
}

void TCustomdxBarSubItem::DoCloseUp()
{
  CallEvent(OnCloseUp, this);
}

// ---------------------------------------------------------------------------
// Stored layout

String TCustomdxBarSubItem::GetLinksSection(const String& ABase) const
{
  return Name().empty() ? String() : ABase + L"SubItem_" + Name();
}

void TCustomdxBarSubItem::SaveLinks(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry)
{
  const String section = GetLinksSection(ABase);
  if (AStorage && FItemLinks && !section.empty())
    FItemLinks->SaveToIni(AStorage, section, AIsRegistry);
}

void TCustomdxBarSubItem::LoadLinks(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry)
{
  const String section = GetLinksSection(ABase);
  if (AStorage && FItemLinks && !section.empty() && AStorage->ValueExists(section, L"ItemLinkCount"))
    FItemLinks->LoadFromIni(AStorage, section, AIsRegistry);
}

void TCustomdxBarSubItem::RestoreLinks(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry)
{
  LoadLinks(AStorage, ABase, AIsRegistry);
}

void TCustomdxBarSubItem::LoadLinkUsage(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry)
{
  const String section = GetLinksSection(ABase);
  if (!AStorage || !FItemLinks || section.empty() || !AStorage->ValueExists(section, L"ItemLinkCount"))
    return;
  FItemLinks->LoadUsageFromIni(AStorage, section, AIsRegistry);
}

// ---------------------------------------------------------------------------
// TdxBarSubItem

String TdxBarSubItem::GetNewItemCaption() const
{
  return GetResourceString(sdxBarNewSubItem);
}

bool TdxBarSubItem::IsCompatibleWith(TdxBarItem* AItem) const
{
  return dynamic_cast<TdxBarSubItem*>(AItem) != nullptr;
}
