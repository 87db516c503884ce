// The editor forms of the bubble, arrow, gantt, shape, funnel, pyramid,
// donut and volume pipe series, found by the class name each series answers
// and embedded as the series page embeds them, with the series in Tag: the
// controls reach the right properties, showing a form stores nothing, and
// the enabling and showing rules hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafedifont.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafediseri.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/graflisb.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafpieedit.h"
#include "chart/editor/grafpoedi.h"
#include "chart/extra/arrowcha.h"
#include "chart/extra/bubblech.h"
#include "chart/extra/extraregister.h"
#include "chart/extra/grafdonutedit.h"
#include "chart/extra/grafganttedi.h"
#include "chart/extra/grafshapeedi.h"
#include "chart/extra/ganttch.h"
#include "chart/extra/grafbezie.h"
#include "chart/extra/grafdonut.h"
#include "chart/extra/graffunnel.h"
#include "chart/extra/grafpyramid.h"
#include "chart/extra/grafshape.h"
#include "chart/extra/grafvolumepipe.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "platform/ui/richedit.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

namespace {

template <class T>
T* Find(TComponent* Owner, const char* Name) {
  T* c = Owner ? dynamic_cast<T*>(Owner->FindComponent(Name)) : nullptr;
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

// What the user does in a box: empties it, then types key by key.
void Type(TEdit* Edit, const std::string& Text) {
  Edit->SetText("");
  guitest::TypeText(Edit, Text);
}

class SeriesEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    RegisterChartEditorUnits();
    RegisterExtraSeriesTypes();
    FSaved = FormatSettings;
    FormatSettings = TFormatSettings{};
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(20, 20, 800, 500);
    Chart = new TChart(Host.get());
    Chart->SetName("Chart1");
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 280, 200);
    Chart->SetView3D(false);
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(300, 0, 480, 320);
    Host->Show();
  }
  void TearDown() override {
    Host.reset();
    FormatSettings = FSaved;
  }

  TChartSeries* Add(TClass Class) {
    auto* s = dynamic_cast<TChartSeries*>(CreateComponentOfClass(Class, Host.get()));
    EXPECT_NE(s, nullptr) << Class->Name();
    if (!s) return nullptr;
    s->SetName("S" + std::to_string(++FCount));
    s->SetParentChart(Chart);
    return s;
  }
  template <class T>
  T* Add() {
    return static_cast<T*>(Add(&T::StaticClass()));
  }
  // The series' editor form, as the series page finds and embeds it.
  TCustomForm* Open(TChartSeries* Series) {
    TClass cls = GetClass(Series->EditorFormClassName());
    EXPECT_NE(cls, nullptr) << Series->EditorFormClassName();
    if (!cls) return nullptr;
    auto* form = dynamic_cast<TCustomForm*>(CreateComponentOfClass(cls, Host.get()));
    if (!form) return nullptr;
    form->SetAlign(alClient);
    EmbedEditorForm(form, Sheet, Series);
    return form;
  }

  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;

private:
  TFormatSettings FSaved;
  int FCount = 0;
};

// ---- Which part each button edits ---------------------------------------------------

