// The axis panel: the chart panel that owns axes, series and tools, answers
// their queries, allocates colours, pages through points and refills series.
#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/core/grengine.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/format.h"
#include "platform/ui/streaming.h"

ZV_CLASS_IMPL(TCustomAxisPanel, TCustomGrafPanelExtended)

void TCustomAxisPanel::DeclareProperties(TClassInfo& c) {
  using P = TCustomAxisPanel;
  c.Integer<P>("Chart3DPercent", &P::Chart3DPercent, &P::SetChart3DPercent, 15);
  c.Boolean<P>("AxisBehind", &P::AxisBehind, &P::SetAxisBehind, true);
  c.Boolean<P>("AxisVisible", &P::AxisVisible, &P::SetAxisVisible, true);
  c.Boolean<P>("ClipPoints", &P::ClipPoints, &P::SetClipPoints, true);
  c.Object<P, TChartCustomAxes>("CustomAxes", &P::CustomAxes, &P::SetCustomAxes)
      .WithStored([](TObject* o) { return static_cast<P*>(o)->CustomAxes()->Count() > 0; });
  c.Object<P, TChartAxis>("BottomAxis", &P::BottomAxis, &P::SetBottomAxis);
  c.Object<P, TChartAxis>("DepthAxis", [](P* p) -> TChartAxis* { return p->DepthAxis(); }, &P::SetDepthAxis);
  c.Object<P, TChartAxis>("DepthTopAxis", [](P* p) -> TChartAxis* { return p->DepthTopAxis(); },
                          &P::SetDepthTopAxis);
  c.Object<P, TChartAxis>("LeftAxis", &P::LeftAxis, &P::SetLeftAxis);
  c.Integer<P>("MaxPointsPerPage", &P::MaxPointsPerPage, &P::SetMaxPointsPerPage, 0);
  c.Integer<P>("Page", &P::Page, &P::SetPage, 1);
  c.Object<P, TChartAxis>("RightAxis", &P::RightAxis, &P::SetRightAxis);
  c.Boolean<P>("ScaleLastPage", &P::ScaleLastPage, &P::SetScaleLastPage, true);
  c.Object<P, TChartAxis>("TopAxis", &P::TopAxis, &P::SetTopAxis);
  c.Boolean<P>("View3DWalls", &P::View3DWalls, &P::SetView3DWalls, true);
}

TCustomAxisPanel::TCustomAxisPanel(TComponent* AOwner) : TCustomGrafPanelExtended(AOwner) {
  EngineUnitStartup();
  RepaintOnChange = false;
  FTools = std::make_unique<TChartTools>(this);
  FSeriesList = std::make_unique<TChartSeriesList>(this);
  FAxes = std::make_unique<TChartAxes>(this);
  FCustomAxes = std::make_unique<TChartCustomAxes>(this);

  FBottomAxis = new TChartAxis(this, true);
  FBottomAxis->FHorizontal = true;
  FTopAxis = new TChartAxis(this, true);
  FTopAxis->FHorizontal = true;
  FTopAxis->FOtherSide = true;
  FTopAxis->FZPosition = 100;
  FTopAxis->FGrid->SetZPosition(100);
  FTopAxis->FGrid->ZPositionDefault = 100;
  FLeftAxis = new TChartAxis(this, true);
  FLeftAxis->FTitle->SetAngle(90);
  FLeftAxis->FTitle->DefaultAngle = 90;
  FRightAxis = new TChartAxis(this, true);
  FRightAxis->FTitle->SetAngle(270);
  FRightAxis->FTitle->DefaultAngle = 270;
  FRightAxis->FOtherSide = true;
  FRightAxis->FZPosition = 100;
  FRightAxis->FGrid->SetZPosition(100);
  FRightAxis->FGrid->ZPositionDefault = 100;
  FDepthAxis = new TChartDepthAxis(this, true);
  FDepthAxis->FVisible = false;
  FDepthAxis->RunsAlongDepth = true;
  FDepthAxis->FOtherSide = true;
  FDepthTopAxis = new TChartDepthAxis(this, true);
  FDepthTopAxis->FVisible = false;
  FDepthTopAxis->RunsAlongDepth = true;
  for (TChartAxis* axis : *FAxes) axis->ChooseMappingFunctions();
  FPage = 1;
  FScaleLastPage = true;
  RepaintOnChange = true;
}

