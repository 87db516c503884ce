// The area series editor: stacking, stairs, the area's lines, border,
// patterns and colour, the origin and transparency; the pointer editor as a
// "Point" tab and the area gradient as a "Gradient" tab.
#pragma once

#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpoedi.h"
#include "chart/series/series.h"

class TAreaSeriesEditor : public TForm {
  ZV_CLASS(TAreaSeriesEditor)
public:
  explicit TAreaSeriesEditor(TComponent* AOwner);
  ~TAreaSeriesEditor() override;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void RGMultiAreaClick(TObject* Sender);
  virtual void CBStairsClick(TObject* Sender);
  virtual void CBInvStairsClick(TObject* Sender);
  virtual void BPatternClick(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void CBUseOriginClick(TObject* Sender);
  virtual void EOriginChange(TObject* Sender);
  virtual void ETranspChange(TObject* Sender);

  TRadioGroup* RGMultiArea;
  TGroupBox* GroupBox2;
  TCheckBox* CBStairs;
  TCheckBox* CBInvStairs;
  TButtonPen* BAreaLinesPen;
  TButtonPen* BAreaLinePen;
  TButton* BPattern;
  TButton* Button1;
  TGroupBox* GroupBox1;
  TCheckBox* CBColorEach;
  TButtonColor* BAreaColor;
  TCheckBox* CBUseOrigin;
  TLabel* LOrigin;
  TEdit* EOrigin;
  TUpDown* UDOrigin;
  TLabel* LTransp;
  TEdit* ETransp;
  TUpDown* UDTransp;

  TAreaSeries* Series = nullptr;
  TSeriesPointerEditor* FPointerForm = nullptr;
  TGrafGradientEditor* FGradientForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterAreaSeriesEditorClasses();
