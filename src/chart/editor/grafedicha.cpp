#include "chart/editor/grafedicha.h"

#include <algorithm>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafchartgrid.h"
#include "chart/editor/grafedi3d.h"
#include "chart/editor/grafediaxis.h"
#include "chart/editor/grafedigene.h"
#include "chart/editor/grafedilege.h"
#include "chart/editor/grafedipage.h"
#include "chart/editor/grafedipane.h"
#include "chart/editor/grafediseri.h"
#include "chart/editor/grafedititl.h"
#include "chart/editor/grafedittools.h"
#include "chart/editor/grafediwall.h"
#include "chart/editor/grafexport.h"
#include "chart/editor/graflisb.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafprevi.h"
#include "chart/editor/grexport.h"
#include "chart/series/grafsurfa.h"
#include "chart/series/graftools.h"
#include "platform/dialogs.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/controls.h"
#include "platform/ui/syssettings.h"

using namespace editorbuild;

bool ShowSeriesNamesOption = false;

ZV_CLASS_IMPL_NOPROPS(TChartEditForm, TForm)

namespace {

// The window's designed size, before scaling ("414" and "347" in the
// library's text table).
constexpr int BaseWidth = 414;
constexpr int BaseHeight = 347;

// Whether the series keeps a Z value list (the 3D series).
bool HasZValueList(TChartSeries* Series) { return dynamic_cast<TCustom3DSeries*>(Series) != nullptr; }

TTabSheet* MakeTab(TComponent* Owner, TPageControl* Page, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Page);
  return t;
}

TSpeedButton* MakeFlat(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Width,
                       int Height, const std::string& Caption = "") {
  auto* b = Make<TSpeedButton>(Owner, Parent, Name, Left, Top, Width, Height);
  b->SetFlat(true);
  if (!Caption.empty()) b->SetCaption(Caption);
  return b;
}

}  // namespace