TCustomAxisPanel::~TCustomAxisPanel() {
  Destroying();
  RepaintOnChange = false;
  DestroySeriesOfClass(nullptr);
  for (TGrafCustomTool* tool : *FTools)
    if (auto* axisTool = dynamic_cast<TGrafCustomToolAxis*>(tool)) axisTool->ClearAxisReference();
  FTools->Clear();
  FAxes->Clear();
  FTopAxis = FBottomAxis = FLeftAxis = FRightAxis = nullptr;
  FDepthAxis = FDepthTopAxis = nullptr;
  FCustomAxes.reset();
  FSeriesList.reset();
  DesignerLink.reset();
  FTools.reset();
  FAxes.reset();
}

// ---- Hooks ---------------------------------------------------------------------------------------

void TCustomAxisPanel::FireAfterDraw() {
  if (OnAfterDraw) OnAfterDraw(this);
}

void TCustomAxisPanel::FireBeforeDrawAxes() {
  if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
}

void TCustomAxisPanel::FireBeforeDrawChart() {
  if (OnBeforeDrawChart) OnBeforeDrawChart(this);
}

void TCustomAxisPanel::FireBeforeDrawSeries() {
  if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
}

std::string TCustomAxisPanel::ValueLegendText(TChartSeries*, int) { return ""; }

void TCustomAxisPanel::PaintLegendBox(const TRect& R) {
  TCanvas3D* canvas = PanelCanvas();
  canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
  if (canvas->CanvasBrush()->Color() == LegendColor) {
    const TColor oldPen = canvas->CanvasPen()->Color();
    const TBrushStyle oldStyle = canvas->CanvasBrush()->Style();
    if (canvas->CanvasBrush()->Color() == clBlack) canvas->CanvasPen()->SetColor(clWhite);
    canvas->CanvasBrush()->SetStyle(bsClear);
    canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
    canvas->CanvasBrush()->SetStyle(oldStyle);
    canvas->CanvasPen()->SetColor(oldPen);
  }
}

// ---- Series list ------------------------------------------------------------------------------------

int TCustomAxisPanel::ActiveSeriesCount() const {
  int n = 0;
  for (TChartSeries* s : *FSeriesList)
    if (s->Active()) ++n;
  return n;
}

TChartSeries* TCustomAxisPanel::AttachSeries(TChartSeries* Series) {
  if (Series) Series->SetParentChart(this);
  return Series;
}

TChartSeries* TCustomAxisPanel::CreateAndAttachSeries(TClass SeriesClass) {
  auto* series = dynamic_cast<TChartSeries*>(CreateComponentOfClass(SeriesClass, Owner()));
  return AttachSeries(series);
}

void TCustomAxisPanel::RegisterSeries(TChartSeries* Series) {
  if (!Series || FSeriesList->IndexOf(Series) >= 0) return;
  Series->FParentChart = this;
  Series->SeriesAdded();
  FSeriesList->Add(Series);
  AnnounceSeriesEvent(Series, seAdd);
  Invalidate();
}

void TCustomAxisPanel::DetachSeries(TChartSeries* Series) { DetachSeriesAt(FSeriesList->IndexOf(Series)); }

void TCustomAxisPanel::DetachSeriesAt(int Index) {
  if (Index < 0 || Index >= FSeriesList->Count()) return;
  TChartSeries* series = FSeriesList->ItemAt(Index);
  AnnounceSeriesEvent(series, seRemove);
  series->SeriesRemoved();
  FSeriesList->Remove(series);
  Invalidate();
}

void TCustomAxisPanel::DestroySeriesOfClass(TClass SeriesClass) {
  int i = 0;
  while (i < FSeriesList->Count()) {
    TChartSeries* s = FSeriesList->ItemAt(i);
    if (!SeriesClass || s->InheritsFrom(SeriesClass)) {
      s->SetParentChart(nullptr);
      delete s;
    } else {
      ++i;
    }
  }
}

