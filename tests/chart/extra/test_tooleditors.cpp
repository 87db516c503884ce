// The further tools' own editor forms, found by the class name the tool
// answers and embedded as the tools page embeds them, with the tool in Tag:
// each loads the tool without writing back, and a change in a control
// reaches the tool.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "chart/core/chart.h"
#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/graftoolsgallery.h"
#include "chart/extra/extraregister.h"
#include "chart/extra/ganttch.h"
#include "chart/extra/grafextralegendtool.h"
#include "chart/extra/grafgantttool.h"
#include "chart/extra/graflegendscrollbar.h"
#include "chart/extra/graflighting.h"
#include "chart/extra/grafpagenumtool.h"
#include "chart/extra/grafpietool.h"
#include "chart/extra/grafselectortool.h"
#include "chart/extra/grafseriesbandtool.h"
#include "chart/extra/graftransposetool.h"
#include "chart/series/grafdatatable.h"
#include "chart/series/grafsurfa.h"
#include "chart/series/grafsurfacetool.h"
#include "chart/series/graftools.h"
#include "chart/series/series.h"
#include "chart/series/series_pie.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "support/gui/guitest.h"

namespace {

template <class T>
T* Find(TComponent* Owner, const char* Name) {
  T* c = Owner ? dynamic_cast<T*>(Owner->FindComponent(Name)) : nullptr;
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

class ToolEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    RegisterChartEditorUnits();
    RegisterExtraToolTypes();
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(20, 20, 800, 500);
    Chart = new TChart(Host.get());
    Chart->SetName("Chart1");
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 280, 200);
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(300, 0, 480, 320);
    Host->Show();
  }
  void TearDown() override { Host.reset(); }

  template <class T>
  T* AddSeries(const std::string& Title) {
    auto* s = new T(Host.get());
    s->SetParentChart(Chart);
    s->SetTitle(Title);
    return s;
  }
  template <class T>
  T* AddTool() {
    auto* t = new T(Host.get());
    Chart->Tools()->AddTool(t);
    return t;
  }
  // The tool's editor form, as the tools page finds and embeds it.
  TCustomForm* Open(TGrafCustomTool* Tool) {
    TClass cls = GetClass(Tool->EditorFormClassName());
    EXPECT_NE(cls, nullptr) << Tool->EditorFormClassName();
    if (!cls) return nullptr;
    auto* form = dynamic_cast<TCustomForm*>(CreateComponentOfClass(cls, Host.get()));
    if (!form) return nullptr;
    form->SetAlign(alClient);
    EmbedEditorForm(form, Sheet, Tool);
    return form;
  }

  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
};

}  // namespace

TEST_F(ToolEditorTest, ScrollBarEditorLoadsAndEditsTheBar) {
  auto* bar = AddTool<TLegendScrollBar>();
  bar->SetSize(22);
  bar->SetBevel(bvNone);
  TCustomForm* f = Open(bar);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Caption(), "ScrollbarEditor");
  EXPECT_EQ(Find<TEdit>(f, "Edit1")->Text(), "22");
  EXPECT_EQ(Find<TComboBox>(f, "ComboBox1")->ItemIndex(), 0);
  EXPECT_EQ(Find<TButtonPen>(f, "ButtonPen1")->LinkedPen(), bar->Pen());
  EXPECT_EQ(bar->Size(), 22);  // loading wrote nothing back
  Find<TComboBox>(f, "ComboBox1")->UserSelected(1);
  Find<TEdit>(f, "Edit1")->SetText("40");
  Find<TEdit>(f, "Edit2")->SetText("500");
  Find<TCheckBox>(f, "CBAuto")->SetChecked(false);
  EXPECT_EQ(bar->Bevel(), bvLowered);
  EXPECT_EQ(bar->Size(), 40);
  EXPECT_EQ(bar->InitialDelay(), 500);
  EXPECT_FALSE(bar->AutoRepeat());
}

TEST_F(ToolEditorTest, LightingEditorShowsTheCentreForMinusOneWithoutStoringIt) {
  auto* light = AddTool<TLightTool>();
  light->SetFactor(30);
  TCustomForm* f = Open(light);
  ASSERT_NE(f, nullptr);
  auto* left = Find<TTrackBar>(f, "TBLeft");
  EXPECT_EQ(left->Max(), 280);
  EXPECT_EQ(Find<TTrackBar>(f, "TBTop")->Max(), 200);
  EXPECT_EQ(left->Position(), 140);
  EXPECT_EQ(Find<TTrackBar>(f, "TBTop")->Position(), 100);
  EXPECT_EQ(Find<TTrackBar>(f, "TBFactor")->Position(), 30);
  EXPECT_EQ(light->Left(), -1);  // the centre is shown, not stored
  left->SetPosition(50);
  Find<TComboBox>(f, "CBStyle")->UserSelected(1);
  Find<TCheckBox>(f, "CheckBox2")->SetChecked(true);
  EXPECT_EQ(light->Left(), 50);
  EXPECT_EQ(light->Style(), lsSpotLight);
  EXPECT_TRUE(light->FollowMouse());
}

