// The Fourier map road: a 64 x 64 grid of a density with a 15-band palette,
// drawn on the raster canvas as contour lines, as a surface and as a cloud
// of 3D points; each picture is compared with a reviewed one.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/golden.h"
#include "chart/series/grafcontour.h"
#include "chart/series/grafpoin3.h"
#include "chart/series/grafsurfa.h"
#include "platform/gfx/bitmap.h"

namespace {

constexpr int kGrid = 64;
constexpr int kBands = 15;

// Two atoms and a hole: a deterministic stand-in for a difference map.
double Density(int x, int z) {
  auto peak = [&](double cx, double cz, double h, double w) {
    const double dx = x - cx, dz = z - cz;
    return h * std::exp(-(dx * dx + dz * dz) / (2 * w * w));
  };
  return peak(20.5, 24, 10, 5) + peak(44, 40.5, 6, 7) - peak(46, 14, 4, 4);
}

// The 15 colour bands over the density's range, blue to red.
void AddBands(TCustom3DPaletteSeries* s, double lo, double hi) {
  s->ClearPaletteEntries();
  for (int i = 0; i < kBands; ++i) {
    const int red = 255 * i / (kBands - 1), blue = 255 - red;
    s->AddPaletteEntry(static_cast<TColor>(red | (blue << 16)), lo + (i + 1) * (hi - lo) / kBands);
  }
}

struct TMapChart {
  TMapChart(bool view3D) {
    chart.SetBounds(0, 0, 600, 400);
    chart.SetView3D(view3D);
    chart.Legend()->SetVisible(false);
    for (int z = 1; z <= kGrid; ++z)
      for (int x = 1; x <= kGrid; ++x) {
        lo = std::min(lo, Density(x, z));
        hi = std::max(hi, Density(x, z));
      }
  }
  // Draws on a bitmap; returns how many pixels of the plot area differ from
  // the chart's background.
  int Render(TBitmap& image) {
    chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, 600, 400));
    const TRect& r = chart.ChartArea;
    const TColor back = image.Canvas()->Pixels(2, 2);
    int n = 0;
    for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
      for (int x = r.Left + 2; x < r.Right - 2; ++x) n += image.Canvas()->Pixels(x, y) != back;
    return n;
  }
  // Seen from above and to the side, with the depth as deep as the plot.
  void TurnView() {
    TView3DOptions* v = chart.View3DOptions();
    v->SetOrthogonal(false);
    v->SetElevation(330);
    v->SetRotation(330);
    v->SetPerspective(20);
    v->SetZoom(70);
    chart.SetChart3DPercent(100);
  }
  TChart chart{nullptr};
  double lo = 1e300, hi = -1e300;
};

template <class S>
void FillGrid(S* s) {
  for (int z = 1; z <= kGrid; ++z)
    for (int x = 1; x <= kGrid; ++x) s->AddPoint3D(x, Density(x, z), z);
}

TEST(FourierMap, ContourLines) {
  TMapChart m(false);
  auto* s = new TContourSeries(&m.chart);
  s->SetParentChart(&m.chart);
  s->SetColorEachPoint(false);
  s->SetUseColorRange(false);
  s->SetUsePalette(true);
  s->SetTimesZOrder(5);
  s->SetStartColor(clBlue);
  s->Pen()->SetWidth(2);
  s->SetNumXValues(kGrid);
  s->SetNumZValues(kGrid);
  s->SetNumLevels(kBands);
  FillGrid(s);
  AddBands(s, m.lo, m.hi);
  TBitmap image(600, 400);
  EXPECT_GT(m.Render(image), 1500);
  EXPECT_EQ(s->Levels()->Count(), kBands);
  // Every level is drawn in its palette band's colour.
  EXPECT_EQ(s->Levels()->GetLevel(0)->Color(), s->PaletteColorOf(s->Levels()->GetLevel(0)->UpToValue()));
  ExpectMatchesGolden(image, "series/fourier_contour.png");
}

TEST(FourierMap, Surface) {
  TMapChart m(true);
  auto* s = new TSurfaceSeries(&m.chart);
  s->SetParentChart(&m.chart);
  s->SetUseColorRange(false);
  s->SetUsePalette(true);
  s->SetTimesZOrder(5);
  s->Pen()->SetColor(clWhite);
  s->SideBrush()->SetStyle(bsClear);
  s->SetNumXValues(kGrid);
  s->SetNumZValues(kGrid);
  FillGrid(s);
  AddBands(s, m.lo, m.hi);
  m.TurnView();
  TBitmap image(600, 400);
  EXPECT_GT(m.Render(image), 20000);
  ExpectMatchesGolden(image, "series/fourier_surface.png");
}

TEST(FourierMap, PointCloud) {
  TMapChart m(true);
  auto* s = new TPoint3DSeries(&m.chart);
  s->SetParentChart(&m.chart);
  s->SetColorEachPoint(true);
  s->SetDepthSize(4);
  s->LinePen()->SetVisible(false);
  s->Pointer()->SetStyle(psCircle);
  s->Pointer()->SetHorizSize(4);
  s->Pointer()->SetVertSize(4);
  // The map's strong features only, each in its band's colour.
  TSurfaceSeries bands(nullptr);
  AddBands(&bands, m.lo, m.hi);
  int added = 0;
  for (int z = 1; z <= kGrid; z += 2)
    for (int x = 1; x <= kGrid; x += 2) {
      const double d = Density(x, z);
      if (std::fabs(d) < 1.5) continue;
      s->AddLabeledPoint3D(x, d, z, "", bands.PaletteColorOf(d));
      ++added;
    }
  ASSERT_GT(added, 50);
  m.TurnView();
  TBitmap image(600, 400);
  EXPECT_GT(m.Render(image), 5000);
  ExpectMatchesGolden(image, "series/fourier_points.png");
}

}  // namespace
