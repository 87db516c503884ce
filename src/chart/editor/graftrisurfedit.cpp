#include "chart/editor/graftrisurfedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TTriSurfaceSeriesEditor, TForm)

TTriSurfaceSeriesEditor::TTriSurfaceSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(260);
  SetClientHeight(130);
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  FTabs = new TEditorTabs(this);
  Button2 = Make<TButtonPen>(this, this, "Button2", 8, 8, 90, 25, "&Pen...");
  Button1 = Make<TButtonPen>(this, this, "Button1", 8, 38, 90, 25, "&Outline...");
  Button3 = Make<TButton>(this, this, "Button3", 8, 68, 90, 25, "&Brush...");
  CBFastBrush = Make<TCheckBox>(this, this, "CBFastBrush", 110, 12, 120, 17, "&Fast Brush");
  CBHide = Make<TCheckBox>(this, this, "CBHide", 110, 34, 120, 17, "&Hide Triangles");
  ETransp = Make<TEdit>(this, this, "ETransp", 190, 64, 35, 21);
  UDTransp = Make<TUpDown>(this, this, "UDTransp", 225, 64, 15, 21);
  UDTransp->SetMin(0);
  UDTransp->SetMax(100);
  UDTransp->SetAssociate(ETransp);
  Label1 = MakeLabel(this, this, "Label1", 110, 68, "Tra&nsparency:", ETransp);
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };
  CBFastBrush->OnClick = [this](TObject* s) { CBFastBrushClick(s); };
  CBHide->OnClick = [this](TObject* s) { CBHideClick(s); };
  ETransp->OnChange = [this](TObject* s) { ETranspChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TTriSurfaceSeriesEditor::~TTriSurfaceSeriesEditor() { FireOnDestroy(this); }

void TTriSurfaceSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TTriSurfaceSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TCustomTriSurfaceSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  Button2->LinkPen(Series->Pen());
  Button1->LinkPen(Series->Border());
  CBFastBrush->SetChecked(Series->FastBrush());
  CBHide->SetChecked(Series->HideTriangles());
  UDTransp->SetPosition(Series->Transparency());
  FLoading = false;
  if (!FGridForm) FTabs->Keep(FGridForm, AddGrid3DEditorPage(Parent(), Series));
}

void TTriSurfaceSeriesEditor::Button3Click(TObject*) {
  if (Series) RunBrushDialog(this, Series->Brush());
}

void TTriSurfaceSeriesEditor::CBFastBrushClick(TObject*) {
  if (!FLoading && Series) Series->SetFastBrush(CBFastBrush->Checked());
}

void TTriSurfaceSeriesEditor::CBHideClick(TObject*) {
  if (!FLoading && Series) Series->SetHideTriangles(CBHide->Checked());
}

void TTriSurfaceSeriesEditor::ETranspChange(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetTransparency(UDTransp->Position());
}

void RegisterTriSurfaceEditorClasses() { RegisterClasses({&TTriSurfaceSeriesEditor::StaticClass()}); }
