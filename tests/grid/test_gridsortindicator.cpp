// The sort indicator of header cells as painted: the outlined triangle by
// direction, where each alignment and text kind puts it, the cells that never
// carry one, the numbered marks of an indexed sort and the user's glyphs.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/plusobj.h"
#include "grid/support/plusutil.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

namespace {

class SortIndicatorFixture : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 500, 300);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetScrollBars(ssNone);
    Grid->SetColCount(4);
    Grid->SetRowCount(5);
    Grid->SetBounds(0, 0, 440, 220);
    Grid->SetColor(clWhite);
    Grid->SetFixedColor(clSilver);
    Grid->SetLook(glStandard);
    for (int c = 0; c < 4; ++c) Grid->SetColWidths(c, 100);
    Grid->SetRowHeights(0, 40);
    Grid->OnGetAlignment = [this](TObject*, int r, int, TAlignment& h, TVAlignment& v) {
      if (r != 0) return;
      h = HAlign;
      v = VAlign;
    };
  }
  void TearDown() override {
    delete Form;
    guitest::ProcessEvents();
  }
  void SortOn(int ACol, TSortDirection Dir) {
    Grid->SortSettings()->SetColumn(ACol);
    Grid->SortSettings()->SetDirection(Dir);
    Grid->SortSettings()->SetShow(true);
  }
  void Paint() { Grid->Repaint(); }
  TColor PixelAt(int x, int y) { return Grid->Canvas()->Pixels(x, y); }
  static TColor RGB(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }
  std::vector<TColor> Region(TCanvas* c, const TRect& r) {
    std::vector<TColor> v;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) v.push_back(c->Pixels(x, y));
    return v;
  }
  // A header cell inside its one-pixel frame: where its text and mark go.
  TRect Inner(int ACol, int ARow) {
    const TRect r = Grid->CellRect(ACol, ARow);
    return Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  }
  int HeaderTextWidth(const std::string& s) {
    TBitmap bmp;
    bmp.SetSize(10, 10);
    bmp.Canvas()->Font()->Assign(Grid->FixedFont());
    return bmp.Canvas()->TextWidth(s);
  }
  // The outline of the triangle centred at (x, y): white on its lit sides,
  // grey on the shaded ones, the fixed colour inside.
  void ExpectOutline(int x, int y, TSortDirection Dir, const std::string& What) {
    const TColor white = RGB(clWhite), grey = RGB(clGray);
    if (Dir == sdAscending) {
      EXPECT_EQ(PixelAt(x, y + 4), white) << What << ": base";
      EXPECT_EQ(PixelAt(x + 2, y), white) << What << ": right side";
      EXPECT_EQ(PixelAt(x - 2, y), grey) << What << ": left side";
      EXPECT_EQ(PixelAt(x, y - 4), grey) << What << ": apex";
    } else {
      EXPECT_EQ(PixelAt(x, y - 4), grey) << What << ": top";
      EXPECT_EQ(PixelAt(x + 2, y), white) << What << ": right side";
      EXPECT_EQ(PixelAt(x - 2, y), grey) << What << ": left side";
      EXPECT_EQ(PixelAt(x, y + 4), grey) << What << ": apex";
    }
    EXPECT_EQ(PixelAt(x, y + (Dir == sdAscending ? 1 : -1)), RGB(clSilver)) << What << ": inside";
  }
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
  TAlignment HAlign = taLeftJustify;
  TVAlignment VAlign = vtaTop;
};

