// The fast line series editor: the pen dialog on the series' line pen, with
// the series' own drawing switches (all points, stairs, nulls).
#pragma once

#include "chart/editor/grafpendlg.h"
#include "chart/series/series.h"
#include "platform/ui/radio.h"

class TFastLineSeriesEditor : public TPenDialog {
  ZV_CLASS(TFastLineSeriesEditor)
public:
  explicit TFastLineSeriesEditor(TComponent* AOwner);

protected:
  void FormShow(TObject* Sender) override;
  void BColorClick(TObject* Sender) override;
  virtual void CBDrawAllClick(TObject* Sender);
  virtual void CBStairsClick(TObject* Sender);
  virtual void CBInvStairsClick(TObject* Sender);
  virtual void CBNullsClick(TObject* Sender);

  TCheckBox* CBDrawAll;
  TGroupBox* GBStair;
  TCheckBox* CBStairs;
  TCheckBox* CBInvStairs;
  TCheckBox* CBNulls;

  TFastLineSeries* Series = nullptr;
};

void RegisterFastLineEditorClasses();
