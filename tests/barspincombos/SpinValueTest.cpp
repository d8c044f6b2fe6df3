// The spin edit's number without windows: text and number conversions, increments, limits,
// prefixes, the value type and form data.
#include <cmath>

#include "ExtrasTestUtil.h"
#include "support/FormRoundTrip.h"

namespace {

long double Read(const String& AText, TdxBarSpinEditValueType AType, wchar_t ASeparator = L'.')
{
  long double value = -12345;
  EXPECT_TRUE(dxBarSpinTextToValue(AText, AType, ASeparator, value)) << "text: " << AText;
  return value;
}

bool Reads(const String& AText, TdxBarSpinEditValueType AType, wchar_t ASeparator = L'.')
{
  long double value = 0;
  return dxBarSpinTextToValue(AText, AType, ASeparator, value);
}

TEST(SpinConversion, IntegersOfAnyLengthRoundTripAndOnlyDigitsConvert)
{
  EXPECT_EQ(Read(L"3000000000", svtInteger), 3000000000.0L) << "past 32 bits";
  EXPECT_EQ(Read(L" -42 ", svtInteger), -42.0L);
  EXPECT_EQ(Read(L"+7", svtInteger), 7.0L);
  // Past 64 bits: written with every digit and read back to the same number.
  const String big = dxBarSpinValueToText(1e30L, svtInteger, L'.');
  EXPECT_EQ(big.find_first_not_of(L"0123456789"), String::npos) << big;
  EXPECT_EQ(Read(big, svtInteger), (long double)(1e30));
  EXPECT_EQ(dxBarSpinValueToText(-7.9L, svtInteger, L'.'), L"-7") << "toward zero";
  EXPECT_EQ(dxBarSpinValueToText(-0.5L, svtInteger, L'.'), L"0") << "no minus zero";
  for (const wchar_t* bad : {L"", L"-", L"12a", L"1.5", L"1e3", L"0x10", L"inf", L"nan", L"1 2", L"٣"})
    EXPECT_FALSE(Reads(bad, svtInteger)) << bad;
}

TEST(SpinConversion, FloatsUseTheSeparatorGivenAndFifteenDigits)
{
  EXPECT_EQ(dxBarSpinValueToText(0.1L + 0.2L, svtFloat, L'.'), L"0.3");
  EXPECT_EQ(dxBarSpinValueToText(2.5L, svtFloat, L','), L"2,5");
  EXPECT_EQ(dxBarSpinValueToText(1.5e20L, svtFloat, L'.'), L"1.5E20");
  EXPECT_EQ(Read(L"2,5", svtFloat, L','), 2.5L);
  EXPECT_EQ(Read(L"-1.25e2", svtFloat), -125.0L);
  EXPECT_EQ(Read(L".5", svtFloat), 0.5L);
  EXPECT_FALSE(Reads(L"2.5", svtFloat, L',')) << "the other locale's point is no separator";
  for (const wchar_t* bad : {L"1e999", L"INF", L"NAN", L"1..2", L"1e", L".", L"--1"})
    EXPECT_FALSE(Reads(bad, svtFloat)) << bad;
  EXPECT_EQ(dxBarSpinValueToText(std::numeric_limits<long double>::infinity(), svtFloat, L'.'), L"0");
}

class TSpinModel : public testing::Test {
protected:
  TOwned<TdxBarSpinEdit> Spin{new TdxBarSpinEdit(nullptr)};
};

TEST_F(TSpinModel, StartsAtZeroAndIncrementsAreAdjusted)
{
  EXPECT_EQ(Spin->GetText(), L"0");
  EXPECT_EQ(Spin->GetIncrement(), 1.0L);
  EXPECT_EQ(Spin->GetPrefixPlace(), ppEnd);
  Spin->SetIncrement(0.5L);
  EXPECT_EQ(Spin->GetIncrement(), 1.0L) << "an integer spin steps by whole numbers";
  Spin->SetIncrement(3.7L);
  EXPECT_EQ(Spin->GetIncrement(), 3.0L);
  Spin->SetValueType(svtFloat);
  Spin->SetIncrement(-2);
  EXPECT_EQ(Spin->GetIncrement(), 1.0L);
  Spin->SetIncrement(0.25L);
  EXPECT_EQ(Spin->GetIncrement(), 0.25L);
  Spin->SetIncrement(std::nanl(""));
  EXPECT_EQ(Spin->GetIncrement(), 1.0L);
}

TEST_F(TSpinModel, LimitsApplyUnlessBothAreZeroAndPushEachOther)
{
  Spin->SetValue(-1e12L);
  EXPECT_EQ(Spin->GetValue(), -1e12L) << "no limits";
  Spin->SetMaxValue(10);
  EXPECT_EQ(Spin->GetValue(), 0.0L) << "with a maximum the minimum 0 limits too";
  Spin->SetValue(25);
  EXPECT_EQ(Spin->GetValue(), 10.0L);
  EXPECT_EQ(Spin->GetText(), L"10");
  Spin->SetMinValue(20);
  EXPECT_EQ(Spin->GetMaxValue(), 20.0L);
  EXPECT_EQ(Spin->GetValue(), 20.0L);
  Spin->SetMaxValue(-5.9L);
  EXPECT_EQ(Spin->GetMaxValue(), -5.0L) << "adjusted toward zero";
  EXPECT_EQ(Spin->GetMinValue(), -5.0L);
  EXPECT_EQ(Spin->GetValue(), -5.0L);
  Spin->SetMaxValue(std::numeric_limits<long double>::infinity());
  EXPECT_EQ(Spin->GetMaxValue(), -5.0L) << "an infinite limit is refused";
}

TEST_F(TSpinModel, TextsConvertOrAreIgnoredAndLettersReadAsTheMinimum)
{
  int changes = 0;
  Spin->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  Spin->SetMinValue(-3);
  Spin->SetMaxValue(50);
  Spin->SetPrefix(L" kg");
  Spin->SetValue(5);
  EXPECT_EQ(Spin->GetText(), L"5 kg");
  Spin->SetText(L"7 kg");
  EXPECT_EQ(Spin->GetValue(), 7.0L);
  Spin->SetText(L"8");
  EXPECT_EQ(Spin->GetText(), L"8 kg") << "the prefix is put back";
  Spin->SetText(L"99 kg");
  EXPECT_EQ(Spin->GetText(), L"50 kg") << "limited";
  const int before = changes;
  Spin->SetText(L"abc");
  EXPECT_EQ(Spin->GetText(), L"50 kg");
  EXPECT_EQ(changes, before) << "an ignored text changes nothing";
  EXPECT_EQ(Spin->ValueOfText(L"abc"), -3.0L);
  Spin->SetPrefixPlace(ppStart);
  EXPECT_EQ(Spin->GetText(), L" kg50");
  // The number is read with the old prefix before the new one is put in.
  Spin->SetPrefix(L"$");
  EXPECT_EQ(Spin->GetText(), L"$50");
  Spin->SetPrefix(L"");
  EXPECT_EQ(Spin->GetText(), L"50");
}

TEST_F(TSpinModel, SwitchingToIntegersTruncatesEverythingOnce)
{
  Spin->SetValueType(svtFloat);
  Spin->SetIncrement(0.5L);
  Spin->SetMinValue(-2.5L);
  Spin->SetMaxValue(9.75L);
  Spin->SetValue(2.5L);
  EXPECT_EQ(Spin->GetText(), L"2.5");
  Spin->SetValueType(svtInteger);
  EXPECT_EQ(Spin->GetIncrement(), 1.0L);
  EXPECT_EQ(Spin->GetMinValue(), -2.0L);
  EXPECT_EQ(Spin->GetMaxValue(), 9.0L);
  EXPECT_EQ(Spin->GetText(), L"2") << "the fraction goes from the text too";
  Spin->SetValueType(svtFloat);
  EXPECT_EQ(Spin->GetValue(), 2.0L);
  EXPECT_EQ(Spin->GetMinValue(), -2.0L) << "back to floats changes nothing";
}

TEST_F(TSpinModel, StepsByTheIncrementStopAtTheLimitsAndReportEachButton)
{
  TSpinClicks clicks;
  Spin->OnButtonClick = TdxBarSpinEditButtonClickEvent(&clicks, &TSpinClicks::Clicked);
  Spin->SetMaxValue(7);
  Spin->SetIncrement(3);
  Spin->Step(sbUp);
  Spin->Step(sbUp);
  EXPECT_EQ(Spin->GetValue(), 6.0L);
  Spin->Step(sbUp);
  EXPECT_EQ(Spin->GetValue(), 7.0L) << "stops at the maximum";
  Spin->Step(sbDown);
  Spin->Step(sbDown);
  Spin->Step(sbDown);
  EXPECT_EQ(Spin->GetValue(), 0.0L) << "stops at the minimum";
  Spin->Step(sbNone);
  EXPECT_EQ(clicks.Buttons, (std::vector<TdxBarSpinEditButton>{sbUp, sbUp, sbUp, sbDown, sbDown, sbDown}));
}

TEST(SpinFormData, NumbersPrefixAndTypeSurviveARoundTrip)
{
  const String text =
      LR"(object SpinForm: TSpinTestForm
  object dxBarManager1: TdxBarManager
    object Spin1: TdxBarSpinEdit
      Category = 0
      ValueType = svtFloat
      Increment = 0.5
      MaxValue = -1
      MinValue = -5
      Prefix = ' m'
      PrefixPlace = ppStart
      Value = -2.5
    end
  end
end
)";
  const String written = ExpectFormRoundTrip<TSpinTestForm>(text, [](TComponent* AForm) {
    auto* spin = Find<TdxBarSpinEdit>(AForm, L"Spin1");
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->GetValueType(), svtFloat);
    EXPECT_EQ(spin->GetIncrement(), 0.5L);
    EXPECT_EQ(spin->GetMinValue(), -5.0L);
    EXPECT_EQ(spin->GetMaxValue(), -1.0L);
    EXPECT_EQ(spin->GetText(), L" m-2.5");
  });
  EXPECT_EQ(written.find(L"Text ="), String::npos) << "the text is never stored";
  EXPECT_NE(written.find(L"Value = -2.5"), String::npos);
}

}  // namespace
