// String helpers with the class library's 1-based positions, and the
// conversions between numbers and text. Strings are UTF-8 std::string;
// positions and lengths here count bytes (the same as characters for the
// ASCII text of every file format) unless a routine says otherwise.
// Parsing never depends on the C locale.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/rtl/formatsettings.h"

// ---- Positions, copying and editing (1-based) -----------------------------

// Number of bytes in s.
int Length(const std::string& s);

// The count bytes of s from position index. An index below 1 counts as 1; an
// index past the end, or a count of 0 or less, gives the empty string; a count
// reaching past the end takes the rest.
std::string Copy(const std::string& s, int index, int count);

// Position of the first occurrence of sub in s, 0 when absent or sub is empty.
int Pos(const std::string& sub, const std::string& s);
// As Pos, but the search starts at position offset (below 1 or past the end
// gives 0).
int Pos(const std::string& sub, const std::string& s, int offset);

// Removes count bytes from position index; nothing happens when index is
// outside 1..Length(s) or count <= 0.
void Delete(std::string& s, int index, int count);

// Inserts sub before position index; index < 1 inserts at the front, an index
// past the end appends.
void Insert(const std::string& sub, std::string& s, int index);

// Cuts s to n bytes or extends it with '\0' bytes (n < 0 counts as 0).
// Callers that need blank padding append StringOfChar(' ', ...) themselves.
void SetLength(std::string& s, int n);

// n copies of c (empty when n <= 0).
std::string StringOfChar(char c, int n);

// ---- Trimming and case ------------------------------------------------------

// Drop leading and/or trailing bytes <= ' ' (blanks and control characters).
// Bytes >= 128 are parts of UTF-8 characters and are never dropped.
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);

// ASCII case mapping; other bytes are left as they are.
char UpCase(char c);
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
std::string AnsiUpperCase(const std::string& s);
std::string AnsiLowerCase(const std::string& s);

// ---- Comparison ------------------------------------------------------------

// Byte-wise (unsigned) comparison: < 0, 0 or > 0.
int CompareStr(const std::string& a, const std::string& b);
// As CompareStr with the ASCII letters compared without regard to case.
int CompareText(const std::string& a, const std::string& b);
bool SameText(const std::string& a, const std::string& b);
int AnsiCompareStr(const std::string& a, const std::string& b);
int AnsiCompareText(const std::string& a, const std::string& b);
bool AnsiSameText(const std::string& a, const std::string& b);

// ---- Replacing and quoting -------------------------------------------------

enum TReplaceFlags : unsigned { rfNone = 0, rfReplaceAll = 1, rfIgnoreCase = 2 };
constexpr TReplaceFlags operator|(TReplaceFlags a, TReplaceFlags b) {
  return static_cast<TReplaceFlags>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// Replaces the first (or, with rfReplaceAll, every) occurrence of oldPattern;
// rfIgnoreCase matches ASCII letters without regard to case. An empty
// oldPattern leaves s unchanged.
std::string StringReplace(const std::string& s, const std::string& oldPattern, const std::string& newPattern,
                          TReplaceFlags flags = rfNone);

// s in single quotes, each quote inside doubled: it's -> 'it''s'.
std::string QuotedStr(const std::string& s);

// ---- UTF-8 -----------------------------------------------------------------

// Number of characters (code points) in s; a stray continuation byte counts
// as a character of its own.
int Utf8Length(const std::string& s);

// s cut to at most maxChars characters, never inside a character
// (maxChars <= 0 gives the empty string).
std::string Utf8Truncate(const std::string& s, int maxChars);

// ---- Integers to text ------------------------------------------------------

std::string IntToStr(int64_t value);
std::string UIntToStr(uint64_t value);

// Upper-case hexadecimal with at least `digits` digits. A negative value is
// written as its two's complement in the width of its type:
// IntToHex(-1, 2) is "FFFFFFFF", IntToHex(int64_t(-1), 2) sixteen Fs.
std::string IntToHexBits(uint64_t bits, int digits);
template <std::integral T>
std::string IntToHex(T value, int digits) {
  return IntToHexBits(static_cast<uint64_t>(static_cast<std::make_unsigned_t<T>>(value)), digits);
}

// ---- Text to integers ------------------------------------------------------
// Accepted: leading and trailing blanks, an optional sign, then decimal digits,
// or hexadecimal digits after "$" or "0x". StrToInt takes the 32-bit range; a
// hexadecimal text up to $FFFFFFFF is read as its 32-bit pattern ($FFFFFFFF is
// -1). Failures raise EConvertError "'<text>' is not a valid integer value".

int StrToInt(const std::string& s);
int StrToIntDef(const std::string& s, int def);
bool TryStrToInt(const std::string& s, int& value);
int64_t StrToInt64(const std::string& s);
int64_t StrToInt64Def(const std::string& s, int64_t def);
bool TryStrToInt64(const std::string& s, int64_t& value);

// ---- Text to floating point ------------------------------------------------
// Accepted: leading and trailing blanks, an optional sign, digits with an
// optional fraction (either may be empty, not both), an optional exponent
// "E"/"e" with optional sign and at least one digit. The decimal point is "."
// or the settings' DecimalSeparator. Out-of-range magnitudes fail; values too
// small for a double read as 0. Failures raise EConvertError
// "'<text>' is not a valid floating point value".

double StrToFloat(const std::string& s);
double StrToFloat(const std::string& s, const TFormatSettings& settings);
double StrToFloatDef(const std::string& s, double def);
double StrToFloatDef(const std::string& s, double def, const TFormatSettings& settings);
bool TryStrToFloat(const std::string& s, double& value);
bool TryStrToFloat(const std::string& s, double& value, const TFormatSettings& settings);

// Pascal's Val: reads a number with "." as the decimal point, allowing leading
// blanks only. code is 0 on success, else the 1-based position of the first
// byte that does not fit (Length(s) + 1 when the text ends too early, 1 for an
// empty text). On failure a double gets the value of the longest well-formed
// prefix (0 when there is none) and an integer gets 0.
void Val(const std::string& s, double& value, int& code);
void Val(const std::string& s, int& value, int& code);
void Val(const std::string& s, int64_t& value, int& code);
