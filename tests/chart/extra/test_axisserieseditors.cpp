// The editor forms of the chart core's axis tools, series tools and
// annotation tools, and of the extra legend: found by the class name the
// tool answers and embedded as the tools page embeds them, with the tool in
// Tag. A change in a control reaches the tool; controls are enabled as the
// tool's state allows; every registered tool type opens its editor.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "chart/core/chart.h"
#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafedilege.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/graftoolsgallery.h"
#include "chart/extra/extraregister.h"
#include "chart/extra/grafextralegendtool.h"
#include "chart/extra/grafimagetooledit.h"
#include "chart/extra/grafpagenumtool.h"
#include "chart/extra/graflegendscrollbar.h"
#include "chart/extra/graflighting.h"
#include "chart/extra/grafselectortool.h"
#include "chart/extra/grafseriesbandtool.h"
#include "chart/extra/grafpietool.h"
#include "chart/extra/grafgantttool.h"
#include "chart/extra/graftransposetool.h"
#include "chart/series/grafdatatable.h"
#include "chart/series/grafsurfacetool.h"
#include "chart/series/graftools.h"
#include "chart/series/series.h"
#include "platform/ui/graphicctrls.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "platform/ui/richedit.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

template <class T>
T* Find(TComponent* Owner, const char* Name) {
  T* c = Owner ? dynamic_cast<T*>(Owner->FindComponent(Name)) : nullptr;
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

std::string Lower(std::string s) {
  for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

class AxisSeriesEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    RegisterChartEditorUnits();
    RegisterExtraToolTypes();
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(20, 20, 900, 520);
    Chart = new TChart(Host.get());
    Chart->SetName("Chart1");
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 280, 200);
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(300, 0, 560, 360);
    Host->Show();
  }
  void TearDown() override { Host.reset(); }

  TLineSeries* AddLine(const std::string& Title) {
    auto* s = new TLineSeries(Host.get());
    s->SetParentChart(Chart);
    s->SetTitle(Title);
    for (int i = 0; i < 5; ++i) s->AddXYPoint(i, i * 2.0);
    return s;
  }
  TGrafCustomTool* AddTool(TClass Class) {
    auto* t = dynamic_cast<TGrafCustomTool*>(CreateComponentOfClass(Class, Host.get()));
    EXPECT_NE(t, nullptr) << Class->Name();
    if (t) Chart->Tools()->AddTool(t);
    return t;
  }
  template <class T>
  T* AddTool() {
    return dynamic_cast<T*>(AddTool(&T::StaticClass()));
  }
  // The tool's editor form, as the tools page finds and embeds it.
  TCustomForm* Open(TGrafCustomTool* Tool) {
    TClass cls = GetClass(Tool->EditorFormClassName());
    EXPECT_NE(cls, nullptr) << Tool->EditorFormClassName();
    if (!cls) return nullptr;
    auto* form = dynamic_cast<TCustomForm*>(CreateComponentOfClass(cls, Host.get()));
    if (!form) return nullptr;
    form->SetAlign(alClient);
    EmbedEditorForm(form, Sheet, Tool);
    return form;
  }

  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
};

// One tool, the changes made through its editor, and what they must do.
struct TEditCase {
  const char* Name;
  TClass Class;
  std::function<void(TCustomForm* Form, TChart* Chart)> Edit;
  std::function<void(TGrafCustomTool* Tool, TChart* Chart)> Check;
};

template <class T>
T* As(TGrafCustomTool* Tool) {
  auto* t = dynamic_cast<T*>(Tool);
  EXPECT_NE(t, nullptr);
  return t;
}

void Pick(TCustomForm* F, const char* Combo, int Index) { Find<TComboBox>(F, Combo)->UserSelected(Index); }
void Type(TCustomForm* F, const char* Edit, const std::string& Text) { Find<TEdit>(F, Edit)->SetText(Text); }
void Tick(TCustomForm* F, const char* Box, bool On) { Find<TCheckBox>(F, Box)->SetChecked(On); }

