#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/sysinfo.h"
#include "platform/rtl/inifiles.h"
#include "support/tempdir.h"
#include "support/testlocale.h"

extern char** environ;

using namespace std::string_literals;

namespace {

// Every test works below its own key and removes it afterwards.
class Registry : public testing::Test {
protected:
  void SetUp() override {
    Key = std::string("Software\\ZelvoraTest\\") + testing::UnitTest::GetInstance()->current_test_info()->name();
    TRegistry reg;
    reg.DeleteKey(Key);
  }
  void TearDown() override {
    TRegistry reg;
    reg.DeleteKey(Key);
  }
  std::string Key;
};

// Runs this test program again with only the named test and the helper switch
// set; returns its exit status.
int RunChild(const std::string& testName) {
  const std::string exe = ProgramFileName();
  const std::string filter = "--gtest_filter=" + testName;
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  env.emplace_back("ZV_REGISTRY_CHILD=1");
  std::vector<char*> envp;
  for (std::string& s : env) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<char*> argv{const_cast<char*>(exe.c_str()), const_cast<char*>(filter.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool IsChild() { return std::getenv("ZV_REGISTRY_CHILD") != nullptr; }

}  // namespace

TEST_F(Registry, NamesIgnoreCaseAndKeepTheFirstSpelling) {
  {
    TRegIniFile ini(Key);
    ini.WriteBool("Configuration", "RefineOnEntry", true);
    ini.WriteBool("CONFIGURATION", "RefineonEntry", false);  // the same value
    ini.WriteString("configuration", "StartUpDirectgory", "/data");
  }
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Key + "\\configuration", false));
  EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"RefineOnEntry", "StartUpDirectgory"}));
  EXPECT_EQ(reg.ReadString("REFINEONENTRY"), "0");
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey(Key, false));
  EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Configuration"});
}

TEST_F(Registry, ValuesSurviveIntoANewProcess) {
  {
    TRegIniFile ini(Key);
    ini.WriteBool("Configuration", "RefineOnEntry", true);
    ini.WriteInteger("Configuration", "IDSZ", 12000);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key + "\\Typed", true));
    reg.WriteFloat("Wave", 1.5406);
    reg.WriteInteger("Count", -3);
  }
  ASSERT_EQ(RunChild("RegistryChild.ReadsWhatTheParentWrote"), 0);
  // And the parent sees what the child wrote.
  TRegIniFile ini(Key);
  EXPECT_EQ(ini.ReadString("Configuration", "FromChild", ""), "seen");
}

TEST(RegistryChild, ReadsWhatTheParentWrote) {
  if (!IsChild()) GTEST_SKIP() << "run by ValuesSurviveIntoANewProcess";
  const std::string key = "Software\\ZelvoraTest\\ValuesSurviveIntoANewProcess";
  TRegIniFile ini(key);
  EXPECT_TRUE(ini.ReadBool("Configuration", "RefineonEntry", false));
  EXPECT_EQ(ini.ReadInteger("configuration", "idsz", 0), 12000);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(key + "\\typed"));
  EXPECT_EQ(reg.ReadFloat("wave"), 1.5406);
  EXPECT_EQ(reg.ReadInteger("COUNT"), -3);
  ini.WriteString("Configuration", "FromChild", "seen");
}

TEST_F(Registry, KeysOpenCreateAndDelete) {
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey(Key + "\\A", false));
  ASSERT_TRUE(reg.OpenKey(Key + "\\A", true));
  EXPECT_EQ(reg.CurrentPath(), Key + "\\A");
  ASSERT_TRUE(reg.OpenKey("B\\C", true));  // relative to the open key
  EXPECT_EQ(reg.CurrentPath(), Key + "\\A\\B\\C");
  reg.WriteString("Leaf", "x");
  ASSERT_TRUE(reg.OpenKey("\\" + Key + "\\A", false));  // absolute
  EXPECT_TRUE(reg.KeyExists("b\\c"));
  EXPECT_TRUE(reg.HasSubKeys());
  EXPECT_TRUE(reg.CreateKey("zeta"));
  EXPECT_TRUE(reg.CreateKey("Alpha"));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"Alpha", "B", "zeta"}));  // sorted, ignoring case
  TStringList list;
  reg.GetKeyNames(list);
  EXPECT_EQ(list.Count(), 3);

  // DeleteKey takes the subkeys and their values with it.
  EXPECT_TRUE(reg.DeleteKey("b"));
  EXPECT_FALSE(reg.KeyExists("B"));
  EXPECT_FALSE(reg.KeyExists("B\\C"));
  EXPECT_FALSE(reg.DeleteKey("B"));
  reg.CloseKey();
  TRegistry other;
  EXPECT_FALSE(other.OpenKey(Key + "\\A\\B\\C", false));
  EXPECT_FALSE(other.KeyExists(Key + "\\A\\B"));

  // A key deleted while another object has it open takes no more values.
  ASSERT_TRUE(other.OpenKey(Key + "\\Gone", true));
  reg.DeleteKey(Key + "\\Gone");
  EXPECT_THROW(other.WriteString("v", "x"), ERegistryException);
  EXPECT_EQ(other.ReadString("v"), "");
}

