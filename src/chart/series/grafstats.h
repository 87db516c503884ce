// Statistical chart functions: moving and exponential averages, momentum,
// performance, root mean square, standard deviation, variance; Bollinger
// bands, crossing points and the perimeter; polynomial fitting, trends and
// correlation; down-sampling.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "chart/core/grengine.h"

class TFastLineSeries;

// A series a function owns and shows beside its parent (an extra line): it
// is hidden from the legend and the editor and never saved. The chart may
// free it first while it is being destroyed; the link then forgets it.
class THiddenSeriesLink : public TComponent {
public:
  explicit THiddenSeriesLink(TChartSeries* Series);
  ~THiddenSeriesLink() override;
  TChartSeries* Series() const { return FSeries; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TChartSeries* FSeries;
};

// Puts Series into Parent's chart with Parent's vertical axis, X date flag
// and draw handlers.
void PlaceBesideParent(TChartSeries* Parent, TChartSeries* Series);

// The text of a moving average run with no period.
extern const std::string GrafMsgPeriodMustBeBiggerThanZero;

class TMovingAverageFunction : public TGrafMovingFunction {
  ZV_CLASS(TMovingAverageFunction)
public:
  explicit TMovingAverageFunction(TComponent* AOwner = nullptr) : TGrafMovingFunction(AOwner) {}
  std::string EditorFormClassName() const override { return "TMovAveFuncEditor"; }
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  bool Weighted() const { return FWeighted; }
  void SetWeighted(bool Value);
  bool WeightedIndex() const { return FWeightedIndex; }
  void SetWeightedIndex(bool Value);

private:
  bool FWeighted = false;
  bool FWeightedIndex = false;
};

// The previous source value (not the previous result) enters each value.
class TExpAverageFunction : public TGrafMovingFunction {
  ZV_CLASS(TExpAverageFunction)
public:
  explicit TExpAverageFunction(TComponent* AOwner = nullptr) : TGrafMovingFunction(AOwner) {}
  std::string EditorFormClassName() const override { return "TExpAveFuncEditor"; }
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  double Weight() const { return FWeight; }
  void SetWeight(double Value);

private:
  double FWeight = 0.2;
};

class TExpMovAveFunction : public TGrafFunction {
  ZV_CLASS(TExpMovAveFunction)
public:
  explicit TExpMovAveFunction(TComponent* AOwner = nullptr);
  void ComputeFrom(TChartSeries* Source) override;
};

// The exponential moving average of Values with the given period: one value
// per input value, starting with the first; empty below two values or with
// a period that is not positive.
std::vector<double> ExpMovingAverage(const std::vector<double>& Values, double Period);

class TMomentumFunction : public TGrafMovingFunction {
  ZV_CLASS(TMomentumFunction)
public:
  explicit TMomentumFunction(TComponent* AOwner = nullptr) : TGrafMovingFunction(AOwner) {}
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
};

class TMomentumDivFunction : public TGrafMovingFunction {
  ZV_CLASS(TMomentumDivFunction)
public:
  explicit TMomentumDivFunction(TComponent* AOwner = nullptr) : TGrafMovingFunction(AOwner) {}
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
};

class TPerformanceFunction : public TGrafMovingFunction {
  ZV_CLASS(TPerformanceFunction)
public:
  explicit TPerformanceFunction(TComponent* AOwner = nullptr) : TGrafMovingFunction(AOwner) {}
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
};

// Root mean square; Complete divides by n, else by n - 1.
class TRMSFunction : public TGrafFunction {
  ZV_CLASS(TRMSFunction)
public:
  explicit TRMSFunction(TComponent* AOwner = nullptr) : TGrafFunction(AOwner) {}
  std::string EditorFormClassName() const override { return "TRMSFuncEditor"; }
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  double ComputeValueMany(TCustomSeriesList* Sources, int Index) override;
  bool Complete() const { return FComplete; }
  void SetComplete(bool Value);

protected:
  virtual double Result();
  bool FComplete = false;
  int FCount = 0;
  double FSum = 0;
  double FSumSquares = 0;
};

// Complete: the population form; else the sample form.
class TStdDeviationFunction : public TRMSFunction {
  ZV_CLASS(TStdDeviationFunction)
public:
  explicit TStdDeviationFunction(TComponent* AOwner = nullptr) : TRMSFunction(AOwner) {}

protected:
  double Result() override;
};

// Population variance of the main values.
class TVarianceFunction : public TGrafFunction {
  ZV_CLASS(TVarianceFunction)
public:
  explicit TVarianceFunction(TComponent* AOwner = nullptr) : TGrafFunction(AOwner) {}
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  double ComputeValueMany(TCustomSeriesList* Sources, int Index) override;
};

// ---- Bands, crossings, hull -------------------------------------------------

// Upper band in the parent, lower band in a hidden series of its own.
class TBollingerFunction : public TGrafFunction {
  ZV_CLASS(TBollingerFunction)
public:
  explicit TBollingerFunction(TComponent* AOwner = nullptr);
  ~TBollingerFunction() override;
  std::string EditorFormClassName() const override { return "TBollingerFuncEditor"; }
  void ComputeFrom(TChartSeries* Source) override;
  void SeriesCleared() override;
  bool Exponential() const { return FExponential; }
  void SetExponential(bool Value);
  double Deviation() const { return FDeviation; }
  void SetDeviation(double Value);
  TChartSeries* LowBand() const { return FLowBand->Series(); }
  TChartPen* UpperBandPen() const;
  void SetUpperBandPen(TChartPen* Value);
  TChartPen* LowBandPen() const;
  void SetLowBandPen(TChartPen* Value);

private:
  void Band(TChartSeries* Source, TChartSeries* Target, double Factor);
  bool FExponential = true;
  double FDeviation = 2;
  std::unique_ptr<THiddenSeriesLink> FLowBand;
};

class TCrossPointsFunction : public TGrafFunction {
  ZV_CLASS(TCrossPointsFunction)
public:
  explicit TCrossPointsFunction(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return ""; }
  void ComputeFrom(TChartSeries* Source) override;
};

// The convex hull of the source's points on screen, closed.
class TPerimeterFunction : public TGrafFunction {
  ZV_CLASS(TPerimeterFunction)
public:
  explicit TPerimeterFunction(TComponent* AOwner = nullptr);
  void ComputeFrom(TChartSeries* Source) override;
};

// ---- Polynomial fitting -----------------------------------------------------

using TPolyVector = std::vector<long double>;  // 1-based: element 0 unused

void PowersOf(int K, TPolyVector& Out, long double X);
long double PolynomialValue(int K, const TPolyVector& C, long double X);
// Solves A x = B (order M, 1-based); the determinant, 0 when singular.
long double SolveByElimination(int M, std::vector<TPolyVector>& A, TPolyVector& B, long double Tolerance,
                               TPolyVector& Out);
// Raises "Cannot process fitting" when the normal equations are singular.
void LeastSquaresPolynomial(int N, int K, const TPolyVector& X, TPolyVector& Coefficients, const TPolyVector& Y);

enum TTypeFitting { cfPolynomial };
const TEnumInfo& TypeFittingEnumInfo();

class TCustomFittingFunction : public TGrafFunction {
  ZV_CLASS(TCustomFittingFunction)
public:
  explicit TCustomFittingFunction(TComponent* AOwner = nullptr);
  void ComputeFrom(TChartSeries* Source) override;
  virtual void AddFittedCurve(TChartSeries* Source);

