// The surface nearest-cell tool.
#include "chart/series/grafsurfacetool.h"

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafeditctrls.h"
#include "platform/ui/stdctrls.h"

ZV_CLASS_IMPL(TSurfaceNearestTool, TGrafCustomToolSeries)

void TSurfaceNearestTool::DeclareProperties(TClassInfo& c) {
  using S = TSurfaceNearestTool;
  c.Integer<S>("CellColor", &S::CellColor, &S::SetCellColor, static_cast<TColor>(0x0000FF)).WithIdents(&ColorIdents());
  c.Integer<S>("RowColor", &S::RowColor, &S::SetRowColor, static_cast<TColor>(0xFF0000)).WithIdents(&ColorIdents());
  c.Integer<S>("ColumnColor", &S::ColumnColor, &S::SetColumnColor, static_cast<TColor>(0x008000))
      .WithIdents(&ColorIdents());
  c.Method<S, TNotifyEvent>(
      "OnSelectCell", [](S* s) { return s->OnSelectCell; }, [](S* s, const TNotifyEvent& e) { s->OnSelectCell = e; });
}

TSurfaceNearestTool::TSurfaceNearestTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {}

std::string TSurfaceNearestTool::ToolTypeName() const { return "Surface Nearest"; }

void TSurfaceNearestTool::SetSeries(TChartSeries* Value) {
  TGrafCustomToolSeries::SetSeries(dynamic_cast<TSurfaceSeries*>(Value));
  FCell = -1;
}

void TSurfaceNearestTool::CellReference(double& X, double& Z) const {
  auto* s = dynamic_cast<TSurfaceSeries*>(FSeries);
  if (!s || FCell < 0 || FCell >= s->PointCount()) {
    X = Z = -1.0;
    return;
  }
  X = s->XValues()->GetValue(FCell) - (FDX < 0 ? 1 : 0);
  Z = s->ZValues()->GetValue(FCell) + (FDZ > 0 ? 1 : 0);
}

void TSurfaceNearestTool::HandleMouseEvent(int Kind, TMouseButton, TShiftState, int X, int Y) {
  auto* s = dynamic_cast<TSurfaceSeries*>(FSeries);
  if (Kind != cmeMove || !s) return;
  const int i = s->IndexAtPoint(X, Y);
  if (i == FCell) return;
  FCell = i;
  FDX = s->DX;
  FDZ = s->DZ;
  const int n = s->PointCount();
  s->SuspendUpdates();
  try {
    if (i < 0) {
      for (int p = 0; p < n; ++p) s->SetPointColor(p, clDefault);
    } else {
      double xc, zc;
      CellReference(xc, zc);
      for (int p = 0; p < n; ++p) {
        const double x = s->XValues()->GetValue(p), z = s->ZValues()->GetValue(p);
        TColor c = clDefault;
        if (x == xc && z == zc) c = FCellColor;
        else if (x == xc) c = FRowColor;
        else if (z == zc) c = FColumnColor;
        s->SetPointColor(p, c);
      }
    }
  } catch (...) {
    s->ResumeUpdates();
    throw;
  }
  s->ResumeUpdates();
  RequestRedraw();
  if (OnSelectCell) OnSelectCell(this);
}

// ============================================================================
// TSurfaceNearest

ZV_CLASS_IMPL_NOPROPS(TSurfaceNearest, TForm)