TEST_F(ToolEditorTest, SelectorEditorSetsHandlesAndPermissions) {
  auto* sel = AddTool<TSelectorTool>();
  TCustomForm* f = Open(sel);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(Find<TButtonColor>(f, "ButtonColor1")->LinkedObject(), sel->Brush());
  Find<TEdit>(f, "Edit1")->SetText("7");
  Find<TCheckBox>(f, "CBAllowDrag")->SetChecked(false);
  Find<TCheckBox>(f, "CBResizeChart")->SetChecked(true);
  EXPECT_EQ(sel->HandleSize(), 7);
  EXPECT_FALSE(sel->AllowDrag());
  EXPECT_TRUE(sel->AllowResizeChart());
}

TEST_F(ToolEditorTest, PieEditorOffersOnlyPieSeries) {
  auto* pie = AddTool<TPieTool>();
  TCustomForm* f = Open(pie);
  ASSERT_NE(f, nullptr);
  auto* combo = Find<TComboBox>(f, "CBPieSeries");
  EXPECT_FALSE(combo->Enabled());  // no pie on the chart
  EXPECT_EQ(Find<TLabel>(f, "Label1")->Caption(), "Pie");
  delete f;

  AddSeries<TLineSeries>("Line");
  auto* p = AddSeries<TPieSeries>("Shares");
  f = Open(pie);
  combo = Find<TComboBox>(f, "CBPieSeries");
  ASSERT_EQ(combo->Items()->Count(), 1);
  EXPECT_EQ(combo->Items()->Strings(0), "Shares");
  EXPECT_TRUE(combo->Enabled());
  combo->UserSelected(0);
  Find<TRadioGroup>(f, "RGStyle")->SetItemIndex(1);
  EXPECT_EQ(pie->Series(), p);
  EXPECT_EQ(pie->Style(), ptExplode);
}

TEST_F(ToolEditorTest, TransposeEditorRunsOnlyOnceAGridIsChosen) {
  AddSeries<TLineSeries>("Line");
  auto* grid = AddSeries<TSurfaceSeries>("Grid");
  grid->AddPoint3D(1, 5, 3);
  auto* tool = AddTool<TGridTransposeTool>();
  TCustomForm* f = Open(tool);
  ASSERT_NE(f, nullptr);
  auto* combo = Find<TComboBox>(f, "CBSeries");
  auto* button = Find<TButton>(f, "BTranspose");
  ASSERT_EQ(combo->Items()->Count(), 1);
  EXPECT_FALSE(button->Enabled());
  combo->UserSelected(0);
  EXPECT_EQ(tool->Series(), grid);
  ASSERT_TRUE(button->Enabled());
  button->Click();
  EXPECT_EQ(grid->XValues()->GetValue(0), 3);
  EXPECT_EQ(grid->ZValueAt(0), 1);
}

TEST_F(ToolEditorTest, SeriesBandEditorChoosesBothBordersAndTransparency) {
  auto* a = AddSeries<TLineSeries>("Low");
  auto* b = AddSeries<TLineSeries>("High");
  auto* band = AddTool<TSeriesBandTool>();
  band->SetSeries(a);
  TCustomForm* f = Open(band);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(Find<TComboBox>(f, "CBSeries")->ItemIndex(), 1);
  auto* second = Find<TComboBox>(f, "CBSeries2");
  ASSERT_EQ(second->Items()->Count(), 3);
  EXPECT_EQ(second->ItemIndex(), 0);  // "(none)"
  second->UserSelected(2);
  Find<TEdit>(f, "ETransp")->SetText("35");
  Find<TCheckBox>(f, "CBDrawBehindSeries")->SetChecked(false);
  EXPECT_EQ(band->Series2(), b);
  EXPECT_EQ(band->Transparency(), 35);
  EXPECT_FALSE(band->DrawBehindSeries());
  second->UserSelected(0);
  EXPECT_EQ(band->Series2(), nullptr);
}

