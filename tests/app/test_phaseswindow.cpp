#include "app/phaseswindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/periodictable.h"
#include "app/xyztransform.h"
#include "chart/core/golden.h"
#include "model/brkapart.h"
#include "model/crystal.h"
#include "model/global.h"
#include "model/rietclass.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/stringlist.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"
#include "toolbar/tbitem.h"

namespace {

std::string Source() {
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  return std::string(source ? source : "../..") + "/";
}

// The written input file compared with tests/app/golden/<name>;
// ZELVORA_UPDATE_GOLDEN=1 writes it instead (read it before keeping it).
void ExpectGoldenText(const std::string& text, const std::string& name) {
  const std::string file = Source() + "tests/app/golden/" + name;
  if (std::getenv("ZELVORA_UPDATE_GOLDEN")) {
    FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    GTEST_SKIP() << "wrote " << file;
  }
  EXPECT_EQ(text, TTempDir::Read(file)) << name;
}

class PhasesWindow : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    Model = new TRietveld;
    FillSpaceGroupTable();
    if (!ScatterSymbols) ScatterSymbols = new TStringList;
    Transformation = new TTransformation;
    Transformation->SetIdentity();
    AcceptChanges = false;
    ModelChanged = false;
    InputFileName.clear();
    DataFileName.clear();
    ASSERT_TRUE(Model->ReadInputFile(Source() + "examples/two-phase.inp"));
    Before = Written();
    Form = std::make_unique<TPhaseForm>(nullptr);
    Trans = std::make_unique<TFormTrans>(nullptr);
    FormTrans = Trans.get();
  }
  void TearDown() override {
    Form.reset();
    Trans.reset();
    delete Model;
    Model = nullptr;
    delete Transformation;
    Transformation = nullptr;
    delete ScatterSymbols;
    ScatterSymbols = nullptr;
  }
  // The input file as the model would be written now.
  std::string Written() {
    const std::string file = Dir.File("written.inp");
    EXPECT_TRUE(Model->WriteInputFile(file));
    return TTempDir::Read(file);
  }
  void Show(int tab = 0) {
    Form->Hide();
    Form->Show();
    if (tab != 0) {
      Form->TabControl1->SetTabIndex(tab);
      Form->TabControl1Change(Form->TabControl1);
    }
  }
  // A space group typed into the box.
  void SetGroup(const std::string& symbol) {
    Form->SpaceGroupEdit->SetText(symbol);
    Form->SpaceGroupEditChange(Form->SpaceGroupEdit);
  }
  // A click on a vary box cell of the atom grid (toggles it).
  void Tick(int col, int row, bool state) { Form->SetVaryCell(col, row, state); }

  TTempDir Dir;
  std::string Before;
  std::unique_ptr<TPhaseForm> Form;
  std::unique_ptr<TFormTrans> Trans;
};

TEST_F(PhasesWindow, ShowsThePhaseAndItsAtoms) {
  Show();
  EXPECT_EQ(Form->TabControl1->Tabs()->Count(), 2);
  EXPECT_EQ(Form->TabControl1->Tabs()->Get(1), "Phase2");
  EXPECT_EQ(Form->PhaseTitleEdit->Text(), "Cubic test phase (perovskite type, a = 3.8)");
  EXPECT_EQ(Form->SpaceGroupEdit->Text(), "P M -3 M");
  EXPECT_EQ(Form->SGLabel->Caption(), "Cubic");
  EXPECT_EQ(Form->aEdit->Text(), " 3.80000");
  EXPECT_EQ(Form->GridRowCount(), 4);
  EXPECT_EQ(Form->GridCell(0, 0), "#");
  EXPECT_EQ(Form->GridCell(12, 0), "n");
  EXPECT_EQ(Form->GridCell(2, 2), "Ti1 ");
  EXPECT_EQ(Form->GridCell(4, 2), "0.50000");
  EXPECT_EQ(Form->GridCell(1, 2), "1") << "site multiplicity of 1/2 1/2 1/2 in P m -3 m";
  EXPECT_EQ(Form->GridCell(1, 3), "3");
  EXPECT_TRUE(Form->aCheckBox->Checked());
  EXPECT_FALSE(Form->bEdit->Enabled());
  EXPECT_FALSE(Form->Dirty());
}

