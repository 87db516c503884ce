// The bar series base (layout of the bar series of a chart, stacked starts,
// axis ranges, depth, common drawing operations, gallery) and the vertical
// and horizontal bar series.
#include "chart/series/series_bar.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"
#include "platform/gfx/colors.h"

const TEnumInfo& MultiBarEnumInfo() {
  static const TEnumInfo info{"TMultiBar", {"mbNone", "mbSide", "mbStacked", "mbStacked100", "mbSideAll", "mbSelfStack"}, 0};
  return info;
}

const TEnumInfo& BarStyleEnumInfo() {
  static const TEnumInfo info{"TBarStyle",
                              {"bsRectangle", "bsPyramid", "bsInvPyramid", "bsCilinder", "bsEllipse", "bsArrow",
                               "bsRectGradient", "bsCone", "bsBevel", "bsSlantCube", "bsDiamond", "bsInvArrow",
                               "bsInvCone"},
                              0};
  return info;
}

namespace {

// To the nearest integer, halves to the even one.
int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

bool IsBoxStyle(TBarStyle s) { return s == bsRectangle || s == bsRectGradient || s == bsBevel; }

// Restores the canvas' cylinder side count after a slant cube.
class TSideCount {
public:
  explicit TSideCount(int Count) : FOld(CylinderSideCount) { CylinderSideCount = Count; }
  ~TSideCount() { CylinderSideCount = FOld; }
  TSideCount(const TSideCount&) = delete;
  TSideCount& operator=(const TSideCount&) = delete;

private:
  int FOld;
};

}  // namespace

// ============================================================================
// TBarSeriesGradient

ZV_CLASS_IMPL(TBarSeriesGradient, TCustomGrafGradient)

void TBarSeriesGradient::DeclareProperties(TClassInfo& c) {
  using S = TBarSeriesGradient;
  c.Boolean<S>("Relative", &S::Relative, &S::SetRelative, false);
}

TBarSeriesGradient::TBarSeriesGradient(TNotifyEvent OnChange) : TCustomGrafGradient(std::move(OnChange)) {}

void TBarSeriesGradient::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TBarSeriesGradient*>(Source)) FRelative = s->FRelative;
  TCustomGrafGradient::Assign(Source);
}

void TBarSeriesGradient::SetRelative(bool Value) {
  if (FRelative == Value) return;
  FRelative = Value;
  Changed();
}

// ============================================================================
// TCustomBarSeries

ZV_CLASS_IMPL(TCustomBarSeries, TChartSeries)

void TCustomBarSeries::DeclareProperties(TClassInfo& c) {
  using S = TCustomBarSeries;
  c.Boolean<S>("AutoBarSize", &S::AutoBarSize, &S::SetAutoBarSize, false);
  c.Boolean<S>("AutoMarkPosition", &S::AutoMarkPosition, &S::SetAutoMarkPosition, true);
  c.Object<S, TChartBrush>("BarBrush", &S::BarBrush, &S::SetBarBrush);
  c.Object<S, TChartPen>("BarPen", &S::BarPen, &S::SetBarPen);
  c.Enum<S>("BarStyle", BarStyleEnumInfo(), &S::BarStyle, &S::SetBarStyle, bsRectangle);
  c.Integer<S>("BarWidthPercent", &S::BarWidthPercent, &S::SetBarWidthPercent, 70);
  c.Integer<S>("BevelSize", &S::BevelSize, &S::SetBevelSize, 1);
  c.Boolean<S>("Dark3D", &S::Dark3D, &S::SetDark3D, true);
  c.Integer<S>("DepthPercent", &S::DepthPercent, &S::SetDepthPercent, 100);
  c.Object<S, TBarSeriesGradient>("Gradient", &S::Gradient, &S::SetGradient);
  c.Enum<S>("MultiBar", MultiBarEnumInfo(), &S::MultiBar, &S::SetMultiBar, mbSide);
  c.Integer<S>("OffsetPercent", &S::OffsetPercent, &S::SetOffsetPercent, 0);
  c.Boolean<S>("SideMargins", &S::SideMargins, &S::SetSideMargins, true);
  c.Integer<S>("StackGroup", &S::StackGroup, &S::SetStackGroup, 0);
  c.Object<S, TChartPen>("TickLines", [](S* s) -> TChartPen* { return s->TickLines(); }, &S::SetTickLines);
  c.Boolean<S>("UseYOrigin", &S::UseYOrigin, &S::SetUseYOrigin, true);
  c.Float<S>("YOrigin", ftDouble, &S::YOrigin, &S::SetYOrigin, 0.0L);
}

TCustomBarSeries::TCustomBarSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  auto repaint = [this](TObject*) { RequestRedraw(); };
  FGradient = std::make_unique<TBarSeriesGradient>(repaint);
  FGradient->SetVisible(true);
  FTickLines = std::make_unique<TChartHiddenPen>(repaint);
  Brush()->SetColor(clDefault);
  FMarks->SetVisible(true);
  FMarks->Callout()->SetLength(20);
  FMarks->Callout()->LengthDefault = 20;
}

TCustomBarSeries::~TCustomBarSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

void TCustomBarSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCustomBarSeries*>(Source)) {
    FAutoMarkPosition = s->FAutoMarkPosition;
    FBarWidthPercent = s->FBarWidthPercent;
    FBarStyle = s->FBarStyle;
    FBevelSize = s->FBevelSize;
    FCustomBarSize = s->FCustomBarSize;
    FDark3D = s->FDark3D;
    FDepthPercent = s->FDepthPercent;
    FGradient->Assign(s->FGradient.get());
    FMultiBar = s->FMultiBar;
    FOffsetPercent = s->FOffsetPercent;
    FYOrigin = s->FYOrigin;
    FSideMargins = s->FSideMargins;
    FStackGroup = s->FStackGroup;
    FTickLines->Assign(s->FTickLines.get());
    FTransparency = s->FTransparency;
    FUseYOrigin = s->FUseYOrigin;
  }
  TChartSeries::Assign(Source);
}

