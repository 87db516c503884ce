#include "app/launcher.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/rtl/strutils.h"
#include "platform/ui/threads.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

// A program that runs until the test lets it end: the shell waits for a line
// on a named pipe. The line is written at once and the pipe kept open, so the
// program ends whenever it gets there and the test never blocks on it.
class TGate {
public:
  explicit TGate(const std::string& path) : FPath(path) { ::mkfifo(path.c_str(), 0600); }
  ~TGate() {
    // The line lives in the pipe only while a descriptor is open: closed before
    // the shell has opened the pipe, it is lost and the shell waits for ever,
    // holding the test run's output open. So release the shell even when the
    // test ended early, and wait (bounded) until it has taken the line.
    if (FFd < 0) {
      FFd = ::open(FPath.c_str(), O_RDWR);
      if (FFd < 0 || ::write(FFd, "\n", 1) != 1) return;
    }
    for (int i = 0; i < 5000; ++i) {
      int pending = 0;
      if (::ioctl(FFd, FIONREAD, &pending) != 0 || pending == 0) break;
      ::usleep(1000);
    }
    ::close(FFd);
  }
  std::string Parameters() const { return "-c \"read x < " + FPath + "\""; }
  void Open() {
    FFd = ::open(FPath.c_str(), O_RDWR);
    ASSERT_GE(FFd, 0);
    ASSERT_EQ(::write(FFd, "\n", 1), 1);
  }

private:
  std::string FPath;
  int FFd = -1;
};

struct Completed {
  TObject* Sender;  // valid only during the event: a waiting thread's object ends with its thread
  std::string SenderClass;
  std::string FileName;
  bool TimedOut;
  DWORD ExitCode;
  std::string Identifier;
};

struct Failed {
  std::string FileName, Message;
  int Code;
  std::string Identifier;
};

class LauncherTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    exfile->OnProcCompleted = [this](TObject* sender, const std::string& name, bool timedOut, DWORD code,
                                     const std::string& id) {
      completed.push_back({sender, sender->ClassName(), name, timedOut, code, id});
    };
    exfile->OnLaunchFailed = [this](TObject*, const std::string& name, const std::string& message, int code,
                                    const std::string& id) { failed.push_back({name, message, code, id}); };
  }

  // Lets the completion events of the waiting threads run until there are n.
  void WaitForCompleted(size_t n) {
    for (int round = 0; completed.size() < n && round < 100; ++round) CheckSynchronize(10000);
    ASSERT_EQ(completed.size(), n);
  }

  void Start(const std::string& params, const std::string& id, bool wait) {
    exfile->SetProcFileName("/bin/sh");
    exfile->SetProcParameters(params);
    exfile->SetProcIdentifier(id);
    exfile->SetWaitUntilDone(wait);
  }

  TTempDir dir;
  std::unique_ptr<TExFile> exfile = std::make_unique<TExFile>(nullptr);
  std::vector<Completed> completed;
  std::vector<Failed> failed;
};

TEST_F(LauncherTest, TimeOutSecGivesTheWaitTime) {
  const std::pair<int, DWORD> cases[] = {{0, INFINITE}, {-5, INFINITE}, {1, 1000},
                                         {3600, 3600000}, {3601, 3600000}, {5000, 3600000}};
  for (auto [seconds, ms] : cases) {
    exfile->SetTimeOutSec(seconds);
    EXPECT_EQ(exfile->WaitTimeMs(), ms) << seconds;
  }
}

TEST_F(LauncherTest, SameNameAndIdentifierIsRefusedWhileTheFirstRuns) {
  TGate first(dir.File("first")), other(dir.File("other"));
  Start(first.Parameters(), "job", false);
  ASSERT_TRUE(exfile->Execute());

  // Same name (in any case) and identifier: refused without starting anything.
  exfile->SetProcFileName("/BIN/sh");
  EXPECT_FALSE(exfile->Execute());
  EXPECT_EQ(exfile->LastError(), -1);
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].Message, "Another Process with the same Name and ID is executing.");
  EXPECT_EQ(failed[0].Code, -1);
  EXPECT_EQ(failed[0].FileName, "/BIN/sh");
  EXPECT_EQ(failed[0].Identifier, "job");

  // Another identifier may run beside it; a waiting start may not.
  Start(other.Parameters(), "other job", false);
  EXPECT_TRUE(exfile->Execute());
  Start("-c \"exit 0\"", "waiting", true);
  EXPECT_FALSE(exfile->Execute());
  EXPECT_EQ(exfile->LastError(), -2);
  ASSERT_EQ(failed.size(), 2u);
  EXPECT_EQ(failed[1].Message, "Cannot mix 'WaitUntilDone' types.");
  EXPECT_EQ(exfile->Records().size(), 2u);

  first.Open();
  WaitForCompleted(1);
  EXPECT_EQ(completed[0].FileName, "/bin/sh");
  EXPECT_EQ(completed[0].Identifier, "job");
  EXPECT_FALSE(completed[0].TimedOut);
  EXPECT_EQ(completed[0].ExitCode, 0u);
  EXPECT_EQ(completed[0].SenderClass, "TProcThread");

  // Once it has ended the same name and identifier start again.
  Start("-c \"exit 4\"", "job", false);
  EXPECT_TRUE(exfile->Execute());
  EXPECT_EQ(exfile->LastError(), 0);
  WaitForCompleted(2);
  EXPECT_EQ(completed[1].ExitCode, 4u);

  other.Open();
  WaitForCompleted(3);
  EXPECT_EQ(completed[2].Identifier, "other job");
}

