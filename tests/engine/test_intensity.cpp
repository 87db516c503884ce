// The intensity chain of a constant-wavelength X-ray reflection against
// numbers worked out by hand: Lorentz-polarisation with a monochromator, the
// displacement factor, cylinder absorption, Sabine extinction and
// March-Dollase preferred orientation on copper's 111 and 200; and the
// Thompson-Cox-Hastings peak against a direct numerical convolution of its
// Gaussian and Lorentzian.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/pattern.h"
#include "model/rietclass.h"

namespace {

constexpr double Lambda = 1.540562;

// Copper, F m -3 m, a = 3.615, one X-ray histogram of Cu K alpha 1 only.
struct TCopper {
  TRietveld Model;
  TCopper() {
    THistogram* h = Model.NewHistogram();
    h->Job = jobXrayCalc;
    h->Wavelength1 = h->Wavelength2 = static_cast<float>(Lambda);
    h->Ratio = 0;
    h->Polarisation = 0.8f;  // cos^2 2theta of a graphite monochromator
    TPhase* p = Model.NewPhase();
    p->SpaceGroup = "F M 3 M";
    p->A = p->B = p->C = 3.615f;
    p->Scale = 1e-3f;
    TAtom cu;
    cu.Label = cu.AtomType = "CU";
    cu.B = 0;
    cu.N = 4.0f / 192;
    p->AddAtom(cu);
  }
  THistogram& Hist() { return *Model.Histogram(1); }
  TSample& Sample() { return *Model.FindSample(1, 1); }
  TPhase& Phase() { return *Model.Phase(1); }
};

struct TReflectionSeen {
  double F2 = 0, Intensity = 0, Position = 0;
  int Multiplicity = 0;
  TPeakShape Shape;
};

TReflectionSeen Seen(TRietveld& model, const TMiller& hkl) {
  TPattern pattern(model);
  THistogramData data;
  data.Calculation = true;
  for (int i = 0; i < 400; ++i) data.X.push_back(20 + 0.25 * i);
  pattern.SetData(1, std::move(data));
  EXPECT_EQ(pattern.Prepare(), zeNone);
  TPhaseView& view = pattern.Views(1)[0];
  pattern.UpdateStructureFactors(1, view);
  TReflectionSeen seen;
  for (const TReflection& r : view.Reflections) {
    if (r.Hkl != hkl) continue;
    const std::vector<TPeak> peaks = pattern.Peaks(1, view, r);
    EXPECT_EQ(peaks.size(), 1u);
    if (peaks.empty()) break;
    seen.F2 = r.F2;
    seen.Multiplicity = r.Multiplicity;
    seen.Intensity = peaks[0].Intensity;
    seen.Position = peaks[0].Position;
    seen.Shape = peaks[0].Shape;
    return seen;
  }
  ADD_FAILURE() << "no reflection " << hkl[0] << hkl[1] << hkl[2];
  return seen;
}

const TMiller R111{1, 1, 1}, R200{2, 0, 0};

}  // namespace

// I = S x m x |F|^2 x (1 + P cos^2 2theta) / (sin^2 theta cos theta), with
// P = cos^2 2theta of the monochromator: 11.24477 for 111 (43.316 degrees),
// 8.06109 for 200 (50.448 degrees) with P = 0.8.
TEST(Intensity, LorentzPolarisationWithAMonochromator) {
  TCopper cu;
  const struct {
    TMiller Hkl;
    double TwoTheta, Lp;
    int Multiplicity;
  } rows[] = {{R111, 43.315789, 11.244772, 8}, {R200, 50.447995, 8.061094, 6}};
  for (const auto& row : rows) {
    const TReflectionSeen r = Seen(cu.Model, row.Hkl);
    EXPECT_NEAR(r.Position, row.TwoTheta, 1e-4);
    EXPECT_EQ(r.Multiplicity, row.Multiplicity);
    EXPECT_NEAR(r.Intensity, 1e-3 * row.Multiplicity * r.F2 * row.Lp, 1e-5 * r.Intensity) << row.Hkl[0];
  }
  // Without a monochromator term the factor is the Lorentz part alone.
  cu.Hist().Polarisation = 0;
  const TReflectionSeen bare = Seen(cu.Model, R111);
  EXPECT_NEAR(bare.Intensity / (1e-3 * 8 * bare.F2), 11.244772 / (1 + 0.8 * 0.529358), 1e-4);
}

