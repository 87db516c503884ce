// Arithmetic helpers of the run-time layer: rounding with the class library's
// rules, the classic pseudo-random generator, powers and logarithms, and the
// single-precision range check the model needs.
#pragma once

#include <cstdint>

// ---- Rounding ---------------------------------------------------------------
// Round, Trunc, Ceil and Floor raise EInvalidOp ("Invalid floating point
// operation") for NaN, infinities and results outside the integer type.

// Nearest integer, halves to even: Round(2.5) = 2, Round(3.5) = 4,
// Round(-2.5) = -2.
int64_t Round(double x);
// x with its fraction cut off, toward zero.
int64_t Trunc(double x);
// Smallest integer >= x and largest integer <= x.
int Ceil(double x);
int Floor(double x);
// Integer and fraction parts, both with the sign of x: Int(-2.7) = -2,
// Frac(-2.7) = -0.7.
double Int(double x);
double Frac(double x);

// a * b / c with a 64-bit intermediate, rounded half away from zero;
// -1 when c is 0 or the result does not fit in 32 bits.
int MulDiv(int a, int b, int c);

// ---- Pseudo-random numbers ----------------------------------------------------

// State of the generator (x := 134775813 * x + 1 modulo 2^32). Setting it
// repeats the sequence.
extern uint32_t RandSeed;
// Seeds RandSeed from the clock.
void Randomize();
// A double in [0, 1).
double Random();
// An integer in [0, n); 0 when n <= 0.
int Random(int n);

// ---- Powers and logarithms ----------------------------------------------------

// base raised to a whole exponent by repeated multiplication (exact for small
// integers); a negative exponent gives the reciprocal. IntPower(x, 0) = 1.
double IntPower(double base, int exponent);
// base raised to exponent: IntPower for whole exponents within the int range,
// else exp(exponent * ln(base)); a negative base with a fractional exponent
// gives NaN; Power(x, 0) = 1.
double Power(double base, double exponent);
double Log10(double x);
double Log2(double x);
// Logarithm of x to base: Log2(x) / Log2(base), so LogN(2, 8) = 3.
double LogN(double base, double x);

// ---- Signs, bounds and comparison -----------------------------------------------

// -1, 0 or 1.
int Sign(int x);
int Sign(long x);
int Sign(long long x);
int Sign(double x);

// Smaller / larger of two values of the same type (a when equal).
int Min(int a, int b);
int64_t Min(int64_t a, int64_t b);
double Min(double a, double b);
int Max(int a, int b);
int64_t Max(int64_t a, int64_t b);
double Max(double a, double b);

bool IsNan(double x);
// True for +INF and -INF.
bool IsInfinite(double x);

// |a - b| <= epsilon. An epsilon of 0 means a relative tolerance of 1e-12 of
// the smaller magnitude (at least 1e-12).
bool SameValue(double a, double b, double epsilon = 0.0);

// ---- Single precision -------------------------------------------------------------

// True when x can be stored in a float without overflow: |x| <= FLT_MAX, or x
// is an infinity or NaN (those carry over as they are).
bool SingleFits(double x);
// x as a float; raises EOverflow ("Floating point overflow") when it does not
// fit (SingleFits false).
float ToSingle(double x);
