// The series list box: filling from the chart, the active check boxes and
// radio buttons, reordering by drag and drop, deleting, renaming, colours by
// double click, the in-place title editor and the cursor over the sections.
#include <gtest/gtest.h>

#include <memory>

#include "chart/editor/graflisb.h"
#include "chart/series/series_pie.h"
#include "dialogtest.h"
#include "platform/ui/messages.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

namespace {

using editortest::AddLine;

class SeriesListBoxTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(40, 40, 420, 300);
    Chart = new TChart(Form.get());
    Chart->SetParent(Form.get());
    Chart->SetBounds(300, 0, 100, 100);
    List = new TChartListBox(Form.get());
    List->SetParent(Form.get());
    List->SetBounds(0, 0, 290, 200);
    Form->Show();
  }
  void TearDown() override {
    Form.reset();
    EditorDialogTest::TearDown();
  }
  void AddSeries(int n) {
    for (int i = 0; i < n; ++i) {
      auto* s = AddLine(*Chart, std::string(1, static_cast<char>('A' + i)), {1, 2});
      s->SetName(std::string("Series") + static_cast<char>('1' + i));
    }
    List->SetChart(Chart);
  }
  // The y of the middle of an item.
  int ItemY(int i) { return List->ItemRect(i).Top + 12; }
  int SectionX(TChartListBox::TSection s) { return List->SectionLeft(s) + 8; }
  std::unique_ptr<TForm> Form;
  TChart* Chart = nullptr;
  TChartListBox* List = nullptr;
};

TEST_F(SeriesListBoxTest, ListsTheSeriesAndFollowsTheChart) {
  int refreshed = 0, removed = 0;
  List->OnRefresh = [&](TObject*) { ++refreshed; };
  List->OnRemovedSeries = [&](TChartListBox*, TCustomChartSeries*) { ++removed; };
  AddSeries(3);
  ASSERT_EQ(List->Count(), 3);
  EXPECT_EQ(List->Items()->Strings(1), "B");
  EXPECT_EQ(List->ItemIndex(), 0);
  EXPECT_TRUE(List->Selected(0));
  EXPECT_EQ(List->SelectedSeries(), Chart->SeriesAt(0));
  EXPECT_GE(refreshed, 1);
  Chart->SeriesAt(1)->SetTitle("Bee");
  EXPECT_EQ(List->Items()->Strings(1), "Bee");
  delete Chart->SeriesAt(2);
  EXPECT_EQ(List->Count(), 2);
  EXPECT_EQ(removed, 1);
  AddLine(*Chart, "D", {1});
  EXPECT_EQ(List->Count(), 3);
  delete Chart;
  Chart = nullptr;
  EXPECT_EQ(List->Chart(), nullptr);
  EXPECT_EQ(List->Count(), 0);
  EXPECT_EQ(List->ItemIndex(), -1);
}

TEST_F(SeriesListBoxTest, ChecksAndRadioButtonsSwitchSeries) {
  AddSeries(3);
  TCustomChartSeries* changed = nullptr;
  List->OnChangeActive = [&](TChartListBox*, TCustomChartSeries* s) { changed = s; };
  guitest::Click(List, SectionX(TChartListBox::lsCheck), ItemY(1));
  EXPECT_FALSE(Chart->SeriesAt(1)->Active());
  EXPECT_EQ(changed, Chart->SeriesAt(1));
  guitest::Click(List, SectionX(TChartListBox::lsCheck), ItemY(1));
  EXPECT_TRUE(Chart->SeriesAt(1)->Active());
  // Radio style leaves only the first active series on.
  List->SetCheckStyle(cbsRadio);
  EXPECT_TRUE(Chart->SeriesAt(0)->Active());
  EXPECT_FALSE(Chart->SeriesAt(1)->Active());
  EXPECT_FALSE(Chart->SeriesAt(2)->Active());
  // A click on a radio button makes that series the only active one.
  guitest::Click(List, SectionX(TChartListBox::lsCheck), ItemY(2));
  EXPECT_FALSE(Chart->SeriesAt(0)->Active());
  EXPECT_TRUE(Chart->SeriesAt(2)->Active());
}

