// The bar item: construction and destruction, links, properties, the category move,
// actions and streaming.
#include "bars/model/items.h"

#include <algorithm>

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/registry.h"
#include "platform/Canvas.h"
#include "platform/Filer.h"

PUBLISHED(TdxBarItem, TdxBarComponent)
{
  using I = TdxBarItem;
  p.Component(L"Action", &I::GetAction, &I::SetAction);
  p.Prop(L"Align", &I::GetAlign, &I::SetAlign).Default(iaLeft);
  p.Prop(L"Caption", &I::GetCaption, &I::SetCaption).Stored(&I::IsCaptionStored);
  p.Prop(L"Category", &I::GetCategory, &I::SetCategory).NoDefault();
  p.Prop(L"Description", &I::GetDescription, &I::SetDescription);
  p.Prop(L"Enabled", &I::GetEnabledValue, &I::SetEnabled).Default(true).Stored(&I::IsEnabledStored);
  p.Prop(L"HelpContext", &I::GetHelpContext, &I::SetHelpContext).Default(0).Stored(&I::IsHelpContextStored);
  p.Prop(L"Hint", &I::GetHint, &I::SetHint).Stored(&I::IsHintStored);
  p.Prop(L"KeyTip", &I::GetKeyTip, &I::SetKeyTip);
  p.Prop(L"MergeKind", &I::GetMergeKind, &I::SetMergeKind).Default(mkAdd);
  p.Prop(L"MergeOrder", &I::GetMergeOrder, &I::SetMergeOrder).Default(0);
  p.Component(L"Style", &I::GetStyle, &I::SetStyle);
  p.Component(L"ScreenTip", &I::GetScreenTip, &I::SetScreenTip);
  p.Prop(L"Visible", &I::GetVisible, &I::SetVisible).NoDefault().Stored(&I::IsVisibleStored);
  p.Event(L"OnDestroy", &I::OnDestroy);
}

String dxBarStripCaption(const String& ACaption)
{
  String result = ACaption;
  if (size_t amp = result.find(L'&'); amp != String::npos)
    result.erase(amp, 1);
  if (size_t dots = result.find(L"..."); dots != String::npos)
    result.erase(dots, 3);
  return result;
}

void dxBarMakeInternalItem(TdxBarItem* AItem)
{
  TdxBarManager* manager = AItem ? AItem->GetBarManager() : nullptr;
  if (!manager)
    return;
  if (TdxBarComponentList* list = manager->GetItemList())
    list->Remove(AItem);
  AItem->SetCategoryIndex(-1);
}

// ---------------------------------------------------------------------------
// Construction and destruction

TdxBarItem::TdxBarItem(TComponent* AOwner) : TdxBarComponent(AOwner)
{
  // Actions, screen tips and drop-down menus are all watched through free notification.
  IgnoreSiblingRemovals();
  // Only the manager of the item's own form: a manager of another form could go first
  // and leave the item with a dangling manager.
  if (TdxBarManager* manager = GetBarManagerByOwner(AOwner))
    AttachToManager(manager);
  // Made before the kind's constructor runs, so with every slot a kind may use (an edit's
  // StyleEdit is slot 1); GetStylesCount says how many the kind uses.
  FStylesData = std::make_unique<TdxBarItemStylesData>(this, dxBarItemStyleSlotCount);
  FStylesData->OnChange = TdxBarItemStylesChangeEvent(this, &TdxBarItem::StylesChanged);
  FGlyph = std::make_unique<TBitmap>();
  FGlyph->OnChange = TNotifyEvent(this, &TdxBarItem::GlyphBitmapChanged);
  FLargeGlyph = std::make_unique<TBitmap>();
  FLargeGlyph->OnChange = TNotifyEvent(this, &TdxBarItem::LargeGlyphBitmapChanged);
}

TdxBarItem::~TdxBarItem()
{
  // Deleted without Free: the links still have to go.
  FreeLinks();
  FStylesData.reset();
  FActionLink.reset();
  if (FScreenTip)
    FScreenTip->RemoveFreeNotification(this);
  FGlyph.reset();
  FLargeGlyph.reset();
}

void TdxBarItem::BeforeDestruction()
{
  Destroying();
  try {
    CallEvent(OnDestroy, this);
  } catch (...) {
    // The item goes anyway; the handler's failure must not keep it half alive.
    HandleUnexpectedException(this);
  }
  FreeLinks();
  TdxBarComponent::BeforeDestruction();
}

