// Map polygons and the map series.
#include "chart/series/grafmapseries.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"
#include "platform/ui/streaming.h"

// ============================================================================
// TPolygonSeries

ZV_CLASS_IMPL_NOPROPS(TPolygonSeries, TChartSeries)

TPolygonSeries::TPolygonSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  SetShowInLegend(false);
  FXValues->SetOrder(loNone);
}

TPolygonSeries::~TPolygonSeries() = default;

namespace {
void RepaintMap(TGrafPolygon* P) {
  if (P && P->MapSeries()) P->MapSeries()->RequestRedraw();
}
}  // namespace

void TPolygonSeries::SetActive(bool Value) {
  TChartSeries::SetActive(Value);
  RepaintMap(FPolygon);
}

void TPolygonSeries::PaintLegendSymbol(int Row, const TRect& R) {
  if (FPolygon && FPolygon->HasGradient() && FPolygon->Gradient()->Visible() && FPolygon->MapSeries() &&
      FPolygon->MapSeries()->ParentChart()) {
    FPolygon->Gradient()->DrawInRect(FPolygon->MapSeries()->ParentChart()->PanelCanvas(), R);
    return;
  }
  TChartSeries::PaintLegendSymbol(Row, R);
}

void TPolygonSeries::NotifyDependentSeries(int Code, int Index) {
  TChartSeries::NotifyDependentSeries(Code, Index);
  if (!ComponentState().Contains(csDestroying)) RepaintMap(FPolygon);
}

void TPolygonSeries::AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle) {
  TChartSeries::AdjustLegendCanvas(Row, BackColor, BrushStyle);
  if (!FPolygon || !FPolygon->MapSeries()) return;
  TMapSeries* map = FPolygon->MapSeries();
  map->PrepareChartDraw();
  if (!(FPolygon->HasGradient() && FPolygon->Gradient()->Visible()) && map->ParentChart())
    map->ParentChart()->PanelCanvas()->CanvasBrush()->SetColor(FPolygon->Color());
}

void TPolygonSeries::SetSeriesColor(TColor Value) {
  TChartSeries::SetSeriesColor(Value);
  if (!ParentChart() && FPolygon && FPolygon->MapSeries()) {
    const int i = FPolygon->Index();
    if (i >= 0 && i < FPolygon->MapSeries()->PointCount()) FPolygon->MapSeries()->SetPointColor(i, Value);
  }
}

// ============================================================================
// TGrafPolygon

ZV_CLASS_IMPL(TGrafPolygon, TCollectionItem)

void TGrafPolygon::DeclareProperties(TClassInfo& c) {
  using S = TGrafPolygon;
  c.Object<S, TChartBrush>("Brush", &S::Brush, &S::SetBrush);
  c.Boolean<S>("Closed", &S::Closed, &S::SetClosed, true);
  c.Integer<S>("Color", &S::Color, &S::SetColor, static_cast<TColor>(0xFFFFFF));
  c.Object<S, TGrafGradient>("Gradient", &S::Gradient, &S::SetGradient).WithStored([](TObject* o) {
    return static_cast<S*>(o)->HasGradient();
  });
  c.Boolean<S>("ParentBrush", &S::ParentBrush, &S::SetParentBrush, true);
  c.Boolean<S>("ParentPen", &S::ParentPen, &S::SetParentPen, true);
  c.Object<S, TChartPen>("Pen", &S::Pen, &S::SetPen);
  c.String<S>("Text", &S::Text, &S::SetText);
  c.Integer<S>("Transparency", &S::Transparency, &S::SetTransparency, 0);
  c.Float<S>("Z", ftDouble, &S::Z, &S::SetZ, NoDefault);
}

TGrafPolygon::TGrafPolygon(TCollection* Collection) : TCollectionItem(Collection) {
  auto* list = dynamic_cast<TGrafPolygonList*>(Collection);
  FMap = list ? list->MapSeries() : nullptr;
  FSeries = new TPolygonSeries(nullptr);
  FSeries->FPolygon = this;
  FSeries->SetTag(reinterpret_cast<intptr_t>(this));
  if (FMap) FMap->AddXYPoint(0, 0, "", clDefault);
}

