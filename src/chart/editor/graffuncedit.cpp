#include "chart/editor/graffuncedit.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "chart/core/chart.h"
#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafpendlg.h"

using namespace editorbuild;

namespace {

std::string OneLine(std::string s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

// Resumes a series' updates however the scope is left.
class TUpdatesResumed {
public:
  explicit TUpdatesResumed(TChartSeries* Series) : FSeries(Series) {
    if (FSeries) FSeries->SuspendUpdates();
  }
  ~TUpdatesResumed() {
    if (FSeries) FSeries->ResumeUpdates();
  }
  TUpdatesResumed(const TUpdatesResumed&) = delete;
  TUpdatesResumed& operator=(const TUpdatesResumed&) = delete;

private:
  TChartSeries* FSeries;
};

}  // namespace

TClass SelectedFunctionClass(TGrafFuncEditor* Page) {
  if (!Page) return nullptr;
  const int i = Page->CBSources->ItemIndex();
  if (i < 0) return nullptr;
  return reinterpret_cast<TClass>(Page->CBSources->Items()->Objects(i));
}

ZV_CLASS_IMPL_NOPROPS(TGrafFuncEditor, TBaseSourceEditor)

TGrafFuncEditor::TGrafFuncEditor(TComponent* AOwner) : TBaseSourceEditor(AOwner) {
  LLabel->SetCaption("&Functions:");
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 33, 312, 180);
  PageControl1->SetAlign(alClient);
  PageControl1->SetHotTrack(true);
  TabSource = new TTabSheet(this);
  TabSource->SetName("TabSource");
  TabSource->SetCaption("Source Series");
  TabSource->SetPageControl(PageControl1);
  TabOptions = new TTabSheet(this);
  TabOptions->SetName("TabOptions");
  TabOptions->SetCaption("Options");
  TabOptions->SetPageControl(PageControl1);

  PanSingle = Make<TPanel>(this, TabSource, "PanSingle", 0, 0, 300, 80);
  PanSingle->SetAlign(alTop);
  PanSingle->SetBevelOuter(bvNone);
  CBSingle = Make<TComboFlat>(this, PanSingle, "CBSingle", 64, 8, 150, 21);
  Label1 = MakeLabel(this, PanSingle, "Label1", 8, 12, "&Series:", CBSingle);
  CBValues = Make<TComboFlat>(this, PanSingle, "CBValues", 64, 40, 150, 21);
  CBValues->SetEnabled(false);
  LValues = MakeLabel(this, PanSingle, "LValues", 8, 44, "&Values:", CBValues);
  BNone = Make<TButton>(this, PanSingle, "BNone", 222, 6, 65, 25, "&None");
  BNone->SetEnabled(false);

  Timer1 = new TTimer(this);
  Timer1->SetName("Timer1");
  Timer1->SetEnabled(false);
  Timer1->SetInterval(1);
  Timer1->SetOnTimer([this](TObject*) {
    Timer1->SetEnabled(false);
    PageControl1->SetActivePage(TabOptions);
  });
  Timer2 = new TTimer(this);
  Timer2->SetName("Timer2");
  Timer2->SetEnabled(false);
  Timer2->SetInterval(1);
  Timer2->SetOnTimer([this](TObject*) {
    Timer2->SetEnabled(false);
    PageControl1->SetActivePage(TabSource);
  });

