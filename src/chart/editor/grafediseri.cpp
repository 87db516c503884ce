#include "chart/editor/grafediseri.h"

#include <algorithm>

#include "chart/core/grafeditctrls.h"
#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafcustomshapeeditor.h"
#include "chart/editor/grafformatting.h"
#include "chart/editor/graffuncedit.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/classes.h"

using namespace editorbuild;

namespace {

TEdit* MakeSpin(TComponent* Owner, TWinControl* Parent, const char* Edit, const char* Ud, int Left, int Top,
                TUpDown*& UpDown, int Min, int Max, int Position, int Increment = 1) {
  TEdit* e = Make<TEdit>(Owner, Parent, Edit, Left, Top, 38, 21);
  UpDown = Make<TUpDown>(Owner, Parent, Ud, Left + 38, Top, 15, 21);
  UpDown->SetMin(Min);
  UpDown->SetMax(Max);
  UpDown->SetIncrement(Increment);
  UpDown->SetAssociate(e);
  UpDown->SetPosition(Position);
  return e;
}

TTabSheet* MakeTab(TComponent* Owner, TPageControl* Pages, const char* Name, const std::string& Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Pages);
  return t;
}

bool IsGoing(const TComponent* C) { return C && C->ComponentState().Contains(csDestroying); }

constexpr int kManual = 0, kRandom = 1, kFunction = 2;

}  // namespace

TClass FindEditorFormClass(const TCustomChartElement* Element) {
  if (!Element) return nullptr;
  const std::string name = Element->EditorFormClassName();
  if (name.empty()) return nullptr;
  TClass cls = GetClass(name);
  if (!cls || !cls->InheritsFrom(&TCustomForm::StaticClass())) return nullptr;
  return cls;
}

ZV_CLASS_IMPL_NOPROPS(TFormGrafSeries, TForm)

// ---- Construction ------------------------------------------------------------------

