#include "core/background.h"

#include <algorithm>
#include <cmath>

#include "model/rietclass.h"

namespace {

// Chebyshev polynomials of the first (second = false) or second kind at q.
double ChebyshevSum(const std::array<float, 24>& b, int terms, double q, bool second) {
  double previous = 1.0, current = second ? 2.0 * q : q;
  double sum = b[0] * previous;
  if (terms > 1) sum += b[1] * current;
  for (int k = 2; k < terms; ++k) {
    const double next = 2.0 * q * current - previous;
    previous = current;
    current = next;
    sum += b[k] * current;
  }
  return sum;
}

double Sinc(double v) { return std::sin(v) / v; }
double SincSlope(double v) { return (std::cos(v) * v - std::sin(v)) / (v * v); }

// T_k (or U_k) at q.
double Chebyshev(int k, double q, bool second) {
  double previous = 1.0, current = second ? 2.0 * q : q;
  if (k == 0) return previous;
  for (int i = 1; i < k; ++i) {
    const double next = 2.0 * q * current - previous;
    previous = current;
    current = next;
  }
  return current;
}

}  // namespace

double BackgroundValue(const THistogram& histogram, const TBackgroundRange& range, double x, double q, int& error) {
  const TBackGround& bg = histogram.Background;
  const auto& b = bg.Coefficients;
  const int terms = std::clamp(range.Terms, 1, 24);
  const double width = range.XMax - range.XMin;
  const double unit = width > 0 ? 2.0 * (x - range.XMin) / width - 1.0 : 0.0;  // x on [-1, 1]
  switch (bg.Kind) {
    case bkPolynomial: {
      // Powers of x / origin - 1 about the offset; without an offset, of x on [-1, 1].
      const double t = bg.Offset != 0 ? x / bg.Offset - 1.0 : unit;
      double sum = 0, power = 1;
      for (int k = 0; k < terms; ++k) {
        sum += b[k] * power;
        power *= t;
      }
      return sum;
    }
    case bkChebyI:
    case bkShiftedChebyI:
      // The shifted polynomials T*_k(u) on u in [0, 1] are T_k(2u - 1): the same curves.
      return ChebyshevSum(b, terms, unit, false);
    case bkChebyII:
    case bkShiftedChebyII:
      return ChebyshevSum(b, terms, unit, true);
    case bkAmorphous: {
      // B0 + sum of amplitude sin(qR)/(qR) over (amplitude, R) pairs.
      double sum = b[0];
      for (int k = 1; k + 1 < terms; k += 2) {
        if (b[k] == 0) continue;
        const double qr = q * b[k + 1];
        if (qr == 0) {
          error = beAmorphousZero;
          return 0;
        }
        sum += b[k] * Sinc(qr);
      }
      return sum;
    }
    case bkDampedAmorphous: {
      // B0 + sum of amplitude sin(qR)/(qR) exp(-damping q^2) over triples.
      double sum = b[0];
      for (int k = 1; k + 2 < terms; k += 3) {
        if (b[k] == 0) continue;
        const double qr = q * b[k + 1];
        if (qr == 0) {
          error = beAmorphousZero;
          return 0;
        }
        sum += b[k] * Sinc(qr) * std::exp(-b[k + 2] * q * q);
      }
      return sum;
    }
    case bkUserPoints: {
      const auto& p = bg.Points.Items;
      if (p.empty()) return 0;
      if (x <= p.front().X) return p.front().Y;
      if (x >= p.back().X) return p.back().Y;
      for (std::size_t i = 1; i < p.size(); ++i)
        if (x <= p[i].X) {
          const double dx = double(p[i].X) - p[i - 1].X;
          if (dx <= 0) {
            error = beInterpolation;
            return 0;
          }
          return p[i - 1].Y + (double(p[i].Y) - p[i - 1].Y) * (x - p[i - 1].X) / dx;
        }
      return p.back().Y;
    }
    default:
      return 0;
  }
}

