#include "core/profile.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "core/crystal.h"

namespace {

using cplx = std::complex<double>;

constexpr double EulerGamma = 0.57721566490153286061;
constexpr double FourLn2 = 2.772588722239781;  // 4 ln 2
constexpr double EightLn2 = 5.545177444479562;

// e^z E1(z) by its power series: E1(z) = -gamma - ln z - sum (-z)^n / (n n!).
cplx ExpE1Series(cplx z) {
  cplx sum = 0, term = 1;
  for (int n = 1; n < 200; ++n) {
    term *= -z / double(n);
    const cplx add = term / double(n);
    sum += add;
    // Squared magnitudes: the square roots of std::abs were most of the time
    // spent in a time-of-flight pattern.
    if (std::norm(add) < 1e-34 * std::norm(sum)) break;
  }
  return std::exp(z) * (-EulerGamma - std::log(z) - sum);
}

// e^z E1(z) by its continued fraction 1/(z+1- 1/(z+3- 4/(z+5- ...))),
// evaluated with the modified Lentz method; good away from the negative axis.
cplx ExpE1Fraction(cplx z) {
  const double tiny = 1e-300;
  cplx b = z + 1.0;
  cplx c = 1.0 / tiny, d = 1.0 / b, h = d;
  for (int i = 1; i < 2000; ++i) {
    const double a = -double(i) * double(i);
    b += 2.0;
    d = 1.0 / (a * d + b);
    c = b + a / c;
    if (std::fabs(c.real()) + std::fabs(c.imag()) < tiny) c = tiny;  // (a squared tiny would underflow)
    const cplx del = c * d;
    h *= del;
    if (std::norm(del - 1.0) < 1e-30) break;
  }
  return h;
}

// e^z E1(z) for large |z| next to the negative real axis: the asymptotic
// series cut at its smallest term, with the exponentially small term that
// switches on across the branch cut (Berry's smoothing).
cplx ExpE1Asymptotic(cplx z) {
  cplx sum = 0, term = 1.0 / z;
  // The smallest term comes near k = |z|; capped as a real before it becomes an int.
  const int n = static_cast<int>(std::min(std::abs(z), 1000.0));
  for (int k = 0; k < n; ++k) {
    sum += term;
    if (std::norm(term) < 1e-34 * std::norm(sum)) break;
    term *= -double(k + 1) / z;
  }
  const double sign = z.imag() >= 0 ? 1.0 : -1.0;
  const double multiplier = std::erfc(std::fabs(z.imag()) / std::sqrt(2.0 * std::abs(z)));
  return sum - cplx(0, Pi * sign * multiplier) * std::exp(z);
}

cplx ExpE1(cplx z) {
  const double r = std::abs(z);
  if (r < 2.0) return ExpE1Series(z);
  if (z.real() >= 0 || std::fabs(z.imag()) >= 0.5 * std::fabs(z.real())) return ExpE1Fraction(z);
  if (r < 20.0) return ExpE1Series(z);
  return ExpE1Asymptotic(z);
}

// e^u erfc(y) where u - y^2 = -delta^2 / (2 sigma^2), without overflow.
double ExpErfc(double u, double y, double gaussExponent) {
  if (y >= 0) return std::exp(gaussExponent) * Erfcx(y);
  return std::exp(u) * std::erfc(y);
}

}  // namespace

double Erfcx(double x) {
  if (x < 25.0) return std::exp(x * x) * std::erfc(x);
  const double x2 = x * x;
  return (1.0 - 0.5 / x2 + 0.75 / (x2 * x2) - 1.875 / (x2 * x2 * x2)) / (x * std::sqrt(Pi));
}

double GaussianWidth(int profile, double U, double V, double W, double t) {
  double g2 = 0;
  if (profile >= 1 && profile <= 6)
    g2 = U * t * t + V * t + W;
  else if (profile == 7)
    g2 = U + V * t * t + W * t * t * t * t;
  return g2 >= 0 ? std::sqrt(g2) : -std::sqrt(-g2);
}

double LorentzianTerm(int profile, double gam0, double gam1, double gam2, double t) {
  return LorentzianTermOf(profile, gam0, gam1, gam2, t);
}

double TchWidth(double G, double L) { return TchWidthOf(G, L); }

double TchMixing(double q) { return TchMixingOf(q); }

double PseudoVoigt(double eta, double H, double delta) {
  if (H <= 0) return 0;
  const double lorentz = 0.159155 * H / (delta * delta + 0.25 * H * H);
  const double gauss = (0.9394373 / H) * std::exp(-2.772589 * (delta / H) * (delta / H));
  return eta * lorentz + (1 - eta) * gauss;
}

