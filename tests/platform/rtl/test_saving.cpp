// Saving never destroys a file: a full disk, a kill in the middle of a save, a
// file the user protected, several programs writing one settings file at once,
// and a settings file that cannot be read or is damaged.
#include <gtest/gtest.h>
#include <malloc.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysinfo.h"
#include "platform/rtl/textfile.h"
#include "support/childprocess.h"
#include "support/tempdir.h"

namespace {

// The files of a folder whose names start with prefix (temporary files of a save).
std::vector<std::string> Leftovers(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& name : FindFiles(folder, "*"))
    if (name.rfind(prefix, 0) == 0) found.push_back(name);
  return found;
}

// A pid that surely ran and ended: a child that has been reaped.
pid_t EndedProcess() {
  const pid_t pid = StartChild([] {});
  WaitChild(pid);
  return pid;
}

// Runs writer(0..7) in eight children that start together; true when all
// of them ended well.
bool EightWritersAtOnce(const std::function<void(int)>& writer) {
  int gate[2];
  if (::pipe(gate) != 0) return false;
  std::vector<pid_t> children;
  for (int w = 0; w < 8; ++w)
    children.push_back(StartChild([&, w] {
      ::close(gate[1]);
      char c;
      while (::read(gate[0], &c, 1) < 0) {
      }  // all start when the parent closes the gate
      writer(w);
    }));
  ::close(gate[0]);
  ::close(gate[1]);
  bool ok = true;
  for (pid_t child : children) ok = WaitChild(child) == 0 && ok;
  return ok;
}

struct TWriter {
  const char* Name;
  std::function<void(const std::string& file, const std::string& data)> Save;
};

const std::vector<TWriter>& Writers() {
  static const std::vector<TWriter> writers = {
      {"WriteFileAtomic", [](const std::string& f, const std::string& d) { WriteFileAtomic(f, d); }},
      {"WriteFileText", [](const std::string& f, const std::string& d) { WriteFileText(f, d); }},
      {"TStrings::SaveToFile",
       [](const std::string& f, const std::string& d) {
         TStringList list;
         list.SetText(d);
         list.SaveToFile(f);
       }},
      {"TMemoryStream::SaveToFile",
       [](const std::string& f, const std::string& d) {
         TMemoryStream m;
         m.WriteBuffer(d.data(), static_cast<int64_t>(d.size()));
         m.SaveToFile(f);
       }},
  };
  return writers;
}

}  // namespace

TEST(Saving, AFullDiskLeavesTheOldFileAndNoTemporaryFile) {
  for (const TWriter& w : Writers()) {
    TTempDir dir;
    const std::string report = RunInChild([&] {
      const std::string how = LimitDiskSpace(dir.Path(), 64 * 1024);
      const std::string file = dir.File("model.inp");
      const std::string old = "old line\n";
      WriteFileAtomic(file, old);
      std::string message = "no error";
      try {
        w.Save(file, std::string(256 * 1024, 'x') + "\n");
      } catch (const Exception& e) {
        message = e.Message();
      }
      std::string out = how + "|" + (TTempDir::Read(file) == old ? "old kept" : "old lost") + "|" +
                        std::to_string(Leftovers(dir.Path(), "model.inp.tmp").size()) + "|" + message;
      return out;
    });
    SCOPED_TRACE(std::string(w.Name) + ": " + report);
    EXPECT_NE(report.find("|old kept|0|"), std::string::npos);
    // The message says what failed; a stream writer names the file in its own words.
    EXPECT_TRUE(report.find("writing failed") != std::string::npos || report.find("Cannot create file") != std::string::npos);
    EXPECT_TRUE(report.find(std::strerror(ENOSPC)) != std::string::npos ||
                report.find(std::strerror(EFBIG)) != std::string::npos);
  }
}

