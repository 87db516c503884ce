#include "core/scattering.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <gemmi/elem.hpp>
#include <gemmi/fprime.hpp>
#include <gemmi/it92.hpp>
#include <gemmi/neutron92.hpp>

#include "model/rietclass.h"

namespace {

std::string TrimUpper(const std::string& s) {
  std::string r;
  for (char c : s)
    if (!std::isspace(static_cast<unsigned char>(c))) r += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

// f0 of a user entry: nine coefficients a1, b1, a2, b2, a3, b3, a4, b4, c,
// or a table of f against sin(theta)/lambda interpolated linearly.
double EntryFormFactor(const TScatterFactor& e, double stol2) {
  if (e.TableKind == 1) {
    const auto& p = e.Table.Items;
    if (p.empty()) return 0;
    const double s = std::sqrt(std::max(0.0, stol2));
    if (s <= p.front().X) return p.front().Y;
    if (s >= p.back().X) return p.back().Y;
    for (std::size_t i = 1; i < p.size(); ++i)
      if (s <= p[i].X) {
        const double dx = p[i].X - p[i - 1].X;
        if (dx <= 0) return p[i].Y;
        return p[i - 1].Y + (p[i].Y - p[i - 1].Y) * (s - p[i - 1].X) / dx;
      }
    return p.back().Y;
  }
  double f = e.Coefficients[8];
  for (int i = 0; i < 4; ++i) f += e.Coefficients[2 * i] * std::exp(-e.Coefficients[2 * i + 1] * stol2);
  return f;
}

}  // namespace

bool IsNeutronJob(int job) { return job == jobNeutronData || job == jobNeutronCalc || job == jobTOFData || job == jobTOFCalc; }

double TScatterer::Real(double stol2) const {
  if (Neutron) return Entry != nullptr ? Entry->FPrime : Length;
  if (Entry != nullptr) return EntryFormFactor(*Entry, stol2) + Entry->FPrime;
  double f = Coef[8] + FPrime;
  for (int i = 0; i < 4; ++i) f += Coef[i] * std::exp(-Coef[4 + i] * stol2);
  return f;
}

double TScatterer::RealSlope(double stol2) const {
  if (Neutron) return 0.0;
  if (Entry != nullptr) {
    if (Entry->TableKind == 1) {
      // A table interpolated linearly: the slope of the piece at stol2.
      const double h = 1e-6 * std::max(1.0, stol2);
      return (EntryFormFactor(*Entry, stol2 + h) - EntryFormFactor(*Entry, std::max(0.0, stol2 - h))) /
             (stol2 + h - std::max(0.0, stol2 - h));
    }
    double slope = 0;
    for (int i = 0; i < 4; ++i)
      slope -= Entry->Coefficients[2 * i] * Entry->Coefficients[2 * i + 1] * std::exp(-Entry->Coefficients[2 * i + 1] * stol2);
    return slope;
  }
  double slope = 0;
  for (int i = 0; i < 4; ++i) slope -= Coef[i] * Coef[4 + i] * std::exp(-Coef[4 + i] * stol2);
  return slope;
}

double TScatterer::Imaginary() const {
  if (Neutron) return 0.0;
  return Entry != nullptr ? Entry->FDoublePrime : FDoublePrime;
}

double AnomalousScattering(int z, double wavelength, double& fpp) {
  fpp = 0;
  if (z < 3 || z > 92 || !(wavelength > 0) || !std::isfinite(wavelength)) return 0;
  const double fp = gemmi::cromer_liberman(z, gemmi::hc() / wavelength, &fpp);
  if (!std::isfinite(fp) || !std::isfinite(fpp)) {
    fpp = 0;
    return 0;
  }
  return fp;
}

std::string ElementOfType(const std::string& atomType) {
  std::string letters;
  for (char c : atomType) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (letters.empty()) continue;
      break;
    }
    if (!std::isalpha(static_cast<unsigned char>(c))) break;
    letters += c;
  }
  if (letters.empty()) return {};
  std::string two;
  two += static_cast<char>(std::toupper(static_cast<unsigned char>(letters[0])));
  if (letters.size() > 1) {
    two += static_cast<char>(std::tolower(static_cast<unsigned char>(letters[1])));
    if (gemmi::find_element(two.c_str()) != gemmi::El::X) return two;
  }
  std::string one(1, two[0]);
  return gemmi::find_element(one.c_str()) != gemmi::El::X ? one : std::string();
}

bool ResolveScatterer(const std::string& atomType, const THistogram& histogram, TScatterer& out) {
  out = TScatterer();
  out.Neutron = IsNeutronJob(histogram.Job);
  const std::string key = TrimUpper(atomType);
  const std::string element = ElementOfType(atomType);
  if (!element.empty()) {
    const gemmi::Element el(element.c_str());
    out.AtomicNumber = el.atomic_number();
    out.Mass = el.weight();
  }
  for (const auto& entry : histogram.ScatterFactors.Items)
    if (!key.empty() && TrimUpper(entry->Symbol) == key) {
      out.Entry = entry.get();
      return true;
    }
  if (element.empty()) return false;
  const gemmi::El el = gemmi::find_element(element.c_str());
  if (out.Neutron) {
    if (!gemmi::Neutron92<double>::has(el)) return false;
    out.Length = gemmi::Neutron92<double>::get(el).c();
    return true;
  }
  if (!gemmi::IT92<double>::has(el)) return false;
  const auto& coef = gemmi::IT92<double>::get(el);
  for (int i = 0; i < 9; ++i) out.Coef[i] = coef.coefs[i];
  if (histogram.IsXrayCW()) out.FPrime = AnomalousScattering(out.AtomicNumber, histogram.Wavelength1, out.FDoublePrime);
  return true;
}
