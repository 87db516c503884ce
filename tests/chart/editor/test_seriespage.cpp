// The series page: the editor form found by class name and embedded in
// "Format" (or its absence), the tab kept across series, the General and
// Marks tabs, the data source styles with the random sample count, extra
// tabs added by editor forms, and a series removed while shown.
#include <gtest/gtest.h>

#include <memory>

#include "chart/editor/grafediseri.h"
#include "chart/series/grafpoin3.h"
#include "dialogtest.h"
#include "support/gui/guitest.h"

namespace {

using editortest::AddLine;

// An editor form registered under a name its series gives in other case.
class TTestLineEditorForm : public TForm {
  ZV_CLASS(TTestLineEditorForm)
public:
  explicit TTestLineEditorForm(TComponent* AOwner) : TForm(AOwner) {
    OnShow = [this](TObject*) { Shown = reinterpret_cast<TChartSeries*>(Tag()); };
  }
  TChartSeries* Shown = nullptr;
};
ZV_CLASS_IMPL_NOPROPS(TTestLineEditorForm, TForm)

class TEditedLineSeries : public TLineSeries {
public:
  using TLineSeries::TLineSeries;
  std::string EditorFormClassName() const override { return "ttestlineeditorform"; }
};

// A series type that names no editor form.
class TPlainLineSeries : public TLineSeries {
public:
  using TLineSeries::TLineSeries;
  std::string EditorFormClassName() const override { return ""; }
};

class SeriesPageTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    RegisterClass(&TTestLineEditorForm::StaticClass());
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(30, 30, 700, 400);
    Chart = new TChart(Host.get());
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 200, 200);
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(220, 0, 420, 300);
    Host->Show();
  }
  void TearDown() override {
    Host.reset();
    EditorDialogTest::TearDown();
  }
  template <class T>
  T* Add(const std::string& title, std::initializer_list<double> y) {
    auto* s = new T(Chart);
    s->SetParentChart(Chart);
    s->SetTitle(title);
    for (double v : y) s->AddSingleValue(v);
    return s;
  }
  TFormGrafSeries* Open() {
    Page = new TFormGrafSeries(Host.get());
    List = new TChartListBox(Host.get());
    List->SetParent(Host.get());
    List->SetBounds(0, 210, 200, 150);
    List->OtherItems = Page->CBSeries->Items();
    Page->SeriesListBox = List;
    List->SetChart(Chart);
    EmbedFormInSheet(Page, Sheet);
    return Page;
  }
  void Choose(TChartSeries* s) {
    Page->CurrentSeries = s;
    Page->SelectCurrentSeries();
  }
  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
  TFormGrafSeries* Page = nullptr;
  TChartListBox* List = nullptr;
};

TEST_F(SeriesPageTest, TheEditorFormIsFoundByNameAndAbsentOneHidesFormat) {
  auto* plain = Add<TPlainLineSeries>("Plain", {1, 2});
  auto* edited = Add<TEditedLineSeries>("Edited", {3, 4});
  Open();
  Choose(plain);
  EXPECT_FALSE(Page->TheTabSheet->TabVisible());
  EXPECT_EQ(Page->PageSeries->ActivePage(), Page->TabGeneral);
  EXPECT_EQ(Page->SeriesEditorForm(), nullptr);
  EXPECT_EQ(Page->LabelSeriesClass->Caption(), SeriesTypeDescription(plain) + ": Plain");

  Choose(edited);
  EXPECT_TRUE(Page->TheTabSheet->TabVisible());
  auto* form = dynamic_cast<TTestLineEditorForm*>(Page->SeriesEditorForm());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Owner(), Page);
  EXPECT_EQ(form->Parent(), Page->TheTabSheet);
  EXPECT_EQ(form->Shown, edited);
  // The tab shown before stays: "General".
  EXPECT_EQ(Page->PageSeries->ActivePage(), Page->TabGeneral);
  // The list box follows the page's choice.
  EXPECT_EQ(List->SelectedSeries(), edited);

  // A name the registry does not hold counts as none.
  EXPECT_EQ(FindEditorFormClass(plain), nullptr);
  EXPECT_EQ(FindEditorFormClass(edited), &TTestLineEditorForm::StaticClass());
}

TEST_F(SeriesPageTest, TheMarksTabStaysAcrossSeriesAndGeneralListsFormatsOnce) {
  auto* a = Add<TEditedLineSeries>("A", {1, 2});
  auto* b = Add<TEditedLineSeries>("B", {3});
  b->SetValueFormat("0.000");
  Open();
  Choose(a);
  Page->PageSeries->SetActivePage(Page->TabMarks);
  Page->PageSeriesChange(Page->PageSeries);
  ASSERT_NE(Page->MarksShapeEditor, nullptr);
  Page->CBMarksVisible->SetChecked(true);
  EXPECT_TRUE(a->Marks()->Visible());
  EXPECT_FALSE(Page->CBAllVisible->Checked());
  Page->CBAllVisible->SetChecked(true);
  EXPECT_TRUE(b->Marks()->Visible());
  Choose(b);
  EXPECT_EQ(Page->PageSeries->ActivePage(), Page->TabMarks);
  EXPECT_TRUE(Page->CBMarksVisible->Checked());

  Page->PageSeries->SetActivePage(Page->TabGeneral);
  for (int i = 0; i < 3; ++i) {
    Choose(i % 2 ? a : b);
    Page->PageSeriesChange(Page->PageSeries);
  }
  // The nine standard formats once, and B's own.
  EXPECT_EQ(Page->CBFormat->Items()->Count(), 10);
  Choose(b);
  EXPECT_EQ(Page->CBFormat->Text(), "0.000");
  Page->CBFormat->SetText("0.0");
  Page->CBFormatChange(Page->CBFormat);
  EXPECT_EQ(b->ValueFormat(), "0.0");
}

