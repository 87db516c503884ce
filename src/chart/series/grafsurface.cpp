// The surface and water fall series: the grid's cells as shaded
// quadrilaterals (or wire frame, dots, hanging curtains), back to front.
#include <algorithm>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"
#include "chart/series/grafcolorgrid.h"
#include "chart/series/grafcontour.h"
#include "chart/series/grafsurfa.h"
#include "chart/series/grafvectortower.h"

ZV_CLASS_IMPL(TSurfaceSeries, TCustom3DGridSeries)

void TSurfaceSeries::DeclareProperties(TClassInfo& c) {
  using S = TSurfaceSeries;
  c.Boolean<S>("WireFrame", &S::WireFrame, &S::SetWireFrame, false);
  c.Boolean<S>("DotFrame", &S::DotFrame, &S::SetDotFrame, false);
  c.Boolean<S>("SmoothPalette", &S::SmoothPalette, &S::SetSmoothPalette, false);
  c.Integer<S>("Transparency", &S::Transparency, &S::SetTransparency, 0);
  c.Boolean<S>("FastBrush", &S::FastBrush, &S::SetFastBrush, false);
  c.Object<S, TChartBrush>("SideBrush", &S::SideBrush, &S::SetSideBrush);
  c.Object<S, TChartPen>("SideLines", &S::SideLines, &S::SetSideLines);
}

TSurfaceSeries::TSurfaceSeries(TComponent* AOwner) : TCustom3DGridSeries(AOwner) {
  DX = DZ = -1;
  auto repaint = [this](TObject*) { RequestRedraw(); };
  FSideBrush = std::make_unique<TChartBrush>(repaint);
  FSideBrush->SetStyle(bsClear);
  FSideLines = std::make_unique<TChartHiddenPen>(repaint);
  FWaterLines = NewPen();
}

TSurfaceSeries::~TSurfaceSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

void TSurfaceSeries::SetWireFrame(bool Value) {
  if (Value) {
    Pen()->SetVisible(true);
    FDotFrame = false;
  }
  ChangeBool(FWireFrame, Value);
}

void TSurfaceSeries::SetDotFrame(bool Value) {
  if (Value) {
    Pen()->SetVisible(true);
    FWireFrame = false;
  }
  ChangeBool(FDotFrame, Value);
}

bool TSurfaceSeries::CanvasDrawsSurface() { return FParentChart && FParentChart->PanelCanvas()->RendersWithoutGdi(); }

bool TSurfaceSeries::HasSides() { return FSideBrush->Style() != bsClear || FSideLines->Visible(); }

// ---- Paint ----------------------------------------------------------------------------------------

void TSurfaceSeries::PrepareBrush() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyBrush(Brush(), SeriesColor(), Brush()->Color());
  FFixedColor = (!FUseColorRange && !FUsePalette) || Brush()->HasImage();
  if (FWireFrame || FDotFrame) canvas->CanvasBrush()->SetStyle(bsClear);
  canvas->SetBackgroundMode(TRANSPARENT);
}

void TSurfaceSeries::PreparePenAndBrush() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (Pen()->Visible() || FWireFrame || FDotFrame) canvas->ApplyPenWithColor(Pen(), Pen()->Color());
  else canvas->CanvasPen()->SetStyle(psClear);
  PrepareBrush();
}

void TSurfaceSeries::CacheAxisConversions() {
  FHorizAxis = GetHorizAxis();
  FVertAxis = GetVertAxis();
}

TPoint TSurfaceSeries::PointPixels(int Index) {
  return {FHorizAxis->ValueToPixelX(FXValues->GetValue(Index)), FVertAxis->ValueToPixelY(FYValues->GetValue(Index))};
}

void TSurfaceSeries::CellLoopRanges(int& XFirst, int& XLast, int& ZFirst, int& ZLast) {
  const int w = FWaterFall ? 1 : 0;
  if (DepthDrawsForward()) {
    DZ = 1;
    ZFirst = 1;
    ZLast = FNumZValues - 1 + w;
  } else {
    DZ = -1;
    ZFirst = FNumZValues;
    ZLast = 2 - w;
  }
  if (DrawsAscending()) {
    DX = -1;
    XFirst = 2;
    XLast = FNumXValues;
  } else {
    DX = 1;
    XFirst = FNumXValues - 1;
    XLast = 1;
  }
}

