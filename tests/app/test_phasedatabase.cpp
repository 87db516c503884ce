#include "app/phasedatabase.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/phaseswindow.h"
#include "model/crystal.h"
#include "model/global.h"
#include "model/rietclass.h"
#include "platform/rtl/stringlist.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

std::string Source() {
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  return std::string(source ? source : "../..") + "/";
}

class PhaseDatabaseTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    Model = new TRietveld;
    FillSpaceGroupTable();
    if (!ScatterSymbols) ScatterSymbols = new TStringList;
    AcceptChanges = false;
    ASSERT_TRUE(Model->ReadInputFile(Source() + "examples/two-phase.inp"));
    PhaseDatabase = Dir.File("data/phases.db");
    AtomDatabase = Dir.File("data/atoms.db");
    Before = Written();
    Form = std::make_unique<TPhaseForm>(nullptr);
    Form->Show();
  }
  void TearDown() override {
    Form.reset();
    delete Model;
    Model = nullptr;
    delete ScatterSymbols;
    ScatterSymbols = nullptr;
    PhaseDatabase.clear();
    AtomDatabase.clear();
  }
  std::string Written() {
    const std::string file = Dir.File("written.inp");
    EXPECT_TRUE(Model->WriteInputFile(file));
    return TTempDir::Read(file);
  }
  // The rows of a query on a database file.
  static std::vector<std::vector<TDbValue>> Rows(const std::string& file, const std::string& sql) {
    TDatabase db(file, false);
    std::vector<std::string> c;
    std::vector<std::vector<TDbValue>> r;
    db.Select(sql, {}, c, r);
    return r;
  }
  // The database window answered: the phase of the given name chosen and OK.
  void ChooseInWindow(guitest::TModalResponder& modal, const std::string& name) {
    modal.Do([name](TCustomForm* f) {
      auto* d = static_cast<TPhDataForm*>(f);
      for (int i = 0; i < d->Query1.RecordCount(); ++i)
        if (d->Query1.Value(i, d->Query1.FieldIndex("PhaseName")).AsString() == name) d->DBGrid1->SetRow(i + 1);
      d->ButtonOKClick(nullptr);
      return mrOk;
    });
  }

  TTempDir Dir;
  std::string Before;
  std::unique_ptr<TPhaseForm> Form;
};

TEST_F(PhaseDatabaseTest, AddToDatabaseNumbersAfterTheHighestAndKeepsTheAtoms) {
  Form->AddtoDatabase1Click(nullptr);
  auto phases = Rows(PhaseDatabase, "select PhaseNumber, PhaseName, SpaceGroup, A, Gamma from phases");
  ASSERT_EQ(phases.size(), 1u);
  EXPECT_EQ(phases[0][0].AsInteger(), 1) << "the first phase of an empty table is 1";
  EXPECT_EQ(phases[0][1].AsString(), "Cubic test phase (perovskite type, a = 3.8)");
  EXPECT_EQ(phases[0][2].AsString(), "P M -3 M");
  EXPECT_DOUBLE_EQ(phases[0][3].AsFloat(), 3.8);
  EXPECT_DOUBLE_EQ(phases[0][4].AsFloat(), 90);
  auto atoms = Rows(AtomDatabase, "select PhaseNumber, AtomName, AtomType, x, Biso, Occupation from atoms");
  ASSERT_EQ(atoms.size(), 3u);
  EXPECT_EQ(atoms[1][1].AsString(), "Ti1 ");
  EXPECT_DOUBLE_EQ(atoms[1][3].AsFloat(), 0.5);
  EXPECT_DOUBLE_EQ(atoms[1][4].AsFloat(), 0.4);
  // With a gap in the numbers the new one follows the highest.
  {
    TDatabase db(PhaseDatabase, false);
    db.Execute("insert into phases (PhaseNumber, PhaseName) values (7, 'far')");
  }
  Form->AddtoDatabase1Click(nullptr);
  phases = Rows(PhaseDatabase, "select PhaseNumber from phases order by PhaseNumber");
  ASSERT_EQ(phases.size(), 3u);
  EXPECT_EQ(phases[2][0].AsInteger(), 8);
  EXPECT_EQ(Rows(AtomDatabase, "select * from atoms where PhaseNumber = 8").size(), 3u);
  EXPECT_EQ(Written(), Before) << "the model is not changed";
}

