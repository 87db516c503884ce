// Contour series: levels, the triangle cases of a cell, joining segments
// into lines, drawing and hit testing.
#include "chart/series/grafcontour.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "chart/series/grafspline.h"
#include "platform/rtl/format.h"

namespace {

constexpr double kSameEnd = 0.001;

bool SamePoint(TContourPoint a, TContourPoint b) {
  return std::fabs(a.X - b.X) <= kSameEnd && std::fabs(a.Z - b.Z) <= kSameEnd;
}
double Distance(TContourPoint a, TContourPoint b) { return std::fabs(a.X - b.X) + std::fabs(a.Z - b.Z); }

// Case of a triangle (m, 0, m') by the signs of its three vertices.
constexpr int kCases[3][3][3] = {{{0, 0, 8}, {0, 2, 5}, {7, 6, 9}},
                                 {{0, 3, 4}, {1, 3, 1}, {4, 3, 0}},
                                 {{9, 6, 7}, {5, 2, 0}, {8, 0, 0}}};

int Sign(double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// Changes of the levels made by the series itself must not repaint.
class TNoRepaint {
public:
  explicit TNoRepaint(TCustomAxisPanel* Chart) : FChart(Chart) {
    if (FChart) {
      FOld = FChart->RepaintOnChange;
      FChart->RepaintOnChange = false;
    }
  }
  ~TNoRepaint() {
    if (FChart) FChart->RepaintOnChange = FOld;
  }
  TNoRepaint(const TNoRepaint&) = delete;
  TNoRepaint& operator=(const TNoRepaint&) = delete;

private:
  TCustomAxisPanel* FChart;
  bool FOld = true;
};

class TCreatingLevels {
public:
  explicit TCreatingLevels(bool& Flag) : FFlag(Flag), FOld(Flag) { FFlag = true; }
  ~TCreatingLevels() { FFlag = FOld; }
  TCreatingLevels(const TCreatingLevels&) = delete;
  TCreatingLevels& operator=(const TCreatingLevels&) = delete;

private:
  bool& FFlag;
  bool FOld;
};

}  // namespace

// ============================================================================
// TContourLevel

ZV_CLASS_IMPL(TContourLevel, TCollectionItem)

void TContourLevel::DeclareProperties(TClassInfo& c) {
  using L = TContourLevel;
  c.Float<L>("UpToValue", ftDouble, &L::UpToValue, &L::SetUpToValue);
  c.Integer<L>("Color", &L::Color, &L::SetColor);
  c.Object<L, TChartPen>("Pen", [](L* l) { return l->Pen(); }, &L::SetPen)
      .WithStored([](TObject* o) { return static_cast<L*>(o)->HasOwnPen(); });
}

TContourLevel::TContourLevel(TCollection* Collection) : TCollectionItem(Collection) {
  FSeries = Collection ? dynamic_cast<TContourSeries*>(Collection->GetOwner()) : nullptr;
  ManualChange();
}

TContourLevel::~TContourLevel() {
  if (FSeries && !FSeries->FCreatingLevels) {
    ManualChange();
    if (!FSeries->AutomaticLevels()) FSeries->RequestRedraw();
  }
}

void TContourLevel::ManualChange() {
  if (FSeries && !FSeries->FCreatingLevels) FSeries->FAutomaticLevels = false;
}

void TContourLevel::SetUpToValue(double Value) {
  if (FUpToValue == Value) return;
  if (FSeries) FSeries->ChangeDouble(FUpToValue, Value);
  else FUpToValue = Value;
  ManualChange();
}

void TContourLevel::SetColor(TColor Value) {
  if (FColor == Value) return;
  if (FSeries) FSeries->ChangeColor(FColor, Value);
  else FColor = Value;
  if (FPen) FPen->SetColor(Value);
  ManualChange();
}

TChartPen* TContourLevel::Pen() {
  if (!FPen) {
    FPen = FSeries ? FSeries->NewPen() : std::make_unique<TChartPen>();
    FPen->SetColor(FColor);
  }
  return FPen.get();
}

void TContourLevel::SetPen(TChartPen* Value) {
  if (Value) {
    Pen()->Assign(Value);
  } else {
    FPen.reset();
    if (FSeries) FSeries->RequestRedraw();
  }
}

TChartPen* TContourLevel::EffectivePen() { return FPen ? FPen.get() : (FSeries ? FSeries->Pen() : nullptr); }

void TContourLevel::Assign(TPersistent* Source) {
  auto* l = dynamic_cast<TContourLevel*>(Source);
  if (!l) {
    TCollectionItem::Assign(Source);
    return;
  }
  FColor = l->FColor;
  FUpToValue = l->FUpToValue;
  if (l->FPen) Pen()->Assign(l->FPen.get());
  else FPen.reset();
}

std::vector<TPoint> TContourLevel::LinePixels(int Line) {
  std::vector<TPoint> r;
  if (!FSeries || !FSeries->ParentChart()) return r;
  TChartAxis* h = FSeries->GetHorizAxis();
  TChartAxis* v = FSeries->LevelAxis();
  for (const TContourPoint& p : Lines.at(static_cast<size_t>(Line))) r.push_back({h->ValueToPixelX(p.X), v->ValueToPixel(p.Z)});
  return r;
}

bool TContourLevel::LineAtPoint(int Line, TPoint P) {
  const std::vector<TPoint> pts = LinePixels(Line);
  for (size_t i = 1; i < pts.size(); ++i)
    if (PointNearSegmentPoints(P, pts[i - 1], pts[i], 0)) return true;
  return false;
}

// ============================================================================
// TContourLevels

ZV_CLASS_IMPL_NOPROPS(TContourLevels, TOwnedCollection)

TContourLevels::TContourLevels(TPersistent* Owner) : TOwnedCollection(Owner, &TContourLevel::StaticClass()) {}

TContourLevel* TContourLevels::AddLevel(TColor Color, double Value) {
  auto* l = static_cast<TContourLevel*>(Add());
  l->FColor = Color;
  l->FUpToValue = Value;
  return l;
}

int TContourLevels::LevelAtPoint(int X, int Y) {
  for (int i = 0; i < Count(); ++i) {
    TContourLevel* l = GetLevel(i);
    TPoint p{X, Y};
    TContourSeries* s = l->Series();
    if (s && s->ParentChart()) s->ParentChart()->PanelCanvas()->UnprojectPoint(p.X, p.Y, s->MiddleZ);
    for (int k = 0; k < l->LineCount(); ++k)
      if (l->LineAtPoint(k, p)) return i;
  }
  return -1;
}

// ============================================================================
// TSmoothPoints

ZV_CLASS_IMPL(TSmoothPoints, TPersistent)

void TSmoothPoints::DeclareProperties(TClassInfo& c) {
  using S = TSmoothPoints;
  c.Boolean<S>("Active", &S::Active, &S::SetActive, false);
  c.Boolean<S>("Interpolate", &S::Interpolate, &S::SetInterpolate, false);
}

void TSmoothPoints::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSmoothPoints*>(Source)) FActive = s->FActive;
  else TPersistent::Assign(Source);
}