namespace {
// first..last in the direction from first to last; empty when they cross
// against the step the caller expects.
std::vector<int> RangeOf(int First, int Last, int Step) {
  std::vector<int> r;
  if (Step > 0)
    for (int i = First; i <= Last; ++i) r.push_back(i);
  else
    for (int i = First; i >= Last; --i) r.push_back(i);
  return r;
}
}  // namespace

void TSurfaceSeries::DrawCells() {
  int xf, xl, zf, zl;
  CellLoopRanges(xf, xl, zf, zl);
  std::vector<int> columns = RangeOf(xf, xl, DX < 0 ? 1 : -1);
  const std::vector<int> rows = RangeOf(zf, zl, DZ);
  TView3DOptions* view = FParentChart->View3DOptions();
  const int rotation = ((view->Rotation() % 360) + 360) % 360;
  if (!FParentChart->PanelCanvas()->RendersWithoutGdi() && view->Perspective() >= 1 &&
      (rotation == 0 || rotation == 180)) {
    // Seen straight on: the outer columns first, meeting in the middle.
    std::vector<int> order;
    for (size_t a = 0, b = columns.size(); a < b; ++a) {
      order.push_back(columns[a]);
      if (a != --b) order.push_back(columns[b]);
    }
    columns = std::move(order);
  }
  for (int x : columns)
    for (int z : rows) DrawCell(x, z);
}

void TSurfaceSeries::SetCellColor(TColor Color) {
  TBrush* brush = FParentChart->PanelCanvas()->CanvasBrush();
  if (brush->Style() != bsClear) brush->SetColor(Color);
}

void TSurfaceSeries::DrawCell(int X, int Z) {
  if (FWaterFall) {
    C0 = GridIndex(X, Z);
    if (C0 < 0) return;
    C1 = GridIndex(X + DX, Z);
    if (C1 < 0) return;
    C3 = C0;
    C2 = C1;
    FPix[0] = FPix[3] = PointPixels(C0);
    FPix[1] = FPix[2] = PointPixels(C1);
  } else {
    if (!FetchCell(X, Z)) return;
    FPix = {PointPixels(C0), PointPixels(C1), PointPixels(C2), PointPixels(C3)};
  }
  int corner;
  if (DX > 0) corner = DZ > 0 ? C3 : C0;
  else corner = DZ > 0 ? C2 : C1;
  TColor color = PointColor(corner);
  if (color == clNone) return;
  if (!FFixedColor) {
    if (FSmoothPalette) {
      const double mean = (FYValues->GetValue(C0) + FYValues->GetValue(C1) + FYValues->GetValue(C2) +
                           FYValues->GetValue(C3)) / 4;
      color = ColorOfValue(mean);
    }
    if (FWireFrame) FParentChart->PanelCanvas()->CanvasPen()->SetColor(color);
    else SetCellColor(color);
  }
  PaintCell();
}

void TSurfaceSeries::DrawCellDots() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int z0 = ZPixel(C0);
  canvas->WritePixel3D(FPix[0].X, FPix[0].Y, z0, PointColor(C0));
  canvas->WritePixel3D(FPix[1].X, FPix[1].Y, z0, PointColor(C1));
  if (FWaterFall) return;
  const int z2 = ZPixel(C2);
  canvas->WritePixel3D(FPix[2].X, FPix[2].Y, z2, PointColor(C2));
  canvas->WritePixel3D(FPix[3].X, FPix[3].Y, z2, PointColor(C3));
}

