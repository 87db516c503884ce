// The chart editor's series page: a combo chooses the series; tabs edit its
// own editor form ("Format"), what every series has ("General", "Marks")
// and where its points come from ("Data Source"). An element's editor form
// is found by the class name the element gives (ignoring case) in the class
// registry, created with the page as owner and embedded with the element in
// its Tag; a type without one shows no "Format" tab.
#pragma once

#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/editor/grafchartgrid.h"
#include "chart/editor/graflisb.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/graphicctrls.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"

class TFormGrafShape;

// The editor form class an element names; nil when it names none, or one
// the registry does not hold, or a class that is no form.
TClass FindEditorFormClass(const TCustomChartElement* Element);

class TFormGrafSeries : public TForm, public IPanelEventListener {
  ZV_CLASS(TFormGrafSeries)
public:
  explicit TFormGrafSeries(TComponent* AOwner);
  ~TFormGrafSeries() override;

  // A further tab for a series editor form: in the page's "Format" tab it
  // becomes a tab of the page at TabIndex; elsewhere the form is only made
  // (owned by Parent, with Caption and the series in Tag) and not shown.
  static TCustomForm* CreateSeriesEditorPage(TWinControl* Parent, TClass FormClass, int TabIndex,
                                             const std::string& Caption, TChartSeries* Series);

  TChartSeries* CurrentSeries = nullptr;
  TChartSeries* PreviousSeries = nullptr;
  bool ChangingSeries = true;
  bool FillingTab = false;
  bool DataSourceAllowed = true;
  bool GeneralTabAllowed = true;
  bool MarksTabAllowed = true;
  bool PersistentAllowed = false;
  TCustomForm* SourceEditor = nullptr;
  TChartListBox* SeriesListBox = nullptr;
  TCustomAxisPanel* ListenedChart = nullptr;
  TFormGrafShape* MarksShapeEditor = nullptr;
  TFormGrafShape* SymbolEditor = nullptr;
  // The editor form shown in "Format" (nil when the type has none).
  TCustomForm* SeriesEditorForm() const { return FEditorForm; }

  void SelectCurrentSeries();
  void FillAxisCombos();
  void DropSeriesTabs();
  void HandlePanelEvent(TGrafEvent* Event) override;

