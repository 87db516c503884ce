// Cell geometry, symmetry, reflections and structure factors against
// hand-computed crystallographic values.
#include <gtest/gtest.h>

#include <cmath>
#include <gemmi/fprime.hpp>
#include <gemmi/it92.hpp>
#include <gemmi/math.hpp>
#include <gemmi/symmetry.hpp>

#include "core/crystal.h"
#include "core/pattern.h"
#include "core/scattering.h"
#include "sgtools.h"
#include "model/rietclass.h"

namespace {

constexpr double CuKa1 = 1.540562;

double TwoTheta(double d, double lambda) { return 2 * std::asin(lambda / (2 * d)) / DegToRad; }

TSpaceGroup Group(const std::string& symbol, const TCell& cell = TCell(5, 6, 7, 90, 90, 90)) {
  TSpaceGroup g;
  EXPECT_TRUE(g.Assign(symbol, cell)) << symbol;
  return g;
}

// A rock-salt model: Na at 4a, Cl at 4b, no displacement, one X-ray
// histogram. Full sites of F m -3 m (M = 192) have N = 4 / 192.
void RockSalt(TRietveld& model) {
  THistogram* h = model.NewHistogram();
  h->Wavelength1 = h->Wavelength2 = CuKa1;
  TPhase* p = model.NewPhase();
  p->SpaceGroup = "F M 3 M";
  p->A = p->B = p->C = 5.6402f;
  TAtom na;
  na.Label = na.AtomType = "NA";
  na.B = 0;
  na.N = 4.0f / 192;
  TAtom cl;
  cl.Label = cl.AtomType = "CL";
  cl.X = cl.Y = cl.Z = 0.5f;
  cl.B = 0;
  cl.N = 4.0f / 192;
  p->AddAtom(na);
  p->AddAtom(cl);
}

}  // namespace

TEST(Crystal, RockSaltReflectionsAtCuKalpha1) {
  const TCell cell(5.6402, 5.6402, 5.6402, 90, 90, 90);
  const TSpaceGroup g = Group("F M 3 M", cell);
  // Face centring leaves only all-even or all-odd indices; equal-d sets such
  // as 333 and 511 stay separate reflections.
  struct Row {
    TMiller hkl;
    int multiplicity;
    double twoTheta;
  };
  const Row expected[] = {{{1, 1, 1}, 8, 27.3655},  {{2, 0, 0}, 6, 31.7024},  {{2, 2, 0}, 12, 45.4462},
                          {{3, 1, 1}, 24, 53.8663}, {{2, 2, 2}, 8, 56.4703},  {{4, 0, 0}, 6, 66.2242},
                          {{3, 3, 1}, 24, 73.0672}, {{4, 2, 0}, 24, 75.2888}, {{4, 2, 2}, 24, 83.9880},
                          {{3, 3, 3}, 8, 90.4109},  {{5, 1, 1}, 24, 90.4109}, {{4, 4, 0}, 12, 101.1679}};
  const std::vector<TReflection> list = GenerateReflections(cell, g, CuKa1 / (2 * std::sin(52 * DegToRad)), 10.0);
  ASSERT_EQ(list.size(), std::size(expected));
  for (const Row& row : expected) {
    const auto it = std::find_if(list.begin(), list.end(), [&](const TReflection& r) { return r.Hkl == row.hkl; });
    ASSERT_NE(it, list.end()) << row.hkl[0] << row.hkl[1] << row.hkl[2];
    EXPECT_EQ(it->Multiplicity, row.multiplicity) << row.hkl[0] << row.hkl[1] << row.hkl[2];
    EXPECT_NEAR(TwoTheta(it->D, CuKa1), row.twoTheta, 1e-3);
  }
}

