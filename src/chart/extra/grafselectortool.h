// Selecting chart parts with the mouse: the clicked part (legend, a title,
// an annotation, an axis, a series, its marks, the back wall, the whole
// chart) gets small square handles; the legend, titles and annotations can
// be dragged to new places, and the chart can be resized from its
// bottom-right corner.
#pragma once

#include <string>

#include "chart/core/chart.h"
#include "chart/core/grengine.h"

class TAnnotationTool;

class TSelectorTool : public TGrafCustomTool {
  ZV_CLASS(TSelectorTool)
public:
  explicit TSelectorTool(TComponent* AOwner = nullptr);
  ~TSelectorTool() override;

  std::string EditorFormClassName() const override { return "TSelectorToolEditor"; }
  std::string ToolTypeName() const override;
  void HandleChartEvent(int Code) override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  bool AllowDrag() const { return FAllowDrag; }
  void SetAllowDrag(bool Value) { FAllowDrag = Value; }
  bool AllowResizeChart() const { return FAllowResizeChart; }
  void SetAllowResizeChart(bool Value) { FAllowResizeChart = Value; }
  int HandleSize() const { return FHandleSize; }
  void SetHandleSize(int Value) { ChangeInteger(FHandleSize, Value); }

  TNotifyEvent OnDragged;
  TNotifyEvent OnDragging;
  TNotifyEvent OnResized;
  TNotifyEvent OnResizing;
  TNotifyEvent OnSelected;

  // The selection.
  const TChartClickedPart& Part() const { return FPart; }
  TAnnotationTool* Annotation() const { return FAnnotation; }
  TGrafCustomShapePosition* SelectedShape() const { return FShape; }
  TChartWall* Wall() const { return FWall; }
  bool ShowHandles = true;
  bool Dragging() const { return FDragging; }
  bool Resizing() const { return FResizing; }
  // The centres of the handles drawn at the last paint.
  const std::vector<TPoint>& HandleCentres() const { return FHandles; }

  void ClearSelection();

private:
  void Select(int X, int Y);
  void DrawHandle(int X, int Y);
  void DrawCorners(const TRect& R);
  void DrawHandle3D(int X, int Y, int Z);
  void DrawSeriesHandles(bool Marks);

  bool FAllowDrag = true;
  bool FAllowResizeChart = false;
  int FHandleSize = 3;

  TChartClickedPart FPart;
  TAnnotationTool* FAnnotation = nullptr;
  TGrafCustomShapePosition* FShape = nullptr;
  TChartWall* FWall = nullptr;
  bool FDragging = false;
  bool FMoved = false;
  bool FResizing = false;
  bool FResized = false;
  TPoint FOffset;
  std::vector<TPoint> FHandles;
};
