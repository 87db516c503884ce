// The gantt series.
#include "chart/extra/ganttch.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "platform/rtl/datetime.h"

ZV_CLASS_IMPL(TGanttSeries, TPointSeries)

void TGanttSeries::DeclareProperties(TClassInfo& c) {
  using S = TGanttSeries;
  c.Object<S, TChartPen>("ConnectingPen", &S::ConnectingPen, &S::SetConnectingPen);
  c.Object<S, TChartValueList>("EndValues", &S::EndValues, &S::SetEndValues);
  c.Object<S, TChartValueList>("NextTask", &S::NextTask, &S::SetNextTask);
  c.Object<S, TChartValueList>("StartValues", &S::StartValues, &S::SetStartValues);
}

TGanttSeries::TGanttSeries(TComponent* AOwner) : TPointSeries(AOwner) {
  SetHorizontalOrientation();
  FClickableLine = false;
  CalcVisibleRange = false;
  XValues()->SetName(GrafMsgStart);
  XValues()->SetDefaultDateTime(true);
  FColorEachPoint = true;
  FEndValues = new TChartValueList(this, GrafMsgEnd);
  FEndValues->SetDefaultDateTime(true);
  FNextTask = new TChartValueList(this, GrafMsgNextTask);
  FPointer->SetStyle(psRectangle);
  FConnectingPen = NewPen();
}

void TGanttSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TGanttSeries*>(Source)) FConnectingPen->Assign(s->FConnectingPen.get());
  TPointSeries::Assign(Source);
}

int TGanttSeries::AddGanttTask(double Start, double End, double Row, const std::string& Label, TColor Color) {
  FEndValues->TempValue = End;
  return AddXYPoint(Start, Row, Label, Color);
}

int TGanttSeries::AddXYPoint(double X, double Y, const std::string& Label, TColor Color) {
  // A new task has no follower; a stored one read back keeps its own.
  if (!ComponentState().Contains(csLoading)) FNextTask->TempValue = -1;
  return TPointSeries::AddXYPoint(X, Y, Label, Color);
}

double TGanttSeries::LargestX() {
  const double v = TPointSeries::LargestX();
  return PointCount() > 0 ? std::max(v, FEndValues->MaxValue()) : v;
}

void TGanttSeries::DrawPoint(int Index) {
  if (!FParentChart || !FPointer->Visible()) return;
  const TColor c = PointColor(Index);
  if (c == clNone) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  FPointer->SetupCanvas(canvas, c);
  const int x0 = PointXPixel(Index);
  const int x1 = HorizPixelOf(FEndValues->GetValue(Index));
  const int y = PointYPixel(Index);
  const int h = (x1 - x0) / 2;
  FPointer->DrawShapeAt(canvas, FParentChart->View3D(), x0 + h, y, h, FPointer->VertSize(), c, PointerStyleAt(Index));
  if (!FConnectingPen->Visible()) return;
  const double next = FNextTask->GetValue(Index);
  if (!(std::fabs(next) < 2147483647.0)) return;
  const int n = static_cast<int>(std::nearbyint(next));
  if (n < 0 || n >= PointCount()) return;
  canvas->ApplyPen(FConnectingPen.get());
  canvas->CanvasBrush()->SetStyle(bsClear);
  const int x2 = PointXPixel(n), y2 = PointYPixel(n);
  const int m = x1 + (x2 - x1) / 2;
  canvas->MoveTo3D(x1, y, MiddleZ);
  canvas->LineTo3D(m, y, MiddleZ);
  canvas->LineTo3D(m, y2, MiddleZ);
  canvas->LineTo3D(x2, y2, MiddleZ);
}

void TGanttSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  const int dx = (HorizPixelOf(FEndValues->GetValue(Index)) - Position.ArrowFrom.X) / 2;
  Position.LeftTop.X += dx;
  Position.LeftTop.Y += Position.Height / 2;
  Position.ArrowFrom.X += dx;
  Position.ArrowTo.X += dx;
  TPointSeries::DrawPointMark(Index, Text, Position);
}

bool TGanttSeries::PointerHit(int Index, int, int, int X, int Y) {
  const int x0 = PointXPixel(Index), x1 = HorizPixelOf(FEndValues->GetValue(Index));
  return x0 <= X && X <= x1 && std::abs(Y - PointYPixel(Index)) < FPointer->VertSize();
}

void TGanttSeries::GenerateRandomPoints(int Count, bool) {
  static const std::string* const labels[] = {&GrafMsgDesign,    &GrafMsgPrototyping, &GrafMsgDevelopment,
                                              &GrafMsgSales,     &GrafMsgMarketing,   &GrafMsgTesting,
                                              &GrafMsgManufac,   &GrafMsgDebugging,   &GrafMsgNewVersion,
                                              &GrafMsgBanking};
  const int k = std::min(Count - 1, 10 + RandomInteger(20));
  const double today = Date();
  for (int j = 0; j <= k; ++j) {
    const double start = today + 3 * j + RandomInteger(5);
    const double end = start + 9 + RandomInteger(16);
    const int index = AddGanttTask(start, end, j % 10, *labels[j % 10], clDefault);
    for (int i = 0; i < PointCount(); ++i) {
      if (i == index || FNextTask->GetValue(i) != -1 || !(FEndValues->GetValue(i) < start)) continue;
      FNextTask->StoreValue(i, index);
      break;
    }
  }
}

void TGanttSeries::SetupGalleryPreview(bool Enabled) {
  TPointSeries::SetupGalleryPreview(Enabled);
  SetColorEachPoint(Enabled);
  FPointer->SetVertSize(3);
  FPointer->Gradient()->SetVisible(true);
}

bool TGanttSeries::AcceptsSeriesAsSource(TChartSeries* Series) {
  return dynamic_cast<TGanttSeries*>(Series) != nullptr && TPointSeries::AcceptsSeriesAsSource(Series);
}
