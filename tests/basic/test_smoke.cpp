#include <gtest/gtest.h>

#include "macrotest.h"

TEST(Smoke, Basics) {
  TMacro m;
  EXPECT_EQ(m.Run("X = 1 + 2\nOUT(X)"), "3") << m.Message();
  EXPECT_EQ(m.Run("S = 0\nFOR I = 1 TO 10\nS = S + I\nNEXT I\nOUT(S)"), "55") << m.Message();
  EXPECT_EQ(m.Run("INTEGER A[5]\nA[2] = 7\nOUT(A[2] * 3)"), "21") << m.Message();
  EXPECT_EQ(m.Run("STRING S\nS = \"ab\" + 'cd'\nOUT(S)"), "abcd") << m.Message();
}
