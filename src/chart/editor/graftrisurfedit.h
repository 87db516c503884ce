// The triangulated surface editor: pens, brush, fast brush, hidden
// triangles and transparency; the grid editor as a "Grid 3D" tab.
#pragma once

#include "chart/editor/grafgried.h"
#include "chart/series/graftrisurface.h"

class TTriSurfaceSeriesEditor : public TForm {
  ZV_CLASS(TTriSurfaceSeriesEditor)
public:
  explicit TTriSurfaceSeriesEditor(TComponent* AOwner);
  ~TTriSurfaceSeriesEditor() override;

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void Button3Click(TObject* Sender);
  virtual void CBFastBrushClick(TObject* Sender);
  virtual void CBHideClick(TObject* Sender);
  virtual void ETranspChange(TObject* Sender);

  TButtonPen* Button2;
  TButtonPen* Button1;
  TButton* Button3;
  TCheckBox* CBFastBrush;
  TCheckBox* CBHide;
  TLabel* Label1;
  TEdit* ETransp;
  TUpDown* UDTransp;

  TCustomTriSurfaceSeries* Series = nullptr;
  TGrid3DSeriesEditor* FGridForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterTriSurfaceEditorClasses();
