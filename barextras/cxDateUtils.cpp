// Calendar arithmetic on TDateTime values and the locale's date texts.
#include "barextras/cxDateUtils.h"

#include <oleauto.h>

#include <algorithm>
#include <cmath>

#include "barextras/extitems.h"

namespace {

constexpr int DaysPerMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// TDateTime day 0 (30 December 1899) counted from 1 March of year 0, the epoch of the
// civil-calendar arithmetic below.
constexpr int64_t DayZero = 693899;
// The years a TDateTime covers.
constexpr int MinYear = 1, MaxYear = 9999;
// The size the locale functions write into; longer texts are no dates.
constexpr int TextBufferSize = 100;

// Days from 1 March of year 0 to the given day (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int m, int d)
{
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d)
{
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yoe + era * 400 + (m <= 2));
}

// Months outside 1 ... 12 are carried into the year first.
void Normalize(int& AYear, int& AMonth)
{
  const int zeroBased = AMonth - 1;
  int carry = zeroBased / 12;
  int month = zeroBased % 12;
  if (month < 0) {
    month += 12;
    --carry;
  }
  AYear += carry;
  AMonth = month + 1;
}

void Store(uint16_t& AYear, uint16_t& AMonth, int AYearValue, int AMonthValue)
{
  Normalize(AYearValue, AMonthValue);
  AYear = uint16_t(std::clamp(AYearValue, 0, 0xFFFF));
  AMonth = uint16_t(AMonthValue);
}

String LocaleText(LCID ALocale, LCTYPE AType)
{
  wchar_t text[TextBufferSize] = {};
  const int length = ::GetLocaleInfoW(ALocale, AType, text, TextBufferSize);
  return length > 0 ? String(text, size_t(length - 1)) : String();
}

bool ToSystemTime(TDateTime ADate, SYSTEMTIME& ATime)
{
  int year, month, day;
  if (!cxDecodeDate(ADate, year, month, day))
    return false;
  // The time of day counts away from day 0 for dates before it, as the value's sign does.
  const double fraction = std::fabs(cxTimeOf(ADate));
  const int64_t ms = std::llround(fraction * 86400000.0);
  ATime = SYSTEMTIME{};
  ATime.wYear = WORD(year);
  ATime.wMonth = WORD(month);
  ATime.wDay = WORD(day);
  ATime.wDayOfWeek = WORD(cxDayOfWeek(ADate));
  ATime.wHour = WORD(std::min<int64_t>(ms / 3600000, 23));
  ATime.wMinute = WORD(ms / 60000 % 60);
  ATime.wSecond = WORD(ms / 1000 % 60);
  return true;
}

// What the variant conversion writes for a date: the way for dates the locale functions
// refuse (before 1601). Empty when the conversion fails.
String VariantDateText(TDateTime ADate)
{
  VARIANT source, target;
  ::VariantInit(&source);
  ::VariantInit(&target);
  source.vt = VT_DATE;
  source.date = ADate;
  String text;
  if (SUCCEEDED(::VariantChangeTypeEx(&target, &source, ::GetThreadLocale(), 0, VT_BSTR)) && target.bstrVal)
    text.assign(target.bstrVal, ::SysStringLen(target.bstrVal));
  ::VariantClear(&target);
  return text;
}

}  // namespace

String cxGetLocaleStr(LCTYPE ALocaleType, const String& ADefault)
{
  String text = LocaleText(::GetThreadLocale(), ALocaleType);
  return text.empty() ? ADefault : text;
}

void cxDecMonth(uint16_t& AYear, uint16_t& AMonth)
{
  cxChangeMonth(AYear, AMonth, -1);
}

void cxIncMonth(uint16_t& AYear, uint16_t& AMonth)
{
  cxChangeMonth(AYear, AMonth, 1);
}

void cxChangeMonth(uint16_t& AYear, uint16_t& AMonth, int ADelta)
{
  // In signed arithmetic: 16-bit months would wrap round below 1 instead of borrowing.
  Store(AYear, AMonth, AYear, int(AMonth) + ADelta);
}

uint16_t cxGetDateElement(TcxDateElement AElement, TDateTime ADate)
{
  int year, month, day;
  if (!cxDecodeDate(ADate, year, month, day))
    return 0;
  switch (AElement) {
    case deYear:
      return uint16_t(year);
    case deMonth:
      return uint16_t(month);
    case deDay:
      return uint16_t(day);
  }
  return 0;
}

bool cxIsLeapYear(int AYear)
{
  return AYear % 4 == 0 && (AYear % 100 != 0 || AYear % 400 == 0);
}

int cxDaysPerMonth(int AYear, int AMonth)
{
  if (AMonth < 1 || AMonth > 12)
    return 0;
  return DaysPerMonth[AMonth - 1] + (AMonth == 2 && cxIsLeapYear(AYear) ? 1 : 0);
}

int cxCheckDay(int AYear, int AMonth, int ADay)
{
  return std::clamp(ADay, 1, std::max(1, cxDaysPerMonth(AYear, AMonth)));
}