double PearsonVII(double m, double H, double delta) {
  if (H <= 0 || m <= 0.5) return 0;
  const double k = std::pow(2.0, 1.0 / m) - 1.0;
  const double norm = 2.0 * std::exp(std::lgamma(m) - std::lgamma(m - 0.5)) * std::sqrt(k) / (std::sqrt(Pi) * H);
  return norm * std::pow(1.0 + 4.0 * k * delta * delta / (H * H), -m);
}

double TofProfile(double alpha, double beta, double H, double eta, double delta) {
  if (H <= 0) return 0;
  if (alpha <= 0 || beta <= 0) return PseudoVoigt(eta, H, delta);
  const double n = alpha * beta / (2.0 * (alpha + beta));
  double value = 0;
  if (eta < 1) {
    const double s2 = H * H / EightLn2;  // Gaussian variance
    const double root = std::sqrt(2.0 * s2);
    const double u = 0.5 * alpha * (alpha * s2 + 2.0 * delta);
    const double v = 0.5 * beta * (beta * s2 - 2.0 * delta);
    const double y = (alpha * s2 + delta) / root;
    const double z = (beta * s2 - delta) / root;
    const double g = -delta * delta / (2.0 * s2);
    value += (1 - eta) * n * (ExpErfc(u, y, g) + ExpErfc(v, z, g));
  }
  if (eta > 0) {
    const cplx p(alpha * delta, 0.5 * alpha * H);
    const cplx q(-beta * delta, 0.5 * beta * H);
    value -= eta * (2.0 * n / Pi) * (ExpE1(p).imag() + ExpE1(q).imag());
  }
  return value;
}

double TPeakShape::Value(double delta) const {
  auto base = [this](double d) {
    switch (Kind) {
      case pkPearson: return PearsonVII(M, H, d);
      case pkTof: return TofProfile(Alpha, Beta, H, Eta, d);
      default: return PseudoVoigt(Eta, H, d);
    }
  };
  if (!Offsets.empty()) {
    double sum = 0;
    for (std::size_t i = 0; i < Offsets.size(); ++i) sum += Weights[i] * base(delta - Offsets[i]);
    return sum;
  }
  double v = base(delta);
  if (RietAsym != 0 && TanTheta > 0) {
    const double s = delta > 0 ? 1.0 : (delta < 0 ? -1.0 : 0.0);
    v *= std::max(0.0, 1.0 - RietAsym * s * delta * delta / TanTheta);
  }
  return v;
}

double TPeakShape::LowReach(double fwhms) const {
  double reach = fwhms * H;
  if (Kind == pkTof && Alpha > 0) reach += 12.0 / Alpha;
  double shift = 0;
  for (double o : Offsets) shift = std::min(shift, o);
  return reach - shift;
}

double TPeakShape::HighReach(double fwhms) const {
  double reach = fwhms * H;
  if (Kind == pkTof && Beta > 0) reach += 12.0 / Beta;
  double shift = 0;
  for (double o : Offsets) shift = std::max(shift, o);
  return reach + shift;
}

double TPeakShape::Windowed(double delta, double fwhms) const {
  const double reach = delta < 0 ? LowReach(fwhms) : HighReach(fwhms);
  if (!(reach > 0)) return 0;
  const double u = std::fabs(delta) / reach;
  if (u >= 1) return 0;
  double taper = 1;
  if (u > 0.75) {
    const double c = std::cos((u - 0.75) / 0.25 * Pi / 2);
    taper = c * c;
  }
  return taper * Value(delta);
}

void HowardAsymmetry(TPeakShape& shape, double P, double twoTheta) {
  shape.Offsets.clear();
  shape.Weights.clear();
  const double t2 = std::tan(twoTheta * DegToRad);
  if (P == 0 || !std::isfinite(t2) || std::fabs(t2) < 1e-6) return;
  static const double simpson[5] = {1, 4, 2, 4, 1};
  for (int j = 0; j < 5; ++j) {
    const double z = j / 4.0;
    shape.Offsets.push_back(-P * z * z / t2);
    shape.Weights.push_back(simpson[j] / 12.0);
  }
}

void FcjAsymmetry(TPeakShape& shape, double sOverL, double hOverL, double twoTheta) {
  shape.Offsets.clear();
  shape.Weights.clear();
  double offsets[TShortList::Capacity], weights[TShortList::Capacity];
  const int count = FcjSubPeaks(sOverL, hOverL, twoTheta, offsets, weights);
  for (int j = 0; j < count; ++j) {
    shape.Offsets.push_back(offsets[j]);
    shape.Weights.push_back(weights[j]);
  }
}
