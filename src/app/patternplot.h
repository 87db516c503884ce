// The pattern plot window: one powder pattern, either an observed data file
// (points only) or the engine's pattern of one histogram (observed points,
// calculated line, difference line, reflection markers and the histogram's
// background points). The window does not own its plot data: the opener
// sets PlotData and the tag (the histogram number), then calls Plot and
// shows the window.
#pragma once

#include <string>

#include "chart/core/chart.h"
#include "chart/series/series.h"
#include "platform/ui/actions.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/statusbar.h"
#include "platform/ui/stdctrls.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbtoolbar.h"

class TPlotData;
class TTBPopupMenu;
class TFormPosSaver;
class TChartEditor;
class TChartPreviewer;

class TPlotForm : public TForm {
  ZV_CLASS(TPlotForm)
public:
  explicit TPlotForm(TComponent* AOwner);
  ~TPlotForm() override;

  // The pattern shown (not owned).
  TPlotData* PlotData = nullptr;

  // Draws PlotData.
  void Plot();
  // The d-spacing of an x value of the plot data's histogram; 0 without an
  // engine pattern or a histogram.
  double GenD(double x) const;
  // 0-based index of the point whose screen x is nearest to the pixel; -1 for an empty series.
  int GetNearestPoint(TChartSeries* Series, int Pixel);
  // 1-based number of the marker nearest to d; -1 when there are none.
  int GetNearestHKL(double d) const;
  // Phase and indices of marker i (1-based) in the status bar.
  void UpdateHKLMarker(int i);
  // Mean y of the points BackgroundAveraging either side of the point nearest to the pixel.
  double GetBackgroundAve(TChartSeries* Series, int Pixel);
  void PlotBackGround();
  // The status bar's d-spacing text; empty after "d: " when there is none.
  static std::string DReadOut(double d);
  // Writes the plot export text file (atomically).
  void ExportPlot(const std::string& FileName);

  // Controls.
  TChart* Chart1;
  TPointSeries* PointSeries1;
  TPointSeries* BackGroundSeries;
  TFastLineSeries* Series1;
  TFastLineSeries* Series2;
  TPointSeries* HKLMarkers;
  TStatusBar* StatusBar1;
  // The dock with the menu bar, the main toolbar and the histogram toolbar
  // (holding the histogram combo); the dock's menu shows and hides the two toolbars.
  TTBDock* TBDock1;
  TTBToolbar* TBToolbar1;
  TTBToolbar* TBToolbarMain;
  TTBToolbar* TBToolbarHist;
  TComboBox* ComboBoxHist;
  TTBPopupMenu* TBPopupMenuDock;
  TTBItem* MainToolbar1;
  TTBItem* HistogramToolbar1;
  TTBPopupMenu* PopupMenu1;
  TTBItem* Unzoom1;
  TTBItem* InsertBackground1;
  TTBItem* DeleteBackground1;
  TTBItem* ClearAllBackground1;
  TTBItem* SemiAutoBackground1;
  TTBItem* InsertExcluded1;
  TTBItem* DeleteExcluded1;
  TSaveDialog* SaveDialog1;
  TPrintDialog* PrintDialog1;
  TPrinterSetupDialog* PrinterSetupDialog1;
  TFormPosSaver* FormPosSaver1;
  TChartPreviewer* ChartPreviewer1;
  TChartEditor* ChartEditor1;

  // Commands.
  TAction* actExport;
  TAction* ChartActionSaveBMP;
  TAction* ChartActionSaveMETA;
  TAction* ChartActionPrint1;
  TAction* actPrintpreview;
  TAction* actPageSetup;
  TAction* actClose;
  TAction* ChartActionCopyBMP;
  TAction* ChartActionCopyEMF;
  TAction* ChartActionEdit1;
  TAction* actScales;
  TAction* actUnZoom;
  TAction* actSetd;
  TAction* HelpContents1;

  // Event handlers.
  void Chart1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void Chart1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void Chart1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void Chart1AfterDraw(TObject* Sender);
  void Chart1BeforeDrawChart(TObject* Sender);
  void PopupMenu1Popup(TObject* Sender);
  void ComboBoxHistChange(TObject* Sender);
  void BackGroundSeriesClick(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X,
                             int Y);
  void HKLMarkersClickPointer(TCustomSeries* Sender, int ValueIndex, int X, int Y);
  void InsertBackground1Click(TObject* Sender);
  void DeleteBackground1Click(TObject* Sender);
  void InsertExcluded1Click(TObject* Sender);
  void DeleteExcluded1Click(TObject* Sender);
  void SemiAutoBackground1Click(TObject* Sender);
  void ClearAllBackground1Click(TObject* Sender);

  // Whether an excluded region waits for its second press.
  static bool ExcludedPending();

protected:
  // Opens the pop-up menu at a screen point (tests watch it).
  virtual void ShowPopupMenu(TPoint ScreenPoint);

private:
  void FormCreate();
  void CreateMenusAndToolbars();
  void FormActivate(TObject* Sender);
  void FormDeactivate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void DrawBand(int FromPixel, int ToPixel, bool Painting);
  bool EngineStatus() const;
  void UntickEditItems(TTBItem* Keep);
  void SaveChart(const std::string& Ext, const std::string& Filter, bool Metafile);
  void actExportExecute(TObject* Sender);
  void ChartActionPrint1Execute(TObject* Sender);
  void actPrintpreviewExecute(TObject* Sender);
  void ChartActionEdit1Execute(TObject* Sender);
  void actScalesExecute(TObject* Sender);
  void actSetdExecute(TObject* Sender);
};

// The pattern plot windows that the main window keeps: the refinement's and
// the one of a data file opened from the main window (nil until needed).
extern TPlotForm* RefinePlotWindow;
extern TPlotForm* DataPlotWindow;
