// Painting of the string grid: the colour each cell resolves to (bands, own
// colours, fixed areas, selections), the order of the paint hooks, borders,
// sizing guide lines, the cell text (shown text, alignment, measuring) and
// the sort indicator of header cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/plusobj.h"
#include "grid/support/plusutil.h"
#include "grid/support/plusxpvs.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/format.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"
#include "support/testlocale.h"

namespace {

class PaintFixture : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 500, 300);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetScrollBars(ssNone);
    Grid->SetColCount(4);
    Grid->SetRowCount(6);
    Grid->SetBounds(0, 0, 400, 200);
    Grid->SetColor(clWhite);
    Grid->SetFixedColor(clSilver);
    Grid->SetLook(glStandard);
  }
  void TearDown() override {
    delete Form;
    guitest::ProcessEvents();
  }
  void Paint() { Grid->Repaint(); }
  // A pixel inside the cell, clear of its text and of the grid lines.
  TColor CellPixel(int c, int r) {
    const TRect R = Grid->GetCellRect(c, r);
    return Grid->Canvas()->Pixels(R.Right - 6, R.Bottom - 5);
  }
  TColor PixelAt(int x, int y) { return Grid->Canvas()->Pixels(x, y); }
  static TColor RGB(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }
  // Pixels of a cell's inner area, for comparing what two cells show.
  std::vector<TColor> CellPixels(int c, int r) {
    const TRect R = Grid->GetCellRect(c, r);
    std::vector<TColor> v;
    for (int y = R.Top + 1; y < R.Bottom - 2; ++y)
      for (int x = R.Left + 1; x < R.Right - 2; ++x) v.push_back(Grid->Canvas()->Pixels(x, y));
    return v;
  }
  static int CountOf(const std::vector<TColor>& v, TColor c) {
    int n = 0;
    for (TColor p : v) n += p == c;
    return n;
  }
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
};

TEST_F(PaintFixture, BandsColourNormalRowsOnlyAndOwnColoursWin) {
  Grid->Bands()->SetPrimaryColor(clLime);
  Grid->Bands()->SetSecondaryColor(clAqua);
  Grid->Bands()->SetPrimaryLength(2);
  Grid->Bands()->SetSecondaryLength(1);
  Grid->Bands()->SetActive(true);
  Grid->GetCellProperties(3, 4)->SetBrushColor(clRed);
  Paint();
  const TColor expected[] = {clSilver, clLime, clLime, clAqua, clLime, clLime};
  for (int r = 0; r < 6; ++r) EXPECT_EQ(CellPixel(2, r), RGB(expected[r])) << "row " << r;
  EXPECT_EQ(CellPixel(0, 2), RGB(clSilver)) << "fixed column not banded";
  EXPECT_EQ(CellPixel(3, 4), RGB(clRed)) << "own brush colour beats bands";

  Grid->SetFixedFooters(1);
  Paint();
  EXPECT_EQ(CellPixel(2, 5), RGB(clSilver)) << "footer row not banded";
  Grid->Bands()->SetSecondaryLength(0);
  Paint();
  EXPECT_EQ(CellPixel(2, 3), RGB(clLime)) << "no secondary rows: every row primary";
}

TEST_F(PaintFixture, FixedCellColourDependsOnItsGraphic) {
  Grid->GetCellProperties(1, 0)->SetBrushColor(clYellow);  // fixed, no graphic
  Grid->SetCellGraphic(2, 0, new TCellGraphic());
  Grid->GetCellProperties(2, 0)->CellGraphic()->CellType = ctCheckBox;
  Grid->GetCellProperties(2, 0)->SetBrushColor(clYellow);  // fixed check-box cell
  Paint();
  EXPECT_EQ(CellPixel(1, 0), RGB(clYellow));
  EXPECT_EQ(CellPixel(2, 0), RGB(clSilver));
  Grid->OnGetCellColor = [](TObject*, int r, int c, TGridDrawState, TBrush* b, TFont*) {
    if (r == 0 && c == 2) b->SetColor(clFuchsia);
  };
  Paint();
  EXPECT_EQ(CellPixel(2, 0), RGB(clFuchsia));
}

