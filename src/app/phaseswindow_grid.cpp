// The phases window's atom grid and the window's routines that reach it.
#include <algorithm>

#include "app/phaseswindow.h"
#include "app/phaseswindow_grid.h"
#include "grid/plusgrid_wrappers.h"
#include "platform/ui/menus.h"

ZV_CLASS_IMPL_NOPROPS(TAtomGrid, TPlusStringGrid)

TAtomGrid::TAtomGrid(TComponent* AOwner) : TPlusStringGrid(AOwner) {}

void TAtomGrid::Sync() {
  const auto rows = static_cast<std::size_t>(std::max(RowCount(), 1));
  while (FOrigins.size() < rows) FOrigins.push_back(FOrigins.empty() ? 0 : FNextMark--);
  FOrigins.resize(rows);
}

int TAtomGrid::Origin(int ARow) {
  Sync();
  return ARow >= 1 && ARow < static_cast<int>(FOrigins.size()) ? FOrigins[static_cast<std::size_t>(ARow)] : 0;
}

void TAtomGrid::SetOrigin(int ARow, int Value) {
  Sync();
  if (ARow >= 1 && ARow < static_cast<int>(FOrigins.size()))
    FOrigins[static_cast<std::size_t>(ARow)] = Value != 0 ? Value : FNextMark--;
}

int TAtomGrid::RowOfOrigin(int Value) {
  Sync();
  for (std::size_t r = 1; r < FOrigins.size(); ++r)
    if (FOrigins[r] == Value) return static_cast<int>(r);
  return -1;
}

void TAtomGrid::RemoveRows(int ARow, int ACount) {
  Sync();
  TPlusStringGrid::RemoveRows(ARow, ACount);
  const int first = std::clamp(ARow, 1, static_cast<int>(FOrigins.size()));
  const int last = std::clamp(ARow + ACount, first, static_cast<int>(FOrigins.size()));
  FOrigins.erase(FOrigins.begin() + first, FOrigins.begin() + last);
  Sync();
}

void TAtomGrid::InsertRows(int ARow, int ACount, bool AdjustControls) {
  Sync();
  TPlusStringGrid::InsertRows(ARow, ACount, AdjustControls);
  const int at = std::clamp(ARow, 1, static_cast<int>(FOrigins.size()));
  for (int i = 0; i < ACount; ++i) FOrigins.insert(FOrigins.begin() + at, FNextMark--);
  Sync();
  // A row made here has its vary boxes, cleared, like an added atom.
  for (int r = at; r < at + ACount && r < RowCount(); ++r)
    for (int c = 5; c < ColCount(); c += 2)
      if (!HasCheckBox(c, r)) AddCellCheckBox(c, r, false, false);
}

void TAtomGrid::RowMoved(int FromIndex, int ToIndex) {
  Sync();
  TPlusStringGrid::RowMoved(FromIndex, ToIndex);
  const int n = static_cast<int>(FOrigins.size());
  if (FromIndex < 1 || ToIndex < 1 || FromIndex >= n || ToIndex >= n) return;
  const int v = FOrigins[static_cast<std::size_t>(FromIndex)];
  FOrigins.erase(FOrigins.begin() + FromIndex);
  FOrigins.insert(FOrigins.begin() + ToIndex, v);
}

void TPhaseForm::CreateAtomGrid(TWinControl* Parent) {
  AtomGrid = new TAtomGrid(this);
  AtomGrid->SetName("AtomGrid");
  AtomGrid->SetParent(Parent);
  AtomGrid->SetBounds(6, 190, 740, 196);
  AtomGrid->SetColCount(26);
  AtomGrid->SetRowCount(2);
  AtomGrid->SetFixedRows(1);
  AtomGrid->SetFixedCols(2);
  AtomGrid->SetDefaultRowHeight(21);
  AtomGrid->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goRowMoving,
                        goEditing});
  AtomGrid->Navigation()->SetAllowInsertRow(true);
  AtomGrid->Navigation()->SetAllowDeleteRow(true);
  AtomGrid->OnGetAlignment = [](TObject*, int r, int c, TAlignment& h, TVAlignment&) {
    h = (r == 0 || c < 2) ? taCenter : taRightJustify;
  };
  AtomGrid->OnGetCellColor = [](TObject*, int r, int c, TGridDrawState, TBrush* b, TFont*) {
    if (r >= 2 && r % 2 == 0 && c >= 2) b->SetColor(static_cast<TColor>(0xE0E0E0));
  };
  AtomGrid->OnGetEditorType = [](TObject*, int c, int, TEditorType& e) {
    if (c == 3)
      e = edComboEdit;
    else if (c >= 4 && c % 2 == 0)
      e = edFloat;
  };
  AtomGrid->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { AtomGridKeyDown(s, k, sh); };
  AtomGrid->OnCheckBoxClick = [this](TObject*, int, int, bool) { FDirty = true; };
  AtomGrid->OnClickCell = [this](TObject* s, int, int) { DirtyPhase(s); };
  AtomGrid->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    AtomGridMouseDown(s, b, sh, x, y);
  };
  AtomGrid->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st, bool& a) {
    AtomGridDragOver(s, src, x, y, st, a);
  };
  AtomGrid->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) { AtomGridDragDrop(s, src, x, y); };
}