TSurfaceNearest::TSurfaceNearest(TComponent* AOwner) : TForm(AOwner) {
  SetName("SurfaceNearest");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(281);
  SetClientHeight(143);
  Label1 = new TLabel(this);
  Label1->SetParent(this);
  Label1->SetBounds(8, 12, 60, 13);
  Label1->SetText("&Surface:");
  CBSeries = new TComboFlat(this);
  CBSeries->SetParent(this);
  CBSeries->SetStyle(csDropDownList);
  CBSeries->SetBounds(72, 8, 200, 21);
  CBSeries->OnChange = [this](TObject* s) { CBSeriesChange(s); };
  Label1->SetFocusControl(CBSeries);
  const char* captions[] = {"&Cell...", "&Row...", "&Column..."};
  TButtonColor** buttons[] = {&ButtonColor1, &ButtonColor2, &ButtonColor3};
  TCheckBox** defaults[] = {&CheckBox1, &CheckBox2, &CheckBox3};
  TCheckBox** nones[] = {&CheckBox4, &CheckBox5, &CheckBox6};
  for (int i = 0; i < 3; ++i) {
    const int top = 40 + i * 32;
    TButtonColor* b = *buttons[i] = new TButtonColor(this);
    b->SetParent(this);
    b->SetBounds(8, top, 105, 25);
    b->SetText(captions[i]);
    TCheckBox* d = *defaults[i] = new TCheckBox(this);
    d->SetParent(this);
    d->SetBounds(124, top + 4, 70, 17);
    d->SetText("Default");
    TCheckBox* n = *nones[i] = new TCheckBox(this);
    n->SetParent(this);
    n->SetBounds(200, top + 4, 70, 17);
    n->SetText("None");
  }
  ButtonColor1->OnClick = [this](TObject* s) { ButtonColor1Click(s); };
  ButtonColor2->OnClick = [this](TObject* s) { ButtonColor2Click(s); };
  ButtonColor3->OnClick = [this](TObject* s) { ButtonColor3Click(s); };
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
  CheckBox2->OnClick = [this](TObject* s) { CheckBox2Click(s); };
  CheckBox3->OnClick = [this](TObject* s) { CheckBox3Click(s); };
  CheckBox4->OnClick = [this](TObject* s) { CheckBox4Click(s); };
  CheckBox5->OnClick = [this](TObject* s) { CheckBox5Click(s); };
  CheckBox6->OnClick = [this](TObject* s) { CheckBox6Click(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

TSurfaceNearestTool* TSurfaceNearest::Tool() const {
  return dynamic_cast<TSurfaceNearestTool*>(reinterpret_cast<TObject*>(Tag()));
}

TButtonColor* TSurfaceNearest::ButtonOf(int Which) const {
  return Which == 0 ? ButtonColor1 : Which == 1 ? ButtonColor2 : ButtonColor3;
}

void TSurfaceNearest::SetToolColor(int Which, TColor Value) {
  TSurfaceNearestTool* tool = Tool();
  if (!tool) return;
  if (Which == 0) tool->SetCellColor(Value);
  else if (Which == 1) tool->SetRowColor(Value);
  else tool->SetColumnColor(Value);
  ButtonOf(Which)->Repaint();
}

void TSurfaceNearest::FillSeriesList() {
  CBSeries->Items()->Clear();
  TSurfaceNearestTool* tool = Tool();
  TCustomAxisPanel* chart = tool ? tool->ParentChart() : nullptr;
  if (chart)
    for (int i = 0; i < chart->NumberOfSeries(); ++i)
      if (auto* s = dynamic_cast<TSurfaceSeries*>(chart->SeriesAt(i)))
        CBSeries->Items()->AddObject(SeriesDisplayName(s), s);
}

void TSurfaceNearest::FormShow(TObject*) {
  if (TSurfaceNearestTool* tool = Tool()) {
    FillSeriesList();
    CBSeries->SetEnabled(CBSeries->Items()->Count() > 0);
    CBSeries->SetItemIndex(CBSeries->Items()->IndexOfObject(tool->Series()));
    ButtonColor1->LinkProperty(tool, "CellColor");
    ButtonColor2->LinkProperty(tool, "RowColor");
    ButtonColor3->LinkProperty(tool, "ColumnColor");
    const TColor colors[] = {tool->CellColor(), tool->RowColor(), tool->ColumnColor()};
    TCheckBox* defaults[] = {CheckBox1, CheckBox2, CheckBox3};
    TCheckBox* nones[] = {CheckBox4, CheckBox5, CheckBox6};
    for (int i = 0; i < 3; ++i) {
      defaults[i]->SetChecked(colors[i] == clDefault);
      nones[i]->SetChecked(colors[i] == clNone);
    }
  }
  Label1->SetText("Surface");
}

void TSurfaceNearest::CBSeriesChange(TObject*) {
  TSurfaceNearestTool* tool = Tool();
  if (!tool) return;
  const int i = CBSeries->ItemIndex();
  tool->SetSeries(i < 0 ? nullptr : dynamic_cast<TChartSeries*>(CBSeries->Items()->Objects(i)));
}

void TSurfaceNearest::ButtonColor1Click(TObject*) { CheckBox1->SetChecked(false); }
void TSurfaceNearest::ButtonColor2Click(TObject*) { CheckBox2->SetChecked(false); }
void TSurfaceNearest::ButtonColor3Click(TObject*) { CheckBox3->SetChecked(false); }
// Ticking a box sets its colour; unticking leaves the colour to the button.
void TSurfaceNearest::CheckBox1Click(TObject*) {
  if (CheckBox1->Checked()) SetToolColor(0, clDefault);
}
void TSurfaceNearest::CheckBox2Click(TObject*) {
  if (CheckBox2->Checked()) SetToolColor(1, clDefault);
}
void TSurfaceNearest::CheckBox3Click(TObject*) {
  if (CheckBox3->Checked()) SetToolColor(2, clDefault);
}
void TSurfaceNearest::CheckBox4Click(TObject*) {
  if (CheckBox4->Checked()) SetToolColor(0, clNone);
}
void TSurfaceNearest::CheckBox5Click(TObject*) {
  if (CheckBox5->Checked()) SetToolColor(1, clNone);
}
void TSurfaceNearest::CheckBox6Click(TObject*) {
  if (CheckBox6->Checked()) SetToolColor(2, clNone);
}

void RegisterSurfaceToolType() {
  static const bool done = [] {
    RegisterClass(&TSurfaceNearest::StaticClass());
    RegisterToolTypes({&TSurfaceNearestTool::StaticClass()});
    return true;
  }();
  (void)done;
}

void UnregisterSurfaceToolType() { UnregisterToolTypes({&TSurfaceNearestTool::StaticClass()}); }
