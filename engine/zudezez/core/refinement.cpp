#include "core/refinement.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/pattern.h"
#include "model/rietclass.h"

float* ValueAddress(TRietveld& model, int h, int p, int a, int t, bool reading) {
  if (p == ScatterPhase) {
    THistogram* hist = model.Histogram(h);
    if (hist == nullptr || a < 1 || a > 2) return nullptr;
    TScatterFactor* e = hist->ScatterFactors.Entry(t);
    if (e == nullptr) return nullptr;
    return a == 1 ? &e->FPrime : &e->FDoublePrime;
  }
  if (h > 0 && p == 0 && a == 0) {
    THistogram* hist = model.Histogram(h);
    return hist != nullptr ? hist->Value(t) : nullptr;
  }
  if (h == 0 && p > 0 && a == 0) {
    TPhase* phase = model.Phase(p);
    return phase != nullptr ? phase->Value(t) : nullptr;
  }
  if (h == 0 && p > 0 && a > 0) {
    TPhase* phase = model.Phase(p);
    TAtom* atom = phase != nullptr ? phase->Atom(a) : nullptr;
    return atom != nullptr ? atom->Value(t) : nullptr;
  }
  if (h > 0 && p > 0 && a == 0) {
    if (model.Histogram(h) == nullptr) return nullptr;
    if (reading && (t == 1 || t == 2 || (t >= 6 && t <= 11))) {
      TPhase* phase = model.Phase(p);
      return phase != nullptr ? phase->Value(t) : nullptr;
    }
    TSample* s = model.FindSample(h, p);
    return s != nullptr ? s->Value(t) : nullptr;
  }
  return nullptr;
}

namespace {

// Relaxation group of an address: 1 positions, displacements and
// occupancies; 2 anisotropic terms; 3 cell, scales, zero, orientation and
// the rest; 4 widths, shape and asymmetry.
int GroupOf(const TMember& m) {
  if (m.P == ScatterPhase) return 3;
  if (m.H == 0 && m.A > 0) return m.T <= 5 ? 1 : 2;
  if (m.H > 0 && m.P > 0) {
    switch (m.T) {
      case 3: case 4: case 5: case 14: case 15: case 16: case 17: case 19: case 20:
      case 21: case 22: case 23: case 24: case 28: case 29: case 30: case 31: case 32: case 33:
        return 4;
      default:
        return 3;
    }
  }
  return 3;
}

// Numerical derivative step of an address with the current value v.
double StepOf(const TMember& m, double v, bool timeOfFlight) {
  double base = 1e-4;
  if (m.P == ScatterPhase) {
    base = 1e-3;
  } else if (m.H == 0 && m.A > 0) {
    base = m.T <= 3 ? 1e-4 : (m.T <= 5 ? 1e-3 : 1e-5);
  } else if (m.H == 0 && m.P > 0) {
    base = (m.T == 1) ? 1e-10 : (m.T == 2 ? 1e-3 : (m.T <= 8 ? 1e-5 : 1e-3));
  } else if (m.H > 0 && m.P == 0) {
    if (m.T == 1) base = timeOfFlight ? 1e-2 : 1e-4;
    else if (m.T <= 25) base = 1e-3;
    else if (m.T == 26) base = 1e-8;
    else if (m.T == 27 || m.T == 28) base = 1e-6;
    else base = 1e-4;
  } else {
    base = timeOfFlight ? 1e-3 : 1e-5;
  }
  return std::max(1e-4 * std::fabs(v), base);
}

}  // namespace

