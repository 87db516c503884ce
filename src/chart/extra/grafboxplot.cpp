// Box plot series: the statistics, the outliers, the box and its whiskers.
#include "chart/extra/grafboxplot.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"

double BoxQuantile(const std::vector<double>& Sorted, double Q) {
  const int n = static_cast<int>(Sorted.size());
  auto p = [n](int k) { return k == 0 ? 0.0 : (k - 0.5) / n; };
  int k = 1;
  while (k < n && p(k) < Q) ++k;
  if (k < 2) return Sorted.front();
  const double p0 = p(k - 1), p1 = p(k);
  const double a = Sorted[static_cast<size_t>(k - 2)], b = Sorted[static_cast<size_t>(k - 1)];
  return p1 == p0 ? a : a + (b - a) * (Q - p0) / (p1 - p0);
}

ZV_CLASS_IMPL(TCustomBoxSeries, TPointSeries)

void TCustomBoxSeries::DeclareProperties(TClassInfo& c) {
  using S = TCustomBoxSeries;
  c.Object<S, TSeriesPointer>("ExtrOut", &S::ExtrOut, &S::SetExtrOut);
  c.Object<S, TChartPen>("MedianPen", &S::MedianPen, &S::SetMedianPen);
  c.Object<S, TSeriesPointer>("MildOut", &S::MildOut, &S::SetMildOut);
  c.Float<S>("Position", ftDouble, &S::Position, &S::SetPosition, 0.0L);
  c.Object<S, TChartValueList>("SampleValues", [](S* s) { return s->SampleValues(); },
                               [](S* s, TChartValueList* v) { s->SetSampleValues(v); });
  c.Boolean<S>("UseCustomValues", &S::UseCustomValues, &S::SetUseCustomValues, false);
  c.Float<S>("WhiskerLength", ftDouble, &S::WhiskerLength, &S::SetWhiskerLength, 1.5L);
  c.Object<S, TChartPen>("WhiskerPen", &S::WhiskerPen, &S::SetWhiskerPen);
}

TCustomBoxSeries::TCustomBoxSeries(TComponent* AOwner) : TPointSeries(AOwner) {
  FExtrOut = std::make_unique<TSeriesPointer>(this);
  FExtrOut->SetStyle(psStar);
  FMildOut = std::make_unique<TSeriesPointer>(this);
  FMildOut->SetStyle(psCircle);
  FMedianPen = NewPen();
  FMedianPen->SetStyle(psDot);
  FWhiskerPen = NewPen();
  FPointer->SetDraw3D(false);
  FPointer->Pen()->SetWidth(1);
  FPointer->StoreHorizSize(15);
  FPointer->StoreVertSize(15);
  FPointer->Brush()->SetColor(clWhite);
  FMarks->SetVisible(false);
  FMarks->Callout()->SetLength(0);
  XValues()->SetName("");
  YValues()->SetName("Samples");
  CalcVisibleRange = false;
}

TCustomBoxSeries::~TCustomBoxSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

void TCustomBoxSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCustomBoxSeries*>(Source)) {
    FExtrOut->Assign(s->FExtrOut.get());
    FMedianPen->Assign(s->FMedianPen.get());
    FMildOut->Assign(s->FMildOut.get());
    FPosition = s->FPosition;
    FWhiskerLength = s->FWhiskerLength;
    FWhiskerPen->Assign(s->FWhiskerPen.get());
    FUseCustomValues = s->FUseCustomValues;
  }
  TPointSeries::Assign(Source);
}

void TCustomBoxSeries::SetParentChart(TCustomAxisPanel* Value) {
  TPointSeries::SetParentChart(Value);
  if (!ComponentState().Contains(csDestroying)) {
    FExtrOut->AttachToPanel(Value);
    FMildOut->AttachToPanel(Value);
  }
}

void TCustomBoxSeries::SetSampleValues(TChartValueList* Value) {
  if (FVerticalBox) SetYValues(Value);
  else SetXValues(Value);
}

double TCustomBoxSeries::LargestX() { return FVerticalBox ? FPosition : TPointSeries::LargestX(); }
double TCustomBoxSeries::SmallestX() { return FVerticalBox ? FPosition : TPointSeries::SmallestX(); }
double TCustomBoxSeries::LargestY() { return FVerticalBox ? TPointSeries::LargestY() : FPosition; }
double TCustomBoxSeries::SmallestY() { return FVerticalBox ? TPointSeries::SmallestY() : FPosition; }

