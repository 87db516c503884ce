// From other programs' files to the engine: models of the same structure
// built by the phase window's full-occupancy rule, read from a CIF and read
// from a GSAS experiment file give the same structure factors, equal to the
// sum over the atoms of the cell written out by hand; a Fullprof file of a
// heavy-atom compound imports as a model the engine refines, with f' and f''.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include <gemmi/fprime.hpp>
#include <gemmi/it92.hpp>
#include <gemmi/math.hpp>

#include "enginetest.h"
#include "model/crystal.h"
#include "model/datafiles.h"
#include "model/fullprofimport.h"
#include "model/gsasimport.h"
#include "model/structurefiles.h"

namespace {

constexpr float CuKa1 = 1.54056f;
constexpr double OxygenX = 0.3048;

// Rutile, P 42/m n m (M = 16): Ti on 2a, O on 4f.
const char* const RutileCif =
    "data_rutile\n"
    "_cell_length_a 4.5937\n_cell_length_b 4.5937\n_cell_length_c 2.9587\n"
    "_cell_angle_alpha 90\n_cell_angle_beta 90\n_cell_angle_gamma 90\n"
    "_symmetry_space_group_name_H-M 'P 42/m n m'\n"
    "loop_\n_atom_site_label\n_atom_site_type_symbol\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n"
    "Ti1 Ti 0 0 0\nO1 O 0.3048 0.3048 0\n";

// The same in an experiment file: fraction 1 and the site multiplicity.
const char* const RutileExp =
    " EXPR  NHST     1\n"
    "CRS1    PNAM  Rutile\n"
    "CRS1  ABC     4.593700  4.593700  2.958700\n"
    "CRS1  ANGLES 90.000000 90.000000 90.000000\n"
    "CRS1  SG SYM  P 42/m n m\n"
    "CRS1  NATOM     2\n"
    "CRS1  AT  1A  TI        0.000000  0.000000  0.000000  1.000000TI1        2I\n"
    "CRS1  AT  2A  O         0.304800  0.304800  0.000000  1.000000O1         4I\n"
    "HST  1 ICONS   1.54056   1.54439   0.00000   0.00000   0.50000\n";

void AddXrayHistogram(TRietveld& model) {
  THistogram* h = model.NewHistogram();
  h->Wavelength1 = CuKa1;
  h->Wavelength2 = 1.54439f;
}

// The structure factors of the model's first phase (displacements set to 0).
std::vector<TReflection> StructureFactors(TRietveld& model, std::vector<TScatterer>& scatterers) {
  for (auto& atom : model.Phase(1)->Atoms) atom->B = 0;
  TPattern pattern(model);
  THistogramData data;
  data.Calculation = true;
  for (int i = 0; i < 300; ++i) data.X.push_back(10 + 0.5 * i);
  pattern.SetData(1, std::move(data));
  EXPECT_EQ(pattern.Prepare(), zeNone);
  TPhaseView& view = pattern.Views(1)[0];
  pattern.UpdateStructureFactors(1, view);
  scatterers = view.Scatterers;
  return view.Reflections;
}

}  // namespace