void TCustomAxisPanel::ExchangeSeriesAt(int A, int B) {
  TChartSeries* a = FSeriesList->ItemAt(A);
  TChartSeries* b = FSeriesList->ItemAt(B);
  FSeriesList->Exchange(A, B);
  if (a->Owner() && a->Owner() == b->Owner()) {
    const int ia = a->ComponentIndex(), ib = b->ComponentIndex();
    a->SetComponentIndex(ib);
    b->SetComponentIndex(ia);
  }
  const int g = FSeriesList->Groups()->GroupIndexOf(a);
  if (g >= 0) {
    TCustomSeriesList* members = FSeriesList->Groups()->GroupAt(g)->Series();
    const int ga = members->IndexOf(a), gb = members->IndexOf(b);
    if (ga >= 0 && gb >= 0) members->Exchange(ga, gb);
  }
  AnnounceSeriesEvent(nullptr, seSwap);
  Invalidate();
}

void TCustomAxisPanel::ExchangeSeries(TChartSeries* A, TChartSeries* B) {
  const int ia = FSeriesList->IndexOf(A), ib = FSeriesList->IndexOf(B);
  if (ia >= 0 && ib >= 0) ExchangeSeriesAt(ia, ib);
}

void TCustomAxisPanel::AnnounceSeriesEvent(TChartSeries* Series, int Code) {
  if (NoBroadcast || !Listeners() || Listeners()->Count() == 0) return;
  TGrafSeriesEvent event;
  event.Event = Code;
  event.Series = Series;
  NotifyListeners(&event);
}

// ---- Queries -------------------------------------------------------------------------------------

bool TCustomAxisPanel::AxisInUse(TChartAxis* Axis, bool Default) {
  bool any = false, result = false;
  for (TChartSeries* s : *FSeriesList) {
    if (!s->Active()) continue;
    any = true;
    if (!s->HasAxes()) return false;
    result = s->IsOnAxis(Axis);
    if (result) break;
  }
  return any ? result : Default;
}

bool TCustomAxisPanel::AxisUnused(TChartAxis* Axis) {
  for (TChartSeries* s : *FSeriesList)
    if (s->Active() && s->IsOnAxis(Axis)) return false;
  return true;
}

bool TCustomAxisPanel::ComputeAxisVisibility(TChartAxis* Axis) {
  if (!FAxisVisible || !Axis->Visible()) return false;
  return Axis->IsDepthAxis() ? View3D() : AxisInUse(Axis, true);
}

bool TCustomAxisPanel::AxisShown(TChartAxis* Axis) const { return Axis && Axis->ShownNow; }

TChartSeries* TCustomAxisPanel::FirstSeriesOnAxis(TChartAxis* Axis) {
  TChartSeries* any = nullptr;
  for (TChartSeries* s : *FSeriesList) {
    if (!s->IsOnAxis(Axis)) continue;
    if (s->Active()) return s;
    if (!any) any = s;
  }
  return any;
}

TChartSeries* TCustomAxisPanel::BiggestSeriesOnAxis(TChartAxis* Axis) {
  bool activeOnAxis = false;
  for (TChartSeries* s : *FSeriesList)
    if (s->Active() && s->IsOnAxis(Axis)) activeOnAxis = true;
  TChartSeries* best = nullptr;
  for (TChartSeries* s : *FSeriesList) {
    if (!s->IsOnAxis(Axis) || (activeOnAxis && !s->Active())) continue;
    if (!best || s->PointCount() > best->PointCount()) best = s;
  }
  return best;
}

