// Cell graphics as painted: the room each kind asks for, where it lands in
// the cell beside its text, what the progress and comment kinds draw, and
// the node glyphs and tree lines of column 0. Rendered offscreen and compared
// pixel for pixel with the drawing routine the cell should have used.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/gridprogress.h"
#include "grid/support/plusobj.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/forms.h"
#include "platform/ui/imglist.h"
#include "support/gui/guitest.h"

namespace {

// A grid whose rows carry nodes (the node operations are not needed to paint them).
class TNodeGrid : public TPlusStringGrid {
public:
  using TPlusStringGrid::TPlusStringGrid;
  bool HasNodes() override { return Nodes; }
  bool Nodes = false;
};

class GraphicsFixture : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 500, 300);
    Grid = new TNodeGrid(Form);
    Grid->SetParent(Form);
    Grid->SetScrollBars(ssNone);
    Grid->SetColCount(4);
    Grid->SetRowCount(6);
    Grid->SetBounds(0, 0, 400, 200);
    Grid->SetColor(clWhite);
    Grid->SetFixedColor(clSilver);
    Grid->SetLook(glStandard);
    Grid->SetColWidths(1, 100);
    Grid->SetColWidths(2, 100);
  }
  void TearDown() override {
    delete Form;
    guitest::ProcessEvents();
  }
  void Paint() { Grid->Repaint(); }
  static TColor RGB(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }
  TColor PixelAt(int x, int y) { return Grid->Canvas()->Pixels(x, y); }
  std::vector<TColor> Region(TCanvas* c, const TRect& r) {
    std::vector<TColor> v;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) v.push_back(c->Pixels(x, y));
    return v;
  }
  // What a drawing routine puts into a W x H area on the cell's background.
  template <class F>
  std::vector<TColor> Reference(int w, int h, TColor background, F draw) {
    TBitmap bmp;
    bmp.SetSize(w, h);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(background);
    c->FillRect(Rect(0, 0, w, h));
    c->Font()->Assign(Grid->Font());
    draw(c);
    return Region(c, Rect(0, 0, w, h));
  }
  // Leftmost and rightmost column holding colour c inside r; -1 when none.
  std::pair<int, int> InkSpan(const TRect& r, TColor c) {
    int lo = -1, hi = -1;
    for (int x = r.Left; x < r.Right; ++x)
      for (int y = r.Top; y < r.Bottom; ++y)
        if (PixelAt(x, y) == c) {
          if (lo < 0) lo = x;
          hi = x;
          break;
        }
    return {lo, hi};
  }
  TForm* Form = nullptr;
  TNodeGrid* Grid = nullptr;
};

// ---------------------------------------------------------------------------
// Extents

