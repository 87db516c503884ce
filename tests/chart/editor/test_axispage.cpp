// The chart editor's Axis page: the list of axes with custom axes added and
// deleted, the scales (logarithmic refused on date-time axes, the base, the
// range ends through their dialog), the label formats, the positions, and
// what the page writes into a chart file.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "chart/editor/grafaxisincr.h"
#include "chart/editor/grafediaxis.h"
#include "chart/editor/grafstore.h"
#include "dialogtest.h"
#include "platform/rtl/format.h"
#include "platform/rtl/streams.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

using dialogtest::Find;
using editortest::AddLine;

namespace {

class AxisPageTest : public dialogtest::EditorDialogTest {
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
  TFormGrafAxis* Open(TChartAxis* Axis) {
    auto* page = new TFormGrafAxis(Host.get(), Axis);
    EmbedFormInSheet(page, Sheet);
    return page;
  }
  // The user clicks a line of the axis list.
  static void ClickItem(TFormGrafAxis* Page, int Item) {
    auto* list = Find<TListBox>(Page, "LBAxes");
    const TRect r = list->ItemRect(Item);
    guitest::Click(list, r.Left + 5, (r.Top + r.Bottom) / 2);
  }
  static void ShowTab(TFormGrafAxis* Page, const char* Sheet) {
    TPageControl* pages = Page->AxisPages();
    pages->SetActivePage(Find<TTabSheet>(Page, Sheet));
    if (pages->OnChange) pages->OnChange(pages);
  }
  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
};

TEST_F(AxisPageTest, FillAxisNamesListsTheFixedAxesThenTheCustomOnes) {
  new TChartAxis(Chart->CustomAxes());
  new TChartAxis(Chart->CustomAxes());
  ASSERT_EQ(Chart->AxesList()->Count(), 8);
  TStringList names;
  names.Add("left over");
  FillAxisNames(Chart, &names, true);
  const char* expected[] = {"Left Axis", "Right Axis", "Top Axis", "Bottom Axis",
                            "Depth Right", "Depth Top", "Custom 0", "Custom 1"};
  ASSERT_EQ(names.Count(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(names.Strings(i), expected[i]);
  FillAxisNames(nullptr, &names, false);
  EXPECT_EQ(names.Count(), 4);
  EXPECT_EQ(names.Strings(3), "Bottom Axis");
}

TEST_F(AxisPageTest, CustomAxesAreAddedChosenAndDeleted) {
  TFormGrafAxis* page = Open(Chart->BottomAxis());
  auto* list = Find<TListBox>(page, "LBAxes");
  EXPECT_EQ(list->Count(), 6);
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_FALSE(Find<TControl>(page, "BDelete")->Enabled());
  Find<TSpeedButton>(page, "BAdd")->Click();
  Find<TSpeedButton>(page, "BAdd")->Click();
  ASSERT_EQ(Chart->CustomAxes()->Count(), 2);
  EXPECT_EQ(list->Count(), 8);
  EXPECT_EQ(list->Items()->Strings(7), "Custom 1");
  EXPECT_EQ(list->ItemIndex(), 7);
  EXPECT_EQ(page->CurrentAxis, Chart->CustomAxes()->AxisAt(1));
  EXPECT_TRUE(Find<TControl>(page, "BDelete")->Enabled());

  // Only a custom axis may turn horizontal, and the host hears of it.
  TChartAxis* turned = nullptr;
  page->OrientationChanged = [&](TChartAxis* a) { turned = a; };
  ShowTab(page, "TabPositions");
  EXPECT_TRUE(Find<TControl>(page, "CBHorizAxis")->Enabled());
  Find<TCheckBox>(page, "CBHorizAxis")->SetChecked(true);
  EXPECT_TRUE(Chart->CustomAxes()->AxisAt(1)->Horizontal());
  EXPECT_EQ(turned, Chart->CustomAxes()->AxisAt(1));
  ClickItem(page, 0);
  EXPECT_EQ(page->CurrentAxis, Chart->LeftAxis());
  EXPECT_FALSE(Find<TControl>(page, "CBHorizAxis")->Enabled());
  EXPECT_FALSE(Find<TControl>(page, "BDelete")->Enabled());

  // Deleting the first custom axis goes back to "Depth Top".
  ClickItem(page, 6);
  TChartAxis* second = Chart->CustomAxes()->AxisAt(1);
  Find<TSpeedButton>(page, "BDelete")->Click();
  ASSERT_EQ(Chart->CustomAxes()->Count(), 1);
  EXPECT_EQ(Chart->CustomAxes()->AxisAt(0), second);
  EXPECT_EQ(list->ItemIndex(), 5);
  EXPECT_EQ(list->Items()->Strings(5), "Depth Top");
  EXPECT_EQ(list->Count(), 7);
  EXPECT_EQ(page->CurrentAxis, Chart->DepthTopAxis());
}

TEST_F(AxisPageTest, LogarithmicIsRefusedWhereTheAxisCannotTakeIt) {
  TLineSeries* line = AddLine(*Chart, "Dates", {1, 2, 3});
  line->XValues()->SetDateTime(true);
  TLineSeries* negative = AddLine(*Chart, "Below zero", {-5, 2});
  negative->SetVertAxis(aRightAxis);
  std::string reported;
  TExceptionEvent saved = Application->OnException;
  Application->OnException = [&](TObject*, const std::exception& e) { reported = e.what(); };
  const struct {
    TChartAxis* Axis;
    const char* Message;
  } cases[] = {{Chart->BottomAxis(), "DateTime Axis cannot be Logarithmic"},
               {Chart->RightAxis(), "Logarithmic Axis Min and Max values should be >= 0"}};
  for (const auto& c : cases) {
    reported.clear();
    TFormGrafAxis* page = Open(c.Axis);
    auto* box = Find<TCheckBox>(page, "CBLogarithmic");
    guitest::Click(box, 6, box->Height() / 2);
    EXPECT_FALSE(box->Checked()) << c.Message;
    EXPECT_FALSE(c.Axis->Logarithmic()) << c.Message;
    EXPECT_FALSE(Find<TControl>(page, "ELogBase")->Enabled()) << c.Message;
    EXPECT_EQ(reported, c.Message);
    delete page;
  }
  Application->OnException = saved;
  // The left axis takes it, and its base becomes editable.
  TFormGrafAxis* page = Open(Chart->LeftAxis());
  Find<TCheckBox>(page, "CBLogarithmic")->SetChecked(true);
  EXPECT_TRUE(Chart->LeftAxis()->Logarithmic());
  EXPECT_TRUE(Find<TControl>(page, "ELogBase")->Enabled());
  EXPECT_TRUE(Find<TControl>(page, "LogE")->Enabled());
}

TEST_F(AxisPageTest, LogarithmicBaseKeepsTheCurrentBaseForUnusableTexts) {
  Chart->LeftAxis()->SetLogarithmic(true);
  TFormGrafAxis* page = Open(Chart->LeftAxis());
  auto* base = Find<TEdit>(page, "ELogBase");
  auto* e = Find<TCheckBox>(page, "LogE");
  EXPECT_EQ(base->Text(), "10");
  const struct {
    const char* Typed;
    double Base;
  } cases[] = {{"2", 2}, {"1", 2}, {"0", 2}, {"-3", 2}, {"abc", 2}, {"", 2}, {"2.5", 2.5}};
  for (const auto& c : cases) {
    base->SetText(c.Typed);
    EXPECT_EQ(Chart->LeftAxis()->LogarithmicBase(), c.Base) << c.Typed;
    EXPECT_FALSE(e->Checked()) << c.Typed;
  }
  // e exactly ticks and disables the box; a value near it does not.
  base->SetText(FloatToStrF(std::exp(1.0), ffGeneral, 17, 0));
  EXPECT_TRUE(e->Checked());
  EXPECT_FALSE(e->Enabled());
  base->SetText("2.718");
  EXPECT_FALSE(e->Checked());
  EXPECT_TRUE(e->Enabled());
  e->SetChecked(true);
  EXPECT_EQ(Chart->LeftAxis()->LogarithmicBase(), std::exp(1.0));
  EXPECT_FALSE(e->Enabled());
}

TEST_F(AxisPageTest, RangeEndsThroughTheirDialog) {
  AddLine(*Chart, "Line", {1, 5, 3});
  TFormGrafAxis* page = Open(Chart->LeftAxis());
  auto* autoMin = Find<TCheckBox>(page, "CBAutoMin");
  EXPECT_TRUE(autoMin->Checked());
  TDialogResponder messages;
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    EXPECT_EQ(f->Caption(), "Minimum Left Axis");
    EXPECT_EQ(Find<TLabel>(f, "Label1")->Caption(), "Value:");
    EXPECT_FALSE(Find<TControl>(f, "EMinimum")->Visible());
    Find<TEdit>(f, "EMaximum")->SetText("abc");
    Find<TButton>(f, "BitBtn1")->Click();
    EXPECT_EQ(f->ModalResult(), mrNone);  // stays open
    Find<TEdit>(f, "EMaximum")->SetText("-2.5");
    Find<TButton>(f, "BitBtn1")->Click();
    return f->ModalResult();
  });
  Find<TButton>(page, "BAxisMin")->Click();
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.Last().Text.rfind("Incorrect value. Reason: ", 0), 0u) << messages.Last().Text;
  EXPECT_EQ(Chart->LeftAxis()->Minimum(), -2.5);
  EXPECT_FALSE(Chart->LeftAxis()->AutomaticMinimum());
  EXPECT_TRUE(Chart->LeftAxis()->AutomaticMaximum());
  EXPECT_FALSE(autoMin->Checked());
  EXPECT_EQ(Find<TLabel>(page, "LAxisMin")->Caption(), "-2.5");
  // Switching automatic off switches both ends off.
  auto* automatic = Find<TCheckBox>(page, "CBAutomatic");
  automatic->SetChecked(true);
  EXPECT_TRUE(Chart->LeftAxis()->Automatic());
  automatic->SetChecked(false);
  EXPECT_FALSE(Chart->LeftAxis()->Automatic());
  EXPECT_FALSE(Chart->LeftAxis()->AutomaticMaximum());
  EXPECT_FALSE(Find<TCheckBox>(page, "CBAutoMax")->Checked());
}

