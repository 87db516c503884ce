// Pixel-by-pixel drawing under clip regions of every shape: whatever is drawn
// through a clip must be exactly what the same drawing leaves without it,
// kept where the region holds the pixel and nowhere else.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "gfx_test_util.h"

namespace {

constexpr int kW = 120, kH = 90;

// All pixels of a bitmap, read with the clip lifted.
std::vector<TColor> Pixels(TBitmap& b) {
  TCanvas* c = b.Canvas();
  TRegion saved;
  const bool had = c->GetClipRgn(&saved) == 1;
  c->SelectClipRgn(nullptr);
  std::vector<TColor> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(c->ReadPixel(x, y));
  c->SelectClipRgn(had ? &saved : nullptr);
  return out;
}

// Counts the pixels where `clipped` differs from `plain` masked by `region`
// (white outside it); names the first one.
int MaskMismatches(const std::vector<TColor>& clipped, const std::vector<TColor>& plain, HRGN region,
                   std::string& first) {
  int bad = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const size_t i = static_cast<size_t>(y) * kW + x;
      const TColor want = !region || PtInRegion(region, x, y) ? plain[i] : clWhite;
      if (clipped[i] != want && bad++ == 0) first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
  return bad;
}

// A box of w x h centred in the bitmap, turned by deg degrees: one rectangle
// per row, as the projected box of a 3D chart.
HRGN TurnedBox(int w, int h, double deg) {
  const double a = deg * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a);
  std::vector<TPoint> p;
  for (auto [u, v] : {std::pair{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}})
    p.push_back({static_cast<int>(std::lround(kW / 2 + u * c - v * s)), static_cast<int>(std::lround(kH / 2 + u * s + v * c))});
  return CreatePolygonRgn(p, ALTERNATE);
}

HRGN Combined(HRGN a, HRGN b, int mode) {
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(r, a, b, mode);
  DeleteObject(a);
  DeleteObject(b);
  return r;
}

struct TRegionCase {
  const char* Name;
  std::function<HRGN()> Make;
};

std::vector<TRegionCase> Regions() {
  return {
      {"rectangle", [] { return CreateRectRgn(20, 15, 90, 70); }},
      {"rectangle beyond the top left", [] { return CreateRectRgn(-40, -30, 50, 40); }},
      {"rectangle with a hole", [] { return Combined(CreateRectRgn(10, 10, 110, 80), CreateRectRgn(40, 30, 70, 50), RGN_DIFF); }},
      {"ellipse", [] { return CreateEllipticRgn(5, 5, 115, 85); }},
      {"ellipse xor rectangle", [] { return Combined(CreateEllipticRgn(10, 5, 80, 70), CreateRectRgn(50, 20, 115, 60), RGN_XOR); }},
      {"turned box", [] { return TurnedBox(90, 50, 20); }},
      {"steep turned box", [] { return TurnedBox(100, 30, 70); }},
      {"comb of twelve teeth", [] {
         HRGN r = CreateRectRgn(0, 0, 0, 0);
         for (int k = 0; k < 12; ++k) {
           HRGN tooth = CreateRectRgn(5 + 9 * k, 10 + (k % 3) * 5, 9 + 9 * k, 80 - (k % 2) * 7);
           CombineRgn(r, r, tooth, RGN_OR);
           DeleteObject(tooth);
         }
         return r;
       }},
      {"two blobs one above the other", [] { return Combined(CreateEllipticRgn(20, 0, 70, 30), CreateRectRgn(40, 55, 100, 85), RGN_OR); }},
      {"rectangles one pixel apart", [] { return Combined(CreateRectRgn(10, 10, 50, 80), CreateRectRgn(51, 5, 100, 85), RGN_OR); }},
      {"empty", [] { return CreateRectRgn(0, 0, 0, 0); }},
      {"outside the bitmap", [] { return CreateRectRgn(200, 10, 260, 50); }},
  };
}

struct TPenCase {
  const char* Name;
  TPixelFormat Format;
  std::function<void(TCanvas*)> Setup;
};

std::vector<TPenCase> Pens() {
  return {
      {"solid", pfDevice, [](TCanvas* c) { c->Pen()->SetColor(clBlue); }},
      {"solid on 24-bit pixels", pf24bit, [](TCanvas* c) { c->Pen()->SetColor(clBlue); }},
      {"xor", pfDevice,
       [](TCanvas* c) {
         c->Pen()->SetColor(clYellow);
         c->Pen()->SetMode(pmXor);
       }},
      {"dotted, clear gaps", pfDevice,
       [](TCanvas* c) {
         c->Pen()->SetStyle(psDot);
         c->Pen()->SetColor(clRed);
         c->Brush()->SetStyle(bsClear);
       }},
      {"dash-dot, gaps in the background colour", pfDevice,
       [](TCanvas* c) {
         c->Pen()->SetStyle(psDashDot);
         c->Pen()->SetColor(clGreen);
         c->Brush()->SetColor(clSilver);
       }},
  };
}

