// The compression editor of OHLC data: by a date period, a time period or
// a number of points.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafbasefuncedit.h"
#include "chart/series/grafcandle.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"

class TCompressFuncEditor : public TBaseFunctionEditor {
  ZV_CLASS(TCompressFuncEditor)
public:
  explicit TCompressFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void RadioDateClick(TObject* Sender);
  virtual void RadioTimeClick(TObject* Sender);
  virtual void RadioPointsClick(TObject* Sender);
  virtual void CBDatePeriodChange(TObject* Sender);
  virtual void CBTimePeriodChange(TObject* Sender);
  virtual void ENumClick(TObject* Sender);
  virtual void ENumChange(TObject* Sender);

  TRadioButton* RadioDate;
  TComboFlat* CBDatePeriod;
  TRadioButton* RadioTime;
  TComboFlat* CBTimePeriod;
  TRadioButton* RadioPoints;
  TEdit* ENum;
  TUpDown* UpDown1;

  TCompressFunction* Function() const { return dynamic_cast<TCompressFunction*>(TheFunction); }
};

void RegisterCompressFuncEditorClasses();
