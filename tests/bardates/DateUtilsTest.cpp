// The calendar arithmetic and the locale's date texts: month steps across years, leap
// years, the year rewrite of formats, and texts read and written by the locale, with the
// edge cases a user types (two-digit years, parts left out, 29 February, years beyond the
// calendar, empty and foreign text).
#include <tuple>

#include "DateTestUtil.h"

#include "barextras/cxDateUtils.h"
#include "barextras/extitems.h"
#include "platform/Scope.h"
#include "platform/Win.h"

#include <oleauto.h>

namespace {

struct TYearMonth {
  int Year, Month;
};

TYearMonth Changed(int AYear, int AMonth, int ADelta)
{
  uint16_t year = uint16_t(AYear), month = uint16_t(AMonth);
  cxChangeMonth(year, month, ADelta);
  return {year, month};
}

}  // namespace

TEST(TDateArithmetic, MonthStepsBorrowAndCarryYears)
{
  struct TCase {
    int Year, Month, Delta, WantYear, WantMonth;
  } cases[] = {
      {2008, 1, -1, 2007, 12},  {2008, 1, -13, 2006, 12}, {2008, 11, 14, 2010, 1},
      {2008, 1, -25, 2005, 12}, {2008, 12, 1, 2009, 1},   {2008, 6, 0, 2008, 6},
      {2008, 3, -2, 2008, 1},   {2008, 1, -12, 2007, 1},  {2008, 12, 12, 2009, 12},
  };
  for (const TCase& c : cases) {
    const TYearMonth got = Changed(c.Year, c.Month, c.Delta);
    EXPECT_EQ(got.Year, c.WantYear) << c.Year << "-" << c.Month << " by " << c.Delta;
    EXPECT_EQ(got.Month, c.WantMonth) << c.Year << "-" << c.Month << " by " << c.Delta;
  }
  uint16_t year = 2008, month = 1;
  cxDecMonth(year, month);
  EXPECT_EQ(year, 2007);
  EXPECT_EQ(month, 12);
  cxIncMonth(year, month);
  EXPECT_EQ(year, 2008);
  EXPECT_EQ(month, 1);
}

TEST(TDateArithmetic, LeapYearsAndDaysOfMonths)
{
  EXPECT_EQ(cxDaysPerMonth(2000, 2), 29);
  EXPECT_EQ(cxDaysPerMonth(1900, 2), 28);
  EXPECT_EQ(cxDaysPerMonth(2008, 2), 29);
  EXPECT_EQ(cxDaysPerMonth(2009, 2), 28);
  EXPECT_EQ(cxDaysPerMonth(2009, 12), 31);
  EXPECT_EQ(cxDaysPerMonth(2009, 13), 0);
  EXPECT_EQ(cxCheckDay(2008, 4, 31), 30);
  EXPECT_EQ(cxCheckDay(2008, 4, 0), 1);
  EXPECT_EQ(cxCheckDay(2009, 2, 29), 28);
  TDateTime date = 0;
  EXPECT_TRUE(cxTryEncodeDate(2008, 2, 29, date));
  EXPECT_FALSE(cxTryEncodeDate(2009, 2, 29, date));
  EXPECT_FALSE(cxTryEncodeDate(10000, 1, 1, date));
}

TEST(TDateArithmetic, DayNumbersMatchTheSystemsCalendar)
{
  // Day 0 is 30 December 1899; compared with the system's own variant dates.
  for (auto [y, m, d] : {std::tuple{1899, 12, 30},
                         {1900, 3, 1},
                         {2008, 12, 24},
                         {1600, 2, 29},
                         {100, 1, 1},
                         {9999, 12, 31},
                         {1, 1, 1}}) {
    TDateTime ours = cxEncodeDate(y, m, d);
    SYSTEMTIME st{};
    st.wYear = WORD(y);
    st.wMonth = WORD(m);
    st.wDay = WORD(d);
    double theirs = 0;
    if (y >= 100)
      ASSERT_TRUE(::SystemTimeToVariantTime(&st, &theirs));
    else
      theirs = ours;
    EXPECT_EQ(ours, theirs) << y << "-" << m << "-" << d;
    int year, month, day;
    // Before day 0 the time of day counts away from it, as the value's sign does.
    ASSERT_TRUE(cxDecodeDate(ours + (ours < 0 ? -0.75 : 0.75), year, month, day));
    EXPECT_EQ(std::tuple(year, month, day), std::tuple(y, m, d));
  }
  EXPECT_EQ(cxDayOfWeek(cxEncodeDate(2008, 12, 24)), 3);  // a Wednesday
  EXPECT_EQ(cxGetDateElement(deMonth, cxEncodeDate(2008, 12, 24)), 12);
  EXPECT_EQ(cxGetDateElement(deYear, cxNullDate), 0);
  EXPECT_DOUBLE_EQ(cxTimeOf(39806.25), 0.25);
  EXPECT_DOUBLE_EQ(cxDateOf(39806.25), 39806.0);
}

TEST(TDateFormats, TwoLetterYearsBecomeFourOfTheSameCase)
{
  EXPECT_EQ(cxFourDigitYearFormat(L"d.M.yy"), L"d.M.yyyy");
  EXPECT_EQ(cxFourDigitYearFormat(L"dd/MM/YY"), L"dd/MM/YYYY");
  EXPECT_EQ(cxFourDigitYearFormat(L"yyyy-MM-dd"), L"yyyy-MM-dd");
  EXPECT_EQ(cxFourDigitYearFormat(L"M/d/yyy"), L"M/d/yyy");
  EXPECT_EQ(cxFourDigitYearFormat(L"dd.MM."), L"dd.MM.");
}

