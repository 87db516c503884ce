#include "model/brkapart.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

#include "platform/rtl/exceptions.h"

void TBrkApart::BreakApart(const std::string& text) {
  FFields.clear();
  FSource = text;
  std::size_t from = 0;
  for (;;) {
    std::size_t p = FSeparator.empty() ? std::string::npos : text.find(FSeparator, from);
    std::size_t end = p == std::string::npos ? text.size() : p;
    if (end > from || FKeepEmpty) FFields.emplace_back(text, from, end - from);
    if (p == std::string::npos) break;
    from = p + FSeparator.size();
  }
}

std::string TBrkApart::GetField(int n) const {
  if (n < 1 || n > Count()) return {};
  return FFields[static_cast<std::size_t>(n - 1)];
}

double MinReal(double a, double b) { return a < b ? a : b; }
double MaxReal(double a, double b) { return a >= b ? a : b; }

double RealSign(double x) {
  if (x < 0) return -1;
  if (x > 0) return 1;
  return 0;
}

static bool AtOrBelowBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimText(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && AtOrBelowBlank(text[b])) ++b;
  while (e > b && AtOrBelowBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

std::string CopyColumns(const std::string& line, int first, int width) {
  if (first < 1) first = 1;
  if (width <= 0 || static_cast<std::size_t>(first) > line.size()) return {};
  return line.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(width));
}

// The columns first .. first+width-1 of a line as a view (shorter or empty
// when the line ends earlier), as CopyColumns cuts them.
static std::string_view ColumnsView(std::string_view line, int first, int width) {
  if (first < 1) first = 1;
  if (width <= 0 || static_cast<std::size_t>(first) > line.size()) return {};
  return line.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(width));
}

std::string_view TrimView(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && AtOrBelowBlank(text[b])) ++b;
  while (e > b && AtOrBelowBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

int ViewToInt(std::string_view text) {
  std::string_view s = TrimView(text);
  if (s.empty()) return 0;
  const char* b = s.data();
  const char* e = b + s.size();
  if (*b == '+') ++b;
  if (b != s.data() && b != e && *b == '-') return 0;  // '+-3'
  if (b == e || *b == '+') return 0;
  int value = 0;
  auto [ptr, ec] = std::from_chars(b, e, value);
  if (ec != std::errc() || ptr != e) return 0;
  return value;
}

int ColumnsToInt(std::string_view line, int first, int width) { return ViewToInt(ColumnsView(line, first, width)); }

// Decimal order of magnitude of a well-formed mantissa/exponent pair, used only
// to tell an overflow from an underflow when the conversion is out of range.
static long OrderOfMagnitude(std::string_view intDigits, std::string_view fracDigits, long exponent) {
  std::size_t i = intDigits.find_first_not_of('0');
  long order;
  if (i != std::string_view::npos) {
    order = static_cast<long>(intDigits.size() - 1 - i);
  } else {
    std::size_t j = fracDigits.find_first_not_of('0');
    if (j == std::string_view::npos) return LONG_MIN;  // zero
    order = -static_cast<long>(j + 1);
  }
  return order + exponent;
}

bool TryViewToDouble(std::string_view text, double& value, bool acceptComma) {
  value = 0;
  std::string_view s = TrimView(text);
  if (s.empty()) return false;
  // Fast path: a text that starts like a decimal number and that from_chars
  // takes whole is one by the rule below (from_chars reads exactly that form
  // once the text starts with a digit or a point).
  {
    const char* p = s.data();
    const char* end = p + s.size();
    if (*p == '+') ++p;  // from_chars takes no plus sign
    const char* q = p < end && *p == '-' && p == s.data() ? p + 1 : p;
    if (q == end || !((*q >= '0' && *q <= '9') || *q == '.')) p = nullptr;
    if (p) {
      double d = 0;
      auto [ptr, ec] = std::from_chars(p, end, d, std::chars_format::general);
      if (ec == std::errc() && ptr == end) {
        value = d;
        return true;
      }
    }
  }
  // A decimal comma is rare: convert a copy with the comma made a point.
  std::string pointed;
  if (acceptComma) {
    std::size_t comma = s.find(',');
    if (comma != std::string_view::npos) {
      pointed.assign(s);
      pointed[comma] = '.';
      s = pointed;
    }
  }
  // Check the whole text against [sign] digits [. digits] [E [sign] digits].
  std::size_t i = 0, n = s.size();
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') negative = s[i++] == '-';
  std::size_t intStart = i;
  while (i < n && s[i] >= '0' && s[i] <= '9') ++i;
  std::string_view intDigits = s.substr(intStart, i - intStart);
  std::string_view fracDigits;
  if (i < n && s[i] == '.') {
    std::size_t fracStart = ++i;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i;
    fracDigits = s.substr(fracStart, i - fracStart);
  }
  if (intDigits.empty() && fracDigits.empty()) return false;
  long exponent = 0;
  if (i < n && (s[i] == 'E' || s[i] == 'e')) {
    ++i;
    bool expNegative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) expNegative = s[i++] == '-';
    std::size_t expStart = i;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
      if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
      ++i;
    }
    if (i == expStart) return false;
    if (expNegative) exponent = -exponent;
  }
  if (i != n) return false;

  const char* b = s.data() + (s[0] == '+' ? 1 : 0);
  double d = 0;
  auto [ptr, ec] = std::from_chars(b, s.data() + n, d, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    if (OrderOfMagnitude(intDigits, fracDigits, exponent) > 0) {
      value = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
      return false;
    }
    value = negative ? -0.0 : 0.0;
    return true;
  }
  if (ec != std::errc() || ptr != s.data() + n) return false;
  value = d;
  return true;
}

