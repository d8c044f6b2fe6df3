// Format, the number and Boolean conversions and the file-name helpers of SysUtils.
#include "platform/Win.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>

#include "StorageTestUtil.h"
#include "platform/SysUtils.h"

namespace {

struct FormatRow {
  const wchar_t* Format;
  std::vector<TVarRec> Args;
  const wchar_t* Expected;
};

// Format takes an initializer list; the rows keep their arguments in vectors.
String FormatRowText(const FormatRow& row)
{
  const auto& a = row.Args;
  switch (a.size()) {
    case 0:
      return Format(row.Format, {});
    case 1:
      return Format(row.Format, {a[0]});
    case 2:
      return Format(row.Format, {a[0], a[1]});
    case 3:
      return Format(row.Format, {a[0], a[1], a[2]});
    default:
      return Format(row.Format, {a[0], a[1], a[2], a[3]});
  }
}

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(Format, Table)
{
  const std::vector<FormatRow> rows = {
      {L"plain text", {}, L"plain text"},
      {L"100%%", {}, L"100%"},
      {L"%d", {42}, L"42"},
      {L"%d", {-42}, L"-42"},
      {L"%d", {int64_t(1) << 40}, L"1099511627776"},
      {L"[%5d]", {42}, L"[   42]"},
      {L"[%-5d]", {42}, L"[42   ]"},
      {L"%.4d", {42}, L"0042"},
      {L"%.4d", {-42}, L"-0042"},
      {L"[%6.4d]", {42}, L"[  0042]"},
      {L"[%*d]", {4, 7}, L"[   7]"},
      {L"[%-*d]", {4, 7}, L"[7   ]"},
      {L"%.*d", {3, 7}, L"007"},
      {L"%D", {5}, L"5"},
      {L"%u", {7u}, L"7"},
      {L"%u", {-1}, L"4294967295"},
      {L"%x", {255}, L"FF"},
      {L"%x", {-1}, L"FFFFFFFF"},
      {L"%.8x", {0x1F}, L"0000001F"},
      {L"%x", {0x123456789ALL}, L"123456789A"},
      {L"%s", {L"abc"}, L"abc"},
      {L"%s", {L""}, L""},
      {L"%.2s", {L"abc"}, L"ab"},
      {L"[%5s]", {L"abc"}, L"[  abc]"},
      {L"[%-5s]", {L"abc"}, L"[abc  ]"},
      {L"[%2s]", {L"abcd"}, L"[abcd]"},
      {L"%1:s %0:s", {L"a", L"b"}, L"b a"},
      {L"%1:s %s", {L"a", L"b", L"c"}, L"b c"},
      {L"%0:s%0:s", {L"x"}, L"xx"},
      {L"%s=%d", {L"n", 3}, L"n=3"},
      {L"%f", {3.14159}, L"3.14"},
      {L"%.3f", {2.0}, L"2.000"},
      {L"%.0f", {2.5}, L"3"},
      {L"%.2f", {0.125}, L"0.13"},
      {L"%.2f", {-0.125}, L"-0.13"},
      {L"%.1f", {-0.04}, L"0.0"},
      {L"%.2f", {9.999}, L"10.00"},
      {L"%n", {1234567.891}, L"1,234,567.89"},
      {L"%.0n", {1234.5}, L"1,235"},
      {L"%n", {-1234.5}, L"-1,234.50"},
      {L"%n", {999.0}, L"999.00"},
      {L"%m", {1234.5}, L"$1,234.50"},
      {L"%m", {-3.0}, L"-$3.00"},
      {L"%e", {1234.5}, L"1.23450000000000E+003"},
      {L"%.3e", {-0.000123}, L"-1.23E-004"},
      {L"%e", {0.0}, L"0.00000000000000E+000"},
      {L"%g", {1234.5}, L"1234.5"},
      {L"%g", {0.1}, L"0.1"},
      {L"%g", {1e20}, L"1E20"},
      {L"%g", {1.5e-7}, L"1.5E-7"},
      {L"%.3g", {1234.5}, L"1.23E3"},
      {L"%g", {NaN}, L"NAN"},
      {L"%f", {Inf}, L"INF"},
      {L"%f", {-Inf}, L"-INF"},
      {L"[%8.2f]", {-1.5}, L"[   -1.50]"},
      {L"%p", {reinterpret_cast<const void*>(uintptr_t(0x1234))}, L"0000000000001234"},
  };
  for (const FormatRow& row : rows) {
    SCOPED_TRACE(ToUtf8(row.Format));
    try {
      EXPECT_EQ(FormatRowText(row), row.Expected);
    } catch (const Exception& e) {
      ADD_FAILURE() << "raised: " << e.what();
    }
  }
}

TEST(Format, BadFormatsAndArgumentsRaiseConvertError)
{
  const std::vector<FormatRow> rows = {
      {L"%d", {}, nullptr},
      {L"%d %d", {1}, nullptr},
      {L"%d", {L"x"}, nullptr},
      {L"%s", {1}, nullptr},
      {L"%f", {1}, nullptr},
      {L"%d", {1.5}, nullptr},
      {L"%x", {1.5}, nullptr},
      {L"%p", {1}, nullptr},
      {L"%", {}, nullptr},
      {L"abc%", {1}, nullptr},
      {L"%q", {1}, nullptr},
      {L"%5", {1}, nullptr},
      {L"%.", {1}, nullptr},
      {L"%*d", {L"x", 1}, nullptr},
      {L"%3:s", {L"a"}, nullptr},
      {L"%:s", {L"a"}, nullptr},
      {L"%99999999999d", {1}, nullptr},
      {L"%*d", {-5, 1}, nullptr},
  };
  for (const FormatRow& row : rows) {
    SCOPED_TRACE(ToUtf8(row.Format));
    try {
      String s = FormatRowText(row);
      ADD_FAILURE() << "no exception, gave " << ToUtf8(s);
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), String(L"Format '") + row.Format + L"' invalid or incompatible with argument");
    }
  }
}