double TCustomAxisPanel::AxisValueExtreme(TChartAxis* Axis, bool Smallest, bool Horizontal) {
  if (Axis->IsDepthAxis()) {
    if (Axis->ResolveLabelStyle() == talValue) {
      bool first = true;
      double result = 0;
      for (TChartSeries* s : *FSeriesList) {
        if (!s->Active()) continue;
        const double v = Smallest ? s->SmallestZ() : s->LargestZ();
        if (first || (Smallest ? v < result : v > result)) result = v;
        first = false;
      }
      return result;
    }
    return Smallest ? -0.5 : MaxZOrder + 0.5;
  }
  // Points are paged along the axis that carries a series' X values
  // (the other values than the mandatory ones).
  TChartSeries* first = FirstSeriesOnAxis(Axis);
  const bool pagingHorizontal = first ? first->IsVertical() : true;
  if (FMaxPointsPerPage > 0 && Axis->Horizontal() == pagingHorizontal) {
    TChartSeries* s = BiggestSeriesOnAxis(Axis);
    if (!s || s->PointCount() == 0) return 0;
    int a, b;
    s->PageIndexRange(a, b);
    TChartValueList* list = Horizontal ? s->XValues() : s->YValues();
    const double lo = list->GetValue(a), hi = list->GetValue(b);
    if (Smallest) return lo;
    const int n = b - a + 1;
    if (!FScaleLastPage && n < FMaxPointsPerPage)
      return a == b ? lo + static_cast<double>(FMaxPointsPerPage) / n : lo + (hi - lo) * FMaxPointsPerPage / n;
    return hi;
  }
  bool activeOnAxis = false;
  for (TChartSeries* s : *FSeriesList)
    if (s->Active() && s->IsOnAxis(Axis)) activeOnAxis = true;
  bool found = false;
  double result = 0;
  for (TChartSeries* s : *FSeriesList) {
    if ((activeOnAxis && !s->Active()) || s->PointCount() == 0) continue;
    const bool uses = Horizontal ? (s->GetHorizAxis() == Axis || s->HorizAxis() == aBothHorizAxis)
                                 : (s->GetVertAxis() == Axis || s->VertAxis() == aBothVertAxis);
    if (!uses) continue;
    double v;
    if (Horizontal) v = Smallest ? s->SmallestX() : s->LargestX();
    else v = Smallest ? s->SmallestY() : s->LargestY();
    if (!found || (Smallest ? v < result : v > result)) result = v;
    found = true;
  }
  return result;
}

int TCustomAxisPanel::LargestPointCount() const {
  int n = 0;
  for (TChartSeries* s : *FSeriesList)
    if (s->Active()) n = std::max(n, s->PointCount());
  return n;
}

int TCustomAxisPanel::WidestSeriesMark() {
  int result = 0;
  for (TChartSeries* s : *FSeriesList) {
    if (!s->Active()) continue;
    PanelCanvas()->ApplyFont(s->Marks()->Font());
    result = std::max(result, s->WidestVisibleMark());
  }
  return result;
}

int TCustomAxisPanel::WidestLabelWidth() {
  int result = 0;
  for (TChartSeries* s : *FSeriesList)
    for (int i = 0; i < s->Labels()->Count(); ++i) {
      int lines = 0;
      result = std::max(result, WidestLineWidth(s->PointLabel(i), lines));
    }
  return result;
}

int TCustomAxisPanel::WidestLineWidth(const std::string& Text, int& LineCount) {
  LineCount = 0;
  if (Text.empty()) return 0;
  int widest = 0;
  size_t start = 0;
  while (start <= Text.size()) {
    const size_t end = Text.find(LineSeparator, start);
    const std::string line = Text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos && line.empty()) break;
    ++LineCount;
    widest = std::max(widest, PanelCanvas()->TextWidth(line));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return widest;
}

TChartSeries* TCustomAxisPanel::LegendSeriesAt(int Row, bool OnlyActive) {
  if (Row < 0) return nullptr;
  int n = 0;
  for (TChartSeries* s : *FSeriesList) {
    if (!s->ShowInLegend() || (OnlyActive && !s->Active())) continue;
    if (n == Row) return s;
    ++n;
  }
  return nullptr;
}

std::string TCustomAxisPanel::LegendSeriesTitle(int Row, bool OnlyActive) {
  TChartSeries* s = LegendSeriesAt(Row, OnlyActive);
  if (!s) return "";
  return s->Title().empty() ? s->Name() : s->Title();
}

bool TCustomAxisPanel::CheckMouseOverSeries(int X, int Y) {
  bool result = false;
  std::vector<TChartSeries*> items(FSeriesList->begin(), FSeriesList->end());
  for (auto it = items.rbegin(); it != items.rend(); ++it)
    if ((*it)->Active() && (*it)->TrackMouse(X, Y)) result = true;
  return result;
}

void TCustomAxisPanel::NotifyTools(int Code) {
  std::vector<TGrafCustomTool*> tools(FTools->begin(), FTools->end());
  for (TGrafCustomTool* t : tools)
    if (FTools->IndexOf(t) >= 0 && t->Active()) t->HandleChartEvent(Code);
}

