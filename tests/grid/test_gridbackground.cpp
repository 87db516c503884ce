// The grid background: a tiled picture that scrolls with the cells, a
// gradient across the grid, and the empty area beyond the last row, with
// cells of their own colour, check boxes and the selection.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

namespace {

class BackgroundFixture : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 500, 300);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetScrollBars(ssNone);
    Grid->SetColCount(6);
    Grid->SetRowCount(5);
    Grid->SetBounds(0, 0, 400, 200);
    Grid->SetColor(clWhite);
    Grid->SetFixedColor(clSilver);
    Grid->SetLook(glStandard);
    for (int c = 0; c < 6; ++c) Grid->SetColWidths(c, 90);
    // Each pixel of the picture tells where in it it lies.
    Picture.SetSize(8, 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) Picture.Canvas()->SetPixels(x, y, static_cast<TColor>(x * 30 | (y * 40) << 8 | 0x500000));
  }
  void TearDown() override {
    delete Form;
    guitest::ProcessEvents();
  }
  void Paint() { Grid->Repaint(); }
  TColor PixelAt(int x, int y) { return Grid->Canvas()->Pixels(x, y); }
  static TColor RGB(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }
  std::vector<TColor> Region(const TRect& r) {
    std::vector<TColor> v;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) v.push_back(PixelAt(x, y));
    return v;
  }
  // The inside of a cell, clear of its grid lines.
  TRect Inside(int c, int r) {
    const TRect R = Grid->GetCellRect(c, r);
    return Rect(R.Left + 1, R.Top + 1, R.Right - 2, R.Bottom - 2);
  }
  // The tile pixel a normal cell shows at (x, y): tiles run on from the first
  // normal cell, column widths and row heights counted without grid lines.
  TColor TileAt(int c, int r, int x, int y) {
    int ox = 0, oy = 0;
    for (int i = Grid->FixedCols(); i < c; ++i) ox += Grid->ColWidths(i);
    for (int i = Grid->FixedRows(); i < r; ++i) oy += Grid->RowHeights(i);
    const TRect R = Grid->GetCellRect(c, r);
    return Picture.Canvas()->Pixels((x - R.Left + ox) % 8, (y - R.Top + oy) % 6);
  }
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
  TBitmap Picture;
};

TEST_F(BackgroundFixture, TiledPictureScrollsWithTheCellsButNotInTheEmptyArea) {
  Grid->BackGround()->SetBitmap(&Picture);
  Grid->SetCells(2, 2, "");
  Paint();
  for (const auto& [c, r] : {std::pair{2, 1}, {3, 2}, {4, 3}}) {  // (1, 1) is the selected current cell
    const TRect in = Inside(c, r);
    for (int y = in.Top + 1; y < in.Bottom; y += 3)
      for (int x = in.Left + 1; x < std::min(in.Right, Grid->ClientWidth()); x += 7)
        ASSERT_EQ(PixelAt(x, y), TileAt(c, r, x, y)) << "cell " << c << "," << r << " at " << x << "," << y;
  }
  EXPECT_EQ(PixelAt(Inside(0, 2).Left + 3, Inside(0, 2).Top + 3), RGB(clSilver)) << "fixed cells: no picture";

  const TRect below = Rect(Inside(0, 4).Left, Grid->GetCellRect(0, 4).Bottom + 2, 380, 195);
  const auto emptyBefore = Region(below);
  const auto cellBefore = Region(Inside(3, 2));
  Grid->SetLeftCol(2);
  Paint();
  EXPECT_EQ(Region(Inside(3, 2)), cellBefore) << "the picture moved with its cell";
  EXPECT_EQ(Region(below), emptyBefore) << "the empty area's tiles stay with the client area";
  bool tiled = false;
  for (TColor p : emptyBefore) tiled |= p != RGB(clWhite);
  EXPECT_TRUE(tiled) << "the empty area below the last row is tiled";
}

TEST_F(BackgroundFixture, OwnColoursAndTheSelectionHideThePicture) {
  Grid->BackGround()->SetBitmap(&Picture);
  Grid->GetCellProperties(2, 2)->SetBrushColor(clLime);
  Grid->SetSelection(TGridRect{3, 3, 3, 3});
  Paint();
  for (TColor p : Region(Inside(2, 2))) ASSERT_EQ(p, RGB(clLime));
  const TRect sel = Inside(3, 3);
  EXPECT_EQ(PixelAt(sel.Right - 3, sel.Bottom - 3), RGB(Grid->SelectionColor()));
  EXPECT_EQ(PixelAt(Inside(4, 3).Left + 4, Inside(4, 3).Top + 4), TileAt(4, 3, Inside(4, 3).Left + 4, Inside(4, 3).Top + 4));
}

TEST_F(BackgroundFixture, GradientAcrossTheGridAndOffWithoutItsEndColour) {
  Paint();
  const auto plain = Region(Rect(0, 0, 400, 200));
  Grid->BackGround()->SetDisplay(bdGradientHorz);
  Grid->BackGround()->SetColor(clRed);
  Grid->BackGround()->SetColorTo(clNone);
  Paint();
  EXPECT_EQ(Region(Rect(0, 0, 400, 200)), plain) << "no end colour: no background anywhere";

  Grid->BackGround()->SetColorTo(clBlue);
  Grid->GetCellProperties(2, 1)->SetBrushColor(clLime);
  Grid->AddCellCheckBox(3, 1, false, false);
  Grid->GetCellProperties(3, 1)->SetBrushColor(clLime);
  Paint();
  // A cell takes the part of the gradient over the grid's width where it stands.
  const TRect c1 = Grid->GetCellRect(1, 2);
  const TRect inner = Rect(c1.Left + 1, c1.Top + 1, c1.Right - 1, c1.Bottom - 1);
  TBitmap ref;
  ref.SetSize(inner.Width(), inner.Height());
  const TColor from = GradientColorAt(clRed, clBlue, 0, inner.Left, Grid->Width());
  const TColor to = GradientColorAt(clRed, clBlue, 0, inner.Right, Grid->Width());
  ref.Canvas()->Brush()->SetColor(to);
  ref.Canvas()->FillRect(Rect(0, 0, inner.Width(), inner.Height()));
  FillGradientRect(ref.Canvas(), from, to, true, Rect(0, 0, inner.Width() - 1, inner.Height()), 128);
  for (int y = 2; y < inner.Height() - 2; y += 5)
    for (int x = 1; x < inner.Width() - 2; x += 9)
      ASSERT_EQ(PixelAt(inner.Left + x, inner.Top + y), ref.Canvas()->Pixels(x, y)) << x << "," << y;
  const TRect own = Inside(2, 1), check = Inside(3, 1);
  EXPECT_EQ(PixelAt(own.Right - 3, own.Bottom - 3), RGB(clLime)) << "own colour, no gradient";
  EXPECT_NE(PixelAt(check.Right - 3, check.Bottom - 3), RGB(clLime)) << "a check-box cell shows the gradient";

  // The empty area below the last row: the gradient over the whole client area.
  const int y = Grid->GetCellRect(0, 4).Bottom + 10;
  for (int x : {5, 150, 390})
    EXPECT_EQ(PixelAt(x, y), [&] {
      TBitmap full;
      full.SetSize(400, 200);
      FillGradientRect(full.Canvas(), clRed, clBlue, true, Grid->ClientRect(), 128);
      return full.Canvas()->Pixels(x, y);
    }()) << x;
}

}  // namespace
