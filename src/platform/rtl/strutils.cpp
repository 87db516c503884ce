#include "platform/rtl/strutils.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

#include "platform/rtl/exceptions.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

char LowCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

size_t ClampIndex(int index) { return index < 1 ? 0 : static_cast<size_t>(index) - 1; }

// Bytes that make up the UTF-8 character starting at s[i] (1 for a stray
// continuation byte or a truncated sequence).
size_t Utf8CharSize(const std::string& s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  size_t want = 1;
  if ((lead & 0xE0) == 0xC0)
    want = 2;
  else if ((lead & 0xF0) == 0xE0)
    want = 3;
  else if ((lead & 0xF8) == 0xF0)
    want = 4;
  size_t n = 1;
  while (n < want && i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80)
    ++n;
  return n;
}

[[noreturn]] void RaiseInteger(const std::string& s) {
  throw EConvertError("'" + s + "' is not a valid integer value");
}

[[noreturn]] void RaiseFloat(const std::string& s) {
  throw EConvertError("'" + s + "' is not a valid floating point value");
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads an integer from s[i..]: optional sign, then decimal digits or hex
// digits after "$"/"0x", in the 32- or 64-bit range.
struct TIntScan {
  bool Ok = false;
  bool Overflow = false;
  size_t End = 0; // first byte not taken
  int64_t Value = 0;
};

TIntScan ScanInt(const std::string& s, size_t i, bool wide) {
  TIntScan r;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  const uint64_t decLimit = wide ? static_cast<uint64_t>(INT64_MAX) + (negative ? 1 : 0)
                                 : static_cast<uint64_t>(INT32_MAX) + (negative ? 1 : 0);
  const uint64_t hexLimit = wide ? UINT64_MAX : UINT32_MAX;
  uint64_t magnitude = 0;
  bool overflow = false;
  size_t digits = 0;
  for (; i < s.size(); ++i) {
    const int d = hex ? HexDigit(s[i]) : ((s[i] >= '0' && s[i] <= '9') ? s[i] - '0' : -1);
    if (d < 0) break;
    ++digits;
    const uint64_t base = hex ? 16 : 10;
    const uint64_t limit = hex ? hexLimit : decLimit;
    if (magnitude > (limit - static_cast<uint64_t>(d)) / base)
      overflow = true;
    else
      magnitude = magnitude * base + static_cast<uint64_t>(d);
  }
  r.End = i;
  r.Overflow = overflow;
  if (digits == 0 || overflow) return r;
  int64_t value;
  if (hex) {
    // A hexadecimal text is a bit pattern of the target width.
    value = wide ? static_cast<int64_t>(magnitude) : static_cast<int64_t>(static_cast<int32_t>(magnitude));
    if (negative) {
      if (value == (wide ? INT64_MIN : INT32_MIN)) {
        r.Overflow = true;
        return r;
      }
      value = -value;
    }
  } else if (negative) {
    value = magnitude == static_cast<uint64_t>(INT64_MAX) + 1 ? INT64_MIN : -static_cast<int64_t>(magnitude);
  } else {
    value = static_cast<int64_t>(magnitude);
  }
  r.Ok = true;
  r.Value = value;
  return r;
}

bool ParseWholeInt(const std::string& s, bool wide, int64_t& value) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  const TIntScan scan = ScanInt(s, i, wide);
  if (!scan.Ok) return false;
  for (size_t j = scan.End; j < s.size(); ++j)
    if (!IsBlank(s[j])) return false;
  value = scan.Value;
  return true;
}

// The shape of a decimal number starting at s[i]: sign, digits, fraction,
// exponent. GoodEnd is the end of the longest well-formed prefix (0 when
// there is none); ErrorPos the first byte that does not fit.
struct TFloatScan {
  size_t Start = 0;
  size_t GoodEnd = 0;
  size_t ErrorPos = 0;
  bool HasNumber = false;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

TFloatScan ScanFloat(const std::string& s, size_t i, char decimalSeparator) {
  TFloatScan r;
  r.Start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && (s[i] == '.' || s[i] == decimalSeparator)) {
    const size_t point = i;
    ++i;
    size_t frac = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++frac;
    if (digits == 0 && frac == 0) {
      r.ErrorPos = point + 1;
      return r;
    }
    digits += frac;
  }
  if (digits == 0) {
    r.ErrorPos = i;
    return r;
  }
  r.HasNumber = true;
  r.GoodEnd = i;
  r.ErrorPos = i;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t exp = 0;
    while (j < s.size() && IsDigit(s[j])) ++j, ++exp;
    if (exp == 0) {
      r.ErrorPos = j;
      return r;
    }
    r.GoodEnd = j;
    r.ErrorPos = j;
  }
  return r;
}

