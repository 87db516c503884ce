// The editor forms of the series, functions and tools: every registered
// series and function type names an editor form that is registered and opens
// on an element of the type (tool types are checked with the further tools,
// whose library registers every tool editor), and changes made through the
// editors reach the element and survive a chart-file round trip.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <string>

#include "chart/core/chart.h"
#include "chart/editor/grafedifont.h"
#include "chart/editor/grafpoedi.h"
#include "chart/editor/grafstore.h"
#include "chart/series/grafcandle.h"
#include "chart/series/grafcolorgrid.h"
#include "chart/series/grafcontour.h"
#include "chart/series/grafdatatable.h"
#include "chart/series/grafmapseries.h"
#include "chart/series/grafstats.h"
#include "chart/series/graftools.h"
#include "chart/series/grafsurfa.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"
#include "dialogtest.h"
#include "platform/rtl/streams.h"
#include "platform/ui/lists.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "support/gui/guitest.h"

using dialogtest::Find;

namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

class ElementEditorTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(20, 20, 800, 500);
    Chart = NewChart(Host.get());
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(300, 0, 480, 320);
    Host->Show();
  }
  void TearDown() override {
    Host.reset();
    EditorDialogTest::TearDown();
  }
  TChart* NewChart(TForm* Owner) {
    auto* chart = new TChart(Owner);
    chart->SetName("Chart1");
    chart->SetParent(Owner);
    chart->SetBounds(0, 0, 280, 200);
    return chart;
  }
  // The editor form of that name, embedded as the series and tools pages
  // embed one, with the element in Tag.
  TCustomForm* Open(const std::string& ClassName, TObject* Element) {
    TClass cls = GetClass(ClassName);
    if (!cls) return nullptr;
    auto* form = dynamic_cast<TCustomForm*>(CreateComponentOfClass(cls, Host.get()));
    if (!form) return nullptr;
    form->SetAlign(alClient);
    EmbedEditorForm(form, Sheet, Element);
    return form;
  }

  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
};

TEST_F(ElementEditorTest, EveryRegisteredTypeNamesAnEditorThatOpensOnIt) {
  struct Element {
    std::string Type;
    std::string EditorName;
    TObject* Object;
  };
  std::vector<Element> elements;
  int series = 0;
  TGrafSeriesTypes* types = SeriesTypeRegistry();
  for (int i = 0; i < types->Count(); ++i) {
    const TGrafSeriesType* t = types->TypeAt(i);
    if (t->SeriesClass) {
      auto* s = dynamic_cast<TChartSeries*>(CreateComponentOfClass(t->SeriesClass, Host.get()));
      ASSERT_NE(s, nullptr) << t->SeriesClass->Name();
      s->SetName("S" + std::to_string(++series));
      s->SetParentChart(Chart);
      elements.push_back({t->SeriesClass->Name(), s->EditorFormClassName(), s});
      if (t->FunctionClass) {
        TGrafFunction* f = CreateSeriesFunction(s, t->FunctionClass);
        ASSERT_NE(f, nullptr) << t->FunctionClass->Name();
        elements.push_back({t->FunctionClass->Name(), f->EditorFormClassName(), f});
      }
    } else if (t->FunctionClass) {
      auto* s = new TLineSeries(Host.get());
      s->SetName("S" + std::to_string(++series));
      s->SetParentChart(Chart);
      TGrafFunction* f = CreateSeriesFunction(s, t->FunctionClass);
      ASSERT_NE(f, nullptr) << t->FunctionClass->Name();
      elements.push_back({t->FunctionClass->Name(), f->EditorFormClassName(), f});
    }
  }
  // Tools are checked where every tool editor is registered, the further
  // tools' library (tests/chart/extra, EveryRegisteredToolOpensItsEditor).
  ASSERT_GT(elements.size(), 40u);

  int opened = 0;
  for (const Element& e : elements) {
    SCOPED_TRACE(e.Type + " -> \"" + e.EditorName + "\"");
    if (e.EditorName.empty()) continue;
    TClass cls = GetClass(e.EditorName);
    EXPECT_NE(cls, nullptr);
    if (!cls) continue;
    EXPECT_EQ(GetClass(Lower(e.EditorName)), cls);
    EXPECT_TRUE(cls->InheritsFrom(&TCustomForm::StaticClass()));
    TCustomForm* form = nullptr;
    EXPECT_NO_THROW(form = Open(e.EditorName, e.Object));
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->Visible());
    delete form;
    ++opened;
  }
  EXPECT_GT(opened, 30);
}

