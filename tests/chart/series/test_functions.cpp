// The elementary functions and the smoothing function: tables of source
// values and the points the function gives.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "chart/core/chart.h"
#include "chart/series/graffunci.h"
#include "chart/series/grafspline.h"
#include "chart/series/series.h"

namespace {

using Values = std::vector<double>;
constexpr double kNull = NAN;  // a null point in a source table

// A chart holding source series and one result series computed by a function.
struct TFunctionScene {
  TFunctionScene(TGrafFunction* function, const std::vector<Values>& sources) {
    chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, 400, 300);
    int n = 0;
    for (const Values& ys : sources) {
      auto* s = new TLineSeries(chart.get());
      s->SetName("Source" + std::to_string(++n));
      s->SetParentChart(chart.get());
      for (size_t i = 0; i < ys.size(); ++i) {
        if (std::isnan(ys[i])) s->AddXYPoint(static_cast<double>(i), 0, "", clNone);
        else s->AddXYPoint(static_cast<double>(i), ys[i]);
      }
      this->sources.push_back(s);
    }
    result = new TLineSeries(chart.get());
    result->SetName("Result");
    result->SetParentChart(chart.get());
    result->SetFunctionType(function);
    for (TLineSeries* s : this->sources) result->AttachSource(s);
    result->RefreshFromSource();
  }
  Values Ys() const {
    Values v;
    for (int i = 0; i < result->PointCount(); ++i) v.push_back(result->YValueAt(i));
    return v;
  }
  std::unique_ptr<TChart> chart;
  std::vector<TLineSeries*> sources;
  TLineSeries* result;
};

struct TFunctionCase {
  const char* name;
  std::function<TGrafFunction*()> make;
  std::vector<Values> sources;
  Values expected;
};

TGrafFunction* WithPeriod(TGrafFunction* f, double period) {
  f->SetPeriod(period);
  return f;
}
TGrafFunction* WithoutNulls(TCustomSortedFunction* f) {
  f->SetIncludeNulls(false);
  return f;
}

TEST(BasicFunctions, TableOfSourcesAndResults) {
  // Each function over one source, whole (Period 0, one point: the parent's
  // SinglePointResults is off for a line, so two points) or per point
  // (Period 1), and over several sources point by point.
  const TFunctionCase cases[] = {
      {"add of two sources", [] { return new TAddGrafFunction; }, {{1, 2, 3}, {10, 20}}, {11, 22, 3}},
      {"subtract", [] { return new TSubtractGrafFunction; }, {{10, 20}, {1, 2}}, {9, 18}},
      {"subtract of one source is 0", [] { return WithPeriod(new TSubtractGrafFunction, 1); }, {{5, 6}}, {0, 0}},
      {"multiply", [] { return new TMultiplyGrafFunction; }, {{2, 3}, {4, 5}, {10, 10}}, {80, 150}},
      {"divide by 0 keeps the other quotient", [] { return new TDivideGrafFunction; },
       {{12, 12}, {0, 3}, {2, 2}}, {6, 2}},
      {"high over sources", [] { return new THighGrafFunction; }, {{1, 7}, {5, 2}}, {5, 7}},
      // The first source has no point at index 2: the result starts from the next one, not from 0.
      {"high from the first source with a point", [] { return new THighGrafFunction; },
       {{1, 1}, {-5, -5, -5}, {-7, -7, -7}}, {1, 1, -5}},
      {"low from the first source with a point", [] { return new TLowGrafFunction; },
       {{1, 1}, {5, 5, 5}, {7, 7, 7}}, {1, 1, 5}},
      {"high of the whole source", [] { return new THighGrafFunction; }, {{3, 9, 4}}, {9, 9}},
      {"low per two points", [] { return WithPeriod(new TLowGrafFunction, 2); }, {{3, 9, 4, 1}}, {3, 1}},
      {"average of the whole source", [] { return new TAverageGrafFunction; }, {{1, 2, 6}}, {3, 3}},
      {"average of sources", [] { return new TAverageGrafFunction; }, {{1, 2}, {3, 6}}, {2, 4}},
      {"median of 1, 2, 3", [] { return new TMedianGrafFunction; }, {{3, 1, 2}}, {2, 2}},
      {"median of 1, 2, 3, 4", [] { return new TMedianGrafFunction; }, {{4, 1, 3, 2}}, {2.5, 2.5}},
      {"median of 1, 2", [] { return new TMedianGrafFunction; }, {{2, 1}}, {1.5, 1.5}},
      {"median of one value", [] { return WithPeriod(new TMedianGrafFunction, 1); }, {{7}}, {7}},
      {"median over sources", [] { return new TMedianGrafFunction; }, {{1}, {10}, {4}, {2}}, {3}},
      // Nulls left out take no slot: 1, 3 without the null (0) between them.
      {"median without nulls", [] { return WithoutNulls(new TMedianGrafFunction); }, {{1, kNull, 3}}, {2, 2}},
      {"median with nulls counts their 0", [] { return new TMedianGrafFunction; }, {{1, kNull, 3}}, {1, 1}},
      {"mode of 1, 1, 2, 2 ties to the smallest", [] { return new TModeGrafFunction; }, {{2, 1, 2, 1}}, {1, 1}},
      {"mode of 1, 2, 2", [] { return new TModeGrafFunction; }, {{1, 2, 2}}, {2, 2}},
      {"mode of all different", [] { return new TModeGrafFunction; }, {{3, 1, 2}}, {1, 1}},
      {"mode without nulls", [] { return WithoutNulls(new TModeGrafFunction); }, {{5, kNull, kNull, 5, 1}}, {5, 5}},
      {"cumulative of 1, 2, 3", [] { return new TCumulative; }, {{1, 2, 3}}, {1, 3, 6}},
      {"cumulative of sources", [] { return new TCumulative; }, {{1, 2, 3}, {10, 10}}, {11, 23, 26}},
      {"count over sources of 3 and 5", [] { return new TCountGrafFunction; },
       {{1, 1, 1}, {1, 1, 1, 1, 1}}, {2, 2, 2, 1, 1}},
      {"count of a whole source", [] { return new TCountGrafFunction; }, {{4, 4, 4}}, {3, 3}},
  };
  for (const TFunctionCase& c : cases) {
    TFunctionScene s(c.make(), c.sources);
    EXPECT_EQ(s.Ys(), c.expected) << c.name;
  }
}