TEST(Crystal, RockSaltStructureFactors) {
  TRietveld model;
  RockSalt(model);
  TPattern pattern(model);
  THistogramData data;
  data.Calculation = true;
  for (int i = 0; i < 200; ++i) data.X.push_back(20 + 0.5 * i);
  pattern.SetData(1, std::move(data));
  ASSERT_EQ(pattern.Prepare(), zeNone);
  TPhaseView& view = pattern.Views(1)[0];
  pattern.UpdateStructureFactors(1, view);

  const auto& na = gemmi::IT92<double>::get(gemmi::El::Na);
  const auto& cl = gemmi::IT92<double>::get(gemmi::El::Cl);
  // f' and f'' at Cu K alpha 1 from the Cromer-Liberman routine.
  const double energy = gemmi::hc() / double(static_cast<float>(CuKa1));
  double naFpp = 0, clFpp = 0;
  const double naFp = gemmi::cromer_liberman(11, energy, &naFpp), clFp = gemmi::cromer_liberman(17, energy, &clFpp);
  auto f = [](const auto& coef, double d, double fp, double fpp) {
    return std::complex<double>(coef.calculate_sf(0.25 / (d * d)) + fp, fpp);
  };
  for (const TReflection& r : view.Reflections) {
    const bool even = r.Hkl[0] % 2 == 0;
    // Four formula units: F = 4 (fNa + fCl) for even indices, 4 (fNa - fCl) for odd.
    const std::complex<double> expected = 4.0 * (f(na, r.D, naFp, naFpp) + (even ? 1.0 : -1.0) * f(cl, r.D, clFp, clFpp));
    EXPECT_NEAR(std::abs(r.F), std::abs(expected), 1e-6 * std::abs(expected)) << r.Hkl[0] << r.Hkl[1] << r.Hkl[2];
    EXPECT_NEAR(r.F2, std::norm(expected), 1e-6 * std::norm(expected));
  }
  const auto it = std::find_if(view.Reflections.begin(), view.Reflections.end(),
                               [](const TReflection& r) { return r.Hkl == TMiller{2, 0, 0}; });
  ASSERT_NE(it, view.Reflections.end());
  EXPECT_NEAR(std::abs(it->F), std::abs(4.0 * (f(na, 2.8201, naFp, naFpp) + f(cl, 2.8201, clFp, clFpp))), 1e-3);
}

TEST(Crystal, OccupancyIsSiteFractionTimesSiteOverGeneralMultiplicity) {
  constexpr double x = 0.3048;
  struct Site {
    int atom;
    double r[3];
  };
  const Site cellAtoms[] = {{0, {0, 0, 0}},         {0, {0.5, 0.5, 0.5}},         {1, {x, x, 0}},
                            {1, {-x, -x, 0}},       {1, {0.5 + x, 0.5 - x, 0.5}}, {1, {0.5 - x, 0.5 + x, 0.5}}};
  for (const double oxygenFraction : {1.0, 0.5}) {
    TRietveld model;
    THistogram* h = model.NewHistogram();
    h->Wavelength1 = h->Wavelength2 = CuKa1;
    TPhase* p = model.NewPhase();
    p->SpaceGroup = "P 42/M N M";
    p->A = p->B = 4.594f;
    p->C = 2.959f;
    TAtom ti;
    ti.Label = ti.AtomType = "TI";
    ti.B = 0;
    ti.N = 2.0f / 16;
    TAtom o;
    o.Label = o.AtomType = "O";
    o.X = o.Y = static_cast<float>(x);
    o.B = 0;
    o.N = static_cast<float>(oxygenFraction * 4 / 16);
    p->AddAtom(ti);
    p->AddAtom(o);
    TPattern pattern(model);
    THistogramData data;
    data.Calculation = true;
    for (int i = 0; i < 240; ++i) data.X.push_back(20 + 0.5 * i);
    pattern.SetData(1, std::move(data));
    ASSERT_EQ(pattern.Prepare(), zeNone);
    TPhaseView& view = pattern.Views(1)[0];
    pattern.UpdateStructureFactors(1, view);
    ASSERT_GT(view.Reflections.size(), 20u);
    const double occupancy[2] = {1.0, oxygenFraction};
    for (const TReflection& r : view.Reflections) {
      const double stol2 = 0.25 / (r.D * r.D);
      std::complex<double> expected = 0;
      for (const Site& site : cellAtoms) {
        const TScatterer& sc = view.Scatterers[static_cast<std::size_t>(site.atom)];
        const double phase = 2 * Pi * (r.Hkl[0] * site.r[0] + r.Hkl[1] * site.r[1] + r.Hkl[2] * site.r[2]);
        expected += occupancy[site.atom] * std::complex<double>(sc.Real(stol2), sc.Imaginary()) *
                    std::complex<double>(std::cos(phase), std::sin(phase));
      }
      EXPECT_NEAR(std::abs(r.F), std::abs(expected), 1e-5 * std::max(1.0, std::abs(expected)))
          << oxygenFraction << " " << r.Hkl[0] << r.Hkl[1] << r.Hkl[2];
    }
    // F(000) counts 2 Ti and 4 x fraction O in the cell.
    EXPECT_NEAR(pattern.ForwardScattering(1, view),
                2 * view.Scatterers[0].Forward() + 4 * oxygenFraction * view.Scatterers[1].Forward(), 1e-4);
  }
}

