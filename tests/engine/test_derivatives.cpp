// The closed-form derivatives of the calculated pattern against careful
// central differences, for every kind of refined value and every profile,
// a refinement cycle's standard errors against the all-numerical cycle, and
// the fast walk of the peaks over a constant step.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "enginetest.h"
#include "core/background.h"
#include "core/pattern.h"
#include "core/refinement.h"
#include "core/synthesis.h"

namespace {

struct TAddress {
  int H, P, A, T;
  const char* What;
};

// A small monoclinic phase with an anisotropic atom and an atom whose
// scattering comes from a histogram entry with f' and f''.
void BuildModel(TRietveld& model, int job, int profile) {
  THistogram* h = model.NewHistogram();
  h->Job = job;
  h->Profile = profile;
  h->Wavelength1 = 1.540562f;
  h->Wavelength2 = 1.54439f;
  h->Ratio = 0.5f;
  h->Start = 15;
  h->Step = 0.02f;
  h->Stop = 75;
  h->Zero = 0.01f;
  h->HasDisplacement = 1;
  h->Displacement = 0.02f;
  h->Absorption = 0.3f;
  h->Polarisation = 0.8f;
  h->Background.Coefficients[0] = 60;
  h->Background.Coefficients[1] = -8;
  h->Background.Coefficients[2] = 3;
  TScatterFactor* entry = h->ScatterFactors.AddNew();
  entry->Symbol = "MN";
  entry->Coefficients = {11.28f, 5.34f, 7.36f, 0.34f, 3.02f, 17.87f, 2.24f, 83.75f, 1.09f};
  entry->FPrime = -0.6f;
  entry->FDoublePrime = 2.8f;
  if (job == jobNeutronData) {
    entry->FPrime = -3.73f;
    entry->FDoublePrime = 0;
  }
  TPhase* p = model.NewPhase();
  p->SpaceGroup = "P 21/C";
  p->A = 5.13f;
  p->B = 6.31f;
  p->C = 7.22f;
  p->Beta = 97.5f;
  p->Scale = 2e-3f;
  p->IsoThermal = 0.1f;
  struct TSite {
    const char* Type;
    float X, Y, Z, B, N;
  };
  const TSite sites[3] = {{"FE  ", 0.13f, 0.21f, 0.33f, 0.5f, 1.0f},
                          {"MN  ", 0.37f, 0.08f, 0.71f, 0.7f, 0.8f},
                          {"O   ", 0.77f, 0.61f, 0.12f, 1.1f, 1.0f}};
  for (const TSite& s : sites) {
    TAtom a;
    a.Label = a.AtomType = s.Type;
    a.X = s.X;
    a.Y = s.Y;
    a.Z = s.Z;
    a.B = s.B;
    a.N = s.N;
    p->AddAtom(a);
  }
  TAtom& fe = *p->Atom(1);
  fe.B11 = 0.004f;
  fe.B22 = 0.003f;
  fe.B33 = 0.005f;
  fe.B12 = 0.0005f;
  fe.B13 = -0.0004f;
  fe.B23 = 0.0003f;
  TSample* s = model.FindSample(1, 1);
  s->U = 0.03f;
  s->V = -0.02f;
  s->W = 0.02f;
  s->Gam0 = profile == 2 ? 1.6f : (profile == 3 || profile == 5 ? 0.03f : 0.4f);
  s->Gam1 = profile == 2 ? 0.004f : 0.003f;
  s->Gam2 = profile == 2 || profile == 3 || profile == 5 ? 0.0f : 2e-5f;
  s->Asym1 = profile <= 3 ? 1.5f : 0.03f;
  s->Asym2 = profile == 6 ? 0.02f : 0.0f;  // FCJ: S/L in Asym1, H/L here
  s->PO = 1.15f;
  s->POH = 1;
  s->POK = 0;
  s->POL = 1;
  s->Extinction = 2;
  s->Uaniso = 0.01f;
  s->UH = 0;
  s->UK = 1;
  s->UL = 1;
  model.AsymLimit = 60;
}

// The model's pattern with its points; observed = calculated.
struct TSetup {
  TRietveld Model;
  std::unique_ptr<TPattern> Pattern;
  std::unique_ptr<TRefinement> Refinement;

