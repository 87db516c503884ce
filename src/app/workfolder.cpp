#include "app/workfolder.h"

#include "platform/rtl/fileutils.h"
#include "platform/rtl/sysinfo.h"

// The program-wide setting lives in the model's globals, whose name the
// layer's own function shares; it is declared here alone.
namespace zv_globals {
std::string& WorkFolderSetting();
}

std::string AppWorkFolder() {
  const std::string& set = zv_globals::WorkFolderSetting();
  if (!set.empty()) return IncludeTrailingPathDelimiter(set);
  return ::WorkFolder();
}

std::string AppWorkFile(const std::string& name) { return AppWorkFolder() + name; }

std::string WithoutExtension(const std::string& fileName) { return ChangeFileExt(fileName, ""); }
