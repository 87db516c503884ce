// What the element editors do beyond storing a value: their enabling rules,
// the tabs they add once, the shapes of the map editor, the numbers typed
// half-way and the pictures too big for a colour grid.
#include <gtest/gtest.h>

#include <memory>

#include "chart/editor/grafbaredit.h"
#include "chart/editor/grafcandledi.h"
#include "chart/editor/grafcirclededit.h"
#include "chart/editor/grafcolorgrideditor.h"
#include "chart/editor/grafcontouredit.h"
#include "chart/editor/grafcustedit.h"
#include "chart/editor/grafgried.h"
#include "chart/editor/grafmapseriesedit.h"
#include "chart/editor/grafpieedit.h"
#include "chart/editor/grafsurfedit.h"
#include "chart/editor/graftoolseriesedit.h"
#include "chart/series/grafcandle.h"
#include "chart/series/grafcolorgrid.h"
#include "chart/series/grafcontour.h"
#include "chart/series/grafmapseries.h"
#include "chart/series/graftools.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"
#include "dialogtest.h"
#include "platform/gfx/bitmap.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

using dialogtest::Find;

namespace {

class EditorPartsTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(20, 20, 800, 500);
    Chart = new TChart(Host.get());
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 280, 200);
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(300, 0, 480, 320);
    Host->Show();
  }
  void TearDown() override {
    Host.reset();
    EditorDialogTest::TearDown();
  }
  template <class T>
  T* Add(const char* Name = "S1") {
    auto* s = new T(Host.get());
    s->SetName(Name);
    s->SetParentChart(Chart);
    return s;
  }
  template <class T>
  T* Open(TObject* Element) {
    auto* form = new T(Host.get());
    EmbedEditorForm(form, Sheet, Element);
    return form;
  }
  // Typing into an edit, then leaving it.
  static void TypeAndLeave(TEdit* Edit, const std::string& Text) {
    Edit->SetText(Text);
    if (Edit->OnExit) Edit->OnExit(Edit);
  }

  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
};

TEST_F(EditorPartsTest, BarStyleSwitchesGradientAndBevelControls) {
  auto* bar = Add<TBarSeries>();
  auto* form = Open<TBarSeriesEditor>(bar);
  auto* style = Find<TComboBox>(form, "CBBarStyle");
  struct Case {
    TBarStyle Style;
    bool Gradient, Bevel;
  };
  for (const Case& c : {Case{bsBevel, false, true}, Case{bsRectGradient, true, false}, Case{bsRectangle, true, false},
                        Case{bsPyramid, false, false}}) {
    style->UserSelected(c.Style);
    EXPECT_EQ(bar->BarStyle(), c.Style);
    EXPECT_EQ(Find<TControl>(form, "BGradient")->Enabled(), c.Gradient) << c.Style;
    EXPECT_EQ(Find<TControl>(form, "EBevel")->Enabled(), c.Bevel) << c.Style;
    EXPECT_EQ(Find<TControl>(form, "UDBevel")->Enabled(), c.Bevel) << c.Style;
  }
  // "Gradient..." on a pyramid makes it a gradient rectangle before the editor opens.
  TBarStyle seen = bsPyramid;
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm*) {
    seen = bar->BarStyle();
    return mrCancel;
  });
  Find<TButton>(form, "BGradient")->SetEnabled(true);
  Find<TButton>(form, "BGradient")->Click();
  EXPECT_EQ(seen, bsRectGradient);
  EXPECT_EQ(style->ItemIndex(), bsRectGradient);
}

TEST_F(EditorPartsTest, ExtraTabsAreMadeOnceAndTheSurfaceTabIsReloaded) {
  auto* bar = Add<TBarSeries>();
  auto* barForm = Open<TBarSeriesEditor>(bar);
  TStackBarSeriesEditor* stack = barForm->StackTab();
  ASSERT_NE(stack, nullptr);
  barForm->Hide();
  barForm->Show();
  EXPECT_EQ(barForm->StackTab(), stack);
  EXPECT_EQ(stack->Caption(), "Stack");

  auto* surface = Add<TSurfaceSeries>("S2");
  auto* surfForm = Open<TSurfaceSeriesEditor>(surface);
  TGrid3DSeriesEditor* grid = surfForm->GridTab();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->Caption(), "Grid 3D");
  surface->SetPaletteSteps(33);
  surfForm->Hide();
  surfForm->Show();
  EXPECT_EQ(surfForm->GridTab(), grid);
  EXPECT_EQ(Find<TUpDown>(grid, "UDPalette")->Position(), 33);

  // A tab form freed by its host leaves no dangling reference behind.
  delete grid;
  EXPECT_EQ(surfForm->GridTab(), nullptr);
  delete surfForm;
}

TEST_F(EditorPartsTest, LineEditorShowsLineControlsOnlyForLineSeries) {
  const char* lineOnly[] = {"BBrush", "BOutline", "GBStair", "CBDark3D", "LHeight", "EHeight", "UDHeight"};
  auto* line = Add<TLineSeries>();
  auto* lineForm = Open<TCustomSeriesEditor>(line);
  for (const char* name : lineOnly) EXPECT_TRUE(Find<TControl>(lineForm, name)->Visible()) << name;
  // The colour button shows the colour the series is drawn in, its own or not.
  EXPECT_EQ(Find<TButtonColor>(lineForm, "BLineColor")->GetLinkedColor(), ColorToRGB(line->SeriesColor()));
  ASSERT_NE(lineForm->PointerTab(), nullptr);
  EXPECT_EQ(lineForm->PointerTab()->Caption(), "Point");

  auto* volume = Add<TVolumeSeries>("S2");  // a custom series that is no line
  auto* otherForm = new TCustomSeriesEditor(Host.get());
  EmbedEditorForm(otherForm, Sheet, volume);
  for (const char* name : lineOnly) EXPECT_FALSE(Find<TControl>(otherForm, name)->Visible()) << name;
}

TEST_F(EditorPartsTest, CircledRadiusAndAutoBoxesFollowEachOther) {
  auto* pie = Add<TPieSeries>();
  pie->SetCustomXRadius(120);
  auto* form = Open<TCircledSeriesEditor>(pie);
  auto* autoX = Find<TCheckBox>(form, "CBAutoXR");
  EXPECT_FALSE(autoX->Checked());
  EXPECT_TRUE(Find<TCheckBox>(form, "CBAutoYR")->Checked());
  autoX->SetChecked(true);
  EXPECT_EQ(pie->CustomXRadius(), 0);
  Find<TEdit>(form, "Edit2")->SetText("80");
  EXPECT_EQ(pie->CustomXRadius(), 80);
  EXPECT_FALSE(autoX->Checked());
  Find<TEdit>(form, "Edit2")->SetText("0");
  EXPECT_TRUE(autoX->Checked());
}

TEST_F(EditorPartsTest, GridEditorColouringTabsSwapAndNoMiddle) {
  auto* surface = Add<TSurfaceSeries>();
  surface->SetStartColor(clRed);
  surface->SetEndColor(clBlue);
  surface->SetMidColor(clGreen);
  auto* form = Open<TGrid3DSeriesEditor>(surface);
  auto* pages = Find<TPageControl>(form, "PageControl1");
  auto choose = [&](const char* tab) {
    pages->SetActivePage(Find<TTabSheet>(form, tab));
    pages->OnChange(pages);
  };
  choose("TabRange");
  EXPECT_TRUE(surface->UseColorRange());
  choose("TabPalette");
  EXPECT_TRUE(surface->UsePalette());
  EXPECT_FALSE(surface->UseColorRange());
  choose("TabSingle");
  EXPECT_FALSE(surface->UsePalette());
  EXPECT_FALSE(surface->UseColorRange());

  Find<TButton>(form, "Button1")->Click();
  EXPECT_EQ(surface->StartColor(), clBlue);
  EXPECT_EQ(surface->EndColor(), clRed);
  auto* noMiddle = Find<TCheckBox>(form, "CheckBox1");
  EXPECT_TRUE(noMiddle->Enabled());
  noMiddle->SetChecked(true);
  EXPECT_EQ(surface->MidColor(), clNone);
  EXPECT_FALSE(noMiddle->Enabled());

  // A series that cannot make its own values keeps its grid size.
  EXPECT_FALSE(surface->CanCreateValues());
  EXPECT_FALSE(Find<TControl>(form, "SEXGrid")->Enabled());
  EXPECT_FALSE(Find<TControl>(form, "UDZGrid")->Enabled());
}

