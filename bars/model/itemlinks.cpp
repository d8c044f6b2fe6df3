#include "bars/model/itemlinks.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "platform/Bitmap.h"
#include "platform/Filer.h"
#include "platform/Menus.h"
#include "platform/Profile.h"

PUBLISHED(TdxBarItemLink, TCollectionItem)
{
  using L = TdxBarItemLink;
  p.Prop(L"BeginGroup", &L::GetStoredBeginGroup, &L::SetBeginGroup).Default(false);
  p.Prop(L"ButtonGroup", &L::GetButtonGroup, &L::SetButtonGroup).Default(bgpNone);
  p.Component(L"Item", &L::GetItem, &L::SetItem).Stored(false);
  p.Prop(L"MostRecentlyUsed", &L::GetMostRecentlyUsed, &L::SetMostRecentlyUsed).Default(true);
  p.Prop(L"Position", &L::GetPosition, &L::SetPosition).Default(ipBeginsNewRow);
  p.Prop(L"UserCaption", &L::GetUserCaption, &L::SetUserCaption);
  p.Prop(L"UserDefine", &L::GetUserDefine, &L::SetUserDefine).Default(TdxBarUserDefines{});
  p.Object(L"UserGlyph", &L::GetUserGlyph, &L::SetUserGlyph);
  p.Prop(L"UserPaintStyle", &L::GetUserPaintStyle, &L::SetUserPaintStyle).Default(psStandard);
  p.Prop(L"UserWidth", &L::GetUserWidth, &L::SetUserWidth).Default(0).Stored(&L::IsUserWidthStored);
  p.Prop(L"ViewLevels", &L::GetViewLevels, &L::SetViewLevels).Default(dxBarAllItemViewLevels);
  p.Prop(L"Visible", &L::GetVisible, &L::SetVisible).NoDefault();
}

namespace {

int16_t LayoutVkKeyScan(char AChar)
{
  return VkKeyScanA(AChar);
}

}  // namespace

int16_t (*dxBarVkKeyScan)(char AChar) = &LayoutVkKeyScan;

namespace {

TdxBar* MergingBar = nullptr;
bool Resetting = false;

wchar_t LowerChar(wchar_t C)
{
  return wchar_t(uintptr_t(CharLowerW(reinterpret_cast<LPWSTR>(uintptr_t(C)))));
}

// A component by name among the components of AOwner (nil-safe).
TdxBarItem* FindItemIn(TComponent* AOwner, const String& AName)
{
  return AOwner && !AName.empty() ? dynamic_cast<TdxBarItem*>(AOwner->FindComponent(AName)) : nullptr;
}

bool IsUpdatingFromAncestor(const TObject* AObject)
{
  auto* component = dynamic_cast<const TComponent*>(AObject);
  return component && component->ComponentState().Contains(csUpdating);
}

}  // namespace

TdxBarItem* dxBarFindManagerItem(TdxBarManager* AManager, const String& AName)
{
  if (!AManager || AName.empty())
    return nullptr;
  for (int i = 0; i < AManager->GetItemCount(); ++i)
    if (auto* item = dynamic_cast<TdxBarItem*>(AManager->GetItem(i)); item && SameText(item->Name(), AName))
      return item;
  return nullptr;
}

TdxBar* dxBarGetMergingBar()
{
  return MergingBar;
}

void dxBarSetMergingBar(TdxBar* ABar)
{
  MergingBar = ABar;
}

bool dxBarIsResetting()
{
  return Resetting;
}

void dxBarSetResetting(bool AValue)
{
  Resetting = AValue;
}

// ---------------------------------------------------------------------------
// Life and death

TdxBarItemLink::TdxBarItemLink(TCollection* ACollection)
    : TCollectionItem(ACollection), FUserGlyph(std::make_unique<TBitmap>())
{
  FUserGlyph->OnChange = TNotifyEvent(this, &TdxBarItemLink::UserGlyphChanged);
  if (TdxBarManager* manager = GetBarManager()) {
    FUseCount = manager->GetRecentItemsCount();
    if (!manager->IsLoading())
      CallEvent(manager->OnItemLinkAdd, manager, this);
  }
}

