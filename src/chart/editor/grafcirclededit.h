// The "Circled" tab of pie-like series: circle, 3D view, rotation, radii,
// background colour, transparency and gradient.
#pragma once

#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpoedi.h"
#include "chart/series/series_pie.h"

class TCircledSeriesEditor : public TForm {
  ZV_CLASS(TCircledSeriesEditor)
public:
  explicit TCircledSeriesEditor(TComponent* AOwner);

protected:
  virtual void FormShow(TObject* Sender);
  virtual void CBCircledClick(TObject* Sender);
  virtual void CB3DClick(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void Edit2Change(TObject* Sender);
  virtual void Edit3Change(TObject* Sender);
  virtual void CBAutoXRClick(TObject* Sender);
  virtual void CBAutoYRClick(TObject* Sender);
  virtual void BBackClick(TObject* Sender);
  virtual void CBTranspClick(TObject* Sender);
  virtual void BGradientClick(TObject* Sender);
  void SetTransparentBox(bool Checked);

  TCheckBox* CBCircled;
  TCheckBox* CB3D;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UDRot;
  TGroupBox* GroupBox2;
  TLabel* Label2;
  TEdit* Edit2;
  TUpDown* UDX;
  TCheckBox* CBAutoXR;
  TLabel* Label3;
  TEdit* Edit3;
  TUpDown* UDY;
  TCheckBox* CBAutoYR;
  TButtonColor* BBack;
  TCheckBox* CBTransp;
  TButtonGradient* BGradient;

  TCircledSeries* Series = nullptr;
  bool FLoading = false;
};

// The circled editor as tab "Circled" (index 1) of the host's series page.
TCircledSeriesEditor* AddCircledEditorPage(TCustomForm* EditorForm, TCircledSeries* Series);

void RegisterCircledEditorClasses();
