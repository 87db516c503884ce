#include "chart/extra/grafaxistooledit.h"

#include "chart/core/grengine.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafediaxis.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TAxisToolEditor, TForm)

TAxisToolEditor::TAxisToolEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(300);
  SetClientHeight(200);
  SetBorderIcons({biSystemMenu});
  PanelTop = Make<TPanel>(this, this, "PanelTop", 0, 0, 300, 37);
  PanelTop->SetAlign(alTop);
  PanelTop->SetBevelOuter(bvNone);
  CBAxis = Make<TComboFlat>(this, PanelTop, "CBAxis", 48, 8, 121, 21);
  CBAxis->SetStyle(csDropDownList);
  Label1 = MakeLabel(this, PanelTop, "Label1", 8, 12, "&Axis:", CBAxis);
  BPen = Make<TButtonPen>(this, PanelTop, "BPen", 184, 6, 89, 25, "&Border...");
  CBAxis->OnChange = [this](TObject* s) { CBAxisChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TAxisToolEditor::FormCreate(TObject*) {
  SetBorderStyle(bsDialog);
  FDepthAxes = false;
}

void TAxisToolEditor::FormShow(TObject*) {
  FTool = dynamic_cast<TGrafCustomToolAxis*>(reinterpret_cast<TObject*>(Tag()));
  if (!FTool) {
    BPen->SetEnabled(false);
    CBAxis->SetEnabled(false);
    return;
  }
  TCustomAxisPanel* chart = FTool->ParentChart();
  FillAxisNames(chart, CBAxis->Items(), FDepthAxes);
  BPen->LinkPen(FTool->Pen());
  BPen->SetEnabled(true);
  CBAxis->SetEnabled(chart != nullptr);
  if (chart) {
    TChartAxis* axis = FTool->Axis();
    int index = -1;
    if (!axis) index = -1;
    else if (axis == chart->LeftAxis()) index = 0;
    else if (axis == chart->RightAxis()) index = 1;
    else if (axis == chart->TopAxis()) index = 2;
    else if (axis == chart->BottomAxis()) index = 3;
    else {
      const int pos = chart->AxesList()->IndexOf(axis);
      if (pos >= 0) index = pos - (FDepthAxes ? 0 : 2);
    }
    CBAxis->SetItemIndex(index);
  }
  if (!IsPublishedProp(FTool, "Pen")) BPen->SetVisible(false);
}

void TAxisToolEditor::CBAxisChange(TObject*) {
  if (!FTool || !FTool->ParentChart()) return;
  TCustomAxisPanel* chart = FTool->ParentChart();
  const int i = CBAxis->ItemIndex();
  TChartAxis* axis = nullptr;
  switch (i) {
    case -1: break;
    case 0: axis = chart->LeftAxis(); break;
    case 1: axis = chart->RightAxis(); break;
    case 2: axis = chart->TopAxis(); break;
    case 3: axis = chart->BottomAxis(); break;
    default: {
      const int pos = i + (FDepthAxes ? 0 : 2);
      if (pos < chart->AxesList()->Count()) axis = chart->AxesList()->AxisAt(pos);
    }
  }
  FTool->SetAxis(axis);
}
