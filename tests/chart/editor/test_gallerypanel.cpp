// The gallery panel: pages of miniatures, the grid's growth, compatibility
// with a reference series, keyboard moves, sub-galleries, smoothing and the
// look of a page (a reviewed picture).
#include <gtest/gtest.h>

#include <memory>

#include "chart/core/golden.h"
#include "chart/core/grafconst.h"
#include "chart/editor/grafgallerypanel.h"
#include "chart/series/grafcandle.h"
#include "chart/series/grafsurfa.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"
#include "dialogtest.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/messages.h"
#include "support/gui/guitest.h"

namespace {

// Types registered on pages of the test's own, removed again afterwards.
class TestPages {
public:
  ~TestPages() {
    SeriesTypeRegistry()->RemoveIf([this](const TGrafSeriesType& t) {
      for (const auto& p : FPages)
        if (t.GalleryPage == p.get()) return true;
      return false;
    });
  }
  void Add(const std::string& Page, TClass SeriesClass, const std::string& Description) {
    const std::string* page = nullptr;
    for (const auto& p : FPages)
      if (*p == Page) page = p.get();
    if (!page) {
      FPages.push_back(std::make_unique<std::string>(Page));
      page = FPages.back().get();
    }
    FTexts.push_back(std::make_unique<std::string>(Description));
    auto entry = std::make_unique<TGrafSeriesType>();
    entry->SeriesClass = SeriesClass;
    entry->Description = FTexts.back().get();
    entry->GalleryPage = page;
    SeriesTypeRegistry()->Add(std::move(entry));
  }

private:
  std::vector<std::unique_ptr<std::string>> FPages;
  std::vector<std::unique_ptr<std::string>> FTexts;
};

class GalleryPanelTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    // The pointer far from any miniature's sub-style arrow.
    SetCursorPos(5000, 5000);
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(50, 50, 420, 330);
    Panel = new TChartGalleryPanel(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetBounds(0, 0, 400, 300);
    Panel->SetBevelOuter(bvNone);
  }
  void TearDown() override {
    Form.reset();
    EditorDialogTest::TearDown();
  }

  std::unique_ptr<TForm> Form;
  TChartGalleryPanel* Panel = nullptr;
};

TEST_F(GalleryPanelTest, GridGrowsForALongPageAndShrinksBack) {
  TestPages pages;
  for (int i = 0; i < 14; ++i) pages.Add("Fourteen", &TLineSeries::StaticClass(), "Line " + std::to_string(i));
  for (int i = 0; i < 5; ++i) pages.Add("Five", &TBarSeries::StaticClass(), "Bar " + std::to_string(i));
  Panel->CreateGalleryPage("Fourteen");
  EXPECT_EQ(Panel->Charts.Count(), 14);
  EXPECT_EQ(Panel->NumRows(), 4);
  // The cells share the panel less its bevel width (1) and border width (0).
  EXPECT_EQ(Panel->CellHeight(), 299 / 4);
  EXPECT_EQ(Panel->CellWidth(), 399 / 4);
  // The last miniature: column 1 of row 3.
  EXPECT_EQ(Panel->ChartAt(13)->BoundsRect(), Rect(1 + 99, 1 + 3 * 74, 1 + 2 * 99, 1 + 4 * 74));
  Panel->CreateGalleryPage("Five");
  EXPECT_EQ(Panel->Charts.Count(), 5);
  EXPECT_EQ(Panel->NumRows(), 3);
  EXPECT_EQ(Panel->ChartAt(4)->BoundsRect(), Rect(1, 1 + 99, 1 + 99, 1 + 2 * 99));
}

TEST_F(GalleryPanelTest, MiniaturesShowTheirTypeAndTheReferencePreselects) {
  TestPages pages;
  pages.Add("Titles", &TBarSeries::StaticClass(), "Vertical\rBar");
  pages.Add("Titles", &THorizBarSeries::StaticClass(), "Horizontal\rBar");
  TChart chart(nullptr);
  THorizBarSeries reference(nullptr);
  Panel->ReferenceSeries = &reference;
  Panel->CreateGalleryPage("Titles");
  TGalleryChart* second = Panel->ChartAt(1);
  ASSERT_EQ(second->Title()->Text()->Count(), 2);
  EXPECT_EQ(second->Title()->Text()->Strings(0), "Horizontal");
  EXPECT_EQ(second->Title()->Text()->Strings(1), "Bar");
  EXPECT_EQ(Panel->SelectedChart, second);
  EXPECT_EQ(second->NumberOfSeries(), 1);
  EXPECT_GT(second->SeriesAt(0)->PointCount(), 0);  // sample points of its own
  EXPECT_TRUE(second->Gradient()->Visible());        // the highlight
  EXPECT_EQ(second->Title()->Font()->Color(), clBlack);
  EXPECT_FALSE(Panel->ChartAt(0)->HasGradient() && Panel->ChartAt(0)->Gradient()->Visible());
  TClass seriesClass = nullptr, functionClass = nullptr;
  int sub = -1;
  ASSERT_TRUE(Panel->GetSelectedType(seriesClass, functionClass, sub));
  EXPECT_EQ(seriesClass, &THorizBarSeries::StaticClass());
  EXPECT_EQ(functionClass, nullptr);
  EXPECT_EQ(sub, 0);
}

