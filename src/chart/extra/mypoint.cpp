// Line-point and bar-join series.
#include "chart/extra/mypoint.h"

#include "chart/core/chart.h"

// ============================================================================
// TMyPointSeries

ZV_CLASS_IMPL(TMyPointSeries, TPointSeries)

void TMyPointSeries::DeclareProperties(TClassInfo& c) {
  using S = TMyPointSeries;
  c.Object<S, TChartPen>("LinesPen", &S::LinesPen, &S::SetLinesPen);
}

TMyPointSeries::TMyPointSeries(TComponent* AOwner) : TPointSeries(AOwner) {
  FLinesPen = NewPen();
  FLinesPen->SetColor(clRed);
  FPointer->SetDraw3D(false);
  FPointer->SetStyle(psDiamond);
}

void TMyPointSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TMyPointSeries*>(Source)) FLinesPen->Assign(s->FLinesPen.get());
  TPointSeries::Assign(Source);
}

void TMyPointSeries::DrawPoint(int Index) {
  if (FParentChart && !PointIsNull(Index) && FLinesPen->Visible() && FHorizAxisInUse && FVertAxisInUse) {
    TCanvas3D* canvas = FParentChart->PanelCanvas();
    canvas->CanvasBrush()->SetStyle(bsClear);
    canvas->SetBackgroundMode(TRANSPARENT);
    canvas->ApplyPen(FLinesPen.get());
    const int x = PointXPixel(Index), y = PointYPixel(Index);
    const TPoint drop[3] = {Point(FVertAxisInUse->AxisLinePos, y), Point(x, y), Point(x, FHorizAxisInUse->AxisLinePos)};
    canvas->PolylineWithZ(drop, StartZ);
  }
  TPointSeries::DrawPoint(Index);
}

// ============================================================================
// TBarJoinSeries

ZV_CLASS_IMPL(TBarJoinSeries, TBarSeries)

void TBarJoinSeries::DeclareProperties(TClassInfo& c) {
  using S = TBarJoinSeries;
  c.Object<S, TChartPen>("JoinPen", &S::JoinPen, &S::SetJoinPen);
}

TBarJoinSeries::TBarJoinSeries(TComponent* AOwner) : TBarSeries(AOwner) { FJoinPen = NewPen(); }

void TBarJoinSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TBarJoinSeries*>(Source)) FJoinPen->Assign(s->FJoinPen.get());
  TBarSeries::Assign(Source);
}

void TBarJoinSeries::PrepareChartDraw() {
  TBarSeries::PrepareChartDraw();
  FFirstBar = true;
}

void TBarJoinSeries::DrawPoint(int Index) {
  TBarSeries::DrawPoint(Index);
  if (!FParentChart || PointIsNull(Index) || !HasStackTotal(Index)) return;
  const TRect bar = CurrentBarRect;
  if (!FFirstBar && FJoinPen->Visible()) {
    TCanvas3D* canvas = FParentChart->PanelCanvas();
    canvas->ApplyPen(FJoinPen.get());
    TPoint from, to;
    if (!DrawsAscending()) {
      from = Point(bar.Right, bar.Top);
      to = Point(FPrevBar.Left, FPrevBar.Top);
    } else {
      const TBarStyle style = BarStyleAt(Index);
      const bool centres = style == bsPyramid || style == bsEllipse || style == bsArrow || style == bsCone;
      from = Point(centres ? (FPrevBar.Left + FPrevBar.Right) / 2 : FPrevBar.Right, FPrevBar.Top);
      to = Point(centres ? (bar.Left + bar.Right) / 2 : bar.Left, bar.Top);
    }
    if (FParentChart->View3D()) canvas->LinePointsAtDepth(from, to, EndZ);
    else canvas->LineFromTo(from.X, from.Y, to.X, to.Y);
  }
  FFirstBar = false;
  FPrevBar = bar;
}

void TBarJoinSeries::SetupGalleryPreview(bool Enabled) {
  TBarSeries::SetupGalleryPreview(Enabled);
  FJoinPen->SetColor(clBlue);
  FJoinPen->SetWidth(2);
  LoadDemoData(2);
}
