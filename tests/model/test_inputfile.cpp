#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <sstream>

#include "model/brkapart.h"
#include "model/rietclass.h"
#include "platform/rtl/fileutils.h"
#include "modeldump.h"
#include "support/dialogresponder.h"
#include "support/tempdir.h"
#include "support/testlocale.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

// A model of nh histograms and np phases with their samples.
void Build(TRietveld& m, int nh, int np) {
  for (int h = 0; h < nh; ++h) m.NewHistogram();
  for (int p = 0; p < np; ++p) m.NewPhase();
}

TParameter Member(int h, int p, int a, int t, float ratio = 1) {
  TParameter q(h, p, a, t, 1);
  q.Multiplier = ratio;
  return q;
}

// Reads the text as an input file into the model.
bool ReadText(TRietveld& m, const std::string& text) {
  TTempDir dir;
  return m.ReadInputFile(dir.Write("model.inp", text));
}

// The index of the first line that starts with the text.
int FindLine(const std::vector<std::string>& lines, const std::string& start, int from = 0) {
  for (int i = from; i < static_cast<int>(lines.size()); ++i)
    if (lines[static_cast<std::size_t>(i)].rfind(start, 0) == 0) return i;
  return -1;
}

// Three histograms (X-ray data with user background points, excluded regions
// and two scattering entries; time of flight with its incident spectrum; a
// calculation), two phases (one Le Bail), dislocation rows and constraints,
// written with Sync = 1. Refinements are switched on in file order, so that
// numbering them again after a read changes nothing.
void BuildRoundTripModel(TRietveld& m) {
  Build(m, 3, 2);
  m.Title = "Round trip: three histograms, two phases";
  m.Cycles = 12;
  m.EPS = 0.05f;
  m.Rel1 = 0.8f;
  m.Rel2 = 0.7f;
  m.Rel3 = 0.6f;
  m.Rel4 = 0.5f;
  m.IOT = 1;
  m.MAT = 0;
  m.LST1 = 1;
  m.LST3 = 1;
  m.IPL1 = 1;
  m.PlotFile = 3;
  m.FourierFile = 2;
  m.ReadFormat = 1;
  m.Sync = 1;
  m.RecycleLeBail = 1;
  m.BackTerms = 1;
  m.IPREF = 1;
  m.Strategy = 2;
  m.Rmin = 1.5f;
  m.Rmax = 3.25f;
  m.Marquardt = 0.125f;
  m.AsymLimit = 25.5f;
  m.F2Limit = 0.75f;

  THistogram& h1 = *m.Histogram(1);
  h1.Job = jobXrayData;
  h1.Profile = 6;
  h1.AuxOption = 3;
  h1.AbsorptionModel = 1;
  h1.Illumination = 1;
  h1.HasDisplacement = 1;
  h1.Absorption = 12.5f;
  h1.Start = 10.25f;
  h1.Step = 0.02f;
  h1.Stop = 120.5f;
  h1.Zero = -0.012f;
  h1.Displacement = 0.001234f;
  h1.Wavelength1 = 1.540562f;
  h1.Wavelength2 = 1.54439f;
  h1.Ratio = 0.5f;
  h1.BaseWidth = 8.5f;
  h1.Weighting = 1.25f;
  h1.Polarisation = 0.8f;
  h1.Background.Kind = bkUserPoints;
  h1.Background.AddPoint(40, 110);
  h1.Background.AddPoint(20, 100.5f);
  h1.Background.AddPoint(60, 90.25f);
  h1.Background.Offset = 2.5f;
  h1.Excluded.AddRegion(110, 100);
  h1.Excluded.AddRegion(5, 10);
  TScatterFactor* fe = h1.ScatterFactors.AddNew();
  fe->Symbol = "Fe";
  fe->FPrime = -1.179f;
  fe->FDoublePrime = 3.204f;
  fe->Coefficients = {11.7695f, 7.3573f, 3.5222f, 2.3045f, 0.0072f, 0.4595f, 15.3535f, 76.8805f, 1.0369f};
  TScatterFactor* ox = h1.ScatterFactors.AddNew();
  ox->Symbol = "O2-";
  ox->TableKind = 1;
  ox->AddPoint(0.5f, 5.5f);
  ox->AddPoint(0, 8);
  ox->AddPoint(1, 2.25f);

  THistogram& h2 = *m.Histogram(2);
  h2.Job = jobTOFData;
  h2.Profile = profJorgensenTOF;
  h2.Background.Kind = bkAutoSmoothed;
  h2.Background.SmoothSteps = 25;
  h2.Background.SmoothCycles = 40;
  h2.IncidentSpectrum.Spectrum = {0, 1.234f, 56.78f, -0.5f, 1000, 0.01234f, 2.5f, 3, 4.125f, 7};
  h2.Scale = 1.5f;
  h2.Start = 1000.5f;
  h2.Step = 5.5f;
  h2.Stop = 19000.25f;
  h2.Wavelength1 = 7476.22f;
  h2.Wavelength2 = -1.5f;
  h2.Zero = 3.125f;
  h2.ScatterFactors.AddNew()->Symbol = "V   ";
  h2.ScatterFactors.Entry(1)->FPrime = -0.38f;

  THistogram& h3 = *m.Histogram(3);
  h3.Job = jobNeutronCalc;
  h3.Profile = 1;
  h3.Scale = 0.75f;
  h3.Start = 5;
  h3.Step = 0.05f;
  h3.Stop = 150;
  h3.Background.Coefficients = {120.5f, -3.25f, 0.001234f, 12345.6f, 0.0000125f, 1, 2, 3, 4, 5, 6, -7};

  TPhase& p1 = *m.Phase(1);
  p1.Title = "Corundum-like test phase";
  p1.SpaceGroup = "R -3 c";
  p1.A = p1.B = 4.759f;
  p1.C = 12.99f;
  p1.Gamma = 120;
  p1.Scale = 0.0012345f;
  p1.IsoThermal = 0.25f;
  p1.Z = 6;
  TAtom al;
  al.Label = "Al1 ";
  al.AtomType = "AL  ";
  al.Z = 0.35216f;
  al.B = 0.3f;
  al.B11 = 0.001f;
  al.B12 = -0.0005f;
  p1.AddAtom(al);
  TAtom o;
  o.Label = " O1 ";
  o.X = 0.30624f;
  o.Z = 0.25f;
  o.B = 0.35f;
  o.N = 0.5f;
  p1.AddAtom(o);

  TPhase& p2 = *m.Phase(2);
  p2.Title = "Le Bail phase";
  p2.SpaceGroup = "F m -3 m";
  p2.A = p2.B = p2.C = 5.4309f;
  p2.CalcMethod = 1;
  p2.Scale = 2.5e-7f;

  for (auto& sp : m.Samples) {
    TSample& s = *sp;
    s.U = static_cast<float>(10 * s.Histogram + s.Phase) / 1000;
    s.W = 0.0625f;
    s.Uaniso = 12.345f;
    s.Gam0 = 0.5f;
    s.Asym1 = 0.02f;
    s.Extinction = 0.125f;
    s.POH = 1;
    s.POK = -1;
    s.UL = 2;
    if (s.Histogram == 2) {
      s.TOFAlpha1 = 0.1234f;
      s.TOFBeta2 = -0.5f;
      s.Gam1 = 12.125f;
    }
    if (s.Histogram == 1) {
      s.Pore = 0.25f;
      s.Rough = 0.5f;
    }
    if (s.Phase == 1) {
      s.PO = 0.875f;
      s.AbsorptionR = 0.5f;
    }
  }
  TSample& d = *m.FindSample(1, 1);
  d.BroadeningModel = bmDislocation;
  d.DislocationCount = 2;
  d.DislocationHKL1[0] = {1, 0, 0};
  d.DislocationHKL2[0] = {0, 1, 0};
  d.DislocationHKL3[0] = {0, 0, -1};
  d.DislocationHKL1[1] = {1, 1, 1};
  d.DislocationHKL2[1] = {-1, 1, 0};
  d.DislocationHKL3[1] = {10, -10, 2};
  d.DislocationValue1 = {0.5f, 1.25f, 0};
  d.DislocationValue2 = {-2.5f, 3.125f, 0};
  d.GausDis = {0.1f, 0.3f, 0};
  d.LorDis = {0.2f, 0.4f, 0};

  TParameterList& pl = m.Parameters;
  const int order[][4] = {
      {1, 0, 0, 27}, {2, 0, 0, 26}, {2, 0, 0, 28}, {1, 99, 1, 1}, {1, 99, 2, 2}, {2, 99, 1, 1}, {1, 0, 0, 1},
      {3, 0, 0, 1},  {1, 0, 0, 29}, {3, 0, 0, 2},  {3, 0, 0, 5},  {1, 1, 0, 28}, {1, 1, 0, 31}, {0, 1, 1, 3},
      {0, 1, 1, 4},  {0, 1, 1, 6},  {0, 1, 2, 1},  {0, 1, 0, 1},  {0, 1, 0, 2},  {1, 1, 0, 3},  {0, 1, 0, 6},
      {1, 1, 0, 25}, {2, 1, 0, 21}, {2, 1, 0, 15}, {3, 1, 0, 12}, {0, 2, 0, 1},  {0, 2, 0, 6},  {1, 2, 0, 14},
  };
  for (const auto& a : order) pl.SetRefined(a[0], a[1], a[2], a[3], true);
  pl.Refined[3]->Multiplier = -1;  // f' of Fe moves against its code
  pl.AddConstraint(Member(0, 1, 1, 4), Member(0, 1, 2, 4, -1.5f));
  pl.AddConstraint(Member(1, 1, 0, 3), Member(2, 1, 0, 3, 0.5f));
  pl.AddConstraint(Member(0, 1, 0, 6), Member(0, 1, 0, 7, 1));
}

TEST(InputFile, RoundTripIsByteIdenticalAndKeepsEveryField) {
  TDialogResponder dialogs;
  TTempDir dir;
  TRietveld src;
  BuildRoundTripModel(src);
  const std::string first = dir.File("first.inp");
  ASSERT_TRUE(src.WriteInputFile(first));
  EXPECT_EQ(dialogs.Count(), 0u) << dialogs.Texts()[0];

  // Writing normalises the model: sorted points and regions, padded symbols, Le Bail values.
  EXPECT_EQ(src.Histogram(1)->Background.Points.GetX(0), 20);
  EXPECT_EQ(src.Histogram(1)->Excluded.Regions.GetX(0), 5);
  EXPECT_EQ(src.Histogram(1)->ScatterFactors.Entry(1)->Symbol, "Fe  ");
  EXPECT_EQ(src.Histogram(1)->ScatterFactors.Entry(2)->Table.GetX(0), 0);
  EXPECT_EQ(src.FindSample(3, 2)->PO, 1);
  EXPECT_EQ(src.FindSample(3, 2)->AbsorptionR, 0);

  TRietveld back;
  ASSERT_TRUE(back.ReadInputFile(first));
  EXPECT_EQ(dialogs.Count(), 0u);
  EXPECT_TRUE(back.Loaded);
  EXPECT_EQ(back.MaxCode, src.RefinedCount());
  EXPECT_EQ(DumpModel(back), DumpModel(src));

  const std::string second = dir.File("second.inp");
  ASSERT_TRUE(back.WriteInputFile(second));
  EXPECT_EQ(TTempDir::Read(second), TTempDir::Read(first));
  EXPECT_EQ(DumpModel(back), DumpModel(src));
}

// On a desktop with a decimal comma the input file is the same bytes, and it
// reads back into the same model there.
TEST(InputFile, TheDesktopsLocaleChangesNoByte) {
  TDialogResponder dialogs;
  TTempDir dir;
  TRietveld c;
  BuildRoundTripModel(c);
  ASSERT_TRUE(c.WriteInputFile(dir.File("c.inp")));

  TScopedLocale comma;
  ASSERT_TRUE(comma.Active());
  TRietveld de;
  BuildRoundTripModel(de);
  ASSERT_TRUE(de.WriteInputFile(dir.File("de.inp")));
  EXPECT_EQ(TTempDir::Read(dir.File("de.inp")), TTempDir::Read(dir.File("c.inp")));
  TRietveld back;
  ASSERT_TRUE(back.ReadInputFile(dir.File("de.inp")));
  EXPECT_EQ(DumpModel(back), DumpModel(c));
  EXPECT_EQ(dialogs.Count(), 0u) << dialogs.Texts()[0];
}

TEST(InputFile, RoundTripFileLayout) {
  TDialogResponder dialogs;
  TRietveld m;
  BuildRoundTripModel(m);
  const auto lines = Lines(m.InputFileText());
  EXPECT_EQ(lines[0], "Round trip: three histograms, two phases");
  // Three histogram lines: the count 2 in columns 1-3 of the first, 40 columns each.
  EXPECT_EQ(lines[1], "  20   6   2   3   2   2   3   1   1   1");
  EXPECT_EQ(lines[2], "   4   7   2  -7   0   1   0   0   0   0");
  EXPECT_EQ(lines[3], "   3   1   2   0   0   0   0   0   0   0");
  EXPECT_EQ(lines[4], "1010110113211011102    1.500   3.250 0.12500");
  EXPECT_EQ(lines[5], "1.540562 1.54439 0.50000    1.25  8.5000  0.8000   12.50 25.5000  0.7500   2.500");
  EXPECT_EQ(lines[7], "    1.234    56.78     -0.5     1000  0.01234      2.5        3    4.125        7");
  // Sync = 1: the first range in 12-column fields, the codes in 61-68 and 69-76.
  EXPECT_EQ(lines[9], "  120.050.800.700.600.50  10.2500000   0.0200000 120.5000000  11.000   0.000");
  EXPECT_EQ(lines[10], " 1000.500000     5.500000 19000.250000      1.5000   21.000    0.000   31.000");
  EXPECT_EQ(lines[12], "  20.000 100.500");  // background points sorted by x
  EXPECT_EQ(lines[15], "    5.00   10.00");    // excluded regions sorted
  EXPECT_EQ(lines[17], "Fe    -1.179   3.204 -41.000   0.000");
  EXPECT_EQ(lines[18], " 11.7695   7.3573   3.5222   2.3045   0.0072   0.4595  15.3535  76.8805   1.0369");
  EXPECT_EQ(lines[20], "  0.0000   8.0000");
  EXPECT_EQ(lines[23], "-100.0000  0.0000");
  EXPECT_EQ(lines[24], "V     -0.380   0.000  61.000   0.000");
  EXPECT_EQ(lines[25], "      28");
  EXPECT_EQ(lines[26], "  -0.012  71.000   3.125   0.000   0.000  81.000");
  EXPECT_EQ(lines[27], "  0.001234  91.000");
  EXPECT_EQ(lines[29], "  120.500000   -3.250000    0.001234  1.23456E+4  1.25000E-5    1.000000");
  EXPECT_EQ(lines[31], "     101.000       0.000       0.000     111.000       0.000       0.000");
  const int phase = FindLine(lines, "Corundum-like");
  ASSERT_GT(phase, 0);
  EXPECT_EQ(lines[static_cast<std::size_t>(phase + 1)], "   2     6   1.0-1.0 1.0         0.0 0.0 2.0   4");
  EXPECT_EQ(lines[static_cast<std::size_t>(phase + 2)], "       2");
  EXPECT_EQ(lines[static_cast<std::size_t>(phase + 3)],
            "  1  0  0   0  1  0   0  0 -1    0.50000  -2.50000   0.1000  0.2000  121.000   0.000");
  EXPECT_EQ(lines[static_cast<std::size_t>(phase + 4)],
            "  1  1  1  -1  1  0  10-10  2    1.25000   3.12500   0.3000  0.4000    0.000 131.000");
  const int sg = FindLine(lines, "R -3 c");
  ASSERT_GT(sg, 0);
  EXPECT_EQ(lines[static_cast<std::size_t>(sg + 1)], "Al1 AL           0.00000 0.00000 0.35216 0.30000 1.00000");
  EXPECT_EQ(lines[static_cast<std::size_t>(sg + 5)], "1.234500E-03      0.2500");
  EXPECT_EQ(lines[static_cast<std::size_t>(sg + 6)], " 0.01100-0.15000 0.06250  12.345");
}

