#include "chart/extra/graflinepointeditor.h"

#include "chart/editor/editorbuild.h"
#include "chart/extra/mypoint.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TLinePointEditor, TSeriesPointerEditor)

TLinePointEditor::TLinePointEditor(TComponent* AOwner) : TSeriesPointerEditor(AOwner) {
  BLines = Make<TButtonPen>(this, GPPoint, "BLines", 196, 160, 85, 25, "&Lines...");
}

void TLinePointEditor::FormShow(TObject* Sender) {
  TSeriesPointerEditor::FormShow(Sender);
  auto* series = dynamic_cast<TMyPointSeries*>(TaggedSeries());
  BLines->LinkPen(series ? series->LinesPen() : nullptr);
}
