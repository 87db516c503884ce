// The volume series editor: the pen dialog on the series' line pen, with
// colour each point and the origin.
#pragma once

#include "chart/editor/grafpendlg.h"
#include "chart/series/grafcandle.h"

class TVolumeSeriesEditor : public TPenDialog {
  ZV_CLASS(TVolumeSeriesEditor)
public:
  explicit TVolumeSeriesEditor(TComponent* AOwner);

protected:
  void FormShow(TObject* Sender) override;
  void BColorClick(TObject* Sender) override;
  virtual void CBColorEachClick(TObject* Sender);
  virtual void CBUseOriginClick(TObject* Sender);
  virtual void EOriginChange(TObject* Sender);

  TCheckBox* CBColorEach;
  TCheckBox* CBUseOrigin;
  TLabel* LOrigin;
  TEdit* EOrigin;

  TVolumeSeries* Series = nullptr;
  bool FLoading = false;
};

void RegisterVolumeEditorClasses();
