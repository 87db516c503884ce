// The palette series base (colour range, generated and custom palettes,
// legend rows, the "CustomPalette" stream) and the grid series base.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "chart/core/chart.h"
#include "chart/series/grafcontour.h"
#include "chart/series/grafpoin3.h"
#include "chart/series/grafsurfa.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"

namespace {

// A plain grid series (the palette and grid bases have no drawing of their own).
TSurfaceSeries* NewSeries(std::initializer_list<double> ys) {
  auto* s = new TSurfaceSeries(nullptr);
  double x = 0;
  for (double y : ys) s->AddPoint3D(x++, y, 1);
  return s;
}

TEST(Palette, ColourRangeOverTheYValues) {
  std::unique_ptr<TSurfaceSeries> s(NewSeries({0, 10}));
  s->UpdateRangeScale();
  // Defaults: white at the lowest value, navy at the highest, the per-channel
  // midpoint (halves to even: 255 - 127.5 -> 127, 255 - 63.5 -> 191) between.
  EXPECT_EQ(s->ColorOfValue(0), 0xFFFFFF);
  EXPECT_EQ(s->ColorOfValue(10), 0x800000);
  EXPECT_EQ(s->ColorOfValue(5), 0xBF7F7F);
  EXPECT_EQ(s->ColorOfValue(-1), 0xFFFFFF);  // below the range
  EXPECT_EQ(s->ColorOfValue(11), 0x800000);  // above it
  s->SetMidColor(0x00FF00);
  EXPECT_EQ(s->ColorOfValue(5), 0x00FF00);
  // Equal values: the end colour everywhere.
  std::unique_ptr<TSurfaceSeries> flat(NewSeries({3, 3}));
  flat->UpdateRangeScale();
  EXPECT_EQ(flat->ColorOfValue(3), 0xFFFFFF);
}

TEST(Palette, EntriesStayAscending) {
  TSurfaceSeries s(nullptr);
  EXPECT_EQ(s.AddPaletteEntry(clRed, 5), 0);
  EXPECT_EQ(s.AddPaletteEntry(clGreen, 1), 0);
  EXPECT_EQ(s.AddPaletteEntry(clBlue, 3), 1);
  const std::vector<TGrafPaletteEntry> expected = {{1, clGreen}, {3, clBlue}, {5, clRed}};
  EXPECT_EQ(s.Palette(), expected);
  // A value belongs to the first entry above it; above the last, the last.
  const std::pair<double, TColor> lookups[] = {{0, clGreen}, {1, clBlue}, {2.9, clBlue}, {3, clRed}, {99, clRed}};
  for (auto [v, c] : lookups) EXPECT_EQ(s.PaletteColorOf(v), c) << v;
}

TEST(Palette, GeneratedStyles) {
  std::unique_ptr<TSurfaceSeries> s(NewSeries({}));
  for (int y = 0; y < 32; ++y) s->AddPoint3D(y, y, 1);
  s->SetPaletteStyle(psGrayScale);
  s->BuildPalette(32);
  ASSERT_EQ(s->Palette().size(), 32u);
  for (int i = 0; i < 32; ++i) {
    const int g = static_cast<int>(std::nearbyint(i * 255.0 / 32));
    EXPECT_EQ(s->Palette()[static_cast<size_t>(i)].UpToValue, i);
    EXPECT_EQ(s->Palette()[static_cast<size_t>(i)].Color, g * 0x010101) << i;
  }
  s->SetPaletteStyle(psRainbow);
  s->BuildPalette(26);
  EXPECT_EQ(s->Palette()[0].Color, 0x000099);
  EXPECT_EQ(s->Palette()[24].Color, 0xFF00CC);
  EXPECT_EQ(s->Palette()[25].Color, 0x000099);  // the table repeats
  s->SetPaletteStyle(psPale);
  s->BuildPalette(2);
  EXPECT_EQ(s->Palette()[0].Color, 127 + 127 * 256 + 254 * 65536);  // (sin 0 + 1), (sin 0 + 1), (cos 0 + 1) x 127
  EXPECT_EQ(s->Palette()[1].Color, 216 + 254 * 256 + 127 * 65536);  // angle pi / 2: sin(pi / 4) truncated
  // PaletteSteps of 0 or below: an empty palette, and colours fall back.
  s->SetPaletteSteps(-5);
  EXPECT_TRUE(s->Palette().empty());
}

TEST(Palette, CustomStyleKeepsColoursAndRespacesValues) {
  std::unique_ptr<TSurfaceSeries> s(NewSeries({0, 12}));
  s->SetPaletteStyle(psCustom);
  s->ClearPaletteEntries();
  s->AddPaletteEntry(clRed, 0);
  s->AddPaletteEntry(clGreen, 1);
  s->AddPaletteEntry(clBlue, 2);
  s->SetPaletteSteps(7);  // rebuilds: step (12 - 0) / 6
  ASSERT_EQ(s->Palette().size(), 7u);
  const TColor colours[] = {clRed, clGreen, clBlue, clRed, clGreen, clBlue, clRed};
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(s->Palette()[i].Color, colours[i]) << i;
    EXPECT_EQ(s->Palette()[i].UpToValue, 2.0 * static_cast<double>(i)) << i;
  }
}