const TEditCase kEditCases[] = {
    {"axis scroll: the axis", &TAxisScrollTool::StaticClass(), [](TCustomForm* f, TChart*) { Pick(f, "CBAxis", 3); },
     [](TGrafCustomTool* t, TChart* c) { EXPECT_EQ(As<TAxisScrollTool>(t)->Axis(), c->BottomAxis()); }},
    {"grid band: second band's transparency", &TGridBandTool::StaticClass(),
     [](TCustomForm* f, TChart*) {
       Pick(f, "CBAxis", 1);
       auto* tabs = Find<TTabControl>(f, "TabControl1");
       tabs->SetTabIndex(1);
       tabs->OnChange(tabs);
       Type(f, "Edit1", "40");
     },
     [](TGrafCustomTool* t, TChart* c) {
       auto* g = As<TGridBandTool>(t);
       EXPECT_EQ(g->Axis(), c->RightAxis());
       EXPECT_EQ(g->Band2()->Transparency(), 40);
       EXPECT_EQ(g->Band1()->Transparency(), 0);
     }},
    {"axis arrow: every box", &TAxisArrowTool::StaticClass(),
     [](TCustomForm* f, TChart*) {
       Type(f, "ELength", "30");
       Pick(f, "CBPos", 0);
       Type(f, "Edit1", "25");
       Tick(f, "CBInv", true);
       Type(f, "ESize", "70");
       Type(f, "EWidth", "12");
     },
     [](TGrafCustomTool* t, TChart*) {
       auto* a = As<TAxisArrowTool>(t);
       EXPECT_EQ(a->Length(), 30);
       EXPECT_EQ(a->Position(), aaStart);
       EXPECT_EQ(a->ScrollPercent(), 25);
       EXPECT_TRUE(a->ScrollInverted());
       EXPECT_EQ(a->SizePercent(), 70);
       EXPECT_EQ(a->HeadWidth(), 12);
     }},
    {"colour band: values, drag, order, cursor", &TColorBandTool::StaticClass(),
     [](TCustomForm* f, TChart*) {
       Type(f, "EStart", "1.5");
       Type(f, "EEnd", "4");
       Type(f, "EEnd", "4x");  // not a number: the value stays
       Tick(f, "CBStart", false);
       Tick(f, "CBEnd", true);
       Type(f, "ETrans", "30");
       Tick(f, "CBDrawBehind", false);
       Tick(f, "CBBeforeAxes", true);
       auto* cursor = Find<TComboBox>(f, "CBCursor");
       cursor->UserSelected(cursor->Items()->IndexOf("Cross"));
     },
     [](TGrafCustomTool* t, TChart*) {
       auto* b = As<TColorBandTool>(t);
       EXPECT_EQ(b->StartValue(), 1.5);
       EXPECT_EQ(b->EndValue(), 4);
       EXPECT_FALSE(b->ResizeStart());
       EXPECT_TRUE(b->ResizeEnd());
       EXPECT_EQ(b->Transparency(), 30);
       EXPECT_FALSE(b->DrawBehind());
       EXPECT_TRUE(b->DrawBehindAxes());
       EXPECT_EQ(b->Cursor(), crCross);
     }},
    {"colour line: value, style and options", &TColorLineTool::StaticClass(),
     [](TCustomForm* f, TChart*) {
       Type(f, "EValue", "2.5");
       Type(f, "EValue", "abc");
       Tick(f, "CBAllowDrag", false);
       Tick(f, "CBDragRepaint", true);
       Tick(f, "CBNoLimitDrag", true);
       Tick(f, "CBDrawBehind", true);
       Tick(f, "CBDraw3D", false);
       Pick(f, "CBStyle", 3);
     },
     [](TGrafCustomTool* t, TChart*) {
       auto* l = As<TColorLineTool>(t);
       EXPECT_EQ(l->Value(), 2.5);
       EXPECT_FALSE(l->AllowDrag());
       EXPECT_TRUE(l->DragRepaint());
       EXPECT_TRUE(l->NoLimitDrag());
       EXPECT_TRUE(l->DrawBehind());
       EXPECT_FALSE(l->Draw3D());
       EXPECT_EQ(l->Style(), clMinimum);
     }},
    {"cursor: series, style, snapping, tolerance", &TCursorTool::StaticClass(),
     [](TCustomForm* f, TChart*) {
       Pick(f, "CBSeries", 1);
       Pick(f, "CBStyle", 1);
       Tick(f, "CBSnap", true);
       Tick(f, "CBFollow", true);
       Tick(f, "CBZ", true);
       Type(f, "EPixels", "9");
     },
     [](TGrafCustomTool* t, TChart* c) {
       auto* k = As<TCursorTool>(t);
       EXPECT_EQ(k->Series(), c->SeriesAt(0));
       EXPECT_EQ(k->Style(), cssVertical);
       EXPECT_TRUE(k->Snap());
       EXPECT_TRUE(k->FollowMouse());
       EXPECT_TRUE(k->UseSeriesZ());
       EXPECT_EQ(k->ClickTolerance(), 9);
     }},
    {"nearest point: size, style, repaint", &TNearestTool::StaticClass(),
     [](TCustomForm* f, TChart*) {
       Type(f, "Edit1", "33");
       Pick(f, "CBStyle", 2);
       Tick(f, "CBFull", false);
     },
     [](TGrafCustomTool* t, TChart*) {
       auto* n = As<TNearestTool>(t);
       EXPECT_EQ(n->Size(), 33);
       EXPECT_EQ(n->Style(), hsRectangle);
       EXPECT_FALSE(n->FullRepaint());
     }},
    {"marks tip: style and mouse action", &TMarksTipTool::StaticClass(),
     [](TCustomForm* f, TChart*) {
       Pick(f, "CBMarkStyle", 9);
       Find<TRadioGroup>(f, "RGMouseAction")->SetItemIndex(1);
     },
     [](TGrafCustomTool* t, TChart*) {
       auto* m = As<TMarksTipTool>(t);
       EXPECT_EQ(m->Style(), smsXY);
       EXPECT_EQ(m->MouseAction(), mtmClick);
     }},
    {"draw line: button, permissions, tolerance", &TDrawLineTool::StaticClass(),
     [](TCustomForm* f, TChart*) {
       Pick(f, "CBButton", 2);
       Tick(f, "CBEnable", false);
       Tick(f, "CBSelect", false);
       Tick(f, "CBSelectNew", false);
       Type(f, "EPixels", "6");
     },
     [](TGrafCustomTool* t, TChart*) {
       auto* d = As<TDrawLineTool>(t);
       EXPECT_EQ(d->Button(), mbMiddle);
       EXPECT_FALSE(d->EnableDraw());
       EXPECT_FALSE(d->EnableSelect());
       EXPECT_FALSE(d->SelectNewLines());
       EXPECT_EQ(d->ClickTolerance(), 6);
     }},
    {"rotate: \"Middle\" is the middle button", &TRotateTool::StaticClass(),
     [](TCustomForm* f, TChart*) {
       Tick(f, "CBInverted", true);
       Pick(f, "CBStyle", 2);
       Pick(f, "CBButton", 1);
     },
     [](TGrafCustomTool* t, TChart*) {
       auto* r = As<TRotateTool>(t);
       EXPECT_TRUE(r->Inverted());
       EXPECT_EQ(r->Style(), rsElevation);
       EXPECT_EQ(r->Button(), mbMiddle);
       EXPECT_EQ(static_cast<int>(r->Button()), 2);
     }},
    {"series animation: steps, start, loop", &TSeriesAnimationTool::StaticClass(),
     [](TCustomForm* f, TChart*) {
       Find<TScrollBar>(f, "SBSteps")->SetPosition(50);
       Tick(f, "CBStartMin", false);
       Type(f, "EStart", "3.5");
       Type(f, "EStart", "3.5q");
       Type(f, "Edit1", "4");
       Pick(f, "ComboFlat1", 2);
       EXPECT_EQ(Find<TLabel>(f, "Label3")->Caption(), "50");
     },
     [](TGrafCustomTool* t, TChart*) {
       auto* a = As<TSeriesAnimationTool>(t);
       EXPECT_EQ(a->Steps(), 50);
       EXPECT_FALSE(a->StartAtMin());
       EXPECT_EQ(a->StartValue(), 3.5);
       EXPECT_EQ(a->DrawEvery(), 4);
       EXPECT_EQ(a->Loop(), salCircular);
     }},
    {"annotation: text, alignment, callout", &TAnnotationTool::StaticClass(),
     [](TCustomForm* f, TChart*) {
       Find<TMemo>(f, "MemoText")->SetText("first\r\nsecond");
       Pick(f, "CBTextAlign", 1);
       Type(f, "EX", "40");
       Type(f, "EY", "7");
       Type(f, "EX", "4O");  // a letter O: the X position stays
       Type(f, "EArrowDist", "12");
       Pick(f, "CBHead", 2);
       Type(f, "Edit1", "5");
     },
     [](TGrafCustomTool* t, TChart*) {
       auto* a = As<TAnnotationTool>(t);
       EXPECT_EQ(a->Text(), "first\rsecond");
       EXPECT_EQ(a->TextAlignment(), taCenter);
       EXPECT_EQ(a->Callout()->XPosition(), 40);
       EXPECT_EQ(a->Callout()->YPosition(), 7);
       EXPECT_EQ(a->Callout()->Distance(), 12);
       EXPECT_EQ(a->Callout()->ArrowHead(), ahSolid);
       EXPECT_EQ(a->Callout()->ArrowHeadSize(), 5);
     }},
    {"page number through the annotation editor", &TPageNumTool::StaticClass(),
     [](TCustomForm* f, TChart*) { Pick(f, "CBPos", 3); },
     [](TGrafCustomTool* t, TChart*) { EXPECT_EQ(As<TAnnotationTool>(t)->Position(), ppRightBottom); }},
    {"extra legend: the series", &TExtraLegendTool::StaticClass(), [](TCustomForm* f, TChart*) { Pick(f, "CBSeries", 1); },
     [](TGrafCustomTool* t, TChart* c) { EXPECT_EQ(As<TExtraLegendTool>(t)->Series(), c->SeriesAt(0)); }},
};

}  // namespace