TGrafPolygon::~TGrafPolygon() {
  FSeries->FPolygon = nullptr;
  FSeries->SetTag(0);
  delete FSeries;
}

void TGrafPolygon::Repaint() {
  if (FMap) FMap->RequestRedraw();
}

void TGrafPolygon::SetClosed(bool Value) {
  if (FClosed == Value) return;
  FClosed = Value;
  Repaint();
}

void TGrafPolygon::SetParentBrush(bool Value) {
  if (FParentBrush == Value) return;
  FParentBrush = Value;
  Repaint();
}

void TGrafPolygon::SetParentPen(bool Value) {
  if (FParentPen == Value) return;
  FParentPen = Value;
  Repaint();
}

void TGrafPolygon::SetTransparency(int Value) {
  Value = std::clamp(Value, 0, 100);
  if (FTransparency == Value) return;
  FTransparency = Value;
  Repaint();
}

TColor TGrafPolygon::Color() const {
  const int i = Index();
  if (!FMap || i < 0 || i >= FMap->PointCount()) return clWhite;
  return FMap->PointColor(i);
}

TGrafGradient* TGrafPolygon::Gradient() {
  if (!FGradient) FGradient = std::make_unique<TGrafGradient>([this](TObject*) { Repaint(); });
  return FGradient.get();
}

void TGrafPolygon::SetGradient(TGrafGradient* Value) {
  if (!Value) FGradient.reset();
  else Gradient()->Assign(Value);
}

std::string TGrafPolygon::Text() const {
  const int i = Index();
  return FMap && i >= 0 && i < FMap->PointCount() ? FMap->PointLabel(i) : std::string();
}

void TGrafPolygon::SetText(const std::string& Value) {
  const int i = Index();
  if (FMap && i >= 0 && i < FMap->PointCount()) FMap->SetPointLabel(i, Value);
}

double TGrafPolygon::Z() const {
  const int i = Index();
  return FMap && i >= 0 && i < FMap->PointCount() ? FMap->ZValues()->GetValue(i) : 0;
}

void TGrafPolygon::SetZ(double Value) {
  const int i = Index();
  if (!FMap || i < 0 || i >= FMap->PointCount()) return;
  FMap->ZValues()->SetValue(i, Value);
  FMap->RequestRedraw();
}

void TGrafPolygon::AddPoint(double X, double Y) { FSeries->AddXYPoint(X, Y, "", clDefault); }

void TGrafPolygon::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TGrafPolygon*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  FClosed = s->FClosed;
  FParentBrush = s->FParentBrush;
  FParentPen = s->FParentPen;
  FTransparency = s->FTransparency;
  if (s->FGradient) Gradient()->Assign(s->FGradient.get());
  else FGradient.reset();
  FSeries->Assign(s->FSeries);
  FSeries->SetTag(reinterpret_cast<intptr_t>(this));
  FSeries->SetShowInLegend(false);
  FSeries->XValues()->SetOrder(loNone);
  SetZ(s->Z());
  SetText(s->Text());
  const int si = s->Index(), i = Index();
  if (s->FMap && FMap && si >= 0 && si < s->FMap->PointCount() && i >= 0 && i < FMap->PointCount())
    FMap->SetPointColor(i, s->FMap->RawPointColor(si));
}

void TGrafPolygon::DefineProperties(TFiler* Filer) {
  TCollectionItem::DefineProperties(Filer);
  // The core's point stream, which refuses a damaged stream before the
  // polygon loses its points.
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { FSeries->LoadPointData(s); }, [this](TStream* s) { FSeries->SavePointData(s); },
      FMap && FMap->ManualData);
}

void TGrafPolygon::CalcScreenPoints(std::vector<TPoint>& Points) {
  const int n = FSeries->PointCount();
  FCache.resize(static_cast<size_t>(n));
  if (FMap && FMap->ParentChart()) {
    TChartAxis* h = FMap->GetHorizAxis();
    TChartAxis* v = FMap->GetVertAxis();
    for (int i = 0; i < n; ++i)
      FCache[static_cast<size_t>(i)] = {h->ValueToPixelX(FSeries->XValues()->GetValue(i)),
                                        v->ValueToPixelY(FSeries->YValues()->GetValue(i))};
  }
  Points = FCache;
}

