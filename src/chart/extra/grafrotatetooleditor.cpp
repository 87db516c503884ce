#include "chart/extra/grafrotatetooleditor.h"

#include "chart/editor/editorbuild.h"
#include "chart/series/graftools.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TRotateToolEditor, TForm)

TRotateToolEditor::TRotateToolEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(240);
  SetClientHeight(130);
  SetPosition(poScreenCenter);
  SetAlign(alClient);
  CBInverted = Make<TCheckBox>(this, this, "CBInverted", 8, 8, 120, 17, "&Inverted");
  CBStyle = Make<TComboFlat>(this, this, "CBStyle", 64, 36, 105, 21);
  CBStyle->SetStyle(csDropDownList);
  for (const char* s : {"All", "Rotation", "Elevation"}) CBStyle->Items()->Add(s);
  Label1 = MakeLabel(this, this, "Label1", 8, 40, "&Style:", CBStyle);
  CBButton = Make<TComboFlat>(this, this, "CBButton", 64, 64, 105, 21);
  CBButton->SetStyle(csDropDownList);
  for (const char* s : {"Left", "Middle", "Right"}) CBButton->Items()->Add(s);
  Label2 = MakeLabel(this, this, "Label2", 8, 68, "&Button:", CBButton);
  BOutline = Make<TButtonPen>(this, this, "BOutline", 64, 96, 89, 25, "&Outline...");

  CBInverted->OnClick = [this](TObject*) {
    if (Writing()) FTool->SetInverted(CBInverted->Checked());
  };
  CBStyle->OnChange = [this](TObject*) {
    if (Writing() && CBStyle->ItemIndex() >= 0) FTool->SetStyle(static_cast<TRotateToolStyles>(CBStyle->ItemIndex()));
  };
  CBButton->OnChange = [this](TObject*) {
    if (Writing() && CBButton->ItemIndex() >= 0) FTool->SetButton(ButtonOfItem(CBButton->ItemIndex()));
  };
  OnShow = [this](TObject*) { FormShow(); };
}

TMouseButton TRotateToolEditor::ButtonOfItem(int Item) {
  switch (Item) {
    case 1: return mbMiddle;
    case 2: return mbRight;
    default: return mbLeft;
  }
}

int TRotateToolEditor::ItemOfButton(TMouseButton Button) {
  switch (Button) {
    case mbMiddle: return 1;
    case mbRight: return 2;
    default: return 0;
  }
}

void TRotateToolEditor::FormShow() {
  FTool = dynamic_cast<TRotateTool*>(reinterpret_cast<TObject*>(Tag()));
  if (!FTool) return;
  FLoading = true;
  CBInverted->SetChecked(FTool->Inverted());
  CBStyle->SetItemIndex(FTool->Style());
  CBButton->SetItemIndex(ItemOfButton(FTool->Button()));
  BOutline->LinkPen(FTool->Pen());
  FLoading = false;
}
