#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"

namespace {

struct Ymd {
  int y, m, d;
};

TDateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0) {
  TDateTime date = EncodeDate(y, m, d), time = EncodeTime(h, n, s, ms);
  return date >= 0 ? date + time : date - time;
}

int ThisYear() {
  int y, m, d;
  DecodeDate(Date(), y, m, d);
  return y;
}

}  // namespace

TEST(DateTime, EncodeDateRejectsDaysThatDoNotExist) {
  const Ymd bad[] = {{2001, 2, 29}, {2001, 2, 30}, {1900, 2, 29}, {2100, 2, 29}, {2024, 4, 31}, {2024, 13, 1},
                     {2024, 0, 1},  {2024, 1, 0},  {0, 1, 1},     {10000, 1, 1}, {-5, 1, 1}};
  for (const auto& c : bad) {
    SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d));
    try {
      EncodeDate(c.y, c.m, c.d);
      ADD_FAILURE() << "no EConvertError";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
    TDateTime unused = 123;
    EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, unused));
    EXPECT_EQ(unused, 123);
  }
  EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
  EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
}

TEST(DateTime, LeapYearsAndMonthLengths) {
  const std::pair<int, bool> years[] = {{1900, false}, {2000, true}, {2023, false}, {2024, true}, {2100, false}, {1600, true}};
  for (auto [y, leap] : years) EXPECT_EQ(IsLeapYear(y), leap) << y;
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(1900, 2), 28);
  EXPECT_EQ(DaysInAMonth(2023, 12), 31);
  EXPECT_EQ(DaysInAMonth(2023, 13), 0);
  EXPECT_EQ(MonthDays[1][1], 29);
}

TEST(DateTime, DayNumbersMatchTheOrigin) {
  const std::pair<Ymd, double> known[] = {{{1899, 12, 30}, 0},      {{1900, 1, 1}, 2},        {{2000, 1, 1}, 36526},
                                          {{1, 1, 1}, -693593},     {{9999, 12, 31}, 2958465}, {{1899, 12, 29}, -1},
                                          {{1970, 1, 1}, 25569},    {{2024, 3, 5}, 45356}};
  for (const auto& [d, value] : known) EXPECT_EQ(EncodeDate(d.y, d.m, d.d), value) << d.y << "-" << d.m << "-" << d.d;
}

TEST(DateTime, EncodeDecodeRoundTrip) {
  const Ymd dates[] = {{1, 1, 1},     {1600, 2, 29}, {1752, 9, 3},  {1899, 12, 29}, {1899, 12, 30}, {1899, 12, 31},
                       {1900, 2, 28}, {1900, 3, 1},  {2000, 2, 29}, {2000, 12, 31}, {2024, 3, 5},   {9999, 12, 31}};
  const int times[][4] = {{0, 0, 0, 0}, {6, 0, 0, 0}, {23, 59, 59, 999}, {12, 34, 56, 789}};
  for (const auto& d : dates) {
    for (const auto& t : times) {
      TDateTime dt = At(d.y, d.m, d.d, t[0], t[1], t[2], t[3]);
      int y, m, day, h, n, s, ms;
      DecodeDate(dt, y, m, day);
      DecodeTime(dt, h, n, s, ms);
      SCOPED_TRACE(dt);
      EXPECT_EQ(y, d.y);
      EXPECT_EQ(m, d.m);
      EXPECT_EQ(day, d.d);
      EXPECT_EQ(h, t[0]);
      EXPECT_EQ(n, t[1]);
      EXPECT_EQ(s, t[2]);
      EXPECT_EQ(ms, t[3]);
    }
  }
}

TEST(DateTime, NegativeValuesCountTheTimeFromTheDaysStart) {
  int y, m, d, h, n, s, ms;
  DecodeDate(-1.25, y, m, d);
  DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ((std::vector<int>{y, m, d, h, n, s, ms}), (std::vector<int>{1899, 12, 29, 6, 0, 0, 0}));
  DecodeDate(-0.5, y, m, d);
  DecodeTime(-0.5, h, n, s, ms);
  EXPECT_EQ((std::vector<int>{y, m, d, h}), (std::vector<int>{1899, 12, 30, 12}));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", -1.25), "1899-12-29 06:00");

  // Out of range and non-finite values decode as zeros instead of failing.
  for (double bad : {-700000.0, 3000000.0, double(NAN), double(INFINITY)}) {
    DecodeDate(bad, y, m, d);
    EXPECT_EQ(y + m + d, 0) << bad;
  }
}

TEST(DateTime, EncodeTime) {
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  const int bad[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};
  for (const auto& t : bad) {
    try {
      EncodeTime(t[0], t[1], t[2], t[3]);
      ADD_FAILURE() << "no EConvertError";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Invalid argument to time encode");
    }
  }
  // A value a hair below midnight rounds to the next day's 00:00.
  int h, n, s, ms, y, m, d;
  TDateTime late = EncodeDate(2024, 3, 5) + 0.9999999999;
  DecodeTime(late, h, n, s, ms);
  DecodeDate(late, y, m, d);
  EXPECT_EQ((std::vector<int>{d, h, n, s, ms}), (std::vector<int>{6, 0, 0, 0, 0}));
}