TEST(Saving, RefusedTargetsKeepTheirContentsAndSayWhy) {
  TTempDir dir;
  ::chmod(dir.Path().c_str(), 0777);  // the unprivileged child may make files here
  const std::string locked = dir.Write("locked.ini", "protected\n");
  ::chmod(locked.c_str(), 0444);
  ForceDirectories(dir.File("folder.ini"));
  struct Case {
    std::string File, Expected;
  } const cases[] = {
      {locked, "the file is read-only"},
      {dir.File("folder.ini"), "it is a folder"},
      {dir.File("missing/x.ini"), "cannot create a temporary file in " + dir.File("missing")},
  };
  for (const Case& c : cases) {
    const std::string report = RunInChild([&] {
      if (!DropPrivileges()) return std::string("no privileges dropped");
      try {
        WriteFileAtomic(c.File, "new\n");
      } catch (const EInOutError& e) {
        return e.Message();
      }
      return std::string("written");
    });
    EXPECT_NE(report.find("Cannot save " + c.File + ": " + c.Expected), std::string::npos) << report;
    EXPECT_NE(report.find("the file was not changed"), std::string::npos) << report;
  }
  EXPECT_EQ(TTempDir::Read(locked), "protected\n");
  EXPECT_TRUE(Leftovers(dir.Path(), "locked.ini.tmp").empty());
}

TEST(Saving, AKillInTheMiddleOfASaveLeavesOldOrNewWholeAndTheTemporaryFileGoesLater) {
  TTempDir dir;
  const std::string file = dir.Write("chart.zgf", "old contents\n");
  const std::string big(32 << 20, 'n');
  // A few rounds: the kill lands somewhere in a save each time.
  for (int round = 0; round < 3; ++round) {
    const std::string before = TTempDir::Read(file);
    const pid_t child = StartChild([&] { WriteFileAtomic(file, big); });
    const std::string prefix = "chart.zgf.tmp" + std::to_string(child) + "-";
    // Wait (busily, bounded) until the child's temporary file exists, then kill.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Leftovers(dir.Path(), prefix).empty() && std::chrono::steady_clock::now() < deadline) {
    }
    ::kill(child, SIGKILL);
    WaitChild(child);
    const std::string after = TTempDir::Read(file);
    if (!Leftovers(dir.Path(), prefix).empty()) {
      EXPECT_EQ(after, before) << "killed mid-save: the old file must stay whole";
      EXPECT_EQ(RemoveStaleTempFiles(file), 1);
    } else {
      EXPECT_EQ(after, big) << "the save finished before the kill";
    }
    EXPECT_TRUE(Leftovers(dir.Path(), "chart.zgf.tmp").empty());
    WriteFileAtomic(file, "old contents\n");
  }
}

TEST(Saving, StaleTemporaryFilesOfEndedProcessesOnly) {
  TTempDir dir;
  const std::string file = dir.Write("HKEY_USERS.reg", "; Zelvora settings store, version 1\n");
  const std::string dead = std::to_string(EndedProcess());
  const std::string live = std::to_string(::getpid());
  for (const std::string& name : {"HKEY_USERS.reg.tmp" + dead + "-0", "HKEY_USERS.reg.tmp" + dead + "-17",
                                  "HKEY_USERS.reg.tmp" + live + "-3", "HKEY_USERS.reg.tmp" + dead,
                                  std::string("HKEY_USERS.reg.tmpx-1"), "other.reg.tmp" + dead + "-0"})
    dir.Write(name, "copy");
  ASSERT_EQ(::symlink(file.c_str(), dir.File("HKEY_USERS.reg.tmp" + dead + "-9").c_str()), 0);
  EXPECT_EQ(RemoveStaleTempFiles(file), 2);
  std::vector<std::string> kept{"HKEY_USERS.reg.tmp" + dead, "HKEY_USERS.reg.tmp" + dead + "-9",
                                "HKEY_USERS.reg.tmp" + live + "-3", "HKEY_USERS.reg.tmpx-1"};
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(Leftovers(dir.Path(), "HKEY_USERS.reg.tmp"), kept);
  EXPECT_TRUE(FileExists(dir.File("other.reg.tmp" + dead + "-0")));

  // The settings store cleans up when a program opens it.
  const std::string report = RunInChild([&] {
    ::setenv("ZELVORA_CONFIG_HOME", dir.Path().c_str(), 1);
    TRegistry reg;
    reg.SetRootKey(HKEY_USERS);
    reg.KeyExists("Software");
    return std::to_string(Leftovers(dir.Path(), "HKEY_USERS.reg.tmp" + dead + "-").size());
  });
  EXPECT_EQ(report, "1");  // only the link is left
}