TChartEditForm::TChartEditForm(TComponent* AOwner) : TForm(AOwner) {
  SetBorderIcons({biSystemMenu});
  SetPosition(poScreenCenter);
  SetShowHint(true);
  SetClientWidth(436);
  SetClientHeight(320);

  PanBottom = Make<TPanel>(this, this, "PanBottom", 0, 286, 436, 34);
  PanBottom->SetAlign(alBottom);
  PanBottom->SetBevelOuter(bvNone);
  ButtonHelp = Make<TButton>(this, PanBottom, "ButtonHelp", 8, 5, 75, 25, "&Help...");
  BClose = Make<TButton>(this, PanBottom, "BClose", 353, 5, 75, 25, "Close");
  BClose->SetAnchors({akTop, akRight});
  BClose->SetDefault(true);
  BClose->SetCancel(true);

  Tree = Make<TTreeView>(this, this, "Tree", 0, 0, 126, 286);
  Tree->SetAlign(alLeft);
  Tree->SetIndent(19);
  Tree->SetHideSelection(false);
  Tree->SetVisible(false);
  TreeSplitter = Make<TSplitter>(this, this, "TreeSplitter", 126, 0, 3, 286);
  TreeSplitter->SetAlign(alLeft);
  TreeSplitter->SetVisible(false);

  MainPage = Make<TPageControl>(this, this, "MainPage", 0, 0, 436, 286);
  MainPage->SetAlign(alClient);
  MainPage->SetHotTrack(true);
  TabChart = MakeTab(this, MainPage, "TabChart", "Chart");
  TabSeries = MakeTab(this, MainPage, "TabSeries", "Series");
  TabData = MakeTab(this, MainPage, "TabData", "Data");
  TabTools = MakeTab(this, MainPage, "TabTools", "Tools");
  TabExport = MakeTab(this, MainPage, "TabExport", "Export");
  TabPrint = MakeTab(this, MainPage, "TabPrint", "Print");

  SubPage = Make<TPageControl>(this, TabChart, "SubPage", 0, 0, 428, 258);
  SubPage->SetAlign(alClient);
  SubPage->SetHotTrack(true);
  TabSeriesList = MakeTab(this, SubPage, "TabSeriesList", "Series");
  TabGeneral = MakeTab(this, SubPage, "TabGeneral", "General");
  TabAxis = MakeTab(this, SubPage, "TabAxis", "Axis");
  TabTitle = MakeTab(this, SubPage, "TabTitle", "Titles");
  TabLegend = MakeTab(this, SubPage, "TabLegend", "Legend");
  TabPanel = MakeTab(this, SubPage, "TabPanel", "Panel");
  TabPaging = MakeTab(this, SubPage, "TabPaging", "Paging");
  TabWalls = MakeTab(this, SubPage, "TabWalls", "Walls");
  Tab3D = MakeTab(this, SubPage, "Tab3D", "3D");

  // The series list and its buttons.
  PanTop = Make<TPanel>(this, TabSeriesList, "PanTop", 0, 0, 420, 24);
  PanTop->SetAlign(alTop);
  PanTop->SetBevelOuter(bvNone);
  BAddGroup = MakeFlat(this, PanTop, "BAddGroup", 2, 1, 22, 22, "+");
  BDeleteGroup = MakeFlat(this, PanTop, "BDeleteGroup", 26, 1, 22, 22, "-");
  BDeleteGroup->SetEnabled(false);
  BRenameGroup = MakeFlat(this, PanTop, "BRenameGroup", 50, 1, 22, 22, "...");
  BRenameGroup->SetEnabled(false);
  CBNames = Make<TCheckBox>(this, PanTop, "CBNames", 120, 4, 160, 17, "&View Series Names");
  PanRight = Make<TPanel>(this, TabSeriesList, "PanRight", 320, 24, 100, 206);
  PanRight->SetAlign(alRight);
  PanRight->SetBevelOuter(bvNone);
  BMoveUP = MakeFlat(this, PanRight, "BMoveUP", 4, 4, 24, 24);
  BMoveDown = MakeFlat(this, PanRight, "BMoveDown", 4, 32, 24, 24);
  BAddSeries = Make<TButton>(this, PanRight, "BAddSeries", 20, 64, 75, 25, "&Add...");
  BDeleteSeries = Make<TButton>(this, PanRight, "BDeleteSeries", 20, 94, 75, 25, "&Delete");
  BRenameSeries = Make<TButton>(this, PanRight, "BRenameSeries", 20, 124, 75, 25, "&Title...");
  BCloneSeries = Make<TButton>(this, PanRight, "BCloneSeries", 20, 154, 75, 25, "C&lone");
  BChangeTypeSeries = Make<TButton>(this, PanRight, "BChangeTypeSeries", 20, 184, 75, 25, "&Change...");
  PanelGroups = Make<TPanel>(this, TabSeriesList, "PanelGroups", 0, 24, 112, 206);
  PanelGroups->SetAlign(alLeft);
  PanelGroups->SetBevelOuter(bvNone);
  PanelGroups->SetVisible(false);
  Groups = Make<TCheckListBox>(this, PanelGroups, "Groups", 0, 0, 112, 206);
  Groups->SetAlign(alClient);
  Groups->SetAllowGrayed(true);
  Splitter1 = Make<TSplitter>(this, TabSeriesList, "Splitter1", 112, 24, 3, 206);
  Splitter1->SetAlign(alLeft);
  Splitter1->SetVisible(false);
  LBSeries = Make<TChartListBox>(this, TabSeriesList, "LBSeries", 115, 24, 205, 206);
  LBSeries->SetAlign(alClient);
  LBSeries->SetItemHeight(24);

  // The data tab's switches and popup.
  PanGridTop = Make<TPanel>(this, TabData, "PanGridTop", 0, 0, 428, 28);
  PanGridTop->SetAlign(alTop);
  PanGridTop->SetBevelOuter(bvNone);
  SBGridText = MakeFlat(this, PanGridTop, "SBGridText", 260, 2, 24, 24, "T");
  SBGridText->SetGroupIndex(1);
  SBGridText->SetAllowAllUp(true);
  SBGridText->SetHint("Show labels");
  SBGridCol = MakeFlat(this, PanGridTop, "SBGridCol", 286, 2, 24, 24, "C");
  SBGridCol->SetGroupIndex(2);
  SBGridCol->SetAllowAllUp(true);
  SBGridCol->SetHint("Show colors");
  SBGrid3D = MakeFlat(this, PanGridTop, "SBGrid3D", 312, 2, 24, 24, "3D");
  SBGrid3D->SetGroupIndex(3);
  SBGrid3D->SetAllowAllUp(true);
  SBGrid3D->SetHint("XYZ series");
  SBGridX = MakeFlat(this, PanGridTop, "SBGridX", 338, 2, 24, 24, "X");
  SBGridX->SetGroupIndex(4);
  SBGridX->SetAllowAllUp(true);
  SBGridX->SetHint("Show X values");
  ChartGridNavigator1 = Make<TChartGridNavigator>(this, PanGridTop, "ChartGridNavigator1", 2, 2, 240, 24);
  ChartGrid1 = Make<TChartGrid>(this, TabData, "ChartGrid1", 0, 28, 428, 230);
  ChartGrid1->SetAlign(alClient);
  ChartGridNavigator1->SetGrid(ChartGrid1);
  PopupData = new TTBPopupMenu(this);
  PopupData->SetName("PopupData");
  auto item = [this](const char* Name, const char* Caption, void (TChartEditForm::*Handler)(TObject*)) {
    auto* i = new TTBItem(this);
    i->SetName(Name);
    i->SetCaption(Caption);
    i->SetOnClick([this, Handler](TObject* s) { (this->*Handler)(s); });
    PopupData->Items()->Add(i);
    return i;
  };
  auto separator = [this](const char* Name) {
    auto* s = new TTBSeparatorItem(this);
    s->SetName(Name);
    PopupData->Items()->Add(s);
    return s;
  };
  EditColor1 = item("EditColor1", "&Edit Color...", &TChartEditForm::EditColor1Click);
  DefaultColor1 = item("DefaultColor1", "Default &Color", &TChartEditForm::DefaultColor1Click);
  Makenullpoint1 = item("Makenullpoint1", "Make &null point", &TChartEditForm::Makenullpoint1Click);
  N1 = separator("N1");
  Insertrow1 = item("Insertrow1", "&Append row", &TChartEditForm::Insertrow1Click);
  Deleterow1 = item("Deleterow1", "&Delete row", &TChartEditForm::Deleterow1Click);
  N2 = separator("N2");
  extfont1 = item("extfont1", "&Text font...", &TChartEditForm::extfont1Click);
  PopupData->OnPopup = [this](TObject* s) { PopupDataPopup(s); };
  ChartGrid1->SetPopupMenu(PopupData);
  ChartGrid1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    GridMouseDown(s, b, sh, x, y);
  };

  MainPage->OnChange = [this](TObject* s) { MainPageChange(s); };
  MainPage->OnChanging = [this](TObject* s, bool& a) { MainPageChanging(s, a); };
  SubPage->OnChange = [this](TObject* s) { SubPageChange(s); };
  SubPage->OnChanging = [this](TObject* s, bool& a) { SubPageChanging(s, a); };
  Tree->OnChange = [this](TObject* s, TTreeNode* n) { TreeChange(s, n); };
  Tree->OnEditing = [this](TObject* s, TTreeNode* n, bool& a) { TreeEditing(s, n, a); };
  BClose->OnClick = [this](TObject* s) { BCloseClick(s); };
  ButtonHelp->OnClick = [this](TObject* s) { ButtonHelpClick(s); };
  BMoveUP->OnClick = [this](TObject* s) { BMoveUPClick(s); };
  BMoveDown->OnClick = [this](TObject* s) { BMoveDownClick(s); };
  BAddSeries->OnClick = [this](TObject* s) { BAddSeriesClick(s); };
  BDeleteSeries->OnClick = [this](TObject* s) { BDeleteSeriesClick(s); };
  BRenameSeries->OnClick = [this](TObject* s) { BRenameSeriesClick(s); };
  BCloneSeries->OnClick = [this](TObject* s) { BCloneSeriesClick(s); };
  BChangeTypeSeries->OnClick = [this](TObject* s) { BChangeTypeSeriesClick(s); };
  CBNames->OnClick = [this](TObject* s) { CBNamesClick(s); };
  Groups->OnClick = [this](TObject* s) { GroupsClick(s); };
  Groups->OnClickCheck = [this](TObject* s) { GroupsClickCheck(s); };
  Groups->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st, bool& a) {
    GroupsDragOver(s, src, x, y, st, a);
  };
  Groups->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) { GroupsDragDrop(s, src, x, y); };
  BAddGroup->OnClick = [this](TObject* s) { BAddGroupClick(s); };
  BRenameGroup->OnClick = [this](TObject* s) { BRenameGroupClick(s); };
  BDeleteGroup->OnClick = [this](TObject* s) { BDeleteGroupClick(s); };
  SBGridText->OnClick = [this](TObject* s) { SBGridTextClick(s); };
  SBGridCol->OnClick = [this](TObject* s) { SBGridColClick(s); };
  SBGrid3D->OnClick = [this](TObject* s) { SBGrid3DClick(s); };
  SBGridX->OnClick = [this](TObject* s) { SBGridXClick(s); };
  LBSeries->OnDblClickSeries = [this](TChartListBox* s, int i) { LBSeriesEditSeries(s, i); };
  LBSeries->OnRefresh = [this](TObject* s) { LBSeriesRefreshButtons(s); };
  LBSeries->OnOtherItemsChange = [this](TObject* s) { LBSeriesOtherItemsChange(s); };
  LBSeries->OnChangeActive = [this](TChartListBox* s, TCustomChartSeries* a) { LBSeriesChangeActive(s, a); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
  OnResize = [this](TObject* s) { FormResize(s); };

  // FormCreate: the designed size scaled to the screen, the caption bar's
  // height beyond the designed one added.
  const int ppi = Screen ? Screen->PixelsPerInch() : 96;
  SetWidth(StrToInt("414") * ppi / 96);
  SetHeight(StrToInt("347") * ppi / 96 + GetSystemMetrics(SM_CYSIZE) - 18);
  SetEditedChart(nullptr);
  SetCaption("");
  MainPage->SetActivePage(TabChart);
  SubPage->SetActivePage(TabSeriesList);
  RememberPosition = ReadEditorOptionBool("RememberPosition", true);
  RememberSize = ReadEditorOptionBool("RememberSize", true);
  Tree->SetVisible(ReadEditorOptionBool("TreeMode", false));
}

