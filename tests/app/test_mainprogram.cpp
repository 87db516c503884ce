// The program itself, started headless on a file: it reads its settings,
// opens the file at first showing, refines it through Quick Start at first
// activation, closes itself (asked to by the environment) and writes its
// settings back.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/mainplatform.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/registry.h"
#include "support/tempdir.h"

extern char** environ;

namespace {

std::string Examples() {
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  return std::string(source ? source : "../..") + "/examples/";
}

// Runs the program with the arguments and extra environment; its exit status.
int RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    bool replaced = false;
    for (const std::string& x : extraEnv)
      if (entry.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0) replaced = true;
    if (!replaced) env.push_back(entry);
  }
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  const std::string program = zv_mainplatform::ProgramFolderPath() + "zelvora";
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A value of the program's store in the folder.
std::string StoreText(const std::string& configFolder) {
  return TTempDir::Read(configFolder + "/HKEY_CURRENT_USER.reg");
}

TEST(Program, StartedOnAnInputFileRefinesItAndWritesItsSettings) {
  TTempDir dir;
  for (const char* name : {"xray-cw.inp", "xray-cw.dat"})
    ASSERT_TRUE(CopyFile(Examples() + name, dir.File(name), false)) << name;
  const std::string config = dir.Path() + "config";
  const int status = RunProgram({dir.File("xray-cw.inp")},
                                {"ZELVORA_CONFIG_HOME=" + config, "QT_QPA_PLATFORM=offscreen",
                                 "ZELVORA_QUIT_AFTER_START=1"});
  ASSERT_EQ(status, 0);
  // Quick Start ran the engine on the file: its results lie beside it.
  EXPECT_TRUE(FileExists(dir.File("xray-cw.out")));
  EXPECT_TRUE(FileExists(dir.File("xray-cw.upd")));
  const std::string store = StoreText(config);
  EXPECT_NE(store.find("\"Version\"="), std::string::npos);
  EXPECT_NE(store.find("Cu Ka X-ray machine"), std::string::npos);
  // The file opened at first showing tops the recent files.
  EXPECT_NE(store.find("\"F0\"=str:\"" + dir.File("xray-cw.inp") + "\""), std::string::npos) << store;
  EXPECT_NE(store.find("[Software\\Zelvora\\Toolbars"), std::string::npos);
}

TEST(Program, AnUnknownFileKindIsReportedAndTheProgramCarriesOn) {
  TTempDir dir;
  const std::string file = dir.Write("notes.foo", "x\n");
  const std::string config = dir.Path() + "config";
  ASSERT_EQ(RunProgram({file}, {"ZELVORA_CONFIG_HOME=" + config, "QT_QPA_PLATFORM=offscreen",
                                "ZELVORA_QUIT_AFTER_START=1"}),
            0);
  // It ran to its close: the settings were written.
  EXPECT_NE(StoreText(config).find("\"RefineonEntry\""), std::string::npos);
}

}  // namespace