TEST(BasicFunctions, AverageWithoutPointsOrWithOnlyNullsIsZero) {
  auto* f = new TAverageGrafFunction;
  f->SetIncludeNulls(false);
  TFunctionScene s(f, {{kNull, kNull}});
  EXPECT_EQ(s.Ys(), (Values{0, 0}));
  TLineSeries empty(nullptr);
  EXPECT_EQ(TAverageGrafFunction().ComputeValue(&empty, -1, -1), 0);
  EXPECT_EQ(TCountGrafFunction().ComputeValue(&empty, -1, -1), 0);
}

TEST(BasicFunctions, CustomFunctionPointsFromItsHandler) {
  auto* f = new TCustomGrafFunction;
  f->SetNumPoints(4);
  f->SetStartX(1);
  f->StorePeriod(0.5);
  f->OnCalculate = [](TGrafFunction*, double x, double& y) { y = x * x; };
  TFunctionScene s(f, {});
  ASSERT_EQ(s.result->PointCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(s.result->XValueAt(i), 1 + 0.5 * i);
    EXPECT_EQ(s.result->YValueAt(i), (1 + 0.5 * i) * (1 + 0.5 * i));
  }
  // No handler, or no points asked: nothing.
  f->OnCalculate = nullptr;
  s.result->RefreshFromSource();
  EXPECT_EQ(s.result->PointCount(), 0);
}

TEST(BasicFunctions, RegisteredOnTheirGalleryPages) {
  RegisterBasicFunctionTypes();
  RegisterSmoothingFunctionType();
  struct Expect {
    TClass cls;
    const char* text;
    const char* page;
  };
  const Expect expects[] = {{&TAddGrafFunction::StaticClass(), "Add", "Standard"},
                            {&TMedianGrafFunction::StaticClass(), "Median", "Standard"},
                            {&TCustomGrafFunction::StaticClass(), "y = f(x)", "Standard"},
                            {&TCumulative::StaticClass(), "Cumulative", "Extended"},
                            {&TSmoothingFunction::StaticClass(), "Smoothing", "Extended"}};
  for (const Expect& e : expects) {
    bool found = false;
    for (int i = 0; i < SeriesTypeRegistry()->Count(); ++i) {
      TGrafSeriesType* t = SeriesTypeRegistry()->TypeAt(i);
      if (t->FunctionClass != e.cls) continue;
      found = true;
      EXPECT_EQ(*t->Description, e.text);
      EXPECT_EQ(*t->GalleryPage, e.page);
    }
    EXPECT_TRUE(found) << e.text;
  }
}

