// The parameters window: a read-only table of the model's refinable values
// with their current value and whether each is refined, filtered by phase,
// by histogram and by group (all parameters or the peak-shape ones only).
// Nothing here changes the model.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/grids.h"
#include "platform/ui/stdctrls.h"

class TPlusStringGrid;
class TStatusBar;
class TBrush;
class TFont;

// One listed parameter: the table's columns.
struct TParameterRow {
  int Histogram = 0;  // column "H"
  int Phase = 0;      // column "P"
  std::string Name;
  int Type = 0;
  float Value = 0;
  bool Refined = false;
};

// The rows the filters give (0: all phases / all histograms), from the
// program's model; none without one. Kept apart from the window, whose grid
// and the model cannot share a unit.
std::vector<TParameterRow> ParameterRows(int Phase, int Histogram, bool PeakShapeOnly);
int ModelPhaseCount();
int ModelHistogramCount();

class TFormParameters : public TForm {
  ZV_CLASS(TFormParameters)
public:
  explicit TFormParameters(TComponent* AOwner);
  ~TFormParameters() override;

  // Fills the table from the model by the filters.
  void FillTable();
  void FormShow(TObject* Sender);
  void cbPhasesChange(TObject* Sender);
  void cbHistogramsChange(TObject* Sender);
  void cbSampleChange(TObject* Sender);
  void Button2Click(TObject* Sender);

  // The table's text and check boxes (for the tests and the windows).
  std::string CellText(int ACol, int ARow) const;
  int RowCount() const;
  bool RowChecked(int ARow) const;
  // The colour column 0 of a row gets (clNone when left as it is).
  TColor HistogramColour(int ARow) const;

  TComboBox* cbPhases;
  TComboBox* cbHistograms;
  TComboBox* cbSample;
  TPlusStringGrid* psgparameters;
  TButton* Button1;
  TButton* Button2;
  TLabel* StatusLabel;

private:
  bool FPlaced = false;  // shown beside its opener once
  void FormDeactivate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void psgparametersGetCellColor(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush,
                                 TFont* AFont);
  std::vector<TParameterRow> FRows;
};

extern TFormParameters* FormParameters;