TEST_F(PaintFixture, SelectionColoursAndDisjointCells) {
  Grid->SetSelection(TGridRect{1, 1, 2, 2});
  Paint();
  EXPECT_EQ(CellPixel(2, 2), RGB(0xEACAB6));
  EXPECT_EQ(CellPixel(3, 3), RGB(clWhite));
  Grid->SetShowSelection(false);
  Paint();
  EXPECT_EQ(CellPixel(2, 2), RGB(clWhite));
  Grid->SetShowSelection(true);

  // Disjoint cells: listed cells selected, the current cell outside the list
  // is painted in the grid's colours although it lies in Selection.
  Grid->MouseActions()->SetDisjunctCellSelect(true);
  Grid->SelectedCells().push_back(3u << 16 | 3u);
  Paint();
  EXPECT_EQ(CellPixel(3, 3), RGB(0xEACAB6));
  EXPECT_EQ(CellPixel(Grid->Col(), Grid->Row()), RGB(clWhite));
}

TEST_F(PaintFixture, SelectedGradientIsAlwaysVertical) {
  Grid->GetCellProperties(2, 2)->SetGradientDirection(GradientHorizontal);
  Grid->SetSelectionColor(clWhite);
  Grid->SetSelectionColorTo(clBlack);
  Grid->SetSelection(TGridRect{2, 2, 2, 2});
  Paint();
  const TRect R = Grid->GetCellRect(2, 2);
  const int y1 = R.Top + 2, y2 = R.Bottom - 3;
  EXPECT_EQ(PixelAt(R.Left + 3, y1), PixelAt(R.Right - 4, y1)) << "same colour along a row";
  EXPECT_NE(PixelAt(R.Left + 3, y1), PixelAt(R.Left + 3, y2)) << "colour changes downwards";
}

TEST_F(PaintFixture, PaintHooksRunInPipelineOrder) {
  std::vector<std::string> log;
  auto mine = [](int c, int r) { return c == 2 && r == 3; };
  Grid->OnGetCellColor = [&](TObject*, int r, int c, TGridDrawState, TBrush*, TFont*) {
    if (mine(c, r)) log.push_back("color");
  };
  Grid->OnGetWordWrap = [&](TObject*, int c, int r, bool&) {
    if (mine(c, r)) log.push_back("wrap");
  };
  Grid->OnGetAlignment = [&](TObject*, int r, int c, TAlignment&, TVAlignment&) {
    if (mine(c, r)) log.push_back("align");
  };
  Grid->OnGetCellBorder = [&](TObject*, int r, int c, TPen*, TCellBorders&) {
    if (mine(c, r)) log.push_back("border");
  };
  Grid->OnGetCellBorderProp = [&](TObject*, int r, int c, TPen*, TPen*, TPen*, TPen*) {
    if (mine(c, r)) log.push_back("borderprop");
  };
  Grid->OnDrawCell = [&](TObject*, int c, int r, TRect, TGridDrawState) {
    if (mine(c, r)) log.push_back("drawcell");
  };
  Grid->OnCustomCellDraw = [&](TObject*, TCanvas*, int c, int r, TGridDrawState, TRect, bool printing) {
    if (mine(c, r)) log.push_back(printing ? "custom-print" : "custom");
  };
  Paint();
  const std::vector<std::string> once = {"color", "wrap", "align"};
  std::vector<std::string> expected = once;
  expected.insert(expected.end(), once.begin(), once.end());
  expected.insert(expected.end(), {"border", "borderprop", "drawcell", "custom"});
  EXPECT_EQ(log, expected);
}

TEST_F(PaintFixture, BordersFromTheHookUseTheirOwnPens) {
  Grid->OnGetCellBorder = [](TObject*, int r, int c, TPen* pen, TCellBorders& b) {
    if (c == 2 && r == 2) {
      b = TCellBorders{cbLeft, cbBottom};
      pen->SetColor(clRed);
    }
  };
  Grid->OnGetCellBorderProp = [](TObject*, int r, int c, TPen*, TPen*, TPen*, TPen* bottom) {
    if (c == 2 && r == 2) bottom->SetColor(clBlue);
  };
  Paint();
  const TRect R = Grid->GetCellRect(2, 2);
  const int midY = (R.Top + R.Bottom) / 2, midX = (R.Left + R.Right) / 2;
  std::vector<TColor> column, row;
  for (int x = R.Left - 1; x <= R.Left + 2; ++x) column.push_back(PixelAt(x, midY));
  for (int y = R.Bottom - 3; y <= R.Bottom; ++y) row.push_back(PixelAt(midX, y));
  EXPECT_GT(CountOf(column, RGB(clRed)), 0) << "left border in the hook's pen";
  EXPECT_GT(CountOf(row, RGB(clBlue)), 0) << "bottom border in its own pen";
  EXPECT_EQ(CountOf(CellPixels(3, 2), RGB(clRed)), 0) << "other cells have no border";
}

