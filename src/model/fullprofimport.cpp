#include "model/fullprofimport.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "model/brkapart.h"
#include "model/datafiles.h"
#include "model/dwbsimport.h"
#include "model/importlines.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/strutils.h"

namespace {

bool IsFreeLayout(const std::string& firstLine) { return firstLine.compare(0, 4, "COMM") == 0; }

// The free layout's comment lines ("!" first) may hold anything, NUL bytes
// included (Fullprof writes such comments); a NUL on any other line is binary.
bool BinaryOutsideComments(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    if (text[at] != '!' && std::memchr(text.data() + at, '\0', end - at)) return true;
    at = end + 1;
  }
  return false;
}

class TFreeLayoutReader {
public:
  TFreeLayoutReader(TRietveld& model, TImportLines& lines) : M(model), L(lines) {}
  void Run(bool& headerRead);

private:
  // The next line that does not begin with "!", split into fields; with
  // `comments`, a "#" and what follows it on the line are left out.
  const TImportFields& DataLine(bool comments = false) {
    do L.Next();
    while (!L.Line().empty() && L.Line()[0] == '!');
    const std::size_t hash = comments ? L.Line().find('#') : std::string::npos;
    F.Split(hash == std::string::npos ? L.Line() : L.Line().substr(0, hash), L.LineNumber());
    return F;
  }
  // Field k as a count of lines that follow (missing: 0); a negative or huge
  // count is an error, never a long loop.
  int Count(int k) {
    if (k > F.Count()) return 0;
    const int n = F.Int(k);
    if (n < 0 || n > L.LineCount())
      throw EConvertError("line " + std::to_string(L.LineNumber()) + ", value " + std::to_string(k) + ": " +
                          std::to_string(n) + " is not a count of lines of this file");
    return n;
  }
  void SkipDataLines(int n) {
    for (int k = 0; k < n; ++k) DataLine();
  }
  void Code(int field, int h, int p, int a, int t) { FCodes->Add(h, p, a, t, F.Real(field)); }
  void ReadPhase(int p);

  TRietveld& M;
  TImportLines& L;
  TImportFields F;
  std::optional<TImportCodes> FCodes;  // made once the model is reset
};