TEST_F(AxisSeriesEditorTest, AChangeThroughEachEditorReachesTheTool) {
  AddLine("Line");
  for (const TEditCase& c : kEditCases) {
    SCOPED_TRACE(c.Name);
    TGrafCustomTool* tool = AddTool(c.Class);
    ASSERT_NE(tool, nullptr);
    TCustomForm* f = Open(tool);
    ASSERT_NE(f, nullptr);
    c.Edit(f, Chart);
    c.Check(tool, Chart);
    delete f;
  }
}

TEST_F(AxisSeriesEditorTest, EditorsLoadWithoutWritingBack) {
  AddLine("Line");
  auto* band = AddTool<TColorBandTool>();
  band->SetAxis(Chart->LeftAxis());
  band->SetStartValue(0.25);
  band->SetEndValue(3);
  band->SetTransparency(20);
  auto* line = AddTool<TColorLineTool>();
  line->SetAxis(Chart->TopAxis());
  line->SetValue(7.5);
  auto* arrow = AddTool<TAxisArrowTool>();
  arrow->SetAxis(Chart->BottomAxis());
  arrow->SetLength(33);
  auto* note = AddTool<TAnnotationTool>();
  note->SetText("a\rb");
  note->SetTextAlignment(taRightJustify);

  TCustomForm* f = Open(band);
  EXPECT_EQ(Find<TComboBox>(f, "CBAxis")->ItemIndex(), 0);
  EXPECT_EQ(Find<TEdit>(f, "EStart")->Text(), "0.25");
  EXPECT_EQ(Find<TEdit>(f, "ETrans")->Text(), "20");
  EXPECT_EQ(Find<TButtonPen>(f, "BStart")->LinkedPen(), band->StartLinePen());
  EXPECT_EQ(band->StartValue(), 0.25);
  EXPECT_EQ(band->Transparency(), 20);
  delete f;
  f = Open(line);
  EXPECT_EQ(Find<TComboBox>(f, "CBAxis")->ItemIndex(), 2);
  EXPECT_EQ(Find<TEdit>(f, "EValue")->Text(), "7.5");
  EXPECT_EQ(line->Value(), 7.5);
  delete f;
  f = Open(arrow);
  EXPECT_EQ(Find<TComboBox>(f, "CBAxis")->ItemIndex(), 3);
  EXPECT_EQ(Find<TEdit>(f, "ELength")->Text(), "33");
  EXPECT_EQ(Find<TComboBox>(f, "CBPos")->ItemIndex(), static_cast<int>(aaBoth));
  delete f;
  f = Open(note);
  EXPECT_EQ(Find<TComboBox>(f, "CBTextAlign")->ItemIndex(), 2);
  EXPECT_EQ(note->Text(), "a\rb");
  auto* pages = Find<TPageControl>(f, "PageControl1");
  ASSERT_GT(pages->PageCount(), 4);  // the box's own pages follow "Callout"
  EXPECT_EQ(pages->Pages(3)->Caption(), "Callout");
  EXPECT_EQ(pages->ActivePage()->Caption(), "Options");
  delete f;
}

