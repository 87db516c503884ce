// Number formatting and the class library's Format. Every routine writes the
// decimal and thousands separators of FormatSettings, or of the settings
// passed (file writers pass settings with "." to be independent of the user's
// choice). Infinities and not-a-number are written "INF", "-INF" and "NAN".
// Rounding is half away from zero on the exact value of the double.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/formatsettings.h"

// ---- Floating point to text -------------------------------------------------

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// FloatToStrF(value, format, precision, digits), precision clamped to 1..18:
// - ffGeneral: the shorter of fixed and scientific with up to `precision`
//   significant digits, trailing zeros and a bare point dropped; scientific
//   when the decimal exponent is >= precision or < -4. The exponent is "E",
//   "-" only when negative, at least `digits` (0..4) digits: "1.5E20", "1E-5".
// - ffExponent: "-d.ddddE+dddd": `precision` significant digits, exponent sign
//   always written, at least `digits` (0..4) exponent digits.
// - ffFixed: `digits` (0..18) decimals; at most `precision` significant digits
//   are taken from the value, zeros fill the rest; falls back to ffExponent
//   when the value has more than `precision` integer digits.
// - ffNumber: ffFixed with thousands separators.
// - ffCurrency: as ffNumber (the settings keep no currency symbol).
// A value that rounds to zero is written without a sign.
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings);

// FloatToStrF(value, ffGeneral, 15, 0): 0.1 -> "0.1", 1e20 -> "1E20",
// a single 0.1 widened to double -> "0.100000001490116".
std::string FloatToStr(double value);
std::string FloatToStr(double value, const TFormatSettings& settings);

// Formats with a pattern of up to three sections separated by ";" (positive;
// negative; zero; an empty or missing section falls back to the first, and the
// second and third write no minus sign of their own). In a section:
//   0        digit, written even when not significant
//   #        digit, written only when significant
//   .        position of the decimal separator (the first one counts)
//   ,        thousands separators in the integer part
//   E+ E- e+ e-  scientific notation; the 0s (and #s) after it give the
//            minimum number of exponent digits (up to 4); E+ always writes
//            the exponent's sign, E- only a minus
//   "xx" 'xx' literal text; any other character is written as it is.
// The number of integer placeholders sets the mantissa's integer digits in
// scientific notation. A value rounding to zero uses the zero section when
// there is one. An empty pattern gives FloatToStr; a value with more than 18
// integer digits in a non-scientific pattern is written as FloatToStr does.
std::string FormatFloat(const std::string& pattern, double value);
std::string FormatFloat(const std::string& pattern, double value, const TFormatSettings& settings);

// ---- Format -------------------------------------------------------------------

enum TVarType : uint8_t { vtInteger, vtInt64, vtUInt64, vtBoolean, vtChar, vtExtended, vtString, vtPointer };

// One argument of Format. Integers of up to 32 bits are vtInteger, wider ones
// vtInt64/vtUInt64; every floating type is vtExtended (held as a double);
// strings are copied.
struct TVarRec {
  TVarRec(int v) : VType(vtInteger), VInt(v) {}
  TVarRec(unsigned v) : VType(vtInt64), VInt(static_cast<int64_t>(v)) {}
  TVarRec(long v) : VType(vtInt64), VInt(v) {}
  TVarRec(long long v) : VType(vtInt64), VInt(v) {}
  TVarRec(unsigned long v) : VType(vtUInt64), VUInt(v) {}
  TVarRec(unsigned long long v) : VType(vtUInt64), VUInt(v) {}
  TVarRec(bool v) : VType(vtBoolean), VInt(v ? 1 : 0) {}
  TVarRec(char v) : VType(vtChar), VString(1, v) {}
  TVarRec(float v) : VType(vtExtended), VFloat(v) {}
  TVarRec(double v) : VType(vtExtended), VFloat(v) {}
  TVarRec(long double v) : VType(vtExtended), VFloat(static_cast<double>(v)) {}
  TVarRec(const char* v) : VType(vtString), VString(v ? v : "") {}
  TVarRec(std::string v) : VType(vtString), VString(std::move(v)) {}
  TVarRec(std::string_view v) : VType(vtString), VString(v) {}
  TVarRec(const void* v) : VType(vtPointer), VPointer(v) {}
  TVarRec(std::nullptr_t) : VType(vtPointer), VPointer(nullptr) {}

  TVarType VType;
  union {
    int64_t VInt = 0; // vtInteger, vtInt64, vtBoolean (0 or 1)
    uint64_t VUInt; // vtUInt64
    double VFloat;  // vtExtended
    const void* VPointer;
  };
  std::string VString; // vtString, vtChar
};

// Format(fmt, {args}): writes fmt with each "%" specifier replaced by an
// argument: "%" [index ":"] ["-"] [width] ["." precision] type, where index,
// width and precision may be "*" (taken from the next integer argument), "-"
// left-justifies within width (blank padded), an index chooses the argument
// (0-based) and later specifiers go on from it. Types (either case):
//   d  integer (vtInteger, vtInt64, vtUInt64, vtBoolean); precision = minimum
//      digits, zero padded after the sign
//   u  as d, negative values read as unsigned in their own width
//   x  upper-case hexadecimal, as u; precision = minimum digits
//   f  FloatToStrF(ffFixed, 18, precision), precision 2 by default
//   n  FloatToStrF(ffNumber, 18, precision), precision 2 by default
//   e  FloatToStrF(ffExponent, precision, 3), precision 15 by default
//   g  FloatToStrF(ffGeneral, precision, 0), precision 15 by default
//   s  string or character; precision = maximum characters (UTF-8 aware)
//   p  pointer, 16 hex digits
//   %% a percent sign
// Width and precision of "s" count characters. A bad specifier (a width,
// precision or index above 1000000 included) or a wrong
// argument type raises EConvertError "Format '<fmt>' invalid or incompatible
// with argument"; too few arguments raise EConvertError
// "No argument for format '<fmt>'".
std::string Format(const std::string& fmt, std::initializer_list<TVarRec> args);
std::string Format(const std::string& fmt, std::initializer_list<TVarRec> args, const TFormatSettings& settings);
std::string Format(const std::string& fmt, const std::vector<TVarRec>& args);
std::string Format(const std::string& fmt, const std::vector<TVarRec>& args, const TFormatSettings& settings);
