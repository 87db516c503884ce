// Helpers of the importer and exporter tests: the fixture files under
// tests/model/import/, line joining, and the round trip through the engine
// input file.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "model/rietclass.h"
#include "modeldump.h"
#include "support/dialogresponder.h"
#include "support/tempdir.h"

namespace importtest {

using Texts = std::vector<std::string>;

inline std::string FixturePath(const std::string& name) {
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/model/import/" + name;
}

inline std::string Fixture(const std::string& name) { return TTempDir::Read(FixturePath(name)); }

// Each line followed by the line end.
inline std::string Lines(const std::vector<std::string>& lines, const std::string& eol = "\n") {
  std::string s;
  for (const std::string& l : lines) s += l + eol;
  return s;
}

// The text with every LF replaced by CR LF.
inline std::string WithCrLf(const std::string& text) {
  std::string s;
  for (char c : text) {
    if (c == '\n') s += '\r';
    s += c;
  }
  return s;
}

// Writes the model as an engine input file and reads it back: the model read
// must equal the model written (writing renumbers the codes and sorts a few
// lists, so the comparison is made after writing). No message may appear.
inline void ExpectInputFileRoundTrip(TRietveld& model, const TTempDir& dir) {
  TDialogResponder dialogs;
  const std::string name = dir.File("roundtrip.inp");
  ASSERT_TRUE(model.WriteInputFile(name)) << dialogs.Texts().size();
  TRietveld back;
  EXPECT_TRUE(back.ReadInputFile(name)) << TTempDir::Read(name);
  EXPECT_EQ(DumpModel(back), DumpModel(model)) << TTempDir::Read(name);
  EXPECT_EQ(dialogs.Texts(), Texts{});
}

// A model with some content, so that a refused import must show it unchanged.
inline void FillSomething(TRietveld& model) {
  model.Reset();
  model.Title = "Kept";
  model.NewHistogram();
  model.NewPhase();
  model.Phase(1)->Title = "Kept phase";
  model.Parameters.AddParameter(1, 0, 0, 1, 11);
  model.Loaded = true;
}

}  // namespace importtest
