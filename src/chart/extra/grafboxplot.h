// Box-and-whisker plots of one sample each: median, quartiles, fences and
// whisker ends computed from the samples, the box and whiskers drawn at one
// position of the category axis, samples beyond the fences marked as mild
// or extreme outliers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/series/series.h"

class TCustomBoxSeries : public TPointSeries {
  ZV_CLASS(TCustomBoxSeries)
public:
  explicit TCustomBoxSeries(TComponent* AOwner);
  ~TCustomBoxSeries() override;

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TBoxSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void DrawVisiblePoints() override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override;
  double LargestX() override;
  double SmallestX() override;
  double LargestY() override;
  double SmallestY() override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;
  virtual TChartValueList* SampleValues() const { return FVerticalBox ? YValues() : XValues(); }
  virtual void SetSampleValues(TChartValueList* Value);

  // ---- Properties ----
  TSeriesPointer* ExtrOut() const { return FExtrOut.get(); }
  void SetExtrOut(TSeriesPointer* Value) { FExtrOut->Assign(Value); }
  TSeriesPointer* MildOut() const { return FMildOut.get(); }
  void SetMildOut(TSeriesPointer* Value) { FMildOut->Assign(Value); }
  TChartPen* MedianPen() const { return FMedianPen.get(); }
  void SetMedianPen(TChartPen* Value) { FMedianPen->Assign(Value); }
  TChartPen* WhiskerPen() const { return FWhiskerPen.get(); }
  void SetWhiskerPen(TChartPen* Value) { FWhiskerPen->Assign(Value); }
  double Position() const { return FPosition; }
  void SetPosition(double Value) { ChangeDouble(FPosition, Value); }
  double WhiskerLength() const { return FWhiskerLength; }
  void SetWhiskerLength(double Value) { ChangeDouble(FWhiskerLength, Value); }
  bool UseCustomValues() const { return FUseCustomValues; }
  void SetUseCustomValues(bool Value) { ChangeBool(FUseCustomValues, Value); }
  bool VerticalBox() const { return FVerticalBox; }

  // ---- Statistics (kept as set while UseCustomValues is on) ----
  double Median = 0;
  double LowerQuartile = 0;
  double UpperQuartile = 0;
  double LowerInnerFence = 0;
  double UpperInnerFence = 0;
  double LowerOuterFence = 0;
  double UpperOuterFence = 0;
  double LowerWhiskerEnd = 0;
  double UpperWhiskerEnd = 0;
  // Recomputes them from a sorted copy of the samples (nothing without
  // samples or with UseCustomValues). With fewer than three samples every
  // statistic is the median and no box is drawn.
  void RecalcStats();
  // Whether the box, median and whiskers are drawn (three samples or more,
  // or statistics set by the program).
  bool HasBox() const;

protected:
  // The box, the median line and the whiskers.
  void DrawBox();
  bool FVerticalBox = true;

private:
  std::unique_ptr<TSeriesPointer> FExtrOut;
  std::unique_ptr<TSeriesPointer> FMildOut;
  std::unique_ptr<TChartPen> FMedianPen;
  std::unique_ptr<TChartPen> FWhiskerPen;
  double FPosition = 0;
  double FWhiskerLength = 1.5;
  bool FUseCustomValues = false;
};

class TBoxSeries : public TCustomBoxSeries {
  ZV_CLASS(TBoxSeries)
public:
  explicit TBoxSeries(TComponent* AOwner = nullptr) : TCustomBoxSeries(AOwner) {}
};

class THorizBoxSeries : public TCustomBoxSeries {
  ZV_CLASS(THorizBoxSeries)
public:
  explicit THorizBoxSeries(TComponent* AOwner = nullptr);
};

// The quantile q of ascending samples by the box plot's rule (position of
// sample k, from 1, at (k - 0.5) / N, linear between samples); N >= 3.
double BoxQuantile(const std::vector<double>& Sorted, double Q);
