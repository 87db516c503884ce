#include "platform/rtl/filetimes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cmath>
#include <ctime>

bool DosDateTimeToDateTime(uint16_t dosDate, uint16_t dosTime, TDateTime& value) {
  const int year = 1980 + (dosDate >> 9), month = (dosDate >> 5) & 15, day = dosDate & 31;
  const int hour = dosTime >> 11, minute = (dosTime >> 5) & 63, second = (dosTime & 31) * 2;
  TDateTime date, time;
  if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, 0, time)) return false;
  value = date + time;
  return true;
}

bool DateTimeToDosDateTime(TDateTime value, uint16_t& dosDate, uint16_t& dosTime) {
  int year, month, day, hour, minute, second, msec;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, msec);
  if (year < 1980 || year > 2107) return false;
  dosDate = static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
  dosTime = static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2));
  return true;
}

bool FileSetDate(const std::string& fileName, TDateTime value) {
  int year, month, day, hour, minute, second, msec;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, msec);
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = -1;  // the local rules of that day
  const std::time_t when = std::mktime(&t);
  if (when == static_cast<std::time_t>(-1)) return false;
  timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = when;
  times[1].tv_nsec = static_cast<long>(msec) * 1000000L;
  return ::utimensat(AT_FDCWD, fileName.c_str(), times, 0) == 0;
}