TEST_F(PhasesWindow, SpaceGroupNumberAndEnterTakesTheTableEntry) {
  Show(1);
  Form->SpaceGroupEdit->SetFocus();
  Form->SpaceGroupEdit->SetText("");
  guitest::TypeText(Form->SpaceGroupEdit, "62");
  guitest::Key(Form->SpaceGroupEdit, VK_RETURN, "\r");
  EXPECT_EQ(Form->SpaceGroupEdit->Text(), SpaceGroupTable[61]);
  EXPECT_EQ(Form->SGLabel->Caption(), "Orthorhombic");
  EXPECT_EQ(Form->lbMult->Caption(), "8");
  for (TEdit* e : {Form->alphaEdit, Form->betaEdit, Form->gammaEdit}) {
    EXPECT_EQ(e->Text(), "90.0");
    EXPECT_FALSE(e->Enabled());
  }
  EXPECT_TRUE(Form->bEdit->Enabled());
  EXPECT_TRUE(Form->Dirty());
}

TEST_F(PhasesWindow, TheLatticeClassTiesAndFixesTheCell) {
  Show(1);
  // Symbol, class label, enabled state of a b c alpha beta gamma, fixed angle texts ("" free).
  struct Case {
    const char* Symbol;
    const char* Label;
    bool Enabled[6];
    const char* Angles[3];
  } cases[] = {
      {"P 1", "Triclinic", {true, true, true, true, true, true}, {"", "", ""}},
      {"P N M A", "Orthorhombic", {true, true, true, false, false, false}, {"90.0", "90.0", "90.0"}},
      {"P 4/M M M", "Tetragonal", {true, false, true, false, false, false}, {"90.0", "90.0", "90.0"}},
      {"P 63/M M C", "Hexagonal", {true, false, true, false, false, false}, {"90.0", "90.0", "120.0"}},
      {"F M -3 M", "Cubic", {true, false, false, false, false, false}, {"90.0", "90.0", "90.0"}},
      {"Q 9", "Unknown SG", {true, true, true, true, true, true}, {"", "", ""}},
  };
  TEdit* edits[6] = {Form->aEdit, Form->bEdit, Form->cEdit, Form->alphaEdit, Form->betaEdit, Form->gammaEdit};
  TCheckBox* boxes[6] = {Form->aCheckBox,     Form->bCheckBox,    Form->cCheckBox,
                         Form->alphaCheckBox, Form->betaCheckBox, Form->gammaCheckBox};
  for (const Case& c : cases) {
    for (TEdit* e : {Form->alphaEdit, Form->betaEdit, Form->gammaEdit}) e->SetText("77.0");
    SetGroup(c.Symbol);
    EXPECT_EQ(Form->SGLabel->Caption(), c.Label) << c.Symbol;
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(edits[i]->Enabled(), c.Enabled[i]) << c.Symbol << " edit " << i;
      EXPECT_EQ(boxes[i]->Enabled(), c.Enabled[i]) << c.Symbol << " box " << i;
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(edits[3 + i]->Text(), *c.Angles[i] ? c.Angles[i] : "77.0") << c.Symbol;
  }
}

TEST_F(PhasesWindow, CubicCellFollowsAAndSavingAddsTheSymmetryConstraints) {
  Show(1);
  SetGroup("F M -3 M");
  Form->aEdit->SetText("5.7");
  EXPECT_EQ(Form->bEdit->Text(), "5.7");
  EXPECT_EQ(Form->cEdit->Text(), "5.7");
  Form->aCheckBox->SetChecked(true);
  Form->ButtonOKClick(nullptr);
  EXPECT_FALSE(Form->Dirty());
  const TPhase* p = Model->Phase(2);
  EXPECT_FLOAT_EQ(p->C, 5.7f);
  const TParameterList& l = Model->Parameters;
  for (int t : {7, 8}) {
    const int k = l.FindConstraintBySecond(0, 2, 0, t);
    ASSERT_GE(k, 0) << t;
    EXPECT_TRUE(l.Constraints[static_cast<std::size_t>(k)]->First.HasAddress(0, 2, 0, 6));
  }
  ExpectGoldenText(Written(), "phases_cubic.inp");
  // Saving again adds nothing.
  const int constraints = Model->ConstraintCount();
  Form->Show();
  Form->DirtyPhase(nullptr);
  ASSERT_TRUE(Form->SaveChanges());
  EXPECT_EQ(Model->ConstraintCount(), constraints);
}

