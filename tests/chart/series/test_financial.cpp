// Financial series and functions: OHLC data with fixed dates in, points out;
// candle geometry, the histogram's bars and a reviewed picture of candles.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>

#include "chart/core/chart.h"
#include "chart/core/golden.h"
#include "chart/series/grafcandle.h"
#include "chart/series/grafhisto.h"
#include "chart/series/seriestest.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/streaming.h"
#include "support/testlocale.h"

namespace {

using Values = std::vector<double>;

struct TBar {
  double date, open, high, low, close;
};

// An OHLC source and a line series (or the given parent) computed from it.
struct TFinancialScene {
  explicit TFinancialScene(const std::vector<TBar>& bars, TGrafFunction* function,
                           TChartSeries* parentSeries = nullptr) {
    chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, 400, 300);
    source = new TOHLCSeries(chart.get());
    source->SetParentChart(chart.get());
    for (const TBar& b : bars) source->AddOHLCPoint(b.date, b.open, b.high, b.low, b.close);
    result = parentSeries ? parentSeries : new TLineSeries(chart.get());
    result->SetParentChart(chart.get());
    result->SetFunctionType(function);
    result->AttachSource(source);
    result->RefreshFromSource();
  }
  static Values YsOf(TChartSeries* s) {
    Values v;
    for (int i = 0; s && i < s->PointCount(); ++i) v.push_back(s->YValueAt(i));
    return v;
  }
  static Values XsOf(TChartSeries* s) {
    Values v;
    for (int i = 0; s && i < s->PointCount(); ++i) v.push_back(s->XValueAt(i));
    return v;
  }
  std::unique_ptr<TChart> chart;
  TOHLCSeries* source;
  TChartSeries* result;
};

// Bars whose open, high, low and close all follow one value.
std::vector<TBar> Closes(const Values& closes) {
  std::vector<TBar> bars;
  for (size_t i = 0; i < closes.size(); ++i)
    bars.push_back({static_cast<double>(i), closes[i], closes[i], closes[i], closes[i]});
  return bars;
}

void ExpectValues(const Values& actual, const Values& expected, const std::string& what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-9) << what << " " << i;
}

TEST(OHLCSeries, PointsOutOfOrderKeepTheirPricesTogether) {
  TSeriesTestChart chart;
  auto* s = new TOHLCSeries(&chart);
  s->SetParentChart(&chart);
  s->AddOHLCPoint(3, 30, 31, 29, 30.5);
  s->AddOHLCPoint(1, 10, 11, 9, 10.5);
  s->AddOHLCPoint(2, 20, 21, 2, 20.5);
  ExpectValues(TFinancialScene::XsOf(s), {1, 2, 3}, "dates");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(s->OpenValues()->GetValue(i), 10.0 * (i + 1));
    EXPECT_EQ(s->CloseValues()->GetValue(i), 10.0 * (i + 1) + 0.5);
  }
  EXPECT_EQ(s->SmallestY(), 2);
  EXPECT_EQ(s->LargestY(), 31);
  EXPECT_TRUE(s->XValues()->DateTime());
}

TEST(CompressFunction, GroupsByPeriod) {
  // Wednesday 3 January 2024 to Tuesday 9 January.
  const double wednesday = EncodeDate(2024, 1, 3);
  std::vector<TBar> week;
  for (int d = 0; d < 7; ++d) week.push_back({wednesday + d, 10.0 + d, 20.0 + d, 5.0 - d, 11.0 + d});
  {
    auto* f = new TCompressFunction;
    TFinancialScene scene(week, f, new TCandleSeries(nullptr));
    auto* d = dynamic_cast<TOHLCSeries*>(scene.result);
    ASSERT_EQ(d->PointCount(), 2);
    // Wednesday to Sunday, dated Sunday; Monday to Tuesday, dated Tuesday.
    ExpectValues(TFinancialScene::XsOf(d), {wednesday + 4, wednesday + 6}, "dates");
    ExpectValues({d->OpenValues()->GetValue(0), d->HighValues()->GetValue(0), d->LowValues()->GetValue(0),
                  d->CloseValues()->GetValue(0)},
                 {10, 24, 1, 15}, "first week");
    ExpectValues({d->OpenValues()->GetValue(1), d->HighValues()->GetValue(1), d->LowValues()->GetValue(1),
                  d->CloseValues()->GetValue(1)},
                 {15, 26, -1, 17}, "second week");
  }
  {
    auto* f = new TCompressFunction;
    f->SetPeriod(3);
    TFinancialScene scene(week, f, new TCandleSeries(nullptr));
    EXPECT_EQ(scene.result->PointCount(), 3);
  }
  {
    // January of two successive years: two groups (the month key holds the year).
    std::vector<TBar> januaries{{EncodeDate(2023, 1, 10), 1, 1, 1, 1}, {EncodeDate(2024, 1, 10), 2, 2, 2, 2}};
    auto* f = new TCompressFunction;
    f->SetCompress(ocMonth);
    TFinancialScene scene(januaries, f, new TCandleSeries(nullptr));
    EXPECT_EQ(scene.result->PointCount(), 2);
  }
  {
    // The same weekday a week apart, and the same hour on two days, never merge.
    EXPECT_NE(TCompressFunction::GroupKey(wednesday, ocWeek), TCompressFunction::GroupKey(wednesday + 7, ocWeek));
    EXPECT_EQ(TCompressFunction::GroupKey(wednesday, ocWeek), TCompressFunction::GroupKey(wednesday + 4, ocWeek));
    EXPECT_NE(TCompressFunction::GroupKey(wednesday + 0.5, ocHour),
              TCompressFunction::GroupKey(wednesday + 1.5, ocHour));
  }
  {
    // A plain source gives its values as all four prices; a plain parent gets nothing.
    TChart chart(nullptr);
    auto* line = new TLineSeries(&chart);
    line->SetParentChart(&chart);
    for (double v : {5.0, 7.0, 3.0}) line->AddXYPoint(wednesday, v);
    auto* candle = new TCandleSeries(&chart);
    candle->SetParentChart(&chart);
    candle->SetFunctionType(new TCompressFunction);
    candle->AttachSource(line);
    candle->RefreshFromSource();
    ASSERT_EQ(candle->PointCount(), 1);
    ExpectValues({candle->OpenValues()->GetValue(0), candle->HighValues()->GetValue(0),
                  candle->LowValues()->GetValue(0), candle->CloseValues()->GetValue(0)},
                 {5, 7, 3, 3}, "plain source");
    auto* plain = new TLineSeries(&chart);
    plain->SetParentChart(&chart);
    plain->SetFunctionType(new TCompressFunction);
    plain->AttachSource(line);
    plain->RefreshFromSource();
    EXPECT_EQ(plain->PointCount(), 0);
  }
}

