#include "platform/rtl/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Every test here leaves the global settings as it found them.
class FormatTest : public ::testing::Test {
protected:
  void SetUp() override { FSaved = FormatSettings; }
  void TearDown() override { FormatSettings = FSaved; }
  static TFormatSettings Comma() {
    TFormatSettings s;
    s.DecimalSeparator = ',';
    s.ThousandSeparator = '.';
    return s;
  }

private:
  TFormatSettings FSaved;
};

// ---- Format ---------------------------------------------------------------------

TEST_F(FormatTest, FormatWritesEachSpecifier) {
  struct Case {
    const char* fmt;
    std::vector<TVarRec> args;
    const char* expected;
  } cases[] = {
      {"%5.2f|%-4d|%s", {3.14159, 42, "x"}, " 3.14|42  |x"},
      {"%*d|%-*d|", {5, 42, 4, 7}, "   42|7   |"},
      {"%*.*f", {8, 3, 2.0}, "   2.000"},
      {"%.3d|%5.3d|%.3d|%.0d", {7, -7, 12345, 0}, "007| -007|12345|0"},
      {"%d|%d|%d|%d", {int64_t{-9000000000}, 4000000000u, true, static_cast<short>(-3)},
       "-9000000000|4000000000|1|-3"},
      {"%u|%u|%u", {-1, int64_t{-1}, 7}, "4294967295|18446744073709551615|7"},
      {"%x|%.4x|%X|%x", {255, 10, -1, int64_t{-1}}, "FF|000A|FFFFFFFF|FFFFFFFFFFFFFFFF"},
      {"%f|%.0f|%.1f|%f", {1.0, 2.5, -0.05, -0.001}, "1.00|3|-0.1|0.00"},
      {"%e|%.3e|%E", {1234.5678, -0.00012345, 0.0}, "1.23456780000000E+003|-1.23E-004|0.00000000000000E+000"},
      {"%g|%g|%g|%g|%.3g", {1e20, 0.1, 1234.5, 1e-5, 2.0 / 3.0}, "1E20|0.1|1234.5|1E-5|0.667"},
      {"%n|%.0n|%n|%.1n", {1234567.891, 1234567.5, -999.999, 12.0}, "1,234,567.89|1,234,568|-1,000.00|12.0"},
      {"100%%|%%d", {}, "100%|%d"},
      {"%s|%5s|%-5s|%.2s|%s", {"abc", "ab", std::string("ab"), "abcdef", 'c'}, "abc|   ab|ab   |ab|c"},
      {"%1:s %0:s %s %s", {"a", "b", "c"}, "b a b c"},
      {"%2:-4d|", {0, 0, 5}, "5   |"},
      {"%f", {1.5f}, "1.50"},
      {"%p", {reinterpret_cast<const void*>(0x1234)}, "0000000000001234"},
      {"no specifiers", {1}, "no specifiers"},
      {"%3d%%", {50}, " 50%"},
      {"%f|%e|%g|%.1f", {kInf, -kInf, kNaN, kInf}, "INF|-INF|NAN|INF"},
      {"%d°", {30}, "30°"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fmt);
    EXPECT_EQ(Format(c.fmt, c.args), c.expected);
  }
}

TEST_F(FormatTest, FormatCountsCharactersNotBytesForStrings) {
  // "äöü" is six bytes but three characters.
  EXPECT_EQ(Format("[%5s]", {"\xC3\xA4\xC3\xB6\xC3\xBC"}), "[  \xC3\xA4\xC3\xB6\xC3\xBC]");
  EXPECT_EQ(Format("[%-4s]", {"\xC3\xA4"}), "[\xC3\xA4   ]");
  EXPECT_EQ(Format("[%.2s]", {"\xC3\xA4\xC3\xB6\xC3\xBC"}), "[\xC3\xA4\xC3\xB6]");
}