TdxBarItemLink::~TdxBarItemLink()
{
  // Deleted without Free: the clean-up may not raise from a destructor.
  try {
    Dispose();
  } catch (...) {
  }
}

void TdxBarItemLink::BeforeDestruction()
{
  Dispose();
  TCollectionItem::BeforeDestruction();
}

void TdxBarItemLink::Dispose()
{
  if (FDisposed)
    return;
  FDisposed = true;
  TdxBarManager* manager = GetBarManager();
  if (manager && !manager->IsDestroying())
    CallEvent(manager->OnItemLinkDelete, manager, this);
  TCustomdxBarControl* bar = GetBarControl();
  if (bar && !bar->IsDestroying()) {
    if (FControl && bar->GetSelectedLink() == this)
      bar->SetSelectedControl(nullptr);
    // The window must never keep a pointer to a link that is gone, control or not.
    if (bar->GetLastClickedLink() == this)
      bar->SetLastClickedLink(nullptr);
  }
  DestroyControl();
  DetachItem();
  if (TdxBarItemLinks* links = GetItemLinks())
    links->LinkGone(this);
}

// ---------------------------------------------------------------------------
// Where the link lives

TdxBarItemLinks* TdxBarItemLink::GetItemLinks() const
{
  return static_cast<TdxBarItemLinks*>(Collection());
}

void TdxBarItemLink::SetLinks(TdxBarItemLinks* Value)
{
  if (Value == GetItemLinks())
    return;
  DestroyControl();
  SetCollection(Value);
}

TCustomdxBarControl* TdxBarItemLink::GetBarControl() const
{
  TdxBarItemLinks* links = GetItemLinks();
  return links ? links->GetBarControl() : nullptr;
}

TdxBarManager* TdxBarItemLink::GetBarManager() const
{
  TdxBarItemLinks* links = GetItemLinks();
  return links ? links->GetBarManager() : nullptr;
}

bool TdxBarItemLink::IsManagerLoading() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsLoading();
}

bool TdxBarItemLink::IsManagerDesigning() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsDesigning();
}

// ---------------------------------------------------------------------------
// The item

TdxBarItem* TdxBarItemLink::GetItem() const
{
  // An inherited form still being read names its items before the collection resolves them.
  if (!FItem && !FItemName.empty() && IsManagerLoading())
    const_cast<TdxBarItemLink*>(this)->ResolveItemName(false);
  return FItem;
}

void TdxBarItemLink::SetItem(TdxBarItem* Value)
{
  if (Value == FItem)
    return;
  if (!Value) {
    // A link without an item has no reason to exist.
    Free();
    return;
  }
  TdxBarItemLinks* links = GetItemLinks();
  if (links) {
    // Refuse before anything changes, so a refused item leaves the link as it was.
    String error;
    if (!links->CanAddItem(Value, error))
      throw Exception(error);
  }
  TUpdateLock<TCollection> update(links);
  ChangeItem(Value);
}

void TdxBarItemLink::ChangeItem(TdxBarItem* AItem)
{
  DestroyControl();
  DetachItem();
  AttachItem(AItem);
  TdxBarItemLinks* links = GetItemLinks();
  if (!links || !FItem)
    return;
  links->RebuildLists();
  if (!links->IsOwnerLoading())
    ApplyMostRecentlyUsed();
  TdxBarManager* manager = GetBarManager();
  if (links->UpdateCount() == 1 && manager && !manager->IsLoading())
    CallEvent(manager->OnItemLinkChange, manager, this);
}

void TdxBarItemLink::AttachItem(TdxBarItem* AItem)
{
  FItem = AItem;
  if (FItem)
    FItem->AddLink(this);
}