TEST_F(PaintFixture, SizingLinesVanishWhenDrawnTwice) {
  Paint();
  const std::vector<TColor> before = CellPixels(2, 2);
  const TRect R = Grid->GetCellRect(2, 2);
  const int x = (R.Left + R.Right) / 2;
  Grid->DrawColSizingLine(x);
  EXPECT_NE(CellPixels(2, 2), before);
  Grid->DrawColSizingLine(x);
  EXPECT_EQ(CellPixels(2, 2), before);
  const int y = (R.Top + R.Bottom) / 2;
  Grid->DrawRowSizingLine(y);
  EXPECT_NE(CellPixels(2, 2), before);
  Grid->DrawRowSizingLine(y);
  EXPECT_EQ(CellPixels(2, 2), before);
}

TEST_F(PaintFixture, ModifiedRowsShowAStrip) {
  Grid->ShowModified()->SetEnabled(true);
  Grid->ShowModified()->SetColor(clLime);
  Grid->SetRowModified(3, true);
  Paint();
  const TRect R = Grid->GetCellRect(0, 3);
  EXPECT_EQ(PixelAt(R.Right - 3, R.Top + 5), RGB(clLime));
  EXPECT_NE(PixelAt(R.Right - 3, Grid->GetCellRect(0, 2).Top + 5), RGB(clLime));
}

// ---- cell text

TEST_F(PaintFixture, FloatFormatEventReformatsNumbersOnly) {
  TScopedLocale comma;
  std::vector<std::string> asked;
  std::string fmt = "%.2f";
  Grid->OnGetFloatFormat = [&](TObject*, int, int, bool&, std::string& f) {
    asked.push_back("x");
    f = fmt;
  };
  struct Case {
    const char* text;
    const char* format;
    const char* shown;
    bool asked;
  };
  const Case cases[] = {
      {"3.14159", "%.2f", "3.14", true},
      {"42", "%d", "42", true},
      {"abc", "%.2f", "abc", false},
  };
  for (const Case& c : cases) {
    asked.clear();
    fmt = c.format;
    Grid->SetCellText(1, 1, c.text);
    EXPECT_EQ(Grid->GetFormattedCellText(1, 1), c.shown) << c.text;
    EXPECT_EQ(!asked.empty(), c.asked) << c.text;
  }
}

TEST_F(PaintFixture, AlignmentFromNumbersPropertiesAndEvent) {
  Grid->SetAutoNumAlign(true);
  Grid->SetCellText(1, 1, "12.5");
  Grid->SetCellText(2, 1, "12.5");
  Grid->GetCellProperties(2, 1)->SetAlignment(taCenter);
  Grid->SetCellText(3, 1, "text");
  TAlignment h;
  TVAlignment v;
  Grid->GetCellAlignment(1, 1, h, v);
  EXPECT_EQ(h, taRightJustify);
  EXPECT_EQ(v, vtaTop);
  Grid->GetCellAlignment(2, 1, h, v);
  EXPECT_EQ(h, taCenter) << "the record's alignment beats the automatic one";
  Grid->GetCellAlignment(3, 1, h, v);
  EXPECT_EQ(h, taLeftJustify);
  Grid->SetAutoNumAlign(false);
  Grid->GetCellAlignment(1, 1, h, v);
  EXPECT_EQ(h, taLeftJustify);
  Grid->SetVAlignment(vtaBottom);
  Grid->OnGetAlignment = [](TObject*, int, int c, TAlignment& ha, TVAlignment&) {
    if (c == 3) ha = taRightJustify;
  };
  Grid->GetCellAlignment(3, 1, h, v);
  EXPECT_EQ(h, taRightJustify);
  EXPECT_EQ(v, vtaBottom);
}