TEST(Saving, EightProgramsWritingOneIniFileKeepEveryKey) {
  TTempDir dir;
  const std::string file = dir.File("shared.ini");
  EXPECT_TRUE(EightWritersAtOnce([&](int w) {
    TIniFile ini(file);
    for (int k = 0; k < 40; ++k) ini.WriteInteger("Writer" + std::to_string(w), "Key" + std::to_string(k), k);
  }));
  TMemIniFile result(file);
  int kept = 0;
  for (int w = 0; w < 8; ++w)
    for (int k = 0; k < 40; ++k)
      kept += result.ReadInteger("Writer" + std::to_string(w), "Key" + std::to_string(k), -1) == k;
  EXPECT_EQ(kept, 320);
}

TEST(Saving, EightProgramsWritingOneSettingsStoreKeepEveryKey) {
  TTempDir dir;
  EXPECT_TRUE(EightWritersAtOnce([&](int w) {
    ::setenv("ZELVORA_CONFIG_HOME", dir.Path().c_str(), 1);
    for (int k = 0; k < 40; ++k) {
      TRegistry reg;
      reg.SetRootKey(HKEY_USERS);
      if (!reg.OpenKey("Writer" + std::to_string(w), true)) ::_exit(3);
      reg.WriteInteger("Key" + std::to_string(k), k);
      reg.CloseKey();
    }
  }));
  const std::string report = RunInChild([&] {
    ::setenv("ZELVORA_CONFIG_HOME", dir.Path().c_str(), 1);
    int kept = 0;
    TRegistry reg;
    reg.SetRootKey(HKEY_USERS);
    for (int w = 0; w < 8; ++w)
      if (reg.OpenKeyReadOnly("\\Writer" + std::to_string(w)))
        for (int k = 0; k < 40; ++k) kept += reg.ValueExists("Key" + std::to_string(k));
    return std::to_string(kept);
  });
  EXPECT_EQ(report, "320");
}

TEST(Saving, ASettingsStoreOnAFullDiskKeepsOneQueuedValuePerName) {
  TTempDir dir;
  const std::string report = RunInChild([&] {
    ::setenv("ZELVORA_CONFIG_HOME", dir.Path().c_str(), 1);
    // No more room than a small store needs.
    const std::string how = LimitDiskSpace(dir.Path(), 256 * 1024);
    {
      TRegistry reg;
      reg.SetRootKey(HKEY_USERS);
      if (!reg.OpenKey("Big", true)) return std::string("no key");
      reg.WriteString("Kept", "before");
      reg.CloseKey();
    }
    const size_t before = mallinfo2().uordblks;
    std::string value(1 << 20, 'a');
    TRegistry reg;
    reg.SetRootKey(HKEY_USERS);
    for (int i = 0; i < 60; ++i) {
      if (!reg.OpenKey("\\Big", false)) return std::string("key lost");
      value[0] = static_cast<char>('a' + i % 26);
      reg.WriteBinaryData("Blob", value.data(), static_cast<int>(value.size()));
      reg.WriteInteger("Count", i);
      reg.CloseKey();  // cannot be written: the disk is full
    }
    const size_t grown = mallinfo2().uordblks - before;
    const std::string onDisk = TTempDir::Read(TRegistry::StoreFileName(HKEY_USERS));
    return how + "|" + (grown < (8u << 20) ? "bounded" : "grew " + std::to_string(grown)) + "|" +
           (onDisk.find("\"Kept\"=str:\"before\"") != std::string::npos ? "file kept" : "file lost") + "|" +
           (onDisk.find("Blob") == std::string::npos ? "no blob" : "blob");
  });
  EXPECT_NE(report.find("|bounded|file kept|no blob"), std::string::npos) << report;
}

