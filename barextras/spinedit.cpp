// The spin edit item: its number, the text that shows it, limits, increments and stepping;
// and the conversions between numbers and texts.
#include "barextras/spinedit.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/SysUtils.h"

DEFINE_ENUM_INFO(TdxBarSpinEditPrefixPlace, L"ppStart", L"ppEnd")
DEFINE_ENUM_INFO(TdxBarSpinEditValueType, L"svtInteger", L"svtFloat")
DEFINE_ENUM_INFO(TdxBarSpinEditButton, L"sbNone", L"sbUp", L"sbDown")

PUBLISHED(TdxBarSpinEdit, TdxCustomBarEdit)
{
  using I = TdxBarSpinEdit;
  p.Prop(L"MaxLength", &I::GetMaxLength, &I::SetMaxLength).Default(0);
  p.Prop(L"ReadOnly", &I::GetReadOnly, &I::SetReadOnly).Default(false);
  p.Component(L"StyleEdit", &I::GetStyleEdit, &I::SetStyleEdit);
  // Read before the numbers, so that a stored fraction is not cut by the integer default.
  p.Prop(L"ValueType", &I::GetValueType, &I::SetValueType).Default(svtInteger);
  p.Prop(L"Increment", &I::GetIncrement, &I::SetIncrement).Stored(&I::IsIncrementStored);
  p.Prop(L"MaxValue", &I::GetMaxValue, &I::SetMaxValue);
  p.Prop(L"MinValue", &I::GetMinValue, &I::SetMinValue);
  p.Prop(L"Prefix", &I::GetPrefix, &I::SetPrefix);
  p.Prop(L"PrefixPlace", &I::GetPrefixPlace, &I::SetPrefixPlace).Default(ppEnd);
  p.Prop(L"Text", &I::GetText, &I::SetText).Stored(false);
  p.Prop(L"Value", &I::GetValue, &I::SetValue);
  p.Event(L"OnButtonClick", &I::OnButtonClick);
}

namespace {

// Numbers past the double range cannot be written as text and read back.
bool IsUsable(long double AValue)
{
  return std::isfinite(double(AValue));
}

String TrimBlanks(const String& AText)
{
  const size_t first = AText.find_first_not_of(L" \t");
  if (first == String::npos)
    return String();
  const size_t last = AText.find_last_not_of(L" \t");
  return AText.substr(first, last - first + 1);
}

// The plain decimal form: sign, digits, one point and (floats only) an exponent; from_chars
// alone would also take "inf", "nan" and hexadecimal digits.
bool IsNumberText(const std::string& AText, bool AFloat)
{
  size_t i = 0;
  const size_t n = AText.size();
  auto digits = [&] {
    const size_t start = i;
    while (i < n && AText[i] >= '0' && AText[i] <= '9')
      ++i;
    return i - start;
  };
  if (i < n && (AText[i] == '-' || AText[i] == '+'))
    ++i;
  size_t mantissa = digits();
  if (!AFloat)
    return mantissa > 0 && i == n;
  if (i < n && AText[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0)
    return false;
  if (i < n && (AText[i] == 'e' || AText[i] == 'E')) {
    ++i;
    if (i < n && (AText[i] == '-' || AText[i] == '+'))
      ++i;
    if (digits() == 0)
      return false;
  }
  return i == n;
}

}  // namespace

wchar_t dxBarSpinDecimalSeparator()
{
  wchar_t text[8] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, int(std::size(text))) < 2)
    return L'.';
  return text[0];
}

String dxBarSpinValueToText(long double AValue, TdxBarSpinEditValueType AType, wchar_t ADecimalSeparator)
{
  if (!IsUsable(AValue))
    return L"0";
  if (AType == svtFloat) {
    String text = Format(L"%.15g", {double(AValue)});
    for (wchar_t& ch : text)
      if (ch == L'.')
        ch = ADecimalSeparator;
    return text;
  }
  // Every digit, also past the 64-bit range, where a cast to an integer would be undefined.
  const double whole = double(std::trunc(AValue));
  char buffer[400];
  const std::to_chars_result r =
      std::to_chars(buffer, buffer + sizeof buffer, whole == 0 ? 0.0 : whole, std::chars_format::fixed, 0);
  return String(buffer, r.ptr);
}

bool dxBarSpinTextToValue(const String& AText, TdxBarSpinEditValueType AType, wchar_t ADecimalSeparator,
                          long double& AValue)
{
  const String text = TrimBlanks(AText);
  std::string narrow;
  narrow.reserve(text.size());
  for (wchar_t ch : text) {
    if (AType == svtFloat && ch == ADecimalSeparator)
      narrow += '.';
    else if (ch < 0x80 && ch != L'.')
      narrow += char(ch);
    else
      return false;
  }
  if (!IsNumberText(narrow, AType == svtFloat))
    return false;
  // from_chars takes no plus sign.
  const char* first = narrow.data() + (!narrow.empty() && narrow[0] == '+' ? 1 : 0);
  double value = 0;
  const std::from_chars_result r = std::from_chars(first, narrow.data() + narrow.size(), value);
  if (r.ec != std::errc() || r.ptr != narrow.data() + narrow.size() || !std::isfinite(value))
    return false;
  AValue = value;
  return true;
}

// ---------------------------------------------------------------------------
// TdxBarSpinEdit

TdxBarSpinEdit::TdxBarSpinEdit(TComponent* AOwner) : TdxCustomBarEdit(AOwner)
{
  StoreTextValue(L"0");
}

String TdxBarSpinEdit::WithPrefix(const String& ANumber) const
{
  return FPrefixPlace == ppStart ? FPrefix + ANumber : ANumber + FPrefix;
}

String TdxBarSpinEdit::TextOfValue(long double AValue) const
{
  return WithPrefix(dxBarSpinValueToText(AValue, FValueType, dxBarSpinDecimalSeparator()));
}

bool TdxBarSpinEdit::TryValueOfText(const String& AText, long double& AValue) const
{
  String number = AText;
  if (!FPrefix.empty())
    if (const size_t at = number.find(FPrefix); at != String::npos)
      number.erase(at, FPrefix.size());
  return dxBarSpinTextToValue(number, FValueType, dxBarSpinDecimalSeparator(), AValue);
}

long double TdxBarSpinEdit::ValueOfText(const String& AText) const
{
  long double value = 0;
  return TryValueOfText(AText, value) ? value : FMinValue;
}

long double TdxBarSpinEdit::AdjustValue(long double AValue) const
{
  return FValueType == svtInteger ? std::trunc(AValue) : AValue;
}

long double TdxBarSpinEdit::LimitValue(long double AValue) const
{
  AValue = AdjustValue(AValue);
  if (!HasLimits())
    return AValue;
  if (AValue < FMinValue)
    return FMinValue;
  if (AValue > FMaxValue)
    return FMaxValue;
  return AValue;
}

void TdxBarSpinEdit::StoreValueText(long double AValue)
{
  TdxCustomBarEdit::SetText(TextOfValue(AValue));
}

void TdxBarSpinEdit::SetText(const String& Value)
{
  long double value = 0;
  if (TryValueOfText(Value, value))
    StoreValueText(LimitValue(value));
}

void TdxBarSpinEdit::SetValue(long double Value)
{
  if (!IsUsable(Value))
    return;
  Value = LimitValue(Value);
  if (Value != GetValue())
    StoreValueText(Value);
}

long double TdxBarSpinEdit::GetEditorValue() const
{
  if (TdxBarWinControl* control = GetFocusedControl())
    return ValueOfText(control->GetText());
  return GetValue();
}

void TdxBarSpinEdit::SetEditorValue(long double AValue)
{
  if (!IsUsable(AValue))
    return;
  AValue = LimitValue(AValue);
  TdxBarWinControl* control = GetFocusedControl();
  if (!control) {
    SetValue(AValue);
    return;
  }
  if (AValue != ValueOfText(control->GetText()))
    control->SetText(TextOfValue(AValue));
}

void TdxBarSpinEdit::Step(TdxBarSpinEditButton AButton)
{
  if (AButton == sbNone)
    return;
  const long double value = GetEditorValue();
  TWeakRef<TdxBarSpinEdit> self(this);
  SetEditorValue(AButton == sbUp ? value + FIncrement : value - FIncrement);
  if (self)
    CallEvent(OnButtonClick, this, AButton);
}

bool TdxBarSpinEdit::AcceptsMinus() const
{
  // Without limits negative numbers are as valid as with a negative minimum.
  return FMinValue < 0 || !HasLimits();
}

void TdxBarSpinEdit::ReapplyLimits()
{
  TWeakRef<TdxBarSpinEdit> self(this);
  SetValue(GetValue());
  if (self)
    SetEditorValue(GetEditorValue());
}

void TdxBarSpinEdit::SetIncrement(long double Value)
{
  Value = IsUsable(Value) ? AdjustValue(Value) : 1.0L;
  if (FValueType == svtInteger ? Value < 1 : Value <= 0)
    Value = 1.0L;
  FIncrement = Value;
}

void TdxBarSpinEdit::SetMaxValue(long double Value)
{
  if (!IsUsable(Value))
    return;
  Value = AdjustValue(Value);
  if (Value == FMaxValue)
    return;
  FMaxValue = Value;
  if (FMinValue > FMaxValue)
    FMinValue = FMaxValue;
  ReapplyLimits();
}

void TdxBarSpinEdit::SetMinValue(long double Value)
{
  if (!IsUsable(Value))
    return;
  Value = AdjustValue(Value);
  if (Value == FMinValue)
    return;
  FMinValue = Value;
  if (FMaxValue < FMinValue)
    FMaxValue = FMinValue;
  ReapplyLimits();
}

void TdxBarSpinEdit::SetPrefix(const String& Value)
{
  if (FPrefix == Value)
    return;
  // The numbers are read with the old prefix: read with the new one they would not convert.
  const long double value = GetValue();
  const long double editorValue = GetEditorValue();
  FPrefix = Value;
  StoreValueText(value);
  if (TdxBarWinControl* control = GetFocusedControl())
    control->SetText(TextOfValue(editorValue));
}

void TdxBarSpinEdit::SetPrefixPlace(TdxBarSpinEditPrefixPlace Value)
{
  if (FPrefixPlace == Value)
    return;
  const long double value = GetValue();
  const long double editorValue = GetEditorValue();
  FPrefixPlace = Value;
  StoreValueText(value);
  if (TdxBarWinControl* control = GetFocusedControl())
    control->SetText(TextOfValue(editorValue));
}

void TdxBarSpinEdit::SetValueType(TdxBarSpinEditValueType Value)
{
  if (FValueType == Value)
    return;
  // Read while the old type still reads them: "2.5" is no integer text.
  const long double value = GetValue();
  const long double editorValue = GetEditorValue();
  FValueType = Value;
  if (Value != svtInteger)
    return;
  SetIncrement(FIncrement);
  FMinValue = AdjustValue(FMinValue);
  FMaxValue = AdjustValue(FMaxValue);
  // Written even when the number stays: the old text may hold a fraction.
  TWeakRef<TdxBarSpinEdit> self(this);
  StoreValueText(LimitValue(value));
  if (!self)
    return;
  if (TdxBarWinControl* control = GetFocusedControl())
    control->SetText(TextOfValue(LimitValue(editorValue)));
}