void TdxBarItem::FreeLinks()
{
  if (FLinks.Count() == 0)
    return;
  TdxBarManager* manager = GetBarManager();
  bool lock = false;
  if (manager && !manager->IsDestroying())
    for (int i = 0; i < FLinks.Count() && !lock; ++i) {
      TdxBarItemLinks* links = GetLink(i)->GetItemLinks();
      TCustomdxBarControl* bar = links ? links->GetBarControl() : nullptr;
      lock = bar && bar->GetKind() == bckToolbar && bar->GetVisible();
    }
  // The bars rebuild once, at the end of the update, rather than once per link.
  TdxBarManagerUpdate update(lock ? manager : nullptr);
  while (FLinks.Count() > 0) {
    auto* link = static_cast<TdxBarItemLink*>(FLinks.Last());
    link->Free();
    // A link leaves the list itself; one that did not must not stop the loop.
    FLinks.Remove(link);
  }
}

void TdxBarItem::AttachToManager(TdxBarManager* AManager)
{
  TdxBarManager* old = GetBarManager();
  if (old == AManager)
    return;
  if (old && old->GetItemList())
    old->GetItemList()->Remove(this);
  SetBarManager(AManager);
  if (AManager && AManager->GetItemList() && AManager->GetItemList()->IndexOf(this) < 0)
    AManager->GetItemList()->Add(this);
}

// ---------------------------------------------------------------------------
// Component overrides

void TdxBarItem::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TdxBarItem*>(Source);
  if (!source) {
    TdxBarComponent::Assign(Source);
    return;
  }
  SetAction(source->GetAction());
  SetAlign(source->GetAlign());
  SetCaption(source->GetCaption());
  SetCategory(source->GetCategory());
  SetDescription(source->GetDescription());
  SetEnabled(source->GetEnabledValue());
  SetHelpContext(source->GetHelpContext());
  SetHint(source->GetHint());
  SetKeyTip(source->GetKeyTip());
  SetMergeKind(source->GetMergeKind());
  SetMergeOrder(source->GetMergeOrder());
  SetStyle(source->GetStyle());
  SetScreenTip(source->GetScreenTip());
  SetVisible(source->GetVisible());
  SetGlyph(source->GetGlyph());
  SetImageIndex(source->GetImageIndex());
  SetLargeGlyph(source->GetLargeGlyph());
  SetLargeImageIndex(source->GetLargeImageIndex());
  SetShortCut(source->GetShortCut());
  SetOnClick(source->GetOnClick());
}

void TdxBarItem::AssignTo(TPersistent* Dest)
{
  auto* action = dynamic_cast<TCustomAction*>(Dest);
  if (!action) {
    TdxBarComponent::AssignTo(Dest);
    return;
  }
  action->SetCaption(FCaption);
  if (HasActionChecked())
    action->SetChecked(GetActionChecked());
  action->SetEnabled(FEnabled);
  action->SetHelpContext(FHelpContext);
  action->SetHint(FHint);
  action->SetImageIndex(FImageIndex);
  action->SetShortCut(FShortCut);
  if (FVisible != ivInCustomizing)
    action->SetVisible(FVisible == ivAlways);
  action->SetOnExecute(FOnClick);
}

void TdxBarItem::Loaded()
{
  TdxBarComponent::Loaded();
  ApplyLoadedVisible();
  if (TBasicAction* action = GetAction())
    UpdateFromAction(action, true);
  CallEvent(OnLoadedNotify, this);
}

void TdxBarItem::ApplyLoadedVisible()
{
  if (!FHasLoadedVisible)
    return;
  FHasLoadedVisible = false;
  TdxBarItemVisible value = FLoadedVisible;
  FLoadedVisible = ivAlways;
  if (value == FVisible)
    return;
  FVisible = value;
  if (!IsLoading())
    VisibleChanged();
}

void TdxBarItem::Notification(TComponent* AComponent, TOperation Operation)
{
  TdxBarComponent::Notification(AComponent, Operation);
  if (Operation != opRemove)
    return;
  if (AComponent && AComponent == GetAction())
    SetAction(nullptr);
  if (AComponent && AComponent == FScreenTip)
    FScreenTip = nullptr;
}

void TdxBarItem::ReadState(TReader* Reader)
{
  TdxBarComponent::ReadState(Reader);
  if (auto* manager = dynamic_cast<TdxBarManager*>(Reader->Root())) {
    AttachToManager(manager);
    BarManagerChanged();
  }
}

void TdxBarItem::SetName(const String& NewName)
{
  TdxBarComponent::SetName(NewName);
  if (!(IsDesigning() && NewName.empty()))
    Changed();
}

TComponent* TdxBarItem::GetParentComponent() const
{
  return GetBarManager();
}

