#include "chart/editor/grafcustomfunceditor.h"

#include "chart/core/chart.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/graffuncedit.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TCustomFunctionEditor, TForm)

TCustomFunctionEditor::TCustomFunctionEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(250);
  SetClientHeight(110);
  SetAlign(alClient);
  FLoading = true;
  EStart = Make<TEdit>(this, this, "EStart", 90, 8, 90, 21);
  EStart->SetText("0");
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Start X:", EStart);
  EStep = Make<TEdit>(this, this, "EStep", 90, 36, 90, 21);
  EStep->SetText("1");
  Label2 = MakeLabel(this, this, "Label2", 8, 40, "S&tep:", EStep);
  ENum = Make<TEdit>(this, this, "ENum", 90, 64, 90, 21);
  ENum->SetText("100");
  Label3 = MakeLabel(this, this, "Label3", 8, 68, "&Num. points:", ENum);
  FLoading = false;
  for (TEdit* e : {EStart, EStep, ENum}) e->OnChange = [this](TObject* s) { EStartChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
}

void TCustomFunctionEditor::FormShow(TObject*) {
  FFunction = dynamic_cast<TCustomGrafFunction*>(reinterpret_cast<TObject*>(Tag()));
  if (!FFunction) return;
  FLoading = true;
  EStart->SetText(FloatToStr(FFunction->StartX()));
  EStep->SetText(FloatToStr(FFunction->Period()));
  ENum->SetText(IntToStr(FFunction->NumPoints()));
  FLoading = false;
}

void TCustomFunctionEditor::EStartChange(TObject*) {
  if (FLoading) return;
  if (auto* page = dynamic_cast<TGrafFuncEditor*>(Owner())) page->ApplyButton()->SetEnabled(true);
}

void TCustomFunctionEditor::FormCloseQuery(TObject*, bool& CanClose) {
  auto* page = dynamic_cast<TGrafFuncEditor*>(Owner());
  TChartSeries* series = page ? page->TheSeries : (FFunction ? FFunction->ParentSeries() : nullptr);
  if (!FFunction && series)
    FFunction = dynamic_cast<TCustomGrafFunction*>(CreateSeriesFunction(series, &TCustomGrafFunction::StaticClass()));
  if (FFunction) {
    FFunction->SetStartX(StrToFloat(EStart->Text()));
    FFunction->SetPeriod(StrToFloat(EStep->Text()));
    FFunction->SetNumPoints(StrToInt(ENum->Text()));
    if (series && !series->FunctionType()) series->AssignFunction(FFunction);
  }
  CanClose = true;
}

void RegisterCustomFunctionEditorClasses() { RegisterClasses({&TCustomFunctionEditor::StaticClass()}); }
