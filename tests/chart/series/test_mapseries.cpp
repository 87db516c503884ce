// Map series: polygons paired with the map's points through removal,
// exchange and assignment; their Z, text and colour; drawing in 2D and by
// depth; hits; stored maps and damaged polygon streams; sample shapes.
#include <gtest/gtest.h>

#include <random>

#include "chart/series/grafmapseries.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"
#include "seriestest.h"
#include "support/testlocale.h"

namespace {

struct TMapScene {
  TMapScene() {
    map = new TMapSeries(&chart);
    map->SetParentChart(&chart);
    map->SetUseColorRange(false);
    map->Pen()->SetColor(clRed);
  }
  // A square of side 1 at (x, y) with its value.
  TGrafPolygon* Square(double x, double y, double z, const std::string& text = "") {
    TGrafPolygon* p = map->Shapes()->AddPolygon();
    p->AddPoint(x, y);
    p->AddPoint(x + 1, y);
    p->AddPoint(x + 1, y + 1);
    p->AddPoint(x, y + 1);
    p->SetZ(z);
    p->SetText(text);
    return p;
  }
  TSeriesTestChart chart;
  TMapSeries* map;
};

// Polygon i and point i: the same Z, text and colour, one point per polygon.
void ExpectPaired(TMapSeries* m, const std::vector<double>& zs, const std::vector<std::string>& texts) {
  ASSERT_EQ(m->Shapes()->Count(), static_cast<int>(zs.size()));
  ASSERT_EQ(m->PointCount(), static_cast<int>(zs.size()));
  for (size_t i = 0; i < zs.size(); ++i) {
    EXPECT_EQ(m->Shapes()->Polygon(static_cast<int>(i))->Z(), zs[i]) << i;
    EXPECT_EQ(m->ZValues()->GetValue(static_cast<int>(i)), zs[i]) << i;
    EXPECT_EQ(m->Shapes()->Polygon(static_cast<int>(i))->Text(), texts[i]) << i;
  }
}

TEST(MapSeries, PolygonPropertiesLiveInTheMapsPoint) {
  TMapScene s;
  TGrafPolygon* p = s.Square(0, 0, 5, "a");
  EXPECT_EQ(s.map->PointCount(), 1);
  EXPECT_EQ(s.map->PointLabel(0), "a");
  EXPECT_EQ(s.map->ZValues()->GetValue(0), 5);
  p->SetColor(clGreen);
  EXPECT_EQ(s.map->RawPointColor(0), clGreen);
  EXPECT_EQ(p->Color(), clGreen);
  // Axes scale to the polygons, not to the companion points at 0.
  s.Square(3, 4, 1);
  EXPECT_EQ(s.map->LargestX(), 4);
  EXPECT_EQ(s.map->LargestY(), 5);
  EXPECT_EQ(s.map->SmallestX(), 0);
  TMapSeries empty;
  EXPECT_EQ(empty.LargestX(), 0);
  EXPECT_EQ(empty.SmallestY(), 0);
  EXPECT_EQ(empty.IndexAtPoint(1, 1), -1);
}

TEST(MapSeries, RemovalExchangeAndAssignKeepThePairs) {
  TMapScene s;
  for (int i = 0; i < 5; ++i) s.Square(i * 2, 0, i * 10, std::string(1, static_cast<char>('a' + i)));
  s.map->Shapes()->Polygon(3)->SetColor(clBlue);
  s.map->RemovePoint(2);
  ExpectPaired(s.map, {0, 10, 30, 40}, {"a", "b", "d", "e"});
  EXPECT_EQ(s.map->Shapes()->Polygon(2)->Color(), clBlue);
  EXPECT_EQ(s.map->Shapes()->Polygon(2)->Points()->XValues()->GetValue(0), 6);
  TGrafPolygon* first = s.map->Shapes()->Polygon(0);
  s.map->ExchangePoints(0, 3);
  ExpectPaired(s.map, {40, 10, 30, 0}, {"e", "b", "d", "a"});
  EXPECT_EQ(s.map->Shapes()->Polygon(3), first);
  s.map->RemovePointRange(1, 2);
  ExpectPaired(s.map, {40, 0}, {"e", "a"});
  // Assigning: exactly one point per polygon, values and outlines copied.
  TMapScene t;
  t.Square(0, 0, 99);
  t.map->Assign(s.map);
  ExpectPaired(t.map, {40, 0}, {"e", "a"});
  EXPECT_EQ(t.map->Shapes()->Polygon(1)->Points()->PointCount(), 4);
  EXPECT_EQ(t.map->Shapes()->Polygon(0)->Points()->XValues()->GetValue(0), 8);
  s.map->RemoveAllPoints();
  EXPECT_EQ(s.map->Shapes()->Count(), 0);
  EXPECT_EQ(s.map->PointCount(), 0);
  // Polygons leaving through the collection itself take their points along.
  for (int i = 0; i < 3; ++i) s.Square(i * 2, 0, i, std::string(1, static_cast<char>('p' + i)));
  s.map->Shapes()->Delete(1);
  ExpectPaired(s.map, {0, 2}, {"p", "r"});
  s.map->Shapes()->Assign(t.map->Shapes());
  ExpectPaired(s.map, {40, 0}, {"e", "a"});
  s.map->Shapes()->Clear();
  EXPECT_EQ(s.map->PointCount(), 0);
}

TEST(MapSeries, DrawsFlatInOrderAndByDepthIn3D) {
  TMapScene s;
  s.Square(0, 0, 1);
  s.Square(2, 0, 3)->SetClosed(false);
  s.Square(4, 0, 2);
  s.map->SetUsePalette(false);
  s.map->SetUseColorRange(true);
  s.chart.Pass();
  const std::vector<TCanvasCall> polys = s.chart.CallsWithPen("Polygon", clRed);
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[0].BrushColor, s.map->PointColor(0));
  EXPECT_EQ(polys[1].BrushColor, s.map->PointColor(2));
  EXPECT_NE(polys[0].BrushColor, polys[1].BrushColor);
  EXPECT_EQ(s.chart.CallsWithPen("Polyline", clRed).size(), 1u);
  s.chart.SetView3D(true);
  s.chart.Pass();
  const std::vector<TCanvasCall> deep = s.chart.CallsWithPen("PolygonWithZ", clRed);
  ASSERT_EQ(deep.size(), 2u);
  // Largest Z first, each at its own depth.
  EXPECT_EQ(deep[0].Arg(0), s.map->ZPixel(2));
  EXPECT_EQ(deep[1].Arg(0), s.map->ZPixel(0));
  EXPECT_EQ(s.chart.CallsWithPen("PolylineWithZ", clRed).size(), 1u);
}