TEST_F(PaintFixture, PasswordCellShowsOneAsteriskPerCharacter) {
  Grid->SetCellText(1, 2, "abcde");
  Grid->SetCellText(2, 2, "*****");
  Grid->SetCellText(3, 2, "****");
  Grid->SetColWidths(1, 64);
  Grid->SetColWidths(2, 64);
  Grid->SetColWidths(3, 64);
  Grid->OnIsPasswordCell = [](TObject*, int r, int c, bool& p) { p = c == 1 && r == 2; };
  Paint();
  const auto pw = CellPixels(1, 2);
  EXPECT_EQ(pw, CellPixels(2, 2));
  EXPECT_NE(pw, CellPixels(3, 2));
  EXPECT_GT(CountOf(pw, RGB(clBlack)), 0);
}

TEST_F(PaintFixture, TextIsDrawnInItsAlignmentAndLines) {
  Grid->SetRowHeights(2, 60);
  Grid->SetWordWrap(false);
  Grid->SetCellText(1, 2, "a\r\nb");
  Grid->SetCellText(2, 2, "a");
  Paint();
  EXPECT_EQ(CellPixels(1, 2), CellPixels(2, 2)) << "single line: only the first line shows";
  Grid->SetMultilinecells(true);
  Paint();
  EXPECT_NE(CellPixels(1, 2), CellPixels(2, 2)) << "multi-line cells show both";

  // Right alignment puts the ink into the right half.
  Grid->SetCellText(3, 3, "x");
  Grid->GetCellProperties(3, 3)->SetAlignment(taRightJustify);
  Paint();
  const TRect R = Grid->GetCellRect(3, 3);
  int left = 0, right = 0;
  for (int y = R.Top; y < R.Bottom - 1; ++y)
    for (int x = R.Left; x < R.Right - 1; ++x)
      if (PixelAt(x, y) != RGB(clWhite)) (x < (R.Left + R.Right) / 2 ? left : right)++;
  EXPECT_EQ(left, 0);
  EXPECT_GT(right, 0);
}

TEST_F(PaintFixture, LinksShowWithoutProtocolInTheLinkColour) {
  Grid->SetURLShow(true);
  Grid->SetURLColor(clBlue);
  Grid->SetCellText(1, 1, "http://ab.cd");
  Grid->SetCellText(2, 1, "ab.cd");
  Grid->GetCellProperties(2, 1)->SetFontColor(clBlue);
  Grid->GetCellProperties(2, 1)->SetFontStyle(TFontStyles{fsUnderline});
  Grid->SetSelection(TGridRect{3, 3, 3, 3});
  Paint();
  EXPECT_GT(CountOf(CellPixels(1, 1), RGB(clBlue)), 0);
  EXPECT_EQ(CellPixels(1, 1), CellPixels(2, 1));
  Grid->SetURLFull(true);
  Paint();
  EXPECT_NE(CellPixels(1, 1), CellPixels(2, 1));
}

TEST_F(PaintFixture, MeasuringFollowsTheFontMetrics) {
  Grid->SetWordWrap(false);
  Grid->SetCellText(1, 1, "Hello");
  Grid->SetCellText(2, 1, "ab\r\nabcdef");
  Grid->SetMultilinecells(true);
  TCanvas* c = Grid->Canvas();
  c->Font()->Assign(Grid->Font());
  const int hgh = c->TextHeight("gh");
  const TPoint one = Grid->GetCellTextSize(1, 1, false);
  EXPECT_EQ(one.X, c->TextWidth("Hello") + 4);
  EXPECT_EQ(one.Y, hgh + 4);
  const TPoint two = Grid->GetCellTextSize(2, 1, false);
  EXPECT_EQ(two.X, c->TextWidth("abcdef") + 4);
  EXPECT_EQ(two.Y, 2 * hgh + 4);

  // A cell rotated by 90 degrees swaps its sides and gains 12 on each.
  Grid->SetCellGraphic(1, 1, new TCellGraphic());
  Grid->GetCellProperties(1, 1)->CellGraphic()->CellType = ctRotated;
  Grid->GetCellProperties(1, 1)->CellGraphic()->CellAngle = 90;
  const TPoint rot = Grid->GetCellTextSize(1, 1, false);
  EXPECT_EQ(rot.X, one.Y + 12);
  EXPECT_EQ(rot.Y, one.X + 12);
}

}  // namespace

