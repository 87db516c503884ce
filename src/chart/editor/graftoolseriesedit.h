// The base of the editors of tools that act on one series: the "Series:"
// combo that lists the chart's series and assigns the chosen one to the
// tool.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/core/grengine.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

class TSeriesToolEditor : public TForm {
  ZV_CLASS(TSeriesToolEditor)
public:
  explicit TSeriesToolEditor(TComponent* AOwner);

  // Adds the chart's series (display names, each with its object; the items
  // are not cleared first) and enables the combo when there is one, puts
  // "(none)" first and selects the series' item ("(none)" for nil; none
  // when the series is not listed).
  static void FillSeriesCombo(TComboBox* Combo, TChartSeries* Series, TCustomAxisPanel* Chart);

  TGrafCustomToolSeries* Tool() const { return FTool; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBSeriesChange(TObject* Sender);

  TLabel* Label1;
  TComboFlat* CBSeries;

  TGrafCustomToolSeries* FTool = nullptr;
};

void RegisterSeriesToolEditorClasses();
