// Canvas pixel probes: the graphics device's geometry, raster operations,
// pen styles, hatches, clipping, regions, mapping modes, paths and blits.
#include <gtest/gtest.h>

#include <random>

#include "gfx_test_util.h"

TEST(GfxCanvas, RectangleLeavesRightAndBottomEdgesUnpainted) {
  TSurface s(20, 20);
  s.C->Brush()->SetColor(clRed);
  s.C->Rectangle(0, 0, 10, 10);
  EXPECT_EQ(s.InkBox(), Rect(0, 0, 10, 10));
  EXPECT_EQ(s(0, 0), clBlack);
  EXPECT_EQ(s(9, 9), clBlack);
  EXPECT_EQ(s(5, 5), clRed);
  EXPECT_EQ(s(10, 5), clWhite);
  EXPECT_EQ(s(5, 10), clWhite);
}

TEST(GfxCanvas, ShapesWithClearPenAreOnePixelSmaller) {
  struct Case {
    const char* Name;
    void (*Draw)(TCanvas*);
    TRect Box;
  } cases[] = {
      {"rectangle", [](TCanvas* c) { c->Rectangle(2, 3, 12, 13); }, {2, 3, 11, 12}},
      {"ellipse", [](TCanvas* c) { c->Ellipse(2, 3, 12, 13); }, {2, 3, 11, 12}},
      {"fillrect", [](TCanvas* c) { c->FillRect({2, 3, 12, 13}); }, {2, 3, 12, 13}},
  };
  for (const Case& k : cases) {
    TSurface s(20, 20);
    s.C->Pen()->SetStyle(psClear);
    s.C->Brush()->SetColor(clBlue);
    k.Draw(s.C);
    EXPECT_EQ(s.InkBox(), k.Box) << k.Name;
  }
}

TEST(GfxCanvas, EllipseAndRoundRectStayInsideTheirBox) {
  TSurface s(30, 30);
  s.C->Ellipse(5, 5, 25, 21);
  EXPECT_EQ(s.InkBox(), Rect(5, 5, 25, 21));
  EXPECT_EQ(s(15, 13), clWhite);  // filled with the white brush
  TSurface r(30, 30);
  r.C->RoundRect(5, 5, 25, 21, 8, 8);
  EXPECT_EQ(r.InkBox(), Rect(5, 5, 25, 21));
  EXPECT_EQ(r(5, 5), clWhite);  // corner cut off
}

TEST(GfxCanvas, LineToLeavesItsEndPointUnpaintedInEveryDirection) {
  struct Case {
    int X1, Y1;
  } ends[] = {{15, 10}, {5, 10}, {10, 15}, {10, 5}, {15, 15}, {5, 5}, {15, 6}, {4, 13}};
  for (const Case& e : ends) {
    TSurface s(20, 20);
    s.C->MoveTo(10, 10);
    s.C->LineTo(e.X1, e.Y1);
    EXPECT_EQ(s(10, 10), clBlack) << e.X1 << "," << e.Y1;
    EXPECT_EQ(s(e.X1, e.Y1), clWhite) << e.X1 << "," << e.Y1;
    int len = std::max(std::abs(e.X1 - 10), std::abs(e.Y1 - 10));
    EXPECT_EQ(s.Inked(0, 0, 20, 20), len);
    EXPECT_EQ(s.C->PenPos(), Point(e.X1, e.Y1));
  }
  TSurface h(10, 3);
  h.C->MoveTo(0, 0);
  h.C->LineTo(5, 0);
  EXPECT_EQ(h(4, 0), clBlack);
  EXPECT_EQ(h(5, 0), clWhite);
}

TEST(GfxCanvas, PolylineDrawsSharedCornersOnce) {
  TSurface s(20, 20);
  s.C->Pen()->SetMode(pmXor);
  s.C->Pen()->SetColor(clWhite);  // xor with white inverts
  s.C->Polyline({{2, 2}, {10, 2}, {10, 10}, {2, 10}});
  EXPECT_EQ(s(10, 2), clBlack);   // the corner is not inverted twice
  EXPECT_EQ(s(10, 10), clBlack);
  EXPECT_EQ(s(2, 10), clWhite);   // the last point is left out
  EXPECT_EQ(s.Inked(0, 0, 20, 20), 24);
}