void TSurfaceSeries::PaintCell() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int z0 = ZPixel(C0);
  if (FDotFrame) {
    DrawCellDots();
    return;
  }
  auto transparentPolygon = [&](std::array<TPoint, 4> p) {
    const bool gdi = !canvas->RendersWithoutGdi();
    if (gdi && FBlend) FBlend->CaptureRect(ExclusiveBoundsOfPoints(p.data(), 4));
    canvas->Polygon(p);
    if (gdi && FBlend) FBlend->ApplyTransparency(FTransparency);
  };
  if (!FWaterFall) {
    const int z2 = ZPixel(C2);
    if (FTransparency == 0) {
      canvas->PlaneFour3D(FPix, z0, z2);
    } else {
      transparentPolygon({canvas->ProjectPointAtDepth(FPix[0], z0), canvas->ProjectPointAtDepth(FPix[1], z0),
                          canvas->ProjectPointAtDepth(FPix[2], z2), canvas->ProjectPointAtDepth(FPix[3], z2)});
    }
    return;
  }
  const int bottom = FVertAxis->EndPixel;
  const TPoint p0 = FPix[0], p1 = FPix[1];
  if (!FWireFrame) {
    canvas->CanvasPen()->SetStyle(psClear);
    const TPoint f1{p1.X, bottom}, f0{p0.X, bottom};
    if (FTransparency == 0) {
      canvas->PlaneWithZ(p0, p1, f1, f0, z0);
    } else {
      transparentPolygon({canvas->ProjectPointAtDepth(p0, z0), canvas->ProjectPointAtDepth(p1, z0),
                          canvas->ProjectPointAtDepth(f1, z0), canvas->ProjectPointAtDepth(f0, z0)});
    }
  }
  canvas->ApplyPenWithColor(Pen(), Pen()->Color());
  canvas->LinePointsAtDepth(p0, p1, z0);
  if (FWaterLines->Visible()) {
    canvas->ApplyPenWithColor(FWaterLines.get(), FWaterLines->Color());
    canvas->VerticalLine3D(p0.X, p0.Y, bottom, z0);
    canvas->VerticalLine3D(p1.X, p1.Y, bottom, z0);
  }
}

bool TSurfaceSeries::SurfaceCellCallback(int X, int Z, std::array<TPoint3D, 4>& Corners,
                                         std::array<TColor, 4>& Colors) {
  if (!FParentChart) return false;
  CacheAxisConversions();
  C0 = GridIndex(X - 1, Z);
  C1 = GridIndex(X, Z);
  if (C0 < 0 || C1 < 0) return false;
  const int idx[2] = {C0, C1};
  for (int k = 0; k < 2; ++k) {
    const TPoint p = PointPixels(idx[k]);
    Corners[static_cast<size_t>(k)] = {p.X, p.Y, ZPixel(idx[k])};
    if (!FFixedColor) Colors[static_cast<size_t>(k)] = PointColor(idx[k]);
  }
  return true;
}

void TSurfaceSeries::DrawVisiblePoints() {
  if (PointCount() == 0 || !FParentChart || GridRefused()) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  PreparePenAndBrush();
  CacheAxisConversions();
  const bool sides = HasSides();
  if (CanvasDrawsSurface()) {
    std::unique_ptr<TGrafBlend> blend;
    if (FTransparency > 0) blend = canvas->BeginBlending(TRect(), FTransparency);
    const TGrafCanvasSurfaceStyle style =
        FWireFrame || Brush()->Style() == bsClear ? tcsWire : (FDotFrame ? tcsDot : tcsSolid);
    canvas->Surface3D(style, FFixedColor, FNumXValues, FNumZValues,
                      [this](int x, int z, std::array<TPoint3D, 4>& c, std::array<TColor, 4>& k) {
                        return SurfaceCellCallback(x, z, c, k);
                      });
    if (blend) canvas->EndBlending(std::move(blend));
  } else {
    if (sides) {
      DrawSides(true);
      PreparePenAndBrush();
    }
    if (FTransparency > 0) FBlend = canvas->BeginBlending(TRect(), FTransparency);
    try {
      DrawCells();
    } catch (...) {
      FBlend.reset();
      throw;
    }
    FBlend.reset();
  }
  if (sides) DrawSides(false);
}

// ---- Sides --------------------------------------------------------------------------------------

void TSurfaceSeries::DrawSideQuad(const TFourPoints& P, int Z0, int Z1) {
  FParentChart->PanelCanvas()->PlaneFour3D(P, Z0, Z1);
}

void TSurfaceSeries::DrawSideAlongZ(int X, int YBase) {
  for (int z = FNumZValues; z >= 2; --z) {
    const int a = GridIndex(X, z), b = GridIndex(X, z - 1);
    if (a < 0 || b < 0) continue;
    const TPoint pa = PointPixels(a), pb = PointPixels(b);
    DrawSideQuad({pa, TPoint{pa.X, YBase}, TPoint{pb.X, YBase}, pb}, ZPixel(a), ZPixel(b));
  }
}

