// The bar: construction and destruction, its stored properties and their rules, Assign,
// fonts, and its part of the form data. Placing and positioning its window live in
// bars/barwindows/bar_window.cpp, merging in bars/model/bar_merge.cpp.
#include "bars/model/bar.h"

#include "bars/model/items.h"
#include "bars/utils/utils.h"
#include "platform/Forms.h"
#include "platform/Messages.h"

DEFINE_ENUM_INFO(TdxBarBorderStyle, L"bbsNone", L"bbsSingle")

PUBLISHED(TdxBar, TcxComponentCollectionItem)
{
  using B = TdxBar;
  p.Prop(L"AllowClose", &B::GetAllowClose, &B::SetAllowClose).Default(true);
  p.Prop(L"AllowCustomizing", &B::GetAllowCustomizing, &B::SetAllowCustomizing).Default(true);
  p.Prop(L"AllowQuickCustomizing", &B::GetAllowQuickCustomizing, &B::SetAllowQuickCustomizing).Default(true);
  p.Prop(L"AllowReset", &B::GetAllowReset, &B::SetAllowReset).Default(true);
  p.Prop(L"AlphaBlendValue", &B::GetAlphaBlendValue, &B::SetAlphaBlendValue).Default(255);
  p.Object(L"BackgroundBitmap", &B::GetBackgroundBitmap, &B::SetBackgroundBitmap);
  p.Prop(L"BorderStyle", &B::GetBorderStyle, &B::SetBorderStyle).Default(bbsSingle);
  p.Prop(L"Caption", &B::GetCaption, &B::SetCaption);
  p.Object(L"CaptionButtons", &B::GetCaptionButtons, &B::SetCaptionButtons);
  p.Prop(L"Color", &B::GetColor, &B::SetColor).Default(clDefault);
  p.Component(L"DockControl", &B::GetDockControl, &B::SetDockControl);
  p.Component(L"DockedDockControl", &B::GetDockedDockControl, &B::SetDockedDockControl);
  p.Prop(L"DockedDockingStyle", &B::GetDockedDockingStyle, &B::SetDockedDockingStyle)
      .NoDefault()
      .Stored(&B::IsStoreDockedDockingStyle);
  p.Prop(L"DockedLeft", &B::GetDockedLeft, &B::SetDockedLeft).NoDefault();
  p.Prop(L"DockedTop", &B::GetDockedTop, &B::SetDockedTop).NoDefault();
  p.Prop(L"DockingStyle", &B::GetDockingStyle, &B::SetDockingStyle).NoDefault().Stored(&B::IsStoreDockingStyle);
  p.Prop(L"FloatLeft", &B::GetFloatLeft, &B::SetFloatLeft).NoDefault();
  p.Prop(L"FloatTop", &B::GetFloatTop, &B::SetFloatTop).NoDefault();
  p.Prop(L"FloatClientWidth", &B::GetFloatClientWidth, &B::SetFloatClientWidth).NoDefault();
  p.Prop(L"FloatClientHeight", &B::GetFloatClientHeight, &B::SetFloatClientHeight).NoDefault();
  p.Object(L"Font", &B::GetFont, &B::SetFont).Stored(&B::IsStoreFont);
  p.Object(L"Glyph", &B::GetGlyph, &B::SetGlyph);
  p.Prop(L"Hidden", &B::GetHidden, &B::SetHidden).Default(false);
  p.Prop(L"IsMainMenu", &B::GetIsMainMenu, &B::SetIsMainMenu).Default(false);
  p.Object(L"ItemLinks", &B::GetItemLinks, &B::SetItemLinks);
  p.Prop(L"KeyTip", &B::GetKeyTip, &B::SetKeyTip);
  p.Prop(L"MultiLine", &B::GetMultiLine, &B::SetMultiLine).Default(false);
  p.Prop(L"NotDocking", &B::GetNotDocking, &B::SetNotDocking).Default(TdxBarDockingStyles());
  p.Prop(L"OldName", &B::GetOldName, &B::SetOldName);
  p.Prop(L"OneOnRow", &B::GetOneOnRow, &B::SetOneOnRow).NoDefault();
  p.Prop(L"RotateWhenVertical", &B::GetRotateWhenVertical, &B::SetRotateWhenVertical).Default(true);
  p.Prop(L"Row", &B::GetRow, &B::SetRow).NoDefault();
  p.Prop(L"ShowMark", &B::GetShowMark, &B::SetShowMark).Default(true);
  p.Prop(L"SizeGrip", &B::GetSizeGrip, &B::SetSizeGrip).Default(true);
  p.Prop(L"UseOwnFont", &B::GetUseOwnFont, &B::SetUseOwnFont).NoDefault();
  p.Prop(L"UseRecentItems", &B::GetUseRecentItems, &B::SetUseRecentItems).Default(true);
  p.Prop(L"UseRestSpace", &B::GetUseRestSpace, &B::SetUseRestSpace).Default(false);
  p.Prop(L"Visible", &B::GetVisible, &B::SetVisible).NoDefault();
  p.Prop(L"WholeRow", &B::GetWholeRow, &B::SetWholeRow).NoDefault();
}

