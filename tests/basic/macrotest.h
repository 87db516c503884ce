// A macro interpreter wired for tests: the program comes from an in-memory
// memo, messages go to an in-memory panel, and the host function OUT(x)
// records its argument as text.
#pragma once

#include <string>
#include <vector>

#include "basic/sbasic.h"
#include "basic/sbhost.h"

// The argument as OUT shows it: integers in decimal, reals in the general
// format, strings as they are, dates in the short date format.
std::string ArgText(const TSBCodeList& list, int i);

class TMacro {
public:
  TMacro();

  // Compiles the text; the error code.
  int Compile(const std::string& text);
  // Compiles and runs; the outputs joined by "|", or "compile <code>" /
  // "run <code>" when that failed.
  std::string Run(const std::string& text);
  std::string Message() const { return Panel.Caption(); }

  TSBasic Basic;
  TSBStringsSource Memo;
  TSBMessageText Panel;
  std::vector<std::string> Out;
};

std::string Joined(const std::vector<std::string>& items);
