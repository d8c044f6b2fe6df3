// The design controller's popups: the customizing popup of a link with its commands, the
// toolbars popup, and the internal items both are made of.
#include "barcustomize/designcontroller.h"

#include <memory>

#include "barcustomize/linkeditors.h"

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/model/customizing.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/itemcontrols/edits.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/menus/submenu.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "platform/Menus.h"
#include "platform/Threads.h"

namespace {

// The radio groups of the popups' checked entries; below any a form would use.
constexpr int PaintStyleGroupIndex = -1000;
constexpr int PositionGroupIndex = -1001;
constexpr int ButtonGroupGroupIndex = -1002;
// Entries of the view-levels submenu after the four levels.
constexpr int ViewLevelsAllEntry = 4;
constexpr int ViewLevelsOnlyEntry = 5;
constexpr int NameEditWidth = 120;

template <class E>
String EnumName(E AValue)
{
  return GetEnumName(EnumInfo<E>(), int64_t(AValue));
}

void MakeChecked(TdxBarItem* AItem, bool ADown, int AGroupIndex = 0)
{
  auto* button = dynamic_cast<TdxBarButton*>(AItem);
  if (!button)
    return;
  button->SetButtonStyle(bsChecked);
  button->SetGroupIndex(AGroupIndex);
  button->SetDown(ADown);
}

// A filled popup shows at the cursor once ABeforeShow has run (and is kept in AKeep); one
// that the manager's notification left empty is freed instead. Either may free the popup.
void ShowAtCursor(const TWeakRef<TdxBarSubMenuControl>& APopup, TWeakRef<TdxBarSubMenuControl>& AKeep,
                  const std::function<void()>& ABeforeShow)
{
  TdxBarSubMenuControl* popup = APopup.Get();
  if (!popup)
    return;
  if (popup->GetItemLinks()->Count() == 0) {
    popup->Free();
    return;
  }
  ABeforeShow();
  if (!(popup = APopup.Get()))
    return;
  POINT cursor{};
  ::GetCursorPos(&cursor);
  popup->SetBounds(cursor.x, cursor.y, 0, 0);
  AKeep = APopup;
  popup->Popup();
}

}  // namespace

// ---------------------------------------------------------------------------
// Internal items

TdxBarItem* TdxBarDesignController::AddInternalLink(TdxBarItemLinks* ALinks, TClass AItemClass, const String& ACaption,
                                                    intptr_t ATag, const TNotifyEvent& AOnClick, bool ABeginGroup)
{
  TdxBarManager* manager = ALinks ? ALinks->GetBarManager() : nullptr;
  if (!manager || !AItemClass || !AItemClass->InheritsFrom(TdxBarItem::StaticClass()))
    return nullptr;
  auto* item = static_cast<TdxBarItem*>(AItemClass->Create(manager));
  FInternalItems.emplace_back(item);
  dxBarMakeInternalItem(item);
  item->SetCaption(ACaption);
  item->SetTag(ATag);
  item->SetOnClick(AOnClick);
  TdxBarItemLink* link = ALinks->Add();
  link->SetItem(item);
  link->SetBeginGroup(ABeginGroup);
  return item;
}

void TdxBarDesignController::AddCustomizeLink(TdxBarItemLinks* ALinks, bool ABeginGroup)
{
  TdxBarManager* manager = ALinks ? ALinks->GetBarManager() : nullptr;
  if (!manager || !manager->GetCanCustomize())
    return;
  TdxBarItem* item = AddInternalLink(ALinks, TdxBarButton::StaticClass(), GetResourceString(sdxBarCustomizeEllipsis), 0,
                                     TNotifyEvent(this, &TdxBarDesignController::CustomizeClick), ABeginGroup);
  if (item)
    item->SetEnabled(!manager->GetCustomizingFormHandle());
}

void TdxBarDesignController::FreeInternalItems()
{
  std::vector<TWeakRef<TdxBarItem>> items = std::move(FInternalItems);
  FInternalItems.clear();
  for (const TWeakRef<TdxBarItem>& ref : items)
    if (TdxBarItem* item = ref.Get())
      item->Free();
}

