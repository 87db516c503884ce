// The watch window: one row per refined parameter with its value and
// standard error after the last cycle, the value coloured by how it behaved
// (black stable, red moved by more than its error, blue error larger than
// the value). The refinement window and the manual refine fill it.
#pragma once

#include <string>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/grids.h"
#include "platform/ui/stdctrls.h"

class TFormPosSaver;
class TPlusStringGrid;

class TFormWatch : public TForm {
  ZV_CLASS(TFormWatch)
public:
  explicit TFormWatch(TComponent* AOwner);
  ~TFormWatch() override;

  // Filling: n refined parameters give n + 1 rows; row i gets the
  // description, the value and the error (general format, precision 5), and
  // the value it held before moves to the hidden column 4.
  void SetParameterCount(int n);
  void SetParameterRow(int i, const std::string& Description, double Value, double Error);
  // Row i with the description and no value, error or previous value (before
  // the engine has run a cycle).
  void SetParameterName(int i, const std::string& Description);
  // The text a value or error is shown with.
  static std::string ValueText(double v);

  // The font colour of a cell of the grid (clBlack, clRed or clBlue for the
  // values; unchanged for the others).
  TColor CellFontColor(int ARow, int ACol);

  // The grid's text, rows and width (for the windows that fill it).
  std::string CellText(int ACol, int ARow);
  int RowCount() const;
  int GridWidth() const;

  // The height limits FormShow sets (the window is kept inside them).
  int MinimumHeight() const { return FMinHeight; }
  int MaximumHeight() const { return FMaxHeight; }

  TPlusStringGrid* asGrid;
  TPanel* GroupBox1;
  TLabel* LabelStable;
  TLabel* LabelErrorLarger;
  TLabel* LabelShiftLarger;
  TFormPosSaver* FormPosSaver1;

  void FormShow(TObject* Sender);
  void asGridGetCellColor(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont);

  // Keeps the size inside the limits FormShow sets before the window changes.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
  void Resize() override;

private:
  void FormDeactivate(TObject* Sender);
  double CellNumber(int ACol, int ARow);
  int FMinHeight = 0;
  int FMaxHeight = 0;
  int FMinWidth = 0;
  int FMaxWidth = 0;
};

extern TFormWatch* FormWatch;
