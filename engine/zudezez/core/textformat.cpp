#include "core/textformat.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

std::string FloatField(long double v, char conversion, const std::string& flags, int width, int precision) {
  const bool upper = std::isupper(static_cast<unsigned char>(conversion)) != 0;
  const char kind = static_cast<char>(std::tolower(static_cast<unsigned char>(conversion)));
  const std::chars_format format = kind == 'f'   ? std::chars_format::fixed
                                   : kind == 'e' ? std::chars_format::scientific
                                                 : std::chars_format::general;
  const long double magnitude = std::fabs(v);
  if (precision < 0) precision = 6;
  char small[128];
  auto res = std::to_chars(small, small + sizeof small, magnitude, format, precision);
  std::string digits;
  if (res.ec == std::errc()) {
    digits.assign(small, res.ptr);
  } else {
    // Room for the largest fixed value (about 4950 digits) with its decimals.
    digits.resize(5000 + static_cast<std::size_t>(precision));
    res = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude, format, precision);
    digits.resize(res.ec == std::errc() ? static_cast<std::size_t>(res.ptr - digits.data()) : 0);
  }
  if (upper)
    for (char& c : digits) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string sign;
  if (std::signbit(v)) sign = "-";
  else if (flags.find('+') != std::string::npos) sign = "+";
  else if (flags.find(' ') != std::string::npos) sign = " ";
  const std::size_t length = sign.size() + digits.size();
  if (width < 0 || length >= static_cast<std::size_t>(width)) return sign + digits;
  const std::size_t fill = static_cast<std::size_t>(width) - length;
  if (flags.find('-') != std::string::npos) return sign + digits + std::string(fill, ' ');
  if (flags.find('0') != std::string::npos && std::isfinite(v)) return sign + std::string(fill, '0') + digits;
  return std::string(fill, ' ') + sign + digits;
}

// One integer, character, string or pointer conversion through snprintf.
template <typename T>
std::string Single(const std::string& conversionText, T value) {
  const int n = std::snprintf(nullptr, 0, conversionText.c_str(), value);
  if (n <= 0) return {};
  std::string s(static_cast<std::size_t>(n), '\0');
  std::snprintf(s.data(), s.size() + 1, conversionText.c_str(), value);
  return s;
}

}  // namespace

std::string VPrintf(const char* format, std::va_list args) {
  std::string out;
  const char* p = format;
  while (*p) {
    if (*p != '%') {
      out += *p++;
      continue;
    }
    ++p;
    if (*p == '%') {
      out += '%';
      ++p;
      continue;
    }
    std::string flags;
    while (*p && std::strchr("-+ #0", *p)) flags += *p++;
    int width = -1;
    if (*p == '*') {
      width = va_arg(args, int);
      if (width < 0) {
        flags += '-';
        width = -width;
      }
      ++p;
    } else if (std::isdigit(static_cast<unsigned char>(*p))) {
      width = 0;
      while (std::isdigit(static_cast<unsigned char>(*p))) width = width * 10 + (*p++ - '0');
    }
    int precision = -1;
    if (*p == '.') {
      ++p;
      precision = 0;
      if (*p == '*') {
        precision = va_arg(args, int);
        ++p;
      } else {
        while (std::isdigit(static_cast<unsigned char>(*p))) precision = precision * 10 + (*p++ - '0');
      }
    }
    std::string length;
    while (*p && std::strchr("hlLjzt", *p)) length += *p++;
    const char conversion = *p;
    if (!conversion) break;
    ++p;
    std::string conversionText = "%" + flags;
    if (width >= 0) conversionText += std::to_string(width);
    if (precision >= 0) conversionText += "." + std::to_string(precision);
    conversionText += length;
    conversionText += conversion;
    switch (conversion) {
      case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': {
        const long double v = length == "L" ? va_arg(args, long double) : va_arg(args, double);
        out += FloatField(v, conversion, flags, width, precision);
        break;
      }
      case 'd': case 'i': case 'o': case 'u': case 'x': case 'X':
        if (length == "ll") out += Single(conversionText, va_arg(args, long long));
        else if (length == "l") out += Single(conversionText, va_arg(args, long));
        else if (length == "z") out += Single(conversionText, va_arg(args, std::size_t));
        else if (length == "j") out += Single(conversionText, va_arg(args, std::intmax_t));
        else if (length == "t") out += Single(conversionText, va_arg(args, std::ptrdiff_t));
        else out += Single(conversionText, va_arg(args, int));
        break;
      case 'c': out += Single(conversionText, va_arg(args, int)); break;
      case 's': out += Single(conversionText, va_arg(args, const char*)); break;
      case 'p': out += Single(conversionText, va_arg(args, void*)); break;
      default: out += conversionText; break;  // not a conversion this writes: kept as text
    }
  }
  return out;
}

std::string Printf(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string s = VPrintf(format, args);
  va_end(args);
  return s;
}

bool FPrintf(std::FILE* f, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const std::string s = VPrintf(format, args);
  va_end(args);
  return std::fwrite(s.data(), 1, s.size(), f) == s.size();
}
