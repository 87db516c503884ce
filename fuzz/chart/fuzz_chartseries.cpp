// Mutation driver of the chart series' binary streams.
//
// Targets:
//   palette  TCustom3DPaletteSeries::ReadCustomPalette ("CustomPalette")
//   data     TChartSeries::LoadPointData ("Data") into a line series and
//            into a surface series (one more value list)
// Rules: only the layer's exceptions come out; a refused stream leaves the
// series as it was; what was read writes a stream that reads back equal.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../platform/fuzzdriver.h"
#include "chart/series/grafsurfa.h"
#include "chart/series/series.h"
#include "platform/rtl/streams.h"

void EnsureQtApplication();  // the drawing layer's Qt start-up

namespace {

std::string Saved(const std::function<void(TStream*)>& write) {
  TMemoryStream m;
  write(&m);
  return std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

TMemoryStream* Fill(TMemoryStream& m, const std::string& bytes) {
  if (!bytes.empty()) m.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  m.SetPosition(0);
  return &m;
}

std::vector<std::string> PaletteSeeds() {
  TSurfaceSeries s(nullptr);
  std::vector<std::string> seeds{Saved([&](TStream* m) { s.WriteCustomPalette(m); })};
  s.AddPaletteEntry(clRed, 1);
  s.AddPaletteEntry(clBlue, 2.5);
  s.AddPaletteEntry(0x123456, -1e300);
  seeds.push_back(Saved([&](TStream* m) { s.WriteCustomPalette(m); }));
  return seeds;
}

void RunPalette(const std::string& bytes) {
  fuzzdriver::ExpectLayerErrors([&] {
    TSurfaceSeries s(nullptr);
    s.AddPaletteEntry(clGreen, 7);
    TMemoryStream m;
    try {
      s.ReadCustomPalette(Fill(m, bytes));
    } catch (const Exception&) {
      if (s.Palette().size() != 1 || s.Palette()[0].Color != clGreen)
        fuzzdriver::Fault("a refused palette changed the series");
      throw;
    }
    const std::string again = Saved([&](TStream* w) { s.WriteCustomPalette(w); });
    TSurfaceSeries back(nullptr);
    TMemoryStream m2;
    back.ReadCustomPalette(Fill(m2, again));
    if (back.Palette().size() != s.Palette().size()) fuzzdriver::Fault("the palette does not read back");
  });
}

std::vector<std::string> DataSeeds() {
  std::vector<std::string> seeds;
  TLineSeries l(nullptr);
  seeds.push_back(Saved([&](TStream* m) { l.SavePointData(m); }));
  l.AddXYPoint(0.5, 1, "one", clRed);
  l.AddXYPoint(2.5, 2, "");
  l.AddXYPoint(4.5, 3, "three");
  seeds.push_back(Saved([&](TStream* m) { l.SavePointData(m); }));
  TSurfaceSeries s(nullptr);
  s.AddPoint3D(0, 1, 2);
  s.AddPoint3D(1, 2, 3);
  seeds.push_back(Saved([&](TStream* m) { s.SavePointData(m); }));
  return seeds;
}

void LoadInto(TChartSeries& s, const std::string& bytes) {
  const int before = s.PointCount();
  TMemoryStream m;
  try {
    s.LoadPointData(Fill(m, bytes));
  } catch (const Exception&) {
    if (s.PointCount() != before) fuzzdriver::Fault("a refused point stream changed the series");
    throw;
  }
  if (s.PointCount() > 0 && s.PointCount() < 4096) {
    const std::string again = Saved([&](TStream* w) { s.SavePointData(w); });
    TMemoryStream m2;
    s.LoadPointData(Fill(m2, again));
  }
}

void RunData(const std::string& bytes) {
  fuzzdriver::ExpectLayerErrors([&] {
    TLineSeries l(nullptr);
    l.AddXYPoint(1, 1);
    LoadInto(l, bytes);
  });
  fuzzdriver::ExpectLayerErrors([&] {
    TSurfaceSeries s(nullptr);
    s.AddPoint3D(1, 1, 1);
    LoadInto(s, bytes);
  });
}

}  // namespace

int main(int argc, char** argv) {
  EnsureQtApplication();
  std::vector<fuzzdriver::TTarget> targets;
  const std::vector<std::string> numbers{std::string("\x00\x00\x00\x00", 4), std::string("\xFF\xFF\xFF\x7F", 4),
                                         std::string("\x00\x00\x00\x80", 4), std::string("\xFF", 1),
                                         std::string("\x0F", 1), std::string("\x00\x00\xF0\x7F", 4)};
  targets.push_back({"palette", PaletteSeeds(), RunPalette, numbers});
  targets.push_back({"data", DataSeeds(), RunData, numbers});
  return fuzzdriver::Main(argc, argv, "fuzz-chartseries", targets);
}