TEST(FinancialFunctions, TableOfSourcesAndResults) {
  struct TCase {
    const char* name;
    std::function<TGrafFunction*()> make;
    std::vector<TBar> bars;
    Values expected;
  };
  const TCase cases[] = {
      {"RSI by closes that only rise is 100",
       [] {
         auto* f = new TRSIFunction;
         f->SetStyle(rsiClose);
         f->SetPeriod(3);
         return f;
       },
       Closes({1, 2, 3, 4}), {100, 100}},
      {"RSI by closes that only fall is 0",
       [] {
         auto* f = new TRSIFunction;
         f->SetStyle(rsiClose);
         f->SetPeriod(3);
         return f;
       },
       Closes({4, 3, 2, 1}), {0, 0}},
      // The up and down sums take the closes themselves.
      {"RSI open-close over one point: 0 falling, 100 otherwise", [] { return new TRSIFunction; },
       {{0, 5, 6, 3, 4}, {1, 4, 6, 3, 5}}, {0, 100}},
      {"RSI open-close over two points",
       [] {
         auto* f = new TRSIFunction;
         f->SetPeriod(2);
         return f;
       },
       {{0, 5, 6, 3, 4}, {1, 4, 9, 3, 8}}, {100 - 100 / (8.0 / 4 + 1)}},
      {"stochastic", [] {
         auto* f = new TStochasticFunction;
         f->SetPeriod(2);
         return f;
       },
       {{0, 1, 10, 2, 5}, {1, 1, 6, 0, 4}, {2, 1, 3, 3, 3}}, {40, 50}},
      {"stochastic with high equal to low is 0", [] { return new TStochasticFunction; }, Closes({3, 3}), {0, 0}},
      // Fast 2 (k = 2/3), slow 5 (k = 1/3): 3, 6 give fast 3, 5 and slow 3, 4.
      {"volume oscillator as a percentage of the fast average",
       [] {
         auto* f = new TPVOFunction;
         f->SetPeriod(2);
         f->SetPeriod2(5);
         return f;
       },
       Closes({3, 6}), {0, (5 - 4) / 5.0 * 100}},
      {"volume oscillator without percentage",
       [] {
         auto* f = new TPVOFunction;
         f->SetPeriod(2);
         f->SetPeriod2(5);
         f->SetPercentage(false);
         return f;
       },
       Closes({3, 6}), {0, 100}},
      {"volume oscillator: a zero fast average gives the slow one",
       [] {
         auto* f = new TPVOFunction;
         f->SetPeriod(2);
         f->SetPeriod2(5);
         return f;
       },
       Closes({0, 0}), {0, 0}},
      // Typical prices 1, 2, 3: mean 2, mean deviation 2/3.
      {"CCI", [] {
         auto* f = new TCCIFunction;
         f->SetPeriod(3);
         return f;
       },
       Closes({1, 2, 3}), {1 / (2.0 / 3 * 0.015)}},
      {"CCI over fewer points than the period", [] { return new TCCIFunction; }, Closes(Values(19, 1.0)), {}},
      {"CCI of a constant series", [] {
         auto* f = new TCCIFunction;
         f->SetPeriod(3);
         return f;
       },
       Closes({2, 2, 2, 2}), {}},
      {"CLV at the high, the low and the middle",
       [] {
         auto* f = new TCLVFunction;
         f->SetAccumulate(false);
         return f;
       },
       {{0, 5, 10, 0, 10}, {1, 5, 10, 0, 0}, {2, 5, 10, 0, 5}, {3, 5, 5, 5, 5}}, {1, -1, 0, 1}},
      {"CLV accumulated", [] { return new TCLVFunction; }, {{0, 5, 10, 0, 10}, {1, 5, 10, 0, 0}, {2, 5, 10, 0, 10}},
       {1, 0, 1}},
      {"MACD of one point is empty", [] { return new TMACDFunction; }, Closes({5}), {}},
  };
  for (const TCase& c : cases) {
    TFinancialScene scene(c.bars, c.make());
    ExpectValues(TFinancialScene::YsOf(scene.result), c.expected, c.name);
  }
}

TEST(FinancialFunctions, AdxNeedsTwoPeriods) {
  auto bars = [](int n) {
    std::vector<TBar> b;
    for (int i = 0; i < n; ++i) {
      const double mid = 100 + 10 * std::sin(i * 0.7) + i;
      b.push_back({static_cast<double>(i), mid, mid + 2 + i % 3, mid - 2 - i % 2, mid + 1});
    }
    return b;
  };
  {
    auto* adx = new TADXFunction;
    TFinancialScene scene(bars(28), adx);
    ExpectValues(TFinancialScene::XsOf(adx->UpLine()), {14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27},
                 "+DI");
    EXPECT_EQ(adx->DownLine()->PointCount(), 14);
    ExpectValues(TFinancialScene::XsOf(scene.result), {26, 27}, "ADX");
    EXPECT_FALSE(adx->UpLine()->ShowInLegend());
    EXPECT_EQ(adx->UpLine()->ParentChart(), scene.chart.get());
    for (double v : TFinancialScene::YsOf(scene.result)) EXPECT_TRUE(v >= 0 && v <= 100) << v;
  }
  {
    auto* adx = new TADXFunction;
    TFinancialScene scene(bars(27), adx);
    EXPECT_EQ(scene.result->PointCount(), 0);
    EXPECT_EQ(adx->UpLine()->PointCount(), 0);
  }
  {
    auto* adx = new TADXFunction;
    adx->SetPeriod(1);
    TFinancialScene scene(bars(28), adx);
    EXPECT_EQ(scene.result->PointCount(), 0);
    EXPECT_EQ(adx->DownLine()->PointCount(), 0);
  }
}

TEST(FinancialFunctions, MacdOfOnePointLeavesEveryLineEmpty) {
  auto* macd = new TMACDFunction;
  TFinancialScene scene(Closes({5}), macd);
  EXPECT_EQ(scene.result->PointCount(), 0);
  EXPECT_EQ(macd->SignalLine()->PointCount(), 0);
  EXPECT_EQ(macd->Histogram()->PointCount(), 0);
}

