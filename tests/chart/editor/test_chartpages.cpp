// The chart-wide pages of the chart editor: 3D, paging, walls, titles and
// panel. Each is embedded as the editor window does it; what its controls
// change is read back from the chart.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "chart/core/pagenumclass.h"
#include "chart/editor/grafedi3d.h"
#include "chart/editor/grafediaxis.h"
#include "chart/editor/grafedilege.h"
#include "chart/editor/grafedipage.h"
#include "chart/editor/grafedipane.h"
#include "chart/editor/grafedititl.h"
#include "chart/editor/grafediwall.h"
#include "chart/editor/grafstore.h"
#include "chart/series/graftools.h"
#include "chart/series/series_pie.h"
#include "dialogtest.h"
#include "platform/rtl/streams.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

using dialogtest::Find;
using editortest::AddLine;

namespace {

// A canvas that draws without the device interface, as the OpenGL one does.
class TNoGdiCanvas : public TGrafCanvas3D {
public:
  bool RendersWithoutGdi() override { return true; }
};

class ChartPagesTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(20, 20, 640, 320);
    Chart = new TChart(Host.get());
    Chart->SetName("Chart1");
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 220, 220);
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(220, 0, 410, 260);
    Host->Show();
  }
  void TearDown() override {
    Host.reset();
    EditorDialogTest::TearDown();
  }
  template <class T>
  T* Embed(T* Page) {
    EmbedFormInSheet(Page, Sheet);
    return Page;
  }
  static void ShowSheet(TPageControl* Pages, TTabSheet* Sheet) {
    Pages->SetActivePage(Sheet);
    if (Pages->OnChange) Pages->OnChange(Pages);
  }
  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
};

// ---- 3D -------------------------------------------------------------------------

TEST_F(ChartPagesTest, ThreeDControlsReachTheViewOptions) {
  Chart->View3DOptions()->SetOrthogonal(false);
  TFormGraf3D* page = Embed(new TFormGraf3D(Host.get(), Chart));
  Find<TEdit>(page, "SE3d")->SetText("40");
  EXPECT_EQ(Chart->Chart3DPercent(), 40);
  Find<TTrackBar>(page, "SBZoom")->SetPosition(150);
  EXPECT_EQ(Chart->View3DOptions()->Zoom(), 150);
  EXPECT_EQ(Find<TLabel>(page, "LZoom")->Caption(), "150%");
  Find<TTrackBar>(page, "SBRotation")->SetPosition(300);
  EXPECT_EQ(Chart->View3DOptions()->Rotation(), 300);
  Find<TTrackBar>(page, "SBElevation")->SetPosition(280);
  EXPECT_EQ(Chart->View3DOptions()->Elevation(), 280);
  Find<TTrackBar>(page, "SBPerspec")->SetPosition(60);
  EXPECT_EQ(Chart->View3DOptions()->Perspective(), 60);
  Find<TEdit>(page, "ETextSize")->SetText("120");
  EXPECT_EQ(Chart->View3DOptions()->FontZoom(), 120);
  Find<TCheckBox>(page, "CBClipPoints")->SetChecked(false);
  EXPECT_FALSE(Chart->ClipPoints());
  Find<TCheckBox>(page, "CBView3d")->SetChecked(false);
  EXPECT_FALSE(Chart->View3D());
  EXPECT_FALSE(Find<TControl>(page, "CBOrthogonal")->Enabled());
  EXPECT_FALSE(Find<TControl>(page, "SBElevation")->Enabled());
}

TEST_F(ChartPagesTest, ThreeDEnablingFollowsTheCanvasAndThePie) {
  const struct {
    bool Pie;
    bool Orthogonal;
    bool NoGdi;
    bool OrthoBox, Elevation, Rotation;
  } cases[] = {
      {true, false, false, false, true, false},  // a pie on GDI: no orthogonal view
      {false, true, false, true, false, false},  // orthogonal on GDI: looks from the front
      {false, true, true, true, true, true},     // the OpenGL canvas turns freely
      {true, false, true, true, true, true},
  };
  for (const auto& c : cases) {
    TChart chart(Host.get());
    chart.SetParent(Host.get());
    if (c.Pie) {
      auto* pie = new TPieSeries(&chart);
      pie->SetParentChart(&chart);
    }
    chart.View3DOptions()->SetOrthogonal(c.Orthogonal);
    if (c.NoGdi) chart.ReplaceCanvas(std::make_unique<TNoGdiCanvas>());
    auto* page = Embed(new TFormGraf3D(Host.get(), &chart));
    EXPECT_EQ(Find<TControl>(page, "CBOrthogonal")->Enabled(), c.OrthoBox) << c.Pie << c.NoGdi;
    EXPECT_EQ(Find<TControl>(page, "EOrthoAngle")->Enabled(), c.OrthoBox) << c.Pie << c.NoGdi;
    EXPECT_EQ(Find<TControl>(page, "SBElevation")->Enabled(), c.Elevation) << c.Pie << c.NoGdi;
    EXPECT_EQ(Find<TControl>(page, "SBRotation")->Enabled(), c.Rotation) << c.Pie << c.NoGdi;
    EXPECT_EQ(Find<TTrackBar>(page, "SBElevation")->Min(), c.NoGdi ? 0 : 270);
    delete page;
  }
}

TEST_F(ChartPagesTest, ThreeDWideOffsetsWidenTheirBar) {
  Chart->View3DOptions()->SetHorizOffset(2000);
  TFormGraf3D* page = Embed(new TFormGraf3D(Host.get(), Chart));
  auto* bar = Find<TTrackBar>(page, "SBHOffset");
  EXPECT_EQ(bar->Min(), -3000);
  EXPECT_EQ(bar->Max(), 3000);
  EXPECT_EQ(bar->Position(), 2000);
  EXPECT_EQ(Find<TTrackBar>(page, "SBVOffset")->Max(), 1500);
  EXPECT_EQ(Chart->View3DOptions()->HorizOffset(), 2000);
}

TEST_F(ChartPagesTest, ThreeDViewsCopyTheirProjection) {
  AddLine(*Chart, "Line", {1, 2});
  Chart->View3DOptions()->SetRotation(10);  // no view has this
  TFormGraf3D* page = Embed(new TFormGraf3D(Host.get(), Chart));
  auto* pages = Find<TPageControl>(page, "PageControl1");
  auto* gallery = Find<TChartGalleryPanel>(page, "ChartGalleryPanel1");
  ShowSheet(pages, Find<TTabSheet>(page, "TabViews"));
  ASSERT_EQ(gallery->Charts.Count(), 6);
  EXPECT_EQ(gallery->SelectedChart, nullptr);
  EXPECT_EQ(gallery->ChartAt(4)->Title()->Text()->Strings(0), "3D Right");
  gallery->SelectChart(gallery->ChartAt(4));
  TView3DOptions* v = Chart->View3DOptions();
  EXPECT_TRUE(Chart->View3D());
  EXPECT_FALSE(v->Orthogonal());
  EXPECT_EQ(v->Rotation(), 300);
  EXPECT_EQ(v->Elevation(), 360);
  EXPECT_EQ(v->OrthoAngle(), 45);
  gallery->SelectChart(gallery->ChartAt(2));
  EXPECT_TRUE(v->Orthogonal());
  EXPECT_EQ(v->OrthoAngle(), 135);
  // Back on the views, the chart's own view is found again.
  ShowSheet(pages, Find<TTabSheet>(page, "Tab3D"));
  ShowSheet(pages, Find<TTabSheet>(page, "TabViews"));
  EXPECT_EQ(gallery->SelectedChart, gallery->ChartAt(2));
  // The editor window's enabling always brings "Options" back.
  page->ApplyEnabling();
  EXPECT_EQ(pages->ActivePage(), Find<TTabSheet>(page, "Tab3D"));
}

// ---- Paging ----------------------------------------------------------------------

TEST_F(ChartPagesTest, PagingPageSetsPointsPerPageAndCountsPages) {
  AddLine(*Chart, "Line", {1, 2, 3, 4, 5, 6, 7});
  TFormGrafPage* page = Embed(new TFormGrafPage(Host.get(), Chart));
  auto* points = Find<TEdit>(page, "SEPointsPerPage");
  auto* label = Find<TLabel>(page, "LabelPages");
  EXPECT_EQ(label->Caption(), "Page 1 of 1");
  points->SetText("3");
  EXPECT_EQ(Chart->MaxPointsPerPage(), 3);
  EXPECT_EQ(label->Caption(), "Page 1 of 3");
  Find<TChartPageNavigator>(page, "ChartPageNavigator1")->BtnClick(nbLast);
  EXPECT_EQ(Chart->Page(), 3);
  EXPECT_EQ(label->Caption(), "Page 3 of 3");
  points->SetText("");
  EXPECT_EQ(Chart->MaxPointsPerPage(), 0);
  Find<TCheckBox>(page, "CBScaleLast")->SetChecked(false);
  EXPECT_FALSE(Chart->ScaleLastPage());
  Find<TCheckBox>(page, "CBPageLegend")->SetChecked(false);
  EXPECT_FALSE(Chart->Legend()->CurrentPage());
  // Without the page-number tool class there is no page-number box.
  EXPECT_FALSE(Find<TControl>(page, "CBPageNum")->Visible());
}