TRect TGrafPolygon::ScreenBounds() {
  std::vector<TPoint> p;
  CalcScreenPoints(p);
  if (p.empty()) return TRect();
  return BoundsOfPoints(p.data(), static_cast<int>(p.size()) - 1);
}

bool TGrafPolygon::IsVisibleInChart() {
  if (!FMap || !FMap->ParentChart()) return false;
  TCustomAxisPanel* chart = FMap->ParentChart();
  if (!chart->ClipPoints()) return true;
  TChartAxis* h = FMap->GetHorizAxis();
  TChartAxis* v = FMap->GetVertAxis();
  int l = h->ValueToPixelX(FSeries->XValues()->MinValue()), r = h->ValueToPixelX(FSeries->XValues()->MaxValue());
  int t = v->ValueToPixelY(FSeries->YValues()->MaxValue()), b = v->ValueToPixelY(FSeries->YValues()->MinValue());
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  const TRect& a = chart->ChartArea;
  return std::min(r, a.Right) >= std::max(l, a.Left) && std::min(b, a.Bottom) >= std::max(t, a.Top);
}

void TGrafPolygon::Draw(TCanvas3D* Canvas, int ValueIndex) {
  if (!FSeries->Active() || FSeries->PointCount() == 0 || !IsVisibleInChart()) return;
  TChartPen* pen = FParentPen ? FMap->Pen() : FSeries->Pen();
  Canvas->ApplyPenWithColor(pen, pen->Color());
  TChartBrush* brush = FParentBrush ? FMap->Brush() : FSeries->Brush();
  Canvas->ApplyBrush(brush, FMap->PointColor(ValueIndex), brush->Color());
  std::vector<TPoint> points;
  CalcScreenPoints(points);
  TCustomAxisPanel* chart = FMap->ParentChart();
  const bool is3D = chart->View3D();
  const int z = is3D ? FMap->ZPixel(ValueIndex) : 0;
  std::unique_ptr<TGrafBlend> blend;
  if (FTransparency > 0)
    blend = Canvas->BeginBlending(Canvas->ProjectedRectBounds(ScreenBounds(), z), FTransparency);
  if (FGradient && FGradient->Visible() && chart->ClippingAllowed()) {
    FGradient->DrawInPolygon(Canvas, points, is3D, z);
    Canvas->CanvasBrush()->SetStyle(bsClear);
  }
  if (is3D) {
    if (FClosed) Canvas->PolygonWithZ(points, z);
    else Canvas->PolylineWithZ(points, z);
  } else {
    if (FClosed) Canvas->Polygon(points);
    else Canvas->Polyline(points);
  }
  if (blend) Canvas->EndBlending(std::move(blend));
}

// ============================================================================
// TGrafPolygonList

ZV_CLASS_IMPL_NOPROPS(TGrafPolygonList, TOwnedCollection)

TGrafPolygonList::TGrafPolygonList(TPersistent* Owner) : TOwnedCollection(Owner, &TGrafPolygon::StaticClass()) {}

TMapSeries* TGrafPolygonList::MapSeries() const { return dynamic_cast<TMapSeries*>(GetOwner()); }

TGrafPolygon* TGrafPolygonList::AddPolygon() {
  // The polygon's series has no owner, so it is never in design mode.
  return static_cast<TGrafPolygon*>(Add());
}

void TGrafPolygonList::Notify(TCollectionItem* Item, TCollectionNotification Action) {
  if (Action == cnExtracting)
    if (TMapSeries* map = MapSeries()) map->PolygonLeaving(Item->Index());
  TOwnedCollection::Notify(Item, Action);
}

void TGrafPolygonList::DeletePolygons(int Index, int Count) {
  for (int i = 0; i < Count && Index < this->Count(); ++i) Delete(Index);
}

// ============================================================================
// TMapSeries

ZV_CLASS_IMPL(TMapSeries, TCustom3DPaletteSeries)

void TMapSeries::DeclareProperties(TClassInfo& c) {
  using S = TMapSeries;
  c.Object<S, TGrafPolygonList>("Shapes", &S::Shapes, &S::SetShapes);
}