TEST(Crystal, SystematicAbsences) {
  const TSpaceGroup body = Group("I 4/M M M");
  const TSpaceGroup glide = Group("P 21/C");
  const TSpaceGroup centred = Group("F M 3 M");
  struct Case {
    const TSpaceGroup* group;
    TMiller hkl;
    bool absent;
  };
  const Case cases[] = {
      {&body, {1, 0, 0}, true},   {&body, {1, 1, 0}, false},  {&body, {1, 1, 1}, true},  {&body, {2, 1, 1}, false},
      {&body, {0, 0, 3}, true},   {&glide, {1, 0, 1}, true},  {&glide, {1, 0, 2}, false}, {&glide, {0, 0, 1}, true},
      {&glide, {0, 1, 0}, true},  {&glide, {0, 2, 0}, false}, {&glide, {1, 1, 1}, false}, {&glide, {2, 0, 2}, false},
      {&centred, {1, 1, 0}, true}, {&centred, {2, 2, 0}, false}, {&centred, {1, 1, 1}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.group->IsAbsent(c.hkl), c.absent) << c.group->Name() << " " << c.hkl[0] << c.hkl[1] << c.hkl[2];
  }
  // The same rule as the symmetry library's own test, over a block of indices.
  for (const char* symbol : {"I 4/M M M", "P 21/C", "F D -3 M", "R -3 C", "P 63/M M C", "P N M A"}) {
    const TSpaceGroup g = Group(symbol);
    const gemmi::GroupOps ops = SgFind(symbol)->operations();
    for (int h = -4; h <= 4; ++h)
      for (int k = -4; k <= 4; ++k)
        for (int l = -4; l <= 4; ++l)
          ASSERT_EQ(g.IsAbsent({h, k, l}), ops.is_systematically_absent({h, k, l})) << symbol << " " << h << k << l;
  }
}

TEST(Crystal, MultiplicitiesOfSitesAndGroups) {
  const TSpaceGroup monoclinic = Group("P 21/C");
  EXPECT_EQ(monoclinic.Order(), 4);
  EXPECT_EQ(monoclinic.SiteMultiplicity({0, 0, 0}), 2);
  EXPECT_EQ(monoclinic.SiteMultiplicity({0.123, 0.271, 0.389}), 4);
  const TSpaceGroup fm3m = Group("F M 3 M", TCell(5, 5, 5, 90, 90, 90));
  EXPECT_EQ(fm3m.Order(), 192);
  EXPECT_EQ(fm3m.SiteMultiplicity({0, 0, 0}), 4);
  EXPECT_EQ(fm3m.SiteMultiplicity({0.25, 0.25, 0.25}), 8);
  EXPECT_EQ(fm3m.Multiplicity({1, 2, 3}), 48);
  // Corundum on hexagonal axes: Al at 12c, O at 18e.
  const TSpaceGroup corundum = Group("R -3 C", TCell(4.759, 4.759, 12.99, 90, 90, 120));
  EXPECT_EQ(corundum.Order(), 36);
  EXPECT_EQ(corundum.SiteMultiplicity({0, 0, 0.3521}), 12);
  EXPECT_EQ(corundum.SiteMultiplicity({0.3064, 0, 0.25}), 18);
  EXPECT_EQ(corundum.Orbit({0.3064, 0, 0.25}).size(), 18u);
  // The same group on rhombohedral axes has no centring.
  const TSpaceGroup rhombohedral = Group("R -3 C", TCell(5.128, 5.128, 5.128, 55.28, 55.28, 55.28));
  EXPECT_EQ(rhombohedral.Order(), 12);
  EXPECT_FALSE(TSpaceGroup().Assign("Q 99 Z", TCell(5, 5, 5, 90, 90, 90)));
}

// The multiplicity is counted from the rotations that keep h (the list of
// equivalents was most of the start of a run with 2e5 reflections); it is
// the length of that list for general, special and zero indices alike.
TEST(Crystal, CountedMultiplicityIsTheNumberOfEquivalents) {
  const struct {
    const char* Symbol;
    TCell Cell;
  } groups[] = {{"P 1", TCell(5, 6, 7, 80, 85, 95)},       {"P 21/C", TCell(5, 6, 7, 90, 100, 90)},
                {"P 42/M N M", TCell(4.6, 4.6, 3, 90, 90, 90)}, {"P M -3 M", TCell(4, 4, 4, 90, 90, 90)},
                {"F D -3 M", TCell(8, 8, 8, 90, 90, 90)},  {"R -3 C", TCell(4.759, 4.759, 12.99, 90, 90, 120)},
                {"P 63/M M C", TCell(3, 3, 5, 90, 90, 120)}, {"P 3", TCell(3, 3, 5, 90, 90, 120)}};
  for (const auto& g : groups) {
    TSpaceGroup group;
    if (!group.Assign(g.Symbol, g.Cell)) continue;  // a group the library does not know
    for (int h = -3; h <= 3; ++h)
      for (int k = -3; k <= 3; ++k)
        for (int l = -3; l <= 3; ++l)
          ASSERT_EQ(group.Multiplicity({h, k, l}), static_cast<int>(group.EquivalentIndices({h, k, l}).size()))
              << g.Symbol << " " << h << " " << k << " " << l;
  }
}

TEST(Crystal, CellGeometry) {
  // Hexagonal: 1/d^2 = 4/3 (h^2 + hk + k^2)/a^2 + l^2/c^2; V = sqrt(3)/2 a^2 c.
  const TCell hex(4.759, 4.759, 12.99, 90, 90, 120);
  EXPECT_NEAR(hex.Volume(), std::sqrt(3.0) / 2 * 4.759 * 4.759 * 12.99, 1e-9);
  const double q = 4.0 / 3 * (1 + 1 + 1) / (4.759 * 4.759) + 4.0 / (12.99 * 12.99);
  EXPECT_NEAR(hex.DSpacing({1, 1, 2}), 1 / std::sqrt(q), 1e-12);
  // Monoclinic (b unique): 1/d^2 = (h^2/a^2 + l^2/c^2 - 2hl cos(beta)/(ac)) / sin^2(beta) + k^2/b^2.
  const double a = 5.1, b = 6.2, c = 7.3, beta = 103.4 * DegToRad;
  const TCell mono(a, b, c, 90, 103.4, 90);
  const double qm = (4 / (a * a) + 1 / (c * c) - 2 * 2 * 1 * std::cos(beta) / (a * c)) / std::pow(std::sin(beta), 2) + 9 / (b * b);
  EXPECT_NEAR(mono.DSpacing({2, 3, 1}), 1 / std::sqrt(qm), 1e-12);
  EXPECT_NEAR(mono.Distance({0, 0, 0}, {0.5, 0, 0}), a / 2, 1e-12);
  EXPECT_FALSE(TCell(5, 5, 5, 90, 90, 190).IsValid());
}

TEST(Crystal, ScattererLookup) {
  THistogram xray;
  TScatterer s;
  ASSERT_TRUE(ResolveScatterer("SR  ", xray, s));
  EXPECT_NEAR(s.Forward() - s.FPrime, 38.0, 0.1);  // electrons at zero angle
  ASSERT_TRUE(ResolveScatterer("FE3+", xray, s));
  EXPECT_EQ(s.AtomicNumber, 26);
  EXPECT_FALSE(ResolveScatterer("QQ  ", xray, s));

  // The histogram's own entry wins, with its f' and f''.
  TScatterFactor* e = xray.ScatterFactors.AddNew();
  e->Symbol = "O2- ";
  e->Coefficients = {3.0, 13.0, 2.0, 5.0, 1.5, 0.3, 0.9, 33.0, 0.2};
  e->FPrime = 0.05f;
  e->FDoublePrime = 0.03f;
  ASSERT_TRUE(ResolveScatterer("O2-", xray, s));
  EXPECT_NEAR(s.Real(0), 3.0 + 2.0 + 1.5 + 0.9 + 0.2 + 0.05, 1e-6);
  EXPECT_NEAR(s.Imaginary(), 0.03, 1e-7);

  THistogram neutron;
  neutron.Job = jobTOFData;
  ASSERT_TRUE(ResolveScatterer("TI  ", neutron, s));
  EXPECT_NEAR(s.Real(0.5), -3.438, 1e-3);  // a negative length, no angle dependence
  EXPECT_EQ(ElementOfType(" CL1"), "Cl");
  EXPECT_EQ(ElementOfType("C   "), "C");
}