namespace {

// Four doubles at once (the compiler's vector extension).
using TV4 = double __attribute__((vector_size(32)));
[[gnu::always_inline]] inline TV4 Load4(const double* p) {
  TV4 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
[[gnu::always_inline]] inline double Sum4(TV4 v) { return (v[0] + v[1]) + (v[2] + v[3]); }

// Adds sum w_i c_j(i) c_k(i) to a[j n + k] for k <= j (and some k above
// j, which the caller overwrites) and sum w_i r_i c_j(i) to g[j], over
// the points of n columns c_j, in blocks of points that stay in the cache
// and three columns against four at a time.
[[gnu::target_clones("arch=x86-64-v3", "default")]] void AddNormalEquations(const double* const* cols, int n,
                                                                        std::size_t points, const double* w,
                                                                        const double* r, double* a, double* g) {
  constexpr std::size_t Block = 512;
  const std::size_t un = static_cast<std::size_t>(n);
  // Kept between calls: a fresh block this size comes from the system every cycle.
  thread_local std::vector<double> weighted, zero;
  weighted.resize(std::max(weighted.size(), un * Block));
  zero.assign(Block, 0.0);
  for (std::size_t start = 0; start < points; start += Block) {
    const std::size_t count = std::min(Block, points - start), vec = count & ~std::size_t(3);
    for (std::size_t j = 0; j < un; ++j) {
      const double* c = cols[j] + start;
      double* wc = &weighted[j * Block];
      TV4 sum = {};
      for (std::size_t i = 0; i < vec; i += 4) {
        const TV4 v = Load4(w + start + i) * Load4(c + i);
        std::memcpy(wc + i, &v, sizeof v);
        sum += v * Load4(r + start + i);
      }
      double total = Sum4(sum);
      for (std::size_t i = vec; i < count; ++i) {
        wc[i] = w[start + i] * c[i];
        total += wc[i] * r[start + i];
      }
      g[j] += total;
    }
    // Three rows against four columns: twelve sums in registers, seven loads
    // for twelve multiply-adds.
    for (std::size_t j = 0; j < un; j += 3) {
      const double* wr[3];
      for (std::size_t l = 0; l < 3; ++l) wr[l] = j + l < un ? &weighted[(j + l) * Block] : zero.data();
      for (std::size_t k = 0; k <= j + 2 && k < un; k += 4) {
        const double* c[4];
        for (std::size_t l = 0; l < 4; ++l) c[l] = k + l < un ? cols[k + l] + start : zero.data();
        TV4 s0[4] = {}, s1[4] = {}, s2[4] = {};
        const double *c0 = c[0], *c1 = c[1], *c2 = c[2], *c3 = c[3], *w0 = wr[0], *w1 = wr[1], *w2 = wr[2];
        for (std::size_t i = 0; i < vec; i += 4) {
          const TV4 v0 = Load4(c0 + i), v1 = Load4(c1 + i), v2 = Load4(c2 + i), v3 = Load4(c3 + i);
          const TV4 a = Load4(w0 + i), b = Load4(w1 + i), e = Load4(w2 + i);
          s0[0] += a * v0;
          s0[1] += a * v1;
          s0[2] += a * v2;
          s0[3] += a * v3;
          s1[0] += b * v0;
          s1[1] += b * v1;
          s1[2] += b * v2;
          s1[3] += b * v3;
          s2[0] += e * v0;
          s2[1] += e * v1;
          s2[2] += e * v2;
          s2[3] += e * v3;
        }
        const TV4* sums[3] = {s0, s1, s2};
        for (std::size_t r = 0; r < 3 && j + r < un; ++r)
          for (std::size_t l = 0; l < 4 && k + l < un; ++l) {
            double t = Sum4(sums[r][l]);
            for (std::size_t i = vec; i < count; ++i) t += wr[r][i] * c[l][i];
            a[(j + r) * un + k + l] += t;
          }
      }
    }
  }
}

// out[j] = sum_k v[k] cols[j][k] over `count` points, for n columns, four
// columns at a time (four independent sums keep the adder busy).
[[gnu::target_clones("arch=x86-64-v3", "default")]] void Dots(const double* v, std::size_t count,
                                                          const double* const* cols, std::size_t n, double* out) {
  const std::size_t vec = count & ~std::size_t(3);
  std::size_t j = 0;
  for (; j + 4 <= n; j += 4) {
    const double *c0 = cols[j], *c1 = cols[j + 1], *c2 = cols[j + 2], *c3 = cols[j + 3];
    TV4 s0 = {}, s1 = {}, s2 = {}, s3 = {};
    for (std::size_t i = 0; i < vec; i += 4) {
      const TV4 x = Load4(v + i);
      s0 += x * Load4(c0 + i);
      s1 += x * Load4(c1 + i);
      s2 += x * Load4(c2 + i);
      s3 += x * Load4(c3 + i);
    }
    double t0 = Sum4(s0), t1 = Sum4(s1), t2 = Sum4(s2), t3 = Sum4(s3);
    for (std::size_t i = vec; i < count; ++i) {
      t0 += v[i] * c0[i];
      t1 += v[i] * c1[i];
      t2 += v[i] * c2[i];
      t3 += v[i] * c3[i];
    }
    out[j] = t0;
    out[j + 1] = t1;
    out[j + 2] = t2;
    out[j + 3] = t3;
  }
  for (; j < n; ++j) {
    const double* c = cols[j];
    TV4 s0 = {}, s1 = {};
    std::size_t i = 0;
    for (; i + 8 <= vec; i += 8) {
      s0 += Load4(v + i) * Load4(c + i);
      s1 += Load4(v + i + 4) * Load4(c + i + 4);
    }
    for (; i < vec; i += 4) s0 += Load4(v + i) * Load4(c + i);
    double t = Sum4(s0 + s1);
    for (i = vec; i < count; ++i) t += v[i] * c[i];
    out[j] = t;
  }
}

// m[i nb + j] += a[i] b[j] for i < na, j < nb.
[[gnu::target_clones("arch=x86-64-v3", "default")]] void AddOuter(double* m, const double* a, std::size_t na,
                                                              const double* b, std::size_t nb) {
  const std::size_t vec = nb & ~std::size_t(3);
  for (std::size_t i = 0; i < na; ++i) {
    const double x = a[i];
    double* row = m + i * nb;
    for (std::size_t j = 0; j < vec; j += 4) {
      const TV4 v = Load4(row + j) + x * Load4(b + j);
      std::memcpy(row + j, &v, sizeof v);
    }
    for (std::size_t j = vec; j < nb; ++j) row[j] += x * b[j];
  }
}

// A = L L^T in the lower triangle of a; false when A is not positive definite.
bool Cholesky(std::vector<double>& a, int n) {
  for (int j = 0; j < n; ++j) {
    double d = a[j * n + j];
    for (int k = 0; k < j; ++k) d -= a[j * n + k] * a[j * n + k];
    if (!(d > 1e-14)) return false;
    d = std::sqrt(d);
    a[j * n + j] = d;
    for (int i = j + 1; i < n; ++i) {
      double s = a[i * n + j];
      for (int k = 0; k < j; ++k) s -= a[i * n + k] * a[j * n + k];
      a[i * n + j] = s / d;
    }
  }
  return true;
}

// Solves L L^T x = b in place with the factor from Cholesky.
void CholeskySolve(const std::vector<double>& a, double* b, int n) {
  for (int i = 0; i < n; ++i) {
    double s = b[i];
    for (int k = 0; k < i; ++k) s -= a[i * n + k] * b[k];
    b[i] = s / a[i * n + i];
  }
  for (int i = n - 1; i >= 0; --i) {
    double s = b[i];
    for (int k = i + 1; k < n; ++k) s -= a[k * n + i] * b[k];
    b[i] = s / a[i * n + i];
  }
}

}  // namespace

bool SolveSymmetric(std::vector<double> a, std::vector<double>& b, int n) {
  if (!Cholesky(a, n)) return false;
  CholeskySolve(a, b.data(), n);
  return true;
}

bool InvertSymmetric(std::vector<double>& a, int n) {
  std::vector<double> factor = a;
  if (!Cholesky(factor, n)) return false;
  std::vector<double> inv(static_cast<std::size_t>(n) * n, 0.0), e(static_cast<std::size_t>(n));
  for (int c = 0; c < n; ++c) {
    std::fill(e.begin(), e.end(), 0.0);
    e[static_cast<std::size_t>(c)] = 1.0;
    CholeskySolve(factor, e.data(), n);
    for (int r = 0; r < n; ++r) inv[r * n + c] = e[static_cast<std::size_t>(r)];
  }
  a.swap(inv);
  return true;
}

// A fall of the weighted sum by more than this fraction in one cycle is
// progress, whatever the shifts.
constexpr double MaterialDrop = 1e-3;

TRefinement::TRefinement(TPattern& pattern) : FPattern(pattern), FModel(pattern.Model()) {}

int TRefinement::Build() {
  FVariables.clear();
  const TParameterList& list = FModel.Parameters;
  for (const auto& r : list.Refined) {
    if (r->Number <= 0) continue;
    TVariable v;
    v.Number = r->Number;
    auto addMember = [&](const TParameter& q, double multiplier) {
      TMember m;
      m.H = q.Histogram;
      m.P = q.Phase;
      m.A = q.Atom;
      m.T = q.ParamType;
      m.Multiplier = multiplier;
      m.Value = ValueAddress(FModel, m.H, m.P, m.A, m.T);
      v.Members.push_back(m);
      return m.Value != nullptr;
    };
    if (!addMember(*r, r->Multiplier != 0 ? r->Multiplier : 1.0)) return zeReadInput;
    for (const auto& c : list.Constraints)
      if (c->First.SameAddress(*r))
        if (!addMember(c->Second, c->Second.Multiplier)) return zeReadInput;
    const TMember& first = v.Members.front();
    v.Group = GroupOf(first);
    const THistogram* hist = FModel.Histogram(first.H > 0 ? first.H : 1);
    v.Step = StepOf(first, *first.Value, hist != nullptr && hist->IsTimeOfFlight());
    bool all = false;
    for (const TMember& m : v.Members) {
      if (m.H == 0) all = true;
      else if (std::find(v.Histograms.begin(), v.Histograms.end(), m.H) == v.Histograms.end()) v.Histograms.push_back(m.H);
    }
    if (all) v.Histograms.clear();
    v.Analytic = std::all_of(v.Members.begin(), v.Members.end(),
                             [this](const TMember& m) { return FPattern.HasAnalyticDerivative(m.H, m.P, m.A, m.T); });
    TParameter named(first.H, first.P, first.A, first.T, 0);
    v.Name = ParameterDescription(named);
    FVariables.push_back(std::move(v));
  }
  // The symmetry ties cell values to a refined one (b and c to a in a cubic
  // cell, b to a in a tetragonal or hexagonal one ...) unless they are
  // refined themselves.
  auto memberOf = [this](int p, int t) {
    for (TVariable& v : FVariables)
      for (const TMember& m : v.Members)
        if (m.H == 0 && m.P == p && m.A == 0 && m.T == t) return &v;
    return static_cast<TVariable*>(nullptr);
  };
  for (int p = 1; p <= FModel.PhaseCount(); ++p)
    for (const auto& [follower, leader] : FPattern.Group(p).CellTies()) {
      TVariable* v = memberOf(p, leader + 5);
      if (v == nullptr || memberOf(p, follower + 5) != nullptr) continue;
      TMember m;
      m.P = p;
      m.T = follower + 5;
      m.Value = ValueAddress(FModel, 0, p, 0, m.T);
      for (const TMember& l : v->Members)
        if (l.P == p && l.T == leader + 5 && l.H == 0) m.Multiplier = l.Multiplier;
      v->Members.push_back(m);
      v->Analytic = v->Analytic && FPattern.HasAnalyticDerivative(m.H, m.P, m.A, m.T);
    }
  // Without an observed point (calculation-only histograms) there is nothing to refine.
  if (FPattern.ObservationCount() == 0) FVariables.clear();
  if (!FVariables.empty() && VariableCount() >= FPattern.ObservationCount()) return zeTooManyParameters;
  return zeNone;
}

double TRefinement::Relaxation(int group) const {
  const double r = group == 1 ? FModel.Rel1 : group == 2 ? FModel.Rel2 : group == 3 ? FModel.Rel3 : FModel.Rel4;
  return r > 0 ? r : 1.0;
}

std::vector<float> TRefinement::Save() const {
  std::vector<float> saved;
  for (const TVariable& v : FVariables)
    for (const TMember& m : v.Members) saved.push_back(*m.Value);
  return saved;
}

void TRefinement::Restore(const std::vector<float>& saved) {
  std::size_t i = 0;
  for (TVariable& v : FVariables)
    for (TMember& m : v.Members) *m.Value = saved[i++];
}

void TRefinement::Shift(const std::vector<double>& shifts) {
  for (std::size_t j = 0; j < FVariables.size(); ++j)
    for (TMember& m : FVariables[j].Members) *m.Value = static_cast<float>(*m.Value + m.Multiplier * shifts[j]);
}

bool TRefinement::AnalyticColumns(std::vector<TDerivativeColumn>& columns) const {
  const int n = VariableCount();
  columns.assign(static_cast<std::size_t>(n), TDerivativeColumn());
  bool all = true;
  for (int j = 0; j < n; ++j) {
    const TVariable& v = FVariables[static_cast<std::size_t>(j)];
    if (FNumeric || !v.Analytic) {
      all = false;
      continue;
    }
    for (const TMember& mem : v.Members) columns[static_cast<std::size_t>(j)].push_back({mem.H, mem.P, mem.A, mem.T, mem.Multiplier});
  }
  return all;
}

int TRefinement::FillDerivatives(const std::function<void(double)>& progress) {
  const int n = VariableCount();
  // The last cycle's accepted trial left the pattern and its derivatives here.
  const bool ready = FReady && FPattern.Generation() == FReadyGeneration && Save() == FReadyAt;
  FReady = false;
  if (ready) {
    FSumBefore = FPattern.WeightedSum();
    if (progress) progress(80);
    return zeNone;
  }
  std::vector<TDerivativeColumn> columns;
  AnalyticColumns(columns);
  // The pattern and the closed-form columns in one pass, those of values
  // that enter through |F|^2 as reflection profiles.
  if (int e = FPattern.CalculateDerivatives(columns, true); e != zeNone) return e;
  FSumBefore = FPattern.WeightedSum();

  // Central differences for the rest, one column per variable.
  const int histograms = FPattern.HistogramCount();
  std::vector<std::vector<double>> baseline(static_cast<std::size_t>(histograms)), plus(baseline.size());
  bool numeric = false;
  const std::vector<float> saved = Save();
  for (int j = 0; j < n; ++j) {
    TVariable& v = FVariables[static_cast<std::size_t>(j)];
    if (!FNumeric && v.Analytic) continue;
    if (!numeric) {
      for (int h = 1; h <= histograms; ++h) baseline[h - 1] = FPattern.Data(h).Calculated;
      numeric = true;
    }
    const double step = v.Step;
    for (int sign : {+1, -1}) {
      for (TMember& mem : v.Members) *mem.Value = static_cast<float>(*mem.Value + sign * mem.Multiplier * step);
      int error = zeNone;
      if (v.Histograms.empty())
        error = FPattern.Calculate();
      else
        for (int h : v.Histograms) error = std::max(error, FPattern.Calculate(h));
      Restore(saved);
      if (error != zeNone) {
        FProblem = v.Name;
        for (int h = 1; h <= histograms; ++h) FPattern.Data(h).Calculated = baseline[h - 1];
        return error;
      }
      for (int h = 1; h <= histograms; ++h) {
        const bool affected = v.Histograms.empty() || std::find(v.Histograms.begin(), v.Histograms.end(), h) != v.Histograms.end();
        if (!affected) continue;
        THistogramData& d = FPattern.Data(h);
        if (sign > 0) {
          plus[h - 1] = d.Calculated;
          continue;
        }
        for (std::size_t i = 0; i < d.X.size(); ++i)
          d.Derivatives[static_cast<std::size_t>(j) * d.X.size() + i] = (plus[h - 1][i] - d.Calculated[i]) / (2 * step);
      }
    }
    if (progress) progress(80.0 * (j + 1) / n);
  }
  // Structure-factor caches and the pattern follow the restored values.
  if (numeric) FPattern.Calculate();
  if (progress) progress(80);
  return zeNone;
}

int TRefinement::Derivatives(std::vector<double>& rows) {
  rows.clear();
  const int n = VariableCount();
  if (int e = FillDerivatives({}); e != zeNone) return e;
  std::vector<double> columns;
  for (int h = 1; h <= FPattern.HistogramCount(); ++h) {
    const THistogramData& d = FPattern.Data(h);
    const std::size_t points = d.X.size();
    // Every column point by point, those held as reflection profiles summed out.
    columns.assign(d.Derivatives.begin(), d.Derivatives.end());
    columns.resize(static_cast<std::size_t>(n) * points, 0.0);
    for (const auto& P : d.Profiles)
      for (std::size_t s = 0; s < d.ProfileColumns.size(); ++s) {
        const double c = d.ProfileCoefs[P.Coefs + s];
        double* column = columns.data() + static_cast<std::size_t>(d.ProfileColumns[s]) * points + P.First;
        for (std::size_t k = 0; k < P.Count && P.First + k < points; ++k) column[k] += c * d.ProfileValues[P.Offset + k];
      }
    for (std::size_t i = 0; i < points && i < d.Weight.size(); ++i)
      if (d.Used[i] && d.Weight[i] > 0)
        for (int j = 0; j < n; ++j) rows.push_back(columns[static_cast<std::size_t>(j) * points + i]);
  }
  return zeNone;
}

int TRefinement::NormalEquations(std::vector<double>& a, std::vector<double>& g) {
  if (int e = FillDerivatives({}); e != zeNone) return e;
  NormalEquationsOfPattern(a, g);
  return zeNone;
}

void TRefinement::NormalEquationsOfPattern(std::vector<double>& a, std::vector<double>& g) const {
  const std::size_t n = FVariables.size();
  a.assign(n * n, 0.0);
  g.assign(n, 0.0);
  std::vector<double> w, r, ad, gd, wv, cross, y, sd, ss, zero;
  std::vector<const double*> cols, at;
  std::vector<std::size_t> dense;
  for (int h = 1; h <= FPattern.HistogramCount(); ++h) {
    const THistogramData& d = FPattern.Data(h);
    const std::size_t points = std::min(d.X.size(), d.Weight.size());
    const double weighting = FModel.Histogram(h)->Weighting > 0 ? FModel.Histogram(h)->Weighting : 1.0;
    w.assign(points, 0.0);
    r.assign(points, 0.0);
    bool any = false;
    for (std::size_t i = 0; i < points; ++i)
      if (d.Used[i] && d.Weight[i] > 0) {
        w[i] = weighting * d.Weight[i];
        r[i] = d.Observed[i] - d.Calculated[i];
        any = true;
      }
    if (!any) continue;
    // The columns held point by point.
    const std::vector<int>& kept = d.ProfileColumns;
    dense.clear();
    cols.clear();
    for (std::size_t j = 0; j < n; ++j)
      if (std::find(kept.begin(), kept.end(), static_cast<int>(j)) == kept.end()) {
        dense.push_back(j);
        cols.push_back(d.Derivatives.data() + j * d.X.size());
      }
    const std::size_t nd = dense.size(), ns = kept.size();
    ad.assign(nd * nd, 0.0);
    gd.assign(nd, 0.0);
    if (nd > 0) AddNormalEquations(cols.data(), static_cast<int>(nd), points, w.data(), r.data(), ad.data(), gd.data());
    for (std::size_t i = 0; i < nd; ++i) {
      g[dense[i]] += gd[i];
      for (std::size_t k = 0; k <= i; ++k) a[dense[i] * n + dense[k]] += ad[i * nd + k];
    }
    if (ns == 0 || d.Profiles.empty()) continue;
    // The reflection profiles: J = (point columns) + the sum over profiles P
    // of v_P c_P^T, so J^T W J takes v_P^T W (point columns, residuals) and
    // v_P^T W v_Q of the profiles that overlap. sd: profile columns against
    // point columns and residuals (nd + 1 a row); ss: profile columns
    // against each other.
    const std::size_t wide = ((nd + 1 + 3) / 4) * 4;  // point columns, residuals and padding
    sd.assign(ns * wide, 0.0);
    ss.assign(ns * ns, 0.0);
    cross.resize(wide);
    y.resize(ns);
    std::size_t longest = 0;
    for (const auto& P : d.Profiles) longest = std::max(longest, P.Count);
    zero.assign(longest, 0.0);
    at.resize(wide);
    const auto& profiles = d.Profiles;
    for (std::size_t p = 0; p < profiles.size(); ++p) {
      const auto& P = profiles[p];
      if (P.First >= points) continue;
      const std::size_t count = std::min(P.Count, points - P.First);
      const double* v = d.ProfileValues.data() + P.Offset;
      const double* cp = d.ProfileCoefs.data() + P.Coefs;
      wv.resize(count);
      for (std::size_t k = 0; k < count; ++k) wv[k] = w[P.First + k] * v[k];
      for (std::size_t i = 0; i < nd; ++i) at[i] = cols[i] + P.First;
      at[nd] = r.data() + P.First;
      for (std::size_t i = nd + 1; i < wide; ++i) at[i] = zero.data();
      Dots(wv.data(), count, at.data(), wide, cross.data());
      AddOuter(sd.data(), cp, ns, cross.data(), wide);
      // y: half of its own overlap and the whole of each later one, times
      // their coefficients; the block of the profile columns takes c_P y^T + y c_P^T.
      std::fill(y.begin(), y.end(), 0.0);
      for (std::size_t q = p; q < profiles.size() && profiles[q].First < P.First + count; ++q) {
        const auto& Q = profiles[q];
        const std::size_t to = std::min(P.First + count, Q.First + Q.Count);
        if (to <= Q.First) continue;
        double m = 0;
        const double* vq = d.ProfileValues.data() + Q.Offset;
        Dots(wv.data() + (Q.First - P.First), to - Q.First, &vq, 1, &m);
        if (q == p) m *= 0.5;
        const double* cq = d.ProfileCoefs.data() + Q.Coefs;
        for (std::size_t s = 0; s < ns; ++s) y[s] += m * cq[s];
      }
      AddOuter(ss.data(), cp, ns, y.data(), ns);
      AddOuter(ss.data(), y.data(), ns, cp, ns);
    }
    for (std::size_t s = 0; s < ns; ++s) {
      const std::size_t cs = static_cast<std::size_t>(kept[s]);
      g[cs] += sd[s * wide + nd];
      for (std::size_t i = 0; i < nd; ++i) a[std::max(cs, dense[i]) * n + std::min(cs, dense[i])] += sd[s * wide + i];
      for (std::size_t t = 0; t <= s; ++t) {
        const std::size_t ct = static_cast<std::size_t>(kept[t]);
        a[std::max(cs, ct) * n + std::min(cs, ct)] += ss[s * ns + t];
      }
    }
  }
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < i; ++j) a[j * n + i] = a[i * n + j];
}