TFormGrafSeries::TFormGrafSeries(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(406);
  SetClientHeight(284);
  CBSeries = Make<TComboFlat>(this, this, "CBSeries", 32, 4, 150, 21);
  CBSeries->SetDropDownCount(16);
  ImageSeries = Make<TImage>(this, this, "ImageSeries", 4, 2, 24, 24);
  ImageSeries->SetTransparent(true);
  LabelSeriesClass = Make<TLabel>(this, this, "LabelSeriesClass", 190, 8, 160, 13);
  PaintBox1 = Make<TPaintBox>(this, this, "PaintBox1", 370, 0, 36, 28);
  PaintBox1->SetCursor(crHandPoint);
  CBPersistent = Make<TCheckBox>(this, this, "CBPersistent", 290, 6, 76, 17, "Persistent");
  CBPersistent->SetVisible(false);
  PageSeries = Make<TPageControl>(this, this, "PageSeries", 0, 30, 406, 254);
  PageSeries->SetHotTrack(true);
  TheTabSheet = MakeTab(this, PageSeries, "TheTabSheet", "Format");
  TabGeneral = MakeTab(this, PageSeries, "TabGeneral", "General");
  TabMarks = MakeTab(this, PageSeries, "TabMarks", "Marks");
  TabDataSource = MakeTab(this, PageSeries, "TabDataSource", "Data Source");

  // General
  GBGeneral = Make<TGroupBox>(this, TabGeneral, "GBGeneral", 4, 2, 190, 110, "General:");
  CBShowInLegend = Make<TCheckBox>(this, GBGeneral, "CBShowInLegend", 8, 16, 170, 17, "&Show In Legend");
  CBShowInLegend->SetChecked(true);
  CBCursor = Make<TComboFlat>(this, GBGeneral, "CBCursor", 70, 38, 110, 21);
  CBCursor->SetSorted(true);
  LCursor = MakeLabel(this, GBGeneral, "LCursor", 8, 42, "&Cursor:", CBCursor);
  EDepth = MakeSpin(this, GBGeneral, "EDepth", "UDDepth", 70, 64, UDDepth, 0, 1200, 0);
  LDepth = MakeLabel(this, GBGeneral, "LDepth", 8, 68, "&Depth:", EDepth);
  CBDepth = Make<TCheckBox>(this, GBGeneral, "CBDepth", 130, 66, 50, 17, "Auto");
  GBFormats = Make<TGroupBox>(this, TabGeneral, "GBFormats", 4, 114, 190, 80, "Formats:");
  CBFormat = Make<TComboFlat>(this, GBFormats, "CBFormat", 70, 16, 90, 21);
  CBFormat->SetStyle(csDropDown);
  LValues = MakeLabel(this, GBFormats, "LValues", 8, 20, "&Values:", CBFormat);
  Button1 = Make<TButton>(this, GBFormats, "Button1", 162, 16, 21, 21, "...");
  EPercentFormat = Make<TEdit>(this, GBFormats, "EPercentFormat", 70, 44, 90, 21);
  LPercents = MakeLabel(this, GBFormats, "LPercents", 8, 48, "&Percents:", EPercentFormat);
  Button2 = Make<TButton>(this, GBFormats, "Button2", 162, 44, 21, 21, "...");
  GBHorizAxis = Make<TGroupBox>(this, TabGeneral, "GBHorizAxis", 200, 2, 196, 62, "Horizontal Axis:");
  CBHorizAxis = Make<TComboFlat>(this, GBHorizAxis, "CBHorizAxis", 8, 16, 110, 21);
  for (const char* s : {"Top", "Bottom", "Top and Bottom"}) CBHorizAxis->Items()->Add(s);
  CBXDateTime = Make<TCheckBox>(this, GBHorizAxis, "CBXDateTime", 8, 40, 100, 17, "Dat&eTime");
  GBVertAxis = Make<TGroupBox>(this, TabGeneral, "GBVertAxis", 200, 66, 196, 62, "Vertical Axis:");
  CBVertAxis = Make<TComboFlat>(this, GBVertAxis, "CBVertAxis", 8, 16, 110, 21);
  for (const char* s : {"Left", "Right", "Left and Right"}) CBVertAxis->Items()->Add(s);
  CBYDateTime = Make<TCheckBox>(this, GBVertAxis, "CBYDateTime", 8, 40, 100, 17, "D&ateTime");
  CBSort = Make<TComboFlat>(this, TabGeneral, "CBSort", 250, 134, 100, 21);
  for (const char* s : {"Ascending", "Descending", "None"}) CBSort->Items()->Add(s);
  LSort = MakeLabel(this, TabGeneral, "LSort", 204, 138, "S&ort:", CBSort);
  CBZDateTime = Make<TCheckBox>(this, TabGeneral, "CBZDateTime", 204, 160, 120, 17, "&Z DateTime");
  CBZDateTime->SetVisible(false);
  CBShowInEditor = Make<TCheckBox>(this, TabGeneral, "CBShowInEditor", 204, 180, 150, 17, "Show in this editor");
  CBShowInEditor->SetVisible(false);

  // Marks
  PageControlMarks = Make<TPageControl>(this, TabMarks, "PageControlMarks", 0, 0, 398, 224);
  TabMarksStyle = MakeTab(this, PageControlMarks, "TabMarksStyle", "Style");
  TabArrows = MakeTab(this, PageControlMarks, "TabArrows", "Arrows");
  TabSymbol = MakeTab(this, PageControlMarks, "TabSymbol", "Symbol");
  CBMarksVisible = Make<TCheckBox>(this, TabMarksStyle, "CBMarksVisible", 8, 6, 100, 17, "&Visible");
  CBAllVisible = Make<TCheckBox>(this, TabMarksStyle, "CBAllVisible", 120, 6, 150, 17, "All Series Visi&ble");
  RGMarkStyle = Make<TComboFlat>(this, TabMarksStyle, "RGMarkStyle", 8, 30, 160, 21);
  for (const char* s : {"Value", "Percent", "Label", "Label and Percent", "Label and Value", "Legend",
                        "Percent Total", "Label and Percent Total", "X value", "X and Y values"})
    RGMarkStyle->Items()->Add(s);
  EMarksEvery = MakeSpin(this, TabMarksStyle, "EMarksEvery", "UDEvery", 250, 30, UDEvery, 1, 5000, 1);
  MakeLabel(this, TabMarksStyle, "LEvery", 180, 34, "Draw &every:", EMarksEvery);
  CBMarkClip = Make<TCheckBox>(this, TabMarksStyle, "CBMarkClip", 8, 58, 100, 17, "Cl&ipped");
  SEMarksAngle = MakeSpin(this, TabMarksStyle, "SEMarksAngle", "UDMarksAngle", 250, 56, UDMarksAngle, 0, 360, 0, 5);
  UDMarksAngle->SetWrap(true);
  MakeLabel(this, TabMarksStyle, "LAngle", 180, 60, "&Angle:", SEMarksAngle);
  CBMultiLine = Make<TCheckBox>(this, TabMarksStyle, "CBMultiLine", 8, 80, 100, 17, "&Multi line");
  BMarkLinCol = Make<TButtonPen>(this, TabArrows, "BMarkLinCol", 8, 8, 80, 25, "&Border...");
  BCalloutPointer = Make<TButton>(this, TabArrows, "BCalloutPointer", 100, 8, 80, 25, "&Pointer...");
  SEArrowLength =
      MakeSpin(this, TabArrows, "SEArrowLength", "UDArrowsLength", 80, 42, UDArrowsLength, -1000, 1000, 0);
  MakeLabel(this, TabArrows, "LLength", 8, 46, "&Length:", SEArrowLength);
  EArrowDist = MakeSpin(this, TabArrows, "EArrowDist", "UDArrowDist", 80, 68, UDArrowDist, -1000, 1000, 0);
  MakeLabel(this, TabArrows, "LDistance", 8, 72, "&Distance:", EArrowDist);
  CBHead = Make<TComboFlat>(this, TabArrows, "CBHead", 80, 94, 80, 21);
  for (const char* s : {"None", "Line", "Solid"}) CBHead->Items()->Add(s);
  MakeLabel(this, TabArrows, "LHead", 8, 98, "Head:", CBHead);
  Edit1 = MakeSpin(this, TabArrows, "Edit1", "UDHeadSize", 80, 120, UDHeadSize, -1000, 1000, 0);
  MakeLabel(this, TabArrows, "LHeadSize", 8, 124, "&Size:", Edit1);

  // Data source
  CBDataSourcestyle = Make<TComboFlat>(this, TabDataSource, "CBDataSourcestyle", 4, 4, 150, 21);
  CBDataSourcestyle->SetDropDownCount(12);
  NewDataButton = Make<TButton>(this, TabDataSource, "NewDataButton", 160, 4, 60, 21, "&New...");
  EditDataButton = Make<TButton>(this, TabDataSource, "EditDataButton", 224, 4, 60, 21, "&Edit...");
  DeleteDataButton = Make<TButton>(this, TabDataSource, "DeleteDataButton", 288, 4, 60, 21, "&Delete");
  for (TButton* b : {NewDataButton, EditDataButton, DeleteDataButton}) b->SetVisible(false);
  PanelData = Make<TPanel>(this, TabDataSource, "PanelData", 0, 30, 398, 194);
  PanelData->SetBevelOuter(bvNone);
  ChartGridNavigator1 = Make<TChartGridNavigator>(this, PanelData, "ChartGridNavigator1", 0, 169, 398, 25);
  ChartGridNavigator1->SetAlign(alBottom);
  ChartGrid1 = Make<TChartGrid>(this, PanelData, "ChartGrid1", 0, 0, 398, 169);
  ChartGrid1->SetAlign(alClient);
  ChartGrid1->SetShowColors(true);
  ChartGridNavigator1->SetGrid(ChartGrid1);
  Panel4 = Make<TPanel>(this, PanelData, "Panel4", 0, 0, 398, 80);
  Panel4->SetBevelOuter(bvNone);
  Panel4->SetVisible(false);
  ESamples = Make<TEdit>(this, Panel4, "ESamples", 170, 8, 60, 21);
  ESamples->SetText("0");
  MakeLabel(this, Panel4, "LSamples", 8, 12, "&Number of sample values:", ESamples);
  CBSamplesDefault = Make<TCheckBox>(this, Panel4, "CBSamplesDefault", 240, 10, 80, 17, "&Default");
  BApplyRandom = Make<TButton>(this, Panel4, "BApplyRandom", 8, 40, 75, 25, "&Apply");
  BApplyRandom->SetEnabled(false);
  Button3 = Make<TButton>(this, Panel4, "Button3", 90, 40, 75, 25, "&Clear");
  Timer1 = new TTimer(this);
  Timer1->SetName("Timer1");
  Timer1->SetEnabled(false);
  Timer1->SetInterval(1);

  // Handlers
  CBSeries->OnChange = [this](TObject* s) { CBSeriesChange(s); };
  PageSeries->OnChange = [this](TObject* s) { PageSeriesChange(s); };
  PageSeries->OnChanging = [this](TObject* s, bool& allow) { PageSeriesChanging(s, allow); };
  CBShowInLegend->OnClick = [this](TObject* s) { CBShowInLegendClick(s); };
  CBCursor->OnChange = [this](TObject* s) { CBCursorChange(s); };
  EDepth->OnChange = [this](TObject* s) { EDepthChange(s); };
  CBDepth->OnClick = [this](TObject* s) { CBDepthClick(s); };
  CBFormat->OnChange = [this](TObject* s) { CBFormatChange(s); };
  EPercentFormat->OnChange = [this](TObject* s) { EPercentFormatChange(s); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  CBHorizAxis->OnChange = [this](TObject* s) { CBHorizAxisChange(s); };
  CBVertAxis->OnChange = [this](TObject* s) { CBVertAxisChange(s); };
  CBXDateTime->OnClick = [this](TObject* s) { CBXDateTimeClick(s); };
  CBYDateTime->OnClick = [this](TObject* s) { CBYDateTimeClick(s); };
  CBZDateTime->OnClick = [this](TObject* s) { CBZDateTimeClick(s); };
  CBSort->OnChange = [this](TObject* s) { CBSortChange(s); };
  CBShowInEditor->OnClick = [this](TObject* s) { CBShowInEditorClick(s); };
  CBPersistent->OnClick = [this](TObject* s) { CBPersistentClick(s); };
  CBMarksVisible->OnClick = [this](TObject* s) { CBMarksVisibleClick(s); };
  CBAllVisible->OnClick = [this](TObject* s) { CBAllVisibleClick(s); };
  RGMarkStyle->OnChange = [this](TObject* s) { RGMarkStyleClick(s); };
  EMarksEvery->OnChange = [this](TObject* s) { EMarksEveryChange(s); };
  CBMarkClip->OnClick = [this](TObject* s) { CBMarkClipClick(s); };
  SEMarksAngle->OnChange = [this](TObject* s) { SEMarksAngleChange(s); };
  CBMultiLine->OnClick = [this](TObject* s) { CBMultiLineClick(s); };
  SEArrowLength->OnChange = [this](TObject* s) { SEArrowLengthChange(s); };
  EArrowDist->OnChange = [this](TObject* s) { EArrowDistChange(s); };
  BCalloutPointer->OnClick = [this](TObject* s) { BCalloutPointerClick(s); };
  CBHead->OnChange = [this](TObject* s) { CBHeadChange(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  CBDataSourcestyle->OnChange = [this](TObject* s) { CBDataSourcestyleChange(s); };
  ChartGrid1->OnSetEditText = [this](TObject* s, int c, int r, const std::string& v) {
    ChartGrid1SetEditText(s, c, r, v);
  };
  ESamples->OnChange = [this](TObject* s) { ESamplesChange(s); };
  CBSamplesDefault->OnClick = [this](TObject* s) { CBSamplesDefaultClick(s); };
  BApplyRandom->OnClick = [this](TObject* s) { BApplyRandomClick(s); };
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };
  Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });
  PaintBox1->OnPaint = [this](TObject* s) { PaintBox1Paint(s); };
  PaintBox1->OnClick = [this](TObject* s) { PaintBox1Click(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  SetActiveControl(CBSeries);
  FormCreate(this);
}

TFormGrafSeries::~TFormGrafSeries() { FireOnDestroy(this); }

void TFormGrafSeries::FormCreate(TObject*) {
  FillingTab = false;
  ChangingSeries = true;
  DataSourceAllowed = GeneralTabAllowed = MarksTabAllowed = true;
  PersistentAllowed = false;
  CBDataSourcestyle->SetDropDownCount(12);
  CBDataSourcestyle->Items()->Clear();
  FStyleClasses.clear();
  CBDataSourcestyle->Items()->Add("Manual");
  CBDataSourcestyle->Items()->Add("Random");
  CBDataSourcestyle->Items()->Add("Function");
  FStyleClasses = {nullptr, nullptr, &TGrafFuncEditor::StaticClass()};
  PageSeries->SetActivePage(TheTabSheet);
  PageControlMarks->SetActivePage(TabMarksStyle);
}

void TFormGrafSeries::FormShow(TObject*) {
  ChangingSeries = false;
  CBShowInEditor->SetVisible(CurrentSeries && CurrentSeries->ComponentState().Contains(csDesigning));
  if (CBShowInEditor->Visible()) CBShowInEditor->SetChecked(CurrentSeries->ShowInEditor());
}

void TFormGrafSeries::FormDestroy(TObject*) {
  DropSeriesTabs();
  if (ListenedChart && !IsGoing(ListenedChart)) {
    ListenedChart->RemoveListener(this);
    ListenedChart->RemoveFreeNotification(this);
  }
  ListenedChart = nullptr;
}

bool TFormGrafSeries::SourceEditorCloses() { return !SourceEditor || SourceEditor->CloseQuery(); }

void TFormGrafSeries::FormCloseQuery(TObject*, bool& CanClose) { CanClose = SourceEditorCloses(); }

// ---- Editor forms by class name -----------------------------------------------------

TCustomForm* TFormGrafSeries::CreateSeriesEditorPage(TWinControl* Parent, TClass FormClass, int TabIndex,
                                                     const std::string& Caption, TChartSeries* Series) {
  if (!FormClass) return nullptr;
  auto* page = Parent ? dynamic_cast<TFormGrafSeries*>(Parent->Owner()) : nullptr;
  if (page) {
    auto* tab = new TTabSheet(page);
    tab->SetCaption(Caption);
    tab->SetPageControl(page->PageSeries);
    tab->SetPageIndex(std::clamp(TabIndex, 0, page->PageSeries->PageCount() - 1));
    auto* form = dynamic_cast<TCustomForm*>(CreateComponentOfClass(FormClass, page));
    if (!form) return nullptr;
    form->SetAlign(alClient);
    EmbedEditorForm(form, tab, Series);
    return form;
  }
  auto* form = dynamic_cast<TCustomForm*>(CreateComponentOfClass(FormClass, Parent));
  if (!form) return nullptr;
  form->SetCaption(Caption);
  form->SetTag(reinterpret_cast<intptr_t>(Series));
  return form;
}

// ---- Choosing and taking a series ---------------------------------------------------

void TFormGrafSeries::SelectCurrentSeries() {
  if (!CurrentSeries) {
    PageSeries->SetVisible(false);
    return;
  }
  const int i = CBSeries->Items()->IndexOfObject(CurrentSeries);
  CBSeries->SetItemIndex(i);
  CBSeriesChange(CBSeries);
}

void TFormGrafSeries::CBSeriesChange(TObject*) {
  const bool wasChanging = ChangingSeries;
  ChangingSeries = true;
  try {
    const std::string caption = PageSeries->ActivePage() ? PageSeries->ActivePage()->Caption() : std::string();
    const int i = CBSeries->ItemIndex();
    CurrentSeries = i >= 0 ? dynamic_cast<TChartSeries*>(CBSeries->Items()->Objects(i)) : nullptr;
    if (!CurrentSeries) {
      ImageSeries->SetVisible(false);
      LabelSeriesClass->SetCaption("");
      PageSeries->SetVisible(false);
    } else {
      if (SeriesListBox) {
        SeriesListBox->ClearSelection();
        SeriesListBox->SelectSeries(CurrentSeries);
      }
      if (CurrentSeries != PreviousSeries) {
        TakeSeries(caption);
        PreviousSeries = CurrentSeries;
      }
    }
  } catch (...) {
    ChangingSeries = wasChanging;
    throw;
  }
  ChangingSeries = wasChanging;
}

bool TFormGrafSeries::IsFixedTab(TTabSheet* Tab) const {
  return Tab == TheTabSheet || Tab == TabGeneral || Tab == TabMarks || Tab == TabDataSource;
}

void TFormGrafSeries::FillDataSourceStyles() {
  while (CBDataSourcestyle->Items()->Count() > 3) CBDataSourcestyle->Items()->Delete(3);
  FStyleClasses.resize(3);
  for (TClass cls : SeriesSourceClassList()) {
    if (std::find(FStyleClasses.begin(), FStyleClasses.end(), cls) != FStyleClasses.end()) continue;
    std::unique_ptr<TComponent> probe(CreateComponentOfClass(cls, nullptr));
    auto* source = dynamic_cast<TGrafSeriesSource*>(probe.get());
    if (!source || !source->SourceAvailable(CurrentSeries->ParentChart())) continue;
    CBDataSourcestyle->Items()->Add(source->Description());
    FStyleClasses.push_back(cls);
  }
}

void TFormGrafSeries::TakeSeries(std::string Caption) {
  TChartSeries* s = CurrentSeries;
  // 1. Listen to the series' chart.
  TCustomAxisPanel* chart = s->ParentChart();
  if (chart != ListenedChart) {
    if (ListenedChart && !IsGoing(ListenedChart)) {
      ListenedChart->RemoveListener(this);
      ListenedChart->RemoveFreeNotification(this);
    }
    ListenedChart = chart;
    if (ListenedChart) {
      ListenedChart->Listeners()->AddListener(this);
      ListenedChart->FreeNotification(this);
    }
  }
  // 2. The data-source styles offered for its chart.
  FillDataSourceStyles();
  // 3, 4. Picture, swatch and description.
  TBitmap bitmap;
  if (LoadClassBitmap(s, &bitmap)) ImageSeries->Picture()->Bitmap()->Assign(&bitmap);
  PaintBox1->SetVisible(UsesSeriesColor(s));
  std::string description = SeriesTypeDescription(s);
  if (size_t amp = description.find('&'); amp != std::string::npos) description.insert(amp, "&");
  LabelSeriesClass->SetCaption(description + ": " + SeriesDisplayName(s));
  // 5. Tabs.
  ImageSeries->SetVisible(true);
  PageSeries->SetVisible(true);
  TabGeneral->SetTabVisible(GeneralTabAllowed);
  TabMarks->SetTabVisible(MarksTabAllowed);
  TabDataSource->SetTabVisible(DataSourceAllowed && !s->Style().Contains(csfTemplate) &&
                               !s->Style().Contains(csfHideSource));
  // 6.
  if (Caption.empty() || (Caption == TabDataSource->Caption() && !TabDataSource->TabVisible()))
    Caption = TheTabSheet->Caption();
  // 7, 8.
  GBHorizAxis->SetVisible(s->HasAxes());
  GBVertAxis->SetVisible(s->HasAxes());
  CBPersistent->SetVisible(PersistentAllowed && !s->Style().Contains(csfTemplate));
  CBPersistent->SetChecked(s->Style().Contains(csfPersistent));
  // 9. The series' own editor form in "Format".
  DropSeriesTabs();
  if (TClass cls = FindEditorFormClass(s)) {
    FEditorForm = dynamic_cast<TCustomForm*>(CreateComponentOfClass(cls, this));
  }
  if (FEditorForm) {
    FEditorForm->SetAlign(alClient);
    EmbedEditorForm(FEditorForm, TheTabSheet, s);
    TheTabSheet->SetTabVisible(true);
  } else {
    TheTabSheet->SetTabVisible(false);
  }
  // 10. The tab shown before, else "Format", else "General".
  TTabSheet* target = nullptr;
  for (int i = 0; i < PageSeries->PageCount(); ++i)
    if (PageSeries->Pages(i)->Caption() == Caption && PageSeries->Pages(i)->TabVisible()) {
      target = PageSeries->Pages(i);
      break;
    }
  if (!target) target = TheTabSheet;
  if (!target->TabVisible()) target = TabGeneral;
  PageSeries->SetActivePage(target);
  // 11.
  CBDataSourcestyle->SetItemIndex(-1);
  FStyleIndex = -1;
  PageSeriesChange(PageSeries);
  PaintBox1->Invalidate();
}

void TFormGrafSeries::DropSeriesTabs() {
  FEditorForm = nullptr;
  while (TheTabSheet->ControlCount() > 0) delete TheTabSheet->Controls(TheTabSheet->ControlCount() - 1);
  for (int i = PageSeries->PageCount() - 1; i >= 0; --i) {
    TTabSheet* tab = PageSeries->Pages(i);
    if (IsFixedTab(tab)) continue;
    while (tab->ControlCount() > 0) delete tab->Controls(tab->ControlCount() - 1);
    if (i != 0 && !IsGoing(PageSeries) && !IsGoing(tab)) delete tab;
  }
  if (SourceEditor && SourceEditor->CloseQuery()) {
    delete SourceEditor;
    SourceEditor = nullptr;
  }
}

// ---- Tabs --------------------------------------------------------------------------

void TFormGrafSeries::PageSeriesChanging(TObject*, bool& AllowChange) {
  AllowChange = SourceEditorCloses();
  if (!FRequestFromHost) FillingTab = AllowChange;
}

void TFormGrafSeries::PageSeriesChange(TObject*) {
  if (CurrentSeries) {
    TTabSheet* tab = PageSeries->ActivePage();
    if (tab == TabGeneral) FillGeneral();
    else if (tab == TabMarks) FillMarks();
    else if (tab == TabDataSource) FillDataSource();
  }
  FillingTab = false;
}

// ---- General -----------------------------------------------------------------------

void TFormGrafSeries::FillAxisCombos() {
  TCustomAxisPanel* chart = CurrentSeries ? CurrentSeries->ParentChart() : nullptr;
  for (TComboFlat* combo : {CBHorizAxis, CBVertAxis}) {
    while (combo->Items()->Count() > 3) combo->Items()->Delete(3);
    if (!chart) continue;
    TChartAxes* axes = chart->AxesList();
    for (int i = 6; i < axes->Count(); ++i) {
      TChartAxis* axis = axes->AxisAt(i);
      if (axis->Horizontal() == (combo == CBHorizAxis))
        combo->Items()->AddObject("Custom  " + IntToStr(i - 6), axis);
    }
  }
}

void TFormGrafSeries::FillGeneral() {
  TChartSeries* s = CurrentSeries;
  FillingTab = true;
  CBShowInLegend->SetChecked(s->ShowInLegend());
  CBDepth->SetChecked(s->Depth() == -1);
  UDDepth->SetPosition(s->Depth() == -1 ? 0 : s->Depth());
  // The standard formats once, then the series' own when not among them.
  if (CBFormat->Items()->Count() == 0) AddValueFormats(CBFormat->Items());
  const std::string format = LocalizeNumberFormat(s->ValueFormat());
  if (CBFormat->Items()->IndexOf(format) < 0) CBFormat->Items()->Add(format);
  CBFormat->SetText(format);
  EPercentFormat->SetText(LocalizeNumberFormat(s->PercentFormat()));
  FillAxisCombos();
  if (s->HorizAxis() == aCustomHorizAxis)
    CBHorizAxis->SetItemIndex(CBHorizAxis->Items()->IndexOfObject(s->CustomHorizAxis()));
  else CBHorizAxis->SetItemIndex(static_cast<int>(s->HorizAxis()));
  if (s->VertAxis() == aCustomVertAxis)
    CBVertAxis->SetItemIndex(CBVertAxis->Items()->IndexOfObject(s->CustomVertAxis()));
  else CBVertAxis->SetItemIndex(static_cast<int>(s->VertAxis()));
  CBXDateTime->SetChecked(s->XValues()->DateTime());
  CBYDateTime->SetChecked(s->YValues()->DateTime());
  TChartValueList* z = nullptr;
  if (TCustomAxisPanel* chart = s->ParentChart()) {
    z = s->ValuesForAxis(chart->DepthAxis());
    if (!z) z = s->ValuesForAxis(chart->DepthTopAxis());
  }
  CBZDateTime->SetVisible(z != nullptr);
  if (z) CBZDateTime->SetChecked(z->DateTime());
  switch (s->MainList()->Order()) {
    case loNone: CBSort->SetItemIndex(2); break;
    case loAscending: CBSort->SetItemIndex(0); break;
    case loDescending: CBSort->SetItemIndex(1); break;
  }
  const bool few = s->ValuesList()->Count() < 3;
  for (TControl* c : std::initializer_list<TControl*>{CBSort, LSort, LDepth, EDepth, UDDepth, CBDepth})
    c->SetVisible(few);
  FillCursorCombo(CBCursor, s->Cursor());
}

void TFormGrafSeries::CBShowInLegendClick(TObject*) {
  if (CurrentSeries) CurrentSeries->SetShowInLegend(CBShowInLegend->Checked());
}

void TFormGrafSeries::CBCursorChange(TObject*) {
  if (CurrentSeries) CurrentSeries->SetCursor(CursorFromName(CurrentSeries->Cursor(), CBCursor->Text()));
}

void TFormGrafSeries::EDepthChange(TObject*) {
  if (Guarded()) return;
  CurrentSeries->SetDepth(UDDepth->Position());
  CBDepth->SetChecked(false);
}

void TFormGrafSeries::CBDepthClick(TObject*) {
  if (Guarded()) return;
  CurrentSeries->SetDepth(CBDepth->Checked() ? -1 : UDDepth->Position());
}

void TFormGrafSeries::CBFormatChange(TObject*) {
  if (CurrentSeries) CurrentSeries->SetValueFormat(DelocalizeNumberFormat(CBFormat->Text()));
}

void TFormGrafSeries::EPercentFormatChange(TObject*) {
  if (CurrentSeries) CurrentSeries->SetPercentFormat(DelocalizeNumberFormat(EPercentFormat->Text()));
}

void TFormGrafSeries::Button1Click(TObject*) {
  if (!CurrentSeries) return;
  CBFormat->SetText(TFormatEditor::EditFormat(this, CBFormat->Text(), false));
  CBFormatChange(CBFormat);
}

void TFormGrafSeries::Button2Click(TObject*) {
  if (!CurrentSeries) return;
  EPercentFormat->SetText(TFormatEditor::EditFormat(this, EPercentFormat->Text(), false));
  EPercentFormatChange(EPercentFormat);
}

void TFormGrafSeries::CBHorizAxisChange(TObject*) {
  if (!CurrentSeries) return;
  const int i = CBHorizAxis->ItemIndex();
  if (i > 2) {
    CurrentSeries->SetHorizAxis(aCustomHorizAxis);
    CurrentSeries->SetCustomHorizAxis(dynamic_cast<TChartAxis*>(CBHorizAxis->Items()->Objects(i)));
  } else if (i >= 0) {
    CurrentSeries->SetHorizAxis(static_cast<THorizAxis>(i));
  }
}

void TFormGrafSeries::CBVertAxisChange(TObject*) {
  if (!CurrentSeries) return;
  const int i = CBVertAxis->ItemIndex();
  if (i > 2) {
    CurrentSeries->SetVertAxis(aCustomVertAxis);
    CurrentSeries->SetCustomVertAxis(dynamic_cast<TChartAxis*>(CBVertAxis->Items()->Objects(i)));
  } else if (i >= 0) {
    CurrentSeries->SetVertAxis(static_cast<TVertAxis>(i));
  }
}

void TFormGrafSeries::CBXDateTimeClick(TObject*) {
  if (CurrentSeries) CurrentSeries->XValues()->SetDateTime(CBXDateTime->Checked());
}

void TFormGrafSeries::CBYDateTimeClick(TObject*) {
  if (CurrentSeries) CurrentSeries->YValues()->SetDateTime(CBYDateTime->Checked());
}

void TFormGrafSeries::CBZDateTimeClick(TObject*) {
  if (!CurrentSeries) return;
  TChartValueList* z = nullptr;
  if (TCustomAxisPanel* chart = CurrentSeries->ParentChart()) {
    z = CurrentSeries->ValuesForAxis(chart->DepthAxis());
    if (!z) z = CurrentSeries->ValuesForAxis(chart->DepthTopAxis());
  }
  if (z) z->SetDateTime(CBZDateTime->Checked());
  else CBZDateTime->SetVisible(false);
}

void TFormGrafSeries::CBSortChange(TObject*) {
  if (!CurrentSeries) return;
  CurrentSeries->OtherList()->SetOrder(loNone);
  switch (CBSort->ItemIndex()) {
    case 0: CurrentSeries->MainList()->SetOrder(loAscending); break;
    case 1: CurrentSeries->MainList()->SetOrder(loDescending); break;
    default: CurrentSeries->MainList()->SetOrder(loNone); break;
  }
  if (CurrentSeries->MainList()->Order() != loNone) CurrentSeries->ResortIfOrdered();
}

void TFormGrafSeries::CBShowInEditorClick(TObject*) {
  if (CurrentSeries) CurrentSeries->SetShowInEditor(CBShowInEditor->Checked());
}

void TFormGrafSeries::CBPersistentClick(TObject*) {
  if (!CurrentSeries) return;
  TChartSeriesStyle style = CurrentSeries->Style();
  if (CBPersistent->Checked()) style.Include(csfPersistent);
  else style.Exclude(csfPersistent);
  CurrentSeries->SetStyle(style);
}

// ---- Marks -------------------------------------------------------------------------

void TFormGrafSeries::EnableMultiLine() {
  const int style = RGMarkStyle->ItemIndex();
  CBMultiLine->SetEnabled(style == smsLabelPercent || style == smsLabelValue || style == smsPercentTotal ||
                          style == smsLabelPercentTotal || style == smsXY);
}

void TFormGrafSeries::FillMarks() {
  TSeriesMarks* marks = CurrentSeries->Marks();
  FillingTab = true;
  if (!MarksShapeEditor) {
    MarksShapeEditor = EmbedShapeEditor(PageControlMarks, marks);
    SymbolEditor = TFormGrafShape::CreateShapeEditor(this, marks->Symbol(), TabSymbol);
    if (SymbolEditor) {
      if (auto* back = dynamic_cast<TControl*>(SymbolEditor->FindComponent("BBackColor"))) {
        back->SetVisible(false);
        CBSymbolVisible = new TCheckBox(this);
        CBSymbolVisible->SetName("CBSymbolVisible");
        CBSymbolVisible->SetCaption("&Visible");
        CBSymbolVisible->SetBounds(back->Left(), back->Top(), 80, 17);
        CBSymbolVisible->SetParent(back->Parent());
        CBSymbolVisible->OnClick = [this](TObject* s) {
          if (SymbolEditor) SymbolEditor->CBVisibleChecked(s);
        };
      }
      if (auto* text = dynamic_cast<TTabSheet*>(SymbolEditor->FindComponent("TabText"))) text->SetTabVisible(false);
    }
  }
  RGMarkStyle->SetItemIndex(static_cast<int>(marks->Style()));
  UDArrowsLength->SetPosition(marks->ArrowLength());
  UDArrowDist->SetPosition(marks->Callout()->Distance());
  UDMarksAngle->SetPosition(marks->Angle());
  CBMarkClip->SetChecked(marks->Clip());
  UDEvery->SetPosition(marks->DrawEvery());
  CBMultiLine->SetChecked(marks->MultiLine());
  CBMarksVisible->SetChecked(marks->Visible());
  BMarkLinCol->LinkPen(marks->Arrow());
  CBHead->SetItemIndex(static_cast<int>(marks->Callout()->ArrowHead()));
  UDHeadSize->SetPosition(marks->Callout()->ArrowHeadSize());
  bool all = true;
  if (TCustomAxisPanel* chart = CurrentSeries->ParentChart())
    for (TChartSeries* s : *chart->SeriesList())
      if (!s->Marks()->Visible()) all = false;
  FChangingAllVisible = true;
  CBAllVisible->SetChecked(all);
  FChangingAllVisible = false;
  if (CBSymbolVisible) CBSymbolVisible->SetChecked(marks->Symbol()->Visible());
  EnableMultiLine();
  if (MarksShapeEditor) MarksShapeEditor->BindShape(marks);
  if (SymbolEditor) SymbolEditor->BindShape(marks->Symbol());
}

void TFormGrafSeries::CBMarksVisibleClick(TObject*) {
  if (!CurrentSeries) return;
  CurrentSeries->Marks()->SetVisible(CBMarksVisible->Checked());
  bool all = true;
  if (TCustomAxisPanel* chart = CurrentSeries->ParentChart())
    for (TChartSeries* s : *chart->SeriesList())
      if (!s->Marks()->Visible()) all = false;
  FChangingAllVisible = true;
  CBAllVisible->SetChecked(all);
  FChangingAllVisible = false;
}

void TFormGrafSeries::CBAllVisibleClick(TObject*) {
  if (Guarded() || FChangingAllVisible) return;
  if (TCustomAxisPanel* chart = CurrentSeries->ParentChart())
    for (TChartSeries* s : *chart->SeriesList()) s->Marks()->SetVisible(CBAllVisible->Checked());
  CBMarksVisible->SetChecked(CBAllVisible->Checked());
}

void TFormGrafSeries::RGMarkStyleClick(TObject*) {
  if (!CurrentSeries || RGMarkStyle->ItemIndex() < 0) return;
  CurrentSeries->Marks()->SetStyle(static_cast<TSeriesMarksStyle>(RGMarkStyle->ItemIndex()));
  EnableMultiLine();
}

void TFormGrafSeries::EMarksEveryChange(TObject*) {
  if (!Guarded()) CurrentSeries->Marks()->SetDrawEvery(UDEvery->Position());
}

void TFormGrafSeries::CBMarkClipClick(TObject*) {
  if (CurrentSeries) CurrentSeries->Marks()->SetClip(CBMarkClip->Checked());
}

void TFormGrafSeries::SEMarksAngleChange(TObject*) {
  if (!Guarded()) CurrentSeries->Marks()->SetAngle(UDMarksAngle->Position());
}

void TFormGrafSeries::CBMultiLineClick(TObject*) {
  if (CurrentSeries) CurrentSeries->Marks()->SetMultiLine(CBMultiLine->Checked());
}

void TFormGrafSeries::SEArrowLengthChange(TObject*) {
  if (!Guarded()) CurrentSeries->Marks()->SetArrowLength(UDArrowsLength->Position());
}

void TFormGrafSeries::EArrowDistChange(TObject*) {
  if (!Guarded()) CurrentSeries->Marks()->Callout()->SetDistance(UDArrowDist->Position());
}

void TFormGrafSeries::BCalloutPointerClick(TObject*) {
  if (!CurrentSeries) return;
  // The pointer editor, found by name as every element editor is.
  TClass cls = GetClass("TSeriesPointerEditor");
  TCustomForm* form = cls ? CreateEditorDialog(cls, this) : nullptr;
  if (!form) return;
  form->SetCaption("Pointer");
  form->SetTag(reinterpret_cast<intptr_t>(CurrentSeries->Marks()->Callout()));
  try {
    form->ShowModal();
  } catch (...) {
    delete form;
    throw;
  }
  delete form;
}

void TFormGrafSeries::CBHeadChange(TObject*) {
  if (!Guarded() && CBHead->ItemIndex() >= 0)
    CurrentSeries->Marks()->Callout()->SetArrowHead(static_cast<TArrowHeadStyle>(CBHead->ItemIndex()));
}

void TFormGrafSeries::Edit1Change(TObject*) {
  if (!Guarded()) CurrentSeries->Marks()->Callout()->SetArrowHeadSize(UDHeadSize->Position());
}

// ---- Data source -------------------------------------------------------------------

void TFormGrafSeries::FillDataSource() {
  TChartSeries* s = CurrentSeries;
  int index = kManual;
  TComponent* source = s->QueryDataSource();
  if (s->FunctionType() || dynamic_cast<TChartSeries*>(source)) {
    index = kFunction;
  } else if (!source) {
    index = (s->Count() > 0 && !s->ManualData) ? kRandom : kManual;
  } else if (auto* feeder = dynamic_cast<TGrafSeriesSource*>(source)) {
    for (size_t i = 3; i < FStyleClasses.size(); ++i) {
      std::unique_ptr<TComponent> probe(CreateComponentOfClass(FStyleClasses[i], nullptr));
      auto* p = dynamic_cast<TGrafSeriesSource*>(probe.get());
      if (p && feeder->InheritsFrom(FStyleClasses[i]) && p->FeedsSeries(s)) {
        index = static_cast<int>(i);
        break;
      }
    }
  }
  if (index != FStyleIndex) {
    CBDataSourcestyle->SetItemIndex(index);
    FStyleIndex = index;
    ShowDataSource();
  }
}

void TFormGrafSeries::ClearDataSource() {
  TChartSeries* s = CurrentSeries;
  if (auto* source = dynamic_cast<TGrafSeriesSource*>(s->QueryDataSource()); source && source->Owner() == s) {
    source->SetSeries(nullptr);
    delete source;
    s->SetDataSource(nullptr);
    s->RemoveAllPoints();
  }
  s->AssignFunction(nullptr);
}

void TFormGrafSeries::CBDataSourcestyleChange(TObject*) {
  if (!CurrentSeries) return;
  if (auto* editor = dynamic_cast<TBaseSourceEditor*>(SourceEditor))
    if (editor->ApplyButton()) editor->ApplyButton()->SetEnabled(false);
  const int index = CBDataSourcestyle->ItemIndex();
  if (index == kManual) {
    ClearDataSource();
    CurrentSeries->ManualData = true;
  } else if (index == kRandom) {
    ClearDataSource();
  }
  FStyleIndex = index;
  ShowDataSource();
}

void TFormGrafSeries::ShowDataSource() {
  if (SourceEditor) {
    if (!SourceEditor->CloseQuery()) return;
    delete SourceEditor;
    SourceEditor = nullptr;
  }
  for (TControl* c : std::initializer_list<TControl*>{NewDataButton, EditDataButton, DeleteDataButton, ChartGrid1,
                                                      ChartGridNavigator1, Panel4})
    c->SetVisible(false);
  TChartSeries* s = CurrentSeries;
  const int index = CBDataSourcestyle->ItemIndex();
  if (index == kManual) {
    ChartGrid1->SetChart(dynamic_cast<TCustomChart*>(s->ParentChart()));
    ChartGrid1->SetSeries(s);
    ChartGrid1->SetVisible(true);
    ChartGridNavigator1->SetVisible(true);
    return;
  }
  if (index == kRandom) {
    Panel4->SetVisible(true);
    const int stored = s->SampleCount;
    const int count = stored == 0 ? s->DefaultSampleCount() : stored;
    ESamples->SetText(IntToStr(count));
    const bool isDefault = stored == 0 || stored == s->DefaultSampleCount();
    FSettingSamples = true;
    CBSamplesDefault->SetChecked(isDefault);
    FSettingSamples = false;
    CBSamplesDefault->SetEnabled(!isDefault);
    return;
  }
  if (index < 0 || index >= static_cast<int>(FStyleClasses.size()) || !FStyleClasses[static_cast<size_t>(index)])
    return;
  TClass formClass = FStyleClasses[static_cast<size_t>(index)];
  if (index > kFunction) {
    std::unique_ptr<TComponent> probe(CreateComponentOfClass(formClass, nullptr));
    auto* source = dynamic_cast<TGrafSeriesSource*>(probe.get());
    formClass = source ? source->SourceEditorClass() : nullptr;
    for (TButton* b : {NewDataButton, EditDataButton, DeleteDataButton})
      if (b->OnClick) b->SetVisible(true);
  }
  if (!formClass) return;
  SourceEditor = dynamic_cast<TCustomForm*>(CreateComponentOfClass(formClass, this));
  if (!SourceEditor) return;
  SourceEditor->SetAlign(alClient);
  EmbedEditorForm(SourceEditor, PanelData, s);
  Timer1->SetEnabled(true);
}

void TFormGrafSeries::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  PageSeries->SetActivePage(nullptr);
  PageSeries->SetActivePage(TabDataSource);
}

void TFormGrafSeries::ChartGrid1SetEditText(TObject*, int, int, const std::string&) {
  if (CurrentSeries) CurrentSeries->NotifyDataChanged();
}

void TFormGrafSeries::ESamplesChange(TObject*) {
  if (!CurrentSeries) return;
  int n = 0;
  if (!TryStrToInt(Trim(ESamples->Text()), n)) n = 0;
  CurrentSeries->SampleCount = n;
  const bool isDefault = n == 0 || n == CurrentSeries->DefaultSampleCount();
  // Ticked here to show the count is the default, not to write it back.
  FSettingSamples = true;
  CBSamplesDefault->SetChecked(isDefault);
  FSettingSamples = false;
  CBSamplesDefault->SetEnabled(!isDefault);
  BApplyRandom->SetEnabled(true);
}

void TFormGrafSeries::CBSamplesDefaultClick(TObject*) {
  if (!CurrentSeries || FSettingSamples || !CBSamplesDefault->Checked()) return;
  ESamples->SetText(IntToStr(CurrentSeries->DefaultSampleCount()));
  CBSamplesDefault->SetEnabled(false);
}

void TFormGrafSeries::BApplyRandomClick(TObject*) {
  if (!CurrentSeries) return;
  int n = 0;
  if (!TryStrToInt(Trim(ESamples->Text()), n) || n <= 0) n = CurrentSeries->DefaultSampleCount();
  CurrentSeries->LoadDemoData(n);
}

void TFormGrafSeries::Button3Click(TObject*) {
  if (!CurrentSeries) return;
  CurrentSeries->RemoveAllPoints();
  CBDataSourcestyle->SetItemIndex(kManual);
  CBDataSourcestyleChange(CBDataSourcestyle);
}

// ---- Colour swatch -----------------------------------------------------------------

void TFormGrafSeries::PaintBox1Paint(TObject*) {
  TCanvas* canvas = PaintBox1->Canvas();
  TRect r = PaintBox1->ClientRect();
  r.Top += 4;
  r.Bottom -= 4;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(PaintBox1->Color());
  canvas->FillRect(r);
  if (CurrentSeries) DrawSeriesSymbolOn(CurrentSeries, canvas, r);
}

void TFormGrafSeries::PaintBox1Click(TObject*) {
  if (!CurrentSeries) return;
  TColor c = CurrentSeries->SeriesColor();
  const TColor old = c;
  if (EditColorValue(this, c) && c != old) {
    CurrentSeries->SetSeriesColor(c);
    PaintBox1->Invalidate();
  }
}

// ---- Chart events ------------------------------------------------------------------

void TFormGrafSeries::HandlePanelEvent(TGrafEvent* Event) {
  if (ComponentState().Contains(csDestroying)) return;
  auto* e = dynamic_cast<TGrafSeriesEvent*>(Event);
  if (!e) return;
  if (e->Event == seChangeColor) {
    PaintBox1->Invalidate();
  } else if (e->Event == seRemove && e->Series && e->Series == CurrentSeries) {
    DropSeriesTabs();
    CurrentSeries = nullptr;
    PreviousSeries = nullptr;
    if (ChartGrid1->Series() == e->Series) ChartGrid1->SetSeries(nullptr);
    // The combo still holds the series while it is announced.
    const int i = CBSeries->Items()->IndexOfObject(e->Series);
    if (i >= 0 && i == CBSeries->ItemIndex()) CBSeries->SetItemIndex(-1);
    CBSeriesChange(CBSeries);
  }
}

void TFormGrafSeries::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == ListenedChart) ListenedChart = nullptr;
  if (AComponent == SourceEditor) SourceEditor = nullptr;
  if (AComponent == FEditorForm) FEditorForm = nullptr;
  if (AComponent == MarksShapeEditor) MarksShapeEditor = nullptr;
  if (AComponent == SymbolEditor) SymbolEditor = nullptr;
}

void RegisterSeriesPageClasses() { RegisterClasses({&TFormGrafSeries::StaticClass()}); }