TEST(GfxCanvas, PolygonFillsAlternateUnlessWinding) {
  // a five-pointed star drawn in one stroke: its centre is inside twice
  std::vector<TPoint> star = {{20, 2}, {31, 37}, {2, 15}, {38, 15}, {9, 37}};
  for (int mode : {ALTERNATE, WINDING}) {
    TSurface s(40, 40);
    s.C->Pen()->SetStyle(psClear);
    s.C->Brush()->SetColor(clGreen);
    s.C->SetPolyFillMode(mode);
    s.C->Polygon(star);
    EXPECT_EQ(s(20, 22), mode == ALTERNATE ? clWhite : clGreen) << mode;
    EXPECT_EQ(s(20, 8), clGreen);  // a tip
  }
}

TEST(GfxCanvas, NotXorDrawnTwiceRestoresTheSurface) {
  TSurface s(64, 48);
  std::mt19937 rng(7);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) s.C->Pixels(x, y);  // probe works before drawing
  for (int i = 0; i < 200; ++i) s.C->SetPixels(rng() % 64, rng() % 48, static_cast<TColor>(rng() & 0xFFFFFF));
  TBitmap before;
  before.Assign(&s.Bmp);
  s.C->Pen()->SetMode(pmNotXor);
  s.C->Pen()->SetColor(static_cast<TColor>(0x3366CC));
  s.C->Brush()->SetStyle(bsClear);
  for (int pass = 0; pass < 2; ++pass) {
    s.C->MoveTo(1, 1);
    s.C->LineTo(60, 40);
    s.C->Rectangle(5, 5, 50, 30);
    s.C->Ellipse(10, 10, 40, 40);
    if (pass == 0) {
      EXPECT_NE(At(s.Bmp, 1, 1), At(before, 1, 1));
    }
  }
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(At(s.Bmp, x, y), At(before, x, y)) << x << "," << y;
  s.C->DrawFocusRect({3, 3, 20, 20});
  EXPECT_NE(At(s.Bmp, 3, 3), At(before, 3, 3));
  s.C->DrawFocusRect({3, 3, 20, 20});
  EXPECT_EQ(At(s.Bmp, 3, 3), At(before, 3, 3));
}

TEST(GfxCanvas, PenModesCombinePenAndSurfaceBitwise) {
  const TColor dst = 0x0F0F0F, pen = 0x3355AA;
  struct Case {
    TPenMode Mode;
    TColor Expect;
  } cases[] = {
      {pmCopy, pen},         {pmNotCopy, ~pen & 0xFFFFFF}, {pmXor, pen ^ dst},        {pmNotXor, ~(pen ^ dst) & 0xFFFFFF},
      {pmMask, pen & dst},   {pmMerge, pen | dst},         {pmNot, ~dst & 0xFFFFFF},  {pmNop, dst},
      {pmBlack, 0},          {pmWhite, 0xFFFFFF},          {pmMaskPenNot, pen & ~dst & 0xFFFFFF},
      {pmMergeNotPen, (~pen | dst) & 0xFFFFFF},
  };
  for (const Case& c : cases) {
    TSurface s(8, 4);
    s.C->Brush()->SetColor(dst);
    s.C->FillRect({0, 0, 8, 4});
    s.C->Pen()->SetColor(pen);
    s.C->Pen()->SetMode(c.Mode);
    s.C->MoveTo(0, 1);
    s.C->LineTo(8, 1);
    EXPECT_EQ(s(3, 1), c.Expect) << c.Mode;
    EXPECT_EQ(s(3, 2), dst);
  }
}

