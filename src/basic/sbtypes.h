// Type codes and typed values of the macro language: the one-character type
// codes, the typed-value record through which every operation reaches
// storage, conversions between codes, the interpreter's own day-number
// calendar, the operator rules the checker and translator apply, and name
// lookups in the type and function lists.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rtl/exceptions.h"

class TSBType;
class TSBFunc;

using TSBTypeList = std::vector<std::unique_ptr<TSBType>>;
using TSBFuncList = std::vector<std::unique_ptr<TSBFunc>>;

// Type codes.
constexpr char tcNone = '\0';
constexpr char tcSingle = '0';
constexpr char tcInteger = '1';  // also boolean
constexpr char tcDouble = '2';
constexpr char tcString = '3';   // short string: length byte and up to 255 characters
constexpr char tcDate = '4';     // date-time value, handled as day numbers
constexpr char tcUser = '6';     // TYPE or CLASS

// Positions of the seven base types in every type list.
constexpr int btBoolean = 0, btInteger = 1, btSingle = 2, btFloat = 3, btDouble = 4, btString = 5, btDate = 6;
constexpr int BaseTypeTotal = 7;

// Operator sub-codes.
constexpr int opMul = 15, opDiv = 16, opAdd = 17, opSub = 18;
constexpr int opLess = 22, opLessEq = 23, opEqual = 24, opGreaterEq = 25, opGreater = 26, opNotEqual = 27, opAnd = 28,
              opOr = 29;

constexpr int ShortStringMax = 255;
constexpr int NameMax = 35;  // names of fields, types, variables and labels

// A typed view of one element's storage; never owns it.
struct TSBValue {
  uint8_t* Data = nullptr;  // nil: no value
  char TypeCode = tcNone;
  int32_t TypeIndex = -1;   // user type index when TypeCode is '6'
  int32_t ElemSize = 0;
};

// A failure inside a running program (a date that does not exist, a bad
// argument); the executor catches it and records Code as the run-time error.
class ESBRunError : public Exception {
public:
  ESBRunError(int code, std::string message) : Exception(std::move(message)), Code(code) {}
  int Code;
};

// ---- Storage access (unaligned, byte-exact) ----------------------------------

inline int32_t LoadInt32(const uint8_t* p) { int32_t v; std::memcpy(&v, p, 4); return v; }
inline float LoadSingle(const uint8_t* p) { float v; std::memcpy(&v, p, 4); return v; }
inline double LoadDouble(const uint8_t* p) { double v; std::memcpy(&v, p, 8); return v; }
inline void StoreInt32(uint8_t* p, int32_t v) { std::memcpy(p, &v, 4); }
inline void StoreSingle(uint8_t* p, float v) { std::memcpy(p, &v, 4); }
inline void StoreDouble(uint8_t* p, double v) { std::memcpy(p, &v, 8); }

// The text of a short string kept in storage (length byte, characters).
inline std::string LoadShortString(const uint8_t* p) { return std::string(reinterpret_cast<const char*>(p) + 1, p[0]); }
// Stores at most 255 bytes of s as a short string.
void StoreShortString(uint8_t* p, std::string_view s);
// s cut to at most max bytes without splitting a UTF-8 character.
std::string CutText(std::string_view s, std::size_t max = ShortStringMax);

// ---- Numbers ----------------------------------------------------------------

// Nearest integer, halves to even; saturates at the 32-bit range, NaN gives 0.
int32_t NearestInt(double x);
// x as a single; values beyond the single range become infinities of their sign.
float AsSingle(double x);
// 32-bit arithmetic that wraps like the machine word.
inline int32_t WrapAdd(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
inline int32_t WrapSub(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
inline int32_t WrapMul(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }

// ---- Calendar ----------------------------------------------------------------

// Days of the month; February has 29 days in every year divisible by 4.
int DaysInMonth(int year, int month);
// Day 1 is 1 January of year 1; every fourth year is a leap year. Raises
// ESBRunError (301) for a value after the year 9999 (or not a number).
int32_t DateToDayNumber(double date);
// The date (time 00:00) of a day number. One the calendar rejects (29
// February of 1900, years after 9999) raises ESBRunError (301). Day numbers
// of 0 and below give the values before 1 January 0001, one per day (no
// calendar dates, but the difference of two dates survives the round trip).
double DayNumberToDate(int32_t n);

// ---- Type codes -----------------------------------------------------------------

bool IsNumericCode(char code);
bool IsValidTypeCode(char code);
int32_t TypeCodeSize(char code);
int32_t ElementSize(const TSBTypeList& types, char code, int32_t typeIndex);
TSBType* BaseTypeFor(const TSBTypeList& types, char code, int32_t typeIndex);
// (#0, -1) for nil, ('6', Index) for a user type, (TypeCode, -1) otherwise.
std::pair<char, int32_t> TypeOfVarType(const TSBType* type);
bool OperandsCompatible(int op, char a, char b);
char ResultTypeCode(int op, char a, char b);

// ---- Typed values ---------------------------------------------------------------

TSBValue MakeValue(const TSBTypeList& types, uint8_t* data, char code, int32_t typeIndex);
int32_t ValueAsInteger(const TSBValue& v);
double ValueAsDouble(const TSBValue& v);
double ValueAsDate(const TSBValue& v);
std::string ValueAsString(const TSBValue& v);
void SetValueFromInteger(const TSBValue& v, int32_t n);
void SetValueFromDouble(const TSBValue& v, double x);
void SetValueFromString(const TSBValue& v, std::string_view s);

// ---- Lookups (exact, case-sensitive) ----------------------------------------------

template <class List>
int FindIndexByName(const List& list, const std::string& name) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] && list[i]->Name == name) return static_cast<int>(i);
  return -1;
}

int FindFunctionIndex(const TSBFuncList& functions, const std::string& name, int classIndex);
// name upper-cased and trimmed; the first match.
int FindTypeIndex(const TSBTypeList& types, const std::string& name);
// The same comparison; the last match.
TSBType* FindType(const TSBTypeList& types, const std::string& name);

template <class List>
auto TypeAt(const List& list, int i) -> decltype(list[0].get()) {
  if (i < 0 || i >= static_cast<int>(list.size())) return nullptr;
  return list[i].get();
}
