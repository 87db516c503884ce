#include "basic/sberrors.h"

#include "basic/sbclasses.h"
#include "basic/sbtypes.h"

std::string ErrorText(int code, const std::string& name) {
  std::string text = code < 301 ? "Syntax error" : "Run-time error";
  if (code == 1)
    text = "Invalid symbol";
  else if (code >= 2 && code <= 150)
    text = "Invalid statement";
  else if (code == 201)
    text = "Incompatible types";
  else if (code == 202 || code == 302)
    text = "Invalid parameter";
  else if (code == 203 || code == 204 || code == 211)
    text = "Incompatible parameter type";
  else if (code >= 205 && code <= 207)
    text = "Wrong number of parameters";
  else if (code >= 208 && code <= 210)
    text = "'" + name + "' is not an array";
  else if (code == 212)
    text = "Duplicate name '" + name + "'";
  else if (code >= 215 && code <= 217)
    text = "Unknown identifier '" + name + "'";
  else if (code == 301 || (code >= 303 && code <= 305) || code == 307)
    text = "Range check error";
  else if (code == 306)
    text = "Invalid pointer";
  else if (code == 310)
    text = "Too many cycles";
  else if (code == sbeZeroStep)
    text = "FOR loop with a step of 0";
  else if (code == sbeRecursionDepth)
    text = "Recursion too deep";
  else if (code == sbeStopped)
    text = "Stopped";
  else if (code == sbeOutOfMemory)
    text = "Out of macro memory: the values of one run may take " + std::to_string(MaxRunMemory >> 20) + " MB";
  else if (code == 320)
    text = "Invalid command";
  return CutText(text);
}

std::string ZeroPadded(int64_t n, int digits) {
  const bool negative = n < 0;
  std::string s = std::to_string(negative ? static_cast<uint64_t>(-(n + 1)) + 1 : static_cast<uint64_t>(n));
  if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<std::size_t>(digits) - s.size(), '0');
  return negative ? "-" + s : s;
}
