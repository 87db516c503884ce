// The wind rose editor: the polar editor with mirrored compass labels in
// place of clockwise ones; the angle increment stays editable.
#pragma once

#include "chart/extra/grafpolareditor.h"
#include "chart/extra/grafrose.h"

class TWindRoseEditor : public TPolarSeriesEditor {
  ZV_CLASS(TWindRoseEditor)
public:
  explicit TWindRoseEditor(TComponent* AOwner);

protected:
  void FormCreate(TObject* Sender) override;
  void FormShow(TObject* Sender) override;
  void UpdateAngleControls() override {}
  virtual void CBMirrorClick(TObject* Sender);

  TCheckBox* CBMirror;
};
