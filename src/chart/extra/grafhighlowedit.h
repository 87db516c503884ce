// The editor of the high-low series: the connecting, high and low pens, the
// two band patterns, colour each point, the series colour and transparency.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class THighLowSeries;

class THighLowEditor : public TForm {
  ZV_CLASS(THighLowEditor)
public:
  explicit THighLowEditor(TComponent* AOwner);

protected:
  virtual void FormShow(TObject* Sender);
  virtual void BBrushClick(TObject* Sender);
  virtual void BLowBrushClick(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);

  TButtonPen* BPen;
  TButtonPen* BHighPen;
  TButtonPen* BLowPen;
  TButton* BBrush;
  TButton* BLowBrush;
  TCheckBox* CBColorEach;
  TButtonColor* BColor;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UDTransp;

  THighLowSeries* Series = nullptr;
  bool FLoading = false;
};