// Where the mark lands by alignment and text kind: left of right-aligned
// text, right of left-aligned text, at the left edge of centred text, at the
// right edge of HTML and wide text; y by the vertical alignment.
TEST_F(SortIndicatorFixture, TrianglePlacedByAlignmentAndTextKind) {
  struct Case {
    const char* Name;
    std::string Text;
    TAlignment H;
    TVAlignment V;
    TSortDirection Dir;
  };
  const std::string wide = EncodeWideCellText(u"Wide");
  const std::vector<Case> cases = {
      {"left, top, ascending", "Atom", taLeftJustify, vtaTop, sdAscending},
      {"left, top, descending", "Atom", taLeftJustify, vtaTop, sdDescending},
      {"left, empty text", "", taLeftJustify, vtaTop, sdAscending},
      {"right, centre", "Atom", taRightJustify, vtaCenter, sdDescending},
      {"centre, bottom", "Atom", taCenter, vtaBottom, sdAscending},
      {"html", "<b>Atom</b>", taLeftJustify, vtaCenter, sdDescending},
      {"wide text", wide, taLeftJustify, vtaBottom, sdAscending},
  };
  for (const Case& k : cases) {
    Grid->SetCells(2, 0, k.Text);
    HAlign = k.H;
    VAlign = k.V;
    SortOn(2, k.Dir);
    Paint();
    const TRect R = Inner(2, 0);
    const int w = std::min(R.Width() - 16, HeaderTextWidth(k.Text));
    int x = R.Left + w + 10;
    if (k.H == taRightJustify) x = R.Right - w - 10;
    if (k.H == taCenter) x = R.Left + 8;
    if (k.Text.rfind("<b>", 0) == 0) x = R.Right - 10;
    if (k.Text == wide) x = R.Right - 9;
    int y = R.Top + 8;
    if (k.V == vtaCenter) y = R.Top + R.Height() / 2;
    if (k.V == vtaBottom) y = R.Bottom - 8;
    ExpectOutline(x, y, k.Dir, k.Name);
  }
}

// Cells that carry no mark paint exactly as without sorting shown.
TEST_F(SortIndicatorFixture, NoMarkOutsideTheSortedHeader) {
  struct Case {
    const char* Name;
    std::function<void()> Setup;
    int Col;
    bool Drawn;
  };
  const std::vector<Case> cases = {
      {"sorted column", [] {}, 2, true},
      {"Show off", [this] { Grid->SortSettings()->SetShow(false); }, 2, false},
      {"two rows", [this] { Grid->SetRowCount(2); }, 2, false},
      {"another column", [this] { Grid->SortSettings()->SetColumn(1); }, 2, false},
      {"sort row is not this row",
       [this] {
         Grid->SetFixedRows(2);
         Grid->SortSettings()->SetRow(1);
       },
       2, false},
      {"fixed column", [this] { Grid->SortSettings()->SetColumn(0); }, 0, false},
      {"fixed column allowed",
       [this] {
         Grid->SortSettings()->SetColumn(0);
         Grid->SortSettings()->SetFixedCols(true);
       },
       0, true},
      {"second of the sort list without numbers",
       [this] {
         Grid->SortIndexes()->AddIndex(1, true);
         Grid->SortIndexes()->AddIndex(2, true);
       },
       2, false},
  };
  for (const Case& k : cases) {
    // A fresh grid for each case.
    TearDown();
    SetUp();
    const TRect R = Inner(k.Col, 0);
    Paint();
    const std::vector<TColor> plain = Region(Grid->Canvas(), R);
    SortOn(k.Col == 0 ? 0 : 2, sdAscending);
    k.Setup();
    Paint();
    const TRect now = Inner(k.Col, 0);
    ASSERT_EQ(now.Left, R.Left) << k.Name;
    const bool changed = Region(Grid->Canvas(), R) != plain;
    EXPECT_EQ(changed, k.Drawn) << k.Name;
    if (k.Drawn) ExpectOutline(R.Left + 10, R.Top + 8, sdAscending, k.Name);
  }
}

// A left-aligned header text too long for its cell stops short of the mark.
TEST_F(SortIndicatorFixture, LongLeftTextLeavesRoomForTheMark) {
  Grid->SetCells(2, 0, std::string(30, 'W'));
  SortOn(2, sdAscending);
  Paint();
  const TRect R = Inner(2, 0);
  int rightmostInk = -1;
  for (int x = R.Left; x < R.Right; ++x)
    for (int y = R.Top; y < R.Bottom; ++y)
      if (PixelAt(x, y) == RGB(clBlack)) rightmostInk = std::max(rightmostInk, x);
  EXPECT_GT(rightmostInk, R.Left + 40);
  EXPECT_LT(rightmostInk, R.Right - 2 - 14);
  ExpectOutline(R.Right - 6, R.Top + 8, sdAscending, "mark at the right end");
}

