// The Customize dialog's lists: the toolbars with their check boxes, the categories and the
// commands that are dragged onto bars; their hooked window procedures and private messages.
#include <algorithm>

#include "barcustomize/customizeform.h"
#include "barcustomize/customizeform_private.h"
#include "barcustomize/listpainters.h"
#include "barcustomize/runtimeselection.h"
#include "bars/model/bar.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/keyboard/navigation.h"
#include "bars/utils/utils.h"
#include "platform/Scope.h"

SIZE CustomizeFormTextExtent(TFont* AFont, const String& AText)
{
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, AFont->GetHandle());
  SIZE size{};
  ::GetTextExtentPoint32W(dc, AText.c_str(), int(AText.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return size;
}

namespace {

TPoint ListMousePoint(const TMessage& Message)
{
  return TPoint{LParamX(Message.LParam), LParamY(Message.LParam)};
}

}  // namespace

// Posted requests are coalesced: one of each kind waits per list.
void TdxBarCustomizingForm::PostToList(TListBox* AList, UINT AMessage, WPARAM AWParam)
{
  if (!AList || !AList->HandleAllocated() || ComponentState().Contains(csDestroying))
    return;
  const std::pair<HWND, UINT> key{AList->GetHandle(), AMessage};
  if (std::find(FPosted.begin(), FPosted.end(), key) != FPosted.end())
    return;
  FPosted.push_back(key);
  ::PostMessageW(key.first, AMessage, AWParam, 0);
}

// Answers whether Message is one of the private requests, handling it then.
static bool TakePosted(std::vector<std::pair<HWND, UINT>>& APosted, HWND AWnd, const TMessage& Message)
{
  if (Message.Msg < WM_DXBARCUSTOMIZE_REFILL || Message.Msg > WM_DXBARCUSTOMIZE_ACTIONS)
    return false;
  std::erase(APosted, std::pair<HWND, UINT>{AWnd, Message.Msg});
  return true;
}

bool TdxBarCustomizingForm::EraseBelowItems(TListBox* AList, HDC ADC)
{
  RECT client{};
  ::GetClientRect(AList->GetHandle(), &client);
  const int count = AList->GetCount();
  if (count > 0) {
    const TRect last = AList->ItemRect(count - 1);
    if (last.bottom > client.top && RectHeight(last) > 0)
      client.top = last.bottom;
  }
  if (client.top < client.bottom) {
    TBrush brush;
    brush.SetColor(AList->GetColor());
    ::FillRect(ADC, &client, brush.GetHandle());
  }
  return true;
}

// ---------------------------------------------------------------------------
// Toolbars

// Entries hold their bar or item by pointer; one is read only while the manager still
// lists it, so that an entry left behind by a bar freed during an update is never touched.
TObject* CustomizeFormEntryObject(TListBox* AList, int AIndex)
{
  return AList && AIndex >= 0 && AIndex < AList->GetCount() ? AList->GetItems()->GetObject(AIndex) : nullptr;
}

TdxBar* TdxBarCustomizingForm::BarOfEntry(int AIndex)
{
  TdxBarManager* manager = GetBarManager();
  TObject* object = CustomizeFormEntryObject(lbBarsList, AIndex);
  for (int i = 0; manager && object && i < manager->GetBars()->GetCount(); ++i)
    if (manager->GetBars()->GetItem(i) == object)
      return manager->GetBars()->GetItem(i);
  return nullptr;
}

TdxBarItem* TdxBarCustomizingForm::ItemOfEntry(int AIndex)
{
  TdxBarManager* manager = GetBarManager();
  TObject* object = CustomizeFormEntryObject(lbItems, AIndex);
  if (!manager || !object)
    return nullptr;
  return manager->GetItemList()->IndexOf(static_cast<TComponent*>(object)) >= 0 ? dynamic_cast<TdxBarItem*>(object)
                                                                                : nullptr;
}

TdxBar* TdxBarCustomizingForm::GetCurrentBar()
{
  if (lbBarsList->GetMultiSelect()) {
    if (lbBarsList->GetSelCount() != 1)
      return nullptr;
    for (int i = 0; i < lbBarsList->GetCount(); ++i)
      if (lbBarsList->GetSelected(i))
        return BarOfEntry(i);
    return nullptr;
  }
  return BarOfEntry(lbBarsList->GetItemIndex());
}

void TdxBarCustomizingForm::RefillBarsList()
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return;
  TdxBar* current = GetCurrentBar();
  const int top = lbBarsList->GetTopIndex();
  const int index = lbBarsList->GetItemIndex();
  TStrings* items = lbBarsList->GetItems();
  items->BeginUpdate();
  {
    TFinally end([items] { items->EndUpdate(); });
    items->Clear();
    for (int i = 0; i < manager->GetBars()->GetCount(); ++i) {
      TdxBar* bar = manager->GetBars()->GetItem(i);
      if (IsDesigning() || !bar->GetHidden())
        items->AddObject(bar->GetCaption(), bar);
    }
  }
  int selected = current ? items->IndexOfObject(current) : -1;
  if (selected < 0 && FSelectionController)
    for (int i = 0; i < FSelectionController->Count() && selected < 0; ++i)
      selected = items->IndexOfObject(FSelectionController->GetSelected(i));
  if (selected < 0 && items->Count() > 0)
    selected = std::clamp(index, 0, items->Count() - 1);
  lbBarsList->SetItemIndex(selected);
  lbBarsList->SetTopIndex(top);
  PostToList(lbBarsList, WM_DXBARCUSTOMIZE_ACTIONS);
}

void TdxBarCustomizingForm::BarsChanged(TObject* Sender, TcxComponentCollectionItem* AItem,
                                        TcxComponentCollectionNotification AAction)
{
  TWeakRef<TdxBarCustomizingForm> self(this);
  CallEvent(FSavedBarsChange, Sender, AItem, AAction);
  if (!self)
    return;
  // A bar on its way out leaves the list at once: no entry may point at a freed bar.
  if (AItem && AAction != ccnAdded && AAction != ccnChanged) {
    if (const int gone = lbBarsList->GetItems()->IndexOfObject(AItem); gone >= 0)
      lbBarsList->GetItems()->Delete(gone);
    PostToList(lbBarsList, WM_DXBARCUSTOMIZE_REFILL, 1);
    return;
  }
  auto* bar = dynamic_cast<TdxBar*>(AItem);
  const int index = bar && AAction == ccnChanged ? lbBarsList->GetItems()->IndexOfObject(bar) : -1;
  if (index >= 0) {
    if (lbBarsList->GetItems()->Get(index) != bar->GetCaption())
      lbBarsList->GetItems()->Put(index, bar->GetCaption());
    else
      ::InvalidateRect(lbBarsList->GetHandle(), nullptr, FALSE);
    PostToList(lbBarsList, WM_DXBARCUSTOMIZE_ACTIONS);
  } else if (!AItem) {
    RefillBarsList();
  } else {
    PostToList(lbBarsList, WM_DXBARCUSTOMIZE_REFILL, 1);
  }
}

