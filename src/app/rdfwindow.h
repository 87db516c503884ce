// The radial distribution window: one of five radial distribution curves
// that the engine computes for a phase of the current model (PDF, G, D, T or
// N of R), over R from 0 to 9.99 Angstrom. Created once at start; the main
// window fills the phase list and shows it.
#pragma once

#include <array>
#include <vector>

#include "chart/core/chart.h"
#include "chart/series/series.h"
#include "platform/ui/actions.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbtoolbar.h"

class TChartEditor;
class TChartPreviewer;

class TFormRDF : public TForm {
  ZV_CLASS(TFormRDF)
public:
  explicit TFormRDF(TComponent* AOwner);
  ~TFormRDF() override;

  // Fetches the curve of the chosen phase and kind and draws it.
  void Plot();
  // Chooses the curve (1 PDF, 2 G, 3 D, 4 T, 5 N): ticks its item, titles
  // the left axis with it and plots.
  void SetPlotKind(int Kind);
  int PlotKind() const { return FPlotKind; }
  // Fills the phase list with "Phase 1" .. "Phase n", the first chosen.
  void FillPhases(int Count);

  TChart* Chart1;
  TLineSeries* Series1;
  TTBDock* TBDock1;
  TTBToolbar* TBToolbar1;
  TTBToolbar* TBToolbarPhase;
  TComboBox* cbPhases;
  TTBItem* Print1;
  TTBItem* Close1;
  TTBItem* CopyasBMP1;
  TTBItem* Chart2;
  TChartPreviewer* ChartPreviewer1;
  TChartEditor* ChartEditor1;
  // PDF(R), G(R), D(R), T(R), N(R).
  std::array<TTBItem*, 5> PlotItems{};

private:
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDeactivate(TObject* Sender);
  void TickKind(int Kind);

  int FPlotKind = 1;
  std::vector<float> FValues;
};

extern TFormRDF* FormRDF;
