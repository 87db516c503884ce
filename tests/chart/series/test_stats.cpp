// Statistical functions: tables of source points and the points each
// function gives.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/series/grafstats.h"
#include "chart/series/series.h"

namespace {

using Values = std::vector<double>;

struct TStatsScene {
  // One source of (X[i], Y[i]) (X 0, 1, 2 ... when Xs is empty), and a line
  // series computed from it by the function.
  TStatsScene(TGrafFunction* function, const Values& ys, const Values& xs = {}) {
    chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, 400, 300);
    source = new TLineSeries(chart.get());
    source->SetParentChart(chart.get());
    for (size_t i = 0; i < ys.size(); ++i) source->AddXYPoint(xs.empty() ? static_cast<double>(i) : xs[i], ys[i]);
    result = new TLineSeries(chart.get());
    result->SetParentChart(chart.get());
    result->SetFunctionType(function);
    result->AttachSource(source);
    result->RefreshFromSource();
  }
  Values Ys() const {
    Values v;
    for (int i = 0; i < result->PointCount(); ++i) v.push_back(result->YValueAt(i));
    return v;
  }
  Values Xs() const {
    Values v;
    for (int i = 0; i < result->PointCount(); ++i) v.push_back(result->XValueAt(i));
    return v;
  }
  std::unique_ptr<TChart> chart;
  TLineSeries* source;
  TLineSeries* result;
};

template <class F>
TGrafFunction* Make(std::function<void(F*)> setup) {
  auto* f = new F;
  setup(f);
  return f;
}

struct TStatsCase {
  const char* name;
  std::function<TGrafFunction*()> make;
  Values ys, xs;
  Values expectedY, expectedX;  // expectedX empty: not checked
};

void ExpectNear(const Values& actual, const Values& expected, const char* what, const char* name) {
  ASSERT_EQ(actual.size(), expected.size()) << name << " " << what;
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-9) << name << " " << what << i;
}