void TCustomBarSeries::SetBarStyle(TBarStyle Value) {
  if (FBarStyle == Value) return;
  FBarStyle = Value;
  RequestRedraw();
}

void TCustomBarSeries::SetMultiBar(TMultiBar Value) {
  if (FMultiBar == Value) return;
  FMultiBar = Value;
  SyncMultiBar(true);
  RequestRedraw();
}

void TCustomBarSeries::SetSideMargins(bool Value) {
  ChangeBool(FSideMargins, Value);
  SyncMultiBar(true);
}

void TCustomBarSeries::SyncMultiBar(bool ToAll) {
  if (!FParentChart) return;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    auto* b = dynamic_cast<TCustomBarSeries*>(s);
    if (!b || !ClassCompatible(b)) continue;
    if (!ToAll) {
      FMultiBar = b->FMultiBar;
      FSideMargins = b->FSideMargins;
      return;
    }
    b->FMultiBar = FMultiBar;
    b->FSideMargins = FSideMargins;
    b->CalcVisibleRange = FMultiBar != mbSelfStack;
  }
}

void TCustomBarSeries::SetParentChart(TCustomAxisPanel* Value) {
  TChartSeries::SetParentChart(Value);
  SyncMultiBar(false);
}

TBarStyle TCustomBarSeries::BarStyleAt(int Index) {
  TBarStyle s = FBarStyle;
  if (OnGetBarStyle) OnGetBarStyle(this, Index, s);
  return s;
}

int TCustomBarSeries::ListIndexOfSeries() const {
  return FParentChart ? FParentChart->SeriesList()->IndexOf(this) : 0;
}

// ---- Layout ----------------------------------------------------------------------------

void TCustomBarSeries::PrepareChartDraw() {
  SidePosition = 1;
  PointsBefore = 0;
  SideBySideCount = 0;
  SlotPointCount = -1;
  if (!FParentChart) return;
  std::vector<int> groups;
  bool seenSelf = false;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    auto* b = dynamic_cast<TCustomBarSeries*>(s);
    if (!b || !b->Active() || !ClassCompatible(b)) continue;
    if (b == this) seenSelf = true;
    const int n = b->PointCount();
    if (SlotPointCount == -1 || SlotPointCount < n) SlotPointCount = FSideMargins && n > 0 ? n + 1 : n;
    switch (FMultiBar) {
      case mbNone:
      case mbSelfStack: SideBySideCount = 1; break;
      case mbStacked:
      case mbStacked100:
        if (std::find(groups.begin(), groups.end(), b->FStackGroup) == groups.end()) {
          groups.push_back(b->FStackGroup);
          ++SideBySideCount;
          if (!seenSelf) ++SidePosition;
        }
        break;
      case mbSide:
      case mbSideAll:
        ++SideBySideCount;
        if (!seenSelf) ++SidePosition;
        break;
    }
    if (!seenSelf) PointsBefore += n;
  }
  const auto own = std::find(groups.begin(), groups.end(), FStackGroup);
  if (own != groups.end()) SidePosition = static_cast<int>(own - groups.begin()) + 1;
  const int perPage = FParentChart->MaxPointsPerPage();
  if (FMultiBar == mbSelfStack) SlotPointCount = perPage != 0 ? perPage : SideBySideCount;
  else if (perPage > 0) SlotPointCount = perPage;
}

void TCustomBarSeries::ComputeBarWidth() {
  if (FCustomBarSize != 0) {
    BarWidthPixels = FCustomBarSize;
    return;
  }
  TChartAxis* axis = CategoryAxis();
  if (SlotPointCount <= 0 || !axis) {
    BarWidthPixels = 0;
    return;
  }
  int slot;
  if (FAutoBarSize) {
    const double span = axis->Maximum() + 2 - axis->Minimum();
    slot = span != 0 ? Nearest(axis->AxisLength / span) : 0;
  } else {
    slot = axis->AxisLength / SlotPointCount;
  }
  BarWidthPixels = Nearest(FBarWidthPercent * 0.01 * slot) / std::max(1, SideBySideCount);
  if (BarWidthPixels > 0 && BarWidthPixels % 2 == 1) ++BarWidthPixels;
}

int TCustomBarSeries::GroupMargin() const {
  const int m = BarWidthPixels * SideBySideCount;
  return FSideMargins ? m : m / 2;
}

void TCustomBarSeries::WidenCategoryMargins(int& A, int& B) {
  ComputeBarWidth();
  const int m = GroupMargin();
  A += m;
  B += m;
}

int TCustomBarSeries::ApplyOffset(int Position) const {
  if (FOffsetPercent == 0) return Position;
  return Position + Nearest(FOffsetPercent * BarWidthPixels * 0.01);
}

double TCustomBarSeries::StackGroupSum(int Index, bool All) {
  if (!FParentChart) return 0;
  const bool positive = MainValueAt(Index) >= 0;
  double sum = 0;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    if (!All && s == this) break;
    auto* b = dynamic_cast<TCustomBarSeries*>(s);
    if (!b || !b->Active() || !ClassCompatible(b) || b->PointCount() <= Index || b->FStackGroup != FStackGroup) continue;
    const double v = b->StartValueAt(Index);
    if (positive ? v > 0 : v < 0) sum += v;
  }
  return sum;
}