TEST_F(GalleryPanelTest, OnlyCompatibleDisablesTypesOfTheirOwnKind) {
  TLineSeries line(nullptr);
  TSurfaceSeries surface(nullptr);
  Panel->OnlyCompatible = true;
  const struct {
    TChartSeries* Reference;
    const std::string* Page;
    const char* Title;
    bool Enabled;
  } cases[] = {
      {&line, &GrafMsgEx3D, "Surface", false},          {&line, &GrafMsgEx3D, "Contour", false},
      {&line, &GrafMsgEx3D, "Tower", false},            {&line, &GrafMsgEx3D, "Vector 3D", false},
      {&line, &GrafMsgEx3D, "Bubble 3D", false},        {&line, &GrafMsgEx3D, "Point 3D", true},
      {&line, &GrafMsgExFinancial, "Candle", false},    {&line, &GrafMsgExFinancial, "Volume", true},
      {&line, &GrafMsgStandard, "Line", true},          {&line, &GrafMsgStandard, "Pie", true},
      {&surface, &GrafMsgEx3D, "Surface", true},        {&surface, &GrafMsgEx3D, "Contour", true},
      {&surface, &GrafMsgEx3D, "Bubble 3D", false},
  };
  for (const auto& c : cases) {
    Panel->ReferenceSeries = c.Reference;
    Panel->CreateGalleryPage(*c.Page);
    TGalleryChart* found = nullptr;
    for (int i = 0; i < Panel->Charts.Count(); ++i) {
      std::string title;
      for (int l = 0; l < Panel->ChartAt(i)->Title()->Text()->Count(); ++l)
        title += (l ? " " : "") + Panel->ChartAt(i)->Title()->Text()->Strings(l);
      if (title == c.Title) found = Panel->ChartAt(i);
    }
    ASSERT_NE(found, nullptr) << c.Title;
    EXPECT_EQ(found->Cursor(), c.Enabled ? crHandPoint : crNo) << c.Title;
    if (!c.Enabled) {
      EXPECT_EQ(found->Title()->Font()->Color(), clGray) << c.Title;
      EXPECT_NE(Panel->SelectedChart, found) << c.Title;
      // Neither mouse nor focus can choose it.
      EXPECT_FALSE(found->OnClick || found->OnDblClick || found->OnEnter) << c.Title;
    }
  }
}

