#include "platform/rtl/formatsettings.h"

#include <langinfo.h>
#include <locale.h>

#include <atomic>
#include <cstdint>

TFormatSettings FormatSettings;

namespace {

std::atomic<int> GFirstDayOverride{-1};

// Days from 1970-01-01 of a proleptic Gregorian date (civil-from-days inverse).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int LocaleFirstDay() {
  locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return 0;
  // glibc: the week's reference day as a number yyyymmdd, and the first
  // weekday counted from it (1 = that day).
  const auto reference = static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo_l(_NL_TIME_WEEK_1STDAY, loc)));
  const char* first = nl_langinfo_l(_NL_TIME_FIRST_WEEKDAY, loc);
  const int offset = first ? static_cast<unsigned char>(first[0]) : 1;
  freelocale(loc);
  if (reference <= 0 || offset < 1 || offset > 7) return 0;
  const int64_t days = DaysFromCivil(reference / 10000, reference / 100 % 100, reference % 100);
  // 1970-01-01 was a Thursday: 0 = Sunday counting.
  const int sunday0 = static_cast<int>(((days + 4) % 7 + 7) % 7);
  const int day = (sunday0 + offset - 1) % 7;
  return (day + 6) % 7;
}

}  // namespace

int LocaleFirstDayOfWeek() {
  const int fixed = GFirstDayOverride.load();
  return fixed >= 0 ? fixed : LocaleFirstDay();
}

void SetLocaleFirstDayOfWeek(int Day) { GFirstDayOverride.store(Day >= 0 && Day <= 6 ? Day : -1); }
