#include "core/observed.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <locale>
#include <numeric>
#include <sstream>

#include "model/datafiles.h"
#include "model/rietclass.h"
#include "core/limits.h"
#include "core/messagetrap.h"
#include "platform/rtl/fileutils.h"

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string> Extensions(int readFormat) {
  switch (readFormat) {
    case 3: return {".gs", ".gsas"};
    case 4:
    case 5: return {".xy"};
    case 6: return {".cpi"};
    default: return {".dat"};
  }
}

// The first two columns of a text file of numbers, lines that do not start
// with two numbers skipped.
bool ReadPairs(const std::string& fileName, std::vector<double>& xs, std::vector<double>& ys) {
  std::ifstream in(fileName);
  if (!in) return false;
  std::string line;
  std::vector<std::pair<double, double>> pairs;
  while (std::getline(in, line)) {
    for (char& c : line)
      if (c == ',' || c == ';' || c == '\t') c = ' ';
    std::istringstream s(line);
    s.imbue(std::locale::classic());  // a point, whatever the desktop's locale
    double x, y;
    if (s >> x >> y) pairs.push_back({x, y});
  }
  std::sort(pairs.begin(), pairs.end());
  xs.clear();
  ys.clear();
  for (const auto& [x, y] : pairs) {
    xs.push_back(x);
    ys.push_back(y);
  }
  return !xs.empty();
}

// The third column of an x, y, weight file, point for point.
std::vector<double> ReadWeights(const std::string& fileName, std::size_t count) {
  std::vector<double> w;
  std::ifstream in(fileName);
  std::string line;
  bool first = true;
  while (std::getline(in, line) && w.size() < count) {
    if (first) {  // the title line
      first = false;
      continue;
    }
    for (char& c : line)
      if (c == ',') c = ' ';
    std::istringstream s(line);
    s.imbue(std::locale::classic());  // a point, whatever the desktop's locale
    double x, y, weight;
    if (!(s >> x >> y)) break;
    w.push_back(s >> weight ? weight : 1.0);
  }
  return w;
}

// The bank line of a GSAS raw file names the layout: ESD and ALT carry standard errors.
bool GsasHasErrors(const std::string& fileName) {
  std::ifstream in(fileName);
  std::string line;
  std::getline(in, line);
  std::getline(in, line);
  const std::string u = Upper(line);
  return u.find("ESD") != std::string::npos || u.find("ALT") != std::string::npos;
}

}  // namespace

std::string FindDataFile(const TRietveld& model, const std::string& dataName, int h) {
  if (dataName.empty()) return {};
  const int observed = static_cast<int>(std::count_if(model.Histograms.begin(), model.Histograms.end(),
                                                      [](const auto& hist) { return !hist->IsCalculation(); }));
  const std::string base = observed > 1 && h > 1 ? dataName + "_" + std::to_string(h) : dataName;
  if (h == 1 && FileExists(dataName) && IsDataFile(dataName)) return dataName;
  for (const std::string& ext : Extensions(model.ReadFormat))
    for (const std::string& e : {Lower(ext), Upper(ext)})
      if (FileExists(base + e)) return base + e;
  return {};
}

int LoadHistogramData(const TRietveld& model, const std::string& dataName, int h, THistogramData& data) {
  const THistogram& hist = *model.Histogram(h);
  data = THistogramData();
  if (hist.IsCalculation()) {
    data.Calculation = true;
    const double step = hist.Step;
    const double span = double(hist.Stop) - hist.Start;
    if (!(step > 0) || !(span > 0)) return zePeakWidth;
    const std::size_t n = CalculationPoints(hist.Start, step, hist.Stop);
    if (n == 0) return RequestedPoints(hist.Start, step, hist.Stop) > double(MaxPointsPerHistogram) ? zeTooManyPoints : zePeakWidth;
    data.X.reserve(n);
    for (std::size_t i = 0; i < n; ++i) data.X.push_back(hist.Start + double(i) * step);
    data.Observed.assign(data.X.size(), 0.0);
    data.Third.assign(data.X.size(), 1.0);
  } else {
    const std::string fileName = FindDataFile(model, dataName, h);
    if (fileName.empty()) return zeDataFile;
    const int kind = GetFileKind(fileName);
    TData raw;
    std::vector<std::string> messages;
    try {
      TMessageTrap trap;
      raw.ReadDataFile(fileName, h, kind);
      messages = trap.Messages;
    } catch (...) {
      return zeDataLines;
    }
    if (raw.Status() != 2 || raw.PointCount() < 2) {
      for (const std::string& m : messages)
        if (m.find("Cannot determine") != std::string::npos) return zeDataFirstLine;
      return zeDataLines;
    }
    const std::size_t n = static_cast<std::size_t>(raw.PointCount());
    if (n > MaxPointsPerHistogram) return zeTooManyPoints;
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return raw.X()[a] < raw.X()[b]; });
    for (std::size_t i : order) {
      data.X.push_back(raw.X()[i]);
      data.Observed.push_back(raw.Y()[i]);
      data.Third.push_back(raw.Third()[i]);
    }
    switch (kind) {
      case 7:
        data.Mode = GsasHasErrors(fileName) ? wmSigma : wmCounters;
        break;
      case 9:
        if (model.ReadFormat == 4) {
          const std::vector<double> w = ReadWeights(fileName, n);
          if (w.size() == n) {
            data.Mode = wmWeight;
            for (std::size_t k = 0; k < n; ++k) data.Third[k] = w[order[k]];
          }
        }
        break;
      case 4:
        data.Mode = wmCounters;
        break;
      default:
        data.Mode = wmCounts;
        break;
    }
  }
  if (hist.Background.Kind == bkDataFile) {
    // The background curve: x, y pairs in "<data name>.bkg" (either case).
    std::vector<double> bx, by;
    if (!ReadPairs(dataName + ".bkg", bx, by) && !ReadPairs(dataName + ".BKG", bx, by)) return zeNoBackgroundFile;
    data.TabulatedBackground.resize(data.X.size());
    for (std::size_t i = 0; i < data.X.size(); ++i) {
      const double x = data.X[i];
      if (x <= bx.front()) data.TabulatedBackground[i] = by.front();
      else if (x >= bx.back()) data.TabulatedBackground[i] = by.back();
      else {
        const std::size_t k = static_cast<std::size_t>(std::upper_bound(bx.begin(), bx.end(), x) - bx.begin());
        const double dx = bx[k] - bx[k - 1];
        data.TabulatedBackground[i] = dx > 0 ? by[k - 1] + (by[k] - by[k - 1]) * (x - bx[k - 1]) / dx : by[k];
      }
    }
  }
  return zeNone;
}
