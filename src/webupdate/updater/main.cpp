// The updater program (see webupdate/updater.h).
#include <string>
#include <vector>

#include "webupdate/updater.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunUpdater(args);
}
