// Hidden rows, the display and real index mappings, and the row filter.
#include <algorithm>
#include <cmath>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/codepages.h"

namespace {

TControl* ControlAtCell(TControlList* List, int ACol, int ARow) {
  for (int i = 0; i < List->Count(); ++i) {
    TControlItem* it = List->GetControl(i);
    if (it->Col == ACol && it->Row == ARow) return it->Control;
  }
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Index mappings

// The column flags cover the columns the grid has (shown and hidden);
// a column beyond them counts as shown.
int TPlusStringGrid::RealColIndex(int ADisplCol) {
  if (FNumHiddenColumns == 0 || ADisplCol < 0) return ADisplCol;
  int shown = -1;
  const int n = static_cast<int>(FColVisible.size());
  for (int j = 0; j < n; ++j)
    if (FColVisible[j] && ++shown == ADisplCol) return j;
  return n + (ADisplCol - shown - 1);
}

int TPlusStringGrid::DisplColIndex(int ARealCol) {
  if (FNumHiddenColumns == 0 || ARealCol <= 0) return ARealCol;
  int hidden = 0;
  const int n = std::min(ARealCol, static_cast<int>(FColVisible.size()));
  for (int j = 0; j < n; ++j)
    if (!FColVisible[j]) ++hidden;
  return ARealCol - hidden;
}

bool TPlusStringGrid::IsHiddenColumn(int ARealCol) const {
  return ARealCol >= 0 && ARealCol < static_cast<int>(FColVisible.size()) && !FColVisible[ARealCol];
}

int TPlusStringGrid::RealRowIndex(int ADisplRow) const {
  // The hidden records are in real order: each one at or before the running
  // index pushes it one further.
  int real = ADisplRow;
  for (int i = 0; i < NumHiddenRows(); ++i) {
    if (HiddenItem(i)->Idx() <= real) ++real;
    else break;
  }
  return real;
}

int TPlusStringGrid::DisplRowIndex(int ARealRow) const {
  int below = 0;
  for (int i = 0; i < NumHiddenRows(); ++i)
    if (HiddenItem(i)->Idx() < ARealRow) ++below;
  return ARealRow - below;
}

bool TPlusStringGrid::IsHiddenRow(int ARealRow) const {
  for (int i = 0; i < NumHiddenRows(); ++i)
    if (HiddenItem(i)->Idx() == ARealRow) return true;
  return false;
}

std::string TPlusStringGrid::GetAllCellText(int ACol, int ARealRow) {
  for (int i = 0; i < NumHiddenRows(); ++i) {
    TGridItem* it = HiddenItem(i);
    if (it->Idx() != ARealRow) continue;
    std::string s = ACol >= 0 && ACol < it->Items()->Count() ? it->Items()->Strings(ACol) : std::string();
    GetDisplText(ACol, DisplRowIndex(ARealRow), s);
    return s;
  }
  return GetCellText(ACol, DisplRowIndex(ARealRow));
}

// ---------------------------------------------------------------------------
// Moving row data

void TPlusStringGrid::MoveRowData(int From, int To) {
  if (From == To) return;
  int cols = GetAllColCount();
  for (int c = 0; c < cols; ++c) {
    SetCellRaw(c, To, GetCellRaw(c, From));
    TObject* o = GetCellObject(c, From);
    SetCellObject(c, To, o);
    if (auto* p = dynamic_cast<TCellProperties*>(o)) p->SetOwnerRow(To);
    SetCellObject(c, From, nullptr);
    SetCellRaw(c, From, "");
  }
  SetRowHeights(To, RowHeights(From));
}

void TPlusStringGrid::RemoveRowsKeepObjects(int ARow, int Count) {
  if (Count <= 0) return;
  for (int r = ARow; r + Count < RowCount(); ++r) MoveRowData(r + Count, r);
  // The rows at the end are empty now; cutting them frees nothing.
  for (int r = RowCount() - Count; r < RowCount(); ++r) {
    for (int c = 0; c < GetAllColCount(); ++c) {
      SetCellObject(c, r, nullptr);
      SetCellRaw(c, r, "");
    }
    SetRowHeights(r, DefaultRowHeight());
  }
  TCustomGrid::SetRowCount(RowCount() - Count);
  SetDisplRowCount(RowCount());
}

void TPlusStringGrid::InsertEmptyRows(int ARow, int Count) {
  if (Count <= 0) return;
  int old = RowCount();
  TCustomGrid::SetRowCount(old + Count);
  SetDisplRowCount(RowCount());
  FMaxRowCountSet = std::max(FMaxRowCountSet, RowCount());
  for (int r = old - 1; r >= ARow; --r) MoveRowData(r, r + Count);
  for (int r = ARow; r < ARow + Count; ++r) SetRowHeights(r, DefaultRowHeight());
}

void TPlusStringGrid::StoreRowInItem(TGridItem* Item, int ADisplRow, int ARealRow) {
  Item->SetIdx(ARealRow);
  Item->SetHeight(RowHeights(ADisplRow));
  Item->Items()->Clear();
  for (int c = 0; c < GetAllColCount(); ++c) Item->Items()->AddObject(GetCellRaw(c, ADisplRow), GetCellObject(c, ADisplRow));
}

void TPlusStringGrid::RestoreRowFromItem(TGridItem* Item, int ADisplRow) {
  TStringList* l = Item->Items();
  for (int c = 0; c < GetAllColCount(); ++c) {
    std::string s = c < l->Count() ? l->Strings(c) : std::string();
    TObject* o = c < l->Count() ? l->Objects(c) : nullptr;
    SetCellRaw(c, ADisplRow, s);
    SetCellObject(c, ADisplRow, o);
    if (auto* p = dynamic_cast<TCellProperties*>(o)) p->SetOwnerRow(ADisplRow);
  }
  // The record no longer holds the objects.
  for (int c = 0; c < l->Count(); ++c) l->SetObjects(c, nullptr);
  SetRowHeights(ADisplRow, Item->Height());
}

// ---------------------------------------------------------------------------
// Hiding and showing

void TPlusStringGrid::HideRows(int FromRow, int ToRow) {
  if (FromRow > ToRow) std::swap(FromRow, ToRow);
  FromRow = std::max(FromRow, 0);
  ToRow = std::min(ToRow, RowCount() + NumHiddenRows() - 1);
  std::vector<int> newly;
  for (int r = FromRow; r <= ToRow; ++r)
    if (!IsHiddenRow(r)) newly.push_back(r);
  if (newly.empty()) return;
  BeginUpdate();
  // From the last upwards, so the display places of the rows above stay put.
  for (auto it = newly.rbegin(); it != newly.rend(); ++it) {
    int real = *it;
    int displ = DisplRowIndex(real);
    int pos = 0;
    while (pos < NumHiddenRows() && HiddenItem(pos)->Idx() < real) ++pos;
    auto* item = static_cast<TGridItem*>(FHiddenRows->Insert(pos));
    StoreRowInItem(item, displ, real);
    if (TControl* ctl = ControlAtCell(FControlList.get(), 1, displ)) ctl->Hide();
    RemoveRowsKeepObjects(displ, 1);
  }
  EndUpdate();
  Invalidate();
}

void TPlusStringGrid::HideRowList(const std::vector<int>& Rows) {
  if (Rows.empty()) return;
  BeginUpdate();
  std::vector<int> rows = Rows;
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  // Each listed row is recorded at its real index (rows may be hidden
  // already, by collapsed nodes), mapped before anything moves.
  std::vector<std::pair<int, int>> list;
  for (int r : rows)
    if (r >= 0 && r < RowCount()) list.emplace_back(r, RealRowIndex(r));
  for (auto& [displ, real] : list) {
    int pos = 0;
    while (pos < NumHiddenRows() && HiddenItem(pos)->Idx() < real) ++pos;
    auto* item = static_cast<TGridItem*>(FHiddenRows->Insert(pos));
    StoreRowInItem(item, displ, real);
  }
  // Move the remaining rows up in one pass.
  int write = list.empty() ? RowCount() : list.front().first;
  size_t k = 0;
  for (int r = write; r < RowCount(); ++r) {
    if (k < list.size() && list[k].first == r) {
      ++k;
      for (int c = 0; c < GetAllColCount(); ++c) SetCellObject(c, r, nullptr);
      continue;
    }
    MoveRowData(r, write++);
  }
  for (int r = write; r < RowCount(); ++r)
    for (int c = 0; c < GetAllColCount(); ++c) {
      SetCellObject(c, r, nullptr);
      SetCellRaw(c, r, "");
    }
  TCustomGrid::SetRowCount(RowCount() - static_cast<int>(list.size()));
  SetDisplRowCount(RowCount());
  EndUpdate();
  Invalidate();
}

void TPlusStringGrid::UnHideRowsAll() {
  int n = NumHiddenRows();
  if (n == 0) return;
  BeginUpdate();
  int oldCount = RowCount();
  TCustomGrid::SetRowCount(oldCount + n);
  SetDisplRowCount(RowCount());
  FMaxRowCountSet = std::max(FMaxRowCountSet, RowCount());
  int shown = oldCount - 1;
  int hidden = n - 1;
  for (int pos = RowCount() - 1; pos >= 0; --pos) {
    if (hidden >= 0 && HiddenItem(hidden)->Idx() == pos) {
      RestoreRowFromItem(HiddenItem(hidden), pos);
      --hidden;
    } else if (shown >= 0) {
      MoveRowData(shown--, pos);
    }
  }
  FHiddenRows->Clear();
  EndUpdate();
  Invalidate();
}

void TPlusStringGrid::UnHideRows(int FromRow, int ToRow) {
  if (!IsHiddenRow(FromRow)) return;
  if (FromRow > ToRow) std::swap(FromRow, ToRow);
  std::vector<int> idx;
  for (int i = 0; i < NumHiddenRows(); ++i) {
    int r = HiddenItem(i)->Idx();
    if (r >= FromRow && r <= ToRow) idx.push_back(i);
  }
  BeginUpdate();
  // Put back from the first: each record lands at its display place among
  // the rows shown so far, so the real order holds.
  for (size_t k = 0; k < idx.size(); ++k) {
    TGridItem* item = HiddenItem(idx[k] - static_cast<int>(k));
    int real = item->Idx();
    int displ = DisplRowIndex(real);
    InsertEmptyRows(displ, 1);
    RestoreRowFromItem(item, displ);
    delete item;
  }
  int d = DisplRowIndex(FromRow);
  if (TControl* ctl = ControlAtCell(FControlList.get(), 1, d)) {
    TRect m = GetMergedCellRect(1, d);
    ctl->SetBounds(m.Left, m.Top, m.Width(), m.Height());
    ctl->Show();
  }
  EndUpdate();
  Invalidate();
}

// ---------------------------------------------------------------------------
// Filter

bool TPlusStringGrid::MatchFilter(int ARow) {
  bool result = true;
  for (int i = 0; i < FFilter->Count(); ++i) {
    TFilterData* f = FFilter->Item(i);
    int col = f->Column();
    std::string text;
    switch (f->Data()) {
      case fcVirtual: text = GetCellText(col, ARow); break;
      case fcNormal: text = GetCellRaw(GetBaseCell(col, ARow).X, GetBaseCell(col, ARow).Y); break;
      case fcStripHTML: text = StripHTMLTags(GetCellText(col, ARow)); break;
      case fcCalculated: text = GetFormulaDisplayText(col, ARow); break;
    }
    if (text.find("|\\") != std::string::npos) text = Utf16ToUtf8(DecodeWideCellText(text));
    if (!f->Prefix().empty() && text.compare(0, f->Prefix().size(), f->Prefix()) == 0)
      text.erase(0, f->Prefix().size());
    if (!f->Suffix().empty()) {
      size_t p = text.find(f->Suffix());
      if (p != std::string::npos && p + f->Suffix().size() == text.size()) text.erase(p);
    }
    bool match = false;
    try {
      match = MatchCondition(f->Condition(), text, f->CaseSensitive());
    } catch (const std::exception&) {
      match = false;
    }
    switch (f->Operation()) {
      case foSHORT:
        result = match;
        if (!match) return false;
        break;
      case foNONE: result = match; break;
      case foAND: result = result && match; break;
      case foXOR: result = result != match; break;
      case foOR: result = result || match; break;
    }
  }
  return result;
}

void TPlusStringGrid::ApplyFilter() {
  int first = TCustomGrid::FixedRows(), last = RowCount() - FFixedFooters - 1;
  int total = last - first + 1;
  std::vector<int> failing;
  int tested = 0;
  for (int r = first; r <= last; ++r) {
    if (!MatchFilter(r)) failing.push_back(r);
    ++tested;
    if (OnFilterProgress && total > 0)
      OnFilterProgress(this, static_cast<int16_t>(std::lround(tested * 100.0 / total)));
  }
  if (OnFilterProgress && total > 0)
    OnFilterProgress(this, static_cast<int16_t>(std::lround(tested * 100.0 / total)));
  HideRowList(failing);
}

void TPlusStringGrid::SetFilterActive(bool v) {
  if (v != FFilterActive) {
    FFilterActive = v;
    if (v) {
      FFilterFixedRows = TCustomGrid::FixedRows();
      BeginUpdate();
      ApplyFilter();
      EndUpdate();
    } else {
      UnHideRowsAll();
      TCustomGrid::SetFixedRows(FFilterFixedRows);
      if (FRestoreSelection) {
        FRestoreSelection = false;
        TCustomGrid::SetSelection(FSavedSelection);
      }
    }
  }
  AllCellsChanged();
}
