// The funnel series' editor: separator lines, outline, pattern, the three
// colours of the segments and the difference limit between the two lower.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TFunnelSeries;

class TFunnelSeriesEditor : public TForm {
  ZV_CLASS(TFunnelSeriesEditor)
public:
  explicit TFunnelSeriesEditor(TComponent* AOwner);

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);

  TButtonPen* ButtonPen1;
  TButtonPen* ButtonPen2;
  TButton* Button1;
  TButtonColor* AboveColor;
  TButtonColor* WithinColor;
  TButtonColor* BelowColor;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* DifLimit;

  TFunnelSeries* Funnel = nullptr;
  bool FLoading = false;
};
