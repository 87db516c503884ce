// Rows and columns inserted, removed and cleared, keeping in step what hangs
// on them: records and graphics, heights and widths, hidden-row records,
// disjunct row marks, modified-row marks and cell controls.
#include <algorithm>

#include "grid/plusgrid.h"

namespace {

// Releases the redraw lock however the operation ends.
class TRedrawLock {
public:
  explicit TRedrawLock(TPlusStringGrid* G) : FGrid(G) { FGrid->LockRedraw(); }
  ~TRedrawLock() { FGrid->UnlockRedraw(); }
  TRedrawLock(const TRedrawLock&) = delete;
  TRedrawLock& operator=(const TRedrawLock&) = delete;

private:
  TPlusStringGrid* FGrid;
};

// Erases [At, At + Count) of a row-indexed list, as far as the list reaches.
template <class V>
void EraseRange(V& List, int At, int Count) {
  const int n = static_cast<int>(List.size());
  if (At >= n) return;
  List.erase(List.begin() + At, List.begin() + std::min(n, At + Count));
}

}  // namespace

// ---------------------------------------------------------------------------
// Moving column data

void TPlusStringGrid::MoveColData(int From, int To) {
  if (From == To) return;
  for (int r = 0; r < RowCount(); ++r) {
    SetCellRaw(To, r, GetCellRaw(From, r));
    TObject* o = GetCellObject(From, r);
    SetCellObject(To, r, o);
    if (auto* p = dynamic_cast<TCellProperties*>(o)) p->SetOwnerCol(To);
    SetCellObject(From, r, nullptr);
    SetCellRaw(From, r, "");
  }
}

// ---------------------------------------------------------------------------
// Selection parked while no row can be selected

void TPlusStringGrid::HideSelection() {
  if (!FSelectionHidden) FHiddenSelection = Selection();
  FSelectionHidden = true;
}

void TPlusStringGrid::RestoreSelection() {
  if (!FSelectionHidden) return;
  FSelectionHidden = false;
  TGridRect s = FHiddenSelection;
  if (s.Left < ColCount() && s.Top < RowCount()) {
    s.Right = std::min(s.Right, ColCount() - 1);
    s.Bottom = std::min(s.Bottom, RowCount() - 1);
    TCustomGrid::SetSelection(s);
    return;
  }
  int c = TCustomGrid::FixedCols(), r = TCustomGrid::FixedRows();
  if (c >= ColCount()) c = 0;
  if (r >= RowCount()) r = 0;
  TCustomGrid::SetSelection(TGridRect{c, r, c, r});
}

// ---------------------------------------------------------------------------
// Inserting rows

void TPlusStringGrid::InsertRows(int ARow, int ACount, bool AdjustControls) {
  if (ACount <= 0 || ARow < 0) return;
  ARow = std::min(ARow, RowCount());
  const int oldCount = RowCount();
  // Hidden rows after the insertion point move down with the rows they sit
  // between, so that showing them again puts them back in their place.
  const int realAt = ARow < oldCount ? RealRowIndex(ARow) : RealRowIndex(oldCount - 1) + 1;
  const int lastWidth = ColWidths(ColCount() - 1);
  {
    TRedrawLock lock(this);
    SetRowCount(oldCount + ACount);
    for (int r = oldCount - 1; r >= ARow; --r) MoveRowData(r, r + ACount);
    for (int r = ARow; r < ARow + ACount; ++r) SetRowHeights(r, DefaultRowHeight());
    for (int i = 0; i < NumHiddenRows(); ++i)
      if (HiddenItem(i)->Idx() >= realAt) HiddenItem(i)->SetIdx(HiddenItem(i)->Idx() + ACount);
    if (FShowModified->Enabled() && ARow < static_cast<int>(FRowModified.size()))
      FRowModified.insert(FRowModified.begin() + ARow, static_cast<size_t>(ACount), false);
    SetColWidths(ColCount() - 1, lastWidth);
    if (AdjustControls)
      for (int i = 0; i < FControlList->Count(); ++i)
        if (TControlItem* it = FControlList->GetControl(i); it->Row >= ARow) it->Row += ACount;
  }
  if (!ComponentState().Contains(csDestroying)) CellsChanged(TRect(0, ARow, ColCount() - 1, ARow + ACount));
}

