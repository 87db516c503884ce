#include "platform/rtl/process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/childprocess.h"
#include "support/tempdir.h"

namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, BlanksSeparateAndDoubleQuotesGroup) {
  const std::pair<std::string, Args> cases[] = {
      {"", {}},
      {"   ", {}},
      {"a b\tc", {"a", "b", "c"}},
      {"  a   b  ", {"a", "b"}},
      {"-c \"exit 3\"", {"-c", "exit 3"}},
      {"x\"y z\"w v", {"xy zw", "v"}},
      {"a \"\" b", {"a", "", "b"}},
      {"\"unclosed  quote", {"unclosed  quote"}},
      {"$HOME;ls|*", {"$HOME;ls|*"}},  // nothing a shell would expand
  };
  for (const auto& [line, args] : cases) EXPECT_EQ(SplitCommandLine(line), args) << line;
}

TEST(Event, ManualResetStaysSignalledAndAutoResetClearsOnWait) {
  TEvent manual(true, false), automatic(false, true);
  EXPECT_EQ(manual.WaitFor(0), WAIT_TIMEOUT);
  manual.SetEvent();
  manual.SetEvent();
  EXPECT_EQ(manual.WaitFor(0), WAIT_OBJECT_0);
  EXPECT_EQ(manual.WaitFor(0), WAIT_OBJECT_0);
  manual.ResetEvent();
  EXPECT_EQ(manual.WaitFor(0), WAIT_TIMEOUT);

  EXPECT_EQ(automatic.WaitFor(0), WAIT_OBJECT_0);
  EXPECT_EQ(automatic.WaitFor(0), WAIT_TIMEOUT);

  TEvent a(true, false), b(true, false);
  b.SetEvent();
  EXPECT_EQ(WaitForMultipleObjects({a.Handle(), b.Handle()}, INFINITE), WAIT_OBJECT_0 + 1);
}

DWORD RunToEnd(const std::string& program, const std::string& commandLine, const std::string& folder = "") {
  int error = -1;
  TProcessHandle p = CreateProcess(program, commandLine, NORMAL_PRIORITY_CLASS, folder, {}, error);
  EXPECT_TRUE(p) << commandLine;
  EXPECT_EQ(error, 0);
  if (!p) return STILL_ACTIVE;
  EXPECT_EQ(p->WaitFor(INFINITE), WAIT_OBJECT_0);
  DWORD code = STILL_ACTIVE;
  EXPECT_TRUE(p->GetExitCode(code));
  return code;
}

TEST(CreateProcess, ExitCodesOfEndedPrograms) {
  const std::pair<std::string, DWORD> cases[] = {
      {"-c \"exit 0\"", 0},
      {"-c \"exit 42\"", 42},
      {"-c \"kill -9 $$\"", 128 + 9},  // ended by a signal
      {"-c \"read x\"", 1},            // standard input is empty
  };
  for (const auto& [line, code] : cases) EXPECT_EQ(RunToEnd("/bin/sh", line), code) << line;
  EXPECT_EQ(RunToEnd("true", ""), 0u);  // found on PATH
}

TEST(CreateProcess, ProgramNeverReadsThisProcesssInput) {
  // Our own input holds a line, and descriptors are so short that no device
  // could be opened for the program: it must still read nothing, or not
  // start at all.
  const std::string report = RunInChild([] {
    int line[2];
    if (::pipe(line) != 0 || ::write(line[1], "line\n", 5) != 5) return std::string("no pipe");
    ::close(line[1]);
    ::dup2(line[0], 0);
    ::close(line[0]);
    const int a = ::dup(0), b = ::dup(0);
    ::close(a);
    ::close(b);
    struct rlimit limit;
    ::getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(std::max(a, b) + 1);
    ::setrlimit(RLIMIT_NOFILE, &limit);
    int error = 0;
    TProcessHandle p = CreateProcess("/bin/sh", "-c \"read x\"", 0, "", {}, error);
    if (!p) return "refused " + std::to_string(error);
    DWORD code = STILL_ACTIVE;
    p->WaitFor(INFINITE);
    p->GetExitCode(code);
    return "exit " + std::to_string(code);
  });
  EXPECT_TRUE(report == "refused " + std::to_string(EMFILE) || report == "exit 1") << report;
}

TEST(CreateProcess, OpenFilesAreNotInherited) {
  TTempDir dir;
  const int fd = ::open(dir.Write("open.txt", "x").c_str(), O_RDONLY);  // deliberately without O_CLOEXEC
  ASSERT_GE(fd, 3);
  EXPECT_EQ(RunToEnd("/bin/sh", "-c \"test -e /proc/self/fd/" + std::to_string(fd) + "\""), 1u);
  ::close(fd);
}

TEST(CreateProcess, RunningProgramIsStillActiveAndFailuresGiveTheErrorNumber) {
  TTempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  int error = 0;
  TProcessHandle p = CreateProcess("/bin/sh", "-c \"read x < " + dir.File("fifo") + "\"", 0, "", {}, error);
  ASSERT_TRUE(p);
  // The program cannot end before a line arrives.
  DWORD code = 0;
  EXPECT_TRUE(p->GetExitCode(code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_EQ(p->WaitFor(0), WAIT_TIMEOUT);
  const int gate = ::open(dir.File("fifo").c_str(), O_RDWR);
  ASSERT_EQ(::write(gate, "\n", 1), 1);
  EXPECT_EQ(p->WaitFor(INFINITE), WAIT_OBJECT_0);
  EXPECT_TRUE(p->GetExitCode(code));
  EXPECT_EQ(code, 0u);
  ::close(gate);

  EXPECT_FALSE(CreateProcess(dir.File("missing"), "", 0, "", {}, error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_FALSE(CreateProcess("/bin/sh", "", 0, dir.File("no-folder"), {}, error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(SystemErrorText(ENOENT), std::strerror(ENOENT));  // the desktop's language
}

TEST(CreateProcess, PriorityClassesMapToNiceness) {
  const std::pair<DWORD, int> cases[] = {{NORMAL_PRIORITY_CLASS, 0},
                                         {IDLE_PRIORITY_CLASS, 19},
                                         {HIGH_PRIORITY_CLASS, -10},
                                         {REALTIME_PRIORITY_CLASS, -20},
                                         {IDLE_PRIORITY_CLASS | CREATE_NEW_CONSOLE, 19}};
  for (const auto& [cls, nice] : cases) EXPECT_EQ(PriorityClassToNice(cls), nice) << cls;
}

}  // namespace
