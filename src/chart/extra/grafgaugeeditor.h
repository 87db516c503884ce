// The gauge series editor: hand, arc, repainting, centre and end markers,
// hand style, total angle, hand distance and value ("Options"); the value
// labels ("Labels"); ticks, minor ticks and the range ("Ticks"). Settings
// of the dial that the gauge borrows from its vertical axis are edited on
// that axis. The circled options come as a further tab.
#pragma once

#include "chart/editor/grafcirclededit.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafpoedi.h"
#include "chart/extra/grafgauges.h"
#include "platform/ui/pages.h"

class TGaugeSeriesEditor : public TForm {
  ZV_CLASS(TGaugeSeriesEditor)
public:
  explicit TGaugeSeriesEditor(TComponent* AOwner);
  ~TGaugeSeriesEditor() override;

  TCircledSeriesEditor* CircledTab() const { return FCircledForm; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void CheckBox4Click(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void Button3Click(TObject* Sender);
  virtual void ComboBox1Change(TObject* Sender);
  virtual void Edit6Change(TObject* Sender);
  virtual void Edit7Change(TObject* Sender);
  virtual void Edit8Change(TObject* Sender);
  virtual void CheckBox1Click(TObject* Sender);
  virtual void Button2Click(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void CBInsideClick(TObject* Sender);
  virtual void Edit11Change(TObject* Sender);
  virtual void Edit2Change(TObject* Sender);
  virtual void Edit4Change(TObject* Sender);
  virtual void Edit5Change(TObject* Sender);
  virtual void Edit3Change(TObject* Sender);
  virtual void Edit9Change(TObject* Sender);
  virtual void Edit10Change(TObject* Sender);
  // The vertical axis while the form shows the gauge and may write to it.
  TChartAxis* EditableAxis() const;
  bool CanApply() const;

  TPageControl* PageControl1;
  TTabSheet* TabOptions;
  TTabSheet* TabLabels;
  TTabSheet* TabTicks;
  TButtonPen* BLine;
  TButtonPen* BAxis;
  TCheckBox* CheckBox4;
  TButton* Button1;
  TButton* Button3;
  TLabel* Label3;
  TComboFlat* ComboBox1;
  TLabel* Label6;
  TEdit* Edit6;
  TUpDown* UDAngle;
  TLabel* Label7;
  TEdit* Edit7;
  TUpDown* UDDist;
  TLabel* Label8;
  TEdit* Edit8;
  TUpDown* UDValue;
  TCheckBox* CheckBox1;
  TButton* Button2;
  TLabel* Label1;
  TEdit* Edit1;
  TCheckBox* CBInside;
  TLabel* Label11;
  TEdit* Edit11;
  TUpDown* UDIncrement;
  TButtonPen* BTicks;
  TButtonPen* BMinor;
  TLabel* Label2;
  TEdit* Edit2;
  TUpDown* UpDown1;
  TLabel* Label4;
  TEdit* Edit4;
  TUpDown* UpDown3;
  TLabel* Label5;
  TEdit* Edit5;
  TUpDown* UpDown4;
  TLabel* Label9;
  TEdit* Edit3;
  TUpDown* UpDown2;
  TLabel* Label10;
  TEdit* Edit9;
  TUpDown* UDMin;
  TLabel* Label12;
  TEdit* Edit10;
  TUpDown* UDMax;

  TGaugeSeries* Series = nullptr;
  TCircledSeriesEditor* FCircledForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};
