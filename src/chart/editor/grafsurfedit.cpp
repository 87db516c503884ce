#include "chart/editor/grafsurfedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TSurfaceSeriesEditor, TForm)

TSurfaceSeriesEditor::TSurfaceSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(330);
  SetClientHeight(150);
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  FTabs = new TEditorTabs(this);
  RadioGroup1 = Make<TRadioGroup>(this, this, "RadioGroup1", 4, 4, 320, 40);
  RadioGroup1->SetCaption("&Drawing Mode:");
  RadioGroup1->SetColumns(3);
  for (const char* s : {"Solid", "WireFrame", "DotFrame"}) RadioGroup1->Items()->Add(s);
  CBSmooth = Make<TCheckBox>(this, this, "CBSmooth", 8, 52, 120, 17, "&Smooth palette");
  Button2 = Make<TButtonPen>(this, this, "Button2", 8, 74, 90, 25, "&Pen...");
  BSideLines = Make<TButtonPen>(this, this, "BSideLines", 8, 104, 90, 25, "Side &Lines...");
  Button3 = Make<TButton>(this, this, "Button3", 110, 74, 90, 25, "&Brush...");
  Button1 = Make<TButton>(this, this, "Button1", 110, 104, 90, 25, "S&ide Brush...");
  Edit1 = Make<TEdit>(this, this, "Edit1", 290, 74, 30, 21);
  UDTransp = Make<TUpDown>(this, this, "UDTransp", 320, 74, 15, 21);
  UDTransp->SetMin(0);
  UDTransp->SetMax(100);
  UDTransp->SetIncrement(5);
  UDTransp->SetAssociate(Edit1);
  Label1 = MakeLabel(this, this, "Label1", 210, 78, "&Transparency:", Edit1);
  CBFastBrush = Make<TCheckBox>(this, this, "CBFastBrush", 210, 106, 100, 17, "&Fast Brush");

  RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
  CBSmooth->OnClick = [this](TObject* s) { CBSmoothClick(s); };
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  CBFastBrush->OnClick = [this](TObject* s) { CBFastBrushClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TSurfaceSeriesEditor::~TSurfaceSeriesEditor() { FireOnDestroy(this); }

void TSurfaceSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TSurfaceSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TSurfaceSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  RadioGroup1->SetItemIndex(Series->WireFrame() ? 1 : Series->DotFrame() ? 2 : 0);
  CBSmooth->SetChecked(Series->SmoothPalette());
  Button2->LinkPen(Series->Pen());
  BSideLines->LinkPen(Series->SideLines());
  UDTransp->SetPosition(Series->Transparency());
  CBFastBrush->SetChecked(Series->FastBrush());
  FLoading = false;
  if (!FGridForm) FTabs->Keep(FGridForm, AddGrid3DEditorPage(Parent(), Series));
  else FGridForm->LoadSeries(Series);
}

void TSurfaceSeriesEditor::RadioGroup1Click(TObject*) {
  if (FLoading || !Series || !FormShowing(this)) return;
  switch (RadioGroup1->ItemIndex()) {
    case 0:
      Series->SetDotFrame(false);
      Series->SetWireFrame(false);
      break;
    case 1: Series->SetWireFrame(true); break;
    case 2: Series->SetDotFrame(true); break;
    default: break;
  }
}

void TSurfaceSeriesEditor::CBSmoothClick(TObject*) {
  if (!FLoading && Series) Series->SetSmoothPalette(CBSmooth->Checked());
}

void TSurfaceSeriesEditor::Button3Click(TObject*) {
  if (Series) RunBrushDialog(this, Series->Brush());
}

void TSurfaceSeriesEditor::Button1Click(TObject*) {
  if (Series) RunBrushDialog(this, Series->SideBrush());
}

void TSurfaceSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetTransparency(UDTransp->Position());
}

void TSurfaceSeriesEditor::CBFastBrushClick(TObject*) {
  if (!FLoading && Series) Series->SetFastBrush(CBFastBrush->Checked());
}

void RegisterSurfaceEditorClasses() { RegisterClasses({&TSurfaceSeriesEditor::StaticClass()}); }
