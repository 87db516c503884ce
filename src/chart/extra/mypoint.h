// Two small variations of the standard series: the line-point series, whose
// points drop lines to both axes, and the bar-join series, whose bar tops
// are joined by lines.
#pragma once

#include <memory>
#include <string>

#include "chart/series/series.h"
#include "chart/series/series_bar.h"

class TMyPointSeries : public TPointSeries {
  ZV_CLASS(TMyPointSeries)
public:
  explicit TMyPointSeries(TComponent* AOwner = nullptr);
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TLinePointEditor"; }
  void DrawPoint(int Index) override;

  TChartPen* LinesPen() const { return FLinesPen.get(); }
  void SetLinesPen(TChartPen* Value) { FLinesPen->Assign(Value); }

private:
  std::unique_ptr<TChartPen> FLinesPen;
};

class TBarJoinSeries : public TBarSeries {
  ZV_CLASS(TBarJoinSeries)
public:
  explicit TBarJoinSeries(TComponent* AOwner = nullptr);
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TBarJoinEditor"; }
  void PrepareChartDraw() override;
  void DrawPoint(int Index) override;
  void SetupGalleryPreview(bool Enabled) override;
  int DefaultSampleCount() override { return 3; }

  TChartPen* JoinPen() const { return FJoinPen.get(); }
  void SetJoinPen(TChartPen* Value) { FJoinPen->Assign(Value); }

private:
  std::unique_ptr<TChartPen> FJoinPen;
  bool FFirstBar = true;
  TRect FPrevBar;
};