namespace {

// ---- looks

TEST_F(PaintFixture, FixedCellsByLook) {
  Grid->SetLook(glXP);
  Grid->SetFixedGradientStart(clWhite);
  Grid->SetFixedGradientEnd(clBlack);
  Paint();
  const TRect R = Grid->GetCellRect(2, 0);
  const int x = (R.Left + R.Right) / 2;
  EXPECT_EQ(PixelAt(x, R.Top), RGB(clWhite)) << "white top edge";
  const TColor upper = PixelAt(x, R.Top + 3), lower = PixelAt(x, R.Bottom - 4);
  EXPECT_GT(upper & 0xFF, lower & 0xFF) << "gradient darkens downwards";
  EXPECT_EQ(CellPixel(2, 2), RGB(clWhite)) << "normal cells untouched";

  Grid->SetFlat(true);
  Paint();
  EXPECT_EQ(PixelAt(x, R.Top + 3), RGB(clSilver)) << "flat: only the base fill";
  EXPECT_EQ(PixelAt(x, R.Bottom - 4), RGB(clSilver));

  Grid->SetFlat(false);
  Grid->SetActiveCellShow(true);
  Grid->SetActiveCellColor(clRed);
  Grid->SetActiveCellColorTo(clNone);
  Paint();
  EXPECT_EQ(CellPixel(Grid->Col(), 0), RGB(clRed)) << "header of the current column";
  EXPECT_EQ(CellPixel(0, Grid->Row()), RGB(clRed)) << "header of the current row";
  EXPECT_NE(CellPixel(2, 0), RGB(clRed));
}

TEST_F(PaintFixture, StyleSchemesSetTheirColours) {
  Grid->SetGridLineColor(0x123456);
  Grid->ApplyStyleScheme(8);
  EXPECT_EQ(Grid->FixedGradientStart(), 0xFFFFFF);
  EXPECT_EQ(Grid->GridLineColor(), 0x123456);
  Grid->ApplyStyleScheme(4);
  EXPECT_EQ(Grid->FixedGradientStart(), 0xFBF9F6);
  EXPECT_EQ(Grid->FixedGradientEnd(), 0xE8DBD2);
  EXPECT_EQ(Grid->ActiveCellColorTo(), 0x5EC1F1);
  EXPECT_EQ(Grid->GridLineColor(), 0xE5D7D0);
  EXPECT_EQ(Grid->SelectionColor(), 0x5EC1F1);
  EXPECT_EQ(Grid->ControlLook()->FixedGradientFrom(), 0xFBF9F6);
  Grid->ApplyStyleScheme(3);
  EXPECT_EQ(Grid->ControlLook()->FixedGradientFrom(), clNone);
  EXPECT_EQ(Grid->SelectionColor(), 0x5EC1F1) << "style 3 keeps the selection colour";
  Grid->ApplyThemeScheme(2);
  EXPECT_EQ(Grid->FixedGradientStart(), 0xCFF0EA);
  EXPECT_EQ(Grid->ActiveCellColor(), 0x94E6FB);
  Grid->ApplyThemeScheme(0);
  EXPECT_EQ(Grid->ActiveCellColorTo(), 0xFFD9B3);
  EXPECT_EQ(Grid->FixedGradientEnd(), clBtnFace);
}

TEST_F(PaintFixture, CheckBoxesByControlStyle) {
  TBitmap bmp;
  bmp.SetSize(20, 20);
  TCanvas* c = bmp.Canvas();
  auto draw = [&](bool checked, bool enabled) {
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 20, 20));
    Grid->DrawCellCheckBox(c, Rect(0, 0, 15, 15), checked, enabled);
    std::vector<TColor> px;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) px.push_back(c->Pixels(x, y));
    return px;
  };
  const auto blank = [&] {
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 20, 20));
    std::vector<TColor> px;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) px.push_back(c->Pixels(x, y));
    return px;
  }();
  TControlLook* look = Grid->ControlLook();
  for (TGridControlStyle s : {csWinXP, csQRB, csClassic, csFlat, csPelmark}) {
    look->SetControlStyle(s);
    const auto on = draw(true, true), off = draw(false, true), onDisabled = draw(true, false);
    EXPECT_NE(on, blank) << s;
    EXPECT_NE(on, off) << s;
    EXPECT_NE(on, onDisabled) << s;
    look->SetCheckAlwaysActive(true);
    EXPECT_EQ(draw(true, false), on) << "always active: drawn enabled, style " << s;
    look->SetCheckAlwaysActive(false);
  }
  look->SetControlStyle(csGlyph);
  EXPECT_EQ(draw(true, true), blank) << "empty glyphs draw nothing";
  if (!Grid->IsThemed()) {
    look->SetControlStyle(csTheme);
    EXPECT_EQ(draw(true, true), blank) << "no visual style: nothing";
  }
}

}  // namespace

