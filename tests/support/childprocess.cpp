#include "support/childprocess.h"

#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>

std::string RunInChild(const std::function<std::string()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) return "no pipe";
  const pid_t pid = ::fork();
  if (pid < 0) return "no fork";
  if (pid == 0) {
    ::close(fds[0]);
    std::string report;
    try {
      report = body();
    } catch (const std::exception& e) {
      report = std::string("exception: ") + e.what();
    } catch (...) {
      report = "exception";
    }
    const char* p = report.data();
    size_t left = report.size();
    while (left > 0) {
      const ssize_t n = ::write(fds[1], p, left);
      if (n <= 0) break;
      p += n;
      left -= static_cast<size_t>(n);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string report;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fds[0], buffer, sizeof buffer)) != 0) {
    if (n < 0) continue;  // EINTR
    report.append(buffer, static_cast<size_t>(n));
  }
  ::close(fds[0]);
  WaitChild(pid);
  return report;
}

pid_t StartChild(const std::function<void()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    try {
      body();
    } catch (...) {
      ::_exit(1);
    }
    ::_exit(0);
  }
  return pid;
}

int WaitChild(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string LimitDiskSpace(const std::string& folder, std::size_t bytes) {
  // The mount stays in the child's own namespace: propagation is switched off first.
  if (::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
      ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0) {
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("zvtest", folder.c_str(), "tmpfs", 0, options.c_str()) == 0) return "tmpfs";
  }
  ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit;
  limit.rlim_cur = limit.rlim_max = bytes;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  return "file-size limit";
}

bool DropPrivileges() {
  if (::geteuid() != 0) return true;
  const uid_t nobody = 65534;
  return ::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 && ::setuid(nobody) == 0 && ::geteuid() == nobody;
}
