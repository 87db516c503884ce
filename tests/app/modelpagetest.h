// The model editor windows under test: the one model read from an example
// input file, the program-wide state of a fresh program, and the written
// input file compared with reviewed texts in tests/app/golden/.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "model/global.h"
#include "model/rietclass.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

namespace modelpagetest {

inline std::string SourceDir() {
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  return std::string(source ? source : "../..") + "/";
}

// Compares the text with tests/app/golden/<name>; ZELVORA_UPDATE_GOLDEN=1
// writes it instead (read it before keeping it).
inline void ExpectGoldenText(const std::string& text, const std::string& name) {
  const std::string path = SourceDir() + "tests/app/golden/" + name;
  if (std::getenv("ZELVORA_UPDATE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << text;
    GTEST_SKIP() << "wrote " << path;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << path;
  std::stringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(text, golden.str()) << "differs from " << name;
}

class ModelPageTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    ModelChanged = false;
    AcceptChanges = false;
    LastActiveControl = nullptr;
    Model = new TRietveld();
  }
  void TearDown() override {
    delete Model;
    Model = nullptr;
    ModelChanged = false;
    AcceptChanges = false;
    LastActiveControl = nullptr;
  }
  // Reads examples/<name> into the model; returns the text written from it untouched.
  std::string Load(const std::string& name) {
    {
      TDialogResponder quiet;
      EXPECT_TRUE(Model->ReadInputFile(SourceDir() + "examples/" + name));
    }
    return Written();
  }
  // The input file as Save would write it now.
  std::string Written() {
    TDialogResponder quiet;
    return Model->InputFileText();
  }
};

}  // namespace modelpagetest
