// The main window's settings: what a first start writes, how presets and
// recent files are read, and the whole store after a close against a
// reviewed dump.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/mainplatform.h"
#include "platform/rtl/fileutils.h"
#include "mainwindowtest.h"
#include "support/dialogresponder.h"
#include "support/tempdir.h"
#include "toolbar/tbmru.h"

using namespace mainwindowtest;

namespace {

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