// The B values of Sr1 and Ti1 share one code (a constraint led by Sr1's).
// O1 is moved to the top with its x ticked; then Sr1 is deleted: flags and
// the constraint go with their atoms, and the deleted leader's dependant
// refines on its own.
TEST_F(PhasesWindow, MovedAndDeletedAtomsKeepTheirFlagsAndConstraints) {
  Show();
  ASSERT_GE(Model->Parameters.FindConstraintBySecond(0, 1, 2, 4), 0);
  Tick(5, 3, true);
  Form->GridMoveRow(3, 1);
  EXPECT_EQ(Form->GridCell(2, 1), "O1  ");
  EXPECT_TRUE(Form->CellChecked(11, 2)) << "Sr1's B box moved with its row";
  ASSERT_TRUE(Form->SaveChanges());
  EXPECT_EQ(Model->Phase(1)->Atom(1)->Label, "O1  ");
  EXPECT_TRUE(Model->IsRefined(0, 1, 1, 1));
  int k = Model->Parameters.FindConstraintBySecond(0, 1, 3, 4);
  ASSERT_GE(k, 0);
  EXPECT_TRUE(Model->Parameters.Constraints[static_cast<std::size_t>(k)]->First.HasAddress(0, 1, 2, 4));

  Form->SetGridRow(2);
  Form->DeleteAtom1Click(nullptr);
  EXPECT_EQ(Form->GridRowCount(), 3);
  ASSERT_TRUE(Form->SaveChanges());
  EXPECT_EQ(Model->Phase(1)->AtomCount(), 2);
  for (const auto& c : Model->Parameters.Constraints)
    EXPECT_FALSE(c->First.Kind == pkAtom && c->First.Phase == 1) << "the deleted leader's constraint went";
  EXPECT_TRUE(Model->IsRefined(0, 1, 2, 4)) << "Ti1, now atom 2, refines its B alone";
  EXPECT_TRUE(Model->IsRefined(0, 1, 1, 1));
  for (int t = 1; t <= 11; ++t) EXPECT_FALSE(Model->IsRefined(0, 1, 3, t)) << "no atom 3 any more";
  ExpectGoldenText(Written(), "phases_move_delete_atoms.inp");
}

TEST_F(PhasesWindow, CancelNoAndRefusedValuesLeaveTheFileAsItWas) {
  TDialogResponder answers;
  Show();
  auto edit = [&] {
    Form->PhaseTitleEdit->SetText("changed");
    Form->SetGridRow(1);
    Form->DeleteAtom1Click(nullptr);
  };
  // Cancel.
  edit();
  Form->ButtonCancelClick(nullptr);
  EXPECT_EQ(Written(), Before);
  // No on a tab change.
  Show();
  edit();
  answers.Answer(mrNo);
  bool allow = false;
  Form->TabControl1Changing(Form->TabControl1, allow);
  EXPECT_TRUE(allow);
  EXPECT_TRUE(answers.Saw("Keep Changes?"));
  EXPECT_EQ(Written(), Before);
  // Cancel on closing keeps the window and the page.
  Show();
  edit();
  answers.Answer(mrCancel);
  bool canClose = true;
  Form->FormCloseQuery(Form.get(), canClose);
  EXPECT_FALSE(canClose);
  EXPECT_TRUE(Form->Dirty());
  EXPECT_EQ(Written(), Before);
  Form->ButtonCancelClick(nullptr);

  // A value that does not convert is refused by name and nothing is stored.
  struct Case {
    const char* What;
    std::function<void()> Set;
    const char* Fragment;
  } cases[] = {
      {"cell", [&] { Form->aEdit->SetText("8.48a"); }, "\"8.48a\" is not a number: please correct a."},
      {"empty occupancy", [&] { Form->SetGridCell(12, 2, ""); }, "Please enter a number for n of atom 2 (Ti1)."},
      {"grid cell", [&] { Form->SetGridCell(4, 3, "0.5x"); }, "please correct x of atom 3 (O1)"},
      {"Z", [&] { Form->ZEdit->SetText("1.5"); }, "please correct Z"},
  };
  for (const Case& c : cases) {
    Show();
    Form->PhaseTitleEdit->SetText("changed");
    c.Set();
    answers.Clear();
    Form->ButtonOKClick(nullptr);
    EXPECT_TRUE(answers.Saw(c.Fragment)) << c.What << ": " << (answers.Count() ? answers.Last().Text : "");
    EXPECT_TRUE(Form->Dirty()) << c.What;
    EXPECT_EQ(Written(), Before) << c.What;
    Form->ButtonCancelClick(nullptr);
  }
}