TEST(StatisticsFunctions, TableOfSourcesAndResults) {
  const double e = std::exp(1.0);
  const TStatsCase cases[] = {
      {"moving average, period 3", [] { return Make<TMovingAverageFunction>([](auto* f) { f->SetPeriod(3); }); },
       {1, 2, 3, 4, 5}, {}, {2, 3, 4}, {2, 3, 4}},
      {"moving average weighted by index",
       [] {
         return Make<TMovingAverageFunction>([](auto* f) {
           f->SetPeriod(3);
           f->SetWeightedIndex(true);
         });
       },
       {1, 2, 3, 4, 5}, {}, {(1 + 4 + 9) / 6.0, (2 + 6 + 12) / 6.0, (3 + 8 + 15) / 6.0}, {2, 3, 4}},
      // Weighted by X takes precedence; X 1, 2, 3 weigh the values.
      {"moving average weighted by X",
       [] {
         return Make<TMovingAverageFunction>([](auto* f) {
           f->SetPeriod(3);
           f->SetWeighted(true);
           f->SetWeightedIndex(true);
         });
       },
       {3, 6, 9}, {1, 2, 3}, {(3 + 12 + 27) / 6.0}, {3}},
      // The previous source value enters, not the previous result.
      {"exponential average", [] { return Make<TExpAverageFunction>([](auto* f) { f->SetWeight(0.5); }); },
       {2, 4, 8}, {}, {2, 3, 6}, {0, 1, 2}},
      {"exponential moving average, period 3 (k = 0.5)", [] { return Make<TExpMovAveFunction>([](auto* f) { f->SetPeriod(3); }); },
       {2, 4, 8}, {10, 11, 12}, {2, 3, 5.5}, {10, 11, 12}},
      {"exponential moving average of one point", [] { return new TExpMovAveFunction; }, {5}, {}, {}, {}},
      {"momentum", [] { return Make<TMomentumFunction>([](auto* f) { f->SetPeriod(2); }); }, {1, 4, 9}, {}, {3, 5}, {1, 2}},
      {"momentum division by 0 gives 0", [] { return Make<TMomentumDivFunction>([](auto* f) { f->SetPeriod(2); }); },
       {0, 4, 8}, {}, {0, 200}, {}},
      {"performance against the first value", [] { return Make<TPerformanceFunction>([](auto* f) { f->SetPeriod(2); }); },
       {2, 3, 5}, {}, {50, 150}, {}},
      {"standard deviation, complete", [] { return Make<TStdDeviationFunction>([](auto* f) { f->SetComplete(true); }); },
       {2, 4, 4, 4, 5, 5, 7, 9}, {}, {2, 2}, {}},
      {"standard deviation, sample", [] { return new TStdDeviationFunction; },
       {2, 4, 4, 4, 5, 5, 7, 9}, {}, {std::sqrt(32.0 / 7), std::sqrt(32.0 / 7)}, {}},
      {"standard deviation of one point", [] { return new TStdDeviationFunction; }, {7}, {}, {0, 0}, {}},
      {"root mean square, complete", [] { return Make<TRMSFunction>([](auto* f) { f->SetComplete(true); }); },
       {3, 4}, {}, {std::sqrt(12.5), std::sqrt(12.5)}, {}},
      {"variance of 1..4", [] { return new TVarianceFunction; }, {1, 2, 3, 4}, {}, {1.25, 1.25}, {}},
      {"polynomial of 2 terms through y = 2x + 1",
       [] { return Make<TCurveFittingFunction>([](auto* f) { f->SetPolyDegree(2); }); },
       {1, 3, 5, 7}, {0, 1, 2, 3}, {1, 3, 5, 7}, {0, 1, 2, 3}},
      {"polynomial of 1 term is the mean",
       [] { return Make<TCurveFittingFunction>([](auto* f) { f->SetPolyDegree(1); }); },
       {1, 3, 5, 7}, {0, 1, 2, 3}, {4, 4, 4, 4}, {}},
      {"polynomial with factor 3 over 4 points gives 10",
       [] {
         return Make<TCurveFittingFunction>([](auto* f) {
           f->SetPolyDegree(2);
           f->SetFactor(3);
         });
       },
       {1, 7, 13, 19}, {0, 3, 6, 9}, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"fewer points than terms: nothing", [] { return new TCurveFittingFunction; }, {1, 2, 3}, {}, {}, {}},
      {"linear trend", [] { return new TTrendFunction; }, {1, 2, 2, 3}, {0, 1, 2, 3}, {1.1, 2.9}, {0, 3}},
      {"linear trend of one point: nothing", [] { return new TTrendFunction; }, {4}, {}, {}, {}},
      {"exponential trend is e^x", [] { return new TExpTrendFunction; }, {1, e, e * e}, {0, 1, 2}, {1, e * e}, {0, 2}},
      // The zero and the negative value take no part: 1, e^2 at 0, 2 remain.
      {"exponential trend skips values <= 0", [] { return new TExpTrendFunction; },
       {1, 0, e * e, -3}, {0, 1, 2, 3}, {1, e * e * e}, {0, 3}},
      {"exponential trend of one usable value: nothing", [] { return new TExpTrendFunction; }, {0, 5}, {}, {}, {}},
      {"correlation of a rising line", [] { return new TCorrelationFunction; }, {1, 3, 5}, {}, {1, 1}, {0, 2}},
      {"correlation of a falling line", [] { return new TCorrelationFunction; }, {5, 3, 1}, {}, {-1, -1}, {}},
      {"correlation of a flat line: nothing", [] { return new TCorrelationFunction; }, {2, 2, 2}, {}, {}, {}},
      {"correlation of one point: nothing", [] { return new TCorrelationFunction; }, {2}, {}, {}, {}},
      {"Douglas-Peucker on collinear points keeps 2", [] { return new TDownSamplingFunction; },
       {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}, {0, 4}, {0, 4}},
      {"Douglas-Peucker keeps the far corner", [] { return new TDownSamplingFunction; },
       {0, 0.1, 5, 0.1, 0}, {0, 1, 2, 3, 4}, {0, 5, 0}, {0, 2, 4}},
      {"dsAverage groups within the tolerance",
       [] { return Make<TDownSamplingFunction>([](auto* f) { f->SetDownSampleMethod(dsAverage); }); },
       {1, 2, 3, 10, 20}, {0, 0.5, 0.9, 1.0, 1.5}, {2, 15}, {0.45, 1.25}},
      {"dsMax", [] { return Make<TDownSamplingFunction>([](auto* f) { f->SetDownSampleMethod(dsMax); }); },
       {1, 2, 3, 10, 20}, {0, 0.5, 0.9, 1.0, 1.5}, {3, 20}, {0.45, 1.25}},
      {"dsMin", [] { return Make<TDownSamplingFunction>([](auto* f) { f->SetDownSampleMethod(dsMin); }); },
       {1, 2, 3, 10, 20}, {0, 0.5, 0.9, 1.0, 1.5}, {1, 10}, {0.45, 1.25}},
      {"dsMinMax keeps every single-point group",
       [] { return Make<TDownSamplingFunction>([](auto* f) { f->SetDownSampleMethod(dsMinMax); }); },
       {4, 5, 6, 7}, {0, 2, 4, 6}, {4, 4, 5, 5, 6, 6, 7, 7}, {0, 0, 2, 2, 4, 4, 6, 6}},
  };
  for (const TStatsCase& c : cases) {
    TStatsScene scene(c.make(), c.ys, c.xs);
    ExpectNear(scene.Ys(), c.expectedY, "y", c.name);
    if (!c.expectedX.empty()) ExpectNear(scene.Xs(), c.expectedX, "x", c.name);
  }
}

