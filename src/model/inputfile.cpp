// The engine input file (.inp): TRietveld::ReadInputFile and WriteInputFile.
// A fixed-column text file; every refinable value has its refinement code
// somewhere in the file. The reader takes the stated columns; the writer never
// lets a value spill into the next field.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

#include "model/brkapart.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/textfile.h"

namespace {

struct TAddr {
  int H, P, A, T;
  bool operator==(const TAddr&) const = default;
};

struct TAddrHash {
  std::size_t operator()(const TAddr& k) const noexcept {
    std::uint64_t v = static_cast<std::uint32_t>(k.H);
    v = v * 1000003u ^ static_cast<std::uint32_t>(k.P);
    v = v * 1000003u ^ static_cast<std::uint32_t>(k.A);
    v = v * 1000003u ^ static_cast<std::uint32_t>(k.T);
    return static_cast<std::size_t>(v ^ (v >> 29));
  }
};

// ---------------------------------------------------------------------------
// Number texts of the file formats. Always with a point.

std::string Fixed(double x, int decimals) {
  std::string s = RealToStrFixed(x, 0, decimals);
  if (decimals <= 0 && std::isfinite(x)) s += '.';  // an F field always has a point
  return s;
}

// Mantissa digits and decimal exponent of x rounded to p significant digits.
void Scientific(double x, int p, std::string& mantissa, int& exponent) {
  char buf[64];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, std::max(p, 1) - 1);
  std::string s = ec == std::errc() ? std::string(buf, ptr) : std::string("0e+00");
  std::size_t e = s.find('e');
  mantissa = s.substr(0, e);
  exponent = e == std::string::npos ? 0 : std::atoi(s.c_str() + e + 1);
}

std::string ExponentText(int exponent, int minDigits) {
  std::string digits = std::to_string(std::abs(exponent));
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
  return std::string("E") + (exponent < 0 ? '-' : '+') + digits;
}

std::string StripZeros(std::string s) {
  if (s.find('.') == std::string::npos) return s;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

// General notation with p significant digits: trailing zeros dropped;
// scientific below 0.00001 or with more than p integer digits.
std::string General(double x, int p) {
  if (x == 0) return "0";
  if (!std::isfinite(x)) return std::isnan(x) ? "nan" : x < 0 ? "-inf" : "inf";
  std::string mantissa;
  int exponent;
  Scientific(x, p, mantissa, exponent);
  if (std::fabs(x) < 0.00001 || exponent >= p) return StripZeros(mantissa) + ExponentText(exponent, 1);
  return StripZeros(RealToStrFixed(x, 0, std::max(0, p - 1 - exponent)));
}

double RoundSignificant(double x, int p) {
  if (x == 0 || !std::isfinite(x)) return x;
  char buf[64];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, std::max(p, 1) - 1);
  double r = x;
  if (ec == std::errc()) std::from_chars(buf, ptr, r);
  return r;
}

// Scientific with p significant digits and at least e exponent digits ('1.000000E-02').
std::string SciE(double x, int p, int e) {
  std::string mantissa;
  int exponent;
  Scientific(x, p, mantissa, exponent);
  if (mantissa.find('.') == std::string::npos) mantissa += '.';
  if (mantissa[0] == '-' && mantissa.find_first_of("123456789") == std::string::npos) mantissa.erase(0, 1);
  return mantissa + ExponentText(exponent, e);
}

std::string ValueText(double x) { return General(x, 7); }

// Text of a line of the file: control characters would break the line structure.
std::string LineText(std::string s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

}  // namespace

// ---------------------------------------------------------------------------
// Writing

class TInputFileWriter {
public:
  explicit TInputFileWriter(TRietveld& model) : M(model) {}
  std::string Compose();

private:
  TRietveld& M;
  std::string FOut;
  std::string FContext;
  std::vector<std::string> FNotices;
  std::unordered_map<TAddr, double, TAddrHash> FCodes;