TEST(Convert, StrToIntAcceptsDecimalAndHexWithinRange)
{
  const std::pair<const wchar_t*, int32_t> good[] = {
      {L"0", 0},
      {L"123", 123},
      {L"-123", -123},
      {L"+7", 7},
      {L"007", 7},
      {L"$FF", 255},
      {L"$ff", 255},
      {L"0x1F", 31},
      {L"0X1f", 31},
      {L"-$10", -16},
      {L"2147483647", 2147483647},
      {L"-2147483648", std::numeric_limits<int32_t>::min()},
      {L"$FFFFFFFF", -1},
      {L"$80000000", std::numeric_limits<int32_t>::min()},
  };
  for (auto [text, value] : good) {
    SCOPED_TRACE(ToUtf8(text));
    EXPECT_EQ(StrToInt(text), value);
    int32_t v = 0;
    EXPECT_TRUE(TryStrToInt(text, v));
    EXPECT_EQ(v, value);
  }
  const wchar_t* bad[] = {L"",  L" 1", L"1 ",  L"1a",  L"$",          L"0x",          L"--1",        L"+-1",
                          L"+", L"-",  L"1.0", L"1e3", L"2147483648", L"-2147483649", L"$100000000", L"\u0661"};
  for (const wchar_t* text : bad) {
    SCOPED_TRACE(ToUtf8(text));
    int32_t v = 77;
    EXPECT_FALSE(TryStrToInt(text, v));
    EXPECT_EQ(StrToIntDef(text, -5), -5);
    try {
      StrToInt(text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), L"'" + String(text) + L"' is not a valid integer value");
    }
  }
}

