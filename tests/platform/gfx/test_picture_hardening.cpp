// Picture files that are damaged or made to harm: formats the pictures do not
// read, and small files that claim huge pictures.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "gfx_test_util.h"
#include "support/picturebytes.h"

namespace {

std::string Saved(const TGraphic& g) {
  TStringStream s;
  g.SaveToStream(s);
  return s.DataString();
}

void Load(TGraphic& g, const std::string& bytes) {
  TStringStream s(bytes);
  g.LoadFromStream(s);
}

std::string BigEndian(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

uint32_t Crc32(const std::string& data) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string PngChunk(const std::string& type, const std::string& data) {
  return BigEndian(static_cast<uint32_t>(data.size())) + type + data + BigEndian(Crc32(type + data));
}

// A PNG header (and nothing to decode) for a picture of the given size.
std::string PngClaiming(uint32_t width, uint32_t height, char bitDepth, char colourType) {
  const std::string ihdr = BigEndian(width) + BigEndian(height) + bitDepth + colourType + std::string(3, '\0');
  return std::string("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", ihdr) + PngChunk("IDAT", "\x78\x9C") +
         PngChunk("IEND", "");
}

}  // namespace

TEST(PictureHardening, EveryPictureFormatStillLoads) {
  TBitmap source(5, 3, pf24bit);
  source.Canvas()->SetPixels(1, 1, clRed);
  TPngImage png;
  png.Assign(&source);
  TJPEGImage jpeg;
  jpeg.Assign(&source);
  TIcon icon;
  icon.Assign(&source);
  TBitmap mono;
  mono.Assign(&source);
  mono.SetPixelFormat(pf1bit);
  static const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80,
                                      0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04,
                                      0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01,
                                      0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
  const struct {
    const char* what;
    std::string bytes;
    int width;
  } cases[] = {{"BMP", Saved(source), 5}, {"1-bit BMP", Saved(mono), 5}, {"PNG", Saved(png), 5},
               {"JPEG", Saved(jpeg), 5},  {"icon", Saved(icon), 5},      {"GIF", std::string(reinterpret_cast<const char*>(gif), sizeof gif), 1}};
  for (const auto& c : cases) {
    TBitmap b;
    EXPECT_NO_THROW(Load(b, c.bytes)) << c.what;
    EXPECT_EQ(b.Width(), c.width) << c.what;
  }
}

TEST(PictureHardening, OtherFormatsAreNotRead) {
  // Formats Qt's plug-ins would read but a picture file of ours never is.
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"PBM", "P1\n2 2\n0 1\n1 0\n"},
      {"PPM", "P3\n1 1\n255\n255 0 0\n"},
      {"XPM", "/* XPM */\nstatic const char *x[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n"},
      {"XBM", "#define x_width 1\n#define x_height 1\nstatic unsigned char x_bits[] = {0x01};\n"},
      {"SVG", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\"><rect width=\"4\" height=\"4\"/></svg>"},
  };
  for (const auto& c : cases) {
    TBitmap b(2, 3);
    try {
      Load(b, c.bytes);
      ADD_FAILURE() << c.what << " was read";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "Unsupported or invalid picture data") << c.what;
    }
    EXPECT_EQ(b.Width(), 2) << c.what;
  }
}

TEST(PictureHardening, ASmallFileClaimingAHugePictureIsRefusedBeforeDecoding) {
  const struct {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      // Pictures are kept at 32 bits a pixel: a 1-bit file grows 32 times.
      {"1-bit PNG", PngClaiming(20000, 20000, 1, 0), "Picture is too large (20000 x 20000 pixels)"},
      {"24-bit BMP", BmpClaiming(10000, 10000, 24), "Picture is too large (10000 x 10000 pixels)"},
      {"1-bit BMP", BmpClaiming(16000, 16000, 1), "Picture is too large (16000 x 16000 pixels)"},
  };
  for (const auto& c : cases) {
    TPicture p;
    TBitmap kept(2, 3);
    p.SetGraphic(&kept);
    const std::string file = TestTempDir() + "/claims.png";
    {
      TFileStream f(file, fmCreate);
      f.WriteString(c.bytes);
    }
    try {
      p.LoadFromFile(file);
      ADD_FAILURE() << c.what << " was read";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), c.message) << c.what;
    }
    EXPECT_EQ(p.Width(), 2) << c.what;
  }
}

