// Whole programs through compile and run, checked by what they hand to the
// host function OUT.
#include <gtest/gtest.h>

#include "macrotest.h"

namespace {

struct TProgramCase {
  const char* Name;
  const char* Source;
  const char* Expected;
};

const TProgramCase ProgramCases[] = {
    {"ForSum", "S = 0\nFOR I = 1 TO 100\n  S = S + I\nNEXT I\nOUT(S)", "5050"},
    {"ForStepDown", "INTEGER I\nFOR I = 10 TO 1 STEP -3\n  OUT(I)\nNEXT I", "10|7|4|1"},
    {"ForNested", "INTEGER I, J, N\nFOR I = 1 TO 3\nFOR J = I TO 3\nN = N + 1\nNEXT J\nNEXT I\nOUT(N)", "6"},
    {"ForNeverEntered", "INTEGER I\nFOR I = 5 TO 1\nOUT(I)\nNEXT I\nOUT(I)", "5"},
    {"ForFractionalStepIsInteger", "INTEGER I, N\nFOR I = 1 TO 5 STEP 1.6\nN = N + 1\nNEXT I\nOUT(N)", "3"},
    {"IfElseIfElse",
     "INTEGER I\nFOR I = 1 TO 4\n"
     "IF I == 1 THEN\n OUT(\"one\")\nELSEIF I == 2\n OUT(\"two\")\nELSEIF I == 3\n OUT(\"three\")\n"
     "ELSE\n OUT(\"many\")\nEND IF\nNEXT I",
     "one|two|three|many"},
    {"NestedIf",
     "INTEGER A, B\nA = 1\nB = 0\nIF A == 1 THEN\n IF B == 1 THEN\n  OUT(1)\n ELSE\n  OUT(2)\n END IF\n"
     "ELSE\n OUT(3)\nEND IF",
     "2"},
    {"IfWithoutElse", "X = 5\nIF X > 3 THEN\nOUT(\"big\")\nEND IF\nIF X > 9 THEN\nOUT(\"huge\")\nEND IF\nOUT(\"end\")",
     "big|end"},
    {"DoWhile", "INTEGER I\nDO WHILE I < 3\n I = I + 1\n OUT(I)\nLOOP", "1|2|3"},
    {"LoopUntil", "INTEGER I\nDO\n I = I + 2\nLOOP UNTIL I >= 7\nOUT(I)", "8"},
    {"LoopWhile", "INTEGER I\nDO\n I = I + 1\nLOOP WHILE I < 4\nOUT(I)", "4"},
    {"DoUntilSkipsBody", "INTEGER I\nI = 5\nDO UNTIL I == 5\n OUT(\"body\")\nLOOP\nOUT(I)", "5"},
    {"DoWhileIgnoresLoopCondition", "INTEGER I\nDO WHILE I < 2\n I = I + 1\nLOOP UNTIL I == 1\nOUT(I)", "2"},
    {"SelectEveryMatchingCase",
     "INTEGER X\nX = 5\nSELECT CASE X\nCASE 1, 5\n OUT(\"a\")\nCASE 3 TO 7\n OUT(\"b\")\nCASE 9\n OUT(\"c\")\n"
     "CASE ELSE\n OUT(\"else\")\nEND SELECT",
     "a|b"},
    {"SelectElse", "SELECT CASE 4\nCASE 1\n OUT(\"one\")\nCASE ELSE\n OUT(\"else\")\nEND SELECT", "else"},
    {"SelectNoMatchNoElse", "SELECT CASE 4\nCASE 1, 2\n OUT(\"x\")\nEND SELECT\nOUT(\"done\")", "done"},
    {"SelectRealSelectorRounds", "SELECT CASE 2.6\nCASE 3\n OUT(\"three\")\nEND SELECT", "three"},
    {"GotoLabel", "INTEGER I\nAGAIN: I = I + 1\nIF I < 3 THEN\nGOTO AGAIN\nEND IF\nOUT(I)", "3"},
    {"GotoForward", "OUT(1)\nGOTO SKIP\nOUT(2)\nSKIP:\nOUT(3)", "1|3"},
    {"GotoMissingLabelDoesNotJump", "OUT(1)\nGOTO NOWHERE\nOUT(2)", "1|2"},
    {"RecursiveFactorial",
     "FUNCTION F(N AS INTEGER) AS INTEGER\n IF N <= 1 THEN\n  F = 1\n ELSE\n  F = N * F(N - 1)\n END IF\n"
     "END FUNCTION\nOUT(F(6))",
     "720"},
    {"RecursionKeepsCallerRegisters",
     "FUNCTION FIB(N AS INTEGER) AS INTEGER\n IF N < 2 THEN\n  FIB = N\n ELSE\n  FIB = FIB(N - 1) + FIB(N - 2)\n"
     " END IF\nEND FUNCTION\nOUT(FIB(10))",
     "55"},
    {"ReturnValue",
     "FUNCTION SIGN(X AS DOUBLE) AS INTEGER\n IF X < 0 THEN\n  RETURN -1\n END IF\n IF X > 0 THEN\n  RETURN 1\n"
     " END IF\n RETURN 0\nEND FUNCTION\nOUT(SIGN(-2.5))\nOUT(SIGN(3))\nOUT(SIGN(0))",
     "-1|1|0"},
    {"ExitFunction",
     "FUNCTION G(N AS INTEGER) AS INTEGER\n G = 1\n EXIT FUNCTION\n G = 2\nEND FUNCTION\nOUT(G(0))", "1"},
    {"FunctionLocalsAreTheirOwn",
     "FUNCTION H(N AS INTEGER) AS INTEGER\n X = N * 2\n H = X\nEND FUNCTION\nX = 7\nOUT(H(4))\nOUT(X)", "8|7"},
    {"ByRefAgainstByVal",
     "FUNCTION SETBOTH(BYREF A AS INTEGER, BYVAL B AS INTEGER) AS INTEGER\n A = 10\n B = 20\n SETBOTH = A + B\n"
     "END FUNCTION\nINTEGER P, Q\nP = 1\nQ = 2\nOUT(SETBOTH(P, Q))\nOUT(P)\nOUT(Q)",
     "30|10|2"},
    {"ByRefArrayElement",
     "FUNCTION BUMP(BYREF A AS INTEGER) AS INTEGER\n A = A + 1\nEND FUNCTION\nINTEGER V[3]\nV[1] = 4\n"
     "BUMP(V[1])\nOUT(V[1])\nOUT(V[0])",
     "5|0"},
    {"ByRefThroughTwoCalls",
     "FUNCTION INNER(BYREF A AS INTEGER) AS INTEGER\n A = A * 3\nEND FUNCTION\n"
     "FUNCTION OUTER(BYREF B AS INTEGER) AS INTEGER\n INNER(B)\n B = B + 1\nEND FUNCTION\n"
     "INTEGER X\nX = 2\nOUTER(X)\nOUT(X)",
     "7"},
    {"ClassWithMethodAndSelf",
     "CLASS COUNTER\n INTEGER N\n STRING TAG\n FUNCTION ADD(K AS INTEGER) AS INTEGER\n  N = N + K\n"
     "  ADD = SELF.N\n END FUNCTION\nEND CLASS\nCOUNTER C\nC.TAG = \"c1\"\nC.ADD(5)\nOUT(C.ADD(2))\nOUT(C.N)\n"
     "OUT(C.TAG)",
     "7|7|c1"},
    {"ClassMethodCallsMethod",
     "CLASS BOX\n DOUBLE W, H\n FUNCTION AREA AS DOUBLE\n  AREA = W * H\n END FUNCTION\n"
     " FUNCTION SCALE(F AS DOUBLE) AS DOUBLE\n  W = W * F\n  H = H * F\n  SCALE = AREA()\n END FUNCTION\n"
     "END CLASS\nBOX B\nB.W = 2\nB.H = 3\nOUT(B.SCALE(2))\nOUT(B.W)",
     "24|4"},
    {"DerivedClassKeepsFields",
     "CLASS P\n INTEGER X\nEND CLASS\nCLASS Q (P)\n INTEGER Y\nEND CLASS\nQ V\nV.X = 3\nV.Y = 4\nOUT(V.X * 10 + V.Y)",
     "34"},
    {"ArrayOfClass",
     "CLASS PT\n INTEGER X, Y\nEND CLASS\nPT A[3]\nINTEGER I\nFOR I = 0 TO 2\n A[I].X = I\n A[I].Y = I * I\n"
     "NEXT I\nOUT(A[2].X + A[2].Y)\nOUT(A[1].Y)",
     "6|1"},
    {"ClassArrayField",
     "CLASS POLY\n DOUBLE C[4]\nEND CLASS\nPOLY P\nINTEGER I\nFOR I = 0 TO 3\n P.C[I] = I + 1\nNEXT I\n"
     "OUT(P.C[0] + P.C[3])",
     "5"},
    {"StringBuiltins",
     "STRING S\nS = \"  Hello World  \"\nS = TRIM(S)\nOUT(STRUPPER(S))\nOUT(GETLENGTH(S))\nOUT(STRCOPY(S, 7, 5))\n"
     "OUT(POS(\"World\", S))\nOUT(GETTOKEN(S, \" \", 2))\nOUT(CHR(65) + STR(2))\nOUT(ASC(\"a\"))",
     "HELLO WORLD|11|World|7|World|A2.000|97"},
    {"DateBuiltins",
     "DATE D\nINTEGER Y, M, DD\nD = ENCODEDATE(2024, 2, 28) + 1\nOUT(DATETOSTR(D))\nDECODEDATE(D + 1, Y, M, DD)\n"
     "OUT(Y * 10000 + M * 100 + DD)",
     "29/02/2024|20240301"},
    {"DateDifference", "DATE A, B\nINTEGER N\nA = STRTODATE(\"01/03/2024\")\nB = ENCODEDATE(2024, 3, 11)\nN = B - A\nOUT(N)",
     "10"},
    {"AssignmentChain", "INTEGER A, B, C\nA = B = C = 4\nOUT(A + B + C)", "12"},
    {"EqualsInConditionAssigns", "INTEGER X\nX = 5\nIF X = 0 THEN\nOUT(\"true\")\nELSE\nOUT(\"false\")\nEND IF\nOUT(X)",
     "false|0"},
    {"OperatorPriority", "OUT(2 + 3 * 4)\nOUT(20 - 5 - 3)\nOUT((2 + 3) * 4)\nOUT(-2 * 3)", "14|12|20|-6"},
    {"LogicalAndOr", "OUT(-1 OR 1)\nOUT(65536 AND 65536)\nOUT(2 AND 0)\nOUT(1 OR 1)\nOUT(NOT 0)\nOUT(NOT NOT 3)",
     "1|1|0|1|1|1"},
    {"IntegerLiteralExact", "INTEGER I\nI = 16777217\nOUT(I)\nOUT(2147483647)", "16777217|2147483647"},
    {"IntegerDivision", "OUT(7 / 2)\nOUT(-7 / 2)\nOUT(7 / 0)\nOUT(7.0 / 2)", "3|-3|0|3.5"},
    {"StringCompare", "OUT(\"abc\" < \"abd\")\nOUT(\"B\" < \"a\")\nOUT(\"abc\" == \"ABC\")", "1|1|0"},
    {"ContinuedLine", "INTEGER A\nA = 1 + _\n 2 + _\n 3\nOUT(A)", "6"},
    {"CommentsAndBlankLines", "// a comment\n\nOUT(1) // after\n   \nOUT(2)", "1|2"},
    {"HexLiteral", "OUT($FF)", "255"},
    {"CaseInsensitiveNames", "integer count\nCount = 3\nout(COUNT)", "3"},
    {"EndFunctionInMainStops", "OUT(1)\nEND FUNCTION\nOUT(2)", "1"},
};

class ProgramTest : public ::testing::TestWithParam<TProgramCase> {};

TEST_P(ProgramTest, Output) {
  TMacro m;
  EXPECT_EQ(m.Run(GetParam().Source), GetParam().Expected) << m.Message();
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramTest, ::testing::ValuesIn(ProgramCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