int TRefinement::Cycle(bool& converged, const std::function<void(double)>& progress) {
  converged = false;
  FProblem.clear();
  const int n = VariableCount();
  if (FPattern.HasLeBailPhase()) FPattern.ExtractLeBail(1);
  if (n == 0) {
    if (int e = FPattern.Calculate(); e != zeNone) return e;
    FSumBefore = FPattern.WeightedSum();
    FSumAfter = FSumBefore;
    converged = true;
    if (progress) progress(100);
    return zeNone;
  }

  // Observations: (histogram, point) pairs with a weight.
  struct TObs {
    int H;
    std::size_t I;
    double W;
  };
  std::vector<TObs> obs;
  for (int h = 1; h <= FPattern.HistogramCount(); ++h) {
    const THistogramData& d = FPattern.Data(h);
    const double scale = FModel.Histogram(h)->Weighting > 0 ? FModel.Histogram(h)->Weighting : 1.0;
    for (std::size_t i = 0; i < d.X.size() && i < d.Weight.size(); ++i)
      if (d.Used[i] && d.Weight[i] > 0) obs.push_back({h, i, scale * d.Weight[i]});
  }
  const std::size_t m = obs.size();
  if (static_cast<std::size_t>(n) >= m) return zeTooManyParameters;

  if (int e = FillDerivatives(progress); e != zeNone) return e;
  const std::vector<float> saved = Save();

  // Normal equations A d = g.
  std::vector<double> a, g;
  NormalEquationsOfPattern(a, g);
  for (int i = 0; i < n; ++i)
    if (!(a[i * n + i] > 0) || !std::isfinite(a[i * n + i])) {
      FProblem = FVariables[i].Name;
      return zeUnstable;
    }

  // Scale to unit diagonal, so the damping and the pivot test do not depend on units.
  std::vector<double> scale(n), c(a);
  for (int i = 0; i < n; ++i) scale[i] = 1.0 / std::sqrt(a[i * n + i]);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) c[i * n + j] *= scale[i] * scale[j];
  std::vector<double> inverse = c;
  if (!InvertSymmetric(inverse, n)) {
    FProblem = "singular normal matrix";
    return zeUnstable;
  }
  FCorrelation.assign(static_cast<std::size_t>(n) * n, 0.0);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      FCorrelation[i * n + j] = inverse[i * n + j] / std::sqrt(inverse[i * n + i] * inverse[j * n + j]);

  auto solve = [&](double lambda, std::vector<double>& shifts) {
    std::vector<double> damped = c;
    for (int i = 0; i < n; ++i) damped[i * n + i] *= 1.0 + lambda;
    std::vector<double> rhs(n);
    for (int i = 0; i < n; ++i) rhs[i] = g[i] * scale[i];
    if (!SolveSymmetric(damped, rhs, n)) return false;
    shifts.resize(n);
    for (int i = 0; i < n; ++i) shifts[i] = rhs[i] * scale[i] * Relaxation(FVariables[i].Group);
    return std::all_of(shifts.begin(), shifts.end(), [](double s) { return std::isfinite(s); });
  };
  // Values that must stay positive (scales, cell lengths, March-Dollase
  // ratio, the time-of-flight exponentials) move at most half-way to zero in
  // one cycle; the rest of the shifts are kept.
  auto mustStayPositive = [this](const TMember& m) {
    if (m.P == ScatterPhase) return false;
    if (m.H == 0 && m.A == 0) return m.T == 1 || (m.T >= 6 && m.T <= 8);
    if (m.H > 0 && m.P == 0) return m.T == 26;
    if (m.H > 0 && m.P > 0 && m.A == 0) {
      // Time of flight: the width terms are squares of the Gaussian widths.
      const bool tof = FModel.Histogram(m.H) != nullptr && FModel.Histogram(m.H)->IsTimeOfFlight();
      return m.T == 12 || m.T == 21 || m.T == 23 || (tof && m.T >= 3 && m.T <= 5);
    }
    return false;
  };
  auto limit = [&](std::vector<double>& shifts) {
    for (std::size_t j = 0; j < FVariables.size(); ++j)
      for (const TMember& mem : FVariables[j].Members) {
        if (!mustStayPositive(mem) || !(*mem.Value > 0)) continue;
        const double next = *mem.Value + mem.Multiplier * shifts[j];
        if (next < 0.5 * *mem.Value) shifts[j] = -0.5 * *mem.Value / mem.Multiplier;
      }
  };
  std::vector<double> applied;
  // The first trial, accepted as a rule, takes its derivatives along: the
  // next cycle starts from them instead of computing the pattern again.
  // Central differences and Le Bail extraction (which changes intensities
  // between cycles) rule that out.
  std::vector<TDerivativeColumn> columns;
  bool withDerivatives = AnalyticColumns(columns) && !FPattern.HasLeBailPhase();
  bool derived = false;
  auto trial = [&](std::vector<double> shifts) {
    Restore(saved);
    limit(shifts);
    Shift(shifts);
    applied = shifts;
    derived = withDerivatives;
    withDerivatives = false;
    if ((derived ? FPattern.CalculateDerivatives(columns, true) : FPattern.Calculate()) != zeNone)
      return std::numeric_limits<double>::infinity();
    const double s = FPattern.WeightedSum();
    return std::isfinite(s) ? s : std::numeric_limits<double>::infinity();
  };

  if (FModel.Strategy == 0) FLambda = 0;
  else if (FModel.Strategy == 1) FLambda = std::max(0.0, double(FModel.Marquardt));
  else if (FLambda <= 0) FLambda = FModel.Marquardt > 0 ? FModel.Marquardt : 1e-3;

  std::vector<double> shifts;
  double after = std::numeric_limits<double>::infinity();
  bool accepted = false;
  double lambda = FLambda;
  for (int attempt = 0; attempt < 10 && !accepted; ++attempt) {
    if (attempt > 0) lambda = std::max(lambda * 10.0, 1e-3);
    if (!solve(lambda, shifts)) continue;
    after = trial(shifts);
    accepted = after <= FSumBefore * (1 + 1e-7) + 1e-300;
  }
  if (progress) progress(95);

  const double freedom = double(m) - n;
  std::vector<double> esd(n);
  if (!accepted) {
    // No step lowers the sum: at the minimum when the best shifts are tiny.
    Restore(saved);
    FPattern.Calculate();
    FSumAfter = FSumBefore;
    std::vector<double> full;
    if (!solve(0, full)) return zeUnstable;
    bool tiny = true;
    for (int i = 0; i < n; ++i) {
      esd[i] = scale[i] * std::sqrt(std::max(0.0, inverse[i * n + i]) * FSumBefore / freedom);
      tiny = tiny && std::fabs(full[i]) <= std::max(FModel.EPS, 0.01f) * esd[i];
    }
    if (!tiny) {
      FProblem = "no shift lowers the weighted sum of squares";
      return zeUnstable;
    }
    for (int i = 0; i < n; ++i) {
      FVariables[i].Esd = esd[i];
      FVariables[i].LastShift = 0;
    }
    converged = true;
    FPattern.UpdateWeights();
    if (progress) progress(100);
    return zeNone;
  }

  shifts = applied;
  FSumAfter = after;
  if (derived) {
    FReady = true;
    FReadyAt = Save();
    FReadyGeneration = FPattern.Generation();
  }
  if (FModel.Strategy == 2) FLambda = std::max(lambda / 10.0, 1e-6);
  double worst = 0;
  for (int i = 0; i < n; ++i) {
    esd[i] = scale[i] * std::sqrt(std::max(0.0, inverse[i * n + i]) * after / freedom);
    if (!std::isfinite(esd[i])) return zeUnstable;
    FVariables[i].Esd = esd[i];
    FVariables[i].LastShift = shifts[i];
    if (esd[i] > 0) worst = std::max(worst, std::fabs(shifts[i]) / esd[i]);
  }
  for (const TVariable& v : FVariables)
    for (const TMember& mem : v.Members)
      if (!std::isfinite(*mem.Value)) {
        Restore(saved);
        FPattern.Calculate();
        FProblem = v.Name;
        return zeUnstable;
      }
  // Shifts small against their standard errors say nothing while the sum
  // still falls: far from the minimum the errors are inflated by the misfit
  // itself. Converged also needs the sum to have stopped falling.
  converged = worst < FModel.EPS && FSumBefore - after <= MaterialDrop * FSumBefore;
  FPattern.UpdateWeights();
  if (progress) progress(100);
  return zeNone;
}