TEST_F(GraphicsFixture, GraphicSizeFollowsKindTextAndAlignment) {
  TCustomImageList images(nullptr);
  images.SetWidth(16);
  images.SetHeight(16);
  const int gh = Grid->Canvas()->TextHeight("gh");

  // Stacked radio group of three options: three lines, at least 12 wide.
  TCellGraphic* radio = Grid->CreateCellGraphic(1, 1);
  radio->CellType = ctRadio;
  auto* options = new TStringList();
  for (const char* o : {"", "", ""}) options->Add(o);
  radio->CellContent = options;
  radio->CellCreated = true;
  EXPECT_EQ(Grid->GetCellGraphicSize(1, 1).Y, 3 * gh);
  EXPECT_EQ(Grid->GetCellGraphicSize(1, 1).X, 12);
  options->SetStrings(1, "longer option");
  EXPECT_EQ(Grid->GetCellGraphicSize(1, 1).X, Grid->Canvas()->TextWidth("longer option") + 12);

  // A bitmap next to text in a left-aligned cell leaves the width to the text.
  TCellGraphic* bmp = Grid->CreateCellGraphic(2, 1);
  bmp->CellType = ctBitmap;
  auto* b = new TBitmap();
  b->SetSize(20, 10);
  bmp->CellContent = b;
  bmp->CellCreated = true;
  Grid->SetCellText(2, 1, "text");
  EXPECT_EQ(Grid->GetCellGraphicSize(2, 1).X, 0);
  bmp->CellHAlign = haBeforeText;
  EXPECT_EQ(Grid->GetCellGraphicSize(2, 1).X, 20);
  Grid->SetCellText(2, 1, "");
  bmp->CellHAlign = haLeft;
  EXPECT_EQ(Grid->GetCellGraphicSize(2, 1).X, 20) << "no text: the bitmap's own size";
  EXPECT_EQ(Grid->GetCellGraphicSize(2, 1).Y, 10);
  bmp->CellHAlign = haFull;
  EXPECT_EQ(Grid->GetCellGraphicSize(2, 1).X, Grid->GetMergedCellRect(2, 1).Width());

  // Images side by side: count x width, but nothing without an image list.
  TCellGraphic* imgs = Grid->CreateCellGraphic(1, 2);
  imgs->CellType = ctImages;
  imgs->CellBoolean = true;
  auto* list = new TIntList(1, 2);
  for (int i : {0, 1, 2}) list->AddValue(i);
  imgs->CellContent = list;
  imgs->CellCreated = true;
  EXPECT_EQ(Grid->GetCellGraphicSize(1, 2).X, 0);
  EXPECT_EQ(Grid->GetCellGraphicSize(1, 2).Y, 0);
  Grid->SetGridImages(&images);
  EXPECT_EQ(Grid->GetCellGraphicSize(1, 2).X, 48);
  EXPECT_EQ(Grid->GetCellGraphicLayout(1, 2).W, 48);
  EXPECT_EQ(Grid->GetCellImages(1, 2), list);
  EXPECT_EQ(Grid->GetCellImages(1, 1), nullptr);

  // A button centred over text takes no width and, beside it, no height.
  TCellGraphic* btn = Grid->CreateCellGraphic(2, 2);
  btn->CellType = ctButton;
  btn->CellIndex = 40 | 18 << 16;
  btn->CellHAlign = haCenter;
  Grid->SetCellText(2, 2, "x");
  EXPECT_EQ(Grid->GetCellGraphicSize(2, 2).X, 0);
  EXPECT_EQ(Grid->GetCellGraphicSize(2, 2).Y, 0);
  EXPECT_EQ(Grid->GetCellGraphicLayout(2, 2).W, 40) << "the painter still places the whole button";
  EXPECT_EQ(Grid->GetCellGraphicLayout(2, 2).H, 18);
  EXPECT_EQ(Grid->GetCellGraphicSizeScaled(2, 2, 2.0, 100, 20).X, 40);

  // A picture of 100 x 50 scaled to fit (mode 2) a 60 x 60 cell is drawn 60 x 30.
  Grid->SetColWidths(3, 60);
  Grid->SetRowHeights(3, 60);
  TCellGraphic* pic = Grid->CreateCellGraphic(3, 3);
  pic->CellType = ctPicture;
  auto* picture = new TPicture();
  TBitmap source;
  source.SetSize(100, 50);
  picture->SetGraphic(&source);
  pic->CellContent = picture;
  pic->CellCreated = true;
  pic->CellAngle = 2;
  const TRect cell = Grid->GetMergedCellRect(3, 3);
  const TPoint drawn = pic->GetPictureSize(cell.Width(), cell.Height());
  EXPECT_EQ(Grid->GetCellGraphicLayout(3, 3).W, drawn.X);
  EXPECT_EQ(Grid->GetCellGraphicLayout(3, 3).H, drawn.Y);
  EXPECT_EQ(drawn.Y * 2, drawn.X);

  Grid->AddCellCheckBox(3, 1, true, false);
  EXPECT_EQ(Grid->GetCellGraphicValue(3, 1), -1);
  EXPECT_EQ(Grid->GetCellGraphicSize(3, 1).X, Grid->ControlLook()->CheckSize());
  TCellGraphic* il = Grid->CreateCellGraphic(3, 2);
  il->CellType = ctImageList;
  il->CellIndex = 7;
  EXPECT_EQ(Grid->GetCellGraphicValue(3, 2), 7);
  Grid->SetGridImages(nullptr);
}

TEST_F(GraphicsFixture, LayoutSaysWhichKindsHideTheText) {
  struct Case {
    TCellType kind;
    bool textShown;
  };
  const Case cases[] = {{ctCheckBox, true},     {ctDataCheckBox, false}, {ctVirtCheckBox, false},
                        {ctRotated, false},     {ctRadio, false},        {ctProgress, false},
                        {ctRangeIndicator, false}, {ctXPProgress, false}, {ctComment, true},
                        {ctProgressPie, true},  {ctNone, true},          {ctDataImage, true}};
  for (const Case& c : cases) {
    TCellGraphic* g = Grid->CreateCellGraphic(1, 1);
    g->CellType = c.kind;
    EXPECT_EQ(Grid->GetCellGraphicLayout(1, 1).ShowText, c.textShown) << c.kind;
  }
  TCustomImageList images(nullptr);
  Grid->SetGridImages(&images);
  EXPECT_FALSE(Grid->GetCellGraphicLayout(1, 1).ShowText) << "a data image with its list replaces the text";
  Grid->SetGridImages(nullptr);
  Grid->RemoveCellGraphic(1, 1);
  EXPECT_TRUE(Grid->GetCellGraphicLayout(1, 1).ShowText);
  EXPECT_EQ(Grid->GetCellGraphicLayout(1, 1).Graphic, nullptr);
}