bool TryTextToDouble(const std::string& text, double& value, bool acceptComma) {
  return TryViewToDouble(text, value, acceptComma);
}

bool TryColumnsToReal(const std::string& line, int first, int width, double& value) {
  return TryViewToDouble(ColumnsView(line, first, width), value, true);
}

double ColumnsToReal(std::string_view line, int first, int width) {
  double value = 0;
  if (TryViewToDouble(ColumnsView(line, first, width), value, true)) return value;
  return std::isinf(value) ? value : 0.0;
}

int TextToInt(const std::string& text) {
  return ColumnsToInt(text, 1, static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX)));
}

bool FitsSingle(double d) { return std::isfinite(d) && std::fabs(d) <= FLT_MAX; }

float SingleOf(double d) {
  if (!FitsSingle(d)) throw EOverflow("Floating point overflow");
  return static_cast<float>(d);
}

bool TryTextToReal(const std::string& text, float& value) {
  value = 0;
  double d = 0;
  if (!TryTextToDouble(text, d, true) || !FitsSingle(d)) return false;
  value = static_cast<float>(d);
  return true;
}

float TextToReal(const std::string& text) {
  float value = 0;
  TryTextToReal(text, value);
  return value;
}

// True when the formatted number has no non-zero digit (before any exponent).
static bool AllZeroDigits(const std::string& s) {
  for (char c : s) {
    if (c == 'e' || c == 'E') break;
    if (c >= '1' && c <= '9') return false;
  }
  return true;
}

static std::string ToCharsFixed(double x, int decimals) {
  decimals = std::clamp(decimals, 0, 60);
  std::string buf(400, '\0');
  auto [ptr, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "0";
  buf.resize(static_cast<std::size_t>(ptr - buf.data()));
  // A value that rounds to zero is written without a sign.
  if (!buf.empty() && buf[0] == '-' && AllZeroDigits(buf)) buf.erase(0, 1);
  return buf;
}

std::string RealToStrFixed(double x, int width, int decimals) {
  std::string s = ToCharsFixed(x, decimals);
  if (width > 0 && s.size() < static_cast<std::size_t>(width))
    s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
  return s;
}

std::string FormatReal(double x, int n) {
  if (n < 1) n = 1;
  if (n > 60) n = 60;
  double a = std::fabs(x);
  if (!(a > 10000 || a < 0.001)) return ToCharsFixed(x, n);
  char buf[128];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, n - 1);
  if (ec != std::errc()) return "0";
  std::string s(buf, ptr);
  std::size_t e = s.find('e');
  if (e == std::string::npos) return s;  // inf, nan
  std::string mantissa = s.substr(0, e);
  if (mantissa.find('.') == std::string::npos) mantissa += '.';
  char sign = s[e + 1] == '-' ? '-' : '+';
  std::string digits = s.substr(e + 2);
  std::size_t nz = digits.find_first_not_of('0');
  digits = nz == std::string::npos ? "0" : digits.substr(nz);
  if (mantissa[0] == '-' && AllZeroDigits(mantissa)) mantissa.erase(0, 1);
  return mantissa + 'E' + sign + digits;
}

std::string ExtractField(const std::string& text, const std::string& separator, int n) {
  std::string rest = text;
  std::string field;
  int i = 1;
  bool found = !rest.empty();
  while (i <= n && found) {
    std::size_t p = separator.empty() ? std::string::npos : rest.find(separator);
    if (p != std::string::npos) {
      field = rest.substr(0, p);
      rest.erase(0, p + 1);  // only the separator's first character goes with the field
      ++i;
    } else {
      field = rest;
      found = false;
    }
  }
  if (i < n) return {};
  return field;
}

int CountFields(const std::string& line, char c) {
  int count = 0;
  for (std::size_t i = 1; i < line.size(); ++i) {
    char before = i == 1 ? c : line[i - 1];
    if (line[i] != c && before == c) ++count;
  }
  return count;
}

std::string Utf8Left(const std::string& text, std::size_t count) {
  if (text.size() <= count) return text;
  std::size_t cut = count;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

std::string ToSymbol4(const std::string& text) {
  std::string s = Utf8Left(TrimText(text), 4);
  s.resize(4, ' ');
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}
