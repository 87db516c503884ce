// The series pointer editor as a series editor page and as a modal window:
// what it loads, the enabling rules, the colour boxes, Cancel of the modal
// window, and the style list drawn through its owner-drawn combo.
#include <gtest/gtest.h>

#include <memory>

#include "chart/core/golden.h"
#include "chart/editor/grafpoedi.h"
#include "chart/series/series.h"
#include "dialogtest.h"
#include "support/gui/guitest.h"

using dialogtest::Find;

namespace {

class PointerEditorTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(40, 40, 640, 420);
    Chart = new TChart(Host.get());
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 300, 200);
    Chart->SetView3D(false);
    Line = new TLineSeries(Host.get());
    Line->SetName("Line1");
    Line->SetParentChart(Chart);
    for (double y : {1.0, 3.0, 2.0}) Line->AddSingleValue(y);
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(310, 0, 320, 260);
    Host->Show();
  }
  void TearDown() override {
    Host.reset();
    EditorDialogTest::TearDown();
  }
  // The editor as the series page embeds a "Pointer" tab.
  TSeriesPointerEditor* Page(TObject* Element) {
    auto* form = new TSeriesPointerEditor(Host.get());
    EmbedEditorForm(form, Sheet, Element);
    return form;
  }

  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TLineSeries* Line = nullptr;
  TPanel* Sheet = nullptr;
};

TEST_F(PointerEditorTest, PageLoadsTheSeriesPointerAndEditsItInPlace) {
  TSeriesPointer* p = Line->Pointer();
  p->SetStyle(psTriangle);
  p->SetHorizSize(6);
  p->SetVertSize(3);
  Line->SetColorEachPoint(true);
  TSeriesPointerEditor* page = Page(Line);
  EXPECT_EQ(page->Pointer(), p);
  EXPECT_EQ(Find<TComboBox>(page, "CBStyle")->ItemIndex(), psTriangle);
  EXPECT_EQ(Find<TUpDown>(page, "UDPointHorizSize")->Position(), 6);
  EXPECT_EQ(Find<TUpDown>(page, "UDPointVertSize")->Position(), 3);
  auto* colorEach = Find<TCheckBox>(page, "CBColorEach");
  EXPECT_TRUE(colorEach->Visible());
  EXPECT_TRUE(colorEach->Checked());

  Find<TComboBox>(page, "CBStyle")->UserSelected(psDiamond);
  Find<TEdit>(page, "SEPointHorizSize")->SetText("9");
  Find<TEdit>(page, "SEPointVertSize")->SetText("8");
  colorEach->SetChecked(false);
  EXPECT_EQ(p->Style(), psDiamond);
  EXPECT_EQ(p->HorizSize(), 9);
  EXPECT_EQ(p->VertSize(), 8);
  EXPECT_FALSE(Line->ColorEachPoint());

  // Hiding the pointer disables what edits its look.
  Find<TCheckBox>(page, "CBDrawPoint")->SetChecked(false);
  EXPECT_FALSE(p->Visible());
  for (const char* name : {"CBStyle", "SEPointHorizSize", "UDPointVertSize", "BPointFillColor", "BPoinPenCol",
                           "CBDefBrushColor", "CBInflate", "CB3dPoint", "CBPoDark"})
    EXPECT_FALSE(Find<TControl>(page, name)->Enabled()) << name;
}

TEST_F(PointerEditorTest, ThreeDBoxesFollowTheChartAndTheStyle) {
  struct Case {
    bool View3D;
    TSeriesPointerStyle Style;
    bool Enabled;
  };
  const Case cases[] = {
      {false, psRectangle, false}, {false, psTriangle, false}, {false, psCircle, false},
      {true, psRectangle, true},   {true, psTriangle, true},   {true, psDownTriangle, true},
      {true, psCircle, false},     {true, psStar, false},
  };
  TSeriesPointerEditor* page = Page(Line);
  auto* box3D = Find<TCheckBox>(page, "CB3dPoint");
  auto* dark = Find<TCheckBox>(page, "CBPoDark");
  box3D->SetChecked(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.View3D ? "3D " : "2D ") + std::to_string(c.Style));
    Chart->SetView3D(c.View3D);
    Find<TComboBox>(page, "CBStyle")->UserSelected(c.Style);
    EXPECT_EQ(box3D->Enabled(), c.Enabled);
    EXPECT_EQ(dark->Enabled(), c.Enabled);
  }
  // "Dark 3D" needs the 3D box ticked.
  box3D->SetChecked(false);
  EXPECT_FALSE(Line->Pointer()->Draw3D());
  EXPECT_FALSE(dark->Enabled());
}