TEST_F(AxisSeriesEditorTest, AxisComboOffersTheCustomAxesAndCanClearTheAxis) {
  auto* a1 = new TChartAxis(Chart->CustomAxes());
  auto* a2 = new TChartAxis(Chart->CustomAxes());
  ASSERT_EQ(Chart->AxesList()->Count(), 8);
  ASSERT_EQ(Chart->AxesList()->AxisAt(6), a1);
  auto* tool = AddTool<TColorLineTool>();
  TCustomForm* f = Open(tool);
  auto* combo = Find<TComboBox>(f, "CBAxis");
  ASSERT_EQ(combo->Items()->Count(), 6);
  EXPECT_EQ(combo->Items()->Strings(5), "Custom 1");
  combo->UserSelected(4);
  EXPECT_EQ(tool->Axis(), a1);
  combo->UserSelected(5);
  EXPECT_EQ(tool->Axis(), a2);
  delete f;
  f = Open(tool);
  combo = Find<TComboBox>(f, "CBAxis");
  EXPECT_EQ(combo->ItemIndex(), 5);  // loaded back from the axis list
  combo->UserSelected(-1);
  EXPECT_EQ(tool->Axis(), nullptr);
  delete f;
}

TEST_F(AxisSeriesEditorTest, ControlsAreEnabledAsTheToolAllows) {
  // The border button shows only for tools that publish a pen.
  TCustomForm* f = Open(AddTool<TAxisScrollTool>());
  EXPECT_FALSE(Find<TButtonPen>(f, "BPen")->Visible());
  delete f;
  auto* arrow = AddTool<TAxisArrowTool>();
  f = Open(arrow);
  EXPECT_TRUE(Find<TButtonPen>(f, "BPen")->Visible());
  EXPECT_EQ(Find<TButtonPen>(f, "BPen")->LinkedPen(), arrow->Pen());
  delete f;
  f = Open(AddTool<TGridBandTool>());
  EXPECT_FALSE(Find<TButtonPen>(f, "BPen")->Visible());
  delete f;

  // A colour line kept at the axis centre has no value of its own to type.
  auto* line = AddTool<TColorLineTool>();
  line->SetStyle(clCenter);
  f = Open(line);
  auto* value = Find<TEdit>(f, "EValue");
  EXPECT_FALSE(value->Enabled());
  Find<TComboBox>(f, "CBStyle")->UserSelected(0);
  EXPECT_TRUE(value->Enabled());
  EXPECT_EQ(line->Style(), clCustom);
  delete f;

  // The cursor snaps (and uses the series' Z) only with a series.
  TLineSeries* s = AddLine("Line");
  auto* cursor = AddTool<TCursorTool>();
  f = Open(cursor);
  auto* snap = Find<TCheckBox>(f, "CBSnap");
  auto* z = Find<TCheckBox>(f, "CBZ");
  EXPECT_FALSE(snap->Enabled());
  EXPECT_FALSE(z->Enabled());
  Find<TComboBox>(f, "CBSeries")->UserSelected(1);
  EXPECT_TRUE(snap->Enabled());
  EXPECT_TRUE(z->Enabled());
  Find<TComboBox>(f, "CBSeries")->UserSelected(0);
  EXPECT_FALSE(z->Enabled());
  delete f;

  // The animation runs only with a series; its start value only when it
  // does not start at the minimum.
  auto* anim = AddTool<TSeriesAnimationTool>();
  f = Open(anim);
  auto* run = Find<TButton>(f, "Button1");
  EXPECT_FALSE(run->Enabled());
  EXPECT_FALSE(Find<TEdit>(f, "EStart")->Enabled());
  Find<TComboBox>(f, "CBSeries")->UserSelected(1);
  EXPECT_EQ(anim->Series(), s);
  EXPECT_TRUE(run->Enabled());
  Find<TCheckBox>(f, "CBStartMin")->SetChecked(false);
  EXPECT_TRUE(Find<TEdit>(f, "EStart")->Enabled());
  delete f;
}

TEST_F(AxisSeriesEditorTest, AnnotationPositionAndSizeControlsFollowTheShape) {
  auto* note = AddTool<TAnnotationTool>();
  TCustomForm* f = Open(note);
  auto* custom = Find<TCheckBox>(f, "CBCustPos");
  auto* left = Find<TEdit>(f, "ECustLeft");
  auto* top = Find<TEdit>(f, "ECustTop");
  auto* units = Find<TComboBox>(f, "CBUnits");
  EXPECT_FALSE(left->Enabled());
  EXPECT_FALSE(units->Enabled());
  custom->SetChecked(true);
  EXPECT_TRUE(note->Shape()->CustomPosition());
  EXPECT_TRUE(left->Enabled());
  EXPECT_TRUE(top->Enabled());
  left->SetText("250");
  top->SetText("30");
  EXPECT_EQ(note->Left(), 250);
  EXPECT_EQ(note->Top(), 30);
  // Percent: the left box is lowered to 100, and the tool follows.
  units->UserSelected(0);
  EXPECT_EQ(note->PositionUnits(), muPercent);
  EXPECT_EQ(left->Text(), "100");
  EXPECT_EQ(note->Left(), 100);
  EXPECT_EQ(note->Top(), 30);
  units->UserSelected(1);
  EXPECT_EQ(note->PositionUnits(), muPixels);
  // A corner after a custom position ends the custom position.
  Find<TComboBox>(f, "CBPos")->UserSelected(2);
  EXPECT_EQ(note->Position(), ppRightTop);
  EXPECT_FALSE(note->Shape()->CustomPosition());
  EXPECT_FALSE(custom->Checked());
  EXPECT_FALSE(left->Enabled());
  EXPECT_FALSE(top->Enabled());

  // Size: typed only when not automatic.
  auto* automatic = Find<TCheckBox>(f, "CBAutoSize");
  auto* width = Find<TEdit>(f, "ECustWidth");
  EXPECT_TRUE(automatic->Checked());
  EXPECT_FALSE(width->Enabled());
  automatic->SetChecked(false);
  EXPECT_FALSE(note->AutoSize());
  EXPECT_TRUE(width->Enabled());
  width->SetText("120");
  Find<TEdit>(f, "ECustHeight")->SetText("45");
  EXPECT_EQ(note->Width(), 120);
  EXPECT_EQ(note->Height(), 45);
  delete f;
}

