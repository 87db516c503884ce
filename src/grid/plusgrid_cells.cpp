// Typed cell access, headers, disjunct selections, row marks and merging of
// equal cells in columns.
#include <algorithm>
#include <cmath>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

namespace {

bool ParseWholeInt(const std::string& s, int& value) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  int base = 10;
  if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    v = v * base + d;
    if (v > int64_t(0xFFFFFFFF)) return false;
  }
  if (base == 16) v = static_cast<int32_t>(static_cast<uint32_t>(v));
  if (neg) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

// The whole text as a number with "." as the decimal point and an optional
// exponent; the locale plays no part.
bool ParseWholeFloat(const std::string& s, double& value) {
  TFormatSettings fs = FormatSettings;
  fs.DecimalSeparator = '.';
  fs.ThousandSeparator = '\0';
  return TryStrToFloat(s, value, fs);
}

double FloatFromText(const std::string& Text) {
  std::string n = ExtractNumberText(Text);
  if (n.empty() || n == "-") return 0;
  double v = 0;
  if (!ParseWholeFloat(n, v)) throw EPlusGridError("Cell does not contain a float value");
  return v;
}

}  // namespace

// ---------------------------------------------------------------------------
// Typed access

void TPlusStringGrid::SetCellInt(int ACol, int ARow, int Value) { SetCellText(ACol, ARow, std::to_string(Value)); }

int TPlusStringGrid::GetCellInt(int ACol, int ARow) {
  std::string s = GetCellText(ACol, ARow);
  if (s.empty() || s == "-") return 0;
  int v = 0;
  if (!ParseWholeInt(s, v)) throw EPlusGridError("Cell does not contain integer value");
  return v;
}

void TPlusStringGrid::SetCellFloat(int ACol, int ARow, double Value) {
  SetCellText(ACol, ARow, Format(FFloatFormat, {Value}));
}

double TPlusStringGrid::GetCellFloat(int ACol, int ARow) { return FloatFromText(GetCellText(ACol, ARow)); }

double TPlusStringGrid::GetCellFloatAll(int ACol, int ARealRow) {
  return FloatFromText(GetAllCellText(ACol, ARealRow));
}

void TPlusStringGrid::SetCellDate(int ACol, int ARow, TDateTime Value) {
  SetCellText(ACol, ARow, DateToStr(Value));
}

std::u16string TPlusStringGrid::GetWideCell(int ACol, int ARow) {
  return DecodeWideCellText(GetCellText(ACol, ARow));
}

void TPlusStringGrid::SetWideCell(int ACol, int ARow, const std::u16string& Value) {
  SetCellText(ACol, ARow, EncodeWideCellText(Value));
}

bool TPlusStringGrid::IsWideTextCell(int ACol, int ARow) {
  return GetCellTextKind(GetCellRaw(GetBaseCell(ACol, ARow).X, GetBaseCell(ACol, ARow).Y), false) == ckUnicode;
}

// ---------------------------------------------------------------------------
// Current cell and ranges

void TPlusStringGrid::SetCurrentRow(int ARow) {
  SetRow(ARow);
  int now = Row();
  if (now != FLastReportedRow && OnRowUpdate) {
    int old = FLastReportedRow;
    FLastReportedRow = now;
    OnRowUpdate(this, old, now);
  }
}

void TPlusStringGrid::SetSelection(const TGridRect& R) {
  TCustomGrid::SetSelection(R);
  if (FActiveCellShow) {
    RepaintRow(0);
    RepaintCol(0);
  }
}

int TPlusStringGrid::GetFirstCol() const { return FIncludeFixedCells ? 0 : TCustomGrid::FixedCols(); }
int TPlusStringGrid::GetFirstRow() const { return FIncludeFixedCells ? 0 : TCustomGrid::FixedRows(); }
int TPlusStringGrid::GetLastCol() const {
  return FIncludeFixedCells ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}
int TPlusStringGrid::GetLastRow() const {
  return FIncludeFixedCells ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}
int TPlusStringGrid::GetColCountCovered() const {
  return FIncludeFixedCells ? ColCount() : ColCount() - TCustomGrid::FixedCols() - FFixedRightCols;
}
int TPlusStringGrid::GetRowCountCovered() const {
  return FIncludeFixedCells ? RowCount() : RowCount() - TCustomGrid::FixedRows() - FFixedFooters;
}

// ---------------------------------------------------------------------------
// Headers

void TPlusStringGrid::SetColumnHeaders(TStringList* v) {
  if (!v || v == FColumnHeaders.get()) return;
  auto keep = FColumnHeaders->OnChange;
  FColumnHeaders->OnChange = nullptr;
  FColumnHeaders->Assign(*v);
  FColumnHeaders->OnChange = keep;
  if (TCustomGrid::FixedRows() > 0)
    for (int c = 0; c < ColCount(); ++c) SetCellText(c, 0, "");
  WriteColumnHeaders();
}

