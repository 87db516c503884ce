// Forward-mode derivatives: a value with its partial derivatives along K
// directions, carried exactly through the arithmetic and the elementary
// functions. The peak calculation is written once for double and for this
// type, so the derivatives are those of the code that makes the pattern.
#pragma once

#include <algorithm>
#include <cmath>

// The partials are kept four at a time in vector values (the compiler's
// vector extension), and every operation is built into its caller: a
// value then lives in registers instead of going through memory, where
// copies of different widths stall the loads that follow them. The four-wide
// values never cross a call.
template <int K>
struct TDual {
  static_assert(K > 0 && K % 4 == 0, "partials go four at a time");
  using TV4 = double __attribute__((vector_size(32)));
  static constexpr int Chunks = K / 4;
  // Aligned alike whatever the target (without wide registers a four-wide
  // vector would be aligned to 16 bytes only).
  alignas(32) TV4 P[Chunks];
  double V;

  [[gnu::always_inline]] TDual() : P{}, V(0) {}
  [[gnu::always_inline]] TDual(double v) : P{}, V(v) {}  // NOLINT: constants mix freely with duals
  [[gnu::always_inline]] static TDual Seed(double v, int slot) {
    TDual r(v);
    if (slot >= 0 && slot < K) r.P[slot / 4][slot % 4] = 1;
    return r;
  }
  // The partial along direction k.
  [[gnu::always_inline]] double Partial(int k) const { return P[k / 4][k % 4]; }
  // True when some partial is not 0.
  [[gnu::always_inline]] bool Moving() const {
    auto any = P[0] != 0;
#pragma GCC unroll 8
    for (int c = 1; c < Chunks; ++c) any |= P[c] != 0;
    return any[0] != 0 || any[1] != 0 || any[2] != 0 || any[3] != 0;
  }
  // f(V) with f'(V) = slope.
  [[gnu::always_inline]] TDual Chain(double value, double slope) const {
    TDual r(Uninitialised{});
    r.V = value;
#pragma GCC unroll 8
    for (int c = 0; c < Chunks; ++c) r.P[c] = slope * P[c];
    return r;
  }

private:
  struct Uninitialised {};
  [[gnu::always_inline]] explicit TDual(Uninitialised) {}

public:
  [[gnu::always_inline]] TDual& operator+=(const TDual& b) {
    V += b.V;
#pragma GCC unroll 8
    for (int c = 0; c < Chunks; ++c) P[c] += b.P[c];
    return *this;
  }
  [[gnu::always_inline]] TDual& operator-=(const TDual& b) {
    V -= b.V;
#pragma GCC unroll 8
    for (int c = 0; c < Chunks; ++c) P[c] -= b.P[c];
    return *this;
  }
  [[gnu::always_inline]] TDual& operator*=(const TDual& b) {
#pragma GCC unroll 8
    for (int c = 0; c < Chunks; ++c) P[c] = P[c] * b.V + V * b.P[c];
    V *= b.V;
    return *this;
  }
  [[gnu::always_inline]] TDual& operator/=(const TDual& b) {
    const double q = V / b.V;
#pragma GCC unroll 8
    for (int c = 0; c < Chunks; ++c) P[c] = (P[c] - q * b.P[c]) / b.V;
    V = q;
    return *this;
  }
};

#define ZV_DUAL template <int K> [[gnu::always_inline]] inline
ZV_DUAL TDual<K> operator+(TDual<K> a, const TDual<K>& b) { return a += b; }
ZV_DUAL TDual<K> operator-(TDual<K> a, const TDual<K>& b) { return a -= b; }
ZV_DUAL TDual<K> operator*(TDual<K> a, const TDual<K>& b) { return a *= b; }
ZV_DUAL TDual<K> operator/(TDual<K> a, const TDual<K>& b) { return a /= b; }
ZV_DUAL TDual<K> operator+(TDual<K> a, double b) { a.V += b; return a; }
ZV_DUAL TDual<K> operator+(double b, TDual<K> a) { a.V += b; return a; }
ZV_DUAL TDual<K> operator-(TDual<K> a, double b) { a.V -= b; return a; }
ZV_DUAL TDual<K> operator-(double b, const TDual<K>& a) { return a.Chain(b - a.V, -1.0); }
ZV_DUAL TDual<K> operator-(const TDual<K>& a) { return a.Chain(-a.V, -1.0); }
ZV_DUAL TDual<K> operator*(const TDual<K>& a, double b) { return a.Chain(a.V * b, b); }
ZV_DUAL TDual<K> operator*(double b, const TDual<K>& a) { return a.Chain(a.V * b, b); }
ZV_DUAL TDual<K> operator/(const TDual<K>& a, double b) { return a.Chain(a.V / b, 1.0 / b); }
ZV_DUAL TDual<K> operator/(double b, const TDual<K>& a) {
  const double q = b / a.V;
  return a.Chain(q, -q / a.V);
}

