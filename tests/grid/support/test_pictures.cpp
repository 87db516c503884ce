// HTML pictures: GIF frames found by the byte scan and shown one at a time
// (GIF files written here by hand), damaged bytes refused, sources by
// location, the picture container and the cache.
#include <gtest/gtest.h>

#include "grid/support/picturecontainer.h"
#include "platform/gfx/resources.h"
#include "platform/rtl/streams.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, int v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}

// Image data of n pixels of one colour index (2-bit codes): clear, pixel,
// pixel ... so the code width stays at 3 bits; then the end code.
void PutImageData(Bytes& b, int n, int index) {
  std::vector<int> codes;
  for (int i = 0; i < n; i += 2) {
    codes.push_back(4);
    codes.push_back(index);
    if (i + 1 < n) codes.push_back(index);
  }
  codes.push_back(5);
  Bytes packed;
  uint32_t acc = 0;
  int bits = 0;
  for (int c : codes) {
    acc |= static_cast<uint32_t>(c) << bits;
    bits += 3;
    while (bits >= 8) {
      packed.push_back(acc & 0xFF);
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits) packed.push_back(acc & 0xFF);
  b.push_back(2);  // minimum code size
  b.push_back(static_cast<uint8_t>(packed.size()));
  b.insert(b.end(), packed.begin(), packed.end());
  b.push_back(0);
}

struct TFrame {
  int left, top, width, height, colour;
};

// A GIF89a of a 4 x 2 screen with the colours red, lime, blue, white; each
// frame with a graphic control extension unless withControl is false.
Bytes MakeGIF(const std::vector<TFrame>& frames, bool withControl = true) {
  Bytes b{'G', 'I', 'F', '8', '9', 'a'};
  Put16(b, 4);
  Put16(b, 2);
  b.insert(b.end(), {0x81, 0, 0});
  b.insert(b.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
  for (const TFrame& f : frames) {
    if (withControl) b.insert(b.end(), {0x21, 0xF9, 0x04, 0x00, 10, 0, 0, 0});
    b.push_back(0x2C);
    Put16(b, f.left);
    Put16(b, f.top);
    Put16(b, f.width);
    Put16(b, f.height);
    b.push_back(0);
    PutImageData(b, f.width * f.height, f.colour);
  }
  b.push_back(0x3B);
  return b;
}

void Load(THTMLPicture& p, const Bytes& bytes) {
  TMemoryStream m;
  if (!bytes.empty()) m.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  p.LoadFromStream(m);
}

TColor Pixel(THTMLPicture& p, int x, int y) { return p.Decoded()->Canvas()->Pixels(x, y); }

struct Pictures : ::testing::Test {
  void SetUp() override { guitest::EnsureGui(); }
};

TEST_F(Pictures, ThreeFrameGIFShowsTheChosenFrame) {
  THTMLPicture p;
  Load(p, MakeGIF({{0, 0, 4, 2, 0}, {0, 0, 4, 2, 1}, {2, 1, 2, 1, 2}}));
  EXPECT_EQ(p.CountFrames(), 3);
  EXPECT_EQ(Pixel(p, 0, 0), clRed);
  EXPECT_EQ(p.AnimationWidth(), 4);
  EXPECT_EQ(p.AnimationHeight(), 2);
  int changes = 0;
  p.OnFrameChange = [&](TObject*) { ++changes; };
  p.SetFrame(2);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Pixel(p, 0, 0), clLime);
  EXPECT_EQ(Pixel(p, 3, 1), clLime);
  EXPECT_EQ(p.FrameWidth(), 4);
  p.SetFrame(3);
  EXPECT_EQ(p.FrameXPos(), 2);
  EXPECT_EQ(p.FrameYPos(), 1);
  EXPECT_EQ(p.FrameWidth(), 2);
  EXPECT_EQ(p.FrameHeight(), 1);
  EXPECT_EQ(p.AnimationWidth(), 4);
}

TEST_F(Pictures, GIFWithoutControlExtensionsCountsNoFrames) {
  THTMLPicture p;
  Load(p, MakeGIF({{0, 0, 4, 2, 2}}, false));
  EXPECT_EQ(p.CountFrames(), 0);
  EXPECT_EQ(Pixel(p, 1, 1), clBlue);  // shown whole
  EXPECT_EQ(p.AnimationWidth(), p.Width());
  THTMLPicture none;
  EXPECT_EQ(none.CountFrames(), -1);
}

TEST_F(Pictures, TheFrameScanStaysInsideTheData) {
  // Frame starts near the end: a control extension cut short is no frame.
  Bytes head{'G', 'I', 'F', '8', '9', 'a', 0x21, 0xF9, 0x04, 0, 0, 0, 0, 0, 0x2C};
  EXPECT_TRUE(THTMLPicture::GIFFrameStarts(head).empty());  // p + 9 is the end
  head.push_back(0);
  EXPECT_EQ(THTMLPicture::GIFFrameStarts(head), std::vector<size_t>{6});
  EXPECT_TRUE(THTMLPicture::GIFFrameStarts({0x21, 0xF9}).empty());
  // Decoding a truncated animation never reads past it; the bytes are refused.
  Bytes cut = MakeGIF({{0, 0, 4, 2, 0}, {0, 0, 4, 2, 1}});
  cut.resize(cut.size() - 12);
  THTMLPicture p;
  try {
    Load(p, cut);
  } catch (const Exception&) {
  }
}

TEST_F(Pictures, DamagedBytesRaiseAndKeepThePicture) {
  THTMLPicture p;
  try {
    Load(p, {1, 2, 3, 4});
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Could not load image. Invalid format");
  }
  EXPECT_TRUE(p.Empty());
  Load(p, MakeGIF({{0, 0, 4, 2, 2}}));
  EXPECT_THROW(Load(p, {'G', 'I', 'F', '8', '9', 'a', 0, 0}), Exception);
  EXPECT_FALSE(p.Empty());  // the earlier picture stays
  EXPECT_EQ(Pixel(p, 0, 0), clBlue);
  EXPECT_EQ(p.Data().size(), MakeGIF({{0, 0, 4, 2, 2}}).size());

  TTempDir dir;
  const std::string bad = dir.Write("bad.gif", std::string("\x01\x02\x03\x04", 4));
  p.LoadFromFile(bad);  // no error, left empty
  EXPECT_TRUE(p.Empty());
  EXPECT_EQ(p.Width(), 0);
  p.LoadFromFile(dir.File("missing.gif"));
  EXPECT_TRUE(p.Empty());
}

TEST_F(Pictures, AGIFClaimingAHugeCanvasIsRefusedBeforeItIsDecoded) {
  // Frames on a screen the header makes huge, or a screen of nothing and a
  // frame that claims a large picture: decoded, tens of megabytes from a
  // hundred bytes.
  Bytes hugeScreen = MakeGIF({{0, 0, 4, 2, 0}, {0, 0, 4, 2, 1}});
  hugeScreen[6] = hugeScreen[7] = hugeScreen[8] = hugeScreen[9] = 0x1F;  // 7967 x 7967
  Bytes hugeFrame = MakeGIF({{0, 0, 4, 2, 0}});
  hugeFrame[6] = hugeFrame[7] = hugeFrame[8] = hugeFrame[9] = 0;
  ASSERT_EQ(hugeFrame[33], 0x2C);  // the image descriptor
  hugeFrame[38] = 0xB8, hugeFrame[39] = 0x0B;  // 3000
  hugeFrame[40] = 0xE8, hugeFrame[41] = 0x03;  // x 1000
  for (const Bytes& bytes : {hugeScreen, hugeFrame}) {
    THTMLPicture p;
    Load(p, MakeGIF({{0, 0, 4, 2, 2}}));
    EXPECT_THROW(Load(p, bytes), Exception);
    EXPECT_EQ(p.Width(), 4);  // the earlier picture stays
    EXPECT_EQ(Pixel(p, 0, 0), clBlue);
  }
}

TEST_F(Pictures, StreamsAssignAndDraw) {
  const Bytes gif = MakeGIF({{0, 0, 4, 2, 1}});
  THTMLPicture p;
  Load(p, gif);
  TMemoryStream out;
  p.SaveToStream(out);
  EXPECT_EQ(Bytes(out.Memory(), out.Memory() + out.Size()), gif);  // the bytes as loaded
  THTMLPicture q;
  q.Assign(&p);
  EXPECT_FALSE(q.Empty());
  EXPECT_EQ(q.Width(), 4);
  q.Assign(nullptr);
  EXPECT_TRUE(q.Empty());
  EXPECT_TRUE(q.Data().empty());

  TBitmap target(10, 10);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(Rect(0, 0, 10, 10));
  p.Draw(target.Canvas(), Rect(3, 3, 10, 10));
  EXPECT_EQ(target.Canvas()->Pixels(3, 3), clLime);
  EXPECT_EQ(target.Canvas()->Pixels(7, 3), clWhite);  // natural size
  p.SetStretch(true);
  p.Draw(target.Canvas(), Rect(0, 0, 10, 10));
  EXPECT_EQ(target.Canvas()->Pixels(9, 9), clLime);
}

TEST_F(Pictures, LocationsContainerAndCache) {
  const Bytes gif = MakeGIF({{0, 0, 4, 2, 0}});
  RegisterResourceData("SMILE", gif);
  THTMLPictureCache cache;
  THTMLPicture* r = cache.NewPicture();
  r->LoadFromLocation("res://SMILE");
  EXPECT_FALSE(r->Empty());
  EXPECT_EQ(r->ID(), "res://SMILE");

  TTempDir dir;
  const std::string name = dir.Write("a.gif", std::string(gif.begin(), gif.end()));
  THTMLPicture* f = cache.NewPicture();
  f->LoadFromLocation("file://" + name);
  EXPECT_FALSE(f->Empty());
  EXPECT_EQ(cache.FindBySource("file://" + name), f);
  EXPECT_EQ(cache.FindBySource("FILE://" + name), nullptr);  // exactly the text
  EXPECT_EQ(cache.PictureAt(0), r);

  THTMLPicture* web = cache.NewPicture();
  web->LoadFromLocation("http://example.org/a.gif");
  EXPECT_TRUE(web->Empty());
  EXPECT_TRUE(web->DownloadBusy());
  THTMLPicture* sync = cache.NewPicture();
  sync->SetAsynchronous(false);
  sync->LoadFromLocation("http://example.org/a.gif");
  EXPECT_TRUE(sync->Empty());
  EXPECT_EQ(sync->ID(), "http://example.org/a.gif");
  UnregisterResourceData("SMILE");

  TPictureContainer box(nullptr);
  EXPECT_EQ(box.Version(), "1.0.0.0");
  TPictureItem* item = box.Items()->Add();
  item->SetName("logo");
  item->Picture()->Assign(f);
  EXPECT_EQ(box.FindByName("LOGO"), item->Picture());
  EXPECT_EQ(box.FindByName("other"), nullptr);
  TPictureContainer copy(nullptr);
  copy.SetItems(box.Items());
  ASSERT_EQ(copy.Items()->Count(), 1);
  EXPECT_FALSE(copy.FindByName("logo")->Empty());
}

}  // namespace
