// The program-wide number and date formats. The program sets the decimal
// separator to "." at start-up; files are always written with "." whatever
// these hold.
#pragma once

#include <array>
#include <string>

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string CurrencyString = "$";
  std::string ShortDateFormat = "dd/mm/yyyy";
  std::string LongDateFormat = "dddd, d mmmm yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

// The settings every formatting and parsing routine uses unless given others.
extern TFormatSettings FormatSettings;

// The first day of the week of the user's locale (the LC_TIME part of the
// environment), 0 = Monday ... 6 = Sunday; 0 when the locale tells none.
// SetLocaleFirstDayOfWeek fixes the answer (tests); -1 asks the locale again.
int LocaleFirstDayOfWeek();
void SetLocaleFirstDayOfWeek(int Day);