void TSmoothPoints::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  if (FOwner) FOwner->RequestRedraw();
}

void TSmoothPoints::SetInterpolate(bool Value) {
  if (FInterpolate == Value) return;
  FInterpolate = Value;
  if (FOwner) FOwner->RequestRedraw();
}

std::vector<TPoint> TSmoothPoints::SmoothPolyline(const std::vector<TPoint>& Points) const {
  if (Points.size() < 2) return Points;
  TBSpline spline;
  for (const TPoint& p : Points) spline.AddPoint(p.X, p.Y);
  spline.SetInterpolated(FInterpolate);
  const int64_t wanted = static_cast<int64_t>(Points.size()) * Factor;
  spline.SetFragments(static_cast<int>(std::min<int64_t>(wanted, TBSpline::MaxFragments)));
  const int n = spline.Fragments();
  std::vector<TPoint> r;
  r.reserve(static_cast<size_t>(n) + 1);
  for (int k = 0; k <= n; ++k) {
    const TSplinePoint p = spline.ValueAt(static_cast<double>(k) / n);
    r.push_back({static_cast<int>(std::nearbyint(p.X)), static_cast<int>(std::nearbyint(p.Y))});
  }
  return r;
}

// ============================================================================
// TContourSeries

ZV_CLASS_IMPL(TContourSeries, TCustom3DGridSeries)