namespace {

// A GIF89a of the given screen with one image of the given size (its pixel
// data cut off): the header and the image descriptor claim the picture.
// A comment of `comment` blocks of 255 bytes comes before the image.
std::string GifClaiming(int screenW, int screenH, int imageW, int imageH, int comment = 0) {
  auto u16 = [](int v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; };
  std::string text;
  for (int k = 0; k < comment; ++k) text += '\xFF' + std::string(255, 'c');
  if (comment) text = "\x21\xFE" + text + std::string(1, '\0');
  return "GIF89a" + u16(screenW) + u16(screenH) + std::string("\x80\0\0\xFF\xFF\xFF\0\0\0", 9) + text + "\x2C" +
         u16(0) + u16(0) + u16(imageW) + u16(imageH) + std::string("\0\x02\x02\x44\x01\0;", 7);
}

}  // namespace

TEST(PictureHardening, EveryPictureLoadHasABudgetOfPixels) {
  // Loads outside a component stream: a picture file, or a graphic read
  // from a stream of its own. A PNG of more than a picture's pixels, padded
  // with a text chunk so that its size is in proportion.
  const std::string png = PngClaiming(4100, 4100, 1, 0);
  const std::string paddedPng = png.substr(0, 33) + PngChunk("tEXt", "c" + std::string(1200, 'x')) + png.substr(33);
  const struct {
    const char* what;
    const char* file;
    std::string bytes;
    std::string message;
  } cases[] = {
      {"BMP file", "claims.bmp", BmpClaiming(5, 4194311, 4),
       "Picture of 5 x 4194311 pixels in 134 bytes is out of proportion to its data"},
      {"GIF whose screen is large", "claims.gif", GifClaiming(2000, 2000, 1, 1),
       "Picture of 2000 x 2000 pixels in 35 bytes is out of proportion to its data"},
      {"GIF whose image is larger than its screen", "claims.gif", GifClaiming(0, 0, 3000, 1000),
       "Picture of 3000 x 1000 pixels in 35 bytes is out of proportion to its data"},
      // LZW codes give at most 4,096 pixels a byte: the canvas the decoder
      // fills is judged by that, not by the 16,384 of deflate.
      {"GIF of 2 kB claiming 12,000,000 pixels", "claims.gif", GifClaiming(4000, 3000, 4000, 3000, 8),
       "Picture of 4000 x 3000 pixels in 2086 bytes is out of proportion to its data"},
      {"PNG over a picture's budget", "claims.png", paddedPng,
       "Picture of 4100 x 4100 pixels exceeds what one picture may have (" + std::to_string(kLoadPixelBudget) +
           " pixels)"},
  };
  for (const auto& c : cases) {
    TPicture p;
    TBitmap kept(2, 3);
    p.SetGraphic(&kept);
    const std::string file = TestTempDir() + "/" + c.file;
    {
      TFileStream f(file, fmCreate);
      f.WriteString(c.bytes);
    }
    try {
      p.LoadFromFile(file);
      ADD_FAILURE() << c.what << " was read from a file, " << p.Width() << " x " << p.Height();
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
    EXPECT_EQ(p.Width(), 2) << c.what;
    TBitmap b;
    try {
      Load(b, c.bytes);
      ADD_FAILURE() << c.what << " was read from a stream";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
  }
  // A budget is the load's own: the next picture has all of it again.
  TBitmap page(3000, 3000, pf1bit);
  TPngImage real;
  real.Assign(&page);
  const std::string bytes = Saved(real);
  ASSERT_GT(2 * 3000LL * 3000, kLoadPixelBudget);
  for (int k = 0; k < 2; ++k) {
    TBitmap b;
    ASSERT_NO_THROW(Load(b, bytes)) << k;
    EXPECT_EQ(b.Width(), 3000);
  }
}