double TCustomBarSeries::StackedStart(int Index, bool All) {
  switch (FMultiBar) {
    case mbStacked:
    case mbStacked100: return StackGroupSum(Index, All);
    case mbSelfStack: {
      double sum = 0;
      for (int i = 0; i < Index; ++i) sum += MainValueAt(i);
      return sum;
    }
    default: return FYOrigin;
  }
}

bool TCustomBarSeries::HasStackTotal(int Index) {
  return FMultiBar != mbStacked100 || StackedStart(Index, true) != 0;
}

int TCustomBarSeries::BarStartPixel(int Index, int DefaultPixel) {
  const double s = StackedStart(Index, false);
  switch (FMultiBar) {
    case mbStacked100: {
      // A category adding up to 0 has no height: its bars sit at the value 0.
      const double total = StackedStart(Index, true);
      return ValueAxisPixelOf(total == 0 ? 0 : s * 100 / total);
    }
    case mbStacked:
    case mbSelfStack: return ValueAxisPixelOf(s);
    default: return FUseYOrigin ? ValueAxisPixelOf(s) : DefaultPixel;
  }
}

int TCustomBarSeries::BarValuePixel(int Index) {
  const double value = MainValueAt(Index);
  switch (FMultiBar) {
    case mbStacked:
    case mbStacked100:
    case mbSelfStack: {
      double v = StackedStart(Index, false) + value;
      if (FMultiBar == mbStacked100) {
        const double total = StackedStart(Index, true);
        v = total == 0 ? 0 : v * 100 / total;
      }
      return ValueAxisPixelOf(v);
    }
    default: return ValueAxisPixelOf(value);
  }
}

double TCustomBarSeries::StackedLargest(double Value) {
  double r = Value;
  switch (FMultiBar) {
    case mbStacked100: r = 100; break;
    case mbStacked:
      for (int i = 0; i < PointCount(); ++i) r = std::max(r, StackedStart(i, false) + MainValueAt(i));
      break;
    case mbSelfStack: r = FMainList->Total(); break;
    default: break;
  }
  return FUseYOrigin ? std::max(r, FYOrigin) : r;
}

double TCustomBarSeries::StackedSmallest(double Value) {
  double r = Value;
  switch (FMultiBar) {
    case mbStacked100: r = 0; break;
    case mbStacked:
    case mbSelfStack:
      for (int i = 0; i < PointCount(); ++i) r = std::min(r, StackedStart(i, false) + MainValueAt(i));
      break;
    default: break;
  }
  return FUseYOrigin ? std::min(r, FYOrigin) : r;
}

double TCustomBarSeries::CategoryLargest(double Base) {
  if (FMultiBar == mbSideAll) return PointCount() + PointsBefore - 1;
  if (FMultiBar == mbSelfStack) return ListIndexOfSeries();
  return Base;
}

double TCustomBarSeries::CategorySmallest(double Base) {
  if (FMultiBar == mbSelfStack) return ListIndexOfSeries();
  return Base;
}

int TCustomBarSeries::CategoryEdgePixel(int Index) {
  int p;
  switch (FMultiBar) {
    case mbSideAll: p = CategoryPixelOf(Index + PointsBefore) - BarWidthPixels / 2; break;
    case mbSelfStack: p = CategoryPixelOf(ListIndexOfSeries()) - BarWidthPixels / 2; break;
    case mbNone: p = CategoryPixelOf(CategoryValueAt(Index)) - BarWidthPixels / 2; break;
    default:
      p = CategoryPixelOf(CategoryValueAt(Index)) +
          Nearest((SidePosition - SideBySideCount * 0.5 - 1) * BarWidthPixels);
      break;
  }
  return ApplyOffset(p);
}

void TCustomBarSeries::FindVisibleRange() {
  if (FMultiBar == mbSelfStack) {
    FirstVisible = PointCount() > 0 ? 0 : -1;
    LastVisible = PointCount() - 1;
    return;
  }
  if (FParentChart && FParentChart->MaxPointsPerPage() == 1) {
    const int i = FParentChart->Page() - 1;
    FirstVisible = LastVisible = i < PointCount() ? i : -1;
    return;
  }
  TChartSeries::FindVisibleRange();
}

void TCustomBarSeries::AssignZOrder() {
  if (FMultiBar != mbNone && FParentChart && FZOrder < 0) {
    for (TChartSeries* s : *FParentChart->SeriesList()) {
      if (s == this) break;
      if (s->Active() && ClassCompatible(s)) {
        AutoZOrder = s->CurrentDepthIndex();
        return;
      }
    }
  }
  TChartSeries::AssignZOrder();
}

void TCustomBarSeries::PlaceInDepth() {
  TChartSeries::PlaceInDepth();
  if (FDepthPercent == 0) return;
  const int d = Nearest((100 - FDepthPercent) * (EndZ - StartZ) * 0.005);
  StartZ += d;
  EndZ -= d;
}

int TCustomBarSeries::IndexAtPoint(int X, int Y) {
  if (FirstVisible < 0 || LastVisible < 0) return -1;
  for (int i = FirstVisible; i <= LastVisible && i < PointCount(); ++i)
    if (BarContainsPoint(i, Point(X, Y))) return i;
  return -1;
}

// ---- Legend, gallery, samples ----------------------------------------------------------

void TCustomBarSeries::AdjustLegendCanvas(int, TColor& BackColor, TBrushStyle& BrushStyle) {
  if (!FParentChart) return;
  FParentChart->PanelCanvas()->ApplyPen(Pen());
  BrushStyle = Brush()->Style();
  BackColor = Brush()->Color() == clDefault ? FParentChart->Color() : Brush()->Color();
}

void TCustomBarSeries::PaintLegendSymbol(int Row, const TRect& R) {
  if (!FParentChart) return;
  if (Brush()->HasImage() && Brush()->Image()->Graphic()) {
    TCanvas3D* canvas = FParentChart->PanelCanvas();
    canvas->ApplyBrush(Brush(), LegendSymbolColor(Row), canvas->CanvasBrush()->Color());
  }
  TChartSeries::PaintLegendSymbol(Row, R);
}

void TCustomBarSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TChartSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgColors, GrafMsgPyramid, GrafMsgEllipse, GrafMsgInvPyramid, GrafMsgGradient})
    Proc(t);
  if (OffersStackStyles())
    for (const std::string& t : {GrafMsgStack, GrafMsgStack100, GrafMsgSelfStacked}) Proc(t);
  Proc(GrafMsgSides);
  Proc(GrafMsgSideAll);
}

void TCustomBarSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TCustomBarSeries*>(Series);
  if (!s) return;
  if (Index >= 6 && !OffersStackStyles()) Index += 3;
  if (Index >= 6) {
    TCustomAxisPanel* chart = s->ParentChart();
    if (chart && chart->NumberOfSeries() == 1) {
      s->LoadDemoData(2);
      auto* other = dynamic_cast<TCustomBarSeries*>(s->ClassType()->CreateComponent(s->Owner()));
      if (other) {
        other->SetName(UniqueSeriesName(s->Owner()));
        other->SetParentChart(chart);
        other->SetTitle("");
        other->LoadDemoData(2);
        other->Marks()->SetVisible(false);
        other->SetBarWidthPercent(s->BarWidthPercent());
        s->Marks()->SetVisible(false);
        ApplyGalleryStyle(other, Index);
      }
    }
  }
  switch (Index) {
    case 1: s->SetColorEachPoint(true); break;
    case 2: s->SetBarStyle(bsPyramid); break;
    case 3: s->SetBarStyle(bsEllipse); break;
    case 4: s->SetBarStyle(bsInvPyramid); break;
    case 5: s->SetBarStyle(bsRectGradient); break;
    case 6: s->SetMultiBar(mbStacked); break;
    case 7: s->SetMultiBar(mbStacked100); break;
    case 8: s->SetMultiBar(mbSelfStack); break;
    case 9: s->SetMultiBar(mbSide); break;
    case 10: s->SetMultiBar(mbSideAll); break;
    default: break;
  }
}

void TCustomBarSeries::SetupGalleryPreview(bool Enabled) {
  TChartSeries::SetupGalleryPreview(Enabled);
  FBarWidthPercent = 85;
  FBarStyle = bsRectGradient;
  FGradient->SetVisible(true);
  SetMultiBar(mbNone);
}

int TCustomBarSeries::DefaultSampleCount() {
  if (!FParentChart || FParentChart->NumberOfSeries() <= 1) return 6;
  for (TChartSeries* s : *FParentChart->SeriesList())
    if (s != this && dynamic_cast<TCustomBarSeries*>(s) && s->PointCount() > 0) return s->PointCount();
  return 6;
}

void TCustomBarSeries::GenerateRandomPoints(int Count, bool MainValuesOnly) {
  bool explicitX = false;
  if (FParentChart)
    for (TChartSeries* s : *FParentChart->SeriesList())
      if (s != this && ClassCompatible(s) && HasExplicitXValues(s)) explicitX = true;
  TChartSeries::GenerateRandomPoints(Count, explicitX ? MainValuesOnly : true);
}

// ---- Drawing ---------------------------------------------------------------------------

void TCustomBarSeries::PrepareBarCanvas(TColor Color) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyPen(Pen());
  const TColor back = Brush()->Color() == clDefault ? FParentChart->Color() : Brush()->Color();
  FParentChart->ApplyBrushColors(Color, Brush(), back);
}

void TCustomBarSeries::PaintBarRect(int Left, int Top, int Right, int Bottom) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (canvas->CanvasBrush()->Style() == bsSolid) {
    TPen* pen = canvas->CanvasPen();
    const TColor fill = canvas->CanvasBrush()->Color();
    auto penInFill = [&] {
      pen->SetColor(fill);
      if (pen->Style() == psClear) pen->SetStyle(psSolid);
    };
    if (Right - Left == 0 || Bottom - Top == 0) {
      penInFill();
      canvas->LineFromTo(Left, Top, Right, Bottom);
    } else if (std::abs(Right - Left) < pen->Width() || std::abs(Bottom - Top) < pen->Width()) {
      // Too thin for its pen: the outline in the fill colour is the bar.
      penInFill();
      canvas->CanvasBrush()->SetStyle(bsClear);
    }
  }
  canvas->Rectangle(Left, Top, Right, Bottom);
}

void TCustomBarSeries::SetGradientColors(int Index) {
  if (!FGradient->Relative()) {
    FGradient->SetEndColor(CurrentBarColor);
    return;
  }
  const double origin = FUseYOrigin ? FYOrigin : FMainList->MinValue();
  const double largest = FMainList->MaxValue();
  // With nothing above the origin every bar takes the full colour.
  double t = largest == origin ? 1 : (MainValueAt(Index) - origin) / (largest - origin);
  t = std::clamp(t, 0.0, 1.0);
  const TColorRef a = ColorToRGB(FGradient->StartColor()), b = ColorToRGB(CurrentBarColor);
  auto mix = [t](int from, int to) { return from + Nearest(t * (to - from)); };
  FGradient->SetEndColor(static_cast<TColor>(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                                                 mix(GetBValue(a), GetBValue(b)))));
}

void TCustomBarSeries::PaintGradientBar(int Index, const TRect& R) {
  SetGradientColors(Index);
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool pen = Pen()->Visible();
  const int pw = pen ? Pen()->Width() : 0;
  if (FParentChart->View3D()) {
    if (!FParentChart->View3DOptions()->Orthogonal()) {
      TRect r = R;
      if (pen) r = Rect(r.Left + pw, r.Top + pw, r.Right - pw, r.Bottom - pw);
      FGradient->DrawInQuad(canvas, canvas->ProjectRectToQuad(r, StartZ));
      return;
    }
    TRect r = R;
    if (pen) r = Rect(r.Left + 1, r.Top + 1, r.Right - (pw - 1), r.Bottom - (pw - 1));
    FGradient->DrawInRect(canvas, canvas->ProjectRectAtDepth(r, StartZ));
    return;
  }
  TRect r = R;
  if (pen) r = Rect(r.Left + 1, r.Top + 1, r.Right - pw, r.Bottom - pw);
  FGradient->DrawInRect(canvas, r);
}

void TCustomBarSeries::PaintBevel() {
  const bool is3D = FParentChart->View3D();
  if (is3D && !FParentChart->View3DOptions()->Orthogonal()) return;
  TRect r = CurrentBarRect;
  if (Pen()->Visible()) {
    const int pw = Pen()->Width();
    r = Rect(r.Left + pw, r.Top + pw, r.Right - pw, r.Bottom - pw);
    if (is3D) {
      ++r.Right;
      ++r.Bottom;
    }
  }
  FParentChart->PanelCanvas()->DrawFrame3D(r, ColorBrighter(CurrentBarColor, 128), ColorDarker(CurrentBarColor, 64),
                                           FBevelSize);
}

std::unique_ptr<TGrafBlend> TCustomBarSeries::BeginBarBlending() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  TRect r = NormalizeRect(CurrentBarRect);
  if (FParentChart->View3D()) {
    const TRect a = NormalizeRect(canvas->ProjectedRectBounds(r, StartZ));
    const TRect b = NormalizeRect(canvas->ProjectedRectBounds(r, EndZ));
    r = Rect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
             std::max(a.Bottom, b.Bottom));
  }
  return canvas->BeginBlending(r, FTransparency);
}

void TCustomBarSeries::PaintTickLines(int From, int To, TBarStyle Style) {
  TChartAxis* axis = ValueAxis();
  if (!FTickLines->Visible() || !axis) return;
  FParentChart->PanelCanvas()->ApplyPen(FTickLines.get());
  for (int t : axis->TickPositions)
    if (From < t && t < To) PaintTickLine(t, Style);
}

int TCustomBarSeries::MarksExtent(int Index) {
  if (PointCount() == 0 || !FMarks->Visible() || !FParentChart) return 0;
  FParentChart->PanelCanvas()->ApplyFont(FMarks->Font());
  int m = MarksLineHeight(Index) + FMarks->Callout()->Length();
  if (FMarks->Pen()->Visible()) m += 2 * FMarks->Pen()->Width();
  return m;
}

void TCustomBarSeries::DrawBar(int Index) {
  CurrentBarColor = PointColor(Index);
  if (CurrentBarColor == clNone || !HasStackTotal(Index)) return;
  ComputeBarRect(Index);
  std::unique_ptr<TGrafBlend> blend;
  if (FTransparency > 0) blend = BeginBarBlending();
  const TRect& r = CurrentBarRect;
  if (FVertical) PaintShape(Index, std::min(r.Top, r.Bottom), std::max(r.Top, r.Bottom));
  else PaintShape(Index, std::min(r.Left, r.Right), std::max(r.Left, r.Right));
  if (blend) FParentChart->PanelCanvas()->EndBlending(std::move(blend));
}

// ============================================================================
// TBarSeries

ZV_CLASS_IMPL(TBarSeries, TCustomBarSeries)

void TBarSeries::DeclareProperties(TClassInfo& c) {
  using S = TBarSeries;
  c.Integer<S>("CustomBarWidth", &S::CustomBarWidth, &S::SetCustomBarWidth, 0);
}

TBarSeries::TBarSeries(TComponent* AOwner) : TCustomBarSeries(AOwner) {
  FGradient->SetDirection(gdTopBottom);
  YValues()->SetName(GrafMsgBar);
}

int TBarSeries::BarStartPixel(int Index) {
  TChartAxis* v = GetVertAxis();
  return TCustomBarSeries::BarStartPixel(Index, v ? v->EndPixel : 0);
}

void TBarSeries::ComputeBarRect(int Index) {
  TRect& r = CurrentBarRect;
  r.Left = PointXPixel(Index);
  if (FBarWidthPercent != 100 || FCustomBarSize != 0 || FMultiBar == mbSelfStack) {
    r.Right = r.Left + BarWidthPixels + 1;
  } else {
    const int w = Pen()->Visible() ? std::max(1, Pen()->Width()) : 0;
    TChartAxis* h = GetHorizAxis();
    if (h && h->Inverted()) r.Right = Index == 0 ? r.Left + BarWidthPixels + w : PointXPixel(Index - 1);
    else if (Index < PointCount() - 1) r.Right = PointXPixel(Index + 1) + 1 - w / 2;
    else r.Right = r.Left + BarWidthPixels + 1 - w / 2;
  }
  r.Top = PointYPixel(Index);
  r.Bottom = BarStartPixel(Index);
  if (!Pen()->Visible()) {
    if (r.Top > r.Bottom) ++r.Top;
    else ++r.Bottom;
    ++r.Right;
  }
}

