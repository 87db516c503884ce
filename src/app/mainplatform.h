// The layer's folders for the main window, under names that do not meet the
// program-wide variables ProgramFolder and WorkFolder.
#pragma once

#include <string>

namespace zv_mainplatform {
// The program's folder, with a trailing '/'.
std::string ProgramFolderPath();
std::string ProgramFilePath();
// The process's private per-user work folder, with a trailing '/'.
std::string WorkFolderPath();
// Why the settings folder cannot take the settings; empty when it can.
std::string SettingsProblem();
std::string Environment(const std::string& name);
// The user's home folder, with a trailing '/'.
std::string HomeFolderPath();
}  // namespace zv_mainplatform