TEST(DateTime, DayOfWeekAndIncMonth) {
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 5)), 3);  // Tuesday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);  // Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);  // Sunday
  EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);  // Monday

  struct Case {
    Ymd from;
    int months;
    Ymd to;
  };
  const Case cases[] = {{{2024, 1, 31}, 1, {2024, 2, 29}}, {{2023, 1, 31}, 1, {2023, 2, 28}},
                        {{2024, 12, 15}, 1, {2025, 1, 15}}, {{2024, 1, 15}, -1, {2023, 12, 15}},
                        {{2024, 3, 31}, -13, {2023, 2, 28}}, {{2024, 5, 10}, 24, {2026, 5, 10}},
                        {{1899, 12, 29}, 1, {1900, 1, 29}}};
  for (const auto& c : cases) {
    TDateTime r = IncMonth(At(c.from.y, c.from.m, c.from.d, 18, 30), c.months);
    int y, m, d, h, n, s, ms;
    DecodeDate(r, y, m, d);
    DecodeTime(r, h, n, s, ms);
    SCOPED_TRACE(std::to_string(c.from.y) + "-" + std::to_string(c.from.m) + " + " + std::to_string(c.months));
    EXPECT_EQ((std::vector<int>{y, m, d, h, n}), (std::vector<int>{c.to.y, c.to.m, c.to.d, 18, 30}));
  }
  EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
}

TEST(DateTime, FormatPatterns) {
  const TDateTime afternoon = At(2024, 3, 5, 14, 7, 9, 45);
  const TDateTime morning = At(2024, 11, 23, 0, 5, 0, 0);
  struct Case {
    const char* pattern;
    TDateTime value;
    const char* expected;
  };
  const Case cases[] = {
      {"dd/mm/yyyy hh:nn", At(2024, 3, 5, 14, 7), "05/03/2024 14:07"},
      {"d/m/yy", afternoon, "5/3/24"},
      {"ddd dddd", afternoon, "Tue Tuesday"},
      {"mmm mmmm", afternoon, "Mar March"},
      {"MMMMM", afternoon, "March"},
      {"ddddd", afternoon, "05/03/2024"},
      {"dddddd", afternoon, "Tuesday, 5 March 2024"},
      {"h:n:s.z", afternoon, "14:7:9.45"},
      {"hh:nn:ss.zzz", afternoon, "14:07:09.045"},
      {"hh:mm", afternoon, "14:07"},  // m after h is minutes
      {"h mm", afternoon, "14 07"},
      {"mm hh", afternoon, "03 14"},
      {"hh:nn mm", afternoon, "14:07 03"},
      {"h:nn am/pm", afternoon, "2:07 pm"},
      {"h:nn AM/PM", morning, "12:05 AM"},
      {"h:nn A/P", afternoon, "2:07 P"},
      {"hh:nn ampm", afternoon, "02:07 PM"},
      {"h 'am/pm' h", afternoon, "14 am/pm 14"},  // a quoted marker is text
      {"t", afternoon, "14:07"},
      {"tt", afternoon, "14:07:09"},
      {"c", afternoon, "05/03/2024 14:07:09"},
      {"c", EncodeDate(2024, 3, 5), "05/03/2024"},
      {"", EncodeDate(2024, 3, 5), "05/03/2024"},
      {"\"Day\" d 'of' mmmm", afternoon, "Day 5 of March"},
      {"yyyy\"unclosed", afternoon, "2024unclosed"},
      {"yyy-y", afternoon, "2024-24"},
      {"aaa aaaa", afternoon, "Tue Tuesday"},
      {"[x]", afternoon, "[x]"},
      {"dd.mm.yyyy", At(1, 1, 1), "01.01.0001"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, c.value), c.expected) << c.pattern;
}

TEST(DateTime, FormatUsesTheGivenSettings) {
  TFormatSettings fs;
  fs.DateSeparator = '-';
  fs.TimeSeparator = '.';
  fs.ShortDateFormat = "yyyy/mm/dd";
  fs.LongTimeFormat = "hh:nn";
  fs.TimeAMString = "vorm.";
  fs.TimePMString = "nachm.";
  fs.ShortMonthNames[2] = "Mrz";
  const TDateTime t = At(2024, 3, 5, 14, 7, 9);
  EXPECT_EQ(FormatDateTime("c", t, fs), "2024-03-05 14.07");
  EXPECT_EQ(FormatDateTime("d mmm h ampm", t, fs), "5 Mrz 2 nachm.");
  EXPECT_EQ(DateToStr(t, fs), "2024-03-05");
  EXPECT_EQ(TimeToStr(t, fs), "14.07");
  EXPECT_EQ(DateTimeToStr(t, fs), "2024-03-05 14.07");
  // The global settings are the defaults.
  EXPECT_EQ(DateToStr(t), "05/03/2024");
  EXPECT_EQ(TimeToStr(t), "14:07:09");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "05/03/2024");
}

