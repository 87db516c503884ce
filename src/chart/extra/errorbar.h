// Statistics series: error whiskers alone (TErrorSeries) or on bars
// (TErrorBarSeries), and the high-low band (THighLowSeries).
#pragma once

#include <memory>
#include <string>

#include "chart/series/series_bar.h"

enum TErrorSeriesStyle { essLeft, essRight, essLeftRight, essTop, essBottom, essTopBottom };
enum TErrorWidthUnits { ewuPercent, ewuPixels };
const TEnumInfo& ErrorSeriesStyleEnumInfo();
const TEnumInfo& ErrorWidthUnitsEnumInfo();

class TCustomErrorSeries : public TBarSeries {
  ZV_CLASS(TCustomErrorSeries)
public:
  TCustomErrorSeries(TComponent* AOwner, bool DrawBars);

  std::string EditorFormClassName() const override { return "TErrorSeriesEditor"; }
  void GetHorizMargins(int& Left, int& Right) override;
  void GetVertMargins(int& Top, int& Bottom) override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void SetSeriesColor(TColor Value) override;
  double LargestY() override;
  double SmallestY() override;
  bool OffersStackStyles() override { return false; }
  void PaintBarShape(int Index, int Top, int Bottom) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;

  int AddErrorBar(double X, double Y, double Error, const std::string& Label = "", TColor Color = clDefault);

  TChartPen* ErrorPen() const { return FErrorPen.get(); }
  void SetErrorPen(TChartPen* Value);
  TErrorSeriesStyle ErrorStyle() const { return FErrorStyle; }
  void SetErrorStyle(TErrorSeriesStyle Value);
  TChartValueList* ErrorValues() const { return FErrorValues; }
  void SetErrorValues(TChartValueList* Value) { ReplaceValueList(FErrorValues, Value); }
  int ErrorWidth() const { return FErrorWidth; }
  void SetErrorWidth(int Value) { ChangeInteger(FErrorWidth, Value); }
  TErrorWidthUnits ErrorWidthUnits() const { return FErrorWidthUnits; }
  void SetErrorWidthUnits(TErrorWidthUnits Value);
  bool DrawBars() const { return FDrawBars; }

  // Draws one whisker shape: centre, length (pixels), cap width.
  void DrawWhiskers(int X, int Y, int Length, int CapWidth, bool Is3D);

private:
  std::unique_ptr<TChartPen> FErrorPen;
  TErrorSeriesStyle FErrorStyle = essTopBottom;
  TChartValueList* FErrorValues;
  int FErrorWidth = 100;
  TErrorWidthUnits FErrorWidthUnits = ewuPercent;
  bool FDrawBars;
};

class TErrorSeries : public TCustomErrorSeries {
  ZV_CLASS(TErrorSeries)
public:
  explicit TErrorSeries(TComponent* AOwner = nullptr) : TCustomErrorSeries(AOwner, false) {}
};

class TErrorBarSeries : public TCustomErrorSeries {
  ZV_CLASS(TErrorBarSeries)
public:
  explicit TErrorBarSeries(TComponent* AOwner = nullptr);
};

class THighLowSeries : public TChartSeries {
  ZV_CLASS(THighLowSeries)
public:
  explicit THighLowSeries(TComponent* AOwner = nullptr);
  ~THighLowSeries() override;

  std::string EditorFormClassName() const override { return "THighLowEditor"; }
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void DrawVisiblePoints() override;
  void DrawPoint(int Index) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  double LargestY() override;
  double SmallestY() override;
  int IndexAtPoint(int X, int Y) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  bool AcceptsSeriesAsSource(TChartSeries* Series) override;

  int AddHighLow(double X, double High, double Low);

  TChartValueList* HighValues() const { return YValues(); }
  void SetHighValues(TChartValueList* Value) { SetYValues(Value); }
  TChartValueList* LowValues() const { return FLowValues; }
  void SetLowValues(TChartValueList* Value) { ReplaceValueList(FLowValues, Value); }
  TChartPen* HighPen() const { return FHighPen.get(); }
  void SetHighPen(TChartPen* Value) { FHighPen->Assign(Value); }
  TChartPen* LowPen() const { return FLowPen.get(); }
  void SetLowPen(TChartPen* Value) { FLowPen->Assign(Value); }
  TChartBrush* HighBrush() const { return Brush(); }
  void SetHighBrush(TChartBrush* Value) { SetBrush(Value); }
  TChartBrush* LowBrush() const { return FLowBrush.get(); }
  void SetLowBrush(TChartBrush* Value) { FLowBrush->Assign(Value); }
  int Transparency() const { return FTransparency; }
  void SetTransparency(int Value) { ChangeInteger(FTransparency, Value); }

private:
  TChartValueList* FLowValues;
  std::unique_ptr<TChartPen> FHighPen;
  std::unique_ptr<TChartPen> FLowPen;
  std::unique_ptr<TChartBrush> FLowBrush;
  int FTransparency = 0;
  int FPrevX = 0;
  int FPrevHigh = 0;
  int FPrevLow = 0;
  int FPrevIndex = -1;
};