TChartEditForm::~TChartEditForm() {
  FormDestroy(this);
  if (FChart) FChart->RemoveFreeNotification(this);
}

TForm* TChartEditForm::ChartPage(int SubPageIndex) const {
  return SubPageIndex >= 0 && SubPageIndex < 9 ? FChartPages[SubPageIndex] : nullptr;
}

void TChartEditForm::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FChart) FChart = nullptr;
  if (AComponent == SeriesPage) SeriesPage = nullptr;
  if (AComponent == FToolsPage) FToolsPage = nullptr;
  if (AComponent == FPreviewPage) FPreviewPage = nullptr;
  if (AComponent == FExportPage) FExportPage = nullptr;
  for (TForm*& page : FChartPages)
    if (AComponent == page) page = nullptr;
}

// ---- Chart, place and help ------------------------------------------------------------

void TChartEditForm::SetEditedChart(TCustomChart* Chart) {
  if (FChart != Chart) {
    if (FChart) FChart->RemoveFreeNotification(this);
    FChart = Chart;
    if (FChart) FChart->FreeNotification(this);
  }
  LBSeries->SetChart(FChart);
  MainPage->SetEnabled(FChart != nullptr);
  SubPage->SetEnabled(FChart != nullptr);
  if (FChart && (RememberPosition || RememberSize)) RestorePlace();
}

void TChartEditForm::RestorePlace() {
  try {
    TRegistry reg(KEY_READ);
    if (!reg.OpenKeyReadOnly(EditorOptionsKey)) return;
    if (RememberPosition && reg.ValueExists("Left")) {
      SetPosition(poDesigned);
      SetLeft(std::max(0, reg.ReadInteger("Left")));
      if (reg.ValueExists("Top")) SetTop(std::max(0, reg.ReadInteger("Top")));
    }
    if (RememberSize) {
      if (reg.ValueExists("Width")) SetWidth(std::max(100, reg.ReadInteger("Width")));
      if (reg.ValueExists("Height")) SetHeight(std::max(100, reg.ReadInteger("Height")));
      if (reg.ValueExists("TreeWidth")) Tree->SetWidth(std::max(10, reg.ReadInteger("TreeWidth")));
    }
  } catch (const Exception&) {
    // An unreadable place leaves the window where it is.
  }
  if (Screen) {
    if (Screen->Width() < Left()) SetLeft(Screen->Width() - Width());
    if (Screen->Height() < Top()) SetTop(Screen->Height() - Height());
  }
}

void TChartEditForm::SavePlace() {
  if (!FChart || !(RememberPosition || RememberSize)) return;
  try {
    TRegistry reg;
    if (!reg.OpenKey(EditorOptionsKey, true)) return;
    if (RememberPosition) {
      reg.WriteInteger("Left", Left());
      reg.WriteInteger("Top", Top());
    }
    if (RememberSize) {
      if (Width() != BaseWidth) reg.WriteInteger("Width", Width());
      if (Height() != BaseHeight) reg.WriteInteger("Height", Height());
      if (Tree->Visible()) reg.WriteInteger("TreeWidth", Tree->Width());
    }
  } catch (const Exception&) {
    // A place that cannot be remembered is not worth an error.
  }
}

void TChartEditForm::ApplyHelpSettings() {
  if (EditorOptions.Contains(ceHelp)) {
    const bool designing = FChart && FChart->ComponentState().Contains(csDesigning);
    FHelpFile = HelpFilePath(designing ? "GrafChart7.hlp" : "GrafUser7.hlp");
    TBorderIcons icons = BorderIcons();
    if (!FHelpFile.empty()) icons.Include(biHelp);
    SetBorderIcons(icons);
  } else {
    FHelpFile.clear();
  }
  // No help button for help that is not there.
  ButtonHelp->SetVisible(EditorOptions.Contains(ceHelp) && !FHelpFile.empty());
}

void TChartEditForm::ButtonHelpClick(TObject*) {
  if (!FHelpFile.empty()) ShowHelpContext(726, false);
}

// ---- Showing -----------------------------------------------------------------------------

void TChartEditForm::FormShow(TObject*) {
  if (!FChart) return;
  CBNames->SetVisible(FChart->ComponentState().Contains(csDesigning) || ShowSeriesNamesOption);
  LoadArrowBitmaps(BMoveUP->Glyph(), BMoveDown->Glyph());
  if (ToolTypeRegistry()->Count() == 0) TabTools->SetTabVisible(false);
  LBSeries->SetChart(FChart);
  if (Caption().empty()) SetCaption(Format("Editing %s", {FChart->Name()}));

  struct THide {
    TChartEditorTab Tab;
    TTabSheet* Sheet;
  };
  const THide hides[] = {{cetMain, TabSeriesList}, {cetGeneral, TabGeneral}, {cetAxis, TabAxis},
                         {cetTitles, TabTitle},     {cetLegend, TabLegend},   {cetPanel, TabPanel},
                         {cetPaging, TabPaging},    {cetWalls, TabWalls},     {cet3D, Tab3D},
                         {cetAllSeries, TabSeries}, {cetSeriesData, TabData}, {cetExport, TabExport},
                         {cetTools, TabTools},      {cetPrintPreview, TabPrint}};
  for (const THide& h : hides)
    if (HiddenTabs.Contains(h.Tab)) h.Sheet->SetTabVisible(false);
  bool anySub = false;
  for (int i = 0; i < SubPage->PageCount(); ++i) anySub = anySub || SubPage->Pages(i)->TabVisible();
  if (!anySub) TabChart->SetTabVisible(false);

  if (Tree->Visible()) BuildTree();
  if (StartPage != -1) SelectStartPage();

  const bool groups = EditorOptions.Contains(ceGroups);
  BAddGroup->SetVisible(groups);
  BDeleteGroup->SetVisible(groups);
  BRenameGroup->SetVisible(groups);
  if (groups) {
    PanelGroups->SetVisible(true);
    Splitter1->SetVisible(true);
    FillGroups();
  } else {
    CBNames->SetLeft(0);
  }

  if (SeriesToOpen) {
    if (Tree->Visible() && TreeHost) {
      TabSeriesList->SetParent(TreeHost);
      TabSeriesList->SetAlign(alClient);
    }
    LBSeries->SelectSeries(SeriesToOpen);
    LBSeriesEditSeries(LBSeries, LBSeries->ItemIndex());
  } else if (StartPage == -1) {
    SelectFirstSeries();
  }
  if (TabSeriesList->Showing() || (SubPage->ActivePage() == TabSeriesList && MainPage->ActivePage() == TabChart)) {
    if (LBSeries->Items()->Count() == 0) {
      LBSeriesRefreshButtons(this);
    } else if (StartPage != cetSeriesGeneral && StartPage != cetSeriesMarks) {
      SelectFirstSeries();
    } else {
      LBSeriesEditSeries(LBSeries, LBSeries->ItemIndex());
      if (SeriesPage) {
        bool allow = true;
        SeriesPage->PageSeriesChanging(SeriesPage, allow);
        SeriesPage->PageSeries->SetActivePage(StartPage == cetSeriesGeneral ? SeriesPage->TabGeneral
                                                                               : SeriesPage->TabMarks);
        SeriesPage->PageSeriesChange(SeriesPage);
      }
    }
  } else {
    LBSeriesRefreshButtons(this);
  }
}