// ---- Colours -----------------------------------------------------------------------------------------

TColor TCustomAxisPanel::PaletteColor(int Index) const {
  if (!FColorPalette.empty()) return FColorPalette[static_cast<size_t>(Index) % FColorPalette.size()];
  return DefaultPaletteColor(Index);
}

TColor TCustomAxisPanel::NextFreeColor(bool CheckBackground, TChartSeries* Series) {
  const int last = static_cast<int>(FColorPalette.empty() ? ::ColorPalette.size() : FColorPalette.size()) - 1;
  for (int i = 0; i <= last; ++i) {
    const TColor c = PaletteColor(i);
    if (ColorIsFree(c, CheckBackground, Series)) return c;
  }
  return PaletteColor(std::max(last, 0));
}

void TCustomAxisPanel::RecolorAutoSeries() {
  for (TChartSeries* s : *FSeriesList)
    if (s->StoredColor() == clDefault) s->SetAutomaticColor(NextFreeColor(true, s));
}

// ---- Paging ----------------------------------------------------------------------------------------

int TCustomAxisPanel::PageCount() {
  if (FMaxPointsPerPage < 1 || FSeriesList->Count() == 0) return 1;
  auto pagesOf = [this](TChartAxis* axis) {
    int n = 0;
    for (TChartSeries* s : *FSeriesList)
      if (s->Active() && s->IsOnAxis(axis)) n = std::max(n, s->PointCount());
    return n == 0 ? 1 : (n + FMaxPointsPerPage - 1) / FMaxPointsPerPage;
  };
  if (FSeriesList->ItemAt(0)->IsVertical()) return std::max(pagesOf(FTopAxis), pagesOf(FBottomAxis));
  return std::max(pagesOf(FLeftAxis), pagesOf(FRightAxis));
}

void TCustomAxisPanel::SetPage(int Value) {
  Value = std::max(1, std::min(Value, PageCount()));
  if (Value == FPage) return;
  FPage = Value;
  Invalidate();
  if (Listeners() && Listeners()->Count() > 0) {
    TChartChangePage event;
    NotifyListeners(&event);
  }
  if (OnPageChange) OnPageChange(this);
}

void TCustomAxisPanel::SetMaxPointsPerPage(int Value) {
  if (Value < 0) throw ChartException(GrafMsgMaxPointsPerPageMustBe0);
  ChangeInteger(FMaxPointsPerPage, Value);
  if (PageCount() < FPage) SetPage(PageCount());
  if (Listeners() && Listeners()->Count() > 0) {
    TChartChangePage event;
    NotifyListeners(&event);
  }
}

void TCustomAxisPanel::SetChart3DPercent(int Value) {
  if (Value < 1 || Value > 100) throw Exception(Format(GrafMsg3DEffectPercentMustBeBetweenDAndD, {1, 100}));
  ChangeInteger(FChart3DPercent, Value);
}

void TCustomAxisPanel::PrintPages(int FromPage, int ToPage) {
  TPrinter* printer = Printer();
  if (!Name().empty()) printer->SetTitle(Name());
  printer->BeginDoc();
  const int saved = FPage;
  try {
    if (ToPage == 0) ToPage = PageCount();
    if (FromPage == 0) FromPage = 1;
    const TRect r = CalcPrintRect();
    for (int p = FromPage; p <= ToPage; ++p) {
      SetPage(p);
      PrintRectOnPrinterCanvas(r);
      if (p < ToPage) printer->NewPage();
    }
  } catch (...) {
    printer->Abort();
    if (printer->Printing()) printer->EndDoc();
    SetPage(saved);
    throw;
  }
  SetPage(saved);
  printer->EndDoc();
}

// ---- Sources ----------------------------------------------------------------------------------------

