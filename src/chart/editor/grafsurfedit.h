// The surface series editor: drawing mode, smooth palette, pens, brushes,
// transparency and fast brush; the grid editor as a "Grid 3D" tab, loaded
// again on later shows.
#pragma once

#include "chart/editor/grafgried.h"
#include "chart/series/grafsurfa.h"

class TSurfaceSeriesEditor : public TForm {
  ZV_CLASS(TSurfaceSeriesEditor)
public:
  explicit TSurfaceSeriesEditor(TComponent* AOwner);
  ~TSurfaceSeriesEditor() override;

  TGrid3DSeriesEditor* GridTab() const { return FGridForm; }

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void RadioGroup1Click(TObject* Sender);
  virtual void CBSmoothClick(TObject* Sender);
  virtual void Button3Click(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void CBFastBrushClick(TObject* Sender);

  TRadioGroup* RadioGroup1;
  TCheckBox* CBSmooth;
  TButtonPen* Button2;
  TButtonPen* BSideLines;
  TButton* Button3;
  TButton* Button1;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UDTransp;
  TCheckBox* CBFastBrush;

  TSurfaceSeries* Series = nullptr;
  TGrid3DSeriesEditor* FGridForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterSurfaceEditorClasses();
