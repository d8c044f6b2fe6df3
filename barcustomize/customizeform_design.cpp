// The parts of the Customize dialog only a form designer shows: the all-commands and groups
// pages and the "... modify" buttons that open the category and command menus.
#include <algorithm>
#include <functional>
#include <tuple>

#include "barcustomize/customizeform.h"
#include "barcustomize/customizeform_private.h"
#include "barcustomize/groupitemsdialog.h"
#include "barcustomize/itemadddialog.h"
#include "barcustomize/namedialog.h"
#include "barcustomize/submenueditor.h"
#include "bars/model/bar.h"
#include "bars/accessibility/baraccessibility.h"
#include "bars/barwindows/toolbar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/model/customizing.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "bars/model/groups.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/menus/popupmenu.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/utils/utils.h"
#include "platform/Menus.h"
#include "platform/TypInfo.h"

IMPLEMENT_CLASS(TCheckableButton, TGraphicControl)

// ---------------------------------------------------------------------------
// TCheckableButton

TCheckableButton::TCheckableButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
  SetBounds(0, 0, 60, 16);
}

TCheckableButton::~TCheckableButton()
{
  if (TdxBarPopupMenu* popup = FPopupMenu.Get())
    popup->OnCloseUp = nullptr;
}

void TCheckableButton::FitToCaption()
{
  SetWidth(CustomizeFormTextWidth(GetFont(), GetCaption()));
}

void TCheckableButton::SetPopupMenu(TdxBarPopupMenu* Value)
{
  if (TdxBarPopupMenu* old = FPopupMenu.Get())
    old->OnCloseUp = nullptr;
  FPopupMenu = Value;
  if (Value)
    Value->OnCloseUp = TNotifyEvent(this, &TCheckableButton::PopupClosed);
}

void TCheckableButton::SetChecked(bool Value)
{
  if (FChecked == Value)
    return;
  FChecked = Value;
  Invalidate();
  TdxBarPopupMenu* popup = FPopupMenu.Get();
  if (!Value || !popup || !GetParent() || !GetParent()->HandleAllocated())
    return;
  POINT corner{GetLeft(), GetTop() + GetHeight()};
  ::ClientToScreen(GetParent()->GetHandle(), &corner);
  popup->PopupWithOptions(corner.x, corner.y, 0, true);
}

// The press that closes the menu over this button must not open it again at once.
void TCheckableButton::PopupClosed(TObject*)
{
  POINT cursor{};
  ::GetCursorPos(&cursor);
  bool over = false;
  if (GetParent() && GetParent()->HandleAllocated()) {
    ::ScreenToClient(GetParent()->GetHandle(), &cursor);
    over = PtInRect(GetBoundsRect(), TPoint{cursor.x, cursor.y});
  }
  FChecked = over && IsPrimaryMouseButtonDown();
  FCheckedByCloseUp = FChecked;
  Invalidate();
}

void TCheckableButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (FCheckedByCloseUp) {
    FCheckedByCloseUp = false;
    FChecked = false;
    Invalidate();
    return;
  }
  SetChecked(!FChecked);
}

void TCheckableButton::CMMouseEnter(TMessage& Message)
{
  TGraphicControl::CMMouseEnter(Message);
  FMouseInControl = true;
  Invalidate();
}

void TCheckableButton::CMMouseLeave(TMessage& Message)
{
  TGraphicControl::CMMouseLeave(Message);
  FMouseInControl = false;
  Invalidate();
}

