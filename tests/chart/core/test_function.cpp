// The function base: whole-range results, periods of points and of X range,
// alignments, moving windows and several sources.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/core/testseries.h"

namespace {

struct TFunctionScene {
  explicit TFunctionScene(TGrafFunction* function, std::vector<double> xs, std::vector<double> ys = {}) {
    chart = std::make_unique<TTestChart>(nullptr, 400, 250, false);
    source = new TTestSeries(chart.get());
    source->SetName("Source");
    source->SetParentChart(chart.get());
    for (size_t i = 0; i < xs.size(); ++i) source->AddXYPoint(xs[i], ys.empty() ? xs[i] : ys[i]);
    result = new TTestSeries(chart.get());
    result->SetName("Result");
    result->SetParentChart(chart.get());
    result->SetFunctionType(function);
    result->SetDataSource(source);
  }
  std::vector<std::pair<double, double>> Points() const {
    std::vector<std::pair<double, double>> p;
    for (int i = 0; i < result->PointCount(); ++i) p.push_back({result->XValueAt(i), result->YValueAt(i)});
    return p;
  }
  std::unique_ptr<TTestChart> chart;
  TTestSeries* source;
  TTestSeries* result;
};

using Points = std::vector<std::pair<double, double>>;

TEST(Functions, MovingWindowOfThree) {
  auto* f = new TTestMovingAverage(nullptr);
  f->SetPeriod(3);
  TFunctionScene s(f, {1, 2, 3, 4, 5});
  EXPECT_EQ(s.Points(), (Points{{3, 2}, {4, 3}, {5, 4}}));
  EXPECT_FALSE(s.result->ManualData);
  f->SetPeriod(6);  // fewer points than the window
  EXPECT_TRUE(s.Points().empty());
  f->SetPeriod(0.3);  // rounds below one: one point per window
  EXPECT_EQ(s.Points().size(), 5u);
  for (double longer : {3e9, 1e19, static_cast<double>(INFINITY)}) {  // far longer than the source
    f->SetPeriod(longer);
    EXPECT_TRUE(s.Points().empty()) << longer;
  }
}

TEST(Functions, PeriodsOfPointsDropAShortLastPeriod) {
  auto* f = new TTestSumFunction(nullptr);
  f->SetPeriod(2);
  TFunctionScene s(f, {0, 1, 2, 3, 4}, {1, 2, 3, 4, 5});
  EXPECT_EQ(s.Points(), (Points{{0.5, 3}, {2.5, 7}}));
  f->SetPeriod(0.4);  // treated as one point
  EXPECT_EQ(s.Points().size(), 5u);
  for (double longer : {3e9, 1e19}) {  // one short period: nothing
    f->SetPeriod(longer);
    EXPECT_TRUE(s.Points().empty()) << longer;
  }
}

TEST(Functions, AlignmentOfAPeriod) {
  struct Case {
    TFunctionPeriodAlign align;
    double x;
  };
  const Case cases[] = {{paFirst, 10}, {paCenter, 15}, {paLast, 20}};
  for (const Case& c : cases) {
    auto* f = new TTestSumFunction(nullptr);
    f->SetPeriod(2);
    f->SetPeriodAlign(c.align);
    TFunctionScene s(f, {10, 20});
    ASSERT_EQ(s.result->PointCount(), 1) << c.align;
    EXPECT_EQ(s.result->XValueAt(0), c.x) << c.align;
  }
}

TEST(Functions, WholeRangeResultDependsOnTheParent) {
  auto* f = new TTestSumFunction(nullptr);
  TFunctionScene s(f, {2, 4, 10}, {1, 1, 1});
  EXPECT_EQ(s.Points(), (Points{{6, 3}}));  // one point in the middle
  s.result->SinglePointResults = false;
  f->Recompute();
  EXPECT_EQ(s.Points(), (Points{{2, 3}, {10, 3}}));  // a level line across
}

TEST(Functions, RangePeriodsAddZerosForEmptyRanges) {
  auto* f = new TTestSumFunction(nullptr);
  f->SetPeriodStyle(psRange);
  f->SetPeriodAlign(paFirst);
  f->SetPeriod(1);
  TFunctionScene s(f, {0, 0.5, 3.2}, {1, 2, 4});
  EXPECT_EQ(s.Points(), (Points{{0, 3}, {1, 0}, {2, 0}, {3, 4}}));
}

TEST(Functions, RangePeriodBelowTheResolutionOfXStillAdvances) {
  auto* f = new TTestSumFunction(nullptr);
  f->SetPeriodStyle(psRange);
  f->SetPeriod(0.5);
  const double big = 1e16;  // neighbouring doubles are 2 apart here
  TFunctionScene s(f, {big, big + 2, big + 4}, {1, 2, 3});
  ASSERT_GE(s.result->PointCount(), 3);
  double total = 0;
  for (auto [x, y] : s.Points()) total += y;
  EXPECT_EQ(total, 6);
}

TEST(Functions, SeveralSourcesFollowTheLongest) {
  TTestChart chart(nullptr, 400, 250, false);
  auto* a = new TTestSeries(&chart);
  auto* b = new TTestSeries(&chart);
  auto* sum = new TTestSeries(&chart);
  for (TTestSeries* s : {a, b, sum}) s->SetParentChart(&chart);
  for (int i = 0; i < 3; ++i) a->AddXYPoint(i, 1);
  for (int i = 0; i < 5; ++i) b->AddXYPoint(10 + i, 10);
  sum->SetFunctionType(new TTestSumFunction(nullptr));
  sum->SetDataSource(a);
  sum->DataSources()->AddSource(b);
  ASSERT_EQ(sum->PointCount(), 5);
  EXPECT_EQ(sum->XValueAt(0), 10);
  EXPECT_EQ(sum->YValueAt(0), 11);
  EXPECT_EQ(sum->YValueAt(4), 10);
}

TEST(Functions, PeriodChecksAndRecalculation) {
  auto* f = new TTestSumFunction(nullptr);
  TFunctionScene s(f, {1, 2}, {3, 4});
  try {
    f->SetPeriod(-1);
    FAIL();
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Function Period should be >= 0");
  }
  EXPECT_THROW(f->SetPeriod(NAN), ChartException);
  EXPECT_EQ(f->Period(), 0);
  s.source->AddXYPoint(3, 5);  // single adds do not reach a function's parent
  EXPECT_EQ(s.Points(), (Points{{1.5, 7}}));
  s.source->YValues()->SetValue(0, 10);  // a modification recalculates
  EXPECT_EQ(s.Points(), (Points{{2, 19}}));
  f->SuspendRecalc();
  f->SetPeriod(1);
  EXPECT_EQ(s.result->PointCount(), 1);
  f->ResumeRecalc();
  EXPECT_EQ(s.result->PointCount(), 3);
}

TEST(Functions, FreedWithTheirSeriesOrForgottenWhenFreedElsewhere) {
  auto* f = new TTestSumFunction(nullptr);
  TFunctionScene s(f, {1, 2});
  delete f;
  EXPECT_EQ(s.result->FunctionType(), nullptr);
  auto* g = new TTestSumFunction(nullptr);
  s.result->SetFunctionType(g);
  EXPECT_EQ(g->ParentSeries(), s.result);
  delete s.result;  // frees g as well (checked by the sanitizer build)
}

}  // namespace