// With IndexShow every column of the sort list shows a filled triangle in
// IndexColor pointing its way and its place in the list.
TEST_F(SortIndicatorFixture, IndexedSortNumbersEachColumn) {
  Grid->SortIndexes()->AddIndex(1, true);
  Grid->SortIndexes()->AddIndex(2, false);
  Grid->SortSettings()->SetIndexShow(true);
  Grid->SortSettings()->SetIndexColor(clYellow);
  SortOn(1, sdAscending);
  Paint();
  const TColor fill = RGB(clYellow);
  // The digit on the fill colour, as the number should look.
  auto digit = [&](int x, int y, const std::string& n, int textY) {
    TBitmap bmp;
    bmp.SetSize(40, 40);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clYellow);
    c->FillRect(Rect(0, 0, 40, 40));
    c->Font()->Assign(Grid->FixedFont());
    c->Font()->SetColor(clBlack);
    c->Font()->SetSize(6);
    c->SetBkMode(TRANSPARENT);
    c->TextOut(20 - 2, 20 + textY, n);
    // Every ink pixel of the digit in place, and no other black near it
    // (the triangle's outline is the fixed cells' grey).
    const std::vector<TColor> want = Region(c, Rect(20 - 4, 20 - 6, 20 + 6, 20 + 9));
    const std::vector<TColor> got = Region(Grid->Canvas(), Rect(x - 4, y - 6, x + 6, y + 9));
    int ink = 0, black = 0;
    for (size_t i = 0; i < want.size(); ++i) {
      if (want[i] == fill) continue;
      ++ink;
      EXPECT_EQ(got[i], want[i]) << "number " << n << " pixel " << i;
    }
    for (TColor p : got) black += p == RGB(clBlack);
    EXPECT_GT(ink, 0) << "number " << n;
    EXPECT_EQ(black, ink) << "number " << n;
  };
  const TRect R1 = Inner(1, 0), R2 = Inner(2, 0);
  // Ascending: the triangle points up.
  const int x1 = R1.Left + 10, y1 = R1.Top + 8;
  EXPECT_EQ(PixelAt(x1 - 4, y1 + 6), fill);
  EXPECT_EQ(PixelAt(x1 + 4, y1 + 6), fill);
  EXPECT_NE(PixelAt(x1 - 4, y1 - 2), fill) << "outside the apex";
  digit(x1, y1, "1", -2);
  // Descending: the triangle points down.
  const int x2 = R2.Left + 10, y2 = R2.Top + 8;
  EXPECT_EQ(PixelAt(x2 - 5, y2 - 3), fill);
  EXPECT_EQ(PixelAt(x2, y2 + 5), fill);
  EXPECT_NE(PixelAt(x2 - 5, y2 + 5), fill) << "outside the apex";
  digit(x2, y2, "2", -4);
  // A column outside the list shows nothing.
  EXPECT_EQ(PixelAt(Inner(3, 0).Left + 10, y2), RGB(clSilver));
}

// Both glyphs set: the one of the direction replaces the triangle, drawn
// transparent with its top-left at (x - 4, y - 4).
TEST_F(SortIndicatorFixture, GlyphsReplaceTheTriangle) {
  auto glyph = [](TColor Mark) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(9, 9);
    b->Canvas()->Brush()->SetColor(clFuchsia);
    b->Canvas()->FillRect(Rect(0, 0, 9, 9));
    b->Canvas()->Brush()->SetColor(Mark);
    b->Canvas()->FillRect(Rect(3, 3, 6, 6));
    return b;
  };
  const auto up = glyph(clRed), down = glyph(clBlue);
  Grid->SortSettings()->SetUpGlyph(up.get());
  for (TSortDirection dir : {sdAscending, sdDescending}) {
    SortOn(2, dir);
    Paint();
    const TRect R = Inner(2, 0);
    const int x = R.Left + 10, y = R.Top + 8;
    ExpectOutline(x, y, dir, "one glyph only: the triangle");
  }
  Grid->SortSettings()->SetDownGlyph(down.get());
  for (TSortDirection dir : {sdAscending, sdDescending}) {
    SortOn(2, dir);
    Paint();
    const TRect R = Inner(2, 0);
    const int x = R.Left + 10, y = R.Top + 8;
    EXPECT_EQ(PixelAt(x, y), RGB(dir == sdAscending ? clRed : clBlue));
    EXPECT_EQ(PixelAt(x - 4, y - 4), RGB(clSilver)) << "transparent corner";
    EXPECT_EQ(PixelAt(x, y + 4), RGB(clSilver)) << "no triangle under the glyph";
  }
}

}  // namespace
