// TCustomEdit over the native "EDIT" class: limits, read-only and password modes, the
// selection, and OnChange from the reflected EN_CHANGE notification.
#include "platform/StdCtrls.h"

DEFINE_ENUM_INFO(TEditCharCase, L"ecNormal", L"ecUpperCase", L"ecLowerCase")

IMPLEMENT_CLASS(TEdit, TCustomEdit)

PUBLISHED(TCustomEdit, TWinControl)
{
  p.Prop(L"TabStop", &TCustomEdit::GetTabStop, &TCustomEdit::SetTabStop).Default(true);
  p.Prop(L"ParentColor", &TCustomEdit::GetParentColor, &TCustomEdit::SetParentColor).Default(false);
  p.Prop(L"Text", &TCustomEdit::ReadText, &TCustomEdit::SetText);
  p.Prop(L"MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength).Default(0);
  p.Prop(L"ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly).Default(false);
  p.Prop(L"CharCase", &TCustomEdit::GetCharCase, &TCustomEdit::SetCharCase).Default(ecNormal);
  p.Prop(L"BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle).Default(bsSingle);
  p.Prop(L"AutoSelect", &TCustomEdit::GetAutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
  p.Event(L"OnChange", &TCustomEdit::OnChange);
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
  FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  FTabStop = true;
  SetBounds(0, 0, 121, 21);
  SetColor(clWindow);
  FParentColor = false;
}

String TCustomEdit::ReadText() const
{
  return const_cast<TCustomEdit*>(this)->GetText();
}

void TCustomEdit::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, L"EDIT");
  Params.Style |= ES_AUTOHSCROLL;
  if (FReadOnly)
    Params.Style |= ES_READONLY;
  if (FCharCase == ecUpperCase)
    Params.Style |= ES_UPPERCASE;
  else if (FCharCase == ecLowerCase)
    Params.Style |= ES_LOWERCASE;
  if (FPasswordChar)
    Params.Style |= ES_PASSWORD;
  if (FBorderStyle == bsSingle)
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomEdit::CreateWnd()
{
  TWinControl::CreateWnd();
  ::SendMessageW(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
  if (FPasswordChar)
    ::SendMessageW(FHandle, EM_SETPASSWORDCHAR, WPARAM(FPasswordChar), 0);
  ::SendMessageW(FHandle, EM_SETMODIFY, FModified ? TRUE : FALSE, 0);
  ::SendMessageW(FHandle, EM_SETSEL, WPARAM(FSelStart), LPARAM(FSelStart + FSelLength));
}

void TCustomEdit::Dispatch(TMessage& Message)
{
  if (Message.Msg == CN_COMMAND)
    return CNCommand(Message);
  TWinControl::Dispatch(Message);
}

void TCustomEdit::Change()
{
  CallEvent(OnChange, this);
}

void TCustomEdit::CNCommand(TMessage& Message)
{
  if (HIWORD(Message.WParam) == EN_CHANGE && !FControlState.Contains(csCreating))
    Change();
}

void TCustomEdit::CMTextChanged(TMessage& Message)
{
  TWinControl::CMTextChanged(Message);
  // The window reports its own changes with EN_CHANGE; without one we tell ourselves.
  if (!FHandle)
    Change();
}

void TCustomEdit::CMEnter(TMessage& Message)
{
  // Focus by keyboard selects everything; a click places the caret where it lands.
  if (FAutoSelect && ::GetKeyState(VK_LBUTTON) >= 0)
    SelectAll();
  TWinControl::CMEnter(Message);
}

void TCustomEdit::SetMaxLength(int Value)
{
  FMaxLength = std::max(Value, 0);
  if (FHandle)
    ::SendMessageW(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
}

void TCustomEdit::SetReadOnly(bool Value)
{
  FReadOnly = Value;
  if (FHandle)
    ::SendMessageW(FHandle, EM_SETREADONLY, Value ? TRUE : FALSE, 0);
}

void TCustomEdit::SetPasswordChar(wchar_t Value)
{
  if (FPasswordChar == Value)
    return;
  FPasswordChar = Value;
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value)
{
  if (FCharCase == Value)
    return;
  FCharCase = Value;
  // The style converts what is typed from now on; what is there is converted here.
  String text = GetText();
  if (Value == ecUpperCase)
    SetText(UpperCase(text));
  else if (Value == ecLowerCase)
    SetText(LowerCase(text));
  RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value)
{
  if (Value != bsNone)
    Value = bsSingle;
  if (FBorderStyle == Value)
    return;
  FBorderStyle = Value;
  RecreateWnd();
}

bool TCustomEdit::GetModified()
{
  if (FHandle)
    return ::SendMessageW(FHandle, EM_GETMODIFY, 0, 0) != 0;
  return FModified;
}

void TCustomEdit::SetModified(bool Value)
{
  FModified = Value;
  if (FHandle)
    ::SendMessageW(FHandle, EM_SETMODIFY, Value ? TRUE : FALSE, 0);
}

int TCustomEdit::GetSelStart()
{
  if (!FHandle)
    return FSelStart;
  DWORD start = 0, end = 0;
  ::SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return int(start);
}

void TCustomEdit::SetSelStart(int Value)
{
  Value = std::clamp(Value, 0, GetTextLen());
  FSelStart = Value;
  FSelLength = 0;
  if (FHandle)
    ::SendMessageW(FHandle, EM_SETSEL, WPARAM(Value), LPARAM(Value));
}

int TCustomEdit::GetSelLength()
{
  if (!FHandle)
    return FSelLength;
  DWORD start = 0, end = 0;
  ::SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return int(end - start);
}

void TCustomEdit::SetSelLength(int Value)
{
  int start = GetSelStart();
  Value = std::clamp(Value, 0, std::max(GetTextLen() - start, 0));
  FSelStart = start;
  FSelLength = Value;
  if (FHandle)
    ::SendMessageW(FHandle, EM_SETSEL, WPARAM(start), LPARAM(start + Value));
}

String TCustomEdit::GetSelText()
{
  String text = GetText();
  int start = std::clamp(GetSelStart(), 0, int(text.size()));
  int length = std::clamp(GetSelLength(), 0, int(text.size()) - start);
  return text.substr(size_t(start), size_t(length));
}

void TCustomEdit::SetSelText(const String& Value)
{
  if (FHandle) {
    ::SendMessageW(FHandle, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Value.c_str()));
    return;
  }
  String text = GetText();
  int start = std::clamp(FSelStart, 0, int(text.size()));
  int length = std::clamp(FSelLength, 0, int(text.size()) - start);
  text.replace(size_t(start), size_t(length), Value);
  SetText(text);
  FSelStart = start + int(Value.size());
  FSelLength = 0;
}

void TCustomEdit::SelectAll()
{
  FSelStart = 0;
  FSelLength = GetTextLen();
  if (FHandle)
    ::SendMessageW(FHandle, EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection()
{
  SetSelText(String());
}
