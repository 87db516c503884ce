#include "platform/rtl/process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <climits>
#include <cstring>
#include <ctime>

int PriorityClassToNice(DWORD priorityClass) {
  if (priorityClass & REALTIME_PRIORITY_CLASS) return -20;
  if (priorityClass & HIGH_PRIORITY_CLASS) return -10;
  if (priorityClass & IDLE_PRIORITY_CLASS) return 19;
  return 0;
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> args;
  std::string current;
  bool inArg = false, quoted = false;
  for (char ch : commandLine) {
    if (ch == '"') {
      quoted = !quoted;
      inArg = true;
    } else if ((ch == ' ' || ch == '\t') && !quoted) {
      if (inArg) args.push_back(std::move(current));
      current.clear();
      inArg = false;
    } else {
      current += ch;
      inArg = true;
    }
  }
  if (inArg) args.push_back(std::move(current));
  return args;
}

namespace {

uint64_t MonotonicMs() {
  timespec ts;
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

int PollTimeout(DWORD timeoutMs) {
  return timeoutMs == INFINITE ? -1 : static_cast<int>(std::min<DWORD>(timeoutMs, INT_MAX));
}

}  // namespace

DWORD WaitForMultipleObjects(const std::vector<int>& handles, DWORD timeoutMs) {
  std::vector<pollfd> fds;
  for (int h : handles) fds.push_back({h, POLLIN, 0});
  for (;;) {
    const int n = ::poll(fds.data(), fds.size(), PollTimeout(timeoutMs));
    if (n < 0 && errno == EINTR) continue;  // a signal: the remaining time is close enough
    if (n < 0) return WAIT_FAILED;
    if (n == 0) return WAIT_TIMEOUT;
    for (size_t i = 0; i < fds.size(); ++i)
      if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) return WAIT_OBJECT_0 + static_cast<DWORD>(i);
    return WAIT_FAILED;
  }
}

TEvent::TEvent(bool manualReset, bool initialState) : FManualReset(manualReset) {
  FFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (initialState) SetEvent();
}

TEvent::~TEvent() {
  if (FFd >= 0) ::close(FFd);
}

void TEvent::SetEvent() {
  // The counter only needs to be non-zero; it never gets near overflowing.
  const uint64_t one = 1;
  [[maybe_unused]] ssize_t n = ::write(FFd, &one, sizeof one);
}

void TEvent::ResetEvent() {
  uint64_t value;
  [[maybe_unused]] ssize_t n = ::read(FFd, &value, sizeof value);
}

DWORD TEvent::WaitFor(DWORD timeoutMs) {
  const DWORD r = WaitForMultipleObjects({FFd}, timeoutMs);
  if (r == WAIT_OBJECT_0 && !FManualReset) ResetEvent();
  return r;
}

TProcess::TProcess(pid_t pid, int pidfd) : FPid(pid), FPidFd(pidfd) {}

TProcess::~TProcess() {
  // Reap the program if it has ended, so it does not linger as a zombie.
  DWORD code;
  GetExitCode(code);
  if (FPidFd >= 0) ::close(FPidFd);
}

bool TProcess::GetExitCode(DWORD& code) {
  std::lock_guard<std::mutex> lock(FLock);
  if (!FEnded) {
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(FPid), &info, WEXITED | WNOHANG) != 0) return false;
    if (info.si_pid == FPid) {
      FEnded = true;
      FExitCode = info.si_code == CLD_EXITED ? static_cast<DWORD>(info.si_status)
                                             : 128u + static_cast<DWORD>(info.si_status);
    }
  }
  code = FExitCode;
  return true;
}

DWORD TProcess::WaitFor(DWORD timeoutMs) {
  DWORD code;
  if (GetExitCode(code) && code != STILL_ACTIVE) return WAIT_OBJECT_0;
  const DWORD r = WaitForMultipleObjects({FPidFd}, timeoutMs);
  if (r == WAIT_OBJECT_0 && !GetExitCode(code)) return WAIT_FAILED;
  return r;
}

TProcessHandle CreateProcess(const std::string& fileName, const std::string& commandLine, DWORD creationFlags,
                             const std::string& currentDirectory, const TStartupInfo& startup, int& error) {
  std::vector<std::string> args = SplitCommandLine(commandLine);
  args.insert(args.begin(), fileName);
  return CreateProcessArgs(args, creationFlags, currentDirectory, startup, error);
}