TEST_F(SeriesEditorTest, EachButtonEditsItsOwnPart) {
  using Part = std::function<TObject*(TChartSeries*)>;
  auto pointerPen = [](TChartSeries* s) -> TObject* { return static_cast<TCustomSeries*>(s)->Pointer()->Pen(); };
  auto pointerBrush = [](TChartSeries* s) -> TObject* {
    return static_cast<TCustomSeries*>(s)->Pointer()->Brush();
  };
  auto pen = [](TChartSeries* s) -> TObject* { return s->Pen(); };
  auto brush = [](TChartSeries* s) -> TObject* { return s->Brush(); };
  auto series = [](TChartSeries* s) -> TObject* { return s; };
  struct Case {
    TClass Series;
    const char* Control;
    Part Edited;
    const char* Property;  // of a colour button
  };
  const Case cases[] = {
      {&TArrowSeries::StaticClass(), "BPen", pointerPen, nullptr},
      {&TArrowSeries::StaticClass(), "BBrush", pointerBrush, nullptr},
      {&TArrowSeries::StaticClass(), "BArrowColor", series, "SeriesColor"},
      {&TGanttSeries::StaticClass(), "BConnLines",
       [](TChartSeries* s) -> TObject* { return static_cast<TGanttSeries*>(s)->ConnectingPen(); }, nullptr},
      {&TGanttSeries::StaticClass(), "BColor", series, "SeriesColor"},
      {&TChartShape::StaticClass(), "BShapePen", pen, nullptr},
      {&TChartShape::StaticClass(), "BShapeBrush", brush, nullptr},
      {&TChartShape::StaticClass(), "BShapeColor", series, "SeriesColor"},
      {&TChartShape::StaticClass(), "BGradient",
       [](TChartSeries* s) -> TObject* { return static_cast<TChartShape*>(s)->Gradient(); }, nullptr},
      {&TFunnelSeries::StaticClass(), "ButtonPen1",
       [](TChartSeries* s) -> TObject* { return static_cast<TFunnelSeries*>(s)->LinesPen(); }, nullptr},
      {&TFunnelSeries::StaticClass(), "ButtonPen2", pen, nullptr},
      {&TFunnelSeries::StaticClass(), "Button1", brush, nullptr},
      {&TFunnelSeries::StaticClass(), "AboveColor", series, "AboveColor"},
      {&TFunnelSeries::StaticClass(), "WithinColor", series, "WithinColor"},
      {&TFunnelSeries::StaticClass(), "BelowColor", series, "BelowColor"},
      {&TPyramidSeries::StaticClass(), "BPen", pen, nullptr},
      {&TPyramidSeries::StaticClass(), "Button1", brush, nullptr},
      {&TPyramidSeries::StaticClass(), "BColor", series, "SeriesColor"},
      {&TVolumePipeSeries::StaticClass(), "ButtonPen1", pen, nullptr},
      {&TVolumePipeSeries::StaticClass(), "ButtonPen2",
       [](TChartSeries* s) -> TObject* { return static_cast<TVolumePipeSeries*>(s)->LinesPen(); }, nullptr},
      {&TVolumePipeSeries::StaticClass(), "Button1", brush, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Series->Name()) + "." + c.Control);
    TChartSeries* s = Add(c.Series);
    TCustomForm* f = Open(s);
    ASSERT_NE(f, nullptr);
    TObject* part = c.Edited(s);
    auto* control = Find<TControl>(f, c.Control);
    ASSERT_NE(control, nullptr);
    if (auto* b = dynamic_cast<TButtonPen*>(control)) {
      EXPECT_EQ(b->LinkedPen(), part);
    } else if (auto* b = dynamic_cast<TButtonColor*>(control)) {
      EXPECT_EQ(b->LinkedObject(), part);
      ASSERT_NE(b->LinkedProperty(), nullptr);
      EXPECT_EQ(b->LinkedProperty()->Name, c.Property);
    } else if (auto* b = dynamic_cast<TButtonGradient*>(control)) {
      EXPECT_EQ(b->LinkedGradient(), part);
    } else if (auto* b = dynamic_cast<TButton*>(control)) {
      // A pattern button: the brush dialog opens on the brush.
      TObject* edited = nullptr;
      guitest::TModalResponder modal;
      modal.Do([&](TCustomForm* dialog) {
        if (auto* d = dynamic_cast<TBrushDialog*>(dialog)) edited = d->TheBrush;
        return mrCancel;
      });
      b->Click();
      EXPECT_EQ(modal.Count(), 1);
      EXPECT_EQ(edited, part);
    } else {
      ADD_FAILURE() << "not a button";
    }
    delete f;
    delete s;
  }
}

// ---- What the controls change ------------------------------------------------------

