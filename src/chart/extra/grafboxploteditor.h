// The editor of the box plot series: position on the category axis,
// whisker length and the median and whisker pens; the box and the two
// outlier symbols as pointer editor tabs.
#pragma once

#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafpoedi.h"

class TCustomBoxSeries;

class TBoxSeriesEditor : public TForm {
  ZV_CLASS(TBoxSeriesEditor)
public:
  explicit TBoxSeriesEditor(TComponent* AOwner);
  ~TBoxSeriesEditor() override;

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void EPosChange(TObject* Sender);
  virtual void ELengthChange(TObject* Sender);

  TLabel* Label1;
  TEdit* EPos;
  TLabel* Label2;
  TEdit* ELength;
  TButtonPen* BMedian;
  TButtonPen* BWhisker;

  TCustomBoxSeries* Series = nullptr;
  TSeriesPointerEditor* FBoxForm = nullptr;
  TSeriesPointerEditor* FExtrForm = nullptr;
  TSeriesPointerEditor* FMildForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};