// ---------------------------------------------------------------------------
// Removing rows

void TPlusStringGrid::PlaceCurrentAfterRemoval(int SavedRow, int SavedTop) {
  const int firstNormal = TCustomGrid::FixedRows();
  const int footerStart = RowCount() - FFixedFooters;
  if (SavedRow < footerStart && SavedRow >= firstNormal) {
    SetRow(SavedRow);
    SetTopRow(std::max(firstNormal, std::min(SavedTop, RowCount() - 1)));
  } else if (footerStart > firstNormal) {
    SetRow(footerStart - 1);
  } else {
    HideSelection();
  }
}

void TPlusStringGrid::RemoveRows(int ARow, int ACount) { DeleteRowsCore(ARow, ACount, true); }

void TPlusStringGrid::DeleteRowsCore(int ARow, int ACount, bool AdjustHidden) {
  if (ARow < 0 || ACount <= 0 || ARow >= RowCount()) return;
  ACount = std::min(ACount, RowCount() - ARow);
  const int realAt = RealRowIndex(ARow);
  const int lastWidth = ColWidths(ColCount() - 1);
  const int savedTop = TopRow(), savedRow = Row();
  {
    TRedrawLock lock(this);
    const int cols = GetAllColCount();
    for (int r = ARow; r < ARow + ACount; ++r)
      for (int c = 0; c < cols; ++c) FreeCellObject(c, r);
    if (AdjustHidden)
      for (int i = 0; i < NumHiddenRows(); ++i)
        if (HiddenItem(i)->Idx() > realAt) HiddenItem(i)->SetIdx(HiddenItem(i)->Idx() - ACount);
    if (FMouseActions->DisjunctRowSelect() && !FMouseActions->RowSelectPersistent()) {
      EraseRange(FRowSelectFlags, ARow, ACount);
      std::vector<int> kept;
      for (int r : FSelectedRows) {
        if (r >= ARow && r < ARow + ACount) continue;
        kept.push_back(r >= ARow + ACount ? r - ACount : r);
      }
      FSelectedRows = std::move(kept);
    }
    // The modified marks follow their rows as they do on insertion.
    EraseRange(FRowModified, ARow, ACount);
    // Removing every row leaves the layer's one row, emptied here.
    RemoveRowsKeepObjects(ARow, ACount);
    PlaceCurrentAfterRemoval(savedRow, savedTop);
    SetColWidths(ColCount() - 1, lastWidth);
    CellsChanged(TRect(0, ARow, ColCount() - 1, ARow + ACount));
  }
  if (TopRow() > RowCount() - 1) SetTopRow(RowCount() - 1);
  if (Row() > RowCount() - 1 && RowCount() - FFixedFooters > TCustomGrid::FixedRows()) {
    SetRow(TCustomGrid::FixedRows());
    HideSelection();
  }
}

void TPlusStringGrid::RemoveRowsShifted(int ARow, int ACount) {
  if (ARow < 0 || ACount <= 0 || ARow >= RowCount()) return;
  ACount = std::min(ACount, RowCount() - ARow);
  for (int i = 0; i < FControlList->Count(); ++i)
    if (TControlItem* it = FControlList->GetControl(i); it->Row >= ARow + ACount) it->Row -= ACount;
  const int cols = GetAllColCount();
  for (int r = ARow; r < ARow + ACount; ++r)
    for (int c = 0; c < cols; ++c) FreeCellObject(c, r);
  const int realAt = RealRowIndex(ARow);
  const int savedTop = TopRow(), savedRow = Row();
  {
    TRedrawLock lock(this);
    for (int i = 0; i < NumHiddenRows(); ++i)
      if (HiddenItem(i)->Idx() > realAt) HiddenItem(i)->SetIdx(HiddenItem(i)->Idx() - ACount);
    if (FShowModified->Enabled()) EraseRange(FRowModified, ARow, ACount);
    EraseRange(FRowSelectFlags, ARow, ACount);
    RemoveRowsKeepObjects(ARow, ACount);
    FMaxRowCountSet = std::max(RowCount(), FMaxRowCountSet - ACount);
    PlaceCurrentAfterRemoval(savedRow, savedTop);
    CellsChanged(TRect(0, ARow, ColCount() - 1, ARow + ACount));
  }
  const int top = RowCount() + TCustomGrid::FixedRows() - VisibleRowCount() - 2;
  if (TopRow() >= top && RowCount() - VisibleRowCount() - 1 > 0) SetTopRow(top);
}

