// The push button and the check box over the native "BUTTON" class: clicks come back as the
// reflected BN_CLICKED, Enter and Esc reach default and cancel buttons as dialog keys, and the
// check state is the object's, so a remade window shows it again.
#include "platform/StdCtrls.h"

#include "platform/Menus.h"
#include "platform/Scope.h"

DEFINE_ENUM_INFO(TCheckBoxState, L"cbUnchecked", L"cbChecked", L"cbGrayed")

IMPLEMENT_CLASS(TCheckBox, TCustomCheckBox)

bool IsAccel(wchar_t Key, const String& Caption)
{
  const wchar_t accel = GetAccelChar(Caption);
  return accel && ::CharUpperW(reinterpret_cast<LPWSTR>(uintptr_t(accel))) ==
                      ::CharUpperW(reinterpret_cast<LPWSTR>(uintptr_t(Key)));
}

// ---------------------------------------------------------------------------
// TButtonActionLink

IMPLEMENT_CLASS(TButtonActionLink, TActionLink)

TButtonActionLink::TButtonActionLink(TButtonControl* AClient) : TActionLink(AClient), FButton(AClient) {}

// A property stays linked while the button's value is still the action's.
bool TButtonActionLink::IsCaptionLinked() const
{
  return TActionLink::IsCaptionLinked() && FButton->GetCaption() == CustomAction()->Caption();
}

bool TButtonActionLink::IsEnabledLinked() const
{
  return TActionLink::IsEnabledLinked() && FButton->GetEnabled() == CustomAction()->Enabled();
}

bool TButtonActionLink::IsHintLinked() const
{
  return TActionLink::IsHintLinked() && FButton->GetHint() == CustomAction()->Hint();
}

bool TButtonActionLink::IsVisibleLinked() const
{
  return TActionLink::IsVisibleLinked() && FButton->GetVisible() == CustomAction()->Visible();
}

bool TButtonActionLink::IsCheckedLinked() const
{
  return TActionLink::IsCheckedLinked() && FButton->GetCheckedForAction() == CustomAction()->Checked();
}

bool TButtonActionLink::IsOnExecuteLinked() const
{
  return FAction && FButton->OnClick == FAction->OnExecute();
}

void TButtonActionLink::SetCaption(const String& Value)
{
  if (IsCaptionLinked())
    FButton->SetCaption(Value);
}

void TButtonActionLink::SetEnabled(bool Value)
{
  if (IsEnabledLinked())
    FButton->SetEnabled(Value);
}

void TButtonActionLink::SetHint(const String& Value)
{
  if (IsHintLinked())
    FButton->SetHint(Value);
}

void TButtonActionLink::SetVisible(bool Value)
{
  if (IsVisibleLinked())
    FButton->SetVisible(Value);
}

void TButtonActionLink::SetChecked(bool Value)
{
  if (!IsCheckedLinked())
    return;
  TRestore quiet(FButton->FClicksDisabled, true);
  FButton->SetCheckedForAction(Value);
}

// ---------------------------------------------------------------------------
// TButtonControl

PUBLISHED(TButtonControl, TWinControl)
{
  p.Component(L"Action", &TButtonControl::GetAction, &TButtonControl::SetAction);
}

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner)
{
  // The native control captures the mouse and reports the click itself.
  FControlStyle = {csSetCaption, csDoubleClicks};
  FTabStop = true;
  SetColor(clBtnFace);
}

TButtonControl::~TButtonControl()
{
  // The link leaves the action's list of clients before the button goes.
  FActionLink.reset();
}

void TButtonControl::SetAction(TBasicAction* Value)
{
  if (GetAction() == Value)
    return;
  if (!Value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink)
    FActionLink = std::make_unique<TButtonActionLink>(this);
  FActionLink->SetAction(Value);
  // The button shows the action from now on.
  if (auto* action = dynamic_cast<TCustomAction*>(Value)) {
    SetCaption(action->Caption());
    SetEnabled(action->Enabled());
    SetHint(action->Hint());
    SetVisible(action->Visible());
    TRestore quiet(FClicksDisabled, true);
    SetCheckedForAction(action->Checked());
  }
}

void TButtonControl::Click()
{
  // An OnClick of the button's own wins; otherwise the action runs.
  TBasicAction* action = GetAction();
  if (OnClick.Assigned() && (!action || !(OnClick == action->OnExecute()))) {
    OnClick(this);
    return;
  }
  if (action && !FComponentState.Contains(csDesigning)) {
    FActionLink->Execute(this);
    return;
  }
  TWinControl::Click();
}

bool TButtonControl::ClicksDisabled() const
{
  return FClicksDisabled || FComponentState.Contains(csLoading) || FComponentState.Contains(csReading);
}

void TButtonControl::Dispatch(TMessage& Message)
{
  if (Message.Msg == CN_CTLCOLORBTN || Message.Msg == CN_CTLCOLORSTATIC)
    return CNCtlColor(Message);
  TWinControl::Dispatch(Message);
}

void TButtonControl::CNCtlColor(TMessage& Message)
{
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  ::SetTextColor(dc, ColorToRGB(FFont->GetColor()));
  ::SetBkColor(dc, ColorToRGB(FColor));
  Message.Result = reinterpret_cast<LRESULT>(FBrush->GetHandle());
}

// ---------------------------------------------------------------------------
// TButton