namespace {

int FakeThemeActive() { return 1; }
const char16_t* gThemeColour = u"HomeStead";
int FakeThemeName(char16_t*, int, char16_t* color, int, char16_t*, int) {
  int i = 0;
  for (; gThemeColour[i]; ++i) color[i] = gThemeColour[i];
  color[i] = 0;
  return 0;
}
HTHEME FakeOpenTheme(HWND, const char16_t*) { return reinterpret_cast<HTHEME>(1); }
int FakeCloseTheme(HTHEME) { return 0; }
int FakeDrawTheme(HTHEME, TCanvas*, int, int, const TRect*, const TRect*) { return 0; }

TEST_F(PaintFixture, ThemeSchemeFollowsTheColourName) {
  EXPECT_TRUE(BindXPVS([](const std::string& n) -> void* {
    if (n == "OpenThemeData") return reinterpret_cast<void*>(&FakeOpenTheme);
    if (n == "CloseThemeData") return reinterpret_cast<void*>(&FakeCloseTheme);
    if (n == "DrawThemeBackground") return reinterpret_cast<void*>(&FakeDrawTheme);
    if (n == "IsThemeActive") return reinterpret_cast<void*>(&FakeThemeActive);
    if (n == "GetCurrentThemeName") return reinterpret_cast<void*>(&FakeThemeName);
    return nullptr;
  }));
  struct Case {
    const char16_t* colour;
    int scheme;
  };
  const Case cases[] = {{u"NormalColor", 1}, {u"HomeStead", 2}, {u"Metallic", 3}, {u"Other", 0}};
  for (const Case& c : cases) {
    gThemeColour = c.colour;
    EXPECT_EQ(Grid->GetThemeScheme(), c.scheme);
  }
  gThemeColour = u"Metallic";
  Grid->SetAutoThemeAdapt(true);
  EXPECT_EQ(Grid->FixedGradientStart(), 0xECE2E1);
  EXPECT_EQ(Grid->FixedGradientEnd(), 0xB39698);
  DoneXPVS();
  InitXPVS();
}

TEST_F(PaintFixture, RadioGroupMarksTheSelectedOption) {
  TBitmap bmp;
  bmp.SetSize(120, 60);
  TCanvas* c = bmp.Canvas();
  TStringList options;
  options.Add("one");
  options.Add("two");
  Grid->SetCellText(1, 1, "two");
  auto draw = [&](int selected, bool horizontal, bool disabled) {
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 120, 60));
    c->Font()->Assign(Grid->Font());
    Grid->DrawRadioGroup(c, Rect(0, 0, 120, 60), 1, 1, false, &options, disabled, horizontal, selected, 2);
    std::vector<TColor> px;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 120; ++x) px.push_back(c->Pixels(x, y));
    return px;
  };
  for (TGridControlStyle s : {csWinXP, csClassic, csPelmark}) {
    Grid->ControlLook()->SetControlStyle(s);
    for (bool horizontal : {false, true}) {
      const auto first = draw(0, horizontal, false), second = draw(1, horizontal, false);
      EXPECT_NE(first, second) << s;
      EXPECT_EQ(draw(-1, horizontal, false), second) << "index -1: the option matching the cell text, style " << s;
      if (s != csPelmark) {
        EXPECT_NE(draw(1, horizontal, true), second) << "disabled look, style " << s;
        Grid->ControlLook()->SetRadioAlwaysActive(true);
        EXPECT_EQ(draw(1, horizontal, true), second) << "always active, style " << s;
        Grid->ControlLook()->SetRadioAlwaysActive(false);
      }
    }
  }
}