TEST(InputFile, HistogramLineLayout) {
  struct Case { int histograms; const char* firstLine; } cases[] = {
      {1, "   0   4   1   0   0   0   0   0   0   0   0   0"},
      {3, "  20   4   1   0   0   0   0   0   0   0"},
  };
  for (const auto& c : cases) {
    TRietveld m;
    Build(m, c.histograms, 1);
    const auto lines = Lines(m.InputFileText());
    EXPECT_EQ(lines[1], c.firstLine);
    for (int h = 2; h <= c.histograms; ++h) EXPECT_EQ(lines[static_cast<std::size_t>(h)].substr(0, 4), "   0");
    TRietveld back;
    ASSERT_TRUE(ReadText(back, Join(lines)));
    EXPECT_EQ(back.HistogramCount(), c.histograms);
    EXPECT_EQ(back.PhaseCount(), 1);
  }
}

TEST(InputFile, SkipLinesOfASingleHistogram) {
  TRietveld m;
  Build(m, 1, 1);
  m.SkipLines1 = 4;  // always written as 0
  m.SkipLines2 = 2;
  std::string text = m.InputFileText();
  EXPECT_EQ(Lines(text)[1].substr(40), "   0   2");
  TRietveld back;
  ASSERT_TRUE(ReadText(back, text + "trailing 1\ntrailing 2\n"));
  EXPECT_EQ(back.SkipLines2, 2);
  ASSERT_TRUE(ReadText(back, text));  // the trailing lines may be missing
}

TEST(InputFile, UserBackgroundWithTooFewPoints) {
  struct Case { int points; int kindBack; const char* notice; } cases[] = {
      {0, bkPolynomial, "user-points background with 0 points"},
      {1, bkDataFile, "user-points background with 1 point;"},
      {2, bkUserPoints, nullptr},
  };
  for (const auto& c : cases) {
    TDialogResponder dialogs;
    TRietveld m;
    Build(m, 1, 1);
    m.Histogram(1)->Background.Kind = bkUserPoints;
    for (int i = 0; i < c.points; ++i) m.Histogram(1)->Background.AddPoint(10.0f * i, 5);
    m.Histogram(1)->Zero = 0.5f;
    std::string text = m.InputFileText();
    if (c.notice) {
      EXPECT_TRUE(dialogs.Saw(c.notice)) << c.points;
    } else {
      EXPECT_EQ(dialogs.Count(), 0u);
    }
    TRietveld back;
    ASSERT_TRUE(ReadText(back, text));
    EXPECT_EQ(back.Histogram(1)->Background.Kind, c.kindBack);
    EXPECT_EQ(back.Histogram(1)->Background.PointCount(), c.points >= 2 ? c.points : 0);
    EXPECT_FLOAT_EQ(back.Histogram(1)->Zero, 0.5f);  // later groups stay in step
  }
}

TEST(InputFile, ControlFlag5ReadsAsOne) {
  TRietveld m;
  Build(m, 1, 1);
  auto lines = Lines(m.InputFileText());
  ASSERT_EQ(lines[2][4], '1');
  lines[2][4] = '0';
  TRietveld back;
  ASSERT_TRUE(ReadText(back, Join(lines)));
  EXPECT_EQ(back.ControlFlag5, 1);
}

TEST(InputFile, CyclesLineColumnsFollowSync) {
  struct Case { int sync; const char* line; } cases[] = {
      {0, "  300.100.900.900.900.90  10.250   0.020 120.500  11.000 -22.000"},
      {1, "  300.100.900.900.900.90  10.2500000   0.0200000 120.5000000  11.000 -22.000"},
  };
  for (const auto& c : cases) {
    TRietveld m;
    Build(m, 1, 1);
    m.Sync = c.sync;
    THistogram& h = *m.Histogram(1);
    h.Start = 10.25f;
    h.Step = 0.02f;
    h.Stop = 120.5f;
    m.Parameters.SetRefined(1, 0, 0, 27, true);
    m.Parameters.SetRefined(1, 0, 0, 28, true);
    m.Parameters.Refined[1]->Multiplier = -2;
    const auto lines = Lines(m.InputFileText());
    EXPECT_EQ(lines[4], c.line) << c.sync;
    TRietveld back;
    ASSERT_TRUE(ReadText(back, Join(lines)));
    EXPECT_FLOAT_EQ(back.Histogram(1)->Start, 10.25f);
    EXPECT_FLOAT_EQ(back.Histogram(1)->Step, 0.02f);
    EXPECT_FLOAT_EQ(back.Histogram(1)->Stop, 120.5f);
    EXPECT_DOUBLE_EQ(back.Parameters.GetCode(1, 0, 0, 27), 11) << c.sync;
    EXPECT_DOUBLE_EQ(back.Parameters.GetCode(1, 0, 0, 28), -22) << c.sync;
  }
}

// Table y values are read from all nine columns they are written to; more than
// 49 points keep 49, and the groups after the table are still read in step.
TEST(InputFile, ScatteringTableKeepsEveryDigitAndItsLimit) {
  TRietveld m;
  Build(m, 1, 1);
  TScatterFactor& e = *m.Histogram(1)->ScatterFactors.AddNew();
  e.Symbol = "C   ";
  e.TableKind = 1;
  for (int i = 0; i < 52; ++i) e.Table.Add(0.0625f * i, 1234.5625f - 0.0625f * static_cast<float>(i));
  m.Histogram(1)->Zero = 0.125f;
  const auto lines = Lines(m.InputFileText());
  const int first = FindLine(lines, "C   ") + 1;
  EXPECT_EQ(lines[static_cast<std::size_t>(first)], "  0.00001234.5625");
  TRietveld back;
  ASSERT_TRUE(ReadText(back, Join(lines)));
  const TScatterFactor& b = *back.Histogram(1)->ScatterFactors.Entry(1);
  EXPECT_EQ(b.TableKind, 1);
  ASSERT_EQ(b.PointCount(), MaxScatterTablePoints);
  EXPECT_EQ(b.Table.GetY(0), 1234.5625f);
  EXPECT_EQ(b.Table.GetY(48), 1231.5625f);
  EXPECT_FLOAT_EQ(back.Histogram(1)->Zero, 0.125f);
}

