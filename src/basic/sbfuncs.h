// The 49 built-in functions of the macro language: 18 float functions
// (ROUND .. ABS, results of single precision) and 31 procedures
// (RANDOMIZE .. SETDIR). Every component registers them first, in this
// order, so that compiled code can refer to them by index 0 .. 48.
#pragma once

#include "basic/sbcodelist.h"

constexpr int BuiltinCount = 49;

// Registers the built-ins on the code list's function list.
void RegisterBuiltins(TSBCodeList& list);