void TChartEditForm::SelectFirstSeries() {
  if (LBSeries->Items()->Count() > 0) {
    if (LBSeries->CanFocus()) LBSeries->SetFocus();
    LBSeries->SelectIndex(0);
    LBSeries->SetItemIndex(0);
  }
  LBSeriesRefreshButtons(this);
}

void TChartEditForm::SelectStartPage() {
  switch (StartPage) {
    case cetSeriesData: MainPage->SetActivePage(TabData); MainPageChange(this); return;
    case cetExport: MainPage->SetActivePage(TabExport); MainPageChange(this); return;
    case cetTools: MainPage->SetActivePage(TabTools); MainPageChange(this); return;
    case cetPrintPreview: MainPage->SetActivePage(TabPrint); MainPageChange(this); return;
    default: break;
  }
  if (StartPage < cetMain || StartPage > cet3D) return;
  const int count = SubPage->PageCount();
  int found = -1;
  for (int i = StartPage; i < count && found < 0; ++i)
    if (SubPage->Pages(i)->TabVisible()) found = i;
  for (int i = StartPage; i >= 0 && found < 0; --i)
    if (SubPage->Pages(i)->TabVisible()) found = i;
  if (found >= 0) StartPage = found;
  if (found >= 0 && TabChart->TabVisible()) {
    MainPage->SetActivePage(TabChart);
    SubPage->SetActivePage(SubPage->Pages(found));
    SubPageChange(this);
    return;
  }
  for (TTabSheet* t : {TabData, TabTools, TabExport, TabPrint})
    if (t->TabVisible()) {
      MainPage->SetActivePage(t);
      MainPageChange(this);
      return;
    }
}

// ---- Chart pages --------------------------------------------------------------------------

void TChartEditForm::HighlightTab(TPageControl* Page, bool On) {
  if (HighLightTabs && Page->ActivePage()) Page->ActivePage()->SetHighlighted(On);
}

void TChartEditForm::SubPageChanging(TObject*, bool&) { HighlightTab(SubPage, false); }

void TChartEditForm::SubPageChange(TObject* Sender) {
  HighlightTab(SubPage, true);
  TTabSheet* tab = SubPage->ActivePage();
  if (Tree->Visible() && FTreeBuilt && Sender == SubPage) {
    for (int i = 0; i < Tree->Items()->Count(); ++i) {
      TTreeNode* n = Tree->Items()->Item(i);
      if (n->Data() == tab && !n->Selected()) {
        n->SetSelected(true);
        break;
      }
    }
  }
  if (FChart && tab && tab->ControlCount() == 0) CreateChartPage(tab);
  else if (tab == Tab3D)
    if (auto* view = dynamic_cast<TFormGraf3D*>(FChartPages[8])) view->ApplyEnabling();
}

void TChartEditForm::CreateChartPage(TTabSheet* Tab) {
  const int index = Tab->PageIndex();
  TForm* page = nullptr;
  switch (index) {
    case 1: page = new TFormGrafGeneral(this, FChart); break;
    case 2: {
      auto* axis = new TFormGrafAxis(this, FChart->LeftAxis());
      axis->OrientationChanged = [this](TChartAxis*) { AxisOrientationChanged(); };
      page = axis;
      break;
    }
    case 3: page = new TFormGrafTitle(this, FChart->Title(), FChart); break;
    case 4: {
      auto* legend = new TFormGrafLegend(this);
      legend->BindLegend(FChart->Legend());
      page = legend;
      break;
    }
    case 5: page = new TFormGrafPanel(this, FChart); break;
    case 6: page = new TFormGrafPage(this, FChart); break;
    case 7: page = new TFormGrafWall(this, FChart->LeftWall()); break;
    default: page = new TFormGraf3D(this, FChart); break;
  }
  if (!page) return;
  FChartPages[index] = page;
  page->SetControlStyle(page->ControlStyle() + TControlStyle{csParentBackground});
  page->SetParentColor(true);
  page->SetBorderIcons({});
  page->SetBorderStyle(bsNone);
  page->SetAlign(alClient);
  page->SetParent(Tab);
  page->Show();
  page->Realign();
  if (auto* view = dynamic_cast<TFormGraf3D*>(page)) view->ApplyEnabling();
}

// ---- Main tabs ------------------------------------------------------------------------------

bool TChartEditForm::SeriesPageMayChange() {
  if (!SeriesPage) return true;
  bool allow = true;
  SeriesPage->PageSeriesChanging(SeriesPage, allow);
  return allow;
}

void TChartEditForm::MainPageChanging(TObject*, bool& AllowChange) {
  AllowChange = SeriesPageMayChange();
  if (AllowChange) HighlightTab(MainPage, false);
}