TEST_F(PhasesWindow, LeBailSavesNoAtomRefinementAndNoThermalFactor) {
  Show();
  Form->cbCalcMethod->UserSelected(1);
  EXPECT_FALSE(Form->GridEnabled());
  EXPECT_TRUE(Form->cbRecycle->Visible());
  Form->IsoThermalEdit->SetText("1.5");
  Form->cbRecycle->SetChecked(true);
  ASSERT_TRUE(Form->SaveChanges());
  EXPECT_EQ(Model->Phase(1)->CalcMethod, 1);
  EXPECT_EQ(Model->Phase(1)->IsoThermal, 0);
  EXPECT_EQ(Model->RecycleLeBail, 1);
  for (int a = 1; a <= 3; ++a)
    for (int t = 1; t <= 11; ++t) EXPECT_FALSE(Model->IsRefined(0, 1, a, t)) << a << " " << t;
  Form->cbCalcMethod->UserSelected(0);
  EXPECT_TRUE(Form->GridEnabled());
  EXPECT_FALSE(Form->cbRecycle->Visible());
}

// A value dropped onto another one asks for the factor; the constraint is
// made when the page is saved, with the atoms where they are then.
TEST_F(PhasesWindow, DraggingOneValueOntoAnotherConstrainsThem) {
  TDialogResponder answers;
  Show();
  Tick(5, 1, true);   // x of Sr1
  Tick(7, 3, false);  // y of O1: not refined, so no drop there
  auto centre = [&](int c, int r) {
    const TRect rc = Form->GridCellRect(c, r);
    return TPoint{(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
  };
  bool accept = true;
  TPoint to = centre(6, 3);
  TObject* grid = Form->FindComponent("AtomGrid");
  ASSERT_NE(grid, nullptr);
  Form->AtomGridDragOver(grid, grid, to.X, to.Y, dsDragMove, accept);
  EXPECT_FALSE(accept) << "the target's box is not ticked";
  Tick(5, 3, true);
  TPoint from = centre(4, 1);
  Form->AtomGridMouseDown(grid, mbLeft, {}, from.X, from.Y);
  to = centre(4, 3);
  answers.AnswerText("-1.0");
  Form->AtomGridDragDrop(grid, grid, to.X, to.Y);
  ASSERT_EQ(answers.Count(), 1u);
  EXPECT_EQ(answers.Last().Caption, "Atomic Constraints");
  EXPECT_EQ(answers.Last().Text, "O1   ( x )  =  Sr1  ( x ) *   ");
  EXPECT_EQ(answers.Last().Default, "1.0");
  EXPECT_EQ(Written(), Before) << "nothing before saving";
  // Sr1 moves below Ti1 before the page is saved.
  Form->SetGridRow(1);
  Form->Cut1Click(nullptr);
  Form->AddAtom1Click(nullptr);
  Form->SetGridRow(3);
  Form->Paste1Click(nullptr);
  Form->SetGridCell(3, 3, "SR");
  Tick(5, 3, true);
  ASSERT_TRUE(Form->SaveChanges());
  // The cut row's constraint went with it; the pasted row is a new atom.
  EXPECT_LT(Model->Parameters.FindConstraintBySecond(0, 1, 2, 1), 0);

  // Again without moving: the constraint is made.
  Show();
  Tick(5, 1, true);
  Tick(5, 2, true);
  from = centre(4, 1);
  Form->AtomGridMouseDown(grid, mbLeft, {}, from.X, from.Y);
  to = centre(4, 2);
  answers.AnswerText("-1.0");
  Form->AtomGridDragDrop(grid, grid, to.X, to.Y);
  ASSERT_TRUE(Form->SaveChanges());
  const int k = Model->Parameters.FindConstraintBySecond(0, 1, 2, 1);
  ASSERT_GE(k, 0);
  EXPECT_TRUE(Model->Parameters.Constraints[static_cast<std::size_t>(k)]->First.HasAddress(0, 1, 1, 1));
  EXPECT_FLOAT_EQ(Model->Parameters.Constraints[static_cast<std::size_t>(k)]->Second.Multiplier, -1.0f);
}

TEST_F(PhasesWindow, PhaseCommandsAndTheirEnabling) {
  Show();
  Form->PopupMenu2Popup(nullptr);
  EXPECT_TRUE(Form->New1->Enabled());
  EXPECT_TRUE(Form->Delete1->Enabled());
  while (Model->PhaseCount() < 8) Form->New1Click(nullptr);
  EXPECT_EQ(Form->TabControl1->Tabs()->Count(), 8);
  EXPECT_EQ(Form->CurrentPhase(), 8);
  EXPECT_EQ(Form->GridRowCount(), 2) << "a phase without atoms shows one empty row";
  EXPECT_EQ(Form->GridCell(0, 1), "1");
  Form->PopupMenu2Popup(nullptr);
  EXPECT_FALSE(Form->New1->Enabled());
  EXPECT_FALSE(Form->ReadfromInputfile1->Enabled());
  EXPECT_FALSE(Form->ReadPhasefromCIFFile1->Enabled());
  // A page of a phase without atoms saves no atom from its empty row.
  Form->PhaseTitleEdit->SetText("eighth");
  ASSERT_TRUE(Form->SaveChanges());
  EXPECT_EQ(Model->Phase(8)->AtomCount(), 0);
  while (Model->PhaseCount() > 1) Form->Delete1Click(nullptr);
  Form->PopupMenu2Popup(nullptr);
  EXPECT_FALSE(Form->Delete1->Enabled());
  Form->DeletePhase(1);
  EXPECT_EQ(Model->PhaseCount(), 1);
}

TEST_F(PhasesWindow, FullOccupancyIsTheSiteOverTheGeneralMultiplicity) {
  Show();
  Form->SetGridCell(12, 3, "0.9");
  Form->SetGridRow(3);
  Form->SetOccupancyClick(nullptr);
  EXPECT_EQ(Form->GridCell(12, 3), "0.06250") << "3 of 48";
  Form->SetAllOccupanciesClick(nullptr);
  EXPECT_EQ(Form->GridCell(12, 1), "0.02083");
  SetGroup("NOT A GROUP");
  Form->SetAllOccupanciesClick(nullptr);
  EXPECT_EQ(Form->GridCell(12, 2), "0.0");
}

TEST_F(PhasesWindow, ReadsAPhaseOfAnotherInputFile) {
  // A file of three phases with their own titles.
  TRietveld three;
  ASSERT_TRUE(three.ReadInputFile(Source() + "examples/two-phase.inp"));
  three.NewPhase()->Title = "Third";
  const std::string file = Dir.File("three.inp");
  ASSERT_TRUE(three.WriteInputFile(file));
  TDialogResponder answers;
  guitest::TCommonDialogResponder files;
  Show();
  for (const char* asked : {"2", "5", "x"}) {
    files.Do([&](TCommonDialog* d) {
      static_cast<TOpenDialog*>(d)->FileName = file;
      return true;
    });
    answers.AnswerText(asked);
    Form->ReadfromInputfile1Click(nullptr);
  }
  ASSERT_EQ(Model->PhaseCount(), 5);
  EXPECT_EQ(answers.Requests()[0].Caption, "Phase Number");
  EXPECT_EQ(answers.Requests()[0].Text,
            "There are 3 phases.  Cubic test phase (perovskite type, a = 3.8) Rock-salt test phase (a = 5.64) Third "
            "Enter number:");
  EXPECT_EQ(Model->Phase(3)->Title, "Rock-salt test phase (a = 5.64)");
  EXPECT_EQ(Model->Phase(3)->AtomCount(), 2);
  EXPECT_EQ(Model->Phase(4)->Title, "Third") << "phase 5 of 3 is the last";
  EXPECT_EQ(Model->Phase(5)->Title, three.Phase(1)->Title) << "text is phase 1";
  EXPECT_EQ(Form->CurrentPhase(), 5);
}

TEST_F(PhasesWindow, ReadsACifAsANewPhaseAndABadOneAddsNone) {
  const std::string cif = Dir.Write("quartz.cif",
                                    "data_test\n"
                                    "_cell_length_a 4.9134\n_cell_length_b 4.9134\n_cell_length_c 5.4052\n"
                                    "_cell_angle_alpha 90\n_cell_angle_beta 90\n_cell_angle_gamma 120\n"
                                    "_symmetry_space_group_name_H-M 'P 32 2 1'\n"
                                    "_chemical_formula_structural SiO2\n"
                                    "loop_\n_atom_site_label\n_atom_site_type_symbol\n_atom_site_fract_x\n"
                                    "_atom_site_fract_y\n_atom_site_fract_z\n"
                                    "Si1 Si 0.4697 0.0 0.0\nO1 O 0.4133 0.2672 0.1188\n");
  const std::string bad = Dir.Write("bad.cif", "this is no CIF\n");
  TDialogResponder answers;
  guitest::TCommonDialogResponder files;
  Show();
  for (const std::string& f : {cif, bad})
    files.Do([f](TCommonDialog* d) {
      static_cast<TOpenDialog*>(d)->FileName = f;
      return true;
    });
  Form->ReadPhasefromCIFFile1Click(nullptr);
  ASSERT_EQ(Model->PhaseCount(), 3);
  EXPECT_EQ(Form->SpaceGroupEdit->Text(), "P 32 2 1");
  EXPECT_EQ(Form->SGLabel->Caption(), "Trigonal[Hex]");
  EXPECT_EQ(Form->GridCell(2, 2), "O1  ");
  EXPECT_EQ(Form->gammaEdit->Text(), "120.0");
  Form->ReadPhasefromCIFFile1Click(nullptr);
  EXPECT_EQ(Model->PhaseCount(), 3);
  EXPECT_TRUE(answers.Saw("Invalid CIF file"));
}

TEST_F(PhasesWindow, ASpreadsheetOfTheAtomsReadsBackOnceMore) {
  const std::string sheet = Dir.File("atoms.xls");
  guitest::TCommonDialogResponder files;
  TDialogResponder answers;
  Show();
  files.Do([&](TCommonDialog* d) {
    static_cast<TSaveDialog*>(d)->FileName = sheet;
    return true;
  });
  Form->SavetoExcelfile1Click(nullptr);
  files.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = sheet;
    return true;
  });
  Form->ReadExcelClick(nullptr);
  const TPhase* p = Model->Phase(1);
  ASSERT_EQ(p->AtomCount(), 6);
  for (int a = 1; a <= 3; ++a) {
    EXPECT_EQ(p->Atom(a + 3)->Label, p->Atom(a)->Label);
    EXPECT_EQ(p->Atom(a + 3)->AtomType, p->Atom(a)->AtomType);
    EXPECT_FLOAT_EQ(p->Atom(a + 3)->N, p->Atom(a)->N);
  }
  EXPECT_EQ(Form->GridRowCount(), 7);
  // A sheet with a cell that is not a number adds no atom.
  Form->SetGridCell(6, 2, "half");
  files.Do([&](TCommonDialog* d) {
    static_cast<TSaveDialog*>(d)->FileName = sheet;
    return true;
  });
  Form->SavetoExcelfile1Click(nullptr);
  files.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = sheet;
    return true;
  });
  Form->ReadExcelClick(nullptr);
  EXPECT_EQ(Model->Phase(1)->AtomCount(), 6);
  EXPECT_TRUE(answers.Saw("\"half\" is not a valid floating point value"));
}

