// The calendar series: where the month starts by the locale's first day of
// the week, picking dates by click (trailing days included), the month
// menu, the month buttons and OnChange.
#include <gtest/gtest.h>

#include <vector>

#include "chart/extra/grafcalendar.h"
#include "extratest.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/buttons.h"
#include "platform/ui/popupmenus.h"

namespace {

// A calendar with the week starting on the given day (0 Monday).
struct TCalendarScene : TExtraScene<TCalendarSeries> {
  explicit TCalendarScene(int FirstDay, TDateTime Date) {
    series->FirstDayOfWeek = FirstDay;
    series->SetDate(Date);
    chart.SetAxisVisible(false);
    chart.Pass();
  }
  // The centre of cell (column, row), both from 1.
  TPoint CellCentre(int Column, int Row) { return Point(series->ColumnX(Column - 0.5), series->RowY(Row - 0.5)); }
  void ClickAt(TPoint P) {
    TGrafMouseEvent e;
    e.Kind = pmeDown;
    e.Button = mbLeft;
    e.X = P.X;
    e.Y = P.Y;
    chart.NotifyListeners(&e);
  }
};

}  // namespace

TEST(CalendarLayout, TheMonthStartsInTheColumnOfItsFirstWeekday) {
  struct Case {
    int firstDay;  // 0 Monday .. 6 Sunday
    int year, month;
    int column;
  };
  // September 2024 starts on a Sunday, July 2024 on a Monday.
  const Case cases[] = {{0, 2024, 9, 7}, {6, 2024, 9, 1}, {0, 2024, 7, 1}, {6, 2024, 7, 2}, {2, 2024, 7, 6}};
  for (const Case& c : cases) {
    TCalendarSeries cal(nullptr);
    cal.FirstDayOfWeek = c.firstDay;
    EXPECT_EQ(cal.FirstColumnOf(EncodeDate(c.year, c.month, 15)), c.column) << c.firstDay << " " << c.month;
  }
}

TEST(CalendarLayout, SixDayRowsUnderTheHeadersAndTrailingDaysAround) {
  TCalendarScene s(0, EncodeDate(2024, 9, 10));
  EXPECT_EQ(s.series->Rows(), 8);
  EXPECT_EQ(s.series->FirstColumn, 7);
  EXPECT_EQ(s.series->FirstRow, 3);
  std::vector<std::string> texts;
  for (const TCanvasCall& c : s.chart.Rec->CallsOf("TextOut3D", 0)) texts.push_back(c.Text);
  // Weekdays from Monday, the title, 6 trailing days of August, 30 days,
  // then September's six rows are filled with October's first days.
  ASSERT_GE(texts.size(), 8u + 42u);
  EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 7),
            (std::vector<std::string>{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}));
  EXPECT_EQ(texts[7], "September, 2024");
  EXPECT_EQ(texts[8], "26");
  EXPECT_EQ(texts[14], "1");
  EXPECT_EQ(texts[14 + 29], "30");
  EXPECT_EQ(texts[44], "1");
  EXPECT_EQ(texts[49], "6");
  // A month starting on the week's first day has no trailing days before it.
  TCalendarScene july(0, EncodeDate(2024, 7, 4));
  std::vector<std::string> jt;
  for (const TCanvasCall& c : july.chart.Rec->CallsOf("TextOut3D", 0)) jt.push_back(c.Text);
  EXPECT_EQ(jt[8], "1");
}

TEST(CalendarPicking, ClicksPickDaysOfThisAndTheNeighbouringMonths) {
  TCalendarScene s(0, EncodeDate(2024, 9, 10));
  struct Case {
    int column, row;
    bool trailing;
    TDateTime date;  // 0: unchanged
  };
  const Case cases[] = {{7, 3, true, EncodeDate(2024, 9, 1)},   {3, 4, true, EncodeDate(2024, 9, 4)},
                        {1, 3, true, EncodeDate(2024, 8, 26)},  {1, 3, false, 0},
                        {1, 8, true, EncodeDate(2024, 9, 30)},  {2, 8, true, EncodeDate(2024, 10, 1)},
                        {2, 8, false, 0},
                        {3, 2, true, 0}};
  for (const Case& c : cases) {
    s.series->SetDate(EncodeDate(2024, 9, 10));
    s.series->Trailing()->SetVisible(c.trailing);
    s.chart.Pass();
    s.ClickAt(s.CellCentre(c.column, c.row));
    EXPECT_EQ(s.series->Date(), c.date ? c.date : EncodeDate(2024, 9, 10))
        << "column " << c.column << " row " << c.row << (c.trailing ? "" : " without trailing days");
  }
}

TEST(CalendarPicking, TheMonthMenuKeepsTheDayWherePossible) {
  TCalendarScene s(0, EncodeDate(2024, 1, 31));
  std::vector<std::string> offered;
  unsigned choice = 2;
  auto old = SetTrackPopupHandler([&](const std::vector<TMenuItemInfo>& items, int, int) {
    offered.clear();
    for (const auto& i : items) offered.push_back(i.Text);
    return choice;
  });
  s.ClickAt(Point(s.series->ColumnX(3.5), s.series->RowY(0.5)));
  ASSERT_EQ(offered.size(), 12u);
  EXPECT_EQ(offered[1], FormatSettings.LongMonthNames[1]);
  EXPECT_EQ(s.series->Date(), EncodeDate(2024, 2, 29));
  choice = 0;  // closed without a choice
  s.ClickAt(Point(s.series->ColumnX(3.5), s.series->RowY(0.5)));
  EXPECT_EQ(s.series->Date(), EncodeDate(2024, 2, 29));
  SetTrackPopupHandler(old);
}

TEST(CalendarSeries, OnChangeMayCancelAndTheButtonsStepAMonth) {
  TCalendarScene s(0, EncodeDate(2024, 3, 31));
  s.series->OnChange = [](TCalendarSeries* Sender, TDateTime& Value) {
    if (Value > EncodeDate(2024, 12, 31)) Value = Sender->Date();
  };
  s.series->NextButton()->Click();
  EXPECT_EQ(s.series->Date(), EncodeDate(2024, 4, 30));
  s.series->PreviousButton()->Click();
  EXPECT_EQ(s.series->Date(), EncodeDate(2024, 3, 30));
  s.series->SetDate(EncodeDate(2025, 1, 5));
  EXPECT_EQ(s.series->Date(), EncodeDate(2024, 3, 30)) << "cancelled";
  EXPECT_EQ(s.series->PreviousButton()->Parent(), &s.chart);
  EXPECT_EQ(s.series->NextButton()->Left(), 30);
  s.series->SetActive(false);
  EXPECT_FALSE(s.series->NextButton()->Visible());
  s.series->SetParentChart(nullptr);
  EXPECT_EQ(s.series->NextButton()->Parent(), nullptr);
}

TEST(CalendarSeries, TheLocaleDecidesTheFirstDayUnlessFixed) {
  SetLocaleFirstDayOfWeek(6);
  TCalendarSeries sunday(nullptr);
  EXPECT_EQ(sunday.FirstDayOfWeek, 6);
  SetLocaleFirstDayOfWeek(0);
  TCalendarSeries monday(nullptr);
  EXPECT_EQ(monday.FirstDayOfWeek, 0);
  SetLocaleFirstDayOfWeek(-1);
}