  // ---- Published handlers ----
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void FormCloseQuery(TObject* Sender, bool& CanClose);
  virtual void PageSeriesChange(TObject* Sender);
  virtual void PageSeriesChanging(TObject* Sender, bool& AllowChange);
  virtual void CBSeriesChange(TObject* Sender);
  virtual void CBShowInLegendClick(TObject* Sender);
  virtual void CBCursorChange(TObject* Sender);
  virtual void EDepthChange(TObject* Sender);
  virtual void CBDepthClick(TObject* Sender);
  virtual void CBFormatChange(TObject* Sender);
  virtual void EPercentFormatChange(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void Button2Click(TObject* Sender);
  virtual void CBHorizAxisChange(TObject* Sender);
  virtual void CBVertAxisChange(TObject* Sender);
  virtual void CBXDateTimeClick(TObject* Sender);
  virtual void CBYDateTimeClick(TObject* Sender);
  virtual void CBZDateTimeClick(TObject* Sender);
  virtual void CBSortChange(TObject* Sender);
  virtual void CBShowInEditorClick(TObject* Sender);
  virtual void CBPersistentClick(TObject* Sender);
  virtual void CBMarksVisibleClick(TObject* Sender);
  virtual void CBAllVisibleClick(TObject* Sender);
  virtual void RGMarkStyleClick(TObject* Sender);
  virtual void EMarksEveryChange(TObject* Sender);
  virtual void CBMarkClipClick(TObject* Sender);
  virtual void SEMarksAngleChange(TObject* Sender);
  virtual void CBMultiLineClick(TObject* Sender);
  virtual void SEArrowLengthChange(TObject* Sender);
  virtual void EArrowDistChange(TObject* Sender);
  virtual void BCalloutPointerClick(TObject* Sender);
  virtual void CBHeadChange(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void CBDataSourcestyleChange(TObject* Sender);
  virtual void ChartGrid1SetEditText(TObject* Sender, int ACol, int ARow, const std::string& Value);
  virtual void ESamplesChange(TObject* Sender);
  virtual void CBSamplesDefaultClick(TObject* Sender);
  virtual void BApplyRandomClick(TObject* Sender);
  virtual void Button3Click(TObject* Sender);
  virtual void Timer1Timer(TObject* Sender);
  virtual void PaintBox1Paint(TObject* Sender);
  virtual void PaintBox1Click(TObject* Sender);

  // ---- Controls ----
  TComboFlat* CBSeries;
  TImage* ImageSeries;
  TLabel* LabelSeriesClass;
  TPaintBox* PaintBox1;
  TCheckBox* CBPersistent;
  TPageControl* PageSeries;
  TTabSheet* TheTabSheet;
  TTabSheet* TabGeneral;
  TTabSheet* TabMarks;
  TTabSheet* TabDataSource;
  // General
  TGroupBox* GBGeneral;
  TCheckBox* CBShowInLegend;
  TLabel* LCursor;
  TComboFlat* CBCursor;
  TLabel* LDepth;
  TEdit* EDepth;
  TUpDown* UDDepth;
  TCheckBox* CBDepth;
  TGroupBox* GBFormats;
  TLabel* LValues;
  TComboFlat* CBFormat;
  TButton* Button1;
  TLabel* LPercents;
  TEdit* EPercentFormat;
  TButton* Button2;
  TGroupBox* GBHorizAxis;
  TComboFlat* CBHorizAxis;
  TCheckBox* CBXDateTime;
  TGroupBox* GBVertAxis;
  TComboFlat* CBVertAxis;
  TCheckBox* CBYDateTime;
  TLabel* LSort;
  TComboFlat* CBSort;
  TCheckBox* CBZDateTime;
  TCheckBox* CBShowInEditor;
  // Marks
  TPageControl* PageControlMarks;
  TTabSheet* TabMarksStyle;
  TTabSheet* TabArrows;
  TTabSheet* TabSymbol;
  TCheckBox* CBMarksVisible;
  TCheckBox* CBAllVisible;
  TComboFlat* RGMarkStyle;
  TEdit* EMarksEvery;
  TUpDown* UDEvery;
  TCheckBox* CBMarkClip;
  TEdit* SEMarksAngle;
  TUpDown* UDMarksAngle;
  TCheckBox* CBMultiLine;
  TButtonPen* BMarkLinCol;
  TButton* BCalloutPointer;
  TEdit* SEArrowLength;
  TUpDown* UDArrowsLength;
  TEdit* EArrowDist;
  TUpDown* UDArrowDist;
  TComboFlat* CBHead;
  TEdit* Edit1;
  TUpDown* UDHeadSize;
  TCheckBox* CBSymbolVisible = nullptr;
  // Data source
  TComboFlat* CBDataSourcestyle;
  TButton* NewDataButton;
  TButton* EditDataButton;
  TButton* DeleteDataButton;
  TPanel* PanelData;
  TChartGrid* ChartGrid1;
  TChartGridNavigator* ChartGridNavigator1;
  TPanel* Panel4;
  TEdit* ESamples;
  TCheckBox* CBSamplesDefault;
  TButton* BApplyRandom;
  TButton* Button3;
  TTimer* Timer1;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool Guarded() const { return ChangingSeries || FillingTab || !CurrentSeries; }
  void TakeSeries(std::string Caption);
  void FillGeneral();
  void FillMarks();
  void FillDataSource();
  void ShowDataSource();
  void ClearDataSource();
  void FillDataSourceStyles();
  void EnableMultiLine();
  bool IsFixedTab(TTabSheet* Tab) const;
  bool SourceEditorCloses();

  TCustomForm* FEditorForm = nullptr;
  // The classes carried by the data-source style items (nil for the first two).
  std::vector<TClass> FStyleClasses;
  int FStyleIndex = -1;
  bool FChangingAllVisible = false;
  bool FRequestFromHost = false;
  bool FSettingSamples = false;
};

void RegisterSeriesPageClasses();