TEST_F(PhasesWindow, XyzTransformationChangesOnlyTheGrid) {
  guitest::TModalResponder modal;
  Show();
  Form->SetGridCell(4, 3, "0.25");
  modal.Answer(mrOk);
  Form->XYZtransformation1Click(nullptr);
  EXPECT_EQ(Form->GridCell(4, 3), "0.25000") << "the identity only reformats";
  // x and y swapped, z shifted by 1/2.
  modal.Do([](TCustomForm* f) {
    auto* t = static_cast<TFormTrans*>(f);
    t->edxx->SetText("0");
    t->edxy->SetText("1");
    t->edyx->SetText("1");
    t->edyy->SetText("0");
    t->edzt->SetText("0.5");
    t->btOK->Click();
    return mrOk;
  });
  Form->XYZtransformation1Click(nullptr);
  EXPECT_EQ(Form->GridCell(4, 3), "0.50000");
  EXPECT_EQ(Form->GridCell(6, 3), "0.25000");
  EXPECT_EQ(Form->GridCell(8, 3), "0.50000");
  EXPECT_EQ(Written(), Before);
}

TEST_F(PhasesWindow, ThePeriodicTablePicksTheAtomType) {
  TFormPeriodicTable table(nullptr);
  FormPeriodicTable = &table;
  guitest::TModalResponder modal;
  Show();
  modal.Do([](TCustomForm* f) {
    auto* t = static_cast<TFormPeriodicTable*>(f);
    EXPECT_EQ(t->CellText(0, 0), "H");
    EXPECT_EQ(t->CellText(17, 0), "He");
    EXPECT_EQ(t->CellText(12, 1), "B");
    EXPECT_EQ(t->CellText(17, 1), "Ne");
    EXPECT_TRUE(t->SelectElement("Fe"));
    return mrOk;
  });
  Form->SetGridRow(2);
  Form->PickElementClick(nullptr);
  EXPECT_EQ(Form->GridCell(3, 2), "FE");
  ASSERT_TRUE(Form->SaveChanges());
  EXPECT_EQ(Model->Phase(1)->Atom(2)->AtomType, "FE  ");
  FormPeriodicTable = nullptr;
}

