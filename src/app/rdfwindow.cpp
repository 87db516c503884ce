#include "app/rdfwindow.h"

#include "chart/editor/grafedit.h"
#include "model/global.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"

TFormRDF* FormRDF = nullptr;

ZV_CLASS_IMPL_NOPROPS(TFormRDF, TForm)

namespace {

const char* const kKinds[5] = {"PDF(R)", "G(R)", "D(R)", "T(R)", "N(R)"};
// The curve reaches R = 10 Angstrom; the plot shows its first thousand values.
constexpr int kCurveValues = 5000;
constexpr int kShownValues = 1000;

TTBItem* NewItem(TComponent* owner, const std::string& caption, TNotifyEvent handler) {
  auto* item = new TTBItem(owner);
  item->SetCaption(caption);
  if (handler) item->SetOnClick(std::move(handler));
  return item;
}

TTBSubmenuItem* Submenu(TComponent* owner, const std::string& caption, std::initializer_list<TTBCustomItem*> items) {
  auto* menu = new TTBSubmenuItem(owner);
  menu->SetCaption(caption);
  for (TTBCustomItem* item : items) menu->Add(item);
  return menu;
}

}  // namespace

TFormRDF::TFormRDF(TComponent* AOwner) : TForm(AOwner), FValues(kCurveValues, 0.0f) {
  SetName("FormRDF");
  SetText("Plot RDF");
  SetClientWidth(560);
  SetClientHeight(380);

  TBDock1 = new TTBDock(this);
  TBDock1->SetName("TBDock1");
  TBDock1->SetParent(this);

  Chart1 = new TChart(this);
  Chart1->SetName("Chart1");
  Chart1->SetParent(this);
  Chart1->SetAlign(alClient);
  Chart1->SetView3D(false);
  Chart1->SetColor(clWhite);
  Chart1->Legend()->SetVisible(false);
  Chart1->Title()->Text()->Clear();
  Chart1->Title()->SetVisible(false);
  Chart1->LeftAxis()->Grid()->SetVisible(false);
  Chart1->BottomAxis()->Grid()->SetVisible(false);
  Chart1->BottomAxis()->Title()->SetCaption("R (\xC3\x85)");
  Series1 = new TLineSeries(this);
  Series1->SetTitle("RDF");
  Series1->Pointer()->SetVisible(false);
  Series1->SetParentChart(Chart1);

  auto sep = [this]() -> TTBCustomItem* { return new TTBSeparatorItem(this); };
  ChartPreviewer1 = new TChartPreviewer(this);
  ChartPreviewer1->SetName("ChartPreviewer1");
  ChartPreviewer1->SetChart(Chart1);
  ChartEditor1 = new TChartEditor(this);
  ChartEditor1->SetName("ChartEditor1");
  ChartEditor1->SetChart(Chart1);
  Print1 = NewItem(this, "Print", [this](TObject*) {
    Chart1->SetPrintProportional(false);
    ChartPreviewer1->ShowEditor();
  });
  Close1 = NewItem(this, "Close", [this](TObject*) { Close(); });
  CopyasBMP1 = NewItem(this, "Copy as BMP", {});
  Chart2 = NewItem(this, "Chart", [this](TObject*) { ChartEditor1->ShowEditor(); });
  for (int k = 1; k <= 5; ++k)
    PlotItems[static_cast<size_t>(k - 1)] = NewItem(this, kKinds[k - 1], [this, k](TObject*) { SetPlotKind(k); });

  TBToolbar1 = new TTBToolbar(this);
  TBToolbar1->SetName("TBToolbar1");
  TBToolbar1->SetCaption("RDF Toolbar");
  TBToolbar1->SetMenuBar(true);
  TBToolbar1->Items()->Add(Submenu(this, "File", {Print1, sep(), Close1}));
  TBToolbar1->Items()->Add(Submenu(this, "Edit", {CopyasBMP1, Chart2}));
  TBToolbar1->Items()->Add(Submenu(this, "Plot", {PlotItems[0], PlotItems[1], PlotItems[2], PlotItems[3], PlotItems[4]}));
  TBToolbar1->SetCurrentDock(TBDock1);

  TBToolbarPhase = new TTBToolbar(this);
  TBToolbarPhase->SetName("TBToolbarPhase");
  TBToolbarPhase->SetCaption("Phase");
  TBToolbarPhase->SetDockRow(1);
  cbPhases = new TComboBox(this);
  cbPhases->SetName("cbPhases");
  cbPhases->SetStyle(csDropDownList);
  cbPhases->SetBounds(0, 0, 120, 22);
  cbPhases->SetParent(TBToolbarPhase);
  TBToolbarPhase->SetCurrentDock(TBDock1);

  // Creation chooses PDF(R) without plotting.
  FPlotKind = 1;
  TickKind(1);

  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
}

TFormRDF::~TFormRDF() {
  if (LastActiveControl == Chart1) LastActiveControl = nullptr;
  if (FormRDF == this) FormRDF = nullptr;
}

void TFormRDF::FillPhases(int Count) {
  cbPhases->Items()->Clear();
  for (int i = 1; i <= Count; ++i) cbPhases->Items()->Add("Phase " + std::to_string(i));
  cbPhases->SetItemIndex(Count > 0 ? 0 : -1);
}

void TFormRDF::TickKind(int Kind) {
  for (int k = 1; k <= 5; ++k) PlotItems[static_cast<size_t>(k - 1)]->SetChecked(k == Kind);
  Chart1->LeftAxis()->Title()->SetCaption(kKinds[Kind - 1]);
}

void TFormRDF::SetPlotKind(int Kind) {
  if (Kind < 1 || Kind > 5) return;
  FPlotKind = Kind;
  TickKind(Kind);
  Plot();
}

void TFormRDF::Plot() {
  THourGlass hourglass;
  Series1->RemoveAllPoints();
  if (!Model || !Model->Loaded || !Refinement) return;
  // The phase chosen in the list (its item index + 1).
  const int phase = cbPhases->ItemIndex() + 1;
  if (phase < 1) return;
  std::fill(FValues.begin(), FValues.end(), 0.0f);
  const int status = Refinement->GetRDF(FValues, phase, FPlotKind);
  if (status != 0) {
    ShowMessage(EngineErrorText(status));
    return;
  }
  // Element i of the curve belongs to R = 0.01 i.
  Series1->SuspendUpdates();
  for (int i = 0; i < kShownValues; ++i) Series1->AddXYPoint(0.01 * i, FValues[static_cast<size_t>(i)], "", clRed);
  Series1->ResumeUpdates();
  Chart1->Invalidate();
}

void TFormRDF::FormShow(TObject*) { Plot(); }

void TFormRDF::FormClose(TObject*, TCloseAction&) {
  if (LastActiveControl == Chart1) LastActiveControl = nullptr;
}

void TFormRDF::FormDeactivate(TObject*) { LastActiveControl = Chart1; }
