// TCustomComboBox over the native "COMBOBOX" class: items mirrored from a string list, the
// selection and text kept while the window does not exist, a user's choice reported through
// the reflected CBN_ notifications.
#include "platform/StdCtrls.h"

DEFINE_ENUM_INFO(TComboBoxStyle, L"csDropDown", L"csSimple", L"csDropDownList")

IMPLEMENT_CLASS(TComboBox, TCustomComboBox)

PUBLISHED(TCustomComboBox, TWinControl)
{
  p.Prop(L"TabStop", &TCustomComboBox::GetTabStop, &TCustomComboBox::SetTabStop).Default(true);
  p.Prop(L"ParentColor", &TCustomComboBox::GetParentColor, &TCustomComboBox::SetParentColor).Default(false);
  p.Prop(L"Style", &TCustomComboBox::GetStyle, &TCustomComboBox::SetStyle).Default(csDropDown);
  p.Prop(L"DropDownCount", &TCustomComboBox::GetDropDownCount, &TCustomComboBox::SetDropDownCount).Default(8);
  p.Prop(L"MaxLength", &TCustomComboBox::GetMaxLength, &TCustomComboBox::SetMaxLength).Default(0);
  p.Prop(L"Sorted", &TCustomComboBox::GetSorted, &TCustomComboBox::SetSorted).Default(false);
  p.Object(L"Items", &TCustomComboBox::GetItems, &TCustomComboBox::SetItems);
  // After the items, so that a drop-down list finds the item it names.
  p.Prop(L"ItemIndex", &TCustomComboBox::ReadItemIndex, &TCustomComboBox::SetItemIndex).Default(-1);
  p.Prop(L"Text", &TCustomComboBox::ReadText, &TCustomComboBox::WriteText);
  p.Event(L"OnChange", &TCustomComboBox::OnChange);
  p.Event(L"OnSelect", &TCustomComboBox::OnSelect);
  p.Event(L"OnDropDown", &TCustomComboBox::OnDropDown);
  p.Event(L"OnCloseUp", &TCustomComboBox::OnCloseUp);
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner)
{
  FItems = new TListBoxStrings(this);
  FControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
  FTabStop = true;
  SetBounds(0, 0, 145, 21);
  SetColor(clWindow);
  FParentColor = false;
}

TCustomComboBox::~TCustomComboBox()
{
  if (FHandle)
    DestroyWindowHandle();
  TListBoxStrings* items = FItems;
  FItems = nullptr;
  delete items;
}