TEST(DateTime, StrToDateFollowsTheShortDateOrder) {
  EXPECT_EQ(StrToDate("05/03/2024"), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate(" 5 / 3 / 2024 "), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate("5/3"), EncodeDate(ThisYear(), 3, 5));

  TFormatSettings us;
  us.ShortDateFormat = "m/d/yyyy";
  EXPECT_EQ(StrToDate("3/5/2024", us), EncodeDate(2024, 3, 5));
  TFormatSettings iso;
  iso.ShortDateFormat = "yyyy-mm-dd";
  iso.DateSeparator = '-';
  EXPECT_EQ(StrToDate("2024-03-05", iso), EncodeDate(2024, 3, 5));

  // Two-digit years fall in the hundred years from fifty years ago.
  const int base = ThisYear() - 50;
  for (int yy : {0, 1, 49, 50, 51, 99}) {
    int expected = base / 100 * 100 + yy;
    if (expected < base) expected += 100;
    char text[16];
    std::snprintf(text, sizeof text, "1/1/%02d", yy);
    EXPECT_EQ(StrToDate(text), EncodeDate(expected, 1, 1)) << text;
  }
  EXPECT_EQ(StrToDate("1/1/0024"), EncodeDate(24, 1, 1));  // four digits are taken as written

  const char* bad[] = {"", "31/02/2024", "5-3-2024", "05/03/2024x", "a/b/c", "05/", "05/03/", "12345/1/1", "5/13/2024"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    try {
      StrToDate(text);
      ADD_FAILURE() << "no EConvertError";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid date");
    }
    TDateTime v = 7;
    EXPECT_FALSE(TryStrToDate(text, v));
    EXPECT_EQ(v, 7);
  }
}

TEST(DateTime, StrToTimeAndDateTime) {
  struct Case {
    const char* text;
    int h, n, s, ms;
  };
  const Case good[] = {{"14:07", 14, 7, 0, 0},        {"14:07:05", 14, 7, 5, 0},      {"14:07:05.25", 14, 7, 5, 250},
                       {"2:07 PM", 14, 7, 0, 0},      {"2:07pm", 14, 7, 0, 0},        {"12:00 AM", 0, 0, 0, 0},
                       {"12:30 PM", 12, 30, 0, 0},    {"AM 9:15", 9, 15, 0, 0},       {"7", 7, 0, 0, 0},
                       {" 23:59:59.999 ", 23, 59, 59, 999}};
  for (const auto& c : good) {
    SCOPED_TRACE(c.text);
    TDateTime t = StrToTime(c.text);
    int h, n, s, ms;
    DecodeTime(t, h, n, s, ms);
    EXPECT_EQ((std::vector<int>{h, n, s, ms}), (std::vector<int>{c.h, c.n, c.s, c.ms}));
  }
  for (const char* text : {"25:00", "14:", "14:60", "13:00 PM", "0:30 AM", "noon", "14:07:05.", ""}) {
    SCOPED_TRACE(text);
    try {
      StrToTime(text);
      ADD_FAILURE() << "no EConvertError";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid time");
    }
  }

  EXPECT_EQ(StrToDateTime("05/03/2024 14:07"), At(2024, 3, 5, 14, 7));
  EXPECT_EQ(StrToDateTime("05/03/2024"), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDateTime("29/12/1899 06:00"), -1.25);
  EXPECT_DOUBLE_EQ(StrToDateTime("14:07"), EncodeTime(14, 7, 0, 0));
  EXPECT_THROW(StrToDateTime("05/03/2024 14:07 extra"), EConvertError);
  try {
    StrToDateTime("soon");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'soon' is not a valid date and time");
  }
  // Formatting and parsing with the same settings agree.
  const TDateTime t = At(2031, 7, 19, 8, 9, 10);
  EXPECT_EQ(StrToDateTime(DateTimeToStr(t)), t);
}

TEST(DateTime, ClockAndUnixTime) {
  const TDateTime now = Now(), today = Date();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_EQ(today, std::floor(today));
  EXPECT_LT(std::fabs(now - today), 2.0);
  const TDateTime t = Time();
  EXPECT_GE(t, 0.0);
  EXPECT_LT(t, 1.0);

  EXPECT_EQ(UnixToDateTime(0), EncodeDate(1970, 1, 1));
  EXPECT_EQ(UnixToDateTime(86400 + 43200), EncodeDate(1970, 1, 2) + 0.5);
  EXPECT_EQ(DateTimeToUnix(At(2024, 3, 5, 14, 7, 9)), 1709647629);
}