TEST_F(ChartPagesTest, PageNumberBoxCreatesTheToolOnce) {
  PageNumToolClass = &TMarksTipTool::StaticClass();
  auto* taken = new TComponent(Host.get());
  taken->SetName("ChartTool1");
  TFormGrafPage* page = Embed(new TFormGrafPage(Host.get(), Chart));
  auto* box = Find<TCheckBox>(page, "CBPageNum");
  EXPECT_TRUE(box->Visible());
  EXPECT_FALSE(box->Checked());
  box->SetChecked(true);
  ASSERT_EQ(Chart->Tools()->Count(), 1);
  TGrafCustomTool* tool = Chart->Tools()->ToolAt(0);
  EXPECT_EQ(tool->Name(), "ChartTool2");
  EXPECT_EQ(tool->Owner(), Host.get());
  EXPECT_TRUE(tool->Active());
  box->SetChecked(false);
  EXPECT_EQ(Chart->Tools()->Count(), 1);
  EXPECT_FALSE(tool->Active());
  PageNumToolClass = nullptr;
}

// ---- Walls ----------------------------------------------------------------------

TEST_F(ChartPagesTest, WallPageEditsOneWallAtATime) {
  TFormGrafWall* page = Embed(new TFormGrafWall(Host.get(), Chart->BottomWall()));
  auto* tabs = Find<TTabControl>(page, "TabSubWalls");
  auto choose = [](TTabControl* t, int i) {
    t->SetTabIndex(i);
    if (t->OnChange) t->OnChange(t);
  };
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_FALSE(Find<TControl>(page, "CBAutoHide")->Visible());
  EXPECT_FALSE(Find<TControl>(page, "CBDark3D")->Enabled());  // size 0
  Find<TEdit>(page, "SEWallSize")->SetText("4");
  EXPECT_EQ(Chart->BottomWall()->Size(), 4);
  EXPECT_TRUE(Find<TControl>(page, "CBDark3D")->Enabled());
  Find<TEdit>(page, "EAllSize")->SetText("10");
  for (TCustomChartWall* w : std::initializer_list<TCustomChartWall*>{Chart->LeftWall(), Chart->RightWall(),
                                                                       Chart->BottomWall(), Chart->BackWall()})
    EXPECT_EQ(w->Size(), 10);
  choose(tabs, 0);
  EXPECT_EQ(page->CurrentWall, Chart->LeftWall());
  EXPECT_EQ(Find<TEdit>(page, "SEWallSize")->Text(), "10");
  EXPECT_TRUE(Find<TControl>(page, "CBAutoHide")->Visible());
  Find<TCheckBox>(page, "CBAutoHide")->SetChecked(true);
  EXPECT_TRUE(Chart->LeftWall()->AutoHide());
  choose(tabs, 3);
  EXPECT_EQ(page->CurrentWall, Chart->BackWall());
  Find<TEdit>(page, "Edit1")->SetText("30");
  EXPECT_EQ(Chart->BackWall()->Transparency(), 30);
  Find<TCheckBox>(page, "CBView3dWalls")->SetChecked(false);
  EXPECT_FALSE(Chart->View3DWalls());
  EXPECT_EQ(Find<TButtonPen>(page, "BWallPen")->LinkedPen(), Chart->BackWall()->Pen());
}

// ---- Titles ---------------------------------------------------------------------

TEST_F(ChartPagesTest, TitlesPageEditsTheChosenTitle) {
  TFormGrafTitle* page = Embed(new TFormGrafTitle(Host.get(), Chart->Title(), Chart));
  auto* titles = Find<TComboBox>(page, "CBTitles");
  auto* memo = Find<TMemo>(page, "MText");
  EXPECT_EQ(titles->ItemIndex(), 0);
  const struct {
    int Item;
    TChartTitle* Title;
  } cases[] = {{3, Chart->Foot()}, {2, Chart->SubFoot()}, {1, Chart->SubTitle()}};
  for (const auto& c : cases) {
    titles->UserSelected(c.Item);
    EXPECT_EQ(page->CurrentTitle, c.Title) << c.Item;
    memo->SetText(std::string("Line ") + std::to_string(c.Item) + "\r\nsecond");
    ASSERT_EQ(c.Title->Text()->Count(), 2) << c.Item;
    EXPECT_EQ(c.Title->Text()->Strings(0), "Line " + std::to_string(c.Item));
  }
  EXPECT_EQ(Chart->Title()->Text()->Count(), 0);
  Find<TComboBox>(page, "CBAlign")->UserSelected(0);
  EXPECT_EQ(Chart->SubTitle()->Alignment(), taLeftJustify);
  Find<TCheckBox>(page, "CBAdjust")->SetChecked(false);
  EXPECT_FALSE(Chart->SubTitle()->AdjustFrame());
  // The shape editor's tabs joined the page and follow the chosen title.
  EXPECT_EQ(Find<TPageControl>(page, "PageControlTitle")->PageCount(), 6);
  EXPECT_EQ(page->TitleShapeEditor->Shape(), Chart->SubTitle());
}

TEST_F(ChartPagesTest, TitlePositionIsTypedOnlyWhenCustom) {
  Chart->Title()->Text()->Add("Pattern");
  TFormGrafTitle* page = Embed(new TFormGrafTitle(Host.get(), Chart->Title(), Chart));
  auto* left = Find<TEdit>(page, "ECustLeft");
  EXPECT_FALSE(left->Enabled());
  EXPECT_FALSE(Find<TControl>(page, "UDTop")->Enabled());
  left->SetText("35");
  EXPECT_FALSE(Chart->Title()->CustomPosition());
  EXPECT_NE(Chart->Title()->Left(), 35);
  Find<TCheckBox>(page, "CBCustPos")->SetChecked(true);
  EXPECT_TRUE(Chart->Title()->CustomPosition());
  EXPECT_TRUE(left->Enabled());
  left->SetText("35");
  Find<TEdit>(page, "ECustTop")->SetText("15");
  EXPECT_EQ(Chart->Title()->Left(), 35);
  EXPECT_EQ(Chart->Title()->Top(), 15);
}

// ---- Panel ----------------------------------------------------------------------

TEST_F(ChartPagesTest, PanelDefaultColourAndBorders) {
  Chart->SetColor(clWhite);
  TFormGrafPanel* page = Embed(new TFormGrafPanel(Host.get(), Chart));
  auto* def = Find<TCheckBox>(page, "CBColorDef");
  EXPECT_FALSE(def->Checked());
  EXPECT_TRUE(def->Enabled());
  guitest::TCommonDialogResponder colours;
  colours.Do([](TCommonDialog* d) {
    static_cast<TColorDialog*>(d)->Color = clBtnFace;
    return true;
  });
  Find<TButtonColor>(page, "BPanelColor")->Click();
  EXPECT_EQ(Chart->Color(), clBtnFace);
  EXPECT_TRUE(def->Checked());
  EXPECT_FALSE(def->Enabled());

  Find<TEdit>(page, "SEPanelBor")->SetText("6");
  EXPECT_EQ(Chart->BorderWidth(), 6);
  Find<TEdit>(page, "SEPanelWi")->SetText("3");
  EXPECT_EQ(Chart->BevelWidth(), 3);
  Find<TEdit>(page, "ERound")->SetText("12");
  EXPECT_EQ(Chart->BorderRound(), 12);
  Find<TComboBox>(page, "CBInner")->UserSelected(1);
  EXPECT_EQ(Chart->BevelInner(), bvLowered);
  Find<TComboBox>(page, "CBOuter")->UserSelected(0);
  EXPECT_EQ(Chart->BevelOuter(), bvNone);
  EXPECT_EQ(page->GradientEditor->TheGradient, Chart->Gradient());
}

