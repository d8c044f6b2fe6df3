// Date and time texts: the application's formats, read from the user's locale, and
// FormatDateTime, which writes a date by them.
#include "platform/SysUtils.h"

#include "platform/Win.h"

#include <oleauto.h>

#include <algorithm>
#include <cmath>
#include <cwctype>

#ifndef LOCALE_SSHORTTIME
#define LOCALE_SSHORTTIME 0x00000079
#endif

namespace {

struct TDateParts {
  int Year = 1899, Month = 12, Day = 30, DayOfWeek = 6;  // 0 = Sunday
  int Hour = 0, Minute = 0, Second = 0, MSec = 0;
  bool HasTime = false;
};

TDateParts Decode(TDateTime AValue)
{
  TDateParts parts;
  if (!std::isfinite(AValue))
    return parts;
  const double day = std::trunc(AValue);
  SYSTEMTIME time{};
  if (::VariantTimeToSystemTime(day, &time)) {
    parts.Year = time.wYear;
    parts.Month = time.wMonth;
    parts.Day = time.wDay;
    parts.DayOfWeek = time.wDayOfWeek;
  }
  const int64_t ms = std::min<int64_t>(std::llround(std::fabs(AValue - day) * 86400000.0), 86399999);
  parts.HasTime = ms != 0;
  parts.Hour = int(ms / 3600000);
  parts.Minute = int(ms / 60000 % 60);
  parts.Second = int(ms / 1000 % 60);
  parts.MSec = int(ms % 1000);
  return parts;
}

String Digits(int AValue, int AWidth)
{
  String text = std::to_wstring(AValue);
  if (int(text.size()) < AWidth)
    text.insert(0, size_t(AWidth - int(text.size())), L'0');
  return text;
}

// How many times the letter at AIndex repeats (case ignored), at most AMax.
int RunLength(const String& AText, size_t AIndex, int AMax)
{
  const wchar_t letter = wchar_t(std::towlower(AText[AIndex]));
  int count = 0;
  while (AIndex + count < AText.size() && count < AMax && wchar_t(std::towlower(AText[AIndex + count])) == letter)
    ++count;
  return count;
}

bool StartsWithNoCase(const String& AText, size_t AIndex, const wchar_t* AWord)
{
  for (size_t i = 0; AWord[i]; ++i)
    if (AIndex + i >= AText.size() || std::towlower(AText[AIndex + i]) != AWord[i])
      return false;
  return true;
}

void AppendFormatted(String& AResult, const String& AFormat, const TDateParts& AParts, const TFormatSettings& ASettings,
                     int ADepth)
{
  // A format that names itself (a short date format holding "c") is not followed further.
  if (ADepth > 2)
    return;
  String lower = AFormat;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](wchar_t c) { return wchar_t(std::towlower(c)); });
  const bool twelveHour =
      lower.find(L"ampm") != String::npos || lower.find(L"am/pm") != String::npos || lower.find(L"a/p") != String::npos;
  const int hour12 = AParts.Hour % 12 == 0 ? 12 : AParts.Hour % 12;
  bool afterHour = false;
  size_t i = 0;
  while (i < AFormat.size()) {
    const wchar_t c = AFormat[i];
    const wchar_t letter = wchar_t(std::towlower(c));
    if (c == L'"' || c == L'\'') {
      const size_t end = AFormat.find(c, i + 1);
      AResult += AFormat.substr(i + 1, end == String::npos ? String::npos : end - i - 1);
      i = end == String::npos ? AFormat.size() : end + 1;
      continue;
    }
    if (c == L'/' || c == L':') {
      AResult += c == L'/' ? ASettings.DateSeparator : ASettings.TimeSeparator;
      ++i;
      continue;
    }
    if (StartsWithNoCase(AFormat, i, L"am/pm") || StartsWithNoCase(AFormat, i, L"a/p")) {
      const bool full = StartsWithNoCase(AFormat, i, L"am/pm");
      const size_t at = AParts.Hour < 12 ? i : i + (full ? 3 : 2);
      AResult += full ? AFormat.substr(at, 2) : AFormat.substr(at, 1);
      i += full ? 5 : 3;
      continue;
    }
    if (StartsWithNoCase(AFormat, i, L"ampm")) {
      AResult += AParts.Hour < 12 ? ASettings.TimeAMString : ASettings.TimePMString;
      i += 4;
      continue;
    }
    int count = 1;
    switch (letter) {
      case L'c':
        AppendFormatted(AResult, ASettings.ShortDateFormat, AParts, ASettings, ADepth + 1);
        if (AParts.HasTime) {
          AResult += L' ';
          AppendFormatted(AResult, ASettings.LongTimeFormat, AParts, ASettings, ADepth + 1);
        }
        break;
      case L'd':
        count = RunLength(AFormat, i, 6);
        if (count <= 2)
          AResult += Digits(AParts.Day, count);
        else if (count <= 4)
          AResult += (count == 3 ? ASettings.ShortDayNames : ASettings.LongDayNames)[AParts.DayOfWeek];
        else
          AppendFormatted(AResult, ASettings.ShortDateFormat, AParts, ASettings, ADepth + 1);
        break;
      case L'm':
        count = RunLength(AFormat, i, 4);
        if (afterHour && count <= 2)
          AResult += Digits(AParts.Minute, count);
        else if (count <= 2)
          AResult += Digits(AParts.Month, count);
        else
          AResult += (count == 3 ? ASettings.ShortMonthNames : ASettings.LongMonthNames)[AParts.Month - 1];
        break;
      case L'y':
        count = RunLength(AFormat, i, 4);
        AResult += count <= 2 ? Digits(AParts.Year % 100, 2) : Digits(AParts.Year, 4);
        break;
      case L'h':
        count = RunLength(AFormat, i, 2);
        AResult += Digits(twelveHour ? hour12 : AParts.Hour, count);
        break;
      case L'n':
        count = RunLength(AFormat, i, 2);
        AResult += Digits(AParts.Minute, count);
        break;
      case L's':
        count = RunLength(AFormat, i, 2);
        AResult += Digits(AParts.Second, count);
        break;
      case L'z':
        count = RunLength(AFormat, i, 3);
        AResult += Digits(AParts.MSec, count == 3 ? 3 : 1);
        break;
      case L't':
        count = RunLength(AFormat, i, 2);
        AppendFormatted(AResult, count == 1 ? ASettings.ShortTimeFormat : ASettings.LongTimeFormat, AParts, ASettings,
                        ADepth + 1);
        break;
      default:
        AResult += c;
        ++i;
        continue;
    }
    afterHour = letter == L'h';
    i += size_t(count);
  }
}

