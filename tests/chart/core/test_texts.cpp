// The chart library's texts.
#include <gtest/gtest.h>

#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"

namespace {

class LibraryTexts : public ::testing::Test {
protected:
  void SetUp() override { GrafCanvasUnitStartup(); }
  void TearDown() override {
    NativeExtension = "grf";
    SetLibraryTexts();
    SetExtraLibraryTexts();
  }
};

TEST_F(LibraryTexts, NativeFileTextsFollowTheExtension) {
  EXPECT_EQ(NativeFilterFragment(), "(*.grf)|*.grf");
  EXPECT_EQ(GrafMsgNativeFilter, "GrafChart files (*.grf)|*.grf");
  EXPECT_EQ(GrafMsgInvalidNativeFile, "Invalid Chart in *.grf file");
  EXPECT_EQ(GrafMsgWrongNativeFormat, "Wrong *.grf file format");
  EXPECT_EQ(GrafMsgEmptyNativeFile, "Empty *.grf file");

  NativeExtension = "zch";
  SetLibraryTexts();
  EXPECT_EQ(GrafMsgNativeFilter, "GrafChart files (*.zch)|*.zch");
  EXPECT_EQ(GrafMsgInvalidNativeFile, "Invalid Chart in *.zch file");
}

TEST_F(LibraryTexts, LiteralsAsListed) {
  struct TCase {
    const std::string& Text;
    const char* Expected;
  };
  const TCase cases[] = {
      {GrafMsgAxisMinimumValueMustBeMaximum, "Axis Minimum Value must be <= Maximum"},
      {GrafMsgValueOfTotal, "%s of %s"},
      {GrafMsgValueOfTotalTwoLines, "%s\rof %s"},
      {GrafMsgDefaultPercentFormat, "##0.## %"},
      {GrafMsgDefaultValueFormat, "#,##0.###"},
      {GrafMsgDefaultExpFormat, "#.0 \"x10\" E+0"},
      {GrafMsgDefaultFontName, "Arial"},
      {GrafMsgDefaultFontSize, "8"},
      {GrafMsgMonospacedFontName, "Courier New"},
      {GrafMsgHorizontalBar, "Horizontal\rBar"},
      {GrafMsgLine, "Line"},
      {GrafMsgGalleryLine, "Line"},
      {GrafMsgSubFoot, "SubFoot"},
      {GrafMsgExPolar, "Polar"},
      {GrafMsgExRotationDElevationD, "Rotation: %d\xC2\xB0 Elevation: %d\xC2\xB0"},
      {GrafMsgExZoomD, "Zoom: %d %%"},
      {GrafMsgExISOSurface, "ISOSurface"},
  };
  for (const TCase& c : cases) EXPECT_EQ(c.Text, c.Expected);
  // A caption broken with a carriage return keeps it.
  EXPECT_NE(GrafMsgHorizontalBar.find('\r'), std::string::npos);
}

TEST_F(LibraryTexts, EveryTextIsFilledAndReleasedAtTheEnd) {
  int base = 0, extra = 0;
#define ZV_COUNT_BASE(Name, Literal) \
  ++base;                            \
  EXPECT_EQ(Name, Literal) << #Name;
#define ZV_COUNT_EXTRA(Name, Literal) \
  ++extra;                            \
  EXPECT_EQ(Name, Literal) << #Name;
  ZV_GRAF_BASE_TEXTS(ZV_COUNT_BASE)
  ZV_GRAF_EXTRA_TEXTS(ZV_COUNT_EXTRA)
#undef ZV_COUNT_BASE
#undef ZV_COUNT_EXTRA
  // 271 literal base texts; with the four built from the extension and the
  // notice the base group has 276.
  EXPECT_EQ(base, 271);
  EXPECT_FALSE(GrafMsgLibraryNotice.empty());
  EXPECT_GE(extra, 219);

  ReleaseLibraryTexts();
  EXPECT_TRUE(NativeExtension.empty());
  EXPECT_TRUE(GrafMsgTest.empty());
  EXPECT_TRUE(GrafMsgNativeFilter.empty());
  EXPECT_TRUE(GrafMsgExPolar.empty());
}

}  // namespace
