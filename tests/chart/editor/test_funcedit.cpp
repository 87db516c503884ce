// The data-source page: the function list, the source choice each function
// asks for, the period options, applying sources (circular ones refused with
// the series left working) and candidates following the chart.
#include <gtest/gtest.h>

#include <memory>

#include "chart/editor/grafediperi.h"
#include "chart/editor/graffuncedit.h"
#include "chart/series/graffunci.h"
#include "chart/series/grafcandle.h"
#include "chart/series/grafstats.h"
#include "chart/editor/grafpendlg.h"
#include "dialogtest.h"
#include "support/gui/guitest.h"

using dialogtest::Find;

namespace {

class FuncEditTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(30, 30, 480, 400);
    Chart = new TChart(Host.get());
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 200, 150);
    Target = Add("Target", {});
    Other = Add("Other", {1, 2, 3, 4});
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(200, 0, 320, 260);
    Host->Show();
  }
  void TearDown() override {
    Host.reset();
    EditorDialogTest::TearDown();
  }
  TLineSeries* Add(const std::string& Title, std::initializer_list<double> Y) {
    auto* s = new TLineSeries(Host.get());
    s->SetName(Title);
    s->SetTitle(Title);
    s->SetParentChart(Chart);
    for (double y : Y) s->AddSingleValue(y);
    return s;
  }
  // The page of the series, embedded as the series editor embeds it.
  TGrafFuncEditor* Open(TChartSeries* Series) {
    auto* page = new TGrafFuncEditor(Host.get());
    EmbedFormInSheetWithTag(page, Sheet, Series);
    return page;
  }
  static void ChooseFunction(TGrafFuncEditor* Page, TClass Class) {
    auto* combo = Find<TComboBox>(Page, "CBSources");
    const int i = combo->Items()->IndexOfObject(reinterpret_cast<TObject*>(const_cast<TClassInfo*>(Class)));
    ASSERT_GE(i, 0) << Class->Name();
    combo->UserSelected(i);
  }
  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TLineSeries* Target = nullptr;
  TLineSeries* Other = nullptr;
  TPanel* Sheet = nullptr;
};

TEST_F(FuncEditTest, PlainSeriesOpensOnCopyReadyToApply) {
  TGrafFuncEditor* page = Open(Target);
  auto* combo = Find<TComboBox>(page, "CBSources");
  EXPECT_EQ(combo->Items()->Strings(combo->ItemIndex()), "Copy");
  EXPECT_EQ(SelectedFunctionClass(page), nullptr);
  EXPECT_TRUE(page->ApplyButton()->Enabled());
  EXPECT_EQ(Find<TLabel>(page, "LLabel")->Caption(), "&Functions:");
  EXPECT_FALSE(Find<TControl>(page, "PanSingle")->Visible());
  EXPECT_TRUE(page->SelectList()->Visible());
  EXPECT_FALSE(Find<TTabSheet>(page, "TabOptions")->TabVisible());
  // Function types only, one line each, sorted.
  EXPECT_GE(combo->Items()->IndexOf("Moving Average"), 0);
  EXPECT_LT(combo->Items()->IndexOf("Line"), 0);
  // The other series is a candidate, the series itself is not.
  EXPECT_EQ(page->SelectList()->Available()->Items()->IndexOf("Other"), 0);
  EXPECT_EQ(page->SelectList()->Available()->Items()->Count(), 1);
}

TEST_F(FuncEditTest, FunctionsAskForTheSourcesTheyTake) {
  TGrafFuncEditor* page = Open(Target);
  const struct {
    TClass Function;
    bool Single, Values, SourceTab, Options;
  } cases[] = {
      {&TMovingAverageFunction::StaticClass(), true, true, true, true},
      {&TADXFunction::StaticClass(), true, false, true, true},
      {&TCustomGrafFunction::StaticClass(), false, false, false, true},
      {&TAddGrafFunction::StaticClass(), false, true, true, true},
  };
  for (const auto& c : cases) {
    ChooseFunction(page, c.Function);
    EXPECT_EQ(Target->FunctionType()->ClassType(), c.Function) << c.Function->Name();
    auto* single = Find<TControl>(page, "PanSingle");
    EXPECT_EQ(single->Visible(), c.Single) << c.Function->Name();
    if (c.Single) {
      EXPECT_TRUE(Find<TLabel>(page, "Label1")->Visible());
      EXPECT_EQ(Find<TLabel>(page, "Label1")->Caption(), "&Series:");
      EXPECT_EQ(Find<TLabel>(page, "LValues")->Visible(), c.Values) << c.Function->Name();
      EXPECT_EQ(Find<TLabel>(page, "LValues")->Caption(), "&Values:");
    }
    EXPECT_EQ(page->SelectList()->Visible(), !c.Single) << c.Function->Name();
    EXPECT_EQ(Find<TTabSheet>(page, "TabSource")->TabVisible(), c.SourceTab) << c.Function->Name();
    EXPECT_EQ(Find<TTabSheet>(page, "TabOptions")->TabVisible(), c.Options) << c.Function->Name();
    if (!c.SourceTab) {
      EXPECT_EQ(page->Pages()->ActivePage(), Find<TTabSheet>(page, "TabOptions"));
    }
  }
  // The period editor of the last one.
  EXPECT_NE(dynamic_cast<TGrafFunctionEditor*>(page->OptionsEditor()), nullptr);
}

