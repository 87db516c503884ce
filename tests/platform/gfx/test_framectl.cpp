// Edges, frame controls and brush copies in the classic look; the embedded
// bitmap and data resources; pictures decoded from bytes of any format (a
// TIFF written here by hand).
#include <gtest/gtest.h>

#include "platform/gfx/framectl.h"
#include "platform/gfx/resources.h"
#include "gfx_test_util.h"

namespace {

TColor Sys(int index) { return static_cast<TColor>(GetSysColor(index)); }

TEST(FrameControls, EdgesDrawTheirRingsAndAdjust) {
  struct {
    unsigned edge;
    TColor outerTL, outerBR, innerTL;
  } cases[] = {
      {EDGE_RAISED, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW), Sys(COLOR_BTNHIGHLIGHT)},
      {EDGE_SUNKEN, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_3DDKSHADOW)},
      {EDGE_ETCHED, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNHIGHLIGHT)},
  };
  for (const auto& c : cases) {
    TSurface s(20, 20);
    TRect r = Rect(2, 2, 18, 18);
    s.C->Brush()->SetColor(clLime);
    EXPECT_TRUE(DrawEdge(s.C, r, c.edge, BF_RECT | BF_ADJUST | BF_MIDDLE));
    EXPECT_EQ(r, Rect(4, 4, 16, 16)) << c.edge;
    EXPECT_EQ(s(2, 10), c.outerTL) << c.edge;
    EXPECT_EQ(s(17, 10), c.outerBR) << c.edge;
    EXPECT_EQ(s(3, 10), c.innerTL) << c.edge;
    EXPECT_EQ(s(10, 10), Sys(COLOR_BTNFACE)) << c.edge;
    EXPECT_EQ(s(1, 1), clWhite);
    EXPECT_EQ(s.C->Brush()->Color(), clLime);  // brush given back
  }
  TSurface s(20, 20);
  TRect r = Rect(2, 2, 18, 18);
  DrawEdge(s.C, r, EDGE_RAISED, BF_LEFT);  // one side only, no adjust
  EXPECT_EQ(r, Rect(2, 2, 18, 18));
  EXPECT_NE(s(2, 10), clWhite);
  EXPECT_EQ(s(17, 10), clWhite);
}