TEST(Palette, LegendRowsFromTheTopEntryDown) {
  struct Case {
    int entries, every, rows;
    std::vector<int> indices;
  };
  const Case cases[] = {{32, 2, 16, {31, 29, 27}}, {33, 2, 17, {32, 30, 28}}, {5, 1, 5, {4, 3, 2}}};
  for (const Case& c : cases) {
    std::unique_ptr<TSurfaceSeries> s(NewSeries({0, 1}));
    s->SetValueFormat("0");
    s->SetUsePalette(true);
    s->SetUseColorRange(false);
    s->ClearPaletteEntries();
    for (int i = 0; i < c.entries; ++i) s->AddPaletteEntry(static_cast<TColor>(i), i);
    s->SetLegendEvery(c.every);
    ASSERT_EQ(s->LegendEntryCount(), c.rows) << c.entries;
    for (size_t r = 0; r < c.indices.size(); ++r) {
      EXPECT_EQ(s->LegendPaletteIndex(static_cast<int>(r)), c.indices[r]);
      EXPECT_EQ(s->ComposeLegendText(static_cast<int>(r), ltsPlain), std::to_string(c.indices[r]));
      EXPECT_EQ(s->LegendSymbolColor(static_cast<int>(r)), c.indices[r]);
    }
    EXPECT_EQ(s->LegendPaletteIndex(c.rows - 1), (c.entries - 1) % c.every);
    EXPECT_EQ(s->ComposeLegendText(c.rows, ltsPlain), "");
  }
}

TEST(Palette, PointColourFromRangePaletteOrOwnColour) {
  std::unique_ptr<TSurfaceSeries> s(NewSeries({0, 10}));
  s->AddXYPoint(2, 5, "", clNone);  // a null point keeps its colour
  s->UpdateRangeScale();
  EXPECT_EQ(s->PointColor(0), 0xFFFFFF);
  EXPECT_EQ(s->PointColor(2), clNone);
  s->OnGetColor = [](TChartSeries*, int i, TColor& c) {
    if (i == 1) c = clLime;
  };
  EXPECT_EQ(s->PointColor(1), clLime);
}

// ---- The "CustomPalette" stream ---------------------------------------------------------------

std::vector<uint8_t> Bytes(TMemoryStream& m) {
  const auto* p = static_cast<const uint8_t*>(m.Memory());
  return std::vector<uint8_t>(p, p + m.Size());
}

TEST(Palette, CustomPaletteStreamRoundTripsBitForBit) {
  TSurfaceSeries a(nullptr);
  a.AddPaletteEntry(0x123456, -1.0 / 3);
  a.AddPaletteEntry(static_cast<TColor>(0x7FFFFFFF), 1e300);
  a.AddPaletteEntry(0, 5e-324);
  TMemoryStream m;
  a.WriteCustomPalette(&m);
  EXPECT_EQ(m.Size(), 4 + 3 * 12);
  m.SetPosition(0);
  TSurfaceSeries b(nullptr);
  b.ReadCustomPalette(&m);
  ASSERT_EQ(b.Palette().size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(std::memcmp(&a.Palette()[i].UpToValue, &b.Palette()[i].UpToValue, sizeof(double)), 0);
    EXPECT_EQ(a.Palette()[i].Color, b.Palette()[i].Color);
  }
}

