#include "chart/editor/grafgallerypanel.h"

#include <algorithm>
#include <cmath>

#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"
#include "chart/core/grcanvas.h"
#include "chart/series/series.h"
#include "platform/ui/graphicctrls.h"
#include "platform/ui/messages.h"

bool TGalleryChart::ShowLabelsWhenMaximized = true;

namespace {

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i <= Text.size(); ++i)
    if (i == Text.size() || Text[i] == '\r' || Text[i] == '\n') {
      if (i > start || (i < Text.size() && Text[i] == '\r')) lines.push_back(Text.substr(start, i - start));
      if (i < Text.size() && Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  if (lines.empty()) lines.emplace_back();
  return lines;
}

}  // namespace

// ---- Miniatures --------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TGalleryChart, TCustomChart)

TGalleryChart::TGalleryChart(TComponent* AOwner) : TCustomChart(AOwner) {
  Legend()->SetVisible(false);
  LeftAxis()->SetLabels(false);
  BottomAxis()->SetLabels(false);
  Title()->Font()->SetColor(clNavy);
  Zoom()->SetAnimated(true);
  View3DOptions()->SetOrthogonal(false);
  View3DOptions()->SetZoom(90);
  View3DOptions()->SetPerspective(55);
  if (auto* panel = dynamic_cast<TChartGalleryPanel*>(AOwner); panel && panel->FocusRotation()) {
    View3DOptions()->SetRotation(335);
    View3DOptions()->SetElevation(350);
  }
  SetChart3DPercent(100);
  SetClipPoints(false);
  if (Frame()) Frame()->SetVisible(false);
  SetBevelWidth(2);
  SetBevelOuter(bvNone);
  for (TChartWall* wall : {LeftWall(), BottomWall()}) {
    wall->SetColor(clWhite);
    wall->SetSize(4);
    wall->Pen()->SetColor(clGray);
  }
  OnAfterDraw = [this](TObject*) { AfterDrawHook(); };
}

TChartGalleryPanel* TGalleryChart::GalleryPanel() const { return dynamic_cast<TChartGalleryPanel*>(Owner()); }

void TGalleryChart::SetSmooth(bool Value) {
  FSmooth = Value;
  if (!Value) {
    LeftAxis()->SetLabels(false);
    BottomAxis()->SetLabels(false);
  }
  Invalidate();
}

void TGalleryChart::CheckAxisLabels() {
  if (!ShowLabelsWhenMaximized || !AxisVisible()) return;
  TCustomForm* form = GetParentForm();
  const bool maximized = form && form->WindowState() == wsMaximized;
  LeftAxis()->SetLabels(maximized);
  BottomAxis()->SetLabels(maximized);
}

TPoint TGalleryChart::SubArrowCorner() const {
  TChartPen* border = Border();
  const int pen = border && border->Visible() ? border->Width() : 0;
  const int shadow = Shadow() ? Shadow()->LargerSize() : 0;
  return {4 + pen, Height() - (pen + shadow)};
}

bool TGalleryChart::OverSubArrow(TPoint P) const {
  const TPoint c = SubArrowCorner();
  return P.X >= c.X && P.X <= c.X + 12 && P.Y >= c.Y - 12 && P.Y <= c.Y;
}

void TGalleryChart::DrawSubArrow(TCanvas* Canvas) {
  TChartGalleryPanel* panel = GalleryPanel();
  if (!Canvas || !panel || !panel->DisplaySub() || panel->SelectedChart != this) return;
  const TPoint c = SubArrowCorner();
  const TPenMode mode = Canvas->Pen()->Mode();
  Canvas->Pen()->SetMode(pmNotXor);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetColor(clBlack);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(clBlack);
  Canvas->Polygon({{c.X, c.Y - 8}, {c.X + 7, c.Y - 8}, {c.X + 3, c.Y - 4}});
  Canvas->Pen()->SetMode(mode);
}

void TGalleryChart::AfterDrawHook() {
  if (FBusy) return;
  DrawSubArrow(PanelCanvas()->BoundCanvas());
}

