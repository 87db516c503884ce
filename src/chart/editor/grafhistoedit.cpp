#include "chart/editor/grafhistoedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "platform/ui/radio.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(THistogramSeriesEditor, TForm)

THistogramSeriesEditor::THistogramSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(260);
  SetClientHeight(130);
  GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 4, 4, 120, 70);
  GroupBox1->SetCaption("Color:");
  CBColorEach = Make<TCheckBox>(this, GroupBox1, "CBColorEach", 8, 16, 100, 17, "Color &Each");
  BAreaColor = Make<TButtonColor>(this, GroupBox1, "BAreaColor", 8, 38, 100, 25, "&Color...");
  BAreaLinesPen = Make<TButtonPen>(this, this, "BAreaLinesPen", 136, 8, 100, 25, "&Lines...");
  BAreaLinePen = Make<TButtonPen>(this, this, "BAreaLinePen", 136, 38, 100, 25, "&Border...");
  Button1 = Make<TButton>(this, this, "Button1", 136, 68, 100, 25, "&Pattern...");
  Edit1 = Make<TEdit>(this, this, "Edit1", 90, 100, 35, 21);
  UDTransp = Make<TUpDown>(this, this, "UDTransp", 125, 100, 15, 21);
  UDTransp->SetMin(0);
  UDTransp->SetMax(100);
  UDTransp->SetIncrement(5);
  UDTransp->SetAssociate(Edit1);
  Label1 = MakeLabel(this, this, "Label1", 8, 104, "&Transparency:", Edit1);
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void THistogramSeriesEditor::FormCreate(TObject*) {
  FLoading = true;
  SetBorderStyle(bsDialog);
}

void THistogramSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<THistogramSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (Series) {
    FLoading = true;
    CBColorEach->SetChecked(Series->ColorEachPoint());
    BAreaColor->SetEnabled(!Series->ColorEachPoint());
    LinkSeriesColorButton(BAreaColor, Series);
    BAreaLinesPen->LinkPen(Series->LinesPen());
    BAreaLinePen->LinkPen(Series->LinePen());
    UDTransp->SetPosition(Series->Transparency());
  }
  FLoading = false;
}

void THistogramSeriesEditor::CBColorEachClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetColorEachPoint(CBColorEach->Checked());
  BAreaColor->SetEnabled(!CBColorEach->Checked());
}

void THistogramSeriesEditor::Button1Click(TObject*) {
  if (Series) RunBrushDialog(this, Series->Brush());
}

void THistogramSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetTransparency(UDTransp->Position());
}

void RegisterHistogramEditorClasses() { RegisterClasses({&THistogramSeriesEditor::StaticClass()}); }
