// The funnel series: segments ordered by descending quote side by side in a
// funnel that narrows to the right, each filled to its opportunity's share
// of the quote and coloured by how far it falls short.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/core/grengine.h"

class TFunnelSeries : public TChartSeries {
  ZV_CLASS(TFunnelSeries)
public:
  explicit TFunnelSeries(TComponent* AOwner = nullptr);
  ~TFunnelSeries() override;

  std::string EditorFormClassName() const override { return "TFunnelSeriesEditor"; }
  void PrepareChartDraw() override;
  void DrawVisiblePoints() override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int Index) override;
  int LegendEntryCount() override { return 3; }
  TColor LegendSymbolColor(int Row) override;
  std::string ComposeLegendText(int Index, TLegendTextStyle Style) override;
  double LargestX() override { return PointCount() - 0.5; }
  double SmallestX() override { return -0.5; }
  double SmallestY() override { return 0; }
  int IndexAtPoint(int X, int Y) override;
  virtual TChartValueList* QuoteValues() const { return YValues(); }
  virtual void SetQuoteValues(TChartValueList* Value) { SetYValues(Value); }
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;

  int AddFunnelSegment(double Quote, double Opportunity, const std::string& Label = "", TColor Color = clDefault);
  // Sorts the segments by quote (unless they are already) and computes the
  // funnel's top, bottom and slope.
  void RecalcFunnel();

  TChartValueList* OpportunityValues() const { return FOpportunityValues; }
  void SetOpportunityValues(TChartValueList* Value) { ReplaceValueList(FOpportunityValues, Value); }
  TColor AboveColor() const { return FAboveColor; }
  void SetAboveColor(TColor Value) { ChangeColor(FAboveColor, Value); }
  TColor WithinColor() const { return FWithinColor; }
  void SetWithinColor(TColor Value) { ChangeColor(FWithinColor, Value); }
  TColor BelowColor() const { return FBelowColor; }
  void SetBelowColor(TColor Value) { ChangeColor(FBelowColor, Value); }
  double DifferenceLimit() const { return FDifferenceLimit; }
  void SetDifferenceLimit(double Value);
  bool AutoUpdate() const { return FAutoUpdate; }
  void SetAutoUpdate(bool Value);
  bool QuotesSorted() const { return FQuotesSorted; }
  void SetQuotesSorted(bool Value);
  TChartPen* LinesPen() const { return FLinesPen.get(); }
  void SetLinesPen(TChartPen* Value) { FLinesPen->Assign(Value); }

  // The fill polygon of a segment and its colour.
  TColor SegmentPolygon(int Index, std::vector<TPoint>& Points);
  // The fill ratio opportunity / quote (0 for a quote of 0).
  double Ratio(int Index) const;
  TColor RatioColor(double Ratio) const;

  double Top = 0;
  double Bottom = 0;
  double Slope = 0;

private:
  void SortSegments();

  TChartValueList* FOpportunityValues;
  TColor FAboveColor = clGreen;
  TColor FWithinColor = clYellow;
  TColor FBelowColor = clRed;
  double FDifferenceLimit = 30;
  bool FAutoUpdate = true;
  bool FQuotesSorted = false;
  bool FSorted = false;
  std::unique_ptr<TChartPen> FLinesPen;
};
