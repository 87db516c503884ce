// The clock editor: the polar editor with the hand pens, the spokes' pen
// and Roman or decimal numerals; no increments, outline or closing.
#pragma once

#include "chart/extra/grafpolareditor.h"
#include "chart/extra/grafrose.h"

class TClockEditor : public TPolarSeriesEditor {
  ZV_CLASS(TClockEditor)
public:
  explicit TClockEditor(TComponent* AOwner);

protected:
  void FormCreate(TObject* Sender) override;
  void FormShow(TObject* Sender) override;
  virtual void CBRomanClick(TObject* Sender);

  TButtonPen* BRadius;
  TButtonPen* BHour;
  TButtonPen* BMinute;
  TButtonPen* BSecond;
  TCheckBox* CBRoman;
};
