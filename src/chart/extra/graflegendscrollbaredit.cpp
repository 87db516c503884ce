#include "chart/extra/graflegendscrollbaredit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/extra/graflegendscrollbar.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TScrollbarEditor, TForm)

TScrollbarEditor::TScrollbarEditor(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("ScrollbarEditor");
  SetClientWidth(300);
  SetClientHeight(190);
  ButtonPen1 = Make<TButtonPen>(this, this, "ButtonPen1", 8, 8, 89, 25, "&Border...");
  Button1 = Make<TButton>(this, this, "Button1", 8, 40, 89, 25, "&Thumb...");
  Button2 = Make<TButton>(this, this, "Button2", 8, 72, 89, 25, "B&ack...");
  Button3 = Make<TButton>(this, this, "Button3", 8, 104, 89, 25, "A&rrows...");
  ComboBox1 = Make<TComboFlat>(this, this, "ComboBox1", 168, 8, 97, 21);
  ComboBox1->SetStyle(csDropDownList);
  for (const char* s : {"None", "Lowered", "Raised"}) ComboBox1->Items()->Add(s);
  Label1 = MakeLabel(this, this, "Label1", 112, 12, "B&evel:", ComboBox1);
  CBAuto = Make<TCheckBox>(this, this, "CBAuto", 112, 40, 150, 17, "A&uto-repeat");
  Edit1 = Make<TEdit>(this, this, "Edit1", 168, 64, 41, 21);
  Edit1->SetText("1");
  UpDown1 = Make<TUpDown>(this, this, "UpDown1", 209, 64, 15, 21);
  UpDown1->SetMin(1);
  UpDown1->SetMax(300);
  UpDown1->SetAssociate(Edit1);
  Label2 = MakeLabel(this, this, "Label2", 112, 68, "&Size:", Edit1);
  Edit2 = Make<TEdit>(this, this, "Edit2", 200, 96, 41, 21);
  Edit2->SetText("250");
  UpDown2 = Make<TUpDown>(this, this, "UpDown2", 241, 96, 15, 21);
  UpDown2->SetMin(0);
  UpDown2->SetMax(5000);
  UpDown2->SetIncrement(25);
  UpDown2->SetThousands(false);
  UpDown2->SetAssociate(Edit2);
  Label3 = MakeLabel(this, this, "Label3", 112, 100, "&Initial delay", Edit2);
  ButtonColor1 = Make<TButtonColor>(this, this, "ButtonColor1", 8, 136, 97, 25, "Back &Color...");
  BGradient = Make<TButtonGradient>(this, this, "BGradient", 112, 136, 97, 25, "&Gradient...");

  Button1->OnClick = [this](TObject*) {
    if (FTool) RunBrushDialog(this, FTool->ThumbBrush());
  };
  Button2->OnClick = [this](TObject*) {
    if (FTool) RunBrushDialog(this, FTool->Brush());
  };
  Button3->OnClick = [this](TObject*) {
    if (FTool) RunBrushDialog(this, FTool->ArrowBrush());
  };
  ComboBox1->OnChange = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetBevel(static_cast<TBevelCut>(ComboBox1->ItemIndex()));
  };
  CBAuto->OnClick = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetAutoRepeat(CBAuto->Checked());
  };
  Edit1->OnChange = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetSize(UpDown1->Position());
  };
  Edit2->OnChange = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetInitialDelay(UpDown2->Position());
  };
  OnShow = [this](TObject*) { FormShow(); };
}

void TScrollbarEditor::FormShow() {
  FTool = dynamic_cast<TGrafScrollBar*>(reinterpret_cast<TObject*>(Tag()));
  if (!FTool) return;
  FLoading = true;
  ButtonPen1->LinkPen(FTool->Pen());
  ComboBox1->SetItemIndex(static_cast<int>(FTool->Bevel()));
  CBAuto->SetChecked(FTool->AutoRepeat());
  UpDown1->SetPosition(FTool->Size());
  UpDown2->SetPosition(FTool->InitialDelay());
  ButtonColor1->LinkProperty(FTool, "BackColor");
  BGradient->LinkGradient(FTool->Gradient());
  FLoading = false;
}