  TSetup(const std::function<void(TRietveld&)>& build, const std::vector<TAddress>& refined) {
    build(Model);
    for (const TAddress& a : refined) Model.Parameters.SetRefined(a.H, a.P, a.A, a.T, true);
    Model.Parameters.Renumber();
    Pattern = std::make_unique<TPattern>(Model);
    const THistogram& h = *Model.Histogram(1);
    THistogramData data;
    const int n = static_cast<int>(std::lround((h.Stop - h.Start) / h.Step)) + 1;
    for (int i = 0; i < n; ++i) data.X.push_back(h.Start + i * double(h.Step));
    data.Observed.assign(data.X.size(), 100.0);
    data.Third.assign(data.X.size(), 1.0);
    Pattern->SetData(1, std::move(data));
    EXPECT_EQ(Pattern->Prepare(), zeNone);
    EXPECT_EQ(Pattern->Calculate(), zeNone);
    Pattern->UpdateWeights();
    Refinement = std::make_unique<TRefinement>(*Pattern);
    EXPECT_EQ(Refinement->Build(), zeNone);
  }
};

// d Calculated / d value by central differences of steps that are powers
// of two, so the float value moves by exactly the step, and small enough
// that a peak moves by a small part of its width.
std::vector<double> CentralDifference(TPattern& pattern, float* value, double floor) {
  const float saved = *value;
  const double step = std::exp2(std::round(std::log2(std::max(2e-6 * std::fabs(saved), floor))));
  std::vector<double> plus, minus;
  *value = static_cast<float>(saved + step);
  pattern.Calculate();
  plus = pattern.Data(1).Calculated;
  *value = static_cast<float>(saved - step);
  pattern.Calculate();
  minus = pattern.Data(1).Calculated;
  *value = saved;
  pattern.Calculate();
  std::vector<double> d(plus.size());
  for (std::size_t i = 0; i < d.size(); ++i) d[i] = (plus[i] - minus[i]) / (2 * step);
  return d;
}

// Every refined value's closed-form column agrees with the central
// difference to 1e-4 of the column's largest value.
void ExpectDerivativesAgree(TSetup& s, const std::vector<TAddress>& refined, const std::string& what) {
  std::vector<double> rows;
  ASSERT_EQ(s.Refinement->Derivatives(rows), zeNone);
  const int n = s.Refinement->VariableCount();
  ASSERT_EQ(n, static_cast<int>(refined.size())) << what;
  const THistogramData& data = s.Pattern->Data(1);
  for (int j = 0; j < n; ++j) {
    const TVariable& v = s.Refinement->Variables()[static_cast<std::size_t>(j)];
    const TMember& m = v.Members.front();
    std::string name = what + ": " + v.Name;
    for (const TAddress& a : refined)
      if (a.H == m.H && a.P == m.P && a.A == m.A && a.T == m.T) name = what + ": " + a.What;
    EXPECT_TRUE(v.Analytic) << name;
    const std::vector<double> numeric = CentralDifference(*s.Pattern, m.Value, 1e-6);
    double scale = 0, worst = 0;
    std::size_t row = 0;
    for (std::size_t i = 0; i < data.X.size(); ++i) {
      if (!data.Used[i] || data.Weight[i] <= 0) continue;
      scale = std::max(scale, std::fabs(numeric[i]));
      worst = std::max(worst, std::fabs(rows[row * n + j] - numeric[i]));
      ++row;
    }
    EXPECT_GT(scale, 0) << name << " changes nothing";
    EXPECT_LE(worst, 1e-4 * scale) << name << ": largest difference " << worst << " of " << scale;
  }
}

const std::vector<TAddress> HistogramValues = {
    {1, 0, 0, 1, "zero"},         {1, 0, 0, 2, "background 1"}, {1, 0, 0, 4, "background 3"},
    {1, 0, 0, 26, "histogram scale"}, {1, 0, 0, 27, "wavelength 1"}, {1, 0, 0, 28, "wavelength 2"},
    {1, 0, 0, 29, "displacement"},
};
const std::vector<TAddress> PhaseValues = {
    {0, 1, 0, 1, "phase scale"}, {0, 1, 0, 2, "overall B"}, {0, 1, 0, 6, "a"},
    {0, 1, 0, 7, "b"},           {0, 1, 0, 8, "c"},         {0, 1, 0, 10, "beta"},
};
const std::vector<TAddress> AtomValues = {
    {0, 1, 1, 1, "Fe x"},   {0, 1, 1, 2, "Fe y"},   {0, 1, 1, 3, "Fe z"},   {0, 1, 1, 5, "Fe N"},
    {0, 1, 1, 6, "Fe B11"}, {0, 1, 1, 7, "Fe B22"}, {0, 1, 1, 8, "Fe B33"}, {0, 1, 1, 9, "Fe B12"},
    {0, 1, 1, 10, "Fe B13"}, {0, 1, 1, 11, "Fe B23"}, {0, 1, 2, 1, "Mn x"},  {0, 1, 2, 4, "Mn B"},
    {0, 1, 2, 5, "Mn N"},   {0, 1, 3, 3, "O z"},    {0, 1, 3, 4, "O B"},
};
const std::vector<TAddress> SampleValues = {
    {1, 1, 0, 3, "U"},     {1, 1, 0, 4, "V"},      {1, 1, 0, 5, "W"},          {1, 1, 0, 12, "orientation"},
    {1, 1, 0, 14, "asymmetry"}, {1, 1, 0, 15, "mixing 0"}, {1, 1, 0, 16, "mixing 1"}, {1, 1, 0, 18, "extinction"},
    {1, 1, 0, 19, "anisotropic width"},
};

std::vector<TAddress> Join(std::initializer_list<std::vector<TAddress>> lists) {
  std::vector<TAddress> all;
  for (const auto& l : lists) all.insert(all.end(), l.begin(), l.end());
  return all;
}

}  // namespace

