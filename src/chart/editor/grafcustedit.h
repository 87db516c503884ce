// The editor of line (and other custom) series: colour, border, colour
// each point or line, stacking, stairs, 3D look, pattern, outline and
// shadow, with the pointer editor as a further "Point" tab.
#pragma once

#include "chart/editor/grafpoedi.h"
#include "chart/series/series.h"

class TCustomSeriesEditor : public TForm {
  ZV_CLASS(TCustomSeriesEditor)
public:
  explicit TCustomSeriesEditor(TComponent* AOwner);
  ~TCustomSeriesEditor() override;

  TSeriesPointerEditor* PointerTab() const { return FPointerForm; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void BLineColorClick(TObject* Sender);
  virtual void BLineBorderClick(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void CheckBox1Click(TObject* Sender);
  virtual void CBStackChange(TObject* Sender);
  virtual void CBClickClick(TObject* Sender);
  virtual void CBStairsClick(TObject* Sender);
  virtual void CBInvStairsClick(TObject* Sender);
  virtual void CBDark3DClick(TObject* Sender);
  virtual void EHeightChange(TObject* Sender);
  virtual void BBrushClick(TObject* Sender);
  virtual void Button1Click(TObject* Sender);

  TButtonColor* BLineColor;
  TButtonPen* BLineBorder;
  TCheckBox* CBColorEach;
  TCheckBox* CheckBox1;
  TLabel* LStack;
  TComboFlat* CBStack;
  TCheckBox* CBClick;
  TGroupBox* GBStair;
  TCheckBox* CBStairs;
  TCheckBox* CBInvStairs;
  TCheckBox* CBDark3D;
  TLabel* LHeight;
  TEdit* EHeight;
  TUpDown* UDHeight;
  TButton* BBrush;
  TButtonPen* BOutline;
  TButton* Button1;

  TCustomSeries* Series = nullptr;
  TSeriesPointerEditor* FPointerForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterCustomSeriesEditorClasses();
