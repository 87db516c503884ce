#include "chart/extra/grafseriesbandtool.h"

#include <algorithm>

#include "chart/core/grafconst.h"
#include "chart/series/graftools.h"

ZV_CLASS_IMPL(TSeriesBandTool, TGrafCustomToolSeries)

void TSeriesBandTool::DeclareProperties(TClassInfo& c) {
  using T = TSeriesBandTool;
  c.Object<T, TChartBrush>("Brush", &T::Brush, &T::SetBrush);
  c.Boolean<T>("DrawBehindSeries", &T::DrawBehindSeries, &T::SetDrawBehindSeries, true);
  c.Object<T, TGrafGradient>("Gradient", &T::Gradient, &T::SetGradient);
  c.Object<T, TChartPen>("Pen", &T::Pen, &T::SetPen);
  c.Object<T, TChartSeries>("Series2", &T::Series2, &T::SetSeries2);
  c.Integer<T>("Transparency", &T::Transparency, &T::SetTransparency, 0);
}

TSeriesBandTool::TSeriesBandTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {
  FGradient = std::make_unique<TGrafGradient>([this](TObject* Sender) { PartChanged(Sender); });
  Brush()->SetColor(clWhite);
  Pen()->SetVisible(false);
}

TSeriesBandTool::~TSeriesBandTool() {
  Unhook(FSeries);
  Unhook(FSeries2);
  if (FSeries2) FSeries2->RemoveFreeNotification(this);
  FSeries2 = nullptr;
  if (FParentChart) SetParentChart(nullptr);
}

std::string TSeriesBandTool::ToolTypeName() const { return GrafMsgExSeriesBand; }

void TSeriesBandTool::Hook(TChartSeries* Series) {
  if (!Series) return;
  Series->BeforeDrawValues = [this](TObject* Sender) { SeriesBeforeDraw(Sender); };
  Series->AfterDrawValues = [this](TObject* Sender) { SeriesAfterDraw(Sender); };
}

void TSeriesBandTool::Unhook(TChartSeries* Series) {
  if (!Series) return;
  Series->BeforeDrawValues = nullptr;
  Series->AfterDrawValues = nullptr;
}

void TSeriesBandTool::SetSeries(TChartSeries* Value) {
  if (Value == FSeries) return;
  Unhook(FSeries);
  TGrafCustomToolSeries::SetSeries(Value);
  Hook(FSeries);
  RequestRedraw();
}

void TSeriesBandTool::SetSeries2(TChartSeries* Value) {
  if (Value == FSeries2) return;
  Unhook(FSeries2);
  if (FSeries2) FSeries2->RemoveFreeNotification(this);
  FSeries2 = Value;
  if (FSeries2) FSeries2->FreeNotification(this);
  Hook(FSeries2);
  RequestRedraw();
}

void TSeriesBandTool::Notification(TComponent* AComponent, TOperation Operation) {
  // The series is past its own destructor here: its events are gone with it.
  if (Operation == opRemove) {
    if (AComponent == FSeries) FSeries = nullptr;
    if (AComponent == FSeries2) FSeries2 = nullptr;
  }
  TGrafCustomToolSeries::Notification(AComponent, Operation);
}

void TSeriesBandTool::HandleChartEvent(int Code) {
  TGrafCustomToolSeries::HandleChartEvent(Code);
  if (Code == cteBeforeDrawSeries) FDrawn1 = FDrawn2 = false;
}

void TSeriesBandTool::SeriesBeforeDraw(TObject* Sender) {
  if (!FDrawBehindSeries) return;
  if (Sender == FSeries) FDrawn1 = true;
  if (Sender == FSeries2) FDrawn2 = true;
  // Under both: drawn before whichever of the two comes first.
  if (FDrawn1 != FDrawn2) DrawBand();
}

void TSeriesBandTool::SeriesAfterDraw(TObject* Sender) {
  if (FDrawBehindSeries) return;
  if (Sender == FSeries) FDrawn1 = true;
  if (Sender == FSeries2) FDrawn2 = true;
  if (FDrawn1 && FDrawn2) DrawBand();
}

void TSeriesBandTool::DrawBand() {
  if (!Active() || !FParentChart || !FSeries || !FSeries2) return;
  int first1, last1, first2, last2;
  if (!SeriesVisibleRange(FSeries, first1, last1) || !SeriesVisibleRange(FSeries2, first2, last2)) return;
  if (first1 < 0 || first2 < 0 || last1 < first1 || last2 < first2) return;
  FPolygon.clear();
  FPolygon.reserve(static_cast<size_t>(last1 - first1 + 1 + last2 - first2 + 1));
  for (int i = first1; i <= last1; ++i) FPolygon.push_back({FSeries->PointXPixel(i), FSeries->PointYPixel(i)});
  for (int i = last2; i >= first2; --i) FPolygon.push_back({FSeries2->PointXPixel(i), FSeries2->PointYPixel(i)});

  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int z = std::max(FSeries->StartZ, FSeries2->StartZ);
  const bool is3D = FParentChart->View3D();
  std::unique_ptr<TGrafBlend> blend;
  if (FTransparency > 0) {
    TRect r{FPolygon[0].X, FPolygon[0].Y, FPolygon[0].X, FPolygon[0].Y};
    for (const TPoint& p : FPolygon) {
      r.Left = std::min(r.Left, p.X);
      r.Top = std::min(r.Top, p.Y);
      r.Right = std::max(r.Right, p.X);
      r.Bottom = std::max(r.Bottom, p.Y);
    }
    const TPoint a = canvas->ProjectXYZ(r.Left, r.Top, z), b = canvas->ProjectXYZ(r.Right, r.Bottom, z);
    blend = canvas->BeginBlending(Rect(a.X, a.Y, b.X, b.Y), FTransparency);
  }
  if (FGradient->Visible()) {
    FGradient->DrawInPolygon(canvas, FPolygon, is3D, z);
    canvas->CanvasBrush()->SetStyle(bsClear);
  } else {
    const TRect& area = FParentChart->ChartArea;
    const TPoint a = canvas->ProjectXYZ(area.Left, area.Top, z), b = canvas->ProjectXYZ(area.Right, area.Bottom, z);
    canvas->ClipToRect(Rect(a.X, a.Y, b.X, b.Y));
    canvas->ApplyBrush(Brush(), Brush()->Color(), clBlack);
    canvas->ApplyPen(Pen());
    if (is3D) canvas->PolygonWithZ(FPolygon, z);
    else canvas->Polygon(FPolygon);
    canvas->RemoveClipRegion();
  }
  if (blend) canvas->EndBlending(std::move(blend));
}
