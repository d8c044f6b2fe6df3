// The bar manager: construction and destruction, plain properties, the update lock,
// designer notification, dock controls and naming.
#include "bars/model/manager.h"

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/model/customizing.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/hints/hintwindow.h"
#include "bars/model/startup.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "lookandfeel/dxThemeManager.h"
#include "platform/Forms.h"

DEFINE_ENUM_INFO(TdxBarManagerStyle, L"bmsStandard", L"bmsEnhanced", L"bmsFlat", L"bmsXP", L"bmsOffice11",
                 L"bmsUseLookAndFeel")
DEFINE_ENUM_INFO(TdxBarMenuAnimations, L"maNone", L"maRandom", L"maUnfold", L"maSlide", L"maFade")
DEFINE_ENUM_INFO(TdxBarDockingStyle, L"dsNone", L"dsLeft", L"dsTop", L"dsRight", L"dsBottom")
DEFINE_ENUM_INFO(TdxBarItemMergeKind, L"mkAdd", L"mkMergeByCaption", L"mkNone")

// ---------------------------------------------------------------------------
// Lookups

TdxBarManager* GetBarManagerByOwner(TComponent* AComponent)
{
  if (!AComponent)
    return nullptr;
  if (auto* manager = dynamic_cast<TdxBarManager*>(AComponent))
    return manager;
  if (TdxBarManagerList* list = dxBarManagerList())
    for (int i = 0; i < list->Count(); ++i)
      if (list->GetItem(i)->Owner() == AComponent)
        return list->GetItem(i);
  return nullptr;
}

String dxBarMakeUniqueName(const String& Prefix, const std::function<bool(const String&)>& Exists)
{
  for (int n = 1;; ++n) {
    String name = Prefix + IntToStr(n);
    if (!Exists(name))
      return name;
  }
}

// ---------------------------------------------------------------------------
// Construction and destruction

TComponent* TdxBarManager::CheckOwner(TComponent* AOwner)
{
  if (!AOwner && Application)
    AOwner = Application->GetMainForm();
  if (!dynamic_cast<TWinControl*>(AOwner))
    throw Exception(GetResourceString(sdxBarManagerNeedsWinControlOwner));
  if (GetBarManagerByOwner(AOwner))
    throw Exception(GetResourceString(sdxBarOneManagerPerControl));
  return AOwner;
}

// The checks run before the component exists, so a refused manager leaves nothing behind.
TdxBarManager::TdxBarManager(TComponent* AOwner) : TComponent(CheckOwner(AOwner))
{
  try {
    if (TdxBarManagerList* list = dxBarManagerList()) {
      list->AddManager(this);
      FRegistered = true;
    }
    FBackgrounds = std::make_unique<TdxBarBackgrounds>(this);
    FBackgrounds->OnBarChange = TNotifyEvent(this, &TdxBarManager::BackgroundsBarChanged);
    FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
    FLookAndFeel->OnChanged = TcxLookAndFeelChangedEvent(this, &TdxBarManager::LookAndFeelChanged);
    FStyle = bmsEnhanced;
    UpdateStyle();
    FItems = std::make_unique<TdxBarComponentList>();
    FCategories = std::make_unique<TdxBarManagerCategories>(this);
    FPopupMenus = std::make_unique<TdxBarComponentList>();
    FSmallCaptionFont = std::make_unique<TFont>();
    FSecondFont = std::make_unique<TFont>();
    FFont = std::make_unique<TFont>();
    FFont->OnChange = TNotifyEvent(this, &TdxBarManager::FontChanged);
    FGroups = std::make_unique<TdxBarComponentList>();
    FHelpButtonGlyph = std::make_unique<TBitmap>();
    FHelpButtonGlyph->OnChange = TNotifyEvent(this, &TdxBarManager::HelpButtonGlyphChanged);
    FThemeNotificator = std::make_unique<TdxThemeChangedNotificator>();
    FThemeNotificator->OnThemeChanged = TNotifyEvent(this, &TdxBarManager::ThemeChanged);
    CalcRecentItemsCount();
    FPopupMenuLinks = std::make_unique<TdxBarPopupMenuLinks>(this);
    SetUseSystemFont(true);
    CreateBrushes();
    CreateImageOptions();
    if (!IsDesigning())
      FInitialLayout = std::make_unique<TMemIniFile>(String());
    // Told when the form goes, before its window and components do: the layout is saved then.
    Owner()->FreeNotification(this);
    CreateBars();
    // A manager made at run time on an active form learns it here; later the form's messages tell it.
    FFormActive = IsFormActive(GetNearestParentForm());
  } catch (...) {
    Cleanup();
    throw;
  }
}

