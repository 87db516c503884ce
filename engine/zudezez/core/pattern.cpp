#include "core/pattern.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

#include "core/background.h"
#include "core/dual.h"
#include "core/limits.h"
#include "model/rietclass.h"

namespace {

constexpr double HcOverTwo = 6.1992099;  // hc / 2 in keV Angstrom

bool IsTof(const THistogram& h) { return h.Job == jobTOFData || h.Job == jobTOFCalc; }
bool IsEnergy(const THistogram& h) { return h.Job == jobEDData || h.Job == jobEDCalc; }
bool IsNeutronCW(const THistogram& h) { return h.Job == jobNeutronData || h.Job == jobNeutronCalc; }

double Squared(double v) { return v * v; }

}  // namespace

double PositionOfSpacing(const THistogram& hist, double d, double wavelength) {
  if (d <= 0) return std::numeric_limits<double>::quiet_NaN();
  if (IsTof(hist)) return hist.Wavelength1 * d + hist.Wavelength2 * d * d;
  if (IsEnergy(hist)) {
    const double s = std::sin(0.5 * hist.Wavelength1 * DegToRad);
    return s > 0 ? HcOverTwo / (d * s) : std::numeric_limits<double>::quiet_NaN();
  }
  const double s = wavelength / (2.0 * d);
  if (s >= 1.0 || s <= 0) return std::numeric_limits<double>::quiet_NaN();
  return 2.0 * std::asin(s) / DegToRad;
}

double IncidentSpectrum(const THistogram& hist, double t) {
  const auto& s = hist.IncidentSpectrum.Spectrum;
  double a[9];
  bool any = false;
  for (int k = 0; k < 9; ++k) {
    a[k] = s[static_cast<std::size_t>(k + 1)];
    any = any || a[k] != 0;
  }
  if (!any) return 1.0;
  if (t <= 0) return 0.0;
  const double l = t * 0.001;
  const double l2 = l * l;
  const double y = a[0] + a[1] * std::exp(-a[2] / l2) / (l2 * l2 * l) + a[3] * std::exp(-a[4] * l2) +
                   a[5] * std::exp(-a[6] * l2 * l) + a[7] * std::exp(-a[8] * l2 * l2);
  return std::isfinite(y) && y > 0 ? y : 0.0;
}

TPattern::TPattern(TRietveld& model) : FModel(model) {
  FData.resize(static_cast<std::size_t>(model.HistogramCount()));
  FViews.resize(FData.size());
}

TPattern::~TPattern() = default;

TCell TPattern::Cell(int phase) const {
  const TPhase* p = FModel.Phase(phase);
  if (p == nullptr) return TCell();
  return TCell(p->A, p->B, p->C, p->Alpha, p->Beta, p->Gamma);
}

void TPattern::SetData(int h, THistogramData data) { FData[static_cast<std::size_t>(h - 1)] = std::move(data); }

int TPattern::CheckSample(int h, int p) const {
  const TSample* s = FModel.FindSample(h, p);
  if (s == nullptr) return zeReadInput;
  if (s->PO != 1.0f) {
    if (s->PO <= 0) return zePreferredOrientation;
    if (s->POH == 0 && s->POK == 0 && s->POL == 0) return zePreferredOrientation;
  }
  const THistogram* hist = FModel.Histogram(h);
  if (hist->Profile == 6 && (s->Asym1 < 0 || s->Asym2 < 0)) return zeAsymmetry;
  return zeNone;
}

int TPattern::Prepare() {
  FGroups.assign(static_cast<std::size_t>(FModel.PhaseCount()), TSpaceGroup());
  FPairedOps.assign(FGroups.size(), {});
  for (int p = 1; p <= FModel.PhaseCount(); ++p) {
    const TCell cell = Cell(p);
    if (!cell.IsValid() || !FGroups[static_cast<std::size_t>(p - 1)].Assign(FModel.Phase(p)->SpaceGroup, cell))
      return zeSpaceGroup;
    const std::vector<TSymOp>& ops = Group(p).Operations();
    std::vector<int> partner(ops.size(), -1);
    for (std::size_t i = 0; i < ops.size(); ++i)
      for (std::size_t j = 0; j < ops.size() && partner[i] < 0; ++j) {
        bool opposite = true;
        for (int a = 0; a < 3 && opposite; ++a) {
          for (int b = 0; b < 3; ++b) opposite = opposite && ops[i].R[a][b] == -ops[j].R[a][b];
          const double t = ops[i].T[a] + ops[j].T[a];
          opposite = opposite && std::fabs(t - std::round(t)) < 1e-9;
        }
        if (opposite) partner[i] = static_cast<int>(j);
      }
    std::vector<int>& paired = FPairedOps[static_cast<std::size_t>(p - 1)];
    std::vector<char> taken(ops.size(), 0);
    for (std::size_t i = 0; i < ops.size() && partner[i] >= 0; ++i) {
      if (taken[i]) continue;
      paired.push_back(static_cast<int>(i));
      taken[i] = taken[static_cast<std::size_t>(partner[i])] = 1;
    }
    if (std::find(partner.begin(), partner.end(), -1) != partner.end() || 2 * paired.size() != ops.size()) paired.clear();
  }
  std::size_t reflectionTotal = 0;
  for (int h = 1; h <= HistogramCount(); ++h) {
    const THistogram& hist = *FModel.Histogram(h);
    THistogramData& data = Data(h);
    if (hist.Job < 0 || hist.Job > 7) return zeJobType;
    if (hist.Profile < 1 || hist.Profile > 7 || (hist.Profile == 7) != IsTof(hist)) return zeJobType;
    if (data.X.size() < 2) return zePeakWidth;
    if (IsTof(hist) && hist.Wavelength1 <= 0) return zeJobType;
    if (CheckBackgroundPoints(hist) != beNone) return zeInterpolatedBackground;

    // Points in the refined range and outside every excluded region.
    const std::size_t n = data.X.size();
    data.Used.assign(n, 1);
    // A constant step (up to single-precision rounding) lets the peaks walk the points.
    data.Step = 0;
    data.StepDeviation = 0;
    if (n > 2) {
      const double step = (data.X.back() - data.X.front()) / double(n - 1);
      double deviation = 0;
      for (std::size_t i = 0; i < n && step > 0; ++i)
        deviation = std::max(deviation, std::fabs(data.X[i] - (data.X.front() + double(i) * step)));
      if (step > 0 && deviation <= 1e-3 * step) {
        data.Step = step;
        data.StepDeviation = deviation;
      }
    }
    const double lo = std::min(hist.Start, hist.Stop), hi = std::max(hist.Start, hist.Stop);
    const bool ranged = hi > lo;
    for (std::size_t i = 0; i < n; ++i) {
      const double x = data.X[i];
      bool used = !data.Calculation && (!ranged || (x >= lo - 1e-6 && x <= hi + 1e-6));
      for (const TPair& r : hist.Excluded.Regions.Items)
        if (x >= std::min(r.X, r.Y) && x <= std::max(r.X, r.Y)) used = false;
      data.Used[i] = used;
    }
    if (data.Observed.size() != n) data.Observed.assign(n, 0.0);
    if (data.Third.size() != n) data.Third.assign(n, 1.0);
    data.Calculated.assign(n, 0.0);
    data.Background.assign(n, 0.0);
    if (hist.Background.Kind == bkAutoSmoothed) {
      data.TabulatedBackground = data.Calculation ? std::vector<double>(n, 0.0)
                                                  : SmoothedBackground(data.Observed, hist.Background.SmoothCycles,
                                                                       hist.Background.SmoothSteps);
    }
    if (hist.Background.Kind == bkDataFile && data.TabulatedBackground.size() != n) return zeNoBackgroundFile;

    // The d-spacings the x range can show, with a margin for peak tails.
    double xMin = *std::min_element(data.X.begin(), data.X.end());
    double xMax = *std::max_element(data.X.begin(), data.X.end());
    double dMin = 0, dMax = 0;
    if (IsTof(hist)) {
      dMin = SpacingAtX(h, xMin * 0.95);
      dMax = SpacingAtX(h, xMax * 1.05);
    } else if (IsEnergy(hist)) {
      dMin = SpacingAtX(h, xMax * 1.05);
      dMax = SpacingAtX(h, std::max(xMin * 0.95, 1e-3));
    } else {
      const double lMin = std::min(hist.Wavelength1, hist.Ratio > 0 && hist.Wavelength2 > 0 ? hist.Wavelength2 : hist.Wavelength1);
      const double lMax = std::max(hist.Wavelength1, hist.Ratio > 0 && hist.Wavelength2 > 0 ? hist.Wavelength2 : hist.Wavelength1);
      if (lMin <= 0) return zeJobType;
      const double t1 = std::clamp(xMin - hist.Zero - 5.0, 0.5, 179.5), t2 = std::clamp(xMax - hist.Zero + 5.0, 0.5, 179.5);
      dMin = lMin / (2.0 * std::sin(0.5 * t2 * DegToRad));
      dMax = lMax / (2.0 * std::sin(0.5 * t1 * DegToRad));
    }
    if (!(dMin > 0) || !(dMax > dMin)) return zePeakWidth;
    dMax = std::min(dMax, 200.0);

    auto& views = Views(h);
    views.clear();
    for (int p = 1; p <= FModel.PhaseCount(); ++p) {
      if (int e = CheckSample(h, p); e != zeNone) return e;
      const TPhase& phase = *FModel.Phase(p);
      TPhaseView view;
      view.Phase = p;
      if (!GenerateReflections(Cell(p), Group(p), dMin, dMax, view.Reflections)) return zeTooManyReflections;
      reflectionTotal += view.Reflections.size();
      if (reflectionTotal > MaxReflectionsTotal) return zeTooManyReflections;
      if (phase.CalcMethod == 0) {
        for (int a = 1; a <= phase.AtomCount(); ++a) {
          const TAtom& atom = *phase.Atom(a);
          TScatterer sc;
          if (!ResolveScatterer(atom.AtomType, hist, sc)) return zeScatterNotFound;
          view.Scatterers.push_back(sc);
        }
      } else {
        for (TReflection& r : view.Reflections) r.F2 = 1.0;
      }
      views.push_back(std::move(view));
    }
  }
  if (reflectionTotal == 0) return zeNoReflections;
  return zeNone;
}

double TPattern::Spacing(int phase, const TReflection& r) const {
  return Cell(phase).DSpacing(r.Hkl);
}

double TPattern::SpacingAtX(int h, double x) const {
  const THistogram& hist = *FModel.Histogram(h);
  if (IsTof(hist)) {
    const double a = hist.Wavelength2, b = hist.Wavelength1, c = hist.Zero - x;
    if (std::fabs(a) < 1e-12) return b != 0 ? -c / b : 0;
    const double disc = b * b - 4 * a * c;
    if (disc < 0) return 0;
    return (-b + std::sqrt(disc)) / (2 * a);
  }
  if (IsEnergy(hist)) {
    const double s = std::sin(0.5 * hist.Wavelength1 * DegToRad);
    const double e = x - hist.Zero;
    return s > 0 && e > 0 ? HcOverTwo / (e * s) : 0;
  }
  const double s = std::sin(0.5 * (x - hist.Zero) * DegToRad);
  return s > 0 ? hist.Wavelength1 / (2 * s) : 0;
}

double TPattern::ScatteringVector(int h, double x) const {
  const double d = SpacingAtX(h, x);
  return d > 0 ? 2 * Pi / d : 0;
}

// ---------------------------------------------------------------------------
// Structure factors

double TPattern::OccupancyFactor(const TPhaseView& /*view*/, int /*atom*/) const {
  // N x M atoms sit in the cell: the sum over all M operations is weighted
  // by N alone (see AtomContribution).
  return 1.0;
}

// The geometric part of one atom's contribution to F(hkl), without its
// scattering factor: N x exp(-B s^2) x the sum over every operation of the
// group (centring included) of exp(2 pi i h.x'), with B the atom's B plus the
// phase's overall value.
// Occupancy convention: N is the site fraction times m / M (m the site's
// multiplicity, M the group's general multiplicity), so N x M atoms sit in
// the cell and the sum is never divided by the order of the site's
// stabiliser. A fully occupied general position has N = 1; a full 4-fold
// site of P n m a (M = 8) has N = 0.5.
std::complex<double> TPattern::AtomContribution(const TPhaseView& view, int atom, const TMiller& hkl, double stol2,
                                                const TPhase& phase, std::array<std::complex<double>, 10>* sums) const {
  static constexpr int PairI[6] = {0, 1, 2, 0, 0, 1}, PairJ[6] = {0, 1, 2, 1, 2, 2};
  if (sums != nullptr) sums->fill(0);
  const TAtom& a = *phase.Atom(atom + 1);
  const TVec3 x{a.X, a.Y, a.Z};
  const bool aniso = a.B11 != 0 || a.B22 != 0 || a.B33 != 0 || a.B12 != 0 || a.B13 != 0 || a.B23 != 0;
  std::complex<double> sum = 0;
  const std::vector<TSymOp>& ops = Group(view.Phase).Operations();
  const std::vector<int>* paired =
      static_cast<std::size_t>(view.Phase - 1) < FPairedOps.size() && !FPairedOps[static_cast<std::size_t>(view.Phase - 1)].empty()
          ? &FPairedOps[static_cast<std::size_t>(view.Phase - 1)]
          : nullptr;
  const std::size_t count = paired != nullptr ? paired->size() : ops.size();
  for (std::size_t o = 0; o < count; ++o) {
    const TSymOp& op = ops[paired != nullptr ? static_cast<std::size_t>((*paired)[o]) : o];
    const TMiller hr = op.ApplyToHkl(hkl);
    const double angle = 2 * Pi * (hr[0] * x[0] + hr[1] * x[1] + hr[2] * x[2] + hkl[0] * op.T[0] + hkl[1] * op.T[1] + hkl[2] * op.T[2]);
    double t = 1.0;
    if (aniso) {
      // Anisotropic factor exp(-(b11 h^2 + b22 k^2 + b33 l^2 + 2 b12 hk + 2 b13 hl + 2 b23 kl)) of the image.
      t = std::exp(-(a.B11 * hr[0] * hr[0] + a.B22 * hr[1] * hr[1] + a.B33 * hr[2] * hr[2] +
                     2.0 * (a.B12 * hr[0] * hr[1] + a.B13 * hr[0] * hr[2] + a.B23 * hr[1] * hr[2])));
    }
    const std::complex<double> e = t * std::complex<double>(std::cos(angle), std::sin(angle));
    if (paired != nullptr) {
      // With the partner (-R, -t): the conjugate term at -h'.
      const double re = 2 * e.real(), im = 2 * e.imag();
      sum += re;
      if (sums != nullptr) {
        for (int i = 0; i < 3; ++i) (*sums)[i] += std::complex<double>(0, double(hr[i]) * im);
        for (int q = 0; q < 6; ++q) (*sums)[3 + q] += double(hr[PairI[q]] * hr[PairJ[q]]) * re;
        (*sums)[9] += re;
      }
      continue;
    }
    sum += e;
    if (sums != nullptr) {
      for (int i = 0; i < 3; ++i) (*sums)[i] += double(hr[i]) * e;
      for (int q = 0; q < 6; ++q) (*sums)[3 + q] += double(hr[PairI[q]] * hr[PairJ[q]]) * e;
      (*sums)[9] += e;
    }
  }
  const double b = a.B + phase.IsoThermal;
  return sum * (a.N * OccupancyFactor(view, atom) * std::exp(-b * stol2));
}

