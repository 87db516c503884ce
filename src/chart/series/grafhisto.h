// Step histograms: touching bars from the axis to each value, with an
// optional outline along the steps and separator lines between bars.
#pragma once

#include <functional>
#include <memory>

#include "chart/core/grengine.h"
#include "chart/series/series.h"

class THistogramSeries : public TCustomLineSeries {
  ZV_CLASS(THistogramSeries)
public:
  explicit THistogramSeries(TComponent* AOwner = nullptr);
  ~THistogramSeries() override;
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "THistogramSeriesEditor"; }
  void GetHorizMargins(int& Left, int& Right) override;
  void GetVertMargins(int& Top, int& Bottom) override;
  void FindVisibleRange() override;
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void DrawPoint(int Index) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  int IndexAtPoint(int X, int Y) override;
  // The bar of a point; it continues from the edge of the bar computed before.
  virtual TRect BarBounds(int Index);

  TChartHiddenPen* LinesPen() const { return FLinesPen.get(); }
  void SetLinesPen(TChartPen* Value) { FLinesPen->Assign(Value); }
  int Transparency() const { return FTransparency; }
  void SetTransparency(int Value) { ChangeInteger(FTransparency, Value); }
  TChartPen* HistogramPen() const { return Pen(); }
  void SetHistogramPen(TChartPen* Value) { Pen()->Assign(Value); }
  TChartBrush* HistogramBrush() const { return Brush(); }
  void SetHistogramBrush(TChartBrush* Value) { Brush()->Assign(Value); }

protected:
  // Half the width of a bar in pixels.
  int HalfWidth();
  bool PositionOnHorizontal() const { return IsVertical(); }
  std::unique_ptr<TChartHiddenPen> FLinesPen;
  int FTransparency = 0;
  int FPreviousEdge = 0;
};

class THorizHistogramSeries : public THistogramSeries {
  ZV_CLASS(THorizHistogramSeries)
public:
  explicit THorizHistogramSeries(TComponent* AOwner = nullptr);
  TRect BarBounds(int Index) override;
};

void RegisterHistogramSeriesTypes();
void UnregisterHistogramSeriesTypes();
