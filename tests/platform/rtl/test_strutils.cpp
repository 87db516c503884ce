#include "platform/rtl/strutils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "support/testlocale.h"

namespace {

// ---- Positions and editing ------------------------------------------------------

TEST(StrUtils, CopyClampsIndexAndCount) {
  struct Case {
    const char* s;
    int index, count;
    const char* expected;
  } cases[] = {
      {"abcdef", 1, 2, "ab"},  {"abcdef", 0, 2, "ab"},      {"abcdef", -5, 3, "abc"}, {"abcdef", 5, 10, "ef"},
      {"abcdef", 6, 1, "f"},   {"abcdef", 7, 1, ""},        {"abc", 5, 2, ""},        {"abcdef", 2, 0, ""},
      {"abcdef", 2, -1, ""},   {"", 1, 1, ""},              {"abcdef", 3, 2147483647, "cdef"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Copy(c.s, c.index, c.count), c.expected) << c.s << " " << c.index << " " << c.count;
}

TEST(StrUtils, PosFindsFirstOccurrenceFromOffset) {
  struct Case {
    const char* sub;
    const char* s;
    int offset;  // 0: the two-argument form
    int expected;
  } cases[] = {
      {"b", "abc", 0, 2},   {"x", "abc", 0, 0},   {"", "abc", 0, 0},     {"abc", "ab", 0, 0},
      {"ab", "abab", 2, 3}, {"ab", "abab", 1, 1}, {"ab", "abab", 4, 0},  {"b", "abc", 5, 0},
      {"b", "abc", -1, 0},  {"c", "abc", 3, 3},   {"ab", "xxab", 0, 3},
  };
  for (const Case& c : cases) {
    const int got = c.offset == 0 ? Pos(c.sub, c.s) : Pos(c.sub, c.s, c.offset);
    EXPECT_EQ(got, c.expected) << c.sub << " in " << c.s << " from " << c.offset;
  }
}

TEST(StrUtils, DeleteAndInsertAreOneBased) {
  struct DeleteCase {
    const char* s;
    int index, count;
    const char* expected;
  } deletes[] = {
      {"abcdef", 2, 3, "aef"}, {"abcdef", 5, 10, "abcd"}, {"abcdef", 0, 2, "abcdef"},
      {"abcdef", 7, 1, "abcdef"}, {"abcdef", 1, 0, "abcdef"}, {"abcdef", 1, 6, ""},
  };
  for (const DeleteCase& c : deletes) {
    std::string s = c.s;
    Delete(s, c.index, c.count);
    EXPECT_EQ(s, c.expected) << c.s << " " << c.index << " " << c.count;
  }
  struct InsertCase {
    const char* sub;
    const char* s;
    int index;
    const char* expected;
  } inserts[] = {
      {"XY", "abc", 2, "aXYbc"}, {"XY", "abc", 1, "XYabc"}, {"XY", "abc", 0, "XYabc"},
      {"XY", "abc", 4, "abcXY"}, {"XY", "abc", 99, "abcXY"}, {"XY", "", 1, "XY"},
  };
  for (const InsertCase& c : inserts) {
    std::string s = c.s;
    Insert(c.sub, s, c.index);
    EXPECT_EQ(s, c.expected) << c.sub << " into " << c.s << " at " << c.index;
  }
}

TEST(StrUtils, SetLengthCutsOrPadsWithNulBytes) {
  std::string s = "abc";
  SetLength(s, 5);
  EXPECT_EQ(s, std::string("abc\0\0", 5));
  SetLength(s, 1);
  EXPECT_EQ(s, "a");
  SetLength(s, -3);
  EXPECT_EQ(s, "");
  EXPECT_EQ(StringOfChar('*', 3), "***");
  EXPECT_EQ(StringOfChar('*', -1), "");
}

// ---- Trimming, case and comparison -------------------------------------------------

TEST(StrUtils, TrimDropsBlanksAndControlsButNotUtf8Bytes) {
  const std::string s = " \t\r\n\x01 a b \x1f\n";
  EXPECT_EQ(Trim(s), "a b");
  EXPECT_EQ(TrimLeft(s), "a b \x1f\n");
  EXPECT_EQ(TrimRight(s), " \t\r\n\x01 a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  // "ä" is C3 A4 and "\xC2\xA0" a no-break space: neither is cut apart.
  EXPECT_EQ(Trim(" \xC3\xA4 "), "\xC3\xA4");
  EXPECT_EQ(Trim("\xC2\xA0x\xC2\xA0"), "\xC2\xA0x\xC2\xA0");
}

TEST(StrUtils, CaseMappingIsAsciiOnly) {
  EXPECT_EQ(UpperCase("abc xyz 09 \xC3\xA4"), "ABC XYZ 09 \xC3\xA4");
  EXPECT_EQ(LowerCase("ABC XYZ @[ \xC3\x84"), "abc xyz @[ \xC3\x84");
  EXPECT_EQ(AnsiUpperCase("Fe"), "FE");
  EXPECT_EQ(AnsiLowerCase("Fe"), "fe");
  EXPECT_EQ(UpCase('q'), 'Q');
  EXPECT_EQ(UpCase('{'), '{');
}

int SignOf(int v) { return (v > 0) - (v < 0); }

TEST(StrUtils, ComparisonsGiveOrderAndEquality) {
  struct Case {
    const char* a;
    const char* b;
    int str, text;  // signs of CompareStr and CompareText
  } cases[] = {
      {"abc", "abc", 0, 0},  {"abc", "ABC", 1, 0},  {"abc", "abd", -1, -1}, {"ab", "abc", -1, -1},
      {"abc", "ab", 1, 1},   {"B", "a", -1, 1},     {"", "", 0, 0},         {"\xC3\xA4", "z", 1, 1},
      // '_' lies between the upper- and lower-case letters: case folding is to upper case.
      {"_", "a", -1, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SignOf(CompareStr(c.a, c.b)), c.str) << c.a << " vs " << c.b;
    EXPECT_EQ(SignOf(AnsiCompareStr(c.a, c.b)), c.str) << c.a << " vs " << c.b;
    EXPECT_EQ(SignOf(CompareText(c.a, c.b)), c.text) << c.a << " vs " << c.b;
    EXPECT_EQ(SignOf(AnsiCompareText(c.a, c.b)), c.text) << c.a << " vs " << c.b;
    EXPECT_EQ(SameText(c.a, c.b), c.text == 0) << c.a << " vs " << c.b;
    EXPECT_EQ(AnsiSameText(c.a, c.b), c.text == 0) << c.a << " vs " << c.b;
  }
}

TEST(StrUtils, StringReplaceHonoursFlags) {
  struct Case {
    const char* s;
    const char* from;
    const char* to;
    TReplaceFlags flags;
    const char* expected;
  } cases[] = {
      {"a-b-c", "-", "+", rfNone, "a+b-c"},
      {"a-b-c", "-", "+", rfReplaceAll, "a+b+c"},
      {"aXbxc", "x", "_", rfReplaceAll, "aXb_c"},
      {"aXbxc", "x", "_", rfReplaceAll | rfIgnoreCase, "a_b_c"},
      {"aXbxc", "x", "_", rfIgnoreCase, "a_bxc"},
      {"aaa", "aa", "b", rfReplaceAll, "ba"},      // no overlapping matches
      {"abc", "b", "bb", rfReplaceAll, "abbc"},    // replacement not searched again
      {"abc", "", "x", rfReplaceAll, "abc"},
      {"abc", "abc", "", rfNone, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), c.expected) << c.s;
}

TEST(StrUtils, QuotedStrDoublesQuotes) {
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(QuotedStr(""), "''");
}

TEST(StrUtils, Utf8LengthAndTruncateRespectCharacters) {
  const std::string mixed = "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a ä € 😀 z
  EXPECT_EQ(Utf8Length(mixed), 5);
  EXPECT_EQ(Utf8Length(""), 0);
  EXPECT_EQ(Utf8Length("\x80\x80"), 2);        // stray continuation bytes
  EXPECT_EQ(Utf8Length("\xE2\x82"), 1);        // truncated sequence
  struct Case {
    int max;
    std::string expected;
  } cases[] = {
      {0, ""}, {-1, ""}, {1, "a"}, {2, "a\xC3\xA4"}, {3, "a\xC3\xA4\xE2\x82\xAC"},
      {4, "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"}, {5, mixed}, {50, mixed},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8Truncate(mixed, c.max), c.expected) << c.max;
}

// ---- Integers ------------------------------------------------------------------------

TEST(StrUtils, IntToStrAndIntToHex) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(UIntToStr(UINT64_MAX), "18446744073709551615");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0x1234, 2), "1234");  // digits is a minimum
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");  // width of the type
  EXPECT_EQ(IntToHex(int64_t{-1}, 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(static_cast<int16_t>(-1), 2), "FFFF");
}

TEST(StrUtils, StrToIntAcceptsDecimalAndHex) {
  struct Case {
    const char* s;
    int expected;
  } cases[] = {
      {"0", 0},           {"-7", -7},          {" -7 ", -7},           {"+12", 12},
      {"$1F", 31},        {"$1f", 31},         {"0x1F", 31},           {"-$10", -16},
      {"$FFFFFFFF", -1},  {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"007", 7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StrToInt(c.s), c.expected) << c.s;
    int v = 0;
    EXPECT_TRUE(TryStrToInt(c.s, v)) << c.s;
    EXPECT_EQ(v, c.expected) << c.s;
  }
}

TEST(StrUtils, StrToIntRejectsBadTextWithMessage) {
  const char* bad[] = {"",      "  ",       "abc",         "12.5",          "1 2", "-",   "$",
                       "0x",    "$1G",      "99999999999", "2147483648",    "-2147483649",
                       "$100000000", "1e3", "--1"};
  for (const char* s : bad) {
    try {
      StrToInt(s);
      ADD_FAILURE() << "no exception for " << s;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(s) + "' is not a valid integer value");
    }
    int v = 5;
    EXPECT_FALSE(TryStrToInt(s, v)) << s;
    EXPECT_EQ(v, 5) << "value kept on failure: " << s;
    EXPECT_EQ(StrToIntDef(s, -3), -3) << s;
  }
}

