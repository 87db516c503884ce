// A chart tool bound to one surface series: the cell under the mouse is
// highlighted by colouring its reference point, its row and its column.
#pragma once

#include "chart/series/grafsurfa.h"
#include "platform/ui/forms.h"

class TButtonColor;
class TCheckBox;
class TComboFlat;
class TLabel;

class TSurfaceNearestTool : public TGrafCustomToolSeries {
  ZV_CLASS(TSurfaceNearestTool)
public:
  explicit TSurfaceNearestTool(TComponent* AOwner = nullptr);

  std::string EditorFormClassName() const override { return "TSurfaceNearest"; }
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override;
  // Only a surface series is taken; any other leaves the tool without one.
  void SetSeries(TChartSeries* Value) override;

  // X and Z of the current cell's lower column and upper row, -1 without a cell.
  void CellReference(double& X, double& Z) const;
  int Cell() const { return FCell; }

  TColor CellColor() const { return FCellColor; }
  void SetCellColor(TColor Value) { ChangeColor(FCellColor, Value); }
  TColor RowColor() const { return FRowColor; }
  void SetRowColor(TColor Value) { ChangeColor(FRowColor, Value); }
  TColor ColumnColor() const { return FColumnColor; }
  void SetColumnColor(TColor Value) { ChangeColor(FColumnColor, Value); }
  TNotifyEvent OnSelectCell;

private:
  TColor FCellColor = 0x0000FF;
  TColor FRowColor = 0xFF0000;
  TColor FColumnColor = 0x008000;
  int FCell = -1;
  // The loop directions of the hit test that found the cell.
  int FDX = 1;
  int FDZ = 1;
};

// The tool's editor: the surface series and the three colours, each with
// "Default" and "None" boxes. The tool comes in the form's Tag.
class TSurfaceNearest : public TForm {
  ZV_CLASS(TSurfaceNearest)
public:
  explicit TSurfaceNearest(TComponent* AOwner = nullptr);

  void FormShow(TObject* Sender);
  void FillSeriesList();
  void CBSeriesChange(TObject* Sender);
  void ButtonColor1Click(TObject* Sender);
  void ButtonColor2Click(TObject* Sender);
  void ButtonColor3Click(TObject* Sender);
  void CheckBox1Click(TObject* Sender);
  void CheckBox2Click(TObject* Sender);
  void CheckBox3Click(TObject* Sender);
  void CheckBox4Click(TObject* Sender);
  void CheckBox5Click(TObject* Sender);
  void CheckBox6Click(TObject* Sender);

  TLabel* Label1 = nullptr;
  TComboFlat* CBSeries = nullptr;
  TButtonColor* ButtonColor1 = nullptr;
  TButtonColor* ButtonColor2 = nullptr;
  TButtonColor* ButtonColor3 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TCheckBox* CheckBox2 = nullptr;
  TCheckBox* CheckBox3 = nullptr;
  TCheckBox* CheckBox4 = nullptr;
  TCheckBox* CheckBox5 = nullptr;
  TCheckBox* CheckBox6 = nullptr;

private:
  TSurfaceNearestTool* Tool() const;
  void SetToolColor(int Which, TColor Value);
  TButtonColor* ButtonOf(int Which) const;
};

void RegisterSurfaceToolType();
void UnregisterSurfaceToolType();
