// The histogram series editor: colour, lines, border, pattern and
// transparency.
#pragma once

#include "chart/editor/grafpoedi.h"
#include "chart/series/grafhisto.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"

class THistogramSeriesEditor : public TForm {
  ZV_CLASS(THistogramSeriesEditor)
public:
  explicit THistogramSeriesEditor(TComponent* AOwner);

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);

  TGroupBox* GroupBox1;
  TCheckBox* CBColorEach;
  TButtonColor* BAreaColor;
  TButtonPen* BAreaLinesPen;
  TButtonPen* BAreaLinePen;
  TButton* Button1;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UDTransp;

  THistogramSeries* Series = nullptr;
  bool FLoading = false;
};

void RegisterHistogramEditorClasses();
