// The macro plot window: the chart that the macro function PLOT draws into.
#pragma once

#include <vector>

#include "chart/core/chart.h"
#include "platform/ui/actions.h"
#include "platform/ui/forms.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbtoolbar.h"

class TChartEditor;
class TChartPreviewer;

class TFormGraph : public TForm {
  ZV_CLASS(TFormGraph)
public:
  explicit TFormGraph(TComponent* AOwner);

  // PLOT's drawing: while the tag is 0 a new point series is added to the
  // chart (the tag becomes 1) and the points are red, else blue; the window
  // shows; the chart's first series is emptied and gets (x[i], y[i]) for
  // i = 0 .. n while both arrays hold element i.
  void PlotPoints(const std::vector<double>& X, const std::vector<double>& Y, int N);

  TChart* Chart1;
  TTBDock* TBDock1;
  // The menu bar "Plot Toolbar".
  TTBToolbar* TBToolbar1;
  TAction* Print1;
  TAction* PrintPreview1;
  TAction* Exit1;
  TAction* CopyasBMP1;
  TAction* Edit1;
  TChartPreviewer* ChartPreviewer1;
  TChartEditor* ChartEditor1;

private:
  void FormClose(TObject* Sender, TCloseAction& Action);
};

extern TFormGraph* FormGraph;