  [[noreturn]] void TooWide(const std::string& value, const char* field) const {
    throw EInputFileWrite("The value " + value + " of " + field + " (" + FContext +
                          ") does not fit its column of the input file; the file was not written.");
  }
  // A value the file has no way to hold (an unknown model number, too many rows).
  [[noreturn]] void Unwritable(const std::string& value, const char* field) const {
    throw EInputFileWrite("The value " + value + " of " + field + " (" + FContext +
                          ") cannot be written to the input file; the file was not written.");
  }
  void Pad(const std::string& s, int w) {
    if (static_cast<int>(s.size()) < w) FOut.append(static_cast<std::size_t>(w) - s.size(), ' ');
    FOut += s;
  }
  // Integer in w columns; `fit` narrows the room when the reader takes fewer columns.
  void I(long long v, int w, const char* field, int fit = 0) {
    std::string s = std::to_string(v);
    if (static_cast<int>(s.size()) > (fit > 0 ? fit : w)) TooWide(s, field);
    Pad(s, w);
  }
  // "nan" or "inf" in a column would read back as 0.
  void Finite(double x, const char* field) const {
    if (!std::isfinite(x)) Unwritable(ValueText(x), field);
  }
  // Fixed notation with d decimals, fewer when the value is wider than its room.
  void F(double x, int w, int d, const char* field, int fit = 0) {
    Finite(x, field);
    int room = fit > 0 ? fit : w;
    for (int dd = d; dd >= 0; --dd) {
      std::string s = Fixed(x, dd);
      if (static_cast<int>(s.size()) <= room) return Pad(s, w);
    }
    TooWide(ValueText(x), field);
  }
  void X(double x, int w, int p, int d, const char* field) { F(RoundSignificant(x, p), w, d, field); }
  void G(double x, int w, int p, const char* field) {
    Finite(x, field);
    for (int pp = p; pp >= 1; --pp) {
      std::string s = General(x, pp);
      if (static_cast<int>(s.size()) <= w) return Pad(s, w);
    }
    TooWide(ValueText(x), field);
  }
  void V(double x, int w, int n, const char* field) {
    Finite(x, field);
    for (int nn = n; nn >= 1; --nn) {
      std::string s = FormatReal(x, nn);
      if (static_cast<int>(s.size()) <= w) return Pad(s, w);
    }
    TooWide(ValueText(x), field);
  }
  void E(double x, int w, int p, int e, const char* field) {
    Finite(x, field);
    for (int pp = p; pp >= 1; --pp) {
      std::string s = SciE(x, pp, e);
      if (static_cast<int>(s.size()) <= w) return Pad(s, w);
    }
    TooWide(ValueText(x), field);
  }
  // U, V, W, Uaniso: 5 decimals, 3 above 10 in magnitude.
  void Width(double x, const char* field) { F(x, 8, std::fabs(x) > 10 ? 3 : 5, field); }
  // Text right-aligned in w columns, cut to w.
  void S(const std::string& s, int w) { Pad(Utf8Left(LineText(s), static_cast<std::size_t>(w)), w); }
  void Blank(int n) { FOut.append(static_cast<std::size_t>(n), ' '); }
  void EndLine() { FOut += '\n'; }
  void Code(int h, int p, int a, int t, int w = 8) {
    auto it = FCodes.find({h, p, a, t});
    if (it == FCodes.end()) return F(0.0, w, 3, "refinement code");
    const std::size_t at = FOut.size();
    F(it->second, w, 3, "refinement code");
    CheckCodeReadsBack(it->second, TParameter(h, p, a, t, it->second), FOut.substr(at));
  }
  // A code whose multiplier the columns cannot hold would read back as
  // another parameter or multiplier (80.0001 as 80.000: parameter 8 with
  // multiplier 1) and change the model at the next save.
  void CheckCodeReadsBack(double code, const TParameter& meant, const std::string& written) const {
    const std::string text = TrimText(written);
    double back = 0;
    if (!TryTextToDouble(text, back)) return;
    const TParameter read(meant.Histogram, meant.Phase, meant.Atom, meant.ParamType, back);
    const std::size_t dot = text.find('.');
    const int decimals = dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
    const double room = 0.5 * std::pow(10.0, -decimals) + 1e-6 * std::fabs(meant.Multiplier);
    if (read.Number == meant.Number && std::fabs(read.Multiplier - meant.Multiplier) <= room) return;
    const double multiplier = std::copysign(std::fabs(code) - 10.0 * meant.Number, code);
    throw EInputFileWrite("The refinement code " + ValueText(code) + " of " + ParameterDescription(meant) + " (" +
                          FContext + ") cannot be written: its multiplier " + ValueText(multiplier) +
                          " would read back as " + ValueText(read.Multiplier) +
                          (read.Number == meant.Number ? "" : " of parameter " + std::to_string(read.Number)) +
                          "; the file was not written.");
  }

  void Prepare();
  void BuildCodes();
  void WriteHistogramSection();
  void WritePhase(int p, bool allCalc);
};

void TInputFileWriter::Prepare() {
  if (M.HistogramCount() == 0)
    throw EInputFileWrite("The model has no histogram; an input file needs at least one. The file was not written.");
  for (int h = 1; h <= M.HistogramCount(); ++h) {
    THistogram& hist = *M.Histogram(h);
    FContext = "histogram " + std::to_string(h);
    if (hist.Background.Kind < bkAutoSmoothed || hist.Background.Kind > bkUserPoints)
      Unwritable(std::to_string(hist.Background.Kind), "the background model");
    if (hist.Background.Kind == bkUserPoints) hist.Background.SortPoints();
    hist.Excluded.Regions.SortByX();
    for (auto& e : hist.ScatterFactors.Items) {
      e->Symbol = Utf8Left(LineText(e->Symbol), 4);
      e->Symbol.resize(std::max<std::size_t>(e->Symbol.size(), 4), ' ');
      if (e->TableKind == 1) e->Table.SortByX();
    }
  }
  for (int p = 1; p <= M.PhaseCount(); ++p) {
    // The atom count and the atom lines must agree on which phases have atoms.
    FContext = "phase " + std::to_string(p);
    if (M.Phase(p)->CalcMethod != 0 && M.Phase(p)->CalcMethod != 1)
      Unwritable(std::to_string(M.Phase(p)->CalcMethod), "CalcMethod");
  }
  if (M.BackTerms < 0 || M.BackTerms > 3) {
    FContext = "general settings";
    Unwritable(std::to_string(M.BackTerms), "BackTerms");
  }
  // Every (histogram, phase) pair needs its sample lines.
  for (int p = 1; p <= M.PhaseCount(); ++p)
    for (int h = 1; h <= M.HistogramCount(); ++h)
      if (!M.FindSample(h, p)) {
        M.NewSample(h, p);
        FNotices.push_back("Histogram " + std::to_string(h) + " and phase " + std::to_string(p) +
                           " had no sample values; default values were written.");
      }
}

void TInputFileWriter::BuildCodes() {
  TParameterList& list = M.Parameters;
  list.Renumber();
  std::unordered_map<TAddr, int, TAddrHash> lastNumber;
  for (const auto& q : list.Refined) {
    TAddr k{q->Histogram, q->Phase, q->Atom, q->ParamType};
    FCodes.try_emplace(k, MakeCode(q->Number, q->Multiplier));
    lastNumber[k] = q->Number;
  }
  int n = 0;
  for (const auto& c : list.Constraints) {
    ++n;
    TAddr k{c->Second.Histogram, c->Second.Phase, c->Second.Atom, c->Second.ParamType};
    if (FCodes.count(k)) continue;  // refined on its own, or an earlier constraint's member
    auto f = lastNumber.find({c->First.Histogram, c->First.Phase, c->First.Atom, c->First.ParamType});
    int number = f == lastNumber.end() ? 0 : f->second;
    double r = c->Second.Multiplier;
    if (std::fabs(r) >= 10) {
      // A code holds its multiplier in the units digit and below.
      double reduced = std::fabs(r) - 10 * std::trunc(std::fabs(r) / 10);
      if (reduced == 0) reduced = 1;
      reduced = r < 0 ? -reduced : reduced;
      FNotices.push_back("The ratio " + ValueText(r) + " of constraint " + std::to_string(n) + " (" +
                         M.ConstraintMemberName(n, 2) + ") cannot be held by a refinement code; it was written as " +
                         ValueText(reduced) + ".");
      r = reduced;
    }
    FCodes.emplace(k, MakeCode(number, r));
  }
}

void TInputFileWriter::WriteHistogramSection() {
  const int n = M.HistogramCount();

  FContext = "title";
  FOut += Utf8Left(LineText(M.Title), 80);
  EndLine();

  for (int h = 1; h <= n; ++h) {
    THistogram& hist = *M.Histogram(h);
    FContext = "histogram " + std::to_string(h);
    int bgField = hist.Background.Kind;
    if (hist.Background.Kind == bkUserPoints) {
      bgField = hist.Background.PointCount();
      if (bgField < 2)
        FNotices.push_back("Histogram " + std::to_string(h) + " has a user-points background with " +
                           std::to_string(bgField) + (bgField == 1 ? " point" : " points") +
                           "; it was written as \"" + BackgroundKindName(bgField) + "\" and reads back so.");
    }
    if (n == 1) {
      I(hist.Job, 4, "Job", 1);
    } else if (h == 1) {
      I(n - 1, 3, "the histogram count");
      I(hist.Job, 1, "Job");
    } else {
      I(hist.Job, 4, "Job");
    }
    I(hist.Profile, 4, "Profile");
    I(M.PhaseCount(), 4, "the phase count");
    I(bgField, 4, "the background model");
    I(hist.Excluded.Count(), 4, "the excluded region count");
    I(hist.ScatterFactors.Count(), 4, "the scattering entry count");
    I(hist.AuxOption, 4, "AuxOption");
    I(hist.AbsorptionModel, 4, "AbsorptionModel");
    I(hist.Illumination, 4, "Illumination");
    I(hist.HasDisplacement, 4, "HasDisplacement");
    if (n == 1) {
      I(M.GetSkipLines1(), 4, "SkipLines1");
      I(M.GetSkipLines2(), 4, "SkipLines2");
    }
    EndLine();
  }

  FContext = "control line";
  const int flags[19] = {M.IOT,  M.IPL,        M.IPC,      M.MAT,          M.ControlFlag5, M.LST1,  M.LST2,
                         M.LST3, M.IPL1,       M.PlotFile, M.FourierFile,  M.ReadFormat,   M.Sync,  M.SeparateData,
                         M.RecycleLeBail, M.BackTerms, M.IPREF, M.PrintU, M.Strategy};
  for (int f : flags) I(f, 1, "a control flag");
  Blank(1);
  F(M.Rmin, 8, 3, "Rmin");
  F(M.Rmax, 8, 3, "Rmax");
  F(M.Marquardt, 8, 5, "Marquardt");
  EndLine();

  for (int h = 1; h <= n; ++h) {
    THistogram& hist = *M.Histogram(h);
    FContext = "histogram " + std::to_string(h);
    G(hist.Wavelength1, 8, 7, "Wavelength1");
    G(hist.Wavelength2, 8, 7, "Wavelength2");
    F(hist.Ratio, 8, 5, "Ratio");
    F(hist.Weighting, 8, 2, "Weighting");
    F(hist.BaseWidth, 8, 4, "BaseWidth");
    F(hist.Polarisation, 8, 4, "Polarisation");
    F(hist.Absorption, 8, 2, "Absorption");
    F(M.AsymLimit, 8, 4, "AsymLimit");
    F(M.F2Limit, 8, 4, "F2Limit");
    F(hist.Background.Offset, 8, 3, "the background offset");
    EndLine();
    if (hist.IsTimeOfFlight()) {
      for (int k = 2; k <= 10; ++k) G(hist.IncidentSpectrum.Spectrum[static_cast<std::size_t>(k - 1)], 9, 4, "IncidentSpectrum");
      EndLine();
    }
  }

  {
    THistogram& h1 = *M.Histogram(1);
    FContext = "cycles line";
    I(M.Cycles, 4, "Cycles");
    F(M.EPS, 4, 2, "EPS");
    F(M.Rel1, 4, 2, "Rel1");
    F(M.Rel2, 4, 2, "Rel2");
    F(M.Rel3, 4, 2, "Rel3");
    F(M.Rel4, 4, 2, "Rel4");
    FContext = "histogram 1";
    if (M.Sync == 0) {
      F(h1.Start, 8, 3, "Start");
      F(h1.Step, 8, 3, "Step");
      F(h1.Stop, 8, 3, "Stop");
    } else {
      F(h1.Start, 12, 7, "Start");
      F(h1.Step, 12, 7, "Step");
      F(h1.Stop, 12, 7, "Stop");
    }
    Code(1, 0, 0, 27);
    Code(1, 0, 0, 28);
    EndLine();
  }
  for (int h = 2; h <= n; ++h) {
    THistogram& hist = *M.Histogram(h);
    FContext = "histogram " + std::to_string(h);
    // A free-format line: every number keeps a blank before it.
    F(hist.Start, 12, 6, "Start");
    Blank(1);
    F(hist.Step, 12, 6, "Step");
    Blank(1);
    F(hist.Stop, 12, 6, "Stop");
    F(hist.Scale, 12, 4, "Scale", 11);
    Blank(1);
    Code(h, 0, 0, 26);
    Blank(1);
    Code(h, 0, 0, 27);
    Blank(1);
    Code(h, 0, 0, 28);
    EndLine();
  }

  for (int h = 1; h <= n; ++h) {
    THistogram& hist = *M.Histogram(h);
    if (hist.Background.Kind != bkUserPoints || hist.Background.PointCount() < 2) continue;
    FContext = "histogram " + std::to_string(h) + " background points";
    for (const TPair& pt : hist.Background.Points.Items) {
      X(pt.X, 8, 6, 3, "a background point x");
      X(pt.Y, 8, 6, 3, "a background point y");
      EndLine();
    }
  }

  for (int h = 1; h <= n; ++h) {
    FContext = "histogram " + std::to_string(h) + " excluded regions";
    for (const TPair& r : M.Histogram(h)->Excluded.Regions.Items) {
      X(r.X, 8, 6, 2, "an excluded region start");
      X(r.Y, 8, 6, 2, "an excluded region end");
      EndLine();
    }
  }

  for (int h = 1; h <= n; ++h) {
    THistogram& hist = *M.Histogram(h);
    for (int e = 1; e <= hist.ScatterFactors.Count(); ++e) {
      TScatterFactor& sf = *hist.ScatterFactors.Entry(e);
      FContext = "histogram " + std::to_string(h) + " scattering entry " + std::to_string(e);
      S(sf.Symbol, 4);
      F(sf.FPrime, 8, 3, "FPrime");
      F(sf.FDoublePrime, 8, 3, "FDoublePrime");
      Code(h, ScatterPhase, 1, e);
      Code(h, ScatterPhase, 2, e);
      EndLine();
      if (!hist.IsXrayCW()) continue;
      if (sf.TableKind == 1) {
        for (const TPair& pt : sf.Table.Items) {
          const std::size_t lineStart = FOut.size();
          F(pt.X, 8, 4, "a scattering table x");
          F(pt.Y, 9, 4, "a scattering table y");
          // An x that reads as -100 ends the table: the points after it would be misread.
          if (ColumnsToReal(FOut.substr(lineStart), 1, 8) == -100)
            throw EInputFileWrite("Scattering entry " + TrimText(sf.Symbol) + " of histogram " + std::to_string(h) +
                                  " has a table point at x = -100, which the input file reads as the end of the "
                                  "table; the file was not written.");
          EndLine();
        }
        FOut += "-100.0000  0.0000";
        EndLine();
      } else {
        std::size_t lineStart = FOut.size();
        F(sf.Coefficients[0], 8, 4, "coefficient 1");
        // The reader takes the last eight of each nine columns.
        for (int i = 2; i <= 9; ++i) F(sf.Coefficients[static_cast<std::size_t>(i - 1)], 9, 4, "a coefficient", 8);
        // A third coefficient that reads as 0 marks a table: every later line would be misread.
        if (ColumnsToReal(FOut.substr(lineStart), 19, 8) == 0)
          throw EInputFileWrite("Scattering entry " + TrimText(sf.Symbol) + " of histogram " + std::to_string(h) +
                                " has coefficient 3 equal to 0, which the input file reads as a table of points; "
                                "the file was not written.");
        EndLine();
      }
    }
  }

  FContext = "refined count";
  I(M.RefinedCount(), 8, "the refined parameter count");
  EndLine();

  for (int h = 1; h <= n; ++h) {
    FContext = "histogram " + std::to_string(h);
    F(M.Histogram(h)->Zero, 8, 3, "Zero");
    Code(h, 0, 0, 1);
    if (h % 5 == 0 || h == n) EndLine();
  }

  for (int h = 1; h <= n; ++h) {
    THistogram& hist = *M.Histogram(h);
    if (hist.HasDisplacement != 1) continue;
    FContext = "histogram " + std::to_string(h);
    F(hist.Displacement, 10, 6, "Displacement");
    Code(h, 0, 0, 29);
    EndLine();
  }

  for (int h = 1; h <= n; ++h) {
    TBackGround& bg = M.Histogram(h)->Background;
    // A user-points background without points reads back as a polynomial,
    // which needs its coefficient lines.
    const int kind = bg.Kind == bkUserPoints && bg.PointCount() == 0 ? bkPolynomial : bg.Kind;
    if (kind > 0) continue;
    FContext = "histogram " + std::to_string(h) + " background";
    if (bg.Kind == bkAutoSmoothed) {
      V(bg.SmoothSteps, 12, 12, "SmoothSteps");
      V(bg.SmoothCycles, 12, 12, "SmoothCycles");
      EndLine();
      continue;
    }
    const int m = 6 * (M.BackTerms + 1);
    for (int k = 0; k < m; ++k) {
      V(bg.Coefficients[static_cast<std::size_t>(k)], 12, 6, "a background coefficient");
      if (k % 6 == 5) EndLine();
    }
    for (int k = 0; k < m; ++k) {
      Code(h, 0, 0, k + 2, 12);
      if (k % 6 == 5) EndLine();
    }
  }
}

