// The chart editor's Legend page: its controls reach the legend, the
// custom position switches resizing and the margins off, the margin edits
// the side the legend stands on, and the shape editors join its tabs.
#include <gtest/gtest.h>

#include <memory>

#include "chart/editor/grafedilege.h"
#include "chart/editor/grafstore.h"
#include "dialogtest.h"
#include "platform/rtl/streams.h"
#include "support/gui/guitest.h"

using dialogtest::Find;

namespace {

class LegendPageTest : public dialogtest::EditorDialogTest {
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
  TFormGrafLegend* Open() {
    TFormGrafLegend* page = TFormGrafLegend::CreateForLegend(Host.get(), Chart->Legend());
    EmbedFormInSheet(page, Sheet);
    return page;
  }
  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
};

TEST_F(LegendPageTest, ShapeAndSymbolEditorsJoinThePage) {
  TFormGrafLegend* page = Open();
  auto* pages = Find<TPageControl>(page, "PageControl1");
  const char* captions[] = {"Style", "Position", "Symbols", "Title", "Format", "Text", "Gradient", "Shadow"};
  ASSERT_EQ(pages->PageCount(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(pages->Pages(i)->Caption(), captions[i]);
  EXPECT_EQ(page->LegendShapeEditor->Shape(), Chart->Legend());
  EXPECT_EQ(page->TitleShapeEditor->Shape(), Chart->Legend()->Title());
  EXPECT_EQ(Find<TPageControl>(page, "PageControl2")->PageCount(), 5);
  EXPECT_EQ(Find<TSymbolEditor>(page, "SymbolEditor")->Symbol(), Chart->Legend()->Symbol());
  EXPECT_EQ(Find<TSymbolEditor>(page, "SymbolEditor")->Caption(), "Legend Symbol Editor");
}

TEST_F(LegendPageTest, CustomPositionSwitchesResizingAndMarginsOff) {
  TFormGrafLegend* page = Open();
  auto* custom = Find<TCheckBox>(page, "CBCustPos");
  auto* resize = Find<TCheckBox>(page, "CBResizeChart");
  const char* offWhenCustom[] = {"CBResizeChart", "SEMargin", "UDMargin", "SETopPos", "UDTopPos"};
  const char* onWhenCustom[] = {"ECustLeft", "ECustTop", "UDLeft", "UDTop", "CBPosPercent"};
  EXPECT_TRUE(resize->Checked());
  // Custom position off: typing a left edge changes nothing.
  Find<TEdit>(page, "ECustLeft")->SetText("40");
  EXPECT_FALSE(Chart->Legend()->CustomPosition());
  EXPECT_NE(Chart->Legend()->Left(), 40);
  for (const char* c : onWhenCustom) EXPECT_FALSE(Find<TControl>(page, c)->Enabled()) << c;

  custom->SetChecked(true);
  EXPECT_TRUE(Chart->Legend()->CustomPosition());
  EXPECT_FALSE(Chart->Legend()->ResizeChart());
  EXPECT_FALSE(resize->Checked());
  for (const char* c : offWhenCustom) EXPECT_FALSE(Find<TControl>(page, c)->Enabled()) << c;
  for (const char* c : onWhenCustom) EXPECT_TRUE(Find<TControl>(page, c)->Enabled()) << c;
  Find<TEdit>(page, "ECustLeft")->SetText("40");
  Find<TEdit>(page, "ECustTop")->SetText("25");
  EXPECT_EQ(Chart->Legend()->Left(), 40);
  EXPECT_EQ(Chart->Legend()->Top(), 25);
  Find<TCheckBox>(page, "CBPosPercent")->SetChecked(true);
  EXPECT_EQ(Chart->Legend()->PositionUnits(), muPercent);
  Find<TEdit>(page, "ECustLeft")->SetText("30");
  EXPECT_EQ(Chart->Legend()->LeftPercent(), 30);
  EXPECT_EQ(Chart->Legend()->Left(), 40);

  // Clearing it enables the margins again but leaves resizing off.
  custom->SetChecked(false);
  for (const char* c : offWhenCustom) EXPECT_TRUE(Find<TControl>(page, c)->Enabled()) << c;
  EXPECT_FALSE(Chart->Legend()->ResizeChart());
  EXPECT_FALSE(resize->Checked());
}

TEST_F(LegendPageTest, TheMarginEditsTheSideTheLegendStoodOnWhenShown) {
  Chart->Legend()->SetAlignment(laTop);
  Chart->Legend()->SetVertMargin(7);
  Chart->Legend()->SetHorizMargin(3);
  TFormGrafLegend* page = Open();
  auto* margin = Find<TEdit>(page, "SEMargin");
  EXPECT_EQ(margin->Text(), "7");
  margin->SetText("9");
  EXPECT_EQ(Chart->Legend()->VertMargin(), 9);
  Find<TRadioGroup>(page, "RGPosition")->SetItemIndex(0);
  EXPECT_EQ(Chart->Legend()->Alignment(), laLeft);
  EXPECT_EQ(margin->Text(), "9");  // not refilled
  margin->SetText("12");
  EXPECT_EQ(Chart->Legend()->HorizMargin(), 12);
  EXPECT_EQ(Chart->Legend()->VertMargin(), 9);
}

TEST_F(LegendPageTest, CheckBoxChoices) {
  TFormGrafLegend* page = Open();
  auto* boxes = Find<TComboBox>(page, "CBCheckBoxes");
  EXPECT_EQ(boxes->ItemIndex(), 0);
  const struct {
    int Item;
    bool CheckBoxes;
    TCheckBoxesStyle Style;
  } cases[] = {{2, true, cbsRadio}, {1, true, cbsCheck}, {0, false, cbsRadio}};
  for (const auto& c : cases) {
    boxes->UserSelected(c.Item);
    EXPECT_EQ(Chart->Legend()->CheckBoxes(), c.CheckBoxes) << c.Item;
    EXPECT_EQ(Chart->Legend()->CheckBoxesStyle(), c.Style) << c.Item;
  }
}

// Changes made through the page's controls, as the chart file keeps them.
TEST_F(LegendPageTest, EditedLegendInTheChartFile) {
  TFormGrafLegend* page = Open();
  Find<TCheckBox>(page, "CBInverted")->SetChecked(true);
  Find<TComboBox>(page, "CBLegendStyle")->UserSelected(1);
  Find<TComboBox>(page, "CBLegStyle")->UserSelected(7);
  Find<TEdit>(page, "EVertSpacing")->SetText("-4");
  Find<TCheckBox>(page, "CBFontColor")->SetChecked(true);
  Find<TEdit>(page, "SETopPos")->SetText("25");
  Find<TRadioGroup>(page, "RGPosition")->SetItemIndex(3);
  Find<TMemo>(page, "MemoText")->SetText("Phases\r\nfound");
  Find<TComboBox>(page, "CBTextAlign")->UserSelected(1);
  Find<TCheckBox>(page, "CBTitleVisible")->SetChecked(true);
  EXPECT_EQ(Chart->Legend()->Title()->Text()->Count(), 2);
  EXPECT_EQ(Chart->Legend()->Title()->Text()->Strings(1), "found");
  TStringStream s;
  WriteChartStream(Chart, s, false, true);
  EXPECT_TRUE(editortest::MatchesGolden("legend-page.txt", s.DataString()));
}

}  // namespace
