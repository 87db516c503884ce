// Mutation driver of stored charts holding the further series (the
// component stream that the chart file wraps): every series type of
// chart/extra with its own stored settings and points, pictures included.
//
// Targets:
//   binary  ReadComponentFromStream into a new chart
//   text    TextToComponent of the text form
// Rules: only the layer's exceptions come out; a chart that was read is
// drawn (flat and 3D) and writes a stream that reads again with the same
// number of points in each series.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../platform/fuzzdriver.h"
#include "chart/core/chart.h"
#include "chart/extra/arrowcha.h"
#include "chart/extra/bar3d.h"
#include "chart/extra/bubblech.h"
#include "chart/extra/errorbar.h"
#include "chart/extra/extraregister.h"
#include "chart/extra/ganttch.h"
#include "chart/extra/grafbezie.h"
#include "chart/extra/grafboxplot.h"
#include "chart/extra/grafcalendar.h"
#include "chart/extra/grafdonut.h"
#include "chart/extra/graffunnel.h"
#include "chart/extra/grafgauges.h"
#include "chart/extra/grafpolar.h"
#include "chart/extra/grafpyramid.h"
#include "chart/extra/grafrose.h"
#include "chart/extra/grafshape.h"
#include "chart/extra/grafsmith.h"
#include "chart/extra/grafvolumepipe.h"
#include "chart/extra/imagebar.h"
#include "chart/extra/imapoint.h"
#include "chart/extra/mypoint.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"

void EnsureQtApplication();  // the drawing layer's Qt start-up

