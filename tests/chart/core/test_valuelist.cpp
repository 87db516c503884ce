// Value lists: ordered insertion, growth, statistics, deletion, sorting and
// the count checks.
#include <gtest/gtest.h>

#include <cmath>
#include <span>

#include "chart/core/testseries.h"
#include "platform/ui/streaming.h"
#include "support/dialogresponder.h"

namespace {

std::vector<double> ValuesOf(const TChartValueList* l) {
  return std::vector<double>(l->Values().begin(), l->Values().begin() + l->Count());
}

TEST(ValueList, OrderedInsertionKeepsEqualsInArrivalOrder) {
  struct Case {
    TChartListOrder order;
    std::vector<double> adds;
    std::vector<double> expected;
    int lastIndex;
  };
  const Case cases[] = {
      {loAscending, {3, 1, 2, 2}, {1, 2, 2, 3}, 2},
      {loDescending, {3, 1, 2, 2}, {3, 2, 2, 1}, 2},
      {loNone, {3, 1, 2, 2}, {3, 1, 2, 2}, 3},
  };
  for (const Case& c : cases) {
    TTestSeries series;
    TChartValueList& list = *new TChartValueList(&series, "Z");
    list.SetOrder(c.order);
    int last = -1;
    for (double v : c.adds) last = list.AddValue(v);
    EXPECT_EQ(ValuesOf(&list), c.expected) << c.order;
    EXPECT_EQ(last, c.lastIndex) << c.order;
  }
}

TEST(ValueList, GrowsByTheStepNeverDoubling) {
  TTestSeries series;
  TChartValueList& list = *new TChartValueList(&series, "Z");
  for (int i = 0; i < 1000; ++i) list.AddValue(i);
  EXPECT_EQ(list.Capacity(), 1000);
  list.AddValue(1000);
  EXPECT_EQ(list.Capacity(), 2000);
  const int saved = ValueListGrowStep;
  ValueListGrowStep = 10;
  list.ClearValues();
  EXPECT_EQ(list.Capacity(), 0);
  list.AddValue(1);
  EXPECT_EQ(list.Capacity(), 10);
  ValueListGrowStep = saved;
}

// AddArray ends where adding the points one at a time ends: values, order,
// storage size and the one notice of the change, whether the points extend
// the lists in bulk or some must be inserted (out of order, after a NaN,
// with labels or colours in the series).
TEST(ValueList, AddArrayMatchesAddingPointByPoint) {
  const double nan = std::nan("");
  struct Case {
    const char* name;
    TChartListOrder order;
    std::vector<double> before, x;
    bool labels;
  };
  const Case cases[] = {
      {"ascending, in order", loAscending, {0.5}, {1, 2, 2, 3}, false},
      {"ascending, a point out of order", loAscending, {}, {1, 3, 2, 4}, false},
      {"ascending, starts before the series' last", loAscending, {5}, {1, 6}, false},
      {"descending", loDescending, {9}, {8, 7, 7.5, 1}, false},
      {"unordered", loNone, {3}, {1, 5, 2}, false},
      {"NaN among the values", loAscending, {0}, {1, nan, 0.5, 2}, false},
      {"with labels", loAscending, {0}, {1, 2}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<double> y(c.x.size());
    for (size_t i = 0; i < y.size(); ++i) y[i] = 100 + static_cast<double>(i);
    TTestSeries bulk, single;
    for (TTestSeries* s : {&bulk, &single}) {
      s->XValues()->SetOrder(c.order);
      for (double v : c.before) s->AddXYPoint(v, -v, c.labels ? "b" : "");
    }
    bulk.AddArray(c.x.data(), y.data(), static_cast<int>(c.x.size()));
    for (size_t i = 0; i < c.x.size(); ++i) single.AddXYPoint(c.x[i], y[i]);
    ASSERT_EQ(bulk.PointCount(), single.PointCount());
    for (int i = 0; i < bulk.PointCount(); ++i) {
      const double a = bulk.XValues()->GetValue(i), b = single.XValues()->GetValue(i);
      EXPECT_TRUE(a == b || (std::isnan(a) && std::isnan(b))) << i;
      EXPECT_EQ(bulk.YValues()->GetValue(i), single.YValues()->GetValue(i)) << i;
      EXPECT_EQ(bulk.Labels()->Count() > 0 ? bulk.Labels()->LabelAt(i) : "",
                single.Labels()->Count() > 0 ? single.Labels()->LabelAt(i) : "") << i;
    }
    EXPECT_EQ(bulk.XValues()->Capacity(), single.XValues()->Capacity());
    EXPECT_EQ(bulk.YValues()->Capacity(), single.YValues()->Capacity());
  }
  // Storage grows by the step, as point by point, across several steps at once.
  TTestSeries series;
  std::vector<double> x(2500), y(2500, 1.0);
  for (size_t i = 0; i < x.size(); ++i) x[i] = static_cast<double>(i);
  series.AddArray(x.data(), y.data(), 999);
  EXPECT_EQ(series.XValues()->Capacity(), 1000);
  series.AddArray(x.data() + 999, y.data(), 1501);
  EXPECT_EQ(series.XValues()->Capacity(), 3000);
  EXPECT_EQ(series.PointCount(), 2500);
  EXPECT_EQ(series.XValues()->MaxValue(), 2499);
}

TEST(ValueList, StatisticsAreRecomputedAfterChanges) {
  TTestSeries series;
  TChartValueList& list = *new TChartValueList(&series, "Z");
  EXPECT_EQ(list.MinValue(), 0);
  EXPECT_EQ(list.MaxValue(), 0);
  EXPECT_EQ(list.Total(), 0);
  EXPECT_EQ(list.TotalAbs(), 0);
  list.AddValue(-2);
  list.AddValue(1);
  EXPECT_EQ(list.MinValue(), -2);
  EXPECT_EQ(list.MaxValue(), 1);
  EXPECT_EQ(list.Total(), -1);
  EXPECT_EQ(list.TotalAbs(), 3);
  EXPECT_EQ(list.ValueRange(), 3);
  list.SetValue(0, 5);
  EXPECT_EQ(list.MaxValue(), 5);
  EXPECT_EQ(list.MinValue(), 1);

  // An overridden total of absolute values holds until the list changes.
  list.OverrideTotalAbs(4);
  EXPECT_EQ(list.TotalAbs(), 4);
  EXPECT_EQ(list.MaxValue(), 5);
  list.AddValue(-1);
  EXPECT_EQ(list.TotalAbs(), 7);
}

// Values overwritten in place renew the extremes and the sums, whichever is
// asked for first.
TEST(ValueList, ValuesStoredInPlaceRenewExtremesAndSumsAskedInAnyOrder) {
  TTestSeries series;
  TChartValueList& list = *new TChartValueList(&series, "Z");
  for (double v : {1, 2, 3}) list.AddValue(v);
  EXPECT_EQ(list.MaxValue(), 3);
  std::span<double> values = list.ValuesToStore();
  ASSERT_EQ(values.size(), 3u);
  values[0] = -4;
  values[2] = 10;
  EXPECT_EQ(list.MaxValue(), 10);
  EXPECT_EQ(list.Total(), 8);
  EXPECT_EQ(list.TotalAbs(), 16);
  list.ValuesToStore()[1] = -20;
  EXPECT_EQ(list.Total(), -14);
  EXPECT_EQ(list.MinValue(), -20);
  EXPECT_EQ(list.TotalAbs(), 34);
}

TEST(ValueList, DeleteRangeAndItsAssertion) {
  TTestSeries series;
  TChartValueList& list = *new TChartValueList(&series, "Z");
  for (double v : {10, 11, 12, 13, 14}) list.AddValue(v);
  list.DeleteRange(1, 2);
  EXPECT_EQ(ValuesOf(&list), (std::vector<double>{10, 13, 14}));
  try {
    list.DeleteRange(2, 2);
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "Quantity of data to delete must be less than Count.");
  }
  EXPECT_EQ(list.Count(), 3);
}

TEST(ValueList, SetCountRefusesNegativeAndCountsBeyondTheStorage) {
  TTestSeries series;
  TChartValueList& list = *new TChartValueList(&series, "Z");
  for (double v : {1, 2, 3}) list.AddValue(v);
  list.SetCount(2);
  EXPECT_EQ(list.GetCount(), 2);
  list.SetCount(0);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.SetCount(-1), EAssertionFailed);
  try {
    list.SetCount(list.Capacity() + 1);
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(std::string(e.what()), "ValueList Count (" + std::to_string(list.Capacity() + 1) +
                                         ") greater than array length (" + std::to_string(list.Capacity()) + ").");
  }
  EXPECT_EQ(list.Count(), 0);
}