TEST_F(SeriesEditorTest, ControlsChangeTheirProperties) {
  using Act = std::function<void(TCustomForm*)>;
  using Get = std::function<double(TChartSeries*)>;
  struct Case {
    TClass Series;
    const char* What;
    Act Do;
    Get Read;
    double Expected;
  };
  auto edit = [](const char* Name, const char* Text) -> Act {
    return [=](TCustomForm* f) { Type(Find<TEdit>(f, Name), Text); };
  };
  auto check = [](const char* Name, bool On) -> Act {
    return [=](TCustomForm* f) { Find<TCheckBox>(f, Name)->SetChecked(On); };
  };
  auto choose = [](const char* Name, int Item) -> Act {
    return [=](TCustomForm* f) { Find<TComboBox>(f, Name)->UserSelected(Item); };
  };
  auto radio = [](const char* Name, int Item) -> Act {
    return [=](TCustomForm* f) { Find<TRadioGroup>(f, Name)->SetItemIndex(Item); };
  };
  auto arrow = [](TChartSeries* s) { return static_cast<TArrowSeries*>(s); };
  auto gantt = [](TChartSeries* s) { return static_cast<TGanttSeries*>(s); };
  auto shape = [](TChartSeries* s) { return static_cast<TChartShape*>(s); };
  auto pipe = [](TChartSeries* s) { return static_cast<TVolumePipeSeries*>(s); };
  const TClass bubbleC = &TBubbleSeries::StaticClass(), arrowC = &TArrowSeries::StaticClass(),
               ganttC = &TGanttSeries::StaticClass(), shapeC = &TChartShape::StaticClass(),
               funnelC = &TFunnelSeries::StaticClass(), pyramidC = &TPyramidSeries::StaticClass(),
               donutC = &TDonutSeries::StaticClass(), pipeC = &TVolumePipeSeries::StaticClass();
  const Case cases[] = {
      {bubbleC, "transparency", edit("Edit1", "35"),
       [](TChartSeries* s) { return static_cast<TCustomSeries*>(s)->Transparency(); }, 35},
      {bubbleC, "pointer style (inherited)", choose("CBStyle", psDiamond),
       [](TChartSeries* s) { return static_cast<TCustomSeries*>(s)->Pointer()->Style(); }, psDiamond},
      {arrowC, "width", edit("SEArrowWidth", "17"), [=](TChartSeries* s) { return arrow(s)->ArrowWidth(); }, 17},
      {arrowC, "height", edit("SEArrowHeight", "9"), [=](TChartSeries* s) { return arrow(s)->ArrowHeight(); }, 9},
      {arrowC, "head size",
       [](TCustomForm* f) { Find<TScrollBar>(f, "SBPercent")->UserScroll(scTrack, 70); },
       [=](TChartSeries* s) { return arrow(s)->ArrowPercent(); }, 70},
      {arrowC, "colour each", check("CBColorEach", true), [](TChartSeries* s) { return s->ColorEachPoint(); }, 1},
      {ganttC, "bar height", edit("SEPointVertSize", "12"),
       [=](TChartSeries* s) { return gantt(s)->Pointer()->VertSize(); }, 12},
      {ganttC, "colour each", check("CBColorEach", false), [](TChartSeries* s) { return s->ColorEachPoint(); }, 0},
      {ganttC, "transparency", edit("Edit1", "40"), [=](TChartSeries* s) { return gantt(s)->Transparency(); }, 40},
      {shapeC, "style", choose("CBStyle", chasStar), [=](TChartSeries* s) { return shape(s)->Style(); }, chasStar},
      {shapeC, "transparent", check("CBTrans", true), [=](TChartSeries* s) { return shape(s)->Transparent(); }, 1},
      {shapeC, "left alignment", radio("RGAlign", 0), [=](TChartSeries* s) { return shape(s)->Alignment(); },
       taLeftJustify},
      {shapeC, "right alignment", radio("RGAlign", 2), [=](TChartSeries* s) { return shape(s)->Alignment(); },
       taRightJustify},
      {shapeC, "vertical alignment", radio("RGVertAlign", 2),
       [=](TChartSeries* s) { return shape(s)->VertAlign(); }, vaBottom},
      {shapeC, "round rectangle", check("CBRound", true),
       [=](TChartSeries* s) { return shape(s)->RoundRectangle(); }, 1},
      {shapeC, "left", edit("SEX0", "12.5"), [=](TChartSeries* s) { return shape(s)->X0(); }, 12.5},
      {shapeC, "top", edit("SEY0", "7"), [=](TChartSeries* s) { return shape(s)->Y0(); }, 7},
      {shapeC, "right", edit("SEX1", "250"), [=](TChartSeries* s) { return shape(s)->X1(); }, 250},
      {shapeC, "bottom", edit("SEY1", "-3"), [=](TChartSeries* s) { return shape(s)->Y1(); }, -3},
      {shapeC, "units", choose("CBUnits", xysAxisOrigin), [=](TChartSeries* s) { return shape(s)->XYStyle(); },
       xysAxisOrigin},
      {shapeC, "text lines",
       [](TCustomForm* f) { Find<TMemo>(f, "MemoText")->SetText("first\r\nsecond"); },
       [=](TChartSeries* s) { return shape(s)->Text()->Count() == 2 && shape(s)->Text()->Strings(1) == "second"; }, 1},
      {funnelC, "difference limit", edit("Edit1", "45"),
       [](TChartSeries* s) { return static_cast<TFunnelSeries*>(s)->DifferenceLimit(); }, 45},
      {pyramidC, "size", edit("Edit1", "80"),
       [](TChartSeries* s) { return static_cast<TPyramidSeries*>(s)->SizePercent(); }, 80},
      {pyramidC, "colour each", check("CBColorEach", false), [](TChartSeries* s) { return s->ColorEachPoint(); }, 0},
      {donutC, "hole", edit("EDonut", "70"),
       [](TChartSeries* s) { return static_cast<TDonutSeries*>(s)->DonutPercent(); }, 70},
      {pipeC, "cone", edit("Edit2", "45"), [=](TChartSeries* s) { return pipe(s)->ConePercent(); }, 45},
      {pipeC, "gradient off", check("CheckGradient", false),
       [=](TChartSeries* s) { return pipe(s)->Gradient()->Visible(); }, 0},
      {pipeC, "direction \"Left Right\"", choose("CBDirection", 1),
       [=](TChartSeries* s) { return pipe(s)->Gradient()->Direction(); }, gdRightLeft},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Series->Name()) + ": " + c.What);
    TChartSeries* s = Add(c.Series);
    TCustomForm* f = Open(s);
    ASSERT_NE(f, nullptr);
    const double before = c.Read(s);
    ASSERT_NE(before, c.Expected) << "the case changes nothing";
    c.Do(f);
    EXPECT_EQ(c.Read(s), c.Expected);
    delete f;
    delete s;
  }
}

