// The incident-spectrum window: the nine coefficients a0 .. a8 of a
// time-of-flight histogram's incident spectrum, plotted over the histogram's
// range while they are typed. Made with its tag set to the histogram number,
// shown modally and freed by the histograms window. a0 .. a8 are the
// spectrum's values 2 .. 10, as the input file holds them.
#pragma once

#include <array>

#include "chart/core/chart.h"
#include "chart/series/series.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

class TFormSpectrum : public TForm {
  ZV_CLASS(TFormSpectrum)
public:
  explicit TFormSpectrum(TComponent* AOwner);

  // The curve of the edits' coefficients at 100 points over the histogram's range.
  void PlotSpectrum();
  // The function at time of flight t (0 at t = 0).
  static double SpectrumValue(const std::array<double, 9>& a, double t);

  std::array<TEdit*, 9> Edits{};  // Edita0 .. Edita8
  TChart* Chart1;
  TLineSeries* Series1;
  TButton* ButtonOK;
  TButton* ButtonCancel;
  TButton* ButtonHelp;

  void FormShow(TObject* Sender);
  void ButtonOKClick(TObject* Sender);

private:
  void FormDeactivate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
};
