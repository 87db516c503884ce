// Enhanced metafiles read from files: what they draw, what they save, and
// damaged or foreign files refused with the metafile kept as it was.
#include <gtest/gtest.h>

#include <string>

#include "gfx_test_util.h"
#include "platform/gfx/metafile.h"
#include "platform/rtl/streams.h"

namespace {

// A picture of 200 x 100 with a red block on its left half and a blue line
// along its bottom, as this program writes it.
std::string WrittenEmf(bool enhanced = true) {
  TMetafile mf;
  mf.SetWidth(200);
  mf.SetHeight(100);
  mf.SetEnhanced(enhanced);
  {
    TMetafileCanvas c(&mf);
    c.Brush()->SetColor(clWhite);
    c.FillRect(Rect(0, 0, 200, 100));
    c.Brush()->SetColor(clRed);
    c.Pen()->SetColor(clRed);
    c.Rectangle(10, 10, 90, 70);
    c.Pen()->SetColor(clBlue);
    c.Pen()->SetWidth(3);
    c.MoveTo(10, 90);
    c.LineTo(190, 90);
  }
  TStringStream s;
  mf.SaveToStream(s);
  return s.DataString();
}

TEST(GfxEmfReader, AMetafileReadDrawsItsPicture) {
  const std::string emf = WrittenEmf();
  TMetafile read;
  TStringStream in(emf);
  read.LoadFromStream(in);
  EXPECT_FALSE(read.Empty());
  EXPECT_NEAR(read.Width(), 200, 1);
  EXPECT_NEAR(read.Height(), 100, 1);
  EXPECT_TRUE(read.Enhanced());

  // Drawn at twice its size.
  TSurface s(400, 200);
  s.C->StretchDraw(Rect(0, 0, 400, 200), &read);
  EXPECT_EQ(s(100, 80), clRed);
  EXPECT_EQ(s(300, 80), clWhite);
  // The line, drawn smoothly.
  int blue = 0;
  for (int y = 170; y < 190; ++y) {
    const TColorRef c = ColorToRGB(s(200, y));
    blue += GetBValue(c) > 200 && GetRValue(c) < 60;
  }
  EXPECT_GE(blue, 2);
  EXPECT_EQ(s(100, 150), clWhite);

  // Saved as it was read; in the old format as its picture.
  TStringStream again;
  read.SaveToStream(again);
  EXPECT_EQ(again.DataString(), emf);
  read.SetEnhanced(false);
  TStringStream old;
  read.SaveToStream(old);
  ASSERT_GE(old.Size(), 4);
  EXPECT_EQ(old.DataString().substr(0, 4), std::string("\xD7\xCD\xC6\x9A", 4));
}

TEST(GfxEmfReader, DamagedAndForeignFilesAreRefused) {
  const std::string emf = WrittenEmf();
  std::string zeroSize = emf;
  const size_t second = static_cast<uint8_t>(emf[4]) | static_cast<uint8_t>(emf[5]) << 8;  // after the header
  zeroSize.replace(second + 4, 4, std::string(4, '\0'));
  std::string noSignature = emf;
  noSignature[40] = 'X';
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"old format", WrittenEmf(false)},
      {"cut", emf.substr(0, emf.size() / 2)},
      {"no end record", emf.substr(0, emf.size() - 20)},
      {"zero record size", zeroSize},
      {"no signature", noSignature},
      {"text", "not a metafile at all, just text that is long enough to pass for a header......."},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    TMetafile kept;
    kept.SetWidth(7);
    kept.SetHeight(5);
    TStringStream in(bytes);
    EXPECT_THROW(kept.LoadFromStream(in), EInvalidGraphic);
    EXPECT_EQ(kept.Width(), 7);
  }
}

TEST(GfxEmfReader, PicturesOpenMetafiles) {
  const std::string dir = TestTempDir();
  {
    TStringStream emf(WrittenEmf());
    TMemoryStream m;
    m.CopyFrom(emf, 0);
    m.SaveToFile(dir + "/drawing.emf");
  }
  TPicture p;
  p.LoadFromFile(dir + "/drawing.emf");
  ASSERT_NE(dynamic_cast<TMetafile*>(p.Graphic()), nullptr);
  EXPECT_NEAR(p.Width(), 200, 1);
}

}  // namespace