TEST_F(LauncherTest, WaitingStartSplitsArgumentsWithoutAShell) {
  // Quotes group "one two"; $# and the redirection are the child shell's, not ours.
  Start("-c \"echo $# $1 > out.txt\" zero \"one two\" three", "", true);
  exfile->SetProcCurrentDir(dir.Path());
  ASSERT_TRUE(exfile->Execute());
  EXPECT_EQ(TTempDir::Read(dir.File("out.txt")), "2 one two\n");
  ASSERT_EQ(completed.size(), 1u);  // on the calling thread, before Execute returns
  EXPECT_EQ(completed[0].Sender, exfile.get());
  EXPECT_EQ(completed[0].ExitCode, 0u);

  Start("-c \"exit 7\"", "", true);
  ASSERT_TRUE(exfile->Execute());
  EXPECT_EQ(exfile->LastExitCode(), 7u);
  EXPECT_FALSE(exfile->TimedOut());
  EXPECT_EQ(completed.back().ExitCode, 7u);
}

TEST_F(LauncherTest, ProgramNameIsStartedAsGiven) {
  // Only "Shell" exists: the lower-cased "shell" would not start.
  ASSERT_EQ(::symlink("/bin/sh", dir.File("Shell").c_str()), 0);
  exfile->SetProcFileName(dir.File("Shell"));
  EXPECT_EQ(exfile->ProcName(), LowerCase(dir.File("Shell")));
  exfile->SetProcParameters("-c \"exit 5\"");
  exfile->SetWaitUntilDone(true);
  ASSERT_TRUE(exfile->Execute()) << (failed.empty() ? "" : failed[0].Message);
  EXPECT_EQ(exfile->LastExitCode(), 5u);
}

TEST_F(LauncherTest, PriorityClassesBecomeNiceness) {
  // Normal leaves the niceness the program was started with (the test may itself run niced).
  errno = 0;
  const int inherited = ::getpriority(PRIO_PROCESS, 0);
  const std::pair<TPriorityClass, std::string> cases[] = {{prNormal, std::to_string(inherited) + "\n"},
                                                          {prIdle, "19\n"}};
  for (const auto& [priority, nice] : cases) {
    Start("-c \"nice > nice.txt\"", "", true);
    exfile->SetProcCurrentDir(dir.Path());
    exfile->SetPriority(priority);
    ASSERT_TRUE(exfile->Execute());
    EXPECT_EQ(TTempDir::Read(dir.File("nice.txt")), nice) << priority;
  }
}

TEST_F(LauncherTest, WaitingStartThatTimesOut) {
  TGate gate(dir.File("gate"));
  Start(gate.Parameters(), "slow", true);
  exfile->SetTimeOutSec(1);
  ASSERT_TRUE(exfile->Execute());
  EXPECT_TRUE(exfile->TimedOut());
  EXPECT_EQ(exfile->LastError(), -3);
  EXPECT_EQ(exfile->LastExitCode(), 1u);
  ASSERT_EQ(completed.size(), 1u);
  EXPECT_TRUE(completed[0].TimedOut);
  // Still running: the same name and identifier are refused.
  exfile->SetWaitUntilDone(false);
  EXPECT_FALSE(exfile->Execute());
  EXPECT_EQ(exfile->LastError(), -1);
  gate.Open();
}

TEST_F(LauncherTest, FailedStartsReportCodeAndMessage) {
  struct Case {
    std::string program, folder;
    int code;
    std::string message;
  };
  const Case cases[] = {
      // The system's own text, in the desktop's language.
      {dir.File("no-such-program"), "", ENOENT, std::strerror(ENOENT)},
      {"/bin/sh", dir.File("no-such-folder"), -4, "Current Directory Invalid"},
  };
  for (bool wait : {false, true}) {
    for (const Case& c : cases) {
      failed.clear();
      exfile->SetProcFileName(c.program);
      exfile->SetProcCurrentDir(c.folder);
      exfile->SetProcIdentifier("id");
      exfile->SetWaitUntilDone(wait);
      EXPECT_FALSE(exfile->Execute()) << c.message;
      EXPECT_EQ(exfile->LastError(), c.code);
      ASSERT_EQ(failed.size(), 1u);
      EXPECT_EQ(failed[0].Message, c.message);
      EXPECT_EQ(failed[0].Code, c.code);
      EXPECT_EQ(failed[0].Identifier, "id");
    }
  }
  // Events that are not wanted stay quiet; the code is still kept.
  failed.clear();
  exfile->SetUseEvent(ueOnProcCompleted);
  EXPECT_FALSE(exfile->Execute());
  EXPECT_EQ(exfile->LastError(), -4);
  EXPECT_TRUE(failed.empty());
}

TEST_F(LauncherTest, UseEventSelectsTheCompletionEvent) {
  const std::pair<TUseEvent, size_t> cases[] = {{ueAll, 1}, {ueOnProcCompleted, 1}, {ueOnLaunchFailed, 0}, {ueNone, 0}};
  for (auto [use, count] : cases) {
    completed.clear();
    Start("-c \"exit 0\"", "", true);
    exfile->SetUseEvent(use);
    ASSERT_TRUE(exfile->Execute());
    EXPECT_EQ(completed.size(), count) << use;
  }
}

TEST_F(LauncherTest, DestroyingTheComponentReleasesWaitingThreadsWithoutEvents) {
  TGate gate(dir.File("gate"));
  Start(gate.Parameters(), "job", false);
  ASSERT_TRUE(exfile->Execute());
  exfile.reset();
  gate.Open();
  // Any completion queued by a thread would run here; none may call the gone component's handler.
  CheckSynchronize(0);
  EXPECT_TRUE(completed.empty());
}

}  // namespace
