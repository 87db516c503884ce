// The chart editor: one modal window in which the user edits every part of
// one chart. The window is a frame: its pages are separate forms, made the
// first time their tab shows and embedded without border into that tab. It
// shows either as two levels of tabs or as a tree whose nodes select the
// pages.
#pragma once

#include <functional>
#include <string>

#include "chart/core/chart.h"
#include "platform/ui/buttons.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/lists.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbpopupmenu.h"
#include "platform/ui/pages.h"
#include "platform/ui/splitter.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/treeview.h"

class TChartListBox;
class TChartGrid;
class TChartGridNavigator;
class TFormGrafSeries;
class TFormGrafTools;
class TChartPreview;
class TGrafExportForm;
class TCustomChartSeries;

// The editor's tabs, in their published order (ordinals 0 to 16).
enum TChartEditorTab : uint8_t {
  cetMain, cetGeneral, cetAxis, cetTitles, cetLegend, cetPanel, cetPaging, cetWalls, cet3D, cetSeriesGeneral,
  cetSeriesMarks, cetAllSeries, cetSeriesData, cetExport, cetExportNative, cetTools, cetPrintPreview
};
using TChartEditorHiddenTabs = TEnumSet<TChartEditorTab>;

enum TChartEditorOption : uint8_t {
  ceAdd, ceDelete, ceChange, ceClone, ceDataSource, ceTitle, ceHelp, ceGroups, ceGroupAll, ceOrderSeries
};
using TChartEditorOptions = TEnumSet<TChartEditorOption>;

// Everything but the series groups.
inline constexpr TChartEditorOptions DefaultEditorOptions = TChartEditorOptions::FromBits(895);

// When on, the names check box shows also outside design state.
extern bool ShowSeriesNamesOption;

class TChartEditForm : public TForm {
  ZV_CLASS(TChartEditForm)
public:
  explicit TChartEditForm(TComponent* AOwner);
  ~TChartEditForm() override;

  // ---- Set by the entry points before the window shows ----
  TCustomChart* EditedChart() const { return FChart; }
  // Binds the series list, enables the pages and restores the remembered place.
  void SetEditedChart(TCustomChart* Chart);
  // Help from EditorOptions: the help file, the help icon and ButtonHelp.
  void ApplyHelpSettings();
  int StartPage = -1;
  TChartEditorHiddenTabs HiddenTabs;
  TChartEditorOptions EditorOptions = DefaultEditorOptions;
  bool HighLightTabs = false;
  bool RememberPosition = true;
  bool RememberSize = true;
  TCustomChartSeries* SeriesToOpen = nullptr;
  // Tree mode: the width without the tree, the panel that shows the page
  // of the selected node, and the "Series" and "Tools" nodes.
  int PageWidth = 0;
  TPanel* TreeHost = nullptr;
  TTreeNode* SeriesNode = nullptr;
  TTreeNode* ToolsNode = nullptr;
  TFormGrafSeries* SeriesPage = nullptr;
  // The help file in use (empty: no help).
  const std::string& HelpFile() const { return FHelpFile; }

  // ---- Controls ----
  TTreeView* Tree = nullptr;
  TSplitter* TreeSplitter = nullptr;
  TPageControl* MainPage = nullptr;
  TTabSheet* TabChart = nullptr;
  TPageControl* SubPage = nullptr;
  TTabSheet* TabSeriesList = nullptr;
  TTabSheet* TabGeneral = nullptr;
  TTabSheet* TabAxis = nullptr;
  TTabSheet* TabTitle = nullptr;
  TTabSheet* TabLegend = nullptr;
  TTabSheet* TabPanel = nullptr;
  TTabSheet* TabPaging = nullptr;
  TTabSheet* TabWalls = nullptr;
  TTabSheet* Tab3D = nullptr;
  TTabSheet* TabSeries = nullptr;
  TTabSheet* TabData = nullptr;
  TTabSheet* TabTools = nullptr;
  TTabSheet* TabExport = nullptr;
  TTabSheet* TabPrint = nullptr;
  TPanel* PanTop = nullptr;
  TSpeedButton* BAddGroup = nullptr;
  TSpeedButton* BDeleteGroup = nullptr;
  TSpeedButton* BRenameGroup = nullptr;
  TCheckBox* CBNames = nullptr;
  TPanel* PanelGroups = nullptr;
  TCheckListBox* Groups = nullptr;
  TSplitter* Splitter1 = nullptr;
  TChartListBox* LBSeries = nullptr;
  TPanel* PanRight = nullptr;
  TSpeedButton* BMoveUP = nullptr;
  TSpeedButton* BMoveDown = nullptr;
  TButton* BAddSeries = nullptr;
  TButton* BDeleteSeries = nullptr;
  TButton* BRenameSeries = nullptr;
  TButton* BCloneSeries = nullptr;
  TButton* BChangeTypeSeries = nullptr;
  TChartGrid* ChartGrid1 = nullptr;
  TChartGridNavigator* ChartGridNavigator1 = nullptr;
  TPanel* PanGridTop = nullptr;
  TSpeedButton* SBGridText = nullptr;
  TSpeedButton* SBGridCol = nullptr;
  TSpeedButton* SBGrid3D = nullptr;
  TSpeedButton* SBGridX = nullptr;
  TTBPopupMenu* PopupData = nullptr;
  TTBItem* EditColor1 = nullptr;
  TTBItem* DefaultColor1 = nullptr;
  TTBItem* Makenullpoint1 = nullptr;
  TTBSeparatorItem* N1 = nullptr;
  TTBItem* Insertrow1 = nullptr;
  TTBItem* Deleterow1 = nullptr;
  TTBSeparatorItem* N2 = nullptr;
  TTBItem* extfont1 = nullptr;
  TPanel* PanBottom = nullptr;
  TButton* ButtonHelp = nullptr;
  TButton* BClose = nullptr;