TEST_F(Registry, TypedValuesAndErrors) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Key, true));
  reg.WriteString("Text", "a \"quoted\" [text]\twith %41 and\nline break, ünïcode");
  reg.WriteExpandString("Expand", "$HOME/x");
  reg.WriteInteger("Int", -2147483647 - 1);
  reg.WriteBool("Bool", true);
  reg.WriteFloat("Float", -0.1);
  reg.WriteDateTime("When", 45000.75);
  const unsigned char blob[] = {0, 1, 0xFF, '\n', '"'};
  reg.WriteBinaryData("Blob", blob, sizeof blob);
  reg.WriteString("", "default value");
  reg.CloseKey();  // written and read back from the file

  ASSERT_TRUE(reg.OpenKeyReadOnly(Key));
  EXPECT_EQ(reg.ReadString("text"), "a \"quoted\" [text]\twith %41 and\nline break, ünïcode");
  EXPECT_EQ(reg.ReadString("Expand"), "$HOME/x");
  EXPECT_EQ(reg.GetDataType("Expand"), rdExpandString);
  EXPECT_EQ(reg.ReadInteger("Int"), -2147483647 - 1);
  EXPECT_TRUE(reg.ReadBool("Bool"));
  EXPECT_EQ(reg.GetDataType("Bool"), rdInteger);
  EXPECT_EQ(reg.ReadFloat("Float"), -0.1);
  EXPECT_EQ(reg.ReadDateTime("When"), 45000.75);
  EXPECT_EQ(reg.GetDataType("Float"), rdBinary);
  EXPECT_EQ(reg.GetDataSize("Float"), 8);
  EXPECT_EQ(reg.GetDataSize("Text"), static_cast<int>(std::strlen("a \"quoted\" [text]\twith %41 and\nline break, ünïcode")) + 1);
  unsigned char back[8] = {};
  EXPECT_EQ(reg.ReadBinaryData("Blob", back, sizeof back), 5);
  EXPECT_EQ(std::memcmp(back, blob, sizeof blob), 0);
  EXPECT_EQ(reg.ReadString(""), "default value");

  // Missing values and wrong types.
  EXPECT_EQ(reg.ReadString("Missing"), "");
  EXPECT_EQ(reg.GetDataSize("Missing"), -1);
  EXPECT_EQ(reg.GetDataType("Missing"), rdUnknown);
  struct Case {
    std::function<void()> read;
    const char* message;
  };
  const Case cases[] = {
      {[&] { reg.ReadInteger("Missing"); }, "Failed to get data for 'Missing'"},
      {[&] { reg.ReadBool("Missing"); }, "Failed to get data for 'Missing'"},
      {[&] { reg.ReadFloat("Missing"); }, "Failed to get data for 'Missing'"},
      {[&] { reg.ReadInteger("Text"); }, "Invalid data type for 'Text'"},
      {[&] { reg.ReadString("Int"); }, "Invalid data type for 'Int'"},
      {[&] { reg.ReadFloat("Blob"); }, "Invalid data type for 'Blob'"},
      {[&] { reg.ReadBinaryData("Blob", back, 2); }, "Failed to get data for 'Blob'"},
      {[&] { reg.WriteString("New", "x"); }, "Failed to set data for 'New'"},  // opened read-only
  };
  for (const Case& c : cases) {
    try {
      c.read();
      ADD_FAILURE() << "no exception, expected " << c.message;
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  EXPECT_FALSE(reg.DeleteValue("Text"));  // read-only
  reg.CloseKey();
  EXPECT_THROW(reg.WriteString("x", "y"), ERegistryException);  // no key open

  ASSERT_TRUE(reg.OpenKey(Key, false));
  EXPECT_TRUE(reg.DeleteValue("TEXT"));
  EXPECT_FALSE(reg.ValueExists("Text"));
  reg.RenameValue("Int", "Integer");
  EXPECT_EQ(reg.ReadInteger("integer"), -2147483647 - 1);
  EXPECT_FALSE(reg.ValueExists("Int"));
  TRegKeyInfo info;
  ASSERT_TRUE(reg.GetKeyInfo(info));
  EXPECT_EQ(info.NumValues, 7);
  EXPECT_EQ(info.NumSubKeys, 0);
}

TEST_F(Registry, MoveKeyCopiesTheWholeTree) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Key + "\\Old\\Sub", true));
  reg.WriteInteger("n", 7);
  ASSERT_TRUE(reg.OpenKey("\\" + Key, false));
  reg.MoveKey("Old", "New", true);
  EXPECT_FALSE(reg.KeyExists("Old"));
  ASSERT_TRUE(reg.OpenKey("New\\Sub", false));
  EXPECT_EQ(reg.ReadInteger("N"), 7);
}

