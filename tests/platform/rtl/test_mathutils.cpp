#include "platform/rtl/mathutils.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "platform/rtl/exceptions.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(MathUtils, RoundingFunctions) {
  struct Case {
    double x;
    int64_t round, trunc;
    int ceil, floor;
  } cases[] = {
      {2.5, 2, 2, 3, 2},     {3.5, 4, 3, 4, 3},      {-2.5, -2, -2, -2, -3}, {-3.5, -4, -3, -3, -4},
      {0.5, 0, 0, 1, 0},     {1.5, 2, 1, 2, 1},      {-0.5, 0, 0, 0, -1},    {2.4999, 2, 2, 3, 2},
      {2.5001, 3, 2, 3, 2},  {-2.7, -3, -2, -2, -3}, {-2.2, -2, -2, -2, -3}, {0.0, 0, 0, 0, 0},
      {7.0, 7, 7, 7, 7},     {1e15 + 0.5, 1000000000000000, 1000000000000000, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Round(c.x), c.round) << c.x;
    EXPECT_EQ(Trunc(c.x), c.trunc) << c.x;
    if (std::fabs(c.x) < 1e9) {
      EXPECT_EQ(Ceil(c.x), c.ceil) << c.x;
      EXPECT_EQ(Floor(c.x), c.floor) << c.x;
    }
  }
  EXPECT_EQ(Round(4503599627370497.0), 4503599627370497);  // 2^52 + 1 stays exact
  EXPECT_EQ(Round(-9223372036854775808.0), INT64_MIN);
}

TEST(MathUtils, RoundingRaisesWhenTheResultDoesNotFit) {
  for (double x : {kNaN, kInf, -kInf, 1e19, -1e19, 9223372036854775808.0}) {
    EXPECT_THROW(Round(x), EInvalidOp) << x;
    EXPECT_THROW(Trunc(x), EInvalidOp) << x;
  }
  for (double x : {kNaN, kInf, 3e9, -3e9, 2147483648.0}) {
    EXPECT_THROW(Ceil(x), EInvalidOp) << x;
    EXPECT_THROW(Floor(x), EInvalidOp) << x;
  }
  EXPECT_EQ(Floor(-2147483648.0), INT_MIN);
  EXPECT_EQ(Ceil(2147483646.5), INT_MAX);
}

TEST(MathUtils, IntAndFracKeepTheSign) {
  EXPECT_EQ(Int(-2.7), -2.0);
  EXPECT_EQ(Int(2.7), 2.0);
  EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
  EXPECT_DOUBLE_EQ(Frac(2.75), 0.75);
  EXPECT_EQ(Frac(5.0), 0.0);
}

