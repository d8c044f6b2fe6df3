// The bar manager in form data: published properties, the extra stored values "Bars"
// and "DockControlHeights", child streaming, and the loading and naming overrides.
#include "bars/model/manager.h"

#include "bars/model/bar.h"
#include "bars/barwindows/dockcontrol.h"

PUBLISHED(TdxBarManager, TComponent)
{
  using M = TdxBarManager;
  p.Prop(L"AllowCallFromAnotherForm", &M::GetAllowCallFromAnotherForm, &M::SetAllowCallFromAnotherForm).Default(false);
  p.Prop(L"AllowReset", &M::GetAllowReset, &M::SetAllowReset).Default(true);
  p.Prop(L"AlwaysMerge", &M::GetAlwaysMerge, &M::SetAlwaysMerge).Default(false);
  p.Prop(L"AlwaysSaveText", &M::GetAlwaysSaveText, &M::SetAlwaysSaveText).Default(false);
  p.Prop(L"AutoAlignBars", &M::GetAutoAlignBars, &M::SetAutoAlignBars).Default(false);
  p.Prop(L"AutoDockColor", &M::GetAutoDockColor, &M::SetAutoDockColor).Default(true);
  p.Prop(L"AutoHideEmptyBars", &M::GetAutoHideEmptyBars, &M::SetAutoHideEmptyBars).Default(false);
  p.Object(L"Backgrounds", &M::GetBackgrounds, &M::SetBackgrounds);
  p.Prop(L"ButtonArrowWidth", &M::GetButtonArrowWidth, &M::SetButtonArrowWidth).Default(11);
  p.Prop(L"CanCustomize", &M::GetCanCustomize, &M::SetCanCustomize).Default(true);
  p.Object(L"Categories", &M::GetCategories, &M::SetCategories);
  p.Prop(L"DockColor", &M::GetDockColor, &M::SetDockColor)
      .Idents(&ColorIdents())
      .Default(clBtnFace)
      .Stored(&M::IsDockColorStored);
  p.Prop(L"FlatCloseButton", &M::GetFlatCloseButton, &M::SetFlatCloseButton).Default(false);
  p.Object(L"Font", &M::GetFont, &M::SetFont);
  p.Object(L"HelpButtonGlyph", &M::GetHelpButtonGlyph, &M::SetHelpButtonGlyph);
  p.Prop(L"HelpContext", &M::GetHelpContext, &M::SetHelpContext).Default(0);
  p.Object(L"ImageOptions", &M::GetImageOptions, &M::SetImageOptions);
  // The image options' values under their old names: read from older form data, never
  // written (ImageOptions holds them).
  p.Component(L"DisabledImages", &M::GetDisabledImages, &M::SetDisabledImages).Stored(false);
  p.Component(L"DisabledLargeImages", &M::GetDisabledLargeImages, &M::SetDisabledLargeImages).Stored(false);
  p.Component(L"HotImages", &M::GetHotImages, &M::SetHotImages).Stored(false);
  p.Component(L"Images", &M::GetImages, &M::SetImages).Stored(false);
  p.Component(L"LargeImages", &M::GetLargeImages, &M::SetLargeImages).Stored(false);
  p.Prop(L"ImageListBkColor", &M::GetImageListBkColor, &M::SetImageListBkColor).Idents(&ColorIdents()).Stored(false);
  p.Prop(L"LargeIcons", &M::GetLargeIcons, &M::SetLargeIcons).Stored(false);
  p.Prop(L"MakeDisabledImagesFaded", &M::GetMakeDisabledImagesFaded, &M::SetMakeDisabledImagesFaded).Stored(false);
  p.Prop(L"StretchGlyphs", &M::GetStretchGlyphs, &M::SetStretchGlyphs).Stored(false);
  p.Prop(L"UseLargeImagesForLargeIcons", &M::GetUseLargeImagesForLargeIcons, &M::SetUseLargeImagesForLargeIcons)
      .Stored(false);
  p.Prop(L"HideFloatingBarsWhenInactive", &M::GetHideFloatingBarsWhenInactive, &M::SetHideFloatingBarsWhenInactive)
      .Default(true);
  p.Prop(L"IniFileName", &M::GetIniFileName, &M::SetIniFileName);
  p.Prop(L"LargeButtonArrowWidth", &M::GetLargeButtonArrowWidth, &M::SetLargeButtonArrowWidth).Default(13);
  p.Object(L"LookAndFeel", &M::GetLookAndFeel, &M::SetLookAndFeel);
  p.Prop(L"MenuAnimations", &M::GetMenuAnimations, &M::SetMenuAnimations).Default(maNone);
  p.Prop(L"MenusShowRecentItemsFirst", &M::GetMenusShowRecentItemsFirst, &M::SetMenusShowRecentItemsFirst)
      .Default(true);
  p.Prop(L"MostRecentItemsPercents", &M::GetMostRecentItemsPercents, &M::SetMostRecentItemsPercents).Default(95);
  p.Prop(L"NotDocking", &M::GetNotDocking, &M::SetNotDocking).Default(TdxBarDockingStyles{});
  p.Object(L"PopupMenuLinks", &M::GetPopupMenuLinks, &M::SetPopupMenuLinks);
  p.Prop(L"RegistryPath", &M::GetRegistryPath, &M::SetRegistryPath);
  p.Prop(L"Scaled", &M::GetScaled, &M::SetScaled).Default(true);
  p.Prop(L"ShowCloseButton", &M::GetShowCloseButton, &M::SetShowCloseButton).Default(false);
  p.Prop(L"ShowFullMenusAfterDelay", &M::GetShowFullMenusAfterDelay, &M::SetShowFullMenusAfterDelay).Default(true);
  p.Prop(L"ShowHelpButton", &M::GetShowHelpButton, &M::SetShowHelpButton).Default(false);
  p.Prop(L"ShowHint", &M::GetShowHint, &M::SetShowHint).Default(true);
  p.Prop(L"ShowHintForDisabledItems", &M::GetShowHintForDisabledItems, &M::SetShowHintForDisabledItems).Default(true);
  p.Prop(L"ShowShortCutInHint", &M::GetShowShortCutInHint, &M::SetShowShortCutInHint).Default(false);
  p.Prop(L"StoreInIniFile", &M::GetStoreInIniFile, &M::SetStoreInIniFile).Default(false);
  p.Prop(L"StoreInRegistry", &M::GetStoreInRegistry, &M::SetStoreInRegistry).Default(false);
  p.Prop(L"Style", &M::GetStyle, &M::SetStyle).Default(bmsEnhanced);
  p.Prop(L"SunkenBorder", &M::GetSunkenBorder, &M::SetSunkenBorder).Default(false);
  p.Prop(L"UseF10ForMenu", &M::GetUseF10ForMenu, &M::SetUseF10ForMenu).Default(true);
  p.Prop(L"UseFullReset", &M::GetUseFullReset, &M::SetUseFullReset).Default(false);
  // True after construction, so always written.
  p.Prop(L"UseSystemFont", &M::GetUseSystemFont, &M::SetUseSystemFont).NoDefault();
  p.Prop(L"WaitForDockingTime", &M::GetWaitForDockingTime, &M::SetWaitForDockingTime).Default(21);

  p.Event(L"OnBarAdd", &M::OnBarAdd);
  p.Event(L"OnBarAfterReset", &M::OnBarAfterReset);
  p.Event(L"OnBarBeforeReset", &M::OnBarBeforeReset);
  p.Event(L"OnBarClose", &M::OnBarClose);
  p.Event(L"OnBarDelete", &M::OnBarDelete);
  p.Event(L"OnBarDockingStyleChange", &M::OnBarDockingStyleChange);
  p.Event(L"OnBarVisibleChange", &M::OnBarVisibleChange);
  p.Event(L"OnClickItem", &M::OnClickItem);
  p.Event(L"OnCloseButtonClick", &M::OnCloseButtonClick);
  p.Event(L"OnDocking", &M::OnDocking);
  p.Event(L"OnHelpButtonClick", &M::OnHelpButtonClick);
  p.Event(L"OnHideCustomizingForm", &M::OnHideCustomizingForm);
  p.Event(L"OnItemLinkAdd", &M::OnItemLinkAdd);
  p.Event(L"OnItemLinkChange", &M::OnItemLinkChange);
  p.Event(L"OnItemLinkDelete", &M::OnItemLinkDelete);
  p.Event(L"OnMenuMerge", &M::OnMenuMerge);
  p.Event(L"OnMerge", &M::OnMerge);
  p.Event(L"OnMergeItemLink", &M::OnMergeItemLink);
  p.Event(L"OnShowCustomizingForm", &M::OnShowCustomizingForm);
  p.Event(L"OnShowCustomizingPopup", &M::OnShowCustomizingPopup);
  p.Event(L"OnShowToolbarsPopup", &M::OnShowToolbarsPopup);
}

