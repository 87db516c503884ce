// The pie series editor: explosion, angle, dark border, multiple pies,
// 3D, patterns, border, shadow, mark positions and gradient ("Options");
// the grouping of small slices ("Group Slices"); colours ("Colors"); the
// circled options as a further "Circled" tab.
#pragma once

#include "chart/editor/grafcirclededit.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpoedi.h"
#include "chart/series/series_pie.h"
#include "platform/ui/pages.h"

class TPieSeriesEditor : public TForm {
  ZV_CLASS(TPieSeriesEditor)
public:
  explicit TPieSeriesEditor(TComponent* AOwner);
  ~TPieSeriesEditor() override;

  TCircledSeriesEditor* CircledTab() const { return FCircledForm; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void SEExpBigChange(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void Edit2Change(TObject* Sender);
  virtual void CBMultipleChange(TObject* Sender);
  virtual void CBDark3dClick(TObject* Sender);
  virtual void CBPatternsClick(TObject* Sender);
  virtual void BShadowClick(TObject* Sender);
  virtual void CBMarksAutoPositionClick(TObject* Sender);
  virtual void CBOtherChange(TObject* Sender);
  virtual void EOtherValueChange(TObject* Sender);
  virtual void EOtherValueExit(TObject* Sender);
  virtual void EOtherLabelChange(TObject* Sender);
  virtual void Button2Click(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  void EnableOther();

  TPageControl* PageControl1;
  TTabSheet* TabOptions;
  TTabSheet* TabGroup;
  TTabSheet* TabColors;
  TLabel* Label1;
  TEdit* SEExpBig;
  TUpDown* UDExpBig;
  TLabel* Label2;
  TEdit* Edit1;
  TUpDown* UDAngleSize;
  TLabel* Label3;
  TEdit* Edit2;
  TUpDown* UpDown1;
  TLabel* Label4;
  TComboFlat* CBMultiple;
  TCheckBox* CBDark3d;
  TCheckBox* CBPatterns;
  TButtonPen* BPen;
  TButton* BShadow;
  TCheckBox* CBMarksAutoPosition;
  TButtonGradient* BGradient;
  TLabel* Label5;
  TComboFlat* CBOther;
  TLabel* Label6;
  TEdit* EOtherValue;
  TLabel* Label7;
  TEdit* EOtherLabel;
  TButton* Button2;
  TCheckBox* CBColorEach;
  TButtonColor* BColor;

  TPieSeries* Series = nullptr;
  TCircledSeriesEditor* FCircledForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterPieSeriesEditorClasses();
