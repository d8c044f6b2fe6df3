// The modal "select" window of the list-like combos: the combo's entries in a control of
// the combo's choosing above an OK and a Cancel button. Enter and a double click on an entry
// choose, Esc cancels. Window layer; the combos fill the control and read the choice.
#pragma once

#include "platform/Forms.h"

// A native push button that ends its modal form with a result.
class TdxBarDialogButton : public TWinControl {
  DECLARE_CLASS(TdxBarDialogButton, TWinControl)
public:
  explicit TdxBarDialogButton(TComponent* AOwner) : TWinControl(AOwner) {}

  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // Drawn as the default button (Enter's).
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);

  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  // Ends the button's form with the button's result.
  void Click() override;

private:
  TModalResult FModalResult = mrNone;
  bool FDefault = false;
};

class TdxBarSelectItemForm : public TForm {
  DECLARE_CLASS(TdxBarSelectItemForm, TForm)
public:
  explicit TdxBarSelectItemForm(TComponent* AOwner);

  // Lays the window out around AContent (owned by the form, made a child of it): the content
  // fills the client area above the button row. Sizes follow the width of "0" in the font.
  void Build(const String& ACaption, TWinControl* AContent);
  TWinControl* GetContent() const { return FContent; }
  TdxBarDialogButton* GetOKButton() const { return FOK; }
  TdxBarDialogButton* GetCancelButton() const { return FCancel; }
  // Closes the window with OK.
  void ChooseOK() { SetModalResult(mrOk); }
  // Enter and the OK button: OnChoose decides (and calls ChooseOK) when assigned, else OK.
  void Choose();

  TNotifyEvent OnChoose;

  void Dispatch(TMessage& Message) override;

protected:
  void Activate() override;

private:
  TWinControl* FContent = nullptr;
  TdxBarDialogButton* FOK = nullptr;
  TdxBarDialogButton* FCancel = nullptr;
};
