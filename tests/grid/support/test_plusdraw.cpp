// The visual-style binding and the cell drawing routines: gradients,
// progress bars (plain, styled, pies), range bars, bitmaps on a colour, the
// combo button and the layered-window wrappers, drawn into small ARGB
// bitmaps and probed at a few pixels.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "grid/support/gridprogress.h"
#include "grid/support/plusutil.h"
#include "grid/support/plusxpvs.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/framectl.h"
#include "platform/ui/forms.h"
#include "platform/ui/windowfx.h"

namespace {

// A white 32-bit bitmap with pixel probes.
struct TSurface {
  TBitmap Bmp;
  TCanvas* C;
  TSurface(int w = 100, int h = 20) : Bmp(w, h, pf32bit), C(Bmp.Canvas()) {
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, w, h));
  }
  TColor operator()(int x, int y) { return C->Pixels(x, y); }
  // The columns of row y whose colour is c, as [left, right) runs.
  std::vector<std::pair<int, int>> Runs(int y, TColor c) {
    std::vector<std::pair<int, int>> out;
    for (int x = 0; x < Bmp.Width(); ++x)
      if ((*this)(x, y) == c) {
        if (!out.empty() && out.back().second == x)
          out.back().second = x + 1;
        else
          out.emplace_back(x, x + 1);
      }
    return out;
  }
};

// ---- Visual-style binding

HTHEME FakeOpen(HWND, const char16_t*) { return reinterpret_cast<HTHEME>(1); }
int FakeClose(HTHEME) { return 0; }
int Drawn = 0;
int FakeDraw(HTHEME, TCanvas* c, int part, int state, const TRect* r, const TRect*) {
  ++Drawn;
  c->Brush()->SetColor(part == 1 && state == 1 ? clFuchsia : clBlack);
  c->FillRect(*r);
  return 0;
}
int ActiveAnswer = 1;
int FakeActive() { return ActiveAnswer; }
int FakeName(char16_t*, int, char16_t* color, int, char16_t*, int) {
  const char16_t name[] = u"HomeStead";
  for (int i = 0; name[i] || (color[i] = 0, false); ++i) color[i] = name[i];
  return 0;
}

void* FakeLookup(const std::string& n, const std::string& missing) {
  if (n == missing) return nullptr;
  if (n == "OpenThemeData") return reinterpret_cast<void*>(&FakeOpen);
  if (n == "CloseThemeData") return reinterpret_cast<void*>(&FakeClose);
  if (n == "DrawThemeBackground") return reinterpret_cast<void*>(&FakeDraw);
  if (n == "IsThemeActive") return reinterpret_cast<void*>(&FakeActive);
  if (n == "GetCurrentThemeName") return reinterpret_cast<void*>(&FakeName);
  return nullptr;
}

struct VisualStyles : ::testing::Test {
  void TearDown() override {
    DoneXPVS();
    InitXPVS();
  }
};

// No theme library here: the desktop's widget style serves the entry points.
TEST_F(VisualStyles, NoLibraryBindsTheDesktopStyle) {
  TForm form(nullptr);  // the application, and with it the style
  DoneXPVS();
  InitXPVS();
  EXPECT_TRUE(XPVSLoaded());
  EXPECT_TRUE(ThemesActive());
  EXPECT_EQ(CurrentThemeColorName(), "") << "no colour scheme: the plain colour set";
  EXPECT_FALSE(VisualStylesActive());
  EXPECT_EQ(OpenThemeData(0, u"window"), nullptr);
  HTHEME button = OpenThemeData(0, u"Window; BUTTON");
  ASSERT_NE(button, nullptr);
  TBitmap bmp;
  bmp.SetSize(16, 16);
  auto draw = [&](int part, int state) {
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(0, 0, 16, 16));
    const TRect r = Rect(1, 1, 14, 14);
    const int answer = DrawThemeBackground(button, bmp.Canvas(), part, state, &r, nullptr);
    std::vector<TColor> px;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) px.push_back(bmp.Canvas()->Pixels(x, y));
    return std::pair(answer, px);
  };
  const auto blank = draw(0, 1);
  EXPECT_NE(blank.first, 0) << "no part 0";
  EXPECT_NE(draw(4, 1).first, 0) << "a button has no part 4";
  // Check box: unchecked, checked, mixed, and checked disabled all differ.
  std::vector<std::vector<TColor>> looks;
  for (int state : {1, 5, 9, 8}) {
    const auto [answer, px] = draw(3, state);
    EXPECT_EQ(answer, 0) << state;
    EXPECT_NE(px, blank.second) << state;
    for (const auto& other : looks) EXPECT_NE(px, other) << state;
    looks.push_back(px);
  }
  EXPECT_EQ(CloseThemeData(button), 0);
}

