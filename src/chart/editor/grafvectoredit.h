// The vector series editor: start and end pens of the arrows and their
// size; the grid editor as a "Grid 3D" tab.
#pragma once

#include "chart/editor/grafgried.h"
#include "chart/series/grafvectortower.h"

class TVectorSeriesEditor : public TForm {
  ZV_CLASS(TVectorSeriesEditor)
public:
  explicit TVectorSeriesEditor(TComponent* AOwner);
  ~TVectorSeriesEditor() override;

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void Edit2Change(TObject* Sender);
  virtual void CBStartClick(TObject* Sender);
  virtual void CBEndClick(TObject* Sender);

  TButtonPen* BStart;
  TButtonPen* BEnd;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UDWidth;
  TLabel* Label2;
  TEdit* Edit2;
  TUpDown* UDHeight;
  TCheckBox* CBStart;
  TCheckBox* CBEnd;

  TVector3DSeries* Series = nullptr;
  TGrid3DSeriesEditor* FGridForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterVectorEditorClasses();