TMapSeries::TMapSeries(TComponent* AOwner) : TCustom3DPaletteSeries(AOwner) {
  FShapes = std::make_unique<TGrafPolygonList>(this);
  CalcVisibleRange = false;
  FXValues->SetOrder(loNone);
  SetMainAndOther(FZValues, FXValues, false);
}

namespace {
// The series removes points and polygons together meanwhile.
class TPairedRemoval {
public:
  explicit TPairedRemoval(int& Counter) : FCounter(Counter) { ++FCounter; }
  ~TPairedRemoval() { --FCounter; }
  TPairedRemoval(const TPairedRemoval&) = delete;
  TPairedRemoval& operator=(const TPairedRemoval&) = delete;

private:
  int& FCounter;
};
}  // namespace

TMapSeries::~TMapSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
  ++FPairedRemoval;
  FShapes.reset();
}

void TMapSeries::PolygonLeaving(int Index) {
  if (FPairedRemoval > 0 || Index < 0 || Index >= PointCount()) return;
  TCustom3DPaletteSeries::RemovePoint(Index);
}

void TMapSeries::DefineProperties(TFiler* Filer) {
  DontSaveData = true;
  ForceSaveData = false;
  TCustom3DPaletteSeries::DefineProperties(Filer);
}

void TMapSeries::CopyPolygons(TMapSeries* Source) {
  for (int i = 0; i < Source->FShapes->Count(); ++i) FShapes->AddPolygon()->Assign(Source->FShapes->Polygon(i));
}

void TMapSeries::SetShapes(TGrafPolygonList* Value) {
  if (Value == FShapes.get()) return;
  RemoveAllPoints();
  if (Value)
    for (int i = 0; i < Value->Count(); ++i) FShapes->AddPolygon()->Assign(Value->Polygon(i));
  RequestRedraw();
}

void TMapSeries::Assign(TPersistent* Source) {
  TCustom3DPaletteSeries::Assign(Source);
  if (auto* s = dynamic_cast<TMapSeries*>(Source)) {
    RemoveAllPoints();
    CopyPolygons(s);
  }
}

void TMapSeries::GetHorizMargins(int& Left, int& Right) {
  TCustom3DPaletteSeries::GetHorizMargins(Left, Right);
  if (Pen()->Visible()) {
    Left += Pen()->Width();
    Right += Pen()->Width();
  }
}

void TMapSeries::GetVertMargins(int& Top, int& Bottom) {
  TCustom3DPaletteSeries::GetVertMargins(Top, Bottom);
  ++Bottom;
  if (Pen()->Visible()) {
    Top += Pen()->Width();
    Bottom += Pen()->Width();
  }
}

void TMapSeries::DrawPoint(int Index) {
  if (Index < FShapes->Count() && FParentChart) FShapes->Polygon(Index)->Draw(FParentChart->PanelCanvas(), Index);
}

void TMapSeries::DrawByDepth() {
  const int n = FShapes->Count();
  if (n == 0) return;
  std::vector<TGrafPolygon*> sorted;
  for (int i = 0; i < n; ++i) sorted.push_back(FShapes->Polygon(i));
  std::sort(sorted.begin(), sorted.end(), [](TGrafPolygon* a, TGrafPolygon* b) { return a->Z() < b->Z(); });
  for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) (*it)->Draw(FParentChart->PanelCanvas(), (*it)->Index());
}

void TMapSeries::DrawVisiblePoints() {
  if (!FParentChart) return;
  if (FParentChart->View3D()) {
    DrawByDepth();
    return;
  }
  const int n = std::min(PointCount(), FShapes->Count());
  if (DrawsAscending())
    for (int i = 0; i < n; ++i) DrawPoint(i);
  else
    for (int i = n - 1; i >= 0; --i) DrawPoint(i);
}

void TMapSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  if (Index < FShapes->Count()) {
    const TRect b = FShapes->Polygon(Index)->ScreenBounds();
    Position.LeftTop = TPoint{(b.Left + b.Right) / 2 - Position.Width / 2, (b.Top + b.Bottom) / 2 - Position.Height / 2};
  }
  TCustom3DPaletteSeries::DrawPointMark(Index, Text, Position);
}