// Each profile with every value that changes it, X-rays with f' and f''.
TEST(Derivatives, EveryKindForEveryConstantWavelengthProfile) {
  struct Case {
    int profile;
    int broadening;
    int iPref;
    const char* what;
  };
  const Case cases[] = {
      {1, bmDeltaA, 0, "pseudo-Voigt, Rietveld asymmetry"},
      {2, bmTensor, 1, "Pearson VII, orientation over equivalents"},
      {3, bmDeltaA, 0, "Voigt, Rietveld asymmetry"},
      {4, bmDeltaA, 1, "pseudo-Voigt, Howard asymmetry"},
      {5, bmCos2Phi, 0, "Voigt, Howard asymmetry"},
      {6, bmDeltaA, 0, "pseudo-Voigt, Finger-Cox-Jephcoat asymmetry"},
  };
  const std::vector<TAddress> entries = {{1, ScatterPhase, 1, 1, "f'"}, {1, ScatterPhase, 2, 1, "f''"},
                                         {1, 0, 0, 30, "absorption"}};
  for (const Case& c : cases) {
    std::vector<TAddress> refined = Join({HistogramValues, PhaseValues, AtomValues, SampleValues, entries});
    if (c.profile == 1 || c.profile == 4 || c.profile == 6) refined.push_back({1, 1, 0, 17, "mixing 2"});
    if (c.profile == 6) refined.push_back({1, 1, 0, 20, "asymmetry H/L"});
    TSetup s(
        [&](TRietveld& m) {
          BuildModel(m, jobXrayData, c.profile);
          m.FindSample(1, 1)->BroadeningModel = c.broadening;
          m.IPREF = c.iPref;
        },
        refined);
    ExpectDerivativesAgree(s, refined, c.what);
  }
}

