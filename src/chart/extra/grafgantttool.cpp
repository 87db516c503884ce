#include "chart/extra/grafgantttool.h"

#include <cstdlib>

#include "chart/core/grafconst.h"
#include "chart/extra/ganttch.h"
#include "platform/ui/uitypes.h"

ZV_CLASS_IMPL(TGanttTool, TGrafCustomToolSeries)

void TGanttTool::DeclareProperties(TClassInfo& c) {
  using T = TGanttTool;
  c.Boolean<T>("AllowDrag", &T::AllowDrag, &T::SetAllowDrag, true);
  c.Boolean<T>("AllowResize", &T::AllowResize, &T::SetAllowResize, true);
  c.Integer<T>("CursorDrag", &T::CursorDrag, &T::SetCursorDrag, crHandPoint).WithIdents(&CursorIdents());
  c.Integer<T>("CursorResize", &T::CursorResize, &T::SetCursorResize, crSizeWE).WithIdents(&CursorIdents());
  c.Integer<T>("MinPixels", &T::MinPixels, &T::SetMinPixels, 5);
}

TGanttTool::TGanttTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {}

TGanttTool::~TGanttTool() {
  if (FParentChart) SetParentChart(nullptr);
}

std::string TGanttTool::ToolTypeName() const { return GrafMsgExGanttDrag; }

TGanttSeries* TGanttTool::Gantt() const { return dynamic_cast<TGanttSeries*>(FSeries); }

double TGanttTool::AxisValueAt(int X) const { return FSeries->GetHorizAxis()->PixelToValue(X); }

int TGanttTool::BarEndAt(int X, int Y, TGanttToolBarPart& Part) {
  TGanttSeries* g = Gantt();
  const int half = g->Pointer()->VertSize() / 2;
  for (int i = 0; i < g->PointCount(); ++i) {
    const int y = g->VertPixelOf(g->YValues()->GetValue(i));
    if (Y < y - half || Y > y + half) continue;
    if (std::abs(g->HorizPixelOf(g->StartValues()->GetValue(i)) - X) < FMinPixels) {
      Part = pbStart;
      return i;
    }
    if (std::abs(g->HorizPixelOf(g->EndValues()->GetValue(i)) - X) < FMinPixels) {
      Part = pbEnd;
      return i;
    }
  }
  return -1;
}

void TGanttTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolSeries::HandleMouseEvent(Kind, Button, Shift, X, Y);
  TGanttSeries* g = Gantt();
  if (!g || !FParentChart) return;
  if (Kind == cmeDown) {
    FBar = -1;
    FLastValue = AxisValueAt(X);
    if (FAllowResize) FBar = BarEndAt(X, Y, FPart);
    if (FBar == -1 && FAllowDrag) {
      FBar = g->IndexAtPoint(X, Y);
      FPart = pbAll;
    }
  } else if (Kind == cmeMove) {
    if (FBar == -1) {
      TGanttToolBarPart part;
      if (FAllowResize && BarEndAt(X, Y, part) != -1) {
        FParentChart->SetCursor(FCursorResize);
        FParentChart->MouseCancelled = true;
      }
      if (FAllowDrag && g->IndexAtPoint(X, Y) != -1) {
        FParentChart->SetCursor(FCursorDrag);
        FParentChart->MouseCancelled = true;
      }
      return;
    }
    if (FBar >= g->PointCount()) {
      FBar = -1;
      return;
    }
    const double value = AxisValueAt(X);
    const double delta = value - FLastValue;
    TChartValueList* starts = g->StartValues();
    TChartValueList* ends = g->EndValues();
    const int i = FBar;
    switch (FPart) {
      case pbStart:
        starts->SetValue(i, starts->GetValue(i) + delta);
        // Never a reversed bar: a start dragged past the end stops there.
        if (ends->GetValue(i) < starts->GetValue(i)) starts->SetValue(i, ends->GetValue(i));
        if (OnResizeBar) OnResizeBar(this, i, pbStart);
        break;
      case pbAll:
        starts->SetValue(i, starts->GetValue(i) + delta);
        ends->SetValue(i, ends->GetValue(i) + delta);
        if (OnDragBar) OnDragBar(this, i);
        break;
      case pbEnd:
        ends->SetValue(i, ends->GetValue(i) + delta);
        if (starts->GetValue(i) > ends->GetValue(i)) ends->SetValue(i, starts->GetValue(i));
        if (OnResizeBar) OnResizeBar(this, i, pbEnd);
        break;
    }
    FLastValue = value;
    g->RequestRedraw();
  } else if (Kind == cmeUp) {
    FBar = -1;
  }
}