TEST_F(Registry, RegIniFileSectionsAndTypes) {
  TRegIniFile ini(Key);
  EXPECT_EQ(ini.ReadInteger("Configuration", "Version", -1), -1);
  EXPECT_TRUE(ini.ReadBool("Configuration", "Hints", true));
  ini.WriteInteger("Configuration", "Version", 1);
  ini.WriteString("Configuration\\VoraZadar", "StartUpScript", "start.bas");
  ini.WriteString("\\" + Key + "\\Absolute", "Where", "root-relative");
  EXPECT_EQ(ini.ReadInteger("Configuration", "Version", -1), 1);
  EXPECT_EQ(ini.ReadString("configuration\\vorazadar", "startupscript", ""), "start.bas");
  EXPECT_EQ(ini.ReadString("Absolute", "Where", ""), "root-relative");
  EXPECT_EQ(ini.ReadString("NoSection", "x", "dflt"), "dflt");
  EXPECT_FALSE(ini.KeyExists("NoSection"));  // reading does not create sections
  EXPECT_EQ(ini.CurrentPath(), Key);         // back on the file's key

  // Integers are stored as text and read from text or integer values.
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key + "\\Configuration", false));
    EXPECT_EQ(reg.GetDataType("Version"), rdString);
    reg.WriteInteger("RealInt", 42);
    reg.WriteString("NotANumber", "abc");
  }
  EXPECT_EQ(ini.ReadInteger("Configuration", "RealInt", 0), 42);
  EXPECT_EQ(ini.ReadInteger("Configuration", "NotANumber", 5), 5);

  TStringList list;
  ini.ReadSections(list);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"Absolute", "Configuration"}));
  ini.ReadSection("Configuration", list);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"Version", "RealInt", "NotANumber"}));
  ini.ReadSectionValues("Configuration", list);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"Version=1", "RealInt=42", "NotANumber=abc"}));
  ini.DeleteKey("Configuration", "NotANumber");
  EXPECT_FALSE(ini.ValueExists("NotANumber"));
  ini.ReadSection("Configuration", list);
  EXPECT_EQ(list.Count(), 2);
  ini.EraseSection("configuration");
  EXPECT_FALSE(ini.KeyExists("Configuration\\VoraZadar"));

  // The TCustomIniFile face keeps text values text and stores new ones as integers.
  TRegistryIniFile store(Key);
  store.WriteString("Cols", "Col0", "64");
  store.WriteInteger("Cols", "Col0", 80);
  store.WriteInteger("Cols", "Col1", 90);
  EXPECT_EQ(store.ReadInteger("Cols", "Col0", 0), 80);
  EXPECT_EQ(store.ReadInteger("Cols", "Col1", 0), 90);
  EXPECT_TRUE(store.ValueExists("cols", "COL1"));
  EXPECT_TRUE(store.SectionExists("Cols"));
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Key + "\\Cols", false));
  EXPECT_EQ(reg.GetDataType("Col0"), rdString);
  EXPECT_EQ(reg.GetDataType("Col1"), rdInteger);
}