// ---------------------------------------------------------------------------
// Construction and destruction

TdxBar::TdxBar(TComponent* AOwner) : TcxComponentCollectionItem(AOwner)
{
  IgnoreSiblingRemovals();  // a bar refers to no sibling that could go without telling it
  FBackgroundBitmap = std::make_unique<TBitmap>();
  FBackgroundBitmap->OnChange = TNotifyEvent(this, &TdxBar::BackgroundBitmapChanged);
  FOwnFont = std::make_unique<TdxBarOwnFont>([this] { UpdateControlFont(); });
  FGlyph = std::make_unique<TBitmap>();
  FCaptionButtons = std::make_unique<TdxBarCaptionButtons>(this);
  FCaptionButtons->OnChanged = TdxBarCaptionButtonsChangedEvent(this, &TdxBar::CaptionButtonsChanged);
}

// The destruction order matters: the window goes before the caption buttons it draws, and
// an unmerge started here must not free this bar a second time.
void TdxBar::BeforeDestruction()
{
  FDestroyingSelf = true;
  CallEvent(OnDestroyNotify, this);
  TdxBarManager* manager = GetBarManager();
  if (manager && !manager->IsDestroying())
    CallEvent(manager->OnBarDelete, manager, this);
  // Hidden first: the window must not paint caption buttons that are already gone.
  if (FVisible && FItemLinks && !(manager && manager->IsDestroying()))
    SetVisible(false);
  else if (FItemLinks)
    FItemLinks->DestroyBarControl();
  FVisible = false;
  if (TdxBar* host = FMergeData.MergedWith.Get())
    host->Unmerge(this, false);
  if (!FMergeData.MergedBars.empty())
    Unmerge(nullptr, true);
  LeaveDockRow();
  std::vector<TWeakRef<TComponent>> listeners;
  listeners.swap(FListeners);
  for (const TWeakRef<TComponent>& listener : listeners)
    if (auto* item = dynamic_cast<TdxBarItem*>(listener.Get()))
      item->BarNotification(dxBarNotificationDestroying);
  if (manager)
    manager->BarDestroying(this);
  TcxComponentCollectionItem::BeforeDestruction();
}

TdxBar::~TdxBar()
{
  if (!ComponentState().Contains(csDestroying)) {
    // A plain delete: still leave the window, the row and the manager behind cleanly.
    FDestroyingSelf = true;
    if (FItemLinks)
      FItemLinks->DestroyBarControl();
    LeaveDockRow();
    if (TdxBarManager* manager = GetBarManager())
      manager->BarDestroying(this);
  }
  FCaptionButtons.reset();
  FItemLinks.reset();
  FGlyph.reset();
  FOwnFont.reset();
  FBackgroundBitmap.reset();
}

void TdxBar::SetCollection(TcxComponentCollection* Value)
{
  TcxComponentCollectionItem::SetCollection(Value);
  if (auto* bars = dynamic_cast<TdxBars*>(Value))
    AttachToManager(bars->GetBarManager());
}

void TdxBar::AttachToManager(TdxBarManager* AManager)
{
  if (!AManager || FBarManager.Get() == AManager)
    return;
  FBarManager = AManager;
  if (!FItemLinks)
    FItemLinks = std::make_unique<TdxBarControlItemLinks>(AManager, this);
  FOwnFont->AssignQuietly(AManager->GetFont());
  if (!AManager->IsLoading()) {
    CallEvent(AManager->OnBarAdd, AManager, this);
    Changed(false);
  }
}

TcxComponentCollection* TdxBar::GetCollectionFromParent(TComponent* AParent)
{
  auto* manager = dynamic_cast<TdxBarManager*>(AParent);
  return manager ? manager->GetBars() : nullptr;
}