  int PolyDegree() const { return FPolyDegree; }
  void SetPolyDegree(int Value);
  TTypeFitting TypeFitting() const { return FTypeFitting; }
  void SetTypeFitting(TTypeFitting Value);
  int FirstPoint() const { return FFirstPoint; }
  void SetFirstPoint(int Value) { ChangeInt(FFirstPoint, Value); }
  int LastPoint() const { return FLastPoint; }
  void SetLastPoint(int Value) { ChangeInt(FLastPoint, Value); }
  int FirstCalcPoint() const { return FFirstCalcPoint; }
  void SetFirstCalcPoint(int Value) { ChangeInt(FFirstCalcPoint, Value); }
  int LastCalcPoint() const { return FLastCalcPoint; }
  void SetLastCalcPoint(int Value) { ChangeInt(FLastCalcPoint, Value); }
  int Factor() const { return FFactor; }
  void SetFactor(int Value) { ChangeInt(FFactor, std::max(1, Value)); }
  // The value of the last fitted polynomial at X.
  double GetCurveYValue(TChartSeries* Source, double X);

protected:
  void ChangeInt(int& Field, int Value);
  int FPolyDegree = 5;
  TTypeFitting FTypeFitting = cfPolynomial;
  int FFirstPoint = -1;
  int FLastPoint = -1;
  int FFirstCalcPoint = -1;
  int FLastCalcPoint = -1;
  int FFactor = 1;
  TPolyVector FAnswer = TPolyVector(21, 0.0L);
  double FYOffset = 0;
};

class TCurveFittingFunction : public TCustomFittingFunction {
  ZV_CLASS(TCurveFittingFunction)
public:
  explicit TCurveFittingFunction(TComponent* AOwner = nullptr) : TCustomFittingFunction(AOwner) {}
};

enum TTrendKind { tkLinear = 0, tkExponential = 2 };

class TCustomTrendFunction : public TGrafFunction {
  ZV_CLASS(TCustomTrendFunction)
public:
  explicit TCustomTrendFunction(TComponent* AOwner = nullptr) : TGrafFunction(AOwner) {}
  void ComputePeriodPoint(TChartSeries* Source, int First, int Last, double Position) override;
  void ComputeWhole(TChartSeries* Source, TChartValueList* Other) override;
  double ComputeValue(TChartSeries*, int, int) override { return 0; }
  double ComputeValueMany(TCustomSeriesList*, int) override { return 0; }
  // The line y = A + B x (linear) or y = A exp(B x) over First..Last (-1:
  // all points); false where it is undefined.
  bool CalculateTrend(TChartSeries* Source, int First, int Last, double& A, double& B);

protected:
  // Gathers the sums; false when the range has fewer than two usable points.
  bool CalculateSums(TChartSeries* Source, int First, int Last);
  TTrendKind FKind = tkLinear;
  int FCount = 0;
  double Sx = 0, Sy = 0, Sxy = 0, Sxx = 0, Syy = 0;
};

class TTrendFunction : public TCustomTrendFunction {
  ZV_CLASS(TTrendFunction)
public:
  explicit TTrendFunction(TComponent* AOwner = nullptr) : TCustomTrendFunction(AOwner) {}
};

class TExpTrendFunction : public TCustomTrendFunction {
  ZV_CLASS(TExpTrendFunction)
public:
  explicit TExpTrendFunction(TComponent* AOwner = nullptr) : TCustomTrendFunction(AOwner) { FKind = tkExponential; }
};

class TCorrelationFunction : public TCustomTrendFunction {
  ZV_CLASS(TCorrelationFunction)
public:
  explicit TCorrelationFunction(TComponent* AOwner = nullptr) : TCustomTrendFunction(AOwner) {}
  // NaN where the correlation is undefined.
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  void ComputePeriodPoint(TChartSeries* Source, int First, int Last, double Position) override;
};

// ---- Down-sampling ----------------------------------------------------------

enum TDownSampleMethod { dsDouglas, dsMax, dsMin, dsMinMax, dsAverage };
const TEnumInfo& DownSampleMethodEnumInfo();

class TDownSamplingFunction : public TGrafFunction {
  ZV_CLASS(TDownSamplingFunction)
public:
  explicit TDownSamplingFunction(TComponent* AOwner = nullptr);
  void ComputeFrom(TChartSeries* Source) override;
  TDownSampleMethod DownSampleMethod() const { return FMethod; }
  void SetDownSampleMethod(TDownSampleMethod Value);
  double Tolerance() const { return FTolerance; }
  void SetTolerance(double Value);

private:
  TDownSampleMethod FMethod = dsDouglas;
  double FTolerance = 1;
};

// The indices Douglas-Peucker keeps (squared tolerance), ascending.
std::vector<int> DouglasPeucker(const std::vector<double>& X, const std::vector<double>& Y, double Tolerance2);

void RegisterStatisticsFunctionTypes();
void UnregisterStatisticsFunctionTypes();
