// The editor forms of the polar family, the Smith chart and the gauge, as
// the series page hosts them: each is found by the name its series gives,
// adds its tabs once, loads the series without writing back, hands every
// change of a control to the series (or to the axis the series borrows it
// from), and shows or enables its controls as the series calls for.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/editor/grafediseri.h"
#include "chart/editor/grafedifont.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/graflisb.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafpoedi.h"
#include "chart/extra/extraregister.h"
#include "chart/extra/grafgauges.h"
#include "chart/extra/grafpolar.h"
#include "chart/extra/grafrose.h"
#include "chart/extra/grafsmith.h"
#include "platform/ui/pages.h"
#include "platform/ui/ranges.h"
#include "support/gui/guitest.h"

namespace {

template <class T>
T* Find(TComponent* Owner, const char* Name) {
  T* c = Owner ? dynamic_cast<T*>(Owner->FindComponent(Name)) : nullptr;
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

class PolarEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    RegisterChartEditorUnits();
    RegisterExtraSeriesTypes();
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
  void TearDown() override { Host.reset(); }

  template <class T>
  T* Add() {
    auto* s = new T(Host.get());
    s->SetName("S" + std::to_string(Chart->NumberOfSeries() + 1));
    s->SetParentChart(Chart);
    return s;
  }
  TChartSeries* Add(TClass SeriesClass) {
    auto* s = dynamic_cast<TChartSeries*>(CreateComponentOfClass(SeriesClass, Host.get()));
    s->SetName("S" + std::to_string(Chart->NumberOfSeries() + 1));
    s->SetParentChart(Chart);
    return s;
  }

  // The series page on the series; its editor form in "Format".
  TCustomForm* OpenPage(TChartSeries* Series) {
    delete Page;
    Page = new TFormGrafSeries(Host.get());
    auto* list = new TChartListBox(Page);
    list->SetParent(Host.get());
    list->SetBounds(0, 210, 200, 150);
    list->OtherItems = Page->CBSeries->Items();
    Page->SeriesListBox = list;
    list->SetChart(Chart);
    EmbedFormInSheet(Page, Sheet);
    Page->CurrentSeries = Series;
    Page->SelectCurrentSeries();
    return Page->SeriesEditorForm();
  }
  std::vector<std::string> Tabs() const {
    std::vector<std::string> captions;
    for (int i = 0; i < Page->PageSeries->PageCount(); ++i)
      if (Page->PageSeries->Pages(i)->TabVisible()) captions.push_back(Page->PageSeries->Pages(i)->Caption());
    return captions;
  }
  template <class T>
  T* TabForm(const std::string& Caption) const {
    for (int i = 0; i < Page->PageSeries->PageCount(); ++i) {
      TTabSheet* tab = Page->PageSeries->Pages(i);
      if (tab->Caption() != Caption) continue;
      for (int c = 0; c < tab->ControlCount(); ++c)
        if (auto* f = dynamic_cast<T*>(tab->Controls(c))) return f;
    }
    return nullptr;
  }

  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
  TFormGrafSeries* Page = nullptr;
};

int CountOf(const std::vector<std::string>& Items, const std::string& Item) {
  return static_cast<int>(std::count(Items.begin(), Items.end(), Item));
}

TEST_F(PolarEditorTest, EachSeriesOpensItsEditorWithItsTabsOnce) {
  struct Case {
    TClass Series;
    const char* Editor;
    bool PointTab;
  };
  const Case cases[] = {
      {&TPolarSeries::StaticClass(), "TPolarSeriesEditor", true},
      {&TRadarSeries::StaticClass(), "TPolarSeriesEditor", true},
      {&TPolarBarSeries::StaticClass(), "TPolarSeriesEditor", true},
      {&TWindRoseSeries::StaticClass(), "TWindRoseEditor", true},
      {&TClockSeries::StaticClass(), "TClockEditor", true},
      {&TSmithSeries::StaticClass(), "TSmithSeriesEdit", false},
      {&TGaugeSeries::StaticClass(), "TGaugeSeriesEditor", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Series->Name());
    TChartSeries* s = Add(c.Series);
    TCustomForm* form = OpenPage(s);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->ClassName(), c.Editor);
    // Showing the form again (the page coming back) adds no second tab.
    form->Hide();
    form->Show();
    const std::vector<std::string> tabs = Tabs();
    EXPECT_EQ(CountOf(tabs, "Circled"), 1);
    EXPECT_EQ(CountOf(tabs, "Point"), c.PointTab ? 1 : 0);
    auto* circled = TabForm<TCustomForm>("Circled");
    ASSERT_NE(circled, nullptr);
    EXPECT_EQ(reinterpret_cast<TObject*>(circled->Tag()), s);
    if (c.PointTab) {
      auto* point = TabForm<TSeriesPointerEditor>("Point");
      ASSERT_NE(point, nullptr);
      EXPECT_EQ(point->Pointer(), dynamic_cast<TCustomPolarSeries*>(s)->Pointer());
    }
    delete Page;
    Page = nullptr;
    delete s;
  }
}