// Without a theme library the desktop's widget style draws the themed
// parts: a themed check box and radio button differ from the classic ones
// and show their state; a themed list-view header differs from the flat one.
TEST_F(PaintFixture, ThemedControlsAreDrawnByTheDesktopStyle) {
  DoneXPVS();
  InitXPVS();
  ASSERT_TRUE(ThemesActive());
  // The style is fixed when the grid is made.
  auto* G = new TPlusStringGrid(Form);
  G->SetParent(Form);
  G->SetBounds(0, 0, 300, 120);
  ASSERT_TRUE(G->IsThemed());
  TBitmap bmp;
  bmp.SetSize(40, 20);
  TCanvas* c = bmp.Canvas();
  auto pixels = [&] {
    std::vector<TColor> px;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x) px.push_back(c->Pixels(x, y));
    return px;
  };
  auto clear = [&] {
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 40, 20));
  };
  clear();
  const auto blank = pixels();
  auto check = [&](TGridControlStyle style, bool checked, bool enabled) {
    G->ControlLook()->SetControlStyle(style);
    clear();
    G->DrawCellCheckBox(c, Rect(0, 0, 15, 15), checked, enabled);
    return pixels();
  };
  TStringList options;
  options.Add("");
  auto radio = [&](TGridControlStyle style, bool on, bool disabled) {
    G->ControlLook()->SetControlStyle(style);
    clear();
    G->DrawRadioGroup(c, Rect(0, 0, 40, 20), 1, 1, false, &options, disabled, true, on ? 0 : -2, 1);
    return pixels();
  };
  using TDraw = std::function<std::vector<TColor>(TGridControlStyle, bool, bool)>;
  for (const auto& [name, draw] : {std::pair<const char*, TDraw>{"check box", check}, {"radio button", radio}}) {
    const auto on = draw(csTheme, true, true), off = draw(csTheme, false, true);
    EXPECT_NE(on, blank) << name;
    EXPECT_NE(off, blank) << name;
    EXPECT_NE(on, off) << name;
    EXPECT_NE(draw(csTheme, true, false), on) << name << " disabled";
    EXPECT_NE(on, draw(csClassic, true, true)) << name;
    EXPECT_NE(off, draw(csClassic, false, true)) << name;
  }
  // The themed check box follows the cell's state inside a painted grid.
  auto cellPixels = [](TPlusStringGrid* Grid, int Col, int Row) {
    Grid->Repaint();
    const TRect r = Grid->GetCellRect(Col, Row);
    std::vector<TColor> px;
    for (int y = r.Top; y < r.Bottom - 1; ++y)
      for (int x = r.Left; x < r.Right - 1; ++x) px.push_back(Grid->Canvas()->Pixels(x, y));
    return px;
  };
  G->ControlLook()->SetControlStyle(csTheme);
  G->AddCellCheckBox(1, 1, true, false);
  const auto checkedCell = cellPixels(G, 1, 1);
  G->SetCellCheckState(1, 1, false);
  EXPECT_NE(cellPixels(G, 1, 1), checkedCell);
  // A list-view header cell: the style's header item, not the flat one.
  DoneXPVS();
  auto* Classic = new TPlusStringGrid(Form);
  InitXPVS();
  Classic->SetParent(Form);
  Classic->SetBounds(0, 0, 300, 120);
  ASSERT_FALSE(Classic->IsThemed());
  G->SetLook(glListView);
  Classic->SetLook(glListView);
  EXPECT_NE(cellPixels(G, 1, 0), cellPixels(Classic, 1, 0));
}

}  // namespace

namespace {

TEST_F(PaintFixture, PushButtonKeepsItsOffsetAndShowsItsState) {
  TBitmap bmp;
  bmp.SetSize(80, 30);
  TCanvas* c = bmp.Canvas();
  TCellGraphic g;
  g.CellType = ctButton;
  g.CellText = "Go";
  auto draw = [&] {
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 80, 30));
    c->Font()->Assign(Grid->Font());
    Grid->DrawCellButton(c, Rect(0, 0, 80, 30), Rect(10, 4, 70, 26), &g, 1, 1);
    std::vector<TColor> px;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 80; ++x) px.push_back(c->Pixels(x, y));
    return px;
  };
  const auto up = draw();
  EXPECT_EQ(static_cast<int>(g.CellValue), 10 + 4 * 65536);
  EXPECT_EQ(c->Pixels(5, 15), RGB(clWhite)) << "nothing outside the button";
  EXPECT_GT(CountOf(up, RGB(clBtnFace)), 0);
  g.CellBoolean = true;
  EXPECT_NE(draw(), up) << "pressed looks different";
}

}  // namespace