void TFreeLayoutReader::Run(bool& headerRead) {
  M.Reset();
  FCodes.emplace(M.Parameters);
  M.LineCounter = 1;
  L.TrackCounter(&M.LineCounter);
  L.Next();
  M.Title = L.Line();

  DataLine();
  F.Need(7);
  auto owned = std::make_unique<THistogram>();
  THistogram& hist = *owned;
  hist.Job = F.Int(1);
  hist.Profile = F.Int(2) == 6 ? 2 : 4;
  const int phases = F.Int(3);
  hist.Background.Kind = F.Int(4);
  const int excluded = F.Int(5);
  const int entries = F.Int(6);
  hist.AbsorptionModel = F.Int(7) >= 1 ? 1 : 0;
  hist.AuxOption = 0;
  CheckImportCounts("line " + std::to_string(L.LineNumber()), hist.Job, hist.Background.Kind, phases, excluded,
                    entries, L.LineCount());
  for (int k = 0; k < std::min(excluded, MaxExcludedRegions); ++k) hist.Excluded.AddRegion(0, 0);
  for (int k = 0; k < entries; ++k) hist.ScatterFactors.AddNew();
  M.AddHistogram(std::move(owned));

  DataLine();
  F.Need(10);
  int* flags[10] = {&M.IOT, &M.IPL, &M.IPC, &M.MAT, &M.ControlFlag5, &M.LST1, &M.LST2, &M.LST3, &M.IPL1, &M.PlotFile};
  for (int k = 0; k < 10; ++k) *flags[k] = F.Int(k + 1);
  M.ControlFlag5 = 1;
  for (int* f : {&M.IOT, &M.IPL, &M.IPC, &M.PlotFile}) *f = std::min(*f, 1);
  for (int k = 0; k < 10; ++k) CheckImportFlag(*flags[k], L.LineNumber(), k + 1);
  M.FourierFile = M.ReadFormat = M.Sync = M.SeparateData = M.RecycleLeBail = M.BackTerms = M.IPREF = M.PrintU = 0;
  M.Rmin = M.Rmax = 0;

  DataLine();
  F.Need(8);
  hist.Wavelength1 = F.Real(1);
  hist.Wavelength2 = F.Real(2);
  hist.Ratio = F.Real(3);
  hist.BaseWidth = std::min(F.Real(5), 7.0f);
  hist.Polarisation = F.Real(6);
  hist.Absorption = F.Real(7);
  M.AsymLimit = F.Real(8);
  hist.Weighting = 0;
  M.F2Limit = 0;

  DataLine();
  F.Need(9);
  M.Cycles = F.Int(1);
  M.EPS = F.Real(2);
  M.Rel1 = F.Real(3);
  M.Rel2 = F.Real(4);
  M.Rel3 = F.Real(5);
  M.Rel4 = F.Real(6);
  hist.Start = F.Real(7);
  hist.Step = F.Real(8);
  hist.Stop = F.Real(9);
  hist.Scale = 1.0f;
  headerRead = true;

  TBackGround& bg = hist.Background;
  if (bg.Kind >= 2) {
    const int points = bg.Kind;
    for (int k = 0; k < points; ++k) {
      DataLine();
      bg.AddPoint(F.Real(1), F.Real(2));
    }
    bg.Kind = bkUserPoints;
  }
  for (int k = 0; k < excluded; ++k) {
    DataLine();
    hist.Excluded.SetRegion(k, F.Real(1), F.Real(2));
  }
  // Scattering entries are physical lines in fixed columns.
  for (int e = 1; e <= hist.ScatterFactors.Count(); ++e) ReadDwbsScatterEntry(L, hist, *hist.ScatterFactors.Entry(e));

  DataLine();
  M.MaxCode = F.Int(1);
  DataLine();
  hist.Zero = F.Real(1);
  Code(2, 1, 0, 0, 1);

  if (bg.Kind <= 0) {
    DataLine();
    for (int k = 0; k < 6; ++k) bg.Coefficients[static_cast<std::size_t>(k)] = F.Real(k + 1);
    DataLine();
    for (int k = 0; k < 6; ++k) Code(k + 1, 1, 0, 0, k + 2);
  }
  const int skip = bg.Kind == bkAmorphous ? 4 : bg.Kind == bkChebyI ? 1 : 0;
  for (int k = 0; k < skip; ++k) DataLine();

  for (int p = 1; p <= phases; ++p) ReadPhase(p);
}