TEST(Saving, QueuedSettingsReachTheFileWhenThereIsRoomAgain) {
  TTempDir dir;
  const std::string report = RunInChild([&] {
    ::setenv("ZELVORA_CONFIG_HOME", dir.Path().c_str(), 1);
    // Soft limit only: the child raises it again when "space" returns.
    struct rlimit old;
    ::getrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    TRegistry reg;
    reg.SetRootKey(HKEY_USERS);
    if (!reg.OpenKey("Queue", true)) return std::string("no key");
    const std::string big(8192, 'b');
    for (int i = 0; i < 5; ++i) {
      reg.WriteString("Value", big + std::to_string(i));
      reg.WriteInteger("Gone", i);
      reg.DeleteValue("Gone");
      reg.CloseKey();
      reg.OpenKey("\\Queue", false);
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    reg.WriteInteger("Last", 1);
    reg.CloseKey();
    const std::string text = TTempDir::Read(TRegistry::StoreFileName(HKEY_USERS));
    const bool valueOk = text.find(big + "4\"") != std::string::npos && text.find(big + "3\"") == std::string::npos;
    return std::string(valueOk ? "latest" : "wrong value") + "|" +
           (text.find("Gone") == std::string::npos ? "deleted" : "gone kept") + "|" +
           (text.find("\"Last\"=int:1") != std::string::npos ? "last" : "no last");
  });
  EXPECT_EQ(report, "latest|deleted|last");
}

TEST(Saving, SettingsFilesThatCannotBeReadAreNeverReplaced) {
  TTempDir dir;
  ::chmod(dir.Path().c_str(), 0777);  // a rename by the child would succeed
  const std::string store = dir.Write("HKEY_CURRENT_USER.reg", "; Zelvora settings store, version 1\n[A]\n\"Old\"=int:1\n");
  const std::string ini = dir.Write("options.ini", "[Main]\nOld=1\n");
  // No one but root may read them (the child runs as nobody when we are root).
  ::chmod(store.c_str(), 0);
  ::chmod(ini.c_str(), 0);
  const std::string report = RunInChild([&] {
    if (!DropPrivileges()) return std::string("no privileges dropped");
    ::setenv("ZELVORA_CONFIG_HOME", dir.Path().c_str(), 1);
    testing::internal::CaptureStderr();
    std::string out;
    {
      TRegistry reg;
      out += reg.OpenKey("New", true) ? "opened|" : "refused|";
      out += reg.OpenKey("", false) ? "root|" : "no root|";
      try {
        reg.WriteInteger("Value", 2);
        out += "written|";
      } catch (const ERegistryException& e) {
        out += std::string(e.Message()) + "|";
      }
      reg.CloseKey();
      try {
        TRegIniFile options("Software\\Zelvora");
        options.WriteString("Configuration", "Option", "1");
        out += "option written|";
      } catch (const ERegistryException& e) {
        out += std::string(e.Message()) + "|";
      }
    }
    {
      TIniFile file(ini);
      out += std::to_string(file.ReadInteger("Main", "Old", -1)) + "|";
      try {
        file.WriteInteger("Main", "New", 2);
        out += "written|";
      } catch (const EIniFileException& e) {
        out += std::string(e.Message()) + "|";
      }
      TMemIniFile mem(ini);
      mem.WriteInteger("Main", "New", 3);
      try {
        mem.UpdateFile();
        out += "updated|";
      } catch (const EIniFileException& e) {
        out += "update refused|";
      }
    }
    const std::string err = testing::internal::GetCapturedStderr();
    auto count = [&err](const std::string& what) {
      int n = 0;
      for (size_t at = err.find(what); at != std::string::npos; at = err.find(what, at + 1)) ++n;
      return std::to_string(n);
    };
    return out + "stderr:" + count(store + " cannot be read") + "," + count(ini + " cannot be read");
  });
  SCOPED_TRACE(report);
  EXPECT_EQ(report.rfind("refused|root|Failed to set data for 'Value': the settings file " + store + " cannot be read", 0),
            0u);
  EXPECT_NE(report.find("|Failed to set data for 'Option': the settings file " + store + " cannot be read"),
            std::string::npos);
  EXPECT_NE(report.find("|-1|Unable to write to " + ini + ": the file exists but could not be read"), std::string::npos);
  EXPECT_NE(report.find("|update refused|stderr:1,1"), std::string::npos);  // each problem reported once
  ::chmod(store.c_str(), 0600);
  ::chmod(ini.c_str(), 0600);
  EXPECT_EQ(TTempDir::Read(store), "; Zelvora settings store, version 1\n[A]\n\"Old\"=int:1\n");
  EXPECT_EQ(TTempDir::Read(ini), "[Main]\nOld=1\n");
}

TEST(Saving, DamagedSettingsFilesAreKeptAsBakBeforeTheFirstWrite) {
  TTempDir dir;
  const std::string damagedStore = "; Zelvora settings store, version 1\n[A]\n\"Old\"=int:1\n\"Broken\"=int:\x01\n";
  const std::string damagedIni = std::string("[Main]\nOld=1\n\0\0\0\0junk\n[Next]\nKey=2\n", 35);
  const std::string store = dir.Write("HKEY_USERS.reg", damagedStore);
  const std::string ini = dir.Write("options.ini", damagedIni);
  const std::string report = RunInChild([&] {
    ::setenv("ZELVORA_CONFIG_HOME", dir.Path().c_str(), 1);
    testing::internal::CaptureStderr();
    {
      TRegistry reg;
      reg.SetRootKey(HKEY_USERS);
      reg.OpenKey("A", false);
      reg.WriteInteger("New", 2);
      reg.CloseKey();
      TIniFile file(ini);
      file.WriteInteger("Main", "New", 2);
      file.WriteInteger("Main", "Newer", 3);
    }
    return testing::internal::GetCapturedStderr();
  });
  EXPECT_NE(report.find(store + " was damaged: a copy of it was kept as " + store + ".bak"), std::string::npos) << report;
  EXPECT_NE(report.find(ini + " was damaged: a copy of it was kept as " + ini + ".bak"), std::string::npos) << report;
  EXPECT_EQ(TTempDir::Read(store + ".bak"), damagedStore);
  EXPECT_EQ(TTempDir::Read(ini + ".bak"), damagedIni);
  EXPECT_NE(TTempDir::Read(store).find("\"New\"=int:2"), std::string::npos);
  EXPECT_NE(TTempDir::Read(ini).find("Newer=3"), std::string::npos);
}

TEST(Saving, WorkFoldersOfEndedProgramsGoAtStart) {
  const std::string work = WorkFolder();
  const std::string base = ExtractFileDir(ExcludeTrailingPathDelimiter(work)) + "/";
  const std::string dead = std::to_string(EndedProcess());
  TTempDir elsewhere;
  const std::string outside = elsewhere.Write("model.inp", "the user's model");
  ASSERT_TRUE(CreateDir(base + dead + "-abcdef"));
  WriteFileAtomic(base + dead + "-abcdef/model.inp", "left by a crash");
  ASSERT_TRUE(CreateDir(base + "1-abcdef"));  // a running process
  ASSERT_TRUE(CreateDir(base + dead + "-abc"));  // not a name we give
  WriteFileAtomic(base + dead + "-fileab", "a file, not a folder");
  ASSERT_EQ(::symlink(elsewhere.Path().c_str(), (base + dead + "-linkab").c_str()), 0);

  EXPECT_EQ(RemoveStaleWorkFolders(), 1);
  EXPECT_FALSE(DirectoryExists(base + dead + "-abcdef"));
  EXPECT_TRUE(DirectoryExists(base + "1-abcdef"));
  EXPECT_TRUE(DirectoryExists(base + dead + "-abc"));
  EXPECT_TRUE(FileExists(base + dead + "-fileab"));
  EXPECT_EQ(TTempDir::Read(outside), "the user's model");  // a link is never followed
  EXPECT_TRUE(DirectoryExists(work));                      // ours stays
  RemoveDir(base + "1-abcdef");
  RemoveDir(base + dead + "-abc");
  DeleteFile(base + dead + "-fileab");
  DeleteFile(base + dead + "-linkab");
}
