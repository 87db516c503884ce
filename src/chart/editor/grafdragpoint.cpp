#include "chart/editor/grafdragpoint.h"

#include "chart/editor/editorbuild.h"
#include "chart/series/graftools.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TDragPointToolEdit, TSeriesToolEditor)

TDragPointToolEdit::TDragPointToolEdit(TComponent* AOwner) : TSeriesToolEditor(AOwner) {
  RGStyle = Make<TRadioGroup>(this, this, "RGStyle", 8, 40, 145, 90);
  RGStyle->SetCaption("Drag Style:");
  for (const char* s : {"&X", "&Y", "&Both"}) RGStyle->Items()->Add(s);
  FLoading = true;
  RGStyle->SetItemIndex(2);
  FLoading = false;
  RGStyle->OnClick = [this](TObject* s) { RGStyleClick(s); };
}

void TDragPointToolEdit::FormShow(TObject* Sender) {
  TSeriesToolEditor::FormShow(Sender);
  auto* tool = dynamic_cast<TDragPointTool*>(FTool);
  if (!tool) return;
  FLoading = true;
  RGStyle->SetItemIndex(tool->DragStyle() == dsX ? 0 : tool->DragStyle() == dsY ? 1 : 2);
  FLoading = false;
}

void TDragPointToolEdit::RGStyleClick(TObject*) {
  auto* tool = dynamic_cast<TDragPointTool*>(FTool);
  if (FLoading || !tool) return;
  const int i = RGStyle->ItemIndex();
  tool->SetDragStyle(i == 0 ? dsX : i == 1 ? dsY : dsBoth);
}

void RegisterDragPointEditorClasses() { RegisterClasses({&TDragPointToolEdit::StaticClass()}); }
