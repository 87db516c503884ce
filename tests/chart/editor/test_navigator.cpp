// The navigator bar: button sizes, hints, keys, and the chart page
// navigator's paging with auto-repeat.
#include <gtest/gtest.h>

#include <memory>

#include "chart/editor/grafedigene.h"
#include "dialogtest.h"
#include "platform/ui/messages.h"
#include "support/gui/guitest.h"

namespace {

class NavigatorTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(40, 40, 400, 300);
  }
  void TearDown() override {
    Form.reset();
    EditorDialogTest::TearDown();
  }
  std::vector<int> Widths(TCustomGrafNavigator* n) {
    std::vector<int> w;
    for (int i = 0; i < GrafNavButtonCount; ++i)
      if (n->Buttons(static_cast<TGrafNavigateBtn>(i))->Visible())
        w.push_back(n->Buttons(static_cast<TGrafNavigateBtn>(i))->Width());
    return w;
  }
  std::unique_ptr<TForm> Form;
};

TEST_F(NavigatorTest, SpareWidthGoesToTheButtonsByAnErrorCounter) {
  auto* holder = new TPanel(Form.get());
  holder->SetParent(Form.get());
  holder->SetBevelOuter(bvNone);
  holder->SetBounds(0, 0, 245, 60);
  auto* aligned = new TCustomGrafNavigator(Form.get());
  aligned->SetParent(holder);
  EXPECT_EQ(aligned->Width(), 240);  // the designed 241 shrinks to four equal buttons
  aligned->SetAlign(alTop);
  EXPECT_EQ(aligned->Width(), 245);
  EXPECT_EQ(Widths(aligned), (std::vector<int>{61, 61, 62, 61}));
  EXPECT_EQ(aligned->Buttons(nbLast)->Left(), 184);

  auto* loose = new TCustomGrafNavigator(Form.get());
  loose->SetParent(Form.get());
  loose->SetBounds(0, 40, 245, 25);
  EXPECT_EQ(loose->Width(), 244);
  EXPECT_EQ(Widths(loose), (std::vector<int>{61, 61, 61, 61}));
  // Never narrower than the buttons' least width, nor lower than their height.
  loose->SetBounds(0, 40, 30, 5);
  EXPECT_EQ(loose->Width(), 80);
  EXPECT_EQ(loose->Height(), 18);
  // Hidden buttons wait beyond the right edge.
  EXPECT_GE(loose->Buttons(nbInsert)->Left(), loose->Width());
}

TEST_F(NavigatorTest, HintsTakeTheCustomLinesThatAreNotEmpty) {
  auto* n = new TCustomGrafNavigator(Form.get());
  n->SetParent(Form.get());
  EXPECT_EQ(n->Buttons(nbNext)->Hint(), "Next");
  n->Hints()->Add("");
  n->Hints()->Add("Back");
  EXPECT_EQ(n->Buttons(nbFirst)->Hint(), "First");
  EXPECT_EQ(n->Buttons(nbPrior)->Hint(), "Back");
  EXPECT_EQ(n->Buttons(nbCancel)->Hint(), "Cancel");
}

class PageNavigatorTest : public NavigatorTest {
protected:
  void SetUp() override {
    NavigatorTest::SetUp();
    Chart = new TChart(Form.get());
    Chart->SetParent(Form.get());
    Chart->SetBounds(0, 30, 300, 200);
    auto* s = editortest::AddLine(*Chart, "S", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    (void)s;
    Chart->SetMaxPointsPerPage(3);  // 4 pages
    Navigator = new TChartPageNavigator(Form.get());
    Navigator->SetParent(Form.get());
    Navigator->SetChart(Chart);
  }
  TChart* Chart = nullptr;
  TChartPageNavigator* Navigator = nullptr;
};

TEST_F(PageNavigatorTest, HoldingNextRepeatsUntilTheLastPage) {
  ASSERT_EQ(Chart->PageCount(), 4);
  EXPECT_FALSE(Navigator->Buttons(nbFirst)->Enabled());
  EXPECT_TRUE(Navigator->Buttons(nbNext)->Enabled());
  std::vector<int> clicked;
  Navigator->OnButtonClicked = [&](TObject*, int i) { clicked.push_back(i); };
  Form->Show();
  TGrafNavButton* next = Navigator->Buttons(nbNext);
  guitest::MouseDown(next, mbLeft, 5, 5);
  ASSERT_NE(next->RepeatTimer(), nullptr);
  EXPECT_EQ(next->RepeatTimer()->Interval(), 400u);
  EXPECT_TRUE(next->RepeatTimer()->Enabled());
  EXPECT_EQ(Chart->Page(), 1);  // nothing before the first pause
  guitest::FireTimer(next->RepeatTimer());
  EXPECT_EQ(Chart->Page(), 2);
  EXPECT_EQ(next->RepeatTimer()->Interval(), 100u);
  guitest::FireTimer(next->RepeatTimer());
  guitest::FireTimer(next->RepeatTimer());
  EXPECT_EQ(Chart->Page(), 4);
  EXPECT_FALSE(next->Enabled());
  EXPECT_FALSE(Navigator->Buttons(nbLast)->Enabled());
  EXPECT_TRUE(Navigator->Buttons(nbPrior)->Enabled());
  guitest::FireTimer(next->RepeatTimer());
  EXPECT_EQ(Chart->Page(), 4);
  guitest::MouseUp(next, mbLeft, 5, 5);
  EXPECT_FALSE(next->RepeatTimer()->Enabled());
  EXPECT_EQ(clicked, (std::vector<int>{nbNext, nbNext, nbNext}));
}

TEST_F(PageNavigatorTest, ButtonsFollowPagesTurnedElsewhere) {
  Chart->SetPage(3);
  EXPECT_TRUE(Navigator->Buttons(nbFirst)->Enabled());
  EXPECT_TRUE(Navigator->Buttons(nbNext)->Enabled());
  Navigator->Buttons(nbFirst)->Click();
  EXPECT_EQ(Chart->Page(), 1);
  Navigator->Buttons(nbLast)->Click();
  EXPECT_EQ(Chart->Page(), 4);
  Navigator->Buttons(nbPrior)->Click();
  EXPECT_EQ(Chart->Page(), 3);
  // The chart goes: the navigator lets go of it.
  delete Chart;
  Chart = nullptr;
  EXPECT_EQ(Navigator->Chart(), nullptr);
  EXPECT_FALSE(Navigator->Buttons(nbNext)->Enabled());
}

TEST_F(PageNavigatorTest, KeysMoveTheCurrentButtonAndSpaceClicksIt) {
  uint16_t key = VK_RIGHT;
  Navigator->KeyDown(key, {});
  key = VK_RIGHT;
  Navigator->KeyDown(key, {});
  EXPECT_EQ(Navigator->CurrentButton(), nbNext);
  key = VK_SPACE;
  Navigator->KeyDown(key, {});
  EXPECT_EQ(Chart->Page(), 2);
  for (int i = 0; i < 5; ++i) {
    key = VK_RIGHT;
    Navigator->KeyDown(key, {});
  }
  EXPECT_EQ(Navigator->CurrentButton(), nbLast);  // the hidden buttons are skipped
  for (int i = 0; i < 5; ++i) {
    key = VK_LEFT;
    Navigator->KeyDown(key, {});
  }
  EXPECT_EQ(Navigator->CurrentButton(), nbFirst);
  EXPECT_EQ(Navigator->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

}  // namespace