int TdxBarDesignController::GetInternalItemCount() const
{
  int count = 0;
  for (const TWeakRef<TdxBarItem>& ref : FInternalItems)
    count += ref.Alive() ? 1 : 0;
  return count;
}

bool TdxBarDesignController::IsInternalItem(const TdxBarItem* AItem) const
{
  for (const TWeakRef<TdxBarItem>& ref : FInternalItems)
    if (AItem && ref.Get() == AItem)
      return true;
  return false;
}

// ---------------------------------------------------------------------------
// The customizing popup

TdxBarSubMenuControl* TdxBarDesignController::GetCustomizingPopup() const
{
  return FPopup.Get();
}

TdxBarSubMenuControl* TdxBarDesignController::GetToolbarsPopup() const
{
  return FToolbarsPopup.Get();
}

TdxBarItemLink* TdxBarDesignController::GetTargetLink() const
{
  return FTargetLink.Get();
}

TCustomdxBarControl* TdxBarDesignController::GetTargetControl() const
{
  return FTargetControl.Get();
}

bool TdxBarDesignController::CloseCustomizingPopup()
{
  TdxBarSubMenuControl* popup = FPopup.Get();
  if (!popup)
    return false;
  FPopup = TWeakRef<TdxBarSubMenuControl>();
  popup->CloseMenu();
  return true;
}

void TdxBarDesignController::PopupClosed(TObject* Sender)
{
  if (Sender && Sender == FPopup.Get())
    FPopup = TWeakRef<TdxBarSubMenuControl>();
}

TdxBarLinkCommands TdxBarDesignController::GetLinkCommands(TdxBarItemLink* ALink, TCustomdxBarControl* ATarget)
{
  if (!ALink || !ALink->GetItem() || IsInternalItem(ALink->GetItem()))
    return 0;
  TdxBarManager* manager = ALink->GetBarManager();
  // At run time "&Delete" and "Delete Item" stand for the link and its item; the link-only
  // entry of the form designer would read "&Delete" a second time.
  TdxBarLinkCommands commands = dxBarAllLinkCommands;
  if (!(manager && manager->IsDesigning()))
    commands &= ~dxBarCommandBit(lcDeleteLink);
  if (!ALink->HasPaintStyle())
    commands &= ~dxBarCommandBit(lcPaintStyle);
  GetDesignHelper(ATarget)->RestrictCommands(commands);
  return commands;
}

void TdxBarDesignController::ShowCustomizingPopup(TdxBarManager* AManager, TObject* AObject,
                                                  TCustomdxBarControl* ATarget)
{
  CloseCustomizingPopup();
  if (TdxBarSubMenuControl* other = FToolbarsPopup.Get())
    other->CloseMenu();
  FreeInternalItems();
  FManager = AManager;
  auto* link = dynamic_cast<TdxBarItemLink*>(AObject);
  FTargetLink = link;
  FTargetControl = ATarget;
  if (!AManager || !link)
    return;
  const TdxBarLinkCommands commands = GetLinkCommands(link, ATarget);
  if (!commands)
    return;
  ShowPopupFor(AManager, ATarget, [&](TdxBarItemLinks* ALinks) { FillLinkPopup(ALinks, link, commands); });
}

void TdxBarDesignController::ShowPopupFor(TdxBarManager* AManager, TCustomdxBarControl* ATarget,
                                          const std::function<void(TdxBarItemLinks*)>& AFill)
{
  // Made through the metaclass, whose construction gives the window its view info.
  auto* popup = static_cast<TdxBarCustomizingPopup*>(TdxBarCustomizingPopup::StaticClass()->Create(AManager));
  TWeakRef<TdxBarSubMenuControl> popupRef(popup);
  TWeakRef<TCustomdxBarControl> target(ATarget);
  if (ATarget && ATarget->HandleAllocated())
    popup->SetExplicitParentWindow(ATarget->GetHandle());
  popup->OnCloseUp = TNotifyEvent(this, &TdxBarDesignController::PopupClosed);
  TdxBarItemLinks* links = popup->GetOwnLinks();
  AFill(links);
  CallEvent(AManager->OnShowCustomizingPopup, AManager, links);
  ShowAtCursor(popupRef, FPopup, [&] {
    if (TCustomdxBarControl* t = target.Get())
      if (TdxBarItemControl* selected = t->GetSelectedControl())
        selected->Deactivate();
  });
}

// ---------------------------------------------------------------------------
// The popup of a bar window pressed where it has no link

void TdxBarDesignController::ShowBarControlPopup(TdxBarManager* AManager, TCustomdxBarControl* ATarget)
{
  if (!AManager || !ATarget || !ATarget->GetItemLinks())
    return;
  if (!AManager->IsDesigning()) {
    // A running program makes no new commands; a toolbar offers what it offers outside
    // customizing.
    if (dynamic_cast<TdxBarControl*>(ATarget))
      ShowToolbarsPopup(AManager, ATarget);
    return;
  }
  CloseCustomizingPopup();
  if (TdxBarSubMenuControl* other = FToolbarsPopup.Get())
    other->CloseMenu();
  FreeInternalItems();
  FManager = AManager;
  // New links go after the selected one of the window, else at its end.
  TdxBarItemControl* selected = ATarget->GetSelectedControl();
  FTargetLink = selected ? selected->GetItemLink() : nullptr;
  FTargetControl = ATarget;
  ShowPopupFor(AManager, ATarget, [&](TdxBarItemLinks* ALinks) { FillEditorsPopup(ALinks, ATarget); });
}

void TdxBarDesignController::FillEditorsPopup(TdxBarItemLinks* ALinks, TCustomdxBarControl* ATarget)
{
  FPopupEditors.clear();
  GetDesignHelper(ATarget)->GetEditors(FPopupEditors);
  const TNotifyEvent click(this, &TdxBarDesignController::EditorClick);
  for (size_t i = 0; i < FPopupEditors.size(); ++i) {
    TClass editorClass = FPopupEditors[i];
    if (!editorClass || !editorClass->InheritsFrom(TdxBarControlEditor::StaticClass()))
      continue;
    std::unique_ptr<TdxBarControlEditor> editor(static_cast<TdxBarControlEditor*>(editorClass->Create()));
    const int command = dxBarEditorCommand(int(i));
    if (!editorClass->InheritsFrom(TdxItemsEditorEx::StaticClass())) {
      AddInternalLink(ALinks, TdxBarButton::StaticClass(), editor->GetCaption(), dxBarCommandTag(command, 0), click,
                      false);
      continue;
    }
    // One entry per registered kind, named by its class.
    TdxBarItem* sub = AddInternalLink(ALinks, TdxBarSubItem::StaticClass(), editor->GetCaption(),
                                      dxBarCommandTag(command, dxBarSubMenuEntry), TNotifyEvent(), false);
    const std::vector<TClass> kinds = TdxItemsEditorEx::ItemClasses();
    for (size_t k = 0; sub && k < kinds.size(); ++k)
      AddInternalLink(sub->GetItemLinks(), TdxBarButton::StaticClass(), kinds[k]->ClassName(),
                      dxBarCommandTag(command, int(k)), click, false);
  }
}

void TdxBarDesignController::EditorClick(TObject* Sender)
{
  auto* entry = dynamic_cast<TdxBarItem*>(Sender);
  TCustomdxBarControl* target = FTargetControl.Get();
  if (!entry || !IsInternalItem(entry) || !target || !target->GetItemLinks())
    return;
  const size_t index = size_t(entry->Tag() / 65536 - dxBarEditorCommand(0));
  if (index >= FPopupEditors.size())
    return;
  TClass editorClass = FPopupEditors[index];
  TClass itemClass = nullptr;
  if (editorClass->InheritsFrom(TdxItemsEditorEx::StaticClass())) {
    const std::vector<TClass> kinds = TdxItemsEditorEx::ItemClasses();
    const size_t kind = size_t(entry->Tag() % 65536);
    if (kind >= kinds.size())
      return;
    itemClass = kinds[kind];
  }
  std::unique_ptr<TdxBarControlEditor> editor(static_cast<TdxBarControlEditor*>(editorClass->Create()));
  TdxBarItemLinks* links = target->GetItemLinks();
  try {
    if (TdxBarItem* made = editor->Execute(links, FTargetLink.Get(), itemClass))
      SelectComponent(made);
  } catch (const Exception& E) {
    // A kind the bar refuses (a separator on a toolbar) says why and leaves nothing behind.
    ShowAppMessageBox(E.Message(), MB_ICONHAND);
  }
}

