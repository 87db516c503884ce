// The lexer: tokens of a line and labels cut off it.
#include <gtest/gtest.h>

#include <charconv>

#include "basic/sbasic.h"
#include "basic/sblexer.h"

namespace {

// Tokens as text: kind/value, with the text of names and the value of constants.
std::string Describe(const TSBTokenList& tokens) {
  std::string s;
  for (const TSBLex& t : tokens) {
    if (!s.empty()) s += " ";
    s += std::to_string(t.Kind) + "/" + std::to_string(t.Value);
    if (t.Kind == skIdent || t.Kind == skTypeName) s += ":" + t.Text;
    if (t.Kind == skConst) {
      if (t.TypeCode == tcString)
        s += ":'" + t.StrValue + "'";
      else {
        char number[64];
        const auto res = std::to_chars(number, number + sizeof number, t.Number, std::chars_format::general, 10);
        s += ":" + std::string(1, static_cast<char>(t.TypeCode)) + std::string(number, res.ptr);
      }
    }
  }
  return s;
}

struct TLexCase {
  const char* Line;
  const char* Tokens;
};

const TLexCase LexCases[] = {
    {"X=1", "9/0:X 30/0 11/0:11"},
    {"X = 1", "9/0:X 30/0 11/0:11"},
    {"A<=B", "9/0:A 21/23 9/0:B"},
    {"A <> B == C >= D > E < F", "9/0:A 21/27 9/0:B 21/24 9/0:C 21/25 9/0:D 21/26 9/0:E 21/22 9/0:F"},
    {"1.5", "11/0:01.5"},
    {"A.B", "9/0:A 1/8 9/0:B"},
    {".5", "1/8 11/0:15"},
    {"1E5", "11/0:0100000"},
    {"1E-5", "9/0:1E 14/18 11/0:15"},
    {"0.1", "11/0:00.1000000015"},
    {"TRUE + false", "11/0:11 14/17 11/0:10"},
    {"dim Dim DIM", "54/2:DIM 54/2:DIM 54/2:DIM"},
    {"integer x", "54/1:INTEGER 9/0:X"},
    {"'ab''cd'", "11/0:'ab' 11/0:'cd'"},
    // Either quote ends a string, whichever opened it.
    {"\"It's\"", "9/0:\"IT' 9/0:S 9/0:\""},
    {"S = 'Hello' + Hello", "9/0:S 30/0 11/0:'Hello' 14/17 9/0:HELLO"},
    {"16777217", "11/0:116777217"},
    {"2147483648", "11/0:02147483648"},
    {"$1F + $ffffffff", "11/0:131 14/17 11/0:1-1"},
    {"XA", "9/0:XA"},
    {"A AND B OR NOT C", "9/0:A 21/28 9/0:B 21/29 117/0 9/0:C"},
    {"IF X THEN", "37/0 9/0:X 39/0"},
    {"ElseIf Select Case Loop Until", "41/0 63/0 64/0 58/0 60/0"},
    {"F(A[1], B)", "9/0:F 1/2 9/0:A 1/4 11/0:11 1/5 1/6 9/0:B 1/3"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", "9/0:ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"},
    {"A-B*C/D", "9/0:A 14/18 9/0:B 14/15 9/0:C 14/16 9/0:D"},
};

class LexerTest : public ::testing::TestWithParam<TLexCase> {};

TEST_P(LexerTest, Tokens) {
  TSBasic b;
  EXPECT_EQ(Describe(Tokenize(b.Code(), GetParam().Line)), GetParam().Tokens) << GetParam().Line;
}

INSTANTIATE_TEST_SUITE_P(Lexer, LexerTest, ::testing::ValuesIn(LexCases));

TEST(Lexer, ClassesOfTheProgramAreTypeNames) {
  TSBasic b;
  TSBStringsSource memo("CLASS POINT\nINTEGER X\nEND CLASS\nPOINT P");
  b.SetSource_Memo(&memo);
  ASSERT_EQ(b.Compile(), 0);
  const TSBTokenList t = Tokenize(b.Code(), "point q");
  EXPECT_EQ(t[0].Kind, skTypeName);
  EXPECT_EQ(t[0].Value, 7);
}

TEST(Lexer, Labels) {
  TSBasic b;
  TSBCodeList& code = b.Code();
  std::string line = "start: X = 1";
  EXPECT_FALSE(CutLabel(code, line));
  EXPECT_EQ(line, "X = 1");
  TSBLabel::TEntry e;
  ASSERT_EQ(code.Labels.Find("START", &e), 0);
  EXPECT_EQ(e.CodeIndex, 0);
  line = "START: Y = 2";
  EXPECT_TRUE(CutLabel(code, line));  // defined twice
  line = "A B: X = 1";
  EXPECT_TRUE(CutLabel(code, line));
  line = "S = 'a:b'";
  EXPECT_FALSE(CutLabel(code, line));
  EXPECT_EQ(line, "S = 'a:b'");
  line = ": X = 1";
  EXPECT_FALSE(CutLabel(code, line));  // an empty label: the colon is dropped
  EXPECT_EQ(line, "X = 1");
  EXPECT_EQ(FindLabelColon("'x:' y:"), 7);
  EXPECT_EQ(FindLabelColon("none"), -1);
}

}  // namespace
