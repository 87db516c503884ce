#include "model/gsasimport.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "model/brkapart.h"
#include "model/crystal.h"
#include "model/importlines.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

namespace {

// The most histograms a file can number (three digits in HST keys).
constexpr int MaxGsasHistograms = 999;
// B = 8π² U.
constexpr double EightPiSquared = 78.957;

// A GSAS U value as the model's B.
float BFromU(float u) { return SingleOf(u * EightPiSquared); }

bool Begins(const std::string& line, const char* key) { return line.rfind(key, 0) == 0; }

// Columns 7-12, the record name; empty for a line shorter than a key.
std::string RecordName(const std::string& line) { return line.size() >= 12 ? line.substr(6, 6) : std::string(); }

struct TGsasCounts {
  int Histograms = 1;
  int Phases = 1;
};

// The first pass: the counts the model is built with. False, with the reason,
// for a file that holds no experiment record or cannot be one.
bool CountRecords(const std::string& text, TGsasCounts& counts, std::string& reason) {
  TImportLines lines(text);
  bool records = false;
  int highestHap = 0;
  while (lines.TryNext()) {
    const std::string& s = lines.Line();
    if (Begins(s, " EXPR  NHST ")) {
      records = true;
      int n = 0;
      try {
        n = lines.Int(13, 5);
      } catch (const Exception& e) {
        reason = e.Message();
        return false;
      }
      if (n > MaxGsasHistograms) {
        reason = "line " + std::to_string(lines.LineNumber()) + ": " + std::to_string(n) +
                 " histograms, more than an experiment file can number";
        return false;
      }
      counts.Histograms = std::max(1, n);
    } else if (Begins(s, "CRS")) {
      records = true;
      counts.Phases = std::max(counts.Phases, ColumnsToInt(s, 4, 1));
    } else if (Begins(s, "HAP")) {
      records = true;
      highestHap = std::max(highestHap, ColumnsToInt(s, 5, 2));
    } else if (Begins(s, "HST") || Begins(s, "      DESCR ") || Begins(s, " EXPR  HTYP")) {
      records = true;
    }
  }
  if (!records) {
    reason = "it holds no experiment records";
    return false;
  }
  if (highestHap != 0) counts.Histograms = highestHap;
  return true;
}

class TGsasReader {
public:
  TGsasReader(TRietveld& model, const std::string& text, const TGsasCounts& counts)
      : M(model), L(text), FCounts(counts) {}
  void Build();
  void Run();
  // After the records: occupancies in the model's convention (N = fraction x
  // m / M, M from the phase's final space group), and a histogram-1 scale
  // folded into the phase scales. Appends what the user must hear to
  // `messages`.
  void Finish(std::vector<std::string>& messages);
  // Phases whose atom count (NATOM) exceeds the atoms the file held.
  std::string MissingAtoms() const;
  // The line of the first record that named an undeclared phase or a
  // histogram without samples (0 when none did).
  int FirstIgnored = 0;
  std::string FirstIgnoredText;

private:
  void Ignore() {
    if (FirstIgnored != 0) return;
    FirstIgnored = L.LineNumber();
    FirstIgnoredText = L.Line().substr(0, 12);
    for (char& c : FirstIgnoredText)
      if (static_cast<unsigned char>(c) < ' ' || c == 127) c = '?';
  }
  // A SPAXIS index, columns first .. first+4. Older GSAS versions write the
  // indices as reals ("   1."): a whole-valued real is that integer, and
  // anything unreadable is 0, as for every lenient integer column.
  int AxisIndex(int first) const {
    double v = 0;
    if (TryColumnsToReal(L.Line(), first, 5, v) && v == std::trunc(v) && std::fabs(v) <= 1e6) return static_cast<int>(v);
    return ColumnsToInt(L.Line(), first, 5);
  }
  TSample* Sample(int h, int p) const {
    return FSamples[static_cast<std::size_t>((p - 1) * FCounts.Histograms + (h - 1))];
  }
  void CrsRecord(int p, const std::string& name);
  void HapRecord(int p, int h, const std::string& name);
  void HstRecord(THistogram& hist, const std::string& name);