TEST(Convert, StrToInt64UsesTheWholeRange)
{
  EXPECT_EQ(StrToInt64(L"9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(StrToInt64(L"-9223372036854775808"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(StrToInt64(L"$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64(L"4294967296"), int64_t(1) << 32);
  EXPECT_THROW(StrToInt64(L"9223372036854775808"), EConvertError);
  EXPECT_THROW(StrToInt64(L"$10000000000000000"), EConvertError);
  EXPECT_EQ(StrToInt64Def(L"99999999999999999999", 3), 3);
}

TEST(Convert, StrToFloatReadsTheInvariantForm)
{
  const std::pair<const wchar_t*, double> good[] = {
      {L"1.5", 1.5},  {L" 2.25 ", 2.25}, {L"-0.5", -0.5}, {L".5", 0.5},   {L"5.", 5.0},
      {L"1e3", 1000}, {L"1E-3", 0.001},  {L"+1.5", 1.5},  {L"1e+2", 100}, {L"1e-400", 0.0},
  };
  for (auto [text, value] : good) {
    SCOPED_TRACE(ToUtf8(text));
    EXPECT_EQ(StrToFloat(text), value);
  }
  const wchar_t* bad[] = {L"",     L"1,5",      L"1.2.3",  L"e5",    L"1e", L"0x10",
                          L"1.5x", L"infinity", L"nan(1)", L"1e400", L"."};
  for (const wchar_t* text : bad) {
    SCOPED_TRACE(ToUtf8(text));
    double v;
    EXPECT_FALSE(TryStrToFloat(text, v));
    EXPECT_EQ(StrToFloatDef(text, 4.5), 4.5);
  }
  try {
    StrToFloat(L"abc");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"'abc' is not a valid floating point value");
  }
}

TEST(Convert, FloatToStrGivesShortTextThatReadsBackExactly)
{
  const std::pair<double, const wchar_t*> texts[] = {
      {0.1, L"0.1"},
      {100.0, L"100"},
      {-2.5, L"-2.5"},
      {0.0, L"0"},
      {1e20, L"1E20"},
      {1.5e-7, L"1.5E-7"},
      {1e15, L"1E15"},
      {999999999999999.0, L"999999999999999"},
      {0.0001, L"0.0001"},
      {0.00001, L"1E-5"},
      {1.0 / 3, L"0.3333333333333333"},
      {NaN, L"NAN"},
      {-Inf, L"-INF"},
      {Inf, L"INF"},
  };
  for (auto [value, text] : texts)
    EXPECT_EQ(FloatToStr(value), text);

  const double values[] = {0.1,
                           1.0 / 3,
                           1e20,
                           1.5e-7,
                           123456789012345.0,
                           5e-324,
                           std::numeric_limits<double>::max(),
                           -2.5e-300,
                           0.1 + 0.2,
                           1e-5,
                           12345.678901234567,
                           -0.0};
  for (double v : values) {
    SCOPED_TRACE(ToUtf8(FloatToStr(v)));
    double back = StrToFloat(FloatToStr(v));
    EXPECT_TRUE(std::memcmp(&back, &v, sizeof v) == 0 || (v == 0 && back == 0));
  }
  EXPECT_TRUE(std::isnan(StrToFloat(FloatToStr(NaN))));
  EXPECT_EQ(StrToFloat(FloatToStr(-Inf)), -Inf);
}

TEST(Convert, FloatTextIgnoresTheCLocale)
{
  const char* old = std::setlocale(LC_ALL, nullptr);
  std::string saved = old ? old : "C";
  std::setlocale(LC_ALL, "German_Germany.1252");  // a comma locale where the runtime has one
  String text = FloatToStr(1.5);
  double back = StrToFloatDef(L"2.25", 0);
  String formatted = Format(L"%.2f", {1.5});
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(text, L"1.5");
  EXPECT_EQ(back, 2.25);
  EXPECT_EQ(formatted, L"1.50");
}