void TChartEditForm::MainPageChange(TObject*) {
  HighlightTab(MainPage, true);
  TTabSheet* tab = MainPage->ActivePage();
  if (Tree->Visible() && FTreeBuilt) {
    for (int i = 0; i < Tree->Items()->Count(); ++i) {
      TTreeNode* n = Tree->Items()->Item(i);
      if (n->Data() == tab && !n->Selected()) {
        n->SetSelected(true);
        break;
      }
    }
  }
  if (!FChart) return;
  if (tab == TabSeries) {
    ShowSeriesPage();
  } else if (tab == TabData) {
    TChartSeries* first = FChart->NumberOfSeries() > 0 ? FChart->SeriesAt(0) : nullptr;
    ChartGrid1->SetChart(FChart);
    ChartGrid1->SetShowColors(first && HasOwnPointColors(first));
    ChartGrid1->RecalcLayout();
    SBGridCol->SetDown(ChartGrid1->ShowColors());
    SBGridText->SetDown(ChartGrid1->ShowLabels());
    SBGrid3D->SetDown(ChartGrid1->Grid3D());
    SBGrid3D->SetEnabled(HasZValueList(first));
    SBGridX->SetDown(first && HasExplicitXValues(first));
    if (!Tree->Visible() && ChartGrid1->CanFocus()) ChartGrid1->SetFocus();
  } else if (tab == TabTools) {
    if (!FToolsPage) {
      FToolsPage = new TFormGrafTools(this);
      FToolsPage->OnAddTool = [this](TGrafCustomTool* t) { ToolAdded(t); };
      FToolsPage->OnDeleteTool = [this](TGrafCustomTool* t) { ToolRemoved(t); };
      FToolsPage->SetAlign(alClient);
      EmbedEditorForm(FToolsPage, TabTools, FChart);
    } else {
      FToolsPage->RefreshTools();
    }
  } else if (tab == TabExport) {
    ShowExportPage();
  } else if (tab == TabPrint) {
    if (!FPreviewPage) {
      THourGlass busy;
      auto* preview = new TChartPreview(this);
      FPreviewPage = preview;
      preview->GBMargins->SetVisible(false);
      preview->PanelClose->SetVisible(false);
      preview->PageNavigatorClass = GetClass("TChartPageNavigator");
      preview->SetAlign(alClient);
      EmbedEditorForm(preview, TabPrint, FChart);
    } else {
      FPreviewPage->GrafPreviewPanel1->Invalidate();
    }
  }
}

void TChartEditForm::ShowExportPage() {
  if (!FExportPage) {
    FExportPage = new TGrafExportForm(this);
    FExportPage->BClose->SetVisible(false);
    FExportPage->SetAlign(alClient);
    EmbedEditorForm(FExportPage, TabExport, FChart);
  } else {
    // An embedded form is not shown again when its tab comes back: refresh
    // it as a new showing would (the chart's size and series may have changed).
    FExportPage->FormShow(FExportPage);
  }
  FExportPage->CBFileSize->SetChecked(false);
  FExportPage->CBFileSizeClick(FExportPage);
  FExportPage->TabNative->SetTabVisible(!HiddenTabs.Contains(cetExportNative));
  if (!FExportPage->TabNative->TabVisible() && FExportPage->PageControl1->ActivePage() == FExportPage->TabNative)
    FExportPage->PageControl1->SetActivePage(FExportPage->TabPicture);
  FExportPage->EnableButtons();
}

void TChartEditForm::ShowSeriesPage() {
  if (!SeriesPage) {
    SeriesPage = new TFormGrafSeries(this);
    LBSeries->OtherItems = SeriesPage->CBSeries->Items();
    SeriesPage->SeriesListBox = LBSeries;
    SeriesPage->SetBorderStyle(bsNone);
    SeriesPage->SetBorderIcons({});
    SeriesPage->SetParent(TabSeries);
    SeriesPage->SetAlign(alClient);
    SeriesPage->DataSourceAllowed = EditorOptions.Contains(ceDataSource);
    SeriesPage->GeneralTabAllowed = !HiddenTabs.Contains(cetSeriesGeneral);
    SeriesPage->MarksTabAllowed = !HiddenTabs.Contains(cetSeriesMarks);
    SeriesPage->PersistentAllowed = false;
    SeriesPage->CurrentSeries = LBSeries->SelectedSeries();
    LBSeries->FillSeries(SeriesPage->CurrentSeries);
    SeriesPage->Show();
  } else {
    SeriesPage->CurrentSeries = LBSeries->SelectedSeries();
  }
  SeriesPage->SelectCurrentSeries();
}

// ---- Tree mode ---------------------------------------------------------------------------

void TChartEditForm::BuildTree() {
  TreeSplitter->SetVisible(true);
  PageWidth = Width();
  SetWidth(Tree->Width() + PageWidth + TreeSplitter->Width());
  ButtonHelp->SetLeft(16);
  MainPage->SetVisible(false);
  TreeHost = Make<TPanel>(this, this, "TreeHost", 0, 0, PageWidth, MainPage->Height());
  TreeHost->SetBevelOuter(bvNone);
  TreeHost->SetAlign(alClient);

  Tree->Items()->Clear();
  SeriesNode = Tree->Items()->AddObject(nullptr, TabSeriesList->Caption(), TabSeriesList);
  FillSeriesNodes();
  SeriesNode->SetExpanded(FChart->NumberOfSeries() < 11);

  TTreeNode* chartNode = Tree->Items()->AddObject(nullptr, TabChart->Caption(), SubPage);
  for (int i = 1; i < SubPage->PageCount(); ++i) {
    TTabSheet* t = SubPage->Pages(i);
    if (!t->TabVisible()) continue;
    TTreeNode* n = Tree->Items()->AddChildObject(chartNode, t->Caption(), t);
    if (t == TabAxis) {
      const char* fixed[] = {"Left Axis", "Right Axis", "Top Axis", "Bottom Axis", "Depth Right", "Depth Top"};
      TChartAxis* axes[] = {FChart->LeftAxis(), FChart->RightAxis(), FChart->TopAxis(), FChart->BottomAxis(),
                            FChart->DepthAxis(), FChart->DepthTopAxis()};
      for (int k = 0; k < 6; ++k) Tree->Items()->AddChildObject(n, fixed[k], axes[k]);
      for (int k = 6; k < FChart->AxesList()->Count(); ++k)
        Tree->Items()->AddChildObject(n, "Custom " + IntToStr(k - 6), FChart->AxesList()->AxisAt(k));
    } else if (t == TabTitle) {
      Tree->Items()->AddChildObject(n, "Title", FChart->Title());
      Tree->Items()->AddChildObject(n, "SubTitle", FChart->SubTitle());
      Tree->Items()->AddChildObject(n, "Footer", FChart->Foot());
      Tree->Items()->AddChildObject(n, "SubFoot", FChart->SubFoot());
    }
  }
  chartNode->SetExpanded(true);
  for (int i = 2; i < MainPage->PageCount(); ++i) {
    TTabSheet* t = MainPage->Pages(i);
    if (!t->TabVisible()) continue;
    TTreeNode* n = Tree->Items()->AddObject(nullptr, t->Caption(), t);
    if (t == TabTools) {
      ToolsNode = n;
      for (int k = 0; k < FChart->Tools()->Count(); ++k) {
        TGrafCustomTool* tool = FChart->Tools()->ToolAt(k);
        if (tool->ShowInEditor()) Tree->Items()->AddChildObject(n, tool->ToolTypeName(), tool);
      }
    }
  }
  FTreeBuilt = true;
  SeriesNode->SetSelected(true);
  if (Tree->CanFocus()) Tree->SetFocus();
}