TEST_F(Registry, ChangesOfOtherWritersMerge) {
  // Two objects write different values; neither loses the other's.
  TRegistry first, second;
  ASSERT_TRUE(first.OpenKey(Key, true));
  ASSERT_TRUE(second.OpenKey(Key, true));
  first.WriteString("A", "1");
  second.WriteString("B", "2");
  first.CloseKey();
  second.CloseKey();
  const std::string fileName = TRegistry::StoreFileName(HKEY_CURRENT_USER);
  std::string text = TTempDir::Read(fileName);
  EXPECT_NE(text.find("\"A\"=str:\"1\""), std::string::npos);
  EXPECT_NE(text.find("\"B\"=str:\"2\""), std::string::npos);

  // Another program replaces the file while our change is pending: its value
  // and ours both end up in the file, ours winning where both wrote.
  ASSERT_TRUE(first.OpenKey(Key, false));
  first.WriteString("A", "ours");
  first.WriteString("C", "3");
  text += "[" + Key + "]\n\"A\"=str:\"theirs\"\n\"External\"=int:9\n";
  WriteFileAtomic(fileName, text);
  // Seen at the next open of a key: values are read as the open found them,
  // without a look at the file for each.
  EXPECT_FALSE(first.ValueExists("External"));
  ASSERT_TRUE(first.OpenKey("\\" + Key, false));
  EXPECT_EQ(first.ReadInteger("External"), 9);
  first.CloseKey();
  TRegistry reader;
  ASSERT_TRUE(reader.OpenKeyReadOnly(Key));
  EXPECT_EQ(reader.ReadString("A"), "ours");
  EXPECT_EQ(reader.ReadString("B"), "2");
  EXPECT_EQ(reader.ReadString("C"), "3");
  EXPECT_EQ(reader.ReadInteger("External"), 9);
}

TEST_F(Registry, ABatchWritesTheStoreOnceAtItsEnd) {
  const std::string fileName = TRegistry::StoreFileName(HKEY_CURRENT_USER);
  auto onDisk = [&](const std::string& value) { return TTempDir::Read(fileName).find(value) != std::string::npos; };
  {
    TRegistryBatch outer;
    {
      TRegistryBatch inner;
      TRegistry reg;
      ASSERT_TRUE(reg.OpenKey(Key, true));
      reg.WriteInteger("First", 1);
      reg.CloseKey();
    }
    EXPECT_FALSE(onDisk("\"First\"=int:1"));  // the outer batch is still open
    TRegIniFile ini(Key);
    ini.WriteString("Section", "Second", "2");
    EXPECT_EQ(ini.ReadString("Section", "Second", ""), "2");  // seen before it is written
    ini.CloseKey();
    EXPECT_FALSE(onDisk("\"Second\"=str:\"2\""));
    TRegistry::FlushAll();  // an explicit flush writes at once
    EXPECT_TRUE(onDisk("\"Second\"=str:\"2\""));
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, false));
    reg.WriteInteger("Third", 3);
  }
  EXPECT_TRUE(onDisk("\"Third\"=int:3"));
}

