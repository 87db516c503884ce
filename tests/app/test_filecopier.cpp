#include "app/filecopier.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/rtl/fileutils.h"
#include "platform/ui/forms.h"
#include "platform/ui/sound.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

// An owner window that records the copier's progress messages.
class TProgressForm : public TForm {
public:
  TProgressForm() : TForm(nullptr) {}
  std::vector<std::pair<int, int>> Steps;

protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_FILECOPY_PROGRESS)
      Steps.emplace_back(static_cast<int>(m.WParam), static_cast<int>(m.LParam));
    else
      TForm::Dispatch(m);
  }
};

class FileCopyTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    form.Handle();
    previousBeep = SetMessageBeepHook([this](unsigned) { ++beeps; });
  }
  void TearDown() override { SetMessageBeepHook(previousBeep); }

  TTempDir dir;
  TDialogResponder dialogs;
  TProgressForm form;
  TFileCopy* copier = new TFileCopy(&form);
  int beeps = 0;
  TMessageBeepHook previousBeep;
};

TEST_F(FileCopyTest, CopyOntoTheSameFileIsRefusedBeforeAnythingIsWritten) {
  const std::string a = dir.Write("a.dat", "the source");
  ASSERT_EQ(::symlink(a.c_str(), dir.File("link.dat").c_str()), 0);
  ASSERT_EQ(::link(a.c_str(), dir.File("hard.dat").c_str()), 0);
  const std::string targets[] = {a, dir.Path() + "./a.dat", dir.File("link.dat"), dir.File("hard.dat")};
  for (const std::string& target : targets) {
    dialogs.Clear();
    beeps = 0;
    EXPECT_FALSE(copier->CopyFile(a, target)) << target;
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Error !!!\rCan't copy the file on itself"}) << target;
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(TTempDir::Read(a), "the source");
  }
}

TEST_F(FileCopyTest, CopiesEmptySmallAndMultiBlockFilesWithTheirProgress) {
  struct Case {
    size_t size;
    std::vector<std::pair<int, int>> steps;
  };
  // 40000 bytes: 100 / (40000 / 16384) = 40.96 % a block; the end-of-file read counts as a block.
  const Case cases[] = {
      {0, {{100, 0}, {100, 100}}},
      {100, {{100, 0}, {100, 100}}},
      {40000, {{41, 0}, {82, 0}, {100, 0}, {100, 100}}},
  };
  for (const Case& c : cases) {
    std::string content(c.size, '\0');
    for (size_t i = 0; i < c.size; ++i) content[i] = static_cast<char>(i * 7 + 3);
    const std::string source = dir.Write("src" + std::to_string(c.size), content);
    const std::string target = dir.File("dst" + std::to_string(c.size));
    form.Steps.clear();
    copier->SetSourceFile(source);
    copier->SetTargetFile(target);
    EXPECT_TRUE(copier->Execute()) << c.size;
    EXPECT_EQ(TTempDir::Read(target), content) << c.size;
    EXPECT_EQ(form.Steps, c.steps) << c.size;
  }
  EXPECT_EQ(dialogs.Count(), 0u);
}

TEST_F(FileCopyTest, OverwriteQuestionDecidesWhetherTheTargetIsReplaced) {
  const std::string source = dir.Write("new.inp", "new contents");
  const std::string target = dir.Write("old.inp", "old contents");
  copier->SetSourceFile(source);
  copier->SetTargetFile(target);

  dialogs.Answer(mrNo);
  EXPECT_FALSE(copier->Execute());
  EXPECT_EQ(TTempDir::Read(target), "old contents");
  ASSERT_EQ(dialogs.Count(), 2u);
  const TDialogRequest question = dialogs.Requests()[0];
  EXPECT_EQ(question.Text, "The file " + target + "\r already exists. Overwrite ?");
  EXPECT_EQ(question.DlgType, mtInformation);
  EXPECT_EQ(question.Buttons, (TMsgDlgButtons{mbYes, mbNo}));
  EXPECT_EQ(dialogs.Last().Text, "Execution failed");

  dialogs.Clear();
  dialogs.Answer(mrYes);
  EXPECT_TRUE(copier->Execute());
  EXPECT_EQ(TTempDir::Read(target), "new contents");
  EXPECT_EQ(dialogs.Count(), 1u);
}

TEST_F(FileCopyTest, FailuresShowTheirMessages) {
  const std::string source = dir.Write("s.dat", "x");
  struct Case {
    std::string source, target, message;
  };
  const Case cases[] = {
      {"", "t", "I can't copy\rSource File name missing"},
      {source, "", "I can't copy\rTarget File name missing"},
      {dir.File("missing.dat"), dir.File("t.dat"), dir.File("missing.dat") + " missing or damaged"},
      {source, dir.File("no/such/folder.dat"), "Error on creating " + dir.File("no/such/folder.dat")},
  };
  for (const Case& c : cases) {
    dialogs.Clear();
    copier->SetSourceFile(c.source);
    copier->SetTargetFile(c.target);
    EXPECT_FALSE(copier->Execute());
    ASSERT_GE(dialogs.Count(), 1u) << c.message;
    EXPECT_EQ(dialogs.Texts()[0], c.message);
  }
  EXPECT_FALSE(FileExists(dir.File("t.dat")));
}

TEST_F(FileCopyTest, ShortWriteIsAnErrorAndKeepsTheOldTarget) {
  const std::string source = dir.Write("big.dat", std::string(100000, 'b'));
  const std::string target = dir.Write("target.dat", "keep me");
  dialogs.Answer(mrYes);
  // Files of this process may grow to 4096 bytes only while the copy runs.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  const sighandler_t oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool copied = copier->CopyFile(source, target);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(copied);
  EXPECT_EQ(dialogs.Last().Text, "Error writing \r" + target + "\rCopy failed.");
  EXPECT_EQ(TTempDir::Read(target), "keep me");
  EXPECT_EQ(FindFiles(dir.Path(), "*.tmp*").size(), 0u);
}

}  // namespace