void TContourSeries::DeclareProperties(TClassInfo& c) {
  using S = TContourSeries;
  c.Integer<S>("NumLevels", &S::NumLevels, &S::SetNumLevels, 10);
  c.Boolean<S>("AutomaticLevels", &S::AutomaticLevels, &S::SetAutomaticLevels, true);
  c.Object<S, TContourLevels>("Levels", &S::Levels, &S::SetLevels).WithStored([](TObject* o) {
    return !static_cast<S*>(o)->AutomaticLevels();
  });
  c.Float<S>("YPosition", ftDouble, &S::YPosition, &S::SetYPosition, 0.0L);
  c.Boolean<S>("YPositionLevel", &S::YPositionLevel, &S::SetYPositionLevel, false);
  c.Object<S, TSmoothPoints>("Smoothing", &S::Smoothing, &S::SetSmoothing);
  c.Boolean<S>("ColorEachPoint", &S::ColorEachPoint, &S::SetColorEachPoint, true);
}

TContourSeries::TContourSeries(TComponent* AOwner) : TCustom3DGridSeries(AOwner) {
  FLevels = std::make_unique<TContourLevels>(this);
  FSmoothing = std::make_unique<TSmoothPoints>(this);
  FColorEachPoint = true;
}

TContourSeries::~TContourSeries() {
  FCreatingLevels = true;
  FLevels.reset();
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

int TContourSeries::NumLevels() const { return FAutomaticLevels ? FNumLevels : FLevels->Count(); }

void TContourSeries::SetNumLevels(int Value) {
  if (FNumLevels != Value) {
    FNumLevels = Value;
    RequestRedraw();
  }
  if (FAutomaticLevels) ClearLevels();
}

void TContourSeries::SetAutomaticLevels(bool Value) {
  ChangeBool(FAutomaticLevels, Value);
  if (FAutomaticLevels) ClearLevels();
}

void TContourSeries::ClearLevels() {
  TCreatingLevels creating(FCreatingLevels);
  FLevels->Clear();
}

TChartAxis* TContourSeries::LevelAxis() {
  if (FParentChart && FParentChart->View3D()) return FParentChart->DepthAxis();
  return GetVertAxis();
}

double TContourSeries::LargestY() {
  if (FParentChart && !FParentChart->View3D()) return FZValues->MaxValue();
  return FYValues->MaxValue();
}

double TContourSeries::SmallestY() {
  if (FParentChart && !FParentChart->View3D()) return FZValues->MinValue();
  return FYValues->MinValue();
}

void TContourSeries::CreateAutoLevels() {
  const int n = FNumLevels;
  if (!FAutomaticLevels || n <= 0) return;
  TCreatingLevels creating(FCreatingLevels);
  TNoRepaint quiet(FParentChart);
  if (FLevels->Count() != n) FLevels->Clear();
  const bool keep = FLevels->Count() == n;
  const double lo = FYValues->MinValue(), hi = FYValues->MaxValue();
  for (int i = 0; i < n; ++i) {
    double value = lo + i * (hi - lo) / n;
    TColor color;
    if (FColorEachPoint) color = i < PointCount() && RawPointColor(i) != clDefault ? PointColor(i) : clDefault;
    else color = ColorOfValue(value);
    TContourLevel* level;
    if (keep) {
      level = FLevels->GetLevel(i);
      level->FColor = level->FPen ? level->FPen->Color() : color;
      level->FUpToValue = value;
    } else {
      level = FLevels->AddLevel(color, value);
    }
    if (OnGetLevel) {
      value = level->FUpToValue;
      color = level->FColor;
      OnGetLevel(this, i, value, color);
      level->FUpToValue = value;
      level->FColor = color;
      if (level->FPen) level->FPen->SetColor(color);
    }
  }
}

void TContourSeries::RefreshAutoLevels() {
  if (!FCreatingLevels && FAutomaticLevels && FNumLevels > 0) CreateAutoLevels();
}

void TContourSeries::PrepareChartDraw() {
  TCustom3DGridSeries::PrepareChartDraw();
  if (!ComponentState().Contains(csDesigning)) RefreshAutoLevels();
}

void TContourSeries::NotifyDependentSeries(int Code, int Index) {
  if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csDestroying) &&
      (Code == scCleared || Code == scRefresh))
    RefreshAutoLevels();
  TCustom3DGridSeries::NotifyDependentSeries(Code, Index);
}

