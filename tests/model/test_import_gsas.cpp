#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "model/gsasimport.h"
#include "support/testlocale.h"
#include "test_import_support.h"

using namespace importtest;

namespace {

class GsasImport : public ::testing::Test {
protected:
  bool Import(const std::string& text, const std::string& name = "m.exp") {
    return ImportGSAS(Model, Dir.Write(name, text));
  }

  TRietveld Model;
  TDialogResponder Dialogs;
  TTempDir Dir;
};

// A record: the 12-character key and the values after it.
std::string Rec(const std::string& key, const std::string& values = "") { return key + values; }

// Values in fields of the given width, four decimals.
std::string F(std::initializer_list<double> values, int width = 10) {
  std::string s;
  for (double v : values) s += testlocale::CFormat("%*.4f", width, v);
  return s;
}

TEST_F(GsasImport, FixtureWithXrayAndTimeOfFlightHistograms) {
  ASSERT_TRUE(ImportGSAS(Model, FixturePath("two.exp")));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_TRUE(Model.Loaded);
  EXPECT_EQ(Model.Title, "Two histograms, two phases");
  EXPECT_EQ(Model.PrintU, 1);
  ASSERT_EQ(Model.HistogramCount(), 2);
  ASSERT_EQ(Model.PhaseCount(), 2);
  EXPECT_EQ(Model.Samples.size(), 4u);
  EXPECT_EQ(Model.RefinedCount(), 0);
  EXPECT_EQ(Model.BackTerms, 1);

  const THistogram& x = *Model.Histogram(1);
  EXPECT_EQ(x.Job, jobXrayData);
  EXPECT_EQ(x.Profile, 5);  // GSAS type 2: a Voigt with Howard's asymmetry
  EXPECT_FLOAT_EQ(x.Wavelength1, 1.5406f);
  EXPECT_FLOAT_EQ(x.Zero, -0.015f);  // centidegrees
  EXPECT_FLOAT_EQ(x.Ratio, 0.5f);        // ICONS columns 53-62: the K alpha 2 ratio
  EXPECT_FLOAT_EQ(x.Polarisation, 0.0f);  // keeps its default
  EXPECT_FLOAT_EQ(x.Scale, 1.0f);         // HSCALE 2 folded into the phase scales
  ASSERT_EQ(x.Excluded.Count(), 1);
  EXPECT_FLOAT_EQ(x.Excluded.Regions.GetY(0), 10.0f);
  EXPECT_EQ(x.Background.Kind, bkUserPoints);  // three fixed points
  ASSERT_EQ(x.Background.PointCount(), 3);
  EXPECT_FLOAT_EQ(x.Background.Points.GetY(1), 80.25f);

  const THistogram& tof = *Model.Histogram(2);
  EXPECT_EQ(tof.Job, jobTOFData);
  EXPECT_EQ(tof.Profile, profJorgensenTOF);
  EXPECT_FLOAT_EQ(tof.Wavelength1, 7000.0f);  // DIFC
  EXPECT_FLOAT_EQ(tof.Wavelength2, -2.5f);
  EXPECT_FLOAT_EQ(tof.Zero, 3.0f);  // not divided
  EXPECT_FLOAT_EQ(tof.Scale, 1.25f);  // 2.5 over histogram 1's 2
  EXPECT_EQ(tof.Background.Kind, bkAmorphous);

  const TPhase& si = *Model.Phase(1);
  EXPECT_EQ(si.Title, "Silicon standard");
  EXPECT_EQ(si.SpaceGroup, "F D 3 M");
  EXPECT_FLOAT_EQ(si.A, 5.431f);
  EXPECT_FLOAT_EQ(si.Scale, 1.5f);  // the last SCALE record of the phase, 0.75, times HSCALE 2
  ASSERT_EQ(si.AtomCount(), 1);
  EXPECT_EQ(si.Atom(1)->AtomType, "SI  ");
  EXPECT_EQ(si.Atom(1)->Label, "SI1 ");
  EXPECT_FLOAT_EQ(si.Atom(1)->X, 0.125f);
  EXPECT_FLOAT_EQ(si.Atom(1)->N, 0.025f);  // fraction 0.6 times multiplicity 8, over M = 192
  EXPECT_NEAR(si.Atom(1)->B, 0.78957f, 1e-6);

  const TPhase& rutile = *Model.Phase(2);
  EXPECT_EQ(rutile.SpaceGroup, "P 42/M N M");
  ASSERT_EQ(rutile.AtomCount(), 2);
  EXPECT_FLOAT_EQ(rutile.Atom(1)->B, 0.6f);  // anisotropic atom keeps the default B
  EXPECT_NEAR(rutile.Atom(1)->B33, 0.02 * 78.957, 1e-6);
  EXPECT_NEAR(rutile.Atom(1)->B12, -0.01 * 78.957, 1e-6);
  EXPECT_NEAR(rutile.Atom(2)->B, 0.03 * 78.957, 1e-6);
  EXPECT_FLOAT_EQ(rutile.Scale, 2.5f);
  EXPECT_FLOAT_EQ(rutile.Atom(1)->N, 2.0f / 16);  // full 2a and 4f sites of P 42/m n m
  EXPECT_FLOAT_EQ(rutile.Atom(2)->N, 4.0f / 16);

  const TSample& s11 = *Model.FindSample(1, 1);
  // GU, GV: Gaussian variances in centidegrees squared, to squared FWHM in degrees squared.
  EXPECT_FLOAT_EQ(s11.U, static_cast<float>(2.5 * 8 * std::log(2.0) / 1e4));
  EXPECT_FLOAT_EQ(s11.V, static_cast<float>(-1.25 * 8 * std::log(2.0) / 1e4));
  EXPECT_FLOAT_EQ(s11.PO, 1.1f);
  EXPECT_FLOAT_EQ(s11.POH, 1.1f);
  EXPECT_FLOAT_EQ(s11.POL, 1.0f);
  EXPECT_FLOAT_EQ(s11.Extinction, 0.5f);
  EXPECT_FLOAT_EQ(s11.UL, 1.0f);
  const TSample& s21 = *Model.FindSample(2, 1);
  EXPECT_FLOAT_EQ(s21.UL, 1.0f);  // SPAXIS reaches every histogram
  EXPECT_FLOAT_EQ(s21.TOFAlpha2, 0.25f);
  EXPECT_FLOAT_EQ(s21.TOFBeta2, 0.125f);
  EXPECT_FLOAT_EQ(s21.U, 10.5f);  // not divided
  EXPECT_FLOAT_EQ(s21.Uaniso, 1.5f);

  // The input file holds U, V, W to five decimals: a save keeps them to that,
  // and the saved model reads back exactly.
  const std::string saved = Dir.File("saved.inp");
  ASSERT_TRUE(Model.WriteInputFile(saved));
  TRietveld back;
  ASSERT_TRUE(back.ReadInputFile(saved));
  for (int t = 3; t <= 5; ++t)
    EXPECT_NEAR(*back.FindSample(1, 1)->Value(t), *Model.FindSample(1, 1)->Value(t), 5e-6) << t;
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  ExpectInputFileRoundTrip(back, Dir);
}

TEST_F(GsasImport, CountsOfHistogramsAndPhases) {
  // The highest HAP histogram wins over NHST; a file without CRS records still
  // has one phase.
  ASSERT_TRUE(Import(Lines({Rec(" EXPR  NHST ", "    2"), Rec("HAP1 1SCALE ", F({0.5}, 15))})));
  EXPECT_EQ(Model.HistogramCount(), 1);
  EXPECT_EQ(Model.PhaseCount(), 1);
  EXPECT_EQ(Model.Samples.size(), 1u);

  ASSERT_TRUE(Import(Lines({Rec(" EXPR  NHST ", "    3"), Rec("CRS3  ABC   ", F({1, 2, 3}))})));
  EXPECT_EQ(Model.HistogramCount(), 3);
  EXPECT_EQ(Model.PhaseCount(), 3);
  EXPECT_EQ(Model.Samples.size(), 9u);
  EXPECT_FLOAT_EQ(Model.Phase(3)->C, 3.0f);
  EXPECT_EQ(Dialogs.Texts(), Texts{});
}

TEST_F(GsasImport, RecordRules) {
  ASSERT_TRUE(Import(Lines({
      Rec(" EXPR  NHST ", "    2"),
      Rec(" EXPR  HTYP1", "  PXC  PNT"),
      Rec("CRS1  SG SYM", "  P 21/c"),
      Rec("CRS1  AT  1B", F({0.5})),  // before any atom: ignored
      Rec("CRS1  AT  1A", "  O         0.100000  0.200000  0.300000  0.500000O1         2"),
      Rec("CRS1  AT  1B", F({0.01}) + std::string(52, ' ') + "I"),
      Rec("HST  2 ICONS", F({5000, 0, 12.5, 0, 0.5})),  // time of flight: no K alpha 2 ratio
      Rec("HST  1 ICONS", F({1.5, 1.5, 12.5})),
      Rec("HST  0HSCALE", F({9}, 15)),
      Rec("HST  3HSCALE", F({9}, 15)),
      Rec("HST  1HSCALE", F({3}, 15)),
      Rec("HST  1BAKGD ", "    3    6"),
      Rec("HAP1 1PRCF  ", "    1   18"),
      Rec("HAP1 2PRCF  ", "    1   18"),
      Rec("HAP1 1PRCF 1", F({1000, 2000, 3000}, 15)),
  })));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  const TAtom& o = *Model.Phase(1)->Atom(1);
  EXPECT_EQ(Model.Phase(1)->AtomCount(), 1);
  EXPECT_FLOAT_EQ(o.N, 0.25f);  // fraction 0.5 x multiplicity 2 / M = 4
  EXPECT_FLOAT_EQ(o.B, 0.78957f);
  EXPECT_EQ(Model.Histogram(2)->Job, jobTOFData);
  EXPECT_FLOAT_EQ(Model.Histogram(2)->Zero, 12.5f);
  EXPECT_FLOAT_EQ(Model.Histogram(2)->Ratio, 0.0f);
  EXPECT_FLOAT_EQ(Model.Histogram(1)->Zero, 0.125f);
  // HSCALE 3 of histogram 1 lives on in the phase scale and, divided, in histogram 2's.
  EXPECT_FLOAT_EQ(Model.Histogram(1)->Scale, 1.0f);
  EXPECT_FLOAT_EQ(Model.Phase(1)->Scale, 3.0f * TPhase().Scale);
  EXPECT_FLOAT_EQ(Model.Histogram(2)->Scale, 1.0f / 3);
  EXPECT_EQ(Model.Histogram(1)->Background.Kind, bkAmorphous);
  EXPECT_EQ(Model.BackTerms, 0);
  EXPECT_EQ(Model.Histogram(1)->Profile, 1);
  EXPECT_EQ(Model.Histogram(2)->Profile, profJorgensenTOF);
  EXPECT_FLOAT_EQ(Model.FindSample(1, 1)->W, static_cast<float>(3000 * 8 * std::log(2.0) / 1e4));
}

TEST_F(GsasImport, UndeclaredPhasesAndHistogramsAreReportedOnce) {
  ASSERT_TRUE(Import(Lines({
      Rec(" EXPR  NHST ", "    1"),
      Rec("CRS1  ABC   ", F({4, 4, 4})),
      Rec("HAP3 1SCALE ", F({0.5}, 15)),  // phase 3 is not counted
      Rec("HAP1 0SCALE ", F({0.5}, 15)),  // histogram 0 has no samples
      Rec("CRS0  ABC   ", F({9, 9, 9})),
      Rec("CRSX  ABC   ", F({9, 9, 9})),
      Rec("HAP1 1SCALE ", F({0.25}, 15)),
  })));
  EXPECT_EQ(Dialogs.Texts(),
            Texts{"Records of m.exp that name a phase the file does not count, or a histogram without samples, were "
                  "ignored (the first at line 3: \"HAP3 1SCALE \")."});
  EXPECT_TRUE(Model.Loaded);
  EXPECT_EQ(Model.PhaseCount(), 1);
  EXPECT_FLOAT_EQ(Model.Phase(1)->A, 4.0f);
  EXPECT_FLOAT_EQ(Model.Phase(1)->Scale, 0.25f);
}

TEST_F(GsasImport, FilesThatAreNoExperimentFileAreRefused) {
  const struct {
    std::string Text;
    std::string Expected;
  } cases[] = {
      {"", "the file is empty"},
      {"TITL a Shelx file\nCELL 1 2 3 4 5 6 7\n", "it holds no experiment records"},
      {std::string("HST\0\n", 5), "it holds binary data"},
      {Rec(" EXPR  NHST ", "99999") + "\n", "line 1: 99999 histograms, more than an experiment file can number"},
      {Rec(" EXPR  NHST ", "  two") + "\n", "line 1, columns 13-17: \"two\" is not a whole number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Expected);
    FillSomething(Model);
    const std::string before = DumpModel(Model);
    Dialogs.Clear();
    EXPECT_FALSE(Import(c.Text));
    ASSERT_EQ(Dialogs.Count(), 1u);
    EXPECT_EQ(Dialogs.Last().Text, "m.exp is not a GSAS experiment file (" + c.Expected + "). The model is unchanged.");
    EXPECT_EQ(DumpModel(Model), before);
    EXPECT_FALSE(Model.Loaded);
  }

  FillSomething(Model);
  Dialogs.Clear();
  EXPECT_FALSE(ImportGSAS(Model, Dir.File("none.exp")));
  EXPECT_EQ(Dialogs.Texts(), Texts{"File does not exist"});
  EXPECT_EQ(Model.Title, "Kept");
}

// A record that cannot be read ends the import and leaves the model as it was,
// not half replaced by the records before it.
TEST_F(GsasImport, BadValuesAndCutRecordsEndTheRead) {
  const std::string head = Lines({Rec(" EXPR  NHST ", "    1"), Rec("CRS1  ABC   ", F({4, 4, 4}))});
  const struct {
    std::string Last;
    std::string Message;
  } cases[] = {
      {Rec("CRS1  ANGLES", F({90, 90}) + " ninety!!!"), "Error reading a numeric value at line 3"},
      {Rec("CRS1  ANGLES", F({90}) + "     1e+40"), "Error reading a numeric value at line 3"},
      // The file ends inside the third angle: no line end after it.
      {Rec("CRS1  ANGLES", F({90, 90}) + "  90.0"), "Error reading Inputfile at line 3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Last);
    FillSomething(Model);
    const std::string before = DumpModel(Model);
    Dialogs.Clear();
    EXPECT_FALSE(Import(head + c.Last));
    EXPECT_EQ(Dialogs.Texts(), Texts{c.Message + ". The model is unchanged."});
    EXPECT_FALSE(Model.Loaded);
    EXPECT_EQ(DumpModel(Model), before);
  }
  // A complete last record without a line end is fine.
  Dialogs.Clear();
  EXPECT_TRUE(Import(head + Rec("CRS1  ANGLES", F({90, 90, 120}))));
  EXPECT_FLOAT_EQ(Model.Phase(1)->Gamma, 120.0f);
  EXPECT_EQ(Dialogs.Texts(), Texts{});
}

// Older GSAS versions write the SPAXIS indices as reals: a whole-valued real
// is that index, anything else 0, and the records after it are still read.
TEST_F(GsasImport, SpaxisIndicesWrittenAsReals) {
  const struct {
    const char* Columns;
    float H, K, L;
  } cases[] = {
      {"    0    0    1", 0, 0, 1},
      {"   1.   1.   1.", 1, 1, 1},
      {"  1.0 -2.0  0.0", 1, -2, 0},
      {"  0.5    x    1", 0, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Columns);
    Dialogs.Clear();
    ASSERT_TRUE(Import(Lines({Rec(" EXPR  NHST ", "    2"), Rec("CRS1  SPAXIS", c.Columns),
                              Rec("CRS1  ABC   ", F({4, 5, 6}))})));
    EXPECT_EQ(Dialogs.Texts(), Texts{});
    for (int h = 1; h <= 2; ++h) {
      const TSample& s = *Model.FindSample(h, 1);
      EXPECT_EQ((std::vector<float>{s.UH, s.UK, s.UL}), (std::vector<float>{c.H, c.K, c.L})) << h;
    }
    EXPECT_FLOAT_EQ(Model.Phase(1)->C, 6.0f);
  }
}

// The occupancies need the space group of the phase: one the library does
// not know keeps fraction x multiplicity and says so, once. A histogram-1
// scale that cannot be folded is reported, not dropped.
TEST_F(GsasImport, UnknownGroupAndUnfoldableScaleAreReported) {
  ASSERT_TRUE(Import(Lines({
      Rec(" EXPR  NHST ", "    1"),
      Rec("CRS1  SG SYM", "  Q 99 z"),
      Rec("CRS1  AT  1A", "  O         0.100000  0.200000  0.300000  0.500000O1         2"),
      Rec("CRS1  AT  2A", "  O         0.300000  0.200000  0.300000  1.000000O2         1"),
      Rec("HST  1HSCALE", F({0}, 15)),
  })));
  EXPECT_EQ(Dialogs.Texts(),
            (Texts{"The space group of phase 1 (\"Q 99 Z\") is not known: its atom occupancies are kept as fraction "
                   "times site multiplicity.",
                   "The scale of histogram 1 (HSCALE 0) cannot be kept: the model keeps it, but an engine input file "
                   "saves 1 in its place."}));
  EXPECT_FLOAT_EQ(Model.Phase(1)->Atom(1)->N, 1.0f);
  EXPECT_FLOAT_EQ(Model.Phase(1)->Atom(2)->N, 1.0f);

  // A fold whose product would leave the single range is not made either.
  Dialogs.Clear();
  ASSERT_TRUE(Import(Lines({Rec("HAP1 1SCALE ", "          1e+30"), Rec("HST  1HSCALE", "          1e+30")})));
  EXPECT_EQ(Dialogs.Count(), 1u);
  EXPECT_FLOAT_EQ(Model.Histogram(1)->Scale, 1e30f);
  EXPECT_FLOAT_EQ(Model.Phase(1)->Scale, 1e30f);
}

// A file that ends before all the atoms its NATOM records count is reported
// and not taken as loaded; what was read stays.
TEST_F(GsasImport, FileEndingBeforeAllAtomsIsReported) {
  ASSERT_FALSE(ImportGSAS(Model, FixturePath("cut.exp")));
  EXPECT_FALSE(Model.Loaded);
  EXPECT_EQ(Dialogs.Texts(), Texts{"Error reading Inputfile at line 7: the file ends before all atoms were read "
                                   "(phase 1 counts 3 atoms, the file holds 2)."});
  ASSERT_EQ(Model.Phase(1)->AtomCount(), 2);
  EXPECT_FLOAT_EQ(Model.Phase(1)->Atom(1)->N, 4.0f / 8);  // Pb on 4c of P n m a
}

}  // namespace
