// The periodic table: an element picker laid out as the table of the
// elements on a string grid (periods 1 to 7, the lanthanides and actinides
// in the two rows below). The phases window opens it to pick the
// scattering type of an atom.
#pragma once

#include <string>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

class TPlusStringGrid;

class TFormPeriodicTable : public TForm {
  ZV_CLASS(TFormPeriodicTable)
public:
  explicit TFormPeriodicTable(TComponent* AOwner);
  ~TFormPeriodicTable() override;

  TPanel* Panel1;
  TPlusStringGrid* pgrid;
  TButton* ButtonOk;
  TButton* ButtonCancel;

  void FormShow(TObject* Sender);
  std::string CellText(int ACol, int ARow);
  // The symbol in the grid's current cell; empty on an empty cell.
  std::string SelectedElement();
  // Makes the element's cell current; false when the table has no such symbol.
  bool SelectElement(const std::string& Symbol);
};

extern TFormPeriodicTable* FormPeriodicTable;

// The element in column, row (from 0) of the table; empty where there is none.
std::string PeriodicTableSymbol(int Col, int Row);
