// The tower series editor: border, pattern, 3D look, origin, style, depth,
// width and transparency; the grid editor as a "Grid 3D" tab.
#pragma once

#include "chart/editor/grafgried.h"
#include "chart/series/grafvectortower.h"

class TTowerSeriesEditor : public TForm {
  ZV_CLASS(TTowerSeriesEditor)
public:
  explicit TTowerSeriesEditor(TComponent* AOwner);
  ~TTowerSeriesEditor() override;

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void CBDark3DClick(TObject* Sender);
  virtual void CBOriginClick(TObject* Sender);
  virtual void EOriginChange(TObject* Sender);
  virtual void CBStyleChange(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void Edit2Change(TObject* Sender);
  virtual void Edit3Change(TObject* Sender);

  TButtonPen* ButtonPen1;
  TButton* Button1;
  TCheckBox* CBDark3D;
  TGroupBox* GroupBox1;
  TCheckBox* CBOrigin;
  TEdit* EOrigin;
  TLabel* Label1;
  TComboFlat* CBStyle;
  TGroupBox* GroupBox2;
  TLabel* Label2;
  TEdit* Edit1;
  TUpDown* UDDepth;
  TLabel* Label3;
  TEdit* Edit2;
  TUpDown* UDWidth;
  TLabel* Label4;
  TEdit* Edit3;
  TUpDown* UDTransp;

  TTowerSeries* Series = nullptr;
  TGrid3DSeriesEditor* FGridForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterTowerEditorClasses();
