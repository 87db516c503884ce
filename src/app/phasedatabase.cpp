#include "app/phasedatabase.h"

#include "app/mainlink.h"
#include "model/global.h"
#include "platform/dialogs.h"

ZV_CLASS_IMPL_NOPROPS(TPhDataForm, TForm)

void EnsurePhaseTable(TDatabase& Db, bool Phases, const std::string& Schema) {
  const std::string table = Phases ? "phases" : "atoms";
  if (Db.TableExists(table, Schema)) return;
  if (Phases)
    Db.Execute("create table " + Schema +
               ".phases (PhaseNumber integer primary key, PhaseName varchar(50), SpaceGroup varchar(20), "
               "A real, B real, C real, Alpha real, Beta real, Gamma real)");
  else
    Db.Execute("create table " + Schema +
               ".atoms (PhaseNumber integer, AtomName varchar(4), AtomType varchar(4), x real, y real, z real, "
               "Biso real, Occupation real)");
}

void EnsurePhaseDatabase() {
  {
    TDatabase phases(PhaseDatabase, true);
    EnsurePhaseTable(phases, true);
  }
  TDatabase atoms(AtomDatabase, true);
  EnsurePhaseTable(atoms, false);
}

namespace {

TButton* AddButton(TForm* form, const char* caption, int x, int y) {
  auto* b = new TButton(form);
  b->SetParent(form);
  b->SetCaption(caption);
  b->SetBounds(x, y, 75, 25);
  return b;
}

}  // namespace

TPhDataForm::TPhDataForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("PhDataForm");
  SetCaption("Phase Database");
  SetBorderStyle(bsSingle);
  SetClientWidth(640);
  SetClientHeight(440);
  DBGrid1 = new TDBGrid(this);
  DBGrid1->SetName("DBGrid1");
  DBGrid1->SetParent(this);
  DBGrid1->SetBounds(8, 8, 624, 190);
  DBGrid1->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing, goDrawFocusSelected});
  DBGrid1->Columns() = {{"PhaseName", "PhaseName", 100, "", false},  {"SpaceGroup", "SpaceGroup", 80, "", false},
                        {"A", "a", 64, "##0.#####", true},          {"B", "b", 64, "##0.#####", true},
                        {"C", "c", 64, "##0.#####", true},          {"Alpha", "\u03b1", 56, "###.####", true},
                        {"Beta", "\u03b2", 56, "###.####", true},   {"Gamma", "\u03b3", 56, "###.####", true}};
  DBGrid2 = new TDBGrid(this);
  DBGrid2->SetName("DBGrid2");
  DBGrid2->SetParent(this);
  DBGrid2->SetBounds(8, 206, 624, 190);
  DBGrid2->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing, goColSizing});
  DBGrid2->AllowAppend = false;
  DBGrid2->Columns() = {{"AtomName", "AtomName", 70, "", false}, {"AtomType", "AtomType", 70, "", false},
                        {"x", "x", 70, "0.#####", true},          {"y", "y", 70, "0.#####", true},
                        {"z", "z", 70, "0.#####", true},          {"Biso", "Biso", 70, "##0.####", true},
                        {"Occupation", "Occupation", 80, "#0.#####", true}};
  ButtonOK = AddButton(this, "OK", 8, 406);
  ButtonOK->SetDefault(true);
  ButtonOK->OnClick = [this](TObject* s) { ButtonOKClick(s); };
  ButtonSearch = AddButton(this, "Search", 92, 406);
  ButtonCancel = AddButton(this, "Cancel", 176, 406);
  ButtonCancel->SetModalResult(mrCancel);
  ButtonCancel->SetCancel(true);
  ButtonHelp = AddButton(this, "Help", 260, 406);
  ButtonDelete = AddButton(this, "Delete", 344, 406);
  FindDialog1 = new TFindDialog(this);
  ButtonSearch->OnClick = [this](TObject*) { FindDialog1->Execute(); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
  OnClose = [](TObject*, TCloseAction&) { SetLastActiveControl(nullptr); };
  // Laid out for 96 pixels per inch.
  ScaleToScreen();
}

TPhDataForm::~TPhDataForm() {
  DBGrid1->SetDataSource(nullptr);
  DBGrid2->SetDataSource(nullptr);
  Query2.SetMaster(nullptr);
  if (GetLastActiveControl() && GetLastActiveControl()->Owner() == this) SetLastActiveControl(nullptr);
}

bool TPhDataForm::OpenData() {
  try {
    EnsurePhaseDatabase();
    Query1.SetDatabaseFile(PhaseDatabase);
    Query1.SetSQL("select * from phases order by PhaseName");
    Query2.SetDatabaseFile(AtomDatabase);
    Query2.SetSQL("select AtomName, AtomType,x,y,z,Biso,Occupation from atoms where phasenumber = :phasenumber");
    Query2.ParamByName("PhaseNumber") = TDbValue();
    Query2.SetMaster(&Query1);
    Query1.Open();
    Query2.Open();
  } catch (const EDatabaseError& e) {
    ShowMessage(e.Message());
    return false;
  }
  DBGrid1->SetDataSource(&Query1);
  DBGrid2->SetDataSource(&Query2);
  return true;
}

void TPhDataForm::ButtonOKClick(TObject*) {
  DBGrid1->PostEdits();
  DBGrid2->PostEdits();
  SelectedDatabasePhase = static_cast<int>(Query1.FieldByName("PhaseNumber").AsInteger());
  SetModalResult(mrOk);
}

void TPhDataForm::FormDeactivate(TObject*) { SetLastActiveControl(ActiveControl()); }
