// The parts of the Customize dialog only a form designer shows: the all-commands and groups
// pages and the "... modify" buttons that open the category and command menus.
#include <algorithm>

#include "barcustomize/customizeform.h"
#include "barcustomize/customizeform_private.h"
#include "bars/dxBarStrs.h"
#include "bars/groups.h"
#include "bars/items.h"
#include "bars/manager.h"
#include "bars/popupmenu.h"
#include "bars/utils.h"
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

void TCheckableButton::Dispatch(TMessage& Message)
{
  TGraphicControl::Dispatch(Message);
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
  const String caption = GetCaption();
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
  FSavedGroupsChange = manager->GetGroupList()->OnChange;
  manager->GetGroupList()->OnChange = TdxComponentListChangeEvent(this, &TdxBarCustomizingForm::GroupsChanged);
  if (!designing)
    return;
  // The "... modify" buttons sit right of the list headings.
  const std::pair<TCheckableButton**, TLabel*> buttons[] = {{&CategoriesModifyButton, LabelCategories},
                                                            {&CommandsModifyButton, LabelCommands}};
  for (const auto& [button, label] : buttons) {
    *button = new TCheckableButton(this);
    (*button)->SetParent(tsItems);
    (*button)->SetCaption(GetResourceString(sdxBarModify));
    (*button)->FitToCaption();
    if (label)
      (*button)->SetBounds(label->GetLeft() + label->GetWidth() + 6, label->GetTop() - 1, (*button)->GetWidth(),
                           label->GetHeight() + 2);
  }
  RefillAllCommands();
  RefillGroups();
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
  if (LAllCommands->HandleAllocated())
    ::SendMessageW(LAllCommands->GetHandle(), LB_SETHORIZONTALEXTENT, widths[0] + widths[1] + widths[2] + 30, 0);
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
  auto* group = lbGroups->GetItemIndex() >= 0
                    ? dynamic_cast<TdxBarGroup*>(lbGroups->GetItems()->GetObject(lbGroups->GetItemIndex()))
                    : nullptr;
  lbGroupItems->GetItems()->BeginUpdate();
  lbGroupItems->GetItems()->Clear();
  for (int i = 0; group && i < group->GetCount(); ++i)
    if (TComponent* member = group->GetItem(i))
      lbGroupItems->GetItems()->AddObject(member->Name(), member);
  lbGroupItems->GetItems()->EndUpdate();
}
