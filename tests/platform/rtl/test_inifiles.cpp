#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/stringlist.h"
#include "support/tempdir.h"

TEST(IniFiles, RoundTripKeepsCommentsAndUnknownLines) {
  TTempDir dir;
  const std::string name = dir.Write("pos.ini",
                                     "; written by hand\r\n"
                                     "[Window]\r\n"
                                     "Top = 10\r\n"
                                     "# a comment inside\r\n"
                                     "Left=20\r\n"
                                     "a line of its own\r\n"
                                     "\r\n"
                                     "[Other]\r\n"
                                     "Key=Value with = sign\r\n");
  {
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadInteger("WINDOW", "top", 0), 10);
    EXPECT_EQ(ini.ReadString("Other", "KEY", ""), "Value with = sign");
    ini.WriteInteger("window", "LEFT", 25);  // first spellings stay
    ini.WriteInteger("Window", "Width", 300);
    ini.WriteString("New", "Name", "x");
  }
  EXPECT_EQ(TTempDir::Read(name),
            "; written by hand\r\n"
            "[Window]\r\n"
            "Top = 10\r\n"
            "# a comment inside\r\n"
            "Left=25\r\n"
            "Width=300\r\n"
            "a line of its own\r\n"
            "\r\n"
            "[Other]\r\n"
            "Key=Value with = sign\r\n"
            "\r\n"
            "[New]\r\n"
            "Name=x\r\n");
}

TEST(IniFiles, TypedValuesAndDefaults) {
  TTempDir dir;
  TIniFile ini(dir.File("typed.ini"));  // a missing file reads as empty
  EXPECT_EQ(ini.ReadString("S", "missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadInteger("S", "missing", -7), -7);
  ini.WriteFloat("S", "Wave", 1.5406);
  ini.WriteFloat("S", "Tiny", 1e-300);
  ini.WriteBool("S", "On", true);
  ini.WriteBool("S", "Off", false);
  ini.WriteString("S", "Comma", "2,5");
  ini.WriteString("S", "Hex", "$1F");
  ini.WriteString("S", "Text", "abc");
  ini.WriteString("S", "Huge", "99999999999");

  TMemIniFile again(dir.File("typed.ini"));
  EXPECT_DOUBLE_EQ(again.ReadFloat("S", "Wave", 0), 1.5406);
  EXPECT_EQ(again.ReadFloat("S", "Tiny", 0), 1e-300);
  EXPECT_DOUBLE_EQ(again.ReadFloat("S", "Comma", 0), 2.5);
  EXPECT_DOUBLE_EQ(again.ReadFloat("S", "Text", 9.5), 9.5);
  EXPECT_TRUE(again.ReadBool("S", "On", false));
  EXPECT_FALSE(again.ReadBool("S", "Off", true));
  EXPECT_TRUE(again.ReadBool("S", "Text", true));  // not a number: the default
  EXPECT_EQ(again.ReadInteger("S", "Hex", 0), 31);
  EXPECT_EQ(again.ReadInteger("S", "Text", 4), 4);
  EXPECT_EQ(again.ReadInteger("S", "Huge", 4), 4);
  EXPECT_EQ(again.ReadString("S", "Wave", ""), "1.5406");
}

TEST(IniFiles, SectionsKeysAndErasing) {
  TTempDir dir;
  TMemIniFile ini(dir.File("mem.ini"));
  ini.SetText("[A]\nx=1\ny=2\n[b]\n[C]\nz=3\n");
  TStringList list;
  ini.ReadSections(list);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"A", "b", "C"}));
  ini.ReadSection("a", list);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"x", "y"}));
  ini.ReadSectionValues("A", list);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"x=1", "y=2"}));
  EXPECT_TRUE(ini.SectionExists("c"));
  EXPECT_FALSE(ini.SectionExists("B"));  // a section without keys
  EXPECT_TRUE(ini.ValueExists("A", "Y"));
  EXPECT_FALSE(ini.ValueExists("A", "z"));
  ini.DeleteKey("A", "X");
  ini.EraseSection("c");
  EXPECT_EQ(ini.Text(), "[A]\ny=2\n[b]\n");
  EXPECT_FALSE(FileExists(dir.File("mem.ini")));  // nothing written before UpdateFile
  ini.UpdateFile();
  EXPECT_EQ(TTempDir::Read(dir.File("mem.ini")), "[A]\ny=2\n[b]\n");
}

TEST(IniFiles, BadNamesAndUnwritableFilesRaiseAndKeepData) {
  TTempDir dir;
  const std::string name = dir.Write("keep.ini", "[S]\nk=v\n");
  TIniFile ini(name);
  EXPECT_THROW(ini.WriteString("S", "a=b", "x"), EIniFileException);
  EXPECT_THROW(ini.WriteString("S", "", "x"), EIniFileException);
  EXPECT_THROW(ini.WriteString("S", ";k", "x"), EIniFileException);
  EXPECT_THROW(ini.WriteString("S]", "k", "x"), EIniFileException);
  EXPECT_THROW(ini.WriteString("S", "k", "two\nlines"), EIniFileException);
  EXPECT_EQ(TTempDir::Read(name), "[S]\nk=v\n");

  TIniFile nowhere(dir.File("nofolder/x.ini"));
  EXPECT_THROW(nowhere.WriteString("S", "k", "v"), EIniFileException);
  EXPECT_EQ(nowhere.ReadString("S", "k", ""), "v");  // kept in memory
}

TEST(IniFiles, TIniFileSeesChangesOfOtherWriters) {
  TTempDir dir;
  const std::string name = dir.File("shared.ini");
  TIniFile first(name);
  TIniFile second(name);
  first.WriteString("S", "a", "1");
  EXPECT_EQ(second.ReadString("S", "a", ""), "1");
  second.WriteString("S", "b", "2");
  EXPECT_EQ(first.ReadString("S", "b", ""), "2");
  EXPECT_EQ(TTempDir::Read(name), "[S]\na=1\nb=2\n");
}

TEST(IniFiles, DamagedFileLosesOnlyTheLinesWithNulBytes) {
  // Lines end at CR, LF or CR LF, for the damage filter as for the reader.
  const std::string cases[] = {
      std::string("[S]\ra=1\r\0junk\rb=2\r", 18),
      std::string("[S]\r\na=1\r\nx\0y=9\r\nb=2\r\n", 22),
      std::string("[S]\na=1\r\0\0\0@\nb=2", 16),
  };
  for (const std::string& text : cases) {
    TTempDir dir;
    TMemIniFile ini(dir.Write("damaged.ini", text));
    EXPECT_EQ(ini.ReadString("S", "a", "lost"), "1") << text.size();
    EXPECT_EQ(ini.ReadString("S", "b", "lost"), "2") << text.size();
    TStringList keys;
    ini.ReadSection("S", keys);
    EXPECT_EQ(keys.Count(), 2) << text.size();
  }
}