// One change through an editor, the property it must reach, and how the
// chart read back from a file shows it.
struct TRoundTrip {
  const char* Name;
  std::function<TObject*(TForm* Owner, TChart* Chart)> Make;
  const char* Editor;
  std::function<void(TCustomForm* Form, TObject* Element)> Edit;
  std::function<void(TObject* Element)> Check;
  // The element in the chart read back; nil: the series "Edited", else the
  // first tool.
  std::function<TObject*(TChart* Read)> Back;
};

TChartSeries* SeriesNamed(TChart* Chart, const std::string& Name) {
  for (int i = 0; i < Chart->NumberOfSeries(); ++i)
    if (Chart->SeriesAt(i)->Name() == Name) return Chart->SeriesAt(i);
  return nullptr;
}

// The embedded form of that class on the editor (a font or symbol editor).
template <class T>
T* EmbeddedOn(TComponent* Editor, TWinControl* Sheet) {
  for (int i = 0; i < Editor->ComponentCount(); ++i)
    if (auto* f = dynamic_cast<T*>(Editor->Components(i)); f && f->Parent() == Sheet) return f;
  return nullptr;
}

void Apply(TCustomForm* Form) {
  bool canClose = false;
  Form->OnCloseQuery(Form, canClose);
  EXPECT_TRUE(canClose);
}

template <class T>
T* AddSeries(TForm* Owner, TChart* Chart) {
  auto* s = new T(Owner);
  s->SetName("Edited");
  s->SetParentChart(Chart);
  return s;
}

