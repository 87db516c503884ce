// What every reader of other programs' files shares: line ends of any
// platform, and broken input: empty files, binary garbage, files cut
// anywhere, absurd counts, a 10 MB line and random damage. Whatever the
// input, a reader either succeeds or says why, and a failed read never leaves
// the model flagged as loaded nor a phase half changed. Run under the
// sanitizer build to catch what a crash would not show.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <random>

#include "model/dwbsimport.h"
#include "model/fullprofimport.h"
#include "model/gsasimport.h"
#include "model/shelx.h"
#include "model/structurefiles.h"
#include "test_import_support.h"

using namespace importtest;

namespace {

struct TReader {
  const char* Name;
  const char* Fixture;
  const char* Extension;
  bool ModelImport;  // else a structure reader of a phase
  std::function<bool(TRietveld&, const std::string&)> Import;
  std::function<bool(const std::string&, TPhase&)> Read;
};

const TReader AllReaders[] = {
    {"DWBS", "quartz.dwb", ".dwb", true, ImportDWBS, nullptr},
    {"Fullprof fixed", "fixed.pcr", ".pcr", true, ImportFullprof, nullptr},
    {"Fullprof free", "free.pcr", ".pcr", true, ImportFullprof, nullptr},
    {"GSAS", "two.exp", ".exp", true, ImportGSAS, nullptr},
    {"Shelx", "cell.ins", ".ins", true, ImportShelx, nullptr},
    {"atom list", "atoms.txt", ".txt", false, nullptr, ReadAtomFile},
    {"CIF", "structure.cif", ".cif", false, nullptr, ReadCifFile},
    {"EXPO", "expo.xyz", ".xyz", false, nullptr, ReadExpoXyzFile},
};

class Readers : public ::testing::TestWithParam<int> {
protected:
  const TReader& R() const { return AllReaders[GetParam()]; }

  // Reads the text and checks the rules every outcome must keep. Returns the
  // reader's result.
  bool Check(const std::string& text, const std::string& what) {
    SCOPED_TRACE(std::string(R().Name) + ": " + what);
    const std::string file = Dir.Write(std::string("in") + R().Extension, text);
    Dialogs.Clear();
    bool ok;
    if (R().ModelImport) {
      TRietveld model;
      FillSomething(model);
      ok = R().Import(model, file);
      EXPECT_EQ(ok, model.Loaded);
    } else {
      TPhase phase;
      phase.Title = "Kept";
      phase.AddAtom(TAtom());
      ok = R().Read(file, phase);
      if (!ok) {
        EXPECT_EQ(phase.Title, "Kept");
        EXPECT_EQ(phase.AtomCount(), 1);
      }
    }
    if (!ok) {
      EXPECT_GE(Dialogs.Count(), 1u) << "a failure without a message";
    }
    return ok;
  }

