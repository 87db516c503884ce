#include "platform/rtl/datetime.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "platform/rtl/exceptions.h"

const std::array<std::array<int, 12>, 2> MonthDays{{{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                                    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}}};

namespace {

constexpr int TwoDigitYearCenturyWindow = 50;
// Day number (0001-01-01 = 1) of 9999-12-31.
constexpr int64_t MaxDayNumber = 3652059;

// Splits a date-time into a day number (0001-01-01 = 1) and milliseconds of
// the day. The integral part is the day and the absolute fraction the time,
// so -1.25 is the day before the origin at 06:00.
bool ToTimeStamp(TDateTime dt, int64_t& day, int64_t& msec) {
  if (!std::isfinite(dt) || std::fabs(dt) > 4.0e6) return false;
  const double ms = std::nearbyint(dt * static_cast<double>(MSecsPerDay));
  const auto total = static_cast<int64_t>(ms);
  day = DateDelta + total / MSecsPerDay;  // truncates towards zero
  msec = (total < 0 ? -total : total) % MSecsPerDay;
  return true;
}

std::tm LocalNow(int& msec) {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  localtime_r(&ts.tv_sec, &tm);
  msec = static_cast<int>(ts.tv_nsec / 1000000);
  return tm;
}

int CurrentYear() {
  int ms;
  return LocalNow(ms).tm_year + 1900;
}

// Date-time from a date and a time of day, following the sign rule above.
TDateTime Compose(TDateTime date, TDateTime time) { return date >= 0 ? date + time : date - time; }

// --- formatting

std::string PadNumber(int n, int digits) {
  std::string s = std::to_string(n);
  if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<size_t>(digits) - s.size(), '0');
  return s;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Case-insensitive test whether fmt holds word at position p.
bool HasWordAt(const std::string& fmt, size_t p, const char* word) {
  for (size_t i = 0; word[i]; ++i)
    if (p + i >= fmt.size() || Upper(fmt[p + i]) != word[i]) return false;
  return true;
}

// Reads a pattern into its parts; see SplitDateTimeFormat.
class TFormatSplitter {
public:
  TFormatSplitter(const TFormatSettings& fs, bool timeInC) : FSettings(fs), FTimeInC(timeInC) {}

  void Append(const std::string& fmt) {
    // Nested formats (ddddd, c, t ...) may refer to each other; two levels suffice.
    if (FLevel >= 2) return;
    ++FLevel;
    char lastToken = ' ';
    bool use12Hour = false;
    size_t p = 0;
    const size_t n = fmt.size();
    while (p < n) {
      const char starter = fmt[p++];
      char token = Upper(starter);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastToken == 'H') token = 'N';
        lastToken = token;
      }
      auto count = [&]() {
        int c = 1;
        while (p < n && fmt[p] == starter) {
          ++c;
          ++p;
        }
        return c;
      };
      switch (token) {
        case 'Y': Field(dfYear, count()); break;
        case 'M': Field(dfMonth, count()); break;
        case 'D': {
          int c = count();
          if (c <= 2)
            Field(dfDay, c);
          else if (c == 3 || c == 4)
            Field(dfDayName, c);
          else
            Append(c == 5 ? FSettings.ShortDateFormat : FSettings.LongDateFormat);
          break;
        }
        case 'H': {
          int c = std::min(count(), 2);
          // A 12-hour marker later in the pattern (before the next hour) applies here.
          bool quoted = false;
          for (size_t q = p; q < n; ++q) {
            char ch = fmt[q];
            if (ch == '\'' || ch == '"') {
              quoted = !quoted;
            } else if (!quoted && (ch == 'A' || ch == 'a')) {
              if (HasWordAt(fmt, q, "AM/PM") || HasWordAt(fmt, q, "A/P") || HasWordAt(fmt, q, "AMPM")) use12Hour = true;
              break;
            } else if (ch == 'H' || ch == 'h') {
              break;
            }
          }
          Field(dfHour, c).Hour12 = use12Hour;
          break;
        }
        case 'N': Field(dfMinute, std::min(count(), 2)); break;
        case 'S': Field(dfSecond, std::min(count(), 2)); break;
        case 'Z': Field(dfMSec, std::min(count(), 3)); break;
        case 'T': Append(count() == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat); break;
        case 'A': {
          const size_t a = p - 1;
          size_t len = 0;
          if (HasWordAt(fmt, a, "AM/PM")) len = 5;
          else if (HasWordAt(fmt, a, "A/P")) len = 3;
          else if (HasWordAt(fmt, a, "AMPM")) len = 4;
          if (len > 0) {
            // The marker keeps the case in which the pattern writes it.
            Field(dfAmPm, 0).Text = fmt.substr(a, len);
            p = a + len;
            use12Hour = true;
          } else if (HasWordAt(fmt, a, "AAAA") || HasWordAt(fmt, a, "AAA")) {
            const int c = HasWordAt(fmt, a, "AAAA") ? 4 : 3;
            Field(dfDayName, c);
            p = a + static_cast<size_t>(c);
          } else {
            Text(std::string(1, starter));
          }
          break;
        }
        case 'C':
          count();
          Append(FSettings.ShortDateFormat);
          if (FTimeInC) {
            Text(" ");
            Append(FSettings.LongTimeFormat);
          }
          break;
        case '/':
          if (FSettings.DateSeparator) Text(std::string(1, FSettings.DateSeparator));
          break;
        case ':':
          if (FSettings.TimeSeparator) Text(std::string(1, FSettings.TimeSeparator));
          break;
        case '\'':
        case '"': {
          size_t end = fmt.find(starter, p);
          if (end == std::string::npos) end = n;
          Text(fmt.substr(p, end - p));
          p = end < n ? end + 1 : n;
          break;
        }
        default: Text(std::string(1, starter)); break;
      }
    }
    --FLevel;
  }

  std::vector<TDateTimeFormatPart> Parts;

