#include "basic/sbtypes.h"

#include <cmath>
#include <limits>

#include "basic/sbclasses.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/strutils.h"

void StoreShortString(uint8_t* p, std::string_view s) {
  const std::size_t n = s.size() > ShortStringMax ? ShortStringMax : s.size();
  p[0] = static_cast<uint8_t>(n);
  if (n) std::memcpy(p + 1, s.data(), n);
}

std::string CutText(std::string_view s, std::size_t max) {
  if (s.size() <= max) return std::string(s);
  std::size_t n = max;
  // Back off over continuation bytes so that no character is cut in half.
  std::size_t back = 0;
  while (n > 0 && back < 3 && (static_cast<uint8_t>(s[n]) & 0xC0) == 0x80) --n, ++back;
  if (back == 3 && (static_cast<uint8_t>(s[n]) & 0xC0) == 0x80) n = max;  // not UTF-8: plain cut
  return std::string(s.substr(0, n));
}

int32_t NearestInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(std::nearbyint(x));
}

float AsSingle(double x) {
  constexpr double maxSingle = std::numeric_limits<float>::max();
  if (x > maxSingle) {
    // Values that round down to the largest single stay finite.
    if (x < static_cast<double>(std::nextafter(std::numeric_limits<float>::max(), std::numeric_limits<float>::infinity())))
      return static_cast<float>(x);
    return std::numeric_limits<float>::infinity();
  }
  if (x < -maxSingle) return -AsSingle(-x);
  return static_cast<float>(x);
}

// ---- Calendar ------------------------------------------------------------------

int DaysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && year % 4 == 0) return 29;
  return days[month - 1];
}

namespace {
// Date-time values of 1 January 0001 and of the day after 31 December 9999.
constexpr double FirstDate = -693593.0;
constexpr double EndDate = 2958466.0;
}  // namespace

// Day numbers below 1 stand for date-time values before 1 January 0001, one
// per day; they are no calendar dates, but a date subtracted from an earlier
// one comes back as the same (negative) number of days.
int32_t DateToDayNumber(double date) {
  if (!(date > FirstDate - 1.0 + std::numeric_limits<int32_t>::min() && date < EndDate))
    throw ESBRunError(301, "Date out of range");
  if (date <= FirstDate - 1.0) return static_cast<int32_t>(1 + (std::trunc(date) - FirstDate));
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  if (year < 1) throw ESBRunError(301, "Date out of range");
  int64_t n = static_cast<int64_t>(year - 1) * 365 + (year - 1) / 4;
  for (int m = 1; m < month; ++m) n += DaysInMonth(year, m);
  return static_cast<int32_t>(n + day);
}

double DayNumberToDate(int32_t n) {
  if (n <= 0) return FirstDate + (static_cast<double>(n) - 1.0);
  int64_t y = n / 365;
  while (y * 365 + y / 4 >= n) --y;
  const int64_t year = y + 1;
  int64_t rest = n - (y * 365 + y / 4);
  if (year > 9999) throw ESBRunError(301, "Date out of range");
  int month = 1;
  while (month < 12 && rest > DaysInMonth(static_cast<int>(year), month)) {
    rest -= DaysInMonth(static_cast<int>(year), month);
    ++month;
  }
  TDateTime date = 0;
  if (!TryEncodeDate(static_cast<int>(year), month, static_cast<int>(rest), date))
    throw ESBRunError(301, "Date out of range");
  return date;
}

// ---- Type codes ---------------------------------------------------------------------

bool IsNumericCode(char code) { return code == tcSingle || code == tcInteger || code == tcDouble; }

bool IsValidTypeCode(char code) { return (code >= tcSingle && code <= tcDate) || code == tcUser; }

int32_t TypeCodeSize(char code) {
  switch (code) {
    case tcSingle:
    case tcInteger: return 4;
    case tcDouble:
    case tcDate: return 8;
    case tcString: return 256;
    default: return 0;
  }
}

int32_t ElementSize(const TSBTypeList& types, char code, int32_t typeIndex) {
  if (code == tcUser) {
    const TSBType* t = TypeAt(types, typeIndex);
    return t ? t->Size : 0;
  }
  return TypeCodeSize(code);
}

TSBType* BaseTypeFor(const TSBTypeList& types, char code, int32_t typeIndex) {
  switch (code) {
    case tcSingle: return TypeAt(types, btSingle);
    case tcInteger: return TypeAt(types, btInteger);
    case tcDouble: return TypeAt(types, btDouble);
    case tcString: return TypeAt(types, btString);
    case tcDate: return TypeAt(types, btDate);
    case tcUser: return TypeAt(types, typeIndex);
    default: return nullptr;
  }
}

std::pair<char, int32_t> TypeOfVarType(const TSBType* type) {
  if (!type) return {tcNone, -1};
  if (type->TypeCode == tcUser) return {tcUser, type->Index};
  return {type->TypeCode, -1};
}