// The check box column is the list's own: the entry's highlight and focus start after it.
void TdxBarCustomizingForm::BarsListDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State)
{
  TCanvas* canvas = lbBarsList->GetCanvas();
  canvas->FillRect(Rect);
  if (Index < 0 || Index >= lbBarsList->GetCount())
    return;
  RECT text = Rect;
  text.left += 2;
  const String caption = lbBarsList->GetItems()->Get(Index);
  ::SetBkMode(canvas->GetHandle(), TRANSPARENT);
  ::SetTextColor(canvas->GetHandle(), ColorToRGB(canvas->GetFont()->GetColor()));
  ::DrawTextW(canvas->GetHandle(), caption.c_str(), int(caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TdxBarCustomizingForm::ToggleBar(TdxBar* ABar)
{
  if (!ABar)
    return;
  // A bar that cannot be closed refuses only to hide: one hidden by the program can still be
  // brought back from here.
  if (ABar->GetVisible() && !ABar->CanClose()) {
    dxBarBeep();
    return;
  }
  ABar->SetVisible(!ABar->GetVisible());
  if (lbBarsList->HandleAllocated())
    ::InvalidateRect(lbBarsList->GetHandle(), nullptr, FALSE);
}

void TdxBarCustomizingForm::BarsListClicked()
{
  if (TdxBar* bar = GetCurrentBar(); bar && FSelectionController)
    FSelectionController->SelectComponent(bar);
  PostToList(lbBarsList, WM_DXBARCUSTOMIZE_ACTIONS);
}

void TdxBarCustomizingForm::BarsListWndProc(TMessage& Message)
{
  TWeakRef<TdxBarCustomizingForm> self(this);
  HWND wnd = lbBarsList->GetHandle();
  if (TakePosted(FPosted, wnd, Message)) {
    switch (Message.Msg) {
      case WM_DXBARCUSTOMIZE_REFILL:
        return RefillBarsList();
      case WM_DXBARCUSTOMIZE_SELECTION: {
        for (TObject* selected : GetSelection())
          if (const int index = lbBarsList->GetItems()->IndexOfObject(selected); index >= 0)
            lbBarsList->SetItemIndex(index);
        return UpdateActions();
      }
      default:
        return UpdateActions();
    }
  }
  const int checkWidth = lbBarsList->GetItemHeight();
  switch (Message.Msg) {
    case CN_BASE + WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      if (item && int(item->itemID) >= 0 && int(item->itemID) < lbBarsList->GetCount()) {
        TdxBar* bar = BarOfEntry(int(item->itemID));
        RECT column{item->rcItem.left, item->rcItem.top, item->rcItem.left + checkWidth, item->rcItem.bottom};
        TBrush brush;
        brush.SetColor(lbBarsList->GetColor());
        ::FillRect(item->hDC, &column, brush.GetHandle());
        ::InflateRect(&column, -1, -1);
        UINT state = DFCS_BUTTONCHECK;
        if (bar && bar->GetVisible())
          state |= DFCS_CHECKED;
        if (bar && !bar->CanClose())
          state |= DFCS_INACTIVE;
        ::DrawFrameControl(item->hDC, &column, DFC_BUTTON, state);
        item->rcItem.left += checkWidth;
      }
      break;
    }
    case WM_LBUTTONDBLCLK:
      // A quick second click in the check box toggles again rather than counting as a double click.
      if (ListMousePoint(Message).x < checkWidth)
        Message.Msg = WM_LBUTTONDOWN;
      break;
    case WM_KEYDOWN:
      switch (Message.WParam) {
        case VK_SPACE:
          ToggleBar(GetCurrentBar());
          return;
        case VK_INSERT:
          aNewToolBar->Execute();
          return;
        case VK_DELETE:
          aDeleteToolBar->Execute();
          return;
        default:
          break;
      }
      break;
    case WM_CHAR:
      if (Message.WParam == L' ')
        return;
      break;
    default:
      break;
  }
  const UINT msg = Message.Msg;
  FSavedBarsListProc(Message);
  if (!self)
    return;
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
    const TPoint p = ListMousePoint(Message);
    const int index = lbBarsList->ItemAtPos(p, true);
    if (index < 0)
      return;
    BarsListClicked();
    if (msg == WM_LBUTTONDBLCLK || p.x < checkWidth)
      ToggleBar(BarOfEntry(index));
  } else if (msg == CN_COMMAND && HIWORD(Message.WParam) == LBN_SELCHANGE) {
    BarsListClicked();
  }
}

// ---------------------------------------------------------------------------
// Categories and commands

void TdxBarCustomizingForm::RefillCategories()
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return;
  TStrings* names = manager->GetCategories();
  TStrings* items = lbCategories->GetItems();
  const int index = lbCategories->GetItemIndex();
  items->BeginUpdate();
  {
    TFinally end([items] { items->EndUpdate(); });
    items->Clear();
    for (int n = 0;; ++n) {
      const int real = manager->GetCategoryRealIndex(n);
      if (real < 0 || real >= names->Count())
        break;
      items->AddObject(names->Get(real), reinterpret_cast<TObject*>(intptr_t(real)));
    }
  }
  // The category in view stays across a refill (a new command, another look) rather than
  // going back to the first: the user keeps their place in the list.
  lbCategories->SetItemIndex(items->Count() > 0 ? std::clamp(index, 0, items->Count() - 1) : -1);
  RefillItems();
}

int TdxBarCustomizingForm::GetSelectedCategory()
{
  const int index = lbCategories->GetItemIndex();
  return index >= 0 ? int(reinterpret_cast<intptr_t>(lbCategories->GetItems()->GetObject(index))) : -1;
}

