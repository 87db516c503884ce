// The main road of a new user through the model windows, in one piece: the
// new-input wizard, the phases window (space group, cell and five atoms
// typed, their refinement boxes ticked), the general window's cycles, Save,
// and a refinement through the refinement window with the engine, run to
// its end. The saved input file is compared with a reviewed golden text.
//
// The data file tests/app/data/pbso4.dat was written by the engine's pattern
// tool from tests/app/data/pbso4-true.inp, the saved model with the
// coordinates of the structure to more places than a user types them and
// another scale:
//   zv_makepattern tests/app/data/pbso4-true.inp tests/app/data/pbso4.dat 31
#include <gtest/gtest.h>

#include "app/constraintswindow.h"
#include "app/generalwindow.h"
#include "app/histogramwindow.h"
#include "app/newinputwizard.h"
#include "app/phaseswindow.h"
#include "app/parameterswindow.h"
#include "app/refinewindow.h"
#include "app/samplewindow.h"
#include "atomgridinput.h"
#include "model/brkapart.h"
#include "mainwindowtest.h"
#include "modeleditortest.h"
#include "platform/rtl/fileutils.h"
#include "platform/ui/spinedit.h"
#include "support/dialogresponder.h"
#include "support/tempdir.h"

using namespace guitest;

namespace {

class NewModelRoad : public mainwindowtest::MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Create();
    FormNewInput = new TFormNewInput(nullptr);
    PhaseForm = new TPhaseForm(nullptr);
    GeneralForm = new TGeneralForm(nullptr);
    RefineForm = new TRefineForm(nullptr);
    TempRefine = true;
    StepOnStart = false;
    ASSERT_TRUE(CopyFile(modeleditortest::SourceDir() + "tests/app/data/pbso4.dat", Dir.File("pbso4.dat"), false));
  }
  void TearDown() override {
    delete RefineForm;
    RefineForm = nullptr;
    delete GeneralForm;
    GeneralForm = nullptr;
    delete PhaseForm;
    PhaseForm = nullptr;
    delete FormNewInput;
    FormNewInput = nullptr;
    MainWindowTest::TearDown();
  }
  // What a user does in an edit: select what is there and type over it.
  static void TypeOver(TWinControl* edit, const std::string& text) {
    edit->SetFocus();
    if (auto* e = dynamic_cast<TEdit*>(edit)) e->SelectAll();
    if (auto* c = dynamic_cast<TComboBox*>(edit)) c->SelectAll();
    TypeText(edit, text);
  }
  TTempDir Dir;
};

struct TTypedAtom {
  const char* Label;
  const char* Type;
  const char* X;
  const char* Y;
  const char* Z;
  const char* B;
  bool VaryY;  // on the mirror plane y is fixed at 1/4
};