// ---- B-spline and smoothing ----------------------------------------------------------------------

TEST(Smoothing, CurvePointCounts) {
  struct Case {
    int sources;
    int factor;
    int expected;
  };
  // Fewer than 2 points are copied; the curve has n x Factor + 1 points, at most 601.
  const Case cases[] = {{0, 4, 0}, {1, 4, 1}, {2, 4, 9}, {10, 4, 41}, {10, 0, 11}, {200, 4, 601}};
  for (const Case& c : cases) {
    Values ys;
    for (int i = 0; i < c.sources; ++i) ys.push_back(std::sin(i * 0.7) * 10);
    auto* f = new TSmoothingFunction;
    f->SetFactor(c.factor);
    TFunctionScene s(f, {ys});
    EXPECT_EQ(s.result->PointCount(), c.expected) << c.sources << " x " << c.factor;
  }
  auto* f = new TSmoothingFunction;
  TFunctionScene one(f, {{7}});
  ASSERT_EQ(one.result->PointCount(), 1);
  EXPECT_EQ(one.result->XValueAt(0), 0);
  EXPECT_EQ(one.result->YValueAt(0), 7);
}

TEST(Smoothing, InterpolationPassesThroughEverySourcePoint) {
  const Values ys = {0, 5, -3, 8, 8, 8, 2, 9, -1, 4};
  for (bool interpolate : {true, false}) {
    // Factor 9: 90 fragments, so source point i (at t = i / 9) is curve point 10 i.
    auto* f = new TSmoothingFunction;
    f->SetInterpolate(interpolate);
    f->SetFactor(9);
    TFunctionScene s(f, {ys});
    ASSERT_EQ(s.result->PointCount(), 91);
    // The ends always meet.
    EXPECT_NEAR(s.result->YValueAt(0), ys.front(), 1e-9);
    EXPECT_NEAR(s.result->YValueAt(90), ys.back(), 1e-9);
    double worst = 0;
    for (size_t i = 0; i < ys.size(); ++i) {
      const int k = static_cast<int>(10 * i);
      EXPECT_NEAR(s.result->XValueAt(k), static_cast<double>(i), 1e-9);
      worst = std::max(worst, std::fabs(s.result->YValueAt(k) - ys[i]));
    }
    if (interpolate) EXPECT_LT(worst, 1e-9);
    else EXPECT_GT(worst, 1);  // only approaches the inner points
  }
}

TEST(Smoothing, InterpolatingSplineMeetsEveryPointAtItsParameter) {
  // Point i of n sits at t = i / (n - 1).
  const double ys[10] = {0, 5, -3, 8, 8, 8, 2, 9, -1, 4};
  TBSpline s;
  for (int i = 0; i < 10; ++i) s.AddPoint(i * 1.5, ys[i]);
  s.SetInterpolated(true);
  for (int i = 0; i < 10; ++i) {
    EXPECT_NEAR(s.ValueAt(i / 9.0).X, i * 1.5, 1e-9);
    EXPECT_NEAR(s.ValueAt(i / 9.0).Y, ys[i], 1e-9);
  }
}

TEST(Smoothing, SplineBasics) {
  TBSpline s;
  EXPECT_EQ(s.ValueAt(0.5), (TSplinePoint{0, 0}));  // fewer than 2 points
  s.AddPoint(0, 0);
  s.AddPoint(3, 3);
  s.AddPoint(6, 0);
  s.SetKnuckle(2, true);
  EXPECT_EQ(s.VertexCount(), 5);  // a knuckle counts three times
  s.SetKnuckle(1, true);          // never at the ends
  EXPECT_EQ(s.VertexCount(), 5);
  s.SetFragments(1000);
  EXPECT_EQ(s.Fragments(), 600);
  // With the knuckle the curve reaches the corner point exactly.
  EXPECT_NEAR(s.ValueAt(0.5).X, 3, 1e-12);
  EXPECT_NEAR(s.ValueAt(0.5).Y, 3, 1e-12);
}

}  // namespace