// Segments across and beyond the bitmap, and some along the clip edges.
const std::vector<TPoint>& Path() {
  static const std::vector<TPoint> p = [] {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> x(-30, kW + 30), y(-30, kH + 30);
    std::vector<TPoint> v{{20, 15}, {89, 15}, {89, 69}, {20, 69}, {20, 15}, {0, 0}, {kW, kH}, {kW - 1, 0}, {0, kH - 1}};
    for (int i = 0; i < 40; ++i) v.push_back({x(rng), y(rng)});
    return v;
  }();
  return p;
}

void DrawLines(TCanvas* c) {
  const auto& p = Path();
  c->Polyline(p);
  c->MoveTo(p[0].X, p[0].Y);
  for (size_t i = 1; i < p.size(); i += 2) c->LineTo(p[i].X + 3, p[i].Y - 2);
}

TEST(GfxClipRaster, ClippedLinesAreTheUnclippedLinesMaskedByTheRegion) {
  for (const TPenCase& pen : Pens()) {
    TBitmap plain(kW, kH, pen.Format);
    pen.Setup(plain.Canvas());
    DrawLines(plain.Canvas());
    const std::vector<TColor> want = Pixels(plain);
    for (const TRegionCase& rc : Regions()) {
      SCOPED_TRACE(std::string(pen.Name) + " / " + rc.Name);
      TBitmap bmp(kW, kH, pen.Format);
      pen.Setup(bmp.Canvas());
      HRGN r = rc.Make();
      bmp.Canvas()->SelectClipRgn(r);
      DrawLines(bmp.Canvas());
      std::string at;
      EXPECT_EQ(MaskMismatches(Pixels(bmp), want, r, at), 0) << "first at " << at;
      DeleteObject(r);
    }
  }
}

// A styled pen's pattern runs on from segment to segment and over pixels
// the clip hides, also over segments hidden whole.
TEST(GfxClipRaster, PenPatternsRunOnAcrossSegmentsAndHiddenPixels) {
  struct TStyleCase {
    const char* Name;
    std::function<void(TCanvas*)> Setup;
    std::string Row;  // along the first 24 pixels, unclipped
  };
  const std::vector<TStyleCase> styles = {
      {"dot", [](TCanvas* c) { c->Pen()->SetStyle(psDot); }, "###...###...###...###..."},
      {"dash dot", [](TCanvas* c) { c->Pen()->SetStyle(psDashDot); }, "#########......###......"},
      {"user style with an empty gap",
       [](TCanvas* c) { c->Pen()->SetHandle(ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, {BS_SOLID, clBlack, 0}, {2, 0, 1, 3})); },
       "###...###...###...###..."},
  };
  const std::vector<TPoint> path = {{0, 1}, {4, 1}, {9, 1}, {11, 1}, {17, 1}, {30, 1}};
  for (const TStyleCase& st : styles)
    for (bool clipped : {false, true})
      for (bool polyline : {false, true}) {
        SCOPED_TRACE(std::string(st.Name) + (clipped ? ", clipped" : "") + (polyline ? ", polyline" : ", line to"));
        TSurface s(40, 3);
        s.C->Brush()->SetStyle(bsClear);
        st.Setup(s.C);
        std::string want = st.Row;
        if (clipped) {
          HRGN r = Combined(CreateRectRgn(0, 0, 40, 3), CreateRectRgn(6, 0, 14, 3), RGN_DIFF);
          s.C->SelectClipRgn(r);
          DeleteObject(r);
          for (int x = 6; x < 14; ++x) want[x] = '.';
        }
        if (polyline) {
          s.C->Polyline(path);
        } else {
          s.C->MoveTo(path[0].X, path[0].Y);
          for (size_t i = 1; i < path.size(); ++i) s.C->LineTo(path[i].X, path[i].Y);
        }
        std::string got;
        for (int x = 0; x < 24; ++x) got += s(x, 1) == clBlack ? '#' : '.';
        EXPECT_EQ(got, want);
      }
}

// Lines that reach far beyond the bitmap leave inside it the pixels they
// leave in the same place of a bitmap large enough to hold them whole.
TEST(GfxClipRaster, LinesReachingFarOutsideDrawTheSamePixelsInside) {
  constexpr int kBigW = 1400, kBigH = 1000, kOx = 640, kOy = 450;
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> x(0, kBigW - 1), y(0, kBigH - 1);
  std::vector<TPoint> pts{{0, 0}, {kBigW - 1, kBigH - 1}, {kOx - 5, kOy + 30}, {kOx + kW + 5, kOy + 30},
                          {kOx + 40, 0}, {kOx + 40, kBigH - 1}, {kOx - 100, kOy - 100}, {kOx + 200, kOy + 200}};
  for (int i = 0; i < 300; ++i) pts.push_back({x(rng), y(rng)});
  for (const TPenCase& pen : Pens()) {
    SCOPED_TRACE(pen.Name);
    TBitmap big(kBigW, kBigH, pen.Format), small(kW, kH, pen.Format);
    pen.Setup(big.Canvas());
    pen.Setup(small.Canvas());
    big.Canvas()->Polyline(pts);
    std::vector<TPoint> moved;
    for (const TPoint& p : pts) moved.push_back({p.X - kOx, p.Y - kOy});
    small.Canvas()->Polyline(moved);
    int bad = 0;
    for (int j = 0; j < kH; ++j)
      for (int i = 0; i < kW; ++i) bad += big.Canvas()->ReadPixel(kOx + i, kOy + j) != small.Canvas()->ReadPixel(i, j);
    EXPECT_EQ(bad, 0);
  }
  // Two billion pixels long, one step aside halfway: row or column 6 here.
  for (bool steep : {false, true}) {
    SCOPED_TRACE(steep ? "steep" : "flat");
    TSurface s(kW, kH);
    const int far = 1000000000;
    if (steep) {
      s.C->MoveTo(5, -far);
      s.C->LineTo(7, far);
    } else {
      s.C->MoveTo(-far, 5);
      s.C->LineTo(far, 7);
    }
    EXPECT_EQ(s.Inked(0, 0, kW, kH), steep ? kH : kW);
    EXPECT_EQ(steep ? s.Inked(6, 0, 7, kH) : s.Inked(0, 6, kW, 7), steep ? kH : kW);
  }
}

// Each step draws in its own colour under the clip the canvas reports; the
// last step that drew a pixel inside its clip owns it.
TEST(GfxClipRaster, EveryChangeOfTheClipIsFollowed) {
  TSurface s(kW, kH);
  std::vector<TColor> want(static_cast<size_t>(kW) * kH, clWhite);
  int colour = 0;
  auto step = [&](const char* what) {
    SCOPED_TRACE(what);
    ++colour;
    const TColor c = static_cast<TColor>(RGB(40 * colour, 255 - 30 * colour, 100));
    TSurface plain(kW, kH);
    plain.C->Pen()->SetColor(c);
    DrawLines(plain.C);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    const bool has = s.C->GetClipRgn(clip) == 1;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (plain(x, y) != clWhite && (!has || PtInRegion(clip, x, y))) want[static_cast<size_t>(y) * kW + x] = c;
    DeleteObject(clip);
    s.C->Pen()->SetColor(c);
    DrawLines(s.C);
    std::string at;
    EXPECT_EQ(MaskMismatches(Pixels(s.Bmp), want, nullptr, at), 0) << "first at " << at;
  };
  HRGN ellipse = CreateEllipticRgn(5, 5, 115, 85), box = TurnedBox(90, 50, 20);
  s.C->SelectClipRgn(ellipse);
  step("ellipse");
  s.C->SelectClipRgn(box);
  step("turned box");
  OffsetRgn(box, 15, 0);  // the canvas keeps its own copy
  step("turned box, its handle moved");
  s.C->SelectClipRgn(box);
  step("moved box selected");
  const int saved = s.C->SaveDC();
  s.C->ExcludeClipRect(40, 0, 60, kH);
  step("slot cut out");
  s.C->ExtSelectClipRgn(ellipse, RGN_XOR);
  step("xor ellipse");
  s.C->RestoreDC(saved);
  step("restored");
  s.C->IntersectClipRect(30, 20, 100, 60);
  step("one rectangle left");
  s.C->SelectClipRgn(nullptr);
  step("no clip");
  DeleteObject(ellipse);
  DeleteObject(box);
}