void TdxBarDesignController::AddSubMenu(TdxBarItemLinks* ALinks, int ACommand, const String& ACaption,
                                        const std::vector<std::pair<String, bool>>& AEntries, bool ARadio,
                                        bool ABeginGroup, const std::vector<int>& AGroupStarts)
{
  TdxBarItem* sub = AddInternalLink(ALinks, TdxBarSubItem::StaticClass(), ACaption,
                                    dxBarCommandTag(ACommand, dxBarSubMenuEntry), TNotifyEvent(), ABeginGroup);
  TdxBarItemLinks* inner = sub ? sub->GetItemLinks() : nullptr;
  if (!inner)
    return;
  const int group = ACommand == lcPosition ? PositionGroupIndex : ButtonGroupGroupIndex;
  for (size_t i = 0; i < AEntries.size(); ++i) {
    const bool begins = std::find(AGroupStarts.begin(), AGroupStarts.end(), int(i)) != AGroupStarts.end();
    TdxBarItem* entry =
        AddInternalLink(inner, TdxBarButton::StaticClass(), AEntries[i].first, dxBarCommandTag(ACommand, int(i)),
                        TNotifyEvent(this, &TdxBarDesignController::CommandClick), begins);
    if (AEntries[i].second || ARadio)
      MakeChecked(entry, AEntries[i].second, ARadio ? group : 0);
  }
}

