#include "chart/extra/grafsmithedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/extra/grafpolareditor.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TSmithSeriesEdit, TForm)

TSmithSeriesEdit::TSmithSeriesEdit(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(300);
  SetClientHeight(130);
  FTabs = new TEditorTabs(this);
  CBC = Make<TCheckBox>(this, this, "CBC", 8, 8, 90, 17, "&C Labels");
  BCPen = Make<TButtonPen>(this, this, "BCPen", 104, 4, 85, 25, "C &Pen...");
  BCFont = Make<TButton>(this, this, "BCFont", 196, 4, 85, 25, "&Font...");
  CBR = Make<TCheckBox>(this, this, "CBR", 8, 38, 90, 17, "&R Labels");
  BRPen = Make<TButtonPen>(this, this, "BRPen", 104, 34, 85, 25, "R P&en...");
  BRFont = Make<TButton>(this, this, "BRFont", 196, 34, 85, 25, "Fo&nt...");
  BCircle = Make<TButtonPen>(this, this, "BCircle", 104, 64, 85, 25, "&Circle...");
  BBorder = Make<TButtonPen>(this, this, "BBorder", 196, 64, 85, 25, "&Border...");
  CBColorEach = Make<TCheckBox>(this, this, "CBColorEach", 8, 68, 90, 17, "C&olor Each");
  EImag = Make<TEdit>(this, this, "EImag", 104, 98, 40, 21);
  Label1 = MakeLabel(this, this, "Label1", 8, 102, "&Imag. Symbol:", EImag);

  CBC->OnClick = [this](TObject* s) { CBCClick(s); };
  CBR->OnClick = [this](TObject* s) { CBRClick(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  BCFont->OnClick = [this](TObject* s) { BCFontClick(s); };
  BRFont->OnClick = [this](TObject* s) { BRFontClick(s); };
  EImag->OnChange = [this](TObject* s) { EImagChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TSmithSeriesEdit::~TSmithSeriesEdit() { FireOnDestroy(this); }

void TSmithSeriesEdit::FormCreate(TObject*) {
  SetBorderStyle(bsDialog);
  SetAlign(alClient);
}

void TSmithSeriesEdit::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TSmithSeriesEdit::FormShow(TObject*) {
  Series = dynamic_cast<TSmithSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  CBC->SetChecked(Series->CLabels());
  CBR->SetChecked(Series->RLabels());
  CBColorEach->SetChecked(Series->ColorEachPoint());
  EImag->SetText(Series->ImagSymbol());
  FLoading = false;
  BCPen->LinkPen(Series->CCirclePen());
  BRPen->LinkPen(Series->RCirclePen());
  BCircle->LinkPen(Series->CirclePen());
  BBorder->LinkPen(Series->Pen());
  if (!FCircledForm) FTabs->Keep(FCircledForm, AddCircledEditorPage(this, Series));
}

void TSmithSeriesEdit::CBCClick(TObject*) {
  if (!FLoading && Series) Series->SetCLabels(CBC->Checked());
}

void TSmithSeriesEdit::CBRClick(TObject*) {
  if (!FLoading && Series) Series->SetRLabels(CBR->Checked());
}

void TSmithSeriesEdit::CBColorEachClick(TObject*) {
  if (!FLoading && Series) Series->SetColorEachPoint(CBColorEach->Checked());
}

void TSmithSeriesEdit::BCFontClick(TObject*) {
  if (Series) RunGrafFontEditor(this, Series->CLabelsFont());
}

void TSmithSeriesEdit::BRFontClick(TObject*) {
  if (Series) RunGrafFontEditor(this, Series->RLabelsFont());
}

void TSmithSeriesEdit::EImagChange(TObject*) {
  if (!FLoading && Series) Series->SetImagSymbol(EImag->Text());
}