TEST(GfxCanvas, CosmeticPenStylesCountDevicePixels) {
  auto pattern = [](std::function<void(TCanvas*)> setup) {
    TSurface s(40, 3);
    s.C->Brush()->SetColor(clYellow);  // opaque background, yellow gaps
    s.C->SetBkMode(TRANSPARENT);
    setup(s.C);
    s.C->MoveTo(0, 1);
    s.C->LineTo(40, 1);
    std::string out;
    for (int x = 0; x < 24; ++x) {
      TColor c = s(x, 1);
      out += c == clBlack ? '#' : c == clYellow ? 'y' : '.';
    }
    return out;
  };
  EXPECT_EQ(pattern([](TCanvas* c) { c->Pen()->SetStyle(psDot); }), "###...###...###...###...");
  EXPECT_EQ(pattern([](TCanvas* c) { c->Pen()->SetStyle(psAlternate); }), "#.#.#.#.#.#.#.#.#.#.#.#.");
  EXPECT_EQ(pattern([](TCanvas* c) { c->Pen()->SetStyle(psDash); }), "##################......");
  EXPECT_EQ(pattern([](TCanvas* c) {
              c->Pen()->SetStyle(psDot);
              c->SetBkMode(OPAQUE);
              c->SetBkColor(clYellow);
            }),
            "###yyy###yyy###yyy###yyy");
  // small round dots: dash 0, gap 4
  EXPECT_EQ(pattern([](TCanvas* c) {
              c->Pen()->SetHandle(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_ROUND, 1, {BS_SOLID, clBlack, 0},
                                               {0, 4}));
            }),
            "#...#...#...#...#...#...");
  // a wide pen ignores dashes and draws solid, three pixels across
  TSurface w(20, 9);
  w.C->Pen()->SetStyle(psDash);
  w.C->Pen()->SetWidth(3);
  w.C->MoveTo(2, 4);
  w.C->LineTo(17, 4);
  EXPECT_EQ(w(9, 3), clBlack);
  EXPECT_EQ(w(9, 5), clBlack);
  EXPECT_EQ(w(9, 7), clWhite);
  EXPECT_EQ(w(12, 4), clBlack);
}

TEST(GfxCanvas, HatchBrushesUseBackgroundModeAndColour) {
  struct Case {
    TBrushStyle Style;
    int X, Y;  // an inked pixel of the pattern
    int Ux, Uy;  // an uninked one
  } cases[] = {{bsHorizontal, 3, 7, 3, 6}, {bsVertical, 7, 2, 6, 2}, {bsFDiagonal, 4, 4, 4, 3},
               {bsBDiagonal, 2, 5, 2, 4}, {bsCross, 7, 3, 3, 3},    {bsDiagCross, 5, 2, 3, 5}};
  for (const Case& c : cases) {
    TSurface s(16, 16);
    s.C->Pen()->SetStyle(psClear);
    s.C->Brush()->SetColor(clRed);
    s.C->Brush()->SetStyle(c.Style);
    s.C->FillRect({0, 0, 16, 16});
    EXPECT_EQ(s(c.X, c.Y), clRed) << c.Style;
    EXPECT_EQ(s(c.Ux, c.Uy), clWhite) << c.Style;  // transparent: the surface shows
    EXPECT_EQ(s(c.X + 8, c.Y + 8), clRed);          // 8 x 8 repeat
    s.C->SetBkMode(OPAQUE);
    s.C->SetBkColor(clBlue);
    s.C->FillRect({0, 0, 16, 16});
    EXPECT_EQ(s(c.Ux, c.Uy), clBlue) << c.Style;
  }
}

TEST(GfxCanvas, TwoColourPatternBitmapUsesTextAndBackgroundColours) {
  TBitmap pat(8, 8, pf1bit);
  for (int y = 0; y < 8; ++y) pat.ScanLine(y)[0] = y % 2 ? 0xFF : 0x00;  // odd rows set
  TSurface s(8, 8);
  s.C->Brush()->SetBitmap(&pat);
  s.C->SetTextColor(clRed);
  s.C->SetBkColor(clGreen);
  s.C->FillRect({0, 0, 8, 8});
  EXPECT_EQ(s(3, 0), clRed);
  EXPECT_EQ(s(3, 1), clGreen);
}