TEST_F(SeriesPageTest, ThreeValueListsHideSortAndDepthAndShowZDateTime) {
  auto* line = Add<TEditedLineSeries>("Line", {1});
  auto* xyz = new TPoint3DSeries(Chart);
  xyz->SetParentChart(Chart);
  xyz->AddPoint3D(1, 2, 3);
  Open();
  Page->PageSeries->SetActivePage(Page->TabGeneral);
  Choose(line);
  EXPECT_TRUE(Page->CBSort->Visible());
  EXPECT_TRUE(Page->EDepth->Visible());
  EXPECT_FALSE(Page->CBZDateTime->Visible());
  Choose(xyz);
  EXPECT_FALSE(Page->CBSort->Visible());
  EXPECT_FALSE(Page->EDepth->Visible());
  EXPECT_FALSE(Page->CBDepth->Visible());
  EXPECT_TRUE(Page->CBZDateTime->Visible());
  Page->CBZDateTime->SetChecked(true);
  EXPECT_TRUE(xyz->ZValues()->DateTime());
}

TEST_F(SeriesPageTest, RandomDataTakesTheSampleCount) {
  auto* a = Add<TEditedLineSeries>("A", {});
  a->LoadDemoData(5);
  ASSERT_FALSE(a->ManualData);
  Open();
  Choose(a);
  Page->PageSeries->SetActivePage(Page->TabDataSource);
  Page->PageSeriesChange(Page->PageSeries);
  // Points not entered by hand: "Random".
  EXPECT_EQ(Page->CBDataSourcestyle->ItemIndex(), 1);
  EXPECT_TRUE(Page->Panel4->Visible());
  EXPECT_EQ(Page->ESamples->Text(), "25");
  EXPECT_TRUE(Page->CBSamplesDefault->Checked());
  Page->ESamples->SetText("40");
  EXPECT_EQ(a->SampleCount, 40);
  EXPECT_FALSE(Page->CBSamplesDefault->Checked());
  EXPECT_TRUE(Page->BApplyRandom->Enabled());
  Page->BApplyRandom->Click();
  EXPECT_EQ(a->Count(), 40);
  // Not a number: 0, which is the default.
  Page->ESamples->SetText("abc");
  EXPECT_EQ(a->SampleCount, 0);
  EXPECT_TRUE(Page->CBSamplesDefault->Checked());
  // "Clear" empties the series and turns to the grid.
  Page->Button3->Click();
  EXPECT_EQ(a->Count(), 0);
  EXPECT_EQ(Page->CBDataSourcestyle->ItemIndex(), 0);
  EXPECT_TRUE(Page->ChartGrid1->Visible());
  EXPECT_EQ(Page->ChartGrid1->Series(), a);
  EXPECT_TRUE(a->ManualData);
}

TEST_F(SeriesPageTest, EditorFormsAddTabsAndARemovedSeriesEmptiesThem) {
  auto* a = Add<TEditedLineSeries>("A", {1});
  auto* b = Add<TEditedLineSeries>("B", {2});
  Open();
  Choose(a);
  const int fixed = Page->PageSeries->PageCount();
  TCustomForm* extra = TFormGrafSeries::CreateSeriesEditorPage(Page->SeriesEditorForm()->Parent(),
                                                               &TTestLineEditorForm::StaticClass(), 1, "Pointer", a);
  ASSERT_NE(extra, nullptr);
  ASSERT_EQ(Page->PageSeries->PageCount(), fixed + 1);
  EXPECT_EQ(Page->PageSeries->Pages(1)->Caption(), "Pointer");
  EXPECT_EQ(extra->Parent(), Page->PageSeries->Pages(1));
  // Outside the page the form is only made, with the series in Tag.
  std::unique_ptr<TCustomForm> loose(
      TFormGrafSeries::CreateSeriesEditorPage(nullptr, &TTestLineEditorForm::StaticClass(), 1, "Circled", a));
  ASSERT_NE(loose, nullptr);
  EXPECT_EQ(loose->Caption(), "Circled");
  EXPECT_EQ(reinterpret_cast<TChartSeries*>(loose->Tag()), a);
  EXPECT_FALSE(loose->Visible());
  // Another series drops the added tab.
  Choose(b);
  EXPECT_EQ(Page->PageSeries->PageCount(), fixed);
  // Removing the shown series empties "Format" at once.
  ASSERT_NE(Page->SeriesEditorForm(), nullptr);
  delete b;
  EXPECT_EQ(Page->SeriesEditorForm(), nullptr);
  EXPECT_EQ(Page->TheTabSheet->ControlCount(), 0);
  EXPECT_EQ(Page->CurrentSeries, nullptr);
}

}  // namespace
