// The main window's settings: what a first start writes, how presets and
// recent files are read, and the whole store after a close against a
// reviewed dump.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "app/mainplatform.h"
#include "platform/rtl/fileutils.h"
#include "mainwindowtest.h"
#include "support/dialogresponder.h"
#include "support/tempdir.h"
#include "toolbar/tbmru.h"

using namespace mainwindowtest;

extern char** environ;

namespace {

// The program itself, started headless on a file in this test's settings
// store (a second instance); its exit status.
int RunSecondInstance(const std::string& file) {
  const std::string program = zv_mainplatform::ProgramFolderPath() + "zelvora";
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  env.emplace_back("ZELVORA_QUIT_AFTER_START=1");
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(file.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Counts the saves of the settings store (each replaces the file by a rename).
class TStoreSaves {
public:
  TStoreSaves() : FName(ExtractFileName(TRegistry::StoreFileName(HKEY_CURRENT_USER))) {
    FFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    inotify_add_watch(FFd, ExtractFileDir(TRegistry::StoreFileName(HKEY_CURRENT_USER)).c_str(), IN_MOVED_TO);
  }
  ~TStoreSaves() { ::close(FFd); }
  int Count() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
      const ssize_t n = ::read(FFd, buffer, sizeof buffer);
      if (n <= 0) break;
      for (ssize_t at = 0; at < n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
        if (e->len > 0 && FName == e->name) ++FCount;
        at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
      }
    }
    return FCount;
  }

private:
  std::string FName;
  int FFd = -1;
  int FCount = 0;
};

// Every key and value below the root, keys in the store's (sorted) order,
// values in the order first written.
void DumpKey(TRegistry& reg, const std::string& path, std::string& out) {
  if (!reg.OpenKey("\\" + path, false)) return;
  out += "[" + path + "]\n";
  const std::vector<std::string> values = reg.GetValueNames();
  for (const std::string& v : values) {
    if (reg.GetDataType(v) == rdInteger)
      out += v + "=int:" + std::to_string(reg.ReadInteger(v)) + "\n";
    else
      out += v + "=" + reg.ReadString(v) + "\n";
  }
  const std::vector<std::string> keys = reg.GetKeyNames();
  for (const std::string& k : keys) DumpKey(reg, path + "\\" + k, out);
}

std::string Dump(const std::string& path) {
  TRegistry reg;
  std::string out;
  DumpKey(reg, path, out);
  // The database paths name the user's data folder, which differs per user.
  const std::string data = DefaultDatabaseFolder();
  for (size_t at = out.find(data); at != std::string::npos; at = out.find(data, at))
    out.replace(at, data.size(), "<data>/");
  const std::string folder = zv_mainplatform::ProgramFolderPath();
  for (size_t at = out.find(folder); at != std::string::npos; at = out.find(folder, at))
    out.replace(at, folder.size(), "<program>/");
  return out;
}

std::string Stored(const std::string& section, const std::string& key) {
  TRegIniFile ini("Software\\Zelvora");
  return ini.ReadString(section, key, "<missing>");
}

class MainSettingsTest : public MainWindowTest {};

TEST_F(MainSettingsTest, FirstStartWithAnEmptyStore) {
  Create();
  // Written at creation, before any close.
  EXPECT_EQ(Stored("Configuration", "Version"), "1");
  EXPECT_EQ(Stored("Database", "Phases"), DefaultDatabaseFolder() + "phases.db");
  EXPECT_EQ(Stored("Database", "Atoms"), DefaultDatabaseFolder() + "atoms.db");

  const TInstrument& first = Instruments[1];
  EXPECT_EQ(first.Title, "Cu Ka X-ray machine");
  EXPECT_DOUBLE_EQ(first.Stop, 80.0);
  EXPECT_DOUBLE_EQ(first.Pol, 1.0);
  EXPECT_DOUBLE_EQ(first.gamma, 0.2);
  for (int n = 2; n <= InstrumentCount; ++n) {
    EXPECT_EQ(Instruments[n].Title, "Instrument " + std::to_string(n) + " not set");
    EXPECT_DOUBLE_EQ(Instruments[n].Stop, 100.0) << n;
    EXPECT_DOUBLE_EQ(Instruments[n].Pol, 0.0) << n;
    EXPECT_NEAR(Instruments[n].Wave1, 1.54051, 1e-6) << n;
  }
  EXPECT_TRUE(Form->RecentFiles().empty());
  EXPECT_TRUE(Form->actShowHints->Checked());
  EXPECT_EQ(IRS, 4000);
  EXPECT_EQ(IDSZ, 10000);
  EXPECT_EQ(NIPOI, 1500);
  EXPECT_EQ(NumberRecent, 5);
  EXPECT_EQ(RunMode, rmIdle);
  ASSERT_NE(Model, nullptr);
  EXPECT_FALSE(Model->Loaded);
  EXPECT_EQ(PlotColours[5], 16777215);
  EXPECT_EQ(PlotScales[1], 5);
  // Work files go to the private work folder, never to the current one.
  EXPECT_FALSE(WorkFolder.empty());
  EXPECT_EQ(WorkFolder.back(), '/');

  Close();
  const std::string expected =
      TTempDir::Read(Examples() + "../tests/app/golden/main_settings.txt");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(Dump("Software\\Zelvora"), expected);
}

TEST_F(MainSettingsTest, StoredPresetsAreReadAndAPresetOneWithoutTitleIsReplacedWhole) {
  {
    TRegIniFile ini("Software\\Zelvora");
    // Values but no title: replaced by the built-in preset.
    ini.WriteString("Instruments", "Wave11", "2.5");
    ini.WriteString("Instruments", "Stop1", "55");
    ini.WriteInteger("Instruments", "Radiation1", 2);
    // A titled preset with a comma decimal and an unreadable number.
    ini.WriteString("Instruments", "Instrument_Title2", "D1B");
    ini.WriteString("Instruments", "Wave12", "2,52");
    ini.WriteString("Instruments", "Zero2", "abc");
    ini.WriteInteger("Instruments", "Profile2", 5);
  }
  Create();
  const TInstrument builtIn = BuiltInInstrument();
  const TInstrument& first = Instruments[1];
  EXPECT_EQ(first.Title, builtIn.Title);
  EXPECT_DOUBLE_EQ(first.Wave1, builtIn.Wave1);
  EXPECT_DOUBLE_EQ(first.Stop, 80.0);
  EXPECT_EQ(first.Radiation, 0);
  const TInstrument& second = Instruments[2];
  EXPECT_EQ(second.Title, "D1B");
  EXPECT_NEAR(second.Wave1, 2.52, 1e-6);
  EXPECT_DOUBLE_EQ(second.Zero, 0.0);
  EXPECT_EQ(second.Profile, 5);
  Close();
  // Written back with a point whatever the desktop's locale, 7 digits.
  EXPECT_EQ(Stored("Instruments", "Wave12"), "2.52");
  EXPECT_EQ(Stored("Instruments", "Wave11"), "1.54051");
  EXPECT_EQ(Stored("Instruments", "Stop1"), "80");
  EXPECT_EQ(Stored("Instruments", "V1"), "-0.005");
}

TEST_F(MainSettingsTest, OnlyNumberRecentFilesAreReadAndTheOthersStay) {
  {
    TRegIniFile ini("Software\\Zelvora");
    ini.WriteInteger("Configuration", "NumberRecent", 3);
    ini.WriteString("RecentFiles", "F0", "  /data/a.inp ");
    ini.WriteString("RecentFiles", "F1", "");
    ini.WriteString("RecentFiles", "F2", "/data/c.inp");
    ini.WriteString("RecentFiles", "F3", "/data/d.inp");
    ini.WriteString("RecentFiles", "F4", "/data/e.inp");
  }
  Create();
  EXPECT_EQ(Form->RecentFiles(), (std::vector<std::string>{"/data/a.inp", "/data/c.inp"}));
  EXPECT_EQ(Form->TBMRUList1->MaxItems(), 3);
  Form->AddRecentFile("/data/n.inp");
  Close();
  EXPECT_EQ(Stored("RecentFiles", "F0"), "/data/n.inp");
  EXPECT_EQ(Stored("RecentFiles", "F1"), "/data/a.inp");
  EXPECT_EQ(Stored("RecentFiles", "F2"), "/data/c.inp");
  EXPECT_EQ(Stored("RecentFiles", "F3"), "/data/d.inp");
  EXPECT_EQ(Stored("RecentFiles", "F4"), "/data/e.inp");
}

TEST(MainSettings, RecentFilesOfThisRunGoOnTopOfTheStoredList) {
  using L = std::vector<std::string>;
  const struct {
    L Now, AtStart, Stored, Merged;
  } cases[] = {
      // Nothing opened here: the stored list as it is.
      {{"a", "b"}, {"a", "b"}, {"y", "a", "b"}, {"y", "a", "b"}},
      // x opened here, y by another instance meanwhile: both kept.
      {{"x", "a", "b", "c", "d"}, {"a", "b", "c", "d", "e"}, {"y", "a", "b", "c", "d"}, {"x", "y", "a", "b", "c"}},
      // An older file opened again comes to the top once.
      {{"c", "a", "b"}, {"a", "b", "c"}, {"a", "b", "c"}, {"c", "a", "b"}},
      // A list that is no longer the one read: all of it counts as this run's.
      {{"p", "q"}, {"a", "b"}, {"b"}, {"p", "q", "b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(MergeRecentFiles(c.Now, c.AtStart, c.Stored, 5), c.Merged) << c.Now[0];
}

TEST_F(MainSettingsTest, TwoInstancesKeepEachOthersSettingsAndRecentFiles) {
  TTempDir dir;
  for (const char* name : {"xray-cw.inp", "xray-cw.dat"})
    ASSERT_TRUE(CopyFile(Examples() + name, dir.File(name), false)) << name;
  {
    TRegIniFile ini("Software\\Zelvora");
    ini.WriteString("RecentFiles", "F0", "/data/old.inp");
  }
  TRegistry::FlushAll();
  Create();
  // Meanwhile a second instance opens another file and closes, and a
  // setting is changed by another program.
  ASSERT_EQ(RunSecondInstance(dir.File("xray-cw.inp")), 0);
  {
    TRegistryBatch outside;  // a fresh look at the file
    TRegIniFile ini("Software\\Zelvora");
    ASSERT_EQ(ini.ReadString("RecentFiles", "F0", ""), dir.File("xray-cw.inp"));
  }
  const std::string store = TRegistry::StoreFileName(HKEY_CURRENT_USER);
  std::string text = TTempDir::Read(store);
  const std::string irs = "\"IRS\"=str:\"4000\"";
  ASSERT_NE(text.find(irs), std::string::npos);
  text.replace(text.find(irs), irs.size(), "\"IRS\"=str:\"7777\"");
  WriteFileAtomic(store, text);

  Form->AddRecentFile("/data/mine.inp");
  Close();
  Form.reset();
  TRegistry::FlushAll();
  EXPECT_EQ(Stored("Configuration", "IRS"), "7777");
  EXPECT_EQ(Stored("RecentFiles", "F0"), "/data/mine.inp");
  EXPECT_EQ(Stored("RecentFiles", "F1"), dir.File("xray-cw.inp"));
  EXPECT_EQ(Stored("RecentFiles", "F2"), "/data/old.inp");
}

TEST_F(MainSettingsTest, StartAndCloseSaveTheStoreOnceEach) {
  TStoreSaves saves;
  Create();
  EXPECT_EQ(saves.Count(), 1);  // a first start writes the version and database paths
  Form->Show();
  Form->SetBounds(40, 50, 700, Form->Height());
  Form->AddRecentFile("/data/one.inp");
  Form->Close();
  Closed = true;
  Form.reset();
  EXPECT_EQ(saves.Count(), 2);
  // A start on a store that holds everything writes nothing.
  ResetProgramState();
  Closed = false;
  Create();
  EXPECT_EQ(saves.Count(), 2);
}

TEST_F(MainSettingsTest, OptionsRoundTripAndRefineOnEntryIsReadUnderEitherSpelling) {
  {
    TRegIniFile ini("Software\\Zelvora");
    ini.WriteBool("Configuration", "RefineOnEntry", true);
    ini.WriteBool("Configuration", "Hints", false);
    ini.WriteBool("Configuration", "QSPlot", true);
    ini.WriteInteger("Configuration", "IRS", 9000);
    ini.WriteString("Configuration\\VoraZadar", "StartUpScript", "");
    ini.WriteInteger("Update", "UpdateSite", 4);
  }
  Create();
  EXPECT_TRUE(RefineOnEntry);
  EXPECT_FALSE(Form->actShowHints->Checked());
  EXPECT_TRUE(RunOptions.QSPlot);
  EXPECT_EQ(IRS, 9000);
  EXPECT_EQ(UpdateSite, 4);
  Form->actShowHints->Execute();
  Close();
  EXPECT_EQ(Stored("Configuration", "RefineonEntry"), "1");
  EXPECT_EQ(Stored("Configuration", "Hints"), "1");
  EXPECT_EQ(Stored("Configuration", "IRS"), "9000");
  EXPECT_EQ(Stored("Update", "UpdateSite"), "4");
}

// The window's own close and show handlers must not replace the position
// saver's: the place is written at close and found again at the next start.
TEST_F(MainSettingsTest, TheWindowsPlaceIsKeptAcrossARestart) {
  Create();
  Form->Show();
  Form->SetBounds(40, 50, 700, Form->Height());
  Form->Close();
  Closed = true;
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Zelvora\\Configuration\\ZelvoraForm", false));
  EXPECT_EQ(reg.ReadInteger("Left"), 40);
  EXPECT_EQ(reg.ReadInteger("Top"), 50);
  EXPECT_EQ(reg.ReadInteger("Width"), 700);
  reg.CloseKey();

  Form.reset();
  ResetProgramState();
  Closed = false;
  Create();
  Form->Show();
  EXPECT_EQ(Form->Left(), 40);
  EXPECT_EQ(Form->Top(), 50);
  EXPECT_EQ(Form->Width(), 700);
}

TEST_F(MainSettingsTest, AnUnwritableSettingsFolderIsReportedOnceAndTheProgramRuns) {
  TTempDir dir;
  // A file where the folder would have to be made.
  const std::string blocker = dir.Write("blocker", "x");
  const std::string old = zv_mainplatform::Environment("ZELVORA_CONFIG_HOME");
  ::setenv("ZELVORA_CONFIG_HOME", (blocker + "/config").c_str(), 1);
  TDialogResponder dialogs;
  Create();
  if (old.empty())
    ::unsetenv("ZELVORA_CONFIG_HOME");
  else
    ::setenv("ZELVORA_CONFIG_HOME", old.c_str(), 1);
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_NE(dialogs.Last().Text.find("cannot be written"), std::string::npos) << dialogs.Last().Text;
  EXPECT_EQ(Instruments[1].Title, "Cu Ka X-ray machine");
  EXPECT_EQ(RunMode, rmIdle);
}

}  // namespace
