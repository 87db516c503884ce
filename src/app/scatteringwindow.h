// The scattering factors window: the user scattering entries of one
// histogram, each a four-character name with either calculated X-ray
// form-factor coefficients and f', f'', or a table of form-factor values
// against sin(theta)/lambda, or (neutrons) a scattering length; the form
// factor is plotted. Made with its tag set to the histogram number, shown
// modally and freed by the histograms window. The entry's values, its kind
// included, reach the model only when the entry is saved.
#pragma once

#include "chart/core/chart.h"
#include "chart/series/series.h"
#include "platform/ui/forms.h"
#include "platform/ui/radio.h"
#include "platform/ui/stdctrls.h"

class TPlusStringGrid;
class THistogram;
class TScatterFactor;

class TFormScatter : public TForm {
  ZV_CLASS(TFormScatter)
public:
  explicit TFormScatter(TComponent* AOwner);

  // Shows entry n (1-based) of the histogram; the page is clean afterwards.
  void UpdateForm(int n);
  // Page to entry n of histogram h; false, the model untouched, when a value is refused.
  bool SaveForm(int h, int n);
  void PlotSCatter(int n);
  int Shown() const { return FShown; }
  bool Dirty() const { return FDirty; }
  // The kind the page shows (0 calculated, 1 interpolated).
  int PageKind() const { return FKind; }
  bool IsXray() const;

  TComboBox* ComboBoxSName;
  TGroupBox* GroupBoxType;
  TRadioButton* RadioButtonCalc;
  TRadioButton* RadioButtonInt;
  TLabel* Labelfp;
  TEdit* Editfp;
  TLabel* Labelfpp;
  TEdit* Editfpp;
  TCheckBox* CheckBoxfp;
  TCheckBox* CheckBoxfpp;
  TEdit* EditMW;
  TPlusStringGrid* StringGridScatter;
  TChart* Chart1;
  TLineSeries* Series1;
  TButton* ButtonOK;
  TButton* ButtonCancel;
  TButton* ButtonAdd;
  TButton* ButtonDelete;
  TButton* ButtonHelp;

  void FormShow(TObject* Sender);
  void ComboBoxSNameChange(TObject* Sender);
  void RadioButtonClick(int Kind);
  void ButtonAddClick(TObject* Sender);
  void ButtonDeleteClick(TObject* Sender);
  void ButtonOKClick(TObject* Sender);
  void MarkDirty(TObject* Sender);

private:
  THistogram* Histogram() const;
  // Fills the page from entry n showing it as the given kind.
  void ShowEntry(int n, int Kind);

  bool FDirty = false;
  bool FLoading = false;
  int FShown = 0;
  int FKind = 0;
};