TEST_F(AxisPageTest, IncrementThroughItsDialog) {
  Chart->LeftAxis()->Title()->SetCaption("Counts");
  TFormGrafAxis* page = Open(Chart->LeftAxis());
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    EXPECT_EQ(f->Caption(), "Desired Counts Increment");
    static_cast<TAxisIncrement*>(f)->Increment = 2.5;
    return mrOk;
  });
  Find<TButton>(page, "BIncre")->Click();
  EXPECT_EQ(Chart->LeftAxis()->Increment(), 2.5);
  EXPECT_EQ(Find<TLabel>(page, "LAxisIncre")->Caption(), "2.5");
}

TEST_F(AxisPageTest, TimeOnlyEndsHideTheDateRow) {
  TAxisMaxMin dialog(nullptr);
  dialog.IsDateTime = true;
  dialog.Value = 0.25;
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    EXPECT_FALSE(Find<TControl>(f, "EMaximum")->Visible());
    EXPECT_FALSE(Find<TControl>(f, "Label1")->Visible());
    EXPECT_EQ(Find<TEdit>(f, "EMinimum")->Text(), "06:00:00");
    Find<TEdit>(f, "EMinimum")->SetText("18:00:00");
    Find<TButton>(f, "BitBtn1")->Click();
    return f->ModalResult();
  });
  ASSERT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_NEAR(dialog.Value, 0.75, 1e-9);
  // With a date the two rows read together.
  TAxisMaxMin dated(nullptr);
  dated.IsDateTime = true;
  dated.Value = 45000.5;
  modal.Do([&](TCustomForm* f) {
    EXPECT_TRUE(Find<TControl>(f, "EMaximum")->Visible());
    Find<TEdit>(f, "EMaximum")->SetText("02/01/2000");
    Find<TEdit>(f, "EMinimum")->SetText("12:00:00");
    Find<TButton>(f, "BitBtn1")->Click();
    return f->ModalResult();
  });
  ASSERT_EQ(dated.ShowModal(), mrOk);
  EXPECT_NEAR(dated.Value, 36527.5, 1e-9);
}