// ---------------------------------------------------------------------------
// Painting

TEST_F(GraphicsFixture, CheckBoxSitsBeforeTheTextOrAtTheRightEdge) {
  Grid->ControlLook()->SetControlStyle(csWinXP);
  const int s = Grid->ControlLook()->CheckSize();
  Grid->SetCellText(1, 2, "Yes");
  Grid->AddCellCheckBox(1, 2, true, false);
  Paint();
  // The cell's rectangle less one pixel, then one more: the box at (left + 2, top + 2).
  const TRect cell = Grid->GetMergedCellRect(1, 2);
  const TRect box = Rect(cell.Left + 2, cell.Top + 2, cell.Left + 2 + s, cell.Top + 2 + s);
  const auto expected = Reference(s, s, RGB(clWhite), [&](TCanvas* c) {
    Grid->DrawCellCheckBox(c, Rect(0, 0, s, s), true, true);
  });
  EXPECT_EQ(Region(Grid->Canvas(), box), expected);
  // The text starts after the box.
  const auto text = InkSpan(Rect(box.Right, cell.Top, cell.Right - 1, cell.Bottom - 1), RGB(clBlack));
  EXPECT_GE(text.first, box.Right);

  // Right-aligned text: an own check box stands left of the text, a data
  // check box (no text shown) at the cell's right edge.
  Grid->OnGetAlignment = [](TObject*, int, int, TAlignment& h, TVAlignment&) { h = taRightJustify; };
  Grid->SetCellText(2, 3, "Yes");
  Grid->AddCellCheckBox(2, 3, true, false);
  Grid->SetCellText(2, 4, "Y");
  Grid->AddCellCheckBox(2, 4, false, true);
  Paint();
  const TRect c3 = Grid->GetMergedCellRect(2, 3), c4 = Grid->GetMergedCellRect(2, 4);
  const auto ink = InkSpan(Rect(c3.Left + 1, c3.Top + 1, c3.Right - 1, c3.Bottom - 1), RGB(clBlack));
  const int boxRight = c3.Right - 1 - 1 - Grid->Canvas()->TextWidth("Yes") - 2;
  EXPECT_EQ(Region(Grid->Canvas(), Rect(boxRight - s, c3.Top + 2, boxRight, c3.Top + 2 + s)), expected);
  EXPECT_GE(ink.first, boxRight) << "the text lies right of the box";
  const TRect dataBox = Rect(c4.Right - 2 - s, c4.Top + 2, c4.Right - 2, c4.Top + 2 + s);
  EXPECT_EQ(Region(Grid->Canvas(), dataBox), expected) << "data check box: checked by its text, at the right";
}

TEST_F(GraphicsFixture, CommentMarkerNeedsTheLookColour) {
  TCellGraphic* g = Grid->CreateCellGraphic(2, 2);
  g->CellType = ctComment;
  g->CellText = "note";
  g->CellAngle = static_cast<int>(clLime);
  Paint();
  const TRect cell = Grid->GetMergedCellRect(2, 2);
  // Inside the triangle (right - 7, top + 1), (right - 2, top + 1), (right - 2, top + 6) of the inset cell.
  const int x = cell.Right - 1 - 3, y = cell.Top + 1 + 2;
  EXPECT_EQ(PixelAt(x, y), RGB(clLime)) << "the comment's own colour";
  EXPECT_EQ(PixelAt(cell.Right - 1 - 6, cell.Top + 1 + 5), RGB(clWhite)) << "below the diagonal";
  g->CellAngle = static_cast<int>(clNone);
  Paint();
  EXPECT_EQ(PixelAt(x, y), RGB(clRed)) << "ControlLook.CommentColor";
  Grid->ControlLook()->SetCommentColor(clNone);
  g->CellAngle = static_cast<int>(clLime);
  Paint();
  EXPECT_EQ(PixelAt(x, y), RGB(clWhite)) << "no look colour: no marker at all";
}

