#include "chart/editor/grafflineedi.h"

#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TFastLineSeriesEditor, TPenDialog)

TFastLineSeriesEditor::TFastLineSeriesEditor(TComponent* AOwner) : TPenDialog(AOwner) {
  SetClientHeight(170);
  BOk->Hide();
  BCancel->Hide();
  CBDrawAll = Make<TCheckBox>(this, this, "CBDrawAll", 8, 96, 97, 17, "Draw &All");
  GBStair = Make<TGroupBox>(this, this, "GBStair", 120, 90, 110, 60);
  GBStair->SetCaption("Line Mode:");
  CBStairs = Make<TCheckBox>(this, GBStair, "CBStairs", 8, 16, 90, 17, "&Stairs");
  CBInvStairs = Make<TCheckBox>(this, GBStair, "CBInvStairs", 8, 36, 90, 17, "&Inverted");
  CBNulls = Make<TCheckBox>(this, this, "CBNulls", 8, 120, 97, 17, "&Ignore Nulls");
  CBNulls->SetChecked(true);
  CBDrawAll->OnClick = [this](TObject* s) { CBDrawAllClick(s); };
  CBStairs->OnClick = [this](TObject* s) { CBStairsClick(s); };
  CBInvStairs->OnClick = [this](TObject* s) { CBInvStairsClick(s); };
  CBNulls->OnClick = [this](TObject* s) { CBNullsClick(s); };
  // Not the pen dialog's own creation: this form is a page, not a dialog.
  OnCreate = nullptr;
  SetAlign(alClient);
}

void TFastLineSeriesEditor::FormShow(TObject* Sender) {
  Series = dynamic_cast<TFastLineSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (Series) {
    ThePen = Series->LinePen();
    // Filling the boxes stores what the series already holds.
    CBDrawAll->SetChecked(Series->DrawAllPoints());
    CBStairs->SetChecked(Series->Stairs());
    CBInvStairs->SetChecked(Series->InvertedStairs());
    CBNulls->SetChecked(Series->IgnoreNulls());
    CBInvStairs->SetEnabled(CBStairs->Checked());
  }
  TPenDialog::FormShow(Sender);
}

void TFastLineSeriesEditor::BColorClick(TObject* Sender) {
  TPenDialog::BColorClick(Sender);
  if (Series && ThePen) Series->SetSeriesColor(ThePen->Color());
  CBStyle->Repaint();
}

void TFastLineSeriesEditor::CBDrawAllClick(TObject*) {
  if (Series) Series->SetDrawAllPoints(CBDrawAll->Checked());
}

void TFastLineSeriesEditor::CBStairsClick(TObject*) {
  if (Series) Series->SetStairs(CBStairs->Checked());
  CBInvStairs->SetEnabled(CBStairs->Checked());
}

void TFastLineSeriesEditor::CBInvStairsClick(TObject*) {
  if (Series) Series->SetInvertedStairs(CBInvStairs->Checked());
}

void TFastLineSeriesEditor::CBNullsClick(TObject*) {
  if (Series) Series->SetIgnoreNulls(CBNulls->Checked());
}

void RegisterFastLineEditorClasses() { RegisterClasses({&TFastLineSeriesEditor::StaticClass()}); }
