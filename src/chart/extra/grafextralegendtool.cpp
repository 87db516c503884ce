#include "chart/extra/grafextralegendtool.h"

#include "chart/core/grafconst.h"

ZV_CLASS_IMPL(TExtraLegendTool, TGrafCustomToolSeries)

void TExtraLegendTool::DeclareProperties(TClassInfo& c) {
  using T = TExtraLegendTool;
  c.Object<T, TChartLegend>("Legend", &T::Legend, &T::SetLegend);
}

TExtraLegendTool::TExtraLegendTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {}

TExtraLegendTool::~TExtraLegendTool() {
  if (FParentChart) SetParentChart(nullptr);
  FLegend.reset();
}

std::string TExtraLegendTool::ToolTypeName() const { return GrafMsgExExtraLegend; }

TChartLegend* TExtraLegendTool::Legend() {
  if (!FLegend) {
    FLegend = std::make_unique<TChartLegend>(dynamic_cast<TCustomChart*>(FParentChart));
    FLegend->SetCustomPosition(true);
    FLegend->SetLegendStyle(lsValues);
    BindLegend();
  }
  return FLegend.get();
}

void TExtraLegendTool::BindLegend() {
  if (!FLegend) return;
  auto* chart = dynamic_cast<TCustomChart*>(FParentChart);
  FLegend->AttachToPanel(chart);
  if (chart) FLegend->DividingLines()->OnChange = [chart](TObject*) { chart->Invalidate(); };
  else FLegend->DividingLines()->OnChange = nullptr;
}

void TExtraLegendTool::SetParentChart(TCustomAxisPanel* Value) {
  TGrafCustomToolSeries::SetParentChart(Value);
  if (ComponentState().Contains(csDestroying)) return;
  BindLegend();
}

void TExtraLegendTool::SetSeries(TChartSeries* Value) {
  if (Value == FSeries) return;
  TGrafCustomToolSeries::SetSeries(Value);
  RequestRedraw();
}

void TExtraLegendTool::HandleChartEvent(int Code) {
  TGrafCustomToolSeries::HandleChartEvent(Code);
  if (Code != cteAfterDraw || !FParentChart || !FSeries) return;
  TChartLegend* legend = Legend();
  // Only a change repaints: this runs inside a paint.
  if (legend->Series() != FSeries) legend->UseSeries(FSeries);
  if (legend->Visible()) legend->PaintLegend();
}
