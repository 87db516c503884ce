// The chart as the window system shows it: a chart of colour clNone lets its
// parent show where it paints nothing, buffered or not.
#include <gtest/gtest.h>

#include "chart/core/chart.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

TEST(ChartWindow, ColourNoneShowsTheParent) {
  for (bool buffered : {true, false}) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 320);
    form->SetColor(clRed);
    auto* chart = new TChart(form.get());
    chart->SetParent(form.get());
    chart->SetBounds(10, 10, 400, 250);
    chart->SetBufferedDisplay(buffered);
    chart->SetColor(clWhite);
    form->Show();
    // Inside the frame, clear of the axes: the chart's own background.
    EXPECT_EQ(ShownPixel(chart, 5, 5), clWhite) << "buffered " << buffered;
    chart->SetColor(clNone);
    EXPECT_TRUE(chart->ControlStyle().Contains(csParentBackground));
    chart->Repaint();
    EXPECT_EQ(ShownPixel(chart, 5, 5), clRed) << "buffered " << buffered;
    EXPECT_EQ(ShownPixel(chart, 0, 0), static_cast<TColor>(ColorToRGB(clBtnHighlight)));  // the bevel still draws
    chart->SetColor(clYellow);
    EXPECT_FALSE(chart->ControlStyle().Contains(csParentBackground));
    chart->Repaint();
    EXPECT_EQ(ShownPixel(chart, 5, 5), clYellow) << "buffered " << buffered;
    form.reset();
    ProcessEvents();
  }
}

}  // namespace