TEST_F(AxisSeriesEditorTest, ResetPositionsWithAllResetsTheMarksOfEverySeries) {
  TLineSeries* a = AddLine("A");
  TLineSeries* b = AddLine("B");
  auto* tool = AddTool<TDragMarksTool>();
  auto moveMarks = [&] {
    for (TChartSeries* s : {static_cast<TChartSeries*>(a), static_cast<TChartSeries*>(b)})
      s->Marks()->Positions()->EnsureAt(1)->Custom = true;
  };
  moveMarks();
  TCustomForm* f = Open(tool);
  auto* combo = Find<TComboBox>(f, "CBSeries");
  EXPECT_EQ(combo->Items()->Strings(0), "(all)");
  EXPECT_EQ(combo->ItemIndex(), 0);
  Find<TButton>(f, "Button1")->Click();
  EXPECT_FALSE(a->Marks()->Positions()->HasCustom());
  EXPECT_FALSE(b->Marks()->Positions()->HasCustom());
  // With a series chosen only that series' marks go back.
  moveMarks();
  combo->UserSelected(2);
  EXPECT_EQ(tool->Series(), b);
  Find<TButton>(f, "Button1")->Click();
  EXPECT_TRUE(a->Marks()->Positions()->HasCustom());
  EXPECT_FALSE(b->Marks()->Positions()->HasCustom());
  delete f;
}