void TGalleryChart::DrawOnCanvas(TCanvas* ACanvas, const TRect& ARect) {
  const int w = ARect.Right - ARect.Left, h = ARect.Bottom - ARect.Top;
  if (!FSmooth || FBusy || w < 4 || h < 4) {
    TCustomChart::DrawOnCanvas(ACanvas, ARect);
    return;
  }
  // Drawn four times larger and reduced with a triangle filter. The axis
  // labels show at twice their size (half after the reduction), the title
  // at four times (its own size after it).
  FBusy = true;
  const bool leftLabels = LeftAxis()->Labels(), bottomLabels = BottomAxis()->Labels();
  const int leftSize = LeftAxis()->LabelsFont()->Size(), bottomSize = BottomAxis()->LabelsFont()->Size();
  const int titleSize = Title()->Font()->Size();
  const bool repaint = RepaintOnChange;
  RepaintOnChange = false;
  auto restore = [&] {
    LeftAxis()->SetLabels(leftLabels);
    BottomAxis()->SetLabels(bottomLabels);
    LeftAxis()->LabelsFont()->SetSize(leftSize);
    BottomAxis()->LabelsFont()->SetSize(bottomSize);
    Title()->Font()->SetSize(titleSize);
    RepaintOnChange = repaint;
    FBusy = false;
  };
  try {
    LeftAxis()->SetLabels(true);
    BottomAxis()->SetLabels(true);
    LeftAxis()->LabelsFont()->SetSize(leftSize * 2);
    BottomAxis()->LabelsFont()->SetSize(bottomSize * 2);
    Title()->Font()->SetSize(titleSize * 4);
    TBitmap big(4 * w, 4 * h, pf24bit);
    big.Canvas()->Brush()->SetColor(Color());
    big.Canvas()->FillRect(Rect(0, 0, 4 * w, 4 * h));
    TCustomChart::DrawOnCanvas(big.Canvas(), Rect(0, 0, 4 * w, 4 * h));
    TBitmap small(w, h, pf24bit);
    SmoothStretchQuality(&big, &small, 1);
    ACanvas->Draw(ARect.Left, ARect.Top, &small);
    // The next paint draws again: the pass's buffer holds the large picture.
    PanelCanvas()->MarkDirty();
  } catch (...) {
    restore();
    throw;
  }
  restore();
  DrawSubArrow(ACanvas);
}

void TGalleryChart::DrawHoverFrame(bool Hot) {
  if (!HandleAllocated()) return;
  TRect r = ClientRect();
  if (Hot) Frame3D(Canvas(), r, clWhite, clGray, 1);
  else Frame3D(Canvas(), r, Color(), Color(), 1);
}

void TGalleryChart::CMMouseEnter(TMessage& M) {
  TCustomChart::CMMouseEnter(M);
  if (Cursor() == crHandPoint) DrawHoverFrame(true);
}

void TGalleryChart::CMMouseLeave(TMessage& M) {
  TCustomChart::CMMouseLeave(M);
  if (Cursor() == crHandPoint) DrawHoverFrame(false);
}

// ---- The list of miniatures ----------------------------------------------------

int TChartList::IndexOf(const TGalleryChart* Chart) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == Chart) return static_cast<int>(i);
  return -1;
}

void TChartList::Clear() {
  std::vector<TGalleryChart*> items;
  items.swap(FItems);
  for (TGalleryChart* c : items) delete c;
}

// ---- The panel -----------------------------------------------------------------

ZV_CLASS_IMPL(TChartGalleryPanel, TCustomPanelNoCaption)

void TChartGalleryPanel::DeclareProperties(TClassInfo& c) {
  TCustomPanel::PublishProperties(c, {"BevelInner", "BevelOuter", "BevelWidth", "BorderWidth", "BorderStyle"});
  c.Boolean<TChartGalleryPanel>("DisplaySub", &TChartGalleryPanel::DisplaySub, &TChartGalleryPanel::SetDisplaySub,
                                true);
  c.Boolean<TChartGalleryPanel>("FocusRotation", &TChartGalleryPanel::FocusRotation,
                                &TChartGalleryPanel::SetFocusRotation, true);
  c.Integer<TChartGalleryPanel>("NumRows", &TChartGalleryPanel::NumRows, &TChartGalleryPanel::SetNumRows, 3);
  c.Integer<TChartGalleryPanel>("NumCols", &TChartGalleryPanel::NumCols, &TChartGalleryPanel::SetNumCols, 4);
  c.Boolean<TChartGalleryPanel>("Smooth", &TChartGalleryPanel::Smooth, &TChartGalleryPanel::SetSmooth, false);
  c.Boolean<TChartGalleryPanel>("View3D", &TChartGalleryPanel::View3D, &TChartGalleryPanel::SetView3D, true);
  c.Boolean<TChartGalleryPanel>("Locked", &TChartGalleryPanel::Locked, &TChartGalleryPanel::SetLocked, false);
}