TdxBarManager* TdxBar::GetBarManager() const
{
  return FBarManager.Get();
}

void TdxBar::SetName(const String& NewName)
{
  if (FOldNameMode)
    FOldName = NewName;
  else
    TcxComponentCollectionItem::SetName(NewName);
}

void TdxBar::Loaded()
{
  TcxComponentCollectionItem::Loaded();
}

bool TdxBar::IsManagerLoading() const
{
  TdxBarManager* manager = GetBarManager();
  return !manager || manager->IsLoading();
}

bool TdxBar::IsManagerDestroying() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsDestroying();
}

bool TdxBar::IsLoadingAsAncestor() const
{
  TComponentState state = ComponentState();
  return state.Contains(csLoading) && state.Contains(csAncestor) && !state.Contains(csReading);
}

// ---------------------------------------------------------------------------
// Listeners

void TdxBar::AddListener(TComponent* AComponent)
{
  if (!AComponent)
    return;
  for (const TWeakRef<TComponent>& listener : FListeners)
    if (listener.Get() == AComponent)
      return;
  FListeners.emplace_back(AComponent);
}

void TdxBar::RemoveListener(TComponent* AComponent)
{
  std::erase_if(FListeners, [AComponent](const TWeakRef<TComponent>& l) { return !l || l.Get() == AComponent; });
}

// ---------------------------------------------------------------------------
// Setters that store and refresh

void TdxBar::SetAllowClose(bool Value)
{
  if (FAllowClose == Value)
    return;
  FAllowClose = Value;
  if (GetControl() && GetDockingStyle() == dsNone)
    UpdateControlCaption();
  Changed(false);
}

void TdxBar::SetAllowQuickCustomizing(bool Value)
{
  if (FAllowQuickCustomizing == Value)
    return;
  FAllowQuickCustomizing = Value;
  if (!GetControl())
    return;
  if (GetDockingStyle() == dsNone)
    UpdateControlCaption();
  else if (GetBarManager() && GetBarManager()->IsRealStyleNotStandard())
    RebuildControl();
}

void TdxBar::SetBackgroundBitmap(TBitmap* Value)
{
  bool wasEmpty = FBackgroundBitmap->Empty();
  {
    TNotifyEvent handler = FBackgroundBitmap->OnChange;
    FBackgroundBitmap->OnChange = nullptr;
    if (Value)
      FBackgroundBitmap->Assign(Value);
    else
      FBackgroundBitmap->Assign(nullptr);
    FBackgroundBitmap->OnChange = handler;
  }
  if (!(Value == nullptr && wasEmpty))
    RefreshFrame();
}

void TdxBar::BackgroundBitmapChanged(TObject*)
{
  RefreshFrame();
}

void TdxBar::SetBorderStyle(TdxBarBorderStyle Value)
{
  if (FBorderStyle == Value)
    return;
  FBorderStyle = Value;
  RefreshFrame();
}

void TdxBar::SetColor(TColor Value)
{
  if (FColor == Value)
    return;
  FColor = Value;
  RefreshFrame();
}

void TdxBar::SetHidden(bool Value)
{
  if (FHidden == Value)
    return;
  FHidden = Value;
  Changed(false);
}

void TdxBar::SetMultiLine(bool Value)
{
  if (FMultiLine == Value || (!Value && FIsMainMenu))
    return;
  FMultiLine = Value;
  if (GetControl() && GetDockingStyle() != dsNone)
    RebuildControl();
}

void TdxBar::SetNotDocking(TdxBarDockingStyles Value)
{
  if (FNotDocking == Value)
    return;
  FNotDocking = Value;
  RebuildControl();
}

void TdxBar::SetShowMark(bool Value)
{
  if (FShowMark == Value)
    return;
  FShowMark = Value;
  RebuildControl();
}

void TdxBar::SetUseRestSpace(bool Value)
{
  if (FUseRestSpace == Value)
    return;
  FUseRestSpace = Value;
  RebuildControl();
}

bool TdxBar::GetUseRecentItems() const
{
  return FItemLinks ? FItemLinks->GetUseRecentItems() : true;
}

void TdxBar::SetUseRecentItems(bool Value)
{
  if (!FItemLinks || FItemLinks->GetUseRecentItems() == Value)
    return;
  FItemLinks->SetUseRecentItems(Value);
  RebuildControl();
}

void TdxBar::SetSizeGrip(bool Value)
{
  if (FSizeGrip == Value)
    return;
  FSizeGrip = Value;
  if (IsStatusBar())
    RefreshFrame();
}

void TdxBar::SetDockedDockControl(TdxBarDockControl* Value)
{
  if (FDockedDockControl.Get() == Value)
    return;
  if (Value && !BelongsToManager(Value))
    return;
  FDockedDockControl = Value;
  if (Value)
    FHasDockedPlace = true;
  Changed(false);
}

void TdxBar::SetDockedDockingStyle(TdxBarDockingStyle Value)
{
  if (Value != FDockedDockingStyle)
    FHasDockedPlace = true;
  FDockedDockingStyle = Value;
}

TdxBarDockingStyle TdxBar::GetDockedDockingStyle() const
{
  if (TdxBarDockControl* dock = FDockedDockControl.Get())
    return DockControlStyle(dock);
  return FDockedDockingStyle;
}

void TdxBar::SetCaptionButtons(TdxBarCaptionButtons* Value)
{
  FCaptionButtons->Assign(Value);
}

void TdxBar::SetGlyph(TBitmap* Value)
{
  FGlyph->Assign(Value);
}

void TdxBar::SetFont(TFont* Value)
{
  GetFont()->Assign(Value);
}

void TdxBar::SetItemLinks(TdxBarControlItemLinks* Value)
{
  if (FItemLinks)
    FItemLinks->Assign(Value);
}

// A caption another bar of the manager has exactly is refused silently.
void TdxBar::SetCaption(const String& Value)
{
  if (FCaption == Value)
    return;
  if (TdxBarManager* manager = GetBarManager())
    if (TdxBars* bars = manager->GetBars())
      for (int i = 0; i < bars->GetCount(); ++i)
        if (bars->GetItem(i) != this && bars->GetItem(i)->FCaption == Value)
          return;
  FCaption = Value;
  UpdateControlCaption();
  Changed(false);
}

// ---------------------------------------------------------------------------
// Fonts

void TdxBar::SetUseOwnFont(bool Value)
{
  TdxBarManager* manager = GetBarManager();
  FOwnFont->SetUseOwnFont(Value, manager ? manager->GetFont() : nullptr);
}

// Taking the manager's font updates the window through the font's own change.
void TdxBar::ManagerFontChanged()
{
  TdxBarManager* manager = GetBarManager();
  if (!FOwnFont->FollowManager(manager ? manager->GetFont() : nullptr))
    UpdateControlFont();
}

// ---------------------------------------------------------------------------
// IsMainMenu, OneOnRow, WholeRow

void TdxBar::SetIsMainMenu(bool Value)
{
  if (FIsMainMenu == Value)
    return;
  TdxBarManager* manager = GetBarManager();
  {
    TdxBarManagerUpdate update(manager);
    // The main menu shown now gives up the flag; a bar without a window (one still being
    // read, say) keeps its own.
    if (Value && manager)
      if (TdxBar* current = manager->GetMainMenuBar(); current && current != this)
        current->SetIsMainMenu(false);
    FIsMainMenu = Value;
    if (manager)
      manager->SetMainMenuBar(Value ? this : (manager->GetMainMenuBar() == this ? nullptr : manager->GetMainMenuBar()));
    if (Value) {
      SetWholeRow(true);
      SetMultiLine(true);
    } else {
      SetMultiLine(false);
      SetWholeRow(false);
    }
    if (!IsManagerLoading() && GetControl()) {
      if (GetDockingStyle() != dsNone)
        RebuildControl();
      else
        UpdateControlCaption();
    }
    if (!IsManagerLoading())
      Changed(false);
  }
}

void TdxBar::SetWholeRow(bool Value)
{
  if (FWholeRow == Value)
    return;
  FWholeRow = Value;
  // Hiding and showing again places the bar anew with its new width rule.
  if (GetControl() && GetDockingStyle() != dsNone && !IsManagerLoading()) {
    SetVisible(false);
    SetVisible(true);
  }
}

// ---------------------------------------------------------------------------
// Visible

bool TdxBar::GetVisible() const
{
  return IsLoadingAsAncestor() ? FLoadedVisible : FVisible;
}

