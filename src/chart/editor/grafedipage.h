// The chart editor's "Paging" page: points per page, scaling of the last
// page, the legend of the current page, the page-number tool and a navigator
// through the pages.
#pragma once

#include "chart/core/chart.h"
#include "chart/editor/grafedigene.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TFormGrafPage : public TForm {
  ZV_CLASS(TFormGrafPage)
public:
  explicit TFormGrafPage(TComponent* AOwner) : TFormGrafPage(AOwner, nullptr) {}
  TFormGrafPage(TComponent* AOwner, TCustomChart* Chart);

  TCustomChart* Chart() const { return ChartPageNavigator1->Chart(); }

protected:
  virtual void FormShow(TObject* Sender);
  virtual void SEPointsPerPageChange(TObject* Sender);
  virtual void CBScaleLastClick(TObject* Sender);
  virtual void CBPageLegendClick(TObject* Sender);
  virtual void CBPageNumClick(TObject* Sender);
  virtual void ChartPageNavigator1ButtonClicked(TObject* Sender, int Index);
  void RefreshPageLabel();
  // The chart's first tool of the page-number class, nil when none.
  TGrafCustomTool* PageNumTool() const;

  TLabel* Label1;
  TEdit* SEPointsPerPage;
  TUpDown* UDPointsPerPage;
  TCheckBox* CBScaleLast;
  TCheckBox* CBPageLegend;
  TCheckBox* CBPageNum;
  TChartPageNavigator* ChartPageNavigator1;
  TLabel* LabelPages;
  bool FFilling = false;
};

void RegisterPagingPageClasses();
