#include "platform/db/dataset.h"

#include <gtest/gtest.h>

#include "platform/db/dbgrid.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

// A file with a table of three metals and their atoms.
std::string MakeFile(const TTempDir& dir) {
  const std::string f = dir.File("metals.db");
  TDatabase db(f, true);
  db.Execute("create table phases (PhaseNumber integer primary key, PhaseName text, A real)");
  db.Execute("create table atoms (PhaseNumber integer, AtomName text, x real)");
  db.Execute("insert into phases values (1, 'Iron', 2.8665), (2, 'Copper', 3.6149), (4, 'Aluminium', 4.0495)");
  db.Execute("insert into atoms values (1, 'Fe1', 0), (2, 'Cu1', 0), (4, 'Al1', 0), (4, 'Al2', 0.5)");
  return f;
}

TEST(DataLayer, OrderedParameterisedQueriesAndAMasterWithItsDetail) {
  TTempDir dir;
  const std::string f = MakeFile(dir);
  TQuery master, detail;
  master.SetDatabaseFile(f);
  master.SetSQL("select * from phases order by PhaseName");
  detail.SetDatabaseFile(f);
  detail.SetSQL("select AtomName, x from atoms where phasenumber = :phasenumber order by AtomName");
  detail.SetMaster(&master);
  master.Open();
  detail.Open();
  ASSERT_EQ(master.RecordCount(), 3);
  EXPECT_EQ(master.FieldByName("phasename").AsString(), "Aluminium") << "field names ignore case";
  EXPECT_EQ(detail.RecordCount(), 2);
  master.Next();
  EXPECT_EQ(master.FieldByName("PhaseName").AsString(), "Copper");
  ASSERT_EQ(detail.RecordCount(), 1) << "the detail follows the master's row";
  EXPECT_EQ(detail.FieldByName("AtomName").AsString(), "Cu1");
  // A parameter set by hand, for a query without a master.
  TQuery one;
  one.SetDatabaseFile(f);
  one.SetSQL("select * from phases where phasenumber = :phasenumber");
  one.ParamByName("PhaseNumber") = 4;
  one.Open();
  ASSERT_EQ(one.RecordCount(), 1);
  EXPECT_DOUBLE_EQ(one.FieldByName("A").AsFloat(), 4.0495);
  EXPECT_THROW(one.FieldByName("Volume"), EDatabaseError);
}

TEST(DataLayer, RowsAreEditedAppendedPostedAndDeletedInTheFile) {
  TTempDir dir;
  const std::string f = MakeFile(dir);
  TTable table(f, "phases");
  table.Open();
  table.Last();
  EXPECT_EQ(table.FieldByName("PhaseNumber").AsInteger(), 4);
  table.Edit();
  table.SetField("A", 4.05);
  table.Post();
  table.Append();
  table.SetField("PhaseNumber", 7);
  table.SetField("PhaseName", "Gold");
  table.Post();
  EXPECT_EQ(table.FieldByName("PhaseName").AsString(), "Gold") << "the posted row is current";
  table.First();
  table.Delete();
  // Read back from the file by another query.
  TQuery check;
  check.SetDatabaseFile(f);
  check.SetSQL("select PhaseName, A from phases order by PhaseNumber");
  check.Open();
  ASSERT_EQ(check.RecordCount(), 3);
  EXPECT_EQ(check.Value(0, 0).AsString(), "Copper");
  EXPECT_DOUBLE_EQ(check.Value(1, 1).AsFloat(), 4.05);
  EXPECT_EQ(check.Value(2, 0).AsString(), "Gold");
  EXPECT_TRUE(check.Value(2, 1).IsNull());
  // A query over two tables cannot be written.
  TQuery joined;
  joined.SetDatabaseFile(f);
  joined.SetSQL("select * from phases, atoms");
  EXPECT_FALSE(joined.CanModify());
}

TEST(DataLayer, AFileThatIsMissingLockedOrDamagedGivesOneClearError) {
  TTempDir dir;
  const std::string good = MakeFile(dir);
  const std::string damaged = dir.Write("damaged.db", std::string("SQLite format 3") + std::string(2000, '\x7f'));
  const std::string text = dir.Write("text.db", "PhaseNumber;PhaseName\n1;Iron\n");
  TDatabase holder(good, false);
  holder.Execute("begin exclusive");
  struct Case {
    std::string File;
    const char* Fragment;
  } cases[] = {
      {dir.File("none.db"), "does not exist"},
      {good, "is locked by another program"},
      {damaged, "is damaged or is not a database"},
      {text, "is damaged or is not a database"},
  };
  for (const Case& c : cases) {
    TQuery q;
    q.SetDatabaseFile(c.File);
    q.SetSQL("select * from phases");
    try {
      q.Open();
      ADD_FAILURE() << c.File;
    } catch (const EDatabaseError& e) {
      EXPECT_NE(e.Message().find(c.Fragment), std::string::npos) << e.Message();
      EXPECT_NE(e.Message().find(c.File), std::string::npos) << e.Message();
    }
    EXPECT_FALSE(q.Active());
  }
  holder.Execute("rollback");
  // A write that fails inside a transaction leaves nothing of it.
  TDatabase db(good, false);
  db.StartTransaction();
  db.Execute("insert into phases values (9, 'Lead', 4.95)");
  EXPECT_THROW(db.Execute("insert into nothing values (1)"), EDatabaseError);
  db.Rollback();
  TQuery q;
  q.SetDatabaseFile(good);
  q.SetSQL("select * from phases where PhaseNumber = 9");
  q.Open();
  EXPECT_EQ(q.RecordCount(), 0);
}

TEST(DataGrid, ShowsTheQueryAndPostsWhatIsTyped) {
  guitest::EnsureGui();
  TTempDir dir;
  const std::string f = MakeFile(dir);
  TQuery q;
  q.SetDatabaseFile(f);
  q.SetSQL("select * from phases order by PhaseName");
  q.Open();
  TDBGrid grid(nullptr);
  grid.SetOptions({goFixedHorzLine, goHorzLine, goEditing});
  grid.Columns() = {{"PhaseName", "Name", 90, "", false}, {"A", "a", 60, "##0.###", true}};
  grid.SetDataSource(&q);
  EXPECT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(grid.Cells(0, 0), "Name");
  EXPECT_EQ(grid.Cells(0, 1), "Aluminium");
  EXPECT_EQ(grid.Cells(1, 2), "3.615");
  // Choosing a row makes its record current.
  grid.SetRow(3);
  EXPECT_EQ(q.FieldByName("PhaseName").AsString(), "Iron");
  // Typed text is posted when another row is chosen.
  grid.SetEditText(1, 3, "2.87");
  grid.SetRow(1);
  TQuery check;
  check.SetDatabaseFile(f);
  check.SetSQL("select A from phases where PhaseName = 'Iron'");
  check.Open();
  EXPECT_DOUBLE_EQ(check.FieldByName("A").AsFloat(), 2.87);
  // Text in a number field is refused by name and nothing is written.
  TDialogResponder answers;
  grid.SetEditText(1, 1, "4.0x");
  EXPECT_FALSE(grid.PostEdits());
  EXPECT_TRUE(answers.Saw("\"4.0x\" is not a number for a."));
  EXPECT_EQ(grid.Cells(1, 1), "4.05");
  grid.SetDataSource(nullptr);
}

}  // namespace
