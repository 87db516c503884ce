#include "chart/extra/grafextralegendtooledit.h"

#include <memory>

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafedilege.h"
#include "chart/editor/grafpendlg.h"
#include "chart/extra/grafextralegendtool.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TExtraLegendEditor, TSeriesToolEditor)

TExtraLegendEditor::TExtraLegendEditor(TComponent* AOwner) : TSeriesToolEditor(AOwner) {
  SetClientHeight(80);
  Button1 = Make<TButton>(this, this, "Button1", 64, 40, 105, 25, "&Edit Legend...");
  Button1->OnClick = [this](TObject*) {
    auto* tool = dynamic_cast<TExtraLegendTool*>(FTool);
    if (!tool) return;
    std::unique_ptr<TFormGrafLegend> page(TFormGrafLegend::CreateForLegend(this, tool->Legend()));
    SetupEditorDialog(page.get());
    page->ShowModal();
  };
}
