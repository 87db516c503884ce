// Pie slices under the mouse: the slice the mouse moves onto is outlined
// (focus) or slides out of the pie (explode), and goes back when the mouse
// leaves it.
#pragma once

#include <string>

#include "chart/core/grengine.h"

enum TPieToolStyle { ptFocus, ptExplode };
const TEnumInfo& PieToolStyleEnumInfo();

class TPieSeries;

class TPieTool : public TGrafCustomToolSeries {
  ZV_CLASS(TPieTool)
public:
  explicit TPieTool(TComponent* AOwner = nullptr);
  ~TPieTool() override;

  std::string EditorFormClassName() const override { return "TPieToolEditor"; }
  std::string ToolTypeName() const override;
  void HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) override;

  TPieToolStyle Style() const { return FStyle; }
  void SetStyle(TPieToolStyle Value) { FStyle = Value; }

  // The slice under the mouse now (-1: none).
  int Slice() const { return FSlice; }
  // Milliseconds between two explode steps (the repaint runs at each).
  int StepDelay = 1;

private:
  TPieSeries* Pie() const;
  int SliceAt(int X, int Y);
  void Highlight(int Index, bool On);
  TPieToolStyle FStyle = ptFocus;
  int FSlice = -1;
};
