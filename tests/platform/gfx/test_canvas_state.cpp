// The canvas's device state kept in step with the painter underneath (clip
// regions after blits, text and replays) and the caps of lines of no length.
#include <gtest/gtest.h>

#include <functional>

#include "gfx_test_util.h"
#include "platform/gfx/metafile.h"

namespace {

// Paints something under a rectangular clip, removes that clip, paints
// unclipped, then fills everything through a round region: the last fill must
// stay inside the round region whatever was painted first.
struct TClipCase {
  const char* Name;
  std::function<void(TCanvas*, TBitmap*)> UnderFirstClip;
  bool RemoveByRestoreDC;
};

void ClipSequence(TCanvas* c, const TClipCase& k, TBitmap* pic) {
  HRGN first = CreateRectRgn(0, 0, 30, 30);
  HRGN round = CreateRoundRectRgn(10, 10, 50, 50, 20, 20);
  int saved = c->SaveDC();
  c->SelectClipRgn(first);
  k.UnderFirstClip(c, pic);
  if (k.RemoveByRestoreDC) c->RestoreDC(saved);
  else c->SelectClipRgn(nullptr);
  c->Brush()->SetColor(clBlue);
  c->Rectangle(40, 0, 60, 8);
  c->SelectClipRgn(round);
  c->Brush()->SetColor(clRed);
  c->FillRect({0, 0, 60, 60});
  c->SelectClipRgn(nullptr);
  DeleteObject(first);
  DeleteObject(round);
}

void ExpectOnlyRoundRegionFilled(TSurface& s, const std::string& name) {
  // (the first step paints only inside the first clip, x and y < 30)
  EXPECT_EQ(s(30, 30), clRed) << name;
  EXPECT_EQ(s(11, 40), clRed) << name;
  EXPECT_EQ(s(49, 10), clWhite) << name;   // cut-off corners of the round region
  EXPECT_EQ(s(10, 49), clWhite) << name;
  EXPECT_EQ(s(49, 49), clWhite) << name;
  EXPECT_EQ(s(55, 55), clWhite) << name;   // outside its box
  EXPECT_EQ(s(2, 40), clWhite) << name;
  EXPECT_EQ(s(50, 4), clBlue) << name;     // the unclipped rectangle
}

std::vector<TClipCase> ClipCases() {
  auto text = [](TCanvas* c, TBitmap*) {
    c->Font()->SetName("Arial");
    c->Font()->SetSize(10);
    c->TextOut(2, 2, "Ag");
  };
  auto clippedText = [](TCanvas* c, TBitmap*) {
    TRect r{0, 0, 20, 20};
    c->ExtTextOut(2, 2, ETO_CLIPPED | ETO_OPAQUE, &r, "Ag");
  };
  return {
      {"Draw", [](TCanvas* c, TBitmap* b) { c->Draw(5, 5, b); }, false},
      {"StretchDraw", [](TCanvas* c, TBitmap* b) { c->StretchDraw({2, 2, 40, 40}, b); }, false},
      {"transparent Draw",
       [](TCanvas* c, TBitmap* b) {
         b->SetTransparent(true);
         c->Draw(5, 5, b);
         b->SetTransparent(false);
       },
       false},
      {"BitBlt", [](TCanvas* c, TBitmap* b) { c->BitBlt(3, 3, 8, 8, b->Canvas(), 0, 0, SRCCOPY); }, false},
      {"FillRect", [](TCanvas* c, TBitmap*) { c->FillRect({5, 5, 15, 15}); }, false},
      {"TextOut", text, false},
      {"clipped ExtTextOut", clippedText, false},
      {"GradientFill",
       [](TCanvas* c, TBitmap*) {
         TTriVertex v[2] = {{0, 0, 0xFF00, 0, 0, 0}, {20, 20, 0, 0xFF00, 0, 0}};
         TGradientRect g{0, 1};
         c->GradientFill(v, 2, &g, 1, GRADIENT_FILL_RECT_H);
       },
       false},
      {"Draw, clip removed by RestoreDC", [](TCanvas* c, TBitmap* b) { c->Draw(5, 5, b); }, true},
  };
}

}  // namespace