private:
  TDateTimeFormatPart& Field(TDateTimeFormatItem item, int count) {
    Parts.push_back({item, count, false, {}});
    return Parts.back();
  }
  // Literal text joins the text before it.
  void Text(const std::string& t) {
    if (Parts.empty() || Parts.back().Item != dfText) Parts.push_back({dfText, 0, false, {}});
    Parts.back().Text += t;
  }

  const TFormatSettings& FSettings;
  bool FTimeInC;
  int FLevel = 0;
};

class TDateFormatter {
public:
  TDateFormatter(TDateTime dt, const TFormatSettings& fs) : FSettings(fs) {
    int64_t day = 0, msec = 0;
    if (ToTimeStamp(dt, day, msec)) {
      FMSecOfDay = static_cast<int>(msec);
      FDayNumber = day;
    }
    DecodeDate(dt, FYear, FMonth, FDay);
    FHour = FMSecOfDay / 3600000;
    FMin = FMSecOfDay / 60000 % 60;
    FSec = FMSecOfDay / 1000 % 60;
    FMSec = FMSecOfDay % 1000;
  }

  void Append(const std::string& fmt) {
    for (const TDateTimeFormatPart& part : SplitDateTimeFormat(fmt, FSettings, FHour != 0 || FMin != 0 || FSec != 0)) {
      const int c = part.Count;
      switch (part.Item) {
        case dfText: FOut += part.Text; break;
        case dfYear: FOut += c <= 2 ? PadNumber(FYear % 100, 2) : PadNumber(FYear, 4); break;
        case dfMonth:
          if (c <= 2)
            FOut += PadNumber(FMonth, c);
          else if (FMonth >= 1)
            FOut += c == 3 ? FSettings.ShortMonthNames[static_cast<size_t>(FMonth - 1)]
                           : FSettings.LongMonthNames[static_cast<size_t>(FMonth - 1)];
          break;
        case dfDay: FOut += PadNumber(FDay, c); break;
        case dfDayName: FOut += DayName(c == 3); break;
        case dfHour: {
          int h = FHour;
          if (part.Hour12) h = h == 0 ? 12 : (h > 12 ? h - 12 : h);
          FOut += PadNumber(h, c);
          break;
        }
        case dfMinute: FOut += PadNumber(FMin, c); break;
        case dfSecond: FOut += PadNumber(FSec, c); break;
        case dfMSec: FOut += PadNumber(FMSec, c); break;
        case dfAmPm: {
          const std::string& m = part.Text;
          const bool pm = FHour >= 12;
          if (m.size() == 5) FOut += pm ? m.substr(3, 2) : m.substr(0, 2);        // am/pm
          else if (m.size() == 3) FOut += pm ? m.substr(2, 1) : m.substr(0, 1);   // a/p
          else FOut += pm ? FSettings.TimePMString : FSettings.TimeAMString;      // ampm
          break;
        }
      }
    }
  }

