// The bitmaps compiled into the program are found by name, case aside, and
// a name that is none gives nothing.
#include <gtest/gtest.h>

#include "platform/gfx/resources.h"

TEST(CompiledBitmaps, FoundByNameWithTheirSizes) {
  const struct {
    const char* Name;
    int Width, Height;
  } cases[] = {{"GrafBrush1", 16, 16},        {"grafbrush12", 16, 16},      {"GrafTextureMetal", 16, 16},
               {"GrafTextureSnow", 32, 32},   {"GrafArrowUp", 24, 12},      {"GRAFARROWDOWN", 24, 12},
               {"GrafNav_First", 22, 11},     {"GrafNav_Cancel", 22, 11}};
  for (const auto& c : cases) {
    std::unique_ptr<TBitmap> b = LoadResourceBitmap(c.Name);
    ASSERT_NE(b, nullptr) << c.Name;
    EXPECT_EQ(b->Width(), c.Width) << c.Name;
    EXPECT_EQ(b->Height(), c.Height) << c.Name;
  }
  EXPECT_EQ(LoadResourceBitmap("GrafBrush13"), nullptr);
  EXPECT_EQ(LoadResourceBitmap("GrafNav_Nothing"), nullptr);
}
