// Colours, pens, brushes and fonts.
#include <gtest/gtest.h>

#include "platform/gfx/bitmap.h"

TEST(GfxColors, ColorToRGBResolvesSystemColoursAndSentinels) {
  struct Case {
    TColor In;
    TColorRef Out;
  } cases[] = {
      {clRed, 0x0000FF}, {clWhite, 0xFFFFFF}, {clBtnFace, RGB(240, 240, 240)}, {clWindow, RGB(255, 255, 255)},
      {clWindowText, 0}, {clHighlight, RGB(51, 153, 255)},
      {static_cast<TColor>(0x80000000u | COLOR_BTNFACE), RGB(240, 240, 240)},  // the other system-colour form
      {clNone, 0xFFFFFF}, {clDefault, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ColorToRGB(c.In), c.Out) << std::hex << c.In;
  EXPECT_EQ(static_cast<uint32_t>(clBtnFace), 0xFF00000Fu);
}

TEST(GfxColors, NamesRoundTripAndNumbersParse) {
  for (TColor c : {clRed, clBtnFace, clNone, clDefault, clMoneyGreen})
    EXPECT_EQ(StringToColor(ColorToString(c)), c);
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(StringToColor("clred"), clRed);
  EXPECT_EQ(StringToColor("$00FF00"), clLime);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_EQ(StringToColor("-16777201"), clBtnFace);
  for (const char* bad : {"", "clNoSuchColour", "$GG", "12abc"}) EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
}

TEST(GfxObjects, ChangeEventsFireOnlyOnRealChanges) {
  int n = 0;
  TPen pen;
  pen.OnChange = [&](TObject*) { ++n; };
  pen.SetColor(clBlack);  // unchanged
  pen.SetWidth(1);
  pen.SetStyle(psSolid);
  EXPECT_EQ(n, 0);
  pen.SetColor(clRed);
  pen.SetMode(pmNotXor);
  EXPECT_EQ(n, 2);

  n = 0;
  TBrush brush;
  brush.OnChange = [&](TObject*) { ++n; };
  brush.SetColor(clWhite);
  EXPECT_EQ(n, 0);
  brush.SetStyle(bsClear);
  brush.SetColor(clWhite);  // a colour makes a clear brush solid again
  EXPECT_EQ(n, 2);
  EXPECT_EQ(brush.Style(), bsSolid);
}

TEST(GfxObjects, AssignCopiesAndRejectsOtherClasses) {
  TPen a, b;
  a.SetHandle(ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT | PS_JOIN_MITER, 4, {BS_SOLID, clBlue, 0}));
  b.Assign(&a);
  EXPECT_TRUE(b.Geometric());
  EXPECT_EQ(b.EndCap(), PS_ENDCAP_FLAT);
  EXPECT_EQ(b.Join(), PS_JOIN_MITER);
  EXPECT_EQ(b.Style(), psDash);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Color(), clBlue);
  TBrush brush;
  try {
    b.Assign(&brush);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TBrush to a TPen");
  }
}

TEST(GfxObjects, FontSizeAndHeightFollowPixelsPerInch) {
  TFont f;
  EXPECT_EQ(f.PixelsPerInch(), 96);
  struct Case {
    int Size, Height;
  } cases[] = {{8, -11}, {10, -13}, {12, -16}, {9, -12}, {72, -96}};
  for (const Case& c : cases) {
    f.SetSize(c.Size);
    EXPECT_EQ(f.Height(), c.Height) << c.Size;
    EXPECT_EQ(f.Size(), c.Size);
  }
  f.SetSize(10);
  f.SetPixelsPerInch(600);  // a printer: same points, more pixels
  EXPECT_EQ(f.Size(), 10);
  EXPECT_EQ(f.Height(), -83);
  TFont screen;
  screen.SetSize(10);
  f.Assign(&screen);  // different resolution: the size in points carries over
  EXPECT_EQ(f.Height(), -83);
}

TEST(GfxObjects, FontNamesMapToMetricCompatibleFamilies) {
  EXPECT_EQ(MapFontFamily("Arial"), "Liberation Sans");
  EXPECT_EQ(MapFontFamily("times new roman"), "Liberation Serif");
  EXPECT_EQ(MapFontFamily("Courier New"), "Liberation Mono");
  EXPECT_EQ(MapFontFamily("Some Unknown Face"), "DejaVu Sans");
}