void TInputFileWriter::WritePhase(int p, bool allCalc) {
  TPhase& ph = *M.Phase(p);
  const int n = M.HistogramCount();
  const std::string phaseName = "phase " + std::to_string(p);
  FContext = phaseName;

  FOut += LineText(ph.Title);
  EndLine();

  for (int h = 1; h <= n; ++h) {
    TSample& s = *M.FindSample(h, p);
    FContext = phaseName + ", histogram " + std::to_string(h);
    I(ph.CalcMethod == 1 ? 0 : ph.AtomCount(), 4, "the atom count");
    Blank(2);
    I(ph.Z, 4, "Z");
    Blank(2);
    F(s.POH, 4, 1, "POH");
    F(s.POK, 4, 1, "POK");
    F(s.POL, 4, 1, "POL");
    Blank(8);
    F(s.UH, 4, 1, "UH");
    F(s.UK, 4, 1, "UK");
    F(s.UL, 4, 1, "UL");
    I(s.BroadeningModel, 4, "BroadeningModel", 2);
    EndLine();
    if (s.BroadeningModel != bmDislocation) continue;
    if (s.DislocationCount < 0 || s.DislocationCount > MaxDislocationRows)
      Unwritable(std::to_string(s.DislocationCount), "DislocationCount");
    I(s.DislocationCount, 8, "DislocationCount");
    EndLine();
    for (int r = 0; r < s.DislocationCount; ++r) {
      const std::size_t ri = static_cast<std::size_t>(r);
      for (const auto* hkl : {&s.DislocationHKL1, &s.DislocationHKL2, &s.DislocationHKL3}) {
        for (int v : (*hkl)[ri]) I(v, 3, "a dislocation index");
        Blank(1);
      }
      F(s.DislocationValue1[ri], 10, 5, "DislocationValue1");
      F(s.DislocationValue2[ri], 10, 5, "DislocationValue2");
      Blank(1);
      F(s.GausDis[ri], 8, 4, "GausDis");
      F(s.LorDis[ri], 8, 4, "LorDis");
      Blank(1);
      Code(h, p, 0, 2 * (r + 1) + 26);
      Code(h, p, 0, 2 * (r + 1) + 27);
      EndLine();
    }
  }

  FContext = phaseName;
  FOut += Utf8Left(LineText(ph.SpaceGroup), 20);
  EndLine();

  if (ph.CalcMethod == 0) {
    for (int a = 1; a <= ph.AtomCount(); ++a) {
      TAtom& at = *ph.Atom(a);
      FContext = phaseName + ", atom " + std::to_string(a);
      S(at.Label, 4);
      S(at.AtomType, 4);
      Blank(8);
      for (int t = 1; t <= 5; ++t) F(*at.Value(t), 8, 5, AtomParameterName(t).c_str());
      EndLine();
      for (int t = 6; t <= 11; ++t) F(*at.Value(t), 8, 5, AtomParameterName(t).c_str());
      EndLine();
    }
  }

  FContext = phaseName;
  E(ph.Scale, 12, 7, 2, "Scale");
  Blank(4);
  F(ph.IsoThermal, 8, 4, "IsoThermal");
  EndLine();

  for (int h = 1; h <= n; ++h) {
    TSample& s = *M.FindSample(h, p);
    THistogram& hist = *M.Histogram(h);
    const bool tof = hist.Profile == profJorgensenTOF;
    FContext = phaseName + ", histogram " + std::to_string(h);
    Width(s.U, "U");
    Width(s.V, "V");
    Width(s.W, "W");
    Width(s.Uaniso, "Uaniso");
    EndLine();
    if (tof) {
      F(s.TOFAlpha1, 8, 4, "TOFAlpha1");
      F(s.TOFAlpha2, 8, 4, "TOFAlpha2");
      F(s.TOFBeta1, 8, 4, "TOFBeta1");
      F(s.TOFBeta2, 8, 4, "TOFBeta2");
      EndLine();
    }
    if (h == 1) {
      F(ph.A, 8, 4, "a");
      F(ph.B, 8, 4, "b");
      F(ph.C, 8, 4, "c");
      F(ph.Alpha, 8, 4, "Alpha");
      F(ph.Beta, 8, 4, "Beta");
      F(ph.Gamma, 8, 4, "Gamma");
      EndLine();
    }
    if (ph.CalcMethod == 1) {
      s.PO = 1;
      s.AbsorptionR = 0;
    }
    F(s.PO, 8, 5, "PO");
    F(s.AbsorptionR, 8, 5, "AbsorptionR");
    F(s.Asym1, 8, 5, "Asym1");
    F(s.Asym2, 8, 5, "Asym2");
    EndLine();
    F(s.Gam0, 8, tof ? 3 : 5, "Gam0");
    F(s.Gam1, 8, tof ? 3 : 5, "Gam1");
    F(s.Gam2, 8, tof ? 3 : 5, "Gam2");
    F(s.Extinction, 8, 5, "Extinction");
    EndLine();
    if (hist.AbsorptionModel == 1) {
      F(s.Pore, 8, 5, "Pore");
      F(s.Rough, 8, 5, "Rough");
      EndLine();
    }
  }

  if (allCalc) return;
  if (ph.CalcMethod == 0) {
    for (int a = 1; a <= ph.AtomCount(); ++a) {
      FContext = phaseName + ", atom " + std::to_string(a);
      for (int t = 1; t <= 5; ++t) Code(0, p, a, t);
      EndLine();
      for (int t = 6; t <= 11; ++t) Code(0, p, a, t);
      EndLine();
    }
  }
  FContext = phaseName;
  Code(0, p, 0, 1);
  Blank(8);
  Code(0, p, 0, 2);
  EndLine();
  for (int h = 1; h <= n; ++h) {
    THistogram& hist = *M.Histogram(h);
    FContext = phaseName + ", histogram " + std::to_string(h);
    auto codeLine = [&](std::initializer_list<int> types, int hh) {
      for (int t : types) Code(hh, p, 0, t);
      EndLine();
    };
    codeLine({3, 4, 5, 19}, h);
    if (hist.Profile == profJorgensenTOF) codeLine({21, 22, 23, 24}, h);
    if (h == 1) codeLine({6, 7, 8, 9, 10, 11}, 0);
    codeLine({12, 13, 14, 20}, h);
    codeLine({15, 16, 17, 18}, h);
    if (hist.AbsorptionModel == 1) codeLine({25, 26}, h);
  }
}

