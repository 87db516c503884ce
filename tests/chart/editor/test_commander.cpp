// The commander bar: which buttons a panel enables, and what drags on the
// chart do in each mode (pie explosion, zoom, rotation limits).
#include <gtest/gtest.h>

#include <memory>

#include "chart/editor/editortest.h"
#include "chart/editor/grafcomma.h"
#include "chart/series/series_pie.h"
#include "support/gui/guitest.h"

namespace {

class Commander : public ::testing::Test {
protected:
  void SetUp() override {
    editortest::EnsureEditor();
    chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, 400, 300);
    bar = std::make_unique<TGrafCommander>(nullptr);
  }
  void Draw() {
    TBitmap b(chart->Width(), chart->Height(), pf24bit);
    chart->DrawOnCanvas(b.Canvas(), Rect(0, 0, chart->Width(), chart->Height()));
  }
  void Send(TGrafMouseEventKind Kind, int X, int Y, TShiftState Shift = {}, TMouseButton Button = mbLeft) {
    chart->NotifyMouseListeners(Kind, Button, Shift, X, Y);
  }
  void Drag(int X0, int Y0, int X1, int Y1, TShiftState Shift = {}) {
    Send(pmeDown, X0, Y0, Shift);
    Send(pmeMove, X1, Y1, Shift);
    Send(pmeUp, X1, Y1, Shift);
  }
  // As a click on a mode button does.
  static void Press(TSpeedButton* b) {
    b->SetDown(true);
    b->Click();
  }
  std::unique_ptr<TChart> chart;
  std::unique_ptr<TGrafCommander> bar;
};

TEST_F(Commander, ThePanelDecidesWhichButtonsWork) {
  for (TSpeedButton* b : {bar->ButtonNormal(), bar->ButtonRotate(), bar->ButtonEdit(), bar->ButtonCopy()})
    EXPECT_FALSE(b->Enabled()) << b->Hint();
  // A plain chart panel: no depth, editor or saving.
  TCustomGrafPanel plain(nullptr);
  bar->SetPanel(&plain);
  EXPECT_TRUE(bar->ButtonRotate()->Enabled());
  EXPECT_TRUE(bar->ButtonPrint()->Enabled());
  EXPECT_FALSE(bar->ButtonDepth()->Enabled());
  EXPECT_FALSE(bar->ButtonEdit()->Enabled());
  EXPECT_FALSE(bar->ButtonSave()->Enabled());
  chart->SetView3D(false);
  bar->SetPanel(chart.get());
  EXPECT_TRUE(bar->ButtonDepth()->Enabled());
  EXPECT_TRUE(bar->ButtonEdit()->Enabled());
  EXPECT_FALSE(bar->Button3D()->Down());
  chart->SetView3D(true);  // heard through the chart's 3D event
  EXPECT_TRUE(bar->Button3D()->Down());
  chart.reset();
  EXPECT_EQ(bar->Panel(), nullptr);
  EXPECT_FALSE(bar->ButtonRotate()->Enabled());
}

TEST_F(Commander, DraggingASlice50PixelsOnARadius100PieExplodesIt35) {
  auto* pie = new TPieSeries(chart.get());
  pie->SetParentChart(chart.get());
  for (double v : {3.0, 2.0, 4.0}) pie->AddSingleValue(v);
  pie->SetCustomXRadius(100);
  pie->SetCustomYRadius(100);
  chart->SetView3D(false);
  bar->SetPanel(chart.get());
  Draw();
  ASSERT_EQ(pie->RadiusX, 100);
  ASSERT_EQ(pie->RadiusY, 100);
  int x = -1, y = -1;
  for (int dy = -60; dy <= 60 && x < 0; dy += 5)
    for (int dx = -60; dx <= 60 && x < 0; dx += 5)
      if (pie->IndexAtPoint(pie->RingCenterX + dx, pie->RingCenterY + dy) == 1) {
        x = pie->RingCenterX + dx;
        y = pie->RingCenterY + dy;
      }
  ASSERT_GE(x, 0);
  Send(pmeDown, x, y);
  EXPECT_EQ(bar->DragSlice(), 1);
  Send(pmeMove, x + 30, y + 40);  // 50 pixels from the press
  EXPECT_EQ(pie->ExplodePercents()->ItemValue(1), 35);
  EXPECT_EQ(bar->LabelText()->Caption(), "Slice: 1 Exploded: 35 %");
  Send(pmeMove, x + 300, y);  // never beyond 100
  EXPECT_EQ(pie->ExplodePercents()->ItemValue(1), 100);
  Send(pmeUp, x + 300, y);
  EXPECT_FALSE(bar->Dragging());
  EXPECT_EQ(pie->ExplodePercents()->ItemValue(0), 0);
  EXPECT_FALSE(chart->MouseCancelled);  // Normal mode leaves the chart its mouse
}

TEST_F(Commander, ZoomDragsChangeTheZoomByAtLeastOneAndNeverBelowOne) {
  bar->SetPanel(chart.get());
  Draw();
  Press(bar->ButtonZoom());
  EXPECT_EQ(bar->LabelText()->Caption(), "Drag Chart to Zoom");
  TView3DOptions* v = chart->View3DOptions();
  v->SetZoom(100);
  Drag(100, 100, 100, 99);  // one pixel up: a tiny change still adds one
  EXPECT_EQ(v->Zoom(), 101);
  EXPECT_TRUE(chart->MouseCancelled);  // the chart does not zoom itself meanwhile
  Drag(100, 100, 100, 130);
  const int smaller = v->Zoom();
  EXPECT_LT(smaller, 101);
  v->SetZoom(2);
  Drag(100, 0, 100, 299);
  EXPECT_EQ(v->Zoom(), 1);
  EXPECT_EQ(bar->LabelText()->Caption(), "Zoom: 1 %");
}

TEST_F(Commander, RotatingOnTheGdiCanvasKeepsTheElevationWithin270To360) {
  bar->SetPanel(chart.get());
  Draw();
  chart->SetView3D(false);
  Press(bar->ButtonRotate());
  TView3DOptions* v = chart->View3DOptions();
  v->SetElevation(345);
  Drag(100, 200, 100, 0);  // far up
  EXPECT_TRUE(chart->View3D());
  EXPECT_TRUE(bar->Button3D()->Down());
  EXPECT_FALSE(v->Orthogonal());
  EXPECT_GE(v->Elevation(), 270);
  EXPECT_LE(v->Elevation(), 360);
  v->SetElevation(280);
  Drag(100, 0, 100, 290);  // far down
  EXPECT_GE(v->Elevation(), 270);
  EXPECT_LE(v->Elevation(), 360);
  // A right-button drag in any mode but Normal moves the chart.
  const int h = v->HorizOffset();
  Send(pmeDown, 100, 100, {}, mbRight);
  Send(pmeMove, 120, 100);
  EXPECT_EQ(v->HorizOffset(), h + 20);
}

}  // namespace
