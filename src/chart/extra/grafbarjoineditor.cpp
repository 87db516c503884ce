#include "chart/extra/grafbarjoineditor.h"

#include "chart/editor/editorbuild.h"
#include "chart/extra/mypoint.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TBarJoinEditor, TBarSeriesEditor)

TBarJoinEditor::TBarJoinEditor(TComponent* AOwner) : TBarSeriesEditor(AOwner) {
  BJoin = Make<TButtonPen>(this, TabSheet1, "BJoin", 180, 118, 90, 25, "&Join...");
}

void TBarJoinEditor::FormShow(TObject* Sender) {
  TBarSeriesEditor::FormShow(Sender);
  auto* series = dynamic_cast<TBarJoinSeries*>(reinterpret_cast<TObject*>(Tag()));
  BJoin->LinkPen(series ? series->JoinPen() : nullptr);
}
