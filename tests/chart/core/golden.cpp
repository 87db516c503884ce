#include "chart/core/golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/colors.h"

namespace {

std::filesystem::path SourceDir() {
  if (const char* src = std::getenv("ZELVORA_SOURCE_DIR")) return std::filesystem::path(src);
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().parent_path();
}

std::filesystem::path GoldenDir(const std::string& folder = "tests/chart/core/golden") { return SourceDir() / folder; }

}  // namespace

int GoldenDifferences(TBitmap& image, const std::string& name, int channel) {
  return GoldenDifferencesIn("tests/chart/core/golden", image, name, channel);
}

int GoldenDifferencesIn(const std::string& folder, TBitmap& image, const std::string& name, int channel) {
  const std::filesystem::path file = GoldenDir(folder) / name;
  TPicture picture;
  try {
    picture.LoadFromFile(file.string());
  } catch (const std::exception& e) {
    ADD_FAILURE() << file << ": " << e.what();
    return -1;
  }
  TBitmap golden;
  golden.Assign(picture.Graphic());
  if (golden.Width() != image.Width() || golden.Height() != image.Height()) {
    ADD_FAILURE() << file << " is " << golden.Width() << " x " << golden.Height() << ", the drawing " << image.Width()
                  << " x " << image.Height();
    return -1;
  }
  int differing = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const TColorRef a = ColorToRGB(image.Canvas()->Pixels(x, y)), b = ColorToRGB(golden.Canvas()->Pixels(x, y));
      const int d = std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                              std::abs(GetBValue(a) - GetBValue(b))});
      if (d > channel) ++differing;
    }
  return differing;
}

void ExpectMatchesGolden(TBitmap& image, const std::string& name, TGoldenTolerance tolerance) {
  ExpectMatchesGoldenIn("tests/chart/core/golden", image, name, tolerance);
}

void ExpectMatchesGoldenIn(const std::string& folder, TBitmap& image, const std::string& name,
                           TGoldenTolerance tolerance) {
  const std::filesystem::path file = GoldenDir(folder) / name;
  if (std::getenv("ZELVORA_UPDATE_GOLDEN")) {
    std::filesystem::create_directories(file.parent_path());
    TPngImage png;
    png.Assign(&image);
    png.SaveToFile(file.string());
    GTEST_SKIP() << "wrote " << file;
  }
  const int differing = GoldenDifferencesIn(folder, image, name, tolerance.Channel);
  EXPECT_GE(differing, 0);
  EXPECT_LE(differing, tolerance.MaxDiffering) << differing << " pixels differ from " << file;
}
