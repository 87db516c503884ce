#include "app/watchwindow.h"

#include <gtest/gtest.h>

#include "grid/plusgrid.h"
#include "support/gui/guitest.h"

namespace {

TEST(WatchWindow, ValuesAreColouredByTheirShiftAndError) {
  TFormWatch form(nullptr);
  // Description, value before, value after, error, colour after the second filling.
  struct Case {
    const char* Name;
    double Before, After, Error;
    TColor Colour;
  } cases[] = {
      {"moved less than its error", 1.0, 1.04, 0.05, clBlack},
      {"moved more than its error", 1.0, 1.2, 0.05, clRed},
      {"error larger than the value, not moved", 0.01, 0.01, 0.5, clBlue},
      {"error larger than the value and moved", 0.01, 0.2, 0.5, clBlue},
      {"negative value moved within its error", -3.0, -3.01, 0.02, clBlack},
  };
  const int n = static_cast<int>(std::size(cases));
  form.SetParameterCount(n);
  EXPECT_EQ(form.asGrid->RowCount(), n + 1);
  for (int i = 1; i <= n; ++i) form.SetParameterRow(i, cases[i - 1].Name, cases[i - 1].Before, cases[i - 1].Error);
  for (int i = 1; i <= n; ++i) form.SetParameterRow(i, cases[i - 1].Name, cases[i - 1].After, cases[i - 1].Error);
  for (int i = 1; i <= n; ++i) {
    EXPECT_EQ(form.CellFontColor(i, 1), cases[i - 1].Colour) << cases[i - 1].Name;
    EXPECT_EQ(form.asGrid->Cells(4, i), TFormWatch::ValueText(cases[i - 1].Before));
  }
  // Only the value column is coloured.
  EXPECT_EQ(form.CellFontColor(2, 2), clWindowText);
  EXPECT_EQ(form.CellFontColor(0, 1), clWindowText);
}

TEST(WatchWindow, FirstFillingComparesWithAnEmptyPreviousValue) {
  TFormWatch form(nullptr);
  form.SetParameterCount(2);
  form.SetParameterRow(1, "H  1: Zero", 0.5, 0.01);
  form.SetParameterRow(2, "P  1: a", 0.001, 0.01);
  EXPECT_EQ(form.asGrid->Cells(4, 1), "");
  EXPECT_EQ(form.CellFontColor(1, 1), clRed);
  EXPECT_EQ(form.CellFontColor(2, 1), clBlue);
  // Text that is no number counts as 0 as well.
  form.asGrid->SetCells(4, 1, "n/a");
  EXPECT_EQ(form.CellFontColor(1, 1), clRed);
}

TEST(WatchWindow, ShowingSetsHeadersColumnsAndKeepsTheHeightInsideItsLimits) {
  TFormWatch form(nullptr);
  form.SetParameterCount(40);
  form.Show();
  EXPECT_EQ(form.asGrid->Cells(0, 0), "Parameter");
  EXPECT_EQ(form.asGrid->Cells(1, 0), "Value");
  EXPECT_EQ(form.asGrid->Cells(2, 0), "Error");
  const int widths[] = {125, 75, 75, 0, 0};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(form.asGrid->ColWidths(c), widths[c]);
  const int key = form.GroupBox1->Height();
  EXPECT_EQ(form.MaximumHeight(), 21 * 42 + key + 40);
  EXPECT_EQ(form.MinimumHeight(), key + 40);
  form.SetHeight(5000);
  EXPECT_EQ(form.Height(), form.MaximumHeight());
  form.SetHeight(10);
  EXPECT_EQ(form.Height(), form.MinimumHeight());
  EXPECT_EQ(form.Width(), 310);

  // A size outside the limits is kept inside before the window changes: the
  // refinement window sets the width every cycle, and the window must not
  // go there and back each time.
  int resized = 0;
  form.OnResize = [&](TObject*) { ++resized; };
  for (int width : {313, 200, 310}) {
    form.SetWidth(width);
    EXPECT_EQ(form.Width(), 310) << width;
  }
  EXPECT_EQ(resized, 0);
  form.SetHeight(form.MinimumHeight() + 21);
  EXPECT_EQ(resized, 1);
}

}  // namespace

namespace {

TEST(WatchWindow, TheGridPaintsAValueInItsColour) {
  TFormWatch form(nullptr);
  form.SetParameterCount(2);
  form.SetParameterRow(1, "moved", 1.0, 0.01);
  form.SetParameterRow(1, "moved", 2.0, 0.01);
  form.SetParameterRow(2, "tiny", 0.001, 0.5);
  form.Show();
  auto count = [&](int row, TColor colour) {
    const TRect r = form.asGrid->CellRect(1, row);
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += guitest::SurfacePixel(form.asGrid, x, y) == ColorToRGB(colour);
    return n;
  };
  EXPECT_GT(count(1, clRed), 0);
  EXPECT_EQ(count(1, clBlue), 0);
  EXPECT_GT(count(2, clBlue), 0);
  EXPECT_EQ(count(2, clRed), 0);
}

}  // namespace