TEST(FinancialFunctions, CloseLocationWeightedByVolumeUntilTheVolumeGoes) {
  auto* clv = new TCLVFunction;
  TFinancialScene scene({{0, 5, 10, 0, 10}, {1, 5, 10, 0, 0}, {2, 5, 10, 0, 10}}, clv);
  auto* volume = new TVolumeSeries(scene.chart.get());
  volume->SetParentChart(scene.chart.get());
  for (double v : {2.0, 3.0}) volume->AddXYPoint(volume->PointCount(), v);
  clv->SetVolume(volume);
  // 1 x 2, then -1 x 3 added, then 1 unweighted (no volume at index 2) added.
  ExpectValues(TFinancialScene::YsOf(scene.result), {2, -1, 0}, "weighted");
  delete volume;
  ExpectValues(TFinancialScene::YsOf(scene.result), {1, 0, 1}, "unweighted");
  // A source of another class given in code is refused with the typecast error.
  TLineSeries line(nullptr);
  line.AddXYPoint(0, 1);
  EXPECT_THROW(clv->ComputeFrom(&line), EInvalidCast);
}

TEST(FinancialFunctions, MacdLinesAndOwnedSeries) {
  // A linear source: the MACD settles to a constant and the histogram to 0.
  Values closes;
  for (int i = 0; i < 200; ++i) closes.push_back(2.0 * i);
  auto* macd = new TMACDFunction;
  TFinancialScene scene(Closes(closes), macd);
  ASSERT_EQ(scene.result->PointCount(), 200);
  ASSERT_EQ(macd->SignalLine()->PointCount(), 200);
  ASSERT_EQ(macd->Histogram()->PointCount(), 200);
  // The difference of the two lags of a line of slope 2: (26 - 12) / 2 x 2.
  EXPECT_NEAR(scene.result->YValueAt(199), 14, 1e-4);
  EXPECT_NEAR(macd->Histogram()->YValueAt(199), 0, 1e-4);
  macd->SetPeriod2(0.5);
  EXPECT_EQ(macd->Period2(), 1);
  // Freeing the chart first frees the owned series with it; the function forgets them.
  scene.chart.reset();
}

TEST(FinancialFunctions, OnBalanceVolumeStopsAtTheShorterSeries) {
  auto* obv = new TOBVFunction;
  TFinancialScene scene({{0, 1, 2, 0, 2}, {1, 2, 3, 0, 1}, {2, 1, 3, 0, 3}, {3, 1, 3, 0, 3}}, obv);
  EXPECT_EQ(scene.result->PointCount(), 0);  // no volume series yet
  auto* volume = new TVolumeSeries(scene.chart.get());
  volume->SetParentChart(scene.chart.get());
  for (double v : {10.0, 20.0, 5.0}) volume->AddXYPoint(volume->PointCount(), v);
  obv->SetVolume(volume);
  // +10 first; the close below the open subtracts, above adds.
  ExpectValues(TFinancialScene::YsOf(scene.result), {10, -10, -5}, "obv");
  delete volume;
  EXPECT_EQ(obv->Volume(), nullptr);
  EXPECT_EQ(scene.result->PointCount(), 0);
  // Only OHLC sources are accepted.
  TLineSeries line(nullptr);
  EXPECT_FALSE(obv->AcceptsSource(&line));
}

TEST(CandleSeries, GeometryAndColours) {
  TSeriesTestChart chart;
  auto* c = new TCandleSeries(&chart);
  c->SetParentChart(&chart);
  const double day = EncodeDate(2024, 3, 4);
  c->AddOHLCPoint(day, 10, 12, 8, 11);      // rises
  c->AddOHLCPoint(day + 1, 11, 12, 9, 10);  // falls
  c->AddOHLCPoint(day + 2, 10, 11, 9, 10);  // flat, and equal to the previous close
  c->AddOHLCPoint(day + 3, 10, 12, 9, 12);  // rises
  c->SetCandleWidth(5);
  chart.Pass();
  const TCandleSeries::TCandleGeometry g = c->CandleGeometry(0);
  EXPECT_EQ(g.Left, 2);
  EXPECT_EQ(g.Right, 3);
  EXPECT_TRUE(c->CandleRising(0));
  EXPECT_FALSE(c->CandleRising(1));
  // Close equal to its open and to the previous close: the previous point's choice.
  EXPECT_FALSE(c->CandleRising(2));
  EXPECT_EQ(c->CandleColor(0), clWhite);
  EXPECT_EQ(c->CandleColor(1), clRed);
  c->SetColorStyle(cssRelativeToClose);
  EXPECT_TRUE(c->CandleRising(0));  // the first point always rises
  EXPECT_FALSE(c->CandleRising(1));
  EXPECT_FALSE(c->CandleRising(2));  // equal closes keep the last change
  EXPECT_TRUE(c->CandleRising(3));
  // The line style hides the pointer and narrows the range to the closes.
  c->SetCandleStyle(csLine);
  EXPECT_FALSE(c->Pointer()->Visible());
  EXPECT_EQ(c->SmallestY(), 10);
  EXPECT_EQ(c->LargestY(), 12);
}

