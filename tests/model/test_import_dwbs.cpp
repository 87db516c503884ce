#include <gtest/gtest.h>

#include <cstdio>

#include "model/dwbsimport.h"
#include "support/testlocale.h"
#include "test_import_support.h"

using namespace importtest;

namespace {

class DwbsImport : public ::testing::Test {
protected:
  bool Import(const std::string& text, const std::string& name = "m.dwb") {
    return ImportDWBS(Model, Dir.Write(name, text));
  }

  TRietveld Model;
  TDialogResponder Dialogs;
  TTempDir Dir;
};

// The opening lines of a file with one X-ray histogram; `histogramLine`
// replaces line 2.
std::vector<std::string> Header(const std::string& histogramLine = "   0   4   0   0   0   0") {
  return {"Minimal", histogramLine, "0000000000",
          "  1.5406  1.5406  0.0000  0.0000  7.0000  0.0000  0.0000 20.0000",
          "  300.100.900.900.900.90  5.0000  0.0200 80.0000"};
}

// The lines after the header for a file without phases, regions, entries and
// with a polynomial background: MaxCode, Zero, its code, coefficients, codes.
std::vector<std::string> Tail() {
  return {"       2", "  0.0100", "   11.00", "  10.0000   2.0000   0.0000   0.0000   0.0000   0.0000",
          "    21.00     0.00     0.00     0.00     0.00     0.00"};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(DwbsImport, FixtureGivesTheModelAndSurvivesTheInputFile) {
  ASSERT_TRUE(ImportDWBS(Model, FixturePath("quartz.dwb")));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_TRUE(Model.Loaded);
  EXPECT_EQ(Model.Title, "Quartz and a Le Bail phase");
  ASSERT_EQ(Model.HistogramCount(), 1);
  ASSERT_EQ(Model.PhaseCount(), 2);
  ASSERT_EQ(Model.Samples.size(), 2u);

  const THistogram& h = *Model.Histogram(1);
  EXPECT_EQ(h.Job, 0);
  EXPECT_EQ(h.Profile, 2);  // peak shape 4
  EXPECT_FLOAT_EQ(h.Wavelength2, 1.5444f);
  EXPECT_FLOAT_EQ(h.Ratio, 0.5f);
  EXPECT_FLOAT_EQ(h.BaseWidth, 6.0f);
  EXPECT_FLOAT_EQ(h.Weighting, 0.0f);
  EXPECT_FLOAT_EQ(h.Stop, 100.0f);
  EXPECT_FLOAT_EQ(h.Zero, 0.03f);
  EXPECT_FLOAT_EQ(h.Background.Coefficients[1], -3.25f);
  ASSERT_EQ(h.Excluded.Count(), 1);
  EXPECT_FLOAT_EQ(h.Excluded.Regions.GetY(0), 10.0f);
  ASSERT_EQ(h.ScatterFactors.Count(), 2);
  EXPECT_EQ(h.ScatterFactors.Entry(1)->TableKind, 0);
  EXPECT_FLOAT_EQ(h.ScatterFactors.Entry(1)->Coefficients[8], 1.1407f);
  EXPECT_EQ(h.ScatterFactors.Entry(2)->TableKind, 1);
  EXPECT_EQ(h.ScatterFactors.Entry(2)->PointCount(), 3);
  EXPECT_EQ(Model.IPC, 1);  // 2 is stored as 1
  EXPECT_EQ(Model.ControlFlag5, 1);
  EXPECT_EQ(Model.PlotFile, 3);
  EXPECT_FLOAT_EQ(Model.AsymLimit, 15.0f);
  EXPECT_EQ(Model.Cycles, 20);

  const TPhase& quartz = *Model.Phase(1);
  EXPECT_EQ(quartz.SpaceGroup, "P 31 2 1");
  EXPECT_EQ(quartz.Z, 3);
  EXPECT_EQ(quartz.CalcMethod, 0);
  ASSERT_EQ(quartz.AtomCount(), 2);
  EXPECT_EQ(quartz.Atom(2)->Label, "O1  ");
  EXPECT_FLOAT_EQ(quartz.Atom(2)->Z, 0.1188f);
  EXPECT_FLOAT_EQ(quartz.Atom(2)->B33, 0.03f);
  EXPECT_FLOAT_EQ(quartz.Gamma, 120.0f);
  const TSample& s1 = *Model.FindSample(1, 1);
  EXPECT_FLOAT_EQ(s1.Asym1, 0.05f);
  EXPECT_FLOAT_EQ(s1.Gam0, 0.6f);
  EXPECT_FLOAT_EQ(s1.AbsorptionR, 0.0f);

  const TPhase& lebail = *Model.Phase(2);
  EXPECT_EQ(lebail.CalcMethod, 1);
  EXPECT_EQ(lebail.AtomCount(), 0);
  EXPECT_EQ(lebail.Z, 1);  // 0 becomes 1
  EXPECT_FLOAT_EQ(Model.FindSample(1, 2)->POH, 1.0f);

  // Codes 11, 21, 31, 41, 51, 52 and 61 with MaxCode 6; 71 refines nothing;
  // 52 shares number 5 with 51 and becomes a constraint with ratio 2.
  EXPECT_EQ(Model.RefinedCount(), 6);
  ASSERT_EQ(Model.ConstraintCount(), 1);
  EXPECT_TRUE(Model.Parameters.Constraints[0]->Second.HasAddress(0, 1, 2, 4));
  EXPECT_FLOAT_EQ(Model.Parameters.Constraints[0]->Second.Multiplier, 2.0f);
  EXPECT_FALSE(Model.IsRefined(1, 1, 0, 3));

  ExpectInputFileRoundTrip(Model, Dir);
}

TEST_F(DwbsImport, HistogramLineVariants) {
  const struct {
    const char* Line2;
    int Profile;
  } cases[] = {{"   0   6   0   0   0   0", 2}, {"   0   4   0   0   0   0", 2}, {"   0   5   0   0   0   0", 4},
               {"   0   1   0   0   0   0", 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line2);
    ASSERT_TRUE(Import(Lines(Header(c.Line2) + Tail())));
    EXPECT_EQ(Model.Histogram(1)->Profile, c.Profile);
  }
  // No phases, regions or entries: MaxCode, Zero and its code are still read.
  EXPECT_EQ(Model.HistogramCount(), 1);
  EXPECT_EQ(Model.PhaseCount(), 0);
  EXPECT_EQ(Model.MaxCode, 2);
  EXPECT_FLOAT_EQ(Model.Histogram(1)->Zero, 0.01f);
  EXPECT_TRUE(Model.IsRefined(1, 0, 0, 1));
  EXPECT_TRUE(Model.IsRefined(1, 0, 0, 2));
  EXPECT_FLOAT_EQ(Model.Histogram(1)->Background.Coefficients[0], 10.0f);
}

TEST_F(DwbsImport, BackgroundModels) {
  // A data-file background reads neither points nor coefficients.
  const std::vector<std::string> tail = {"       0", "  0.0000", "    0.00"};
  ASSERT_TRUE(Import(Lines(Header("   0   4   0   1   0   0") + tail)));
  EXPECT_EQ(Model.Histogram(1)->Background.Kind, 1);
  EXPECT_EQ(Model.Histogram(1)->Background.PointCount(), 0);

  // Three user points, then no coefficients.
  ASSERT_TRUE(Import(Lines(Header("   0   4   0   3   0   0") +
                           std::vector<std::string>{" 10.0000 50.0000", " 20.0000 40.0000", " 30.0000 35.0000",
                                                    "       0", "  0.0000", "    0.00"})));
  const TBackGround& bg = Model.Histogram(1)->Background;
  EXPECT_EQ(bg.Kind, bkUserPoints);
  ASSERT_EQ(bg.PointCount(), 3);
  EXPECT_FLOAT_EQ(bg.Points.GetY(2), 35.0f);
  EXPECT_EQ(Dialogs.Texts(), Texts{});
}

TEST_F(DwbsImport, ExcessExcludedRegionsAreReadAndDropped) {
  // 52 regions announced: fifty are kept as written (limits not ordered), and
  // the lines of the other two are still consumed, so MaxCode and Zero come
  // from their own lines.
  std::vector<std::string> regions;
  for (int k = 1; k <= 52; ++k) regions.push_back(testlocale::CFormat("%8.2f%8.2f", 10.0 * k + 5, 10.0 * k));
  ASSERT_TRUE(Import(Lines(Header("   0   4   0   0  52   0") + regions + Tail())));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  const TExcluded& e = Model.Histogram(1)->Excluded;
  ASSERT_EQ(e.Count(), 50);
  EXPECT_FLOAT_EQ(e.Regions.GetX(0), 15.0f);
  EXPECT_FLOAT_EQ(e.Regions.GetY(0), 10.0f);
  EXPECT_FLOAT_EQ(e.Regions.GetX(49), 505.0f);
  EXPECT_EQ(Model.MaxCode, 2);
  EXPECT_FLOAT_EQ(Model.Histogram(1)->Zero, 0.01f);
}

TEST_F(DwbsImport, NeutronEntriesHaveOneLine) {
  ASSERT_TRUE(Import(Lines(Header("   1   4   0   0   0   2") +
                           std::vector<std::string>{"NI    1.0300  0.0000", "O     0.5803  0.0000"} + Tail())));
  const TScatterList& e = Model.Histogram(1)->ScatterFactors;
  ASSERT_EQ(e.Count(), 2);
  EXPECT_EQ(e.Entry(2)->Symbol, "O   ");
  EXPECT_FLOAT_EQ(e.Entry(2)->FPrime, 0.5803f);
  EXPECT_EQ(Model.MaxCode, 2);
}

TEST_F(DwbsImport, MissingFileChangesNothing) {
  FillSomething(Model);
  const std::string before = DumpModel(Model);
  EXPECT_FALSE(ImportDWBS(Model, Dir.File("none.dwb")));
  EXPECT_EQ(Dialogs.Texts(), Texts{"Input file File does not exist"});
  EXPECT_EQ(DumpModel(Model), before);
  EXPECT_FALSE(Model.Loaded);
}

TEST_F(DwbsImport, OpeningLinesThatDoNotFitAreRefused) {
  const struct {
    std::string Text;
    std::string Expected;  // a part of the message
  } cases[] = {
      {"", "the file is empty"},
      {"  \n\n", "the file is empty"},
      {"title\nthis is prose, not a histogram line\n", "line 2, columns 4-4: \"s\" is not a whole number"},
      {Lines(Header("   9   4   0   0   0   0") + Tail()), "the histogram kind 9 is unknown"},
      {Lines(Header("   0   4  -1   0   0   0") + Tail()), "a negative number of phases"},
      {Lines(Header("   0   4   0   0   09999") + Tail()), "9999 scattering entries announced in a file of 10 lines"},
      {Lines(Header("   0   4   0  -8   0   0") + Tail()), "the background model -8 is unknown"},
      {Lines({"Minimal", "   0   4   0   0   0   0", "00x0000000"}), "line 3, columns 3-3"},
      {std::string("bin\0ary\n", 8), "binary data"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Expected);
    FillSomething(Model);
    const std::string before = DumpModel(Model);
    Dialogs.Clear();
    EXPECT_FALSE(Import(c.Text));
    ASSERT_EQ(Dialogs.Count(), 1u);
    EXPECT_NE(Dialogs.Last().Text.find("m.dwb is not a DWBS input file ("), std::string::npos) << Dialogs.Last().Text;
    EXPECT_NE(Dialogs.Last().Text.find(c.Expected), std::string::npos) << Dialogs.Last().Text;
    EXPECT_EQ(DumpModel(Model), before);
    EXPECT_FALSE(Model.Loaded);
  }
}

TEST_F(DwbsImport, FileEndingEarlyIsAReadError) {
  // Cut after the first atom line of the quartz phase (line 23 of 58).
  std::vector<std::string> lines;
  {
    std::string all = Fixture("quartz.dwb");
    std::size_t p = 0;
    for (int k = 0; k < 23; ++k) p = all.find('\n', p) + 1;
    ASSERT_FALSE(Import(all.substr(0, p)));
  }
  EXPECT_EQ(Dialogs.Texts(), Texts{"Error reading Inputfile at line 24"});
  EXPECT_FALSE(Model.Loaded);
  // What was read stays, and its codes are resolved.
  EXPECT_EQ(Model.Title, "Quartz and a Le Bail phase");
  ASSERT_EQ(Model.PhaseCount(), 1);
  EXPECT_EQ(Model.Phase(1)->SpaceGroup, "P 31 2 1");
  ASSERT_EQ(Model.Phase(1)->AtomCount(), 1);  // the atom being read, as far as it was read
  EXPECT_FLOAT_EQ(Model.Phase(1)->Atom(1)->X, 0.4697f);
  EXPECT_EQ(Model.RefinedCount(), 5);  // zero, two background terms, x and B of that atom
  EXPECT_TRUE(Model.IsRefined(0, 1, 1, 1));
  EXPECT_FLOAT_EQ(Model.LineCounter, 24.0f);
}

TEST_F(DwbsImport, EveryCutOfTheFixtureIsReported) {
  // Cut at every line end and in the middle of every line: the import is
  // either refused with the model unchanged, or ends with a message and
  // Loaded false; never a success.
  const std::string all = Fixture("quartz.dwb");
  // The last line is read and ignored: a cut inside it loses nothing.
  const std::size_t lastLine = all.rfind('\n', all.size() - 2) + 1;
  for (std::size_t cut = 0; cut < lastLine; ++cut) {
    if (cut > 0 && all[cut - 1] != '\n' && all[cut] != '\n' && cut % 5 != 0) continue;
    SCOPED_TRACE(cut);
    Dialogs.Clear();
    EXPECT_FALSE(Import(all.substr(0, cut)));
    EXPECT_EQ(Dialogs.Count(), 1u);
    EXPECT_FALSE(Model.Loaded);
  }
}

TEST_F(DwbsImport, ValuesThatAreNotNumbersEndTheRead) {
  std::vector<std::string> lines = Header() + Tail();
  lines[6] = "  0.01x0";  // Zero
  EXPECT_FALSE(Import(Lines(lines)));
  EXPECT_EQ(Dialogs.Texts(), Texts{"Error reading a numeric value at line 7"});
  EXPECT_EQ(Model.HistogramCount(), 1);
  EXPECT_EQ(Model.MaxCode, 2);

  lines = Header() + Tail();
  lines[7] = "  1e40  ";  // a code beyond single precision
  Dialogs.Clear();
  EXPECT_FALSE(Import(Lines(lines)));
  EXPECT_EQ(Dialogs.Texts(), Texts{"Error reading a numeric value at line 8"});
}

}  // namespace