PUBLISHED(TButton, TButtonControl)
{
  p.Prop(L"TabStop", &TButton::GetTabStop, &TButton::SetTabStop).Default(true);
  p.Prop(L"Default", &TButton::GetDefault, &TButton::SetDefault).Default(false);
  p.Prop(L"Cancel", &TButton::GetCancel, &TButton::SetCancel).Default(false);
  p.Prop(L"ModalResult", &TButton::GetModalResult, &TButton::SetModalResult).Default(mrNone);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
  SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool Value)
{
  if (FDefault == Value)
    return;
  FDefault = Value;
  // Enter goes to this button unless another button holds the focus now.
  TCustomForm* form = GetParentForm(this, false);
  TWinControl* focused = form ? form->GetFocusedControl() : nullptr;
  if (!dynamic_cast<TButton*>(focused))
    FActive = Value;
  else
    FActive = focused == this;
  SetButtonStyle(FActive);
}

void TButton::Click()
{
  TWeakRef<TButton> self(this);
  if (FModalResult != mrNone)
    if (TCustomForm* form = GetParentForm(this))
      form->SetModalResult(FModalResult);
  if (self)
    TButtonControl::Click();
}

void TButton::CreateParams(TCreateParams& Params)
{
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, L"BUTTON");
  Params.Style |= FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd()
{
  TButtonControl::CreateWnd();
  SetButtonStyle(FActive);
}

void TButton::SetButtonStyle(bool ADefault)
{
  if (!FHandle)
    return;
  DWORD style = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((::GetWindowLongPtrW(FHandle, GWL_STYLE) & 0xF) != style)
    ::SendMessageW(FHandle, BM_SETSTYLE, style, TRUE);
}

void TButton::Dispatch(TMessage& Message)
{
  // clang-format off
  switch (Message.Msg) {
    case CN_COMMAND: return CNCommand(Message);
    case CM_FOCUSCHANGED: return CMFocusChanged(Message);
    default: return TButtonControl::Dispatch(Message);
  }
  // clang-format on
}

void TButton::CNCommand(TMessage& Message)
{
  if (HIWORD(Message.WParam) == BN_CLICKED)
    Click();
}

void TButton::CMFocusChanged(TMessage& Message)
{
  auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
  if (dynamic_cast<TButton*>(focused))
    FActive = focused == this;
  else
    FActive = FDefault;
  SetButtonStyle(FActive);
}

void TButton::CMDialogKey(TMessage& Message)
{
  WORD key = WORD(Message.WParam);
  bool alt = KeyDataHasAlt(Message.LParam);
  if (((key == VK_RETURN && FActive) || (key == VK_ESCAPE && FCancel)) && !alt && IsShowing() && IsEnabledInParents()) {
    Click();
    Message.Result = 1;
    return;
  }
  TButtonControl::CMDialogKey(Message);
}

void TButton::CMDialogChar(TMessage& Message)
{
  if (IsAccel(wchar_t(Message.WParam), GetText()) && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TButtonControl::CMDialogChar(Message);
}

// ---------------------------------------------------------------------------
// TCustomCheckBox

PUBLISHED(TCustomCheckBox, TButtonControl)
{
  p.Prop(L"TabStop", &TCustomCheckBox::GetTabStop, &TCustomCheckBox::SetTabStop).Default(true);
  p.Prop(L"Alignment", &TCustomCheckBox::GetAlignment, &TCustomCheckBox::SetAlignment).Default(taRightJustify);
  p.Prop(L"AllowGrayed", &TCustomCheckBox::GetAllowGrayed, &TCustomCheckBox::SetAllowGrayed).Default(false);
  p.Prop(L"Checked", &TCustomCheckBox::GetChecked, &TCustomCheckBox::SetChecked).Default(false);
  // Only the grayed state needs more than Checked to be written.
  p.Prop(L"State", &TCustomCheckBox::GetState, &TCustomCheckBox::SetState).Stored(&TCustomCheckBox::IsStateStored);
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
  SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::SetState(TCheckBoxState Value)
{
  if (Value < cbUnchecked || Value > cbGrayed || FState == Value)
    return;
  FState = Value;
  if (FHandle)
    ::SendMessageW(FHandle, BM_SETCHECK, WPARAM(FState), 0);
  if (!ClicksDisabled())
    Click();
}

void TCustomCheckBox::SetAlignment(TAlignment Value)
{
  if (FAlignment == Value)
    return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomCheckBox::Toggle()
{
  // clang-format off
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
  // clang-format on
}

void TCustomCheckBox::CreateParams(TCreateParams& Params)
{
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, L"BUTTON");
  // The state is ours: the native control only shows it.
  Params.Style |= BS_3STATE;
  if (FAlignment == taLeftJustify)
    Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd()
{
  TButtonControl::CreateWnd();
  ::SendMessageW(FHandle, BM_SETCHECK, WPARAM(FState), 0);
}

void TCustomCheckBox::Dispatch(TMessage& Message)
{
  if (Message.Msg == CN_COMMAND)
    return CNCommand(Message);
  TButtonControl::Dispatch(Message);
}

void TCustomCheckBox::CNCommand(TMessage& Message)
{
  if (HIWORD(Message.WParam) == BN_CLICKED)
    Toggle();
}

void TCustomCheckBox::CMDialogChar(TMessage& Message)
{
  if (IsAccel(wchar_t(Message.WParam), GetText()) && CanFocus()) {
    SetFocus();
    if (Focused())
      Toggle();
    Message.Result = 1;
    return;
  }
  TButtonControl::CMDialogChar(Message);
}