TEST(PointFigureSeries, ColumnsTurnOnTheReversal) {
  TSeriesTestChart chart;
  auto* s = new TPointFigureSeries(&chart);
  s->SetParentChart(&chart);
  struct TBox {
    int column;
    double value;
    bool up;
  };
  auto walk = [&] {
    std::vector<TBox> boxes;
    const int columns = s->BuildColumns(false, [&](int c, double v, bool up) { boxes.push_back({c, v, up}); });
    return std::make_pair(columns, boxes);
  };
  // Column 0 falls from 12 to 10; a high of 12.9 does not turn it, 13 does.
  s->AddOHLCPoint(0, 11, 12, 11, 11);
  s->AddOHLCPoint(1, 11, 11, 10, 10);
  s->AddOHLCPoint(2, 11, 12.9, 10.5, 12);
  EXPECT_EQ(walk().first, 1);
  s->AddOHLCPoint(3, 12, 13, 12, 13);
  const auto [columns, boxes] = walk();
  EXPECT_EQ(columns, 2);
  std::vector<double> up;
  for (const TBox& b : boxes)
    if (b.column == 1) {
      EXPECT_TRUE(b.up);
      up.push_back(b.value);
    }
  ExpectValues(up, {11, 12, 13}, "up boxes from 11 to the high");
  EXPECT_EQ(s->LegendEntryCount(), 2);
  EXPECT_EQ(s->ComposeLegendText(0, ltsPlain), "Up");
  EXPECT_EQ(s->ComposeLegendText(1, ltsPlain), "Down");
  EXPECT_EQ(s->LargestX(), 1);
}

TEST(VolumeSeries, LinesFromTheBase) {
  TSeriesTestChart chart;
  auto* v = new TVolumeSeries(&chart);
  v->SetParentChart(&chart);
  v->SetSeriesColor(clBlue);
  for (double y : {30.0, 60.0, 90.0}) v->AddXYPoint(v->PointCount(), y);
  v->SetUseYOrigin(true);
  v->SetYOrigin(50);
  chart.Pass();
  const auto lines = chart.CallsWithPen("VerticalLine", clBlue);
  ASSERT_EQ(lines.size(), 3u);
  const auto a = CallArgs(lines[0]);
  EXPECT_EQ(a[1], v->VertPixelOf(50));
  EXPECT_EQ(a[2], v->VertPixelOf(30));
  EXPECT_GT(a[2], a[1]);  // down from 50 to 30
  EXPECT_EQ(v->PenSelections, 1);
}

TEST(HistogramSeries, TenBarsShareTheirEdges) {
  // The bottom axis is made 400 pixels long and spans 10 points of 40 pixels.
  TSeriesTestChart chart(500, 300);
  auto* h = new THistogramSeries(&chart);
  h->SetParentChart(&chart);
  for (int i = 0; i < 10; ++i) h->AddXYPoint(i, 1 + i % 3);
  chart.BottomAxis()->SetAutomatic(false);
  chart.BottomAxis()->SetMinimum(-0.5);
  chart.BottomAxis()->SetMaximum(9.5);
  chart.Pass();
  // The margins follow the bar width, so the width settles in a few passes.
  for (int pass = 0; pass < 8 && chart.BottomAxis()->AxisLength != 400; ++pass) {
    chart.SetBounds(0, 0, chart.Width() + 400 - chart.BottomAxis()->AxisLength, 300);
    chart.Pass();
  }
  ASSERT_EQ(chart.BottomAxis()->AxisLength, 400);
  h->FindVisibleRange();
  std::vector<TRect> bars;
  for (int i = h->FirstVisible; i <= h->LastVisible; ++i) bars.push_back(h->BarBounds(i));
  ASSERT_EQ(bars.size(), 10u);
  EXPECT_EQ(bars[0].Right - bars[0].Left, 40);
  for (size_t i = 1; i < bars.size(); ++i) {
    EXPECT_EQ(bars[i].Left, bars[i - 1].Right - 1) << i;  // the shared edge
    EXPECT_EQ(bars[i].Right - 1 - bars[i].Left, 40) << i;
  }
  // A point in the middle of bar 4 hits it.
  EXPECT_EQ(h->IndexAtPoint((bars[4].Left + bars[4].Right) / 2, bars[4].Bottom - 1), 4);
  // With 5 bars per page each bar is a fifth of the axis.
  chart.SetMaxPointsPerPage(5);
  chart.Pass();
  h->FindVisibleRange();
  const TRect first = h->BarBounds(h->FirstVisible);
  EXPECT_EQ(first.Right - first.Left, 2 * (chart.BottomAxis()->AxisLength / 5 / 2));
}

