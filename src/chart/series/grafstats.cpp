// Statistical chart functions.
#include "chart/series/grafstats.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"
#include "chart/series/series.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/mathutils.h"

const std::string GrafMsgPeriodMustBeBiggerThanZero = "Period must be bigger than zero.";

namespace {

TChartValueList* ValuesOf(TGrafFunction* F, TChartSeries* S) { return S ? F->SourceValueList(S) : nullptr; }

// -1 is every point; false when nothing of the range is in the list.
bool Range(TChartValueList* V, int& First, int& Last) {
  if (!V) return false;
  if (First < 0) {
    First = 0;
    if (Last < 0) Last = V->Count() - 1;
  }
  Last = std::min(Last, V->Count() - 1);
  return Last >= First;
}

}  // namespace

// ============================================================================
// Moving averages

ZV_CLASS_IMPL(TMovingAverageFunction, TGrafMovingFunction)

void TMovingAverageFunction::DeclareProperties(TClassInfo& c) {
  using F = TMovingAverageFunction;
  c.Boolean<F>("Weighted", &F::Weighted, &F::SetWeighted, false);
  c.Boolean<F>("WeightedIndex", &F::WeightedIndex, &F::SetWeightedIndex, false);
}

void TMovingAverageFunction::SetWeighted(bool Value) {
  if (FWeighted == Value) return;
  FWeighted = Value;
  Recompute();
}

void TMovingAverageFunction::SetWeightedIndex(bool Value) {
  if (FWeightedIndex == Value) return;
  FWeightedIndex = Value;
  Recompute();
}

double TMovingAverageFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  // An ordinary error: a check a build could leave out would divide by zero.
  if (!(Period() > 0)) throw ChartException(GrafMsgPeriodMustBeBiggerThanZero);
  TChartValueList* v = ValuesOf(this, Source);
  if (!Range(v, First, Last)) return 0;
  double sum = 0, weights = 0;
  for (int k = First; k <= Last; ++k) {
    double w = 1;
    if (FWeighted) w = Source->OtherList()->GetValue(k);
    else if (FWeightedIndex) w = k - First + 1;
    sum += v->GetValue(k) * w;
    weights += w;
  }
  return weights == 0 ? 0 : sum / weights;
}

ZV_CLASS_IMPL(TExpAverageFunction, TGrafMovingFunction)

void TExpAverageFunction::DeclareProperties(TClassInfo& c) {
  using F = TExpAverageFunction;
  c.Float<F>("Weight", ftDouble, &F::Weight, &F::SetWeight, 0.2L);
}

void TExpAverageFunction::SetWeight(double Value) {
  if (std::isnan(Value) || Value < 0 || Value > 1) throw ChartException(GrafMsgExExpAverageWeightMustBeBetween0And1);
  if (FWeight == Value) return;
  FWeight = Value;
  Recompute();
}

double TExpAverageFunction::ComputeValue(TChartSeries* Source, int, int Last) {
  TChartValueList* v = ValuesOf(this, Source);
  if (!v || Last < 0 || Last >= v->Count()) return 0;
  if (Last == 0) return v->GetValue(0);
  return (1 - FWeight) * v->GetValue(Last - 1) + FWeight * v->GetValue(Last);
}

ZV_CLASS_IMPL_NOPROPS(TExpMovAveFunction, TGrafFunction)

TExpMovAveFunction::TExpMovAveFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  StorePeriod(10);
  PeriodUsable = false;
  SingleSource = true;
}

std::vector<double> ExpMovingAverage(const std::vector<double>& Values, double Period) {
  std::vector<double> out;
  if (!(Period > 0) || Values.size() < 2) return out;
  const double k = 2 / (Period + 1);
  double e = Values[0];
  out.push_back(e);
  for (size_t i = 1; i < Values.size(); ++i) {
    e = Values[i] * k + (1 - k) * e;
    out.push_back(e);
  }
  return out;
}

void TExpMovAveFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !Source) return;
  parent->RemoveAllPoints();
  TChartValueList* v = ValuesOf(this, Source);
  if (!v) return;
  std::vector<double> values(static_cast<size_t>(v->Count()));
  for (int i = 0; i < v->Count(); ++i) values[static_cast<size_t>(i)] = v->GetValue(i);
  const std::vector<double> e = ExpMovingAverage(values, Period());
  for (size_t i = 0; i < e.size(); ++i)
    parent->AddXYPoint(Source->OtherList()->GetValue(static_cast<int>(i)), e[i], "", clDefault);
}

ZV_CLASS_IMPL_NOPROPS(TMomentumFunction, TGrafMovingFunction)

double TMomentumFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  TChartValueList* v = ValuesOf(this, Source);
  if (!Range(v, First, Last)) return 0;
  return v->GetValue(Last) - v->GetValue(First);
}

ZV_CLASS_IMPL_NOPROPS(TMomentumDivFunction, TGrafMovingFunction)

double TMomentumDivFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  TChartValueList* v = ValuesOf(this, Source);
  if (!Range(v, First, Last)) return 0;
  const double d = v->GetValue(First);
  return d == 0 ? 0 : v->GetValue(Last) * 100 / d;
}

ZV_CLASS_IMPL_NOPROPS(TPerformanceFunction, TGrafMovingFunction)

double TPerformanceFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  TChartValueList* v = ValuesOf(this, Source);
  if (!Range(v, First, Last)) return 0;
  const double d = v->GetValue(0);
  return d == 0 ? 0 : (v->GetValue(Last) - d) * 100 / d;
}

// ============================================================================
// Root mean square, standard deviation, variance

ZV_CLASS_IMPL(TRMSFunction, TGrafFunction)

void TRMSFunction::DeclareProperties(TClassInfo& c) {
  using F = TRMSFunction;
  c.Boolean<F>("Complete", &F::Complete, &F::SetComplete, false);
}

void TRMSFunction::SetComplete(bool Value) {
  if (FComplete == Value) return;
  FComplete = Value;
  Recompute();
}

double TRMSFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  FCount = 0;
  FSum = FSumSquares = 0;
  TChartValueList* v = ValuesOf(this, Source);
  if (!Range(v, First, Last)) return 0;
  for (int k = First; k <= Last; ++k) {
    const double x = v->GetValue(k);
    ++FCount;
    FSum += x;
    FSumSquares += x * x;
  }
  return FCount < 2 ? 0 : Result();
}

double TRMSFunction::ComputeValueMany(TCustomSeriesList* Sources, int Index) {
  FCount = 0;
  FSum = FSumSquares = 0;
  for (int s = 0; s < Sources->Count(); ++s) {
    TChartValueList* v = ValuesOf(this, Sources->ItemAt(s));
    if (!v || v->Count() <= Index) continue;
    const double x = v->GetValue(Index);
    ++FCount;
    FSum += x;
    FSumSquares += x * x;
  }
  return FCount < 2 ? 0 : Result();
}

double TRMSFunction::Result() {
  const double d = FComplete ? FCount : FCount - 1;
  return d == 0 ? 0 : std::sqrt(FSumSquares / d);
}

ZV_CLASS_IMPL_NOPROPS(TStdDeviationFunction, TRMSFunction)

double TStdDeviationFunction::Result() {
  const double n = FCount;
  const double d = FComplete ? n * n : n * (n - 1);
  const double v = (n * FSumSquares - FSum * FSum) / d;
  return v >= 0 ? std::sqrt(v) : 0;
}

ZV_CLASS_IMPL_NOPROPS(TVarianceFunction, TGrafFunction)

double TVarianceFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  TChartValueList* v = Source ? Source->MainList() : nullptr;
  if (!Range(v, First, Last)) return 0;
  const int n = Last - First + 1;
  double mean;
  if (n == v->Count()) {
    mean = v->Total() / n;
  } else {
    double s = 0;
    for (int k = First; k <= Last; ++k) s += v->GetValue(k);
    mean = s / n;
  }
  double q = 0;
  for (int k = First; k <= Last; ++k) q += (v->GetValue(k) - mean) * (v->GetValue(k) - mean);
  return q / n;
}

double TVarianceFunction::ComputeValueMany(TCustomSeriesList* Sources, int Index) {
  std::vector<double> xs;
  for (int s = 0; s < Sources->Count(); ++s) {
    TChartSeries* src = Sources->ItemAt(s);
    if (src && src->MainList()->Count() > Index) xs.push_back(src->MainList()->GetValue(Index));
  }
  if (xs.empty()) return 0;
  double mean = 0;
  for (double x : xs) mean += x;
  mean /= static_cast<double>(xs.size());
  double q = 0;
  for (double x : xs) q += (x - mean) * (x - mean);
  return q / static_cast<double>(xs.size());
}

// ============================================================================
// Bollinger bands

THiddenSeriesLink::THiddenSeriesLink(TChartSeries* Series) : TComponent(nullptr), FSeries(Series) {
  Series->SetShowInLegend(false);
  Series->SetShowInEditor(false);
  Series->DontSaveData = true;
  Series->Internal = true;
  Series->FreeNotification(this);
}

THiddenSeriesLink::~THiddenSeriesLink() {
  if (!FSeries) return;
  TChartSeries* s = FSeries;
  FSeries = nullptr;
  s->RemoveFreeNotification(this);
  s->SetParentChart(nullptr);
  delete s;
}

void THiddenSeriesLink::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSeries) FSeries = nullptr;
}

void PlaceBesideParent(TChartSeries* Parent, TChartSeries* Series) {
  if (!Parent || !Series) return;
  if (Series->ParentChart() != Parent->ParentChart()) Series->SetParentChart(Parent->ParentChart());
  Series->SetCustomVertAxis(Parent->CustomVertAxis());
  Series->SetVertAxis(Parent->VertAxis());
  Series->XValues()->SetDateTime(Parent->XValues()->DateTime());
  Series->BeforeDrawValues = Parent->BeforeDrawValues;
  Series->AfterDrawValues = Parent->AfterDrawValues;
}