  TDialogResponder Dialogs;
  TTempDir Dir;
};

TEST_P(Readers, TheFixtureItselfReads) { EXPECT_TRUE(Check(Fixture(R().Fixture), "fixture")); }

// The same file with Windows line ends (and with a byte-order mark) gives the
// same result: a fixed-column reader never takes the CR for a character.
TEST_P(Readers, WindowsLineEndsReadAlike) {
  const std::string lf = Fixture(R().Fixture);
  auto read = [&](const std::string& text) {
    const std::string file = Dir.Write(std::string("eol") + R().Extension, text);
    if (R().ModelImport) {
      TRietveld model;
      EXPECT_TRUE(R().Import(model, file));
      return DumpModel(model);
    }
    TRietveld holder;
    TPhase& phase = *holder.AddPhase(std::make_unique<TPhase>());
    EXPECT_TRUE(R().Read(file, phase));
    return DumpModel(holder);
  };
  const std::string expected = read(lf);
  EXPECT_EQ(read(WithCrLf(lf)), expected);
  EXPECT_EQ(read("\xEF\xBB\xBF" + WithCrLf(lf)), expected);
  EXPECT_EQ(Dialogs.Texts(), Texts{});
}

TEST_P(Readers, EmptyBinaryAndHugeInputsAreRefused) {
  std::mt19937 random(12345);
  std::string garbage(4096, '\0');
  for (char& c : garbage) c = static_cast<char>(random() & 0xFF);
  const std::string hugeLine(10 * 1024 * 1024, 'x');
  std::string hugeValues = "COMM\n";
  hugeValues.reserve(10 * 1024 * 1024 + 8);
  while (hugeValues.size() < 10 * 1024 * 1024) hugeValues += "1 ";

  EXPECT_FALSE(Check("", "empty"));
  EXPECT_FALSE(Check("\n\r\n  \t\n", "blank lines"));
  EXPECT_FALSE(Check(garbage, "binary garbage"));
  EXPECT_FALSE(Check(hugeLine + "\n", "a 10 MB line"));
  // Values by the million on one line, where the free layout takes counts.
  EXPECT_FALSE(Check(hugeValues + "\n", "a 10 MB line of values"));
}

TEST_P(Readers, FilesCutAnywhere) {
  const std::string all = Fixture(R().Fixture);
  for (std::size_t cut = 0; cut < all.size(); ++cut) {
    // Every line end and the positions around it, and every third byte.
    const bool nearLineEnd = all[cut] == '\n' || (cut > 0 && all[cut - 1] == '\n');
    if (!nearLineEnd && cut % 3 != 0) continue;
    Check(all.substr(0, cut), "cut at " + std::to_string(cut));
  }
}

TEST_P(Readers, RandomDamage) {
  const std::string all = Fixture(R().Fixture);
  std::mt19937 random(GetParam() * 7919 + 1);
  for (int round = 0; round < 150; ++round) {
    std::string text = all;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int k = 0; k < changes; ++k) {
      const std::size_t at = random() % text.size();
      switch (random() % 4) {
        case 0: text[at] = static_cast<char>(random() & 0xFF); break;            // any byte
        case 1: text[at] = "0123456789-.+eE \n\r\t"[random() % 19]; break;      // a plausible one
        case 2: text.erase(at, 1 + random() % 20); break;                      // a hole
        default: text.insert(at, text.substr(random() % text.size(), 1 + random() % 40)); break;  // a repeat
      }
      if (text.empty()) text = "x";
    }
    Check(text, "damage round " + std::to_string(round));
  }
}

std::string ReaderName(const ::testing::TestParamInfo<int>& info) {
  std::string s;
  for (const char* p = AllReaders[info.param].Name; *p; ++p)
    if (std::isalnum(static_cast<unsigned char>(*p))) s += *p;
  return s;
}

INSTANTIATE_TEST_SUITE_P(All, Readers, ::testing::Range(0, static_cast<int>(std::size(AllReaders))), ReaderName);

// Counts that no file of the size could hold.
TEST(BrokenCounts, AbsurdCountsAreRefusedOrEndTheRead) {
  TDialogResponder dialogs;
  TTempDir dir;
  const struct {
    const char* Name;
    std::function<bool(TRietveld&, const std::string&)> Import;
    std::string Text;
  } cases[] = {
      {"m.dwb", ImportDWBS, "t\n   0   4   09999   0   0\n"},
      {"m.dwb", ImportDWBS, "t\n   0   4   0   09999   0\n"},
      {"m.dwb", ImportDWBS, "t\n   0   4   0   0   0   0\n"},
      {"m.pcr", ImportFullprof, "COMM\n0 6 2147483647 0 0 0 0\n"},
      {"m.pcr", ImportFullprof, "COMM\n0 6 0 2147483647 0 0 0\n"},
      {"m.pcr", ImportFullprof, "COMM\n0 6 0 0 2147483647 0 0\n"},
      {"m.pcr", ImportFullprof, "COMM\n0 6 0 0 0 0 0 99999999999\n"},
      {"m.exp", ImportGSAS, " EXPR  NHST 2147483647\n"},
      {"m.exp", ImportGSAS, " EXPR  NHST  999\nHST999HSCALE  1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    TRietveld model;
    dialogs.Clear();
    const bool ok = c.Import(model, dir.Write(c.Name, c.Text));
    if (!ok) {
      EXPECT_EQ(dialogs.Count(), 1u);
    }
    EXPECT_EQ(ok, model.Loaded);
  }

  // An absurd number of atoms in a free-layout phase: read until the file ends.
  std::string free = Fixture("free.pcr");
  free.replace(free.find("2 0 0 0.0 0.0 1.0"), 17, "2147483647 0 0 0.0 0.0 1.0");
  TRietveld model;
  dialogs.Clear();
  EXPECT_FALSE(ImportFullprof(model, dir.Write("n.pcr", free)));
  EXPECT_EQ(dialogs.Count(), 1u);
  EXPECT_NE(dialogs.Last().Text.find("Error reading"), std::string::npos);
}

}  // namespace
