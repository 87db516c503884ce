// The chart editor's "Axis" page: the chart's axes listed on the left and,
// for the chosen one, tabs for its scales, title, labels, ticks, minor ticks
// and position; custom axes are added and deleted here. Also the small
// dialog that edits one end of an axis range, and the routine that lists a
// chart's axes by name.
#pragma once

#include <functional>
#include <string>

#include "chart/core/grengine.h"
#include "chart/editor/grafedifont.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/buttons.h"
#include "platform/ui/lists.h"
#include "platform/ui/pages.h"

// "Left Axis", "Right Axis", "Top Axis", "Bottom Axis", with DepthAxes also
// "Depth Right" and "Depth Top", then "Custom 0", "Custom 1" ... for every
// axis of the chart's list after the sixth. The list is cleared first.
void FillAxisNames(TCustomAxisPanel* Chart, TStrings* List, bool DepthAxes);

// One end of an axis range, as a number or as a date and a time.
class TAxisMaxMin : public TForm {
  ZV_CLASS(TAxisMaxMin)
public:
  explicit TAxisMaxMin(TComponent* AOwner);

  // Set by the caller; Value is read back after OK.
  bool IsDateTime = false;
  double Value = 0;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void BitBtn1Click(TObject* Sender);

  TLabel* Label1;
  TEdit* EMaximum;
  TLabel* Label2;
  TEdit* EMinimum;
  TButton* BitBtn1;
  TButton* BitBtn2;
};

class TFormGrafAxis : public TForm {
  ZV_CLASS(TFormGrafAxis)
public:
  explicit TFormGrafAxis(TComponent* AOwner) : TFormGrafAxis(AOwner, nullptr) {}
  TFormGrafAxis(TComponent* AOwner, TChartAxis* Axis);
  ~TFormGrafAxis() override;

  TChartAxis* CurrentAxis = nullptr;
  bool FillingPage = true;
  bool FillingScales = false;
  TGrafFontEditor* LabelsFontEditor = nullptr;
  TGrafFontEditor* TitleFontEditor = nullptr;
  // Set by the host: called after a custom axis turned horizontal or vertical.
  std::function<void(TChartAxis*)> OrientationChanged;

