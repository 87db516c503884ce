#include "platform/db/dbgrid.h"

#include "platform/dialogs.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

ZV_CLASS_IMPL_NOPROPS(TDBGrid, TStringGrid)

TDBGrid::TDBGrid(TComponent* AOwner) : TStringGrid(AOwner) {
  SetFixedCols(0);
  SetFixedRows(1);
  SetRowCount(2);
}

TDBGrid::~TDBGrid() {
  if (FQuery) FQuery->OnDataChange = nullptr;
}

void TDBGrid::SetDataSource(TQuery* Query) {
  if (FQuery) FQuery->OnDataChange = nullptr;
  FQuery = Query;
  if (FQuery) FQuery->OnDataChange = [this](TQuery* q) { DataChanged(q); };
  Refresh();
}

std::string TDBGrid::DisplayText(const TDBGridColumn& Column, const TDbValue& Value) {
  if (Value.IsNull()) return "";
  if (Column.Numeric && !Column.DisplayFormat.empty()) return FormatFloat(Column.DisplayFormat, Value.AsFloat());
  return Value.AsString();
}

void TDBGrid::DataChanged(TQuery*) {
  if (!FFilling) Refresh();
}

void TDBGrid::Refresh() {
  FFilling = true;
  FPending = false;
  const int cols = std::max(static_cast<int>(FColumns.size()), 1);
  SetColCount(cols);
  for (int c = 0; c < static_cast<int>(FColumns.size()); ++c) {
    const TDBGridColumn& col = FColumns[static_cast<std::size_t>(c)];
    SetColWidths(c, col.Width);
    SetCells(c, 0, col.Caption.empty() ? col.FieldName : col.Caption);
  }
  const int records = FQuery && FQuery->Active() ? FQuery->RecordCount() : 0;
  SetRowCount(std::max(records, 1) + 1);
  for (int r = 0; r < std::max(records, 1); ++r)
    for (int c = 0; c < static_cast<int>(FColumns.size()); ++c) {
      const TDBGridColumn& col = FColumns[static_cast<std::size_t>(c)];
      const int f = FQuery ? FQuery->FieldIndex(col.FieldName) : -1;
      SetCells(c, r + 1, r < records && f >= 0 ? DisplayText(col, FQuery->Value(r, f)) : "");
    }
  if (records > 0 && FQuery->RecNo() >= 0 && Row() != FQuery->RecNo() + 1) SetRow(FQuery->RecNo() + 1);
  FFilling = false;
}

void TDBGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  TStringGrid::SetEditText(ACol, ARow, Value);
  if (!FFilling) FPending = true;
}

bool TDBGrid::PostEdits() {
  if (!FPending || !FQuery || !FQuery->Active()) return true;
  FPending = false;
  const int r = Row() - 1;
  try {
    if (r >= FQuery->RecordCount()) {
      if (!AllowAppend) {
        Refresh();
        return true;
      }
      FQuery->Append();
    } else {
      FFilling = true;
      FQuery->SetRecNo(r);
      FFilling = false;
      FQuery->Edit();
    }
    for (int c = 0; c < static_cast<int>(FColumns.size()); ++c) {
      const TDBGridColumn& col = FColumns[static_cast<std::size_t>(c)];
      const std::string text = Trim(Cells(c, Row()));
      if (col.Numeric) {
        double v = 0;
        if (!text.empty() && !TryStrToFloat(text, v)) {
          FQuery->Cancel();
          ShowMessage("\"" + text + "\" is not a number for " + (col.Caption.empty() ? col.FieldName : col.Caption) + ".");
          Refresh();
          return false;
        }
        FQuery->SetField(col.FieldName, text.empty() ? TDbValue() : TDbValue(v));
      } else {
        FQuery->SetField(col.FieldName, text);
      }
    }
    FQuery->Post();
  } catch (const EDatabaseError& e) {
    FFilling = false;
    FQuery->Cancel();
    ShowMessage(e.Message());
    Refresh();
    return false;
  }
  return true;
}

bool TDBGrid::SelectCell(int ACol, int ARow) {
  if (!TStringGrid::SelectCell(ACol, ARow)) return false;
  if (FFilling || !FQuery || !FQuery->Active()) return true;
  if (ARow != Row() && !PostEdits()) return false;
  if (ARow - 1 < FQuery->RecordCount() && ARow - 1 != FQuery->RecNo()) {
    FFilling = true;
    FQuery->SetRecNo(ARow - 1);
    FFilling = false;
  }
  return true;
}
