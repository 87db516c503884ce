// The executor: the cycle limit, run-time errors and their report, calls.
#include <gtest/gtest.h>

#include "basic/sberrors.h"
#include "basic/sbops.h"
#include "macrotest.h"

namespace {

TEST(Executor, CycleLimitCountsTheLoopTestOnceMore) {
  TMacro m;
  EXPECT_EQ(m.Run("INTEGER I, N\nFOR I = 1 TO 9999\nN = N + 1\nNEXT I\nOUT(N)"), "9999");
  EXPECT_EQ(m.Run("INTEGER I, N\nFOR I = 1 TO 10000\nN = N + 1\nNEXT I\nOUT(N)"), "run 310");
  EXPECT_EQ(m.Basic.Code().Error.ErrorLine, 1);  // the FOR test
  m.Basic.SetMax_Count(100000);
  EXPECT_EQ(m.Run("INTEGER I, N\nFOR I = 1 TO 10000\nN = N + 1\nNEXT I\nOUT(N)"), "10000");
}

TEST(Executor, ReportFormat) {
  TSBasic b;
  TSBCodeList& code = b.Code();
  EXPECT_EQ(code.ErrorReport(), "");
  code.Error.ErrorCode = 306;
  code.Error.ErrorIP = 5;
  code.Error.ErrorLine = 0;
  EXPECT_EQ(code.ErrorReport(), " Run time error :306  IP:0005   Line:0001.  Invalid pointer");
  code.Error.ErrorCode = 310;
  code.Error.ErrorIP = 42;
  code.Error.ErrorLine = 11;
  EXPECT_EQ(code.ErrorReport(), " Run time error :310  IP:0042   Line:0012.  Too many cycles");
}

TEST(Executor, QuiteAtPositionZeroEndsTheRun) {
  TSBasic b;
  TSBCodeList& code = b.Code();
  const int v = code.AddVariable("X", 1, false, btInteger);
  TSBCode quite;
  quite.Op.Kind = skQuite;
  code.AddCode(quite);
  TSBCode load;
  load.Op.Kind = skLoadNumber;
  load.A.Value = 5;
  load.Dest = TSBReg(skIdent, v, -1);
  load.Dest.TypeCode = tcInteger;
  code.AddCode(load);
  code.Link();
  EXPECT_EQ(code.Run().ErrorCode, 0);
  EXPECT_EQ(code.Variables[v]->GetInt(0), 0);
  EXPECT_EQ(code.Codes[0].RunCount, 1);
  EXPECT_EQ(code.Codes[1].RunCount, 0);
}

TEST(Executor, IndexOutsideTheArray) {
  for (const char* index : {"-1", "3"}) {
    TMacro m;
    const std::string program = std::string("INTEGER A[3]\nINTEGER I\nI = ") + index + "\nX = 1\nA[I] = 1";
    EXPECT_EQ(m.Run(program), "run 307") << index;
    const TSBErrorRecord& e = m.Basic.Code().Error;
    EXPECT_EQ(e.ErrorLine, 4);
    const TSBCode& failing = m.Basic.Code().Codes[e.ErrorIP];
    EXPECT_EQ(failing.Op.Kind, skIndexStep);
    EXPECT_NE(m.Message().find("Range check error"), std::string::npos);
  }
  TMacro m;
  EXPECT_EQ(m.Run("INTEGER A[3]\nA[2] = 4\nOUT(A[2])"), "4");
}

TEST(Executor, ZeroStepEndsWithAnError) {
  TMacro m;
  EXPECT_EQ(m.Run("INTEGER I\nFOR I = 1 TO 5 STEP 0\nNEXT I"), "run 311");
  EXPECT_NE(m.Message().find("FOR loop with a step of 0"), std::string::npos) << m.Message();
  EXPECT_EQ(m.Run("INTEGER I\nFOR I = 1 TO 5 STEP 0.4\nNEXT I"), "run 311");
  // A loop that is never entered does not care about its step.
  EXPECT_EQ(m.Run("INTEGER I\nFOR I = 5 TO 1 STEP 0\nNEXT I\nOUT(I)"), "5");
}

TEST(Executor, InvalidDatesEndTheRunWithAnError) {
  TMacro m;
  EXPECT_EQ(m.Run("DATE D\nD = ENCODEDATE(2023, 2, 29)\nOUT(1)"), "run 302");
  EXPECT_EQ(m.Message(), " Run time error :302  IP:0003   Line:0002.  Invalid parameter");
  EXPECT_EQ(m.Run("DATE D\nD = STRTODATE(\"31/02/2023\")"), "run 302");
  EXPECT_EQ(m.Run("DATE D\nD = STRTODATE(\"tomorrow\")"), "run 302");
  EXPECT_EQ(m.Run("DATE D\nD = ENCODEDATE(9999, 12, 31) + 1"), "run 301");
  // 28 February 1900 is day 693668; the next day number is the 29th, which the calendar lacks.
  EXPECT_EQ(m.Run("DATE D\nINTEGER N\nN = 693669\nD = N"), "run 301");
}

// Each run of a FUNCTION counts its entries from 0, so the cycle limit bounds what one call does, not the
// whole recursion: FIB(20) (21,891 calls) runs under the default limit, and a recursion 5,000 deep runs
// to its result. Recursion beyond the depth limit ends with its own error instead of exhausting the machine.
TEST(Executor, EachCallCountsItsOwnEntries) {
  TMacro m;
  EXPECT_EQ(m.Run("FUNCTION FIB(N AS INTEGER) AS INTEGER\n IF N < 2 THEN\n  FIB = N\n ELSE\n"
                  "  FIB = FIB(N - 1) + FIB(N - 2)\n END IF\nEND FUNCTION\nOUT(FIB(20))"),
            "6765");
  EXPECT_EQ(m.Run("FUNCTION D(N AS INTEGER) AS INTEGER\n IF N > 0 THEN\n  D = D(N - 1) + 1\n END IF\nEND FUNCTION\n"
                  "OUT(D(5000))"),
            "5000");
  // The calls of one run are bounded by 100 times the cycle limit: a recursion that branches 2^40 times ends
  // with "Too many cycles" after a million calls.
  EXPECT_EQ(m.Run("FUNCTION T(N AS INTEGER) AS INTEGER\n IF N < 40 THEN\n  T = T(N + 1) + T(N + 1)\n END IF\n"
                  "END FUNCTION\nT(0)"),
            "run 310");
  // Arguments read from the list entered again: the second argument is the first parameter, bound before it.
  EXPECT_EQ(m.Run("FUNCTION P(A AS INTEGER, B AS INTEGER) AS INTEGER\n IF A > 0 THEN\n  P = P(B - 1, A)\n ELSE\n"
                  "  P = B\n END IF\nEND FUNCTION\nOUT(P(3, 5))"),
            "2");
}

TEST(Executor, RunawayRecursionEndsWithItsOwnError) {
  const struct {
    const char* Case;
    const char* Program;
  } cases[] = {
      {"depth", "FUNCTION R(N AS INTEGER) AS INTEGER\n R = R(N + 1)\nEND FUNCTION\nOUT(R(0))"},
      // 8 kB of locals kept per call reach the byte limit of the kept frames before the depth limit.
      {"kept bytes", "FUNCTION R(N AS INTEGER) AS INTEGER\n DOUBLE A[1000]\n A[999] = N\n R = R(N + 1)\n"
                     "END FUNCTION\nOUT(R(0))"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    TMacro m;
    m.Basic.SetMax_Count(1000000);
    EXPECT_EQ(m.Run(c.Program), "run 312");
    EXPECT_NE(m.Message().find("Recursion too deep"), std::string::npos) << m.Message();
    EXPECT_EQ(m.Message().find(" Run time error :312  IP:"), 0u) << m.Message();
    // Nothing is left running: the component compiles and runs again.
    EXPECT_EQ(m.Run("OUT(1)"), "1");
  }
}

// A host function that raises deep in a recursion unwinds the run: the lists left running are counted
// out and get their outer state back, so the next run starts clean and recursion works again.
TEST(Executor, HostFunctionRaisingInARecursionLeavesNothingRunning) {
  TMacro m;
  bool raise = true;
  m.Basic.AddFunction("BOOM", [&raise](TSBCodeList& l, TSBResultCell&) {
    if (raise && GetArgInt(l, 0) == 0) throw Exception("boom");
  }, '1', 1);
  ASSERT_EQ(m.Compile("FUNCTION R(N AS INTEGER) AS INTEGER\n INTEGER K\n K = N\n BOOM(N)\n IF N > 0 THEN\n"
                      "  R = R(N - 1) + K\n ELSE\n  R = 0\n END IF\nEND FUNCTION\nOUT(R(3))\nOUT(R(4))"),
            0);
  EXPECT_THROW(m.Basic.Run(), Exception);
  EXPECT_EQ(m.Basic.Code().RunDepth, 0);
  raise = false;
  m.Out.clear();
  EXPECT_EQ(m.Basic.Run(), 0);
  EXPECT_EQ(Joined(m.Out), "6|10");
}

// Both by-reference parameters of a call are bound from the arguments as they were before the call, also when
// the arguments are the same list's parameters in swapped order.
TEST(Executor, ByRefArgumentsSwappedThroughRecursion) {
  TMacro m;
  EXPECT_EQ(m.Run("FUNCTION S(BYREF A AS INTEGER, BYREF B AS INTEGER, N AS INTEGER) AS INTEGER\n IF N > 0 THEN\n"
                  "  S(B, A, N - 1)\n ELSE\n  A = A * 10 + 1\n  B = B * 10 + 2\n END IF\nEND FUNCTION\n"
                  "INTEGER X, Y\nS(X, Y, 1)\nOUT(X)\nOUT(Y)"),
            "2|1");
}

// A loop's start, limit and step, and a SELECT's selector, belong to the run of the function that holds them:
// a recursive call inside FOR runs as many times as written at every level (4 x 4 calls, as with DO WHILE).
TEST(Executor, LoopBoundsBelongToTheirCall) {
  const struct {
    const char* Case;
    const char* Program;
    const char* Expected;
  } cases[] = {
      {"FOR", "FUNCTION R(D AS INTEGER) AS INTEGER\n INTEGER I, K\n K = 0\n FOR I = 1 TO 4\n  K = K + 1\n"
              "  IF D < 1 THEN\n   K = K + R(D + 1)\n  END IF\n NEXT I\n R = K\nEND FUNCTION\nOUT(R(0))",
       "20"},
      {"FOR STEP", "FUNCTION R(D AS INTEGER) AS INTEGER\n INTEGER I, K\n K = 0\n FOR I = 10 TO D STEP -3 - D\n"
                   "  K = K + 1\n  IF D < 2 THEN\n   K = K + R(D + 1)\n  END IF\n NEXT I\n R = K\nEND FUNCTION\n"
                   "OUT(R(0))",
       "40"},
      {"DO WHILE", "FUNCTION R(D AS INTEGER) AS INTEGER\n INTEGER I, K\n I = 0\n K = 0\n DO WHILE I < 4\n  I = I + 1\n"
                   "  K = K + 1\n  IF D < 1 THEN\n   K = K + R(D + 1)\n  END IF\n LOOP\n R = K\nEND FUNCTION\n"
                   "OUT(R(0))",
       "20"},
      {"SELECT", "FUNCTION S(D AS INTEGER) AS INTEGER\n SELECT CASE D\n CASE 0\n  S(D + 1)\n  OUT(\"zero\")\n"
                 " CASE 1\n  OUT(\"one\")\n END SELECT\nEND FUNCTION\nS(0)",
       "one|zero"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    TMacro m;
    EXPECT_EQ(m.Run(c.Program), c.Expected);
  }
}

TEST(Executor, LoopAroundARecursiveCallStillHitsTheLimit) {
  TMacro m;
  m.Basic.SetMax_Count(50);
  EXPECT_EQ(m.Run("FUNCTION F(N AS INTEGER) AS INTEGER\n IF N > 0 THEN\n  DO\n   X = F(N - 1)\n  LOOP\n END IF\n"
                  "END FUNCTION\nF(1)"),
            "run 310");
}

TEST(Executor, ErrorInAFunctionStopsTheCaller) {
  TMacro m;
  EXPECT_EQ(m.Run("FUNCTION BAD(N AS INTEGER) AS INTEGER\n INTEGER A[2]\n A[N] = 1\nEND FUNCTION\nOUT(1)\nBAD(5)\n"
                  "OUT(2)"),
            "run 307");
  EXPECT_EQ(Joined(m.Out), "1");
  EXPECT_EQ(m.Basic.Code().Error.ErrorLine, 2);  // the line inside the function
}

TEST(Executor, ByRefParameterThroughRecursion) {
  TMacro m;
  EXPECT_EQ(m.Run("FUNCTION G(BYREF T AS INTEGER, N AS INTEGER) AS INTEGER\n INTEGER L\n IF N > 0 THEN\n"
                  "  L = 0\n  G(L, N - 1)\n  T = T + L + 1\n ELSE\n  T = 5\n END IF\nEND FUNCTION\n"
                  "INTEGER S\nG(S, 2)\nOUT(S)"),
            "7");
  EXPECT_EQ(m.Run("FUNCTION ACC(BYREF T AS INTEGER, N AS INTEGER) AS INTEGER\n IF N > 0 THEN\n  T = T + N\n"
                  "  ACC(T, N - 1)\n  T = T + 0\n END IF\nEND FUNCTION\nINTEGER S\nACC(S, 4)\nOUT(S)"),
            "10");
}

TEST(Executor, ByRefUserTypeMustBeTheSameType) {
  TMacro m;
  EXPECT_EQ(m.Compile("CLASS A\n INTEGER X\nEND CLASS\nCLASS B\n DOUBLE Y[10]\nEND CLASS\n"
                      "FUNCTION F(BYREF P AS B) AS INTEGER\n P.Y[9] = 1\nEND FUNCTION\nA V\nF(V)"),
            sbeByRefType);
  EXPECT_EQ(m.Run("CLASS B\n DOUBLE Y[10]\nEND CLASS\nFUNCTION F(BYREF P AS B) AS INTEGER\n P.Y[9] = 1\n"
                  "END FUNCTION\nB V\nF(V)\nOUT(V.Y[9])"),
            "1");
}

TEST(Executor, AssigningUnlikeUserTypesCopiesTheSmallerSize) {
  TMacro m;
  EXPECT_EQ(m.Run("CLASS SMALL\n INTEGER X\nEND CLASS\nCLASS BIG\n INTEGER X\n STRING S[4]\nEND CLASS\n"
                  "SMALL A\nBIG B\nB.X = 3\nB.S[3] = \"tail\"\nA = B\nOUT(A.X)\nA.X = 9\nB = A\nOUT(B.X)\nOUT(B.S[3])"),
            "3|9|tail");
}

TEST(Executor, HostFunctionWithoutResultStoresNothing) {
  TSBasic b;
  b.AddFunction("NOP", [](TSBCodeList&, TSBResultCell&) {}, tcInteger, 0);
  TSBCodeList& code = b.Code();
  const int nop = static_cast<int>(b.FunctionList().size()) - 1;
  TSBCode call;
  call.Op.Kind = skCall;
  call.Op.Value = nop;
  call.Dest = TSBReg(skRegister, 0, -1);
  call.Dest.TypeCode = tcInteger;
  code.AddCode(call);
  code.Link();
  code.Registers[0]->SetType(TypeAt(b.TypeList(), btInteger), 1);
  code.Registers[0]->SetInt(0, 42);
  EXPECT_EQ(code.Run().ErrorCode, 0);
  EXPECT_EQ(code.Registers[0]->GetInt(0), 42);
}

TEST(Executor, OperandWithoutVariableIsAnInvalidPointer) {
  TSBasic b;
  TSBCodeList& code = b.Code();
  TSBCode assign;
  assign.Op.Kind = skAssign;
  assign.A = TSBReg(skIdent, 7, -1);  // there is no variable 7
  assign.A.TypeCode = tcInteger;
  assign.Dest = TSBReg(skRegister, 0, -1);
  assign.Dest.TypeCode = tcInteger;
  code.AddCode(assign);
  code.Link();
  const TSBErrorRecord e = code.Run();
  EXPECT_EQ(e.ErrorCode, sbeInvalidPointer);
  EXPECT_EQ(e.ErrorIP, 0);
}

TEST(Executor, OperandOutsideItsVariableIsARangeError) {
  // An operand claiming a string in a 4-byte integer is refused, not read past.
  TSBasic b;
  TSBCodeList& code = b.Code();
  const int v = code.AddVariable("I", 1, false, btInteger);
  TSBCode assign;
  assign.Op.Kind = skAssign;
  assign.A = TSBReg(skIdent, v, -1);
  assign.A.TypeCode = tcString;
  assign.Dest = TSBReg(skRegister, 0, -1);
  assign.Dest.TypeCode = tcString;
  code.AddCode(assign);
  code.Link();
  EXPECT_EQ(code.Run().ErrorCode, sbeIndexRange);
}

}  // namespace
