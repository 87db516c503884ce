// The volume pipe series' editor: outline and slice lines, pattern, how
// much the pipe narrows, and the slices' gradient.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TVolumePipeSeries;

class TVolumePipeSeriesEditor : public TForm {
  ZV_CLASS(TVolumePipeSeriesEditor)
public:
  explicit TVolumePipeSeriesEditor(TComponent* AOwner);

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void CheckBox1Click(TObject* Sender);
  virtual void Edit2Change(TObject* Sender);
  virtual void CheckGradientClick(TObject* Sender);
  virtual void CBDirectionChange(TObject* Sender);

  TButtonPen* ButtonPen1;
  TButtonPen* ButtonPen2;
  TButton* Button1;
  TCheckBox* CheckBox1;
  TLabel* Label1;
  TEdit* Edit2;
  TUpDown* UpDown1;
  TCheckBox* CheckGradient;
  TLabel* Label2;
  TComboFlat* CBDirection;

  TVolumePipeSeries* Pipe = nullptr;
  bool FLoading = false;
};