void TdxBarItem::SetParentComponent(TComponent* Value)
{
  auto* manager = dynamic_cast<TdxBarManager*>(Value);
  if (!manager || IsLoading() || manager == GetBarManager())
    return;
  AttachToManager(manager);
  BarManagerChanged();
}

// ---------------------------------------------------------------------------
// Bar component overrides

bool TdxBarItem::GetEnabled() const
{
  TdxBarManager* manager = GetBarManager();
  if (manager && !IsDesigning() && !manager->IsDesigning() && manager->IsCustomizing() && FCategory != -1)
    return true;
  return FEnabled;
}

void TdxBarItem::SetEnabled(bool Value)
{
  if (FEnabled == Value)
    return;
  FEnabled = Value;
  if (!IsLoading())
    EnabledChanged();
}

void TdxBarItem::SetVisible(TdxBarItemVisible Value)
{
  if (Value < ivNever || Value > ivAlways)
    return;
  if (IsLoading()) {
    FLoadedVisible = Value;
    FHasLoadedVisible = true;
    return;
  }
  if (FVisible == Value)
    return;
  FVisible = Value;
  VisibleChanged();
}

TdxBarItemVisible TdxBarItem::GetEffectiveVisible() const
{
  return IsLoading() && FHasLoadedVisible ? FLoadedVisible : FVisible;
}

bool TdxBarItem::CanDelete(bool Force)
{
  if (GetLinkCount() > 0 && !Force)
    return true;
  return TdxBarComponent::CanDelete(Force);
}

void TdxBarItem::Delete(bool Force)
{
  if (!Force && GetLinkCount() > 0)
    FreeLinks();
  else
    TdxBarComponent::Delete(Force);
}

bool TdxBarItem::IsAvailable() const
{
  TdxBarManager* manager = GetBarManager();
  bool customizing = manager && manager->IsCustomizing();
  return (FVisible == ivAlways && (CanBeVisible() || customizing)) || (FVisible == ivInCustomizing && customizing);
}

// ---------------------------------------------------------------------------
// Links and the register position

void TdxBarItem::AddLink(TdxBarItemLink* ALink)
{
  if (ALink && FLinks.IndexOf(ALink) < 0)
    FLinks.Add(ALink);
}

void TdxBarItem::RemoveLink(TdxBarItemLink* ALink)
{
  FLinks.Remove(ALink);
}

TdxBarItemLink* TdxBarItem::GetLink(int Index) const
{
  return Index >= 0 && Index < FLinks.Count() ? static_cast<TdxBarItemLink*>(FLinks.Items(Index)) : nullptr;
}

TdxBarItemLink* TdxBarItem::GetSelectedLink() const
{
  for (int i = 0; i < FLinks.Count(); ++i) {
    TdxBarItemLink* link = GetLink(i);
    if (link->GetControl() && link->GetControl()->IsSelected())
      return link;
  }
  return nullptr;
}

int TdxBarItem::GetIndex() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->GetItemList() ? manager->GetItemList()->IndexOf(const_cast<TdxBarItem*>(this)) : -1;
}

void TdxBarItem::SetIndex(int Value)
{
  int current = GetIndex();
  if (current < 0)
    return;
  TdxBarComponentList* list = GetBarManager()->GetItemList();
  Value = std::clamp(Value, 0, list->Count() - 1);
  if (Value != current)
    list->Move(current, Value);
}

// ---------------------------------------------------------------------------
// Properties

TBasicAction* TdxBarItem::GetAction() const
{
  return FActionLink ? FActionLink->Action() : nullptr;
}

void TdxBarItem::SetAction(TBasicAction* Value)
{
  TBasicAction* old = GetAction();
  if (Value == old)
    return;
  if (old)
    old->RemoveFreeNotification(this);
  if (!Value) {
    FActionLink.reset();
    return;
  }
  bool actionLoading = Value->ComponentState().Contains(csLoading);
  TdxBarManager* manager = GetBarManager();
  if (actionLoading && manager)
    manager->LockDesignerModified(true);
  TFinally unlock([manager = actionLoading ? manager : nullptr] {
    if (manager)
      manager->LockDesignerModified(false);
  });
  if (!FActionLink)
    FActionLink = std::make_unique<TdxBarItemActionLink>(this);
  FActionLink->SetAction(Value);
  FActionLink->OnChange = TNotifyEvent(this, &TdxBarItem::ActionChanged);
  UpdateFromAction(Value, actionLoading);
  Value->FreeNotification(this);
}

void TdxBarItem::ActionChanged(TObject* Sender)
{
  if (Sender && Sender == GetAction())
    UpdateFromAction(GetAction(), false);
}

