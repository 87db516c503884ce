#include "core/limits.h"

#include <algorithm>
#include <cmath>

#include "core/crystal.h"
#include "core/pattern.h"
#include "model/rietclass.h"
#include "platform/rtl/format.h"

namespace {

bool Finite(const float* v) { return v == nullptr || std::isfinite(*v); }

}  // namespace

std::string LimitText(double x) { return FloatToStrF(x, ffGeneral, 6, 0, TFormatSettings()); }

double RequestedPoints(double start, double step, double stop) {
  const double span = stop - start;
  if (!std::isfinite(start) || !std::isfinite(stop) || !(step > 0) || !(span > 0) || !std::isfinite(step)) return 0;
  return std::round(span / step) + 1;
}

std::size_t CalculationPoints(double start, double step, double stop) {
  // Compared as a real before it becomes an integer: 1e30 points must not convert.
  const double n = RequestedPoints(start, step, stop);
  if (!(n >= 2) || n > double(MaxPointsPerHistogram)) return 0;
  return static_cast<std::size_t>(n);
}

int CheckModelLimits(const TRietveld& model, std::string& problem) {
  problem.clear();
  std::size_t total = 0;
  for (int h = 1; h <= model.HistogramCount(); ++h) {
    THistogram& hist = *model.Histogram(h);
    for (int t = 1; t <= 30; ++t)
      if (!Finite(hist.Value(t))) {
        problem = "Histogram " + std::to_string(h) + ": a value is not a number";
        return zeValueRange;
      }
    if (!(hist.BaseWidth <= MaxBaseWidth)) {
      problem = "Histogram " + std::to_string(h) + ": peaks reach " + LimitText(hist.BaseWidth) +
                " widths, more than " + LimitText(MaxBaseWidth);
      return zeValueRange;
    }
    for (float v : {hist.Start, hist.Stop, hist.Step})
      if (!std::isfinite(v)) {
        problem = "Histogram " + std::to_string(h) + ": the range is not a number";
        return zeValueRange;
      }
    if (hist.IsCalculation()) {
      const std::size_t n = CalculationPoints(hist.Start, hist.Step, hist.Stop);
      const double asked = RequestedPoints(hist.Start, hist.Step, hist.Stop);
      if (asked > double(MaxPointsPerHistogram)) {
        problem = "Histogram " + std::to_string(h) + " asks for " + LimitText(asked) + " points, more than " +
                  std::to_string(MaxPointsPerHistogram);
        return zeTooManyPoints;
      }
      total += n;
      if (total > MaxPointsTotal) {
        problem = "The histograms ask for more than " + std::to_string(MaxPointsTotal) + " points together";
        return zeTooManyPoints;
      }
    }
  }
  for (const auto& sample : model.Samples)
    for (int t = 1; t <= 40; ++t)
      if (!Finite(sample->Value(t))) {
        problem = "A sample value is not a number";
        return zeValueRange;
      }
  for (int p = 1; p <= model.PhaseCount(); ++p) {
    TPhase& phase = *model.Phase(p);
    const std::string which = "Phase " + std::to_string(p);
    for (double l : {phase.A, phase.B, phase.C})
      if (!(l >= MinCellLength && l <= MaxCellLength)) {
        problem = which + ": cell length " + LimitText(l) + " outside " + LimitText(MinCellLength) + " .. " +
                  LimitText(MaxCellLength) + " Angstrom";
        return zeCellRange;
      }
    for (double g : {phase.Alpha, phase.Beta, phase.Gamma})
      if (!(g >= MinCellAngle && g <= MaxCellAngle)) {
        problem = which + ": cell angle " + LimitText(g) + " outside " + LimitText(MinCellAngle) + " .. " +
                  LimitText(MaxCellAngle) + " degrees";
        return zeCellRange;
      }
    const TCell cell(phase.A, phase.B, phase.C, phase.Alpha, phase.Beta, phase.Gamma);
    if (!cell.IsValid() || cell.Volume() < MinCellShape * double(phase.A) * phase.B * phase.C) {
      problem = which + ": the cell is nearly flat (its angles leave almost no volume)";
      return zeCellRange;
    }
    for (int t = 1; t <= 11; ++t)
      if (!Finite(phase.Value(t))) {
        problem = which + ": a value is not a number";
        return zeValueRange;
      }
    if (!(std::fabs(phase.IsoThermal) <= MaxDisplacement)) {
      problem = which + ": overall B " + LimitText(phase.IsoThermal) + " outside +-" + LimitText(MaxDisplacement);
      return zeValueRange;
    }
    for (int a = 1; a <= phase.AtomCount(); ++a) {
      TAtom& atom = *phase.Atom(a);
      for (int t = 1; t <= 11; ++t)
        if (!Finite(atom.Value(t))) {
          problem = which + ", atom " + std::to_string(a) + ": a value is not a number";
          return zeValueRange;
        }
      // Fractional coordinates far outside the cell only lose precision; keep them sane.
      for (double x : {atom.X, atom.Y, atom.Z})
        if (!(std::fabs(x) <= 1000)) {
          problem = which + ", atom " + std::to_string(a) + ": coordinate " + LimitText(x) + " outside +-1000";
          return zeValueRange;
        }
      for (double b : {atom.B, atom.B11, atom.B22, atom.B33, atom.B12, atom.B13, atom.B23})
        if (!(std::fabs(b) <= MaxDisplacement)) {
          problem = which + ", atom " + std::to_string(a) + ": displacement " + LimitText(b) + " outside +-" +
                    LimitText(MaxDisplacement);
          return zeValueRange;
        }
    }
  }
  return zeNone;
}

