// Text output: alignment to the font's metrics, background, extents, DrawText.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx_test_util.h"

namespace {
void UseFont(TCanvas* c, int size = 20) {
  c->Font()->SetName("Arial");
  c->Font()->SetSize(size);
  c->Font()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
}
}  // namespace

TEST(GfxText, BaselineTopAndBottomFollowTheFontMetrics) {
  TSurface probe(10, 10);
  UseFont(probe.C);
  TTextMetric tm;
  ASSERT_TRUE(probe.C->GetTextMetrics(tm));
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_EQ(probe.C->TextHeight("Hg"), tm.tmHeight);
  EXPECT_GT(tm.tmAscent, 18);  // a 20-point font is 27 pixels high at 96 pixels per inch

  struct Case {
    unsigned Align;
    int Y;
  } cases[] = {{TA_BASELINE, 60}, {TA_TOP, 60 - tm.tmAscent}, {TA_BOTTOM, 60 + tm.tmDescent}};
  for (const Case& k : cases) {
    TSurface s(200, 100);
    UseFont(s.C);
    s.C->SetTextAlign(k.Align | TA_LEFT);
    s.C->TextOut(10, k.Y, "HHH");
    TRect ink = s.InkBox();
    // capital H sits on the baseline (y = 60): its last row is 59
    EXPECT_EQ(ink.Bottom, 60) << k.Align;
    EXPECT_GT(ink.Height(), tm.tmAscent / 2) << k.Align;
    EXPECT_LE(ink.Top, 60 - tm.tmAscent / 2) << k.Align;
  }
}

TEST(GfxText, HorizontalAlignmentAndPenPosition) {
  TSurface probe(10, 10);
  UseFont(probe.C);
  int w = probe.C->TextWidth("MMMM");
  ASSERT_GT(w, 40);
  struct Case {
    unsigned Align;
    int Left, Right;
  } cases[] = {{TA_LEFT, 100, 100 + w}, {TA_RIGHT, 100 - w, 100}, {TA_CENTER, 100 - w / 2, 100 + w - w / 2}};
  for (const Case& k : cases) {
    TSurface s(250, 60);
    UseFont(s.C);
    s.C->SetTextAlign(k.Align | TA_TOP);
    s.C->TextOut(100, 10, "MMMM");
    TRect ink = s.InkBox();
    EXPECT_GE(ink.Left, k.Left - 1) << k.Align;
    EXPECT_LE(ink.Right, k.Right + 1) << k.Align;
    EXPECT_GT(ink.Width(), w * 3 / 4) << k.Align;
  }
  TSurface s(300, 60);
  UseFont(s.C);
  s.C->SetTextAlign(TA_UPDATECP);
  s.C->MoveTo(5, 5);
  s.C->TextOut(0, 0, "MM");
  s.C->TextOut(0, 0, "MM");
  EXPECT_EQ(s.C->PenPos(), Point(5 + 2 * s.C->TextWidth("MM"), 5));
}

TEST(GfxText, OpaqueBackgroundFillsTheTextCell) {
  TSurface s(200, 60);
  UseFont(s.C, 12);
  s.C->Brush()->SetColor(clYellow);  // a solid brush: opaque text background
  EXPECT_EQ(s.C->GetBkMode(), OPAQUE);
  s.C->TextOut(10, 10, "i i");
  TSize ext = s.C->TextExtent("i i");
  EXPECT_EQ(s.InkBox(), Rect(10, 10, 10 + ext.cx, 10 + ext.cy));
  EXPECT_EQ(s(10 + ext.cx / 2, 10 + ext.cy - 1), clYellow);
  TSurface t(200, 60);
  UseFont(t.C, 12);
  t.C->TextOut(10, 10, "i i");  // clear brush: transparent
  EXPECT_EQ(t(10 + ext.cx / 2, 10 + ext.cy - 1), clWhite);
}

TEST(GfxText, RotatedTextRunsUpwards) {
  TSurface s(100, 200);
  UseFont(s.C, 14);
  s.C->Font()->SetOrientation(900);
  s.C->TextOut(40, 150, "WWWWW");
  TRect ink = s.InkBox();
  EXPECT_GT(ink.Height(), ink.Width() * 2);
  EXPECT_LE(ink.Bottom, 152);
  // aligned to the top of the cell, which now faces left: the text lies right of x
  EXPECT_GE(ink.Left, 39);
  EXPECT_LE(ink.Right, 41 + s.C->TextHeight("W"));
}