TEST(Imports, OneOccupancyConventionFromWindowCifAndExperimentFile) {
  TTempDir dir;
  TMessageTrap trap;

  // The phase window: atoms typed in, "Set atom occupancy to full" (m / M).
  TRietveld window;
  AddXrayHistogram(window);
  TPhase& wp = *window.NewPhase();
  wp.SpaceGroup = "P 42/M N M";
  wp.A = wp.B = 4.5937f;
  wp.C = 2.9587f;
  for (const auto& [type, x] : {std::pair{"TI  ", 0.0}, std::pair{"O   ", OxygenX}}) {
    TAtom a;
    a.Label = a.AtomType = type;
    a.X = a.Y = static_cast<float>(x);
    a.N = FullOccupancy(wp.SpaceGroup, a.X, a.Y, a.Z);
    wp.AddAtom(a);
  }
  EXPECT_FLOAT_EQ(wp.Atom(1)->N, 2.0f / 16);
  EXPECT_FLOAT_EQ(wp.Atom(2)->N, 4.0f / 16);

  TRietveld cif;
  AddXrayHistogram(cif);
  cif.NewPhase();
  ASSERT_TRUE(ReadCifFile(dir.Write("rutile.cif", RutileCif), *cif.Phase(1)));

  TRietveld exp;
  ASSERT_TRUE(ImportGSAS(exp, dir.Write("rutile.exp", RutileExp)));
  EXPECT_FLOAT_EQ(exp.Histogram(1)->Ratio, 0.5f);
  EXPECT_TRUE(trap.Messages.empty()) << trap.Messages.front();

  std::vector<TScatterer> sc;
  const std::vector<TReflection> reference = StructureFactors(window, sc);
  ASSERT_GT(reference.size(), 30u);
  // Independent: the six atoms of the cell, each counted once.
  struct Site {
    int Atom;
    double R[3];
  };
  const double x = OxygenX;
  const Site cell[] = {{0, {0, 0, 0}},   {0, {0.5, 0.5, 0.5}},         {1, {x, x, 0}},
                       {1, {-x, -x, 0}}, {1, {0.5 + x, 0.5 - x, 0.5}}, {1, {0.5 - x, 0.5 + x, 0.5}}};
  for (const TReflection& r : reference) {
    const double stol2 = 0.25 / (r.D * r.D);
    std::complex<double> f = 0;
    for (const Site& s : cell) {
      const double phase = 2 * Pi * (r.Hkl[0] * s.R[0] + r.Hkl[1] * s.R[1] + r.Hkl[2] * s.R[2]);
      const TScatterer& k = sc[static_cast<std::size_t>(s.Atom)];
      f += std::complex<double>(k.Real(stol2), k.Imaginary()) * std::polar(1.0, phase);
    }
    EXPECT_NEAR(r.F2, std::norm(f), 1e-5 * std::max(1.0, std::norm(f))) << r.Hkl[0] << r.Hkl[1] << r.Hkl[2];
  }
  for (TRietveld* other : {&cif, &exp}) {
    std::vector<TScatterer> unused;
    const std::vector<TReflection> list = StructureFactors(*other, unused);
    ASSERT_EQ(list.size(), reference.size());
    for (std::size_t k = 0; k < list.size(); ++k) {
      ASSERT_EQ(list[k].Hkl, reference[k].Hkl);
      EXPECT_NEAR(list[k].F2, reference[k].F2, 1e-5 * reference[k].F2) << (other == &cif ? "CIF " : "GSAS ") << k;
    }
  }
}

// Anglesite (PbSO4) from a Fullprof file: its optional blocks stepped over,
// its preferred orientation off. The engine takes the model as it is, and a
// refinement with the automatic f' and f'' of Pb, S and O at Cu K alpha
// recovers a pattern made with those values given explicitly as the
// histogram's scattering entries.
TEST(Imports, HeavyAtomModelFromFullprofRefinesWithAnomalousScattering) {
  TTempDir dir;
  const std::string fixture = std::string(std::getenv("ZELVORA_SOURCE_DIR") ? std::getenv("ZELVORA_SOURCE_DIR") : "../..") +
                              "/tests/model/import/pbso4.pcr";
  auto load = [&](TRietveld& model) {
    TMessageTrap trap;
    ASSERT_TRUE(ImportFullprof(model, fixture));
    ASSERT_TRUE(trap.Messages.empty()) << trap.Messages.front();
  };
  TRietveld truth;
  load(truth);
  THistogram& h = *truth.Histogram(1);
  const double energy = gemmi::hc() / double(h.Wavelength1);
  struct Element {
    const char* Symbol;
    gemmi::El El;
  };
  for (const Element& e : {Element{"PB", gemmi::El::Pb}, Element{"S", gemmi::El::S}, Element{"O", gemmi::El::O}}) {
    TScatterFactor* entry = h.ScatterFactors.AddNew();
    entry->Symbol = ToAtomSymbol4(e.Symbol);
    const auto& c = gemmi::IT92<double>::get(e.El).coefs;
    for (int i = 0; i < 4; ++i) {
      entry->Coefficients[static_cast<std::size_t>(2 * i)] = static_cast<float>(c[i]);
      entry->Coefficients[static_cast<std::size_t>(2 * i + 1)] = static_cast<float>(c[4 + i]);
    }
    entry->Coefficients[8] = static_cast<float>(c[8]);
    double fpp = 0;
    entry->FPrime = static_cast<float>(gemmi::cromer_liberman(gemmi::Element(e.El).atomic_number(), energy, &fpp));
    entry->FDoublePrime = static_cast<float>(fpp);
  }
  EXPECT_LT(h.ScatterFactors.Entry(1)->FPrime, -3.0f);  // Pb at Cu K alpha: f' near -4, f'' near 8
  EXPECT_GT(h.ScatterFactors.Entry(1)->FDoublePrime, 7.0f);
  truth.Phase(1)->Scale = 2e-4f;
  const std::string data = WriteSyntheticData(truth, dir, 61);

  TRietveld start;
  load(start);
  start.Phase(1)->Scale = 2e-4f;
  Nudge(start, {{1, 0, 0, 1, 0.01}, {0, 1, 1, 1, 0.004}, {0, 1, 1, 3, -0.004}, {0, 1, 0, 6, 0.004}, {1, 1, 0, 3, 0.004}});
  TZdEngine engine;
  ASSERT_EQ(StartEngine(engine, start, dir, data), 0) << engine.Problem();
  int cycles = 0, converged = 0;
  while (cycles < 15 && !converged) ASSERT_EQ(engine.Iterate(1, ++cycles, converged), 0) << engine.Problem();
  EXPECT_TRUE(converged);
  for (const TVariable& v : engine.Refinement().Variables())
    for (const TMember& m : v.Members) {
      const double expected = *ValueAddress(truth, m.H, m.P, m.A, m.T);
      EXPECT_LE(std::fabs(*m.Value - expected), 3 * std::fabs(m.Multiplier) * v.Esd) << v.Name;
    }
  const TAgreement a = engine.Pattern().Agreement(1, engine.Refinement().VariableCount());
  EXPECT_LT(a.Chi2, 1.2);
}

