// printf-style formatting for the engine's files (listing, distances, data
// files) whose numbers never follow the process locale: the engine runs inside
// a program whose desktop may use a decimal comma, and its files must read the
// same everywhere.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

// As std::snprintf into a string, except that the floating conversions
// (f F e E g G, with flags - + space 0, width and precision, '*' too) are
// written by std::to_chars and so always with a point. Integers, characters and
// strings go as printf writes them (no conversion of those depends on the
// locale without the ' flag, which this does not take).
std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string VPrintf(const char* format, std::va_list args);
// Printf to a C file; false when the write failed.
bool FPrintf(std::FILE* f, const char* format, ...) __attribute__((format(printf, 2, 3)));