void TdxBarItemLink::DetachItem()
{
  TdxBarItem* item = FItem;
  FItem = nullptr;
  if (item)
    item->RemoveLink(this);
}

void TdxBarItemLink::ResolveItemName(bool AFinal)
{
  if (FItemName.empty())
    return;
  TdxBarItem* item = dxBarFindManagerItem(GetBarManager(), FItemName);
  if (!item && !AFinal)
    return;  // not read yet: the collection tries again after loading
  FItemName.clear();
  if (!item || item == FItem)
    return;
  TdxBarItemLinks* links = GetItemLinks();
  String error;
  // Form data that names a refused item (a hand-edited recursive menu) leaves the link empty.
  if (links && !links->CanAddItem(item, error))
    return;
  TUpdateLock<TCollection> update(links);
  ChangeItem(item);
}

// ---------------------------------------------------------------------------
// Place and appearance

bool TdxBarItemLink::GetBeginGroup() const
{
  TdxBarItemLinks* links = GetItemLinks();
  if (!links)
    return FBeginGroup;
  int shown = GetShownIndex();
  if (FBeginGroup)
    return shown != 0;
  if (shown <= 0)
    return false;
  // A hidden link between the previous shown one and this one hands its group mark on.
  int from = links->ShownItems(shown - 1)->Index() + 1;
  int to = Index();
  bool handedOn = false;
  for (int i = from; i < to && !handedOn; ++i)
    handedOn = links->Items(i)->FBeginGroup;
  if (!handedOn)
    return false;
  if (FControl) {
    TdxBarItemAlign align = FControl->GetAlignment();
    if (align == iaCenter || align == iaRight)
      return false;
  }
  return true;
}

void TdxBarItemLink::SetBeginGroup(bool Value)
{
  if (FBeginGroup == Value)
    return;
  FBeginGroup = Value;
  if (FControl)
    FControl->BeginGroupChanged();
  Changed(false);
}

void TdxBarItemLink::SetButtonGroup(TdxBarButtonGroupPosition Value)
{
  if (FButtonGroup == Value)
    return;
  FButtonGroup = Value;
  Changed(true);
}

void TdxBarItemLink::SetPosition(TdxBarItemPosition Value)
{
  if (FPosition == Value)
    return;
  FPosition = Value;
  Changed(true);
}

void TdxBarItemLink::SetViewLevels(TdxBarItemViewLevels Value)
{
  Value *= dxBarAllItemViewLevels;  // ivlDefault is the control's choice, never the link's
  if (FViewLevels == Value)
    return;
  FViewLevels = Value;
  Changed(true);
}

void TdxBarItemLink::SetVisible(bool Value)
{
  TdxBarItemLinks* links = GetItemLinks();
  if (IsManagerLoading() || (links && links->FAssigning)) {
    FLoadedVisible = Value;
    return;
  }
  DoSetVisible(Value);
}

void TdxBarItemLink::DoSetVisible(bool Value)
{
  if (FVisible == Value)
    return;
  TdxBarItemLinks* links = GetItemLinks();
  FVisible = Value;
  if (links && !IsManagerDesigning()) {
    links->RebuildLists();
    if (FVisible) {
      BringToTopInRecentList(false);
      if (links->GetBarControl()) {
        CreateControl();
        if (FControl)
          FControl->VisibleChanged();
      }
    } else {
      MoveToRecentBottom();
      if (FControl) {
        FControl->VisibleChanged();
        DestroyControl();
      }
    }
  }
  Changed(false);
}

void TdxBarItemLink::SetMostRecentlyUsed(bool Value)
{
  if (FMostRecentlyUsed == Value)
    return;
  FMostRecentlyUsed = Value;
  ApplyMostRecentlyUsed();
  if (TdxBarItemLinks* links = GetItemLinks())
    links->RebuildBarControl();
  Changed(false);
}