// Selecting a category here refills nothing: the dragged command's list stays as it is.
int TdxBarCustomizingForm::DragOverCategories(const TPoint& P, TdxBarItem* AItem)
{
  if (!lbCategories->HandleAllocated() || !lbCategories->GetVisible() || !::IsWindowVisible(lbCategories->GetHandle()))
    return -1;
  auto selectCategory = [this](int ACategory) {
    for (int i = 0; i < lbCategories->GetCount(); ++i)
      if (int(reinterpret_cast<intptr_t>(lbCategories->GetItems()->GetObject(i))) == ACategory)
        return lbCategories->SetItemIndex(i);
  };
  POINT screen{P.x, P.y};
  if (::WindowFromPoint(screen) != lbCategories->GetHandle()) {
    if (AItem)
      selectCategory(AItem->GetCategory());
    return -1;
  }
  ::ScreenToClient(lbCategories->GetHandle(), &screen);
  const int index = lbCategories->ItemAtPos(TPoint{screen.x, screen.y}, true);
  if (index < 0) {
    if (AItem)
      selectCategory(AItem->GetCategory());
    return 0;
  }
  lbCategories->SetItemIndex(index);
  ::UpdateWindow(lbCategories->GetHandle());
  return 1;
}

void TdxBarCustomizingForm::RefillItems()
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return;
  const int category = GetSelectedCategory();
  TdxBarItem* selected = GetSelectedItem();
  const int top = lbItems->GetTopIndex();
  TList list;
  if (category >= 0)
    manager->GetVisibleItemsByCategory(category, &list);
  TStrings* items = lbItems->GetItems();
  items->BeginUpdate();
  {
    TFinally end([items] { items->EndUpdate(); });
    items->Clear();
    for (int i = 0; i < list.Count(); ++i)
      if (auto* item = dynamic_cast<TdxBarItem*>(static_cast<TObject*>(list.Items(i))))
        items->AddObject(item->GetCaption(), item);
  }
  const int index = selected ? items->IndexOfObject(selected) : -1;
  lbItems->SetItemIndex(index >= 0 ? index : (items->Count() > 0 ? 0 : -1));
  if (index >= 0)
    lbItems->SetTopIndex(top);
  PostToList(lbItems, WM_DXBARCUSTOMIZE_ACTIONS);
}

TdxBarItem* TdxBarCustomizingForm::GetSelectedItem()
{
  return ItemOfEntry(lbItems->GetItemIndex());
}

void TdxBarCustomizingForm::ItemsChanged(TObject* Sender, TComponent* AComponent, TdxComponentListChangeType Kind)
{
  TWeakRef<TdxBarCustomizingForm> self(this);
  CallEvent(FSavedItemsChange, Sender, AComponent, Kind);
  if (!self)
    return;
  if (AComponent && (Kind == clcnExtracted || Kind == clcnDeleted))
    if (const int gone = lbItems->GetItems()->IndexOfObject(AComponent); gone >= 0)
      lbItems->GetItems()->Delete(gone);
  PostToList(lbItems, WM_DXBARCUSTOMIZE_REFILL, 1);
  if (tsCommands && tsCommands->GetTabVisible())
    RefillAllCommands();
}

void TdxBarCustomizingForm::GroupsChanged(TObject* Sender, TComponent* AComponent, TdxComponentListChangeType Kind)
{
  TWeakRef<TdxBarCustomizingForm> self(this);
  CallEvent(FSavedGroupsChange, Sender, AComponent, Kind);
  if (self && tsGroups && tsGroups->GetTabVisible())
    RefillGroups();
}

void TdxBarCustomizingForm::CategoriesWndProc(TMessage& Message)
{
  if (TakePosted(FPosted, lbCategories->GetHandle(), Message)) {
    if (Message.Msg == WM_DXBARCUSTOMIZE_REFILL)
      RefillCategories();
    return;
  }
  FSavedCategoriesProc(Message);
}

void TdxBarCustomizingForm::ItemsListDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State)
{
  TdxBarItem* item = ItemOfEntry(Index);
  TCanvas* canvas = lbItems->GetCanvas();
  if (!item) {
    canvas->FillRect(Rect);
    return;
  }
  const TdxBarCustomizingFormPainter& painter = GetCustomizingFormPainter(GetPainterClass());
  painter.DrawCommandItem(canvas, Rect, State.Contains(odSelected), item, StripAccelChars(item->GetCaption()));
  if (State.Contains(odFocused))
    painter.DrawFocusRect(canvas, Rect);
}