void TChartEditForm::FillSeriesNodes() {
  if (!SeriesNode) return;
  SeriesNode->DeleteChildren();
  for (int i = 0; i < FChart->NumberOfSeries(); ++i) {
    TChartSeries* s = FChart->SeriesAt(i);
    if (s->ComponentState().Contains(csDesigning) || s->ShowInEditor())
      Tree->Items()->AddChildObject(SeriesNode, SeriesDisplayName(s), s);
  }
}

void TChartEditForm::PutBackMainTab() {
  if (TTabSheet* t = MainPage->ActivePage(); t && t->Parent() != MainPage) t->SetParent(MainPage);
}

void TChartEditForm::PutBackTabs() {
  if (SubPage->Parent() != TabChart) SubPage->SetParent(TabChart);
  for (int i = 0; i < SubPage->PageCount(); ++i)
    if (SubPage->Pages(i)->Parent() != SubPage) SubPage->Pages(i)->SetParent(SubPage);
  for (int i = 0; i < MainPage->PageCount(); ++i)
    if (MainPage->Pages(i)->Parent() != MainPage) MainPage->Pages(i)->SetParent(MainPage);
}

void TChartEditForm::TreeChange(TObject*, TTreeNode* Node) {
  if (!Node || !TreeHost || !FChart) return;
  for (int i = TreeHost->ControlCount() - 1; i >= 0; --i) TreeHost->Controls(i)->SetParent(nullptr);
  void* data = Node->Data();
  auto isTab = [&](TPageControl* Page) {
    for (int i = 0; i < Page->PageCount(); ++i)
      if (Page->Pages(i) == data) return Page->Pages(i);
    return static_cast<TTabSheet*>(nullptr);
  };
  auto host = [&](TWinControl* c) {
    c->SetParent(TreeHost);
    c->SetAlign(alClient);
  };
  auto* object = static_cast<TObject*>(data);
  if (TTabSheet* t = isTab(MainPage)) {
    PutBackMainTab();
    MainPage->SetActivePage(t);
    MainPageChange(this);
    if (t == TabTools && FToolsPage && FToolsPage->PanelToolEditor->Parent() != FToolsPage)
      FToolsPage->PanelToolEditor->SetParent(FToolsPage);
    host(t);
  } else if (TTabSheet* sub = isTab(SubPage)) {
    PutBackTabs();
    if (sub == TabAxis)
      if (auto* axis = dynamic_cast<TFormGrafAxis*>(FChartPages[2])) axis->AxisPages()->SetParent(axis);
    SubPage->SetActivePage(sub);
    SubPageChange(this);
    host(sub);
    if (sub == TabSeriesList && LBSeries->CanFocus()) {
      LBSeries->SetFocus();
      LBSeries->Invalidate();
    }
  } else if (data == SubPage) {
    PutBackTabs();
    host(SubPage);
    TabSeriesList->SetTabVisible(false);
    SubPageChange(this);
  } else if (auto* series = dynamic_cast<TChartSeries*>(object); series && Node->Parent() == SeriesNode) {
    PutBackTabs();
    TabSeriesList->SetTabVisible(true);
    if (!SeriesPageMayChange()) return;
    host(TabSeries);
    LBSeries->SelectSeries(series);
    ShowSeriesPage();
    SeriesPage->PageSeriesChange(SeriesPage);
  } else if (auto* tool = dynamic_cast<TGrafCustomTool*>(object)) {
    MainPage->SetActivePage(TabTools);
    if (!FToolsPage) MainPageChange(this);
    if (FToolsPage) {
      auto* list = dynamic_cast<TListBox*>(FToolsPage->FindComponent("LBTools"));
      if (list) {
        if (list->Items()->Count() == 0) FToolsPage->RefreshTools();
        list->SetItemIndex(list->Items()->IndexOfObject(tool));
        if (list->OnClick) list->OnClick(list);
      }
      host(FToolsPage->PanelToolEditor);
    }
  } else if (auto* axis = dynamic_cast<TChartAxis*>(object)) {
    PutBackTabs();
    SubPage->SetActivePage(TabAxis);
    SubPageChange(this);
    if (auto* page = dynamic_cast<TFormGrafAxis*>(FChartPages[2])) {
      page->CurrentAxis = axis;
      if (auto* list = dynamic_cast<TListBox*>(page->FindComponent("LBAxes"))) {
        list->SetItemIndex(Node->Index());
        if (list->OnClick) list->OnClick(list);
      }
      host(page->AxisPages());
    }
  } else if (auto* title = dynamic_cast<TChartTitle*>(object)) {
    PutBackTabs();
    SubPage->SetActivePage(TabTitle);
    SubPageChange(this);
    if (auto* page = dynamic_cast<TFormGrafTitle*>(FChartPages[3])) {
      const char* names[] = {"Title", "SubTitle", "SubFoot", "Foot"};
      const TChartTitle* titles[] = {FChart->Title(), FChart->SubTitle(), FChart->SubFoot(), FChart->Foot()};
      if (auto* combo = dynamic_cast<TComboFlat*>(page->FindComponent("CBTitles"))) {
        for (int k = 0; k < 4; ++k)
          if (titles[k] == title) combo->SetItemIndex(combo->Items()->IndexOf(names[k]));
        if (combo->OnChange) combo->OnChange(combo);
      }
      host(page);
    }
  }
}

void TChartEditForm::TreeEditing(TObject*, TTreeNode*, bool& AllowEdit) { AllowEdit = false; }

void TChartEditForm::FormResize(TObject*) {
  if (Tree->Visible() && FTreeBuilt) PageWidth = Width() - Tree->Width() - TreeSplitter->Width();
}

// ---- Series list ---------------------------------------------------------------------------

void TChartEditForm::LBSeriesRefreshButtons(TObject*) {
  const bool selected =
      FChart && FChart->NumberOfSeries() > 0 && LBSeries->CanFocus() && LBSeries->ItemIndex() >= 0;
  TChartSeries* series = selected ? LBSeries->SeriesAtIndex(LBSeries->ItemIndex()) : nullptr;
  const bool one = selected && (!LBSeries->MultiSelect() || LBSeries->SelCount() <= 1);
  const bool inherited = series && series->ComponentState().Contains(csAncestor);
  const TChartSeriesStyle style = series ? series->Style() : TChartSeriesStyle{};
  const int last = LBSeries->Items()->Count() - 1;
  BAddSeries->SetEnabled(EditorOptions.Contains(ceAdd));
  BDeleteSeries->SetEnabled(series && !inherited && EditorOptions.Contains(ceDelete) &&
                            !style.Contains(csfTemplate) && !style.Contains(csfUndeletable));
  BRenameSeries->SetEnabled(series && one && EditorOptions.Contains(ceTitle));
  BChangeTypeSeries->SetEnabled(series && !inherited && EditorOptions.Contains(ceChange) &&
                                !style.Contains(csfFixedType));
  BCloneSeries->SetEnabled(series && one && EditorOptions.Contains(ceClone) && !style.Contains(csfTemplate) &&
                           !style.Contains(csfNoClone));
  BMoveDown->SetEnabled(series && one && LBSeries->ItemIndex() < last);
  BMoveUP->SetEnabled(series && one && LBSeries->ItemIndex() > 0);
  if (!BChangeTypeSeries->Enabled() && LBSeries->ShowSeriesIcon()) LBSeries->EnableChangeType = false;
  // The list's Insert and Delete keys obey the same rules as the buttons.
  LBSeries->AllowAddSeries = BAddSeries->Enabled();
  LBSeries->AllowDeleteSeries = BDeleteSeries->Enabled();
  const bool order = EditorOptions.Contains(ceOrderSeries);
  LBSeries->EnableDragSeries = order;
  BMoveUP->SetVisible(order);
  BMoveDown->SetVisible(order);
  if (Tree->Visible() && FTreeBuilt && SeriesNode && LBSeries->CanFocus() &&
      LBSeries->Items()->Count() != SeriesNode->Count())
    FillSeriesNodes();
}

