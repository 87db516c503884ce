#include "core/fourier.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "core/limits.h"

#include "core/pattern.h"
#include "model/rietclass.h"

void Fft1D(std::complex<double>* data, int n, int stride, int sign) {
  // Bit-reversal permutation, then butterflies.
  for (int i = 1, j = 0; i < n; ++i) {
    int bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(data[i * stride], data[j * stride]);
  }
  for (int len = 2; len <= n; len <<= 1) {
    const double angle = sign * 2 * Pi / len;
    const std::complex<double> wlen(std::cos(angle), std::sin(angle));
    for (int i = 0; i < n; i += len) {
      std::complex<double> w(1);
      for (int k = 0; k < len / 2; ++k) {
        std::complex<double>& a = data[(i + k) * stride];
        std::complex<double>& b = data[(i + k + len / 2) * stride];
        const std::complex<double> u = a, v = b * w;
        a = u + v;
        b = u - v;
        w *= wlen;
      }
    }
  }
}

void Fft3D(std::vector<std::complex<double>>& grid, int n, int sign) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) Fft1D(&grid[(static_cast<std::size_t>(i) * n + j) * n], n, 1, sign);
  for (int i = 0; i < n; ++i)
    for (int k = 0; k < n; ++k) Fft1D(&grid[static_cast<std::size_t>(i) * n * n + k], n, n, sign);
  for (int j = 0; j < n; ++j)
    for (int k = 0; k < n; ++k) Fft1D(&grid[static_cast<std::size_t>(j) * n + k], n, n * n, sign);
}

int ComputeMap(TPattern& pattern, int h, int p, int axis, int kind, std::vector<float>& map, float& minimum,
               float& maximum) {
  const TRietveld& model = pattern.Model();
  if (h < 1 || h > pattern.HistogramCount() || p < 1 || p > model.PhaseCount() || axis < 1 || axis > 3 || kind < 0 ||
      kind > 5)
    return 1;
  TPhaseView& view = pattern.Views(h)[static_cast<std::size_t>(p - 1)];
  const bool leBail = model.Phase(p)->CalcMethod != 0;
  const bool needsPhases = kind <= mkFourierDiff;
  if (leBail && kind != mkPattersonObs) return 2;
  if (needsPhases && view.Scatterers.empty()) return 2;
  pattern.Calculate(h);
  const std::vector<double> observed = pattern.Data(h).Calculation ? std::vector<double>() : pattern.ObservedF2(h, view);

  const int n = MapGrid;
  std::vector<std::complex<double>> grid(static_cast<std::size_t>(n) * n * n);
  auto cellOf = [n](int v) { return ((v % n) + n) % n; };
  const TSpaceGroup& group = pattern.Group(p);
  // The indices that land on the grid, gathered first so that the cost of
  // their structure factors is known before they are computed. Beyond this
  // 1/d no index triple fits the grid.
  const TCell cell = pattern.Cell(p);
  const auto& rec = cell.ReciprocalMetric();
  const double reach = (n / 2 - 1) * (std::sqrt(rec[0][0]) + std::sqrt(rec[1][1]) + std::sqrt(rec[2][2]));
  std::vector<std::pair<std::size_t, TMiller>> terms;
  for (std::size_t k = 0; k < view.Reflections.size(); ++k) {
    const TReflection& r = view.Reflections[k];
    if (!(std::sqrt(cell.InverseDSquared(r.Hkl)) <= reach * (1 + 1e-9))) continue;
    for (const TMiller& m : group.EquivalentIndices(r.Hkl))
      if (std::abs(m[0]) < n / 2 && std::abs(m[1]) < n / 2 && std::abs(m[2]) < n / 2) terms.push_back({k, m});
  }
  if (!leBail && double(terms.size()) * model.Phase(p)->AtomCount() * group.Order() > MaxMapWork) return 3;
  for (const auto& [k, m] : terms) {
    const TReflection& r = view.Reflections[k];
    const double calc2 = r.F2;
    const double obs2 = observed.empty() ? calc2 : observed[k];
    const double ratio = calc2 > 0 ? std::sqrt(obs2 / calc2) : 0.0;
    {
      std::complex<double> c;
      if (leBail) {
        c = obs2;
      } else {
        const std::complex<double> fc = pattern.StructureFactor(h, view, m);
        const double amp = std::abs(fc);
        const std::complex<double> unit = amp > 0 ? fc / amp : std::complex<double>(1);
        switch (kind) {
          case mkFourierObs: c = amp * ratio * unit; break;
          case mkFourierCalc: c = fc; break;
          case mkFourierDiff: c = (amp * ratio - amp) * unit; break;
          case mkPattersonObs: c = amp * amp * ratio * ratio; break;
          case mkPattersonCalc: c = amp * amp; break;
          default: c = amp * amp * (ratio * ratio - 1); break;
        }
      }
      grid[(static_cast<std::size_t>(cellOf(m[0])) * n + cellOf(m[1])) * n + cellOf(m[2])] += c;
    }
  }
  if (!leBail && kind != mkFourierDiff && kind != mkPattersonDiff) {
    const double f000 = pattern.ForwardScattering(h, view);
    grid[0] += (kind == mkFourierObs || kind == mkFourierCalc) ? f000 : f000 * f000;
  }
  // rho(x) = (1/V) sum F(h) exp(-2 pi i h.x).
  Fft3D(grid, n, -1);
  const double volume = pattern.Cell(p).Volume();
  map.assign(static_cast<std::size_t>(n) * n * n, 0.0f);
  minimum = maximum = 0;
  bool first = true;
  for (int s = 0; s < n; ++s)
    for (int row = 0; row < n; ++row)
      for (int col = 0; col < n; ++col) {
        int ix = 0, iy = 0, iz = 0;
        switch (axis) {
          case 1: ix = s; iy = row; iz = col; break;
          case 2: iy = s; iz = row; ix = col; break;
          default: iz = s; ix = row; iy = col; break;
        }
        const float v = static_cast<float>(grid[(static_cast<std::size_t>(ix) * n + iy) * n + iz].real() / volume);
        map[(static_cast<std::size_t>(s) * n + row) * n + col] = v;
        if (first || v < minimum) minimum = v;
        if (first || v > maximum) maximum = v;
        first = false;
      }
  return 0;
}