TEST_F(PolarEditorTest, PolarEditorLoadsTheSeriesWithoutWritingBack) {
  auto* s = Add<TPolarSeries>();
  s->SetAngleIncrement(30);
  s->SetRadiusIncrement(12.6);
  s->SetTransparency(35);
  s->SetCloseCircle(false);
  s->SetCircleLabels(true);
  s->SetCircleLabelsInside(true);
  s->SetLabelsMargin(-12);
  TCustomForm* f = OpenPage(s);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(Find<TEdit>(f, "SEAngleInc")->Text(), "30");
  EXPECT_EQ(Find<TEdit>(f, "SERadiusInc")->Text(), "13");
  EXPECT_EQ(Find<TEdit>(f, "Edit1")->Text(), "35");
  EXPECT_EQ(Find<TEdit>(f, "EMargin")->Text(), "-12");
  EXPECT_FALSE(Find<TCheckBox>(f, "CBClose")->Checked());
  EXPECT_TRUE(Find<TCheckBox>(f, "CBAngleLabels")->Checked());
  EXPECT_TRUE(Find<TCheckBox>(f, "CBInside")->Checked());
  EXPECT_EQ(Find<TButtonPen>(f, "BPen")->LinkedPen(), s->Pen());
  EXPECT_EQ(Find<TButtonPen>(f, "BPiePen")->LinkedPen(), s->CirclePen());
  EXPECT_EQ(Find<TButtonColor>(f, "BColor")->LinkedObject(), s);
  // The radius increment kept its fraction: loading wrote nothing back.
  EXPECT_EQ(s->RadiusIncrement(), 12.6);
  EXPECT_EQ(s->LabelsMargin(), -12);
}

// One control of an editor and the property it must reach.
struct TControlCase {
  const char* Name;
  std::function<void(TCustomForm*)> Edit;
  std::function<void(TChartSeries*)> Check;
};

void RunCases(TCustomForm* Form, TChartSeries* Series, const std::vector<TControlCase>& Cases) {
  for (const TControlCase& c : Cases) {
    SCOPED_TRACE(c.Name);
    c.Edit(Form);
    c.Check(Series);
  }
}