TEST_F(GraphicsFixture, StyledProgressShowsItsShareOfTheRangeAndNeverRaises) {
  Grid->SetRowHeights(2, 24);
  TCellGraphic* g = Grid->CreateCellGraphic(2, 2);
  g->CellType = ctXPProgress;
  g->CellErrFrom = 0;
  g->CellErrLen = 200;
  Grid->SetCellText(2, 2, "50");
  Paint();
  const TRect cell = Grid->GetMergedCellRect(2, 2);
  const int mx = Grid->ControlLook()->ProgressMarginX(), my = Grid->ControlLook()->ProgressMarginY();
  const TRect bar = Rect(cell.Left + mx, cell.Top + my, cell.Right - mx - 1, cell.Bottom - my - 1);
  const auto drawn = Region(Grid->Canvas(), bar);
  TFont font;
  font.Assign(Grid->Font());
  const auto quarter = Reference(bar.Width(), bar.Height(), RGB(clWhite), [&](TCanvas* c) {
    DrawStyledProgressBar(c, Rect(0, 0, bar.Width(), bar.Height()), 25,
                          Grid->ProgressAppearance()->Settings(c->Font(), Grid->Color()));
  });
  EXPECT_EQ(drawn, quarter) << "50 of 0..200 is 25 percent";

  // Text that is no number draws as 0; a zero range draws nothing.
  Grid->SetCellText(2, 2, "abc");
  EXPECT_NO_THROW(Paint());
  const auto zero = Reference(bar.Width(), bar.Height(), RGB(clWhite), [&](TCanvas* c) {
    DrawStyledProgressBar(c, Rect(0, 0, bar.Width(), bar.Height()), 0,
                          Grid->ProgressAppearance()->Settings(c->Font(), Grid->Color()));
  });
  EXPECT_EQ(Region(Grid->Canvas(), bar), zero);
  g->CellErrLen = 0;
  Paint();
  const auto blank = Region(Grid->Canvas(), bar);
  for (TColor p : blank) ASSERT_EQ(p, RGB(clWhite)) << "zero range: the cell stays empty";

  // The same for the plain progress bar and the range bar.
  g->CellType = ctProgress;
  EXPECT_NO_THROW(Paint());
  const TRect inside = Rect(cell.Left + 1, cell.Top + 1, cell.Right - 2, cell.Bottom - 2);
  for (TColor p : Region(Grid->Canvas(), inside)) ASSERT_EQ(p, RGB(clWhite)) << "progress bar over a zero range: nothing";
  g->CellErrLen = 100;
  Paint();
  bool ink = false;
  for (TColor p : Region(Grid->Canvas(), inside)) ink |= p != RGB(clWhite);
  EXPECT_TRUE(ink) << "a text that is no number draws the bar at 0";
  g->CellType = ctRangeIndicator;
  g->CellIndex = 0;
  EXPECT_NO_THROW(Paint());
}