TChartGalleryPanel::TChartGalleryPanel(TComponent* AOwner) : TCustomPanelNoCaption(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csParentBackground});
  SetParentColor(true);
  SetTabStop(true);
  FSmooth = FSmoothRead = ReadEditorOptionBool("SmoothGallery", false);
}

TChartGalleryPanel::~TChartGalleryPanel() {
  delete FSubForm;
  FSubForm = nullptr;
  SelectedChart = nullptr;
  Charts.Clear();
  if (FSmooth != FSmoothRead) WriteEditorOptionBool("SmoothGallery", FSmooth);
}

void TChartGalleryPanel::SetNumRows(int Value) {
  FNumRows = Value;
  LayoutCharts();
}

void TChartGalleryPanel::SetNumCols(int Value) {
  FNumCols = Value;
  LayoutCharts();
}

void TChartGalleryPanel::SetSmooth(bool Value) {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  if (FSmooth == Value) return;
  FSmooth = Value;
  for (int i = 0; i < Charts.Count(); ++i) Charts.Items(i)->SetSmooth(Value);
}

void TChartGalleryPanel::SetView3D(bool Value) {
  if (FView3D == Value) return;
  FView3D = Value;
  for (int i = 0; i < Charts.Count(); ++i) {
    TGalleryChart* chart = Charts.Items(i);
    if (chart->NumberOfSeries() > 0) chart->SeriesAt(0)->ApplyGallery3D(Value);
    SetMargins(chart);
  }
}

void TChartGalleryPanel::CalcCellSize() {
  if (FNumRows > 0 && FNumCols > 0) {
    const int b = BevelWidth() + BorderWidth();
    FCellHeight = (Height() - b) / FNumRows;
    FCellWidth = (Width() - b) / FNumCols;
  } else {
    FCellHeight = FCellWidth = 0;
  }
}

void TChartGalleryPanel::PlaceChart(TGalleryChart* Chart, int Index) {
  if (FNumCols <= 0) return;
  const int b = BevelWidth() + BorderWidth();
  const int col = Index % FNumCols, row = Index / FNumCols;
  Chart->SetBounds(b + col * FCellWidth, b + row * FCellHeight, std::min(FCellWidth, Width() - b),
                   std::min(FCellHeight, Height() - b));
}

void TChartGalleryPanel::LayoutCharts() {
  CalcCellSize();
  for (int i = 0; i < Charts.Count(); ++i) PlaceChart(Charts.Items(i), i);
}

void TChartGalleryPanel::Resize() {
  TCustomPanelNoCaption::Resize();
  LayoutCharts();
}

void TChartGalleryPanel::WMGetDlgCode(TMessage& M) { M.Result = DLGC_WANTARROWS; }

void TChartGalleryPanel::SetMargins(TGalleryChart* Chart) {
  const int m = FView3D ? 4 : 5;
  for (int side = 0; side < 4; ++side) Chart->SetMarginSide(side, m);
}