TEST(MathUtils, MulDivRoundsHalfAwayFromZero) {
  struct Case {
    int a, b, c, expected;
  } cases[] = {
      {5, 3, 2, 8},       {-5, 3, 2, -8},      {5, -3, 2, -8},        {5, 3, -2, -8},  {-5, -3, -2, -8},
      {7, 1, 3, 2},       {8, 1, 3, 3},        {-8, 1, 3, -3},        {1, 1, 0, -1},   {0, 5, 7, 0},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},    {100000, 100000, 1000, 10000000},
      {INT_MAX, 2, 1, -1},  // does not fit
      {INT_MIN, 1, -1, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(MathUtils, RandomRepeatsForTheSameSeedAndStaysInRange) {
  RandSeed = 12345;
  std::vector<int> first;
  for (int i = 0; i < 50; ++i) first.push_back(Random(1000));
  RandSeed = 12345;
  for (int i = 0; i < 50; ++i) EXPECT_EQ(Random(1000), first[static_cast<size_t>(i)]);

  std::set<int> seen;
  for (int i = 0; i < 2000; ++i) {
    const int r = Random(10);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 10);
    seen.insert(r);
    const double d = Random();
    ASSERT_GE(d, 0.0);
    ASSERT_LT(d, 1.0);
  }
  EXPECT_EQ(seen.size(), 10u);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
  EXPECT_EQ(Random(1), 0);
}

TEST(MathUtils, PowersAndLogarithms) {
  EXPECT_EQ(IntPower(2.0, 10), 1024.0);
  EXPECT_EQ(IntPower(2.0, -1), 0.5);
  EXPECT_EQ(IntPower(-3.0, 3), -27.0);
  EXPECT_EQ(IntPower(5.0, 0), 1.0);
  EXPECT_EQ(IntPower(2.0, INT_MIN), 0.0);
  EXPECT_EQ(Power(2.0, 10.0), 1024.0);
  EXPECT_EQ(Power(2.0, -1.0), 0.5);
  EXPECT_EQ(Power(-2.0, 3.0), -8.0);
  EXPECT_EQ(Power(0.0, 0.0), 1.0);
  EXPECT_EQ(Power(0.0, 0.5), 0.0);
  EXPECT_DOUBLE_EQ(Power(4.0, 0.5), 2.0);
  EXPECT_TRUE(std::isnan(Power(-8.0, 1.0 / 3.0)));
  EXPECT_EQ(LogN(2.0, 8.0), 3.0);
  EXPECT_EQ(Log2(1024.0), 10.0);
  EXPECT_EQ(Log10(1000.0), 3.0);
  EXPECT_DOUBLE_EQ(LogN(10.0, 100.0), 2.0);
}

TEST(MathUtils, SignsAndBounds) {
  EXPECT_EQ(Sign(-5), -1);
  EXPECT_EQ(Sign(0), 0);
  EXPECT_EQ(Sign(int64_t{7}), 1);
  EXPECT_EQ(Sign(-0.5), -1);
  EXPECT_EQ(Sign(0.0), 0);
  EXPECT_EQ(Min(3, -2), -2);
  EXPECT_EQ(Max(3, -2), 3);
  EXPECT_EQ(Min(int64_t{1} << 40, int64_t{5}), 5);
  EXPECT_EQ(Max(1.5, 2.5), 2.5);
  EXPECT_TRUE(IsNan(kNaN));
  EXPECT_FALSE(IsNan(kInf));
  EXPECT_TRUE(IsInfinite(-kInf));
  EXPECT_FALSE(IsInfinite(DBL_MAX));
}

TEST(MathUtils, SameValueUsesRelativeToleranceByDefault) {
  struct Case {
    double a, b, eps;
    bool expected;
  } cases[] = {
      {1.0, 1.0 + 1e-13, 0, true},  {1.0, 1.0 + 1e-11, 0, false}, {1e6, 1e6 + 1e-7, 0, true},
      {0.0, 1e-13, 0, true},        {0.0, 1e-11, 0, false},       {1.0, 1.1, 0.2, true},
      {1.0, 1.3, 0.2, false},       {-1.0, 1.0, 0, false},
  };
  for (const Case& c : cases) EXPECT_EQ(SameValue(c.a, c.b, c.eps), c.expected) << c.a << " " << c.b;
}

TEST(MathUtils, SingleRangeIsCheckedExplicitly) {
  EXPECT_TRUE(SingleFits(FLT_MAX));
  EXPECT_TRUE(SingleFits(-FLT_MAX));
  EXPECT_TRUE(SingleFits(1e-50));  // underflow is no error
  EXPECT_TRUE(SingleFits(kInf));
  EXPECT_TRUE(SingleFits(kNaN));
  EXPECT_FALSE(SingleFits(1e39));
  EXPECT_FALSE(SingleFits(-1e39));
  EXPECT_EQ(ToSingle(0.1), 0.1f);
  EXPECT_THROW(ToSingle(1e39), EOverflow);
  try {
    ToSingle(-3.5e38);
    ADD_FAILURE() << "no exception";
  } catch (const EMathError& e) {
    EXPECT_EQ(e.Message(), "Floating point overflow");
  }
}

}  // namespace
