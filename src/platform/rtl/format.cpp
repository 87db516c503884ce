#include "platform/rtl/format.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"

namespace {

// Enough significant digits to hold any double exactly (at most 767 are
// non-zero).
constexpr int kExactDigits = 800;
constexpr int kNoLimit = INT_MAX / 4;
// Widths and precisions of Format above this are refused: "%999999999d"
// would otherwise ask for a gigabyte of blanks.
constexpr int64_t kMaxFormatWidth = 1000000;

// A rounded decimal: value = 0.Digits x 10^Exponent. Digits has no trailing
// zeros; empty Digits is zero.
struct TDecimal {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

// n significant digits of x (> 0, finite), correctly rounded (half to even on
// the exact value), and the decimal exponent in TDecimal's sense.
void SignificantDigits(double x, int n, std::string& digits, int& exponent) {
  std::string buf(static_cast<size_t>(n) + 16, '\0');
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::scientific, n - 1);
  digits.clear();
  const char* p = buf.data();
  for (; p < res.ptr && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits += *p;
  int e = 0;
  if (p < res.ptr) std::from_chars(p + (p[1] == '+' ? 2 : 1), res.ptr, e);
  exponent = e + 1;
}

// |x| rounded half away from zero to at most `precision` significant digits
// and at most `decimals` digits after the point.
TDecimal ToDecimal(double x, int precision, int decimals) {
  TDecimal d;
  d.Negative = std::signbit(x);
  x = std::fabs(x);
  if (x == 0) return d;

  // A few digits beyond those kept decide the rounding (longer expansions
  // cost more): the digit after the last kept one, unless it is a 5 with
  // only zeros after it, which may be a rounded tail and is looked at in
  // every digit below.
  int n = std::min(40, std::max(precision, 1) + 3);
  std::string digits;
  int exponent = 0;
  SignificantDigits(x, n, digits, exponent);
  auto keepCount = [&] {
    const long long byDecimals = static_cast<long long>(exponent) + decimals;
    return static_cast<int>(std::min<long long>(precision, byDecimals));
  };
  int keep = keepCount();
  if (keep + 3 > n && n < kExactDigits) {
    n = std::min(kExactDigits, keep + 3);
    SignificantDigits(x, n, digits, exponent);
    keep = keepCount();
  }
  if (keep < 0) return d;

  bool roundUp = false;
  while (keep < n) {
    const char first = digits[static_cast<size_t>(keep)];
    if (first != '5') {
      roundUp = first > '5';
      break;
    }
    const bool moreAfter = digits.find_first_not_of('0', static_cast<size_t>(keep) + 1) != std::string::npos;
    if (moreAfter || n >= kExactDigits) {
      roundUp = true;  // above half, or an exact half: away from zero
      break;
    }
    // "5000..." may be a rounded tail: look at the exact digits.
    n = kExactDigits;
    SignificantDigits(x, n, digits, exponent);
    keep = keepCount();
    if (keep < 0) return d;
  }

  std::string kept = digits.substr(0, static_cast<size_t>(std::min(keep, n)));
  if (roundUp) {
    int i = static_cast<int>(kept.size()) - 1;
    while (i >= 0 && kept[static_cast<size_t>(i)] == '9') kept[static_cast<size_t>(i--)] = '0';
    if (i >= 0) {
      ++kept[static_cast<size_t>(i)];
    } else {
      kept.insert(kept.begin(), '1');
      ++exponent;
    }
  }
  const size_t last = kept.find_last_not_of('0');
  kept.erase(last == std::string::npos ? 0 : last + 1);
  d.Digits = std::move(kept);
  d.Exponent = d.Digits.empty() ? 0 : exponent;
  return d;
}

std::string SpecialValue(double x) {
  if (std::isnan(x)) return "NAN";
  return x < 0 ? "-INF" : "INF";
}

// Exponent digits with at least minDigits digits (and at least one).
std::string ExponentDigits(int e, int minDigits) {
  std::string s = std::to_string(e < 0 ? -static_cast<long long>(e) : e);
  if (static_cast<int>(s.size()) < minDigits) s.insert(0, static_cast<size_t>(minDigits) - s.size(), '0');
  return s;
}

char DigitAt(const TDecimal& d, long long index) {
  return (index >= 0 && index < static_cast<long long>(d.Digits.size())) ? d.Digits[static_cast<size_t>(index)] : '0';
}

// Integer digits of d (empty for a value below 1).
std::string IntegerDigits(const TDecimal& d) {
  std::string s;
  for (long long i = 0; i < d.Exponent; ++i) s += DigitAt(d, i);
  return s;
}

std::string GroupThousands(const std::string& digits, char separator) {
  if (separator == '\0') return digits;
  std::string r;
  const size_t n = digits.size();
  for (size_t i = 0; i < n; ++i) {
    r += digits[i];
    const size_t fromRight = n - 1 - i;
    if (fromRight > 0 && fromRight % 3 == 0) r += separator;
  }
  return r;
}

std::string FormatExponent(double x, int precision, int digits, const TFormatSettings& fs) {
  const TDecimal d = ToDecimal(x, precision, kNoLimit);
  std::string r = d.Digits.empty() ? "" : (d.Negative ? "-" : "");
  r += DigitAt(d, 0);
  if (precision > 1) {
    r += fs.DecimalSeparator;
    for (int i = 1; i < precision; ++i) r += DigitAt(d, i);
  }
  const int e = d.Digits.empty() ? 0 : d.Exponent - 1;
  r += 'E';
  r += e < 0 ? '-' : '+';
  r += ExponentDigits(e, digits);
  return r;
}

std::string FormatGeneral(double x, int precision, int digits, const TFormatSettings& fs) {
  const TDecimal d = ToDecimal(x, precision, kNoLimit);
  if (d.Digits.empty()) return "0";
  std::string r = d.Negative ? "-" : "";
  const long long n = static_cast<long long>(d.Digits.size());
  if (d.Exponent > precision || d.Exponent < -3) {
    r += d.Digits[0];
    if (n > 1) {
      r += fs.DecimalSeparator;
      r.append(d.Digits, 1, std::string::npos);
    }
    const int e = d.Exponent - 1;
    r += 'E';
    if (e < 0) r += '-';
    r += ExponentDigits(e, digits);
    return r;
  }
  if (d.Exponent <= 0) {
    r += '0';
    r += fs.DecimalSeparator;
    r.append(static_cast<size_t>(-d.Exponent), '0');
    r += d.Digits;
    return r;
  }
  r += IntegerDigits(d);
  if (n > d.Exponent) {
    r += fs.DecimalSeparator;
    r.append(d.Digits, static_cast<size_t>(d.Exponent), std::string::npos);
  }
  return r;
}

std::string FormatFixed(double x, int precision, int decimals, bool thousands, const TFormatSettings& fs) {
  const TDecimal d = ToDecimal(x, precision, decimals);
  if (d.Exponent > precision) return FormatExponent(x, precision, 3, fs);
  std::string integer = IntegerDigits(d);
  if (integer.empty()) integer.push_back('0');
  if (thousands) integer = GroupThousands(integer, fs.ThousandSeparator);
  std::string r;
  if (d.Negative && !d.Digits.empty()) r += '-';
  r.append(integer);
  if (decimals > 0) {
    r += fs.DecimalSeparator;
    for (int i = 0; i < decimals; ++i) r += DigitAt(d, static_cast<long long>(d.Exponent) + i);
  }
  return r;
}

// ---- FormatFloat -------------------------------------------------------------

std::vector<std::string> SplitSections(const std::string& pattern) {
  std::vector<std::string> sections(1);
  char quote = 0;
  for (char c : pattern) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      if (sections.size() == 3) break;  // a fourth section is ignored
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

bool IsExponentAt(const std::string& s, size_t i) {
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

struct TPatternInfo {
  int IntPlaceholders = 0;
  int MinInt = 0;
  int FracMax = 0;
  int FracMin = 0;
  int ExpMin = 0;
  bool Thousands = false;
  bool Scientific = false;
  bool AnyDigit = false;
};

TPatternInfo AnalysePattern(const std::string& s) {
  TPatternInfo info;
  bool inFraction = false;
  int firstZero = -1;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"' || c == '\'') {
      const size_t close = s.find(c, i + 1);
      i = close == std::string::npos ? s.size() : close;
    } else if (!info.Scientific && IsExponentAt(s, i)) {
      info.Scientific = true;
      i += 2;
      int zeros = 0;
      while (i < s.size() && (s[i] == '0' || s[i] == '#')) zeros += s[i++] == '0';
      info.ExpMin = std::min(zeros, 4);
      --i;
    } else if (c == '0' || c == '#') {
      info.AnyDigit = true;
      if (!inFraction) {
        if (c == '0' && firstZero < 0) firstZero = info.IntPlaceholders;
        ++info.IntPlaceholders;
      } else {
        ++info.FracMax;
        if (c == '0') info.FracMin = info.FracMax;
      }
    } else if (c == '.') {
      inFraction = true;
    } else if (c == ',' && !inFraction) {
      info.Thousands = true;
    }
  }
  info.MinInt = firstZero < 0 ? 0 : info.IntPlaceholders - firstZero;
  return info;
}

// Writes one section with the digits worked out; the sign is the caller's.
std::string ApplySection(const std::string& s, const TPatternInfo& info, std::string integer,
                         const std::string& fraction, int exponent, const TFormatSettings& fs) {
  std::string out;
  if (static_cast<int>(integer.size()) < info.MinInt)
    integer.insert(0, static_cast<size_t>(info.MinInt) - integer.size(), '0');
  const int len = static_cast<int>(integer.size());
  bool integerDone = false;
  auto emitDigit = [&](int fromRight) {
    out += integer[static_cast<size_t>(len - 1 - fromRight)];
    if (info.Thousands && fromRight > 0 && fromRight % 3 == 0 && fs.ThousandSeparator != '\0')
      out += fs.ThousandSeparator;
  };
  auto flushInteger = [&] {
    if (integerDone) return;
    integerDone = true;
    for (int q = len - 1; q >= 0; --q) emitDigit(q);
  };
  int intSeen = 0, fracSeen = 0;
  bool inFraction = false, exponentDone = false;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"' || c == '\'') {
      const size_t close = s.find(c, i + 1);
      const size_t end = close == std::string::npos ? s.size() : close;
      out.append(s, i + 1, end - i - 1);
      i = end;
    } else if (info.Scientific && !exponentDone && IsExponentAt(s, i)) {
      exponentDone = true;
      flushInteger();
      out += c;
      if (s[i + 1] == '+')
        out += exponent < 0 ? '-' : '+';
      else if (exponent < 0)
        out += '-';
      out += ExponentDigits(exponent, info.ExpMin);
      i += 2;
      while (i < s.size() && (s[i] == '0' || s[i] == '#')) ++i;
      --i;
    } else if (c == '0' || c == '#') {
      if (!inFraction) {
        const int fromRight = info.IntPlaceholders - 1 - intSeen;
        if (intSeen == 0) {
          for (int q = len - 1; q >= fromRight && q >= 0; --q) emitDigit(q);
        } else if (fromRight < len) {
          emitDigit(fromRight);
        }
        if (++intSeen == info.IntPlaceholders) integerDone = true;
      } else {
        if (fracSeen < static_cast<int>(fraction.size())) out += fraction[static_cast<size_t>(fracSeen)];
        ++fracSeen;
      }
    } else if (c == '.') {
      if (!inFraction) {
        flushInteger();
        inFraction = true;
        if (!fraction.empty()) out += fs.DecimalSeparator;
      }
    } else if (c == ',') {
      // a flag, not a character of the result
    } else {
      out += c;
    }
  }
  flushInteger();
  return out;
}

