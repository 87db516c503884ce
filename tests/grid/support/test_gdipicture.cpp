// Rich-hint pictures: PNG and TIFF files stretched into the target and
// their sizes noted, bitmaps at their own size with the bottom-left colour
// transparent, the events of Assign, and the hint content's copies.
#include <gtest/gtest.h>

#include "grid/support/gdipicture.h"
#include "grid/support/plushintinfo.h"
#include "platform/rtl/streams.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

struct GdiPictures : ::testing::Test {
  TTempDir Dir;
  void SetUp() override { guitest::EnsureGui(); }
  // A file of the picture in the format of the graphic class.
  template <class G>
  std::string Save(const char* name, int w, int h, TColor fill, TColor corner) {
    TBitmap b(w, h, pf32bit);
    b.Canvas()->Brush()->SetColor(fill);
    b.Canvas()->FillRect(Rect(0, 0, w, h));
    b.Canvas()->SetPixels(0, h - 1, corner);
    b.Canvas()->SetPixels(w - 1, 0, corner);
    G g;
    g.Assign(&b);
    const std::string file = Dir.File(name);
    g.SaveToFile(file);
    return file;
  }
};

std::unique_ptr<TBitmap> White(int w, int h) {
  auto t = std::make_unique<TBitmap>(w, h, pf32bit);
  t->Canvas()->Brush()->SetColor(clWhite);
  t->Canvas()->FillRect(Rect(0, 0, w, h));
  return t;
}

TEST_F(GdiPictures, PngIsStretchedAndItsSizeNoted) {
  TGDIPPicture p;
  int clears = 0, changes = 0;
  p.OnClear = [&](TObject*) { ++clears; };
  p.OnChange = [&](TObject*) { ++changes; };
  p.LoadFromFile(Save<TPngImage>("a.png", 10, 5, clRed, clRed));
  EXPECT_FALSE(p.Empty());
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(p.Width(), 0);  // known after drawing
  TBitmap t(120, 60, pf32bit);
  t.Canvas()->Brush()->SetColor(clWhite);
  t.Canvas()->FillRect(Rect(0, 0, 120, 60));
  p.Draw(t.Canvas(), Rect(0, 0, 100, 50));
  EXPECT_EQ(p.Width(), 10);
  EXPECT_EQ(p.Height(), 5);
  EXPECT_EQ(t.Canvas()->Pixels(99, 49), clRed);
  EXPECT_EQ(t.Canvas()->Pixels(100, 49), clWhite);
  EXPECT_EQ(t.Canvas()->Pixels(50, 50), clWhite);
}

TEST_F(GdiPictures, BitmapAtItsSizeWithTheBottomLeftColourTransparent) {
  TGDIPPicture p;
  p.LoadFromFile(Save<TBitmap>("b.bmp", 6, 4, clLime, clBlue));
  TBitmap t(40, 40, pf32bit);
  t.Canvas()->Brush()->SetColor(clYellow);
  t.Canvas()->FillRect(Rect(0, 0, 40, 40));
  p.Draw(t.Canvas(), Rect(2, 3, 40, 40));
  EXPECT_EQ(t.Canvas()->Pixels(3, 4), clLime);
  EXPECT_EQ(t.Canvas()->Pixels(2, 6), clYellow);  // the bottom-left pixel's colour is transparent
  EXPECT_EQ(t.Canvas()->Pixels(7, 3), clYellow);  // so is every blue pixel
  EXPECT_EQ(t.Canvas()->Pixels(8, 4), clYellow);  // its own size only
  EXPECT_EQ(p.Width(), 0);
}