ZV_DUAL bool operator<(const TDual<K>& a, const TDual<K>& b) { return a.V < b.V; }
ZV_DUAL bool operator<(const TDual<K>& a, double b) { return a.V < b; }
ZV_DUAL bool operator>(const TDual<K>& a, const TDual<K>& b) { return a.V > b.V; }
ZV_DUAL bool operator<=(const TDual<K>& a, const TDual<K>& b) { return a.V <= b.V; }
ZV_DUAL bool operator>(const TDual<K>& a, double b) { return a.V > b; }
ZV_DUAL bool operator<=(const TDual<K>& a, double b) { return a.V <= b; }
ZV_DUAL bool operator>=(const TDual<K>& a, double b) { return a.V >= b; }
ZV_DUAL bool operator!=(const TDual<K>& a, double b) { return a.V != b; }

// The value part, for both kinds.
inline double ValueOf(double x) { return x; }
ZV_DUAL double ValueOf(const TDual<K>& x) { return x.V; }

ZV_DUAL TDual<K> sqrt(const TDual<K>& a) {
  const double s = std::sqrt(a.V);
  return a.Chain(s, s > 0 ? 0.5 / s : 0.0);
}
ZV_DUAL TDual<K> exp(const TDual<K>& a) {
  const double e = std::exp(a.V);
  return a.Chain(e, e);
}
ZV_DUAL TDual<K> log(const TDual<K>& a) { return a.Chain(std::log(a.V), 1.0 / a.V); }
ZV_DUAL TDual<K> sin(const TDual<K>& a) { return a.Chain(std::sin(a.V), std::cos(a.V)); }
ZV_DUAL TDual<K> cos(const TDual<K>& a) { return a.Chain(std::cos(a.V), -std::sin(a.V)); }
ZV_DUAL TDual<K> tan(const TDual<K>& a) {
  const double t = std::tan(a.V);
  return a.Chain(t, 1.0 + t * t);
}
ZV_DUAL TDual<K> asin(const TDual<K>& a) { return a.Chain(std::asin(a.V), 1.0 / std::sqrt(1.0 - a.V * a.V)); }
ZV_DUAL TDual<K> acos(const TDual<K>& a) { return a.Chain(std::acos(a.V), -1.0 / std::sqrt(1.0 - a.V * a.V)); }
ZV_DUAL TDual<K> atan(const TDual<K>& a) { return a.Chain(std::atan(a.V), 1.0 / (1.0 + a.V * a.V)); }
ZV_DUAL TDual<K> pow(const TDual<K>& a, double p) {
  const double v = std::pow(a.V, p);
  return a.Chain(v, a.V != 0 ? p * v / a.V : 0.0);
}
ZV_DUAL TDual<K> fabs(const TDual<K>& a) { return a.V < 0 ? -a : a; }
ZV_DUAL TDual<K> max(const TDual<K>& a, double b) { return a.V >= b ? a : TDual<K>(b); }
ZV_DUAL TDual<K> max(const TDual<K>& a, const TDual<K>& b) { return a.V >= b.V ? a : b; }
ZV_DUAL TDual<K> min(const TDual<K>& a, const TDual<K>& b) { return a.V <= b.V ? a : b; }
ZV_DUAL TDual<K> clamp(const TDual<K>& a, double lo, double hi) {
  return a.V < lo ? TDual<K>(lo) : (a.V > hi ? TDual<K>(hi) : a);
}
#undef ZV_DUAL
