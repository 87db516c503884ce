#include "chart/editor/grafbasefuncedit.h"

#include "chart/core/chart.h"
#include "chart/editor/graffuncedit.h"

ZV_CLASS_IMPL_NOPROPS(TBaseFunctionEditor, TForm)

TBaseFunctionEditor::TBaseFunctionEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(312);
  SetClientHeight(213);
  SetAlign(alClient);
  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
}

TGrafFuncEditor* TBaseFunctionEditor::HostPage() const { return dynamic_cast<TGrafFuncEditor*>(Owner()); }

void TBaseFunctionEditor::MarkChanged() {
  if (TGrafFuncEditor* page = HostPage()) page->ApplyButton()->SetEnabled(true);
}

void TBaseFunctionEditor::FillSeriesList(TStrings* List) {
  TChartSeries* series = TheFunction ? TheFunction->ParentSeries() : nullptr;
  if (series && series->ParentChart()) FillSeriesNameList(List, series->ParentChart()->SeriesList(), true);
}

void TBaseFunctionEditor::FormShow(TObject*) {
  FLoading = true;
  TheFunction = reinterpret_cast<TGrafFunction*>(Tag());
  if (TheFunction) LoadFunction();
  FLoading = false;
}

void TBaseFunctionEditor::FormCloseQuery(TObject*, bool& CanClose) {
  TGrafFuncEditor* page = HostPage();
  TChartSeries* series = page ? page->TheSeries : (TheFunction ? TheFunction->ParentSeries() : nullptr);
  if (!TheFunction && page && series)
    if (TClass cls = SelectedFunctionClass(page)) TheFunction = CreateSeriesFunction(series, cls);
  if (TheFunction) {
    TheFunction->SuspendRecalc();
    try {
      ApplyChanges();
    } catch (...) {
      TheFunction->ResumeRecalc();
      throw;
    }
    TheFunction->ResumeRecalc();
    if (series && !series->FunctionType()) series->AssignFunction(TheFunction);
  }
  CanClose = true;
}

void RegisterBaseFunctionEditorClasses() { RegisterClasses({&TBaseFunctionEditor::StaticClass()}); }
