// The new-input wizard: the model built from the defaults and written as the
// golden input file, "Set" copying to the histograms from the shown one on,
// extractions and atom counts per phase, the kinds by preset radiation, and
// New asking to save a changed model and never saving the new model over
// the old file.
#include "app/newinputwizard.h"

#include <memory>

#include "app/mainwindow.h"
#include "mainwindowtest.h"
#include "modeleditortest.h"

using namespace modeleditortest;
using namespace guitest;

namespace {

class NewInputTest : public ModelEditorTest {
protected:
  void SetUp() override {
    ModelEditorTest::SetUp();
    for (int i = 1; i <= InstrumentCount; ++i) {
      Instruments[i] = TInstrument{};
      Instruments[i].Title = "Instrument " + std::to_string(i) + " not set";
    }
    Instruments[1] = BuiltInInstrument();
    Instruments[2].Title = "Time of flight";
    Instruments[2].Radiation = 2;
    Instruments[2].Profile = 6;
    Instruments[3].Title = "Neutrons";
    Instruments[3].Radiation = 1;
    Instruments[4].Title = "Unknown radiation";
    Instruments[4].Radiation = 7;
    Form = std::make_unique<TFormNewInput>(nullptr);
  }
  void TearDown() override {
    Form.reset();
    ModelEditorTest::TearDown();
  }
  // Runs the wizard with the steps and OK; its modal result.
  int Run(const std::function<void()>& steps) {
    TModalResponder modal;
    modal.Do([&](TCustomForm* f) {
      steps();
      Click(Form->ButtonOK, 5, 5);
      return f->ModalResult();
    });
    return Form->ShowModal();
  }
  std::unique_ptr<TFormNewInput> Form;
};

TEST_F(NewInputTest, DefaultsGiveOneDataHistogramFromPresetOneAndOnePhaseWithOneAtom) {
  InputFileName = "/somewhere/old.inp";
  EXPECT_EQ(Run([] {}), mrOk);
  ASSERT_NE(Model, nullptr);
  EXPECT_TRUE(Model->Loaded);
  EXPECT_TRUE(InputFileName.empty()) << "the new model has no file yet";
  EXPECT_TRUE(ModelChanged);
  ASSERT_EQ(Model->HistogramCount(), 1);
  ASSERT_EQ(Model->PhaseCount(), 1);
  EXPECT_EQ(Model->Histogram(1)->Job, jobXrayData);
  EXPECT_EQ(Model->Histogram(1)->Profile, 4);
  EXPECT_EQ(Model->Phase(1)->AtomCount(), 1);
  EXPECT_EQ(Model->Phase(1)->CalcMethod, 0);
  EXPECT_FLOAT_EQ(Model->FindSample(1, 1)->Gam0, 0.2f);
  ExpectMatchesInputGolden(Written(), "new_input.inp");

  // A second run starts from the defaults again and replaces the model.
  EXPECT_EQ(Run([&] {
              EXPECT_EQ(Form->seNumberHistograms->Value(), 1);
              EXPECT_EQ(Form->cbHistogramtype->Text(), "data file");
              EXPECT_EQ(Form->cbInstruments->Text(), "Cu Ka X-ray machine");
              EXPECT_EQ(Form->cbInstruments->Items()->Count(), 20);
            }),
            mrOk);
  EXPECT_EQ(Model->HistogramCount(), 1);
}

TEST_F(NewInputTest, SetCopiesTheShownChoicesFromTheShownHistogramOn) {
  Run([&] {
    Form->seNumberHistograms->SetValue(5);
    Form->seHistogramNumber->SetValue(2);
    Form->cbInstruments->UserSelected(2);  // neutrons, kept for histogram 2 only
    Form->seHistogramNumber->SetValue(3);
    Form->cbHistogramtype->UserSelected(0);
    Form->cbInstruments->UserSelected(1);  // time of flight
    Click(Form->Button1, 5, 5);
    Form->seHistogramNumber->SetValue(5);
    EXPECT_EQ(Form->cbHistogramtype->Text(), "calculation") << "histogram 5 shows the copied choice";
    Form->seHistogramNumber->SetValue(1);
    EXPECT_EQ(Form->cbHistogramtype->Text(), "data file");
  });
  ASSERT_EQ(Model->HistogramCount(), 5);
  const int jobs[5] = {jobXrayData, jobNeutronData, jobTOFCalc, jobTOFCalc, jobTOFCalc};
  for (int h = 1; h <= 5; ++h) EXPECT_EQ(Model->Histogram(h)->Job, jobs[h - 1]) << "histogram " << h;
  EXPECT_EQ(Model->Histogram(3)->Profile, 7);
  EXPECT_EQ(Model->Histogram(1)->Profile, 4);
}

TEST_F(NewInputTest, KindsFollowTypeAndPresetRadiation) {
  struct TCase {
    int Preset;  // item of the instrument list
    int Type;    // 0 calculation, 1 data file
    int Job;
  };
  const TCase cases[] = {{0, 1, jobXrayData}, {0, 0, jobXrayCalc},    {2, 1, jobNeutronData},
                         {2, 0, jobNeutronCalc}, {1, 1, jobTOFData}, {1, 0, jobTOFCalc},
                         {3, 1, jobXrayCalc},  {3, 0, jobXrayCalc}};
  for (const TCase& c : cases) {
    Run([&] {
      Form->cbHistogramtype->UserSelected(c.Type);
      Form->cbInstruments->UserSelected(c.Preset);
    });
    EXPECT_EQ(Model->Histogram(1)->Job, c.Job) << "preset " << c.Preset << " type " << c.Type;
  }
}

TEST_F(NewInputTest, PhasesAreStructuresWithTheirAtomsOrExtractions) {
  Run([&] {
    Form->seNumberPhases->SetValue(3);
    Form->sePhaseNumber->SetValue(2);
    Form->cbStructure->UserSelected(1);
    EXPECT_FALSE(Form->seAtoms->Enabled());
    EXPECT_EQ(Form->seAtoms->Value(), 0);
    Form->sePhaseNumber->SetValue(3);
    EXPECT_TRUE(Form->seAtoms->Enabled());
    Form->seAtoms->SetValue(4);
    Form->sePhaseNumber->SetValue(2);
    EXPECT_EQ(Form->cbStructure->Text(), "an extraction");
    Form->sePhaseNumber->SetValue(3);
    EXPECT_EQ(Form->seAtoms->Value(), 4);
  });
  ASSERT_EQ(Model->PhaseCount(), 3);
  EXPECT_EQ(Model->Phase(1)->AtomCount(), 1);
  EXPECT_EQ(Model->Phase(2)->AtomCount(), 0);
  EXPECT_EQ(Model->Phase(2)->CalcMethod, 1);
  EXPECT_EQ(Model->Phase(3)->AtomCount(), 4);
  EXPECT_EQ(Model->Phase(3)->CalcMethod, 0);
  EXPECT_EQ(static_cast<int>(Model->Samples.size()), 3);
}

TEST_F(NewInputTest, CancelLeavesTheModel) {
  Load("xray-cw.inp");
  const std::string before = Written();
  TModalResponder modal;
  modal.Do([&](TCustomForm*) {
    Form->seNumberHistograms->SetValue(3);
    Click(Form->Button2, 5, 5);
    return mrCancel;
  });
  EXPECT_EQ(Form->ShowModal(), mrCancel);
  EXPECT_EQ(Written(), before);
  EXPECT_EQ(InputFileName, Input);
}

class NewCommandTest : public mainwindowtest::MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Create();
    FormNewInput = new TFormNewInput(nullptr);
    ASSERT_TRUE(CopyFile(SourceDir() + "examples/xray-cw.inp", Dir.File("old.inp"), false));
    Old = Dir.File("old.inp");
    Form->ProcessFile(Old);
    ASSERT_TRUE(Model && Model->Loaded);
    Before = TTempDir::Read(Old);
  }
  void TearDown() override {
    delete FormNewInput;
    MainWindowTest::TearDown();
  }
  TTempDir Dir;
  std::string Old, Before;
};

