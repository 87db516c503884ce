// File checks, version texts, prefixes and names of the web update.
#include <gtest/gtest.h>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/sysinfo.h"
#include "support/tempdir.h"
#include "webupdate/wubase64.h"
#include "webupdate/wucrc32.h"
#include "webupdate/wufiles.h"
#include "webupdate/wupdate.h"
#include "wutest.h"

namespace {

TEST(WebUpdateChecks, ByteSumAndCrcOfFiles) {
  TTempDir dir;
  struct Case {
    const char* Name;
    std::string Content;
    int32_t ByteSum;
  } cases[] = {
      {"one", std::string(1, '\1'), 0},  // -1 + 1
      {"empty", "", -1},
      {"abc", "abc", -1 + 'a' + 'b' + 'c'},
      {"high", std::string(3, '\xFF'), -1 + 3 * 255},
  };
  for (const Case& c : cases) {
    const std::string f = dir.Write(c.Name, c.Content);
    EXPECT_EQ(ByteSumChecksum(f), c.ByteSum) << c.Name;
    EXPECT_EQ(FileCRC32(f), BufferCRC32(c.Content.data(), c.Content.size())) << c.Name;
  }
  EXPECT_EQ(ByteSumChecksum(dir.File("missing")), -1);
  EXPECT_EQ(FileCRC32(dir.File("empty")), 0);
  EXPECT_EQ(FileCRC32(dir.File("missing")), 0);
  EXPECT_EQ(GetFileSizeOf(dir.File("abc")), 3);
  EXPECT_EQ(GetFileSizeOf(dir.File("missing")), -1);
}

TEST(WebUpdateChecks, CrcAddsEachTableStepToTheRegister) {
  // One byte by hand: r = FFFFFFFF, t = T[(r ^ b) & 255] ^ (r >> 8), r += t.
  auto tableStep = [](uint32_t i) {
    uint32_t r = i;
    for (int k = 0; k < 8; ++k) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
    return r;
  };
  const unsigned char b = 'Z';
  uint32_t r = 0xFFFFFFFFu;
  r += tableStep((r ^ b) & 255) ^ (r >> 8);
  EXPECT_EQ(static_cast<uint32_t>(BufferCRC32(&b, 1)), r ^ 0xFFFFFFFFu);
  // Not the standard CRC-32 of "Z".
  EXPECT_NE(static_cast<uint32_t>(BufferCRC32(&b, 1)), 0x59BC5767u);
}

TEST(WebUpdateChecks, VersionTexts) {
  struct Case {
    const char* Text;
    int32_t High, Low;
    const char* Back;
  } cases[] = {
      {"1.7.3.0", 1 * 65536 + 7, 3 * 65536, "1.7.3.0"},
      {"3", 3 * 65536, 0, "3.0.0.0"},
      {"1,2,3,4", 65538, 3 * 65536 + 4, "1.2.3.4"},
      {"2.5", 2 * 65536 + 5, 0, "2.5.0.0"},
      {"4.1.9", 4 * 65536 + 1, 9 * 65536, "4.1.9.0"},
      {"1.2.3.x", 65538, -1, "1.2.65535.65535"},  // an unconvertible fourth part: low word -1
      {"1.70000.0.0", 65536 + (70000 & 0xFFFF), 0, "1.4464.0.0"},  // only 16 bits of the minor part
      {"x", -1, -1, "65535.65535.65535.65535"},
      {"", -1, -1, "65535.65535.65535.65535"},
      {"1.x.3.4", -1, -1, "65535.65535.65535.65535"},  // a first three part that does not convert: no version
      {"1.2.y", -1, -1, "65535.65535.65535.65535"},
  };
  for (const Case& c : cases) {
    const TVersionNumber v = TextToVersion(c.Text);
    EXPECT_EQ(v.High, c.High) << c.Text;
    EXPECT_EQ(v.Low, c.Low) << c.Text;
    EXPECT_EQ(VersionToText(v), c.Back) << c.Text;
  }
}

TEST(WebUpdateChecks, FileVersionFromTheVersionResource) {
  TTempDir dir;
  const std::string program = dir.Write("prog.exe", wutest::PeWithVersion(2, 4, 6, 8));
  const TVersionNumber v = GetFileVersion(program);
  EXPECT_EQ(VersionToText(v), "2.4.6.8");
  EXPECT_EQ(GetFileVersion(dir.Write("text.exe", "MZ not a program")), NoVersion);
  EXPECT_EQ(GetFileVersion(dir.File("missing.exe")), NoVersion);
  // A version resource whose fixed part lacks its signature is no version.
  std::string damaged = wutest::PeWithVersion(1, 0, 0, 0);
  damaged[damaged.find("\xBD\x04\xEF\xFE")] = 0;
  EXPECT_EQ(GetFileVersion(dir.Write("damaged.exe", damaged)), NoVersion);
}

TEST(WebUpdateChecks, TextInListComparesWholeEntriesIgnoringCase) {
  struct Case {
    const char* Name;
    const char* List;
    bool Found;
  } cases[] = {
      {"main.bin", "data.bin main.bin", true},   {"MAIN.BIN", "data.bin main.bin", true},
      {"a.exe", "DATA.EXE", false},              {"data", "data.exe", false},
      {"x.dll", "  x.dll\ty.dll ", true},        {"", "a b", false},
  };
  for (const Case& c : cases) EXPECT_EQ(TextInList(c.Name, c.List), c.Found) << c.Name << " in " << c.List;
}

TEST(WebUpdateChecks, PrefixesExpandOnceAfterTheInsertedText) {
  TNetUpdate nu(nullptr);
  EXPECT_EQ(nu.ConvertPrefix("{APP}\\sub"), GetCurrentDir() + "\\sub");
  EXPECT_EQ(nu.ConvertPrefix("{app}\\sub"), GetCurrentDir() + "\\sub");
  EXPECT_EQ(nu.ConvertPrefix("{XYZ}\\sub"), "{XYZ}\\sub");
  EXPECT_EQ(nu.ConvertPrefix("{WIN}"), "{WIN}");
  EXPECT_EQ(nu.ConvertPrefix("{TMP}x"), ExcludeTrailingPathDelimiter(TempFolder()) + "x");
  // A folder that holds "{APP}" itself is not expanded again.
  struct TLoopy : TNetUpdate {
    using TNetUpdate::TNetUpdate;
    std::string PrefixFolder(const std::string& Name) override { return Name == "APP" ? "/x/{APP}" : ""; }
  } loopy(nullptr);
  EXPECT_EQ(loopy.ConvertPrefix("{APP}/{APP}"), "/x/{APP}//x/{APP}");
}

TEST(WebUpdateChecks, TargetsOutsideTheUpdatesFoldersAreRefused) {
  struct Case {
    std::string Path;
    bool Safe;
  } cases[] = {
      {"", true},
      {"sub\\dir\\", true},
      {"plain.txt", true},
      {GetCurrentDir() + "\\sub", true},
      {TempFolder() + "x/y", true},
      {"..\\up", false},
      {"sub/../../up", false},
      {"sub\\..", false},
      {"/etc/passwd", false},
      {"\\etc\\cron.d\\", false},
      {"C:\\Windows\\", false},
      {"//etc", false},
      {TempFolder() + "../escape", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSafeTarget(c.Path), c.Safe) << c.Path;
}

TEST(WebUpdateChecks, Base64OfLogins) {
  struct Case {
    const char* Text;
    const char* Encoded;
  } cases[] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"user:pass", "dXNlcjpwYXNz"},
               {":secret", "OnNlY3JldA=="}};
  for (const Case& c : cases) EXPECT_EQ(EncodeBase64(c.Text), c.Encoded) << c.Text;
}

