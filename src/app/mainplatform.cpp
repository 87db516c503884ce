// The layer's folder functions, reached apart from the program-wide
// variables of the same names (ProgramFolder, WorkFolder).
#include "app/mainplatform.h"

#include <unistd.h>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/sysinfo.h"

namespace zv_mainplatform {

std::string ProgramFolderPath() { return ::ProgramFolder(); }

std::string ProgramFilePath() { return ::ProgramFileName(); }

std::string WorkFolderPath() { return ::WorkFolder(); }

std::string SettingsProblem() {
  const std::string folder = ::ConfigFolder();
  if (!ForceDirectories(folder) || ::access(folder.c_str(), W_OK | X_OK) != 0)
    return "The settings cannot be saved: the folder " + folder +
           " cannot be written. Zelvora runs with the default settings.";
  return {};
}

std::string Environment(const std::string& name) { return ::GetEnvironmentVariable(name); }

std::string HomeFolderPath() { return ::HomeFolder(); }

}  // namespace zv_mainplatform