TEST(GfxText, DrawTextWrapsMeasuresAndShortens) {
  TSurface s(300, 200);
  UseFont(s.C, 10);
  int lh = s.C->TextHeight("W");
  TRect r{0, 0, 80, 0};
  int h = s.C->DrawText("one two three four five six", r, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_GE(h, 2 * lh);
  EXPECT_EQ(h % lh, 0);
  EXPECT_EQ(r.Bottom, h);
  EXPECT_LE(r.Width(), 80);
  EXPECT_EQ(s.Inked(0, 0, 300, 200), 0);  // measuring draws nothing

  TRect one{0, 0, 300, 0};
  EXPECT_EQ(s.C->DrawText("a&&b &x", one, DT_CALCRECT | DT_SINGLELINE), lh);
  EXPECT_EQ(one.Width(), s.C->TextWidth("a&b x"));

  TRect box{10, 10, 60, 40};
  s.C->DrawText("a rather long caption", box, DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER);
  TRect ink = s.InkBox();
  EXPECT_GE(ink.Left, 10);
  EXPECT_LE(ink.Right, 60);
  EXPECT_GT(ink.Top, 10);
  EXPECT_LT(ink.Bottom, 40);

  TSurface c(300, 60);
  UseFont(c.C, 10);
  TRect cr{0, 0, 300, 30};
  c.C->DrawText("mid", cr, DT_CENTER | DT_SINGLELINE);
  TRect ci = c.InkBox();
  EXPECT_NEAR((ci.Left + ci.Right) / 2, 150, 3);
}

// Widths are kept per font and text across canvases: the same text in
// another font, style or letter spacing is measured afresh, and the kept
// widths stay right after more texts than are kept have pushed them out.
TEST(GfxText, KeptWidthsFollowFontTextAndSpacing) {
  TSurface a(10, 10), b(10, 10);
  UseFont(a.C, 10);
  UseFont(b.C, 10);
  const int plain = a.C->TextWidth("rtf 1.25");
  EXPECT_EQ(b.C->TextWidth("rtf 1.25"), plain);
  EXPECT_LT(a.C->TextWidth("iii 1.25"), plain);
  EXPECT_GT(a.C->TextWidth("WWW 1.25"), plain);
  b.C->Font()->SetStyle({fsBold});
  EXPECT_GT(b.C->TextWidth("rtf 1.25"), plain);
  b.C->Font()->SetStyle({});
  b.C->SetTextCharacterExtra(3);
  EXPECT_EQ(b.C->TextWidth("rtf 1.25"), plain + 8 * 3);
  b.C->SetTextCharacterExtra(0);
  EXPECT_EQ(b.C->TextWidth("rtf 1.25"), plain);

  std::vector<int> first;
  for (int i = 0; i < 6000; ++i) first.push_back(a.C->TextWidth("W" + std::to_string(i * 7919)));
  EXPECT_EQ(a.C->TextWidth("rtf 1.25"), plain);
  for (int i = 0; i < 6000; ++i) ASSERT_EQ(b.C->TextWidth("W" + std::to_string(i * 7919)), first[i]) << i;
  // A text longer than any kept one is measured each time, the same way.
  const std::string longText(2000, 'W');
  EXPECT_EQ(a.C->TextWidth(longText), b.C->TextWidth(longText));
  EXPECT_GT(a.C->TextWidth(longText), 1000 * plain / 8);
}

// Texts in several fonts, styles, alignments and modes, each drawn twice (the
// second time from what was kept of the first), kept as a reviewed picture:
// any change of these pixels is a change of behaviour.
TEST(GfxText, TextsInFontsStylesAndAlignmentsMatchTheReviewedPicture) {
  TBitmap bmp(480, 420);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect({0, 0, 480, 420});
  struct TFace {
    const char* Name;
    int Size;
    TFontStyles Style;
    TFontQuality Quality;
  };
  const TFace faces[] = {{"Arial", 8, {}, fqDefault},
                         {"Tahoma", 9, {fsBold}, fqDefault},
                         {"Times New Roman", 11, {fsItalic}, fqAntialiased},
                         {"Courier New", 10, {}, fqNonAntialiased},
                         {"Arial", 14, {fsBold, fsItalic}, fqAntialiased},
                         {"Arial", 9, {fsUnderline}, fqDefault},
                         {"Times New Roman", 10, {fsStrikeOut}, fqDefault}};
  const unsigned aligns[] = {TA_LEFT | TA_TOP, TA_CENTER | TA_BASELINE, TA_RIGHT | TA_BOTTOM};
  const char* texts[] = {"Rwp  12.345", "2 theta (deg)", "\xC3\x85 \xC2\xB5m caf\xC3\xA9", "a\tb fi AV"};
  int y = 4;
  for (const TFace& f : faces) {
    c->Font()->SetName(f.Name);
    c->Font()->SetSize(f.Size);
    c->Font()->SetStyle(f.Style);
    c->Font()->SetQuality(f.Quality);
    for (int pass = 0; pass < 2; ++pass) {
      int x = 4;
      for (int i = 0; i < 4; ++i) {
        c->Font()->SetColor(i % 2 ? clNavy : clBlack);
        c->SetTextAlign(aligns[i % 3]);
        c->SetBkMode(i == 2 ? OPAQUE : TRANSPARENT);
        c->SetBkColor(clYellow);
        c->TextOut(x + (i % 3 == 1 ? 55 : i % 3 == 2 ? 110 : 0), y + 14, texts[i]);
        x += 118;
      }
      y += 20;
    }
  }
  // Clipped and opaque cells, DrawText placements, letter spacing, a turned text.
  c->Font()->SetName("Arial");
  c->Font()->SetSize(9);
  c->Font()->SetStyle({});
  c->Font()->SetQuality(fqDefault);
  c->SetTextAlign(TA_LEFT | TA_TOP);
  c->SetBkMode(OPAQUE);
  c->SetBkColor(clAqua);
  c->TextRect({4, y, 60, y + 16}, 6, y + 1, "a text wider than its cell");
  c->SetBkMode(TRANSPARENT);
  const unsigned formats[] = {DT_LEFT | DT_SINGLELINE | DT_VCENTER, DT_CENTER | DT_SINGLELINE | DT_VCENTER,
                              DT_RIGHT | DT_SINGLELINE | DT_BOTTOM, DT_WORDBREAK,
                              DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER};
  for (int i = 0; i < 5; ++i) {
    TRect r{70 + i * 80, y, 146 + i * 80, y + 34};
    c->Rectangle(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    c->DrawText("Value 1.25e-3 and more", r, formats[i]);
  }
  y += 40;
  c->SetTextCharacterExtra(2);
  c->TextOut(4, y, "spaced out 12.5");
  c->SetTextCharacterExtra(0);
  c->TextOut(160, y, "spaced out 12.5");
  c->Font()->SetOrientation(900);
  c->TextOut(440, y + 60, "turned");
  c->Font()->SetOrientation(0);
  EXPECT_EQ(GoldenDifferences(bmp, "text_styles.png"), 0);
}
