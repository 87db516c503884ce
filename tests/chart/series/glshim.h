// A stand-in GL: every entry point records its name and arguments, so tests
// see the calls the GL canvas makes without a GL. glGetError answers the
// error queued for a chosen entry point once that entry was called.
#pragma once

#include <string>
#include <vector>

#include "chart/series/opengl2.h"

namespace glshim {

extern std::vector<std::string> Log;
// After a call of this entry (by name), glGetError answers Error once.
extern std::string FailAfter;
extern GLenum Error;
// The version text glGetString(GL_VERSION) answers.
extern std::string Version;
// Whether contexts can be made.
extern bool ContextsAvailable;

// Installs the recording table and fake contexts; clears the log.
void Install();
// Entries of the log starting with the prefix.
std::vector<std::string> CallsOf(const std::string& prefix);
bool Called(const std::string& prefix);

}  // namespace glshim