// One section applied to a magnitude. isZero tells that it rounded to zero;
// tooLarge that a fixed pattern cannot hold its integer digits.
std::string FormatSection(const std::string& section, double magnitude, bool& isZero, bool& tooLarge,
                          const TFormatSettings& fs) {
  const TPatternInfo info = AnalysePattern(section);
  isZero = false;
  tooLarge = false;
  if (!info.AnyDigit && !info.Scientific) {
    isZero = magnitude == 0;
    return ApplySection(section, info, "", "", 0, fs);
  }
  std::string integer, fraction;
  int exponent = 0;
  if (info.Scientific) {
    const int total = std::max(1, info.IntPlaceholders + info.FracMax);
    const TDecimal d = ToDecimal(magnitude, total, kNoLimit);
    isZero = d.Digits.empty();
    if (!isZero) {
      exponent = d.Exponent - info.IntPlaceholders;
      for (int i = 0; i < info.IntPlaceholders; ++i) integer += DigitAt(d, i);
      for (int i = info.IntPlaceholders; i < static_cast<int>(d.Digits.size()); ++i) fraction += DigitAt(d, i);
    }
  } else {
    const TDecimal d = ToDecimal(magnitude, 18, info.FracMax);
    if (d.Exponent > 18) {
      tooLarge = true;
      return {};
    }
    isZero = d.Digits.empty();
    integer = IntegerDigits(d);
    for (int i = 0; i < info.FracMax; ++i) fraction += DigitAt(d, static_cast<long long>(d.Exponent) + i);
    const size_t last = fraction.find_last_not_of('0');
    fraction.erase(last == std::string::npos ? 0 : last + 1);
  }
  if (static_cast<int>(fraction.size()) < info.FracMin)
    fraction.append(static_cast<size_t>(info.FracMin) - fraction.size(), '0');
  return ApplySection(section, info, integer, fraction, exponent, fs);
}

