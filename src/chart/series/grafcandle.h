// Financial series and functions: the open-high-low-close data model, candles,
// big candles, volume lines, point and figure; the compression of points
// into periods, and the oscillators (stochastic, RSI, ADX, MACD, volume
// oscillator, CCI, on-balance volume, close location value).
#pragma once

#include <functional>
#include <memory>

#include "chart/core/grengine.h"
#include "chart/series/grafstats.h"
#include "chart/series/series.h"

// A series of the wrong class where a function needs an OHLC series.
ZV_DECLARE_EXCEPTION(EInvalidCast, Exception)

// Points of a date and four prices.
class TOHLCSeries : public TCustomSeries {
  ZV_CLASS(TOHLCSeries)
public:
  explicit TOHLCSeries(TComponent* AOwner = nullptr);
  int AddOHLCPoint(double Date, double Open, double High, double Low, double Close);
  double LargestY() override;
  double SmallestY() override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  int DefaultSampleCount() override { return 40; }
  // Only a series of four prices can feed another.
  bool AcceptsSeriesAsSource(TChartSeries* Series) override { return dynamic_cast<TOHLCSeries*>(Series); }

  TChartValueList* DateValues() const { return FXValues; }
  void SetDateValues(TChartValueList* Value) { ReplaceValueList(FXValues, Value); }
  TChartValueList* CloseValues() const { return FYValues; }
  void SetCloseValues(TChartValueList* Value) { ReplaceValueList(FYValues, Value); }
  TChartValueList* HighValues() const { return FHighValues; }
  void SetHighValues(TChartValueList* Value) { ReplaceValueList(FHighValues, Value); }
  TChartValueList* LowValues() const { return FLowValues; }
  void SetLowValues(TChartValueList* Value) { ReplaceValueList(FLowValues, Value); }
  TChartValueList* OpenValues() const { return FOpenValues; }
  void SetOpenValues(TChartValueList* Value) { ReplaceValueList(FOpenValues, Value); }

protected:
  TChartValueList* FHighValues;
  TChartValueList* FLowValues;
  TChartValueList* FOpenValues;
};

enum TCandleStyle { csCandleStick, csCandleBar, csOpenClose, csLine };
enum TCandleColorStyle { cssRelativeToOpen, cssRelativeToClose };
const TEnumInfo& CandleStyleEnumInfo();
const TEnumInfo& CandleColorStyleEnumInfo();

class TCandleSeries : public TOHLCSeries {
  ZV_CLASS(TCandleSeries)
public:
  explicit TCandleSeries(TComponent* AOwner = nullptr);
  ~TCandleSeries() override;
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TCandleEditor"; }
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void DrawPoint(int Index) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  TColor LegendSymbolColor(int Row) override { return Row < 0 ? SeriesColor() : CandleColor(Row); }
  double LargestY() override;
  double SmallestY() override;
  int IndexAtPoint(int X, int Y) override;
  void SetupGalleryPreview(bool Enabled) override;

  struct TCandleGeometry {
    int X, YOpen, YHigh, YLow, YClose, Left, Right;
  };
  TCandleGeometry CandleGeometry(int Index);
  // True: the point rose (the up gradient).
  bool CandleRising(int Index);
  TGrafGradient* CandleGradient(int Index) { return CandleRising(Index) ? FUpGradient.get() : FDownGradient.get(); }
  TColor CandleColor(int Index);