TEST_F(EditorPartsTest, ContourLevelControlsFollowTheLevels) {
  auto* contour = Add<TContourSeries>();
  contour->SetAutomaticLevels(false);
  contour->Levels()->AddLevel(clDefault, 1);
  contour->Levels()->AddLevel(clRed, 2);
  auto* form = Open<TContourSeriesEditor>(contour);
  EXPECT_FALSE(Find<TControl>(form, "SENum")->Enabled());
  EXPECT_FALSE(Find<TControl>(form, "CBColorEach")->Enabled());
  // A level of default colour shows the chart's palette colour for its index.
  EXPECT_EQ(Find<TShape>(form, "SHColor")->Brush()->Color(), Chart->PaletteColor(0));
  EXPECT_EQ(Find<TEdit>(form, "EValue")->Text(), "1");

  auto* defaultPen = Find<TCheckBox>(form, "cbDefaultPen");
  EXPECT_TRUE(defaultPen->Checked());
  defaultPen->SetChecked(false);
  EXPECT_TRUE(contour->Levels()->GetLevel(0)->HasOwnPen());
  EXPECT_TRUE(Find<TControl>(form, "bLevelPen")->Enabled());
  defaultPen->SetChecked(true);
  EXPECT_FALSE(contour->Levels()->GetLevel(0)->HasOwnPen());

  Find<TCheckBox>(form, "CBAutoLevels")->SetChecked(true);
  EXPECT_TRUE(contour->AutomaticLevels());
  EXPECT_TRUE(Find<TControl>(form, "SENum")->Enabled());
}