TEST_F(VisualStyles, ALibraryLackingAFunctionCountsAsAbsent) {
  for (const char* missing : {"OpenThemeData", "DrawThemeBackground", "GetCurrentThemeName"}) {
    EXPECT_FALSE(BindXPVS([&](const std::string& n) { return FakeLookup(n, missing); })) << missing;
    EXPECT_FALSE(XPVSLoaded());
    EXPECT_EQ(OpenThemeData, nullptr);
    EXPECT_FALSE(ThemesActive());
  }
  ASSERT_TRUE(BindXPVS([](const std::string& n) { return FakeLookup(n, ""); }));
  ActiveAnswer = 1;
  EXPECT_TRUE(ThemesActive());
  EXPECT_EQ(CurrentThemeColorName(), "HomeStead");
  ActiveAnswer = 0;  // library there, no style active
  EXPECT_FALSE(ThemesActive());
  ActiveAnswer = 1;
}

TEST_F(VisualStyles, VersionTest) {
  EXPECT_FALSE(IsWinXPVersion(5, 0));
  EXPECT_FALSE(IsWinXPVersion(4, 90));
  EXPECT_TRUE(IsWinXPVersion(5, 1));
  EXPECT_TRUE(IsWinXPVersion(6, 0));
}

TEST_F(VisualStyles, ComboButtonThemedOnlyWhenAStyleIsActive) {
  TSurface s(40, 20);
  DrawComboButton(s.C, 0, Rect(0, 0, 40, 20), true);  // no library: classic
  EXPECT_NE(s(30, 10), clFuchsia);
  EXPECT_EQ(s(21, 10), clWhite);  // the button starts at right - 18
  EXPECT_NE(s(22, 10), clWhite);
  EXPECT_EQ(s(38, 10), clWhite);  // and ends at right - 2
  ASSERT_TRUE(BindXPVS([](const std::string& n) { return FakeLookup(n, ""); }));
  Drawn = 0;
  TSurface t(40, 20);
  DrawComboButton(t.C, 0, Rect(0, 0, 40, 20), true);
  EXPECT_EQ(Drawn, 1);
  EXPECT_EQ(t(22, 1), clFuchsia);
  EXPECT_EQ(t(37, 18), clFuchsia);
  EXPECT_EQ(t(22, 19), clWhite);
  DrawComboButton(t.C, 0, Rect(0, 0, 40, 20), false);  // not asked: classic
  EXPECT_EQ(Drawn, 1);
}

// ---- Gradients

TEST(CellDrawing, FillGradientRectWithoutSecondColourIsFlat) {
  TSurface s;
  FillGradientRect(s.C, clBtnFace, clNone, true, Rect(0, 0, 100, 20), 16);
  const TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
  for (int x : {0, 37, 99})
    for (int y : {0, 10, 19}) EXPECT_EQ(s(x, y), face) << x << "," << y;
  TSurface one;
  FillGradientRect(one.C, clRed, clBlue, false, Rect(0, 0, 100, 20), 1);  // one step: first colour
  EXPECT_EQ(one(0, 0), clRed);
  EXPECT_EQ(one(99, 19), clRed);
  TSurface zero;
  FillGradientRect(zero.C, clRed, clBlue, false, Rect(0, 0, 100, 20), 0);  // 0 counts as 1
  EXPECT_EQ(zero(50, 19), clRed);
}

