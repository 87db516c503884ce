// The editor of the error and error bar series: whisker cap width and its
// units, whisker direction (error series only), colour each point and the
// whisker pen; an error bar series also gets the bar editor as a "Bar" tab.
#pragma once

#include "chart/editor/grafbaredit.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafpoedi.h"
#include "platform/ui/radio.h"

class TCustomErrorSeries;

class TErrorSeriesEditor : public TForm {
  ZV_CLASS(TErrorSeriesEditor)
public:
  explicit TErrorSeriesEditor(TComponent* AOwner);
  ~TErrorSeriesEditor() override;

  TBarSeriesEditor* BarTab() const { return FBarForm; }

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void SEBarwidthChange(TObject* Sender);
  virtual void RGWidthUnitClick(TObject* Sender);
  virtual void RGStyleClick(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void BPenClick(TObject* Sender);

  TLabel* Label1;
  TEdit* SEBarwidth;
  TUpDown* UDBarWidth;
  TRadioGroup* RGWidthUnit;
  TRadioGroup* RGStyle;
  TCheckBox* CBColorEach;
  TButtonPen* BPen;

  TCustomErrorSeries* Series = nullptr;
  TBarSeriesEditor* FBarForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};
