// The date navigator's layout: its size from the font, the grid that always opens in the
// month before, the day under a point, and the month list's scroll speeds.
#include "DateTestUtil.h"
#include "barextras/extitems.h"
#include "support/Owned.h"

namespace {

class TNavigatorLayout : public testing::Test {
protected:
  void SetUp() override
  {
    Navigator->GetFont()->SetName(L"Tahoma");
    Navigator->GetFont()->SetSize(8);
    Navigator->SetBounds(0, 0, 10, 10);
    Navigator->SetParent(Host.Form());
  }
  void Fit()
  {
    const TSize size = Navigator->CalcSize();
    Navigator->SetBounds(0, 0, size.cx, size.cy);
    Navigator->HandleNeeded();
  }
  TBarHost<TDateComboForm> Host;
  TdxBarDateNavigator* Navigator{new TdxBarDateNavigator(Host.Form())};
};

}  // namespace

TEST_F(TNavigatorLayout, SizeFollowsTheFontAndTheButtons)
{
  const TdxBarDateNavigatorMetrics m = Navigator->GetMetrics();
  ASSERT_GT(m.ColWidth, 0);
  EXPECT_EQ(m.ColWidth % 3, 0);
  EXPECT_EQ(m.SideWidth * 3, m.ColWidth * 2);
  EXPECT_EQ(m.HeaderHeight, m.RowHeight + 2);
  EXPECT_EQ(m.ButtonsHeight, ::MulDiv(8, 5, 2));
  const TSize plain = Navigator->CalcSize();
  EXPECT_EQ(plain.cx, 2 + 2 * m.SideWidth + 7 * m.ColWidth);
  EXPECT_EQ(plain.cy, 2 + m.HeaderHeight + m.DaysOfWeekHeight + 6 * m.RowHeight + 1);
  // The buttons add their strip only to a drop-down that shows one.
  Navigator->SetIsDropDown(true);
  EXPECT_EQ(Navigator->CalcSize().cy, plain.cy + m.ButtonsRegionHeight);
  Navigator->SetShowTodayButton(false);
  Navigator->SetShowClearButton(false);
  EXPECT_EQ(Navigator->CalcSize().cy, plain.cy);
  // A larger font makes everything larger.
  Navigator->GetFont()->SetSize(14);
  EXPECT_GT(Navigator->GetMetrics().ColWidth, m.ColWidth);
  EXPECT_GT(Navigator->CalcSize().cx, plain.cx);
}

TEST_F(TNavigatorLayout, TheGridOpensInThePreviousMonthOnTheFirstWeekDay)
{
  Fit();
  for (int month = 1; month <= 12; ++month) {
    Navigator->SetFirstDate(cxEncodeDate(2009, month, 15));
    const TDateTime first = Navigator->GetFirstDate();
    const TDateTime firstOfMonth = cxEncodeDate(2009, month, 1);
    EXPECT_EQ(cxDayOfWeek(first), dxBarFirstWeekDay()) << "month " << month;
    EXPECT_LT(first, firstOfMonth);
    EXPECT_LE(firstOfMonth - first, 7) << "month " << month;
  }
  // February 2009 starts on a Sunday: with Sunday first, a whole week of January shows.
  if (dxBarFirstWeekDay() == 0) {
    Navigator->SetFirstDate(cxEncodeDate(2009, 2, 1));
    EXPECT_EQ(Navigator->GetFirstDate(), cxEncodeDate(2009, 1, 25));
  }
}

TEST_F(TNavigatorLayout, EachCellNamesItsDayAndOffTheGridNone)
{
  Fit();
  Navigator->SetFirstDate(cxEncodeDate(2008, 12, 24));
  const TRect grid = Navigator->GetGridRect();
  const TdxBarDateNavigatorMetrics& m = Navigator->GetMetrics();
  for (int row = 0; row < 6; ++row)
    for (int col = 0; col < 7; ++col) {
      const TPoint centre{grid.left + col * m.ColWidth + m.ColWidth / 2,
                          grid.top + row * m.RowHeight + m.RowHeight / 2};
      const TDateTime date = Navigator->PosToDateTime(centre);
      EXPECT_EQ(date, Navigator->GetFirstDate() + row * 7 + col) << row << "," << col;
      const TRect cell = Navigator->GetDayRect(date);
      EXPECT_TRUE(::PtInRect(&cell, centre));
    }
  for (TPoint p : {TPoint{grid.left - 1, grid.top + 2}, TPoint{grid.left + 2, grid.top - 1},
                   TPoint{grid.right, grid.top + 2}, TPoint{grid.left + 2, grid.bottom}, TPoint{-5, -5}})
    EXPECT_EQ(Navigator->PosToDateTime(p), cxNullDate) << p.x << "," << p.y;
  // Nothing lies on another: header above the day names above the grid, arrows apart.
  const TRect header = Navigator->GetHeaderRect(), left = Navigator->GetLeftArrowRect(),
              right = Navigator->GetRightArrowRect();
  EXPECT_LE(header.bottom, grid.top);
  EXPECT_LT(left.right, right.left);
  EXPECT_LE(grid.right, Navigator->GetClientWidth());
}

TEST_F(TNavigatorLayout, MonthStepsStopAtTheEndsOfTheCalendar)
{
  Fit();
  Navigator->SetFirstDate(cxEncodeDate(9999, 12, 1));
  Navigator->ChangeMonth(1);
  EXPECT_EQ(Navigator->GetShownYear(), 9999);
  EXPECT_EQ(Navigator->GetShownMonth(), 12);
  Navigator->SetFirstDate(cxEncodeDate(1, 1, 31));
  Navigator->ChangeMonth(-1);
  EXPECT_EQ(Navigator->GetShownYear(), 1);
  EXPECT_EQ(Navigator->GetShownMonth(), 1);
  // The grid's first row, before 1 January of year 1, shows no dates and names none.
  EXPECT_EQ(Navigator->PosToDateTime(TPoint{Navigator->GetGridRect().left + 1, Navigator->GetGridRect().top + 1}),
            cxNullDate);
}

TEST(TMonthList, ScrollsFasterTheFartherThePointerIs)
{
  EXPECT_EQ(TAMonthListBox::ScrollStep(0, 0), 0);
  EXPECT_EQ(TAMonthListBox::ScrollStep(0, 1), 1);
  EXPECT_EQ(TAMonthListBox::ScrollStep(0, 11), 1);
  EXPECT_EQ(TAMonthListBox::ScrollStep(0, 30), 3);
  EXPECT_EQ(TAMonthListBox::ScrollStep(0, 36), 4);
  EXPECT_EQ(TAMonthListBox::ScrollStep(0, 500), 4);
  EXPECT_EQ(TAMonthListBox::ScrollStep(30, 0), -3);
  EXPECT_EQ(TAMonthListBox::ScrollInterval(1), 500);
  EXPECT_EQ(TAMonthListBox::ScrollInterval(-2), 250);
  EXPECT_EQ(TAMonthListBox::ScrollInterval(3), 100);
  EXPECT_EQ(TAMonthListBox::ScrollInterval(4), 50);
  EXPECT_EQ(TAMonthListBox::ScrollInterval(0), 0);
}