double BackgroundDerivative(const THistogram& histogram, const TBackgroundRange& range, double x, double q, int k) {
  const TBackGround& bg = histogram.Background;
  const auto& b = bg.Coefficients;
  const int terms = std::clamp(range.Terms, 1, 24);
  if (k < 0 || k >= terms) return 0;
  const double width = range.XMax - range.XMin;
  const double unit = width > 0 ? 2.0 * (x - range.XMin) / width - 1.0 : 0.0;
  switch (bg.Kind) {
    case bkPolynomial: {
      const double t = bg.Offset != 0 ? x / bg.Offset - 1.0 : unit;
      double power = 1;
      for (int i = 0; i < k; ++i) power *= t;
      return power;
    }
    case bkChebyI:
    case bkShiftedChebyI:
      return Chebyshev(k, unit, false);
    case bkChebyII:
    case bkShiftedChebyII:
      return Chebyshev(k, unit, true);
    case bkAmorphous: {
      if (k == 0) return 1;
      const int first = k % 2 == 1 ? k : k - 1;  // the pair's amplitude
      if (first + 1 >= terms) return 0;
      const double qr = q * b[first + 1];
      if (qr == 0) return 0;
      return k == first ? Sinc(qr) : b[first] * q * SincSlope(qr);
    }
    case bkDampedAmorphous: {
      if (k == 0) return 1;
      const int first = k - (k - 1) % 3;  // the triple's amplitude
      if (first + 2 >= terms) return 0;
      const double qr = q * b[first + 1];
      if (qr == 0) return 0;
      const double damping = std::exp(-b[first + 2] * q * q);
      if (k == first) return Sinc(qr) * damping;
      if (k == first + 1) return b[first] * q * SincSlope(qr) * damping;
      return -b[first] * Sinc(qr) * q * q * damping;
    }
    default:
      return 0;
  }
}

void BackgroundDerivatives(const THistogram& histogram, const TBackgroundRange& range, double x, double q, int count,
                           double* out) {
  const TBackGround& bg = histogram.Background;
  const int terms = std::clamp(range.Terms, 1, 24);
  const double width = range.XMax - range.XMin;
  const double unit = width > 0 ? 2.0 * (x - range.XMin) / width - 1.0 : 0.0;
  switch (bg.Kind) {
    case bkPolynomial: {
      const double t = bg.Offset != 0 ? x / bg.Offset - 1.0 : unit;
      double power = 1;
      for (int k = 0; k < count; ++k) {
        out[k] = k < terms ? power : 0.0;
        power *= t;
      }
      return;
    }
    case bkChebyI:
    case bkShiftedChebyI:
    case bkChebyII:
    case bkShiftedChebyII: {
      const bool second = bg.Kind == bkChebyII || bg.Kind == bkShiftedChebyII;
      double previous = 1.0, current = second ? 2.0 * unit : unit;
      for (int k = 0; k < count; ++k) {
        out[k] = k >= terms ? 0.0 : (k == 0 ? previous : current);
        if (k >= 1) {
          const double next = 2.0 * unit * current - previous;
          previous = current;
          current = next;
        }
      }
      return;
    }
    default:
      for (int k = 0; k < count; ++k) out[k] = BackgroundDerivative(histogram, range, x, q, k);
  }
}

int CheckBackgroundPoints(const THistogram& histogram) {
  if (histogram.Background.Kind != bkUserPoints) return beNone;
  const auto& p = histogram.Background.Points.Items;
  for (std::size_t i = 1; i < p.size(); ++i)
    if (p[i].X <= p[i - 1].X) return beInterpolation;
  return beNone;
}

std::vector<double> SmoothedBackground(const std::vector<double>& y, int cycles, int steps) {
  std::vector<double> b = y;
  const int n = static_cast<int>(b.size());
  steps = std::max(1, steps);
  for (int c = 0; c < std::max(0, cycles); ++c) {
    std::vector<double> next = b;
    for (int i = 0; i < n; ++i) {
      const int lo = std::max(0, i - steps), hi = std::min(n - 1, i + steps);
      const double mean = 0.5 * (b[lo] + b[hi]);
      if (mean < b[i]) next[i] = mean;
    }
    b.swap(next);
  }
  return b;
}

double Interpolate(const std::vector<double>& xs, const std::vector<double>& ys, double x) {
  if (xs.empty()) return 0;
  if (x <= xs.front()) return ys.front();
  if (x >= xs.back()) return ys.back();
  const auto it = std::upper_bound(xs.begin(), xs.end(), x);
  const std::size_t i = static_cast<std::size_t>(it - xs.begin());
  const double dx = xs[i] - xs[i - 1];
  if (dx <= 0) return ys[i];
  return ys[i - 1] + (ys[i] - ys[i - 1]) * (x - xs[i - 1]) / dx;
}
