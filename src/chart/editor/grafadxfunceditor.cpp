#include "chart/editor/grafadxfunceditor.h"

#include "chart/core/chart.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/graffuncedit.h"
#include "platform/rtl/mathutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TADXFuncEditor, TForm)

TADXFuncEditor::TADXFuncEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(250);
  SetClientHeight(110);
  SetAlign(alClient);
  FLoading = true;
  EPeriod = Make<TEdit>(this, this, "EPeriod", 70, 8, 50, 21);
  UDPeriod = Make<TUpDown>(this, this, "UDPeriod", 120, 8, 15, 21);
  UDPeriod->SetMin(2);
  UDPeriod->SetMax(32767);
  UDPeriod->SetThousands(false);
  UDPeriod->SetAssociate(EPeriod);
  UDPeriod->SetPosition(2);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Period:", EPeriod);
  BUp = Make<TButtonPen>(this, this, "BUp", 8, 40, 90, 25, "&Up...");
  BDown = Make<TButtonPen>(this, this, "BDown", 8, 70, 90, 25, "&Down...");
  FLoading = false;
  EPeriod->OnChange = [this](TObject* s) { EPeriodChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
}

void TADXFuncEditor::FormShow(TObject*) {
  FFunction = dynamic_cast<TADXFunction*>(reinterpret_cast<TObject*>(Tag()));
  if (!FFunction) return;
  FLoading = true;
  UDPeriod->SetPosition(static_cast<int>(Round(FFunction->Period())));
  BUp->LinkPen(FFunction->UpLinePen());
  BDown->LinkPen(FFunction->DownLinePen());
  FLoading = false;
}

void TADXFuncEditor::EPeriodChange(TObject*) {
  if (FLoading) return;
  if (auto* page = dynamic_cast<TGrafFuncEditor*>(Owner())) page->ApplyButton()->SetEnabled(true);
}

void TADXFuncEditor::FormCloseQuery(TObject*, bool& CanClose) {
  auto* page = dynamic_cast<TGrafFuncEditor*>(Owner());
  TChartSeries* series = page ? page->TheSeries : (FFunction ? FFunction->ParentSeries() : nullptr);
  if (!FFunction && series)
    FFunction = dynamic_cast<TADXFunction*>(CreateSeriesFunction(series, &TADXFunction::StaticClass()));
  if (FFunction) {
    FFunction->SetPeriod(UDPeriod->Position());
    if (series && !series->FunctionType()) series->AssignFunction(FFunction);
  }
  CanClose = true;
}

void RegisterADXFuncEditorClasses() { RegisterClasses({&TADXFuncEditor::StaticClass()}); }