void TContourSeries::GenerateRandomPoints(int Count, bool MainValuesOnly) {
  TCustom3DGridSeries::GenerateRandomPoints(Count, MainValuesOnly);
  FYPosition = (FYValues->MinValue() + FYValues->MaxValue()) / 2;
  if (ComponentState().Contains(csDesigning)) RefreshAutoLevels();
}

// ---- Lines ----------------------------------------------------------------------------------------

void TContourSeries::ContourCell(int Level, const double (&H)[5], const double (&X)[5], const double (&Z)[5]) {
  int s[5];
  for (int j = 0; j < 5; ++j) s[j] = Sign(H[j]);
  auto vertex = [&](int a) { return TContourPoint{X[a], Z[a]}; };
  auto edge = [&](int a, int b) {
    const double d = H[b] - H[a];
    return TContourPoint{(H[b] * X[a] - H[a] * X[b]) / d, (H[b] * Z[a] - H[a] * Z[b]) / d};
  };
  for (int m = 1; m <= 4; ++m) {
    const int m2 = m == 4 ? 1 : m + 1;
    const int c = kCases[s[m] + 1][s[0] + 1][s[m2] + 1];
    TContourPoint a, b;
    switch (c) {
      case 1: a = vertex(m), b = vertex(0); break;
      case 2: a = vertex(0), b = vertex(m2); break;
      case 3: a = vertex(m2), b = vertex(m); break;
      case 4: a = vertex(m), b = edge(0, m2); break;
      case 5: a = vertex(0), b = edge(m2, m); break;
      case 6: a = vertex(m2), b = edge(m, 0); break;
      case 7: a = edge(m, 0), b = edge(0, m2); break;
      case 8: a = edge(0, m2), b = edge(m2, m); break;
      case 9: a = edge(m2, m), b = edge(m, 0); break;
      default: continue;
    }
    AddLevelSegment(Level, a, b);
  }
}

void TContourSeries::AddLevelSegment(int Level, TContourPoint A, TContourPoint B) {
  std::vector<TContourLine>& lines = FLevels->GetLevel(Level)->Lines;
  enum { kNone, kStartA, kStartB, kEndA, kEndB };
  for (size_t i = 0; i < lines.size(); ++i) {
    TContourLine& line = lines[i];
    const TContourPoint f = line.front(), l = line.back();
    const double d0 = Distance(A, f), d2 = Distance(B, f), d1 = Distance(A, l), d3 = Distance(B, l);
    const double d[4] = {d0, d2, d1, d3};
    const int kinds[4] = {kStartA, kStartB, kEndA, kEndB};
    int match = kNone;
    for (int k = 0; k < 4; ++k) {
      bool smallest = d[k] <= kSameEnd;
      for (int o = 0; o < 4 && smallest; ++o) smallest = d[k] <= d[o];
      if (smallest) match = kinds[k];
    }
    if (match == kNone) continue;
    switch (match) {
      case kStartA:
        line.insert(line.begin(), B);
        JoinLevelLines(Level, i, false, B);
        break;
      case kStartB:
        line.insert(line.begin(), A);
        JoinLevelLines(Level, i, false, A);
        break;
      case kEndA:
        line.push_back(B);
        JoinLevelLines(Level, i, true, B);
        break;
      default:
        line.push_back(A);
        JoinLevelLines(Level, i, true, A);
        break;
    }
    return;
  }
  lines.push_back({A, B});
}