void TdxBarItem::UpdateFromAction(TBasicAction* AAction, bool CheckDefaults)
{
  auto* action = dynamic_cast<TCustomAction*>(AAction);
  if (!action)
    return;
  if (!CheckDefaults || FCaption.empty()) {
    // Only a value taken as a default keeps the hint where it is.
    TRestore updating(FActionUpdating, CheckDefaults);
    SetCaption(action->Caption());
  }
  if (HasActionChecked() && (!CheckDefaults || !GetActionChecked()))
    SetActionChecked(action->Checked());
  if (!CheckDefaults || FEnabled)
    SetEnabled(action->Enabled());
  if (!CheckDefaults || FHelpContext == 0)
    SetHelpContext(action->HelpContext());
  if (!CheckDefaults || FHint.empty())
    SetHint(action->Hint());
  if (!CheckDefaults || GetActionImageIndex() == -1)
    SetActionImageIndex(action->ImageIndex());
  if (!CheckDefaults || FShortCut == 0)
    SetShortCut(action->ShortCut());
  if (!CheckDefaults || GetEffectiveVisible() == ivAlways)
    SetVisible(action->Visible() ? ivAlways : ivNever);
  if (!CheckDefaults || !FOnClick.Assigned())
    SetOnClick(action->OnExecute());
}

void TdxBarItem::UpdateActionLink()
{
  if (FActionLink)
    FActionLink->Update();
}

void TdxBarItem::SetAlign(TdxBarItemAlign Value)
{
  if (FAlign == Value || Value < iaLeft || Value > iaClient)
    return;
  FAlign = Value;
  if (!IsLoading())
    RebuildBars(dxBarAllControlKinds);
}

bool TdxBarItem::IsHintDerivedFromCaption() const
{
  return FHint.empty() || GetShortHint(FHint) == dxBarStripCaption(FCaption);
}

void TdxBarItem::SetCaption(const String& Value)
{
  if (FCaption == Value)
    return;
  // The hint follows the caption while it is empty or its short part is what the old
  // caption made of it; its long part stays.
  const bool hintFollows = !IsLoading() && !FActionUpdating && DoesHintFollowCaption() &&
                           (FHint.empty() || GetShortHint(FHint) == dxBarStripCaption(FCaption));
  FCaption = Value;
  if (IsLoading())
    return;
  if (hintFollows) {
    const size_t bar = FHint.find(L'|');
    String text = dxBarStripCaption(Value);
    FHint = bar == String::npos ? std::move(text) : text + FHint.substr(bar);
  }
  CaptionChanged();
}

bool TdxBarItem::IsCaptionStored() const
{
  return !FActionLink || !FActionLink->IsCaptionLinked();
}

void TdxBarItem::SetCategory(int Value)
{
  if (FCategory == Value)
    return;
  TdxBarManager* manager = GetBarManager();
  if (IsLoading() || !manager) {
    if (Value >= -1)
      FCategory = Value;
    return;
  }
  if (Value < 0 || Value >= manager->GetCategories()->Count())
    return;
  TdxBarComponentList* list = manager->GetItemList();
  int current = list->IndexOf(this);
  int last = -1;
  for (int i = 0; i < list->Count(); ++i) {
    TdxBarComponent* item = list->GetBarComponent(i);
    if (item != this && item->GetCategoryIndex() == Value)
      last = i;
  }
  // The item goes right behind the category's last item. The target is counted after
  // the item has left its place: behind it, every later index moves down by one.
  if (last >= 0 && current >= 0) {
    int target = last + 1;
    if (current < target)
      --target;
    if (target != current)
      list->Move(current, target);
  }
  FCategory = Value;
  Changed(true);
}

void TdxBarItem::SetDescription(const String& Value)
{
  if (FDescription == Value)
    return;
  FDescription = Value;
  if (!IsLoading())
    Changed();
}

void TdxBarItem::SetGlyph(TBitmap* Value)
{
  FGlyph->Assign(Value);
}

void TdxBarItem::SetLargeGlyph(TBitmap* Value)
{
  FLargeGlyph->Assign(Value);
}

void TdxBarItem::GlyphBitmapChanged(TObject* Sender)
{
  GlyphChanged();
}

void TdxBarItem::LargeGlyphBitmapChanged(TObject* Sender)
{
  LargeGlyphChanged();
}

void TdxBarItem::SetGlyphLayout(TdxBarGlyphLayout Value)
{
  if (FGlyphLayout == Value || Value < glLeft || Value > glBottom)
    return;
  FGlyphLayout = Value;
  if (!IsLoading())
    RebuildBars(dxBarAllControlKinds);
}