void TCheckableButton::Paint()
{
  TCanvas* canvas = GetCanvas();
  RECT r = GetClientRect();
  TCustomForm* form = GetParent() ? ValidParentForm(this, false) : nullptr;
  const bool hot = FMouseInControl && form && form->GetActive();
  if (hot || FChecked) {
    ::DrawEdge(canvas->GetHandle(), &r, FChecked ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    ::InflateRect(&r, -1, -1);
    if (FChecked)
      ::OffsetRect(&r, 1, 1);
  }
  canvas->SetFont(GetFont());
  const String caption = KeepFirstAccelMark(GetCaption());
  ::SetBkMode(canvas->GetHandle(), TRANSPARENT);
  ::SetTextColor(canvas->GetHandle(), ColorToRGB(clBtnText));
  ::DrawTextW(canvas->GetHandle(), caption.c_str(), int(caption.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

// ---------------------------------------------------------------------------
// Design-time pages

void TdxBarCustomizingForm::SetupDesignPages()
{
  TdxBarManager* manager = GetBarManager();
  const bool designing = IsDesigning();
  if (tsCommands)
    tsCommands->SetTabVisible(designing);
  if (tsGroups)
    tsGroups->SetTabVisible(designing);
  if (CBShowCommandsWithShortCut)
    CBShowCommandsWithShortCut->OnClick = TNotifyEvent([this](TObject*) { RefillAllCommands(); });
  if (lbGroups)
    lbGroups->OnClick = TNotifyEvent([this](TObject*) { RefillGroups(); });
  SetupGroupActions();
  FSavedGroupsChange = manager->GetGroupList()->OnChange;
  manager->GetGroupList()->OnChange = TdxComponentListChangeEvent(this, &TdxBarCustomizingForm::GroupsChanged);
  if (!designing)
    return;
  CategoriesPopupMenu = MakeDesignMenu(L"CategoriesPopupMenu", 0,
                                       {{sdxBarAddEllipsis, &TdxBarCustomizingForm::CategoryAddClick},
                                        {sdxBarInsertEllipsis, &TdxBarCustomizingForm::CategoryInsertClick},
                                        {sdxBarRenameEllipsis, &TdxBarCustomizingForm::CategoryRenameClick},
                                        {sdxBarVisible, &TdxBarCustomizingForm::CategoryVisibleClick},
                                        {sdxBarDeleteCommand, &TdxBarCustomizingForm::CategoryDeleteClick}});
  CommandsPopupMenu =
      MakeDesignMenu(L"CommandsPopupMenu", 1,
                     {{sdxBarAddEllipsis, &TdxBarCustomizingForm::CommandAddClick},
                      {sdxBarDeleteCommand, &TdxBarCustomizingForm::CommandDeleteClick},
                      {sdxBarClear, &TdxBarCustomizingForm::CommandsClearClick},
                      {sdxBarMoveUp, &TdxBarCustomizingForm::CommandMoveUpClick},
                      {sdxBarMoveDown, &TdxBarCustomizingForm::CommandMoveDownClick},
                      {sdxBarSubMenuEditorEllipsis, &TdxBarCustomizingForm::CommandSubMenuEditorClick}});
  // The "... modify" buttons sit right of the list headings.
  const std::tuple<TCheckableButton**, TLabel*, TdxBarPopupMenu*> buttons[] = {
      {&CategoriesModifyButton, LabelCategories, CategoriesPopupMenu},
      {&CommandsModifyButton, LabelCommands, CommandsPopupMenu}};
  for (const auto& [button, label, menu] : buttons) {
    *button = new TCheckableButton(this);
    (*button)->SetParent(tsItems);
    (*button)->SetCaption(GetResourceString(sdxBarModify));
    (*button)->FitToCaption();
    (*button)->SetPopupMenu(menu);
    if (label)
      (*button)->SetBounds(label->GetLeft() + label->GetWidth() + 6, label->GetTop() - 1, (*button)->GetWidth(),
                           label->GetHeight() + 2);
  }
  RefillAllCommands();
  RefillGroups();
}

// A popup of the dialog's own manager.
TdxBarPopupMenu* TdxBarCustomizingForm::MakeDesignMenu(const wchar_t* AName, int ACategory,
                                                       std::initializer_list<TDesignMenuEntry> AEntries)
{
  auto* menu = new TdxBarPopupMenu(this);
  menu->SetName(AName);
  menu->SetBarManager(BarManager1);
  for (const TDesignMenuEntry& entry : AEntries) {
    auto* button = new TdxBarButton(this);
    button->SetCaption(GetResourceString(entry.Text));
    button->SetCategory(ACategory);
    button->SetOnClick(TNotifyEvent(this, entry.Handler));
    menu->GetItemLinks()->AddItem(button);
  }
  return menu;
}

void TdxBarCustomizingForm::EditCategoryName(int AMode)
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return;
  TStrings* categories = manager->GetCategories();
  const int category = GetSelectedCategory();
  if (AMode != 0 && (category < 0 || category >= categories->Count()))
    return;
  String name = AMode == 2 ? categories->Get(category) : String();
  TWeakRef<TdxBarCustomizingForm> self(this);
  if (!ShowNameEditDialog(name, true, AMode, nullptr, manager) || !self || name.empty())
    return;
  if (AMode == 0)
    ShowCategory(categories->Add(name));
  else {
    if (AMode == 1)
      categories->Insert(category, name);
    else
      categories->Put(category, name);
    ShowCategory(category);
  }
}

void TdxBarCustomizingForm::CommandAddClick(TObject*)
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return;
  TWeakRef<TdxBarCustomizingForm> self(this);
  TdxBarItem* item = ShowItemAddEditor(manager, std::max(GetSelectedCategory(), 0));
  if (!item || !self)
    return;
  ShowCategory(item->GetCategory());
  lbItems->SetItemIndex(lbItems->GetItems()->IndexOfObject(item));
}

// The category list filled anew with ACategory's entry selected and its commands listed.
void TdxBarCustomizingForm::ShowCategory(int ACategory)
{
  RefillCategories();
  lbCategories->SetItemIndex(lbCategories->GetItems()->IndexOfObject(reinterpret_cast<TObject*>(intptr_t(ACategory))));
  RefillItems();
}

// Sub items and popup menus have links of their own to edit.
void TdxBarCustomizingForm::CommandSubMenuEditorClick(TObject*)
{
  if (auto* sub = dynamic_cast<TCustomdxBarSubItem*>(GetSelectedItem()))
    ShowSubMenuEditor(sub->GetItemLinks());
}

void TdxBarCustomizingForm::CategoryVisibleClick(TObject*)
{
  TdxBarManager* manager = GetBarManager();
  const int category = GetSelectedCategory();
  if (manager && category >= 0)
    manager->SetCategoryVisible(category, !manager->GetCategoryVisible(category));
}

// The selected category when the user confirms AQuestion about it, else -1.
int TdxBarCustomizingForm::ConfirmForSelectedCategory(const TResStringRec& AQuestion)
{
  TdxBarManager* manager = GetBarManager();
  const int category = GetSelectedCategory();
  if (!manager || category < 0 || category >= manager->GetCategories()->Count())
    return -1;
  const String name = manager->GetCategories()->Get(category);
  TWeakRef<TdxBarCustomizingForm> self(this);
  if (dxBarAskCustomizingQuestion(manager, GetHandle(), Format(GetResourceString(AQuestion), {name}),
                                  MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK ||
      !self)
    return -1;
  // Categories may have come and gone meanwhile: the one asked about is found by its name.
  manager = GetBarManager();
  TStrings* categories = manager ? manager->GetCategories() : nullptr;
  if (categories && category < categories->Count() && categories->Get(category) == name)
    return category;
  return categories ? categories->IndexOf(name) : -1;
}

void TdxBarCustomizingForm::CategoryDeleteClick(TObject*)
{
  if (const int category = ConfirmForSelectedCategory(sdxBarDeleteCategoryConfirmation); category >= 0) {
    GetBarManager()->GetCategories()->Delete(category);
    RefillCategories();
  }
}

void TdxBarCustomizingForm::CommandDeleteClick(TObject*)
{
  if (TdxBarItem* item = GetSelectedItem())
    item->Free();
}

void TdxBarCustomizingForm::CommandsClearClick(TObject*)
{
  const int category = ConfirmForSelectedCategory(sdxBarDeleteCategoryCommandsConfirmation);
  TdxBarManager* manager = GetBarManager();
  if (category < 0 || !manager)
    return;
  std::vector<TWeakRef<TdxBarItem>> doomed;
  for (int i = 0; i < manager->GetItemCount(); ++i)
    if (auto* item = dynamic_cast<TdxBarItem*>(manager->GetItem(i)); item && item->GetCategory() == category)
      doomed.emplace_back(item);
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
    if (TdxBarItem* item = it->Get())
      item->Free();
}

// Moves the selected command past its neighbour in the list, in the manager's item order.
void TdxBarCustomizingForm::MoveSelectedCommand(int ADelta)
{
  TdxBarManager* manager = GetBarManager();
  const int index = lbItems->GetItemIndex();
  TdxBarItem* item = GetSelectedItem();
  TdxBarItem* neighbour = ItemOfEntry(index + ADelta);
  if (!manager || !item || !neighbour)
    return;
  const int from = manager->GetItemList()->IndexOf(item);
  const int to = manager->GetItemList()->IndexOf(neighbour);
  manager->MoveItem(from, to);
  RefillItems();
  lbItems->SetItemIndex(index + ADelta);
}

void TdxBarCustomizingForm::CommandMoveUpClick(TObject*)
{
  MoveSelectedCommand(-1);
}

void TdxBarCustomizingForm::CommandMoveDownClick(TObject*)
{
  MoveSelectedCommand(1);
}

// Every item with a category; with the box checked, only those that have a shortcut.
void TdxBarCustomizingForm::RefillAllCommands()
{
  TdxBarManager* manager = GetBarManager();
  if (!LAllCommands || !manager || !IsDesigning())
    return;
  const bool shortCutsOnly = CBShowCommandsWithShortCut && CBShowCommandsWithShortCut->GetChecked();
  TStrings* items = LAllCommands->GetItems();
  items->BeginUpdate();
  items->Clear();
  int widths[3] = {0, 0, 0};
  for (int i = 0; i < manager->GetItemCount(); ++i) {
    auto* item = dynamic_cast<TdxBarItem*>(manager->GetItem(i));
    if (!item || item->GetCategory() < 0)
      continue;
    const TPropInfo* shortCutProp = GetPropInfo(item, L"ShortCut");
    if (shortCutsOnly && !shortCutProp)
      continue;
    const String shortCut = shortCutProp ? ShortCutToText(item->GetShortCut()) : String();
    const String columns[3] = {item->Name(), StripAccelChars(item->GetCaption()), shortCut};
    for (int c = 0; c < 3; ++c)
      widths[c] = std::max(widths[c], CustomizeFormTextWidth(LAllCommands->GetFont(), columns[c]));
    items->AddObject(columns[0] + L"\t" + columns[1] + L"\t" + columns[2], item);
  }
  items->EndUpdate();
  if (HandleAllocated())
    LAllCommands->GetHandle();
  if (LAllCommands->HandleAllocated())
    ::SendMessageW(LAllCommands->GetHandle(), LB_SETHORIZONTALEXTENT, widths[0] + widths[1] + widths[2] + 30, 0);
}

TdxBarGroup* TdxBarCustomizingForm::GetSelectedGroup()
{
  TdxBarManager* manager = GetBarManager();
  TObject* object = CustomizeFormEntryObject(lbGroups, lbGroups ? lbGroups->GetItemIndex() : -1);
  for (int i = 0; manager && object && i < manager->GetGroupCount(); ++i)
    if (manager->GetGroup(i) == object)
      return manager->GetGroup(i);
  return nullptr;
}

// The groups page's buttons.
void TdxBarCustomizingForm::SetupGroupActions()
{
  auto bind = [this](const wchar_t* AName, std::function<void()> AExecute) {
    auto* action = Find<TAction>(AName);
    if (!action)
      return;
    if (AExecute)
      action->SetOnExecute(TNotifyEvent([this, AExecute](TObject*) {
        AExecute();
        RefillGroups();
      }));
    else
      action->SetEnabled(false);
  };
  bind(L"aAddGroup", [this] {
    if (TdxBarManager* manager = GetBarManager())
      manager->AddGroup();
  });
  bind(L"aDeleteGroup", [this] {
    if (TdxBarGroup* group = GetSelectedGroup())
      group->Free();
  });
  bind(L"aMoveUpGroup", [this] {
    if (TdxBarGroup* group = GetSelectedGroup(); group && group->GetIndex() > 0) {
      group->SetIndex(group->GetIndex() - 1);
      lbGroups->SetItemIndex(group->GetIndex());
    }
  });
  bind(L"aMoveDownGroup", [this] {
    if (TdxBarGroup* group = GetSelectedGroup(); group && group->GetIndex() + 1 < GetBarManager()->GetGroupCount()) {
      group->SetIndex(group->GetIndex() + 1);
      lbGroups->SetItemIndex(group->GetIndex());
    }
  });
  bind(L"aAddGroupItem", [this] {
    TdxBarGroup* group = GetSelectedGroup();
    TList chosen;
    TWeakRef<TdxBarGroup> ref(group);
    if (!group || !ShowAddGroupItems(group, &chosen) || !ref)
      return;
    for (int i = 0; i < chosen.Count(); ++i)
      if (auto* member = dynamic_cast<TdxBarComponent*>(static_cast<TObject*>(chosen.Items(i))))
        try {
          group->Add(member);
        } catch (const Exception&) {
          // a group that would contain itself is left out; the others still join
        }
  });
  bind(L"aDeleteGroupItem", [this] {
    TdxBarGroup* group = GetSelectedGroup();
    const int index = lbGroupItems->GetItemIndex();
    if (group && index >= 0 && index < group->GetCount())
      group->Remove(group->GetItem(index));
  });
  auto moveMember = [this](int ADelta) {
    TdxBarGroup* group = GetSelectedGroup();
    const int index = lbGroupItems->GetItemIndex();
    if (!group || index < 0 || index + ADelta < 0 || index + ADelta >= group->GetCount())
      return;
    group->Move(index, index + ADelta);
  };
  bind(L"aMoveUpGroupItem", [moveMember] { moveMember(-1); });
  bind(L"aMoveDownGroupItem", [moveMember] { moveMember(1); });
}

void TdxBarCustomizingForm::RefillGroups()
{
  TdxBarManager* manager = GetBarManager();
  if (!lbGroups || !lbGroupItems || !manager || !IsDesigning())
    return;
  const int index = lbGroups->GetItemIndex();
  lbGroups->GetItems()->BeginUpdate();
  lbGroups->GetItems()->Clear();
  for (int i = 0; i < manager->GetGroupCount(); ++i)
    lbGroups->GetItems()->AddObject(manager->GetGroup(i)->Name(), manager->GetGroup(i));
  lbGroups->GetItems()->EndUpdate();
  if (lbGroups->GetCount() > 0)
    lbGroups->SetItemIndex(std::clamp(index, 0, lbGroups->GetCount() - 1));
  TdxBarGroup* group = GetSelectedGroup();
  // The selected member stays selected wherever it moved.
  TObject* selected = group ? CustomizeFormEntryObject(lbGroupItems, lbGroupItems->GetItemIndex()) : nullptr;
  lbGroupItems->GetItems()->BeginUpdate();
  lbGroupItems->GetItems()->Clear();
  for (int i = 0; group && i < group->GetCount(); ++i)
    if (TComponent* member = group->GetItem(i))
      lbGroupItems->GetItems()->AddObject(member->Name(), member);
  lbGroupItems->GetItems()->EndUpdate();
  if (selected)
    lbGroupItems->SetItemIndex(lbGroupItems->GetItems()->IndexOfObject(selected));
}

// A selected group becomes the listed one, and a selected member of it is selected among
// its members.
void TdxBarCustomizingForm::GroupListsFollowSelection()
{
  if (!lbGroups || !lbGroupItems || !IsDesigning())
    return;
  const std::vector<TObject*> selection = GetSelection();
  for (TObject* selected : selection)
    if (const int index = lbGroups->GetItems()->IndexOfObject(selected);
        index >= 0 && index != lbGroups->GetItemIndex()) {
      lbGroups->SetItemIndex(index);
      RefillGroups();
    }
  for (TObject* selected : selection)
    if (const int index = lbGroupItems->GetItems()->IndexOfObject(selected); index >= 0)
      lbGroupItems->SetItemIndex(index);
}

// ---------------------------------------------------------------------------
// Key tips (a hidden page): each bar window's key tips under the bar's caption.

namespace {

void AddKeyTipNodes(TTreeNodes* ANodes, TTreeNode* AParent, TcxAccessibilityHelper* AHelper, int ADepth)
{
  for (int i = 0; AHelper && ADepth < 4 && i < AHelper->GetChildCount(); ++i) {
    auto* child = dynamic_cast<TdxBarAccessibilityHelper*>(AHelper->GetChild(i));
    if (!child)
      continue;
    const String keyTip = child->GetKeyTip();
    TTreeNode* node = AParent;
    if (!keyTip.empty())
      node = ANodes->AddChild(AParent, child->GetName(0) + L" (" + keyTip + L")");
    AddKeyTipNodes(ANodes, node, child, ADepth + 1);
  }
}

}  // namespace

void TdxBarCustomizingForm::BuildKeyTips()
{
  TdxBarManager* manager = GetBarManager();
  if (!tvKeyTips || !manager)
    return;
  TTreeNodes* nodes = tvKeyTips->GetItems();
  nodes->Clear();
  for (int i = 0; i < manager->GetBars()->GetCount(); ++i) {
    TdxBar* bar = manager->GetBars()->GetItem(i);
    TdxBarAccessibilityHelper* helper = bar->GetControl() ? dxBarGetAccessibilityHelper(bar->GetControl()) : nullptr;
    if (!helper)
      continue;
    TTreeNode* node = nodes->Add(nullptr, bar->GetCaption());
    AddKeyTipNodes(nodes, node, helper, 0);
    if (node->GetCount() == 0)
      node->Delete();
  }
}