TdxBarManager::~TdxBarManager()
{
  Cleanup();
}

// Every step is nil-safe: it also undoes a construction that failed half way.
void TdxBarManager::Cleanup()
{
  dxBarCustomizingManagerDestroying(this);
  dxBarHideHintOfManager(this);
  EndCustomizingOnDestroy();
  // The registers go while their members live on: members must not report to them.
  if (FGroups)
    FGroups->SetDestroying();
  if (FItems)
    FItems->SetDestroying();
  if (FPopupMenus)
    FPopupMenus->SetDestroying();
  // Bars and their windows go while fonts, painter and dock sites still exist.
  DestroyBars();
  if (FRegistered) {
    if (TdxBarManagerList* list = dxBarManagerList())
      list->RemoveManager(this);
    FRegistered = false;
  }
  FInitialLayout.reset();
  FImageOptions.reset();
  FLookAndFeel.reset();
  FThemeNotificator.reset();
  DestroyBrushes();
  FPopupMenus.reset();
  FHelpButtonGlyph.reset();
  FGroups.reset();
  FFont.reset();
  FSecondFont.reset();
  FSmallCaptionFont.reset();
  FItems.reset();
  FCategories.reset();
  for (int i = 0; i < FDockControls.Count(); ++i)
    static_cast<TWinControl*>(FDockControls.Items(i))->RemoveFreeNotification(this);
  FDockControls.Clear();
  FOwnDockControls.fill(nullptr);
  // The links give their controls the window procedures back.
  FPopupMenuLinks.reset();
  FBackgrounds.reset();
  FPainter.reset();
}

// ---------------------------------------------------------------------------
// Virtual operations

void TdxBarManager::DoClickItem(TdxBarItem* Item)
{
  CallEvent(OnClickItem, this, Item);
}

// CanDocking: bars/model/bars.cpp (it asks the bar and the dock control).

TWinControl* TdxBarManager::GetParentControl() const
{
  return dynamic_cast<TWinControl*>(Owner());
}

TCustomForm* TdxBarManager::GetTopLevelForm() const
{
  return FindOwnerParentForm(Owner(), ffmTopLevel);
}

TCustomForm* TdxBarManager::GetMDIChildOrTopLevelForm() const
{
  return FindOwnerParentForm(Owner(), ffmMDIChild);
}

TCustomForm* TdxBarManager::GetNearestParentForm() const
{
  return GetOwnerParentForm(Owner());
}

// ---------------------------------------------------------------------------
// Plain properties

void TdxBarManager::SetAutoAlignBars(bool Value)
{
  if (FAutoAlignBars == Value)
    return;
  FAutoAlignBars = Value;
  // The end of an update re-lays out the bars.
  if (!IsLoading() && !IsUpdateLocked()) {
    BeginUpdate();
    EndUpdate();
  }
}

void TdxBarManager::SetAutoDockColor(bool Value)
{
  if (FAutoDockColor == Value)
    return;
  FAutoDockColor = Value;
  UpdateDockControls(true);
}

void TdxBarManager::SetAutoHideEmptyBars(bool Value)
{
  FAutoHideEmptyBars = Value;
  // Bars hidden for being empty are then hidden like any other.
  if (!Value)
    for (int i = 0; FBars && i < FBars->GetCount(); ++i)
      FBars->GetItem(i)->SetAutoHidden(false);
}

