// Peak shapes and widths: the Caglioti Gaussian width, the Lorentzian or
// mixing term, the Thompson-Cox-Hastings combination, pseudo-Voigt and
// Pearson VII profiles, the time-of-flight profile (back-to-back
// exponentials convoluted with a pseudo-Voigt) and the asymmetry corrections.
// The first five are the formulas the peak-width window plots.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

// Caglioti width: profiles 1-6 G^2 = U t^2 + V t + W; profile 7 (time of
// flight) G^2 = U + V t^2 + W t^4; others 0. Negative G^2 gives -sqrt(-G^2).
double GaussianWidth(int profile, double U, double V, double W, double t);
// Profiles 1, 4, 6: eta = Gam0 + Gam1 2theta + Gam2 2theta^2 (2theta in
// degrees from t = tan(theta)); profile 2: the same, at least 0.6 (the
// Pearson exponent); profiles 3, 5: Gam0 sqrt(t^2 + 1) + Gam1 t; others 0.
double LorentzianTerm(int profile, double gam0, double gam1, double gam2, double t);
template <class T>
T LorentzianTermOf(int profile, const T& gam0, const T& gam1, const T& gam2, const T& t) {
  using std::atan;
  using std::max;
  using std::sqrt;
  switch (profile) {
    case 1:
    case 4:
    case 6: {
      const T twoTheta = atan(t) * 114.59156;
      return gam0 + gam1 * twoTheta + gam2 * twoTheta * twoTheta;
    }
    case 2: {
      const T twoTheta = atan(t) * 114.59156;
      return max(gam0 + gam1 * twoTheta + gam2 * twoTheta * twoTheta, 0.6);
    }
    case 3:
    case 5:
      return gam0 * sqrt(t * t + 1.0) + gam1 * t;
    default:
      return T(0.0);
  }
}
// Thompson-Cox-Hastings FWHM of a Voigt with Gaussian FWHM G and Lorentzian
// FWHM L (also for the pattern's derivative type).
template <class T>
T TchWidthOf(const T& G, const T& L) {
  using std::pow;
  const T G2 = G * G, L2 = L * L;
  const T s = G2 * G2 * G + 2.69269 * G2 * G2 * L + 2.42843 * G2 * G * L2 + 4.47163 * G2 * L2 * L +
              0.07842 * G * L2 * L2 + L2 * L2 * L;
  return s > 0 ? pow(s, 0.2) : T(0.0);
}
double TchWidth(double G, double L);
// Thompson-Cox-Hastings mixing parameter of q = L / H.
template <class T>
T TchMixingOf(const T& q) {
  return 1.36603 * q - 0.47719 * q * q + 0.11116 * q * q * q;
}
double TchMixing(double q);
// Pseudo-Voigt of unit area, FWHM H, mixing eta, at distance delta from the centre.
double PseudoVoigt(double eta, double H, double delta);
// Pearson VII of unit area, FWHM H, exponent m > 0.5.
double PearsonVII(double m, double H, double delta);

// Time-of-flight profile of unit area: back-to-back exponentials (rise
// alpha, decay beta, 1/microsecond) convoluted with a pseudo-Voigt whose
// Gaussian part has FWHM H and Lorentzian part FWHM H, mixed by eta.
double TofProfile(double alpha, double beta, double H, double eta, double delta);

// Scaled complementary error function exp(x^2) erfc(x).
double Erfcx(double x);

// A short list of doubles kept inside its owner, so that building a peak
// shape allocates nothing (the asymmetry corrections use at most 16 terms).
class TShortList {
public:
  static constexpr std::size_t Capacity = 16;
  std::size_t size() const { return FCount; }
  bool empty() const { return FCount == 0; }
  void clear() { FCount = 0; }
  void push_back(double v) {
    if (FCount < Capacity) FItems[FCount++] = v;
  }
  double operator[](std::size_t i) const { return FItems[i]; }
  double& operator[](std::size_t i) { return FItems[i]; }
  const double* begin() const { return FItems.data(); }
  const double* end() const { return FItems.data() + FCount; }
  double* begin() { return FItems.data(); }
  double* end() { return FItems.data() + FCount; }

private:
  std::array<double, Capacity> FItems{};
  std::size_t FCount = 0;
};

