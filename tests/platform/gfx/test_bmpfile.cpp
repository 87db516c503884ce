// Bitmaps saved as BMP files in every pixel format: the header says the
// bits, the compression and the sizes, the rows are bottom-up and padded, and
// the file reads back in the same format with the same pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/rtl/streams.h"

namespace {

uint32_t U32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(s[at + i]);
  return v;
}
uint16_t U16(const std::string& s, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8);
}

TEST(GfxBmpFile, EveryPixelFormatIsWrittenAsItselfAndReadsBack) {
  struct TCase {
    TPixelFormat format;
    uint16_t bits;
    uint32_t compression, tableEntries;
  };
  const TCase cases[] = {
      {pf1bit, 1, 0, 2},   {pf4bit, 4, 0, 16},  {pf8bit, 8, 0, 256},  {pf15bit, 16, 0, 0},
      {pf16bit, 16, 3, 0}, {pf24bit, 24, 0, 0}, {pf32bit, 32, 0, 0}, {pfDevice, 24, 0, 0},
  };
  const int w = 5, h = 3;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.bits);
    TBitmap b(w, h, c.format);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, w, h));
    // Colours every format holds exactly (two-level for one bit).
    const bool mono = c.format == pf1bit;
    b.Canvas()->SetPixels(0, 0, clBlack);
    b.Canvas()->SetPixels(4, 2, mono ? clBlack : clRed);
    b.Canvas()->SetPixels(2, 1, mono ? clBlack : clBlue);
    TStringStream out;
    b.SaveToStream(out);
    const std::string s = out.DataString();

    const size_t stride = ((w * size_t(c.bits) + 31) / 32) * 4;
    const uint32_t offset = 14 + 40 + (c.compression == 3 ? 12 : 0) + 4 * c.tableEntries;
    ASSERT_EQ(s.substr(0, 2), "BM");
    EXPECT_EQ(U32(s, 2), s.size());
    EXPECT_EQ(U32(s, 10), offset);
    EXPECT_EQ(U32(s, 18), uint32_t(w));
    EXPECT_EQ(U32(s, 22), uint32_t(h));  // positive: rows bottom-up
    EXPECT_EQ(U16(s, 28), c.bits);
    EXPECT_EQ(U32(s, 30), c.compression);
    EXPECT_EQ(U32(s, 34), stride * h);
    EXPECT_EQ(s.size(), offset + stride * h);

    TStringStream in(s);
    TBitmap back;
    back.LoadFromStream(in);
    EXPECT_EQ(back.PixelFormat(), c.format == pfDevice ? pf24bit : c.format);
    ASSERT_EQ(back.Width(), w);
    EXPECT_EQ(back.Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(back.Canvas()->Pixels(4, 2), mono ? clBlack : clRed);
    EXPECT_EQ(back.Canvas()->Pixels(2, 1), mono ? clBlack : clBlue);
    EXPECT_EQ(back.Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(back.Canvas()->Pixels(3, 2), clWhite);
  }
}

}  // namespace
