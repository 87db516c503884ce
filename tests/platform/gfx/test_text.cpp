// Text output: alignment to the font's metrics, background, extents, DrawText.
#include <gtest/gtest.h>

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