void TPlusStringGrid::SetRowHeaders(TStringList* v) {
  if (!v || v == FRowHeaders.get()) return;
  auto keep = FRowHeaders->OnChange;
  FRowHeaders->OnChange = nullptr;
  FRowHeaders->Assign(*v);
  FRowHeaders->OnChange = keep;
  if (Designing() && TCustomGrid::FixedCols() > 0)
    for (int r = 0; r < RowCount(); ++r) SetCellText(0, r, "");
  WriteRowHeaders();
}

void TPlusStringGrid::WriteColumnHeaders() {
  if (TCustomGrid::FixedRows() <= 0) return;
  int n = std::min(FColumnHeaders->Count(), GetAllColCount());
  for (int i = 0; i < n; ++i) SetCellText(i, 0, UnescapeNewlines(FColumnHeaders->Strings(i)));
}

void TPlusStringGrid::WriteRowHeaders() {
  if (TCustomGrid::FixedCols() <= 0) return;
  int n = std::min(FRowHeaders->Count(), RowCount());
  for (int i = 0; i < n; ++i) SetCellText(0, i, UnescapeNewlines(FRowHeaders->Strings(i)));
}

// ---------------------------------------------------------------------------
// Disjunct selections and row marks

void TPlusStringGrid::CheckRealRow(int ARealRow) const {
  if (ARealRow < 0 || ARealRow >= RowCount() + NumHiddenRows()) throw EPlusGridError("Invalid row accessed");
}

bool TPlusStringGrid::GetRowSelect(int ARealRow) {
  CheckRealRow(ARealRow);
  if (FMouseActions->DisjunctRowSelect()) {
    if (static_cast<int>(FRowSelectFlags.size()) <= ARealRow) FRowSelectFlags.resize(ARealRow + 1, false);
    return FRowSelectFlags[ARealRow];
  }
  TGridRect s = Selection();
  return ARealRow >= std::min(s.Top, s.Bottom) && ARealRow <= std::max(s.Top, s.Bottom);
}

void TPlusStringGrid::SetRowSelect(int ARealRow, bool Value) {
  CheckRealRow(ARealRow);
  bool allow = true;
  if (OnRowDisjunctSelect) OnRowDisjunctSelect(this, ARealRow, Value, allow);
  if (!allow) return;
  if (static_cast<int>(FRowSelectFlags.size()) <= ARealRow) FRowSelectFlags.resize(ARealRow + 1, false);
  bool was = FRowSelectFlags[ARealRow];
  if (Value) {
    if (!was) RepaintRow(DisplRowIndex(ARealRow));
    FRowSelectFlags[ARealRow] = true;
    if (std::find(FSelectedRows.begin(), FSelectedRows.end(), ARealRow) == FSelectedRows.end())
      FSelectedRows.push_back(ARealRow);
  } else {
    if (was) RepaintRow(DisplRowIndex(ARealRow));
    FRowSelectFlags[ARealRow] = false;
    FSelectedRows.erase(std::remove(FSelectedRows.begin(), FSelectedRows.end(), ARealRow), FSelectedRows.end());
  }
  if (OnRowDisjunctSelected) OnRowDisjunctSelected(this, ARealRow);
}

bool TPlusStringGrid::GetColSelect(int ACol) {
  if (ACol < 0 || ACol >= ColCount()) throw EPlusGridError("Invalid column accessed");
  if (static_cast<int>(FColSelectFlags.size()) <= ACol) FColSelectFlags.resize(ACol + 1, false);
  return FColSelectFlags[ACol];
}

void TPlusStringGrid::SetColSelect(int ACol, bool Value) {
  if (ACol < 0 || ACol >= ColCount()) throw EPlusGridError("Invalid column accessed");
  if (static_cast<int>(FColSelectFlags.size()) <= ACol) FColSelectFlags.resize(ACol + 1, false);
  if (FColSelectFlags[ACol] == Value) return;
  FColSelectFlags[ACol] = Value;
  RepaintCol(ACol);
}

void TPlusStringGrid::ClearRowSelect() {
  for (size_t r = 0; r < FRowSelectFlags.size(); ++r)
    if (FRowSelectFlags[r]) RepaintRow(DisplRowIndex(static_cast<int>(r)));
  FRowSelectFlags.assign(FRowSelectFlags.size(), false);
  FSelectedRows.clear();
}

void TPlusStringGrid::ClearColSelect() {
  for (size_t c = 0; c < FColSelectFlags.size(); ++c)
    if (FColSelectFlags[c] && static_cast<int>(c) < ColCount()) RepaintCol(static_cast<int>(c));
  FColSelectFlags.assign(FColSelectFlags.size(), false);
}