TEST_F(FuncEditTest, PeriodOptionsShowAndStoreThePeriod) {
  TGrafFunction* function = CreateSeriesFunction(Target, &TAddGrafFunction::StaticClass());
  function->SetPeriod(10.6);
  Target->SetDataSource(Other);
  TGrafFuncEditor* page = Open(Target);
  EXPECT_FALSE(page->ApplyButton()->Enabled());  // a function and a source already
  auto* options = page->OptionsEditor();
  ASSERT_NE(options, nullptr);
  auto* style = Find<TComboBox>(options, "CBStyle");
  EXPECT_EQ(style->ItemIndex(), TGrafFunctionEditor::siNumberOfPoints);
  EXPECT_EQ(Find<TEdit>(options, "ENum")->Text(), "11");
  EXPECT_FALSE(Find<TButton>(options, "BChange")->Enabled());
  // The page comes up on its options once.
  EXPECT_TRUE(page->OptionsTimer()->Enabled());
  guitest::FireTimer(page->OptionsTimer());
  EXPECT_EQ(page->Pages()->ActivePage(), Find<TTabSheet>(page, "TabOptions"));
  EXPECT_FALSE(page->OptionsTimer()->Enabled());

  const struct {
    int Style;
    const char* Typed;
    TFunctionPeriodStyle PeriodStyle;
    double Period;
    bool ChangeEnabled;
  } cases[] = {{TGrafFunctionEditor::siRange, "2.5", psRange, 2.5, true},
               {TGrafFunctionEditor::siNumberOfPoints, "7", psNumPoints, 7, false},
               {TGrafFunctionEditor::siNumberOfPoints, "seven", psNumPoints, 0, false},
               {TGrafFunctionEditor::siAllPoints, "", psNumPoints, 0, false}};
  for (const auto& c : cases) {
    style->UserSelected(c.Style);
    EXPECT_EQ(Find<TButton>(options, "BChange")->Enabled(), c.ChangeEnabled) << c.Typed;
    Find<TEdit>(options, "ENum")->SetText(c.Typed);
    EXPECT_TRUE(page->ApplyButton()->Enabled());
    page->ApplyButton()->Click();
    EXPECT_EQ(function->PeriodStyle(), c.PeriodStyle) << c.Typed;
    EXPECT_DOUBLE_EQ(function->Period(), c.Period) << c.Typed;
    EXPECT_FALSE(page->ApplyButton()->Enabled());
  }
}

TEST_F(FuncEditTest, ApplyingSourcesAndRefusingACircularOne) {
  TLineSeries* third = Add("Third", {5, 6});
  // Other depends on Target: Target may not take Other as a source.
  Other->SetDataSource(Target);
  TGrafFuncEditor* page = Open(Target);
  TSelectListForm* list = page->SelectList();
  TStrings* available = list->Available()->Items();
  list->Available()->SetSelected(available->IndexOf("Other"), true);
  Find<TButton>(list, "BRightOne")->Click();
  EXPECT_TRUE(page->ApplyButton()->Enabled());
  EXPECT_THROW(page->ApplyButton()->Click(), ChartException);
  EXPECT_EQ(Target->UpdateCount(), 0);  // the series takes updates again
  EXPECT_EQ(Target->DataSources()->Count(), 0);
  EXPECT_TRUE(page->ApplyButton()->Enabled());

  // Without the circular one the sources are taken in order.
  Find<TButton>(list, "BLeftAll")->Click();
  list->Available()->ClearSelection();
  list->Available()->SetSelected(available->IndexOf("Third"), true);
  Find<TButton>(list, "BRightOne")->Click();
  page->ApplyButton()->Click();
  ASSERT_EQ(Target->DataSources()->Count(), 1);
  EXPECT_EQ(Target->DataSource(), third);
  EXPECT_EQ(Target->PointCount(), 2);
  EXPECT_FALSE(page->ApplyButton()->Enabled());
}

TEST_F(FuncEditTest, SingleSourceTakesAValueList) {
  TGrafFuncEditor* page = Open(Target);
  ChooseFunction(page, &TMovingAverageFunction::StaticClass());
  auto* single = Find<TComboBox>(page, "CBSingle");
  const int other = single->Items()->IndexOf("Other");
  ASSERT_GE(other, 0);
  single->UserSelected(other);
  auto* values = Find<TComboBox>(page, "CBValues");
  EXPECT_TRUE(values->Enabled());
  EXPECT_TRUE(Find<TButton>(page, "BNone")->Enabled());
  ASSERT_GT(values->Items()->Count(), 0);
  EXPECT_EQ(values->Items()->Strings(0), "Y");
  page->ApplyButton()->Click();
  EXPECT_EQ(Target->DataSource(), Other);
  EXPECT_EQ(Target->MainList()->ValueSource(), "Y");
  EXPECT_EQ(Target->FunctionType()->ClassType(), &TMovingAverageFunction::StaticClass());
  Find<TButton>(page, "BNone")->Click();
  EXPECT_FALSE(values->Enabled());
  page->ApplyButton()->Click();
  EXPECT_EQ(Target->DataSource(), nullptr);
}

TEST_F(FuncEditTest, CandidatesFollowTheChart) {
  TGrafFuncEditor* page = Open(Target);
  TStrings* available = page->SelectList()->Available()->Items();
  EXPECT_LT(available->IndexOf("Later"), 0);
  Add("Later", {1});
  EXPECT_GE(available->IndexOf("Later"), 0);
  EXPECT_GE(Find<TComboBox>(page, "CBSingle")->Items()->IndexOf("Later"), 0);
  // Events of the page's own series only stop a pending apply.
  EXPECT_TRUE(page->ApplyButton()->Enabled());
  Chart->AnnounceSeriesEvent(Target, seSwap);
  EXPECT_FALSE(page->ApplyButton()->Enabled());
  delete page;  // leaves the chart's listeners
  Add("AfterPage", {1});
}

}  // namespace