// Item controls measure their arrows with these: every bar window is made again.
void TdxBarManager::SetButtonArrowWidth(int Value)
{
  if (Value < 2 || FButtonArrowWidth == Value)
    return;
  FButtonArrowWidth = Value;
  RebuildAllBars();
}

void TdxBarManager::SetLargeButtonArrowWidth(int Value)
{
  if (Value < 2 || FLargeButtonArrowWidth == Value)
    return;
  FLargeButtonArrowWidth = Value;
  RebuildAllBars();
}

void TdxBarManager::SetWaitForDockingTime(int Value)
{
  if (Value >= 0)
    FWaitForDockingTime = Value;
}

TColor TdxBarManager::GetDockColor() const
{
  if (FAutoDockColor)
    if (TWinControl* parent = GetParentControl())
      return parent->GetColor();
  return FDockColor;
}

void TdxBarManager::SetDockColor(TColor Value)
{
  bool changed = FDockColor != Value || FAutoDockColor;
  FDockColor = Value;
  FAutoDockColor = false;
  if (changed)
    UpdateDockControls(true);
}

// Both shape the main-menu bar's close button.
void TdxBarManager::SetFlatCloseButton(bool Value)
{
  if (FFlatCloseButton == Value)
    return;
  FFlatCloseButton = Value;
  RebuildMainMenuBarControl();
}

void TdxBarManager::SetShowCloseButton(bool Value)
{
  if (FShowCloseButton == Value)
    return;
  FShowCloseButton = Value;
  RebuildMainMenuBarControl();
}

void TdxBarManager::SetHelpButtonGlyph(TBitmap* Value)
{
  FHelpButtonGlyph->Assign(Value);
}

void TdxBarManager::HelpButtonGlyphChanged(TObject* Sender)
{
  dxBarCustomizingFormChanged(this, TdxBarCustomizingFormChange::HelpButton);
}

void TdxBarManager::SetMenuAnimations(TdxBarMenuAnimations Value)
{
  if (FMenuAnimations == Value)
    return;
  FMenuAnimations = Value;
  DesignerModified();
  dxBarCustomizingFormChanged(this, TdxBarCustomizingFormChange::Options);
}

void TdxBarManager::SetMenusShowRecentItemsFirst(bool Value)
{
  if (FMenusShowRecentItemsFirst == Value)
    return;
  FMenusShowRecentItemsFirst = Value;
  DesignerModified();
  dxBarCustomizingFormChanged(this, TdxBarCustomizingFormChange::Options);
}

void TdxBarManager::SetShowFullMenusAfterDelay(bool Value)
{
  if (FShowFullMenusAfterDelay == Value)
    return;
  FShowFullMenusAfterDelay = Value;
  DesignerModified();
  dxBarCustomizingFormChanged(this, TdxBarCustomizingFormChange::Options);
}

void TdxBarManager::SetShowHint(bool Value)
{
  if (FShowHint == Value)
    return;
  FShowHint = Value;
  DesignerModified();
  dxBarCustomizingFormChanged(this, TdxBarCustomizingFormChange::Options);
}

void TdxBarManager::SetShowShortCutInHint(bool Value)
{
  if (FShowShortCutInHint == Value)
    return;
  FShowShortCutInHint = Value;
  DesignerModified();
  dxBarCustomizingFormChanged(this, TdxBarCustomizingFormChange::Options);
}

void TdxBarManager::SetShowHelpButton(bool Value)
{
  if (FShowHelpButton == Value)
    return;
  FShowHelpButton = Value;
  dxBarCustomizingFormChanged(this, TdxBarCustomizingFormChange::HelpButton);
}

void TdxBarManager::SetMostRecentItemsPercents(uint8_t Value)
{
  FMostRecentItemsPercents = Value > 100 ? 100 : Value;
  CalcRecentItemsCount();
}