TEST_F(ToolEditorTest, GanttEditorListsGanttSeriesOnlyAndKeepsTheToleranceWhileLoading) {
  AddSeries<TLineSeries>("Line");
  auto* g = AddSeries<TGanttSeries>("Plan");
  auto* tool = AddTool<TGanttTool>();
  tool->SetMinPixels(9);
  TCustomForm* f = Open(tool);
  ASSERT_NE(f, nullptr);
  auto* combo = Find<TComboBox>(f, "CBSeries");
  ASSERT_EQ(combo->Items()->Count(), 2);  // "(none)" and the gantt series
  EXPECT_EQ(combo->Items()->Objects(1), g);
  EXPECT_EQ(tool->MinPixels(), 9);
  EXPECT_EQ(Find<TEdit>(f, "Edit1")->Text(), "9");
  combo->UserSelected(1);
  EXPECT_EQ(tool->Series(), g);
  auto* cursor = Find<TComboBox>(f, "CBCursorDrag");
  const int cross = cursor->Items()->IndexOf("Cross");
  ASSERT_GE(cross, 0);
  cursor->UserSelected(cross);
  EXPECT_EQ(tool->CursorDrag(), crCross);
  Find<TCheckBox>(f, "CBAllowResize")->SetChecked(false);
  EXPECT_FALSE(tool->AllowResize());
}

TEST_F(ToolEditorTest, EveryToolIsInTheGalleryUnderItsFamilyAndItsEditorOpens) {
  struct Row {
    TClass Class;
    const char* Tab;
    const char* TypeName;
  };
  const Row rows[] = {
      // The chart core's and series' tools.
      {&TCursorTool::StaticClass(), "Series", "Cursor"},
      {&TDragMarksTool::StaticClass(), "Series", "Drag Marks"},
      {&TAxisArrowTool::StaticClass(), "Axis", "Axis Arrows"},
      {&TDrawLineTool::StaticClass(), "Series", "Draw Line"},
      {&TNearestTool::StaticClass(), "Series", "Nearest Point"},
      {&TColorBandTool::StaticClass(), "Axis", "Color Band"},
      {&TColorLineTool::StaticClass(), "Axis", "Color Line"},
      {&TRotateTool::StaticClass(), "Other", "Rotate"},
      {&TChartImageTool::StaticClass(), "Series", "Image"},
      {&TMarksTipTool::StaticClass(), "Series", "Mark Tips"},
      {&TAnnotationTool::StaticClass(), "Other", "Annotation"},
      {&TSeriesAnimationTool::StaticClass(), "Series", "Series Animation"},
      {&TGridBandTool::StaticClass(), "Axis", "Grid Band"},
      {&TAxisScrollTool::StaticClass(), "Axis", "Axis Scroll"},
      {&TRectangleTool::StaticClass(), "Other", "Rectangle"},
      {&TClipSeriesTool::StaticClass(), "Series", "Clip Series"},
      {&TDragPointTool::StaticClass(), "Series", "Drag Point"},
      {&TDataTableTool::StaticClass(), "Other", "Data Table"},
      {&TSurfaceNearestTool::StaticClass(), "Series", "Surface Nearest"},
      // The further tools.
      {&TLegendScrollBar::StaticClass(), "Other", "Legend Scrollbar"},
      {&TLightTool::StaticClass(), "Other", "2D Lighting"},
      {&TSelectorTool::StaticClass(), "Other", "Selector"},
      {&TExtraLegendTool::StaticClass(), "Series", "Extra Legend"},
      {&TSeriesBandTool::StaticClass(), "Series", "Series Band"},
      {&TPieTool::StaticClass(), "Series", "Pie Slices"},
      {&TGanttTool::StaticClass(), "Series", "Gantt Drag"},
      {&TGridTransposeTool::StaticClass(), "Other", "3D Grid Transpose"},
      {&TPageNumTool::StaticClass(), "Other", "Page Number"},
  };
  // The table holds every registered tool type.
  EXPECT_EQ(ToolTypeRegistry()->Count(), static_cast<int>(std::size(rows)));
  TGrafToolsGallery gallery(Host.get());
  gallery.FormShow(&gallery);
  auto tabItems = [&](const std::string& Tab) {
    std::map<std::string, TObject*> items;
    const int t = gallery.TabControl1->Tabs()->IndexOf(Tab);
    EXPECT_GE(t, 0) << Tab;
    gallery.TabControl1->SetTabIndex(t);
    gallery.TabControl1Change(gallery.TabControl1);
    for (int i = 0; i < gallery.LBTool->Count(); ++i)
      items[gallery.LBTool->Items()->Strings(i)] = gallery.LBTool->Items()->Objects(i);
    return items;
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.TypeName);
    const auto items = tabItems(r.Tab);
    auto it = items.find(r.TypeName);
    ASSERT_NE(it, items.end());
    EXPECT_EQ(reinterpret_cast<TClass>(it->second), r.Class);
    auto* tool = dynamic_cast<TGrafCustomTool*>(CreateComponentOfClass(r.Class, Host.get()));
    ASSERT_NE(tool, nullptr);
    Chart->Tools()->AddTool(tool);
    std::string lower = tool->EditorFormClassName();
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_NE(GetClass(lower), nullptr);  // found without regard to case
    TCustomForm* f = Open(tool);
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->Visible());
    delete f;
  }
}
