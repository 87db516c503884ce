// A model editor window under test: an example model read into the
// program's one model, the input file written before and after an edit, the
// written text compared with a reviewed golden text (ZELVORA_UPDATE_GOLDEN=1
// writes the golden text instead; look at its difference from the example
// before committing it).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "model/global.h"
#include "model/rietclass.h"
#include "platform/rtl/fileutils.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace modeleditortest {

inline std::string SourceDir() {
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  return std::string(source ? source : "../..") + "/";
}

inline void ExpectMatchesInputGolden(const std::string& text, const std::string& name) {
  const std::string path = SourceDir() + "tests/app/golden/" + name;
  if (std::getenv("ZELVORA_UPDATE_GOLDEN")) {
    TTempDir dir;
    std::string written = dir.Write("golden", text);
    ASSERT_TRUE(CopyFile(written, path, false)) << path;
  }
  EXPECT_EQ(text, TTempDir::Read(path)) << "golden text " << path;
}

class ModelEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    ModelChanged = false;
    InputFileName.clear();
    LastActiveControl = nullptr;
  }
  void TearDown() override {
    delete Model;
    Model = nullptr;
    ModelChanged = false;
    InputFileName.clear();
    LastActiveControl = nullptr;
  }
  // Reads an example of examples/ into the one model.
  void Load(const std::string& example) {
    ASSERT_TRUE(CopyFile(SourceDir() + "examples/" + example, Dir.File(example), false));
    Input = Dir.File(example);
    Model = new TRietveld();
    ASSERT_TRUE(Model->ReadInputFile(Input)) << example;
    InputFileName = Input;
  }
  // The input file as the model writes it now.
  std::string Written() {
    const std::string file = Dir.File("written.inp");
    EXPECT_TRUE(Model->WriteInputFile(file));
    return TTempDir::Read(file);
  }

  TTempDir Dir;
  TDialogResponder Dialogs;
  std::string Input;
};

}  // namespace modeleditortest