TEST(StrUtils, StrToInt64TakesTheWholeRange) {
  EXPECT_EQ(StrToInt64("99999999999"), 99999999999LL);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
  EXPECT_EQ(StrToInt64Def("x", 9), 9);
  int64_t v = 0;
  EXPECT_TRUE(TryStrToInt64(" 12 ", v));
  EXPECT_EQ(v, 12);
}

// ---- Floating point -------------------------------------------------------------------

TEST(StrUtils, StrToFloatAcceptsTheNumberForms) {
  struct Case {
    const char* s;
    double expected;
  } cases[] = {
      {"1.5", 1.5},     {" 1.5 ", 1.5},   {"-2", -2.0},        {"+2.25", 2.25},  {".5", 0.5},
      {"5.", 5.0},      {"1e3", 1000.0},  {"1.25E-2", 0.0125}, {"-1e+2", -100.0}, {"0", 0.0},
      {"1e-400", 0.0},  {"0.1", 0.1},     {"123456789012345678", 123456789012345678.0},
      {"\t3\r\n", 3.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StrToFloat(c.s), c.expected) << c.s;
    double v = -1;
    EXPECT_TRUE(TryStrToFloat(c.s, v)) << c.s;
    EXPECT_EQ(v, c.expected) << c.s;
  }
}

TEST(StrUtils, StrToFloatRejectsBadTextWithMessage) {
  const char* bad[] = {"", " ", ".", "-", "1e", "1e+", "e5", "1.5x", "1 5", "1..5", "abc", "1e400", "-1e400",
                       "INF", "NAN", "0x10", "1,5"};
  for (const char* s : bad) {
    try {
      StrToFloat(s);
      ADD_FAILURE() << "no exception for " << s;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(s) + "' is not a valid floating point value");
    }
    double v = 7;
    EXPECT_FALSE(TryStrToFloat(s, v)) << s;
    EXPECT_EQ(v, 7) << "value kept on failure: " << s;
    EXPECT_EQ(StrToFloatDef(s, 2.5), 2.5) << s;
  }
}

TEST(StrUtils, DecimalSeparatorOfSettingsIsAcceptedBesidesThePoint) {
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  comma.ThousandSeparator = '.';
  double v = 0;
  EXPECT_TRUE(TryStrToFloat("1,5", v, comma));
  EXPECT_EQ(v, 1.5);
  EXPECT_TRUE(TryStrToFloat("1.5", v, comma));  // the point always works
  EXPECT_EQ(v, 1.5);
  EXPECT_FALSE(TryStrToFloat("1.000,5", v, comma));  // no thousands separators

  TFormatSettings point;
  EXPECT_FALSE(TryStrToFloat("1,5", v, point));
  EXPECT_EQ(StrToFloatDef("2,5", 0, comma), 2.5);

  // The global settings are used when none are given.
  const TFormatSettings saved = FormatSettings;
  FormatSettings.DecimalSeparator = ',';
  EXPECT_TRUE(TryStrToFloat("1,5", v));
  EXPECT_EQ(v, 1.5);
  EXPECT_EQ(StrToFloat("3,25"), 3.25);
  FormatSettings = saved;
  EXPECT_FALSE(TryStrToFloat("1,5", v));
}

TEST(StrUtils, ValReportsPositionOfFirstBadCharacter) {
  struct Case {
    const char* s;
    double value;
    int code;
  } cases[] = {
      {"1.5", 1.5, 0},   {"  -2.5", -2.5, 0}, {"1.5x", 1.5, 4}, {"1e", 1.0, 3},  {"1e+", 1.0, 4},
      {"abc", 0.0, 1},   {"", 0.0, 1},        {"1.5 ", 1.5, 4}, {"12,5", 12.0, 3}, {" .", 0.0, 3},
      {"1e400", 0.0, 1},
  };
  for (const Case& c : cases) {
    double v = -99;
    int code = -99;
    Val(c.s, v, code);
    EXPECT_EQ(v, c.value) << c.s;
    EXPECT_EQ(code, c.code) << c.s;
  }
  int i = -1, code = -1;
  Val("42", i, code);
  EXPECT_EQ(i, 42);
  EXPECT_EQ(code, 0);
  Val("4x", i, code);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(code, 2);
  Val("99999999999", i, code);
  EXPECT_EQ(code, 1);
  int64_t l = 0;
  Val("99999999999", l, code);
  EXPECT_EQ(l, 99999999999LL);
  EXPECT_EQ(code, 0);
}

// The process locale (here one with a decimal comma) must not change what is
// read or written.
TEST(StrUtils, ConversionsIgnoreTheProcessLocale) {
  TScopedLocale comma;
  ASSERT_TRUE(comma.Active());
  EXPECT_EQ(StrToFloat("1.5"), 1.5);
  EXPECT_EQ(FloatToStr(1.5), "1.5");
  EXPECT_EQ(Format("%.2f %e", {2.5, 1234.5}), "2.50 1.23450000000000E+003");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1,234.50");
}

}  // namespace
