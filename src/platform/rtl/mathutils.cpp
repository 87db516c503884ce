#include "platform/rtl/mathutils.h"

#include <algorithm>
#include <cfloat>
#include <chrono>
#include <climits>
#include <cmath>

#include "platform/rtl/exceptions.h"

namespace {

[[noreturn]] void RaiseInvalidOp() { throw EInvalidOp("Invalid floating point operation"); }

// x (already integral) as an integer of [lo, hi], or EInvalidOp.
int64_t CheckedInteger(double x, double lo, double hiExclusive) {
  if (!(x >= lo && x < hiExclusive)) RaiseInvalidOp();
  return static_cast<int64_t>(x);
}

constexpr double kInt64Low = -9223372036854775808.0;  // -2^63
constexpr double kInt64High = 9223372036854775808.0;  // 2^63
constexpr double kIntLow = static_cast<double>(INT_MIN);
constexpr double kIntHigh = static_cast<double>(INT_MAX) + 1.0;

}  // namespace

// ---- Rounding ---------------------------------------------------------------

int64_t Round(double x) {
  // Independent of the floating-point rounding mode; x - floor(x) is exact.
  const double f = std::floor(x);
  const double diff = x - f;
  double r = f;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(f, 2.0) != 0.0)) r = f + 1.0;
  return CheckedInteger(r, kInt64Low, kInt64High);
}
int64_t Trunc(double x) { return CheckedInteger(std::trunc(x), kInt64Low, kInt64High); }
int Ceil(double x) { return static_cast<int>(CheckedInteger(std::ceil(x), kIntLow, kIntHigh)); }
int Floor(double x) { return static_cast<int>(CheckedInteger(std::floor(x), kIntLow, kIntHigh)); }
double Int(double x) { return std::trunc(x); }
double Frac(double x) { return x - std::trunc(x); }

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t num = static_cast<int64_t>(a) * b;
  // Round half away from zero on the exact quotient.
  int64_t q = num / c;
  const int64_t r = num % c;
  const uint64_t twiceR = 2 * static_cast<uint64_t>(r < 0 ? -r : r);
  const uint64_t absC = static_cast<uint64_t>(c < 0 ? -static_cast<int64_t>(c) : c);
  if (twiceR >= absC) q += ((num < 0) != (c < 0)) ? -1 : 1;
  if (q < INT_MIN || q > INT_MAX) return -1;
  return static_cast<int>(q);
}

// ---- Pseudo-random numbers ----------------------------------------------------

uint32_t RandSeed = 0;

namespace {
uint32_t NextRandom() {
  RandSeed = RandSeed * 134775813u + 1u;
  return RandSeed;
}
}  // namespace

void Randomize() {
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
                     std::chrono::system_clock::now().time_since_epoch().count();
  RandSeed = static_cast<uint32_t>(ticks) ^ static_cast<uint32_t>(static_cast<uint64_t>(ticks) >> 32);
}

double Random() { return NextRandom() * (1.0 / 4294967296.0); }

int Random(int n) {
  const uint32_t r = NextRandom();
  if (n <= 0) return 0;
  return static_cast<int>((static_cast<uint64_t>(r) * static_cast<uint32_t>(n)) >> 32);
}

// ---- Powers and logarithms ----------------------------------------------------

double IntPower(double base, int exponent) {
  // Unsigned magnitude so that INT_MIN does not overflow.
  uint32_t n = exponent < 0 ? 0u - static_cast<uint32_t>(exponent) : static_cast<uint32_t>(exponent);
  double result = 1.0, factor = base;
  while (n != 0) {
    if (n & 1u) result *= factor;
    n >>= 1;
    if (n != 0) factor *= factor;
  }
  return exponent < 0 ? 1.0 / result : result;
}

double Power(double base, double exponent) {
  if (exponent == 0.0) return 1.0;
  if (std::trunc(exponent) == exponent && std::fabs(exponent) <= INT_MAX)
    return IntPower(base, static_cast<int>(exponent));
  if (base < 0.0) return std::nan("");
  if (base == 0.0) return exponent > 0 ? 0.0 : HUGE_VAL;
  return std::exp(exponent * std::log(base));
}

double Log10(double x) { return std::log10(x); }
double Log2(double x) { return std::log2(x); }
double LogN(double base, double x) { return std::log2(x) / std::log2(base); }

// ---- Signs, bounds and comparison -----------------------------------------------

int Sign(int x) { return (x > 0) - (x < 0); }
int Sign(long x) { return (x > 0) - (x < 0); }
int Sign(long long x) { return (x > 0) - (x < 0); }
int Sign(double x) { return (x > 0) - (x < 0); }

int Min(int a, int b) { return b < a ? b : a; }
int64_t Min(int64_t a, int64_t b) { return b < a ? b : a; }
double Min(double a, double b) { return b < a ? b : a; }
int Max(int a, int b) { return b > a ? b : a; }
int64_t Max(int64_t a, int64_t b) { return b > a ? b : a; }
double Max(double a, double b) { return b > a ? b : a; }

bool IsNan(double x) { return std::isnan(x); }
bool IsInfinite(double x) { return std::isinf(x); }

bool SameValue(double a, double b, double epsilon) {
  if (epsilon == 0.0) epsilon = std::max(std::min(std::fabs(a), std::fabs(b)) * 1e-12, 1e-12);
  return a > b ? (a - b) <= epsilon : (b - a) <= epsilon;
}

// ---- Single precision -------------------------------------------------------------

bool SingleFits(double x) { return !std::isfinite(x) || std::fabs(x) <= FLT_MAX; }

float ToSingle(double x) {
  if (!SingleFits(x)) throw EOverflow("Floating point overflow");
  return static_cast<float>(x);
}