TEST_F(PhasesWindow, MatchesTheReviewedPicture) {
  Form->SetBounds(0, 0, 780, 480);
  Show();
  TBitmap image;
  ASSERT_TRUE(guitest::ControlPicture(Form.get(), image));
  ExpectMatchesGoldenIn("tests/app/golden", image, "phases_window.png");
}

TEST(XyzTransformationDialog, ShowsTheTransformationAndItsDeterminant) {
  guitest::EnsureGui();
  TTransformation t;
  t.SetIdentity();
  Transformation = &t;
  TFormTrans form(nullptr);
  form.FormShow(nullptr);
  EXPECT_EQ(form.edxx->Text(), "1.0000");
  EXPECT_EQ(form.edxy->Text(), "0.0000");
  EXPECT_EQ(form.edzt->Text(), "0.0000");
  EXPECT_EQ(form.lbdeter->Caption(), "1");
  // A singular matrix is accepted; typing shows its determinant.
  form.edyy->SetText("0");
  uint16_t key = '0';
  form.EditKeyUp(form.edyy, key, {});
  EXPECT_EQ(form.lbdeter->Caption(), "0");
  form.edxt->SetText("abc");
  form.btOKClick(nullptr);
  EXPECT_EQ(t.Value(2, 2), 0);
  EXPECT_EQ(t.Value(1, 4), 0);
  // Cancel after typing keeps the transformation.
  form.FormShow(nullptr);
  form.edxx->SetText("3");
  form.EditKeyUp(form.edxx, key, {});
  EXPECT_EQ(form.lbdeter->Caption(), "0");
  EXPECT_EQ(t.Value(1, 1), 1);
  Transformation = nullptr;
}

}  // namespace
