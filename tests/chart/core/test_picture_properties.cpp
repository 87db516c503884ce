// Pictures a stored chart carries: the back image with its settings, and the
// pictures of chart brushes.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/testseries.h"
#include "platform/ui/streaming.h"

namespace {

// Every pixel of a graphic as blue-green-red-alpha words.
std::vector<uint32_t> PixelsOf(const TGraphic* g) {
  TBitmap b;
  b.Assign(g);
  b.SetPixelFormat(pf32bit);
  std::vector<uint32_t> r;
  for (int y = 0; y < b.Height(); ++y) {
    const uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < b.Width(); ++x)
      r.push_back(row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16 | uint32_t(row[4 * x + 3]) << 24);
  }
  return r;
}

// A small picture whose pixels all differ.
template <class G>
std::unique_ptr<G> Picture(int w, int h, int seed) {
  TBitmap b(w, h, pf24bit);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      row[3 * x] = static_cast<uint8_t>(seed + 20 * x);
      row[3 * x + 1] = static_cast<uint8_t>(40 * y);
      row[3 * x + 2] = static_cast<uint8_t>(250 - x - w * y);
    }
  }
  auto g = std::make_unique<G>();
  g->Assign(&b);
  return g;
}

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string r;
  for (unsigned char b : bytes) {
    r += digits[b >> 4];
    r += digits[b & 15];
  }
  return r;
}

void SaveAndLoad(TChart* from, TChart* into, bool asText) {
  if (asText) {
    TextToComponent(ComponentToText(from), into);
    return;
  }
  TMemoryStream s;
  WriteComponentToStream(s, from);
  s.SetPosition(0);
  ReadComponentFromStream(s, into);
}

struct TPictureChart {
  TPictureChart() {
    RegisterTestChartClasses();
    chart.SetName("Chart1");
  }
  TChart chart{nullptr};
};

}  // namespace

TEST(ChartPictures, BackImageAndBrushImageComeBackWithTheirSettings) {
  const auto back = Picture<TBitmap>(9, 6, 10);
  const auto wall = Picture<TPngImage>(5, 4, 90);
  for (bool asText : {false, true}) {
    TPictureChart s;
    TChart& chart = s.chart;
    chart.SetBackImage(nullptr);
    chart.BackImage()->SetGraphic(back.get());
    chart.SetBackImageMode(pbmCustom);
    chart.SetBackImageInside(true);
    chart.BackImage()->SetLeft(3);
    chart.BackImage()->SetTop(-4);
    chart.SetBackImageTransp(true);
    chart.BackWall()->Brush()->Image()->SetGraphic(wall.get());
    if (asText) {
      const std::string text = ComponentToText(&chart);
      EXPECT_NE(text.find("BackImage.Data = {"), std::string::npos) << text;
      EXPECT_NE(text.find("BackWall.Brush.Image.Data = {"), std::string::npos) << text;
    }

    TPictureChart t;
    TChart& loaded = t.chart;
    SaveAndLoad(&chart, &loaded, asText);
    ASSERT_TRUE(loaded.BackImageAssigned()) << asText;
    TGraphic* g = loaded.BackImage()->Graphic();
    EXPECT_EQ(g->ClassName(), "TBitmap");
    EXPECT_EQ(PixelsOf(g), PixelsOf(back.get())) << asText;
    EXPECT_EQ(loaded.BackImageMode(), pbmCustom);
    EXPECT_TRUE(loaded.BackImageInside());
    EXPECT_EQ(loaded.BackImage()->Left(), 3);
    EXPECT_EQ(loaded.BackImage()->Top(), -4);
    EXPECT_TRUE(loaded.BackImageTransp()) << asText;  // read after the picture it applies to
    ASSERT_TRUE(loaded.BackWall()->Brush()->HasImage());
    TGraphic* w = loaded.BackWall()->Brush()->Image()->Graphic();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->ClassName(), "TPngImage");
    EXPECT_EQ(PixelsOf(w), PixelsOf(wall.get())) << asText;
  }
}

TEST(ChartPictures, AChartWithoutPicturesWritesNoPictureEntries) {
  TPictureChart untouched;
  TPictureChart emptyOnes;  // back image and brush picture made, but holding nothing
  emptyOnes.chart.BackImage();
  emptyOnes.chart.BackWall()->Brush()->Image();
  emptyOnes.chart.Legend()->Brush()->Image()->Bitmap();
  for (TChart* chart : {&untouched.chart, &emptyOnes.chart}) {
    const std::string text = ComponentToText(chart);
    EXPECT_EQ(text.find("Image"), std::string::npos) << text;
  }
  // Writing makes no back image.
  EXPECT_FALSE(untouched.chart.HasBackImage());
}

TEST(ChartPictures, DamagedPictureDataIsAReadErrorAndKeepsThePicture) {
  const auto back = Picture<TBitmap>(4, 4, 0);
  const std::string damaged = Hex(std::string("\x07TBitmap", 8) + std::string("\x09\0\0\0", 4) + "BM broken");
  const struct {
    const char* property;
    TPicture* (*picture)(TChart&);
  } cases[] = {
      {"BackImage.Data", [](TChart& c) -> TPicture* { return c.BackImage(); }},
      {"BackWall.Brush.Image.Data", [](TChart& c) { return c.BackWall()->Brush()->Image(); }},
  };
  for (const auto& c : cases) {
    TPictureChart s;
    c.picture(s.chart)->SetGraphic(back.get());
    const std::string text = std::string("object Chart1: TChart\n  ") + c.property + " = {" + damaged + "}\nend\n";
    EXPECT_THROW(TextToComponent(text, &s.chart), EReadError) << c.property;
    TGraphic* g = c.picture(s.chart)->Graphic();
    ASSERT_NE(g, nullptr) << c.property;
    EXPECT_EQ(PixelsOf(g), PixelsOf(back.get())) << c.property;
  }
}