TEST(InputFile, SixHistogramsGiveTwoZeroLines) {
  TRietveld m;
  Build(m, 6, 1);
  for (int h = 1; h <= 6; ++h) m.Histogram(h)->Zero = 0.125f * h;
  const auto lines = Lines(m.InputFileText());
  const int refined = FindLine(lines, "       0", 8);
  ASSERT_GT(refined, 0);
  EXPECT_EQ(lines[static_cast<std::size_t>(refined + 1)].size(), 80u);
  EXPECT_EQ(lines[static_cast<std::size_t>(refined + 2)], "   0.750   0.000");
  TRietveld back;
  ASSERT_TRUE(ReadText(back, Join(lines)));
  for (int h = 1; h <= 6; ++h) EXPECT_FLOAT_EQ(back.Histogram(h)->Zero, 0.125f * h);
}

TEST(InputFile, LeBailPhaseIsWrittenWithoutAtoms) {
  TRietveld m;
  Build(m, 1, 1);
  TPhase& ph = *m.Phase(1);
  ph.CalcMethod = 1;
  ph.AddAtom(TAtom());
  ph.AddAtom(TAtom());
  m.FindSample(1, 1)->PO = 0.5f;
  m.FindSample(1, 1)->AbsorptionR = 0.25f;
  const auto lines = Lines(m.InputFileText());
  const int title = FindLine(lines, "A new phase");
  EXPECT_EQ(lines[static_cast<std::size_t>(title + 1)].substr(0, 4), "   0");
  EXPECT_EQ(lines[static_cast<std::size_t>(title + 2)], "P 1");
  EXPECT_EQ(lines[static_cast<std::size_t>(title + 3)], "1.000000E-02      0.0000");
  EXPECT_EQ(m.FindSample(1, 1)->PO, 1);
  EXPECT_EQ(m.FindSample(1, 1)->AbsorptionR, 0);
  TRietveld back;
  ASSERT_TRUE(ReadText(back, Join(lines)));
  EXPECT_EQ(back.Phase(1)->CalcMethod, 1);
  EXPECT_EQ(back.Phase(1)->AtomCount(), 0);
}

TEST(InputFile, PhaseWithZeroZReadsAsOne) {
  TRietveld m;
  Build(m, 1, 1);
  m.Phase(1)->Z = 0;
  TRietveld back;
  ASSERT_TRUE(ReadText(back, m.InputFileText()));
  EXPECT_EQ(back.Phase(1)->Z, 1);
}

TEST(InputFile, AllCalculationModelHasNoCodeLines) {
  TRietveld m;
  Build(m, 2, 1);
  m.Histogram(1)->Job = jobXrayCalc;
  m.Histogram(2)->Job = jobTOFCalc;
  m.Parameters.SetRefined(0, 1, 0, 1, true);
  m.Phase(1)->AddAtom(TAtom());
  const auto lines = Lines(m.InputFileText());
  // Title, two sample lines, space group, two atom lines, scale, then
  // 2 x (UVW, PO, Gam) + cell: the file ends there.
  const int title = FindLine(lines, "A new phase");
  EXPECT_EQ(static_cast<int>(lines.size()), title + 7 + 7);
  TRietveld back;
  ASSERT_TRUE(ReadText(back, Join(lines)));
  EXPECT_EQ(back.RefinedCount(), 0);
  EXPECT_EQ(back.Phase(1)->AtomCount(), 1);
}

TEST(InputFile, TimeOfFlightLinesOnlyForItsHistogram) {
  TRietveld m;
  Build(m, 2, 1);
  m.Histogram(2)->Profile = profJorgensenTOF;
  m.FindSample(2, 1)->TOFAlpha2 = 0.75f;
  m.FindSample(1, 1)->Gam1 = 0.12345f;
  m.FindSample(2, 1)->Gam1 = 0.12345f;
  m.Parameters.SetRefined(2, 1, 0, 22, true);
  const auto lines = Lines(m.InputFileText());
  const int scale = FindLine(lines, "1.000000E-02");
  // Histogram 1: UVW, cell, PO, Gam (5 decimals); histogram 2: UVW, TOF, PO, Gam (3 decimals).
  EXPECT_EQ(lines[static_cast<std::size_t>(scale + 4)], " 0.01000 0.12345 0.00000 0.00000");
  EXPECT_EQ(lines[static_cast<std::size_t>(scale + 6)], "  0.0000  0.7500  0.0000  0.0000");
  EXPECT_EQ(lines[static_cast<std::size_t>(scale + 8)], "   0.010   0.123   0.000 0.00000");
  TRietveld back;
  ASSERT_TRUE(ReadText(back, Join(lines)));
  EXPECT_FLOAT_EQ(back.FindSample(2, 1)->TOFAlpha2, 0.75f);
  EXPECT_TRUE(back.IsRefined(2, 1, 0, 22));
}

TEST(InputFile, AtomLabelsKeepTheirBlanks) {
  TRietveld m;
  Build(m, 1, 1);
  TAtom a;
  a.Label = "O1";
  a.AtomType = "O";
  a.X = 0.123456f;
  m.Phase(1)->AddAtom(a);
  const auto lines = Lines(m.InputFileText());
  const int atom = FindLine(lines, "  O1");
  ASSERT_GT(atom, 0);
  EXPECT_EQ(lines[static_cast<std::size_t>(atom)].substr(0, 24), "  O1   O         0.12346");
  TRietveld back;
  ASSERT_TRUE(ReadText(back, Join(lines)));
  EXPECT_EQ(back.Phase(1)->Atom(1)->Label, "  O1");
  EXPECT_EQ(back.Phase(1)->Atom(1)->AtomType, "   O");
}

