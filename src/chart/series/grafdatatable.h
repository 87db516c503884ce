// The data table tool: the series' values as a table beside the axis along
// which the points are spread, with an optional legend column. With
// AutoPosition it claims room beside that axis through the chart's axis
// size hook.
#pragma once

#include <memory>
#include <string>

#include "chart/core/chart.h"
#include "chart/core/grengine.h"

class TTableLegend : public TGrafCustomShape {
  ZV_CLASS(TTableLegend)
public:
  explicit TTableLegend(TCustomGrafPanel* Panel = nullptr);
  ~TTableLegend() override;
  void Assign(TPersistent* Source) override;

  bool FontSeriesColor() const { return FFontSeriesColor; }
  void SetFontSeriesColor(bool Value);
  bool OtherSide() const { return FOtherSide; }
  void SetOtherSide(bool Value);
  TLegendSymbol* Symbol() const { return FSymbol.get(); }
  void SetSymbol(TLegendSymbol* Value) { FSymbol->Assign(Value); }
  void SetParent(TCustomGrafPanel* Panel);
  int SymbolWidth() const { return FSymbol->Width(); }

private:
  bool FFontSeriesColor = false;
  bool FOtherSide = false;
  std::unique_ptr<TLegendSymbol> FSymbol;
};

class TDataTableTool : public TGrafCustomTool {
  ZV_CLASS(TDataTableTool)
public:
  explicit TDataTableTool(TComponent* AOwner = nullptr);
  ~TDataTableTool() override;
  std::string EditorFormClassName() const override { return "TDataTableEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void HandleChartEvent(int Code) override;
  std::string ToolTypeName() const override;

  bool AutoPosition() const { return FAutoPosition; }
  void SetAutoPosition(bool Value) { ChangeBool(FAutoPosition, Value); }
  bool ClipText() const { return FClipText; }
  void SetClipText(bool Value) { ChangeBool(FClipText, Value); }
  TChartPen* ColumnPen() const { return FColumnPen.get(); }
  void SetColumnPen(TChartPen* Value) { FColumnPen->Assign(Value); }
  TGrafFont* Font() const { return FFont.get(); }
  void SetFont(TGrafFont* Value) { FFont->Assign(Value); }
  bool Inverted() const { return FInverted; }
  void SetInverted(bool Value) { ChangeBool(FInverted, Value); }
  // Written at every automatic paint: a repaint only on a change.
  int Left() const { return FLeft; }
  void SetLeft(int Value) { ChangeInteger(FLeft, Value); }
  int Top() const { return FTop; }
  void SetTop(int Value) { ChangeInteger(FTop, Value); }
  TTableLegend* Legend() const { return FLegend.get(); }
  void SetLegend(TTableLegend* Value) { FLegend->Assign(Value); }
  TChartPen* RowPen() const { return Pen(); }
  void SetRowPen(TChartPen* Value) { SetPen(Value); }

  // The room the chart keeps beside an axis.
  int AxisSpace(TChartAxis* Axis, int Size);
  int TableSeriesCount();
  int MaxPointCount();
  TChartAxis* TableAxis();
  int TableSize();
  int RowPosition(int N);
  void LegendWidth(int& W, int& SymbolW);

private:
  bool Listed(TChartSeries* S) const;
  bool HorizontalTable();
  int CellSize();
  void PlaceTable();
  int RowOfSeries(int N);
  void PaintTable();
  void PaintColumnLine(int P);
  void PaintCell(int Tick, int Index, int N);
  void PaintLegend(int A, int B);
  void PaintLegendRow(int N, int A, int B, int W, int SW);

  bool FAutoPosition = true;
  bool FClipText = true;
  std::unique_ptr<TChartPen> FColumnPen;
  std::unique_ptr<TGrafFont> FFont;
  bool FInverted = false;
  int FLeft = 0;
  int FTop = 0;
  std::unique_ptr<TTableLegend> FLegend;
  // Paint state.
  int FBase = 0;
  int FOffset = 0;
  int FCell = 0;
};