TEST(CandleSeries, GoldenCandles) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 400, 300);
  chart.SetView3D(false);
  chart.Legend()->SetVisible(false);
  auto* c = new TCandleSeries(&chart);
  c->SetParentChart(&chart);
  c->SetCandleWidth(9);
  const double day = EncodeDate(2024, 3, 4);
  const TBar bars[] = {{0, 10, 14, 9, 13},  {1, 13, 15, 11, 12}, {2, 12, 12.5, 8, 9},   {3, 9, 11, 7, 10.5},
                       {4, 10.5, 13, 10, 12}, {5, 12, 12, 11, 12}, {6, 12, 16, 11.5, 15}, {7, 15, 15.5, 12, 12.5}};
  for (const TBar& b : bars) c->AddOHLCPoint(day + b.date, b.open, b.high, b.low, b.close);
  // Half a day of room at each end, so the outer candles show whole.
  chart.BottomAxis()->SetAutomatic(false);
  chart.BottomAxis()->SetMaximum(day + 7.5);
  chart.BottomAxis()->SetMinimum(day - 0.5);
  TBitmap image(400, 300);
  chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, 400, 300));
  ExpectMatchesGolden(image, "series/candles.png");
}

}  // namespace

namespace {

std::string StoredFinancialChart() {
  RegisterClasses({&TChart::StaticClass()});
  RegisterStandardSeriesClasses();
  RegisterFinancialTypes();
  TChart chart(nullptr);
  chart.SetName("Chart1");
  auto* candle = new TCandleSeries(&chart);
  candle->SetName("Candle1");
  candle->SetParentChart(&chart);
  const double day = EncodeDate(2024, 3, 4);
  for (int i = 0; i < 30; ++i) candle->AddOHLCPoint(day + i, 10.5 + i, 12.25 + i, 9.75 + i, 11 + i % 3);
  candle->SetCandleWidth(7);
  candle->SetCandleStyle(csCandleBar);
  auto* macd = new TLineSeries(&chart);
  macd->SetName("Macd1");
  macd->SetParentChart(&chart);
  macd->SetFunctionType(new TMACDFunction(&chart));
  macd->AttachSource(candle);
  auto* cci = new TLineSeries(&chart);
  cci->SetName("Cci1");
  cci->SetParentChart(&chart);
  auto* f = new TCCIFunction(&chart);
  f->SetConstant(0.02);
  cci->SetFunctionType(f);
  cci->AttachSource(candle);
  return ComponentToText(&chart);
}

TEST(FinancialStreaming, OwnedSeriesStayOutAndSettingsComeBack) {
  const std::string text = StoredFinancialChart();
  {
    TScopedLocale comma;
    ASSERT_TRUE(comma.Active());
    EXPECT_EQ(StoredFinancialChart(), text);
  }
  TChart loaded(nullptr);
  TextToComponent(text, &loaded);
  // The MACD's signal line and histogram are its own, never stored (the
  // loaded function makes its own again).
  EXPECT_EQ(text.find("TFastLineSeries"), std::string::npos) << text;
  EXPECT_EQ(text.find("TVolumeSeries"), std::string::npos) << text;
  int stored = 0;
  for (int i = 0; i < loaded.NumberOfSeries(); ++i) stored += !loaded.SeriesAt(i)->Internal;
  ASSERT_EQ(stored, 3) << text;
  auto* candle = dynamic_cast<TCandleSeries*>(loaded.SeriesAt(0));
  ASSERT_TRUE(candle) << text;
  EXPECT_EQ(candle->CandleWidth(), 7);
  EXPECT_EQ(candle->CandleStyle(), csCandleBar);
  ASSERT_EQ(candle->PointCount(), 30);
  EXPECT_EQ(candle->HighValues()->GetValue(0), 12.25);
  EXPECT_EQ(candle->OpenValues()->GetValue(29), 39.5);
  auto* cci = dynamic_cast<TCCIFunction*>(loaded.SeriesAt(2)->FunctionType());
  ASSERT_TRUE(cci) << text;
  EXPECT_EQ(cci->Constant(), 0.02);
}

}  // namespace