TEST(Convert, Booleans)
{
  EXPECT_TRUE(StrToBool(L"True"));
  EXPECT_TRUE(StrToBool(L"true"));
  EXPECT_FALSE(StrToBool(L"FALSE"));
  EXPECT_TRUE(StrToBool(L"-1"));
  EXPECT_TRUE(StrToBool(L"2"));
  EXPECT_FALSE(StrToBool(L"0"));
  EXPECT_FALSE(StrToBool(L"0.0"));
  bool v = true;
  EXPECT_FALSE(TryStrToBool(L"", v));
  EXPECT_FALSE(TryStrToBool(L"NAN", v));
  try {
    StrToBool(L"yes");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"'yes' is not a valid boolean value");
  }
  EXPECT_EQ(BoolToStr(true), L"-1");
  EXPECT_EQ(BoolToStr(false), L"0");
  EXPECT_EQ(BoolToStr(true, true), L"True");
  EXPECT_EQ(BoolToStr(false, true), L"False");
  EXPECT_TRUE(StrToBool(BoolToStr(true)));
  EXPECT_FALSE(StrToBool(BoolToStr(false, true)));
}

TEST(FileNames, Parts)
{
  struct Row {
    const wchar_t* Name;
    const wchar_t* Path;
    const wchar_t* Dir;
    const wchar_t* File;
    const wchar_t* Ext;
  };
  const Row rows[] = {
      {L"C:\\dir\\file.txt", L"C:\\dir\\", L"C:\\dir", L"file.txt", L".txt"},
      {L"C:\\file", L"C:\\", L"C:\\", L"file", L""},
      {L"file.tar.gz", L"", L"", L"file.tar.gz", L".gz"},
      {L"C:\\dir.d\\file", L"C:\\dir.d\\", L"C:\\dir.d", L"file", L""},
      {L"/unix/style.ini", L"/unix/", L"/unix", L"style.ini", L".ini"},
      {L"C:name.ini", L"C:", L"C:", L"name.ini", L".ini"},
      {L"\\\\server\\share\\x.y", L"\\\\server\\share\\", L"\\\\server\\share", L"x.y", L".y"},
      {L"dir\\", L"dir\\", L"dir", L"", L""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.Name));
    EXPECT_EQ(ExtractFilePath(r.Name), r.Path);
    EXPECT_EQ(ExtractFileDir(r.Name), r.Dir);
    EXPECT_EQ(ExtractFileName(r.Name), r.File);
    EXPECT_EQ(ExtractFileExt(r.Name), r.Ext);
  }
  EXPECT_EQ(ChangeFileExt(L"a\\b.txt", L".ini"), L"a\\b.ini");
  EXPECT_EQ(ChangeFileExt(L"a.d\\b", L".ini"), L"a.d\\b.ini");
  EXPECT_EQ(ChangeFileExt(L"x.txt", L""), L"x");
  EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\a"), L"C:\\a\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\a\\"), L"C:\\a\\");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\a\\"), L"C:\\a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\a"), L"C:\\a");
}

TEST(SystemErrors, MessagesCarryTheSystemText)
{
  String text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), L'.');
  EXPECT_GT(text.back(), L' ');
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(GetLastOSError(), uint32_t(ERROR_ACCESS_DENIED));
  try {
    RaiseLastOSError(ERROR_ACCESS_DENIED);
    FAIL() << "no exception";
  } catch (const EOSError& e) {
    EXPECT_NE(e.Message().find(L"Code: 5."), String::npos) << e.what();
    EXPECT_NE(e.Message().find(SysErrorMessage(ERROR_ACCESS_DENIED)), String::npos);
  }
}

namespace {

const LCID EnglishUS = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
const LCID GermanDE = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
// 24 December 2008, 18:05:09.250 (a Wednesday).
constexpr TDateTime ChristmasEve = 39806.0 + (18 * 3600 + 5 * 60 + 9.25) / 86400.0;

}  // namespace