double TMapSeries::Extreme(bool X, bool Largest) {
  const int n = FShapes->Count();
  double r = 0;
  bool any = false;
  for (int i = 0; i < n; ++i) {
    TPolygonSeries* s = FShapes->Polygon(i)->Points();
    if (s->PointCount() == 0) continue;
    const double v = X ? (Largest ? s->LargestX() : s->SmallestX()) : (Largest ? s->LargestY() : s->SmallestY());
    r = !any ? v : (Largest ? std::max(r, v) : std::min(r, v));
    any = true;
  }
  return r;
}

double TMapSeries::LargestX() { return Extreme(true, true); }
double TMapSeries::LargestY() { return Extreme(false, true); }
double TMapSeries::SmallestX() { return Extreme(true, false); }
double TMapSeries::SmallestY() { return Extreme(false, false); }

void TMapSeries::RemoveAllPoints() {
  TPairedRemoval guard(FPairedRemoval);
  TCustom3DPaletteSeries::RemoveAllPoints();
  if (FShapes) FShapes->Clear();
}

void TMapSeries::RemovePoint(int Index) {
  TPairedRemoval guard(FPairedRemoval);
  TCustom3DPaletteSeries::RemovePoint(Index);
  if (Index < FShapes->Count()) FShapes->Delete(Index);
}

void TMapSeries::RemovePointRange(int Index, int Number, bool Renumber) {
  TPairedRemoval guard(FPairedRemoval);
  TCustom3DPaletteSeries::RemovePointRange(Index, Number, Renumber);
  FShapes->DeletePolygons(Index, Number);
}

void TMapSeries::ExchangePoints(int A, int B) {
  TCustom3DPaletteSeries::ExchangePoints(A, B);
  if (A == B || A < 0 || B < 0 || A >= FShapes->Count() || B >= FShapes->Count()) return;
  if (A > B) std::swap(A, B);
  TGrafPolygon* pa = FShapes->Polygon(A);
  TGrafPolygon* pb = FShapes->Polygon(B);
  pb->SetIndex(A);
  pa->SetIndex(B);
  RequestRedraw();
}

bool TMapSeries::PolygonInClipRect(TGrafPolygon* P) {
  if (!FParentChart->ClipPoints()) return true;
  const TRect& r = FParentChart->ChartArea;
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = GetVertAxis();
  TPolygonSeries* s = P->Points();
  const int a = h->ValueToPixelX(s->SmallestX());
  if (a < r.Left || a > r.Right) {
    const int b = h->ValueToPixelX(s->LargestX());
    if (b < r.Left) return false;
    if (b > r.Right && a > r.Right) return false;
  }
  const int c = v->ValueToPixelY(s->LargestY());
  if (c >= r.Top && c <= r.Bottom) return true;
  const int d = v->ValueToPixelY(s->SmallestY());
  if ((d < r.Top || d > r.Bottom) && (d <= r.Bottom || c >= r.Top)) return false;
  return true;
}

int TMapSeries::IndexAtPoint(int X, int Y) {
  if (!FParentChart) return -1;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  std::vector<TPoint> points;
  for (int i = FShapes->Count() - 1; i >= 0; --i) {
    TGrafPolygon* p = FShapes->Polygon(i);
    if (p->Points()->PointCount() == 0 || !PolygonInClipRect(p)) continue;
    int x = X, y = Y;
    if (i < PointCount()) canvas->UnprojectPoint(x, y, ZPixel(i));
    p->CalcScreenPoints(points);
    if (PointInsidePolygon(TPoint{x, y}, points)) return i;
  }
  return -1;
}

