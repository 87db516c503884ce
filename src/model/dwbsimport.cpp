#include "model/dwbsimport.h"

#include <algorithm>
#include <optional>

#include "model/brkapart.h"
#include "model/importlines.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"

void CheckImportCounts(const std::string& where, int job, int background, int phases, int excluded, int entries,
                       int fileLines) {
  if (job < jobXrayData || job > jobEDCalc)
    throw EConvertError(where + ": the histogram kind " + std::to_string(job) + " is unknown");
  if (background < bkAutoSmoothed)
    throw EConvertError(where + ": the background model " + std::to_string(background) + " is unknown");
  const struct {
    int Count;
    const char* What;
  } counts[] = {{phases, "phases"}, {excluded, "excluded regions"}, {entries, "scattering entries"},
                {std::max(background, 0), "background points"}};
  for (const auto& c : counts) {
    if (c.Count < 0) throw EConvertError(where + ": a negative number of " + c.What);
    // Each of them takes at least one line of the file.
    if (c.Count > fileLines)
      throw EInOutError(where + ": " + std::to_string(c.Count) + " " + c.What + " announced in a file of " +
                            std::to_string(fileLines) + " lines",
                        106);
  }
}

int CheckImportFlag(int value, int line, int k) {
  if (value < 0 || value > 9)
    throw EConvertError("line " + std::to_string(line) + ", value " + std::to_string(k) + ": the control flag " +
                        std::to_string(value) + " is not a digit");
  return value;
}

void ReadDwbsScatterEntry(TImportLines& lines, const THistogram& histogram, TScatterFactor& entry) {
  lines.Next();
  entry.Symbol = lines.Text(1, 4);
  entry.FPrime = lines.Real(5, 8);
  entry.FDoublePrime = lines.Real(13, 8);
  entry.TableKind = 0;
  if (!histogram.IsXrayCW()) return;
  lines.Next();
  if (lines.Real(19, 8) == 0) {
    // A table of points, ended by a line whose first field is -100.
    entry.TableKind = 1;
    while (lines.Real(1, 8) != -100.0f) {
      entry.AddPoint(lines.Real(1, 8), lines.Real(9, 8));
      lines.Next();
    }
    return;
  }
  static const int first[9] = {1, 10, 19, 28, 37, 46, 55, 64, 73};
  for (int i = 0; i < 9; ++i)
    entry.Coefficients[static_cast<std::size_t>(i)] = lines.Real(first[i], 8);
}

namespace {

class TDwbsReader {
public:
  TDwbsReader(TRietveld& model, TImportLines& lines, bool fullprof)
      : M(model), L(lines), FFullprof(fullprof) {}
  void Run(bool& headerRead);

private:
  void Code(int first, int width, int h, int p, int a, int t) { FCodes->Add(h, p, a, t, L.Real(first, width)); }
  void ReadPhase(int p);

  TRietveld& M;
  TImportLines& L;
  bool FFullprof;
  std::optional<TImportCodes> FCodes;  // made once the model is reset
};

void TDwbsReader::Run(bool& headerRead) {
  M.Reset();
  FCodes.emplace(M.Parameters);
  M.LineCounter = 1;
  L.Next();
  M.Title = L.Line();
  M.LineCounter = 2;

  L.Next();
  auto owned = std::make_unique<THistogram>();
  THistogram& hist = *owned;
  hist.Job = L.Int(4, 1);
  const int shape = L.Int(5, 4);
  hist.Profile = (shape == 6 || (!FFullprof && shape == 4)) ? 2 : 4;
  const int phases = L.Int(9, 4);
  hist.Background.Kind = L.Int(13, 4);
  const int excluded = L.Int(17, 4);
  const int entries = L.Int(21, 4);
  CheckImportCounts("line 2", hist.Job, hist.Background.Kind, phases, excluded, entries, L.LineCount());
  for (int k = 0; k < std::min(excluded, MaxExcludedRegions); ++k) hist.Excluded.AddRegion(0, 0);
  for (int k = 0; k < entries; ++k) hist.ScatterFactors.AddNew();
  hist.AuxOption = 0;
  hist.AbsorptionModel = FFullprof && L.Int(37, 4) >= 1 ? 1 : 0;
  const bool extraLine = FFullprof && L.Int(45, 4) != 0;
  M.AddHistogram(std::move(owned));
  M.LineCounter = 2.01f;
  L.TrackCounter(&M.LineCounter);
  if (extraLine) L.Next();

  // Control line.
  int* flags[10] = {&M.IOT, &M.IPL, &M.IPC, &M.MAT, &M.ControlFlag5, &M.LST1, &M.LST2, &M.LST3, &M.IPL1, &M.PlotFile};
  if (FFullprof) {
    for (int k = 0; k < 10; ++k) *flags[k] = L.ItemInt();
    L.ItemInt();  // one more value, not used
    const int line = L.LineNumber();
    L.SkipRestOfLine();
    for (int* f : {&M.IOT, &M.IPL, &M.IPC, &M.ControlFlag5, &M.PlotFile}) *f = std::min(*f, 1);
    for (int k = 0; k < 10; ++k) *flags[k] = CheckImportFlag(*flags[k], line, k + 1);
  } else {
    L.Next();
    for (int k = 0; k < 10; ++k) *flags[k] = L.Int(k + 1, 1);
    if (M.IPC == 2) M.IPC = 1;
    M.ControlFlag5 = 1;
  }
  M.FourierFile = M.ReadFormat = M.Sync = M.SeparateData = M.RecycleLeBail = M.BackTerms = M.IPREF = M.PrintU = 0;
  M.Rmin = M.Rmax = 0;

  // Wavelength line.
  if (FFullprof) {
    hist.Wavelength1 = L.ItemReal();
    hist.Wavelength2 = L.ItemReal();
    hist.Ratio = L.ItemReal();
    L.ItemReal();  // not used
    hist.BaseWidth = L.ItemReal();
    hist.Polarisation = L.ItemReal();
    hist.Absorption = L.ItemReal();
    M.AsymLimit = L.ItemReal();
    L.SkipRestOfLine();
  } else {
    L.Next();
    hist.Wavelength1 = L.Real(1, 8);
    hist.Wavelength2 = L.Real(9, 8);
    hist.Ratio = L.Real(17, 8);
    hist.BaseWidth = L.Real(33, 8);
    hist.Polarisation = L.Real(41, 8);
    hist.Absorption = L.Real(49, 8);
    M.AsymLimit = L.Real(57, 8);
  }
  hist.Weighting = 0;
  M.F2Limit = 0;

  // Cycles line.
  if (FFullprof) {
    M.Cycles = L.ItemInt();
    for (float* v : {&M.EPS, &M.Rel1, &M.Rel2, &M.Rel3, &M.Rel4, &hist.Start, &hist.Step, &hist.Stop})
      *v = L.ItemReal();
    L.SkipRestOfLine();
  } else {
    L.Next();
    M.Cycles = L.Int(1, 4);
    M.EPS = L.Real(5, 4);
    M.Rel1 = L.Real(9, 4);
    M.Rel2 = L.Real(13, 4);
    M.Rel3 = L.Real(17, 4);
    M.Rel4 = L.Real(21, 4);
    hist.Start = L.Real(25, 8);
    hist.Step = L.Real(33, 8);
    hist.Stop = L.Real(41, 8);
  }
  hist.Scale = 1.0f;
  headerRead = true;

  TBackGround& bg = hist.Background;
  if (bg.Kind >= 2) {
    const int points = bg.Kind;
    for (int k = 0; k < points; ++k) {
      L.Next();
      bg.AddPoint(L.Real(1, 8), L.Real(9, 8));
    }
    bg.Kind = bkUserPoints;
  }
  // Every announced line is read, so that the rest stays in step; regions
  // beyond the fiftieth are dropped.
  for (int k = 0; k < excluded; ++k) {
    L.Next();
    hist.Excluded.SetRegion(k, L.Real(1, 8), L.Real(9, 8));
  }
  for (int e = 1; e <= hist.ScatterFactors.Count(); ++e) ReadDwbsScatterEntry(L, hist, *hist.ScatterFactors.Entry(e));

  if (FFullprof) {
    M.MaxCode = L.ItemInt();
    L.SkipRestOfLine();
    L.Next();
    hist.Zero = L.Real(1, 8);
    Code(9, 8, 1, 0, 0, 1);
  } else {
    L.Next();
    M.MaxCode = L.Int(1, 8);
    L.Next();
    hist.Zero = L.Real(1, 8);
    L.Next();
    Code(1, 8, 1, 0, 0, 1);
  }

  if (bg.Kind <= 0) {
    const int width = FFullprof ? 12 : 9;
    L.Next();
    for (int k = 0; k < 6; ++k) bg.Coefficients[static_cast<std::size_t>(k)] = L.Real(1 + width * k, width);
    L.Next();
    for (int k = 0; k < 6; ++k) Code(1 + width * k, width, 1, 0, 0, k + 2);
    if (FFullprof) {
      const int skip = bg.Kind == bkAmorphous ? 4 : bg.Kind == bkChebyI ? 1 : 0;
      for (int k = 0; k < skip; ++k) L.Next();
    }
  }

  for (int p = 1; p <= phases; ++p) ReadPhase(p);
}

void TDwbsReader::ReadPhase(int p) {
  L.Next();
  TPhase& ph = *M.AddPhase(std::make_unique<TPhase>());
  ph.Title = Utf8Left(L.Line(), 80);
  auto sampleOwned = std::make_unique<TSample>();
  sampleOwned->Histogram = 1;
  sampleOwned->Phase = p;
  TSample& s = *M.AddSample(std::move(sampleOwned));

  L.Next();
  const int atoms = L.Int(1, 4);
  if (atoms < 0) throw EConvertError("line " + std::to_string(L.LineNumber()) + ": a negative number of atoms");
  ph.CalcMethod = atoms == 0 ? 1 : 0;
  if (FFullprof) {
    ph.Z = 1;
    s.POH = 0;
    s.POK = 0;
    s.POL = 1;
  } else {
    ph.Z = L.Int(5, 4);
    if (ph.Z == 0) ph.Z = 1;
    s.POH = L.Real(13, 4);
    s.POK = L.Real(17, 4);
    s.POL = L.Real(21, 4);
  }
  s.UH = s.UK = s.UL = 0;

  L.Next();
  ph.SpaceGroup = Utf8Left(L.Line(), 20);

  for (int a = 1; a <= atoms; ++a) {
    // Appended first, so that its codes never name an atom that is missing
    // when the file ends inside its lines.
    TAtom* atom = ph.AddAtom(std::make_unique<TAtom>());
    L.Next();
    atom->Label = L.Text(1, 4);
    atom->AtomType = L.Text(5, 4);
    for (int t = 1; t <= 5; ++t) *atom->Value(t) = L.Real(17 + 8 * (t - 1), 8);
    L.Next();
    for (int t = 1; t <= 5; ++t) Code(17 + 8 * (t - 1), 8, 0, p, a, t);
    L.Next();
    for (int t = 6; t <= 11; ++t) *atom->Value(t) = L.Real(1 + 8 * (t - 6), 8);
    L.Next();
    for (int t = 6; t <= 11; ++t) Code(1 + 8 * (t - 6), 8, 0, p, a, t);
  }

  const int isoColumn = FFullprof ? 17 : 9;
  L.Next();
  ph.Scale = L.Real(1, 8);
  ph.IsoThermal = L.Real(isoColumn, 8);
  L.Next();
  Code(1, 8, 0, p, 0, 1);
  Code(isoColumn, 8, 0, p, 0, 2);

  L.Next();
  s.U = L.Real(1, 8);
  s.V = L.Real(9, 8);
  s.W = L.Real(17, 8);
  L.Next();
  for (int k = 0; k < 3; ++k) Code(1 + 8 * k, 8, 1, p, 0, 3 + k);

  L.Next();
  for (int t = 6; t <= 11; ++t) *ph.Value(t) = L.Real(1 + 8 * (t - 6), 8);
  L.Next();
  for (int t = 6; t <= 11; ++t) Code(1 + 8 * (t - 6), 8, 0, p, 0, t);

  L.Next();
  s.PO = L.Real(1, 8);
  s.AbsorptionR = 0;
  s.Asym1 = L.Real(17, 8);
  L.Next();
  Code(1, 8, 1, p, 0, 12);
  Code(17, 8, 1, p, 0, 14);

  if (FFullprof) {
    L.Next();  // not used
    s.Gam0 = s.Gam1 = s.Gam2 = 0;
  } else {
    L.Next();
    s.Gam0 = L.Real(1, 8);
    s.Gam1 = L.Real(9, 8);
    s.Gam2 = L.Real(17, 8);
    L.Next();
    for (int k = 0; k < 3; ++k) Code(1 + 8 * k, 8, 1, p, 0, 15 + k);
    for (int k = 0; k < 4; ++k) L.Next();  // not used
  }
  s.Extinction = s.Pore = s.Rough = 0;
}

}  // namespace

void ReadDwbsLayout(TRietveld& model, TImportLines& lines, bool fullprof, bool& headerRead) {
  TDwbsReader(model, lines, fullprof).Run(headerRead);
}

bool ImportDWBS(TRietveld& model, const std::string& fileName) {
  model.Loaded = false;
  if (!FileExists(fileName)) {
    ShowMessage("Input file File does not exist");
    return false;
  }
  std::string text, error;
  if (!LoadImportFile(fileName, text, error)) {
    ShowMessage(error);
    return false;
  }
  auto refusal = [&](const std::string& detail) {
    return ExtractFileName(fileName) + " is not a DWBS input file (" + detail + "). The model is unchanged.";
  };
  if (TImportLines(text).Blank()) {
    ShowMessage(refusal("the file is empty"));
    return false;
  }
  if (LooksBinary(text)) {
    ShowMessage(refusal("it holds binary data"));
    return false;
  }
  return RunLayoutImport(
      model, text,
      [](TRietveld& m, TImportLines& lines, bool& headerRead) { ReadDwbsLayout(m, lines, false, headerRead); },
      refusal);
}