TEST(DateTimeFormat, LocalePicturesBecomeTheLayersLetters)
{
  EXPECT_EQ(LocaleFormatToPlatform(L"M/d/yyyy", false), L"m/d/yyyy");
  EXPECT_EQ(LocaleFormatToPlatform(L"dd.MM.yy", false), L"dd.mm.yy");
  EXPECT_EQ(LocaleFormatToPlatform(L"dddd, MMMM d", false), L"dddd, mmmm d");
  EXPECT_EQ(LocaleFormatToPlatform(L"h:mm:ss tt", true), L"h:nn:ss ampm");
  EXPECT_EQ(LocaleFormatToPlatform(L"HH:mm", true), L"hh:nn");
  EXPECT_EQ(LocaleFormatToPlatform(L"d 'de' MMMM", false), L"d \"de\" mmmm") << "quoted text stays text";

  const TFormatSettings english = LocaleFormatSettings(EnglishUS);
  EXPECT_EQ(english.ShortDateFormat, L"m/d/yyyy");
  EXPECT_EQ(english.LongTimeFormat, L"h:nn:ss ampm");
  EXPECT_EQ(english.TimePMString, L"PM");
  EXPECT_EQ(english.LongMonthNames[11], L"December");
  EXPECT_EQ(english.ShortDayNames[0], L"Sun");
  // Read from a locale, the formats write what the locale's own functions write.
  for (LCID locale : {EnglishUS, GermanDE}) {
    const TFormatSettings settings = LocaleFormatSettings(locale);
    SYSTEMTIME time{2008, 2, 5, 1, 7, 4, 3, 0};  // Friday 1 February 2008, 7:04:03
    wchar_t date[100] = {}, clock[100] = {};
    ASSERT_GT(::GetDateFormatW(locale, 0, &time, nullptr, date, 100), 0);
    ASSERT_GT(::GetTimeFormatW(locale, 0, &time, nullptr, clock, 100), 0);
    const TDateTime value = 39479.0 + (7 * 3600 + 4 * 60 + 3) / 86400.0;
    EXPECT_EQ(FormatDateTime(settings.ShortDateFormat, value, settings), date) << locale;
    EXPECT_EQ(FormatDateTime(settings.LongTimeFormat, value, settings), clock) << locale;
  }

  // The application's are the user's as the program started.
  const TFormatSettings user = LocaleFormatSettings(LOCALE_USER_DEFAULT);
  EXPECT_EQ(FormatSettings().ShortDateFormat, user.ShortDateFormat);
  EXPECT_EQ(FormatSettings().LongTimeFormat, user.LongTimeFormat);
}

TEST(DateTimeFormat, EveryLetterWritesItsPart)
{
  const TFormatSettings english = LocaleFormatSettings(EnglishUS);
  EXPECT_EQ(FormatDateTime(L"m/d/yyyy h:nn:ss ampm", ChristmasEve, english), L"12/24/2008 6:05:09 PM");
  EXPECT_EQ(FormatDateTime(L"dd.mm.yy hh:mm:ss.zzz", ChristmasEve, english), L"24.12.08 18:05:09.250")
      << "m right after an hour is the minute";
  EXPECT_EQ(FormatDateTime(L"ddd dddd mmm mmmm", ChristmasEve, english), L"Wed Wednesday Dec December");
  EXPECT_EQ(FormatDateTime(L"h AM/PM a/p", 0.25, english), L"6 AM a");
  EXPECT_EQ(FormatDateTime(L"h am/pm", 0.0, english), L"12 am");
  EXPECT_EQ(FormatDateTime(L"\"day\" d 'of' m", ChristmasEve, english), L"day 24 of 12");
  EXPECT_EQ(FormatDateTime(L"c", ChristmasEve, english), L"12/24/2008 6:05:09 PM");
  EXPECT_EQ(FormatDateTime(L"c", 39806.0, english), L"12/24/2008") << "no time of day, none written";
  TFormatSettings dashed = english;
  dashed.DateSeparator = L'-';
  dashed.TimeSeparator = L'.';
  EXPECT_EQ(FormatDateTime(L"yyyy/mm/dd hh:nn", ChristmasEve, dashed), L"2008-12-24 18.05");
  // A day before day 0 counts its time of day away from it.
  EXPECT_EQ(FormatDateTime(L"yyyy-mm-dd hh:nn", -1.25, english), L"1899-12-29 06:00");
  EXPECT_EQ(FormatDateTime(L"", ChristmasEve, english), L"");
}
