#include "chart/editor/grafvoled.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TVolumeSeriesEditor, TPenDialog)

TVolumeSeriesEditor::TVolumeSeriesEditor(TComponent* AOwner) : TPenDialog(AOwner) {
  SetClientHeight(160);
  BOk->Hide();
  BCancel->Hide();
  CBColorEach = Make<TCheckBox>(this, this, "CBColorEach", 8, 96, 100, 17, "Color &Each");
  CBUseOrigin = Make<TCheckBox>(this, this, "CBUseOrigin", 130, 96, 100, 17, "&Use Origin");
  EOrigin = Make<TEdit>(this, this, "EOrigin", 180, 120, 80, 21);
  EOrigin->SetEnabled(false);
  LOrigin = MakeLabel(this, this, "LOrigin", 130, 124, "&Origin:", EOrigin);
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  CBUseOrigin->OnClick = [this](TObject* s) { CBUseOriginClick(s); };
  EOrigin->OnChange = [this](TObject* s) { EOriginChange(s); };
  // Not the pen dialog's own creation: this form is a page, not a dialog.
  OnCreate = nullptr;
  SetAlign(alClient);
}

void TVolumeSeriesEditor::FormShow(TObject* Sender) {
  Series = dynamic_cast<TVolumeSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (Series) ThePen = Series->LinePen();
  TPenDialog::FormShow(Sender);
  if (!Series) return;
  FLoading = true;
  CBColorEach->SetTop(102);
  CBColorEach->SetChecked(Series->ColorEachPoint());
  BColor->SetEnabled(!Series->ColorEachPoint());
  CBUseOrigin->SetChecked(Series->UseYOrigin());
  EOrigin->SetEnabled(Series->UseYOrigin());
  EOrigin->SetText(FloatToStr(Series->YOrigin()));
  FLoading = false;
}

void TVolumeSeriesEditor::BColorClick(TObject* Sender) {
  TPenDialog::BColorClick(Sender);
  if (Series && ThePen) Series->SetSeriesColor(ThePen->Color());
}

void TVolumeSeriesEditor::CBColorEachClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetColorEachPoint(CBColorEach->Checked());
  BColor->SetEnabled(!CBColorEach->Checked());
}

void TVolumeSeriesEditor::CBUseOriginClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetUseYOrigin(CBUseOrigin->Checked());
  EOrigin->SetEnabled(CBUseOrigin->Checked());
}

void TVolumeSeriesEditor::EOriginChange(TObject*) {
  if (FLoading || !Series || !FormShowing(this)) return;
  Series->SetYOrigin(StrToFloatDef(EOrigin->Text(), Series->YOrigin()));
}

void RegisterVolumeEditorClasses() { RegisterClasses({&TVolumeSeriesEditor::StaticClass()}); }