namespace {

// The sides in the order "DockControlHeights" stores them.
const TdxBarDockingStyle DockControlHeightSides[] = {dsLeft, dsRight, dsTop, dsBottom};

bool IsIntegerValue(TValueType Kind)
{
  return Kind == vaInt8 || Kind == vaInt16 || Kind == vaInt32 || Kind == vaInt64;
}

// Accepts every reading error for its lifetime, then gives the reader its own handler back.
class TSkipReadingErrors {
public:
  explicit TSkipReadingErrors(TReader* Reader) : FReader(Reader), FSaved(Reader->OnError)
  {
    Reader->OnError = TReaderError([](TReader*, const String&, bool& Handled) { Handled = true; });
  }
  ~TSkipReadingErrors() { FReader->OnError = FSaved; }
  TSkipReadingErrors(const TSkipReadingErrors&) = delete;
  TSkipReadingErrors& operator=(const TSkipReadingErrors&) = delete;

private:
  TReader* FReader;
  TReaderError FSaved;
};

}  // namespace

void TdxBarManager::DefineProperties(TFiler* Filer)
{
  TComponent::DefineProperties(Filer);
  Filer->DefineProperty(
      L"Bars", [this](TReader* Reader) { ReadBars(Reader); }, nullptr, false);
  Filer->DefineProperty(
      L"DockControlHeights", [this](TReader* Reader) { ReadDockControlHeights(Reader); },
      [this](TWriter* Writer) { WriteDockControlHeights(Writer); }, true);
}