TEST(CellDrawing, FillGradientRectSteps) {
  TSurface s;
  // Four horizontal steps of 25 pixels, red channel 0, 64, 128, 191.
  FillGradientRect(s.C, static_cast<TColor>(RGB(0, 0, 0)), static_cast<TColor>(RGB(255, 0, 0)), true,
                   Rect(0, 0, 100, 20), 4);
  EXPECT_EQ(s(0, 5), static_cast<TColor>(RGB(0, 0, 0)));
  EXPECT_EQ(s(24, 5), static_cast<TColor>(RGB(0, 0, 0)));
  EXPECT_EQ(s(26, 5), static_cast<TColor>(RGB(64, 0, 0)));
  EXPECT_EQ(s(60, 5), static_cast<TColor>(RGB(128, 0, 0)));
  EXPECT_EQ(s(99, 5), static_cast<TColor>(RGB(191, 0, 0)));
}

TEST(CellDrawing, GradientColorAt) {
  const TColor a = static_cast<TColor>(RGB(0, 100, 200)), b = static_cast<TColor>(RGB(200, 100, 0));
  EXPECT_EQ(GradientColorAt(a, b, 0, 0, 100), a);
  EXPECT_EQ(GradientColorAt(a, b, 0, 100, 100), b);
  EXPECT_EQ(GradientColorAt(a, b, 0, 50, 100), static_cast<TColor>(RGB(100, 100, 100)));
  EXPECT_EQ(GradientColorAt(clBtnFace, clNone, 0, 50, 100), clBtnFace);  // as given
  EXPECT_EQ(GradientColorAt(clBtnFace, b, 0, 0, 100), static_cast<TColor>(ColorToRGB(clBtnFace)));
  EXPECT_EQ(GradientColorAt(a, b, 5, 5, 5), a);  // empty range: the first colour
}

// ---- Range bar, plain progress bar, pie

TEST(CellDrawing, RangeBarFromTheMiddle) {
  struct {
    int value, max;
    int left, right;  // filled columns of row 10: [left, right), none when equal
    TColor colour;
  } cases[] = {
      {200, 100, 50, 98, clGreen},   // beyond the maximum: exactly the right half
      {50, 100, 50, 74, clGreen},    // half of the 48-pixel half
      {-100, 100, 2, 50, clRed},     // the left half
      {-500, 100, 2, 50, clRed},
      {5, 0, 0, 0, clGreen},         // no maximum: no bar
  };
  for (const auto& c : cases) {
    TSurface s;
    DrawRangeBar(s.C, Rect(0, 0, 100, 20), c.value, clGreen, clRed, false, c.max);
    auto runs = s.Runs(10, c.colour);
    if (c.left == c.right) {
      EXPECT_TRUE(runs.empty()) << c.value;
      continue;
    }
    ASSERT_EQ(runs.size(), 1u) << c.value;
    EXPECT_EQ(runs[0], std::make_pair(c.left, c.right)) << c.value;
  }
}