bool OperandsCompatible(int op, char a, char b) {
  if (a == tcUser || b == tcUser) return false;
  switch (op) {
    case opMul:
    case opDiv:
    case opAnd:
    case opOr: return IsNumericCode(a) && IsNumericCode(b);
    case opAdd:
    case opLess:
    case opLessEq:
    case opEqual:
    case opGreaterEq:
    case opGreater:
    case opNotEqual: return (a == tcString) == (b == tcString);
    case opSub: return a != tcString && b != tcString;
    default: return false;
  }
}

char ResultTypeCode(int op, char a, char b) {
  if (op >= opLess && op <= opOr) return tcInteger;
  static const char table[5][5] = {
      {'0', '0', '2', 0, '4'},
      {'0', '1', '2', 0, '4'},
      {'2', '2', '2', 0, '4'},
      {0, 0, 0, '3', 0},
      {'4', '4', '4', 0, '4'},
  };
  if (a < tcSingle || a > tcDate || b < tcSingle || b > tcDate) return tcNone;
  return table[a - tcSingle][b - tcSingle];
}

// ---- Typed values ----------------------------------------------------------------------

TSBValue MakeValue(const TSBTypeList& types, uint8_t* data, char code, int32_t typeIndex) {
  return TSBValue{data, code, typeIndex, ElementSize(types, code, typeIndex)};
}

int32_t ValueAsInteger(const TSBValue& v) {
  if (!v.Data) return 0;
  switch (v.TypeCode) {
    case tcSingle: return NearestInt(LoadSingle(v.Data));
    case tcInteger: return LoadInt32(v.Data);
    case tcDouble: return NearestInt(LoadDouble(v.Data));
    case tcDate: return DateToDayNumber(LoadDouble(v.Data));
    default: return 0;
  }
}

double ValueAsDouble(const TSBValue& v) {
  if (!v.Data) return 0.0;
  switch (v.TypeCode) {
    case tcSingle: return LoadSingle(v.Data);
    case tcInteger: return LoadInt32(v.Data);
    case tcDouble: return LoadDouble(v.Data);
    case tcDate: return DateToDayNumber(LoadDouble(v.Data));
    default: return 0.0;
  }
}

double ValueAsDate(const TSBValue& v) {
  if (!v.Data) return 0.0;
  switch (v.TypeCode) {
    case tcSingle: return DayNumberToDate(NearestInt(LoadSingle(v.Data)));
    case tcInteger: return DayNumberToDate(LoadInt32(v.Data));
    case tcDouble: return DayNumberToDate(NearestInt(LoadDouble(v.Data)));
    case tcDate: return LoadDouble(v.Data);
    default: return 0.0;
  }
}

std::string ValueAsString(const TSBValue& v) {
  if (!v.Data || v.TypeCode != tcString) return std::string();
  return LoadShortString(v.Data);
}

void SetValueFromInteger(const TSBValue& v, int32_t n) {
  if (!v.Data) return;
  switch (v.TypeCode) {
    case tcSingle: StoreSingle(v.Data, static_cast<float>(n)); break;
    case tcInteger: StoreInt32(v.Data, n); break;
    case tcDouble: StoreDouble(v.Data, n); break;
    case tcDate: StoreDouble(v.Data, DayNumberToDate(n)); break;
    default: break;
  }
}

void SetValueFromDouble(const TSBValue& v, double x) {
  if (!v.Data) return;
  switch (v.TypeCode) {
    case tcSingle: StoreSingle(v.Data, AsSingle(x)); break;
    case tcInteger: StoreInt32(v.Data, NearestInt(x)); break;
    case tcDouble: StoreDouble(v.Data, x); break;
    case tcDate: StoreDouble(v.Data, DayNumberToDate(NearestInt(x))); break;
    default: break;
  }
}

void SetValueFromString(const TSBValue& v, std::string_view s) {
  if (!v.Data || v.TypeCode != tcString) return;
  StoreShortString(v.Data, CutText(s));
}

// ---- Lookups ------------------------------------------------------------------------------

int FindFunctionIndex(const TSBFuncList& functions, const std::string& name, int classIndex) {
  for (std::size_t i = 0; i < functions.size(); ++i) {
    const TSBFunc* f = functions[i].get();
    if (f && f->Name == name && (classIndex < 0 || f->ClassIndex == classIndex)) return static_cast<int>(i);
  }
  return -1;
}

int FindTypeIndex(const TSBTypeList& types, const std::string& name) {
  return FindIndexByName(types, UpperCase(Trim(name)));
}

TSBType* FindType(const TSBTypeList& types, const std::string& name) {
  const std::string key = UpperCase(Trim(name));
  TSBType* found = nullptr;
  for (const auto& t : types)
    if (t && t->Name == key) found = t.get();
  return found;
}
