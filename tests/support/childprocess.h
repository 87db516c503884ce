// Forked children for tests that need a process of their own: one that runs
// out of disk space, one without permission, one killed while it saves.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>

// Runs body in a forked child and returns the text it returned (or
// "exception: <what>" when it threw). The child ends with _exit, so no exit
// hook of the test program runs twice.
std::string RunInChild(const std::function<std::string()>& body);

// Starts body in a forked child (ended with _exit(0) when it returns) and
// returns the child's pid; WaitChild reaps it and gives its exit status, or
// 128 + the signal that ended it.
pid_t StartChild(const std::function<void()>& body);
int WaitChild(pid_t pid);

// In a child: gives the folder only `bytes` of space, as a small tmpfs mounted
// over it in a private mount namespace when the child may (root), else by
// limiting every file the child writes to `bytes` (RLIMIT_FSIZE, with SIGXFSZ
// ignored so that the write fails). Returns "tmpfs" or "file-size limit".
std::string LimitDiskSpace(const std::string& folder, std::size_t bytes);

// In a child: runs on as the user "nobody" when running as root, so that file
// permissions hold; false when that failed. Without root nothing changes.
bool DropPrivileges();
