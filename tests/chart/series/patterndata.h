// A synthetic powder pattern for the pattern plot tests and benchmarks:
// peaks on a falling background, observed values with seeded noise, and the
// difference drawn below the pattern. Only integer arithmetic decides the
// noise, so every build makes the same points.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

struct TPatternPoint {
  double X, Observed, Calculated, Difference;
};

inline std::vector<TPatternPoint> MakePattern(int Count, uint32_t Seed = 12345) {
  static const double peaks[][3] = {{18.2, 900, 0.12}, {25.6, 1500, 0.15}, {29.9, 600, 0.14}, {36.4, 1100, 0.2},
                                    {43.1, 450, 0.18}, {51.7, 800, 0.25}, {57.0, 300, 0.22}, {64.8, 520, 0.3},
                                    {72.3, 260, 0.3}};
  std::vector<TPatternPoint> points(static_cast<size_t>(Count));
  uint32_t state = Seed;
  for (int i = 0; i < Count; ++i) {
    const double x = 10 + 70.0 * i / Count;
    double calc = 260 - 1.5 * x;
    for (const auto& p : peaks) {
      const double d = (x - p[0]) / p[2];
      calc += p[1] * std::exp(-d * d);
    }
    state = state * 1664525u + 1013904223u;
    const double noise = (static_cast<int>(state >> 16) % 2001 - 1000) / 1000.0 * 4 * std::sqrt(calc / 100 + 1);
    const double observed = calc + noise;
    // Kept below 1000 so that the axis labels need no thousands separator.
    points[static_cast<size_t>(i)] = {x, observed / 2, calc / 2, (observed - calc) - 100};
  }
  return points;
}
