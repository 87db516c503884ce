// The phases window's commands on the phase database: a phase picked in the
// database window is copied into the page, and the page is added to the
// database as a new phase with its atoms.
#include "app/phasedatabase.h"
#include "app/phaseswindow.h"
#include "model/brkapart.h"
#include "model/global.h"
#include "platform/dialogs.h"
#include "platform/rtl/strutils.h"

void TPhaseForm::SelectfromDatabase1Click(TObject*) {
  if (!Model || !Model->Phase(CurrentPhase())) return;
  TPhDataForm form(this);
  if (!form.OpenData() || form.ShowModal() != mrOk) return;
  const TDbValue number = TDbValue(SelectedDatabasePhase);
  std::vector<std::string> columns, atomColumns;
  std::vector<std::vector<TDbValue>> rows, atoms;
  try {
    {
      TDatabase db(PhaseDatabase, false);
      db.Select("Select * from phases where phasenumber = :phasenumber", {{"PhaseNumber", number}}, columns, rows);
    }
    TDatabase db(AtomDatabase, false);
    db.Select("Select * from atoms where phasenumber = :phasenumber", {{"PhaseNumber", number}}, atomColumns, atoms);
  } catch (const EDatabaseError& e) {
    ShowMessage(e.Message());
    return;
  }
  // An empty table gives no phase: the page stays as it was.
  if (rows.empty()) return;
  auto field = [](const std::vector<std::string>& names, const std::vector<TDbValue>& row, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i)
      if (SameText(names[i], name)) return row[i];
    return TDbValue();
  };
  const std::vector<TDbValue>& phase = rows.front();
  FLoading = true;
  const char* cellFields[6] = {"a", "b", "c", "alpha", "beta", "gamma"};
  for (int i = 0; i < 6; ++i) CellEdit(i)->SetText(RealToStrFixed(field(columns, phase, cellFields[i]).AsFloat(), 8, 5));
  PhaseTitleEdit->SetText(field(columns, phase, "PhaseName").AsString());
  SpaceGroupEdit->SetText(Utf8Left(field(columns, phase, "SpaceGroup").AsString(), 20));
  // The page's atoms are replaced by the database's: new atoms when saved.
  SetGridRowCount(std::max<int>(static_cast<int>(atoms.size()), 1) + 1);
  ClearGrid(1);
  SetRowOrigin(1, 0);
  const char* values[5] = {"x", "y", "z", "Biso", "Occupation"};
  for (std::size_t k = 0; k < atoms.size(); ++k) {
    const int r = static_cast<int>(k + 1);
    ClearGrid(r);
    SetRowOrigin(r, 0);
    SetGridCell(2, r, field(atomColumns, atoms[k], "AtomName").AsString());
    SetGridCell(3, r, field(atomColumns, atoms[k], "AtomType").AsString());
    for (int t = 1; t <= 5; ++t)
      SetGridCell(2 + 2 * t, r, RealToStrFixed(field(atomColumns, atoms[k], values[t - 1]).AsFloat(), 7, 5));
    for (int t = 6; t <= 11; ++t) SetGridCell(2 + 2 * t, r, RealToStrFixed(0, 7, 5));
  }
  FLoading = false;
  UpdateMult();
  UpdateSpaceGroup();
  DirtyPhase(this);
}

void TPhaseForm::AddtoDatabase1Click(TObject*) {
  try {
    TDatabase db(PhaseDatabase, true);
    EnsurePhaseTable(db, true);
    // Both files in one transaction, so a failure never leaves half a phase.
    const bool oneFile = PhaseDatabase == AtomDatabase;
    const std::string atoms = oneFile ? "main" : "atomsdb";
    if (!oneFile) db.Attach(AtomDatabase, atoms, true);
    EnsurePhaseTable(db, false, atoms);
    db.StartTransaction();
    std::vector<std::string> c;
    std::vector<std::vector<TDbValue>> r;
    db.Select("select coalesce(max(PhaseNumber), 0) + 1 from phases", {}, c, r);
    const TDbValue number = r.front().front();
    std::map<std::string, TDbValue> p{{"n", number}, {"name", PhaseTitleEdit->Text()}, {"sg", SpaceGroupEdit->Text()}};
    const char* cell[6] = {"a", "b", "c", "al", "be", "ga"};
    for (int i = 0; i < 6; ++i) p[cell[i]] = ColumnsToReal(CellEdit(i)->Text(), 1, 10);
    db.Execute("insert into phases (PhaseNumber, PhaseName, SpaceGroup, A, B, C, Alpha, Beta, Gamma) "
               "values (:n, :name, :sg, :a, :b, :c, :al, :be, :ga)",
               p);
    for (int row = 1; row < GridRowCount(); ++row) {
      bool empty = Trim(GridCell(2, row)).empty() && Trim(GridCell(3, row)).empty();
      for (int t = 1; t <= 5 && empty; ++t) empty = Trim(GridCell(2 + 2 * t, row)).empty();
      if (empty) continue;
      std::map<std::string, TDbValue> a{{"n", number}, {"name", GridCell(2, row)}, {"type", GridCell(3, row)}};
      const char* names[5] = {"x", "y", "z", "b", "o"};
      for (int t = 1; t <= 5; ++t) {
        double v = 0;
        a[names[t - 1]] = TryTextToDouble(Trim(GridCell(2 + 2 * t, row)), v) && FitsSingle(v) ? TDbValue(v) : TDbValue();
      }
      db.Execute("insert into " + atoms +
                     ".atoms (PhaseNumber, AtomName, AtomType, x, y, z, Biso, Occupation) "
                     "values (:n, :name, :type, :x, :y, :z, :b, :o)",
                 a);
    }
    db.Commit();
  } catch (const EDatabaseError& e) {
    ShowMessage(e.Message());
  }
}