TEST_F(EditorPartsTest, TypedNumbersChangeNothingUntilTheyReadAndAreReportedOnceWhenLeft) {
  auto* pie = Add<TPieSeries>();
  pie->OtherSlice()->SetValue(4);
  auto* pieForm = Open<TPieSeriesEditor>(pie);
  auto* contour = Add<TContourSeries>("S2");
  contour->SetAutomaticLevels(false);
  contour->Levels()->AddLevel(clRed, 6);
  auto* contourForm = Open<TContourSeriesEditor>(contour);

  struct Case {
    const char* Name;
    TEdit* Edit;
    std::function<double()> Value;
    double Kept;
    bool EmptyReported;
  };
  Find<TComboBox>(pieForm, "CBOther")->UserSelected(poBelowValue);
  const Case cases[] = {
      {"pie other slice", Find<TEdit>(pieForm, "EOtherValue"), [&] { return pie->OtherSlice()->Value(); }, 4, false},
      {"contour level", Find<TEdit>(contourForm, "EValue"),
       [&] { return contour->Levels()->GetLevel(0)->UpToValue(); }, 6, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TDialogResponder dialogs;
    EXPECT_NO_THROW(c.Edit->SetText("-"));
    EXPECT_NO_THROW(c.Edit->SetText(""));
    EXPECT_EQ(c.Value(), c.Kept);
    EXPECT_EQ(dialogs.Count(), 0u);
    TypeAndLeave(c.Edit, "1.2.3");
    EXPECT_EQ(c.Value(), c.Kept);
    EXPECT_EQ(dialogs.Count(), 1u);
    EXPECT_TRUE(dialogs.Saw("'1.2.3'"));
    TypeAndLeave(c.Edit, "");
    EXPECT_EQ(dialogs.Count(), c.EmptyReported ? 2u : 1u);
    TypeAndLeave(c.Edit, "-2.5");
    EXPECT_EQ(c.Value(), -2.5);
    EXPECT_EQ(dialogs.Count(), c.EmptyReported ? 2u : 1u);
  }
}

TEST_F(EditorPartsTest, ColourGridTakesAPictureAndRefusesOneTooBigForItsGrid) {
  auto* grid = Add<TColorGridSeries>();
  auto* form = Open<TColorGridEditor>(grid);
  TTempDir dir;
  TBitmap small;
  small.SetSize(3, 2);
  small.Canvas()->SetPixels(0, 0, clRed);
  small.SaveToFile(dir.File("small.bmp"));
  form->LoadPictureFile(dir.File("small.bmp"));
  ASSERT_EQ(grid->PointCount(), 6);
  double minX = 1e9, maxX = -1e9, minZ = 1e9, maxZ = -1e9;
  for (int i = 0; i < 6; ++i) {
    minX = std::min(minX, grid->XValues()->GetValue(i));
    maxX = std::max(maxX, grid->XValues()->GetValue(i));
    minZ = std::min(minZ, grid->ZValues()->GetValue(i));
    maxZ = std::max(maxZ, grid->ZValues()->GetValue(i));
  }
  EXPECT_EQ(minX, 1);
  EXPECT_EQ(maxX, 3);
  EXPECT_EQ(minZ, 1);
  EXPECT_EQ(maxZ, 2);

  TBitmap wide;
  wide.SetSize(TColorGridEditor::MaxPictureSide + 1, 2);
  wide.SaveToFile(dir.File("wide.bmp"));
  TDialogResponder dialogs;
  form->LoadPictureFile(dir.File("wide.bmp"));
  EXPECT_EQ(dialogs.Count(), 1u);
  EXPECT_TRUE(dialogs.Saw("too large"));
  EXPECT_EQ(grid->PointCount(), 6);
}

TEST_F(EditorPartsTest, SeriesToolComboListsNoneAndTheChartSeries) {
  auto* tool = new TDragPointTool(Host.get());
  Chart->Tools()->AddTool(tool);
  auto* empty = Open<TSeriesToolEditor>(tool);
  auto* combo = Find<TComboBox>(empty, "CBSeries");
  EXPECT_FALSE(combo->Enabled());
  ASSERT_EQ(combo->Items()->Count(), 1);
  EXPECT_EQ(combo->Items()->Strings(0), "(none)");
  EXPECT_EQ(combo->ItemIndex(), 0);
  delete empty;

  auto* line = Add<TLineSeries>();
  line->SetTitle("Observed");
  auto* form = Open<TSeriesToolEditor>(tool);
  combo = Find<TComboBox>(form, "CBSeries");
  EXPECT_TRUE(combo->Enabled());
  ASSERT_EQ(combo->Items()->Count(), 2);
  EXPECT_EQ(combo->Items()->Strings(1), "Observed");
  combo->UserSelected(1);
  EXPECT_EQ(tool->Series(), line);
  combo->UserSelected(0);
  EXPECT_EQ(tool->Series(), nullptr);
}

TEST_F(EditorPartsTest, CandleStyleEnablesItsControls) {
  auto* candle = Add<TCandleSeries>();
  auto* form = Open<TCandleEditor>(candle);
  auto* style = Find<TRadioGroup>(form, "RGStyle");
  style->SetItemIndex(csLine);
  for (const char* name : {"SEWidth", "CBDraw3D", "CBDark3D", "CBShowOpen", "CBShowClose"})
    EXPECT_FALSE(Find<TControl>(form, name)->Enabled()) << name;
  style->SetItemIndex(csCandleBar);
  EXPECT_TRUE(Find<TControl>(form, "CBShowOpen")->Enabled());
  EXPECT_TRUE(Find<TControl>(form, "SEWidth")->Enabled());
  EXPECT_FALSE(Find<TControl>(form, "CBDraw3D")->Enabled());
}

class MapEditorTest : public EditorPartsTest {
protected:
  TMapSeries* Map() {
    auto* map = Add<TMapSeries>();
    return map;
  }
  static TChartListBox* List(TMapSeriesEditor* Form) { return Find<TChartListBox>(Form, "ChartListBox1"); }
};

TEST_F(MapEditorTest, AddingTheFirstShapeNamesItAndEnablesTheShapeTabs) {
  TMapSeries* map = Map();
  auto* form = Open<TMapSeriesEditor>(map);
  EXPECT_FALSE(Find<TControl>(form, "EText")->Enabled());
  EXPECT_FALSE(Find<TControl>(form, "CBClosed")->Enabled());
  EXPECT_FALSE(Find<TControl>(form, "SBDelete")->Enabled());
  Find<TSpeedButton>(form, "SBAdd")->Click();
  ASSERT_EQ(map->Shapes()->Count(), 1);
  EXPECT_EQ(map->Shapes()->Polygon(0)->Text(), "1");
  EXPECT_EQ(List(form)->Items()->Strings(0), "1");
  EXPECT_EQ(List(form)->ItemIndex(), 0);
  EXPECT_TRUE(Find<TControl>(form, "EText")->Enabled());
  EXPECT_TRUE(Find<TControl>(form, "SBDelete")->Enabled());
  EXPECT_EQ(Find<TChartGrid>(form, "ChartGrid1")->Series(), map->Shapes()->Polygon(0)->Points());
}

TEST_F(MapEditorTest, DeletingKeepsTheIndexOrTakesTheNewLast) {
  TMapSeries* map = Map();
  for (const char* t : {"a", "b", "c"}) map->Shapes()->AddPolygon()->SetText(t);
  auto* form = Open<TMapSeriesEditor>(map);
  ASSERT_EQ(List(form)->Items()->Count(), 3);
  List(form)->SetItemIndex(2);
  List(form)->OnClick(List(form));
  Find<TSpeedButton>(form, "SBDelete")->Click();
  ASSERT_EQ(map->Shapes()->Count(), 2);
  EXPECT_EQ(List(form)->ItemIndex(), 1);
  EXPECT_EQ(Find<TEdit>(form, "EText")->Text(), "b");

  map->Shapes()->AddPolygon()->SetText("d");
  Find<TPageControl>(form, "PageControl2")->OnChange(nullptr);  // the list follows the shapes
  ASSERT_EQ(List(form)->Items()->Count(), 3);
  List(form)->SetItemIndex(1);
  List(form)->OnClick(List(form));
  Find<TSpeedButton>(form, "SBDelete")->Click();
  EXPECT_EQ(List(form)->ItemIndex(), 1);
  EXPECT_EQ(Find<TEdit>(form, "EText")->Text(), "d");
}

TEST_F(MapEditorTest, TextRenamesTheItemAndZIsStored) {
  TMapSeries* map = Map();
  map->Shapes()->AddPolygon()->SetText("first");
  map->Shapes()->AddPolygon();
  auto* form = Open<TMapSeriesEditor>(map);
  EXPECT_EQ(List(form)->Items()->Strings(1), "1");  // an empty label shows the index
  Find<TEdit>(form, "EText")->SetText("Crete");
  EXPECT_EQ(map->Shapes()->Polygon(0)->Text(), "Crete");
  EXPECT_EQ(List(form)->Items()->Strings(0), "Crete");
  Find<TEdit>(form, "EditZ")->SetText("7.25");
  EXPECT_EQ(map->Shapes()->Polygon(0)->Z(), 7.25);
  TDialogResponder dialogs;
  TypeAndLeave(Find<TEdit>(form, "EditZ"), "-");
  EXPECT_EQ(map->Shapes()->Polygon(0)->Z(), 7.25);
  EXPECT_EQ(dialogs.Count(), 1u);
}

}  // namespace