TEST_F(SeriesListBoxTest, DraggingOneSeriesOntoAnotherSwapsOnlyThoseTwo) {
  AddSeries(4);
  TChartSeries* a = Chart->SeriesAt(0);
  TChartSeries* d = Chart->SeriesAt(3);
  int orders = 0;
  List->OnChangeOrder = [&](TChartListBox*, TCustomChartSeries* s1, TCustomChartSeries* s2) {
    ++orders;
    EXPECT_EQ(s1, a);
    EXPECT_EQ(s2, d);
  };
  const int x = SectionX(TChartListBox::lsTitle);
  guitest::Drag(List, x, ItemY(0), x, ItemY(3), 6);
  EXPECT_EQ(orders, 1);
  EXPECT_EQ(Chart->SeriesAt(0), d);
  EXPECT_EQ(Chart->SeriesAt(1)->Title(), "B");
  EXPECT_EQ(Chart->SeriesAt(2)->Title(), "C");
  EXPECT_EQ(Chart->SeriesAt(3), a);
  EXPECT_EQ(List->Items()->Strings(0), "D");
  EXPECT_EQ(List->Items()->Strings(3), "A");
  EXPECT_EQ(List->ItemIndex(), 3);
  // A press that does not pass the drag threshold drags nothing.
  guitest::Drag(List, x, ItemY(1), x, ItemY(1) + 2, 2);
  EXPECT_EQ(orders, 1);
  // Without EnableDragSeries nothing moves.
  List->EnableDragSeries = false;
  guitest::Drag(List, x, ItemY(1), x, ItemY(2), 6);
  EXPECT_EQ(Chart->SeriesAt(1)->Title(), "B");
  // Move up and down exchange with the neighbour.
  List->OnChangeOrder = nullptr;
  List->SelectIndex(1);
  List->ClearSelection();
  List->SetItemIndex(1);
  List->MoveDown();
  EXPECT_EQ(Chart->SeriesAt(2)->Title(), "B");
  List->MoveUp();
  EXPECT_EQ(Chart->SeriesAt(1)->Title(), "B");
}

TEST_F(SeriesListBoxTest, DeletingSelectedSeriesAsksOnceAndRemovesThemAll) {
  AddSeries(3);
  TDialogResponder answers;
  answers.Answer(mrNo).Answer(mrYes).Answer(mrYes);
  List->ClearSelection();
  List->SetSelected(0, true);
  List->SetSelected(2, true);
  EXPECT_FALSE(List->DeleteSeries());
  EXPECT_EQ(Chart->NumberOfSeries(), 3);
  EXPECT_EQ(answers.Last().Text, "Delete (Selected Series) ?");
  EXPECT_TRUE(List->DeleteSeries());
  ASSERT_EQ(Chart->NumberOfSeries(), 1);
  EXPECT_EQ(Chart->SeriesAt(0)->Title(), "B");
  EXPECT_EQ(List->Count(), 1);
  EXPECT_EQ(List->ItemIndex(), 0);
  // The Delete key asks about the one series by its name.
  guitest::Key(List, VK_DELETE);
  EXPECT_EQ(answers.Last().Text, "Delete B ?");
  EXPECT_EQ(Chart->NumberOfSeries(), 0);
  EXPECT_EQ(answers.Count(), 3u);
}

TEST_F(SeriesListBoxTest, RenamingToTheComponentNameClearsTheTitle) {
  AddSeries(2);
  TDialogResponder answers;
  answers.AnswerText("Second").AnswerText("Series2").AnswerText("", true);
  List->SetItemIndex(1);
  EXPECT_TRUE(List->RenameSeries());
  EXPECT_EQ(answers.Last().Caption, "Change Series Title");
  EXPECT_EQ(answers.Last().Text, "New Series Title:");
  EXPECT_EQ(answers.Last().Default, "B");
  EXPECT_EQ(Chart->SeriesAt(1)->Title(), "Second");
  EXPECT_TRUE(List->RenameSeries());
  EXPECT_EQ(Chart->SeriesAt(1)->Title(), "");
  EXPECT_EQ(List->Items()->Strings(1), "Series2");
  // An empty text changes nothing.
  EXPECT_FALSE(List->RenameSeries());
  EXPECT_EQ(List->ItemIndex(), 1);
}

