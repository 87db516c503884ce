// Saving a model never destroys the file it replaces, and never writes a
// file that would read back as another model.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "model/directmethods.h"
#include "model/rietclass.h"
#include "model/shelx.h"
#include "platform/rtl/fileutils.h"
#include "support/childprocess.h"
#include "support/dialogresponder.h"
#include "support/tempdir.h"

namespace {

// A phase of `atoms` carbon atoms spread over the cell.
void AddPhase(TRietveld& m, int atoms) {
  TPhase& p = *m.NewPhase();
  p.A = p.B = p.C = 12.5f;
  p.SpaceGroup = "P 1";
  for (int i = 0; i < atoms; ++i) {
    TAtom a;
    a.Label = "C" + std::to_string(i % 1000);
    a.AtomType = "C";
    a.X = static_cast<float>(i % 97) / 97;
    a.Y = static_cast<float>(i % 89) / 89;
    a.Z = static_cast<float>(i % 83) / 83;
    a.B = 0.5f;
    p.AddAtom(a);
  }
}

// One histogram and `phases` such phases; the first atoms' x are refined.
void BuildModel(TRietveld& m, const std::string& title, int atoms, int phases = 1) {
  m.Title = title;
  m.NewHistogram();
  m.Histogram(1)->Wavelength1 = 1.5406f;
  for (int ph = 0; ph < phases; ++ph) AddPhase(m, atoms);
  for (int i = 1; i <= atoms && i <= 50; ++i) m.Parameters.SetRefined(0, 1, i, 1, true);
}

std::vector<std::string> TempFiles(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& name : FindFiles(folder, "*"))
    if (name.rfind(prefix, 0) == 0) found.push_back(name);
  return found;
}

}  // namespace

TEST(ModelSaving, CodesWhoseMultiplierCannotBeWrittenAreRefused) {
  struct Case {
    float Multiplier;
    bool Written;
    const char* Code;  // the code of parameter 1 as the message gives it
  } const cases[] = {
      {0.0001f, false, "10.0001"},  // would read back as multiplier 1
      {-0.0001f, false, "-10.0001"},
      {9.9999f, false, "19.9999"},  // would read back as parameter 2
      {0.25f, true, nullptr},
      {0.3333f, true, nullptr},     // 0.333: within what the columns hold
      {-2.0f, true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Multiplier);
    TDialogResponder dialogs;
    TTempDir dir;
    const std::string file = dir.Write("model.inp", "the old model\n");
    TRietveld m;
    BuildModel(m, "codes", 1);
    m.Parameters.Refined[0]->Multiplier = c.Multiplier;
    EXPECT_EQ(m.WriteInputFile(file), c.Written);
    if (!c.Written) {
      ASSERT_EQ(dialogs.Count(), 1u);
      const std::string text = dialogs.Last().Text;
      const std::string start =
          std::string("The refinement code ") + c.Code + " of " + ParameterDescription(*m.Parameters.Refined[0]);
      EXPECT_EQ(text.rfind(start, 0), 0u) << text;
      EXPECT_NE(text.find("the file was not written"), std::string::npos) << text;
      EXPECT_EQ(TTempDir::Read(file), "the old model\n");
      continue;
    }
    EXPECT_EQ(dialogs.Count(), 0u);
    TRietveld back;
    ASSERT_TRUE(back.ReadInputFile(file));
    ASSERT_EQ(back.RefinedCount(), 1);
    EXPECT_NEAR(back.Parameters.Refined[0]->Multiplier, c.Multiplier, 0.0005);
    // A second save writes the same file: saving never changes the model.
    const std::string first = TTempDir::Read(file);
    ASSERT_TRUE(back.WriteInputFile(file));
    EXPECT_EQ(TTempDir::Read(file), first);
  }

  // A constraint's ratio is held by a code the same way.
  TDialogResponder dialogs;
  TRietveld m;
  BuildModel(m, "ratio", 2);
  TParameter first(0, 1, 1, 1, 1), second(0, 1, 2, 1, 1);
  second.Multiplier = 0.0002f;
  m.Parameters.AddConstraint(first, second);
  TTempDir dir;
  EXPECT_FALSE(m.WriteInputFile(dir.File("ratio.inp")));
  EXPECT_TRUE(dialogs.Saw("cannot be written: its multiplier 0.0002 would read back as 1")) << (dialogs.Count() ? dialogs.Last().Text : "");
  EXPECT_FALSE(FileExists(dir.File("ratio.inp")));
}

TEST(ModelSaving, AFullDiskLeavesEverySavedFileAsItWas) {
  struct Writer {
    const char* Name;
    std::function<bool(TRietveld&, const std::string&)> Save;
  } const writers[] = {
      {"input file", [](TRietveld& m, const std::string& f) { return m.WriteInputFile(f); }},
      {"Shelx file", [](TRietveld& m, const std::string& f) { return ExportShelx(m, f); }},
      {"direct-methods file", [](TRietveld& m, const std::string& f) { return ExportSir(m, f); }},
  };
  for (const Writer& w : writers) {
    TTempDir dir;
    const std::string report = RunInChild([&] {
      TDialogResponder dialogs;
      const std::string how = LimitDiskSpace(dir.Path(), 128);  // room for the old file only
      const std::string file = dir.File("model.out");
      WriteFileAtomic(file, "the old file\n");
      TRietveld m;
      BuildModel(m, "a model", 20);
      const bool saved = w.Save(m, file);
      return how + "|" + (saved ? "saved" : "refused") + "|" +
             (TTempDir::Read(file) == "the old file\n" ? "old kept" : "old lost") + "|" +
             std::to_string(TempFiles(dir.Path(), "model.out.tmp").size()) + "|" +
             (dialogs.Count() == 1 ? dialogs.Last().Text : "no message");
    });
    SCOPED_TRACE(std::string(w.Name) + ": " + report);
    EXPECT_NE(report.find("|refused|old kept|0|"), std::string::npos);
    EXPECT_NE(report.find("writing failed"), std::string::npos);
    EXPECT_EQ(report.find("Previous processes"), std::string::npos);
  }
}

TEST(ModelSaving, AProgramKilledWhileSavingLeavesAWholeModel) {
  TTempDir dir;
  const std::string file = dir.File("big.inp");
  TRietveld a, b;
  BuildModel(a, "model A", 900, 8);
  BuildModel(b, "model B", 900, 8);
  const std::string textA = a.InputFileText(), textB = b.InputFileText();
  ASSERT_GT(textA.size(), 1000000u);
  ASSERT_TRUE(a.WriteInputFile(file));
  int midSave = 0;
  for (int round = 0; round < 4; ++round) {
    const pid_t child = StartChild([&] {
      for (;;) {
        b.WriteInputFile(file);
        a.WriteInputFile(file);
      }
    });
    const std::string prefix = "big.inp.tmp" + std::to_string(child) + "-";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (TempFiles(dir.Path(), prefix).empty() && std::chrono::steady_clock::now() < deadline) {
    }
    ::kill(child, SIGKILL);
    WaitChild(child);
    midSave += !TempFiles(dir.Path(), prefix).empty();
    const std::string now = TTempDir::Read(file);
    EXPECT_TRUE(now == textA || now == textB) << "round " << round << ": " << now.size() << " bytes";
    TRietveld back;
    EXPECT_TRUE(back.ReadInputFile(file));
    // The next save clears what the killed one left.
    ASSERT_TRUE(a.WriteInputFile(file));
    EXPECT_TRUE(TempFiles(dir.Path(), "big.inp.tmp").empty());
  }
  EXPECT_GT(midSave, 0);  // the kills did land in the middle of saves
}
