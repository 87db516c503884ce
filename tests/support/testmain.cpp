// The main of the test programs without a window system: the process takes its
// locale from the environment first, as the program does.
#include <gtest/gtest.h>

#include "support/testlocale.h"

int main(int argc, char** argv) {
  testlocale::AdoptEnvironmentLocale();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
