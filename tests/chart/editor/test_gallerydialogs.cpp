// The series gallery dialogs and their entry points: new series, changed
// series types, the chart's 3D setting and the alternate dialog's list.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "chart/editor/grafgalleryalternate.h"
#include "chart/editor/grafgally.h"
#include "chart/series/graffunci.h"
#include "chart/series/grafcontour.h"
#include "chart/series/grafpoin3.h"
#include "chart/series/grafsurfa.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "dialogtest.h"
#include "platform/rtl/registry.h"
#include "support/gui/guitest.h"

using dialogtest::Find;

namespace {

void WriteEditorOptionInt(const std::string& Name, int Value) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(EditorOptionsKey, true));
  reg.WriteInteger(Name, Value);
}

class GalleryDialogsTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    SetCursorPos(5000, 5000);
    WriteEditorOptionInt("GalleryMode", 0);
    Owner = std::make_unique<TForm>(nullptr);
    Chart = new TChart(Owner.get());
    Chart->SetParent(Owner.get());
  }
  void TearDown() override {
    Owner.reset();
    WriteEditorOptionInt("GalleryMode", 0);
    EditorDialogTest::TearDown();
  }
  static void ShowPage(TCustomForm* f, const std::string& Page) {
    auto* pages = Find<TTabControl>(f, "TabPages");
    const int i = pages->Tabs()->IndexOf(Page);
    ASSERT_GE(i, 0) << Page;
    pages->SetTabIndex(i);
    pages->OnChange(pages);
  }
  static TGalleryChart* Miniature(TChartGalleryPanel* Panel, TClass SeriesClass, TClass FunctionClass = nullptr) {
    for (int i = 0; i < Panel->Charts.Count(); ++i) {
      TGalleryChart* c = Panel->ChartAt(i);
      TChartSeries* s = c->NumberOfSeries() ? c->SeriesAt(0) : nullptr;
      if (!s || s->ClassType() != SeriesClass) continue;
      TClass f = s->FunctionType() ? s->FunctionType()->ClassType() : nullptr;
      if (f == FunctionClass) return c;
    }
    return nullptr;
  }
  std::unique_ptr<TForm> Owner;
  TChart* Chart = nullptr;
};

TEST_F(GalleryDialogsTest, NewSeriesFromTheClassicGallery) {
  ASSERT_TRUE(NewSeriesGalleryHook);
  guitest::TModalResponder modal;
  modal.Do([](TCustomForm* f) {
    EXPECT_NE(dynamic_cast<TGrafGallery*>(f), nullptr);
    auto* types = Find<TTabControl>(f, "TabTypes");
    EXPECT_EQ(types->Tabs()->Count(), 2);  // creating: the functions too
    EXPECT_EQ(types->TabIndex(), 0);
    EXPECT_EQ(types->Tabs()->Strings(0), "Series");
    EXPECT_EQ(Find<TTabControl>(f, "TabPages")->Tabs()->Strings(0), GrafMsgStandard);
    auto* panel = Find<TChartGalleryPanel>(f, "ChartGalleryPanel1");
    TGalleryChart* bar = Miniature(panel, &TBarSeries::StaticClass());
    EXPECT_NE(bar, nullptr);
    panel->SelectChart(bar);
    uint16_t enter = VK_RETURN;
    panel->KeyDown(enter, {});  // chooses and closes
    return f->ModalResult();
  });
  TChartSeries* created = NewSeriesGalleryHook(Owner.get(), Chart, nullptr);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->ClassType(), &TBarSeries::StaticClass());
  EXPECT_EQ(created->ParentChart(), Chart);
  EXPECT_EQ(created->Owner(), Owner.get());
  EXPECT_EQ(NewSeriesGalleryHook(Owner.get(), nullptr, nullptr), nullptr);  // no chart: nothing asked
  EXPECT_EQ(modal.Count(), 1);
}

TEST_F(GalleryDialogsTest, ChoosingAFunctionTypeGivesASeriesWithIt) {
  guitest::TModalResponder modal;
  modal.Do([](TCustomForm* f) {
    auto* types = Find<TTabControl>(f, "TabTypes");
    types->SetTabIndex(1);
    types->OnChange(types);
    auto* panel = Find<TChartGalleryPanel>(f, "ChartGalleryPanel1");
    EXPECT_TRUE(panel->FunctionsMode);
    TGalleryChart* add = Miniature(panel, &TLineSeries::StaticClass(), &TAddGrafFunction::StaticClass());
    EXPECT_NE(add, nullptr);
    panel->SelectChart(add);
    return mrOk;
  });
  int sub = 0;
  TChartSeries* created = CreateSeriesFromGallery(Owner.get(), nullptr, Chart, true, false, sub);
  ASSERT_NE(created, nullptr);
  ASSERT_NE(created->FunctionType(), nullptr);
  EXPECT_EQ(created->FunctionType()->ClassType(), &TAddGrafFunction::StaticClass());
  EXPECT_EQ(sub, -1);
}