TEST(CellDrawing, ProgressBarDoneAndRestParts) {
  TSurface s;
  DrawProgressBar(s.C, Rect(0, 0, 100, 20), clBlue, clWhite, clYellow, clBlack, clBlack, "", 25, 0, 100, 2, 2,
                  false);
  // Bar (2,2)-(98,18): 96 wide, done to 2 + 24.
  EXPECT_EQ(s(3, 3), clBlue);
  EXPECT_EQ(s(25, 3), clBlue);
  EXPECT_EQ(s(26, 3), clYellow);
  EXPECT_EQ(s(97, 17), clYellow);
  EXPECT_EQ(s(1, 1), clBlack);  // border grown by one
  struct {
    double value;
    int min, max;
    TColor at3, at96;
  } cases[] = {
      {0, 0, 100, clYellow, clYellow},   // nothing done
      {100, 0, 100, clBlue, clBlue},     // all done
      {150, 0, 100, clBlue, clBlue},     // limited to 100
      {-5, 0, 100, clYellow, clYellow},  // limited to 0
      {7, 7, 7, clYellow, clYellow},     // empty range: nothing done
      {60, 50, 70, clBlue, clYellow},    // half of 50..70
  };
  for (const auto& c : cases) {
    TSurface t;
    DrawProgressBar(t.C, Rect(0, 0, 100, 20), clBlue, clWhite, clYellow, clBlack, clNone, c.min == 50 ? "%d" : "",
                    c.value, c.min, c.max, 2, 2, false);
    EXPECT_EQ(t(3, 3), c.at3) << c.value;
    EXPECT_EQ(t(96, 3), c.at96) << c.value;
    if (c.min == 50) {
      EXPECT_EQ(t(49, 3), clBlue);
      EXPECT_EQ(t(51, 3), clYellow);
    }
  }
}

TEST(CellDrawing, ProgressPieFillsClockwiseFromTwelve) {
  TSurface s(40, 40);
  s.C->Brush()->SetColor(clWhite);
  DrawProgressPie(s.C, Rect(0, 0, 40, 40), clRed, false, 25);
  EXPECT_EQ(s(30, 12), clRed);    // upper right quarter
  EXPECT_EQ(s(10, 12), clWhite);  // upper left: not reached
  EXPECT_EQ(s(30, 28), clWhite);  // lower right: not reached
}

// ---- Bitmaps on a colour

TEST(CellDrawing, BitmapOnColorReplacesTheTopLeftColour) {
  TBitmap b(4, 3, pf32bit);
  b.Canvas()->Brush()->SetColor(clTeal);
  b.Canvas()->FillRect(Rect(0, 0, 4, 3));
  b.Canvas()->SetPixels(2, 1, clBlack);
  TSurface s(20, 20);
  DrawBitmapOnColor(s.C, &b, clYellow, Rect(5, 6, 19, 19));
  EXPECT_EQ(s(5, 6), clYellow);
  EXPECT_EQ(s(8, 8), clYellow);
  EXPECT_EQ(s(7, 7), clBlack);
  EXPECT_EQ(s(9, 6), clWhite);  // own size only, not the rectangle's
  EXPECT_EQ(s(5, 9), clWhite);

  TSurface r(20, 20);
  DrawResourceBitmap(r.C, clYellow, Rect(0, 0, 20, 20), "ASGLEAFCLOSE");
  EXPECT_EQ(r(0, 0), clYellow);
  EXPECT_EQ(r(5, 5), clBlack);   // the plus
  EXPECT_EQ(r(12, 0), clWhite);  // 12 x 12
  TSurface none(20, 20);
  DrawResourceBitmap(none.C, clYellow, Rect(0, 0, 20, 20), "NOSUCHBITMAP");
  EXPECT_EQ(none(0, 0), clWhite);
}

TEST(CellDrawing, ErrorUnderlineZigZagsUnderTheRange) {
  TSurface s(100, 20);
  s.C->Font()->SetName("Arial");
  s.C->Font()->SetSize(10);
  const int w = s.C->TextWidth("abc");
  DrawErrorUnderline(nullptr, s.C, "abc def", Rect(0, 0, 100, 20), 10, 0, 3);
  int red = 0, firstX = 100, lastX = -1;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 100; ++x)
      if (s(x, y) == clRed) {
        ++red;
        firstX = std::min(firstX, x);
        lastX = std::max(lastX, x);
      }
  EXPECT_GT(red, 0);
  EXPECT_LE(firstX, 2);
  EXPECT_GE(lastX, w - 3);
  EXPECT_LE(lastX, w + 8);
  for (int y = 0; y < 9; ++y) EXPECT_EQ(s.Runs(y, clRed).size(), 0u) << y;  // below the offset only
}

// ---- Layered windows