void TdxBarManager::CalcRecentItemsCount()
{
  int rest = 100 - FMostRecentItemsPercents;
  if (rest <= 0) {
    FRecentItemsCount = 0;
    return;
  }
  int n = 1;
  while (rest * n / 100 <= 0)
    ++n;
  FRecentItemsCount = n;
}

void TdxBarManager::SetNotDocking(TdxBarDockingStyles Value)
{
  if (FNotDocking == Value)
    return;
  FNotDocking = Value;
  UpdateStyle();
}

void TdxBarManager::SetRegistryPath(const String& Value)
{
  String path = Value;
  if (!path.empty()) {
    if (path.front() != L'\\')
      path.insert(path.begin(), L'\\');
    if (path.back() != L'\\')
      path.push_back(L'\\');
  }
  FRegistryPath = path;
}

void TdxBarManager::SetSunkenBorder(bool Value)
{
  if (FSunkenBorder == Value)
    return;
  FSunkenBorder = Value;
  // The dock controls draw their border from this flag: repaint their frames.
  UpdateDockControls(false);
}

// ---------------------------------------------------------------------------
// Update lock

void TdxBarManager::BeginUpdate()
{
  if (++FLockUpdate != 1)
    return;
  for (int i = 0; i < FDockControls.Count(); ++i) {
    auto* control = static_cast<TWinControl*>(FDockControls.Items(i));
    if (control->GetVisible() && control->HandleAllocated())
      SendMessageW(control->GetHandle(), WM_SETREDRAW, FALSE, 0);
  }
}

