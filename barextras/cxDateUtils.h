// Calendar arithmetic and the conversions between dates and the locale's texts that the
// date combo and its calendars share. Dates are TDateTime values: days since 30 December
// 1899, the time of day in the fraction; cxNullDate stands for no date.
#pragma once

#include <cstdint>

#include "platform/SysUtils.h"
#include "platform/Win.h"

// No date: shown as empty text, and what a text that is no date converts to.
inline constexpr TDateTime cxNullDate = -700000.0;

// The thread locale's value of a locale item, or ADefault when the locale has none.
String cxGetLocaleStr(LCTYPE ALocaleType, const String& ADefault = String());

// Months step across year ends. Months are 1 ... 12; a month out of that range is first
// brought into it, so that no step ever leaves a month the calendar cannot show.
void cxDecMonth(uint16_t& AYear, uint16_t& AMonth);
void cxIncMonth(uint16_t& AYear, uint16_t& AMonth);
void cxChangeMonth(uint16_t& AYear, uint16_t& AMonth, int ADelta);

enum TcxDateElement { deYear, deMonth, deDay };
// One element of a date (its integral part; the null date and dates outside 1 ... 9999 give 0).
uint16_t cxGetDateElement(TcxDateElement AElement, TDateTime ADate);

bool cxIsLeapYear(int AYear);
// Days of the month; 0 for a month outside 1 ... 12.
int cxDaysPerMonth(int AYear, int AMonth);
// ADay limited to 1 ... days of the month.
int cxCheckDay(int AYear, int AMonth, int ADay);
double cxTimeOf(TDateTime ADate);
double cxDateOf(TDateTime ADate);

// The calendar's date conversions (proleptic Gregorian, years 1 ... 9999). EncodeDate
// answers false for a day that does not exist.
bool cxTryEncodeDate(int AYear, int AMonth, int ADay, TDateTime& ADate);
TDateTime cxEncodeDate(int AYear, int AMonth, int ADay);
bool cxDecodeDate(TDateTime ADate, int& AYear, int& AMonth, int& ADay);
// 0 = Sunday ... 6 = Saturday.
int cxDayOfWeek(TDateTime ADate);
// Today without time of day.
TDateTime cxToday();

// The locale's first day of week: 0 = Sunday ... 6 = Saturday.
int cxGetFirstWeekDay();
// The locale's short and long day names (ADay 0 = Sunday) and long month names (1 ... 12).
String cxShortDayName(int ADay);
String cxLongMonthName(int AMonth);

// The format cxDateToText uses: the thread locale's short date format; with
// AFourDigitYear a two-letter year ("yy", any case) becomes four letters of that case.
String cxGetDateFormat(bool AFourDigitYear);
// A two-letter year in AFormat made four letters (nothing when it has three or more).
String cxFourDigitYearFormat(const String& AFormat);

// The date as the thread locale writes it (its time of day after one blank when it has
// one); dates the locale functions cannot write go through the variant conversion. With
// AUseAppFormats, the application's short date format instead, and its long time format
// after one blank when the date has a time of day (FormatSettings). The null date gives
// empty text.
String cxDateToText(bool AFourDigitYear, bool AUseAppFormats, TDateTime ADate);
// A text read by the thread locale, as cxDateToText writes it ("." counts as a separator);
// anything that is no date, empty text included, gives the null date.
TDateTime cxTextToDate(const String& AText);
