// The string-grid work of the model editor windows, behind plain functions:
// the string grid and the model both name a class TBackGround, so a window
// that reads the model reaches its grids only through these.
#pragma once

#include <functional>
#include <string>

class TComponent;
class TControl;
class TPlusStringGrid;
class TWinControl;

// A grid with the given columns and rows (one fixed row and column), editing on.
TPlusStringGrid* NewEditorGrid(TComponent* Owner, TWinControl* Parent, int Cols, int Rows);
TControl* GridControl(TPlusStringGrid* Grid);

std::string GridCell(TPlusStringGrid* Grid, int Col, int Row);
void SetGridCell(TPlusStringGrid* Grid, int Col, int Row, const std::string& Text);
int GridRowCount(TPlusStringGrid* Grid);
void SetGridRowCount(TPlusStringGrid* Grid, int Rows);
void SetGridFixed(TPlusStringGrid* Grid, int FixedRows, int FixedCols);
void SetGridColWidth(TPlusStringGrid* Grid, int Col, int Width);
void SetGridRowHeight(TPlusStringGrid* Grid, int Height);
// Rows can be dragged to another place.
void SetGridRowMoving(TPlusStringGrid* Grid, bool On);

// Check boxes: GridChecked is false for a cell without one; SetGridCheck
// adds one where the cell has none.
bool GridHasCheck(TPlusStringGrid* Grid, int Col, int Row);
bool GridChecked(TPlusStringGrid* Grid, int Col, int Row);
void SetGridCheck(TPlusStringGrid* Grid, int Col, int Row, bool Checked);
void RemoveGridCheck(TPlusStringGrid* Grid, int Col, int Row);

// In-place editors: a float editor in FloatCol, check boxes in CheckCol (-1: none).
void SetGridEditors(TPlusStringGrid* Grid, int FloatCol, int CheckCol);
// Called when the user changes the grid: a cell edited or begun to be
// edited, a key typed, a check box clicked.
void SetGridOnUserChange(TPlusStringGrid* Grid, std::function<void()> Changed);
// What the user typing in a cell does, as an edit ended by the grid would.
void TypeIntoGridCell(TPlusStringGrid* Grid, int Col, int Row, const std::string& Text);