TEST(StatisticsFunctions, RefusedSettingsRaiseAndKeepTheOldValue) {
  auto* fit = new TCurveFittingFunction;
  TStatsScene scene(fit, {1, 2, 3, 4, 5, 6});
  for (int bad : {0, 21}) {
    try {
      fit->SetPolyDegree(bad);
      ADD_FAILURE() << bad;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Polynomial degree must be between 1 and 20");
    }
    EXPECT_EQ(fit->PolyDegree(), 5);
  }
  TExpAverageFunction average;
  EXPECT_THROW(average.SetWeight(1.5), Exception);
  EXPECT_DOUBLE_EQ(average.Weight(), 0.2);
  average.SetWeight(0);
  average.SetWeight(1);
  EXPECT_DOUBLE_EQ(average.Weight(), 1);
}

TEST(StatisticsFunctions, MovingAverageWithoutPeriodRaisesAnOrdinaryError) {
  auto* f = new TMovingAverageFunction;
  TStatsScene scene(f, {1, 2, 3});
  try {
    f->SetPeriod(0);
    ADD_FAILURE() << "no error";
  } catch (const EAssertionFailed&) {
    ADD_FAILURE() << "an assertion failure";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Period must be bigger than zero.");
  }
  EXPECT_EQ(scene.result->PointCount(), 0);
}

TEST(StatisticsFunctions, SingularFitRaisesAndLeavesNoCurve) {
  auto* fit = new TCurveFittingFunction;
  fit->SetPolyDegree(2);
  try {
    TStatsScene scene(fit, {1, 2, 3}, {4, 4, 4});
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot process fitting");
  }
}

TEST(StatisticsFunctions, DouglasPeuckerIsIterativeOverLongData) {
  // A convex, nearly straight curve of many points: every point is kept and
  // a recursive walk would nest once per point.
  const int n = 200000;
  std::vector<double> x(n), y(n);
  for (int i = 0; i < n; ++i) {
    x[i] = i;
    y[i] = 1e-3 * static_cast<double>(i) * i;
  }
  const std::vector<int> kept = DouglasPeucker(x, y, 0);
  EXPECT_EQ(kept.size(), static_cast<size_t>(n));
  EXPECT_EQ(kept.front(), 0);
  EXPECT_EQ(kept.back(), n - 1);
}

TEST(StatisticsFunctions, BollingerBandsAndCrossPoints) {
  // Period 10 over 12 points: three points per band at the X of points 9..11.
  auto* bands = new TBollingerFunction;
  bands->SetExponential(false);
  Values ys;
  for (int i = 0; i < 12; ++i) ys.push_back(i % 2 ? 3 : 1);
  TStatsScene scene(bands, ys);
  ExpectNear(scene.Xs(), {9, 10, 11}, "upper x", "bollinger");
  // Mean 2, population deviation 1: 2 +- 2.
  ExpectNear(scene.Ys(), {4, 4, 4}, "upper y", "bollinger");
  TChartSeries* low = bands->LowBand();
  ASSERT_NE(low, nullptr);
  ASSERT_EQ(low->PointCount(), 3);
  EXPECT_DOUBLE_EQ(low->YValueAt(0), 0);
  EXPECT_FALSE(low->ShowInLegend());

  // Two crossing lines cross once; with only one source nothing comes.
  auto* cross = new TCrossPointsFunction;
  TStatsScene one(cross, {0, 2});
  EXPECT_EQ(one.result->PointCount(), 0);
  auto* second = new TLineSeries(one.chart.get());
  second->SetParentChart(one.chart.get());
  second->AddXYPoint(0, 2);
  second->AddXYPoint(1, 0);
  one.result->AttachSource(second);
  one.result->RefreshFromSource();
  ASSERT_EQ(one.result->PointCount(), 1);
  EXPECT_DOUBLE_EQ(one.result->XValueAt(0), 0.5);
  EXPECT_DOUBLE_EQ(one.result->YValueAt(0), 1);
}