// Older form data lists the bars here, one collection item per bar with an optional
// leading order number: entry i fills the i-th bar, or a new one. A name read here goes to
// the bar's OldName; values the bar does not know are read past.
void TdxBarManager::ReadBars(TReader* Reader)
{
  Reader->CheckValue(vaCollection);
  int index = 0;
  while (!Reader->EndOfList()) {
    if (IsIntegerValue(Reader->NextValue()))
      Reader->ReadInteger();
    Reader->ReadListBegin();
    TdxBar* bar = index < FBars->GetCount() ? FBars->GetItem(index) : FBars->Add();
    ++index;
    bar->IncludeState(csReading);
    bar->SetOldNameMode(true);
    {
      TFinally done([bar] {
        bar->SetOldNameMode(false);
        bar->ExcludeState(csReading);
      });
      TSkipReadingErrors skip(Reader);
      while (!Reader->EndOfList())
        Reader->ReadProperty(bar);
    }
    Reader->ReadListEnd();
  }
  Reader->ReadListEnd();
}

void TdxBarManager::ReadDockControlHeights(TReader* Reader)
{
  Reader->ReadListBegin();
  for (TdxBarDockingStyle side : DockControlHeightSides) {
    if (Reader->EndOfList())
      break;
    SetDockControlSize(side, Reader->ReadInteger());
  }
  // Values past the four are not ours: read past them.
  while (!Reader->EndOfList())
    Reader->ReadInteger();
  Reader->ReadListEnd();
}

void TdxBarManager::WriteDockControlHeights(TWriter* Writer)
{
  Writer->WriteListBegin();
  for (TdxBarDockingStyle side : DockControlHeightSides)
    Writer->WriteInteger(GetDockControlSize(side));
  Writer->WriteListEnd();
}