void TPattern::UpdateStructureFactors(int /*h: the view is that histogram's*/, TPhaseView& view) {
  const TPhase& phase = *FModel.Phase(view.Phase);
  const std::size_t atoms = phase.CalcMethod == 0 ? static_cast<std::size_t>(phase.AtomCount()) : 0;
  const std::size_t count = view.Reflections.size();
  // The cell and the overall displacement change every atom's contribution.
  const double shared[8] = {phase.A, phase.B, phase.C, phase.Alpha, phase.Beta, phase.Gamma, phase.IsoThermal,
                            double(phase.AtomCount())};
  bool geometry = view.SharedKey.size() != 8 || !std::equal(shared, shared + 8, view.SharedKey.begin());
  if (geometry) {
    view.SharedKey.assign(shared, shared + 8);
    const TCell cell = Cell(view.Phase);
    for (TReflection& r : view.Reflections) r.D = cell.DSpacing(r.Hkl);
  }
  if (phase.CalcMethod != 0) return;
  if (view.AtomF.size() != atoms) {
    view.AtomF.assign(atoms, {});
    view.AtomKey.assign(atoms, {});
    geometry = true;
  }
  const bool sums = FDerivatives;
  if (sums && view.AtomSums.size() != atoms) {
    view.AtomSums.assign(atoms, {});
    geometry = true;
  }
  bool changed = geometry;
  for (std::size_t a = 0; a < atoms; ++a) {
    const TAtom& atom = *phase.Atom(static_cast<int>(a) + 1);
    std::array<float, 11> key{atom.X, atom.Y, atom.Z, atom.B, atom.N, atom.B11, atom.B22, atom.B33, atom.B12, atom.B13, atom.B23};
    auto& list = view.AtomF[a];
    if (!geometry && list.size() == count && key == view.AtomKey[a] && (!sums || view.AtomSums[a].size() == count)) continue;
    view.AtomKey[a] = key;
    changed = true;
    list.resize(count);
    if (sums) view.AtomSums[a].resize(count);
    for (std::size_t k = 0; k < count; ++k) {
      const TReflection& r = view.Reflections[k];
      list[k] = AtomContribution(view, static_cast<int>(a), r.Hkl, 0.25 / (r.D * r.D), phase,
                                 sums ? &view.AtomSums[a][k] : nullptr);
    }
  }
  // Scattering factors: new with the cell or with refined entries.
  bool scatter = view.ScatterKey.size() != 2 * atoms;
  view.ScatterKey.resize(2 * atoms);
  for (std::size_t a = 0; a < atoms; ++a) {
    const TScatterFactor* e = view.Scatterers[a].Entry;
    const double fp = e != nullptr ? e->FPrime : 0.0, fpp = e != nullptr ? e->FDoublePrime : 0.0;
    scatter = scatter || view.ScatterKey[2 * a] != fp || view.ScatterKey[2 * a + 1] != fpp;
    view.ScatterKey[2 * a] = fp;
    view.ScatterKey[2 * a + 1] = fpp;
  }
  if (geometry || scatter || view.Form.size() != atoms * count) {
    view.Form.resize(atoms * count);
    for (std::size_t a = 0; a < atoms; ++a)
      for (std::size_t k = 0; k < count; ++k) {
        const double d = view.Reflections[k].D;
        view.Form[a * count + k] = view.Scatterers[a].Real(0.25 / (d * d));
      }
    changed = true;
  }
  if (!changed) return;
  // F(h) = sum (f + i f'') G and the Friedel mate's |F(-h)| = |sum (f - i f'') G|;
  // the powder intensity takes their mean.
  for (std::size_t k = 0; k < count; ++k) {
    TReflection& r = view.Reflections[k];
    std::complex<double> plus = 0, minus = 0;
    for (std::size_t a = 0; a < atoms; ++a) {
      const double f1 = view.Form[a * count + k], f2 = view.Scatterers[a].Imaginary();
      plus += std::complex<double>(f1, f2) * view.AtomF[a][k];
      minus += std::complex<double>(f1, -f2) * view.AtomF[a][k];
    }
    r.F = plus;
    r.F2 = 0.5 * (std::norm(plus) + std::norm(minus));
  }
}

std::complex<double> TPattern::StructureFactor(int h, const TPhaseView& view, const TMiller& hkl) const {
  (void)h;
  const TPhase& phase = *FModel.Phase(view.Phase);
  const TCell cell = Cell(view.Phase);
  const double q = cell.InverseDSquared(hkl);
  const double stol2 = 0.25 * q;
  std::complex<double> f = 0;
  for (int a = 0; a < phase.AtomCount() && a < static_cast<int>(view.Scatterers.size()); ++a) {
    const TScatterer& sc = view.Scatterers[static_cast<std::size_t>(a)];
    f += std::complex<double>(sc.Real(stol2), sc.Imaginary()) * AtomContribution(view, a, hkl, stol2, phase);
  }
  return f;
}

double TPattern::ForwardScattering(int h, const TPhaseView& view) const {
  (void)h;
  const TPhase& phase = *FModel.Phase(view.Phase);
  double sum = 0;
  for (int a = 0; a < phase.AtomCount() && a < static_cast<int>(view.Scatterers.size()); ++a) {
    const TAtom& atom = *phase.Atom(a + 1);
    sum += view.Scatterers[static_cast<std::size_t>(a)].Forward() * atom.N * Group(view.Phase).Order();
  }
  return sum;
}

// ---------------------------------------------------------------------------
// Peaks. One template gives the peaks of a reflection from the model values
// (T = double) and, with T = TDual, their exact derivatives with respect to
// those values.

