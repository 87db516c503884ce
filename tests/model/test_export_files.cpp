#include <gtest/gtest.h>

#include <functional>

#include "model/directmethods.h"
#include "model/shelx.h"
#include "test_import_support.h"

using namespace importtest;

namespace {

class ExportFiles : public ::testing::Test {
protected:
  void SetUp() override {
    Model.Title = "Calcium oxide";
    Model.NewHistogram();
    Model.Histogram(1)->Wavelength1 = 1.5406f;
    TPhase& p = *Model.NewPhase();
    p.A = p.B = p.C = 5.431f;
    p.SpaceGroup = "F M 3 M";
    AddAtom("O1  ", "O   ", 0.1f, 0.2f, 0.3f, 0.6f);
    AddAtom("O2  ", "O   ", 0.5f, 0.5f, 0.5f, 1.5f);
    AddAtom("CA1 ", "CA  ", 0, 0, 0, 0.0f);
  }
  void AddAtom(const char* label, const char* type, float x, float y, float z, float b) {
    TAtom a;
    a.Label = label;
    a.AtomType = type;
    a.X = x;
    a.Y = y;
    a.Z = z;
    a.B = b;
    Model.Phase(1)->AddAtom(a);
  }

  TRietveld Model;
  TDialogResponder Dialogs;
  TTempDir Dir;
};

TEST_F(ExportFiles, ShelxGoldenText) {
  // Codes are renumbered on the way, as the input file would number them.
  Model.Parameters.AddParameter(0, 1, 0, 6, 51);
  ASSERT_TRUE(ExportShelx(Model, Dir.File("out.ins")));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_EQ(TTempDir::Read(Dir.File("out.ins")),
            "TITL Calcium oxide\n"
            "CELL  1.54060   5.4310   5.4310   5.4310  90.0000  90.0000  90.0000\n"
            "LATT 4\n"
            "SFAC CA O\n"
            "UNIT 1 2\n"
            // U = B / (8 pi^2): 0.6 gives 0.0076, 1.5 gives 0.0190.
            "O1     2 0.1000 0.2000 0.3000 1.0000 0.0076\n"
            "O2     2 0.5000 0.5000 0.5000 1.0000 0.0190\n"
            "CA1    1 0.0000 0.0000 0.0000 1.0000 0.0000\n");
  EXPECT_EQ(Model.Parameters.Refined[0]->Number, 1);
}

TEST_F(ExportFiles, ShelxLinesOfTheirOwn) {
  // Lattice numbers from the first character of the space group.
  const struct {
    const char* SpaceGroup;
    const char* Line;
  } lattices[] = {{"P 1", "LATT 1"}, {"I 4/M", "LATT 2"}, {"R -3 C", "LATT 3"}, {"F D 3 M", "LATT 4"},
                  {"A M M 2", "LATT 5"}, {"B 2", "LATT 6"}, {"C 2/C", "LATT 7"}, {"", "LATT 1"}, {"p 1", "LATT 1"}};
  for (const auto& c : lattices) {
    SCOPED_TRACE(c.SpaceGroup);
    Model.Phase(1)->SpaceGroup = c.SpaceGroup;
    EXPECT_NE(ShelxText(Model).find(std::string("\n") + c.Line + "\n"), std::string::npos);
  }

  // Types compared without regard to case, counted together; a phase without
  // atoms has bare SFAC and UNIT lines; a long title is cut at 76 characters.
  AddAtom("ca2", "Ca  ", 0.25f, 0.25f, 0.25f, 0.6f);
  std::string text = ShelxText(Model);
  EXPECT_NE(text.find("\nSFAC CA O\nUNIT 2 2\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nca2    1 0.2500"), std::string::npos) << text;

  Model.Phase(1)->ClearAtoms();
  Model.Title = std::string(80, 'T');
  text = ShelxText(Model);
  EXPECT_NE(text.find("\nSFAC\nUNIT\n"), std::string::npos) << text;
  EXPECT_EQ(text.substr(0, text.find('\n')), "TITL " + std::string(76, 'T'));
}

TEST_F(ExportFiles, SirGoldenText) {
  Model.Title = std::string(70, 'J') + "-------cut";
  ASSERT_TRUE(ExportSir(Model, Dir.File("job.sir")));
  EXPECT_EQ(Dialogs.Texts(), Texts{});
  EXPECT_EQ(TTempDir::Read(Dir.File("job.sir")),
            "%window\n"
            "%struct zelvora\n"
            "%init\n"
            "%job " + std::string(70, 'J') + "------\n"
            "%data\n"
            "wavelength  1.54060\n"
            "cell    5.4310    5.4310    5.4310   90.0000   90.0000   90.0000\n"
            "space F M 3 M\n"
            "ref2 xxxxxxx.fou - enter LeBail filename here\n"
            "content  XX XX XX XX - enter expected cell contents here.\n"
            "%normal\n"
            "%continue\n");
}

TEST_F(ExportFiles, ExportsNeedHistogramAndPhaseAndAWritableFile) {
  const std::function<bool(TRietveld&, const std::string&)> exports[] = {ExportShelx, ExportSir};
  for (const auto& exportFile : exports) {
    TRietveld noPhase;
    noPhase.NewHistogram();
    TRietveld noHistogram;
    noHistogram.NewPhase();
    Dialogs.Clear();
    EXPECT_FALSE(exportFile(noPhase, Dir.File("a.out")));
    EXPECT_FALSE(exportFile(noHistogram, Dir.File("a.out")));
    EXPECT_FALSE(exportFile(Model, Dir.File("no such folder/a.out")));
    const Texts texts = Dialogs.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_NE(texts[0].find("the model has no phase. Nothing was written."), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find("the model has no histogram. Nothing was written."), std::string::npos) << texts[1];
    EXPECT_NE(texts[2].find("The file " + Dir.File("no such folder/a.out") + " could not be written"),
              std::string::npos)
        << texts[2];
    EXPECT_TRUE(TTempDir::Read(Dir.File("a.out")).empty());
  }
}

}  // namespace
