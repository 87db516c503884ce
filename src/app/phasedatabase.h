// The phase database: two SQLite files (PhaseDatabase holding the table
// phases, AtomDatabase the table atoms), made with empty tables on first
// use. The window lists the phases by name with the atoms of the one
// selected, both editable, and gives the chosen phase's number.
#pragma once

#include <memory>

#include "platform/db/dataset.h"
#include "platform/db/dbgrid.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

// Opens (making when missing) a database file and makes the table it holds
// when it has none: phases or atoms. Raises EDatabaseError.
void EnsurePhaseTable(TDatabase& Db, bool Phases, const std::string& Schema = "main");
void EnsurePhaseDatabase();

class TPhDataForm : public TForm {
  ZV_CLASS(TPhDataForm)
public:
  explicit TPhDataForm(TComponent* AOwner);
  ~TPhDataForm() override;

  TQuery Query1;
  TQuery Query2;
  TDBGrid* DBGrid1;
  TDBGrid* DBGrid2;
  TButton* ButtonOK;
  TButton* ButtonSearch;
  TButton* ButtonCancel;
  TButton* ButtonHelp;
  TButton* ButtonDelete;
  TFindDialog* FindDialog1;

  // Opens the two queries; false, after one message, when the files cannot be read.
  bool OpenData();
  void ButtonOKClick(TObject* Sender);
  void FormDeactivate(TObject* Sender);
};