  const std::string& Result() const { return FOut; }

private:
  std::string DayName(bool shortName) const {
    if (FYear == 0) return std::string();
    int dow = static_cast<int>(FDayNumber % 7);  // 0 = Sunday
    return shortName ? FSettings.ShortDayNames[static_cast<size_t>(dow)] : FSettings.LongDayNames[static_cast<size_t>(dow)];
  }

  const TFormatSettings& FSettings;
  std::string FOut;
  int64_t FDayNumber = 0;
  int FMSecOfDay = 0;
  int FYear = 0, FMonth = 0, FDay = 0, FHour = 0, FMin = 0, FSec = 0, FMSec = 0;
};

// --- parsing

enum TDateOrder { doMDY, doDMY, doYMD };

TDateOrder GetDateOrder(const std::string& fmt) {
  for (char c : fmt) {
    switch (Upper(c)) {
      case 'E':
      case 'Y': return doYMD;
      case 'M': return doMDY;
      case 'D': return doDMY;
      default: break;
    }
  }
  return doMDY;
}

class TScanner {
public:
  explicit TScanner(const std::string& s) : S(s) {}

  void Blanks() {
    while (Pos < S.size() && S[Pos] == ' ') ++Pos;
  }
  bool AtEnd() const { return Pos >= S.size(); }

  // Up to four digits (stops once the value reaches 1000).
  bool Number(int& n, int& digits) {
    Blanks();
    size_t start = Pos;
    n = 0;
    while (Pos < S.size() && S[Pos] >= '0' && S[Pos] <= '9' && n < 1000) n = n * 10 + (S[Pos++] - '0');
    digits = static_cast<int>(Pos - start);
    return digits > 0;
  }

  bool Char(char c) {
    Blanks();
    if (Pos < S.size() && S[Pos] == c) {
      ++Pos;
      return true;
    }
    return false;
  }

  bool Word(const std::string& w) {
    if (w.empty()) return false;
    Blanks();
    if (Pos + w.size() > S.size()) return false;
    for (size_t i = 0; i < w.size(); ++i)
      if (Upper(S[Pos + i]) != Upper(w[i])) return false;
    Pos += w.size();
    return true;
  }

  const std::string& S;
  size_t Pos = 0;
};

bool ScanDate(TScanner& sc, TDateTime& date, const TFormatSettings& fs) {
  const TDateOrder order = GetDateOrder(fs.ShortDateFormat);
  int n1, n2, n3, l1, l2, l3;
  if (!(sc.Number(n1, l1) && sc.Char(fs.DateSeparator) && sc.Number(n2, l2))) return false;
  int y, m, d;
  if (sc.Char(fs.DateSeparator)) {
    if (!sc.Number(n3, l3)) return false;
    int yearLen;
    switch (order) {
      case doMDY: y = n3; yearLen = l3; m = n1; d = n2; break;
      case doDMY: y = n3; yearLen = l3; m = n2; d = n1; break;
      default: y = n1; yearLen = l1; m = n2; d = n3; break;
    }
    if (yearLen <= 2) {
      const int centuryBase = CurrentYear() - TwoDigitYearCenturyWindow;
      y += centuryBase / 100 * 100;
      if (y < centuryBase) y += 100;
    }
  } else {
    y = CurrentYear();
    if (order == doDMY) {
      d = n1;
      m = n2;
    } else {
      m = n1;
      d = n2;
    }
  }
  sc.Char(fs.DateSeparator);
  sc.Blanks();
  return TryEncodeDate(y, m, d, date);
}

bool ScanAmPm(TScanner& sc, const TFormatSettings& fs, int& baseHour) {
  if (sc.Word(fs.TimeAMString) || sc.Word("AM")) {
    baseHour = 0;
    return true;
  }
  if (sc.Word(fs.TimePMString) || sc.Word("PM")) {
    baseHour = 12;
    return true;
  }
  return false;
}

