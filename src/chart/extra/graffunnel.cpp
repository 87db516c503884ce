// The funnel series.
#include "chart/extra/graffunnel.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "platform/rtl/format.h"

ZV_CLASS_IMPL(TFunnelSeries, TChartSeries)

void TFunnelSeries::DeclareProperties(TClassInfo& c) {
  using S = TFunnelSeries;
  auto color = [&c](const char* name, TColor (S::*get)() const, void (S::*set)(TColor), TColor def) {
    c.Integer<S>(name, [get](S* s) { return static_cast<int>((s->*get)()); },
                 [set](S* s, int v) { (s->*set)(static_cast<TColor>(v)); }, static_cast<int>(def))
        .WithIdents(&ColorIdents());
  };
  color("AboveColor", &S::AboveColor, &S::SetAboveColor, clGreen);
  c.Boolean<S>("AutoUpdate", &S::AutoUpdate, &S::SetAutoUpdate, true);
  color("BelowColor", &S::BelowColor, &S::SetBelowColor, clRed);
  c.Object<S, TChartBrush>("Brush", &S::Brush, &S::SetBrush);
  c.Float<S>("DifferenceLimit", ftDouble, &S::DifferenceLimit, &S::SetDifferenceLimit, 30.0L);
  c.Object<S, TChartPen>("LinesPen", &S::LinesPen, &S::SetLinesPen);
  c.Object<S, TChartValueList>("OpportunityValues", &S::OpportunityValues, &S::SetOpportunityValues);
  c.Object<S, TChartPen>("Pen", &S::Pen, [](S* s, TChartPen* p) { s->SetPen(p); });
  c.Object<S, TChartValueList>("QuoteValues", [](S* s) { return s->QuoteValues(); },
                               [](S* s, TChartValueList* v) { s->SetQuoteValues(v); });
  c.Boolean<S>("QuotesSorted", &S::QuotesSorted, &S::SetQuotesSorted, false);
  color("WithinColor", &S::WithinColor, &S::SetWithinColor, clYellow);
}

TFunnelSeries::TFunnelSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  XValues()->SetName("");
  XValues()->SetOrder(loNone);
  YValues()->SetName(GrafMsgExQuoteValues);
  YValues()->SetOrder(loDescending);
  FOpportunityValues = new TChartValueList(this, GrafMsgExOpportunityValues);
  FLinesPen = NewPen();
  FPercentFormat = GrafMsgExPercentFormat;
  SingleColor = false;
  CalcVisibleRange = false;
  OnGetMarkText = [](TChartSeries* Sender, int Index, std::string& Text) {
    auto* f = static_cast<TFunnelSeries*>(Sender);
    const double q = f->QuoteValues()->GetValue(Index);
    Text = FormatFloat(f->PercentFormat(), q == 0 ? 0 : f->OpportunityValues()->GetValue(Index) * 100 / q);
  };
}

TFunnelSeries::~TFunnelSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

int TFunnelSeries::AddFunnelSegment(double Quote, double Opportunity, const std::string& Label, TColor Color) {
  FOpportunityValues->TempValue = Opportunity;
  int index = AddSingleValue(Quote, Label, Color);
  if (!FQuotesSorted) {
    SortSegments();
    index = -1;
    for (int i = 0; i < PointCount() && index < 0; ++i)
      if (YValues()->GetValue(i) == Quote && FOpportunityValues->GetValue(i) == Opportunity) index = i;
  }
  return index;
}

void TFunnelSeries::SortSegments() {
  YValues()->SortByOrder();
  XValues()->FillWithIndices();
  FSorted = true;
}

void TFunnelSeries::RecalcFunnel() {
  if (!FSorted) SortSegments();
  const int n = PointCount();
  if (n == 0) return;
  Top = YValues()->MaxValue();
  Bottom = YValues()->MinValue();
  Slope = (Top - Bottom) * 0.5 / n;
}

void TFunnelSeries::SetQuotesSorted(bool Value) {
  FQuotesSorted = Value;
  FSorted = Value;
}

void TFunnelSeries::SetAutoUpdate(bool Value) {
  FAutoUpdate = Value;
  if (Value) RecalcFunnel();
}

void TFunnelSeries::SetDifferenceLimit(double Value) {
  if (FDifferenceLimit == Value) return;
  FDifferenceLimit = Value;
  if (FAutoUpdate) RecalcFunnel();
  RequestRedraw();
}

void TFunnelSeries::PrepareChartDraw() {
  TChartSeries::PrepareChartDraw();
  if (Active() && FVertAxisInUse) FVertAxisInUse->SetVisible(false);
}

// ---- Geometry ----------------------------------------------------------------------------------

double TFunnelSeries::Ratio(int Index) const {
  const double q = YValues()->GetValue(Index);
  return q == 0 ? 0 : FOpportunityValues->GetValue(Index) / q;
}

TColor TFunnelSeries::RatioColor(double R) const {
  if (R >= 1) return FAboveColor;
  if ((1 - R) * 100 > FDifferenceLimit) return FBelowColor;
  return FWithinColor;
}

