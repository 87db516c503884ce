// Data sources of a series and the binary point stream "Data".
#include <gtest/gtest.h>

#include <cstring>

#include "chart/core/testseries.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"

namespace {

std::vector<uint8_t> Saved(TChartSeries& s) {
  TMemoryStream m;
  s.SavePointData(&m);
  return std::vector<uint8_t>(m.Memory(), m.Memory() + m.Size());
}

double DoubleAt(const std::vector<uint8_t>& b, size_t offset) {
  double d;
  std::memcpy(&d, b.data() + offset, 8);
  return d;
}

TEST(PointStream, LayoutsByContent) {
  struct Case {
    const char* name;
    std::vector<double> xs;
    std::string label;
    TColor color;
    int flags;
    size_t size;
  };
  const Case cases[] = {
      {"implicit X", {0, 1, 2, 3, 4}, "", clDefault, 0, 5 + 5 * 8},
      {"explicit X", {0, 2, 4, 6, 8}, "", clDefault, 1, 5 + 5 * 16},
      {"a label", {0, 1, 2, 3, 4}, "Jan", clDefault, 4, 5 + 5 * 8 + 5 + 3},
      {"a colour", {0, 1, 2, 3, 4}, "", clRed, 2, 5 + 5 * 12},
  };
  for (const Case& c : cases) {
    TTestSeries s;
    for (size_t i = 0; i < c.xs.size(); ++i)
      s.AddXYPoint(c.xs[i], 10.0 * i, i == 0 ? c.label : "", i == 0 ? c.color : clDefault);
    const std::vector<uint8_t> b = Saved(s);
    ASSERT_EQ(b.size(), c.size) << c.name;
    EXPECT_EQ(b[0], c.flags) << c.name;
    int32_t n;
    std::memcpy(&n, b.data() + 1, 4);
    EXPECT_EQ(n, 5) << c.name;
  }
  // The label record: length byte, then the characters.
  TTestSeries s;
  s.AddXYPoint(0, 7, "Jan");
  const std::vector<uint8_t> b = Saved(s);
  ASSERT_EQ(b.size(), 5u + 8 + 1 + 3);
  EXPECT_EQ(DoubleAt(b, 5), 7.0);
  EXPECT_EQ(b[13], 3);
  EXPECT_EQ(std::string(b.begin() + 14, b.end()), "Jan");
}

TEST(PointStream, ReadsBackEqualAndReplacesPoints) {
  TTestSeries a;
  a.AddXYPoint(0.5, 1, "one", clRed);
  a.AddXYPoint(2.5, 2, "");
  a.AddXYPoint(4.5, 3, "three");
  TMemoryStream m;
  a.SavePointData(&m);
  TTestSeries b;
  b.AddXYPoint(100, 100);
  int beforeAdds = 0;
  b.OnBeforeAdd = [&](TChartSeries*) {
    ++beforeAdds;
    return true;
  };
  m.SetPosition(0);
  b.LoadPointData(&m);
  EXPECT_EQ(beforeAdds, 3);
  ASSERT_EQ(b.PointCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(b.XValues()->GetValue(i), a.XValues()->GetValue(i));
    EXPECT_EQ(b.YValues()->GetValue(i), a.YValues()->GetValue(i));
    EXPECT_EQ(b.PointLabel(i), a.PointLabel(i));
    EXPECT_EQ(b.RawPointColor(i), a.RawPointColor(i));
  }
  EXPECT_TRUE(b.ManualData);
}

TEST(PointStream, HorizontalSeriesKeepsXAsTheMainValue) {
  class THorizontal : public TTestSeries {
  public:
    THorizontal() {
      SetHorizontalOrientation();
      XValues()->SetOrder(loNone);
      YValues()->SetOrder(loAscending);
    }
  };
  THorizontal a;
  a.AddXYPoint(30, 0);
  a.AddXYPoint(10, 2);
  const std::vector<uint8_t> b = Saved(a);
  ASSERT_EQ(b[0], 1);  // Y (the other list) is not 0..n-1
  EXPECT_EQ(DoubleAt(b, 5), 0.0);    // other value
  EXPECT_EQ(DoubleAt(b, 13), 30.0);  // main value
  THorizontal c;
  TMemoryStream m;
  a.SavePointData(&m);
  m.SetPosition(0);
  c.LoadPointData(&m);
  ASSERT_EQ(c.PointCount(), 2);
  EXPECT_EQ(c.XValues()->GetValue(1), 10.0);
  EXPECT_EQ(c.YValues()->GetValue(1), 2.0);
}

TEST(PointStream, LongLabelsAreCutToTheLengthByte) {
  TTestSeries a;
  a.AddXYPoint(0, 1, std::string(300, 'q'));
  const std::vector<uint8_t> b = Saved(a);
  EXPECT_EQ(b[13], 255);
  EXPECT_EQ(b.size(), 5u + 8 + 1 + 255);
  TTestSeries c;
  TMemoryStream m;
  a.SavePointData(&m);
  m.SetPosition(0);
  c.LoadPointData(&m);
  EXPECT_EQ(c.PointLabel(0), std::string(255, 'q'));
}

TEST(PointStream, DamagedStreamsAreRefusedAndPointsKept) {
  auto stream = [](std::vector<uint8_t> bytes) {
    auto m = std::make_unique<TMemoryStream>();
    m->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    m->SetPosition(0);
    return m;
  };
  const std::vector<std::vector<uint8_t>> damaged = {
      {0x00, 0x01},                                    // shorter than the header
      {0x00, 0xE8, 0x03, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0},  // 1000 points, one value
      {0x00, 0xFF, 0xFF, 0xFF, 0xFF},                  // a negative count
      {0x40, 0x00, 0x00, 0x00, 0x00},                  // an unknown flag
      // one labelled point whose label runs past the end
      {0x04, 0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 200, 'a', 'b'},
  };
  for (size_t k = 0; k < damaged.size(); ++k) {
    TTestSeries s;
    s.AddXYPoint(1, 2, "kept");
    auto m = stream(damaged[k]);
    EXPECT_THROW(s.LoadPointData(m.get()), EReadError) << k;
    ASSERT_EQ(s.PointCount(), 1) << k;
    EXPECT_EQ(s.PointLabel(0), "kept") << k;
  }
}

TEST(PointStream, TravelsAsTheDataPropertyOfAStoredSeries) {
  RegisterTestChartClasses();
  TTestSeries a;
  a.SetName("S1");
  for (int i = 0; i < 5; ++i) a.AddXYPoint(i, i * 2.5);
  TMemoryStream m;
  WriteComponentToStream(m, &a);
  m.SetPosition(0);
  std::unique_ptr<TComponent> c(ReadComponentFromStream(m, nullptr));
  auto* b = dynamic_cast<TTestSeries*>(c.get());
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->PointCount(), 5);
  EXPECT_EQ(b->YValues()->GetValue(4), 10.0);
  // Points that are not the series' own are not stored.
  TTestSeries d;
  d.AddXYPoint(1, 1);
  d.DontSaveData = true;
  EXPECT_EQ(ComponentToText(&d).find("Data"), std::string::npos);
  d.ForceSaveData = true;
  EXPECT_NE(ComponentToText(&d).find("Data"), std::string::npos);
}