const TRoundTrip kRoundTrips[] = {
    {"line pen", [](TForm* o, TChart* c) -> TObject* { return AddSeries<TFastLineSeries>(o, c); },
     "TFastLineSeriesEditor",
     [](TCustomForm* f, TObject*) {
       Find<TEdit>(f, "SEWidth")->SetText("3");
       Find<TCheckBox>(f, "CBStairs")->SetChecked(true);
     },
     [](TObject* e) {
       auto* s = dynamic_cast<TFastLineSeries*>(e);
       EXPECT_EQ(s->LinePen()->Width(), 3);
       EXPECT_TRUE(s->Stairs());
     }},
    {"pointer style and size", [](TForm* o, TChart* c) -> TObject* { return AddSeries<TPointSeries>(o, c); },
     "TSeriesPointerEditor",
     [](TCustomForm* f, TObject*) {
       Find<TComboBox>(f, "CBStyle")->UserSelected(psDiamond);
       Find<TEdit>(f, "SEPointHorizSize")->SetText("7");
       Find<TEdit>(f, "SEPointVertSize")->SetText("9");
     },
     [](TObject* e) {
       TSeriesPointer* p = dynamic_cast<TPointSeries*>(e)->Pointer();
       EXPECT_EQ(p->Style(), psDiamond);
       EXPECT_EQ(p->HorizSize(), 7);
       EXPECT_EQ(p->VertSize(), 9);
     }},
    {"line stairs and stack", [](TForm* o, TChart* c) -> TObject* { return AddSeries<TLineSeries>(o, c); },
     "TCustomSeriesEditor",
     [](TCustomForm* f, TObject*) {
       Find<TCheckBox>(f, "CBStairs")->SetChecked(true);
       Find<TComboBox>(f, "CBStack")->UserSelected(cssStack);
       Find<TEdit>(f, "EHeight")->SetText("12");
     },
     [](TObject* e) {
       auto* s = dynamic_cast<TLineSeries*>(e);
       EXPECT_TRUE(s->Stairs());
       EXPECT_EQ(s->Stacked(), cssStack);
       EXPECT_EQ(s->LineHeight(), 12);
     }},
    {"area origin", [](TForm* o, TChart* c) -> TObject* { return AddSeries<TAreaSeries>(o, c); },
     "TAreaSeriesEditor",
     [](TCustomForm* f, TObject*) {
       Find<TCheckBox>(f, "CBUseOrigin")->SetChecked(true);
       Find<TEdit>(f, "EOrigin")->SetText("-40");
       Find<TRadioGroup>(f, "RGMultiArea")->SetItemIndex(maStacked);
     },
     [](TObject* e) {
       auto* s = dynamic_cast<TAreaSeries*>(e);
       EXPECT_TRUE(s->UseYOrigin());
       EXPECT_EQ(s->YOrigin(), -40);
       EXPECT_EQ(s->MultiArea(), maStacked);
     }},
    {"bar style", [](TForm* o, TChart* c) -> TObject* { return AddSeries<TBarSeries>(o, c); }, "TBarSeriesEditor",
     [](TCustomForm* f, TObject*) {
       Find<TComboBox>(f, "CBBarStyle")->UserSelected(bsCilinder);
       Find<TEdit>(f, "SEBarwidth")->SetText("45");
     },
     [](TObject* e) {
       auto* s = dynamic_cast<TBarSeries*>(e);
       EXPECT_EQ(s->BarStyle(), bsCilinder);
       EXPECT_EQ(s->BarWidthPercent(), 45);
     }},
    {"pie explode and other slice", [](TForm* o, TChart* c) -> TObject* { return AddSeries<TPieSeries>(o, c); },
     "TPieSeriesEditor",
     [](TCustomForm* f, TObject*) {
       Find<TEdit>(f, "SEExpBig")->SetText("30");
       Find<TComboBox>(f, "CBOther")->UserSelected(poBelowValue);
       Find<TEdit>(f, "EOtherValue")->SetText("2.5");
     },
     [](TObject* e) {
       auto* s = dynamic_cast<TPieSeries*>(e);
       EXPECT_EQ(s->ExplodeBiggest(), 30);
       EXPECT_EQ(s->OtherSlice()->Style(), poBelowValue);
       EXPECT_EQ(s->OtherSlice()->Value(), 2.5);
     }},
    {"surface palette", [](TForm* o, TChart* c) -> TObject* { return AddSeries<TSurfaceSeries>(o, c); },
     "TGrid3DSeriesEditor",
     [](TCustomForm* f, TObject*) {
       auto* pages = Find<TPageControl>(f, "PageControl1");
       pages->SetActivePage(Find<TTabSheet>(f, "TabPalette"));
       if (pages->OnChange) pages->OnChange(pages);
       Find<TEdit>(f, "SEPalette")->SetText("14");
       Find<TComboBox>(f, "CBPalStyle")->UserSelected(psRainbow);
     },
     [](TObject* e) {
       auto* s = dynamic_cast<TSurfaceSeries*>(e);
       EXPECT_TRUE(s->UsePalette());
       EXPECT_FALSE(s->UseColorRange());
       EXPECT_EQ(s->PaletteSteps(), 14);
       EXPECT_EQ(s->PaletteStyle(), psRainbow);
     }},
    {"contour levels",
     [](TForm* o, TChart* c) -> TObject* {
       auto* s = AddSeries<TContourSeries>(o, c);
       s->SetAutomaticLevels(false);
       for (double v : {1.0, 2.0, 3.0}) s->Levels()->AddLevel(clDefault, v);
       return s;
     },
     "TContourSeriesEditor",
     [](TCustomForm* f, TObject*) {
       Find<TEdit>(f, "ELevel")->SetText("1");
       Find<TEdit>(f, "EValue")->SetText("12.5");
       Find<TCheckBox>(f, "cbDefaultPen")->SetChecked(false);
     },
     [](TObject* e) {
       auto* s = dynamic_cast<TContourSeries*>(e);
       ASSERT_EQ(s->Levels()->Count(), 3);
       EXPECT_FALSE(s->AutomaticLevels());
       EXPECT_EQ(s->Levels()->GetLevel(1)->UpToValue(), 12.5);
       EXPECT_EQ(s->Levels()->GetLevel(2)->UpToValue(), 3.0);
     }},
    {"function period and weighting",
     [](TForm* o, TChart* c) -> TObject* {
       auto* s = AddSeries<TLineSeries>(o, c);
       return CreateSeriesFunction(s, &TMovingAverageFunction::StaticClass());
     },
     "TMovAveFuncEditor",
     [](TCustomForm* f, TObject*) {
       Find<TEdit>(f, "Edit1")->SetText("7");
       Find<TComboBox>(f, "CBStyle")->UserSelected(2);
       Apply(f);
     },
     [](TObject* e) {
       auto* m = dynamic_cast<TMovingAverageFunction*>(e);
       ASSERT_NE(m, nullptr);
       EXPECT_EQ(m->Period(), 7);
       EXPECT_TRUE(m->WeightedIndex());
       EXPECT_FALSE(m->Weighted());
     },
     [](TChart* read) -> TObject* { return SeriesNamed(read, "Edited")->FunctionType(); }},
    {"candle colours and style",
     [](TForm* o, TChart* c) -> TObject* { return AddSeries<TCandleSeries>(o, c); }, "TCandleEditor",
     [](TCustomForm* f, TObject*) {
       guitest::TCommonDialogResponder colours;
       colours.Do([](TCommonDialog* d) {
         static_cast<TColorDialog*>(d)->Color = clNavy;
         return true;
       });
       colours.Do([](TCommonDialog* d) {
         static_cast<TColorDialog*>(d)->Color = clMaroon;
         return true;
       });
       Find<TButtonColor>(f, "BUpColor")->Click();
       Find<TButtonColor>(f, "BDownColor")->Click();
       Find<TRadioGroup>(f, "RGStyle")->SetItemIndex(csOpenClose);
     },
     [](TObject* e) {
       auto* s = dynamic_cast<TCandleSeries*>(e);
       EXPECT_EQ(s->UpCloseColor(), clNavy);
       EXPECT_EQ(s->DownCloseColor(), clMaroon);
       EXPECT_EQ(s->CandleStyle(), csOpenClose);
     }},
    {"drag point tool series and style",
     [](TForm* o, TChart* c) -> TObject* {
       AddSeries<TLineSeries>(o, c)->SetTitle("Target");
       auto* t = new TDragPointTool(o);
       t->SetName("DragTool");
       c->Tools()->AddTool(t);
       return t;
     },
     "TDragPointToolEdit",
     [](TCustomForm* f, TObject*) {
       auto* combo = Find<TComboBox>(f, "CBSeries");
       ASSERT_EQ(combo->Items()->Count(), 2);
       EXPECT_EQ(combo->ItemIndex(), 0);
       combo->UserSelected(1);
       Find<TRadioGroup>(f, "RGStyle")->SetItemIndex(1);
     },
     [](TObject* e) {
       auto* t = dynamic_cast<TDragPointTool*>(e);
       ASSERT_NE(t->Series(), nullptr);
       EXPECT_EQ(t->Series()->Name(), "Edited");
       EXPECT_EQ(t->DragStyle(), dsY);
     }},
    {"data table font and position",
     [](TForm* o, TChart* c) -> TObject* {
       AddSeries<TLineSeries>(o, c);
       auto* t = new TDataTableTool(o);
       t->SetName("Table");
       c->Tools()->AddTool(t);
       return t;
     },
     "TDataTableEditor",
     [](TCustomForm* f, TObject*) {
       auto* font = EmbeddedOn<TGrafFontEditor>(f, Find<TTabSheet>(f, "TabText"));
       ASSERT_NE(font, nullptr);
       Find<TEdit>(font, "Edit2")->SetText("3");
       Find<TCheckBox>(f, "CBAutoPos")->SetChecked(false);
       Find<TEdit>(f, "Edit1")->SetText("25");
       Find<TCheckBox>(f, "CBInverted")->SetChecked(true);
     },
     [](TObject* e) {
       auto* t = dynamic_cast<TDataTableTool*>(e);
       EXPECT_EQ(t->Font()->InterCharSize(), 3);
       EXPECT_FALSE(t->AutoPosition());
       EXPECT_EQ(t->Left(), 25);
       EXPECT_TRUE(t->Inverted());
     }},
    {"map shape value and text",
     [](TForm* o, TChart* c) -> TObject* {
       auto* s = AddSeries<TMapSeries>(o, c);
       for (int i = 0; i < 2; ++i) {
         TGrafPolygon* p = s->Shapes()->AddPolygon();
         p->Points()->AddXYPoint(0, 0);
         p->Points()->AddXYPoint(1, i + 1);
         p->Points()->AddXYPoint(2, 0);
       }
       return s;
     },
     "TMapSeriesEditor",
     [](TCustomForm* f, TObject*) {
       auto* list = Find<TCustomListBox>(f, "ChartListBox1");
       list->SetItemIndex(1);
       list->OnClick(list);
       Find<TEdit>(f, "EditZ")->SetText("42.5");
       Find<TEdit>(f, "EText")->SetText("Naxos");
       Find<TCheckBox>(f, "CBClosed")->SetChecked(false);
     },
     [](TObject* e) {
       auto* s = dynamic_cast<TMapSeries*>(e);
       ASSERT_EQ(s->Shapes()->Count(), 2);
       EXPECT_EQ(s->Shapes()->Polygon(1)->Z(), 42.5);
       EXPECT_EQ(s->Shapes()->Polygon(1)->Text(), "Naxos");
       EXPECT_FALSE(s->Shapes()->Polygon(1)->Closed());
       EXPECT_EQ(s->Shapes()->Polygon(1)->Points()->PointCount(), 3);
     }},
};

