// TCustomListBox over the native "LISTBOX" class: items mirrored from a string list,
// selection and top item kept while the window does not exist, owner drawing through the
// reflected WM_DRAWITEM and WM_MEASUREITEM.
#include "platform/StdCtrls.h"

#include <map>

#include "platform/ControlsPrivate.h"

DEFINE_ENUM_INFO(TListBoxStyle, L"lbStandard", L"lbOwnerDrawFixed", L"lbOwnerDrawVariable")

IMPLEMENT_CLASS(TListBoxStrings, TStrings)
IMPLEMENT_CLASS(TListBox, TCustomListBox)

TOwnerDrawState OwnerDrawStateFromFlags(UINT ItemState)
{
  static constexpr struct {
    UINT Flag;
    TOwnerDrawStateE State;
  } map[] = {
      {ODS_SELECTED, odSelected},
      {ODS_GRAYED, odGrayed},
      {ODS_DISABLED, odDisabled},
      {ODS_CHECKED, odChecked},
      {ODS_FOCUS, odFocused},
      {ODS_DEFAULT, odDefault},
      {ODS_HOTLIGHT, odHotLight},
      {ODS_INACTIVE, odInactive},
      {ODS_NOACCEL, odNoAccel},
      {ODS_NOFOCUSRECT, odNoFocusRect},
      {ODS_COMBOBOXEDIT, odComboBoxEdit},
  };
  TOwnerDrawState state;
  for (const auto& m : map)
    if (ItemState & m.Flag)
      state += m.State;
  return state;
}

// ---------------------------------------------------------------------------
// TListBoxStrings

void TItemsMirror::WindowPut(int Index, const String& S)
{
  int selected = GetItemIndex();
  WindowDelete(Index);
  WindowInsert(Index, S);
  if (selected == Index)
    SetItemIndex(Index);
}

TListBoxStrings::TListBoxStrings(TItemsMirror* ListBox) : FListBox(ListBox) {}

String TListBoxStrings::Get(int Index) const
{
  return FList.Get(Index);
}

int TListBoxStrings::GetCount() const
{
  return FList.GetCount();
}

TObject* TListBoxStrings::GetObject(int Index) const
{
  return FList.GetObject(Index);
}

void TListBoxStrings::Put(int Index, const String& S)
{
  TObject* object = FList.GetObject(Index);  // raises on a bad index
  if (FList.Sorted()) {
    // A new text may belong elsewhere in a sorted list.
    Delete(Index);
    AddObject(S, object);
    return;
  }
  FList.Put(Index, S);
  if (FListBox)
    FListBox->WindowPut(Index, S);
}

void TListBoxStrings::PutObject(int Index, TObject* AObject)
{
  FList.PutObject(Index, AObject);
}

void TListBoxStrings::Clear()
{
  FList.Clear();
  if (FListBox)
    FListBox->WindowClear();
}

void TListBoxStrings::Delete(int Index)
{
  FList.Delete(Index);
  if (FListBox)
    FListBox->WindowDelete(Index);
}

void TListBoxStrings::Insert(int Index, const String& S)
{
  InsertObject(Index, S, nullptr);
}

void TListBoxStrings::InsertObject(int Index, const String& S, TObject* AObject)
{
  FList.InsertObject(Index, S, AObject);
  if (FListBox)
    FListBox->WindowInsert(Index, S);
}

int TListBoxStrings::Add(const String& S)
{
  return AddObject(S, nullptr);
}

int TListBoxStrings::AddObject(const String& S, TObject* AObject)
{
  int before = FList.GetCount();
  int index = FList.AddObject(S, AObject);
  // A sorted list that ignores duplicates may have added nothing.
  if (FListBox && FList.GetCount() > before)
    FListBox->WindowInsert(index, S);
  return index;
}

int TListBoxStrings::IndexOf(const String& S) const
{
  return FList.IndexOf(S);
}

void TListBoxStrings::SetUpdateState(bool Updating)
{
  if (FListBox)
    FListBox->WindowUpdating(Updating);
}

// ---------------------------------------------------------------------------
// TCustomListBox

