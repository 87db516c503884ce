#include "chart/editor/grafwaterfalledit.h"

#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TWaterFallEditor, TSurfaceSeriesEditor)

TWaterFallEditor::TWaterFallEditor(TComponent* AOwner) : TSurfaceSeriesEditor(AOwner) {
  BLines = Make<TButtonPen>(this, this, "BLines", 110, 130, 90, 25, "&Lines...");
  SetClientHeight(160);
}

void TWaterFallEditor::FormShow(TObject* Sender) {
  TSurfaceSeriesEditor::FormShow(Sender);
  if (Series) BLines->LinkPen(Series->WaterLines());
}

void RegisterWaterFallEditorClasses() { RegisterClasses({&TWaterFallEditor::StaticClass()}); }