TEST(Palette, DamagedCustomPaletteIsRefusedAndLosesNothing) {
  TSurfaceSeries source(nullptr);
  source.AddPaletteEntry(clRed, 1);
  source.AddPaletteEntry(clBlue, 2);
  TMemoryStream good;
  source.WriteCustomPalette(&good);
  const std::vector<uint8_t> bytes = Bytes(good);

  auto withCount = [&](int32_t n, size_t keep) {
    std::vector<uint8_t> b(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(keep));
    if (b.size() >= 4) std::memcpy(b.data(), &n, 4);
    return b;
  };
  const std::vector<uint8_t> fixtures[] = {
      withCount(2, bytes.size() - 1),  // truncated in the last entry
      withCount(-1, bytes.size()),     // negative count
      withCount(0x7FFFFFFF, bytes.size()),  // a count far beyond the bytes
      withCount(3, bytes.size()),      // one entry more than there is
      std::vector<uint8_t>{1, 0},      // not even a count
  };
  for (const auto& f : fixtures) {
    TSurfaceSeries target(nullptr);
    target.AddPaletteEntry(clGreen, 7);
    TMemoryStream m;
    if (!f.empty()) m.WriteBuffer(f.data(), static_cast<int64_t>(f.size()));
    m.SetPosition(0);
    EXPECT_THROW(target.ReadCustomPalette(&m), EReadError);
    ASSERT_EQ(target.Palette().size(), 1u);
    EXPECT_EQ(target.Palette()[0], (TGrafPaletteEntry{7, clGreen}));
  }
}

TEST(Palette, StoredSeriesCarriesItsCustomPaletteAndPoints) {
  RegisterGridSeriesTypes();
  RegisterClasses({&TSurfaceSeries::StaticClass()});
  TSurfaceSeries a(nullptr);
  a.SetName("Map");
  a.AddPoint3D(1, 2.5, 3);
  a.AddPoint3D(2, -1, 4);
  a.ManualData = true;
  EXPECT_EQ(ComponentToText(&a).find("CustomPalette"), std::string::npos);
  a.SetPaletteStyle(psCustom);
  a.AddPaletteEntry(0x0000FF, 0.125);
  a.AddPaletteEntry(0x00FF00, 1e10);
  EXPECT_NE(ComponentToText(&a).find("CustomPalette"), std::string::npos);
  TMemoryStream m;
  WriteComponentToStream(m, &a);
  m.SetPosition(0);
  std::unique_ptr<TComponent> c(ReadComponentFromStream(m, nullptr));
  auto* b = dynamic_cast<TSurfaceSeries*>(c.get());
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Palette(), a.Palette());
  ASSERT_EQ(b->PointCount(), 2);
  EXPECT_EQ(b->ZValueAt(1), 4);
  EXPECT_EQ(b->YValueAt(0), 2.5);
}

// ---- Grid index -------------------------------------------------------------------------------------

TEST(Grid, RegularGridTakesItsSizeFromThePoints) {
  TSurfaceSeries s(nullptr);
  s.SetNumXValues(40);
  for (double z : {5, 6})
    for (double x : {1, 2, 3})
      if (!(x == 2 && z == 6)) s.AddPoint3D(x, x * z, z);
  s.RebuildGridIndex();
  EXPECT_EQ(s.NumXValues(), 3);
  EXPECT_EQ(s.NumZValues(), 2);
  EXPECT_EQ(s.GridIndex(1, 1), 0);
  EXPECT_EQ(s.GridIndex(3, 1), 2);
  EXPECT_EQ(s.GridIndex(3, 2), 4);
  EXPECT_EQ(s.GridIndex(2, 2), -1);  // the missing pair
  EXPECT_EQ(s.GridIndex(0, 1), -1);
  s.DX = s.DZ = 1;
  EXPECT_TRUE(s.FetchCell(2, 1) == false);  // needs (2, 2)
}

TEST(Grid, IrregularGridSortsDistinctValues) {
  TSurfaceSeries s(nullptr);
  s.SetIrregularGrid(true);
  s.AddPoint3D(0.5, 1, 7);
  s.AddPoint3D(0.25, 2, 7);
  s.AddPoint3D(0.5, 3, 7);  // replaces the first at the same place
  s.RebuildGridIndex();
  EXPECT_EQ(s.NumXValues(), 2);
  EXPECT_EQ(s.NumZValues(), 1);
  EXPECT_EQ(s.GridIndex(1, 1), 1);
  EXPECT_EQ(s.GridIndex(2, 1), 2);
  // More distinct values than any fixed table would hold.
  TSurfaceSeries wide(nullptr);
  wide.SetIrregularGrid(true);
  for (int i = 0; i < 30000; ++i) wide.AddPoint3D(30000 - i + 0.5, i, i % 2);
  wide.RebuildGridIndex();
  EXPECT_EQ(wide.NumXValues(), 30000);
  EXPECT_EQ(wide.NumZValues(), 2);
  EXPECT_EQ(wide.GridIndex(30000, 1), 0);
}