TEST_F(PointerEditorTest, PointerTagHidesColourEachAndFixedSizesHideTheSizeControls) {
  TSeriesPointer pointer(nullptr);
  pointer.SizeAdjustable = false;
  TSeriesPointerEditor* page = Page(&pointer);
  EXPECT_EQ(page->Pointer(), &pointer);
  EXPECT_FALSE(Find<TControl>(page, "CBColorEach")->Visible());
  for (const char* name : {"Label1", "SEPointHorizSize", "UDPointHorizSize", "Label2", "SEPointVertSize",
                           "UDPointVertSize"})
    EXPECT_FALSE(Find<TControl>(page, name)->Visible()) << name;
}

TEST_F(PointerEditorTest, DefaultColourBoxFollowsBrushAndBorder) {
  TSeriesPointer* p = Line->Pointer();
  p->Brush()->SetColor(clDefault);
  p->Pen()->SetColor(clDefault);
  TSeriesPointerEditor* page = Page(Line);
  auto* box = Find<TCheckBox>(page, "CBDefBrushColor");
  EXPECT_TRUE(box->Checked());
  // Unticking gives the border a colour of its own; the brush stays default.
  box->SetChecked(false);
  EXPECT_EQ(p->Pen()->Color(), clBlack);
  EXPECT_EQ(p->Brush()->Color(), clDefault);
  p->Brush()->SetColor(clRed);
  box->SetChecked(true);
  EXPECT_EQ(p->Brush()->Color(), clDefault);
  EXPECT_EQ(p->Pen()->Color(), clDefault);
}

TEST_F(PointerEditorTest, ModalWindowCancelPutsBackStyleSizesAndColours) {
  TSeriesPointer* p = Line->Pointer();
  p->SetStyle(psRectangle);
  p->SetHorizSize(4);
  p->SetVertSize(5);
  p->Brush()->SetColor(clGreen);
  p->Pen()->SetColor(clNavy);
  auto change = [&](TCustomForm* f) {
    EXPECT_EQ(f->Caption(), "Pointer");
    EXPECT_TRUE(Find<TControl>(f, "PanelBottom")->Visible());
    EXPECT_FALSE(Find<TControl>(f, "CBInflate")->Visible());
    EXPECT_FALSE(Find<TControl>(f, "CBColorEach")->Visible());
    Find<TComboBox>(f, "CBStyle")->UserSelected(psStar);
    Find<TEdit>(f, "SEPointHorizSize")->SetText("11");
    Find<TEdit>(f, "SEPointVertSize")->SetText("12");
    Find<TCheckBox>(f, "CBDefBrushColor")->SetChecked(true);
    EXPECT_EQ(p->Style(), psStar);  // live while the window is open
    EXPECT_EQ(p->Brush()->Color(), clDefault);
  };
  {
    guitest::TModalResponder modal;
    modal.Do([&](TCustomForm* f) {
      change(f);
      return mrCancel;
    });
    EXPECT_TRUE(RunPointerEditor(Host.get(), p));
    EXPECT_EQ(modal.Count(), 1);
  }
  EXPECT_EQ(p->Style(), psRectangle);
  EXPECT_EQ(p->HorizSize(), 4);
  EXPECT_EQ(p->VertSize(), 5);
  EXPECT_EQ(p->Brush()->Color(), clGreen);
  EXPECT_EQ(p->Pen()->Color(), clNavy);

  // "Close" keeps the changes.
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    change(f);
    Find<TButton>(f, "Button1")->Click();
    return f->ModalResult();
  });
  RunPointerEditor(Host.get(), p);
  EXPECT_EQ(p->Style(), psStar);
  EXPECT_EQ(p->HorizSize(), 11);
  EXPECT_EQ(p->VertSize(), 12);
  EXPECT_EQ(p->Brush()->Color(), clDefault);
}

TEST_F(PointerEditorTest, StyleListIsDrawnWithEachShape) {
  TSeriesPointer* p = Line->Pointer();
  p->Brush()->SetColor(clRed);
  // Without a border the line-only shapes still show, in the pointer colour.
  p->Pen()->SetVisible(false);
  TSeriesPointerEditor* page = Page(Line);
  auto* combo = Find<TComboBox>(page, "CBStyle");
  combo->SetItemIndex(-1);
  combo->SetDroppedDown(true);
  guitest::ProcessEvents();
  TBitmap list;
  ASSERT_TRUE(guitest::DroppedListPicture(combo, list));
  EXPECT_EQ(list.Height(), 12 * 16);
  ExpectMatchesGoldenIn("tests/chart/editor/golden", list, "pointer_styles.png");
  combo->SetDroppedDown(false);
}

}  // namespace
