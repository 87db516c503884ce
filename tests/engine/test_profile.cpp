// Peak shapes: unit area, their widths, the time-of-flight profile against a
// brute-force convolution, and the asymmetry corrections.
#include <gtest/gtest.h>

#include <cmath>

#include "core/crystal.h"
#include "core/profile.h"

namespace {

double Area(const std::function<double(double)>& f, double lo, double hi, int steps = 200000) {
  const double h = (hi - lo) / steps;
  double sum = 0.5 * (f(lo) + f(hi));
  for (int i = 1; i < steps; ++i) sum += f(lo + i * h);
  return sum * h;
}

// The integral over the whole line, through x = scale tan(u), which keeps
// Lorentzian tails.
double FullArea(const std::function<double(double)>& f, double scale, int steps = 20000) {
  const double h = Pi / steps;
  double sum = 0;
  for (int i = 0; i < steps; ++i) {
    const double u = -Pi / 2 + (i + 0.5) * h;
    const double c = std::cos(u);
    sum += f(scale * std::tan(u)) * scale / (c * c);
  }
  return sum * h;
}

}  // namespace

TEST(Profile, ShapesHaveUnitAreaAndTheirWidth) {
  struct Case {
    const char* name;
    std::function<double(double)> f;
    double halfWidth;  // where the value is half the maximum (0: not checked)
    double scale;      // width for the integration
    double tolerance;
  };
  const double H = 0.12;
  const Case cases[] = {
      {"gaussian", [&](double d) { return PseudoVoigt(0, H, d); }, H / 2, H, 1e-5},
      {"lorentzian", [&](double d) { return PseudoVoigt(1, H, d); }, H / 2, H, 1e-5},
      {"pseudo-Voigt", [&](double d) { return PseudoVoigt(0.4, H, d); }, H / 2, H, 1e-5},
      {"Pearson m=1", [&](double d) { return PearsonVII(1, H, d); }, H / 2, H, 1e-5},
      {"Pearson m=1.5", [&](double d) { return PearsonVII(1.5, H, d); }, H / 2, H, 1e-5},
      {"Pearson m=10", [&](double d) { return PearsonVII(10, H, d); }, H / 2, H, 1e-5},
      {"TOF gaussian", [](double d) { return TofProfile(0.35, 0.03, 6, 0, d); }, 0, 20, 1e-4},
      {"TOF mixed", [](double d) { return TofProfile(0.2, 0.05, 8, 0.5, d); }, 0, 20, 1e-4},
      {"TOF sharp", [](double d) { return TofProfile(2.0, 1.0, 0.5, 0.3, d); }, 0, 2, 1e-4},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(FullArea(c.f, c.scale), 1.0, c.tolerance) << c.name;
    if (c.halfWidth > 0) {
      EXPECT_NEAR(c.f(c.halfWidth) / c.f(0), 0.5, 1e-4) << c.name;
    }
  }
}

TEST(Profile, TimeOfFlightMatchesConvolution) {
  // Back-to-back exponentials 2N exp(alpha t) / exp(-beta t) convoluted with a
  // Gaussian and a Lorentzian of FWHM H, numerically.
  const double alpha = 0.3, beta = 0.04, H = 7.0;
  const double n2 = alpha * beta / (alpha + beta);
  const double sigma = H / std::sqrt(8 * std::log(2.0));
  auto exponentials = [&](double t) { return t < 0 ? n2 * std::exp(alpha * t) : n2 * std::exp(-beta * t); };
  auto gauss = [&](double t) { return std::exp(-t * t / (2 * sigma * sigma)) / (sigma * std::sqrt(2 * Pi)); };
  auto lorentz = [&](double t) { return (H / 2) / (Pi * (t * t + H * H / 4)); };
  for (double delta : {-60.0, -15.0, -3.0, 0.0, 2.5, 10.0, 40.0, 150.0}) {
    const double g = Area([&](double t) { return exponentials(t) * gauss(delta - t); }, -200, 800, 200000);
    const double l = Area([&](double t) { return exponentials(t) * lorentz(delta - t); }, -2000, 4000, 600000);
    EXPECT_NEAR(TofProfile(alpha, beta, H, 0, delta), g, 1e-6 + 1e-4 * g) << delta;
    EXPECT_NEAR(TofProfile(alpha, beta, H, 1, delta), l, 2e-5 + 2e-3 * l) << delta;
  }
}