TEST_F(AxisSeriesEditorTest, MarksTipEditorListsTheMarkStylesAndSetsTheDelay) {
  const int pause = Application->HintPause();
  auto* tip = AddTool<TMarksTipTool>();
  TCustomForm* f = Open(tip);
  auto* styles = Find<TComboBox>(f, "CBMarkStyle");
  ASSERT_EQ(styles->Items()->Count(), 10);
  EXPECT_EQ(styles->Items()->Strings(3), "Label and Percent");
  EXPECT_EQ(styles->ItemIndex(), static_cast<int>(smsLabel));
  EXPECT_EQ(Find<TComboBox>(f, "CBSeries")->Items()->Strings(0), "(all)");
  Find<TEdit>(f, "EDelay")->SetText("750");
  EXPECT_EQ(tip->MouseDelay(), 750);
  delete f;
  Application->SetHintPause(pause);
}

TEST_F(AxisSeriesEditorTest, ImageEditorBrowsesClearsAndSavesThePicture) {
  TTempDir temp;
  const std::string dir = temp.Path();
  {
    TBitmap bmp(6, 4);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(TRect{0, 0, 6, 4});
    bmp.SaveToFile(dir + "/picture.bmp");
  }
  auto* tool = AddTool<TChartImageTool>();
  TCustomForm* f = Open(tool);
  auto* button = Find<TButton>(f, "Button1");
  auto* save = Find<TButton>(f, "BSave");
  EXPECT_EQ(button->Caption(), "B&rowse...");
  EXPECT_FALSE(save->Enabled());
  {
    guitest::TCommonDialogResponder answer;
    answer.Do([&](TCommonDialog* d) {
      static_cast<TOpenDialog*>(d)->FileName = dir + "/picture.bmp";
      return true;
    });
    button->Click();
    EXPECT_EQ(answer.Count(), 1);
  }
  ASSERT_NE(tool->Picture()->Graphic(), nullptr);
  EXPECT_EQ(tool->Picture()->Width(), 6);
  EXPECT_EQ(button->Caption(), "Clea&r");
  EXPECT_TRUE(save->Enabled());
  EXPECT_EQ(Find<TImage>(f, "Image1")->Picture()->Width(), 6);
  {
    // The save dialog offers only the formats that write this graphic.
    guitest::TCommonDialogResponder answer;
    std::string filter;
    answer.Do([&](TCommonDialog* d) {
      auto* s = static_cast<TSaveDialog*>(d);
      filter = s->Filter;
      s->FileName = dir + "/saved.bmp";
      return true;
    });
    save->Click();
    EXPECT_NE(filter.find("*.bmp"), std::string::npos);
    EXPECT_EQ(filter.find("*.png"), std::string::npos);
    EXPECT_EQ(filter.find("*.jpg"), std::string::npos);
  }
  TPicture back;
  back.LoadFromFile(dir + "/saved.bmp");
  EXPECT_EQ(back.Width(), 6);
  button->Click();  // "Clear"
  EXPECT_TRUE(tool->Picture()->Graphic() == nullptr || tool->Picture()->Graphic()->Empty());
  EXPECT_EQ(button->Caption(), "B&rowse...");
  EXPECT_FALSE(save->Enabled());
  delete f;
  EXPECT_EQ(GraphicFilterOfClass("TPngImage").find("*.bmp"), std::string::npos);
}