  // The inner page control, which the tree mode of the editor window moves
  // onto its own host panel (the page takes it back when destroyed).
  TPageControl* AxisPages() const { return PageAxis; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void PageAxisChange(TObject* Sender);
  virtual void PageAxisChanging(TObject* Sender, bool& AllowChange);
  virtual void LBAxesClick(TObject* Sender);
  virtual void BAddClick(TObject* Sender);
  virtual void BDeleteClick(TObject* Sender);
  virtual void CBShowClick(TObject* Sender);
  virtual void CBAxisBehClick(TObject* Sender);
  // Scales
  virtual void CBAutomaticClick(TObject* Sender);
  virtual void CBAutoMaxClick(TObject* Sender);
  virtual void CBLogarithmicClick(TObject* Sender);
  virtual void ELogBaseChange(TObject* Sender);
  virtual void LogEClick(TObject* Sender);
  virtual void BIncreClick(TObject* Sender);
  virtual void BAxisMinClick(TObject* Sender);
  virtual void BAxisMaxClick(TObject* Sender);
  virtual void EMinOffChange(TObject* Sender);
  virtual void EMaxOffChange(TObject* Sender);
  virtual void CBVisibleClick(TObject* Sender);
  virtual void CBInvertedClick(TObject* Sender);
  // Title
  virtual void ETitleChange(TObject* Sender);
  virtual void SETitleAngleChange(TObject* Sender);
  virtual void SETitleSizeChange(TObject* Sender);
  virtual void CBTitleVisibleClick(TObject* Sender);
  // Labels
  virtual void CBLabelsClick(TObject* Sender);
  virtual void RGLabelStyleClick(TObject* Sender);
  virtual void CBMultilineClick(TObject* Sender);
  virtual void CBOnAxisClick(TObject* Sender);
  virtual void CBRoundFirstClick(TObject* Sender);
  virtual void CBAlternateClick(TObject* Sender);
  virtual void SELabelsSizeChange(TObject* Sender);
  virtual void SELabelsAngleChange(TObject* Sender);
  virtual void SESeparChange(TObject* Sender);
  virtual void CBFormatChange(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void CBExpoClick(TObject* Sender);
  virtual void CBLabelAlignClick(TObject* Sender);
  // Ticks and minor ticks
  virtual void SEAxisTickLengthChange(TObject* Sender);
  virtual void SEInnerTicksLengthChange(TObject* Sender);
  virtual void CBTickOnLabelsClick(TObject* Sender);
  virtual void CBGridCenteredClick(TObject* Sender);
  virtual void Edit2Change(TObject* Sender);
  virtual void SEAxisMinorTickLenChange(TObject* Sender);
  virtual void SEMinorCountChange(TObject* Sender);
  // Position
  virtual void EPosChange(TObject* Sender);
  virtual void EStartChange(TObject* Sender);
  virtual void EEndChange(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void CBPosUnitsChange(TObject* Sender);
  virtual void CBOtherSideClick(TObject* Sender);
  virtual void CBHorizAxisClick(TObject* Sender);

  void FillScales();
  void FillTitle();
  void FillLabels();
  void FillTicks();
  void FillMinor();
  void FillPosition();
  void EnableLogBase();
  // The axis that a list item stands for.
  TChartAxis* AxisOfItem(int Item) const;
  int ItemOfAxis(TChartAxis* Axis) const;
  // Guarded edits and the boxes filled with the page do nothing while set.
  bool Quiet() const { return FillingPage || FillingScales || !CurrentAxis; }
  bool IsCustomItem() const { return LBAxes->ItemIndex() > 5; }
  void EditAxisEnd(bool Maximum);
  void StoreFormat(const std::string& Text);

  TLabel* LAxes;
  TListBox* LBAxes;
  TSpeedButton* BAdd;
  TSpeedButton* BDelete;
  TCheckBox* CBShow;
  TCheckBox* CBAxisBeh;
  TPageControl* PageAxis;

  TTabSheet* TabScales;
  TCheckBox* CBAutomatic;
  TCheckBox* CBVisible;
  TCheckBox* CBInverted;
  TCheckBox* CBLogarithmic;
  TLabel* LLogBase;
  TEdit* ELogBase;
  TCheckBox* LogE;
  TLabel* L6;
  TLabel* LAxisIncre;
  TButton* BIncre;
  TPageControl* PageControl1;
  TTabSheet* TabSheet1;
  TTabSheet* TabSheet2;
  TCheckBox* CBAutoMin;
  TCheckBox* CBAutoMax;
  TLabel* LAxisMin;
  TLabel* LAxisMax;
  TButton* BAxisMin;
  TButton* BAxisMax;
  TEdit* EMinOff;
  TUpDown* UDMinOff;
  TEdit* EMaxOff;
  TUpDown* UDMaxOff;

  TTabSheet* TabTitle;
  TPageControl* PageTitle;
  TTabSheet* TabTitleStyle;
  TTabSheet* TabTitleText;
  TEdit* ETitle;
  TEdit* SETitleAngle;
  TUpDown* UDTitleAngle;
  TEdit* SETitleSize;
  TUpDown* UDTitleSize;
  TCheckBox* CBTitleVisible;

  TTabSheet* TabLabels;
  TPageControl* PageLabels;
  TTabSheet* TabLabelsStyle;
  TTabSheet* TabLabelsFormat;
  TTabSheet* TabLabelsText;
  TCheckBox* CBLabels;
  TComboFlat* CBLabelStyle;
  TCheckBox* CBMultiline;
  TCheckBox* CBOnAxis;
  TCheckBox* CBRoundFirst;
  TCheckBox* CBAlternate;
  TEdit* SELabelsSize;
  TUpDown* UDLabelsSize;
  TEdit* SELabelsAngle;
  TUpDown* UDLabelsAngle;
  TEdit* SESepar;
  TUpDown* UDSepar;
  TLabel* LabelAxisFormat;
  TComboFlat* CBFormat;
  TButton* Button1;
  TCheckBox* CBExpo;
  TCheckBox* CBLabelAlign;

  TTabSheet* TabTicks;
  TButtonPen* BAxisPen;
  TButtonPen* BTickPen;
  TEdit* SEAxisTickLength;
  TUpDown* UDAxisTickLength;
  TButtonPen* BTickInner;
  TEdit* SEInnerTicksLength;
  TUpDown* UDInnerTicksLength;
  TCheckBox* CBTickOnLabels;
  TButtonPen* BAxisGrid;
  TCheckBox* CBGridCentered;
  TEdit* Edit2;
  TUpDown* UDGridZ;

  TTabSheet* TabMinorTicks;
  TButtonPen* BTickMinor;
  TEdit* SEAxisMinorTickLen;
  TUpDown* UDAxisMinorTickLen;
  TEdit* SEMinorCount;
  TUpDown* UDMinorCount;
  TButtonPen* BMinorGrid;

  TTabSheet* TabPositions;
  TEdit* EPos;
  TUpDown* UDPos;
  TEdit* EStart;
  TUpDown* UDStart;
  TEdit* EEnd;
  TUpDown* UDEnd;
  TEdit* Edit1;
  TUpDown* UDZ;
  TComboFlat* CBPosUnits;
  TCheckBox* CBOtherSide;
  TCheckBox* CBHorizAxis;
};

void RegisterAxisPageClasses();
