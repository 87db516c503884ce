// The editor form of the polar, radar and polar bar series: pens, pattern,
// colour, increments, transparency ("Options") and the angle labels
// ("Labels"); the circled options and the pointer as further tabs. The base
// of the wind-rose and clock editors.
#pragma once

#include "chart/editor/grafcirclededit.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafpoedi.h"
#include "chart/extra/grafpolar.h"
#include "platform/ui/pages.h"

class TPolarSeriesEditor : public TForm {
  ZV_CLASS(TPolarSeriesEditor)
public:
  explicit TPolarSeriesEditor(TComponent* AOwner);
  ~TPolarSeriesEditor() override;

  TCircledSeriesEditor* CircledTab() const { return FCircledForm; }
  TSeriesPointerEditor* PointerTab() const { return FPointerForm; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  // Shows the angle-increment controls only where the angles are the
  // points' own (polar and polar bar); a radar's follow from its points.
  virtual void UpdateAngleControls();
  virtual void BBrushClick(TObject* Sender);
  virtual void SEAngleIncChange(TObject* Sender);
  virtual void SERadiusIncChange(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void CBCloseClick(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void CBAngleLabelsClick(TObject* Sender);
  virtual void CBLabelsRotClick(TObject* Sender);
  virtual void CBClockWiseClick(TObject* Sender);
  virtual void CBInsideClick(TObject* Sender);
  virtual void BFontClick(TObject* Sender);
  virtual void EMarginChange(TObject* Sender);
  void EnableLabelControls();

  TPageControl* PageControl1;
  TTabSheet* TabOptions;
  TTabSheet* TabLabels;
  TButtonPen* BPen;
  TButton* BBrush;
  TButtonColor* BColor;
  TButtonPen* BPiePen;
  TLabel* LAngleInc;
  TEdit* SEAngleInc;
  TUpDown* UDAngleInc;
  TLabel* Label8;
  TEdit* SERadiusInc;
  TUpDown* UDRadiusInc;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UDTransp;
  TCheckBox* CBColorEach;
  TCheckBox* CBClose;
  TCheckBox* CBAngleLabels;
  TCheckBox* CBLabelsRot;
  TCheckBox* CBClockWise;
  TCheckBox* CBInside;
  TButton* BFont;
  TLabel* Label2;
  TEdit* EMargin;
  TUpDown* UDMargin;

  TCustomPolarSeries* Series = nullptr;
  TCircledSeriesEditor* FCircledForm = nullptr;
  TSeriesPointerEditor* FPointerForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

// An up-down at the right of its edit, showing and stepping its number.
TUpDown* MakeEditUpDown(TComponent* Owner, TWinControl* Parent, const char* Name, TEdit* Edit, int Min, int Max,
                        int Step = 1);
// A page of the form's page control.
TTabSheet* MakeEditorSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption);
// The chart font editor on the font as a modal window with dialog border;
// its changes apply at once, as they do where it is embedded.
void RunGrafFontEditor(TComponent* Owner, TGrafFont* Font);
