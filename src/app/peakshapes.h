// The peak-shape functions of the peak width window and the sample window's
// FWHM curve. Single precision throughout; t is the width argument: tan(theta)
// for constant-wavelength data, the time of flight over DIFC for time of flight.
#pragma once

// Caglioti width: G^2 = U t^2 + V t + W (profiles 1-6), U + V t^2 + W t^4
// (profile 7), 0 otherwise; a negative G^2 gives -sqrt(|G^2|).
float GaussianWidth(int Profile, float U, float V, float W, float t);
// The Lorentzian width or the mixing parameter of the profile: eta as a
// polynomial in 2-theta (pseudo-Voigt kinds 1, 4, 6), the Pearson IV exponent
// (profile 2, not below 0.6), size and strain terms (Voigt kinds 3, 5); 0 for
// profile 7 and others.
float LorentzianTerm(int Profile, float Gam0, float Gam1, float Gam2, float t);
// Thompson-Cox-Hastings combined width of a Gaussian G and a Lorentzian L.
float TCHWidth(float G, float L);
// Thompson-Cox-Hastings mixing parameter of q = L / H.
float TCHMixing(float q);
// The normalised pseudo-Voigt value at distance Delta from the peak centre.
float PseudoVoigt(float Eta, float H, float Delta);
// True for the profiles whose width is the TCH combination of G and L.
inline bool IsVoigtProfile(int Profile) { return Profile == 3 || Profile == 5; }