void TdxBarItem::SetHelpContext(THelpContext Value)
{
  FHelpContext = Value;
}

void TdxBarItem::SetHint(const String& Value)
{
  if (FHint == Value)
    return;
  FHint = Value;
  Changed();
}

void TdxBarItem::SetImageIndex(int Value)
{
  if (FImageIndex == Value)
    return;
  FImageIndex = Value;
  GlyphChanged();
}

void TdxBarItem::SetLargeImageIndex(int Value)
{
  if (FLargeImageIndex == Value)
    return;
  FLargeImageIndex = Value;
  LargeGlyphChanged();
}

void TdxBarItem::SetPaintStyle(TdxBarPaintStyle Value)
{
  if (FPaintStyle == Value || Value < psStandard || Value > psCaptionGlyph)
    return;
  FPaintStyle = Value;
  if (!IsLoading())
    PaintStyleChanged();
}

void TdxBarItem::SetScreenTip(TComponent* Value)
{
  if (FScreenTip == Value)
    return;
  if (FScreenTip)
    FScreenTip->RemoveFreeNotification(this);
  FScreenTip = Value;
  if (FScreenTip)
    FScreenTip->FreeNotification(this);
  Changed();
}

void TdxBarItem::SetShortCut(TShortCut Value)
{
  if (FShortCut == Value)
    return;
  FShortCut = Value;
  if (!IsLoading())
    ShortCutChanged();
}

void TdxBarItem::SetShowCaption(bool Value)
{
  if (FShowCaption == Value)
    return;
  FShowCaption = Value;
  if (!IsLoading())
    RebuildBars(dxBarAllControlKinds);
}

void TdxBarItem::SetWidth(int Value)
{
  if (Value < 0 || FWidth == Value)
    return;
  FWidth = Value;
  if (!IsLoading())
    WidthChanged();
}

TcxStyle* TdxBarItem::GetStyle() const
{
  return FStylesData ? FStylesData->GetStyle(0) : nullptr;
}

void TdxBarItem::SetStyle(TcxStyle* Value)
{
  if (FStylesData)
    FStylesData->SetStyle(0, Value);
}

TdxBarItemStyleValues TdxBarItem::GetStyleValues(int ASlot) const
{
  TdxBarItemStyleValues values;
  TcxStyle* style = FStylesData ? FStylesData->GetStyle(ASlot) : nullptr;
  if (!style)
    return values;
  TcxStyleValues assigned = style->GetAssignedValues();
  if (assigned.Contains(svBitmap))
    values.Bitmap = style->GetBitmap();
  if (assigned.Contains(svColor))
    values.Color = style->GetColor();
  if (assigned.Contains(svFont))
    values.Font = style->GetFont();
  if (assigned.Contains(svTextColor))
    values.TextColor = style->GetTextColor();
  return values;
}

TCustomImageList* TdxBarItem::GetImages() const
{
  TdxBarManager* manager = GetBarManager();
  return manager ? manager->GetImages() : nullptr;
}

void TdxBarItem::DrawCustomizingImageBackground(TCanvas* ACanvas, const TRect& R, bool) const
{
  if (ACanvas)
    ACanvas->FillRect(R);
}

bool TdxBarItem::IsEnabledStored() const
{
  return !FActionLink || !FActionLink->IsEnabledLinked();
}

bool TdxBarItem::IsHelpContextStored() const
{
  return !FActionLink || !FActionLink->IsHelpContextLinked();
}

bool TdxBarItem::IsHintStored() const
{
  return !FActionLink || !FActionLink->IsHintLinked();
}

bool TdxBarItem::IsImageIndexStored() const
{
  return !FActionLink || !FActionLink->IsImageIndexLinked();
}

bool TdxBarItem::IsShortCutStored() const
{
  return !FActionLink || !FActionLink->IsShortCutLinked();
}

bool TdxBarItem::IsVisibleStored() const
{
  return !FActionLink || !FActionLink->IsVisibleLinked();
}

bool TdxBarItem::IsOnClickStored() const
{
  return !FActionLink || !FActionLink->IsOnExecuteLinked();
}

bool TdxBarItem::CanBePlacedOn(TdxBarItemLinks* AItemLinks, String& Error)
{
  Error.clear();
  return true;
}

TClass TdxBarItem::GetControlClass(bool ARotated) const
{
  return GetRegisteredControlClass(ClassType());
}

TdxBarItemLink* TdxBarItem::GetClickItemLink() const
{
  return FClickItemLink.Get();
}

void TdxBarItem::SetClickItemLink(TdxBarItemLink* Value)
{
  FClickItemLink = Value;
}