void TPlusStringGrid::RemoveRowsUnreleased(int ARow, int ACount) {
  if (ARow < 0 || ACount <= 0 || ARow >= RowCount()) return;
  ACount = std::min(ACount, RowCount() - ARow);
  const int realAt = RealRowIndex(ARow);
  const int savedTop = TopRow(), savedRow = Row();
  {
    TRedrawLock lock(this);
    const int cols = GetAllColCount();
    // The caller holds the records of these rows now.
    for (int r = ARow; r < ARow + ACount; ++r)
      for (int c = 0; c < cols; ++c) SetCellObject(c, r, nullptr);
    std::vector<int> heights;
    for (int r = 0; r < RowCount(); ++r) heights.push_back(RowHeights(r));
    RemoveRowsKeepObjects(ARow, ACount);
    for (int r = 0; r < RowCount(); ++r) SetRowHeights(r, heights[static_cast<size_t>(r)]);
    EraseRange(FRowSelectFlags, ARow, ACount);
    FMaxRowCountSet = std::max(RowCount(), FMaxRowCountSet - ACount);
    if (savedRow < RowCount()) {
      SetRow(savedRow);
      SetTopRow(std::min(savedTop, RowCount() - 1));
    } else if (TCustomGrid::FixedRows() < RowCount()) {
      SetRow(TCustomGrid::FixedRows());
      SetTopRow(TCustomGrid::FixedRows());
    }
    for (int i = 0; i < NumHiddenRows(); ++i)
      if (HiddenItem(i)->Idx() > realAt) HiddenItem(i)->SetIdx(HiddenItem(i)->Idx() - ACount);
    CellsChanged(TRect(0, ARow, ColCount() - 1, ARow + ACount));
  }
}

// ---------------------------------------------------------------------------
// Columns

void TPlusStringGrid::RemoveCols(int ACol, int ACount) {
  if (ACol < 0 || ACount <= 0 || ACol >= ColCount()) return;
  ACount = std::min(ACount, ColCount() - ACol);
  {
    TRedrawLock lock(this);
    ClearCols(ACol, ACount);
    const int cols = GetAllColCount();
    for (int c = ACol; c + ACount < cols; ++c) {
      MoveColData(c + ACount, c);
      SetColWidths(c, ColWidths(c + ACount));
      FColVisible[static_cast<size_t>(c)] = FColVisible[static_cast<size_t>(c + ACount)];
    }
    // Hidden rows keep their cells in their records: those columns go too.
    for (int i = 0; i < NumHiddenRows(); ++i) {
      TStringList* l = HiddenItem(i)->Items();
      for (int k = std::min(l->Count(), ACol + ACount) - 1; k >= ACol; --k) {
        delete l->Objects(k);
        l->Delete(k);
      }
    }
    EraseRange(FColSelectFlags, ACol, ACount);
    SetColCount(std::max(1, ColCount() - ACount));
  }
  CellsChanged(TRect(ACol, 0, ACol + ACount, RowCount() - 1));
}

