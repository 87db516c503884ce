#include "chart/extra/grafselectortooledit.h"

#include "chart/editor/editorbuild.h"
#include "chart/extra/grafselectortool.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TSelectorToolEditor, TForm)

TSelectorToolEditor::TSelectorToolEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(260);
  SetClientHeight(130);
  ButtonPen1 = Make<TButtonPen>(this, this, "ButtonPen1", 8, 8, 89, 25, "&Handles...");
  ButtonColor1 = Make<TButtonColor>(this, this, "ButtonColor1", 8, 40, 89, 25, "&Color...");
  Edit1 = Make<TEdit>(this, this, "Edit1", 152, 10, 33, 21);
  Edit1->SetText("3");
  UDSize = Make<TUpDown>(this, this, "UDSize", 185, 10, 15, 21);
  UDSize->SetMin(1);
  UDSize->SetMax(100);
  UDSize->SetPosition(3);
  UDSize->SetAssociate(Edit1);
  Label1 = MakeLabel(this, this, "Label1", 112, 14, "&Size:", Edit1);
  CBAllowDrag = Make<TCheckBox>(this, this, "CBAllowDrag", 112, 44, 140, 17, "&Allow Drag");
  CBResizeChart = Make<TCheckBox>(this, this, "CBResizeChart", 112, 68, 140, 17, "Allow &Resize Chart");
  Edit1->OnChange = [this](TObject*) {
    if (FTool && !FLoading && FormShowing(this)) FTool->SetHandleSize(UDSize->Position());
  };
  CBAllowDrag->OnClick = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetAllowDrag(CBAllowDrag->Checked());
  };
  CBResizeChart->OnClick = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetAllowResizeChart(CBResizeChart->Checked());
  };
  OnShow = [this](TObject*) { FormShow(); };
}

void TSelectorToolEditor::FormShow() {
  FTool = dynamic_cast<TSelectorTool*>(reinterpret_cast<TObject*>(Tag()));
  if (!FTool) return;
  FLoading = true;
  ButtonPen1->LinkPen(FTool->Pen());
  ButtonColor1->LinkProperty(FTool->Brush(), "Color");
  UDSize->SetPosition(FTool->HandleSize());
  CBAllowDrag->SetChecked(FTool->AllowDrag());
  CBResizeChart->SetChecked(FTool->AllowResizeChart());
  FLoading = false;
}
