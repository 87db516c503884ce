#include "tbgolden.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/colors.h"

namespace {
std::filesystem::path GoldenDir() {
  if (const char* src = std::getenv("ZELVORA_SOURCE_DIR")) return std::filesystem::path(src) / "tests/toolbar/golden";
  return std::filesystem::path(__FILE__).parent_path() / "golden";
}
}  // namespace

void ExpectSameAsToolbarGolden(TBitmap& image, const std::string& name) {
  const std::filesystem::path file = GoldenDir() / name;
  if (std::getenv("ZELVORA_UPDATE_GOLDEN")) {
    std::filesystem::create_directories(file.parent_path());
    TPngImage png;
    png.Assign(&image);
    png.SaveToFile(file.string());
    GTEST_SKIP() << "wrote " << file;
  }
  TPicture picture;
  ASSERT_NO_THROW(picture.LoadFromFile(file.string())) << file;
  TBitmap golden;
  golden.Assign(picture.Graphic());
  ASSERT_EQ(golden.Width(), image.Width());
  ASSERT_EQ(golden.Height(), image.Height());
  int differing = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (ColorToRGB(image.Canvas()->Pixels(x, y)) != ColorToRGB(golden.Canvas()->Pixels(x, y))) ++differing;
  EXPECT_EQ(differing, 0) << "pixels differ from " << file;
}
