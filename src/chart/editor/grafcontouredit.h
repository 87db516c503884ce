// The contour series editor: number of levels and whether they are
// computed, each level's value, colour and pen, the vertical position of
// the lines and their smoothing; the grid editor as a "Grid 3D" tab.
#pragma once

#include "chart/editor/grafgried.h"
#include "chart/series/grafcontour.h"
#include "platform/ui/graphicctrls.h"

class TContourSeriesEditor : public TForm {
  ZV_CLASS(TContourSeriesEditor)
public:
  explicit TContourSeriesEditor(TComponent* AOwner);
  ~TContourSeriesEditor() override;

  // Shows the level the level up-down names.
  void ShowLevel();

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void SENumChange(TObject* Sender);
  virtual void SEYPosChange(TObject* Sender);
  virtual void CBYPosLevelClick(TObject* Sender);
  virtual void CBAutoLevelsClick(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void ELevelChange(TObject* Sender);
  virtual void SHColorMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void EValueChange(TObject* Sender);
  virtual void EValueExit(TObject* Sender);
  virtual void bLevelPenClick(TObject* Sender);
  virtual void cbDefaultPenClick(TObject* Sender);
  virtual void CBSmoothClick(TObject* Sender);
  virtual void CBInterpolateClick(TObject* Sender);
  TContourLevel* CurrentLevel() const;
  void EnableNumber();
  void ShowAutomatic();

  TButtonPen* Button2;
  TCheckBox* CBYPosLevel;
  TLabel* Label1;
  TEdit* SEYPos;
  TUpDown* UDYPos;
  TGroupBox* GroupBox1;
  TCheckBox* CBAutoLevels;
  TLabel* Label2;
  TEdit* SENum;
  TUpDown* UDNum;
  TCheckBox* CBColorEach;
  TLabel* Label3;
  TEdit* ELevel;
  TUpDown* UDLevel;
  TShape* SHColor;
  TEdit* EValue;
  TButtonPen* bLevelPen;
  TCheckBox* cbDefaultPen;
  TCheckBox* CBSmooth;
  TCheckBox* CBInterpolate;

  TContourSeries* Series = nullptr;
  TGrid3DSeriesEditor* FGridForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterContourEditorClasses();
