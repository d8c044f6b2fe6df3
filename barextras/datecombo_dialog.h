// The modal window a date combo opens when it is clicked as a button: an edit and a month
// calendar that follow each other, OK and Cancel, and "Today" and "Clear" when the combo
// shows them. Window layer; the combo builds it, shows it and takes the edit's date on OK.
#pragma once

#include "barextras/cxDateUtils.h"
#include "platform/Forms.h"

class TButton;
struct TResStringRec;
class TEdit;
class TdxBarDateCombo;
class TdxBarDateNavigator;

class TdxBarDateComboDialog : public TForm {
  DECLARE_CLASS(TdxBarDateComboDialog, TForm)
public:
  explicit TdxBarDateComboDialog(TComponent* AOwner);

  // Makes the controls for the combo (its manager's font, its date, its buttons) and lays
  // them out; centred on the screen once shown.
  void Build(TdxBarDateCombo* ACombo);

  TEdit* GetEdit() const { return FEdit; }
  TdxBarDateNavigator* GetNavigator() const { return FNavigator; }
  TButton* GetOKButton() const { return FOK; }
  TButton* GetCancelButton() const { return FCancel; }
  // Nil when the combo does not show them.
  TButton* GetTodayButton() const { return FToday; }
  TButton* GetClearButton() const { return FClear; }

  // The date of the edit's text; the null date for an empty text or one that is no date.
  TDateTime GetEditDate() const;
  // Empty, or a date: what OK may hand to the combo.
  bool IsEditTextAcceptable() const;

protected:
  void Activate() override;

private:
  TButton* AddButton(const TResStringRec& AText, TModalResult AResult, intptr_t ATag);
  void EditChange(TObject* Sender);
  void NavigatorSelectionChanged();
  void DayButtonClick(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);

  TWeakRef<TdxBarDateCombo> FCombo;
  TEdit* FEdit = nullptr;
  TdxBarDateNavigator* FNavigator = nullptr;
  TButton* FOK = nullptr;
  TButton* FCancel = nullptr;
  TButton* FToday = nullptr;
  TButton* FClear = nullptr;
  // Set while one of the pair writes into the other, so neither echoes back.
  bool FSyncing = false;
};
