// The parameters window's rows, read from the model (see parameterswindow.h).
#include "app/parameterswindow.h"

#include "model/global.h"
#include "model/rietclass.h"

namespace {

bool IsPhaseType(int t) { return t == 1 || t == 2 || (t >= 6 && t <= 11); }
bool IsPeakShapeType(int t) {
  return (t >= 3 && t <= 5) || (t >= 14 && t <= 17) || t == 19 || t == 20 || (t >= 28 && t <= 33);
}
bool IsTOFType(int t) { return t >= 21 && t <= 24; }

TParameterRow Row(const TRietveld& m, int shownH, int shownP, const std::string& name, int h, int p, int t) {
  TParameterRow r;
  r.Histogram = shownH;
  r.Phase = shownP;
  r.Name = name;
  r.Type = t;
  r.Value = m.GetParameterValue(h, p, 0, t);
  r.Refined = m.IsRefined(h, p, 0, t);
  return r;
}

}  // namespace

int ModelPhaseCount() { return Model ? Model->PhaseCount() : 0; }
int ModelHistogramCount() { return Model ? Model->HistogramCount() : 0; }

std::vector<TParameterRow> ParameterRows(int Phase, int Histogram, bool PeakShapeOnly) {
  std::vector<TParameterRow> rows;
  if (!Model) return rows;
  const TRietveld& m = *Model;
  auto passesPhase = [&](int p) { return Phase == 0 || Phase == p; };
  auto passesHistogram = [&](int h) { return Histogram == 0 || Histogram == h; };
  for (int p = 1; p <= m.PhaseCount(); ++p) {
    if (!passesPhase(p)) continue;
    for (int h = 1; h <= m.HistogramCount(); ++h) {
      if (!passesHistogram(h)) continue;
      const bool tof = m.Histogram(h)->Profile == profJorgensenTOF;
      for (int t = 1; t <= 42; ++t) {
        const std::string name = ParameterTypeName(0, p, t);
        if (IsPhaseType(t)) {
          // The phase's own values show once, in histogram 1's block.
          if (h == 1 && !PeakShapeOnly) rows.push_back(Row(m, 1, p, name, 0, p, t));
        } else if (IsPeakShapeType(t) || (IsTOFType(t) && tof)) {
          rows.push_back(Row(m, h, p, name, h, p, t));
        }
      }
    }
  }
  if (PeakShapeOnly) return rows;
  const int backgroundTerms = 6 * (m.BackTerms + 1);
  for (int h = 1; h <= m.HistogramCount(); ++h) {
    if (!passesHistogram(h)) continue;
    rows.push_back(Row(m, h, 0, "Zero", h, 0, 1));
    for (int i = 0; i < 12; ++i)
      if (i < 6 || backgroundTerms > 6) rows.push_back(Row(m, h, 0, "Background " + std::to_string(i), h, 0, i + 2));
    if (h != 1) rows.push_back(Row(m, h, 0, "Histogram Scale", h, 0, 26));
    rows.push_back(Row(m, h, 0, "Wavelength 1 or DIFC", h, 0, 27));
    rows.push_back(Row(m, h, 0, "Wavelength 2 or DIFA", h, 0, 28));
  }
  return rows;
}