  TRietveld& M;
  TImportLines L;
  TGsasCounts FCounts;
  std::vector<TSample*> FSamples;
  TAtom* FLastAtom = nullptr;
  // Per phase (index p - 1): the atoms the NATOM record announces (-1 none).
  std::vector<int> FAtomCounts;
  // The profile type of each (phase, histogram) pair, from its PRCF record.
  std::map<std::pair<int, int>, int> FProfileTypes;
};

void TGsasReader::Build() {
  M.Reset();
  M.LineCounter = 1;
  M.PrintU = 1;
  for (int h = 1; h <= FCounts.Histograms; ++h) M.AddHistogram(std::make_unique<THistogram>());
  for (int p = 1; p <= FCounts.Phases; ++p) {
    for (int h = 1; h <= FCounts.Histograms; ++h) {
      auto s = std::make_unique<TSample>();
      s->Histogram = h;
      s->Phase = p;
      FSamples.push_back(M.AddSample(std::move(s)));
    }
    M.AddPhase(std::make_unique<TPhase>());
  }
  FAtomCounts.assign(static_cast<std::size_t>(FCounts.Phases), -1);
}

void TGsasReader::Finish(std::vector<std::string>& messages) {
  // The file gives fraction x multiplicity; the model holds fraction x m / M.
  std::string unknown;
  for (int p = 1; p <= M.PhaseCount(); ++p) {
    TPhase& ph = *M.Phase(p);
    if (ph.AtomCount() == 0) continue;
    const int general = GeneralMultiplicity(ph.SpaceGroup);
    if (general <= 0) {
      unknown += (unknown.empty() ? "" : ", ") + std::to_string(p) + " (\"" + ph.SpaceGroup + "\")";
      continue;
    }
    for (auto& atom : ph.Atoms) atom->N = static_cast<float>(double(atom->N) / general);
  }
  if (!unknown.empty())
    messages.push_back("The space group of phase " + unknown +
                       " is not known: its atom occupancies are kept as fraction times site multiplicity.");

  // The engine input file holds no scale for histogram 1: its scale goes into
  // every phase scale, and the other histograms' scales are divided by it,
  // so every calculated pattern stays as it was.
  THistogram& first = *M.Histogram(1);
  if (first.Scale != 1.0f) {
    const double s = first.Scale;
    bool fits = std::isfinite(s) && s > 0;
    for (int p = 1; p <= M.PhaseCount() && fits; ++p) fits = FitsSingle(M.Phase(p)->Scale * s);
    for (int h = 2; h <= M.HistogramCount() && fits; ++h) fits = FitsSingle(M.Histogram(h)->Scale / s);
    if (fits) {
      for (int p = 1; p <= M.PhaseCount(); ++p) M.Phase(p)->Scale = static_cast<float>(M.Phase(p)->Scale * s);
      for (int h = 2; h <= M.HistogramCount(); ++h)
        M.Histogram(h)->Scale = static_cast<float>(M.Histogram(h)->Scale / s);
      first.Scale = 1.0f;
    } else {
      messages.push_back("The scale of histogram 1 (HSCALE " + FloatToStr(s) +
                         ") cannot be kept: the model keeps it, but an engine input file saves 1 in its place.");
    }
  }
}

std::string TGsasReader::MissingAtoms() const {
  std::string text;
  for (int p = 1; p <= M.PhaseCount(); ++p) {
    const int expected = FAtomCounts[static_cast<std::size_t>(p - 1)];
    const int read = M.Phase(p)->AtomCount();
    if (expected > read)
      text += (text.empty() ? "" : "; ") + std::string("phase ") + std::to_string(p) + " counts " +
              std::to_string(expected) + " atoms, the file holds " + std::to_string(read);
  }
  return text;
}

void TGsasReader::Run() {
  L.TrackCounter(&M.LineCounter);
  while (L.TryNext()) {
    const std::string& s = L.Line();
    if (Begins(s, "      DESCR ")) M.Title = TrimRight(L.Text(15, 66));  // without the record's padding
    if (Begins(s, " EXPR  HTYP")) {
      for (int i = 1; i <= 9 && i <= M.HistogramCount(); ++i) {
        THistogram& hist = *M.Histogram(i);
        hist.Job = jobXrayData;
        const std::string kind = L.Text(5 * i + 11, 2);
        if (kind == "NC")
          hist.Job = jobNeutronData;
        else if (kind == "NT")
          hist.Job = jobTOFData;
      }
    }
    const std::string name = RecordName(s);
    if (name.empty()) continue;
    if (Begins(s, "CRS")) {
      const int p = ColumnsToInt(s, 4, 1);
      if (p < 1 || p > M.PhaseCount())
        Ignore();
      else
        CrsRecord(p, name);
    }
    if (Begins(s, "HAP")) {
      const int p = ColumnsToInt(s, 4, 1);
      const int h = ColumnsToInt(s, 5, 2);
      if (p < 1 || p > M.PhaseCount() || h < 1 || h > M.HistogramCount())
        Ignore();
      else
        HapRecord(p, h, name);
    }
    if (Begins(s, "HST")) {
      const int h = ColumnsToInt(s, 4, 3);
      if (h >= 1 && h <= M.HistogramCount()) HstRecord(*M.Histogram(h), name);
    }
  }
  // A count of fixed background points is the model's user-points background.
  for (auto& hist : M.Histograms)
    if (hist->Background.Kind > bkUserPoints) hist->Background.Kind = bkUserPoints;
}

void TGsasReader::CrsRecord(int p, const std::string& name) {
  TPhase& ph = *M.Phase(p);
  const std::string& s = L.Line();
  if (name == "  PNAM") ph.Title = TrimRight(L.Text(15, 66));
  if (name == "ABC   ") {
    ph.A = L.Real(13, 10);
    ph.B = L.Real(23, 10);
    ph.C = L.Real(33, 10);
  }
  if (name == "ANGLES") {
    ph.Alpha = L.Real(13, 10);
    ph.Beta = L.Real(23, 10);
    ph.Gamma = L.Real(33, 10);
  }
  if (name == "SG SYM") ph.SpaceGroup = TrimRight(UpperCase(L.Text(15, 20)));
  if (name == "NATOM ") FAtomCounts[static_cast<std::size_t>(p - 1)] = std::max(0, L.Int(13, 5));
  if (name == "SPAXIS") {
    const int uh = AxisIndex(13), uk = AxisIndex(18), ul = AxisIndex(23);
    for (int h = 1; h <= M.HistogramCount(); ++h) {
      TSample& sample = *Sample(h, p);
      sample.UH = static_cast<float>(uh);
      sample.UK = static_cast<float>(uk);
      sample.UL = static_cast<float>(ul);
    }
  }
  if (s.compare(6, 2, "AT") == 0 && s[11] == 'A') {
    auto atom = std::make_unique<TAtom>();
    atom->AtomType = L.Text(15, 4);
    atom->Label = L.Text(63, 4);
    atom->X = L.Real(23, 10);
    atom->Y = L.Real(33, 10);
    atom->Z = L.Real(43, 10);
    // Fraction x multiplicity for now; Finish divides by M.
    atom->N = SingleOf(static_cast<double>(L.Real(53, 10)) * L.Real(71, 4));
    FLastAtom = ph.AddAtom(std::move(atom));
  }
  if (s.compare(6, 2, "AT") == 0 && s[11] == 'B' && FLastAtom) {
    const char kind = s.size() >= 75 ? s[74] : ' ';
    if (kind == 'I') FLastAtom->B = BFromU(L.Real(13, 10));
    if (kind == 'A')
      for (int t = 6; t <= 11; ++t) *FLastAtom->Value(t) = BFromU(L.Real(13 + 10 * (t - 6), 10));
  }
}

void TGsasReader::HapRecord(int p, int h, const std::string& name) {
  TSample& sample = *Sample(h, p);
  THistogram& hist = *M.Histogram(h);
  if (name == "SCALE ") M.Phase(p)->Scale = L.Real(13, 15);
  if (name == "EXTPOW") sample.Extinction = L.Real(13, 15);
  if (name == "PREFOR") {
    sample.PO = L.Real(13, 10);
    sample.POH = L.Real(13, 10);
    sample.POK = L.Real(23, 10);
    sample.POL = L.Real(33, 10);
  }
  if (name == "PRCF  ") {
    const int t = L.Int(13, 5);
    FProfileTypes[{p, h}] = t;
    hist.Profile = 4;
    if (hist.IsTimeOfFlight())
      hist.Profile = profJorgensenTOF;
    else if (t == 1)
      hist.Profile = 1;
    else if (t == 2)
      hist.Profile = 5;  // a Voigt of a Gaussian and a Lorentzian width, Howard's asymmetry
  }
  if (name.compare(0, 4, "PRCF") == 0 && name.substr(4, 2) != "  ") {
    const int n = L.Int(11, 2);
    if (hist.IsTimeOfFlight()) {
      if (n == 1) {
        sample.TOFAlpha1 = L.Real(13, 15);
        sample.TOFAlpha2 = L.Real(28, 15);
        sample.TOFBeta1 = L.Real(43, 15);
        sample.TOFBeta2 = L.Real(58, 15);
      } else if (n == 2) {
        sample.U = L.Real(13, 15);
        sample.V = L.Real(28, 15);
        sample.W = L.Real(43, 15);
      } else if (n == 3) {
        sample.Uaniso = L.Real(13, 15);
      }
    } else {
      // Constant wavelength: GU, GV, GW are Gaussian variances in centidegrees
      // squared; U, V, W give the squared full width in degrees squared
      // (FWHM^2 = 8 ln 2 sigma^2).
      constexpr double VarianceToFwhm2 = 8 * 0.69314718055994531 / 1e4;
      const auto type = FProfileTypes.find({p, h});
      const bool voigt = type != FProfileTypes.end() && type->second == 2;
      if (n == 1) {
        sample.U = SingleOf(L.Real(13, 15) * VarianceToFwhm2);
        sample.V = SingleOf(L.Real(28, 15) * VarianceToFwhm2);
        sample.W = SingleOf(L.Real(43, 15) * VarianceToFwhm2);
        // Type 2: LX, the Lorentzian width over cos(theta), in centidegrees.
        if (voigt) sample.Gam0 = SingleOf(L.Real(58, 15) / 100.0);
      } else if (n == 2 && voigt) {
        // LY (Lorentzian width times tan(theta)), trns, asym (Howard's
        // asymmetry), shft; centidegrees.
        sample.Gam1 = SingleOf(L.Real(13, 15) / 100.0);
        sample.Gam2 = 0;
        sample.Asym1 = SingleOf(L.Real(43, 15) / 100.0);
        sample.Asym2 = 0;
      } else if (n == 3 && voigt) {
        // GP, a Gaussian variance over cos^2(theta) = 1 + tan^2(theta):
        // it adds to both GU and GW (after the PRCF 1 record).
        const double gp = L.Real(13, 15) * VarianceToFwhm2;
        sample.U = SingleOf(sample.U + gp);
        sample.W = SingleOf(sample.W + gp);
      }
    }
  }
}

void TGsasReader::HstRecord(THistogram& hist, const std::string& name) {
  if (name == " ICONS") {
    hist.Zero = L.Real(33, 10);
    if (!hist.IsTimeOfFlight()) hist.Zero /= 100;
    hist.Wavelength1 = L.Real(13, 10);
    hist.Wavelength2 = L.Real(23, 10);
    // Constant wavelength, columns 53-62: the K alpha 2 / K alpha 1 intensity
    // ratio (0 or blank for one wavelength). The polarisation keeps its default.
    if (!hist.IsTimeOfFlight()) hist.Ratio = L.Real(53, 10);
  }
  if (name.compare(0, 3, "EXC") == 0) hist.Excluded.AddRegion(L.Real(13, 10), L.Real(23, 10));
  if (name == " NFXB ") {
    const int n = L.Int(13, 5);
    if (n < 0)
      throw EConvertError("line " + std::to_string(L.LineNumber()) + ": a negative number of background points");
    hist.Background.Kind = n;
  }
  if (name.compare(0, 3, "FXB") == 0) hist.Background.AddPoint(L.Real(13, 10), L.Real(23, 10));
  if (name == "HSCALE") hist.Scale = L.Real(13, 15);
  if (name == "BAKGD ") {
    const int n = L.Int(18, 5);
    M.BackTerms = n <= 6 ? 0 : 1;
    const int t = L.Int(13, 5);
    if (t == 1 || t == 2 || t == 4)
      hist.Background.Kind = bkPolynomial;
    else if (t == 3)
      hist.Background.Kind = bkAmorphous;
    else if (hist.Background.Kind <= 1)
      hist.Background.Kind = bkPolynomial;
  }
}

}  // namespace