TEST(MapSeries, HitsAnswerTheTopmostPolygon) {
  TMapScene s;
  s.Square(0, 0, 1);
  s.Square(0.5, 0, 2);  // overlaps the first on the right half
  s.Square(5, 5, 3);
  s.chart.Pass();
  TChartAxis* h = s.map->GetHorizAxis();
  TChartAxis* v = s.map->GetVertAxis();
  auto at = [&](double x, double y) { return s.map->IndexAtPoint(h->ValueToPixelX(x), v->ValueToPixelY(y)); };
  EXPECT_EQ(at(0.25, 0.5), 0);
  EXPECT_EQ(at(0.75, 0.5), 1);
  EXPECT_EQ(at(5.5, 5.5), 2);
  EXPECT_EQ(at(3, 3), -1);
}

TEST(MapSeries, StoredMapReloadsItsPolygons) {
  RegisterClasses({&TChart::StaticClass()});
  RegisterMapSeriesType();
  TChart chart(nullptr);
  chart.SetName("Chart1");
  auto* map = new TMapSeries(&chart);
  map->SetName("Map1");
  map->SetParentChart(&chart);
  for (int i = 0; i < 3; ++i) {
    TGrafPolygon* p = map->Shapes()->AddPolygon();
    p->AddPoint(i, 0.5);
    p->AddPoint(i + 1, 0.5);
    p->AddPoint(i, 2.25);
    p->SetZ(i + 0.5);
    p->SetText(std::string(1, static_cast<char>('x' + i)));
  }
  map->Shapes()->Polygon(1)->SetColor(clLime);
  const std::string text = ComponentToText(&chart);
  {
    TScopedLocale comma;
    ASSERT_TRUE(comma.Active());
    EXPECT_EQ(ComponentToText(&chart), text);
  }
  TChart loaded(nullptr);
  TextToComponent(text, &loaded);
  ASSERT_EQ(loaded.NumberOfSeries(), 1);
  auto* m = dynamic_cast<TMapSeries*>(loaded.SeriesAt(0));
  ASSERT_NE(m, nullptr);
  ExpectPaired(m, {0.5, 1.5, 2.5}, {"x", "y", "z"});
  EXPECT_EQ(m->Shapes()->Polygon(1)->Color(), clLime);
  TPolygonSeries* p2 = m->Shapes()->Polygon(2)->Points();
  ASSERT_EQ(p2->PointCount(), 3);
  EXPECT_EQ(p2->XValues()->GetValue(1), 3);
  EXPECT_EQ(p2->YValues()->GetValue(2), 2.25);

  // A stored map whose polygon stream lost its last bytes is refused.
  const size_t data = text.find("Data = {");
  ASSERT_NE(data, std::string::npos) << text;
  const size_t close = text.find('}', data);
  std::string damaged = text;
  damaged.erase(close - 8, 8);
  TChart refused(nullptr);
  try {
    TextToComponent(damaged, &refused);
    ADD_FAILURE() << "damaged map accepted";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("damaged"), std::string::npos) << e.what();
  }

  // A damaged polygon stream is refused and the polygon keeps its points.
  TMemoryStream good;
  p2->SavePointData(&good);
  for (int64_t cut : {int64_t{3}, good.Size() - 1}) {
    TMemoryStream bad;
    bad.WriteBuffer(good.Memory(), cut);
    bad.SetPosition(0);
    EXPECT_THROW(p2->LoadPointData(&bad), EReadError) << cut;
    EXPECT_EQ(p2->PointCount(), 3);
  }
}