TEST(RegistryStore, DamagedFileIsReadAsFarAsValid) {
  // A root of its own, so that the damage stays in this test's file.
  const std::string fileName = TRegistry::StoreFileName(HKEY_LOCAL_MACHINE);
  ForceDirectories(ExtractFilePath(fileName));
  const std::string damaged =
      "; Zelvora settings store, version 1\n"
      "[Good]\n"
      "\"Kept\"=int:5\n"
      "\"BadInt\"=int:12x\n"
      "\"Overflow\"=int:99999999999\n"
      "\"BadEscape\"=str:\"%4\"\n"
      "\"Unclosed\"=str:\"abc\n"
      "\"OddHex\"=bin:abc\n"
      "\"Unknown\"=dbl:1.0\n"
      "no quotes at all\n"
      "[Broken%ZZ]\n"
      "\"Orphan\"=int:1\n"
      "[Also\\Good]\r\n"
      "\"Text\"=str:\"fine\"\r\n"
      "[Unterminated\n"
      "\"Orphan2\"=int:2\n"
      "\x01\x02\xff garbage \0 with nul\n"
      "[Good]\n"
      "\"Later\"=str:\"merged\"\n"
      "\"Trunc"s;
  {
    FILE* f = std::fopen(fileName.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(damaged.data(), 1, damaged.size(), f);
    std::fclose(f);
  }
  testing::internal::CaptureStderr();
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("Good", false));
  EXPECT_EQ(reg.ReadInteger("Kept"), 5);
  EXPECT_EQ(reg.ReadString("Later"), "merged");
  EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"Kept", "Later"}));
  ASSERT_TRUE(reg.OpenKey("\\Also\\Good", false));
  EXPECT_EQ(reg.ReadString("Text"), "fine");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("damaged"), std::string::npos) << err;

  // The next write keeps the damaged file as .bak and leaves a clean file
  // that reads back whole.
  reg.WriteString("Added", "yes");
  testing::internal::CaptureStderr();
  reg.CloseKey();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("a copy of it was kept as " + fileName + ".bak"),
            std::string::npos);
  EXPECT_EQ(TTempDir::Read(fileName + ".bak"), damaged);
  std::remove((fileName + ".bak").c_str());
  const std::string rewritten = TTempDir::Read(fileName);
  EXPECT_EQ(rewritten.find("Orphan"), std::string::npos);
  TRegistry again;
  again.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(again.OpenKeyReadOnly("also\\good"));
  EXPECT_EQ(again.ReadString("added"), "yes");
  again.CloseKey();
  std::remove(fileName.c_str());
}

TEST(RegistryStore, UnknownRootOpensNothing) {
  TRegistry reg;
  reg.SetRootKey(0x12345);
  EXPECT_FALSE(reg.OpenKey("Software", true));
  EXPECT_FALSE(reg.KeyExists("Software"));
  EXPECT_EQ(TRegistry::StoreFileName(HKEY_CURRENT_USER), ConfigFolder() + "HKEY_CURRENT_USER.reg");
}

// Settings written on a desktop with a decimal comma are byte for byte those
// written under "C", in the registry store and in an INI file, and read back.
TEST_F(Registry, SettingsFilesIgnoreTheDesktopsLocale) {
  TTempDir dir;
  const std::string iniName = dir.File("zelvora.ini");
  auto write = [&] {
    {
      TRegistry reg;
      reg.DeleteKey(Key);
      ASSERT_TRUE(reg.OpenKey(Key + "\\Raw", true));
      reg.WriteFloat("Shift", -0.0125);
      reg.WriteDateTime("When", 46000.75);
      reg.WriteInteger("Count", 1234567);
    }
    TRegistryIniFile store(Key);
    store.WriteFloat("Pattern", "Wavelength", 1.5406);
    store.WriteFloat("Pattern", "Tiny", 2.5e-12);
    store.WriteInteger("Pattern", "Points", 1234567);
    TRegistry::FlushAll();
    DeleteFile(iniName);
    TIniFile ini(iniName);
    ini.WriteFloat("Pattern", "Wavelength", 1.5406);
    ini.WriteFloat("Pattern", "Step", -0.02);
    ini.WriteInteger("Pattern", "Points", 1234567);
  };
  auto files = [&] { return TTempDir::Read(TRegistry::StoreFileName(HKEY_CURRENT_USER)) + TTempDir::Read(iniName); };
  write();
  const std::string c = files();
  ASSERT_NE(TTempDir::Read(iniName).find("Wavelength=1.5406"), std::string::npos) << TTempDir::Read(iniName);

  TScopedLocale comma;
  ASSERT_TRUE(comma.Active());
  write();
  EXPECT_EQ(files(), c);
  TMemIniFile ini(iniName);
  EXPECT_EQ(ini.ReadFloat("Pattern", "Step", 0), -0.02);
  TRegistryIniFile store(Key);
  EXPECT_EQ(store.ReadFloat("Pattern", "Wavelength", 0), 1.5406);
  EXPECT_EQ(store.ReadFloat("Pattern", "Tiny", 0), 2.5e-12);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Key + "\\Raw", false));
  EXPECT_EQ(reg.ReadFloat("Shift"), -0.0125);
}
