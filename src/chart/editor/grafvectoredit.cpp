#include "chart/editor/grafvectoredit.h"

#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TVectorSeriesEditor, TForm)

TVectorSeriesEditor::TVectorSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(300);
  SetClientHeight(120);
  SetBorderStyle(bsDialog);
  FTabs = new TEditorTabs(this);
  BStart = Make<TButtonPen>(this, this, "BStart", 8, 8, 90, 25, "&Start...");
  CBStart = Make<TCheckBox>(this, this, "CBStart", 106, 12, 100, 17, "Default color");
  BEnd = Make<TButtonPen>(this, this, "BEnd", 8, 38, 90, 25, "&End...");
  CBEnd = Make<TCheckBox>(this, this, "CBEnd", 106, 42, 100, 17, "Default color");
  Edit1 = Make<TEdit>(this, this, "Edit1", 90, 70, 40, 21);
  UDWidth = Make<TUpDown>(this, this, "UDWidth", 130, 70, 15, 21);
  UDWidth->SetMin(1);
  UDWidth->SetMax(1000);
  UDWidth->SetAssociate(Edit1);
  UDWidth->SetPosition(4);
  Label1 = MakeLabel(this, this, "Label1", 8, 74, "Arrow &Width:", Edit1);
  Edit2 = Make<TEdit>(this, this, "Edit2", 90, 94, 40, 21);
  UDHeight = Make<TUpDown>(this, this, "UDHeight", 130, 94, 15, 21);
  UDHeight->SetMin(1);
  UDHeight->SetMax(1000);
  UDHeight->SetAssociate(Edit2);
  UDHeight->SetPosition(4);
  Label2 = MakeLabel(this, this, "Label2", 8, 98, "Arrow &Height:", Edit2);
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
  CBStart->OnClick = [this](TObject* s) { CBStartClick(s); };
  CBEnd->OnClick = [this](TObject* s) { CBEndClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TVectorSeriesEditor::~TVectorSeriesEditor() { FireOnDestroy(this); }

void TVectorSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TVectorSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TVector3DSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  BStart->LinkPen(Series->StartArrow());
  BEnd->LinkPen(Series->EndArrow());
  UDWidth->SetPosition(Series->ArrowWidth());
  UDHeight->SetPosition(Series->ArrowHeight());
  CBStart->SetChecked(Series->StartArrow()->Color() == clDefault);
  CBEnd->SetChecked(Series->EndArrow()->Color() == clDefault);
  FLoading = false;
  if (!FGridForm) FTabs->Keep(FGridForm, AddGrid3DEditorPage(Parent(), Series));
}

void TVectorSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetArrowWidth(UDWidth->Position());
}

void TVectorSeriesEditor::Edit2Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetArrowHeight(UDHeight->Position());
}

void TVectorSeriesEditor::CBStartClick(TObject*) {
  if (FLoading || !Series) return;
  Series->StartArrow()->SetColor(CBStart->Checked() ? clDefault : clBlack);
  BStart->Repaint();
}

void TVectorSeriesEditor::CBEndClick(TObject*) {
  if (FLoading || !Series) return;
  Series->EndArrow()->SetColor(CBEnd->Checked() ? clDefault : clBlack);
  BEnd->Repaint();
}

void RegisterVectorEditorClasses() { RegisterClasses({&TVectorSeriesEditor::StaticClass()}); }