TEST(GfxCanvas, ClipRegionsNestThroughSaveAndRestore) {
  TSurface s(40, 40);
  HRGN outer = CreateRectRgn(5, 5, 35, 35);
  HRGN inner = CreateRectRgn(10, 10, 20, 20);
  EXPECT_EQ(s.C->GetClipRgn(nullptr), 0);
  s.C->SelectClipRgn(outer);
  int saved = s.C->SaveDC();
  s.C->ExtSelectClipRgn(inner, RGN_AND);
  s.C->Brush()->SetColor(clRed);
  s.C->FillRect({0, 0, 40, 40});
  EXPECT_EQ(s.InkBox(), Rect(10, 10, 20, 20));
  ASSERT_TRUE(s.C->RestoreDC(saved));
  s.C->Brush()->SetColor(clBlue);
  s.C->FillRect({0, 0, 40, 40});
  EXPECT_EQ(s.InkBox(), Rect(5, 5, 35, 35));
  EXPECT_EQ(s(15, 15), clBlue);
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(s.C->GetClipRgn(got), 1);
  EXPECT_TRUE(EqualRgn(got, outer));
  EXPECT_EQ(s.C->Pixels(2, 2), CLR_INVALID);  // outside the clip
  s.C->SelectClipRgn(nullptr);
  EXPECT_EQ(s.C->GetClipRgn(got), 0);
  s.C->ExcludeClipRect(0, 0, 40, 20);
  s.C->Brush()->SetColor(clLime);
  s.C->FillRect({0, 0, 40, 40});
  EXPECT_EQ(s(1, 19), clWhite);
  EXPECT_EQ(s(1, 20), clLime);
  TRect box;
  EXPECT_EQ(s.C->GetClipBox(box), SIMPLEREGION);
  EXPECT_EQ(box, Rect(0, 20, 40, 40));
  EXPECT_FALSE(s.C->RestoreDC(5));
  for (HRGN r : {outer, inner, got}) DeleteObject(r);
}

TEST(GfxRegions, CombineAndQuery) {
  HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15), d = CreateRectRgn(0, 0, 0, 0);
  struct Case {
    int Mode, Kind, Area;
  } cases[] = {{RGN_AND, SIMPLEREGION, 25}, {RGN_OR, COMPLEXREGION, 175}, {RGN_XOR, COMPLEXREGION, 150},
               {RGN_DIFF, COMPLEXREGION, 75}, {RGN_COPY, SIMPLEREGION, 100}};
  for (const Case& c : cases) {
    EXPECT_EQ(CombineRgn(d, a, b, c.Mode), c.Kind) << c.Mode;
    int area = 0;
    for (const TRect& r : d->Rects()) area += r.Width() * r.Height();
    EXPECT_EQ(area, c.Area) << c.Mode;
  }
  EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_AND), RGN_ERROR);
  CombineRgn(d, a, b, RGN_XOR);
  EXPECT_TRUE(PtInRegion(d, 2, 2));
  EXPECT_FALSE(PtInRegion(d, 7, 7));
  EXPECT_FALSE(PtInRegion(a, 10, 5));  // right edge excluded
  HRGN e = CreateEllipticRgn(0, 0, 10, 10);
  TRect box;
  EXPECT_EQ(GetRgnBox(e, box), COMPLEXREGION);
  EXPECT_EQ(box, Rect(0, 0, 10, 10));
  EXPECT_FALSE(PtInRegion(e, 0, 0));
  HRGN tri = CreatePolygonRgn(std::vector<TPoint>{{0, 0}, {10, 0}, {0, 10}}, ALTERNATE);
  EXPECT_TRUE(PtInRegion(tri, 1, 1));
  EXPECT_FALSE(PtInRegion(tri, 8, 8));
  OffsetRgn(a, 100, 0);
  EXPECT_TRUE(PtInRegion(a, 105, 5));
  for (HRGN r : {a, b, d, e, tri}) DeleteObject(r);
}