std::string TInputFileWriter::Compose() {
  Prepare();
  BuildCodes();
  std::size_t atoms = 0;
  for (const auto& ph : M.Phases) atoms += ph->Atoms.size();
  FOut.reserve(4096 + atoms * 200 + M.Phases.size() * M.Histograms.size() * 300);
  WriteHistogramSection();
  const bool allCalc = M.AllCalculation();
  for (int p = 1; p <= M.PhaseCount(); ++p) WritePhase(p, allCalc);
  if (!FNotices.empty()) {
    std::string text;
    for (const auto& s : FNotices) text += (text.empty() ? "" : "\n") + s;
    ShowMessage(text);
  }
  return std::move(FOut);
}

std::string TRietveld::InputFileText() {
  TInputFileWriter writer(*this);
  return writer.Compose();
}

bool TRietveld::WriteInputFile(const std::string& fileName) {
  std::string text;
  try {
    text = InputFileText();
  } catch (const EInputFileWrite& e) {
    ShowMessage(e.Message());
    return false;
  }
  // A failed save leaves the old file as it was; the message says what failed.
  try {
    WriteFileAtomic(fileName, text);
  } catch (const EInOutError& e) {
    ShowMessage(e.Message());
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Reading

class TInputFileReader {
public:
  TInputFileReader(TRietveld& model, const std::string& text) : M(model), FText(text) {}
  void Run();

private:
  TRietveld& M;
  const std::string& FText;
  std::size_t FPos = 0;
  std::string_view FLine;  // the current line, inside FText
  std::unordered_set<TAddr, TAddrHash> FSeen;
  bool FExcludedReported = false;
  long long FLineBound = -1;

  bool AtEnd() const { return FPos >= FText.size(); }
  // At least the number of lines of the file (every line end counted).
  long long LineBound() {
    if (FLineBound < 0)
      FLineBound = 1 + std::count_if(FText.begin(), FText.end(), [](char c) { return c == '\n' || c == '\r'; });
    return FLineBound;
  }
  // The next line, without its line end (LF, CR LF or CR).
  void Next() {
    if (AtEnd()) throw EInOutError("Read beyond end of file", 100);
    std::size_t k = FText.find_first_of("\r\n", FPos);
    if (k == std::string::npos) k = FText.size();
    FLine = std::string_view(FText).substr(FPos, k - FPos);
    FPos = k;
    if (FPos < FText.size()) FPos += (FText[FPos] == '\r' && FPos + 1 < FText.size() && FText[FPos + 1] == '\n') ? 2 : 1;
  }
  // Skips what is left of the current line (after free-format reads).
  void SkipRestOfLine() {
    std::size_t k = FText.find_first_of("\r\n", FPos);
    if (k == std::string::npos) {
      FPos = FText.size();
      return;
    }
    FPos = k + ((FText[k] == '\r' && k + 1 < FText.size() && FText[k + 1] == '\n') ? 2 : 1);
  }
  // The next blank-separated number, across line ends as needed.
  float FreeReal() {
    while (FPos < FText.size() && static_cast<unsigned char>(FText[FPos]) <= ' ') ++FPos;
    if (AtEnd()) throw EInOutError("Read beyond end of file", 100);
    std::size_t b = FPos;
    while (FPos < FText.size() && static_cast<unsigned char>(FText[FPos]) > ' ') ++FPos;
    double d = 0;
    if (!TryViewToDouble(std::string_view(FText).substr(b, FPos - b), d)) {
      if (std::isinf(d)) throw EOverflow("Floating point overflow");
      throw EInOutError("Invalid numeric format", 106);
    }
    return SingleOf(d);
  }
  float R(int first, int width) const { return SingleOf(ColumnsToReal(FLine, first, width)); }
  int I(int first, int width) const { return ColumnsToInt(FLine, first, width); }
  // Text of the columns, as CopyColumns cuts them.
  std::string Columns(int first, int width) const {
    if (width <= 0 || static_cast<std::size_t>(first) > FLine.size()) return {};
    return std::string(FLine.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(width)));
  }
  void AddCode(int h, int p, int a, int t, double code) {
    if (code == 0 || !FSeen.insert({h, p, a, t}).second) return;
    M.Parameters.AppendParameter(h, p, a, t, code);
  }
  void Code(int first, int width, int h, int p, int a, int t) { AddCode(h, p, a, t, R(first, width)); }
  static int RoundToInt(float v) {
    double r = std::nearbyint(static_cast<double>(v));
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw EOverflow("Floating point overflow");
    return static_cast<int>(r);
  }
  void Counter(double value) { M.LineCounter = static_cast<float>(value); }
  void StepCounter() { M.LineCounter = static_cast<float>(static_cast<double>(M.LineCounter) + 0.01); }

  void ReadPhase(int p, int n, bool allCalc);
};

void TInputFileReader::Run() {
  Counter(1.0);
  Next();
  M.Title = std::string(FLine);

  Counter(2.0);
  Next();
  const int n = I(1, 3) + 1;
  if (n < 1) throw EInOutError("Invalid histogram count", 106);
  int phaseCount = 0;
  long long scatterEntries = 0;
  std::vector<int> declaredExcluded;
  for (int h = 1; h <= n; ++h) {
    if (h > 1) Next();
    auto hist = std::make_unique<THistogram>();
    hist->Job = h == 1 ? I(4, 1) : I(1, 4);
    hist->Profile = I(5, 4);
    if (h == 1) phaseCount = std::max(0, I(9, 4));
    hist->Background.Kind = I(13, 4);
    int excluded = std::max(0, I(17, 4));
    declaredExcluded.push_back(excluded);
    for (int k = 0; k < std::min(excluded, MaxExcludedRegions); ++k) hist->Excluded.AddRegion(0, 0);
    int entries = std::max(0, I(21, 4));
    // Every entry takes at least one line further on: more than the file has
    // lines is damage, not a table to allocate.
    scatterEntries += entries;
    if (scatterEntries > LineBound()) throw EInOutError("Invalid number of scattering-table entries", 106);
    for (int k = 0; k < entries; ++k) hist->ScatterFactors.AddNew();
    hist->AuxOption = I(25, 4);
    hist->AbsorptionModel = I(29, 4);
    hist->Illumination = I(33, 4);
    hist->HasDisplacement = I(37, 4);
    M.SkipLines1 = I(41, 4);
    M.SkipLines2 = I(45, 4);
    M.AddHistogram(std::move(hist));
    StepCounter();
  }

  Counter(3.0);
  Next();
  int* flags[19] = {&M.IOT,  &M.IPL,       &M.IPC,      &M.MAT,          &M.ControlFlag5, &M.LST1,  &M.LST2,
                    &M.LST3, &M.IPL1,      &M.PlotFile, &M.FourierFile,  &M.ReadFormat,   &M.Sync,  &M.SeparateData,
                    &M.RecycleLeBail, &M.BackTerms, &M.IPREF, &M.PrintU, &M.Strategy};
  for (int k = 0; k < 19; ++k) *flags[k] = I(k + 1, 1);
  M.ControlFlag5 = 1;
  if (M.BackTerms < 0 || M.BackTerms > 3) throw EInOutError("Invalid number of background terms", 106);
  M.Rmin = R(21, 8);
  M.Rmax = R(29, 8);
  M.Marquardt = R(37, 8);

  Counter(4.0);
  for (int h = 1; h <= n; ++h) {
    THistogram& hist = *M.Histogram(h);
    Next();
    StepCounter();  // counted as the line is taken, before its values are converted
    hist.Wavelength1 = R(1, 8);
    hist.Wavelength2 = R(9, 8);
    hist.Ratio = R(17, 8);
    hist.Weighting = R(25, 8);
    hist.BaseWidth = R(33, 8);
    hist.Polarisation = R(41, 8);
    hist.Absorption = R(49, 8);
    if (h == 1) {
      M.AsymLimit = R(57, 8);
      M.F2Limit = R(65, 8);
    }
    hist.Background.Offset = R(73, 8);
    if (hist.IsTimeOfFlight()) {
      Next();
      for (int k = 2; k <= 10; ++k) hist.IncidentSpectrum.Spectrum[static_cast<std::size_t>(k - 1)] = R(1 + 9 * (k - 2), 9);
    }
  }

  Counter(5.0);
  Next();
  M.Cycles = I(1, 4);
  M.EPS = R(5, 4);
  M.Rel1 = R(9, 4);
  M.Rel2 = R(13, 4);
  M.Rel3 = R(17, 4);
  M.Rel4 = R(21, 4);
  {
    THistogram& h1 = *M.Histogram(1);
    const int w = M.Sync == 0 ? 8 : 12;
    h1.Start = R(25, w);
    h1.Step = R(25 + w, w);
    h1.Stop = R(25 + 2 * w, w);
    Code(25 + 3 * w, 8, 1, 0, 0, 27);
    Code(33 + 3 * w, 8, 1, 0, 0, 28);
  }
  for (int h = 2; h <= n; ++h) {
    THistogram& hist = *M.Histogram(h);
    hist.Start = FreeReal();
    hist.Step = FreeReal();
    hist.Stop = FreeReal();
    hist.Scale = FreeReal();
    AddCode(h, 0, 0, 26, FreeReal());
    AddCode(h, 0, 0, 27, FreeReal());
    AddCode(h, 0, 0, 28, FreeReal());
    SkipRestOfLine();
  }
  M.Histogram(1)->Scale = 1.0f;

  for (int h = 1; h <= n; ++h) {
    TBackGround& bg = M.Histogram(h)->Background;
    if (bg.Kind <= 1) continue;
    const int count = bg.Kind;
    for (int k = 0; k < count; ++k) {
      Next();
      bg.AddPoint(R(1, 8), R(9, 8));
    }
    bg.Kind = bkUserPoints;
  }

  for (int h = 1; h <= n; ++h) {
    TExcluded& ex = M.Histogram(h)->Excluded;
    const int declared = declaredExcluded[static_cast<std::size_t>(h - 1)];
    // Every declared line is consumed so that the later groups stay in step.
    for (int k = 0; k < declared; ++k) {
      Next();
      if (k < MaxExcludedRegions) ex.SetRegion(k, R(1, 8), R(9, 8));
    }
    if (declared > MaxExcludedRegions && !FExcludedReported) {
      FExcludedReported = true;
      ShowMessage("Histogram " + std::to_string(h) + " has " + std::to_string(declared) +
                  " excluded regions; only the first " + std::to_string(MaxExcludedRegions) + " are kept.");
    }
  }

  for (int h = 1; h <= n; ++h) {
    THistogram& hist = *M.Histogram(h);
    for (int e = 1; e <= hist.ScatterFactors.Count(); ++e) {
      TScatterFactor& sf = *hist.ScatterFactors.Entry(e);
      Next();
      sf.Symbol = Columns(1, 4);
      sf.FPrime = R(5, 8);
      sf.FDoublePrime = R(13, 8);
      Code(21, 8, h, ScatterPhase, 1, e);
      Code(29, 8, h, ScatterPhase, 2, e);
      if (!hist.IsXrayCW()) continue;
      Next();
      if (R(19, 8) != 0) {
        sf.TableKind = 0;
        sf.Coefficients[0] = R(1, 8);
        for (int i = 2; i <= 9; ++i) sf.Coefficients[static_cast<std::size_t>(i - 1)] = R(9 * i - 8, 8);
      } else {
        sf.TableKind = 1;
        while (R(1, 8) != -100.0f) {
          sf.AddPoint(R(1, 8), R(9, 9));
          Next();
        }
      }
    }
  }

  Next();
  M.MaxCode = I(1, 8);

  for (int h = 1; h <= n; ++h) {
    const int w = (h - 1) % 5 + 1;
    if (w == 1) Next();
    M.Histogram(h)->Zero = R(16 * w - 15, 8);
    Code(16 * w - 7, 8, h, 0, 0, 1);
  }

  for (int h = 1; h <= n; ++h) {
    THistogram& hist = *M.Histogram(h);
    if (hist.HasDisplacement != 1) continue;
    Next();
    hist.Displacement = R(1, 10);
    Code(11, 8, h, 0, 0, 29);
  }

  for (int h = 1; h <= n; ++h) {
    TBackGround& bg = M.Histogram(h)->Background;
    if (bg.Kind > 0) continue;
    if (bg.Kind == bkAutoSmoothed) {
      Next();
      bg.SmoothSteps = RoundToInt(R(1, 12));
      bg.SmoothCycles = RoundToInt(R(13, 12));
      continue;
    }
    for (int line = 0; line <= M.BackTerms; ++line) {
      Next();
      for (int k = 0; k < 6; ++k) bg.Coefficients[static_cast<std::size_t>(6 * line + k)] = R(1 + 12 * k, 12);
    }
    for (int line = 0; line <= M.BackTerms; ++line) {
      Next();
      for (int k = 0; k < 6; ++k) Code(1 + 12 * k, 12, h, 0, 0, 6 * line + k + 2);
    }
  }

  const bool allCalc = M.AllCalculation();
  for (int p = 1; p <= phaseCount; ++p) ReadPhase(p, n, allCalc);

  // Trailing lines the file declares; a file that ends earlier is fine here.
  for (int k = 0; k < M.SkipLines1 + M.SkipLines2 && !AtEnd(); ++k) Next();
}

void TInputFileReader::ReadPhase(int p, int n, bool allCalc) {
  auto ph = std::make_unique<TPhase>();
  Next();
  ph->Title = Utf8Left(std::string(FLine), 80);

  int atomCount = 0;
  std::vector<TSample*> samples;
  for (int h = 1; h <= n; ++h) {
    Next();
    if (h == 1) {
      atomCount = I(1, 4);
      if (atomCount < 0) throw EInOutError("Invalid atom count", 106);
      ph->CalcMethod = atomCount == 0 ? 1 : 0;
      ph->Z = I(7, 4);
      if (ph->Z == 0) ph->Z = 1;
    }
    auto s = std::make_unique<TSample>();
    s->Histogram = h;
    s->Phase = p;
    s->POH = R(13, 4);
    s->POK = R(17, 4);
    s->POL = R(21, 4);
    s->UH = R(33, 4);
    s->UK = R(37, 4);
    s->UL = R(41, 4);
    s->BroadeningModel = I(47, 2);
    TSample* sp = M.AddSample(std::move(s));
    samples.push_back(sp);
    if (sp->BroadeningModel != bmDislocation) continue;
    Next();
    const int rows = std::max(0, I(1, 8));
    sp->DislocationCount = std::min(rows, MaxDislocationRows);
    // Rows beyond the third are read and dropped.
    for (int r = 0; r < rows; ++r) {
      Next();
      if (r >= MaxDislocationRows) continue;
      const std::size_t ri = static_cast<std::size_t>(r);
      for (int k = 0; k < 3; ++k) {
        sp->DislocationHKL1[ri][static_cast<std::size_t>(k)] = I(1 + 3 * k, 3);
        sp->DislocationHKL2[ri][static_cast<std::size_t>(k)] = I(11 + 3 * k, 3);
        sp->DislocationHKL3[ri][static_cast<std::size_t>(k)] = I(21 + 3 * k, 3);
      }
      sp->DislocationValue1[ri] = R(31, 10);
      sp->DislocationValue2[ri] = R(41, 10);
      sp->GausDis[ri] = R(52, 8);
      sp->LorDis[ri] = R(60, 8);
      Code(69, 8, h, p, 0, 2 * (r + 1) + 26);
      Code(77, 8, h, p, 0, 2 * (r + 1) + 27);
    }
  }

  Next();
  ph->SpaceGroup = Utf8Left(std::string(FLine), 20);

  if (ph->CalcMethod == 0) {
    for (int a = 1; a <= atomCount; ++a) {
      auto atom = std::make_unique<TAtom>();
      Next();
      atom->Label = Columns(1, 4);
      atom->AtomType = Columns(5, 4);
      for (int t = 1; t <= 5; ++t) *atom->Value(t) = R(17 + 8 * (t - 1), 8);
      Next();
      for (int t = 6; t <= 11; ++t) *atom->Value(t) = R(1 + 8 * (t - 6), 8);
      ph->AddAtom(std::move(atom));
    }
  }

  Next();
  ph->Scale = R(1, 12);
  ph->IsoThermal = R(17, 8);

  for (int h = 1; h <= n; ++h) {
    TSample& s = *samples[static_cast<std::size_t>(h - 1)];
    const THistogram& hist = *M.Histogram(h);
    Next();
    s.U = R(1, 8);
    s.V = R(9, 8);
    s.W = R(17, 8);
    s.Uaniso = R(25, 8);
    if (hist.Profile == profJorgensenTOF) {
      Next();
      s.TOFAlpha1 = R(1, 8);
      s.TOFAlpha2 = R(9, 8);
      s.TOFBeta1 = R(17, 8);
      s.TOFBeta2 = R(25, 8);
    }
    if (h == 1) {
      Next();
      ph->A = R(1, 8);
      ph->B = R(9, 8);
      ph->C = R(17, 8);
      ph->Alpha = R(25, 8);
      ph->Beta = R(33, 8);
      ph->Gamma = R(41, 8);
    }
    Next();
    s.PO = R(1, 8);
    s.AbsorptionR = R(9, 8);
    s.Asym1 = R(17, 8);
    s.Asym2 = R(25, 8);
    Next();
    s.Gam0 = R(1, 8);
    s.Gam1 = R(9, 8);
    s.Gam2 = R(17, 8);
    s.Extinction = R(25, 8);
    if (hist.AbsorptionModel == 1) {
      Next();
      s.Pore = R(1, 8);
      s.Rough = R(9, 8);
    } else {
      s.Pore = 0;
      s.Rough = 0;
    }
  }

  if (!allCalc) {
    const int coded = ph->CalcMethod == 0 ? atomCount : 0;
    for (int a = 1; a <= coded; ++a) {
      Next();
      for (int t = 1; t <= 5; ++t) Code(1 + 8 * (t - 1), 8, 0, p, a, t);
      Next();
      for (int t = 6; t <= 11; ++t) Code(1 + 8 * (t - 6), 8, 0, p, a, t);
    }
    Next();
    Code(1, 12, 0, p, 0, 1);
    Code(17, 8, 0, p, 0, 2);
    for (int h = 1; h <= n; ++h) {
      const THistogram& hist = *M.Histogram(h);
      auto codeLine = [&](std::initializer_list<int> types, int hh) {
        Next();
        int k = 0;
        for (int t : types) Code(1 + 8 * k++, 8, hh, p, 0, t);
      };
      codeLine({3, 4, 5, 19}, h);
      if (hist.Profile == profJorgensenTOF) codeLine({21, 22, 23, 24}, h);
      if (h == 1) codeLine({6, 7, 8, 9, 10, 11}, 0);
      codeLine({12, 13, 14, 20}, h);
      codeLine({15, 16, 17, 18}, h);
      if (hist.AbsorptionModel == 1) codeLine({25, 26}, h);
    }
  }
  M.AddPhase(std::move(ph));
}

static std::string CounterText(float counter) {
  char buf[64];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<double>(counter), std::chars_format::general, 15);
  return ec == std::errc() ? std::string(buf, ptr) : std::string("?");
}