// |F|^2 falls by exp(-2 B s^2), s^2 = 1 / (4 d^2): with B 0.7 on the atom and
// 0.5 overall, 0.871326 for 111 (d 2.08712) and 0.832226 for 200 (d 1.8075).
TEST(Intensity, DisplacementFactor) {
  TCopper still;
  TCopper moving;
  moving.Phase().Atom(1)->B = 0.7f;
  moving.Phase().IsoThermal = 0.5f;
  for (const auto& [hkl, factor] : {std::pair{R111, 0.871326}, std::pair{R200, 0.832226}}) {
    const TReflectionSeen a = Seen(still.Model, hkl), b = Seen(moving.Model, hkl);
    EXPECT_NEAR(b.F2 / a.F2, factor, 2e-6) << hkl[0];
    EXPECT_NEAR(b.Intensity / a.Intensity, factor, 2e-6) << hkl[0];
  }
}

// Cylinder of mu R = 0.5: exp(-(1.7133 - 0.0368 sin^2 theta) mu R + (0.0927 +
// 0.375 sin^2 theta) (mu R)^2) = 0.441225 for 111, 0.443478 for 200.
TEST(Intensity, CylinderAbsorption) {
  TCopper plain, absorbing;
  absorbing.Hist().Absorption = 0.5f;
  for (const auto& [hkl, factor] : {std::pair{R111, 0.441225}, std::pair{R200, 0.443478}}) {
    EXPECT_NEAR(Seen(absorbing.Model, hkl).Intensity / Seen(plain.Model, hkl).Intensity, factor, 2e-6) << hkl[0];
  }
}

// Sabine: x = E (lambda |F| / V)^2; E_B = 1 / sqrt(1 + x); E_L = 1 - x/2 + x^2/4
// - 5x^3/48 + 7x^4/192 for x <= 1, else sqrt(2 / (pi x)) (1 - 1/(8x) -
// 3/(128x^2) - 15/(1024x^3)); the factor E_L cos^2 theta + E_B sin^2 theta.
TEST(Intensity, SabineExtinction) {
  TCopper plain;
  const double volume = 3.615 * 3.615 * 3.615;
  for (const double e : {0.06, 0.4}) {
    TCopper extinct;
    extinct.Sample().Extinction = static_cast<float>(e);
    for (const TMiller& hkl : {R111, R200}) {
      const TReflectionSeen a = Seen(plain.Model, hkl), b = Seen(extinct.Model, hkl);
      const double x = e * std::pow(Lambda * std::sqrt(a.F2) / volume, 2);
      const double laue = x <= 1 ? 1 - x / 2 + x * x / 4 - 5 * x * x * x / 48 + 7 * x * x * x * x / 192
                                 : std::sqrt(2 / (M_PI * x)) *
                                       (1 - 1 / (8 * x) - 3 / (128 * x * x) - 15 / (1024 * x * x * x));
      const double bragg = 1 / std::sqrt(1 + x);
      const double theta = std::asin(Lambda * std::sqrt(hkl[0] * hkl[0] + hkl[1] * hkl[1] + hkl[2] * hkl[2]) / (2 * 3.615));
      const double expected = laue * std::pow(std::cos(theta), 2) + bragg * std::pow(std::sin(theta), 2);
      EXPECT_NEAR(b.Intensity / a.Intensity, expected, 1e-5) << e << " " << hkl[0] << " x " << x;
      EXPECT_LT(expected, e < 0.1 ? 0.9 : 0.6);  // a real reduction in both branches
    }
  }
}

