#include "chart/editor/grafchartactions.h"

#include "chart/editor/editchar.h"
#include "chart/editor/grafedigene.h"
#include "chart/editor/grafeditpro.h"
#include "platform/ui/forms.h"

ZV_CLASS_IMPL_NOPROPS(TCustomChartAction, TCustomAction)
ZV_CLASS_IMPL_NOPROPS(TChartAction, TCustomChartAction)
ZV_CLASS_IMPL_NOPROPS(TChartActionEdit, TChartAction)
ZV_CLASS_IMPL_NOPROPS(TChartActionCopy, TChartAction)
ZV_CLASS_IMPL_NOPROPS(TChartActionPrint, TChartAction)
ZV_CLASS_IMPL_NOPROPS(TChartActionSave, TChartAction)

TCustomChartAction::~TCustomChartAction() {
  if (FChart) FChart->RemoveFreeNotification(this);
}

void TCustomChartAction::SetChart(TCustomChart* Value) {
  if (Value == FChart) return;
  if (FChart) FChart->RemoveFreeNotification(this);
  FChart = Value;
  if (FChart) FChart->FreeNotification(this);
}

void TCustomChartAction::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomAction::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FChart) FChart = nullptr;
}

bool TCustomChartAction::HandlesTarget(TObject* Target) const {
  return FChart ? Target == FChart : dynamic_cast<TCustomChart*>(Target) != nullptr;
}

TCustomChart* TCustomChartAction::Target() const {
  if (FChart) return FChart;
  return Screen ? dynamic_cast<TCustomChart*>(Screen->ActiveControl()) : nullptr;
}

bool TCustomChartAction::Execute() {
  if (OnExecute()) return TCustomAction::Execute();
  if (!Enabled()) return false;
  TCustomChart* chart = Target();
  if (!chart || !HandlesTarget(chart)) return false;
  ExecuteTarget(chart);
  return true;
}

TChartActionEdit::TChartActionEdit(TComponent* AOwner) : TChartAction(AOwner) {
  SetHint("Edit Chart");
  SetCaption("&Edit...");
}

void TChartActionEdit::ExecuteTarget(TObject* Target) {
  if (auto* chart = dynamic_cast<TCustomChart*>(Target)) EditChartWindow(this, chart);
}

TChartActionCopy::TChartActionCopy(TComponent* AOwner) : TChartAction(AOwner) {
  SetHint("Copy to Clipboard");
  SetCaption("&Copy");
}

void TChartActionCopy::ExecuteTarget(TObject* Target) {
  if (auto* chart = dynamic_cast<TCustomChart*>(Target)) chart->CopyBitmapToClipboard();
}

TChartActionPrint::TChartActionPrint(TComponent* AOwner) : TChartAction(AOwner) {
  SetHint("Print preview Chart");
  SetCaption("&Print...");
}

void TChartActionPrint::ExecuteTarget(TObject* Target) {
  if (auto* chart = dynamic_cast<TCustomChart*>(Target)) ShowChartPrintPreview(this, chart);
}

TChartActionSave::TChartActionSave(TComponent* AOwner) : TChartAction(AOwner) {
  SetHint("Save Chart");
  SetCaption("&Save...");
}

void TChartActionSave::ExecuteTarget(TObject* Target) {
  if (auto* chart = dynamic_cast<TCustomChart*>(Target)) {
    std::string name;
    SaveChartDialog(chart, name);
  }
}

void RegisterChartActionClasses() {
  RegisterClasses({&TChartActionEdit::StaticClass(), &TChartActionCopy::StaticClass(),
                   &TChartActionPrint::StaticClass(), &TChartActionSave::StaticClass()});
}