// Converts a well-formed number s[start, end) (as ScanFloat accepts it).
// Returns false on overflow; values below the double range give a signed 0.
bool ConvertFloat(const std::string& s, size_t start, size_t end, char decimalSeparator, double& value) {
  std::string text;
  text.reserve(end - start);
  bool negative = false;
  size_t i = start;
  if (s[i] == '+' || s[i] == '-') {
    negative = s[i] == '-';
    ++i;
  }
  // Decimal exponent of the first significant digit, to tell overflow from
  // underflow when the conversion reports a range error.
  bool seenNonZero = false, inFraction = false;
  long long intDigitsAfterLead = 0, fracZerosBeforeLead = 0;
  long long exponent = 0;
  for (; i < end; ++i) {
    const char c = s[i];
    if (c == '.' || c == decimalSeparator) {
      inFraction = true;
      text += '.';
    } else if (c == 'e' || c == 'E') {
      text.append(s, i, end - i);
      size_t j = i + 1;
      bool expNegative = false;
      if (s[j] == '+' || s[j] == '-') expNegative = s[j++] == '-';
      for (; j < end; ++j) exponent = std::min<long long>(exponent * 10 + (s[j] - '0'), 100000);
      if (expNegative) exponent = -exponent;
      break;
    } else {
      text += c;
      if (!seenNonZero && c != '0') seenNonZero = true;
      if (seenNonZero && !inFraction) ++intDigitsAfterLead;
      if (!seenNonZero && inFraction) ++fracZerosBeforeLead;
    }
  }
  if (!seenNonZero) {
    value = negative ? -0.0 : 0.0;
    return true;
  }
  const long long leadExponent = (intDigitsAfterLead > 0 ? intDigitsAfterLead - 1 : -(fracZerosBeforeLead + 1)) + exponent;
  // from_chars takes no '+' and never looks at the C locale.
  double v = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    if (leadExponent > 0) return false;
    v = 0.0;
  } else if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    return false;
  }
  if (std::isinf(v)) return false;
  value = negative ? -v : v;
  return true;
}

bool ParseWholeFloat(const std::string& s, char decimalSeparator, double& value) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  const TFloatScan scan = ScanFloat(s, i, decimalSeparator);
  if (!scan.HasNumber) return false;
  for (size_t j = scan.GoodEnd; j < s.size(); ++j)
    if (!IsBlank(s[j])) return false;
  return ConvertFloat(s, scan.Start, scan.GoodEnd, decimalSeparator, value);
}

int CompareBytes(const std::string& a, const std::string& b, bool ignoreCase) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (ignoreCase) {
      x = static_cast<unsigned char>(UpCase(static_cast<char>(x)));
      y = static_cast<unsigned char>(UpCase(static_cast<char>(y)));
    }
    if (x != y) return static_cast<int>(x) - static_cast<int>(y);
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

// ---- Positions, copying and editing -----------------------------------------

int Length(const std::string& s) { return static_cast<int>(s.size()); }

std::string Copy(const std::string& s, int index, int count) {
  const size_t start = ClampIndex(index);
  if (count <= 0 || start >= s.size()) return {};
  return s.substr(start, static_cast<size_t>(count));
}

int Pos(const std::string& sub, const std::string& s) { return Pos(sub, s, 1); }