TEST_F(GraphicsFixture, NodeGlyphShowsItsStateAndTreeLinesJoinTheChildren) {
  Grid->Nodes = true;
  Grid->SetColWidths(0, 60);
  Grid->SetFixedColor(clWhite);
  TCellNode* cn = Grid->CellNode();
  cn->SetNodeType(cnFlat);
  cn->SetNodeColor(clBlue);
  cn->SetColor(clYellow);
  cn->SetTreeColor(clRed);
  cn->SetShowTreeFull(false);
  // Row 1 is a node over rows 1..3 (level 1); rows 4 and 5 are outside it.
  TCellGraphic* node = Grid->CreateCellGraphic(0, 1);
  node->CellType = ctNode;
  for (int r = 1; r <= 3; ++r) Grid->GetCellProperties(0, r)->SetNodeLevel(1);
  Grid->GetCellProperties(0, 4)->SetNodeLevel(0);
  Paint();

  const int N = cn->NodeIndent(), I = N;
  const TRect r1 = Grid->GetMergedCellRect(0, 1);
  // The 8 x 8 box at I - N/2 - 4 + 4, framed one pixel wider in NodeColor.
  const int left = r1.Left + I - N / 2, top = r1.Top + std::max(0, r1.Height() - 8) / 2;
  EXPECT_EQ(PixelAt(left - 1, top + 4), RGB(clBlue)) << "frame";
  EXPECT_EQ(PixelAt(left + 1, top + 1), RGB(clYellow)) << "box fill";
  EXPECT_EQ(PixelAt(left + 2, top + 3), RGB(clBlue)) << "minus";
  EXPECT_NE(PixelAt(left + 3, top + 2), RGB(clBlue)) << "expanded: no vertical stroke";
  node->CellBoolean = true;  // contracted
  Paint();
  EXPECT_EQ(PixelAt(left + 3, top + 2), RGB(clBlue)) << "contracted: a plus";

  // Tree lines: child rows 2 and 3 at x = I - N + N/2 + 2; row 2 goes on
  // down, row 3 (the last child) ends at its middle.
  const int x = I - N + N / 2 + 2;
  const TRect r2 = Grid->GetMergedCellRect(0, 2), r3 = Grid->GetMergedCellRect(0, 3);
  EXPECT_EQ(PixelAt(r2.Left + x, r2.Top + 2), RGB(clRed));
  EXPECT_EQ(PixelAt(r2.Left + x, r2.Bottom - 3), RGB(clRed));
  EXPECT_EQ(PixelAt(r3.Left + x, r3.Top + 2), RGB(clRed));
  EXPECT_NE(PixelAt(r3.Left + x, r3.Bottom - 3), RGB(clRed)) << "the last child's line ends at its middle";
  const int mid3 = (r3.Top + r3.Bottom - 2) / 2;
  // Painted cells are inset by the grid line; find the stroke in the middle rows.
  bool stroke = false;
  for (int y = mid3 - 1; y <= mid3 + 1; ++y) stroke |= PixelAt(r3.Left + I + 2, y) == RGB(clRed);
  EXPECT_TRUE(stroke) << "the horizontal stroke into the row reaches the text start";
  const TRect r4 = Grid->GetMergedCellRect(0, 4);
  for (int px = r4.Left; px < r4.Right - 1; ++px)
    ASSERT_NE(PixelAt(px, (r4.Top + r4.Bottom) / 2), RGB(clRed)) << "no tree outside the node";

  // ShowTreeFull: an empty cell's stroke runs to the cell's edge; a text is not struck through.
  cn->SetShowTreeFull(true);
  Grid->SetCells(0, 2, "Fe");
  Paint();
  const TRect r2in = Rect(r2.Left, r2.Top, r2.Right - 1, r2.Bottom - 1);
  auto strokeReaches = [&](const TRect& r, int px) {
    for (int y = (r.Top + r.Bottom) / 2 - 2; y <= (r.Top + r.Bottom) / 2 + 2; ++y)
      if (PixelAt(px, y) == RGB(clRed)) return true;
    return false;
  };
  EXPECT_TRUE(strokeReaches(r3, r3.Right - 3)) << "empty cell: the full stroke";
  EXPECT_FALSE(strokeReaches(r2in, r2.Right - 3)) << "cell with text: the stroke stops before it";
  EXPECT_TRUE(strokeReaches(r2in, r2.Left + I + 2));

  cn->SetShowTree(false);
  Paint();
  EXPECT_NE(PixelAt(r2.Left + x, r2.Top + 2), RGB(clRed)) << "ShowTree off";
}

TEST_F(GraphicsFixture, RotatedTextRunsUpTheCell) {
  Grid->SetRowHeights(2, 90);
  Grid->SetCells(2, 2, "Rotated text");
  TCellGraphic* g = Grid->CreateCellGraphic(2, 2);
  g->CellType = ctRotated;
  g->CellAngle = 90;
  Paint();
  const TRect cell = Grid->GetMergedCellRect(2, 2);
  int left = cell.Right, right = -1, top = cell.Bottom, bottom = -1;
  for (int y = cell.Top + 1; y < cell.Bottom - 1; ++y)
    for (int x = cell.Left + 1; x < cell.Right - 1; ++x)
      if (PixelAt(x, y) == RGB(clBlack)) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, 0) << "the text is drawn";
  const int w = Grid->Canvas()->TextWidth("Rotated text");
  EXPECT_GT(bottom - top, w - 6) << "as tall as the text is long";
  EXPECT_LT(right - left, Grid->Canvas()->TextHeight("Rg") + 2) << "as wide as one line";
}

