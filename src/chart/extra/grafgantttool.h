// Moving gantt bars with the mouse along the horizontal axis, or stretching
// either end of a bar, with a drag or resize cursor while hovering.
#pragma once

#include <functional>
#include <string>

#include "chart/core/grengine.h"

enum TGanttToolBarPart { pbStart, pbAll, pbEnd };

class TGanttTool;
class TGanttSeries;
using TGanttDragEvent = std::function<void(TGanttTool* Sender, int GanttBar)>;
using TGanttResizeEvent = std::function<void(TGanttTool* Sender, int GanttBar, TGanttToolBarPart BarPart)>;

class TGanttTool : public TGrafCustomToolSeries {
  ZV_CLASS(TGanttTool)
public:
  explicit TGanttTool(TComponent* AOwner = nullptr);
  ~TGanttTool() override;

  std::string EditorFormClassName() const override { return "TGanttToolEditor"; }
  std::string ToolTypeName() const override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;

  bool AllowDrag() const { return FAllowDrag; }
  void SetAllowDrag(bool Value) { FAllowDrag = Value; }
  bool AllowResize() const { return FAllowResize; }
  void SetAllowResize(bool Value) { FAllowResize = Value; }
  TCursor CursorDrag() const { return FCursorDrag; }
  void SetCursorDrag(TCursor Value) { FCursorDrag = Value; }
  TCursor CursorResize() const { return FCursorResize; }
  void SetCursorResize(TCursor Value) { FCursorResize = Value; }
  int MinPixels() const { return FMinPixels; }
  void SetMinPixels(int Value) { FMinPixels = Value; }

  TGanttDragEvent OnDragBar;
  TGanttResizeEvent OnResizeBar;

  // The bar held by the mouse (-1: none) and which part of it.
  int GrabbedBar() const { return FBar; }
  TGanttToolBarPart GrabbedPart() const { return FPart; }

private:
  TGanttSeries* Gantt() const;
  // The first bar whose start or end is within MinPixels at (X, Y).
  int BarEndAt(int X, int Y, TGanttToolBarPart& Part);
  double AxisValueAt(int X) const;

  bool FAllowDrag = true;
  bool FAllowResize = true;
  TCursor FCursorDrag = crHandPoint;
  TCursor FCursorResize = crSizeWE;
  int FMinPixels = 5;
  int FBar = -1;
  TGanttToolBarPart FPart = pbAll;
  double FLastValue = 0;
};