bool ImportGSAS(TRietveld& model, const std::string& fileName) {
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
  auto refuse = [&](const std::string& reason) {
    ShowMessage(ExtractFileName(fileName) + " is not a GSAS experiment file (" + reason +
                "). The model is unchanged.");
    return false;
  };
  if (TImportLines(text).Blank()) return refuse("the file is empty");
  if (LooksBinary(text)) return refuse("it holds binary data");
  TGsasCounts counts;
  std::string reason;
  if (!CountRecords(text, counts, reason)) return refuse(reason);

  // A record that cannot be read ends the import before the model is
  // touched: the file is read into a scratch model first.
  {
    TRietveld scratch;
    TGsasReader trial(scratch, text, counts);
    trial.Build();
    try {
      trial.Run();
    } catch (const std::exception& e) {
      ShowMessage(ImportErrorMessage(e, scratch.LineCounter) + ". The model is unchanged.");
      return false;
    }
  }
  TGsasReader reader(model, text, counts);
  reader.Build();
  reader.Run();
  std::vector<std::string> messages;
  reader.Finish(messages);
  const std::string missing = reader.MissingAtoms();
  if (missing.empty())
    model.Loaded = true;
  else
    messages.insert(messages.begin(), "Error reading Inputfile at line " + ImportCounterText(model.LineCounter) +
                                          ": the file ends before all atoms were read (" + missing + ").");
  for (const std::string& m : messages) ShowMessage(m);
  if (reader.FirstIgnored != 0)
    ShowMessage("Records of " + ExtractFileName(fileName) +
                " that name a phase the file does not count, or a histogram without samples, were ignored (the "
                "first at line " +
                std::to_string(reader.FirstIgnored) + ": \"" + reader.FirstIgnoredText + "\").");
  model.Parameters.ResolveCodes(0);
  return model.Loaded;
}
