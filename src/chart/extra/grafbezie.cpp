// The Bezier series.
#include "chart/extra/grafbezie.h"

#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

const TEnumInfo& BezierStyleEnumInfo() {
  static const TEnumInfo info{"TBezierStyle", {"bsWindows", "bsBezier3", "bsBezier4"}, 0};
  return info;
}

ZV_CLASS_IMPL(TBezierSeries, TCustomSeries)

void TBezierSeries::DeclareProperties(TClassInfo& c) {
  using S = TBezierSeries;
  c.Enum<S>("BezierStyle", BezierStyleEnumInfo(), &S::BezierStyle, &S::SetBezierStyle, bsWindows);
  c.Object<S, TChartPen>("LinePen", &S::LinePen, &S::SetLinePen);
  c.Integer<S>("NumBezierPoints", &S::NumBezierPoints, &S::SetNumBezierPoints, 32);
  c.Object<S, TSeriesPointer>("Pointer", &S::Pointer, &S::SetPointer);
  c.Method<S, TSeriesClickPointerEvent>("OnClickPointer", [](S* s) { return s->OnClickPointer; },
                                        [](S* s, const TSeriesClickPointerEvent& e) { s->OnClickPointer = e; });
}

TBezierSeries::TBezierSeries(TComponent* AOwner) : TCustomSeries(AOwner) {}

void TBezierSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TBezierSeries*>(Source)) {
    FBezierStyle = s->FBezierStyle;
    FNumBezierPoints = s->FNumBezierPoints;
  }
  TCustomSeries::Assign(Source);
}

void TBezierSeries::SetBezierStyle(TBezierStyle Value) {
  if (FBezierStyle == Value) return;
  FBezierStyle = Value;
  RequestRedraw();
}

void TBezierSeries::SetNumBezierPoints(int Value) {
  if (Value < 2) throw ChartException(GrafMsgExNumberOfBezierPointsShouldBe1);
  ChangeInteger(FNumBezierPoints, Value);
}

void TBezierSeries::SetSeriesColor(TColor Value) {
  TCustomSeries::SetSeriesColor(Value);
  LinePen()->SetColor(Value);
}

std::vector<TPoint> TBezierSeries::CurveSegment(const std::vector<TPoint>& P, int Kind, int End) const {
  std::vector<TPoint> out;
  if (End >= static_cast<int>(P.size()) || End - (Kind - 1) < 0) return out;
  const int n = FNumBezierPoints;
  for (int i = 1; i <= n; ++i) {
    const double t = static_cast<double>(i) / n, u = 1 - t;
    double x, y;
    if (Kind == 3) {
      const TPoint a = P[End - 2], b = P[End - 1], c = P[End];
      x = a.X * u * u + b.X * 2 * t * u + c.X * t * t;
      y = a.Y * u * u + b.Y * 2 * t * u + c.Y * t * t;
    } else {
      const TPoint a = P[End - 3], b = P[End - 2], c = P[End - 1], d = P[End];
      x = a.X * u * u * u + b.X * 3 * t * u * u + c.X * 3 * t * t * u + d.X * t * t * t;
      y = a.Y * u * u * u + b.Y * 3 * t * u * u + c.Y * 3 * t * t * u + d.Y * t * t * t;
    }
    out.push_back(Point(Nearest(x), Nearest(y)));
  }
  return out;
}

void TBezierSeries::DrawSegment(const std::vector<TPoint>& Points, int Kind, int End) {
  if (End >= static_cast<int>(Points.size())) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (FColorEachLine) canvas->CanvasPen()->SetColor(PointColor(End));
  const bool is3D = FParentChart->View3D();
  for (const TPoint& p : CurveSegment(Points, Kind, End)) {
    if (is3D) canvas->LineTo3D(p.X, p.Y, StartZ);
    else canvas->LineTo(p.X, p.Y);
  }
}

void TBezierSeries::DrawVisiblePoints() {
  if (!FParentChart || PointCount() == 0) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool is3D = FParentChart->View3D();
  const int n = PointCount();
  std::vector<TPoint> points(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) points[static_cast<size_t>(i)] = Point(PointXPixel(i), PointYPixel(i));
  canvas->ApplyPen(LinePen());
  canvas->CanvasBrush()->SetStyle(bsClear);
  canvas->SetBackgroundMode(TRANSPARENT);
  if (LinePen()->Visible()) {
    if (is3D) canvas->MoveTo3D(points[0].X, points[0].Y, StartZ);
    else canvas->MovePenTo(points[0].X, points[0].Y);
    switch (FBezierStyle) {
      case bsBezier3:
        for (int j = 2; j <= n - 1; j += 2) DrawSegment(points, 3, j);
        break;
      case bsBezier4:
        for (int j = 3; j <= n - 1; j += 3) DrawSegment(points, 4, j);
        break;
      case bsWindows:
        if (is3D || canvas->RendersWithoutGdi() || !canvas->GetDrawingDC()) {
          DrawSegment(points, 3, 2);
          for (int j = 5; j <= n - 1; j += 3) DrawSegment(points, 4, j);
        } else if (const int count = (n / 3) * 3; count > 0) {
          canvas->GetDrawingDC()->PolyBezierTo(points.data(), count);
        }
        break;
    }
  }
  if (FPointer->Visible())
    for (int i = 0; i < n; ++i) {
      const TColor c = PointColor(i);
      if (c != clNone) PaintPointer(points[static_cast<size_t>(i)].X, points[static_cast<size_t>(i)].Y, i, c);
    }
}

void TBezierSeries::SetupGalleryPreview(bool Enabled) {
  TCustomSeries::SetupGalleryPreview(Enabled);
  LoadDemoData(3);
  SetColorEachPoint(Enabled);
  FPointer->SetDraw3D(false);
}