TGalleryChart* TChartGalleryPanel::AddGalleryChart(const TGrafSeriesType& Type) {
  TClass seriesClass = Type.SeriesClass ? Type.SeriesClass : &TLineSeries::StaticClass();
  auto* chart = new TGalleryChart(this);
  chart->SetColor(Color());
  chart->RepaintOnChange = false;
  Charts.Add(chart);
  chart->Title()->Text()->Clear();
  for (const std::string& line : SplitLines(Type.Description ? *Type.Description : std::string()))
    chart->Title()->Text()->Add(line);
  chart->SetParent(this);
  chart->SetName(UniqueComponentName(this, "GrafGalleryChart"));
  PlaceChart(chart, Charts.Count() - 1);

  for (int i = 0; i < std::max(1, Type.GallerySeriesCount); ++i)
    CreateChartSeries(chart, chart, seriesClass, Type.FunctionClass);
  TChartSeries* first = chart->NumberOfSeries() > 0 ? chart->SeriesAt(0) : nullptr;

  const bool disabled = OnlyCompatible && ReferenceSeries && first && !first->AcceptsSeriesAsSource(ReferenceSeries);
  if (disabled) {
    chart->SetCursor(crNo);
    chart->Title()->Font()->SetColor(clGray);
    for (TChartWall* wall : {chart->LeftWall(), chart->BottomWall()}) wall->Pen()->SetColor(clGray);
    for (TChartAxis* axis : {chart->LeftAxis(), chart->BottomAxis()}) {
      axis->Axis()->SetWidth(1);
      axis->Axis()->SetColor(clWhite);
    }
  } else {
    chart->SetCursor(crHandPoint);
    chart->OnClick = [this, chart](TObject*) { SelectChart(chart); };
    chart->OnEnter = [this, chart](TObject*) { SelectChart(chart); };
    chart->OnDblClick = [this, chart](TObject*) {
      SelectedChart = chart;
      if (OnSelectedChart) OnSelectedChart(this);
    };
  }
  if (first) first->ApplyGallery3D(FView3D);
  if (Type.FunctionClass) {
    if (TComponent* f = CreateComponentOfClass(Type.FunctionClass, nullptr)) {
      std::unique_ptr<TComponent> temp(f);
      if (auto* function = dynamic_cast<TGrafFunction*>(f)) function->SetupGalleryPreview(chart);
    }
  } else {
    for (int i = 0; i < chart->NumberOfSeries(); ++i) chart->SeriesAt(i)->SetupGalleryPreview(!disabled);
  }
  SetMargins(chart);
  chart->CheckAxisLabels();
  chart->SetSmooth(FSmooth);
  if (!IsSubGallery)
    chart->OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState Shift) { KeyDown(Key, Shift); };
  chart->RepaintOnChange = true;
  chart->Invalidate();
  return chart;
}

void TChartGalleryPanel::ClearCharts() {
  SelectedChart = nullptr;
  Charts.Clear();
}

void TChartGalleryPanel::CreateGalleryPage(const std::string& Page) {
  TGrafSeriesTypes* types = SeriesTypeRegistry();
  auto belongs = [&](const TGrafSeriesType* t) {
    return t->GalleryPage && *t->GalleryPage == Page && (t->FunctionClass != nullptr) == FunctionsMode;
  };
  int n = 0;
  for (int i = 0; i < types->Count(); ++i)
    if (belongs(types->TypeAt(i))) ++n;
  FNumRows = n > (FNumRows - 1) * FNumCols && FNumCols > 0 ? (n - 1) / FNumCols + 1 : 3;
  CalcCellSize();
  ClearCharts();
  for (int i = 0; i < types->Count(); ++i)
    if (belongs(types->TypeAt(i))) AddGalleryChart(*types->TypeAt(i));
  SelectedChart = nullptr;
  if (ReferenceSeries)
    for (int i = 0; i < Charts.Count(); ++i) {
      TGalleryChart* chart = Charts.Items(i);
      TChartSeries* first = chart->NumberOfSeries() > 0 ? chart->SeriesAt(0) : nullptr;
      if (first && first->ClassType() == ReferenceSeries->ClassType() && !first->FunctionType()) {
        SelectedChart = chart;
        break;
      }
    }
  UpdateSelection();
}

void TChartGalleryPanel::HighlightChart(TGalleryChart* Chart) {
  TGrafGradient* g = Chart->Gradient();
  g->SetVisible(true);
  g->SetDirection(gdFromTopLeft);
  g->SetStartColor(clSilver);
  g->SetEndColor(clWhite);
  if (FFocusRotation) {
    Chart->View3DOptions()->SetRotation(345);
    if (Chart->NumberOfSeries() > 0) Chart->SeriesAt(0)->ApplyGallery3D(FView3D);
  }
  Chart->Title()->Font()->SetStyle({fsBold});
  Chart->Title()->Font()->SetColor(clBlack);
  Chart->Title()->Font()->SetSize(9);
  Chart->SetBevelOuter(bvRaised);
  if (Chart->Showing() && Chart->CanFocus()) Chart->SetFocus();
}

