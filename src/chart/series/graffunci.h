// The elementary chart functions: sum, difference, product, quotient,
// extremes, mean, median, mode, running sum, count, and a function whose
// points come from a handler.
#pragma once

#include <functional>
#include <vector>

#include "chart/core/grengine.h"

class TAddGrafFunction : public TGrafFunction {
  ZV_CLASS(TAddGrafFunction)
public:
  explicit TAddGrafFunction(TComponent* AOwner = nullptr) : TGrafFunction(AOwner) {}
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  double ComputeValueMany(TCustomSeriesList* Sources, int Index) override;
};

// Folds the values of several sources at one index, in source order.
class TManySeriesGrafFunction : public TGrafFunction {
  ZV_CLASS(TManySeriesGrafFunction)
public:
  explicit TManySeriesGrafFunction(TComponent* AOwner = nullptr) : TGrafFunction(AOwner) {}
  double ComputeValueMany(TCustomSeriesList* Sources, int Index) override;
  virtual double CombineValues(double, double) { return 0; }
};

class TSubtractGrafFunction : public TManySeriesGrafFunction {
  ZV_CLASS(TSubtractGrafFunction)
public:
  explicit TSubtractGrafFunction(TComponent* AOwner = nullptr) : TManySeriesGrafFunction(AOwner) {}
  double CombineValues(double Accumulated, double Value) override { return Accumulated - Value; }
};

class TMultiplyGrafFunction : public TManySeriesGrafFunction {
  ZV_CLASS(TMultiplyGrafFunction)
public:
  explicit TMultiplyGrafFunction(TComponent* AOwner = nullptr) : TManySeriesGrafFunction(AOwner) {}
  double CombineValues(double Accumulated, double Value) override { return Accumulated * Value; }
};

class TDivideGrafFunction : public TManySeriesGrafFunction {
  ZV_CLASS(TDivideGrafFunction)
public:
  explicit TDivideGrafFunction(TComponent* AOwner = nullptr) : TManySeriesGrafFunction(AOwner) {}
  // A zero divisor leaves the quotient of the others as it is.
  double CombineValues(double Accumulated, double Value) override {
    return Value == 0 ? Accumulated : Accumulated / Value;
  }
};

class THighGrafFunction : public TGrafFunction {
  ZV_CLASS(THighGrafFunction)
public:
  explicit THighGrafFunction(TComponent* AOwner = nullptr) : TGrafFunction(AOwner) {}
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  double ComputeValueMany(TCustomSeriesList* Sources, int Index) override;
};

class TLowGrafFunction : public TGrafFunction {
  ZV_CLASS(TLowGrafFunction)
public:
  explicit TLowGrafFunction(TComponent* AOwner = nullptr) : TGrafFunction(AOwner) {}
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  double ComputeValueMany(TCustomSeriesList* Sources, int Index) override;
};

class TAverageGrafFunction : public TGrafFunction {
  ZV_CLASS(TAverageGrafFunction)
public:
  explicit TAverageGrafFunction(TComponent* AOwner = nullptr) : TGrafFunction(AOwner) {}
  std::string EditorFormClassName() const override { return "TAverageFuncEditor"; }
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  double ComputeValueMany(TCustomSeriesList* Sources, int Index) override;
  bool IncludeNulls() const { return FIncludeNulls; }
  void SetIncludeNulls(bool Value);

private:
  bool FIncludeNulls = true;
};

using TCalculateEvent = std::function<void(TGrafFunction* Sender, double X, double& Y)>;

// Points y = f(x) from a handler, at NumPoints x values from StartX on by Period.
class TCustomGrafFunction : public TGrafFunction {
  ZV_CLASS(TCustomGrafFunction)
public:
  explicit TCustomGrafFunction(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TCustomFunctionEditor"; }
  void ComputeFrom(TChartSeries* Source) override;
  int NumPoints() const { return FNumPoints; }
  void SetNumPoints(int Value) { FNumPoints = Value; }
  double StartX() const { return FStartX; }
  void SetStartX(double Value) { FStartX = Value; }
  TCalculateEvent OnCalculate;

private:
  int FNumPoints = 100;
  double FStartX = 0;
};

// Functions over the sorted values of a range or of the sources at an index.
class TCustomSortedFunction : public TGrafFunction {
  ZV_CLASS(TCustomSortedFunction)
public:
  explicit TCustomSortedFunction(TComponent* AOwner = nullptr) : TGrafFunction(AOwner) {}
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  double ComputeValueMany(TCustomSeriesList* Sources, int Index) override;
  // The result over Sorted (ascending, not empty).
  virtual double SortedResult() { return 0; }
  bool IncludeNulls() const { return FIncludeNulls; }
  void SetIncludeNulls(bool Value);

protected:
  // Only the counted values: a null left out takes no slot.
  std::vector<double> Sorted;

private:
  double ResultOfSorted();
  bool FIncludeNulls = true;
};

class TMedianGrafFunction : public TCustomSortedFunction {
  ZV_CLASS(TMedianGrafFunction)
public:
  explicit TMedianGrafFunction(TComponent* AOwner = nullptr) : TCustomSortedFunction(AOwner) {}
  // Odd count: the middle value; even count: the mean of the two middle ones.
  double SortedResult() override;
};

class TModeGrafFunction : public TCustomSortedFunction {
  ZV_CLASS(TModeGrafFunction)
public:
  explicit TModeGrafFunction(TComponent* AOwner = nullptr) : TCustomSortedFunction(AOwner) {}
  // The value of the longest run; ties go to the smallest value.
  double SortedResult() override;
};

class TCumulative : public TGrafFunction {
  ZV_CLASS(TCumulative)
public:
  explicit TCumulative(TComponent* AOwner = nullptr);
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  double ComputeValueMany(TCustomSeriesList* Sources, int Index) override;
};

class TCountGrafFunction : public TGrafFunction {
  ZV_CLASS(TCountGrafFunction)
public:
  explicit TCountGrafFunction(TComponent* AOwner = nullptr) : TGrafFunction(AOwner) {}
  double ComputeValue(TChartSeries* Source, int First, int Last) override;
  double ComputeValueMany(TCustomSeriesList* Sources, int Index) override;
};

// Registers the function types with the chart's registry (once).
void RegisterBasicFunctionTypes();
void UnregisterBasicFunctionTypes();