namespace {

TEST_F(PaintFixture, NewRecordsStartFromTheResolvedFormat) {
  EXPECT_EQ(Grid->GetCellProperties(2, 0)->BrushColor(), clSilver) << "fixed cell: fixed colour";
  EXPECT_EQ(Grid->GetCellProperties(2, 0)->FontName(), Grid->FixedFont()->Name());
  EXPECT_EQ(Grid->GetCellProperties(2, 2)->BrushColor(), clWhite);
  Grid->Bands()->SetPrimaryColor(clLime);
  Grid->Bands()->SetActive(true);
  EXPECT_EQ(Grid->GetCellProperties(2, 3)->BrushColor(), clNone) << "under bands: no own colour";
  Grid->GetCellProperties(2, 3)->SetFontColor(clRed);
  Paint();
  EXPECT_EQ(CellPixel(2, 3), RGB(clLime)) << "a record made under bands still shows the band";
}

}  // namespace

namespace {

TEST_F(PaintFixture, NodeRowTextStartsAfterTheNodeBox) {
  auto firstInk = [&](int c, int r) {
    const TRect R = Grid->GetCellRect(c, r);
    for (int x = R.Left; x < R.Right - 1; ++x)
      for (int y = R.Top + 1; y < R.Bottom - 1; ++y)
        if (PixelAt(x, y) == RGB(clBlack)) return x - R.Left;
    return -1;
  };
  Grid->SetColWidths(0, 120);
  Grid->FixedFont()->SetColor(clBlack);
  Grid->SetCellText(0, 2, "x");
  Grid->SetCellText(0, 3, "x");
  TCellGraphic* node = Grid->CreateCellGraphic(0, 3);
  node->CellType = ctNode;
  node->CellHAlign = haBeforeText;
  Grid->GetCellProperties(0, 3)->SetNodeLevel(2);
  // The node box itself in grey, so the first black ink is the text's.
  Grid->CellNode()->SetNodeType(cnFlat);
  Grid->CellNode()->SetNodeColor(clGray);
  Paint();
  const int plain = firstInk(0, 2);
  ASSERT_GE(plain, 0);
  EXPECT_EQ(firstInk(0, 3), plain + 2 * 12 + 4);
}

}  // namespace

namespace {

// ---- sort indicator: the outlined triangle by direction, where each
// alignment and text kind puts it, the cells that never carry one, the
// numbered marks of an indexed sort and the user's glyphs

class SortIndicatorFixture : public PaintFixture {
protected:
  void SetUp() override {
    PaintFixture::SetUp();
    Grid->SetRowCount(5);
    Grid->SetBounds(0, 0, 440, 220);
    for (int c = 0; c < 4; ++c) Grid->SetColWidths(c, 100);
    Grid->SetRowHeights(0, 40);
    Grid->OnGetAlignment = [this](TObject*, int r, int, TAlignment& h, TVAlignment& v) {
      if (r != 0) return;
      h = HAlign;
      v = VAlign;
    };
  }
  void SortOn(int ACol, TSortDirection Dir) {
    Grid->SortSettings()->SetColumn(ACol);
    Grid->SortSettings()->SetDirection(Dir);
    Grid->SortSettings()->SetShow(true);
  }
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
  // One glyph alone keeps the triangle; the second one brings both in.
  for (bool both : {false, true}) {
    if (both) Grid->SortSettings()->SetDownGlyph(down.get());
    for (TSortDirection dir : {sdAscending, sdDescending}) {
      SortOn(2, dir);
      Paint();
      const TRect R = Inner(2, 0);
      const int x = R.Left + 10, y = R.Top + 8;
      if (!both) {
        ExpectOutline(x, y, dir, "one glyph only: the triangle");
        continue;
      }
      EXPECT_EQ(PixelAt(x, y), RGB(dir == sdAscending ? clRed : clBlue));
      EXPECT_EQ(PixelAt(x - 4, y - 4), RGB(clSilver)) << "transparent corner";
      EXPECT_EQ(PixelAt(x, y + 4), RGB(clSilver)) << "no triangle under the glyph";
    }
  }
}

}  // namespace