// ---- Statistics --------------------------------------------------------------------------------

bool TCustomBoxSeries::HasBox() const { return FUseCustomValues || PointCount() >= 3; }

void TCustomBoxSeries::RecalcStats() {
  if (FUseCustomValues || PointCount() == 0) return;
  // The rules need the samples in ascending order; the series keeps the
  // order they were added in.
  TChartValueList* list = SampleValues();
  std::vector<double> s(static_cast<size_t>(list->Count()));
  for (int i = 0; i < list->Count(); ++i) s[static_cast<size_t>(i)] = list->GetValue(i);
  std::sort(s.begin(), s.end());
  const int n = static_cast<int>(s.size()), h = n / 2;
  Median = n % 2 != 0 ? s[static_cast<size_t>(h)] : (s[static_cast<size_t>(h - 1)] + s[static_cast<size_t>(h)]) * 0.5;
  if (n < 3) {
    LowerQuartile = UpperQuartile = LowerInnerFence = UpperInnerFence = Median;
    LowerOuterFence = UpperOuterFence = LowerWhiskerEnd = UpperWhiskerEnd = Median;
    return;
  }
  LowerQuartile = BoxQuantile(s, 0.25);
  UpperQuartile = BoxQuantile(s, 0.75);
  const double iqr = UpperQuartile - LowerQuartile;
  LowerInnerFence = LowerQuartile - FWhiskerLength * iqr;
  UpperInnerFence = UpperQuartile + FWhiskerLength * iqr;
  LowerOuterFence = LowerQuartile - 2 * FWhiskerLength * iqr;
  UpperOuterFence = UpperQuartile + 2 * FWhiskerLength * iqr;
  // A sample on a fence is no outlier: the whisker reaches it.
  LowerWhiskerEnd = s[static_cast<size_t>(h + 1)];
  for (int i = 0; i <= h; ++i)
    if (s[static_cast<size_t>(i)] >= LowerInnerFence) {
      LowerWhiskerEnd = s[static_cast<size_t>(i)];
      break;
    }
  UpperWhiskerEnd = s.back();
  for (int i = h; i < n; ++i)
    if (s[static_cast<size_t>(i)] > UpperInnerFence) {
      UpperWhiskerEnd = s[static_cast<size_t>(std::max(i - 1, 0))];
      break;
    }
}

// ---- Drawing -----------------------------------------------------------------------------------

void TCustomBoxSeries::DrawPoint(int Index) {
  if (!FParentChart) return;
  const TColor c = PointColor(Index);
  if (c == clNone) return;
  const double v = SampleValues()->GetValue(Index);
  TSeriesPointer* marker;
  if (!HasBox()) {
    marker = FMildOut.get();  // few samples: each one is shown
  } else if (v >= LowerInnerFence && v <= UpperInnerFence) {
    return;
  } else if ((v >= UpperInnerFence && v <= UpperOuterFence) || (v >= LowerOuterFence && v <= LowerInnerFence)) {
    marker = FMildOut.get();
  } else {
    marker = FExtrOut.get();
  }
  if (!marker->Visible()) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int x = FVerticalBox ? HorizPixelOf(FPosition) : HorizPixelOf(v);
  const int y = FVerticalBox ? VertPixelOf(v) : VertPixelOf(FPosition);
  marker->SetupCanvas(canvas, c);
  marker->DrawStyled(x, y, marker->Style(), c);
}

void TCustomBoxSeries::DrawVisiblePoints() {
  RecalcStats();
  TChartSeries::DrawVisiblePoints();
  if (FParentChart && HasBox()) DrawBox();
}

