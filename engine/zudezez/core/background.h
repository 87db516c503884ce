// Background models of a histogram.
#pragma once

#include <vector>

class THistogram;

// Where the background of one histogram is evaluated.
struct TBackgroundRange {
  double XMin = 0, XMax = 1;  // the histogram's refined range
  int Terms = 6;              // coefficients in use
};

// Background errors (numbered as the engine reports them).
constexpr int beNone = 0, beAmorphousZero = 60, beInterpolation = 61;

// The analytic background at x for kinds 0 (polynomial), -1 .. -6
// (amorphous, Chebyshev) and 2 (user points); q is the scattering vector
// 4 pi sin(theta) / lambda (1/Angstrom) at x, used by the amorphous kinds.
// Kinds 1 and -7 are tabulated per point by the pattern and give 0 here.
// Sets error to a background error when the model cannot be evaluated.
double BackgroundValue(const THistogram& histogram, const TBackgroundRange& range, double x, double q, int& error);

// d BackgroundValue / d coefficient k (0-based) at x.
double BackgroundDerivative(const THistogram& histogram, const TBackgroundRange& range, double x, double q, int k);
// The derivatives for coefficients 0 .. count - 1 at x in out, the same
// values one call each would give, the recurrences run once.
void BackgroundDerivatives(const THistogram& histogram, const TBackgroundRange& range, double x, double q, int count,
                           double* out);

// Checks the user points (kind 2): two points at the same x give beInterpolation.
int CheckBackgroundPoints(const THistogram& histogram);

// The automatic smoothed background of an observed pattern: `cycles`
// passes in which every point is lowered to the mean of its neighbours
// `steps` points away on either side when that mean is lower.
std::vector<double> SmoothedBackground(const std::vector<double>& y, int cycles, int steps);

// Linear interpolation in a table of (x, y) sorted by x; the end values
// continue outside it.
double Interpolate(const std::vector<double>& xs, const std::vector<double>& ys, double x);