// ---- Showing a form ----------------------------------------------------------------

TEST_F(SeriesEditorTest, ShowingLoadsTheValuesAndStoresNothing) {
  auto* funnel = Add<TFunnelSeries>();
  funnel->SetDifferenceLimit(30.4);
  TCustomForm* f = Open(funnel);
  EXPECT_EQ(Find<TUpDown>(f, "DifLimit")->Position(), 30);
  EXPECT_EQ(funnel->DifferenceLimit(), 30.4);  // shown rounded, kept exact
  delete f;
  funnel->SetDifferenceLimit(75);  // beyond the up-down's range
  f = Open(funnel);
  EXPECT_EQ(funnel->DifferenceLimit(), 75);
  delete f;

  auto* arrow = Add<TArrowSeries>();
  arrow->SetArrowWidth(22);
  arrow->SetArrowHeight(11);
  arrow->SetArrowPercent(35);
  f = Open(arrow);
  EXPECT_EQ(Find<TUpDown>(f, "UDArrowWidth")->Position(), 22);
  EXPECT_EQ(Find<TUpDown>(f, "UDArrowHeight")->Position(), 11);
  EXPECT_EQ(Find<TScrollBar>(f, "SBPercent")->Position(), 35);
  EXPECT_EQ(Find<TLabel>(f, "LPercent")->Caption(), "35%");
  Find<TScrollBar>(f, "SBPercent")->UserScroll(scTrack, 80);
  EXPECT_EQ(Find<TLabel>(f, "LPercent")->Caption(), "80%");
  delete f;

  auto* pipe = Add<TVolumePipeSeries>();
  pipe->SetConePercent(150);
  pipe->Gradient()->SetDirection(gdLeftRight);
  f = Open(pipe);
  EXPECT_EQ(Find<TEdit>(f, "Edit2")->Text(), "150");
  EXPECT_EQ(pipe->ConePercent(), 150);
  EXPECT_EQ(Find<TComboBox>(f, "CBDirection")->ItemIndex(), 1);  // anything but top-bottom
  EXPECT_EQ(pipe->Gradient()->Direction(), gdLeftRight);
  EXPECT_TRUE(Find<TCheckBox>(f, "CheckGradient")->Checked());
  delete f;

  auto* gantt = Add<TGanttSeries>();
  gantt->Pointer()->SetVertSize(9);
  gantt->SetTransparency(25);
  f = Open(gantt);
  EXPECT_EQ(Find<TUpDown>(f, "UDPointVertSize")->Position(), 9);
  EXPECT_EQ(Find<TUpDown>(f, "UpDown1")->Position(), 25);
  EXPECT_TRUE(Find<TCheckBox>(f, "CBColorEach")->Checked());
  delete f;

  auto* pyramid = Add<TPyramidSeries>();
  pyramid->SetSizePercent(65);
  f = Open(pyramid);
  EXPECT_EQ(Find<TUpDown>(f, "UDSize")->Position(), 65);
  delete f;

  auto* shape = Add<TChartShape>();
  shape->SetX0(-2.5);
  shape->SetY1(1e6);
  shape->Text()->Add("one");
  shape->Text()->Add("two");
  shape->SetAlignment(taRightJustify);
  shape->SetVertAlign(vaTop);
  shape->SetXYStyle(xysPixels);
  shape->Font()->SetColor(clRed);
  f = Open(shape);
  EXPECT_EQ(Find<TEdit>(f, "SEX0")->Text(), "-2.5");
  EXPECT_EQ(Find<TEdit>(f, "SEY0")->Text(), "0");
  EXPECT_EQ(Find<TEdit>(f, "SEY1")->Text(), "1000000");
  EXPECT_EQ(Find<TMemo>(f, "MemoText")->Lines(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(Find<TMemo>(f, "MemoText")->Font()->Color(), clRed);
  EXPECT_EQ(Find<TRadioGroup>(f, "RGAlign")->ItemIndex(), 2);
  EXPECT_EQ(Find<TRadioGroup>(f, "RGVertAlign")->ItemIndex(), 0);
  EXPECT_EQ(Find<TComboBox>(f, "CBUnits")->ItemIndex(), 0);
  EXPECT_EQ(Find<TComboBox>(f, "CBStyle")->ItemIndex(), chasCircle);
  EXPECT_EQ(shape->Text()->Count(), 2);
  EXPECT_EQ(shape->Alignment(), taRightJustify);
  delete f;
}

TEST_F(SeriesEditorTest, BubbleEditorIsThePointerEditorWithTransparency) {
  auto* bubble = Add<TBubbleSeries>();
  bubble->SetTransparency(45);
  TCustomForm* f = Open(bubble);
  ASSERT_NE(dynamic_cast<TSeriesPointerEditor*>(f), nullptr);
  EXPECT_EQ(static_cast<TSeriesPointerEditor*>(f)->Pointer(), bubble->Pointer());
  EXPECT_FALSE(Find<TControl>(f, "CBDrawPoint")->Visible());  // a bubble is always drawn
  auto* label = Find<TLabel>(f, "Label4");
  EXPECT_EQ(label->Caption(), "&Transparency:");
  EXPECT_EQ(label->Parent(), Find<TControl>(f, "GPPoint"));
  EXPECT_EQ(Find<TUpDown>(f, "UDTransp")->Position(), 45);
  EXPECT_EQ(bubble->Transparency(), 45);
  auto* ud = Find<TUpDown>(f, "UDTransp");
  ud->Press(btNext);
  EXPECT_EQ(bubble->Transparency(), 50);  // steps of 5
  // The bubble's size follows its radius: the size boxes are not offered.
  EXPECT_FALSE(Find<TControl>(f, "SEPointHorizSize")->Visible());
}

TEST_F(SeriesEditorTest, ColourButtonsFollowColorEach) {
  struct Case {
    TClass Series;
    const char* Button;
  };
  for (const Case& c : {Case{&TArrowSeries::StaticClass(), "BArrowColor"},
                        Case{&TGanttSeries::StaticClass(), "BColor"},
                        Case{&TPyramidSeries::StaticClass(), "BColor"}}) {
    SCOPED_TRACE(c.Series->Name());
    TChartSeries* s = Add(c.Series);
    for (bool each : {true, false}) {
      s->SetColorEachPoint(each);
      TCustomForm* f = Open(s);
      EXPECT_EQ(Find<TCheckBox>(f, "CBColorEach")->Checked(), each);
      EXPECT_EQ(Find<TControl>(f, c.Button)->Enabled(), !each) << "shown with " << each;
      Find<TCheckBox>(f, "CBColorEach")->SetChecked(!each);
      EXPECT_EQ(s->ColorEachPoint(), !each);
      EXPECT_EQ(Find<TControl>(f, c.Button)->Enabled(), each) << "ticked to " << !each;
      delete f;
    }
  }
  // An arrow coloured per point has no pointer colour of its own.
  auto* arrow = Add<TArrowSeries>();
  arrow->Pointer()->SetBrushColor(clRed);
  TCustomForm* f = Open(arrow);
  EXPECT_EQ(arrow->Pointer()->BrushColor(), clRed);
  Find<TCheckBox>(f, "CBColorEach")->SetChecked(true);
  EXPECT_EQ(arrow->Pointer()->BrushColor(), clDefault);
}

TEST_F(SeriesEditorTest, ShapeRoundRectangleOnlyForAFlatRectangle) {
  struct Case {
    TChartShapeStyle Style;
    bool View3D;
    bool Enabled;
  };
  auto* shape = Add<TChartShape>();
  for (const Case& c : {Case{chasRectangle, false, true}, Case{chasRectangle, true, false},
                        Case{chasCircle, false, false}, Case{chasCube, false, false}}) {
    SCOPED_TRACE(std::to_string(c.Style) + (c.View3D ? " 3D" : " 2D"));
    shape->SetStyle(c.Style);
    Chart->SetView3D(c.View3D);
    TCustomForm* f = Open(shape);
    EXPECT_EQ(Find<TControl>(f, "CBRound")->Enabled(), c.Enabled);
    delete f;
  }
  Chart->SetView3D(false);
  shape->SetStyle(chasCircle);
  TCustomForm* f = Open(shape);
  auto* style = Find<TComboBox>(f, "CBStyle");
  style->UserSelected(chasRectangle);
  EXPECT_TRUE(Find<TControl>(f, "CBRound")->Enabled());
  style->UserSelected(chasDiamond);
  EXPECT_FALSE(Find<TControl>(f, "CBRound")->Enabled());
}

TEST_F(SeriesEditorTest, ShapeCornerTextsThatAreNoNumberChangeNothing) {
  auto* shape = Add<TChartShape>();
  shape->SetX0(5);
  TCustomForm* f = Open(shape);
  auto* left = Find<TEdit>(f, "SEX0");
  TDialogResponder dialogs;
  // Typed key by key: every text on the way is tried.
  struct Case {
    const char* Typed;
    double X0;
  };
  for (const Case& c : {Case{"", 5}, Case{"-", 5}, Case{"abc", 5}, Case{"-1.5", -1.5}, Case{"12x", 12},
                        Case{" ", 12}}) {
    SCOPED_TRACE(c.Typed);
    Type(left, c.Typed);
    EXPECT_EQ(shape->X0(), c.X0);
  }
  EXPECT_EQ(dialogs.Count(), 0u);

  // The corners of a shape that does not hold its two points are not shown.
  auto* odd = Add<TChartShape>();
  odd->AddXYPoint(50, 50);
  TCustomForm* g = Open(odd);
  EXPECT_EQ(Find<TEdit>(g, "SEX0")->Text(), "");
  EXPECT_EQ(odd->Count(), 3);
}

TEST_F(SeriesEditorTest, ShapeTextTabEditsTheShapeFont) {
  auto* shape = Add<TChartShape>();
  auto* f = dynamic_cast<TChartShapeEditor*>(Open(shape));
  ASSERT_NE(f, nullptr);
  ASSERT_NE(f->FontEditor(), nullptr);
  EXPECT_EQ(f->FontEditor()->Font(), shape->Font());
  EXPECT_EQ(f->FontEditor()->Parent(), Find<TTabSheet>(f, "TabFont"));
  EXPECT_EQ(Find<TTabSheet>(f, "TabFont")->Caption(), "Text");
  Find<TEdit>(f->FontEditor(), "Edit2")->SetText("3");
  EXPECT_EQ(shape->Font()->InterCharSize(), 3);
}

TEST_F(SeriesEditorTest, DonutHoleWrapsAndThePieEditorIsATab) {
  auto* donut = Add<TDonutSeries>();
  donut->SetDonutPercent(95);
  auto* f = dynamic_cast<TDonutSeriesEditor*>(Open(donut));
  ASSERT_NE(f, nullptr);
  auto* ud = Find<TUpDown>(f, "UDDonut");
  EXPECT_EQ(ud->Position(), 95);
  ud->Press(btNext);
  EXPECT_EQ(donut->DonutPercent(), 100);
  ud->Press(btNext);
  EXPECT_EQ(donut->DonutPercent(), 0);
  // Outside a series page the pie editor is made for the donut, not shown.
  TPieSeriesEditor* pie = f->PieTab();
  ASSERT_NE(pie, nullptr);
  EXPECT_EQ(pie->Caption(), "Donut");
  EXPECT_EQ(reinterpret_cast<TObject*>(pie->Tag()), donut);
  f->Hide();
  f->Show();
  EXPECT_EQ(f->PieTab(), pie);  // made once
  delete f;
}

TEST_F(SeriesEditorTest, GanttPointerTabWithoutSizes) {
  auto* gantt = Add<TGanttSeries>();
  auto* f = dynamic_cast<TGanttSeriesEditor*>(Open(gantt));
  ASSERT_NE(f, nullptr);
  TSeriesPointerEditor* tab = f->PointerTab();
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->Caption(), "Gantt");
  tab->Show();
  EXPECT_EQ(tab->Pointer(), gantt->Pointer());
  for (const char* name : {"SEPointHorizSize", "UDPointHorizSize", "SEPointVertSize", "UDPointVertSize"})
    EXPECT_FALSE(Find<TControl>(tab, name)->Visible()) << name;
  f->Hide();
  f->Show();
  EXPECT_EQ(f->PointerTab(), tab);
  delete f;
}

TEST_F(SeriesEditorTest, ConePercentKeepsItsValueWhileTheTextIsNoNumber) {
  auto* pipe = Add<TVolumePipeSeries>();
  pipe->SetConePercent(40);
  TCustomForm* f = Open(pipe);
  auto* edit = Find<TEdit>(f, "Edit2");
  TDialogResponder dialogs;
  struct Case {
    const char* Typed;
    int Cone;
  };
  for (const Case& c : {Case{"", 40}, Case{"x", 40}, Case{"-", 40}, Case{"2.5", 2}, Case{"55", 55},
                        Case{"9999999999", 999999999}, Case{"0", 0}}) {
    SCOPED_TRACE(c.Typed);
    Type(edit, c.Typed);
    EXPECT_EQ(pipe->ConePercent(), c.Cone);
  }
  EXPECT_EQ(dialogs.Count(), 0u);
  // The up-down steps by 5.
  Find<TUpDown>(f, "UpDown1")->Press(btNext);
  EXPECT_EQ(pipe->ConePercent(), 5);
}

TEST_F(SeriesEditorTest, PipeBrushBackClear) {
  auto* pipe = Add<TVolumePipeSeries>();
  pipe->Brush()->SetColor(clYellow);
  TCustomForm* f = Open(pipe);
  auto* clear = Find<TCheckBox>(f, "CheckBox1");
  EXPECT_EQ(pipe->Brush()->Color(), clYellow);
  clear->SetChecked(true);
  EXPECT_EQ(pipe->Brush()->Color(), clNone);
  pipe->Brush()->SetColor(clBlue);
  clear->SetChecked(false);  // unticking changes nothing
  EXPECT_EQ(pipe->Brush()->Color(), clBlue);
  // With the box ticked, the pattern dialog's colour gives way to none.
  clear->SetChecked(true);
  pipe->Brush()->SetColor(clBlue);
  guitest::TModalResponder modal;
  modal.Answer(mrOk);
  Find<TButton>(f, "Button1")->Click();
  EXPECT_EQ(modal.Count(), 1);
  EXPECT_EQ(pipe->Brush()->Color(), clNone);
}

}  // namespace