void TdxBarItemLink::ApplyMostRecentlyUsed()
{
  if (FMostRecentlyUsed) {
    TdxBarManager* manager = GetBarManager();
    FUseCount = manager ? manager->GetRecentItemsCount() : 0;
    BringToTopInRecentList(false);
  } else {
    FUseCount = 0;
    MoveToRecentBottom();
  }
}

void TdxBarItemLink::SetItemRect(const TRect& Value)
{
  FItemRect = Value;
  if (FControl) {
    FControlPlaced = true;
    FControl->CalcDrawParams();
    FControl->CalcParts();
  }
}

// ---------------------------------------------------------------------------
// User-defined values

void TdxBarItemLink::SetUserCaption(const String& Value)
{
  if (FUserCaption == Value)
    return;
  FUserCaption = Value;
  if (!FUserDefine.Contains(udCaption))
    SetUserDefine(FUserDefine + udCaption);
  else if (FControl)
    FControl->CaptionChanged();  // the flag is set already: only the text changed
}

void TdxBarItemLink::SetUserGlyph(TBitmap* Value)
{
  if (Value == FUserGlyph.get())
    return;
  FUserGlyph->Assign(Value);
  if (!FUserDefine.Contains(udGlyph))
    SetUserDefine(FUserDefine + udGlyph);
  else if (FControl)
    FControl->GlyphChanged();
}

void TdxBarItemLink::SetUserPaintStyle(TdxBarPaintStyle Value)
{
  if (Value == GetPaintStyle())
    return;
  FUserPaintStyle = Value;
  if (!FUserDefine.Contains(udPaintStyle))
    SetUserDefine(FUserDefine + udPaintStyle);
  else if (FControl)
    FControl->PaintStyleChanged();
}

void TdxBarItemLink::SetUserWidth(int Value)
{
  if (Value < 0 || Value == GetWidth())
    return;
  FUserWidth = Value;
  if (!FUserDefine.Contains(udWidth))
    SetUserDefine(FUserDefine + udWidth);
  else if (FControl)
    FControl->WidthChanged();
}

void TdxBarItemLink::SetUserDefine(TdxBarUserDefines Value)
{
  if (FUserDefine == Value)
    return;
  for (TdxBarUserDefine flag : {udCaption, udGlyph, udPaintStyle, udWidth}) {
    bool had = FUserDefine.Contains(flag);
    bool has = Value.Contains(flag);
    if (had == has)
      continue;
    if (has) {
      FUserDefine.Include(flag);
    } else {
      FUserDefine.Exclude(flag);
      switch (flag) {
        case udCaption:
          FUserCaption.clear();
          break;
        case udGlyph: {
          // Clearing the glyph fires its change event; the control hears once, below.
          TNotifyEvent saved = FUserGlyph->OnChange;
          FUserGlyph->OnChange = nullptr;
          FUserGlyph->Assign(nullptr);
          FUserGlyph->OnChange = saved;
          break;
        }
        case udPaintStyle:
          FUserPaintStyle = psStandard;
          break;
        case udWidth:
          FUserWidth = 0;
          break;
      }
    }
    if (!FControl)
      continue;
    switch (flag) {
      case udCaption:
        FControl->CaptionChanged();
        break;
      case udGlyph:
        FControl->GlyphChanged();
        break;
      case udPaintStyle:
        FControl->PaintStyleChanged();
        break;
      case udWidth:
        FControl->WidthChanged();
        break;
    }
  }
  Changed(false);
}

void TdxBarItemLink::UserGlyphChanged(TObject*)
{
  InvalidateItemControl(FControl);
}

// ---------------------------------------------------------------------------
// Effective values

const String& TdxBarItemLink::GetCaption() const
{
  TdxBarItem* item = GetItem();
  return FUserDefine.Contains(udCaption) || !item ? FUserCaption : item->GetCaption();
}

TBitmap* TdxBarItemLink::GetGlyph() const
{
  TdxBarItem* item = GetItem();
  return FUserDefine.Contains(udGlyph) || !item ? FUserGlyph.get() : item->GetGlyph();
}

