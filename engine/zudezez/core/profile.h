// Peak shapes and widths: the Caglioti Gaussian width, the Lorentzian or
// mixing term, the Thompson-Cox-Hastings combination, pseudo-Voigt and
// Pearson VII profiles, the time-of-flight profile (back-to-back
// exponentials convoluted with a pseudo-Voigt) and the asymmetry corrections.
// The first five are the formulas the peak-width window plots.
#pragma once

#include <vector>

// Caglioti width: profiles 1-6 G^2 = U t^2 + V t + W; profile 7 (time of
// flight) G^2 = U + V t^2 + W t^4; others 0. Negative G^2 gives -sqrt(-G^2).
double GaussianWidth(int profile, double U, double V, double W, double t);
// Profiles 1, 4, 6: eta = Gam0 + Gam1 2theta + Gam2 2theta^2 (2theta in
// degrees from t = tan(theta)); profile 2: the same, at least 0.6 (the
// Pearson exponent); profiles 3, 5: Gam0 sqrt(t^2 + 1) + Gam1 t; others 0.
double LorentzianTerm(int profile, double gam0, double gam1, double gam2, double t);
// Thompson-Cox-Hastings FWHM of a Voigt with Gaussian FWHM G and Lorentzian FWHM L.
double TchWidth(double G, double L);
// Thompson-Cox-Hastings mixing parameter of q = L / H.
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
  std::vector<double> Offsets, Weights;

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
