// The spin edit: an edit item holding a number (integer or floating), shown with an optional
// prefix or suffix and stepped by two spin buttons, the Up and Down keys or the wheel, with
// auto-repeat while a button is held. Model (TdxBarSpinEdit) and item control
// (TdxBarSpinEditControl), plus the text and number conversions they share.
#pragma once

#include "barextras/extitems.h"  // the unit starts with any of its kinds
#include "bars/itemcontrols/edits.h"

enum TdxBarSpinEditPrefixPlace { ppStart, ppEnd };
DECLARE_ENUM_INFO(TdxBarSpinEditPrefixPlace)
enum TdxBarSpinEditValueType { svtInteger, svtFloat };
DECLARE_ENUM_INFO(TdxBarSpinEditValueType)
enum TdxBarSpinEditButton { sbNone, sbUp, sbDown };
DECLARE_ENUM_INFO(TdxBarSpinEditButton)

using TdxBarSpinEditButtonClickEvent = TEvent<void(TObject* Sender, TdxBarSpinEditButton Button)>;

// --- Conversions. Texts use ADecimalSeparator as the decimal point.

// The user's decimal separator ("." when the locale does not say).
wchar_t dxBarSpinDecimalSeparator();
// svtFloat: 15 significant digits, an exponent past them ("1.5E20"); svtInteger: the value
// truncated toward zero, every digit written, however large. Infinities and NaN give "0".
String dxBarSpinValueToText(long double AValue, TdxBarSpinEditValueType AType, wchar_t ADecimalSeparator);
// svtInteger: an optional sign and decimal digits, of any length; svtFloat: also a decimal
// separator and an exponent. Blanks around the number are allowed. False for anything
// else, and for numbers beyond the floating range.
bool dxBarSpinTextToValue(const String& AText, TdxBarSpinEditValueType AType, wchar_t ADecimalSeparator,
                          long double& AValue);

class TdxBarSpinEdit : public TdxCustomBarEdit {
  DECLARE_CLASS(TdxBarSpinEdit, TdxCustomBarEdit)
public:
  explicit TdxBarSpinEdit(TComponent* AOwner);

  // A text whose number (the prefix taken out) does not convert is ignored; any other is
  // stored as the text of its number, adjusted and limited.
  void SetText(const String& Value) override;

  // --- The number and its text.
  String TextOfValue(long double AValue) const;
  // False when the text without the first occurrence of Prefix is not a number.
  bool TryValueOfText(const String& AText, long double& AValue) const;
  // MinValue for a text that is not a number.
  long double ValueOfText(const String& AText) const;
  // svtInteger truncates toward zero.
  long double AdjustValue(long double AValue) const;
  // Adjusted, then kept inside MinValue ... MaxValue unless both are 0.
  long double LimitValue(long double AValue) const;
  // The number shown by an open editor of a link, else Value; setting it limits it and
  // writes its text into that editor (or Text) when it differs.
  long double GetEditorValue() const;
  void SetEditorValue(long double AValue);
  // The editor value moved by Increment in the button's direction, then OnButtonClick.
  void Step(TdxBarSpinEditButton AButton);

  // --- Properties. Non-finite numbers are refused: Value, MinValue and MaxValue keep theirs,
  // Increment becomes 1.
  long double GetIncrement() const { return FIncrement; }
  void SetIncrement(long double Value);
  long double GetMaxValue() const { return FMaxValue; }
  void SetMaxValue(long double Value);
  long double GetMinValue() const { return FMinValue; }
  void SetMinValue(long double Value);
  String GetPrefix() const { return FPrefix; }
  void SetPrefix(const String& Value);
  TdxBarSpinEditPrefixPlace GetPrefixPlace() const { return FPrefixPlace; }
  void SetPrefixPlace(TdxBarSpinEditPrefixPlace Value);
  TdxBarSpinEditValueType GetValueType() const { return FValueType; }
  void SetValueType(TdxBarSpinEditValueType Value);
  long double GetValue() const { return ValueOfText(GetText()); }
  void SetValue(long double Value);
  bool IsIncrementStored() const { return FIncrement != 1.0L; }
  // A '-' can be typed when negative numbers are allowed: MinValue below 0 or no limits.
  bool AcceptsMinus() const;

  TdxBarSpinEditButtonClickEvent OnButtonClick;

private:
  bool HasLimits() const { return FMinValue != 0 || FMaxValue != 0; }
  // The prefix around a number's text.
  String WithPrefix(const String& ANumber) const;
  // Value and the editor value again after the limits changed.
  void ReapplyLimits();
  // Text := the text of AValue, through the window item's setter.
  void StoreValueText(long double AValue);

  long double FIncrement = 1.0L;
  long double FMaxValue = 0;
  long double FMinValue = 0;
  String FPrefix;
  TdxBarSpinEditPrefixPlace FPrefixPlace = ppEnd;
  TdxBarSpinEditValueType FValueType = svtInteger;
};

// The control's parts: the edit's, then the two spin buttons.
enum : int { dxBarSpinEditPartUp = 2, dxBarSpinEditPartDown = 3 };

class TdxBarSpinEditControl : public TdxBarEditControl {
  DECLARE_CLASS(TdxBarSpinEditControl, TdxBarEditControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarSpinEditControl(TdxBarItemLink* AItemLink);
  ~TdxBarSpinEditControl() override;

  TdxBarSpinEdit* GetSpinEdit() const;
  int GetPartCount() const override { return TdxBarEditControl::GetPartCount() + 2; }
  void CalcParts() override;
  void CalcDrawParams(bool AFull = true) override;
  void DrawTextArea(const TdxBarEditLikeControlDrawParams* AParams) override;
  // A press on a spin button starts editing, steps once and holds the button.
  void MouseDown(const TPoint& P) override;
  // The hot part: a button before the text part it lies in.
  void MouseMove(const TPoint& P) override;
  void Deactivate() override;

  // The part held by the mouse or an arrow key; -1 for none.
  int GetPressedPart() const { return FPressedPart; }
  // Whether the auto-repeat of a held button runs.
  bool IsRepeating() const { return FTimerId != 0; }
  // The column of both buttons with their margins; empty when the control has none.
  TRect GetButtonsRect() const;

protected:
  void CalcPainterParts(std::vector<TRect>& AParts) override;
  void WndProc(TMessage& Message) override;

private:
  static bool IsButtonPart(int APart) { return APart == dxBarSpinEditPartUp || APart == dxBarSpinEditPartDown; }
  static TdxBarSpinEditButton ButtonOfPart(int APart);
  // Where the editor window lies: the text area left of the buttons.
  TRect GetEditorRect() const;
  // The part under a point of the editor window (client coordinates); -1 outside.
  int PartAtEditorPoint(LPARAM APoint) const;
  int PartAt(const TPoint& P) const;
  bool CanStep() const;
  void SetPressedPart(int Value);
  void BeginHold(int APart);
  // Ends a hold: timer, capture (when still ours) and pressed part.
  void EndHold(bool AReleaseCapture);
  void StepPart(int APart);
  bool HandleMouse(TMessage& Message);
  bool HandleKey(TMessage& Message);
  bool IsCharAccepted(wchar_t AChar) const;

  int FPressedPart = -1;
  UINT_PTR FTimerId = 0;
  HWND FTimerWnd = nullptr;
};