// f' and f'' of the table elements at the X-ray histogram's wavelength, from
// the Cromer-Liberman routine of the crystallographic library; neutron and
// energy-dispersive histograms and the histogram's own entries get none.
TEST(Crystal, AnomalousScatteringAtTheWavelength) {
  THistogram xray;
  xray.Job = jobXrayData;
  xray.Wavelength1 = static_cast<float>(CuKa1);
  TScatterer fe;
  ASSERT_TRUE(ResolveScatterer("FE3+", xray, fe));
  double fpp = 0;
  const double fp = gemmi::cromer_liberman(26, gemmi::hc() / double(xray.Wavelength1), &fpp);
  EXPECT_DOUBLE_EQ(fe.FPrime, fp);
  EXPECT_DOUBLE_EQ(fe.Imaginary(), fpp);
  // Iron at Cu K alpha sits just above its K edge: f' near -1.1, f'' near 3.2.
  EXPECT_NEAR(fe.FPrime, -1.13, 0.1);
  EXPECT_NEAR(fe.Imaginary(), 3.2, 0.15);
  const auto& it92 = gemmi::IT92<double>::get(gemmi::El::Fe);
  EXPECT_NEAR(fe.Real(0.1), it92.calculate_sf(0.1) + fp, 1e-9);

  // Lead at Mo K alpha (0.7107): the library's values again, another wavelength.
  xray.Wavelength1 = 0.7107f;
  TScatterer pb;
  ASSERT_TRUE(ResolveScatterer("PB", xray, pb));
  const double pbFp = gemmi::cromer_liberman(82, gemmi::hc() / double(xray.Wavelength1), &fpp);
  EXPECT_DOUBLE_EQ(pb.FPrime, pbFp);
  EXPECT_DOUBLE_EQ(pb.Imaginary(), fpp);
  EXPECT_LT(pb.FPrime, -1.0);

  for (int job : {jobNeutronData, jobTOFCalc, jobEDData}) {
    THistogram other;
    other.Job = job;
    other.Wavelength1 = job == jobTOFCalc ? 7476.2f : 1.5f;
    TScatterer s;
    ASSERT_TRUE(ResolveScatterer("FE", other, s)) << job;
    EXPECT_EQ(s.FPrime, 0.0) << job;
    EXPECT_EQ(s.Imaginary(), 0.0) << job;
  }
  // An entry of the histogram gives its own f' and f'' (here none).
  TScatterFactor* e = xray.ScatterFactors.AddNew();
  e->Symbol = "PB  ";
  e->Coefficients = {31.0, 0.7, 13.0, 3.0, 7.0, 13.0, 9.0, 50.0, 13.0};
  ASSERT_TRUE(ResolveScatterer("PB", xray, pb));
  EXPECT_EQ(pb.Imaginary(), 0.0);
  EXPECT_NEAR(pb.Real(0), 31.0 + 13.0 + 7.0 + 9.0 + 13.0, 1e-5);
}

TEST(Crystal, PeakPositionsForEachRadiation) {
  // NaCl (2 0 0), d = 2.8201, seen by each kind of histogram.
  struct Case {
    const char* what;
    int job, profile;
    float w1, w2, zero, displacement;
    double expected;
  };
  const double d = 5.6402 / 2;
  const double theta = std::asin(CuKa1 / (2 * d));
  const Case cases[] = {
      {"X-ray", jobXrayCalc, 4, 1.540562f, 1.540562f, 0.05f, 0, 2 * theta / DegToRad + 0.05},
      {"displaced", jobXrayCalc, 4, 1.540562f, 1.540562f, 0, -0.1f, 2 * theta / DegToRad - 0.1 * std::cos(theta)},
      {"neutron", jobNeutronCalc, 1, 1.540562f, 1.540562f, 0, 0, 2 * theta / DegToRad},
      {"time of flight", jobTOFCalc, 7, 7476.2f, -1.5f, 3, 0, 3 + 7476.2 * d - 1.5 * d * d},
      {"energy", jobEDCalc, 1, 20.0f, 0, 0.2f, 0, 0.2 + 12.398419843 / (2 * d * std::sin(10 * DegToRad))},
  };
  for (const Case& c : cases) {
    TRietveld model;
    RockSalt(model);
    THistogram& h = *model.Histogram(1);
    h.Job = c.job;
    h.Profile = c.profile;
    h.Wavelength1 = c.w1;
    h.Wavelength2 = c.w2;
    h.Zero = c.zero;
    h.HasDisplacement = c.displacement != 0;
    h.Displacement = c.displacement;
    TPattern pattern(model);
    THistogramData data;
    data.Calculation = true;
    for (int i = 0; i < 400; ++i) data.X.push_back(0.5 * c.expected + i * c.expected / 300);
    pattern.SetData(1, std::move(data));
    ASSERT_EQ(pattern.Prepare(), zeNone) << c.what;
    ASSERT_EQ(pattern.Calculate(), zeNone) << c.what;
    const TPhaseView& view = pattern.Views(1)[0];
    const auto r = std::find_if(view.Reflections.begin(), view.Reflections.end(),
                                [](const TReflection& x) { return x.Hkl == TMiller{2, 0, 0}; });
    ASSERT_NE(r, view.Reflections.end()) << c.what;
    EXPECT_NEAR(pattern.MarkerPosition(1, view, *r), c.expected, 1e-6 * c.expected) << c.what;
  }
}
