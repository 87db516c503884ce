#include <gtest/gtest.h>

#include <vector>

#include "model/plotdata.h"

namespace {

void Fill(TData& d, const std::vector<float>& x, const std::vector<float>& y) {
  d.Allocate(static_cast<int>(x.size()));
  for (std::size_t i = 0; i < x.size(); ++i) {
    d.X()[i] = x[i];
    d.Y()[i] = y[i];
  }
  d.SetPointCount(static_cast<int>(x.size()));
}

TEST(PlotData, FreshRecordsAreEmpty) {
  TPlotData p;
  EXPECT_EQ(p.Status(), 0);
  EXPECT_EQ(p.PointCount(), 0);
  EXPECT_EQ(p.Title(), "UnInitialized Data structure");
  EXPECT_EQ(p.Start(), 0.0f);
  EXPECT_EQ(p.Step(), 1.0f);
  EXPECT_EQ(p.Stop(), 0.0f);
  EXPECT_EQ(p.Histogram(), 0);
  EXPECT_FALSE(p.TData::IsAllocated());
  EXPECT_FALSE(p.IsAllocated());
  EXPECT_EQ(p.Capacity(), 0);
  EXPECT_EQ(p.MarkerCount(), 0);
  EXPECT_EQ(p.MarkerCapacity(), 0);
  EXPECT_EQ(p.HistogramRef(), nullptr);
  EXPECT_TRUE(p.X().empty());
  EXPECT_TRUE(p.Calculated().empty());
}

TEST(PlotData, AllocateResizesKeepingLeadingPoints) {
  TData d;
  d.Allocate(100);
  ASSERT_TRUE(d.IsAllocated());
  for (int i = 0; i < 100; ++i) {
    d.X()[i] = static_cast<float>(i);
    d.Y()[i] = static_cast<float>(2 * i);
    d.Third()[i] = static_cast<float>(3 * i);
  }
  d.Allocate(50);
  EXPECT_EQ(d.Capacity(), 50);
  ASSERT_EQ(d.X().size(), 50u);
  ASSERT_EQ(d.Third().size(), 50u);
  EXPECT_EQ(d.X()[49], 49.0f);
  EXPECT_EQ(d.Y()[49], 98.0f);
  EXPECT_EQ(d.Third()[49], 147.0f);

  // Zero points is a valid allocation without elements.
  d.Allocate(0);
  EXPECT_TRUE(d.IsAllocated());
  EXPECT_EQ(d.Capacity(), 0);
}

TEST(PlotData, ReleaseFreesOnlyTheArrays) {
  TData d;
  d.SetStatus(2);
  d.SetTitle("kept");
  d.Release();  // nothing to free
  EXPECT_EQ(d.Status(), 2);

  d.Allocate(10);
  d.SetPointCount(10);
  d.Release();
  EXPECT_FALSE(d.IsAllocated());
  EXPECT_EQ(d.Capacity(), 0);
  EXPECT_TRUE(d.X().empty());
  EXPECT_EQ(d.Status(), 2);
  EXPECT_EQ(d.Title(), "kept");
}

TEST(PlotData, FailedAllocationLeavesNoArrays) {
  TData d;
  d.Allocate(20);
  d.SetStatus(2);
  d.Allocate(-1);
  EXPECT_FALSE(d.IsAllocated());
  EXPECT_EQ(d.Capacity(), 0);
  EXPECT_TRUE(d.X().empty());
  EXPECT_TRUE(d.Y().empty());
  EXPECT_TRUE(d.Third().empty());
  EXPECT_EQ(d.Status(), 0);
}

TEST(PlotData, PlotAllocateSizesAllSixArrays) {
  TPlotData p;
  p.SetStatus(4);
  p.AllocatePlot(10, 3);
  EXPECT_TRUE(p.IsAllocated());
  EXPECT_EQ(p.Capacity(), 10);
  EXPECT_EQ(p.MarkerCapacity(), 3);
  EXPECT_EQ(p.Calculated().size(), 10u);
  EXPECT_EQ(p.MarkerCodes().size(), 3u);
  EXPECT_EQ(p.MarkerPositions().size(), 3u);
  EXPECT_EQ(p.Status(), 4);

  // Releasing the plot keeps the points.
  p.SetMarkerCount(3);
  p.Release();
  EXPECT_FALSE(p.IsAllocated());
  EXPECT_TRUE(p.TData::IsAllocated());
  EXPECT_EQ(p.MarkerCount(), 0);
  EXPECT_EQ(p.MarkerCapacity(), 0);
  EXPECT_TRUE(p.Calculated().empty());
}

TEST(PlotData, PlotAllocateFailuresSetTheStatus) {
  // No points: no plot, status 0.
  TPlotData p;
  p.SetStatus(4);
  p.Allocate(0, 5);
  EXPECT_FALSE(p.IsAllocated());
  EXPECT_EQ(p.Status(), 0);
  EXPECT_EQ(p.MarkerCapacity(), 0);

  // Points but no markers possible: points kept, status 2.
  TPlotData q;
  q.SetStatus(4);
  q.Allocate(8, 2);
  q.Allocate(8, -1);
  EXPECT_FALSE(q.IsAllocated());
  EXPECT_TRUE(q.TData::IsAllocated());
  EXPECT_EQ(q.Capacity(), 8);
  EXPECT_EQ(q.Status(), 2);
  EXPECT_TRUE(q.MarkerCodes().empty());
}

TEST(PlotData, MarkerCodesDecode) {
  struct Case {
    int phase, h, k, l;
  };
  const Case cases[] = {{1, 1, -2, 3}, {31, 127, -128, 0}, {2, 0, 0, 0}, {1, -128, 127, -1}};
  TPlotData p;
  p.Allocate(1, 4);
  int i = 0;
  for (const Case& c : cases)
    p.MarkerCodes()[i++] = c.phase * (1 << 26) + (c.h + 128) * (1 << 16) + (c.k + 128) * (1 << 8) + (c.l + 128);
  p.SetMarkerCount(4);
  EXPECT_EQ(p.MarkerCodes()[0], 1 * (1 << 26) + 129 * (1 << 16) + 126 * (1 << 8) + 131);
  for (int m = 1; m <= 4; ++m) {
    SCOPED_TRACE(m);
    const Case& c = cases[m - 1];
    EXPECT_EQ(p.MarkerPhase(m), c.phase);
    EXPECT_EQ(p.MarkerH(m), c.h);
    EXPECT_EQ(p.MarkerK(m), c.k);
    EXPECT_EQ(p.MarkerL(m), c.l);
  }
  // Markers that do not exist decode to 0 instead of reading past the arrays.
  for (int m : {0, 5, -1}) EXPECT_EQ(p.MarkerH(m), 0);
  p.SetMarkerCount(10);
  EXPECT_EQ(p.MarkerPhase(5), 0);
}

TEST(PlotData, Extremes) {
  TData d;
  Fill(d, {4, 1, 9, 2}, {5, 3, 3, 7});
  EXPECT_EQ(d.MinY(), 3.0f);
  EXPECT_EQ(d.MaxY(), 7.0f);
  EXPECT_EQ(d.MinX(), 1.0f);
  EXPECT_EQ(d.MaxX(), 9.0f);

  // Only points 1 .. point count count.
  d.SetPointCount(2);
  EXPECT_EQ(d.MaxX(), 4.0f);
  EXPECT_EQ(d.MaxY(), 5.0f);

  TData one;
  Fill(one, {12.5f}, {-1});
  EXPECT_EQ(one.MaxX(), 12.5f);
  EXPECT_EQ(one.MinX(), 12.5f);

  // A point count beyond the arrays (as a fetch that could not allocate
  // leaves it) never reads past them.
  TData none;
  none.SetPointCount(100);
  EXPECT_EQ(none.MaxX(), 0.0f);
  EXPECT_EQ(none.MinY(), 0.0f);
}

}  // namespace