void TChartGalleryPanel::PlainChart(TGalleryChart* Chart) {
  if (!Chart->HasGradient() || !Chart->Gradient()->Visible()) return;
  Chart->Gradient()->SetVisible(false);
  Chart->SetBevelOuter(bvNone);
  Chart->Title()->Font()->SetStyle({});
  Chart->Title()->Font()->SetColor(clNavy);
  Chart->Title()->Font()->SetSize(DefaultFontSize);
  if (FFocusRotation) {
    Chart->View3DOptions()->SetRotation(335);
    if (Chart->NumberOfSeries() > 0) Chart->SeriesAt(0)->ApplyGallery3D(FView3D);
  }
}

void TChartGalleryPanel::UpdateSelection() {
  if (!SelectedChart)
    for (int i = 0; i < Charts.Count(); ++i)
      if (Charts.Items(i)->Cursor() == crHandPoint) {
        SelectedChart = Charts.Items(i);
        break;
      }
  for (int i = 0; i < Charts.Count(); ++i) {
    TGalleryChart* chart = Charts.Items(i);
    if (chart == SelectedChart) HighlightChart(chart);
    else PlainChart(chart);
    chart->Invalidate();
  }
  if (OnChangeChart) OnChangeChart(this);
}

void TChartGalleryPanel::SelectChart(TGalleryChart* Chart) {
  if (Chart != SelectedChart) {
    SelectedChart = Chart;
    UpdateSelection();
  }
  if (FDisplaySub && SelectedChart) {
    TPoint p;
    if (GetCursorPos(p) && SelectedChart->OverSubArrow(SelectedChart->ScreenToClient(p))) ShowSubGallery();
  }
}

void TChartGalleryPanel::ChooseSelected() {
  if (SelectedChart && OnSelectedChart) OnSelectedChart(this);
}

bool TChartGalleryPanel::GetSelectedType(TClass& SeriesClass, TClass& FunctionClass, int& SubIndex) const {
  if (!SelectedChart || SelectedChart->NumberOfSeries() == 0) return false;
  TChartSeries* first = SelectedChart->SeriesAt(0);
  SeriesClass = first->ClassType();
  FunctionClass = first->FunctionType() ? first->FunctionType()->ClassType() : nullptr;
  SubIndex = static_cast<int>(SelectedChart->Tag());
  return true;
}

void TChartGalleryPanel::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomPanelNoCaption::KeyDown(Key, Shift);
  if (!Key || !SelectedChart || FNumCols <= 0) return;
  const int index = Charts.IndexOf(SelectedChart);
  int col = index % FNumCols, row = index / FNumCols;
  switch (Key) {
    case VK_RETURN: ChooseSelected(); return;
    case VK_LEFT: if (col > 0) --col; break;
    case VK_UP: if (row > 0) --row; break;
    case VK_RIGHT: if (col < FNumCols) ++col; break;
    case VK_DOWN:
      if (Shift.Contains(ssAlt)) {
        if (FDisplaySub) ShowSubGallery();
        return;
      }
      if (row < FNumRows) ++row;
      break;
    default: return;
  }
  if (col >= FNumCols) return;  // no miniature beyond the last column
  const int target = row * FNumCols + col;
  if (target < Charts.Count() && Charts.Items(target)->Cursor() == crHandPoint) SelectChart(Charts.Items(target));
}

void TChartGalleryPanel::AddSubStyleChart(const std::string& Style) {
  if (!SubPanel || !SubType || !SubSeries) return;
  const std::string description = Style;
  SubType->Description = &description;
  const int index = SubPanel->Charts.Count();
  TGalleryChart* chart = SubPanel->AddGalleryChart(*SubType);
  SubType->Description = nullptr;
  if (chart->NumberOfSeries() > 0) SubSeries->ApplyGalleryStyle(chart->SeriesAt(0), index);
  chart->SetTag(index);
}

void TChartGalleryPanel::SubStyleSelected(TObject* Sender) {
  auto* sub = dynamic_cast<TChartGalleryPanel*>(Sender);
  if (!sub || !sub->SelectedChart || !SelectedChart) return;
  const int index = static_cast<int>(sub->SelectedChart->Tag());
  SelectedChart->SetTag(index);
  if (index != 0) {
    for (int i = 0; i < SelectedChart->NumberOfSeries(); ++i) {
      TChartSeries* s = SelectedChart->SeriesAt(i);
      s->ApplyGalleryStyle(s, index);
    }
  } else if (SelectedChart->NumberOfSeries() > 0) {
    // The base style: the miniature's series made afresh.
    const int count = SelectedChart->NumberOfSeries();
    TClass seriesClass = SelectedChart->SeriesAt(0)->ClassType();
    while (SelectedChart->NumberOfSeries() > 0) delete SelectedChart->SeriesAt(0);
    for (int i = 0; i < count; ++i) {
      TChartSeries* s = CreateChartSeries(SelectedChart, SelectedChart, seriesClass, nullptr);
      if (i == 0) s->ApplyGallery3D(FView3D);
      s->SetupGalleryPreview(true);
    }
  }
  if (FSubForm) FSubForm->SetModalResult(mrOk);
}