void TdxBar::SetVisible(bool Value)
{
  TdxBarManager* manager = GetBarManager();
  if (Value && manager && manager->IsDestroying())
    return;
  if (!Value && !FVisible && manager)
    manager->RemoveTemporaryHiddenBar(this);
  if (IsManagerLoading()) {
    if (FLoadedVisible != Value)
      FAutoHidden = false;
    FLoadedVisible = Value;
    return;
  }
  if (FVisible == Value)
    return;
  FAutoHidden = false;
  if (!Value)
    StoreControlDockingState();
  FVisible = Value;
  if (FItemLinks) {
    if (Value) {
      FItemLinks->CreateBarControl();
      PlaceControl();
    } else
      FItemLinks->DestroyBarControl();
  }
  Changed(false);
  if (manager && !manager->IsDestroying())
    CallEvent(manager->OnBarVisibleChange, manager, this);
}

// ---------------------------------------------------------------------------
// Docking

TdxBarDockControl* TdxBar::GetDockControl() const
{
  return IsLoadingAsAncestor() ? FLoadedDockControl.Get() : FDockControl.Get();
}

TdxBarDockingStyle TdxBar::GetDockingStyle() const
{
  if (IsLoadingAsAncestor())
    return FLoadedDockingStyle;
  if (TdxBarDockControl* dock = FDockControl.Get())
    return DockControlStyle(dock);
  return FDockingStyle;
}

void TdxBar::SetDockingStyle(TdxBarDockingStyle Value)
{
  if (IsManagerLoading()) {
    FLoadedDockingStyle = Value;
    return;
  }
  if (Value != dsNone)
    FHasDockedPlace = true;
  if (FDockingStyle == Value)
    return;
  bool hidden = false;
  if (!FDockingChanging && GetControl() && ControlDockingStyle() != Value) {
    SetVisible(false);
    hidden = true;
  }
  FDockingStyle = Value;
  if (!FDockingChanging) {
    FDockingChanging = true;
    FDockControl = nullptr;
    FDockingChanging = false;
  }
  if (FItemLinks)
    FItemLinks->SetRecentItemCount(-1);
  if (hidden) {
    SetVisible(true);
    SetControlDockingStyle(Value);
  }
  if (!FDockingChanging)
    DoDockingStyleChanged();
}

void TdxBar::SetDockControl(TdxBarDockControl* Value)
{
  if (Value && !BelongsToManager(Value))
    return;
  if (IsManagerLoading()) {
    FLoadedDockControl = Value;
    return;
  }
  if (Value)
    FHasDockedPlace = true;
  if (FDockControl.Get() == Value)
    return;
  bool hidden = false;
  if (GetControl() && !FDockingChanging) {
    bool replace =
        Value ? ControlRealDockControlIs(Value) == false : (GetDockingStyle() != dsNone && !ControlInOwnDockSite());
    if (replace) {
      SetVisible(false);
      hidden = true;
    }
  }
  FDockControl = Value;
  if (FItemLinks)
    FItemLinks->SetRecentItemCount(-1);
  if (!FDockingChanging) {
    TRestore docking(FDockingChanging, true);
    if (Value)
      FDockingStyle = DockControlStyle(Value);
  }
  if (hidden)
    SetVisible(true);
  SetControlDockControl();
  if (!FDockingChanging)
    DoDockingStyleChanged();
}

void TdxBar::SetDocking(TdxBarDockingStyle AStyle, TdxBarDockControl* ADockControl)
{
  if (ADockControl && IsOwnSiteOfAnyManager(ADockControl))
    ADockControl = nullptr;
  if (AStyle != GetDockingStyle()) {
    if (ADockControl && ADockControl != GetDockControl())
      SetDockControl(ADockControl);
    else
      SetDockingStyle(AStyle);
  } else
    SetDockControl(ADockControl);
}

void TdxBar::DoDockingStyleChanged()
{
  TdxBarManager* manager = GetBarManager();
  if (!manager || manager->IsLoadingLayout())
    return;
  CallEvent(manager->OnBarDockingStyleChange, manager, this);
  Changed(true);
}

// Applied by the manager's Loaded: the values read while loading.
void TdxBar::ApplyLoadedState()
{
  SetDockControl(FLoadedDockControl.Get());
  if (!FLoadedDockControl)
    SetDockingStyle(FLoadedDockingStyle);
  SetVisible(FLoadedVisible);
}

// ---------------------------------------------------------------------------
// Positions

void TdxBar::SetPositionValue(int& AField, int Value)
{
  if (AField == Value)
    return;
  AField = Value;
  if (ComponentState().Contains(csUpdating))
    FPositionPending = true;
  else
    ApplyPosition();
  Changed(false);
}