// Neutrons, a flat plate with surface roughness, Chebyshev and amorphous
// backgrounds, dislocation broadening and energy-dispersive data.
TEST(Derivatives, OtherInstrumentsAndBackgrounds) {
  {
    const std::vector<TAddress> refined = Join({HistogramValues, AtomValues,
                                                {{1, 1, 0, 25, "pore"}, {1, 1, 0, 26, "roughness"},
                                                 {1, 1, 0, 28, "dislocation G1"}, {1, 1, 0, 29, "dislocation L1"},
                                                 {1, 1, 0, 3, "U"}, {1, 1, 0, 15, "mixing 0"}}});
    TSetup s(
        [](TRietveld& m) {
          BuildModel(m, jobNeutronData, 4);
          THistogram& h = *m.Histogram(1);
          h.AbsorptionModel = 1;
          h.Background.Kind = bkChebyI;
          TSample& smp = *m.FindSample(1, 1);
          smp.Pore = 0.2f;
          smp.Rough = 0.5f;
          smp.BroadeningModel = bmDislocation;
          smp.DislocationCount = 1;
          smp.DislocationHKL1[0] = {1, 0, 0};
          smp.DislocationHKL2[0] = {0, 1, 1};
          smp.GausDis[0] = 0.01f;
          smp.LorDis[0] = 0.02f;
        },
        refined);
    ExpectDerivativesAgree(s, refined, "neutrons, flat plate");
  }
  {
    // Energy-dispersive: energy in keV at a fixed angle (the first wavelength's place).
    const std::vector<TAddress> refined = {{1, 0, 0, 1, "zero"},  {1, 0, 0, 27, "angle"}, {0, 1, 0, 1, "scale"},
                                           {0, 1, 0, 6, "a"},     {0, 1, 0, 10, "beta"}, {1, 1, 0, 3, "U"},
                                           {1, 1, 0, 5, "W"},     {1, 1, 0, 15, "mixing 0"}, {0, 1, 1, 1, "Fe x"},
                                           {0, 1, 2, 4, "Mn B"}};
    TSetup s(
        [](TRietveld& m) {
          BuildModel(m, jobEDData, 4);
          THistogram& h = *m.Histogram(1);
          h.Wavelength1 = 12;
          h.Ratio = 0;
          h.Start = 15;
          h.Stop = 60;
          h.Step = 0.02f;
          h.Zero = 0.01f;
          TSample& smp = *m.FindSample(1, 1);
          smp.U = 2e-4f;
          smp.V = 0;
          smp.W = 0.01f;
          smp.Gam1 = 0;
          smp.Gam2 = 0;
          smp.BroadeningModel = bmNone;
        },
        refined);
    ExpectDerivativesAgree(s, refined, "energy-dispersive");
  }
  for (int kind : {bkAmorphous, bkDampedAmorphous}) {
    const std::vector<TAddress> refined = {{1, 0, 0, 2, "B0"}, {1, 0, 0, 3, "amplitude"}, {1, 0, 0, 4, "R"},
                                           {1, 0, 0, 5, kind == bkAmorphous ? "second amplitude" : "damping"}};
    TSetup s(
        [kind](TRietveld& m) {
          BuildModel(m, jobXrayData, 4);
          auto& b = m.Histogram(1)->Background.Coefficients;
          b = {};
          b[0] = 40;
          b[1] = 30;
          b[2] = 2.5f;
          b[3] = kind == bkAmorphous ? 10.0f : 0.01f;
          b[4] = 3.1f;
          m.Histogram(1)->Background.Kind = kind;
        },
        refined);
    ExpectDerivativesAgree(s, refined, kind == bkAmorphous ? "amorphous background" : "damped amorphous background");
  }
}

// Time of flight: what only scales the peaks has closed forms; what moves
// or reshapes them is left to central differences.
// The one-pass background terms give exactly what one call per term gives,
// for every kind, with terms beyond those in use at zero.
TEST(Derivatives, BackgroundTermsInOnePassEqualTheSingleTerms) {
  struct TCase {
    int Kind;
    float Offset;
    int Terms;
  };
  const TCase cases[] = {{bkPolynomial, 0, 6},     {bkPolynomial, 40, 5},    {bkChebyI, 0, 12},
                         {bkShiftedChebyI, 0, 3},  {bkChebyII, 0, 24},      {bkShiftedChebyII, 0, 1},
                         {bkAmorphous, 0, 7},      {bkDampedAmorphous, 0, 7}};
  for (const TCase& c : cases) {
    THistogram h;
    h.Background.Kind = c.Kind;
    h.Background.Offset = c.Offset;
    for (int k = 0; k < 24; ++k) h.Background.Coefficients[k] = 1.5f + 0.25f * k;
    TBackgroundRange range;
    range.XMin = 10;
    range.XMax = 150;
    range.Terms = c.Terms;
    for (double x : {10.0, 37.3, 80.0, 149.9}) {
      double all[24];
      BackgroundDerivatives(h, range, x, 0.3 + x / 50, 24, all);
      for (int k = 0; k < 24; ++k)
        EXPECT_EQ(all[k], BackgroundDerivative(h, range, x, 0.3 + x / 50, k))
            << "kind " << c.Kind << ", " << c.Terms << " terms, x " << x << ", term " << k;
    }
  }
}