void TChartGalleryPanel::ShowSubGallery() {
  delete FSubForm;
  FSubForm = nullptr;
  if (!SelectedChart || SelectedChart->NumberOfSeries() == 0) return;
  PlainChart(SelectedChart);

  auto* form = new TPopupForm(this);
  FSubForm = form;
  struct TForget {
    TChartGalleryPanel* Panel;
    ~TForget() {
      delete Panel->FSubForm;
      Panel->FSubForm = nullptr;
      Panel->SubPanel = nullptr;
    }
  } forget{this};

  form->SetKeyPreview(true);
  auto* bar = new TPanel(form);
  bar->SetParent(form);
  bar->SetAlign(alTop);
  bar->SetHeight(12);
  bar->SetBevelOuter(bvNone);
  auto* arrow = new TPaintBox(form);
  arrow->SetBounds(4, 2, 8, 8);
  arrow->SetParent(bar);
  arrow->OnPaint = [arrow](TObject*) {
    TCanvas* c = arrow->Canvas();
    c->Brush()->SetColor(clBlack);
    c->Pen()->SetColor(clBlack);
    c->Polygon({{0, 8}, {4, 0}, {9, 8}});
  };
  auto closeOk = [form](TObject*) { form->SetModalResult(mrOk); };
  bar->OnClick = closeOk;
  arrow->OnClick = closeOk;

  auto* sub = new TChartGalleryPanel(form);
  sub->SetParent(form);
  sub->SetAlign(alClient);
  sub->SetBevelOuter(bvNone);
  sub->FView3D = FView3D;
  sub->FSmooth = FSmooth;
  sub->FNumCols = FNumCols;
  sub->FDisplaySub = false;
  sub->IsSubGallery = true;
  sub->OnSelectedChart = [this](TObject* Sender) { SubStyleSelected(Sender); };
  form->OnKeyDown = [form, sub](TObject*, uint16_t& Key, TShiftState Shift) {
    if (Key == VK_ESCAPE) {
      form->SetModalResult(mrCancel);
      return;
    }
    sub->KeyDown(Key, Shift);
  };

  const TPoint corner = SelectedChart->ClientToScreen({0, SelectedChart->Height()});
  form->SetBounds(corner.X, corner.Y, Width(), FCellHeight * 3 + 8);

  // The sub-styles of the selected type, made by a series of its class.
  TClass seriesClass = SelectedChart->SeriesAt(0)->ClassType();
  std::unique_ptr<TComponent> series(CreateComponentOfClass(seriesClass, nullptr));
  TGrafSeriesType type;
  type.SeriesClass = seriesClass;
  type.GallerySeriesCount = 1;
  SubPanel = sub;
  SubType = &type;
  SubSeries = dynamic_cast<TChartSeries*>(series.get());
  sub->ClearCharts();
  if (SubSeries) SubSeries->EnumGalleryStyles([this](const std::string& style) { AddSubStyleChart(style); });
  SubType = nullptr;
  SubSeries = nullptr;
  series.reset();
  const int rows = std::max(1, (sub->Charts.Count() + FNumCols - 1) / FNumCols);
  sub->FNumRows = rows;
  form->SetHeight(rows * FCellHeight + 8);
  sub->LayoutCharts();
  sub->UpdateSelection();

  const int result = form->PopupAt(corner);
  if (result == mrOk && OnSubSelected) OnSubSelected(this);
  // The pop-up goes with `forget`; then the main panel's highlight comes back.
  delete FSubForm;
  FSubForm = nullptr;
  SubPanel = nullptr;
  UpdateSelection();
}

void RegisterGalleryPanelClasses() {
  RegisterStandardSeries();
  RegisterClasses({&TGalleryChart::StaticClass(), &TChartGalleryPanel::StaticClass()});
}