  TCandleStyle CandleStyle() const { return FCandleStyle; }
  void SetCandleStyle(TCandleStyle Value);
  int CandleWidth() const { return FCandleWidth; }
  void SetCandleWidth(int Value) { ChangeInteger(FCandleWidth, Value); }
  TCandleColorStyle ColorStyle() const { return FColorStyle; }
  void SetColorStyle(TCandleColorStyle Value);
  TColor UpCloseColor() const { return FUpGradient->StartColor(); }
  void SetUpCloseColor(TColor Value) { FUpGradient->SetStartColor(Value); }
  TColor DownCloseColor() const { return FDownGradient->StartColor(); }
  void SetDownCloseColor(TColor Value) { FDownGradient->SetStartColor(Value); }
  TGrafGradient* UpCloseGradient() const { return FUpGradient.get(); }
  void SetUpCloseGradient(TGrafGradient* Value) { FUpGradient->Assign(Value); }
  TGrafGradient* DownCloseGradient() const { return FDownGradient.get(); }
  void SetDownCloseGradient(TGrafGradient* Value) { FDownGradient->Assign(Value); }
  TChartPen* HighLowPen() const { return FHighLowPen.get(); }
  void SetHighLowPen(TChartPen* Value) { FHighLowPen->Assign(Value); }
  bool ShowOpenTick() const { return FShowOpenTick; }
  void SetShowOpenTick(bool Value) { ChangeBool(FShowOpenTick, Value); }
  bool ShowCloseTick() const { return FShowCloseTick; }
  void SetShowCloseTick(bool Value) { ChangeBool(FShowCloseTick, Value); }
  bool CandleDraw3D() const { return FPointer->Draw3D(); }
  void SetCandleDraw3D(bool Value) { FPointer->SetDraw3D(Value); }
  bool CandleDark3D() const { return FPointer->Dark3D(); }
  void SetCandleDark3D(bool Value) { FPointer->SetDark3D(Value); }
  TChartPen* CandlePen() const { return FPointer->Pen(); }
  void SetCandlePen(TChartPen* Value) { FPointer->Pen()->Assign(Value); }

private:
  TCandleStyle FCandleStyle = csCandleStick;
  int FCandleWidth = 4;
  TCandleColorStyle FColorStyle = cssRelativeToOpen;
  std::unique_ptr<TGrafGradient> FUpGradient;
  std::unique_ptr<TGrafGradient> FDownGradient;
  std::unique_ptr<TChartPen> FHighLowPen;
  bool FShowOpenTick = true;
  bool FShowCloseTick = true;
  int FPrevLineX = 0, FPrevLineY = 0;
};

// Candles whose marks show the four prices around the candle.
class TBigCandleSeries : public TCandleSeries {
  ZV_CLASS(TBigCandleSeries)
public:
  explicit TBigCandleSeries(TComponent* AOwner = nullptr);
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  int HorizGap() const { return FHorizGap; }
  void SetHorizGap(int Value) { ChangeInteger(FHorizGap, Value); }
  int VertGap() const { return FVertGap; }
  void SetVertGap(int Value) { ChangeInteger(FVertGap, Value); }

private:
  int FHorizGap = 20;
  int FVertGap = 6;
};

// Vertical lines from a base level to each value.
class TVolumeSeries : public TCustomSeries {
  ZV_CLASS(TVolumeSeries)
public:
  explicit TVolumeSeries(TComponent* AOwner = nullptr);
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TVolumeSeriesEditor"; }
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void DrawPoint(int Index) override;
  void SetSeriesColor(TColor Value) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  int IndexAtPoint(int X, int Y) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  int DefaultSampleCount() override { return 26; }

  TChartValueList* VolumeValues() const { return FYValues; }
  void SetVolumeValues(TChartValueList* Value) { ReplaceValueList(FYValues, Value); }
  bool UseYOrigin() const { return FUseYOrigin; }
  void SetUseYOrigin(bool Value) { ChangeBool(FUseYOrigin, Value); }
  double YOrigin() const { return FYOrigin; }
  void SetYOrigin(double Value) { ChangeDouble(FYOrigin, Value); }
  int BasePixel();
  // Pen selections made by the last pass (consecutive points of one colour share one).
  int PenSelections = 0;

private:
  bool FUseYOrigin = false;
  double FYOrigin = 0;
  TColor FLastColor = clNone;
};

