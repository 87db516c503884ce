// The Fourier map window: asks the engine for a Fourier or Patterson map of
// one phase against one histogram and draws one slice of it as a contour
// map and/or a 3D surface, with slice stepping, animation through the
// slices, display options, printing, saving and copying. The main window
// creates it for each use, shows it modally and frees it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/series/grafcontour.h"
#include "chart/series/grafpoin3.h"
#include "chart/series/grafsurfa.h"
#include "platform/ui/actions.h"
#include "platform/ui/buttons.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/radio.h"
#include "platform/ui/spinedit.h"
#include "platform/ui/statusbar.h"
#include "platform/ui/stdctrls.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbtoolbar.h"

class TGrafOpenGL;
class TGrafCommander;
class TChartEditor;
class TChartPreviewer;

// The map's edge: 64 x 64 x 64 values, [slice][row][column], column fastest.
constexpr int FourierGrid = 64;
constexpr int FourierValues = FourierGrid * FourierGrid * FourierGrid;

// The slice label: the axis letter, " = " and the slice's fractional
// coordinate (s - 1)/64 with four digits.
std::string SliceLabel(char Axis, int Slice);
// The value range the window draws a map with: the top 5 % of the range cut
// off, then 5 % of what is left off the bottom.
void TrimRange(float& Minimum, float& Maximum);
// A chart axis label (grid cells) as a fractional coordinate; the text
// itself when it is not a number.
std::string FractionalLabel(const std::string& Text);

class TFormPlotFourier : public TForm {
  ZV_CLASS(TFormPlotFourier)
public:
  explicit TFormPlotFourier(TComponent* AOwner);
  ~TFormPlotFourier() override;

  void btCalculateClick(TObject* Sender);
  void btPlotClick(TObject* Sender);
  void btAnimateClick(TObject* Sender);
  void btStopClick(TObject* Sender);
  void seSliceChange(TObject* Sender);

  // The map the window holds (shared by every instance) and its range as
  // drawn.
  static const std::vector<float>& Map();
  static float Minimum();
  static float Maximum();
  int Axis() const;
  int Levels() const;
  int Thickness() const;
  bool Animating() const { return FAnimating; }

  TPanel* Panel1;
  TComboBox* cbHistogram;
  TComboBox* cbPhase;
  TComboBox* cbType;
  TGroupBox* gbAxis;
  TRadioButton* rbX;
  TRadioButton* rbY;
  TRadioButton* rbZ;
  TSpinEdit* seSlice;
  TLabel* lbSlice;
  TCheckBox* cbAuto;
  TButton* btPlot;
  TButton* btAnimate;
  TButton* btStop;
  TButton* btCalculate;
  TGrafCommander* GrafCommander1;
  TChart* ChartFourier;
  TContourSeries* Series1;
  TSurfaceSeries* Series2;
  TPoint3DSeries* Series3;
  TStatusBar* StatusBar1;
  TGrafOpenGL* GrafOpenGL1;
  TSaveDialog* SaveDialog1;
  TPrintDialog* PrintDialog1;
  TTBDock* TBDock1;
  TTBToolbar* TBToolbar1;

  TTBItem* SaveasBMP1;
  TTBItem* SaveasWMF1;
  TTBItem* Print1;
  TTBItem* PrintPreview1;
  TTBItem* Close1;
  TTBItem* CopyasBMP1;
  TTBItem* CopyasWMF1;
  TTBItem* Contour1;
  TTBItem* SolidSurface1;
  TTBItem* Wireframe1;
  TTBItem* DotFrame1;
  std::array<TTBItem*, 6> LevelItems{};
  std::array<TTBItem*, 3> ThicknessItems{};
  TTBItem* GridLines1;
  TTBItem* DoubleCell1;
  TTBItem* Edit1;
  TChartEditor* ChartEditor1;
  TChartPreviewer* ChartPreviewer1;
  TTBItem* Help1;

  // Display-mode clicks (at least one mode stays on).
  void Contour1Click(TObject* Sender);
  void SurfaceModeClick(TTBItem* Item);

private:
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDeactivate(TObject* Sender);
  void ChartFourierGetAxisLabel(TChartAxis* Sender, TChartSeries* Series, int ValueIndex, std::string& LabelText);
  void EnableCalculate(TObject* Sender);
  void SetAxis(int Axis);
  void SetLevels(int Levels);
  void SetThickness(int Thickness);
  void SetLeftRange();
  void FillSeries(TCustom3DGridSeries* Series, int Slice);
  void SaveChart(const std::string& Ext, const std::string& Filter, bool Metafile);
  void PrintChart();
  void Redraw();
  TTBSubmenuItem* BuildMenus();

  bool FAnimating = false;
};