TEST(Derivatives, TimeOfFlightSplitsBetweenClosedFormsAndDifferences) {
  TRietveld model;
  ASSERT_TRUE(ReadModel(model, ExampleFile("tof.inp")));
  TPattern pattern(model);
  EXPECT_TRUE(pattern.HasAnalyticDerivative(1, 0, 0, 26));  // histogram scale
  EXPECT_TRUE(pattern.HasAnalyticDerivative(0, 1, 0, 1));   // phase scale
  EXPECT_TRUE(pattern.HasAnalyticDerivative(0, 1, 1, 1));   // atoms
  EXPECT_TRUE(pattern.HasAnalyticDerivative(1, 0, 0, 2));   // background
  EXPECT_FALSE(pattern.HasAnalyticDerivative(1, 0, 0, 1));  // zero
  EXPECT_FALSE(pattern.HasAnalyticDerivative(0, 1, 0, 6));  // cell
  EXPECT_FALSE(pattern.HasAnalyticDerivative(1, 1, 0, 3));  // width
  EXPECT_FALSE(pattern.HasAnalyticDerivative(1, 1, 0, 21)); // exponentials
}

// One cycle from the same start: the closed forms give the standard errors
// of the central differences within 1 %, and shifts well inside them; with
// Howard's asymmetry and with Finger-Cox-Jephcoat's (its S/L and H/L
// refined with the wavelength, zero and cell).
TEST(Derivatives, CycleMatchesTheNumericalCycle) {
  for (int profile : {4, 6}) {
    SCOPED_TRACE(profile);
    std::vector<TAddress> refined = {
        {1, 0, 0, 1, "zero"},     {1, 0, 0, 2, "background 1"}, {1, 0, 0, 3, "background 2"},
        {0, 1, 0, 1, "scale"},    {0, 1, 0, 6, "a"},            {0, 1, 0, 7, "b"},
        {0, 1, 0, 8, "c"},        {0, 1, 0, 10, "beta"},        {0, 1, 1, 1, "Fe x"},
        {0, 1, 1, 2, "Fe y"},     {0, 1, 1, 3, "Fe z"},         {0, 1, 1, 6, "Fe B11"},
        {0, 1, 2, 1, "Mn x"},     {0, 1, 2, 4, "Mn B"},         {0, 1, 3, 3, "O z"},
        {0, 1, 3, 4, "O B"},      {1, 1, 0, 3, "U"},            {1, 1, 0, 4, "V"},
        {1, 1, 0, 5, "W"},        {1, 1, 0, 14, "asymmetry"},   {1, 1, 0, 15, "mixing 0"},
        {1, 1, 0, 12, "orientation"}};
    if (profile == 6) refined.push_back({1, 1, 0, 20, "asymmetry H/L"});
    auto build = [profile](TRietveld& m) { BuildModel(m, jobXrayData, profile); };
    std::vector<double> counts;
    {
      TSetup truth(build, refined);
      counts = PoissonCounts(truth.Pattern->Data(1).Calculated, 7);
    }
    std::vector<double> esd[2], value[2];
    for (int numeric = 0; numeric < 2; ++numeric) {
      TSetup s(build, refined);
      s.Pattern->Data(1).Observed = counts;
      s.Model.Phase(1)->A += 0.002f;
      s.Model.Phase(1)->Atom(3)->Z += 0.004f;
      s.Model.FindSample(1, 1)->U += 0.005f;
      s.Pattern->Calculate();
      s.Pattern->UpdateWeights();
      s.Refinement->SetNumericDerivatives(numeric != 0);
      bool converged = false;
      ASSERT_EQ(s.Refinement->Cycle(converged), zeNone) << s.Refinement->Problem();
      for (const TVariable& v : s.Refinement->Variables()) {
        esd[numeric].push_back(v.Esd);
        value[numeric].push_back(*v.Members.front().Value);
      }
    }
    ASSERT_EQ(esd[0].size(), refined.size());
    for (std::size_t j = 0; j < refined.size(); ++j) {
      EXPECT_NEAR(esd[0][j], esd[1][j], 0.01 * esd[1][j]) << refined[j].What;
      EXPECT_NEAR(value[0][j], value[1][j], 0.1 * esd[1][j]) << refined[j].What;
    }
  }
}

// A cycle's normal equations hold the columns of the values that enter
// through |F|^2 as reflection profiles: they must be J^T W J and J^T W r of
// the whole derivative rows. The small model has atoms, the overall B, f'
// and f'' among the rest; the two-phase example ties values of both phases
// into one variable.
TEST(Derivatives, NormalEquationsFromProfilesAreThoseOfTheWholeRows) {
  auto expectSame = [](TRefinement& refinement, TPattern& pattern, const std::string& what) {
    std::vector<double> rows, a, g;
    ASSERT_EQ(refinement.Derivatives(rows), zeNone) << what;
    ASSERT_EQ(refinement.NormalEquations(a, g), zeNone) << what;
    const std::size_t n = static_cast<std::size_t>(refinement.VariableCount());
    std::vector<double> wholeA(n * n, 0.0), wholeG(n, 0.0);
    double squares = 0;
    std::size_t row = 0, profiled = 0;
    for (int h = 1; h <= pattern.HistogramCount(); ++h) {
      const THistogramData& d = pattern.Data(h);
      profiled += d.ProfileColumns.size();
      const float weighting = pattern.Model().Histogram(h)->Weighting;
      for (std::size_t i = 0; i < d.X.size(); ++i) {
        if (!d.Used[i] || !(d.Weight[i] > 0)) continue;
        const double w = (weighting > 0 ? weighting : 1.0) * d.Weight[i], r = d.Observed[i] - d.Calculated[i];
        ASSERT_LE((row + 1) * n, rows.size()) << what;
        const double* x = &rows[row++ * n];
        squares += w * r * r;
        for (std::size_t j = 0; j < n; ++j) {
          wholeG[j] += w * x[j] * r;
          for (std::size_t k = 0; k < n; ++k) wholeA[j * n + k] += w * x[j] * x[k];
        }
      }
    }
    EXPECT_EQ(row * n, rows.size()) << what;
    EXPECT_GT(profiled, 0u) << what << ": no column held as profiles";
    ASSERT_EQ(a.size(), n * n) << what;
    for (std::size_t j = 0; j < n; ++j) {
      const std::string name = what + ": " + refinement.Variables()[j].Name;
      EXPECT_NEAR(g[j], wholeG[j], 1e-9 * std::sqrt(wholeA[j * n + j] * squares)) << name;
      for (std::size_t k = 0; k < n; ++k)
        EXPECT_NEAR(a[j * n + k], wholeA[j * n + k], 1e-9 * std::sqrt(wholeA[j * n + j] * wholeA[k * n + k]))
            << name << " with " << refinement.Variables()[k].Name;
    }
  };
  {
    const std::vector<TAddress> refined = Join({HistogramValues, PhaseValues, AtomValues,
                                                {{1, 1, 0, 3, "U"}, {1, 1, 0, 14, "asymmetry"},
                                                 {1, ScatterPhase, 1, 1, "f'"}, {1, ScatterPhase, 2, 1, "f''"}}});
    TSetup s([](TRietveld& m) { BuildModel(m, jobXrayData, 4); }, refined);
    expectSame(*s.Refinement, *s.Pattern, "small model");
  }
  {
    TTempDir dir;
    TZdEngine engine;
    ASSERT_EQ(engine.Start(1, ExampleFile("two-phase.inp"), ExampleFile("two-phase"), dir.File("w.out"), dir.File("w")),
              zeNone)
        << engine.Problem();
    expectSame(engine.Refinement(), engine.Pattern(), "two phases");
  }
}

