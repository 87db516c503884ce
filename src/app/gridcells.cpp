// In a unit of its own: see gridcells.h.
#include "app/gridcells.h"

#include <memory>

#include "grid/plusgrid.h"

TPlusStringGrid* NewEditorGrid(TComponent* Owner, TWinControl* Parent, int Cols, int Rows) {
  auto* g = new TPlusStringGrid(Owner);
  g->SetParent(Parent);
  g->SetColCount(Cols);
  g->SetRowCount(Rows);
  g->SetFixedRows(1);
  g->SetFixedCols(1);
  TGridOptions o = g->Options();
  o.Include(goEditing);
  g->SetOptions(o);
  return g;
}

TControl* GridControl(TPlusStringGrid* Grid) { return Grid; }

std::string GridCell(TPlusStringGrid* Grid, int Col, int Row) { return Grid->Cells(Col, Row); }

void SetGridCell(TPlusStringGrid* Grid, int Col, int Row, const std::string& Text) { Grid->SetCells(Col, Row, Text); }

int GridRowCount(TPlusStringGrid* Grid) { return Grid->RowCount(); }

void SetGridRowCount(TPlusStringGrid* Grid, int Rows) { Grid->SetRowCount(Rows); }

void SetGridFixed(TPlusStringGrid* Grid, int FixedRows, int FixedCols) {
  Grid->SetFixedRows(FixedRows);
  Grid->SetFixedCols(FixedCols);
}

void SetGridColWidth(TPlusStringGrid* Grid, int Col, int Width) { Grid->SetColWidths(Col, Width); }

void SetGridRowHeight(TPlusStringGrid* Grid, int Height) {
  Grid->SetDefaultRowHeight(Height);
  for (int r = 0; r < Grid->RowCount(); ++r) Grid->SetRowHeights(r, Height);
}

void SetGridRowMoving(TPlusStringGrid* Grid, bool On) {
  TGridOptions o = Grid->Options();
  if (On)
    o.Include(goRowMoving);
  else
    o.Exclude(goRowMoving);
  Grid->SetOptions(o);
}

bool GridHasCheck(TPlusStringGrid* Grid, int Col, int Row) { return Grid->HasCheckBox(Col, Row); }

bool GridChecked(TPlusStringGrid* Grid, int Col, int Row) {
  bool state = false;
  return Grid->GetCellCheckState(Col, Row, state) && state;
}

void SetGridCheck(TPlusStringGrid* Grid, int Col, int Row, bool Checked) {
  if (!Grid->HasCheckBox(Col, Row))
    Grid->AddCellCheckBox(Col, Row, Checked, false);
  else
    Grid->SetCellCheckState(Col, Row, Checked);
}

void RemoveGridCheck(TPlusStringGrid* Grid, int Col, int Row) { Grid->RemoveCellGraphic(Col, Row); }

void SetGridEditors(TPlusStringGrid* Grid, int FloatCol, int CheckCol) {
  Grid->OnGetEditorType = [FloatCol, CheckCol](TObject*, int ACol, int, TEditorType& AEditor) {
    if (ACol == FloatCol) AEditor = edFloat;
    if (ACol == CheckCol) AEditor = edCheckBox;
  };
}

void SetGridOnUserChange(TPlusStringGrid* Grid, std::function<void()> Changed) {
  auto shared = std::make_shared<std::function<void()>>(std::move(Changed));
  Grid->OnCellsChanged = [shared](TObject*, const TRect&) { (*shared)(); };
  Grid->OnKeyPress = [shared](TObject*, char&) { (*shared)(); };
  Grid->OnCheckBoxClick = [shared](TObject*, int, int, bool) { (*shared)(); };
  Grid->OnEditingDone = [shared](TObject*) { (*shared)(); };
}

void TypeIntoGridCell(TPlusStringGrid* Grid, int Col, int Row, const std::string& Text) {
  Grid->SetCells(Col, Row, Text);
  if (Grid->OnCellsChanged) Grid->OnCellsChanged(Grid, Rect(Col, Row, Col, Row));
}