void TSurfaceSeries::DrawSideAlongX(int Z, int YBase) {
  for (int x = 2; x <= FNumXValues; ++x) {
    const int a = GridIndex(x, Z), b = GridIndex(x - 1, Z);
    if (a < 0 || b < 0) continue;
    const TPoint pa = PointPixels(a), pb = PointPixels(b);
    DrawSideQuad({pa, TPoint{pa.X, YBase}, TPoint{pb.X, YBase}, pb}, ZPixel(a), ZPixel(b));
  }
}

bool TSurfaceSeries::PlaneFacesViewer(int Depth) {
  auto* chart = dynamic_cast<TCustomChart*>(FParentChart);
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const TRect& r = FParentChart->ChartArea;
  const int wall = chart ? chart->WallThickness(FParentChart->BottomAxis()) : 0;
  const TPoint p[3] = {canvas->ProjectXYZ(r.Right, r.Top, Depth), canvas->ProjectXYZ(r.Right, r.Bottom + wall, Depth),
                       canvas->ProjectXYZ(r.Left, r.Bottom + wall, Depth)};
  return !PolygonFacesAway(p, 3);
}

void TSurfaceSeries::DrawSides(bool Back) {
  auto* chart = dynamic_cast<TCustomChart*>(FParentChart);
  if (!chart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int yb = FVertAxis->ValueToPixelY(FVertAxis->Inverted() ? FYValues->MaxValue() : FYValues->MinValue());
  canvas->ApplyBrush(FSideBrush.get(), FSideBrush->Color(), FSideBrush->Color());
  canvas->ApplyPenWithColor(FSideLines.get(), FSideLines->Color());
  const bool hInverted = FHorizAxis->Inverted();
  const bool dInverted = FParentChart->DepthAxis()->Inverted();
  if (chart->LeftWallAfterSeries() != Back) DrawSideAlongZ(hInverted ? FNumXValues : 1, yb);
  if (chart->RightWallAfterSeries() != Back) DrawSideAlongZ(hInverted ? 1 : FNumXValues, yb);
  const int farDepth = FParentChart->DepthAxis()->ValueToPixel(LargestZ());
  if (PlaneFacesViewer(farDepth) != Back) DrawSideAlongX(dInverted ? 1 : FNumZValues, yb);
  if (PlaneFacesViewer(0) == Back) {
    const int row = dInverted ? FNumZValues : 1;
    DrawSideAlongX(row, yb);
    const int last = GridIndex(FNumXValues, row);
    if (last >= 0) {
      canvas->CanvasPen()->SetStyle(psSolid);
      const TPoint p = PointPixels(last);
      canvas->VerticalLine3D(p.X, p.Y, yb, ZPixel(last));
    }
  }
}

// ---- Hit test -----------------------------------------------------------------------------------

bool TSurfaceSeries::FetchCellPixels(int X, int Z) {
  if (!FetchCell(X, Z)) return false;
  FPix = {PointPixels(C0), PointPixels(C1), PointPixels(C2), PointPixels(C3)};
  return true;
}

int TSurfaceSeries::IndexAtPoint(int X, int Y) {
  if (PointCount() == 0 || !FParentChart || GridRefused()) return -1;
  CacheAxisConversions();
  int xf, xl, zf, zl;
  CellLoopRanges(xf, xl, zf, zl);
  // The cells the paint draws, nearest row first: the nearer of two
  // overlapping cells wins.
  std::vector<int> rows = RangeOf(zf, zl, DZ);
  std::reverse(rows.begin(), rows.end());
  const std::vector<int> columns = RangeOf(xf, xl, DX < 0 ? 1 : -1);
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  for (int z : rows)
    for (int x : columns) {
      if (!FetchCellPixels(x, z)) continue;
      const int z0 = ZPixel(C0), z2 = ZPixel(C2);
      const std::vector<TPoint> quad = {canvas->ProjectPointAtDepth(FPix[0], z0), canvas->ProjectPointAtDepth(FPix[1], z0),
                                        canvas->ProjectPointAtDepth(FPix[2], z2), canvas->ProjectPointAtDepth(FPix[3], z2)};
      if (PointInsidePolygon(TPoint{X, Y}, quad)) return C0;
    }
  return -1;
}

// ---- Gallery and copying ------------------------------------------------------------------------

void TSurfaceSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustom3DGridSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgExWireframe, GrafMsgExDotFrame, GrafMsgSides, GrafMsgNoBorder}) Proc(t);
}

void TSurfaceSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TSurfaceSeries*>(Series);
  if (!s) return;
  switch (Index) {
    case 2: s->SetWireFrame(true); break;
    case 3: s->SetDotFrame(true); break;
    case 4: s->SideBrush()->SetStyle(bsSolid); break;
    case 5: s->Pen()->SetVisible(false); break;
    default: TCustom3DGridSeries::ApplyGalleryStyle(Series, Index); break;
  }
}

void TSurfaceSeries::SetupGalleryPreview(bool Enabled) {
  TCustom3DGridSeries::SetupGalleryPreview(Enabled);
  SampleMode = true;
  CreateGridValues(10, 10);
}

void TSurfaceSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSurfaceSeries*>(Source)) {
    FDotFrame = s->FDotFrame;
    FSideBrush->Assign(s->FSideBrush.get());
    FSideLines->Assign(s->FSideLines.get());
    FSmoothPalette = s->FSmoothPalette;
    FTransparency = s->FTransparency;
    FWaterLines->Assign(s->FWaterLines.get());
    FWireFrame = s->FWireFrame;
  }
  FWaterFall = false;
  TCustom3DGridSeries::Assign(Source);
}

// ============================================================================
// TWaterFallSeries

ZV_CLASS_IMPL(TWaterFallSeries, TSurfaceSeries)

void TWaterFallSeries::DeclareProperties(TClassInfo& c) {
  using S = TWaterFallSeries;
  c.Boolean<S>("WaterFall", &S::WaterFall, &S::SetWaterFall, true);
  c.Object<S, TChartPen>("WaterLines", &S::WaterLines, &S::SetWaterLines);
}

TWaterFallSeries::TWaterFallSeries(TComponent* AOwner) : TSurfaceSeries(AOwner) { FWaterFall = true; }

void TWaterFallSeries::Assign(TPersistent* Source) {
  TSurfaceSeries::Assign(Source);
  FWaterFall = true;
}

void TWaterFallSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TSurfaceSeries::EnumGalleryStyles(Proc);
  Proc(GrafMsgNoLines);
}

void TWaterFallSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TWaterFallSeries*>(Series);
  if (s && Index == 6) s->WaterLines()->SetVisible(false);
  else TSurfaceSeries::ApplyGalleryStyle(Series, Index);
}

void TWaterFallSeries::ApplyGallery3D(bool Value) {
  TSurfaceSeries::ApplyGallery3D(Value);
  if (FParentChart) FParentChart->SetView3D(Value);
}

// ============================================================================

void RegisterGridSeriesTypes() {
  static const bool done = [] {
    RegisterSeriesType(&TSurfaceSeries::StaticClass(), &GrafMsgExSurface, &GrafMsgEx3D, 1);
    RegisterSeriesType(&TContourSeries::StaticClass(), &GrafMsgExContour, &GrafMsgEx3D, 1);
    RegisterSeriesType(&TWaterFallSeries::StaticClass(), &GrafMsgExWaterFall, &GrafMsgEx3D, 1);
    RegisterSeriesType(&TColorGridSeries::StaticClass(), &GrafMsgExColorGrid, &GrafMsgEx3D, 1);
    RegisterSeriesType(&TVector3DSeries::StaticClass(), &GrafMsgExVector3D, &GrafMsgEx3D, 1);
    RegisterSeriesType(&TTowerSeries::StaticClass(), &GrafMsgExTower, &GrafMsgEx3D, 1);
    RegisterClasses({&TContourLevel::StaticClass(), &TContourLevels::StaticClass()});
    return true;
  }();
  (void)done;
}

void UnregisterGridSeriesTypes() {
  UnregisterSeriesTypes(
      {&TSurfaceSeries::StaticClass(), &TContourSeries::StaticClass(), &TWaterFallSeries::StaticClass(),
       &TColorGridSeries::StaticClass(), &TVector3DSeries::StaticClass(), &TTowerSeries::StaticClass()});
}