int CheckStructureWork(const TPattern& pattern, std::string& problem) {
  const TRietveld& model = pattern.Model();
  double work = 0;
  for (int h = 1; h <= pattern.HistogramCount(); ++h)
    for (const TPhaseView& view : pattern.Views(h)) {
      const TPhase& phase = *model.Phase(view.Phase);
      if (phase.CalcMethod != 0) continue;
      // Every atom counts with the whole group: the structure factor sums over all operations.
      work += double(view.Reflections.size()) * phase.AtomCount() * pattern.Group(view.Phase).Order();
    }
  if (work > MaxStructureWork) {
    problem = "Reflections times atoms in the cell: " + LimitText(work) + ", more than " + LimitText(MaxStructureWork);
    return zeTooManyReflections;
  }
  return zeNone;
}

double ProfileWork(const TPattern& pattern, double* widest, int histogram) {
  double work = 0;
  std::vector<TPeak> peaks;
  if (widest != nullptr) *widest = 0;
  for (int h = 1; h <= pattern.HistogramCount(); ++h) {
    if (histogram != 0 && h != histogram) continue;
    const std::vector<double>& x = pattern.Data(h).X;
    if (x.size() < 2) continue;
    const double span = x.back() - x.front();
    const THistogram& hist = *pattern.Model().Histogram(h);
    const double fwhms = hist.BaseWidth > 0 ? hist.BaseWidth : 7.0;
    // Every peak counts: the intensities may not be known yet.
    pattern.PeakShapes(h, peaks);
    for (const TPeak& peak : peaks) {
      if (widest != nullptr && span > 0) *widest = std::max(*widest, peak.Shape.H / span);
      const double lo = peak.Position - peak.Shape.LowReach(fwhms);
      const double hi = peak.Position + peak.Shape.HighReach(fwhms);
      if (!(lo <= hi)) continue;
      const auto first = std::lower_bound(x.begin(), x.end(), lo);
      const auto last = std::upper_bound(first, x.end(), hi);
      // Each asymmetry sub-peak costs a point more.
      const double cost = (peak.Shape.Kind == TPeakShape::pkTof ? TofPointCost : 1.0) *
                          double(std::max<std::size_t>(1, peak.Shape.Offsets.size()));
      work += cost * double(last - first);
    }
  }
  return work;
}

int CheckProfileWork(const TPattern& pattern, std::string& problem, int histogram) {
  double widest = 0;
  const double work = ProfileWork(pattern, &widest, histogram);
  // A peak wider than the whole pattern fits nothing, and every point pays for it.
  if (!(widest <= 1)) {
    problem = "A peak is wider than the whole range of its histogram";
    return zeExcessiveOverlap;
  }
  if (work > MaxProfileWork) {
    problem = "The peaks cover " + LimitText(work) + " points together, more than " + LimitText(MaxProfileWork);
    return zeExcessiveOverlap;
  }
  return zeNone;
}