TEST_F(PolarEditorTest, PolarEditorControlsReachTheSeries) {
  auto* s = Add<TPolarSeries>();
  TCustomForm* f = OpenPage(s);
  ASSERT_NE(f, nullptr);
  const std::vector<TControlCase> cases = {
      {"angle increment", [](TCustomForm* f) { Find<TEdit>(f, "SEAngleInc")->SetText("45"); },
       [](TChartSeries* s) {
         EXPECT_EQ(static_cast<TPolarSeries*>(s)->AngleIncrement(), 45);
         EXPECT_EQ(s->GetHorizAxis()->Increment(), 45);
       }},
      {"radius increment", [](TCustomForm* f) { Find<TEdit>(f, "SERadiusInc")->SetText("250"); },
       [](TChartSeries* s) { EXPECT_EQ(s->GetVertAxis()->Increment(), 250); }},
      {"transparency", [](TCustomForm* f) { Find<TEdit>(f, "Edit1")->SetText("60"); },
       [](TChartSeries* s) { EXPECT_EQ(static_cast<TPolarSeries*>(s)->Transparency(), 60); }},
      {"colour each", [](TCustomForm* f) { Find<TCheckBox>(f, "CBColorEach")->SetChecked(true); },
       [](TChartSeries* s) { EXPECT_TRUE(s->ColorEachPoint()); }},
      {"close circle", [](TCustomForm* f) { Find<TCheckBox>(f, "CBClose")->SetChecked(false); },
       [](TChartSeries* s) { EXPECT_FALSE(static_cast<TPolarSeries*>(s)->CloseCircle()); }},
      {"angle labels", [](TCustomForm* f) { Find<TCheckBox>(f, "CBAngleLabels")->SetChecked(true); },
       [](TChartSeries* s) { EXPECT_TRUE(static_cast<TPolarSeries*>(s)->CircleLabels()); }},
      {"rotated", [](TCustomForm* f) { Find<TCheckBox>(f, "CBLabelsRot")->SetChecked(true); },
       [](TChartSeries* s) { EXPECT_TRUE(static_cast<TPolarSeries*>(s)->CircleLabelsRotated()); }},
      {"clockwise", [](TCustomForm* f) { Find<TCheckBox>(f, "CBClockWise")->SetChecked(true); },
       [](TChartSeries* s) { EXPECT_TRUE(static_cast<TPolarSeries*>(s)->ClockWiseLabels()); }},
      {"inside", [](TCustomForm* f) { Find<TCheckBox>(f, "CBInside")->SetChecked(true); },
       [](TChartSeries* s) { EXPECT_TRUE(static_cast<TPolarSeries*>(s)->CircleLabelsInside()); }},
      {"margin", [](TCustomForm* f) { Find<TEdit>(f, "EMargin")->SetText("-40"); },
       [](TChartSeries* s) { EXPECT_EQ(static_cast<TPolarSeries*>(s)->LabelsMargin(), -40); }},
  };
  RunCases(f, s, cases);

  // The font button opens the chart font editor on the angle labels' font.
  guitest::TModalResponder modal;
  TGrafFont* shown = nullptr;
  modal.Do([&](TCustomForm* form) {
    if (auto* editor = dynamic_cast<TGrafFontEditor*>(form)) shown = editor->Font();
    return mrOk;
  });
  Find<TButton>(f, "BFont")->Click();
  EXPECT_EQ(modal.Count(), 1);
  EXPECT_EQ(shown, s->CircleLabelsFont());
}

