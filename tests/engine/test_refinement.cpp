// Refinement of perturbed example models against synthetic noisy patterns
// calculated from the unperturbed ones.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "enginetest.h"
#include "platform/rtl/fileutils.h"
#include "support/testlocale.h"
#include "zudezez_api.h"

namespace {

struct TOutcome {
  int Cycles = 0;
  bool Converged = false;
  int Error = 0;
};

// Cycles until convergence (at most `limit`).
TOutcome Refine(TZdEngine& engine, int limit) {
  TOutcome o;
  int converged = 0;
  while (o.Cycles < limit && !converged) {
    ++o.Cycles;
    o.Error = engine.Iterate(engine.Model().HistogramCount(), o.Cycles, converged);
    if (o.Error != 0) break;
  }
  o.Converged = converged != 0;
  return o;
}

// Every refined value is back within three standard errors of the truth.
void ExpectRecovered(TZdEngine& engine, TRietveld& truth) {
  for (const TVariable& v : engine.Refinement().Variables())
    for (const TMember& m : v.Members) {
      const float* expected = ValueAddress(truth, m.H, m.P, m.A, m.T);
      ASSERT_NE(expected, nullptr);
      const double esd = std::fabs(m.Multiplier) * v.Esd;
      EXPECT_GT(esd, 0) << v.Name;
      EXPECT_LE(std::fabs(*m.Value - *expected), 3 * esd)
          << v.Name << ": refined " << *m.Value << ", true " << *expected << ", esd " << esd;
    }
}

void ExpectChiSquaredNearOne(TZdEngine& engine) {
  for (int h = 1; h <= engine.Pattern().HistogramCount(); ++h) {
    const TAgreement a = engine.Pattern().Agreement(h, engine.Refinement().VariableCount());
    EXPECT_GT(a.Chi2, 0.85) << "histogram " << h;
    EXPECT_LT(a.Chi2, 1.2) << "histogram " << h;
  }
}

}  // namespace

TEST(Refinement, CorundumReturnsToTheTruth) {
  TTempDir dir;
  TRietveld truth;
  ASSERT_TRUE(ReadModel(truth, ExampleFile("corundum.inp")));
  const std::string data = WriteSyntheticData(truth, dir, 11);

  // Newton-Raphson, Marquardt with a fixed factor and with the automatic one.
  for (int strategy = 0; strategy <= 2; ++strategy) {
    TRietveld start;
    ASSERT_TRUE(ReadModel(start, ExampleFile("corundum.inp")));
    start.Strategy = strategy;
    start.Marquardt = strategy == 1 ? 0.01f : 0.0f;
    Nudge(start, {{1, 0, 0, 1, 0.03},      // zero
                  {1, 0, 0, 2, 12},        // background
                  {1, 0, 0, 3, -4},
                  {0, 1, 0, 1, 0.8e-4},    // scale
                  {0, 1, 0, 6, 0.003},     // a, and b with it
                  {0, 1, 0, 7, 0.003},
                  {0, 1, 0, 8, -0.006},    // c
                  {0, 1, 1, 3, 0.002},     // Al z
                  {0, 1, 1, 4, 0.4},       // Al B
                  {0, 1, 2, 1, -0.004},    // O x
                  {0, 1, 2, 4, -0.25},     // O B
                  {1, 1, 0, 3, 0.006},     // U, V, W
                  {1, 1, 0, 4, -0.004},
                  {1, 1, 0, 5, 0.002},
                  {1, 1, 0, 15, 0.1}});    // mixing
    TZdEngine engine;
    ASSERT_EQ(StartEngine(engine, start, dir, data), 0);
    ASSERT_EQ(engine.Refinement().VariableCount(), 15);
    // A fixed damping factor converges linearly on the strongly correlated
    // terms (about a fifth of the distance each cycle here): more cycles.
    const TOutcome o = Refine(engine, strategy == 1 ? 20 : 15);
    ASSERT_EQ(o.Error, 0) << "strategy " << strategy << ": " << engine.Problem();
    EXPECT_TRUE(o.Converged) << "strategy " << strategy << ": " << o.Cycles << " cycles";
    ExpectRecovered(engine, truth);
    ExpectChiSquaredNearOne(engine);
    // The constraint kept the hexagonal cell: b moved with a.
    EXPECT_FLOAT_EQ(engine.Model().Phase(1)->A, engine.Model().Phase(1)->B);
  }
}