void TContourSeries::JoinLevelLines(int Level, size_t Line, bool AtEnd, TContourPoint P) {
  std::vector<TContourLine>& lines = FLevels->GetLevel(Level)->Lines;
  if (lines.size() < 2) return;
  for (size_t j = 0; j < lines.size(); ++j) {
    if (j == Line) continue;
    const TContourLine& other = lines[j];
    const bool atFirst = SamePoint(other.front(), P);
    if (!atFirst && !SamePoint(other.back(), P)) continue;
    TContourLine& line = lines[Line];
    if (AtEnd && atFirst) line.insert(line.end(), other.begin() + 1, other.end());
    else if (AtEnd) line.insert(line.end(), other.rbegin() + 1, other.rend());
    else if (atFirst) line.insert(line.begin(), other.rbegin(), other.rend() - 1);
    else line.insert(line.begin(), other.begin(), other.end() - 1);
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(j));
    return;
  }
}

void TContourSeries::DrawVisiblePoints() {
  if (PointCount() == 0 || NumLevels() <= 0 || !FParentChart || GridRefused()) return;
  FTable.clear();
  double lowest = 0, highest = 0;
  for (int i = 0; i < FLevels->Count(); ++i) {
    TContourLevel* l = FLevels->GetLevel(i);
    l->Lines.clear();
    const TColor color = l->FColor == clDefault ? FParentChart->PaletteColor(i) : l->FColor;
    FTable.push_back({l->FUpToValue, color, l->EffectivePen()});
    if (i == 0 || l->FUpToValue < lowest) lowest = l->FUpToValue;
    if (i == 0 || l->FUpToValue > highest) highest = l->FUpToValue;
  }
  if (FTable.empty()) return;
  DX = DZ = 1;
  for (int z = 1; z <= FNumZValues - 1; ++z)
    for (int x = 1; x <= FNumXValues - 1; ++x) {
      if (!FetchCell(x, z)) continue;
      const double x0 = FXValues->GetValue(C0), x1 = FXValues->GetValue(C1);
      const double z0 = FZValues->GetValue(C0), z1 = FZValues->GetValue(C3);
      const double v[4] = {FYValues->GetValue(C0), FYValues->GetValue(C1), FYValues->GetValue(C2),
                           FYValues->GetValue(C3)};
      const double dmin = std::min({v[0], v[1], v[2], v[3]}), dmax = std::max({v[0], v[1], v[2], v[3]});
      // Quick rejection by the smallest and largest level, whatever their order.
      if (dmin > highest || dmax < lowest) continue;
      const double xs[5] = {(x0 + x1) / 2, x0, x1, x1, x0};
      const double zs[5] = {(z0 + z1) / 2, z0, z0, z1, z1};
      const double ys[5] = {(v[0] + v[1] + v[2] + v[3]) / 4, v[0], v[1], v[2], v[3]};
      for (size_t k = 0; k < FTable.size(); ++k) {
        const double level = FTable[k].Value;
        if (level < dmin || level > dmax) continue;
        double h[5];
        for (int j = 0; j < 5; ++j) h[j] = ys[j] - level;
        ContourCell(static_cast<int>(k), h, xs, zs);
      }
    }
  DrawLevelLines();
}