namespace {

// The editors as the series page hosts them: the series' own in "Format",
// and the tabs they add beside the page's.
class HostedSeriesEditorTest : public SeriesEditorTest {
protected:
  TFormGrafSeries* Page = nullptr;
  void OpenPage(TChartSeries* Series) {
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
  }
  std::vector<std::string> Tabs() const {
    std::vector<std::string> captions;
    for (int i = 0; i < Page->PageSeries->PageCount(); ++i)
      if (Page->PageSeries->Pages(i)->TabVisible()) captions.push_back(Page->PageSeries->Pages(i)->Caption());
    return captions;
  }
};

TEST_F(HostedSeriesEditorTest, EveryEditorSitsInFormatWithItsTabs) {
  struct Case {
    TClass Series;
    const char* Editor;
    std::vector<std::string> Extra;
  };
  const Case cases[] = {
      {&TBubbleSeries::StaticClass(), "TBubbleSeriesEditor", {}},
      {&TArrowSeries::StaticClass(), "TArrowSeriesEditor", {}},
      {&TGanttSeries::StaticClass(), "TGanttSeriesEditor", {"Gantt"}},
      {&TChartShape::StaticClass(), "TChartShapeEditor", {}},
      {&TFunnelSeries::StaticClass(), "TFunnelSeriesEditor", {}},
      {&TPyramidSeries::StaticClass(), "TPyramidSeriesEditor", {}},
      {&TDonutSeries::StaticClass(), "TDonutSeriesEditor", {"Donut", "Circled"}},
      {&TVolumePipeSeries::StaticClass(), "TVolumePipeSeriesEditor", {}},
      {&TBezierSeries::StaticClass(), "TCustomSeriesEditor", {"Point"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Series->Name());
    TChartSeries* s = Add(c.Series);
    OpenPage(s);
    ASSERT_NE(Page->SeriesEditorForm(), nullptr);
    EXPECT_EQ(Page->SeriesEditorForm()->ClassName(), c.Editor);
    EXPECT_TRUE(Page->TheTabSheet->TabVisible());
    const std::vector<std::string> before = Tabs();
    for (const std::string& extra : c.Extra)
      EXPECT_EQ(std::count(before.begin(), before.end(), extra), 1) << extra;
    // Showing the page again adds no second tab.
    Page->Hide();
    Page->Show();
    EXPECT_EQ(Tabs(), before);
    delete Page;
    delete s;
  }
}

TEST_F(HostedSeriesEditorTest, DonutTabEditsTheDonutAsAPie) {
  auto* donut = Add<TDonutSeries>();
  OpenPage(donut);
  TPieSeriesEditor* pie = nullptr;
  for (int i = 0; i < Page->PageSeries->PageCount() && !pie; ++i) {
    TTabSheet* tab = Page->PageSeries->Pages(i);
    if (tab->Caption() != "Donut") continue;
    for (int k = 0; k < tab->ControlCount() && !pie; ++k) pie = dynamic_cast<TPieSeriesEditor*>(tab->Controls(k));
  }
  ASSERT_NE(pie, nullptr);
  Type(Find<TEdit>(pie, "SEExpBig"), "20");
  EXPECT_EQ(donut->ExplodeBiggest(), 20);
  // Choosing another series drops the tab with its form.
  auto* other = Add<TPyramidSeries>();
  Page->CurrentSeries = other;
  Page->SelectCurrentSeries();
  const std::vector<std::string> tabs = Tabs();
  EXPECT_EQ(std::find(tabs.begin(), tabs.end(), "Donut"), tabs.end());
  EXPECT_EQ(Page->SeriesEditorForm()->ClassName(), "TPyramidSeriesEditor");
}

}  // namespace