TEST(FrameControls, CheckRadioPushAndArrows) {
  auto centre = [](unsigned kind, unsigned state, TColor& c) {
    TSurface s(16, 16);
    TRect r = Rect(0, 0, 16, 16);
    EXPECT_TRUE(DrawFrameControl(s.C, r, kind, state));
    c = s(8, 8);
    return s.Inked(0, 0, 16, 16);
  };
  TColor on, off;
  centre(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, on);
  centre(DFC_BUTTON, DFCS_BUTTONCHECK, off);
  EXPECT_EQ(on, Sys(COLOR_WINDOWTEXT));
  EXPECT_EQ(off, Sys(COLOR_WINDOW));
  centre(DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED, on);
  centre(DFC_BUTTON, DFCS_BUTTONRADIO, off);
  EXPECT_EQ(on, Sys(COLOR_WINDOWTEXT));
  EXPECT_EQ(off, Sys(COLOR_WINDOW));
  centre(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_INACTIVE | DFCS_CHECKED, on);
  EXPECT_EQ(on, Sys(COLOR_BTNSHADOW));
  // An arrow's tip is in the middle of the face.
  centre(DFC_SCROLL, DFCS_SCROLLCOMBOBOX, on);
  EXPECT_EQ(on, Sys(COLOR_BTNTEXT));
  centre(DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE, on);
  EXPECT_EQ(on, Sys(COLOR_BTNSHADOW));

  TSurface s(30, 20);
  TRect r = Rect(0, 0, 30, 20);
  DrawFrameControl(s.C, r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  EXPECT_EQ(r, Rect(2, 2, 28, 18));
  EXPECT_EQ(s(0, 0), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(s(29, 19), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(s(15, 10), Sys(COLOR_BTNFACE));
  TSurface p(30, 20);
  r = Rect(0, 0, 30, 20);
  DrawFrameControl(p.C, r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  EXPECT_EQ(p(0, 0), Sys(COLOR_BTNSHADOW));
  EXPECT_FALSE(DrawFrameControl(p.C, r, DFC_CAPTION, 0));
}

TEST(FrameControls, BrushCopyReplacesOneColour) {
  TBitmap src(3, 2, pf32bit);
  src.Canvas()->Brush()->SetColor(clTeal);
  src.Canvas()->FillRect(Rect(0, 0, 3, 2));
  src.Canvas()->SetPixels(1, 0, clRed);
  TSurface s(10, 10);
  s.C->Brush()->SetColor(clYellow);
  BrushCopy(s.C, Rect(4, 4, 7, 6), &src, Rect(0, 0, 3, 2), clTeal);
  EXPECT_EQ(s(4, 4), clYellow);
  EXPECT_EQ(s(5, 4), clRed);
  EXPECT_EQ(s(6, 5), clYellow);
  EXPECT_EQ(s(7, 5), clWhite);
  EXPECT_EQ(s(4, 6), clWhite);
}

TEST(Resources, NodeGlyphsAndData) {
  struct {
    const char* name;
    int size;
  } glyphs[] = {{"ASGLEAFCLOSE", 12}, {"asgleafopen", 12}, {"XPNODEC", 10}, {"XPNODEO", 10}};
  for (const auto& g : glyphs) {
    auto b = LoadResourceBitmap(g.name);
    ASSERT_TRUE(b) << g.name;
    EXPECT_EQ(b->Width(), g.size);
    EXPECT_EQ(b->Height(), g.size);
  }
  EXPECT_EQ(LoadResourceBitmap("NOSUCH"), nullptr);
  // The spin arrows: rows of 1, 3, 5 and 7 black pixels.
  auto up = LoadResourceBitmap("PsgSpinUp"), down = LoadResourceBitmap("PsgSpinDown");
  ASSERT_TRUE(up && down);
  EXPECT_EQ(up->Width(), 9);
  EXPECT_EQ(up->Height(), 6);
  for (int row = 0; row < 4; ++row) {
    int upInk = 0, downInk = 0;
    for (int x = 0; x < 9; ++x) {
      upInk += At(*up, x, 1 + row) == clBlack;
      downInk += At(*down, x, 4 - row) == clBlack;
    }
    EXPECT_EQ(upInk, 2 * row + 1);
    EXPECT_EQ(downInk, 2 * row + 1);
  }
  EXPECT_EQ(At(*up, 0, 0), clTeal);
  auto open = LoadResourceBitmap("ASGLEAFOPEN"), close = LoadResourceBitmap("ASGLEAFCLOSE");
  EXPECT_EQ(At(*open, 5, 4), clWhite);  // minus: no vertical stroke
  EXPECT_EQ(At(*close, 5, 4), clBlack);

  std::vector<uint8_t> bytes;
  EXPECT_FALSE(FindResourceData("LOGO", bytes));
  RegisterResourceData("Logo", {1, 2, 3});
  EXPECT_TRUE(FindResourceData("LOGO", bytes));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));
  UnregisterResourceData("logo");
  EXPECT_FALSE(FindResourceData("Logo", bytes));
}

// A 2 x 1 grey-scale TIFF: black, white (little-endian, uncompressed, one strip).
std::vector<uint8_t> TinyTiff() {
  std::vector<uint8_t> b{'I', 'I', 42, 0, 8, 0, 0, 0};
  auto u16 = [&](int v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); };
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF); };
  const int entries = 9;
  const uint32_t pixels = 8 + 2 + entries * 12 + 4;
  u16(entries);
  auto entry = [&](int tag, int type, uint32_t value) {
    u16(tag);
    u16(type);
    u32(1);
    if (type == 3) { u16(static_cast<int>(value)); u16(0); } else u32(value);
  };
  entry(256, 3, 2);       // width
  entry(257, 3, 1);       // height
  entry(258, 3, 8);       // bits per sample
  entry(259, 3, 1);       // no compression
  entry(262, 3, 1);       // black is zero
  entry(273, 4, pixels);  // strip offset
  entry(277, 3, 1);       // samples per pixel
  entry(278, 3, 1);       // rows per strip
  entry(279, 4, 2);       // strip bytes
  u32(0);
  b.push_back(0);
  b.push_back(255);
  return b;
}

TEST(DecodeImage, TiffAndGarbage) {
  const auto tiff = TinyTiff();
  EXPECT_EQ(ImageBytesFormat(tiff), "tiff");
  auto b = DecodeImageBytes(tiff);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->Width(), 2);
  EXPECT_EQ(b->Height(), 1);
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), clBlack);
  EXPECT_EQ(b->Canvas()->Pixels(1, 0), clWhite);
  EXPECT_EQ(DecodeImageBytes({1, 2, 3, 4}), nullptr);
  EXPECT_EQ(DecodeImageBytes({}), nullptr);
  EXPECT_EQ(ImageBytesFormat({1, 2, 3, 4}), "");
}

TEST(VisualStyleSetting, OffByDefault) {
  EXPECT_FALSE(VisualStylesActive());
  SetVisualStylesActive(true);
  EXPECT_TRUE(VisualStylesActive());
  SetVisualStylesActive(false);
}

}  // namespace