TEST_F(AxisPageTest, LabelFormatsFollowTheAxisKind) {
  TLineSeries* line = AddLine(*Chart, "Hours", {});
  line->XValues()->SetDateTime(true);
  for (double x : {0.1, 0.2, 0.3}) line->AddXYPoint(x, x * 10);
  Chart->BottomAxis()->UpdateMinMax();
  TFormGrafAxis* page = Open(Chart->BottomAxis());
  ShowTab(page, "TabLabels");
  auto* format = Find<TComboBox>(page, "CBFormat");
  EXPECT_EQ(Find<TLabel>(page, "LabelAxisFormat")->Caption(), "DateTime For&mat:");
  ASSERT_EQ(format->Items()->Count(), 5);  // hh:nn and hh:nn:ss come twice
  EXPECT_EQ(format->Items()->Strings(4), "hh:nn:ss.zzz");
  EXPECT_EQ(format->Text(), "hh:nn");
  format->UserSelected(4);
  EXPECT_EQ(Chart->BottomAxis()->DateTimeFormat(), "hh:nn:ss.zzz");

  ClickItem(page, 0);
  EXPECT_EQ(Find<TLabel>(page, "LabelAxisFormat")->Caption(), "Values For&mat:");
  EXPECT_EQ(format->Text(), "#,##0.###");
  format->UserSelected(format->Items()->IndexOf("0.0"));
  EXPECT_EQ(Chart->LeftAxis()->AxisValuesFormat(), "0.0");
  // The default alignment applies to vertical axes only.
  EXPECT_TRUE(Find<TControl>(page, "CBLabelAlign")->Enabled());
  Find<TCheckBox>(page, "CBLabelAlign")->SetChecked(false);
  EXPECT_EQ(Chart->LeftAxis()->LabelsAlign(), alOpposite);
}