void TPlusStringGrid::SelectToRowSelect(bool All) {
  TGridRect s = Selection();
  int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
  for (int r = TCustomGrid::FixedRows(); r < RowCount(); ++r) {
    bool inside = r >= top && r <= bottom;
    if (!All && !inside) continue;
    int idx = FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r;
    if (static_cast<int>(FRowSelectFlags.size()) <= idx) FRowSelectFlags.resize(idx + 1, false);
    FRowSelectFlags[idx] = inside;
  }
}

void TPlusStringGrid::SelectToColSelect(bool All) {
  TGridRect s = Selection();
  int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
  for (int c = TCustomGrid::FixedCols(); c < ColCount(); ++c) {
    bool inside = c >= left && c <= right;
    if (!All && !inside) continue;
    if (static_cast<int>(FColSelectFlags.size()) <= c) FColSelectFlags.resize(c + 1, false);
    FColSelectFlags[c] = inside;
  }
}

int TPlusStringGrid::RowSelectCount() {
  if (FMouseActions->DisjunctRowSelect())
    return static_cast<int>(std::count(FRowSelectFlags.begin(), FRowSelectFlags.end(), true));
  TGridRect s = Selection();
  return std::abs(s.Bottom - s.Top) + 1;
}

bool TPlusStringGrid::GetRowModified(int ARow) const {
  return ARow >= 0 && ARow < static_cast<int>(FRowModified.size()) && FRowModified[ARow];
}

void TPlusStringGrid::SetRowModified(int ARow, bool Value) {
  if (ARow < 0) return;
  if (static_cast<int>(FRowModified.size()) <= ARow) FRowModified.resize(ARow + 1, false);
  FRowModified[ARow] = Value;
  RepaintCell(0, ARow);
}

// ---------------------------------------------------------------------------
// Repainting and mouse points

void TPlusStringGrid::RepaintRect(const TGridRect& R) {
  TRect a = CellRect(R.Left, R.Top), b = CellRect(R.Right, R.Bottom);
  if (a.IsEmpty() || b.IsEmpty()) {
    Invalidate();
    return;
  }
  for (int r = R.Top; r <= R.Bottom; ++r)
    for (int c = R.Left; c <= R.Right; ++c) InvalidateCell(c, r);
}

void TPlusStringGrid::RepaintRow(int ARow) {
  if (ARow >= 0 && ARow < RowCount()) InvalidateRow(ARow);
}

void TPlusStringGrid::RepaintCol(int ACol) {
  if (ACol >= 0 && ACol < ColCount()) InvalidateCol(ACol);
}

void TPlusStringGrid::CellFromScreen(TPoint APoint, int& ACol, int& ARow) {
  TPoint p = ScreenToClient(APoint);
  MouseToCell(p.X, p.Y, ACol, ARow);
}

bool TPlusStringGrid::IsSizingEdge(int X, int Y) {
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  if (c < 0 || r < 0) return false;
  TRect m = GetMergedCellRect(c, r);
  TRect cr = CellRect(c, r);
  // The merged rectangle in client coordinates, from the cell's own place.
  TRect own = GetCellRect(c, r);
  int dx = cr.Left - own.Left, dy = cr.Top - own.Top;
  m = TRect(m.Left + dx, m.Top + dy, m.Right + dx, m.Bottom + dy);
  if (c <= TCustomGrid::FixedCols() && Options().Contains(goRowSizing))
    return std::abs(Y - m.Top) <= 3 || std::abs(Y - m.Bottom) <= 3;
  if (r <= TCustomGrid::FixedRows() && Options().Contains(goColSizing))
    return std::abs(X - m.Left) <= 3 || std::abs(X - m.Right) <= 3;
  return false;
}

// ---------------------------------------------------------------------------
// Merging equal cells of columns

void TPlusStringGrid::MergeColumns() {
  int last = RowCount() - FFixedFooters - 1;
  for (int c = 0; c < ColCount(); ++c)
    for (int r = 0; r <= last - 1; ++r)
      if (IsBaseCell(c, r) && GetCellSpan(c, r).Y > 0) SplitCells(c, r);
  for (int i = 0; i < FMergedColumns->Count(); ++i) {
    int col = FMergedColumns->GetItem(i);
    if (col < 0 || col >= ColCount()) continue;
    int start = TCustomGrid::FixedRows();
    auto flush = [&](int endRow) {
      if (endRow > start) MergeCells(col, start, 1, endRow - start + 1);
    };
    for (int r = TCustomGrid::FixedRows() + 1; r <= last; ++r) {
      bool same = GetCellText(col, r) == GetCellText(col, r - 1);
      if (same && i > 0) same = RowsShareMergedCells(r - 1, r);
      if (!same) {
        flush(r - 1);
        start = r;
      }
    }
    flush(last);
  }
}
