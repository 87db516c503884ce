// Filter conditions matched against cell texts, with "," as thousands and "."
// as decimal separator and dates as d/M/yyyy.
#include <gtest/gtest.h>

#include <string>

#include "grid/support/plusutil.h"
#include "platform/rtl/formatsettings.h"

namespace {

struct Filter : ::testing::Test {
  TFormatSettings Saved;
  void SetUp() override {
    Saved = FormatSettings;
    FormatSettings.ThousandSeparator = ',';
    FormatSettings.DecimalSeparator = '.';
    FormatSettings.DateSeparator = '/';
    FormatSettings.ShortDateFormat = "d/M/yyyy";
  }
  void TearDown() override { FormatSettings = Saved; }
};

TEST_F(Filter, ConditionsAgainstValues) {
  struct {
    const char* condition;
    const char* value;
    bool caseSensitive;
    bool match;
  } cases[] = {
      {"", "", true, true},
      {"", "x", true, false},
      {"=abc", "abc", true, true},
      {"abc", "abcd", true, false},
      {"a*", "abc", true, true},
      {"*c", "abc", true, true},
      {"*c", "abd", true, false},
      {"a?c", "abc", true, true},
      {"a?c", "ac", true, false},
      {"\\*", "*", true, true},
      {"\\*", "a", true, false},
      {"!abc", "abc", true, false},
      {"!abc", "abd", true, true},
      {">1,000", "2,500", true, true},
      {">1,000", "999", true, false},
      {">=10&<=20", "15", true, true},
      {">=10&<=20", "10", true, true},
      {">=10&<=20", "25", true, false},
      {">=10 & <= 20", "20", true, true},
      {"<5", "4.5", true, true},
      {">5", "abc", true, true},  // neither a number nor a date: compared as text
      {">1/2/2007", "15/3/2007", true, true},
      {">1/2/2007", "15/1/2007", true, false},
      {"<=1/2/2007", "1/2/2007", true, true},
      {"ABC", "abc", false, true},
      {"ABC", "abc", true, false},
      {"\u00C9T\u00C9", "\u00E9t\u00E9", false, true},  // letters beyond a..z too
      {"\"a b\"", "a b", true, true},
      {"a b", "ab", true, true},
      {"a b", "a b", true, false},
      {"x|y&z", "x", true, false},
      {"x|y", "y", true, true},
      {"x;y", "y", true, true},
      {"x^y", "x", true, true},
      {"a*&*c", "abc", true, true},
      {"a*&*c", "abd", true, false},
      {"  =abc  ", "abc", true, true},
      {"x||y", "", true, true},  // an empty part matches the empty value
      {"*b*", "abc", true, true},
      {"*\\?", "what?", true, true},
      {"\"a|b\"", "a|b", true, true},  // a delimiter inside quotes is text
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchCondition(c.condition, c.value, c.caseSensitive), c.match)
        << "'" << c.condition << "' against '" << c.value << "'";
}

TEST_F(Filter, ManyStarsFinishOnALongValue) {
  // Without remembering suffixes this pattern takes exponential time.
  const std::string value(300, 'a');
  EXPECT_FALSE(MatchPattern("*a*a*a*a*a*a*a*a*a*a*a*a*b", value));
  EXPECT_TRUE(MatchPattern("*a*a*a*a*a*a*a*a*a*a*a*a*", value));
}

TEST_F(Filter, Helpers) {
  EXPECT_EQ(RemoveBlanksOutsideQuotes("a b \"c d\" e"), "ab\"c d\"e");
  int pos = 0;
  EXPECT_EQ(FindUnquotedDelimiter("&|", "\"a&b\"|c", pos), '|');
  EXPECT_EQ(pos, 5);
  EXPECT_EQ(FindUnquotedDelimiter("&|", "abc", pos), 0);
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(NormalizeNumberText("1,234.5"), "1234.5");
  FormatSettings.ThousandSeparator = '.';
  FormatSettings.DecimalSeparator = ',';
  EXPECT_EQ(NormalizeNumberText("1.234,5"), "1234.5");
  FormatSettings.ThousandSeparator = ',';
  EXPECT_EQ(NormalizeNumberText("1,5"), "1.5");  // the decimal test comes first

  TDateTime d = 0;
  EXPECT_TRUE(ParseLocaleDate("15/3/2007", d));
  EXPECT_EQ(d, EncodeDate(2007, 3, 15));
  EXPECT_FALSE(ParseLocaleDate("31/2/2007", d));
  EXPECT_FALSE(ParseLocaleDate("1/13/2007", d));
  EXPECT_FALSE(ParseLocaleDate("-1/3/2007", d));
  EXPECT_FALSE(ParseLocaleDate("1/3", d));
  EXPECT_TRUE(ParseLocaleDate("1/3/07", d));  // years as written
  EXPECT_EQ(d, EncodeDate(7, 3, 1));
  FormatSettings.ShortDateFormat = "yyyy-MM-dd";
  FormatSettings.DateSeparator = '-';
  EXPECT_TRUE(ParseLocaleDate("2007-03-15", d));
  EXPECT_EQ(d, EncodeDate(2007, 3, 15));
  FormatSettings.ShortDateFormat = "MM-yyyy";
  EXPECT_FALSE(ParseLocaleDate("03-2007-15", d));
}

}  // namespace