TEST(Grid, AStrayFarPointIsRefusedOnceNotAllocated) {
  TSurfaceSeries s(nullptr);
  int reports = 0;
  s.OnGridRefused = [&](TCustom3DGridSeries*, int64_t cells) {
    ++reports;
    EXPECT_GT(cells, TCustom3DGridSeries::MaxGridCells);
  };
  s.AddPoint3D(1, 1, 1);
  s.AddPoint3D(2, 1, 1);
  s.AddPoint3D(1e9, 1, 2);
  s.RebuildGridIndex();
  s.RebuildGridIndex();
  EXPECT_TRUE(s.GridRefused());
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(s.GridIndex(1, 1), -1);
  s.RemoveAllPoints();
  s.AddPoint3D(1, 1, 1);
  s.RebuildGridIndex();
  EXPECT_FALSE(s.GridRefused());
  EXPECT_EQ(s.GridIndex(1, 1), 0);
}

TEST(Grid, SizeChangesAndGeneratedValues) {
  TSurfaceSeries s(nullptr);
  s.AddPoint3D(1, 1, 1);
  s.SetNumXValues(10);  // unchanged: the points stay
  EXPECT_EQ(s.PointCount(), 1);
  s.SetNumXValues(4);  // changed: points removed, none made at run time
  EXPECT_EQ(s.PointCount(), 0);
  s.OnGetYValue = [](TChartSeries*, int x, int z) { return x * 10.0 + z; };
  s.SetNumZValues(3);
  ASSERT_EQ(s.PointCount(), 12);
  // Rows outer, columns inner.
  EXPECT_EQ(s.XValueAt(1), 2);
  EXPECT_EQ(s.ZValueAt(1), 1);
  EXPECT_EQ(s.YValueAt(11), 43);
  EXPECT_FALSE(s.Palette().empty());
}

}  // namespace

namespace {

TEST(Grid, ACopyFromAnotherGridTakesItsSizeAndIndex) {
  TChart chart(nullptr);
  auto* source = new TSurfaceSeries(&chart);
  auto* copy = new TContourSeries(&chart);
  source->SetParentChart(&chart);
  copy->SetParentChart(&chart);
  for (int z = 1; z <= 3; ++z)
    for (int x = 1; x <= 4; ++x) source->AddPoint3D(x, x * z, z);
  source->RebuildGridIndex();
  EXPECT_TRUE(copy->AcceptsSeriesAsSource(source));
  EXPECT_FALSE(copy->AcceptsSeriesAsSource(nullptr));
  copy->SetDataSource(source);
  ASSERT_EQ(copy->PointCount(), 12);
  EXPECT_EQ(copy->NumXValues(), 4);
  EXPECT_EQ(copy->NumZValues(), 3);
  EXPECT_EQ(copy->GridIndex(4, 3), 11);
  EXPECT_EQ(copy->ZValueAt(11), 3);
}

TEST(Gallery, SubStylesOfTheThreeDSeries) {
  auto names = [](TChartSeries* s) {
    std::vector<std::string> v;
    s->EnumGalleryStyles([&](const std::string& t) { v.push_back(t); });
    return v;
  };
  TSurfaceSeries surface(nullptr);
  TWaterFallSeries water(nullptr);
  TContourSeries contour(nullptr);
  TPoint3DSeries points(nullptr);
  TBubble3DSeries bubbles(nullptr);
  EXPECT_EQ(names(&surface),
            (std::vector<std::string>{"Normal", "Color Range", "Wireframe", "Dot Frame", "Sides", "No Border"}));
  EXPECT_EQ(names(&water).back(), "No Lines");
  EXPECT_EQ(names(&contour), (std::vector<std::string>{"Normal", "Color Range", "Colors", "Positions"}));
  EXPECT_EQ(names(&points).size(), 15u);
  EXPECT_EQ(names(&bubbles).size(), 8u);  // no pointer shapes for bubbles

  surface.ApplyGalleryStyle(&surface, 2);
  EXPECT_TRUE(surface.WireFrame());
  surface.ApplyGalleryStyle(&surface, 4);
  EXPECT_EQ(surface.SideBrush()->Style(), bsSolid);
  surface.SetUseColorRange(false);
  surface.ApplyGalleryStyle(&surface, 1);
  EXPECT_TRUE(surface.UseColorRange());
  water.ApplyGalleryStyle(&water, 6);
  EXPECT_FALSE(water.WaterLines()->Visible());
  contour.ApplyGalleryStyle(&contour, 3);
  EXPECT_TRUE(contour.YPositionLevel());
  points.ApplyGalleryStyle(&points, 2);
  EXPECT_TRUE(points.BaseLine()->Visible());
  points.ApplyGalleryStyle(&points, 14);
  EXPECT_EQ(points.Pointer()->Style(), psDiamond);
}

}  // namespace
