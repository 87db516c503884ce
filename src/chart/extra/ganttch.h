// The gantt series: tasks as horizontal bars from a start to an end date on
// a row, each optionally joined to a following task by an elbow connector.
#pragma once

#include <memory>
#include <string>

#include "chart/series/series.h"

class TGanttSeries : public TPointSeries {
  ZV_CLASS(TGanttSeries)
public:
  explicit TGanttSeries(TComponent* AOwner = nullptr);

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TGanttSeriesEditor"; }
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override;
  int AddXYPoint(double X, double Y, const std::string& Label = "", TColor Color = clDefault) override;
  double LargestX() override;
  bool PointerHit(int Index, int PX, int PY, int X, int Y) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;
  bool AcceptsSeriesAsSource(TChartSeries* Series) override;

  // Inserts a task at the place of its start date; returns that index.
  int AddGanttTask(double Start, double End, double Row, const std::string& Label = "", TColor Color = clDefault);

  TChartPen* ConnectingPen() const { return FConnectingPen.get(); }
  void SetConnectingPen(TChartPen* Value) { FConnectingPen->Assign(Value); }
  TChartValueList* StartValues() const { return XValues(); }
  void SetStartValues(TChartValueList* Value) { SetXValues(Value); }
  TChartValueList* EndValues() const { return FEndValues; }
  void SetEndValues(TChartValueList* Value) { ReplaceValueList(FEndValues, Value); }
  TChartValueList* NextTask() const { return FNextTask; }
  void SetNextTask(TChartValueList* Value) { ReplaceValueList(FNextTask, Value); }

private:
  std::unique_ptr<TChartPen> FConnectingPen;
  TChartValueList* FEndValues;
  TChartValueList* FNextTask;
};
