// Cabinets and LZ files of the web update, and the updater program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/process.h"
#include "platform/rtl/sysinfo.h"
#include "support/tempdir.h"
#include "webupdate/cabfdi.h"
#include "webupdate/updater.h"
#include "webupdate/wufiles.h"
#include "wutest.h"

namespace {

// Runs the body with the current folder set to dir.
class TInFolder {
public:
  explicit TInFolder(const std::string& dir) : FSaved(GetCurrentDir()) { SetCurrentDir(dir); }
  ~TInFolder() { SetCurrentDir(FSaved); }

private:
  std::string FSaved;
};

// The id of a process that has ended (and been reaped).
unsigned EndedProcessId() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return static_cast<unsigned>(pid);
}

TEST(WebUpdateArchives, CabinetWithSubFoldersExtractsBelowTheTarget) {
  TTempDir dir;
  dir.Write("top.txt", "hello");
  ForceDirectories(dir.File("sub/deep"));
  dir.Write("sub/deep/in.txt", "inner");
  ASSERT_TRUE(wutest::MakeCabinet(dir.Path(), "t.cab", {"top.txt", "sub/deep/in.txt"})) << "gcab";
  const std::string target = dir.File("out\\");
  ASSERT_TRUE(ForceFolderPath(target));
  EXPECT_EQ(ExtractCabinet(dir.File("t.cab"), target), 0);
  EXPECT_EQ(TTempDir::Read(dir.File("out/top.txt")), "hello");
  EXPECT_EQ(TTempDir::Read(dir.File("out/sub/deep/in.txt")), "inner");
  EXPECT_EQ(ExtractCabinet(dir.File("missing.cab"), target), -1);
  EXPECT_EQ(ExtractCabinet(dir.Write("not.cab", "MSCF but no cabinet"), target), -1);
}

TEST(WebUpdateArchives, CabinetEntriesOutsideTheTargetAreRefused) {
  TTempDir dir;
  ForceDirectories(dir.File("zz"));
  dir.Write("zz/ev.txt", "evil");
  dir.Write("zabs.txt", "evil");
  dir.Write("good.txt", "good");
  ASSERT_TRUE(wutest::MakeCabinet(dir.Path(), "up.cab", {"good.txt", "zz/ev.txt"}));
  ASSERT_TRUE(wutest::PatchBytes(dir.File("up.cab"), "zz\\ev.txt", "..\\ev.txt"));
  ASSERT_TRUE(wutest::MakeCabinet(dir.Path(), "abs.cab", {"good.txt", "zabs.txt"}));
  ASSERT_TRUE(wutest::PatchBytes(dir.File("abs.cab"), "zabs.txt", "\\abs.txt"));
  ForceDirectories(dir.File("in/target"));
  for (const char* cab : {"up.cab", "abs.cab"}) {
    EXPECT_EQ(ExtractCabinet(dir.File(cab), dir.File("in/target/")), -1) << cab;
    // Nothing at all is written, neither the good entry nor the bad one.
    EXPECT_TRUE(FindFiles(dir.File("in/target"), "*").empty()) << cab;
    EXPECT_FALSE(FileExists(dir.File("in/ev.txt"))) << cab;
  }
  EXPECT_FALSE(FileExists("/abs.txt"));
}

TEST(WebUpdateArchives, LzFileExpandsToTheNameItsHeaderGives) {
  TTempDir dir;
  const std::string data = "a file that was compressed with literal blocks only, 57 bytes";
  const std::string packed = dir.Write("upd.ex_", wutest::SzddFile(data, 'e'));
  EXPECT_EQ(LZExpandedName(packed), dir.File("upd.exe"));
  EXPECT_TRUE(ExpandLZFile(packed));
  EXPECT_EQ(TTempDir::Read(dir.File("upd.exe")), data);
  EXPECT_FALSE(FileExists(packed));
  // A file that is not LZ-compressed is left alone, never expanded onto itself.
  const std::string plain = dir.Write("plain.tx_", "just text");
  EXPECT_EQ(LZExpandedName(plain), "");
  EXPECT_FALSE(ExpandLZFile(plain));
  EXPECT_EQ(TTempDir::Read(plain), "just text");
  // Nor is an LZ file whose name would not change, or whose kept character is a separator.
  const std::string same = dir.Write("same.bin", wutest::SzddFile("x", 'n'));
  EXPECT_FALSE(ExpandLZFile(same));
  EXPECT_TRUE(FileExists(same));
  EXPECT_EQ(LZExpandedName(dir.Write("sep.a_", wutest::SzddFile("x", '/'))), "");
}

// ---- The updater ------------------------------------------------------------

TEST(WebUpdateUpdater, NewFileReplacesTheOldAndNothingStarts) {
  TTempDir dir;
  TInFolder in(dir.Path());
  dir.Write("main.bin", "old");
  dir.Write("main.bin_new", "new");
  dir.Write("lib.so", "old lib");
  const std::string pid = std::to_string(EndedProcessId());
  EXPECT_EQ(RunUpdater({pid, "X", "null", "main.bin_new", "LIB.SO_NEW", "gone.bin_NEW"}, {0}), 0);
  EXPECT_EQ(TTempDir::Read(dir.File("main.bin")), "new");
  EXPECT_FALSE(FileExists(dir.File("main.bin_new")));
  // Without the delivered file the old one stays untouched.
  EXPECT_EQ(TTempDir::Read(dir.File("lib.so")), "old lib");
  EXPECT_FALSE(FileExists(dir.File("WUPDATE.LOG")));
}

