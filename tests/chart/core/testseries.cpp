#include "chart/core/testseries.h"

#include <cmath>

ZV_CLASS_IMPL_NOPROPS(TTestSeries, TChartSeries)

TTestSeries::TTestSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  FPointer = std::make_unique<TSeriesPointer>(this);
  FPointer->SetBrushColor(clDefault);
  FPointer->StoreHorizSize(3);
  FPointer->StoreVertSize(3);
}

TTestSeries::~TTestSeries() = default;

std::vector<std::string>& TTestSeries::DrawnLog() {
  static std::vector<std::string> log;
  return log;
}

void TTestSeries::DrawPoint(int Index) {
  DrawnLog().push_back(Name() + ":" + std::to_string(Index));
  if (!ParentChart() || PointIsNull(Index)) return;
  FPointer->SetupCanvas(ParentChart()->PanelCanvas(), PointColor(Index));
  FPointer->DrawStyled(PointXPixel(Index), PointYPixel(Index), FPointer->Style(), PointColor(Index));
}

int TTestSeries::IndexAtPoint(int X, int Y) {
  if (!ParentChart() || !GetHorizAxis() || !GetVertAxis()) return -1;
  TCanvas3D* canvas = ParentChart()->PanelCanvas();
  for (int i = 0; i < PointCount(); ++i) {
    TPoint p = Point(PointXPixel(i), PointYPixel(i));
    if (ParentChart()->View3D()) p = canvas->ProjectXYZ(p.X, p.Y, StartZ);
    if (std::abs(X - p.X) <= FPointer->HorizSize() && std::abs(Y - p.Y) <= FPointer->VertSize()) return i;
  }
  return -1;
}

void TTestSeries::GetHorizMargins(int& Left, int& Right) {
  TChartSeries::GetHorizMargins(Left, Right);
  FPointer->WidenHorizMargins(Left, Right);
}

void TTestSeries::GetVertMargins(int& Top, int& Bottom) {
  TChartSeries::GetVertMargins(Top, Bottom);
  FPointer->WidenVertMargins(Top, Bottom);
}

ZV_CLASS_IMPL_NOPROPS(TRecordingTool, TGrafCustomTool)

void TRecordingTool::HandleChartEvent(int Code) { ChartEvents.push_back(Code); }

void TRecordingTool::HandleMouseEvent(int Kind, TMouseButton, TShiftState, int, int) {
  MouseKinds.push_back(Kind);
  if (Kind == cmeDown && CancelOnDown && ParentChart()) ParentChart()->MouseCancelled = true;
}

ZV_CLASS_IMPL_NOPROPS(TTestAxisTool, TGrafCustomToolAxis)
ZV_CLASS_IMPL_NOPROPS(TTestSeriesTool, TGrafCustomToolSeries)
ZV_CLASS_IMPL_NOPROPS(TTestSumFunction, TGrafFunction)
ZV_CLASS_IMPL_NOPROPS(TTestMovingAverage, TGrafMovingFunction)

double TTestSumFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  TChartValueList* list = SourceValueList(Source);
  if (First < 0) {
    First = 0;
    Last = list->Count() - 1;
  }
  double sum = 0;
  for (int i = First; i <= Last && i < list->Count(); ++i) sum += list->GetValue(i);
  return sum;
}

double TTestSumFunction::ComputeValueMany(TCustomSeriesList* Sources, int Index) {
  double sum = 0;
  for (TChartSeries* s : *Sources)
    if (Index < s->PointCount()) sum += s->MainValueAt(Index);
  return sum;
}

double TTestMovingAverage::ComputeValue(TChartSeries* Source, int First, int Last) {
  TChartValueList* list = SourceValueList(Source);
  double sum = 0;
  for (int i = First; i <= Last; ++i) sum += list->GetValue(i);
  return sum / (Last - First + 1);
}

TTestChart::TTestChart(TComponent* AOwner, int Width, int Height, bool Recording) : TChart(AOwner) {
  SetBounds(0, 0, Width, Height);
  if (Recording) {
    auto canvas = std::make_unique<TRecordingCanvas>(Width, Height);
    Rec = canvas.get();
    ReplaceCanvas(std::move(canvas));
    Rec->Clear();
  }
}

void TTestChart::Pass() {
  if (!Rec) return;
  DrawOnCanvas(Rec->Surface()->Canvas(), Rect(0, 0, Width(), Height()));
}

void RegisterTestChartClasses() {
  static const bool done = [] {
    RegisterClasses({&TChart::StaticClass(), &TTestSeries::StaticClass(), &TRecordingTool::StaticClass(),
                     &TTestAxisTool::StaticClass(), &TTestSeriesTool::StaticClass(),
                     &TTestSumFunction::StaticClass(), &TTestMovingAverage::StaticClass()});
    return true;
  }();
  (void)done;
}