TEST(TDateTexts, TheLocaleWritesAndReadsBack)
{
  TThreadLocale locale(English);
  const TDateTime christmas = cxEncodeDate(2008, 12, 24);
  EXPECT_EQ(cxDateToText(false, false, christmas), L"12/24/2008");
  EXPECT_EQ(cxTextToDate(L"12/24/2008"), christmas);
  EXPECT_EQ(cxDateToText(false, false, cxNullDate), L"");
  // The time of day follows the date after one blank, and reads back.
  const String withTime = cxDateToText(false, false, christmas + 0.5);
  EXPECT_EQ(withTime.rfind(L"12/24/2008 ", 0), 0u) << std::string(withTime.begin(), withTime.end());
  EXPECT_GT(withTime.size(), 11u);
  EXPECT_DOUBLE_EQ(cxTextToDate(withTime), christmas + 0.5);
  // Dots separate as blanks do.
  EXPECT_EQ(cxTextToDate(L"1.2.2008"), cxTextToDate(L"1 2 2008"));
  EXPECT_EQ(cxTextToDate(L"1.2.2008"), cxEncodeDate(2008, 1, 2));
}

TEST(TDateTexts, TheGermanLocaleReadsDayFirst)
{
  TThreadLocale locale(German);
  const TDateTime christmas = cxEncodeDate(2008, 12, 24);
  EXPECT_EQ(cxDateToText(false, false, christmas), L"24.12.2008");
  EXPECT_EQ(cxTextToDate(L"24.12.2008"), christmas);
  EXPECT_EQ(cxTextToDate(L"1.2.2008"), cxEncodeDate(2008, 2, 1));
}

// With the application's formats the text follows them, not the thread locale: the short
// date format, and the long time format after one blank when the date has a time of day.
TEST(TDateTexts, TheApplicationsFormatsWriteDateAndTime)
{
  TThreadLocale locale(German);
  const TFormatSettings saved = FormatSettings();
  TFinally restore([&saved] { FormatSettings() = saved; });
  FormatSettings().ShortDateFormat = L"m/d/yy";
  FormatSettings().LongTimeFormat = L"h:nn:ss ampm";
  FormatSettings().DateSeparator = L'-';
  FormatSettings().TimePMString = L"PM";
  const TDateTime christmas = cxEncodeDate(2008, 12, 24);
  EXPECT_EQ(cxDateToText(false, true, christmas), L"12-24-08");
  EXPECT_EQ(cxDateToText(true, true, christmas), L"12-24-2008");
  EXPECT_EQ(cxDateToText(true, true, christmas + 0.75), L"12-24-2008 6:00:00 PM");
  EXPECT_EQ(cxDateToText(true, true, cxNullDate), L"");
  EXPECT_EQ(cxDateToText(false, false, christmas), L"24.12.2008") << "without the flag the locale's";
}

TEST(TDateTexts, EdgeCasesOfTypedTexts)
{
  TThreadLocale locale(English);
  // 29 February only in leap years; the last day of February in either.
  EXPECT_EQ(cxTextToDate(L"2/29/2008"), cxEncodeDate(2008, 2, 29));
  EXPECT_EQ(cxTextToDate(L"2/29/2000"), cxEncodeDate(2000, 2, 29));
  EXPECT_EQ(cxTextToDate(L"2/28/2009"), cxEncodeDate(2009, 2, 28));
  EXPECT_EQ(cxTextToDate(L"2/29/2009"), cxNullDate);
  EXPECT_EQ(cxTextToDate(L"2/29/1900"), cxNullDate);
  // Two-digit years land in the window the system reads them in; four digits stay.
  const int year08 = cxGetDateElement(deYear, cxTextToDate(L"1/2/08"));
  EXPECT_EQ(year08, 2008);
  EXPECT_EQ(cxGetDateElement(deYear, cxTextToDate(L"1/2/1908")), 1908);
  // A year left out is this year's.
  const int thisYear = cxGetDateElement(deYear, cxToday());
  EXPECT_EQ(cxTextToDate(L"12/24"), cxEncodeDate(thisYear, 12, 24));
  // Before 1900 and long ago still are dates; after 9999 is none.
  EXPECT_EQ(cxTextToDate(L"7/4/1776"), cxEncodeDate(1776, 7, 4));
  EXPECT_EQ(cxTextToDate(L"1/1/10000"), cxNullDate);
  // Texts that are no dates.
  for (const wchar_t* text : {L"", L"   ", L"abc", L"13/45/2008", L"1/2/2008x", L"...", L"--"})
    EXPECT_EQ(cxTextToDate(text), cxNullDate) << std::wstring(text).size();
  // A date the locale functions refuse (before 1601) is still written.
  const String early = cxDateToText(false, false, cxEncodeDate(1500, 3, 1));
  EXPECT_FALSE(early.empty());
  EXPECT_EQ(cxTextToDate(early), cxEncodeDate(1500, 3, 1));
  // Values that are no dates at all write nothing rather than garbage.
  EXPECT_EQ(cxDateToText(false, false, 1e12), L"");
}

TEST(TDateTexts, FirstDayOfWeekComesFromTheLocale)
{
  {
    TThreadLocale locale(English);
    EXPECT_EQ(cxGetFirstWeekDay(), 0);
  }
  {
    TThreadLocale locale(German);
    EXPECT_EQ(cxGetFirstWeekDay(), 1);
  }
  TThreadLocale locale(German);
  EXPECT_EQ(cxShortDayName(0).rfind(L"So", 0), 0u);
  EXPECT_EQ(cxShortDayName(1).rfind(L"Mo", 0), 0u);
  EXPECT_EQ(cxLongMonthName(12), L"Dezember");
  EXPECT_EQ(cxLongMonthName(13), L"");
}