TEST_F(GraphicsFixture, PaintStaysWithinTheCellForEveryKind) {
  // Every kind, with and without text, in a narrow cell: painting must not
  // raise, and the neighbouring cells keep their colour.
  Grid->SetColWidths(2, 8);
  Grid->GetCellProperties(1, 3)->SetBrushColor(clLime);
  Grid->GetCellProperties(3, 3)->SetBrushColor(clLime);
  for (int k = ctBitmap; k <= ctXPProgress; ++k) {
    if (k == ctEmpty) continue;
    TCellGraphic* g = Grid->CreateCellGraphic(2, 3);
    g->CellType = static_cast<TCellType>(k);
    for (const char* text : {"", "12", "x"}) {
      Grid->SetCellText(2, 3, text);
      EXPECT_NO_THROW(Paint()) << k;
      const TRect l = Grid->GetMergedCellRect(1, 3);
      EXPECT_EQ(PixelAt(l.Left + 3, l.Top + 3), RGB(clLime)) << "kind " << k;
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// One reviewed picture of a painted grid: bands, merged cells, check boxes,
// an HTML cell, a node and a comment. ZELVORA_UPDATE_GOLDEN=1 writes it anew
// (look at it before keeping it).

#include <cstdlib>
#include <filesystem>

#include "platform/gfx/colors.h"

namespace {

std::filesystem::path GridGoldenDir() {
  if (const char* src = std::getenv("ZELVORA_SOURCE_DIR")) return std::filesystem::path(src) / "tests/grid/golden";
  return std::filesystem::path(__FILE__).parent_path() / "golden";
}

TEST_F(GraphicsFixture, PaintedGridMatchesTheReviewedPicture) {
  Grid->SetColCount(4);
  Grid->SetRowCount(6);
  Grid->SetBounds(0, 0, 330, 140);
  Grid->SetColWidths(0, 40);
  Grid->SetColWidths(1, 100);
  Grid->SetColWidths(2, 100);
  Grid->SetColWidths(3, 80);
  Grid->Bands()->SetPrimaryColor(0xE0FFFF);
  Grid->Bands()->SetSecondaryColor(0xFFE8D8);
  Grid->Bands()->SetPrimaryLength(2);
  Grid->Bands()->SetSecondaryLength(1);
  Grid->Bands()->SetActive(true);
  Grid->ControlLook()->SetControlStyle(csWinXP);
  Grid->SetCells(1, 0, "Atom");
  Grid->SetCells(2, 0, "Refine");
  Grid->SetCells(3, 0, "Note");
  Grid->SetCells(1, 1, "Fe1");
  Grid->SetCells(1, 2, "<b>O</b>2 <font color=\"clRed\">split</font>");
  Grid->SetCells(1, 3, "merged over two columns");
  Grid->MergeCells(1, 3, 2, 1);
  Grid->SetCells(2, 1, "x");
  Grid->AddCellCheckBox(2, 1, true, false);
  Grid->SetCells(2, 2, "y");
  Grid->AddCellCheckBox(2, 2, false, false);
  Grid->SetCells(3, 4, "Y");
  Grid->AddCellCheckBox(3, 4, false, true);
  TCellGraphic* note = Grid->CreateCellGraphic(3, 2);
  note->CellType = ctComment;
  note->CellAngle = static_cast<int>(clNone);
  Grid->SetCells(3, 2, "see");
  Grid->SetSelection(TGridRect{1, 5, 1, 5});
  Paint();

  TBitmap image;
  image.SetSize(Grid->Width(), Grid->Height());
  image.Canvas()->CopyRect(Rect(0, 0, Grid->Width(), Grid->Height()), Grid->Canvas(),
                           Rect(0, 0, Grid->Width(), Grid->Height()));
  const std::filesystem::path file = GridGoldenDir() / "grid_paint.png";
  if (std::getenv("ZELVORA_UPDATE_GOLDEN")) {
    std::filesystem::create_directories(file.parent_path());
    TPngImage png;
    png.Assign(&image);
    png.SaveToFile(file.string());
    GTEST_SKIP() << "wrote " << file;
  }
  TPicture picture;
  ASSERT_NO_THROW(picture.LoadFromFile(file.string())) << file;
  TBitmap golden;
  golden.Assign(picture.Graphic());
  ASSERT_EQ(golden.Width(), image.Width());
  ASSERT_EQ(golden.Height(), image.Height());
  int differing = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (ColorToRGB(image.Canvas()->Pixels(x, y)) != ColorToRGB(golden.Canvas()->Pixels(x, y))) ++differing;
  EXPECT_EQ(differing, 0) << "pixels differ from " << file;
}

}  // namespace