void TPlusStringGrid::InsertCols(int ACol, int ACount) {
  if (ACol < 0 || ACount <= 0) return;
  ACol = std::min(ACol, ColCount());
  TRedrawLock lock(this);
  const int oldCols = GetAllColCount();
  SetColCount(ColCount() + ACount);
  for (int c = oldCols - 1; c >= ACol; --c) {
    MoveColData(c, c + ACount);
    FColVisible[static_cast<size_t>(c + ACount)] = FColVisible[static_cast<size_t>(c)];
    if (c < ColCount() - ACount) SetColWidths(c + ACount, ColWidths(c));
  }
  for (int c = ACol; c < ACol + ACount; ++c) {
    FColVisible[static_cast<size_t>(c)] = true;
    SetColWidths(c, DefaultColWidth());
  }
  for (int i = 0; i < NumHiddenRows(); ++i) {
    TStringList* l = HiddenItem(i)->Items();
    if (ACol > l->Count()) continue;
    for (int k = 0; k < ACount; ++k) l->Insert(ACol, "");
  }
  if (ACol < static_cast<int>(FColSelectFlags.size()))
    FColSelectFlags.insert(FColSelectFlags.begin() + ACol, static_cast<size_t>(ACount), false);
}

// ---------------------------------------------------------------------------
// Clearing

void TPlusStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  if (ACol1 > ACol2) std::swap(ACol1, ACol2);
  if (ARow1 > ARow2) std::swap(ARow1, ARow2);
  ARow1 = std::max(ARow1, 0);
  ARow2 = std::min(ARow2, RowCount() - 1);
  ACol1 = std::max(ACol1, 0);
  const bool destroying = ComponentState().Contains(csDestroying);
  const int allCols = GetAllColCount();
  for (int r = ARow1; r <= ARow2; ++r)
    for (int c = ACol1; c <= ACol2; ++c) {
      const int rc = RealColIndex(c);
      if (rc < 0 || rc >= allCols) continue;
      if (HasCellProperties(rc, r)) {
        if (FClearDetachesOnly) SetCellObject(rc, r, nullptr);
        else FreeCellObject(rc, r);  // the record owns the graphic
      }
      if (destroying) continue;
      if (!GetCellText(rc, r).empty()) {
        SetCellText(rc, r, "");
        if (rc != c) RepaintCell(c, r);
      }
    }
  if (!destroying) CellsChanged(TRect(RealColIndex(ACol1), ARow1, RealColIndex(ACol2), ARow2));
}

void TPlusStringGrid::ClearRows(int ARow, int ACount) {
  if (RowCount() <= 0 || ColCount() <= 0 || ACount <= 0) return;
  ClearRect(0, ARow, GetAllColCount() - 1, ARow + ACount - 1);
}

void TPlusStringGrid::ClearCols(int ACol, int ACount) {
  if (RowCount() <= 0 || ColCount() <= 0 || ACount <= 0) return;
  ClearRect(ACol, 0, ACol + ACount - 1, RowCount() - 1);
}

void TPlusStringGrid::ClearAll() {
  TRedrawLock lock(this);
  if (HasNodes() && !ComponentState().Contains(csDestroying)) RemoveAllNodes();
  ClearRect(0, 0, GetAllColCount() - 1, RowCount() - 1);
}

void TPlusStringGrid::AddRow() {
  // A floating footer stays the last row.
  if (FloatingFooterRow() && RowCount() > 1) InsertRows(RowCount() - 1, 1, true);
  else InsertRows(RowCount(), 1, true);
}

void TPlusStringGrid::RemoveSelectedRows() {
  TRedrawLock lock(this);
  if (FMouseActions->DisjunctRowSelect()) {
    const bool persistent = FMouseActions->RowSelectPersistent();
    for (int r = RowCount() - FFixedFooters - 1; r >= TCustomGrid::FixedRows(); --r) {
      const int idx = persistent ? RealRowIndex(r) : r;
      if (idx < static_cast<int>(FRowSelectFlags.size()) && FRowSelectFlags[static_cast<size_t>(idx)]) {
        if (persistent) {
          FRowSelectFlags[static_cast<size_t>(idx)] = false;
          FSelectedRows.erase(std::remove(FSelectedRows.begin(), FSelectedRows.end(), idx), FSelectedRows.end());
        }
        RemoveRows(r, 1);
      }
    }
    return;
  }
  const TGridRect s = Selection();
  const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
  for (int r = bottom; r >= top; --r) RemoveRows(r, 1);
}