double cxTimeOf(TDateTime ADate)
{
  return ADate - std::trunc(ADate);
}

double cxDateOf(TDateTime ADate)
{
  return std::trunc(ADate);
}

bool cxTryEncodeDate(int AYear, int AMonth, int ADay, TDateTime& ADate)
{
  if (AYear < MinYear || AYear > MaxYear || AMonth < 1 || AMonth > 12 || ADay < 1 ||
      ADay > cxDaysPerMonth(AYear, AMonth))
    return false;
  ADate = double(DaysFromCivil(AYear, AMonth, ADay) - DayZero);
  return true;
}

TDateTime cxEncodeDate(int AYear, int AMonth, int ADay)
{
  TDateTime date = cxNullDate;
  if (!cxTryEncodeDate(AYear, AMonth, ADay, date))
    throw EConvertError(Format(L"%d-%d-%d is no date", {AYear, AMonth, ADay}));
  return date;
}

bool cxDecodeDate(TDateTime ADate, int& AYear, int& AMonth, int& ADay)
{
  AYear = AMonth = ADay = 0;
  if (!std::isfinite(ADate) || ADate == cxNullDate)
    return false;
  const double day = cxDateOf(ADate);
  if (day < cxEncodeDate(MinYear, 1, 1) || day > cxEncodeDate(MaxYear, 12, 31))
    return false;
  CivilFromDays(int64_t(day) + DayZero, AYear, AMonth, ADay);
  return true;
}

int cxDayOfWeek(TDateTime ADate)
{
  // Day 0 was a Saturday.
  const int64_t day = int64_t(cxDateOf(ADate));
  return int(((day + 6) % 7 + 7) % 7);
}

TDateTime cxToday()
{
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return cxEncodeDate(now.wYear, now.wMonth, now.wDay);
}

int cxGetFirstWeekDay()
{
  return dxBarReadFirstWeekDay();
}

String cxShortDayName(int ADay)
{
  // The locale counts its day names from Monday.
  const int fromMonday = ((ADay % 7) + 13) % 7;
  return cxGetLocaleStr(LOCALE_SABBREVDAYNAME1 + LCTYPE(fromMonday));
}

String cxLongMonthName(int AMonth)
{
  if (AMonth < 1 || AMonth > 12)
    return String();
  return cxGetLocaleStr(LOCALE_SMONTHNAME1 + LCTYPE(AMonth - 1));
}

String cxFourDigitYearFormat(const String& AFormat)
{
  const String upper = UpperCase(AFormat);
  if (upper.find(L"YYY") != String::npos)
    return AFormat;
  const size_t at = upper.find(L"YY");
  if (at == String::npos)
    return AFormat;
  String result = AFormat;
  result.insert(at, 2, AFormat[at]);
  return result;
}

String cxGetDateFormat(bool AFourDigitYear)
{
  String format = cxGetLocaleStr(LOCALE_SSHORTDATE);
  return AFourDigitYear ? cxFourDigitYearFormat(format) : format;
}

String cxDateToText(bool AFourDigitYear, bool AUseAppFormats, TDateTime ADate)
{
  if (ADate == cxNullDate || !std::isfinite(ADate))
    return String();
  if (AUseAppFormats) {
    String format = FormatSettings().ShortDateFormat;
    if (cxTimeOf(ADate) != 0)
      format += L" " + FormatSettings().LongTimeFormat;
    return FormatDateTime(AFourDigitYear ? cxFourDigitYearFormat(format) : format, ADate);
  }
  const String format = cxGetDateFormat(AFourDigitYear);
  SYSTEMTIME time{};
  wchar_t text[TextBufferSize] = {};
  if (!ToSystemTime(ADate, time) ||
      ::GetDateFormatW(::GetThreadLocale(), 0, &time, format.empty() ? nullptr : format.c_str(), text,
                       TextBufferSize) == 0)
    return VariantDateText(ADate);
  String result = text;
  if (cxTimeOf(ADate) != 0 && ::GetTimeFormatW(::GetThreadLocale(), 0, &time, nullptr, text, TextBufferSize) > 0)
    result += L" " + String(text);
  return result;
}

TDateTime cxTextToDate(const String& AText)
{
  String text = AText;
  std::replace(text.begin(), text.end(), L'.', L' ');
  BSTR source = ::SysAllocStringLen(text.data(), UINT(text.size()));
  if (!source)
    return cxNullDate;
  VARIANT from, to;
  ::VariantInit(&from);
  ::VariantInit(&to);
  from.vt = VT_BSTR;
  from.bstrVal = source;
  TDateTime date = cxNullDate;
  // Read by the locale the texts are written in, so that what cxDateToText wrote reads back.
  if (SUCCEEDED(::VariantChangeTypeEx(&to, &from, ::GetThreadLocale(), 0, VT_DATE)))
    date = to.date;
  ::VariantClear(&to);
  ::VariantClear(&from);
  return date;
}
