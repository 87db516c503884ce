// The options editors of the functions on the data-source page: what they
// list and load, and what applying stores.
#include <gtest/gtest.h>

#include <memory>

#include "chart/editor/graffuncedit.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "chart/series/graffunci.h"
#include "chart/series/grafcandle.h"
#include "dialogtest.h"
#include "support/gui/guitest.h"

using dialogtest::Find;

namespace {

class FunctionEditorsTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(30, 30, 520, 400);
    Chart = new TChart(Host.get());
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 200, 150);
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(200, 0, 320, 300);
    Host->Show();
  }
  void TearDown() override {
    Host.reset();
    EditorDialogTest::TearDown();
  }
  TLineSeries* Add(const std::string& Name) {
    auto* s = new TLineSeries(Host.get());
    s->SetName(Name);
    s->SetTitle(Name);
    s->SetParentChart(Chart);
    return s;
  }
  // The data-source page of the series with the function chosen; its
  // options editor.
  TForm* Options(TChartSeries* Series, TClass Function) {
    Page = new TGrafFuncEditor(Host.get());
    EmbedFormInSheetWithTag(Page, Sheet, Series);
    auto* combo = Find<TComboBox>(Page, "CBSources");
    const int i = combo->Items()->IndexOfObject(reinterpret_cast<TObject*>(const_cast<TClassInfo*>(Function)));
    EXPECT_GE(i, 0);
    combo->UserSelected(i);
    return Page->OptionsEditor();
  }

  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
  TGrafFuncEditor* Page = nullptr;
};

TEST_F(FunctionEditorsTest, VolumeListHoldsNoneAndTheOtherSeriesOnly) {
  TLineSeries* target = Add("Target");
  TLineSeries* volume = Add("Volume");
  Add("Third");
  TForm* options = Options(target, &TOBVFunction::StaticClass());
  ASSERT_NE(options, nullptr);
  auto* combo = Find<TComboBox>(options, "CBVolume");
  ASSERT_EQ(combo->Items()->Count(), 3);
  EXPECT_EQ(combo->Items()->Strings(0), "(none)");
  EXPECT_EQ(combo->Items()->IndexOfObject(target), -1);
  EXPECT_EQ(combo->ItemIndex(), 0);
  combo->UserSelected(combo->Items()->IndexOfObject(volume));
  EXPECT_TRUE(Page->ApplyButton()->Enabled());
  Page->ApplyButton()->Click();
  EXPECT_EQ(dynamic_cast<TOBVFunction*>(target->FunctionType())->Volume(), volume);
}

TEST_F(FunctionEditorsTest, CompressionOpensOnItsPeriodAndAChoiceOfPeriodClearsIt) {
  TLineSeries* target = Add("Target");
  auto* f = dynamic_cast<TCompressFunction*>(CreateSeriesFunction(target, &TCompressFunction::StaticClass()));
  target->AssignFunction(f);
  f->SetPeriod(10);
  TForm* options = Options(target, &TCompressFunction::StaticClass());
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(Find<TRadioButton>(options, "RadioPoints")->Checked());
  EXPECT_EQ(Find<TUpDown>(options, "UpDown1")->Position(), 10);
  Find<TRadioButton>(options, "RadioTime")->SetChecked(true);
  EXPECT_EQ(Find<TUpDown>(options, "UpDown1")->Position(), 0);
  Find<TComboBox>(options, "CBTimePeriod")->UserSelected(2);  // "Minute"
  Page->ApplyButton()->Click();
  EXPECT_EQ(f->Compress(), ocMinute);
  EXPECT_EQ(f->Period(), 0);
}

TEST_F(FunctionEditorsTest, NewCustomFunctionWithTheDefaultsGivesAHundredPointsFromZero) {
  TLineSeries* target = Add("Target");
  TForm* options = Options(target, &TCustomGrafFunction::StaticClass());
  ASSERT_NE(options, nullptr);
  Page->ApplyButton()->Click();
  auto* f = dynamic_cast<TCustomGrafFunction*>(target->FunctionType());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->StartX(), 0);
  EXPECT_EQ(f->Period(), 1);
  EXPECT_EQ(f->NumPoints(), 100);

  // A step that is no number is refused with the conversion error; nothing
  // after it is stored.
  Find<TEdit>(options, "ENum")->SetText("50");
  Find<TEdit>(options, "EStep")->SetText("one");
  bool canClose = false;
  EXPECT_THROW(options->OnCloseQuery(options, canClose), EConvertError);
  EXPECT_EQ(f->Period(), 1);
  EXPECT_EQ(f->NumPoints(), 100);
}

}  // namespace