TEST_F(PhaseDatabaseTest, TheWindowListsByNameAndShowsTheAtomsOfTheSelectedPhase) {
  Form->AddtoDatabase1Click(nullptr);  // 1: the cubic phase with three atoms
  Form->PhaseTitleEdit->SetText("Another phase");
  Form->AddtoDatabase1Click(nullptr);  // 2
  {
    TDatabase db(AtomDatabase, false);
    db.Execute("delete from atoms where PhaseNumber = 2 and AtomName = 'Sr1 '");
  }
  TPhDataForm form(nullptr);
  ASSERT_TRUE(form.OpenData());
  ASSERT_EQ(form.Query1.RecordCount(), 2);
  EXPECT_EQ(form.DBGrid1->Cells(0, 1), "Another phase");
  EXPECT_EQ(form.DBGrid1->Cells(2, 1), "3.8");
  EXPECT_EQ(form.DBGrid2->RowCount(), 3) << "the two atoms of the selected phase";
  form.DBGrid1->SetRow(2);
  EXPECT_EQ(form.DBGrid2->RowCount(), 4);
  EXPECT_EQ(form.DBGrid2->Cells(0, 1), "Sr1 ");
  form.ButtonOKClick(nullptr);
  EXPECT_EQ(SelectedDatabasePhase, 1);
  // OK on an empty table chooses no phase.
  {
    TDatabase db(PhaseDatabase, false);
    db.Execute("delete from phases");
  }
  TPhDataForm empty(nullptr);
  ASSERT_TRUE(empty.OpenData());
  empty.ButtonOKClick(nullptr);
  EXPECT_EQ(SelectedDatabasePhase, 0);
}

TEST_F(PhaseDatabaseTest, SelectingAPhaseCopiesItIntoThePageUntilSaved) {
  Form->AddtoDatabase1Click(nullptr);
  Form->TabControl1->SetTabIndex(1);
  Form->TabControl1Change(nullptr);
  guitest::TModalResponder modal;
  ChooseInWindow(modal, "Cubic test phase (perovskite type, a = 3.8)");
  Form->SelectfromDatabase1Click(nullptr);
  EXPECT_EQ(modal.Count(), 1);
  EXPECT_EQ(Form->PhaseTitleEdit->Text(), "Cubic test phase (perovskite type, a = 3.8)");
  EXPECT_EQ(Form->SpaceGroupEdit->Text(), "P M -3 M");
  EXPECT_EQ(Form->aEdit->Text(), " 3.80000");
  EXPECT_EQ(Form->GridRowCount(), 4);
  EXPECT_EQ(Form->GridCell(2, 3), "O1  ");
  EXPECT_EQ(Form->GridCell(12, 3), "0.06250");
  EXPECT_TRUE(Form->Dirty());
  EXPECT_EQ(Written(), Before) << "only the page holds it";
  ASSERT_TRUE(Form->SaveChanges());
  const TPhase* p = Model->Phase(2);
  EXPECT_EQ(p->Title, "Cubic test phase (perovskite type, a = 3.8)");
  ASSERT_EQ(p->AtomCount(), 3);
  EXPECT_FLOAT_EQ(p->Atom(2)->B, 0.4f);
  EXPECT_FALSE(Model->IsRefined(0, 2, 1, 4)) << "the rock-salt atoms' flags went with them";
}

TEST_F(PhaseDatabaseTest, AFileThatCannotBeUsedGivesOneMessageAndChangesNothing) {
  Form->AddtoDatabase1Click(nullptr);
  const std::string goodPhases = PhaseDatabase, goodAtoms = AtomDatabase;
  const std::string damaged = Dir.Write("damaged.db", std::string("SQLite format 3") + std::string(3000, '\x01'));
  const std::string blocked = Dir.Write("file", "a file where a folder should be");
  struct Case {
    const char* What;
    std::string Phases, Atoms;
    bool Lock;
    const char* Fragment;
  } cases[] = {
      {"phases damaged", damaged, goodAtoms, false, "is damaged or is not a database"},
      {"atoms damaged", goodPhases, damaged, false, "is damaged or is not a database"},
      {"phases locked", goodPhases, goodAtoms, true, "is locked by another program"},
      {"no folder for the file", blocked + "/phases.db", goodAtoms, false, "cannot be opened"},
  };
  guitest::TModalResponder modal;
  for (const Case& c : cases) {
    PhaseDatabase = c.Phases;
    AtomDatabase = c.Atoms;
    std::unique_ptr<TDatabase> holder;
    if (c.Lock) {
      holder = std::make_unique<TDatabase>(goodPhases, false);
      holder->Execute("begin exclusive");
    }
    const std::string title = Form->PhaseTitleEdit->Text();
    TDialogResponder answers;
    ChooseInWindow(modal, "Cubic test phase (perovskite type, a = 3.8)");
    Form->SelectfromDatabase1Click(nullptr);
    Form->AddtoDatabase1Click(nullptr);
    ASSERT_EQ(answers.Count(), 2u) << c.What;
    for (const auto& r : answers.Requests()) EXPECT_NE(r.Text.find(c.Fragment), std::string::npos) << c.What << ": " << r.Text;
    EXPECT_EQ(Form->PhaseTitleEdit->Text(), title) << c.What;
    EXPECT_FALSE(Form->Dirty()) << c.What;
    if (holder) holder->Execute("rollback");
  }
  EXPECT_EQ(modal.Count(), 0) << "the window never showed";
  // No half phase was written anywhere.
  EXPECT_EQ(Rows(goodPhases, "select * from phases").size(), 1u);
  EXPECT_EQ(Rows(goodAtoms, "select * from atoms").size(), 3u);
  EXPECT_EQ(Written(), Before);
}

}  // namespace