// ---- Sources ---------------------------------------------------------------------------

TEST(SeriesSources, SameSourceTwiceKeepsOneEntry) {
  TTestChart chart;
  auto* a = new TTestSeries(&chart);
  auto* b = new TTestSeries(&chart);
  a->SetParentChart(&chart);
  b->SetParentChart(&chart);
  b->SetDataSource(a);
  EXPECT_EQ(b->DataSources()->AddSource(a), -1);
  EXPECT_EQ(b->DataSources()->Count(), 1);
  EXPECT_EQ(a->Dependents()->Count(), 1);
  EXPECT_FALSE(b->ManualData);
}

TEST(SeriesSources, CircularAndInvalidSourcesAreRefused) {
  TTestChart chart;
  auto* a = new TTestSeries(&chart);
  auto* b = new TTestSeries(&chart);
  auto* c = new TTestSeries(&chart);
  for (TTestSeries* s : {a, b, c}) s->SetParentChart(&chart);
  b->SetDataSource(a);
  c->SetDataSource(b);
  try {
    a->SetDataSource(c);
    FAIL();
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Circular Series dependences are not allowed");
  }
  EXPECT_EQ(a->DataSources()->Count(), 0);
  TComponent plain(nullptr);
  plain.SetName("Plain");
  try {
    a->SetDataSource(&plain);
    FAIL();
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "No valid DataSource: Plain");
  }
  TTestSeries loose;
  try {
    loose.SetDataSource(&plain);
    FAIL();
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "No ParentChart to validate DataSource");
  }
}

