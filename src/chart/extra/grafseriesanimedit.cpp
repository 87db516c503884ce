#include "chart/extra/grafseriesanimedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafpoedi.h"
#include "chart/series/graftools.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TSeriesAnimToolEditor, TSeriesToolEditor)

TSeriesAnimToolEditor::TSeriesAnimToolEditor(TComponent* AOwner) : TSeriesToolEditor(AOwner) {
  SetClientWidth(300);
  SetClientHeight(180);
  SBSteps = Make<TScrollBar>(this, this, "SBSteps", 64, 38, 161, 16);
  SBSteps->SetParams(100, 1, 1000);
  Label2 = MakeLabel(this, this, "Label2", 8, 40, "S&teps:", SBSteps);
  Label3 = MakeLabel(this, this, "Label3", 236, 40, "100");
  CBStartMin = Make<TCheckBox>(this, this, "CBStartMin", 8, 64, 160, 17, "St&art at Min. value");
  EStart = Make<TEdit>(this, this, "EStart", 96, 88, 89, 21);
  Label4 = MakeLabel(this, this, "Label4", 8, 92, "Start &Value:", EStart);
  Edit1 = Make<TEdit>(this, this, "Edit1", 96, 116, 33, 21);
  Edit1->SetText("0");
  UpDown1 = Make<TUpDown>(this, this, "UpDown1", 129, 116, 15, 21);
  UpDown1->SetMin(0);
  UpDown1->SetMax(100);
  UpDown1->SetAssociate(Edit1);
  Label5 = MakeLabel(this, this, "Label5", 8, 120, "&Draw every:", Edit1);
  ComboFlat1 = Make<TComboFlat>(this, this, "ComboFlat1", 96, 144, 89, 21);
  ComboFlat1->SetStyle(csDropDownList);
  for (const char* s : {"No", "One way", "Circular"}) ComboFlat1->Items()->Add(s);
  Label6 = MakeLabel(this, this, "Label6", 8, 148, "&Loop:", ComboFlat1);
  Button1 = Make<TButton>(this, this, "Button1", 208, 140, 81, 25, "&Execute !");

  SBSteps->OnChange = [this](TObject*) {
    Label3->SetCaption(IntToStr(SBSteps->Position()));
    if (Writing()) Anim()->SetSteps(SBSteps->Position());
  };
  CBStartMin->OnClick = [this](TObject*) {
    if (Writing()) Anim()->SetStartAtMin(CBStartMin->Checked());
    EStart->SetEnabled(!CBStartMin->Checked());
  };
  EStart->OnChange = [this](TObject*) {
    double v;
    if (Writing() && ReadTypedNumber(EStart->Text(), v)) Anim()->SetStartValue(v);
  };
  Edit1->OnChange = [this](TObject*) {
    if (Writing() && FormShowing(this)) Anim()->SetDrawEvery(UpDown1->Position());
  };
  ComboFlat1->OnChange = [this](TObject*) {
    if (Writing() && ComboFlat1->ItemIndex() >= 0)
      Anim()->SetLoop(static_cast<TSeriesAnimationLoop>(ComboFlat1->ItemIndex()));
  };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  // No closing while an animation runs: it would free what the run uses.
  OnCloseQuery = [this](TObject*, bool& CanClose) {
    if (Anim() && Anim()->IsAnimating()) CanClose = false;
  };
}

TSeriesAnimationTool* TSeriesAnimToolEditor::Anim() const { return dynamic_cast<TSeriesAnimationTool*>(FTool); }

void TSeriesAnimToolEditor::CBSeriesChange(TObject* Sender) {
  TSeriesToolEditor::CBSeriesChange(Sender);
  Button1->SetEnabled(Anim() && Anim()->Series());
}

void TSeriesAnimToolEditor::Button1Click(TObject*) {
  TSeriesAnimationTool* tool = Anim();
  if (!tool) return;
  if (Button1->Tag() != 1) {
    Button1->SetTag(1);
    Button1->SetCaption("Stop");
    tool->Execute();
  }
  tool->StopAnimation();
  Button1->SetTag(0);
  Button1->SetCaption("&Execute !");
}

void TSeriesAnimToolEditor::FormShow(TObject* Sender) {
  FLoading = true;
  TSeriesToolEditor::FormShow(Sender);
  if (TSeriesAnimationTool* a = Anim()) {
    SBSteps->SetPosition(a->Steps());
    Label3->SetCaption(IntToStr(a->Steps()));
    CBStartMin->SetChecked(a->StartAtMin());
    EStart->SetEnabled(!a->StartAtMin());
    EStart->SetText(FloatToStr(a->StartValue()));
    UpDown1->SetPosition(a->DrawEvery());
    ComboFlat1->SetItemIndex(a->Loop());
    Button1->SetEnabled(a->Series() != nullptr);
    if (a->IsAnimating()) {
      Button1->SetCaption("Stop");
      Button1->SetTag(1);
    }
  }
  FLoading = false;
}
