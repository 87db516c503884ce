// How an atom scatters in a histogram: X-ray form factors with anomalous
// terms, or neutron scattering lengths.
#pragma once

#include <string>

class THistogram;
class TScatterFactor;

class TScatterer {
public:
  // The real part at (sin(theta)/lambda)^2 = stol2: f0 + f' for X-rays, the
  // scattering length b (fm) for neutrons.
  double Real(double stol2) const;
  double Imaginary() const;
  // d Real / d stol2.
  double RealSlope(double stol2) const;
  // f at zero angle (real part); the weight of the atom in radial distributions.
  double Forward() const { return Real(0.0); }

  bool Neutron = false;
  // A user entry of the histogram, read live so refined f', f'' take effect.
  const TScatterFactor* Entry = nullptr;
  // Table coefficients a1, a2, a3, a4, b1, b2, b3, b4, c (IT92 order) when no entry.
  double Coef[9] = {};
  // Anomalous terms f' and f'' of the element at the histogram's wavelength
  // when no entry gives them (X-ray constant wavelength only).
  double FPrime = 0, FDoublePrime = 0;
  double Length = 0;  // neutron length from the table when no entry
  int AtomicNumber = 0;
  double Mass = 0;  // atomic mass (u), 0 when unknown
};

// The element part of an atom type: "SR  " -> "Sr", "FE3+" -> "Fe", "O2-" -> "O".
std::string ElementOfType(const std::string& atomType);

// Finds how the atom type scatters in the histogram: the histogram's own
// scattering entry with the same symbol first (its f' and f''), then the
// element tables, with f' and f'' from the Cromer-Liberman calculation at the
// first wavelength of an X-ray constant-wavelength histogram. False when
// neither knows it.
bool ResolveScatterer(const std::string& atomType, const THistogram& histogram, TScatterer& out);

// f' of element z (returned) and f'' (into fpp) at the X-ray wavelength in
// Angstrom; both 0 where the calculation has no data (z < 3, z > 92).
double AnomalousScattering(int z, double wavelength, double& fpp);

// True for the histogram kinds measured with neutrons.
bool IsNeutronJob(int job);