void TCustomBoxSeries::DrawBox() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool is3D = FParentChart->View3D();
  const int w = FPointer->HorizSize();
  int left, right, top, bottom;
  if (FVerticalBox) {
    const int c = HorizPixelOf(FPosition);
    left = c - w;
    right = c + w;
    top = VertPixelOf(UpperQuartile);
    bottom = VertPixelOf(LowerQuartile);
  } else {
    const int c = VertPixelOf(FPosition);
    top = c - w;
    bottom = c + w;
    left = HorizPixelOf(LowerQuartile);
    right = HorizPixelOf(UpperQuartile);
  }
  if (FHorizAxisInUse && FHorizAxisInUse->Inverted()) std::swap(left, right);
  if (FVertAxisInUse && FVertAxisInUse->Inverted()) std::swap(top, bottom);
  if (FPointer->Visible()) {
    const TColor c = FPointer->BrushColor();
    FPointer->SetupCanvas(canvas, c);
    if (FVerticalBox)
      FPointer->DrawShapeAt(canvas, is3D, left + w - 1, top + (bottom - top) / 2, w - 1, (bottom - top) / 2 - 1, c,
                            FPointer->Style());
    else
      FPointer->DrawShapeAt(canvas, is3D, left + (right - left) / 2, top + w - 1, (right - left) / 2 - 1,
                            FPointer->VertSize() - 1, c, FPointer->Style());
  }
  auto line = [&](int x0, int y0, int x1, int y1, int z) {
    if (is3D) canvas->LineAtDepth(x0, y0, x1, y1, z);
    else canvas->LineFromTo(x0, y0, x1, y1);
  };
  if (FMedianPen->Visible()) {
    canvas->CanvasBrush()->SetStyle(bsClear);
    canvas->ApplyPen(FMedianPen.get());
    if (FVerticalBox) {
      const int y = VertPixelOf(Median);
      line(left, y, right, y, StartZ);
    } else {
      const int x = HorizPixelOf(Median);
      line(x, top, x, bottom, StartZ);
    }
  }
  if (FWhiskerPen->Visible()) {
    canvas->ApplyPen(FWhiskerPen.get());
    const int z = FPointer->Visible() && is3D ? EndZ : StartZ;
    if (FVerticalBox) {
      const int x = (left + right) / 2;
      for (const auto& [from, to] : {std::pair{LowerQuartile, LowerWhiskerEnd}, {UpperQuartile, UpperWhiskerEnd}}) {
        const int y0 = VertPixelOf(from), y1 = VertPixelOf(to);
        line(x, y0, x, y1, z);
        line(x - w, y1, x + w, y1, z);
      }
    } else {
      const int y = (top + bottom) / 2;
      for (const auto& [from, to] : {std::pair{LowerQuartile, LowerWhiskerEnd}, {UpperQuartile, UpperWhiskerEnd}}) {
        const int x0 = HorizPixelOf(from), x1 = HorizPixelOf(to);
        line(x0, y, x1, y, z);
        line(x1, y - w, x1, y + w, z);
      }
    }
  }
}

void TCustomBoxSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  if (FVerticalBox) {
    const int c = HorizPixelOf(FPosition);
    Position.LeftTop.X += c - Position.ArrowTo.X;
    Position.ArrowFrom.X = Position.ArrowTo.X = c;
  } else {
    const int c = VertPixelOf(FPosition);
    Position.LeftTop.Y += c - Position.ArrowTo.Y;
    Position.ArrowFrom.Y = Position.ArrowTo.Y = c;
  }
  TPointSeries::DrawPointMark(Index, Text, Position);
}

// ---- Samples -----------------------------------------------------------------------------------

void TCustomBoxSeries::GenerateRandomPoints(int Count, bool) {
  const int series = FParentChart ? FParentChart->NumberOfSeries() + 1 : 1;
  const double k = series * (RandomInteger(10) + 3);
  AddSingleValue(-k);
  for (int b = 2; b <= Count - 2; ++b) AddSingleValue(k * b / Count);
  AddSingleValue(2 * k);
}

void TCustomBoxSeries::SetupGalleryPreview(bool Enabled) {
  TPointSeries::SetupGalleryPreview(Enabled);
  const int position = FParentChart ? std::max(0, FParentChart->SeriesList()->IndexOf(this)) + 1 : 1;
  SetPosition(position);
  FPointer->SetHorizSize(12);
  FMildOut->SetHorizSize(3);
  FExtrOut->SetVertSize(3);
  LoadDemoData(position * 10);
}

// ============================================================================
// TBoxSeries, THorizBoxSeries

ZV_CLASS_IMPL_NOPROPS(TBoxSeries, TCustomBoxSeries)
ZV_CLASS_IMPL_NOPROPS(THorizBoxSeries, TCustomBoxSeries)

THorizBoxSeries::THorizBoxSeries(TComponent* AOwner) : TCustomBoxSeries(AOwner) {
  SetHorizontalOrientation();
  FVerticalBox = false;
  XValues()->SetName("Samples");
  XValues()->SetOrder(loNone);
  YValues()->SetName("");
}