void TChartEditForm::BMoveUPClick(TObject*) { LBSeries->MoveUp(); }
void TChartEditForm::BMoveDownClick(TObject*) { LBSeries->MoveDown(); }
void TChartEditForm::BCloneSeriesClick(TObject*) { LBSeries->CloneSeries(); }

void TChartEditForm::BAddSeriesClick(TObject*) {
  if (TabSeries->Parent() != MainPage) TabSeries->SetParent(MainPage);
  TChartSeries* added = LBSeries->AddSeries();
  if (added && added->FunctionType()) {
    MainPage->SetActivePage(TabSeries);
    ShowSeriesPage();
    if (SeriesPage) {
      SeriesPage->PageSeries->SetActivePage(SeriesPage->TabDataSource);
      SeriesPage->PageSeriesChange(SeriesPage);
      SeriesPage->CBDataSourcestyleChange(SeriesPage);
    }
  }
  if (LBSeries->CanFocus()) LBSeries->SetFocus();
}

void TChartEditForm::SeriesPageAfterDelete() {
  if (!SeriesPage) return;
  SeriesPage->CurrentSeries = nullptr;
  if (TabSeries->Parent() != MainPage) TabSeries->SetParent(MainPage);
  SeriesPage->DropSeriesTabs();
  SeriesPage->CurrentSeries = LBSeries->SelectedSeries();
  SeriesPage->SelectCurrentSeries();
}

void TChartEditForm::BDeleteSeriesClick(TObject*) {
  LBSeries->DeleteSeries();
  SeriesPageAfterDelete();
}

void TChartEditForm::BRenameSeriesClick(TObject*) {
  const bool renamed = LBSeries->RenameSeries();
  if (renamed && Tree->Visible() && SeriesNode) {
    TChartSeries* s = LBSeries->SelectedSeries();
    for (int i = 0; i < SeriesNode->Count(); ++i)
      if (SeriesNode->Item(i)->Data() == s) SeriesNode->Item(i)->SetText(LBSeries->Items()->Strings(LBSeries->ItemIndex()));
  }
  if (!Parent() && LBSeries->CanFocus()) SetActiveControl(LBSeries);
}

void TChartEditForm::BChangeTypeSeriesClick(TObject*) {
  LBSeries->ChangeTypeSelected(this);
  SeriesPageAfterDelete();
}

void TChartEditForm::CBNamesClick(TObject*) {
  if (!TabSeries->Parent()) TabSeries->SetParent(MainPage);
  LBSeries->SetShowSeriesNames(CBNames->Checked());
  BRenameSeries->SetCaption(CBNames->Checked() ? "&Name..." : "&Title...");
}

void TChartEditForm::LBSeriesEditSeries(TObject*, int) {
  TChartSeries* s = LBSeries->SelectedSeries();
  if (!s) return;
  if (Tree->Visible() && SeriesNode) {
    for (int i = 0; i < SeriesNode->Count(); ++i)
      if (SeriesNode->Item(i)->Data() == s) {
        SeriesNode->Item(i)->SetSelected(true);
        return;
      }
  }
  MainPage->SetActivePage(TabSeries);
  ShowSeriesPage();
}

void TChartEditForm::LBSeriesOtherItemsChange(TObject*) {
  if (!SeriesPage) return;
  if (!TabSeries->Parent()) TabSeries->SetParent(MainPage);
  SeriesPage->CBSeries->SetItemIndex(LBSeries->ItemIndex());
}

void TChartEditForm::LBSeriesChangeActive(TObject*, TCustomChartSeries*) { FillGroups(); }

// ---- Series groups -------------------------------------------------------------------------

int TChartEditForm::GroupOffset() const { return EditorOptions.Contains(ceGroupAll) ? 1 : 0; }

void TChartEditForm::RefreshAllCheck() {
  if (!FChart || GroupOffset() == 0 || Groups->Items()->Count() == 0) return;
  bool all = true;
  for (int i = 0; i < FChart->NumberOfSeries(); ++i) all = all && FChart->SeriesAt(i)->Active();
  Groups->SetChecked(0, all);
}

void TChartEditForm::FillGroups() {
  if (!FChart || !EditorOptions.Contains(ceGroups)) return;
  int index = Groups->ItemIndex();
  Groups->Items()->Clear();
  if (GroupOffset() == 1) Groups->Items()->Add("(all)");
  TSeriesGroups* groups = FChart->SeriesList()->Groups();
  for (int i = 0; i < groups->Count(); ++i) {
    TSeriesGroup* g = groups->GroupAt(i);
    const int item = Groups->Items()->AddObject(g->Name(), g);
    const TSeriesGroupActive a = g->GetActive();
    Groups->SetState(item, a == gaYes ? cbChecked : a == gaNo ? cbUnchecked : cbGrayed);
  }
  RefreshAllCheck();
  if (Groups->Items()->Count() > 0) {
    index = std::clamp(index, 0, Groups->Items()->Count() - 1);
    Groups->SetItemIndex(index);
  }
  GroupsClick(this);
}

void TChartEditForm::GroupsClick(TObject*) {
  const int i = Groups->ItemIndex();
  auto* group = i >= GroupOffset() ? dynamic_cast<TSeriesGroup*>(Groups->Items()->Objects(i)) : nullptr;
  if (LBSeries->SeriesGroup() != group) LBSeries->SetSeriesGroup(group);
  BDeleteGroup->SetEnabled(Groups->ItemIndex() >= GroupOffset());
  BRenameGroup->SetEnabled(BDeleteGroup->Enabled());
}

void TChartEditForm::GroupsClickCheck(TObject*) {
  const int i = Groups->ItemIndex();
  if (!FChart || i < 0) return;
  if (i < GroupOffset()) {
    const bool on = Groups->Checked(0);
    for (int k = 0; k < FChart->NumberOfSeries(); ++k) FChart->SeriesAt(k)->SetActive(on);
  } else if (auto* g = dynamic_cast<TSeriesGroup*>(Groups->Items()->Objects(i))) {
    const TCheckBoxState st = Groups->State(i);
    if (st == cbChecked) g->SetActive(gaYes);
    else if (st == cbUnchecked) g->SetActive(gaNo);
  }
  RefreshAllCheck();
}