int Pos(const std::string& sub, const std::string& s, int offset) {
  if (sub.empty() || offset < 1 || static_cast<size_t>(offset) > s.size()) return 0;
  const size_t p = s.find(sub, static_cast<size_t>(offset) - 1);
  return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

void Delete(std::string& s, int index, int count) {
  if (index < 1 || count <= 0 || static_cast<size_t>(index) > s.size()) return;
  s.erase(static_cast<size_t>(index) - 1, static_cast<size_t>(count));
}

void Insert(const std::string& sub, std::string& s, int index) {
  const size_t at = std::min(ClampIndex(index), s.size());
  s.insert(at, sub);
}

void SetLength(std::string& s, int n) { s.resize(n < 0 ? 0 : static_cast<size_t>(n), '\0'); }

std::string StringOfChar(char c, int n) { return n <= 0 ? std::string() : std::string(static_cast<size_t>(n), c); }

// ---- Trimming and case --------------------------------------------------------

std::string Trim(const std::string& s) {
  size_t first = 0, last = s.size();
  while (first < last && IsBlank(s[first])) ++first;
  while (last > first && IsBlank(s[last - 1])) --last;
  return s.substr(first, last - first);
}

std::string TrimLeft(const std::string& s) {
  size_t first = 0;
  while (first < s.size() && IsBlank(s[first])) ++first;
  return s.substr(first);
}

std::string TrimRight(const std::string& s) {
  size_t last = s.size();
  while (last > 0 && IsBlank(s[last - 1])) --last;
  return s.substr(0, last);
}

char UpCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c; }

std::string UpperCase(const std::string& s) {
  std::string r(s);
  for (char& c : r) c = UpCase(c);
  return r;
}

std::string LowerCase(const std::string& s) {
  std::string r(s);
  for (char& c : r) c = LowCase(c);
  return r;
}

std::string AnsiUpperCase(const std::string& s) { return UpperCase(s); }
std::string AnsiLowerCase(const std::string& s) { return LowerCase(s); }

// ---- Comparison --------------------------------------------------------------

int CompareStr(const std::string& a, const std::string& b) { return CompareBytes(a, b, false); }
int CompareText(const std::string& a, const std::string& b) { return CompareBytes(a, b, true); }
bool SameText(const std::string& a, const std::string& b) { return a.size() == b.size() && CompareText(a, b) == 0; }
int AnsiCompareStr(const std::string& a, const std::string& b) { return CompareStr(a, b); }
int AnsiCompareText(const std::string& a, const std::string& b) { return CompareText(a, b); }
bool AnsiSameText(const std::string& a, const std::string& b) { return SameText(a, b); }

// ---- Replacing and quoting -----------------------------------------------------

std::string StringReplace(const std::string& s, const std::string& oldPattern, const std::string& newPattern,
                          TReplaceFlags flags) {
  if (oldPattern.empty()) return s;
  const bool ignoreCase = (flags & rfIgnoreCase) != 0;
  const bool all = (flags & rfReplaceAll) != 0;
  // Upper-casing keeps every byte in place, so positions carry over.
  const std::string hay = ignoreCase ? UpperCase(s) : std::string();
  const std::string needle = ignoreCase ? UpperCase(oldPattern) : std::string();
  const std::string& searchIn = ignoreCase ? hay : s;
  const std::string& searchFor = ignoreCase ? needle : oldPattern;
  std::string r;
  size_t from = 0;
  while (true) {
    const size_t p = searchIn.find(searchFor, from);
    if (p == std::string::npos) break;
    r.append(s, from, p - from);
    r += newPattern;
    from = p + oldPattern.size();
    if (!all) break;
  }
  r.append(s, from, std::string::npos);
  return r;
}

std::string QuotedStr(const std::string& s) {
  std::string r = "'";
  for (char c : s) {
    r += c;
    if (c == '\'') r += '\'';
  }
  r += '\'';
  return r;
}

// ---- UTF-8 --------------------------------------------------------------------

int Utf8Length(const std::string& s) {
  int n = 0;
  for (size_t i = 0; i < s.size(); i += Utf8CharSize(s, i)) ++n;
  return n;
}

std::string Utf8Truncate(const std::string& s, int maxChars) {
  if (maxChars <= 0) return {};
  size_t i = 0;
  for (int n = 0; n < maxChars && i < s.size(); ++n) i += Utf8CharSize(s, i);
  return s.substr(0, i);
}

