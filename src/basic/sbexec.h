// The executor: runs a linked code list entry by entry (TSBCodeList::Run),
// counts how often each entry runs and stops a run past the list's MaxCount,
// calls built-in, host and user functions and records the first failing
// entry in the error record. A user FUNCTION is another code list; its call
// is a frame on an explicit stack, not a recursion on the machine stack, and
// each run of a list starts with its entry counters at 0. A list entered again
// while it runs (recursion) has its variables, registers, pending arguments
// and counters kept in the frame and given back when the inner run ends.
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

// Deepest nesting of user FUNCTION calls in one run, and the most bytes the
// frames of a recursion may keep of the lists they re-enter; a call beyond
// either ends the run with "Recursion too deep" (sbeRecursionDepth).
constexpr int MaxCallDepth = 100000;
constexpr int64_t MaxSavedBytes = int64_t{256} << 20;
// User FUNCTION calls one run may make, per unit of the list's MaxCount;
// more end the run with "Too many cycles".
constexpr int64_t MaxCallsPerCount = 100;