TdxBarPaintStyle TdxBarItemLink::GetPaintStyle() const
{
  TdxBarItem* item = GetItem();
  return FUserDefine.Contains(udPaintStyle) || !item ? FUserPaintStyle : item->GetPaintStyle();
}

int TdxBarItemLink::GetWidth() const
{
  if (FUserDefine.Contains(udWidth))
    return FUserWidth;
  // Only kinds whose width a link may change (edits) answer a non-zero width.
  TdxBarItem* item = GetItem();
  return item && item->IsWidthPerLink() ? item->GetWidth() : 0;
}

// ---------------------------------------------------------------------------
// Queries

int TdxBarItemLink::GetVisibleIndex() const
{
  TdxBarItemLinks* links = GetItemLinks();
  if (!links)
    return -1;
  const auto& list = links->GetVisibleItems();
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

int TdxBarItemLink::GetShownIndex() const
{
  TdxBarItemLinks* links = GetItemLinks();
  if (!links)
    return -1;
  const auto& list = links->GetShownItems();
  if (FShownStamp != links->FShownStamp) {
    // One pass numbers every shown link, so that asking each in turn stays linear.
    for (size_t i = 0; i < list.size(); ++i) {
      list[i]->FShownIndex = int(i);
      list[i]->FShownStamp = links->FShownStamp;
    }
    if (FShownStamp != links->FShownStamp) {
      FShownIndex = -1;
      FShownStamp = links->FShownStamp;
    }
  }
  return FShownIndex;
}

bool TdxBarItemLink::CanVisible() const
{
  return FItem && FItem->IsAvailable() && FVisible;
}

bool TdxBarItemLink::HasPaintStyle() const
{
  return FItem && FItem->HasPaintStyle();
}

bool TdxBarItemLink::IsAccel(uint16_t Key, TShiftState Shift) const
{
  wchar_t accel = GetAccelChar(GetCaption());
  if (!accel)
    return false;
  Shift *= TShiftState{ssShift, ssAlt, ssCtrl};  // mouse buttons play no part
  wchar_t lower = LowerChar(accel);
  if (lower != accel)
    Shift.Exclude(ssShift);  // an upper-case accelerator matches with or without Shift
  if (lower >= L'0' && lower <= L'9')
    return Key == uint16_t(lower) && Shift.Empty();
  // The key for the character comes from the keyboard layout, which speaks the ANSI code page.
  char ansi = 0;
  BOOL lossy = FALSE;
  if (WideCharToMultiByte(CP_ACP, 0, &lower, 1, &ansi, 1, nullptr, &lossy) != 1 || lossy)
    return false;
  int16_t scan = dxBarVkKeyScan(ansi);
  if (scan == -1)
    return false;
  // Alt takes no part: the search drops it, so a character typed with AltGr (Ctrl+Alt)
  // matches with Ctrl.
  TShiftState needed;
  if (scan & 0x100)
    needed.Include(ssShift);
  if (scan & 0x200)
    needed.Include(ssCtrl);
  return Key == uint16_t(scan & 0xFF) && Shift == needed;
}

// ---------------------------------------------------------------------------
// Recent use

int TdxBarItemLink::GetRecentIndex() const
{
  TdxBarItemLinks* links = GetItemLinks();
  if (!links)
    return -1;
  const auto& list = links->GetRecentItems();
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TdxBarItemLink::SetRecentIndex(int Value)
{
  TdxBarItemLinks* links = GetItemLinks();
  if (!links) {
    FSavedRecentIndex = Value;
    return;
  }
  links->MoveInRecent(this, Value);
  links->RebuildLists();
}

void TdxBarItemLink::SaveRecentIndex()
{
  FSavedRecentIndex = GetRecentIndex();
}

void TdxBarItemLink::ApplyRecentIndex()
{
  SetRecentIndex(FSavedRecentIndex);
}

void TdxBarItemLink::BringToTopInRecentList(bool IncUseCount)
{
  // The chain of parent links is finite in a sound menu tree; the guard keeps a cyclic one
  // (form data resolved past the recursion check) from running away.
  std::vector<TdxBarItemLink*> visited;  // filled only once the chain goes on
  for (TdxBarItemLink* link = this; link;) {
    if (!link->CanVisible())
      return;
    TdxBarItemLinks* links = link->GetItemLinks();
    if (!links)
      return;
    int shown = links->GetBarControl() ? link->GetShownIndex() : 0;
    if (links->CanUseRecentItems())
      links->MoveInRecent(link, 0);
    if (IncUseCount)
      ++link->FUseCount;
    if (shown < 0 && links->GetBarControl())
      links->RecalculateBarControl();
    TdxBarItemLink* parent = links->GetOwnerIntf() ? links->GetOwnerIntf()->GetParentRecentLink() : nullptr;
    TdxBarItemLink* next = parent ? parent->GetRealItemLink() : nullptr;
    if (next) {
      visited.push_back(link);
      if (std::find(visited.begin(), visited.end(), next) != visited.end())
        return;
    }
    link = next;
  }
}

void TdxBarItemLink::MoveToRecentBottom()
{
  TdxBarItemLinks* links = GetItemLinks();
  if (!links)
    return;
  // Only a window lays the links out again; without one the lists need not be read.
  bool shown = links->GetBarControl() && GetShownIndex() >= 0;
  links->MoveInRecent(this, int(links->GetRecentItems().size()) - 1);
  if (shown)
    links->RecalculateBarControl();
}

// ---------------------------------------------------------------------------
// The item control

void TdxBarItemLink::CreateControl()
{
  if (FControl || !FItem)
    return;
  TCustomdxBarControl* bar = GetBarControl();
  if (!bar || bar->IsDestroying())
    return;
  TClass controlClass = FItem->GetControlClass(bar->IsTextRotated());
  if (!controlClass)
    return;  // a kind the register does not know shows nothing
  TProfileScope phase(TProfilePhase::CreateControls);
  TObject* object = controlClass->Create(this);
  FControlPlaced = false;
  FControl = dynamic_cast<TdxBarItemControl*>(object);
  if (!FControl && object)
    object->Free();
}

void TdxBarItemLink::DestroyControl()
{
  TdxBarItemControl* control = FControl;
  FControl = nullptr;
  if (control)
    control->Free();
}

void TdxBarItemLink::RecreateControl()
{
  TdxBarManager* manager = GetBarManager();
  if (manager && manager->IsUpdateLocked())
    return;
  DestroyControl();
  CreateControl();
}

void TdxBarItemLink::UpdateControl()
{
  if (FControl)
    FControl->Update();
}

TPoint TdxBarItemLink::ScreenToLinkPoint(const TPoint& P) const
{
  TCustomdxBarControl* bar = GetBarControl();
  TPoint client = bar ? bar->ScreenToClient(P) : P;
  return Point(client.x - FItemRect.left, client.y - FItemRect.top);
}

// ---------------------------------------------------------------------------
// Customising

void TdxBarItemLink::HandOverBeginGroup()
{
  TdxBarItemLinks* links = GetItemLinks();
  if (!links)
    return;
  int visibleIndex = GetVisibleIndex();
  if (visibleIndex < 0 || visibleIndex >= links->VisibleItemCount() - 1)
    return;
  TdxBarItemLink* next = links->VisibleItems(visibleIndex + 1);
  if (visibleIndex == 0) {
    // What follows becomes the first link, which never begins a group.
    if (next->FBeginGroup)
      next->SetBeginGroup(false);
    return;
  }
  // The mark moves on only when it would otherwise be lost; the next link's own mark stays.
  if (FBeginGroup && !next->FBeginGroup)
    next->SetBeginGroup(true);
}

void TdxBarItemLink::ApplyCustomizingCommand(int ACommand, TdxBarItemLink* ASource)
{
  if (!ASource || ASource == this)
    return;
  switch (ACommand) {
    case 0:
      SetUserDefine({});
      break;
    case 4:
      if (FItem)
        FItem->SetCaption(ASource->GetCaption());
      break;
    case 5:
      SetUserPaintStyle(ASource->GetUserPaintStyle());
      break;
    case 6:
      SetPosition(ASource->GetPosition());
      break;
    case 7:
      SetViewLevels(ASource->GetViewLevels());
      break;
    case 8:
      SetButtonGroup(ASource->GetButtonGroup());
      break;
    case 9:
      SetBeginGroup(ASource->GetStoredBeginGroup());
      break;
    case 10:
      SetVisible(ASource->GetVisible());
      break;
    case 11:
      SetMostRecentlyUsed(ASource->GetMostRecentlyUsed());
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------
// Assignment and form data

void TdxBarItemLink::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TdxBarItemLink*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  if (source == this)
    return;
  // The item is settled first: a refused one leaves the link untouched.
  TdxBarItem* sourceItem = source->GetItem();
  TdxBarItem* item = sourceItem;
  TdxBarManager* manager = GetBarManager();
  TdxBarItemLinks* links = GetItemLinks();
  if (dxBarIsResetting())
    item = sourceItem ? FindItemIn(manager ? manager->GetParentControl() : nullptr, sourceItem->Name()) : nullptr;
  else if (IsUpdatingFromAncestor(manager) || (links && IsUpdatingFromAncestor(links->GetLinksOwner())))
    item = sourceItem ? dxBarFindManagerItem(manager, sourceItem->Name()) : nullptr;
  String error;
  if (item && item != FItem && links && !links->CanAddItem(item, error))
    throw Exception(error);

  FData = source->FData;
  // The user values without their flags first; UserDefine below decides which count.
  FUserCaption = source->FUserCaption;
  FUserGlyph->Assign(source->FUserGlyph.get());
  FUserPaintStyle = source->FUserPaintStyle;
  FUserWidth = source->FUserWidth;
  if (item != FItem) {
    TUpdateLock<TCollection> update(links);
    ChangeItem(item);
  }

  TdxBarUserDefines userDefine = source->FUserDefine;
  FUserDefine = userDefine;
  if (FControl) {
    FControl->CaptionChanged();
    FControl->GlyphChanged();
    FControl->PaintStyleChanged();
    FControl->WidthChanged();
  }
  SetBeginGroup(source->FBeginGroup);
  SetButtonGroup(source->FButtonGroup);
  SetPosition(source->FPosition);
  SetViewLevels(source->FViewLevels);
  SetVisible(source->FVisible);
  FMergedFromBar = dxBarGetMergingBar();
  Changed(false);
}

bool TdxBarItemLink::IsItemNameStored(TPersistent* AAncestor) const
{
  auto* ancestor = dynamic_cast<TdxBarItemLink*>(AAncestor);
  if (!AAncestor)
    return true;
  if (!ancestor || ancestor->ClassType() != ClassType())
    return true;
  TdxBarItem* item = GetItem();
  TdxBarItem* ancestorItem = ancestor->GetItem();
  if (!item && !ancestorItem)
    return false;
  if (!item || !ancestorItem)
    return true;
  return item != ancestorItem && !SameText(item->Name(), ancestorItem->Name());
}

void TdxBarItemLink::DefineProperties(TFiler* Filer)
{
  TCollectionItem::DefineProperties(Filer);
  Filer->DefineProperty(
      L"ItemName", [this](TReader* Reader) { ReadItemName(Reader); },
      [this](TWriter* Writer) { WriteItemName(Writer); }, IsItemNameStored(Filer->Ancestor()));
}

void TdxBarItemLink::ReadItemName(TReader* Reader)
{
  FItemName = Reader->ReadString();
}

void TdxBarItemLink::WriteItemName(TWriter* Writer)
{
  TdxBarItem* item = GetItem();
  Writer->WriteString(item ? item->Name() : String());
}