TEST(StatisticsFunctions, RegisteredOnTheirGalleryPages) {
  RegisterStatisticsFunctionTypes();
  auto pageOf = [](TClass f) -> std::string {
    for (int i = 0; i < SeriesTypeRegistry()->Count(); ++i)
      if (SeriesTypeRegistry()->TypeAt(i)->FunctionClass == f) return *SeriesTypeRegistry()->TypeAt(i)->GalleryPage;
    return "";
  };
  EXPECT_EQ(pageOf(&TBollingerFunction::StaticClass()), "Financial");
  EXPECT_EQ(pageOf(&TDownSamplingFunction::StaticClass()), "Extended");
}

}  // namespace

namespace {

TEST(StatisticsFunctions, PerimeterClosesTheHullOfThePointsOnScreen) {
  // The axes are laid out by the function itself when the chart was never drawn.
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 400, 300);
  chart.SetView3D(false);
  auto* source = new TPointSeries(&chart);
  source->SetParentChart(&chart);
  for (auto [x, y] : {std::pair{0.0, 0.0}, {10.0, 0.0}, {5.0, 8.0}, {5.0, 3.0}}) source->AddXYPoint(x, y);
  auto* hull = new TLineSeries(&chart);
  hull->SetParentChart(&chart);
  hull->SetFunctionType(new TPerimeterFunction);
  hull->AttachSource(source);
  hull->RefreshFromSource();
  // The inner point is dropped; the outline ends where it began.
  ASSERT_EQ(hull->PointCount(), 4);
  EXPECT_EQ(hull->XValueAt(0), hull->XValueAt(3));
  EXPECT_EQ(hull->YValueAt(0), hull->YValueAt(3));
  const double tolerance = 0.1;  // one pixel back to values
  for (int i = 0; i < 3; ++i) EXPECT_GT(std::fabs(hull->YValueAt(i) - 3) , tolerance) << i;
  double top = -1;
  for (int i = 0; i < 4; ++i) top = std::max(top, hull->YValueAt(i));
  EXPECT_NEAR(top, 8, tolerance);
}

TEST(StatisticsFunctions, TrendOverOneXAddsNothing) {
  TStatsScene trend(new TTrendFunction, {1, 2, 3}, {4, 4, 4});
  EXPECT_EQ(trend.result->PointCount(), 0);
  TStatsScene exponential(new TExpTrendFunction, {1, 2, 3}, {4, 4, 4});
  EXPECT_EQ(exponential.result->PointCount(), 0);
  TStatsScene correlation(new TCorrelationFunction, {1, 2, 3}, {4, 4, 4});
  EXPECT_EQ(correlation.result->PointCount(), 0);
}

TEST(StatisticsFunctions, ExponentialBollingerFollowsItsAverage) {
  // A constant source: no deviation, both bands on the average.
  auto* bands = new TBollingerFunction;
  bands->SetPeriod(3);
  TStatsScene scene(bands, {5, 5, 5, 5});
  ASSERT_EQ(scene.result->PointCount(), 2);
  EXPECT_EQ(scene.Xs(), (Values{2, 3}));
  EXPECT_EQ(scene.Ys(), (Values{5, 5}));
  EXPECT_EQ(bands->LowBand()->PointCount(), 2);
  // Fewer points than the period: nothing in either band.
  bands->SetPeriod(5);
  EXPECT_EQ(scene.result->PointCount(), 0);
  EXPECT_EQ(bands->LowBand()->PointCount(), 0);
}

}  // namespace