ZV_CLASS_IMPL(TBollingerFunction, TGrafFunction)

void TBollingerFunction::DeclareProperties(TClassInfo& c) {
  using F = TBollingerFunction;
  c.Boolean<F>("Exponential", &F::Exponential, &F::SetExponential, true);
  c.Float<F>("Deviation", ftDouble, &F::Deviation, &F::SetDeviation);
  c.Object<F, TChartPen>("LowBandPen", &F::LowBandPen, &F::SetLowBandPen);
  c.Object<F, TChartPen>("UpperBandPen", &F::UpperBandPen, &F::SetUpperBandPen);
}

TBollingerFunction::TBollingerFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  SingleSource = true;
  StorePeriod(10);
  FLowBand = std::make_unique<THiddenSeriesLink>(new TFastLineSeries(nullptr));
}

TBollingerFunction::~TBollingerFunction() = default;

void TBollingerFunction::SetExponential(bool Value) {
  if (FExponential == Value) return;
  FExponential = Value;
  Recompute();
}

void TBollingerFunction::SetDeviation(double Value) {
  if (FDeviation == Value) return;
  FDeviation = Value;
  Recompute();
}

TChartPen* TBollingerFunction::UpperBandPen() const { return ParentSeries() ? ParentSeries()->Pen() : nullptr; }
void TBollingerFunction::SetUpperBandPen(TChartPen* Value) {
  if (ParentSeries() && Value) ParentSeries()->Pen()->Assign(Value);
}
TChartPen* TBollingerFunction::LowBandPen() const { return LowBand() ? LowBand()->Pen() : nullptr; }
void TBollingerFunction::SetLowBandPen(TChartPen* Value) {
  if (Value && LowBand()) LowBand()->Pen()->Assign(Value);
}

void TBollingerFunction::SeriesCleared() {
  if (LowBand()) LowBand()->RemoveAllPoints();
}

void TBollingerFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !Source) return;
  TChartSeries* low = LowBand();
  parent->RemoveAllPoints();
  if (low) {
    PlaceBesideParent(parent, low);
    low->SetSeriesColor(parent->SeriesColor());
    if (parent->ClassType() == low->ClassType()) low->Pen()->Assign(parent->Pen());
    low->RemoveAllPoints();
  }
  if (!(Period() > 0)) return;
  Band(Source, parent, FDeviation);
  if (low) Band(Source, low, -FDeviation);
}

void TBollingerFunction::Band(TChartSeries* Source, TChartSeries* Target, double Factor) {
  TChartValueList* v = ValuesOf(this, Source);
  if (!v) return;
  const int n = v->Count();
  const int p = static_cast<int>(Round(Period()));
  std::vector<double> values(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) values[static_cast<size_t>(i)] = v->GetValue(i);
  // The middle line: one exponential value per point, or one plain mean per
  // complete window starting at point p - 1.
  std::vector<double> average;
  if (FExponential) {
    average = ExpMovingAverage(values, Period());
  } else if (p >= 1) {
    for (int i = p - 1; i < n; ++i) {
      double s = 0;
      for (int k = i - p + 1; k <= i; ++k) s += values[static_cast<size_t>(k)];
      average.push_back(s / p);
    }
  }
  Target->RemoveAllPoints();
  if (p < 1 || n < p) return;
  for (int i = p; i <= n; ++i) {
    double s = 0, q = 0;
    for (int k = i - p; k <= i - 1; ++k) {
      s += values[static_cast<size_t>(k)];
      q += values[static_cast<size_t>(k)] * values[static_cast<size_t>(k)];
    }
    const double radicand = (Period() * q - s * s) / (Period() * Period());
    const double sd = radicand > 0 ? std::sqrt(radicand) : 0;
    const size_t at = static_cast<size_t>(FExponential ? i - 1 : i - p);
    if (at >= average.size()) continue;
    Target->AddXYPoint(Source->OtherList()->GetValue(i - 1), average[at] + Factor * sd, "", clDefault);
  }
}

// ============================================================================
// Crossing points

ZV_CLASS_IMPL_NOPROPS(TCrossPointsFunction, TGrafFunction)

TCrossPointsFunction::TCrossPointsFunction(TComponent* AOwner) : TGrafFunction(AOwner) { PeriodUsable = false; }