void TdxBarManager::ReadState(TReader* Reader)
{
  TComponent::ReadState(Reader);
  ++FReadStateCount;
}

void TdxBarManager::Loaded()
{
  TComponent::Loaded();
  if (IsUpdateLocked())
    return;
  FApplyingLayout = true;
  LoadedResolveBarLinks();
  FLoadingLayout = true;
  // Items take their stored state before the bars show their links.
  ApplyLoadedItemsVisible();
  LoadedApplyBars();
  FLoadingLayout = false;
  LoadStoredLayouts();
  ApplyLoadedCategoryItemsVisible();
  for (int i = 0; i < FDockControls.Count(); ++i)
    if (auto* dock = dynamic_cast<TdxDockControl*>(static_cast<TWinControl*>(FDockControls.Items(i))))
      dock->FinishLoading();
  FApplyingLayout = false;
}

void TdxBarManager::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == Owner()) {
    try {
      SaveLayoutOnFormDestroy();
    } catch (...) {
      HandleUnexpectedException(this);
    }
  }
  if (Operation == opRemove && FDockControls.IndexOf(AComponent) >= 0)
    RemoveDockControl(static_cast<TWinControl*>(AComponent));
  // A freed control or popup menu leaves every link that refers to it.
  if (Operation == opRemove && FPopupMenuLinks)
    FPopupMenuLinks->RemoveComponent(AComponent);
}

void TdxBarManager::SetName(const String& NewName)
{
  String oldName = Name();
  TComponent::SetName(NewName);
  if (IsDesigning() && !oldName.empty() && oldName != Name())
    RenameItems(oldName, Name());
}

void TdxBarManager::RenameItems(const String& OldPrefix, const String& NewPrefix)
{
  std::vector<TWeakRef<TComponent>> items;
  for (int i = 0; FItems && i < FItems->Count(); ++i)
    if (TdxBarComponent* item = FItems->GetBarComponent(i); item->Owner() == Owner())
      items.emplace_back(item);
  for (const TWeakRef<TComponent>& ref : items) {
    TComponent* item = ref.Get();
    if (!item)
      continue;
    const String& name = item->Name();
    if (name.size() >= OldPrefix.size() && SameText(name.substr(0, OldPrefix.size()), OldPrefix))
      item->SetName(NewPrefix + name.substr(OldPrefix.size()));
  }
}

// The manager streams the root's bars, its items that belong to a category and its
// groups as its children.
void TdxBarManager::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
  for (int i = 0; FBars && i < FBars->GetCount(); ++i)
    if (FBars->GetItem(i)->Owner() == Root)
      Proc(FBars->GetItem(i));
  for (int i = 0; i < FItems->Count(); ++i) {
    TdxBarComponent* item = FItems->GetBarComponent(i);
    if (item->Owner() == Root && item->GetCategoryIndex() >= 0)
      Proc(item);
  }
  for (int i = 0; i < FGroups->Count(); ++i)
    if (FGroups->Items(i)->Owner() == Root)
      Proc(FGroups->Items(i));
}

// Child positions count the bars, then the items, then the groups.
void TdxBarManager::SetChildOrder(TComponent* Child, int Order)
{
  const int barCount = FBars ? FBars->GetCount() : 0;
  if (auto* bar = dynamic_cast<TdxBar*>(Child); bar && bar->Collection() == FBars) {
    bar->SetIndex(Order);
    return;
  }
  auto moveIn = [](TdxBarComponentList* List, TComponent* Component, int Position) {
    int index = List->IndexOf(Component);
    if (index >= 0 && List->Count() > 0)
      List->Move(index, std::clamp(Position, 0, List->Count() - 1));
    return index >= 0;
  };
  if (!moveIn(FItems.get(), Child, Order - barCount))
    moveIn(FGroups.get(), Child, Order - barCount - FItems->Count());
}

// Children read from form data belong to the manager's owner.
TComponent* TdxBarManager::GetChildOwner()
{
  return Owner();
}