TEST_F(NewModelRoad, WizardPhasesGeneralSaveAndARefinementToItsEnd) {
  TDialogResponder dialogs;

  // File > New: the wizard's defaults (one X-ray histogram from preset 1
  // with a data file, one phase), then Save As names the new input file.
  {
    TModalResponder modal;
    modal.Do([](TCustomForm* f) {
      auto* wizard = static_cast<TFormNewInput*>(f);
      EXPECT_EQ(wizard->cbHistogramtype->Text(), "data file");
      EXPECT_EQ(wizard->cbInstruments->Text(), "Cu Ka X-ray machine");
      Click(wizard->ButtonOK, 5, 5);
      return f->ModalResult();
    });
    TCommonDialogResponder files;
    files.Do([&](TCommonDialog* d) {
      dynamic_cast<TSaveDialog*>(d)->FileName = Dir.File("pbso4.inp");
      return true;
    });
    Form->actNew->Execute();
    EXPECT_EQ(modal.Count(), 1);
    EXPECT_EQ(files.Count(), 1);
  }
  ASSERT_EQ(InputFileName, Dir.File("pbso4.inp"));
  ASSERT_TRUE(Model && Model->Loaded);

  // The phases window: title, space group, cell and the five atoms.
  Form->actPhases->Execute();
  ASSERT_TRUE(PhaseForm->Visible());
  TypeOver(PhaseForm->PhaseTitleEdit, "Lead sulfate");
  TypeOver(PhaseForm->SpaceGroupEdit, "P n m a");
  EXPECT_EQ(PhaseForm->SGLabel->Caption(), "Orthorhombic");
  EXPECT_EQ(PhaseForm->lbMult->Caption(), "8");
  TypeOver(PhaseForm->aEdit, "8.48");
  TypeOver(PhaseForm->bEdit, "5.40");
  TypeOver(PhaseForm->cEdit, "6.96");
  // The phase's scale is refined with the atoms: the pattern was made at another.
  Click(PhaseForm->PhaseScaleCheckBox, 5, 5);
  EXPECT_TRUE(PhaseForm->PhaseScaleCheckBox->Checked());
  for (TEdit* angle : {PhaseForm->alphaEdit, PhaseForm->betaEdit, PhaseForm->gammaEdit})
    EXPECT_FALSE(angle->Enabled());
  const TTypedAtom atoms[] = {
      {"Pb", "PB", "0.188", "0.25", "0.167", "1.5", false}, {"S", "S", "0.065", "0.25", "0.684", "0.8", false},
      {"O1", "O", "0.908", "0.25", "0.596", "1.5", false},  {"O2", "O", "0.194", "0.25", "0.543", "1.5", false},
      {"O3", "O", "0.081", "0.027", "0.809", "1.5", true},
  };
  for (int i = 0; i < 5; ++i) {
    const int row = i + 1;
    if (row >= PhaseForm->GridRowCount()) PhaseForm->AddAtom1Click(nullptr);
    ASSERT_EQ(PhaseForm->GridRowCount(), row + 1);
    const TTypedAtom& a = atoms[i];
    atomgridinput::TypeIntoCell(PhaseForm, 2, row, a.Label);
    atomgridinput::TypeIntoCell(PhaseForm, 3, row, a.Type);
    atomgridinput::TypeIntoCell(PhaseForm, 4, row, a.X);
    atomgridinput::TypeIntoCell(PhaseForm, 6, row, a.Y);
    atomgridinput::TypeIntoCell(PhaseForm, 8, row, a.Z);
    atomgridinput::TypeIntoCell(PhaseForm, 10, row, a.B);
    atomgridinput::ClickBox(PhaseForm, 5, row);
    if (a.VaryY) atomgridinput::ClickBox(PhaseForm, 7, row);
    atomgridinput::ClickBox(PhaseForm, 9, row);
    EXPECT_TRUE(PhaseForm->CellChecked(5, row)) << a.Label;
    EXPECT_EQ(PhaseForm->CellChecked(7, row), a.VaryY) << a.Label;
    EXPECT_TRUE(PhaseForm->CellChecked(9, row)) << a.Label;
  }
  // The occupancies from the sites: 1/2 on the mirror, 1 in the general position.
  PhaseForm->SetAllOccupanciesClick(nullptr);
  EXPECT_EQ(PhaseForm->GridCell(1, 1), "4");
  EXPECT_EQ(PhaseForm->GridCell(12, 1), "0.50000");
  EXPECT_EQ(PhaseForm->GridCell(1, 5), "8");
  EXPECT_EQ(PhaseForm->GridCell(12, 5), "1.00000");
  Click(PhaseForm->ButtonOK, 5, 5);
  EXPECT_FALSE(PhaseForm->Visible()) << (dialogs.Count() ? dialogs.Last().Text : "");
  ASSERT_EQ(Model->Phase(1)->AtomCount(), 5);

  // The general window: 10 cycles.
  Form->actGeneral->Execute();
  ASSERT_TRUE(GeneralForm->Visible());
  TypeOver(GeneralForm->NCyclesSpinEdit, "10");
  Click(GeneralForm->Button1, 5, 5);
  EXPECT_FALSE(GeneralForm->Visible());
  EXPECT_EQ(Model->Cycles, 10);
  EXPECT_TRUE(ModelChanged);

  // Save writes the file the wizard's Save As named.
  Form->actSave->Execute();
  EXPECT_FALSE(ModelChanged);
  EXPECT_EQ(dialogs.Count(), 0u) << dialogs.Last().Text;
  modeleditortest::ExpectMatchesInputGolden(TTempDir::Read(Dir.File("pbso4.inp")), "new_model_road.inp");

  // Refine: the data file picked with the "..." button, Start, ten cycles, Finish.
  Form->actRefine->Execute();
  ASSERT_TRUE(RefineForm->Visible());
  EXPECT_EQ(RefineForm->EditInput->Text(), Dir.File("pbso4.inp"));
  {
    TCommonDialogResponder files;
    files.Do([&](TCommonDialog* d) {
      dynamic_cast<TOpenDialog*>(d)->FileName = Dir.File("pbso4.dat");
      return true;
    });
    Click(RefineForm->ButtonData, 5, 5);
  }
  EXPECT_EQ(RefineForm->EditData->Text(), Dir.File("pbso4.dat"));
  Click(RefineForm->ButtonStart, 5, 5);
  ASSERT_NE(Refinement, nullptr);
  ASSERT_EQ(Refinement->State(), 2) << (dialogs.Count() ? dialogs.Last().Text : "");
  // The step count takes no typing: Up nine times makes ten cycles.
  RefineForm->SpinEditStep->SetFocus();
  for (int i = 0; i < 9; ++i) Key(RefineForm->SpinEditStep, VK_UP);
  ASSERT_EQ(RefineForm->SpinEditStep->Value(), 10);
  Click(RefineForm->ButtonStep, 5, 5);
  EXPECT_EQ(dialogs.Count(), 0u) << dialogs.Last().Text;
  EXPECT_EQ(Refinement->LastError, 0);
  // Ten cycles done, or fewer when the engine found the run converged.
  EXPECT_TRUE(RefineForm->Status() == 3 || RefineForm->Status() == 6) << RefineForm->Status();
  if (RefineForm->Status() == 3) EXPECT_EQ(RefineForm->LabelCycle->Caption(), "10");
  EXPECT_GE(Refinement->CycleCount(), 2);
  const double rwp = TextToReal(RefineForm->FactorCell(2, 0));
  EXPECT_GT(rwp, 0);
  EXPECT_LT(rwp, 20) << "the typed structure refines against its pattern";
  Click(RefineForm->ButtonFinish, 5, 5);
  EXPECT_EQ(Refinement->State(), 1);
  EXPECT_EQ(Refinement->LastError, 0);
  EXPECT_EQ(dialogs.Count(), 0u) << dialogs.Last().Text;
  // The refined model was written back over the input file: the typed
  // positions moved to those the pattern was made from.
  TRietveld refined;
  ASSERT_TRUE(refined.ReadInputFile(Dir.File("pbso4.inp")));
  const float truth[5][3] = {{0.1879f, 0.25f, 0.1671f},
                             {0.0654f, 0.25f, 0.6841f},
                             {0.9082f, 0.25f, 0.5956f},
                             {0.1935f, 0.25f, 0.5434f},
                             {0.0811f, 0.0272f, 0.8089f}};
  for (int a = 1; a <= 5; ++a) {
    const TAtom* atom = refined.Phase(1)->Atom(a);
    EXPECT_NEAR(atom->X, truth[a - 1][0], 0.003f) << atom->Label;
    EXPECT_NEAR(atom->Y, truth[a - 1][1], 0.003f) << atom->Label;
    EXPECT_NEAR(atom->Z, truth[a - 1][2], 0.003f) << atom->Label;
  }
}

