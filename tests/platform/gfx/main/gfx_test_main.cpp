// Test main of the drawing layer: the Qt application exists before any test.
#include <gtest/gtest.h>

#include "platform/gfx/qt_private.h"

int main(int argc, char** argv) {
  EnsureQtApplication();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