void TFreeLayoutReader::ReadPhase(int p) {
  DataLine();
  TPhase& ph = *M.AddPhase(std::make_unique<TPhase>());
  ph.Title = L.Line();
  auto sampleOwned = std::make_unique<TSample>();
  sampleOwned->Histogram = 1;
  sampleOwned->Phase = p;
  TSample& s = *M.AddSample(std::move(sampleOwned));

  // Nat Dis Ang Pr1 Pr2 Pr3 Jbt Irf Isy Str Furth ATZ Nvk Npr More: the
  // counts and flags after Pr3 announce optional lines (older files stop
  // earlier; what is missing is 0).
  DataLine();
  F.Need(6);
  const int atoms = F.Int(1);
  if (atoms < 0) throw EConvertError("line " + std::to_string(L.LineNumber()) + ": a negative number of atoms");
  const int distances = Count(2), angles = Count(3), vectors = Count(13);
  const bool more = F.Count() >= 15 && F.Int(15) != 0;
  ph.CalcMethod = atoms == 0 ? 1 : 0;
  ph.Z = 1;
  s.POH = F.Real(4);
  s.POK = F.Real(5);
  s.POL = F.Real(6);
  s.UH = s.UK = s.UL = 0;

  if (more) {
    // Jvi Jdi Hel Sol Mom Ter Brind RMua RMub RMuc Jtyp Nsp_Ref Ph_Shift N_Domains
    DataLine();
    const int jdi = F.Count() >= 2 ? F.Int(2) : 0;
    if (jdi != 0) {
      // Dmax Amax [BVS]; with BVS the cation and anion counts, then the
      // cation names and the anion names, a line each.
      DataLine();
      if (UpperCase(L.Line()).find("BVS") != std::string::npos) SkipDataLines(3);
    }
  }

  DataLine();
  ph.SpaceGroup = Utf8Left(L.Line(), 20);

  // Atom Typ X Y Z Biso Occ In Fin N_t Spc (a "#" comment may follow), then
  // the codes; N_t 2 adds the six betas and their codes, which are not read.
  for (int a = 1; a <= atoms; ++a) {
    DataLine(true);
    F.Need(7);
    const int kind = F.Count() >= 10 ? F.Int(10) : 0;
    TAtom* atom = ph.AddAtom(std::make_unique<TAtom>());
    atom->Label = ToAtomSymbol4(F[1]);
    atom->AtomType = ToAtomSymbol4(F[2]);
    for (int t = 1; t <= 5; ++t) *atom->Value(t) = F.Real(t + 2);
    DataLine(true);
    F.Need(5);
    for (int t = 1; t <= 5; ++t) Code(t, 0, p, a, t);
    if (kind == 2) SkipDataLines(2);
  }

  DataLine();
  ph.Scale = F.Real(1);
  DataLine();
  Code(1, 0, p, 0, 1);

  DataLine();
  F.Need(3);
  s.U = F.Real(1);
  s.V = F.Real(2);
  s.W = F.Real(3);
  DataLine();
  F.Need(3);
  for (int k = 0; k < 3; ++k) Code(k + 1, 1, p, 0, 3 + k);

  DataLine();
  F.Need(6);
  for (int t = 6; t <= 11; ++t) *ph.Value(t) = F.Real(t - 5);
  DataLine();
  F.Need(6);
  for (int t = 6; t <= 11; ++t) Code(t - 5, 0, p, 0, t);

  DataLine();
  F.Need(3);
  s.PO = F.Real(1);
  s.AbsorptionR = 0;
  s.Asym1 = F.Real(3);
  DataLine();
  Code(1, 1, p, 0, 12);
  // Propagation vectors, each a line and its codes; then the soft distance
  // and angle restraints, a line each.
  SkipDataLines(2 * vectors + distances + angles);

  s.Gam0 = s.Gam1 = s.Gam2 = 0;
  s.Extinction = s.Pore = s.Rough = 0;
}

}  // namespace

bool ImportFullprof(TRietveld& model, const std::string& fileName) {
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
    return ExtractFileName(fileName) + " fits neither the fixed nor the free layout of a Fullprof input file (" +
           detail + "). The model is unchanged.";
  };
  TImportLines probe(text);
  if (probe.Blank()) {
    ShowMessage(refusal("the file is empty"));
    return false;
  }
  probe.TryNext();
  const bool free = IsFreeLayout(probe.Line());
  if (free ? BinaryOutsideComments(text) : LooksBinary(text)) {
    ShowMessage(refusal("it holds binary data"));
    return false;
  }
  const bool loaded = RunLayoutImport(
      model, text,
      [free](TRietveld& m, TImportLines& lines, bool& headerRead) {
        if (free)
          TFreeLayoutReader(m, lines).Run(headerRead);
        else
          ReadDwbsLayout(m, lines, true, headerRead);
      },
      refusal, true);
  if (loaded) {
    // A preferred orientation that is off (no positive value, or no
    // direction) is the model's March-Dollase ratio 1, which the engine takes.
    for (auto& sample : model.Samples) {
      const bool noDirection = sample->POH == 0 && sample->POK == 0 && sample->POL == 0;
      if (sample->PO > 0 && !noDirection) continue;
      sample->PO = 1.0f;
      if (noDirection) sample->POL = 1.0f;
    }
  }
  return loaded;
}
