#include "chart/editor/grafediperi.h"

#include <algorithm>
#include <memory>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafaxisincr.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TGrafFunctionEditor, TBaseFunctionEditor)

TGrafFunctionEditor::TGrafFunctionEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {
  CBStyle = Make<TComboFlat>(this, this, "CBStyle", 112, 8, 160, 21);
  for (const char* s : {"All points", "Every number of points", "Every range"}) CBStyle->Items()->Add(s);
  Label2 = MakeLabel(this, this, "Label2", 8, 12, "&Calculate using:", CBStyle);
  ENum = Make<TEdit>(this, this, "ENum", 112, 38, 70, 21);
  ENum->SetText("0");
  ENum->SetEnabled(false);
  Label3 = MakeLabel(this, this, "Label3", 8, 42, "&Number of points:", ENum);
  BChange = Make<TButton>(this, this, "BChange", 190, 36, 80, 25, "&Change...");
  BChange->SetEnabled(false);
  CBAlign = Make<TComboFlat>(this, this, "CBAlign", 112, 68, 90, 21);
  for (const char* s : {"First", "Center", "Last"}) CBAlign->Items()->Add(s);
  Label1 = MakeLabel(this, this, "Label1", 8, 72, "&Alignment:", CBAlign);
  CBStyle->OnChange = [this](TObject* s) { CBStyleChange(s); };
  ENum->OnChange = [this](TObject* s) { ENumChange(s); };
  CBAlign->OnChange = [this](TObject* s) { CBAlignChange(s); };
  BChange->OnClick = [this](TObject* s) { BChangeClick(s); };
}

void TGrafFunctionEditor::EnableControls() {
  const int style = CBStyle->ItemIndex();
  ENum->SetEnabled(style > siAllPoints);
  BChange->SetEnabled(style == siRange);
}

void TGrafFunctionEditor::LoadFunction() {
  if (!TheFunction) return;
  int style = siAllPoints;
  if (TheFunction->PeriodStyle() == psRange && !dynamic_cast<TGrafMovingFunction*>(TheFunction)) style = siRange;
  else if (Round(TheFunction->Period()) != 0) style = siNumberOfPoints;
  CBStyle->SetItemIndex(style);
  CBAlign->SetItemIndex(TheFunction->PeriodAlign());
  EnableControls();
  CBStyleChange(CBStyle);
}

void TGrafFunctionEditor::CBStyleChange(TObject*) {
  EnableControls();
  const double period = TheFunction ? TheFunction->Period() : 0;
  switch (CBStyle->ItemIndex()) {
    case siNumberOfPoints: ENum->SetText(IntToStr(std::max<int64_t>(0, Round(period)))); break;
    case siRange: ENum->SetText(FloatToStr(period)); break;
    default: ENum->SetText(""); break;
  }
  if (ENum->Enabled() && ENum->CanFocus()) ENum->SetFocus();
  MarkChanged();
}

void TGrafFunctionEditor::ENumChange(TObject*) { MarkChanged(); }

void TGrafFunctionEditor::CBAlignChange(TObject*) { MarkChanged(); }

void TGrafFunctionEditor::BChangeClick(TObject*) {
  std::unique_ptr<TAxisIncrement> dialog(new TAxisIncrement(this));
  dialog->SetCaption("Period range");
  bool dateTime = false;
  if (TheFunction && TheFunction->ParentSeries())
    if (auto* source = dynamic_cast<TChartSeries*>(TheFunction->ParentSeries()->DataSource()))
      dateTime = source->XValues()->DateTime();
  dialog->IsDateTime = dateTime;
  dialog->ExactDateTime = true;
  dialog->Increment = TheFunction ? TheFunction->Period() : 0;
  dialog->StepIndex = NearestDateTimeStepIndex(dialog->Increment);
  InvokeControlHook(dialog.get());
  if (dialog->ShowModal() == mrOk) ENum->SetText(FloatToStr(dialog->Increment));
}

void TGrafFunctionEditor::ApplyChanges() {
  if (!TheFunction) return;
  TheFunction->SetPeriodAlign(static_cast<TFunctionPeriodAlign>(std::max(0, CBAlign->ItemIndex())));
  TheFunction->SetPeriodStyle(CBStyle->ItemIndex() == siRange ? psRange : psNumPoints);
  double period = 0;
  if (!TryStrToFloat(ENum->Text(), period)) period = 0;
  TheFunction->SetPeriod(period);
}

void RegisterPeriodFunctionEditorClasses() { RegisterClasses({&TGrafFunctionEditor::StaticClass()}); }
