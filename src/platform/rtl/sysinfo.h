// Facts about the machine and the process, and the folders the program uses.
#pragma once

#include <cstdint>
#include <string>

struct TMemoryStatus {
  uint64_t TotalPhys = 0;      // bytes of physical memory
  uint64_t AvailPhys = 0;      // bytes available without swapping
  uint64_t TotalPageFile = 0;  // physical memory plus swap
  uint64_t AvailPageFile = 0;
  unsigned MemoryLoad = 0;     // percent of physical memory in use, 0..100
};
// Read from /proc/meminfo; zeros where it cannot be read.
TMemoryStatus GlobalMemoryStatus();
uint64_t PhysicalMemorySize();
uint64_t AvailablePhysicalMemory();
unsigned MemoryLoad();

// "Linux 6.1.0-18-amd64 x86_64"-style: system name, release and machine.
std::string PlatformVersion();
struct TPlatformVersion {
  std::string Name;     // "Linux"
  std::string Release;  // "6.1.0-18-amd64"
  std::string Machine;  // "x86_64"
  int Major = 0;        // 6
  int Minor = 0;        // 1
};
TPlatformVersion GetPlatformVersion();
// The operating-system version query in the class library's terms. Windows
// families have ids 0 (Win32s), 1 (Windows 95/98) and 2 (NT); this system is
// none of them and answers VER_PLATFORM_POSIX, with uname's release numbers.
constexpr unsigned VER_PLATFORM_WIN32s = 0, VER_PLATFORM_WIN32_WINDOWS = 1, VER_PLATFORM_WIN32_NT = 2,
                   VER_PLATFORM_POSIX = 0x100;
struct TOSVersionInfo {
  unsigned PlatformId = 0;
  unsigned MajorVersion = 0;
  unsigned MinorVersion = 0;
  unsigned BuildNumber = 0;
  std::string CSDVersion;  // the system name and the machine ("Linux x86_64")
};
// False (and the record left at zeros) when the system cannot be asked.
bool GetVersionEx(TOSVersionInfo& Info);
// The computer's name; the login name of the user.
std::string ComputerName();
std::string UserName();

// The folder of the running program, with a trailing '/'.
std::string ProgramFolder();
// The full name of the running program.
std::string ProgramFileName();
// TMPDIR when set, else /tmp; with a trailing '/'.
std::string TempFolder();
// This process's private work folder (mode 0700), with a trailing '/'.
// Created on first use as a unique subfolder of a per-user base folder:
// TempFolder()/zelvora-<uid> when TMPDIR is set, else
// $XDG_RUNTIME_DIR/zelvora when that is set, else /tmp/zelvora-<uid>. The base
// is made 0700 and must be a real folder (not a symbolic link) owned by the
// user. The work folder is removed with its contents when the program ends
// normally. Two running programs (also a forked child) never share it.
// Raises EInOutError when no safe folder can be made.
std::string WorkFolder();
// Removes the work folder now (it is made again on the next WorkFolder()).
void RemoveWorkFolder();
// Removes the work folders that programs no longer running left in the
// per-user base (a crash leaves the user's model there): only folders named
// as WorkFolder names them, owned by this user, directly in the base, whose
// process has ended. WorkFolder calls it when it makes the process's first
// folder. Returns the number removed.
int RemoveStaleWorkFolders();
// The per-user folder for a refinement's run files (its listing and the
// files beside it), with a trailing '/'. Unlike the work folder it outlives
// the program, as a desktop's temporary folder does: run files are there to
// read after the program ends and are replaced by the next run of the same
// name. It is $XDG_CACHE_HOME/Zelvora/run (else ~/.cache/Zelvora/run),
// mode 0700; while a running program holds that one (each holds its folder
// for its whole run), the next free of run-2, run-3, ... up to run-99, so
// the folder of another running program is never touched. Raises
// EInOutError when no safe folder can be had.
std::string RunFolder();
// Where settings live: ZELVORA_CONFIG_HOME when set, else
// $XDG_CONFIG_HOME/Zelvora, else ~/.config/Zelvora; with a trailing '/'.
// Not created here.
std::string ConfigFolder();
// The user's home folder, with a trailing '/'.
std::string HomeFolder();

// The value of an environment variable; empty when unset.
std::string GetEnvironmentVariable(const std::string& name);
// Milliseconds since an arbitrary fixed point (monotonic).
uint64_t GetTickCount();
// The id of the running process.
unsigned GetCurrentProcessId();
