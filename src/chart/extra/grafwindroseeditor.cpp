#include "chart/extra/grafwindroseeditor.h"

#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TWindRoseEditor, TPolarSeriesEditor)

TWindRoseEditor::TWindRoseEditor(TComponent* AOwner) : TPolarSeriesEditor(AOwner) {
  CBMirror = Make<TCheckBox>(this, TabLabels, "CBMirror", 8, 88, 100, 17, "Mirr&ored");
  CBMirror->OnClick = [this](TObject* s) { CBMirrorClick(s); };
  FormCreate(this);
}

void TWindRoseEditor::FormCreate(TObject* Sender) {
  TPolarSeriesEditor::FormCreate(Sender);
  CBClockWise->Hide();
}

void TWindRoseEditor::FormShow(TObject* Sender) {
  TPolarSeriesEditor::FormShow(Sender);
  auto* rose = dynamic_cast<TWindRoseSeries*>(Series);
  if (!rose) return;
  FLoading = true;
  CBMirror->SetChecked(rose->MirrorLabels());
  FLoading = false;
}

void TWindRoseEditor::CBMirrorClick(TObject*) {
  if (auto* rose = dynamic_cast<TWindRoseSeries*>(Series); rose && !FLoading) rose->SetMirrorLabels(CBMirror->Checked());
}
