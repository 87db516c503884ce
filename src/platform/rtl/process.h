// Starting programs and waiting for them, and the event objects waits use.
//
// Programs start without a shell: the program file is run as given (searched
// on PATH when it has no '/'), its command line split into arguments at
// blanks with double quotes grouping. A started program gets its own session
// (no controlling terminal: the "new console"), an empty standard input (end
// of file at once, never this process's input), none of this process's other
// open files, the folder asked for and the niceness that goes with its
// priority class. A program ended by a signal has the exit code 128 + the
// signal.
//
// Waits are on descriptors that poll() understands (a process's pidfd, an
// event's eventfd), so a thread can wait for a process and an abort event
// together.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using DWORD = uint32_t;

constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0, WAIT_TIMEOUT = 258, WAIT_FAILED = 0xFFFFFFFFu;
constexpr DWORD STILL_ACTIVE = 259;

// Priority classes, and the niceness each is mapped to.
constexpr DWORD NORMAL_PRIORITY_CLASS = 0x20, IDLE_PRIORITY_CLASS = 0x40, HIGH_PRIORITY_CLASS = 0x80,
                REALTIME_PRIORITY_CLASS = 0x100;
constexpr DWORD CREATE_NEW_CONSOLE = 0x10;
// 0 normal, 19 idle, -10 high, -20 real-time. Raising the priority needs the
// privilege to; without it the program runs at normal priority.
int PriorityClassToNice(DWORD priorityClass);

// The arguments of a command line: split at blanks (spaces and tabs), a
// double-quoted stretch kept whole without its quotes ("" is an empty
// argument); an unclosed quote runs to the end.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// An event: signalled by SetEvent; a manual-reset event stays signalled until
// ResetEvent, an auto-reset one is reset by the wait that sees it.
class TEvent {
public:
  TEvent(bool manualReset, bool initialState);
  ~TEvent();
  TEvent(const TEvent&) = delete;
  TEvent& operator=(const TEvent&) = delete;

  void SetEvent();
  void ResetEvent();
  // WAIT_OBJECT_0 when signalled within timeoutMs (INFINITE: no limit),
  // WAIT_TIMEOUT, or WAIT_FAILED.
  DWORD WaitFor(DWORD timeoutMs);
  // The pollable descriptor (readable while signalled).
  int Handle() const { return FFd; }
  bool ManualReset() const { return FManualReset; }

private:
  int FFd = -1;
  bool FManualReset;
};

// Waits until one of the descriptors is readable: WAIT_OBJECT_0 + its index,
// WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitForMultipleObjects(const std::vector<int>& handles, DWORD timeoutMs);

// A started program. Copies share it; it is safe to use from several threads.
class TProcess {
public:
  TProcess(pid_t pid, int pidfd);
  ~TProcess();
  TProcess(const TProcess&) = delete;
  TProcess& operator=(const TProcess&) = delete;

  pid_t ProcessId() const { return FPid; }
  // Readable once the program has ended.
  int Handle() const { return FPidFd; }
  // The exit code, STILL_ACTIVE while the program runs; false when it cannot be known.
  bool GetExitCode(DWORD& code);
  // WAIT_OBJECT_0 when the program ended within timeoutMs, else WAIT_TIMEOUT / WAIT_FAILED.
  DWORD WaitFor(DWORD timeoutMs);

private:
  std::mutex FLock;
  pid_t FPid;
  int FPidFd;
  bool FEnded = false;
  DWORD FExitCode = STILL_ACTIVE;
};
using TProcessHandle = std::shared_ptr<TProcess>;

// The show-window code asked for (SW_ numbering). Window systems here let a
// program place its own first window, so the code is recorded, not applied.
struct TStartupInfo {
  int ShowWindow = 1;
};

// Starts fileName with the arguments of commandLine (split as above; fileName
// itself is argv[0]). creationFlags: a priority class, CREATE_NEW_CONSOLE.
// currentDirectory empty: this process's folder. Null and the system's error
// number in error when the program could not be started.
TProcessHandle CreateProcess(const std::string& fileName, const std::string& commandLine, DWORD creationFlags,
                             const std::string& currentDirectory, const TStartupInfo& startup, int& error);

// As CreateProcess with the arguments given one by one (args[0] is the
// program): nothing is split, quoted or passed through a shell.
TProcessHandle CreateProcessArgs(std::vector<std::string> args, DWORD creationFlags,
                                 const std::string& currentDirectory, const TStartupInfo& startup, int& error);

// Waits for a process that need not be a child of this one: WAIT_OBJECT_0
// once it has ended (or when there is no such process), WAIT_TIMEOUT, or
// WAIT_FAILED for an id that cannot be one. Uses the process's pidfd where
// the system has them, else asks every 50 ms.
DWORD WaitForProcessEnd(unsigned pid, DWORD timeoutMs);

// There is no input queue to become idle here: a started program counts as
// ready at once (WAIT_OBJECT_0); WAIT_FAILED for no program.
DWORD WaitForInputIdle(const TProcessHandle& process, DWORD timeoutMs);

// The system's text for an error number.
std::string SystemErrorText(int error);