namespace {

// Crossing of segments a0-a1 and b0-b1 when each has its ends on opposite
// sides of the other's line.
bool SegmentsCross(double ax0, double ay0, double ax1, double ay1, double bx0, double by0, double bx1, double by1,
                   double& X, double& Y) {
  auto side = [](double x0, double y0, double x1, double y1, double px, double py) {
    return (x1 - x0) * (py - y0) - (y1 - y0) * (px - x0);
  };
  const double d1 = side(bx0, by0, bx1, by1, ax0, ay0), d2 = side(bx0, by0, bx1, by1, ax1, ay1);
  const double d3 = side(ax0, ay0, ax1, ay1, bx0, by0), d4 = side(ax0, ay0, ax1, ay1, bx1, by1);
  if (!(((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))) return false;
  const double t = d1 / (d1 - d2);
  X = ax0 + t * (ax1 - ax0);
  Y = ay0 + t * (ay1 - ay0);
  return true;
}

}  // namespace

void TCrossPointsFunction::ComputeFrom(TChartSeries*) {
  TChartSeries* parent = ParentSeries();
  if (!parent || parent->DataSources()->Count() < 2) return;
  auto* a = dynamic_cast<TChartSeries*>(parent->DataSources()->Items(0));
  auto* b = dynamic_cast<TChartSeries*>(parent->DataSources()->Items(1));
  parent->RemoveAllPoints();
  if (!a || !b) return;
  TChartValueList* av = ValuesOf(this, a);
  TChartValueList* bv = ValuesOf(this, b);
  if (!av || !bv || av->Count() < 2 || bv->Count() < 2) return;
  TChartValueList* ax = a->OtherList();
  TChartValueList* bx = b->OtherList();
  int i = 0, j = 0;
  while (i < av->Count() - 1 && j < bv->Count() - 1) {
    double x, y;
    if (SegmentsCross(ax->GetValue(i), av->GetValue(i), ax->GetValue(i + 1), av->GetValue(i + 1), bx->GetValue(j),
                      bv->GetValue(j), bx->GetValue(j + 1), bv->GetValue(j + 1), x, y))
      parent->AddXYPoint(x, y, "", clDefault);
    if (bx->GetValue(j + 1) >= ax->GetValue(i + 1)) ++i;
    else ++j;
  }
}

// ============================================================================
// Perimeter

ZV_CLASS_IMPL_NOPROPS(TPerimeterFunction, TGrafFunction)

TPerimeterFunction::TPerimeterFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  PeriodUsable = false;
  SingleSource = true;
}

void TPerimeterFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !Source) return;
  parent->RemoveAllPoints();
  TCustomAxisPanel* chart = Source->ParentChart();
  if (Source->PointCount() == 0 || !chart || !chart->PanelCanvas()) return;
  TChartAxis* sh = Source->GetHorizAxis();
  TChartAxis* sv = Source->GetVertAxis();
  if ((!sh || sh->AxisLength == 0 || !sv || sv->AxisLength == 0) && chart->Width() > 0 && chart->Height() > 0) {
    // The hull is taken on screen: lay the chart out once first.
    TBitmap image(chart->Width(), chart->Height());
    chart->DrawOnCanvas(image.Canvas(), TRect(0, 0, chart->Width(), chart->Height()));
  }
  TCanvas3D* canvas = chart->PanelCanvas();
  TPointArray points;
  for (int i = 0; i < Source->PointCount(); ++i)
    points.push_back(canvas->ProjectXYZ(Source->PointXPixel(i), Source->PointYPixel(i), Source->StartZ));
  TGrafCanvas::ReduceToConvexHull(points);
  parent->XValues()->SetOrder(loNone);
  TChartAxis* h = parent->GetHorizAxis();
  TChartAxis* v = parent->GetVertAxis();
  if (!h || !v) return;
  for (const TPoint& p : points) parent->AddXYPoint(h->PixelToValue(p.X), v->PixelToValue(p.Y), "", clDefault);
  if (!points.empty())
    parent->AddXYPoint(h->PixelToValue(points[0].X), v->PixelToValue(points[0].Y), "", clDefault);
}

// ============================================================================
// Polynomial fitting

void PowersOf(int K, TPolyVector& Out, long double X) {
  if (K < 1) return;
  Out[1] = 1;
  for (int j = 2; j <= K; ++j) Out[static_cast<size_t>(j)] = X * Out[static_cast<size_t>(j - 1)];
}

long double PolynomialValue(int K, const TPolyVector& C, long double X) {
  long double r = 0, p = 1;
  for (int j = 1; j <= K; ++j) {
    r += C[static_cast<size_t>(j)] * p;
    p *= X;
  }
  return r;
}