  // The pages made so far (nil until their tab first shows).
  TForm* ChartPage(int SubPageIndex) const;
  TFormGrafTools* ToolsPage() const { return FToolsPage; }
  TChartPreview* PreviewPage() const { return FPreviewPage; }
  TGrafExportForm* ExportPage() const { return FExportPage; }

  // ---- Handlers ----
  virtual void FormShow(TObject* Sender);
  virtual void FormCloseQuery(TObject* Sender, bool& CanClose);
  virtual void FormDestroy(TObject* Sender);
  virtual void FormResize(TObject* Sender);
  virtual void MainPageChange(TObject* Sender);
  virtual void MainPageChanging(TObject* Sender, bool& AllowChange);
  virtual void SubPageChange(TObject* Sender);
  virtual void SubPageChanging(TObject* Sender, bool& AllowChange);
  virtual void TreeChange(TObject* Sender, TTreeNode* Node);
  virtual void TreeEditing(TObject* Sender, TTreeNode* Node, bool& AllowEdit);
  virtual void BCloseClick(TObject* Sender);
  virtual void ButtonHelpClick(TObject* Sender);
  virtual void BMoveUPClick(TObject* Sender);
  virtual void BMoveDownClick(TObject* Sender);
  virtual void BAddSeriesClick(TObject* Sender);
  virtual void BDeleteSeriesClick(TObject* Sender);
  virtual void BRenameSeriesClick(TObject* Sender);
  virtual void BCloneSeriesClick(TObject* Sender);
  virtual void BChangeTypeSeriesClick(TObject* Sender);
  virtual void CBNamesClick(TObject* Sender);
  virtual void LBSeriesEditSeries(TObject* Sender, int Index);
  virtual void LBSeriesRefreshButtons(TObject* Sender);
  virtual void LBSeriesOtherItemsChange(TObject* Sender);
  virtual void LBSeriesChangeActive(TObject* Sender, TCustomChartSeries* Series);
  virtual void GroupsClick(TObject* Sender);
  virtual void GroupsClickCheck(TObject* Sender);
  virtual void GroupsDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void GroupsDragDrop(TObject* Sender, TObject* Source, int X, int Y);
  virtual void BAddGroupClick(TObject* Sender);
  virtual void BRenameGroupClick(TObject* Sender);
  virtual void BDeleteGroupClick(TObject* Sender);
  virtual void SBGridTextClick(TObject* Sender);
  virtual void SBGridColClick(TObject* Sender);
  virtual void SBGrid3DClick(TObject* Sender);
  virtual void SBGridXClick(TObject* Sender);
  virtual void PopupDataPopup(TObject* Sender);
  virtual void EditColor1Click(TObject* Sender);
  virtual void DefaultColor1Click(TObject* Sender);
  virtual void Makenullpoint1Click(TObject* Sender);
  virtual void Insertrow1Click(TObject* Sender);
  virtual void Deleterow1Click(TObject* Sender);
  virtual void extfont1Click(TObject* Sender);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void RestorePlace();
  void SavePlace();
  void SelectStartPage();
  void SelectFirstSeries();
  void ShowSeriesPage();
  void ShowExportPage();
  void CreateChartPage(TTabSheet* Tab);
  void BuildTree();
  void FillSeriesNodes();
  void PutBackTabs();
  void PutBackMainTab();
  void FillGroups();
  int GroupOffset() const;
  void RefreshAllCheck();
  void SeriesPageAfterDelete();
  void HighlightTab(TPageControl* Page, bool On);
  bool SeriesPageMayChange();
  void AxisOrientationChanged();
  void ToolAdded(TObject* Tool);
  void ToolRemoved(TObject* Tool);
  void GridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  TCustomChart* FChart = nullptr;
  std::string FHelpFile;
  TForm* FChartPages[9] = {};
  TFormGrafTools* FToolsPage = nullptr;
  TChartPreview* FPreviewPage = nullptr;
  TGrafExportForm* FExportPage = nullptr;
  bool FTreeBuilt = false;
};

void RegisterChartEditorWindowClasses();