TEST(WebUpdateChecks, ForceFolderPathMakesParents) {
  TTempDir dir;
  EXPECT_TRUE(ForceFolderPath(""));
  EXPECT_TRUE(ForceFolderPath(dir.Path() + "a\\b\\c\\"));
  EXPECT_TRUE(DirectoryExists(dir.Path() + "a/b/c"));
  dir.Write("file", "x");
  EXPECT_FALSE(ForceFolderPath(dir.Path() + "file/sub"));
}

// The four comparisons of FileNeedsUpdate under both kinds of version check.
TEST(WebUpdateChecks, FileNeedsUpdate) {
  TTempDir dir;
  const std::string program = dir.Write("prog.exe", wutest::PeWithVersion(1, 7, 3, 0));
  const std::string plain = dir.Write("plain.dat", "12345");
  const std::string missing = dir.File("missing.dat");
  struct Case {
    const char* What;
    std::string NewVersion, Local;
    int32_t NewSize, NewCheckSum;
    bool UpdateOnly, Always;
  } cases[] = {
      {"nothing to compare", "", plain, 0, -1, true, true},
      {"no local file named", "2.0.0.0", "", 0, -1, true, true},
      {"same checksum", "", plain, 0, ByteSumChecksum(plain), false, false},
      {"other checksum", "", plain, 0, 12, true, true},
      {"checksum of a missing file", "", missing, 0, 12, true, true},
      {"older version", "1.7.4.0", program, 0, -1, true, true},
      {"same version", "1.7.3.0", program, 0, -1, false, false},
      {"newer local version", "1.6.0.0", program, 0, -1, false, false},
      {"version of a file without one", "1.0.0.0", plain, 0, -1, false, true},
      {"version of a missing file", "1.0.0.0", missing, 0, -1, false, true},
      {"unconvertible new version", "1.x.0.0", program, 0, -1, false, false},
      {"same size", "", plain, 5, -1, false, false},
      {"other size", "", plain, 6, -1, true, true},
      {"size of a missing file", "", missing, 5, -1, false, true},
  };
  for (const Case& c : cases) {
    for (bool always : {false, true}) {
      TNetUpdate nu(nullptr);
      nu.VersionCheck = always ? vcAlways : vcUpdateOnly;
      std::string newVersion = c.NewVersion, local = c.Local;
      EXPECT_EQ(nu.FileNeedsUpdate(newVersion, local, c.NewSize, c.NewCheckSum), always ? c.Always : c.UpdateOnly)
          << c.What << (always ? " (always)" : " (update only)");
    }
  }
  // A version comparison gives back the normalised texts and reports them.
  TNetUpdate nu(nullptr);
  std::vector<std::string> reports;
  nu.OnStatus = [&](TObject*, const std::string& s, int, int) { reports.push_back(s); };
  std::string newVersion = "1,8", local = program;
  EXPECT_TRUE(nu.FileNeedsUpdate(newVersion, local, 0, -1));
  EXPECT_EQ(newVersion, "1.8.0.0");
  EXPECT_EQ(local, "1.7.3.0");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "Version check : Version compare of " + program + ":1.7.3.0 with 1,8:1.8.0.0");
  nu.UseCRC32 = true;
  std::string none, file = plain;
  reports.clear();
  EXPECT_FALSE(nu.FileNeedsUpdate(none, file, 0, FileCRC32(plain)));
  EXPECT_EQ(reports.at(0), "Version check : Checksum compare of " + plain + ":" + std::to_string(FileCRC32(plain)) +
                               ":" + std::to_string(FileCRC32(plain)));
}

}  // namespace