void TdxBar::SetDockedLeft(int Value)
{
  if (Value > 0)
    FHasDockedPlace = true;
  SetPositionValue(FDockedLeft, std::max(Value, 0));
}

void TdxBar::SetDockedTop(int Value)
{
  if (Value > 0)
    FHasDockedPlace = true;
  SetPositionValue(FDockedTop, std::max(Value, 0));
}

void TdxBar::SetFloatLeft(int Value)
{
  SetPositionValue(FFloatLeft, Value);
}

void TdxBar::SetFloatTop(int Value)
{
  SetPositionValue(FFloatTop, Value);
}

void TdxBar::SetFloatClientWidth(int Value)
{
  SetPositionValue(FFloatClientWidth, Value);
}

void TdxBar::SetFloatClientHeight(int Value)
{
  SetPositionValue(FFloatClientHeight, Value);
}

void TdxBar::Updating()
{
  TcxComponentCollectionItem::Updating();
  FPositionPending = false;
}

void TdxBar::Updated()
{
  TcxComponentCollectionItem::Updated();
  if (FPositionPending) {
    FPositionPending = false;
    ApplyPosition();
  }
}

// ---------------------------------------------------------------------------
// Queries

bool TdxBar::CanDock() const
{
  TdxBarDockingStyles all{dsNone, dsLeft, dsTop, dsRight, dsBottom};
  TdxBarManager* manager = GetBarManager();
  return FNotDocking != all && !(manager && manager->GetNotDocking() == all);
}

bool TdxBar::CanDelete() const
{
  TdxBarManager* manager = GetBarManager();
  if (manager && manager->IsDesigning())
    return true;
  return !FFromForm && CanClose();
}

bool TdxBar::IsStatusBar() const
{
  return FBorderStyle == bbsNone && GetDockingStyle() == dsBottom && FWholeRow;
}

// ---------------------------------------------------------------------------
// Assign

void TdxBar::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TdxBar*>(Source);
  if (!source) {
    TcxComponentCollectionItem::Assign(Source);
    return;
  }
  SetAllowClose(source->FAllowClose);
  SetAllowCustomizing(source->FAllowCustomizing);
  SetAllowQuickCustomizing(source->FAllowQuickCustomizing);
  SetAllowReset(source->FAllowReset);
  SetBorderStyle(source->FBorderStyle);
  SetCaption(source->FCaption);
  SetCaptionButtons(source->GetCaptionButtons());
  SetDockedDockControl(source->GetDockedDockControl());
  SetDockedDockingStyle(source->GetDockedDockingStyle());
  SetDockedLeft(source->FDockedLeft);
  SetDockedTop(source->FDockedTop);
  SetFloatLeft(source->FFloatLeft);
  SetFloatTop(source->FFloatTop);
  SetFloatClientWidth(source->FFloatClientWidth);
  SetFloatClientHeight(source->FFloatClientHeight);
  SetHidden(source->FHidden);
  SetIsMainMenu(source->FIsMainMenu);
  if (source->FItemLinks)
    SetItemLinks(source->FItemLinks.get());
  SetNotDocking(source->FNotDocking);
  SetOldName(source->FOldName);
  SetOneOnRow(source->FOneOnRow);
  SetRotateWhenVertical(source->FRotateWhenVertical);
  SetRow(source->GetRow());
  SetShowMark(source->FShowMark);
  SetSizeGrip(source->FSizeGrip);
  SetWholeRow(source->FWholeRow);
  SetDocking(source->GetDockingStyle(), source->GetDockControl());
  SetUseRecentItems(source->GetUseRecentItems());
  SetUseRestSpace(source->FUseRestSpace);
  SetColor(source->FColor);
  SetFont(source->GetFont());
  SetUseOwnFont(source->GetUseOwnFont());
  SetVisible(source->GetVisible());
}

// ---------------------------------------------------------------------------
// IdxBarLinksOwner

bool TdxBar::CanAddItem(TdxBarItem* AItem, String& AErrorText)
{
  return true;
}

bool dxBarIsLinkOnBar(const TdxBarItemLink* ALink)
{
  TdxBarItemLinks* links = ALink ? ALink->GetItemLinks() : nullptr;
  TObject* owner = links ? links->GetLinksOwner() : nullptr;
  return owner && owner->InheritsFrom(TdxBar::StaticClass());
}