TEST(Refinement, AParameterWithoutEffectStopsTheCycle) {
  TTempDir dir;
  TRietveld model;
  ASSERT_TRUE(ReadModel(model, ExampleFile("corundum.inp")));
  const std::string data = WriteSyntheticData(model, dir, 12);
  // The direction-dependent width does nothing without a broadening model.
  model.FindSample(1, 1)->BroadeningModel = bmNone;
  model.Parameters.SetRefined(1, 1, 0, 19, true);
  TZdEngine engine;
  ASSERT_EQ(StartEngine(engine, model, dir, data), 0);
  const float a = engine.Model().Phase(1)->A;
  int converged = 0;
  EXPECT_EQ(engine.Iterate(1, 1, converged), zeUnstable);
  EXPECT_NE(engine.Problem().find("Uaniso"), std::string::npos) << engine.Problem();
  EXPECT_EQ(engine.Model().Phase(1)->A, a);
  EXPECT_NE(TTempDir::Read(dir.File("work.out")).find("failed (error 200)"), std::string::npos);
}

TEST(Refinement, TwoPhaseMixtureReturnsToTheTruth) {
  TTempDir dir;
  TRietveld truth;
  ASSERT_TRUE(ReadModel(truth, ExampleFile("two-phase.inp")));
  const std::string data = WriteSyntheticData(truth, dir, 23);

  TRietveld start;
  ASSERT_TRUE(ReadModel(start, ExampleFile("two-phase.inp")));
  Nudge(start, {{1, 0, 0, 1, -0.02},     // zero
                {0, 1, 0, 1, 2e-4},      // scales
                {0, 2, 0, 1, -0.6e-4},
                {0, 1, 0, 6, 0.003},     // cubic cells: b and c follow a
                {0, 1, 0, 7, 0.003},
                {0, 1, 0, 8, 0.003},
                {0, 2, 0, 6, -0.004},
                {0, 2, 0, 7, -0.004},
                {0, 2, 0, 8, -0.004},
                {0, 1, 1, 4, 0.3},       // Sr B, with Ti B constrained to it
                {0, 1, 2, 4, 0.3},
                {0, 2, 1, 4, -0.3},      // Na B, with Cl B
                {0, 2, 2, 4, -0.3},
                {1, 1, 0, 3, 0.004},     // U and W, shared by both phases
                {1, 2, 0, 3, 0.004},
                {1, 1, 0, 5, -0.002},
                {1, 2, 0, 5, -0.002}});
  TZdEngine engine;
  ASSERT_EQ(StartEngine(engine, start, dir, data), 0);
  const TOutcome o = Refine(engine, 15);
  ASSERT_EQ(o.Error, 0) << engine.Problem();
  EXPECT_TRUE(o.Converged) << o.Cycles << " cycles";
  ExpectRecovered(engine, truth);
  ExpectChiSquaredNearOne(engine);
  const TSample& s1 = *engine.Model().FindSample(1, 1);
  const TSample& s2 = *engine.Model().FindSample(1, 2);
  EXPECT_FLOAT_EQ(s1.U, s2.U);
  EXPECT_FLOAT_EQ(s1.W, s2.W);
}