// The shape of one peak as the pattern needs it.
struct TPeakShape {
  enum TKind { pkPseudoVoigt, pkPearson, pkTof } Kind = pkPseudoVoigt;
  double H = 0;      // FWHM
  double Eta = 0;    // Lorentzian fraction (pseudo-Voigt, TOF)
  double M = 1;      // Pearson exponent
  double Alpha = 0, Beta = 0;  // TOF exponentials; 0 = none
  // Rietveld asymmetry 1 - P s delta^2 / tan(theta), applied when P != 0.
  double RietAsym = 0;
  double TanTheta = 1;
  // Axial-divergence asymmetry as a sum of shifted profiles: centre offsets
  // (x units, added to the peak position) and weights summing to 1.
  TShortList Offsets, Weights;

  // Profile value at x - centre = delta.
  double Value(double delta) const;
  // Distances below and above the centre beyond which the profile is
  // neglected, for a base width of `fwhms` FWHMs.
  double LowReach(double fwhms) const;
  double HighReach(double fwhms) const;
  // The profile cut off at those distances. The last quarter of the way it
  // is tapered smoothly to 0, so the pattern stays a smooth function of the
  // widths (a hard cut would jump as a point leaves the reach).
  double Windowed(double delta, double fwhms) const;
};

// Howard's axial-divergence asymmetry: Simpson sub-peaks shifted by
// -P z^2 / tan(2theta), z = 0 .. 1. Degrees.
void HowardAsymmetry(TPeakShape& shape, double P, double twoTheta);
// Finger-Cox-Jephcoat axial divergence with S/L and H/L, as weighted sub-peaks.
void FcjAsymmetry(TPeakShape& shape, double sOverL, double hOverL, double twoTheta);
// The same sub-peaks, for double and for the derivative type (their
// offsets and weights as functions of S/L, H/L and 2theta): returns their
// number (0: no asymmetry), at most TShortList::Capacity.
template <class T>
int FcjSubPeaks(const T& sOverL, const T& hOverL, const T& twoTheta, T* offsets, T* weights) {
  using std::acos;
  using std::cos;
  using std::fabs;
  using std::max;
  using std::min;
  using std::sqrt;
  constexpr double degToRad = 3.14159265358979323846 / 180.0;
  const T S = fabs(sOverL), Hh = fabs(hOverL);
  if (S + Hh <= 0) return 0;
  // Work below 90 degrees; above it the profile is the mirror image.
  const bool mirrored = twoTheta > 90.0;
  const T tt = (mirrored ? 180.0 - twoTheta : twoTheta) * degToRad;
  const T c = cos(tt);
  if (c <= 1e-6 || tt <= 0) return 0;
  const T minArg = c * sqrt((Hh + S) * (Hh + S) + 1.0);
  const T phiMin = minArg >= 1.0 ? T(0.0) : acos(minArg);
  const T span = tt - phiMin;
  if (span <= 1e-9) return 0;
  // Substituting 2phi = 2theta - span u^2 removes the 1/sqrt singularity at 2theta.
  constexpr int nodes = 16;
  static_assert(nodes <= TShortList::Capacity);
  T total(0.0);
  int count = 0;
  for (int j = 0; j < nodes; ++j) {
    const double u = (j + 0.5) / nodes;
    const T delta = span * u * u;
    const T phi = tt - delta;
    const T cp = cos(phi);
    const T h2 = cp * cp / (c * c) - 1.0;
    const T h = h2 > 0 ? sqrt(h2) : T(0.0);
    if (h <= 0 || cp <= 0) continue;
    const T numerator = h > fabs(Hh - S) ? Hh + S - h : 2.0 * min(Hh, S);
    if (numerator <= 0) continue;
    const T w = numerator / (h * cp) * 2.0 * span * u;
    offsets[count] = (mirrored ? delta : -delta) / degToRad;
    weights[count] = w;
    total += w;
    ++count;
  }
  if (total <= 0) return 0;
  for (int j = 0; j < count; ++j) weights[j] = weights[j] / total;
  return count;
}