PUBLISHED(TCustomListBox, TWinControl)
{
  p.Prop(L"TabStop", &TCustomListBox::GetTabStop, &TCustomListBox::SetTabStop).Default(true);
  p.Prop(L"ParentColor", &TCustomListBox::GetParentColor, &TCustomListBox::SetParentColor).Default(false);
  p.Prop(L"BorderStyle", &TCustomListBox::GetBorderStyle, &TCustomListBox::SetBorderStyle).Default(bsSingle);
  p.Prop(L"Style", &TCustomListBox::GetStyle, &TCustomListBox::SetStyle).Default(lbStandard);
  p.Prop(L"ItemHeight", &TCustomListBox::FItemHeight, &TCustomListBox::SetItemHeight).Default(16);
  p.Prop(L"MultiSelect", &TCustomListBox::GetMultiSelect, &TCustomListBox::SetMultiSelect).Default(false);
  p.Prop(L"ExtendedSelect", &TCustomListBox::GetExtendedSelect, &TCustomListBox::SetExtendedSelect).Default(true);
  p.Prop(L"IntegralHeight", &TCustomListBox::GetIntegralHeight, &TCustomListBox::SetIntegralHeight).Default(false);
  p.Prop(L"Sorted", &TCustomListBox::GetSorted, &TCustomListBox::SetSorted).Default(false);
  p.Object(L"Items", &TCustomListBox::GetItems, &TCustomListBox::SetItems);
  p.Event(L"OnDrawItem", &TCustomListBox::OnDrawItem);
  p.Event(L"OnMeasureItem", &TCustomListBox::OnMeasureItem);
}

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner)
{
  FItems = new TListBoxStrings(this);
  FCanvas = new TControlCanvas();
  FCanvas->SetControl(this);
  // The native control tracks the mouse itself; clicks come as selection changes.
  FControlStyle = {csSetCaption, csDoubleClicks};
  FTabStop = true;
  SetBounds(0, 0, 121, 97);
  SetColor(clWindow);
  FParentColor = false;
}

TCustomListBox::~TCustomListBox()
{
  // The window goes first: its last messages may still reach the handlers below.
  if (FHandle)
    DestroyWindowHandle();
  delete FCanvas;
  FCanvas = nullptr;
  TListBoxStrings* items = FItems;
  FItems = nullptr;
  delete items;
}

TCanvas* TCustomListBox::GetCanvas() const
{
  return FCanvas;
}

void TCustomListBox::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, L"LISTBOX");
  Params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
  if (!FIntegralHeight)
    Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FStyle == lbOwnerDrawFixed)
    Params.Style |= LBS_OWNERDRAWFIXED;
  else if (FStyle == lbOwnerDrawVariable)
    Params.Style |= LBS_OWNERDRAWVARIABLE;
  if (FMultiSelect)
    Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (FBorderStyle == bsSingle)
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd()
{
  TWinControl::CreateWnd();
  if (FStyle == lbOwnerDrawFixed)
    ::SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, MAKELPARAM(FItemHeight, 0));
  ::SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < FItems->Count(); ++i)
    WindowInsert(i, FItems->Get(i));
  // What was selected before the window was (re)made.
  int count = FItems->Count();
  if (FMultiSelect) {
    for (size_t i = 0; i < FSelected.size() && int(i) < count; ++i)
      if (FSelected[i])
        ::SendMessageW(FHandle, LB_SETSEL, TRUE, LPARAM(i));
    if (FItemIndex >= 0 && FItemIndex < count)
      ::SendMessageW(FHandle, LB_SETCARETINDEX, WPARAM(FItemIndex), FALSE);
  } else if (FItemIndex >= 0 && FItemIndex < count) {
    ::SendMessageW(FHandle, LB_SETCURSEL, WPARAM(FItemIndex), 0);
  }
  if (FTopIndex > 0 && FTopIndex < count)
    ::SendMessageW(FHandle, LB_SETTOPINDEX, WPARAM(FTopIndex), 0);
  ::SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
}