void TChartEditForm::GroupsDragOver(TObject*, TObject* Source, int X, int Y, TDragState, bool& Accept) {
  auto* list = dynamic_cast<TChartListBox*>(Source);
  Accept = list != nullptr;
  if (!list) return;
  const int i = Groups->ItemAtPos(Point(X, Y), true);
  if (i < GroupOffset()) return;
  auto* group = dynamic_cast<TSeriesGroup*>(Groups->Items()->Objects(i));
  TChartSeries* s = list->SelectedSeries();
  Accept = group && s && group->Series()->IndexOf(s) < 0;
}

void TChartEditForm::GroupsDragDrop(TObject*, TObject* Source, int X, int Y) {
  auto* list = dynamic_cast<TChartListBox*>(Source);
  TChartSeries* s = list ? list->SelectedSeries() : nullptr;
  const int target = Groups->ItemAtPos(Point(X, Y), true);
  if (!s || target < 0) return;
  const int before = Groups->ItemIndex();
  if (target >= GroupOffset()) {
    auto* group = dynamic_cast<TSeriesGroup*>(Groups->Items()->Objects(target));
    if (!group || group->Series()->IndexOf(s) >= 0) return;
    group->Series()->Add(s);
  }
  if (before >= GroupOffset())
    if (auto* old = dynamic_cast<TSeriesGroup*>(Groups->Items()->Objects(before))) old->Series()->Remove(s);
  FillGroups();
  Groups->SetItemIndex(std::min(target, Groups->Items()->Count() - 1));
  GroupsClick(this);
}

void TChartEditForm::BAddGroupClick(TObject*) {
  std::string name;
  if (!FChart || !InputQuery("Add new group", "Group name:", name)) return;
  FChart->SeriesList()->AddGroup(name);
  FillGroups();
  Groups->SetItemIndex(Groups->Items()->Count() - 1);
  GroupsClick(this);
}

void TChartEditForm::BRenameGroupClick(TObject*) {
  const int i = Groups->ItemIndex();
  auto* g = i >= GroupOffset() ? dynamic_cast<TSeriesGroup*>(Groups->Items()->Objects(i)) : nullptr;
  if (!g) return;
  std::string name = Groups->Items()->Strings(i);
  if (!InputQuery("Change group name", "Group name:", name)) return;
  g->SetName(name);
  FillGroups();
}

void TChartEditForm::BDeleteGroupClick(TObject*) {
  const int i = Groups->ItemIndex();
  auto* g = i >= GroupOffset() ? dynamic_cast<TSeriesGroup*>(Groups->Items()->Objects(i)) : nullptr;
  if (!g || !AskDeleteConfirmation(Groups->Items()->Strings(i), this)) return;
  delete g;
  FillGroups();
}

// ---- Data tab --------------------------------------------------------------------------------

void TChartEditForm::SBGridTextClick(TObject*) { ChartGrid1->SetShowLabels(SBGridText->Down()); }
void TChartEditForm::SBGridColClick(TObject*) { ChartGrid1->SetShowColors(SBGridCol->Down()); }
void TChartEditForm::SBGrid3DClick(TObject*) { ChartGrid1->SetGrid3D(SBGrid3D->Down()); }
void TChartEditForm::SBGridXClick(TObject*) { ChartGrid1->SetShowXValues(SBGridX->Down() ? cgsYes : cgsNo); }

void TChartEditForm::PopupDataPopup(TObject*) {
  TColor color = clDefault;
  const bool series = ChartGrid1->CurrentCellColor(color) != nullptr;
  EditColor1->SetVisible(series);
  DefaultColor1->SetVisible(series && color != clDefault);
  Makenullpoint1->SetVisible(series && color != clNone);
  N1->SetVisible(series);
}

void TChartEditForm::EditColor1Click(TObject*) { ChartGrid1->EditCurrentColor(); }
void TChartEditForm::DefaultColor1Click(TObject*) { ChartGrid1->SetCurrentColor(clDefault); }
void TChartEditForm::Makenullpoint1Click(TObject*) { ChartGrid1->SetCurrentColor(clNone); }
void TChartEditForm::Insertrow1Click(TObject*) { ChartGrid1->AppendRow(); }
void TChartEditForm::Deleterow1Click(TObject*) { ChartGrid1->DeleteRow(); }

void TChartEditForm::extfont1Click(TObject*) {
  if (!RunFontDialog(this, ChartGrid1->Font())) return;
  ChartGrid1->Canvas()->Font()->Assign(ChartGrid1->Font());
  ChartGrid1->SetDefaultRowHeight(ChartGrid1->Canvas()->TextHeight("W") + 2);
}

void TChartEditForm::GridMouseDown(TObject*, TMouseButton Button, TShiftState Shift, int, int) {
  if (Button != mbRight || !Shift.Contains(ssAlt) || !FChart || FChart->NumberOfSeries() == 0) return;
  if (!HasZValueList(FChart->SeriesAt(0))) return;
  ChartGrid1->SetGrid3D(!ChartGrid1->Grid3D());
  SBGrid3D->SetDown(ChartGrid1->Grid3D());
}

void TChartEditForm::AxisOrientationChanged() {
  if (SeriesPage) SeriesPage->FillAxisCombos();
}

void TChartEditForm::ToolAdded(TObject* Tool) {
  auto* tool = dynamic_cast<TGrafCustomTool*>(Tool);
  if (Tree->Visible() && ToolsNode && tool) Tree->Items()->AddChildObject(ToolsNode, tool->ToolTypeName(), tool);
}

void TChartEditForm::ToolRemoved(TObject* Tool) {
  if (!Tree->Visible() || !ToolsNode) return;
  for (int i = ToolsNode->Count() - 1; i >= 0; --i)
    if (ToolsNode->Item(i)->Data() == Tool) ToolsNode->Item(i)->Delete();
}

// ---- Closing -------------------------------------------------------------------------------

void TChartEditForm::BCloseClick(TObject*) { SetModalResult(mrCancel); }

void TChartEditForm::FormCloseQuery(TObject*, bool& CanClose) {
  CanClose = true;
  if (SeriesPage) SeriesPage->FormCloseQuery(SeriesPage, CanClose);
  if (CanClose) SetModalResult(mrCancel);
}

void TChartEditForm::FormDestroy(TObject*) {
  if (Tree->Visible() && FTreeBuilt) {
    PutBackTabs();
    SetWidth(PageWidth);
  }
  SavePlace();
}

void RegisterChartEditorWindowClasses() { RegisterClasses({&TChartEditForm::StaticClass()}); }