TEST(Profile, WidthFormulas) {
  // Caglioti: G^2 = U t^2 + V t + W; a negative value gives a negative width.
  EXPECT_NEAR(GaussianWidth(4, 0.01, -0.005, 0.005, 0.5), std::sqrt(0.0025 - 0.0025 + 0.005), 1e-12);
  EXPECT_NEAR(GaussianWidth(1, 0, -1, 0, 1), -1.0, 1e-12);
  EXPECT_NEAR(GaussianWidth(7, 1, 2, 3, 2), std::sqrt(1 + 8 + 48.0), 1e-12);
  // Mixing term: a polynomial in 2theta (degrees); Pearson's exponent at least 0.6.
  const double t = std::tan(30 * DegToRad);
  EXPECT_NEAR(LorentzianTerm(4, 0.1, 0.01, 0.0, t), 0.1 + 0.01 * 60, 1e-5);
  EXPECT_NEAR(LorentzianTerm(2, 0.1, 0, 0, t), 0.6, 1e-12);
  EXPECT_NEAR(LorentzianTerm(3, 0.02, 0.05, 0, t), 0.02 / std::cos(30 * DegToRad) + 0.05 * t, 1e-9);
  EXPECT_EQ(LorentzianTerm(7, 1, 1, 1, t), 0.0);
  // Thompson-Cox-Hastings: pure limits.
  EXPECT_NEAR(TchWidth(0.1, 0), 0.1, 1e-12);
  EXPECT_NEAR(TchWidth(0, 0.1), 0.1, 1e-12);
  EXPECT_NEAR(TchMixing(1.0), 1.0, 1e-4);
  EXPECT_NEAR(TchMixing(0.0), 0.0, 1e-12);
}

TEST(Profile, AsymmetryKeepsAreaAndLeansToLowAngles) {
  for (double twoTheta : {15.0, 40.0, 120.0}) {
    TPeakShape howard;
    howard.H = 0.1;
    howard.Eta = 0.3;
    HowardAsymmetry(howard, 0.05, twoTheta);
    TPeakShape fcj = howard;
    FcjAsymmetry(fcj, 0.02, 0.02, twoTheta);
    for (const TPeakShape* s : {&howard, &fcj}) {
      double weights = 0, mean = 0;
      for (std::size_t i = 0; i < s->Weights.size(); ++i) {
        weights += s->Weights[i];
        mean += s->Weights[i] * s->Offsets[i];
      }
      ASSERT_FALSE(s->Weights.empty()) << twoTheta;
      EXPECT_NEAR(weights, 1.0, 1e-12);
      // Axial divergence pulls peaks towards low angles below 90 degrees, high above.
      EXPECT_EQ(mean < 0, twoTheta < 90) << twoTheta;
      EXPECT_NEAR(FullArea([s](double d) { return s->Value(d); }, 0.1), 1.0, 1e-4) << twoTheta;
    }
  }
  // Rietveld's correction raises the low-angle side and lowers the high one.
  TPeakShape riet;
  riet.H = 0.1;
  riet.RietAsym = 2.0;
  riet.TanTheta = std::tan(7.5 * DegToRad);
  EXPECT_GT(riet.Value(-0.05), PseudoVoigt(0, 0.1, -0.05));
  EXPECT_LT(riet.Value(0.05), PseudoVoigt(0, 0.1, 0.05));
}
