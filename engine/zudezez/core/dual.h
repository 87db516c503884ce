// Forward-mode derivatives: a value with its partial derivatives along K
// directions, carried exactly through the arithmetic and the elementary
// functions. The peak calculation is written once for double and for this
// type, so the derivatives are those of the code that makes the pattern.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>

template <int K>
struct TDual {
  double V;
  std::array<double, K> D;

  TDual() : V(0), D{} {}
  TDual(double v) : V(v), D{} {}  // NOLINT: constants mix freely with duals
  static TDual Seed(double v, int slot) {
    TDual r(v);
    if (slot >= 0 && slot < K) r.D[static_cast<std::size_t>(slot)] = 1;
    return r;
  }
  // f(V) with f'(V) = slope.
  TDual Chain(double value, double slope) const {
    TDual r(Uninitialised{});
    r.V = value;
    for (int k = 0; k < K; ++k) r.D[k] = slope * D[k];
    return r;
  }

private:
  struct Uninitialised {};
  explicit TDual(Uninitialised) {}

public:
  TDual& operator+=(const TDual& b) {
    V += b.V;
    for (int k = 0; k < K; ++k) D[k] += b.D[k];
    return *this;
  }
  TDual& operator-=(const TDual& b) {
    V -= b.V;
    for (int k = 0; k < K; ++k) D[k] -= b.D[k];
    return *this;
  }
  TDual& operator*=(const TDual& b) {
    for (int k = 0; k < K; ++k) D[k] = D[k] * b.V + V * b.D[k];
    V *= b.V;
    return *this;
  }
  TDual& operator/=(const TDual& b) {
    const double q = V / b.V;
    for (int k = 0; k < K; ++k) D[k] = (D[k] - q * b.D[k]) / b.V;
    V = q;
    return *this;
  }
};

template <int K> TDual<K> operator+(TDual<K> a, const TDual<K>& b) { return a += b; }
template <int K> TDual<K> operator-(TDual<K> a, const TDual<K>& b) { return a -= b; }
template <int K> TDual<K> operator*(TDual<K> a, const TDual<K>& b) { return a *= b; }
template <int K> TDual<K> operator/(TDual<K> a, const TDual<K>& b) { return a /= b; }
template <int K> TDual<K> operator+(TDual<K> a, double b) { a.V += b; return a; }
template <int K> TDual<K> operator+(double b, TDual<K> a) { a.V += b; return a; }
template <int K> TDual<K> operator-(TDual<K> a, double b) { a.V -= b; return a; }
template <int K> TDual<K> operator-(double b, const TDual<K>& a) { return a.Chain(b - a.V, -1.0); }
template <int K> TDual<K> operator-(const TDual<K>& a) { return a.Chain(-a.V, -1.0); }
template <int K> TDual<K> operator*(const TDual<K>& a, double b) { return a.Chain(a.V * b, b); }
template <int K> TDual<K> operator*(double b, const TDual<K>& a) { return a.Chain(a.V * b, b); }
template <int K> TDual<K> operator/(const TDual<K>& a, double b) { return a.Chain(a.V / b, 1.0 / b); }
template <int K> TDual<K> operator/(double b, const TDual<K>& a) {
  const double q = b / a.V;
  return a.Chain(q, -q / a.V);
}

template <int K> bool operator<(const TDual<K>& a, const TDual<K>& b) { return a.V < b.V; }
template <int K> bool operator<(const TDual<K>& a, double b) { return a.V < b; }
template <int K> bool operator>(const TDual<K>& a, double b) { return a.V > b; }
template <int K> bool operator<=(const TDual<K>& a, double b) { return a.V <= b; }
template <int K> bool operator>=(const TDual<K>& a, double b) { return a.V >= b; }
template <int K> bool operator!=(const TDual<K>& a, double b) { return a.V != b; }

// The value part, for both kinds.
inline double ValueOf(double x) { return x; }
template <int K> double ValueOf(const TDual<K>& x) { return x.V; }

template <int K> TDual<K> sqrt(const TDual<K>& a) {
  const double s = std::sqrt(a.V);
  return a.Chain(s, s > 0 ? 0.5 / s : 0.0);
}
template <int K> TDual<K> exp(const TDual<K>& a) {
  const double e = std::exp(a.V);
  return a.Chain(e, e);
}
template <int K> TDual<K> log(const TDual<K>& a) { return a.Chain(std::log(a.V), 1.0 / a.V); }
template <int K> TDual<K> sin(const TDual<K>& a) { return a.Chain(std::sin(a.V), std::cos(a.V)); }
template <int K> TDual<K> cos(const TDual<K>& a) { return a.Chain(std::cos(a.V), -std::sin(a.V)); }
template <int K> TDual<K> tan(const TDual<K>& a) {
  const double t = std::tan(a.V);
  return a.Chain(t, 1.0 + t * t);
}
template <int K> TDual<K> asin(const TDual<K>& a) { return a.Chain(std::asin(a.V), 1.0 / std::sqrt(1.0 - a.V * a.V)); }
template <int K> TDual<K> atan(const TDual<K>& a) { return a.Chain(std::atan(a.V), 1.0 / (1.0 + a.V * a.V)); }
template <int K> TDual<K> pow(const TDual<K>& a, double p) {
  const double v = std::pow(a.V, p);
  return a.Chain(v, a.V != 0 ? p * v / a.V : 0.0);
}
template <int K> TDual<K> fabs(const TDual<K>& a) { return a.V < 0 ? -a : a; }
template <int K> TDual<K> max(const TDual<K>& a, double b) { return a.V >= b ? a : TDual<K>(b); }
template <int K> TDual<K> max(const TDual<K>& a, const TDual<K>& b) { return a.V >= b.V ? a : b; }
template <int K> TDual<K> clamp(const TDual<K>& a, double lo, double hi) {
  return a.V < lo ? TDual<K>(lo) : (a.V > hi ? TDual<K>(hi) : a);
}
