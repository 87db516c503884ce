// A grid bound to a query: one column per listed field (caption, width and
// display format of its own), one row per record under a header row. The
// grid follows the query (its rows, its current record); selecting a row
// makes that record current, and text typed into a cell is stored into the
// record and posted to the file when another row is chosen or PostEdits is
// called. A value a field cannot take (text in a number field) is refused
// with a message naming the field.
#pragma once

#include <string>
#include <vector>

#include "platform/db/dataset.h"
#include "platform/ui/grids.h"

struct TDBGridColumn {
  std::string FieldName;
  std::string Caption;  // empty: the field's name
  int Width = 64;
  std::string DisplayFormat;  // FormatFloat pattern for numbers; empty: as stored
  bool Numeric = false;
};

class TDBGrid : public TStringGrid {
  ZV_CLASS(TDBGrid)
public:
  explicit TDBGrid(TComponent* AOwner);
  ~TDBGrid() override;
  TQuery* DataSource() const { return FQuery; }
  void SetDataSource(TQuery* Query);
  std::vector<TDBGridColumn>& Columns() { return FColumns; }
  // Shows the query's rows again (after Columns changed).
  void Refresh();
  // Posts what was typed into the current record; false, after a message, when it was refused.
  bool PostEdits();
  // The text shown for a value of a column.
  static std::string DisplayText(const TDBGridColumn& Column, const TDbValue& Value);
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  // Whether text typed into the empty last row makes a new record.
  bool AllowAppend = true;

protected:
  bool SelectCell(int ACol, int ARow) override;

private:
  void DataChanged(TQuery* Query);
  TQuery* FQuery = nullptr;
  std::vector<TDBGridColumn> FColumns;
  bool FFilling = false;
  bool FPending = false;
};
