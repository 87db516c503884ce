#include <gtest/gtest.h>

#include "model/shelx.h"
#include "test_import_support.h"

using namespace importtest;

namespace {

class ShelxImport : public ::testing::Test {
protected:
  bool Import(const std::string& text) { return ImportShelx(Model, Dir.Write("m.ins", text)); }

  TRietveld Model;
  TDialogResponder Dialogs;
  TTempDir Dir;
};

TEST_F(ShelxImport, FixtureGivesTitleAndCellOnly) {
  FillSomething(Model);
  ASSERT_TRUE(ImportShelx(Model, FixturePath("cell.ins")));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_TRUE(Model.Loaded);

  // A new model with defaults everywhere but the title and the cell (the
  // columns of the CELL line are aligned with several blanks).
  TRietveld expected;
  expected.Title = "Sodium chloride, written by hand";
  expected.PrintU = 1;
  expected.AddHistogram(std::make_unique<THistogram>());
  expected.NewSample(1, 1);
  TPhase& p = *expected.AddPhase(std::make_unique<TPhase>());
  p.A = p.B = p.C = 5.6402f;
  EXPECT_EQ(DumpModel(Model), DumpModel(expected));

  // A phase without atoms is a Le Bail phase in the input file.
  Model.Phase(1)->CalcMethod = 1;
  ExpectInputFileRoundTrip(Model, Dir);
}

TEST_F(ShelxImport, CellLines) {
  const struct {
    std::string Cell;
    float Values[6];
  } cases[] = {
      {"CELL 1.5406 1 2 3 80 85 95", {1, 2, 3, 80, 85, 95}},
      {"CELL\t1.5406\t1\t2  3   80 85\t 95  ", {1, 2, 3, 80, 85, 95}},
      {"CELL 1.5406 1 2 3 80 85 95 7 8", {1, 2, 3, 80, 85, 95}},  // more than six: six kept
      {"CELL 1,5406 1,5 2 3 90 90 90", {1.5f, 2, 3, 90, 90, 90}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Cell);
    ASSERT_TRUE(Import(Lines({"TITL t", c.Cell}, "\r\n")));
    const TPhase& p = *Model.Phase(1);
    const float got[6] = {p.A, p.B, p.C, p.Alpha, p.Beta, p.Gamma};
    for (int k = 0; k < 6; ++k) EXPECT_FLOAT_EQ(got[k], c.Values[k]) << k;
    EXPECT_EQ(Model.Title, "t");
  }
  EXPECT_EQ(Dialogs.Texts(), Texts{});
}

TEST_F(ShelxImport, TitleIsCharactersSixToFiftyOne) {
  ASSERT_TRUE(Import(Lines({"TITL " + std::string(46, 'a') + "bcd", "CELL 1 2 2 2 90 90 90"})));
  EXPECT_EQ(Model.Title, std::string(46, 'a'));
  // Characters, not bytes: a two-byte character at the end is kept whole.
  ASSERT_TRUE(Import(Lines({"TITL " + std::string(45, 'a') + "\xC3\xA9" + "bcd", "CELL 1 2 2 2 90 90 90"})));
  EXPECT_EQ(Model.Title, std::string(45, 'a') + "\xC3\xA9");
  ASSERT_TRUE(Import(Lines({"CELL 1 2 2 2 90 90 90"})));
  EXPECT_EQ(Model.Title, "A New refinement");
}

TEST_F(ShelxImport, FilesWithoutAUsableCellAreRefused) {
  const struct {
    std::string Text;
    std::string Message;
  } cases[] = {
      {"", "m.ins holds no CELL line, so it is not an instruction file that can be imported. The model is unchanged."},
      {"TITL another program's file\nSPGR P1\n",
       "m.ins holds no CELL line, so it is not an instruction file that can be imported. The model is unchanged."},
      {"cell 1 2 2 2 90 90 90\n",
       "m.ins holds no CELL line, so it is not an instruction file that can be imported. The model is unchanged."},
      {"TITL t\nCELL 1.54 5.1 5.2 5.3 90 90\n",
       "The CELL line of m.ins does not hold a cell (line 2 holds 7 values where 8 are needed). The model is "
       "unchanged."},
      {"TITL t\nCELL 1.54 5.1 5.2 five 90 90 90\n",
       "The CELL line of m.ins does not hold a cell (line 2, value 5: \"five\" is not a number). The model is "
       "unchanged."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    FillSomething(Model);
    const std::string before = DumpModel(Model);
    Dialogs.Clear();
    EXPECT_FALSE(Import(c.Text));
    EXPECT_EQ(Dialogs.Texts(), Texts{c.Message});
    EXPECT_EQ(DumpModel(Model), before);
    EXPECT_FALSE(Model.Loaded);
  }

  FillSomething(Model);
  Dialogs.Clear();
  EXPECT_FALSE(ImportShelx(Model, Dir.File("none.ins")));
  EXPECT_EQ(Dialogs.Texts(), Texts{"File does not exist"});
  EXPECT_EQ(Model.Title, "Kept");
}

}  // namespace
