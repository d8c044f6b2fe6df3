// The date combo's model: the date as the locale's text with the day name, the limits
// (which leave no date alone), the start date and what form data keeps of it.
#include "DateTestUtil.h"
#include "platform/Scope.h"
#include "support/FormRoundTrip.h"

namespace {

class TDateComboModel : public testing::Test {
protected:
  TdxBarDateCombo* NewCombo() { return new TdxBarDateCombo(Host.Form()); }
  TBarHost<TDateComboForm> Host;
  TThreadLocale Locale{English};
};

}  // namespace

TEST_F(TDateComboModel, StartsOnTodayAndShowsTheDayName)
{
  TdxBarDateCombo* combo = NewCombo();
  EXPECT_EQ(combo->GetDateOnStart(), bdsToday);
  EXPECT_EQ(combo->GetDate(), cxToday());
  const String name = cxShortDayName(cxDayOfWeek(cxToday()));
  EXPECT_EQ(combo->GetText(), name + L" " + cxDateToText(false, false, cxToday()));
  combo->SetDateOnStart(bdsNullDate);
  EXPECT_EQ(combo->GetText(), L"");
  EXPECT_EQ(combo->GetDate(), cxNullDate);
  EXPECT_EQ(combo->GetDateOnStart(), bdsNullDate) << "the item's own update is no custom date";
  combo->SetText(L"12/24/2008");
  EXPECT_EQ(combo->GetText(), L"Wed 12/24/2008");
  EXPECT_EQ(combo->GetDateOnStart(), bdsCustom);
  combo->SetShowDayText(false);
  EXPECT_EQ(combo->GetText(), L"12/24/2008");
  EXPECT_EQ(combo->GetDateOnStart(), bdsCustom);
  // Code that sets a text that is no date gets no date, as a cleared combo shows it.
  combo->SetText(L"not a date");
  EXPECT_EQ(combo->GetText(), L"");
}

TEST_F(TDateComboModel, DayNamesOfTheLocaleReadBack)
{
  TThreadLocale german(German);
  TdxBarDateCombo* combo = NewCombo();
  const TDateTime christmas = cxEncodeDate(2008, 12, 24);
  combo->SetDate(christmas);
  const String text = combo->GetText();
  EXPECT_EQ(text.rfind(cxShortDayName(3) + L" 24.12.2008", 0), 0u);
  EXPECT_EQ(combo->TextToDate(text), christmas);
  // A name of another day, or none, reads the same.
  EXPECT_EQ(combo->TextToDate(cxShortDayName(5) + L" 24.12.2008"), christmas);
  EXPECT_EQ(combo->TextToDate(L"24.12.2008"), christmas);
  // A day name of another language, as in a text stored under another locale, is skipped.
  EXPECT_EQ(combo->TextToDate(L"Wed 24.12.2008"), christmas);
  EXPECT_EQ(combo->TextToDate(L"Mittwoch Weihnachten"), cxNullDate);
}

TEST_F(TDateComboModel, ALocaleWithTwoDigitYearsKeepsTheCentury)
{
  // The user's own short date format, put back when the test ends.
  wchar_t saved[100] = {};
  ASSERT_GT(::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved, 100), 0);
  TFinally restore([&]() noexcept { ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved); });
  ASSERT_TRUE(::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, L"M/d/yy"));
  TThreadLocale user(::GetUserDefaultLCID());
  ASSERT_EQ(cxGetLocaleStr(LOCALE_SSHORTDATE), L"M/d/yy");
  TdxBarDateCombo* combo = NewCombo();
  combo->SetShowDayText(false);
  for (TDateTime date : {cxEncodeDate(2035, 1, 1), cxEncodeDate(1929, 6, 30), cxEncodeDate(1776, 7, 4)}) {
    combo->SetDate(date);
    EXPECT_EQ(combo->GetDate(), date) << std::wstring(combo->GetText().begin(), combo->GetText().end()).size();
  }
  EXPECT_EQ(combo->GetText(), L"7/4/1776");
}

