// The chart data grid: the points of one series, or of every series of a
// chart, as a table the user edits in place (one row per point index, one
// column per value list, optional label and colour columns), and the
// navigator bar bound to it.
//
// Edits go straight into the series. A text that does not convert to a
// number (or a date for a date-time list) is refused when the cell is left:
// a message says so and the point keeps its value.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/editor/grafnavigator.h"
#include "platform/ui/grids.h"

enum TChartGridShow { cgsAuto, cgsNo, cgsYes };

class TCustomChartGrid;
class TChartGridNavigator;
class TCustom3DSeries;

using TEditingCellEvent = std::function<void(TCustomChartGrid* Sender, int ACol, int ARow, bool& Allow)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;

class TCustomChartGrid : public TCustomGrid, public IPanelEventListener {
  ZV_CLASS(TCustomChartGrid)
public:
  explicit TCustomChartGrid(TComponent* AOwner);
  ~TCustomChartGrid() override;

  // ---- The shown data ----
  TCustomChart* Chart() const { return FChart; }
  void SetChart(TCustomChart* Value);
  // Takes precedence over Chart (setting it clears Chart).
  TChartSeries* Series() const { return FSeries; }
  void SetSeries(TChartSeries* Value);
  bool ShowLabels() const { return FShowLabels; }
  void SetShowLabels(bool Value);
  bool ShowColors() const { return FShowColors; }
  void SetShowColors(bool Value);
  TChartGridShow ShowXValues() const { return FShowXValues; }
  void SetShowXValues(TChartGridShow Value);
  bool SecondHeaderRow() const { return FSecondHeaderRow; }
  void SetSecondHeaderRow(bool Value);
  bool Grid3D() const { return FGrid3D; }
  void SetGrid3D(bool Value);
  // The header rows (2 with the second header row, else 1).
  int HeaderRows() const { return FSecondHeaderRow ? 2 : 1; }

  TNotifyEvent OnChangeColor;
  TEditingCellEvent OnEditingCell;
  TSetEditEvent OnSetEditText;

  // ---- Operations ----
  void RecalcLayout();
  void AppendRow();
  void DeleteRow();
  void AppendCurrentSeriesPoint();
  void StartEditing();
  void StopEditing(bool Cancel);
  // The series of the current colours cell and the point's colour; nil
  // when the current cell is no colours cell of an existing point.
  TChartSeries* CurrentCellColor(TColor& Color);
  void SetCurrentColor(TColor Color);
  void EditCurrentColor();
  bool CanEditGrid() const { return FOptions.Contains(goEditing); }
  // The text a cell shows (and the editor starts with).
  std::string CellText(int ACol, int ARow);
  // Whether series number Index (in shown order) shows its X column, as the
  // last layout decided.
  bool SeriesShowsX(int Index) const;
  // The series shown, in order.
  std::vector<TChartSeries*> ShownSeries() const;
  // Data rows painted by the last paint (a speed check of the scrolling).
  int PaintedDataRows() const { return FPaintedRows; }

  // ---- Navigator hooks ----
  std::function<void()> ChangedHook;
  std::function<void()> CellSelectedHook;
  void SetNavigator(TChartGridNavigator* Value);
  TChartGridNavigator* Navigator() const { return FNavigator; }

  void HandlePanelEvent(TGrafEvent* Event) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;

protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool CanEditShow() override;
  void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  void Paint() override;

  // The series and value list of a column; false for column 0, the label
  // and colour columns and columns past the series.
  bool ColumnValues(int ACol, TChartSeries*& Series, TChartValueList*& List, bool* First = nullptr);
  // The series of a column (the next column for the colours column).
  TChartSeries* ColumnSeries(int ACol);
  int LabelsColumn() const;
  int ColorsColumn() const { return FShowColors ? 1 : -1; }
  bool HasData() const;
  TCustom3DSeries* Series3D() const;
  // XYZ mode: the point shown in a cell, -1 when none.
  int PointOfCell3D(int ACol, int ARow);
  void ListenTo(TCustomAxisPanel* Panel);
  void FireChanged();
  void RecalcAndGoHome();
  std::string ValueText(TChartSeries* Series, TChartValueList* List, int Index) const;
  // Stores one edit; false when the text did not convert (nothing stored).
  bool ApplyEdit(int ACol, int ARow, const std::string& Value, std::string& Error);

  TCustomChart* FChart = nullptr;
  TChartSeries* FSeries = nullptr;
  TCustomAxisPanel* FListened = nullptr;
  // A series the chart announces as removed (still in its list).
  TChartSeries* FLeaving = nullptr;
  TChartGridNavigator* FNavigator = nullptr;
  bool FShowLabels = true;
  bool FShowColors = false;
  TChartGridShow FShowXValues = cgsAuto;
  bool FSecondHeaderRow = true;
  bool FGrid3D = false;
  // One flag per shown series, sized at every layout.
  std::vector<bool> FShowX;
  std::string FSavedText;
  bool FNewCell = false;
  // Hiding the editor without applying its text (a cancelled edit).
  bool FSkipApply = false;
  // The last refused text, so one refusal is reported once.
  struct TRefused {
    int Col = -1, Row = -1;
    std::string Text;
  } FRefused;
  // XYZ mode: the distinct X and Z values in order of first appearance.
  std::vector<double> FXs, FZs;
  int FPaintedRows = 0;
};

class TChartGrid : public TCustomChartGrid {
  ZV_CLASS(TChartGrid)
public:
  explicit TChartGrid(TComponent* AOwner) : TCustomChartGrid(AOwner) {}
};

class TChartGridNavigator : public TCustomGrafNavigator {
  ZV_CLASS(TChartGridNavigator)
public:
  explicit TChartGridNavigator(TComponent* AOwner);
  ~TChartGridNavigator() override;
  TCustomChartGrid* Grid() const { return FGrid; }
  void SetGrid(TCustomChartGrid* Value);
  void EnableButtons() override;
  void BtnClick(int Index) override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool InsertAllowed() const;
  TCustomChartGrid* FGrid = nullptr;
};

void RegisterChartGridClasses();
