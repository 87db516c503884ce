#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "model/brkapart.h"
#include "platform/rtl/exceptions.h"
#include "support/testlocale.h"

namespace {

std::vector<std::string> Split(const std::string& text, const std::string& sep, bool keepEmpty = false) {
  TBrkApart b;
  if (sep != " ") b.SetSeparator(sep);
  b.SetKeepEmpty(keepEmpty);
  b.BreakApart(text);
  EXPECT_EQ(b.Source(), text);
  return b.Fields();
}

using V = std::vector<std::string>;

TEST(BrkApart, SplitsAtWholeSeparatorDroppingEmptyFields) {
  EXPECT_EQ(Split("", " "), V{});
  EXPECT_EQ(Split("   ", " "), V{});
  EXPECT_EQ(Split("a  b ", " "), (V{"a", "b"}));
  EXPECT_EQ(Split(" C1 0.1  0.2", " "), (V{"C1", "0.1", "0.2"}));
  EXPECT_EQ(Split("a, b, c", ", "), (V{"a", "b", "c"}));
  EXPECT_EQ(Split("a,b", ", "), (V{"a,b"}));
  EXPECT_EQ(Split("a b", ""), (V{"a b"}));
  EXPECT_EQ(Split("a,,b,", ",", true), (V{"a", "", "b", ""}));
}

TEST(BrkApart, GetFieldOutsideTheFieldsIsEmpty) {
  TBrkApart b;
  EXPECT_EQ(b.Separator(), " ");
  b.BreakApart("x y");
  EXPECT_EQ(b.Count(), 2);
  EXPECT_EQ(b.GetField(1), "x");
  EXPECT_EQ(b.GetField(2), "y");
  EXPECT_EQ(b.GetField(0), "");
  EXPECT_EQ(b.GetField(3), "");
  EXPECT_EQ(b.GetField(-1), "");
  b.BreakApart("z");  // a new split replaces the old fields
  EXPECT_EQ(b.Count(), 1);
  EXPECT_EQ(b.GetField(2), "");
}

TEST(NumberHelpers, MinMaxSign) {
  EXPECT_EQ(MinReal(1, 2), 1);
  EXPECT_EQ(MinReal(2, 1), 1);
  EXPECT_EQ(MaxReal(1, 2), 2);
  EXPECT_EQ(MaxReal(2, 2), 2);
  EXPECT_EQ(RealSign(-0.5), -1);
  EXPECT_EQ(RealSign(0), 0);
  EXPECT_EQ(RealSign(3), 1);
}

TEST(NumberHelpers, TrimTextDropsBlanksAndControlCharacters) {
  EXPECT_EQ(TrimText(""), "");
  EXPECT_EQ(TrimText(" \t a b\r\n"), "a b");
  EXPECT_EQ(TrimText("\x01\x1f"), "");
  EXPECT_EQ(TrimText(" Äx "), "Äx");  // bytes of a UTF-8 character are never trimmed
}

TEST(NumberHelpers, ColumnsToInt) {
  struct Case { const char* line; int first, width, expected; } cases[] = {
      {" -7 ", 1, 4, -7},       {"12.5", 1, 4, 0},         {"99999999999", 1, 11, 0},
      {"  12  34", 5, 4, 34},   {"  12", 9, 4, 0},         {"+8", 1, 2, 8},
      {"-", 1, 1, 0},           {"+-3", 1, 3, 0},          {"12ab", 1, 4, 0},
      {"2147483647", 1, 10, INT_MAX}, {"-2147483648", 1, 11, INT_MIN}, {"2147483648", 1, 10, 0},
      {"123456", 2, 3, 234},    {"5", 1, 0, 0},            {"  7\r", 1, 8, 7},
  };
  for (const auto& c : cases) EXPECT_EQ(ColumnsToInt(c.line, c.first, c.width), c.expected) << '"' << c.line << '"';
  EXPECT_EQ(TextToInt(""), 0);
  EXPECT_EQ(TextToInt(" 42 "), 42);
}

TEST(NumberHelpers, ColumnsToRealAcceptsPointOrComma) {
  struct Case { const char* line; int first, width; double expected; } cases[] = {
      {"  1,25E2 ", 1, 9, 125.0}, {"1.5", 1, 3, 1.5},        {"1,5", 1, 3, 1.5},
      {"-0.25", 1, 5, -0.25},     {"+3", 1, 2, 3},           {".5", 1, 2, 0.5},
      {"5.", 1, 2, 5},            {"1e-3", 1, 4, 0.001},     {"1.2346E+4", 1, 9, 12346},
      {"abc", 1, 3, 0},           {"1.2.3", 1, 5, 0},        {"1,2,3", 1, 5, 0},
      {"1 2", 1, 3, 0},           {"e5", 1, 2, 0},           {"1e", 1, 2, 0},
      {"12", 5, 8, 0},            {"   1.5  2.5", 1, 6, 1.5}, {"1e-400", 1, 6, 0},
      {"nan", 1, 3, 0},           {"inf", 1, 3, 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(ColumnsToReal(c.line, c.first, c.width), c.expected) << '"' << c.line << '"';
  EXPECT_TRUE(std::isinf(ColumnsToReal("1e400", 1, 5)));
  EXPECT_LT(ColumnsToReal("-1e400", 1, 6), 0);
}

TEST(NumberHelpers, TryConversionsTellNumbersFromText) {
  double d = 7;
  EXPECT_FALSE(TryColumnsToReal("    ", 1, 4, d));
  EXPECT_EQ(d, 0);
  EXPECT_TRUE(TryColumnsToReal("  2.5 ", 1, 6, d));
  EXPECT_EQ(d, 2.5);
  EXPECT_FALSE(TryTextToDouble("1,5", d, false));
  EXPECT_TRUE(TryTextToDouble("1,5", d, true));
  EXPECT_EQ(d, 1.5);
  EXPECT_FALSE(TryTextToDouble("1e999", d));
}

TEST(NumberHelpers, TextToRealNeverRaisesOnSingleOverflow) {
  struct Case { const char* text; bool ok; float expected; } cases[] = {
      {"", false, 0},      {"x", false, 0},          {"1e39", false, 0}, {"-1e39", false, 0},
      {"1e400", false, 0}, {"3.0e38", true, 3.0e38f}, {"2,5", true, 2.5f}, {" -4 ", true, -4},
  };
  for (const auto& c : cases) {
    float v = 99;
    EXPECT_EQ(TryTextToReal(c.text, v), c.ok) << c.text;
    EXPECT_EQ(v, c.expected) << c.text;
    EXPECT_NO_THROW(EXPECT_EQ(TextToReal(c.text), c.expected)) << c.text;
  }
}

TEST(NumberHelpers, SingleOfRefusesValuesBeyondSingleRange) {
  EXPECT_EQ(SingleOf(1.5), 1.5f);
  EXPECT_EQ(SingleOf(-FLT_MAX), -FLT_MAX);
  EXPECT_THROW(SingleOf(1e39), EOverflow);
  EXPECT_THROW(SingleOf(-1e39), EOverflow);
  EXPECT_THROW(SingleOf(HUGE_VAL), EOverflow);
  EXPECT_THROW(SingleOf(std::nan("")), EOverflow);
}

TEST(NumberHelpers, RealToStrFixed) {
  struct Case { double x; int width, decimals; const char* expected; } cases[] = {
      {1.5, 8, 4, "  1.5000"},  {-1.5, 7, 5, "-1.50000"}, {123456.789, 4, 2, "123456.79"},
      {0.0812345, 8, 5, " 0.08123"}, {2, 0, 0, "2"},     {-0.00001, 6, 3, " 0.000"},
  };
  for (const auto& c : cases) EXPECT_EQ(RealToStrFixed(c.x, c.width, c.decimals), c.expected);
}

TEST(NumberHelpers, FormatRealSwitchesBetweenFixedAndScientific) {
  struct Case { double x; int n; const char* expected; } cases[] = {
      {12345.678, 5, "1.2346E+4"}, {0, 6, "0.00000E+0"},      {30, 12, "30.000000000000"},
      {0.001, 4, "0.0010"},        {0.00099, 4, "9.900E-4"},  {10000.5, 4, "1.000E+4"},
      {10000, 2, "10000.00"},      {-2.5, 0, "-2.5"},         {-123456, 3, "-1.23E+5"},
      {1e-20, 6, "1.00000E-20"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatReal(c.x, c.n), c.expected) << c.x;
}

TEST(NumberHelpers, FormattingIgnoresTheProcessLocale) {
  // Under a locale with a decimal comma files keep the point.
  std::string fixed, real, sci;
  {
    TScopedLocale comma;
    ASSERT_TRUE(comma.Active());
    fixed = RealToStrFixed(1.25, 0, 2), real = FormatReal(1.25, 3), sci = FormatReal(1e5, 3);
  }
  EXPECT_EQ(fixed, "1.25");
  EXPECT_EQ(real, "1.250");
  EXPECT_EQ(sci, "1.00E+5");
}

TEST(TextFields, ExtractField) {
  struct Case { const char* text; const char* sep; int n; const char* expected; } cases[] = {
      {"a;b;c", ";", 3, "c"}, {"a;b;c", ";", 4, ""}, {"a;b;c", ";", 0, ""}, {"a;b;c", ";", 1, "a"},
      {"a;b;c", ";", 2, "b"}, {"", ";", 1, ""},      {"a;", ";", 2, ""},    {"abc", ";", 1, "abc"},
      {"a, b", ", ", 2, " b"},  // only the separator's first character goes with a field
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractField(c.text, c.sep, c.n), c.expected) << c.text << ' ' << c.n;
}

TEST(TextFields, CountFields) {
  EXPECT_EQ(CountFields("C1 0.1  0.2", ' '), 3);
  EXPECT_EQ(CountFields("C 1 2", ' '), 2);
  EXPECT_EQ(CountFields("C", ' '), 0);
  EXPECT_EQ(CountFields("", ' '), 0);
  EXPECT_EQ(CountFields("  a b", ' '), 2);
}

TEST(TextFields, ToSymbol4) {
  EXPECT_EQ(ToSymbol4(" fe "), "FE  ");
  EXPECT_EQ(ToSymbol4("Cl1xx"), "CL1X");
  EXPECT_EQ(ToSymbol4(""), "    ");
  EXPECT_EQ(ToSymbol4("o"), "O   ");
  // Four columns whatever the text; a two-byte character is not cut in half.
  EXPECT_EQ(ToSymbol4("abcÄ"), "ABC ");
  EXPECT_EQ(ToSymbol4("Äb"), "ÄB ");
}

TEST(TextFields, Utf8LeftCutsAtCharacterBoundaries) {
  EXPECT_EQ(Utf8Left("abc", 5), "abc");
  EXPECT_EQ(Utf8Left("abc", 2), "ab");
  EXPECT_EQ(Utf8Left("aä", 2), "a");   // 'ä' is two bytes
  EXPECT_EQ(Utf8Left("aä", 3), "aä");
  EXPECT_EQ(Utf8Left("€", 2), "");     // three bytes
}

}  // namespace
