// Bitmaps, pixel formats, files and the picture registry.
#include <gtest/gtest.h>

#include <fstream>

#include "gfx_test_util.h"
#include "platform/gfx/metafile.h"

TEST(GfxBitmap, NewPixelsAreWhiteAndResizeKeepsWhatFits) {
  TBitmap b(4, 3);
  EXPECT_EQ(At(b, 3, 2), clWhite);
  b.Canvas()->SetPixels(1, 1, clRed);
  b.SetSize(8, 8);
  EXPECT_EQ(At(b, 1, 1), clRed);
  EXPECT_EQ(At(b, 7, 7), clWhite);
  b.SetSize(1, 1);
  EXPECT_EQ(b.Width(), 1);
  EXPECT_THROW(b.ScanLine(1), EInvalidGraphicOperation);
  b.SetSize(0, 5);
  EXPECT_TRUE(b.Empty());
}

TEST(GfxBitmap, ScanLinesUseTheDeviceLayoutOfEachFormat) {
  struct Case {
    TPixelFormat Format;
    int BytesPerLine;  // for a width of 5
  } cases[] = {{pf1bit, 4}, {pf4bit, 4}, {pf8bit, 8}, {pf15bit, 12}, {pf16bit, 12}, {pf24bit, 16}, {pf32bit, 20}};
  for (const Case& c : cases) {
    TBitmap b(5, 2, c.Format);
    EXPECT_EQ(b.BytesPerScanLine(), c.BytesPerLine) << c.Format;
    EXPECT_EQ(b.PixelFormat(), c.Format);
    ASSERT_NE(b.ScanLine(1), nullptr);
  }
  TBitmap b(2, 1, pf24bit);
  b.Canvas()->SetPixels(0, 0, static_cast<TColor>(RGB(10, 20, 30)));
  const uint8_t* row = b.ScanLine(0);
  EXPECT_EQ(row[0], 30);  // blue, green, red
  EXPECT_EQ(row[1], 20);
  EXPECT_EQ(row[2], 10);
  uint8_t* w = b.ScanLine(0);
  w[3] = 255;  // pixel 1 blue
  w[4] = 0;
  w[5] = 0;
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clBlue);

  TBitmap m(9, 1, pf1bit);
  m.ScanLine(0)[0] = 0x80;  // only the first pixel set: white
  m.ScanLine(0)[1] = 0x00;
  EXPECT_EQ(m.Canvas()->Pixels(0, 0), clWhite);
  EXPECT_EQ(m.Canvas()->Pixels(1, 0), clBlack);
  m.Canvas()->SetPixels(8, 0, clWhite);
  EXPECT_EQ(m.ScanLine(0)[1] & 0x80, 0x80);  // the row is padded to 32 bits

  TBitmap f(3, 1, pf4bit);
  f.ScanLine(0)[0] = 0x9C;  // palette entries 9 (red) and 12 (blue)
  f.ScanLinesChanged();
  EXPECT_EQ(f.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(f.Canvas()->Pixels(1, 0), clBlue);
}

TEST(GfxBitmap, FilesRoundTripThroughTheRegistry) {
  std::string dir = TestTempDir();
  TBitmap b(7, 5, pf24bit);
  b.Canvas()->SetPixels(2, 3, clFuchsia);
  for (const char* ext : {"bmp", "png"}) {
    std::string file = dir + "/roundtrip." + ext;
    TPicture out;
    out.SetGraphic(&b);
    out.SaveToFile(file);
    TPicture in;
    in.LoadFromFile(file);
    ASSERT_NE(in.Graphic(), nullptr) << ext;
    EXPECT_EQ(in.Width(), 7);
    TBitmap back;
    back.Assign(in.Graphic());
    back.SetPixelFormat(pfDevice);
    EXPECT_EQ(At(back, 2, 3), clFuchsia) << ext;
    EXPECT_EQ(At(back, 0, 0), clWhite) << ext;
  }
  TBitmap bmp;
  bmp.LoadFromFile(dir + "/roundtrip.bmp");
  EXPECT_EQ(bmp.PixelFormat(), pf24bit);
  EXPECT_NE(dynamic_cast<TJPEGImage*>(TPicture::CreateGraphicForExtension(".JPG").get()), nullptr);
  EXPECT_NE(dynamic_cast<TIcon*>(TPicture::CreateGraphicForExtension("ico").get()), nullptr);
  EXPECT_NE(TPicture::GraphicFilter().find("*.png"), std::string::npos);
}

TEST(GfxBitmap, BadFilesReportErrorsAndKeepThePicture) {
  std::string dir = TestTempDir();
  TPicture p;
  TBitmap b(3, 3);
  p.SetGraphic(&b);
  {
    std::ofstream f(dir + "/broken.bmp", std::ios::binary);
    f << "BM this is not a bitmap";
  }
  EXPECT_THROW(p.LoadFromFile(dir + "/broken.bmp"), EInvalidGraphic);
  EXPECT_EQ(p.Width(), 3);
  try {
    p.LoadFromFile(dir + "/picture.xyz");
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Unknown picture file extension (.xyz)");
  }
  EXPECT_THROW(p.LoadFromFile(dir + "/missing.png"), EFOpenError);
  EXPECT_EQ(p.Width(), 3);
  TGIFImage gif;
  TMemoryStream m;
  EXPECT_THROW(gif.SaveToStream(m), EInvalidGraphicOperation);
}

TEST(GfxBitmap, TransparentBitmapsKeyOutTheirColour) {
  TBitmap sprite(4, 4);
  sprite.Canvas()->Brush()->SetColor(clLime);
  sprite.Canvas()->FillRect({0, 0, 4, 4});
  sprite.Canvas()->SetPixels(1, 1, clRed);
  sprite.SetTransparent(true);
  EXPECT_EQ(sprite.TransparentColor(), clLime);  // bottom-left pixel
  TSurface s(10, 10);
  s.C->Brush()->SetColor(clBlue);
  s.C->FillRect({0, 0, 10, 10});
  s.C->Draw(3, 3, &sprite);
  EXPECT_EQ(s(4, 4), clRed);
  EXPECT_EQ(s(3, 3), clBlue);
  sprite.SetTransparent(false);
  s.C->StretchDraw({0, 0, 8, 8}, &sprite);
  EXPECT_EQ(s(0, 0), clLime);
  EXPECT_EQ(s(3, 3), clRed);  // pixel (1, 1) doubled
}
