// The peak width window ("Full Width Half Maximum"): the FWHM and mixing
// curves the sample window computes for the values being edited, and the
// shape of one peak at the angle under the mouse. Created once at start-up,
// shown by the sample window's "Plot FWHM", which fills Series1 and Series3
// and hands over the profile code and the six width values.
#pragma once

#include <string>

#include "chart/core/chart.h"
#include "chart/series/series.h"
#include "platform/ui/actions.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/forms.h"
#include "platform/ui/splitter.h"
#include "platform/ui/statusbar.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbtoolbar.h"

class TChartEditor;

class TFormPeak : public TForm {
  ZV_CLASS(TFormPeak)
public:
  explicit TFormPeak(TComponent* AOwner);

  // Draws the profile of one peak at x (degrees 2-theta) into Series2 and
  // shows x, its width and its mixing in the status bar; nothing for profile 7.
  void UpdatePlot(float x);
  // The values the sample window hands over.
  void SetValues(int Profile, float U, float V, float W, float Gam0, float Gam1, float Gam2);

  int Profile = 1;
  float U = 0, V = 0, W = 0;
  float Gam0 = 0, Gam1 = 0, Gam2 = 0;
  // The pixel column of the cursor line drawn now, -1 when none.
  int CursorX = -1;
  int CursorY = 0;
  TColor CursorColor = static_cast<TColor>(0xFF0000);
  TPenStyle CursorStyle = psSolid;

  TTBDock* TBDock1;
  TTBToolbar* TBToolbar1;  // "Peak Toolbar"
  TChart* Chart1;
  TFastLineSeries* Series1;  // FWHM, left axis
  TFastLineSeries* Series3;  // eta, right axis
  TSplitter* Splitter1;
  TChart* Chart2;
  TFastLineSeries* Series2;  // the profile of one peak
  TStatusBar* StatusBar1;
  TPrintDialog* PrintDialog1;
  TChartEditor* ChartEditor1;
  TAction* Print1;
  TAction* Exit1;
  TAction* CopyasBMP1;
  TAction* CopyasMetafile1;

  void Chart1Click(TObject* Sender);
  void Chart1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

private:
  void FormActivate(TObject* Sender);
  void Print1Click(TObject* Sender);
  void DrawCursor(int X);
};

extern TFormPeak* FormPeak;
