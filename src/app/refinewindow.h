// The refinement window: Start writes the model as the engine's work input
// file and starts the engine, Step runs a chosen number of cycles showing
// the agreement factors of every histogram after each (and, when ticked,
// the refreshed pattern plot and watched values), Stop ends a run of steps
// after the running cycle, Finish closes the run and, when asked, reads the
// engine's updated model back and rewrites the input file. Every engine call
// runs on the window thread; pending messages are processed between calls.
//
// The main window shows it (Refine), fills its boxes after opening files
// (CheckForm) and reads RunMode, which it sets.
#pragma once

#include <string>

#include "platform/ui/commondialogs.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/progress.h"
#include "platform/ui/spinedit.h"
#include "platform/ui/stdctrls.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbtoolwindow.h"

class TTBPopupMenu;
class TPlusStringGrid;
class TTBItem;

class TRefineForm : public TForm {
  ZV_CLASS(TRefineForm)
public:
  explicit TRefineForm(TComponent* AOwner);
  ~TRefineForm() override;

  // Copies DataFileName and InputFileName into the boxes; state 4 without
  // an input file, else 0; then the main window's UpdateForm.
  void CheckForm();
  // Button states 0 to 6 (see the table in refine.cpp).
  void UpdateStatus(int State);
  // Refreshes the refinement plot window from the engine.
  void Replot();
  // Refreshes the watch window from the engine.
  void UpdateWatch();

  // The last state given to UpdateStatus.
  int Status() const { return FStatus; }
  int Remaining() const { return FRemaining; }
  bool Stepped() const { return FStepped; }
  // Whether the run's repaints are paced (between the first step and the end of the run).
  bool PacesRepaints() const { return FPacing; }
  // The pace in milliseconds (refine.cpp says why); tests that must not
  // depend on the clock make it long.
  static int RunPaintInterval;
  bool Finished() const { return FFinished; }

  // Controls: four tool windows on the dock; their layout is kept with the
  // toolbar layout under "Software\Zelvora\Toolbars".
  TTBDock* TBDockRefine;
  TTBToolWindow* TBToolWindowInput;
  TTBToolWindow* TBToolWindowData;
  TTBToolWindow* TBToolWindowRefineControl;
  TTBToolWindow* TBToolWindowStatus;
  TPlusStringGrid* StringGrid1;
  TLabel* LabelHist;
  TLabel* LabelCycle;
  TProgressBar* ProgressBar1;
  TButton* ButtonStart;
  TButton* ButtonStep;
  TButton* ButtonStop;
  TButton* ButtonFinish;
  TSpinEdit* SpinEditStep;
  TCheckBox* CheckBoxAutoUpdate;
  TCheckBox* CheckBoxWatch;
  TCheckBox* CheckBoxPlot;
  TEdit* EditInput;
  TButton* ButtonInput;
  // The drop-down part of Open: the main window's recent-file list.
  TButton* ButtonInputDrop;
  TTBPopupMenu* RecentMenu;
  TEdit* EditData;
  TButton* ButtonData;
  TTimer* Timer1;
  TOpenDialog* OpenDialog1;
  TTBPopupMenu* TBPopupMenu1;
  TTBItem* TBItem1;
  TTBItem* TBItem2;
  TTBItem* TBItem3;
  TTBItem* TBItem4;

  // Event handlers.
  void FormShow(TObject* Sender);
  void ButtonStartClick(TObject* Sender);
  void ButtonStepClick(TObject* Sender);
  void ButtonStopClick(TObject* Sender);
  void ButtonFinishClick(TObject* Sender);
  void ButtonInputClick(TObject* Sender);
  void ButtonDataClick(TObject* Sender);
  void CheckBoxPlotClick(TObject* Sender);
  void CheckBoxWatchClick(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void TBPopupMenu1Popup(TObject* Sender);
  // Fills the recent-file menu from the main window's list.
  void RecentMenuPopup(TObject* Sender);
  void FormKeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift);

  // The agreement-factor grid: its text, rows and height.
  std::string FactorCell(int ACol, int ARow);
  int FactorRowCount() const;
  int FactorGridHeight() const;

  // A file name without the extension of its name part ("data.v2/run.inp"
  // gives "data.v2/run").
  static std::string WithoutExtension(const std::string& FileName);

protected:
  // One engine cycle (tests act here as a click during the cycle would).
  virtual void RunEngineCycle();

private:
  void FormActivate(TObject* Sender);
  void FormDeactivate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void UpdateAutoUpdateBox();
  void ToggleToolWindow(TTBToolWindow* Window);
  void ProcessMessages();
  // Repaints paced to the display while a run can go on (see refine.cpp).
  void PaceRepaints(bool On);
  // The cycle's replot: at once, or while paced at most once an interval
  // (the one held back done by FReplotTimer, or when pacing ends).
  void ReplotCycle();
  void ReplotHeld();
  // The grid's own work (refinewindow_grid.cpp).
  void CreateFactorGrid(TWinControl* Parent);
  void ResetFactorGrid(int Histograms);
  void SetFactorRow(int Histogram, double Rp, double Rwp, double Chi2);
  void SetFactorFirstColumnWidth(int Width);

  int FStatus = -1;
  int FRemaining = 0;
  bool FStepped = false;
  bool FFinished = true;
  bool FInCycle = false;
  bool FCloseAfterCycle = false;
  bool FPacing = false;
  bool FShownBefore = false;
  TTimer* FReplotTimer = nullptr;
  double FReplotEnd = -1e9;  // when the last replot ended (steady clock, ms)
};

extern TRefineForm* RefineForm;