// ---- Integers to text ------------------------------------------------------------

std::string IntToStr(int64_t value) {
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

std::string UIntToStr(uint64_t value) {
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

std::string IntToHexBits(uint64_t bits, int digits) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string r;
  do {
    r += kHex[bits & 0xF];
    bits >>= 4;
  } while (bits != 0);
  if (digits > static_cast<int>(r.size())) r.append(static_cast<size_t>(digits) - r.size(), '0');
  std::reverse(r.begin(), r.end());
  return r;
}

// ---- Text to integers ---------------------------------------------------------------

bool TryStrToInt(const std::string& s, int& value) {
  int64_t v = 0;
  if (!ParseWholeInt(s, false, v)) return false;
  value = static_cast<int>(v);
  return true;
}

int StrToInt(const std::string& s) {
  int v = 0;
  if (!TryStrToInt(s, v)) RaiseInteger(s);
  return v;
}

int StrToIntDef(const std::string& s, int def) {
  int v = 0;
  return TryStrToInt(s, v) ? v : def;
}

bool TryStrToInt64(const std::string& s, int64_t& value) { return ParseWholeInt(s, true, value); }

int64_t StrToInt64(const std::string& s) {
  int64_t v = 0;
  if (!TryStrToInt64(s, v)) RaiseInteger(s);
  return v;
}

int64_t StrToInt64Def(const std::string& s, int64_t def) {
  int64_t v = 0;
  return TryStrToInt64(s, v) ? v : def;
}

// ---- Text to floating point ------------------------------------------------------------

bool TryStrToFloat(const std::string& s, double& value, const TFormatSettings& settings) {
  return ParseWholeFloat(s, settings.DecimalSeparator, value);
}

bool TryStrToFloat(const std::string& s, double& value) { return TryStrToFloat(s, value, FormatSettings); }

double StrToFloat(const std::string& s, const TFormatSettings& settings) {
  double v = 0;
  if (!TryStrToFloat(s, v, settings)) RaiseFloat(s);
  return v;
}

double StrToFloat(const std::string& s) { return StrToFloat(s, FormatSettings); }

double StrToFloatDef(const std::string& s, double def, const TFormatSettings& settings) {
  double v = 0;
  return TryStrToFloat(s, v, settings) ? v : def;
}

double StrToFloatDef(const std::string& s, double def) { return StrToFloatDef(s, def, FormatSettings); }

// ---- Val ---------------------------------------------------------------------------------

void Val(const std::string& s, double& value, int& code) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  const TFloatScan scan = ScanFloat(s, i, '.');
  double v = 0;
  bool converted = scan.HasNumber && ConvertFloat(s, scan.Start, scan.GoodEnd, '.', v);
  if (!converted) v = 0;
  value = v;
  if (scan.HasNumber && converted && scan.GoodEnd == s.size()) {
    code = 0;
  } else if (scan.HasNumber && !converted) {
    code = static_cast<int>(scan.Start) + 1;  // out of range: the whole number is at fault
  } else {
    code = static_cast<int>(std::max(scan.ErrorPos, scan.Start)) + 1;
  }
  if (s.empty()) code = 1;
}

void Val(const std::string& s, int64_t& value, int& code) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  const TIntScan scan = ScanInt(s, i, true);
  value = 0;
  if (scan.Ok && scan.End == s.size()) {
    value = scan.Value;
    code = 0;
  } else if (scan.Overflow) {
    code = static_cast<int>(i) + 1;  // out of range: the whole number is at fault
  } else {
    code = static_cast<int>(scan.End) + 1;
  }
  if (s.empty()) code = 1;
}

void Val(const std::string& s, int& value, int& code) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  const TIntScan scan = ScanInt(s, i, false);
  value = 0;
  if (scan.Ok && scan.End == s.size()) {
    value = static_cast<int>(scan.Value);
    code = 0;
  } else if (scan.Overflow) {
    code = static_cast<int>(i) + 1;  // out of range: the whole number is at fault
  } else {
    code = static_cast<int>(scan.End) + 1;
  }
  if (s.empty()) code = 1;
}