namespace {

std::string Bytes(TMemoryStream& m) {
  return std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

// One chart per group of series, each with settings away from the defaults.
std::vector<std::unique_ptr<TChart>> SeedCharts() {
  std::vector<std::unique_ptr<TChart>> charts;
  auto chart = [&] {
    charts.push_back(std::make_unique<TChart>(nullptr));
    charts.back()->SetName("Chart1");
    return charts.back().get();
  };
  int names = 0;
  auto add = [&](TChart* c, TChartSeries* s) {
    s->SetName("Series" + std::to_string(++names));
    s->SetParentChart(c);
    RandSeed = 99;
    s->LoadDemoData(6);
    s->ForceSaveData = true;
    return s;
  };
  {
    TChart* c = chart();
    auto* p = static_cast<TPolarSeries*>(add(c, new TPolarSeries(c)));
    p->SetCircleLabels(true);
    p->SetClockWiseLabels(true);
    p->SetTransparency(40);
    p->Brush()->SetStyle(bsSolid);
    p->SetCircleBackColor(clYellow);
    p->CircleGradient()->SetVisible(true);
    p->CircleLabelsFont()->SetSize(13);
    p->SetCircleLabelsRotated(true);
    p->CirclePen()->SetWidth(2);
    p->SetCloseCircle(false);
    p->SetRadiusIncrement(2.5);
    p->SetAngleIncrement(45);
    p->SetCircleLabelsInside(true);
    p->SetRotationAngle(30);
    p->Pointer()->SetStyle(psTriangle);
    p->Pen()->SetWidth(3);
    auto* r = static_cast<TRadarSeries*>(add(c, new TRadarSeries(c)));
    r->SetLabelsMargin(-20);
    add(c, new TPolarBarSeries(c));
  }
  {
    TChart* c = chart();
    auto* w = static_cast<TWindRoseSeries*>(add(c, new TWindRoseSeries(c)));
    w->SetMirrorLabels(true);
    w->SetAngleIncrement(10);
    w->SetRotationAngle(45);
    auto* k = static_cast<TClockSeries*>(add(c, new TClockSeries(c)));
    k->SetStyle(cssDecimal);
    k->PenHours()->SetWidth(4);
    k->PenMinutes()->SetColor(clRed);
    k->PenSeconds()->SetVisible(false);
    k->SetRotationAngle(0);
  }
  {
    TChart* c = chart();
    auto* s = static_cast<TSmithSeries*>(add(c, new TSmithSeries(c)));
    s->SetImagSymbol("j");
    s->CCirclePen()->SetWidth(2);
    s->RCirclePen()->SetColor(clRed);
    s->CirclePen()->SetStyle(psDash);
    s->SetCLabels(false);
    s->SetRLabels(false);
    s->CLabelsFont()->SetSize(12);
    s->RLabelsFont()->SetSize(5);
    s->SetCircleBackColor(clAqua);
  }
  {
    TChart* c = chart();
    auto* g = static_cast<TGaugeSeries*>(add(c, new TGaugeSeries(c)));
    g->SetMinimum(-50);
    g->SetMaximum(150);
    g->SetTotalAngle(270);
    g->SetHandStyle(hsTriangle);
    g->EndPoint()->SetVisible(true);
    g->Center()->SetHorizSize(9);
    g->SetHandDistance(5);
    g->SetLabelsInside(false);
    g->SetMinorTickDistance(3);
    g->SetFullRepaint(true);
    g->SetValue(77);
    g->SetRotationAngle(90);
    g->CircleGradient()->SetVisible(true);
  }
  {
    TChart* c = chart();
    static_cast<TBubbleSeries*>(add(c, new TBubbleSeries(c)))->SetSquared(false);
    static_cast<TArrowSeries*>(add(c, new TArrowSeries(c)))->SetArrowPercent(70);
    auto* g = static_cast<TGanttSeries*>(add(c, new TGanttSeries(c)));
    if (g->PointCount() > 1) g->NextTask()->SetValue(0, 1);
    g->ConnectingPen()->SetWidth(2);
  }
  {
    TChart* c = chart();
    auto* s = static_cast<TChartShape*>(add(c, new TChartShape(c)));
    s->SetStyle(chasPyramid);
    s->SetXYStyle(xysAxisOrigin);
    s->Text()->Add("text");
    s->SetVertAlign(vaBottom);
    s->SetAlignment(taRightJustify);
    s->Font()->SetSize(14);
    s->Gradient()->SetVisible(true);
    s->SetRoundRectangle(true);
    s->SetTransparent(true);
    s->SetX0(1.5);
    s->SetY1(7);
  }
  {
    TChart* c = chart();
    auto* f = static_cast<TFunnelSeries*>(add(c, new TFunnelSeries(c)));
    f->SetDifferenceLimit(12.5);
    f->SetAutoUpdate(false);
    f->LinesPen()->SetWidth(2);
    f->SetQuotesSorted(true);
    static_cast<TPyramidSeries*>(add(c, new TPyramidSeries(c)))->SetSizePercent(80);
  }
  {
    TChart* c = chart();
    static_cast<TDonutSeries*>(add(c, new TDonutSeries(c)))->SetDonutPercent(20);
  }
  {
    TChart* c = chart();
    auto* v = static_cast<TVolumePipeSeries*>(add(c, new TVolumePipeSeries(c)));
    v->SetConePercent(70);
    v->Gradient()->SetVisible(true);
    v->LinesPen()->SetWidth(3);
    auto* b = static_cast<TBezierSeries*>(add(c, new TBezierSeries(c)));
    b->SetBezierStyle(bsBezier4);
    b->SetNumBezierPoints(5);
    b->LinePen()->SetWidth(2);
  }
  {
    TChart* c = chart();
    auto* e = static_cast<TErrorSeries*>(add(c, new TErrorSeries(c)));
    e->SetErrorStyle(essLeftRight);
    e->SetErrorWidthUnits(ewuPixels);
    e->SetErrorWidth(7);
    e->ErrorPen()->SetWidth(2);
    auto* eb = static_cast<TErrorBarSeries*>(add(c, new TErrorBarSeries(c)));
    eb->SetErrorWidth(0);
    eb->ErrorPen()->SetColor(clGreen);
    auto* h = static_cast<THighLowSeries*>(add(c, new THighLowSeries(c)));
    h->SetTransparency(30);
    h->HighBrush()->SetStyle(bsSolid);
    h->LowBrush()->SetStyle(bsCross);
    h->HighPen()->SetWidth(2);
    h->LowPen()->SetColor(clRed);
    h->Pen()->SetVisible(false);
  }
  {
    TChart* c = chart();
    auto* b = static_cast<TBoxSeries*>(add(c, new TBoxSeries(c)));
    b->SetWhiskerLength(0.5);
    b->ExtrOut()->SetStyle(psDiamond);
    b->MildOut()->SetHorizSize(7);
    b->MedianPen()->SetWidth(3);
    b->WhiskerPen()->SetColor(clRed);
    auto* hb = static_cast<THorizBoxSeries*>(add(c, new THorizBoxSeries(c)));
    hb->SetPosition(3);
    hb->SetUseCustomValues(true);
  }
  {
    TChart* c = chart();
    auto* cal = static_cast<TCalendarSeries*>(add(c, new TCalendarSeries(c)));
    cal->SetDate(45500.5);
    cal->WeekDays()->SetUpperCase(true);
    cal->Trailing()->SetVisible(false);
    cal->Months()->SetFormat("mmm yy");
    cal->Days()->SetTransparency(20);
    cal->Sunday()->Pen()->SetWidth(2);
    cal->Today()->Brush()->SetStyle(bsCross);
    cal->SetNextButtonVisible(false);
    cal->SetPreviousButtonVisible(false);
    cal->Pen()->SetColor(clGreen);
  }
  {
    TChart* c = chart();
    static_cast<TMyPointSeries*>(add(c, new TMyPointSeries(c)))->LinesPen()->SetWidth(2);
    static_cast<TBarJoinSeries*>(add(c, new TBarJoinSeries(c)))->JoinPen()->SetColor(clBlue);
    add(c, new TBar3DSeries(c));
  }
  {
    TChart* c = chart();
    auto* bars = static_cast<TImageBarSeries*>(add(c, new TImageBarSeries(c)));
    TBitmap small(3, 2);
    TPicture picture;
    picture.SetGraphic(&small);
    bars->SetImage(&picture);
    bars->SetImageTiled(true);
    auto* points = static_cast<TImagePointSeries*>(add(c, new TImagePointSeries(c)));
    points->SetImageTransparent(false);
    points->SetImagePoint(&picture);
    auto* delta = static_cast<TDeltaPointSeries*>(add(c, new TDeltaPointSeries(c)));
    delta->SetImageStyle(disHands);
    delta->SetImageTransparent(true);
    delta->SetEqualImage(&picture);
  }
  return charts;
}

std::vector<std::string> BinarySeeds() {
  std::vector<std::string> seeds;
  for (auto& c : SeedCharts()) {
    TMemoryStream m;
    WriteComponentToStream(m, c.get());
    seeds.push_back(Bytes(m));
  }
  return seeds;
}

std::vector<std::string> TextSeeds() {
  std::vector<std::string> seeds;
  for (auto& c : SeedCharts()) seeds.push_back(ComponentToText(c.get()));
  return seeds;
}

void Check(TChart& chart) {
  for (bool view3D : {false, true}) {
    chart.SetView3D(view3D);
    chart.RenderBitmap(clWhite, Rect(0, 0, 200, 150), pf24bit);
  }
  for (int i = 0; i < chart.NumberOfSeries(); ++i) chart.SeriesAt(i)->ForceSaveData = true;
  TMemoryStream again;
  WriteComponentToStream(again, &chart);
  // Counted after writing: an emptied gauge takes its point back when its
  // value is read.
  std::vector<int> counts;
  for (int i = 0; i < chart.NumberOfSeries(); ++i) counts.push_back(chart.SeriesAt(i)->PointCount());
  again.SetPosition(0);
  TChart back(nullptr);
  ReadComponentFromStream(again, &back);
  if (back.NumberOfSeries() != static_cast<int>(counts.size())) fuzzdriver::Fault("the series do not read back");
  for (int i = 0; i < back.NumberOfSeries(); ++i)
    if (back.SeriesAt(i)->PointCount() != counts[static_cast<size_t>(i)])
      fuzzdriver::Fault("a series' points do not read back");
}

void RunBinary(const std::string& bytes) {
  fuzzdriver::ExpectLayerErrors([&] {
    TMemoryStream m;
    if (!bytes.empty()) m.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    m.SetPosition(0);
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 200, 150);
    ReadComponentFromStream(m, &chart);
    Check(chart);
  });
}

void RunText(const std::string& text) {
  fuzzdriver::ExpectLayerErrors([&] {
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 200, 150);
    TextToComponent(text, &chart);
    Check(chart);
  });
}

}  // namespace

int main(int argc, char** argv) {
  EnsureQtApplication();
  RegisterClasses({&TChart::StaticClass()});
  RegisterExtraSeriesTypes();
  std::vector<fuzzdriver::TTarget> targets;
  const std::vector<std::string> numbers{std::string("\x00\x00\x00\x00", 4), std::string("\xFF\xFF\xFF\x7F", 4),
                                         std::string("\x00\x00\x00\x80", 4), std::string("\xFF", 1),
                                         std::string("\x00\x00\xF0\x7F", 4), std::string("\x07\x06", 2)};
  const std::vector<std::string> words{"Style", "Data", "Value", "Date", "Image.Data", "NumBezierPoints",
                                       "AngleIncrement", "1E308", "-1E308", "NaN", "clNone", "= 0", "= -1"};
  targets.push_back({"binary", BinarySeeds(), RunBinary, numbers});
  targets.push_back({"text", TextSeeds(), RunText, words});
  return fuzzdriver::Main(argc, argv, "fuzz-extracharts", targets);
}
