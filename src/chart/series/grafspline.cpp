// B-spline curves and the smoothing function.
#include "chart/series/grafspline.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"

// ============================================================================
// TBSpline

void TBSpline::Reset() {
  FPoints.clear();
  FKnuckles.clear();
  FInterpolated = false;
  FFragments = 100;
  Invalidate();
}

void TBSpline::Invalidate() {
  FBuilt = false;
  FVertices.clear();
  FNoVertices = 0;
}

void TBSpline::AddPoint(double X, double Y) {
  FPoints.push_back({X, Y});
  FKnuckles.push_back(false);
  Invalidate();
}

void TBSpline::SetPoint(int Index, TSplinePoint P) {
  FPoints.at(static_cast<size_t>(Index - 1)) = P;
  Invalidate();
}

void TBSpline::SetKnuckle(int Index, bool Value) {
  FKnuckles.at(static_cast<size_t>(Index - 1)) = Value;
  Invalidate();
}

void TBSpline::SetInterpolated(bool Value) {
  if (FInterpolated == Value) return;
  FInterpolated = Value;
  Invalidate();
}

void TBSpline::SetFragments(int Value) { FFragments = std::min(Value, MaxFragments); }

int TBSpline::VertexCount() {
  if (!FBuilt) Rebuild();
  return FNoVertices;
}

void TBSpline::SolveControl(const std::vector<double>& Sub, const std::vector<double>& Diag,
                            const std::vector<double>& Super, bool ForX) {
  const int n = FNoVertices;
  std::vector<double> d(Diag), rhs(static_cast<size_t>(n + 1));
  for (int i = 1; i <= n; ++i) rhs[static_cast<size_t>(i)] = ForX ? FVertices[static_cast<size_t>(i)].X : FVertices[static_cast<size_t>(i)].Y;
  // Forward elimination without pivoting: each row minus factor x the row above.
  for (int i = 2; i <= n; ++i) {
    const size_t k = static_cast<size_t>(i);
    if (Sub[k] == 0) continue;
    const double f = Sub[k] / d[k - 1];
    d[k] -= f * Super[k - 1];
    rhs[k] -= f * rhs[k - 1];
  }
  // Back substitution with the diagonal and the element right of it.
  std::vector<double> x(static_cast<size_t>(n + 2), 0.0);
  for (int i = n; i >= 1; --i) {
    const size_t k = static_cast<size_t>(i);
    const double right = i < n ? Super[k] * x[k + 1] : 0;
    x[k] = (rhs[k] - right) / d[k];
  }
  for (int i = 1; i <= n; ++i) {
    if (ForX) FVertices[static_cast<size_t>(i)].X = x[static_cast<size_t>(i)];
    else FVertices[static_cast<size_t>(i)].Y = x[static_cast<size_t>(i)];
  }
}

void TBSpline::Rebuild() {
  FVertices.clear();
  FNoVertices = 0;
  const int np = NoPoints();
  if (np < 2) {
    FBuilt = true;
    return;
  }
  FVertices.push_back({});  // phantom start
  for (int i = 0; i < np; ++i) {
    const bool knuckle = FKnuckles[static_cast<size_t>(i)] && i > 0 && i < np - 1;
    const int times = knuckle ? 3 : 1;
    for (int k = 0; k < times; ++k) FVertices.push_back(FPoints[static_cast<size_t>(i)]);
  }
  FNoVertices = static_cast<int>(FVertices.size()) - 1;
  FVertices.push_back({});  // phantom end
  const int n = FNoVertices;
  if (FInterpolated) {
    std::vector<double> sub(static_cast<size_t>(n + 1), 0.0), diag(static_cast<size_t>(n + 1), 0.0),
        super(static_cast<size_t>(n + 1), 0.0);
    diag[1] = 1;
    diag[static_cast<size_t>(n)] = 1;
    for (int i = 2; i <= n - 1; ++i) {
      sub[static_cast<size_t>(i)] = 1.0 / 6;
      diag[static_cast<size_t>(i)] = 2.0 / 3;
      super[static_cast<size_t>(i)] = 1.0 / 6;
    }
    auto same = [this](int a, int b) {
      return std::fabs(FVertices[static_cast<size_t>(a)].X - FVertices[static_cast<size_t>(b)].X) < 1e-5 &&
             std::fabs(FVertices[static_cast<size_t>(a)].Y - FVertices[static_cast<size_t>(b)].Y) < 1e-5;
    };
    for (int j = 3; j < n - 1;) {
      if (same(j - 1, j) && same(j, j + 1)) {
        for (int r = j - 1; r <= j + 1; ++r) {
          sub[static_cast<size_t>(r)] = 0;
          diag[static_cast<size_t>(r)] = 1;
          super[static_cast<size_t>(r)] = 0;
        }
        j += 2;
      } else {
        ++j;
      }
    }
    SolveControl(sub, diag, super, true);
    SolveControl(sub, diag, super, false);
  }
  auto& v = FVertices;
  v[0] = {2 * v[1].X - v[2].X, 2 * v[1].Y - v[2].Y};
  const size_t e = static_cast<size_t>(n);
  v[e + 1] = {2 * v[e].X - v[e - 1].X, 2 * v[e].Y - v[e - 1].Y};
  FBuilt = true;
}

