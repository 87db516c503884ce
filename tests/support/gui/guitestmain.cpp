// Starts the window system (offscreen under ctest) before the tests run.
#include <gtest/gtest.h>

#include "support/gui/guitest.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  guitest::EnsureGui();
  return RUN_ALL_TESTS();
}
