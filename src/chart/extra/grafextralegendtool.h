// A second legend on the chart listing the values of one chosen series,
// independent of the chart's own legend.
#pragma once

#include <memory>
#include <string>

#include "chart/core/chart.h"
#include "chart/core/grengine.h"

class TExtraLegendTool : public TGrafCustomToolSeries {
  ZV_CLASS(TExtraLegendTool)
public:
  explicit TExtraLegendTool(TComponent* AOwner = nullptr);
  ~TExtraLegendTool() override;

  std::string EditorFormClassName() const override { return "TExtraLegendEditor"; }
  std::string ToolTypeName() const override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void SetSeries(TChartSeries* Value) override;
  void HandleChartEvent(int Code) override;

  // Created on first read: values of the series, at a custom position.
  TChartLegend* Legend();
  void SetLegend(TChartLegend* Value) { Legend()->Assign(Value); }
  bool HasLegend() const { return FLegend != nullptr; }

private:
  void BindLegend();
  std::unique_ptr<TChartLegend> FLegend;
};
