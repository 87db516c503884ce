#include "app/macroplot.h"

#include "chart/editor/grafedit.h"
#include "chart/series/series.h"

TFormGraph* FormGraph = nullptr;

ZV_CLASS_IMPL_NOPROPS(TFormGraph, TForm)

namespace {

TAction* NewAction(TComponent* owner, const char* name, const std::string& caption, TNotifyEvent handler) {
  auto* a = new TAction(owner);
  a->SetName(name);
  a->SetCaption(caption);
  a->SetOnExecute(std::move(handler));
  return a;
}

}  // namespace

TFormGraph::TFormGraph(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Plot");
  // Its controls and toolbar buttons show their hints while the program shows hints.
  SetShowHint(true);
  SetWidth(523);
  SetHeight(405);
  Chart1 = new TChart(this);
  Chart1->SetName("Chart1");
  Chart1->SetParent(this);
  Chart1->SetAlign(alClient);
  Chart1->SetView3D(false);
  Chart1->SetColor(clWhite);
  Chart1->Legend()->SetVisible(false);
  Chart1->Title()->SetVisible(false);

  Print1 = NewAction(this, "Print1", "&Print", [this](TObject*) { Chart1->PrintPage(); });
  ChartPreviewer1 = new TChartPreviewer(this);
  ChartPreviewer1->SetName("ChartPreviewer1");
  ChartPreviewer1->SetChart(Chart1);
  ChartEditor1 = new TChartEditor(this);
  ChartEditor1->SetName("ChartEditor1");
  ChartEditor1->SetChart(Chart1);
  PrintPreview1 = NewAction(this, "PrintPreview1", "Print Pre&view", [this](TObject*) {
    Chart1->SetPrintProportional(false);
    ChartPreviewer1->ShowEditor();
  });
  Exit1 = NewAction(this, "Exit1", "E&xit", [this](TObject*) { Close(); });
  // Copy as BMP is offered but does nothing.
  CopyasBMP1 = NewAction(this, "CopyasBMP1", "&Copy as BMP", [](TObject*) {});
  Edit1 = NewAction(this, "Edit1", "&Edit", [this](TObject*) { ChartEditor1->ShowEditor(); });
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };

  TBDock1 = new TTBDock(this);
  TBDock1->SetName("TBDock1");
  TBDock1->SetParent(this);
  TBToolbar1 = new TTBToolbar(this);
  TBToolbar1->SetName("TBToolbar1");
  TBToolbar1->SetCaption("Plot Toolbar");
  TBToolbar1->SetMenuBar(true);
  auto item = [this](TAction* a) -> TTBCustomItem* {
    auto* i = new TTBItem(this);
    i->SetAction(a);
    return i;
  };
  auto submenu = [this](const char* caption, std::initializer_list<TTBCustomItem*> items) {
    auto* m = new TTBSubmenuItem(this);
    m->SetCaption(caption);
    for (TTBCustomItem* i : items) m->Add(i);
    TBToolbar1->Items()->Add(m);
  };
  submenu("&File", {item(Print1), item(PrintPreview1), new TTBSeparatorItem(this), item(Exit1)});
  submenu("&Edit", {item(CopyasBMP1)});
  submenu("&Chart", {item(Edit1)});
  TBToolbar1->SetCurrentDock(TBDock1);
}

void TFormGraph::PlotPoints(const std::vector<double>& X, const std::vector<double>& Y, int N) {
  TColor colour = static_cast<TColor>(16711680);  // blue
  if (Tag() == 0) {
    auto* series = new TPointSeries(this);
    series->SetParentChart(Chart1);
    SetTag(1);
    colour = clRed;
  }
  Show();
  TChartSeries* first = Chart1->SeriesAt(static_cast<int>(Tag()) - 1);
  first->RemoveAllPoints();
  for (size_t i = 0; i < X.size() && i < Y.size() && static_cast<long long>(i) <= N; ++i)
    first->AddXYPoint(X[i], Y[i], "", colour);
}

void TFormGraph::FormClose(TObject*, TCloseAction& Action) {
  // The next PLOT adds another series but draws into the first one.
  SetTag(0);
  Action = caHide;
}
