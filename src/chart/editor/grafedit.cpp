#include "chart/editor/grafedit.h"

#include <memory>

#include "chart/core/grafpanel.h"
#include "chart/editor/grafprevi.h"

ZV_CLASS_IMPL_NOPROPS(TCustomChartEditor, TComponent)
ZV_CLASS_IMPL_NOPROPS(TChartEditor, TCustomChartEditor)
ZV_CLASS_IMPL_NOPROPS(TChartPreviewer, TCustomChartEditor)

// ---- TCustomChartEditor -----------------------------------------------------------------

TCustomChartEditor::~TCustomChartEditor() {
  if (FChart) FChart->RemoveFreeNotification(this);
}

void TCustomChartEditor::AssignChart(TCustomChart* Value) {
  if (Value == FChart) return;
  if (FChart) FChart->RemoveFreeNotification(this);
  FChart = Value;
  if (FChart) FChart->FreeNotification(this);
}

void TCustomChartEditor::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FChart) AssignChart(nullptr);
}

// ---- TChartEditor ------------------------------------------------------------------------

TChartEditor::~TChartEditor() {
  if (FSeries) FSeries->RemoveFreeNotification(this);
}

void TChartEditor::AssignChart(TCustomChart* Value) {
  TCustomChartEditor::AssignChart(Value);
  if (FSeries && FSeries->ParentChart() != FChart) SetSeries(nullptr);
}

void TChartEditor::SetSeries(TChartSeries* Value) {
  if (Value == FSeries) return;
  if (FSeries) FSeries->RemoveFreeNotification(this);
  FSeries = Value;
  if (!FSeries) return;
  FSeries->FreeNotification(this);
  auto* parent = dynamic_cast<TCustomChart*>(FSeries->ParentChart());
  if (FChart != parent) AssignChart(parent);
}

void TChartEditor::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomChartEditor::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSeries) {
    FSeries = nullptr;
  }
}

void TChartEditor::ShowEditor() {
  if (!FChart) return;
  TCustomChart* chart = FChart;
  std::unique_ptr<TChartEditForm> form(new TChartEditForm(nullptr));
  struct TClosed {
    TChartEditor* Editor;
    TChartEditForm* Form;
    ~TClosed() {
      if (Editor->OnClose) Editor->OnClose(Form);
    }
  } closed{this, form.get()};
  form->Tree->SetVisible(TreeView);
  form->RememberPosition = RememberPosition;
  form->SetCaption(FTitle);
  form->EditorOptions = Options;
  form->SetEditedChart(chart);
  form->HighLightTabs = HighLightTabs;
  form->SeriesToOpen = FSeries;
  form->ApplyHelpSettings();
  form->StartPage = DefaultTab;
  form->HiddenTabs = HideTabs;
  form->LBSeries->OnChangeOrder = [this](TChartListBox* Sender, TCustomChartSeries* A, TCustomChartSeries* B) {
    if (OnChangeSeriesOrder) OnChangeSeriesOrder(Sender, A, B);
  };
  if (OnShow) OnShow(form.get());
  const bool repaint = chart->RepaintOnChange;
  if (!AutoRepaint) chart->RepaintOnChange = false;
  struct TRestore {
    TCustomChart* Chart;
    bool Active;
    bool Old;
    ~TRestore() {
      if (!Active) return;
      Chart->RepaintOnChange = Old;
      Chart->Invalidate();
    }
  } restore{chart, !AutoRepaint, repaint};
  form->ShowModal();
  chart->MouseCancelled = true;
}

// ---- TChartPreviewer -------------------------------------------------------------------

void TChartPreviewer::ShowEditor() {
  if (!FChart) return;
  TCustomChart* chart = FChart;
  struct TFreed {
    TChartPreviewer* Previewer;
    TCustomChart* Chart;
    ~TFreed() {
      if (Previewer->OnClose) Previewer->OnClose(Previewer->PreviewForm);
      delete Previewer->PreviewForm;
      Previewer->PreviewForm = nullptr;
      Chart->Invalidate();
    }
  } freed{this, chart};
  PreviewForm = new TChartPreview(nullptr);
  PreviewForm->PageNavigatorClass = GetClass("TChartPageNavigator");
  if (!FTitle.empty()) PreviewForm->SetCaption(FTitle);
  TGrafPreviewPanel* panel = PreviewForm->GrafPreviewPanel1;
  panel->SetPanel(chart);
  panel->OnAfterDraw = OnAfterDraw;
  PreviewForm->SetWindowState(WindowState);
  if (!Options.Contains(cpoChangePrinter)) PreviewForm->CBPrinters->SetEnabled(false);
  if (!Options.Contains(cpoSetupPrinter)) PreviewForm->BSetupPrinter->SetEnabled(false);
  panel->SetAllowResize(Options.Contains(cpoResizeChart));
  panel->SetAllowMove(Options.Contains(cpoMoveChart));
  if (!Options.Contains(cpoChangeDetail)) PreviewForm->ChangeDetailGroup->SetEnabled(false);
  if (!Options.Contains(cpoChangePaperOrientation)) PreviewForm->Orientation->SetEnabled(false);
  if (!Options.Contains(cpoChangeMargins)) {
    PreviewForm->GBMargins->SetEnabled(false);
    PreviewForm->BReset->SetEnabled(false);
  }
  if (chart->PrintProportional()) chart->SetPrintProportional(Options.Contains(cpoProportional));
  panel->SetPaperColor(PaperColor);
  panel->SetDragImage(Options.Contains(cpoDragChart));
  panel->SetAsBitmap(Options.Contains(cpoAsBitmap));
  const bool background = PrintPanelBackground;
  PrintPanelBackground = Options.Contains(cpoPrintPanel);
  struct TBackground {
    bool Old;
    ~TBackground() { PrintPanelBackground = Old; }
  } keep{background};
  if (OnShow) OnShow(PreviewForm);
  PreviewForm->ShowModal();
  chart->MouseCancelled = true;
}

void RegisterChartEditorComponentClasses() {
  RegisterClasses({&TChartEditor::StaticClass(), &TChartPreviewer::StaticClass()});
}