TEST_F(GalleryDialogsTest, ThreeDSettingChangesOnlyOnOk) {
  Chart->SetView3D(true);
  guitest::TModalResponder modal;
  modal.Do([](TCustomForm* f) {
    Find<TCheckBox>(f, "CB3D")->SetChecked(false);
    EXPECT_FALSE(Find<TChartGalleryPanel>(f, "ChartGalleryPanel1")->View3D());
    return mrCancel;
  });
  int sub = 0;
  EXPECT_EQ(CreateSeriesFromGallery(Owner.get(), nullptr, Chart, true, false, sub), nullptr);
  EXPECT_TRUE(Chart->View3D());
  modal.Do([](TCustomForm* f) {
    Find<TCheckBox>(f, "CB3D")->SetChecked(false);
    return mrOk;  // the first standard type stays selected
  });
  EXPECT_NE(CreateSeriesFromGallery(Owner.get(), nullptr, Chart, true, false, sub), nullptr);
  EXPECT_FALSE(Chart->View3D());
}

TEST_F(GalleryDialogsTest, ChangingATypeOffersOnlyCompatibleTypes) {
  TChartSeries* surface = CreateChartSeries(Owner.get(), Chart, &TSurfaceSeries::StaticClass());
  surface->SetTitle("Heights");
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    EXPECT_EQ(Find<TTabControl>(f, "TabTypes")->Tabs()->Count(), 1);  // no functions
    auto* panel = Find<TChartGalleryPanel>(f, "ChartGalleryPanel1");
    EXPECT_TRUE(panel->OnlyCompatible);
    ShowPage(f, GrafMsgEx3D);
    TGalleryChart* own = Miniature(panel, &TSurfaceSeries::StaticClass());
    EXPECT_EQ(panel->SelectedChart, own);  // the series' own type preselected
    EXPECT_EQ(Miniature(panel, &TContourSeries::StaticClass())->Cursor(), crHandPoint);
    EXPECT_EQ(Miniature(panel, &TBubble3DSeries::StaticClass())->Cursor(), crNo);
    return mrOk;  // the same type, no sub-style
  });
  TChartSeries* series = surface;
  EXPECT_EQ(ChangeSeriesTypeFromGallery(Owner.get(), series), &TSurfaceSeries::StaticClass());
  EXPECT_EQ(series, surface);  // nothing changed

  modal.Do([&](TCustomForm* f) {
    ShowPage(f, GrafMsgEx3D);
    auto* panel = Find<TChartGalleryPanel>(f, "ChartGalleryPanel1");
    panel->SelectChart(Miniature(panel, &TContourSeries::StaticClass()));
    return mrOk;
  });
  EXPECT_EQ(ChangeSeriesTypeFromGallery(Owner.get(), series), &TContourSeries::StaticClass());
  EXPECT_NE(series, surface);
  EXPECT_EQ(series->Title(), "Heights");
  EXPECT_EQ(Chart->NumberOfSeries(), 1);
  EXPECT_EQ(Chart->SeriesAt(0), series);
}

TEST_F(GalleryDialogsTest, AlternateGalleryListsEveryTypeOnce) {
  WriteEditorOptionInt("GalleryMode", 1);
  guitest::TModalResponder modal;
  modal.Do([](TCustomForm* f) {
    auto* form = dynamic_cast<TGrafGalleryForm*>(f);
    EXPECT_NE(form, nullptr);
    if (!form) return mrCancel;
    auto* page = Find<TComboBox>(f, "CBPage");
    EXPECT_EQ(page->Items()->Strings(0), "(all)");
    EXPECT_EQ(page->Items()->Strings(page->ItemIndex()), GrafMsgStandard);
    page->UserSelected(0);
    auto* list = Find<TListBox>(f, "ChartListBox1");
    int types = 0;
    TGrafSeriesTypes* registry = SeriesTypeRegistry();
    for (int i = 0; i < registry->Count(); ++i)
      if (!registry->TypeAt(i)->FunctionClass && registry->TypeAt(i)->SeriesClass) ++types;
    EXPECT_EQ(list->Items()->Count(), types);
    std::set<std::string> names;
    for (int i = 0; i < list->Items()->Count(); ++i) names.insert(list->Items()->Strings(i));
    EXPECT_EQ(static_cast<int>(names.size()), types);
    EXPECT_TRUE(names.count("Horizontal Bar"));  // "Horizontal\rBar" on one line
    // Picking a type shows its sub-styles.
    const int line = list->Items()->IndexOf("Line");
    list->SetItemIndex(line);
    list->OnClick(list);
    auto* panel = form->GalleryPanel();
    TLineSeries probe(nullptr);
    int styles = 0;
    probe.EnumGalleryStyles([&](const std::string&) { ++styles; });
    EXPECT_EQ(panel->Charts.Count(), styles);
    EXPECT_EQ(panel->SelectedChart, panel->ChartAt(0));
    panel->SelectChart(panel->ChartAt(1));
    return mrOk;
  });
  int sub = 0;
  TChartSeries* created = CreateSeriesFromGallery(Owner.get(), nullptr, Chart, true, false, sub);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->ClassType(), &TLineSeries::StaticClass());
  EXPECT_EQ(sub, 1);
}

}  // namespace