int TRefinement::SolveScales() {
  auto isScale = [this](const TMember& m) {
    if (m.P == ScatterPhase || m.A != 0) return false;
    if (m.H == 0 && m.P > 0 && m.T == 1) return FModel.Phase(m.P)->CalcMethod == 0;  // Le Bail scales are free
    return m.H > 0 && m.P == 0 && m.T == 26;
  };
  std::vector<int> linear;
  for (std::size_t j = 0; j < FVariables.size(); ++j)
    if (std::all_of(FVariables[j].Members.begin(), FVariables[j].Members.end(), isScale))
      linear.push_back(static_cast<int>(j));
  if (linear.empty()) return zeNone;
  if (int e = FPattern.Calculate(); e != zeNone) return e;
  const double before = FPattern.WeightedSum();
  const std::vector<float> saved = Save();
  const int hc = FPattern.HistogramCount();
  std::vector<std::vector<double>> base(static_cast<std::size_t>(hc));
  for (int h = 1; h <= hc; ++h) base[h - 1] = FPattern.Data(h).Calculated;

  // Each column: the change of the pattern per unit of the variable, exact
  // for a linear parameter whatever the step.
  const int n = static_cast<int>(linear.size());
  std::vector<std::vector<std::vector<double>>> columns(static_cast<std::size_t>(n));
  for (int j = 0; j < n; ++j) {
    TVariable& v = FVariables[static_cast<std::size_t>(linear[j])];
    const TMember& first = v.Members.front();
    const double step = std::max(std::fabs(double(*first.Value)), 1e-6) / std::max(std::fabs(first.Multiplier), 1e-12);
    for (TMember& mem : v.Members) *mem.Value = static_cast<float>(*mem.Value + mem.Multiplier * step);
    const int error = FPattern.Calculate();
    Restore(saved);
    if (error != zeNone) {
      FPattern.Calculate();
      return zeNone;  // the cycles will meet the same problem and name it
    }
    columns[j].resize(static_cast<std::size_t>(hc));
    for (int h = 1; h <= hc; ++h) {
      std::vector<double>& c = columns[j][h - 1];
      c = FPattern.Data(h).Calculated;
      for (std::size_t i = 0; i < c.size(); ++i) c[i] = (c[i] - base[h - 1][i]) / step;
    }
  }
  std::vector<double> a(static_cast<std::size_t>(n) * n, 0.0), g(n, 0.0);
  for (int h = 1; h <= hc; ++h) {
    const THistogramData& d = FPattern.Data(h);
    const double weighting = FModel.Histogram(h)->Weighting > 0 ? FModel.Histogram(h)->Weighting : 1.0;
    for (std::size_t i = 0; i < d.X.size() && i < d.Weight.size(); ++i) {
      if (!d.Used[i] || !(d.Weight[i] > 0)) continue;
      const double w = weighting * d.Weight[i], r = d.Observed[i] - base[h - 1][i];
      for (int j = 0; j < n; ++j) {
        const double cj = columns[j][h - 1][i];
        g[j] += w * cj * r;
        for (int k = 0; k <= j; ++k) a[j * n + k] += w * cj * columns[k][h - 1][i];
      }
    }
  }
  for (int j = 0; j < n; ++j)
    for (int k = 0; k < j; ++k) a[k * n + j] = a[j * n + k];
  FPattern.Calculate();
  if (!SolveSymmetric(a, g, n)) return zeNone;  // scales that cannot be told apart: left to the cycles
  for (int j = 0; j < n; ++j)
    for (TMember& mem : FVariables[static_cast<std::size_t>(linear[j])].Members) {
      const double next = *mem.Value + mem.Multiplier * g[j];
      if (!std::isfinite(next) || !(next > 0)) {
        Restore(saved);
        return zeNone;
      }
      *mem.Value = static_cast<float>(next);
    }
  if (FPattern.Calculate() != zeNone || !(FPattern.WeightedSum() < before)) {
    Restore(saved);
    FPattern.Calculate();
    return zeNone;
  }
  FPattern.UpdateWeights();
  return zeNone;
}

bool TRefinement::AddressEsd(int h, int p, int a, int t, double& esd) const {
  for (const TVariable& v : FVariables)
    for (const TMember& m : v.Members)
      if (m.H == h && m.P == p && m.A == a && m.T == t) {
        esd = std::fabs(m.Multiplier) * v.Esd;
        return true;
      }
  esd = 0;
  return false;
}

const TVariable* TRefinement::VariableByNumber(int number) const {
  for (const TVariable& v : FVariables)
    if (v.Number == number) return &v;
  return nullptr;
}
