// The program-wide work folder, reached apart from the layer's function of
// the same name.
#include "model/global.h"

namespace zv_globals {
std::string& WorkFolderSetting() { return ::WorkFolder; }
}