void TdxBarDesignController::FillLinkPopup(TdxBarItemLinks* ALinks, TdxBarItemLink* ALink, TdxBarLinkCommands ACommands)
{
  TdxBarManager* manager = ALink->GetBarManager();
  const bool designing = manager && manager->IsDesigning();
  const TNotifyEvent click(this, &TdxBarDesignController::CommandClick);
  auto allowed = [&](int ACommand) { return (ACommands & dxBarCommandBit(ACommand)) != 0; };
  auto add = [&](int ACommand, int AEntry, const String& ACaption, bool ABeginGroup = false) {
    return AddInternalLink(ALinks, TdxBarButton::StaticClass(), ACaption, dxBarCommandTag(ACommand, AEntry), click,
                           ABeginGroup);
  };
  TdxBarItem* item = ALink->GetItem();

  if (allowed(lcReset))
    add(lcReset, 0, GetResourceString(sdxBarLinkReset));
  if (allowed(lcDelete))
    if (TdxBarItem* entry = add(lcDelete, 0, GetResourceString(sdxBarLinkDelete))) {
      entry->SetShortCut(VK_DELETE);
      entry->SetEnabled(ALink->GetItemLinks() != nullptr);
    }
  if (allowed(lcDeleteItem))
    if (TdxBarItem* entry = add(lcDeleteItem, 0, GetResourceString(sdxBarDeleteItem))) {
      entry->SetShortCut(TShortCut(scCtrl | VK_DELETE));
      entry->SetEnabled(item && item->CanDelete(true));
    }
  if (allowed(lcDeleteLink))
    add(lcDeleteLink, 0, GetResourceString(designing ? sdxBarDeleteLink : sdxBarLinkDelete));
  if (allowed(lcName)) {
    auto* edit = static_cast<TdxBarEdit*>(AddInternalLink(
        ALinks, TdxBarEdit::StaticClass(), GetResourceString(designing ? sdxBarLinkCaption : sdxBarLinkName),
        dxBarCommandTag(lcName, 0), TNotifyEvent(), true));
    if (edit) {
      edit->SetWidth(NameEditWidth);
      edit->SetText(ALink->GetCaption());
      // Bound after the text is filled in, so that only the user's Enter runs it.
      FNameEnterPressed = false;
      edit->OnKeyDown = TKeyEvent(this, &TdxBarDesignController::NameKeyDown);
      edit->OnChange = TNotifyEvent(this, &TdxBarDesignController::NameEntered);
    }
  }
  if (allowed(lcPaintStyle)) {
    const TResStringRec captions[] = {sdxBarDefaultStyle, sdxBarTextOnlyAlways, sdxBarTextOnlyInMenus,
                                      sdxBarImageAndText};
    for (int i = 0; i < 4; ++i)
      MakeChecked(add(lcPaintStyle, i, GetResourceString(captions[i]), i == 0),
                  ALink->GetPaintStyle() == TdxBarPaintStyle(i), PaintStyleGroupIndex);
  }
  if (allowed(lcPosition)) {
    std::vector<std::pair<String, bool>> entries;
    for (TdxBarItemPosition p : {ipBeginsNewRow, ipBeginsNewColumn, ipContinuesRow})
      entries.emplace_back(EnumName(p), ALink->GetPosition() == p);
    AddSubMenu(ALinks, lcPosition, GetResourceString(sdxBarPosition), entries, true, true);
  }
  if (allowed(lcViewLevels)) {
    std::vector<std::pair<String, bool>> entries;
    const TdxBarItemViewLevel levels[] = {ivlLargeIconWithText, ivlSmallIconWithText, ivlSmallIcon, ivlControlOnly};
    for (TdxBarItemViewLevel level : levels)
      entries.emplace_back(EnumName(level), ALink->GetViewLevels().Contains(level));
    entries.emplace_back(GetResourceString(sdxBarViewLevelsAll), false);
    for (TdxBarItemViewLevel level : levels)
      entries.emplace_back(EnumName(level) + GetResourceString(sdxBarViewLevelOnly), false);
    AddSubMenu(ALinks, lcViewLevels, GetResourceString(sdxBarViewLevels), entries, false, !allowed(lcPosition),
               {ViewLevelsAllEntry, ViewLevelsOnlyEntry});
  }
  if (allowed(lcButtonGroup)) {
    std::vector<std::pair<String, bool>> entries;
    for (TdxBarButtonGroupPosition p : {bgpNone, bgpStart, bgpMember})
      entries.emplace_back(EnumName(p), ALink->GetButtonGroup() == p);
    // "Group" and "Ungroup" join a selection of several links, which only a form designer has.
    AddSubMenu(ALinks, lcButtonGroup, GetResourceString(sdxBarButtonGroup), entries, true,
               !allowed(lcPosition) && !allowed(lcViewLevels));
  }
  if (allowed(lcBeginGroup))
    if (TdxBarItem* entry = add(lcBeginGroup, 0, GetResourceString(sdxBarBeginGroup), true)) {
      MakeChecked(entry, ALink->GetBeginGroup());
      entry->SetEnabled(ALink->GetVisibleIndex() != 0);
    }
  if (allowed(lcVisible))
    MakeChecked(add(lcVisible, 0, GetResourceString(sdxBarLinkVisible)), ALink->GetVisible());
  if (allowed(lcMostRecentlyUsed))
    MakeChecked(add(lcMostRecentlyUsed, 0, GetResourceString(sdxBarMostRecentlyUsed)), ALink->GetMostRecentlyUsed());
}

void TdxBarDesignController::CommandClick(TObject* Sender)
{
  auto* item = dynamic_cast<TdxBarItem*>(Sender);
  if (!item || !IsInternalItem(item))
    return;
  const intptr_t tag = item->Tag();
  RunCommand(int(tag / 65536), int(tag % 65536));
}