void TCustomAxisPanel::RejectCircularSource(TChartSeries* Destination, TChartSeries* Source) {
  std::vector<TChartSeries*> seen;
  std::function<void(TChartSeries*)> check = [&](TChartSeries* s) {
    if (!s) return;
    if (s == Destination) throw ChartException(GrafMsgCircularSeriesDependencesAreNotAllowed);
    if (std::find(seen.begin(), seen.end(), s) != seen.end()) return;
    seen.push_back(s);
    for (int i = 0; i < s->DataSources()->Count(); ++i)
      check(dynamic_cast<TChartSeries*>(s->DataSources()->Items(i)));
  };
  if (!Source) return;
  for (int i = 0; i < Source->DataSources()->Count(); ++i) {
    seen.push_back(Source);
    check(dynamic_cast<TChartSeries*>(Source->DataSources()->Items(i)));
  }
}

bool TCustomAxisPanel::AcceptsDataSource(TChartSeries* Series, TComponent* Source) {
  if (Series->AcceptsAsSource(Source)) return true;
  auto* src = dynamic_cast<TGrafSeriesSource*>(Source);
  return src && src->SourceAvailable(this);
}

void TCustomAxisPanel::DataSourceRemoved(TChartSeries* Series, TComponent* Source) {
  auto* src = dynamic_cast<TGrafSeriesSource*>(Source);
  if (src && Series->DataSource() == Source) src->SetSeries(nullptr);
}

void TCustomAxisPanel::RefreshSeriesData(TChartSeries* Series) {
  if (!Series || Series->ComponentState().Contains(csLoading)) return;
  TComponent* source = Series->DataSource();
  if (auto* s = dynamic_cast<TChartSeries*>(source)) {
    Series->CopyValuesFrom(s);
  } else if (auto* src = dynamic_cast<TGrafSeriesSource*>(source)) {
    if (src->Active()) src->Load();
  } else if (!source && Series->FunctionType() && Series->FunctionType()->NoSourceRequired) {
    Series->SuspendUpdates();
    try {
      Series->RemoveAllPoints();
      Series->FunctionType()->ComputeFrom(nullptr);
    } catch (...) {
      Series->ResumeUpdates();
      throw;
    }
    Series->ResumeUpdates();
  } else if (!source && !Series->ManualData && Series->SampleDataAllowed()) {
    Series->LoadDemoData(0);
  }
}

// ---- Properties ---------------------------------------------------------------------------------------

void TCustomAxisPanel::SetAxisBehind(bool Value) { ChangeBoolean(FAxisBehind, Value); }
void TCustomAxisPanel::SetAxisVisible(bool Value) { ChangeBoolean(FAxisVisible, Value); }
void TCustomAxisPanel::SetClipPoints(bool Value) { ChangeBoolean(FClipPoints, Value); }
void TCustomAxisPanel::SetView3DWalls(bool Value) { ChangeBoolean(FView3DWalls, Value); }
void TCustomAxisPanel::SetScaleLastPage(bool Value) { ChangeBoolean(FScaleLastPage, Value); }

void TCustomAxisPanel::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TCustomAxisPanel*>(Source)) {
    FChart3DPercent = other->FChart3DPercent;
    FAxisBehind = other->FAxisBehind;
    FAxisVisible = other->FAxisVisible;
    FBottomAxis->Assign(other->FBottomAxis);
    FTopAxis->Assign(other->FTopAxis);
    FLeftAxis->Assign(other->FLeftAxis);
    FRightAxis->Assign(other->FRightAxis);
    FDepthAxis->Assign(other->FDepthAxis);
    FDepthTopAxis->Assign(other->FDepthTopAxis);
    FClipPoints = other->FClipPoints;
    FColorPalette = other->FColorPalette;
    FCustomAxes->Assign(other->FCustomAxes.get());
    FMaxPointsPerPage = other->FMaxPointsPerPage;
    FPage = other->FPage;
    FScaleLastPage = other->FScaleLastPage;
    FView3DWalls = other->FView3DWalls;
  }
  TCustomGrafPanelExtended::Assign(Source);
}

void TCustomAxisPanel::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  TCustomGrafPanelExtended::GetChildren(Proc, Root);
  std::vector<TChartSeries*> items(FSeriesList->begin(), FSeriesList->end());
  for (TChartSeries* s : items)
    if (!s->Internal) Proc(s);
}

void TCustomAxisPanel::CMMouseLeave(TMessage& M) {
  TCustomGrafPanelExtended::CMMouseLeave(M);
  NotifyTools(cteMouseLeave);
}
