// Vector and tower series.
#include "chart/series/grafvectortower.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"

// ============================================================================
// TVector3DSeries

ZV_CLASS_IMPL(TVector3DSeries, TCustom3DPaletteSeries)

void TVector3DSeries::DeclareProperties(TClassInfo& c) {
  using S = TVector3DSeries;
  c.Object<S, TChartValueList>("EndXValues", &S::EndXValues, &S::SetEndXValues);
  c.Object<S, TChartValueList>("EndYValues", &S::EndYValues, &S::SetEndYValues);
  c.Object<S, TChartValueList>("EndZValues", &S::EndZValues, &S::SetEndZValues);
  c.Integer<S>("ArrowWidth", &S::ArrowWidth, &S::SetArrowWidth, 4);
  c.Integer<S>("ArrowHeight", &S::ArrowHeight, &S::SetArrowHeight, 4);
  c.Object<S, TChartPen>("StartArrow", &S::StartArrow, &S::SetStartArrow);
  c.Object<S, TChartPen>("EndArrow", &S::EndArrow, &S::SetEndArrow);
}

TVector3DSeries::TVector3DSeries(TComponent* AOwner) : TCustom3DPaletteSeries(AOwner) {
  CalcVisibleRange = false;
  FXValues->SetDefaultDateTime(false);
  FEndXValues = new TChartValueList(this, "EndX");
  FEndYValues = new TChartValueList(this, "EndY");
  FEndZValues = new TChartValueList(this, "EndZ");
  auto repaint = [this](TObject*) { RequestRedraw(); };
  FStartArrow = std::make_unique<TChartHiddenPen>(repaint);
  FStartArrow->SetColor(clDefault);
  FEndArrow = std::make_unique<TChartPen>(repaint);
  FEndArrow->SetColor(clDefault);
}

TVector3DSeries::~TVector3DSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

int TVector3DSeries::AddVector(double X0, double Y0, double Z0, double X1, double Y1, double Z1,
                               const std::string& Label, TColor Color) {
  FEndXValues->TempValue = X1;
  FEndYValues->TempValue = Y1;
  FEndZValues->TempValue = Z1;
  return AddLabeledPoint3D(X0, Y0, Z0, Label, Color);
}

double TVector3DSeries::LargestX() { return std::max(FXValues->MaxValue(), FEndXValues->MaxValue()); }
double TVector3DSeries::LargestY() { return std::max(FYValues->MaxValue(), FEndYValues->MaxValue()); }
double TVector3DSeries::LargestZ() { return std::max(FZValues->MaxValue(), FEndZValues->MaxValue()); }
double TVector3DSeries::SmallestX() { return std::min(FXValues->MinValue(), FEndXValues->MinValue()); }
double TVector3DSeries::SmallestY() { return std::min(FYValues->MinValue(), FEndYValues->MinValue()); }
double TVector3DSeries::SmallestZ() { return std::min(FZValues->MinValue(), FEndZValues->MinValue()); }

void TVector3DSeries::DrawArrowHead(TChartPen* ArrowPen, TColor PointColor, TPoint P, int Z, double S, double K) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyPenWithColor(ArrowPen, ArrowPen->Color() == clDefault ? PointColor : ArrowPen->Color());
  const double w = FArrowWidth, h = FArrowHeight;
  canvas->MoveTo3D(P.X + static_cast<int>(std::lround(-w * K - h * S)),
                   P.Y + static_cast<int>(std::lround(w * S - h * K)), Z);
  canvas->LineTo3D(P.X, P.Y, Z);
  canvas->LineTo3D(P.X + static_cast<int>(std::lround(-w * K + h * S)),
                   P.Y + static_cast<int>(std::lround(w * S + h * K)), Z);
}

void TVector3DSeries::DrawPoint(int Index) {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->SetBackgroundMode(TRANSPARENT);
  const TColor c = PointColor(Index);
  canvas->ApplyPenWithColor(Pen(), c);
  const TPoint s{PointXPixel(Index), PointYPixel(Index)};
  const int z0 = ZPixel(Index);
  canvas->MoveTo3D(s.X, s.Y, z0);
  const TPoint e{GetHorizAxis()->ValueToPixelX(FEndXValues->GetValue(Index)),
                 GetVertAxis()->ValueToPixelY(FEndYValues->GetValue(Index))};
  const int z1 = FParentChart->DepthAxis()->ValueToPixel(FEndZValues->GetValue(Index));
  canvas->LineTo3D(e.X, e.Y, z1);
  if (!FStartArrow->Visible() && !FEndArrow->Visible()) return;
  const TPoint ps = canvas->ProjectPointAtDepth(s, z0), pe = canvas->ProjectPointAtDepth(e, z1);
  const double a = std::atan2(static_cast<double>(ps.Y - pe.Y), static_cast<double>(pe.X - ps.X));
  const double sa = std::sin(a), ka = std::cos(a);
  if (FStartArrow->Visible()) DrawArrowHead(FStartArrow.get(), c, s, z0, sa, ka);
  if (FEndArrow->Visible()) DrawArrowHead(FEndArrow.get(), c, e, z1, sa, ka);
}