long double SolveByElimination(int M, std::vector<TPolyVector>& A, TPolyVector& B, long double Tolerance,
                               TPolyVector& Out) {
  auto at = [&](int r, int c) -> long double& { return A[static_cast<size_t>(r)][static_cast<size_t>(c)]; };
  int swaps = 0;
  for (int i = 1; i <= M - 1; ++i) {
    int pivot = i;
    for (int r = i + 1; r <= M; ++r)
      if (std::fabs(at(r, i)) > std::fabs(at(pivot, i))) pivot = r;
    if (pivot != i) {
      for (int c = i; c <= M; ++c) std::swap(at(i, c), at(pivot, c));
      std::swap(B[static_cast<size_t>(i)], B[static_cast<size_t>(pivot)]);
      ++swaps;
    }
    if (std::fabs(at(i, i)) < Tolerance) return 0;
    for (int r = i + 1; r <= M; ++r) {
      const long double f = at(r, i) / at(i, i);
      for (int c = i + 1; c <= M; ++c) at(r, c) -= f * at(i, c);
      B[static_cast<size_t>(r)] -= f * B[static_cast<size_t>(i)];
    }
  }
  if (std::fabs(at(M, M)) < Tolerance) return 0;
  long double det = 1;
  for (int j = M; j >= 1; --j) {
    long double s = B[static_cast<size_t>(j)];
    for (int c = j + 1; c <= M; ++c) s -= at(j, c) * Out[static_cast<size_t>(c)];
    Out[static_cast<size_t>(j)] = s / at(j, j);
    det *= at(j, j);
  }
  return swaps % 2 ? -det : det;
}

void LeastSquaresPolynomial(int N, int K, const TPolyVector& X, TPolyVector& Coefficients, const TPolyVector& Y) {
  std::vector<TPolyVector> a(static_cast<size_t>(K + 1), TPolyVector(static_cast<size_t>(K + 1), 0.0L));
  TPolyVector b(static_cast<size_t>(K + 1), 0.0L), powers(static_cast<size_t>(K + 1), 0.0L);
  for (int i = 1; i <= N; ++i) {
    PowersOf(K, powers, X[static_cast<size_t>(i)]);
    for (int r = 1; r <= K; ++r) {
      for (int c = 1; c <= K; ++c) a[static_cast<size_t>(r)][static_cast<size_t>(c)] += powers[r] * powers[c];
      b[static_cast<size_t>(r)] += powers[static_cast<size_t>(r)] * Y[static_cast<size_t>(i)];
    }
  }
  if (Coefficients.size() < static_cast<size_t>(K + 1)) Coefficients.resize(static_cast<size_t>(K + 1));
  if (SolveByElimination(K, a, b, 1e-15L, Coefficients) == 0) throw ChartException(GrafMsgExCannotProcessFitting);
}

const TEnumInfo& TypeFittingEnumInfo() {
  static const TEnumInfo info{"TTypeFitting", {"cfPolynomial"}, 0};
  return info;
}

ZV_CLASS_IMPL_NOPROPS(TCustomFittingFunction, TGrafFunction)

TCustomFittingFunction::TCustomFittingFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  PeriodUsable = false;
  StorePeriod(1);
}

void TCustomFittingFunction::ChangeInt(int& Field, int Value) {
  if (Field == Value) return;
  Field = Value;
  Recompute();
}

void TCustomFittingFunction::SetPolyDegree(int Value) {
  if (FPolyDegree == Value) return;
  if (Value < 1 || Value > 20) throw ChartException(GrafMsgExPolynomialDegreeMustBeBetween1And20);
  FPolyDegree = Value;
  Recompute();
}

void TCustomFittingFunction::SetTypeFitting(TTypeFitting Value) {
  if (FTypeFitting == Value) return;
  FTypeFitting = Value;
  Recompute();
}

void TCustomFittingFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !Source) return;
  parent->RemoveAllPoints();
  TChartValueList* v = ValuesOf(this, Source);
  if (!v || v->Count() < FPolyDegree || v->Count() == 0) return;
  TChartValueList* xs = Source->OtherList();
  const double x0 = xs->MinValue(), y0 = v->MinValue();
  const int last = v->Count() - 1;
  const int first = std::max(0, FFirstCalcPoint);
  const int end = (FLastCalcPoint == -1 || FLastCalcPoint > last) ? last : FLastCalcPoint;
  const int n = end - first + 1;
  if (n < 1) return;
  TPolyVector x(static_cast<size_t>(n + 1)), y(static_cast<size_t>(n + 1));
  for (int i = first; i <= end; ++i) {
    x[static_cast<size_t>(i - first + 1)] = static_cast<long double>(xs->GetValue(i)) - x0;
    y[static_cast<size_t>(i - first + 1)] = static_cast<long double>(v->GetValue(i)) - y0;
  }
  std::fill(FAnswer.begin(), FAnswer.end(), 0.0L);
  LeastSquaresPolynomial(n, FPolyDegree, x, FAnswer, y);
  FYOffset = y0;
  AddFittedCurve(Source);
}

double TCustomFittingFunction::GetCurveYValue(TChartSeries* Source, double X) {
  const double x0 = Source->OtherList()->MinValue();
  return static_cast<double>(PolynomialValue(FPolyDegree, FAnswer, X - x0)) + FYOffset;
}

