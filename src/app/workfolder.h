// Where the program's work files go ("tempedit.inp", "temp.inp",
// "manual.inp"): the folder named by the program-wide WorkFolder, or, while
// that is empty, the process's private work folder, never the current one.
#pragma once

#include <string>

// The work folder with a trailing '/'.
std::string AppWorkFolder();
// AppWorkFolder() + name.
std::string AppWorkFile(const std::string& name);
// The name with the extension of its file-name part removed; a dot in a
// folder name ("~/.local/x", "data.v2/run") is not an extension.
std::string WithoutExtension(const std::string& fileName);