  CBSingle->OnChange = [this](TObject* s) { CBSingleChange(s); };
  BNone->OnClick = [this](TObject* s) { BNoneClick(s); };
  CBValues->OnChange = [this](TObject* s) { CBValuesChange(s); };
  BApply->OnClick = [this](TObject* s) { BApplyClick(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TGrafFuncEditor::~TGrafFuncEditor() {
  FireOnDestroy(this);
  if (FListenedChart) FListenedChart->RemoveListener(this);
  FListenedChart = nullptr;
}

void TGrafFuncEditor::FormCreate(TObject* Sender) {
  TBaseSourceEditor::FormCreate(Sender);
  CBSources->SetSorted(true);
  CBSources->Items()->Clear();
  CBSources->Items()->Add("Copy");
  TGrafSeriesTypes* types = SeriesTypeRegistry();
  for (int i = 0; i < types->Count(); ++i) {
    const TGrafSeriesType* t = types->TypeAt(i);
    if (!t->FunctionClass || t->SeriesClass) continue;
    const std::string text = OneLine(t->Description ? *t->Description : t->FunctionClass->Name());
    if (CBSources->Items()->IndexOf(text) < 0)
      CBSources->Items()->AddObject(text, reinterpret_cast<TObject*>(const_cast<TClassInfo*>(t->FunctionClass)));
  }
}

void TGrafFuncEditor::FormDestroy(TObject*) {
  if (FListenedChart) FListenedChart->RemoveListener(this);
  FListenedChart = nullptr;
}

TChartSeries* TGrafFuncEditor::ChosenSingle() const {
  const int i = CBSingle->ItemIndex();
  return i < 0 ? nullptr : dynamic_cast<TChartSeries*>(CBSingle->Items()->Objects(i));
}

void TGrafFuncEditor::FormShow(TObject* Sender) {
  TBaseSourceEditor::FormShow(Sender);
  PageControl1->SetActivePage(TabSource);
  if (TheSeries && TheSeries->ParentChart() && !FListenedChart) {
    FListenedChart = TheSeries->ParentChart();
    FListenedChart->Listeners()->AddListener(this);
  }
  if (!FSelectList) {
    FSelectList = new TSelectListForm(this);
    FSelectList->Available()->SetHeight(FSelectList->Available()->Height() - 5);
    FSelectList->Selection()->SetHeight(FSelectList->Selection()->Height() - 5);
    FSelectList->SetHeight(FSelectList->Height() - 8);
    FSelectList->SetAlign(alClient);
    FSelectList->OnChange = [this](TObject* s) { CBSourcesChange(s); };
    EmbedFormInSheetWithTag(FSelectList, TabSource, TheSeries);
    InvokeControlHook(FSelectList);
  }
  if (TheSeries) {
    PanSingle->SetVisible(TheSeries->FunctionType() && TheSeries->FunctionType()->SingleSource &&
                          !TheSeries->FunctionType()->NoSourceRequired);
    FillSources();
    int item = 0;
    if (TGrafFunction* f = TheSeries->FunctionType()) {
      const int found = CBSources->Items()->IndexOfObject(reinterpret_cast<TObject*>(const_cast<TClassInfo*>(f->ClassType())));
      if (found >= 0) item = found;
    } else {
      item = CBSources->Items()->IndexOf("Copy");
    }
    CBSources->SetItemIndex(item);
    CBSourcesChange(CBSources);
    BApply->SetEnabled(!TheSeries->FunctionType() && !TheSeries->DataSource());
  }
  FSelectList->EnableButtons();
}

void TGrafFuncEditor::FillSources() {
  CBSingle->Items()->Clear();
  if (!FSelectList || !TheSeries) return;
  TStrings* available = FSelectList->Available()->Items();
  TStrings* selected = FSelectList->Selection()->Items();
  available->Clear();
  selected->Clear();
  TCustomAxisPanel* chart = TheSeries->ParentChart();
  TComponent* owner = TheSeries->Owner();
  if (owner && chart) {
    for (int i = 0; i < owner->ComponentCount(); ++i) {
      auto* candidate = dynamic_cast<TChartSeries*>(owner->Components(i));
      if (!candidate || candidate == TheSeries || !chart->AcceptsDataSource(TheSeries, candidate)) continue;
      const std::string text = SeriesDisplayName(candidate);
      CBSingle->Items()->AddObject(text, candidate);
      if (TheSeries->DataSources()->IndexOf(candidate) < 0) available->AddObject(text, candidate);
    }
  }
  for (int i = 0; i < TheSeries->DataSources()->Count(); ++i)
    if (auto* source = dynamic_cast<TChartSeries*>(TheSeries->DataSources()->Items(i))) {
      selected->AddObject(SeriesDisplayName(source), source);
      const int at = available->IndexOfObject(source);
      if (at >= 0) available->Delete(at);
    }
  if (SingleSourceMode()) {
    auto* source = dynamic_cast<TChartSeries*>(TheSeries->DataSource());
    const int at = source ? CBSingle->Items()->IndexOfObject(source) : -1;
    if (at >= 0) {
      if (at != CBSingle->ItemIndex()) {
        FLoading = true;
        CBSingle->SetItemIndex(at);
        try {
          CBSingleChange(CBSingle);
        } catch (...) {
          FLoading = false;
          throw;
        }
        FLoading = false;
      }
      const std::string& valueSource = TheSeries->MainList()->ValueSource();
      const int v = valueSource.empty() ? 0 : CBValues->Items()->IndexOf(valueSource);
      CBValues->SetItemIndex(CBValues->Items()->Count() > 0 ? std::max(v, 0) : -1);
    } else {
      CBSingle->SetItemIndex(-1);
    }
  }
}

void TGrafFuncEditor::RecreateOptionsEditor(const std::string& ClassName) {
  delete FOptions;
  FOptions = nullptr;
  TClass cls = ClassName.empty() ? nullptr : GetClass(ClassName);
  if (!cls || !cls->InheritsFrom(&TCustomForm::StaticClass())) {
    TabOptions->SetTabVisible(false);
    return;
  }
  FOptions = dynamic_cast<TForm*>(CreateComponentOfClass(cls, this));
  if (!FOptions) {
    TabOptions->SetTabVisible(false);
    return;
  }
  InvokeControlHook(FOptions);
  EmbedFormInSheetWithTag(FOptions, TabOptions, TheSeries ? TheSeries->FunctionType() : nullptr);
}

void TGrafFuncEditor::ApplyFunctionChoice(TClass FunctionClass) {
  if (!TheSeries) return;
  TGrafFunction* current = TheSeries->FunctionType();
  if (!FunctionClass) {
    if (current) TheSeries->AssignFunction(nullptr);
    return;
  }
  if (!current || current->ClassType() != FunctionClass) {
    if (current) TheSeries->AssignFunction(nullptr);
    CreateSeriesFunction(TheSeries, FunctionClass);
  }
}

void TGrafFuncEditor::CBSourcesChange(TObject*) {
  BApply->SetEnabled(true);
  TClass cls = SelectedFunctionClass(this);
  TabOptions->SetTabVisible(cls != nullptr);
  if (cls) {
    if (TheSeries && (!TheSeries->FunctionType() || TheSeries->FunctionType()->ClassType() != cls)) {
      ApplyFunctionChoice(cls);
      BApply->SetEnabled(false);
    }
    std::unique_ptr<TComponent> probe(CreateComponentOfClass(cls, nullptr));
    auto* function = dynamic_cast<TGrafFunction*>(probe.get());
    const bool noSource = function && function->NoSourceRequired;
    PanSingle->SetVisible(function && !noSource && function->SingleSource);
    const bool values = !function || !function->HideSourceList;
    LValues->SetVisible(values);
    CBValues->SetVisible(values);
    RecreateOptionsEditor(function ? function->EditorFormClassName() : std::string());
    if (noSource) {
      TabOptions->SetTabVisible(true);
      PageControl1->SetActivePage(TabOptions);
      TabSource->SetTabVisible(false);
    } else {
      TabSource->SetTabVisible(true);
    }
    if ((noSource || (TheSeries && TheSeries->DataSource())) && FOptions) Timer1->SetEnabled(true);
  } else {
    TabSource->SetTabVisible(true);
    PanSingle->SetVisible(false);
  }
  if (FSelectList) {
    FSelectList->SetVisible(!PanSingle->Visible());
    if (FSelectList->Visible()) Timer2->SetEnabled(true);
  }
}

void TGrafFuncEditor::CBSingleChange(TObject*) {
  if (!FLoading) BApply->SetEnabled(true);
  CBValues->Items()->Clear();
  TChartSeries* chosen = ChosenSingle();
  CBValues->SetEnabled(chosen != nullptr);
  BNone->SetEnabled(chosen != nullptr);
  if (!chosen) return;
  TChartValueLists* lists = chosen->ValuesList();
  for (int i = 1; i < lists->Count(); ++i) CBValues->Items()->Add(lists->ListAt(i)->Name());
  CBValues->SetItemIndex(CBValues->Items()->Count() > 0 ? 0 : -1);
}

void TGrafFuncEditor::BNoneClick(TObject* Sender) {
  CBSingle->SetItemIndex(-1);
  CBSingleChange(Sender);
}

void TGrafFuncEditor::CBValuesChange(TObject*) { BApply->SetEnabled(true); }

void TGrafFuncEditor::BApplyClick(TObject*) {
  if (FOptions && FOptions->OnCloseQuery) {
    bool canClose = true;
    FOptions->OnCloseQuery(FOptions, canClose);
  }
  if (!TheSeries) return;
  {
    // Whatever happens below (a circular source refused), the series takes
    // updates again; the error then shows.
    TUpdatesResumed resumed(TheSeries);
    if (SingleSourceMode()) {
      TChartSeries* chosen = ChosenSingle();
      TheSeries->SetDataSource(chosen);
      const int v = CBValues->ItemIndex();
      TheSeries->MainList()->SetValueSource(chosen && v >= 0 ? CBValues->Items()->Strings(v) : std::string());
    } else {
      std::vector<TChartSeries*> sources;
      TStrings* selected = FSelectList ? FSelectList->Selection()->Items() : nullptr;
      for (int i = 0; selected && i < selected->Count(); ++i)
        if (auto* s = dynamic_cast<TChartSeries*>(selected->Objects(i))) sources.push_back(s);
      if (!sources.empty()) {
        // Every source is checked before the list is touched.
        for (TChartSeries* s : sources) TheSeries->GuardCircularSource(s);
        TheSeries->DataSources()->Clear();
        for (TChartSeries* s : sources) TheSeries->AttachSource(s);
      } else {
        TheSeries->SetDataSource(nullptr);
      }
    }
    ApplyFunctionChoice(SelectedFunctionClass(this));
  }
  TheSeries->RefreshFromSource();
  BApply->SetEnabled(false);
}

void TGrafFuncEditor::HandlePanelEvent(TGrafEvent* Event) {
  if (ComponentState().Contains(csDestroying)) return;
  auto* e = dynamic_cast<TGrafSeriesEvent*>(Event);
  if (!e || (e->Event != seAdd && e->Event != seRemove && e->Event != seSwap)) return;
  if (e->Series == TheSeries) BApply->SetEnabled(false);
  else FillSources();
}

void RegisterFunctionPageClasses() { RegisterClasses({&TGrafFuncEditor::StaticClass()}); }
