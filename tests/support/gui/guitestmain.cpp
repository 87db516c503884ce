// Starts the window system (offscreen under ctest) before the tests run; the
// process then has the environment's locale, as the program has.
#include <gtest/gtest.h>

#include "support/gui/guitest.h"
#include "support/testlocale.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  guitest::EnsureGui();
  testlocale::AdoptEnvironmentLocale();
  return RUN_ALL_TESTS();
}
