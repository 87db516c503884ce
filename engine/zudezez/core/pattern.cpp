#include "core/pattern.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/background.h"
#include "model/rietclass.h"

namespace {

constexpr double HcOverTwo = 6.1992099;  // hc / 2 in keV Angstrom

bool IsTof(const THistogram& h) { return h.Job == jobTOFData || h.Job == jobTOFCalc; }
bool IsEnergy(const THistogram& h) { return h.Job == jobEDData || h.Job == jobEDCalc; }
bool IsNeutronCW(const THistogram& h) { return h.Job == jobNeutronData || h.Job == jobNeutronCalc; }

// March-Dollase factor of a reflection at angle alpha to the orientation axis.
double MarchDollase(double r, double cosAlpha) {
  const double c2 = cosAlpha * cosAlpha;
  return std::pow(r * r * c2 + (1.0 - c2) / r, -1.5);
}

// Sabine's extinction factor for a powder (Laue and Bragg limits mixed by angle).
double SabineExtinction(double x, double sinTheta) {
  if (x <= 0) return 1.0;
  const double bragg = 1.0 / std::sqrt(1.0 + x);
  double laue;
  if (x < 1.0)
    laue = 1.0 - x / 2 + x * x / 4 - 5 * x * x * x / 48 + 7 * x * x * x * x / 192;
  else
    laue = std::sqrt(2.0 / (Pi * x)) * (1.0 - 1.0 / (8 * x) - 3.0 / (128 * x * x) - 15.0 / (1024 * x * x * x));
  const double s2 = sinTheta * sinTheta;
  return laue * (1 - s2) + bragg * s2;
}

double Squared(double v) { return v * v; }

// v above eps; below it eps exp((v - eps) / eps), which meets it with the
// same slope and stays positive.
double SoftPositive(double v, double eps) { return v > eps ? v : eps * std::exp(std::max(-700.0, (v - eps) / eps)); }

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
  for (int p = 1; p <= FModel.PhaseCount(); ++p) {
    const TCell cell = Cell(p);
    if (!cell.IsValid() || !FGroups[static_cast<std::size_t>(p - 1)].Assign(FModel.Phase(p)->SpaceGroup, cell))
      return zeSpaceGroup;
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
                                                const TPhase& phase) const {
  const TAtom& a = *phase.Atom(atom + 1);
  const TVec3 x{a.X, a.Y, a.Z};
  const bool aniso = a.B11 != 0 || a.B22 != 0 || a.B33 != 0 || a.B12 != 0 || a.B13 != 0 || a.B23 != 0;
  std::complex<double> sum = 0;
  for (const TSymOp& op : Group(view.Phase).Operations()) {
    const TMiller hr = op.ApplyToHkl(hkl);
    const double angle = 2 * Pi * (hr[0] * x[0] + hr[1] * x[1] + hr[2] * x[2] + hkl[0] * op.T[0] + hkl[1] * op.T[1] + hkl[2] * op.T[2]);
    double t = 1.0;
    if (aniso) {
      // Anisotropic factor exp(-(b11 h^2 + b22 k^2 + b33 l^2 + 2 b12 hk + 2 b13 hl + 2 b23 kl)) of the image.
      t = std::exp(-(a.B11 * hr[0] * hr[0] + a.B22 * hr[1] * hr[1] + a.B33 * hr[2] * hr[2] +
                     2.0 * (a.B12 * hr[0] * hr[1] + a.B13 * hr[0] * hr[2] + a.B23 * hr[1] * hr[2])));
    }
    sum += t * std::complex<double>(std::cos(angle), std::sin(angle));
  }
  const double b = a.B + phase.IsoThermal;
  return sum * (a.N * std::exp(-b * stol2));
}

void TPattern::UpdateStructureFactors(int /*h: the view is that histogram's*/, TPhaseView& view) {
  const TPhase& phase = *FModel.Phase(view.Phase);
  const TCell cell = Cell(view.Phase);
  for (TReflection& r : view.Reflections) r.D = cell.DSpacing(r.Hkl);
  if (phase.CalcMethod != 0) return;
  std::vector<double> shared = {phase.A, phase.B, phase.C, phase.Alpha, phase.Beta, phase.Gamma, phase.IsoThermal,
                                double(phase.AtomCount())};
  const bool sharedChanged = shared != view.SharedKey;
  const std::size_t atoms = static_cast<std::size_t>(phase.AtomCount());
  if (sharedChanged || view.AtomF.size() != atoms) {
    view.AtomF.assign(atoms, {});
    view.AtomKey.assign(atoms, {});
    view.SharedKey = shared;
  }
  for (std::size_t a = 0; a < atoms; ++a) {
    const TAtom& atom = *phase.Atom(static_cast<int>(a) + 1);
    std::array<float, 11> key{atom.X, atom.Y, atom.Z, atom.B, atom.N, atom.B11, atom.B22, atom.B33, atom.B12, atom.B13, atom.B23};
    if (!view.AtomF[a].empty() && key == view.AtomKey[a]) continue;
    view.AtomKey[a] = key;
    auto& list = view.AtomF[a];
    list.resize(view.Reflections.size());
    for (std::size_t k = 0; k < view.Reflections.size(); ++k) {
      const TReflection& r = view.Reflections[k];
      list[k] = AtomContribution(view, static_cast<int>(a), r.Hkl, 0.25 / (r.D * r.D), phase);
    }
  }
  // F(h) = sum (f + i f'') G and the Friedel mate's |F(-h)| = |sum (f - i f'') G|;
  // the powder intensity takes their mean.
  for (std::size_t k = 0; k < view.Reflections.size(); ++k) {
    TReflection& r = view.Reflections[k];
    const double stol2 = 0.25 / (r.D * r.D);
    std::complex<double> plus = 0, minus = 0;
    for (std::size_t a = 0; a < atoms; ++a) {
      const TScatterer& sc = view.Scatterers[a];
      const double f1 = sc.Real(stol2), f2 = sc.Imaginary();
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

void TPattern::WidthTerms(int h, const TPhaseView& view, const TReflection& r, const TSample& s, double widthArg,
                          double& g2, double& lorentz) const {
  const THistogram& hist = *FModel.Histogram(h);
  const int profile = hist.Profile;
  const double t = widthArg;
  if (IsTof(hist)) {
    g2 = s.U + s.V * t * t + s.W * t * t * t * t;
    lorentz = s.Gam0 + s.Gam1 * t + s.Gam2 * t * t;
  } else if (IsEnergy(hist)) {
    g2 = s.U * t * t + s.V * t + s.W;
    lorentz = s.Gam0 + s.Gam1 * t + s.Gam2 * t * t;
  } else {
    g2 = s.U * t * t + s.V * t + s.W;
    lorentz = LorentzianTerm(profile, s.Gam0, s.Gam1, s.Gam2, t);
  }
  if (s.BroadeningModel == bmNone) return;
  // Width that depends on the direction of the reflection.
  const TCell cell = Cell(view.Phase);
  const TVec3 hv = ToVec(r.Hkl);
  const bool lorentzWidth = profile == 3 || profile == 5 || profile == 7;
  auto addLorentzian = [&](double w) {
    if (lorentzWidth)
      lorentz += w;
    else
      g2 += w * w;
  };
  switch (s.BroadeningModel) {
    case bmCos2Phi:
    case bmTensor: {
      const double c = cell.ReciprocalCosine(hv, {s.UH, s.UK, s.UL});
      g2 += s.Uaniso * c * c * t * t;
      break;
    }
    case bmDeltaA: {
      const double c = cell.ReciprocalCosine(hv, {s.UH, s.UK, s.UL});
      addLorentzian(s.Uaniso * c * c * t);
      break;
    }
    case bmDislocation: {
      for (int row = 0; row < std::min(3, s.DislocationCount); ++row) {
        double sum = 0;
        int count = 0;
        for (const auto* triple : {&s.DislocationHKL1[row], &s.DislocationHKL2[row], &s.DislocationHKL3[row]}) {
          if ((*triple)[0] == 0 && (*triple)[1] == 0 && (*triple)[2] == 0) continue;
          const double c = cell.ReciprocalCosine(hv, {double((*triple)[0]), double((*triple)[1]), double((*triple)[2])});
          sum += c * c;
          ++count;
        }
        if (count == 0) continue;
        const double contrast = sum / count;
        g2 += s.GausDis[row] * contrast * t * t;
        addLorentzian(s.LorDis[row] * contrast * t);
      }
      break;
    }
    default:
      break;
  }
}

double TPattern::IntensityFactor(int h, const TPhaseView& view, const TReflection& r, const TSample& s,
                                 double twoThetaOrD, double wavelength) const {
  const THistogram& hist = *FModel.Histogram(h);
  const TPhase& phase = *FModel.Phase(view.Phase);
  double factor = hist.Scale * phase.Scale * r.Multiplicity * r.F2;

  // Preferred orientation (March-Dollase), over the equivalents when asked.
  if (s.PO != 1.0f && s.PO > 0) {
    const TCell cell = Cell(view.Phase);
    const TVec3 axis{s.POH, s.POK, s.POL};
    if (FModel.IPREF != 0) {
      const std::vector<TMiller> eq = Group(view.Phase).EquivalentIndices(r.Hkl);
      double sum = 0;
      for (const TMiller& m : eq) sum += MarchDollase(s.PO, cell.ReciprocalCosine(ToVec(m), axis));
      factor *= sum / double(eq.size());
    } else {
      factor *= MarchDollase(s.PO, cell.ReciprocalCosine(ToVec(r.Hkl), axis));
    }
  }

  if (IsTof(hist)) {
    const double d = twoThetaOrD;
    return factor * d * d * d * d * IncidentSpectrum(hist, PositionOfSpacing(hist, d, 0) + hist.Zero);
  }
  if (IsEnergy(hist)) {
    const double d = twoThetaOrD;
    return factor * d * d;
  }

  const double theta = 0.5 * twoThetaOrD * DegToRad;
  const double sinT = std::sin(theta), cosT = std::cos(theta);
  const double cos2T = std::cos(2 * theta);
  double lp = 1.0 / (sinT * sinT * cosT);
  if (!IsNeutronCW(hist)) lp *= 1.0 + hist.Polarisation * cos2T * cos2T;  // Polarisation: cos^2 2theta of the monochromator
  factor *= lp;

  if (hist.AbsorptionModel == 0) {
    // Cylinder of mu R = Absorption (Rouse, Cooper, York and Chakera's approximation).
    const double mr = hist.Absorption;
    if (mr != 0) {
      const double s2 = sinT * sinT;
      factor *= std::exp(-(1.7133 - 0.0368 * s2) * mr + (0.0927 + 0.375 * s2) * mr * mr);
    }
  } else {
    // Flat plate: Suortti's surface roughness, 1 at 90 degrees.
    if (s.Pore != 0) factor *= 1.0 - s.Pore * std::exp(-s.Rough) + s.Pore * std::exp(-s.Rough / sinT);
  }
  if (hist.Illumination != 0 && hist.IsXrayCW()) factor *= sinT;  // automatic divergence slit
  if (s.Extinction != 0) {
    // Sabine's x = E (lambda |F| / V)^2, with the extinction value E in square Angstrom.
    const double volume = Cell(view.Phase).Volume();
    const double x = s.Extinction * Squared(wavelength * std::sqrt(r.F2) / volume);
    factor *= SabineExtinction(x, sinT);
  }
  return factor;
}

std::vector<TPeak> TPattern::Peaks(int h, const TPhaseView& view, const TReflection& r) const {
  std::vector<TPeak> peaks;
  const THistogram& hist = *FModel.Histogram(h);
  const TSample* sp = FModel.FindSample(h, view.Phase);
  if (sp == nullptr || r.D <= 0) return peaks;
  const TSample& s = *sp;
  const int profile = hist.Profile;
  const double d = r.D;

  auto shapeFrom = [&](double g2, double lorentz, double position) {
    TPeakShape shape;
    // Widths that the terms make zero or negative are kept small but
    // positive by a smooth continuation, so a refinement that overshoots
    // still sees which way to go back.
    const double floor = std::max(1e-5 * std::fabs(position), 1e-6);
    const double g = std::sqrt(SoftPositive(g2, floor * floor));
    if (profile == 3 || profile == 5 || profile == 7) {
      const double l = lorentz > 0 || g > 0 ? SoftPositive(lorentz, 1e-3 * std::max(g, floor)) : 0.0;
      shape.H = std::max(TchWidth(g, l), floor);
      shape.Eta = std::clamp(TchMixing(l / shape.H), 0.0, 1.0);
    } else if (profile == 2) {
      shape.Kind = TPeakShape::pkPearson;
      shape.H = std::max(g, floor);
      shape.M = std::clamp(lorentz, 0.6, 1000.0);
    } else {
      // The mixing value is used as it stands (no clipping to 0 .. 1), so
      // the pattern stays a smooth function of it during refinement.
      shape.H = std::max(g, floor);
      shape.Eta = lorentz;
    }
    return shape;
  };

  if (IsTof(hist)) {
    TPeak peak;
    peak.Position = hist.Zero + hist.Wavelength1 * d + hist.Wavelength2 * d * d;
    double g2 = 0, lorentz = 0;
    WidthTerms(h, view, r, s, d, g2, lorentz);
    peak.Shape = shapeFrom(g2, lorentz, peak.Position);
    peak.Shape.Kind = TPeakShape::pkTof;
    peak.Shape.Alpha = s.TOFAlpha1 + s.TOFAlpha2 / d;
    peak.Shape.Beta = s.TOFBeta1 + s.TOFBeta2 / (d * d * d * d);
    peak.Intensity = IntensityFactor(h, view, r, s, d, 0);
    peaks.push_back(std::move(peak));
    return peaks;
  }
  if (IsEnergy(hist)) {
    TPeak peak;
    const double e = PositionOfSpacing(hist, d, 0);
    if (!std::isfinite(e)) return peaks;
    peak.Position = e + hist.Zero;
    double g2 = 0, lorentz = 0;
    WidthTerms(h, view, r, s, e, g2, lorentz);
    peak.Shape = shapeFrom(g2, lorentz, peak.Position);
    peak.Intensity = IntensityFactor(h, view, r, s, d, 0);
    peaks.push_back(std::move(peak));
    return peaks;
  }

  // Constant wavelength: one peak per wavelength.
  const bool second = hist.Ratio > 0 && hist.Wavelength2 > 0;
  for (int w = 0; w < (second ? 2 : 1); ++w) {
    const double lambda = w == 0 ? hist.Wavelength1 : hist.Wavelength2;
    const double twoTheta = PositionOfSpacing(hist, d, lambda);
    if (!std::isfinite(twoTheta)) continue;
    const double theta = 0.5 * twoTheta * DegToRad;
    TPeak peak;
    peak.Position = twoTheta + hist.Zero + (hist.HasDisplacement != 0 ? hist.Displacement * std::cos(theta) : 0.0);
    double g2 = 0, lorentz = 0;
    WidthTerms(h, view, r, s, std::tan(theta), g2, lorentz);
    peak.Shape = shapeFrom(g2, lorentz, peak.Position);
    if (profile <= 3) {
      if (twoTheta < FModel.AsymLimit) {
        peak.Shape.RietAsym = s.Asym1;
        peak.Shape.TanTheta = std::tan(theta);
      }
    } else if (profile <= 5) {
      HowardAsymmetry(peak.Shape, s.Asym1, twoTheta);
    } else if (profile == 6) {
      FcjAsymmetry(peak.Shape, s.Asym1, s.Asym2, twoTheta);
    }
    peak.Intensity = (w == 0 ? 1.0 : hist.Ratio) * IntensityFactor(h, view, r, s, twoTheta, lambda);
    peaks.push_back(std::move(peak));
  }
  return peaks;
}

int TPattern::Calculate(int h) {
  for (int k = (h == 0 ? 1 : h); k <= (h == 0 ? HistogramCount() : h); ++k) {
    const THistogram& hist = *FModel.Histogram(k);
    THistogramData& data = Data(k);
    const std::size_t n = data.X.size();
    if (n == 0) continue;
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
    data.Calculated = data.Background;

    // Peaks.
    for (TPhaseView& view : Views(k)) {
      UpdateStructureFactors(k, view);
      const double fwhms = hist.BaseWidth > 0 ? hist.BaseWidth : 7.0;
      for (const TReflection& r : view.Reflections) {
        for (const TPeak& peak : Peaks(k, view, r)) {
          if (!(peak.Intensity != 0) || !std::isfinite(peak.Intensity)) continue;
          const double lo = peak.Position - peak.Shape.LowReach(fwhms);
          const double hi = peak.Position + peak.Shape.HighReach(fwhms);
          auto first = std::lower_bound(data.X.begin(), data.X.end(), lo);
          for (auto it = first; it != data.X.end() && *it <= hi; ++it) {
            const std::size_t i = static_cast<std::size_t>(it - data.X.begin());
            data.Calculated[i] += peak.Intensity * peak.Shape.Windowed(*it - peak.Position, fwhms);
          }
        }
      }
    }
  }
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
