#include "chart/extra/graflightingedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/extra/graflighting.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TLightToolEditor, TForm)

TLightToolEditor::TLightToolEditor(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("GrafChart Lighting");
  SetPosition(poScreenCenter);
  SetClientWidth(300);
  SetClientHeight(180);
  TBLeft = Make<TTrackBar>(this, this, "TBLeft", 64, 8, 220, 29);
  TBLeft->SetMax(1000);
  TBLeft->SetLineSize(10);
  TBLeft->SetFrequency(40);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Left:", TBLeft);
  TBTop = Make<TTrackBar>(this, this, "TBTop", 64, 40, 220, 29);
  TBTop->SetMax(1000);
  Label2 = MakeLabel(this, this, "Label2", 8, 44, "&Top:", TBTop);
  CBStyle = Make<TComboFlat>(this, this, "CBStyle", 64, 76, 120, 21);
  CBStyle->SetStyle(csDropDownList);
  for (const char* s : {"Linear", "Spotlight"}) CBStyle->Items()->Add(s);
  Label3 = MakeLabel(this, this, "Label3", 8, 80, "&Style:", CBStyle);
  TBFactor = Make<TTrackBar>(this, this, "TBFactor", 64, 104, 220, 29);
  TBFactor->SetMax(100);
  TBFactor->SetLineSize(10);
  TBFactor->SetFrequency(20);
  TBFactor->SetPosition(10);
  Label4 = MakeLabel(this, this, "Label4", 8, 108, "F&actor:", TBFactor);
  CheckBox2 = Make<TCheckBox>(this, this, "CheckBox2", 64, 144, 150, 17, "&Follow mouse");

  TBLeft->OnChange = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetLeft(TBLeft->Position());
  };
  TBTop->OnChange = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetTop(TBTop->Position());
  };
  CBStyle->OnChange = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetStyle(CBStyle->ItemIndex() == 0 ? lsLinear : lsSpotLight);
  };
  TBFactor->OnChange = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetFactor(TBFactor->Position());
  };
  CheckBox2->OnClick = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetFollowMouse(CheckBox2->Checked());
  };
  OnShow = [this](TObject*) { FormShow(); };
  SetAlign(alClient);
}

void TLightToolEditor::FormShow() {
  FTool = dynamic_cast<TLightTool*>(reinterpret_cast<TObject*>(Tag()));
  if (FTool) {
    FLoading = true;
    if (TCustomAxisPanel* chart = FTool->ParentChart()) {
      TBLeft->SetMax(chart->Width());
      TBTop->SetMax(chart->Height());
    }
    const TPoint light = FTool->LightPoint();
    TBLeft->SetPosition(light.X);
    TBTop->SetPosition(light.Y);
    TBFactor->SetPosition(FTool->Factor());
    CBStyle->SetItemIndex(FTool->Style() == lsLinear ? 0 : 1);
    CheckBox2->SetChecked(FTool->FollowMouse());
  }
  FLoading = false;
}