std::string TPhaseForm::GridCell(int ACol, int ARow) const { return AtomGrid->Cells(ACol, ARow); }
void TPhaseForm::SetGridCell(int ACol, int ARow, const std::string& Value) { AtomGrid->SetCells(ACol, ARow, Value); }
int TPhaseForm::GridRowCount() const { return AtomGrid->RowCount(); }
void TPhaseForm::SetGridRowCount(int Value) { AtomGrid->SetRowCount(Value); }
int TPhaseForm::GridRow() const { return AtomGrid->Row(); }
void TPhaseForm::SetGridRow(int Value) { AtomGrid->SetRow(Value); }
void TPhaseForm::SetGridEnabled(bool Value) { AtomGrid->SetEnabled(Value); }
bool TPhaseForm::GridEnabled() const { return AtomGrid->Enabled(); }

bool TPhaseForm::CellChecked(int ACol, int ARow) const {
  bool state = false;
  return AtomGrid->GetCellCheckState(ACol, ARow, state) && state;
}

void TPhaseForm::SetVaryCell(int ACol, int ARow, bool State) {
  if (!AtomGrid->HasCheckBox(ACol, ARow))
    AtomGrid->AddCellCheckBox(ACol, ARow, State, false);
  else
    AtomGrid->SetCellCheckState(ACol, ARow, State);
}

int TPhaseForm::RowOrigin(int ARow) const { return AtomGrid->Origin(ARow); }
void TPhaseForm::SetRowOrigin(int ARow, int Value) { AtomGrid->SetOrigin(ARow, Value); }
int TPhaseForm::RowOfOrigin(int Value) const { return AtomGrid->RowOfOrigin(Value); }
void TPhaseForm::GridRemoveRow(int ARow) { AtomGrid->RemoveRows(ARow, 1); }
void TPhaseForm::GridMoveRow(int FromRow, int ToRow) { AtomGrid->MoveRow(FromRow, ToRow); }
void TPhaseForm::GridMouseToCell(int X, int Y, int& ACol, int& ARow) const { AtomGrid->MouseToCell(X, Y, ACol, ARow); }
TRect TPhaseForm::GridCellRect(int ACol, int ARow) const { return AtomGrid->CellRect(ACol, ARow); }
bool TPhaseForm::IsStringGrid(TObject* Source) const { return dynamic_cast<TPlusStringGrid*>(Source) != nullptr; }

void TPhaseForm::SetTypeChoices(const TStrings& Items) {
  if (auto* combo = AtomGrid->ComboEditor()) combo->Items()->Assign(Items);
}

void TPhaseForm::SetGridColWidth(int ACol, int Width) { AtomGrid->SetColWidths(ACol, Width); }
void TPhaseForm::SetGridPopup(TPopupMenu* Menu) { AtomGrid->SetPopupMenu(Menu); }
void TPhaseForm::BeginGridDrag() { AtomGrid->BeginDrag(false); }
void TPhaseForm::CopyGridToClipboard() { AtomGrid->CopyGridToClipboard(); }
void TPhaseForm::SaveGridSheet(const std::string& FileName) { AtomGrid->SaveExcelFile(FileName, true); }
void TPhaseForm::LoadGridSheet(const std::string& FileName) { AtomGrid->LoadExcelFile(FileName); }
