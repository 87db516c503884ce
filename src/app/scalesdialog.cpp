#include "app/scalesdialog.h"

#include "model/global.h"

TFormSetScales* FormSetScales = nullptr;

ZV_CLASS_IMPL_NOPROPS(TFormSetScales, TForm)

namespace {

TSpinEdit* AddRow(TFormSetScales* form, int row, const char* caption, int minValue, int maxValue) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetCaption(caption);
  label->SetBounds(12, 14 + row * 32, 190, 16);
  auto* edit = new TSpinEdit(form);
  edit->SetParent(form);
  edit->SetBounds(210, 10 + row * 32, 80, 22);
  edit->SetMinValue(minValue);
  edit->SetMaxValue(maxValue);
  return edit;
}

}  // namespace

TFormSetScales::TFormSetScales(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormSetScales");
  SetCaption("Scales");
  // Its controls and toolbar buttons show their hints while the program shows hints.
  SetShowHint(true);
  SetBorderStyle(bsDialog);
  SetClientWidth(302);
  SetClientHeight(176);
  sehklmarkerspos = AddRow(this, 0, "HKL Marker Relative Position", -10000, 10000);
  sehklmarkerheight = AddRow(this, 1, "HKL Marker Height", 0, 10);
  sedifferencepos = AddRow(this, 2, "Plot Difference Relative Position:", -10000, 10000);
  seHKLseparation = AddRow(this, 3, "HKL Marker separation:", -10000, 10000);
  btOK = new TButton(this);
  btOK->SetParent(this);
  btOK->SetCaption("OK");
  btOK->SetModalResult(mrOk);
  btOK->SetDefault(true);
  btOK->SetBounds(130, 140, 75, 25);
  btOK->OnClick = [this](TObject* s) { btOKClick(s); };
  btCancel = new TButton(this);
  btCancel->SetParent(this);
  btCancel->SetCaption("Cancel");
  btCancel->SetModalResult(mrCancel);
  btCancel->SetCancel(true);
  btCancel->SetBounds(215, 140, 75, 25);
  OnShow = [this](TObject* s) { FormShow(s); };
}

void TFormSetScales::FormShow(TObject*) {
  sehklmarkerspos->SetValue(PlotScales[0]);
  sehklmarkerheight->SetValue(PlotScales[1]);
  sedifferencepos->SetValue(PlotScales[2]);
  seHKLseparation->SetValue(PlotScales[3]);
}

void TFormSetScales::btOKClick(TObject*) {
  PlotScales[0] = sehklmarkerspos->Value();
  PlotScales[1] = sehklmarkerheight->Value();
  PlotScales[2] = sedifferencepos->Value();
  PlotScales[3] = seHKLseparation->Value();
}
