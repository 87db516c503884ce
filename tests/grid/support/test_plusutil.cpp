// Cell text kinds, the wide-text cell form, number and date tests, and the
// small text routines of the grid, with "," as thousands and "." as decimal
// separator.
#include "grid/support/plusutil.h"

#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"

namespace {

struct PlusUtil : ::testing::Test {
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

TEST_F(PlusUtil, CellTextKinds) {
  struct {
    std::string text;
    bool html;
    TCellTextKind kind;
  } cases[] = {
      {"", true, ckPlain},
      {"=", false, ckFormula},
      {"=A1+1", false, ckFormula},
      {"|\\", false, ckUnicode},
      {std::string("|\\\0A", 4), false, ckUnicode},
      {std::string("|\\\x20=", 4), false, ckFormula},  // the low byte of the first unit is "="
      {"{\\rtf1", true, ckRTF},
      {"<b>x</b>", true, ckHTML},
      {"<b>x</b>", false, ckPlain},
      {"<b>x", true, ckPlain},
      {"<B>x", true, ckHTML},
      {"a<I>", true, ckHTML},
      {"plain", true, ckPlain},
  };
  for (const auto& c : cases) EXPECT_EQ(GetCellTextKind(c.text, c.html), c.kind) << c.text;
}

TEST_F(PlusUtil, WideCellTextIsBigEndianUtf16AfterTheMarker) {
  const std::u16string w{0x0041, 0x20AC};
  const std::string encoded = EncodeWideCellText(w);
  EXPECT_EQ(encoded, std::string("\x7C\x5C\x00\x41\x20\xAC", 6));
  EXPECT_EQ(DecodeWideCellText(encoded), w);
  EXPECT_EQ(DecodeWideCellText(std::string("|\\\x00\x41\x20", 5)), std::u16string{0x41});  // odd byte dropped
  EXPECT_EQ(DecodeWideCellText("|\\"), std::u16string{});
  // Only a text that starts with the marker is wide; others are UTF-8.
  EXPECT_EQ(DecodeWideCellText("a|\\b"), (std::u16string{'a', '|', '\\', 'b'}));
  EXPECT_EQ(DecodeWideCellText("\u00E9\u20AC"), (std::u16string{0xE9, 0x20AC}));
  EXPECT_EQ(EncodeWideCellText(u"").size(), 2u);

  EXPECT_EQ(WidePos(u"bc", u"abcbc"), 2);
  EXPECT_EQ(WidePos(u"x", u"abc"), 0);
  EXPECT_EQ(WidePos(u"", u"abc"), 0);
  const char16_t text[] = u"hello";
  EXPECT_EQ(WideStrPos(text, u"llo"), text + 2);
  EXPECT_EQ(WideStrPos(text, u""), nullptr);
  EXPECT_EQ(WideStrPos(text, u"hello!"), nullptr);
  EXPECT_EQ(WideStrPos(nullptr, u"h"), nullptr);
  EXPECT_EQ(WideStrPos(text, nullptr), nullptr);
}

TEST_F(PlusUtil, ClassifyNumberText) {
  struct {
    const char* text;
    int cls;
  } cases[] = {
      {"-12", 0},   {"1,234.5", 1}, {".", 1},       {"1,234,567", 2}, {"1.5E-3", 5}, {"-1.5E-3", 5},
      {"12-3", 2},  {"", 2},        {"-", 0},       {"1.2.3", 2},     {",123", 2},   {"1,2", 1},
      {"12 ", 2},   {"1E5", 5},     {"E5", 2},      {"1E", 2},        {"1E5E", 2},   {"+5", 2},
      {"1e+5", 5},  {"--1", 2},     {"12,345.67", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyNumberText(c.text), c.cls) << c.text;
  // One character as both separators: counted once as each.
  FormatSettings.ThousandSeparator = '.';
  EXPECT_EQ(ClassifyNumberText("1.5"), 1);
  // A blank thousands separator does not make the text text.
  FormatSettings.ThousandSeparator = ' ';
  EXPECT_EQ(ClassifyNumberText("1 234.5"), 1);
}

TEST_F(PlusUtil, ExtractNumberText) {
  struct {
    const char* text;
    const char* number;
  } cases[] = {
      {"$1,234.50", "1234.50"}, {"(12)", "-12"}, {"-5", "-5"},  {"12 kg", "12"}, {"5-3", "5-3"},
      {"abc", ""},              {" (5)", "5"},   {"", ""},      {"+7", "7"},     {"USD 3", "3"},   {"EUR 3", "E"},
      {"x", ""},                {"1.5E-3", "1.5E-3"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractNumberText(c.text), c.number) << c.text;
  // With a decimal comma the result still uses the point.
  FormatSettings.ThousandSeparator = '.';
  FormatSettings.DecimalSeparator = ',';
  EXPECT_EQ(ExtractNumberText("1.234,5 EUR"), "1234.5");
}

TEST_F(PlusUtil, SmallValues) {
  EXPECT_EQ(LimitValue(5, 10, 10), 5);
  EXPECT_EQ(LimitValue(-3, 0, 100), -3);
  EXPECT_EQ(LimitValue(150, 0, 100), 100);
  EXPECT_EQ(LimitValue(3, 5, 100), 5);
  EXPECT_EQ(LimitValue(500, 5, 0), 500);
  EXPECT_EQ(MaxOf(-2, 3), 3);
  EXPECT_EQ(MinOf(-2, 3), -2);
  EXPECT_EQ(DimColor(static_cast<TColor>(0x00FF8040)), static_cast<TColor>(0x007F4020));
  EXPECT_EQ(DimColor(clWhite), static_cast<TColor>(0x007F7F7F));
  EXPECT_EQ(DimColor(clBtnFace), static_cast<TColor>((ColorToRGB(clBtnFace) >> 1) & 0x7F7F7F));
  const TGridRect r{1, 2, 3, 4};
  EXPECT_TRUE(CellInGridRect(r, 1, 2));
  EXPECT_TRUE(CellInGridRect(r, 3, 4));
  EXPECT_FALSE(CellInGridRect(r, 0, 2));
  EXPECT_FALSE(CellInGridRect(r, 3, 5));
}

TEST_F(PlusUtil, DayMonthYearDatesTakeFourDigitYearsAsWritten) {
  struct {
    const char* text;
    bool dmy;
    int y, m, d;  // y = 0: the result is 0
  } cases[] = {
      {"31.12.99", true, 1999, 12, 31}, {"31.12.2007", true, 2007, 12, 31}, {"1-2-25", true, 2025, 2, 1},
      {"1-2-26", true, 1926, 2, 1},     {"12/31/07", false, 2007, 12, 31},  {"1/2/007", true, 7, 2, 1},
      {" 3/ 4/2000", true, 2000, 4, 3}, {"$1F.1.2000", true, 2000, 1, 31},  {"12/31", false, 0, 0, 0},
      {"12 31 07", false, 0, 0, 0},     {"a/b/c", true, 0, 0, 0},           {"1//2000", true, 0, 0, 0},
      {"1/2/2000x", true, 0, 0, 0},     {"1/2/2000 ", true, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const TDateTime v = c.dmy ? ParseDMYDate(c.text) : ParseMDYDate(c.text);
    EXPECT_EQ(v, c.y ? EncodeDate(c.y, c.m, c.d) : 0.0) << c.text;
  }
  // Fields that parse but make no date raise the date conversion error.
  EXPECT_THROW(ParseDMYDate("30.2.2007"), EConvertError);
  EXPECT_THROW(ParseMDYDate("13/1/2007"), EConvertError);
  EXPECT_THROW(ParseDMYDate("0.1.2007"), EConvertError);

  EXPECT_TRUE(IsDateText("1/2/3"));
  EXPECT_FALSE(IsDateText("/1/2"));
  EXPECT_FALSE(IsDateText("1//2"));
  EXPECT_FALSE(IsDateText("1/2"));
  EXPECT_FALSE(IsDateText("1.2.3"));
}

TEST_F(PlusUtil, StepDateUsesSignedStepsAndWrapsMonthsOverYears) {
  const TDateTime d = EncodeDate(2006, 12, 15);
  EXPECT_EQ(StepDate(0, 1, 0, 31, d), EncodeDate(2007, 1, 15));
  EXPECT_EQ(StepDate(0, -1, 0, -30, d), EncodeDate(2006, 11, 15));
  EXPECT_EQ(StepDate(0, -12, 0, 0, d), EncodeDate(2005, 12, 15));
  EXPECT_EQ(StepDate(0, 25, 0, 0, d), EncodeDate(2009, 1, 15));
  EXPECT_EQ(StepDate(0, -23, 0, 0, d), EncodeDate(2005, 1, 15));
  EXPECT_EQ(StepDate(1, 0, 0, 365, d), EncodeDate(2007, 12, 15));
  EXPECT_EQ(StepDate(-1, 0, 0, -365, d), EncodeDate(2005, 12, 15));
  EXPECT_EQ(StepDate(0, 0, 3, 3, d), d + 3);
  EXPECT_EQ(StepDate(0, 0, -3, -3, d), d - 3);
  EXPECT_EQ(StepDate(1, 1, 0, 40.5, d), d + 40.5);
  EXPECT_EQ(StepDate(0, 0, 0, 2, d), d + 2);
  EXPECT_THROW(StepDate(0, 1, 0, 0, EncodeDate(2007, 1, 31)), EConvertError);
  EXPECT_THROW(StepDate(1, 0, 0, 0, EncodeDate(2008, 2, 29)), EConvertError);
  EXPECT_THROW(StepDate(0, -12, 0, 0, EncodeDate(1, 6, 1)), EConvertError);
}

TEST_F(PlusUtil, UrlsAndCellReferences) {
  EXPECT_TRUE(IsURL("see http://x.org"));
  EXPECT_TRUE(IsURL("mailto:me@x.org"));
  EXPECT_FALSE(IsURL("MAILTO:me@x.org"));
  std::string s = "http://x.org/a";
  StripURLPrefix(s);
  EXPECT_EQ(s, "x.org/a");
  s = "write mailto:me";
  StripURLPrefix(s);
  EXPECT_EQ(s, "me");
  s = "plain";
  StripURLPrefix(s);
  EXPECT_EQ(s, "plain");

  struct {
    const char* text;
    bool ok;
    int col, row;
  } refs[] = {{"R2C3", true, 3, 2}, {"r10c1", true, 1, 10}, {"R12C", false, 0, 0},
              {"RC30", false, 0, 0}, {"R1C", false, 0, 0},  {"X1C22", false, 0, 0}, {"R1X22", false, 0, 0}};
  for (const auto& r : refs) {
    int c = -1, w = -1;
    EXPECT_EQ(ParseRCCellRef(r.text, c, w), r.ok) << r.text;
    if (r.ok) {
      EXPECT_EQ(std::make_pair(c, w), std::make_pair(r.col, r.row)) << r.text;
    }
  }
}

TEST_F(PlusUtil, LineBreaksForDelimitedFiles) {
  EXPECT_EQ(EncodeLineBreaks("a\r\nb"), "a\t\x08" "b");
  EXPECT_EQ(EncodeLineBreaks("a\nb\tc"), "a\nb\tc");  // no CR: unchanged
  EXPECT_EQ(DecodeLineBreaks("a\t\x08" "b", true), "a\r\nb");
  EXPECT_EQ(DecodeLineBreaks("a\t\x08" "b", false), "a");
  EXPECT_EQ(DecodeLineBreaks("a\tb", true), "a\tb");
  std::string t = "a\r\nb";
  EXPECT_EQ(CutFirstLine(t, true), "a");
  EXPECT_EQ(t, "b");
  t = "a\r\nb";
  EXPECT_EQ(CutFirstLine(t, false), "a");
  EXPECT_EQ(t, "");
  t = "single";
  EXPECT_EQ(CutFirstLine(t, true), "single");
  EXPECT_EQ(t, "");
  EXPECT_EQ(CountTextLines("a\rb\rc", true), 3);
  EXPECT_EQ(CountTextLines("a\rb\rc", false), 1);
  t = "a\r\nb";
  QuoteMultiline(t);
  EXPECT_EQ(t, "\"a\x0B" "b\"");
  t = "plain";
  QuoteMultiline(t);
  EXPECT_EQ(t, "\"plain\"");
  t = "a\x0B" "b";
  RestoreVTLineBreaks(t);
  EXPECT_EQ(t, "a\r\nb");
  t = "a~b";
  TildeToLineBreaks(t);
  EXPECT_EQ(t, "a\r\nb");
  t = "^";
  TildeToLineBreaks(t);
  EXPECT_EQ(t, "");
  EXPECT_EQ(UnescapeNewlines("a\\nb\\n"), "a\rb\r");
  EXPECT_EQ(RemoveCR("a\r\nb\r"), "a\nb");
  EXPECT_EQ(StripCR("\r\r"), "");
}

TEST_F(PlusUtil, QuotesAndMarkers) {
  struct {
    const char* text;
    int pos;
  } quotes[] = {{"ab\",c", 3}, {"a\"\"b\",c", 5}, {"abc", 0}, {"ab\"", 3}, {"a\"\"b", 0}, {"\"\"\",x", 3}};
  for (const auto& q : quotes) {
    int p = -1;
    EXPECT_EQ(FindClosingQuote('"', q.text, p), q.pos) << q.text;
    EXPECT_EQ(p, q.pos) << q.text;
  }
  EXPECT_EQ(CountClosingQuotes('"', "a\",b\",c\""), 3);
  EXPECT_EQ(CountClosingQuotes('"', "abc"), 0);
  EXPECT_EQ(StripAccelChar('"', "a\"\"b\"c"), "a\"bc");
  EXPECT_EQ(StripAccelChar('&', "&File&"), "File");
  EXPECT_EQ(StripAccelChar('&', "none"), "none");
}

TEST_F(PlusUtil, StringRoutines) {
  int p = -1;
  EXPECT_EQ(FindSubstring("lo", "hello", p), 4);
  EXPECT_EQ(p, 4);
  EXPECT_EQ(FindSubstring("x", "hello", p), 0);
  EXPECT_EQ(p, 0);
  p = 7;
  EXPECT_EQ(FindCharIndex('z', "hello", p), 0);
  EXPECT_EQ(p, 7);  // written only when found
  EXPECT_EQ(FindCharIndex('l', "hello", p), 3);
  EXPECT_EQ(p, 3);
  EXPECT_EQ(CharIndex('o', "hello"), 5);
  EXPECT_EQ(UpperPos("LL", "heLlo"), 3);
  EXPECT_EQ(UpperPos("\u00E9", "\u00E9"), 1);  // bytes beyond a..z compare as they are
  std::string s = "a,b,c";
  EXPECT_EQ(CutToDelimiter(s, ","), "a");
  EXPECT_EQ(s, "b,c");
  s = "abc";
  EXPECT_EQ(CutToDelimiter(s, ";x"), "");
  EXPECT_EQ(s, "abc");
  s = "a;b";
  EXPECT_EQ(CutToDelimiter(s, ";x"), "a");
  EXPECT_EQ(CountChar('a', "banana"), 3);
  s = "p\u00E4ss\u20AC";
  MaskString(s, '*');
  EXPECT_EQ(s, "*****");  // one mark per character, not per byte
  s = "\x84\x81";
  OemToAnsiString(s);
  EXPECT_EQ(s, "\u00E4\u00FC");
  EXPECT_EQ(LowerCaseASCII('Q'), 'q');
  EXPECT_EQ(LowerCaseASCII('1'), '1');
  struct {
    const char* in;
    const char* out;
  } names[] = {{"mcdonald", "McDonald"}, {"john o'neil", "John O'Neil"}, {"henry iii", "Henry III"},
               {"JOHN SMITH", "John Smith"}, {"anne-marie", "Anne-Marie"}, {"peter mcneil", "Peter McNeil"},
               {"louis ii", "Louis II"},  {"", ""}};
  for (const auto& n : names) EXPECT_EQ(CapitalizeName(n.in), n.out) << n.in;
}

}  // namespace