void TBarSeries::PaintBarShape(int Index, int Top, int Bottom) {
  PrepareBarCanvas(CurrentBarColor);
  const TBarStyle style = BarStyleAt(Index);
  if (style > bsInvCone) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int L = CurrentBarRect.Left, R = CurrentBarRect.Right, t = Top, b = Bottom, xm = (L + R) / 2;
  const int z0 = StartZ, zm = MiddleZ, z1 = EndZ;
  const TPoint diamond[4] = {Point(xm, t), Point(R, (t + b) / 2), Point(xm, b), Point(L, (t + b) / 2)};
  const int head = R - L;
  if (FParentChart->View3D()) {
    switch (style) {
      case bsPyramid: canvas->Pyramid(true, L, t, R, b, z0, z1, FDark3D); break;
      case bsInvPyramid: canvas->Pyramid(true, L, b, R, t, z0, z1, FDark3D); break;
      case bsCilinder: canvas->Cylinder(true, L, t, R, b, z0, z1, FDark3D); break;
      case bsEllipse: canvas->EllipseWithZ(L, t, R, b, zm); break;
      case bsArrow: canvas->DefaultArrow(true, Point(xm, b), Point(xm, t), head, head / 2, zm); break;
      case bsInvArrow: canvas->DefaultArrow(true, Point(xm, t), Point(xm, b), head, head / 2, zm); break;
      case bsCone: canvas->Cone(true, L, t, R, b, z0, z1, FDark3D, ConeTopPercent()); break;
      case bsInvCone: canvas->Cone(true, L, b, R, t, z0, z1, FDark3D, ConeTopPercent()); break;
      case bsSlantCube: {
        TSideCount four(4);
        canvas->Cylinder(true, L, t, R, b, z0, z1, FDark3D);
        break;
      }
      case bsDiamond: canvas->PolygonWithZ(diamond, zm); break;
      default: canvas->Cube(L, R, t, b, z0, z1, FDark3D); break;
    }
  } else {
    switch (style) {
      case bsPyramid:
      case bsCone: {
        const TPoint p[3] = {Point(L, b), Point(xm, t), Point(R, b)};
        canvas->Polygon(p);
        break;
      }
      case bsInvPyramid:
      case bsInvCone: {
        const TPoint p[3] = {Point(L, t), Point(xm, b), Point(R, t)};
        canvas->Polygon(p);
        break;
      }
      case bsEllipse: canvas->Ellipse(L, t, R, b); break;
      case bsArrow: canvas->DefaultArrow(true, Point(xm, b), Point(xm, t), head, head / 2, zm); break;
      case bsInvArrow: canvas->DefaultArrow(true, Point(xm, t), Point(xm, b), head, head / 2, zm); break;
      case bsSlantCube:
        PaintBarRect(L, t, R, b);
        canvas->VerticalLine(xm, t, b);
        break;
      case bsDiamond: canvas->Polygon(diamond); break;
      default: PaintBarRect(L, t, R, b); break;
    }
  }
  if (style == bsRectGradient) PaintGradientBar(Index, Rect(L, t, R, b));
  else if (style == bsBevel) PaintBevel();
  PaintTickLines(t, b, style);
}

void TBarSeries::PaintTickLine(int Y, TBarStyle Style) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int L = CurrentBarRect.Left, R = CurrentBarRect.Right;
  const int t = std::min(CurrentBarRect.Top, CurrentBarRect.Bottom), b = std::max(CurrentBarRect.Top, CurrentBarRect.Bottom);
  if (IsBoxStyle(Style)) {
    canvas->HorizontalLine3D(L, R, Y, StartZ);
    if (FParentChart->View3D()) {
      auto p = [&](int x, int y, int z) { return canvas->ProjectXYZ(x, y, z); };
      if (!PointsFaceAway(p(R, b, StartZ), p(R, b, EndZ), p(R, t, EndZ))) canvas->DepthLine3D(R, Y, StartZ, EndZ);
      else if (PointsFaceAway(p(L, b, StartZ), p(L, b, EndZ), p(L, t, EndZ))) canvas->DepthLine3D(L, Y, StartZ, EndZ);
    }
  } else if (Style == bsArrow) {
    canvas->HorizontalLine3D(L + (R - L) / 4, R - (R - L) / 4, Y, MiddleZ);
  }
}

void TBarSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  TMarksCallout* c = FMarks->Callout();
  const int h = BarWidthPixels / 2;
  int l = c->Length() + c->Distance();
  if (BarStartPixel(Index) < Position.ArrowFrom.Y) {
    // A bar growing downward: the mark goes below its end.
    Position.ArrowFrom.Y += c->Distance();
    l = -l - Position.Height;
  } else {
    Position.ArrowFrom.Y -= c->Distance();
  }
  Position.LeftTop.X += h;
  Position.LeftTop.Y -= l;
  Position.ArrowTo.X += h;
  Position.ArrowTo.Y -= l;
  Position.ArrowFrom.X += h;
  if (FAutoMarkPosition) FMarks->AvoidOverlap(FirstVisible, Index, Position);
  TChartSeries::DrawPointMark(Index, Text, Position);
}

void TBarSeries::GetHorizMargins(int& Left, int& Right) {
  TChartSeries::GetHorizMargins(Left, Right);
  WidenCategoryMargins(Left, Right);
}

void TBarSeries::GetVertMargins(int& Top, int& Bottom) {
  TChartSeries::GetVertMargins(Top, Bottom);
  const int m = MarksExtent(0);
  if (m <= 0) return;
  const bool inverted = GetVertAxis() && GetVertAxis()->Inverted();
  if (FUseYOrigin && YValues()->MinValue() < FYOrigin) (inverted ? Top : Bottom) += m + 1;
  if (!(FUseYOrigin && YValues()->MaxValue() <= FYOrigin)) (inverted ? Bottom : Top) += m + 1;
}

int TBarSeries::MarksLineHeight(int) { return FParentChart ? FParentChart->PanelCanvas()->FontHeight() : 0; }

bool TBarSeries::BarContainsPoint(int Index, TPoint P) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool is3D = FParentChart->View3D();
  const int l = PointXPixel(Index), w = BarWidthPixels;
  if (!is3D && (P.X < l || P.X > l + w)) return false;
  int t = PointYPixel(Index), b = BarStartPixel(Index);
  if (t > b) std::swap(t, b);
  const TBarStyle style = BarStyleAt(Index);
  if (style == bsInvPyramid || style == bsInvCone) std::swap(t, b);
  if (style == bsPyramid || style == bsCone || style == bsInvPyramid || style == bsInvCone) {
    if (!is3D) return PointInsideUprightTriangle(P, l, l + w, b, t);
    const TPoint tri[3] = {canvas->ProjectXYZ(l, b, StartZ), canvas->ProjectXYZ(l + w / 2, t, MiddleZ),
                           canvas->ProjectXYZ(l + w, b, StartZ)};
    return PointInsidePolygon(P, tri, 2);
  }
  if (is3D) {
    canvas->UnprojectPoint(P.X, P.Y, StartZ);
    if (P.X < l || P.X > l + w) return false;
  }
  if (style == bsEllipse) return PointInsideEllipse(P, l, t, l + w, b);
  return t <= P.Y && P.Y <= b;
}

bool TBarSeries::DrawForwardAt(int Index) {
  const bool inverted = GetVertAxis() && GetVertAxis()->Inverted();
  switch (FMultiBar) {
    case mbStacked:
    case mbSelfStack: return (MainValueAt(Index) >= FYOrigin) != inverted;
    case mbStacked100: return !inverted;
    default: return TCustomBarSeries::DrawForwardAt(Index);
  }
}

bool TBarSeries::SharesZOrder() { return FMultiBar == mbSideAll ? false : TCustomBarSeries::SharesZOrder(); }

// ============================================================================
// THorizBarSeries

ZV_CLASS_IMPL(THorizBarSeries, TCustomBarSeries)

void THorizBarSeries::DeclareProperties(TClassInfo& c) {
  using S = THorizBarSeries;
  c.Integer<S>("CustomBarHeight", &S::CustomBarHeight, &S::SetCustomBarHeight, 0);
}

THorizBarSeries::THorizBarSeries(TComponent* AOwner) : TCustomBarSeries(AOwner) {
  SetHorizontalOrientation();
  XValues()->SetOrder(loNone);
  YValues()->SetOrder(loAscending);
  FGradient->SetDirection(gdLeftRight);
  XValues()->SetName(GrafMsgBar);
}

int THorizBarSeries::BarStartPixel(int Index) {
  TChartAxis* h = GetHorizAxis();
  return TCustomBarSeries::BarStartPixel(Index, h ? h->StartPixel : 0);
}

void THorizBarSeries::ComputeBarRect(int Index) {
  TRect& r = CurrentBarRect;
  r.Top = PointYPixel(Index);
  if (FBarWidthPercent != 100 || FCustomBarSize != 0 || FMultiBar == mbSelfStack) {
    r.Bottom = r.Top + BarWidthPixels - 1;
  } else {
    const int w = Pen()->Visible() ? Pen()->Width() : 0;
    TChartAxis* v = GetVertAxis();
    if (v && v->Inverted())
      r.Bottom = Index < PointCount() - 1 ? PointYPixel(Index + 1) : r.Top + BarWidthPixels - w;
    else
      r.Bottom = Index == 0 ? r.Top + BarWidthPixels - w : PointYPixel(Index - 1);
  }
  r.Right = PointXPixel(Index);
  r.Left = BarStartPixel(Index);
  if (!Pen()->Visible()) {
    if (r.Left < r.Right) {
      ++r.Right;
    } else {
      ++r.Left;
      --r.Right;
    }
    ++r.Bottom;
  }
}

void THorizBarSeries::PaintBarShape(int Index, int Left, int Right) {
  PrepareBarCanvas(CurrentBarColor);
  const TBarStyle style = BarStyleAt(Index);
  if (style > bsInvCone) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int l = Left, r = Right, T = CurrentBarRect.Top, B = CurrentBarRect.Bottom, ym = (T + B) / 2,
            xm = (l + r) / 2;
  const int z0 = StartZ, zm = MiddleZ, z1 = EndZ;
  const TPoint diamond[4] = {Point(l, ym), Point(xm, T), Point(r, ym), Point(xm, B)};
  const int head = B - T;
  if (FParentChart->View3D()) {
    switch (style) {
      case bsPyramid: canvas->Pyramid(false, l, T, r, B, z0, z1, FDark3D); break;
      case bsInvPyramid: canvas->Pyramid(false, r, T, l, B, z0, z1, FDark3D); break;
      case bsCilinder: canvas->Cylinder(false, l, T, r, B, z0, z1, FDark3D); break;
      case bsEllipse: canvas->EllipseWithZ(l, T, r, B, zm); break;
      case bsArrow: canvas->DefaultArrow(true, Point(l, ym), Point(r, ym), head, head / 2, zm); break;
      case bsInvArrow: canvas->DefaultArrow(true, Point(r, ym), Point(l, ym), head, head / 2, zm); break;
      case bsCone: canvas->Cone(false, l, T, r, B, z0, z1, FDark3D, ConeTopPercent()); break;
      case bsInvCone: canvas->Cone(false, r, T, l, B, z0, z1, FDark3D, ConeTopPercent()); break;
      case bsSlantCube: {
        TSideCount four(4);
        canvas->Cylinder(false, l, T, r, B, z0, z1, FDark3D);
        break;
      }
      case bsDiamond: canvas->PolygonWithZ(diamond, zm); break;
      default: canvas->Cube(l, r, T, B, z0, z1, FDark3D); break;
    }
  } else {
    switch (style) {
      case bsPyramid:
      case bsCone: {
        const TPoint p[3] = {Point(l, T), Point(r, ym), Point(l, B)};
        canvas->Polygon(p);
        break;
      }
      case bsInvPyramid:
      case bsInvCone: {
        const TPoint p[3] = {Point(r, T), Point(l, ym), Point(r, B)};
        canvas->Polygon(p);
        break;
      }
      case bsEllipse: canvas->Ellipse(l, T, r, B); break;
      case bsArrow: canvas->DefaultArrow(true, Point(l, ym), Point(r, ym), head, head / 2, zm); break;
      case bsInvArrow: canvas->DefaultArrow(true, Point(r, ym), Point(l, ym), head, head / 2, zm); break;
      case bsSlantCube:
        PaintBarRect(l, T, r, B);
        canvas->HorizontalLine(l, r, ym);
        break;
      case bsDiamond: canvas->Polygon(diamond); break;
      default: PaintBarRect(l, T, r, B); break;
    }
  }
  if (style == bsRectGradient) PaintGradientBar(Index, Rect(l, T, r, B));
  else if (style == bsBevel) PaintBevel();
  PaintTickLines(l, r, style);
}

void THorizBarSeries::PaintTickLine(int X, TBarStyle Style) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int T = CurrentBarRect.Top, B = CurrentBarRect.Bottom;
  const int l = std::min(CurrentBarRect.Left, CurrentBarRect.Right), r = std::max(CurrentBarRect.Left, CurrentBarRect.Right);
  if (IsBoxStyle(Style)) {
    canvas->VerticalLine3D(X, T, B, StartZ);
    if (FParentChart->View3D()) {
      auto p = [&](int x, int y, int z) { return canvas->ProjectXYZ(x, y, z); };
      if (!PointsFaceAway(p(l, T, StartZ), p(l, T, EndZ), p(r, T, EndZ))) canvas->DepthLine3D(X, T, StartZ, EndZ);
      else if (PointsFaceAway(p(l, B, StartZ), p(l, B, EndZ), p(r, B, EndZ))) canvas->DepthLine3D(X, B, StartZ, EndZ);
    }
  } else if (Style == bsArrow) {
    canvas->VerticalLine3D(X, T + (B - T) / 4, B - (B - T) / 4, MiddleZ);
  }
}

void THorizBarSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  TMarksCallout* c = FMarks->Callout();
  const int h = BarWidthPixels / 2;
  int l = c->Length() + c->Distance();
  const bool toLeft = Position.ArrowFrom.X < BarStartPixel(Index);
  if (toLeft) l = -l - Position.Width;
  Position.LeftTop.X += l + Position.Width / 2;
  Position.LeftTop.Y += h + Position.Height / 2;
  Position.ArrowTo.X += l;
  Position.ArrowTo.Y += h;
  Position.ArrowFrom.Y += h;
  Position.ArrowFrom.X += toLeft ? -c->Distance() : c->Distance();
  TChartSeries::DrawPointMark(Index, Text, Position);
}

void THorizBarSeries::GetVertMargins(int& Top, int& Bottom) {
  TChartSeries::GetVertMargins(Top, Bottom);
  WidenCategoryMargins(Top, Bottom);
}

void THorizBarSeries::GetHorizMargins(int& Left, int& Right) {
  TChartSeries::GetHorizMargins(Left, Right);
  int m = MarksExtent(-1);
  if (m > 0) ++m;
  const bool inverted = GetHorizAxis() && GetHorizAxis()->Inverted();
  if (FUseYOrigin && XValues()->MinValue() < FYOrigin) Left += m;
  if (!(FUseYOrigin && XValues()->MaxValue() <= FYOrigin)) (inverted ? Left : Right) += m;
}

int THorizBarSeries::MarksLineHeight(int Index) {
  if (!FParentChart) return 0;
  if (Index == -1) return WidestVisibleMark();
  return FParentChart->PanelCanvas()->TextWidth(BuildMarkText(Index));
}

bool THorizBarSeries::BarContainsPoint(int Index, TPoint P) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool is3D = FParentChart->View3D();
  const int t = PointYPixel(Index), w = BarWidthPixels;
  if (!is3D && (P.Y < t || P.Y > t + w)) return false;
  int r = PointXPixel(Index), l = BarStartPixel(Index);
  if (l > r) std::swap(l, r);
  const TBarStyle style = BarStyleAt(Index);
  if (style == bsInvPyramid || style == bsInvCone) std::swap(l, r);
  if (style == bsPyramid || style == bsCone || style == bsInvPyramid || style == bsInvCone) {
    if (!is3D) return PointInsideSidewaysTriangle(P, t, t + w, l, r);
    const TPoint tri[3] = {canvas->ProjectXYZ(l, t, StartZ), canvas->ProjectXYZ(r, t + w / 2, MiddleZ),
                           canvas->ProjectXYZ(l, t + w, StartZ)};
    return PointInsidePolygon(P, tri, 2);
  }
  if (is3D) {
    canvas->UnprojectPoint(P.X, P.Y, StartZ);
    if (P.Y < t || P.Y > t + w) return false;
  }
  if (style == bsEllipse) return PointInsideEllipse(P, l, t, r, t + w);
  return l <= P.X && P.X <= r;
}

bool THorizBarSeries::DrawForwardAt(int Index) {
  const bool inverted = GetHorizAxis() && GetHorizAxis()->Inverted();
  switch (FMultiBar) {
    case mbNone: return TCustomBarSeries::DrawForwardAt(Index);
    case mbSide:
    case mbSideAll: return false;
    case mbStacked:
    case mbSelfStack: return (MainValueAt(Index) >= 0) != inverted;
    default: return !inverted;
  }
}