TEST(GfxCanvas, AnisotropicMappingScalesLogicalUnits) {
  TSurface s(50, 50);
  s.C->SetMapMode(MM_ANISOTROPIC);
  s.C->SetWindowExtEx(100, 100);
  s.C->SetViewportExtEx(50, 25);
  s.C->SetViewportOrgEx(0, 10);
  EXPECT_EQ(s.C->LPtoDP(Point(40, 40)), Point(20, 20));
  EXPECT_EQ(s.C->DPtoLP(Point(20, 20)), Point(40, 40));
  s.C->Pen()->SetStyle(psClear);
  s.C->Brush()->SetColor(clRed);
  s.C->FillRect({20, 20, 60, 60});
  EXPECT_EQ(s.InkBox(), Rect(10, 15, 30, 25));
  s.C->SetMapMode(MM_TEXT);
  s.C->SetWindowOrgEx(-5, -5);
  EXPECT_EQ(s.C->LPtoDP(Point(0, 0)), Point(5, 15));
  TSurface iso(50, 50);
  iso.C->SetMapMode(MM_ISOTROPIC);
  iso.C->SetWindowExtEx(100, 100);
  iso.C->SetViewportExtEx(50, 25);  // the smaller scale wins on both axes
  EXPECT_EQ(iso.C->LPtoDP(Point(40, 40)), Point(10, 10));
}

TEST(GfxCanvas, PathsStrokeFillClipAndConvert) {
  TSurface s(40, 40);
  s.C->BeginPath();
  s.C->MoveTo(5, 5);
  s.C->LineTo(30, 5);
  s.C->LineTo(30, 30);
  s.C->CloseFigure();
  EXPECT_TRUE(s.C->InPath());
  s.C->EndPath();
  EXPECT_EQ(s.Inked(0, 0, 40, 40), 0);  // nothing drawn while building
  s.C->Brush()->SetColor(clRed);
  EXPECT_TRUE(s.C->FillPath());
  EXPECT_EQ(s(25, 10), clRed);
  EXPECT_EQ(s(10, 25), clWhite);
  EXPECT_FALSE(s.C->FillPath());  // the path is used up

  TSurface c(40, 40);
  c.C->BeginPath();
  c.C->Ellipse(0, 0, 20, 20);
  c.C->EndPath();
  c.C->SelectClipPath(RGN_COPY);
  c.C->Brush()->SetColor(clBlue);
  c.C->FillRect({0, 0, 40, 40});
  EXPECT_EQ(c(10, 10), clBlue);
  EXPECT_EQ(c(1, 1), clWhite);
  EXPECT_EQ(c(30, 30), clWhite);

  TSurface w(40, 40);
  w.C->Pen()->SetWidth(6);
  w.C->BeginPath();
  w.C->MoveTo(5, 20);
  w.C->LineTo(35, 20);
  w.C->EndPath();
  ASSERT_TRUE(w.C->WidenPath());
  HRGN r = w.C->PathToRegion();
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(PtInRegion(r, 20, 18));
  EXPECT_TRUE(PtInRegion(r, 20, 22));
  EXPECT_FALSE(PtInRegion(r, 20, 26));
  DeleteObject(r);
}

TEST(GfxCanvas, BitBlitsCombineSourceDestinationAndPattern) {
  TSurface src(10, 10);
  src.C->Pen()->SetStyle(psClear);
  src.C->Brush()->SetColor(0x204060);
  src.C->FillRect({0, 0, 5, 10});
  TSurface d(20, 20);
  d.C->Brush()->SetColor(0x0F0F0F);
  d.C->FillRect({0, 0, 20, 20});
  d.C->BitBlt(2, 2, 10, 10, src.C, 0, 0, SRCCOPY);
  EXPECT_EQ(d(2, 2), 0x204060);
  EXPECT_EQ(d(8, 2), clWhite);
  EXPECT_EQ(d(1, 1), 0x0F0F0F);
  d.C->BitBlt(2, 2, 10, 10, src.C, 0, 0, SRCINVERT);
  EXPECT_EQ(d(2, 2), 0);
  d.C->BitBlt(2, 2, 10, 10, src.C, 0, 0, SRCINVERT);
  EXPECT_EQ(d(2, 2), 0x204060);
  d.C->PatBlt(0, 0, 20, 20, DSTINVERT);
  EXPECT_EQ(d(2, 2), 0xDFBF9F);
  d.C->Brush()->SetColor(clLime);
  d.C->PatBlt(0, 0, 1, 1, PATCOPY);
  EXPECT_EQ(d(0, 0), clLime);
  TSurface big(20, 20);
  big.C->StretchBlt(0, 0, 20, 20, src.C, 0, 0, 10, 10, SRCCOPY);
  EXPECT_EQ(big(9, 19), 0x204060);
  EXPECT_EQ(big(10, 0), clWhite);
  TSurface m(10, 10);
  m.C->StretchBlt(9, 0, -10, 10, src.C, 0, 0, 10, 10, SRCCOPY);  // mirrored
  EXPECT_EQ(m(9, 0), clWhite);
  EXPECT_EQ(m(0, 0), 0x204060);
}

