// The refinement window's agreement-factor grid, in a unit of its own: the
// string grid and the model both name a class TBackGround.
#include <algorithm>

#include "app/refinewindow.h"
#include "grid/plusgrid.h"
#include "platform/rtl/format.h"

void TRefineForm::CreateFactorGrid(TWinControl* Parent) {
  StringGrid1 = new TPlusStringGrid(this);
  StringGrid1->SetParent(Parent);
  StringGrid1->SetBounds(4, 72, 196, 21);
  StringGrid1->SetColCount(4);
  StringGrid1->SetFixedRows(0);
  StringGrid1->SetFixedCols(0);
  StringGrid1->SetRowCount(1);
  StringGrid1->SetDefaultRowHeight(17);
  StringGrid1->SetDefaultColWidth(Screen->PixelsPerInch() == 120 ? 50 : 40);
  StringGrid1->SetHint("Goodness of refinement");
}

void TRefineForm::ResetFactorGrid(int Histograms) {
  StringGrid1->SetRowCount(std::max(Histograms, 1));
  StringGrid1->SetHeight(std::min(Histograms * StringGrid1->DefaultRowHeight() + 4, 90));
  for (int r = 0; r < StringGrid1->RowCount(); ++r)
    for (int c = 1; c <= 3; ++c) StringGrid1->SetCells(c, r, "");
}

void TRefineForm::SetFactorRow(int Histogram, double Rp, double Rwp, double Chi2) {
  if (StringGrid1->RowCount() < Histogram) StringGrid1->SetRowCount(Histogram);
  const int row = Histogram - 1;
  StringGrid1->SetCells(0, row, Format("%3d", {Histogram}));
  StringGrid1->SetCells(1, row, Format("%8.3f", {Rp}));
  StringGrid1->SetCells(2, row, Format("%8.3f", {Rwp}));
  StringGrid1->SetCells(3, row, Format("%8.3f", {Chi2}));
}

void TRefineForm::SetFactorFirstColumnWidth(int Width) { StringGrid1->SetColWidths(0, Width); }

std::string TRefineForm::FactorCell(int ACol, int ARow) { return StringGrid1->Cells(ACol, ARow); }

int TRefineForm::FactorRowCount() const { return StringGrid1->RowCount(); }

int TRefineForm::FactorGridHeight() const { return StringGrid1->Height(); }
