#include "chart/editor/grafsourceedit.h"

#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TBaseSourceEditor, TForm)

TBaseSourceEditor::TBaseSourceEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(312);
  SetClientHeight(213);
  Pan = Make<TPanel>(this, this, "Pan", 0, 0, 312, 33);
  Pan->SetAlign(alTop);
  Pan->SetBevelOuter(bvNone);
  CBSources = Make<TComboFlat>(this, Pan, "CBSources", 72, 6, 145, 21);
  LLabel = MakeLabel(this, Pan, "LLabel", 8, 10, "&Source:", CBSources);
  BApply = Make<TButton>(this, Pan, "BApply", 228, 4, 75, 25, "&Apply");
  BApply->SetEnabled(false);
  CBSources->OnChange = [this](TObject* s) { CBSourcesChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
  FormCreate(this);
}

void TBaseSourceEditor::FormCreate(TObject*) { SetAlign(alClient); }

void TBaseSourceEditor::FormShow(TObject*) {
  TheSeries = reinterpret_cast<TChartSeries*>(Tag());
  BApply->SetEnabled(false);
}

void TBaseSourceEditor::CBSourcesChange(TObject*) { BApply->SetEnabled(true); }

void TBaseSourceEditor::FormCloseQuery(TObject*, bool& CanClose) {
  if (!BApply->Enabled()) return;
  switch (MessageDlg("Apply Changes ?", mtConfirmation, {mbYes, mbNo, mbCancel})) {
    case mrYes:
      BApply->Click();
      CanClose = !BApply->Enabled();
      break;
    case mrNo: BApply->SetEnabled(false); break;
    default: CanClose = false; break;
  }
}

void RegisterSourceEditorClasses() { RegisterClasses({&TBaseSourceEditor::StaticClass()}); }