TEST(GfxCanvas, GradientFillAndConstantAlpha) {
  TSurface s(100, 10);
  TTriVertex v[2];
  v[0].x = 0; v[0].y = 0; v[0].Red = 0xFF00;
  v[1].x = 100; v[1].y = 10; v[1].Blue = 0xFF00;
  TGradientRect g{0, 1};
  ASSERT_TRUE(s.C->GradientFill(v, 2, &g, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(s(0, 5), 0x0000FF);
  EXPECT_EQ(GetBValue(ColorToRGB(s(99, 5))), 252);
  EXPECT_NEAR(GetRValue(ColorToRGB(s(50, 5))), 127, 2);
  EXPECT_FALSE(s.C->GradientFill(v, 2, &g, 1, 7));

  TSurface top(4, 4);
  top.C->Brush()->SetColor(clBlack);
  top.C->FillRect({0, 0, 4, 4});
  TSurface under(4, 4);
  TBlendFunction bf;
  bf.SourceConstantAlpha = 128;
  ASSERT_TRUE(under.C->AlphaBlend(0, 0, 4, 4, top.C, 0, 0, 4, 4, bf));
  EXPECT_NEAR(GetRValue(ColorToRGB(under(1, 1))), 127, 2);
}

// Hatch brushes, a dotted pen and a region combined by xor, kept as a
// reviewed picture: any change of these pixels is a change of behaviour.
TEST(GfxCanvas, HatchDottedPenAndXorRegionMatchTheReviewedPicture) {
  TBitmap bmp(160, 100);
  TCanvas* c = bmp.Canvas();
  const TBrushStyle styles[] = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross};
  for (int i = 0; i < 6; ++i) {
    c->Brush()->SetColor(clNavy);
    c->Brush()->SetStyle(styles[i]);
    c->SetBkMode(i % 2 ? OPAQUE : TRANSPARENT);
    c->SetBkColor(clYellow);
    c->Rectangle(4 + i * 26, 4, 28 + i * 26, 40);
  }
  c->Pen()->SetStyle(psDot);
  c->Pen()->SetColor(clRed);
  c->SetBkMode(TRANSPARENT);
  c->MoveTo(4, 46);
  c->LineTo(156, 46);
  c->Pen()->SetHandle(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, {BS_SOLID, clGreen, 0}));
  c->MoveTo(4, 50);
  c->LineTo(156, 50);
  c->Pen()->SetStyle(psDashDot);
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
  c->Ellipse(6, 54, 60, 96);
  HRGN a = CreateEllipticRgn(70, 54, 130, 98);
  HRGN b = CreateRectRgn(100, 60, 156, 90);
  HRGN x = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(x, a, b, RGN_XOR);
  c->SelectClipRgn(x);
  c->Brush()->SetColor(clTeal);
  c->FillRect({0, 0, 160, 100});
  c->SelectClipRgn(nullptr);
  for (HRGN r : {a, b, x}) DeleteObject(r);

  EXPECT_EQ(GoldenDifferences(bmp, "hatch_dotted_xor.png"), 0);
}