namespace {

// Model values a peak depends on (besides |F|^2).
enum TPeakInput {
  inZero, inDisplacement, inHistScale, inLambda1, inLambda2, inAbsorption, inPhaseScale,
  inA, inB, inC, inAlpha, inBeta, inGamma,
  inU, inV, inW, inGam0, inGam1, inGam2, inUaniso, inAsym1, inAsym2, inPO, inExtinction, inPore, inRough,
  inGausDis1, inLorDis1, inGausDis2, inLorDis2, inGausDis3, inLorDis3,
  inCount,
  inF2 = inCount,  // the reflection's |F|^2, a pseudo-input of the derivatives
  inNone = -1
};

// The input of a refinement address, inNone when the address changes no
// peak directly (atoms, background, unused values).
int PeakInputOf(int h, int p, int a, int t) {
  if (h > 0 && p == 0 && a == 0) {
    switch (t) {
      case 1: return inZero;
      case 26: return inHistScale;
      case 27: return inLambda1;
      case 28: return inLambda2;
      case 29: return inDisplacement;
      case 30: return inAbsorption;
      default: return inNone;
    }
  }
  if (h == 0 && p > 0 && a == 0) {
    if (t == 1) return inPhaseScale;
    if (t >= 6 && t <= 11) return inA + (t - 6);
    return inNone;
  }
  if (h > 0 && p > 0 && p != ScatterPhase && a == 0) {
    switch (t) {
      case 3: return inU;
      case 4: return inV;
      case 5: return inW;
      case 12: return inPO;
      case 14: return inAsym1;
      case 15: return inGam0;
      case 16: return inGam1;
      case 17: return inGam2;
      case 18: return inExtinction;
      case 19: return inUaniso;
      case 20: return inAsym2;
      case 25: return inPore;
      case 26: return inRough;
      case 28: case 29: case 30: case 31: case 32: case 33: return inGausDis1 + (t - 28);
      default: return inNone;
    }
  }
  return inNone;
}

template <class T>
T Seeded(double v, int slot) {
  if constexpr (std::is_same_v<T, double>)
    return v;
  else
    return T::Seed(v, slot);
}

template <class T>
bool Moving(const T& x) {
  if constexpr (std::is_same_v<T, double>) {
    (void)x;
    return false;
  } else {
    return x.Moving();
  }
}

template <class T>
using TMatOf = std::array<std::array<T, 3>, 3>;

template <class T>
T QuadraticOf(const TMatOf<T>& g, const TVec3& u, const TVec3& v) {
  T s(0.0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (u[i] * v[j] != 0) s += g[i][j] * (u[i] * v[j]);
  return s;
}

template <class T>
T ReciprocalCosineOf(const TMatOf<T>& g, const TVec3& h1, const TVec3& h2) {
  using std::sqrt;
  const T n1 = QuadraticOf(g, h1, h1), n2 = QuadraticOf(g, h2, h2);
  if (n1 <= 0 || n2 <= 0) return T(1.0);
  const T c = QuadraticOf(g, h1, h2) / sqrt(n1 * n2);
  return c < -1.0 ? T(-1.0) : (c > 1.0 ? T(1.0) : c);
}

// The model values one view's peaks use, with the cell's reciprocal metric.
template <class T>
struct TViewValues {
  std::array<T, inCount> In{};
  TMatOf<T> Recip{};
  T Volume{};
  bool Valid = false;
};

template <class T>
void SetCell(TViewValues<T>& v) {
  using std::cos;
  using std::sqrt;
  const T a = v.In[inA], b = v.In[inB], c = v.In[inC];
  const T ca = cos(v.In[inAlpha] * DegToRad), cb = cos(v.In[inBeta] * DegToRad), cg = cos(v.In[inGamma] * DegToRad);
  const TMatOf<T> m = {{{a * a, a * b * cg, a * c * cb}, {a * b * cg, b * b, b * c * ca}, {a * c * cb, b * c * ca, c * c}}};
  const T det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  v.Valid = det > 0 && std::isfinite(ValueOf(det));
  if (!v.Valid) return;
  v.Recip[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
  v.Recip[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
  v.Recip[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
  v.Recip[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
  v.Recip[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
  v.Recip[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
  v.Recip[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
  v.Recip[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
  v.Recip[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
  v.Volume = sqrt(det);
}

double InputValue(const THistogram& hist, const TPhase& phase, const TSample& s, int i) {
  switch (i) {
    case inZero: return hist.Zero;
    case inDisplacement: return hist.Displacement;
    case inHistScale: return hist.Scale;
    case inLambda1: return hist.Wavelength1;
    case inLambda2: return hist.Wavelength2;
    case inAbsorption: return hist.Absorption;
    case inPhaseScale: return phase.Scale;
    case inA: return phase.A;
    case inB: return phase.B;
    case inC: return phase.C;
    case inAlpha: return phase.Alpha;
    case inBeta: return phase.Beta;
    case inGamma: return phase.Gamma;
    case inU: return s.U;
    case inV: return s.V;
    case inW: return s.W;
    case inGam0: return s.Gam0;
    case inGam1: return s.Gam1;
    case inGam2: return s.Gam2;
    case inUaniso: return s.Uaniso;
    case inAsym1: return s.Asym1;
    case inAsym2: return s.Asym2;
    case inPO: return s.PO;
    case inExtinction: return s.Extinction;
    case inPore: return s.Pore;
    case inRough: return s.Rough;
    case inGausDis1: return s.GausDis[0];
    case inLorDis1: return s.LorDis[0];
    case inGausDis2: return s.GausDis[1];
    case inLorDis2: return s.LorDis[1];
    case inGausDis3: return s.GausDis[2];
    case inLorDis3: return s.LorDis[2];
    default: return 0;
  }
}

// Fixed facts of one view in one histogram.
struct TPeakContext {
  const THistogram* Hist = nullptr;
  const TSample* Sample = nullptr;
  const TPhaseView* View = nullptr;
  const TSpaceGroup* Group = nullptr;
  int Profile = 0;
  bool Tof = false, Energy = false, NeutronCW = false, Second = false, AllEquivalents = false;
  bool Intensities = true;  // false: the places and shapes of the peaks only
  double AsymLimit = 0;
};

// One peak: the differentiable values, and the fixed facts of its shape.
enum TAsymmetryKind { akNone, akRietveld, akHoward, akFcj };
template <class T>
struct TPeakOf {
  T Position{}, Intensity{}, H{}, Mix{}, Asym{};  // Mix: eta or the Pearson exponent; Asym: see TSpread
  // Finger-Cox-Jephcoat: Asym is S/L, Asym2 H/L and Angle the 2theta its sub-peaks follow.
  T Asym2{}, Angle{};
  TPeakShape::TKind Kind = TPeakShape::pkPseudoVoigt;
  int Asymmetry = akNone;
  double TwoTheta = 0;  // without zero shift, for the FCJ shape
  double Alpha = 0, Beta = 0;  // time of flight
};

template <class T>
T MarchDollaseOf(const T& r, const T& cosAlpha) {
  using std::pow;
  const T c2 = cosAlpha * cosAlpha;
  return pow(r * r * c2 + (1.0 - c2) / r, -1.5);
}

template <class T>
T SabineExtinctionOf(const T& x, const T& sinTheta) {
  using std::sqrt;
  if (x <= 0) return T(1.0);
  const T bragg = 1.0 / sqrt(1.0 + x);
  T laue;
  if (x < 1.0)
    laue = 1.0 - x / 2.0 + x * x / 4.0 - 5.0 * x * x * x / 48.0 + 7.0 * x * x * x * x / 192.0;
  else
    laue = sqrt(2.0 / (Pi * x)) * (1.0 - 1.0 / (8.0 * x) - 3.0 / (128.0 * x * x) - 15.0 / (1024.0 * x * x * x));
  const T s2 = sinTheta * sinTheta;
  return laue * (1.0 - s2) + bragg * s2;
}

template <class T>
T SoftPositiveOf(const T& v, const T& eps) {
  using std::exp;
  if (v > ValueOf(eps)) return v;
  const T e = (v - eps) / eps;
  return eps * (e < -700.0 ? exp(T(-700.0)) : exp(e));
}

template <class T>
void WidthTermsOf(const TPeakContext& c, const TViewValues<T>& v, const TVec3& hv, const T& t, T& g2, T& lorentz) {
  const auto& in = v.In;
  const TSample& s = *c.Sample;
  if (c.Tof) {
    g2 = in[inU] + in[inV] * t * t + in[inW] * t * t * t * t;
    lorentz = in[inGam0] + in[inGam1] * t + in[inGam2] * t * t;
  } else if (c.Energy) {
    g2 = in[inU] * t * t + in[inV] * t + in[inW];
    lorentz = in[inGam0] + in[inGam1] * t + in[inGam2] * t * t;
  } else {
    g2 = in[inU] * t * t + in[inV] * t + in[inW];
    lorentz = LorentzianTermOf(c.Profile, in[inGam0], in[inGam1], in[inGam2], t);
  }
  if (s.BroadeningModel == bmNone) return;
  // Width that depends on the direction of the reflection.
  const bool lorentzWidth = c.Profile == 3 || c.Profile == 5 || c.Profile == 7;
  auto addLorentzian = [&](const T& w) {
    if (lorentzWidth)
      lorentz += w;
    else
      g2 += w * w;
  };
  switch (s.BroadeningModel) {
    case bmCos2Phi:
    case bmTensor: {
      const T cs = ReciprocalCosineOf(v.Recip, hv, {s.UH, s.UK, s.UL});
      g2 += in[inUaniso] * cs * cs * t * t;
      break;
    }
    case bmDeltaA: {
      if (ValueOf(in[inUaniso]) == 0 && !Moving(in[inUaniso])) break;  // adds nothing
      const T cs = ReciprocalCosineOf(v.Recip, hv, {s.UH, s.UK, s.UL});
      addLorentzian(in[inUaniso] * cs * cs * t);
      break;
    }
    case bmDislocation: {
      for (int row = 0; row < std::min(3, s.DislocationCount); ++row) {
        T sum(0.0);
        int count = 0;
        for (const auto* triple : {&s.DislocationHKL1[row], &s.DislocationHKL2[row], &s.DislocationHKL3[row]}) {
          if ((*triple)[0] == 0 && (*triple)[1] == 0 && (*triple)[2] == 0) continue;
          const T cs = ReciprocalCosineOf(v.Recip, hv, {double((*triple)[0]), double((*triple)[1]), double((*triple)[2])});
          sum += cs * cs;
          ++count;
        }
        if (count == 0) continue;
        const T contrast = sum / double(count);
        g2 += in[inGausDis1 + 2 * row] * contrast * t * t;
        addLorentzian(in[inLorDis1 + 2 * row] * contrast * t);
      }
      break;
    }
    default:
      break;
  }
}

template <class T>
T IntensityFactorOf(const TPeakContext& c, const TViewValues<T>& v, const TReflection& r, std::size_t index,
                    const T& f2, const T& twoThetaOrD, const T& wavelength) {
  using std::cos;
  using std::exp;
  using std::sin;
  using std::sqrt;
  const THistogram& hist = *c.Hist;
  const TSample& s = *c.Sample;
  const auto& in = v.In;
  T factor = in[inHistScale] * in[inPhaseScale] * double(r.Multiplicity) * f2;

  // Preferred orientation (March-Dollase), over the equivalents when asked.
  // At a ratio of 1 the factor is 1; it is still followed when refined.
  if ((in[inPO] != 1.0 || Moving(in[inPO])) && in[inPO] > 0) {
    const TVec3 axis{s.POH, s.POK, s.POL};
    if (c.AllEquivalents) {
      std::vector<TMiller> own;
      if (index >= c.View->Equivalents.size()) own = c.Group->EquivalentIndices(r.Hkl);
      const std::vector<TMiller>& eq = index < c.View->Equivalents.size() ? c.View->Equivalents[index] : own;
      T sum(0.0);
      for (const TMiller& m : eq) sum += MarchDollaseOf(in[inPO], ReciprocalCosineOf(v.Recip, ToVec(m), axis));
      factor *= sum / double(eq.size());
    } else {
      factor *= MarchDollaseOf(in[inPO], ReciprocalCosineOf(v.Recip, ToVec(r.Hkl), axis));
    }
  }

  if (c.Tof) {
    const T& d = twoThetaOrD;
    return factor * d * d * d * d * IncidentSpectrum(hist, PositionOfSpacing(hist, ValueOf(d), 0) + hist.Zero);
  }
  if (c.Energy) {
    const T& d = twoThetaOrD;
    return factor * d * d;
  }

  const T theta = 0.5 * twoThetaOrD * DegToRad;
  const T sinT = sin(theta), cosT = cos(theta);
  const T cos2T = cos(2.0 * theta);
  T lp = 1.0 / (sinT * sinT * cosT);
  if (!c.NeutronCW) lp *= 1.0 + hist.Polarisation * cos2T * cos2T;  // Polarisation: cos^2 2theta of the monochromator
  factor *= lp;

  if (hist.AbsorptionModel == 0) {
    // Cylinder of mu R = Absorption (Rouse, Cooper, York and Chakera's approximation).
    const T& mr = in[inAbsorption];
    if (mr != 0 || Moving(mr)) {
      const T s2 = sinT * sinT;
      factor *= exp(-(1.7133 - 0.0368 * s2) * mr + (0.0927 + 0.375 * s2) * mr * mr);
    }
  } else {
    // Flat plate: Suortti's surface roughness, 1 at 90 degrees.
    if (in[inPore] != 0 || Moving(in[inPore]))
      factor *= 1.0 - in[inPore] * exp(-in[inRough]) + in[inPore] * exp(-in[inRough] / sinT);
  }
  if (hist.Illumination != 0 && hist.IsXrayCW()) factor *= sinT;  // automatic divergence slit
  if (in[inExtinction] != 0) {
    // Sabine's x = E (lambda |F| / V)^2, with the extinction value E in square Angstrom.
    const T x = in[inExtinction] * wavelength * wavelength * f2 / (v.Volume * v.Volume);
    factor *= SabineExtinctionOf(x, sinT);
  }
  return factor;
}

template <class T>
void ShapeOf(const TPeakContext& c, const T& g2, const T& lorentz, const T& position, TPeakOf<T>& peak) {
  using std::clamp;
  using std::fabs;
  using std::max;
  using std::sqrt;
  // Widths that the terms make zero or negative are kept small but
  // positive by a smooth continuation, so a refinement that overshoots
  // still sees which way to go back.
  const T floor = max(T(1e-5 * fabs(position)), 1e-6);
  const T g = sqrt(SoftPositiveOf(g2, floor * floor));
  if (c.Profile == 3 || c.Profile == 5 || c.Profile == 7) {
    const T l = lorentz > 0 || g > 0 ? SoftPositiveOf(lorentz, 1e-3 * max(g, floor)) : T(0.0);
    peak.H = max(TchWidthOf(g, l), floor);
    peak.Mix = clamp(TchMixingOf(l / peak.H), 0.0, 1.0);
  } else if (c.Profile == 2) {
    peak.Kind = TPeakShape::pkPearson;
    peak.H = max(g, floor);
    peak.Mix = clamp(lorentz, 0.6, 1000.0);
  } else {
    // The mixing value is used as it stands (no clipping to 0 .. 1), so
    // the pattern stays a smooth function of it during refinement.
    peak.H = max(g, floor);
    peak.Mix = lorentz;
  }
}

// The peaks of reflection `index` of the view: one per wavelength. dF2ds is
// d|F|^2 / d(sin(theta)/lambda)^2, which carries the cell's derivatives into
// the structure factor; f2Slot seeds |F|^2 itself. Returns the number of peaks.
template <class T>
int PeaksOf(const TPeakContext& c, const TViewValues<T>& v, const TReflection& r, std::size_t index, double dF2ds,
            int f2Slot, TPeakOf<T> out[2]) {
  using std::asin;
  using std::cos;
  using std::sin;
  using std::sqrt;
  using std::tan;
  if (!v.Valid) return 0;
  const THistogram& hist = *c.Hist;
  const TSample& s = *c.Sample;
  const auto& in = v.In;
  const TVec3 hv = ToVec(r.Hkl);
  const T q = QuadraticOf(v.Recip, hv, hv);
  if (!(q > 0)) return 0;
  const T d = 1.0 / sqrt(q);
  T f2 = Seeded<T>(r.F2, f2Slot);
  if (dF2ds != 0) f2 += dF2ds * 0.25 * (q - ValueOf(q));

  if (c.Tof) {
    TPeakOf<T>& peak = out[0];
    peak = TPeakOf<T>();
    peak.Position = in[inZero] + in[inLambda1] * d + in[inLambda2] * d * d;
    T g2, lorentz;
    WidthTermsOf(c, v, hv, d, g2, lorentz);
    ShapeOf(c, g2, lorentz, peak.Position, peak);
    peak.Kind = TPeakShape::pkTof;
    const double dv = ValueOf(d);
    peak.Alpha = s.TOFAlpha1 + s.TOFAlpha2 / dv;
    peak.Beta = s.TOFBeta1 + s.TOFBeta2 / (dv * dv * dv * dv);
    if (c.Intensities) peak.Intensity = IntensityFactorOf(c, v, r, index, f2, d, T(0.0));
    return 1;
  }
  if (c.Energy) {
    const T sn = sin(0.5 * in[inLambda1] * DegToRad);
    if (!(sn > 0)) return 0;
    const T e = HcOverTwo / (d * sn);
    if (!std::isfinite(ValueOf(e))) return 0;
    TPeakOf<T>& peak = out[0];
    peak = TPeakOf<T>();
    peak.Position = e + in[inZero];
    T g2, lorentz;
    WidthTermsOf(c, v, hv, e, g2, lorentz);
    ShapeOf(c, g2, lorentz, peak.Position, peak);
    if (c.Intensities) peak.Intensity = IntensityFactorOf(c, v, r, index, f2, d, T(0.0));
    return 1;
  }

  // Constant wavelength: one peak per wavelength.
  int count = 0;
  for (int w = 0; w < (c.Second ? 2 : 1); ++w) {
    const T& lambda = w == 0 ? in[inLambda1] : in[inLambda2];
    const T sn = lambda / (2.0 * d);
    if (sn >= 1.0 || sn <= 0) continue;
    const T theta = asin(sn);
    const T twoTheta = 2.0 * theta / DegToRad;
    TPeakOf<T>& peak = out[count];
    peak = TPeakOf<T>();
    peak.TwoTheta = ValueOf(twoTheta);
    peak.Position = twoTheta + in[inZero];
    if (hist.HasDisplacement != 0) peak.Position += in[inDisplacement] * cos(theta);
    const T t = tan(theta);
    T g2, lorentz;
    WidthTermsOf(c, v, hv, t, g2, lorentz);
    ShapeOf(c, g2, lorentz, peak.Position, peak);
    const T& p = in[inAsym1];
    if (c.Profile <= 3) {
      // Rietveld's 1 - P s delta^2 / tan(theta): Asym = P / tan(theta).
      if (peak.TwoTheta < c.AsymLimit) {
        peak.Asymmetry = akRietveld;
        peak.Asym = p / t;
      }
    } else if (c.Profile <= 5) {
      // Howard's sub-peaks at -S z^2, S = P / tan(2theta).
      const T t2 = tan(twoTheta * DegToRad);
      if ((p != 0 || Moving(p)) && std::isfinite(ValueOf(t2)) && std::fabs(ValueOf(t2)) >= 1e-6) {
        peak.Asymmetry = akHoward;
        peak.Asym = p / t2;
      }
    } else if (c.Profile == 6) {
      peak.Asymmetry = akFcj;
      peak.Asym = p;
      peak.Asym2 = in[inAsym2];
      peak.Angle = twoTheta;
    }
    if (c.Intensities)
      peak.Intensity = (w == 0 ? 1.0 : double(hist.Ratio)) * IntensityFactorOf(c, v, r, index, f2, twoTheta, lambda);
    ++count;
  }
  return count;
}

// Simpson weights of Howard's five sub-peaks at z = 0, 1/4, .. 1.
constexpr double HowardWeight[5] = {1.0 / 12, 4.0 / 12, 2.0 / 12, 4.0 / 12, 1.0 / 12};

// A peak as the point loop spreads it.
struct TSpread {
  TPeakShape::TKind Kind = TPeakShape::pkPseudoVoigt;
  double P = 0, I = 0, H = 0, Mix = 0;
  int Asymmetry = akNone;
  double R = 0;  // Rietveld: Asym; Howard: S
  int Sub = 0;   // shifted sub-peaks (0: one at the centre)
  double Off[TShortList::Capacity] = {}, W[TShortList::Capacity] = {}, Z2[TShortList::Capacity] = {};
  double Low = 0, High = 0, DLowDS = 0, DHighDS = 0;
  // Finger-Cox-Jephcoat: per sub-peak d offset / d(S/L, H/L, 2theta) and
  // d weight / d(...) over the weight; the reach's on each side.
  double DOff[3][TShortList::Capacity] = {}, RW[3][TShortList::Capacity] = {};
  double DLow[3] = {}, DHigh[3] = {};
  // Pseudo-Voigt: L = CL / (dd^2 + H2Q), G = CG exp(-KG dd^2).
  double CL = 0, H2Q = 0, CG = 0, KG = 0, InvH = 0;
  // Pearson VII: norm (1 + K4 dd^2)^-m, and d ln norm / dm, dk/dm over H^2 x 4.
  double Norm = 0, K4 = 0, DLogNormDm = 0, DK4Dm = 0;
  TPeakShape Shape;  // time of flight: the general shape
};

// Digamma function (for the Pearson exponent's derivative).
double Digamma(double x) {
  double r = 0;
  while (x < 6) {
    r -= 1 / x;
    x += 1;
  }
  const double f = 1 / (x * x);
  return r + std::log(x) - 0.5 / x - f * (1.0 / 12 - f * (1.0 / 120 - f * (1.0 / 252 - f * (1.0 / 240 - f / 132))));
}

// With partials, the Finger-Cox-Jephcoat sub-peaks' derivatives too.
bool MakeSpread(const TPeakOf<double>& p, double fwhms, const TSample& s, TSpread& out, bool partials) {
  out.Kind = p.Kind;
  out.P = p.Position;
  out.I = p.Intensity;
  out.H = p.H;
  out.Mix = p.Mix;
  out.Asymmetry = p.Asymmetry;
  out.R = p.Asym;
  out.Sub = 0;
  out.DLowDS = out.DHighDS = 0;
  for (int q = 0; q < 3; ++q) out.DLow[q] = out.DHigh[q] = 0;
  if (!(p.Intensity != 0) || !std::isfinite(p.Intensity)) return false;
  double reach = fwhms * p.H, low = 0, high = 0;
  if (p.Kind == TPeakShape::pkTof) {
    out.Shape = TPeakShape();
    out.Shape.Kind = TPeakShape::pkTof;
    out.Shape.H = p.H;
    out.Shape.Eta = p.Mix;
    out.Shape.Alpha = p.Alpha;
    out.Shape.Beta = p.Beta;
    out.Low = out.Shape.LowReach(fwhms);
    out.High = out.Shape.HighReach(fwhms);
    return out.Low > 0 || out.High > 0;
  }
  if (p.Asymmetry == akHoward) {
    out.Sub = 5;
    for (int j = 0; j < 5; ++j) {
      const double z = j / 4.0;
      out.Z2[j] = z * z;
      out.Off[j] = -p.Asym * z * z;
      out.W[j] = HowardWeight[j];
    }
    if (p.Asym > 0) {
      low = p.Asym;
      out.DLowDS = 1;
    } else if (p.Asym < 0) {
      high = -p.Asym;
      out.DHighDS = -1;
    }
  } else if (p.Asymmetry == akFcj) {
    // The sub-peaks, with partials their derivatives along S/L, H/L and
    // 2theta (the same values either way).
    using TFcjDual = TDual<4>;
    if (partials) {
      TFcjDual off[TShortList::Capacity], w[TShortList::Capacity];
      out.Sub = FcjSubPeaks(TFcjDual::Seed(s.Asym1, 0), TFcjDual::Seed(s.Asym2, 1), TFcjDual::Seed(p.TwoTheta, 2), off, w);
      for (int j = 0; j < out.Sub; ++j) {
        out.Off[j] = off[j].V;
        out.W[j] = w[j].V;
        for (int q = 0; q < 3; ++q) {
          out.DOff[q][j] = off[j].Partial(q);
          out.RW[q][j] = w[j].Partial(q) / w[j].V;
        }
      }
    } else {
      out.Sub = FcjSubPeaks<double>(s.Asym1, s.Asym2, p.TwoTheta, out.Off, out.W);
      for (int q = 0; q < 3; ++q)
        for (int j = 0; j < out.Sub; ++j) out.DOff[q][j] = out.RW[q][j] = 0;
    }
    int lowAt = -1, highAt = -1;
    for (int j = 0; j < out.Sub; ++j) {
      out.Z2[j] = 0;
      if (-out.Off[j] > low) {
        low = -out.Off[j];
        lowAt = j;
      }
      if (out.Off[j] > high) {
        high = out.Off[j];
        highAt = j;
      }
    }
    for (int q = 0; q < 3; ++q) {
      out.DLow[q] = lowAt >= 0 ? -out.DOff[q][lowAt] : 0.0;
      out.DHigh[q] = highAt >= 0 ? out.DOff[q][highAt] : 0.0;
    }
  }
  out.Low = reach + low;
  out.High = reach + high;
  if (p.H <= 0) return false;
  if (p.Kind == TPeakShape::pkPearson) {
    const double m = p.Mix;
    if (m <= 0.5) return false;
    const double k = std::pow(2.0, 1.0 / m) - 1.0;
    out.Norm = 2.0 * std::exp(std::lgamma(m) - std::lgamma(m - 0.5)) * std::sqrt(k) / (std::sqrt(Pi) * p.H);
    out.K4 = 4.0 * k / (p.H * p.H);
    const double dk = -std::pow(2.0, 1.0 / m) * std::log(2.0) / (m * m);
    out.DLogNormDm = Digamma(m) - Digamma(m - 0.5) + 0.5 * dk / k;
    out.DK4Dm = 4.0 * dk / (p.H * p.H);
  } else {
    out.CL = 0.159155 * p.H;
    out.H2Q = 0.25 * p.H * p.H;
    out.CG = 0.9394373 / p.H;
    out.KG = 2.772589 / (p.H * p.H);
    out.InvH = 1.0 / p.H;
  }
  return true;
}

// The base profile at dd; with Partials, also d/d dd, d/dH and d/dMix.
// gauss is exp(-KG dd^2) when the caller has it, negative otherwise.
template <bool Partials>
inline double BaseAt(const TSpread& s, double dd, double gauss, double& ddd, double& dh, double& dm) {
  if (s.Kind == TPeakShape::pkPearson) {
    const double u = 1.0 + s.K4 * dd * dd;
    const double v = s.Norm * std::pow(u, -s.Mix);
    if constexpr (Partials) {
      ddd = v * (-s.Mix) * 2.0 * s.K4 * dd / u;
      dh = v * (-1.0 / s.H + 2.0 * s.Mix * s.K4 * dd * dd / (s.H * u));
      dm = v * (s.DLogNormDm - std::log(u) - s.Mix * s.DK4Dm * dd * dd / u);
    }
    return v;
  }
  const double dd2 = dd * dd;
  const double inv = 1.0 / (dd2 + s.H2Q);
  const double l = s.CL * inv;
  const double g = s.CG * (gauss >= 0 ? gauss : std::exp(-s.KG * dd2));
  const double eta = s.Mix;
  if constexpr (Partials) {
    ddd = eta * (-2.0 * dd * l * inv) + (1 - eta) * g * (-2.0 * s.KG * dd);
    dh = eta * l * (s.InvH - 0.5 * s.H * inv) + (1 - eta) * g * s.InvH * (2.0 * s.KG * dd2 - 1.0);
    dm = l - g;
  }
  return eta * l + (1 - eta) * g;
}

// exp(-KG dd^2) of every sub-peak along a grid of constant step, by
// g(i + 1) = g(i) r(i), r(i + 1) = r(i) c: two products a point instead of
// an exponential. Points that sit off the grid by eps (x stored in single
// precision) take the factor exp(-KG eps (2 dd - eps)) by its series, where
// that is tiny. Not used where the factors could leave the double range.
struct TGaussWalk {
  int Count = 0;
  double G[TShortList::Capacity] = {}, R[TShortList::Capacity] = {};
  double C = 1;

  bool Start(const TSpread& s, double first, double last, double step, double maxEps) {
    if (!(step > 0) || s.Kind != TPeakShape::pkPseudoVoigt) return false;
    const int count = s.Sub > 0 ? s.Sub : 1;
    for (int j = 0; j < count; ++j) {
      const double o = s.Sub > 0 ? s.Off[j] : 0.0;
      const double d0 = first - o, d1 = last - o;
      const double far = std::max(std::fabs(d0), std::fabs(d1));
      if (s.KG * far * far > 600 || s.KG * (2 * std::fabs(d0) * step + step * step) > 600) return false;
      if (s.KG * maxEps * (2 * far + maxEps) > 1e-2) return false;
      G[j] = std::exp(-s.KG * d0 * d0);
      R[j] = std::exp(-s.KG * (2 * d0 * step + step * step));
    }
    C = std::exp(-2 * s.KG * step * step);
    Count = count;
    return true;
  }
  double Next(int j) {
    const double g = G[j];
    G[j] *= R[j];
    R[j] *= C;
    return g;
  }
};

// A histogram's points as x0 + i step + eps(i), |eps| <= MaxEps; Step 0 when
// they are not that close to a constant step.
struct TGrid {
  double X0 = 0, Step = 0, MaxEps = 0;
};

// The first point at or above v, and the first above v (from `from` on):
// on a constant step from the grid's guess, else by bisection.
std::size_t FirstAtOrAbove(const double* x, std::size_t n, const TGrid& grid, double v) {
  if (grid.Step > 0 && std::isfinite(v)) {
    const double guess = std::ceil((v - grid.X0) / grid.Step);
    std::size_t i = guess <= 0 ? 0 : (guess >= double(n) ? n : static_cast<std::size_t>(guess));
    while (i > 0 && x[i - 1] >= v) --i;
    while (i < n && x[i] < v) ++i;
    return i;
  }
  return static_cast<std::size_t>(std::lower_bound(x, x + n, v) - x);
}
std::size_t FirstAbove(const double* x, std::size_t n, const TGrid& grid, double v, std::size_t from) {
  if (grid.Step > 0 && std::isfinite(v)) {
    const double guess = std::floor((v - grid.X0) / grid.Step) + 1;
    std::size_t i = guess <= double(from) ? from : (guess >= double(n) ? n : static_cast<std::size_t>(guess));
    while (i > from && x[i - 1] > v) --i;
    while (i < n && x[i] <= v) ++i;
    return i;
  }
  return static_cast<std::size_t>(std::upper_bound(x + from, x + n, v) - x);
}

// Spreads a peak over the points i0 .. i1 - 1 (inside its reach): calls
// sink(i, part) with part[0] the windowed profile and, with Partials,
// part[1 .. 4] its derivatives with respect to P, H, Mix and Asym. step is
// the grid's constant step, 0 when it has none.
template <bool Partials, class TSink>
void SpreadPeak(const TSpread& s, const double* x, std::size_t i0, std::size_t i1, const TGrid& grid, double fwhms,
                TSink&& sink) {
  const double step = grid.Step;
  TGaussWalk walk;
  const bool walking = i1 > i0 && walk.Start(s, grid.X0 + double(i0) * step - s.P, grid.X0 + double(i1 - 1) * step - s.P,
                                             step, grid.MaxEps);
  // The taper's angle moves by a constant amount a point on a constant
  // step: its cosine and sine by rotation.
  int zone = 0;
  double tc = 1, ts = 0, rc = 1, rs = 0;
  double part[5] = {};
  for (std::size_t i = i0; i < i1; ++i) {
    const double delta = x[i] - s.P;
    const double eps = step > 0 ? x[i] - (grid.X0 + double(i) * step) : 0.0;
    double gauss[TShortList::Capacity];
    if (walking) {
      for (int j = 0; j < walk.Count; ++j) {
        gauss[j] = walk.Next(j);
        if (eps != 0) {
          const double a = s.KG * eps * (2 * (delta - (s.Sub > 0 ? s.Off[j] : 0.0)) - eps);
          gauss[j] *= 1 - a * (1 - a * (0.5 - a / 6));
        }
      }
    }
    const double reach = delta < 0 ? s.Low : s.High;
    const double u = std::fabs(delta) / reach;
    if (!(reach > 0) || u >= 1) {
      part[0] = part[1] = part[2] = part[3] = part[4] = 0;
      sink(i, part);
      zone = 0;
      continue;
    }
    double taper = 1, dTaper = 0;
    if (u > 0.75) {
      // The angle on the grid point (eps taken out), rotated on from the last
      // point in the same zone, then moved to the point itself.
      const int z = delta < 0 ? -1 : 1;
      if (z == zone) {
        const double c = tc * rc - ts * rs;
        ts = ts * rc + tc * rs;
        tc = c;
      } else {
        const double a = (z * (delta - eps) / reach - 0.75) / 0.25 * Pi / 2;
        tc = std::cos(a);
        ts = std::sin(a);
        const double da = z * 2 * Pi * step / reach;
        rc = std::cos(da);
        rs = std::sin(da);
        zone = step > 0 ? z : 0;
      }
      double c = tc, sn = ts;
      if (eps != 0) {
        const double da = z * 2 * Pi * eps / reach;
        const double cd = 1 - 0.5 * da * da, sd = da * (1 - da * da / 6);
        c = tc * cd - ts * sd;
        sn = ts * cd + tc * sd;
      }
      taper = c * c;
      if constexpr (Partials) dTaper = -2.0 * c * sn * (Pi / 2 / 0.25);
    } else {
      zone = 0;
    }
    if (s.Kind == TPeakShape::pkTof) {
      part[0] = taper * s.Shape.Value(delta);
      part[1] = part[2] = part[3] = part[4] = 0;
      sink(i, part);
      continue;
    }
    double v = 0, dDelta = 0, dH = 0, dM = 0, dS = 0;
    if (s.Sub > 0 && s.Kind == TPeakShape::pkPseudoVoigt) {
      // Shifted pseudo-Voigts: sums over the sub-peaks first, then the
      // partials from them (the same terms as BaseAt's, gathered).
      double sl = 0, sg = 0, sli = 0, sld = 0, sgd = 0, sgd2 = 0, sldz = 0, sgdz = 0;
      for (int j = 0; j < s.Sub; ++j) {
        const double dd = delta - s.Off[j];
        const double dd2 = dd * dd;
        const double inv = 1.0 / (dd2 + s.H2Q);
        const double wl = s.W[j] * s.CL * inv;
        const double wg = s.W[j] * s.CG * (walking ? gauss[j] : std::exp(-s.KG * dd2));
        sl += wl;
        sg += wg;
        if constexpr (Partials) {
          const double t = wl * inv, td = t * dd, gd = wg * dd;
          sli += t;
          sld += td;
          sgd += gd;
          sgd2 += gd * dd;
          sldz += td * s.Z2[j];
          sgdz += gd * s.Z2[j];
        }
      }
      const double eta = s.Mix;
      v = eta * sl + (1 - eta) * sg;
      if constexpr (Partials) {
        dDelta = -2.0 * (eta * sld + (1 - eta) * s.KG * sgd);
        dH = eta * (s.InvH * sl - 0.5 * s.H * sli) + (1 - eta) * s.InvH * (2.0 * s.KG * sgd2 - sg);
        dM = sl - sg;
        dS = -2.0 * (eta * sldz + (1 - eta) * s.KG * sgdz);
      }
    } else if (s.Sub > 0) {
      for (int j = 0; j < s.Sub; ++j) {
        double a = 0, b = 0, c = 0;
        const double base = BaseAt<Partials>(s, delta - s.Off[j], walking ? gauss[j] : -1.0, a, b, c);
        v += s.W[j] * base;
        if constexpr (Partials) {
          dDelta += s.W[j] * a;
          dH += s.W[j] * b;
          dM += s.W[j] * c;
          dS += s.W[j] * a * s.Z2[j];  // the offset -S z^2 moves with S
        }
      }
    } else {
      v = BaseAt<Partials>(s, delta, walking ? gauss[0] : -1.0, dDelta, dH, dM);
      if (s.Asymmetry == akRietveld) {
        const double sign = delta > 0 ? 1.0 : (delta < 0 ? -1.0 : 0.0);
        const double f = 1.0 - s.R * sign * delta * delta;
        if (f <= 0) {
          v = dDelta = dH = dM = 0;
        } else {
          if constexpr (Partials) {
            dDelta = dDelta * f + v * (-2.0 * s.R * std::fabs(delta));
            dH *= f;
            dM *= f;
            dS = -v * sign * delta * delta;
          }
          v *= f;
        }
      }
    }
    part[0] = taper * v;
    if constexpr (Partials) {
      // The window's edge moves with the width (and Howard's shift).
      const double sign = delta < 0 ? -1.0 : 1.0;
      const double dTaperDReach = -dTaper * u / reach;
      part[1] = -(taper * dDelta + dTaper * sign / reach * v);
      part[2] = taper * dH + dTaperDReach * fwhms * v;
      part[3] = taper * dM;
      part[4] = taper * dS + dTaperDReach * (delta < 0 ? s.DLowDS : s.DHighDS) * v;
    }
    sink(i, part);
  }
}

// Four doubles at once (the compiler's vector extension; without wide
// registers it works in pairs).
using TV4 = double __attribute__((vector_size(32)));
[[gnu::always_inline]] inline TV4 Load4(const double* p) {
  TV4 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
[[gnu::always_inline]] inline void Store4(double* p, TV4 v) { std::memcpy(p, &v, sizeof v); }

// sin(b) / b and cos(b) for |b| <= pi / 2 from b^2, by their series (the
// first term left out is below 2e-17), for doubles and four at once.
template <class T>
[[gnu::always_inline]] inline T SinSeries(T b2) {
  T r = b2 * (1.0 / 51090942171709440000.0) - 1.0 / 121645100408832000.0;
  r = r * b2 + 1.0 / 355687428096000.0;
  r = r * b2 - 1.0 / 1307674368000.0;
  r = r * b2 + 1.0 / 6227020800.0;
  r = r * b2 - 1.0 / 39916800.0;
  r = r * b2 + 1.0 / 362880.0;
  r = r * b2 - 1.0 / 5040.0;
  r = r * b2 + 1.0 / 120.0;
  r = r * b2 - 1.0 / 6.0;
  return r * b2 + 1.0;
}
template <class T>
[[gnu::always_inline]] inline T CosSeries(T b2) {
  T r = b2 * (1.0 / 2432902008176640000.0) - 1.0 / 6402373705728000.0;
  r = r * b2 + 1.0 / 20922789888000.0;
  r = r * b2 - 1.0 / 87178291200.0;
  r = r * b2 + 1.0 / 479001600.0;
  r = r * b2 - 1.0 / 3628800.0;
  r = r * b2 + 1.0 / 40320.0;
  r = r * b2 - 1.0 / 720.0;
  r = r * b2 + 1.0 / 24.0;
  r = r * b2 - 1.0 / 2.0;
  return r * b2 + 1.0;
}
// v where u < 1, 0 beyond the reach.
[[gnu::always_inline]] inline double Inside(double u, double v) { return u < 1 ? v : 0.0; }
[[gnu::always_inline]] inline TV4 Inside(TV4 u, TV4 v) { return u < 1.0 ? v : TV4{0, 0, 0, 0}; }

// Beyond exp(-50) of its height a Gaussian sub-peak adds nothing a double
// can show next to the Lorentzian part of the same profile.
constexpr double GaussCut = 50.0;

// The windowed profile of one peak and, with partials, its derivatives
// with respect to P, H, Mix and Asym at the points i0 .. i1 - 1 (index k for
// point i0 + k), as SpreadPeak gives them; the buffers are reused from peak
// to peak.
struct TPeakParts {
  std::size_t Count = 0;
  std::vector<double> Part[7];  // 5 and 6: the Finger-Cox-Jephcoat H/L and 2theta
  std::vector<double> Delta, Eps, SL, SG;  // SL, SG: the value's Lorentzian and Gaussian sums
  void Size(std::size_t m, bool partials) {
    const std::size_t padded = ((m + 3) / 4) * 4;
    Count = m;
    if (Delta.size() >= padded && (!partials || Part[1].size() >= padded)) return;
    const std::size_t room = std::max(padded, 2 * Delta.size());
    for (auto* v : {&Delta, &Eps, &SL, &SG, &Part[0]}) v->resize(room);
    if (partials)
      for (int q = 1; q < 7; ++q) Part[q].resize(room);
  }
};

// Pseudo-Voigt peaks, the sub-peaks summed over the points four at a time.
template <bool Partials>
[[gnu::always_inline]] inline void PseudoVoigtKernel(const TSpread& s, const double* x, std::size_t i0, std::size_t i1, const TGrid& grid,
                      double fwhms, TPeakParts& out) {
  const std::size_t m = i1 - i0;
  out.Size(m, Partials);
  if (m == 0) return;
  const std::size_t padded = ((m + 3) / 4) * 4;
  const double step = grid.Step;
  double* delta = out.Delta.data();
  double* eps = out.Eps.data();
  for (std::size_t k = 0; k < m; ++k) {
    delta[k] = x[i0 + k] - s.P;
    eps[k] = step > 0 ? x[i0 + k] - (grid.X0 + double(i0 + k) * step) : 0.0;
  }
  for (std::size_t k = m; k < padded; ++k) {
    delta[k] = delta[m - 1];
    eps[k] = 0;
  }
  const int subs = s.Sub > 0 ? s.Sub : 1;
  const bool howard = s.Sub > 0 && s.Asymmetry == akHoward;
  const bool fcj = Partials && s.Sub > 0 && s.Asymmetry == akFcj;
  double off[TShortList::Capacity], wcl[TShortList::Capacity], wcg[TShortList::Capacity], z2[TShortList::Capacity];
  double spread = 0;
  // Finger-Cox-Jephcoat: a sub-peak's value W b(dd) moves along direction q
  // by RW_q W b(dd) + DOff_q 2 W (eta CL dd inv^2 + (1 - eta) CG KG dd g):
  // per sub-peak the factors of its Lorentzian and Gaussian terms.
  double fa[3][TShortList::Capacity], fb[3][TShortList::Capacity], ga[3][TShortList::Capacity],
      gb[3][TShortList::Capacity];
  if (fcj)
    for (int q = 0; q < 3; ++q)
      for (int j = 0; j < subs; ++j) {
        fa[q][j] = s.Mix * s.RW[q][j];
        fb[q][j] = 2.0 * s.Mix * s.DOff[q][j];
        ga[q][j] = (1 - s.Mix) * s.RW[q][j];
        gb[q][j] = 2.0 * (1 - s.Mix) * s.KG * s.DOff[q][j];
      }
  for (int j = 0; j < subs; ++j) {
    off[j] = s.Sub > 0 ? s.Off[j] : 0.0;
    const double w = s.Sub > 0 ? s.W[j] : 1.0;
    wcl[j] = w * s.CL;
    wcg[j] = w * s.CG;
    z2[j] = s.Sub > 0 ? s.Z2[j] : 0.0;
    spread = std::max(spread, std::fabs(off[j]));
  }
  // With several sub-peaks, one division serves all their Lorentzian parts
  // (1 / A_j = the product of the other A's / the product of all) where the
  // products stay well inside the double range.
  const double far = std::max(std::fabs(delta[0]), std::fabs(delta[m - 1])) + spread;
  const double aMax = far * far + s.H2Q;
  const bool combined = subs > 1 && subs * std::log10(s.H2Q) > -280 && subs * std::log10(aMax) < 280;
  // Gaussian parts where they show: over the points where any sub-peak is
  // above exp(-GaussCut) of its height.
  const double rc = std::sqrt(GaussCut / s.KG);
  std::size_t ka = m, kb = 0;
  for (int j = 0; j < subs; ++j) {
    const std::size_t a = static_cast<std::size_t>(std::lower_bound(delta, delta + m, off[j] - rc) - delta);
    const std::size_t b = static_cast<std::size_t>(std::upper_bound(delta + a, delta + m, off[j] + rc) - delta);
    if (a >= b) continue;
    ka = std::min(ka, a);
    kb = std::max(kb, b);
  }
  // exp(-KG dd^2) along the grid four points apart, by g(k + 4) = g(k) R(k),
  // R(k + 4) = R(k) c^16; points off the grid by eps take the factor
  // exp(-KG eps (2 dd - eps)) by its series. Used only where nothing can
  // leave the double range and the series is exact enough.
  bool walking = false;
  TV4 G[TShortList::Capacity], R[TShortList::Capacity];
  double c16 = 1;
  if (ka < kb) {
    ka &= ~std::size_t(3);
    const double d0 = grid.X0 + double(i0 + ka) * step - s.P;
    const double reach = std::max(std::fabs(d0), std::fabs(delta[kb - 1]) + 4 * step) + spread;
    walking = step > 0 && s.KG * reach * reach <= 600 && s.KG * (8 * reach * step + 16 * step * step) <= 600 &&
              s.KG * grid.MaxEps * (2 * reach + grid.MaxEps) <= 1e-2;
    if (walking) {
      const double c1 = std::exp(-2 * s.KG * step * step);  // the ratio of ratios for one step
      c16 = c1 * c1;
      c16 *= c16;
      c16 *= c16;
      c16 *= c16;
      for (int j = 0; j < subs; ++j) {
        const double dj = d0 - off[j];
        double r[7];
        r[0] = std::exp(-s.KG * (2 * dj * step + step * step));
        for (int q = 1; q < 7; ++q) r[q] = r[q - 1] * c1;
        double gl = std::exp(-s.KG * dj * dj);
        for (int q = 0; q < 4; ++q) {
          G[j][q] = gl;
          gl *= r[q];
          R[j][q] = r[q] * r[q + 1] * r[q + 2] * r[q + 3];
        }
      }
    }
  }
  // The Lorentzian and Gaussian sums over the sub-peaks at four points.
  struct TFcjSums {
    TV4 Q[3] = {};  // the partials along the three directions
  };
  auto lorentzian = [&](TV4 d, TV4& l, TV4& li, TV4& ld, TV4& ldz, TFcjSums& fl) __attribute__((always_inline)) {
    auto add = [&](int j, TV4 dd, TV4 inv) __attribute__((always_inline)) {
      const TV4 wl = wcl[j] * inv;
      l += wl;
      if constexpr (Partials) {
        const TV4 t = wl * inv, td = t * dd;
        li += t;
        ld += td;
        if (howard) ldz += td * z2[j];
        if (fcj)
          for (int q = 0; q < 3; ++q) fl.Q[q] += fa[q][j] * wl + fb[q][j] * td;
      }
    };
    if (combined) {
      TV4 A[TShortList::Capacity], before[TShortList::Capacity];
      TV4 product = {1, 1, 1, 1};
      for (int j = 0; j < subs; ++j) {
        const TV4 dd = d - off[j];
        A[j] = dd * dd + s.H2Q;
        before[j] = product;
        product *= A[j];
      }
      TV4 after = 1.0 / product;
      for (int j = subs - 1; j >= 0; --j) {
        const TV4 inv = before[j] * after;
        after *= A[j];
        add(j, d - off[j], inv);
      }
    } else {
      for (int j = 0; j < subs; ++j) {
        const TV4 dd = d - off[j];
        add(j, dd, 1.0 / (dd * dd + s.H2Q));
      }
    }
  };
  auto gaussian = [&](TV4 d, TV4 e, TV4& gs, TV4& gd1, TV4& gd2, TV4& gdz, TFcjSums& fg) __attribute__((always_inline)) {
    for (int j = 0; j < subs; ++j) {
      const TV4 dd = d - off[j];
      TV4 g;
      if (walking) {
        g = G[j];
        G[j] *= R[j];
        R[j] *= c16;
        const TV4 a = s.KG * e * (2.0 * dd - e);
        g *= 1.0 - a * (1.0 - a * (0.5 - a / 6.0));
      } else {
        for (int q = 0; q < 4; ++q) g[q] = std::exp(-s.KG * dd[q] * dd[q]);
      }
      const TV4 wg = wcg[j] * g;
      gs += wg;
      if constexpr (Partials) {
        const TV4 gd = wg * dd;
        gd1 += gd;
        gd2 += gd * dd;
        if (howard) gdz += gd * z2[j];
        if (fcj)
          for (int q = 0; q < 3; ++q) fg.Q[q] += ga[q][j] * wg + gb[q][j] * gd;
      }
    }
  };
  // The profile and its partials, as if no taper applied.
  const double eta = s.Mix;
  double* p0 = out.Part[0].data();
  if constexpr (Partials) {
    // One pass: the eight sums of four points stay in registers.
    for (std::size_t k = 0; k < padded; k += 4) {
      const TV4 d = Load4(delta + k);
      TV4 l = {}, li = {}, ld = {}, ldz = {}, gs = {}, gd1 = {}, gd2 = {}, gdz = {};
      TFcjSums f;
      lorentzian(d, l, li, ld, ldz, f);
      if (k >= ka && k < kb) gaussian(d, Load4(eps + k), gs, gd1, gd2, gdz, f);
      Store4(p0 + k, eta * l + (1 - eta) * gs);
      Store4(out.Part[1].data() + k, 2.0 * (eta * ld + (1 - eta) * s.KG * gd1));
      Store4(out.Part[2].data() + k, eta * (s.InvH * l - 0.5 * s.H * li) + (1 - eta) * s.InvH * (2.0 * s.KG * gd2 - gs));
      Store4(out.Part[3].data() + k, l - gs);
      if (fcj) {
        for (int q = 0; q < 3; ++q) Store4(out.Part[4 + q].data() + k, f.Q[q]);
      } else {
        Store4(out.Part[4].data() + k, howard ? -2.0 * (eta * ldz + (1 - eta) * s.KG * gdz) : TV4{0, 0, 0, 0});
      }
    }
  } else {
    // The value alone: each kind of sum in a loop of its own is quicker.
    double* sl = out.SL.data();
    double* sg = out.SG.data();
    TFcjSums none;
    for (std::size_t k = 0; k < padded; k += 4) {
      TV4 l = {}, unused = {};
      lorentzian(Load4(delta + k), l, unused, unused, unused, none);
      Store4(sl + k, l);
    }
    std::fill(sg, sg + padded, 0.0);
    for (std::size_t k = ka; k < kb; k += 4) {
      TV4 gs = {}, unused = {};
      gaussian(Load4(delta + k), Load4(eps + k), gs, unused, unused, unused, none);
      Store4(sg + k, gs);
    }
    for (std::size_t k = 0; k < padded; k += 4) Store4(p0 + k, eta * Load4(sl + k) + (1 - eta) * Load4(sg + k));
  }
  // Rietveld's asymmetry factor.
  if (s.Sub == 0 && s.Asymmetry == akRietveld) {
    for (std::size_t k = 0; k < m; ++k) {
      const double d = delta[k];
      const double sign = d > 0 ? 1.0 : (d < 0 ? -1.0 : 0.0);
      const double f = 1.0 - s.R * sign * d * d;
      if (f <= 0) {
        p0[k] = 0;
        if constexpr (Partials) out.Part[1][k] = out.Part[2][k] = out.Part[3][k] = out.Part[4][k] = 0;
        continue;
      }
      if constexpr (Partials) {
        const double v = p0[k];
        // Part[1] holds -dDelta.
        out.Part[1][k] = out.Part[1][k] * f - v * (-2.0 * s.R * std::fabs(d));
        out.Part[2][k] *= f;
        out.Part[3][k] *= f;
        out.Part[4][k] = -v * sign * d * d;
      }
      p0[k] *= f;
    }
  }
  // The taper over the last quarter of the reach on each side (and 0 beyond).
  const std::size_t ma = static_cast<std::size_t>(std::lower_bound(delta, delta + m, -0.75 * s.Low) - delta);
  const std::size_t mb = static_cast<std::size_t>(std::upper_bound(delta + ma, delta + m, 0.75 * s.High) - delta);
  // The reach moves with Howard's S, or with the three FCJ values (channels 4 .. 6).
  const int channels = fcj ? 6 : 4;
  auto zone = [&](std::size_t from, std::size_t to, double reach, double sign, const double* dReach) __attribute__((always_inline)) {
    const double perReach = 1.0 / reach;
    auto apply = [&](auto d, auto& p0v, auto* partial) __attribute__((always_inline)) {
      // taper = cos^2 a, a = (u - 0.75) / 0.25 pi / 2, through b = 2a - pi / 2.
      const auto u = sign * d * perReach;
      const auto b = u * (4 * Pi) - 3.5 * Pi;
      const auto b2 = b * b;
      const auto v = p0v;
      auto sinB = b * SinSeries(b2);
      auto taper = 0.5 * (1.0 - sinB);
      p0v = Inside(u, taper) * v;
      if constexpr (Partials) {
        const auto dTaper = Inside(u, -2 * Pi * CosSeries(b2));
        const auto t = Inside(u, taper);
        const auto dTaperDReach = -dTaper * u * perReach;
        partial[0] = t * partial[0] - dTaper * sign * perReach * v;
        partial[1] = t * partial[1] + dTaperDReach * fwhms * v;
        partial[2] = t * partial[2];
        for (int q = 3; q < channels; ++q) partial[q] = t * partial[q] + dTaperDReach * dReach[q - 3] * v;
      }
    };
    std::size_t k = from;
    for (; k + 4 <= to; k += 4) {
      TV4 p0v = Load4(p0 + k), partial[6];
      if constexpr (Partials)
        for (int q = 0; q < channels; ++q) partial[q] = Load4(out.Part[q + 1].data() + k);
      apply(Load4(delta + k), p0v, partial);
      Store4(p0 + k, p0v);
      if constexpr (Partials)
        for (int q = 0; q < channels; ++q) Store4(out.Part[q + 1].data() + k, partial[q]);
    }
    for (; k < to; ++k) {
      double partial[6] = {};
      if constexpr (Partials)
        for (int q = 0; q < channels; ++q) partial[q] = out.Part[q + 1][k];
      apply(delta[k], p0[k], partial);
      if constexpr (Partials)
        for (int q = 0; q < channels; ++q) out.Part[q + 1][k] = partial[q];
    }
  };
  const double lowReach[3] = {fcj ? s.DLow[0] : s.DLowDS, s.DLow[1], s.DLow[2]};
  const double highReach[3] = {fcj ? s.DHigh[0] : s.DHighDS, s.DHigh[1], s.DHigh[2]};
  zone(0, ma, s.Low, -1.0, lowReach);
  zone(mb, m, s.High, 1.0, highReach);
}

// The kernel built twice, for the wide registers (and fused multiply-adds)
// where the processor has them; the two agree to rounding.
[[gnu::target_clones("arch=x86-64-v3", "default")]] void PseudoVoigtParts(const TSpread& s, const double* x, std::size_t i0,
                                                                      std::size_t i1, const TGrid& grid, double fwhms,
                                                                      TPeakParts& out) {
  PseudoVoigtKernel<false>(s, x, i0, i1, grid, fwhms, out);
}
[[gnu::target_clones("arch=x86-64-v3", "default")]] void PseudoVoigtPartials(const TSpread& s, const double* x,
                                                                         std::size_t i0, std::size_t i1,
                                                                         const TGrid& grid, double fwhms,
                                                                         TPeakParts& out) {
  PseudoVoigtKernel<true>(s, x, i0, i1, grid, fwhms, out);
}

// Any peak's parts: pseudo-Voigts by the kernel above, the other shapes
// point by point.
template <bool Partials>
void PeakParts(const TSpread& s, const double* x, std::size_t i0, std::size_t i1, const TGrid& grid, double fwhms,
               TPeakParts& out) {
  if (s.Kind == TPeakShape::pkPseudoVoigt) {
    if constexpr (Partials)
      PseudoVoigtPartials(s, x, i0, i1, grid, fwhms, out);
    else
      PseudoVoigtParts(s, x, i0, i1, grid, fwhms, out);
    return;
  }
  out.Size(i1 - i0, Partials);
  SpreadPeak<Partials>(s, x, i0, i1, grid, fwhms, [&](std::size_t i, const double* part) {
    for (int q = 0; q < (Partials ? 5 : 1); ++q) out.Part[q][i - i0] = part[q];
    if constexpr (Partials) out.Part[5][i - i0] = out.Part[6][i - i0] = 0;
  });
}

}  // namespace

// ---------------------------------------------------------------------------
// Derivatives

namespace {

constexpr int DualSlots = 16;
constexpr std::size_t MaxBatches = (inCount + 1 + DualSlots - 1) / DualSlots;
using TDualValue = TDual<DualSlots>;

// Inputs whose change only scales the peaks.
bool IntensityOnly(int input) {
  switch (input) {
    case inHistScale: case inPhaseScale: case inAbsorption: case inPO: case inExtinction: case inPore: case inRough:
      return true;
    default:
      return false;
  }
}

// How a structure-factor value enters |F|^2.
enum TSfKind { sfAtom, sfIso, sfFPrime, sfFDoublePrime };
struct TSfUse {
  int Kind = sfAtom;
  int Atom = 0;  // 0-based
  int Type = 0;  // atom value 1 .. 11
  const TScatterFactor* Entry = nullptr;
  int Column = 0;
  double Multiplier = 1;
};

struct TInputUse {
  int Input = 0;
  int Column = 0;
  double Multiplier = 1;
  int Slot = 0;  // in the derivative slots of the view
};

// The coefficients of one column for one peak: d y / d column =
// C . (profile, d/dP, d/dH, d/dMix, d/dAsym, d/d(FCJ H/L), d/d(FCJ 2theta))
// at every point. A column that moves one channel only keeps its
// coefficient in C[0].
constexpr int Channels = 7;
struct TColumnCoef {
  int Column = 0;
  double C[Channels] = {};
};

// Adds one peak's share to the derivative columns (column-major, n points
// a column): lists[q] .. lists[q + 1] move with part q alone, lists[7] ..
// lists[8] with several.
[[gnu::target_clones("arch=x86-64-v3", "default")]] void AddColumns(double* derivatives, std::size_t n, std::size_t i0,
                                                                std::size_t m, const TColumnCoef* const lists[Channels + 2],
                                                                const TPeakParts& parts) {
  for (int q = 0; q < Channels; ++q) {
    const double* p = parts.Part[q].data();
    for (const TColumnCoef* cc = lists[q]; cc != lists[q + 1]; ++cc) {
      double* d = derivatives + static_cast<std::size_t>(cc->Column) * n + i0;
      const double c = cc->C[0];
      for (std::size_t k = 0; k < m; ++k) d[k] += c * p[k];
    }
  }
  const double *p0 = parts.Part[0].data(), *p1 = parts.Part[1].data(), *p2 = parts.Part[2].data(),
               *p3 = parts.Part[3].data(), *p4 = parts.Part[4].data();
  for (const TColumnCoef* cc = lists[Channels]; cc != lists[Channels + 1]; ++cc) {
    double* d = derivatives + static_cast<std::size_t>(cc->Column) * n + i0;
    const double c0 = cc->C[0], c1 = cc->C[1], c2 = cc->C[2], c3 = cc->C[3], c4 = cc->C[4];
    for (std::size_t k = 0; k < m; ++k) d[k] += c0 * p0[k] + c1 * p1[k] + c2 * p2[k] + c3 * p3[k] + c4 * p4[k];
    for (int q = 5; q < Channels; ++q) {
      const double c = cc->C[q];
      if (c == 0) continue;
      const double* p = parts.Part[q].data();
      for (std::size_t k = 0; k < m; ++k) d[k] += c * p[k];
    }
  }
}

// The peaks with their derivatives, everything they call built into one
// function, twice (wide registers where the processor has them).
[[gnu::target_clones("arch=x86-64-v3", "default"), gnu::flatten]] int DualPeaks(const TPeakContext& c,
                                                                             const TViewValues<TDualValue>& v,
                                                                             const TReflection& r, std::size_t index,
                                                                             double dF2ds, int f2Slot,
                                                                             TPeakOf<TDualValue> out[2]) {
  return PeaksOf(c, v, r, index, dF2ds, f2Slot, out);
}

bool ViewContext(const TRietveld& model, int h, const TPhaseView& view, TPeakContext& c, TViewValues<double>& v) {
  const THistogram* hist = model.Histogram(h);
  const TSample* s = model.FindSample(h, view.Phase);
  const TPhase* phase = model.Phase(view.Phase);
  if (hist == nullptr || s == nullptr || phase == nullptr) return false;
  c.Hist = hist;
  c.Sample = s;
  c.View = &view;
  c.Profile = hist->Profile;
  c.Tof = IsTof(*hist);
  c.Energy = IsEnergy(*hist);
  c.NeutronCW = IsNeutronCW(*hist);
  c.Second = hist->Ratio > 0 && hist->Wavelength2 > 0;
  c.AllEquivalents = model.IPREF != 0;
  c.AsymLimit = model.AsymLimit;
  for (int i = 0; i < inCount; ++i) v.In[static_cast<std::size_t>(i)] = InputValue(*hist, *phase, *s, i);
  SetCell(v);
  return true;
}


// d|F|^2 of every reflection of the view for each use (reflection-major),
// and, with slope, d|F|^2 / d(sin(theta)/lambda)^2 at the current values.
void StructureFactorDerivatives(const TPattern& pattern, const TPhase& phase, const TPhaseView& view,
                                const std::vector<TSfUse>& uses, bool slope, std::vector<double>& dF2,
                                std::vector<double>& dF2ds) {
  using cplx = std::complex<double>;
  const std::size_t count = view.Reflections.size();
  const std::size_t atoms = view.AtomF.size();
  dF2.assign(count * uses.size(), 0.0);
  dF2ds.assign(count, 0.0);
  if (phase.CalcMethod != 0 || atoms == 0 || view.Form.size() != atoms * count) return;
  if (view.AtomSums.size() != atoms) return;
  for (std::size_t k = 0; k < count; ++k) {
    const TReflection& r = view.Reflections[k];
    const double stol2 = 0.25 / (r.D * r.D);
    cplx plus = 0, minus = 0;
    for (std::size_t a = 0; a < atoms; ++a) {
      const double f1 = view.Form[a * count + k], f2 = view.Scatterers[a].Imaginary();
      plus += cplx(f1, f2) * view.AtomF[a][k];
      minus += cplx(f1, -f2) * view.AtomF[a][k];
    }
    for (std::size_t u = 0; u < uses.size(); ++u) {
      const TSfUse& use = uses[u];
      cplx dPlus = 0, dMinus = 0;
      switch (use.Kind) {
        case sfAtom: {
          const std::size_t a = static_cast<std::size_t>(use.Atom);
          if (a >= atoms) break;
          const TAtom& atom = *phase.Atom(use.Atom + 1);
          const auto& sums = view.AtomSums[a][k];
          const double weight = pattern.OccupancyFactor(view, use.Atom) * std::exp(-(atom.B + phase.IsoThermal) * stol2);
          cplx dG = 0;
          if (use.Type <= 3)
            dG = double(atom.N) * weight * cplx(0, 2 * Pi) * sums[static_cast<std::size_t>(use.Type - 1)];
          else if (use.Type == 4)
            dG = -stol2 * view.AtomF[a][k];
          else if (use.Type == 5)
            dG = weight * sums[9];
          else {
            const int q = use.Type - 6;
            dG = double(atom.N) * weight * (q < 3 ? -1.0 : -2.0) * sums[static_cast<std::size_t>(3 + q)];
          }
          const double f1 = view.Form[a * count + k], f2 = view.Scatterers[a].Imaginary();
          dPlus = cplx(f1, f2) * dG;
          dMinus = cplx(f1, -f2) * dG;
          break;
        }
        case sfIso:
          dPlus = -stol2 * plus;
          dMinus = -stol2 * minus;
          break;
        case sfFPrime:
        case sfFDoublePrime: {
          cplx sum = 0;
          bool neutron = false;
          for (std::size_t a = 0; a < atoms; ++a)
            if (view.Scatterers[a].Entry == use.Entry) {
              sum += view.AtomF[a][k];
              neutron = view.Scatterers[a].Neutron;
            }
          if (use.Kind == sfFPrime) {
            dPlus = dMinus = sum;
          } else if (!neutron) {
            dPlus = cplx(0, 1) * sum;
            dMinus = cplx(0, -1) * sum;
          }
          break;
        }
      }
      dF2[k * uses.size() + u] = (std::conj(plus) * dPlus).real() + (std::conj(minus) * dMinus).real();
    }
    if (slope) {
      cplx sPlus = 0, sMinus = 0;
      for (std::size_t a = 0; a < atoms; ++a) {
        const TAtom& atom = *phase.Atom(static_cast<int>(a) + 1);
        const double f1 = view.Form[a * count + k], f2 = view.Scatterers[a].Imaginary();
        const double f1s = view.Scatterers[a].RealSlope(stol2);
        const double b = atom.B + phase.IsoThermal;
        sPlus += (f1s - b * cplx(f1, f2)) * view.AtomF[a][k];
        sMinus += (f1s - b * cplx(f1, -f2)) * view.AtomF[a][k];
      }
      dF2ds[k] = (std::conj(plus) * sPlus).real() + (std::conj(minus) * sMinus).real();
    }
  }
}

}  // namespace

struct TPattern::TDerivativePlan {
  const std::vector<TDerivativeColumn>* Columns = nullptr;
  int Count = 0;
  std::vector<int> Profiled;  // per column: its place among the profile columns, -1 for none
  std::vector<int> ProfileColumns;
};

bool TPattern::HasAnalyticDerivative(int h, int p, int a, int t) const {
  if (p == ScatterPhase) return true;             // through |F|^2
  if (h == 0 && p > 0) {
    if (a > 0 || t == 2) return true;             // atoms and the overall displacement: through |F|^2
  }
  if (h > 0 && p == 0 && a == 0 && t >= 2 && t <= 25) return true;  // background
  const int input = PeakInputOf(h, p, a, t);
  const auto tof = [this](int k) { return FModel.Histogram(k) != nullptr && IsTof(*FModel.Histogram(k)); };
  if (input == inNone) {
    // Values no peak reads, except the time-of-flight exponentials.
    return !(h > 0 && p > 0 && t >= 21 && t <= 24 && tof(h));
  }
  if (IntensityOnly(input)) return true;
  // The time-of-flight profile has no closed-form derivatives here for what
  // moves or reshapes it.
  for (int k = 1; k <= HistogramCount(); ++k) {
    if (h != 0 && k != h) continue;
    if (tof(k)) return false;
  }
  return true;
}

namespace {

// A peak as the rest of the program sees it.
TPeak PublicPeak(const TPeakOf<double>& q, const TSample& s) {
  TPeak peak;
  peak.Position = q.Position;
  peak.Intensity = q.Intensity;
  TPeakShape& shape = peak.Shape;
  shape.Kind = q.Kind;
  shape.H = q.H;
  if (q.Kind == TPeakShape::pkPearson)
    shape.M = q.Mix;
  else
    shape.Eta = q.Mix;
  shape.Alpha = q.Alpha;
  shape.Beta = q.Beta;
  if (q.Asymmetry == akRietveld) {
    shape.RietAsym = q.Asym;
    shape.TanTheta = 1;
  } else if (q.Asymmetry == akHoward) {
    HowardAsymmetry(shape, s.Asym1, q.TwoTheta);
  } else if (q.Asymmetry == akFcj) {
    FcjAsymmetry(shape, s.Asym1, s.Asym2, q.TwoTheta);
  }
  return peak;
}

}  // namespace

std::vector<TPeak> TPattern::Peaks(int h, const TPhaseView& view, const TReflection& r) const {
  std::vector<TPeak> list;
  list.reserve(2);
  TPeakContext context;
  TViewValues<double> values;
  if (r.D <= 0 || !ViewContext(FModel, h, view, context, values)) return list;
  context.Group = &Group(view.Phase);
  const std::size_t index =
      &r >= view.Reflections.data() && &r < view.Reflections.data() + view.Reflections.size()
          ? static_cast<std::size_t>(&r - view.Reflections.data())
          : view.Reflections.size();
  TPeakOf<double> peaks[2];
  const int count = PeaksOf(context, values, r, index, 0.0, -1, peaks);
  for (int p = 0; p < count; ++p) list.push_back(PublicPeak(peaks[p], *context.Sample));
  return list;
}

void TPattern::PeakShapes(int h, std::vector<TPeak>& peaks) const {
  peaks.clear();
  std::size_t reflections = 0;
  for (const TPhaseView& view : Views(h)) reflections += view.Reflections.size();
  peaks.reserve(2 * reflections);  // at most one peak a wavelength
  for (const TPhaseView& view : Views(h)) {
    TPeakContext context;
    TViewValues<double> values;
    if (!ViewContext(FModel, h, view, context, values)) continue;
    context.Group = &Group(view.Phase);
    context.Intensities = false;
    for (std::size_t index = 0; index < view.Reflections.size(); ++index) {
      const TReflection& r = view.Reflections[index];
      if (r.D <= 0) continue;
      TPeakOf<double> list[2];
      const int count = PeaksOf(context, values, r, index, 0.0, -1, list);
      for (int p = 0; p < count; ++p) peaks.push_back(PublicPeak(list[p], *context.Sample));
    }
  }
}

int TPattern::CalculateDerivatives(const std::vector<TDerivativeColumn>& columns, bool profiles) {
  FDerivatives = true;
  TDerivativePlan plan;
  plan.Columns = &columns;
  plan.Count = static_cast<int>(columns.size());
  plan.Profiled.assign(columns.size(), -1);
  if (profiles)
    for (std::size_t j = 0; j < columns.size(); ++j)
      if (!columns[j].empty() && std::all_of(columns[j].begin(), columns[j].end(), [](const TDerivativeTerm& m) {
            return m.P == ScatterPhase || (m.H == 0 && m.P > 0 && (m.A > 0 || m.T == 2));
          })) {
        plan.Profiled[j] = static_cast<int>(plan.ProfileColumns.size());
        plan.ProfileColumns.push_back(static_cast<int>(j));
      }
  for (int h = 1; h <= HistogramCount(); ++h) {
    THistogramData& data = Data(h);
    data.DerivativeColumns = plan.Count;
    data.Derivatives.assign(data.X.size() * columns.size(), 0.0);
    data.ProfileColumns = plan.ProfileColumns;
    data.Profiles.clear();
    data.ProfileValues.clear();
    data.ProfileCoefs.clear();
    if (int e = CalculateHistogram(h, &plan); e != zeNone) return e;
  }
  return zeNone;
}

int TPattern::Calculate(int h) {
  for (int k = (h == 0 ? 1 : h); k <= (h == 0 ? HistogramCount() : h); ++k)
    if (int e = CalculateHistogram(k, nullptr); e != zeNone) return e;
  return zeNone;
}

int TPattern::CalculateHistogram(int k, const TDerivativePlan* plan) {
  ++FGeneration;
  const THistogram& hist = *FModel.Histogram(k);
  THistogramData& data = Data(k);
  const std::size_t n = data.X.size();
  if (n == 0) return zeNone;
  // Every time-of-flight shape value is varied by steps inside a cycle, and
  // a step of a small alpha or beta stretches every peak over the pattern.
  if (IsTof(hist)) {
    std::string problem;
    if (int e = CheckProfileWork(*this, problem, k); e != zeNone) return e;
  }
  const int columns = plan != nullptr ? plan->Count : 0;
  double* derivatives = plan != nullptr ? data.Derivatives.data() : nullptr;

  // Background.
  TBackgroundRange range;
  range.XMin = std::min(hist.Start, hist.Stop);
  range.XMax = std::max(hist.Start, hist.Stop);
  if (!(range.XMax > range.XMin)) {
    range.XMin = data.X.front();
    range.XMax = data.X.back();
  }
  range.Terms = 6 * (FModel.BackTerms + 1);
  const bool tabulated = hist.Background.Kind == bkDataFile || hist.Background.Kind == bkAutoSmoothed;
  const bool needsQ = hist.Background.Kind == bkAmorphous || hist.Background.Kind == bkDampedAmorphous;
  int error = beNone;
  for (std::size_t i = 0; i < n; ++i) {
    double b = tabulated ? data.TabulatedBackground[i] : 0.0;
    if (!tabulated) b = BackgroundValue(hist, range, data.X[i], needsQ ? ScatteringVector(k, data.X[i]) : 0.0, error);
    data.Background[i] = b;
  }
  if (error == beAmorphousZero) return zeAmorphousBackground;
  if (error == beInterpolation) return zeInterpolatedBackground;
  std::copy(data.Background.begin(), data.Background.end(), data.Calculated.begin());
  if (plan != nullptr && !tabulated) {
    struct TUse {
      int Column, Term;
      double Multiplier;
    };
    std::vector<TUse> uses;
    int count = 0;
    for (int j = 0; j < columns; ++j)
      for (const TDerivativeTerm& m : (*plan->Columns)[static_cast<std::size_t>(j)]) {
        if (m.H != k || m.P != 0 || m.A != 0 || m.T < 2 || m.T > 25) continue;
        uses.push_back({j, m.T - 2, m.Multiplier});
        count = std::max(count, m.T - 1);
      }
    // Every term at a point from one run of the recurrence.
    double basis[24];
    for (std::size_t i = 0; i < n && !uses.empty(); ++i) {
      BackgroundDerivatives(hist, range, data.X[i], needsQ ? ScatteringVector(k, data.X[i]) : 0.0, count, basis);
      for (const TUse& u : uses) derivatives[static_cast<std::size_t>(u.Column) * n + i] += u.Multiplier * basis[u.Term];
    }
  }

  // Peaks.
  const double fwhms = hist.BaseWidth > 0 ? hist.BaseWidth : 7.0;
  TGrid grid;
  grid.X0 = data.X.front();
  grid.Step = data.Step;
  grid.MaxEps = data.StepDeviation;
  const double* x = data.X.data();
  double* y = data.Calculated.data();
  std::vector<TInputUse> inputUses;
  std::vector<TSfUse> sfUses;
  std::vector<int> slotInput;  // input of each derivative slot (inF2 for |F|^2)
  std::vector<TViewValues<TDualValue>> batches;
  std::vector<double> dF2, dF2ds;
  std::vector<TColumnCoef> coefs;
  std::vector<int> touchedList;
  TPeakOf<TDualValue> dual[2][MaxBatches];
  std::vector<double> dense;
  std::vector<char> touched;
  std::vector<int> kinds;  // per column: the one channel it moves, Channels for several, -1 none
  TPeakParts parts, profile;  // one peak; a reflection's summed profile
  if (plan != nullptr) {
    dense.assign(static_cast<std::size_t>(columns) * Channels, 0.0);
    touched.assign(static_cast<std::size_t>(columns), 0);
    kinds.assign(static_cast<std::size_t>(columns), -1);
    coefs.assign(static_cast<std::size_t>(columns), TColumnCoef());
  }
  for (TPhaseView& view : Views(k)) {
    const TPhase& phase = *FModel.Phase(view.Phase);
    if (FModel.IPREF != 0 && view.Equivalents.size() != view.Reflections.size()) {
      view.Equivalents.clear();
      for (const TReflection& r : view.Reflections) view.Equivalents.push_back(Group(view.Phase).EquivalentIndices(r.Hkl));
    }
    UpdateStructureFactors(k, view);
    TPeakContext context;
    TViewValues<double> values;
    if (!ViewContext(FModel, k, view, context, values)) continue;
    context.Group = &Group(view.Phase);

    bool slope = false;
    const TDerivativePlan* viewPlan = plan;
    if (viewPlan != nullptr) {
      // What the columns change in this view's peaks.
      inputUses.clear();
      sfUses.clear();
      slotInput.clear();
      for (int j = 0; j < columns; ++j)
        for (const TDerivativeTerm& m : (*plan->Columns)[static_cast<std::size_t>(j)]) {
          if (m.P == ScatterPhase) {
            if (m.H != k || (m.A != 1 && m.A != 2)) continue;
            const TScatterFactor* e = hist.ScatterFactors.Entry(m.T);
            if (e != nullptr) sfUses.push_back({m.A == 1 ? sfFPrime : sfFDoublePrime, 0, 0, e, j, m.Multiplier});
            continue;
          }
          if (m.H == 0 && m.P == view.Phase && m.A > 0) {
            if (m.A <= phase.AtomCount() && m.T >= 1 && m.T <= 11) sfUses.push_back({sfAtom, m.A - 1, m.T, nullptr, j, m.Multiplier});
            continue;
          }
          if (m.H == 0 && m.P == view.Phase && m.A == 0 && m.T == 2) {
            sfUses.push_back({sfIso, 0, 0, nullptr, j, m.Multiplier});
            continue;
          }
          if ((m.H != 0 && m.H != k) || (m.P != 0 && m.P != view.Phase)) continue;
          const int input = PeakInputOf(m.H, m.P, m.A, m.T);
          if (input == inNone) continue;
          inputUses.push_back({input, j, m.Multiplier, 0});
          if (std::find(slotInput.begin(), slotInput.end(), input) == slotInput.end()) slotInput.push_back(input);
          slope = slope || (input >= inA && input <= inGamma);
        }
      if (!sfUses.empty()) slotInput.push_back(inF2);
      if (slotInput.empty()) viewPlan = nullptr;  // nothing of this view moves: its peaks as they are
    }
    int f2Slot = -1;
    if (viewPlan != nullptr) {
      const std::size_t batchCount = (slotInput.size() + DualSlots - 1) / DualSlots;
      batches.assign(batchCount, TViewValues<TDualValue>());
      for (std::size_t b = 0; b < batchCount; ++b) {
        for (int i = 0; i < inCount; ++i) {
          int slot = -1;
          for (std::size_t s = b * DualSlots; s < std::min(slotInput.size(), (b + 1) * DualSlots); ++s)
            if (slotInput[s] == i) slot = static_cast<int>(s - b * DualSlots);
          batches[b].In[static_cast<std::size_t>(i)] = TDualValue::Seed(values.In[static_cast<std::size_t>(i)], slot);
        }
        SetCell(batches[b]);
      }
      if (!sfUses.empty()) f2Slot = static_cast<int>(slotInput.size() - 1);
      for (TInputUse& u : inputUses)
        u.Slot = static_cast<int>(std::find(slotInput.begin(), slotInput.end(), u.Input) - slotInput.begin());
      StructureFactorDerivatives(*this, phase, view, sfUses, slope, dF2, dF2ds);
    }

    for (std::size_t index = 0; index < view.Reflections.size(); ++index) {
      const TReflection& r = view.Reflections[index];
      if (r.D <= 0) continue;
      TPeakOf<double> peaks[2];
      const int count = PeaksOf(context, values, r, index, 0.0, -1, peaks);
      const std::size_t batchCount = viewPlan != nullptr ? std::min<std::size_t>(batches.size(), MaxBatches) : 0;
      for (std::size_t b = 0; b < batchCount; ++b) {
        const int slotBase = static_cast<int>(b) * DualSlots;
        const int localF2 = f2Slot >= slotBase && f2Slot < slotBase + DualSlots ? f2Slot - slotBase : -1;
        TPeakOf<TDualValue> out[2];
        DualPeaks(context, batches[b], r, index, slope && !dF2ds.empty() ? dF2ds[index] : 0.0, localF2, out);
        dual[0][b] = out[0];
        dual[1][b] = out[1];
      }
      // The structure-factor columns move every peak of the reflection in
      // proportion to its d intensity / d|F|^2: they take the reflection's
      // profile once, summed over its peaks.
      const bool sfMerged = viewPlan != nullptr && f2Slot >= 0 && static_cast<std::size_t>(f2Slot / DualSlots) < batchCount &&
                            !sfUses.empty();
      TSpread spreads[2];
      bool spreadOk[2] = {false, false};
      std::size_t first[2] = {}, last[2] = {}, ua = n, ub = 0;
      for (int p = 0; p < count; ++p) {
        spreadOk[p] = MakeSpread(peaks[p], fwhms, *context.Sample, spreads[p], viewPlan != nullptr);
        if (!spreadOk[p]) continue;
        first[p] = FirstAtOrAbove(x, n, grid, spreads[p].P - spreads[p].Low);
        last[p] = FirstAbove(x, n, grid, spreads[p].P + spreads[p].High, first[p]);
        if (first[p] < last[p]) {
          ua = std::min(ua, first[p]);
          ub = std::max(ub, last[p]);
        }
      }
      const bool merging = sfMerged && ua < ub;
      if (merging) {
        profile.Size(ub - ua, false);
        std::fill(profile.Part[0].begin(), profile.Part[0].begin() + static_cast<std::ptrdiff_t>(ub - ua), 0.0);
      }
      for (int p = 0; p < count; ++p) {
        if (!spreadOk[p]) continue;
        const TSpread& spread = spreads[p];
        const std::size_t i0 = first[p], i1 = last[p];
        if (viewPlan == nullptr) {
          PeakParts<false>(spread, x, i0, i1, grid, fwhms, parts);
          const double intensity = spread.I;
          const double* p0 = parts.Part[0].data();
          for (std::size_t i = i0; i < i1; ++i) y[i] += intensity * p0[i - i0];
          continue;
        }
        // Coefficients of every column this peak moves.
        const double intensity = spread.I;
        auto accumulate = [&](int column, double dI, double dP, double dH, double dM, double dA, double dA2,
                              double dAngle) {
          double* c = &dense[static_cast<std::size_t>(column) * Channels];
          c[0] += dI;
          c[1] += intensity * dP;
          c[2] += intensity * dH;
          c[3] += intensity * dM;
          c[4] += intensity * dA;
          c[5] += intensity * dA2;
          c[6] += intensity * dAngle;
          if (!touched[static_cast<std::size_t>(column)]) touchedList.push_back(column);
          touched[static_cast<std::size_t>(column)] = 1;
        };
        for (const TInputUse& u : inputUses) {
          const std::size_t b = static_cast<std::size_t>(u.Slot) / DualSlots, local = static_cast<std::size_t>(u.Slot) % DualSlots;
          if (b >= batchCount) continue;
          const TPeakOf<TDualValue>& d = dual[p][b];
          accumulate(u.Column, u.Multiplier * d.Intensity.Partial(local), u.Multiplier * d.Position.Partial(local),
                     u.Multiplier * d.H.Partial(local), u.Multiplier * d.Mix.Partial(local),
                     u.Multiplier * d.Asym.Partial(local), u.Multiplier * d.Asym2.Partial(local),
                     u.Multiplier * d.Angle.Partial(local));
        }
        const double dIdF2 =
            sfMerged ? dual[p][f2Slot / DualSlots].Intensity.Partial(f2Slot % DualSlots) : 0.0;
        // Columns that move one channel only, by channel, then the rest with several.
        std::size_t begin[Channels + 2] = {};
        for (int j : touchedList) {
          const double* c = &dense[static_cast<std::size_t>(j) * Channels];
          int nonzero = 0, channel = 0;
          for (int q = 0; q < Channels; ++q)
            if (c[q] != 0) {
              ++nonzero;
              channel = q;
            }
          kinds[static_cast<std::size_t>(j)] = nonzero == 0 ? -1 : (nonzero == 1 ? channel : Channels);
          if (nonzero > 0) ++begin[kinds[static_cast<std::size_t>(j)] + 1];
        }
        for (int q = 1; q <= Channels + 1; ++q) begin[q] += begin[q - 1];
        std::size_t fill[Channels + 1];
        std::copy(begin, begin + Channels + 1, fill);
        for (int j : touchedList) {
          touched[static_cast<std::size_t>(j)] = 0;
          double* c = &dense[static_cast<std::size_t>(j) * Channels];
          const int kind = kinds[static_cast<std::size_t>(j)];
          if (kind >= 0) {
            TColumnCoef& cc = coefs[fill[kind]++];
            cc.Column = j;
            if (kind < Channels) {
              cc.C[0] = c[kind];
            } else {
              for (int q = 0; q < Channels; ++q) cc.C[q] = c[q];
            }
          }
          for (int q = 0; q < Channels; ++q) c[q] = 0;
        }
        touchedList.clear();
        const TColumnCoef* lists[Channels + 2];
        for (int q = 0; q <= Channels + 1; ++q) lists[q] = coefs.data() + begin[q];
        PeakParts<true>(spread, x, i0, i1, grid, fwhms, parts);
        const double* p0 = parts.Part[0].data();
        for (std::size_t i = i0; i < i1; ++i) y[i] += intensity * p0[i - i0];
        AddColumns(derivatives, n, i0, i1 - i0, lists, parts);
        if (merging && dIdF2 != 0) {
          double* sum = profile.Part[0].data() + (i0 - ua);
          for (std::size_t k = 0; k < i1 - i0; ++k) sum[k] += dIdF2 * p0[k];
        }
      }
      if (merging) {
        if (coefs.size() < sfUses.size()) coefs.resize(sfUses.size());
        std::size_t used = 0;
        const std::size_t kept = plan->ProfileColumns.size();
        const std::size_t coefStart = data.ProfileCoefs.size();
        bool any = false;
        if (kept > 0) data.ProfileCoefs.resize(coefStart + kept, 0.0);
        for (std::size_t u = 0; u < sfUses.size(); ++u) {
          const double c = sfUses[u].Multiplier * dF2[index * sfUses.size() + u];
          if (c == 0) continue;
          const int column = sfUses[u].Column;
          const int place = plan->Profiled[static_cast<std::size_t>(column)];
          if (place < 0) {
            coefs[used++] = {column, {c}};
            continue;
          }
          data.ProfileCoefs[coefStart + static_cast<std::size_t>(place)] += c;  // several terms of one column add up
          any = true;
        }
        if (any) {
          THistogramData::TReflectionProfile reflection;
          reflection.First = ua;
          reflection.Count = ub - ua;
          reflection.Offset = data.ProfileValues.size();
          reflection.Coefs = coefStart;
          data.ProfileValues.insert(data.ProfileValues.end(), profile.Part[0].begin(),
                                    profile.Part[0].begin() + static_cast<std::ptrdiff_t>(ub - ua));
          data.Profiles.push_back(reflection);
        } else {
          data.ProfileCoefs.resize(coefStart);
        }
        if (used > 0) {
          const TColumnCoef* lists[Channels + 2] = {coefs.data(), coefs.data() + used};
          for (int q = 2; q < Channels + 2; ++q) lists[q] = lists[1];
          AddColumns(derivatives, n, ua, ub - ua, lists, profile);
        }
      }
    }
  }
  if (plan != nullptr)
    std::stable_sort(data.Profiles.begin(), data.Profiles.end(),
                     [](const auto& a, const auto& b) { return a.First < b.First; });
  return zeNone;
}

void TPattern::UpdateWeights(int h) {
  for (int k = (h == 0 ? 1 : h); k <= (h == 0 ? HistogramCount() : h); ++k) {
    THistogramData& data = Data(k);
    const std::size_t n = data.X.size();
    data.Weight.assign(n, 0.0);
    if (data.Calculation) continue;
    const bool haveCalc = data.Calculated.size() == n;
    for (std::size_t i = 0; i < n; ++i) {
      if (!data.Used[i]) continue;
      const double expected = haveCalc && data.Calculated[i] > 0 ? data.Calculated[i] : data.Observed[i];
      const double third = data.Third[i];
      switch (data.Mode) {
        case wmCounts: data.Weight[i] = 1.0 / std::max(expected, 1.0); break;
        case wmCounters: data.Weight[i] = (third > 0 ? third : 1.0) / std::max(expected, 1.0); break;
        case wmSigma: data.Weight[i] = third > 0 ? 1.0 / (third * third) : 0.0; break;
        case wmWeight: data.Weight[i] = std::max(third, 0.0); break;
      }
    }
  }
}

double TPattern::WeightedSum(int h) const {
  double sum = 0;
  for (int k = (h == 0 ? 1 : h); k <= (h == 0 ? HistogramCount() : h); ++k) {
    const THistogramData& data = Data(k);
    const double scale = FModel.Histogram(k)->Weighting > 0 ? FModel.Histogram(k)->Weighting : 1.0;
    for (std::size_t i = 0; i < data.X.size() && i < data.Weight.size(); ++i) {
      if (!data.Used[i] || data.Weight[i] <= 0) continue;
      sum += scale * data.Weight[i] * Squared(data.Observed[i] - data.Calculated[i]);
    }
  }
  return sum;
}

int TPattern::ObservationCount() const {
  int count = 0;
  for (int k = 1; k <= HistogramCount(); ++k) {
    const THistogramData& data = Data(k);
    for (std::size_t i = 0; i < data.X.size() && i < data.Weight.size(); ++i)
      if (data.Used[i] && data.Weight[i] > 0) ++count;
  }
  return count;
}

TAgreement TPattern::Agreement(int h, int refinedCount) const {
  TAgreement a;
  const THistogramData& data = Data(h);
  double absDiff = 0, absObs = 0, wDiff = 0, wObs = 0;
  for (std::size_t i = 0; i < data.X.size() && i < data.Weight.size(); ++i) {
    if (!data.Used[i] || data.Weight[i] <= 0) continue;
    const double diff = data.Observed[i] - data.Calculated[i];
    absDiff += std::fabs(diff);
    absObs += std::fabs(data.Observed[i]);
    wDiff += data.Weight[i] * diff * diff;
    wObs += data.Weight[i] * data.Observed[i] * data.Observed[i];
    ++a.Points;
  }
  if (a.Points == 0) return a;
  const double freedom = std::max(1, a.Points - refinedCount);
  a.Rp = absObs > 0 ? 100.0 * absDiff / absObs : 0;
  a.Rwp = wObs > 0 ? 100.0 * std::sqrt(wDiff / wObs) : 0;
  a.Rexp = wObs > 0 ? 100.0 * std::sqrt(freedom / wObs) : 0;
  a.Chi2 = wDiff / freedom;
  return a;
}

std::vector<double> TPattern::ObservedF2(int h, const TPhaseView& view) const {
  const THistogram& hist = *FModel.Histogram(h);
  const THistogramData& data = Data(h);
  const double fwhms = hist.BaseWidth > 0 ? hist.BaseWidth : 7.0;
  std::vector<double> result(view.Reflections.size(), 0.0);
  for (std::size_t k = 0; k < view.Reflections.size(); ++k) {
    const TReflection& r = view.Reflections[k];
    double share = 0, total = 0;
    for (const TPeak& peak : Peaks(h, view, r)) {
      if (!(peak.Intensity > 0)) continue;
      const double lo = peak.Position - peak.Shape.LowReach(fwhms);
      const double hi = peak.Position + peak.Shape.HighReach(fwhms);
      auto first = std::lower_bound(data.X.begin(), data.X.end(), lo);
      for (auto it = first; it != data.X.end() && *it <= hi; ++it) {
        const std::size_t i = static_cast<std::size_t>(it - data.X.begin());
        if (data.Calculation || !data.Used[i]) continue;
        const double c = peak.Intensity * peak.Shape.Windowed(*it - peak.Position, fwhms);
        const double net = data.Calculated[i] - data.Background[i];
        if (c <= 0 || net <= 1e-12 * c) continue;
        share += c * (data.Observed[i] - data.Background[i]) / net;
        total += c;
      }
    }
    result[k] = total > 0 ? std::max(0.0, r.F2 * share / total) : r.F2;
  }
  return result;
}

bool TPattern::HasLeBailPhase() const {
  for (int p = 1; p <= FModel.PhaseCount(); ++p)
    if (FModel.Phase(p)->CalcMethod != 0) return true;
  return false;
}

void TPattern::ExtractLeBail(int iterations) {
  for (int it = 0; it < iterations; ++it) {
    Calculate();
    for (int h = 1; h <= HistogramCount(); ++h) {
      if (Data(h).Calculation) continue;
      for (TPhaseView& view : Views(h)) {
        if (FModel.Phase(view.Phase)->CalcMethod == 0) continue;
        const std::vector<double> f2 = ObservedF2(h, view);
        for (std::size_t k = 0; k < f2.size(); ++k) view.Reflections[k].F2 = std::max(f2[k], 1e-12);
      }
    }
  }
  Calculate();
}

double TPattern::MarkerPosition(int h, const TPhaseView& view, const TReflection& r) const {
  const std::vector<TPeak> peaks = Peaks(h, view, r);
  return peaks.empty() ? std::numeric_limits<double>::quiet_NaN() : peaks.front().Position;
}

bool InMeasuredRange(const TPattern& pattern, int h, double x) {
  const THistogramData& data = pattern.Data(h);
  if (!std::isfinite(x) || data.X.empty()) return false;
  double lo = data.X.front(), hi = data.X.back();
  if (!data.Calculation) {
    const auto first = std::find(data.Used.begin(), data.Used.end(), char(1));
    if (first == data.Used.end()) return false;
    const auto last = std::find(data.Used.rbegin(), data.Used.rend(), char(1));
    lo = data.X[static_cast<std::size_t>(first - data.Used.begin())];
    hi = data.X[data.Used.size() - 1 - static_cast<std::size_t>(last - data.Used.rbegin())];
  }
  if (x < std::min(lo, hi) || x > std::max(lo, hi)) return false;
  for (const TPair& r : pattern.Model().Histogram(h)->Excluded.Regions.Items)
    if (x >= std::min(r.X, r.Y) && x <= std::max(r.X, r.Y)) return false;
  return true;
}