void TCustomListBox::DestroyWnd()
{
  if (FHandle && !FComponentState.Contains(csDestroying)) {
    int count = FItems->Count();
    FItemIndex = GetItemIndex();
    FTopIndex = GetTopIndex();
    FSelected.assign(size_t(count), false);
    if (FMultiSelect)
      for (int i = 0; i < count; ++i)
        FSelected[size_t(i)] = ::SendMessageW(FHandle, LB_GETSEL, WPARAM(i), 0) > 0;
  }
  TWinControl::DestroyWnd();
}

// The window mirror. Without a window the kept selection follows the items instead.
void TCustomListBox::WindowInsert(int Index, const String& S)
{
  if (FHandle) {
    LRESULT r = ::SendMessageW(FHandle, LB_INSERTSTRING, WPARAM(Index), reinterpret_cast<LPARAM>(S.c_str()));
    if (r == LB_ERR || r == LB_ERRSPACE)
      throw EOutOfResources(L"The list box cannot take more items");
    return;
  }
  if (FItemIndex >= Index)
    ++FItemIndex;
  if (size_t(Index) <= FSelected.size())
    FSelected.insert(FSelected.begin() + Index, false);
}

void TCustomListBox::WindowDelete(int Index)
{
  if (FHandle) {
    ::SendMessageW(FHandle, LB_DELETESTRING, WPARAM(Index), 0);
    return;
  }
  if (FItemIndex == Index)
    FItemIndex = -1;
  else if (FItemIndex > Index)
    --FItemIndex;
  if (size_t(Index) < FSelected.size())
    FSelected.erase(FSelected.begin() + Index);
}

void TItemsMirror::SetListRedraw(HWND Window, bool Updating)
{
  if (!Window)
    return;
  ::SendMessageW(Window, WM_SETREDRAW, Updating ? FALSE : TRUE, 0);
  if (!Updating)
    ::InvalidateRect(Window, nullptr, TRUE);
}

void TCustomListBox::WindowUpdating(bool Updating)
{
  SetListRedraw(FHandle, Updating);
}

void TCustomListBox::WindowClear()
{
  if (FHandle) {
    ::SendMessageW(FHandle, LB_RESETCONTENT, 0, 0);
    return;
  }
  FItemIndex = -1;
  FTopIndex = 0;
  FSelected.clear();
}

// ---------------------------------------------------------------------------
// Properties

