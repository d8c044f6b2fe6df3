// The date combo: a combo item that holds a date as the locale's text and drops down a
// month calendar to pick it, and its item control, whose editor steps the date with "+"
// and "-" and never stores a text that is no date. Model and item-control layer.
#pragma once

#include "barextras/cxDateUtils.h"
#include "bars/itemcontrols/combos.h"

class TdxBarDateComboDialog;
class TdxBarDateNavigator;

enum TdxBarDateOnStart { bdsToday, bdsNullDate, bdsCustom };
DECLARE_ENUM_INFO(TdxBarDateOnStart)

class TdxBarDateCombo : public TCustomdxBarCombo {
  DECLARE_CLASS(TdxBarDateCombo, TCustomdxBarCombo)
public:
  explicit TdxBarDateCombo(TComponent* AOwner);
  ~TdxBarDateCombo() override;

  void Loaded() override;
  bool CheckKeyForDropDownWindow(WORD AKey, TShiftState AShift) override;
  HWND GetDropDownWindow() override;
  void PrepareDropDown() override;
  void CloseUp() override;
  // Normalised: converted to a date, limited, written back as the date's text.
  void SetText(const String& Value) override;

  // The date of the text; the null date for none.
  TDateTime GetDate() const;
  void SetDate(TDateTime Value);
  // The date's text with a four-digit year, the short day name first with ShowDayText;
  // empty for the null date.
  String DateToText(TDateTime ADate) const;
  // Reads a text as DateToText writes it (a leading day name is skipped).
  TDateTime TextToDate(const String& AText) const;
  // The date kept inside MinDate ... MaxDate when either is set; the null date stays.
  TDateTime LimitDate(TDateTime ADate) const;

  TdxBarDateNavigator* GetNavigator() const { return FNavigator; }

  // Shows the modal date window on the item's date; on OK the item takes the window's
  // date and True is returned.
  bool SelectDate();
  // The date window while it is open; nil otherwise.
  TdxBarDateComboDialog* GetDialog() const { return FDialog; }

  // --- Properties.
  TdxBarDateOnStart GetDateOnStart() const { return FDateOnStart; }
  void SetDateOnStart(TdxBarDateOnStart Value);
  TDateTime GetMinDate() const { return FMinDate; }
  void SetMinDate(TDateTime Value);
  TDateTime GetMaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime Value);
  bool GetShowDayText() const { return FShowDayText; }
  void SetShowDayText(bool Value);
  bool GetShowTodayButton() const { return FShowTodayButton; }
  void SetShowTodayButton(bool Value) { FShowTodayButton = Value; }
  bool GetShowClearButton() const { return FShowClearButton; }
  void SetShowClearButton(bool Value) { FShowClearButton = Value; }
  bool IsMinDateStored() const { return FMinDate != 0; }
  bool IsMaxDateStored() const { return FMaxDate != 0; }
  bool IsTextStored() const { return FDateOnStart == bdsCustom; }

protected:
  // Without an OnClick handler, a click (the item shown as a button) opens the date window.
  void DoClick() override;

private:
  void ApplyDateOnStart();
  // MinDate or MaxDate moved: the shown date follows when it left the range.
  void LimitsChanged();
  void NavigatorDateSelected(TObject* Sender);

  TdxBarDateOnStart FDateOnStart = bdsToday;
  TdxBarDateNavigator* FNavigator = nullptr;
  TdxBarDateComboDialog* FDialog = nullptr;
  bool FInternalUpdate = false;
  TDateTime FMinDate = 0;
  TDateTime FMaxDate = 0;
  bool FShowDayText = true;
  bool FShowTodayButton = true;
  bool FShowClearButton = true;
};

class TdxBarDateComboControl : public TCustomdxBarComboControl {
  DECLARE_CLASS(TdxBarDateComboControl, TCustomdxBarComboControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarDateComboControl(TdxBarItemLink* AItemLink) : TCustomdxBarComboControl(AItemLink) {}

  TdxBarDateCombo* GetDateCombo() const;
  // A text that is no date is not stored: the item keeps its date.
  void StoreText() override;

protected:
  void WndProc(TMessage& Message) override;

private:
  // Whether the editor's text may become the item's: empty, or a date.
  bool IsEditorTextAcceptable() const;
  void StepDate(int ADays);
};