TProcessHandle CreateProcessArgs(std::vector<std::string> args, DWORD creationFlags,
                                 const std::string& currentDirectory, const TStartupInfo& /*startup*/, int& error) {
  error = 0;
  if (args.empty() || args[0].empty()) {
    error = ENOENT;
    return nullptr;
  }
  const std::string& fileName = args[0];
  // Everything the child needs is made before the fork: after it, only
  // async-signal-safe calls.
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int nice = PriorityClassToNice(creationFlags);
  const bool newSession = creationFlags & CREATE_NEW_CONSOLE;
  const char* dir = currentDirectory.empty() ? nullptr : currentDirectory.c_str();
  const bool searchPath = fileName.find('/') == std::string::npos;

  // The child reports a failed start through this pipe; it closes on exec.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    error = errno;
    return nullptr;
  }
  // Standard input: a pipe whose writing end is closed, so the program reads
  // an end of file at once. It is made here, where a failure can be told:
  // a device opened in the child could fail unseen (or not be the empty
  // device at all) and leave the program reading this process's input.
  int input[2];
  if (::pipe2(input, O_CLOEXEC) != 0) {
    error = errno;
    ::close(report[0]);
    ::close(report[1]);
    return nullptr;
  }
  ::close(input[1]);
  const pid_t pid = ::fork();
  if (pid < 0) {
    error = errno;
    ::close(report[0]);
    ::close(report[1]);
    ::close(input[0]);
    return nullptr;
  }
  if (pid == 0) {
    auto fail = [&](int err) {
      [[maybe_unused]] ssize_t n = ::write(report[1], &err, sizeof err);
      ::_exit(127);
    };
    if (newSession) ::setsid();
    if (nice != 0) ::setpriority(PRIO_PROCESS, 0, nice);  // not allowed to raise it: stays normal
    // dup2 clears close-on-exec on the copy; the original closes on exec.
    if (input[0] != 0 && ::dup2(input[0], 0) != 0) fail(errno);
    if (input[0] == 0 && ::fcntl(0, F_SETFD, 0) != 0) fail(errno);
    // No open file of ours goes to the program, save the report pipe until exec.
    const int keep = report[1];
    if (keep > 3) ::syscall(SYS_close_range, 3u, static_cast<unsigned>(keep - 1), 0u);
    ::syscall(SYS_close_range, static_cast<unsigned>(keep + 1), ~0u, 0u);
    if (dir && ::chdir(dir) != 0) fail(errno);
    if (searchPath)
      ::execvp(argv[0], argv.data());
    else
      ::execv(argv[0], argv.data());
    fail(errno);
  }
  ::close(report[1]);
  ::close(input[0]);
  int childError = 0;
  ssize_t n;
  do {
    n = ::read(report[0], &childError, sizeof childError);
  } while (n < 0 && errno == EINTR);
  ::close(report[0]);
  if (n == static_cast<ssize_t>(sizeof childError)) {
    ::waitpid(pid, nullptr, 0);
    error = childError;
    return nullptr;
  }
  const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (pidfd < 0) {
    error = errno;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return nullptr;
  }
  ::fcntl(pidfd, F_SETFD, FD_CLOEXEC);
  return std::make_shared<TProcess>(pid, pidfd);
}

DWORD WaitForInputIdle(const TProcessHandle& process, DWORD /*timeoutMs*/) {
  return process ? WAIT_OBJECT_0 : WAIT_FAILED;
}

std::string SystemErrorText(int error) { return std::strerror(error); }

DWORD WaitForProcessEnd(unsigned pid, DWORD timeoutMs) {
  if (pid == 0 || pid > static_cast<unsigned>(INT_MAX)) return WAIT_FAILED;
  const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
  if (pidfd >= 0) {
    const DWORD r = WaitForMultipleObjects({pidfd}, timeoutMs);
    ::close(pidfd);
    return r;
  }
  if (errno == ESRCH) return WAIT_OBJECT_0;  // already gone
  // No pidfd here: ask now and then whether the process still exists.
  const uint64_t start = MonotonicMs();
  for (;;) {
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return WAIT_OBJECT_0;
    if (timeoutMs != INFINITE && MonotonicMs() - start >= timeoutMs) return WAIT_TIMEOUT;
    ::usleep(50000);
  }
}
