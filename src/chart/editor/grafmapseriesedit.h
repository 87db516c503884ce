// The map series editor: the series' own brush and border ("Global"), and
// its shapes ("Shapes"): a list of them, and for the selected one its text
// and Z, its format and its points in a data grid; the grid editor as a
// "Grid 3D" tab.
#pragma once

#include "chart/editor/grafchartgrid.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafgried.h"
#include "chart/editor/graflisb.h"
#include "chart/series/grafmapseries.h"
#include "platform/ui/buttons.h"
#include "platform/ui/pages.h"

class TMapSeriesEditor : public TForm {
  ZV_CLASS(TMapSeriesEditor)
public:
  explicit TMapSeriesEditor(TComponent* AOwner);
  ~TMapSeriesEditor() override;

  void FillShapeList();
  void EnableShapeTabs();
  // The shape at the list's current item (nil for none).
  TGrafPolygon* SelectedShape() const;

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void BMapBrushClick(TObject* Sender);
  virtual void ChartListBox1Click(TObject* Sender);
  virtual void ChartListBox1ChangeColor(TChartListBox* Sender, TCustomChartSeries* Series);
  virtual void PageControl2Change(TObject* Sender);
  virtual void SBAddClick(TObject* Sender);
  virtual void SBDeleteClick(TObject* Sender);
  virtual void ETextChange(TObject* Sender);
  virtual void EditZChange(TObject* Sender);
  virtual void EditZExit(TObject* Sender);
  virtual void ButtonPen2Click(TObject* Sender);
  virtual void CBGlobalPenClick(TObject* Sender);
  virtual void BBrushClick(TObject* Sender);
  virtual void CBGlobalBrushClick(TObject* Sender);
  virtual void BGradientClick(TObject* Sender);
  virtual void ButtonColor1Click(TObject* Sender);
  virtual void CBDefaultColorClick(TObject* Sender);
  virtual void CBClosedClick(TObject* Sender);
  virtual void CBVisibleClick(TObject* Sender);
  virtual void ETranspChange(TObject* Sender);
  void SelectAndLoad(int Index);
  void RefreshDefaultColor();

  TPageControl* PageControl2;
  TTabSheet* TabGlobal;
  TTabSheet* TabShapes;
  TButton* BMapBrush;
  TButtonPen* ButtonPen1;
  TPanel* PanelList;
  TChartListBox* ChartListBox1;
  TSpeedButton* SBAdd;
  TSpeedButton* SBDelete;
  TPageControl* PageControl1;
  TTabSheet* TabValues;
  TTabSheet* TabFormat;
  TTabSheet* TabData;
  TLabel* Label1;
  TLabel* ShapeIndex;
  TLabel* Label2;
  TEdit* EText;
  TLabel* Label3;
  TEdit* EditZ;
  TButtonPen* ButtonPen2;
  TCheckBox* CBGlobalPen;
  TButton* BBrush;
  TCheckBox* CBGlobalBrush;
  TButtonGradient* BGradient;
  TButtonColor* ButtonColor1;
  TCheckBox* CBDefaultColor;
  TCheckBox* CBClosed;
  TCheckBox* CBVisible;
  TLabel* Label4;
  TEdit* ETransp;
  TUpDown* UDTransp;
  TChartGrid* ChartGrid1;
  TChartGridNavigator* ChartGridNavigator1;

  TMapSeries* Series = nullptr;
  TGrid3DSeriesEditor* FGridForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterMapSeriesEditorClasses();
