// Test doubles of the chart core for the chart tests (and the series tests
// of later subsystems): a small point series, a tool that records the events
// it receives, two simple functions and a chart that draws through a
// recording canvas.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/core/recordingcanvas.h"

// A series drawn as a small pointer at each point. It logs the indexes it
// drew (DrawnLog holds "<Name>:<index>") so tests can check the order.
class TTestSeries : public TChartSeries {
  ZV_CLASS(TTestSeries)
public:
  explicit TTestSeries(TComponent* AOwner = nullptr);
  ~TTestSeries() override;

  void DrawPoint(int Index) override;
  int IndexAtPoint(int X, int Y) override;
  void GetHorizMargins(int& Left, int& Right) override;
  void GetVertMargins(int& Top, int& Bottom) override;
  bool HasAxes() override { return AxisLess ? false : TChartSeries::HasAxes(); }

  TSeriesPointer* Pointer() const { return FPointer.get(); }
  // Every DrawPoint call, as "<Name>:<index>", shared by all test series.
  static std::vector<std::string>& DrawnLog();
  // Behaves as a series without axes (a pie-like series).
  bool AxisLess = false;

private:
  std::unique_ptr<TSeriesPointer> FPointer;
};

// Records the chart events and mouse events it receives.
class TRecordingTool : public TGrafCustomTool {
  ZV_CLASS(TRecordingTool)
public:
  explicit TRecordingTool(TComponent* AOwner = nullptr) : TGrafCustomTool(AOwner) {}
  void HandleChartEvent(int Code) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::string ToolTypeName() const override { return "Recording"; }

  std::vector<int> ChartEvents;
  std::vector<int> MouseKinds;
  // Sets the chart's cancel-mouse flag on a mouse-down.
  bool CancelOnDown = false;
};

// An axis tool and a series tool without behaviour of their own.
class TTestAxisTool : public TGrafCustomToolAxis {
  ZV_CLASS(TTestAxisTool)
public:
  explicit TTestAxisTool(TComponent* AOwner = nullptr) : TGrafCustomToolAxis(AOwner) {}
};

class TTestSeriesTool : public TGrafCustomToolSeries {
  ZV_CLASS(TTestSeriesTool)
public:
  explicit TTestSeriesTool(TComponent* AOwner = nullptr) : TGrafCustomToolSeries(AOwner) {}
};

// The sum of the source's mandatory values over a range.
class TTestSumFunction : public TGrafFunction {
  ZV_CLASS(TTestSumFunction)
public:
  explicit TTestSumFunction(TComponent* AOwner = nullptr) : TGrafFunction(AOwner) {}
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  double ComputeValueMany(TCustomSeriesList* Sources, int Index) override;
};

// The average over a moving window.
class TTestMovingAverage : public TGrafMovingFunction {
  ZV_CLASS(TTestMovingAverage)
public:
  explicit TTestMovingAverage(TComponent* AOwner = nullptr) : TGrafMovingFunction(AOwner) {}
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
};

// A chart that draws through a recording canvas of its own size.
class TTestChart : public TChart {
public:
  explicit TTestChart(TComponent* AOwner = nullptr, int Width = 400, int Height = 250, bool Recording = true);
  // A drawing pass over the whole chart onto the recording canvas's surface.
  void Pass();
  TRecordingCanvas* Rec = nullptr;
};

// Registers the test classes for streaming (once).
void RegisterTestChartClasses();
