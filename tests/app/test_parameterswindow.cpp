// The parameters window: the filters list exactly the parameters of the
// chosen phase, histogram and group, with value, refinement tick and the
// histogram's colour, and the window writes nothing into the model.
#include "app/parameterswindow.h"

#include <memory>
#include <set>

#include "modeleditortest.h"

using namespace modeleditortest;
using namespace guitest;

namespace {

class ParametersWindowTest : public ModelEditorTest {
protected:
  // Two histograms (the second time of flight) and two phases.
  void Build(int backTerms) {
    Model = new TRietveld();
    Model->NewHistogram();
    Model->NewHistogram();
    Model->NewPhase();
    Model->NewPhase();
    Model->Histogram(2)->Profile = profJorgensenTOF;
    Model->BackTerms = backTerms;
    Model->Loaded = true;
    Model->Phase(1)->A = 8.48f;
    Model->Parameters.SetRefined(0, 1, 0, 6, true);  // a of phase 1
    Model->Parameters.SetRefined(2, 2, 0, 21, true);  // TOF alpha-1 of histogram 2, phase 2
    Model->Parameters.SetRefined(2, 0, 0, 26, true);  // scale of histogram 2
  }
  void Open() {
    Form = std::make_unique<TFormParameters>(nullptr);
    Form->Show();
  }
  // The listed (H, P, name) rows.
  std::set<std::string> Listed() {
    std::set<std::string> r;
    for (int row = 1; row < Form->RowCount(); ++row)
      if (!Form->CellText(2, row).empty())
        r.insert(Form->CellText(0, row) + " " + Form->CellText(1, row) + " " + Form->CellText(2, row));
    return r;
  }
  std::unique_ptr<TFormParameters> Form;
};

TEST_F(ParametersWindowTest, FiltersListExactlyTheChosenParameters) {
  Build(0);
  Open();
  ASSERT_EQ(Form->cbPhases->Items()->Text(), "All Phases\nPhase 1\nPhase 2\n");
  ASSERT_EQ(Form->cbHistograms->Items()->Text(), "All Histograms\nHistogram 1\nHistogram 2\n");
  struct TCase {
    int Phase, Histogram, Group;
    int Rows;
    std::vector<std::string> Present, Absent;
  };
  // A block of one phase and histogram: 8 phase rows (histogram 1 only), 15
  // peak-shape rows, 4 time-of-flight rows (histogram 2); histogram rows: 9,
  // and the histogram scale for histogram 2.
  const TCase cases[] = {
      {0, 0, 0, 16 + 2 * (15 + 19) + 9 + 10, {"1 1 Phase Scale", "2 2 TOF beta-2", "2 0 Histogram Scale", "1 0 Zero"},
       {"1 0 Histogram Scale", "1 1 TOF alpha-1", "1 0 Background 6", "1 1 Extinction"}},
      {0, 0, 1, 2 * (15 + 19), {"1 2 Lor Dis 3", "2 1 TOF alpha-1"}, {"1 1 a", "1 0 Zero"}},
      {0, 2, 0, 2 * 19 + 10, {"2 1 U", "2 0 Wavelength 2 or DIFA"}, {"1 1 a", "1 1 U", "1 0 Zero"}},
      {2, 1, 0, 8 + 15 + 9, {"1 2 gamma", "1 2 Asymetry 1", "1 0 Background 5"}, {"1 1 a", "1 2 TOF alpha-1"}},
      {1, 2, 1, 19, {"2 1 Gam-2"}, {"2 1 a", "2 0 Zero"}},
  };
  for (const TCase& c : cases) {
    Form->cbPhases->UserSelected(c.Phase);
    Form->cbHistograms->UserSelected(c.Histogram);
    Form->cbSample->UserSelected(c.Group);
    const std::set<std::string> listed = Listed();
    const std::string which = std::to_string(c.Phase) + "/" + std::to_string(c.Histogram) + "/" +
                              std::to_string(c.Group);
    EXPECT_EQ(static_cast<int>(listed.size()), c.Rows) << which;
    EXPECT_EQ(Form->RowCount(), c.Rows + 1) << which << ": the last row is in the table";
    for (const std::string& p : c.Present) EXPECT_TRUE(listed.count(p)) << which << " lists " << p;
    for (const std::string& p : c.Absent) EXPECT_FALSE(listed.count(p)) << which << " does not list " << p;
  }
}

TEST_F(ParametersWindowTest, RowsShowValueTickAndHistogramColour) {
  Build(1);
  const std::string before = Written();
  Open();
  // Types in ascending order: the sample's U, V, W come before a.
  ASSERT_EQ(Form->CellText(2, 3), "U");
  ASSERT_EQ(Form->CellText(2, 6), "a");
  EXPECT_EQ(Form->CellText(0, 6), "1");
  EXPECT_EQ(Form->CellText(4, 6), "8.48");
  EXPECT_TRUE(Form->RowChecked(6));
  EXPECT_FALSE(Form->RowChecked(1));
  EXPECT_EQ(Form->HistogramColour(6), clRed);
  const std::set<std::string> listed = Listed();
  EXPECT_TRUE(listed.count("1 0 Background 11")) << "12 background terms";
  for (int row = 1; row < Form->RowCount(); ++row) {
    const std::string name = Form->CellText(2, row);
    if (Form->CellText(0, row) == "2" && (name == "TOF alpha-1" ? Form->CellText(1, row) == "2" : name == "Histogram Scale")) {
      EXPECT_TRUE(Form->RowChecked(row)) << name;
      EXPECT_EQ(Form->HistogramColour(row), clGreen);
    }
  }
  Click(Form->Button2, 5, 5);
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Written(), before);
  EXPECT_FALSE(ModelChanged);
}

}  // namespace