void TPlusStringGrid::ClearSelection() {
  if (FMouseActions->DisjunctRowSelect()) {
    const bool persistent = FMouseActions->RowSelectPersistent();
    for (int r = 0; r < RowCount(); ++r) {
      const int idx = persistent ? RealRowIndex(r) : r;
      if (idx < static_cast<int>(FRowSelectFlags.size()) && FRowSelectFlags[static_cast<size_t>(idx)]) ClearRows(r, 1);
    }
    return;
  }
  if (FMouseActions->DisjunctColSelect()) {
    for (int c = 0; c < ColCount() && c < static_cast<int>(FColSelectFlags.size()); ++c)
      if (FColSelectFlags[static_cast<size_t>(c)]) ClearCols(c, 1);
    return;
  }
  const TGridRect s = Selection();
  ClearRect(std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::max(s.Left, s.Right),
            std::max(s.Top, s.Bottom));
}

void TPlusStringGrid::InitColumnOrder() {
  if (FColumnOrder->Count() > 0) return;
  for (int c = 0; c < ColCount(); ++c) FColumnOrder->AddValue(c);
}

// ---------------------------------------------------------------------------
// Moving rows and columns

void TPlusStringGrid::MoveColumn(int FromIndex, int ToIndex) {
  InitColumnOrder();
  TCustomGrid::MoveColumn(FromIndex, ToIndex);
}

void TPlusStringGrid::MoveRow(int FromIndex, int ToIndex) {
  // The footer row of the floating footer stays last.
  if (FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow && ToIndex == RowCount() - 1)
    return;
  TCustomGrid::MoveRow(FromIndex, ToIndex);
}

void TPlusStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
  const int from = RealColIndex(FromIndex), to = RealColIndex(ToIndex);
  if (from < FColumnOrder->Count() && to < FColumnOrder->Count()) {
    const int v = FColumnOrder->GetItem(from);
    FColumnOrder->DeleteIndex(from);
    FColumnOrder->InsertValue(to, v);
  }
  if (FEnhRowColMove) {
    if (to < static_cast<int>(FColVisible.size()) && from < static_cast<int>(FColVisible.size())) {
      const bool v = FColVisible[static_cast<size_t>(from)];
      FColVisible.erase(FColVisible.begin() + from);
      FColVisible.insert(FColVisible.begin() + to, v);
    }
    FMovedSincePress = true;
  }
  TBaseGrid::ColumnMoved(FromIndex, ToIndex);
  // The texts kept for hidden rows move the same way.
  for (int i = 0; i < NumHiddenRows(); ++i) {
    TStringList* items = HiddenItem(i)->Items();
    if (items && from < items->Count() && to < items->Count()) items->Move(from, to);
  }
  // The sort state stays with its columns (real indexes).
  TSortSettings* ss = FSortSettings.get();
  if (ss->Column() >= 0) ss->SetColumn(FollowMove(ss->Column(), from, to));
  if (ss->IndexShow())
    for (int i = 0; i < FSortIndexes->Count(); ++i) {
      const int v = FSortIndexes->GetItem(i);
      const int col = v & 0xFFFF;
      FSortIndexes->SetItem(i, (v & ~0xFFFF) | FollowMove(col, from, to));
    }
  if (FFloatingFooter->Visible() && FFooterPanel) FFooterPanel->Invalidate();
}

void TPlusStringGrid::RowMoved(int FromIndex, int ToIndex) {
  TBaseGrid::RowMoved(FromIndex, ToIndex);
  // The modified marks travel with their rows.
  const size_t need = static_cast<size_t>(std::max(FromIndex, ToIndex)) + 1;
  if (!FRowModified.empty()) {
    if (FRowModified.size() < need) FRowModified.resize(need, false);
    const bool v = FRowModified[static_cast<size_t>(FromIndex)];
    FRowModified.erase(FRowModified.begin() + FromIndex);
    FRowModified.insert(FRowModified.begin() + ToIndex, v);
  }
  if (FEnhRowColMove) FMovedSincePress = true;
}