TSplinePoint TBSpline::ValueAt(double T) {
  if (!FBuilt) Rebuild();
  if (NoPoints() < 2 || FNoVertices < 2) return {};
  const double s = (FNoVertices - 1) * T + 1;
  const int c = std::max(0, static_cast<int>(s - 1));
  TSplinePoint r;
  for (int i = c; i <= c + 3 && i <= FNoVertices + 1; ++i) {
    const double d = std::fabs(i - s);
    double w;
    if (d < 1) w = 2.0 / 3 - d * d + d * d * d / 2;
    else if (d < 2) w = (2 - d) * (2 - d) * (2 - d) / 6;
    else continue;
    r.X += w * FVertices[static_cast<size_t>(i)].X;
    r.Y += w * FVertices[static_cast<size_t>(i)].Y;
  }
  return r;
}

// ============================================================================
// TSmoothingFunction

ZV_CLASS_IMPL(TSmoothingFunction, TGrafFunction)

void TSmoothingFunction::DeclareProperties(TClassInfo& c) {
  using F = TSmoothingFunction;
  c.Boolean<F>("Interpolate", &F::Interpolate, &F::SetInterpolate, true);
  c.Integer<F>("Factor", &F::Factor, &F::SetFactor, 4);
}

TSmoothingFunction::TSmoothingFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  PeriodUsable = false;
  SingleSource = true;
  StorePeriod(1);
}

void TSmoothingFunction::SetInterpolate(bool Value) {
  if (FInterpolate == Value) return;
  FInterpolate = Value;
  Recompute();
}

void TSmoothingFunction::SetFactor(int Value) {
  Value = std::max(Value, 1);
  if (FFactor == Value) return;
  FFactor = Value;
  Recompute();
}

void TSmoothingFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || Updating()) return;
  parent->RemoveAllPoints();
  if (!parent->OwnDepth) {
    const bool same = Source && parent->IsVertical() == Source->IsVertical();
    parent->XValues()->SetOrder(same ? loAscending : loNone);
    parent->YValues()->SetOrder(same ? loNone : loAscending);
    parent->CalcVisibleRange = same;
  }
  if (!Source || Source->PointCount() == 0) return;
  TChartValueList* v = SourceValueList(Source);
  TChartValueList* x = Source->OtherList();
  if (!v) return;
  const int n = std::min(v->Count(), x->Count());
  auto add = [parent](double a, double b) {
    if (parent->IsVertical()) parent->AddXYPoint(a, b, "", clDefault);
    else parent->AddXYPoint(b, a, "", clDefault);
  };
  // Too few points for a curve: the points themselves.
  if (n < 2) {
    for (int i = 0; i < n; ++i) add(x->GetValue(i), v->GetValue(i));
    return;
  }
  TBSpline spline;
  for (int i = 0; i < n; ++i) spline.AddPoint(x->GetValue(i), v->GetValue(i));
  spline.SetInterpolated(FInterpolate);
  const int64_t wanted = static_cast<int64_t>(n) * FFactor;
  spline.SetFragments(static_cast<int>(std::min<int64_t>(wanted, TBSpline::MaxFragments)));
  const int fragments = spline.Fragments();
  for (int k = 0; k <= fragments; ++k) {
    const TSplinePoint p = spline.ValueAt(static_cast<double>(k) / fragments);
    add(p.X, p.Y);
  }
}

void RegisterSmoothingFunctionType() {
  static const bool done = [] {
    RegisterFunctionType(&TSmoothingFunction::StaticClass(), &GrafMsgExSmoothing, &GrafMsgExtended, 1);
    return true;
  }();
  (void)done;
}

void UnregisterSmoothingFunctionType() { UnregisterFunctionTypes({&TSmoothingFunction::StaticClass()}); }