namespace {
struct TSampleShape {
  char Letter;
  std::vector<int> X, Y;
};
const std::vector<TSampleShape>& SampleShapes() {
  static const std::vector<TSampleShape> shapes = {
      {'A', {1, 3, 4, 4, 5, 5, 6, 6, 4, 3, 2, 1, 2, 2}, {7, 5, 5, 7, 8, 9, 10, 11, 11, 12, 12, 11, 10, 8}},
      {'B', {5, 7, 8, 8, 7, 6, 5, 4, 4}, {4, 4, 5, 6, 7, 7, 8, 7, 5}},
      {'C', {9, 10, 11, 11, 12, 9, 8, 7, 6, 6, 5, 5, 6, 7, 8, 8}, {5, 6, 6, 7, 8, 11, 11, 12, 11, 10, 9, 8, 7, 7, 6, 5}},
      {'D', {12, 14, 15, 14, 13, 12, 11, 11}, {5, 5, 6, 7, 7, 8, 7, 6}},
      {'E', {4, 6, 7, 7, 6, 6, 5, 4, 3, 3, 2}, {11, 11, 12, 13, 14, 15, 16, 16, 15, 14, 13}},
      {'F', {7, 8, 9, 11, 10, 8, 7, 6, 5, 5, 6, 6}, {13, 14, 14, 16, 17, 17, 18, 18, 17, 16, 15, 14}},
      {'G', {10, 12, 12, 14, 13, 11, 9, 8, 7, 7, 8, 9}, {10, 12, 13, 15, 16, 16, 14, 14, 13, 12, 11, 11}},
      {'H', {17, 19, 18, 18, 17, 15, 14, 13, 15, 16}, {11, 13, 14, 16, 17, 15, 15, 14, 12, 12}},
      {'I', {15, 16, 17, 16, 15, 14, 14, 13, 12, 11, 10, 11, 12, 13, 14}, {6, 6, 7, 8, 8, 9, 10, 11, 12, 11, 10, 9, 8, 7, 7}},
      {'J', {15, 16, 16, 17, 17, 16, 15, 13, 12, 12, 14, 14}, {8, 8, 9, 10, 11, 12, 12, 14, 13, 12, 10, 9}},
      {'K', {17, 19, 20, 20, 19, 17, 16, 16, 17, 16}, {5, 5, 6, 8, 8, 10, 9, 8, 7, 6}},
      {'L', {19, 20, 21, 21, 19, 17, 17}, {8, 8, 9, 11, 13, 11, 10}},
  };
  return shapes;
}
}  // namespace

void TMapSeries::AddSampleShape(int Shape) {
  const TSampleShape& s = SampleShapes()[static_cast<size_t>(Shape)];
  int dx = 0, dy = 0;
  if (PointCount() > DefaultSampleCount()) {
    dx = NextRandom(12);
    dy = NextRandom(12);
  }
  TGrafPolygon* p = FShapes->AddPolygon();
  TPolygonSeries* series = p->Points();
  series->SuspendUpdates();
  try {
    for (size_t i = 0; i < s.X.size(); ++i) p->AddPoint(s.X[i] + dx, s.Y[i] + dy);
  } catch (...) {
    series->ResumeUpdates();
    throw;
  }
  series->ResumeUpdates();
  p->SetText(std::string(1, s.Letter));
  p->SetZ(NextRandom(1000) / 1000.0);
}

void TMapSeries::GenerateRandomPoints(int Count, bool) {
  for (int k = 0; k < Count; ++k) AddSampleShape(k % 12);
}

void TMapSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustom3DPaletteSeries::EnumGalleryStyles(Proc);
  Proc(GrafMsgColors);
}

void TMapSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  if (Index == 2) Series->SetColorEachPoint(true);
  else TCustom3DPaletteSeries::ApplyGalleryStyle(Series, Index);
}

void TMapSeries::ApplyGallery3D(bool Value) {
  if (Value) TCustom3DPaletteSeries::ApplyGallery3D(Value);
  else if (FParentChart) FParentChart->SetView3D(false);
}

void TMapSeries::SetupGalleryPreview(bool Enabled) {
  TCustom3DPaletteSeries::SetupGalleryPreview(Enabled);
  if (!Enabled)
    for (int i = 0; i < FShapes->Count(); ++i) FShapes->Polygon(i)->SetColor(static_cast<TColor>(0xC0C0C0));
}

void RegisterMapSeriesType() {
  static const bool done = [] {
    RegisterSeriesType(&TMapSeries::StaticClass(), &GrafMsgExMap, &GrafMsgExtended, 1);
    RegisterClasses({&TGrafPolygon::StaticClass(), &TGrafPolygonList::StaticClass()});
    return true;
  }();
  (void)done;
}

void UnregisterMapSeriesType() { UnregisterSeriesTypes({&TMapSeries::StaticClass()}); }