TEST_F(GalleryPanelTest, ArrowKeysMoveWithinTheGridOnly) {
  TestPages pages;
  for (int i = 0; i < 6; ++i) pages.Add("Six", &TLineSeries::StaticClass(), "Line " + std::to_string(i));
  Panel->CreateGalleryPage("Six");
  ASSERT_EQ(Panel->SelectedChart, Panel->ChartAt(0));  // the first enabled one without a reference
  const struct {
    uint16_t Key;
    int Expected;  // list index selected afterwards
  } moves[] = {{VK_LEFT, 0}, {VK_UP, 0},   {VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_RIGHT, 3},
               {VK_RIGHT, 3} /* last column: nothing new */,           {VK_DOWN, 3} /* no miniature there */,
               {VK_LEFT, 2}, {VK_DOWN, 2} /* none below either */,     {VK_LEFT, 1}, {VK_DOWN, 5},
               {VK_UP, 1}};
  for (const auto& m : moves) {
    uint16_t key = m.Key;
    Panel->KeyDown(key, {});
    EXPECT_EQ(Panel->Charts.IndexOf(Panel->SelectedChart), m.Expected) << m.Key;
  }
  int chosen = 0;
  Panel->OnSelectedChart = [&](TObject*) { ++chosen; };
  uint16_t enter = VK_RETURN;
  Panel->KeyDown(enter, {});
  EXPECT_EQ(chosen, 1);
  // A miniature's keys reach the panel.
  uint16_t left = VK_LEFT;
  Panel->ChartAt(1)->OnKeyDown(Panel->ChartAt(1), left, {});
  EXPECT_EQ(Panel->Charts.IndexOf(Panel->SelectedChart), 0);
  EXPECT_EQ(Panel->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(GalleryPanelTest, AltDownOpensTheSubGalleryOfTheType) {
  TestPages pages;
  pages.Add("Subs", &TOHLCSeries::StaticClass(), "Prices");
  pages.Add("Subs", &TLineSeries::StaticClass(), "Line");
  Panel->CreateGalleryPage("Subs");
  int subSelected = 0;
  Panel->OnSubSelected = [&](TObject*) { ++subSelected; };

  // A class with only its base style: one miniature.
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    EXPECT_EQ(Panel->SubGalleryForm(), f);
    EXPECT_EQ(Panel->SubPanel->Charts.Count(), 1);
    EXPECT_EQ(Panel->SubPanel->ChartAt(0)->Title()->Text()->Strings(0), "Normal");
    return mrCancel;
  });
  uint16_t key = VK_DOWN;
  Panel->KeyDown(key, {ssAlt});
  EXPECT_EQ(modal.Count(), 1);
  EXPECT_EQ(subSelected, 0);
  EXPECT_EQ(Panel->SubGalleryForm(), nullptr);

  // The line's styles; the third one chosen with the keys.
  Panel->SelectChart(Panel->ChartAt(1));
  TLineSeries probe(nullptr);
  int styles = 0;
  probe.EnumGalleryStyles([&](const std::string&) { ++styles; });
  ASSERT_GT(styles, 2);
  modal.Do([&](TCustomForm* f) {
    TChartGalleryPanel* sub = Panel->SubPanel;
    EXPECT_EQ(sub->Charts.Count(), styles);
    EXPECT_EQ(sub->NumRows(), (styles + 3) / 4);
    EXPECT_EQ(f->Height(), sub->NumRows() * Panel->CellHeight() + 8);
    EXPECT_EQ(sub->SelectedChart, sub->ChartAt(0));
    uint16_t k = VK_RIGHT;
    f->OnKeyDown(f, k, {});
    k = VK_RIGHT;
    f->OnKeyDown(f, k, {});
    k = VK_RETURN;
    f->OnKeyDown(f, k, {});
    return f->ModalResult();
  });
  key = VK_DOWN;
  Panel->KeyDown(key, {ssAlt});
  EXPECT_EQ(subSelected, 1);
  EXPECT_EQ(Panel->SelectedChart->Tag(), 2);
  TClass seriesClass = nullptr, functionClass = nullptr;
  int sub = -1;
  ASSERT_TRUE(Panel->GetSelectedType(seriesClass, functionClass, sub));
  EXPECT_EQ(sub, 2);
  EXPECT_TRUE(Panel->SelectedChart->Gradient()->Visible());  // highlighted again

  // Escape closes the pop-up without a choice.
  modal.Do([&](TCustomForm* f) {
    uint16_t k = VK_ESCAPE;
    f->OnKeyDown(f, k, {});
    return f->ModalResult();
  });
  key = VK_DOWN;
  Panel->KeyDown(key, {ssAlt});
  EXPECT_EQ(subSelected, 1);
}

TEST_F(GalleryPanelTest, SmoothRepaintsKeepTheLabelFonts) {
  TestPages pages;
  pages.Add("Smooth", &TLineSeries::StaticClass(), "Line");
  Panel->SetSmooth(true);
  Panel->CreateGalleryPage("Smooth");
  Form->Show();
  TGalleryChart* chart = Panel->ChartAt(0);
  ASSERT_TRUE(chart->Smooth());
  const int size = chart->LeftAxis()->LabelsFont()->Size();
  for (int i = 0; i < 3; ++i) {
    chart->Invalidate();
    chart->PaintNow();
    EXPECT_EQ(chart->LeftAxis()->LabelsFont()->Size(), size);
    EXPECT_EQ(chart->BottomAxis()->LabelsFont()->Size(), size);
    EXPECT_FALSE(chart->Busy());
    EXPECT_FALSE(chart->LeftAxis()->Labels());
  }
  Panel->SetSmooth(false);
  EXPECT_FALSE(chart->Smooth());
}

TEST_F(GalleryPanelTest, StandardPageLooksAsReviewed) {
  RandSeed = 4711;
  Panel->CreateGalleryPage(GrafMsgStandard);
  Form->Show();
  TBitmap picture;
  ASSERT_TRUE(guitest::ControlPicture(Panel, picture));
  ExpectMatchesGoldenIn("tests/chart/editor/golden", picture, "gallery_standard.png");
}

}  // namespace
