#include "chart/extra/grafdragmarksedit.h"

#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TDragMarksToolEditor, TSeriesToolEditor)

TDragMarksToolEditor::TDragMarksToolEditor(TComponent* AOwner) : TSeriesToolEditor(AOwner) {
  SetClientHeight(80);
  Button1 = Make<TButton>(this, this, "Button1", 64, 40, 113, 25, "&Reset positions");
  Button1->OnClick = [this](TObject*) {
    if (!FTool) return;
    if (TChartSeries* s = FTool->Series()) {
      s->Marks()->ClearCustomPositions();
    } else if (TCustomAxisPanel* chart = FTool->ParentChart()) {
      for (TChartSeries* each : *chart->SeriesList()) each->Marks()->ClearCustomPositions();
    }
  };
}

void TDragMarksToolEditor::FormShow(TObject* Sender) {
  TSeriesToolEditor::FormShow(Sender);
  const int index = CBSeries->ItemIndex();
  if (CBSeries->Items()->Count() > 0) CBSeries->Items()->Put(0, "(all)");
  CBSeries->SetItemIndex(index < 0 ? 0 : index);
}