bool ScanTime(TScanner& sc, TDateTime& time, const TFormatSettings& fs) {
  int baseHour = -1;
  if (ScanAmPm(sc, fs, baseHour)) sc.Blanks();
  int hour, min = 0, sec = 0, msec = 0, len;
  if (!sc.Number(hour, len)) return false;
  if (sc.Char(fs.TimeSeparator)) {
    if (!sc.Number(min, len)) return false;
    if (sc.Char(fs.TimeSeparator)) {
      if (!sc.Number(sec, len)) return false;
      if (sc.Char(fs.DecimalSeparator) || sc.Char('.')) {
        // The digits are a fraction of the second.
        size_t start = sc.Pos;
        int scale = 100;
        msec = 0;
        while (sc.Pos < sc.S.size() && sc.S[sc.Pos] >= '0' && sc.S[sc.Pos] <= '9') {
          msec += (sc.S[sc.Pos] - '0') * scale;
          scale /= 10;
          ++sc.Pos;
        }
        if (sc.Pos == start) return false;
      }
    }
  }
  if (baseHour < 0) ScanAmPm(sc, fs, baseHour);
  if (baseHour >= 0) {
    if (hour == 0 || hour > 12) return false;
    if (hour == 12) hour = 0;
    hour += baseHour;
  }
  sc.Blanks();
  return TryEncodeTime(hour, min, sec, msec, time);
}

[[noreturn]] void ConvertError(const std::string& s, const char* what) {
  throw EConvertError("'" + s + "' is not a valid " + what);
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month) {
  if (month < 1 || month > 12) return 0;
  return MonthDays[IsLeapYear(year) ? 1 : 0][static_cast<size_t>(month - 1)];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month)) return false;
  int dayOfYear = day;
  for (int i = 1; i < month; ++i) dayOfYear += DaysInAMonth(year, i);
  const int y = year - 1;
  date = static_cast<TDateTime>(y * 365 + y / 4 - y / 100 + y / 400 + dayOfYear - DateDelta);
  return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
  if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 || msec >= 1000) return false;
  time = static_cast<TDateTime>(hour * 3600000 + min * 60000 + sec * 1000 + msec) / static_cast<TDateTime>(MSecsPerDay);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError("Invalid argument to date encode");
  return d;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError("Invalid argument to time encode");
  return t;
}

void DecodeDateFully(TDateTime date, int& year, int& month, int& day, int& dow) {
  year = month = day = dow = 0;
  int64_t t, msec;
  if (!ToTimeStamp(date, t, msec) || t <= 0 || t > MaxDayNumber) return;
  constexpr int64_t D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
  dow = static_cast<int>(t % 7) + 1;
  --t;
  int64_t y = 1;
  y += t / D400 * 400;
  t %= D400;
  int64_t i = t / D100, d = t % D100;
  if (i == 4) {
    --i;
    d += D100;
  }
  y += i * 100;
  y += d / D4 * 4;
  d %= D4;
  i = d / D1;
  d %= D1;
  if (i == 4) {
    --i;
    d += D1;
  }
  y += i;
  year = static_cast<int>(y);
  int m = 1;
  while (d >= DaysInAMonth(year, m)) {
    d -= DaysInAMonth(year, m);
    ++m;
  }
  month = m;
  day = static_cast<int>(d) + 1;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
  int dow;
  DecodeDateFully(date, year, month, day, dow);
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec) {
  int64_t day, ms = 0;
  if (!ToTimeStamp(time, day, ms)) ms = 0;
  hour = static_cast<int>(ms / 3600000);
  min = static_cast<int>(ms / 60000 % 60);
  sec = static_cast<int>(ms / 1000 % 60);
  msec = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime date) {
  int y, m, d, dow;
  DecodeDateFully(date, y, m, d, dow);
  return dow;
}

TDateTime IncMonth(TDateTime date, int numberOfMonths) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  if (y == 0) throw EConvertError("Invalid argument to date encode");
  const int64_t total = static_cast<int64_t>(y) * 12 + (m - 1) + numberOfMonths;
  const int64_t ny = total >= 0 ? total / 12 : (total - 11) / 12;
  const int nm = static_cast<int>(total - ny * 12) + 1;
  if (ny < 1 || ny > 9999) throw EConvertError("Invalid argument to date encode");
  const int nd = std::min(d, DaysInAMonth(static_cast<int>(ny), nm));
  const TDateTime newDate = EncodeDate(static_cast<int>(ny), nm, nd);
  int hh, nn, ss, ms;
  DecodeTime(date, hh, nn, ss, ms);
  return Compose(newDate, EncodeTime(hh, nn, ss, ms));
}

TDateTime Now() {
  int ms;
  std::tm tm = LocalNow(ms);
  return Compose(EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday),
                 EncodeTime(tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59), ms));
}

