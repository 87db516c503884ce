#include "chart/extra/grafimagetooledit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/series/graftools.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/commondialogs.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TChartImageToolEditor, TSeriesToolEditor)

namespace {

bool HasGraphic(const TPicture* P) { return P && P->Graphic() && !P->Graphic()->Empty(); }

std::vector<std::string> SplitBars(const std::string& S) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t bar = S.find('|', start);
    parts.push_back(S.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) return parts;
    start = bar + 1;
  }
}

}  // namespace

std::string GraphicFilterOfClass(const std::string& ClassName) {
  // The full filter lists "All" first, then one description and mask per
  // format; keep the formats whose graphic is of the class.
  const std::vector<std::string> parts = SplitBars(TPicture::GraphicFilter());
  std::string out;
  for (size_t i = 2; i + 1 < parts.size(); i += 2) {
    const std::string& mask = parts[i + 1];
    if (mask.size() < 3 || mask.compare(0, 2, "*.") != 0) continue;
    std::unique_ptr<TGraphic> g = TPicture::CreateGraphicForExtension(mask.substr(2));
    if (!g || !SameText(g->ClassName(), ClassName)) continue;
    if (!out.empty()) out += "|";
    out += parts[i] + "|" + mask;
  }
  return out;
}

TChartImageToolEditor::TChartImageToolEditor(TComponent* AOwner) : TSeriesToolEditor(AOwner) {
  SetClientWidth(260);
  SetClientHeight(172);
  GroupBox2 = Make<TGroupBox>(this, this, "GroupBox2", 8, 36, 233, 125, "Image:");
  Image1 = Make<TImage>(this, GroupBox2, "Image1", 8, 20, 121, 97);
  Image1->SetStretch(true);
  Button1 = Make<TButton>(this, GroupBox2, "Button1", 140, 20, 81, 25, "&Image...");
  BSave = Make<TButton>(this, GroupBox2, "BSave", 140, 52, 81, 25, "&Save...");
  BSave->SetEnabled(false);

  Button1->OnClick = [this](TObject*) {
    TChartImageTool* tool = ImageTool();
    if (!tool) return;
    if (Button1->Tag() == 1) {
      tool->Picture()->SetGraphic(nullptr);
      tool->RequestRedraw();
    } else {
      const std::string file = AskPictureFileName(this);
      if (!file.empty()) {
        tool->Picture()->LoadFromFile(file);
        tool->RequestRedraw();
      }
    }
    RefreshButtons();
  };
  BSave->OnClick = [this](TObject*) {
    TChartImageTool* tool = ImageTool();
    if (!tool || !HasGraphic(tool->Picture())) return;
    TGraphic* graphic = tool->Picture()->Graphic();
    TSaveDialog dialog(this);
    dialog.Filter = GraphicFilterOfClass(graphic->ClassName());
    if (dialog.Execute()) graphic->SaveToFile(dialog.FileName);
  };
}

TChartImageTool* TChartImageToolEditor::ImageTool() const { return dynamic_cast<TChartImageTool*>(FTool); }

void TChartImageToolEditor::RefreshButtons() {
  TChartImageTool* tool = ImageTool();
  if (tool && HasGraphic(tool->Picture())) {
    Button1->SetCaption("Clea&r");
    Button1->SetTag(1);
    Image1->SetPicture(tool->Picture());
    BSave->SetEnabled(true);
  } else {
    Button1->SetCaption("B&rowse...");
    Button1->SetTag(0);
    Image1->Picture()->SetGraphic(nullptr);
    BSave->SetEnabled(false);
  }
}

void TChartImageToolEditor::FormShow(TObject* Sender) {
  TSeriesToolEditor::FormShow(Sender);
  if (ImageTool()) RefreshButtons();
}