class RoundTripTest : public ElementEditorTest, public ::testing::WithParamInterface<TRoundTrip> {};

TEST_P(RoundTripTest, ChangeReachesTheElementAndSurvivesTheChartFile) {
  const TRoundTrip& row = GetParam();
  TObject* element = row.Make(Host.get(), Chart);
  TCustomForm* form = Open(row.Editor, element);
  ASSERT_NE(form, nullptr);
  row.Edit(form, element);
  row.Check(element);

  for (bool asText : {false, true}) {
    SCOPED_TRACE(asText ? "text" : "binary");
    TStringStream s;
    WriteChartStream(Chart, s, true, asText);
    TForm owner(nullptr);
    TChart* read = NewChart(&owner);
    TStringStream in(s.DataString());
    ReadChartStream(read, in);
    TObject* back = row.Back ? row.Back(read)
                    : read->Tools()->Count() > 0 ? static_cast<TObject*>(read->Tools()->ToolAt(0))
                                                 : static_cast<TObject*>(SeriesNamed(read, "Edited"));
    ASSERT_NE(back, nullptr);
    row.Check(back);
  }
}

INSTANTIATE_TEST_SUITE_P(Editors, RoundTripTest, ::testing::ValuesIn(kRoundTrips),
                         [](const ::testing::TestParamInfo<TRoundTrip>& info) {
                           std::string n;
                           for (const char* c = info.param.Name; *c; ++c)
                             n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                           return n;
                         });

}  // namespace
