// The pyramid series' editor: outline, pattern, colours and the width of
// the base.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TPyramidSeries;

class TPyramidSeriesEditor : public TForm {
  ZV_CLASS(TPyramidSeriesEditor)
public:
  explicit TPyramidSeriesEditor(TComponent* AOwner);

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  void EnableColor();

  TButtonPen* BPen;
  TButton* Button1;
  TCheckBox* CBColorEach;
  TButtonColor* BColor;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UDSize;

  TPyramidSeries* Pyramid = nullptr;
  bool FLoading = false;
};