TEST(MapSeries, SampleShapes) {
  TMapScene s;
  std::mt19937 gen(11);
  s.map->SampleRandom = [&](int range) { return static_cast<int>(gen() % static_cast<unsigned>(range)) + 1; };
  s.map->GenerateRandomPoints(14, false);
  ASSERT_EQ(s.map->Shapes()->Count(), 14);
  ASSERT_EQ(s.map->PointCount(), 14);
  EXPECT_EQ(s.map->Shapes()->Polygon(0)->Text(), "A");
  EXPECT_EQ(s.map->Shapes()->Polygon(11)->Text(), "L");
  EXPECT_EQ(s.map->Shapes()->Polygon(12)->Text(), "A");
  TPolygonSeries* a = s.map->Shapes()->Polygon(12)->Points();
  ASSERT_EQ(a->PointCount(), 14);
  EXPECT_EQ(a->XValues()->GetValue(0), 1);
  EXPECT_EQ(a->YValues()->GetValue(0), 7);
  // The fourteenth is shifted (the generator here never answers 0).
  TPolygonSeries* b = s.map->Shapes()->Polygon(13)->Points();
  EXPECT_GT(b->XValues()->GetValue(0), 5);
  EXPECT_GT(b->YValues()->GetValue(0), 4);
  RegisterMapSeriesType();
  TGrafSeriesType* t = SeriesTypeRegistry()->EntryForClass(&TMapSeries::StaticClass());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(*t->Description, "Map");
  EXPECT_EQ(*t->GalleryPage, "Extended");
}

}  // namespace
