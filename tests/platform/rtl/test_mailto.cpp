// Handing a mail to the desktop's mail program: the command it gets, the
// file being there while it runs, and its failures passed on as numbers.
#include "platform/rtl/mailto.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/tempdir.h"

namespace {

// A stand-in xdg-email first on the PATH: it records its arguments and a
// copy of the attachment, and exits with the code given.
class TFakeMailer {
public:
  explicit TFakeMailer(int exitCode) {
    const std::string script = "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + Dir.File("args") +
                               "'\nfor a; do last=\"$a\"; done\ncp \"$last\" '" + Dir.File("copy") + "'\nexit " +
                               std::to_string(exitCode) + "\n";
    const std::string name = Dir.Write("xdg-email", script);
    ::chmod(name.c_str(), 0700);
    const char* path = std::getenv("PATH");
    FOldPath = path ? path : "";
    ::setenv("PATH", (Dir.Path() + ":" + FOldPath).c_str(), 1);
  }
  ~TFakeMailer() { ::setenv("PATH", FOldPath.c_str(), 1); }
  TTempDir Dir;

private:
  std::string FOldPath;
};

TEST(Mail, XdgEmailGetsTheSubjectAndTheAttachment) {
  TTempDir files;
  const std::string file = files.Write("GrafChart.htm", "<table></table>");
  TFakeMailer mailer(0);
  int waits = 0;
  EXPECT_EQ(MailAttachment("GrafChart", file, [&] { ++waits; }), 0);
  EXPECT_EQ(TTempDir::Read(mailer.Dir.File("args")), "--utf8\n--subject\nGrafChart\n--attach\n" + file + "\n");
  EXPECT_EQ(TTempDir::Read(mailer.Dir.File("copy")), "<table></table>");
}

TEST(Mail, FailuresComeBackAsNumbers) {
  TTempDir files;
  const std::string file = files.Write("a.txt", "x");
  {
    TFakeMailer mailer(3);
    EXPECT_EQ(MailAttachment("S", file), 3);  // no mail program
  }
  const char* path = std::getenv("PATH");
  const std::string old = path ? path : "";
  ::setenv("PATH", files.Path().c_str(), 1);  // no xdg-email at all
  EXPECT_EQ(MailAttachment("S", file), 127);
  ::setenv("PATH", old.c_str(), 1);

  // An installed handler answers instead, and mail counts as available.
  std::string seen;
  TMailHandler previous = SetMailHandler([&](const std::string& s, const std::string& f) {
    seen = s + "|" + f;
    return 0;
  });
  EXPECT_TRUE(MailAvailable());
  EXPECT_EQ(MailAttachment("Subject", file), 0);
  EXPECT_EQ(seen, "Subject|" + file);
  SetMailHandler(previous);
}

}  // namespace