// The peaks walk a grid of constant step with products instead of
// exponentials, correcting for x kept in single precision; they must give
// what the point-by-point evaluation of a grid without a constant step gives.
// A cycle hands the derivatives of its accepted trial to the next one: they
// and the pattern must be what a fresh calculation gives, and a moved value
// or a pattern calculated in between must not get the stale ones.
TEST(Derivatives, NextCycleStartsFromTheTrialsDerivativesOnlyWhileTheyHold) {
  const std::vector<TAddress> refined = {{1, 0, 0, 1, "zero"}, {0, 1, 0, 1, "scale"}, {0, 1, 0, 6, "a"},
                                         {0, 1, 1, 1, "Fe x"}, {1, 1, 0, 3, "U"},     {1, 1, 0, 15, "mixing 0"}};
  TSetup s([](TRietveld& m) { BuildModel(m, jobXrayData, 4); }, refined);
  s.Model.Phase(1)->A += 0.002f;
  s.Model.Phase(1)->Atom(1)->X += 0.003f;
  auto cycleThen = [&](const std::function<void()>& between) {
    s.Pattern->Calculate();
    bool converged = false;
    EXPECT_EQ(s.Refinement->Cycle(converged), zeNone) << s.Refinement->Problem();
    between();
    std::vector<double> handed, fresh;
    EXPECT_EQ(s.Refinement->Derivatives(handed), zeNone);
    const std::vector<double> pattern = s.Pattern->Data(1).Calculated;
    s.Pattern->Calculate();  // spoils any hand-over
    EXPECT_EQ(s.Refinement->Derivatives(fresh), zeNone);
    ASSERT_EQ(handed.size(), fresh.size());
    double scale = 0, worst = 0;
    for (std::size_t i = 0; i < fresh.size(); ++i) {
      scale = std::max(scale, std::fabs(fresh[i]));
      worst = std::max(worst, std::fabs(handed[i] - fresh[i]));
    }
    EXPECT_LE(worst, 1e-12 * scale);
    const std::vector<double>& again = s.Pattern->Data(1).Calculated;
    for (std::size_t i = 0; i < again.size(); ++i) ASSERT_NEAR(pattern[i], again[i], 1e-9 * std::fabs(again[i]) + 1e-12);
  };
  const struct {
    const char* What;
    std::function<void()> Between;
  } cases[] = {
      {"nothing between", [] {}},
      {"a refined value moved", [&] { s.Model.Phase(1)->Atom(1)->X += 0.01f; }},
      {"a fixed value moved and the pattern calculated", [&] {
         s.Model.Phase(1)->Atom(1)->Z += 0.01f;
         s.Pattern->Calculate();
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    cycleThen(c.Between);
  }
}

TEST(Pattern, WalkingAConstantStepGivesThePointByPointValues) {
  for (int profile : {1, 4, 5}) {
    std::vector<double> values[2];
    for (int irregular = 0; irregular < 2; ++irregular) {
      TRietveld model;
      BuildModel(model, jobXrayData, profile);
      TPattern pattern(model);
      THistogramData data;
      for (int i = 0; i <= 3000; ++i) data.X.push_back(static_cast<float>(15 + 0.02 * i));
      if (irregular) data.X.back() += 0.008;  // no constant step: every point on its own
      data.Observed.assign(data.X.size(), 100.0);
      data.Third.assign(data.X.size(), 1.0);
      pattern.SetData(1, std::move(data));
      ASSERT_EQ(pattern.Prepare(), zeNone);
      EXPECT_EQ(pattern.Data(1).Step > 0, irregular == 0);
      ASSERT_EQ(pattern.Calculate(), zeNone);
      values[irregular] = pattern.Data(1).Calculated;
    }
    double scale = 0, worst = 0;
    for (std::size_t i = 0; i + 1 < values[0].size(); ++i) {
      scale = std::max(scale, std::fabs(values[1][i]));
      worst = std::max(worst, std::fabs(values[0][i] - values[1][i]));
    }
    EXPECT_LE(worst, 1e-11 * scale) << "profile " << profile;
  }
}