void TdxBarDesignController::RunCommand(int ACommand, int AEntry)
{
  TdxBarItemLink* link = FTargetLink.Get();
  if (!link)
    return;
  switch (ACommand) {
    case lcReset:
      link->SetUserDefine(TdxBarUserDefines());
      break;
    case lcDelete:
    case lcDeleteLink:
      SelectObject(link, 0);
      DeleteSelection(false, false);
      return;
    case lcDeleteItem:
      SelectObject(link, 0);
      DeleteSelection(true, false);
      return;
    case lcPaintStyle:
      if (AEntry >= psStandard && AEntry <= psCaptionGlyph)
        link->SetUserPaintStyle(TdxBarPaintStyle(AEntry));
      break;
    case lcPosition:
      if (AEntry >= ipBeginsNewRow && AEntry <= ipContinuesRow)
        link->SetPosition(TdxBarItemPosition(AEntry));
      break;
    case lcViewLevels: {
      TdxBarItemViewLevels levels = link->GetViewLevels();
      if (AEntry < ViewLevelsAllEntry) {
        const auto level = TdxBarItemViewLevel(AEntry);
        levels.Contains(level) ? levels.Exclude(level) : levels.Include(level);
      } else if (AEntry == ViewLevelsAllEntry)
        levels = dxBarAllItemViewLevels;
      else if (AEntry < ViewLevelsOnlyEntry + 4)
        levels = TdxBarItemViewLevels{TdxBarItemViewLevel(AEntry - ViewLevelsOnlyEntry)};
      link->SetViewLevels(levels);
      break;
    }
    case lcButtonGroup:
      if (AEntry >= bgpNone && AEntry <= bgpMember)
        link->SetButtonGroup(TdxBarButtonGroupPosition(AEntry));
      break;
    case lcBeginGroup:
      link->SetBeginGroup(!link->GetBeginGroup());
      break;
    case lcVisible:
      link->SetVisible(!link->GetVisible());
      break;
    case lcMostRecentlyUsed:
      link->SetMostRecentlyUsed(!link->GetMostRecentlyUsed());
      break;
    default:
      return;
  }
  if (ACommand != lcReset)
    NotifySelection(ACommand, link);
  if (TdxBarManager* manager = FManager.Get())
    manager->DesignerModified();
}

void TdxBarDesignController::NotifySelection(int ACommand, TdxBarItemLink* ASource)
{
  // The other selected links take the attribute the popup's link was given.
  std::vector<TWeakRef<TdxBarItemLink>> others;
  TdxBarManager* manager = FManager.Get();
  if (manager && manager->IsDesigning()) {
    TList selection;
    manager->DesignerGetSelection(&selection);
    for (int i = 0; i < selection.Count(); ++i)
      if (auto* link = dynamic_cast<TdxBarItemLink*>(static_cast<TObject*>(selection.Items(i))))
        others.emplace_back(link);
  } else if (auto* link = dynamic_cast<TdxBarItemLink*>(FSelection.Get()))
    others.emplace_back(link);
  TWeakRef<TdxBarItemLink> source(ASource);
  for (const TWeakRef<TdxBarItemLink>& ref : others)
    if (TdxBarItemLink* link = ref.Get(); link && source && link != source.Get())
      link->ApplyCustomizingCommand(ACommand, source.Get());
}

// Tab, and the popup closing under the box, store its text too: only Enter names the link.
void TdxBarDesignController::NameKeyDown(TObject*, WORD& Key, TShiftState)
{
  FNameEnterPressed = Key == VK_RETURN;
}

void TdxBarDesignController::NameEntered(TObject* Sender)
{
  auto* edit = dynamic_cast<TdxBarEdit*>(Sender);
  TdxBarItemLink* link = FTargetLink.Get();
  if (!std::exchange(FNameEnterPressed, false) || !edit || !link || !IsInternalItem(edit))
    return;
  const String text = edit->GetText();
  const bool blank = text.find_first_not_of(L" \t") == String::npos;
  if (!blank) {
    // A form designer renames the command itself; a running program only this link.
    TWeakRef<TdxBarManager> manager = FManager;
    if (manager && manager->IsDesigning() && link->GetItem())
      link->GetItem()->SetCaption(text);
    else
      link->SetUserCaption(text);
    if (manager)
      manager->DesignerModified();
  }
  // The popup goes from the message loop: it must not be freed under the edit whose key
  // handler reported the text and is still running.
  TWeakRef<TdxBarDesignController> self(this);
  RunLater([self, blank] {
    if (TdxBarDesignController* controller = self.Get())
      controller->CloseCustomizingPopup();
    if (blank)
      ShowAppMessageBox(GetResourceString(sdxBarBlankCommandName), MB_ICONHAND);
  });
}

