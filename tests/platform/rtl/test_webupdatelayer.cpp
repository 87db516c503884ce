// The layer's services for the web update: transfers, unique temporary
// files, DOS file times, programs started with an argument vector and
// waits for processes that are not children.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "platform/rtl/datetime.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/filetimes.h"
#include "platform/rtl/process.h"
#include "platform/rtl/tempfiles.h"
#include "platform/rtl/transfer.h"
#include "support/loopbackservers.h"
#include "support/tempdir.h"

namespace {

TEST(TransferLayer, StatusLengthAndBlocks) {
  TLoopbackHttpServer http;
  http.Handler = [](const THttpRequest& r) {
    THttpResponse a;
    if (r.Path == "/short") {
      a.Body = "half";
      a.AnnouncedLength = 100;
    } else if (r.Path == "/big") {
      a.GeneratedLength = 3 << 20;
      a.Generate = [](long long at, char* b, size_t n) {
        for (size_t i = 0; i < n; ++i) b[i] = static_cast<char>((at + static_cast<long long>(i)) % 251);
        return n;
      };
    } else {
      a.Status = 404;
      a.Body = "no";
    }
    return a;
  };
  TTransfer t;
  ASSERT_TRUE(t.OpenUrl(http.Url("/big")));
  EXPECT_EQ(t.StatusCode(), 200);
  EXPECT_EQ(t.ContentLength(), 3 << 20);
  long long total = 0;
  bool ordered = true;
  char block[4096];
  int n;
  while ((n = t.Read(block, sizeof block)) > 0) {
    EXPECT_LE(n, 4096);
    for (int i = 0; i < n; ++i) ordered = ordered && block[i] == static_cast<char>((total + i) % 251);
    total += n;
  }
  EXPECT_EQ(n, 0);
  EXPECT_EQ(total, 3 << 20);
  EXPECT_TRUE(ordered);
  // A body that ends short of its announced length is a failed read.
  ASSERT_TRUE(t.OpenUrl(http.Url("/short")));
  while ((n = t.Read(block, sizeof block)) > 0) {
  }
  EXPECT_EQ(n, -1);
  ASSERT_TRUE(t.OpenUrl(http.Url("/none")));
  EXPECT_EQ(t.StatusCode(), 404);
  // No server: no response, and why.
  TTransfer refused;
  EXPECT_FALSE(refused.OpenUrl("http://127.0.0.1:1/x"));
  EXPECT_FALSE(refused.ErrorText.empty());
}

TEST(TransferLayer, FtpListingLines) {
  long long size = 0;
  EXPECT_TRUE(ParseFtpListLine("-rw-r--r--   1 owner group   12345 Jan 01 12:00 data.bin", "data.bin", size));
  EXPECT_EQ(size, 12345);
  EXPECT_TRUE(ParseFtpListLine("-rw-r--r-- 1 o g 7 Jan 01 2020 my file.txt", "my file.txt", size));
  EXPECT_EQ(size, 7);
  EXPECT_TRUE(ParseFtpListLine("01-02-20  10:00AM                  512 setup.cab", "setup.cab", size));
  EXPECT_EQ(size, 512);
  EXPECT_FALSE(ParseFtpListLine("drwxr-xr-x 2 o g 4096 Jan 01 12:00 data.bin", "data.bin", size));
  EXPECT_FALSE(ParseFtpListLine("-rw-r--r-- 1 o g 99 Jan 01 12:00 other.bin", "data.bin", size));
  EXPECT_FALSE(ParseFtpListLine("garbage", "garbage", size));
}

TEST(TempFiles, UniqueNamesWithThePrefix) {
  TTempDir dir;
  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) {
    const std::string name = GetTempFileName(dir.Path(), "WUPD");
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(ExtractFileName(name).rfind("WUPD", 0), 0u) << name;
    EXPECT_TRUE(FileExists(name));
    EXPECT_EQ(FileSize(name), 0);
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 20u);
  EXPECT_EQ(GetTempFileName(dir.File("missing/folder"), "WUPD"), "");
}

