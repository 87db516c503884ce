#include "chart/extra/grafvolumepipeeditor.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/extra/grafvolumepipe.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TVolumePipeSeriesEditor, TForm)

TVolumePipeSeriesEditor::TVolumePipeSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(300);
  SetClientHeight(104);
  ButtonPen1 = Make<TButtonPen>(this, this, "ButtonPen1", 8, 8, 85, 25, "&Border...");
  ButtonPen2 = Make<TButtonPen>(this, this, "ButtonPen2", 8, 40, 85, 25, "&Lines...");
  Button1 = Make<TButton>(this, this, "Button1", 8, 72, 85, 25, "&Pattern...");
  CheckBox1 = Make<TCheckBox>(this, this, "CheckBox1", 104, 76, 130, 17, "&Brush Back Clear");
  Edit2 = Make<TEdit>(this, this, "Edit2", 184, 8, 33, 21);
  UpDown1 = Make<TUpDown>(this, this, "UpDown1", 217, 8, 15, 21);
  UpDown1->SetMin(0);
  UpDown1->SetMax(100);
  UpDown1->SetIncrement(5);
  UpDown1->SetAssociate(Edit2);
  UpDown1->SetPosition(30);
  Label1 = MakeLabel(this, this, "Label1", 104, 12, "Cone percent:", Edit2);
  CheckGradient = Make<TCheckBox>(this, this, "CheckGradient", 104, 36, 90, 17, "&Gradient");
  CBDirection = Make<TComboFlat>(this, this, "CBDirection", 196, 52, 96, 21);
  CBDirection->SetStyle(csDropDownList);
  for (const char* s : {"Top Bottom", "Left Right"}) CBDirection->Items()->Add(s);
  CBDirection->SetItemIndex(0);
  Label2 = MakeLabel(this, this, "Label2", 104, 56, "Gradient &Direction:", CBDirection);

  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
  Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
  CheckGradient->OnClick = [this](TObject* s) { CheckGradientClick(s); };
  CBDirection->OnChange = [this](TObject* s) { CBDirectionChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TVolumePipeSeriesEditor::FormCreate(TObject*) { SetAlign(alClient); }

void TVolumePipeSeriesEditor::FormShow(TObject*) {
  Pipe = dynamic_cast<TVolumePipeSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Pipe) return;
  FLoading = true;
  Edit2->SetText(IntToStr(Pipe->ConePercent()));
  ButtonPen1->LinkPen(Pipe->Pen());
  ButtonPen2->LinkPen(Pipe->LinesPen());
  CheckGradient->SetChecked(Pipe->Gradient()->Visible());
  CBDirection->SetItemIndex(Pipe->Gradient()->Direction() == gdTopBottom ? 0 : 1);
  FLoading = false;
}

void TVolumePipeSeriesEditor::Button1Click(TObject*) {
  if (!Pipe) return;
  RunBrushDialog(this, Pipe->Brush());
  if (CheckBox1->Checked()) Pipe->Brush()->SetColor(clNone);
}

void TVolumePipeSeriesEditor::CheckBox1Click(TObject*) {
  if (!FLoading && Pipe && CheckBox1->Checked()) Pipe->Brush()->SetColor(clNone);
}

void TVolumePipeSeriesEditor::Edit2Change(TObject*) {
  if (FLoading || !Pipe) return;
  // A half-typed or wrong number keeps the cone as it was.
  int value;
  if (TryStrToInt(Trim(Edit2->Text()), value)) Pipe->SetConePercent(value);
}

void TVolumePipeSeriesEditor::CheckGradientClick(TObject*) {
  if (!FLoading && Pipe) Pipe->Gradient()->SetVisible(CheckGradient->Checked());
}

void TVolumePipeSeriesEditor::CBDirectionChange(TObject*) {
  if (FLoading || !Pipe || CBDirection->ItemIndex() < 0) return;
  // The second item is named "Left Right" but draws from the right.
  Pipe->Gradient()->SetDirection(CBDirection->ItemIndex() == 0 ? gdTopBottom : gdRightLeft);
}