int ComputeRdf(const TPattern& pattern, int p, int kind, double range, int points, float* values) {
  const TRietveld& model = pattern.Model();
  if (p < 1 || p > model.PhaseCount() || kind < 1 || kind > 5 || !(range > 0) || range > MaxRdfRange || points < 2 ||
      points > 100000 || values == nullptr || pattern.HistogramCount() < 1)
    return 1;
  const TPhaseView& view = pattern.Views(1)[static_cast<std::size_t>(p - 1)];
  const TPhase& phase = *model.Phase(p);
  if (phase.CalcMethod != 0 || view.Scatterers.empty()) return 2;
  const TCell cell = pattern.Cell(p);
  if (!cell.IsValid()) return 1;
  const TSpaceGroup& group = pattern.Group(p);

  struct TSite {
    TVec3 X;
    double Occupancy, F, U2;
  };
  // The sites of each atom.
  std::vector<std::vector<TSite>> sites;
  double count = 0, meanF = 0, siteCount = 0;
  for (int a = 1; a <= phase.AtomCount(); ++a) {
    const TAtom& atom = *phase.Atom(a);
    const double f = view.Scatterers[static_cast<std::size_t>(a - 1)].Forward();
    const double u2 = std::max(0.0, double(atom.B + phase.IsoThermal)) / (8 * Pi * Pi);
    // Each distinct image holds N x (stabiliser order) of an atom: N x M atoms
    // spread over the M / stabiliser images.
    const double fraction = double(atom.N) * std::max(1, group.StabiliserOrder({atom.X, atom.Y, atom.Z}));
    sites.emplace_back();
    for (const TVec3& x : group.Orbit({atom.X, atom.Y, atom.Z})) {
      sites.back().push_back({x, fraction, f, u2});
      count += fraction;
      meanF += fraction * f;
    }
    siteCount += double(sites.back().size());
  }
  if (count <= 0 || meanF == 0 || !std::isfinite(meanF)) return 2;
  meanF /= count;
  const double rho0 = count / cell.Volume();

  // The lattice translations that reach `range`, counted as reals before
  // they become integers, and the pair positions they make.
  const auto& rec = cell.ReciprocalMetric();
  int span[3];
  double box = 1;
  for (int i = 0; i < 3; ++i) {
    const double reach = std::ceil(range * std::sqrt(rec[i][i])) + 1;
    if (!(reach <= 10000)) return 3;
    span[i] = static_cast<int>(reach);
    box *= 2 * reach + 1;
  }
  if (siteCount * siteCount * box > MaxRdfTrials) return 3;

  // Pair distances binned finely, one histogram per pair of atoms (their
  // broadening), the histograms made and broadened one at a time.
  const double dr = range / points;
  const double bin = dr / 10;
  const int bins = points * 10 + 1;
  std::vector<double> hist(static_cast<std::size_t>(bins), 0.0);
  std::vector<int> touched;
  std::vector<double> g(static_cast<std::size_t>(points), 0.0);
  double broadening = 0;
  const int atoms = static_cast<int>(sites.size());
  for (int ka = 0; ka < atoms; ++ka)
    for (int kb = ka; kb < atoms; ++kb) {
      double sigma = 0;
      auto add = [&](const std::vector<TSite>& from, const std::vector<TSite>& to) {
        for (const TSite& si : from)
          for (const TSite& sj : to) {
            sigma = std::sqrt(si.U2 + sj.U2 + 1e-4);
            const double w = si.Occupancy * sj.Occupancy * si.F * sj.F / (meanF * meanF * count);
            for (int a = -span[0]; a <= span[0]; ++a)
              for (int b = -span[1]; b <= span[1]; ++b)
                for (int c = -span[2]; c <= span[2]; ++c) {
                  const double r = cell.Length({sj.X[0] + a - si.X[0], sj.X[1] + b - si.X[1], sj.X[2] + c - si.X[2]});
                  if (r < 1e-6 || r >= range) continue;
                  const std::size_t k = static_cast<std::size_t>(std::lround(r / bin));
                  if (hist[k] == 0) touched.push_back(static_cast<int>(k));
                  hist[k] += w;
                }
          }
      };
      add(sites[static_cast<std::size_t>(ka)], sites[static_cast<std::size_t>(kb)]);
      if (kb != ka) add(sites[static_cast<std::size_t>(kb)], sites[static_cast<std::size_t>(ka)]);
      if (touched.empty()) continue;
      std::sort(touched.begin(), touched.end());
      touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
      // g(R) = sum of Gaussian-broadened pair weights / (4 pi R^2 rho0). The
      // window is clamped as a real: a huge B must not overflow an int.
      const double reach = 5 * sigma;
      const double window = std::min(double(points), 2 * reach / dr + 2);
      broadening += window * double(touched.size());
      if (broadening > MaxRdfTrials) return 3;
      for (int b : touched) {
        const double weight = hist[static_cast<std::size_t>(b)];
        hist[static_cast<std::size_t>(b)] = 0;
        if (weight == 0) continue;
        const double r0 = b * bin;
        const int lo = static_cast<int>(std::clamp(std::floor((r0 - reach) / dr), 1.0, double(points)));
        const int hi = static_cast<int>(std::clamp(std::ceil((r0 + reach) / dr), 0.0, double(points - 1)));
        for (int i = lo; i <= hi; ++i) {
          const double r = i * dr;
          const double z = (r - r0) / sigma;
          g[static_cast<std::size_t>(i)] += weight * std::exp(-0.5 * z * z) / (sigma * std::sqrt(2 * Pi));
        }
      }
      touched.clear();
    }
  double running = 0;
  for (int i = 0; i < points; ++i) {
    const double r = i * dr;
    const double gi = r > 0 ? g[static_cast<std::size_t>(i)] / (4 * Pi * r * r * rho0) : 0.0;
    const double density = 4 * Pi * r * r * rho0 * gi;  // pair density per unit R
    if (i > 0) {
      const double rPrev = (i - 1) * dr;
      const double gPrev = rPrev > 0 ? g[static_cast<std::size_t>(i - 1)] / (4 * Pi * rPrev * rPrev * rho0) : 0.0;
      running += 0.5 * dr * (density + 4 * Pi * rPrev * rPrev * rho0 * gPrev);
    }
    double v = 0;
    switch (kind) {
      case 1: v = gi; break;
      case 2: v = r > 0 ? gi - 1 : 0; break;
      case 3: v = 4 * Pi * rho0 * r * (gi - 1); break;
      case 4: v = 4 * Pi * rho0 * r * gi; break;
      default: v = running; break;
    }
    values[i] = static_cast<float>(v);
  }
  return 0;
}