void TCustomFittingFunction::AddFittedCurve(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  TChartValueList* v = ValuesOf(this, Source);
  if (!parent || !v || v->Count() == 0) return;
  TChartValueList* xs = Source->OtherList();
  const double x0 = xs->MinValue(), y0 = v->MinValue();
  FFactor = std::max(1, FFactor);
  const int lastIndex = v->Count() - 1;
  const int first = std::max(0, FFirstPoint);
  const int last = (FLastPoint == -1 || FLastPoint > lastIndex) ? lastIndex : FLastPoint;
  auto add = [&](double x) {
    parent->AddXYPoint(x, static_cast<double>(PolynomialValue(FPolyDegree, FAnswer, x - x0)) + y0, "", clDefault);
  };
  for (int i = first; i < last; ++i)
    for (int b = 0; b < FFactor; ++b)
      add(xs->GetValue(i) + (xs->GetValue(i + 1) - xs->GetValue(i)) / FFactor * b);
  if (last >= first) add(xs->GetValue(last));
}

ZV_CLASS_IMPL(TCurveFittingFunction, TCustomFittingFunction)

void TCurveFittingFunction::DeclareProperties(TClassInfo& c) {
  using F = TCurveFittingFunction;
  c.Integer<F>("Factor", &F::Factor, &F::SetFactor, 1);
  c.Integer<F>("FirstCalcPoint", &F::FirstCalcPoint, &F::SetFirstCalcPoint, -1);
  c.Integer<F>("FirstPoint", &F::FirstPoint, &F::SetFirstPoint, -1);
  c.Integer<F>("LastCalcPoint", &F::LastCalcPoint, &F::SetLastCalcPoint, -1);
  c.Integer<F>("LastPoint", &F::LastPoint, &F::SetLastPoint, -1);
  c.Integer<F>("PolyDegree", &F::PolyDegree, &F::SetPolyDegree, 5);
  c.Enum<F>("TypeFitting", TypeFittingEnumInfo(), &F::TypeFitting, &F::SetTypeFitting, cfPolynomial);
}

// ============================================================================
// Trends and correlation

ZV_CLASS_IMPL_NOPROPS(TCustomTrendFunction, TGrafFunction)

bool TCustomTrendFunction::CalculateSums(TChartSeries* Source, int First, int Last) {
  Sx = Sy = Sxy = Sxx = Syy = 0;
  FCount = 0;
  TChartValueList* v = ValuesOf(this, Source);
  if (!Range(v, First, Last)) return false;
  TChartValueList* xs = Source->OtherList();
  for (int k = First; k <= Last; ++k) {
    const double x = xs->GetValue(k);
    double y = v->GetValue(k);
    if (FKind == tkExponential) {
      // The logarithm is undefined there: the value takes no part.
      if (!(y > 0)) continue;
      y = std::log(y);
    }
    ++FCount;
    Sx += x;
    Sy += y;
    Sxy += x * y;
    Sxx += x * x;
    Syy += y * y;
  }
  return FCount > 1;
}

bool TCustomTrendFunction::CalculateTrend(TChartSeries* Source, int First, int Last, double& A, double& B) {
  if (!CalculateSums(Source, First, Last)) return false;
  const double n = FCount;
  if (FKind == tkLinear) {
    const double d = n * Sxx - Sx * Sx;
    if (d == 0) return false;
    B = (n * Sxy - Sx * Sy) / d;
    A = (Sy * Sxx - Sx * Sxy) / d;
    return std::isfinite(A) && std::isfinite(B);
  }
  const double mx = Sx / n, my = Sy / n;
  const double h = Sxx - n * mx * mx;
  if (h == 0) return false;
  B = (Sxy - n * mx * my) / h;
  A = std::exp(my - B * mx);
  return std::isfinite(A) && std::isfinite(B);
}

void TCustomTrendFunction::ComputePeriodPoint(TChartSeries* Source, int First, int Last, double) {
  TChartSeries* parent = ParentSeries();
  double a, b;
  if (!parent || !CalculateTrend(Source, First, Last, a, b)) return;
  TChartValueList* xs = Source->OtherList();
  double x0, x1;
  if (xs->Order() != loNone) {
    x0 = xs->GetValue(First < 0 ? 0 : First);
    x1 = xs->GetValue(Last < 0 ? xs->Count() - 1 : Last);
  } else {
    x0 = xs->MinValue();
    x1 = xs->MaxValue();
  }
  for (double x : {x0, x1}) {
    const double y = FKind == tkLinear ? b * x + a : a * std::exp(b * x);
    if (Source->IsVertical()) parent->AddXYPoint(x, y, "", clDefault);
    else parent->AddXYPoint(y, x, "", clDefault);
  }
}

void TCustomTrendFunction::ComputeWhole(TChartSeries* Source, TChartValueList* Other) {
  if (Other->Count() > 0) ComputePeriodPoint(Source, 0, Other->Count() - 1, 0);
}

ZV_CLASS_IMPL_NOPROPS(TTrendFunction, TCustomTrendFunction)
ZV_CLASS_IMPL_NOPROPS(TExpTrendFunction, TCustomTrendFunction)
ZV_CLASS_IMPL_NOPROPS(TCorrelationFunction, TCustomTrendFunction)

double TCorrelationFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  if (!CalculateSums(Source, First, Last)) return NAN;
  const double n = FCount;
  const double d = (Sxx - Sx * Sx / n) * (Syy - Sy * Sy / n);
  if (!(d > 0)) return NAN;
  return (Sxy - Sx * Sy / n) / std::sqrt(d);
}

void TCorrelationFunction::ComputePeriodPoint(TChartSeries* Source, int First, int Last, double) {
  TChartSeries* parent = ParentSeries();
  const double r = ComputeValue(Source, First, Last);
  if (!parent || std::isnan(r)) return;
  if (parent->SinglePointResults) {
    parent->AddXYPoint(parent->PointCount(), r, "", clDefault);
  } else {
    const double lo = Source->OtherList()->MinValue(), hi = Source->OtherList()->MaxValue();
    for (double x : {lo, hi}) {
      if (parent->IsVertical()) parent->AddXYPoint(x, r, "", clDefault);
      else parent->AddXYPoint(r, x, "", clDefault);
    }
  }
}

// ============================================================================
// Down-sampling

const TEnumInfo& DownSampleMethodEnumInfo() {
  static const TEnumInfo info{"TDownSampleMethod", {"dsDouglas", "dsMax", "dsMin", "dsMinMax", "dsAverage"}, 0};
  return info;
}

ZV_CLASS_IMPL(TDownSamplingFunction, TGrafFunction)

void TDownSamplingFunction::DeclareProperties(TClassInfo& c) {
  using F = TDownSamplingFunction;
  c.Enum<F>("DownSampleMethod", DownSampleMethodEnumInfo(), &F::DownSampleMethod, &F::SetDownSampleMethod,
            dsDouglas);
  c.Float<F>("Tolerance", ftDouble, &F::Tolerance, &F::SetTolerance);
}

TDownSamplingFunction::TDownSamplingFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  PeriodUsable = false;
  SingleSource = true;
  StorePeriod(1);
}

void TDownSamplingFunction::SetDownSampleMethod(TDownSampleMethod Value) {
  if (FMethod == Value) return;
  FMethod = Value;
  Recompute();
}

void TDownSamplingFunction::SetTolerance(double Value) {
  if (!(Value > 0)) Value = 0;
  if (FTolerance == Value) return;
  FTolerance = Value;
  Recompute();
}

std::vector<int> DouglasPeucker(const std::vector<double>& X, const std::vector<double>& Y, double Tolerance2) {
  const int n = static_cast<int>(X.size());
  std::vector<int> result;
  if (n == 0) return result;
  std::vector<char> keep(static_cast<size_t>(n), 0);
  keep[0] = keep[static_cast<size_t>(n - 1)] = 1;
  // An explicit stack of segments: long near-monotone data would nest as
  // deep as it has points.
  std::vector<std::pair<int, int>> stack{{0, n - 1}};
  while (!stack.empty()) {
    const auto [start, end] = stack.back();
    stack.pop_back();
    if (end - start < 2) continue;
    const double sx = X[static_cast<size_t>(end)] - X[static_cast<size_t>(start)];
    const double sy = Y[static_cast<size_t>(end)] - Y[static_cast<size_t>(start)];
    const double len2 = sx * sx + sy * sy;
    double best = 0;
    int at = start;
    for (int i = start + 1; i < end; ++i) {
      const double wx = X[static_cast<size_t>(i)] - X[static_cast<size_t>(start)];
      const double wy = Y[static_cast<size_t>(i)] - Y[static_cast<size_t>(start)];
      const double l = sx * wx + sy * wy;
      double nx, ny;
      if (l <= 0) {
        nx = X[static_cast<size_t>(start)];
        ny = Y[static_cast<size_t>(start)];
      } else if (l > len2) {
        nx = X[static_cast<size_t>(end)];
        ny = Y[static_cast<size_t>(end)];
      } else {
        nx = X[static_cast<size_t>(start)] + l / len2 * sx;
        ny = Y[static_cast<size_t>(start)] + l / len2 * sy;
      }
      const double dx = X[static_cast<size_t>(i)] - nx, dy = Y[static_cast<size_t>(i)] - ny;
      const double d = dx * dx + dy * dy;
      if (d > best) {
        best = d;
        at = i;
      }
    }
    if (best > Tolerance2) {
      keep[static_cast<size_t>(at)] = 1;
      stack.emplace_back(at, end);
      stack.emplace_back(start, at);
    }
  }
  for (int i = 0; i < n; ++i)
    if (keep[static_cast<size_t>(i)]) result.push_back(i);
  return result;
}

void TDownSamplingFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !Source) return;
  const int n = Source->PointCount();
  if (n == 0) return;
  parent->RemoveAllPoints();
  const bool same = parent->IsVertical() == Source->IsVertical();
  parent->XValues()->SetOrder(same ? loAscending : loNone);
  parent->YValues()->SetOrder(same ? loNone : loAscending);
  parent->CalcVisibleRange = same;
  std::vector<double> x(static_cast<size_t>(n)), y(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    x[static_cast<size_t>(i)] = Source->XValues()->GetValue(i);
    y[static_cast<size_t>(i)] = Source->YValues()->GetValue(i);
  }
  std::vector<std::pair<double, double>> out;
  if (FMethod == dsDouglas) {
    for (int i : DouglasPeucker(x, y, FTolerance * FTolerance))
      out.emplace_back(x[static_cast<size_t>(i)], y[static_cast<size_t>(i)]);
  } else {
    // Two points per group at most, so every group fits.
    out.reserve(static_cast<size_t>(2 * n));
    int b = 0;
    while (b < n) {
      int e = b;
      double hi = y[static_cast<size_t>(b)], lo = hi, sum = hi;
      while (e + 1 < n && std::fabs(x[static_cast<size_t>(e + 1)] - x[static_cast<size_t>(b)]) < FTolerance) {
        ++e;
        hi = std::max(hi, y[static_cast<size_t>(e)]);
        lo = std::min(lo, y[static_cast<size_t>(e)]);
        sum += y[static_cast<size_t>(e)];
      }
      const double mid = (x[static_cast<size_t>(b)] + x[static_cast<size_t>(e)]) / 2;
      switch (FMethod) {
        case dsMax: out.emplace_back(mid, hi); break;
        case dsMin: out.emplace_back(mid, lo); break;
        case dsAverage: out.emplace_back(mid, sum / (e - b + 1)); break;
        default:
          out.emplace_back(x[static_cast<size_t>(b)], lo);
          out.emplace_back(x[static_cast<size_t>(e)], hi);
          break;
      }
      b = e + 1;
    }
  }
  for (const auto& [px, py] : out) parent->AddXYPoint(px, py, "", clDefault);
}

// ============================================================================

void RegisterStatisticsFunctionTypes() {
  static const bool done = [] {
    RegisterFunctionType(&TMovingAverageFunction::StaticClass(), &GrafMsgExMovingAverage, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TExpMovAveFunction::StaticClass(), &GrafMsgExExpMovingAverage, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TExpAverageFunction::StaticClass(), &GrafMsgExExponentialAverage, &GrafMsgExtended, 1);
    RegisterFunctionType(&TMomentumFunction::StaticClass(), &GrafMsgExMomentum, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TMomentumDivFunction::StaticClass(), &GrafMsgExMomentumDivision, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TStdDeviationFunction::StaticClass(), &GrafMsgExStandardDeviation, &GrafMsgExtended, 1);
    RegisterFunctionType(&TRMSFunction::StaticClass(), &GrafMsgExRootMeanSquare, &GrafMsgExtended, 1);
    RegisterFunctionType(&TPerformanceFunction::StaticClass(), &GrafMsgExPerformance, &GrafMsgExtended, 1);
    RegisterFunctionType(&TVarianceFunction::StaticClass(), &GrafMsgExVariance, &GrafMsgExtended, 1);
    RegisterFunctionType(&TBollingerFunction::StaticClass(), &GrafMsgExBollingerBands, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TCrossPointsFunction::StaticClass(), &GrafMsgExCrossPoints, &GrafMsgExtended, 1);
    RegisterFunctionType(&TPerimeterFunction::StaticClass(), &GrafMsgExPerimeter, &GrafMsgExtended, 1);
    RegisterFunctionType(&TCurveFittingFunction::StaticClass(), &GrafMsgExCurveFitting, &GrafMsgExtended, 1);
    RegisterFunctionType(&TTrendFunction::StaticClass(), &GrafMsgExTrend, &GrafMsgExtended, 1);
    RegisterFunctionType(&TExpTrendFunction::StaticClass(), &GrafMsgExExponentialTrend, &GrafMsgExtended, 1);
    RegisterFunctionType(&TCorrelationFunction::StaticClass(), &GrafMsgExCorrelation, &GrafMsgExtended, 1);
    RegisterFunctionType(&TDownSamplingFunction::StaticClass(), &GrafMsgExDownsampling, &GrafMsgExtended, 1);
    return true;
  }();
  (void)done;
}

void UnregisterStatisticsFunctionTypes() {
  UnregisterFunctionTypes({&TMovingAverageFunction::StaticClass(), &TExpMovAveFunction::StaticClass(),
                           &TExpAverageFunction::StaticClass(), &TMomentumFunction::StaticClass(),
                           &TMomentumDivFunction::StaticClass(), &TStdDeviationFunction::StaticClass(),
                           &TRMSFunction::StaticClass(), &TPerformanceFunction::StaticClass(),
                           &TVarianceFunction::StaticClass(), &TBollingerFunction::StaticClass(),
                           &TCrossPointsFunction::StaticClass(), &TPerimeterFunction::StaticClass(),
                           &TCurveFittingFunction::StaticClass(), &TTrendFunction::StaticClass(),
                           &TExpTrendFunction::StaticClass(), &TCorrelationFunction::StaticClass(),
                           &TDownSamplingFunction::StaticClass()});
}