TEST(CellDrawing, LayeredWindowCalls) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 50, 40);
  const HWND h = form.Handle();
  EXPECT_TRUE(CallSetLayeredWindowAttributes(h, clNone, 128, LWA_ALPHA));
  EXPECT_EQ(WindowOpacity(h), 128);
  TBlendFunction blend;
  blend.SourceConstantAlpha = 200;
  const TPoint pos{10, 12};
  EXPECT_TRUE(CallUpdateLayeredWindow(h, nullptr, &pos, nullptr, nullptr, nullptr, clNone, &blend, ULW_ALPHA));
  EXPECT_EQ(WindowOpacity(h), 200);
  EXPECT_EQ(form.Left(), 10);
  EXPECT_FALSE(CallSetLayeredWindowAttributes(0, clNone, 10, LWA_ALPHA));  // no such window
  // Without the functions the wrappers do nothing and report success.
  SetLayeredWindowFunctionsAvailable(false);
  EXPECT_TRUE(CallSetLayeredWindowAttributes(0, clNone, 10, LWA_ALPHA));
  EXPECT_TRUE(CallSetLayeredWindowAttributes(h, clNone, 10, LWA_ALPHA));
  EXPECT_EQ(WindowOpacity(h), 200);
  SetLayeredWindowFunctionsAvailable(true);
}

// ---- Styled progress bar

TProgressSettings Plain() {
  TProgressSettings s;
  s.ShowPercentage = false;
  return s;
}

TEST(StyledProgressBar, LevelColours) {
  struct {
    int percent;
    TColor colour;
  } cases[] = {{50, clLime}, {69, clLime}, {70, clYellow}, {75, clYellow}, {90, 0x53A9FF}, {95, 0x53A9FF},
               {99, 0x53A9FF}, {100, clRed}};
  for (bool gradient : {false, true}) {
    for (const auto& c : cases) {
      TSurface s;
      TProgressSettings st = Plain();
      st.ShowGradient = gradient;
      DrawStyledProgressBar(s.C, Rect(0, 0, 100, 20), c.percent, st);
      // The lower half of a gradient starts in the level's colour.
      EXPECT_EQ(s(5, 10), c.colour) << c.percent << " gradient " << gradient;
      if (gradient) {
        EXPECT_NE(s(5, 2), c.colour) << c.percent;
      }
    }
  }
  // Percent with the text on: the text is there, the colours still are.
  TSurface s;
  TProgressSettings st;
  st.ShowGradient = false;
  DrawStyledProgressBar(s.C, Rect(0, 0, 100, 20), 50, st);
  EXPECT_EQ(s(5, 10), clLime);
}

TEST(StyledProgressBar, SmoothWidthAndLimits) {
  TProgressSettings st = Plain();
  st.ShowGradient = false;
  // Rect 102 wide: X = 100, the part runs from L + 1 to L + 1 + percent.
  struct {
    int percent;
    int filledTo;  // first column after the filled part
  } cases[] = {{50, 51}, {100, 101}, {250, 101}, {0, 1}, {-20, 1}};
  for (const auto& c : cases) {
    TSurface s(110, 20);
    DrawStyledProgressBar(s.C, Rect(0, 0, 102, 20), c.percent, st);
    const TColor fill = c.percent >= 100 ? clRed : clLime;
    auto runs = s.Runs(10, fill);
    if (c.filledTo == 1) {
      EXPECT_TRUE(runs.empty()) << c.percent;
      continue;
    }
    ASSERT_EQ(runs.size(), 1u) << c.percent;
    EXPECT_EQ(runs[0], std::make_pair(1, c.filledTo)) << c.percent;
  }
}

