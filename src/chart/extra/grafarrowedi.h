// The arrow series' editor: outline and fill of the arrows (the pointer's
// pen and brush), head width, height and size, and the colours.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TArrowSeries;

class TArrowSeriesEditor : public TForm {
  ZV_CLASS(TArrowSeriesEditor)
public:
  explicit TArrowSeriesEditor(TComponent* AOwner);

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void BBrushClick(TObject* Sender);
  virtual void SEArrowWidthChange(TObject* Sender);
  virtual void SEArrowHeightChange(TObject* Sender);
  virtual void SBPercentChange(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  void ShowPercent();

  TButtonPen* BPen;
  TButton* BBrush;
  TLabel* Label1;
  TEdit* SEArrowWidth;
  TUpDown* UDArrowWidth;
  TLabel* Label2;
  TEdit* SEArrowHeight;
  TUpDown* UDArrowHeight;
  TLabel* Label3;
  TScrollBar* SBPercent;
  TLabel* LPercent;
  TGroupBox* GroupBox1;
  TCheckBox* CBColorEach;
  TButtonColor* BArrowColor;

  TArrowSeries* Arrow = nullptr;
  bool FLoading = false;
};