// March-Dollase with r = 0.8 about [001]: (r^2 cos^2 a + sin^2 a / r)^(-3/2).
// For 200 over its six equivalents (two along the axis, four across it):
// (2 r^-3 + 4 r^1.5) / 6 = 1.128070; for the one index 200 alone, r^1.5 =
// 0.715542; 111 has every equivalent at cos^2 a = 1/3: 0.933872.
TEST(Intensity, MarchDollasePreferredOrientation) {
  TCopper plain;
  for (const int ipref : {1, 0}) {
    TCopper oriented;
    oriented.Model.IPREF = ipref;
    TSample& s = oriented.Sample();
    s.PO = 0.8f;
    s.POH = s.POK = 0;
    s.POL = 1;
    EXPECT_NEAR(Seen(oriented.Model, R200).Intensity / Seen(plain.Model, R200).Intensity, ipref ? 1.128070 : 0.715542,
                2e-6)
        << ipref;
    EXPECT_NEAR(Seen(oriented.Model, R111).Intensity / Seen(plain.Model, R111).Intensity, 0.933872, 2e-6) << ipref;
  }
}

// Profile 3: Gaussian FWHM^2 = U tan^2 + V tan + W, Lorentzian FWHM X / cos +
// Y tan, combined by Thompson, Cox and Hastings. The calculated peak against
// the Voigt convolution of those two, integrated numerically, within the
// accuracy of their approximation (width 0.3 % low and height 1.5 % here).
TEST(Intensity, ThompsonCoxHastingsAgainstNumericalConvolution) {
  TCopper cu;
  cu.Hist().Profile = 3;
  cu.Hist().BaseWidth = 20;
  TSample& s = cu.Sample();
  s.U = 0.02f;
  s.V = -0.01f;
  s.W = 0.006f;
  s.Gam0 = 0.04f;
  s.Gam1 = 0.03f;
  s.Asym1 = 0;
  const TReflectionSeen r = Seen(cu.Model, R111);
  const double theta = r.Position / 2 * M_PI / 180, t = std::tan(theta);
  const double g = std::sqrt(0.02 * t * t - 0.01 * t + 0.006);
  const double l = 0.04 / std::cos(theta) + 0.03 * t;
  ASSERT_GT(l, 0.3 * g);  // both widths matter
  const double sigma = g / std::sqrt(8 * std::log(2.0));
  auto voigt = [&](double x) {
    // Integral of the Gaussian times the Lorentzian over the Gaussian's support.
    const int n = 20000;
    const double lim = 8 * sigma, h = 2 * lim / n;
    double sum = 0;
    for (int i = 0; i <= n; ++i) {
      const double u = -lim + i * h;
      const double w = (i == 0 || i == n) ? 0.5 : 1.0;
      const double gauss = std::exp(-u * u / (2 * sigma * sigma)) / (sigma * std::sqrt(2 * M_PI));
      const double lorentz = (l / 2) / (M_PI * ((x - u) * (x - u) + l * l / 4));
      sum += w * gauss * lorentz;
    }
    return sum * h;
  };
  const double peak = voigt(0);
  double shown = 0, convolved = 0;
  for (double x = -2.0 * r.Shape.H; x <= 2.0 * r.Shape.H; x += r.Shape.H / 50) {
    const double v = voigt(x);
    EXPECT_NEAR(r.Shape.Value(x), v, 0.02 * peak) << x;
    shown += r.Shape.Value(x);
    convolved += v;
  }
  EXPECT_NEAR(shown / convolved, 1.0, 0.015);
  // The full width at half maximum of the convolution.
  double lo = 0, hi = 3 * r.Shape.H;
  for (int k = 0; k < 60; ++k) {
    const double mid = 0.5 * (lo + hi);
    (voigt(mid) > peak / 2 ? lo : hi) = mid;
  }
  EXPECT_NEAR(r.Shape.H, 2 * lo, 5e-3 * r.Shape.H);
}
