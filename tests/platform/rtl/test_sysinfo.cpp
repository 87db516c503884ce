#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysinfo.h"

TEST(SysInfo, MemoryAndPlatform) {
  const TMemoryStatus m = GlobalMemoryStatus();
  EXPECT_GT(m.TotalPhys, 16ull << 20);
  EXPECT_LE(m.AvailPhys, m.TotalPhys);
  EXPECT_LE(m.MemoryLoad, 100u);
  EXPECT_GE(m.TotalPageFile, m.TotalPhys);

  const TPlatformVersion v = GetPlatformVersion();
  EXPECT_EQ(v.Name, "Linux");
  EXPECT_GT(v.Major, 2);
  EXPECT_EQ(PlatformVersion(), v.Name + " " + v.Release + " " + v.Machine);

  // No Windows family: the about box must not mistake this system for one.
  TOSVersionInfo os;
  ASSERT_TRUE(GetVersionEx(os));
  EXPECT_EQ(os.PlatformId, VER_PLATFORM_POSIX);
  EXPECT_EQ(static_cast<int>(os.MajorVersion), v.Major);
  EXPECT_EQ(static_cast<int>(os.MinorVersion), v.Minor);
  EXPECT_EQ(os.CSDVersion, v.Name + " " + v.Machine);
}

TEST(SysInfo, Folders) {
  const std::string program = ProgramFolder();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(program.back(), '/');
  EXPECT_EQ(program + ExtractFileName(ProgramFileName()), ProgramFileName());
  EXPECT_TRUE(FileExists(ProgramFileName()));

  const char* tmp = std::getenv("TMPDIR");
  EXPECT_EQ(TempFolder(), tmp && *tmp ? IncludeTrailingPathDelimiter(tmp) : std::string("/tmp/"));

  // Each variable is put back as it was.
  struct TSavedEnv {
    const char* Name;
    bool Set;
    std::string Value;
    explicit TSavedEnv(const char* name) : Name(name), Set(std::getenv(name) != nullptr) {
      if (Set) Value = std::getenv(name);
    }
    ~TSavedEnv() { Set ? ::setenv(Name, Value.c_str(), 1) : ::unsetenv(Name); }
  } own("ZELVORA_CONFIG_HOME"), xdg("XDG_CONFIG_HOME");
  ::setenv("ZELVORA_CONFIG_HOME", "/some/where", 1);
  EXPECT_EQ(ConfigFolder(), "/some/where/");
  ::unsetenv("ZELVORA_CONFIG_HOME");
  ::setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
  EXPECT_EQ(ConfigFolder(), "/xdg/config/Zelvora/");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(ConfigFolder(), HomeFolder() + ".config/Zelvora/");
}

TEST(SysInfo, WorkFolderIsPrivateAndPerProcess) {
  const std::string work = WorkFolder();
  ASSERT_FALSE(work.empty());
  EXPECT_EQ(work.back(), '/');
  EXPECT_EQ(WorkFolder(), work);  // the same for the whole run
  struct stat st;
  ASSERT_EQ(::lstat(work.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(st.st_uid, ::getuid());
  const std::string base = ExtractFileDir(ExcludeTrailingPathDelimiter(work));
  ASSERT_EQ(::lstat(base.c_str(), &st), 0);
  EXPECT_FALSE(S_ISLNK(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // A forked child gets a folder of its own, and removes it when it ends.
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeFds[0]);
    std::string own;
    try {
      own = WorkFolder();
    } catch (...) {
    }
    if (::write(pipeFds[1], own.data(), own.size()) < 0) _exit(2);
    ::close(pipeFds[1]);
    std::exit(0);  // runs the exit hooks
  }
  ::close(pipeFds[1]);
  std::string childFolder;
  char buffer[512];
  ssize_t n;
  while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) childFolder.append(buffer, static_cast<size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(childFolder.empty());
  EXPECT_NE(childFolder, work);
  EXPECT_FALSE(DirectoryExists(childFolder));  // removed at the child's exit
  EXPECT_TRUE(DirectoryExists(work));          // ours is untouched

  // Removing it now takes its contents; the next call makes a fresh one.
  std::ofstream(work + "scratch.inp") << "x";
  RemoveWorkFolder();
  EXPECT_FALSE(DirectoryExists(work));
  const std::string again = WorkFolder();
  EXPECT_TRUE(DirectoryExists(again));
}

TEST(SysInfo, WorkFolderRefusesAnUnsafeBase) {
  // The base is a symbolic link planted by someone: no work folder is made in it.
  RemoveWorkFolder();
  const char* tmpEnv = std::getenv("TMPDIR");
  ASSERT_TRUE(tmpEnv && *tmpEnv) << "the test runs with its own TMPDIR";
  const std::string savedTmp = tmpEnv;
  const std::string scratch = IncludeTrailingPathDelimiter(savedTmp) + "unsafe-base-test/";
  ForceDirectories(scratch + "target");
  const std::string base = scratch + "zelvora-" + std::to_string(::getuid());
  ::unlink(base.c_str());
  ASSERT_EQ(::symlink((scratch + "target").c_str(), base.c_str()), 0);
  ::setenv("TMPDIR", scratch.c_str(), 1);
  EXPECT_THROW(WorkFolder(), EInOutError);
  ::setenv("TMPDIR", savedTmp.c_str(), 1);
  ::unlink(base.c_str());
  RemoveDir(scratch + "target");
  RemoveDir(scratch);
  EXPECT_TRUE(DirectoryExists(WorkFolder()));
}

namespace {

// The run folder a forked child gets, written back through a pipe; a file
// left in it by the child.
std::string ChildRunFolder() {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return "";
  const pid_t child = ::fork();
  if (child < 0) return "";
  if (child == 0) {
    ::close(pipeFds[0]);
    std::string own;
    try {
      own = RunFolder();
      std::ofstream(own + "child.out") << "listing";
    } catch (...) {
    }
    if (::write(pipeFds[1], own.data(), own.size()) < 0) _exit(2);
    ::close(pipeFds[1]);
    std::exit(0);  // runs the exit hooks
  }
  ::close(pipeFds[1]);
  std::string folder;
  char buffer[512];
  ssize_t n;
  while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) folder.append(buffer, static_cast<size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return folder;
}

}  // namespace

// A refinement's run files go to a per-user folder under the cache folder
// that outlives the program; a running program holds its own, which no
// other touches, and a later program takes a freed one again.
TEST(SysInfo, RunFolderOutlivesTheProgramAndIsHeldByOne) {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  ASSERT_TRUE(cache && *cache) << "the test runs with its own XDG_CACHE_HOME";
  const std::string run = RunFolder();
  EXPECT_EQ(run.rfind(IncludeTrailingPathDelimiter(cache) + "Zelvora/", 0), 0u) << run;
  EXPECT_EQ(run.back(), '/');
  EXPECT_EQ(RunFolder(), run);
  struct stat st;
  ASSERT_EQ(::lstat(run.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  std::ofstream(run + "mine.out") << "ours";

  const std::string first = ChildRunFolder();
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, run);  // ours is held while we run
  EXPECT_TRUE(FileExists(first + "child.out"));  // the child's listing outlives it
  EXPECT_TRUE(FileExists(run + "mine.out"));
  // The next program takes the folder the ended one freed, with what it left.
  EXPECT_EQ(ChildRunFolder(), first);
  EXPECT_TRUE(FileExists(first + "child.out"));
}
