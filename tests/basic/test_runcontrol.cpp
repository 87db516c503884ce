// What keeps a run in hand from outside: the host's poll and stop request,
// and the memory budget all values of an interpreter share.
#include <gtest/gtest.h>

#include "basic/sberrors.h"
#include "macrotest.h"

namespace {

// Nested loops through a function: far more steps than any counter allows
// one entry, none of them ever reaching a counter's limit.
const char* const kEndless =
    "FUNCTION INNER(N AS INTEGER) AS INTEGER\n"
    " INTEGER I\n"
    " FOR I = 1 TO N\n"
    "  INNER = INNER + 1\n"
    " NEXT I\n"
    "END FUNCTION\n"
    "INTEGER J, K\n"
    "FOR J = 1 TO 9000\n"
    " FOR K = 1 TO 9000\n"
    "  INNER(9000)\n"
    " NEXT K\n"
    "NEXT J\n"
    "OUT(\"done\")";

TEST(RunControl, AStopEndsAnEndlessRunBeforeItsNextEntry) {
  struct {
    const char* Name;
    bool FromHostFunction;
  } cases[] = {{"poll", false}, {"host function", true}};
  for (const auto& c : cases) {
    TMacro m;
    m.Basic.SetMax_Count(100000);
    int polls = 0;
    m.Basic.SetPollInterval(0);  // every look at the clock polls
    m.Basic.SetOnPoll([&] {
      if (++polls == 3 && !c.FromHostFunction) m.Basic.Stop();
    });
    m.Basic.AddFunction(
        "HALT", [&](TSBCodeList&, TSBResultCell&) { m.Basic.Stop(); }, '1', 0);
    const std::string program = c.FromHostFunction ? std::string("INTEGER I\nI = 1\nHALT()\nOUT(I)\nOUT(2)") : kEndless;
    EXPECT_EQ(m.Run(program), "run " + std::to_string(sbeStopped)) << c.Name;
    EXPECT_NE(m.Message().find("Stopped"), std::string::npos) << m.Message();
    if (c.FromHostFunction) {
      // The statement that asked for the stop ended; the next did not run.
      EXPECT_TRUE(m.Out.empty());
      EXPECT_NE(m.Message().find("Line:0004"), std::string::npos) << m.Message();
    } else {
      EXPECT_EQ(polls, 3);
    }
    // The next run starts afresh.
    EXPECT_EQ(m.Run("OUT(1)"), "1") << c.Name;
  }
}

TEST(RunControl, PollsComeAtTheIntervalAndNotBetween) {
  TMacro m;
  m.Basic.SetMax_Count(1000000);
  int polls = 0;
  m.Basic.SetOnPoll([&] { ++polls; });
  m.Basic.SetPollInterval(60000);  // none within this short run
  EXPECT_EQ(m.Run("INTEGER I\nFOR I = 1 TO 100000\nNEXT I\nOUT(I)"), "100001");
  EXPECT_EQ(polls, 0);
  m.Basic.Stop();  // nothing runs: nothing to stop, and the next run is not stopped
  EXPECT_EQ(m.Run("OUT(2)"), "2");
}

// A class of 256 KB: a thousand strings.
const char* const kBig = "CLASS BIG\nSTRING S[1000]\nEND CLASS\n";

TEST(RunControl, AllValuesShareOneMemoryBudget) {
  TMacro m;
  m.Basic.SetMax_Dimension(10000);
  m.Basic.SetMax_Memory(8 << 20);
  // Each array is far below the limit of one variable; together they pass the budget.
  EXPECT_EQ(m.Compile(std::string(kBig) + "BIG A[10]\nBIG B[10]\nBIG C[10]\nBIG D[10]\nOUT(1)"), sbeOutOfMemory);
  EXPECT_NE(m.Message().find("Out of macro memory"), std::string::npos) << m.Message();
  EXPECT_NE(m.Message().find("Line:0007"), std::string::npos) << m.Message();
  EXPECT_LT(m.Basic.MemoryUsed(), 1 << 20);  // the failed compile freed its values

  // Copies made while running count too: a recursion that passes a large
  // value stops at the budget, well before the recursion's own limits.
  const std::string recursion = std::string(kBig) +
                                "FUNCTION F(N AS INTEGER, X AS BIG) AS INTEGER\n"
                                " IF N > 0 THEN\n"
                                "  F = F(N - 1, X) + 1\n"
                                " END IF\n"
                                "END FUNCTION\n"
                                "BIG A\n"
                                "OUT(F(40, A))";
  EXPECT_EQ(m.Run(recursion), "run " + std::to_string(sbeOutOfMemory));
  m.Basic.SetMax_Memory(MaxRunMemory);
  EXPECT_EQ(m.Run(recursion), "40");

  // A run's values are freed when the host clears the interpreter.
  EXPECT_GT(m.Basic.MemoryUsed(), 256 << 10);
  m.Basic.Clear();
  EXPECT_EQ(m.Basic.MemoryUsed(), 0);
  EXPECT_EQ(m.Run("OUT(3)"), "3");
}

}  // namespace
