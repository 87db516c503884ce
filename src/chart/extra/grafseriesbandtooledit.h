// The series band tool's editor: the two border series, fill, side,
// outline, gradient and transparency.
#pragma once

#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/graftoolseriesedit.h"
#include "platform/ui/ranges.h"

class TSeriesBandTool;

class TSeriesBandToolEdit : public TSeriesToolEditor {
  ZV_CLASS(TSeriesBandToolEdit)
public:
  explicit TSeriesBandToolEdit(TComponent* AOwner);
  TSeriesBandTool* Band() const;

  TLabel* Label2;
  TComboFlat* CBSeries2;
  TButton* Button1;
  TCheckBox* CBDrawBehindSeries;
  TButtonPen* BPen;
  TButtonGradient* BGradient;
  TLabel* Label4;
  TEdit* ETransp;
  TUpDown* UDTransp;

protected:
  void FormShow(TObject* Sender) override;

private:
  bool FLoading = false;
};