TEST(ValueList, AssignCopiesSettingsNotValuesOrName) {
  TTestSeries series;
  TChartValueList& a = *new TChartValueList(&series, "A");
  TChartValueList& b = *new TChartValueList(&series, "B");
  a.SetOrder(loDescending);
  a.SetDateTime(true);
  a.SetValueSource("Field");
  a.AddValue(4);
  b.AddValue(7);
  b.Assign(&a);
  EXPECT_EQ(b.Order(), loDescending);
  EXPECT_TRUE(b.DateTime());
  EXPECT_EQ(b.ValueSource(), "Field");
  EXPECT_EQ(b.Name(), "B");
  EXPECT_EQ(ValuesOf(&b), (std::vector<double>{7}));
}

TEST(ValueList, SortByOrderMovesEveryListOfTheSeries) {
  TTestSeries series;
  series.XValues()->SetOrder(loNone);
  series.AddXYPoint(3, 30, "c");
  series.AddXYPoint(1, 10, "a");
  series.AddXYPoint(2, 20, "b");
  series.YValues()->SortByOrder();  // unordered: nothing happens
  EXPECT_EQ(ValuesOf(series.XValues()), (std::vector<double>{3, 1, 2}));
  series.XValues()->SetOrder(loAscending);
  series.XValues()->SortByOrder();
  EXPECT_EQ(ValuesOf(series.XValues()), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(ValuesOf(series.YValues()), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(series.PointLabel(0), "a");
  EXPECT_EQ(series.PointLabel(2), "c");
}

TEST(ValueList, ObsoleteMultiplierWarnsAndLoadingGoesOn) {
  RegisterTestChartClasses();
  TDialogResponder dialogs;
  // A stored series whose Y list carries the obsolete property.
  const std::string text =
      "object Series1: TTestSeries\n"
      "  YValues.Multiplier = 2.0\n"
      "  YValues.Order = loNone\n"
      "end\n";
  TComponent* c = TextToComponent(text, nullptr);
  std::unique_ptr<TComponent> loaded(c);
  ASSERT_NE(dynamic_cast<TTestSeries*>(c), nullptr);
  ASSERT_EQ(dialogs.Requests().size(), 1u);
  EXPECT_EQ(dialogs.Requests()[0].Text,
            "Error: Multiplier property is obsolete.\rModify GrafDefs.inc (enable Multiplier) and recompile.");
  EXPECT_EQ(dialogs.Requests()[0].Caption, "");
}

}  // namespace