TEST_F(ChartPagesTest, PanelBackImageControlsFollowThePicture) {
  TFormGrafPanel* page = Embed(new TFormGrafPanel(Host.get(), Chart));
  auto* browse = Find<TButton>(page, "BBrowseImage");
  const char* pictureControls[] = {"RGBitmap", "CBImageInside", "CBTransp"};
  EXPECT_EQ(browse->Caption(), "B&rowse...");
  for (const char* c : pictureControls) EXPECT_FALSE(Find<TControl>(page, c)->Enabled()) << c;
  TTempDir dir;
  const std::string file = dir.File("back.png");
  {
    TBitmap b(8, 6);
    b.Canvas()->Brush()->SetColor(clBlue);
    b.Canvas()->FillRect(Rect(0, 0, 8, 6));
    TPngImage png;
    png.Assign(&b);
    png.SaveToFile(file);
  }
  guitest::TCommonDialogResponder files;
  files.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = file;
    return true;
  });
  browse->Click();
  ASSERT_TRUE(Chart->BackImageAssigned());
  EXPECT_EQ(browse->Caption(), "Clea&r");
  for (const char* c : pictureControls) EXPECT_TRUE(Find<TControl>(page, c)->Enabled()) << c;
  EXPECT_FALSE(Find<TControl>(page, "ELeft")->Enabled());
  Find<TRadioGroup>(page, "RGBitmap")->SetItemIndex(3);
  EXPECT_EQ(Chart->BackImageMode(), pbmCustom);
  EXPECT_TRUE(Find<TControl>(page, "ELeft")->Enabled());
  Find<TEdit>(page, "ELeft")->SetText("20");
  EXPECT_EQ(Chart->BackImage()->Left(), 20);
  Find<TRadioGroup>(page, "RGBitmap")->SetItemIndex(1);
  EXPECT_FALSE(Find<TControl>(page, "ETop")->Enabled());
  browse->Click();
  EXPECT_FALSE(Chart->BackImageAssigned());
  EXPECT_EQ(browse->Caption(), "B&rowse...");
}

// Every page is registered by name and paints each of its tabs.
TEST_F(ChartPagesTest, EveryPageRendersEveryTab) {
  AddLine(*Chart, "Line", {1, 4, 2});
  for (const char* name : {"TFormGrafAxis", "TAxisMaxMin", "TFormGrafLegend", "TFormGraf3D", "TFormGrafPage",
                           "TFormGrafWall", "TFormGrafTitle", "TFormGrafPanel"})
    EXPECT_NE(GetClass(name), nullptr) << name;
  std::vector<TForm*> pages = {new TFormGrafAxis(Host.get(), Chart->LeftAxis()),
                               TFormGrafLegend::CreateForLegend(Host.get(), Chart->Legend()),
                               new TFormGraf3D(Host.get(), Chart),
                               new TFormGrafPage(Host.get(), Chart),
                               new TFormGrafWall(Host.get(), Chart->BackWall()),
                               new TFormGrafTitle(Host.get(), Chart->Title(), Chart),
                               new TFormGrafPanel(Host.get(), Chart)};
  for (TForm* page : pages) {
    Embed(page);
    std::vector<TPageControl*> controls;
    for (int i = 0; i < page->ComponentCount(); ++i)
      if (auto* pc = dynamic_cast<TPageControl*>(page->Components(i))) controls.push_back(pc);
    for (TPageControl* pc : controls) {
      for (int t = 0; t < pc->PageCount(); ++t) {
        EXPECT_NO_THROW({
          ShowSheet(pc, pc->Pages(t));
          TBitmap picture;
          EXPECT_TRUE(guitest::ControlPicture(page, picture));
          EXPECT_EQ(picture.Width(), page->Width());
        }) << page->ClassName() << " " << pc->Pages(t)->Caption();
      }
    }
    delete page;
  }
}

// The walls, titles and 3D view written through the pages, as the chart
// file keeps them.
TEST_F(ChartPagesTest, EditedPagesInTheChartFile) {
  TFormGraf3D* view = Embed(new TFormGraf3D(Host.get(), Chart));
  Find<TCheckBox>(view, "CBOrthogonal")->SetChecked(false);
  Find<TTrackBar>(view, "SBRotation")->SetPosition(320);
  Find<TEdit>(view, "SE3d")->SetText("25");
  delete view;
  TFormGrafWall* walls = Embed(new TFormGrafWall(Host.get(), Chart->LeftWall()));
  Find<TEdit>(walls, "EAllSize")->SetText("6");
  Find<TCheckBox>(walls, "CBDark3D")->SetChecked(false);
  delete walls;
  TFormGrafTitle* titles = Embed(new TFormGrafTitle(Host.get(), Chart->Title(), Chart));
  Find<TMemo>(titles, "MText")->SetText("Observed\r\nand calculated");
  Find<TComboBox>(titles, "CBAlign")->UserSelected(2);
  delete titles;
  TStringStream s;
  WriteChartStream(Chart, s, false, true);
  EXPECT_TRUE(editortest::MatchesGolden("chart-pages.txt", s.DataString()));
}

}  // namespace
