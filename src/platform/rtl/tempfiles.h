// Unique temporary files.
#pragma once

#include <string>

// Creates an empty file with a unique name "<prefix>XXXXXX.tmp" in folder
// (owner-only) and returns its full name; empty when it cannot be made.
std::string GetTempFileName(const std::string& folder, const std::string& prefix);