String LocaleText(uint32_t ALocale, LCTYPE AType, const wchar_t* ADefault)
{
  wchar_t text[100] = {};
  const int length = ::GetLocaleInfoW(ALocale, AType, text, 100);
  return length > 1 ? String(text, size_t(length - 1)) : String(ADefault);
}

}  // namespace

String LocaleFormatToPlatform(const String& Picture, bool ATime)
{
  String result;
  size_t i = 0;
  while (i < Picture.size()) {
    const wchar_t c = Picture[i];
    if (c == L'\'') {
      // Quoted text; two quotes stand for one.
      String text;
      ++i;
      while (i < Picture.size()) {
        if (Picture[i] == L'\'' && (i + 1 >= Picture.size() || Picture[i + 1] != L'\'')) {
          ++i;
          break;
        }
        text += Picture[i];
        i += Picture[i] == L'\'' ? 2 : 1;
      }
      result += text.find(L'"') == String::npos ? L'"' + text + L'"' : L'\'' + text + L'\'';
      continue;
    }
    size_t count = 1;
    while (i + count < Picture.size() && Picture[i + count] == c)
      ++count;
    const int n = int(count);
    String part;
    if (!ATime && (c == L'd' || c == L'M'))
      part = String(size_t(std::min(n, 4)), c == L'd' ? L'd' : L'm');
    else if (!ATime && c == L'y')
      part = n <= 2 ? L"yy" : L"yyyy";
    else if (!ATime && c == L'g')
      part = String();  // the era is not written
    else if (ATime && (c == L'h' || c == L'H'))
      part = String(size_t(std::min(n, 2)), L'h');
    else if (ATime && c == L'm')
      part = String(size_t(std::min(n, 2)), L'n');
    else if (ATime && c == L's')
      part = String(size_t(std::min(n, 2)), L's');
    else if (ATime && c == L't')
      part = n == 1 ? L"a/p" : L"ampm";
    else if (std::iswalpha(c) || c == L'"')
      part = L'\'' + String(count, c) + L'\'';
    else
      part = String(count, c);
    result += part;
    i += count;
  }
  return result;
}

TFormatSettings LocaleFormatSettings(uint32_t Locale)
{
  TFormatSettings settings;
  settings.ShortDateFormat = LocaleFormatToPlatform(LocaleText(Locale, LOCALE_SSHORTDATE, L"M/d/yyyy"), false);
  settings.LongTimeFormat = LocaleFormatToPlatform(LocaleText(Locale, LOCALE_STIMEFORMAT, L"h:mm:ss tt"), true);
  settings.ShortTimeFormat = LocaleFormatToPlatform(LocaleText(Locale, LOCALE_SSHORTTIME, L"h:mm tt"), true);
  settings.DateSeparator = LocaleText(Locale, LOCALE_SDATE, L"/")[0];
  settings.TimeSeparator = LocaleText(Locale, LOCALE_STIME, L":")[0];
  settings.TimeAMString = LocaleText(Locale, LOCALE_S1159, L"AM");
  settings.TimePMString = LocaleText(Locale, LOCALE_S2359, L"PM");
  for (int i = 0; i < 12; ++i) {
    settings.ShortMonthNames[i] = LocaleText(Locale, LOCALE_SABBREVMONTHNAME1 + LCTYPE(i), L"");
    settings.LongMonthNames[i] = LocaleText(Locale, LOCALE_SMONTHNAME1 + LCTYPE(i), L"");
  }
  // The locale counts its day names from Monday.
  for (int i = 0; i < 7; ++i) {
    settings.ShortDayNames[i] = LocaleText(Locale, LOCALE_SABBREVDAYNAME1 + LCTYPE((i + 6) % 7), L"");
    settings.LongDayNames[i] = LocaleText(Locale, LOCALE_SDAYNAME1 + LCTYPE((i + 6) % 7), L"");
  }
  return settings;
}

TFormatSettings& FormatSettings()
{
  static TFormatSettings settings = LocaleFormatSettings(LOCALE_USER_DEFAULT);
  return settings;
}

String FormatDateTime(const String& Format, TDateTime Value, const TFormatSettings& Settings)
{
  String result;
  AppendFormatted(result, Format, Decode(Value), Settings, 0);
  return result;
}
