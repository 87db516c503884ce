// The "Stack" tab of bar series editors: origin, multiple-bar mode and
// stack group.
#pragma once

#include "chart/editor/grafpoedi.h"
#include "chart/series/series_bar.h"

class TStackBarSeriesEditor : public TForm {
  ZV_CLASS(TStackBarSeriesEditor)
public:
  explicit TStackBarSeriesEditor(TComponent* AOwner);

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBYOriginClick(TObject* Sender);
  virtual void EYOriginChange(TObject* Sender);
  virtual void RGMultiBarClick(TObject* Sender);
  virtual void EGroupChange(TObject* Sender);
  void EnableGroup();

  TCheckBox* CBYOrigin;
  TEdit* EYOrigin;
  TRadioGroup* RGMultiBar;
  TLabel* LGroup;
  TEdit* EGroup;
  TUpDown* UDGroup;

  TCustomBarSeries* Series = nullptr;
  bool FLoading = false;
};

void RegisterStackBarEditorClasses();