TDateTime Date() {
  int ms;
  std::tm tm = LocalNow(ms);
  return EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

TDateTime Time() {
  int ms;
  std::tm tm = LocalNow(ms);
  return EncodeTime(tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59), ms);
}

TDateTime UnixToDateTime(int64_t unixTime) {
  return 25569.0 + static_cast<TDateTime>(unixTime) / static_cast<TDateTime>(SecsPerDay);
}

int64_t DateTimeToUnix(TDateTime value) {
  const double seconds = std::nearbyint((value - 25569.0) * SecsPerDay);
  // Beyond the 64-bit range (or not a number) the conversion is undefined.
  if (!(std::fabs(seconds) < 9.2e18)) throw EConvertError("Invalid argument to date encode");
  return static_cast<int64_t>(seconds);
}

std::vector<TDateTimeFormatPart> SplitDateTimeFormat(const std::string& format, const TFormatSettings& settings,
                                                     bool timeInC) {
  TFormatSplitter s(settings, timeInC);
  s.Append(format);
  return std::move(s.Parts);
}

std::string FormatDateTime(const std::string& format, TDateTime dateTime, const TFormatSettings& settings) {
  TDateFormatter f(dateTime, settings);
  f.Append(format.empty() ? std::string("c") : format);
  return f.Result();
}

std::string FormatDateTime(const std::string& format, TDateTime dateTime) {
  return FormatDateTime(format, dateTime, FormatSettings);
}

std::string DateToStr(TDateTime date, const TFormatSettings& settings) {
  return FormatDateTime(settings.ShortDateFormat, date, settings);
}
std::string TimeToStr(TDateTime time, const TFormatSettings& settings) {
  return FormatDateTime(settings.LongTimeFormat, time, settings);
}
std::string DateTimeToStr(TDateTime dateTime, const TFormatSettings& settings) {
  return FormatDateTime("c", dateTime, settings);
}
std::string DateToStr(TDateTime date) { return DateToStr(date, FormatSettings); }
std::string TimeToStr(TDateTime time) { return TimeToStr(time, FormatSettings); }
std::string DateTimeToStr(TDateTime dateTime) { return DateTimeToStr(dateTime, FormatSettings); }

bool TryStrToDate(const std::string& s, TDateTime& value, const TFormatSettings& settings) {
  TScanner sc(s);
  TDateTime d;
  if (!ScanDate(sc, d, settings) || !sc.AtEnd()) return false;
  value = d;
  return true;
}

bool TryStrToTime(const std::string& s, TDateTime& value, const TFormatSettings& settings) {
  TScanner sc(s);
  TDateTime t;
  if (!ScanTime(sc, t, settings) || !sc.AtEnd()) return false;
  value = t;
  return true;
}

bool TryStrToDateTime(const std::string& s, TDateTime& value, const TFormatSettings& settings) {
  TScanner sc(s);
  TDateTime d, t = 0;
  if (ScanDate(sc, d, settings) && (sc.AtEnd() || (ScanTime(sc, t, settings) && sc.AtEnd()))) {
    value = Compose(d, t);
    return true;
  }
  return TryStrToTime(s, value, settings);
}

TDateTime StrToDate(const std::string& s, const TFormatSettings& settings) {
  TDateTime v;
  if (!TryStrToDate(s, v, settings)) ConvertError(s, "date");
  return v;
}

TDateTime StrToTime(const std::string& s, const TFormatSettings& settings) {
  TDateTime v;
  if (!TryStrToTime(s, v, settings)) ConvertError(s, "time");
  return v;
}

TDateTime StrToDateTime(const std::string& s, const TFormatSettings& settings) {
  TDateTime v;
  if (!TryStrToDateTime(s, v, settings)) ConvertError(s, "date and time");
  return v;
}

bool TryStrToDate(const std::string& s, TDateTime& value) { return TryStrToDate(s, value, FormatSettings); }
bool TryStrToTime(const std::string& s, TDateTime& value) { return TryStrToTime(s, value, FormatSettings); }
bool TryStrToDateTime(const std::string& s, TDateTime& value) { return TryStrToDateTime(s, value, FormatSettings); }
TDateTime StrToDate(const std::string& s) { return StrToDate(s, FormatSettings); }
TDateTime StrToTime(const std::string& s) { return StrToTime(s, FormatSettings); }
TDateTime StrToDateTime(const std::string& s) { return StrToDateTime(s, FormatSettings); }