void TContourSeries::DrawLevelLines() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  TChartAxis* vert = GetVertAxis();
  TChartAxis* horiz = GetHorizAxis();
  int height = vert->ValueToPixelY(FYPosition);
  canvas->SetBackgroundMode(TRANSPARENT);
  const bool is3D = FParentChart->View3D();
  for (size_t i = 0; i < FTable.size(); ++i) {
    TContourLevel* level = FLevels->GetLevel(static_cast<int>(i));
    if (FTable[i].Pen) canvas->ApplyPenWithColor(FTable[i].Pen, FTable[i].Color);
    if (FYPositionLevel) height = vert->ValueToPixelY(FTable[i].Value);
    if (OnBeforeDrawLevel) OnBeforeDrawLevel(this, static_cast<int>(i));
    for (int k = 0; k < level->LineCount(); ++k) {
      if (is3D) {
        const TContourLine& line = level->Lines[static_cast<size_t>(k)];
        TChartAxis* depth = FParentChart->DepthAxis();
        canvas->MoveTo3D(horiz->ValueToPixelX(line[0].X), height, depth->ValueToPixel(line[0].Z));
        for (size_t p = 1; p < line.size(); ++p)
          canvas->LineTo3D(horiz->ValueToPixelX(line[p].X), height, depth->ValueToPixel(line[p].Z));
      } else {
        std::vector<TPoint> pts = level->LinePixels(k);
        if (FSmoothing->Active()) pts = FSmoothing->SmoothPolyline(pts);
        canvas->Polyline(pts);
      }
    }
  }
}

int TContourSeries::IndexAtPoint(int X, int Y) {
  if (LevelAtPoint(X, Y) < 0 || !FParentChart) return -1;
  TPoint p{X, Y};
  FParentChart->PanelCanvas()->UnprojectPoint(p.X, p.Y, MiddleZ);
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = LevelAxis();
  int best = -1;
  int64_t bestDistance = 0;
  for (int i = 0; i < PointCount(); ++i) {
    const int64_t dx = h->ValueToPixelX(FXValues->GetValue(i)) - p.X;
    const int64_t dy = v->ValueToPixel(FZValues->GetValue(i)) - p.Y;
    const int64_t d = dx * dx + dy * dy;
    if (best < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

// ---- Legend, gallery, copying ---------------------------------------------------------------------

int TContourSeries::LegendEntryCount() { return FLevels->Count(); }

std::string TContourSeries::ComposeLegendText(int Index, TLegendTextStyle) {
  const int l = FLevels->Count() - Index - 1;
  if (l < 0 || l >= FLevels->Count()) return "";
  return FormatFloat(FValueFormat, FLevels->GetLevel(l)->FUpToValue);
}

TColor TContourSeries::LegendSymbolColor(int Row) {
  const int l = FLevels->Count() - Row - 1;
  if (l < 0 || l >= FLevels->Count()) return SeriesColor();
  const TColor c = FLevels->GetLevel(l)->FColor;
  if (c != clDefault) return c;
  return l < PointCount() ? PointColor(l) : SeriesColor();
}

void TContourSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustom3DGridSeries::EnumGalleryStyles(Proc);
  Proc(GrafMsgColors);
  Proc(GrafMsgExPositions);
}

void TContourSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TContourSeries*>(Series);
  if (s && Index == 2) s->SetColorEachPoint(true);
  else if (s && Index == 3) s->SetYPositionLevel(true);
  else TCustom3DGridSeries::ApplyGalleryStyle(Series, Index);
}

void TContourSeries::SetupGalleryPreview(bool Enabled) {
  TCustom3DGridSeries::SetupGalleryPreview(Enabled);
  if (!Enabled) SetSeriesColor(static_cast<TColor>(0x808080));
}

void TContourSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TContourSeries*>(Source)) {
    TCreatingLevels creating(FCreatingLevels);
    FAutomaticLevels = s->FAutomaticLevels;
    FLevels->Assign(s->FLevels.get());
    FNumLevels = s->FNumLevels;
    FYPosition = s->FYPosition;
    FYPositionLevel = s->FYPositionLevel;
  }
  TCustom3DGridSeries::Assign(Source);
}