bool TRietveld::ReadInputFile(const std::string& fileName) {
  Loaded = false;
  std::error_code ec;
  if (fileName.empty() || !std::filesystem::exists(fileName, ec)) {
    ShowMessage("Input file File does not exist");
    return false;
  }
  // A folder, a pipe or a device is refused without blocking, and a file far
  // larger than any input file before it is read.
  std::string text;
  try {
    text = ReadRegularFile(fileName, MaxInputFileSize, "an input file");
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return false;
  }
  TInputFileReader reader(*this, text);
  try {
    Reset();
    reader.Run();
    Loaded = true;
  } catch (const EInOutError&) {
    ShowMessage("Error reading Inputfile at line " + CounterText(LineCounter));
  } catch (const EConvertError&) {
    ShowMessage("Error reading Inputfile at line " + CounterText(LineCounter));
  } catch (const EMathError&) {
    ShowMessage("Error reading a numeric value at line " + CounterText(LineCounter));
  } catch (const std::exception&) {
    ShowMessage("An unindentified error in reading line " + CounterText(LineCounter));
  }
  if (!Loaded) {
    // Samples of a phase whose group was not finished have no phase.
    std::erase_if(Samples, [&](const std::unique_ptr<TSample>& s) {
      return s->Phase < 1 || s->Phase > PhaseCount() || s->Histogram < 1 || s->Histogram > HistogramCount();
    });
  }
  Parameters.ResolveCodes(MaxCode);
  return Loaded;
}
