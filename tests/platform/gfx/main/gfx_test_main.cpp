// Test main of the drawing layer: the Qt application exists before any test,
// and the process has the environment's locale, as the program has.
#include <gtest/gtest.h>

#include "platform/gfx/qt_private.h"
#include "support/testlocale.h"

int main(int argc, char** argv) {
  EnsureQtApplication();
  testlocale::AdoptEnvironmentLocale();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