// ---- Format --------------------------------------------------------------------

[[noreturn]] void RaiseInvalid(const std::string& fmt) {
  throw EConvertError("Format '" + fmt + "' invalid or incompatible with argument");
}

[[noreturn]] void RaiseMissing(const std::string& fmt) { throw EConvertError("No argument for format '" + fmt + "'"); }

void Pad(std::string& out, const std::string& text, int textWidth, int width, bool left) {
  const int fill = width > textWidth ? width - textWidth : 0;
  if (!left) out.append(static_cast<size_t>(fill), ' ');
  out += text;
  if (left) out.append(static_cast<size_t>(fill), ' ');
}

bool IsInteger(const TVarRec& a) {
  return a.VType == vtInteger || a.VType == vtInt64 || a.VType == vtUInt64 || a.VType == vtBoolean;
}

// Bits of an integer argument as unsigned in the argument's own width.
uint64_t UnsignedBits(const TVarRec& a) {
  if (a.VType == vtUInt64) return a.VUInt;
  if (a.VType == vtInteger) return static_cast<uint32_t>(a.VInt);
  return static_cast<uint64_t>(a.VInt);
}

std::string FormatImpl(const std::string& fmt, const TVarRec* args, size_t count, const TFormatSettings& fs) {
  std::string out;
  size_t next = 0;
  auto takeArg = [&](size_t index) -> const TVarRec& {
    if (index >= count) RaiseMissing(fmt);
    return args[index];
  };
  size_t i = 0;
  while (i < fmt.size()) {
    const char c = fmt[i++];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i >= fmt.size()) RaiseInvalid(fmt);
    if (fmt[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // "%" [index ":"] ["-"] [width] ["." precision] type
    auto readNumber = [&](int& value) -> bool {
      if (i < fmt.size() && fmt[i] == '*') {
        ++i;
        const TVarRec& a = takeArg(next++);
        if (a.VType != vtInteger && a.VType != vtInt64) RaiseInvalid(fmt);
        if (a.VInt < -kMaxFormatWidth || a.VInt > kMaxFormatWidth) RaiseInvalid(fmt);
        value = static_cast<int>(a.VInt);
        return true;
      }
      if (i >= fmt.size() || fmt[i] < '0' || fmt[i] > '9') return false;
      int64_t v = 0;
      while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
        v = v * 10 + (fmt[i++] - '0');
        if (v > kMaxFormatWidth) RaiseInvalid(fmt);
      }
      value = static_cast<int>(v);
      return true;
    };
    bool left = false;
    if (i < fmt.size() && fmt[i] == '-') {
      left = true;
      ++i;
    }
    int width = 0, precision = -1, number = 0;
    const bool hasNumber = readNumber(number);
    if (hasNumber && i < fmt.size() && fmt[i] == ':') {
      if (left || number < 0) RaiseInvalid(fmt);
      next = static_cast<size_t>(number);
      ++i;
      if (i < fmt.size() && fmt[i] == '-') {
        left = true;
        ++i;
      }
      readNumber(width);
    } else if (hasNumber) {
      width = number;
    }
    if (width < 0) {
      left = true;
      width = -width;
    }
    if (i < fmt.size() && fmt[i] == '.') {
      ++i;
      precision = 0;
      readNumber(precision);
      if (precision < 0) precision = -1;
    }
    if (i >= fmt.size()) RaiseInvalid(fmt);
    const char type = UpCase(fmt[i++]);
    const TVarRec& a = takeArg(next++);
    std::string text;
    int textWidth = -1;
    switch (type) {
      case 'D':
      case 'U':
      case 'X': {
        if (!IsInteger(a)) RaiseInvalid(fmt);
        bool negative = false;
        uint64_t magnitude;
        if (type == 'D' && a.VType != vtUInt64 && a.VInt < 0) {
          negative = true;
          magnitude = static_cast<uint64_t>(0) - static_cast<uint64_t>(a.VInt);
        } else {
          magnitude = type == 'D' ? (a.VType == vtUInt64 ? a.VUInt : static_cast<uint64_t>(a.VInt)) : UnsignedBits(a);
        }
        std::string digits = type == 'X' ? IntToHexBits(magnitude, 0) : UIntToStr(magnitude);
        if (precision > static_cast<int>(digits.size()))
          digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
        text = negative ? "-" + digits : digits;
        break;
      }
      case 'F':
      case 'N':
      case 'E':
      case 'G': {
        if (a.VType != vtExtended) RaiseInvalid(fmt);
        if (type == 'F') text = FloatToStrF(a.VFloat, ffFixed, 18, precision < 0 ? 2 : precision, fs);
        if (type == 'N') text = FloatToStrF(a.VFloat, ffNumber, 18, precision < 0 ? 2 : precision, fs);
        if (type == 'E') text = FloatToStrF(a.VFloat, ffExponent, precision < 0 ? 15 : precision, 3, fs);
        if (type == 'G') text = FloatToStrF(a.VFloat, ffGeneral, precision < 0 ? 15 : precision, 0, fs);
        break;
      }
      case 'S': {
        if (a.VType != vtString && a.VType != vtChar) RaiseInvalid(fmt);
        text = precision >= 0 ? Utf8Truncate(a.VString, precision) : a.VString;
        textWidth = Utf8Length(text);
        break;
      }
      case 'P': {
        if (a.VType != vtPointer) RaiseInvalid(fmt);
        text = IntToHexBits(reinterpret_cast<uintptr_t>(a.VPointer), 16);
        break;
      }
      default:
        RaiseInvalid(fmt);
    }
    Pad(out, text, textWidth < 0 ? static_cast<int>(text.size()) : textWidth, width, left);
  }
  return out;
}

}  // namespace