// A press selects the command under the pointer; moving far enough with the left button
// down drags it onto the bars.
void TdxBarCustomizingForm::ItemsListPressed(TMessage& Message)
{
  TWeakRef<TdxBarCustomizingForm> self(this);
  const TPoint p = ListMousePoint(Message);
  const int index = lbItems->ItemAtPos(p, true);
  if (!lbItems->Focused())
    lbItems->SetFocus();
  if (!self)
    return;
  if (index >= 0 && index != lbItems->GetItemIndex())
    lbItems->SetItemIndex(index);
  TdxBarItem* item = GetSelectedItem();
  if (item && FSelectionController)
    FSelectionController->SelectComponent(item);
  PostToList(lbItems, WM_DXBARCUSTOMIZE_ACTIONS);
  if (Message.Msg != WM_LBUTTONDOWN || index < 0 || !item)
    return;
  POINT screen{p.x, p.y};
  ::ClientToScreen(lbItems->GetHandle(), &screen);
  if (!::DragDetect(lbItems->GetHandle(), screen))
    return;
  if (TdxBarManager* manager = GetBarManager())
    manager->DragAndDrop(item, nullptr);
}

void TdxBarCustomizingForm::ItemsListWndProc(TMessage& Message)
{
  if (TakePosted(FPosted, lbItems->GetHandle(), Message)) {
    switch (Message.Msg) {
      case WM_DXBARCUSTOMIZE_REFILL:
        return RefillItems();
      case WM_DXBARCUSTOMIZE_SELECTION: {
        for (TObject* selected : GetSelection())
          if (const int index = lbItems->GetItems()->IndexOfObject(selected); index >= 0)
            lbItems->SetItemIndex(index);
        return;
      }
      default: {
        TdxBarItem* item = GetSelectedItem();
        DescriptionLabel->SetCaption(item ? item->GetDescription() : String());
        return UpdateActions();
      }
    }
  }
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      ItemsListPressed(Message);
      if (Message.Msg == WM_LBUTTONDOWN)
        return;  // the list's own tracking would take the capture the drag needs
      break;
    case WM_LBUTTONDBLCLK:
      if (TdxBarItem* item = GetSelectedItem(); item && IsDesigning())
        GetBarManager()->DesignerSelectComponent(item, 0);
      return;
    case WM_KEYDOWN:
      if (IsDesigning() && ItemsListDesignKey(WORD(Message.WParam)))
        return;
      break;
    case WM_ERASEBKGND:
      Message.Result = EraseBelowItems(lbItems, reinterpret_cast<HDC>(Message.WParam)) ? 1 : 0;
      return;
    default:
      break;
  }
  const UINT msg = Message.Msg;
  TWeakRef<TdxBarCustomizingForm> self(this);
  FSavedItemsProc(Message);
  if (self && msg == CN_COMMAND && HIWORD(Message.WParam) == LBN_SELCHANGE) {
    if (TdxBarItem* item = GetSelectedItem(); item && FSelectionController)
      FSelectionController->SelectComponent(item);
    PostToList(lbItems, WM_DXBARCUSTOMIZE_ACTIONS);
  }
}

// At design time Ctrl+Up and Ctrl+Down move the command, Insert adds one and Delete deletes
// it.
bool TdxBarCustomizingForm::ItemsListDesignKey(WORD AKey)
{
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  if (ctrl && (AKey == VK_UP || AKey == VK_DOWN)) {
    MoveSelectedCommand(AKey == VK_UP ? -1 : 1);
    return true;
  }
  if (AKey == VK_INSERT && !ctrl) {
    CommandAddClick(nullptr);
    return true;
  }
  if (AKey == VK_DELETE && !ctrl) {
    CommandDeleteClick(nullptr);
    return true;
  }
  return false;
}

std::vector<TObject*> TdxBarCustomizingForm::GetSelection() const
{
  // A running program's selection is the dialog's own; a designed form's is the designer's.
  TList list;
  if (FSelectionController)
    FSelectionController->GetSelection(&list);
  else if (TdxBarManager* manager = GetBarManager())
    manager->DesignerGetSelection(&list);
  std::vector<TObject*> result;
  for (int i = 0; i < list.Count(); ++i)
    result.push_back(static_cast<TObject*>(list.Items(i)));
  return result;
}

void TdxBarCustomizingForm::SelectionChanged(TObject*)
{
  if (ComponentState().Contains(csDestroying) || (Application && Application->ComponentState().Contains(csDestroying)))
    return;
  PostToList(lbBarsList, WM_DXBARCUSTOMIZE_SELECTION);
  PostToList(lbItems, WM_DXBARCUSTOMIZE_SELECTION);
  GroupListsFollowSelection();
}
