#include "core/synthesis.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>

#include "core/limits.h"
#include "core/observed.h"
#include "core/pattern.h"
#include "core/textformat.h"
#include "model/rietclass.h"

int CalculatedPattern(TRietveld& model, int h, std::vector<double>& x, std::vector<double>& y) {
  x.clear();
  y.clear();
  TPattern pattern(model);
  for (int k = 1; k <= model.HistogramCount(); ++k) {
    const THistogram& hist = *model.Histogram(k);
    THistogramData data;
    data.Calculation = true;
    const std::size_t n = CalculationPoints(hist.Start, hist.Step, hist.Stop);
    if (n == 0) return zePeakWidth;
    for (std::size_t i = 0; i < n; ++i) data.X.push_back(hist.Start + double(i) * hist.Step);
    pattern.SetData(k, std::move(data));
  }
  if (int e = pattern.Prepare(); e != zeNone) return e;
  if (int e = pattern.Calculate(); e != zeNone) return e;
  x = pattern.Data(h).X;
  y = pattern.Data(h).Calculated;
  return zeNone;
}

std::vector<double> PoissonCounts(const std::vector<double>& means, uint32_t seed) {
  std::mt19937 generator(seed);
  auto uniform = [&generator]() { return (generator() + 0.5) / 4294967296.0; };
  std::vector<double> counts;
  counts.reserve(means.size());
  for (double mean : means) {
    if (!(mean > 0)) {
      counts.push_back(0);
      continue;
    }
    if (mean < 50) {
      // Knuth: count uniform draws until their product falls below exp(-mean).
      const double limit = std::exp(-mean);
      double product = uniform();
      int k = 0;
      while (product > limit) {
        ++k;
        product *= uniform();
      }
      counts.push_back(k);
    } else {
      // Large means: the normal limit (Box-Muller), rounded.
      const double z = std::sqrt(-2 * std::log(uniform())) * std::cos(2 * 3.14159265358979323846 * uniform());
      counts.push_back(std::max(0.0, std::round(mean + std::sqrt(mean) * z)));
    }
  }
  return counts;
}

bool WriteDatFile(const std::string& fileName, const std::string& title, double start, double step,
                  const std::vector<double>& counts) {
  std::FILE* f = std::fopen(fileName.c_str(), "w");
  if (f == nullptr) return false;
  const double stop = start + step * double(counts.size() - 1);
  FPrintf(f, "%.4f %.4f %.4f %s\n", start, step, stop, title.c_str());
  for (std::size_t i = 0; i < counts.size(); ++i) {
    FPrintf(f, "%8ld", std::lround(std::min(counts[i], 999999.0)));
    if (i % 10 == 9 || i + 1 == counts.size()) FPrintf(f, "\n");
  }
  return std::fclose(f) == 0;
}

bool WriteGsasEsdFile(const std::string& fileName, const std::string& title, double start, double step,
                      const std::vector<double>& counts) {
  std::FILE* f = std::fopen(fileName.c_str(), "w");
  if (f == nullptr) return false;
  const std::size_t n = counts.size();
  const std::size_t records = (n + 4) / 5;
  FPrintf(f, "%-80.80s\n", title.c_str());
  const std::string bank = Printf("BANK 1 %zu %zu CONST %.2f %.2f 0 0 ESD", n, records, start * 100, step * 100);
  FPrintf(f, "%-80s\n", bank.c_str());
  for (std::size_t i = 0; i < n; ++i) {
    FPrintf(f, "%8.1f%8.2f", counts[i], std::sqrt(std::max(counts[i], 1.0)));
    if (i % 5 == 4 || i + 1 == n) FPrintf(f, "\n");
  }
  return std::fclose(f) == 0;
}

bool WriteGsasStdFile(const std::string& fileName, const std::string& title, double start, double step,
                      const std::vector<double>& counts) {
  std::FILE* f = std::fopen(fileName.c_str(), "w");
  if (f == nullptr) return false;
  const std::size_t n = counts.size();
  const std::size_t records = (n + 9) / 10;
  FPrintf(f, "%-80.80s\n", title.c_str());
  const std::string bank = Printf("BANK 1 %zu %zu CONST %.2f %.2f 0 0 STD", n, records, start * 100, step * 100);
  FPrintf(f, "%-80s\n", bank.c_str());
  for (std::size_t i = 0; i < n; ++i) {
    // Two blanks where the counter number would stand: one counter each.
    FPrintf(f, "  %6ld", std::lround(std::min(counts[i], 999999.0)));
    if (i % 10 == 9 || i + 1 == n) FPrintf(f, "\n");
  }
  return std::fclose(f) == 0;
}

bool WriteXyFile(const std::string& fileName, const std::string& title, const std::vector<double>& x,
                 const std::vector<double>& counts) {
  std::FILE* f = std::fopen(fileName.c_str(), "w");
  if (f == nullptr) return false;
  FPrintf(f, "%s\n", title.c_str());
  for (std::size_t i = 0; i < x.size(); ++i) FPrintf(f, "%.5f %.0f\n", x[i], counts[i]);
  return std::fclose(f) == 0;
}