// The clip is kept when the bitmap changes size: rows it gains are clipped
// like the others, rows it loses are not drawn on.
TEST(GfxClipRaster, TheClipHoldsWhileTheBitmapChangesSize) {
  TBitmap b(40, 20);
  TCanvas* c = b.Canvas();
  HRGN r = CreatePolygonRgn(std::vector<TPoint>{{0, 0}, {39, 10}, {30, 60}, {5, 50}}, ALTERNATE);
  c->SelectClipRgn(r);
  auto sweep = [&] {
    for (int x = 0; x < 40; x += 2) {
      c->MoveTo(x, 0);
      c->LineTo(x, 100);
    }
  };
  auto check = [&](const char* when) {
    SCOPED_TRACE(when);
    int bad = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < 40; ++x) bad += (At(b, x, y) == clBlack) != (x % 2 == 0 && PtInRegion(r, x, y));
    EXPECT_EQ(bad, 0);
  };
  sweep();
  check("first size");
  b.SetSize(40, 70);
  sweep();
  check("grown");
  b.SetSize(40, 10);
  sweep();
  check("shrunk");
  DeleteObject(r);
}

struct TPixelOpCase {
  const char* Name;
  std::function<void(TCanvas*)> Draw;
};

TEST(GfxClipRaster, PixelsFocusRectanglesAndBlitsKeepToTheClip) {
  const std::vector<TPixelOpCase> ops = {
      {"pixels",
       [](TCanvas* c) {
         for (int y = 0; y < kH; y += 2)
           for (int x = y % 3; x < kW; x += 3) c->WritePixel(x, y, clFuchsia);
       }},
      {"focus rectangles",
       [](TCanvas* c) {
         for (int k = 0; k < 40; k += 3) c->DrawFocusRect({k, k / 2, kW - k, kH - k / 2});
       }},
      {"inverting blit", [](TCanvas* c) { c->PatBlt(-10, 10, kW + 20, kH - 30, DSTINVERT); }},
      {"pattern blit",
       [](TCanvas* c) {
         c->Brush()->SetStyle(bsDiagCross);
         c->Brush()->SetColor(clNavy);
         c->PatBlt(10, -5, kW - 30, kH, PATINVERT);
       }},
  };
  for (const TPixelOpCase& op : ops) {
    TSurface plain(kW, kH);
    op.Draw(plain.C);
    const std::vector<TColor> want = Pixels(plain.Bmp);
    for (const TRegionCase& rc : Regions()) {
      SCOPED_TRACE(std::string(op.Name) + " / " + rc.Name);
      TSurface s(kW, kH);
      HRGN r = rc.Make();
      s.C->SelectClipRgn(r);
      op.Draw(s.C);
      std::string at;
      EXPECT_EQ(MaskMismatches(Pixels(s.Bmp), want, r, at), 0) << "first at " << at;
      int wrongReads = 0;
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) wrongReads += (s.C->ReadPixel(x, y) == CLR_INVALID) == PtInRegion(r, x, y);
      EXPECT_EQ(wrongReads, 0) << "ReadPixel answers CLR_INVALID exactly outside the clip";
      DeleteObject(r);
    }
  }
}

// A fill that starts inside a clip of one piece covers the clip and nothing
// else; one that starts outside the clip paints nothing.
TEST(GfxClipRaster, FloodFillStopsAtTheClip) {
  struct TFillCase {
    const char* Name;
    std::function<HRGN()> Make;
    TPoint Seed;
  };
  const std::vector<TFillCase> cases = {
      {"turned box", [] { return TurnedBox(90, 50, 20); }, {kW / 2, kH / 2}},
      {"ellipse", [] { return CreateEllipticRgn(5, 5, 115, 85); }, {kW / 2, kH / 2}},
      {"rectangle with a hole",
       [] { return Combined(CreateRectRgn(10, 10, 110, 80), CreateRectRgn(40, 30, 70, 50), RGN_DIFF); },
       {kW / 2, 15}},
  };
  for (const TFillCase& k : cases) {
    SCOPED_TRACE(k.Name);
    TSurface s(kW, kH);
    HRGN r = k.Make();
    s.C->SelectClipRgn(r);
    s.C->Brush()->SetColor(clBlue);
    s.C->FloodFill(0, 0, clWhite, true);
    EXPECT_EQ(s.Inked(0, 0, kW, kH), 0);
    s.C->Brush()->SetColor(clRed);
    s.C->FloodFill(k.Seed.X, k.Seed.Y, clWhite, true);
    int bad = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) bad += (s(x, y) == clRed) != PtInRegion(r, x, y);
    EXPECT_EQ(bad, 0);
    DeleteObject(r);
  }
}

}  // namespace