TEST(SeriesSources, RemovingTheSourceRefillsAndFreeingASourceUnlinks) {
  TTestChart chart;
  auto* a = new TTestSeries(&chart);
  auto* b = new TTestSeries(&chart);
  a->SetParentChart(&chart);
  b->SetParentChart(&chart);
  a->AddXYPoint(1, 1);
  b->SetDataSource(a);
  EXPECT_EQ(b->PointCount(), 1);
  b->SetDataSource(nullptr);
  EXPECT_EQ(b->DataSources()->Count(), 0);
  EXPECT_EQ(b->PointCount(), 0);  // not manual: the points go with the source
  EXPECT_EQ(a->Dependents()->Count(), 0);
  b->SetDataSource(a);
  delete a;
  EXPECT_EQ(b->DataSources()->Count(), 0);
}

TEST(SeriesSources, OneSourceStreamsAsDataSourceTwoAsDataSources) {
  RegisterTestChartClasses();
  TComponent form(nullptr);
  auto* chart = new TTestChart(&form, 200, 150, false);
  chart->SetName("Chart1");
  auto* a = new TTestSeries(&form);
  auto* b = new TTestSeries(&form);
  auto* sum = new TTestSeries(&form);
  a->SetName("A");
  b->SetName("B");
  sum->SetName("Sum");
  for (TTestSeries* s : {a, b, sum}) s->SetParentChart(chart);
  sum->SetDataSource(a);
  std::string text = ComponentToText(sum);
  EXPECT_EQ(text.find("DataSources"), std::string::npos);
  sum->DataSources()->AddSource(b);
  text = ComponentToText(sum);
  EXPECT_NE(text.find("DataSources"), std::string::npos);
}

// A source component that fills its series with three points.
class TListSource : public TGrafSeriesSource {
public:
  using TGrafSeriesSource::TGrafSeriesSource;
  void Load() override {
    ++Loads;
    if (!Series()) return;
    Series()->RemoveAllPoints();
    for (int i = 0; i < 3; ++i) Series()->AddXYPoint(i, 10 * i);
  }
  int Loads = 0;
};

TEST(SeriesSources, SourceComponentsFillTheirSeriesWhileActive) {
  TTestChart chart;
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  auto* source = new TListSource(nullptr);
  source->SetSeries(s);
  EXPECT_EQ(s->DataSource(), source);
  EXPECT_EQ(source->Loads, 0);  // inactive at creation
  source->Open();
  EXPECT_EQ(source->Loads, 1);
  EXPECT_EQ(s->PointCount(), 3);
  EXPECT_FALSE(s->ManualData);
  EXPECT_TRUE(source->FeedsSeries(s));
  source->Close();
  EXPECT_EQ(s->PointCount(), 0);
  source->LoadMode = true;
  source->Open();
  source->Close();
  EXPECT_EQ(s->PointCount(), 3);  // load mode keeps the points
  delete source;
  EXPECT_EQ(s->DataSource(), nullptr);
  auto* again = new TListSource(nullptr);
  again->SetSeries(s);
  delete s;  // the source forgets the freed series
  EXPECT_EQ(again->Series(), nullptr);
  delete again;
}

}  // namespace