TEST(StyledProgressBar, BlocksGeometry) {
  TProgressSettings st = Plain();
  st.ShowGradient = false;
  st.CompletionSmooth = false;
  TSurface s;  // 100 x 20, the bar 102 wide: X = 100
  DrawStyledProgressBar(s.C, Rect(0, 0, 102, 20), 50, st);
  const std::vector<std::pair<int, int>> blocks{{2, 9}, {11, 18}, {20, 27}, {29, 36}, {38, 45}, {47, 51}};
  EXPECT_EQ(s.Runs(10, clLime), blocks);
  EXPECT_EQ(s(5, 1), clWhite);   // blocks span T + 2 .. B - 2
  EXPECT_EQ(s(5, 2), clLime);
  EXPECT_EQ(s(5, 17), clLime);
  EXPECT_EQ(s(5, 18), clWhite);
  // U below 10: one part; U of 1 or less: nothing.
  TSurface small;
  DrawStyledProgressBar(small.C, Rect(0, 0, 102, 20), 5, st);
  EXPECT_EQ(small.Runs(10, clLime), (std::vector<std::pair<int, int>>{{2, 6}}));
  TSurface one;
  DrawStyledProgressBar(one.C, Rect(0, 0, 102, 20), 1, st);
  EXPECT_TRUE(one.Runs(10, clLime).empty());
}

TEST(StyledProgressBar, StackedSegments) {
  TProgressSettings st = Plain();
  st.ShowGradient = false;
  st.Stacked = true;
  TSurface s(110, 20);
  DrawStyledProgressBar(s.C, Rect(0, 0, 102, 20), 80, st);
  EXPECT_EQ(s.Runs(10, clLime), (std::vector<std::pair<int, int>>{{1, 71}}));
  EXPECT_EQ(s.Runs(10, clYellow), (std::vector<std::pair<int, int>>{{71, 81}}));
  EXPECT_TRUE(s.Runs(10, clRed).empty());
  TSurface full(110, 20);
  DrawStyledProgressBar(full.C, Rect(0, 0, 102, 20), 100, st);
  EXPECT_EQ(full.Runs(10, clRed), (std::vector<std::pair<int, int>>{{91, 101}}));  // fills the rest exactly
}

TEST(StyledProgressBar, ZeroShowsBackgroundFrameAndText) {
  TProgressSettings st;
  st.ShowBorder = true;
  st.BorderColor = clBlack;
  st.BackgroundColor = clSilver;
  TSurface s;
  s.C->Font()->SetColor(clBlue);
  TFont font;
  font.SetName("Arial");
  font.SetSize(8);
  font.SetColor(clBlue);
  st.Font = &font;
  DrawStyledProgressBar(s.C, Rect(0, 0, 100, 20), 0, st);
  EXPECT_EQ(s(0, 0), clBlack);
  EXPECT_EQ(s(99, 19), clBlack);
  EXPECT_EQ(s(3, 10), clSilver);
  int blue = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 30; x < 70; ++x) blue += s(x, y) == clBlue;
  EXPECT_GT(blue, 5);  // the "0%"
}

TEST(StyledProgressBar, AppearanceSettersAndAssign) {
  TGridProgressAppearance a, b;
  int changes = 0;
  a.OnChange = [&](TObject*) { ++changes; };
  a.SetLevel1Perc(70);  // unchanged: no event
  EXPECT_EQ(changes, 0);
  a.SetLevel1Perc(60);
  a.SetStacked(true);
  EXPECT_EQ(changes, 2);
  b.SetLevel2Color(clNavy);
  b.SetUnCompleteColor(clAqua);
  a.Assign(&b);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(a.Level2Color(), clNavy);
  EXPECT_EQ(a.Level1Perc(), 70);
  EXPECT_FALSE(a.Stacked());
  TFont f;
  TProgressSettings s = a.Settings(&f, clWhite);
  EXPECT_EQ(s.BackgroundColor, clAqua);
  EXPECT_EQ(f.Color(), clBlue);  // the complete font colour
  b.SetUnCompleteColor(clNone);
  EXPECT_EQ(b.Settings(nullptr, clCream).BackgroundColor, clCream);
  a.Assign(nullptr);  // other sources are ignored
  EXPECT_EQ(changes, 3);
}

}  // namespace