// ---- Public routines ------------------------------------------------------------

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& settings) {
  if (!std::isfinite(value)) return SpecialValue(value);
  precision = std::clamp(precision, 1, 18);
  switch (format) {
    case ffGeneral:
      return FormatGeneral(value, precision, std::clamp(digits, 0, 4), settings);
    case ffExponent:
      return FormatExponent(value, precision, std::clamp(digits, 0, 4), settings);
    case ffFixed:
      return FormatFixed(value, precision, std::clamp(digits, 0, 18), false, settings);
    case ffNumber:
    case ffCurrency:
      return FormatFixed(value, precision, std::clamp(digits, 0, 18), true, settings);
  }
  return FormatGeneral(value, precision, 0, settings);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
  return FloatToStrF(value, format, precision, digits, FormatSettings);
}

std::string FloatToStr(double value, const TFormatSettings& settings) {
  return FloatToStrF(value, ffGeneral, 15, 0, settings);
}

std::string FloatToStr(double value) { return FloatToStr(value, FormatSettings); }

std::string FormatFloat(const std::string& pattern, double value, const TFormatSettings& settings) {
  if (!std::isfinite(value)) return SpecialValue(value);
  if (pattern.empty()) return FloatToStr(value, settings);
  const std::vector<std::string> sections = SplitSections(pattern);
  auto has = [&](size_t i) { return sections.size() > i && !sections[i].empty(); };
  size_t chosen = 0;
  if (value < 0 && has(1))
    chosen = 1;
  else if (value == 0 && has(2))
    chosen = 2;
  bool isZero = false, tooLarge = false;
  std::string text = FormatSection(sections[chosen], std::fabs(value), isZero, tooLarge, settings);
  if (tooLarge) return FloatToStr(value, settings);
  if (isZero && chosen != 2 && value != 0) {
    // Rounded to zero: written as zero, without a sign.
    return FormatSection(sections[has(2) ? 2 : 0], 0.0, isZero, tooLarge, settings);
  }
  if (chosen == 0 && value < 0) text.insert(0, 1, '-');
  return text;
}

std::string FormatFloat(const std::string& pattern, double value) {
  return FormatFloat(pattern, value, FormatSettings);
}

std::string Format(const std::string& fmt, std::initializer_list<TVarRec> args, const TFormatSettings& settings) {
  return FormatImpl(fmt, args.begin(), args.size(), settings);
}

std::string Format(const std::string& fmt, std::initializer_list<TVarRec> args) {
  return Format(fmt, args, FormatSettings);
}

std::string Format(const std::string& fmt, const std::vector<TVarRec>& args, const TFormatSettings& settings) {
  return FormatImpl(fmt, args.data(), args.size(), settings);
}

std::string Format(const std::string& fmt, const std::vector<TVarRec>& args) {
  return Format(fmt, args, FormatSettings);
}
