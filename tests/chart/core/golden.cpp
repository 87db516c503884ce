#include "chart/core/golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/colors.h"

namespace {

std::filesystem::path GoldenDir() {
  if (const char* src = std::getenv("ZELVORA_SOURCE_DIR")) return std::filesystem::path(src) / "tests/chart/core/golden";
  return std::filesystem::path(__FILE__).parent_path() / "golden";
}

}  // namespace

void ExpectMatchesGolden(TBitmap& image, const std::string& name, TGoldenTolerance tolerance) {
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
    for (int x = 0; x < image.Width(); ++x) {
      const TColorRef a = ColorToRGB(image.Canvas()->Pixels(x, y)), b = ColorToRGB(golden.Canvas()->Pixels(x, y));
      const int d = std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                              std::abs(GetBValue(a) - GetBValue(b))});
      if (d > tolerance.Channel) ++differing;
    }
  EXPECT_LE(differing, tolerance.MaxDiffering) << differing << " pixels differ from " << file;
}