void TCustomComboBox::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, L"COMBOBOX");
  Params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  // clang-format off
  switch (FStyle) {
    case csDropDown: Params.Style |= CBS_DROPDOWN; break;
    case csSimple: Params.Style |= CBS_SIMPLE; break;
    case csDropDownList: Params.Style |= CBS_DROPDOWNLIST; break;
  }
  // clang-format on
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::CreateWnd()
{
  String text = FEditText;
  TWinControl::CreateWnd();
  ::SendMessageW(FHandle, CB_SETMINVISIBLE, WPARAM(FDropDownCount), 0);
  ::SendMessageW(FHandle, CB_LIMITTEXT, WPARAM(FMaxLength), 0);
  for (int i = 0; i < FItems->Count(); ++i)
    WindowInsert(i, FItems->Get(i));
  if (FItemIndex >= 0 && FItemIndex < FItems->Count())
    ::SendMessageW(FHandle, CB_SETCURSEL, WPARAM(FItemIndex), 0);
  else if (FStyle != csDropDownList)
    ::SendMessageW(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomComboBox::DestroyWnd()
{
  if (FHandle && !FComponentState.Contains(csDestroying)) {
    FItemIndex = GetItemIndex();
    FEditText = ReadText();
  }
  TWinControl::DestroyWnd();
}

// The window mirror; without a window the kept selection follows the items.
void TCustomComboBox::WindowInsert(int Index, const String& S)
{
  if (FHandle) {
    LRESULT r = ::SendMessageW(FHandle, CB_INSERTSTRING, WPARAM(Index), reinterpret_cast<LPARAM>(S.c_str()));
    if (r == CB_ERR || r == CB_ERRSPACE)
      throw EOutOfResources(L"The combo box cannot take more items");
    return;
  }
  if (FItemIndex >= Index)
    ++FItemIndex;
}

void TCustomComboBox::WindowDelete(int Index)
{
  if (FHandle) {
    // The chosen entry stays chosen when one above it goes.
    int selected = GetItemIndex();
    ::SendMessageW(FHandle, CB_DELETESTRING, WPARAM(Index), 0);
    if (selected > Index)
      ::SendMessageW(FHandle, CB_SETCURSEL, WPARAM(selected - 1), 0);
    return;
  }
  if (FItemIndex == Index)
    FItemIndex = -1;
  else if (FItemIndex > Index)
    --FItemIndex;
}

void TCustomComboBox::WindowClear()
{
  if (FHandle) {
    // The edit's text survives a reset of the list, as the user typed it.
    String text = FStyle == csDropDownList ? String() : ReadText();
    ::SendMessageW(FHandle, CB_RESETCONTENT, 0, 0);
    if (!text.empty())
      ::SendMessageW(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return;
  }
  FItemIndex = -1;
}

void TCustomComboBox::WindowUpdating(bool Updating)
{
  SetListRedraw(FHandle, Updating);
}

void TCustomComboBox::Clear()
{
  FItems->Clear();
  WriteText(String());
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
  if (Value < csDropDown || Value > csDropDownList || FStyle == Value)
    return;
  FStyle = Value;
  RecreateWnd();
}

int TCustomComboBox::GetItemIndex()
{
  if (!FHandle)
    return FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItemIndex : -1;
  return int(::SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int Value)
{
  if (Value < -1 || Value >= FItems->Count())
    Value = -1;
  if (!FHandle) {
    FItemIndex = Value;
    FEditText = Value >= 0 ? FItems->Get(Value) : String();
    return;
  }
  ::SendMessageW(FHandle, CB_SETCURSEL, WPARAM(Value), 0);
}

void TCustomComboBox::SetDropDownCount(int Value)
{
  FDropDownCount = std::max(Value, 1);
  if (FHandle)
    ::SendMessageW(FHandle, CB_SETMINVISIBLE, WPARAM(FDropDownCount), 0);
}

void TCustomComboBox::SetMaxLength(int Value)
{
  FMaxLength = std::max(Value, 0);
  if (FHandle)
    ::SendMessageW(FHandle, CB_LIMITTEXT, WPARAM(FMaxLength), 0);
}

void TCustomComboBox::SetSorted(bool Value)
{
  TStringList& list = FItems->List();
  if (list.Sorted() == Value)
    return;
  int index = GetItemIndex();
  String selected = index >= 0 ? FItems->Get(index) : String();
  list.SetSorted(Value);
  if (!Value)
    return;
  // The list reordered itself: the window follows, and the chosen item stays chosen.
  String text = ReadText();
  WindowClear();
  for (int i = 0; i < list.GetCount(); ++i)
    WindowInsert(i, list.Get(i));
  if (index >= 0)
    SetItemIndex(list.IndexOf(selected));
  else if (FStyle != csDropDownList)
    WriteText(text);
}

bool TCustomComboBox::GetDroppedDown()
{
  return FHandle && ::SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value)
{
  ::SendMessageW(GetHandle(), CB_SHOWDROPDOWN, Value ? TRUE : FALSE, 0);
}

String TCustomComboBox::ReadText() const
{
  if (!FHandle) {
    if (FStyle == csDropDownList)
      return FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItems->Get(FItemIndex) : String();
    return FEditText;
  }
  int length = int(::GetWindowTextLengthW(FHandle));
  String text(size_t(length) + 1, L'\0');
  int n = ::GetWindowTextW(FHandle, text.data(), length + 1);
  text.resize(size_t(std::max(n, 0)));
  return text;
}

void TCustomComboBox::WriteText(const String& Value)
{
  if (FStyle == csDropDownList) {
    // Only an entry with exactly this text is chosen (the list's own search ignores case).
    int found = -1;
    for (int i = 0; i < FItems->Count() && found < 0; ++i)
      if (FItems->Get(i) == Value)
        found = i;
    SetItemIndex(found);
    return;
  }
  if (!FHandle) {
    FEditText = Value;
    FItemIndex = -1;
    return;
  }
  ::SendMessageW(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomComboBox::Dispatch(TMessage& Message)
{
  // clang-format off
  switch (Message.Msg) {
    case CN_COMMAND: return CNCommand(Message);
    case CM_WANTSPECIALKEY: return CMWantSpecialKey(Message);
    default: return TWinControl::Dispatch(Message);
  }
  // clang-format on
}

void TCustomComboBox::CMWantSpecialKey(TMessage& Message)
{
  // An open list takes Enter and Esc to close itself, before the form's buttons see them.
  WORD key = WORD(Message.WParam);
  if ((key == VK_RETURN || key == VK_ESCAPE) && GetDroppedDown())
    Message.Result = 1;
}

void TCustomComboBox::AdjustDropDown()
{
  // The list opens as tall as DropDownCount entries (or all of them, when fewer): its
  // window's height is what the combo box takes as the least height of the open list.
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!FHandle || !::GetComboBoxInfo(FHandle, &info) || !info.hwndList)
    return;
  int itemHeight = int(::SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0));
  int count = std::clamp(FItems->Count(), 1, FDropDownCount);
  RECT r{};
  ::GetWindowRect(info.hwndList, &r);
  ::SetWindowPos(info.hwndList, nullptr, 0, 0, r.right - r.left, itemHeight * count + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::Change()
{
  CallEvent(OnChange, this);
}

void TCustomComboBox::Select()
{
  if (OnSelect.Assigned())
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::CNCommand(TMessage& Message)
{
  TWeakRef<TCustomComboBox> self(this);
  // clang-format off
  switch (HIWORD(Message.WParam)) {
    case CBN_SELCHANGE:
      Click();
      if (self)
        Select();
      break;
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN:
      AdjustDropDown();
      CallEvent(OnDropDown, this);
      break;
    case CBN_CLOSEUP: CallEvent(OnCloseUp, this); break;
    default: break;
  }
  // clang-format on
}
