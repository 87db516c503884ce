#include "chart/extra/grafpietool.h"

#include <chrono>
#include <thread>

#include "chart/core/grafconst.h"
#include "chart/series/series_pie.h"
#include "platform/rtl/mathutils.h"

const TEnumInfo& PieToolStyleEnumInfo() {
  static const TEnumInfo info{"TPieToolStyle", {"ptFocus", "ptExplode"}, 0};
  return info;
}

ZV_CLASS_IMPL(TPieTool, TGrafCustomToolSeries)

void TPieTool::DeclareProperties(TClassInfo& c) {
  using T = TPieTool;
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen);
  c.Enum<T>("Style", PieToolStyleEnumInfo(), &T::Style, &T::SetStyle, ptFocus);
}

TPieTool::TPieTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {
  Pen()->SetWidth(4);
  Pen()->SetStyle(psSolid);
}

TPieTool::~TPieTool() {
  if (FParentChart) SetParentChart(nullptr);
}

std::string TPieTool::ToolTypeName() const { return GrafMsgExPieSlices; }

TPieSeries* TPieTool::Pie() const { return dynamic_cast<TPieSeries*>(FSeries); }

int TPieTool::SliceAt(int X, int Y) {
  TPieSeries* pie = Pie();
  const int slice = pie->SliceAtPoint(X, Y, true);
  return slice != -1 ? slice : pie->SliceAtPoint(X, Y, false);
}

void TPieTool::Highlight(int Index, bool On) {
  TPieSeries* pie = Pie();
  if (!pie || !FParentChart || Index < 0 || Index >= pie->PointCount()) return;
  if (FStyle == ptExplode) {
    for (int b = 1; b <= 30; ++b) {
      const int d = On ? b : 31 - b;
      pie->ExplodePercents()->SetItemValue(Index, static_cast<int>(Round(d * 40.0 / 30)));
      if (StepDelay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(StepDelay));
      FParentChart->Repaint();
    }
    if (!On) {
      pie->ExplodePercents()->SetItemValue(Index, 0);
      FParentChart->Repaint();
    }
    return;
  }
  if (!On) {
    FParentChart->Repaint();
    return;
  }
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->CanvasBrush()->SetStyle(bsClear);
  TColor color = Pen()->Color();
  // A slice of the pen's own colour is outlined in black (white for a black pen).
  if (pie->SliceColor(Index) == color) color = color == clBlack ? clWhite : clBlack;
  canvas->ApplyPenWithColor(Pen(), color);
  pie->StartArcBeforeSlice(Index);
  pie->PaintSlice(Index);
}

void TPieTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomToolSeries::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (Kind != cmeMove || !Pie() || !FParentChart) return;
  int slice = SliceAt(X, Y);
  if (slice == FSlice) return;
  if (FSlice != -1) {
    Highlight(FSlice, false);
    // Taking the old slice back may have moved the pie under the mouse.
    slice = SliceAt(X, Y);
  }
  FSlice = slice;
  if (FSlice != -1) Highlight(FSlice, true);
}
