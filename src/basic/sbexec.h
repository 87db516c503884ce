// The executor: runs a linked code list entry by entry (TSBCodeList::Run),
// counts how often each entry runs and stops a run past the list's MaxCount,
// calls built-in, host and user functions (a user FUNCTION is another code
// list, run recursively around a snapshot of its caller) and records the
// first failing entry in the error record.
#pragma once

#include <cstdint>
#include <string>

#include "basic/sbcodelist.h"

// What a built-in or host function fills with its result. TypeCode #0
// means no result.
struct TSBResultCell {
  char TypeCode = tcNone;
  int32_t IntValue = 0;
  float SingleValue = 0;
  double DoubleValue = 0;
  std::string StrValue;
  double DateValue = 0;
};

// Deepest nesting of user FUNCTION calls in one run; a deeper call ends the
// run with "Too many cycles" instead of exhausting the machine stack.
constexpr int MaxCallDepth = 1000;
