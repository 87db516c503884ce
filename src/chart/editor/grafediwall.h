// The chart editor's "Walls" page: the four walls (left, right, bottom,
// back) one at a time, and the visibility and size of all of them.
#pragma once

#include "chart/core/chart.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/pages.h"
#include "platform/ui/ranges.h"

class TFormGrafWall : public TForm {
  ZV_CLASS(TFormGrafWall)
public:
  explicit TFormGrafWall(TComponent* AOwner) : TFormGrafWall(AOwner, nullptr) {}
  TFormGrafWall(TComponent* AOwner, TCustomChartWall* Wall);

  TCustomChartWall* CurrentWall = nullptr;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void TabSubWallsChange(TObject* Sender);
  virtual void CBView3dWallsClick(TObject* Sender);
  virtual void EAllSizeChange(TObject* Sender);
  virtual void CBVisibleClick(TObject* Sender);
  virtual void BWallBrushClick(TObject* Sender);
  virtual void BGradientClick(TObject* Sender);
  virtual void SEWallSizeChange(TObject* Sender);
  virtual void CBTranspClick(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void CBDark3DClick(TObject* Sender);
  virtual void CBAutoHideClick(TObject* Sender);
  void FillWall();
  TCustomChart* Chart() const { return CurrentWall ? CurrentWall->Chart() : nullptr; }
  bool Quiet() const { return FFilling || !CurrentWall; }

  TPanel* Panel1;
  TCheckBox* CBView3dWalls;
  TEdit* EAllSize;
  TUpDown* UDAllSize;
  TTabControl* TabSubWalls;
  TCheckBox* CBVisible;
  TButtonColor* BWallColor;
  TButtonPen* BWallPen;
  TButton* BWallBrush;
  TButtonGradient* BGradient;
  TEdit* SEWallSize;
  TUpDown* UDWallSize;
  TCheckBox* CBTransp;
  TEdit* Edit1;
  TUpDown* UDTransp;
  TCheckBox* CBDark3D;
  TCheckBox* CBAutoHide;
  bool FFilling = false;
  // Set while the page writes the size of all walls itself.
  bool FSizingAll = false;
};

void RegisterWallPageClasses();
