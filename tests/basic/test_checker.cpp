// The syntax checker and the translator's compile errors, through whole
// programs: the code Compile returns and the line it is reported on.
#include <gtest/gtest.h>

#include "basic/sberrors.h"
#include "macrotest.h"

namespace {

struct TErrorCase {
  const char* Source;
  int Code;
  int Line;  // 1-based, as the message shows it
};

const TErrorCase ErrorCases[] = {
    // characters and brackets
    {"S = \"\xC3\xA4\"", 1, 1},
    {"S = \"abc", 1, 1},
    {"X = 1\nY = (1 + 2", 2, 2},
    {"X = A[1)", 2, 1},
    // expressions as statements
    {"X = 2 * -3", 37, 1},
    {"X = GETDIR", 37, 1},
    {"X = 1 2", 37, 1},
    {"GETDIR(", 2, 1},
    {"OUT(1,)", 42, 1},
    {"OUT((1, 2))", 42, 1},
    // INC and DEC
    {"INC", 28, 1},
    {"INC X Y", 29, 1},
    {"INC X[]", 30, 1},
    {"INC X[*]", 31, 1},
    // IF chain
    {"IF X == 1 THEN X = 2\nEND IF", 7, 1},
    {"IF X == 1\nEND IF", 6, 1},
    {"IF THEN", 8, 1},
    {"IF * THEN", 9, 1},
    {"ELSEIF X", 10, 1},
    {"IF X THEN\nELSEIF X == 1 THEN\nEND IF", 11, 2},
    {"ELSE", 13, 1},
    {"IF X THEN\nELSE X\nEND IF", 14, 2},
    {"END IF", 15, 1},
    {"X = 1\nEND", 140, 2},
    {"X = 1\nEND FOO", 140, 2},
    {"END", 150, 1},
    {"CLASS C\nEND CLASS", 150, 2},
    {"IF X THEN\nX = 1", 142, 2},
    {"IF X THEN\nELSEIF Y\n", 143, 2},
    {"IF X THEN\nELSE\n", 144, 2},
    // FOR
    {"FOR", 17, 1},
    {"FOR I 1 TO 2", 18, 1},
    {"FOR I = 1", 19, 1},
    {"FOR I = 1 TO", 20, 1},
    {"FOR I = TO 3", 21, 1},
    {"FOR I = * TO 3", 22, 1},
    {"FOR I = 1 TO *", 23, 1},
    {"FOR I = 1 TO 3 STEP *", 24, 1},
    {"FOR I = 1 TO 3\nNEXT", 26, 2},
    {"FOR I = 1 TO 3\nNEXT 5", 27, 2},
    {"IF X THEN\nNEXT I", 25, 2},
    {"IF X THEN\nFOR I = 1 TO 2\n", 148, 2},
    // DO
    {"DO WHILE", 47, 1},
    {"DO X Y", 48, 1},
    {"DO WHILE *", 49, 1},
    {"LOOP", 50, 1},
    {"DO\nLOOP WHILE", 51, 2},
    {"DO\nLOOP X Y", 51, 2},
    {"DO\n", 149, 1},
    // SELECT CASE
    {"SELECT CASE", 100, 1},
    {"SELECT CASE *", 101, 1},
    {"SELECT CASE X\nCASE", 105, 2},
    {"CASE 1", 108, 1},
    {"SELECT CASE X\nCASE , 1", 102, 2},
    {"SELECT CASE X\nCASE 1 TO 2 TO 3", 103, 2},
    {"SELECT CASE X\nCASE TO 3", 104, 2},
    {"SELECT CASE X\nCASE 1,", 110, 2},
    {"SELECT CASE X\nCASE *", 3, 2},
    {"SELECT CASE X\nCASE GETTOKEN(A, B, 1)", 3, 2},
    {"SELECT CASE X\nCASE ELSE", 106, 2},
    {"SELECT CASE X\nCASE 1\nCASE ELSE X", 107, 3},
    {"END SELECT", 111, 1},
    {"SELECT CASE X\n", 145, 1},
    {"SELECT CASE X\nCASE 1\n", 146, 2},
    {"SELECT CASE X\nCASE 1\nCASE ELSE\n", 147, 3},
    // declarations
    {"INTEGER 5", 44, 1},
    {"DIM A AS INTEGER", 45, 1},
    {"INTEGER A B", 45, 1},
    {"INTEGER A, , B", 45, 1},
    {"INTEGER A[B]", 46, 1},
    // FUNCTION headers
    {"FUNCTION 5 AS INTEGER", 121, 1},
    {"FUNCTION F", 122, 1},
    {"FUNCTION F AS X", 123, 1},
    {"FUNCTION F X AS INTEGER", 124, 1},
    {"FUNCTION F () AS INTEGER", 125, 1},
    {"FUNCTION F(A AS INTEGER B) AS INTEGER", 126, 1},
    {"FUNCTION F(A AS B) AS INTEGER", 127, 1},
    {"FUNCTION F(BYREF 5) AS INTEGER", 128, 1},
    {"FUNCTION F(A B) AS INTEGER", 129, 1},
    {"FUNCTION F(A, 5) AS INTEGER", 130, 1},
    {"FUNCTION F(A AS) AS INTEGER", 131, 1},
    {"FUNCTION F AS INTEGER\nIF X THEN\nEND FUNCTION", 137, 3},
    {"RETURN *", 133, 1},
    {"EXIT", 135, 1},
    {"CLASS", 140, 1},
    {"CLASS A B", 140, 1},
    {"THEN", 141, 1},
    {"QUITE", 141, 1},
    // program sections
    {"X = 1\nINTEGER Y", 150, 2},
    {"X = 1\nFUNCTION F AS INTEGER", 150, 2},
    {"INTEGER Y\nCLASS C", 150, 2},
    {"CLASS C\nX = 1", 150, 2},
    {"FUNCTION F AS INTEGER\nX = 1\nINTEGER Y", 150, 3},
    // labels
    {"A B: X = 1", 1, 1},
    {"L1: X = 1\nL1: X = 2", 1, 2},
    // translator
    {"GOTO", sbeStatement, 1},
    {"X = 1 + _", sbeOpenContinuation, 1},
    {"X = 1 + _\n\n// the end", sbeOpenContinuation, 1},
    {"X = 1\nY = 2 + _\n  3 + _", sbeOpenContinuation, 3},
    {"STRING S\nS = S - \"a\"", 201, 2},
    {"INTEGER I\nI = \"a\"", 201, 2},
    {"X = NOT \"a\"", 201, 1},
    {"X = -\"a\"", 201, 1},
    {"INC 5", 28, 1},
    {"X = 1\nX[2] = 3", 208, 2},
    {"X = ROUND()", 207, 1},
    {"X = GETDIR(1)", 206, 1},
    {"X = ROUND(1, 2)", 207, 1},
    {"FUNCTION F(BYREF A AS INTEGER) AS INTEGER\nEND FUNCTION\nF(1 + 2)", 199, 3},
    {"FUNCTION F(BYREF A AS INTEGER) AS INTEGER\nEND FUNCTION\nDOUBLE D\nF(D)", 203, 4},
    {"FUNCTION F(A AS INTEGER) AS INTEGER\nEND FUNCTION\nF(\"s\")", 204, 3},
    {"INTEGER A, A", 212, 1},
    {"FUNCTION F AS INTEGER\nEND FUNCTION\nFUNCTION F AS INTEGER", 212, 3},
    {"CLASS C\nINTEGER X, X", 212, 2},
    {"CLASS C\nINTEGER X\nEND CLASS\nCLASS C", 212, 4},
    {"CLASS D (E)", 140, 1},
    {"X = Y.Z", 199, 1},
    {"CLASS C\nINTEGER X\nEND CLASS\nC V\nV.Q = 1", 199, 5},
    {"X = A.", 199, 1},
};

class CompileErrorTest : public ::testing::TestWithParam<TErrorCase> {};

TEST_P(CompileErrorTest, CodeAndLine) {
  TMacro m;
  const TErrorCase& c = GetParam();
  EXPECT_EQ(m.Compile(c.Source), c.Code) << c.Source << "\n" << m.Message();
  EXPECT_EQ(m.Basic.Checker().ErrorLine + 1, c.Line) << c.Source;
}

INSTANTIATE_TEST_SUITE_P(Checker, CompileErrorTest, ::testing::ValuesIn(ErrorCases));

// Forms that must pass the checker.
const char* const AcceptedForms[] = {
    "X",
    "X = -3",
    "X = (-3)",
    "X = ROUND(-3)",
    "X = GETDIR()",
    "X = +2",
    "INTEGER",
    "INTEGER A,",
    "DIM A",
    "FOR I = 1 TO 3 STEP\nNEXT I",
    "FOR I = 1 TO 3\nNEXT J",
    "DO\nLOOP",
    "DO UNTIL X\nLOOP WHILE Y",
    "SELECT CASE X\nCASE 1, 2 TO 3, Y\nCASE ELSE\nEND SELECT",
    "GOTO 10",
    "RETURN",
    "FUNCTION F(BYREF A AS INTEGER, BYVAL B, C AS STRING) AS DOUBLE\nEND FUNCTION",
    "CLASS A\nINTEGER X\nEND CLASS\nCLASS B (A)\nINTEGER Y\nEND CLASS",
    "X = A[1] + B.C",
};

TEST(Checker, AcceptsTheLanguagesForms) {
  for (const char* source : AcceptedForms) {
    TSBasic basic;
    TSBStringsSource memo(source);
    basic.SetSource_Memo(&memo);
    // Some forms fail later in the translator (unknown members): only the checker's codes matter here.
    basic.Compile();
    EXPECT_TRUE(basic.Checker().ErrorCode == 0 || basic.Checker().ErrorCode > 150) << source;
  }
}

TEST(Checker, MessageText) {
  TSBError checker;
  EXPECT_EQ(checker.ErrorMessage(), "");
  checker.SetError(9, 11, "");
  EXPECT_EQ(checker.ErrorMessage(), "Invalid statement. Line:0012");
  checker.SetError(212, 0, "X");
  EXPECT_EQ(checker.ErrorMessage(), "Duplicate name 'X'. Line:0001");
}

TEST(Checker, ExpressionCheckTracksCallParentheses) {
  TMacro m;
  // A comma directly inside a call is an argument separator, one level deeper it is not.
  EXPECT_EQ(m.Compile("X = POWER(2, ROUND(3))"), 0);
  EXPECT_EQ(m.Compile("X = POWER((2), 3)"), 0);
  EXPECT_EQ(m.Compile("X = POWER((2, 3))"), 37);
  EXPECT_EQ(m.Compile("X = (2, 3)"), 37);
}

}  // namespace