TEST_F(FormatTest, FormatRaisesOnBadSpecifiersAndArguments) {
  struct Case {
    const char* fmt;
    std::vector<TVarRec> args;
    const char* message;
  } cases[] = {
      {"%d", {1.5}, "Format '%d' invalid or incompatible with argument"},
      {"%f", {1}, "Format '%f' invalid or incompatible with argument"},
      {"%s", {42}, "Format '%s' invalid or incompatible with argument"},
      {"%d", {"7"}, "Format '%d' invalid or incompatible with argument"},
      {"%d", {'7'}, "Format '%d' invalid or incompatible with argument"},
      {"%x", {2.0}, "Format '%x' invalid or incompatible with argument"},
      {"%p", {5}, "Format '%p' invalid or incompatible with argument"},
      {"%*d", {1.5, 2}, "Format '%*d' invalid or incompatible with argument"},
      {"%c", {1}, "Format '%c' invalid or incompatible with argument"},
      {"%m", {1.0}, "Format '%m' invalid or incompatible with argument"},
      {"abc%", {}, "Format 'abc%' invalid or incompatible with argument"},
      {"%5", {1}, "Format '%5' invalid or incompatible with argument"},
      {"%d %d", {1}, "No argument for format '%d %d'"},
      {"%s", {}, "No argument for format '%s'"},
      {"%3:d", {1, 2}, "No argument for format '%3:d'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fmt);
    try {
      Format(c.fmt, c.args);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

TEST_F(FormatTest, FormatUsesTheSeparatorsOfTheSettings) {
  EXPECT_EQ(Format("%.2f|%n|%e", {1.5, 1234.5, 1.5}, Comma()), "1,50|1.234,50|1,50000000000000E+000");
  FormatSettings = Comma();
  EXPECT_EQ(Format("%.1f", {2.25}), "2,3");
  EXPECT_EQ(Format("%.1f", {2.25}, TFormatSettings()), "2.3");
}

// ---- FloatToStr / FloatToStrF ------------------------------------------------------------

TEST_F(FormatTest, FloatToStrUsesFifteenSignificantDigits) {
  struct Case {
    double value;
    const char* expected;
  } cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.0, "1"},
      {-1.5, "-1.5"},
      {0.1, "0.1"},
      {static_cast<double>(0.1f), "0.100000001490116"},
      {static_cast<double>(2.01f), "2.00999999046326"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {1e20, "1E20"},
      {1e-5, "1E-5"},
      {-1.25e-7, "-1.25E-7"},
      {0.0001, "0.0001"},
      {123456789012345678.0, "1.23456789012346E17"},
      {1e14, "100000000000000"},
      {1e15, "1E15"},
      {999999999999999.9, "1E15"},  // rounding carries into a new digit
      {1234.5, "1234.5"},
      {1.7976931348623157e308, "1.79769313486232E308"},
      {5e-324, "4.94065645841247E-324"},
      {kInf, "INF"},
      {-kInf, "-INF"},
      {kNaN, "NAN"},
  };
  for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value), c.expected) << c.expected;
}

TEST_F(FormatTest, FloatToStrFFollowsEachFormat) {
  struct Case {
    double value;
    TFloatFormat format;
    int precision, digits;
    const char* expected;
  } cases[] = {
      {1234.5, ffGeneral, 15, 0, "1234.5"},
      {1234.5, ffGeneral, 3, 0, "1.23E3"},
      {1234.5, ffGeneral, 3, 2, "1.23E03"},
      {9.9999, ffGeneral, 3, 0, "10"},
      {0.00012345, ffGeneral, 3, 0, "0.000123"},
      {1234.5, ffExponent, 4, 2, "1.235E+03"},
      {12345.678, ffExponent, 5, 0, "1.2346E+4"},
      {-0.000123, ffExponent, 3, 3, "-1.23E-004"},
      {0.0, ffExponent, 4, 3, "0.000E+000"},
      {7.0, ffExponent, 1, 1, "7E+0"},
      {1.5, ffFixed, 15, 2, "1.50"},
      {1.23456789, ffFixed, 3, 5, "1.23000"},  // precision limits significant digits
      {0.96, ffFixed, 15, 1, "1.0"},
      {-0.004, ffFixed, 15, 2, "0.00"},        // no sign on a rounded zero
      {123.456, ffFixed, 15, 0, "123"},
      {1e20, ffFixed, 15, 2, "1.00000000000000E+020"},  // too many integer digits
      {1234567.891, ffNumber, 15, 2, "1,234,567.89"},
      {-1234.0, ffNumber, 15, 0, "-1,234"},
      {999.5, ffNumber, 15, 0, "1,000"},
      {123.0, ffNumber, 15, 1, "123.0"},
      {1234.5, ffCurrency, 15, 2, "1,234.50"},
      {kInf, ffFixed, 15, 2, "INF"},
      {kNaN, ffExponent, 15, 2, "NAN"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits), c.expected)
        << c.value << " format " << c.format << " " << c.precision << " " << c.digits;
}

TEST_F(FormatTest, RoundingIsHalfAwayFromZeroOnTheExactValue) {
  // 0.125 and 2.5 are exact halves; 2.675 and 1.005 lie just below theirs.
  EXPECT_EQ(FloatToStrF(0.125, ffFixed, 15, 2), "0.13");
  EXPECT_EQ(FloatToStrF(-0.125, ffFixed, 15, 2), "-0.13");
  EXPECT_EQ(FloatToStrF(2.5, ffFixed, 15, 0), "3");
  EXPECT_EQ(FloatToStrF(2.675, ffFixed, 15, 2), "2.67");
  EXPECT_EQ(FloatToStrF(1.005, ffFixed, 15, 2), "1.00");
  EXPECT_EQ(FloatToStrF(0.5, ffFixed, 15, 0), "1");
  EXPECT_EQ(FloatToStrF(1.5, ffExponent, 1, 0), "2E+0");
  EXPECT_EQ(FormatFloat("0", -2.5), "-3");
  EXPECT_EQ(FormatFloat("0.0", 0.25), "0.3");
}

TEST_F(FormatTest, FloatToStrUsesTheSeparatorsOfTheSettings) {
  EXPECT_EQ(FloatToStr(1.5, Comma()), "1,5");
  EXPECT_EQ(FloatToStrF(1234567.5, ffNumber, 15, 1, Comma()), "1.234.567,5");
  FormatSettings = Comma();
  EXPECT_EQ(FloatToStr(-2.25), "-2,25");
  EXPECT_EQ(FloatToStr(-2.25, TFormatSettings()), "-2.25");
}

// ---- FormatFloat ----------------------------------------------------------------------

TEST_F(FormatTest, FormatFloatPatterns) {
  struct Case {
    const char* pattern;
    double value;
    const char* expected;
  } cases[] = {
      {"#,##0.00", 1234.5, "1,234.50"},
      {"#,##0.00", -1234.5, "-1,234.50"},
      {"#,##0.00", 0.0, "0.00"},
      {"#,##0.###", 1234567.1234, "1,234,567.123"},
      {"#,##0.###", 0.5, "0.5"},
      {"#,##0.###", 1000.0, "1,000"},
      {"000,000", 5.0, "000,005"},
      {"0", 1234.0, "1234"},
      {"0.00", 2.345, "2.35"},
      {"00.0", 1.25, "01.3"},
      {".00", 12.5, "12.50"},
      {"#.##", 0.5, ".5"},
      {"#.##", 0.0, ""},
      {"0.#,#", 1.25, "1.25"},  // a comma in the fraction is ignored
      {"##0.## %", 45.678, "45.68 %"},
      {"0.0E+00", 12345.0, "1.2E+04"},
      {"0.0E+00", 0.00012345, "1.2E-04"},
      {"0.0E-00", 12345.0, "1.2E04"},
      {"0.00e+0", -12345.0, "-1.23e+4"},
      {"00e-0", 12345.0, "12e3"},
      {"0.0E+0", 0.0, "0.0E+0"},
      {"0.0E+0", 9.96, "1.0E+1"},
      {"#.0 \"x10\" E+0", 12345.0, "1.2 x10 E+4"},
      {"\"Total: \"0.0' kg'", 3.25, "Total: 3.3 kg"},
      {"'#0;'0", 7.0, "#0;7"},   // quotes hide placeholders and separators
      {"0 mm", 3.0, "3 mm"},
      {"abc", 5.0, "abc"},
      {"", 1.5, "1.5"},
      {"0", 1e25, "1E25"},       // too many integer digits
      {"0.0", kInf, "INF"},
      {"0.0", -kInf, "-INF"},
      {"0.0", kNaN, "NAN"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected) << c.pattern << " " << c.value;
}

TEST_F(FormatTest, FormatFloatSections) {
  struct Case {
    const char* pattern;
    double value;
    const char* expected;
  } cases[] = {
      {"0.00;(0.00);zero", 2.345, "2.35"},
      {"0.00;(0.00);zero", -1.5, "(1.50)"},
      {"0.00;(0.00);zero", 0.0, "zero"},
      {"0.00;(0.00);zero", -0.001, "zero"},   // rounds to zero
      {"0.00;(0.00);zero", 0.001, "zero"},
      {"0.00;(0.00)", -0.001, "0.00"},        // rounded zero is written unsigned
      {"0.00;(0.00)", 0.0, "0.00"},
      {"#,##0.00;(#,##0.00)", -1234.5, "(1,234.50)"},
      {"0.0;;nil", -2.0, "-2.0"},             // empty negative section: first one, with sign
      {"0.0;-0.0;", 0.0, "0.0"},              // empty zero section
      {"0;neg;zero;ignored", -4.0, "neg"},
      {"+0;-0", -4.0, "-4"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected) << c.pattern << " " << c.value;
}

TEST_F(FormatTest, FormatFloatUsesTheSeparatorsOfTheSettings) {
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, Comma()), "1.234,50");
  FormatSettings = Comma();
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.5), "1.234.567,50");
  EXPECT_EQ(FormatFloat("0.0E+00", 12345), "1,2E+04");
  FormatSettings.ThousandSeparator = '\0';
  EXPECT_EQ(FormatFloat("#,##0", 1234567), "1234567");
}

}  // namespace
