// The chart editor's "General" page (zoom, scrolling, margins, cursor, print
// preview) and the navigator that pages a chart.
#pragma once

#include "chart/core/chart.h"
#include "chart/editor/grafnavigator.h"

// Pages a chart: first, previous, next and last page; prints page ranges.
class TChartPageNavigator : public TCustomGrafNavigator {
  ZV_CLASS(TChartPageNavigator)
public:
  explicit TChartPageNavigator(TComponent* AOwner) : TCustomGrafNavigator(AOwner) {}

  TCustomChart* Chart() const { return dynamic_cast<TCustomChart*>(Panel()); }
  void SetChart(TCustomChart* Value) { SetPanel(Value); }

  // Only axis panels; anything else unbinds.
  void SetPanel(TCustomGrafPanel* Panel) override;
  void BtnClick(int Index) override;
  void EnableButtons() override;
  void ChartEvent(TGrafEvent* Event) override;
  int PageCount() override;
  // One page prints at once; more ask for a range in the print dialog.
  void PrintPages() override;

private:
  TCustomAxisPanel* AxisPanel() const { return dynamic_cast<TCustomAxisPanel*>(Panel()); }
};

void RegisterGeneralPageClasses();