namespace {

TEST(BigCandleSeries, FourPricesAroundTheCandle) {
  TSeriesTestChart chart;
  auto* c = new TBigCandleSeries(&chart);
  c->SetParentChart(&chart);
  c->SetValueFormat("0.00");  // the axis labels show no decimals
  c->AddOHLCPoint(EncodeDate(2024, 3, 4), 10, 12, 9, 11);
  c->AddOHLCPoint(EncodeDate(2024, 3, 5), 21, 24, 15, 23);
  chart.Pass();
  std::map<std::string, TCanvasCall> byText;
  for (const TCanvasCall& t : chart.Rec->CallsOf("TextOut")) byText.emplace(t.Text, t);
  for (const char* price : {"10.00", "11.00", "12.00", "9.00", "21.00", "23.00", "24.00", "15.00"})
    ASSERT_EQ(byText.count(price), 1u) << price;
  const int x = c->HorizPixelOf(c->XValues()->GetValue(0));
  EXPECT_LT(byText["10.00"].Args[0], x);  // open to the left
  EXPECT_GT(byText["11.00"].Args[0], x);  // close to the right
  EXPECT_EQ(byText["12.00"].Args[0], byText["11.00"].Args[0]);  // high and low share the close's left
  EXPECT_EQ(byText["9.00"].Args[0], byText["11.00"].Args[0]);
  EXPECT_LT(byText["12.00"].Args[1], c->VertPixelOf(12));  // high above its pixel
  EXPECT_GT(byText["9.00"].Args[1], c->VertPixelOf(9));    // low below
}

TEST(HistogramSeries, OutlineStepsAndSeparators) {
  TSeriesTestChart chart;
  auto* h = new THistogramSeries(&chart);
  h->SetParentChart(&chart);
  h->Pen()->SetColor(clBlue);
  h->LinesPen()->SetColor(clLime);
  h->LinesPen()->SetVisible(true);
  for (double y : {1.0, 3.0, 2.0}) h->AddXYPoint(h->PointCount(), y);
  chart.Pass();
  h->FindVisibleRange();
  std::vector<TRect> bars;
  for (int i = 0; i < 3; ++i) bars.push_back(h->BarBounds(i));
  // Each bar is filled from its value to the axis.
  const auto fills = chart.Rec->CallsOf("FillRect");
  int matched = 0;
  for (const TRect& r : bars)
    for (const TCanvasCall& f : fills)
      matched += CallArgs(f) == std::vector<int>{r.Left, r.Top, r.Right, r.Bottom};
  EXPECT_EQ(matched, 3);
  // Outline: the first bar's left side, a top per bar, the steps between
  // bars and the last bar's right side.
  const auto outline = chart.CallsWithPen("LineFromTo", clBlue);
  ASSERT_EQ(outline.size(), 1u + 3 + 2 + 1);
  EXPECT_EQ(CallArgs(outline[0]), (std::vector<int>{bars[0].Left, bars[0].Bottom, bars[0].Left, bars[0].Top}));
  EXPECT_EQ(CallArgs(outline[2]), (std::vector<int>{bars[1].Left, bars[1].Top, bars[1].Left, bars[0].Top}));
  // Separators between neighbours, up to the lower of the two tops.
  const auto separators = chart.CallsWithPen("LineFromTo", clLime);
  ASSERT_EQ(separators.size(), 2u);
  EXPECT_EQ(CallArgs(separators[0]), (std::vector<int>{bars[1].Left, bars[1].Bottom, bars[1].Left, bars[0].Top}));
  EXPECT_EQ(CallArgs(separators[1]), (std::vector<int>{bars[2].Left, bars[2].Bottom, bars[2].Left, bars[2].Top}));
  // No transparency: no blending.
  EXPECT_TRUE(chart.Rec->CallsOf("BeginBlending").empty());
}

TEST(HistogramSeries, HorizontalBarsRunUpTheChart) {
  TSeriesTestChart chart;
  auto* h = new THorizHistogramSeries(&chart);
  h->SetParentChart(&chart);
  for (double x : {2.0, 4.0, 3.0}) h->AddXYPoint(x, h->PointCount());
  chart.Pass();
  h->FindVisibleRange();
  TRect previous = h->BarBounds(0);
  EXPECT_EQ(previous.Left, chart.BottomAxis()->StartPixel);
  EXPECT_EQ(previous.Right, h->PointXPixel(0) + 1);
  for (int i = 1; i < 3; ++i) {
    const TRect r = h->BarBounds(i);
    EXPECT_EQ(r.Bottom, previous.Top + 1) << i;  // stacked upwards, sharing the edge
    EXPECT_LT(r.Top, r.Bottom);
    previous = r;
  }
}

}  // namespace