TEST_F(SeriesListBoxTest, TheTitleIsEditedInPlace) {
  AddSeries(2);
  List->SetFocus();
  guitest::Key(List, VK_F2);
  ASSERT_NE(List->TitleEditor(), nullptr);
  ASSERT_TRUE(List->TitleEditor()->Visible());
  EXPECT_EQ(List->TitleEditor()->Text(), "A");
  EXPECT_EQ(List->TitleEditor()->Left(), List->SectionLeft(TChartListBox::lsTitle) - 2);
  EXPECT_EQ(List->TitleEditor()->Width(), 216);
  List->TitleEditor()->SetText("Alpha");
  guitest::Key(List->TitleEditor(), VK_RETURN, "\r");
  EXPECT_FALSE(List->TitleEditor()->Visible());
  EXPECT_EQ(Chart->SeriesAt(0)->Title(), "Alpha");
  EXPECT_EQ(List->Items()->Strings(0), "Alpha");
  // Esc closes it and keeps the title.
  List->EditTitleInPlace();
  List->TitleEditor()->SetText("Nope");
  guitest::Key(List->TitleEditor(), VK_ESCAPE);
  EXPECT_FALSE(List->TitleEditor()->Visible());
  EXPECT_EQ(Chart->SeriesAt(0)->Title(), "Alpha");
}

TEST_F(SeriesListBoxTest, DoubleClickOnTheColourChangesIt) {
  AddSeries(1);
  auto* pie = new TPieSeries(Chart);
  pie->SetParentChart(Chart);
  pie->AddSingleValue(1);
  ASSERT_EQ(List->Count(), 2);
  TCustomChartSeries* coloured = nullptr;
  List->OnChangeColor = [&](TChartListBox*, TCustomChartSeries* s) { coloured = s; };
  guitest::TCommonDialogResponder colours;
  colours.Do([](TCommonDialog* d) {
    static_cast<TColorDialog*>(d)->Color = clLime;
    return true;
  });
  guitest::DblClick(List, SectionX(TChartListBox::lsColor), ItemY(0));
  EXPECT_EQ(colours.Count(), 1);
  EXPECT_EQ(Chart->SeriesAt(0)->SeriesColor(), clLime);
  EXPECT_EQ(coloured, Chart->SeriesAt(0));
  // A pie has no one series colour: nothing opens.
  guitest::DblClick(List, SectionX(TChartListBox::lsColor), ItemY(1));
  EXPECT_EQ(colours.Count(), 1);
  // A double click on the title reports the item.
  int index = -1;
  List->OnDblClickSeries = [&](TChartListBox*, int i) { index = i; };
  guitest::DblClick(List, SectionX(TChartListBox::lsTitle), ItemY(1));
  EXPECT_EQ(index, 1);
}

TEST_F(SeriesListBoxTest, SectionsMoveLeftWhenOthersAreHiddenAndShowAHand) {
  AddSeries(1);
  EXPECT_EQ(List->SectionLeft(TChartListBox::lsColor), 42);
  auto cursorAt = [&](TChartListBox::TSection s, int y) {
    guitest::MouseMove(List, SectionX(s), y);
    return guitest::ShownCursor(List, SectionX(s), y);
  };
  EXPECT_EQ(cursorAt(TChartListBox::lsIcon, ItemY(0)), crHandPoint);
  EXPECT_EQ(cursorAt(TChartListBox::lsColor, ItemY(0)), crHandPoint);
  EXPECT_EQ(cursorAt(TChartListBox::lsTitle, ItemY(0)), crDefault);
  EXPECT_EQ(cursorAt(TChartListBox::lsIcon, 24 * 3 + 12), crDefault);  // below the items
  List->EnableChangeType = false;
  EXPECT_EQ(cursorAt(TChartListBox::lsIcon, ItemY(0)), crDefault);
  List->SetShowSeriesIcon(false);
  List->SetShowActiveCheck(false);
  EXPECT_EQ(List->SectionLeft(TChartListBox::lsColor), 0);
  EXPECT_TRUE(List->PointInSection(TChartListBox::lsColor, 5));
  EXPECT_FALSE(List->PointInSection(TChartListBox::lsCheck, 5));
}

}  // namespace