TEST_F(AxisPageTest, StartAndEndStayInOrder) {
  TFormGrafAxis* page = Open(Chart->LeftAxis());
  ShowTab(page, "TabPositions");
  auto* start = Find<TEdit>(page, "EStart");
  auto* end = Find<TEdit>(page, "EEnd");
  end->SetText("60");
  EXPECT_EQ(Chart->LeftAxis()->EndPosition(), 60);
  start->SetText("60");
  EXPECT_EQ(Chart->LeftAxis()->StartPosition(), 0);
  EXPECT_EQ(start->Text(), "0");
  start->SetText("20");
  EXPECT_EQ(Chart->LeftAxis()->StartPosition(), 20);
  end->SetText("20");
  EXPECT_EQ(Chart->LeftAxis()->EndPosition(), 60);
  EXPECT_EQ(end->Text(), "60");
}

// Changes made through the page's controls, as the chart file keeps them.
TEST_F(AxisPageTest, EditedAxesInTheChartFile) {
  TFormGrafAxis* page = Open(Chart->LeftAxis());
  Find<TCheckBox>(page, "CBInverted")->SetChecked(true);
  Find<TEdit>(page, "EMaxOff")->SetText("12");
  ShowTab(page, "TabTitle");
  Find<TEdit>(page, "ETitle")->SetText("Counts");
  Find<TEdit>(page, "SETitleAngle")->SetText("270");
  ShowTab(page, "TabLabels");
  Find<TComboBox>(page, "CBLabelStyle")->UserSelected(2);
  Find<TEdit>(page, "SELabelsAngle")->SetText("90");
  Find<TCheckBox>(page, "CBMultiline")->SetChecked(true);
  ShowTab(page, "TabTicks");
  Find<TEdit>(page, "SEAxisTickLength")->SetText("7");
  Find<TCheckBox>(page, "CBGridCentered")->SetChecked(true);
  ShowTab(page, "TabMinorTicks");
  Find<TEdit>(page, "SEMinorCount")->SetText("4");
  ClickItem(page, 3);
  ShowTab(page, "TabPositions");
  Find<TEdit>(page, "EPos")->SetText("-5");
  Find<TComboBox>(page, "CBPosUnits")->UserSelected(1);
  Find<TCheckBox>(page, "CBAxisBeh")->SetChecked(false);
  TStringStream s;
  WriteChartStream(Chart, s, false, true);
  EXPECT_TRUE(editortest::MatchesGolden("axis-page.txt", s.DataString()));
}

}  // namespace