// The model windows keep no place of their own: the first time each shows,
// it is beside the main window that opened it and inside the screen, not at
// the screen's corner over the main window's menus.
TEST_F(NewModelRoad, ModelWindowsFirstShowBesideTheMainWindow) {
  TDialogResponder dialogs;
  ASSERT_TRUE(CopyFile(modeleditortest::SourceDir() + "examples/xray-cw.inp", Dir.File("xray-cw.inp"), false));
  Form->ProcessFile(Dir.File("xray-cw.inp"));
  ASSERT_TRUE(Model && Model->Loaded);
  const TRect area = Screen->WorkAreaRect();
  Form->SetBounds(area.Left + 40, area.Top + 30, 420, 160);
  Form->Show();
  ProcessEvents();
  auto histograms = std::make_unique<THistogramForm>(nullptr);
  auto sample = std::make_unique<TFormSample>(nullptr);
  auto constraints = std::make_unique<TConstraintForm>(nullptr);
  auto parameters = std::make_unique<TFormParameters>(nullptr);
  TCustomForm* windows[] = {FormNewInput,      PhaseForm,          GeneralForm,     histograms.get(),
                            sample.get(),      constraints.get(), parameters.get()};
  for (TCustomForm* w : windows) {
    SCOPED_TRACE(w->ClassName());
    Form->SetFocus();
    ProcessEvents();
    w->Show();
    ProcessEvents();
    const TRect r = w->BoundsRect(), main = Form->BoundsRect();
    EXPECT_FALSE(r.Left < main.Right && main.Left < r.Right && r.Top < main.Bottom && main.Top < r.Bottom)
        << "over the main window";
    EXPECT_GE(r.Left, area.Left);
    EXPECT_GE(r.Top, area.Top);
    EXPECT_LE(r.Right, area.Right);
    EXPECT_LE(r.Bottom, area.Bottom);
    // Moved by the user, hidden and shown again: where it was left.
    w->SetBounds(area.Left + 5, area.Top + 7, w->Width(), w->Height());
    w->Hide();
    w->Show();
    ProcessEvents();
    EXPECT_EQ(w->Left(), area.Left + 5);
    w->Hide();
  }
}

}  // namespace