TEST_F(AxisSeriesEditorTest, AnimationEditorStopsARunAndRefusesToCloseDuringIt) {
  TLineSeries* s = AddLine("Line");
  auto* anim = AddTool<TSeriesAnimationTool>();
  anim->SetSeries(s);
  anim->SetSteps(20);
  TCustomForm* f = Open(anim);
  auto* run = Find<TButton>(f, "Button1");
  ASSERT_TRUE(run->Enabled());
  int frames = 0;
  bool closeRefused = false;
  std::string captionDuringRun;
  TSeriesAnimationTool::ProcessMessagesHook = [&] {
    if (++frames != 3) return;
    captionDuringRun = run->Caption();
    bool canClose = true;
    f->OnCloseQuery(f, canClose);
    closeRefused = !canClose;
    run->Click();  // "Stop"
  };
  run->Click();
  TSeriesAnimationTool::ProcessMessagesHook = nullptr;
  EXPECT_EQ(captionDuringRun, "Stop");
  EXPECT_TRUE(closeRefused);
  EXPECT_LT(frames, 10);  // stopped, not run to its end
  EXPECT_FALSE(anim->IsAnimating());
  EXPECT_EQ(run->Caption(), "&Execute !");
  bool canClose = true;
  f->OnCloseQuery(f, canClose);
  EXPECT_TRUE(canClose);
  delete f;
}

TEST_F(AxisSeriesEditorTest, ExtraLegendEditorOpensTheLegendPageOnTheToolsLegend) {
  AddLine("Line");
  auto* tool = AddTool<TExtraLegendTool>();
  TCustomForm* f = Open(tool);
  TCustomChartLegend* edited = nullptr;
  guitest::TModalResponder answer;
  answer.Do([&](TCustomForm* dialog) {
    if (auto* page = dynamic_cast<TFormGrafLegend*>(dialog)) edited = page->EditedLegend;
    return mrOk;
  });
  Find<TButton>(f, "Button1")->Click();
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_EQ(edited, tool->Legend());
  delete f;
}

// Every tool type of the library, those of the chart core included: its
// editor form, named ignoring case, is registered and opens on it.
TEST_F(AxisSeriesEditorTest, EveryRegisteredToolOpensItsEditor) {
  AddLine("Line");
  TGrafToolTypes* types = ToolTypeRegistry();
  ASSERT_GT(types->Count(), 25);
  for (int i = 0; i < types->Count(); ++i) {
    TClass cls = types->ToolClassAt(i);
    SCOPED_TRACE(cls->Name());
    TGrafCustomTool* tool = AddTool(cls);
    ASSERT_NE(tool, nullptr);
    const std::string name = tool->EditorFormClassName();
    if (name.empty()) continue;
    TClass form = GetClass(Lower(name));
    ASSERT_NE(form, nullptr) << name;
    EXPECT_TRUE(form->InheritsFrom(&TCustomForm::StaticClass()));
    TCustomForm* f = nullptr;
    EXPECT_NO_THROW(f = Open(tool));
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->Visible());
    delete f;
  }
}