TEST(GfxCanvasClip, RoundClipHoldsAfterPaintingUnderAnEarlierClip) {
  TBitmap pic(10, 10);
  pic.Canvas()->Brush()->SetColor(clGreen);
  pic.Canvas()->FillRect({0, 0, 10, 10});
  for (const TClipCase& k : ClipCases()) {
    TSurface s(60, 60);
    ClipSequence(s.C, k, &pic);
    ExpectOnlyRoundRegionFilled(s, k.Name);
  }
}

TEST(GfxCanvasClip, RoundClipHoldsWhenTheSequenceIsReplayedFromAMetafile) {
  TBitmap pic(10, 10);
  pic.Canvas()->Brush()->SetColor(clGreen);
  pic.Canvas()->FillRect({0, 0, 10, 10});
  for (const TClipCase& k : ClipCases()) {
    TMetafile mf;
    mf.SetWidth(60);
    mf.SetHeight(60);
    {
      TMetafileCanvas mc(&mf);
      ClipSequence(&mc, k, &pic);
    }
    TSurface s(60, 60);
    s.C->Draw(0, 0, &mf);
    ExpectOnlyRoundRegionFilled(s, std::string("replayed ") + k.Name);
  }
}

TEST(GfxCanvasLines, ZeroLengthLineDrawsTheCapOfAWidePenOnly) {
  auto geometric = [](unsigned cap, int width) {
    return [=](TPen* p) {
      p->SetHandle(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | cap, width, TLogBrush{BS_SOLID, clBlack, 0}));
    };
  };
  struct Case {
    const char* Name;
    std::function<void(TPen*)> Pen;
    int Ink;     // pixels painted
    TRect Box;   // their bounding box
  } cases[] = {
      {"geometric round cap", geometric(PS_ENDCAP_ROUND, 5), 21, {8, 8, 13, 13}},
      {"geometric square cap", geometric(PS_ENDCAP_SQUARE, 5), 25, {8, 8, 13, 13}},
      {"geometric square cap, even width", geometric(PS_ENDCAP_SQUARE, 4), 16, {8, 8, 12, 12}},
      {"geometric flat cap", geometric(PS_ENDCAP_FLAT, 5), 0, {}},
      {"wide pen (round caps)", [](TPen* p) { p->SetWidth(5); }, 21, {8, 8, 13, 13}},
      {"wide clear pen", [](TPen* p) { p->SetWidth(5); p->SetStyle(psClear); }, 0, {}},
      {"cosmetic one-pixel pen", [](TPen* p) { p->SetWidth(1); }, 0, {}},
  };
  for (const Case& k : cases) {
    TSurface line(30, 30);
    k.Pen(line.C->Pen());
    line.C->MoveTo(10, 10);
    line.C->LineTo(10, 10);
    EXPECT_EQ(line.Inked(0, 0, 30, 30), k.Ink) << k.Name;
    EXPECT_EQ(line.InkBox(), k.Box) << k.Name;
    EXPECT_EQ(line.C->PenPos(), Point(10, 10)) << k.Name;

    TSurface poly(30, 30);  // a polyline that never moves is the same dot
    k.Pen(poly.C->Pen());
    poly.C->Polyline({{10, 10}, {10, 10}, {10, 10}});
    EXPECT_EQ(poly.Inked(0, 0, 30, 30), k.Ink) << "polyline, " << k.Name;
  }
}

TEST(GfxCanvasLines, ZeroLengthWideLineFollowsThePenMode) {
  TSurface s(30, 30);
  s.C->Pen()->SetWidth(5);
  s.C->Pen()->SetMode(pmNotXor);
  s.C->Pen()->SetColor(clBlack);  // not-xor with black inverts white
  s.C->MoveTo(10, 10);
  s.C->LineTo(10, 10);
  EXPECT_EQ(s(10, 10), clBlack);
  s.C->LineTo(10, 10);
  EXPECT_EQ(s.Inked(0, 0, 30, 30), 0);  // drawn twice: gone
}
