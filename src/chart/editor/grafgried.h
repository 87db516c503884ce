// The shared editor of the 3D series: grid size and depth, and colouring
// with one colour, a colour range or a palette. The main editor of palette
// series without one of their own, and the "Grid 3D" tab of the others.
#pragma once

#include "chart/core/grafpanel.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpoedi.h"
#include "chart/series/grafsurfa.h"
#include "platform/ui/pages.h"

class TGrid3DSeriesEditor : public TForm, public IPanelEventListener {
  ZV_CLASS(TGrid3DSeriesEditor)
public:
  explicit TGrid3DSeriesEditor(TComponent* AOwner);
  ~TGrid3DSeriesEditor() override;

  // Loads every control from the series (nil loads nothing).
  void LoadSeries(TCustom3DPaletteSeries* Series);
  void HandlePanelEvent(TGrafEvent* Event) override;

  TButton* BRemove;
  TTimer* Timer1;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void SEXGridChange(TObject* Sender);
  virtual void EDepthChange(TObject* Sender);
  virtual void CBIrregClick(TObject* Sender);
  virtual void PageControl1Change(TObject* Sender);
  virtual void BRemoveClick(TObject* Sender);
  virtual void BMidColorClick(TObject* Sender);
  virtual void CheckBox1Click(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void Button2Click(TObject* Sender);
  virtual void SEPaletteChange(TObject* Sender);
  virtual void CBPalStyleChange(TObject* Sender);
  virtual void CBUseMinClick(TObject* Sender);
  virtual void EPaletteMinChange(TObject* Sender);
  virtual void EPaletteStepChange(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  void RefreshNoMiddle();
  void StopListening();

  TLabel* Label1;
  TLabel* Label2;
  TEdit* SEXGrid;
  TUpDown* UDXGrid;
  TLabel* Label3;
  TEdit* SEZGrid;
  TUpDown* UDZGrid;
  TLabel* Label4;
  TEdit* EDepth;
  TUpDown* UDDepth;
  TCheckBox* CBIrreg;
  TPageControl* PageControl1;
  TTabSheet* TabSingle;
  TTabSheet* TabRange;
  TTabSheet* TabPalette;
  TButtonColor* BColor;
  TButtonColor* BFromColor;
  TButtonColor* BMidColor;
  TButtonColor* BToColor;
  TCheckBox* CheckBox1;
  TButton* Button1;
  TButton* Button2;
  TLabel* Label5;
  TEdit* SEPalette;
  TUpDown* UDPalette;
  TLabel* Label6;
  TComboFlat* CBPalStyle;
  TCheckBox* CBUseMin;
  TLabel* Label7;
  TEdit* EPaletteMin;
  TLabel* Label8;
  TEdit* EPaletteStep;
  TLabel* Label9;
  TEdit* Edit1;
  TUpDown* UDLegendEvery;

  TCustom3DPaletteSeries* Series = nullptr;
  TCustomAxisPanel* FListenedChart = nullptr;
  bool FLoading = false;
};

// The grid editor as the "Grid 3D" tab (index 1) of the host's series page.
TGrid3DSeriesEditor* AddGrid3DEditorPage(TWinControl* Parent, TChartSeries* Series);

void RegisterGrid3DEditorClasses();