TEST(Refinement, TimeOfFlightConverges) {
  auto prepare = [](TRietveld& model) {
    ASSERT_TRUE(ReadModel(model, ExampleFile("tof.inp")));
    model.ReadFormat = 3;
  };
  TTempDir dir;
  TRietveld truth;
  prepare(truth);
  const std::string data = WriteSyntheticData(truth, dir, 5, ".gs");

  TRietveld start;
  prepare(start);
  Nudge(start, {{1, 0, 0, 1, 1.0},       // zero (microseconds)
                {0, 1, 0, 1, 0.05},      // scale
                {0, 1, 0, 6, 0.0015},    // cubic cell
                {0, 1, 0, 7, 0.0015},
                {0, 1, 0, 8, 0.0015},
                {0, 1, 1, 4, 0.3},       // Sr B
                {1, 1, 0, 5, 2},         // width
                {1, 1, 0, 21, 0.01},     // alpha
                {1, 1, 0, 23, -0.002}}); // beta
  TZdEngine engine;
  ASSERT_EQ(StartEngine(engine, start, dir, data), 0);
  const TOutcome o = Refine(engine, 15);
  ASSERT_EQ(o.Error, 0) << engine.Problem() << TTempDir::Read(dir.File("work.out"));
  EXPECT_TRUE(o.Converged) << o.Cycles << " cycles";
  ExpectRecovered(engine, truth);
  ExpectChiSquaredNearOne(engine);
}

TEST(Refinement, BundledExamplesFitTheirData) {
  struct Example {
    const char* model;
    const char* data;
  };
  const Example examples[] = {{"xray-cw.inp", "xray-cw"}, {"two-phase.inp", "two-phase"}, {"corundum.inp", "corundum"},
                              {"tof.inp", "tof"}};
  for (const Example& e : examples) {
    TTempDir dir;
    TRietveld model;
    ASSERT_TRUE(ReadModel(model, ExampleFile(e.model)));
    Nudge(model, {{1, 0, 0, 1, model.Histogram(1)->IsTimeOfFlight() ? 0.5 : 0.01}, {0, 1, 0, 1, 0.05 * model.Phase(1)->Scale}});
    TZdEngine engine;
    ASSERT_EQ(StartEngine(engine, model, dir, ExampleFile(e.data)), 0) << e.model;
    const TOutcome o = Refine(engine, 15);
    ASSERT_EQ(o.Error, 0) << e.model << ": " << engine.Problem();
    EXPECT_TRUE(o.Converged) << e.model;
    ExpectChiSquaredNearOne(engine);
  }
}

TEST(Refinement, LeBailPhaseFitsWithoutAtoms) {
  TTempDir dir;
  TRietveld truth;
  ASSERT_TRUE(ReadModel(truth, ExampleFile("corundum.inp")));
  const std::string data = WriteSyntheticData(truth, dir, 31);

  // The same phase extracted by Le Bail: cell, zero, widths and background refined.
  TRietveld start;
  ASSERT_TRUE(ReadModel(start, ExampleFile("corundum.inp")));
  for (int a = 1; a <= 2; ++a)
    for (int t : {1, 3, 4}) start.Parameters.SetRefined(0, 1, a, t, false);
  start.Parameters.SetRefined(0, 1, 0, 1, false);
  start.Phase(1)->CalcMethod = 1;
  Nudge(start, {{0, 1, 0, 6, 0.002}, {0, 1, 0, 7, 0.002}, {0, 1, 0, 8, -0.004}, {1, 0, 0, 1, 0.01}});
  TZdEngine engine;
  ASSERT_EQ(StartEngine(engine, start, dir, data), 0);
  EXPECT_EQ(engine.Model().Phase(1)->AtomCount(), 0);
  const TOutcome o = Refine(engine, 15);
  ASSERT_EQ(o.Error, 0) << engine.Problem();
  EXPECT_TRUE(o.Converged);
  for (int t : {6, 8}) {
    double esd = 0;
    ASSERT_TRUE(engine.Refinement().AddressEsd(0, 1, 0, t, esd));
    EXPECT_NEAR(*ValueAddress(engine.Model(), 0, 1, 0, t), *ValueAddress(truth, 0, 1, 0, t), 3 * esd);
  }
  const TAgreement a = engine.Pattern().Agreement(1, engine.Refinement().VariableCount());
  EXPECT_LT(a.Chi2, 1.5);
  // The extracted intensities are kept for a later run that recycles them.
  ASSERT_EQ(engine.Close(false), 0);
  EXPECT_GT(FileSize(dir.File("work.lbl")), 0);
}

TEST(Refinement, CalculationOnlyHistogramHasNoObservations) {
  TTempDir dir;
  TRietveld model;
  ASSERT_TRUE(ReadModel(model, ExampleFile("xray-cw.inp")));
  model.Histogram(1)->Job = jobXrayCalc;
  TZdEngine engine;
  // No data file is needed, and no code lines are written for such a model.
  ASSERT_EQ(StartEngine(engine, model, dir, ""), 0);
  EXPECT_EQ(engine.Refinement().VariableCount(), 0);
  int points = 0, markers = 0;
  float start = 0, step = 0;
  ASSERT_TRUE(engine.PlotInfo(1, points, markers, start, step));
  EXPECT_EQ(points, 4001);
  std::vector<float> x(points), obs(points), calc(points);
  std::vector<int> codes(markers);
  std::vector<float> pos(markers);
  ASSERT_TRUE(engine.Plot(1, x.data(), obs.data(), calc.data(), codes.data(), pos.data()));
  EXPECT_EQ(*std::max_element(obs.begin(), obs.end()), 0.0f);
  EXPECT_GT(*std::max_element(calc.begin(), calc.end()), 1000.0f);
  int converged = 0;
  EXPECT_EQ(engine.Iterate(1, 1, converged), 0);
  EXPECT_EQ(converged, 1);
}

TEST(Refinement, XrayAndNeutronHistogramsTogether) {
  // Corundum seen by the example's X-ray histogram and by a second, neutron
  // histogram whose data file is "<data name>_2.dat".
  auto prepare = [](TRietveld& model) {
    ASSERT_TRUE(ReadModel(model, ExampleFile("corundum.inp")));
    THistogram* n = model.NewHistogram();
    n->Job = jobNeutronData;
    n->Profile = 1;
    n->Wavelength1 = n->Wavelength2 = 1.594f;
    n->Start = 20;
    n->Step = 0.05f;
    n->Stop = 150;
    n->Scale = 40;
    n->Background.Coefficients[0] = 200;
    TSample* s = model.FindSample(2, 1);
    s->U = 0.2f;
    s->V = -0.2f;
    s->W = 0.1f;
    s->Gam0 = 0.2f;
    s->Asym1 = 0;
    model.Parameters.SetRefined(2, 0, 0, 26, true);  // its scale
    model.Parameters.SetRefined(2, 0, 0, 2, true);   // and background
  };
  TTempDir dir;
  TRietveld truth;
  prepare(truth);
  const std::string data = WriteSyntheticData(truth, dir, 41);
  std::vector<double> x, y;
  ASSERT_EQ(CalculatedPattern(truth, 2, x, y), zeNone);
  ASSERT_TRUE(WriteDatFile(data + "_2.dat", "neutron", 20, 0.05, PoissonCounts(y, 42)));

  TRietveld start;
  prepare(start);
  Nudge(start, {{0, 1, 0, 6, 0.002}, {0, 1, 0, 7, 0.002}, {0, 1, 0, 8, -0.004}, {2, 0, 0, 26, 4}, {0, 1, 2, 4, 0.2}});
  TZdEngine engine;
  ASSERT_EQ(StartEngine(engine, start, dir, data), 0);
  EXPECT_EQ(engine.Pattern().Data(2).X.size(), 2601u);
  const TOutcome o = Refine(engine, 15);
  ASSERT_EQ(o.Error, 0) << engine.Problem();
  EXPECT_TRUE(o.Converged) << o.Cycles << " cycles";
  ExpectRecovered(engine, truth);
  ExpectChiSquaredNearOne(engine);
}

// The listing's reflections and R-Bragg cover only the measured range outside
// the excluded regions: a reflection beyond the last point (perovskite 320 at
// 93.9 degrees, data to 90) or inside an excluded region is not listed, and
// the printed R-Bragg is the one of the listed reflections, as the agreement
// entry reports it.
TEST(Refinement, ListingTakesOnlyReflectionsInTheMeasuredRange) {
  TTempDir dir;
  TRietveld truth;
  ASSERT_TRUE(ReadModel(truth, ExampleFile("xray-cw.inp")));
  const std::string data = WriteSyntheticData(truth, dir, 17);
  TRietveld start;
  ASSERT_TRUE(ReadModel(start, ExampleFile("xray-cw.inp")));
  ASSERT_EQ(start.Histogram(1)->Stop, 90.0f);
  start.Histogram(1)->Excluded.AddRegion(45.0f, 48.0f);  // the 200 peak at 46.5
  start.Phase(1)->Atom(3)->B = 1.4f;                     // a structure misfit for R-Bragg to see
  TZdEngine engine;
  ASSERT_EQ(StartEngine(engine, start, dir, data), 0);
  ASSERT_EQ(Refine(engine, 2).Error, 0);
  float rp, rwp, chi2, rexp, rBragg[ZD_INFO_ARRAY], rF[ZD_INFO_ARRAY], fraction[ZD_INFO_ARRAY];
  ASSERT_TRUE(engine.Info(1, rp, rwp, chi2, rexp, rBragg, rF, fraction));
  ASSERT_EQ(engine.Close(false), 0);
  const std::string listing = TTempDir::Read(dir.File("work.out"));

  TPattern& pattern = engine.Pattern();
  const TPhaseView& view = pattern.Views(1)[0];
  const std::vector<double> obs = pattern.ObservedF2(1, view);
  double num = 0, den = 0;
  int inRange = 0;
  bool sawBeyond = false, sawExcluded = false;
  for (std::size_t k = 0; k < view.Reflections.size(); ++k) {
    const TReflection& r = view.Reflections[k];
    const double x = pattern.MarkerPosition(1, view, r);
    char row[64];
    std::snprintf(row, sizeof row, "  %4d %4d %4d %5d ", r.Hkl[0], r.Hkl[1], r.Hkl[2], r.Multiplicity);
    const bool listed = listing.find(row) != std::string::npos;
    const bool beyond = x > 90.0, excluded = x >= 45.0 && x <= 48.0;
    sawBeyond = sawBeyond || beyond;
    sawExcluded = sawExcluded || excluded;
    EXPECT_EQ(listed, !beyond && !excluded && x >= 10.0) << r.Hkl[0] << r.Hkl[1] << r.Hkl[2] << " at " << x;
    if (beyond || excluded || x < 10.0) continue;
    ++inRange;
    num += r.Multiplicity * std::fabs(obs[k] - r.F2);
    den += r.Multiplicity * obs[k];
  }
  EXPECT_TRUE(sawBeyond);
  EXPECT_TRUE(sawExcluded);
  EXPECT_GE(inRange, 8);
  ASSERT_GT(den, 0);
  const double expected = 100 * num / den;
  EXPECT_GT(expected, 0.5);  // the misfit shows
  const std::string line = testlocale::CFormat("R-Bragg %.3f", expected);  // the listing's point
  EXPECT_NE(listing.find(line), std::string::npos) << line << "\n" << listing;
  EXPECT_NEAR(rBragg[0], expected, 1e-3 * expected);
}

// A scale 100 times too small (with the cell, zero and widths a little off)
// reaches the least-squares minimum within 3 cycles: the scales are solved
// for directly before the first cycle.
TEST(Refinement, ScaleFarOffReachesTheMinimumWithinThreeCycles) {
  TTempDir dir;
  TRietveld truth;
  ASSERT_TRUE(ReadModel(truth, ExampleFile("corundum.inp")));
  const std::string data = WriteSyntheticData(truth, dir, 19);

  // The minimum, from the truth.
  TRietveld best;
  ASSERT_TRUE(ReadModel(best, ExampleFile("corundum.inp")));
  TZdEngine reference;
  ASSERT_EQ(StartEngine(reference, best, dir, data), 0);
  ASSERT_TRUE(Refine(reference, 20).Converged);
  const double minimum = reference.Refinement().SumAfter();
  double scaleEsd = 0;
  ASSERT_TRUE(reference.Refinement().AddressEsd(0, 1, 0, 1, scaleEsd));

  TRietveld start;
  ASSERT_TRUE(ReadModel(start, ExampleFile("corundum.inp")));
  start.Phase(1)->Scale *= 0.01f;
  Nudge(start, {{1, 0, 0, 1, 0.01}, {0, 1, 0, 6, 0.002}, {0, 1, 0, 7, 0.002}, {0, 1, 0, 8, -0.003}, {1, 1, 0, 5, 0.002}});
  TZdEngine engine;
  ASSERT_EQ(StartEngine(engine, start, dir, data), 0);
  // Solved before any cycle: already near the truth.
  EXPECT_NEAR(engine.Model().Phase(1)->Scale, truth.Phase(1)->Scale, 0.2 * truth.Phase(1)->Scale);
  const TOutcome o = Refine(engine, 3);
  ASSERT_EQ(o.Error, 0) << engine.Problem();
  EXPECT_LE(engine.Refinement().SumAfter(), minimum * 1.001);
  EXPECT_NEAR(engine.Model().Phase(1)->Scale, reference.Model().Phase(1)->Scale, 0.1 * scaleEsd);
}

// Far from the minimum the misfit inflates every standard error, so the
// shifts can all be small fractions of them while the sum still falls by
// a good part each cycle: that is no convergence. From a start with the
// widths far off, a cycle that reports convergence has a sum that stopped
// falling and sits near the minimum; from a mild start the refinement still
// converges there.
TEST(Refinement, ConvergenceWaitsUntilTheSumStopsFalling) {
  TTempDir dir;
  TRietveld truth;
  ASSERT_TRUE(ReadModel(truth, ExampleFile("corundum.inp")));
  const std::string data = WriteSyntheticData(truth, dir, 23);

  TRietveld best;
  ASSERT_TRUE(ReadModel(best, ExampleFile("corundum.inp")));
  TZdEngine reference;
  ASSERT_EQ(StartEngine(reference, best, dir, data), 0);
  ASSERT_TRUE(Refine(reference, 20).Converged);
  const double minimum = reference.Refinement().SumAfter();

  struct TStart {
    const char* What;
    std::vector<TNudge> Nudges;
    int Cycles;
    bool MustConverge;
  };
  const TStart starts[] = {
      {"widths far off", {{1, 1, 0, 3, 3.0}, {1, 1, 0, 5, 3.0}}, 12, false},
      {"widths and zero a little off", {{1, 1, 0, 3, 0.2}, {1, 1, 0, 5, 0.05}, {1, 0, 0, 1, 0.02}}, 30, true},
  };
  for (const TStart& s : starts) {
    SCOPED_TRACE(s.What);
    TRietveld start;
    ASSERT_TRUE(ReadModel(start, ExampleFile("corundum.inp")));
    Nudge(start, s.Nudges);
    TZdEngine engine;
    ASSERT_EQ(StartEngine(engine, start, dir, data), 0);
    int converged = 0, cycle = 0;
    while (cycle < s.Cycles && !converged) {
      ASSERT_EQ(engine.Iterate(1, ++cycle, converged), 0) << engine.Problem();
      const TRefinement& r = engine.Refinement();
      if (cycle == 1) EXPECT_GT(r.SumBefore(), 40 * minimum) << "the start is not poor";
      if (!converged) continue;
      EXPECT_GE(r.SumAfter(), (1 - 1e-3) * r.SumBefore()) << "cycle " << cycle;
      EXPECT_LE(r.SumAfter(), minimum * 1.01) << "cycle " << cycle;
    }
    if (s.MustConverge) EXPECT_TRUE(converged);
  }
}