TColor TFunnelSeries::SegmentPolygon(int Index, std::vector<TPoint>& Points) {
  const double r = Ratio(Index);
  const double i = Index, s = Slope, top = Top;
  auto h = [this](double x) { return HorizPixelOf(x); };
  auto v = [this](double y) { return VertPixelOf(y); };
  const TPoint tl = Point(h(i - 0.5), v(top - i * s));
  const TPoint tr = Point(h(i + 0.5), v(top - (i + 1) * s));
  const TPoint br = Point(h(i + 0.5), v((i + 1) * s));
  const TPoint bl = Point(h(i - 0.5), v(i * s));
  const double left = top - 2 * i * s;  // the segment's left height
  const int m = v(left * r + i * s);
  Points.clear();
  if (tl.Y >= m) {
    Points = {tl, tr, br, bl};
  } else if (s != 0 && tl.Y < m && m <= tr.Y) {
    Points = {Point(tl.X, m), Point(h(i + left * (1 - r) / s - 0.5), m), tr, br, bl};
  } else if (s != 0 && br.Y < m) {
    Points = {Point(tl.X, m), Point(h(i + left * r / s - 0.5), m), bl};
  } else {
    // Equal quotes (no slope) fill the segment's whole width up to the level.
    Points = {Point(tl.X, m), Point(tr.X, m), br, bl};
  }
  return RatioColor(r);
}

// ---- Drawing -----------------------------------------------------------------------------------

void TFunnelSeries::DrawPoint(int Index) {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  std::vector<TPoint> points;
  const TColor c = SegmentPolygon(Index, points);
  canvas->ApplyBrush(Brush(), c, Brush()->Color());
  if (Pen()->Visible()) canvas->ApplyPen(Pen());
  else canvas->CanvasPen()->SetStyle(psClear);
  if (FParentChart->View3D()) canvas->PolygonWithZ(points, StartZ);
  else canvas->Polygon(points);
}

void TFunnelSeries::DrawVisiblePoints() {
  if (!FParentChart) return;
  // The geometry follows the data, however the segments were added.
  RecalcFunnel();
  TChartSeries::DrawVisiblePoints();
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool is3D = FParentChart->View3D();
  const int n = PointCount();
  if (Pen()->Visible()) {
    canvas->ApplyPen(Pen());
    canvas->CanvasBrush()->SetStyle(bsClear);
    const TPoint outline[4] = {Point(HorizPixelOf(-0.5), VertPixelOf(Top)),
                               Point(HorizPixelOf(n - 0.5), VertPixelOf((Top + Bottom) / 2)),
                               Point(HorizPixelOf(n - 0.5), VertPixelOf((Top - Bottom) / 2)),
                               Point(HorizPixelOf(-0.5), VertPixelOf(0))};
    if (is3D) canvas->PolygonWithZ(outline, StartZ);
    else canvas->Polygon(outline);
  }
  if (FLinesPen->Visible() && FirstVisible >= 0) {
    canvas->ApplyPen(FLinesPen.get());
    for (int i = FirstVisible; i < LastVisible; ++i) {
      const int x = HorizPixelOf(i + 0.5);
      const int y0 = VertPixelOf(Top - (i + 1) * Slope), y1 = VertPixelOf((i + 1) * Slope);
      if (is3D) canvas->VerticalLine3D(x, y0, y1, StartZ);
      else canvas->LineFromTo(x, y0, x, y1);
    }
  }
}

void TFunnelSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  const int x = HorizPixelOf(Index), y = VertPixelOf(Top * 0.5);
  Position.LeftTop = Point(x - Position.Width / 2, y - Position.Height / 2);
  Position.ArrowFrom = Position.ArrowTo = Point(x, y);
  TChartSeries::DrawPointMark(Index, Text, Position);
}

TColor TFunnelSeries::LegendSymbolColor(int Row) {
  switch (Row) {
    case 0: return FAboveColor;
    case 1: return FWithinColor;
    default: return FBelowColor;
  }
}

std::string TFunnelSeries::ComposeLegendText(int Index, TLegendTextStyle) {
  if (Index == 0) return GrafMsgExExceedsQuota;
  const std::string limit = FormatFloat(FPercentFormat, FDifferenceLimit);
  return limit + (Index == 1 ? GrafMsgExWithinQuota : GrafMsgExOrMoreBelowQuota);
}

int TFunnelSeries::IndexAtPoint(int X, int Y) {
  const int base = TChartSeries::IndexAtPoint(X, Y);
  if (base >= 0 || FirstVisible < 0) return base;
  std::vector<TPoint> points;
  for (int i = FirstVisible; i <= LastVisible; ++i) {
    SegmentPolygon(i, points);
    if (PointInsidePolygon(Point(X, Y), points)) return i;
  }
  return -1;
}

void TFunnelSeries::GenerateRandomPoints(int Count, bool) {
  for (int k = 0; k < Count; ++k) {
    const double quote = Count * 2.3 * (k + 1);
    const double opportunity = (2.3 - RandomInteger(2)) * Count * (k + 2);
    AddFunnelSegment(quote, opportunity, GrafMsgExSegmentPrefix + std::to_string(k + 1), clDefault);
  }
  RecalcFunnel();
}
