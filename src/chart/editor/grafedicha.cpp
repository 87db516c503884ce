#include "chart/editor/grafedicha.h"

#include <algorithm>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafedigene.h"
#include "chart/editor/grafexport.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafprevi.h"
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
  LBSeries = nullptr;
  ChartGrid1 = nullptr;
  ChartGridNavigator1 = nullptr;

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
  if (Operation == opRemove && AComponent == FChart) FChart = nullptr;
}

// ---- Chart, place and help ------------------------------------------------------------

void TChartEditForm::SetEditedChart(TCustomChart* Chart) {
  if (FChart != Chart) {
    if (FChart) FChart->RemoveFreeNotification(this);
    FChart = Chart;
    if (FChart) FChart->FreeNotification(this);
  }
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
  LBSeriesRefreshButtons(this);
}

void TChartEditForm::SelectFirstSeries() { LBSeriesRefreshButtons(this); }

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
}

void TChartEditForm::CreateChartPage(TTabSheet* Tab) {
  const int index = Tab->PageIndex();
  TForm* page = nullptr;
  switch (index) {
    case 1: page = new TFormGrafGeneral(this, FChart); break;
    default: break;
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
}

// ---- Main tabs ------------------------------------------------------------------------------

bool TChartEditForm::SeriesPageMayChange() { return true; }

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

void TChartEditForm::ShowSeriesPage() {}

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
  if (TTabSheet* t = isTab(MainPage)) {
    PutBackMainTab();
    MainPage->SetActivePage(t);
    MainPageChange(this);
    t->SetParent(TreeHost);
    t->SetAlign(alClient);
  } else if (TTabSheet* s = isTab(SubPage)) {
    PutBackTabs();
    SubPage->SetActivePage(s);
    SubPageChange(this);
    s->SetParent(TreeHost);
    s->SetAlign(alClient);
  } else if (data == SubPage) {
    PutBackTabs();
    SubPage->SetParent(TreeHost);
    TabSeriesList->SetTabVisible(false);
    SubPageChange(this);
  }
}

void TChartEditForm::TreeEditing(TObject*, TTreeNode*, bool& AllowEdit) { AllowEdit = false; }

void TChartEditForm::FormResize(TObject*) {
  if (Tree->Visible() && FTreeBuilt) PageWidth = Width() - Tree->Width() - TreeSplitter->Width();
}

// ---- Series list ---------------------------------------------------------------------------

void TChartEditForm::LBSeriesRefreshButtons(TObject*) {
  BAddSeries->SetEnabled(EditorOptions.Contains(ceAdd));
  for (TControl* c : std::initializer_list<TControl*>{BDeleteSeries, BRenameSeries, BChangeTypeSeries, BCloneSeries,
                                                      BMoveDown, BMoveUP})
    c->SetEnabled(false);
  BMoveUP->SetVisible(EditorOptions.Contains(ceOrderSeries));
  BMoveDown->SetVisible(EditorOptions.Contains(ceOrderSeries));
}

void TChartEditForm::BMoveUPClick(TObject*) {}
void TChartEditForm::BMoveDownClick(TObject*) {}
void TChartEditForm::BAddSeriesClick(TObject*) {}
void TChartEditForm::BDeleteSeriesClick(TObject*) {}
void TChartEditForm::BRenameSeriesClick(TObject*) {}
void TChartEditForm::BCloneSeriesClick(TObject*) {}
void TChartEditForm::BChangeTypeSeriesClick(TObject*) {}
void TChartEditForm::CBNamesClick(TObject*) {
  BRenameSeries->SetCaption(CBNames->Checked() ? "&Name..." : "&Title...");
}
void TChartEditForm::LBSeriesEditSeries(TObject*, int) {}
void TChartEditForm::LBSeriesOtherItemsChange(TObject*) {}
void TChartEditForm::LBSeriesChangeActive(TObject*, TCustomChartSeries*) { FillGroups(); }
void TChartEditForm::SeriesPageAfterDelete() {}

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

void TChartEditForm::GroupsDragOver(TObject*, TObject*, int, int, TDragState, bool& Accept) { Accept = false; }
void TChartEditForm::GroupsDragDrop(TObject*, TObject*, int, int) {}

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

void TChartEditForm::SBGridTextClick(TObject*) {}
void TChartEditForm::SBGridColClick(TObject*) {}
void TChartEditForm::SBGrid3DClick(TObject*) {}
void TChartEditForm::SBGridXClick(TObject*) {}
void TChartEditForm::PopupDataPopup(TObject*) {}
void TChartEditForm::EditColor1Click(TObject*) {}
void TChartEditForm::DefaultColor1Click(TObject*) {}
void TChartEditForm::Makenullpoint1Click(TObject*) {}
void TChartEditForm::Insertrow1Click(TObject*) {}
void TChartEditForm::Deleterow1Click(TObject*) {}
void TChartEditForm::extfont1Click(TObject*) {}
void TChartEditForm::GridMouseDown(TObject*, TMouseButton, TShiftState, int, int) {}
void TChartEditForm::AxisOrientationChanged() {}
void TChartEditForm::ToolAdded(TObject*) {}
void TChartEditForm::ToolRemoved(TObject*) {}

// ---- Closing -------------------------------------------------------------------------------

void TChartEditForm::BCloseClick(TObject*) { SetModalResult(mrCancel); }

void TChartEditForm::FormCloseQuery(TObject*, bool& CanClose) {
  CanClose = true;
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