TEST(InputFile, MissingFileLeavesTheModelUntouched) {
  TDialogResponder dialogs;
  TTempDir dir;
  TRietveld m;
  Build(m, 2, 1);
  m.Title = "kept";
  EXPECT_FALSE(m.ReadInputFile(dir.File("nothing.inp")));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Input file File does not exist"});
  EXPECT_EQ(m.Title, "kept");
  EXPECT_EQ(m.HistogramCount(), 2);
}

// ---------------------------------------------------------------------------
// Read errors: one message naming the line group, the model keeps what was read.

TEST(InputFileErrors, MessagesNameTheLineGroup) {
  TRietveld src;
  Build(src, 3, 1);
  const auto good = Lines(src.InputFileText());
  struct Case {
    const char* what;
    std::function<void(std::vector<std::string>&)> damage;
    const char* message;
    int histograms;
  } cases[] = {
      {"bad number in a free-format line", [](auto& l) { l[10] = "  5.000000 x.01 100.0 1.0 0 0 0"; },
       "Error reading Inputfile at line 5", 3},
      {"file ends in the histogram lines", [](auto& l) { l.resize(2); }, "Error reading Inputfile at line 2.00999999046326", 1},
      {"file ends in the first group", [](auto& l) { l.clear(); }, "Error reading Inputfile at line 1", 0},
      {"file ends before the wavelengths", [](auto& l) { l.resize(5); }, "Error reading Inputfile at line 4", 3},
      // The wavelength lines are counted as they are taken, before their values are converted.
      {"wavelength beyond single range", [](auto& l) { l[5].replace(0, 8, "   1e99 "); },
       "Error reading a numeric value at line 4.01000022888184", 3},
      {"third wavelength beyond single range", [](auto& l) { l[7].replace(72, 8, "  -1e99 "); },
       "Error reading a numeric value at line 4.03000068664551", 3},
      {"file ends in the wavelength lines", [](auto& l) { l.resize(6); }, "Error reading Inputfile at line 4.01000022888184", 3},
      {"free-format value beyond single range", [](auto& l) { l[10] = "1e40 0.01 100 1 0 0 0"; },
       "Error reading a numeric value at line 5", 3},
      {"more background terms than coefficients", [](auto& l) { l[4][15] = '7'; }, "Error reading Inputfile at line 3", 3},
      // Each entry takes a line of its own further on: a count the file cannot hold is refused before
      // anything is allocated for it.
      {"more scattering-table entries than the file has lines", [](auto& l) { l[1].replace(20, 4, "9999"); },
       "Error reading Inputfile at line 2", 0},
      {"scattering-table entries of a later histogram", [](auto& l) { l[2].replace(20, 4, "9999"); },
       "Error reading Inputfile at line 2.00999999046326", 1},
  };
  for (const auto& c : cases) {
    auto lines = good;
    c.damage(lines);
    TDialogResponder dialogs;
    TRietveld m;
    EXPECT_FALSE(ReadText(m, Join(lines))) << c.what;
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.message}) << c.what;
    EXPECT_FALSE(m.Loaded);
    EXPECT_EQ(m.HistogramCount(), c.histograms) << c.what;
    EXPECT_EQ(m.PhaseCount(), 0) << c.what;
  }
}

TEST(InputFileErrors, AnUnfinishedPhaseIsNotAddedNorAreItsSamples) {
  TRietveld src;
  Build(src, 2, 2);
  src.Parameters.SetRefined(0, 1, 0, 1, true);
  auto lines = Lines(src.InputFileText());
  const int second = FindLine(lines, "A new phase", FindLine(lines, "A new phase") + 1);
  lines.resize(static_cast<std::size_t>(second + 2));  // its title and one sample line
  TDialogResponder dialogs;
  TRietveld m;
  EXPECT_FALSE(ReadText(m, Join(lines)));
  EXPECT_TRUE(dialogs.Saw("Error reading Inputfile at line 5"));
  EXPECT_EQ(m.PhaseCount(), 1);
  EXPECT_EQ(m.Samples.size(), 2u);
  EXPECT_TRUE(m.IsRefined(0, 1, 0, 1));  // codes read so far are resolved
}

TEST(InputFile, MoreThanFiftyExcludedRegions) {
  TDialogResponder dialogs;
  TRietveld src;
  Build(src, 2, 1);
  for (int h = 1; h <= 2; ++h)
    for (int i = 0; i < 60; ++i) src.Histogram(h)->Excluded.Regions.Add(i, i + 0.5f);
  src.Histogram(2)->Zero = 0.25f;
  src.Phase(1)->Title = "after the regions";
  TRietveld back;
  ASSERT_TRUE(ReadText(back, src.InputFileText()));
  EXPECT_EQ(back.Histogram(1)->Excluded.Count(), 50);
  EXPECT_EQ(back.Histogram(2)->Excluded.Count(), 50);
  EXPECT_FLOAT_EQ(back.Histogram(1)->Excluded.Regions.GetX(49), 49);
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Histogram 1 has 60 excluded regions; only the first 50 are kept."});
  EXPECT_FLOAT_EQ(back.Histogram(2)->Zero, 0.25f);
  EXPECT_EQ(back.Phase(1)->Title, "after the regions");
}

TEST(InputFile, ExtraDislocationRowsAreReadAndDropped) {
  TRietveld src;
  Build(src, 1, 1);
  TSample& s = *src.FindSample(1, 1);
  s.BroadeningModel = bmDislocation;
  s.DislocationCount = 3;
  s.LorDis = {0.5f, 0.25f, 0.125f};
  src.Parameters.SetRefined(1, 1, 0, 33, true);
  src.Phase(1)->SpaceGroup = "P 63/m m c";
  auto lines = Lines(src.InputFileText());
  const int count = FindLine(lines, "       3");
  ASSERT_GT(count, 0);
  lines[static_cast<std::size_t>(count)] = "       5";
  const std::string extra = "  9  9  9   9  9  9   9  9  9    9.00000   9.00000  9.0000  9.0000  11.000  11.000";
  lines.insert(lines.begin() + count + 4, {extra, extra});
  TRietveld back;
  ASSERT_TRUE(ReadText(back, Join(lines)));
  const TSample& b = *back.FindSample(1, 1);
  EXPECT_EQ(b.DislocationCount, 3);
  EXPECT_FLOAT_EQ(b.LorDis[2], 0.125f);
  EXPECT_EQ(back.Phase(1)->SpaceGroup, "P 63/m m c");
  EXPECT_TRUE(back.IsRefined(1, 1, 0, 33));
  EXPECT_EQ(back.RefinedCount(), 1);
}

TEST(InputFile, WindowsLineEndsAndDecimalCommasReadAlike) {
  TRietveld src;
  BuildRoundTripModel(src);
  const std::string text = src.InputFileText();
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  TRietveld a, b;
  ASSERT_TRUE(ReadText(a, text));
  ASSERT_TRUE(ReadText(b, crlf));
  EXPECT_EQ(DumpModel(b), DumpModel(a));
  EXPECT_EQ(b.Title, src.Title);  // no CR kept at the end of a line

  auto lines = Lines(text);
  lines[5].replace(0, 8, "1,540562");
  TRietveld c;
  ASSERT_TRUE(ReadText(c, Join(lines)));
  EXPECT_FLOAT_EQ(c.Histogram(1)->Wavelength1, 1.540562f);
}

TEST(InputFile, TitlesAreCutAtCharacterBoundaries) {
  TRietveld m;
  Build(m, 1, 1);
  m.Title = std::string(79, 'a') + "é and more";  // 'é' takes bytes 80 and 81
  m.Phase(1)->Title = std::string(79, 'b') + "ü tail";
  const auto lines = Lines(m.InputFileText());
  EXPECT_EQ(lines[0], std::string(79, 'a'));
  TRietveld back;
  ASSERT_TRUE(ReadText(back, Join(lines)));
  EXPECT_EQ(back.Title, std::string(79, 'a'));
  EXPECT_EQ(back.Phase(1)->Title, std::string(79, 'b'));
}

// ---------------------------------------------------------------------------
// Writing: no value spills into the next column; what cannot be held is reported.

TEST(InputFileWrite, WideValuesLoseDecimalsNotColumns) {
  TRietveld m;
  Build(m, 2, 1);
  m.Rmin = 12345.678f;
  m.Rmax = 2.5f;
  m.Histogram(2)->Scale = 123456.78f;  // F12.4 needs 11 characters and keeps a blank before it
  m.Histogram(2)->Stop = 1234567.5f;
  m.FindSample(1, 1)->U = -123.456f;
  const auto lines = Lines(m.InputFileText());
  EXPECT_EQ(lines[3].substr(20, 16), "12345.68   2.500");
  TRietveld back;
  ASSERT_TRUE(ReadText(back, Join(lines)));
  EXPECT_FLOAT_EQ(back.Rmin, 12345.68f);
  EXPECT_FLOAT_EQ(back.Rmax, 2.5f);
  EXPECT_FLOAT_EQ(back.Histogram(2)->Scale, 123456.78f);
  EXPECT_FLOAT_EQ(back.Histogram(2)->Stop, 1234567.5f);
  EXPECT_FLOAT_EQ(back.FindSample(1, 1)->U, -123.456f);
}