class TPointFigureSeries : public TOHLCSeries {
  ZV_CLASS(TPointFigureSeries)
public:
  explicit TPointFigureSeries(TComponent* AOwner = nullptr);
  ~TPointFigureSeries() override;
  std::string EditorFormClassName() const override { return "TPointFigureEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void DrawVisiblePoints() override;
  int LegendEntryCount() override { return 2; }
  TColor LegendSymbolColor(int Row) override;
  std::string ComposeLegendText(int Index, TLegendTextStyle Style) override;
  double LargestX() override { return BuildColumns(false) - 1; }
  double SmallestX() override { return 0; }
  void SetupGalleryPreview(bool Enabled) override;

  // The walk over the points; returns the number of columns. With Boxes,
  // each drawn box is reported as (column, value, rising).
  int BuildColumns(bool Draw, const std::function<void(int, double, bool)>& Boxes = {});

  double BoxSize() const { return FBoxSize; }
  void SetBoxSize(double Value) { ChangeDouble(FBoxSize, Value); }
  double ReversalAmount() const { return FReversalAmount; }
  void SetReversalAmount(double Value) { ChangeDouble(FReversalAmount, Value); }
  TSeriesPointer* UpSymbol() const { return FUp.get(); }
  void SetUpSymbol(TSeriesPointer* Value) { FUp->Assign(Value); }
  TSeriesPointer* DownSymbol() const { return FDown.get(); }
  void SetDownSymbol(TSeriesPointer* Value) { FDown->Assign(Value); }

private:
  void DrawBoxes(TSeriesPointer* Symbol, int Column, double From, double To, bool Draw,
                 const std::function<void(int, double, bool)>& Boxes);
  double FBoxSize = 1;
  double FReversalAmount = 3;
  std::unique_ptr<TSeriesPointer> FUp;
  std::unique_ptr<TSeriesPointer> FDown;
};

// ---- Compression ------------------------------------------------------------

enum TCompressionPeriod {
  ocDay, ocWeek, ocMonth, ocBiMonth, ocQuarter, ocYear, ocSecond, ocTenSecond, ocMinute, ocTwoMinutes,
  ocFiveMinutes, ocTenMinutes, ocFifteenMinutes, ocTwentyMinutes, ocHalfHour, ocHour, ocTwoHours, ocThreeHour,
  ocSixHour, ocTwelveHour
};
const TEnumInfo& CompressionPeriodEnumInfo();

class TCompressFunction;
using TCompressGetDate =
    std::function<void(TCompressFunction* Sender, TChartSeries* Source, int ValueIndex, double& Date)>;

class TCompressFunction : public TGrafFunction {
  ZV_CLASS(TCompressFunction)
public:
  explicit TCompressFunction(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TCompressFuncEditor"; }
  void SetupGalleryPreview(TCustomAxisPanel* Chart) override;
  void ComputeFrom(TChartSeries* Source) override;
  TCompressionPeriod Compress() const { return FCompress; }
  void SetCompress(TCompressionPeriod Value);
  TCompressGetDate OnGetDate;
  // The group key of a date: it holds every larger unit too, so dates far
  // apart never share a key.
  static int64_t GroupKey(double Date, TCompressionPeriod Period);

private:
  TCompressionPeriod FCompress = ocWeek;
};

// ---- Oscillators ------------------------------------------------------------

class TStochasticFunction : public TGrafMovingFunction {
  ZV_CLASS(TStochasticFunction)
public:
  explicit TStochasticFunction(TComponent* AOwner = nullptr);
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
};

enum TRSIStyle { rsiOpenClose, rsiClose };
const TEnumInfo& RSIStyleEnumInfo();

class TRSIFunction : public TGrafMovingFunction {
  ZV_CLASS(TRSIFunction)
public:
  explicit TRSIFunction(TComponent* AOwner = nullptr);
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  bool AcceptsSource(TChartSeries* Source) override { return dynamic_cast<TOHLCSeries*>(Source); }
  TRSIStyle Style() const { return FStyle; }
  void SetStyle(TRSIStyle Value);

private:
  TRSIStyle FStyle = rsiOpenClose;
};

class TADXFunction : public TGrafFunction {
  ZV_CLASS(TADXFunction)
public:
  explicit TADXFunction(TComponent* AOwner = nullptr);
  ~TADXFunction() override;
  std::string EditorFormClassName() const override { return "TADXFuncEditor"; }
  void ComputeFrom(TChartSeries* Source) override;
  bool AcceptsSource(TChartSeries* Source) override { return dynamic_cast<TOHLCSeries*>(Source); }
  TChartSeries* UpLine() const { return FUp->Series(); }
  TChartSeries* DownLine() const { return FDown->Series(); }
  TChartPen* UpLinePen() const { return UpLine() ? UpLine()->Pen() : nullptr; }
  void SetUpLinePen(TChartPen* Value);
  TChartPen* DownLinePen() const { return DownLine() ? DownLine()->Pen() : nullptr; }
  void SetDownLinePen(TChartPen* Value);

private:
  std::unique_ptr<THiddenSeriesLink> FUp;
  std::unique_ptr<THiddenSeriesLink> FDown;
};

class TMACDFunction : public TGrafMovingFunction {
  ZV_CLASS(TMACDFunction)
public:
  explicit TMACDFunction(TComponent* AOwner = nullptr);
  ~TMACDFunction() override;
  std::string EditorFormClassName() const override { return "TMACDFuncEditor"; }
  void ComputeFrom(TChartSeries* Source) override;
  void SeriesCleared() override;
  double Period2() const { return FPeriod2; }
  void SetPeriod2(double Value);
  int Period3() const { return FPeriod3; }
  void SetPeriod3(int Value);
  TChartSeries* SignalLine() const { return FSignal->Series(); }
  TVolumeSeries* Histogram() const { return dynamic_cast<TVolumeSeries*>(FHistogram->Series()); }
  TChartPen* MACDPen() const { return ParentSeries() ? ParentSeries()->Pen() : nullptr; }
  void SetMACDPen(TChartPen* Value);
  TChartPen* MACDExpPen() const { return SignalLine() ? SignalLine()->Pen() : nullptr; }
  void SetMACDExpPen(TChartPen* Value);
  TChartPen* HistogramPen() const { return Histogram() ? Histogram()->Pen() : nullptr; }
  void SetHistogramPen(TChartPen* Value);

private:
  double FPeriod2 = 12;
  int FPeriod3 = 9;
  std::unique_ptr<THiddenSeriesLink> FSignal;
  std::unique_ptr<THiddenSeriesLink> FHistogram;
};

// Percentage volume oscillator: fast and slow exponential averages.
class TPVOFunction : public TGrafFunction {
  ZV_CLASS(TPVOFunction)
public:
  explicit TPVOFunction(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TPVOFuncEditor"; }
  void ComputeFrom(TChartSeries* Source) override;
  bool Percentage() const { return FPercentage; }
  void SetPercentage(bool Value);
  int Period2() const { return static_cast<int>(FPeriod2); }
  void SetPeriod2(int Value);

private:
  bool FPercentage = true;
  double FPeriod2 = 26;
};

class TCCIFunction : public TGrafFunction {
  ZV_CLASS(TCCIFunction)
public:
  explicit TCCIFunction(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TCCIFuncEditor"; }
  void ComputeFrom(TChartSeries* Source) override;
  bool AcceptsSource(TChartSeries* Source) override { return dynamic_cast<TOHLCSeries*>(Source); }
  double Constant() const { return FConstant; }
  void SetConstant(double Value);

private:
  double FConstant = 0.015;
};

// The base of the functions reading volumes from a second series.
class TVolumeReadingFunction : public TGrafFunction {
  ZV_CLASS(TVolumeReadingFunction)
public:
  explicit TVolumeReadingFunction(TComponent* AOwner = nullptr);
  ~TVolumeReadingFunction() override;
  bool AcceptsSource(TChartSeries* Source) override { return dynamic_cast<TOHLCSeries*>(Source); }
  TChartSeries* Volume() const { return FVolume; }
  void SetVolume(TChartSeries* Value);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The source as an OHLC series; a series of another class raises.
  static TOHLCSeries* AsOHLC(TChartSeries* Source);
  TChartSeries* FVolume = nullptr;
};

class TOBVFunction : public TVolumeReadingFunction {
  ZV_CLASS(TOBVFunction)
public:
  explicit TOBVFunction(TComponent* AOwner = nullptr) : TVolumeReadingFunction(AOwner) {}
  std::string EditorFormClassName() const override { return "TOBVFuncEditor"; }
  void ComputeFrom(TChartSeries* Source) override;
};

class TCLVFunction : public TVolumeReadingFunction {
  ZV_CLASS(TCLVFunction)
public:
  explicit TCLVFunction(TComponent* AOwner = nullptr) : TVolumeReadingFunction(AOwner) {}
  std::string EditorFormClassName() const override { return "TCLVFuncEditor"; }
  void ComputeFrom(TChartSeries* Source) override;
  bool Accumulate() const { return FAccumulate; }
  void SetAccumulate(bool Value);

private:
  bool FAccumulate = true;
};

void RegisterFinancialTypes();
void UnregisterFinancialTypes();
