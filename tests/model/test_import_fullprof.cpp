#include <gtest/gtest.h>

#include "model/fullprofimport.h"
#include "test_import_support.h"

using namespace importtest;

namespace {

class FullprofImport : public ::testing::Test {
protected:
  bool Import(const std::string& text, const std::string& name = "m.pcr") {
    return ImportFullprof(Model, Dir.Write(name, text));
  }

  TRietveld Model;
  TDialogResponder Dialogs;
  TTempDir Dir;
};

// A free-layout file without phases: the lines after the title.
std::vector<std::string> FreeBody(const std::string& line2 = "0 6 0 0 0 0 0") {
  return {line2, "1 1 1 1 1 0 0 0 0 1 0", "1.5406 1.5444 0.5 0 12.5 0.8 0 20", "30 0.1 0.9 0.9 0.9 0.9 5 0.02 80",
          "2", "0.01 11", "10 2 0 0 0 0", "21 0 0 0 0 0"};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(FullprofImport, FreeLayoutFixture) {
  ASSERT_TRUE(ImportFullprof(Model, FixturePath("free.pcr")));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_EQ(Model.Title, "COMM Free layout Fullprof test");
  ASSERT_EQ(Model.HistogramCount(), 1);
  ASSERT_EQ(Model.PhaseCount(), 1);
  const THistogram& h = *Model.Histogram(1);
  EXPECT_EQ(h.Job, 1);
  EXPECT_EQ(h.Profile, 4);
  EXPECT_FLOAT_EQ(h.BaseWidth, 7.0f);  // 8.5 is limited
  EXPECT_EQ(h.Background.Kind, bkUserPoints);
  ASSERT_EQ(h.Background.PointCount(), 3);
  EXPECT_FLOAT_EQ(h.Background.Points.GetY(2), 150.25f);
  ASSERT_EQ(h.Excluded.Count(), 1);
  EXPECT_FLOAT_EQ(h.Excluded.Regions.GetY(0), 10.0f);
  ASSERT_EQ(h.ScatterFactors.Count(), 1);
  EXPECT_EQ(h.ScatterFactors.Entry(1)->Symbol, "NI  ");
  EXPECT_FLOAT_EQ(h.ScatterFactors.Entry(1)->FPrime, 1.03f);
  EXPECT_FLOAT_EQ(h.Zero, 0.05f);
  EXPECT_EQ(Model.PlotFile, 1);  // 3 is stored as 1
  EXPECT_EQ(Model.ControlFlag5, 1);
  EXPECT_EQ(Model.Cycles, 25);

  const TPhase& p = *Model.Phase(1);
  EXPECT_EQ(p.Title, "Nickel oxide, free layout");
  EXPECT_EQ(p.SpaceGroup, "F M 3 M");
  EXPECT_EQ(p.Z, 1);
  ASSERT_EQ(p.AtomCount(), 2);
  EXPECT_EQ(p.Atom(1)->Label, "NI1 ");  // upper case, four characters
  EXPECT_EQ(p.Atom(1)->AtomType, "NI  ");
  EXPECT_FLOAT_EQ(p.Atom(2)->X, 0.5f);
  EXPECT_FLOAT_EQ(p.Atom(2)->B, 0.6f);
  EXPECT_FLOAT_EQ(p.Atom(2)->B11, 0.0f);
  EXPECT_FLOAT_EQ(p.Scale, 0.015f);
  EXPECT_FLOAT_EQ(p.A, 4.177f);
  const TSample& s = *Model.FindSample(1, 1);
  EXPECT_FLOAT_EQ(s.W, 0.15f);
  EXPECT_FLOAT_EQ(s.Asym1, 0.02f);
  EXPECT_FLOAT_EQ(s.Gam0, 0.0f);
  EXPECT_FLOAT_EQ(s.POL, 1.0f);

  // Zero (11), the first atom's B (21), the scale (31); the second atom's B
  // shares number 2 and is constrained.
  EXPECT_EQ(Model.RefinedCount(), 3);
  ASSERT_EQ(Model.ConstraintCount(), 1);
  EXPECT_TRUE(Model.Parameters.Constraints[0]->Second.HasAddress(0, 1, 2, 4));

  ExpectInputFileRoundTrip(Model, Dir);
}

TEST_F(FullprofImport, FixedLayoutFixture) {
  ASSERT_TRUE(ImportFullprof(Model, FixturePath("fixed.pcr")));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  ASSERT_EQ(Model.HistogramCount(), 1);
  ASSERT_EQ(Model.PhaseCount(), 1);
  const THistogram& h = *Model.Histogram(1);
  EXPECT_EQ(h.Profile, 2);  // peak shape 6
  EXPECT_EQ(h.AbsorptionModel, 1);
  EXPECT_FLOAT_EQ(h.BaseWidth, 12.5f);  // not limited in this layout
  EXPECT_FLOAT_EQ(h.Wavelength2, 1.54439f);
  EXPECT_FLOAT_EQ(h.Stop, 80.0f);
  EXPECT_FLOAT_EQ(h.Zero, -0.01f);
  EXPECT_EQ(h.Background.Kind, bkAmorphous);
  EXPECT_FLOAT_EQ(h.Background.Coefficients[1], -10.5f);
  // The control values ran on to the next line.
  EXPECT_EQ(Model.IPC, 1);
  EXPECT_EQ(Model.ControlFlag5, 0);
  EXPECT_EQ(Model.PlotFile, 1);
  EXPECT_EQ(Model.Cycles, 15);
  EXPECT_EQ(Model.MaxCode, 4);

  const TPhase& p = *Model.Phase(1);
  EXPECT_EQ(p.Title, "Corundum");
  EXPECT_EQ(p.Z, 1);
  ASSERT_EQ(p.AtomCount(), 2);
  EXPECT_EQ(p.Atom(1)->Label, "AL1 ");
  EXPECT_FLOAT_EQ(p.Atom(1)->Z, 0.3523f);
  EXPECT_FLOAT_EQ(p.IsoThermal, 0.2f);  // columns 17-24, not 9-16
  EXPECT_FLOAT_EQ(p.C, 12.992f);
  const TSample& s = *Model.FindSample(1, 1);
  EXPECT_FLOAT_EQ(s.POL, 1.0f);  // not read
  EXPECT_FLOAT_EQ(s.Asym1, 0.03f);
  EXPECT_FLOAT_EQ(s.Gam0, 0.0f);

  // Zero, two background terms and z of Al; the scale's 51 is beyond MaxCode
  // and the 99 in columns 9-16 is not a field of this layout.
  EXPECT_EQ(Model.RefinedCount(), 4);
  EXPECT_TRUE(Model.IsRefined(0, 1, 1, 3));
  EXPECT_FALSE(Model.IsRefined(0, 1, 0, 2));

  // The engine input file always reads this flag as 1.
  Model.ControlFlag5 = 1;
  ExpectInputFileRoundTrip(Model, Dir);
}

TEST_F(FullprofImport, LayoutIsChosenByTheFirstFourCharacters) {
  // COMMENT selects the free layout; the same word in lower case the fixed one,
  // which this text does not fit.
  ASSERT_TRUE(Import(Lines(std::vector<std::string>{"COMMENT"} + FreeBody())));
  EXPECT_EQ(Model.Title, "COMMENT");
  EXPECT_FALSE(Import(Lines(std::vector<std::string>{"comment"} + FreeBody())));
  ASSERT_EQ(Dialogs.Count(), 1u);
  EXPECT_NE(Dialogs.Last().Text.find("m.pcr fits neither the fixed nor the free layout of a Fullprof input file"),
            std::string::npos)
      << Dialogs.Last().Text;
}

TEST_F(FullprofImport, FreeLayoutLinesAndFields) {
  // Comment lines anywhere between data lines; fields separated by runs of
  // blanks and tabs; CR LF line ends.
  std::vector<std::string> lines = {"COMM x", "! one", "!two"};
  for (const std::string& l : FreeBody()) {
    lines.push_back("! before");
    lines.push_back(l);
  }
  lines[4] = "0\t6  0   0 0 0 0";
  ASSERT_TRUE(Import(Lines(lines, "\r\n")));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_FLOAT_EQ(Model.Histogram(1)->Zero, 0.01f);
  EXPECT_EQ(Model.Histogram(1)->Profile, 2);
  EXPECT_FLOAT_EQ(Model.Histogram(1)->Background.Coefficients[0], 10.0f);
  EXPECT_TRUE(Model.IsRefined(1, 0, 0, 2));
}

TEST_F(FullprofImport, FreeLayoutBackgroundsThatSkipLines) {
  // Kind -1 skips four data lines after the codes, kind -2 one.
  for (int kind : {-1, -2}) {
    SCOPED_TRACE(kind);
    std::vector<std::string> lines =
        std::vector<std::string>{"COMM"} + FreeBody("0 6 0 " + std::to_string(kind) + " 0 0 0");
    for (int k = 0; k < (kind == -1 ? 4 : 1); ++k) lines.push_back("skipped " + std::to_string(k));
    ASSERT_TRUE(Import(Lines(lines)));
    lines.pop_back();
    EXPECT_FALSE(Import(Lines(lines)));
  }
}

TEST_F(FullprofImport, FilesThatFitNeitherLayoutAreRefused) {
  const struct {
    std::string Text;
    std::string Expected;
  } cases[] = {
      {"", "the file is empty"},
      {"COMM\n0 6 0 0\n", "line 2 holds 4 values where 7 are needed"},
      {"COMM\n0 6 zero 0 0 0 0\n", "line 2, value 3: \"zero\" is not a whole number"},
      {Lines(std::vector<std::string>{"COMM"} + FreeBody("0 6 0 0 0 2000000000 0")), "2000000000 scattering entries"},
      {Lines(std::vector<std::string>{"COMM"} + FreeBody("8 6 0 0 0 0 0")), "the histogram kind 8 is unknown"},
      {"title\n   0   4   1   0   0   0\nnot numbers\n", "line 3: \"not\" is not a whole number"},
      {"COMM\n0 6 0 0 0 0 0\n1 1 1 -1 1 0 0 0 0 1 0\n", "the control flag -1 is not a digit"},
      {std::string("COMM\n\0\n", 7), "binary data"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Expected);
    FillSomething(Model);
    const std::string before = DumpModel(Model);
    Dialogs.Clear();
    EXPECT_FALSE(Import(c.Text));
    ASSERT_EQ(Dialogs.Count(), 1u);
    EXPECT_NE(Dialogs.Last().Text.find(c.Expected), std::string::npos) << Dialogs.Last().Text;
    EXPECT_NE(Dialogs.Last().Text.find("The model is unchanged."), std::string::npos);
    EXPECT_EQ(DumpModel(Model), before);
    EXPECT_FALSE(Model.Loaded);
  }
}

// A file that cannot be read whole leaves the model exactly as it was.
TEST_F(FullprofImport, FileEndingEarlyIsAReadErrorAndChangesNothing) {
  std::string cutFree = Fixture("free.pcr");
  cutFree.erase(cutFree.rfind("0.0\n"));  // without its last data line (the code of PO)
  std::string shortLine = Fixture("free.pcr");
  shortLine.replace(shortLine.find("0.2 -0.3 0.15"), 13, "0.2 -0.3");  // a data line that lacks a value
  std::string cutFixed = Fixture("fixed.pcr");
  cutFixed.erase(cutFixed.rfind("the last line"));
  std::string cutFullprof = Fixture("pbso4.pcr");
  cutFullprof.erase(cutFullprof.find("!  Propagation vectors:"));  // before its announced blocks
  const struct {
    const std::string* Text;
    const char* Message;
  } cases[] = {
      {&cutFree, "Error reading Inputfile at line 41. The model is unchanged."},
      {&shortLine, "Error reading Inputfile at line 34. The model is unchanged."},
      {&cutFixed, "Error reading Inputfile at line 35. The model is unchanged."},
      {&cutFullprof, "Error reading Inputfile at line 73. The model is unchanged."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    FillSomething(Model);
    const std::string before = DumpModel(Model);
    Dialogs.Clear();
    EXPECT_FALSE(Import(*c.Text));
    EXPECT_EQ(Dialogs.Texts(), Texts{c.Message});
    EXPECT_FALSE(Model.Loaded);
    EXPECT_EQ(DumpModel(Model), before);
  }
}

// A file as the program writes it: comment lines, the line the "More" flag
// adds, the distance and bond-valence block its Jdi announces (with cation
// and anion lines), an anisotropic atom's beta lines, "#" comments on atom
// lines, a propagation vector and a distance restraint, all stepped over. The
// preferred orientation is off (0 and no direction): the model gets the ratio
// 1, which the engine takes.
TEST_F(FullprofImport, FileWithTheOptionalBlocksOfThePhase) {
  ASSERT_TRUE(ImportFullprof(Model, FixturePath("pbso4.pcr")));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  const THistogram& h = *Model.Histogram(1);
  EXPECT_FLOAT_EQ(h.Wavelength2, 1.54439f);
  EXPECT_FLOAT_EQ(h.Ratio, 0.5f);
  EXPECT_FLOAT_EQ(h.Polarisation, 0.7998f);
  EXPECT_FLOAT_EQ(h.Zero, -0.012f);
  EXPECT_FLOAT_EQ(h.Background.Coefficients[1], -30.12f);
  ASSERT_EQ(h.Excluded.Count(), 2);
  ASSERT_EQ(Model.PhaseCount(), 1);
  const TPhase& p = *Model.Phase(1);
  EXPECT_EQ(p.Title, "PbSO4 anglesite");
  EXPECT_EQ(p.SpaceGroup, "P n m a             ");
  ASSERT_EQ(p.AtomCount(), 5);
  const char* labels[5] = {"PB  ", "S   ", "O1  ", "O2  ", "O3  "};
  for (int a = 1; a <= 5; ++a) EXPECT_EQ(p.Atom(a)->Label, labels[a - 1]);
  EXPECT_FLOAT_EQ(p.Atom(1)->Z, 0.167f);
  EXPECT_FLOAT_EQ(p.Atom(1)->N, 0.5f);  // the file's own convention: a full 4c site of P n m a
  EXPECT_FLOAT_EQ(p.Atom(3)->X, 0.908f);
  EXPECT_FLOAT_EQ(p.Atom(5)->N, 1.0f);
  EXPECT_FLOAT_EQ(p.Scale, 0.0014001f);
  EXPECT_FLOAT_EQ(p.A, 8.48f);
  EXPECT_FLOAT_EQ(p.Gamma, 90.0f);
  const TSample& s = *Model.FindSample(1, 1);
  EXPECT_FLOAT_EQ(s.U, 0.01661f);
  EXPECT_FLOAT_EQ(s.W, 0.00842f);
  EXPECT_FLOAT_EQ(s.Asym1, 0.02f);
  EXPECT_FLOAT_EQ(s.PO, 1.0f);
  EXPECT_FLOAT_EQ(s.POL, 1.0f);
  EXPECT_TRUE(Model.IsRefined(0, 1, 1, 1));   // Pb x
  EXPECT_TRUE(Model.IsRefined(0, 1, 0, 1));   // scale
  EXPECT_TRUE(Model.IsRefined(1, 1, 0, 3));   // U
  EXPECT_TRUE(Model.IsRefined(0, 1, 0, 8));   // c
  EXPECT_EQ(Model.RefinedCount(), 11);
  ExpectInputFileRoundTrip(Model, Dir);
}

// Fullprof writes comment lines that hold NUL bytes: they are skipped like any
// comment, and the file reads as without them; a NUL on a line that is read
// still refuses the file.
TEST_F(FullprofImport, NulBytesInCommentLinesAreSkipped) {
  const std::string plain = Fixture("pbso4.pcr");
  TRietveld expected;
  ASSERT_TRUE(ImportFullprof(expected, Dir.Write("plain.pcr", plain)));
  std::string nulComment = plain;
  nulComment.insert(nulComment.find("Chi2"), std::string("\0\0\x01", 3));
  ASSERT_TRUE(Import(nulComment));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_EQ(DumpModel(Model), DumpModel(expected));

  std::string nulData = plain;
  nulData.insert(nulData.find("\n", nulData.find("!Job")) + 2, std::string("\0", 1));
  FillSomething(Model);
  const std::string before = DumpModel(Model);
  EXPECT_FALSE(Import(nulData));
  ASSERT_EQ(Dialogs.Count(), 1u);
  EXPECT_NE(Dialogs.Last().Text.find("binary data"), std::string::npos) << Dialogs.Last().Text;
  EXPECT_EQ(DumpModel(Model), before);
}

TEST_F(FullprofImport, MissingFileChangesNothing) {
  FillSomething(Model);
  const std::string before = DumpModel(Model);
  EXPECT_FALSE(ImportFullprof(Model, Dir.File("none.pcr")));
  EXPECT_EQ(Dialogs.Texts(), Texts{"Input file File does not exist"});
  EXPECT_EQ(DumpModel(Model), before);
}

}  // namespace