int TCustomListBox::GetItemIndex()
{
  int count = FItems->Count();
  if (!FHandle)
    return FItemIndex >= 0 && FItemIndex < count ? FItemIndex : -1;
  if (FMultiSelect)
    return count == 0 ? -1 : int(::SendMessageW(FHandle, LB_GETCARETINDEX, 0, 0));
  return int(::SendMessageW(FHandle, LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int Value)
{
  if (Value < -1 || Value >= FItems->Count())
    Value = -1;
  if (!FHandle) {
    FItemIndex = Value;
    return;
  }
  if (FMultiSelect)
    ::SendMessageW(FHandle, LB_SETCARETINDEX, WPARAM(Value), FALSE);
  else
    ::SendMessageW(FHandle, LB_SETCURSEL, WPARAM(Value), 0);
}

int TCustomListBox::GetItemHeight()
{
  if (FHandle && FStyle != lbOwnerDrawVariable)
    return int(::SendMessageW(FHandle, LB_GETITEMHEIGHT, 0, 0));
  return FItemHeight;
}

void TCustomListBox::SetItemHeight(int Value)
{
  // Heights below one pixel (and past what the window can hold) keep the old value.
  if (Value < 1 || Value > 255 || FItemHeight == Value)
    return;
  FItemHeight = Value;
  if (FHandle && FStyle == lbOwnerDrawFixed) {
    ::SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, MAKELPARAM(Value, 0));
    Invalidate();
  }
}

void TCustomListBox::ChangeScale(int M, int D)
{
  TWinControl::ChangeScale(M, D);
  if (M != D && M > 0 && D > 0)
    SetItemHeight(MulDiv(FItemHeight, M, D));
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
  if (FStyle == Value)
    return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value)
{
  if (FMultiSelect == Value)
    return;
  FMultiSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value)
{
  if (FExtendedSelect == Value)
    return;
  FExtendedSelect = Value;
  if (FMultiSelect)
    RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value)
{
  if (FIntegralHeight == Value)
    return;
  FIntegralHeight = Value;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value)
{
  if (Value != bsNone)
    Value = bsSingle;  // a list box has no other frame
  if (FBorderStyle == Value)
    return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value)
{
  TStringList& list = FItems->List();
  if (list.Sorted() == Value)
    return;
  if (!Value) {
    list.SetSorted(false);  // the order does not change when sorting stops
    return;
  }
  // Where each item was, to carry its selection (and a descendant's data) to where it goes.
  int count = list.GetCount();
  std::map<std::pair<String, uintptr_t>, std::vector<int>> places;
  for (int i = count - 1; i >= 0; --i)
    places[{list.Get(i), reinterpret_cast<uintptr_t>(list.GetObject(i))}].push_back(i);
  std::vector<bool> selected(size_t(count), false);
  for (int i = 0; i < count; ++i)
    selected[size_t(i)] = GetSelected(i);
  int itemIndex = GetItemIndex();
  list.SetSorted(true);
  std::vector<int> oldIndex(size_t(list.GetCount()), -1);
  for (int j = 0; j < list.GetCount(); ++j) {
    auto& from = places[{list.Get(j), reinterpret_cast<uintptr_t>(list.GetObject(j))}];
    if (!from.empty()) {
      oldIndex[size_t(j)] = from.back();
      from.pop_back();
    }
  }
  // The list reordered itself: the window follows, and the selection stays on its items.
  WindowClear();
  for (int i = 0; i < list.GetCount(); ++i)
    WindowInsert(i, list.Get(i));
  ItemsReordered(oldIndex);
  for (int j = 0; j < int(oldIndex.size()); ++j) {
    int from = oldIndex[size_t(j)];
    if (from < 0)
      continue;
    if (FMultiSelect && selected[size_t(from)])
      SetSelected(j, true);
    if (from == itemIndex)
      SetItemIndex(j);
  }
}

static void CheckItemIndex(TStrings* Items, int Index)
{
  if (Index < 0 || Index >= Items->Count())
    throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
}

bool TCustomListBox::GetSelected(int Index)
{
  CheckItemIndex(FItems, Index);
  if (FHandle)
    return ::SendMessageW(FHandle, LB_GETSEL, WPARAM(Index), 0) > 0;
  if (!FMultiSelect)
    return Index == FItemIndex;
  return size_t(Index) < FSelected.size() && FSelected[size_t(Index)];
}

void TCustomListBox::SetSelected(int Index, bool Value)
{
  CheckItemIndex(FItems, Index);
  if (FHandle) {
    if (FMultiSelect)
      ::SendMessageW(FHandle, LB_SETSEL, Value ? TRUE : FALSE, Index);
    else if (Value)
      ::SendMessageW(FHandle, LB_SETCURSEL, WPARAM(Index), 0);
    else if (GetItemIndex() == Index)
      ::SendMessageW(FHandle, LB_SETCURSEL, WPARAM(-1), 0);
    return;
  }
  if (!FMultiSelect) {
    if (Value)
      FItemIndex = Index;
    else if (FItemIndex == Index)
      FItemIndex = -1;
    return;
  }
  FSelected.resize(std::max(FSelected.size(), size_t(FItems->Count())), false);
  FSelected[size_t(Index)] = Value;
}

int TCustomListBox::GetSelCount()
{
  if (!FMultiSelect)
    return -1;
  if (FHandle)
    return int(::SendMessageW(FHandle, LB_GETSELCOUNT, 0, 0));
  int n = 0;
  for (size_t i = 0; i < FSelected.size() && int(i) < FItems->Count(); ++i)
    n += FSelected[i] ? 1 : 0;
  return n;
}

void TCustomListBox::SelectAll()
{
  if (!FMultiSelect)
    return;
  if (FHandle)
    ::SendMessageW(FHandle, LB_SETSEL, TRUE, -1);
  else
    FSelected.assign(size_t(FItems->Count()), true);
}

void TCustomListBox::ClearSelection()
{
  if (!FMultiSelect) {
    SetItemIndex(-1);
    return;
  }
  if (FHandle)
    ::SendMessageW(FHandle, LB_SETSEL, FALSE, -1);
  else
    FSelected.assign(size_t(FItems->Count()), false);
}

int TCustomListBox::GetTopIndex()
{
  if (!FHandle)
    return FTopIndex;
  return int(::SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int Value)
{
  if (Value < 0)
    Value = 0;
  if (!FHandle) {
    FTopIndex = Value;
    return;
  }
  ::SendMessageW(FHandle, LB_SETTOPINDEX, WPARAM(Value), 0);
}

TRect TCustomListBox::ItemRect(int Index)
{
  int count = FItems->Count();
  if (!FHandle || Index < 0 || Index > count)
    return TRect{};
  RECT r{};
  if (Index < count) {
    ::SendMessageW(FHandle, LB_GETITEMRECT, WPARAM(Index), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // One past the last item: where the next one would go.
  if (count == 0) {
    TRect client = GetClientRect();
    return Rect(0, 0, RectWidth(client), GetItemHeight());
  }
  ::SendMessageW(FHandle, LB_GETITEMRECT, WPARAM(count - 1), reinterpret_cast<LPARAM>(&r));
  int h = r.bottom - r.top;
  return Rect(r.left, r.bottom, r.right, r.bottom + h);
}

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing)
{
  if (!FHandle)
    return -1;
  TRect client = GetClientRect();
  if (!PtInRect(client, Pos))
    return -1;
  int count = FItems->Count();
  for (int i = GetTopIndex(); i < count; ++i) {
    TRect r = ItemRect(i);
    if (r.top >= client.bottom)
      break;
    if (PtInRect(r, Pos))
      return i;
  }
  return Existing ? -1 : count;
}

// ---------------------------------------------------------------------------
// Messages

void TCustomListBox::Dispatch(TMessage& Message)
{
  // clang-format off
  switch (Message.Msg) {
    case CN_DRAWITEM: return CNDrawItem(Message);
    case CN_MEASUREITEM: return CNMeasureItem(Message);
    case CN_COMMAND: return CNCommand(Message);
    default: return TWinControl::Dispatch(Message);
  }
  // clang-format on
}

void TCustomListBox::CNCommand(TMessage& Message)
{
  // clang-format off
  switch (HIWORD(Message.WParam)) {
    case LBN_SELCHANGE: Click(); break;
    case LBN_DBLCLK: DblClick(); break;
    default: break;
  }
  // clang-format on
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
  if (OnDrawItem.Assigned()) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < FItems->Count())
    FCanvas->TextOut(Rect.left + 2, Rect.top, FItems->Get(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height)
{
  CallEvent(OnMeasureItem, this, Index, Height);
}

void TCustomListBox::CNDrawItem(TMessage& Message)
{
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  if (!item || !FItems)
    return;
  TOwnerDrawState state = OwnerDrawStateFromFlags(item->itemState);
  // The canvas is the item's DC only for this message, even when a handler raises.
  TCanvasPaintScope scope(FCanvas, item->hDC);
  FCanvas->SetFont(FFont);
  FCanvas->SetBrush(FBrush);
  TRect r = item->rcItem;
  if (int(item->itemID) >= 0) {
    if (state.Contains(odSelected)) {
      FCanvas->GetBrush()->SetColor(clHighlight);
      FCanvas->GetFont()->SetColor(clHighlightText);
    }
    DrawItem(int(item->itemID), r, state);
  } else {
    FCanvas->FillRect(r);
  }
  if (state.Contains(odFocused) && !state.Contains(odNoFocusRect))
    ::DrawFocusRect(item->hDC, &r);
  Message.Result = 1;
}

void TCustomListBox::CNMeasureItem(TMessage& Message)
{
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  if (!item)
    return;
  int height = FItemHeight;
  if (FStyle == lbOwnerDrawVariable)
    MeasureItem(int(item->itemID), height);
  // The window keeps heights of 1 to 255 pixels.
  item->itemHeight = UINT(std::clamp(height, 1, 255));
  Message.Result = 1;
}