void TdxBarManager::EndUpdate(bool Rebuild)
{
  if (FLockUpdate == 0 || --FLockUpdate > 0 || IsDestroying())
    return;
  for (int i = 0; i < FDockControls.Count(); ++i) {
    auto* control = static_cast<TWinControl*>(FDockControls.Items(i));
    if (control->GetVisible() && control->HandleAllocated())
      SendMessageW(control->GetHandle(), WM_SETREDRAW, TRUE, 0);
  }
  // The bar windows asked to rebuild meanwhile rebuild now, each once.
  if (Rebuild)
    dxBarRebuildPendingBarControls(this);
  // Rows made or emptied under the lock go and every site lays its bars out again, unless a
  // layout is being applied (it fills its rows, and loading lays the sites out at its end);
  // the sites repaint with their frames. They fill their background only when erased, and
  // windows that left them while redraw was off uncovered nothing the system knows of.
  const bool applyingLayout = IsLoading() || IsLoadingLayout();
  for (int i = 0; i < FDockControls.Count(); ++i) {
    auto* control = static_cast<TWinControl*>(FDockControls.Items(i));
    if (auto* dock = dynamic_cast<TdxDockControl*>(control); dock && !applyingLayout) {
      dock->DeleteEmptyRows();
      dock->RealignBars();
    }
    if (control->GetVisible() && control->HandleAllocated())
      RedrawWindow(control->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  // Floating windows are outside the sites' redraw lock: one changed meanwhile and not rebuilt
  // above (an update ended without rebuilding) repaints, frame and all.
  for (const TWeakRef<TCustomdxBarControl>& ref : dxBarGetBarControls(this))
    if (auto* bar = dynamic_cast<TdxBarControl*>(ref.Get()))
      if (bar->IsRebuildPending() && bar->GetDockingStyle() == dsNone && bar->HandleAllocated())
        RedrawWindow(bar->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

// ---------------------------------------------------------------------------
// Designer notification

void TdxBarManager::LockDesignerModified(bool Lock, bool Notify)
{
  if (Lock) {
    if (FDesignerModifiedLockCount++ == 0)
      FDesignerModifiedPending = false;
    return;
  }
  if (FDesignerModifiedLockCount == 0)
    return;
  if (--FDesignerModifiedLockCount == 0 && Notify && FDesignerModifiedPending) {
    FDesignerModifiedPending = false;
    DesignerModified();
  }
}

void TdxBarManager::DesignerModified()
{
  if (IsLoading() || FLoadingLayout || FApplyingLayout || IsDestroying())
    return;
  if (FDesignerModifiedLockCount > 0) {
    FDesignerModifiedPending = true;
    return;
  }
  if (!IsDesigning() || IsUpdateLocked() || FRestoringRecreatedBars || FNotifyingDesigner)
    return;
  // The designer hears of the form once the image lists it shows have been read.
  if (FImageOptions && FImageOptions->IsAnyImageListLoading())
    return;
  TRestore notifying(FNotifyingDesigner, true);
  NotifyDesigner();
}

void TdxBarManager::NotifyDesigner()
{
  // No form designer runs inside a program; the design controller takes this over when
  // the library is used at design time.
}

// ---------------------------------------------------------------------------
// Dock controls

void TdxBarManager::AddDockControl(TWinControl* ADockControl)
{
  if (!ADockControl || FDockControls.IndexOf(ADockControl) >= 0)
    return;
  FDockControls.Add(ADockControl);
  ADockControl->FreeNotification(this);
}

void TdxBarManager::RemoveDockControl(TWinControl* ADockControl)
{
  if (!ADockControl || FDockControls.Remove(ADockControl) < 0)
    return;
  for (TWinControl*& own : FOwnDockControls)
    if (own == ADockControl)
      own = nullptr;
  if (!ADockControl->ComponentState().Contains(csDestroying))
    ADockControl->SetParentColor(true);
}

TWinControl* TdxBarManager::GetDockControl(int Index) const
{
  return Index >= 0 && Index < FDockControls.Count() ? static_cast<TWinControl*>(FDockControls.Items(Index)) : nullptr;
}

TWinControl* TdxBarManager::GetDockControlOfSide(TdxBarDockingStyle Side) const
{
  return FOwnDockControls[size_t(Side)];
}

void TdxBarManager::SetDockControlOfSide(TdxBarDockingStyle Side, TWinControl* Value)
{
  if (Side == dsNone)
    return;
  FOwnDockControls[size_t(Side)] = Value;
  if (Value) {
    AddDockControl(Value);
    SetDockControlSize(Side, FDockControlSizes[size_t(Side)]);
  }
}

int TdxBarManager::GetDockControlSize(TdxBarDockingStyle Side) const
{
  if (Side == dsNone)
    return 0;
  if (TWinControl* site = FOwnDockControls[size_t(Side)])
    return Side == dsLeft || Side == dsRight ? site->GetWidth() : site->GetHeight();
  return FDockControlSizes[size_t(Side)];
}

void TdxBarManager::SetDockControlSize(TdxBarDockingStyle Side, int Value)
{
  if (Side == dsNone)
    return;
  FDockControlSizes[size_t(Side)] = Value;
  if (TWinControl* site = FOwnDockControls[size_t(Side)]) {
    if (Side == dsLeft || Side == dsRight)
      site->SetWidth(Value);
    else
      site->SetHeight(Value);
  }
}

void TdxBarManager::UpdateDockControls(bool Recolor)
{
  TColor color = GetDockColor();
  for (int i = 0; i < FDockControls.Count(); ++i) {
    auto* control = static_cast<TWinControl*>(FDockControls.Items(i));
    // Dock sites apply their own colour rules and re-lay out for a border change.
    if (auto* dock = dynamic_cast<TdxDockControl*>(control)) {
      if (Recolor)
        dock->UpdateColor();
      else
        dock->UpdateBorders();
    } else if (Recolor)
      control->SetColor(color);
    // A site paints only its background, so the erase is what shows a new look.
    if (control->HandleAllocated())
      RedrawWindow(control->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

// ---------------------------------------------------------------------------
// Naming

String TdxBarManager::GetUniqueItemName(TClass ItemClass) const
{
  String base = ItemClass ? ItemClass->ClassName() : String();
  if (!base.empty())
    base.erase(0, 1);
  TComponent* owner = Owner();
  return dxBarMakeUniqueName(base, [owner](const String& name) { return owner && owner->FindComponent(name); });
}