TEST_F(TDateComboModel, LimitsKeepTheDateInsideButLeaveNoDateAlone)
{
  TdxBarDateCombo* combo = NewCombo();
  combo->SetMinDate(40000);
  EXPECT_EQ(combo->GetMinDate(), 0) << "MinDate stays below MaxDate";
  combo->SetMaxDate(40000);
  combo->SetMinDate(39000);
  EXPECT_EQ(combo->GetMinDate(), 39000);
  combo->SetDate(41000);
  EXPECT_EQ(combo->GetDate(), 40000);
  combo->SetDate(38000);
  EXPECT_EQ(combo->GetDate(), 39000);
  combo->SetDate(39500.5);
  EXPECT_EQ(cxDateOf(combo->GetDate()), 39500);
  // With only MaxDate set, clearing still clears: no 30 December 1899.
  combo->SetMinDate(0);
  combo->SetDate(cxNullDate);
  EXPECT_EQ(combo->GetText(), L"");
  combo->SetDateOnStart(bdsNullDate);
  EXPECT_EQ(combo->GetText(), L"");
  // Narrowing the range moves a date left outside it.
  combo->SetDate(39990);
  combo->SetMaxDate(39950);
  EXPECT_EQ(combo->GetDate(), 39950);
  combo->SetMaxDate(0);
  EXPECT_EQ(combo->GetMaxDate(), 0);
  combo->SetDate(45000);
  EXPECT_EQ(combo->GetDate(), 45000) << "no limits once both are 0";
}

TEST(TDateComboFormData, TheTextIsKeptOnlyForACustomDateAndTheLimitsLoadInAnyOrder)
{
  TThreadLocale locale(English);
  // MinDate written before MaxDate still loads: the limits are applied once loading ends.
  const wchar_t* const form =
      L"object DateForm: TDateComboForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    Categories.Strings = (\n"
      L"      'Default')\n"
      L"    object Custom: TdxBarDateCombo\n"
      L"      Category = 0\n"
      L"      DateOnStart = bdsCustom\n"
      L"      MinDate = 39000\n"
      L"      MaxDate = 40000\n"
      L"      ShowDayText = False\n"
      L"      Text = '12/24/2008'\n"
      L"    end\n"
      L"    object Today: TdxBarDateCombo\n"
      L"      Category = 0\n"
      L"    end\n"
      L"    object Empty: TdxBarDateCombo\n"
      L"      Category = 0\n"
      L"      DateOnStart = bdsNullDate\n"
      L"    end\n"
      L"  end\n"
      L"end\n";
  const String written = ExpectFormRoundTrip<TDateComboForm>(form, [](TDateComboForm* Form) {
    auto* custom = Find<TdxBarDateCombo>(Form, L"Custom");
    auto* empty = Find<TdxBarDateCombo>(Form, L"Empty");
    ASSERT_TRUE(custom && empty);
    EXPECT_EQ(custom->GetMinDate(), 39000);
    EXPECT_EQ(custom->GetMaxDate(), 40000);
    EXPECT_EQ(custom->GetDate(), cxEncodeDate(2008, 12, 24));
    EXPECT_EQ(custom->GetDateOnStart(), bdsCustom);
    EXPECT_EQ(empty->GetText(), L"");
    EXPECT_EQ(empty->GetDateOnStart(), bdsNullDate);
  });
  EXPECT_EQ(written.find(L"Text = ''"), String::npos) << std::string(written.begin(), written.end());
  EXPECT_EQ(written.find(cxDateToText(true, false, cxToday())), String::npos) << "today is taken afresh, not stored";
  EXPECT_EQ(written.find(L" Text = "), written.rfind(L" Text = ")) << "one text: the custom date's";
  EXPECT_LT(written.find(L"MaxDate"), written.find(L"MinDate")) << std::string(written.begin(), written.end());
}
