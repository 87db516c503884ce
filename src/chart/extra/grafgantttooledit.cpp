#include "chart/extra/grafgantttooledit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafpendlg.h"
#include "chart/extra/ganttch.h"
#include "chart/extra/grafgantttool.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TGanttToolEditor, TSeriesToolEditor)

TGanttToolEditor::TGanttToolEditor(TComponent* AOwner) : TSeriesToolEditor(AOwner) {
  SetClientWidth(300);
  SetClientHeight(180);
  Edit1 = Make<TEdit>(this, this, "Edit1", 160, 36, 33, 21);
  Edit1->SetText("5");
  UpDown1 = Make<TUpDown>(this, this, "UpDown1", 193, 36, 15, 21);
  UpDown1->SetMin(0);
  UpDown1->SetMax(100);
  UpDown1->SetPosition(5);
  UpDown1->SetAssociate(Edit1);
  Label2 = MakeLabel(this, this, "Label2", 8, 40, "&Resize pixels tolerance:", Edit1);
  CBAllowDrag = Make<TCheckBox>(this, this, "CBAllowDrag", 8, 68, 120, 17, "Allow &Drag");
  CBAllowResize = Make<TCheckBox>(this, this, "CBAllowResize", 8, 96, 120, 17, "Allow &Resize");
  CBCursorDrag = Make<TComboFlat>(this, this, "CBCursorDrag", 184, 64, 105, 21);
  CBCursorDrag->SetStyle(csDropDownList);
  CBCursorDrag->SetSorted(true);
  Label3 = MakeLabel(this, this, "Label3", 136, 68, "&Cursor:", CBCursorDrag);
  CBCursorResize = Make<TComboFlat>(this, this, "CBCursorResize", 184, 92, 105, 21);
  CBCursorResize->SetStyle(csDropDownList);
  CBCursorResize->SetSorted(true);
  Label4 = MakeLabel(this, this, "Label4", 136, 96, "C&ursor:", CBCursorResize);

  Edit1->OnChange = [this](TObject*) {
    if (Gantt() && !FLoading) Gantt()->SetMinPixels(UpDown1->Position());
  };
  CBAllowDrag->OnClick = [this](TObject*) {
    if (Gantt() && !FLoading) Gantt()->SetAllowDrag(CBAllowDrag->Checked());
  };
  CBAllowResize->OnClick = [this](TObject*) {
    if (Gantt() && !FLoading) Gantt()->SetAllowResize(CBAllowResize->Checked());
  };
  CBCursorDrag->OnChange = [this](TObject*) {
    if (Gantt() && !FLoading) Gantt()->SetCursorDrag(CursorFromName(Gantt()->CursorDrag(), CBCursorDrag->Text()));
  };
  CBCursorResize->OnChange = [this](TObject*) {
    if (Gantt() && !FLoading)
      Gantt()->SetCursorResize(CursorFromName(Gantt()->CursorResize(), CBCursorResize->Text()));
  };
}

TGanttTool* TGanttToolEditor::Gantt() const { return dynamic_cast<TGanttTool*>(FTool); }

void TGanttToolEditor::FormShow(TObject* Sender) {
  TSeriesToolEditor::FormShow(Sender);
  // Only gantt series (and "(none)") are offered.
  for (int i = CBSeries->Items()->Count() - 1; i >= 0; --i) {
    TObject* o = CBSeries->Items()->Objects(i);
    if (o && !dynamic_cast<TGanttSeries*>(o)) CBSeries->Items()->Delete(i);
  }
  if (TGanttTool* g = Gantt()) {
    CBSeries->SetItemIndex(g->Series() ? CBSeries->Items()->IndexOfObject(g->Series()) : 0);
    UpDown1->SetPosition(g->MinPixels());
    CBAllowDrag->SetChecked(g->AllowDrag());
    CBAllowResize->SetChecked(g->AllowResize());
    FillCursorCombo(CBCursorDrag, g->CursorDrag());
    FillCursorCombo(CBCursorResize, g->CursorResize());
  }
  FLoading = false;
}
