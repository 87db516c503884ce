#include "model/directmethods.h"

#include "model/brkapart.h"
#include "model/importlines.h"
#include "platform/dialogs.h"

std::string SirJobText(const TRietveld& model) {
  const THistogram& hist = *model.Histogram(1);
  const TPhase& phase = *model.Phase(1);
  std::string out = "%window\n%struct zelvora\n%init\n";
  out += "%job " + Utf8Left(ExportLineText(model.Title), 76) + "\n";
  out += "%data\n";
  out += "wavelength " + RealToStrFixed(hist.Wavelength1, 8, 5) + "\n";
  out += "cell";
  for (float v : {phase.A, phase.B, phase.C, phase.Alpha, phase.Beta, phase.Gamma})
    out += "  " + RealToStrFixed(v, 8, 4);
  out += "\n";
  out += "space " + ExportLineText(phase.SpaceGroup) + "\n";
  out += "ref2 xxxxxxx.fou - enter LeBail filename here\n";
  out += "content  XX XX XX XX - enter expected cell contents here.\n";
  out += "%normal\n%continue\n";
  return out;
}

bool ExportSir(TRietveld& model, const std::string& fileName) {
  if (!model.Histogram(1) || !model.Phase(1)) {
    ShowMessage("The job file is written from histogram 1 and phase 1; the model has no " +
                std::string(model.Histogram(1) ? "phase" : "histogram") + ". Nothing was written.");
    return false;
  }
  model.Parameters.Renumber();
  return WriteExportFile(fileName, SirJobText(model));
}