void TVector3DSeries::GenerateRandomPoints(int Count, bool) {
  for (int i = 0; i < Count; ++i) {
    const double c = i * 8 * std::numbers::pi / Count, sc = std::sin(c), cc = std::cos(c);
    AddVector(i + sc, i, cc, i + 2 * sc, i + 0.6 * Count * sc * cc, (i + 1) * cc);
  }
}

void TVector3DSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TVector3DSeries*>(Source)) {
    FArrowHeight = s->FArrowHeight;
    FArrowWidth = s->FArrowWidth;
    FEndArrow->Assign(s->FEndArrow.get());
    FStartArrow->Assign(s->FStartArrow.get());
  }
  TCustom3DPaletteSeries::Assign(Source);
}

// ============================================================================
// TTowerSeries

const TEnumInfo& TowerStyleEnumInfo() {
  static const TEnumInfo info{
      "TTowerStyle", {"tsCube", "tsRectangle", "tsCover", "tsCylinder", "tsArrow", "tsCone", "tsPyramid", "tsSlantCube"},
      0};
  return info;
}

ZV_CLASS_IMPL(TTowerSeries, TCustom3DGridSeries)

void TTowerSeries::DeclareProperties(TClassInfo& c) {
  using S = TTowerSeries;
  c.Enum<S>("TowerStyle", TowerStyleEnumInfo(), &S::TowerStyle, &S::SetTowerStyle, tsCube);
  c.Integer<S>("PercentWidth", &S::PercentWidth, &S::SetPercentWidth, 100);
  c.Integer<S>("PercentDepth", &S::PercentDepth, &S::SetPercentDepth, 100);
  c.Float<S>("Origin", ftDouble, &S::Origin, &S::SetOrigin, 0.0L);
  c.Boolean<S>("UseOrigin", &S::UseOrigin, &S::SetUseOrigin, false);
  c.Boolean<S>("Dark3D", &S::Dark3D, &S::SetDark3D, true);
  c.Integer<S>("Transparency", &S::Transparency, &S::SetTransparency, 0);
}

TTowerSeries::TTowerSeries(TComponent* AOwner) : TCustom3DGridSeries(AOwner) {}

TTowerSeries::~TTowerSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

void TTowerSeries::SetTowerStyle(TTowerStyle Value) {
  if (FTowerStyle == Value) return;
  FTowerStyle = Value;
  RequestRedraw();
}

TTowerSeries::TTowerBox TTowerSeries::TowerGeometry(int P) {
  TTowerBox b;
  TChartAxis* h = GetHorizAxis();
  const double x = FXValues->GetValue(P), z = FZValues->GetValue(P);
  b.Left = h->ValueToPixelX(x - FHalfWidth);
  b.Right = h->ValueToPixelX(x + FHalfWidth);
  b.Value = PointYPixel(P);
  b.OriginY = GetVertAxis()->ValueToPixelY(FUseOrigin ? FOrigin : FYValues->MinValue());
  b.Top = std::min(b.Value, b.OriginY);
  b.Bottom = std::max(b.Value, b.OriginY);
  b.Front = FParentChart->DepthAxis()->ValueToPixel(z - FHalfDepth);
  b.Back = FParentChart->DepthAxis()->ValueToPixel(z + FHalfDepth);
  return b;
}

void TTowerSeries::DrawTower(int X, int Z) {
  const int p = GridIndex(X, Z);
  if (p < 0) return;
  const TColor color = PointColor(p);
  if (color == clNone) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (Brush()->Style() != bsClear) canvas->ApplyBrush(Brush(), color);
  const TTowerBox b = TowerGeometry(p);
  const bool gdi = !canvas->RendersWithoutGdi();
  if (FBlend && gdi) {
    TRect area;
    if (FTowerStyle == tsCover) {
      const TPoint q[4] = {canvas->ProjectXYZ(b.Left, b.Value, b.Front), canvas->ProjectXYZ(b.Right, b.Value, b.Front),
                           canvas->ProjectXYZ(b.Right, b.Value, b.Back), canvas->ProjectXYZ(b.Left, b.Value, b.Back)};
      area = ExclusiveBoundsOfPoints(q, 4);
    } else {
      const TRect r(b.Left, b.Top, b.Right, b.Bottom);
      const TRect f = canvas->ProjectedRectBounds(r, b.Front), k = canvas->ProjectedRectBounds(r, b.Back);
      area = TRect(std::min(f.Left, k.Left), std::min(f.Top, k.Top), std::max(f.Right, k.Right),
                   std::max(f.Bottom, k.Bottom));
    }
    FBlend->CaptureRect(area);
  }
  switch (FTowerStyle) {
    case tsCube: canvas->CubeOfRect(TRect(b.Left, b.Top, b.Right, b.Bottom), b.Front, b.Back, FDark3D); break;
    case tsRectangle: canvas->RectangleWithZ(TRect(b.Left, b.Top, b.Right, b.Bottom), (b.Front + b.Back) / 2); break;
    case tsCover: canvas->RectangleY(b.Left, b.Value, b.Right, b.Front, b.Back); break;
    case tsCylinder: canvas->Cylinder(true, b.Left, b.Top, b.Right, b.Bottom, b.Front, b.Back, FDark3D); break;
    case tsArrow: {
      const int centre = (b.Left + b.Right) / 2;
      canvas->DefaultArrow(true, TPoint{centre, b.OriginY}, TPoint{centre, b.Value}, b.Right - b.Left,
                           (b.Right - b.Left) / 2, (b.Front + b.Back) / 2);
      break;
    }
    case tsCone: canvas->Cone(true, b.Left, b.Value, b.Right, b.OriginY, b.Front, b.Back, FDark3D, 0); break;
    case tsPyramid: canvas->Pyramid(true, b.Left, b.Value, b.Right, b.OriginY, b.Front, b.Back, FDark3D); break;
    case tsSlantCube: {
      const int old = CylinderSideCount;
      CylinderSideCount = 4;
      try {
        canvas->Cylinder(true, b.Left, b.Top, b.Right, b.Bottom, b.Front, b.Back, FDark3D);
      } catch (...) {
        CylinderSideCount = old;
        throw;
      }
      CylinderSideCount = old;
      break;
    }
  }
  if (FBlend && gdi) FBlend->ApplyTransparency(FTransparency);
}