// GSAS profile type 2 (a Voigt of a Gaussian and a Lorentzian width, Howard's
// asymmetry) comes over whole: the engine's peak widths at low, middle and
// high angles equal GSAS's own formula for the file's terms, GU, GV, GW, GP
// and LX, LY in centidegrees, within 1 %, and the asymmetry is the file's.
TEST(Imports, GsasProfileTypeTwoGivesGsasPeakWidths) {
  TTempDir dir;
  TMessageTrap trap;
  const double GU = 120, GV = -25, GW = 14, GP = 6, LX = 3.5, LY = 9.25, Asym = 1.8;
  auto terms = [](const char* key, std::initializer_list<double> values) {
    std::string line = key;
    char field[32];
    for (double v : values) {
      std::snprintf(field, sizeof field, "%15.6f", v);
      line += field;
    }
    return line + "\n";
  };
  const std::string text = std::string(RutileExp) + "HAP1 1PRCF      2   18       0.010000\n" +
                           terms("HAP1 1PRCF 1", {GU, GV, GW, LX}) + terms("HAP1 1PRCF 2", {LY, 0, Asym, 0}) +
                           terms("HAP1 1PRCF 3", {GP, 0, 0, 0}) + terms("HAP1 1PRCF 4", {0, 0, 0, 0}) +
                           terms("HAP1 1PRCF 5", {0, 0});
  TRietveld model;
  ASSERT_TRUE(ImportGSAS(model, dir.Write("profile.exp", text)));
  EXPECT_EQ(trap.Messages, std::vector<std::string>{});
  EXPECT_EQ(model.Histogram(1)->Profile, 5);

  TPattern pattern(model);
  THistogramData data;
  data.Calculation = true;
  for (int i = 0; i < 1400; ++i) data.X.push_back(10 + 0.1 * i);
  pattern.SetData(1, std::move(data));
  ASSERT_EQ(pattern.Prepare(), zeNone);
  const TPhaseView& view = pattern.Views(1)[0];
  int checked = 0;
  for (double wanted : {27.0, 69.0, 120.0}) {
    const TReflection* nearest = nullptr;
    double best = 1e9;
    for (const TReflection& r : view.Reflections) {
      const std::vector<TPeak> peaks = pattern.Peaks(1, view, r);
      if (!peaks.empty() && std::fabs(peaks[0].Position - wanted) < best) {
        best = std::fabs(peaks[0].Position - wanted);
        nearest = &r;
      }
    }
    ASSERT_NE(nearest, nullptr);
    const TPeak peak = pattern.Peaks(1, view, *nearest)[0];
    SCOPED_TRACE(peak.Position);
    const double theta = peak.Position / 2 * Pi / 180, t = std::tan(theta), c = std::cos(theta);
    // GSAS: sigma^2 = GU tan^2 + GV tan + GW + GP / cos^2; gamma = LX / cos + LY tan;
    // the Thompson-Cox-Hastings width of the two (centidegrees).
    const double g = std::sqrt(8 * std::log(2.0) * (GU * t * t + GV * t + GW + GP / (c * c)));
    const double l = LX / c + LY * t;
    const double gsas = std::pow(std::pow(g, 5) + 2.69269 * std::pow(g, 4) * l + 2.42843 * std::pow(g, 3) * l * l +
                                     4.47163 * g * g * std::pow(l, 3) + 0.07842 * g * std::pow(l, 4) + std::pow(l, 5),
                                 0.2) /
                        100;
    EXPECT_NEAR(peak.Shape.H, gsas, 0.01 * gsas);
    // Howard's sub-peaks reach -asym / tan(2 theta), the asymmetry in centidegrees.
    ASSERT_FALSE(peak.Shape.Offsets.empty());
    double far = 0;
    for (double o : peak.Shape.Offsets)
      if (std::fabs(o) > std::fabs(far)) far = o;
    EXPECT_NEAR(far, -Asym / 100 / std::tan(2 * theta), 1e-4);
    ++checked;
  }
  EXPECT_EQ(checked, 3);
}
