#include "model/shelx.h"

#include <algorithm>
#include <numbers>

#include "model/brkapart.h"
#include "model/importlines.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/strutils.h"

namespace {

// The lattice number of a space-group symbol's centring letter.
int LatticeNumber(const std::string& spaceGroup) {
  switch (spaceGroup.empty() ? ' ' : spaceGroup[0]) {
    case 'I': return 2;
    case 'R': return 3;
    case 'F': return 4;
    case 'A': return 5;
    case 'B': return 6;
    case 'C': return 7;
    default: return 1;
  }
}

}  // namespace

bool ImportShelx(TRietveld& model, const std::string& fileName) {
  model.Loaded = false;
  if (!FileExists(fileName)) {
    ShowMessage("File does not exist");
    return false;
  }
  std::string text, error;
  if (!LoadImportFile(fileName, text, error)) {
    ShowMessage(error);
    return false;
  }
  std::string title;
  bool hasTitle = false, hasCell = false;
  float cell[6] = {};
  TImportLines lines(text);
  while (lines.TryNext()) {
    const std::string& s = lines.Line();
    if (s.rfind("TITL", 0) == 0) {
      // Characters 6 to 51, never cut inside a character.
      std::size_t from = std::min<std::size_t>(s.size(), 5);
      while (from < s.size() && (static_cast<unsigned char>(s[from]) & 0xC0) == 0x80) ++from;
      title = Utf8Truncate(s.substr(from), 46);
      hasTitle = true;
    } else if (s.rfind("CELL", 0) == 0) {
      TImportFields fields(s, lines.LineNumber());
      try {
        // CELL, the wavelength, then a, b, c, alpha, beta, gamma.
        fields.Need(8);
        for (int k = 0; k < 6; ++k) cell[k] = fields.Real(k + 3);
      } catch (const Exception& e) {
        ShowMessage("The CELL line of " + ExtractFileName(fileName) + " does not hold a cell (" + e.Message() +
                    "). The model is unchanged.");
        return false;
      }
      hasCell = true;
    }
  }
  if (!hasCell) {
    ShowMessage(ExtractFileName(fileName) +
                " holds no CELL line, so it is not an instruction file that can be imported. The model is "
                "unchanged.");
    return false;
  }

  model.Reset();
  model.LineCounter = 1;
  model.PrintU = 1;
  model.AddHistogram(std::make_unique<THistogram>());
  model.NewSample(1, 1);
  TPhase& phase = *model.AddPhase(std::make_unique<TPhase>());
  if (hasTitle) model.Title = title;
  for (int t = 6; t <= 11; ++t) *phase.Value(t) = cell[t - 6];
  model.Loaded = true;
  model.Parameters.ResolveCodes(0);
  return true;
}

std::string ShelxText(const TRietveld& model) {
  const THistogram& hist = *model.Histogram(1);
  const TPhase& phase = *model.Phase(1);
  std::string out = "TITL " + Utf8Left(ExportLineText(model.Title), 76) + "\n";
  out += "CELL " + RealToStrFixed(hist.Wavelength1, 8, 5);
  for (float v : {phase.A, phase.B, phase.C, phase.Alpha, phase.Beta, phase.Gamma})
    out += " " + RealToStrFixed(v, 8, 4);
  out += "\nLATT " + std::to_string(LatticeNumber(phase.SpaceGroup)) + "\n";

  // The distinct atom types in ascending order, compared without regard to case.
  std::vector<std::string> types;
  for (const auto& a : phase.Atoms) types.push_back(a->AtomType);
  std::stable_sort(types.begin(), types.end(),
                   [](const std::string& x, const std::string& y) { return CompareText(x, y) < 0; });
  types.erase(std::unique(types.begin(), types.end(),
                          [](const std::string& x, const std::string& y) { return CompareText(x, y) == 0; }),
              types.end());
  auto typeIndex = [&](const std::string& type) {
    for (std::size_t i = 0; i < types.size(); ++i)
      if (CompareText(types[i], type) == 0) return static_cast<int>(i) + 1;
    return 0;
  };
  out += "SFAC";
  for (const std::string& t : types) out += " " + Trim(ExportLineText(t));
  out += "\nUNIT";
  std::vector<int> counts(types.size(), 0);
  for (const auto& a : phase.Atoms) ++counts[static_cast<std::size_t>(typeIndex(a->AtomType) - 1)];
  for (int n : counts) out += " " + std::to_string(n);
  out += "\n";

  constexpr double EightPiSquared = 8 * std::numbers::pi * std::numbers::pi;
  for (const auto& a : phase.Atoms) {
    std::string label = ExportLineText(a->Label);
    if (label.size() < 4) label.resize(4, ' ');
    std::string index = std::to_string(typeIndex(a->AtomType));
    if (index.size() < 3) index.insert(0, 3 - index.size(), ' ');
    out += label + " " + index;
    for (double v : {double(a->X), double(a->Y), double(a->Z), double(a->N), a->B / EightPiSquared})
      out += " " + RealToStrFixed(v, 6, 4);
    out += "\n";
  }
  return out;
}

bool ExportShelx(TRietveld& model, const std::string& fileName) {
  if (!model.Histogram(1) || !model.Phase(1)) {
    ShowMessage("The instruction file is written from histogram 1 and phase 1; the model has no " +
                std::string(model.Histogram(1) ? "phase" : "histogram") + ". Nothing was written.");
    return false;
  }
  model.Parameters.Renumber();
  return WriteExportFile(fileName, ShelxText(model));
}
