// Dates and times as the class library keeps them: a TDateTime is a double
// whose integral part counts days from 1899-12-30 and whose fraction is the
// time of day. Before the origin the integral part is negative but the
// fraction still counts forward from midnight: -1.25 is 1899-12-29 06:00.
//
// The calendar is the proleptic Gregorian one, years 1..9999.
// Formatting and parsing use the global FormatSettings unless given others.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/formatsettings.h"

using TDateTime = double;

// Days from 0001-01-01 to the origin 1899-12-30.
constexpr int DateDelta = 693594;
constexpr int64_t MSecsPerDay = 86400000;
constexpr int SecsPerDay = 86400;
constexpr int MinsPerDay = 1440;
constexpr int HoursPerDay = 24;

// Days per month, indexed [IsLeapYear][month - 1].
extern const std::array<std::array<int, 12>, 2> MonthDays;

bool IsLeapYear(int year);
// Days in the month (28..31); 0 for a month outside 1..12.
int DaysInAMonth(int year, int month);

// Raise EConvertError "Invalid argument to date encode" / "Invalid argument
// to time encode" for a date or time that does not exist (hour 0..23,
// minute and second 0..59, millisecond 0..999).
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);

// Values outside years 1..9999 decode as 0/0/0.
void DecodeDate(TDateTime date, int& year, int& month, int& day);
// Also returns the day of the week (1 = Sunday .. 7 = Saturday).
void DecodeDateFully(TDateTime date, int& year, int& month, int& day, int& dow);
void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime date);

// Adds months, keeping the time of day; the day is cut to the last day of the
// resulting month (31 January + 1 month = 28 or 29 February).
TDateTime IncMonth(TDateTime date, int numberOfMonths = 1);

// The local clock.
TDateTime Now();
TDateTime Date();  // today, time 00:00
TDateTime Time();  // time of day only

// Seconds since 1970-01-01 00:00 (no time zone applied) and back; a date-time
// whose seconds do not fit 64 bits (or not a number) raises EConvertError.
TDateTime UnixToDateTime(int64_t unixTime);
int64_t DateTimeToUnix(TDateTime value);

// Formats with the class library's patterns (case-insensitive letters):
//   c       short date, then the long time unless the time is 00:00:00
//   d dd    day without/with a leading zero; ddd dddd short/long day name;
//   ddddd   short date; dddddd long date
//   m mm    month; mmm mmmm short/long month name. Right after h or hh,
//           m and mm mean minutes.
//   yy yyyy two-/four-digit year
//   h hh    hour; n nn minute; s ss second; z zzz millisecond
//   t tt    short/long time
//   am/pm a/p  12-hour clock with that marker in the case written;
//   ampm    12-hour clock with TimeAMString/TimePMString
//   /  :    DateSeparator and TimeSeparator
//   "x" 'x' literal text; any other character is copied.
// An empty pattern formats as "c".
std::string FormatDateTime(const std::string& format, TDateTime dateTime);
std::string FormatDateTime(const std::string& format, TDateTime dateTime, const TFormatSettings& settings);

// A pattern of FormatDateTime in the parts it reads, for code that lays out
// a date-time the same way: fields with the number of letters written (the
// hour, minute and second at most 2, the millisecond at most 3), and literal
// text with the separators filled in. Nested patterns (c, t, tt, ddddd,
// dddddd) come expanded from the settings; c holds the long time only with
// timeInC (FormatDateTime leaves it out for midnight).
enum TDateTimeFormatItem { dfText, dfYear, dfMonth, dfDay, dfDayName, dfHour, dfMinute, dfSecond, dfMSec, dfAmPm };
struct TDateTimeFormatPart {
  TDateTimeFormatItem Item = dfText;
  int Count = 0;        // dfDayName: 3 short, 4 long
  bool Hour12 = false;  // dfHour: on the 12-hour clock
  std::string Text;     // dfText: the text; dfAmPm: the marker as written (am/pm, a/p or ampm)
};
std::vector<TDateTimeFormatPart> SplitDateTimeFormat(const std::string& format, const TFormatSettings& settings,
                                                     bool timeInC = true);

std::string DateToStr(TDateTime date);  // ShortDateFormat
std::string TimeToStr(TDateTime time);  // LongTimeFormat
std::string DateTimeToStr(TDateTime dateTime);  // "c"
std::string DateToStr(TDateTime date, const TFormatSettings& settings);
std::string TimeToStr(TDateTime time, const TFormatSettings& settings);
std::string DateTimeToStr(TDateTime dateTime, const TFormatSettings& settings);

// Parse dates in the order of day, month and year that ShortDateFormat
// gives, separated by DateSeparator (blanks around the parts are allowed).
// A missing year means the current one; a year written with one or two
// digits falls in the hundred years that start fifty years before the current
// year (in 2024: 74..99 -> 1974..1999, 00..73 -> 2000..2073).
// Times are h[:n[:s[.z]]] with an optional AM/PM (or
// TimeAMString/TimePMString) marker. A date-time is a date, then blanks, then a
// time. Invalid text raises EConvertError "'<text>' is not a valid date"
// (time, date and time); the Try forms return false instead.
TDateTime StrToDate(const std::string& s);
TDateTime StrToTime(const std::string& s);
TDateTime StrToDateTime(const std::string& s);
bool TryStrToDate(const std::string& s, TDateTime& value);
bool TryStrToTime(const std::string& s, TDateTime& value);
bool TryStrToDateTime(const std::string& s, TDateTime& value);
TDateTime StrToDate(const std::string& s, const TFormatSettings& settings);
TDateTime StrToTime(const std::string& s, const TFormatSettings& settings);
TDateTime StrToDateTime(const std::string& s, const TFormatSettings& settings);
bool TryStrToDate(const std::string& s, TDateTime& value, const TFormatSettings& settings);
bool TryStrToTime(const std::string& s, TDateTime& value, const TFormatSettings& settings);
bool TryStrToDateTime(const std::string& s, TDateTime& value, const TFormatSettings& settings);
