// The modal select window and its push buttons.
#include "barextras/selectdialog.h"

#include <algorithm>

#include "bars/utils/dxBarStrs.h"
#include "lookandfeel/cxClasses.h"
#include "platform/Canvas.h"
#include "platform/Messages.h"

IMPLEMENT_CLASS(TdxBarDialogButton, TWinControl)
IMPLEMENT_CLASS(TdxBarSelectItemForm, TForm)

// ---------------------------------------------------------------------------
// TdxBarDialogButton

void TdxBarDialogButton::SetDefault(bool Value)
{
  if (FDefault == Value)
    return;
  FDefault = Value;
  if (HandleAllocated())
    ::SendMessageW(GetHandle(), BM_SETSTYLE, WPARAM(Value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), TRUE);
}

void TdxBarDialogButton::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, L"BUTTON");
  Params.Style |= WS_TABSTOP | (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TdxBarDialogButton::Dispatch(TMessage& Message)
{
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  TWinControl::Dispatch(Message);
}

void TdxBarDialogButton::Click()
{
  TWeakRef<TdxBarDialogButton> self(this);
  TWinControl::Click();
  if (!self)
    return;
  for (TWinControl* parent = GetParent(); parent; parent = parent->GetParent())
    if (TCustomForm* form = parent->AsForm()) {
      if (auto* select = dynamic_cast<TdxBarSelectItemForm*>(form); select && FModalResult == mrOk)
        select->Choose();
      else
        form->SetModalResult(FModalResult);
      return;
    }
}

// ---------------------------------------------------------------------------
// TdxBarSelectItemForm

namespace {

// The layout in widths of "0": the margin, a button and the gap between buttons; the
// content's size; and the button height in text heights.
constexpr int MarginUnits = 1, ButtonUnits = 10, ContentWidthUnits = 32, ContentHeightUnits = 24;

}  // namespace

TdxBarSelectItemForm::TdxBarSelectItemForm(TComponent* AOwner) : TForm(AOwner) {}

void TdxBarSelectItemForm::Build(const String& ACaption, TWinControl* AContent)
{
  SetCaption(ACaption);
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  const int zero = std::max(GetCanvas()->TextWidth(L"0"), 4);
  const int textHeight = std::max(GetCanvas()->TextHeight(L"0"), 8);
  const int margin = zero * MarginUnits + 4;
  const int buttonWidth = zero * ButtonUnits;
  const int buttonHeight = textHeight * 7 / 4;
  const int contentWidth = std::max(zero * ContentWidthUnits, 2 * buttonWidth + margin);
  const int contentHeight = zero * ContentHeightUnits;
  SetClientWidth(contentWidth + 2 * margin);
  SetClientHeight(contentHeight + buttonHeight + 3 * margin);
  FContent = AContent;
  if (FContent) {
    FContent->SetParent(this);
    FContent->SetBounds(margin, margin, contentWidth, contentHeight);
    FContent->SetTabOrder(0);
  }
  const int top = margin * 2 + contentHeight;
  FOK = new TdxBarDialogButton(this);
  FOK->SetParent(this);
  FOK->SetCaption(GetResourceString(sdxBarSelectOK));
  FOK->SetModalResult(mrOk);
  FOK->SetDefault(true);
  FOK->SetBounds(margin + contentWidth - 2 * buttonWidth - margin, top, buttonWidth, buttonHeight);
  FCancel = new TdxBarDialogButton(this);
  FCancel->SetParent(this);
  FCancel->SetCaption(GetResourceString(sdxBarSelectCancel));
  FCancel->SetModalResult(mrCancel);
  FCancel->SetBounds(margin + contentWidth - buttonWidth, top, buttonWidth, buttonHeight);
}

void TdxBarSelectItemForm::Choose()
{
  if (OnChoose.Assigned())
    OnChoose(this);
  else
    ChooseOK();
}

void TdxBarSelectItemForm::Activate()
{
  TForm::Activate();
  // The entries take the keys from the start; before the window shows they cannot.
  if (FContent && FContent->CanFocus() && !FContent->Focused())
    FContent->SetFocus();
}

void TdxBarSelectItemForm::Dispatch(TMessage& Message)
{
  // Enter and Esc that the focused control does not want choose and cancel.
  if (Message.Msg == CM_DIALOGKEY && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
    if (Message.WParam == VK_RETURN)
      Choose();
    else
      SetModalResult(mrCancel);
    Message.Result = 1;
    return;
  }
  TForm::Dispatch(Message);
}