TEST_F(GdiPictures, TiffAndUnreadableBytes) {
  // A 2 x 1 grey-scale TIFF written by hand: black, white.
  std::vector<uint8_t> b{'I', 'I', 42, 0, 8, 0, 0, 0, 9, 0};
  auto entry = [&](int tag, int type, uint32_t v) {
    const uint8_t e[12] = {static_cast<uint8_t>(tag), static_cast<uint8_t>(tag >> 8), static_cast<uint8_t>(type), 0,
                           1, 0, 0, 0, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), 0, 0};
    b.insert(b.end(), e, e + 12);
  };
  const uint32_t pixels = 10 + 9 * 12 + 4;
  entry(256, 3, 2);
  entry(257, 3, 1);
  entry(258, 3, 8);
  entry(259, 3, 1);
  entry(262, 3, 1);
  entry(273, 4, pixels);
  entry(277, 3, 1);
  entry(278, 3, 1);
  entry(279, 4, 2);
  b.insert(b.end(), {0, 0, 0, 0, 0, 255});
  TGPImage image(b);
  EXPECT_EQ(image.RawFormat(), 8);
  EXPECT_EQ(image.ImageWidth(), 2);
  TMemoryStream m;
  m.WriteBuffer(b.data(), static_cast<int64_t>(b.size()));
  TGDIPPicture p;
  p.LoadFromStream(m);
  auto t = White(10, 10);
  p.Draw(t->Canvas(), Rect(0, 0, 10, 10));
  EXPECT_EQ(t->Canvas()->Pixels(1, 5), clBlack);
  EXPECT_EQ(t->Canvas()->Pixels(8, 5), clWhite);
  EXPECT_EQ(p.Width(), 2);

  TGPImage garbage({1, 2, 3, 4});
  EXPECT_EQ(garbage.RawFormat(), 0);
  EXPECT_EQ(garbage.ImageWidth(), 0);
  EXPECT_EQ(garbage.GetLastStatus(), GpUnknownImageFormat);
  TGDIPPicture g;
  TMemoryStream gm;
  gm.WriteBuffer("\x01\x02\x03\x04", 4);
  g.LoadFromStream(gm);
  auto u = White(10, 10);
  g.Draw(u->Canvas(), Rect(0, 0, 10, 10));  // draws nothing
  EXPECT_EQ(u->Canvas()->Pixels(5, 5), clWhite);
  g.LoadFromFile(Dir.File("missing.png"));
  EXPECT_TRUE(g.Empty());
}

TEST_F(GdiPictures, AssignEvents) {
  TGDIPPicture a, b;
  a.LoadFromFile(Save<TPngImage>("c.png", 3, 3, clRed, clRed));
  int clears = 0, changes = 0;
  b.OnClear = [&](TObject*) { ++clears; };
  b.OnChange = [&](TObject*) { ++changes; };
  b.Assign(&a);
  EXPECT_FALSE(b.Empty());
  EXPECT_EQ(b.Data(), a.Data());
  EXPECT_EQ(changes, 1);
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
  EXPECT_TRUE(b.Data().empty());
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(clears, 1);
  TBitmap other(2, 2);
  a.Assign(&other);  // another class: keeps the data, reports empty
  EXPECT_TRUE(a.Empty());
  EXPECT_FALSE(a.Data().empty());
  TMemoryStream out;
  b.SaveToStream(out);
  EXPECT_EQ(out.Size(), 0);
}

TEST_F(GdiPictures, HintInfoCopiesLines) {
  TPlusHintInfo a, b;
  a.SetTitle("Title");
  a.Notes()->Add("one");
  a.Notes()->Add("two");
  a.SetShowHelp(true);
  a.WideTitle = "\u03A9";
  a.Picture()->LoadFromFile(Save<TPngImage>("d.png", 3, 3, clRed, clRed));
  b.Assign(&a);
  a.Notes()->Add("three");
  EXPECT_EQ(b.Title(), "Title");
  EXPECT_EQ(b.Notes()->Count(), 2);
  EXPECT_TRUE(b.ShowHelp());
  EXPECT_EQ(b.WideTitle, "\u03A9");
  EXPECT_FALSE(b.Picture()->Empty());
  TPersistent other;
  b.Assign(&other);  // ignored
  EXPECT_EQ(b.Title(), "Title");
}

}  // namespace
