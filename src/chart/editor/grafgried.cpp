#include "chart/editor/grafgried.h"

#include <memory>

#include "chart/core/chart.h"
#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TGrid3DSeriesEditor, TForm)

namespace {
TUpDown* MakeUpDown(TComponent* Owner, TWinControl* Parent, const char* Name, TEdit* Edit, int Min, int Max) {
  auto* ud = Make<TUpDown>(Owner, Parent, Name, Edit->Left() + Edit->Width(), Edit->Top(), 15, Edit->Height());
  ud->SetMin(Min);
  ud->SetMax(Max);
  ud->SetAssociate(Edit);
  return ud;
}

TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Pages);
  return t;
}
}  // namespace

TGrid3DSeriesEditor::TGrid3DSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(365);
  SetClientHeight(184);
  Label1 = MakeLabel(this, this, "Label1", 8, 6, "Grid size:");
  SEXGrid = Make<TEdit>(this, this, "SEXGrid", 30, 24, 45, 21);
  UDXGrid = MakeUpDown(this, this, "UDXGrid", SEXGrid, 1, 1000);
  Label2 = MakeLabel(this, this, "Label2", 8, 28, "&X:", SEXGrid);
  SEZGrid = Make<TEdit>(this, this, "SEZGrid", 30, 50, 45, 21);
  UDZGrid = MakeUpDown(this, this, "UDZGrid", SEZGrid, 1, 1000);
  Label3 = MakeLabel(this, this, "Label3", 8, 54, "&Z:", SEZGrid);
  EDepth = Make<TEdit>(this, this, "EDepth", 50, 80, 35, 21);
  UDDepth = MakeUpDown(this, this, "UDDepth", EDepth, 1, 100);
  Label4 = MakeLabel(this, this, "Label4", 8, 84, "&Depth:", EDepth);
  CBIrreg = Make<TCheckBox>(this, this, "CBIrreg", 8, 110, 90, 17, "&Irregular");

  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 110, 2, 252, 178);
  TabSingle = MakeSheet(this, PageControl1, "TabSingle", "Single");
  TabRange = MakeSheet(this, PageControl1, "TabRange", "Range");
  TabPalette = MakeSheet(this, PageControl1, "TabPalette", "Palette");
  BColor = Make<TButtonColor>(this, TabSingle, "BColor", 8, 8, 100, 25, "C&olor...");
  BRemove = Make<TButton>(this, TabSingle, "BRemove", 8, 40, 150, 25, "&Remove custom colors");
  BFromColor = Make<TButtonColor>(this, TabRange, "BFromColor", 8, 8, 90, 25, "&Start...");
  BMidColor = Make<TButtonColor>(this, TabRange, "BMidColor", 8, 38, 90, 25, "&Middle...");
  BToColor = Make<TButtonColor>(this, TabRange, "BToColor", 8, 68, 90, 25, "&End...");
  CheckBox1 = Make<TCheckBox>(this, TabRange, "CheckBox1", 106, 42, 100, 17, "&No middle");
  Button1 = Make<TButton>(this, TabRange, "Button1", 106, 8, 75, 25, "S&wap");
  Button2 = Make<TButton>(this, TabRange, "Button2", 106, 68, 75, 25, "&Gallery...");
  SEPalette = Make<TEdit>(this, TabPalette, "SEPalette", 60, 6, 45, 21);
  UDPalette = MakeUpDown(this, TabPalette, "UDPalette", SEPalette, 1, 1000);
  Label5 = MakeLabel(this, TabPalette, "Label5", 8, 10, "S&teps:", SEPalette);
  CBPalStyle = Make<TComboFlat>(this, TabPalette, "CBPalStyle", 60, 32, 110, 21);
  CBPalStyle->SetStyle(csDropDownList);
  for (const char* s : {"Pale", "Strong", "Gray scale", "Inverted Gray", "Rainbow"}) CBPalStyle->Items()->Add(s);
  Label6 = MakeLabel(this, TabPalette, "Label6", 8, 36, "St&yle:", CBPalStyle);
  CBUseMin = Make<TCheckBox>(this, TabPalette, "CBUseMin", 8, 60, 160, 17, "&Use palette minimum");
  EPaletteMin = Make<TEdit>(this, TabPalette, "EPaletteMin", 60, 80, 70, 21);
  Label7 = MakeLabel(this, TabPalette, "Label7", 8, 84, "&Minimum:", EPaletteMin);
  EPaletteStep = Make<TEdit>(this, TabPalette, "EPaletteStep", 60, 106, 70, 21);
  Label8 = MakeLabel(this, TabPalette, "Label8", 8, 110, "&Step:", EPaletteStep);
  Edit1 = Make<TEdit>(this, TabPalette, "Edit1", 180, 6, 40, 21);
  UDLegendEvery = MakeUpDown(this, TabPalette, "UDLegendEvery", Edit1, 1, 1000);
  Label9 = MakeLabel(this, TabPalette, "Label9", 180, -8, "Legend:", Edit1);

  Timer1 = new TTimer(this);
  Timer1->SetName("Timer1");
  Timer1->SetEnabled(false);
  Timer1->SetInterval(1);
  // Re-selecting the tab makes it show correctly after docking.
  Timer1->SetOnTimer([this](TObject*) {
    Timer1->SetEnabled(false);
    TTabSheet* page = PageControl1->ActivePage();
    const bool was = FLoading;
    FLoading = true;
    PageControl1->SetActivePage(nullptr);
    PageControl1->SetActivePage(page);
    FLoading = was;
  });

  SEXGrid->OnChange = [this](TObject* s) { SEXGridChange(s); };
  SEZGrid->OnChange = [this](TObject* s) { SEXGridChange(s); };
  EDepth->OnChange = [this](TObject* s) { EDepthChange(s); };
  CBIrreg->OnClick = [this](TObject* s) { CBIrregClick(s); };
  PageControl1->OnChange = [this](TObject* s) { PageControl1Change(s); };
  BRemove->OnClick = [this](TObject* s) { BRemoveClick(s); };
  BMidColor->OnClick = [this](TObject* s) { BMidColorClick(s); };
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  SEPalette->OnChange = [this](TObject* s) { SEPaletteChange(s); };
  CBPalStyle->OnChange = [this](TObject* s) { CBPalStyleChange(s); };
  CBUseMin->OnClick = [this](TObject* s) { CBUseMinClick(s); };
  EPaletteMin->OnChange = [this](TObject* s) { EPaletteMinChange(s); };
  EPaletteStep->OnChange = [this](TObject* s) { EPaletteStepChange(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TGrid3DSeriesEditor::~TGrid3DSeriesEditor() {
  FireOnDestroy(this);
  StopListening();
}

void TGrid3DSeriesEditor::FormCreate(TObject*) {
  FLoading = true;
  SetAlign(alClient);
}

void TGrid3DSeriesEditor::StopListening() {
  if (FListenedChart) FListenedChart->RemoveListener(this);
  FListenedChart = nullptr;
}

void TGrid3DSeriesEditor::FormDestroy(TObject*) { StopListening(); }

void TGrid3DSeriesEditor::FormShow(TObject*) {
  LoadSeries(dynamic_cast<TCustom3DPaletteSeries*>(reinterpret_cast<TObject*>(Tag())));
  FLoading = false;
  Timer1->SetEnabled(true);
}

void TGrid3DSeriesEditor::RefreshNoMiddle() {
  const bool was = FLoading;
  FLoading = true;
  const bool none = Series && Series->MidColor() == clNone;
  CheckBox1->SetChecked(none);
  CheckBox1->SetEnabled(!none);
  FLoading = was;
}

void TGrid3DSeriesEditor::LoadSeries(TCustom3DPaletteSeries* ASeries) {
  Series = ASeries;
  if (!Series) return;
  const bool was = FLoading;
  FLoading = true;
  if (auto* grid = dynamic_cast<TCustom3DGridSeries*>(Series)) {
    UDXGrid->SetPosition(grid->NumXValues());
    UDZGrid->SetPosition(grid->NumZValues());
    CBIrreg->SetChecked(grid->IrregularGrid());
    CBIrreg->Show();
    const bool can = grid->CanCreateValues();
    SetControlsVisible(true, {});
    for (TControl* c : std::initializer_list<TControl*>{SEXGrid, UDXGrid, SEZGrid, UDZGrid}) c->SetEnabled(can);
  } else {
    for (TControl* c : std::initializer_list<TControl*>{SEXGrid, UDXGrid, SEZGrid, UDZGrid}) c->SetEnabled(false);
    CBIrreg->Hide();
  }
  UDDepth->SetPosition(Series->TimesZOrder());
  UDPalette->SetPosition(Series->PaletteSteps());
  CBPalStyle->SetItemIndex(Series->PaletteStyle() <= psRainbow ? Series->PaletteStyle() : -1);
  if (Series->UseColorRange()) PageControl1->SetActivePage(TabRange);
  else if (Series->UsePalette()) PageControl1->SetActivePage(TabPalette);
  else PageControl1->SetActivePage(TabSingle);
  CBUseMin->SetChecked(Series->UsePaletteMin());
  EPaletteMin->SetEnabled(Series->UsePaletteMin());
  EPaletteMin->SetText(FloatToStr(Series->PaletteMin()));
  EPaletteStep->SetText(FloatToStr(Series->PaletteStep()));
  UDLegendEvery->SetPosition(Series->LegendEvery());
  RefreshNoMiddle();
  BRemove->SetEnabled(HasOwnPointColors(Series));
  LinkSeriesColorButton(BColor, Series);
  BFromColor->LinkProperty(Series, "StartColor");
  BMidColor->LinkProperty(Series, "MidColor");
  BToColor->LinkProperty(Series, "EndColor");
  if (Series->ParentChart() && FListenedChart != Series->ParentChart()) {
    StopListening();
    FListenedChart = Series->ParentChart();
    FListenedChart->Listeners()->AddListener(this);
  }
  FLoading = was;
}

void TGrid3DSeriesEditor::HandlePanelEvent(TGrafEvent* Event) {
  if (ComponentState().Contains(csDestroying)) return;
  auto* e = dynamic_cast<TGrafSeriesEvent*>(Event);
  if (e && e->Event == seChangeColor) BColor->Repaint();
}

void TGrid3DSeriesEditor::SEXGridChange(TObject*) {
  auto* grid = dynamic_cast<TCustom3DGridSeries*>(Series);
  if (FLoading || !grid) return;
  const int x = UDXGrid->Position(), z = UDZGrid->Position();
  if (x != grid->NumXValues() || z != grid->NumZValues()) grid->CreateGridValues(x, z);
}

void TGrid3DSeriesEditor::EDepthChange(TObject*) {
  if (!FLoading && Series) Series->SetTimesZOrder(UDDepth->Position());
}

void TGrid3DSeriesEditor::CBIrregClick(TObject*) {
  if (auto* grid = dynamic_cast<TCustom3DGridSeries*>(Series); grid && !FLoading)
    grid->SetIrregularGrid(CBIrreg->Checked());
}

void TGrid3DSeriesEditor::PageControl1Change(TObject*) {
  if (FLoading || !Series) return;
  TTabSheet* page = PageControl1->ActivePage();
  if (page == TabSingle) {
    // Switching colour-each on and off recolours the points.
    Series->SetColorEachPoint(true);
    Series->SetColorEachPoint(false);
    Series->SetUseColorRange(false);
    Series->SetUsePalette(false);
  } else if (page == TabRange) {
    Series->SetUseColorRange(true);
    Series->SetUsePalette(false);
  } else if (page == TabPalette) {
    Series->SetUseColorRange(false);
    Series->SetUsePalette(true);
  }
}

void TGrid3DSeriesEditor::BRemoveClick(TObject*) {
  if (!Series) return;
  for (int i = 0; i < Series->Count(); ++i) Series->SetPointColor(i, clDefault);
  BRemove->SetEnabled(false);
}

void TGrid3DSeriesEditor::BMidColorClick(TObject*) { RefreshNoMiddle(); }

void TGrid3DSeriesEditor::CheckBox1Click(TObject*) {
  if (FLoading || !Series || !CheckBox1->Checked()) return;
  Series->SetMidColor(clNone);
  BMidColor->Repaint();
  RefreshNoMiddle();
}

void TGrid3DSeriesEditor::Button1Click(TObject*) {
  if (!Series) return;
  const TColor start = Series->StartColor();
  Series->SetStartColor(Series->EndColor());
  Series->SetEndColor(start);
  BFromColor->Repaint();
  BToColor->Repaint();
}

void TGrid3DSeriesEditor::Button2Click(TObject*) {
  if (!Series) return;
  TGrafGradient gradient;
  gradient.SetVisible(true);
  gradient.SetStartColor(Series->StartColor());
  gradient.SetMidColor(Series->MidColor());
  gradient.SetEndColor(Series->EndColor());
  std::unique_ptr<TGrafGradientEditor> editor(CreateGradientEditor(this, &gradient, false, false));
  editor->SetAlign(alNone);
  if (auto* panel = dynamic_cast<TControl*>(editor->FindComponent("Panel2"))) panel->Hide();
  for (const char* name : {"TabSheet1", "TabSheet2", "TabSheet4"})
    if (auto* tab = dynamic_cast<TTabSheet*>(editor->FindComponent(name))) tab->SetTabVisible(false);
  if (editor->ShowModal() != mrOk) return;
  Series->SetStartColor(gradient.StartColor());
  Series->SetMidColor(gradient.MidColor());
  Series->SetEndColor(gradient.EndColor());
  BFromColor->Repaint();
  BMidColor->Repaint();
  BToColor->Repaint();
  RefreshNoMiddle();
}

void TGrid3DSeriesEditor::SEPaletteChange(TObject*) {
  if (!FLoading && Series) Series->SetPaletteSteps(UDPalette->Position());
}

void TGrid3DSeriesEditor::CBPalStyleChange(TObject*) {
  if (Series && CBPalStyle->ItemIndex() >= 0)
    Series->SetPaletteStyle(static_cast<TGrafPaletteStyle>(CBPalStyle->ItemIndex()));
}

void TGrid3DSeriesEditor::CBUseMinClick(TObject*) {
  EPaletteMin->SetEnabled(CBUseMin->Checked());
  if (Series && !FLoading) Series->SetUsePaletteMin(CBUseMin->Checked());
}

void TGrid3DSeriesEditor::EPaletteMinChange(TObject*) {
  if (FLoading || !Series) return;
  Series->SetPaletteMin(StrToFloatDef(EPaletteMin->Text(), Series->PaletteMin()));
}

void TGrid3DSeriesEditor::EPaletteStepChange(TObject*) {
  if (FLoading || !Series) return;
  Series->SetPaletteStep(StrToFloatDef(EPaletteStep->Text(), Series->PaletteStep()));
}

void TGrid3DSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Series) Series->SetLegendEvery(UDLegendEvery->Position());
}

TGrid3DSeriesEditor* AddGrid3DEditorPage(TWinControl* Parent, TChartSeries* Series) {
  return dynamic_cast<TGrid3DSeriesEditor*>(
      CreateSeriesEditorTab(Parent, &TGrid3DSeriesEditor::StaticClass(), 1, "Grid 3D", Series));
}

void RegisterGrid3DEditorClasses() { RegisterClasses({&TGrid3DSeriesEditor::StaticClass()}); }