void TTowerSeries::DrawVisiblePoints() {
  if (PointCount() == 0 || !FParentChart || GridRefused()) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyPen(Pen());
  canvas->ApplyBrush(Brush(), SeriesColor());
  FHalfWidth = FPercentWidth * 0.005;
  FHalfDepth = FPercentDepth * 0.005;
  if (FTransparency > 0) FBlend = canvas->BeginBlending(TRect(), FTransparency);
  const bool ascending = DrawsAscending(), forward = DepthDrawsForward();
  try {
    for (int i = 1; i <= FNumXValues; ++i) {
      const int x = ascending ? i : FNumXValues + 1 - i;
      for (int j = 1; j <= FNumZValues; ++j) DrawTower(x, forward ? j : FNumZValues + 1 - j);
    }
  } catch (...) {
    FBlend.reset();
    throw;
  }
  if (FBlend && canvas->RendersWithoutGdi()) canvas->EndBlending(std::move(FBlend));
  FBlend.reset();
}

void TTowerSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  FMarks->ApplyCalloutLength(Position);
  TCustom3DGridSeries::DrawPointMark(Index, Text, Position);
}

int TTowerSeries::IndexAtPoint(int X, int Y) {
  if (PointCount() == 0 || !FParentChart || GridRefused() || FTowerStyle != tsCover) return -1;
  FHalfWidth = FPercentWidth * 0.005;
  FHalfDepth = FPercentDepth * 0.005;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  for (int x = 1; x <= FNumXValues; ++x)
    for (int z = 1; z <= FNumZValues; ++z) {
      const int p = GridIndex(x, z);
      if (p < 0 || PointColor(p) == clNone) continue;
      const TTowerBox b = TowerGeometry(p);
      const std::vector<TPoint> q = {canvas->ProjectXYZ(b.Left, b.Value, b.Front),
                                     canvas->ProjectXYZ(b.Right, b.Value, b.Front),
                                     canvas->ProjectXYZ(b.Right, b.Value, b.Back),
                                     canvas->ProjectXYZ(b.Left, b.Value, b.Back)};
      if (PointInsidePolygon(TPoint{X, Y}, q)) return p;
    }
  return -1;
}

void TTowerSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustom3DGridSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgNoBorder, GrafMsgExSingleColor, GrafMsgMarks, GrafMsgHollow, GrafMsgExRectangle,
                               GrafMsgExCover, GrafMsgCircle, GrafMsgArrow, GrafMsgExCone, GrafMsgExPyramid})
    Proc(t);
}

void TTowerSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TTowerSeries*>(Series);
  if (!s) return;
  static const TTowerStyle styles[] = {tsRectangle, tsCover, tsCylinder, tsArrow, tsCone, tsPyramid};
  switch (Index) {
    case 2: s->Pen()->SetVisible(false); break;
    case 3: s->SetUsePalette(false); break;
    case 4: s->Marks()->SetVisible(true); break;
    case 5: s->Brush()->SetStyle(bsClear); break;
    case 6: case 7: case 8: case 9: case 10: case 11: s->SetTowerStyle(styles[Index - 6]); break;
    default: TCustom3DGridSeries::ApplyGalleryStyle(Series, Index); break;
  }
}

void TTowerSeries::SetupGalleryPreview(bool Enabled) {
  TCustom3DGridSeries::SetupGalleryPreview(Enabled);
  SampleMode = true;
  CreateGridValues(5, 5);
}

void TTowerSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TTowerSeries*>(Source)) {
    FDark3D = s->FDark3D;
    FOrigin = s->FOrigin;
    FPercentDepth = s->FPercentDepth;
    FPercentWidth = s->FPercentWidth;
    FTowerStyle = s->FTowerStyle;
    FTransparency = s->FTransparency;
    FUseOrigin = s->FUseOrigin;
  }
  TCustom3DGridSeries::Assign(Source);
}