TEST(InputFileWrite, AValueThatCannotFitStopsWritingAndKeepsTheOldFile) {
  struct Case { const char* what; std::function<void(TRietveld&)> change; const char* fragment; } cases[] = {
      {"EPS", [](TRietveld& m) { m.EPS = 12345; }, "The value 12345 of EPS (cycles line)"},
      {"atom x", [](TRietveld& m) { m.Phase(1)->AddAtom(TAtom())->X = 1e9f; }, "of x (phase 1, atom 1)"},
      {"cycles", [](TRietveld& m) { m.Cycles = 100000; }, "The value 100000 of Cycles"},
      {"flag", [](TRietveld& m) { m.PlotFile = 12; }, "of a control flag (control line)"},
      {"dislocation rows",
       [](TRietveld& m) {
         m.FindSample(1, 1)->BroadeningModel = bmDislocation;
         m.FindSample(1, 1)->DislocationCount = 4;
       },
       "of DislocationCount"},
      {"background kind", [](TRietveld& m) { m.Histogram(1)->Background.Kind = 3; }, "of the background model"},
      {"coefficient 3",
       [](TRietveld& m) {
         TScatterFactor* e = m.Histogram(1)->ScatterFactors.AddNew();
         e->Symbol = "CU  ";
         e->Coefficients = {1, 2, 0.00004f, 4, 5, 6, 7, 8, 9};  // rounds to 0 in the file
       },
       "Scattering entry CU of histogram 1 has coefficient 3 equal to 0"},
      {"no histogram", [](TRietveld& m) { m.Reset(); }, "The model has no histogram"},
      {"not a number",
       [](TRietveld& m) { m.FindSample(1, 1)->U = std::numeric_limits<float>::quiet_NaN(); },
       "The value nan of U (phase 1, histogram 1) cannot be written"},
      {"infinite wavelength",
       [](TRietveld& m) { m.Histogram(1)->Wavelength1 = std::numeric_limits<float>::infinity(); },
       "The value inf of Wavelength1 (histogram 1) cannot be written"},
      {"infinite background coefficient",
       [](TRietveld& m) { m.Histogram(1)->Background.Coefficients[2] = -std::numeric_limits<float>::infinity(); },
       "The value -inf of a background coefficient"},
      {"calculation method",
       [](TRietveld& m) {
         m.Phase(1)->AddAtom(TAtom());
         m.Phase(1)->CalcMethod = 2;
       },
       "The value 2 of CalcMethod (phase 1)"},
      {"table end marker",
       [](TRietveld& m) {
         TScatterFactor* e = m.Histogram(1)->ScatterFactors.AddNew();
         e->Symbol = "C";
         e->TableKind = 1;
         e->AddPoint(0, 6);
         e->AddPoint(-100, 1);
       },
       "Scattering entry C of histogram 1 has a table point at x = -100"},
  };
  for (const auto& c : cases) {
    TTempDir dir;
    const std::string file = dir.Write("model.inp", "the user's file\n");
    TRietveld m;
    Build(m, 1, 1);
    c.change(m);
    TDialogResponder dialogs;
    EXPECT_FALSE(m.WriteInputFile(file)) << c.what;
    ASSERT_EQ(dialogs.Count(), 1u) << c.what;
    EXPECT_TRUE(dialogs.Saw(c.fragment)) << c.what << ": " << dialogs.Texts()[0];
    EXPECT_EQ(TTempDir::Read(file), "the user's file\n") << c.what;
  }
}

TEST(InputFileWrite, MissingSampleIsWrittenWithDefaults) {
  TDialogResponder dialogs;
  TRietveld m;
  Build(m, 2, 2);
  m.DeleteSample(2, 1);
  TRietveld back;
  ASSERT_TRUE(ReadText(back, m.InputFileText()));
  EXPECT_TRUE(dialogs.Saw("Histogram 2 and phase 1 had no sample values; default values were written."));
  EXPECT_NE(m.FindSample(2, 1), nullptr);
  EXPECT_EQ(back.Samples.size(), 4u);
  EXPECT_FLOAT_EQ(back.FindSample(2, 1)->U, 0.08f);
}

TEST(InputFileWrite, RatiosACodeCannotHoldAreReported) {
  TDialogResponder dialogs;
  TRietveld m;
  Build(m, 1, 1);
  m.Parameters.AddConstraint(Member(0, 1, 0, 6), Member(0, 1, 0, 8, 12.5f));
  TRietveld back;
  ASSERT_TRUE(ReadText(back, m.InputFileText()));
  EXPECT_TRUE(dialogs.Saw("The ratio 12.5 of constraint 1 (P  1: c) cannot be held by a refinement code; "
                          "it was written as 2.5."));
  EXPECT_FLOAT_EQ(m.Parameters.Constraints[0]->Second.Multiplier, 12.5f);  // the model keeps it
  ASSERT_EQ(back.ConstraintCount(), 1);
  EXPECT_FLOAT_EQ(back.Parameters.Constraints[0]->Second.Multiplier, 2.5f);
  EXPECT_TRUE(back.Parameters.Constraints[0]->First.HasAddress(0, 1, 0, 6));
}

TEST(InputFileWrite, CodesFollowTheRefinementSet) {
  TRietveld m;
  Build(m, 1, 1);
  auto& pl = m.Parameters;
  pl.SetRefined(0, 1, 0, 6, true);
  pl.SetRefined(1, 0, 0, 1, true);
  pl.Refined[1]->Multiplier = -2;
  pl.AddConstraint(Member(0, 1, 0, 6), Member(0, 1, 0, 7, 1));
  pl.AddConstraint(Member(0, 1, 0, 6), Member(0, 1, 0, 8, 1));
  const auto lines = Lines(m.InputFileText());
  EXPECT_EQ(lines[5], "       2");
  EXPECT_EQ(lines[6], "   0.000 -22.000");
  const int cell = FindLine(lines, "  11.000  11.000  11.000");
  EXPECT_GT(cell, 0);
  TRietveld back;
  ASSERT_TRUE(ReadText(back, Join(lines)));
  EXPECT_EQ(back.RefinedCount(), 2);
  EXPECT_EQ(back.ConstraintCount(), 2);
  EXPECT_DOUBLE_EQ(back.Parameters.GetCode(1, 0, 0, 1), -22);
}

TEST(InputFileWrite, AFailedSaveSaysWhatFailedAndKeepsTheOldFile) {
  TDialogResponder dialogs;
  TTempDir dir;
  TRietveld m;
  Build(m, 1, 1);
  const std::string folder = dir.File("model.inp");
  ForceDirectories(folder);
  EXPECT_FALSE(m.WriteInputFile(dir.File("no/such/folder/model.inp")));
  EXPECT_FALSE(m.WriteInputFile(folder));
  EXPECT_EQ(dialogs.Texts(),
            (std::vector<std::string>{"Cannot save " + dir.File("no/such/folder/model.inp") +
                                          ": cannot create a temporary file in " + dir.File("no/such/folder") +
                                          " - " + std::strerror(ENOENT) + "; the file was not changed.",
                                      "Cannot save " + folder + ": it is a folder; the file was not changed."}));
  EXPECT_EQ(FindFiles(dir.Path(), "*"), std::vector<std::string>{});
}

}  // namespace