TEST_F(PolarEditorTest, AngleIncrementIsEditableWhereAnglesAreThePointsOwn) {
  struct Case {
    TClass Series;
    bool Shown;
  };
  const Case cases[] = {
      {&TPolarSeries::StaticClass(), true},    {&TPolarBarSeries::StaticClass(), true},
      {&TRadarSeries::StaticClass(), false},   {&TWindRoseSeries::StaticClass(), true},
      {&TClockSeries::StaticClass(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Series->Name());
    TChartSeries* s = Add(c.Series);
    TCustomForm* f = OpenPage(s);
    ASSERT_NE(f, nullptr);
    for (const char* name : {"LAngleInc", "SEAngleInc", "UDAngleInc"})
      EXPECT_EQ(Find<TControl>(f, name)->Visible(), c.Shown) << name;
    delete Page;
    Page = nullptr;
    delete s;
  }
}

TEST_F(PolarEditorTest, AngleLabelSwitchEnablesOnlyWhatDependsOnIt) {
  auto* s = Add<TRadarSeries>();
  s->SetCircleLabels(true);
  TCustomForm* f = OpenPage(s);
  ASSERT_NE(f, nullptr);
  auto* visible = Find<TCheckBox>(f, "CBAngleLabels");
  for (bool on : {false, true}) {
    SCOPED_TRACE(on ? "ticked" : "unticked");
    visible->SetChecked(on);
    EXPECT_EQ(s->CircleLabels(), on);
    for (const char* name : {"CBLabelsRot", "CBClockWise", "BFont"})
      EXPECT_EQ(Find<TControl>(f, name)->Enabled(), on) << name;
    for (const char* name : {"CBInside", "EMargin"}) EXPECT_TRUE(Find<TControl>(f, name)->Enabled()) << name;
  }
  // Loading a series without angle labels applies the rule too.
  s->SetCircleLabels(false);
  f = OpenPage(s);
  EXPECT_FALSE(Find<TControl>(f, "CBLabelsRot")->Enabled());
}

TEST_F(PolarEditorTest, WindRoseEditorMirrorsInsteadOfClockwise) {
  auto* s = Add<TWindRoseSeries>();
  s->SetMirrorLabels(true);
  TCustomForm* f = OpenPage(s);
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(Find<TControl>(f, "CBClockWise")->Visible());
  auto* mirror = Find<TCheckBox>(f, "CBMirror");
  EXPECT_TRUE(mirror->Checked());
  mirror->SetChecked(false);
  EXPECT_FALSE(s->MirrorLabels());
  Find<TEdit>(f, "SEAngleInc")->SetText("45");
  EXPECT_EQ(s->AngleIncrement(), 45);
}

TEST_F(PolarEditorTest, ClockEditorEditsHandsSpokesAndNumerals) {
  auto* s = Add<TClockSeries>();
  TCustomForm* f = OpenPage(s);
  ASSERT_NE(f, nullptr);
  for (const char* name : {"LAngleInc", "Label8", "CBClose", "SEAngleInc", "SERadiusInc", "UDRadiusInc",
                           "UDAngleInc", "BPen", "CBClockWise", "CBColorEach"})
    EXPECT_FALSE(Find<TControl>(f, name)->Visible()) << name;
  EXPECT_TRUE(Find<TControl>(f, "Edit1")->Visible());
  EXPECT_EQ(Find<TButtonPen>(f, "BHour")->LinkedPen(), s->PenHours());
  EXPECT_EQ(Find<TButtonPen>(f, "BMinute")->LinkedPen(), s->PenMinutes());
  EXPECT_EQ(Find<TButtonPen>(f, "BSecond")->LinkedPen(), s->PenSeconds());
  EXPECT_EQ(Find<TButtonPen>(f, "BRadius")->LinkedPen(), s->GetHorizAxis()->Grid());
  auto* roman = Find<TCheckBox>(f, "CBRoman");
  EXPECT_TRUE(roman->Checked());
  roman->SetChecked(false);
  EXPECT_EQ(s->Style(), cssDecimal);
  roman->SetChecked(true);
  EXPECT_EQ(s->Style(), cssRoman);
  Find<TEdit>(f, "Edit1")->SetText("20");
  EXPECT_EQ(s->Transparency(), 20);
}

TEST_F(PolarEditorTest, SmithEditorEditsTheSeriesAndTheAxesItBorrows) {
  auto* s = Add<TSmithSeries>();
  TCustomForm* f = OpenPage(s);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(Find<TButtonPen>(f, "BCPen")->LinkedPen(), s->GetVertAxis()->Grid());
  EXPECT_EQ(Find<TButtonPen>(f, "BRPen")->LinkedPen(), s->GetHorizAxis()->Grid());
  EXPECT_EQ(Find<TButtonPen>(f, "BCircle")->LinkedPen(), s->CirclePen());
  EXPECT_EQ(Find<TButtonPen>(f, "BBorder")->LinkedPen(), s->Pen());
  EXPECT_EQ(Find<TEdit>(f, "EImag")->Text(), "i");
  EXPECT_TRUE(Find<TCheckBox>(f, "CBC")->Checked());
  Find<TCheckBox>(f, "CBC")->SetChecked(false);
  Find<TCheckBox>(f, "CBR")->SetChecked(false);
  Find<TCheckBox>(f, "CBColorEach")->SetChecked(true);
  EXPECT_FALSE(s->GetVertAxis()->Labels());
  EXPECT_FALSE(s->GetHorizAxis()->Labels());
  EXPECT_TRUE(s->ColorEachPoint());
  // The symbol follows every keystroke, an empty one included.
  auto* imag = Find<TEdit>(f, "EImag");
  for (const char* text : {"j", "", "jX"}) {
    imag->SetText(text);
    EXPECT_EQ(s->ImagSymbol(), text);
  }
  // The two font buttons open the font editor on the axes' label fonts.
  guitest::TModalResponder modal;
  std::vector<TGrafFont*> shown;
  for (int i = 0; i < 2; ++i)
    modal.Do([&](TCustomForm* form) {
      if (auto* editor = dynamic_cast<TGrafFontEditor*>(form)) shown.push_back(editor->Font());
      return mrOk;
    });
  Find<TButton>(f, "BCFont")->Click();
  Find<TButton>(f, "BRFont")->Click();
  EXPECT_EQ(shown, (std::vector<TGrafFont*>{s->GetVertAxis()->LabelsFont(), s->GetHorizAxis()->LabelsFont()}));
}

TEST_F(PolarEditorTest, GaugeEditorShowsTheGaugeAsItIs) {
  auto* s = Add<TGaugeSeries>();
  s->SetHandStyle(hsTriangle);
  s->SetFullRepaint(true);
  s->SetMinorTickDistance(7);
  s->SetMinimum(-20);
  s->SetMaximum(80);
  s->SetValue(33.4);
  s->SetValueFormat("0.0");
  s->GetVertAxis()->SetIncrement(20);
  TCustomForm* f = OpenPage(s);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(Find<TComboBox>(f, "ComboBox1")->ItemIndex(), 1);
  EXPECT_TRUE(Find<TCheckBox>(f, "CheckBox4")->Checked());
  EXPECT_EQ(Find<TEdit>(f, "Edit3")->Text(), "7");
  EXPECT_EQ(Find<TEdit>(f, "Edit9")->Text(), "-20");
  EXPECT_EQ(Find<TEdit>(f, "Edit10")->Text(), "80");
  EXPECT_EQ(Find<TEdit>(f, "Edit8")->Text(), "33");
  EXPECT_EQ(Find<TEdit>(f, "Edit1")->Text(), "0.0");
  EXPECT_EQ(Find<TEdit>(f, "Edit11")->Text(), "20");
  EXPECT_EQ(Find<TEdit>(f, "Edit4")->Text(), "14");  // the gauge's tick length on its chart
  EXPECT_EQ(Find<TButtonPen>(f, "BLine")->LinkedPen(), s->Pen());
  EXPECT_EQ(Find<TButtonPen>(f, "BAxis")->LinkedPen(), s->GetVertAxis()->Axis());
  EXPECT_EQ(Find<TButtonPen>(f, "BTicks")->LinkedPen(), s->GetVertAxis()->Ticks());
  EXPECT_EQ(Find<TButtonPen>(f, "BMinor")->LinkedPen(), s->GetVertAxis()->MinorTicks());
  EXPECT_EQ(s->Value(), 33.4);  // loading wrote nothing back
  EXPECT_EQ(s->HandStyle(), hsTriangle);
  // Neither range up-down steps past the other's value.
  EXPECT_EQ(Find<TUpDown>(f, "UDMax")->Min(), -20);
  EXPECT_EQ(Find<TUpDown>(f, "UDMin")->Max(), 80);
  // The circled tab leaves out the back colour and transparency.
  auto* circled = TabForm<TCustomForm>("Circled");
  ASSERT_NE(circled, nullptr);
  EXPECT_FALSE(Find<TControl>(circled, "BBack")->Visible());
  EXPECT_FALSE(Find<TControl>(circled, "CBTransp")->Visible());
}

TEST_F(PolarEditorTest, GaugeEditorControlsReachTheGaugeAndItsAxis) {
  auto* s = Add<TGaugeSeries>();
  TCustomForm* f = OpenPage(s);
  ASSERT_NE(f, nullptr);
  auto gauge = [](TChartSeries* s) { return static_cast<TGaugeSeries*>(s); };
  const std::vector<TControlCase> cases = {
      {"full repaint", [](TCustomForm* f) { Find<TCheckBox>(f, "CheckBox4")->SetChecked(true); },
       [&](TChartSeries* s) { EXPECT_TRUE(gauge(s)->FullRepaint()); }},
      {"hand style", [](TCustomForm* f) { Find<TComboBox>(f, "ComboBox1")->UserSelected(1); },
       [&](TChartSeries* s) { EXPECT_EQ(gauge(s)->HandStyle(), hsTriangle); }},
      {"hand style back", [](TCustomForm* f) { Find<TComboBox>(f, "ComboBox1")->UserSelected(0); },
       [&](TChartSeries* s) { EXPECT_EQ(gauge(s)->HandStyle(), hsLine); }},
      {"total angle", [](TCustomForm* f) { Find<TEdit>(f, "Edit6")->SetText("270"); },
       [&](TChartSeries* s) { EXPECT_EQ(gauge(s)->TotalAngle(), 270); }},
      {"hand distance", [](TCustomForm* f) { Find<TEdit>(f, "Edit7")->SetText("-15"); },
       [&](TChartSeries* s) { EXPECT_EQ(gauge(s)->HandDistance(), -15); }},
      {"value", [](TCustomForm* f) { Find<TEdit>(f, "Edit8")->SetText("42"); },
       [&](TChartSeries* s) { EXPECT_EQ(gauge(s)->Value(), 42); }},
      {"show labels", [](TCustomForm* f) { Find<TCheckBox>(f, "CheckBox1")->SetChecked(false); },
       [](TChartSeries* s) { EXPECT_FALSE(s->GetVertAxis()->Labels()); }},
      {"format", [](TCustomForm* f) { Find<TEdit>(f, "Edit1")->SetText("#,##0.00"); },
       [](TChartSeries* s) { EXPECT_EQ(s->ValueFormat(), "#,##0.00"); }},
      {"labels inside", [](TCustomForm* f) { Find<TCheckBox>(f, "CBInside")->SetChecked(false); },
       [&](TChartSeries* s) { EXPECT_FALSE(gauge(s)->LabelsInside()); }},
      {"increment", [](TCustomForm* f) { Find<TEdit>(f, "Edit11")->SetText("25"); },
       [](TChartSeries* s) { EXPECT_EQ(s->GetVertAxis()->Increment(), 25); }},
      {"minor tick count", [](TCustomForm* f) { Find<TEdit>(f, "Edit2")->SetText("4"); },
       [](TChartSeries* s) { EXPECT_EQ(s->GetVertAxis()->MinorTickCount(), 4); }},
      {"tick length", [](TCustomForm* f) { Find<TEdit>(f, "Edit4")->SetText("9"); },
       [](TChartSeries* s) { EXPECT_EQ(s->GetVertAxis()->TickLength(), 9); }},
      {"minor tick length", [](TCustomForm* f) { Find<TEdit>(f, "Edit5")->SetText("3"); },
       [](TChartSeries* s) { EXPECT_EQ(s->GetVertAxis()->MinorTickLength(), 3); }},
      {"minor tick distance", [](TCustomForm* f) { Find<TEdit>(f, "Edit3")->SetText("5"); },
       [&](TChartSeries* s) { EXPECT_EQ(gauge(s)->MinorTickDistance(), 5); }},
      // A maximum below the value takes the hand with it; the minimum's
      // up-down may go no higher.
      {"maximum", [](TCustomForm* f) { Find<TEdit>(f, "Edit10")->SetText("30"); },
       [&](TChartSeries* s) {
         EXPECT_EQ(gauge(s)->Maximum(), 30);
         EXPECT_EQ(gauge(s)->Value(), 30);
       }},
      {"minimum", [](TCustomForm* f) { Find<TEdit>(f, "Edit9")->SetText("10"); },
       [&](TChartSeries* s) {
         EXPECT_EQ(gauge(s)->Minimum(), 10);
         EXPECT_EQ(gauge(s)->Value(), 30);
       }},
  };
  RunCases(f, s, cases);
  EXPECT_EQ(Find<TUpDown>(f, "UDMin")->Max(), 30);
  EXPECT_EQ(Find<TUpDown>(f, "UDMax")->Min(), 10);

  // The markers go to the pointer editor, the label font to the font editor.
  guitest::TModalResponder modal;
  std::vector<TObject*> shown;
  for (int i = 0; i < 3; ++i)
    modal.Do([&](TCustomForm* form) {
      if (auto* p = dynamic_cast<TSeriesPointerEditor*>(form)) shown.push_back(p->Pointer());
      if (auto* e = dynamic_cast<TGrafFontEditor*>(form)) shown.push_back(e->Font());
      return mrOk;
    });
  Find<TButton>(f, "Button1")->Click();
  Find<TButton>(f, "Button3")->Click();
  Find<TButton>(f, "Button2")->Click();
  EXPECT_EQ(shown, (std::vector<TObject*>{s->Center(), s->EndPoint(), s->GetVertAxis()->LabelsFont()}));
}

}  // namespace