TEST(FileTimes, DosDateAndTime) {
  struct Case {
    uint16_t Date, Time;
    bool Valid;
    int Y, M, D, H, N, S;
  } cases[] = {
      {static_cast<uint16_t>((44 << 9) | (3 << 5) | 15), static_cast<uint16_t>((13 << 11) | (45 << 5) | 10), true,
       2024, 3, 15, 13, 45, 20},
      {static_cast<uint16_t>((0 << 9) | (1 << 5) | 1), 0, true, 1980, 1, 1, 0, 0, 0},
      {static_cast<uint16_t>((44 << 9) | (13 << 5) | 1), 0, false, 0, 0, 0, 0, 0, 0},  // month 13
      {static_cast<uint16_t>((44 << 9) | (2 << 5) | 30), 0, false, 0, 0, 0, 0, 0, 0},  // 30 February
      {static_cast<uint16_t>((44 << 9) | (1 << 5) | 1), static_cast<uint16_t>(24 << 11), false, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    TDateTime v = 0;
    ASSERT_EQ(DosDateTimeToDateTime(c.Date, c.Time, v), c.Valid) << c.Date;
    if (!c.Valid) continue;
    int y, m, d, h, n, s, ms;
    DecodeDate(v, y, m, d);
    DecodeTime(v, h, n, s, ms);
    EXPECT_EQ(std::vector<int>({y, m, d, h, n, s}), std::vector<int>({c.Y, c.M, c.D, c.H, c.N, c.S}));
    uint16_t date, time;
    ASSERT_TRUE(DateTimeToDosDateTime(v, date, time));
    EXPECT_EQ(date, c.Date);
    EXPECT_EQ(time, c.Time);
  }
  TTempDir dir;
  const std::string f = dir.Write("f", "x");
  const TDateTime when = EncodeDate(2001, 7, 4) + EncodeTime(8, 30, 12, 0);
  ASSERT_TRUE(FileSetDate(f, when));
  EXPECT_NEAR(FileAge(f), when, 1.0 / SecsPerDay);
  EXPECT_FALSE(FileSetDate(dir.File("missing"), when));
}

TEST(ProcessLayer, ArgumentsAreNeverSplitOrQuoted) {
  TTempDir dir;
  int error = 0;
  const std::string out = dir.File("args");
  TProcessHandle p = CreateProcessArgs(
      {"/bin/sh", "-c", "printf '%s|' \"$@\" > '" + out + "'", "sh", "a b", "\"q\"", "$HOME", ""},
      NORMAL_PRIORITY_CLASS, dir.Path(), TStartupInfo{}, error);
  ASSERT_TRUE(p) << SystemErrorText(error);
  EXPECT_EQ(p->WaitFor(INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(TTempDir::Read(out), "a b|\"q\"|$HOME||");
  EXPECT_FALSE(CreateProcessArgs({dir.File("no-such-program")}, 0, "", TStartupInfo{}, error));
  EXPECT_NE(error, 0);
  EXPECT_FALSE(CreateProcessArgs({}, 0, "", TStartupInfo{}, error));
}

TEST(ProcessLayer, WaitForAProcessThatIsNotAChild) {
  // A grandchild: its parent ends at once, so it is not this process's child.
  int report[2];
  ASSERT_EQ(::pipe(report), 0);
  int release[2];
  ASSERT_EQ(::pipe(release), 0);
  const pid_t middle = ::fork();
  if (middle == 0) {
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
      char ch;
      ::close(release[1]);
      [[maybe_unused]] ssize_t r = ::read(release[0], &ch, 1);  // until the test lets it end
      ::_exit(0);
    }
    [[maybe_unused]] ssize_t w = ::write(report[1], &grandchild, sizeof grandchild);
    ::_exit(0);
  }
  ::close(report[1]);
  ::close(release[0]);
  pid_t grandchild = 0;
  ASSERT_EQ(::read(report[0], &grandchild, sizeof grandchild), static_cast<ssize_t>(sizeof grandchild));
  ::waitpid(middle, nullptr, 0);
  EXPECT_EQ(WaitForProcessEnd(static_cast<unsigned>(grandchild), 0), WAIT_TIMEOUT);
  ::close(release[1]);  // it reads end of file and ends
  EXPECT_EQ(WaitForProcessEnd(static_cast<unsigned>(grandchild), INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForProcessEnd(0, 0), WAIT_FAILED);
  ::close(report[0]);
}

}  // namespace