TEST(WebUpdateUpdater, TheProgramWaitsForTheProcessAndLogs) {
  TTempDir dir;
  dir.Write("main.bin", "old");
  dir.Write("main.bin_NEW", "new");
  const pid_t sleeper = ::fork();
  if (sleeper == 0) {
    // Runs until the test ends it: a process that is not the updater's child.
    ::pause();
    ::_exit(0);
  }
  int error = 0;
  TProcessHandle upd = CreateProcessArgs({ProgramFolder() + "zelvora-upd", std::to_string(sleeper), "L", "/bin/true",
                                          "main.bin_NEW"},
                                         NORMAL_PRIORITY_CLASS, dir.Path(), TStartupInfo{}, error);
  ASSERT_TRUE(upd) << SystemErrorText(error);
  // Still waiting: the process it waits for runs.
  EXPECT_EQ(upd->WaitFor(50), WAIT_TIMEOUT);
  EXPECT_EQ(TTempDir::Read(dir.File("main.bin")), "old");
  ::kill(sleeper, SIGTERM);
  ::waitpid(sleeper, nullptr, 0);
  EXPECT_EQ(upd->WaitFor(INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(TTempDir::Read(dir.File("main.bin")), "new");
  EXPECT_NE(TTempDir::Read(dir.File("WUPDATE.LOG")).find(" : upd restart /bin/true\n"), std::string::npos);
}

TEST(WebUpdateUpdater, AFirstArgumentThatIsNoNumberTouchesNothing) {
  TTempDir dir;
  TInFolder in(dir.Path());
  dir.Write("main.bin", "old");
  dir.Write("main.bin_new", "new");
  for (const char* first : {"abc", "", "12x", "-5", "99999999999"}) {
    EXPECT_EQ(RunUpdater({first, "L", "null", "main.bin_new"}, {0}), 1) << first;
    EXPECT_EQ(TTempDir::Read(dir.File("main.bin")), "old") << first;
    EXPECT_FALSE(FileExists(dir.File("WUPDATE.LOG")));
  }
}

TEST(WebUpdateUpdater, ListFiles) {
  TTempDir dir;
  TInFolder in(dir.Path());
  const std::string pid = std::to_string(EndedProcessId());
  // COUNT 0: nothing is processed although entries are there.
  dir.Write("a.bin_new", "new a");
  dir.Write("zero.inf", "[FILES]\nCOUNT=0\nFILE1=a.bin_new\nTARGET1=\n");
  EXPECT_EQ(RunUpdater({pid, "L", "null", "zero.inf"}, {0}), 0);
  EXPECT_TRUE(FileExists(dir.File("a.bin_new")));
  // Entries with targets: below the current folder they go; outside it, or
  // climbing out, they are refused.
  ForceDirectories(dir.File("sub"));
  dir.Write("b.txt_new", "new b");
  dir.Write("c.txt_new", "new c");
  dir.Write("d.tx_", wutest::SzddFile("expanded d", 't'));
  dir.Write("list.inf",
            "[FILES]\nCOUNT=5\nFILE1=a.bin_new\nTARGET1={APP}sub\\\nFILE2=b.txt_new\nTARGET2=..\\\n"
            "FILE3=c.txt_new\nTARGET3=/etc/\nFILE4=d.tx_\nTARGET4=sub\\\nFILE5=list.inf\nTARGET5=\n");
  EXPECT_EQ(RunUpdater({pid, "L", "null", "list.inf"}, {0}), 0);
  EXPECT_EQ(TTempDir::Read(dir.File("sub/a.bin")), "new a");
  EXPECT_EQ(TTempDir::Read(dir.File("sub/d.txt")), "expanded d");
  EXPECT_TRUE(FileExists(dir.File("d.tx_")));  // the compressed file stays
  EXPECT_TRUE(FileExists(dir.File("b.txt_new")));
  EXPECT_TRUE(FileExists(dir.File("c.txt_new")));
  EXPECT_FALSE(FileExists("/etc/c.txt"));
  const std::string log = TTempDir::Read(dir.File("WUPDATE.LOG"));
  EXPECT_NE(log.find(" : upd inf file list.inf\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" : upd inf: a.bin_new {APP}sub\\\n"), std::string::npos) << log;
  EXPECT_NE(log.find("upd refused target ..\\"), std::string::npos) << log;
  EXPECT_NE(log.find("upd lzexpand dest. filename d.txt"), std::string::npos) << log;
  // The list naming itself ended.
  EXPECT_NE(log.find("upd inf file list.inf"), log.rfind("upd inf file list.inf"));
}

TEST(WebUpdateUpdater, TargetFolderNames) {
  EXPECT_EQ(ExpandUpdaterTarget("{APP}sub\\"), GetCurrentDir() + "/sub\\");
  EXPECT_EQ(ExpandUpdaterTarget("{TMP}"), TempFolder());
  EXPECT_EQ(ExpandUpdaterTarget("{WIN}x"), "{WIN}x");
  EXPECT_EQ(ExpandUpdaterTarget("plain"), "plain");
}

TEST(WebUpdateUpdater, CabinetsAreExtractedAndDeleted) {
  TTempDir dir;
  TInFolder in(dir.Path());
  ForceDirectories(dir.File("src"));
  dir.Write("src/one.txt", "one");
  ASSERT_TRUE(wutest::MakeCabinet(dir.File("src"), "../pack.cab", {"one.txt"}));
  ForceDirectories(dir.File("dest"));
  dir.Write("list.inf", "[FILES]\nCOUNT=1\nFILE1=pack.cab\nTARGET1=dest\\\n");
  EXPECT_EQ(RunUpdater({std::to_string(EndedProcessId()), "X", "null", "list.inf"}, {0}), 0);
  EXPECT_EQ(TTempDir::Read(dir.File("dest/one.txt")), "one");
  EXPECT_FALSE(FileExists(dir.File("pack.cab")));
}

}  // namespace