namespace {

TEST(FinancialSeries, EveryStyleDrawsIn2DAnd3D) {
  for (bool view3D : {false, true}) {
    TSeriesTestChart chart;
    chart.SetView3D(view3D);
    auto* candle = new TCandleSeries(&chart);
    candle->SetParentChart(&chart);
    auto* figure = new TPointFigureSeries(&chart);
    figure->SetParentChart(&chart);
    auto* volume = new TVolumeSeries(&chart);
    volume->SetParentChart(&chart);
    auto* histogram = new THistogramSeries(&chart);
    histogram->SetParentChart(&chart);
    histogram->SetTransparency(30);
    histogram->LinesPen()->SetVisible(true);
    const double day = EncodeDate(2024, 3, 4);
    for (int i = 0; i < 12; ++i) {
      const double mid = 20 + 6 * std::sin(i * 0.9);
      candle->AddOHLCPoint(day + i, mid - 1, mid + 3, mid - 3, mid + (i % 3) - 1);
      figure->AddOHLCPoint(i, mid - 1, mid + 3, mid - 3, mid);
      volume->AddXYPoint(day + i, 5 + i % 4);
      histogram->AddXYPoint(day + i, 2 + i % 5);
    }
    for (TCandleStyle style : {csCandleStick, csCandleBar, csOpenClose, csLine}) {
      candle->SetCandleStyle(style);
      for (bool box : {false, true}) {
        candle->SetCandleDraw3D(box);
        chart.Pass();
        EXPECT_GT(chart.Rec->Calls.size(), 50u) << view3D << style << box;
      }
    }
    EXPECT_GT(figure->BuildColumns(false), 1);
    EXPECT_EQ(chart.Rec->CallsOf("BeginBlending").size(), 12u);
  }
}

}  // namespace

namespace {

TEST(OHLCSeries, ValueListsCopyAndDatesCanBeReplaced) {
  TSeriesTestChart chart;
  auto* a = new TOHLCSeries(&chart);
  auto* b = new TOHLCSeries(&chart);
  for (TOHLCSeries* s : {a, b}) s->SetParentChart(&chart);
  a->AddOHLCPoint(1, 1, 5, 0, 2);
  b->AddOHLCPoint(1, 1, 9, 0, 2);
  // Setting a list takes the other list's settings; the name stays.
  b->HighValues()->SetDateTime(true);
  a->SetHighValues(b->HighValues());
  EXPECT_TRUE(a->HighValues()->DateTime());
  EXPECT_EQ(a->HighValues()->Name(), "High");
  // A handler moving every date to one day puts the week into one group;
  // the group keeps the stored date of its last point.
  const double monday = EncodeDate(2024, 1, 1);
  auto* source = new TOHLCSeries(&chart);
  source->SetParentChart(&chart);
  for (int d = 0; d < 10; ++d) source->AddOHLCPoint(monday + d, 1, 2, 0, 1);
  auto* compress = new TCompressFunction;
  compress->OnGetDate = [&](TCompressFunction*, TChartSeries*, int, double& date) { date = monday; };
  auto* candle = new TCandleSeries(&chart);
  candle->SetParentChart(&chart);
  candle->SetFunctionType(compress);
  candle->AttachSource(source);
  candle->RefreshFromSource();
  ASSERT_EQ(candle->PointCount(), 1);
  EXPECT_EQ(candle->XValueAt(0), monday + 9);
}

}  // namespace