TEST_F(NewCommandTest, NewAsksToSaveAndNeverSavesTheNewModelOverTheOldFile) {
  TDialogResponder dialogs;
  ModelChanged = true;
  Model->Title = "Changed but not saved";
  {
    TModalResponder modal;
    dialogs.Answer(mrCancel);
    Form->actNew->Execute();
    EXPECT_EQ(modal.Count(), 0) << "Cancel: no wizard";
  }
  EXPECT_EQ(dialogs.Last().Text, "Save Input File?");
  EXPECT_EQ(Model->Title, "Changed but not saved");

  {
    // No: the wizard builds the new model; the save dialog is cancelled.
    TModalResponder modal;
    modal.Do([](TCustomForm* f) {
      Click(static_cast<TFormNewInput*>(f)->ButtonOK, 5, 5);
      return f->ModalResult();
    });
    TCommonDialogResponder files;
    files.Do([](TCommonDialog*) { return false; });
    dialogs.Clear();
    dialogs.Answer(mrNo);
    Form->actNew->Execute();
    EXPECT_EQ(files.Count(), 1) << "Save As follows the wizard";
  }
  EXPECT_EQ(Model->Title, "A New refinement");
  EXPECT_TRUE(InputFileName.empty());
  EXPECT_TRUE(ModelChanged);
  EXPECT_EQ(TTempDir::Read(Old), Before);

  // A later Save asks for a name rather than writing over the old file.
  {
    TCommonDialogResponder files;
    files.Do([&](TCommonDialog* d) {
      dynamic_cast<TSaveDialog*>(d)->FileName = Dir.File("new.inp");
      return true;
    });
    Form->actSave->Execute();
    EXPECT_EQ(files.Count(), 1);
  }
  EXPECT_EQ(TTempDir::Read(Old), Before);
  EXPECT_EQ(InputFileName, Dir.File("new.inp"));
  EXPECT_FALSE(ModelChanged);
  EXPECT_NE(TTempDir::Read(Dir.File("new.inp")).find("A New refinement"), std::string::npos);
}

}  // namespace
