// Fourier and Patterson maps, and the radial distribution curves.
#include <gtest/gtest.h>

#include <cmath>

#include "core/fourier.h"
#include "enginetest.h"

namespace {

struct TPeakPoint {
  TVec3 X;  // fractional
  float Value;
};

// The largest value of a map with z slices (axis 3): [z][x][y].
TPeakPoint MapMaximum(const std::vector<float>& map) {
  TPeakPoint best{{0, 0, 0}, -1e30f};
  const int n = MapGrid;
  for (int s = 0; s < n; ++s)
    for (int r = 0; r < n; ++r)
      for (int c = 0; c < n; ++c) {
        const float v = map[(static_cast<std::size_t>(s) * n + r) * n + c];
        if (v > best.Value) best = {{r / double(n), c / double(n), s / double(n)}, v};
      }
  return best;
}

// Shortest distance from x to any image of the site.
double DistanceToSite(const TCell& cell, const TSpaceGroup& group, const TVec3& x, const TVec3& site) {
  double best = 1e30;
  for (const TVec3& y : group.Orbit(site)) {
    TVec3 d{x[0] - y[0], x[1] - y[1], x[2] - y[2]};
    for (double& v : d) v -= std::round(v);
    best = std::min(best, cell.Length(d));
  }
  return best;
}

}  // namespace

TEST(Maps, DifferenceMapFindsTheMissingAtom) {
  TTempDir dir;
  TRietveld truth;
  ASSERT_TRUE(ReadModel(truth, ExampleFile("xray-cw.inp")));
  const std::string data = WriteSyntheticData(truth, dir, 3);

  // The model without its oxygen atom (the last one).
  TRietveld start;
  ASSERT_TRUE(ReadModel(start, ExampleFile("xray-cw.inp")));
  TPhase& phase = *start.Phase(1);
  const TAtom oxygen = *phase.Atom(3);
  start.Parameters.SetRefined(0, 1, 3, 4, false);
  phase.Atoms.pop_back();

  TZdEngine engine;
  ASSERT_EQ(StartEngine(engine, start, dir, data), 0);
  for (int cycle = 1; cycle <= 3; ++cycle) {
    int converged = 0;
    ASSERT_EQ(engine.Iterate(1, cycle, converged), 0) << engine.Problem();
  }
  std::vector<float> map(MapGrid * MapGrid * MapGrid);
  float lo = 0, hi = 0;
  ASSERT_EQ(engine.Fourier(1, 1, 3, mkFourierDiff, lo, hi, map.data()), 0);
  const TPeakPoint peak = MapMaximum(map);
  EXPECT_FLOAT_EQ(peak.Value, hi);
  const TCell cell = engine.Pattern().Cell(1);
  EXPECT_LE(DistanceToSite(cell, engine.Pattern().Group(1), peak.X, {oxygen.X, oxygen.Y, oxygen.Z}), 0.3)
      << peak.X[0] << " " << peak.X[1] << " " << peak.X[2];

  // The calculated Fourier map peaks on the heaviest atom (Sr at the origin),
  // the Patterson map at the origin; slicing along x transposes the grid.
  ASSERT_EQ(engine.Fourier(1, 1, 3, mkFourierCalc, lo, hi, map.data()), 0);
  EXPECT_LE(DistanceToSite(cell, engine.Pattern().Group(1), MapMaximum(map).X, {0, 0, 0}), 0.1);
  ASSERT_EQ(engine.Fourier(1, 1, 3, mkPattersonObs, lo, hi, map.data()), 0);
  EXPECT_FLOAT_EQ(map[0], hi);
  std::vector<float> alongX(map.size());
  ASSERT_EQ(engine.Fourier(1, 1, 3, mkFourierCalc, lo, hi, map.data()), 0);
  ASSERT_EQ(engine.Fourier(1, 1, 1, mkFourierCalc, lo, hi, alongX.data()), 0);
  const int n = MapGrid;
  // z-slices hold [z][x][y]; x-slices [x][y][z].
  EXPECT_FLOAT_EQ(map[(5 * n + 7) * n + 9], alongX[(7 * n + 9) * n + 5]);
  // Arguments out of range.
  EXPECT_EQ(engine.Fourier(2, 1, 3, 0, lo, hi, map.data()), 1);
  EXPECT_EQ(engine.Fourier(1, 1, 4, 0, lo, hi, map.data()), 1);
  EXPECT_EQ(engine.Fourier(1, 1, 3, 6, lo, hi, map.data()), 1);
}

TEST(Maps, FftMatchesTheDirectSum) {
  const int n = 8;
  std::vector<std::complex<double>> grid(n * n * n), direct(n * n * n);
  for (int i = 0; i < n * n * n; ++i) grid[i] = std::complex<double>(std::sin(0.3 * i), std::cos(0.7 * i));
  for (int a = 0; a < n; ++a)
    for (int b = 0; b < n; ++b)
      for (int c = 0; c < n; ++c) {
        std::complex<double> sum = 0;
        for (int i = 0; i < n; ++i)
          for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k)
              sum += grid[(i * n + j) * n + k] * std::polar(1.0, -2 * Pi * (a * i + b * j + c * k) / n);
        direct[(a * n + b) * n + c] = sum;
      }
  Fft3D(grid, n, -1);
  for (int i = 0; i < n * n * n; ++i) EXPECT_NEAR(std::abs(grid[i] - direct[i]), 0.0, 1e-9);
}

TEST(Maps, RadialDistributionOfCopper) {
  // Face-centred copper: 12 neighbours at a / sqrt(2) = 2.556, 6 at a = 3.615.
  TRietveld model;
  THistogram* h = model.NewHistogram();
  h->Job = jobNeutronCalc;
  h->Start = 20;
  h->Stop = 120;
  h->Step = 0.05f;
  TPhase* p = model.NewPhase();
  p->SpaceGroup = "F M -3 M";
  p->A = p->B = p->C = 3.615f;
  TAtom cu;
  cu.Label = cu.AtomType = "CU";
  cu.B = 0.5f;
  cu.N = 4.0f / 192;  // a full 4a site of F m -3 m
  p->AddAtom(cu);
  TPattern pattern(model);
  THistogramData data;
  data.Calculation = true;
  for (int i = 0; i < 100; ++i) data.X.push_back(20 + i);
  pattern.SetData(1, std::move(data));
  ASSERT_EQ(pattern.Prepare(), zeNone);

  std::vector<float> values(1000);
  ASSERT_EQ(ComputeRdf(pattern, 1, 5, 10.0, 1000, values.data()), 0);  // N(R)
  EXPECT_NEAR(values[200], 0.0, 1e-3);
  EXPECT_NEAR(values[300], 12.0, 0.05);
  EXPECT_NEAR(values[400], 18.0, 0.05);
  ASSERT_EQ(ComputeRdf(pattern, 1, 1, 10.0, 1000, values.data()), 0);  // g(R)
  const auto top = std::max_element(values.begin(), values.begin() + 300);
  EXPECT_NEAR((top - values.begin()) * 0.01, 3.615 / std::sqrt(2.0), 0.015);
  EXPECT_EQ(values[0], 0.0f);
  std::vector<float> g(1000), d(1000), t(1000);
  ASSERT_EQ(ComputeRdf(pattern, 1, 2, 10.0, 1000, g.data()), 0);
  ASSERT_EQ(ComputeRdf(pattern, 1, 3, 10.0, 1000, d.data()), 0);
  ASSERT_EQ(ComputeRdf(pattern, 1, 4, 10.0, 1000, t.data()), 0);
  const double rho0 = 4 / std::pow(3.615, 3);
  for (int i : {150, 256, 500, 900}) {
    const double r = i * 0.01;
    EXPECT_NEAR(g[i], values[i] - 1, 1e-5);
    EXPECT_NEAR(d[i], 4 * Pi * rho0 * r * (values[i] - 1), 1e-4);
    EXPECT_NEAR(t[i], 4 * Pi * rho0 * r * values[i], 1e-4);
  }
  EXPECT_EQ(ComputeRdf(pattern, 2, 1, 10.0, 1000, values.data()), 1);
  EXPECT_EQ(ComputeRdf(pattern, 1, 6, 10.0, 1000, values.data()), 1);
}