// ---------------------------------------------------------------------------
// The toolbars popup

void TdxBarDesignController::ShowToolbarsPopup(TdxBarManager* AManager, TControl*)
{
  if (TdxBarSubMenuControl* old = FToolbarsPopup.Get())
    old->CloseMenu();
  CloseCustomizingPopup();
  if (!AManager || !AManager->GetBars())
    return;
  FreeInternalItems();
  FManager = AManager;
  FToolbarsPopupBars.clear();
  auto* popup = static_cast<TdxBarToolbarsPopup*>(TdxBarToolbarsPopup::StaticClass()->Create(AManager));
  TWeakRef<TdxBarSubMenuControl> popupRef(popup);
  TdxBarItemLinks* links = popup->GetOwnLinks();
  TdxBars* bars = AManager->GetBars();
  for (int i = 0; i < bars->GetCount(); ++i) {
    TdxBar* bar = bars->GetItem(i);
    if (!bar || bar->GetHidden())
      continue;
    TdxBarItem* entry =
        AddInternalLink(links, TdxBarButton::StaticClass(), bar->GetCaption(), intptr_t(FToolbarsPopupBars.size()),
                        TNotifyEvent(this, &TdxBarDesignController::ToolbarClick), false);
    FToolbarsPopupBars.emplace_back(bar);
    MakeChecked(entry, bar->GetVisible());
  }
  AddCustomizeLink(links, true);
  CallEvent(AManager->OnShowToolbarsPopup, AManager, links);
  ShowAtCursor(popupRef, FToolbarsPopup, [&] { AManager->CloseActiveBarControl(); });
}

void TdxBarDesignController::ToolbarClick(TObject* Sender)
{
  auto* item = dynamic_cast<TdxBarItem*>(Sender);
  if (!item || !IsInternalItem(item) || item->Tag() < 0 || size_t(item->Tag()) >= FToolbarsPopupBars.size())
    return;
  if (TdxBar* bar = FToolbarsPopupBars[size_t(item->Tag())].Get())
    bar->SetVisible(!bar->GetVisible());
}

void TdxBarDesignController::CustomizeClick(TObject*)
{
  if (TdxBarManager* manager = FManager.Get(); manager && !manager->GetCustomizingFormHandle())
    manager->SetIsCustomizing(true);
}

// ---------------------------------------------------------------------------
// Top-most popups

void TdxBarDesignController::SetPopupsTopMost(bool AOn)
{
  constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  std::vector<HWND> chain;
  for (TCustomdxBarControl* c = FTargetControl.Get(); c && chain.size() < size_t(dxBarMaxParentChainDepth);
       c = c->GetParentBarControl())
    if (dynamic_cast<TdxBarSubMenuControl*>(c) && c->HandleAllocated())
      chain.push_back(c->GetHandle());
  TdxBarSubMenuControl* popup = FPopup.Get();
  HWND popupWnd = popup && popup->HandleAllocated() ? popup->GetHandle() : nullptr;
  if (AOn) {
    HWND after = HWND_TOPMOST;
    if (popupWnd) {
      ::SetWindowPos(popupWnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
      after = popupWnd;
    }
    for (HWND w : chain) {
      ::SetWindowPos(w, after == HWND_TOPMOST ? HWND_TOPMOST : after, 0, 0, 0, 0, flags);
      after = w;
    }
    return;
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    ::SetWindowPos(*it, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
  if (popupWnd)
    ::SetWindowPos(popupWnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}
