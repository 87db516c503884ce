#include "chart/editor/grafgalleryalternate.h"

#include <algorithm>
#include <vector>

#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"

using namespace editorbuild;

namespace {
const char* const kAllPages = "(all)";

std::string OneLine(std::string s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}
}  // namespace

ZV_CLASS_IMPL_NOPROPS(TGrafGalleryForm, TForm)

TGrafGalleryForm::TGrafGalleryForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("GrafChart Pro Gallery");
  SetClientWidth(470);
  SetClientHeight(287);
  SetKeyPreview(true);
  Panel1 = Make<TPanel>(this, this, "Panel1", 0, 0, 470, 33);
  Panel1->SetAlign(alTop);
  Panel1->SetBevelOuter(bvNone);
  CBPage = Make<TComboFlat>(this, Panel1, "CBPage", 56, 6, 140, 21);
  Label1 = MakeLabel(this, Panel1, "Label1", 8, 10, "&Gallery:", CBPage);
  CB3D = Make<TCheckBox>(this, Panel1, "CB3D", 210, 8, 50, 17, "&3D");
  CB3D->SetChecked(true);
  CBSmooth = Make<TCheckBox>(this, Panel1, "CBSmooth", 270, 8, 80, 17, "&Smooth");
  CBSmooth->SetChecked(true);
  PanelBottom = Make<TPanel>(this, this, "PanelBottom", 0, 252, 470, 35);
  PanelBottom->SetAlign(alBottom);
  PanelBottom->SetBevelOuter(bvNone);
  Panel3 = Make<TPanel>(this, PanelBottom, "Panel3", 300, 0, 170, 35);
  Panel3->SetAlign(alRight);
  Panel3->SetBevelOuter(bvNone);
  BOK = MakeOkButton(this, Panel3, "BOK", 6, 5);
  BCancel = MakeCancelButton(this, Panel3, "BCancel", 88, 5);
  ChartListBox1 = Make<TListBox>(this, this, "ChartListBox1", 0, 33, 150, 219);
  ChartListBox1->SetAlign(alLeft);
  ChartListBox1->SetItemHeight(24);
  Splitter1 = Make<TSplitter>(this, this, "Splitter1", 150, 33, 3, 219);
  Splitter1->SetAlign(alLeft);
  ChartGalleryPanel1 = Make<TChartGalleryPanel>(this, this, "ChartGalleryPanel1", 153, 33, 317, 219);
  ChartGalleryPanel1->SetAlign(alClient);
  ChartGalleryPanel1->OnSelectedChart = [this](TObject*) { SetModalResult(mrOk); };

  CBPage->OnChange = [this](TObject* s) { CBPageChange(s); };
  ChartListBox1->OnClick = [this](TObject* s) { ChartListBox1Click(s); };
  CB3D->OnClick = [this](TObject* s) { CB3DClick(s); };
  CBSmooth->OnClick = [this](TObject* s) { CBSmoothClick(s); };
  OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { FormKeyDown(s, k, sh); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TGrafGalleryForm::~TGrafGalleryForm() { FireOnDestroy(this); }

void TGrafGalleryForm::FormCreate(TObject*) {
  FChart = std::make_unique<TChart>(nullptr);
  ChartListBox1->SetSorted(true);
  std::vector<std::string> pages;
  TGrafSeriesTypes* types = SeriesTypeRegistry();
  for (int i = 0; i < types->Count(); ++i) {
    const TGrafSeriesType* t = types->TypeAt(i);
    if (t->FunctionClass || !t->GalleryPage) continue;
    if (std::find(pages.begin(), pages.end(), *t->GalleryPage) == pages.end()) pages.push_back(*t->GalleryPage);
  }
  std::sort(pages.begin(), pages.end());
  CBPage->Items()->Add(kAllPages);
  for (const std::string& p : pages) CBPage->Items()->Add(p);
  CBPage->SetItemIndex(CBPage->Items()->IndexOf(GrafMsgStandard));
  CBSmooth->SetChecked(ReadEditorOptionBool("SmoothGallery", false));
}

void TGrafGalleryForm::FormDestroy(TObject*) {
  ChartGalleryPanel1->SubPanel = nullptr;
  FChart.reset();
}

void TGrafGalleryForm::Set3D(bool Value) { CB3D->SetChecked(Value); }
bool TGrafGalleryForm::Is3D() const { return CB3D->Checked(); }

void TGrafGalleryForm::FillTypes() {
  ChartListBox1->Items()->Clear();
  while (FChart->NumberOfSeries() > 0) delete FChart->SeriesAt(0);
  FLastClass = nullptr;
  const int page = CBPage->ItemIndex();
  const std::string pageText = page >= 0 ? CBPage->Items()->Strings(page) : std::string();
  TGrafSeriesTypes* types = SeriesTypeRegistry();
  for (int i = 0; i < types->Count(); ++i) {
    const TGrafSeriesType* t = types->TypeAt(i);
    if (t->FunctionClass || !t->SeriesClass) continue;
    if (pageText != kAllPages && (!t->GalleryPage || *t->GalleryPage != pageText)) continue;
    TChartSeries* series = CreateChartSeries(FChart.get(), FChart.get(), t->SeriesClass, nullptr);
    if (!series) continue;
    series->SetTitle(OneLine(t->Description ? *t->Description : t->SeriesClass->Name()));
    ChartListBox1->Items()->AddObject(series->Title(), series);
  }
  if (ChartListBox1->Count() > 0 && ChartListBox1->ItemIndex() < 0) ChartListBox1->SetItemIndex(0);
  ChartListBox1Click(ChartListBox1);
}

void TGrafGalleryForm::FormShow(TObject*) { FillTypes(); }

void TGrafGalleryForm::CBPageChange(TObject*) { FillTypes(); }

void TGrafGalleryForm::ChartListBox1Click(TObject*) {
  const int i = ChartListBox1->ItemIndex();
  auto* series = i >= 0 ? dynamic_cast<TChartSeries*>(ChartListBox1->Items()->Objects(i)) : nullptr;
  if (!series || series->ClassType() == FLastClass) return;
  FLastClass = series->ClassType();
  TChartGalleryPanel* panel = ChartGalleryPanel1;
  panel->SetNumRows(3);
  panel->SetDisplaySub(false);
  TGrafSeriesType type;
  type.SeriesClass = FLastClass;
  type.GallerySeriesCount = 1;
  std::unique_ptr<TComponent> probe(CreateComponentOfClass(FLastClass, nullptr));
  panel->SubPanel = panel;
  panel->SubType = &type;
  panel->SubSeries = dynamic_cast<TChartSeries*>(probe.get());
  panel->ClearCharts();
  if (panel->SubSeries)
    panel->SubSeries->EnumGalleryStyles([panel](const std::string& style) { panel->AddSubStyleChart(style); });
  panel->SubPanel = nullptr;
  panel->SubType = nullptr;
  panel->SubSeries = nullptr;
  panel->UpdateSelection();
}

void TGrafGalleryForm::FormKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
  ChartGalleryPanel1->KeyDown(Key, Shift);
}

void TGrafGalleryForm::CB3DClick(TObject*) { ChartGalleryPanel1->SetView3D(CB3D->Checked()); }

void TGrafGalleryForm::CBSmoothClick(TObject*) { ChartGalleryPanel1->SetSmooth(CBSmooth->Checked()); }

void RegisterAlternateGalleryClasses() { RegisterClasses({&TGrafGalleryForm::StaticClass()}); }
