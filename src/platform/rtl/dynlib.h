// Libraries loaded at run time, with the class library's routine names and
// error numbers.
//
// Names: a name ending in ".dll" (any case) means "lib<stem>.so". A name
// without a folder is looked for in the program's folder first (as given,
// then in lower case), then through the system loader's search path. A name
// with a folder is used in that folder only.
//
// After a failed LoadLibrary, GetLastError() tells why:
//   ERROR_DLL_NOT_FOUND (1157)    no such library
//   ERROR_PATH_NOT_FOUND (3)      the folder of the name does not exist
//   ERROR_BAD_EXE_FORMAT (1154)   the file is not a valid library (damaged)
//   ERROR_DLL_INIT_FAILED (1114)  found and valid but could not be set up
//                                 (unresolved symbols, a missing dependency)
//   ERROR_ACCESS_DENIED (5)       the file may not be read
//   ERROR_NOT_ENOUGH_MEMORY (8)   out of memory
#pragma once

#include <cstdint>
#include <string>

using HMODULE = void*;
using FARPROC = void*;

constexpr unsigned ERROR_SUCCESS = 0;
constexpr unsigned ERROR_FILE_NOT_FOUND = 2;
constexpr unsigned ERROR_PATH_NOT_FOUND = 3;
constexpr unsigned ERROR_ACCESS_DENIED = 5;
constexpr unsigned ERROR_INVALID_HANDLE = 6;
constexpr unsigned ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr unsigned ERROR_OUTOFMEMORY = 14;
constexpr unsigned ERROR_SHARING_VIOLATION = 32;
constexpr unsigned ERROR_MOD_NOT_FOUND = 126;
constexpr unsigned ERROR_PROC_NOT_FOUND = 127;
constexpr unsigned ERROR_DLL_INIT_FAILED = 1114;
constexpr unsigned ERROR_BAD_EXE_FORMAT = 1154;  // "DLL damaged or invalid"
constexpr unsigned ERROR_DLL_NOT_FOUND = 1157;

// Loads the library (immediate binding, symbols kept local); 0 on failure,
// with GetLastError() set. Loading one library twice gives the same handle
// and needs two FreeLibrary calls.
HMODULE LoadLibrary(const std::string& name);
// The entry of that name; 0 (and ERROR_PROC_NOT_FOUND) when missing. Shared
// objects here cannot carry the call-convention decoration in their symbol
// names, so a decorated name "_name@N" not found as it stands is looked up
// as the plain "name" (libraries export "startprog" for "_startprog@36").
// Handles not given out by LoadLibrary (or already freed) are refused with
// ERROR_INVALID_HANDLE here and in FreeLibrary.
FARPROC GetProcAddress(HMODULE module, const std::string& procName);
bool FreeLibrary(HMODULE module);
// The full file name of a loaded library (of the program for 0); empty for
// an invalid handle.
std::string GetModuleFileName(HMODULE module);
// The loader's own words for the last failure of this thread (empty if none).
std::string LastLoaderMessage();

// This thread's last error number.
unsigned GetLastError();
void SetLastError(unsigned code);
// The library file name LoadLibrary looks for first: "x.dll" -> "libx.so".
std::string LibraryFileName(const std::string& name);
// "_name@N" -> "name"; empty for a name without that decoration.
std::string UndecoratedName(const std::string& name);
